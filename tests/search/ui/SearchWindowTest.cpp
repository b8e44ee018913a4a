#include "browse/ui/BrowseClipboard.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"
#include "search/ui/CSearchDlg.h"
#include "search/ui/SearchCriteriaForm.h"
#include "search/ui/SearchResultsModel.h"
#include "search/ui/SearchResultsPane.h"
#include "../../platform/ui/AnyNameTemporaryDir.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <fstream>
#include <memory>
#include <sys/stat.h>

using namespace orvo;

namespace {

void Write(const QString& path, const QByteArray& bytes = "x") {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A window searching `place`, not freed on close (the test owns it).
std::unique_ptr<CSearchDlg> Window(const QString& place, const QString& names = QString()) {
    SearchWindowSetup setup;
    setup.currentDirectory = place;
    auto w = std::make_unique<CSearchDlg>(setup);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->Form().NamesBox()->setEditText(names);
    return w;
}

bool RunToEnd(CSearchDlg& w) {
    QSignalSpy finished(&w, &CSearchDlg::SearchFinished);
    w.Run().StartOrStop();
    return finished.wait(20000);
}

QStringList Names(const CSearchDlg& w) {
    QStringList names;
    for (int i = 0; i < w.Results().Model()->rowCount(); ++i)
        names << w.Results().Model()->NameOf(i);
    names.sort();
    return names;
}

void SelectRows(CSearchDlg& w, std::initializer_list<int> rows) {
    w.Results().DetailsList()->clearSelection();
    for (int r : rows)
        w.Results().DetailsList()->selectionModel()->select(w.Results().Model()->index(r, 0),
                                                            QItemSelectionModel::Select |
                                                                QItemSelectionModel::Rows);
    w.Results().DetailsList()->selectionModel()->setCurrentIndex(
        w.Results().Model()->index(*rows.begin(), 0), QItemSelectionModel::NoUpdate);
}

} // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT

    test::AnyNameTemporaryDir tree_;
    std::unique_ptr<ScriptedPrompt> prompt_;

    QString In(const char* relative) const { return tree_.path() + "/" + relative; }

private slots:
    void initTestCase() {
        Write(In("a/one.txt"), "hello world");
        Write(In("a/two.txt"), "nothing");
        Write(In("a/deep/three.md"), "HELLO");
        for (int i = 0; i < 600; ++i)
            Write(In(QString("many/f%1.dat").arg(i).toUtf8().constData()));
    }
    void init() { prompt_ = std::make_unique<ScriptedPrompt>(); }
    void cleanup() { prompt_.reset(); }

    void twoWindowsSearchAtOnceAndKeepTheirOwnResults() {
        auto a = Window(In("a"), "*.txt");
        auto b = Window(In("many"));
        QSignalSpy aDone(a.get(), &CSearchDlg::SearchFinished),
            bDone(b.get(), &CSearchDlg::SearchFinished);
        QSignalSpy inserted(b->Results().Model(), &QAbstractItemModel::rowsInserted);
        a->Run().StartOrStop();
        b->Run().StartOrStop();
        QVERIFY(a->Run().IsSearching() && b->Run().IsSearching());
        QTRY_VERIFY_WITH_TIMEOUT(aDone.count() == 1 && bDone.count() == 1, 20000);
        QCOMPARE(Names(*a), QStringList({"one.txt", "two.txt"}));
        QCOMPARE(b->Results().Model()->rowCount(), 600);
        QVERIFY(inserted.count() < 600); // hits arrive in batches, not one by one
        QCOMPARE(a->CountsLine()->text(),
                 QString("0 directories, 2 files found. Total size is 18 bytes"));
        QCOMPARE(a->SearchingLine()->text(), QString("FINISHED"));
        QVERIFY(!a->windowTitle().startsWith("*-"));
        QCOMPARE(a->Form().StartButton()->text(), QString("Start"));
    }

    void textSearchAndTheControlsItReads() {
        auto w = Window(In("a"));
        w->Form().SearchTextCheck()->click();
        QVERIFY(w->Form().ExcludeBinariesCheck()->isChecked()); // each click ticks it
        w->Form().TextBox()->setEditText("hello");
        QVERIFY(RunToEnd(*w));
        QCOMPARE(Names(*w), QStringList({"one.txt", "three.md"}));
        QCOMPARE(w->Results()
                     .Model()
                     ->data(w->Results().Model()->index(0, SearchResultsModel::SampleColumn),
                            Qt::DisplayRole)
                     .toString()
                     .isEmpty(),
                 false);

        // The text is remembered for the next window.
        auto next = Window(In("a"));
        QCOMPARE(next->Form().TextBox()->currentText(), QString("hello"));

        w->Form().TextModeBox()->setCurrentIndex(2); // AND
        w->Form().TextBox()->setEditText("hello;world");
        QVERIFY(RunToEnd(*w));
        QCOMPARE(Names(*w), QStringList({"one.txt"}));
    }

