#pragma once

#include <QObject>

class QKeyEvent;
class QPoint;
class QString;

namespace orvo {

class COrvoBrowserView;

// The keyboard of a browse window's lists: it watches both lists and takes
// the keys it knows (the rest go on to the list). The quick search and the
// header menus, which select rows by their names, live here as well.
class BrowseKeys : public QObject {
    Q_OBJECT
public:
    explicit BrowseKeys(COrvoBrowserView* view);

    void StartQuickSearch(const QString& typed);
    void ShowHeaderMenu(int column, const QPoint& globalPos);
    // Selects exactly the rows whose names match a wildcard pattern.
    void SelectMatchingRows(const QString& pattern);
    // Numpad *: every row but the parent entry turns over.
    void InvertSelection();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool HandleListKey(QKeyEvent* key);

    COrvoBrowserView* view_;
};

} // namespace orvo
