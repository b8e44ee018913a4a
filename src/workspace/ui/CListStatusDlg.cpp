#include "workspace/ui/CListStatusDlg.h"

#include "platform/ui/QtText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace orvo {

namespace {
std::function<int(CListStatusDlg&)>& CListStatusDlgRunner() {
    static std::function<int(CListStatusDlg&)> runner;
    return runner;
}
} // namespace

void CListStatusDlg::SetTestRunner(std::function<int(CListStatusDlg&)> runner) {
    CListStatusDlgRunner() = std::move(runner);
}

int CListStatusDlg::Run() {
    return CListStatusDlgRunner() ? CListStatusDlgRunner()(*this) : exec();
}

CListStatusDlg::CListStatusDlg(const ListStatus& status, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("ORL Status"));
    auto fill = [this](const std::vector<std::string>& paths) {
        auto* list = new QListWidget(this);
        for (const std::string& p : paths)
            list->addItem(PathToQ(p)); // handed back as bytes by GoThere
        connect(list, &QListWidget::itemClicked, this,
                [this](QListWidgetItem* item) { emit GoToFileRequested(item->text()); });
        return list;
    };
    changed_ = fill(status.changed);
    dead_ = fill(status.dead);
    update_ = new QCheckBox(QStringLiteral("&Update list information"), this);
    remove_ = new QCheckBox(QStringLiteral("&Remove from the list"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    auto* changedText = new QLabel(
        QStringLiteral("One or more attributes of these files changed (modification time, size, "
                       "comment, attributes)"),
        this);
    changedText->setWordWrap(true);
    layout->addWidget(changedText);
    layout->addWidget(changed_, 1);
    layout->addWidget(new QLabel(
        QStringLiteral("These files don't really exist on your hard disks any more."), this));
    layout->addWidget(dead_, 1);
    layout->addWidget(update_);
    layout->addWidget(remove_);
    layout->addWidget(buttons);
    resize(560, 420);
}

bool CListStatusDlg::UpdateInformation() const {
    return update_->isChecked();
}
bool CListStatusDlg::RemoveDead() const {
    return remove_->isChecked();
}

} // namespace orvo
