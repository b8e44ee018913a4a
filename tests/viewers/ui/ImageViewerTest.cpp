#include "ViewerTestSupport.h"
#include "platform/PathText.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"
#include "viewers/ImageViewerTexts.h"
#include "viewers/ui/ImageConversionDialog.h"
#include "viewers/ui/ImageViewerWindow.h"
#include "viewers/ui/ViewerHost.h"
#include "../../platform/ui/AnyNameTemporaryDir.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <memory>
#include <set>
#include <sys/stat.h>

using namespace orvo;
using namespace orvo::test;

namespace {

// Answers like ScriptedPrompt, after letting the program run for as long as
// a user would read the question.
class LingeringPrompt : public ScriptedPrompt {
public:
    std::function<void()> whileAsked;

    Answer Ask(QWidget* parent, const QString& title, const QString& text, Buttons buttons,
               Icon icon) override {
        if (whileAsked)
            whileAsked();
        return ScriptedPrompt::Ask(parent, title, text, buttons, icon);
    }
};

} // namespace

class ImageViewerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::AnyNameTemporaryDir> dir_;
    std::unique_ptr<ScriptedPrompt> prompt_;
    QList<QPointer<ImageViewerWindow>> windows_;

    QString In(const char* name) const { return dir_->filePath(QString::fromLatin1(name)); }

    ImageViewerWindow* Open(const char* name) {
        auto* w = new ImageViewerWindow(name[0] ? Std(In(name)) : std::string(), Std(dir_->path()),
                                        nullptr, true);
        windows_ << w;
        w->resize(700, 500);
        w->show();
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w))
            qWarning("the viewer did not become active");
        return w;
    }

