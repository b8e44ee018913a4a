#include "fileops/ui/CFileOperationDlg.h"

#include "fileops/OperationTexts.h"
#include "fileops/ProblemsTable.h"
#include "fileops/StartFileOperation.h"
#include "fileops/ui/CProblemsDlg.h"
#include "fileops/ui/DialogOperationUi.h"
#include "fileops/ui/EndSignal.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <climits>
#include <unordered_map>

namespace orvo {

namespace {

QLabel* NamedLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// A long path keeps its start and its name: the middle goes.
void SetPathText(QLabel* label, const std::string& path) {
    QString full = ToQ(path);
    int width = label->width() > 50 ? label->width() : 420;
    label->setText(label->fontMetrics().elidedText(full, Qt::ElideMiddle, width));
    label->setToolTip(full);
}

} // namespace

CFileOperationDlg::CFileOperationDlg(FileOperationRequest request, QWidget* parent)
    : QDialog(parent), request_(std::move(request)) {
    setWindowTitle(QString::fromLatin1(kFileOperationCaption));
    setAttribute(Qt::WA_DeleteOnClose);
    // Appearing after four seconds must not take the keyboard from the
    // window the person is working in; a question activates it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setModal(false);
    BuildControls();
    bridge_ = std::make_shared<DialogOperationUi>(this);
    poll_.setInterval(kRefreshMs);
    connect(&poll_, &QTimer::timeout, this, &CFileOperationDlg::Poll);
}

CFileOperationDlg::~CFileOperationDlg() {
    // Going while the run is on (the program ends): stop it and wait for
    // it, so nothing is left half done behind our back.
    poll_.stop();
    bridge_->Abandon();
    if (worker_.joinable())
        worker_.join();
}

void CFileOperationDlg::BuildControls() {
    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);
    free_ = NamedLabel("free", this);
    total_ = NamedLabel("total", this);
    left_ = NamedLabel("left", this);
    fitIcon_ = new QLabel(this);
    fitIcon_->setFixedSize(20, 20);
    fit_ = NamedLabel("fit", this);
    source_ = NamedLabel("source", this);
    target_ = NamedLabel("target", this);
    source_->setMinimumWidth(420);
    target_->setMinimumWidth(420);
    time_ = new QGroupBox(QStringLiteral("Time, calculating"), this);
    speed_ = NamedLabel("speed", time_);
    timeLeft_ = NamedLabel("timeLeft", time_);
    endTime_ = NamedLabel("endTime", time_);
    pause_ = new QPushButton(QStringLiteral("Pause"), this);
    pause_->setCheckable(true);
    pause_->setAutoDefault(false);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setAutoDefault(false);

