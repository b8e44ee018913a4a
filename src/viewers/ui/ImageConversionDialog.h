#pragma once

#include "viewers/ImageConversion.h"

#include <QDialog>
#include <functional>
#include <string>

class QAbstractButton;
class QButtonGroup;
class QLineEdit;
class QSpinBox;

namespace orvo {

class ImagePreviewFrame;

// "Image conversion": format, JPEG quality, size and resolution, the
// one-click transformations and the colour depth, worked on a copy of the
// picture shown beside the source; OK writes the result back in one step.
class ImageConversionDialog : public QDialog {
    Q_OBJECT
public:
    // image may be null: the dialog then works on an empty picture of its own.
    ImageConversionDialog(RasterImage* image, const std::string& fileName,
                          QWidget* parent = nullptr);

    // Runs the dialog modally (or through the test runner); true for OK.
    bool Run();
    // Tests drive the dialog's controls through this instead of a modal loop
    // and end it with accept() or reject().
    static void SetTestRunner(std::function<void(ImageConversionDialog&)> runner);

    const ImageConversion& Model() const { return model_; }

    QSpinBox* PercentBox() const { return percent_; }
    QSpinBox* WidthBox() const { return width_; }
    QSpinBox* HeightBox() const { return height_; }
    QSpinBox* QualityBox() const { return quality_; }
    QLineEdit* FileNameEdit() const { return fileName_; }
    QAbstractButton* FormatButton(int index) const;
    QAbstractButton* DepthButton(int index) const;
    QAbstractButton* NamedButton(const QString& text) const;

    void accept() override;

private:
    void BuildControls();
    void ReadFields();
    void ShowFields();
    // Runs a step on the working picture under the "please wait" title.
    void Working(const std::function<void()>& step);
    void AskAndRun(const QString& prompt, const QString& initial,
                   const std::function<void(const QString&)>& step);

    ImageConversion model_;
    ImagePreviewFrame* original_;
    ImagePreviewFrame* result_;
    QButtonGroup* formats_;
    QButtonGroup* depths_;
    QSpinBox* quality_;
    QSpinBox* width_;
    QSpinBox* height_;
    QSpinBox* dpiX_;
    QSpinBox* dpiY_;
    QSpinBox* percent_;
    QLineEdit* fileName_;
};

} // namespace orvo
