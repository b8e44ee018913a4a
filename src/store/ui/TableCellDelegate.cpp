#include "store/ui/TableCellDelegate.h"

#include "store/ui/DateTimeCellEditor.h"
#include "store/ui/TableGridModel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStandardItemModel>
#include <algorithm>

namespace orvo {

namespace {

// Set once the user changed the editor: only then is its content written
// back, so opening and leaving an editor never alters a cell.
constexpr const char* kTouched = "orvoTouched";

const TableGridModel* GridModel(const QModelIndex& index) {
    return qobject_cast<const TableGridModel*>(index.model());
}

// Choices of a reference column, with how many of them (the last ones) are
// real values rather than error entries.
QStringList ReferenceList(const QFieldInfo& column, const QDataBase* db, int& usable) {
    QStringList list;
    for (const std::string& choice : QTable::ReferenceChoices(column, db))
        list << QString::fromUtf8(choice);
    const QTable* table = db ? db->GetTable(column.GetRefTable()) : nullptr;
    bool valid = table && table->FieldIndex(column.GetRefField()) >= 0;
    usable = valid ? table->GetRecordCount() : 0;
    return list;
}

} // namespace

QComboBox* TableCellDelegate::MakeChoiceList(QWidget* parent, const QStringList& choices,
                                             int usable, const QString& current) const {
    auto* combo = new QComboBox(parent);
    combo->addItems(choices);
    // Error entries are shown so the user sees what is wrong, but cannot be
    // picked: they would be written into the cell as its value.
    if (auto* items = qobject_cast<QStandardItemModel*>(combo->model())) {
        for (int i = 0; i < choices.size() - usable; ++i)
            items->item(i)->setFlags(Qt::NoItemFlags);
    }
    int preselect = -1;
    for (int i = choices.size() - usable; i < choices.size(); ++i) {
        if (choices[i].startsWith(current, Qt::CaseInsensitive)) {
            preselect = i;
            break;
        }
    }
    combo->setCurrentIndex(preselect);
    combo->setMaxVisibleItems(12);
    connect(combo, &QComboBox::activated, this, [this, combo] { Changed(combo); });
    return combo;
}

QWidget* TableCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
    const TableGridModel* model = GridModel(index);
    const QFieldInfo* column = model ? model->Column(index.column()) : nullptr;
    const QValue* cell = model ? model->Cell(index) : nullptr;
    if (!column || !cell || !HasCellEditor(*column))
        return nullptr;
    QString text = QString::fromUtf8(cell->ToText());

    QWidget* editor = nullptr;
    if (column->IsReference()) {
        int usable = 0;
        QStringList choices = ReferenceList(*column, model->Database(), usable);
        editor = MakeChoiceList(parent, choices, usable, text);
    } else if (column->GetType() == QVT_BOOL) {
        editor = MakeChoiceList(parent, {"TRUE", "FALSE"}, 2, text);
    } else if (column->GetType() == QVT_DATE) {
        bool date = column->GetFlags() & QFF_SHOW_DATE;
        bool time = column->GetFlags() & QFF_SHOW_TIME;
        if (!date && !time)
            date = time = true;
        auto* picker = new DateTimeCellEditor(date, time, parent);
        picker->SetOleDate(cell->Type() == QVT_DATE ? cell->AsDouble() : 0.0);
        connect(picker, &DateTimeCellEditor::Edited, this, [this, picker] { Changed(picker); });
        editor = picker;
    } else {
        auto* edit = new QLineEdit(text, parent);
        edit->setFrame(false);
        connect(edit, &QLineEdit::textEdited, this, [this, edit] { Changed(edit); });
        editor = edit;
    }
    editor->setFont(option.font);
    return editor;
}

void TableCellDelegate::Changed(QWidget* editor) const {
    editor->setProperty(kTouched, true);
    emit const_cast<TableCellDelegate*>(this)->commitData(editor);
}

void TableCellDelegate::setEditorData(QWidget*, const QModelIndex&) const {
    // The editor is filled when it is made. Refilling it from the cell after
    // each write would fight the user: "0." typed into a number cell reads
    // back as "0".
}

void TableCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                     const QModelIndex& index) const {
    auto* grid = qobject_cast<TableGridModel*>(model);
    if (!grid || !editor->property(kTouched).toBool())
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        grid->SetCellText(index, edit->text());
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->currentIndex() >= 0)
            grid->SetCellText(index, combo->currentText());
    } else if (auto* picker = qobject_cast<DateTimeCellEditor*>(editor)) {
        grid->SetCell(index, QValue(picker->OleDate(), QVT_DATE));
    }
}

void TableCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                             const QModelIndex& index) const {
    QRect rect = option.rect;
    if (index.column() > 0)
        rect.setLeft(rect.left() + kEditorIndent);
    // A list or a picker cut to a narrow column ("TRUE") would hide its own
    // text: it may cover the next column while it is open.
    if (!qobject_cast<QLineEdit*>(editor))
        rect.setWidth(std::max(rect.width(), editor->sizeHint().width()));
    editor->setGeometry(rect);
}

} // namespace orvo
