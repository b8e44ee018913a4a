#include "browse/ui/BrowseCounting.h"

#include "browse/DirectoryListing.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/SizeCountRunner.h"
#include "browse/ui/ViewTableModel.h"
#include "platform/ui/QtText.h"

#include <QTableView>

namespace orvo {

namespace {
bool countingMode = false;
} // namespace

BrowseCounting::BrowseCounting(COrvoBrowserView* view) : QObject(view), view_(view) {}

void BrowseCounting::SetCountingMode(bool on) {
    countingMode = on;
}

bool BrowseCounting::CountingMode() {
    return countingMode;
}

void BrowseCounting::CountDirectories(bool selectedOnly) {
    if (view_->CurrentPath() == kComputerPath)
        return; // the drive list shows volumes, whose sizes the drive box tells
    std::vector<SizeCountRow> rows;
    const QTable& table = view_->ViewTable();
    const ViewTableModel& model = *view_->Model();
    const int path = table.FieldIndex("Path");
    auto add = [&](int row) {
        if (!model.IsParentEntry(row))
            rows.push_back({row, std::string(table.GetValue(path, row).AsStringView())});
    };
    if (selectedOnly) {
        for (int row : view_->SelectedRows())
            add(row);
    } else {
        for (int row = 0; row < table.GetRecordCount(); ++row)
            add(row);
    }
    if (!runner_) {
        runner_ = new SizeCountRunner(this);
        connect(runner_, &SizeCountRunner::RowProgress, this,
                [this](int row, const QString& p, const QString& text) {
                    ShowCountText(row, p, text, -1);
                });
        connect(runner_, &SizeCountRunner::RowCounted, this,
                [this](int row, const QString& p, const QString& text, quint32 kb) {
                    ShowCountText(row, p, text, static_cast<qint64>(kb));
                });
        connect(runner_, &SizeCountRunner::TotalChanged, this,
                [this](quint64 total) { listingTotal_ = total; });
        connect(runner_, &SizeCountRunner::Finished, this, [this](quint64 total, bool) {
            counting_ = false;
            SetListingTotal(total);
            view_->RestartLoading(false);
            view_->update();
        });
    }
    counting_ = true;
    listingTotal_ = 0;
    // The counting mode counts what the window shows and stays on its file
    // system (no walk through /proc from "/"); a directory the user picked
    // is counted on its own one.
    runner_->Start(std::move(rows),
                   selectedOnly ? std::string() : view_->CurrentPath());
}

void BrowseCounting::StopCountingDirectory() {
    if (runner_)
        runner_->StopCurrentDirectory();
}

void BrowseCounting::SetListingTotal(uint64_t bytes) {
    listingTotal_ = bytes;
    view_->DetailsList()->viewport()->update();
}

void BrowseCounting::ShowCountText(int row, const QString& path, const QString& text,
                                   qint64 kilobytes) {
    // A row that shows another entry now keeps what it shows.
    QTable& table = view_->ViewTable();
    if (row < 0 || row >= table.GetRecordCount() ||
        table.GetValue(table.FieldIndex("Path"), row).AsStringView() != QToPath(path))
        return;
    table.SetValue("Comment", row, QValue(std::string_view(text.toStdString())));
    if (kilobytes >= 0)
        table.SetValue("Size", row, QValue(static_cast<uint32_t>(kilobytes), QVT_DWORD));
    view_->Model()->RowChanged(row);
}

} // namespace orvo
