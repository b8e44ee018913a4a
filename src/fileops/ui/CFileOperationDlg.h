#pragma once

#include "fileops/FileOperationRequest.h"
#include "fileops/FileOperationRun.h"
#include "fileops/FileOperationUi.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace orvo {

class DialogOperationUi;

// "File operation": the window of one copy, move or delete. The work runs
// on a thread of its own; the window stays hidden for the first four
// seconds (short operations never flash a window) unless it has something
// to ask, then shows every figure of the run, refreshed about thirty
// times a second. Pause holds the run, Cancel (or Escape) asks before it
// stops it. At the end the window closes itself, gives the end signal and
// tells which directories changed.
class CFileOperationDlg : public QDialog {
    Q_OBJECT
public:
    CFileOperationDlg(FileOperationRequest request, QWidget* parent = nullptr);
    ~CFileOperationDlg() override;

    // Starts the run (once).
    void Start();
    bool IsWorking() const { return working_; }

    static constexpr int kShowAfterMs = 4000;
    static constexpr int kRefreshMs = 33;

    // What the run asks, on the window's thread.
    bool RunProblems(const std::vector<std::string>& paths, std::vector<char>& execute,
                     const std::string& description);
    bool AskYesNo(const std::string& title, const std::string& text);
    ErrorAnswer AskAbortRetryIgnore(const std::string& title, const std::string& text);
    void ShowMessage(const std::string& title, const std::string& text);

    // The controls, for tests and the screenshot tool.
    QPushButton* PauseButton() const { return pause_; }
    QPushButton* CancelButton() const { return cancel_; }
    QProgressBar* ProgressBar() const { return bar_; }
    QString LineText(const char* name) const;
    const ProgressFigures& Figures() const { return shown_; }

signals:
    // The run is over; directories is what browse windows should re-read.
    void Finished(const QStringList& directories);

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void Poll();
    void ShowNow();
    void ShowForQuestion();
    void Apply(const ProgressFigures& figures);
    void OnRunFinished(const FileOperationResult& result);
    void Stop();

    FileOperationRequest request_;
    std::shared_ptr<DialogOperationUi> bridge_;
    std::thread worker_;
    QTimer poll_;
    QElapsedTimer sinceStart_;
    ProgressFigures shown_;
    bool working_ = false;
    bool started_ = false;

    QProgressBar* bar_;
    QLabel* free_;
    QLabel* total_;
    QLabel* left_;
    QLabel* fitIcon_;
    QLabel* fit_;
    QLabel* source_;
    QLabel* target_;
    QGroupBox* time_;
    QLabel* speed_;
    QLabel* timeLeft_;
    QLabel* endTime_;
    QPushButton* pause_;
    QPushButton* cancel_;
};

} // namespace orvo
