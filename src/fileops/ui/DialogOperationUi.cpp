#include "fileops/ui/DialogOperationUi.h"

#include "fileops/ui/CFileOperationDlg.h"
#include "store/QTable.h"

#include <QMetaObject>

namespace orvo {

struct DialogOperationUi::Pending {
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    int answer = 0;

    void Answer(int a) {
        std::lock_guard<std::mutex> guard(mutex);
        if (done)
            return;
        answer = a;
        done = true;
        answered.notify_all();
    }
};

void DialogOperationUi::ShowProgress(const ProgressFigures& figures) {
    std::lock_guard<std::mutex> guard(mutex_);
    figures_ = figures;
    figuresNew_ = true;
}

bool DialogOperationUi::TakeFigures(ProgressFigures& figures) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (!figuresNew_)
        return false;
    figures = figures_;
    figuresNew_ = false;
    return true;
}

void DialogOperationUi::Abandon() {
    std::shared_ptr<Pending> pending;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        dialog_ = nullptr;
        pending = pending_;
    }
    switches_.Cancel();
    if (pending)
        pending->Answer(-1);
}

int DialogOperationUi::Call(std::function<int(CFileOperationDlg&)> question, int fallback) {
    auto pending = std::make_shared<Pending>();
    {
        // Posting under the lock: the window cannot go between the check
        // and the post, and once it goes Qt drops what was posted to it.
        std::lock_guard<std::mutex> guard(mutex_);
        if (!dialog_)
            return fallback;
        pending_ = pending;
        CFileOperationDlg* dialog = dialog_;
        QMetaObject::invokeMethod(
            dialog,
            [dialog, pending, question = std::move(question)] {
                pending->Answer(question(*dialog));
            },
            Qt::QueuedConnection);
    }
    std::unique_lock<std::mutex> lock(pending->mutex);
    pending->answered.wait(lock, [&] { return pending->done; });
    int answer = pending->answer;
    lock.unlock();
    std::lock_guard<std::mutex> guard(mutex_);
    pending_.reset();
    return answer < 0 ? fallback : answer;
}

bool DialogOperationUi::AskProblems(QTable& problems, const std::string& description) {
    // The window works on its own copy of the decisions; the run's table
    // is only touched here, on the run's thread.
    std::vector<std::string> paths;
    auto execute = std::make_shared<std::vector<char>>();
    for (int i = 0; i < problems.GetRecordCount(); ++i) {
        paths.push_back(problems.GetText("Path", i));
        execute->push_back(problems.GetText("Execute", i) == "TRUE");
    }
    int ok = Call(
        [paths, execute, description](CFileOperationDlg& dialog) {
            return dialog.RunProblems(paths, *execute, description) ? 1 : 0;
        },
        0);
    if (!ok)
        return false;
    for (int i = 0; i < problems.GetRecordCount() && i < static_cast<int>(execute->size()); ++i)
        problems.SetValue("Execute", i, QValue((*execute)[static_cast<size_t>(i)] != 0, QVT_BOOL));
    return true;
}

bool DialogOperationUi::AskYesNo(const std::string& title, const std::string& text) {
    return Call([title,
                 text](CFileOperationDlg& dialog) { return dialog.AskYesNo(title, text) ? 1 : 0; },
                0) == 1;
}

ErrorAnswer DialogOperationUi::AskAbortRetryIgnore(const std::string& title,
                                                   const std::string& text) {
    int answer = Call(
        [title, text](CFileOperationDlg& dialog) {
            return static_cast<int>(dialog.AskAbortRetryIgnore(title, text));
        },
        static_cast<int>(ErrorAnswer::Abort));
    return static_cast<ErrorAnswer>(answer);
}

void DialogOperationUi::ShowMessage(const std::string& title, const std::string& text) {
    Call(
        [title, text](CFileOperationDlg& dialog) {
            dialog.ShowMessage(title, text);
            return 0;
        },
        0);
}

} // namespace orvo
