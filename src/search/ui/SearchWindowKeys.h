#pragma once

#include <QObject>

class QKeyEvent;

namespace orvo {

class CSearchDlg;

// The keys of the search window. The window asks it about every key; as
// the event filter of the results lists it also takes the lists' own keys
// (Delete, F3, Ctrl+C...) before the main frame's shortcuts can. Shortcut
// overrides are claimed without running the command; the key press that
// follows runs it.
class SearchWindowKeys : public QObject {
    Q_OBJECT
public:
    explicit SearchWindowKeys(CSearchDlg& window);

    // Keys the whole window answers (views, F9), wherever the focus is.
    bool HandleWindowKey(QKeyEvent* key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool HandleListKey(QKeyEvent* key);

    CSearchDlg& window_;
};

} // namespace orvo
