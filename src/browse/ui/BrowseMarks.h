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

// Which entries of a browse window are drawn marked: the places favorites
// point at and, while there are none, those in the quick access bar's
// current list.
class BrowseMarks : public QObject {
    Q_OBJECT
public:
    explicit BrowseMarks(COrvoBrowserView* view);

    bool IsMarked(std::string_view path) const { return marks_.IsMarked(path); }
    size_t MarkedCount() const { return marks_.MarkedCount(); }
    // The favorite targets a rebuild found among the entries.
    void SetMarkedPaths(const std::vector<std::string>& paths) { marks_.SetMarkedPaths(paths); }
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
