#include "platform/DesktopApplications.h"

#include "platform/DesktopExec.h"
#include "platform/DesktopPrograms.h"
#include "platform/DisplayText.h"
#include "platform/KeyFile.h"
#include "platform/PathText.h"
#include "platform/ProcessLauncher.h"
#include "platform/XdgDirectories.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <strings.h>

namespace orvo {

namespace {

using Entries = std::map<std::string, std::string, std::less<>>;

std::string_view Get(const Entries& entries, std::string_view key) {
    auto it = entries.find(key);
    return it == entries.end() ? std::string_view() : std::string_view(it->second);
}

bool Contains(const std::vector<std::string>& list, std::string_view item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// The user's language as Name[...] suffixes, most specific first: for
// "de_AT.UTF-8@euro" de_AT@euro, de_AT, de@euro, de.
std::vector<std::string> LocaleSuffixes() {
    std::string locale;
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v) {
            locale = v;
            break;
        }
    }
    if (locale.empty() || locale == "C" || locale == "POSIX")
        return {};
    std::string modifier;
    if (size_t at = locale.find('@'); at != std::string::npos) {
        modifier = locale.substr(at);
        locale.erase(at);
    }
    if (size_t dot = locale.find('.'); dot != std::string::npos)
        locale.erase(dot);
    std::string lang = locale.substr(0, locale.find('_'));
    std::vector<std::string> suffixes;
    for (const std::string& s : {locale + modifier, locale, lang + modifier, lang})
        if (!Contains(suffixes, s))
            suffixes.push_back(s);
    return suffixes;
}

std::string LocalizedValue(const Entries& entries, const std::string& key) {
    for (const std::string& suffix : LocaleSuffixes()) {
        std::string_view v = Get(entries, key + "[" + suffix + "]");
        if (!v.empty())
            return std::string(v);
    }
    return std::string(Get(entries, key));
}

bool ShownOnThisDesktop(const Entries& entries) {
    std::vector<std::string> only = SplitList(Get(entries, "OnlyShowIn"));
    std::vector<std::string> not_ = SplitList(Get(entries, "NotShowIn"));
    bool listed = false;
    for (const std::string& desktop : CurrentDesktops()) {
        if (Contains(not_, desktop))
            return false;
        listed = listed || Contains(only, desktop);
    }
    return only.empty() || listed;
}

// An installed entry with what the association lookup needs besides.
struct Installed {
    DesktopApplication app;
    std::vector<std::string> mimeTypes;
    size_t folder = 0; // index in ApplicationDirectories()
};

std::optional<Installed> ReadEntry(const std::string& id, const std::string& path) {
    std::string text = ReadSettingsFile(path);
    Entries e = KeyFileGroup(text, "Desktop Entry");
    std::string_view type = Get(e, "Type");
    if ((!type.empty() && type != "Application") || Get(e, "Hidden") == "true" ||
        Get(e, "Exec").empty() || !ShownOnThisDesktop(e))
        return std::nullopt;
    if (std::string_view tryExec = Get(e, "TryExec");
        !tryExec.empty() && FindProgram(tryExec).empty())
        return std::nullopt;
    Installed found;
    DesktopApplication& app = found.app;
    app.id = id;
    app.path = path;
    app.name = LocalizedValue(e, "Name");
    if (app.name.empty())
        app.name = id.substr(0, id.size() - std::string_view(".desktop").size());
    app.icon = LocalizedValue(e, "Icon");
    app.exec = std::string(Get(e, "Exec"));
    app.workingDirectory = std::string(Get(e, "Path"));
    app.terminal = Get(e, "Terminal") == "true";
    app.noDisplay = Get(e, "NoDisplay") == "true";
    found.mimeTypes = SplitList(Get(e, "MimeType"));
    return found;
}

// Every usable entry of the application folders, by id. An id found in a
// folder hides the same id in the folders after it, usable or not.
std::map<std::string, Installed> ScanApplications() {
    namespace fs = std::filesystem;
    std::map<std::string, Installed> installed;
    std::set<std::string> seen;
    std::vector<std::string> folders = ApplicationDirectories();
    for (size_t index = 0; index < folders.size(); ++index) {
        std::error_code ec;
        std::vector<std::pair<std::string, std::string>> found; // id, path
        for (fs::recursive_directory_iterator
                 it(folders[index], fs::directory_options::skip_permission_denied, ec),
             end;
             !ec && it != end; it.increment(ec)) {
            const std::string path = it->path().string();
            if (path.size() <= 8 || path.compare(path.size() - 8, 8, ".desktop") != 0 ||
                !it->is_regular_file(ec))
                continue;
            std::string id = path.substr(folders[index].size() + 1);
            std::replace(id.begin(), id.end(), '/', '-');
            found.emplace_back(std::move(id), path);
        }
        std::sort(found.begin(), found.end());
        for (auto& [id, path] : found) {
            if (!seen.insert(id).second)
                continue;
            if (auto entry = ReadEntry(id, path)) {
                entry->folder = index;
                installed.emplace(id, std::move(*entry));
            }
        }
    }
    return installed;
}

} // namespace

