#include "app/gui/BrowserCommandLine.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/FrameSession.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <clocale>
#include <cstdio>

int main(int argc, char** argv) {
    // Before QApplication, which needs a display: help and the version are
    // asked for in terminals and by packaging scripts that have none.
    const orvo::BrowserCommandLine line = orvo::ReadBrowserCommandLine(argc, argv);
    switch (line.action) {
    case orvo::BrowserCommandLine::Action::Help:
        std::fputs(orvo::BrowserUsage().c_str(), stdout);
        return 0;
    case orvo::BrowserCommandLine::Action::Version:
        std::printf("orvo-browser %s\n", ORVO_VERSION);
        return 0;
    case orvo::BrowserCommandLine::Action::Mistake:
        std::fprintf(stderr, "orvo-browser: %s\nTry 'orvo-browser --help'.\n",
                     line.mistake.c_str());
        return 2;
    case orvo::BrowserCommandLine::Action::Run:
        break;
    }

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
    std::vector<const char*> files{argv[0]};
    for (const std::string& file : line.files)
        files.push_back(file.c_str());
    const QStringList arguments =
        orvo::FrameSession::CommandLinePaths(static_cast<int>(files.size()), files.data());
    // The windows of the last run and the tip of the day come once the
    // main window is on screen.
    QTimer::singleShot(0, &frame, [&frame, arguments] { frame.Session().Startup(arguments); });
    return app.exec();
}
