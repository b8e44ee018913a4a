#include "viewers/ui/QuickView.h"

#include "ViewerTestSupport.h"
#include "platform/ui/UserPrompt.h"
#include "viewers/ui/AutoViewController.h"
#include "viewers/ui/ImageViewerWindow.h"
#include "viewers/ui/MediaPlayerWindow.h"
#include "viewers/ui/OpenViewerList.h"
#include "viewers/ui/TextViewerWindow.h"
#include "viewers/ui/ViewerHost.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace orvo;
using namespace orvo::test;

class QuickViewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedPrompt> prompt_;

    QString In(const char* name) const { return dir_->filePath(QString::fromLatin1(name)); }
    std::string StdIn(const char* name) const { return Std(In(name)); }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        qputenv("ORVO_HOME", dir_->filePath("home").toUtf8());
        prompt_ = std::make_unique<ScriptedPrompt>();
        QVERIFY(WritePicture(In("a.png"), 40, 30));
        QVERIFY(WritePicture(In("b.png"), 50, 20));
        // A PNG under a JPEG name: the loader tries the other formats.
        QVERIFY(WritePicture(In("photo.JPG"), 40, 30, ImageFormatPng));
        WriteSilentWav(In("clip.wav"));
        WriteBytes(In("notes.txt"),
                   (QByteArray(79, 'a') + '\n').repeated(12500)); // exactly the limit
        WriteBytes(In("big.txt"), QByteArray(1000001, 'a'));
        QDir(dir_->path()).mkdir("sub");
    }
    void cleanup() {
        OpenViewerList::Instance().CloseAll();
        QTest::qWait(20);
        prompt_.reset();
    }

    void opensTheViewerTheExtensionCallsFor() {
        ViewerHost host;
        const std::string dir = Std(dir_->path());
        QWidget* photo = OpenQuickViewer(StdIn("photo.JPG"), dir, true, nullptr, &host, false);
        auto* image = qobject_cast<ImageViewerWindow*>(photo);
        QVERIFY(image);
        QVERIFY(image->isMaximized());
        QVERIFY(image->OpenedByQuickView());
        QCOMPARE(image->Image().Width(), 40);
        QVERIFY(qobject_cast<TextViewerWindow*>(
            OpenQuickViewer(StdIn("photo.JPG"), dir, true, nullptr, &host, true)));
        QVERIFY(qobject_cast<MediaPlayerWindow*>(
            OpenQuickViewer(StdIn("clip.wav"), dir, true, nullptr, &host, false)));
        auto* text = qobject_cast<TextViewerWindow*>(
            OpenQuickViewer(StdIn("notes.txt"), dir, false, nullptr, &host, false));
        QVERIFY(text);
        QVERIFY(!text->isVisible()); // without maximized the caller shows it
        QCOMPARE(OpenQuickViewer(StdIn("big.txt"), dir, true, nullptr, &host, false), nullptr);
        // Nothing selected: an empty image viewer waits for a pasted picture.
        auto* empty =
            qobject_cast<ImageViewerWindow*>(OpenQuickViewer("", dir, true, nullptr, &host, false));
        QVERIFY(empty);
        QVERIFY(empty->windowTitle().startsWith("Empty mode."));

        QSignalSpy closed(&host, &ViewerHost::ViewerClosed);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->testAttribute(Qt::WA_DeleteOnClose))
                w->close();
        QTRY_COMPARE(closed.count(), 5);
    }

    void autoViewReusesPicturesAndReplacesOtherKinds() {
        ViewerHost host;
        AutoViewController autoView(&host, nullptr);
        AutoViewController::Selection selection;
        selection.valid = true;
        selection.directory = Std(dir_->path());
        selection.path = StdIn("a.png");
        autoView.SetSelectionSource([&selection] { return selection; });
        QSignalSpy toggled(&autoView, &AutoViewController::Toggled);

        autoView.Toggle();
        auto* first = qobject_cast<ImageViewerWindow*>(autoView.Window());
        QVERIFY(first);
        QCOMPARE(first->geometry(), AutoViewController::DefaultPlacement());
        QVERIFY(first->windowFlags() & Qt::Tool);
        QVERIFY(OpenViewerList::Instance().Contains(first));

        selection.path = StdIn("b.png");
        const QRect moved(150, 120, 300, 200);
        first->setGeometry(moved);
        autoView.SelectionChanged();
        QCOMPARE(autoView.Window(), first);
        QCOMPARE(first->Path(), StdIn("b.png"));
        QCOMPARE(first->Image().Width(), 50);
        QCOMPARE(first->geometry(), moved);

        // Another kind replaces the window at the same place.
        QPointer<QWidget> old = first;
        selection.path = StdIn("notes.txt");
        autoView.SelectionChanged();
        auto* text = qobject_cast<TextViewerWindow*>(autoView.Window());
        QVERIFY(text);
        QCOMPARE(text->geometry(), moved);
        QTRY_VERIFY(old.isNull());
        QVERIFY(OpenViewerList::Instance().Contains(text));

        // A directory shows the program's information picture.
        selection.path = StdIn("sub");
        autoView.SelectionChanged();
        auto* info = qobject_cast<ImageViewerWindow*>(autoView.Window());
        QVERIFY(info);
        QCOMPARE(info->Path(), AutoViewController::InfoPicturePath());
        QVERIFY(!info->Image().IsEmpty());

        // A text over the limit: the old window goes, none follows.
        old = info;
        selection.path = StdIn("big.txt");
        autoView.SelectionChanged();
        QCOMPARE(autoView.Window(), nullptr);
        QTRY_VERIFY(old.isNull());
        QVERIFY(autoView.IsOn());

        // Closed by hand: auto view turns off at the next change.
        selection.path = StdIn("a.png");
        autoView.SelectionChanged();
        QWidget* last = autoView.Window();
        QVERIFY(last);
        last->close();
        QTest::qWait(10);
        selection.path = StdIn("b.png");
        autoView.SelectionChanged();
        QVERIFY(!autoView.IsOn());
        QCOMPARE(autoView.Window(), nullptr);
        QCOMPARE(toggled.last().at(0).toBool(), false);
        QVERIFY(OpenViewerList::Instance().Windows().isEmpty());
    }
};

int RunQuickViewTests(int argc, char** argv) {
    QuickViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "QuickViewTest.moc"
