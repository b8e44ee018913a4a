#include "ViewerTestSupport.h"
#include "platform/ui/UserPrompt.h"
#include "viewers/ViewerText.h"
#include "viewers/ui/TextFindDialog.h"
#include "viewers/ui/TextViewerWindow.h"
#include "../../platform/ui/AnyNameTemporaryDir.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <sys/stat.h>

using namespace orvo;
using namespace orvo::test;

class TextViewerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::AnyNameTemporaryDir> dir_;
    std::unique_ptr<ScriptedPrompt> prompt_;
    QList<QPointer<TextViewerWindow>> windows_;

    QString In(const char* name) const { return dir_->filePath(QString::fromLatin1(name)); }

    TextViewerWindow* Open(const char* name, const QByteArray& bytes) {
        WriteBytes(In(name), bytes);
        return OpenExisting(name);
    }
    TextViewerWindow* OpenExisting(const char* name) {
        auto* w = new TextViewerWindow(Std(In(name)), nullptr, true);
        windows_ << w;
        w->show();
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w))
            qWarning("the viewer did not become active");
        return w;
    }
    QByteArray Read(const char* name) const {
        QFile f(In(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

private slots:
    void init() {
        dir_ = std::make_unique<test::AnyNameTemporaryDir>();
        qputenv("ORVO_HOME", dir_->filePath("home").toUtf8());
        prompt_ = std::make_unique<ScriptedPrompt>();
        LastSearchedText().clear();
    }
    void cleanup() {
        prompt_->answers.clear();
        for (const QPointer<TextViewerWindow>& w : windows_)
            if (w) {
                w->Editor()->document()->setModified(false);
                w->close();
            }
        windows_.clear();
        QTest::qWait(20);
        prompt_.reset();
    }

    void statusLineOfAnEmptyFile() {
        TextViewerWindow* w = Open("empty.txt", QByteArray());
        QCOMPARE(w->StatusText(), QStringLiteral("1 lines.0 chars. <Ln 1, Col 1>"));
        QCOMPARE(w->windowTitle(), QStringLiteral("empty.txt"));
        QVERIFY(w->Wraps());
    }

    void binaryFilesShowWithoutZerosAndAreNotSaved() {
        const QByteArray bytes("ab\0cd", 5);
        TextViewerWindow* w = Open("data.bin", bytes);
        QCOMPARE(w->Editor()->toPlainText(), QStringLiteral("abcd"));
        QTest::keyClick(w->Editor(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(prompt_->asked, QStringList{QString::fromLatin1(kBinaryRefusal)});
        QCOMPARE(Read("data.bin"), bytes);
    }

    void saveKeepsTheEncodingAndEachLinesBreak() {
        const QByteArray file("one\r\ncaf\xe9\nna\xefve\r\nend");
        TextViewerWindow* w = Open("notes.txt", file);
        QCOMPARE(w->Editor()->toPlainText(), QString::fromUtf8("one\ncaf\xc3\xa9\nna\xc3\xafve\nend"));
        QCOMPARE(w->StatusText(), QStringLiteral("4 lines.18 chars. <Ln 1, Col 1>"));
        Screenshot(w, "text-viewer");
        prompt_->answers = {UserPrompt::Answer::No};
        QTest::keyClick(w->Editor(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(prompt_->asked.last(),
                 QStringLiteral("Are you sure you want to save notes.txt ?"));
        QCOMPARE(prompt_->titles.last(), QStringLiteral("Confirmation "));
        QCOMPARE(Read("notes.txt"), file);

        // The second line edited and a line added after it: both end as it
        // did, the others keep theirs, the file stays 8-bit.
        QTextCursor cursor(w->Editor()->document()->findBlockByNumber(1));
        cursor.movePosition(QTextCursor::EndOfBlock);
        w->Editor()->setTextCursor(cursor);
        w->Editor()->insertPlainText(QString::fromUtf8(", cr\xc3\xa8me \xe2\x82\xac"));
        QTest::keyClick(w->Editor(), Qt::Key_Return);
        QTest::keyClicks(w->Editor(), QStringLiteral("two"));
        prompt_->asked.clear();
        prompt_->answers = {UserPrompt::Answer::Yes};
        QTest::keyClick(w->Editor(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(prompt_->asked.size(), 1);
        QCOMPARE(Read("notes.txt"), QByteArray("one\r\ncaf\xe9, cr\xe8me \x80\ntwo\nna\xefve\r\nend"));
        QVERIFY(!w->Editor()->document()->isModified());

        // A character the encoding has not: asked, and only Yes writes UTF-8.
        w->Editor()->moveCursor(QTextCursor::End);
        w->Editor()->insertPlainText(QString::fromUtf8(" \xe4\xb8\xad"));
        prompt_->asked.clear();
        prompt_->answers = {UserPrompt::Answer::Yes, UserPrompt::Answer::No};
        QTest::keyClick(w->Editor(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(prompt_->asked.value(1),
                 QStringLiteral("Some characters of notes.txt cannot be written in its "
                                "Windows-1252 encoding. Save it as UTF-8 ?"));
        QVERIFY(Read("notes.txt").endsWith("end"));
        prompt_->answers = {UserPrompt::Answer::Yes, UserPrompt::Answer::Yes};
        QTest::keyClick(w->Editor(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(Read("notes.txt"),
                 QByteArray("one\r\ncaf\xc3\xa9, cr\xc3\xa8me \xe2\x82\xac\ntwo\nna\xc3\xafve\r\n"
                            "end \xe4\xb8\xad"));
    }

    void saveWritesThroughALinkAndAsksBeforeAReadOnlyFile() {
        WriteBytes(In("real.txt"), "old");
        QVERIFY(QFile::link(QStringLiteral("real.txt"), In("link.txt")));
        QVERIFY(QFile::setPermissions(In("real.txt"), QFile::ReadOwner | QFile::ReadGroup));
        TextViewerWindow* w = OpenExisting("link.txt");
        QTest::keyClicks(w->Editor(), QStringLiteral("new "));
        prompt_->answers = {UserPrompt::Answer::Yes, UserPrompt::Answer::No};
        QTest::keyClick(w->Editor(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(prompt_->asked.value(1).contains(QStringLiteral("read-only")));
        QCOMPARE(Read("real.txt"), QByteArray("old"));
        prompt_->answers = {UserPrompt::Answer::Yes, UserPrompt::Answer::Yes};
        QTest::keyClick(w->Editor(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(Read("real.txt"), QByteArray("new old"));
        QVERIFY(QFileInfo(In("link.txt")).isSymLink());
        struct stat st{};
        QCOMPARE(::stat(In("real.txt").toLocal8Bit().constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, 0440u);
    }

    void findWithAndWithoutCaseAndFromTheBeginning() {
        TextViewerWindow* w = Open("find.txt", "x ABC y abc");
        QTest::keyClick(w->Editor(), Qt::Key_F, Qt::ControlModifier);
        TextFindDialog* find = w->FindDialog();
        QVERIFY(find->isVisible());
        find->SetSearchText("abc");
        QTest::keyClick(w->Editor(), Qt::Key_F3);
        QCOMPARE(w->Editor()->textCursor().selectionStart(), 2);
        QCOMPARE(w->Editor()->textCursor().selectedText(), QStringLiteral("ABC"));
        QTest::keyClick(w->Editor(), Qt::Key_F3);
        QCOMPARE(w->Editor()->textCursor().selectionStart(), 8);

        // No further match: the question, and Yes starts again at the top.
        find->MatchCaseBox()->setChecked(true);
        prompt_->answers = {UserPrompt::Answer::Yes};
        QTest::keyClick(w->Editor(), Qt::Key_F3);
        QCOMPARE(prompt_->titles, QStringList{QString::fromLatin1(kTextNotFoundTitle)});
        QCOMPARE(w->Editor()->textCursor().selectionStart(), 8);
        find->SetSearchText("ABC");
        prompt_->answers = {UserPrompt::Answer::Yes};
        QTest::keyClick(w->Editor(), Qt::Key_F3);
        QCOMPARE(w->Editor()->textCursor().selectionStart(), 2);
        QCOMPARE(LastSearchedText(), std::string("ABC"));
    }

    void goToLineAndTheSharedLastSearch() {
        TextViewerWindow* w = Open("lines.txt", "first\nsecond needle\nthird");
        w->Editor()->moveCursor(QTextCursor::End);
        prompt_->texts = {QStringLiteral("1")};
        QTest::keyClick(w->Editor(), Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(prompt_->asked.last(), QStringLiteral("Go to line :"));
        QCOMPARE(prompt_->titles.last(), QStringLiteral("Question"));
        QCOMPARE(w->Editor()->textCursor().position(), 0);
        prompt_->texts = {QStringLiteral("2x")};
        QTest::keyClick(w->Editor(), Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(w->StatusText(), QStringLiteral("3 lines.25 chars. <Ln 2, Col 1>"));

        // The selection becomes the search of this viewer and of the next.
        QTextCursor cursor = w->Editor()->textCursor();
        cursor.setPosition(13);
        cursor.setPosition(19, QTextCursor::KeepAnchor);
        w->Editor()->setTextCursor(cursor);
        QTest::keyClick(w->Editor(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(w->FindDialog()->SearchText(), QStringLiteral("needle"));
        TextViewerWindow* next = Open("other.txt", "no needle here");
        QTest::keyClick(next->Editor(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(next->FindDialog()->SearchText(), QStringLiteral("needle"));
    }

    void pipesAreNotReadAndEditsAreNotLostSilently() {
        QVERIFY(::mkfifo(In("pipe.txt").toLocal8Bit().constData(), 0600) == 0);
        TextViewerWindow* pipe = OpenExisting("pipe.txt");
        QVERIFY(pipe->LoadError().contains("not a regular file"));
        QTest::keyClick(pipe->Editor(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(prompt_->asked.value(0), pipe->LoadError());

        TextViewerWindow* w = Open("edit.txt", "text");
        QTest::keyClicks(w->Editor(), "more ");
        prompt_->answers = {UserPrompt::Answer::Cancel};
        QVERIFY(!w->close());
        prompt_->answers = {UserPrompt::Answer::No};
        QVERIFY(w->close());
        QCOMPARE(Read("edit.txt"), QByteArray("text"));
    }
};

int RunTextViewerTests(int argc, char** argv) {
    TextViewerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TextViewerTest.moc"
