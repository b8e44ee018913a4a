#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace orvo {

class TipArea;

// Shows one tip at a time (or all of them), for the tip of the day and for
// the one-time on-action tips.
class TipDialog : public QDialog {
    Q_OBJECT
public:
    explicit TipDialog(QWidget* parent = nullptr);

    void SetTips(const QStringList& tips, int index);
    int CurrentIndex() const { return index_; }
    QString CurrentTip() const;
    bool WasReset() const { return reset_; }
    bool ShowAtStartup() const;
    void SetShowAtStartup(bool on);
    // On-action tips show one fixed text: no next, all, reset or check box.
    void SetSingleTipMode(bool single);
    bool ShowsAllTips() const;
    QString AllTipsText() const;

    void ShowNextTip();
    void ToggleAllTips();
    void ResetTips();

    QPushButton* NextButton() const { return next_; }
    QPushButton* AllButton() const { return all_; }
    QPushButton* ResetButton() const { return resetButton_; }
    QCheckBox* StartupCheck() const { return startup_; }

    // Runs the dialog modally, or hands it to the runner a test installed.
    int Run();
    static void SetTestRunner(std::function<void(TipDialog&)> runner);

private:
    QStringList tips_;
    int index_ = 0;
    bool reset_ = false;
    TipArea* area_;
    QPlainTextEdit* allText_;
    QPushButton* next_;
    QPushButton* all_;
    QPushButton* resetButton_;
    QCheckBox* startup_;
};

} // namespace orvo
