#include "assist/ui/TipDialog.h"
#include "browse/ui/COrvoBrowserView.h"
#include "comments/PathComments.h"
#include "fileops/FileOperationRequest.h"
#include "fileops/ui/CFileOperationDlg.h"
#include "fileops/ui/CProblemsDlg.h"
#include "fileops/ui/FileOperationService.h"
#include "platform/ui/UserPrompt.h"
#include "workspace/AppState.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/FrameTransfers.h"
#include "workspace/ui/WindowChooserDialog.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace orvo;

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// With ORVO_SCREENSHOT_DIR set, a window is saved there as a PNG to be
// looked at.
void Screenshot(QWidget* w, const char* name) {
    QByteArray dir = qgetenv("ORVO_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        w->grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
}

} // namespace

class FileOperationDlgTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home_;
    std::unique_ptr<QTemporaryDir> data_;
    std::unique_ptr<ScriptedPrompt> prompt_;

    QString In(const QString& name) const { return home_->path() + "/" + name; }
    std::string InS(const QString& name) const { return In(name).toStdString(); }

    CFileOperationDlg* Make(std::vector<std::string> items, const QString& destination, int kind) {
        FileOperationRequest request;
        request.items = std::move(items);
        request.destination = destination.toStdString();
        request.kind = kind;
        return new CFileOperationDlg(std::move(request));
    }

