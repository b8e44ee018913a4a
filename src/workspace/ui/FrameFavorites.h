#pragma once

#include <QObject>
#include <string>

namespace orvo {

class CMainFrame;

// Favorites, temporary directories and the size-counting mode, in the
// "&Tools" and "&View" menus of the main frame.
class FrameFavorites : public QObject {
    Q_OBJECT
public:
    explicit FrameFavorites(CMainFrame& frame);

    void BuildActions();
    void ShowFavoritesMenu();
    void ShowSystemFavoritesMenu();
    void AddCurrentToFavorites();
    void EditFavoritesDirectory();
    void OpenFavorite(const std::string& path);
    void CreateTemporaryDirectory();
    void ListTemporaryDirectories();
    void EditTemporaryDirectories();
    void DeleteTemporaryDirectories();
    void SetCountingMode(bool on);

private:
    // The directory in the active browse window, or in a new one.
    void ShowDirectory(const std::string& directory);

    CMainFrame& frame_;
};

} // namespace orvo
