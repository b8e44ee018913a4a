#include "assist/ui/TipDialog.h"
#include "browse/ui/BrowseClipboard.h"
#include "browse/ui/BrowsePathBar.h"
#include "browse/ui/CETip.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "fileops/ui/CNewDirectoryDlg.h"
#include "platform/ui/UserPrompt.h"
#include "store/ui/CTableEditorDlg.h"
#include "store/ui/CTableGrid.h"
#include "workspace/AppState.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CMainFrame.h"
#include "FrameTestHome.h"
#include "workspace/ui/FrameDialogCommands.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

using namespace orvo;

namespace {

void Touch(const QString& path, int ageDays = 0) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(123457, 'x'));
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addDays(-ageDays),
                          QFileDevice::FileModificationTime));
}

// What a right click on the list's viewport sends; act gets the open menu
// (and may click an entry). Returns the entries shown, "text\tkey".
QStringList RightClick(COrvoBrowserView& view, const QPoint& at,
                       const std::function<void(QMenu*)>& act = {}) {
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        for (QAction* a : menu ? menu->actions() : QList<QAction*>())
            if (!a->isSeparator())
                shown << a->text().remove('&');
        if (menu && act)
            act(menu);
        if (menu && menu->isVisible())
            menu->close();
    });
    QWidget* viewport = view.CurrentList()->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &event);
    QCoreApplication::processEvents(); // without a menu the check runs now
    return shown;
}

std::function<void(QMenu*)> Click(const QString& entry) {
    return [entry](QMenu* menu) {
        for (QAction* a : menu->actions())
            if (a->text().remove('&').section('\t', 0, 0) == entry)
                return QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
        QFAIL(qPrintable("no entry " + entry));
    };
}

int RowOf(COrvoBrowserView& view, const QString& name) {
    for (int i = 0; i < view.Model()->rowCount(); ++i)
        if (view.Model()->FullName(i) == name)
            return i;
    return -1;
}

QPoint At(COrvoBrowserView& view, const QString& name) {
    return view.CurrentList()->visualRect(view.Model()->index(RowOf(view, name), 0)).center();
}

int GridColumn(QAbstractItemModel* grid, const QString& name) {
    for (int c = 0; c < grid->columnCount(); ++c)
        if (grid->headerData(c, Qt::Horizontal).toString() == name)
            return c;
    return -1;
}

} // namespace

class BrowseMenuLooksTest : public FrameTestHome {
    Q_OBJECT

    std::unique_ptr<CMainFrame> frame_;
    COrvoBrowserView* view_ = nullptr;


private slots:
    void init() {
        StartFresh();
        QDir(data_->path()).mkpath("File types");
        Touch(data_->path() + "/File types/Text file.txt");
        Touch(data_->path() + "/File types/Script.sh");
        QDir(home_->path()).mkpath("sub");
        Touch(Home("notes.txt"), 300);
        Touch(Home("report.pdf"));
        Touch(Home("old archive.tar"), 9 * 365);
        QFont font = QApplication::font(); // a desktop with a slightly larger font
        font.setPointSize(12);
        QApplication::setFont(font);
        frame_ = std::make_unique<CMainFrame>();
        frame_->resize(1280, 800);
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        view_ = frame_->OpenBrowseWindow(home_->path().toStdString());
        frame_->FrameOf(view_)->setGeometry(0, 0, 640, 700); // half the screen
        QCoreApplication::processEvents();
    }
    void cleanup() {
        frame_.reset();
        CNewDirectoryDlg::SetTestRunner(nullptr);
        Finish();
    }

