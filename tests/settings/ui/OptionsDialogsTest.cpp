#include "platform/ui/UserPrompt.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "settings/OptionTables.h"
#include "settings/ui/CGeneralOptionsDlg.h"
#include "settings/ui/OptionsCommands.h"
#include "store/ui/CTableEditorDlg.h"
#include "store/ui/CTableGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace orvo;

namespace {

std::string Utf8(const QString& s) {
    return s.toUtf8().toStdString();
}

// Ends the next modal dialog with OK or Cancel once it runs.
void AnswerNextDialog(bool ok, std::function<void(QDialog*)> before = {}) {
    QTimer::singleShot(0, [ok, before] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        if (before)
            before(dialog);
        ok ? dialog->accept() : dialog->reject();
    });
}

QStringList RowNames(const QTable& t) {
    QStringList names;
    for (int i = 0; i < t.GetRecordCount(); ++i)
        names << QString::fromStdString(t.GetText("Name", i));
    return names;
}

} // namespace

class OptionsDialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::string Path() const { return Utf8(dir_.filePath("OrvoOptions.qad")); }

private slots:
    void init() {
        // Every test starts from a freshly seeded file, whatever the
        // process-wide options went through before.
        QFile::remove(dir_.filePath("OrvoOptions.qad"));
        OptionsStore seeded;
        seeded.Load(Path());
        QVERIFY(seeded.Save().saved);
        QCOMPARE(LoadOptions(Path()).status, OptionsLoadResult::Status::Loaded);
    }

    void generalOptionsShowAndStoreTheSevenSwitches() {
        QDataBase db;
        for (const char* name : {kBoolOptionsTable, kStringOptionsTable})
            db.AddTable(MakeOptionTable(name));
        SetBoolOption(db, kShowOnActionTipsKey, true);
        SetStringOption(db, kBackgroundImagePathKey, "Default");

        CGeneralOptionsDlg dlg("/opt/orvo");
        QCOMPARE(dlg.windowTitle(), QString("Orvo General options"));
        dlg.LoadFrom(db);
        for (int i = 0; i < CGeneralOptionsDlg::kSwitchCount; ++i)
            QCOMPARE(dlg.Switch(i)->isChecked(),
                     std::string(CGeneralOptionsDlg::SwitchKeys()[i]) == kShowOnActionTipsKey);
        QCOMPARE(dlg.Switch(6)->text(), QString("Run comversion when image dropped"));
        QCOMPARE(dlg.BackgroundEdit()->text(), QString("Default"));

        dlg.Switch(0)->setChecked(true);
        dlg.ResetButton()->click();
        QCOMPARE(dlg.BackgroundEdit()->text(), QString("/opt/orvo/images/bkgnd.jpg"));
        QString startedAt;
        dlg.SetFileChooser([&](QWidget*, const QString& start) {
            startedAt = start;
            return QString();
        });
        dlg.BrowseButton()->click(); // cancelled: the path stays
        QCOMPARE(startedAt, QString("/opt/orvo/images/bkgnd.jpg"));
        QCOMPARE(dlg.BackgroundEdit()->text(), QString("/opt/orvo/images/bkgnd.jpg"));
        dlg.SetFileChooser([](QWidget*, const QString&) { return QString("/pics/sky.png"); });
        dlg.BrowseButton()->click();

        dlg.StoreTo(db);
        QVERIFY(GetBoolOption(db, kBracketDirectoriesKey));
        QVERIFY(GetBoolOption(db, kShowOnActionTipsKey));
        QVERIFY(!GetBoolOption(db, kShowTipsKey));
        QCOMPARE(GetStringOption(db, kBackgroundImagePathKey), std::string("/pics/sky.png"));
        // The keys the dialog added come in the order OK writes them.
        const QTable& bools = *db.GetTable(kBoolOptionsTable);
        QCOMPARE(RowNames(bools),
                 QStringList({kShowOnActionTipsKey, kBracketDirectoriesKey, kUseColorsKey,
                              kHideCommentFileKey, kAllProblemsAtStartKey, kShowTipsKey,
                              kConvertDroppedImageKey}));
    }

    void generalOptionsCommandStoresOnOkOnly() {
        SetBoolOption(kShowTipsKey, true);
        AnswerNextDialog(false, [](QDialog* d) {
            static_cast<CGeneralOptionsDlg*>(d)->Switch(3)->setChecked(false);
        });
        QVERIFY(!RunGeneralOptions(nullptr));
        QVERIFY(GetBoolOption(kShowTipsKey));

        AnswerNextDialog(true, [](QDialog* d) {
            auto* dlg = static_cast<CGeneralOptionsDlg*>(d);
            QVERIFY(dlg->Switch(3)->isChecked());
            dlg->Switch(3)->setChecked(false);
            dlg->BackgroundEdit()->setText("");
        });
        QVERIFY(RunGeneralOptions(nullptr));
        QVERIFY(!GetBoolOption(kShowTipsKey));
        QCOMPARE(GetStringOption(kBackgroundImagePathKey), std::string());
    }

    void catalogEditorsOpenOnTheirTablesWithTheirHints() {
        QPointer<CTableEditorDlg> colors = OpenFilesColorsEditor(nullptr);
        QVERIFY(colors);
        QCOMPARE(colors->Table(), GetOptionsTable("File groups"));
        QVERIFY(colors->findChild<QLabel*>()->text() == "You can change here the files colors...");
        QCOMPARE(OpenFilesColorsEditor(nullptr), colors.data()); // one editor per table

        QPointer<CTableEditorDlg> special = OpenSpecialFileTypesEditor(nullptr);
        QVERIFY(special);
        QCOMPARE(special->Table(), GetOptionsTable("Special files"));
        QVERIFY(special->findChild<QLabel*>()->text().startsWith("Do not delete, or rename"));
        special->close();
        QTRY_VERIFY(!special);

        // "New" on an empty "File groups" table.
        GetOptionsTable("File groups")->RemoveAll();
        colors->Grid()->Refill();
        colors->NewButton()->click();
        const QTable& groups = *GetOptionsTable("File groups");
        QCOMPARE(groups.GetRecordCount(), 1);
        QCOMPARE(groups.GetText("Group name", 0), std::string("New entry"));
        QCOMPARE(groups.GetText("Extensions", 0), std::string());
        QCOMPARE(groups.GetText("Bold", 0), std::string("FALSE"));
        QCOMPARE(groups.GetValue("Font size", 0).AsInt(), 0);
        QCOMPARE(groups.GetText("Color", 0), std::string());

        // Re-reading the options frees their tables: the editor goes first.
        QVERIFY(SaveOptions().saved);
        SetBoolOption(kShowTipsKey, false);
        QVERIFY(RereadOptions(nullptr).Ok());
        QTRY_VERIFY(!colors);
        QVERIFY(GetBoolOption(kShowTipsKey));
        QCOMPARE(GetOptionsTable("File groups")->GetRecordCount(), 1);
    }

    void aBrokenOptionsFileIsReportedOnce() {
        ScriptedPrompt prompt;
        QFile file(dir_.filePath("OrvoOptions.qad"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not an options file");
        file.close();
        OptionsLoadResult r = RereadOptions(nullptr);
        QVERIFY(!r.Ok());
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY(prompt.asked[0].startsWith(
            "Internal error occured. Trying to load NON-QDataBase to a QDataBase object."));
        QVERIFY(GetOptionsTable("File groups"));

        // Without a table the command says so instead of opening an editor.
        QDataBase& db = GetOptionsDatabase();
        db.Clear();
        QVERIFY(!OpenSpecialFileTypesEditor(nullptr));
        QCOMPARE(prompt.asked.size(), 2);
        QVERIFY(prompt.asked[1].contains("Special files"));
    }
};

QTEST_MAIN(OptionsDialogsTest)
#include "OptionsDialogsTest.moc"
