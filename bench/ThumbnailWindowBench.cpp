// A browse window in thumbnail mode on a directory of photos: the time
// from navigating until every thumbnail is loaded and painted, and the
// longest time the interface thread went without serving its event loop
// meanwhile (a 2 ms timer that notes the gaps between its ticks). The
// thumbnail cache is the one XDG_CACHE_HOME names, so the caller decides
// whether the run is cold or warm.
// Usage: bench_thumbnail_window DIR  (prints: milliseconds, longest gap in
// milliseconds, thumbnails)
#include "browse/ui/BackgroundLoader.h"
#include "browse/ui/COrvoBrowserView.h"
#include "settings/OptionsStore.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

using namespace orvo;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir home;
    LoadOptions(OptionsFilePath(home.path().toStdString()));

    COrvoBrowserView window;
    window.resize(1000, 700);
    window.show();
    window.SetViewMode(COrvoBrowserView::ViewMode::Thumbnails);
    {
        // A first directory loads what a program loads once (the type and
        // icon databases, the icon theme), so that the run measures the
        // loading of thumbnails.
        QTemporaryDir first;
        QFile::copy(QDir(argv[1]).entryInfoList({"*.jpg"}, QDir::Files).value(0).filePath(),
                    first.filePath("first.jpg"));
        QEventLoop loaded;
        QObject::connect(window.Loader(), &BackgroundLoader::Finished, &loaded, &QEventLoop::quit);
        window.Navigate(first.path().toStdString(), true, true, false);
        loaded.exec();
        window.CurrentList()->viewport()->repaint();
    }

    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    ticks.setInterval(2);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceTick.nsecsElapsed());
        sinceTick.restart();
    });

    QEventLoop done;
    QObject::connect(window.Loader(), &BackgroundLoader::Finished, &done, &QEventLoop::quit);
    clock.start();
    sinceTick.start();
    ticks.start();
    // Navigating runs from the event loop, so its own time counts as a gap.
    QTimer::singleShot(0, &window, [&] { window.Navigate(argv[1], true, true, false); });
    done.exec();
    window.CurrentList()->viewport()->repaint();
    const double total = clock.nsecsElapsed() / 1e6;
    ticks.stop();
    std::printf("%.1f %.1f %zu\n", total, longestGap / 1e6, window.Loader()->ThumbnailCount());
    return 0;
}
