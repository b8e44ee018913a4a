// The operation window's Cancel, with the run going on behind it.
#include "fileops/FileOperationRequest.h"
#include "fileops/ui/CFileOperationDlg.h"
#include "platform/ui/UserPrompt.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

using namespace orvo;

namespace {

// Answers through a function, so a question can watch the run before it
// is answered.
class WatchingPrompt : public UserPrompt {
public:
    WatchingPrompt() { SetInstance(this); }
    ~WatchingPrompt() override { SetInstance(nullptr); }
    std::function<Answer(const QString&)> onAsk;
    QStringList asked;

    Answer Ask(QWidget*, const QString&, const QString& text, Buttons, Icon) override {
        asked << text;
        return onAsk ? onAsk(text) : Answer::Ok;
    }
    std::optional<QString> AskText(QWidget*, const QString&, const QString&,
                                   const QString&) override {
        return std::nullopt;
    }
};

int EntriesIn(const QString& directory) {
    return static_cast<int>(QDir(directory).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

} // namespace

class OperationStopTest : public QObject {
    Q_OBJECT

private slots:
    // While "Are you sure you want to stop …?" is open nothing more is
    // copied; No lets the run go on, Yes breaks it.
    void theStopQuestionHoldsTheRun() {
        constexpr int kFiles = 10000;
        QTemporaryDir home;
        QDir().mkpath(home.path() + "/src");
        QDir().mkpath(home.path() + "/dst");
        for (int i = 0; i < kFiles; ++i) {
            QFile f(home.path() + "/src/f" + QString::number(i));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("x");
        }
        const QString copies = home.path() + "/dst/src";
        WatchingPrompt prompt;
        int atQuestion = -1, afterWaiting = -1, stopQuestions = 0;
        prompt.onAsk = [&](const QString& text) {
            if (!text.startsWith("Are you sure you want to stop"))
                return UserPrompt::Answer::Ok;
            if (++stopQuestions > 1)
                return UserPrompt::Answer::Yes;
            QTest::qWait(50); // the entry under way may end
            atQuestion = EntriesIn(copies);
            QTest::qWait(400);
            afterWaiting = EntriesIn(copies);
            return UserPrompt::Answer::No;
        };
        FileOperationRequest request;
        request.items = {(home.path() + "/src").toStdString()};
        request.destination = (home.path() + "/dst").toStdString();
        request.kind = OpCopy;
        QPointer<CFileOperationDlg> dlg = new CFileOperationDlg(std::move(request));
        QSignalSpy finished(dlg.data(), &CFileOperationDlg::Finished);
        dlg->Start();
        QTRY_VERIFY_WITH_TIMEOUT(EntriesIn(copies) >= 50, 20000);
        dlg->CancelButton()->click();
        QCOMPARE(stopQuestions, 1);
        QVERIFY(atQuestion < kFiles);
        QCOMPARE(afterWaiting, atQuestion);
        QCOMPARE(finished.count(), 0);
        QTRY_VERIFY(EntriesIn(copies) > afterWaiting); // No: it goes on
        dlg->CancelButton()->click();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
        QVERIFY(EntriesIn(copies) < kFiles);
        QCOMPARE(prompt.asked.last(), QStringLiteral("User has broken the operation."));
    }
};

QTEST_MAIN(OperationStopTest)
#include "OperationStopTest.moc"
