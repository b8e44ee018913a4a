// Opening a directory of 100 000 entries in a browse window, against the
// core work alone (reading the directory and rebuilding the view table) on
// the same directory, alternated after a warm-up of each. The window's
// figure runs until its model is reset and the list has painted once.
#include "browse/DirectoryListing.h"
#include "browse/ViewRebuilder.h"
#include "browse/ui/COrvoBrowserView.h"
#include "settings/OptionsStore.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace orvo;

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double CoreListing(const std::string& dir) {
    QElapsedTimer t;
    t.start();
    DirectoryListing listing;
    listing.ReadDirectory(dir);
    QTable view;
    ViewRebuilder::UseViewColumns(view);
    ViewRebuilder::Input input;
    input.currentDirectory = dir;
    input.hideCommentFile = true;
    ViewRebuilder::Rebuild(listing, view, input);
    return t.nsecsElapsed() / 1e6;
}

double WindowListing(COrvoBrowserView& window, const std::string& dir) {
    QElapsedTimer t;
    t.start();
    window.Navigate(dir, true, true, false);
    window.CurrentList()->viewport()->repaint();
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    int pairs = argc > 2 ? std::atoi(argv[2]) : 7;
    QTemporaryDir home, work;
    LoadOptions(OptionsFilePath(home.path().toStdString()));
    QDir root(work.path());
    for (int i = 0; i < entries; ++i) {
        if (i % 100 == 0) {
            root.mkdir(QStringLiteral("Folder %1").arg(i, 6, 10, QLatin1Char('0')));
        } else {
            QFile f(root.filePath(QStringLiteral("photo_%1.%2").arg(i, 6, 10, QLatin1Char('0')).arg(i % 2 ? "jpg" : "txt")));
            f.open(QIODevice::WriteOnly);
        }
    }
    std::string dir = work.path().toStdString();
    std::string elsewhere = home.path().toStdString();

    COrvoBrowserView window;
    window.resize(1000, 700);
    window.show();
    CoreListing(dir);
    WindowListing(window, dir);
    std::vector<double> core, shown, ratios;
    for (int i = 0; i < pairs; ++i) {
        window.Navigate(elsewhere, true, true, false); // so the next navigation starts from a small list
        double c = CoreListing(dir);
        double w = WindowListing(window, dir);
        core.push_back(c);
        shown.push_back(w);
        ratios.push_back(w / c);
    }
    std::printf("browse window, %d entries, %d pairs\n", entries, pairs);
    std::printf("core listing (read + view table rebuild): median %.1f ms\n", Median(core));
    std::printf("window (navigate, model reset, first paint): median %.1f ms\n", Median(shown));
    std::printf("window / core: median ratio %.2f (the window adds %.0f%%)\n", Median(ratios),
                (Median(ratios) - 1) * 100);
    return 0;
}
