#include "store/ui/DateTimeCellEditor.h"

#include "platform/OleDate.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QDateEdit>
#include <QResizeEvent>
#include <QTimeEdit>
#include <cmath>

namespace orvo {

namespace {

QDateTime ToDateTime(double ole) {
    std::tm tm = OleDateToTm(ole);
    return QDateTime(QDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday),
                     QTime(tm.tm_hour, tm.tm_min, tm.tm_sec));
}

double ToOle(const QDate& date, const QTime& time) {
    std::tm tm{};
    tm.tm_year = date.year() - 1900;
    tm.tm_mon = date.month() - 1;
    tm.tm_mday = date.day();
    tm.tm_hour = time.hour();
    tm.tm_min = time.minute();
    tm.tm_sec = time.second();
    return TmToOleDate(tm);
}

} // namespace

DateTimeCellEditor::DateTimeCellEditor(bool showDate, bool showTime, QWidget* parent)
    : QWidget(parent), layout_(new QBoxLayout(QBoxLayout::LeftToRight, this)) {
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    setAutoFillBackground(true);
    if (showDate) {
        date_ = new QDateEdit(this);
        date_->setDisplayFormat("yyyy-MM-dd");
        date_->setMinimumDate(QDate(100, 1, 1));
        date_->setCalendarPopup(true);
        layout_->addWidget(date_);
        connect(date_, &QDateEdit::dateChanged, this, &DateTimeCellEditor::Edited);
    }
    if (showTime) {
        time_ = new QTimeEdit(this);
        time_->setDisplayFormat("HH:mm:ss");
        layout_->addWidget(time_);
        connect(time_, &QTimeEdit::timeChanged, this, &DateTimeCellEditor::Edited);
    }
    setFocusProxy(date_ ? static_cast<QWidget*>(date_) : time_);
    for (QWidget* picker : {static_cast<QWidget*>(date_), static_cast<QWidget*>(time_)})
        if (picker)
            picker->installEventFilter(this);
}

bool DateTimeCellEditor::eventFilter(QObject* watched, QEvent* event) {
    // The grid ends an editor when the editor loses the focus, but the focus
    // sits in a picker: pass its focus loss on (the grid checks whether the
    // focus merely moved to the other picker).
    if (event->type() == QEvent::FocusOut)
        QCoreApplication::sendEvent(this, event);
    return QWidget::eventFilter(watched, event);
}

void DateTimeCellEditor::SetOleDate(double date) {
    if (!std::isfinite(date))
        date = 0.0;
    original_ = date;
    QDateTime dt = ToDateTime(date);
    QSignalBlocker blockDate(date_);
    QSignalBlocker blockTime(time_);
    if (date_)
        date_->setDate(dt.date());
    if (time_)
        time_->setTime(dt.time());
}

double DateTimeCellEditor::OleDate() const {
    QDateTime dt = ToDateTime(original_);
    return ToOle(date_ ? date_->date() : dt.date(), time_ ? time_->time() : dt.time());
}

void DateTimeCellEditor::resizeEvent(QResizeEvent* event) {
    layout_->setDirection(event->size().height() <= kSideBySideHeight ? QBoxLayout::LeftToRight
                                                                      : QBoxLayout::TopToBottom);
    QWidget::resizeEvent(event);
}

} // namespace orvo
