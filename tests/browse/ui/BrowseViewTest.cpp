#include "browse/DirectoryListing.h"
#include "browse/ui/BrowseFileCommands.h"
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/BrowsePathBar.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "comments/PathComments.h"
#include "comments/ui/CommentEditDialog.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionsStore.h"

#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace orvo;

namespace {

void Touch(const QString& path, const QByteArray& bytes = "x") {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList Names(COrvoBrowserView& view) {
    QStringList names;
    for (int i = 0; i < view.Model()->rowCount(); ++i)
        names << view.Model()->FullName(i);
    return names;
}

} // namespace

class BrowseViewTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;
    QTemporaryDir tree_;

    std::string Dir(const char* name) { return (tree_.path() + "/" + name).toStdString(); }

private slots:
    void initTestCase() {
        qputenv("ORVO_HOME", home_.path().toUtf8());
        LoadOptions(OptionsFilePath(home_.path().toStdString()));
        QDir root(tree_.path());
        for (const char* d : {"a", "b", "c", "d", "Zeta"})
            root.mkdir(d);
        Touch(tree_.path() + "/alpha.txt", "12345");
        Touch(tree_.path() + "/beta.md", "1");
        Touch(tree_.path() + "/README");
    }
    void cleanup() { CommentEditDialog::SetTestRunner(nullptr); }

    void backThenNewNavigationAppendsAndEndsForward() {
        COrvoBrowserView view;
        view.Navigate(Dir("a"));
        view.Navigate(Dir("b"));
        view.Navigate(Dir("c"));
        view.Back();
        QCOMPARE(view.CurrentPath(), Dir("b"));
        QVERIFY(view.History().CanGoForward());
        view.Navigate(Dir("d"));
        QCOMPARE(view.History().Entries().size(), size_t{4});
        QCOMPARE(view.History().Entries().back().path, Dir("d"));
        QVERIFY(!view.History().CanGoForward());
        view.Back();
        QCOMPARE(view.CurrentPath(), Dir("c")); // c was kept: nothing is cut
        view.Forward();
        QCOMPARE(view.CurrentPath(), Dir("d"));
    }

    void upLeavesTheDirectoryAndSelectsIt() {
        COrvoBrowserView view;
        view.Navigate(Dir("Zeta"));
        view.Up();
        QCOMPARE(view.CurrentPath(), tree_.path().toStdString());
        QCOMPARE(view.FirstSelectedPath(), Dir("Zeta"));

        view.Navigate("/");
        view.Up();
        QCOMPARE(view.CurrentPath(), std::string(kComputerPath));
        QVERIFY(view.Model()->rowCount() >= 2); // ".." and at least the root volume
        view.Up();                              // nowhere above the drive list
        QCOMPARE(view.CurrentPath(), std::string(kComputerPath));
    }

    void aListWindowLeavesItsDirectoryBehind() {
        COrvoBrowserView view;
        view.Navigate(Dir("a"));
        view.Navigate(Dir("b"));
        view.ListMode().EnterListMode();
        QCOMPARE(view.CurrentPath(), std::string());
        QCOMPARE(view.DocumentTitle(), QStringLiteral("LIST OF FILES"));
        QCOMPARE(view.WindowName(), QStringLiteral("LIST OF FILES"));
        QCOMPARE(view.PathBar().PathBox()->currentText(), QStringLiteral("LIST OF FILES"));
        QCOMPARE(view.Model()->rowCount(), 0);
        for (QToolButton* button : view.findChildren<QToolButton*>())
            QCOMPARE(button->isEnabled(), button->toolTip().startsWith("Up (")); // Up is Go there

        // A directory asked for opens elsewhere; Back has nowhere to go.
        QSignalSpy elsewhere(&view, &COrvoBrowserView::NewWindowRequested);
        view.Navigate(Dir("c"));
        view.Back();
        QCOMPARE(elsewhere.size(), 1);
        QCOMPARE(elsewhere.at(0).at(0).toString().toStdString(), Dir("c"));
        QCOMPARE(view.CurrentPath(), std::string());
        QCOMPARE(view.Model()->rowCount(), 0);
    }

