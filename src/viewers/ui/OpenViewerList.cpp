#include "viewers/ui/OpenViewerList.h"

namespace orvo {

OpenViewerList& OpenViewerList::Instance() {
    static OpenViewerList list;
    return list;
}

void OpenViewerList::Append(QWidget* window) {
    // A window gone without its notice may leave its address to a new one.
    for (qsizetype i = windows_.size() - 1; i >= 0; --i)
        if (windows_[i].isNull()) {
            windows_.removeAt(i);
            identities_.removeAt(i);
        }
    if (!window || identities_.contains(window))
        return;
    windows_.append(window);
    identities_.append(window);
}

void OpenViewerList::Remove(const QWidget* window) {
    const qsizetype index = identities_.indexOf(window);
    if (index < 0)
        return;
    identities_.removeAt(index);
    windows_.removeAt(index);
}

bool OpenViewerList::Contains(const QWidget* window) const {
    const qsizetype index = identities_.indexOf(window);
    return index >= 0 && !windows_[index].isNull();
}

QList<QWidget*> OpenViewerList::Windows() const {
    QList<QWidget*> live;
    for (const QPointer<QWidget>& w : windows_)
        if (w)
            live.append(w.data());
    return live;
}

void OpenViewerList::CloseAll() {
    const QList<QWidget*> live = Windows();
    windows_.clear();
    identities_.clear();
    for (QWidget* w : live)
        w->close();
}

} // namespace orvo
