#pragma once

#include "platform/DesktopApplications.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace orvo {

// Chooses any installed application, or a typed command, to open a file
// with, and whether to remember the choice for the file's type.
class OpenWithDialog : public QDialog {
    Q_OBJECT
public:
    OpenWithDialog(const QString& fileName, const QString& typeName, QWidget* parent = nullptr);

    // Runs the dialog modally (or through the test runner); true for OK.
    bool Run();
    // Tests work the fields through this instead of a modal loop and end it
    // with accept() or reject().
    static void SetTestRunner(std::function<void(OpenWithDialog&)> runner);

    QLineEdit* FilterEdit() const { return filter_; }
    QListWidget* List() const { return list_; }
    QLineEdit* CommandEdit() const { return command_; }
    QCheckBox* RememberBox() const { return remember_; }

    // After OK: the chosen application; one made of a typed command has no
    // id yet.
    const std::optional<DesktopApplication>& Chosen() const { return chosen_; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Filter(const QString& text);

    std::vector<DesktopApplication> apps_;
    QLineEdit* filter_;
    QListWidget* list_;
    QLineEdit* command_;
    QCheckBox* remember_;
    std::optional<DesktopApplication> chosen_;
};

} // namespace orvo
