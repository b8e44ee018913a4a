#pragma once

#include "search/ui/SearchResultLists.h"

#include <QWidget>

class QAbstractItemView;
class QComboBox;
class QStackedWidget;

namespace orvo {

class SearchHitCommands;
class SearchResultsModel;

// The lower part of the search window: the hits in one of four views,
// the view chooser and the buttons of the commands on the hits. Both
// lists share one selection.
class SearchResultsPane : public QWidget {
    Q_OBJECT
public:
    enum class ResultsView { LargeIcons, SmallIcons, List, Details };

    SearchResultsPane(SearchHitCommands& hits, QWidget* parent = nullptr);

    void SetResultsView(ResultsView view);
    ResultsView GetResultsView() const { return view_; }

    SearchResultsModel* Model() const { return model_; }
    QAbstractItemView* CurrentList() const;
    QTableView* DetailsList() const { return details_; }
    QListView* IconsList() const { return icons_; }
    QComboBox* ViewBox() const { return viewBox_; }

private:
    QLayout* BuildCommandBar(SearchHitCommands& hits);
    void BuildLists(SearchHitCommands& hits);

    ResultsView view_ = ResultsView::Details;
    SearchResultsModel* model_ = nullptr;
    QComboBox* viewBox_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    SearchDetailsList* details_ = nullptr;
    SearchIconsList* icons_ = nullptr;
};

} // namespace orvo
