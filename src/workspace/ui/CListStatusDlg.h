#pragma once

#include "workspace/FileListDocument.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QListWidget;

namespace orvo {

// "ORL Status": the listed entries that changed since they were recorded
// and those that are gone, with what to do about them on OK.
class CListStatusDlg : public QDialog {
    Q_OBJECT
public:
    // Shows the dialog modally, or hands it to the runner a test installed.
    int Run();
    static void SetTestRunner(std::function<int(CListStatusDlg&)> runner);

    explicit CListStatusDlg(const ListStatus& status, QWidget* parent = nullptr);

    bool UpdateInformation() const;
    bool RemoveDead() const;
    QCheckBox* UpdateBox() const { return update_; }
    QCheckBox* RemoveBox() const { return remove_; }
    QListWidget* ChangedList() const { return changed_; }
    QListWidget* DeadList() const { return dead_; }

signals:
    // A row of either list was clicked.
    void GoToFileRequested(const QString& path);

private:
    QListWidget* changed_;
    QListWidget* dead_;
    QCheckBox* update_;
    QCheckBox* remove_;
};

} // namespace orvo
