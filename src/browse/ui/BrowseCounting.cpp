// The directory-size counting mode of a browse window: the count runs on
// a thread of its own, and its texts land in the rows it still shows.
#include "browse/DirectoryListing.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/SizeCountRunner.h"
#include "browse/ui/ViewTableModel.h"

#include <QAbstractItemView>
#include <QTableView>

namespace orvo {

namespace {
bool countingMode = false;
} // namespace

void COrvoBrowserView::SetCountingMode(bool on) {
    countingMode = on;
}
bool COrvoBrowserView::CountingMode() {
    return countingMode;
}

void COrvoBrowserView::CountDirectories(bool selectedOnly) {
    if (currentPath_ == kComputerPath)
        return; // the drive list shows volumes, whose sizes the drive box tells
    std::vector<SizeCountRow> rows;
    const int path = viewTable_.FieldIndex("Path");
    auto add = [&](int row) {
        if (!model_->IsParentEntry(row))
            rows.push_back({row, std::string(viewTable_.GetValue(path, row).AsStringView())});
    };
    if (selectedOnly) {
        for (int row : SelectedRows())
            add(row);
    } else {
        for (int row = 0; row < viewTable_.GetRecordCount(); ++row)
            add(row);
    }
    if (!sizeCounter_) {
        sizeCounter_ = new SizeCountRunner(this);
        connect(sizeCounter_, &SizeCountRunner::RowProgress, this,
                [this](int row, const QString& p, const QString& text) {
                    ShowCountText(row, p, text, -1);
                });
        connect(sizeCounter_, &SizeCountRunner::RowCounted, this,
                [this](int row, const QString& p, const QString& text, quint32 kb) {
                    ShowCountText(row, p, text, static_cast<qint64>(kb));
                });
        connect(sizeCounter_, &SizeCountRunner::TotalChanged, this,
                [this](quint64 total) { listingTotal_ = total; });
        connect(sizeCounter_, &SizeCountRunner::Finished, this, [this](quint64 total, bool) {
            counting_ = false;
            SetListingTotal(total);
            RestartLoading(false);
            update();
        });
    }
    counting_ = true;
    listingTotal_ = 0;
    sizeCounter_->Start(std::move(rows));
}

void COrvoBrowserView::StopCountingDirectory() {
    if (sizeCounter_)
        sizeCounter_->StopCurrentDirectory();
}

void COrvoBrowserView::ShowCountText(int row, const QString& path, const QString& text,
                                     qint64 kilobytes) {
    // A row that shows another entry now keeps what it shows.
    if (row < 0 || row >= viewTable_.GetRecordCount() ||
        viewTable_.GetValue(viewTable_.FieldIndex("Path"), row).AsStringView() !=
            path.toStdString())
        return;
    viewTable_.SetValue("Comment", row, QValue(std::string_view(text.toStdString())));
    if (kilobytes >= 0)
        viewTable_.SetValue("Size", row, QValue(static_cast<uint32_t>(kilobytes), QVT_DWORD));
    model_->RowChanged(row);
}

} // namespace orvo
