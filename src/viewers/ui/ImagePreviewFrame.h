#pragma once

#include <QGroupBox>
#include <QImage>

namespace orvo {

class RasterImage;

// A titled frame that shows a picture fitted into it, keeping its aspect
// ratio, on the button-face colour ("Oryginal" and "Result").
class ImagePreviewFrame : public QGroupBox {
    Q_OBJECT
public:
    ImagePreviewFrame(const QString& title, QWidget* parent = nullptr);
    // The picture is read at every paint; it must outlive the frame or be
    // replaced first.
    void SetImage(const RasterImage* image);
    QSize sizeHint() const override { return QSize(260, 220); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const RasterImage* image_ = nullptr;
    QImage fitted_;
};

} // namespace orvo
