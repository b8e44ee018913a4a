#include "browse/ui/COrvoBrowserView.h"

#include "browse/BrowseNavigation.h"
#include "browse/FileListRows.h"
#include "browse/ViewRebuilder.h"
#include "browse/ui/BackgroundLoader.h"
#include "browse/ui/BrowseBackground.h"
#include "browse/ui/BrowseColumnWidths.h"
#include "browse/ui/BrowseCommandFilter.h"
#include "browse/ui/BrowseContextMenu.h"
#include "browse/ui/BrowseCounting.h"
#include "browse/ui/BrowseFileCommands.h"
#include "browse/ui/BrowseHover.h"
#include "browse/ui/BrowseItemDelegate.h"
#include "browse/ui/BrowseKeys.h"
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/BrowseMarks.h"
#include "browse/ui/BrowseMounts.h"
#include "browse/ui/BrowseNewEntries.h"
#include "browse/ui/BrowseNotice.h"
#include "browse/ui/BrowsePathBar.h"
#include "browse/ui/DirectoryWatch.h"
#include "browse/ui/ViewTableModel.h"
#include "comments/PathComments.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "platform/Shortcut.h"
#include "platform/ui/QtText.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "settings/OptionTables.h"
#include "settings/OptionsStore.h"
#include "store/Collation.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <unordered_set>

namespace orvo {

namespace {

bool ShiftHeld() {
    return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}

// Rows must hold the largest font a file group asks for.
void ApplyListFont(QTableView* details) {
    int largest = 0;
    if (const QTable* groups = GetOptionsDatabase().GetTable(kFileGroupsTable)) {
        const int column = groups->FieldIndex("Font size");
        for (int i = 0; column >= 0 && i < groups->GetRecordCount(); ++i)
            largest = std::max(largest, groups->GetValue(column, i).AsInt());
    }
    details->verticalHeader()->setDefaultSectionSize(details->fontMetrics().height() +
                                                     std::min(largest, 48) + 6);
}

void ShowHistoryEntry(COrvoBrowserView& view, const BrowseHistory::Entry* entry) {
    if (entry) {
        int row = entry->row;
        view.Navigate(entry->path, false, true, false);
        view.SelectRow(row >= 0 && row < view.ViewTable().GetRecordCount() ? row : 0);
    }
    view.PathBar().UpdateButtons();
}

} // namespace

COrvoBrowserView::COrvoBrowserView(QWidget* parent) : QWidget(parent) {
    ViewRebuilder::UseViewColumns(viewTable_);
    model_ = new ViewTableModel(this);
    model_->SetTable(&viewTable_, &listing_);
    loader_ = new BackgroundLoader(this);
    model_->SetIconSource([this](int row) { return loader_->Icon(row); });
    delegate_ = new BrowseItemDelegate(this);
    listMode_ = new BrowseListMode(this);
    marks_ = new BrowseMarks(this);
    counting_ = new BrowseCounting(this);
    fileCommands_ = new BrowseFileCommands(this);
    newEntries_ = new BrowseNewEntries(this);
    hover_ = new BrowseHover(this);
    keys_ = new BrowseKeys(this);
    connect(loader_, &BackgroundLoader::CaptionChanged, this, [this](const QString& caption) {
        emit TitleChanged(caption.isEmpty() ? DocumentTitle() : caption);
    });
    BuildControls();
    background_ = new BrowseBackground(this, {details_, icons_});
    watch_ = new DirectoryWatch(this);
    new BrowseMounts(this);
    connect(details_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &COrvoBrowserView::SelectionChanged);
    connect(details_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &COrvoBrowserView::SelectionChanged);
    connect(model_, &ViewTableModel::RenameRequested, this,
            [this](const std::string& path, const QString& name) {
                // Renaming re-reads the directory, which must not happen
                // while the view is still closing its editor.
                QMetaObject::invokeMethod(
                    this, [this, path, name] { fileCommands_->RenamePath(path, name); },
                    Qt::QueuedConnection);
            });
}

COrvoBrowserView::~COrvoBrowserView() {
    loader_->Stop();
    // Like this window's own handlers, the jobs watching the lists hear
    // nothing of the teardown that follows.
    for (QAbstractItemView* list :
         {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(icons_)}) {
        list->removeEventFilter(keys_);
        list->removeEventFilter(hover_);
        // A name still being edited would be committed, as the window
        // closes, into a view table already gone.
        qDeleteAll(list->viewport()->findChildren<QLineEdit*>());
    }
}

void COrvoBrowserView::BuildControls() {
    pathBar_ = new BrowsePathBar(this);
    details_ = new QTableView(this);
    icons_ = new QListView(this);
    for (QAbstractItemView* list :
         {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(icons_)}) {
        list->setModel(model_);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setEditTriggers(QAbstractItemView::SelectedClicked |
                              QAbstractItemView::EditKeyPressed);
        // The tip goes before a key is handled, and whether it is taken or not.
        list->installEventFilter(keys_);
        list->installEventFilter(hover_);
        list->setItemDelegate(delegate_);
        connect(list, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
            // Enter is handled with the other keys; this is the double-click.
            if (!(QGuiApplication::mouseButtons() & Qt::LeftButton) &&
                QApplication::focusWidget() == CurrentList())
                return;
            OpenItem(index.row());
        });
    }
    icons_->setSelectionModel(details_->selectionModel());
    details_->setShowGrid(false);
    details_->setWordWrap(false);
    // Rows take the colours of their groups and states (and may lie over a
    // background picture), so the list draws no stripes of its own.
    details_->setAlternatingRowColors(false);
    details_->verticalHeader()->hide();
    details_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    details_->horizontalHeader()->setHighlightSections(false);
    details_->horizontalHeader()->setSectionsClickable(true);
    details_->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    details_->horizontalHeader()->setStretchLastSection(false);
    details_->setColumnWidth(ViewTableModel::NameColumn, 220);
    details_->setColumnWidth(ViewTableModel::ExtensionColumn, 60);
    details_->setColumnWidth(ViewTableModel::CommentColumn, 200);
    details_->setColumnWidth(ViewTableModel::SizeColumn, 90);
    details_->setColumnWidth(ViewTableModel::DateColumn, 190); // the date with its weekday and age
    details_->setColumnWidth(ViewTableModel::TimeColumn, 70);
    details_->setColumnWidth(ViewTableModel::AttrColumn, 45);
    connect(details_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &COrvoBrowserView::SortByColumn);
    connect(details_->horizontalHeader(), &QHeaderView::customContextMenuRequested, this,
            [this](const QPoint& p) {
                int column = details_->horizontalHeader()->logicalIndexAt(p);
                keys_->ShowHeaderMenu(column, details_->horizontalHeader()->mapToGlobal(p));
            });
    icons_->setUniformItemSizes(true);
    icons_->setResizeMode(QListView::Adjust);
    icons_->setWordWrap(false);
    ApplyListFont(details_);
    columnWidths_ = new BrowseColumnWidths(details_, model_, this);

