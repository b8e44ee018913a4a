#include "comments/ui/CommentEditDialog.h"

#include "comments/CommentKeys.h"
#include "comments/PathComments.h"
#include "platform/FileStatus.h"
#include "platform/MountTable.h"
#include "platform/PathText.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace orvo {

namespace {
std::function<bool(CommentEditDialog&)>& TestRunner() {
    static std::function<bool(CommentEditDialog&)> runner;
    return runner;
}
} // namespace

void CommentEditDialog::SetTestRunner(std::function<bool(CommentEditDialog&)> runner) {
    TestRunner() = std::move(runner);
}

QString CommentEditDialog::HeadingFor(const std::string& path) {
    std::string stripped = StripTrailingSlash(path);
    QString name = QString::fromStdString(std::string(FileNameOf(stripped)));
    // A mount point plays the part of a drive.
    if (stripped == "/" || MountPointOf(stripped) == stripped)
        return QStringLiteral("Drive : ") + QString::fromStdString(stripped);
    if (IsDirectory(stripped))
        return QStringLiteral("Directory : ") + name;
    return QStringLiteral("File :") + name;
}

CommentEditDialog::CommentEditDialog(const std::string& path, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("File comment editing"));
    heading_ = new QLabel(HeadingFor(path), this);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    edit_ = new QPlainTextEdit(this);
    QString current = QString::fromStdString(GetComment(path));
    current.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    edit_->setPlainText(current);
    edit_->installEventFilter(this);
    auto* hint = new QLabel(
        QStringLiteral("Enter a new file or directory comment. Use Enter+Ctrl to make a new line."),
        this);
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(edit_, 1);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    edit_->setFocus();
    edit_->moveCursor(QTextCursor::End);
    resize(460, 240);
}

QString CommentEditDialog::Comment() const {
    // Lines are stored as the comment files of other machines hold them.
    QString text = edit_->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

void CommentEditDialog::SetComment(const QString& text) {
    edit_->setPlainText(text);
}
QString CommentEditDialog::Heading() const {
    return heading_->text();
}

bool CommentEditDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ControlModifier) {
                edit_->insertPlainText(QStringLiteral("\n"));
            } else {
                accept();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::string CommentEditDialog::EditComment(const std::string& path, QWidget* parent) {
    const std::string stripped = StripTrailingSlash(path);
    const std::string_view name = FileNameOf(stripped);
    if (!IsDirectory(path) && !NameCanHaveComment(name)) {
        UserPrompt::Message(parent,
                            QStringLiteral("An entry named %1 cannot have a comment: its name is "
                                           "the key of the directory's own comment.")
                                .arg(QString::fromStdString(std::string(name))),
                            UserPrompt::Icon::Warning);
        return {};
    }
    CommentEditDialog dialog(path, parent);
    bool ok = TestRunner() ? TestRunner()(dialog) : dialog.exec() == QDialog::Accepted;
    if (ok && !orvo::SetComment(path, dialog.Comment().toStdString()))
        UserPrompt::Message(parent,
                            QStringLiteral("The comment of %1 could not be saved: %2.")
                                .arg(PathToQ(stripped), PathToQ(CommentNotSavedReason(path))),
                            UserPrompt::Icon::Warning);
    return GetComment(path);
}

} // namespace orvo
