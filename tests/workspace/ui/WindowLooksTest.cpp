#include "assist/ui/TipDialog.h"
#include "browse/ui/BrowsePathBar.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "platform/ui/UserPrompt.h"
#include "store/ui/CTableEditorDlg.h"
#include "store/ui/CTableGrid.h"
#include "workspace/AppState.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CMainFrame.h"
#include "workspace/ui/FrameDialogCommands.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QTableView>
#include <QTemporaryDir>
#include <QScreen>
#include <QtTest>
#include <functional>
#include <memory>

using namespace orvo;

namespace {

void Touch(const QString& path, const QDateTime& modified) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(123457, 'x'));
    QVERIFY(f.setFileTime(modified, QFileDevice::FileModificationTime));
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

int ColumnNamed(QAbstractItemModel* model, const QString& name) {
    for (int c = 0; c < model->columnCount(); ++c)
        if (model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == name)
            return c;
    return -1;
}

int RowNamed(QAbstractItemModel* model, int column, const QString& name) {
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->index(r, column).data().toString() == name)
            return r;
    return -1;
}

} // namespace

class WindowLooksTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home_;
    std::unique_ptr<QTemporaryDir> data_;
    std::unique_ptr<ScriptedPrompt> prompt_;
    std::unique_ptr<CMainFrame> frame_;
    COrvoBrowserView* view_ = nullptr;

