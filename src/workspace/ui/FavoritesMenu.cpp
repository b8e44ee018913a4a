#include "workspace/ui/FavoritesMenu.h"

#include <QAction>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMenu>

namespace orvo {

namespace {
constexpr const char* kPathProperty = "favoritePath";
} // namespace

void BuildFavoritesMenu(QMenu* menu, const std::vector<FavoriteNode>& nodes) {
    static const QFileIconProvider icons;
    for (const FavoriteNode& node : nodes) {
        // "&" would turn into a mnemonic and vanish from the title.
        QString title =
            QString::fromStdString(node.title).replace(QLatin1Char('&'), QStringLiteral("&&"));
        if (node.isMenu) {
            QMenu* sub = menu->addMenu(icons.icon(QFileIconProvider::Folder), title);
            BuildFavoritesMenu(sub, node.children);
            continue;
        }
        QAction* item = menu->addAction(title);
        QFileInfo info(QString::fromStdString(node.path));
        if (info.exists())
            item->setIcon(icons.icon(info));
        item->setProperty(kPathProperty, QByteArray::fromStdString(node.path));
    }
}

std::string FavoritePathOf(const QAction* action) {
    return action ? action->property(kPathProperty).toByteArray().toStdString() : std::string();
}

} // namespace orvo
