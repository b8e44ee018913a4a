#include "fileops/ui/NewEntryCommands.h"

#include "fileops/FileOperationRequest.h"
#include "fileops/TreeMerge.h"
#include "fileops/ui/FileOperationService.h"
#include "platform/PathText.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QStringList>
#include <optional>

namespace orvo {

namespace {

void Report(QWidget* parent, const std::vector<std::string>& messages) {
    if (messages.empty())
        return;
    QStringList lines;
    for (const std::string& m : messages)
        lines << ToQ(m);
    UserPrompt::Message(parent, lines.join(QLatin1Char('\n')), UserPrompt::Icon::Warning);
}

// Entries already in the target directories: replaced only when the user
// says so. nullopt when the user stops the transfer.
std::optional<bool> ReplaceExisting(QWidget* parent, const std::vector<std::string>& existing) {
    if (existing.empty())
        return false;
    constexpr size_t kShown = 10;
    QStringList lines;
    for (size_t i = 0; i < existing.size() && i < kShown; ++i)
        lines << ToQ(existing[i]);
    if (existing.size() > kShown)
        lines << QStringLiteral("... and %1 more").arg(existing.size() - kShown);
    UserPrompt::Answer answer = UserPrompt::Instance().Ask(
        parent, QString(),
        QStringLiteral("These entries exist already:\n%1\n\nDo you want to replace them ? "
                       "(No keeps them and copies the rest)")
            .arg(lines.join(QLatin1Char('\n'))),
        UserPrompt::Buttons::YesNoCancel, UserPrompt::Icon::Question);
    if (answer == UserPrompt::Answer::Cancel)
        return std::nullopt;
    return answer == UserPrompt::Answer::Yes;
}

} // namespace

std::vector<std::string> RunNewDirectoryCommand(QWidget* parent, const std::string& directory,
                                                const std::vector<std::string>& selection,
                                                CNewDirectoryDlg::Form form, const QString& name,
                                                std::vector<std::string>* made) {
    CNewDirectoryDlg dialog(form, name, {}, parent);
    if (!dialog.Run())
        return {};
    const std::vector<std::string> names = dialog.Names();
    NewEntriesReport report = CreateNewDirectories(directory, names);
    // Each failure on its own, as it happened; the other names were still tried.
    for (const std::string& message : report.messages)
        UserPrompt::Message(parent, ToQ(message), UserPrompt::Icon::Warning);
    // The comments go first: the directories' own comment files then exist
    // before a transfer starts writing into them.
    ApplyNewEntryComments(report.paths, dialog.Comments());

    const bool move = dialog.MoveBox()->isChecked();
    const bool copy = dialog.CopyBox()->isChecked();
    if ((move || copy) && !selection.empty() && !report.created.empty()) {
        if (names.size() == 1) {
            StartFileOperation(selection, report.created.front(), move ? OpMove : OpCopy, 1);
        } else {
            if (std::optional<bool> replace =
                    ReplaceExisting(parent, ExistingTargets(selection, report.created))) {
                std::vector<std::string> messages;
                TransferIntoDirectories(selection, report.created, move, *replace, messages);
                Report(parent, messages);
            }
        }
    }
    if (made)
        *made = report.made;
    return report.created;
}

std::vector<std::string> RunNewFileCommand(QWidget* parent, const std::string& directory,
                                           const std::string& templateName) {
    std::vector<FileTemplate> templates = ListFileTemplates(FileTemplatesDirectory());
    int preset = -1;
    for (size_t i = 0; i < templates.size(); ++i)
        if (templates[i].fileName == templateName)
            preset = static_cast<int>(i);
    CNewDirectoryDlg dialog(CNewDirectoryDlg::Form::File, QString(), std::move(templates), parent);
    if (preset >= 0)
        dialog.TypeBox()->setCurrentIndex(preset);
    if (!dialog.Run())
        return {};
    FileTemplate chosen;
    if (const FileTemplate* t = dialog.ChosenTemplate())
        chosen = *t;
    std::vector<std::string> paths, created;
    for (const std::string& name : dialog.Names()) {
        if (name.empty()) {
            paths.emplace_back();
            continue;
        }
        std::string path = JoinPath(directory, NewFileName(name, chosen));
        paths.push_back(path);
        NewFileResult result = CreateFileFromTemplate(chosen, path, false);
        // Replacing a file is never silent: it may hold someone's work.
        if (result == NewFileResult::Exists &&
            UserPrompt::AskYesNo(
                parent,
                QStringLiteral("%1 already exists. Do you want to replace it with a new file ?")
                    .arg(ToQ(path))))
            result = CreateFileFromTemplate(chosen, path, true);
        if (result == NewFileResult::Created)
            created.push_back(path);
        else if (result == NewFileResult::Failed)
            UserPrompt::Message(parent, ToQ("Couldn't create " + path), UserPrompt::Icon::Warning);
    }
    ApplyNewEntryComments(paths, dialog.Comments());
    return created;
}

} // namespace orvo
