#include "assist/ui/TipDialog.h"
#include "browse/ui/BrowseCounting.h"
#include "browse/ui/BrowseFileCommands.h"
#include "browse/ui/BrowseMarks.h"
#include "browse/ui/COrvoBrowserView.h"
#include "fileops/ui/CNewDirectoryDlg.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "viewers/ui/ImageConversionDialog.h"
#include "workspace/AppState.h"
#include "workspace/Favorites.h"
#include "workspace/TemporaryDirectories.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CMainFrame.h"
#include "FrameTestHome.h"
#include "workspace/ui/FavoritesMenu.h"
#include "workspace/ui/FrameFavorites.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>
#include <memory>

using namespace orvo;

class WorkspaceCommandsTest : public FrameTestHome {
    Q_OBJECT


private slots:
    void init() {
        StartFresh();
        QDir(home_->path()).mkpath("projects/orvo");
        TemporaryDirectoryList::Instance().Clear();
    }
    void cleanup() {
        CNewDirectoryDlg::SetTestRunner(nullptr);
        Finish();
    }

    void rereadOptionsTellsWhatItDoesInTheStatusLine() {
        CMainFrame frame;
        frame.resize(900, 600);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QMenu* menu = frame.OptionsMenu();
        QMenuBar* bar = frame.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(menu->menuAction()).center());
        QTRY_VERIFY(menu->isVisible());
        QAction* reread = nullptr;
        for (QAction* a : menu->actions())
            if (a->text() == QStringLiteral("Re-read otpions"))
                reread = a;
        QVERIFY(reread);
        QTest::mouseMove(menu, menu->actionGeometry(reread).center());
        QTRY_COMPARE(frame.statusBar()->currentMessage(), QStringLiteral("Re-reads otpions"));
        menu->close();
        frame.close();
    }

    void menuHasSubMenusAndCutTitles() {
        QDir(data_->path()).mkpath("Favorites/Work");
        QFile::link(Home("projects"), Data("Favorites/Work/projects.lnk"));
        QFile f(Data("Favorites/" + QString(40, 'x') + ".txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QMenu menu;
        BuildFavoritesMenu(&menu, ReadFavoritesTree(FavoritesDirectory()));
        QList<QAction*> items = menu.actions();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0]->text(), QStringLiteral("Work"));
        QVERIFY(items[0]->menu());
        QAction* link = items[0]->menu()->actions().value(0);
        QCOMPARE(link->text(), QStringLiteral("projects"));
        QCOMPARE(FavoritePathOf(link), Data("Favorites/Work/projects.lnk").toStdString());
        QCOMPARE(items[1]->text(), QString(27, 'x') + "...");
        QByteArray shots = qgetenv("ORVO_SCREENSHOT_DIR");
        if (!shots.isEmpty()) {
            menu.show();
            items[0]->menu()->popup(menu.geometry().topRight());
            menu.grab().save(QString::fromLocal8Bit(shots) + "/favorites-menu.png");
        }
    }

    void favoritesOfDirectoriesNavigateAndAddCurrentMakesOne() {
        CMainFrame frame;
        frame.show();
        COrvoBrowserView* view = frame.OpenBrowseWindow(Home("projects/orvo").toStdString());
        frame.Favorites().AddCurrentToFavorites();
        QString link = Data("Favorites/orvo.lnk");
        QCOMPARE(QFileInfo(link).symLinkTarget(), Home("projects/orvo"));
        // The target is marked in a listing of its parent.
        view->Navigate(Home("projects").toStdString());
        QCOMPARE(view->Marks().MarkedCount(), size_t{1});

        frame.Favorites().OpenFavorite(link.toStdString());
        QCOMPARE(view->CurrentPath(), Home("projects/orvo").toStdString());
        frame.Favorites().EditFavoritesDirectory();
        QCOMPARE(view->CurrentPath(), Data("Favorites").toStdString());
    }

    void temporaryDirectoriesAreNumberedAndOfferedAtExit() {
        CMainFrame frame;
        frame.show();
        frame.OpenBrowseWindow(home_->path().toStdString());
        CNewDirectoryDlg::SetTestRunner([](CNewDirectoryDlg& d) { d.accept(); });
        for (int i = 0; i < 3; ++i)
            frame.Favorites().CreateTemporaryDirectory();
        QString root = Data("TmpDirs");
        std::vector<std::string> expected = {(root + "/temp").toStdString(),
                                             (root + "/temp00").toStdString(),
                                             (root + "/temp01").toStdString()};
        QCOMPARE(TemporaryDirectoryList::Instance().Paths(), expected);
        QCOMPARE(frame.ActiveView()->DocumentTitle(), QStringLiteral("$ temp01 $"));
        // A cancelled dialog makes nothing.
        CNewDirectoryDlg::SetTestRunner([](CNewDirectoryDlg& d) { d.reject(); });
        frame.Favorites().CreateTemporaryDirectory();
        QCOMPARE(TemporaryDirectoryList::Instance().Paths().size(), size_t{3});

        // No at exit leaves them; Yes deletes them.
        prompt_->answers = {UserPrompt::Answer::No};
        frame.close();
        QVERIFY(prompt_->asked.contains(
            QStringLiteral("You have created temporary directories in this session. Do you want to "
                           "delete all of them ?")));
        QVERIFY(QFileInfo(root + "/temp00").isDir());
        TemporaryDirectoryList::Instance().Add((root + "/temp00").toStdString());
        CMainFrame second;
        second.show();
        prompt_->answers = {UserPrompt::Answer::Yes};
        second.close();
        QVERIFY(!QFileInfo(root + "/temp00").exists());
        QVERIFY(TemporaryDirectoryList::Instance().Empty());
    }

    void onlyDirectoriesThisRunMadeAreEverDeleted() {
        CMainFrame frame;
        frame.show();
        frame.OpenBrowseWindow(home_->path().toStdString());
        QString root = Data("TmpDirs");
        QDir(root).mkpath("temp");
        QFile older(root + "/temp/older work.txt");
        QVERIFY(older.open(QIODevice::WriteOnly));
        older.close();
        QDir(home_->path()).mkpath("outside/sub");
        QFile precious(Home("outside/precious.txt"));
        QVERIFY(precious.open(QIODevice::WriteOnly));
        precious.close();

        // An older directory typed again is shown, not listed.
        CNewDirectoryDlg::SetTestRunner([](CNewDirectoryDlg& d) {
            d.NameEdit()->setText(QStringLiteral("temp"));
            d.accept();
        });
        frame.Favorites().CreateTemporaryDirectory();
        QVERIFY(TemporaryDirectoryList::Instance().Empty());
        QCOMPARE(frame.ActiveView()->DocumentTitle(), QStringLiteral("$ temp $"));
        frame.Favorites().DeleteTemporaryDirectories();
        QVERIFY(prompt_->asked.isEmpty());

        // Two made here: one gets a link to the outside inside it, the
        // other is swapped for a link to the outside after it was made.
        CNewDirectoryDlg::SetTestRunner([](CNewDirectoryDlg& d) { d.accept(); });
        frame.Favorites().CreateTemporaryDirectory();
        frame.Favorites().CreateTemporaryDirectory();
        QCOMPARE(TemporaryDirectoryList::Instance().Paths().size(), size_t{2});
        QVERIFY(QFile::link(Home("outside"), root + "/temp00/to outside"));
        QVERIFY(QDir(root + "/temp01").removeRecursively());
        QVERIFY(QFile::link(Home("outside"), root + "/temp01"));

        prompt_->answers = {UserPrompt::Answer::Yes};
        frame.close();
        QVERIFY(!QFileInfo::exists(root + "/temp00"));
        QVERIFY(QFileInfo(root + "/temp01").isSymLink());
        QVERIFY(QFileInfo::exists(root + "/temp/older work.txt"));
        QVERIFY(QFileInfo::exists(Home("outside/precious.txt")));
        QVERIFY(QFileInfo(Home("outside/sub")).isDir());

        // "Delete all of this session" leaves the same things alone.
        CMainFrame second;
        second.show();
        second.OpenBrowseWindow(home_->path().toStdString());
        second.Favorites().CreateTemporaryDirectory();
        QString made = QString::fromStdString(TemporaryDirectoryList::Instance().Paths().back());
        QVERIFY(QFile::link(Home("outside"), made + "/to outside"));
        TemporaryDirectoryList::Instance().Add((root + "/temp").toStdString());
        QVERIFY(QDir(root + "/temp").removeRecursively());
        QVERIFY(QFile::link(Home("outside"), root + "/temp"));
        prompt_->answers = {UserPrompt::Answer::Yes};
        second.Favorites().DeleteTemporaryDirectories();
        QTRY_VERIFY(!QFileInfo::exists(made));
        QVERIFY(QFileInfo(root + "/temp").isSymLink());
        QVERIFY(QFileInfo::exists(Home("outside/precious.txt")));
        QVERIFY(QFileInfo(Home("outside/sub")).isDir());
    }

    void deleteAllAsksOnlyWhenThereIsSomething() {
        CMainFrame frame;
        frame.Favorites().DeleteTemporaryDirectories();
        QVERIFY(prompt_->asked.isEmpty());
        QDir(data_->path()).mkpath("TmpDirs/temp");
        TemporaryDirectoryList::Instance().Add(Data("TmpDirs/temp").toStdString());
        prompt_->answers = {UserPrompt::Answer::Yes};
        frame.Favorites().DeleteTemporaryDirectories();
        QCOMPARE(prompt_->asked.last(),
                 QStringLiteral("Are you sure you wanna delete all the temporary directories "
                                "created in this session ?"));
        QVERIFY(TemporaryDirectoryList::Instance().Empty());
        QTRY_VERIFY(!QFileInfo::exists(Data("TmpDirs/temp")));
    }

    void aPastedPictureMayPassThroughTheConversionDialog() {
        CMainFrame frame;
        frame.show();
        COrvoBrowserView* view = frame.OpenBrowseWindow(home_->path().toStdString());
        QImage picture(6, 6, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        SetBoolOption(kConvertDroppedImageKey, true);
        ImageConversionDialog::SetTestRunner([](ImageConversionDialog& d) {
            d.FormatButton(3)->click(); // PNG
            d.accept();
        });
        QGuiApplication::clipboard()->setImage(picture);
        view->FileCommands().Paste();
        QCOMPARE(QImage(Home("dropped.png")).pixelColor(2, 2), QColor(Qt::blue));
        picture.fill(Qt::green);
        QGuiApplication::clipboard()->setImage(picture);
        view->FileCommands().Paste(); // a second PNG never replaces the first
        QCOMPARE(QImage(Home("dropped.png")).pixelColor(2, 2), QColor(Qt::blue));
        QCOMPARE(QImage(Home("dropped00.png")).pixelColor(2, 2), QColor(Qt::green));
        ImageConversionDialog::SetTestRunner([](ImageConversionDialog& d) { d.reject(); });
        view->FileCommands().Paste();
        QVERIFY(!QFile::exists(Home("dropped.bmp")) && !QFile::exists(Home("dropped01.png")));
        ImageConversionDialog::SetTestRunner(nullptr);
        SetBoolOption(kConvertDroppedImageKey, false);
    }

    void aCountingWindowRefusesToClose() {
        CMainFrame frame;
        frame.show();
        COrvoBrowserView* view = frame.OpenBrowseWindow(home_->path().toStdString());
        QAction* mode = frame.findChild<QAction*>(QStringLiteral("CountingMode"));
        QVERIFY(mode && mode->isCheckable());
        QVERIFY(frame.MainToolBar()->actions().contains(mode));
        mode->setChecked(true);
        QVERIFY(view->Counting().IsCounting()); // nothing reports before the event loop runs
        QVERIFY(!frame.FrameOf(view)->close());
        QVERIFY(prompt_->asked.last().startsWith("Cannot close the object while counting"));
        QTRY_VERIFY(!view->Counting().IsCounting());
        mode->setChecked(false);
        QVERIFY(frame.FrameOf(view)->close());
    }
};

QTEST_MAIN(WorkspaceCommandsTest)
#include "WorkspaceCommandsTest.moc"
