#include "viewers/ui/ImagePictureArea.h"

#include "image/ImageTransforms.h"
#include "viewers/ImageViewerTexts.h"
#include "viewers/ViewportRenderer.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <cstdlib>

namespace orvo {

namespace {

constexpr uint32_t kBackground = 0xff000000u;

QCursor MagnifierCursor() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    for (const auto& [colour, width] :
         {std::pair{QColor(Qt::white), 4.0}, {QColor(Qt::black), 2.0}}) {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        p.drawEllipse(QRectF(3, 3, 16, 16));
        p.drawLine(QPointF(17, 17), QPointF(28, 28));
    }
    return QCursor(pixmap, 11, 11);
}

PixelBuffer BufferOf(QImage& image) {
    return PixelBuffer{reinterpret_cast<uint32_t*>(image.bits()), image.width(), image.height(),
                       static_cast<int>(image.bytesPerLine())};
}

} // namespace

ImagePictureArea::ImagePictureArea(const RasterImage& image, ImageViewState& view, QWidget* parent)
    : QAbstractScrollArea(parent), image_(image), view_(view) {
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    // The window takes every key itself.
    setFocusPolicy(Qt::NoFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    UpdateCursor();
}

void ImagePictureArea::SetTool(Tool tool) {
    tool_ = tool;
    UpdateCursor();
}

void ImagePictureArea::SetTileMode(bool on) {
    tile_ = on;
    Refresh();
}

void ImagePictureArea::SetEmptyText(const QString& text) {
    emptyText_ = text;
    viewport()->update();
}

void ImagePictureArea::ImageChanged() {
    ++generation_;
    tileImage_.Destroy();
}

void ImagePictureArea::ClearSelection() {
    hasSelection_ = false;
    selection_ = QRect();
    viewport()->update();
}

void ImagePictureArea::Refresh() {
    view_.SetImageSize(image_.Width(), image_.Height());
    view_.SetAreaSize(viewport()->width(), viewport()->height());
    if (tile_)
        view_.ReduceForTile();
    view_.Arrange();
    UpdateScrollBars();
    // The bars may have come or gone and changed the area.
    if (view_.AreaWidth() != viewport()->width() || view_.AreaHeight() != viewport()->height()) {
        view_.SetAreaSize(viewport()->width(), viewport()->height());
        view_.Arrange();
        UpdateScrollBars();
    }
    viewport()->update();
}

void ImagePictureArea::UpdateScrollBars() {
    const ViewLayout& layout = view_.Layout();
    settingBars_ = true;
    const bool tiled = tile_;
    horizontalScrollBar()->setRange(0, tiled ? 0 : layout.maxScrollX);
    verticalScrollBar()->setRange(0, tiled ? 0 : layout.maxScrollY);
    const double zoom = view_.Zoom();
    horizontalScrollBar()->setPageStep(std::max(1, static_cast<int>(view_.AreaWidth() / zoom)));
    verticalScrollBar()->setPageStep(std::max(1, static_cast<int>(view_.AreaHeight() / zoom)));
    horizontalScrollBar()->setSingleStep(kArrowScrollStep);
    verticalScrollBar()->setSingleStep(kArrowScrollStep);
    horizontalScrollBar()->setValue(view_.ScrollX());
    verticalScrollBar()->setValue(view_.ScrollY());
    settingBars_ = false;
}

void ImagePictureArea::scrollContentsBy(int, int) {
    if (settingBars_)
        return;
    view_.SetScroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    view_.Arrange();
    viewport()->update();
    emit ViewChangedByMouse();
}

const RasterImage& ImagePictureArea::TileImage() {
    if (tileGeneration_ != generation_ || tileZoom_ != view_.Zoom() || tileImage_.IsEmpty()) {
        tileImage_ = image_;
        const int w = std::max(1, view_.ScaledWidth()), h = std::max(1, view_.ScaledHeight());
        if (w != image_.Width() || h != image_.Height())
            Resample(tileImage_, w, h, ResampleNearest);
        tileGeneration_ = generation_;
        tileZoom_ = view_.Zoom();
    }
    return tileImage_;
}

void ImagePictureArea::paintEvent(QPaintEvent*) {
    const QSize size = viewport()->size();
    if (buffer_.size() != size)
        buffer_ = QImage(size, QImage::Format_RGB32);
    if (buffer_.isNull())
        return;
    PixelBuffer out = BufferOf(buffer_);
    if (view_.AreaWidth() != size.width() || view_.AreaHeight() != size.height()) {
        view_.SetAreaSize(size.width(), size.height());
        view_.Arrange();
    }
    const ViewLayout& layout = view_.Layout();
    if (tile_ && !image_.IsEmpty()) {
        FillBuffer(out, kBackground);
        RenderTiles(TileImage(), out);
    } else {
        if (!layout.coversArea || image_.IsEmpty())
            FillBuffer(out, kBackground);
        RenderViewport(image_, view_.Zoom(), view_.ScrollX(), view_.ScrollY(), layout.originX,
                       layout.originY, out);
    }
    QPainter painter(viewport());
    painter.drawImage(0, 0, buffer_);
    if (image_.IsEmpty() && !emptyText_.isEmpty()) {
        painter.setPen(Qt::white);
        painter.drawText(viewport()->rect().adjusted(20, 20, -20, -20),
                         Qt::AlignCenter | Qt::TextWordWrap, emptyText_);
    }
    // Rectangles are drawn inverted, so they show on any picture.
    auto drawInverted = [&painter](const QRect& r) {
        painter.save();
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.normalized().adjusted(0, 0, -1, -1));
        painter.restore();
    };
    if (dragging_ && tool_ != Tool::Hand)
        drawInverted(DragRect(cursorPos_));
    else if (hasSelection_)
        drawInverted(selection_);
}

