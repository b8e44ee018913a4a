#include "viewers/ui/TextFindDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace orvo {

TextFindDialog::TextFindDialog(QWidget* owner, std::function<void()> findNext)
    : QDialog(owner, Qt::Tool) {
    setWindowTitle(QStringLiteral("Find"));
    text_ = new QComboBox(this);
    text_->setEditable(true);
    text_->setInsertPolicy(QComboBox::InsertAtTop);
    text_->setMinimumWidth(260);
    wholeWords_ = new QCheckBox(QStringLiteral("Whole words only"), this);
    matchCase_ = new QCheckBox(QStringLiteral("Match case"), this);
    wildcard_ = new QCheckBox(QStringLiteral("Regular Expression"), this);
    wildcard_->setToolTip(QStringLiteral("* any characters, ? one character, [a-z] one of a set"));
    auto* next = new QPushButton(QStringLiteral("Find next"), this);
    next->setDefault(true);
    connect(next, &QPushButton::clicked, this, [this, findNext] {
        // Remembered in the box's list for the next search.
        const QString text = SearchText();
        if (!text.isEmpty() && text_->findText(text) < 0)
            text_->insertItem(0, text);
        findNext();
    });
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Find what:"), this), 0, 0);
    layout->addWidget(text_, 0, 1);
    layout->addWidget(next, 0, 2);
    layout->addWidget(wholeWords_, 1, 1);
    layout->addWidget(matchCase_, 2, 1);
    layout->addWidget(wildcard_, 3, 1);
}

QString TextFindDialog::SearchText() const {
    return text_->currentText();
}
void TextFindDialog::SetSearchText(const QString& text) {
    text_->setEditText(text);
}
bool TextFindDialog::MatchCase() const {
    return matchCase_->isChecked();
}
bool TextFindDialog::Wildcards() const {
    return wildcard_->isChecked();
}
bool TextFindDialog::WholeWords() const {
    return wholeWords_->isChecked();
}

void TextFindDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    text_->setFocus();
    text_->lineEdit()->selectAll();
}

} // namespace orvo
