#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QPlainTextEdit;

namespace orvo {

// "File comment editing": edits the comment of one file or directory.
// Enter confirms; Ctrl+Enter starts a new line.
class CommentEditDialog : public QDialog {
    Q_OBJECT
public:
    CommentEditDialog(const std::string& path, QWidget* parent = nullptr);

    QString Comment() const;
    void SetComment(const QString& text);
    QString Heading() const;
    QPlainTextEdit* Editor() const { return edit_; }

    // The heading for a path: "Drive : ", "Directory : " or "File :".
    static QString HeadingFor(const std::string& path);

    // Opens the dialog on a path; on OK stores the edited text. Returns the
    // comment the path carries afterwards.
    static std::string EditComment(const std::string& path, QWidget* parent);
    // Tests answer the dialog through this instead of a modal loop
    // (return true for OK).
    static void SetTestRunner(std::function<bool(CommentEditDialog&)> runner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* heading_;
    QPlainTextEdit* edit_;
};

} // namespace orvo
