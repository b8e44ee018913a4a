#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace orvo {

// What a viewer window needs from the window that opened it (the main
// frame): a destination for F5 and F6, and someone to tell when it goes.
class ViewerHost : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // A directory chosen among the open browse windows; empty when the user
    // cancels or nobody can choose.
    std::function<QString(QWidget* parent)> chooseDestination;
    QString ChooseDestination(QWidget* parent) const;

    // Sent by a viewer window from its destructor: the pointer only names
    // the window and must not be followed.
    void NotifyClosed(const QWidget* window) { emit ViewerClosed(window); }

signals:
    void ViewerClosed(const QWidget* window);
};

} // namespace orvo
