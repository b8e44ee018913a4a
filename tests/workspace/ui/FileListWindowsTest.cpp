#include "assist/ui/TipDialog.h"
#include "browse/ui/BrowseFileCommands.h"
#include "browse/ui/BrowseListMode.h"
#include "browse/ui/BrowseMarks.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "comments/PathComments.h"
#include "fileops/FileOperationRequest.h"
#include "fileops/RegisteredOperations.h"
#include "fileops/ui/FileOperationService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "workspace/AppState.h"
#include "workspace/QuickAccess.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CListExportDlg.h"
#include "workspace/ui/CListStatusDlg.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/CQuickAccessBar.h"
#include "workspace/ui/FrameListCommands.h"
#include "workspace/ui/FrameQuickAccess.h"
#include "workspace/ui/FrameSession.h"
#include "workspace/ui/ListFileDialogs.h"
#include "search/ui/CSelectionDlg.h"
#include "../../platform/ui/AnyNameTemporaryDir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>
#include <algorithm>
#include <fstream>
#include <memory>
#include <sys/stat.h>

using namespace orvo;

class FileListWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::AnyNameTemporaryDir> home_;
    std::unique_ptr<QTemporaryDir> data_;
    std::unique_ptr<ScriptedPrompt> prompt_;
    QString answer_; // what the file dialogs answer

    std::string In(const QString& name) { return (home_->path() + "/" + name).toStdString(); }
    void Write(const QString& name, const QByteArray& bytes) {
        QFile f(home_->path() + "/" + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static std::vector<std::string> Paths(COrvoBrowserView* view) {
        std::vector<std::string> paths;
        for (int i = 0; i < view->ViewTable().GetRecordCount(); ++i)
            paths.push_back(view->ViewTable().GetText("Path", i));
        return paths;
    }

private slots:
    void init() {
        home_ = std::make_unique<test::AnyNameTemporaryDir>();
        data_ = std::make_unique<QTemporaryDir>();
        qputenv("HOME", home_->path().toUtf8());
        qputenv("ORVO_HOME", data_->path().toUtf8());
        QDir(home_->path()).mkpath("docs/old");
        QDir(home_->path()).mkpath("other");
        Write("docs/a.txt", "alpha");
        Write("docs/b.doc", "bravo!");
        Write("docs/c.png", "x");
        Write("other/drop.txt", "dropped");
        prompt_ = std::make_unique<ScriptedPrompt>();
        TipDialog::SetTestRunner([](TipDialog&) {});
        SetListFileDialogAnswerer([this](ListFileDialog, const QString&) { return answer_; });
        GetAppState() = AppState{};
        ClearRegisteredOperationPaths();
    }
    void cleanup() {
        TipDialog::SetTestRunner(nullptr);
        SetListFileDialogAnswerer(nullptr);
        CListExportDlg::SetTestRunner(nullptr);
        CListStatusDlg::SetTestRunner(nullptr);
        prompt_.reset();
    }

    void listWindowAddsRemovesAndGoesThere() {
        CMainFrame frame;
        frame.show();
        COrvoBrowserView* list = frame.Lists().CreateListWindow(
            {In("docs/b.doc"), In("docs/old"), In("gone.txt"), In("docs/a.txt")});
        QVERIFY(list->ListMode().IsListMode());
        QCOMPARE(list->DocumentTitle(), QStringLiteral("LIST OF FILES"));
        // The rows keep the order they came in, with no parent entry.
        QCOMPARE(Paths(list), (std::vector<std::string>{In("docs/b.doc"), In("docs/old"),
                                                        In("gone.txt"), In("docs/a.txt")}));
        QVERIFY(list->ViewTable().GetValue("Directory", 1).AsBool());
        QCOMPARE(list->ViewTable().GetValue("Size", 0).AsDword(), 6u);
        QCOMPARE(list->ViewTable().GetText("Extension", 0), std::string("doc"));

        // Files dropped or pasted on a list window become rows; nothing is copied.
        list->FileCommands().DropFiles({In("other/drop.txt")}, 0, Qt::NoModifier);
        QCOMPARE(Paths(list).back(), In("other/drop.txt"));
        QVERIFY(!QFile::exists(home_->path() + "/docs/drop.txt"));

        // Del removes from the list only.
        list->SelectRow(0);
        list->FileCommands().RemoveSelection();
        QCOMPARE(Paths(list).front(), In("docs/old"));
        QVERIFY(QFile::exists(home_->path() + "/docs/b.doc"));
        QCOMPARE(prompt_->asked, QStringList());

        list->SelectPath(In("docs/a.txt"));
        list->Up(); // in a list: Go there
        COrvoBrowserView* there = frame.ActiveView();
        QVERIFY(there != list && !there->ListMode().IsListMode());
        QCOMPARE(there->CurrentPath(), In("docs"));
        QCOMPARE(there->FirstSelectedPath(), In("docs/a.txt"));

        // F9 makes a list of the active window's selection.
        frame.Lists().NewListWindow();
        QCOMPARE(Paths(frame.ActiveView()), std::vector<std::string>{In("docs/a.txt")});
    }

    void documentsSaveOpenExportAndStatus() {
        CMainFrame frame;
        frame.show();
        SetComment(In("docs/a.txt"), "first");
        COrvoBrowserView* list =
            frame.Lists().CreateListWindow({In("docs/old"), In("docs/a.txt"), In("docs/b.doc")});
        answer_ = home_->path() + "/mine.orl";
        frame.Lists().SaveListAs();
        QCOMPARE(list->DocumentTitle(), QStringLiteral("mine"));
        QCOMPARE(list->ListMode().ListDocumentPath(), In("mine.orl"));

        COrvoBrowserView* opened = frame.Lists().OpenListDocument(answer_);
        QVERIFY(opened && opened != list);
        QCOMPARE(Paths(opened), Paths(list));
        QCOMPARE(opened->ViewTable().GetText("Comment", 1), std::string("first"));

        // Export: the dialog's choice, then the file it was asked to write.
        CListExportDlg::SetTestRunner([](CListExportDlg& d) {
            d.Box("Comment")->setChecked(false);
            return int(QDialog::Accepted);
        });
        answer_ = home_->path() + "/mine.txt";
        frame.Lists().ExportList();
        QFile text(answer_);
        QVERIFY(text.open(QIODevice::ReadOnly));
        QCOMPARE(text.readAll(), QByteArray("[old]\r\na.txt\r\nb.doc"));
        answer_ = home_->path() + "/no/such/dir/x.txt";
        frame.Lists().ExportList();
        QCOMPARE(prompt_->asked.value(0),
                 QStringLiteral("Nie udało się wykreować pliku ") + answer_);

        // Status: a renamed file is dead, a re-commented one changed.
        QVERIFY(QFile::rename(home_->path() + "/docs/b.doc", home_->path() + "/docs/bb.doc"));
        SetComment(In("docs/a.txt"), "second");
        QStringList changed, dead;
        CListStatusDlg::SetTestRunner([&](CListStatusDlg& d) {
            for (int i = 0; i < d.ChangedList()->count(); ++i)
                changed << d.ChangedList()->item(i)->text();
            for (int i = 0; i < d.DeadList()->count(); ++i)
                dead << d.DeadList()->item(i)->text();
            d.UpdateBox()->setChecked(true);
            d.RemoveBox()->setChecked(true);
            return int(QDialog::Accepted);
        });
        frame.Lists().ShowListStatus();
        QCOMPARE(changed, QStringList{QString::fromStdString(In("docs/a.txt"))});
        QCOMPARE(dead, QStringList{QString::fromStdString(In("docs/b.doc"))});
        QCOMPARE(Paths(opened), (std::vector<std::string>{In("docs/old"), In("docs/a.txt")}));
        QCOMPARE(opened->ViewTable().GetText("Comment", 1), std::string("second"));

        // A damaged document opens no window.
        Write("bad.orl", "garbage");
        const int windows = frame.ViewsInStackingOrder().size();
        QVERIFY(!frame.Lists().OpenListDocument(home_->path() + "/bad.orl"));
        QCOMPARE(frame.ViewsInStackingOrder().size(), windows);
        QVERIFY(prompt_->asked.last().contains("bad.orl"));
    }

    void listDocumentsComeBackWithTheLayoutAndFromTheCommandLine() {
        {
            CMainFrame frame;
            frame.show();
            frame.Lists().CreateListWindow({In("docs/b.doc")});
            answer_ = home_->path() + "/second.orl";
            frame.Lists().SaveListAs();
            frame.Lists().CreateListWindow({In("docs/a.txt")});
            answer_ = home_->path() + "/kept.orl";
            frame.Lists().SaveListAs();
            frame.close();
        }
        {
            CMainFrame frame;
            frame.show();
            frame.Session().Startup({});
            COrvoBrowserView* view = frame.ActiveView();
            QVERIFY(view && view->ListMode().IsListMode());
            QCOMPARE(view->DocumentTitle(), QStringLiteral("kept"));
            QCOMPARE(Paths(view), std::vector<std::string>{In("docs/a.txt")});
            frame.close();
        }
        // A first start (no saved windows) with two lists and a directory named
        // on the command line, as the desktop passes what the user opened
        // together: a window each, the directory browsed.
        data_ = std::make_unique<QTemporaryDir>();
        qputenv("ORVO_HOME", data_->path().toUtf8());
        CMainFrame frame;
        frame.show();
        frame.Session().Startup({home_->path() + "/second.orl", home_->path() + "/docs",
                                 home_->path() + "/kept.orl"});
        std::vector<std::string> opened, browsed;
        for (COrvoBrowserView* v : frame.ViewsInStackingOrder())
            if (v->ListMode().IsListMode())
                opened.push_back(v->ListMode().ListDocumentPath());
            else
                browsed.push_back(v->CurrentPath());
        std::sort(opened.begin(), opened.end());
        QCOMPARE(opened, (std::vector<std::string>{In("kept.orl"), In("second.orl")}));
        QVERIFY(std::count(browsed.begin(), browsed.end(), In("docs")) == 1);
        QCOMPARE(frame.ActiveView()->ListMode().ListDocumentPath(), In("kept.orl"));
        QCOMPARE(prompt_->asked, QStringList());
    }

    void namesThatAreNotUtf8KeepTheirBytes() {
        // A directory, two files and a list document whose names hold a
        // Latin-1 byte or an invalid sequence.
        const std::string dir = In("d\xe9");
        QVERIFY(::mkdir(dir.c_str(), 0755) == 0);
        const std::string cafe = dir + "/caf\xe9.txt", odd = dir + "/\xff\xfe";
        std::ofstream(cafe) << "abc";
        std::ofstream(odd) << "defg";
        const std::string document = dir + "/list\xff.orl";
        {
            CMainFrame frame;
            frame.show();
            COrvoBrowserView* list = frame.Lists().CreateListWindow({cafe, odd});
            answer_ = PathToQ(document);
            frame.Lists().SaveListAs();
            QCOMPARE(list->ListMode().ListDocumentPath(), document);
            struct stat st {};
            QVERIFY(::stat(document.c_str(), &st) == 0);
            COrvoBrowserView* opened = frame.Lists().OpenListDocument(PathToQ(document));
            QVERIFY(opened && opened != list);
            QCOMPARE(Paths(opened), (std::vector<std::string>{cafe, odd}));

            // Go there, from the list to the entry's directory.
            opened->SelectPath(odd);
            opened->Up();
            COrvoBrowserView* there = frame.ActiveView();
            QVERIFY(there && !there->ListMode().IsListMode());
            QCOMPARE(there->CurrentPath(), dir);
            QCOMPARE(there->FirstSelectedPath(), odd);

            // The quick access bar's rows, selected together, are measured.
            CQuickAccessBar* bar = frame.QuickAccess().Bar();
            bar->ShowQuickSearch("*");
            QCOMPARE(bar->Result().GetRecordCount(), 3);
            bar->findChild<QTreeView*>()->selectAll();
            QCOMPARE(bar->InfoText(),
                     ToQ(QuickAccessSelectionText(3, 7 + static_cast<uint64_t>(st.st_size)))
                         .replace("\r\n", "\n"));
            frame.close();
        }
        // The saved layout brings the document back.
        CMainFrame frame;
        frame.show();
        frame.Session().Startup({});
        bool found = false;
        for (COrvoBrowserView* v : frame.ViewsInStackingOrder())
            found = found || v->ListMode().ListDocumentPath() == document;
        QVERIFY(found);
        frame.close();

        // Named on the command line, relative to the working directory.
        const QString before = QDir::currentPath();
        QVERIFY(::chdir(dir.c_str()) == 0);
        const char* argv[] = {"orvo-browser", "list\xff.orl"};
        const QStringList arguments = FrameSession::CommandLinePaths(2, argv);
        QVERIFY(::chdir(QFile::encodeName(before).constData()) == 0);
        QCOMPARE(arguments.size(), 1);
        QCOMPARE(QToPath(arguments.first()), document);
    }

    // The bar tells about what the window selects, by the mouse and by
    // the selection dialog.
    void quickAccessInfoFollowsTheWindowSelection() {
        CMainFrame frame;
        frame.resize(1100, 700);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        COrvoBrowserView* view = frame.OpenBrowseWindow(In("docs"));
        CQuickAccessBar* bar = frame.QuickAccess().Bar();
        QVERIFY(bar->isVisible());
        QTableView* list = view->DetailsList();
        auto click = [&](const char* name, Qt::KeyboardModifiers modifiers) {
            int row = 0;
            while (view->ViewTable().GetText("Path", row) != In(QString("docs/") + name))
                ++row;
            const QRect cell = list->visualRect(view->Model()->index(row, 0));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, cell.center());
        };
        auto several = [](size_t count, uint64_t total) {
            return ToQ(QuickAccessSelectionText(count, total)).replace("\r\n", "\n");
        };
        click("a.txt", Qt::NoModifier);
        QTRY_VERIFY2(bar->InfoText().startsWith("  Name : a.txt\n  Size:5"),
                     qPrintable(bar->InfoText()));
        click("b.doc", Qt::ControlModifier);
        QTRY_COMPARE(bar->InfoText(), several(2, 5 + 6));
        click("c.png", Qt::ShiftModifier);
        QTRY_COMPARE(bar->InfoText(), several(3, 5 + 6 + 1)); // from a.txt to c.png

        // Numpad + asks for patterns; what the dialog selects is told too.
        click("old", Qt::NoModifier);
        QTRY_VERIFY(bar->InfoText().startsWith("  Name : old"));
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CSelectionDlg*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->IncludeBox()->setEditText("*.doc;*.png");
            dialog->accept();
        });
        QTest::keyClick(list, Qt::Key_Plus, Qt::KeypadModifier);
        QTRY_COMPARE(bar->InfoText(), several(3, 6 + 1)); // a directory adds nothing
        frame.close();
    }

    // The List menu's real file dialogs, read and cancelled.
    void listDialogsOfferListAndTextFiles() {
        SetListFileDialogAnswerer(nullptr);
        CMainFrame frame;
        frame.show();
        QStringList offered;
        auto readAndCancel = [&offered] {
            QTimer::singleShot(0, [&offered] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                offered << dialog->nameFilters().join(";;");
                dialog->reject();
            });
        };
        readAndCancel();
        QVERIFY(!frame.Lists().OpenListDocument());
        frame.Lists().CreateListWindow({In("docs/a.txt")});
        readAndCancel();
        frame.Lists().SaveListAs();
        QCOMPARE(offered, QStringList({"Orvo list files (*.orl);;Text files (*.txt);;All Files (*)",
                                       "Orvo list files (*.orl);;Text files (*.txt);;All Files (*)"}));
        frame.close();
    }

    void quickAccessBarPicksAndMarks() {
        CMainFrame frame;
        frame.show();
        COrvoBrowserView* view = frame.OpenBrowseWindow(In("docs"));
        CQuickAccessBar* bar = frame.QuickAccess().Bar();
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->View(), view);

        bar->SearchEdit()->setText("*.txt;*.DOC");
        bar->ShowQuickSearch(bar->SearchEdit()->text());
        QVERIFY(bar->QuickSearchButton()->isChecked() && !bar->ImportantButton()->isChecked());
        QCOMPARE(bar->Result().GetRecordCount(), 2);
        QCOMPARE(bar->Result().GetText("Path", 0), In("docs/a.txt"));
        QCOMPARE(bar->Result().GetText("Path", 1), In("docs/b.doc"));
        // Its rows are drawn marked in the window.
        QVERIFY(view->Marks().IsMarked(In("docs/a.txt")));
        QVERIFY(!view->Marks().IsMarked(In("docs/c.png")));

        bar->ClickRow(1);
        QCOMPARE(view->FirstSelectedPath(), In("docs/b.doc"));
        QVERIFY(bar->InfoText().startsWith("  Name : b.doc"));

        bar->ShowMovedCopied();
        QCOMPARE(bar->Result().GetText("Name", 0),
                 std::string("There were no registered operations in this directory."));
        // A copy into the shown directory: the window is read again when
        // it ends, and the bar, following it, lists the copy.
        StartFileOperation({In("other/drop.txt")}, In("docs"), OpCopy, 1);
        QTRY_COMPARE_WITH_TIMEOUT(bar->Result().GetText("Path", 0), In("docs/drop.txt"), 10000);
        QCOMPARE(bar->Result().GetRecordCount(), 1);
        QVERIFY(bar->MovedCopiedButton()->isChecked());

        // Alt+1 hides it (the marks go with it) and the choice is kept.
        frame.QuickAccess().Toggle();
        QVERIFY(bar->isHidden());
        QVERIFY(!view->Marks().IsMarked(In("docs/c.png")));
        frame.close();
        QVERIFY(!GetBoolOption(kShowQuickAccessBarKey));
    }
};

QTEST_MAIN(FileListWindowsTest)
#include "FileListWindowsTest.moc"
