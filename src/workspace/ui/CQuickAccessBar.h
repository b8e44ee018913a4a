#pragma once

#include "browse/ui/COrvoBrowserView.h"
#include "store/QTable.h"

#include <QDockWidget>
#include <QPointer>
#include <memory>

class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QStandardItemModel;
class QTimer;
class QTreeView;

namespace orvo {

// The quick access bar: a short list picked from the active browse
// window's rows (its important entries, those matching a quick search, or
// those file operations of this run touched), the entry clicked selected
// in the window, and a text about it.
class CQuickAccessBar : public QDockWidget {
    Q_OBJECT
public:
    enum class Pick { Important, QuickSearch, MovedCopied };
    enum class ListMode { LargeIcons, SmallIcons, List, Details };

    explicit CQuickAccessBar(QWidget* parent = nullptr);

    // The window the bar follows (null: none); its rows are read again
    // whenever it rebuilds them.
    void SetView(COrvoBrowserView* view);
    COrvoBrowserView* View() const { return view_; }

    void ShowImportant();
    void ShowQuickSearch(const QString& text);
    void ShowMovedCopied();
    Pick CurrentPick() const { return pick_; }
    // The picked rows, as shown.
    const QTable& Result() const { return *result_; }
    void SetListMode(ListMode mode);
    ListMode GetListMode() const { return listMode_; }
    // Selects the entry of a result row in the window and tells about it.
    void ClickRow(int row);
    QString InfoText() const;

    QPushButton* ImportantButton() const { return important_; }
    QPushButton* QuickSearchButton() const { return quickSearch_; }
    QPushButton* MovedCopiedButton() const { return movedCopied_; }
    QLineEdit* SearchEdit() const { return searchEdit_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Refresh();
    const QTable& Source() const;
    void ShowResult();
    void UpdateMarks();
    void ShowSelectionInfo();
    void ShowViewSelection();
    void ShowEntryInfo(const std::string& path);
    void ShowInfo(const std::string& text);
    void SetChecked(Pick pick);

    QPointer<COrvoBrowserView> view_;
    std::unique_ptr<QTable> empty_;
    std::unique_ptr<QTable> result_;
    Pick pick_ = Pick::Important;
    ListMode listMode_ = ListMode::List;
    QPushButton* important_;
    QPushButton* quickSearch_;
    QPushButton* movedCopied_;
    QLineEdit* searchEdit_;
    QStandardItemModel* model_;
    QStackedWidget* stack_;
    QListView* icons_;
    QTreeView* details_;
    QPlainTextEdit* info_;
    // Gathers a burst of selection changes (a drag, Shift+End, the
    // selection dialog) into one look at the selection.
    QTimer* selectionPending_;
};

} // namespace orvo