std::optional<DesktopApplication> FindApplication(std::string_view desktopId) {
    std::string path = FindDesktopEntry(desktopId);
    if (path.empty())
        return std::nullopt;
    auto entry = ReadEntry(std::string(desktopId), path);
    return entry ? std::optional<DesktopApplication>(std::move(entry->app)) : std::nullopt;
}

std::vector<DesktopApplication> ApplicationsForTypes(const std::vector<std::string>& mimeTypes) {
    const std::map<std::string, Installed> installed = ScanApplications();
    std::vector<std::string> lists;
    for (const std::string& file : MimeAppsListFiles())
        lists.push_back(ReadSettingsFile(file));
    std::vector<std::string> folders = ApplicationDirectories();
    std::vector<std::string> caches;
    for (const std::string& folder : folders)
        caches.push_back(ReadSettingsFile(JoinPath(folder, "mimeinfo.cache")));

    std::vector<DesktopApplication> result;
    std::set<std::string> taken, removed;
    auto add = [&](const std::string& id) {
        auto it = installed.find(id);
        if (it != installed.end() && !removed.count(id) && taken.insert(id).second)
            result.push_back(it->second.app);
    };
    // The default comes first even where a list removes it from the
    // associations: it was chosen as the default on purpose.
    auto values = [](const std::string& text, const char* group, const std::string& type) {
        return SplitList(KeyFileValue(text, group, type).value_or(""));
    };
    for (const std::string& type : mimeTypes)
        for (const std::string& text : lists)
            for (const std::string& id : values(text, "Default Applications", type))
                if (result.empty())
                    add(id);
    for (const std::string& type : mimeTypes) {
        removed.clear();
        for (const std::string& text : lists) {
            for (const std::string& id : values(text, "Added Associations", type))
                add(id);
            for (const std::string& id : values(text, "Removed Associations", type))
                removed.insert(id);
        }
        for (size_t folder = 0; folder < folders.size(); ++folder) {
            for (const std::string& id : values(caches[folder], "MIME Cache", type))
                add(id);
            // The cache may be older than the entries: they are read too.
            for (const auto& [id, entry] : installed)
                if (entry.folder == folder && Contains(entry.mimeTypes, type))
                    add(id);
        }
    }
    return result;
}

std::vector<DesktopApplication> InstalledApplications() {
    std::vector<DesktopApplication> apps;
    for (auto& [id, entry] : ScanApplications())
        if (!entry.app.noDisplay)
            apps.push_back(std::move(entry.app));
    std::stable_sort(apps.begin(), apps.end(), [](const auto& a, const auto& b) {
        return ::strcasecmp(a.name.c_str(), b.name.c_str()) < 0;
    });
    return apps;
}

DesktopApplication ApplicationForCommand(const std::string& command) {
    DesktopApplication app;
    app.exec = command;
    if (!ExecTakesFiles(command))
        app.exec += " %f";
    auto argv = ExpandExecForFiles(command, {});
    app.name = argv ? std::string(FileNameOf(argv->front().front())) : command;
    return app;
}

std::string CommandProblem(const std::string& command) {
    auto argv = ExpandExecForFiles(command, {});
    if (!argv)
        return command.find_first_not_of(" \t") == std::string::npos
                   ? "No command was given."
                   : "The command has a quote that is not closed.";
    const std::string& program = argv->front().front();
    if (FindProgram(program).empty())
        return "Cannot find the program \"" + program + "\".";
    return {};
}

std::vector<std::vector<std::string>> ApplicationArgvs(const DesktopApplication& app,
                                                       const std::vector<std::string>& files) {
    auto processes = ExpandExecForFiles(app.exec, files, ExecContext{app.name, app.icon, app.path});
    if (!processes)
        return {};
    if (app.terminal) {
        std::vector<std::string> terminal = TerminalArgv();
        if (terminal.empty())
            return {};
        terminal.push_back("-e");
        for (auto& argv : *processes)
            argv.insert(argv.begin(), terminal.begin(), terminal.end());
    }
    return std::move(*processes);
}

} // namespace orvo
