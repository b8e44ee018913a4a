#include "settings/ui/CGeneralOptionsDlg.h"

#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvo {

namespace {

struct SwitchText {
    const char* key;
    const char* label;
};

// In the order the dialog shows them.
const SwitchText kSwitches[CGeneralOptionsDlg::kSwitchCount] = {
    {kBracketDirectoriesKey, "Enclose directories in brackets"},
    {kUseColorsKey, "Use colors when drawing files"},
    {kHideCommentFileKey,
     "Don't show the file dir_info.orb (there are comments, it's a good idea to NOT show it)"},
    {kShowTipsKey, "Show the tips of the day"},
    {kShowOnActionTipsKey, "Show the 'on action' tips"},
    {kAllProblemsAtStartKey, "All the problems at start, while any disk operation"},
    {kConvertDroppedImageKey, "Run comversion when image dropped"},
};

// The order in which OK writes the switches.
const int kStoreOrder[CGeneralOptionsDlg::kSwitchCount] = {0, 1, 2, 5, 3, 4, 6};

std::string Utf8(const QString& s) {
    QByteArray bytes = s.toUtf8();
    return std::string(bytes.constData(), bytes.size());
}

} // namespace

const std::array<const char*, CGeneralOptionsDlg::kSwitchCount>& CGeneralOptionsDlg::SwitchKeys() {
    static const std::array<const char*, kSwitchCount> keys = [] {
        std::array<const char*, kSwitchCount> k{};
        for (int i = 0; i < kSwitchCount; ++i)
            k[i] = kSwitches[i].key;
        return k;
    }();
    return keys;
}

CGeneralOptionsDlg::CGeneralOptionsDlg(const QString& programDirectory, QWidget* parent)
    : QDialog(parent), background_(new QLineEdit(this)), browse_(new QPushButton("...", this)),
      reset_(new QPushButton(tr("Reset"), this)), programDirectory_(programDirectory),
      chooser_(ChooseBackgroundImage) {
    setWindowTitle(tr("Orvo General options"));

    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < kSwitchCount; ++i) {
        switches_[i] = new QCheckBox(tr(kSwitches[i].label), this);
        layout->addWidget(switches_[i]);
    }

    auto* box = new QGroupBox(this);
    auto* boxLayout = new QVBoxLayout(box);
    auto* note = new QLabel(tr("Background image, leave it empty if you don't wanna it. You can "
                               "also drop an image into the desktop of Orvo."),
                            box);
    note->setWordWrap(true);
    boxLayout->addWidget(note);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(background_, 1);
    browse_->setFixedWidth(browse_->fontMetrics().horizontalAdvance("...") + 24);
    pathRow->addWidget(browse_);
    pathRow->addWidget(reset_);
    boxLayout->addLayout(pathRow);
    layout->addSpacing(6);
    layout->addWidget(box);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    for (QPushButton* b : {browse_, reset_})
        b->setAutoDefault(false);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse_, &QPushButton::clicked, this, &CGeneralOptionsDlg::Browse);
    connect(reset_, &QPushButton::clicked, this, [this] {
        QString dir = programDirectory_;
        if (!dir.endsWith('/'))
            dir += '/';
        background_->setText(dir + "images/bkgnd.jpg");
    });
}

void CGeneralOptionsDlg::LoadFrom(const QDataBase& db) {
    for (int i = 0; i < kSwitchCount; ++i)
        switches_[i]->setChecked(GetBoolOption(db, kSwitches[i].key));
    background_->setText(QString::fromUtf8(GetStringOption(db, kBackgroundImagePathKey)));
}

void CGeneralOptionsDlg::StoreTo(QDataBase& db) const {
    for (int i : kStoreOrder)
        SetBoolOption(db, kSwitches[i].key, switches_[i]->isChecked());
    SetStringOption(db, kBackgroundImagePathKey, Utf8(background_->text()));
}

void CGeneralOptionsDlg::Browse() {
    QString chosen = chooser_ ? chooser_(this, background_->text()) : QString();
    if (!chosen.isEmpty())
        background_->setText(chosen);
}

QString ChooseBackgroundImage(QWidget* parent, const QString& start) {
    return QFileDialog::getOpenFileName(
        parent, QObject::tr("Select the background image"), start,
        QObject::tr("Images (*.jpg *.jpeg *.tif *.tiff *.bmp *.gif *.png);;All Files (*)"));
}

} // namespace orvo
