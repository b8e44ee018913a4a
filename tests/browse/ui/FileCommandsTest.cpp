#include "assist/ui/TipDialog.h"
#include "browse/ui/BrowseClipboard.h"
#include "browse/ui/BrowseCounting.h"
#include "browse/ui/BrowseFileCommands.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "comments/PathComments.h"
#include "comments/ui/CommentEditDialog.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionsStore.h"
#include "../../platform/ui/AnyNameTemporaryDir.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <fstream>
#include <memory>
#include <sys/stat.h>

using namespace orvo;

namespace {

void Touch(const QString& path, const QByteArray& bytes = "x") {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray Read(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

QString Comment(COrvoBrowserView& view, const QString& name) {
    for (int i = 0; i < view.Model()->rowCount(); ++i)
        if (view.Model()->FullName(i) == name)
            return view.Model()->index(i, ViewTableModel::CommentColumn).data().toString();
    return QStringLiteral("<no row %1>").arg(name);
}

int RowOf(COrvoBrowserView& view, const QString& name) {
    for (int i = 0; i < view.Model()->rowCount(); ++i)
        if (view.Model()->FullName(i) == name)
            return i;
    return -1;
}

void Select(COrvoBrowserView& view, const QStringList& names) {
    bool first = true;
    for (const QString& n : names) {
        view.SelectRow(RowOf(view, n), first);
        first = false;
    }
}

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

    test::AnyNameTemporaryDir home_;
    std::unique_ptr<test::AnyNameTemporaryDir> tree_;
    std::unique_ptr<ScriptedPrompt> prompt_;

    QString In(const QString& name) const { return tree_->path() + "/" + name; }
    std::string InS(const QString& name) const { return In(name).toStdString(); }

private slots:
    void initTestCase() {
        qputenv("ORVO_HOME", home_.path().toUtf8());
        LoadOptions(OptionsFilePath(home_.path().toStdString()));
        TipDialog::SetTestRunner([](TipDialog&) {});
    }
    void init() {
        tree_ = std::make_unique<test::AnyNameTemporaryDir>();
        prompt_ = std::make_unique<ScriptedPrompt>();
        Touch(In("a.txt"), "aaa");
        Touch(In("b.txt"), "bb");
        Touch(In("c.txt"), "c");
        QDir(tree_->path()).mkdir("sub");
        QGuiApplication::clipboard()->clear();
    }
    void cleanup() {
        prompt_.reset();
        CommentEditDialog::SetTestRunner(nullptr);
    }

    // Byte paths: names that are not UTF-8 have no QString of their own.
    std::string Bytes(const std::string& name) const { return InS("") + name; }
    static bool Exists(const std::string& path) {
        struct stat st {};
        return ::lstat(path.c_str(), &st) == 0;
    }

    void namesThatAreNotUtf8KeepTheirBytes() {
        const std::string names[] = {"caf\xe9.txt", "\xff\xfe"};
        for (const std::string& name : names)
            std::ofstream(Bytes(name)) << "content";
        COrvoBrowserView view;
        view.Navigate(tree_->path().toStdString());
        ViewTableModel& model = *view.Model();
        for (const std::string& name : names) {
            // Renamed in place: the editor's text with a prefix typed.
            QVERIFY(view.SelectPath(Bytes(name)));
            const QModelIndex cell = model.index(view.SelectionMark(), ViewTableModel::NameColumn);
            QVERIFY(model.setData(cell, "new-" + cell.data(Qt::EditRole).toString(), Qt::EditRole));
            QTRY_VERIFY(Exists(Bytes("new-" + name)));
            QVERIFY(!Exists(Bytes(name)));
            QVERIFY(view.SelectPath(Bytes("new-" + name)));
            view.FileCommands().CopyToClipboard();
            QCOMPARE(ClipboardFileList(), std::vector<std::string>{Bytes("new-" + name)});
        }
        QCOMPARE(view.SelectedPaths(), std::vector<std::string>{Bytes("new-\xff\xfe")});
        prompt_->answers = {UserPrompt::Answer::Yes};
        view.FileCommands().RemoveSelection();
        QTRY_VERIFY(!Exists(Bytes("new-\xff\xfe")));
        QVERIFY(Exists(Bytes("new-caf\xe9.txt")));
    }

    void anEditThatOutlivesARefreshKeepsItsEntry() {
        // A refresh between the start and the end of an edit adds a row
        // before the edited one: the edit still goes to its own entry.
        COrvoBrowserView view;
        view.Navigate(tree_->path().toStdString());
        view.SelectRow(RowOf(view, "c.txt"));
        CommentEditDialog::SetTestRunner([&](CommentEditDialog& d) {
            Touch(In("0first.txt"));
            view.RebuildView(true, true, false);
            d.SetComment("for c");
            return true;
        });
        view.FileCommands().EditComment();
        QCOMPARE(GetComment(InS("c.txt")), std::string("for c"));
        QCOMPARE(Comment(view, "c.txt"), QStringLiteral("for c"));
        QCOMPARE(Comment(view, "b.txt"), QStringLiteral("-"));
        QCOMPARE(Comment(view, "0first.txt"), QStringLiteral("-"));

        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.SelectRow(RowOf(view, "c.txt"));
        view.CurrentList()->setFocus();
        QTest::keyClick(view.CurrentList(), Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QCOMPARE(editor->text(), QStringLiteral("c.txt"));
        editor->setText("renamed.txt");
        int asked = 0;
        connect(view.Model(), &ViewTableModel::RenameRequested, this, [&asked] { ++asked; });
        QTest::keyClick(editor, Qt::Key_Return);
        // One turn of the loop closes the editor and asks for the rename,
        // which itself waits for the next turn.
        QCoreApplication::processEvents();
        QCOMPARE(asked, 1);
        QVERIFY(!QFile::exists(In("renamed.txt")));
        Touch(In("00second.txt"));
        view.RebuildView(true, true, false);
        QTRY_VERIFY(QFile::exists(In("renamed.txt")));
        QCOMPARE(Read(In("renamed.txt")), QByteArray("c"));
        QCOMPARE(GetComment(InS("renamed.txt")), std::string("for c"));
        QVERIFY(QFile::exists(In("b.txt")) && QFile::exists(In("00second.txt")));
    }

    void namesAndPathsGoToTheClipboardJoinedByCrLf() {
        COrvoBrowserView view;
        view.Navigate(tree_->path().toStdString());
        Select(view, {"a.txt", "b.txt"});
        view.FileCommands().NamesToClipboard();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a.txt\r\nb.txt"));
        view.FileCommands().PathsToClipboard();
        QCOMPARE(QGuiApplication::clipboard()->text(), In("a.txt") + "\r\n" + In("b.txt"));
        // ".." stands for the directory itself and never joins the list.
        Select(view, {"a.txt", "b.txt"});
        view.SelectRow(0, false);
        view.FileCommands().NamesToClipboard();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a.txt\r\nb.txt"));
    }

    void copyPutsTheFormatsOtherFileManagersRead() {
        COrvoBrowserView view;
        view.Navigate(tree_->path().toStdString());
        Touch(In("a b#.txt"));
        view.RebuildView(true, true, false);
        Select(view, {"a b#.txt", "sub"});
        view.FileCommands().CopyToClipboard();
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        QList<QUrl> urls = data->urls();
        QCOMPARE(urls.size(), 2);
        QCOMPARE(urls[0].toLocalFile(), In("sub")); // in list order: directories first
        QCOMPARE(urls[1].toLocalFile(), In("a b#.txt"));
        QByteArray gnome = data->data("x-special/gnome-copied-files");
        QCOMPARE(gnome, "copy\n" + urls[0].toEncoded() + "\n" + urls[1].toEncoded());
        QCOMPARE(data->data("application/x-kde-cutselection"), QByteArray("0"));
    }

    void addAppendsToTheClipboardsList() {
        COrvoBrowserView view;
        view.Navigate(tree_->path().toStdString());
        // With nothing on the clipboard (or only text), the selection alone.
        QGuiApplication::clipboard()->setText(QStringLiteral("just text"));
        Select(view, {"a.txt"});
        view.FileCommands().AddToClipboard();
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->urls(),
                 QList<QUrl>{QUrl::fromLocalFile(In("a.txt"))});
        // A list another program copied (old Nautilus text form) is kept in front.
        auto* data = new QMimeData;
        data->setText("x-special/nautilus-clipboard\ncopy\n" +
                      QUrl::fromLocalFile(In("c.txt")).toEncoded() + "\n");
        QGuiApplication::clipboard()->setMimeData(data);
        Select(view, {"a.txt", "b.txt"});
        view.FileCommands().AddToClipboard();
        view.FileCommands().AddToClipboard(); // listed twice: nothing is merged
        QList<QUrl> urls = QGuiApplication::clipboard()->mimeData()->urls();
        QCOMPARE(urls.size(), 5);
        QCOMPARE(urls.first().toLocalFile(), In("c.txt"));
        QCOMPARE(urls.last().toLocalFile(), In("b.txt"));
    }

    void pastedTextsAndPicturesBecomeNewFiles() {
        COrvoBrowserView view;
        view.Navigate(tree_->path().toStdString());
        QGuiApplication::clipboard()->setText(QStringLiteral("first"));
        view.FileCommands().Paste();
        QGuiApplication::clipboard()->setText(QStringLiteral("second"));
        view.FileCommands().Paste();
        QCOMPARE(Read(In("dropped.txt")), QByteArray("first"));
        QCOMPARE(Read(In("dropped00.txt")), QByteArray("second"));
        QCOMPARE(view.FirstSelectedPath(), InS("dropped00.txt"));

        QImage picture(8, 4, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QGuiApplication::clipboard()->setImage(picture);
        view.FileCommands().Paste();
        QImage saved(In("dropped.bmp"));
        QCOMPARE(saved.size(), QSize(8, 4));
        QCOMPARE(saved.pixelColor(3, 2), QColor(Qt::red));
    }

    void pasteOfAFileListCopiesIntoTheWindow() {
        QTemporaryDir other;
        Touch(other.path() + "/from-elsewhere.txt", "moved?");
        auto* data = new QMimeData;
        data->setData("x-special/gnome-copied-files",
                      "copy\n" +
                          QUrl::fromLocalFile(other.path() + "/from-elsewhere.txt").toEncoded());
        QGuiApplication::clipboard()->setMimeData(data);
        COrvoBrowserView view;
        view.Navigate(tree_->path().toStdString());
        view.FileCommands().Paste();
        QTRY_COMPARE(Read(In("from-elsewhere.txt")), QByteArray("moved?"));
        QVERIFY(QFile::exists(other.path() + "/from-elsewhere.txt"));
    }

    void removeAsksAndDeletesOnlyOnYes() {
        COrvoBrowserView view;
        view.Navigate(tree_->path().toStdString());
        Select(view, {"a.txt"});
        prompt_->answers = {UserPrompt::Answer::No};
        view.FileCommands().RemoveSelection();
        QCOMPARE(prompt_->titles.last(), QStringLiteral("Deleting"));
        QCOMPARE(prompt_->asked.last(),
                 QStringLiteral("Are you sure you want to REALLY DELETE a.txt ?\nNote that this is "
                                "not moving to a recycle bin, but a real deleting."));
        QVERIFY(QFile::exists(In("a.txt")));

        Select(view, {"a.txt", "b.txt", "c.txt"});
        view.SelectRow(0, false); // ".." too: it is never deleted
        prompt_->answers = {UserPrompt::Answer::Yes};
        view.FileCommands().RemoveSelection();
        QCOMPARE(prompt_->asked.last(),
                 QStringLiteral("Are you sure you want to REALLY DELETE selected files ?\nNote "
                                "that this is not moving to a recycle bin, but a real deleting."));
        QTRY_VERIFY(!QFile::exists(In("a.txt")) && !QFile::exists(In("b.txt")) &&
                    !QFile::exists(In("c.txt")));
        QVERIFY(QFileInfo(tree_->path()).isDir());
        QVERIFY(QFileInfo(In("sub")).isDir());
    }

    void shortcutsAreMadeBesideTheirTargetsAndSelected() {
        COrvoBrowserView view;
        view.Navigate(tree_->path().toStdString());
        Select(view, {"a.txt", "sub"});
        view.FileCommands().CreateShortcuts();
        QCOMPARE(QFileInfo(In("A shortcut to a.txt.lnk")).symLinkTarget(), In("a.txt"));
        QCOMPARE(QFileInfo(In("A shortcut to sub.lnk")).symLinkTarget(), In("sub"));
        QCOMPARE(view.SelectedPaths().size(), size_t{2});

        // Go to link target: the target's directory, the target selected.
        view.Navigate(InS("sub"));
        QFile::link(In("b.txt"), In("sub/b-link"));
        view.RebuildView(true, true, false);
        Select(view, {"b-link"});
        view.FileCommands().GoToLinkTarget();
        QCOMPARE(view.CurrentPath(), tree_->path().toStdString());
        QCOMPARE(view.FirstSelectedPath(), InS("b.txt"));
        Select(view, {"c.txt"});
        view.FileCommands().GoToLinkTarget();
        QVERIFY(prompt_->asked.last().startsWith("The link file (*.lnk) must be selected"));
    }

    void dropsGoWhereTheRowUnderThePointSays() {
        QDir(tree_->path()).mkpath("w/inner");
        QTemporaryDir source;
        Touch(source.path() + "/one.txt", "1");
        Touch(source.path() + "/two.txt", "2");
        std::vector<std::string> dropped = {(source.path() + "/one.txt").toStdString(),
                                            (source.path() + "/two.txt").toStdString()};
        COrvoBrowserView view;
        view.Navigate(InS("w"));
        // On "..": copied into the parent of the window's directory.
        view.FileCommands().DropFiles(dropped, 0, Qt::NoModifier);
        QTRY_VERIFY(QFile::exists(In("one.txt")) && QFile::exists(In("two.txt")));
        QVERIFY(QFile::exists(source.path() + "/one.txt"));
        // With Shift on a sub-directory: moved there.
        view.FileCommands().DropFiles(dropped, RowOf(view, "inner"), Qt::ShiftModifier);
        QTRY_VERIFY(QFile::exists(In("w/inner/one.txt")) && QFile::exists(In("w/inner/two.txt")));
        QTRY_VERIFY(!QFile::exists(source.path() + "/one.txt"));
        // With Alt: shortcuts in the window's directory.
        std::vector<std::string> again = {InS("a.txt")};
        view.FileCommands().DropFiles(again, -1, Qt::AltModifier);
        QCOMPARE(QFileInfo(In("w/a.txt.lnk")).symLinkTarget(), In("a.txt"));
        // With Ctrl+Alt: the directory's picture.
        Touch(In("photo.png"), "png");
        Touch(In("w/orvoimage.jpg"), "old");
        view.FileCommands().DropFiles({InS("photo.png")}, -1,
                                      Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(Read(In("w/orvoimage.png")), QByteArray("png"));
        QVERIFY(!QFile::exists(In("w/orvoimage.jpg")));
    }

    void aDropOnAProgramStartsItWithTheDroppedPaths() {
        Touch(In("run.sh"), "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.out\"\n");
        QFile::setPermissions(In("run.sh"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        COrvoBrowserView view;
        view.Navigate(tree_->path().toStdString());
        Touch(In("with space.txt"));
        view.FileCommands().DropFiles({InS("with space.txt"), InS("b.txt")}, RowOf(view, "run.sh"),
                                      Qt::NoModifier);
        QTRY_COMPARE(Read(In("args.out")),
                     (In("with space.txt") + "\n" + In("b.txt") + "\n").toUtf8());
    }

    void countingWritesTheCommentFormats() {
        QDir(tree_->path()).mkpath("sub/deep");
        Touch(In("sub/f1"), QByteArray(2048, 'x'));
        Touch(In("sub/deep/f2"), QByteArray(1000, 'y'));
        QDir(tree_->path()).mkdir("empty");
        QDir(tree_->path()).mkdir("noted");
        QVERIFY(SetComment(InS("noted"), "stays in the file"));
        COrvoBrowserView view;
        view.Navigate(tree_->path().toStdString());
        view.Counting().CountDirectories(false);
        QVERIFY(view.Counting().IsCounting());
        QTRY_VERIFY(!view.Counting().IsCounting());
        QCOMPARE(Comment(view, "empty"),
                 QStringLiteral("0     (0 dirs, 0 files, 0% of total disk space)"));
        QCOMPARE(Comment(view, "sub"),
                 QStringLiteral("3 048     (1 dirs, 2 files, 0% of total disk space)"));
        QCOMPARE(view.Model()->Facts(RowOf(view, "sub")).size, uint64_t{2});
        QCOMPARE(Comment(view, "a.txt"), QStringLiteral("-")); // files get no text
        const uint64_t commentFile = QFileInfo(In("noted/dir_info.orb")).size();
        QCOMPARE(view.Counting().ListingTotal(), 3048 + 3 + 2 + 1 + commentFile);
        QVERIFY(Comment(view, "noted").endsWith("(0 dirs, 1 files, 0% of total disk space)"));
        QCOMPARE(GetComment(InS("noted")), std::string("stays in the file"));
    }

    void countingModeCountsEveryRebuiltListing() {
        BrowseCounting::SetCountingMode(true);
        COrvoBrowserView view;
        view.Navigate(tree_->path().toStdString());
        QTRY_COMPARE(Comment(view, "sub"),
                     QStringLiteral("0     (0 dirs, 0 files, 0% of total disk space)"));
        BrowseCounting::SetCountingMode(false);
        view.RebuildView(true, true, false);
        QTest::qWait(50);
        QVERIFY(!view.Counting().IsCounting());
        QCOMPARE(Comment(view, "sub"), QStringLiteral("-"));
    }
};

QTEST_MAIN(FileCommandsTest)
#include "FileCommandsTest.moc"
