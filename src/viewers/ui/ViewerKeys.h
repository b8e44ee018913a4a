#pragma once

#include <QKeySequence>
#include <QList>
#include <functional>

class QEvent;
class QKeyEvent;

namespace orvo {

// The keys of a viewer window, taken before its controls and before the
// main frame's application-wide shortcuts see them (F3, F5, Alt+C and Del
// mean something else there).
class ViewerKeys {
public:
    void Add(const QKeyCombination& key, std::function<void()> command);
    void Add(const QList<QKeyCombination>& keys, const std::function<void()>& command);

    // For an event filter or event(): claims the shortcut override of a
    // known key and runs its command on the key press. True when taken.
    bool Handle(QEvent* event);
    bool Knows(const QKeyEvent* key) const;

private:
    struct Entry {
        QKeyCombination key;
        std::function<void()> command;
    };
    const Entry* Find(const QKeyEvent* key) const;
    QList<Entry> entries_;
};

} // namespace orvo
