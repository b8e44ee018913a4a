#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

namespace orvo {

// The viewer windows quick view and auto view opened, in opening order, so
// the program can close them all when it shuts down.
class OpenViewerList {
public:
    static OpenViewerList& Instance();

    void Append(QWidget* window);
    // By identity only: the window may be half destroyed already.
    void Remove(const QWidget* window);
    bool Contains(const QWidget* window) const;
    // The windows still alive.
    QList<QWidget*> Windows() const;
    // Asks every live window to close (each frees itself) and empties the list.
    void CloseAll();

private:
    QList<QPointer<QWidget>> windows_;
    // Raw identities kept beside the guarded pointers: a guard is already
    // cleared when a window's destruction is announced.
    QList<const QWidget*> identities_;
};

} // namespace orvo