    void headerClicksSortBothWaysWithParentOnTop() {
        COrvoBrowserView view;
        view.Navigate(tree_.path().toStdString());
        QCOMPARE(Names(view).first(), QString(".."));
        QCOMPARE(Names(view).mid(1, 5), QStringList({"a", "b", "c", "d", "Zeta"}));
        auto click = [&](int column) {
            QHeaderView* header = view.DetailsList()->horizontalHeader();
            emit header->sectionClicked(column);
        };
        click(ViewTableModel::SizeColumn);
        QStringList asc = Names(view);
        QCOMPARE(asc.first(), QString(".."));
        QCOMPARE(asc.last(), QString("alpha.txt")); // files after directories, biggest last
        click(ViewTableModel::SizeColumn);
        QStringList desc = Names(view);
        QCOMPARE(desc.first(), QString(".."));
        QCOMPARE(desc.at(1), QString("alpha.txt"));
        QVERIFY(desc.last() != QString(".."));
        click(ViewTableModel::SizeColumn);
        QCOMPARE(Names(view).last(), QString("alpha.txt")); // the third click sorts ascending again
    }

    void renameKeepsTheComment() {
        QTemporaryDir dir;
        Touch(dir.path() + "/old.txt");
        Touch(dir.path() + "/case.txt");
        QVERIFY(SetComment((dir.path() + "/old.txt").toStdString(), "my comment"));
        QVERIFY(SetComment((dir.path() + "/case.txt").toStdString(), "case comment"));
        COrvoBrowserView view;
        view.Navigate(dir.path().toStdString());
        int row = Names(view).indexOf("old.txt");
        QVERIFY(view.FileCommands().RenameRow(row, "new.txt"));
        QCOMPARE(GetComment((dir.path() + "/new.txt").toStdString()), std::string("my comment"));
        QCOMPARE(GetComment((dir.path() + "/old.txt").toStdString()), std::string());
        QCOMPARE(view.FirstSelectedPath(), (dir.path() + "/new.txt").toStdString());

        // A change of letter case only must keep the comment too.
        QVERIFY(view.FileCommands().RenameRow(Names(view).indexOf("case.txt"), "CASE.txt"));
        QCOMPARE(GetComment((dir.path() + "/CASE.txt").toStdString()), std::string("case comment"));

        // Renaming onto an existing entry is refused, says so and loses nothing.
        ScriptedPrompt prompt;
        QVERIFY(!view.FileCommands().RenameRow(Names(view).indexOf("new.txt"), "CASE.txt"));
        QVERIFY(QFile::exists(dir.path() + "/new.txt"));
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY(!view.FileCommands().RenameRow(0, "x")); // ".."
    }

    void editCommentUpdatesTheRow() {
        QTemporaryDir dir;
        Touch(dir.path() + "/f.txt");
        COrvoBrowserView view;
        view.Navigate(dir.path().toStdString());
        view.SelectRow(Names(view).indexOf("f.txt"));
        CommentEditDialog::SetTestRunner([](CommentEditDialog& d) {
            if (d.Heading() != QString("File :f.txt"))
                return false;
            d.Editor()->setPlainText("line one\nline two");
            return true;
        });
        view.FileCommands().EditComment();
        int row = Names(view).indexOf("f.txt");
        QCOMPARE(
            view.Model()
                ->data(view.Model()->index(row, ViewTableModel::CommentColumn), Qt::DisplayRole)
                .toString(),
            QString("line one  line two"));
        QCOMPARE(GetComment((dir.path() + "/f.txt").toStdString()),
                 std::string("line one\r\nline two"));
    }

    void quickSearchKeysSelectMatches() {
        COrvoBrowserView view;
        view.Navigate(tree_.path().toStdString());
        // Ctrl+A selects everything but the parent entry.
        view.show();
        view.FocusList(0);
        QTest::keyClick(view.CurrentList(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(int(view.SelectedRows().size()), view.Model()->rowCount() - 1);
        QTest::keyClick(view.CurrentList(), Qt::Key_Asterisk, Qt::KeypadModifier);
        QCOMPARE(int(view.SelectedRows().size()), 0);
    }
};

QTEST_MAIN(BrowseViewTest)
#include "BrowseViewTest.moc"
