#include "assist/ui/TipDialog.h"

#include "assist/TipOfDay.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace orvo {

namespace {
std::function<void(TipDialog&)>& TestRunner() {
    static std::function<void(TipDialog&)> runner;
    return runner;
}
} // namespace

// The framed picture area the current tip is drawn on.
class TipArea : public QWidget {
public:
    explicit TipArea(QWidget* parent) : QWidget(parent) { setMinimumSize(420, 200); }
    void SetText(const QString& text) {
        text_ = text;
        text_.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QRect frame = rect().adjusted(0, 0, -1, -1);
        p.fillRect(rect(), palette().color(QPalette::Window).darker(105));
        p.fillRect(QRect(50, 0, width() - 50, height()), Qt::white);
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(frame);
        QIcon icon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
        icon.paint(&p, QRect(9, 12, 32, 32));
        QFont title = font();
        title.setBold(true);
        title.setPointSizeF(title.pointSizeF() * 1.3);
        p.setFont(title);
        p.setPen(Qt::black);
        p.drawText(QRect(60, 14, width() - 65, 40), Qt::AlignLeft | Qt::AlignVCenter,
                   tr("Did you know..."));
        p.setFont(font());
        // The tip begins 60 pixels in and 70 down and keeps 5 pixels clear
        // of the right edge; five blanks indent its first line.
        QRect textRect(60, 70, width() - 65, height() - 75);
        p.drawText(textRect, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("     ") + text_);
    }

private:
    QString text_;
};

TipDialog::TipDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Tip of the day"));
    area_ = new TipArea(this);
    allText_ = new QPlainTextEdit(this);
    allText_->setReadOnly(true);
    allText_->hide();
    next_ = new QPushButton(tr("Show Next tip"), this);
    all_ = new QPushButton(tr("Show all tips"), this);
    resetButton_ = new QPushButton(tr("Reset"), this);
    auto* close = new QPushButton(tr("Close"), this);
    startup_ = new QCheckBox(tr("Show tooltips at startup"), this);
    close->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(startup_);
    buttons->addStretch();
    buttons->addWidget(next_);
    buttons->addWidget(all_);
    buttons->addWidget(resetButton_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(area_, 1);
    layout->addWidget(allText_, 1);
    layout->addLayout(buttons);

    connect(next_, &QPushButton::clicked, this, &TipDialog::ShowNextTip);
    connect(all_, &QPushButton::clicked, this, &TipDialog::ToggleAllTips);
    connect(resetButton_, &QPushButton::clicked, this, &TipDialog::ResetTips);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(560, 300);
}

void TipDialog::SetTips(const QStringList& tips, int index) {
    tips_ = tips;
    index_ = NormalizeTipIndex(index, static_cast<size_t>(tips_.size()));
    area_->SetText(CurrentTip());
}

QString TipDialog::CurrentTip() const {
    return index_ >= 0 && index_ < tips_.size() ? tips_[index_] : QString();
}

bool TipDialog::ShowAtStartup() const { return startup_->isChecked(); }
void TipDialog::SetShowAtStartup(bool on) { startup_->setChecked(on); }

void TipDialog::SetSingleTipMode(bool single) {
    next_->setVisible(!single);
    all_->setVisible(!single);
    resetButton_->setVisible(!single);
    startup_->setVisible(!single);
}

bool TipDialog::ShowsAllTips() const { return !allText_->isHidden(); }
QString TipDialog::AllTipsText() const { return allText_->toPlainText(); }

void TipDialog::ShowNextTip() {
    index_ = NormalizeTipIndex(index_ + 1, static_cast<size_t>(tips_.size()));
    area_->SetText(CurrentTip());
}

void TipDialog::ToggleAllTips() {
    if (!ShowsAllTips()) {
        allText_->setPlainText(tips_.join(QStringLiteral("\n\n")));
        area_->hide();
        allText_->show();
        all_->setText(tr("Show today's tip"));
    } else {
        allText_->hide();
        area_->show();
        all_->setText(tr("Show all tips"));
    }
}

void TipDialog::ResetTips() {
    index_ = 0;
    reset_ = true;
    area_->SetText(CurrentTip());
}

int TipDialog::Run() {
    if (TestRunner()) {
        TestRunner()(*this);
        return QDialog::Accepted;
    }
    return exec();
}

void TipDialog::SetTestRunner(std::function<void(TipDialog&)> runner) { TestRunner() = std::move(runner); }

} // namespace orvo
