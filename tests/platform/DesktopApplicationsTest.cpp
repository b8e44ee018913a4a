#include "platform/DesktopApplications.h"

#include "FakeDesktop.h"
#include "platform/DesktopPrograms.h"
#include "platform/MimeAppsList.h"

#include <cstdio>
#include <gtest/gtest.h>

using namespace orvo;
using orvo::test::FakeDesktop;
using orvo::test::ReadFile;
using orvo::test::ScopedEnv;

namespace {

using Argv = std::vector<std::string>;

std::vector<std::string> Ids(const std::vector<DesktopApplication>& apps) {
    std::vector<std::string> ids;
    for (const DesktopApplication& a : apps)
        ids.push_back(a.id);
    return ids;
}

// What /bin/sh makes of a command text: its output.
std::string ShellOutput(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buffer[256];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
            out.append(buffer, n);
        ::pclose(p);
    }
    return out;
}

} // namespace

TEST(DesktopApplications, AssociationsComeInTheDesktopsOrder) {
    FakeDesktop d;
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", "GNOME:Unity");
    ScopedEnv lang("LANG", "de_AT.UTF-8");
    ScopedEnv lcAll("LC_ALL", nullptr);
    ScopedEnv lcMessages("LC_MESSAGES", nullptr);
    const std::string plain = "MimeType=text/plain;\nExec=run %f\n";
    d.App("default.desktop", "Name=Viewer\nName[de]=Betrachter\nIcon=viewer\nExec=view %F\n");
    d.App("added.desktop", "Name=Added\nExec=added\n");
    d.App("gnome-only.desktop", "Name=Gnome\nExec=g\nOnlyShowIn=GNOME;\n");
    d.App("declared.desktop", "Name=Declared\n" + plain);
    d.App("quiet.desktop", "NoDisplay=true\n" + plain); // still a handler
    d.App("csrc.desktop", "MimeType=text/x-c++src;\nExec=ide\n");
    d.App("removed.desktop", plain);
    d.App("hidden.desktop", "Hidden=true\n" + plain);
    d.App("needs.desktop", "TryExec=orvo-not-installed\n" + plain);
    d.App("kde.desktop", "OnlyShowIn=KDE;\n" + plain);
    d.App("not-gnome.desktop", "NotShowIn=Unity;\n" + plain);
    d.App("link.desktop", "MimeType=text/plain;\nURL=https://example.org\n");
    // A user's hidden copy takes the system's entry away.
    d.root.Write("system/applications/shadowed.desktop", "[Desktop Entry]\n" + plain);
    d.App("shadowed.desktop", "Hidden=true\n");
    d.root.Write("system/applications/vendor/cached.desktop", "[Desktop Entry]\nExec=c\n");
    d.root.Write("system/applications/mimeinfo.cache",
                 "[MIME Cache]\ntext/plain=vendor-cached.desktop;gone.desktop;\n");
    d.root.Write(
        "config/mimeapps.list",
        "[Default Applications]\ntext/plain=missing.desktop;default.desktop;added.desktop\n"
        "[Added Associations]\ntext/plain=added.desktop;default.desktop;\n"
        "[Removed Associations]\ntext/plain=removed.desktop;\n");
    d.root.Write("config/gnome-mimeapps.list",
                 "[Added Associations]\ntext/plain=gnome-only.desktop;\n");
    // A lower list cannot bring back what a higher one removed.
    d.root.Write("etc/mimeapps.list", "[Added Associations]\ntext/plain=removed.desktop;\n");

    std::vector<DesktopApplication> apps = ApplicationsForTypes({"text/x-c++src", "text/plain"});
    EXPECT_EQ(Ids(apps),
              (Argv{"default.desktop", "csrc.desktop", "gnome-only.desktop", "added.desktop",
                    "declared.desktop", "quiet.desktop", "vendor-cached.desktop"}));
    ASSERT_FALSE(apps.empty());
    EXPECT_EQ(apps[0].name, "Betrachter");
    EXPECT_EQ(apps[0].icon, "viewer");
    EXPECT_EQ(apps[0].path, d.root / "data/applications/default.desktop");
    EXPECT_EQ(DefaultApplicationFor("text/plain"), "default.desktop");
    EXPECT_EQ(DefaultApplicationFor("text/x-c++src"), "csrc.desktop");

    // The full list leaves out what asks to stay out of menus.
    std::vector<std::string> all = Ids(InstalledApplications());
    EXPECT_NE(std::find(all.begin(), all.end(), "vendor-cached.desktop"), all.end());
    EXPECT_EQ(std::find(all.begin(), all.end(), "quiet.desktop"), all.end());
    EXPECT_EQ(std::find(all.begin(), all.end(), "shadowed.desktop"), all.end());
    EXPECT_FALSE(FindApplication("shadowed.desktop"));
    EXPECT_TRUE(FindApplication("vendor-cached.desktop"));
}

