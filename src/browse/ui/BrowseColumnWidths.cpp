#include "browse/ui/BrowseColumnWidths.h"

#include "browse/ui/BrowseItemDelegate.h"
#include "browse/ui/ViewTableModel.h"

#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>

namespace orvo {

namespace {

// Rows measured: all of a normal directory; of a huge one the first rows
// and an even spread of the others, so a fit never walks 100 000 rows.
constexpr int kMeasuredRows = 2000;

} // namespace

BrowseColumnWidths::BrowseColumnWidths(QTableView* details, const ViewTableModel* model,
                                       QObject* parent)
    : QObject(parent), details_(details), model_(model) {
    connect(details_->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int) {
                if (!setting_ && column >= 0 && column < static_cast<int>(userSized_.size()))
                    userSized_[static_cast<size_t>(column)] = true;
            });
    details_->viewport()->installEventFilter(this);
}

bool BrowseColumnWidths::eventFilter(QObject*, QEvent* event) {
    // A window is sized after its first listing: the share of the window
    // names and comments may take is known only then. A hidden list is
    // measured when it shows (its rows' groups are looked up as a drawing
    // would, so not before one).
    if ((event->type() == QEvent::Resize && !fitted_) || event->type() == QEvent::Show)
        Fit();
    return false;
}

int BrowseColumnWidths::ContentWidth(int column) const {
    const QFont listFont = details_->font();
    int widest = 0;
    const int rows = model_->rowCount();
    const int step = rows > kMeasuredRows ? rows / (kMeasuredRows / 2) : 1;
    for (int row = 0; row < rows; row += (row < kMeasuredRows / 2 ? 1 : step)) {
        const QString text = column == ViewTableModel::NameColumn
                                 ? model_->DisplayName(row)
                                 : model_->data(model_->index(row, column), Qt::DisplayRole)
                                       .toString();
        // Rows of some file groups, and marked rows, are drawn in a
        // larger or bolder font than the list's.
        const QFontMetrics metrics(BrowseItemDelegate::WidestRowFont(listFont, model_->Facts(row)));
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    const int cell = widest + BrowseItemDelegate::CellTextMargin(column);
    return std::max(cell, details_->horizontalHeader()->sectionSizeHint(column));
}

void BrowseColumnWidths::Fit() {
    if (model_->rowCount() == 0 || !details_->isVisible())
        return;
    // Names and comments may be long: they get at most a share of the
    // window and end in "..." beyond it, as every cut text does.
    const int window = details_->viewport()->width();
    const int nameLimit = std::max(150, window * 2 / 5);
    const int commentLimit = std::max(120, window / 4);
    setting_ = true;
    for (int column = 0; column < ViewTableModel::ColumnCount; ++column) {
        if (userSized_[static_cast<size_t>(column)])
            continue;
        int wanted = ContentWidth(column);
        if (column == ViewTableModel::NameColumn)
            wanted = std::min(wanted, nameLimit);
        else if (column == ViewTableModel::CommentColumn)
            wanted = std::min(wanted, commentLimit);
        // A new window fits exactly; later the columns only grow, so
        // moving between directories does not make them jump about.
        if (!fitted_ || wanted > details_->columnWidth(column))
            details_->setColumnWidth(column, wanted);
    }
    setting_ = false;
    fitted_ = true;
}

} // namespace orvo
