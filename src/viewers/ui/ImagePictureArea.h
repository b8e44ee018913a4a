#pragma once

#include "image/RasterImage.h"
#include "viewers/ImageViewState.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QRect>
#include <cstdint>

namespace orvo {

// The picture area of the image viewer: paints the visible part of the
// picture at the viewer's zoom (or the picture tiled), keeps the scroll
// bars on the scroll offsets, and runs the three mouse tools.
class ImagePictureArea : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum class Tool { Hand = 0, Magnify = 1, Selection = 2 };

    ImagePictureArea(const RasterImage& image, ImageViewState& view, QWidget* parent = nullptr);

    Tool CurrentTool() const { return tool_; }
    void SetTool(Tool tool);
    bool TileMode() const { return tile_; }
    void SetTileMode(bool on);
    // Shown in the area while there is no picture (why a file did not load).
    void SetEmptyText(const QString& text);

    // The picture itself changed (loaded, pasted, converted).
    void ImageChanged();
    // After any change of the picture or the view: the view is arranged
    // for the area as it is now, the scroll bars follow, the area repaints.
    void Refresh();

    bool HasSelection() const { return hasSelection_; }
    QRect Selection() const { return selection_; }
    void ClearSelection();

    // What the last paint drew, for tests and screenshots.
    const QImage& Buffer() const { return buffer_; }

signals:
    // A mouse tool changed the zoom or the scroll offsets.
    void ViewChangedByMouse();
    // The size in image pixels of the rectangle being drawn.
    void RectangleSize(const QString& text);
    void ContextMenuWanted(const QPoint& globalPos);
    void AreaResized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void UpdateCursor();
    void UpdateScrollBars();
    const RasterImage& TileImage();
    QRect DragRect(const QPoint& to) const;

    const RasterImage& image_;
    ImageViewState& view_;
    Tool tool_ = Tool::Hand;
    bool tile_ = false;
    QString emptyText_;
    QImage buffer_;

    RasterImage tileImage_;
    uint64_t generation_ = 1;
    uint64_t tileGeneration_ = 0;
    double tileZoom_ = 0;

    bool dragging_ = false;
    QPoint pressPos_;
    QPoint cursorPos_;
    int pressScrollX_ = 0;
    int pressScrollY_ = 0;
    bool hasSelection_ = false;
    QRect selection_;
    bool settingBars_ = false;
};

} // namespace orvo
