#include "assist/ui/TipDialog.h"
#include "browse/ui/BrowseClipboard.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "fileops/ui/CNewDirectoryDlg.h"
#include "platform/ui/UserPrompt.h"
#include "workspace/AppState.h"
#include "workspace/ui/CChildFrame.h"
#include "workspace/ui/CMainFrame.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

using namespace orvo;

namespace {

void Touch(const QString& path, const QByteArray& bytes = "x") {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString Plain(const QAction* a) {
    return a->text().remove(QLatin1Char('&'));
}

// Sends the list's viewport what a right click there sends it; while the
// menu is open, act gets it (and may click an entry). Returns the entries
// as the menu showed them, "text\tkey".
QStringList RightClick(COrvoBrowserView& view, const QPoint& at,
                       const std::function<void(QMenu*)>& act = {}) {
    QStringList shown;
    QWidget* viewport = view.CurrentList()->viewport();
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                shown << Plain(a);
        if (act)
            act(menu);
        if (menu->isVisible())
            menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &event);
    QCoreApplication::processEvents(); // no menu: the check above still runs while shown lives
    return shown;
}

void Click(QMenu* menu, const QString& entry) {
    for (QAction* a : menu->actions()) {
        if (Plain(a).section('\t', 0, 0) == entry) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
            return;
        }
    }
    QFAIL(qPrintable("no entry " + entry));
}

int RowOf(COrvoBrowserView& view, const QString& name) {
    for (int i = 0; i < view.Model()->rowCount(); ++i)
        if (view.Model()->FullName(i) == name)
            return i;
    return -1;
}

QPoint RowPoint(COrvoBrowserView& view, const QString& name) {
    const int row = RowOf(view, name);
    return view.CurrentList()->visualRect(view.Model()->index(row, 0)).center();
}

// A point of the list below its last row.
QPoint EmptyPoint(COrvoBrowserView& view) {
    QAbstractItemView* list = view.CurrentList();
    const int last = view.Model()->rowCount() - 1;
    const QRect r = list->visualRect(view.Model()->index(last, 0));
    return QPoint(r.center().x(), std::min(r.bottom() + 20, list->viewport()->height() - 2));
}

} // namespace

class ContextMenuTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home_;
    std::unique_ptr<QTemporaryDir> data_;
    std::unique_ptr<ScriptedPrompt> prompt_;
    std::unique_ptr<CMainFrame> frame_;
    COrvoBrowserView* view_ = nullptr;

    QString Home(const QString& name) const { return home_->path() + "/" + name; }

