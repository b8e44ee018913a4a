#pragma once

#include "search/SearchCriteria.h"
#include "search/ui/SearchResultLists.h"
#include "search/ui/SearchWorker.h"

#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <string>
#include <vector>

class QAbstractItemView;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

namespace orvo {

class SearchResultsModel;

// What a search window is opened with.
struct SearchWindowSetup {
    // The directory of the browse window it was opened for, and the
    // directories selected there.
    QString currentDirectory;
    QStringList selectedDirectories;
    // Names of the "Binary" special files, for "Exclude binaries".
    std::vector<std::string> binaryPatterns;
    // Ready-made name patterns: a label and its patterns each.
    QStringList patternLabels;
    QStringList patterns;
    // The quick-search form of a path box: names and text to search at
    // once, then a list window of the hits.
    QString names;
    QString text;
    bool searchText = false;
    bool listWhenDone = false;
};

// The "Search" window: criteria, Start and Stop, the hits as a list in four
// views, and the commands on hits. Each window searches on a thread of its
// own, so several can search at once while the browse windows stay usable.
class CSearchDlg : public QDialog {
    Q_OBJECT
public:
    enum class ResultsView { LargeIcons, SmallIcons, List, Details };

    explicit CSearchDlg(const SearchWindowSetup& setup, QWidget* parent = nullptr);
    ~CSearchDlg() override;

    // Start, or Stop while searching.
    void StartOrStop();
    bool IsSearching() const { return searching_; }
    void UseCurrentDirectory();
    void UseSelectedDirectories();

    // Commands on the hits.
    void CopyFilesToClipboard();
    void CopyPathsToClipboard();
    void CopyNamesToClipboard();
    void GoThere();
    void CreateList();
    void DeleteSelected();
    void QuickView();
    void SetResultsView(ResultsView view);
    ResultsView GetResultsView() const { return view_; }

    SearchResultsModel* Model() const { return model_; }
    QAbstractItemView* CurrentList() const;
    QTableView* DetailsList() const { return details_; }
    // The controls, for the window's tests.
    QComboBox* NamesBox() const { return names_; }
    QComboBox* PlacesBox() const { return places_; }
    QComboBox* TextBox() const { return text_; }
    QComboBox* TextModeBox() const { return textMode_; }
    QComboBox* PatternBox() const { return patternBox_; }
    QComboBox* ViewBox() const { return viewBox_; }
    QCheckBox* SearchTextCheck() const { return textOn_; }
    QCheckBox* WildcardCheck() const { return wildcard_; }
    QCheckBox* MatchCaseCheck() const { return matchCase_; }
    QCheckBox* ExcludeBinariesCheck() const { return excludeBinaries_; }
    QPushButton* StartButton() const { return start_; }
    QLabel* SearchingLine() const { return searchingLine_; }
    QLabel* CountsLine() const { return countsLine_; }
    SearchCriteria ReadCriteria() const;

signals:
    // Requests to the main frame.
    void GoToFileRequested(const QString& path);
    void MakeListWindowRequested(const QStringList& paths);
    void QuickViewRequested(const QString& path);
    // A search came to its end (for tests and the list-when-done form).
    void SearchFinished();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    QWidget* BuildCriteria();
    QWidget* BuildResults();
    void Poll();
    void EndSearch();
    void ChoosePattern(int index);
    bool HandleListKey(QKeyEvent* key);
    // Keys the whole window answers (views, F9), wherever the focus is.
    bool HandleWindowKey(QKeyEvent* key);
    // The selected rows in list order; shows the "Nothing selected" message
    // and gives nothing when there are none.
    std::vector<int> SelectedRowsOrSay();
    int FocusedRow() const;

    SearchWindowSetup setup_;
    SearchWorker worker_;
    QTimer poll_;
    bool searching_ = false;
    bool listWhenDone_ = false;
    ResultsView view_ = ResultsView::Details;
    QString caption_;

    SearchResultsModel* model_ = nullptr;
    QComboBox* names_ = nullptr;
    QComboBox* patternBox_ = nullptr;
    QComboBox* places_ = nullptr;
    QPushButton* currentDir_ = nullptr;
    QPushButton* selectedDirs_ = nullptr;
    QCheckBox* textOn_ = nullptr;
    QComboBox* text_ = nullptr;
    QComboBox* textMode_ = nullptr;
    QCheckBox* wildcard_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* dateBetween_ = nullptr;
    QDateEdit* dateFrom_ = nullptr;
    QDateEdit* dateTo_ = nullptr;
    QCheckBox* noOlderThan_ = nullptr;
    QSpinBox* age_ = nullptr;
    QComboBox* ageUnit_ = nullptr;
    QCheckBox* sizeBetween_ = nullptr;
    QSpinBox* sizeLow_ = nullptr;
    QSpinBox* sizeHigh_ = nullptr;
    QComboBox* sizeBetweenUnit_ = nullptr;
    QCheckBox* sizeCompare_ = nullptr;
    QComboBox* sizeRelation_ = nullptr;
    QSpinBox* sizeNumber_ = nullptr;
    QComboBox* sizeCompareUnit_ = nullptr;
    QCheckBox* excludeBinaries_ = nullptr;
    QCheckBox* followLinks_ = nullptr;
    QPushButton* start_ = nullptr;
    QLabel* searchingLine_ = nullptr;
    QLabel* countsLine_ = nullptr;
    QComboBox* viewBox_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    SearchDetailsList* details_ = nullptr;
    SearchIconsList* icons_ = nullptr;
};

} // namespace orvo
