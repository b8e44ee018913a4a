#include "browse/ui/COrvoBrowserView.h"

#include "browse/BackgroundPicture.h"
#include "browse/BrowseNavigation.h"
#include "browse/FileListRows.h"
#include "browse/ViewRebuilder.h"
#include "browse/ui/BackgroundLoader.h"
#include "browse/ui/BrowseItemDelegate.h"
#include "browse/ui/CETip.h"
#include "browse/ui/DriveComboBox.h"
#include "browse/ui/ViewTableModel.h"
#include "comments/PathComments.h"
#include "image/ui/RasterQImage.h"
#include "platform/PathText.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "settings/OptionTables.h"
#include "settings/OptionsStore.h"

#include <QApplication>
#include <QComboBox>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace orvo {

namespace {
QString ToQ(const std::string& s) {
    return QString::fromStdString(s);
}
} // namespace

COrvoBrowserView::COrvoBrowserView(QWidget* parent) : QWidget(parent) {
    ViewRebuilder::UseViewColumns(viewTable_);
    model_ = new ViewTableModel(this);
    model_->SetTable(&viewTable_, &listing_);
    loader_ = new BackgroundLoader(this);
    model_->SetIconSource([this](int row) { return loader_->Icon(row); });
    delegate_ = new BrowseItemDelegate(this);
    tip_ = new CETip(this);
    connect(loader_, &BackgroundLoader::CaptionChanged, this, [this](const QString& caption) {
        emit TitleChanged(caption.isEmpty() ? title_ : caption);
    });
    BuildControls();
    InstallFileCommands();
    connect(details_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &COrvoBrowserView::SelectionChanged);
    connect(details_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &COrvoBrowserView::SelectionChanged);
    connect(model_, &ViewTableModel::RenameRequested, this, [this](int row, const QString& name) {
        // Renaming re-reads the directory, which must not happen
        // while the view is still closing its editor.
        QMetaObject::invokeMethod(
            this, [this, row, name] { RenameRow(row, name); }, Qt::QueuedConnection);
    });
    hoverTimer_.setInterval(50);
    connect(&hoverTimer_, &QTimer::timeout, this, &COrvoBrowserView::HoverTick);
    connect(this, &COrvoBrowserView::HoverTick, this, &COrvoBrowserView::OnHoverTick);
    hoverTimer_.start();
}

COrvoBrowserView::~COrvoBrowserView() {
    hoverTimer_.stop();
    loader_->Stop();
}

