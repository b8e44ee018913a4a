#pragma once

#include "store/QDataBase.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace orvo {

// "Orvo General options": seven switches and the background picture. The
// dialog exchanges values with the options only through LoadFrom and
// StoreTo, so Cancel leaves the options untouched.
class CGeneralOptionsDlg : public QDialog {
    Q_OBJECT
public:
    // programDirectory is where "Reset" finds the program's own picture.
    explicit CGeneralOptionsDlg(const QString& programDirectory, QWidget* parent = nullptr);

    void LoadFrom(const QDataBase& db);
    // Writes the switches in a fixed order, then the background path.
    void StoreTo(QDataBase& db) const;

    // Asks for a picture file, starting from the given path; empty when
    // the user cancels. Replaceable so tests need no file dialog.
    using FileChooser = std::function<QString(QWidget* parent, const QString& start)>;
    void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

    static constexpr int kSwitchCount = 7;
    // The option key of each check box, in the order the dialog shows them.
    static const std::array<const char*, kSwitchCount>& SwitchKeys();
    QCheckBox* Switch(int i) const { return switches_[i]; }
    QLineEdit* BackgroundEdit() const { return background_; }
    QPushButton* BrowseButton() const { return browse_; }
    QPushButton* ResetButton() const { return reset_; }

private:
    void Browse();

    std::array<QCheckBox*, kSwitchCount> switches_{};
    QLineEdit* background_;
    QPushButton* browse_;
    QPushButton* reset_;
    QString programDirectory_;
    FileChooser chooser_;
};

// The file dialog "..." opens by default.
QString ChooseBackgroundImage(QWidget* parent, const QString& start);

} // namespace orvo
