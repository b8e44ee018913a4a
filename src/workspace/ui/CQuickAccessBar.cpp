#include "workspace/ui/CQuickAccessBar.h"

#include "browse/ViewRebuilder.h"
#include "browse/ui/BrowseIcons.h"
#include "browse/ui/BrowseMarks.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "fileops/RegisteredOperations.h"
#include "platform/DisplayText.h"
#include "platform/FileStatus.h"
#include "platform/ui/QtText.h"
#include "settings/OptionTables.h"
#include "settings/OptionsStore.h"
#include "store/Collation.h"
#include "workspace/QuickAccess.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace orvo {

namespace {

constexpr int kPathRole = Qt::UserRole + 1;

// The notice rows of "Moved\Copied" have a name and nothing else.
bool IsNoticeRow(const QTable& table, int row) {
    return table.GetValue("Path", row).AsStringView().empty();
}

} // namespace

CQuickAccessBar::CQuickAccessBar(QWidget* parent)
    : QDockWidget(QStringLiteral("Quick Acess"), parent) {
    setObjectName(QStringLiteral("QuickAccessBar"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    empty_ = std::make_unique<QTable>();
    result_ = std::make_unique<QTable>();
    ViewRebuilder::UseViewColumns(*empty_);
    ViewRebuilder::UseViewColumns(*result_);

    auto* body = new QWidget(this);
    auto button = [body](const QString& text) {
        auto* b = new QPushButton(text, body);
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    important_ = button(QStringLiteral("Important"));
    quickSearch_ = button(QStringLiteral("Quick search"));
    movedCopied_ = button(QStringLiteral("Moved\\Copied"));
    searchEdit_ = new QLineEdit(body);
    searchEdit_->setPlaceholderText(QStringLiteral("*.txt;*.doc"));
    searchEdit_->setClearButtonEnabled(true);

    model_ = new QStandardItemModel(this);
    icons_ = new QListView(body);
    details_ = new QTreeView(body);
    details_->setRootIsDecorated(false);
    details_->setUniformRowHeights(true);
    for (QAbstractItemView* list :
         {static_cast<QAbstractItemView*>(icons_), static_cast<QAbstractItemView*>(details_)}) {
        list->setModel(model_);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QAbstractItemView::customContextMenuRequested, this,
                [this, list](const QPoint& p) {
                    QMenu menu(this);
                    const char* names[] = {"Large icons", "Small icons", "List", "Details"};
                    for (int i = 0; i < 4; ++i) {
                        QAction* a = menu.addAction(QString::fromLatin1(names[i]));
                        a->setCheckable(true);
                        a->setChecked(static_cast<int>(listMode_) == i);
                        connect(a, &QAction::triggered, this,
                                [this, i] { SetListMode(static_cast<ListMode>(i)); });
                    }
                    menu.exec(list->viewport()->mapToGlobal(p));
                });
        connect(list, &QAbstractItemView::clicked, this,
                [this](const QModelIndex& index) { ClickRow(index.row()); });
    }
    icons_->setSelectionModel(details_->selectionModel());
    connect(details_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CQuickAccessBar::ShowSelectionInfo);
    stack_ = new QStackedWidget(body);
    stack_->addWidget(icons_);
    stack_->addWidget(details_);
    info_ = new QPlainTextEdit(body);
    info_->setReadOnly(true);
    info_->setMaximumHeight(170);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    buttons->addWidget(important_);
    buttons->addWidget(quickSearch_);
    buttons->addWidget(movedCopied_);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addLayout(buttons);
    layout->addWidget(searchEdit_);
    layout->addWidget(stack_, 1);
    layout->addWidget(info_);
    setWidget(body);

    connect(important_, &QPushButton::clicked, this, &CQuickAccessBar::ShowImportant);
    connect(quickSearch_, &QPushButton::clicked, this,
            [this] { ShowQuickSearch(searchEdit_->text()); });
    connect(movedCopied_, &QPushButton::clicked, this, &CQuickAccessBar::ShowMovedCopied);
    connect(searchEdit_, &QLineEdit::textEdited, this, &CQuickAccessBar::ShowQuickSearch);
    selectionPending_ = new QTimer(this);
    selectionPending_->setSingleShot(true);
    selectionPending_->setInterval(0);
    connect(selectionPending_, &QTimer::timeout, this, &CQuickAccessBar::ShowViewSelection);
    SetListMode(ListMode::List);
    SetChecked(Pick::Important);
}

void CQuickAccessBar::SetView(COrvoBrowserView* view) {
    if (view == view_)
        return;
    if (view_) {
        view_->disconnect(this);
        view_->Marks().SetQuickAccessPaths({});
    }
    view_ = view;
    if (view_) {
        connect(view_, &COrvoBrowserView::ListingRebuilt, this, &CQuickAccessBar::Refresh);
        connect(view_, &COrvoBrowserView::SelectionChanged, selectionPending_,
                qOverload<>(&QTimer::start));
    }
    Refresh();
}

void CQuickAccessBar::SetChecked(Pick pick) {
    pick_ = pick;
    important_->setChecked(pick == Pick::Important);
    quickSearch_->setChecked(pick == Pick::QuickSearch);
    movedCopied_->setChecked(pick == Pick::MovedCopied);
}

const QTable& CQuickAccessBar::Source() const {
    // The window's own rows: the picks only read them, and a copy of a
    // large directory on every rebuild would cost more than the pick.
    return view_ ? view_->ViewTable() : *empty_;
}

void CQuickAccessBar::Refresh() {
    if (!isVisible()) {
        if (view_)
            view_->Marks().SetQuickAccessPaths({});
        return;
    }
    switch (pick_) {
    case Pick::Important:
        ShowImportant();
        break;
    case Pick::QuickSearch:
        ShowQuickSearch(searchEdit_->text());
        break;
    case Pick::MovedCopied:
        ShowMovedCopied();
        break;
    }
}

void CQuickAccessBar::ShowImportant() {
    SetChecked(Pick::Important);
    PickImportant(Source(), GetOptionsDatabase().GetTable(kImportantFilesTable), *result_);
    ShowResult();
}

void CQuickAccessBar::ShowQuickSearch(const QString& text) {
    SetChecked(Pick::QuickSearch);
    PickQuickSearch(Source(), QToPath(text), *result_);
    ShowResult();
}

void CQuickAccessBar::ShowMovedCopied() {
    SetChecked(Pick::MovedCopied);
    PickMovedCopied(Source(), *result_,
                    [](const std::string& path) { return IsRegisteredOperationPath(path); });
    ShowResult();
}

void CQuickAccessBar::ShowResult() {
    model_->clear();
    model_->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Comment"),
                                       QStringLiteral("Size"), QStringLiteral("Date")});
    for (int r = 0; r < result_->GetRecordCount(); ++r) {
        QString name = ToQ(result_->GetValue("Name", r).AsStringView());
        std::string_view extension = result_->GetValue("Extension", r).AsStringView();
        if (!extension.empty())
            name += QLatin1Char('.') + ToQ(extension);
        const bool notice = IsNoticeRow(*result_, r);
        const bool directory = result_->GetValue("Directory", r).AsBool();
        auto* item = new QStandardItem(name);
        // The path's own bytes: a name need not be UTF-8.
        item->setData(
            QByteArray::fromStdString(std::string(result_->GetValue("Path", r).AsStringView())),
            kPathRole);
        if (!notice)
            item->setIcon(directory ? BrowseIcons::DirectoryIcon()
                                    : BrowseIcons::ExtensionIcon(LowerCaseText(extension)));
        QList<QStandardItem*> cells{item};
        cells << new QStandardItem(notice ? QString()
                                          : ToQ(result_->GetValue("Comment", r).AsStringView()));
        cells << new QStandardItem(notice || directory
                                       ? QString()
                                       : ToQ(NumberText(result_->GetValue("Size", r).AsDword())));
        cells << new QStandardItem(notice ? QString() : ToQ(result_->GetValue("Date", r).ToText()));
        model_->appendRow(cells);
    }
    details_->resizeColumnToContents(0);
    info_->clear();
    selectionPending_->start();
    UpdateMarks();
}

