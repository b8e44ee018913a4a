#include "workspace/ui/MainFrameOptions.h"

#include "platform/DataDirectory.h"
#include "platform/FileIO.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionsStore.h"
#include "settings/ui/OptionsCommands.h"

#include <QString>
#include <vector>

namespace orvo {

void LoadMainFrameOptions(QWidget* parent) {
    std::string directory;
    try {
        directory = EnsureDataDirectory();
    } catch (const FileError& e) {
        UserPrompt::Message(parent, QString::fromStdString(e.what()), UserPrompt::Icon::Warning);
        directory = DataDirectoryPath();
    }
    LoadOptionsWithPrompt(parent, OptionsFilePath(directory));
}

void SaveMainFrameOptions(QWidget* parent) {
    SaveOptionsWithPrompt(parent);
}

namespace {
std::vector<std::function<void(CMainFrame*)>>& Hooks() {
    static std::vector<std::function<void(CMainFrame*)>> hooks;
    return hooks;
}
} // namespace

void AddShutdownHook(std::function<void(CMainFrame*)> hook) { Hooks().push_back(std::move(hook)); }

void RunShutdownHooks(CMainFrame* frame) {
    for (auto& hook : Hooks())
        hook(frame);
}

} // namespace orvo
