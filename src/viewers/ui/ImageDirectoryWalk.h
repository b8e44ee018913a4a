#pragma once

#include "viewers/ImageList.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <string>

namespace orvo {

class ImageViewerWindow;

// The image viewer's way through the pictures of its directory: Next,
// Previous, First, Last and the slideshow's clock. The list is read at the
// first step and read again when a file operation changes the directory.
class ImageDirectoryWalk : public QObject {
    Q_OBJECT
public:
    explicit ImageDirectoryWalk(ImageViewerWindow& window);

    void Next();
    void Previous();
    void First();
    void Last();

    void ToggleSlideshow();
    bool SlideshowRunning() const { return slideshow_; }
    // One 100 ms tick of the slideshow clock.
    void Tick();
    // While a dialog or question of the viewer is open the slideshow stays
    // on the picture it is about; holds nest.
    class Hold {
    public:
        explicit Hold(ImageDirectoryWalk& walk) : walk_(walk) { ++walk_.holds_; }
        ~Hold() { --walk_.holds_; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        ImageDirectoryWalk& walk_;
    };
    bool Held() const { return holds_ > 0; }
    void StopClock();

    // The window moved to another directory.
    void DirectoryChanged();
    // The picture to show instead of one about to be deleted: the next,
    // or for the last one the one before it.
    std::string NeighbourOf(const std::string& path);
    void Forget(const std::string& path);

signals:
    void SlideshowToggled(bool running);

private:
    void EnsurePictureList();
    void GoTo(const std::string& path);
    std::string ListDirectory() const;
    void OnDirectoriesChanged(const QStringList& directories);

    ImageViewerWindow& window_;
    ImageList list_;
    QTimer clock_;
    bool slideshow_ = false;
    int holds_ = 0;
    int ticks_ = 0;
};

} // namespace orvo
