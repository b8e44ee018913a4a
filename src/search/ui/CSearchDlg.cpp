#include "search/ui/CSearchDlg.h"

#include "search/ui/SearchCriteriaForm.h"
#include "search/ui/SearchResultsPane.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaMethod>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvo {

CSearchDlg::CSearchDlg(const SearchWindowSetup& setup, QWidget* parent)
    : QDialog(parent, Qt::Window), listWhenDone_(setup.listWhenDone), hits_(*this), run_(*this),
      keys_(*this) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Search"));
    setSizeGripEnabled(true);
    BuildControls(setup);
    resize(920, 720);

    connect(form_->StartButton(), &QPushButton::clicked, &run_, &SearchRunControl::StartOrStop);
    connect(form_->CloseButton(), &QPushButton::clicked, this, &QDialog::close);
    connect(&hits_, &SearchHitCommands::GoToFileRequested, this, &CSearchDlg::GoToFileRequested);
    connect(&hits_, &SearchHitCommands::MakeListWindowRequested, this,
            &CSearchDlg::MakeListWindowRequested);
    connect(&hits_, &SearchHitCommands::QuickViewRequested, this, &CSearchDlg::QuickViewRequested);
    connect(&run_, &SearchRunControl::Finished, this, [this] {
        emit SearchFinished();
        if (listWhenDone_) {
            listWhenDone_ = false;
            hits_.CreateList();
            close();
        }
    });
    form_->NamesBox()->setFocus();

    // The path box's quick-search form searches at once.
    if (!setup.names.isEmpty() || setup.searchText)
        QMetaObject::invokeMethod(&run_, &SearchRunControl::StartOrStop, Qt::QueuedConnection);
}

void CSearchDlg::BuildControls(const SearchWindowSetup& setup) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);
    form_ = new SearchCriteriaForm(setup, this);
    layout->addWidget(form_);

    searchingLine_ = new QLabel(this);
    searchingLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    searchingLine_->setMinimumWidth(100);
    searchingLine_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    countsLine_ = new QLabel(this);
    layout->addWidget(searchingLine_);
    layout->addWidget(countsLine_);

    results_ = new SearchResultsPane(hits_, this);
    layout->addWidget(results_, 1);
    results_->DetailsList()->installEventFilter(&keys_);
    results_->IconsList()->installEventFilter(&keys_);
}

bool CSearchDlg::OffersQuickView() const {
    return isSignalConnected(QMetaMethod::fromSignal(&CSearchDlg::QuickViewRequested));
}

bool CSearchDlg::event(QEvent* event) {
    // The main frame's shortcuts reach every window of the program; in
    // this window these keys are its own.
    if (event->type() == QEvent::ShortcutOverride &&
        keys_.HandleWindowKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QDialog::event(event);
}

void CSearchDlg::keyPressEvent(QKeyEvent* event) {
    if (run_.IsSearching()) {
        // Keys reach the search between its entries: Escape stops it (and
        // does not close the window), Backspace skips a directory.
        if (event->key() == Qt::Key_Escape) {
            run_.PressKey(SearchControl::kEscape);
            return;
        }
        if (event->key() == Qt::Key_Backspace) {
            run_.PressKey(SearchControl::kBackspace);
            return;
        }
    }
    if (keys_.HandleWindowKey(event))
        return;
    QDialog::keyPressEvent(event);
}

void CSearchDlg::reject() {
    run_.PressKey(SearchControl::kEscape);
    QDialog::reject();
}

} // namespace orvo
