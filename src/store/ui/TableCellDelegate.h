#pragma once

#include <QStyledItemDelegate>

class QComboBox;

namespace orvo {

class QFieldInfo;

// Makes the cell editors of the table grid: a drop-down of choices for a
// reference column, an edit box for numbers and texts, a TRUE/FALSE list
// for bools, date and/or time pickers for dates. Every change the user
// makes is written into the table at once, so the table is always up to
// date, however the editor ends.
class TableCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    // Columns after the first keep this gap at the left of their editor.
    static constexpr int kEditorIndent = 5;

private:
    void Changed(QWidget* editor) const;
    QComboBox* MakeChoiceList(QWidget* parent, const QStringList& choices, int usable,
                              const QString& current) const;
};

} // namespace orvo