    void startAgainAndEscapeStopButDoNotClose() {
        auto w = Window(In("many"));
        w->show();
        w->Run().StartOrStop();
        QSignalSpy done(w.get(), &CSearchDlg::SearchFinished);
        w->Run().StartOrStop(); // the button now reads "Stop"
        QVERIFY(done.wait(20000));
        QCOMPARE(w->SearchingLine()->text(), QString("BROKEN"));
        QVERIFY(w->Results().Model()->rowCount() < 600);

        w->Run().StartOrStop();
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(done.wait(20000));
        QCOMPARE(w->SearchingLine()->text(), QString("BROKEN"));
        QVERIFY(w->isVisible());
        QTest::keyClick(w.get(), Qt::Key_Escape); // idle: closes
        QVERIFY(!w->isVisible());
    }

    void listAndGoThereRequests() {
        auto w = Window(In("a"), "*.txt;*.md");
        QVERIFY(RunToEnd(*w));
        QSignalSpy list(w.get(), &CSearchDlg::MakeListWindowRequested);
        QSignalSpy go(w.get(), &CSearchDlg::GoToFileRequested);
        w->show();
        w->Results().DetailsList()->setFocus();
        QTest::keyClick(w->Results().DetailsList(), Qt::Key_F9);
        QCOMPARE(list.count(), 1);
        QCOMPARE(list.at(0).at(0).toStringList(),
                 w->Results().Model()->Paths()); // every hit, in list order
        QCOMPARE(w->Results().Model()->Paths().size(), 3);

        QRect second = w->Results().DetailsList()->visualRect(w->Results().Model()->index(1, 0));
        QTest::mouseClick(w->Results().DetailsList()->viewport(), Qt::LeftButton, Qt::AltModifier,
                          second.center());
        QCOMPARE(go.count(), 1);
        QCOMPARE(go.at(0).at(0).toString(), w->Results().Model()->PathOf(1));
    }

    void commandsOnTheSelection() {
        auto w = Window(In("a"), "*.txt");
        QVERIFY(RunToEnd(*w));
        w->Results().DetailsList()->clearSelection();
        w->Hits().CopyPathsToClipboard();
        QCOMPARE(
            prompt_->asked,
            QStringList({"Nothing selected. First select some files you want, then try again"}));

        SelectRows(*w, {0, 1});
        w->Hits().CopyPathsToClipboard();
        QCOMPARE(QGuiApplication::clipboard()->text(), w->Results().Model()->PathOf(0) + "\r\n" +
                                                           w->Results().Model()->PathOf(1) +
                                                           "\r\n");
        w->show();
        w->Results().DetailsList()->setFocus();
        QTest::keyClick(w->Results().DetailsList(), Qt::Key_Space, Qt::ShiftModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), w->Results().Model()->NameOf(0) + "\r\n" +
                                                           w->Results().Model()->NameOf(1) +
                                                           "\r\n");
        QTest::keyClick(w->Results().DetailsList(), Qt::Key_C, Qt::ControlModifier);
        const QMimeData* files = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(files->urls().size(), 2);
        QVERIFY(files->data("x-special/gnome-copied-files").startsWith("copy\n"));

