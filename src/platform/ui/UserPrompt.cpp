#include "platform/ui/UserPrompt.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace orvo {

namespace {

UserPrompt* g_installed = nullptr;

QMessageBox::StandardButtons ToStandard(UserPrompt::Buttons b) {
    switch (b) {
    case UserPrompt::Buttons::Ok: return QMessageBox::Ok;
    case UserPrompt::Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case UserPrompt::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case UserPrompt::Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case UserPrompt::Buttons::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case UserPrompt::Buttons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

UserPrompt::Answer FirstAnswer(UserPrompt::Buttons b) {
    switch (b) {
    case UserPrompt::Buttons::Ok:
    case UserPrompt::Buttons::OkCancel: return UserPrompt::Answer::Ok;
    case UserPrompt::Buttons::YesNo:
    case UserPrompt::Buttons::YesNoCancel: return UserPrompt::Answer::Yes;
    case UserPrompt::Buttons::AbortRetryIgnore: return UserPrompt::Answer::Abort;
    case UserPrompt::Buttons::RetryCancel: return UserPrompt::Answer::Retry;
    }
    return UserPrompt::Answer::Ok;
}

QString DefaultTitle(const QString& title) {
    return title.isEmpty() ? QStringLiteral("Orvo Browser") : title;
}

} // namespace

UserPrompt& UserPrompt::Instance() {
    static DialogPrompt dialogs;
    return g_installed ? *g_installed : dialogs;
}

void UserPrompt::SetInstance(UserPrompt* prompt) { g_installed = prompt; }

void UserPrompt::Message(QWidget* parent, const QString& text, Icon icon, const QString& title) {
    Instance().Ask(parent, title, text, Buttons::Ok, icon);
}

bool UserPrompt::AskYesNo(QWidget* parent, const QString& text, const QString& title) {
    return Instance().Ask(parent, title, text, Buttons::YesNo, Icon::Question) == Answer::Yes;
}

UserPrompt::Answer DialogPrompt::Ask(QWidget* parent, const QString& title, const QString& text,
                                     Buttons buttons, Icon icon) {
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::None: break;
    case Icon::Information: qicon = QMessageBox::Information; break;
    case Icon::Warning: qicon = QMessageBox::Warning; break;
    case Icon::Critical: qicon = QMessageBox::Critical; break;
    case Icon::Question: qicon = QMessageBox::Question; break;
    }
    QMessageBox box(qicon, DefaultTitle(title), text, ToStandard(buttons), parent);
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Abort: return Answer::Abort;
    case QMessageBox::Retry: return Answer::Retry;
    case QMessageBox::Ignore: return Answer::Ignore;
    default: return Answer::Cancel;
    }
}

std::optional<QString> DialogPrompt::AskText(QWidget* parent, const QString& title,
                                             const QString& label, const QString& initial) {
    bool ok = false;
    QString text = QInputDialog::getText(parent, DefaultTitle(title), label, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

UserPrompt::Answer ScriptedPrompt::Ask(QWidget*, const QString& title, const QString& text,
                                       Buttons buttons, Icon) {
    asked << text;
    titles << title;
    if (answers.empty())
        return FirstAnswer(buttons);
    Answer a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<QString> ScriptedPrompt::AskText(QWidget*, const QString& title, const QString& label,
                                               const QString& initial) {
    asked << label;
    titles << title;
    if (texts.empty())
        return initial;
    std::optional<QString> t = texts.front();
    texts.pop_front();
    return t;
}

} // namespace orvo
