#include "../../viewers/ui/ViewerTestSupport.h"
#include "assist/ui/TipDialog.h"
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/COrvoBrowserView.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "settings/OptionsStore.h"
#include "store/StoreArchive.h"
#include "workspace/AppState.h"
#include "workspace/ui/BackgroundArea.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CMainFrame.h"
#include "FrameTestHome.h"
#include "workspace/ui/FrameListCommands.h"
#include "workspace/ui/FrameSession.h"
#include "workspace/ui/FrameWindowCommands.h"
#include "workspace/ui/ListFileDialogs.h"
#include "workspace/ui/WindowChooserDialog.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <memory>

using namespace orvo;

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QAction* ItemOf(QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

// The numbered entries of the File menu.
QStringList RecentItems(CMainFrame& frame) {
    QStringList texts;
    for (QAction* a : frame.FileMenu()->actions())
        if (a->isVisible() && a->text().size() > 2 && a->text()[0] == '&' && a->text()[1].isDigit())
            texts << a->text();
    return texts;
}

// Opens a menu of the menu bar with the mouse and clicks one of its items.
void ClickMenuItem(CMainFrame& frame, QMenu* menu, QAction* item) {
    QVERIFY(item);
    QMenuBar* bar = frame.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    QTRY_VERIFY(!menu->isVisible());
}

// Drags one file over a widget and lets it go; true when the drop was taken.
bool DropFile(QWidget* target, const QPoint& at, const QString& path,
              Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), offered, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
    // The picture stays where it is: the drop never ends as a move.
    return drop.isAccepted() && drop.dropAction() != Qt::MoveAction;
}

} // namespace

class MainFrameSetupTest : public FrameTestHome {
    Q_OBJECT

    QString answer_;

    QString In(const QString& name) const { return home_->path() + "/" + name; }

private slots:
    void init() {
        StartFresh();
        QDir(home_->path()).mkpath("docs");
        SetListFileDialogAnswerer([this](ListFileDialog, const QString&) { return answer_; });
    }
    void cleanup() {
        SetListFileDialogAnswerer(nullptr);
        WindowChooserDialog::SetTestRunner(nullptr);
        Finish();
    }

    void aPictureDroppedOnTheBareAreaBecomesTheBackground() {
        QImage picture(900, 700, QImage::Format_RGB32);
        picture.fill(QColor(40, 120, 90));
        QVERIFY(picture.save(In("docs/wall.png")));
        QFile text(In("docs/notes.png")); // a picture's name, not its bytes
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("just words");
        text.close();
        QDir(home_->path()).mkpath("docs/folder.jpg");
        CMainFrame frame;
        frame.resize(1000, 700);
        frame.show();
        SetStringOption(kBackgroundImagePathKey, "");
        frame.ApplyBackground();
        COrvoBrowserView* view = frame.OpenBrowseWindow(In("docs").toStdString());
        frame.FrameOf(view)->setGeometry(0, 0, 300, 300);
        QWidget* viewport = frame.Area()->viewport();
        const QPoint bare(viewport->width() - 50, viewport->height() - 50);

        QVERIFY(!DropFile(viewport, bare, In("docs/notes.png")));
        QVERIFY(!DropFile(viewport, bare, In("docs/folder.jpg")));
        QVERIFY(!DropFile(viewport, QPoint(150, 10), In("docs/wall.png"))); // on the window
        QVERIFY(!DropFile(viewport, bare, In("docs/wall.png"), Qt::MoveAction));
        QCOMPARE(GetStringOption(kBackgroundImagePathKey), std::string());
        QVERIFY(!frame.Area()->HasImage());

        QVERIFY(DropFile(viewport, bare, In("docs/wall.png")));
        QCOMPARE(GetStringOption(kBackgroundImagePathKey), In("docs/wall.png").toStdString());
        QVERIFY(frame.Area()->HasImage());
        QCOMPARE(frame.Area()->viewport()->grab().toImage().pixelColor(bare), QColor(40, 120, 90));
        test::Screenshot(&frame, "main-frame-dropped-background");
        QCOMPARE(prompt_->asked, QStringList());
    }

    void fileTypesDirectoryOpensAWindowOnTheTemplates() {
        CMainFrame frame;
        frame.resize(1000, 700);
        frame.show();
        QAction* item = ItemOf(frame.OptionsMenu(), QStringLiteral("File types directory"));
        ClickMenuItem(frame, frame.OptionsMenu(), item);
        COrvoBrowserView* view = frame.ActiveView();
        QVERIFY(view);
        QCOMPARE(ToQ(view->CurrentPath()), Data("File types"));
        // The shipped templates are there to be seen and changed.
        QVERIFY(view->SelectPath(Data("File types/Text file.txt").toStdString()));

        // A templates folder the user removed is made again, empty.
        QVERIFY(QDir(Data("File types")).removeRecursively());
        ClickMenuItem(frame, frame.OptionsMenu(), item);
        QCOMPARE(frame.ViewsInStackingOrder().size(), 2);
        QCOMPARE(ToQ(frame.ActiveView()->CurrentPath()), Data("File types"));
        QVERIFY(QFileInfo(Data("File types")).isDir());
        QCOMPARE(prompt_->asked, QStringList());
    }

