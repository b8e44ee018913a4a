#include "browse/ui/BrowseHover.h"

#include "browse/BrowseNavigation.h"
#include "browse/HoverInfo.h"
#include "browse/RowDrawing.h"
#include "browse/ui/BrowseIcons.h"
#include "browse/ui/CETip.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/QuietPlayback.h"
#include "browse/ui/ViewTableModel.h"
#include "image/ImageFile.h"
#include "platform/FileStatus.h"
#include "platform/MountTable.h"
#include "platform/OleDate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <ctime>

namespace orvo {

namespace {

// The pointer rests this many ticks on a row before its tip shows.
constexpr int kTipDelayTicks = 10;
// How much of a text file the tip shows.
constexpr size_t kTextPreviewBytes = 400;

// The facts of a row that the window's tables hold.
HoverFacts RowHoverFacts(const RowFacts& row, bool driveList) {
    HoverFacts facts;
    if (driveList) {
        facts.isDrive = true;
        facts.drive = std::string(row.name);
        return facts;
    }
    facts.comment = row.comment == "-" ? std::string() : std::string(row.comment);
    facts.date = row.date;
    facts.now = TimeToLocalOleDate(std::time(nullptr));
    facts.sizeText = SizeCellText(row.size, row.directory, false);
    facts.attr = std::string(row.attr);
    return facts;
}

// What only the file itself tells: read from the disk, so done on a worker.
// A sound file is played instead of read (by the caller, when the tip shows).
std::string CompleteHoverText(HoverFacts facts, const std::string& path, bool directory,
                              bool plays) {
    if (facts.isDrive) {
        // A network drive that does not answer keeps the worker no longer.
        const VolumeSpace space = GetVolumeSpaceWithin(path, 3000);
        facts.freeBytes = space.freeBytes;
        facts.totalBytes = space.totalBytes;
        return HoverInfoText(facts);
    }
    facts.typeName = BrowseIcons::TypeName(path, directory).toStdString();
    if (!directory) {
        const FileStatus status = GetFileStatus(path);
        if (plays) {
            facts.preview = HoverFacts::Preview::Media;
        } else if (status.isRegular) {
            if (IsImageExtension(ExtensionOfPath(path)))
                ReadImageFacts(path, facts);
            else if (BrowseIcons::IsTextFile(path))
                ReadTextFacts(path, kTextPreviewBytes, facts);
        }
    }
    return HoverInfoText(facts);
}

// Sound files of the list play while their tip shows.
bool PlaysHere(const RowFacts& facts) {
    return !facts.directory && PlaysOnHover(QString::fromStdString(std::string(facts.path)));
}

} // namespace

BrowseHover::BrowseHover(COrvoBrowserView* view)
    : QObject(view), view_(view), tip_(new CETip(view)) {
    timer_.setInterval(50);
    connect(&timer_, &QTimer::timeout, this, &BrowseHover::HoverTick);
    connect(this, &BrowseHover::HoverTick, this, &BrowseHover::OnHoverTick);
    timer_.start();
}

QString BrowseHover::HoverText(int row) const {
    const ViewTableModel& model = *view_->Model();
    if (row < 0 || row >= model.rowCount() || model.IsParentEntry(row))
        return {};
    const RowFacts facts = model.Facts(row);
    return QString::fromStdString(
        CompleteHoverText(RowHoverFacts(facts, view_->CurrentPath() == kComputerPath),
                          std::string(facts.path), facts.directory, PlaysHere(facts)));
}

bool BrowseHover::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::Wheel ||
        event->type() == QEvent::FocusOut)
        HideTip();
    return false;
}

void BrowseHover::HideTip() {
    if (tipPlays_) {
        StopQuietPlayback();
        tipPlays_ = false;
    }
    tip_->hide();
    tipRow_ = -1;
    ++generation_;
}

void BrowseHover::OnHoverTick() {
    QAbstractItemView* list = view_->CurrentList();
    // No tip over other windows, during a drag or a menu, or in the
    // background.
    if (!view_->isVisible() || !view_->window()->isActiveWindow() ||
        QApplication::mouseButtons() != Qt::NoButton || QApplication::activePopupWidget() ||
        QApplication::activeModalWidget()) {
        if (tip_->isVisible() || tipRow_ >= 0)
            HideTip();
        hoverRow_ = -1;
        return;
    }
    const ViewTableModel& model = *view_->Model();
    const QPoint local = list->viewport()->mapFromGlobal(QCursor::pos());
    int row = -1;
    // The pointer may be over this list's place while another window lies
    // on top of it: only the list the user sees under the pointer shows a tip.
    if (list->viewport()->rect().contains(local) &&
        QApplication::widgetAt(QCursor::pos()) == list->viewport()) {
        const QModelIndex index = list->indexAt(local);
        if (index.isValid() && !model.IsParentEntry(index.row()))
            row = index.row();
    }
    if (row != hoverRow_) {
        hoverRow_ = row;
        hoverTicks_ = 0;
        if (tipRow_ >= 0)
            HideTip();
        return;
    }
    if (row < 0 || tipRow_ == row || ++hoverTicks_ < kTipDelayTicks)
        return;
    tipRow_ = row;
    const uint64_t generation = ++generation_;
    const RowFacts facts = model.Facts(row);
    const bool plays = PlaysHere(facts);
    const QString path = QString::fromStdString(std::string(facts.path));
    auto* watcher = new QFutureWatcher<std::string>(this);
    connect(watcher, &QFutureWatcher<std::string>::finished, this,
            [this, watcher, generation, plays, path] {
                const std::string text = watcher->result();
                watcher->deleteLater();
                if (generation != generation_ || tipRow_ != hoverRow_)
                    return;
                tip_->ShowAt(QCursor::pos(), QString::fromStdString(text));
                if (plays) {
                    PlayQuietly(path);
                    tipPlays_ = true;
                }
            });
    watcher->setFuture(QtConcurrent::run(
        CompleteHoverText, RowHoverFacts(facts, view_->CurrentPath() == kComputerPath),
        std::string(facts.path), facts.directory, plays));
}

} // namespace orvo
