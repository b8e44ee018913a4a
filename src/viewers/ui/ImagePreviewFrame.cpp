#include "viewers/ui/ImagePreviewFrame.h"

#include "image/ImageTransforms.h"
#include "image/RasterImage.h"
#include "viewers/ViewportRenderer.h"

#include <QPainter>
#include <QStyleOptionGroupBox>
#include <algorithm>

namespace orvo {

ImagePreviewFrame::ImagePreviewFrame(const QString& title, QWidget* parent)
    : QGroupBox(title, parent) {
    setMinimumSize(160, 140);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ImagePreviewFrame::SetImage(const RasterImage* image) {
    image_ = image;
    update();
}

void ImagePreviewFrame::paintEvent(QPaintEvent* event) {
    QGroupBox::paintEvent(event);
    const QRect box = contentsRect().adjusted(6, 20, -6, -6);
    QPainter painter(this);
    painter.fillRect(box, palette().button());
    if (!image_ || image_->IsEmpty() || box.width() <= 0 || box.height() <= 0)
        return;
    const ImageRect fit = DrawToFit(*image_, 0, 0, box.width(), box.height());
    if (fit.width <= 0 || fit.height <= 0)
        return;
    // Only the pixels the frame shows are read, however large the picture.
    if (fitted_.size() != QSize(fit.width, fit.height))
        fitted_ = QImage(fit.width, fit.height, QImage::Format_RGB32);
    const double zoom = std::min(static_cast<double>(fit.width) / image_->Width(),
                                 static_cast<double>(fit.height) / image_->Height());
    fitted_.fill(palette().button().color());
    RenderViewport(*image_, zoom, 0, 0, 0, 0,
                   PixelBuffer{reinterpret_cast<uint32_t*>(fitted_.bits()), fitted_.width(),
                               fitted_.height(), static_cast<int>(fitted_.bytesPerLine())});
    painter.drawImage(box.x() + (box.width() - fit.width) / 2,
                      box.y() + (box.height() - fit.height) / 2, fitted_);
}

} // namespace orvo
