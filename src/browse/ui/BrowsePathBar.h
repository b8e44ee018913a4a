#pragma once

#include <QObject>
#include <string>

class QComboBox;
class QEvent;
class QHBoxLayout;
class QString;
class QToolButton;

namespace orvo {

class COrvoBrowserView;
class DriveComboBox;

// The bar above a browse window's list: the drive box, Back, Forward, Up,
// Up2 and the path box. A directory typed or chosen there is shown, a file
// is shown selected in its directory, any other text is run as a command
// from the window's directory, and "?..." asks for a search.
class BrowsePathBar : public QObject {
    Q_OBJECT
public:
    // The controls are the window's children; Layout() places them.
    explicit BrowsePathBar(COrvoBrowserView* view);

    QHBoxLayout* Layout() const { return layout_; }
    QComboBox* PathBox() const;
    QComboBox* DriveBox() const;
    // The window shows a directory now; with remember the path goes on top
    // of the path box's list.
    void ShowPath(const std::string& path, bool remember);
    // A text in the path box in place of a path (a list window's title).
    void ShowText(const QString& text);
    void UpdateButtons();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // With shift a text that is no directory runs in a terminal.
    void OnPathEntered(const QString& text, bool shift);
    // The box shows again what the window shows.
    void ShowCurrent();
    // text is neither a directory nor a file: a command, run from here.
    void RunTyped(const QString& text, const std::string& here, bool shift);
    void OnDriveChosen(int index);

    COrvoBrowserView* view_;
    QToolButton* back_;
    QToolButton* forward_;
    QToolButton* up_;
    QToolButton* up2_;
    DriveComboBox* driveBox_;
    QComboBox* pathBox_;
    QHBoxLayout* layout_;
};

} // namespace orvo
