#include "browse/ui/QuietPlayback.h"

#include "browse/HoverInfo.h"
#include "platform/PathText.h"
#include "platform/ui/QtText.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QMediaFormat>
#include <QMediaPlayer>
#include <QPointer>
#include <QUrl>

namespace orvo {

namespace {

// Softer than a viewer: the sound starts only because the pointer rests
// on a file.
constexpr float kQuietVolume = 0.4f;

struct QuietState {
    QPointer<QMediaPlayer> player;
    QString path;
};

QuietState& State() {
    static QuietState state;
    return state;
}

QMediaPlayer* EnsurePlayer() {
    QuietState& state = State();
    if (!state.player) {
        // Owned by the application object, so it goes before Qt does.
        auto* player = new QMediaPlayer(QCoreApplication::instance());
        auto* output = new QAudioOutput(player);
        output->setVolume(kQuietVolume);
        player->setAudioOutput(output);
        QObject::connect(player, &QMediaPlayer::errorOccurred, player,
                         [] { State().path.clear(); });
        QObject::connect(player, &QMediaPlayer::mediaStatusChanged, player,
                         [](QMediaPlayer::MediaStatus status) {
                             if (status == QMediaPlayer::EndOfMedia ||
                                 status == QMediaPlayer::InvalidMedia)
                                 State().path.clear();
                         });
        state.player = player;
    }
    return state.player;
}

} // namespace

bool PlaysOnHover(const QString& path) {
    const QString extension = ToQ(SplitExtension(FileNameOf(QToPath(path))).extension);
    if (extension.isEmpty())
        return false;
    const QStringList list = QString::fromLatin1(HoverPlayExtensionList).split(QLatin1Char(';'));
    return list.contains(extension, Qt::CaseInsensitive);
}

bool MediaPlaybackInstalled() {
    static const bool installed =
        !QMediaFormat().supportedFileFormats(QMediaFormat::Decode).isEmpty();
    return installed;
}

void PlayQuietly(const QString& path) {
    if (!MediaPlaybackInstalled())
        return;
    QMediaPlayer* player = EnsurePlayer();
    if (State().path == path && player->playbackState() == QMediaPlayer::PlayingState)
        return;
    player->stop();
    State().path = path;
    player->setSource(QUrl::fromLocalFile(path));
    player->play();
}

void StopQuietPlayback() {
    QuietState& state = State();
    state.path.clear();
    if (state.player) {
        state.player->stop();
        // Let go of the file, so it can be renamed or deleted at once.
        state.player->setSource(QUrl());
    }
}

QString QuietlyPlayingPath() {
    return State().path;
}

QMediaPlayer* QuietPlayer() {
    return State().player;
}

} // namespace orvo