void COrvoBrowserView::BuildControls() {
    auto button = [this](QStyle::StandardPixmap icon, const char* themeIcon, const QString& tip) {
        auto* b = new QToolButton(this);
        b->setIcon(QIcon::fromTheme(QString::fromLatin1(themeIcon), style()->standardIcon(icon)));
        b->setToolTip(tip);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    back_ = button(QStyle::SP_ArrowBack, "go-previous", tr("Back (Alt+Left)"));
    forward_ = button(QStyle::SP_ArrowForward, "go-next", tr("Forward (Alt+Right)"));
    up_ = button(QStyle::SP_ArrowUp, "go-up", tr("Up (Backspace)"));
    up2_ = button(QStyle::SP_DriveHDIcon, "go-top", tr("Up to the volume's top"));
    driveBox_ = new DriveComboBox(this);
    driveBox_->setToolTip(tr("Drives (Alt+F1)"));
    pathBox_ = new QComboBox(this);
    pathBox_->setEditable(true);
    pathBox_->setInsertPolicy(QComboBox::NoInsert);
    pathBox_->setToolTip(tr("Path: type a directory or a command (Alt+F2)"));
    pathBox_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    details_ = new QTableView(this);
    icons_ = new QListView(this);
    for (QAbstractItemView* list :
         {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(icons_)}) {
        list->setModel(model_);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setEditTriggers(QAbstractItemView::SelectedClicked |
                              QAbstractItemView::EditKeyPressed);
        list->installEventFilter(this);
        list->setDragEnabled(true);
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
                ShowHeaderMenu(column, details_->horizontalHeader()->mapToGlobal(p));
            });
    icons_->setUniformItemSizes(true);
    icons_->setResizeMode(QListView::Adjust);
    icons_->setWordWrap(false);
    ApplyListFont();

    stack_ = new QStackedWidget(this);
    stack_->addWidget(details_);
    stack_->addWidget(icons_);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(2, 2, 2, 2);
    bar->setSpacing(2);
    bar->addWidget(driveBox_);
    bar->addWidget(back_);
    bar->addWidget(forward_);
    bar->addWidget(up_);
    bar->addWidget(up2_);
    bar->addWidget(pathBox_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(stack_, 1);

    connect(back_, &QToolButton::clicked, this, &COrvoBrowserView::Back);
    connect(forward_, &QToolButton::clicked, this, &COrvoBrowserView::Forward);
    connect(up_, &QToolButton::clicked, this, &COrvoBrowserView::Up);
    connect(up2_, &QToolButton::clicked, this, &COrvoBrowserView::Up2);
    connect(pathBox_, &QComboBox::textActivated, this, &COrvoBrowserView::OnPathEntered);
    connect(driveBox_, &QComboBox::activated, this, &COrvoBrowserView::OnDriveChosen);
    SetViewMode(ViewMode::Details);
}

QAbstractItemView* COrvoBrowserView::CurrentList() const {
    return mode_ == ViewMode::Details ? static_cast<QAbstractItemView*>(details_) : icons_;
}

QComboBox* COrvoBrowserView::PathBox() const {
    return pathBox_;
}
QComboBox* COrvoBrowserView::DriveBox() const {
    return driveBox_;
}

QString COrvoBrowserView::WindowName() const {
    if (listMode_)
        return title_;
    if (currentPath_ == kComputerPath)
        return QStringLiteral("Computer");
    std::string name(FileNameOf(StripTrailingSlash(currentPath_)));
    return name.empty() ? ToQ(currentPath_) : ToQ(name);
}

void COrvoBrowserView::Navigate(const std::string& requested, bool addToHistory, bool rebuild,
                                bool allowNewWindow) {
    if ((allowNewWindow && (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier)) ||
        listMode_) {
        emit NewWindowRequested(ToQ(requested));
        return;
    }
    std::string path = requested == kComputerPath ? requested : StripTrailingSlash(requested);
    if (path.empty())
        return;
    // The history keeps where the selection was in the directory being left
    // (Back and Forward note it themselves before they move).
    if (addToHistory)
        history_.SetCurrentRow(SelectionMark());
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
    if (addToHistory) {
        history_.Add(path, SelectionMark());
        int existing = pathBox_->findText(ToQ(path));
        if (existing >= 0)
            pathBox_->removeItem(existing);
        pathBox_->insertItem(0, ToQ(path));
    }
    pathBox_->setCurrentIndex(pathBox_->findText(ToQ(path)));
    pathBox_->setEditText(ToQ(path));
    if (path != kComputerPath)
        driveBox_->ShowDriveOf(ToQ(path));
    UpdateButtons();
}

void COrvoBrowserView::RebuildView(bool rebuild, bool reread, bool clearMarks) {
    if (reread && listMode_) {
        orvo::RefreshListRows(listing_);
        rebuild = true;
    } else if (reread) {
        if (currentPath_ == kComputerPath)
            ReadComputer(listing_, driveTypes_);
        else
            listing_.ReadDirectory(currentPath_);
        rebuild = true;
    }
    HideTip();
    if (!rebuild) {
        // The marks stay: they are found again only by a rebuild.
        RestartLoading(clearMarks);
        return;
    }
    ViewRebuilder::Input input;
    input.currentDirectory = currentPath_;
    input.hideCommentFile = GetBoolOption(kHideCommentFileKey);
    input.listMode = listMode_;
    input.selectedPaths = SelectedPaths();
    input.selectionMark = SelectionMark();
    input.favoriteTargets = FavoriteTargets();
    ViewRebuilder::Result result = ViewRebuilder::Rebuild(listing_, viewTable_, input);
    model_->Reload();
    backgroundPicture_ = result.backgroundPicture;
    currentComment_ = result.directoryComment;
    marks_.SetMarkedRows(result.markedRows);
    listingTotal_ = 0;
    StartBackgroundPicture();
    RestartLoading(clearMarks);
    SelectRow(result.selectRow);
    if (CountingMode())
        QMetaObject::invokeMethod(
            this, [this] { CountDirectories(false); }, Qt::QueuedConnection);
    emit ListingRebuilt();
}

void COrvoBrowserView::RestartLoading(bool forgetIcons) {
    loader_->Restart(mode_ == ViewMode::Thumbnails, thumbnailSize_, forgetIcons);
}

void COrvoBrowserView::SetQuickAccessPaths(const std::vector<std::string>& paths) {
    marks_.SetQuickAccessPaths(paths);
    CurrentList()->viewport()->update();
}

void COrvoBrowserView::SetListingTotal(uint64_t bytes) {
    listingTotal_ = bytes;
    details_->viewport()->update();
}

int COrvoBrowserView::DriveTypeOf(const std::string& path) const {
    const int column = listing_.FieldIndex("Path");
    for (int i = 0; i < listing_.GetRecordCount() && i < static_cast<int>(driveTypes_.size()); ++i)
        if (listing_.GetValue(column, i).AsStringView() == path)
            return driveTypes_[static_cast<size_t>(i)];
    return DRIVE_UNKNOWN;
}

void COrvoBrowserView::UpdateButtons() {
    // A list window has no directory to move in; its Up goes to the
    // selected entry's directory.
    back_->setEnabled(!listMode_ && history_.CanGoBack());
    forward_->setEnabled(!listMode_ && history_.CanGoForward());
    up_->setEnabled(listMode_ || currentPath_ != kComputerPath);
    up2_->setEnabled(!listMode_ && currentPath_ != kComputerPath);
}

void COrvoBrowserView::ShowHistoryEntry(const BrowseHistory::Entry* entry) {
    if (entry) {
        int row = entry->row;
        Navigate(entry->path, false, true, false);
        SelectRow(row >= 0 && row < viewTable_.GetRecordCount() ? row : 0);
    }
    UpdateButtons();
}

void COrvoBrowserView::Back() {
    if (listMode_)
        return;
    history_.SetCurrentRow(SelectionMark());
    ShowHistoryEntry(history_.Back());
}

void COrvoBrowserView::Forward() {
    if (listMode_)
        return;
    history_.SetCurrentRow(SelectionMark());
    ShowHistoryEntry(history_.Forward());
}

void COrvoBrowserView::Up() {
    if (listMode_) {
        // A list has no parent; up leads to where the selected entry lives.
        GoThere();
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
    if (listMode_)
        return;
    std::string target = Up2Target(currentPath_);
    if (!target.empty() && target != currentPath_)
        Navigate(target, true, true, false);
}

int COrvoBrowserView::RowOfPath(const std::string& path) const {
    int column = viewTable_.FieldIndex("Path");
    // Row 0 (the parent entry) carries the current directory's own path.
    for (int i = listMode_ ? 0 : 1; i < viewTable_.GetRecordCount(); ++i)
        if (viewTable_.GetValue(column, i).AsStringView() == path)
            return i;
    return -1;
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
    int row = RowOfPath(path);
    if (row < 0)
        return false;
    SelectRow(row);
    return true;
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
        ApplyListFont();
    }
    if (mode_ != ViewMode::Details) {
        icons_->setIconSize(mode_ == ViewMode::Thumbnails ? QSize(thumbnailSize_, thumbnailSize_)
                                                          : icons_->iconSize());
        icons_->setGridSize(IconCellSize());
    }
    RestartLoading(false);
    CurrentList()->viewport()->update();
}

void COrvoBrowserView::ApplyListFont() {
    // Rows must hold the largest font a file group asks for.
    int largest = 0;
    if (const QTable* groups = GetOptionsDatabase().GetTable(kFileGroupsTable)) {
        const int column = groups->FieldIndex("Font size");
        for (int i = 0; column >= 0 && i < groups->GetRecordCount(); ++i)
            largest = std::max(largest, groups->GetValue(column, i).AsInt());
    }
    details_->verticalHeader()->setDefaultSectionSize(details_->fontMetrics().height() +
                                                      std::min(largest, 48) + 6);
}

void COrvoBrowserView::StartBackgroundPicture() {
    const uint64_t generation = ++backgroundGeneration_;
    tone_ = BackgroundTone{};
    backgroundPixmap_ = QPixmap();
    ShowBackgroundPicture();
    if (backgroundPicture_.empty())
        return;
    // Decoded away from the interface thread: a large picture takes a while.
    using Loaded = std::pair<QImage, BackgroundTone>;
    auto* watcher = new QFutureWatcher<Loaded>(this);
    connect(watcher, &QFutureWatcher<Loaded>::finished, this, [this, watcher, generation] {
        const Loaded loaded = watcher->result();
        watcher->deleteLater();
        if (generation != backgroundGeneration_ || loaded.first.isNull())
            return;
        tone_ = loaded.second;
        backgroundPixmap_ = QPixmap::fromImage(loaded.first);
        ShowBackgroundPicture();
    });
    // The picture covers a whole screen, keeping its proportions, and lies
    // under the list from its top-left corner like a wallpaper, so no list
    // is ever large enough to show it repeated.
    const QSize cover = screen() ? screen()->size() : QSize(1920, 1080);
    watcher->setFuture(QtConcurrent::run([path = backgroundPicture_, cover] {
        RasterImage picture;
        BackgroundTone tone;
        if (!LoadBackgroundPicture(path, picture, tone))
            return Loaded{};
        return Loaded{ToQImage(picture).scaled(cover, Qt::KeepAspectRatioByExpanding,
                                               Qt::SmoothTransformation),
                      tone};
    }));
}

void COrvoBrowserView::ShowBackgroundPicture() {
    for (QAbstractItemView* list :
         {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(icons_)}) {
        if (backgroundPixmap_.isNull()) {
            list->viewport()->setPalette(QPalette());
        } else {
            QPalette palette = list->palette();
            palette.setBrush(QPalette::Base, QBrush(backgroundPixmap_));
            list->viewport()->setPalette(palette);
        }
        list->viewport()->update();
    }
}

void COrvoBrowserView::SortByColumn(int column) {
    const char* name = ViewTableModel::TableColumnName(column);
    if (!*name)
        return;
    bool ascending = column != sortColumn_;
    std::vector<std::string> keep = SelectedPaths();
    if (listMode_) {
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
    details_->setUpdatesEnabled(false);
    model_->Reload();
    if (!keep.empty())
        SelectPath(keep.front());
    else
        SelectRow(0);
    details_->setUpdatesEnabled(true);
}

} // namespace orvo
