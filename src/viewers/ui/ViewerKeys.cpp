#include "viewers/ui/ViewerKeys.h"

#include <QKeyEvent>

namespace orvo {

void ViewerKeys::Add(const QKeyCombination& key, std::function<void()> command) {
    entries_.append(Entry{key, std::move(command)});
}

void ViewerKeys::Add(const QList<QKeyCombination>& keys, const std::function<void()>& command) {
    for (const QKeyCombination& key : keys)
        Add(key, command);
}

const ViewerKeys::Entry* ViewerKeys::Find(const QKeyEvent* key) const {
    const Qt::KeyboardModifiers mods = key->modifiers();
    const Qt::KeyboardModifiers plain = mods & ~Qt::KeypadModifier;
    // An entry naming the keypad wants the keypad key; any other entry
    // takes the key wherever it sits (arrows and Del are keypad keys too
    // on some keyboards).
    for (const Entry& e : entries_)
        if (e.key.key() == key->key() && e.key.keyboardModifiers() == mods)
            return &e;
    for (const Entry& e : entries_)
        if (e.key.key() == key->key() && !(e.key.keyboardModifiers() & Qt::KeypadModifier) &&
            e.key.keyboardModifiers() == plain)
            return &e;
    return nullptr;
}

bool ViewerKeys::Knows(const QKeyEvent* key) const {
    return Find(key) != nullptr;
}

bool ViewerKeys::Handle(QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const Entry* entry = Find(key);
    if (!entry)
        return false;
    event->accept();
    if (event->type() == QEvent::KeyPress) {
        // A copy: the command may rebuild the table's owner.
        const std::function<void()> command = entry->command;
        command();
    }
    return true;
}

} // namespace orvo
