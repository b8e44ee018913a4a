#include "browse/ui/BrowseItemDelegate.h"

#include "browse/ui/BackgroundLoader.h"
#include "browse/ui/BrowseBackground.h"
#include "browse/ui/BrowseCounting.h"
#include "browse/ui/BrowseMarks.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "settings/FileGroups.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTableView>

namespace orvo {

namespace {

QColor ToColor(RgbColor c) {
    return QColor(c.red, c.green, c.blue);
}

RgbColor ToRgb(const QColor& c) {
    return {static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
            static_cast<uint8_t>(c.blue())};
}

constexpr int kSmallIcon = 16;
constexpr int kLargeIcon = 32;
constexpr int kPadding = 3;

void PaintFocus(QPainter* painter, const QStyleOptionViewItem& option, const QRect& rect) {
    if (!(option.state & QStyle::State_HasFocus))
        return;
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(option);
    focus.rect = rect;
    focus.state |= QStyle::State_KeyboardFocusChange;
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
}

QRect Centred(const QRect& box, QSize size) {
    return QRect(box.center() - QPoint(size.width() / 2, size.height() / 2), size);
}

} // namespace

BrowseItemDelegate::BrowseItemDelegate(COrvoBrowserView* view)
    : QStyledItemDelegate(view), view_(view) {}

int BrowseItemDelegate::CellTextMargin(int column) {
    return 2 * kPadding + (column == ViewTableModel::NameColumn ? kSmallIcon + 4 : 0);
}

QFont BrowseItemDelegate::RowFontOf(const QFont& listFont, const RowFont& rowFont) {
    if (!rowFont.derived)
        return listFont;
    QFont font = listFont;
    if (rowFont.bold)
        font.setWeight(QFont::ExtraBold); // 800
    font.setItalic(rowFont.italic);
    font.setUnderline(rowFont.underline);
    if (rowFont.heightDelta != 0) {
        const int pixels = QFontInfo(listFont).pixelSize();
        font.setPixelSize(std::max(1, pixels + rowFont.heightDelta));
    }
    if (rowFont.extraSpacing)
        font.setLetterSpacing(QFont::AbsoluteSpacing, rowFont.extraSpacing);
    return font;
}

QFont BrowseItemDelegate::WidestRowFont(const QFont& listFont, const RowFacts& facts) {
    FileGroupStyle style;
    if (!facts.directory && !facts.parent && GetBoolOption(kUseColorsKey))
        style = GetFileGroupStyle(facts.extension);
    return RowFontOf(listFont, ComputeRowFont(style, true));
}

BrowseItemDelegate::Look BrowseItemDelegate::LookOf(const QStyleOptionViewItem& option, int row,
                                                    const RowFacts& facts) const {
    // The group is looked up at every draw, so edits of the groups show at
    // the next repaint; directories have no group.
    FileGroupStyle style;
    if (!facts.directory && !facts.parent && GetBoolOption(kUseColorsKey))
        style = GetFileGroupStyle(facts.extension);
    RowState state;
    state.selected = option.state & QStyle::State_Selected;
    state.focusedList = option.widget && option.widget->hasFocus();
    state.directory = facts.directory;
    state.marked = !facts.parent && view_->Marks().IsMarked(facts.path);
    const QPalette& palette = option.palette;
    SystemColors system{ToRgb(palette.color(QPalette::Text)), ToRgb(palette.color(QPalette::Base)),
                        ToRgb(palette.color(QPalette::Highlight)),
                        ToRgb(palette.color(QPalette::HighlightedText))};
    Look look;
    look.colors = ComputeRowColors(style, state, system, view_->Background().Tone());
    look.rowFont = ComputeRowFont(style, state.marked);
    look.font = RowFontOf(option.font, look.rowFont);
    return look;
}

void BrowseItemDelegate::PaintText(QPainter* painter, const QRect& rect, const QString& text,
                                   Qt::Alignment alignment, const Look& look) {
    const QFontMetrics metrics(look.font);
    QString shown = text;
    if (metrics.horizontalAdvance(text) > rect.width()) {
        shown = QString::fromStdString(
            CutText(text.toStdString(), rect.width(), [&metrics](std::string_view part) {
                return metrics.horizontalAdvance(
                    QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size())));
            }));
    }
    painter->setFont(look.font);
    if (look.rowFont.shadow) {
        painter->setPen(ToColor(look.rowFont.shadowColor));
        painter->drawText(rect.translated(1, 1), static_cast<int>(alignment), shown);
    }
    painter->setPen(ToColor(look.colors.text));
    painter->drawText(rect, static_cast<int>(alignment), shown);
}

void BrowseItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    if (!index.isValid() || index.row() >= view_->Model()->rowCount())
        return;
    painter->save();
    if (option.widget == view_->DetailsList())
        PaintDetailsCell(painter, option, index);
    else
        PaintIconItem(painter, option, index);
    painter->restore();
}

void BrowseItemDelegate::PaintDetailsCell(QPainter* painter, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
    const ViewTableModel& model = *view_->Model();
    const int row = index.row();
    const RowFacts facts = model.Facts(row);
    const Look look = LookOf(option, row, facts);
    if (look.colors.fillBackground)
        painter->fillRect(option.rect, ToColor(look.colors.background));

    QRect text = option.rect.adjusted(kPadding, 0, -kPadding, 0);
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QString content;
    switch (index.column()) {
    case ViewTableModel::NameColumn: {
        const QIcon icon = view_->Loader()->Icon(row);
        icon.paint(painter, QRect(text.left(), text.top() + (text.height() - kSmallIcon) / 2,
                                  kSmallIcon, kSmallIcon));
        text.setLeft(text.left() + kSmallIcon + 4);
        content = model.DisplayName(row);
        break;
    }
    case ViewTableModel::SizeColumn: {
        const int bar = facts.parent
                            ? 0
                            : SizeBarLength(option.rect.width(), facts.size, facts.directory,
                                            view_->Counting().ListingTotal());
        if (bar > 0)
            painter->fillRect(QRect(option.rect.left() + 10, option.rect.top() + 2, bar,
                                    option.rect.height() - 4),
                              ToColor(kSizeBarColor));
        content = model.data(index, Qt::DisplayRole).toString();
        alignment = Qt::AlignRight | Qt::AlignVCenter;
        break;
    }
    default:
        content = model.data(index, Qt::DisplayRole).toString();
        break;
    }
    PaintText(painter, text, content, alignment, look);
    PaintFocus(painter, option, option.rect);
}

void BrowseItemDelegate::PaintIconItem(QPainter* painter, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    const ViewTableModel& model = *view_->Model();
    const int row = index.row();
    const RowFacts facts = model.Facts(row);
    const Look look = LookOf(option, row, facts);
    const QRect cell = option.rect;
    const QFontMetrics metrics(look.font);
    const QString name = model.DisplayName(row);
    const bool selected = option.state & QStyle::State_Selected;
    BackgroundLoader* loader = view_->Loader();

    QRect text;
    Qt::Alignment alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    switch (view_->GetViewMode()) {
    case COrvoBrowserView::ViewMode::Thumbnails: {
        const int edge = view_->ThumbnailSize();
        const QRect square(cell.left() + (cell.width() - edge) / 2, cell.top() + 2, edge, edge);
        const QImage thumbnail = loader->Thumbnail(row);
        if (!thumbnail.isNull()) {
            QSize size = thumbnail.size();
            if (size.width() > edge || size.height() > edge)
                size.scale(square.size(), Qt::KeepAspectRatio);
            painter->drawImage(Centred(square, size), thumbnail);
        } else {
            const int icon = std::min(edge, 48);
            loader->Icon(row).paint(painter, Centred(square, QSize(icon, icon)));
        }
        if (selected) {
            painter->setPen(QPen(ToColor(look.colors.background), 2));
            painter->drawRect(square.adjusted(-1, -1, 1, 1));
        }
        text = QRect(cell.left() + 2, square.bottom() + 4, cell.width() - 4, metrics.height() + 2);
        break;
    }
    case COrvoBrowserView::ViewMode::LargeIcons: {
        const QRect icon(cell.left() + (cell.width() - kLargeIcon) / 2, cell.top() + 4, kLargeIcon,
                         kLargeIcon);
        loader->Icon(row).paint(painter, icon);
        text = QRect(cell.left() + 2, icon.bottom() + 4, cell.width() - 4, metrics.height() + 2);
        break;
    }
    default: {
        const QRect icon(cell.left() + 2, cell.top() + (cell.height() - kSmallIcon) / 2, kSmallIcon,
                         kSmallIcon);
        loader->Icon(row).paint(painter, icon);
        text = QRect(icon.right() + 5, cell.top(), cell.right() - icon.right() - 6, cell.height());
        alignment = Qt::AlignLeft | Qt::AlignVCenter;
        break;
    }
    }
    if (look.colors.fillBackground || selected)
        painter->fillRect(text, ToColor(look.colors.background));
    PaintText(painter, text.adjusted(2, 0, -2, 0), name, alignment, look);
    PaintFocus(painter, option, text);
}

QSize BrowseItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    if (option.widget == view_->DetailsList())
        return QStyledItemDelegate::sizeHint(option, index);
    return view_->IconCellSize();
}

} // namespace orvo
