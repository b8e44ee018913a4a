#pragma once

#include "workspace/Favorites.h"

#include <string>
#include <vector>

class QAction;
class QMenu;

namespace orvo {

// Adds a favorites tree to a menu: a directory becomes a sub-menu, any
// other favorite an item whose FavoritePathOf is its path.
void BuildFavoritesMenu(QMenu* menu, const std::vector<FavoriteNode>& nodes);
// The favorite an item of such a menu stands for; empty for other items.
std::string FavoritePathOf(const QAction* action);

} // namespace orvo