private slots:
    void init() {
        home_ = std::make_unique<QTemporaryDir>();
        data_ = std::make_unique<QTemporaryDir>();
        qputenv("HOME", home_->path().toUtf8());
        qputenv("ORVO_HOME", data_->path().toUtf8());
        prompt_ = std::make_unique<ScriptedPrompt>();
        TipDialog::SetTestRunner([](TipDialog&) {});
        GetAppState() = AppState{};
    }
    void cleanup() {
        TipDialog::SetTestRunner(nullptr);
        WindowChooserDialog::SetTestRunner(nullptr);
        CProblemsDlg::SetTestRunner(nullptr);
        SetDestinationFolderPicker(nullptr);
        prompt_.reset();
    }

    // Hidden for four seconds, then shown with the run's figures; while
    // Pause is down nothing is done.
    void hiddenForFourSecondsAndPauseHoldsTheRun() {
        WriteFile(In("src/a.txt"), "a");
        WriteFile(In("src/b.txt"), "b");
        QDir().mkpath(In("dst"));
        QPointer<CFileOperationDlg> dlg =
            Make({InS("src/a.txt"), InS("src/b.txt")}, In("dst"), OpCopy);
        QSignalSpy finished(dlg.data(), &CFileOperationDlg::Finished);
        dlg->PauseButton()->setChecked(true);
        QElapsedTimer clock;
        clock.start();
        dlg->Start();
        QTest::qWait(1000);
        QVERIFY(!dlg->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(dlg->isVisible(), 5000);
        QVERIFY(clock.elapsed() >= CFileOperationDlg::kShowAfterMs - 100);
        QCOMPARE(dlg->windowTitle(),
                 QStringLiteral("Calculating space, searching for problems..."));
        QVERIFY(dlg->LineText("free").startsWith("Free space on target drive is : "));
        QCOMPARE(dlg->LineText("fit"), QStringLiteral("Calculating space"));
        QVERIFY(!QFile::exists(In("dst/a.txt")));
        Screenshot(dlg, "file-operation");

        dlg->PauseButton()->setChecked(false);
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toStringList(), QStringList{In("dst")});
        QCOMPARE(ReadFile(In("dst/b.txt")), QByteArray("b"));
        QTRY_VERIFY(dlg.isNull()); // it closed and went by itself
        QVERIFY(prompt_->asked.isEmpty());
    }

    // Quitting with a run still going asks first; Yes stops the run.
    void quittingAsksWhileOperationsRun() {
        WriteFile(In("src/a.txt"), "a");
        QDir().mkpath(In("dst"));
        CMainFrame frame;
        frame.show();
        FileOperationRequest request;
        request.items = {InS("src/a.txt")};
        request.destination = In("dst").toStdString();
        QPointer<CFileOperationDlg> dlg = new CFileOperationDlg(std::move(request), &frame);
        dlg->PauseButton()->setChecked(true);
        dlg->Start();
        prompt_->answers = {UserPrompt::Answer::No};
        QVERIFY(!frame.close());
        QCOMPARE(prompt_->asked.value(0),
                 QStringLiteral("1 file operation(s) are still running. Stop them and quit?"));
        QVERIFY(dlg && dlg->IsWorking());
        QVERIFY(frame.close()); // Yes
        QVERIFY(!QFile::exists(In("dst/a.txt")));
    }

    void cancelAsksAndBreaksTheRun() {
        WriteFile(In("src/a.txt"), "a");
        QPointer<CFileOperationDlg> dlg = Make({InS("src/a.txt")}, "", OpDelete);
        QSignalSpy finished(dlg.data(), &CFileOperationDlg::Finished);
        dlg->PauseButton()->setChecked(true);
        dlg->Start();
        QTest::qWait(200);
        prompt_->answers = {UserPrompt::Answer::No};
        dlg->CancelButton()->click();
        QTest::qWait(300);
        QCOMPARE(finished.count(), 0);        // No: it goes on (still paused)
        QTest::keyClick(dlg, Qt::Key_Escape); // Yes this time
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(
            prompt_->asked,
            QStringList(
                {"Are you sure you want to stop Calculating space, searching for problems... ?",
                 "Are you sure you want to stop Calculating space, searching for problems... ?",
                 "User has broken the operation."}));
        QVERIFY(QFile::exists(In("src/a.txt")));
    }

    void problemsAreDecidedInTheirDialog() {
        for (const char* name : {"one.txt", "two.txt"}) {
            WriteFile(In(QString("src/") + name), "new");
            WriteFile(In(QString("dst/") + name), "old");
        }
        QPointer<CFileOperationDlg> dlg =
            Make({InS("src/one.txt"), InS("src/two.txt")}, In("dst"), OpCopy);
        QSignalSpy finished(dlg.data(), &CFileOperationDlg::Finished);
        bool windowShown = false;
        QString description;
        CProblemsDlg::SetTestRunner([&](CProblemsDlg& problems) {
            windowShown = dlg->isVisible();
            description = problems.Description()->text();
            Screenshot(&problems, "problems");
            problems.SkipAll();
            problems.YesToAll();
            problems.ToggleRow(0);
            return int(QDialog::Accepted);
        });
        dlg->Start();
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(windowShown);
        QCOMPARE(description,
                 QStringLiteral("These files are to be overwritten during copy operation.\n"
                                "Are you sure you want to overwrite them ?"));
        QCOMPARE(ReadFile(In("dst/one.txt")), QByteArray("old"));
        QCOMPARE(ReadFile(In("dst/two.txt")), QByteArray("new"));
    }

    // F5: the selection into the window chosen; both windows' directories
    // are re-read at the end and show the copy with its comment.
    void copyToAnotherWindowRefreshesIt() {
        WriteFile(In("a/report.txt"), "r");
        QDir().mkpath(In("b"));
        QVERIFY(SetComment(InS("a/report.txt"), "monthly"));
        CMainFrame frame;
        frame.resize(1000, 700);
        frame.show();
        COrvoBrowserView* b = frame.OpenBrowseWindow(InS("b"));
        COrvoBrowserView* a = frame.OpenBrowseWindow(InS("a"));
        QVERIFY(a->SelectPath(InS("a/report.txt")));
        QVERIFY(!b->SelectPath(InS("b/report.txt")));
        WindowChooserDialog::SetTestRunner([](WindowChooserDialog& d) {
            d.List()->setCurrentRow(1);
            emit d.List()->itemDoubleClicked(d.List()->item(1));
            return d.result();
        });
        QSignalSpy started(&FileOperationNotifier::Instance(),
                           &FileOperationNotifier::OperationStarted);
        frame.Transfers().CopyTo();
        QCOMPARE(started.count(), 1);
        QTRY_VERIFY(b->SelectPath(InS("b/report.txt")));
        QCOMPARE(QString::fromStdString(GetComment(InS("b/report.txt"))),
                 QStringLiteral("monthly"));

        // A folder that is no directory stops before anything starts.
        SetDestinationFolderPicker(
            [](QWidget*, const QString& start) { return start + "/report.txt"; });
        frame.Transfers().MoveTo(true);
        QCOMPARE(started.count(), 1);
        QCOMPARE(prompt_->asked, QStringList{"The destination is not a directory. Stopping."});
        QVERIFY(QFile::exists(In("a/report.txt")));
    }
};

QTEST_MAIN(FileOperationDlgTest)
#include "FileOperationDlgTest.moc"
