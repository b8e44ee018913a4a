#include "ViewerTestSupport.h"
#include "browse/ui/QuietPlayback.h"
#include "viewers/ui/MediaPlayerWindow.h"
#include "viewers/ui/ViewerHost.h"

#include <QMediaPlayer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvo;
using namespace orvo::test;

// Without a sound device (as on a test machine) the player may fail; the
// window must then say so, and the checks hold either way.
class MediaPlayerTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void titleAndStopOnClose() {
        const QString path = dir_.filePath("clip.wav");
        WriteSilentWav(path);
        ViewerHost host;
        QSignalSpy closed(&host, &ViewerHost::ViewerClosed);
        QPointer<MediaPlayerWindow> w = new MediaPlayerWindow(Std(path), &host, true);
        QVERIFY(w->isVisible()); // the player shows itself
        QCOMPARE(w->windowTitle(), "clip.wav in " + dir_.path());
        if (!MediaPlaybackInstalled()) {
            // No decoders: no player is made (the system's would crash) and
            // the window says why.
            QVERIFY(!w->Player());
            QVERIFY(w->ErrorText().contains("No media playback"));
            w->close();
            QTRY_VERIFY(w.isNull());
            QSKIP("the media framework has no decoders on this machine");
        }
        QTRY_VERIFY_WITH_TIMEOUT(w->Player()->playbackState() == QMediaPlayer::PlayingState ||
                                     !w->ErrorText().isEmpty(),
                                 5000);
        QVERIFY(w->Player()->error() == QMediaPlayer::NoError || !w->ErrorText().isEmpty());
        w->close();
        QCOMPARE(w->Player()->playbackState(), QMediaPlayer::StoppedState);
        QVERIFY(!w->isVisible());
        QTRY_VERIFY(w.isNull());
        QCOMPARE(closed.count(), 1);
    }

    void unplayableFilesAreToldInTheWindow() {
        const QString path = dir_.filePath("broken.mp3");
        WriteBytes(path, "this is no sound at all");
        QPointer<MediaPlayerWindow> w = new MediaPlayerWindow(Std(path), nullptr, true);
        QTRY_VERIFY_WITH_TIMEOUT(!w->ErrorText().isEmpty(), 5000);
        w->close();
        QTRY_VERIFY(w.isNull());
    }

    void quietPlaybackStartsAndStops() {
        const QString path = dir_.filePath("hover.wav");
        WriteSilentWav(path);
        if (!MediaPlaybackInstalled())
            QSKIP("the media framework has no decoders on this machine");
        PlayQuietly(path);
        QVERIFY(QuietPlayer());
        QCOMPARE(QuietPlayer()->source(), QUrl::fromLocalFile(path));
        StopQuietPlayback();
        QCOMPARE(QuietPlayer()->playbackState(), QMediaPlayer::StoppedState);
        QVERIFY(QuietlyPlayingPath().isEmpty());
        QVERIFY(QuietPlayer()->source().isEmpty());
        QVERIFY(PlaysOnHover("/music/song.MP3"));
        QVERIFY(PlaysOnHover("/music/tune.mid"));
        QVERIFY(!PlaysOnHover("/films/clip.avi"));
        QVERIFY(!PlaysOnHover("/music.wav/readme"));
    }
};

int RunMediaPlayerTests(int argc, char** argv) {
    MediaPlayerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MediaPlayerTest.moc"
