#include "viewers/ui/ImageConversionDialog.h"

#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"
#include "viewers/ViewerText.h"
#include "viewers/ui/ImagePreviewFrame.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvo {

namespace {

std::function<void(ImageConversionDialog&)>& TestRunner() {
    static std::function<void(ImageConversionDialog&)> runner;
    return runner;
}

const char* const kDepthTexts[] = {"1 bit (black && white)", "4 bits (16 colors)",
                                   "8 bits (palletted 256 colors)", "24 bits RGB (16 mln colors)"};

QSpinBox* Spin(QWidget* parent, int maximum) {
    auto* box = new QSpinBox(parent);
    box->setRange(0, maximum);
    box->setAccelerated(true);
    return box;
}

} // namespace

ImageConversionDialog::ImageConversionDialog(RasterImage* image, const std::string& fileName,
                                             QWidget* parent)
    : QDialog(parent), model_(image, fileName) {
    setWindowTitle(QStringLiteral("Image conversion"));
    BuildControls();
    ShowFields();
}

void ImageConversionDialog::SetTestRunner(std::function<void(ImageConversionDialog&)> runner) {
    TestRunner() = std::move(runner);
}

bool ImageConversionDialog::Run() {
    if (TestRunner()) {
        TestRunner()(*this);
        return result() == QDialog::Accepted;
    }
    return exec() == QDialog::Accepted;
}

void ImageConversionDialog::BuildControls() {
    auto* frames = new QHBoxLayout;
    original_ = new ImagePreviewFrame(QStringLiteral("Oryginal"), this);
    result_ = new ImagePreviewFrame(QStringLiteral("Result"), this);
    original_->SetImage(&model_.Source());
    result_->SetImage(&model_.Working());
    frames->addWidget(original_);
    frames->addWidget(result_);

    // Format and file name.
    auto* formatBox = new QGroupBox(QStringLiteral("Format"), this);
    auto* formatLayout = new QGridLayout(formatBox);
    formats_ = new QButtonGroup(this);
    for (int i = 0; i < static_cast<int>(kConversionFormats.size()); ++i) {
        auto* radio =
            new QRadioButton(QString::fromLatin1(kConversionFormats[size_t(i)]), formatBox);
        formats_->addButton(radio, i);
        formatLayout->addWidget(radio, i / 4, i % 4);
    }
    connect(formats_, &QButtonGroup::idClicked, this, [this](int id) {
        model_.fileName = QToPath(fileName_->text());
        model_.ChooseFormat(id);
        fileName_->setText(PathToQ(model_.fileName));
    });
    quality_ = Spin(formatBox, 100);
    formatLayout->addWidget(new QLabel(QStringLiteral("JPEG quality"), formatBox), 2, 0, 1, 2);
    formatLayout->addWidget(quality_, 2, 2, 1, 2);
    fileName_ = new QLineEdit(this);
    fileName_->setMinimumWidth(320);

    // Size and resolution.
    auto* sizeBox = new QGroupBox(QStringLiteral("Size"), this);
    auto* sizeLayout = new QFormLayout(sizeBox);
    // Every size a picture can have, so an unchanged one is never clamped.
    width_ = Spin(sizeBox, kMaxImageSide);
    height_ = Spin(sizeBox, kMaxImageSide);
    dpiX_ = Spin(sizeBox, 5000);
    dpiY_ = Spin(sizeBox, 5000);
    percent_ = Spin(sizeBox, 5000);
    percent_->setSuffix(QStringLiteral(" %"));
    sizeLayout->addRow(QStringLiteral("Width in pixels"), width_);
    sizeLayout->addRow(QStringLiteral("Height in pixels"), height_);
    sizeLayout->addRow(QStringLiteral("Percent"), percent_);
    sizeLayout->addRow(QStringLiteral("Resolution X"), dpiX_);
    sizeLayout->addRow(QStringLiteral("Resolution Y"), dpiY_);
    connect(percent_, &QSpinBox::valueChanged, this, [this](int value) {
        model_.SetPercent(value);
        width_->setValue(model_.width);
        height_->setValue(model_.height);
    });
    auto* applySize = new QPushButton(QStringLiteral("Apply"), sizeBox);
    applySize->setObjectName(QStringLiteral("applySize"));
    sizeLayout->addRow(QString(), applySize);
    connect(applySize, &QPushButton::clicked, this, [this] {
        ReadFields();
        Working([this] { model_.ApplySize(); });
    });

    // One-click transformations.
    auto* transformBox = new QGroupBox(QStringLiteral("Transformations"), this);
    auto* transformLayout = new QGridLayout(transformBox);
    auto addButton = [this, transformBox, transformLayout](const QString& text, int row, int column,
                                                           const std::function<void()>& action) {
        auto* b = new QPushButton(text, transformBox);
        transformLayout->addWidget(b, row, column);
        connect(b, &QPushButton::clicked, this, action);
    };
    addButton(QStringLiteral("Flip"), 0, 0, [this] { Working([this] { model_.Flip(); }); });
    addButton(QStringLiteral("Mirror"), 0, 1, [this] { Working([this] { model_.Mirror(); }); });
    addButton(QStringLiteral("Rotate"), 0, 2, [this] {
        AskAndRun(QStringLiteral("Set the angle :"), QString(),
                  [this](const QString& t) { model_.Rotate(ReadTypedNumber(t.toStdString())); });
    });
    addButton(QStringLiteral("Gray scale"), 1, 0,
              [this] { Working([this] { model_.GreyScale(); }); });
    addButton(QStringLiteral("Negative"), 1, 1, [this] { Working([this] { model_.Negative(); }); });
    addButton(QStringLiteral("Threshold"), 1, 2, [this] {
        AskAndRun(QStringLiteral("Set the level, 0-255 :"), QStringLiteral("100"),
                  [this](const QString& t) {
                      model_.Threshold(static_cast<int>(ReadTypedNumber(t.toStdString())));
                  });
    });
    addButton(QStringLiteral("Dither"), 2, 0, [this] {
        AskAndRun(QStringLiteral("Set the level, 0-255 :"), QString(),
                  [this](const QString& t) { model_.Dither(ReadLineNumber(t.toStdString())); });
    });
    addButton(QStringLiteral("Undo all changes"), 2, 1, [this] {
        model_.UndoAll();
        result_->update();
    });

    // Colour depth.
    auto* colourBox = new QGroupBox(QStringLiteral("Colors"), this);
    auto* colourLayout = new QVBoxLayout(colourBox);
    depths_ = new QButtonGroup(this);
    for (int i = 0; i < static_cast<int>(kConversionDepths.size()); ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(kDepthTexts[i]), colourBox);
        depths_->addButton(radio, i);
        colourLayout->addWidget(radio);
    }
    auto* applyColours = new QPushButton(QStringLiteral("Apply"), colourBox);
    applyColours->setObjectName(QStringLiteral("applyColours"));
    colourLayout->addWidget(applyColours);
    connect(applyColours, &QPushButton::clicked, this, [this] {
        ReadFields();
        Working([this] { model_.ApplyColours(); });
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ImageConversionDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ImageConversionDialog::reject);

    auto* right = new QVBoxLayout;
    right->addWidget(formatBox);
    right->addWidget(colourBox);
    auto* middle = new QVBoxLayout;
    middle->addWidget(sizeBox);
    middle->addWidget(transformBox);
    auto* controls = new QHBoxLayout;
    controls->addLayout(middle);
    controls->addLayout(right);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("File name"), this));
    nameRow->addWidget(fileName_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(frames, 1);
    layout->addLayout(controls);
    layout->addLayout(nameRow);
    layout->addWidget(buttons);
}

