#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>

namespace orvo {

class CETip;
class COrvoBrowserView;

// The information tip of a browse window: after the pointer has rested on
// a row for a moment, a small window tells about its entry (and a sound
// file plays quietly while it shows). A timer looks where the pointer is.
class BrowseHover : public QObject {
    Q_OBJECT
public:
    explicit BrowseHover(COrvoBrowserView* view);

    // What the tip of a row shows (empty for the parent entry).
    QString HoverText(int row) const;
    CETip* Tip() const { return tip_; }
    void HideTip();

signals:
    // Every 50 ms, for the hover information.
    void HoverTick();

protected:
    // Keys, the wheel and the focus leaving a list take the tip away.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnHoverTick();

    COrvoBrowserView* view_;
    CETip* tip_;
    QTimer timer_;
    // The row under the pointer, how many ticks it stayed, and the row
    // whose text is being gathered or shown.
    int hoverRow_ = -1;
    int hoverTicks_ = 0;
    int tipRow_ = -1;
    uint64_t generation_ = 0;
    bool tipPlays_ = false; // the tip's file is playing quietly
};

} // namespace orvo
