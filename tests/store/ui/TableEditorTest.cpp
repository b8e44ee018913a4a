#include "platform/OleDate.h"
#include "store/ui/CTableEditorDlg.h"
#include "store/ui/CTableGrid.h"
#include "store/ui/DateTimeCellEditor.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTest>
#include <QTimeEdit>
#include <memory>

using namespace orvo;

namespace {

const QFieldDef kFields[] = {
    {"Name", QVT_LPSTR, 0xC06},
    {"Count", QVT_INT, 0xC06},
    {"Enabled", QVT_BOOL, 0xC06},
    {"When", QVT_DATE, 0xC06},
    {"Colour", QVT_LPSTR, 0xC06 | QFF_REFERENCE},
};

void AddRow(QTable& t, const char* name, int count) {
    QRecord r = t.NewRecord();
    r.SetText("Name", name);
    r.SetValue("Count", QValue(int32_t{count}, QVT_INT));
    r.SetValue("Enabled", QValue(true, QVT_BOOL));
    r.SetValue("When", QValue(45000.75, QVT_DATE)); // 2023-03-15 18:00
    t.AddRecord(r);
}

QStringList Names(const QTable& t) {
    QStringList names;
    for (int i = 0; i < t.GetRecordCount(); ++i)
        names << QString::fromStdString(t.GetText("Name", i));
    return names;
}

} // namespace

class TableEditorTest : public QObject {
    Q_OBJECT

    QDataBase db_;
    QTable* table_ = nullptr;
    std::unique_ptr<CTableEditorDlg> dlg_;

