#pragma once

#include <QObject>
#include <QStringList>

namespace orvo {

class CMainFrame;

// The main frame's run from start to end: the options read first, the
// windows of the last run brought back, the layout recorded and the
// options written when it closes.
class FrameSession : public QObject {
    Q_OBJECT
public:
    explicit FrameSession(CMainFrame& frame);

    void LoadOptions();
    // Writes the options once; later calls do nothing.
    void SaveOptions();
    // Start-up after construction: the windows of the last run (or two
    // side by side on the home directory), the file-list documents named on
    // the command line, the tip of the day.
    void Startup(const QStringList& arguments);
    // The paths named on the command line (argv after the program's name,
    // the options already taken out), made absolute, their bytes kept:
    // Qt's decoded arguments lose a name that is not UTF-8.
    static QStringList CommandLinePaths(int argc, const char* const* argv);
    void RestoreWindows();
    // Writes the window layout into "Browse windows".
    void RecordLayout();
    // What closing the frame does first; false when the frame must stay.
    bool Shutdown();

private:
    CMainFrame& frame_;
    bool optionsSaved_ = false;
};

} // namespace orvo
