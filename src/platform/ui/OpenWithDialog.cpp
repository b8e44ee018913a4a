#include "platform/ui/OpenWithDialog.h"

#include "platform/DesktopExec.h"
#include "platform/PathText.h"
#include "platform/ui/OpenWith.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace orvo {

namespace {

std::function<void(OpenWithDialog&)>& TestRunner() {
    static std::function<void(OpenWithDialog&)> runner;
    return runner;
}

constexpr int kIndexRole = Qt::UserRole;

} // namespace

void OpenWithDialog::SetTestRunner(std::function<void(OpenWithDialog&)> runner) {
    TestRunner() = std::move(runner);
}

OpenWithDialog::OpenWithDialog(const QString& fileName, const QString& typeName, QWidget* parent)
    : QDialog(parent), apps_(InstalledApplications()), filter_(new QLineEdit(this)),
      list_(new QListWidget(this)), command_(new QLineEdit(this)),
      remember_(new QCheckBox(tr("&Remember this application for %1 files").arg(typeName), this)) {
    setWindowTitle(tr("Open with"));
    auto* label = new QLabel(tr("Choose the application to open \"%1\" with:").arg(fileName), this);
    label->setWordWrap(true);
    filter_->setPlaceholderText(tr("Type to filter the applications"));
    filter_->setClearButtonEnabled(true);
    filter_->installEventFilter(this);
    for (size_t i = 0; i < apps_.size(); ++i) {
        auto* item = new QListWidgetItem(ApplicationIcon(apps_[i].icon), ToQ(apps_[i].name), list_);
        item->setData(kIndexRole, static_cast<int>(i));
        item->setToolTip(ToQ(apps_[i].exec));
    }
    list_->setIconSize(QSize(24, 24));
    list_->setCurrentRow(-1);
    command_->setPlaceholderText(tr("program --option (the file goes at the end, or at %f)"));
    remember_->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &OpenWithDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OpenWithDialog::reject);
    connect(filter_, &QLineEdit::textChanged, this, &OpenWithDialog::Filter);
    connect(list_, &QListWidget::itemActivated, this, &OpenWithDialog::accept);
    // A typed command is the choice while it is there.
    connect(command_, &QLineEdit::textChanged, this,
            [this](const QString& text) { list_->setEnabled(text.trimmed().isEmpty()); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(filter_);
    layout->addWidget(list_, 1);
    auto* form = new QFormLayout;
    form->addRow(tr("Or a &command:"), command_);
    layout->addLayout(form);
    layout->addWidget(remember_);
    layout->addWidget(buttons);
    resize(460, 520);
    filter_->setFocus();
}

bool OpenWithDialog::Run() {
    if (TestRunner()) {
        TestRunner()(*this);
        return result() == QDialog::Accepted;
    }
    return exec() == QDialog::Accepted;
}

void OpenWithDialog::Filter(const QString& text) {
    QListWidgetItem* first = nullptr;
    for (int row = 0; row < list_->count(); ++row) {
        QListWidgetItem* item = list_->item(row);
        const DesktopApplication& app = apps_[item->data(kIndexRole).toInt()];
        // The program's own name finds an entry named for what it does.
        const auto argv = ExpandExecForFiles(app.exec, {});
        const QString program = argv ? PathToQ(FileNameOf(argv->front().front())) : QString();
        const bool shown = item->text().contains(text, Qt::CaseInsensitive) ||
                           program.contains(text, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && !first)
            first = item;
    }
    if (!list_->currentItem() || list_->currentItem()->isHidden())
        list_->setCurrentItem(first);
}

bool OpenWithDialog::eventFilter(QObject* watched, QEvent* event) {
    // The arrows in the filter box move through the list the box filters.
    if (watched == filter_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
            key == Qt::Key_PageDown) {
            QCoreApplication::sendEvent(list_, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void OpenWithDialog::accept() {
    const std::string command = command_->text().trimmed().toStdString();
    if (!command.empty()) {
        const std::string problem = CommandProblem(command);
        if (!problem.empty()) {
            UserPrompt::Message(this, ToQ(problem), UserPrompt::Icon::Warning);
            return;
        }
        chosen_ = ApplicationForCommand(command);
    } else if (QListWidgetItem* item = list_->currentItem(); item && !item->isHidden()) {
        chosen_ = apps_[item->data(kIndexRole).toInt()];
    } else {
        UserPrompt::Message(this, tr("Choose an application or type a command."),
                            UserPrompt::Icon::Information);
        return;
    }
    QDialog::accept();
}

} // namespace orvo
