#pragma once

#include <QElapsedTimer>
#include <QIcon>
#include <QImage>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvo {

class COrvoBrowserView;
class ThumbnailPool;

// The background loading of one browse window: row icons in short slices
// on the interface thread, and in thumbnail mode the rows' pictures made by
// the shared thumbnail pool (rows on screen first) and handed back here.
// Every restart starts a new generation; results of an older one are
// dropped, so a rebuilt listing never shows another listing's pictures.
class BackgroundLoader : public QObject {
    Q_OBJECT
public:
    explicit BackgroundLoader(COrvoBrowserView* view, ThumbnailPool* pool = nullptr);
    ~BackgroundLoader() override;

    // Starts loading the view's rows afresh: icons, and thumbnails of edge
    // pixels when thumbnails is set. forgetIcons also drops the icons
    // already known.
    void Restart(bool thumbnails, int edge, bool forgetIcons);
    // Loads nothing more until the next Restart (the window is going).
    void Stop();

    // The row's icon, made now when it is not known yet.
    QIcon Icon(int row);
    // The row's thumbnail; null while it is not made (the row is then moved
    // ahead in the queue) or when the row has none.
    QImage Thumbnail(int row);

    bool AllLoaded() const { return allLoaded_; }
    bool ThumbnailMode() const { return thumbnails_; }
    int ThumbnailEdge() const { return edge_; }
    uint64_t Generation() const { return generation_; }
    // Thumbnails held now; the least recently drawn ones are let go when
    // they would take more memory than the limit, and made again (from
    // the thumbnail cache) when they are drawn again.
    size_t ThumbnailCount() const { return thumbnailImages_.size(); }
    void SetThumbnailMemoryLimit(size_t bytes) { memoryLimit_ = bytes; }
    // Thumbnails asked for in this generation and not yet back.
    size_t ThumbnailsPending() const;

signals:
    // The frame caption: the loading progress, or the plain title again.
    void CaptionChanged(const QString& caption);
    // Everything of the current generation is loaded.
    void Finished();

private:
    struct Delivery {
        uint64_t generation = 0;
        std::string path;
        int outcome = 0;
        QImage picture;
        std::string message;
    };

    void Step();
    void TakeDeliveries();
    void ShowDamagedMessages();
    void UpdateCaption(const std::string& path, bool force);
    void CheckFinished();
    void Keep(const std::string& path, QImage picture);
    int RowOfPath(const std::string& path);
    static bool WantsThumbnail(bool directory, std::string_view extension);

    COrvoBrowserView* view_;
    ThumbnailPool* pool_;
    int client_ = 0;
    uint64_t generation_ = 0;
    bool thumbnails_ = false;
    int edge_ = 96;
    bool allLoaded_ = true;
    int iconCursor_ = 0;
    size_t thumbnailsAsked_ = 0;
    std::unordered_map<std::string, QIcon> icons_;
    struct Kept {
        QImage picture;
        uint64_t lastUse = 0;
    };
    std::unordered_map<std::string, Kept> thumbnailImages_;
    size_t keptBytes_ = 0;
    size_t memoryLimit_;
    uint64_t useClock_ = 0;
    std::unordered_set<std::string> letGo_;       // made, then dropped for memory
    std::unordered_set<std::string> makingAgain_; // asked again after being let go
    std::unordered_set<std::string> thumbnailsDone_;
    std::unordered_map<std::string, int> rowOfPath_;
    QTimer stepTimer_;
    QElapsedTimer captionClock_;
    std::string lastFile_;

    std::mutex inboxMutex_;
    std::vector<Delivery> inbox_;

    std::deque<QString> damagedMessages_;
    bool showingMessage_ = false;
};

} // namespace orvo
