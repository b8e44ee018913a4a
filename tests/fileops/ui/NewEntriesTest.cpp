#include "comments/PathComments.h"
#include "fileops/ui/CNewDirectoryDlg.h"
#include "fileops/ui/FileOperationService.h"
#include "fileops/ui/NewEntryCommands.h"
#include "platform/DataDirectory.h"
#include "platform/ui/UserPrompt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace orvo;

namespace {

void Touch(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray Read(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// The dialog answered as a person would: names, comments, the boxes, OK.
void Answer(const QString& names, const QString& comments, bool multiple, int box = 0,
            const QString& type = QString()) {
    CNewDirectoryDlg::SetTestRunner([=](CNewDirectoryDlg& d) {
        d.NameEdit()->setText(names);
        d.CommentEdit()->setText(comments);
        d.MultipleBox()->setChecked(multiple);
        if (box == 1)
            d.CopyBox()->setChecked(true);
        if (box == 2)
            d.MoveBox()->setChecked(true);
        if (!type.isEmpty())
            d.TypeBox()->setCurrentText(type);
        d.accept();
    });
}

} // namespace

class NewEntriesTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedPrompt> prompt_;

    QString In(const QString& name) const { return dir_->path() + "/" + name; }
    std::string InS(const QString& name) const { return In(name).toStdString(); }

private slots:
    void initTestCase() {
        qputenv("ORVO_HOME", home_.path().toUtf8());
        EnsureDataDirectory(); // the shipped templates
    }
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        prompt_ = std::make_unique<ScriptedPrompt>();
        Touch(In("one.txt"), "1");
        QDir(dir_->path()).mkpath("tree/inner");
        Touch(In("tree/inner/deep.txt"), "d");
    }
    void cleanup() {
        CNewDirectoryDlg::SetTestRunner(nullptr);
        prompt_.reset();
    }

    void theDialogHasThreeDirectoryFormsAndAFileForm() {
        using Form = CNewDirectoryDlg::Form;
        CNewDirectoryDlg plain(Form::Directory, "temp00", {});
        QCOMPARE(plain.windowTitle(), QStringLiteral("Create new directory"));
        QCOMPARE(plain.Label()->text(), QStringLiteral("New Directory"));
        QCOMPARE(plain.NameEdit()->text(), QStringLiteral("temp00"));
        QVERIFY(!plain.CopyBox()->isChecked() && !plain.MoveBox()->isChecked());
        CNewDirectoryDlg copy(Form::DirectoryCopy, {}, {});
        QCOMPARE(copy.Label()->text(),
                 QStringLiteral("New Directory, to which selected files will be copied..."));
        QVERIFY(copy.CopyBox()->isChecked());
        CNewDirectoryDlg move(Form::DirectoryMove, {}, {});
        QCOMPARE(move.Label()->text(),
                 QStringLiteral("New Directory, to which selected files will be moved..."));
        QVERIFY(move.MoveBox()->isChecked());
        move.CopyBox()->setChecked(true); // the two exclude each other
        QVERIFY(!move.MoveBox()->isChecked());

        CNewDirectoryDlg file(Form::File, {}, ListFileTemplates(FileTemplatesDirectory()));
        QCOMPARE(file.windowTitle(), QStringLiteral("Creating a new file"));
        QCOMPARE(file.Label()->text(), QStringLiteral("New file"));
        QCOMPARE(file.TypeBox()->currentText(), QStringLiteral("Text file.txt"));
        for (const char* shipped : {"Shell script.sh", "Markdown file.md", "C++ source file.cpp",
                                    "HTML page.html", "Empty file"})
            QVERIFY2(file.TypeBox()->findText(shipped) >= 0, shipped);
        QByteArray shots = qgetenv("ORVO_SCREENSHOT_DIR");
        if (!shots.isEmpty()) {
            copy.show();
            copy.grab().save(QString::fromLocal8Bit(shots) + "/new-directory.png");
            file.show();
            file.grab().save(QString::fromLocal8Bit(shots) + "/new-file.png");
        }
    }

    void severalNamesAndCommentsSplitAtSemicolons() {
        Answer("a;b;c", "x;y", true);
        std::vector<std::string> made = RunNewDirectoryCommand(
            nullptr, dir_->path().toStdString(), {}, CNewDirectoryDlg::Form::Directory);
        QCOMPARE(made.size(), size_t{3});
        QCOMPARE(GetComment(InS("a")), std::string("x"));
        QCOMPARE(GetComment(InS("b")), std::string("y"));
        QCOMPARE(GetComment(InS("c")), std::string());
        // Unchecked, "x;y" is one name.
        Answer("x;y", "", false);
        RunNewDirectoryCommand(nullptr, dir_->path().toStdString(), {},
                               CNewDirectoryDlg::Form::Directory);
        QVERIFY(QFileInfo(In("x;y")).isDir());
        // A name that cannot be made is told, the rest still made.
        Answer("one.txt/sub;d", "", true);
        made = RunNewDirectoryCommand(nullptr, dir_->path().toStdString(), {},
                                      CNewDirectoryDlg::Form::Directory);
        QCOMPARE(made, std::vector<std::string>{InS("d")});
        QCOMPARE(prompt_->asked.last(), "Couldn't create " + In("one.txt/sub"));
    }

