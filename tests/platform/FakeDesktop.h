#pragma once

#include "TestDirectory.h"

#include <string>
#include <sys/stat.h>

namespace orvo::test {

// An XDG world of its own: data, config and a bin folder with a fake
// terminal that runs what follows its "-e".
struct FakeDesktop {
    TestDirectory root;
    ScopedEnv dataHome{"XDG_DATA_HOME", root / "data"};
    ScopedEnv dataDirs{"XDG_DATA_DIRS", root / "system"};
    ScopedEnv configHome{"XDG_CONFIG_HOME", root / "config"};
    ScopedEnv configDirs{"XDG_CONFIG_DIRS", root / "etc"};
    ScopedEnv currentDesktop{"XDG_CURRENT_DESKTOP", nullptr};
    ScopedEnv terminalVar{"TERMINAL", nullptr};
    ScopedEnv visual{"VISUAL", nullptr};
    ScopedEnv editor{"EDITOR", nullptr};
    std::string terminal;

    FakeDesktop() {
        terminal =
            root.Write("bin/fake-term", "#!/bin/sh\n[ \"$1\" = -e ] && shift\nexec \"$@\"\n");
        ::chmod(terminal.c_str(), 0755);
    }
    // A desktop entry in the user's applications folder.
    std::string App(const std::string& id, const std::string& body) {
        return root.Write("data/applications/" + id, "[Desktop Entry]\nType=Application\n" + body);
    }
};

} // namespace orvo::test
