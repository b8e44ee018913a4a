#include "browse/ui/QuickSearchPopup.h"

#include "browse/BrowseNavigation.h"
#include "platform/ui/QtText.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace orvo {

QuickSearchPopup::QuickSearchPopup(std::vector<std::string> candidates, const QString& typed, QWidget* parent)
    : QDialog(parent), candidates_(std::move(candidates)) {
    setWindowTitle(QStringLiteral("Quick search"));
    edit_ = new QLineEdit(typed.toLower(), this);
    list_ = new QListWidget(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(edit_);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
    connect(edit_, &QLineEdit::textChanged, this, &QuickSearchPopup::Refill);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(260, 220);
    edit_->setFocus();
}

void QuickSearchPopup::Refill() {
    std::vector<std::string> matches = QuickSearchCandidates(candidates_, QToPath(edit_->text()));
    QStringList names;
    for (const std::string& m : matches)
        names << PathToQ(m);
    list_->clear();
    list_->addItems(names);
    emit MatchesChanged(names);
}

} // namespace orvo
