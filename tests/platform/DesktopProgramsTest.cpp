#include "platform/DesktopPrograms.h"

#include "FakeDesktop.h"
#include "platform/ProcessLauncher.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

using namespace orvo;
using orvo::test::ReadFile;
using orvo::test::ScopedEnv;

namespace {

using Argv = std::vector<std::string>;

using Desktop = orvo::test::FakeDesktop;

} // namespace

TEST(DesktopPrograms, ExecLinesFollowTheDesktopEntryRules) {
    const std::string f = "/tmp/a file.txt";
    EXPECT_EQ(ExpandExecLine("\"/opt/my editor/run\" --new %F", f),
              (Argv{"/opt/my editor/run", "--new", f}));
    EXPECT_EQ(ExpandExecLine("vim", f), (Argv{"vim", f}));
    EXPECT_EQ(ExpandExecLine("app --file=%f", f), (Argv{"app", "--file=" + f}));
    EXPECT_EQ(ExpandExecLine("app %i --title %c %k 100%%", f, "App", "/x.desktop"),
              (Argv{"app", "--title", "App", "/x.desktop", "100%", f}));
    EXPECT_EQ(ExpandExecLine(R"(sh -c "echo \"\$1\"" %u)", f),
              (Argv{"sh", "-c", "echo \"$1\"", f}));
    EXPECT_EQ(ExpandExecLine("app \"unclosed", f), Argv{});
    EXPECT_EQ(ExpandExecLine("", f), Argv{});
}

TEST(DesktopPrograms, DefaultApplicationSkipsEntriesThatAreNotInstalled) {
    Desktop d;
    d.App("gone.desktop", "Hidden=true\nExec=gone %f\n");
    d.App("needs.desktop", "TryExec=orvo-not-installed\nExec=needs %f\n");
    d.App("org.example.Edit.desktop", "Name=Edit\nExec=edit --line 1 %f\n");
    d.root.Write("config/mimeapps.list",
                 "[Added Associations]\ntext/plain=org.example.Edit.desktop;\n"
                 "[Default Applications]\n"
                 "text/plain=missing.desktop;gone.desktop;needs.desktop;\n");
    // Default Applications names nothing usable, so Added Associations count.
    EXPECT_EQ(DefaultApplicationFor("text/plain"), "org.example.Edit.desktop");
    EXPECT_EQ(TextEditorArgv("/tmp/x.txt"), (Argv{"edit", "--line", "1", "/tmp/x.txt"}));

    d.root.Write("system/applications/mimeinfo.cache",
                 "[MIME Cache]\nimage/png=vendor-viewer.desktop;\n");
    d.root.Write("system/applications/vendor/viewer.desktop", "[Desktop Entry]\nExec=viewer\n");
    EXPECT_EQ(DefaultApplicationFor("image/png"), "vendor-viewer.desktop");
    EXPECT_EQ(DefaultApplicationFor("audio/x-none"), "");
}

TEST(DesktopPrograms, EditorFallsBackToTheEditorVariableInATerminal) {
    Desktop d;
    ScopedEnv term("TERMINAL", d.terminal);
    ScopedEnv visual("VISUAL", "vi -R");
    EXPECT_EQ(TextEditorArgv("/tmp/$HOME; x"),
              (Argv{d.terminal, "-e", "/bin/sh", "-c", "vi -R \"$@\"", "sh", "/tmp/$HOME; x"}));

    d.App("term-ed.desktop", "Exec=nano %f\nTerminal=true\n");
    d.root.Write("config/mimeapps.list", "[Default Applications]\ntext/plain=term-ed.desktop\n");
    EXPECT_EQ(TextEditorArgv("/tmp/t"), (Argv{d.terminal, "-e", "nano", "/tmp/t"}));
}

TEST(DesktopPrograms, ShellCommandsGetTheirArgumentsUnspliced) {
    Desktop d;
    ScopedEnv term("TERMINAL", d.terminal);
    ScopedEnv shell("SHELL", "/bin/sh");
    std::string out = d.root / "out";
    std::string name = "x; touch pwned";
    for (bool keepOpen : {false, true}) {
        std::remove(out.c_str());
        Argv argv = ShellCommandArgv("printf '%s' \"$1\" > \"$2\"", keepOpen, {name, out});
        ASSERT_FALSE(argv.empty());
        EXPECT_EQ(argv.front(), d.terminal);
        ASSERT_TRUE(StartProgram(argv, d.root.Path()));
        std::string text;
        for (int i = 0; i < 500 && text != name; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            text = ReadFile(out);
        }
        EXPECT_EQ(text, name) << "keepOpen " << keepOpen;
    }
    struct stat st {};
    EXPECT_NE(::stat((d.root / "pwned").c_str(), &st), 0);

    // No terminal at all: nothing to start rather than a broken command.
    ScopedEnv path("PATH", d.root / "bin");
    ScopedEnv noTerm("TERMINAL", "orvo-no-such-terminal");
    EXPECT_EQ(ShellCommandArgv("ls", false), Argv{});
}
