#include "browse/ui/DirectoryWatch.h"

#include "WindowRows.h"
#include "browse/ui/BrowseFileCommands.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "comments/PathComments.h"
#include "comments/ui/CommentEditDialog.h"
#include "settings/OptionsStore.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <thread>

using namespace orvo;
using namespace orvo::test;

namespace {

void Show(COrvoBrowserView& view, const QString& directory) {
    view.resize(700, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.Navigate(directory.toStdString());
}

} // namespace

class DirectoryWatchTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;

private slots:
    void initTestCase() { UseFreshOptions(home_); }
    void cleanup() { CommentEditDialog::SetTestRunner(nullptr); }

    void otherWindowsOnTheDirectoryFollowRenamesAndComments() {
        QTemporaryDir dir;
        Touch(dir.path() + "/old.txt");
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        COrvoBrowserView a, b;
        Show(a, dir.path());
        Show(b, dir.path());

        // An in-place rename with the keys in one window...
        a.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&a));
        RenameWithKeys(a, "old.txt", "new.txt");
        QTRY_VERIFY(RowOf(a, "new.txt") > 0);
        // ...shows in the other within a second.
        QTRY_VERIFY_WITH_TIMEOUT(RowOf(b, "new.txt") > 0 && RowOf(b, "old.txt") < 0, 1000);

        // A subdirectory's comment is written inside it, where no watch of
        // the shown directory looks.
        CommentEditDialog::SetTestRunner([](CommentEditDialog& d) {
            d.SetComment("about sub");
            return true;
        });
        a.SelectRow(RowOf(a, "sub"));
        a.FileCommands().EditComment();
        QCOMPARE(GetComment((dir.path() + "/sub").toStdString()), std::string("about sub"));
        QTRY_COMPARE_WITH_TIMEOUT(Cell(b, "sub", ViewTableModel::CommentColumn),
                                  QStringLiteral("about sub"), 1000);
    }

    void changesOfOtherProgramsKeepSelectionCurrentRowAndScroll() {
        QTemporaryDir dir;
        for (int i = 0; i < 200; ++i)
            Touch(dir.path() + QString("/f%1.txt").arg(i, 3, 10, QChar('0')));
        COrvoBrowserView view;
        Show(view, dir.path());
        const std::string f100 = (dir.path() + "/f100.txt").toStdString();
        const std::string f102 = (dir.path() + "/f102.txt").toStdString();
        view.SelectPaths({f100, f102});
        view.DetailsList()->selectionModel()->setCurrentIndex(
            view.Model()->index(RowOf(view, "f101.txt"), 0), QItemSelectionModel::NoUpdate);
        QScrollBar* scroll = view.CurrentList()->verticalScrollBar();
        QVERIFY(scroll->maximum() > 60);
        scroll->setValue(60);

        Touch(dir.path() + "/zz new.txt");
        QFile::remove(dir.path() + "/f000.txt");
        QTRY_VERIFY_WITH_TIMEOUT(RowOf(view, "zz new.txt") > 0 && RowOf(view, "f000.txt") < 0,
                                 1000);
        QCOMPARE(view.SelectedPaths(), (std::vector<std::string>{f100, f102}));
        QCOMPARE(view.Model()->FullName(view.SelectionMark()), QStringLiteral("f101.txt"));
        QCOMPARE(scroll->value(), 60);

        // A file written to in place shows its new size.
        QFile grow(dir.path() + "/f150.txt");
        QVERIFY(grow.open(QIODevice::Append));
        grow.write(QByteArray(3000, 'y'));
        grow.close();
        QTRY_COMPARE_WITH_TIMEOUT(Cell(view, "f150.txt", ViewTableModel::SizeColumn),
                                  QStringLiteral("3 001"), 1000);

        // Rows a header click put in descending order stay in it.
        QHeaderView* header = view.DetailsList()->horizontalHeader();
        const QPoint name(header->sectionViewportPosition(ViewTableModel::NameColumn) + 10, 5);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, name);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, name);
        QCOMPARE(view.Model()->FullName(1), QStringLiteral("zz new.txt"));
        Touch(dir.path() + "/zzzz.txt");
        QTRY_VERIFY_WITH_TIMEOUT(RowOf(view, "zzzz.txt") > 0, 1000);
        QCOMPARE(RowOf(view, "zzzz.txt"), 1);
        QCOMPARE(view.Model()->FullName(0), QStringLiteral(".."));
    }

    void aDirectoryBeingFilledRefreshesOnlyAFewTimesASecond() {
        QTemporaryDir dir;
        COrvoBrowserView view;
        Show(view, dir.path());
        QSignalSpy rebuilds(&view, &COrvoBrowserView::ListingRebuilt);
        std::atomic<int> written{0};
        const auto start = std::chrono::steady_clock::now();
        std::thread writer([&] {
            const std::string base = dir.path().toStdString() + "/n";
            while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(1500)) {
                FILE* f = std::fopen((base + std::to_string(written.load())).c_str(), "w");
                if (f)
                    std::fclose(f);
                ++written;
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
        while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(1600))
            QTest::qWait(20);
        writer.join();
        const int duringWriting = rebuilds.size();
        const int files = written.load();
        QTRY_COMPARE_WITH_TIMEOUT(view.Model()->rowCount(), files + 1, 1500);
        QVERIFY2(files > 100, qPrintable(QString("only %1 files were written").arg(files)));
        // Thousands of changes, at most one refresh per minimum gap.
        QVERIFY(duringWriting >= 1);
        QVERIFY2(duringWriting <= 1600 / DirectoryWatch::kMinimumGapMs + 2,
                 qPrintable(QString::number(duringWriting)));
    }
};

QTEST_MAIN(DirectoryWatchTest)
#include "DirectoryWatchTest.moc"
