#pragma once

#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "settings/OptionsStore.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace orvo::test {

// Every window test reads its options from a fresh data directory.
inline void UseFreshOptions(const QTemporaryDir& home) {
    qputenv("ORVO_HOME", home.path().toUtf8());
    LoadOptions(OptionsFilePath(home.path().toStdString()));
}

inline void Touch(const QString& path, const QByteArray& bytes = "x") {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The row showing an entry's full name, -1 when none does.
inline int RowOf(COrvoBrowserView& view, const QString& name) {
    for (int i = 0; i < view.Model()->rowCount(); ++i)
        if (view.Model()->FullName(i) == name)
            return i;
    return -1;
}

inline QString Cell(COrvoBrowserView& view, const QString& name, int column) {
    const int row = RowOf(view, name);
    return row < 0
               ? QString()
               : view.Model()->data(view.Model()->index(row, column), Qt::DisplayRole).toString();
}

// Renames the row with F2, the typed name and Enter, as a user does.
inline void RenameWithKeys(COrvoBrowserView& view, const QString& from, const QString& to) {
    view.SelectRow(RowOf(view, from));
    view.CurrentList()->setFocus();
    QTest::keyClick(view.CurrentList(), Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, to);
    QTest::keyClick(editor, Qt::Key_Return);
    // The rename runs one turn after the editor closed.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

} // namespace orvo::test
