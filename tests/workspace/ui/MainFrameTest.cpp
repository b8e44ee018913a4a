#include "assist/ui/TipDialog.h"
#include "browse/ui/COrvoBrowserView.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "settings/OptionTables.h"
#include "settings/OptionsStore.h"
#include "workspace/AppState.h"
#include "workspace/ui/BackgroundArea.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CMainFrame.h"
#include "FrameTestHome.h"
#include "workspace/ui/FrameSession.h"
#include "workspace/ui/FrameWindowCommands.h"
#include "workspace/ui/WindowChooserDialog.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace orvo;

class MainFrameTest : public FrameTestHome {
    Q_OBJECT


    std::string In(const char* name) { return (home_->path() + "/" + name).toStdString(); }

private slots:
    void init() {
        StartFresh();
        QDir(home_->path()).mkpath("a");
        QDir(home_->path()).mkpath("b/inner");
        QDir(home_->path()).mkpath("c");
        QFile f(home_->path() + "/b/pick.txt");
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    void cleanup() {
        WindowChooserDialog::SetTestRunner(nullptr);
        Finish();
    }

    void firstStartOpensTwoWindowsSideBySide() {
        CMainFrame frame;
        frame.resize(1000, 700);
        frame.show();
        frame.Session().Startup({});
        QList<COrvoBrowserView*> views = frame.ViewsInStackingOrder();
        QCOMPARE(views.size(), 2);
        for (COrvoBrowserView* v : views)
            QCOMPARE(v->CurrentPath(), home_->path().toStdString());
        QRect left = frame.FrameOf(views[1])->geometry(),
              right = frame.FrameOf(views[0])->geometry();
        if (left.x() > right.x())
            std::swap(left, right);
        QCOMPARE(left.y(), right.y());
        QVERIFY(left.right() < right.left());
        QVERIFY(GetAppState().startupFinished);
        QVERIFY(frame.windowTitle().startsWith("Orvo Browser - "));
    }

    void layoutComesBackWithTheActiveWindowOnTop() {
        {
            CMainFrame frame;
            frame.resize(1000, 700);
            frame.show();
            COrvoBrowserView* a = frame.OpenBrowseWindow(In("a"));
            COrvoBrowserView* b = frame.OpenBrowseWindow(In("b"));
            COrvoBrowserView* c = frame.OpenBrowseWindow(In("c"));
            frame.FrameOf(a)->setGeometry(10, 20, 300, 200);
            frame.FrameOf(c)->setGeometry(400, 30, 250, 260);
            QVERIFY(b->SelectPath(In("b/pick.txt")));
            frame.Area()->setActiveSubWindow(frame.FrameOf(b));
            frame.FrameOf(b)->showMaximized();
            QCOMPARE(frame.ActiveView(), b);
            frame.close();
        }
        QVERIFY(QFile::exists(data_->path() + "/OrvoOptions.qad"));

        CMainFrame frame;
        frame.resize(1000, 700);
        frame.show();
        frame.Session().Startup({});
        QList<COrvoBrowserView*> views = frame.ViewsInStackingOrder();
        QCOMPARE(views.size(), 3);
        COrvoBrowserView* active = frame.ActiveView();
        QVERIFY(active);
        QCOMPARE(active->CurrentPath(), In("b"));
        QVERIFY(frame.FrameOf(active)->isMaximized());
        QCOMPARE(active->FirstSelectedPath(), In("b/pick.txt"));
        for (COrvoBrowserView* v : views) {
            if (v->CurrentPath() == In("a")) {
                QCOMPARE(frame.FrameOf(v)->geometry(), QRect(10, 20, 300, 200));
                QVERIFY(!frame.FrameOf(v)->isMaximized());
            }
        }
        QCOMPARE(frame.windowTitle(), QString::fromStdString("Orvo Browser - " + In("b")));
    }

    void vanishedDirectoriesAreSkippedSilently() {
        {
            CMainFrame frame;
            frame.show();
            frame.OpenBrowseWindow(In("a"));
            frame.OpenBrowseWindow(In("c"));
            frame.close();
        }
        QVERIFY(QDir(home_->path() + "/c").removeRecursively());
        CMainFrame frame;
        frame.show();
        frame.Session().Startup({});
        QCOMPARE(frame.ViewsInStackingOrder().size(), 1);
        QCOMPARE(frame.ActiveView()->CurrentPath(), In("a"));
        QCOMPARE(prompt_->asked, QStringList());
    }

    void goToWindowActivatesTheChosenOne() {
        CMainFrame frame;
        frame.show();
        COrvoBrowserView* a = frame.OpenBrowseWindow(In("a"));
        COrvoBrowserView* c = frame.OpenBrowseWindow(In("c"));
        QCOMPARE(frame.ActiveView(), c);
        QStringList offered;
        WindowChooserDialog::SetTestRunner([&](WindowChooserDialog& d) {
            for (int i = 0; i < d.List()->count(); ++i)
                offered << d.List()->item(i)->text();
            d.List()->setCurrentRow(1);
            emit d.List()->itemDoubleClicked(d.List()->item(1)); // a double-click confirms
            return d.result();
        });
        frame.Windows().GoToWindow();
        QCOMPARE(
            offered,
            QStringList({WindowChooserDialog::EntryText("c", QString::fromStdString(In("c"))),
                         WindowChooserDialog::EntryText("a", QString::fromStdString(In("a")))}));
        QCOMPARE(frame.ActiveView(), a);

        // Go to a directory shows the chosen window's directory in the active one.
        frame.Windows().GoToDirectory();
        QCOMPARE(a->CurrentPath(), In("c"));
    }
};

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
