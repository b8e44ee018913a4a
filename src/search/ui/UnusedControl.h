#pragma once

#include <QObject>
#include <QWidget>

namespace orvo {

// A control the search window offers that the search does not read: shown
// for the familiar layout, greyed out and saying so.
template <typename Widget> Widget* Unused(Widget* w) {
    w->setEnabled(false);
    w->setToolTip(QObject::tr("Not used by the search"));
    return w;
}

} // namespace orvo
