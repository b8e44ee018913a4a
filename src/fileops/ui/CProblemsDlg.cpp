#include "fileops/ui/CProblemsDlg.h"

#include "fileops/ProblemsTable.h"
#include "store/QTable.h"
#include "store/ui/CTableGrid.h"
#include "store/ui/TableGridModel.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace orvo {

namespace {

std::function<int(CProblemsDlg&)>& TestRunner() {
    static std::function<int(CProblemsDlg&)> runner;
    return runner;
}

} // namespace

int CProblemsDlg::Run() {
    return TestRunner() ? TestRunner()(*this) : exec();
}

void CProblemsDlg::SetTestRunner(std::function<int(CProblemsDlg&)> runner) {
    TestRunner() = std::move(runner);
}

CProblemsDlg::CProblemsDlg(QTable& problems, const QString& description, QWidget* parent)
    : QDialog(parent), problems_(problems) {
    setWindowTitle(QStringLiteral("Problems..."));
    // The stored text breaks its lines the way message boxes did.
    QString text = description;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    description_ = new QLabel(text, this);
    description_->setWordWrap(true);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(description_, 1);

    grid_ = new CTableGrid(this);
    grid_->SetTable(&problems_, nullptr);
    grid_->SetEditable(false);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->horizontalHeader()->setStretchLastSection(false);
    grid_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    grid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    grid_->installEventFilter(this);
    connect(grid_, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() == problems_.FieldIndex("Execute"))
            ToggleRow(index.row());
    });
    connect(grid_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.column() != problems_.FieldIndex("Execute"))
            ToggleRow(index.row());
    });
    auto* hint =
        new QLabel(QStringLiteral("Click an Execute cell (or press Space) to switch a row."), this);
    hint->setEnabled(false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* yes =
        buttons->addButton(QStringLiteral("Yes to all"), QDialogButtonBox::ActionRole);
    QPushButton* skip =
        buttons->addButton(QStringLiteral("Skip all"), QDialogButtonBox::ActionRole);
    yes->setObjectName(QStringLiteral("yesToAll"));
    skip->setObjectName(QStringLiteral("skipAll"));
    connect(yes, &QPushButton::clicked, this, &CProblemsDlg::YesToAll);
    connect(skip, &QPushButton::clicked, this, &CProblemsDlg::SkipAll);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    resize(640, 360);
}

void CProblemsDlg::YesToAll() {
    SetAllExecute(problems_, true);
    grid_->Refill();
}

void CProblemsDlg::SkipAll() {
    SetAllExecute(problems_, false);
    grid_->Refill();
}

void CProblemsDlg::ToggleRow(int row) {
    if (row < 0 || row >= problems_.GetRecordCount())
        return;
    ToggleExecute(problems_, row);
    TableGridModel* model = grid_->GridModel();
    QModelIndex cell = model->index(row, problems_.FieldIndex("Execute"));
    emit model->dataChanged(cell, cell);
}

bool CProblemsDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        for (const QModelIndex& index : grid_->selectionModel()->selectedRows())
            ToggleRow(index.row());
        if (grid_->selectionModel()->selectedRows().isEmpty())
            ToggleRow(grid_->currentIndex().row());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvo
