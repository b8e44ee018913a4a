#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

class QWidget;

namespace orvo {

class CFileOperationDlg;

// Where finished operations report: the main frame listens and re-reads
// the browse windows that show a changed directory.
class FileOperationNotifier : public QObject {
    Q_OBJECT
public:
    static FileOperationNotifier& Instance();
    // The window operation windows belong to (the main frame).
    void SetOwner(QWidget* owner) { owner_ = owner; }
    QWidget* Owner() const { return owner_; }

signals:
    void RefreshDirectories(const QStringList& directories);
    void OperationStarted(CFileOperationDlg* window);

private:
    QPointer<QWidget> owner_;
};

// Starts a copy (OpCopy), move (OpMove) or delete (OpDelete) in a window
// and a thread of its own and returns at once; several may run together.
// checkFirst 0 skips the size count and the problem check.
CFileOperationDlg* StartFileOperation(const std::vector<std::string>& items,
                                      const std::string& destination, int kind, int checkFirst);

// A directory chosen in the desktop's folder dialog, starting at start;
// empty when cancelled. A test installs its own picker.
QString PickDestinationFolder(QWidget* parent, const QString& start);
void SetDestinationFolderPicker(QString (*picker)(QWidget*, const QString&));

} // namespace orvo
