#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QEventLoop;
class QLineEdit;
class QListWidget;

namespace orvo {

// "Quick search": a small popup over the list. Every change of its text
// lists the names that match and tells the window the first of them, which
// it selects; a match clicked or reached with the arrow keys is told the
// same way. Enter or a double-click opens it, Escape just closes the popup.
class QuickSearchPopup : public QDialog {
    Q_OBJECT
public:
    // candidates: the full names the window offers, in its row order.
    QuickSearchPopup(std::vector<std::string> candidates, const QString& typed,
                     QWidget* parent = nullptr);

    QLineEdit* Edit() const { return edit_; }
    QListWidget* Matches() const { return list_; }
    // Lists the matches of the current text and announces the first.
    void Refill();
    // Shows the popup until it is accepted or given up; QDialog::Accepted
    // or QDialog::Rejected.
    int Run();
    void setVisible(bool visible) override;

signals:
    // The index into the candidates of the match to select.
    void CandidatePicked(int candidate);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<std::string> candidates_;
    QLineEdit* edit_;
    QListWidget* list_;
    QEventLoop* loop_ = nullptr;
};

} // namespace orvo
