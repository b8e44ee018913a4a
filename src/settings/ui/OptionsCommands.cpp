#include "settings/ui/OptionsCommands.h"

#include "platform/DataDirectory.h"
#include "platform/ui/SaveQuestion.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionTables.h"
#include "settings/ui/CGeneralOptionsDlg.h"
#include "store/ui/CTableEditorDlg.h"

#include <QPointer>
#include <map>

namespace orvo {

namespace {

void Tell(QWidget* parent, const std::string& message, UserPrompt::Icon icon) {
    if (!message.empty())
        UserPrompt::Message(parent, QString::fromUtf8(message), icon);
}

CTableEditorDlg* OpenOptionsTableEditor(QWidget* parent, const char* tableName, const char* hint) {
    // One editor per table: a second command brings the open one forward.
    static std::map<std::string, QPointer<CTableEditorDlg>> open;
    QPointer<CTableEditorDlg>& existing = open[tableName];
    if (existing && existing->Table()) {
        existing->raise();
        existing->activateWindow();
        return existing;
    }
    QTable* table = GetOptionsTable(tableName);
    if (!table) {
        UserPrompt::Message(parent, QObject::tr("The options have no table \"%1\".").arg(tableName),
                            UserPrompt::Icon::Warning);
        return nullptr;
    }
    CTableEditorDlg* dialog =
        OpenTableEditor(QObject::tr(hint), table, &GetOptionsDatabase(), parent);
    // A re-read replaces every table of the options: the editor must let go
    // of its table before that one is freed.
    QPointer<CTableEditorDlg> guard(dialog);
    existing = dialog;
    OptionsStore& store = GetOptionsStore();
    int id = store.AddReplaceListener([guard] {
        if (guard)
            guard->DetachTable();
    });
    QObject::connect(dialog, &QObject::destroyed,
                     [id] { GetOptionsStore().RemoveReplaceListener(id); });
    return dialog;
}

} // namespace

OptionsLoadResult LoadOptionsWithPrompt(QWidget* parent, const std::string& path) {
    OptionsLoadResult result = LoadOptions(path);
    Tell(parent, result.message,
         result.Ok() ? UserPrompt::Icon::Information : UserPrompt::Icon::Critical);
    return result;
}

OptionsLoadResult LoadOptionsWithPrompt(QWidget* parent) {
    return LoadOptionsWithPrompt(parent, OptionsFilePath(DataDirectoryPath()));
}

OptionsLoadResult RereadOptions(QWidget* parent) {
    std::string path = GetOptionsStore().Path();
    return LoadOptionsWithPrompt(parent,
                                 path.empty() ? OptionsFilePath(DataDirectoryPath()) : path);
}

OptionsSaveResult SaveOptionsWithPrompt(QWidget* parent) {
    const std::string& path = GetOptionsStore().Path();
    const std::optional<ReadOnlyFiles> allowed =
        path.empty() ? ReadOnlyFiles::Refuse : AskBeforeSavingOver(parent, path);
    if (!allowed)
        return {};
    OptionsSaveResult result = SaveOptions(*allowed);
    Tell(parent, result.message,
         result.saved ? UserPrompt::Icon::Information : UserPrompt::Icon::Warning);
    return result;
}

bool RunGeneralOptions(QWidget* parent) {
    CGeneralOptionsDlg dialog(QString::fromUtf8(DataDirectoryPath()), parent);
    dialog.LoadFrom(GetOptionsDatabase());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.StoreTo(GetOptionsDatabase());
    return true;
}

CTableEditorDlg* OpenFilesColorsEditor(QWidget* parent) {
    return OpenOptionsTableEditor(parent, kFileGroupsTable, kFilesColorsHint);
}

CTableEditorDlg* OpenSpecialFileTypesEditor(QWidget* parent) {
    return OpenOptionsTableEditor(parent, kSpecialFilesTable, kSpecialFilesHint);
}

} // namespace orvo
