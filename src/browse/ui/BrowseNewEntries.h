#pragma once

#include <QObject>

namespace orvo {

class COrvoBrowserView;

// New entries in a browse window's directory: directories (F7, with Ctrl
// copying and Shift moving the selection into them) and files from
// templates (Shift+F4). The new entries come out selected.
class BrowseNewEntries : public QObject {
    Q_OBJECT
public:
    explicit BrowseNewEntries(COrvoBrowserView* view);

    void NewDirectory(bool copySelection, bool moveSelection);
    void NewFile();

private:
    COrvoBrowserView* view_;
};

} // namespace orvo
