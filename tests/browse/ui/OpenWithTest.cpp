#include "../../platform/ui/AnyNameTemporaryDir.h"
#include "WindowRows.h"
#include "assist/ui/TipDialog.h"
#include "browse/ui/COrvoBrowserView.h"
#include "platform/ui/OpenWithDialog.h"
#include "platform/ui/UserPrompt.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QtTest>
#include <fstream>
#include <functional>
#include <memory>

using namespace orvo;
using orvo::test::RowOf;

namespace {

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Each text action of a menu, without its mnemonic marks.
QStringList Entries(QMenu* menu) {
    QStringList texts;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            texts << a->text().remove('&');
    return texts;
}

void ClickEntry(QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions())
        if (a->text().remove('&') == text)
            return QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
    QFAIL(qPrintable("no entry " + text + " in " + Entries(menu).join(" | ")));
}

} // namespace

class OpenWithTest : public QObject {
    Q_OBJECT

    test::AnyNameTemporaryDir home_, mimeRoot_;
    std::unique_ptr<test::AnyNameTemporaryDir> xdg_, tree_;
    std::unique_ptr<ScriptedPrompt> prompt_;
    std::unique_ptr<COrvoBrowserView> view_;

    QString Xdg(const QString& relative) const { return xdg_->path() + "/" + relative; }
    QString In(const QString& name) const { return tree_->path() + "/" + name; }

    // A desktop entry whose program writes the arguments it got, one a line,
    // to a file of its own per process: OUT-<process id>.
    void App(const QString& id, const QString& name, const QString& exec,
             const QString& more = {}) {
        Write(Xdg("data/applications/" + id),
              ("[Desktop Entry]\nType=Application\nName=" + name + "\nExec=\"" + Xdg("bin/record") +
               "\" " + exec + "\n" + more)
                  .toUtf8());
    }
    // What the processes started with OUT got, each a list of arguments.
    QList<QByteArrayList> Runs(const QString& out, int expected) const {
        QList<QByteArrayList> runs;
        const QStringList names = QDir(xdg_->path()).entryList({out + "-*"}, QDir::Files);
        if (names.size() == expected)
            for (const QString& name : names)
                runs << Read(Xdg(name)).split('\n').mid(0, Read(Xdg(name)).count('\n'));
        return runs;
    }

    // Right-clicks a row and opens its "Open with" submenu, which act gets.
    void OpenWith(const QString& row, const std::function<void(QMenu*)>& act) {
        bool reached = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QAction* entry = nullptr;
            for (QAction* a : menu ? menu->actions() : QList<QAction*>())
                if (a->menu() && a->menu()->objectName() == "OpenWithMenu")
                    entry = a;
            if (entry) {
                menu->setActiveAction(entry);
                QTest::keyClick(menu, Qt::Key_Right);
                if (QTest::qWaitFor([&] { return entry->menu()->isVisible(); })) {
                    reached = true;
                    act(entry->menu());
                }
            }
            if (menu && menu->isVisible())
                menu->close();
        });
        QWidget* viewport = view_->CurrentList()->viewport();
        const QPoint at =
            view_->CurrentList()->visualRect(view_->Model()->index(RowOf(*view_, row), 0)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &event);
        QVERIFY2(reached, "the row menu has no \"Open with\" submenu");
    }

