#include "browse/ui/CQuickMenu.h"

#include "platform/ui/QtText.h"
#include "store/QTable.h"

#include <map>

namespace orvo {

namespace {

QString FullName(const QTable& t, int row) {
    QString name = ToQ(t.GetValue("Name", row).AsStringView());
    std::string_view ext = t.GetValue("Extension", row).AsStringView();
    if (!ext.empty())
        name += QLatin1Char('.') + ToQ(ext);
    return name;
}

} // namespace

CQuickMenu::CQuickMenu(const QTable& source, const std::string& column, bool skipFirstRow, QWidget* parent)
    : QMenu(parent) {
    QTable table(source); // a copy: sorting it must not disturb the window
    int first = skipFirstRow ? 1 : 0;
    if (column == "Name" || column == "Extension") {
        std::map<QString, QStringList> groups; // extension -> names
        QStringList directories;
        for (int i = first; i < table.GetRecordCount(); ++i) {
            QString name = FullName(table, i);
            if (table.GetValue("Directory", i).AsBool() == 1)
                directories << name;
            else
                groups[ToQ(table.GetValue("Extension", i).AsStringView()).toLower()] << name;
        }
        auto addGroup = [this](const QString& title, const QStringList& names) {
            QMenu* sub = addMenu(title);
            for (const QString& n : names)
                connect(sub->addAction(n), &QAction::triggered, this, [this, n] {
                    if (onPattern)
                        onPattern(n.contains(QLatin1Char('.')) ? n : n + QLatin1Char('.'));
                });
        };
        if (!directories.isEmpty())
            addGroup(QStringLiteral("Directories"), directories);
        for (const auto& [ext, names] : groups)
            addGroup(ext.isEmpty() ? QStringLiteral("(no extension)") : ext, names);
        return;
    }

    QString title;
    bool descending = false;
    if (column == "Comment") {
        title = QStringLiteral("Having a comment :");
    } else if (column == "Size") {
        title = QStringLiteral("The biggest :");
        descending = true;
    } else if (column == "Date" || column == "Time") {
        title = QStringLiteral("The newest :");
        descending = true;
    } else {
        title = QStringLiteral("By attr :");
    }
    QAction* heading = addAction(title);
    heading->setEnabled(false);
    addSeparator();
    if (table.GetRecordCount() > first)
        table.Sort(column, !descending, first, -1);
    int shown = 0;
    for (int i = first; i < table.GetRecordCount() && shown < kMaxEntries; ++i) {
        if (column == "Comment" && table.GetValue("Comment", i).AsStringView() == "-")
            continue;
        QString text = FullName(table, i);
        if (column != "Name")
            text += QStringLiteral("\t") + ToQ(table.GetText(column, i));
        std::string path(table.GetValue("Path", i).AsStringView());
        connect(addAction(text), &QAction::triggered, this, [this, path] {
            if (onPath)
                onPath(path);
        });
        ++shown;
    }
}

} // namespace orvo
