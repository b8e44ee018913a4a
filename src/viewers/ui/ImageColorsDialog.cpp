#include "viewers/ui/ImageColorsDialog.h"

#include "viewers/ui/ImagePreviewFrame.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace orvo {

namespace {

// The preview follows the sliders on a copy this large at most; the
// frames show less than that anyway.
constexpr int kPreviewLimit = 640;

std::function<void(ImageColorsDialog&)>& TestRunner() {
    static std::function<void(ImageColorsDialog&)> runner;
    return runner;
}

} // namespace

ImageColorsDialog::ImageColorsDialog(RasterImage* image, QWidget* parent)
    : QDialog(parent), model_(image, kPreviewLimit) {
    setWindowTitle(QStringLiteral("Image colors conversion"));
    original_ = new ImagePreviewFrame(QStringLiteral("Oryginal"), this);
    result_ = new ImagePreviewFrame(QStringLiteral("Result"), this);
    original_->SetImage(&model_.Source());
    result_->SetImage(&model_.Working());
    auto* frames = new QHBoxLayout;
    frames->addWidget(original_);
    frames->addWidget(result_);

    auto* grid = new QGridLayout;
    int row = 0;
    auto slider = [this, grid, &row](const QString& label, int maximum, int value) {
        auto* s = new QSlider(Qt::Horizontal, this);
        s->setRange(0, maximum);
        s->setValue(value);
        auto* shown = new QLabel(QString::number(value), this);
        shown->setMinimumWidth(36);
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(s, row, 1);
        grid->addWidget(shown, row, 2);
        connect(s, &QSlider::valueChanged, shown, [shown](int v) { shown->setNum(v); });
        connect(s, &QSlider::valueChanged, this, &ImageColorsDialog::Recompute);
        ++row;
        return s;
    };
    auto reset = [this, grid](int gridRow, const std::function<void()>& action) {
        auto* b = new QPushButton(QStringLiteral("Reset"), this);
        grid->addWidget(b, gridRow, 3);
        connect(b, &QPushButton::clicked, this, action);
    };
    light_ = slider(QStringLiteral("Light"), 512, 255);
    reset(0, [this] {
        light_->setValue(255);
        Recompute();
    });
    contrast_ = slider(QStringLiteral("Contrast"), 1000, 100);
    reset(1, [this] {
        contrast_->setValue(100);
        Recompute();
    });
    red_ = slider(QStringLiteral("Red"), 255, 128);
    green_ = slider(QStringLiteral("Green"), 255, 128);
    blue_ = slider(QStringLiteral("Blue"), 255, 128);
    reset(2, [this] {
        for (QSlider* s : {red_, green_, blue_}) {
            const QSignalBlocker block(s);
            s->setRange(0, 255);
            s->setValue(128);
        }
        Recompute();
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ImageColorsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ImageColorsDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(frames, 1);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    resize(620, 480);
}

void ImageColorsDialog::SetTestRunner(std::function<void(ImageColorsDialog&)> runner) {
    TestRunner() = std::move(runner);
}

bool ImageColorsDialog::Run() {
    if (TestRunner()) {
        TestRunner()(*this);
        return result() == QDialog::Accepted;
    }
    return exec() == QDialog::Accepted;
}

void ImageColorsDialog::Recompute() {
    model_.light = light_->value();
    model_.contrast = contrast_->value();
    model_.red = red_->value();
    model_.green = green_->value();
    model_.blue = blue_->value();
    model_.Preview();
    result_->update();
}

void ImageColorsDialog::accept() {
    Recompute();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    model_.Commit();
    QApplication::restoreOverrideCursor();
    QDialog::accept();
}

} // namespace orvo
