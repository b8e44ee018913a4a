#include "assist/ui/TipCommands.h"
#include "assist/ui/TipDialog.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "settings/OptionTables.h"

#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

using namespace orvo;

class TipDialogTest : public QObject {
    Q_OBJECT

    QDataBase db_;

private slots:
    void init() {
        db_.Clear();
        for (const char* name : {kBoolOptionsTable, kIntOptionsTable, kTipsTable, kUserKnowsTable})
            db_.AddTable(MakeOptionTable(name));
        for (const char* tip : {"first", "second", "third"}) {
            QRecord r = db_.GetTable(kTipsTable)->NewRecord();
            r.SetText("Tip", tip);
            db_.GetTable(kTipsTable)->AddRecord(r);
        }
        SetBoolOption(db_, kShowTipsKey, true);
        SetBoolOption(db_, kShowOnActionTipsKey, true);
    }
    void cleanup() { TipDialog::SetTestRunner(nullptr); }

    void nextTwiceStoresTheLastShownPlusOne() {
        SetIntOption(db_, kTipPositionKey, 0);
        QStringList seen;
        TipDialog::SetTestRunner([&](TipDialog& d) {
            seen << d.CurrentTip();
            QTest::mouseClick(d.NextButton(), Qt::LeftButton);
            QTest::mouseClick(d.NextButton(), Qt::LeftButton);
            seen << d.CurrentTip();
            d.StartupCheck()->setChecked(false);
        });
        RunTipOfDay(nullptr, db_, true);
        QCOMPARE(seen, QStringList({"first", "third"}));
        QCOMPARE(GetIntOption(db_, kTipPositionKey), 3);
        QCOMPARE(GetBoolOption(db_, kShowTipsKey), false);

        // Switched off: not at start-up, but from the menu.
        int runs = 0;
        TipDialog::SetTestRunner([&](TipDialog& d) {
            ++runs;
            QCOMPARE(d.CurrentTip(), QString("first")); // position 3 wraps to the start
        });
        RunTipOfDay(nullptr, db_, false);
        QCOMPARE(runs, 0);
        RunTipOfDay(nullptr, db_, true);
        QCOMPARE(runs, 1);
    }

    void showAllTogglesTheView() {
        TipDialog d;
        d.SetTips({"a", "b"}, 0);
        d.show();
        QTest::mouseClick(d.AllButton(), Qt::LeftButton);
        QVERIFY(d.ShowsAllTips());
        QCOMPARE(d.AllTipsText(), QString("a\n\nb"));
        QCOMPARE(d.AllButton()->text(), QString("Show today's tip"));
        QTest::mouseClick(d.AllButton(), Qt::LeftButton);
        QVERIFY(!d.ShowsAllTips());
        QCOMPARE(d.AllButton()->text(), QString("Show all tips"));
    }

    void onActionTipShowsOnceUntilReset() {
        int shown = 0;
        TipDialog::SetTestRunner([&](TipDialog& d) {
            ++shown;
            QVERIFY(d.CurrentTip().endsWith("This tip will never appear again."));
            QVERIFY(d.NextButton()->isHidden());
        });
        ShowOnActionTip(nullptr, db_, kQuickViewTip);
        ShowOnActionTip(nullptr, db_, kQuickViewTip);
        QCOMPARE(shown, 1);

        TipDialog::SetTestRunner([&](TipDialog& d) { QTest::mouseClick(d.ResetButton(), Qt::LeftButton); });
        RunTipOfDay(nullptr, db_, true);
        TipDialog::SetTestRunner([&](TipDialog&) { ++shown; });
        ShowOnActionTip(nullptr, db_, kQuickViewTip);
        QCOMPARE(shown, 2);

        SetBoolOption(db_, kShowOnActionTipsKey, false);
        ShowOnActionTip(nullptr, db_, kSearchTip);
        QCOMPARE(shown, 2);
        QCOMPARE(db_.GetTable(kUserKnowsTable)->GetRecordCount(), 1);
    }
};

QTEST_MAIN(TipDialogTest)
#include "TipDialogTest.moc"