    auto* fitRow = new QHBoxLayout;
    fitRow->addWidget(fitIcon_);
    fitRow->addWidget(fit_, 1);
    auto* paths = new QGridLayout;
    paths->addWidget(new QLabel(QStringLiteral("From:"), this), 0, 0);
    paths->addWidget(source_, 0, 1);
    paths->addWidget(new QLabel(QStringLiteral("To:"), this), 1, 0);
    paths->addWidget(target_, 1, 1);
    paths->setColumnStretch(1, 1);
    auto* timeLines = new QVBoxLayout(time_);
    timeLines->addWidget(speed_);
    timeLines->addWidget(timeLeft_);
    timeLines->addWidget(endTime_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(pause_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    layout->addWidget(free_);
    layout->addWidget(total_);
    layout->addWidget(left_);
    layout->addLayout(fitRow);
    layout->addLayout(paths);
    layout->addWidget(time_);
    layout->addLayout(buttons);
    setSizeGripEnabled(false);

    connect(pause_, &QPushButton::toggled, this, [this](bool on) { bridge_->SetPaused(on); });
    connect(cancel_, &QPushButton::clicked, this, &CFileOperationDlg::reject);
}

void CFileOperationDlg::Start() {
    if (started_)
        return;
    started_ = true;
    working_ = true;
    sinceStart_.start();
    poll_.start();
    QPointer<CFileOperationDlg> self(this);
    std::shared_ptr<DialogOperationUi> bridge = bridge_;
    worker_ =
        StartFileOperation(request_, bridge_, [self, bridge](const FileOperationResult& result) {
            // The result goes to the window's thread; a window that is gone
            // no longer cares.
            QMetaObject::invokeMethod(
                qApp,
                [self, result] {
                    if (self)
                        self->OnRunFinished(result);
                },
                Qt::QueuedConnection);
        });
}

void CFileOperationDlg::ShowNow() {
    if (isVisible())
        return;
    show();
    raise();
}

void CFileOperationDlg::ShowForQuestion() {
    ShowNow();
    activateWindow();
    Poll();
}

void CFileOperationDlg::Poll() {
    if (!working_)
        return;
    if (bridge_->TakeShowRequest() || sinceStart_.elapsed() > kShowAfterMs)
        ShowNow();
    ProgressFigures figures;
    if (bridge_->TakeFigures(figures))
        Apply(figures);
}

void CFileOperationDlg::Apply(const ProgressFigures& f) {
    shown_ = f;
    setWindowTitle(ToQ(f.caption));
    free_->setText(ToQ(f.freeLine));
    total_->setText(ToQ(f.totalLine));
    left_->setText(ToQ(f.leftLine));
    fit_->setText(ToQ(f.fitLine));
    QStyle::StandardPixmap icon =
        f.fits ? QStyle::SP_DialogApplyButton : QStyle::SP_MessageBoxWarning;
    fitIcon_->setPixmap(style()->standardIcon(icon).pixmap(20, 20));
    SetPathText(source_, f.sourcePath);
    SetPathText(target_, f.targetPath);
    time_->setTitle(ToQ(f.timeCaption));
    speed_->setText(ToQ(f.speedLine));
    timeLeft_->setText(ToQ(f.timeLeftLine));
    endTime_->setText(ToQ(f.endTimeLine));
    // The bar counts kilobytes; beyond what it can hold it counts in
    // coarser steps.
    uint64_t maximum = f.barMaximum, position = f.barPosition;
    while (maximum > static_cast<uint64_t>(INT_MAX)) {
        maximum >>= 10;
        position >>= 10;
    }
    // An empty range would make the bar a busy indicator; nothing counted
    // is an empty bar.
    bar_->setRange(0, maximum > 0 ? static_cast<int>(maximum) : 1);
    bar_->setValue(static_cast<int>(std::min(position, maximum)));
}

QString CFileOperationDlg::LineText(const char* name) const {
    auto* label = findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QString();
}

bool CFileOperationDlg::RunProblems(const std::vector<std::string>& paths,
                                    std::vector<char>& execute, const std::string& description) {
    ShowForQuestion();
    QApplication::alert(this); // the window asks for attention
    QTable table;
    InitProblemsTable(table);
    for (size_t i = 0; i < paths.size(); ++i) {
        AddProblem(table, paths[i]);
        if (i < execute.size() && !execute[i])
            ToggleExecute(table, static_cast<int>(i));
    }
    CProblemsDlg dialog(table, ToQ(description), this);
    if (dialog.Run() != QDialog::Accepted)
        return false;
    // The grid may have sorted the rows: the decisions go back by path.
    std::unordered_map<std::string, size_t> index;
    for (size_t i = 0; i < paths.size(); ++i)
        index.emplace(paths[i], i);
    execute.assign(paths.size(), 1);
    for (int i = 0; i < table.GetRecordCount(); ++i) {
        auto it = index.find(table.GetText("Path", i));
        if (it != index.end())
            execute[it->second] = table.GetText("Execute", i) == "TRUE";
    }
    return true;
}

bool CFileOperationDlg::AskYesNo(const std::string& title, const std::string& text) {
    ShowForQuestion();
    return UserPrompt::Instance().Ask(this, ToQ(title), ToQ(text), UserPrompt::Buttons::YesNo,
                                      UserPrompt::Icon::Question) == UserPrompt::Answer::Yes;
}

ErrorAnswer CFileOperationDlg::AskAbortRetryIgnore(const std::string& title,
                                                   const std::string& text) {
    ShowForQuestion();
    switch (UserPrompt::Instance().Ask(this, ToQ(title), ToQ(text),
                                       UserPrompt::Buttons::AbortRetryIgnore,
                                       UserPrompt::Icon::Warning)) {
    case UserPrompt::Answer::Retry:
        return ErrorAnswer::Retry;
    case UserPrompt::Answer::Ignore:
        return ErrorAnswer::Ignore;
    default:
        return ErrorAnswer::Abort;
    }
}

void CFileOperationDlg::ShowMessage(const std::string& title, const std::string& text) {
    ShowForQuestion();
    UserPrompt::Instance().Ask(this, ToQ(title), ToQ(text), UserPrompt::Buttons::Ok,
                               UserPrompt::Icon::Information);
}

void CFileOperationDlg::Stop() {
    QString caption = windowTitle();
    bridge_->AskToStop([&] {
        return UserPrompt::Instance().Ask(this, caption, ToQ(StopQuestion(caption.toStdString())),
                                          UserPrompt::Buttons::YesNo,
                                          UserPrompt::Icon::Question) == UserPrompt::Answer::Yes;
    });
}

void CFileOperationDlg::reject() {
    if (working_)
        Stop();
    else
        QDialog::reject();
}

void CFileOperationDlg::closeEvent(QCloseEvent* event) {
    if (!working_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    Stop();
}

void CFileOperationDlg::OnRunFinished(const FileOperationResult& result) {
    working_ = false;
    poll_.stop();
    if (worker_.joinable())
        worker_.join();
    ProgressFigures last;
    if (bridge_->TakeFigures(last))
        Apply(last);
    QStringList directories;
    for (const std::string& d : result.refreshDirectories)
        directories << PathToQ(d);
    close();
    PlayEndSignal();
    emit Finished(directories);
}

} // namespace orvo
