#include "WindowRows.h"
#include "browse/ui/BrowseFileCommands.h"
#include "browse/ui/BrowseNotice.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/DirectoryWatch.h"
#include "browse/ui/ViewTableModel.h"
#include "comments/PathComments.h"
#include "comments/ui/CommentEditDialog.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionsStore.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace orvo;
using namespace orvo::test;

class BrowseFailuresTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;

private slots:
    void initTestCase() { UseFreshOptions(home_); }
    void cleanup() { CommentEditDialog::SetTestRunner(nullptr); }

    void refusedRenamesAndUnsavedCommentsAreSaidOnceWithTheReason() {
        QTemporaryDir dir;
        Touch(dir.path() + "/a.txt", "a");
        Touch(dir.path() + "/b.txt", "b");
        COrvoBrowserView view;
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.Navigate(dir.path().toStdString());
        ScriptedPrompt prompt;
        // With no program to open files, an entry opened by mistake says so.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", "/nonexistent");

        RenameWithKeys(view, "a.txt", "b.txt");
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY2(prompt.asked[0].contains("\"a.txt\" to \"b.txt\"") &&
                     prompt.asked[0].contains("exists already"),
                 qPrintable(prompt.asked[0]));
        QFile b(dir.path() + "/b.txt");
        QVERIFY(b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), QByteArray("b"));

        RenameWithKeys(view, "a.txt", "x/y");
        QCOMPARE(prompt.asked.size(), 2);
        QVERIFY(prompt.asked[1].contains("\"/\""));
        QVERIFY(QFile::exists(dir.path() + "/a.txt"));

        // Editing to the same name or to nothing changes nothing and says
        // nothing.
        RenameWithKeys(view, "a.txt", "a.txt");
        QCOMPARE(prompt.asked.size(), 2);
        RenameWithKeys(view, "a.txt", "c.txt");
        qputenv("PATH", path);
        QCOMPARE(prompt.asked.size(), 2);
        QVERIFY(QFile::exists(dir.path() + "/c.txt"));

        // A comment file made read-only by its owner is left alone, and the
        // user hears why the comment did not stick.
        QVERIFY(SetComment((dir.path() + "/b.txt").toStdString(), "kept"));
        QVERIFY(::chmod(QFile::encodeName(dir.path() + "/dir_info.orb").constData(), 0444) == 0);
        CommentEditDialog::SetTestRunner([](CommentEditDialog& d) {
            d.SetComment("lost");
            return true;
        });
        view.SelectRow(RowOf(view, "c.txt"));
        view.FileCommands().EditComment();
        QCOMPARE(prompt.asked.size(), 3);
        QVERIFY2(prompt.asked[2].contains("could not be saved") &&
                     prompt.asked[2].contains("read-only"),
                 qPrintable(prompt.asked[2]));
        QCOMPARE(GetComment((dir.path() + "/c.txt").toStdString()), std::string());
    }

    void closingAWindowWhileANameIsEditedRenamesNothing() {
        QTemporaryDir dir;
        Touch(dir.path() + "/a.txt");
        auto* view = new COrvoBrowserView;
        view->show();
        QVERIFY(QTest::qWaitForWindowActive(view));
        view->Navigate(dir.path().toStdString());
        view->SelectRow(RowOf(*view, "a.txt"));
        view->CurrentList()->setFocus();
        QTest::keyClick(view->CurrentList(), Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->setText("b.txt");
        delete view;
        QCoreApplication::processEvents();
        QVERIFY(QFile::exists(dir.path() + "/a.txt"));
    }

    void anUnreadableDirectoryIsSaidInTheWindowOnce() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("gone"));
        const QString gone = dir.path() + "/gone";
        COrvoBrowserView view;
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        ScriptedPrompt prompt;
        view.Navigate(gone.toStdString());
        QVERIFY(view.Notice().isHidden());

        // Another program removes the directory the window shows.
        QVERIFY(QDir(gone).removeRecursively());
        QTRY_VERIFY_WITH_TIMEOUT(view.Notice().isVisible(), 1000);
        QCOMPARE(view.Notice().text(),
                 QString("Cannot read \"%1\": No such file or directory.").arg(gone));
        QCOMPARE(view.Model()->rowCount(), 1);
        // Refreshing again says nothing new; once dismissed it stays quiet.
        QTest::mouseClick(&view.Notice(), Qt::LeftButton);
        view.Watch().Refresh();
        view.RebuildView(true, true, false);
        QVERIFY(view.Notice().isHidden());
        QVERIFY(prompt.asked.isEmpty());

        view.Navigate(dir.path().toStdString());
        QVERIFY(view.Notice().isHidden());
        view.Navigate(gone.toStdString());
        QVERIFY(view.Notice().isVisible()); // a new visit is told again

        // Back again when the directory is: the line goes.
        QVERIFY(QDir(dir.path()).mkdir("gone"));
        view.RebuildView(true, true, false);
        QVERIFY(view.Notice().isHidden());
        QVERIFY(prompt.asked.isEmpty());
    }
};

QTEST_MAIN(BrowseFailuresTest)
#include "BrowseFailuresTest.moc"