private slots:
    void init() {
        dir_ = std::make_unique<test::AnyNameTemporaryDir>();
        qputenv("ORVO_HOME", dir_->filePath("home").toUtf8());
        prompt_ = std::make_unique<ScriptedPrompt>();
    }
    void cleanup() {
        ImageConversionDialog::SetTestRunner(nullptr);
        for (const QPointer<ImageViewerWindow>& w : windows_)
            if (w)
                w->close();
        windows_.clear();
        QTest::qWait(20);
        prompt_.reset();
    }

    void navigationStopsAtTheEndsAndTheSlideshowWraps() {
        for (auto [name, width] : {std::pair{"a.bmp", 10}, {"b.bmp", 20}, {"c.bmp", 30}})
            QVERIFY(WritePicture(In(name), width, 10));
        WriteBytes(In("notes.txt"), "x");
        ImageViewerWindow* w = Open("b.bmp");
        QCOMPARE(w->windowTitle(), In("b.bmp"));
        auto key = [w](int k) { QTest::keyClick(w, Qt::Key(k)); };
        key(Qt::Key_PageDown);
        QCOMPARE(QString::fromStdString(w->Path()), In("c.bmp"));
        QCOMPARE(w->Image().Width(), 30);
        key(Qt::Key_PageDown);
        QCOMPARE(QString::fromStdString(w->Path()), In("c.bmp"));
        key(Qt::Key_Home);
        QCOMPARE(QString::fromStdString(w->Path()), In("a.bmp"));
        key(Qt::Key_PageUp);
        QCOMPARE(QString::fromStdString(w->Path()), In("a.bmp"));
        key(Qt::Key_End);
        QCOMPARE(QString::fromStdString(w->Path()), In("c.bmp"));

        key(Qt::Key_Space);
        QVERIFY(w->Walk().SlideshowRunning());
        for (int i = 0; i < 19; ++i)
            w->Walk().Tick();
        QCOMPARE(QString::fromStdString(w->Path()), In("c.bmp"));
        w->Walk().Tick();
        QCOMPARE(QString::fromStdString(w->Path()), In("a.bmp"));
        key(Qt::Key_Space);
        QVERIFY(!w->Walk().SlideshowRunning());
    }

    void menuChecksFollowTheKeysAndALockedSizeStays() {
        for (const char* name : {"a.png", "b.png"})
            QVERIFY(WritePicture(In(name), 1600, 1200));
        ImageViewerWindow* w = Open("a.png");
        auto action = [w](const char* text) {
            for (QAction* a : w->findChildren<QAction*>())
                if (a->text().section(QLatin1Char('\t'), 0, 0) == QLatin1String(text))
                    return a;
            return static_cast<QAction*>(nullptr);
        };
        QTest::keyClick(w, Qt::Key_T);
        QVERIFY(action("Tile")->isChecked());
        QTest::keyClick(w, Qt::Key_T);
        QVERIFY(!action("Tile")->isChecked());
        QVERIFY(action("Hand")->isChecked());
        QTest::keyClick(w, Qt::Key_S);
        QVERIFY(action("Selection")->isChecked());
        QVERIFY(!action("Hand")->isChecked());

        QTest::keyClick(w, Qt::Key_L);
        QVERIFY(action("Lock size")->isChecked());
        QTest::keyClick(w, Qt::Key_Slash, Qt::KeypadModifier);
        action("Next image")->trigger();
        QCOMPARE(QString::fromStdString(w->Path()), In("b.png"));
        QCOMPARE(w->View().Zoom(), 1.0);
        // Unlocked, the next picture is fitted again.
        QTest::keyClick(w, Qt::Key_L);
        action("Previous image")->trigger();
        QCOMPARE(QString::fromStdString(w->Path()), In("a.png"));
        QVERIFY(w->View().Zoom() < 0.5);
    }

    void aDialogHoldsTheSlideshow() {
        for (const char* name : {"a.bmp", "b.bmp"})
            QVERIFY(WritePicture(In(name), 8, 8));
        ImageViewerWindow* w = Open("a.bmp");
        QTest::keyClick(w, Qt::Key_Space);
        ImageConversionDialog::SetTestRunner([w](ImageConversionDialog& d) {
            // Twenty ticks take any running slideshow one picture on.
            for (int i = 0; i < 20; ++i)
                w->Walk().Tick();
            d.reject();
        });
        QTest::keyClick(w, Qt::Key_C);
        QCOMPARE(QString::fromStdString(w->Path()), In("a.bmp"));
        for (int i = 0; i < 20 && w->Path() == Std(In("a.bmp")); ++i)
            w->Walk().Tick();
        QCOMPARE(QString::fromStdString(w->Path()), In("b.bmp"));
    }

    void zoomKeysAndThePaintedPart() {
        QVERIFY(WritePicture(In("wide.png"), 2000, 1000));
        ImageViewerWindow* w = Open("wide.png");
        const double fit = w->View().Zoom();
        QVERIFY(fit < 0.35);
        QVERIFY(w->InfoLine().startsWith("2000 x 1000, 24 Bits pp. Zoom : "));
        QTest::keyClick(w, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(w->View().Zoom(), fit * 1.2);
        QTest::keyClick(w, Qt::Key_F3);
        QCOMPARE(w->View().Zoom(), fit * 1.2 * 0.8);
        QTest::keyClick(w, Qt::Key_F4);
        QCOMPARE(w->View().Zoom(), fit);
        Screenshot(w, "image-viewer");

        QTest::keyClick(w, Qt::Key_Slash, Qt::KeypadModifier);
        QCOMPARE(w->View().Zoom(), 1.0);
        w->Area()->repaint();
        QCOMPARE(QColor(w->Area()->Buffer().pixel(0, 0)), QColor(Qt::red));
        // Scrolling stops where the picture ends, which is blue.
        for (int i = 0; i < 200; ++i)
            QTest::keyClick(w, Qt::Key_Right);
        w->Area()->repaint();
        const QImage& shown = w->Area()->Buffer();
        QCOMPARE(w->View().ScrollX(), 2000 - shown.width());
        QCOMPARE(QColor(shown.pixel(shown.width() - 1, 0)), QColor(Qt::blue));

        QTest::keyClick(w, Qt::Key_T);
        QCOMPARE(w->View().Zoom(), 1.0 * 0.8 * 0.8 * 0.8); // 2000 wide, tiles of 1024
        QVERIFY(w->InfoLine().contains("Zoom : 51.2 %"));
    }

    void emptyModePastesCopiesAndSavesAsDroppedBmp() {
        ImageViewerWindow* w = Open("");
        QCOMPARE(w->windowTitle(), QString::fromLatin1(kEmptyModeTitle));
        QImage green(64, 48, QImage::Format_RGB32);
        green.fill(Qt::green);
        QApplication::clipboard()->setImage(green);
        QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w->Image().Width(), 64);
        QCOMPARE(w->windowTitle(), QString::fromLatin1(kPastedImageTitle));

        // A selection drawn at zoom 1 is copied at its own size.
        QTest::keyClick(w, Qt::Key_S);
        const ViewLayout layout = w->View().Layout();
        QWidget* area = w->Area()->viewport();
        const QPoint from(layout.originX + 5, layout.originY + 5);
        QTest::mousePress(area, Qt::LeftButton, {}, from);
        QTest::mouseMove(area, from + QPoint(20, 10));
        QTest::mouseRelease(area, Qt::LeftButton, {}, from + QPoint(20, 10));
        QVERIFY(w->Area()->HasSelection());
        QTest::keyClick(w, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->image().size(), QSize(20, 10));

        QString proposed;
        ImageConversionDialog::SetTestRunner([&proposed](ImageConversionDialog& d) {
            proposed = d.FileNameEdit()->text();
            d.accept();
        });
        QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(proposed, In("dropped.bmp"));
        RasterImage saved;
        QVERIFY(LoadImageFile(saved, Std(In("dropped.bmp")), ImageFormatBmp));
        QCOMPARE(saved.Width(), 64);
    }

    void damagedPicturesOpenEmptyAndSaveNothing() {
        WriteBytes(In("broken.png"), QByteArray("\x89PNG\r\n\x1a\n-cut-", 13));
        ImageViewerWindow* w = Open("broken.png");
        QVERIFY(w->Image().IsEmpty());
        QVERIFY(w->InfoLine().startsWith("0 x 0, "));
        Screenshot(w, "image-viewer-damaged");
        QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(QFileInfo(In("broken.png")).size(), 13);
        QVERIFY(prompt_->asked.isEmpty());
    }

    void saveKeepsTheFormatOfTheName() {
        // A 24-bit picture under a GIF name is saved as an 8-bit GIF.
        QVERIFY(WritePicture(In("picture.gif"), 30, 20, ImageFormatBmp));
        ImageViewerWindow* w = Open("picture.gif");
        QCOMPARE(w->Image().Bits(), 24);
        QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
        RasterImage saved;
        QVERIFY(LoadImageFile(saved, Std(In("picture.gif")), ImageFormatGif));
        QCOMPARE(saved.Format(), ImageFormatGif);
        QCOMPARE(saved.Bits(), 8);
        QVERIFY(prompt_->asked.isEmpty());
    }

    void conversionWorksOnACopyUntilOk() {
        QVERIFY(WritePicture(In("photo.bmp"), 641, 480));
        ImageViewerWindow* w = Open("photo.bmp");
        QSize proposed;
        ImageConversionDialog::SetTestRunner([&proposed](ImageConversionDialog& d) {
            d.PercentBox()->setValue(50);
            proposed = QSize(d.WidthBox()->value(), d.HeightBox()->value());
            d.PercentBox()->setValue(100);
            d.NamedButton("Mirror")->click();
            d.resize(900, 640);
            Screenshot(&d, "conversion-dialog");
            d.reject();
        });
        QTest::keyClick(w, Qt::Key_C);
        QCOMPARE(proposed, QSize(320, 240));
        QCOMPARE(w->Image().GetPixelColor(0, 0), MakeRgb(255, 0, 0)); // cancelled

        ImageConversionDialog::SetTestRunner([](ImageConversionDialog& d) {
            d.NamedButton("Mirror")->click();
            d.accept();
        });
        QTest::keyClick(w, Qt::Key_C);
        QCOMPARE(w->Image().Width(), 641);
        QCOMPARE(w->Image().GetPixelColor(0, 0), MakeRgb(0, 0, 255));

        // Save as with "TGA": the BMP layout under a .tga name.
        ImageConversionDialog::SetTestRunner([](ImageConversionDialog& d) {
            d.FormatButton(5)->click();
            d.accept();
        });
        QTest::keyClick(w, Qt::Key_A, Qt::ShiftModifier | Qt::AltModifier);
        QFile tga(In("photo.tga"));
        QVERIFY(tga.open(QIODevice::ReadOnly));
        QCOMPARE(tga.read(2), QByteArray("BM"));
    }

    void saveAsWritesTheFileTheUserNamed() {
        QVERIFY(WritePicture(In("IMG_0001.JPG"), 16, 8, ImageFormatJpeg));
        ImageViewerWindow* w = Open("IMG_0001.JPG");
        ImageConversionDialog::SetTestRunner([](ImageConversionDialog& d) { d.accept(); });
        QTest::keyClick(w, Qt::Key_A, Qt::ShiftModifier | Qt::AltModifier);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{"IMG_0001.JPG"});
        QVERIFY(prompt_->asked.isEmpty());

        // A bare name is saved beside the picture, not where the program runs.
        ImageConversionDialog::SetTestRunner([](ImageConversionDialog& d) {
            d.FileNameEdit()->setText("beside-the-source");
            d.FormatButton(3)->click();
            d.accept();
        });
        QTest::keyClick(w, Qt::Key_A, Qt::ShiftModifier | Qt::AltModifier);
        QVERIFY(QFile::exists(In("beside-the-source.png")));
        QVERIFY(!QFile::exists(QDir::current().filePath("beside-the-source.png")));
        QVERIFY(prompt_->asked.isEmpty());
    }

    void conversionSizesReachTheLoadersLimit() {
        RasterImage wide;
        QVERIFY(wide.Create(12345, 2, 24));
        wide.SetPixelColor(0, 0, MakeRgb(255, 0, 0));
        wide.SetPixelColor(12344, 1, MakeRgb(0, 0, 255));
        {
            // Left as shown, a size above the old 10 000 limit stays exact.
            ImageConversionDialog d(&wide, Std(In("wide.bmp")));
            QCOMPARE(d.WidthBox()->value(), 12345);
            d.accept();
        }
        QCOMPARE(wide.Width(), 12345);
        QCOMPARE(wide.GetPixelColor(0, 0), MakeRgb(255, 0, 0));
        QCOMPARE(wide.GetPixelColor(12344, 1), MakeRgb(0, 0, 255));
        {
            ImageConversionDialog d(&wide, Std(In("wide.bmp")));
            d.WidthBox()->setValue(kMaxImageSide);
            d.accept();
        }
        QCOMPARE(wide.Width(), kMaxImageSide);
    }

    void namesThatAreNotUtf8AreWalkedSavedAndCopied() {
        const std::string dir = Std(dir_->path()) + "/d\xe9";
        QVERIFY(::mkdir(dir.c_str(), 0755) == 0);
        const std::string first = dir + "/caf\xe9.bmp", second = dir + "/\xff\xfe.bmp";
        for (const std::string& path : {first, second}) {
            QVERIFY(WritePicture(In("plain.bmp"), 8, 8));
            QVERIFY(std::rename(Std(In("plain.bmp")).c_str(), path.c_str()) == 0);
        }
        auto exists = [](const std::string& path) {
            struct stat st {};
            return ::stat(path.c_str(), &st) == 0;
        };
        ViewerHost host;
        const std::string target = Std(dir_->path()) + "/to\xff";
        QVERIFY(::mkdir(target.c_str(), 0755) == 0);
        host.chooseDestination = [&target](QWidget*) { return PathToQ(target); };
        auto* w = new ImageViewerWindow(second, dir, &host, true);
        windows_ << w;
        w->show();
        std::set<std::string> walked{w->Path()};
        for (Qt::Key key : {Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_PageUp}) {
            QTest::keyClick(w, key);
            walked.insert(w->Path());
        }
        QCOMPARE(walked, (std::set<std::string>{first, second}));
        for (Qt::Key key : {Qt::Key_PageUp, Qt::Key_PageDown})
            if (w->Path() != first)
                QTest::keyClick(w, key);
        QCOMPARE(w->Path(), first);

        // Save as: the proposed name, its bytes kept, in another format.
        ImageConversionDialog::SetTestRunner([](ImageConversionDialog& d) {
            d.FormatButton(5)->click();
            d.accept();
        });
        QTest::keyClick(w, Qt::Key_A, Qt::ShiftModifier | Qt::AltModifier);
        QVERIFY(exists(dir + "/caf\xe9.tga"));

        // F5: copied into the directory chosen among the windows.
        QTest::keyClick(w, Qt::Key_F5);
        QTRY_VERIFY_WITH_TIMEOUT(exists(target + "/" + std::string(FileNameOf(w->Path()))), 10000);
    }

    void questionsHoldTheSlideshowOnThePictureTheyName() {
        // Told apart by their widths; two are left when the questions are done.
        for (auto [name, width] :
             {std::pair{"a.bmp", 10}, {"b.bmp", 20}, {"c.bmp", 30}, {"d.bmp", 40}})
            QVERIFY(WritePicture(In(name), width, 8));
        QVERIFY(QDir(dir_->path()).mkdir("out"));
        QVERIFY(WritePicture(In("out/taken.bmp"), 99, 8));
        auto width = [](const QString& path) {
            RasterImage image;
            return LoadImageFile(image, Std(path), ImageFormatBmp) ? image.Width() : -1;
        };
        ViewerHost host;
        auto* w = new ImageViewerWindow(Std(In("a.bmp")), Std(dir_->path()), &host, true);
        windows_ << w;
        w->show();
        QTest::keyClick(w, Qt::Key_Space);
        QVERIFY(w->Walk().SlideshowRunning());

        // Longer than the slideshow shows one picture.
        std::string shownWhileAsked;
        auto linger = [w, &shownWhileAsked] {
            QTest::qWait(2600);
            shownWhileAsked = w->Path();
        };
        LingeringPrompt prompt;
        prompt.whileAsked = linger;

        prompt.answers = {UserPrompt::Answer::Yes};
        QTest::keyClick(w, Qt::Key_Delete);
        QVERIFY(prompt.asked.value(0).contains("REALLY DELETE " + In("a.bmp")));
        QCOMPARE(shownWhileAsked, Std(In("a.bmp")));
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(In("a.bmp")), 10000);

        // Save as over another file: the question names it, and the picture
        // written is the one the dialog was opened on.
        const std::string named = w->Path();
        const int namedWidth = w->Image().Width();
        ImageConversionDialog::SetTestRunner([this](ImageConversionDialog& d) {
            d.FileNameEdit()->setText(In("out/taken.bmp"));
            d.accept();
        });
        prompt.asked.clear();
        prompt.answers = {UserPrompt::Answer::Yes};
        QTest::keyClick(w, Qt::Key_A, Qt::ShiftModifier | Qt::AltModifier);
        QVERIFY(prompt.asked.value(0).startsWith(In("out/taken.bmp") + " already exists."));
        QCOMPARE(shownWhileAsked, named);
        QCOMPARE(width(In("out/taken.bmp")), namedWidth);

        // Its questions answered, the slideshow goes on.
        QTRY_VERIFY_WITH_TIMEOUT(w->Path() != named, 5000);

        std::string copied;
        for (bool move : {false, true}) {
            // The move takes another picture than the copy did.
            if (w->Path() == copied)
                QTest::keyClick(w,
                                w->Path() == Std(In("d.bmp")) ? Qt::Key_PageUp : Qt::Key_PageDown);
            const std::string transferred = w->Path();
            copied = transferred;
            host.chooseDestination = [&](QWidget*) {
                linger();
                return In("out");
            };
            QTest::keyClick(w, move ? Qt::Key_F6 : Qt::Key_F5);
            QCOMPARE(shownWhileAsked, transferred);
            const QString landed = In("out/") + PathToQ(std::string(FileNameOf(transferred)));
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(landed), 10000);
            QCOMPARE(QDir(In("out")).entryList(QDir::Files).size(), move ? 3 : 2);
            if (move)
                QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(PathToQ(transferred)), 10000);
        }
    }

    void deleteAsksThenMovesOn() {
        for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
            QVERIFY(WritePicture(In(name), 8, 8));
        ImageViewerWindow* w = Open("b.bmp");
        prompt_->answers = {UserPrompt::Answer::No};
        QTest::keyClick(w, Qt::Key_Delete);
        QVERIFY(prompt_->asked.value(0).startsWith("Are you sure you want to REALLY DELETE " +
                                                   In("b.bmp")));
        QCOMPARE(prompt_->titles.value(0), QStringLiteral("Deleting"));
        QCOMPARE(QString::fromStdString(w->Path()), In("b.bmp"));
        QVERIFY(QFile::exists(In("b.bmp")));

        prompt_->answers = {UserPrompt::Answer::Yes};
        QTest::keyClick(w, Qt::Key_Delete);
        QCOMPARE(QString::fromStdString(w->Path()), In("c.bmp"));
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(In("b.bmp")), 10000);
        QTest::keyClick(w, Qt::Key_PageUp);
        QCOMPARE(QString::fromStdString(w->Path()), In("a.bmp"));

        // A picture moved away is left as a deleted one is: the view goes
        // on to its neighbour and the walk goes on from there.
        QVERIFY(QDir(dir_->path()).mkpath("away"));
        ViewerHost host;
        host.chooseDestination = [this](QWidget*) { return In("away"); };
        auto* v = new ImageViewerWindow(Std(In("a.bmp")), Std(dir_->path()), &host, true);
        windows_ << v;
        v->show();
        QTest::keyClick(v, Qt::Key_F6);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(In("away/a.bmp")), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(v->Path()), In("c.bmp"), 10000);
        QTest::keyClick(v, Qt::Key_PageUp);
        QCOMPARE(QString::fromStdString(v->Path()), In("c.bmp")); // nothing left before it
    }
};

int RunImageViewerTests(int argc, char** argv) {
    ImageViewerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ImageViewerTest.moc"
