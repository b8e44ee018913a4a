#pragma once

#include <QObject>
#include <string>

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
    // The new-file dialog, with the template of that name chosen when given.
    void NewFile(const std::string& templateName = {});

private:
    COrvoBrowserView* view_;
};

} // namespace orvo