private slots:
    void init() {
        home_ = std::make_unique<QTemporaryDir>();
        data_ = std::make_unique<QTemporaryDir>();
        qputenv("HOME", home_->path().toUtf8());
        qputenv("ORVO_HOME", data_->path().toUtf8());
        const QDateTime now = QDateTime::currentDateTime();
        Touch(home_->path() + "/notes.txt", now.addDays(-300));
        Touch(home_->path() + "/report.pdf", now.addSecs(-3 * 3600));
        Touch(home_->path() + "/old archive.tar", now.addDays(-9 * 365));
        prompt_ = std::make_unique<ScriptedPrompt>();
        TipDialog::SetTestRunner([](TipDialog&) {});
        GetAppState() = AppState{};
        frame_ = std::make_unique<CMainFrame>();
        // A half-screen window of a desktop with a slightly larger font.
        QFont font = frame_->font();
        font.setPointSize(12);
        QApplication::setFont(font);
        frame_->resize(1280, 800);
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        view_ = frame_->OpenBrowseWindow(home_->path().toStdString());
        QVERIFY(view_);
        frame_->FrameOf(view_)->setGeometry(0, 0, 640, 700);
        QCoreApplication::processEvents();
    }
    void cleanup() {
        frame_.reset();
        TipDialog::SetTestRunner(nullptr);
        prompt_.reset();
    }

    void columnsOfANewWindowFitTheirContents() {
        QTableView* list = view_->DetailsList();
        const QFontMetrics metrics(list->font());
        const ViewTableModel& model = *view_->Model();
        for (int column : {ViewTableModel::NameColumn, ViewTableModel::ExtensionColumn,
                           ViewTableModel::SizeColumn, ViewTableModel::DateColumn,
                           ViewTableModel::TimeColumn, ViewTableModel::AttrColumn}) {
            for (int row = 0; row < model.rowCount(); ++row) {
                QString text = column == ViewTableModel::NameColumn
                                   ? model.DisplayName(row)
                                   : model.index(row, column).data().toString();
                // The cell's padding, and a name's icon.
                int needed = metrics.horizontalAdvance(text) + 6 +
                             (column == ViewTableModel::NameColumn ? 20 : 0);
                QVERIFY2(list->columnWidth(column) >= needed,
                         qPrintable(QString("column %1 is %2 wide for \"%3\" (%4)")
                                        .arg(column)
                                        .arg(list->columnWidth(column))
                                        .arg(text)
                                        .arg(needed)));
            }
            const QString header = model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
            QVERIFY(list->columnWidth(column) >=
                    list->horizontalHeader()->fontMetrics().horizontalAdvance(header));
        }

        // A column the user narrowed stays as he left it.
        list->horizontalHeader()->resizeSection(ViewTableModel::DateColumn, 40);
        view_->RebuildView(true, true, false);
        QCOMPARE(list->columnWidth(ViewTableModel::DateColumn), 40);
    }

    void driveBoxShowsItsWholeText() {
        QComboBox* drives = view_->PathBar().DriveBox();
        if (drives->count() == 0)
            QSKIP("no mounted volume is listed here");
        QVERIFY(drives->currentText().contains("Free"));
        QVERIFY2(drives->width() >= drives->fontMetrics().horizontalAdvance(drives->currentText()),
                 qPrintable(QString("%1 pixels for \"%2\"")
                                .arg(drives->width())
                                .arg(drives->currentText())));
        drives->showPopup();
        int widest = 0;
        for (int i = 0; i < drives->count(); ++i)
            widest = std::max(widest, drives->view()->fontMetrics().horizontalAdvance(
                                          drives->itemText(i)));
        QVERIFY(drives->view()->viewport()->width() >= widest);
        drives->hidePopup();
    }

    void fileColorEditsShowWhileTheEditorIsOpen() {
        QTableView* list = view_->DetailsList();
        const int rowHeight = list->verticalHeader()->defaultSectionSize();
        frame_->Dialogs().ShowFileColors();
        auto* editor = frame_->findChild<CTableEditorDlg*>();
        QVERIFY(editor && editor->isVisible());
        QAbstractItemModel* grid = editor->Grid()->model();
        const int group = RowNamed(grid, ColumnNamed(grid, "Group name"), "Documents");
        QVERIFY(group >= 0);

        // The name of notes.txt turns magenta (160, 0, 160) on the screen.
        int row = -1;
        for (int r = 0; r < view_->Model()->rowCount(); ++r)
            if (view_->Model()->FullName(r) == "notes.txt")
                row = r;
        const QRect cell = list->visualRect(view_->Model()->index(row, 0));
        const QPoint at = list->viewport()->mapTo(frame_.get(), cell.topLeft());
        // What the window has put on the screen, not a fresh drawing.
        auto shown = [&](const std::function<bool(QColor)>& wanted) {
            const QImage shot = frame_->screen()
                                    ->grabWindow(frame_->winId(), at.x(), at.y(), cell.width(),
                                                 cell.height())
                                    .toImage();
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 24; x < shot.width(); ++x)
                    if (wanted(shot.pixelColor(x, y)))
                        return true;
            return false;
        };
        auto magentaShown = [&] {
            return shown([](QColor c) {
                return c.red() - c.green() > 60 && c.blue() - c.green() > 60;
            });
        };
        QTRY_VERIFY(shown([](QColor c) { return c.lightness() < 128; })); // the old text is up
        // Icons come in and tips go: the edit is made once the list stopped drawing.
        PaintCounter painted;
        list->viewport()->installEventFilter(&painted);
        for (int quiet = 0, waited = 0; quiet < 5 && waited < 100; ++waited) {
            const int before = painted.paints;
            QTest::qWait(100);
            quiet = painted.paints == before ? quiet + 1 : 0;
        }
        list->viewport()->removeEventFilter(&painted);
        QVERIFY(!magentaShown());
        QVERIFY(grid->setData(grid->index(group, ColumnNamed(grid, "Color")), "Magenta",
                              Qt::EditRole));
        QTRY_VERIFY(magentaShown()); // without closing the editor

        // A larger font of the group gives the rows their new height at once.
        QVERIFY(grid->setData(grid->index(group, ColumnNamed(grid, "Font size")), "14",
                              Qt::EditRole));
        QVERIFY(list->verticalHeader()->defaultSectionSize() >= rowHeight + 8);
        QVERIFY(editor->isVisible());
        editor->close();
    }
};

QTEST_MAIN(WindowLooksTest)
#include "WindowLooksTest.moc"
