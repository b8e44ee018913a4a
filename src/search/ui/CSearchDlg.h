#pragma once

#include "search/ui/SearchHitCommands.h"
#include "search/ui/SearchRunControl.h"
#include "search/ui/SearchWindowKeys.h"
#include "search/ui/SearchWindowSetup.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;

namespace orvo {

class SearchCriteriaForm;
class SearchResultsPane;

// The "Search" window: criteria, Start and Stop, the hits as a list in four
// views, and the commands on hits. Each window searches on a thread of its
// own, so several can search at once while the browse windows stay usable.
class CSearchDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSearchDlg(const SearchWindowSetup& setup, QWidget* parent = nullptr);

    SearchCriteriaForm& Form() const { return *form_; }
    SearchResultsPane& Results() const { return *results_; }
    SearchHitCommands& Hits() { return hits_; }
    SearchRunControl& Run() { return run_; }
    QLabel* SearchingLine() const { return searchingLine_; }
    QLabel* CountsLine() const { return countsLine_; }
    // Whether anyone shows quick views of the hits.
    bool OffersQuickView() const;

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

private:
    void BuildControls(const SearchWindowSetup& setup);

    bool listWhenDone_ = false;
    SearchHitCommands hits_;
    SearchRunControl run_;
    SearchWindowKeys keys_;

    SearchCriteriaForm* form_ = nullptr;
    QLabel* searchingLine_ = nullptr;
    QLabel* countsLine_ = nullptr;
    SearchResultsPane* results_ = nullptr;
};

} // namespace orvo
