#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

class QMenu;

namespace orvo {

class COrvoBrowserView;

// The menu a right click (or the Menu key) opens in a browse window: on a
// row the commands for the selection, beside the rows the commands for the
// directory. Every entry runs what its key or main-menu item runs and shows
// that key after a tab.
class BrowseContextMenu : public QObject {
    Q_OBJECT
public:
    explicit BrowseContextMenu(COrvoBrowserView* view);

    // Where the main window may add the commands it owns itself.
    enum class Slot { AfterOpen, AfterClipboard };
    using FrameCommands = std::function<void(COrvoBrowserView* view, QMenu* menu, Slot slot)>;
    // Set by the main window; called while a menu is built, once per slot of
    // a row menu, appending to the menu at that point.
    static void SetFrameCommands(FrameCommands commands);

    // The menu for a click at pos of the current list's viewport; the
    // selection is settled first as a click there leaves it. The caller
    // owns the menu.
    QMenu* Build(const QPoint& viewportPos);
    void Show(const QPoint& viewportPos, const QPoint& globalPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddRowCommands(QMenu* menu);
    void AddDirectoryCommands(QMenu* menu);
    void AddNewFileMenu(QMenu* menu);

    COrvoBrowserView* view_;
};

} // namespace orvo
