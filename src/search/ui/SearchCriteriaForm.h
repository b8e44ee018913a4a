#pragma once

#include "search/SearchCriteria.h"
#include "search/ui/SearchWindowSetup.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QPushButton;
class QSpinBox;

namespace orvo {

// The upper part of the search window: what to search for and where, the
// text, date and size criteria, and the Start and Close buttons. It reads
// the criteria the controls hold.
class SearchCriteriaForm : public QWidget {
    Q_OBJECT
public:
    explicit SearchCriteriaForm(const SearchWindowSetup& setup, QWidget* parent = nullptr);

    SearchCriteria ReadCriteria() const;
    // A search started: its names, places and text go to the top of their
    // lists.
    void RememberTexts();
    void UseCurrentDirectory();
    void UseSelectedDirectories();

    QComboBox* NamesBox() const { return names_; }
    QComboBox* PlacesBox() const { return places_; }
    QComboBox* TextBox() const { return text_; }
    QComboBox* TextModeBox() const { return textMode_; }
    QComboBox* PatternBox() const { return patternBox_; }
    QCheckBox* SearchTextCheck() const { return textOn_; }
    QCheckBox* WildcardCheck() const { return wildcard_; }
    QCheckBox* MatchCaseCheck() const { return matchCase_; }
    QCheckBox* ExcludeBinariesCheck() const { return excludeBinaries_; }
    QPushButton* StartButton() const { return start_; }
    QPushButton* CloseButton() const { return close_; }

private:
    QGroupBox* BuildTextGroup();
    QGroupBox* BuildDateGroup();
    void ChoosePattern(int index);

    SearchWindowSetup setup_;
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
    QPushButton* close_ = nullptr;
};

} // namespace orvo
