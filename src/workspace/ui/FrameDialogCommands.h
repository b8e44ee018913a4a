#pragma once

#include <QObject>

namespace orvo {

class CMainFrame;

// The "&Options" and "&Help" menus of the main frame.
class FrameDialogCommands : public QObject {
    Q_OBJECT
public:
    explicit FrameDialogCommands(CMainFrame& frame);

    void BuildActions();
    void ShowGeneralOptions();
    void ShowFileColors();
    void ShowSpecialFileTypes();
    // A browse window on the new-file templates.
    void ShowFileTypesDirectory();
    void RereadOptions();
    void ShowTipOfTheDay();
    void ShowKeyboardMap();
    void ShowAbout();

private:
    CMainFrame& frame_;
};

} // namespace orvo
