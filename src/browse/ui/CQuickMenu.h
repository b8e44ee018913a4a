#pragma once

#include <QMenu>

#include <functional>
#include <string>

namespace orvo {

class QTable;

// The menu of a right click on a column header: on Name and Extension the
// rows grouped by extension; on the other columns the rows sorted by that
// column ("The biggest :", "The newest :", ...). Choosing an entry selects
// rows in the window.
class CQuickMenu : public QMenu {
    Q_OBJECT
public:
    // column is the view table's column name; the table is copied, so the
    // menu stays valid whatever the window does meanwhile.
    CQuickMenu(const QTable& table, const std::string& column, bool skipFirstRow, QWidget* parent = nullptr);

    // A name to select as a pattern (Name and Extension menus).
    std::function<void(const QString& pattern)> onPattern;
    // A row to select by its path (the other menus).
    std::function<void(const std::string& path)> onPath;

    // Most entries a sorted menu lists.
    static constexpr int kMaxEntries = 40;
};

} // namespace orvo
