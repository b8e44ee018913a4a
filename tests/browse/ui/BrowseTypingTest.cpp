#include "browse/ui/BrowseMarks.h"
#include "browse/ui/BrowsePathBar.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/QuickSearchPopup.h"
#include "browse/ui/ViewTableModel.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionsStore.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvo;

// The path box, the quick search popup and the bold marks, driven with the
// keys and the mouse as a user drives them.

namespace {

void Touch(const QString& path, const QByteArray& bytes = "x") {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Keys go where the user's keys would: to the widget with the focus.
void Type(const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClicks(QApplication::focusWidget(), text, mods);
}
void Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, mods);
}

int RowNamed(COrvoBrowserView& view, const QString& name) {
    for (int i = 0; i < view.Model()->rowCount(); ++i)
        if (view.Model()->FullName(i) == name)
            return i;
    return -1;
}

// How many pixels of a drawn cell differ from its background: a bold text
// covers more of them than the same text drawn plain.
int Ink(COrvoBrowserView& view, int row, int column) {
    QTableView* list = view.DetailsList();
    QImage cell = list->viewport()->grab(list->visualRect(view.Model()->index(row, column))).toImage();
    const QRgb background = cell.pixel(cell.width() - 1, 0);
    int ink = 0;
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            ink += cell.pixel(x, y) != background;
    return ink;
}

// A failed check inside the popup's own loop must not leave it open.
struct CloseWhenDone {
    COrvoBrowserView& view;
    ~CloseWhenDone() {
        if (auto* popup = view.findChild<QuickSearchPopup*>(); popup && popup->isVisible())
            popup->reject();
    }
};

} // namespace

class BrowseTypingTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;
    QTemporaryDir tree_;

    QString In(const QString& name) const { return tree_.path() + "/" + name; }
    std::string InS(const QString& name) const { return In(name).toStdString(); }

    // The window shown and active, as a user meets it.
    void Show(COrvoBrowserView& view, const QString& dir) {
        view.resize(900, 500);
        view.Navigate(dir.toStdString());
        view.show();
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        view.FocusList(-1);
    }

    // Clicks into the path box, replaces its text and presses Enter.
    void EnterPath(COrvoBrowserView& view, const QString& text,
                   Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QComboBox* box = view.PathBar().PathBox();
        QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
        Press(Qt::Key_A, Qt::ControlModifier);
        Type(text);
        Press(Qt::Key_Return, mods);
    }

