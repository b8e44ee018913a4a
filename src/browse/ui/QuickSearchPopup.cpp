#include "browse/ui/QuickSearchPopup.h"

#include "browse/BrowseNavigation.h"
#include "platform/ui/QtText.h"
#include "store/Collation.h"

#include <QDialogButtonBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace orvo {

QuickSearchPopup::QuickSearchPopup(std::vector<std::string> candidates, const QString& typed,
                                   QWidget* parent)
    : QDialog(parent, Qt::Popup), candidates_(std::move(candidates)) {
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
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (QListWidgetItem* item = list_->item(row))
            emit CandidatePicked(item->data(Qt::UserRole).toInt());
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    edit_->installEventFilter(this);
    resize(260, 220);
    edit_->setFocus();
}

int QuickSearchPopup::Run() {
    // A popup that is not modal: keys typed on before the window system has
    // given it the focus arrive at the browse window, and only a popup that
    // leaves it unblocked gets them passed on; a modal dialog would lose them.
    QEventLoop loop;
    loop_ = &loop;
    setResult(QDialog::Rejected);
    show();
    if (isVisible())
        loop.exec();
    loop_ = nullptr;
    return result();
}

void QuickSearchPopup::setVisible(bool visible) {
    QDialog::setVisible(visible);
    if (!visible && loop_)
        loop_->quit();
    // Showing gives the edit the focus as a Tab would, selecting its text:
    // the next key typed would replace the letter that opened the popup.
    if (visible) {
        edit_->deselect();
        edit_->end(false);
    }
}

bool QuickSearchPopup::eventFilter(QObject* watched, QEvent* event) {
    // Up and Down walk the matches while typing goes on in the edit.
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Down || key == Qt::Key_Up) && list_->count() > 0) {
            const int step = key == Qt::Key_Down ? 1 : -1;
            list_->setCurrentRow(std::clamp(list_->currentRow() + step, 0, list_->count() - 1));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void QuickSearchPopup::Refill() {
    const std::vector<size_t> matches = QuickSearchCandidates(candidates_, QToPath(edit_->text()));
    list_->blockSignals(true);
    list_->clear();
    for (size_t i : matches) {
        auto* item = new QListWidgetItem(PathToQ(LowerCaseText(candidates_[i])), list_);
        item->setData(Qt::UserRole, static_cast<int>(i));
    }
    if (!matches.empty())
        list_->setCurrentRow(0);
    list_->blockSignals(false);
    if (!matches.empty())
        emit CandidatePicked(static_cast<int>(matches.front()));
}

} // namespace orvo