void CQuickAccessBar::UpdateMarks() {
    if (!view_)
        return;
    std::vector<std::string> paths;
    for (int r = 0; r < result_->GetRecordCount(); ++r)
        if (!IsNoticeRow(*result_, r))
            paths.emplace_back(result_->GetValue("Path", r).AsStringView());
    view_->Marks().SetQuickAccessPaths(isVisible() ? paths : std::vector<std::string>());
}

void CQuickAccessBar::SetListMode(ListMode mode) {
    listMode_ = mode;
    if (mode == ListMode::Details) {
        stack_->setCurrentWidget(details_);
        return;
    }
    icons_->setViewMode(mode == ListMode::LargeIcons ? QListView::IconMode : QListView::ListMode);
    icons_->setWrapping(mode == ListMode::SmallIcons);
    icons_->setFlow(mode == ListMode::SmallIcons ? QListView::LeftToRight : QListView::TopToBottom);
    icons_->setIconSize(mode == ListMode::LargeIcons ? QSize(32, 32) : QSize(16, 16));
    icons_->setResizeMode(QListView::Adjust);
    icons_->setMovement(QListView::Static);
    stack_->setCurrentWidget(icons_);
}

void CQuickAccessBar::ClickRow(int row) {
    if (row < 0 || row >= result_->GetRecordCount() || IsNoticeRow(*result_, row))
        return;
    const std::string path(result_->GetValue("Path", row).AsStringView());
    if (view_)
        view_->SelectPath(path);
    ShowEntryInfo(path);
}