    void rowMenuShowsWorkingKeysAndActsOnTheClickedRow() {
        view_->SelectRow(RowOf(*view_, "report.pdf"));
        QStringList shown = RightClick(*view_, At(*view_, "notes.txt"), Click("Copy"));
        QCOMPARE(ClipboardFileList(), std::vector<std::string>{Home("notes.txt").toStdString()});
        for (const char* entry : {"Open\tEnter", "Quick view\tF3", "Copy to...\tF5",
                                  "Move to...\tF6", "Rename\tF2", "Edit comment\tAlt+C",
                                  "Delete\tDel", "Create shortcut\tAlt+F5", "Properties",
                                  "Open terminal here\tCtrl+Shift+F10"})
            QVERIFY2(shown.contains(entry), qPrintable(shown.join(" | ")));
        // Every key shown is a shortcut of the main window or a key of the list.
        QStringList keys{"Enter", "F2"};
        for (QAction* a : frame_->findChildren<QAction*>())
            keys << a->shortcut().toString(QKeySequence::NativeText);
        for (const QString& entry : shown)
            QVERIFY2(keys.contains(entry.section('\t', 1)) || !entry.contains('\t'),
                     qPrintable(entry));

        // On a row of a selection the selection stays.
        view_->SelectRow(RowOf(*view_, "report.pdf"), false);
        RightClick(*view_, At(*view_, "report.pdf"), Click("Copy"));
        QCOMPARE(ClipboardFileList().size(), size_t{2});

        RightClick(*view_, At(*view_, "notes.txt"), Click("Rename"));
        auto* editor = view_->CurrentList()->findChild<QLineEdit*>();
        QVERIFY(editor && editor->isVisible());
        editor->selectAll();
        QTest::keyClicks(editor, "todo.txt");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(QFile::exists(Home("todo.txt")));
    }