TEST(DesktopApplications, ExecStartsOneProcessForAllFilesOrOnePerFile) {
    FakeDesktop d;
    const std::string a = "/tmp/a b.txt", odd = "/tmp/caf\xe9 \xff.txt";
    auto argvs = [&](const std::string& exec, bool terminal = false) {
        DesktopApplication app{"x.desktop", "/apps/x.desktop", "X", "x-icon", exec, {}, terminal};
        return ApplicationArgvs(app, {a, odd});
    };
    using Runs = std::vector<Argv>;
    EXPECT_EQ(argvs("view --all %F"), (Runs{{"view", "--all", a, odd}}));
    EXPECT_EQ(argvs("view %U --end"), (Runs{{"view", a, odd, "--end"}}));
    EXPECT_EQ(argvs("edit --file=%f"), (Runs{{"edit", "--file=" + a}, {"edit", "--file=" + odd}}));
    EXPECT_EQ(argvs("edit"), (Runs{{"edit", a}, {"edit", odd}}));
    EXPECT_EQ(
        argvs("tool %i --name %c --entry %k %u"),
        (Runs{{"tool", "--icon", "x-icon", "--name", "X", "--entry", "/apps/x.desktop", a},
              {"tool", "--icon", "x-icon", "--name", "X", "--entry", "/apps/x.desktop", odd}}));
    EXPECT_EQ(argvs("\"\" %f"), Runs{});
    EXPECT_EQ(argvs("tool \"%f"), Runs{});

    // A terminal entry runs inside the terminal; without one, nothing runs.
    ScopedEnv term("TERMINAL", d.terminal);
    EXPECT_EQ(argvs("nano %F", true), (Runs{{d.terminal, "-e", "nano", a, odd}}));
    ScopedEnv path("PATH", d.root / "nothing");
    ScopedEnv noTerm("TERMINAL", "orvo-no-such-terminal");
    EXPECT_EQ(argvs("nano %F", true), Runs{});
}

TEST(DesktopApplications, CodesInsideAShellTextReachTheShellAsOneWord) {
    const Argv names{"it's; echo pwned", "$HOME `id` \"q\"\\", "caf\xe9"};
    DesktopApplication app;
    app.exec = R"(sh -c "printf '[%%s]' %F")";
    auto runs = ApplicationArgvs(app, names);
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_EQ(runs[0].size(), 3u);
    EXPECT_EQ(ShellOutput(runs[0][2]), "[" + names[0] + "][" + names[1] + "][" + names[2] + "]");

    app.exec = R"(sh -c "printf '<%%s>' %f")";
    runs = ApplicationArgvs(app, names);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(ShellOutput(runs[1][2]), "<" + names[1] + ">");
}

TEST(DesktopApplications, RememberingRewritesOnlyTheTypesLines) {
    FakeDesktop d;
    d.App("editor.desktop", "Name=Editor\nMimeType=text/plain;\nExec=editor %f\n");
    d.App("mine.desktop", "Name=Mine\nExec=mine %f\n");
    // Around the two lines of the type: what the user wrote, as it is.
    auto list = [](const std::string& added, const std::string& removed) {
        return "# my settings\r\n[Default Applications]\r\ntext/plain=editor.desktop\r\n\r\n"
               "[Added Associations]\nimage/png=viewer.desktop;\n" +
               added + "\n\n[Removed Associations]\n" + removed + "\ntext/html=mine.desktop;\n";
    };
    d.root.Write("config/mimeapps.list",
                 list("text/plain = editor.desktop;", "text/plain=mine.desktop;other.desktop;"));
    EXPECT_EQ(Ids(ApplicationsForTypes({"text/plain"})), Argv{"editor.desktop"});

    RememberApplication("text/plain", "mine.desktop");
    const std::string expected =
        list("text/plain=mine.desktop;editor.desktop;", "text/plain=other.desktop;");
    EXPECT_EQ(ReadFile(d.root / "config/mimeapps.list"), expected);
    EXPECT_EQ(Ids(ApplicationsForTypes({"text/plain"})), (Argv{"editor.desktop", "mine.desktop"}));

    // A type new to the group joins it; a list without the group gets one.
    EXPECT_EQ(WithApplicationRemembered("[Added Associations]\na/b=x;\n\n[Other]\nk=v", "c/d", "y"),
              "[Added Associations]\na/b=x;\nc/d=y;\n\n[Other]\nk=v");
    EXPECT_EQ(WithApplicationRemembered("[Removed Associations]\nc/d=y;", "c/d", "y"),
              "[Removed Associations]\n\n[Added Associations]\nc/d=y;\n");
    EXPECT_EQ(WithApplicationRemembered("", "c/d", "y"), "[Added Associations]\nc/d=y;\n");
}

TEST(DesktopApplications, TypedCommandsBecomeEntriesOfTheUser) {
    FakeDesktop d;
    const std::string tool = d.root.Write("bin/my tool", "#!/bin/sh\n");
    ::chmod(tool.c_str(), 0755);
    EXPECT_EQ(CommandProblem("\"" + tool + "\" --x"), "");
    EXPECT_EQ(CommandProblem("\"" + tool + " --x"), "The command has a quote that is not closed.");
    EXPECT_EQ(CommandProblem("orvo-no-such-tool %f"),
              "Cannot find the program \"orvo-no-such-tool\".");
    EXPECT_EQ(CommandProblem("  "), "No command was given.");

    DesktopApplication app = ApplicationForCommand("\"" + tool + "\" --dir C:\\\\x");
    EXPECT_EQ(app.name, "my tool");
    SaveUserApplication(app, "text/x-log");
    EXPECT_EQ(app.id.rfind("userapp-my_tool-", 0), 0u) << app.id;
    EXPECT_EQ(app.path, d.root / ("data/applications/" + app.id));
    std::optional<DesktopApplication> saved = FindApplication(app.id);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->exec, app.exec);
    EXPECT_EQ(ApplicationArgvs(*saved, {"/f 1", "/f 2"}),
              (std::vector<Argv>{{tool, "--dir", "C:\\\\x", "/f 1"},
                                 {tool, "--dir", "C:\\\\x", "/f 2"}}));
    EXPECT_EQ(Ids(ApplicationsForTypes({"text/x-log"})), Argv{app.id});
    EXPECT_EQ(Ids(InstalledApplications()), Argv{}); // kept out of menus
}