        QTest::keyClick(w->Results().DetailsList(), Qt::Key_4,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w->Results().GetResultsView(), SearchResultsPane::ResultsView::Details);
        QTest::keyClick(w->Results().DetailsList(), Qt::Key_Exclam,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w->Results().GetResultsView(), SearchResultsPane::ResultsView::LargeIcons);
        QCOMPARE(w->Results().ViewBox()->currentText(), QString("Large icons"));
        QTest::keyClick(w->Results().CurrentList(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(w->Results().DetailsList()->selectionModel()->selectedRows().size(), 2);
        // The views follow the keys wherever the focus is in the window.
        w->Form().NamesBox()->setFocus();
        QTest::keyClick(w->Form().NamesBox(), Qt::Key_NumberSign,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w->Results().GetResultsView(), SearchResultsPane::ResultsView::List);
    }

    void startAndCloseButtonsAndQuickView() {
        auto w = Window(In("a"), "*.txt");
        QSignalSpy done(w.get(), &CSearchDlg::SearchFinished);
        w->show();
        w->Form().StartButton()->click();
        QCOMPARE(w->Form().StartButton()->text(), QString("Stop"));
        QVERIFY(done.wait(20000));

        SelectRows(*w, {1});
        QTest::keyClick(w->Results().DetailsList(), Qt::Key_F3);
        QCOMPARE(prompt_->asked, QStringList({"Quick view is not available in this version yet."}));
        QSignalSpy quick(w.get(), &CSearchDlg::QuickViewRequested);
        QTest::keyClick(w->Results().DetailsList(), Qt::Key_F3);
        QCOMPARE(quick.count(), 1);
        QCOMPARE(quick.at(0).at(0).toString(), w->Results().Model()->PathOf(1));

        w->Form().CloseButton()->click();
        QVERIFY(!w->isVisible());
    }

    void deleteAsksAndGoesThroughTheFileOperation() {
        test::AnyNameTemporaryDir dir;
        for (const char* n : {"x1.tmp", "x2.tmp", "x3.tmp"})
            Write(dir.path() + "/" + n);
        auto w = Window(dir.path(), "*.tmp");
        QVERIFY(RunToEnd(*w));
        QCOMPARE(w->Results().Model()->rowCount(), 3);

        SelectRows(*w, {0});
        QString first = w->Results().Model()->PathOf(0);
        prompt_->answers = {UserPrompt::Answer::No};
        w->Hits().DeleteSelected();
        QCOMPARE(prompt_->asked.last(), "Are you sure you want to delete " + first + " ?");
        QCOMPARE(prompt_->titles.last(), QString("Deleting"));
        QVERIFY(QFile::exists(first));

        SelectRows(*w, {0, 1, 2});
        prompt_->answers = {UserPrompt::Answer::Yes};
        w->Hits().DeleteSelected();
        QCOMPARE(prompt_->asked.last(),
                 QString("Are you sure you want to delete selected files ?"));
        QTRY_VERIFY_WITH_TIMEOUT(QDir(dir.path()).entryList(QDir::Files).isEmpty(), 20000);
    }

    void hitsWhoseNamesAreNotUtf8KeepTheirBytes() {
        // The place and the hits' names hold a Latin-1 byte and an invalid
        // sequence; every command hands the core the bytes on the disk.
        test::AnyNameTemporaryDir dir;
        const std::string place = dir.path().toStdString() + "/d\xe9";
        QVERIFY(::mkdir(place.c_str(), 0755) == 0);
        std::vector<std::string> files = {place + "/caf\xe9.txt", place + "/\xff\xfe"};
        for (const std::string& f : files)
            std::ofstream(f) << "x";
        auto w = Window(PathToQ(place), "*");
        QVERIFY(RunToEnd(*w));
        const SearchResultsModel& model = *w->Results().Model();
        QCOMPARE(model.rowCount(), 2);

        auto bytesOf = [](const QStringList& paths) {
            std::vector<std::string> out;
            for (const QString& p : paths)
                out.push_back(QToPath(p));
            std::sort(out.begin(), out.end());
            return out;
        };
        QSignalSpy list(w.get(), &CSearchDlg::MakeListWindowRequested);
        QSignalSpy go(w.get(), &CSearchDlg::GoToFileRequested);
        w->Hits().CreateList();
        QCOMPARE(bytesOf(list.at(0).at(0).toStringList()), files);
        SelectRows(*w, {0, 1});
        w->Hits().GoThere();
        QCOMPARE(bytesOf({go.at(0).at(0).toString()}),
                 std::vector<std::string>{model.Results().Path(0)});
        w->Hits().CopyFilesToClipboard();
        std::vector<std::string> copied = ClipboardFileList();
        std::sort(copied.begin(), copied.end());
        QCOMPARE(copied, files);

        prompt_->answers = {UserPrompt::Answer::Yes};
        w->Hits().DeleteSelected();
        auto gone = [&] {
            struct stat st {};
            return ::lstat(files[0].c_str(), &st) != 0 && ::lstat(files[1].c_str(), &st) != 0;
        };
        QTRY_VERIFY_WITH_TIMEOUT(gone(), 20000);
    }

    void quickFormSearchesAtOnceAndListsWhenDone() {
        SearchWindowSetup setup;
        setup.currentDirectory = In("a");
        setup.names = "*.txt";
        setup.text = "world";
        setup.searchText = true;
        setup.listWhenDone = true;
        auto* w = new CSearchDlg(setup); // frees itself when it closes
        QPointer<CSearchDlg> alive(w);
        QSignalSpy list(w, &CSearchDlg::MakeListWindowRequested);
        w->show();
        QTRY_VERIFY_WITH_TIMEOUT(list.count() == 1, 20000);
        QCOMPARE(list.at(0).at(0).toStringList(), QStringList({In("a/one.txt")}));
        QTRY_VERIFY(alive.isNull());
    }
};

int RunSearchWindowTests(int argc, char** argv) {
    SearchWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SearchWindowTest.moc"
