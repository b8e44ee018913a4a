#pragma once

#include "fileops/NewEntries.h"

#include <QDialog>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace orvo {

// "Create new directory": one or several names (split at ";" when the box
// says so) with their comments, and what happens to the selected files; as
// "Creating a new file" it offers the templates instead.
class CNewDirectoryDlg : public QDialog {
    Q_OBJECT
public:
    enum class Form { Directory, DirectoryCopy, DirectoryMove, File };

    CNewDirectoryDlg(Form form, const QString& name, std::vector<FileTemplate> templates,
                     QWidget* parent = nullptr);

    // Runs the dialog modally (or through the test runner); true for OK.
    bool Run();
    // Tests fill the fields through this instead of a modal loop and end
    // it with accept() or reject().
    static void SetTestRunner(std::function<void(CNewDirectoryDlg&)> runner);

    QLineEdit* NameEdit() const { return name_; }
    QLineEdit* CommentEdit() const { return comment_; }
    QCheckBox* MultipleBox() const { return multiple_; }
    QComboBox* TypeBox() const { return type_; }
    QLabel* Label() const { return label_; }
    QCheckBox* CopyBox() const { return copy_; }
    QCheckBox* MoveBox() const { return move_; }

    std::vector<std::string> Names() const;
    std::vector<std::string> Comments() const;
    // The chosen template; null when there is none.
    const FileTemplate* ChosenTemplate() const;

    static QString LabelFor(Form form);

private:
    Form form_;
    std::vector<FileTemplate> templates_;
    QLabel* label_;
    QLineEdit* name_;
    QLineEdit* comment_;
    QCheckBox* multiple_;
    QComboBox* type_;
    QCheckBox* copy_;
    QCheckBox* move_;
};

} // namespace orvo
