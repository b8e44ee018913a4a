#include "store/ui/CTableEditorDlg.h"

#include "store/ui/CTableGrid.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvo {

CTableEditorDlg::CTableEditorDlg(const QString& hint, QTable* table, QDataBase* db, QWidget* parent)
    : QDialog(parent), grid_(new CTableGrid(this)), hint_(new QLabel(hint, this)),
      new_(new QPushButton(tr("New"), this)), delete_(new QPushButton(tr("Delete"), this)) {
    setWindowTitle(tr("Options"));
    hint_->setWordWrap(true);
    hint_->setVisible(!hint.isEmpty());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(new_, &QPushButton::clicked, this, &CTableEditorDlg::AddNewRow);
    connect(delete_, &QPushButton::clicked, this, &CTableEditorDlg::DeleteSelectedRow);
    new_->setAutoDefault(false);
    delete_->setAutoDefault(false);

    auto* row = new QHBoxLayout;
    row->addWidget(new_);
    row->addWidget(delete_);
    row->addStretch(1);
    row->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint_);
    layout->addWidget(grid_, 1);
    layout->addLayout(row);
    resize(920, 460);

    grid_->SetTable(table, db);
    grid_->SetEditable(true);
}

QTable* CTableEditorDlg::Table() const {
    return grid_->Table();
}

void CTableEditorDlg::AddNewRow() {
    QTable* table = Table();
    if (!table || table->GetFieldCount() == 0)
        return;
    table->AddRecord(table->NewRecord());
    int last = table->GetRecordCount() - 1;
    table->SetText(0, last, "New entry");
    grid_->Refill();
    QModelIndex index = grid_->model()->index(last, 0);
    grid_->setCurrentIndex(index);
    grid_->scrollTo(index);
}

void CTableEditorDlg::DeleteSelectedRow() {
    QTable* table = Table();
    int row = grid_->FirstSelectedRow();
    if (!table || row < 0 || row >= table->GetRecordCount())
        return;
    // No confirmation, so the selection goes with the row: a second click
    // must not take the next one.
    table->DeleteRecord(row);
    grid_->Refill();
}

void CTableEditorDlg::DetachTable() {
    grid_->SetTable(nullptr, nullptr);
    close();
}

CTableEditorDlg* OpenTableEditor(const QString& hint, QTable* table, QDataBase* db, QWidget* parent,
                                 bool deleteOnClose) {
    auto* dialog = new CTableEditorDlg(hint, table, db, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose, deleteOnClose);
    dialog->show();
    return dialog;
}

} // namespace orvo