    void Click(int row, int column) {
        CTableGrid* grid = dlg_->Grid();
        QRect cell = grid->visualRect(grid->model()->index(row, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    template <class Editor> Editor* OpenEditor(int row, int column) {
        Click(row, column);
        return dlg_->Grid()->viewport()->findChild<Editor*>();
    }

private slots:
    void init() {
        auto t = std::make_unique<QTable>(kFields, 5);
        t->SetName("Things");
        table_ = db_.AddTable(std::move(t));
        AddRow(*table_, "beta", 2);
        AddRow(*table_, "alpha", 3);
        AddRow(*table_, "gamma", 1);
        dlg_ = std::make_unique<CTableEditorDlg>("Edit the things", table_, &db_);
        dlg_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg_.get()));
    }
    void cleanup() {
        dlg_.reset();
        db_.Clear();
    }

    void numberCellsTakeWhatIsTypedAtOnce() {
        auto* edit = OpenEditor<QLineEdit>(0, 1);
        QVERIFY(edit);
        edit->selectAll();
        QTest::keyClicks(edit, "12x");
        // Stored while the editor is still open, and the editor keeps the
        // text as typed.
        QCOMPARE(table_->GetValue("Count", 0).Type(), uint16_t{QVT_INT});
        QCOMPARE(table_->GetValue("Count", 0).AsInt(), 12);
        QCOMPARE(edit->text(), QString("12x"));
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(table_->GetValue("Count", 0).AsInt(), 0);
        QTest::keyClicks(edit, "-5");
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(table_->GetValue("Count", 0).AsInt(), -5);
        QCOMPARE(dlg_->Grid()->model()->index(0, 1).data().toString(), QString("-5"));
    }

    void openingAndLeavingAnEditorChangesNothing() {
        auto* edit = OpenEditor<QLineEdit>(1, 1);
        QVERIFY(edit);
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(table_->GetValue("Count", 1).AsInt(), 3);
        auto* combo = OpenEditor<QComboBox>(1, 4);
        QVERIFY(combo);
        QTest::keyClick(combo, Qt::Key_Return);
        QCOMPARE(table_->GetText("Colour", 1), std::string());
    }

    void boolCellsOfferTrueAndFalse() {
        auto* combo = OpenEditor<QComboBox>(0, 2);
        QVERIFY(combo);
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->currentText(), QString("TRUE"));
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentText(), QString("FALSE"));
        QCOMPARE(table_->GetValue("Enabled", 0).Type(), uint16_t{QVT_BOOL});
        QCOMPARE(int(table_->GetValue("Enabled", 0).AsBool()), 0);
    }

    void aReferenceColumnWithoutItsTableListsTheErrors() {
        table_->MutableColumns()[4].SetRefTable("Palette");
        table_->MutableColumns()[4].SetRefField("Name");
        auto* combo = OpenEditor<QComboBox>(0, 4);
        QVERIFY(combo);
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), QString("!ERROR table not found :Palette"));
        QCOMPARE(combo->itemText(1),
                 QString("!ERROR field not found, table : Palette, field : Name"));
        QCOMPARE(combo->currentIndex(), -1);
        auto* items = qobject_cast<QStandardItemModel*>(combo->model());
        QVERIFY(!(items->item(0)->flags() & Qt::ItemIsEnabled));
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(table_->GetText("Colour", 0), std::string());
    }

    void aReferenceColumnOffersTheOtherTablesValues() {
        const QFieldDef paletteFields[] = {{"Name", QVT_LPSTR, 0xC06}};
        auto palette = std::make_unique<QTable>(paletteFields, 1);
        palette->SetName("Palette");
        for (const char* n : {"Red", "Green", "Blue"}) {
            QRecord r = palette->NewRecord();
            r.SetText("Name", n);
            palette->AddRecord(r);
        }
        db_.AddTable(std::move(palette));
        table_->MutableColumns()[4].SetRefTable("palette");
        table_->MutableColumns()[4].SetRefField("Name");
        table_->SetText("Colour", 0, "gr");

        auto* combo = OpenEditor<QComboBox>(0, 4);
        QVERIFY(combo);
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->currentText(), QString("Green")); // begins with "gr", any case
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(table_->GetText("Colour", 0), std::string("Blue"));
    }

    void threeHeaderClicksSortAscendingDescendingAscending() {
        QHeaderView* header = dlg_->Grid()->horizontalHeader();
        auto clickHeader = [&] {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
        };
        clickHeader();
        QCOMPARE(Names(*table_), QStringList({"alpha", "beta", "gamma"}));
        clickHeader();
        QCOMPARE(Names(*table_), QStringList({"gamma", "beta", "alpha"}));
        clickHeader();
        QCOMPARE(Names(*table_), QStringList({"alpha", "beta", "gamma"}));
        QCOMPARE(dlg_->Grid()->model()->index(0, 0).data().toString(), QString("alpha"));
        // Another column starts ascending whatever came before.
        dlg_->Grid()->SortByColumn(1);
        QCOMPARE(Names(*table_), QStringList({"gamma", "beta", "alpha"}));
    }

    void theFirstColumnEditsOnTheSecondClickOnly() {
        Click(1, 0);
        QVERIFY(!dlg_->Grid()->viewport()->findChild<QLineEdit*>());
        auto* edit = OpenEditor<QLineEdit>(1, 0);
        QVERIFY(edit);
        QCOMPARE(edit->text(), QString("alpha"));
    }

    void datePickersChangeTheirPartOfTheDate() {
        table_->MutableColumns()[3].SetFlags(QFF_SHOW_DATE);
        auto* picker = OpenEditor<DateTimeCellEditor>(0, 3);
        QVERIFY(picker);
        QVERIFY(picker->DatePicker() && !picker->TimePicker());
        picker->DatePicker()->setDate(QDate(2024, 2, 29));
        std::tm tm = OleDateToTm(table_->GetValue("When", 0).AsDouble());
        QCOMPARE(tm.tm_year + 1900, 2024);
        QCOMPARE(tm.tm_mon + 1, 2);
        QCOMPARE(tm.tm_mday, 29);
        QCOMPARE(tm.tm_hour, 18); // the time the picker does not show is kept
        // Leaving the editor for another widget ends it.
        dlg_->NewButton()->setFocus();
        QTRY_VERIFY(!dlg_->Grid()->viewport()->findChild<DateTimeCellEditor*>());

        table_->MutableColumns()[3].SetFlags(QFF_SHOW_DATE | QFF_SHOW_TIME);
        picker = OpenEditor<DateTimeCellEditor>(1, 3);
        QVERIFY(picker && picker->DatePicker() && picker->TimePicker());
        // A low cell puts the two pickers side by side.
        QCOMPARE(picker->DatePicker()->y(), picker->TimePicker()->y());
        picker->TimePicker()->setTime(QTime(7, 30, 15));
        tm = OleDateToTm(table_->GetValue("When", 1).AsDouble());
        QCOMPARE(tm.tm_mday, 15);
        QCOMPARE(tm.tm_hour, 7);
        QCOMPARE(tm.tm_min, 30);
        QCOMPARE(tm.tm_sec, 15);
        // Moving between the two pickers keeps the editor; Escape ends it.
        picker->TimePicker()->setFocus();
        QApplication::processEvents();
        QVERIFY(dlg_->Grid()->viewport()->findChild<DateTimeCellEditor*>());
        QTest::keyClick(picker->TimePicker(), Qt::Key_Escape);
        QTRY_VERIFY(!dlg_->Grid()->viewport()->findChild<DateTimeCellEditor*>());
    }

    void newAndDeleteChangeTheTable() {
        dlg_->DeleteButton()->click(); // no selection: nothing happens
        QCOMPARE(table_->GetRecordCount(), 3);
        dlg_->NewButton()->click();
        QCOMPARE(table_->GetRecordCount(), 4);
        QCOMPARE(table_->GetText("Name", 3), std::string("New entry"));
        QCOMPARE(table_->GetValue("Count", 3).AsInt(), 0);
        QCOMPARE(dlg_->Grid()->currentIndex().row(), 3);
        Click(1, 1);
        QTest::keyClick(dlg_->Grid()->viewport()->findChild<QLineEdit*>(), Qt::Key_Escape);
        dlg_->DeleteButton()->click();
        QCOMPARE(Names(*table_), QStringList({"beta", "gamma", "New entry"}));
        dlg_->DeleteButton()->click(); // the selection went with the row
        QCOMPARE(table_->GetRecordCount(), 3);
    }
};

QTEST_MAIN(TableEditorTest)
#include "TableEditorTest.moc"
