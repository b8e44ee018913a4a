#include "browse/ui/BrowseListMode.h"
#include "browse/ui/BrowsePathBar.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"
#include "search/ui/CSelectionDlg.h"
#include "search/ui/SearchLaunch.h"
#include "settings/OptionsStore.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/FrameWindowCommands.h"
#include "../../platform/ui/AnyNameTemporaryDir.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <functional>
#include <sys/stat.h>

using namespace orvo;

namespace {

void Touch(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

// Answers the next modal Selection dialog.
void AnswerSelection(std::function<void(CSelectionDlg&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<CSelectionDlg*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        answer(*dialog);
    });
}

QStringList SelectedNames(COrvoBrowserView& view) {
    QStringList names;
    for (int row : view.SelectedRows())
        names << view.Model()->FullName(row);
    return names;
}

} // namespace

class SelectionDialogTest : public QObject {
    Q_OBJECT

    test::AnyNameTemporaryDir tree_;

private slots:
    void initTestCase() {
        qputenv("HOME", tree_.path().toUtf8());
        for (const char* n : {"a.bmp", "b.bmp", "scan12.tif", "scan.tif", "memo.txt", "Memo"})
            Touch(tree_.path() + "/" + n);
        QDir(tree_.path()).mkdir("sub");
        Touch(tree_.path() + "/sub/deep.txt");
    }

    void dialogRules() {
        QStringList labels{"Pictures"}, patterns{"*.jpg;*.bmp"};
        CSelectionDlg unselect(CSelectionDlg::Mode::Unselect, "*.bmp;*.tif", true, labels,
                               patterns);
        unselect.show();
        QCOMPARE(unselect.focusWidget(), unselect.ExcludeBox());
        QCOMPARE(unselect.Exclude(), QString("*.bmp;*.tif")); // Shift: like the selection at once
        QCOMPARE(unselect.Include(), QString());

        CSelectionDlg select(CSelectionDlg::Mode::Select, "*.txt", false, labels, patterns);
        select.show();
        QCOMPARE(select.focusWidget(), select.IncludeBox());
        select.IncludeBox()->setEditText("*.gif");
        QTest::keyRelease(&select, Qt::Key_Control, Qt::NoModifier); // no Ctrl: replaces
        emit select.IncludeChoices()->activated(1);
        QCOMPARE(select.Include(), QString("*.jpg;*.bmp"));
        QTest::keyPress(&select, Qt::Key_Control, Qt::ControlModifier);
        emit select.IncludeChoices()->activated(1); // Ctrl appends
        QTest::keyRelease(&select, Qt::Key_Control, Qt::ControlModifier);
        QCOMPARE(select.Include(), QString("*.jpg;*.bmp;*.jpg;*.bmp"));
        select.LikeExcludeButton()->click();
        QCOMPARE(select.Exclude(), QString("*.txt"));
    }

    void appliedToABrowseWindow() {
        COrvoBrowserView view;
        view.Navigate(tree_.path().toStdString());
        view.show();
        AnswerSelection([](CSelectionDlg& d) {
            d.IncludeBox()->setEditText("*.bmp;memo;*[0-9]*.tif");
            d.ExcludeBox()->setEditText("a*.*"); // "a*" has no dot: any name with an "a"
            d.accept();
        });
        RunSelectionDialog(view, true, false, false);
        QStringList chosen = SelectedNames(view);
        chosen.sort();
        QCOMPARE(chosen, QStringList({"Memo", "b.bmp", "memo.txt", "scan12.tif"}));
        QVERIFY(!view.SelectedRows().empty() && view.SelectedRows().front() != 0); // never ".."
        int focus = view.SelectionMark();
        QVERIFY(focus > 0 &&
                view.DetailsList()->selectionModel()->isRowSelected(focus, QModelIndex()));

        // Numpad - from the selection: the proposed pattern is the selected
        // extensions, here applied to the exclude list.
        view.SelectPath((tree_.path() + "/b.bmp").toStdString());
        AnswerSelection([](CSelectionDlg& d) {
            QCOMPARE(d.Exclude(), QString("*.bmp"));
            d.accept();
        });
        RunSelectionDialog(view, false, true, false);
        QVERIFY(view.SelectedRows().empty());

        // The keys of the window ask for the dialog.
        QSignalSpy asked(&view, &COrvoBrowserView::SelectionDialogRequested);
        view.CurrentList()->setFocus();
        QTest::keyClick(view.CurrentList(), Qt::Key_Plus, Qt::KeypadModifier | Qt::ShiftModifier);
        QTest::keyClick(view.CurrentList(), Qt::Key_Asterisk,
                        Qt::KeypadModifier | Qt::ControlModifier);
        QCOMPARE(asked.count(), 2);
        QCOMPARE(asked.at(0), (QList<QVariant>{true, true, false}));
        QCOMPARE(asked.at(1), (QList<QVariant>{true, false, true}));
    }

