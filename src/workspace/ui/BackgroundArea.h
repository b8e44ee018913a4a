#pragma once

#include <QImage>
#include <QMdiArea>
#include <QString>

class QMimeData;

namespace orvo {

// The area that holds the browse windows. Behind them it shows a picture
// (tiled when small, stretched when large) and a two-line caption whose
// second line is a link.
class BackgroundArea : public QMdiArea {
    Q_OBJECT
public:
    explicit BackgroundArea(QWidget* parent = nullptr);

    // Loads the picture (none when it cannot be read) and sets the caption
    // (two lines separated by "\r\n").
    void SetBackground(const QString& imagePath, const QString& caption, const QString& linkTarget);
    bool HasImage() const { return !image_.isNull(); }
    bool ImageIsStretched() const { return stretched_; }
    QRect LinkRect() const { return linkRect_; }
    // The picture file a drop at pos (viewport coordinates) would make the
    // background: a readable picture dropped on the bare area, not on a
    // window. Empty when the drop is not for the background.
    QString DroppedPicture(const QMimeData* data, const QPoint& pos) const;

signals:
    // A picture was dropped on the bare area.
    void PictureDropped(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    QImage image_;
    bool stretched_ = false;
    QString caption_;
    QString link_;
    QRect linkRect_;
};

} // namespace orvo