QAbstractButton* ImageConversionDialog::FormatButton(int index) const {
    return formats_->button(index);
}
QAbstractButton* ImageConversionDialog::DepthButton(int index) const {
    return depths_->button(index);
}

QAbstractButton* ImageConversionDialog::NamedButton(const QString& text) const {
    for (QAbstractButton* b : findChildren<QAbstractButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

void ImageConversionDialog::ShowFields() {
    if (QAbstractButton* b = formats_->button(model_.format))
        b->setChecked(true);
    quality_->setValue(model_.jpegQuality);
    width_->setValue(model_.width);
    height_->setValue(model_.height);
    dpiX_->setValue(model_.dpiX);
    dpiY_->setValue(model_.dpiY);
    {
        // The percent field proposes sizes only when the user changes it.
        const QSignalBlocker block(percent_);
        percent_->setValue(static_cast<int>(model_.percent));
    }
    fileName_->setText(PathToQ(model_.fileName));
    const auto depth = std::find(kConversionDepths.begin(), kConversionDepths.end(), model_.depth);
    if (depth != kConversionDepths.end())
        depths_->button(static_cast<int>(depth - kConversionDepths.begin()))->setChecked(true);
}

void ImageConversionDialog::ReadFields() {
    model_.fileName = QToPath(fileName_->text());
    model_.format = formats_->checkedId();
    model_.jpegQuality = quality_->value();
    model_.width = width_->value();
    model_.height = height_->value();
    model_.dpiX = dpiX_->value();
    model_.dpiY = dpiY_->value();
    model_.percent = percent_->value();
    const int depth = depths_->checkedId();
    model_.depth = depth >= 0 ? kConversionDepths[static_cast<size_t>(depth)] : 0;
}

void ImageConversionDialog::Working(const std::function<void()>& step) {
    const QString title = windowTitle();
    setWindowTitle(QStringLiteral("Converting, please wait..."));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    step();
    QApplication::restoreOverrideCursor();
    setWindowTitle(title);
    result_->update();
}

void ImageConversionDialog::AskAndRun(const QString& prompt, const QString& initial,
                                      const std::function<void(const QString&)>& step) {
    const std::optional<QString> typed =
        UserPrompt::Instance().AskText(this, QString::fromLatin1(kQuestionTitle), prompt, initial);
    if (!typed)
        return;
    Working([&] { step(*typed); });
}

void ImageConversionDialog::accept() {
    ReadFields();
    Working([this] { model_.Commit(); });
    QDialog::accept();
}

} // namespace orvo
