#include "../../platform/TmpfsMount.h"
#include "WindowRows.h"
#include "browse/DirectoryListing.h"
#include "browse/ui/BrowseIcons.h"
#include "browse/ui/BrowseNotice.h"
#include "browse/ui/BrowsePathBar.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/DirectoryWatch.h"
#include "browse/ui/ViewTableModel.h"
#include "platform/MountTable.h"
#include "platform/ui/UserPrompt.h"

#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTableView>
#include <QtTest>
#include <csignal>
#include <sys/mount.h>
#include <unistd.h>

using namespace orvo;
using namespace orvo::test;

namespace {

int DriveRow(COrvoBrowserView& view, const QString& mountPoint) {
    for (int i = 0; i < view.ViewTable().GetRecordCount(); ++i)
        if (QString::fromStdString(view.ViewTable().GetText("Path", i)) == mountPoint)
            return i;
    return -1;
}

// A fresh folder where removable media are mounted; the place itself is
// made (and later removed) when the system has none.
class MediaFolder {
public:
    MediaFolder() {
        madeMedia_ = QDir("/media").exists() ? false : QDir().mkpath("/media");
        QByteArray pattern = "/media/ORVO_TEST_XXXXXX";
        if (::mkdtemp(pattern.data()))
            path_ = QString::fromLatin1(pattern);
    }
    ~MediaFolder() {
        if (!path_.isEmpty())
            QDir().rmdir(path_);
        if (madeMedia_)
            QDir().rmdir("/media");
    }
    const QString& Path() const { return path_; }

private:
    QString path_;
    bool madeMedia_ = false;
};

} // namespace

class MountsTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;