    void theFileMenuListsTheFiveListsUsedLast() {
        QStringList saved;
        {
            CMainFrame frame;
            frame.resize(1000, 700);
            frame.show();
            // Six lists saved, then the first opened again.
            for (int i = 0; i < 6; ++i) {
                frame.Lists().CreateListWindow({});
                // One name is not UTF-8: its bytes must survive the round trip.
                answer_ = i == 4 ? PathToQ(In("docs").toStdString() + "/list\xe9.orl")
                                 : In(QStringLiteral("docs/list%1.orl").arg(i));
                frame.Lists().SaveListAs();
                saved << answer_;
            }
            answer_ = saved[0];
            QVERIFY(frame.Lists().OpenListDocument());
            frame.close();
        }
        const QStringList expected{saved[0], saved[5], saved[4], saved[3], saved[2]};

        // The next run shows them in its File menu, the latest first.
        CMainFrame frame;
        frame.resize(1000, 700);
        frame.show();
        const QStringList shown = RecentItems(frame);
        QCOMPARE(shown.size(), 5);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(shown[i], QStringLiteral("&%1 %2").arg(i + 1).arg(expected[i]));

        // Clicking one opens it in a list window and puts it first.
        ClickMenuItem(frame, frame.FileMenu(), ItemOf(frame.FileMenu(), shown[2]));
        COrvoBrowserView* view = frame.ActiveView();
        QVERIFY(view && view->ListMode().IsListMode());
        QCOMPARE(view->ListMode().ListDocumentPath(), QToPath(expected[2]));
        QTRY_VERIFY(ItemOf(frame.FileMenu(), QStringLiteral("&1 ") + expected[2]));

        // One that vanished says so and leaves the list; no window opens.
        QVERIFY(QFile::remove(expected[1]));
        const int windows = frame.ViewsInStackingOrder().size();
        ClickMenuItem(frame, frame.FileMenu(),
                      ItemOf(frame.FileMenu(), QStringLiteral("&3 ") + expected[1]));
        QCOMPARE(frame.ViewsInStackingOrder().size(), windows);
        QCOMPARE(prompt_->asked.filter(expected[1]).size(), 1);
        QTRY_COMPARE(RecentItems(frame).size(), 4);
        test::Screenshot(&frame, "main-frame-recent-files");
    }

    void aDamagedOptionsFileIsReportedOnceAndLeftAsItWas() {
        // A real options file whose table count claims far more than it holds.
        int countAt = 0;
        {
            OptionsStore store;
            store.Load(Data("OrvoOptions.qad").toStdString());
            QVERIFY(store.Save().saved);
            countAt = 1 + int(kDataBaseBanner.size()) + 1 + int(store.Database().GetName().size());
        }
        QByteArray damaged = ReadBytes(Data("OrvoOptions.qad"));
        damaged[countAt + 3] = 0x7f;
        {
            QFile f(Data("OrvoOptions.qad"));
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(damaged);
        }
        {
            CMainFrame frame;
            frame.resize(1000, 700);
            frame.show();
            frame.Session().Startup({});
            const QStringList about = prompt_->asked.filter(QStringLiteral("OrvoOptions.qad"));
            QCOMPARE(about.size(), 1);
            QCOMPARE(about[0].count(QStringLiteral("damaged")), 1);
            QVERIFY(about[0].contains(QStringLiteral("leaves the file as it is")));
            // The run records its windows and its tip position, as every run does.
            frame.OpenBrowseWindow(In("docs").toStdString());
            frame.close();
        }
        QCOMPARE(ReadBytes(Data("OrvoOptions.qad")), damaged);
        QVERIFY(!QFile::exists(Data("OrvoOptions.qad.damaged")));
        QCOMPARE(prompt_->asked.filter(QStringLiteral("OrvoOptions.qad")).size(), 1);
    }

    void windowsAndDialogsCarryTheProgramsIcon() {
        CMainFrame frame;
        frame.show();
        frame.OpenBrowseWindow(In("docs").toStdString());
        COrvoBrowserView* view = frame.OpenBrowseWindow(home_->path().toStdString());
        // A browse window shows a folder, whatever icon theme there is.
        QVERIFY(!frame.FrameOf(view)->windowIcon().isNull());
        QIcon chooserIcon;
        WindowChooserDialog::SetTestRunner([&](WindowChooserDialog& d) {
            chooserIcon = d.windowIcon();
            return int(QDialog::Rejected);
        });
        frame.Windows().GoToWindow();
        const auto image = [](const QIcon& icon) {
            return icon.pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        };
        const QImage own = QImage(":/icons/orvo-browser-32.png")
                               .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QVERIFY(!own.isNull());
        QCOMPARE(image(frame.windowIcon()), own);
        QCOMPARE(image(chooserIcon), own);
        QVERIFY(frame.windowIcon().availableSizes().contains(QSize(256, 256)));
    }
};

QTEST_MAIN(MainFrameSetupTest)
#include "MainFrameSetupTest.moc"
