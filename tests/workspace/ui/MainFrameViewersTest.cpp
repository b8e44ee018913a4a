#include "../../viewers/ui/ViewerTestSupport.h"
#include "assist/ui/TipDialog.h"
#include "browse/ui/COrvoBrowserView.h"
#include "platform/ui/UserPrompt.h"
#include "viewers/ui/AutoViewController.h"
#include "viewers/ui/ImageViewerWindow.h"
#include "viewers/ui/OpenViewerList.h"
#include "viewers/ui/TextViewerWindow.h"
#include "workspace/AppState.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/FrameViewers.h"

#include <QAbstractItemView>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace orvo;
using namespace orvo::test;

class MainFrameViewersTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedPrompt> prompt_;

    QString In(const char* name) const { return dir_->filePath(QString::fromLatin1(name)); }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        qputenv("HOME", dir_->path().toUtf8());
        qputenv("ORVO_HOME", dir_->filePath("home").toUtf8());
        prompt_ = std::make_unique<ScriptedPrompt>();
        TipDialog::SetTestRunner([](TipDialog&) {});
        GetAppState() = AppState{};
        QVERIFY(WritePicture(In("a.png"), 40, 30));
        QVERIFY(WritePicture(In("b.png"), 60, 30));
    }
    void cleanup() {
        TipDialog::SetTestRunner(nullptr);
        OpenViewerList::Instance().CloseAll();
        QTest::qWait(20);
        prompt_.reset();
    }

    void quickViewFlashesTheSelectedRowsInYellow() {
        CMainFrame frame;
        frame.resize(1000, 700);
        frame.show();
        COrvoBrowserView* view = frame.OpenBrowseWindow(Std(dir_->path()));
        QVERIFY(view);
        QVERIFY(view->SelectPath(Std(In("b.png"))));
        QWidget* viewport = view->CurrentList()->viewport();
        auto yellow = [viewport] {
            const QImage shot = viewport->grab().toImage();
            int count = 0;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    count += QColor(shot.pixel(x, y)) == QColor(255, 255, 0);
            return count;
        };
        const int before = yellow();

        frame.Viewers().QuickView();
        QVERIFY(yellow() > before + 40);
        QTRY_COMPARE_WITH_TIMEOUT(yellow(), before, 2000);
    }

    void quickViewAutoViewAndShutdown() {
        CMainFrame frame;
        frame.resize(1000, 700);
        frame.show();
        COrvoBrowserView* view = frame.OpenBrowseWindow(Std(dir_->path()));
        QVERIFY(view);
        QVERIFY(view->SelectPath(Std(In("a.png"))));

        frame.Viewers().QuickView();
        QCOMPARE(OpenViewerList::Instance().Windows().size(), 1);
        auto* quick =
            qobject_cast<ImageViewerWindow*>(OpenViewerList::Instance().Windows().first());
        QVERIFY(quick);
        QCOMPARE(quick->Path(), Std(In("a.png")));
        QVERIFY(quick->isMaximized());
        frame.Viewers().QuickView(true); // Alt+F3
        QCOMPARE(OpenViewerList::Instance().Windows().size(), 2);
        QVERIFY(qobject_cast<TextViewerWindow*>(OpenViewerList::Instance().Windows().last()));
        OpenViewerList::Instance().Windows().last()->close();
        QTRY_COMPARE(OpenViewerList::Instance().Windows().size(), 1);

        // Auto view follows the selection once the burst of changes is over.
        frame.Viewers().ToggleAutoView();
        QVERIFY(frame.Viewers().AutoView()->IsOn());
        auto* follower = qobject_cast<ImageViewerWindow*>(frame.Viewers().AutoView()->Window());
        QVERIFY(follower && follower != quick);
        QCOMPARE(follower->Path(), Std(In("a.png")));
        QVERIFY(view->SelectPath(Std(In("b.png"))));
        QTRY_COMPARE(follower->Path(), Std(In("b.png")));
        QCOMPARE(frame.Viewers().AutoView()->Window(), follower);
        QCOMPARE(OpenViewerList::Instance().Windows().size(), 2);

        frame.Viewers().ArrangeThumbnailsAutoview();
        QCOMPARE(view->GetViewMode(), COrvoBrowserView::ViewMode::Thumbnails);
        QVERIFY(follower->geometry().left() >
                frame.mapToGlobal(QPoint(0, 0)).x() + view->ThumbnailSize());

        // Shutting down closes every viewer.
        QPointer<QWidget> a = quick, b = follower;
        QVERIFY(frame.close());
        QTRY_VERIFY(a.isNull() && b.isNull());
        QVERIFY(OpenViewerList::Instance().Windows().isEmpty());
    }
};

QTEST_MAIN(MainFrameViewersTest)

#include "MainFrameViewersTest.moc"