void CQuickAccessBar::ShowEntryInfo(const std::string& path) {
    ShowInfo(QuickAccessInfoText(path, BrowseIcons::TypeName(path, IsDirectory(path)).toStdString()));
}

void CQuickAccessBar::ShowInfo(const std::string& text) {
    info_->setPlainText(ToQ(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void CQuickAccessBar::ShowSelectionInfo() {
    QModelIndexList rows = details_->selectionModel()->selectedRows();
    if (rows.size() < 2)
        return;
    uint64_t total = 0;
    size_t count = 0;
    for (const QModelIndex& index : rows) {
        const std::string path =
            model_->item(index.row())->data(kPathRole).toByteArray().toStdString();
        if (path.empty())
            continue;
        FileStatus status = GetFileStatus(path);
        total += status.isDirectory ? 0 : status.size;
        ++count;
    }
    ShowInfo(QuickAccessSelectionText(count, total));
}

// The window's selection: one entry is told about as a click in the bar
// tells, several are counted and their files' sizes added up.
void CQuickAccessBar::ShowViewSelection() {
    if (!view_ || !isVisible())
        return;
    const QTable& table = view_->ViewTable();
    const int pathColumn = table.FieldIndex("Path");
    const int sizeColumn = table.FieldIndex("Size");
    const int directoryColumn = table.FieldIndex("Directory");
    std::vector<int> rows;
    for (int row : view_->SelectedRows())
        if (!view_->Model()->IsParentEntry(row))
            rows.push_back(row);
    if (rows.empty()) {
        info_->clear();
        return;
    }
    if (rows.size() == 1) {
        ShowEntryInfo(std::string(table.GetValue(pathColumn, rows.front()).AsStringView()));
        return;
    }
    uint64_t total = 0;
    for (int row : rows) {
        if (table.GetValue(directoryColumn, row).AsBool())
            continue; // its Size holds a count's kilobytes, not bytes
        const uint32_t size = table.GetValue(sizeColumn, row).AsDword();
        // The cell stops at the largest 32-bit value; such a file is asked.
        total += size != UINT32_MAX
                     ? size
                     : GetFileStatus(std::string(table.GetValue(pathColumn, row).AsStringView())).size;
    }
    ShowInfo(QuickAccessSelectionText(rows.size(), total));
}

// A hidden bar marks nothing and reads nothing; shown again it catches up.
void CQuickAccessBar::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    Refresh();
}

void CQuickAccessBar::hideEvent(QHideEvent* event) {
    QDockWidget::hideEvent(event);
    if (view_)
        view_->Marks().SetQuickAccessPaths({});
}

QString CQuickAccessBar::InfoText() const {
    return info_->toPlainText();
}

} // namespace orvo
