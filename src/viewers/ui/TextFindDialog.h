#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;

namespace orvo {

// "Find": the text viewer's modeless search dialog. "Find next" stores
// the fields and asks the owner to search.
class TextFindDialog : public QDialog {
    Q_OBJECT
public:
    TextFindDialog(QWidget* owner, std::function<void()> findNext);

    QString SearchText() const;
    void SetSearchText(const QString& text);
    bool MatchCase() const;
    bool Wildcards() const;
    bool WholeWords() const;

    QComboBox* TextBox() const { return text_; }
    QCheckBox* MatchCaseBox() const { return matchCase_; }
    QCheckBox* WildcardBox() const { return wildcard_; }
    QCheckBox* WholeWordsBox() const { return wholeWords_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QComboBox* text_;
    QCheckBox* wholeWords_;
    QCheckBox* matchCase_;
    QCheckBox* wildcard_;
};

} // namespace orvo
