// A search window finding 100 000 hits: how long the search takes in the
// window against the engine alone on the same tree, and the longest the
// window's event loop went without turning (a 5 ms timer measures the
// gaps) while the hits streamed into its list.
#include "search/SearchEngine.h"
#include "search/ui/CSearchDlg.h"
#include "search/ui/SearchResultsModel.h"
#include "search/ui/SearchResultsPane.h"
#include "settings/OptionsStore.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace orvo;

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Counter : SearchSink {
    size_t hits = 0;
    void Hit(SearchHit&&) override { ++hits; }
};

double EngineAlone(const QString& place) {
    QElapsedTimer t;
    t.start();
    SearchCriteria criteria;
    criteria.places = place.toStdString();
    SearchControl control;
    Counter counter;
    RunSearch(criteria, control, counter);
    return t.nsecsElapsed() / 1e6;
}

struct WindowRun {
    double ms;
    double longestStallMs;
    int rows;
};

WindowRun InWindow(const QString& place) {
    SearchWindowSetup setup;
    setup.currentDirectory = place;
    CSearchDlg window(setup);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    QElapsedTimer clock, sinceTick;
    double longest = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
    });
    QSignalSpy finished(&window, &CSearchDlg::SearchFinished);
    clock.start();
    sinceTick.start();
    ticker.start();
    window.Run().StartOrStop();
    finished.wait(600000);
    double ms = clock.nsecsElapsed() / 1e6;
    return {ms, longest, window.Results().Model()->rowCount()};
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int pairs = argc > 2 ? std::atoi(argv[2]) : 5;
    QTemporaryDir home, work;
    qputenv("ORVO_HOME", home.path().toUtf8());
    LoadOptions(OptionsFilePath(home.path().toStdString()));
    for (int i = 0; i < files; ++i) {
        QString dir = work.path() + QStringLiteral("/d%1").arg(i / 1000, 3, 10, QLatin1Char('0'));
        if (i % 1000 == 0)
            QDir().mkpath(dir);
        QFile(dir + QStringLiteral("/hit_%1.txt").arg(i, 6, 10, QLatin1Char('0')))
            .open(QIODevice::WriteOnly);
    }

    EngineAlone(work.path());
    InWindow(work.path());
    std::vector<double> engine, window, stalls, ratios;
    int rows = 0;
    for (int i = 0; i < pairs; ++i) {
        double e = EngineAlone(work.path());
        WindowRun w = InWindow(work.path());
        engine.push_back(e);
        window.push_back(w.ms);
        stalls.push_back(w.longestStallMs);
        ratios.push_back(w.ms / e);
        rows = w.rows;
    }
    std::printf("search window, %d files (every one a hit), %d pairs\n", files, pairs);
    std::printf("  engine alone median:    %.0f ms\n", Median(engine));
    std::printf("  search window median:   %.0f ms (%d rows)\n", Median(window), rows);
    std::printf("  median ratio:           %.2f\n", Median(ratios));
    std::printf("  longest stall (median): %.1f ms, worst %.1f ms\n", Median(stalls),
                *std::max_element(stalls.begin(), stalls.end()));
    return rows == files + files / 1000 ? 0 : 1;
}
