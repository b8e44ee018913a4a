#pragma once

#include <QDialog>
#include <QStringList>

#include <string>
#include <vector>

class QLineEdit;
class QListWidget;

namespace orvo {

// "Quick search": a small popup over the list. Every change of its text
// lists the names that match and tells the window, which selects the
// first of them; Enter opens it, Escape just closes the popup.
class QuickSearchPopup : public QDialog {
    Q_OBJECT
public:
    QuickSearchPopup(std::vector<std::string> candidates, const QString& typed, QWidget* parent = nullptr);

    QLineEdit* Edit() const { return edit_; }
    QListWidget* Matches() const { return list_; }
    // Lists the matches of the current text and announces them.
    void Refill();

signals:
    void MatchesChanged(const QStringList& matches);

private:
    std::vector<std::string> candidates_;
    QLineEdit* edit_;
    QListWidget* list_;
};

} // namespace orvo