    void oneDirectoryGetsTheSelectionThroughTheOperationWindow() {
        QSignalSpy started(&FileOperationNotifier::Instance(),
                           &FileOperationNotifier::OperationStarted);
        Answer("copies", "", false, 1);
        RunNewDirectoryCommand(nullptr, dir_->path().toStdString(), {InS("one.txt"), InS("tree")},
                               CNewDirectoryDlg::Form::DirectoryCopy);
        QCOMPARE(started.count(), 1);
        QTRY_COMPARE(Read(In("copies/tree/inner/deep.txt")), QByteArray("d"));
        QTRY_COMPARE(Read(In("copies/one.txt")), QByteArray("1"));
    }

    void severalDirectoriesGetItAtOnce() {
        QSignalSpy started(&FileOperationNotifier::Instance(),
                           &FileOperationNotifier::OperationStarted);
        QVERIFY(SetComment(InS("one.txt"), "travels"));
        Answer("x;y", "", true, 2);
        RunNewDirectoryCommand(nullptr, dir_->path().toStdString(), {InS("one.txt"), InS("tree")},
                               CNewDirectoryDlg::Form::DirectoryMove);
        QCOMPARE(started.count(), 0);
        for (const char* d : {"x", "y"}) {
            QCOMPARE(Read(In(QString(d) + "/tree/inner/deep.txt")), QByteArray("d"));
            QCOMPARE(GetComment(InS(QString(d) + "/one.txt")), std::string("travels"));
        }
        QVERIFY(!QFile::exists(In("one.txt")));
        QVERIFY(!QFile::exists(In("tree")));
    }

    void entriesAlreadyThereAreAskedAboutAndCommentsMerged() {
        QDir(dir_->path()).mkpath("old/tree/inner");
        Touch(In("old/one.txt"), "my own one");
        Touch(In("old/tree/inner/mine.txt"), "mine");
        QVERIFY(SetComment(InS("old/one.txt"), "my comment"));
        QVERIFY(SetComment(InS("old/tree/inner/mine.txt"), "mine comment"));
        QVERIFY(SetComment(InS("one.txt"), "new comment"));
        QVERIFY(SetComment(InS("tree/inner/deep.txt"), "deep comment"));
        const std::vector<std::string> selection = {InS("one.txt"), InS("tree")};

        // No keeps what is there and copies the rest.
        Answer("old;fresh", "", true, 1);
        prompt_->answers = {UserPrompt::Answer::No};
        RunNewDirectoryCommand(nullptr, dir_->path().toStdString(), selection,
                               CNewDirectoryDlg::Form::DirectoryCopy);
        QCOMPARE(prompt_->asked.size(), 1);
        QVERIFY(prompt_->asked.last().contains("exist already"));
        QVERIFY(prompt_->asked.last().contains(In("old/one.txt")));
        QCOMPARE(Read(In("old/one.txt")), QByteArray("my own one"));
        QCOMPARE(GetComment(InS("old/one.txt")), std::string("my comment"));
        QCOMPARE(GetComment(InS("old/tree/inner/mine.txt")), std::string("mine comment"));
        QCOMPARE(GetComment(InS("old/tree/inner/deep.txt")), std::string("deep comment"));
        QCOMPARE(Read(In("fresh/one.txt")), QByteArray("1"));

        // Cancel transfers nothing more; Yes replaces, the merge still holds.
        Answer("old", "", true, 1);
        prompt_->answers = {UserPrompt::Answer::Cancel};
        Touch(In("one.txt"), "changed");
        RunNewDirectoryCommand(nullptr, dir_->path().toStdString(), selection,
                               CNewDirectoryDlg::Form::DirectoryCopy);
        QCOMPARE(Read(In("old/one.txt")), QByteArray("my own one"));
        Answer("old;fresh", "", true, 1);
        prompt_->answers = {UserPrompt::Answer::Yes};
        RunNewDirectoryCommand(nullptr, dir_->path().toStdString(), selection,
                               CNewDirectoryDlg::Form::DirectoryCopy);
        QCOMPARE(Read(In("old/one.txt")), QByteArray("changed"));
        QCOMPARE(GetComment(InS("old/one.txt")), std::string("new comment"));
        QCOMPARE(GetComment(InS("old/tree/inner/mine.txt")), std::string("mine comment"));
    }

    void newFilesTakeTheTemplatesExtensionAndNeverReplaceSilently() {
        Answer("readme;notes.md", "first;second", true, 0, "Shell script.sh");
        std::vector<std::string> made = RunNewFileCommand(nullptr, dir_->path().toStdString());
        QCOMPARE(made, (std::vector<std::string>{InS("readme.sh"), InS("notes.md")}));
        QVERIFY(Read(In("readme.sh")).startsWith("#!/bin/sh"));
        QVERIFY(QFileInfo(In("readme.sh")).isExecutable());
        QCOMPARE(GetComment(InS("notes.md")), std::string("second"));

        Touch(In("one.txt"), "keep me");
        Answer("one", "", false, 0, "Text file.txt");
        prompt_->answers = {UserPrompt::Answer::No};
        QVERIFY(RunNewFileCommand(nullptr, dir_->path().toStdString()).empty());
        QVERIFY(prompt_->asked.last().contains("already exists"));
        QCOMPARE(Read(In("one.txt")), QByteArray("keep me"));
    }
};

QTEST_MAIN(NewEntriesTest)
#include "NewEntriesTest.moc"
