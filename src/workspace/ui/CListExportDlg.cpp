#include "workspace/ui/CListExportDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

namespace orvo {

namespace {
std::function<int(CListExportDlg&)>& CListExportDlgRunner() {
    static std::function<int(CListExportDlg&)> runner;
    return runner;
}
} // namespace

void CListExportDlg::SetTestRunner(std::function<int(CListExportDlg&)> runner) {
    CListExportDlgRunner() = std::move(runner);
}

int CListExportDlg::Run() {
    return CListExportDlgRunner() ? CListExportDlgRunner()(*this) : exec();
}

namespace {

// The check boxes in the order of the dialog, with the option each sets.
struct BoxDef {
    const char* text;
    bool ListExportOptions::*flag;
};
constexpr BoxDef kBoxes[] = {
    {"Title", &ListExportOptions::title},
    {"Extension", &ListExportOptions::extension},
    {"Comment", &ListExportOptions::comment},
    {"Size", &ListExportOptions::size},
    {"Date and time", &ListExportOptions::dateTime},
    {"Attributes", &ListExportOptions::attributes},
    {"ID", &ListExportOptions::id},
    {"Fields", &ListExportOptions::fields},
};

constexpr int kPreviewRows = 101;

} // namespace

CListExportDlg::CListExportDlg(const DirectoryListing& list, QWidget* parent)
    : QDialog(parent), list_(list) {
    setWindowTitle(QStringLiteral("List exporting"));
    auto* grid = new QGridLayout;
    int i = 0;
    for (const BoxDef& def : kBoxes) {
        auto* box = new QCheckBox(QString::fromLatin1(def.text), this);
        grid->addWidget(box, i % 4, i / 4);
        boxes_ << box;
        connect(box, &QCheckBox::toggled, this, &CListExportDlg::UpdatePreview);
        ++i;
    }
    separator_ = new QLineEdit(this);
    separator_->installEventFilter(this);
    connect(separator_, &QLineEdit::textChanged, this, &CListExportDlg::UpdatePreview);
    preview_ = new QPlainTextEdit(this);
    preview_->setReadOnly(true);
    preview_->setLineWrapMode(QPlainTextEdit::NoWrap);
    preview_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(
        new QLabel(QStringLiteral("Separator (Ctrl+Tab to produce a tabulator) :"), this));
    layout->addWidget(separator_);
    layout->addWidget(new QLabel(QStringLiteral("Example"), this));
    layout->addWidget(preview_, 1);
    layout->addWidget(buttons);
    resize(640, 480);
    SetOptions(ListExportOptions{});
}

QCheckBox* CListExportDlg::Box(const char* text) const {
    for (QCheckBox* box : boxes_)
        if (box->text() == QString::fromLatin1(text))
            return box;
    return nullptr;
}

ListExportOptions CListExportDlg::Options() const {
    ListExportOptions options;
    for (int i = 0; i < boxes_.size(); ++i)
        options.*(kBoxes[i].flag) = boxes_[i]->isChecked();
    options.separator = separator_->text().toStdString();
    return options;
}

void CListExportDlg::SetOptions(const ListExportOptions& options) {
    for (int i = 0; i < boxes_.size(); ++i) {
        QSignalBlocker quiet(boxes_[i]);
        boxes_[i]->setChecked(options.*(kBoxes[i].flag));
    }
    QSignalBlocker quiet(separator_);
    separator_->setText(QString::fromStdString(options.separator));
    UpdatePreview();
}

QString CListExportDlg::PreviewText() const {
    return preview_->toPlainText();
}

void CListExportDlg::UpdatePreview() {
    // The reader stays where they were scrolling while trying columns.
    const int vertical = preview_->verticalScrollBar()->value();
    const int horizontal = preview_->horizontalScrollBar()->value();
    std::string text = ExportListText(list_, Options(), kPreviewRows);
    preview_->setPlainText(
        QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    preview_->verticalScrollBar()->setValue(vertical);
    preview_->horizontalScrollBar()->setValue(horizontal);
}

bool CListExportDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == separator_ &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        auto* key = static_cast<QKeyEvent*>(event);
        // A tab cannot be typed into a one-line box: Tab moves on.
        if (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ControlModifier)) {
            if (event->type() == QEvent::KeyPress)
                separator_->insert(QStringLiteral("\t"));
            event->accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvo
