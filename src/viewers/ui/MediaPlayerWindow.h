#pragma once

#include <QBasicTimer>
#include <QPointer>
#include <QSize>
#include <QWidget>
#include <string>

class QLabel;
class QMediaPlayer;
class QAudioOutput;
class QSlider;
class QToolButton;
class QVideoWidget;

namespace orvo {

class ViewerHost;

// Plays one sound or video file in a small window that takes the size of
// the video once it is known. A file that cannot be played, or a system
// without sound output, is told in the window itself.
class MediaPlayerWindow : public QWidget {
    Q_OBJECT
public:
    MediaPlayerWindow(const std::string& path, ViewerHost* host, bool openedByQuickView,
                      QWidget* owner = nullptr);
    ~MediaPlayerWindow() override;

    QMediaPlayer* Player() const { return player_; }
    QVideoWidget* Video() const { return video_; }
    // What went wrong, as the window shows it; empty while all is well.
    QString ErrorText() const;
    bool OpenedByQuickView() const { return openedByQuickView_; }

    // The 200 ms size watch: once the video's size is known (or changes),
    // the window fits it.
    void SizeTick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void ShowError(const QString& text);
    void FitVideo(const QSize& size);
    void UpdatePosition(qint64 position);

    std::string path_;
    bool openedByQuickView_ = false;
    QPointer<ViewerHost> host_;
    QBasicTimer timer_;
    QSize videoSize_;

    QMediaPlayer* player_ = nullptr; // none when nothing can be decoded
    QAudioOutput* audio_ = nullptr;
    QVideoWidget* video_;
    QToolButton* playPause_;
    QSlider* position_;
    QLabel* time_;
    QLabel* error_;
};

} // namespace orvo
