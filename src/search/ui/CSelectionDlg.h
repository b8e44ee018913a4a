#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QPushButton;

namespace orvo {

// The "Selection" dialog: include and exclude pattern lists for selecting
// or unselecting many entries of a browse window at once, with ready-made
// patterns and the pattern of the entries selected when it opened.
class CSelectionDlg : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Select, Unselect };

    // selectionPattern: made from the selected entries; labels and patterns:
    // the ready-made lists. With likeSelection (Shift held) the matching
    // "Like selection" button is applied at once.
    CSelectionDlg(Mode mode, const QString& selectionPattern, bool likeSelection,
                  const QStringList& labels, const QStringList& patterns,
                  QWidget* parent = nullptr);

    QString Include() const;
    QString Exclude() const;

    QComboBox* IncludeBox() const { return include_; }
    QComboBox* ExcludeBox() const { return exclude_; }
    QComboBox* IncludeChoices() const { return includeChoices_; }
    QComboBox* ExcludeChoices() const { return excludeChoices_; }
    QPushButton* LikeIncludeButton() const { return likeInclude_; }
    QPushButton* LikeExcludeButton() const { return likeExclude_; }

private:
    void Choose(QComboBox* choices, QComboBox* target, int index);

    QString selectionPattern_;
    QComboBox* include_;
    QComboBox* exclude_;
    QComboBox* includeChoices_;
    QComboBox* excludeChoices_;
    QPushButton* likeInclude_;
    QPushButton* likeExclude_;
};

} // namespace orvo
