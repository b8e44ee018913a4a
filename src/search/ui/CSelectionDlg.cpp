#include "search/ui/CSelectionDlg.h"

#include "platform/ui/QtText.h"
#include "search/SelectionPatterns.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvo {

namespace {

QComboBox* PatternCombo(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(28);
    return box;
}

QComboBox* ChoiceCombo(const QStringList& labels, const QStringList& patterns, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->addItem(QObject::tr("Ready-made patterns..."));
    for (int i = 0; i < labels.size(); ++i)
        box->addItem(labels[i], patterns.value(i));
    box->setToolTip(QObject::tr("Ctrl appends the pattern with \";\""));
    return box;
}

} // namespace

CSelectionDlg::CSelectionDlg(Mode mode, const QString& selectionPattern, bool likeSelection,
                             const QStringList& labels, const QStringList& patterns,
                             QWidget* parent)
    : QDialog(parent), selectionPattern_(selectionPattern) {
    setWindowTitle(tr("Selection"));
    include_ = PatternCombo(this);
    exclude_ = PatternCombo(this);
    includeChoices_ = ChoiceCombo(labels, patterns, this);
    excludeChoices_ = ChoiceCombo(labels, patterns, this);
    likeInclude_ = new QPushButton(tr("Like selection (Shift+Numpad+)"), this);
    likeExclude_ = new QPushButton(tr("Like selection (Shift+Numpad-)"), this);
    for (QPushButton* b : {likeInclude_, likeExclude_})
        b->setAutoDefault(false);

    auto* includeLabel = new QLabel(tr("Inlcude files :"), this);
    includeLabel->setBuddy(include_);
    auto* excludeLabel = new QLabel(tr("Exclude"), this);
    excludeLabel->setBuddy(exclude_);
    auto* hint = new QLabel(tr("Set files to (un)select. e.g. *.bmp, or *[0-9]*.tif - ,only having "
                               "numbers, see help for more"),
                            this);
    hint->setWordWrap(true);
    auto* grid = new QGridLayout;
    grid->addWidget(includeLabel, 0, 0);
    grid->addWidget(include_, 0, 1);
    grid->addWidget(includeChoices_, 0, 2);
    grid->addWidget(likeInclude_, 1, 1, 1, 2, Qt::AlignRight);
    grid->addWidget(excludeLabel, 2, 0);
    grid->addWidget(exclude_, 2, 1);
    grid->addWidget(excludeChoices_, 2, 2);
    grid->addWidget(likeExclude_, 3, 1, 1, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(likeInclude_, &QPushButton::clicked, this,
            [this] { include_->setEditText(selectionPattern_); });
    connect(likeExclude_, &QPushButton::clicked, this,
            [this] { exclude_->setEditText(selectionPattern_); });
    connect(includeChoices_, &QComboBox::activated, this,
            [this](int index) { Choose(includeChoices_, include_, index); });
    connect(excludeChoices_, &QComboBox::activated, this,
            [this](int index) { Choose(excludeChoices_, exclude_, index); });

    QComboBox* focus = mode == Mode::Select ? include_ : exclude_;
    focus->setFocus();
    if (likeSelection)
        (mode == Mode::Select ? likeInclude_ : likeExclude_)->click();
}

QString CSelectionDlg::Include() const {
    return include_->currentText();
}
QString CSelectionDlg::Exclude() const {
    return exclude_->currentText();
}

void CSelectionDlg::Choose(QComboBox* choices, QComboBox* target, int index) {
    QString pattern = choices->itemData(index).toString();
    choices->setCurrentIndex(0);
    if (pattern.isEmpty())
        return;
    bool append = QGuiApplication::keyboardModifiers() & Qt::ControlModifier;
    target->setEditText(
        PathToQ(ChoosePattern(QToPath(target->currentText()), QToPath(pattern), append)));
    target->setFocus();
}

} // namespace orvo
