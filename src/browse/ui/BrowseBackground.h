#pragma once

#include "browse/RowDrawing.h"

#include <QObject>
#include <QPixmap>
#include <cstdint>
#include <string>
#include <vector>

class QAbstractItemView;
class QWidget;

namespace orvo {

// The background picture a directory may name for itself, laid under the
// lists of its browse window, and the tone of it that the row drawing
// follows.
class BrowseBackground : public QObject {
    Q_OBJECT
public:
    BrowseBackground(QWidget* window, std::vector<QAbstractItemView*> lists);

    // Shows the picture (none when empty); until it is decoded the lists
    // show no picture at all.
    void Start(const std::string& picture);
    const std::string& Picture() const { return picture_; }
    const BackgroundTone& Tone() const { return tone_; }

private:
    void Show();

    QWidget* window_;
    std::vector<QAbstractItemView*> lists_;
    std::string picture_;
    BackgroundTone tone_;
    QPixmap pixmap_;
    uint64_t generation_ = 0;
};

} // namespace orvo
