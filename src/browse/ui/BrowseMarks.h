#pragma once

#include "browse/RowMarks.h"

#include <QObject>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace orvo {

class COrvoBrowserView;

// Which rows of a browse window are drawn marked: the rows of the places
// favorites point at and, while there are none, those in the quick access
// bar's current list.
class BrowseMarks : public QObject {
    Q_OBJECT
public:
    explicit BrowseMarks(COrvoBrowserView* view);

    bool IsMarked(int row, std::string_view path) const { return marks_.IsMarked(row, path); }
    const std::vector<int>& MarkedRows() const { return marks_.MarkedRows(); }
    // The rows a rebuild found for the favorite targets.
    void SetMarkedRows(std::vector<int> rows) { marks_.SetMarkedRows(std::move(rows)); }
    void SetQuickAccessPaths(const std::vector<std::string>& paths);
    // Where favorites point now (nothing for a list window).
    std::vector<std::string> FavoriteTargets();
    // Where the paths favorites point at come from.
    static void SetFavoriteTargetsSource(std::function<std::vector<std::string>(QWidget*)> source);

private:
    COrvoBrowserView* view_;
    RowMarks marks_;
};

} // namespace orvo
