#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/FrameSession.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvo Browser"));
    QApplication::setOrganizationName(QStringLiteral("orvo-browser"));
    QApplication::setApplicationVersion(QStringLiteral(ORVO_VERSION));
    // Lets the desktop match the windows to the menu entry (its icon and
    // name), on Wayland in particular.
    QGuiApplication::setDesktopFileName(QStringLiteral(ORVO_APP_ID));
    // Qt sets the locale from the environment; text columns sort by it.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");

    orvo::CMainFrame frame;
    // Without a window manager "maximised" means nothing; fill the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        frame.setGeometry(screen->availableGeometry());
    frame.showMaximized();
    const QStringList arguments = orvo::FrameSession::CommandLinePaths(argc, argv);
    // The windows of the last run and the tip of the day come once the
    // main window is on screen.
    QTimer::singleShot(0, &frame, [&frame, arguments] { frame.Session().Startup(arguments); });
    return app.exec();
}
