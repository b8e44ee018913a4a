#pragma once

#include "store/QDataBase.h"
#include "store/QTable.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace orvo {

class CTableGrid;

// The "Options" dialog: a hint, the grid over one table, "New" and
// "Delete". Edits go into the table as they are made; "OK" and "Cancel"
// only close the dialog. The table and database are not owned.
class CTableEditorDlg : public QDialog {
    Q_OBJECT
public:
    CTableEditorDlg(const QString& hint, QTable* table, QDataBase* db, QWidget* parent = nullptr);

    CTableGrid* Grid() const { return grid_; }
    QPushButton* NewButton() const { return new_; }
    QPushButton* DeleteButton() const { return delete_; }
    QTable* Table() const;

    // Appends a default row whose first cell reads "New entry", and shows it.
    void AddNewRow();
    // Removes the first selected row; nothing without a selection.
    void DeleteSelectedRow();

    // Forgets the table (it is about to go away) and closes the dialog.
    void DetachTable();

private:
    CTableGrid* grid_;
    QLabel* hint_;
    QPushButton* new_;
    QPushButton* delete_;
};

// Opens the table editor without a modal loop and returns it. With
// deleteOnClose the dialog frees itself when it closes.
CTableEditorDlg* OpenTableEditor(const QString& hint, QTable* table, QDataBase* db,
                                 QWidget* parent = nullptr, bool deleteOnClose = true);

} // namespace orvo