    stack_ = new QStackedWidget(this);
    stack_->addWidget(details_);
    stack_->addWidget(icons_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(pathBar_->Layout());
    notice_ = new BrowseNotice(this);
    layout->addWidget(notice_);
    layout->addWidget(stack_, 1);
    SetViewMode(ViewMode::Details);

    // Dragging out carries a file list that other programs understand; the
    // list's own drag would carry rows only this window knows.
    auto* commands = new BrowseCommandFilter(this);
    auto* contextMenu = new BrowseContextMenu(this);
    for (QAbstractItemView* list :
         {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(icons_)}) {
        list->setDragEnabled(false);
        list->setAcceptDrops(true);
        list->viewport()->setAcceptDrops(true);
        for (QObject* filter : {static_cast<QObject*>(commands), static_cast<QObject*>(contextMenu)}) {
            list->installEventFilter(filter);
            list->viewport()->installEventFilter(filter);
        }
    }
}

QAbstractItemView* COrvoBrowserView::CurrentList() const {
    return mode_ == ViewMode::Details ? static_cast<QAbstractItemView*>(details_) : icons_;
}

const std::string& COrvoBrowserView::CurrentPath() const {
    static const std::string none;
    return listMode_->IsListMode() ? none : currentPath_;
}

QString COrvoBrowserView::DocumentTitle() const {
    return listMode_->IsListMode() ? listMode_->Title() : title_;
}

QString COrvoBrowserView::WindowName() const {
    if (listMode_->IsListMode())
        return listMode_->Title();
    if (currentPath_ == kComputerPath)
        return QStringLiteral("Computer");
    std::string name(FileNameOf(StripTrailingSlash(currentPath_)));
    return name.empty() ? ToQ(currentPath_) : ToQ(name);
}

void COrvoBrowserView::Navigate(const std::string& requested, bool addToHistory, bool rebuild,
                                bool allowNewWindow) {
    if ((allowNewWindow && (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier)) ||
        listMode_->IsListMode()) {
        emit NewWindowRequested(PathToQ(requested));
        return;
    }
    std::string path = requested == kComputerPath ? requested : StripTrailingSlash(requested);
    if (path.empty())
        return;
    // The history keeps where the selection was in the directory being left
    // (Back and Forward note it themselves before they move).
    if (addToHistory)
        history_.SetCurrentRow(SelectionMark());
    if (path != currentPath_)
        shownSortColumn_ = -1;
    currentPath_ = path;
    if (path == kComputerPath)
        ReadComputer(listing_, driveTypes_);
    else
        listing_.ReadDirectory(path);
    if (rebuild)
        RebuildView(true, false, true);

    title_ = ToQ(path == kComputerPath ? std::string("Computer") : DocumentTitleFor(path));
    emit TitleChanged(title_);
    emit PathChanged(ToQ(path));
    if (addToHistory)
        history_.Add(path, SelectionMark());
    pathBar_->ShowPath(path, addToHistory);
}

void COrvoBrowserView::RebuildView(bool rebuild, bool reread, bool clearMarks) {
    if (reread && listMode_->IsListMode()) {
        orvo::RefreshListRows(listing_);
        rebuild = true;
    } else if (reread) {
        if (currentPath_ == kComputerPath)
            ReadComputer(listing_, driveTypes_);
        else
            listing_.ReadDirectory(currentPath_);
        rebuild = true;
    }
    hover_->HideTip();
    if (!rebuild) {
        // The marks stay: they are found again only by a rebuild.
        RestartLoading(clearMarks);
        return;
    }
    ShowRebuilt(ViewRebuilder::Rebuild(listing_, viewTable_, RebuildInput()), clearMarks);
}

ViewRebuilder::Input COrvoBrowserView::RebuildInput() {
    ViewRebuilder::Input input;
    input.currentDirectory = CurrentPath();
    input.hideCommentFile = GetBoolOption(kHideCommentFileKey);
    input.listMode = listMode_->IsListMode();
    input.selectedPaths = SelectedPaths();
    input.selectionMark = SelectionMark();
    input.favoriteTargets = marks_->FavoriteTargets();
    return input;
}

void COrvoBrowserView::AdoptRebuilt(DirectoryListing& listing, QTable& view,
                                    const ViewRebuilder::Result& result) {
    hover_->HideTip();
    listing_.TakeListing(listing);
    ViewRebuilder::AdoptRows(viewTable_, view);
    ShowRebuilt(result, false);
}

void COrvoBrowserView::ShowRebuilt(const ViewRebuilder::Result& result, bool clearMarks) {
    model_->Reload();
    columnWidths_->Fit();
    marks_->SetMarkedPaths(result.markedPaths);
    counting_->SetListingTotal(0);
    background_->Start(result.backgroundPicture);
    RestartLoading(clearMarks);
    SelectRow(result.selectRow);
    if (BrowseCounting::CountingMode())
        QMetaObject::invokeMethod(
            this, [this] { counting_->CountDirectories(false); }, Qt::QueuedConnection);
    emit ListingRebuilt();
}

void COrvoBrowserView::RestartLoading(bool forgetIcons) {
    loader_->Restart(mode_ == ViewMode::Thumbnails, thumbnailSize_, forgetIcons);
}

int COrvoBrowserView::DriveTypeOf(const std::string& path) const {
    const int column = listing_.FieldIndex("Path");
    for (int i = 0; i < listing_.GetRecordCount() && i < static_cast<int>(driveTypes_.size()); ++i)
        if (listing_.GetValue(column, i).AsStringView() == path)
            return driveTypes_[static_cast<size_t>(i)];
    return DRIVE_UNKNOWN;
}

void COrvoBrowserView::OpenItem(int row) {
    if (row < 0 || row >= viewTable_.GetRecordCount())
        return;
    if (!listMode_->IsListMode() && row == 0 && model_->IsParentEntry(0)) {
        Up();
        return;
    }
    std::string path = viewTable_.GetText("Path", row);
    std::string extension = viewTable_.GetText("Extension", row);
    if (LowerCaseText(extension) == "lnk") {
        std::string target = ResolveShortcut(path);
        if (!target.empty() && IsDirectory(target))
            path = target;
    }
    if (CurrentPath() == kComputerPath || IsDirectory(path)) {
        Navigate(path, true, true, true);
        SelectRow(0);
        return;
    }
    if (LowerCaseText(extension) == "orl" && PathExists(path)) {
        emit OpenListRequested(PathToQ(path));
        return;
    }
    fileCommands_->RunOrOpen(path, ShiftHeld(), ParentDirectoryOf(path));
}

void COrvoBrowserView::Back() {
    if (listMode_->IsListMode())
        return;
    history_.SetCurrentRow(SelectionMark());
    ShowHistoryEntry(*this, history_.Back());
}

void COrvoBrowserView::Forward() {
    if (listMode_->IsListMode())
        return;
    history_.SetCurrentRow(SelectionMark());
    ShowHistoryEntry(*this, history_.Forward());
}

void COrvoBrowserView::Up() {
    if (listMode_->IsListMode()) {
        // A list has no parent; up leads to where the selected entry lives.
        listMode_->GoThere();
        return;
    }
    std::string left = currentPath_;
    std::string target = UpTarget(currentPath_);
    if (target.empty())
        return;
    Navigate(target, true, true, false);
    if (!SelectPath(left))
        SelectRow(0);
}

void COrvoBrowserView::Up2() {
    if (listMode_->IsListMode())
        return;
    std::string target = Up2Target(currentPath_);
    if (!target.empty() && target != currentPath_)
        Navigate(target, true, true, false);
}

std::vector<int> COrvoBrowserView::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : details_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<std::string> COrvoBrowserView::SelectedPaths() const {
    return ViewRebuilder::SelectedPaths(viewTable_, SelectedRows());
}

std::string COrvoBrowserView::FirstSelectedPath() const {
    std::vector<std::string> paths = SelectedPaths();
    return paths.empty() ? std::string() : paths.front();
}

int COrvoBrowserView::SelectionMark() const {
    QModelIndex current = details_->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void COrvoBrowserView::SelectRow(int row, bool clearOthers) {
    if (row < 0 || row >= viewTable_.GetRecordCount())
        return;
    QItemSelectionModel* selection = details_->selectionModel();
    QModelIndex index = model_->index(row, 0);
    auto flags = QItemSelectionModel::Select | QItemSelectionModel::Rows;
    if (clearOthers)
        flags |= QItemSelectionModel::Clear;
    selection->setCurrentIndex(index, flags);
    CurrentList()->scrollTo(index);
}

bool COrvoBrowserView::SelectPath(const std::string& path) {
    const int column = viewTable_.FieldIndex("Path");
    // Row 0 (the parent entry) carries the current directory's own path.
    for (int i = listMode_->IsListMode() ? 0 : 1; i < viewTable_.GetRecordCount(); ++i) {
        if (viewTable_.GetValue(column, i).AsStringView() == path) {
            SelectRow(i);
            return true;
        }
    }
    return false;
}

void COrvoBrowserView::SelectPaths(const std::vector<std::string>& paths) {
    if (paths.size() == 1) {
        SelectPath(paths.front());
        return;
    }
    // One pass over the rows and one selection change: a list window given
    // a hundred thousand search hits selects them all at once.
    std::unordered_set<std::string_view> wanted(paths.begin(), paths.end());
    const int pathColumn = viewTable_.FieldIndex("Path");
    const int lastColumn = model_->columnCount() - 1;
    QItemSelection selection;
    int current = -1, runStart = -1;
    auto closeRun = [&](int end) {
        if (runStart >= 0)
            selection.select(model_->index(runStart, 0), model_->index(end, lastColumn));
        runStart = -1;
    };
    const int rows = viewTable_.GetRecordCount();
    for (int r = listMode_->IsListMode() ? 0 : 1; r < rows; ++r) {
        if (!wanted.count(viewTable_.GetValue(pathColumn, r).AsStringView())) {
            closeRun(r - 1);
            continue;
        }
        if (current < 0)
            current = r;
        if (runStart < 0)
            runStart = r;
    }
    closeRun(rows - 1);
    if (current < 0)
        return;
    QItemSelectionModel* model = details_->selectionModel();
    model->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    model->setCurrentIndex(model_->index(current, 0), QItemSelectionModel::NoUpdate);
    CurrentList()->scrollTo(model_->index(current, 0));
}

void COrvoBrowserView::FocusList(int row) {
    CurrentList()->setFocus();
    if (row >= 0)
        SelectRow(row);
}

void COrvoBrowserView::SetViewMode(ViewMode mode) {
    mode_ = mode;
    if (mode == ViewMode::Details) {
        stack_->setCurrentWidget(details_);
    } else {
        const bool iconMode = mode != ViewMode::List;
        icons_->setViewMode(iconMode ? QListView::IconMode : QListView::ListMode);
        icons_->setFlow(iconMode ? QListView::LeftToRight : QListView::TopToBottom);
        icons_->setWrapping(true);
        const int icon = mode == ViewMode::Thumbnails   ? thumbnailSize_
                         : mode == ViewMode::LargeIcons ? 32
                                                        : 16;
        icons_->setIconSize(QSize(icon, icon));
        icons_->setGridSize(IconCellSize());
        icons_->setMovement(QListView::Static);
        stack_->setCurrentWidget(icons_);
    }
    QModelIndex current = details_->selectionModel()->currentIndex();
    if (current.isValid())
        CurrentList()->scrollTo(current);
    // A new mode loads again what it shows: icons only, or thumbnails.
    RestartLoading(true);
}

QSize COrvoBrowserView::IconCellSize() const {
    const int line = icons_->fontMetrics().height();
    switch (mode_) {
    case ViewMode::Thumbnails:
        return QSize(std::max(thumbnailSize_ + 24, 72), thumbnailSize_ + line + 12);
    case ViewMode::LargeIcons:
        return QSize(100, 32 + line + 14);
    case ViewMode::SmallIcons:
        return QSize(200, std::max(18, line + 4));
    default:
        return QSize(240, std::max(18, line + 4));
    }
}

void COrvoBrowserView::ApplyRowLooks() {
    ApplyListFont(details_);
    columnWidths_->Fit();
    if (mode_ != ViewMode::Details)
        icons_->setGridSize(IconCellSize());
    CurrentList()->viewport()->update();
}

void COrvoBrowserView::ChangeThumbnailSize(int delta) {
    thumbnailSize_ = std::max(16, thumbnailSize_ + delta);
    QFont font = details_->font();
    const int step = delta > 0 ? 1 : -1;
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() + step);
    else
        font.setPixelSize(std::max(1, font.pixelSize() + step));
    if (QFontMetrics(font).height() >= 10) {
        details_->setFont(font);
        icons_->setFont(font);
        ApplyListFont(details_);
        columnWidths_->Fit();
    }
    if (mode_ != ViewMode::Details) {
        icons_->setIconSize(mode_ == ViewMode::Thumbnails ? QSize(thumbnailSize_, thumbnailSize_)
                                                          : icons_->iconSize());
        icons_->setGridSize(IconCellSize());
    }
    RestartLoading(false);
    CurrentList()->viewport()->update();
}

void COrvoBrowserView::SortByColumn(int column) {
    const char* name = ViewTableModel::TableColumnName(column);
    if (!*name)
        return;
    bool ascending = column != sortColumn_;
    std::vector<std::string> keep = SelectedPaths();
    if (listMode_->IsListMode()) {
        // The list itself takes the order, so that a saved list keeps it.
        if (listing_.GetRecordCount() > 0)
            listing_.Sort(name, ascending, 0, -1);
        sortColumn_ = ascending ? column : -1;
        RebuildView(true, false, false);
        if (!keep.empty())
            SelectPath(keep.front());
        return;
    }
    // Row 0, the parent entry, stays on top.
    if (viewTable_.GetRecordCount() > 1)
        viewTable_.Sort(name, ascending, 1, -1);
    sortColumn_ = ascending ? column : -1;
    shownSortColumn_ = column;
    shownSortAscending_ = ascending;
    details_->setUpdatesEnabled(false);
    model_->Reload();
    if (!keep.empty())
        SelectPath(keep.front());
    else
        SelectRow(0);
    details_->setUpdatesEnabled(true);
}

void COrvoBrowserView::ReapplyHeaderSort() {
    const char* name = ViewTableModel::TableColumnName(shownSortColumn_);
    if (shownSortColumn_ < 0 || !*name || listMode_->IsListMode())
        return;
    if (viewTable_.GetRecordCount() > 1)
        viewTable_.Sort(name, shownSortAscending_, 1, -1);
    model_->Reload();
}

} // namespace orvo