private slots:
    void initTestCase() { UseFreshOptions(home_); }

    void aWindowOnAnUnmountedFileSystemGoesToTheDriveListSayingSoOnce() {
        QTemporaryDir base;
        QVERIFY(QDir(base.path()).mkpath("fs/sub/deeper"));
        const QString fs = base.path() + "/fs";
        TmpfsMount tmpfs("4m", fs.toStdString());
        if (!tmpfs.Mounted())
            QSKIP("needs root to mount a tmpfs");
        QVERIFY(QDir(fs).mkpath("sub/deeper"));
        Touch(fs + "/sub/a.txt");

        COrvoBrowserView view, other;
        for (COrvoBrowserView* w : {&view, &other}) {
            w->resize(700, 300);
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
        }
        other.Navigate(base.path().toStdString());
        ScriptedPrompt prompt;
        view.Navigate(fs.toStdString());
        // Into the mounted file system with the keys.
        const int sub = RowOf(view, "sub");
        QVERIFY(sub > 0);
        view.SelectRow(sub);
        view.DetailsList()->setFocus();
        QTest::keyClick(view.DetailsList(), Qt::Key_Return);
        QCOMPARE(QString::fromStdString(view.CurrentPath()), fs + "/sub");
        QVERIFY(RowOf(view, "a.txt") > 0);

        // Lazily, as a user's file manager does when a stick is busy.
        QCOMPARE(::umount2(fs.toLocal8Bit().constData(), MNT_DETACH), 0);
        QTRY_VERIFY(view.CurrentPath() == kComputerPath);
        QVERIFY(view.Notice().isVisible());
        QCOMPARE(view.Notice().text(), QString("%1 was unmounted.").arg(fs));
        QVERIFY(DriveRow(view, "/") > 0);
        QVERIFY(prompt.asked.isEmpty());
        // Said once: the drive list refreshing keeps the line, and no error
        // of the directory follows it.
        QTest::qWait(300);
        view.Watch().Refresh();
        QCOMPARE(view.Notice().text(), QString("%1 was unmounted.").arg(fs));
        QVERIFY(prompt.asked.isEmpty());
        // A window elsewhere stays where it was.
        QCOMPARE(QString::fromStdString(other.CurrentPath()), base.path());
        QVERIFY(other.Notice().isHidden());
        // Going on clears it.
        view.Navigate(base.path().toStdString());
        QVERIFY(view.Notice().isHidden());
    }

    void aNewMountShowsInTheDriveBoxAndListWithoutARestart() {
        if (::geteuid() != 0)
            QSKIP("needs root to mount a tmpfs");
        MediaFolder stick;
        QVERIFY(!stick.Path().isEmpty());
        COrvoBrowserView view;
        view.resize(900, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.Navigate(std::string(kComputerPath));
        QComboBox* box = view.PathBar().DriveBox();
        view.Navigate(QDir::homePath().toStdString()); // fills the box
        view.Navigate(std::string(kComputerPath));
        QVERIFY(box->count() > 0);
        QCOMPARE(box->findData(stick.Path()), -1);

        const QString name = stick.Path().mid(QString("/media/").size());
        {
            TmpfsMount mounted("1m", stick.Path().toStdString());
            QVERIFY(mounted.Mounted());
            QTRY_VERIFY(box->findData(stick.Path()) >= 0);
            QVERIFY(box->itemText(box->findData(stick.Path()))
                        .startsWith(stick.Path() + " " + name + " (tmpfs)     Free 1 of 1"));
            QTRY_VERIFY(DriveRow(view, stick.Path()) > 0);
            // Where sticks go, it shows as one.
            const QIcon removable = BrowseIcons::DriveIcon(DRIVE_REMOVABLE);
            const QModelIndex row = view.Model()->index(DriveRow(view, stick.Path()), 0);
            QCOMPARE(view.Model()->data(row, Qt::DecorationRole).value<QIcon>().cacheKey(),
                     removable.cacheKey());
            QVERIFY(removable.cacheKey() != BrowseIcons::DriveIcon(DRIVE_FIXED).cacheKey());
            // A drive has no date to show, not the zero date's 1899.
            for (int column : {ViewTableModel::DateColumn, ViewTableModel::TimeColumn})
                QCOMPARE(view.Model()
                             ->data(row.siblingAtColumn(column), Qt::DisplayRole)
                             .toString(),
                         QString());
        }
        QTRY_COMPARE(box->findData(stick.Path()), -1);
        QTRY_COMPARE(DriveRow(view, stick.Path()), -1);
    }

    void aFuseDriveThatStopsAnsweringHoldsNeitherTheDriveBoxNorTheDriveList() {
        const QString bindfs = QStandardPaths::findExecutable("bindfs");
        if (::geteuid() != 0 || bindfs.isEmpty())
            QSKIP("needs root and bindfs to make a FUSE mount");
        QTemporaryDir base;
        QVERIFY(QDir(base.path()).mkpath("source") && QDir(base.path()).mkpath("fuse"));
        const QString fuse = base.path() + "/fuse";
        QProcess daemon;
        daemon.start(bindfs, {"-f", base.path() + "/source", fuse});
        QVERIFY(daemon.waitForStarted());
        QTRY_VERIFY(MountPointOf(fuse.toStdString()) == fuse.toStdString());
        const auto cleanUp = qScopeGuard([&] {
            ::kill(static_cast<pid_t>(daemon.processId()), SIGCONT);
            ::umount2(fuse.toLocal8Bit().constData(), MNT_DETACH);
            daemon.waitForFinished(3000);
        });

        COrvoBrowserView view;
        view.resize(900, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QComboBox* box = view.PathBar().DriveBox();
        // The daemon stops answering: a stat of the mount would wait for
        // ever, and the alarm ends the test instead.
        ::kill(static_cast<pid_t>(daemon.processId()), SIGSTOP);
        ::alarm(60);
        view.Navigate(std::string(kComputerPath));
        QVERIFY(DriveRow(view, fuse) > 0);
        view.DetailsList()->setFocus();
        QTest::keyClick(view.DetailsList(), Qt::Key_F1, Qt::AltModifier);
        QVERIFY(box->view()->isVisible());
        const int entry = box->findData(fuse);
        QVERIFY(entry >= 0);
        QVERIFY(!box->itemText(entry).contains("Free"));
        QVERIFY(box->itemText(box->findData("/")).contains("Free"));
        box->hidePopup();
        ::alarm(0);

        // Answering again, it gets its figures.
        ::kill(static_cast<pid_t>(daemon.processId()), SIGCONT);
        box->showPopup();
        QTRY_VERIFY(box->itemText(box->findData(fuse)).contains("Free"));
        box->hidePopup();
    }

    // The desktop's network places are folders of one FUSE mount; a FUSE
    // mount of the same type stands in for it.
    void aNetworkPlaceThatClosesSendsItsWindowToTheDriveList() {
        const QString bindfs = QStandardPaths::findExecutable("bindfs");
        if (::geteuid() != 0 || bindfs.isEmpty())
            QSKIP("needs root and bindfs to make a FUSE mount");
        QTemporaryDir base;
        const QString share = "sftp:host=example.org,user=me";
        QVERIFY(QDir(base.path()).mkpath("places/" + share + "/docs"));
        QVERIFY(QDir(base.path()).mkpath("gvfs"));
        const QString gvfs = base.path() + "/gvfs";
        QProcess daemon;
        daemon.start(bindfs, {"-f", "-o", "subtype=gvfsd-fuse", base.path() + "/places", gvfs});
        QVERIFY(daemon.waitForStarted());
        QTRY_VERIFY(MountPointOf(gvfs.toStdString()) == gvfs.toStdString());
        const auto cleanUp = qScopeGuard([&] {
            ::umount2(gvfs.toLocal8Bit().constData(), MNT_DETACH);
            daemon.waitForFinished(3000);
        });

        COrvoBrowserView view;
        view.resize(900, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.Navigate(std::string(kComputerPath));
        const QString place = gvfs + "/" + share;
        QTRY_VERIFY(DriveRow(view, place) > 0);
        QCOMPARE(view.Model()->FullName(DriveRow(view, place)),
                 place + " me on example.org (sftp)");
        QCOMPARE(DriveRow(view, gvfs), -1);
        view.SelectRow(DriveRow(view, place));
        view.DetailsList()->setFocus();
        QTest::keyClick(view.DetailsList(), Qt::Key_Return);
        QCOMPARE(QString::fromStdString(view.CurrentPath()), place);
        QVERIFY(RowOf(view, "docs") > 0);
        QCOMPARE(view.PathBar().DriveBox()->currentData().toString(), place);

        // A server that stops answering for a while has not closed the place:
        // the window stays through several polls.
        ::kill(static_cast<pid_t>(daemon.processId()), SIGSTOP);
        QTest::qWait(7000);
        ::kill(static_cast<pid_t>(daemon.processId()), SIGCONT);
        QCOMPARE(QString::fromStdString(view.CurrentPath()), place);
        QCOMPARE(view.Notice().text(), QString());

        // The place closes: its folder goes, the mount table stays the same.
        QVERIFY(QDir(base.path() + "/places/" + share).removeRecursively());
        QTRY_VERIFY_WITH_TIMEOUT(view.CurrentPath() == kComputerPath, 10000);
        QCOMPARE(view.Notice().text(), QString("me on example.org was unmounted."));
        QCOMPARE(DriveRow(view, place), -1);
    }
};

QTEST_MAIN(MountsTest)
#include "MountsTest.moc"
