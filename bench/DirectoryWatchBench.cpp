// A directory being filled with 100 000 files by another writer while a
// browse window shows it, against the same fill with no window watching,
// alternated. For the window: how long its thread was kept from input (the
// lateness of a 10 ms timer), how many refreshes it made, and how long after
// the last file it showed them all.
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/DirectoryWatch.h"
#include "browse/ui/ViewTableModel.h"
#include "settings/OptionsStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace orvo;

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Fill {
    double writerMs = 0;
    double longestStallMs = 0;
    double stall99Ms = 0;
    double catchUpMs = 0;
    double onInterfaceThreadMs = 0;
    int refreshes = 0;
};

// Creates the files on a thread of its own while the GUI thread runs its
// loop, with or without a window on the directory.
Fill FillDirectory(const std::string& dir, int entries, COrvoBrowserView* window) {
    Fill fill;
    if (window)
        window->Navigate(dir, true, true, false);
    const int refreshesBefore = window ? window->Watch().RefreshCount() : 0;
    std::vector<double> gaps;
    QElapsedTimer tick;
    QTimer probe;
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        gaps.push_back(tick.nsecsElapsed() / 1e6);
        tick.restart();
    });
    std::atomic<bool> done{false};
    QElapsedTimer clock;
    clock.start();
    tick.start();
    probe.start();
    std::thread writer([&] {
        for (int i = 0; i < entries; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "/file_%06d.txt", i);
            int fd = ::open((dir + name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
            if (fd >= 0)
                ::close(fd);
        }
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    writer.join();
    fill.writerMs = clock.nsecsElapsed() / 1e6;
    if (window) {
        QElapsedTimer catchUp;
        catchUp.start();
        while (window->Model()->rowCount() < entries + 1 && catchUp.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        fill.catchUpMs = catchUp.nsecsElapsed() / 1e6;
        fill.refreshes = window->Watch().RefreshCount() - refreshesBefore;
        // What one refresh of the full directory would keep the window from
        // input if it read on the interface thread.
        QElapsedTimer direct;
        direct.start();
        window->Watch().Refresh();
        fill.onInterfaceThreadMs = direct.nsecsElapsed() / 1e6;
    }
    probe.stop();
    std::sort(gaps.begin(), gaps.end());
    if (!gaps.empty()) {
        fill.longestStallMs = std::max(0.0, gaps.back() - 10);
        fill.stall99Ms = std::max(0.0, gaps[gaps.size() * 99 / 100] - 10);
    }
    return fill;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int pairs = argc > 2 ? std::atoi(argv[2]) : 5;
    const QString base = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QDir::tempPath();
    QTemporaryDir home;
    QTemporaryDir work(base + "/orvo-watch-bench-XXXXXX");
    LoadOptions(OptionsFilePath(home.path().toStdString()));
    COrvoBrowserView window;
    window.resize(1000, 700);
    window.show();
    const std::string root = work.path().toStdString();
    const std::string elsewhere = home.path().toStdString();

    int run = 0;
    auto fresh = [&] {
        std::string dir = root + "/fill" + std::to_string(run++);
        std::filesystem::create_directory(dir);
        return dir;
    };
    auto done = [&](const std::string& dir) {
        window.Navigate(elsewhere, true, true, false);
        std::filesystem::remove_all(dir);
    };
    // Warm-up of each.
    for (COrvoBrowserView* w : {static_cast<COrvoBrowserView*>(nullptr), &window}) {
        std::string dir = fresh();
        FillDirectory(dir, entries, w);
        done(dir);
    }
    std::vector<double> alone, watched, ratios, longest, p99, catchUp, refreshes, direct;
    for (int i = 0; i < pairs; ++i) {
        std::string a = fresh();
        Fill plain = FillDirectory(a, entries, nullptr);
        done(a);
        std::string b = fresh();
        Fill shown = FillDirectory(b, entries, &window);
        done(b);
        alone.push_back(plain.writerMs);
        watched.push_back(shown.writerMs);
        ratios.push_back(shown.writerMs / plain.writerMs);
        longest.push_back(shown.longestStallMs);
        p99.push_back(shown.stall99Ms);
        catchUp.push_back(shown.catchUpMs);
        refreshes.push_back(shown.refreshes);
        direct.push_back(shown.onInterfaceThreadMs);
    }
    std::printf("directory filled with %d files, %d pairs\n", entries, pairs);
    std::printf("writer alone: median %.0f ms\n", Median(alone));
    std::printf("writer with a window showing the directory: median %.0f ms\n", Median(watched));
    std::printf("with / alone: median ratio %.2f\n", Median(ratios));
    std::printf("window: refreshes during the fill, median %.0f\n", Median(refreshes));
    std::printf("window: longest time kept from input, median %.0f ms (99th percentile of "
                "10 ms ticks late by %.0f ms)\n",
                Median(longest), Median(p99));
    std::printf("window: all rows shown %.0f ms after the last file (median)\n", Median(catchUp));
    std::printf("one refresh of the full directory on the interface thread: median %.0f ms\n",
                Median(direct));
    return 0;
}