private slots:
    void initTestCase() {
        qputenv("ORVO_HOME", home_.path().toUtf8());
        LoadOptions(OptionsFilePath(home_.path().toStdString()));
        QDir root(tree_.path());
        for (const char* d : {"alphabet", "bet", "better", "etc", "Notes", "NOTES", "sub/deeper"})
            root.mkpath(d);
        Touch(In("sub/deeper/found.txt"));
        Touch(In("a.txt"), "1");
        Touch(In("b.txt"), "333");
        Touch(In("c.txt"), "22");
        // A terminal that just runs what it is given.
        Touch(In("term"), "#!/bin/sh\nshift\nexec \"$@\"\n");
        QFile::setPermissions(In("term"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("TERMINAL", In("term").toUtf8());
        qputenv("SHELL", "/bin/sh");
    }
    void cleanup() { BrowseMarks::SetFavoriteTargetsSource(nullptr); }

    void typedPathsGoWhereTheyName() {
        ScriptedPrompt prompt;
        COrvoBrowserView view;
        Show(view, In("sub/deeper"));
        QComboBox* box = view.PathBar().PathBox();

        // A directory never visited; then the parent of one in the box's
        // list, which must not be completed into that one.
        EnterPath(view, In("bet"));
        QCOMPARE(view.CurrentPath(), InS("bet"));
        QCOMPARE(box->currentText(), In("bet"));
        EnterPath(view, In("sub"));
        QCOMPARE(view.CurrentPath(), InS("sub"));
        QCOMPARE(QApplication::focusWidget(), view.CurrentList());

        // Relative to the shown directory, ".." as Up.
        EnterPath(view, "deeper");
        QCOMPARE(view.CurrentPath(), InS("sub/deeper"));
        EnterPath(view, "../..");
        QCOMPARE(view.CurrentPath(), tree_.path().toStdString());

        // A file: its directory, the file selected.
        EnterPath(view, In("sub/deeper/found.txt"));
        QCOMPARE(view.CurrentPath(), InS("sub/deeper"));
        QCOMPARE(view.FirstSelectedPath(), InS("sub/deeper/found.txt"));

        // Nothing of that name: said once, the box shows the window's path.
        EnterPath(view, In("no/such/place"));
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY(prompt.asked.last().contains("does not exist"));
        QCOMPARE(view.CurrentPath(), InS("sub/deeper"));
        QCOMPARE(box->currentText(), In("sub/deeper"));
        EnterPath(view, "no-such-program-here --now");
        QCOMPARE(prompt.asked.size(), 2);

        // A command runs in the shown directory.
        EnterPath(view, "touch made-here");
        QTRY_VERIFY(QFile::exists(In("sub/deeper/made-here")));
        QCOMPARE(prompt.asked.size(), 2);
        QCOMPARE(box->currentText(), In("sub/deeper"));

        // Escape gives up what was typed.
        QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
        Type("half typed");
        Press(Qt::Key_Escape);
        QCOMPARE(box->currentText(), In("sub/deeper"));

        // A path chosen from the box's list is shown, once.
        const int visits = int(view.History().Entries().size());
        box->showPopup();
        const int index = box->findText(In("bet"));
        QVERIFY(index >= 0);
        box->view()->setCurrentIndex(box->model()->index(index, 0));
        QTest::keyClick(box->view(), Qt::Key_Return);
        QCOMPARE(view.CurrentPath(), InS("bet"));
        QCOMPARE(int(view.History().Entries().size()), visits + 1);
    }

    void quickSearchKeepsTheFirstLetterAndOpensThePickedMatch() {
        COrvoBrowserView view;
        Show(view, tree_.path());
        QString typed;
        int listed = -1;
        // The popup runs its own loop; it is answered from inside it.
        QTimer::singleShot(0, this, [&] {
            CloseWhenDone closer(view);
            QTRY_VERIFY(view.findChild<QuickSearchPopup*>());
            auto* popup = view.findChild<QuickSearchPopup*>();
            // Typed on fast, the next letters reach the browse window, whose
            // popup must still get them.
            QTest::keyClick(view.windowHandle(), Qt::Key_E);
            QTest::keyClick(view.windowHandle(), Qt::Key_T);
            typed = popup->Edit()->text();
            listed = popup->Matches()->count();
            QListWidget* matches = popup->Matches();
            // A double-click: a click, then the second press.
            const QPoint at = matches->visualItemRect(matches->item(2)).center();
            QTest::mouseClick(matches->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(matches->viewport(), Qt::LeftButton, {}, at);
        });
        QTest::keyClick(view.CurrentList(), Qt::Key_B);
        QCOMPARE(typed, QString("bet"));
        QCOMPARE(listed, 3); // alphabet, bet, better; not etc
        QCOMPARE(view.CurrentPath(), InS("better"));

        // Two names equal but for letter case: the one walked to is opened.
        view.Navigate(tree_.path().toStdString());
        view.FocusList(-1);
        const int second = std::max(RowNamed(view, "Notes"), RowNamed(view, "NOTES"));
        const std::string secondPath = view.ViewTable().GetText("Path", second);
        QTimer::singleShot(0, this, [&] {
            CloseWhenDone closer(view);
            QTRY_VERIFY(view.findChild<QuickSearchPopup*>());
            QTRY_COMPARE(QApplication::focusWidget(), view.findChild<QuickSearchPopup*>()->Edit());
            Type("otes");
            Press(Qt::Key_Down);
            Press(Qt::Key_Return);
        });
        QTest::keyClick(view.CurrentList(), Qt::Key_N);
        QCOMPARE(view.CurrentPath(), secondPath);
    }

    void favoriteMarksStayOnTheirEntryThroughHeaderSorts() {
        const std::string marked = InS("b.txt");
        BrowseMarks::SetFavoriteTargetsSource(
            [marked](QWidget*) { return std::vector<std::string>{marked}; });
        COrvoBrowserView view;
        Show(view, tree_.path());
        QHeaderView* header = view.DetailsList()->horizontalHeader();
        auto clickHeader = [&](int column) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
        };
        // Every ".txt" row shows the same extension: only the mark tells
        // them apart.
        auto boldRows = [&] {
            const QStringList files{"a.txt", "b.txt", "c.txt"};
            QList<int> ink;
            for (const QString& f : files)
                ink << Ink(view, RowNamed(view, f), ViewTableModel::ExtensionColumn);
            const int plain = *std::min_element(ink.begin(), ink.end());
            QStringList bold;
            for (int i = 0; i < files.size(); ++i)
                if (ink[i] > plain)
                    bold << files[i];
            return bold;
        };
        QCOMPARE(boldRows(), QStringList{"b.txt"});
        clickHeader(ViewTableModel::SizeColumn);
        QVERIFY(RowNamed(view, "c.txt") < RowNamed(view, "b.txt")); // by size now
        QCOMPARE(boldRows(), QStringList{"b.txt"});
        clickHeader(ViewTableModel::SizeColumn);
        QCOMPARE(boldRows(), QStringList{"b.txt"});
    }
};

QTEST_MAIN(BrowseTypingTest)
#include "BrowseTypingTest.moc"
