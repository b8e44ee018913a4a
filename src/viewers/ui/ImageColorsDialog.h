#pragma once

#include "viewers/ImageConversion.h"

#include <QDialog>
#include <functional>

class QSlider;

namespace orvo {

class ImagePreviewFrame;

// "Image colors conversion": light, contrast and the red, green and blue
// offsets, previewed beside the source as the sliders move; OK applies
// them to the picture in one step.
class ImageColorsDialog : public QDialog {
    Q_OBJECT
public:
    ImageColorsDialog(RasterImage* image, QWidget* parent = nullptr);

    bool Run();
    static void SetTestRunner(std::function<void(ImageColorsDialog&)> runner);

    const ImageColorsConversion& Model() const { return model_; }
    QSlider* LightSlider() const { return light_; }
    QSlider* ContrastSlider() const { return contrast_; }
    QSlider* RedSlider() const { return red_; }
    QSlider* GreenSlider() const { return green_; }
    QSlider* BlueSlider() const { return blue_; }

    void accept() override;

private:
    void Recompute();

    ImageColorsConversion model_;
    ImagePreviewFrame* original_;
    ImagePreviewFrame* result_;
    QSlider* light_;
    QSlider* contrast_;
    QSlider* red_;
    QSlider* green_;
    QSlider* blue_;
};

} // namespace orvo
