#pragma once

#include "viewers/ViewerKind.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

namespace orvo {

class ViewerHost;

// Auto view: one viewer window that follows the selection of the active
// browse window. A picture after a picture reuses the window; any other
// change opens the right viewer at the same place and closes the old one.
// Closing the window by hand turns auto view off at the next change.
class AutoViewController : public QObject {
    Q_OBJECT
public:
    // What the active browse window has selected. Without a browse window
    // (or while the program shuts down) nothing is followed.
    struct Selection {
        bool valid = false;
        std::string path;      // the first selected path, "" for none
        std::string directory; // the directory the window shows
        QPointer<QWidget> focusBack;
    };

    AutoViewController(ViewerHost* host, QWidget* owner);

    void SetSelectionSource(std::function<Selection()> source);

    bool IsOn() const { return on_; }
    void Toggle();
    // Turns auto view on when it is off.
    void TurnOn();
    // Follows the selection now.
    void SelectionChanged();
    // Follows it once the current burst of changes is over.
    void ScheduleSelectionChange();

    QWidget* Window() const { return window_.data(); }
    std::optional<ViewerKind> Kind() const { return kind_; }

    // The picture shown for a directory.
    static std::string InfoPicturePath();
    // Where the first window goes, in screen pixels.
    static QRect DefaultPlacement() { return QRect(100, 100, 400, 400); }

signals:
    void Toggled(bool on);

private:
    void OnViewerClosed(const QWidget* window);
    void Forget();

    QPointer<ViewerHost> host_;
    QPointer<QWidget> owner_;
    std::function<Selection()> source_;
    bool on_ = false;
    QPointer<QWidget> window_;
    const QWidget* windowIdentity_ = nullptr;
    bool windowGone_ = false;
    std::optional<ViewerKind> kind_;
    std::string shownPath_;
    QTimer pending_;
};

} // namespace orvo
