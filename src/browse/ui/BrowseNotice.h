#pragma once

#include <QLabel>
#include <string>

namespace orvo {

class COrvoBrowserView;

// The window's status line for a state the window is in, such as a
// directory it cannot read: shown above the rows while the state lasts,
// once, however often the rows are refreshed; hidden when there is nothing
// to say. A click hides it.
class BrowseNotice : public QLabel {
    Q_OBJECT
public:
    explicit BrowseNotice(COrvoBrowserView* view);

    void Say(const QString& text);
    // Says what lasts while the window shows what it shows now.
    void SayHere(const QString& text);
    void Clear();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void AfterRebuild();

    COrvoBrowserView* view_;
    std::string unreadable_; // the directory the line speaks of, if any
    std::string here_;       // where SayHere spoke
};

} // namespace orvo