    void goToFileAndThePathBoxForm() {
        ScriptedPrompt prompt;
        CMainFrame frame;
        frame.resize(1000, 700);
        frame.show();
        COrvoBrowserView* view = frame.OpenBrowseWindow(tree_.path().toStdString());
        QString target = tree_.path() + "/sub/deep.txt";
        frame.Windows().GoToFile(target);
        QCOMPARE(frame.ActiveView(), view);
        QCOMPARE(view->CurrentPath(), (tree_.path() + "/sub").toStdString());
        QCOMPARE(view->FirstSelectedPath(), target.toStdString());

        // "?names \"text\"" typed into the path box opens a search window
        // that searches at once and asks for a list of its hits.
        QSignalSpy searched(view, &COrvoBrowserView::SearchRequested);
        emit view->PathBar().PathBox()->textActivated("?*.txt \"nothing\"");
        QCOMPARE(searched.count(), 1);
        QCOMPARE(view->PathBar().PathBox()->currentText().toStdString(), view->CurrentPath());
        auto lists = [&frame] {
            int n = 0;
            for (COrvoBrowserView* v : frame.ViewsInStackingOrder())
                n += v->ListMode().IsListMode();
            return n;
        };
        QTRY_COMPARE_WITH_TIMEOUT(lists(), 1, 20000);
        QVERIFY(frame.findChildren<CSearchDlg*>().isEmpty() ||
                !frame.findChildren<CSearchDlg*>().front()->isVisible());

        // Typed and entered, the form reaches the frame from the box's line.
        view->PathBar().PathBox()->lineEdit()->setText("?deep");
        QTest::keyClick(view->PathBar().PathBox()->lineEdit(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(lists(), 2, 20000);
        // The second list holds the hit the search found.
        QCOMPARE(frame.ActiveView()->ViewTable().GetText("Path", 0), target.toStdString());
        QCOMPARE(view->PathBar().PathBox()->lineEdit()->text().toStdString(), view->CurrentPath());
    }

    void namesThatAreNotUtf8SelectGoAndTypeAsTheyAre() {
        const std::string dir = tree_.path().toStdString() + "/d\xe9";
        QVERIFY(::mkdir(dir.c_str(), 0755) == 0);
        const std::string cafe = dir + "/caf\xe9.txt", odd = dir + "/\xff\xfe";
        for (const std::string& f : {cafe, odd, dir + "/cafe.txt", dir + "/ab"})
            std::ofstream(f) << "x";
        ScriptedPrompt prompt;
        CMainFrame frame;
        frame.show();
        COrvoBrowserView* view = frame.OpenBrowseWindow(tree_.path().toStdString());

        // The path box: a path entered, and shown as the window's path.
        emit view->PathBar().PathBox()->textActivated(PathToQ(dir));
        QCOMPARE(view->CurrentPath(), dir);
        QCOMPARE(QToPath(view->PathBar().PathBox()->currentText()), dir);

        // A pattern holding the name's own bytes picks that name only.
        for (const std::string& name : {std::string("caf\xe9.txt"), std::string("\xff\xfe")}) {
            view->SelectRow(0); // only "..", which the dialog never keeps
            AnswerSelection([&name](CSelectionDlg& d) {
                d.IncludeBox()->setEditText(PathToQ(name));
                d.accept();
            });
            RunSelectionDialog(*view, true, false, false);
            QCOMPARE(view->SelectedPaths(), std::vector<std::string>{dir + "/" + name});
        }

        // Go to file from elsewhere.
        view->Navigate(tree_.path().toStdString());
        frame.Windows().GoToFile(PathToQ(cafe));
        QCOMPARE(frame.ActiveView()->CurrentPath(), dir);
        QCOMPARE(frame.ActiveView()->FirstSelectedPath(), cafe);
        frame.close();
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The main frame checks that the options file it was loaded from is
    // still there.
    QTemporaryDir home;
    qputenv("ORVO_HOME", home.path().toUtf8());
    orvo::LoadOptions(orvo::OptionsFilePath(home.path().toStdString()));
    SelectionDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SelectionDialogTest.moc"
