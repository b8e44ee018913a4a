#include "workspace/ui/WindowChooserDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvo {

namespace {

QString DefaultPicker(QWidget* parent, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, QObject::tr("Choose a directory"), start);
}

QString (*g_picker)(QWidget*, const QString&) = &DefaultPicker;

std::function<int(WindowChooserDialog&)>& TestRunner() {
    static std::function<int(WindowChooserDialog&)> runner;
    return runner;
}

} // namespace

void WindowChooserDialog::SetDirectoryPicker(QString (*picker)(QWidget*, const QString&)) {
    g_picker = picker ? picker : &DefaultPicker;
}

int WindowChooserDialog::Run() { return TestRunner() ? TestRunner()(*this) : exec(); }

void WindowChooserDialog::SetTestRunner(std::function<int(WindowChooserDialog&)> runner) {
    TestRunner() = std::move(runner);
}

QString WindowChooserDialog::EntryText(const QString& name, const QString& path) {
    return name + QStringLiteral("   (") + path + QStringLiteral(")");
}

WindowChooserDialog::WindowChooserDialog(const QStringList& names, const QStringList& paths,
                                         QWidget* parent)
    : QDialog(parent), paths_(paths) {
    setWindowTitle(tr("Choose window"));
    list_ = new QListWidget(this);
    combo_ = new QComboBox(this);
    combo_->addItem(QStringLiteral("->Choose"));
    for (int i = 0; i < names.size() && i < paths.size(); ++i) {
        list_->addItem(EntryText(names[i], paths[i]));
        combo_->addItem(EntryText(names[i], paths[i]));
    }
    if (list_->count() > 0)
        list_->setCurrentRow(0);
    auto* browse = new QPushButton(QStringLiteral("..."), this);
    browse->setToolTip(tr("Choose any directory"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* top = new QHBoxLayout;
    top->addWidget(combo_, 1);
    top->addWidget(browse);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);

    connect(combo_, &QComboBox::activated, this, [this](int index) {
        if (index > 0)
            list_->setCurrentRow(index - 1);
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        chosen_ = list_->currentRow();
        accept();
    });
    connect(browse, &QPushButton::clicked, this, &WindowChooserDialog::PickDirectory);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        chosen_ = list_->currentRow();
        if (chosen_ >= 0)
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(520, 300);
}

void WindowChooserDialog::PickDirectory() {
    QString start = list_->currentRow() >= 0 ? paths_.value(list_->currentRow()) : QString();
    QString dir = g_picker(this, start);
    if (dir.isEmpty())
        return;
    pickedDirectory_ = dir;
    chosen_ = -1;
    accept();
}

QString WindowChooserDialog::ChosenPath() const {
    if (chosen_ >= 0)
        return paths_.value(chosen_);
    return pickedDirectory_;
}

} // namespace orvo
