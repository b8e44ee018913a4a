#pragma once

#include <QWidget>

class QBoxLayout;
class QDateEdit;
class QTimeEdit;

namespace orvo {

// The editor of a date cell: a date picker, a time picker, or both sharing
// the cell (side by side in a low cell, one above the other in a tall one).
class DateTimeCellEditor : public QWidget {
    Q_OBJECT
public:
    DateTimeCellEditor(bool showDate, bool showTime, QWidget* parent = nullptr);

    // The cell's value: days since 30 December 1899, time as the fraction.
    void SetOleDate(double date);
    double OleDate() const;

    QDateEdit* DatePicker() const { return date_; }
    QTimeEdit* TimePicker() const { return time_; }

    // Cells up to this height put two pickers side by side.
    static constexpr int kSideBySideHeight = 35;

signals:
    void Edited();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QBoxLayout* layout_;
    QDateEdit* date_ = nullptr;
    QTimeEdit* time_ = nullptr;
    // The part of the value no picker shows is kept as it was.
    double original_ = 0.0;
};

} // namespace orvo