private slots:
    void init() {
        home_ = std::make_unique<QTemporaryDir>();
        data_ = std::make_unique<QTemporaryDir>();
        qputenv("HOME", home_->path().toUtf8());
        qputenv("ORVO_HOME", data_->path().toUtf8());
        QDir(data_->path()).mkpath("File types");
        Touch(data_->path() + "/File types/Text file.txt", "");
        Touch(data_->path() + "/File types/Script.sh", "#!/bin/sh\n");
        QDir(home_->path()).mkpath("sub");
        Touch(Home("alpha.txt"));
        Touch(Home("beta.txt"));
        prompt_ = std::make_unique<ScriptedPrompt>();
        TipDialog::SetTestRunner([](TipDialog&) {});
        GetAppState() = AppState{};
        frame_ = std::make_unique<CMainFrame>();
        frame_->resize(900, 600);
        frame_->show();
        view_ = frame_->OpenBrowseWindow(home_->path().toStdString());
        QVERIFY(view_);
        frame_->FrameOf(view_)->setGeometry(0, 0, 800, 500);
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    }
    void cleanup() {
        frame_.reset();
        TipDialog::SetTestRunner(nullptr);
        CNewDirectoryDlg::SetTestRunner(nullptr);
        prompt_.reset();
    }

    void rowMenuShowsTheSelectionCommandsWithTheirKeys() {
        QStringList shown = RightClick(*view_, RowPoint(*view_, "alpha.txt"));
        for (const char* entry :
             {"Open\tEnter", "Open with the desktop's program", "Quick view\tF3", "Copy\tCtrl+C",
              "Paste\tCtrl+V", "Copy to...\tF5", "Move to...\tF6", "Rename\tF2",
              "Edit comment\tAlt+C", "Delete\tDel", "Create shortcut\tAlt+F5", "Properties",
              "Open terminal here\tCtrl+Shift+F10"})
            QVERIFY2(shown.contains(entry), qPrintable(shown.join(" | ")));
        QVERIFY(!shown.contains("New directory...\tF7"));
        // The right click chose the row it was made on.
        QCOMPARE(view_->FirstSelectedPath(), Home("alpha.txt").toStdString());

        // A key shown is a key that works: the main window's shortcut or a
        // key of the list itself.
        QStringList frameKeys;
        for (QAction* a : frame_->findChildren<QAction*>())
            if (!a->shortcut().isEmpty())
                frameKeys << a->shortcut().toString(QKeySequence::NativeText);
        for (const QString& entry : shown) {
            const QString key = entry.section('\t', 1);
            if (!key.isEmpty() && key != "Enter" && key != "F2")
                QVERIFY2(frameKeys.contains(key), qPrintable(key));
        }
    }

    void rowCommandsActOnTheClickedRowOrTheSelection() {
        // Copy on an unselected row copies that row only.
        view_->SelectRow(RowOf(*view_, "beta.txt"));
        RightClick(*view_, RowPoint(*view_, "alpha.txt"), [](QMenu* m) { Click(m, "Copy"); });
        QCOMPARE(ClipboardFileList(), std::vector<std::string>{Home("alpha.txt").toStdString()});

        // On a row of a selection the whole selection stays.
        view_->SelectRow(RowOf(*view_, "beta.txt"), false);
        QCOMPARE(view_->SelectedRows().size(), size_t{2});
        RightClick(*view_, RowPoint(*view_, "beta.txt"), [](QMenu* m) { Click(m, "Copy"); });
        QCOMPARE(ClipboardFileList().size(), size_t{2});

        // Rename opens the in-place edit of the row clicked.
        RightClick(*view_, RowPoint(*view_, "alpha.txt"), [](QMenu* m) { Click(m, "Rename"); });
        auto* editor = view_->CurrentList()->findChild<QLineEdit*>();
        QVERIFY(editor && editor->isVisible());
        editor->selectAll();
        QTest::keyClicks(editor, "gamma.txt");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(QFile::exists(Home("gamma.txt")));
        QVERIFY(!QFile::exists(Home("alpha.txt")));

        // Delete asks first, as Del does.
        prompt_->answers.push_back(UserPrompt::Answer::No);
        const qsizetype asked = prompt_->asked.size();
        RightClick(*view_, RowPoint(*view_, "beta.txt"), [](QMenu* m) { Click(m, "Delete"); });
        QCOMPARE(prompt_->asked.size(), asked + 1);
        QVERIFY(prompt_->asked.last().contains("beta.txt"));
        QVERIFY(QFile::exists(Home("beta.txt")));
    }

    void emptyAreaShowsTheDirectoryCommands() {
        QStringList shown = RightClick(*view_, EmptyPoint(*view_));
        for (const char* entry : {"New directory...\tF7", "New file...\tShift+F4",
                                  "New file from template", "Paste\tCtrl+V", "Refresh\tCtrl+R",
                                  "Open terminal here\tCtrl+Shift+F10"})
            QVERIFY2(shown.contains(entry), qPrintable(shown.join(" | ")));
        QVERIFY(!shown.contains("Delete\tDel"));
        QVERIFY(view_->SelectedRows().empty()); // nothing selected is acted upon

        // Refresh shows what another program made; so does Ctrl+R.
        Touch(Home("outside.txt"));
        RightClick(*view_, EmptyPoint(*view_), [](QMenu* m) { Click(m, "Refresh"); });
        QVERIFY(RowOf(*view_, "outside.txt") > 0);
        Touch(Home("second.txt"));
        view_->CurrentList()->setFocus();
        QTest::keyClick(view_->CurrentList(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(RowOf(*view_, "second.txt") > 0);

        // A template chosen in the menu is the one the new-file dialog starts with.
        QString offered;
        CNewDirectoryDlg::SetTestRunner([&offered](CNewDirectoryDlg& d) {
            offered = d.TypeBox()->currentText();
            d.NameEdit()->setText("run");
            d.accept();
        });
        RightClick(*view_, EmptyPoint(*view_), [](QMenu* m) {
            QMenu* templates = m->findChild<QMenu*>("TemplateMenu");
            QVERIFY(templates);
            QStringList names;
            for (QAction* a : templates->actions())
                names << a->text();
            QCOMPARE(names, QStringList({"Script.sh", "Text file.txt"}));
            templates->actions().first()->trigger();
            m->close();
        });
        QVERIFY2(offered.contains("Script"), qPrintable(offered));
        QFile made(Home("run.sh"));
        QVERIFY(made.open(QIODevice::ReadOnly));
        QCOMPARE(made.readAll(), QByteArray("#!/bin/sh\n"));
    }
};

QTEST_MAIN(ContextMenuTest)
#include "ContextMenuTest.moc"