    void emptyAreaMenuHasTheDirectoryCommands() {
        auto empty = [this] { // below the last row
            const QRect last = view_->CurrentList()->visualRect(
                view_->Model()->index(view_->Model()->rowCount() - 1, 0));
            return QPoint(last.center().x(), last.bottom() + 30);
        };
        Touch(Home("outside.txt"));
        // The window clicked becomes the active one, as a left click makes it.
        COrvoBrowserView* other = frame_->OpenBrowseWindow(home_->path().toStdString());
        QCOMPARE(frame_->ActiveView(), other);
        QStringList shown = RightClick(*view_, empty(), [this](QMenu* m) {
            QCOMPARE(frame_->ActiveView(), view_);
            QVERIFY(view_->SelectedRows().empty()); // nothing selected is acted upon
            Click("Refresh")(m);
        });
        QVERIFY(RowOf(*view_, "outside.txt") > 0); // what another program made
        for (const char* entry : {"New directory...\tF7", "New file...\tShift+F4",
                                  "New file from template", "Paste\tCtrl+V", "Refresh\tCtrl+R"})
            QVERIFY2(shown.contains(entry), qPrintable(shown.join(" | ")));
        QVERIFY(!shown.contains("Delete\tDel"));

        Touch(Home("second.txt"));
        QTest::keyClick(view_->CurrentList(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(RowOf(*view_, "second.txt") > 0);

        // The template chosen in the menu is the one the new-file dialog offers.
        QString offered;
        CNewDirectoryDlg::SetTestRunner([&offered](CNewDirectoryDlg& d) {
            offered = d.TypeBox()->currentText();
            d.NameEdit()->setText("run");
            d.accept();
        });
        RightClick(*view_, empty(), [](QMenu* m) {
            QMenu* templates = m->findChild<QMenu*>("TemplateMenu");
            QVERIFY(templates);
            // The user's own templates beside the shipped ones.
            QAction* script = nullptr;
            QStringList names;
            for (QAction* a : templates->actions()) {
                names << a->text();
                if (a->text() == "Script.sh")
                    script = a;
            }
            QVERIFY2(script && names.contains("Text file.txt"), qPrintable(names.join(" | ")));
            script->trigger();
        });
        QVERIFY2(offered.contains("Script"), qPrintable(offered));
        QVERIFY(QFile::exists(Home("run.sh")));
    }

    void onlyTheWindowOnTopShowsItsHoverTip() {
        // A second window over the first, on the same rows: the pointer
        // rests on a row of both, and only the one seen may show its tip.
        COrvoBrowserView* top = frame_->OpenBrowseWindow(home_->path().toStdString());
        frame_->FrameOf(top)->setGeometry(0, 0, 640, 700);
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        QCoreApplication::processEvents();
        QCursor::setPos(top->CurrentList()->viewport()->mapToGlobal(At(*top, "notes.txt")));
        auto shown = [this] {
            int n = 0;
            for (CETip* tip : frame_->findChildren<CETip*>())
                n += tip->isVisible();
            return n;
        };
        QTRY_COMPARE_WITH_TIMEOUT(shown(), 1, 3000);
        QTest::qWait(400); // the window below had every chance to show its own
        QCOMPARE(shown(), 1);
        for (CETip* tip : frame_->findChildren<CETip*>())
            if (tip->isVisible())
                QCOMPARE(tip->parentWidget(), static_cast<QWidget*>(top));
    }

    void columnsAndDriveBoxShowTheirTextsWhole() {
        QTableView* list = view_->DetailsList();
        const ViewTableModel& model = *view_->Model();
        QFont bold = list->font();
        bold.setWeight(QFont::ExtraBold); // marked rows are bold
        for (int column = 0; column < ViewTableModel::ColumnCount; ++column) {
            if (column == ViewTableModel::CommentColumn)
                continue;
            for (int row = 0; row < model.rowCount(); ++row) {
                const QString text = column == ViewTableModel::NameColumn
                                         ? model.DisplayName(row)
                                         : model.index(row, column).data().toString();
                const int needed = QFontMetrics(bold).horizontalAdvance(text) +
                                   (column == ViewTableModel::NameColumn ? 26 : 6); // icon, padding
                QVERIFY2(list->columnWidth(column) >= needed, qPrintable(text));
            }
        }
        // A column the user narrowed stays so.
        list->horizontalHeader()->resizeSection(ViewTableModel::DateColumn, 40);
        view_->RebuildView(true, true, false);
        QCOMPARE(list->columnWidth(ViewTableModel::DateColumn), 40);

        QComboBox* drives = view_->PathBar().DriveBox();
        if (drives->count() == 0)
            QSKIP("no mounted volume is listed here");
        QVERIFY(drives->currentText().contains("Free"));
        QVERIFY(drives->width() >= drives->fontMetrics().horizontalAdvance(drives->currentText()));
    }

    void fileColorEditsShowWhileTheEditorIsOpen() {
        QTableView* list = view_->DetailsList();
        const int rowHeight = list->verticalHeader()->defaultSectionSize();
        frame_->Dialogs().ShowFileColors();
        auto* editor = frame_->findChild<CTableEditorDlg*>();
        QAbstractItemModel* grid = editor->Grid()->model();
        int group = -1;
        for (int r = 0; r < grid->rowCount(); ++r)
            if (grid->index(r, GridColumn(grid, "Group name")).data() == "Documents")
                group = r;

        // What the window has put on the screen, not a fresh drawing, of notes.txt's name.
        const QRect cell = list->visualRect(view_->Model()->index(RowOf(*view_, "notes.txt"), 0));
        const QPoint at = list->viewport()->mapTo(frame_.get(), cell.topLeft());
        auto onScreen = [&](const std::function<bool(QColor)>& wanted) {
            const QImage shot = frame_->screen()
                                    ->grabWindow(frame_->winId(), at.x() + 24, at.y(),
                                                 cell.width() - 24, cell.height())
                                    .toImage();
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    if (wanted(shot.pixelColor(x, y)))
                        return true;
            return false;
        };
        auto magenta = [](QColor c) { return c.red() - c.green() > 60 && c.blue() - c.green() > 60; };
        QTRY_VERIFY(onScreen([](QColor c) { return c.lightness() < 128; })); // the old text is up
        QTest::qWait(600); // icons come in meanwhile: the list stops drawing first
        QVERIFY(!onScreen(magenta));
        QVERIFY(grid->setData(grid->index(group, GridColumn(grid, "Color")), "Magenta", Qt::EditRole));
        QTRY_VERIFY(onScreen(magenta));

        // A larger font of the group gives the rows their new height at once.
        QVERIFY(grid->setData(grid->index(group, GridColumn(grid, "Font size")), "14", Qt::EditRole));
        QVERIFY(list->verticalHeader()->defaultSectionSize() >= rowHeight + 8);
        QVERIFY(editor->isVisible());
    }
};

QTEST_MAIN(BrowseMenuLooksTest)
#include "BrowseMenuLooksTest.moc"
