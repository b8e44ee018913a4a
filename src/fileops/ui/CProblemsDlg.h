#pragma once

#include <QDialog>
#include <functional>

class QLabel;

namespace orvo {

class CTableGrid;
class QTable;

// "Problems...": the paths an operation would overwrite (or the hidden and
// special files it would delete), each with its "Execute" decision. "Yes
// to all" and "Skip all" decide every row; a click on a row's Execute
// cell, Space or a double click switches that row. OK goes on with the
// table as it stands, Cancel stops the whole operation.
class CProblemsDlg : public QDialog {
    Q_OBJECT
public:
    CProblemsDlg(QTable& problems, const QString& description, QWidget* parent = nullptr);

    void YesToAll();
    void SkipAll();
    void ToggleRow(int row);
    CTableGrid* Grid() const { return grid_; }
    QLabel* Description() const { return description_; }

    // Runs the dialog modally, or hands it to the runner a test installed.
    int Run();
    static void SetTestRunner(std::function<int(CProblemsDlg&)> runner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTable& problems_;
    CTableGrid* grid_;
    QLabel* description_;
};

} // namespace orvo
