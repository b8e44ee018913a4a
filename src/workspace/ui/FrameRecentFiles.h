#pragma once

#include "workspace/RecentFileList.h"

#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QMenu;

namespace orvo {

class CMainFrame;

// The file lists opened or saved last, numbered in the "&File" menu and
// kept in the data directory's settings file across runs.
class FrameRecentFiles : public QObject {
    Q_OBJECT
public:
    explicit FrameRecentFiles(CMainFrame& frame);

    // The entries go into the menu just before the given action.
    void BuildActions(QMenu* menu, QAction* before);
    void Add(const QString& path);

private:
    void Load();
    void Save() const;
    void FillMenu();
    void Open(const std::string& path);

    CMainFrame& frame_;
    RecentFileList list_;
    QMenu* menu_ = nullptr;
    QAction* before_ = nullptr;
    QAction* separator_ = nullptr;
    QList<QAction*> actions_;
};

} // namespace orvo
