#include "viewers/ui/MediaPlayerWindow.h"

#include "browse/ui/QuietPlayback.h"
#include "platform/PathText.h"
#include "viewers/ui/ViewerHost.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QTimerEvent>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoSink>
#include <QVideoWidget>

namespace orvo {

namespace {

constexpr int kSizeWatchMs = 200;

QString TimeText(qint64 ms) {
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

MediaPlayerWindow::MediaPlayerWindow(const std::string& path, ViewerHost* host,
                                     bool openedByQuickView, QWidget* owner)
    : QWidget(owner, Qt::Window), path_(path), openedByQuickView_(openedByQuickView), host_(host) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(
        QString::fromStdString(std::string(FileNameOf(path)) + " in " + ParentDirectoryOf(path)));
    video_ = new QVideoWidget(this);
    video_->hide();
    if (MediaPlaybackInstalled()) {
        player_ = new QMediaPlayer(this);
        audio_ = new QAudioOutput(this);
        player_->setAudioOutput(audio_);
        player_->setVideoOutput(video_);
    }

    playPause_ = new QToolButton(this);
    playPause_->setIcon(style()->standardIcon(QStyle::SP_MediaPause));
    playPause_->setToolTip(QStringLiteral("Play / pause"));
    position_ = new QSlider(Qt::Horizontal, this);
    time_ = new QLabel(TimeText(0), this);
    error_ = new QLabel(this);
    error_->setWordWrap(true);
    error_->setStyleSheet(QStringLiteral("color: #b00000;"));
    error_->hide();
    auto* controls = new QHBoxLayout;
    controls->addWidget(playPause_);
    controls->addWidget(position_, 1);
    controls->addWidget(time_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(video_, 1);
    layout->addLayout(controls);
    layout->addWidget(error_);

    if (player_) {
        connect(playPause_, &QToolButton::clicked, this, [this] {
            if (player_->playbackState() == QMediaPlayer::PlayingState)
                player_->pause();
            else
                player_->play();
        });
        connect(player_, &QMediaPlayer::playbackStateChanged, this,
                [this](QMediaPlayer::PlaybackState s) {
                    playPause_->setIcon(style()->standardIcon(s == QMediaPlayer::PlayingState
                                                                  ? QStyle::SP_MediaPause
                                                                  : QStyle::SP_MediaPlay));
                });
        connect(player_, &QMediaPlayer::durationChanged, this,
                [this](qint64 d) { position_->setRange(0, static_cast<int>(d)); });
        connect(player_, &QMediaPlayer::positionChanged, this, &MediaPlayerWindow::UpdatePosition);
        connect(position_, &QSlider::sliderMoved, player_,
                [this](int v) { player_->setPosition(v); });
        connect(player_, &QMediaPlayer::errorOccurred, this,
                [this](QMediaPlayer::Error, const QString& text) {
                    ShowError(text.isEmpty() ? QStringLiteral("The file cannot be played.") : text);
                });
    }

    resize(480, 80);
    if (!player_ || !player_->isAvailable())
        ShowError(QStringLiteral("No media playback is available on this system (are the GStreamer "
                                 "plugins installed?)."));
    else if (QMediaDevices::audioOutputs().isEmpty())
        ShowError(QStringLiteral("No sound output is available: the sound cannot be heard."));
    if (player_) {
        player_->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
        player_->play();
    }
    timer_.start(kSizeWatchMs, this);
    show();
    raise();
}

MediaPlayerWindow::~MediaPlayerWindow() {
    timer_.stop();
    if (player_)
        player_->stop();
    if (host_)
        host_->NotifyClosed(this);
}

QString MediaPlayerWindow::ErrorText() const {
    return error_->isHidden() ? QString() : error_->text();
}

void MediaPlayerWindow::ShowError(const QString& text) {
    error_->setText(text);
    error_->show();
}

void MediaPlayerWindow::UpdatePosition(qint64 position) {
    if (!position_->isSliderDown())
        position_->setValue(static_cast<int>(position));
    time_->setText(TimeText(position) + QStringLiteral(" / ") +
                   TimeText(player_ ? player_->duration() : 0));
}

void MediaPlayerWindow::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timer_.timerId())
        SizeTick();
    else
        QWidget::timerEvent(event);
}

void MediaPlayerWindow::SizeTick() {
    const QSize size = player_ && player_->hasVideo() && video_->videoSink()
                           ? video_->videoSink()->videoSize()
                           : QSize();
    if (size == videoSize_)
        return;
    videoSize_ = size;
    FitVideo(size);
}

void MediaPlayerWindow::FitVideo(const QSize& size) {
    if (!size.isValid() || size.isEmpty()) {
        video_->hide();
        return;
    }
    // The video keeps its own size unless the screen is smaller.
    QSize shown = size;
    if (const QScreen* screen =
            this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QSize room = screen->availableSize() * 9 / 10;
        if (shown.width() > room.width() || shown.height() > room.height())
            shown.scale(room, Qt::KeepAspectRatio);
    }
    video_->setMinimumSize(shown);
    video_->show();
    adjustSize();
    video_->setMinimumSize(QSize(1, 1));
}

void MediaPlayerWindow::keyPressEvent(QKeyEvent* event) {
    // Escape is Cancel, which closes the player.
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void MediaPlayerWindow::closeEvent(QCloseEvent* event) {
    // The sound stops with the window, not when the object is freed later.
    hide();
    timer_.stop();
    if (player_)
        player_->stop();
    QWidget::closeEvent(event);
}

} // namespace orvo