void ImagePictureArea::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    emit AreaResized();
    Refresh();
}

void ImagePictureArea::UpdateCursor() {
    switch (tool_) {
    case Tool::Hand:
        viewport()->setCursor(dragging_ ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
        break;
    case Tool::Magnify:
        viewport()->setCursor(MagnifierCursor());
        break;
    case Tool::Selection:
        viewport()->setCursor(Qt::CrossCursor);
        break;
    }
}

QRect ImagePictureArea::DragRect(const QPoint& to) const {
    // From the press point to the cursor, both ways; a click is empty.
    return QRect(QPoint(std::min(pressPos_.x(), to.x()), std::min(pressPos_.y(), to.y())),
                 QSize(std::abs(to.x() - pressPos_.x()), std::abs(to.y() - pressPos_.y())));
}

void ImagePictureArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    pressPos_ = cursorPos_ = event->position().toPoint();
    pressScrollX_ = view_.ScrollX();
    pressScrollY_ = view_.ScrollY();
    UpdateCursor();
}

void ImagePictureArea::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_)
        return;
    const QPoint pos = event->position().toPoint();
    if (pos == cursorPos_)
        return;
    cursorPos_ = pos;
    if (tool_ == Tool::Hand) {
        if (view_.FitsArea())
            return;
        view_.DragTo(pressScrollX_, pressScrollY_, pos.x() - pressPos_.x(),
                     pos.y() - pressPos_.y());
        view_.Arrange();
        UpdateScrollBars();
        viewport()->update();
        emit ViewChangedByMouse();
        return;
    }
    const QRect r = DragRect(pos);
    const double zoom = view_.Zoom();
    emit RectangleSize(QString::fromStdString(
        DragSizeText(static_cast<int>(r.width() / zoom), static_cast<int>(r.height() / zoom))));
    viewport()->update();
}

void ImagePictureArea::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_)
        return;
    dragging_ = false;
    const QRect r = DragRect(event->position().toPoint());
    UpdateCursor();
    if (tool_ == Tool::Selection) {
        hasSelection_ = r.width() > 0 && r.height() > 0;
        selection_ = r;
        viewport()->update();
        emit ViewChangedByMouse();
    } else if (tool_ == Tool::Magnify) {
        view_.Magnify(ImageRect{r.x(), r.y(), r.width(), r.height()},
                      (event->modifiers() & Qt::ShiftModifier) != 0);
        hasSelection_ = false;
        Refresh();
        emit ViewChangedByMouse();
    } else {
        viewport()->update();
    }
}

void ImagePictureArea::contextMenuEvent(QContextMenuEvent* event) {
    emit ContextMenuWanted(event->globalPos());
}

} // namespace orvo