private slots:
    void initTestCase() {
        test::UseFreshOptions(home_);
        TipDialog::SetTestRunner([](TipDialog&) {});
        // Beside the fake applications, the real MIME database.
        const QString mime = QStandardPaths::locate(QStandardPaths::GenericDataLocation, "mime",
                                                    QStandardPaths::LocateDirectory);
        QVERIFY(mime.isEmpty() || QFile::link(mime, mimeRoot_.path() + "/mime"));
    }

    void init() {
        xdg_ = std::make_unique<test::AnyNameTemporaryDir>();
        tree_ = std::make_unique<test::AnyNameTemporaryDir>();
        prompt_ = std::make_unique<ScriptedPrompt>();
        qputenv("XDG_DATA_HOME", Xdg("data").toUtf8());
        qputenv("XDG_DATA_DIRS", (Xdg("system") + ":" + mimeRoot_.path()).toUtf8());
        qputenv("XDG_CONFIG_HOME", Xdg("config").toUtf8());
        qputenv("XDG_CONFIG_DIRS", Xdg("etc").toUtf8());
        qunsetenv("XDG_CURRENT_DESKTOP");
        Write(Xdg("bin/record"),
              "#!/bin/sh\nout=\"$1\"; shift\n"
              "printf '%s\\n' \"$@\" > \"$out.$$\" && mv \"$out.$$\" \"$out-$$\"\n");
        QFile::setPermissions(Xdg("bin/record"), QFile::ExeOwner | QFile::ReadOwner);
        App("viewer.desktop", "Viewer", Xdg("viewer") + " --all %F", "Icon=text-x-generic\n");
        App("editor.desktop", "Editor", Xdg("editor") + " --line 1 %f", "MimeType=text/plain;\n");
        App("gone.desktop", "Gone", Xdg("gone") + " %f", "MimeType=text/plain;\nHidden=true\n");
        App("other.desktop", "Other Tool", Xdg("other") + " %U");
        App("files.desktop", "Files", Xdg("files") + " %U", "MimeType=inode/directory;\n");
        Write(Xdg("config/mimeapps.list"),
              "# mine\n[Default Applications]\ntext/plain=viewer.desktop\n");

        Write(In("notes.txt"), "n");
        std::ofstream(QFile::encodeName(tree_->path()).toStdString() + "/caf\xe9.txt") << "c";
        QDir(tree_->path()).mkdir("sub");
        view_ = std::make_unique<COrvoBrowserView>();
        view_->resize(600, 400);
        view_->show();
        view_->Navigate(QFile::encodeName(tree_->path()).toStdString());
    }
    void cleanup() {
        view_.reset();
        prompt_.reset();
        OpenWithDialog::SetTestRunner(nullptr);
    }

    void submenuStartsTheTypesApplicationsAsTheirEntriesSay() {
        QVERIFY(view_->SelectPath(QFile::encodeName(tree_->path()).toStdString() + "/caf\xe9.txt"));
        view_->SelectRow(RowOf(*view_, "notes.txt"), false);
        const std::vector<std::string> selected = view_->SelectedPaths();
        QCOMPARE(selected.size(), size_t{2});
        QByteArrayList both;
        for (const std::string& path : selected)
            both << QByteArray::fromStdString(path);

        OpenWith("notes.txt", [](QMenu* sub) {
            QCOMPARE(Entries(sub), (QStringList{"Viewer", "Editor", "Other application..."}));
            ClickEntry(sub, "Viewer");
        });
        // %F: one process gets every selected file, names as their bytes.
        QTRY_COMPARE(Runs("viewer", 1), (QList<QByteArrayList>{QByteArrayList{"--all"} + both}));

        // A directory has the applications of directories.
        OpenWith("sub", [](QMenu* sub) {
            QCOMPARE(Entries(sub), (QStringList{"Files", "Other application..."}));
            ClickEntry(sub, "Files");
        });
        QTRY_COMPARE(Runs("files", 1), (QList<QByteArrayList>{{QFile::encodeName(In("sub"))}}));
        QVERIFY(prompt_->asked.isEmpty());
    }

    void anOtherApplicationChosenIsRememberedForTheType() {
        const QByteArray notes = QFile::encodeName(In("notes.txt"));
        view_->SelectRow(RowOf(*view_, "notes.txt"));
        OpenWithDialog::SetTestRunner([](OpenWithDialog& d) {
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            QTest::keyClicks(d.FilterEdit(), "oth");
            QCOMPARE(d.List()->currentItem()->text(), QString("Other Tool"));
            QVERIFY(d.RememberBox()->isChecked());
            QTest::keyClick(d.FilterEdit(), Qt::Key_Return);
        });
        OpenWith("notes.txt", [](QMenu* sub) { ClickEntry(sub, "Other application..."); });
        QTRY_COMPARE(Runs("other", 1), (QList<QByteArrayList>{{notes}}));
        QCOMPARE(Read(Xdg("config/mimeapps.list")),
                 QByteArray("# mine\n[Default Applications]\ntext/plain=viewer.desktop\n"
                            "\n[Added Associations]\ntext/plain=other.desktop;\n"));
        OpenWith("notes.txt", [](QMenu* sub) {
            QCOMPARE(Entries(sub),
                     (QStringList{"Viewer", "Other Tool", "Editor", "Other application..."}));
        });

        // A typed command: a program that is not there is refused with a
        // message; the one that is starts, and comes back next time.
        OpenWithDialog::SetTestRunner([this](OpenWithDialog& d) {
            d.show();
            auto ok = [&d] {
                QTest::mouseClick(d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                                  Qt::LeftButton);
            };
            QTest::keyClicks(d.CommandEdit(), "orvo-no-such-program --x");
            ok();
            QCOMPARE(d.result(), int(QDialog::Rejected));
            d.CommandEdit()->clear();
            QTest::keyClicks(d.CommandEdit(),
                             "\"" + Xdg("bin/record") + "\" " + Xdg("typed") + " --typed");
            ok();
        });
        OpenWith("notes.txt", [](QMenu* sub) { ClickEntry(sub, "Other application..."); });
        QCOMPARE(prompt_->asked, QStringList{"Cannot find the program \"orvo-no-such-program\"."});
        QTRY_COMPARE(Runs("typed", 1), (QList<QByteArrayList>{{"--typed", notes}}));
        const QStringList made =
            QDir(Xdg("data/applications")).entryList({"userapp-record-*.desktop"}, QDir::Files);
        QCOMPARE(made.size(), 1);
        QVERIFY(Read(Xdg("config/mimeapps.list"))
                    .endsWith("text/plain=" + made[0].toUtf8() + ";other.desktop;\n"));
        OpenWith("notes.txt", [](QMenu* sub) {
            QCOMPARE(Entries(sub), (QStringList{"Viewer", "record", "Other Tool", "Editor",
                                                "Other application..."}));
        });
    }
};

QTEST_MAIN(OpenWithTest)
#include "OpenWithTest.moc"
