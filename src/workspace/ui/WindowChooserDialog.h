#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>

class QComboBox;
class QListWidget;

namespace orvo {

// "Choose window": picks one of the open browse windows, or with "..." any
// directory, for Go to window, Go to a directory and the commands that need
// a destination.
class WindowChooserDialog : public QDialog {
    Q_OBJECT
public:
    // names and paths of the open windows, in the order to offer them.
    WindowChooserDialog(const QStringList& names, const QStringList& paths, QWidget* parent = nullptr);

    // The chosen window's index, or -1 when a directory was picked with "...".
    int ChosenWindow() const { return chosen_; }
    // The chosen window's path or the picked directory.
    QString ChosenPath() const;

    QListWidget* List() const { return list_; }
    QComboBox* Combo() const { return combo_; }
    // "..." asks for a directory through this (a test replaces it).
    static void SetDirectoryPicker(QString (*picker)(QWidget*, const QString&));

    static QString EntryText(const QString& name, const QString& path);

    // Runs the dialog modally, or hands it to the runner a test installed
    // (which returns the result code).
    int Run();
    static void SetTestRunner(std::function<int(WindowChooserDialog&)> runner);

private:
    void PickDirectory();

    QStringList paths_;
    QListWidget* list_;
    QComboBox* combo_;
    int chosen_ = -1;
    QString pickedDirectory_;
};

} // namespace orvo
