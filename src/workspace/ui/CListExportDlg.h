#pragma once

#include "browse/DirectoryListing.h"
#include "workspace/FileListDocument.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace orvo {

// "List exporting": which columns of a list go into the text, the
// separator between them, and a preview of the first 101 rows that
// follows every change.
class CListExportDlg : public QDialog {
    Q_OBJECT
public:
    // Shows the dialog modally, or hands it to the runner a test installed.
    int Run();
    static void SetTestRunner(std::function<int(CListExportDlg&)> runner);

    explicit CListExportDlg(const DirectoryListing& list, QWidget* parent = nullptr);

    ListExportOptions Options() const;
    void SetOptions(const ListExportOptions& options);
    QString PreviewText() const;

    // The controls, for tests.
    QCheckBox* Box(const char* text) const;
    QLineEdit* SeparatorEdit() const { return separator_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdatePreview();

    const DirectoryListing& list_;
    QList<QCheckBox*> boxes_;
    QLineEdit* separator_;
    QPlainTextEdit* preview_;
};

} // namespace orvo
