#pragma once

#include "browse/RowDrawing.h"

#include <QStyledItemDelegate>

namespace orvo {

class COrvoBrowserView;
struct RowFacts;

// Draws the rows of a browse window cell by cell: file-group colours and
// fonts, marked rows in bold, the selection, darker directory rows, the
// size bar, cut texts, and in the icon views the icon or thumbnail with
// the name beneath or beside it.
class BrowseItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit BrowseItemDelegate(COrvoBrowserView* view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The list's font changed as a row's group and marks ask.
    static QFont RowFontOf(const QFont& listFont, const RowFont& rowFont);
    // The widest font a row may be drawn in: its group's font, bold as
    // when the row is marked.
    static QFont WidestRowFont(const QFont& listFont, const RowFacts& facts);
    // The pixels of a details cell that are not its text (padding, and
    // the icon in front of a name).
    static int CellTextMargin(int column);

private:
    struct Look {
        RowColors colors;
        RowFont rowFont;
        QFont font;
    };
    Look LookOf(const QStyleOptionViewItem& option, int row, const RowFacts& facts) const;
    void PaintDetailsCell(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const;
    void PaintIconItem(QPainter* painter, const QStyleOptionViewItem& option,
                       const QModelIndex& index) const;
    // A text cut to the rectangle, with its shadow when the row has one.
    static void PaintText(QPainter* painter, const QRect& rect, const QString& text,
                          Qt::Alignment alignment, const Look& look);

    COrvoBrowserView* view_;
};

} // namespace orvo
