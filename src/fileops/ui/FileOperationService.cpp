#include "fileops/ui/FileOperationService.h"

#include "fileops/FileOperationRequest.h"
#include "fileops/ui/CFileOperationDlg.h"

#include <QFileDialog>

namespace orvo {

namespace {

QString (*g_picker)(QWidget*, const QString&) = nullptr;

} // namespace

FileOperationNotifier& FileOperationNotifier::Instance() {
    static FileOperationNotifier notifier;
    return notifier;
}

CFileOperationDlg* StartFileOperation(const std::vector<std::string>& items,
                                      const std::string& destination, int kind, int checkFirst) {
    FileOperationRequest request;
    request.items = items;
    request.destination = destination;
    request.kind = kind;
    request.checkFirst = checkFirst;
    FileOperationNotifier& notifier = FileOperationNotifier::Instance();
    auto* window = new CFileOperationDlg(std::move(request), notifier.Owner());
    QObject::connect(window, &CFileOperationDlg::Finished, &notifier,
                     &FileOperationNotifier::RefreshDirectories);
    emit notifier.OperationStarted(window);
    window->Start();
    return window;
}

QString PickDestinationFolder(QWidget* parent, const QString& start) {
    if (g_picker)
        return g_picker(parent, start);
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("Choose the destination"),
                                             start);
}

void SetDestinationFolderPicker(QString (*picker)(QWidget*, const QString&)) {
    g_picker = picker;
}

} // namespace orvo
