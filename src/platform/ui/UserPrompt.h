#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

class QWidget;

namespace orvo {

// Every message box and input box of the program goes through this one
// service, so a test can install a scripted prompt, answer "Deleting" with
// Yes, and read back what the program asked.
class UserPrompt {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, AbortRetryIgnore, RetryCancel };
    enum class Icon { None, Information, Warning, Critical, Question };
    enum class Answer { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

    virtual ~UserPrompt() = default;

    virtual Answer Ask(QWidget* parent, const QString& title, const QString& text, Buttons buttons,
                       Icon icon) = 0;
    // A one-line input box; nullopt when the user cancels.
    virtual std::optional<QString> AskText(QWidget* parent, const QString& title,
                                           const QString& label, const QString& initial) = 0;

    // The prompt in force: a dialog-showing one unless a test installed its own.
    static UserPrompt& Instance();
    // Installs a prompt (not owned); nullptr restores the dialogs.
    static void SetInstance(UserPrompt* prompt);

    // Shortcuts for the common shapes.
    static void Message(QWidget* parent, const QString& text, Icon icon = Icon::Information,
                        const QString& title = QString());
    static bool AskYesNo(QWidget* parent, const QString& text, const QString& title = QString());
};

// Shows real QMessageBox / QInputDialog windows.
class DialogPrompt : public UserPrompt {
public:
    Answer Ask(QWidget* parent, const QString& title, const QString& text, Buttons buttons,
               Icon icon) override;
    std::optional<QString> AskText(QWidget* parent, const QString& title, const QString& label,
                                   const QString& initial) override;
};

// Answers from a queue and records every question, for tests. With the
// queue empty it gives the first button's answer (Ok, Yes, Abort, Retry)
// and, for input boxes, the initial text.
class ScriptedPrompt : public UserPrompt {
public:
    ScriptedPrompt() { SetInstance(this); }
    ~ScriptedPrompt() override { SetInstance(nullptr); }

    std::deque<Answer> answers;
    std::deque<std::optional<QString>> texts;
    QStringList asked;   // the text of every message and input label, in order
    QStringList titles;  // the title of each, in the same order

    Answer Ask(QWidget* parent, const QString& title, const QString& text, Buttons buttons,
               Icon icon) override;
    std::optional<QString> AskText(QWidget* parent, const QString& title, const QString& label,
                                   const QString& initial) override;
};

} // namespace orvo
