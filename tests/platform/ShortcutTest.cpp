#include "platform/Shortcut.h"

#include "TestDirectory.h"

#include <gtest/gtest.h>

using namespace orvo;
using orvo::test::TestDirectory;

TEST(Shortcut, SymbolicLinksResolveAgainstTheirDirectory) {
    TestDirectory dir;
    dir.Write("docs/report.txt");
    std::string link = dir / "docs/A shortcut to report.txt.lnk";
    ASSERT_TRUE(CreateShortcut("report.txt", link));
    EXPECT_EQ(ResolveShortcut(link), dir / "docs/report.txt");
    EXPECT_FALSE(CreateShortcut("other", link)); // an existing entry stays

    ASSERT_TRUE(CreateShortcut("/etc", dir / "etc-link"));
    EXPECT_EQ(ResolveShortcut(dir / "etc-link/"), "/etc");
    EXPECT_EQ(ResolveShortcut(dir / "docs/report.txt"), "");

    ShortcutTarget t = ResolveShortcutFile(link);
    EXPECT_EQ(t.kind, ShortcutKind::Path);
    EXPECT_EQ(t.text, dir / "docs/report.txt");
}

TEST(Shortcut, DesktopAndUrlFiles) {
    TestDirectory dir;
    dir.Write("home.desktop", "[Desktop Entry]\nName=Home\nType=Link\n"
                              "URL[de]=file:///wrong\nURL=file:///home/u/My%20Files\n");
    dir.Write("editor.DESKTOP", "# comment\n[Desktop Action new]\nExec=other\n"
                                "[Desktop Entry]\nType=Application\nExec=gedit --new-window %U\n");
    dir.Write("site.url", "[InternetShortcut]\r\nurl=https://example.org/a?b=c\r\n");
    dir.Write("remote.desktop", "[Desktop Entry]\nType=Link\nURL=file://otherhost/x\n");
    dir.Write("broken.url", "not an ini file at all");

    ShortcutTarget home = ResolveShortcutFile(dir / "home.desktop");
    EXPECT_EQ(home.kind, ShortcutKind::Path);
    EXPECT_EQ(home.text, "/home/u/My Files");

    ShortcutTarget editor = ResolveShortcutFile(dir / "editor.DESKTOP");
    EXPECT_EQ(editor.kind, ShortcutKind::Command);
    EXPECT_EQ(editor.text, "gedit --new-window");

    ShortcutTarget site = ResolveShortcutFile(dir / "site.url");
    EXPECT_EQ(site.kind, ShortcutKind::Url);
    EXPECT_EQ(site.text, "https://example.org/a?b=c");

    // A file URL of another machine is no local path.
    EXPECT_EQ(ResolveDesktopFile(dir / "remote.desktop").kind, ShortcutKind::Url);
    EXPECT_EQ(ResolveShortcutFile(dir / "broken.url").kind, ShortcutKind::None);
    EXPECT_EQ(ResolveShortcutFile(dir / "missing.desktop").kind, ShortcutKind::None);
}
