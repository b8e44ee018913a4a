#include "fileops/ui/CNewDirectoryDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orvo {

namespace {

std::function<void(CNewDirectoryDlg&)>& TestRunner() {
    static std::function<void(CNewDirectoryDlg&)> runner;
    return runner;
}

} // namespace

void CNewDirectoryDlg::SetTestRunner(std::function<void(CNewDirectoryDlg&)> runner) {
    TestRunner() = std::move(runner);
}

QString CNewDirectoryDlg::LabelFor(Form form) {
    switch (form) {
    case Form::DirectoryCopy:
        return QStringLiteral("New Directory, to which selected files will be copied...");
    case Form::DirectoryMove:
        return QStringLiteral("New Directory, to which selected files will be moved...");
    case Form::File:
        return QStringLiteral("New file");
    case Form::Directory:
        break;
    }
    return QStringLiteral("New Directory");
}

CNewDirectoryDlg::CNewDirectoryDlg(Form form, const QString& name,
                                   std::vector<FileTemplate> templates, QWidget* parent)
    : QDialog(parent), form_(form), templates_(std::move(templates)) {
    const bool file = form == Form::File;
    setWindowTitle(file ? QStringLiteral("Creating a new file")
                        : QStringLiteral("Create new directory"));
    label_ = new QLabel(LabelFor(form), this);
    QFont bold = label_->font();
    bold.setBold(true);
    label_->setFont(bold);
    name_ = new QLineEdit(name, this);
    name_->selectAll();
    name_->setMinimumWidth(360);
    comment_ = new QLineEdit(this);
    multiple_ = new QCheckBox(
        QStringLiteral("&These are multiple directories\\files and comments separated with ;"),
        this);
    type_ = new QComboBox(this);
    for (const FileTemplate& t : templates_)
        type_->addItem(QString::fromStdString(t.fileName));
    type_->setCurrentIndex(DefaultTemplateIndex(templates_));
    copy_ = new QCheckBox(QStringLiteral("&Copy selected files to this directory (CTRL+F7)"), this);
    move_ =
        new QCheckBox(QStringLiteral("&Move selected files to this directory (SHIFT+F7)"), this);
    copy_->setChecked(form == Form::DirectoryCopy);
    move_->setChecked(form == Form::DirectoryMove);
    // Moving takes the files away; a copy after it would find nothing.
    connect(copy_, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            move_->setChecked(false);
    });
    connect(move_, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            copy_->setChecked(false);
    });

    auto* fields = new QFormLayout;
    auto* nameLabel = new QLabel(QStringLiteral("&Name"), this);
    nameLabel->setBuddy(name_);
    fields->addRow(nameLabel, name_);
    auto* commentLabel = new QLabel(QStringLiteral("Comm&ent"), this);
    commentLabel->setBuddy(comment_);
    fields->addRow(commentLabel, comment_);
    auto* typeLabel = new QLabel(QStringLiteral("T&ype"), this);
    typeLabel->setBuddy(type_);
    fields->addRow(typeLabel, type_);
    typeLabel->setVisible(file);
    type_->setVisible(file);
    copy_->setVisible(!file);
    move_->setVisible(!file);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addLayout(fields);
    layout->addWidget(multiple_);
    layout->addWidget(copy_);
    layout->addWidget(move_);
    layout->addWidget(buttons);
    name_->setFocus();
}

bool CNewDirectoryDlg::Run() {
    if (TestRunner()) {
        TestRunner()(*this);
        return result() == QDialog::Accepted;
    }
    return exec() == QDialog::Accepted;
}

std::vector<std::string> CNewDirectoryDlg::Names() const {
    return SplitEntryNames(name_->text().toStdString(), multiple_->isChecked());
}

std::vector<std::string> CNewDirectoryDlg::Comments() const {
    return SplitEntryNames(comment_->text().toStdString(), multiple_->isChecked());
}

const FileTemplate* CNewDirectoryDlg::ChosenTemplate() const {
    int i = type_->currentIndex();
    return i >= 0 && i < static_cast<int>(templates_.size()) ? &templates_[static_cast<size_t>(i)]
                                                             : nullptr;
}

} // namespace orvo
