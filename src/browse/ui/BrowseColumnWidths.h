#pragma once

#include <QObject>
#include <array>

class QTableView;

namespace orvo {

class ViewTableModel;

// The widths of the details view's columns: a new window's columns fit
// what they show (names and comments up to a share of the window), and
// later listings or a larger font widen a column whose texts would be cut,
// unless the user has sized that column by hand.
class BrowseColumnWidths : public QObject {
    Q_OBJECT
public:
    BrowseColumnWidths(QTableView* details, const ViewTableModel* model, QObject* parent);

    // After the rows or the font changed.
    void Fit();
    // The width column needs to show its header and its rows' texts whole.
    int ContentWidth(int column) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableView* details_;
    const ViewTableModel* model_;
    bool fitted_ = false;
    bool setting_ = false;
    std::array<bool, 16> userSized_{};
};

} // namespace orvo
