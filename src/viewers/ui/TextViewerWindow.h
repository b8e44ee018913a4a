#pragma once

#include "viewers/ViewerText.h"
#include "viewers/ui/ViewerKeys.h"

#include <QBasicTimer>
#include <QMainWindow>
#include <QPointer>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;

namespace orvo {

class TextFindDialog;
class ViewerHost;

// The text viewer: a file of up to a megabyte as editable text, with a
// status line, search, go to line, word wrap and saving back. Bytes that
// are not UTF-8 show as Latin-1; zero bytes are not shown, and a file that
// had them cannot be saved. It frees itself when closed and tells its host.
class TextViewerWindow : public QMainWindow {
    Q_OBJECT
public:
    TextViewerWindow(const std::string& path, ViewerHost* host, bool openedByQuickView,
                     QWidget* owner = nullptr);
    ~TextViewerWindow() override;

    const std::string& Path() const { return path_; }
    QPlainTextEdit* Editor() const { return editor_; }
    TextFindDialog* FindDialog() const { return find_; }
    QString StatusText() const;
    bool IsBinary() const { return facts_.binary; }
    bool Wraps() const;
    bool OpenedByQuickView() const { return openedByQuickView_; }
    // Why the file could not be shown; empty when it was.
    const QString& LoadError() const { return loadError_; }

    void Save();
    void EditComment();
    void AddToClipboard();
    void ShowFind();
    void FindNext();
    void ToggleWrap();
    void GoToLine();
    void UpdateStatus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Open();
    void BuildMenus();
    void BuildKeys();
    // The shown text as it would be saved (UTF-8, "\n" line breaks).
    QByteArray ShownText() const;
    bool WriteBack();

    std::string path_;
    ViewerText facts_;
    QString loadError_;
    bool openedByQuickView_ = false;
    QPointer<ViewerHost> host_;
    QBasicTimer timer_;
    QString lastStatus_;

    QPlainTextEdit* editor_;
    QLabel* status_;
    TextFindDialog* find_;
    QMenu* editMenu_ = nullptr;
    QAction* wrapAction_ = nullptr;
    ViewerKeys keys_;
};

} // namespace orvo
