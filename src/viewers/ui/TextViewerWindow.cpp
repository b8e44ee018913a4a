#include "viewers/ui/TextViewerWindow.h"

#include "comments/ui/CommentEditDialog.h"
#include "platform/FileIO.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "platform/ui/QtText.h"
#include "platform/ui/SaveQuestion.h"
#include "platform/ui/UserPrompt.h"
#include "viewers/ui/TextFindDialog.h"
#include "viewers/ui/ViewerHost.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimerEvent>
#include <QVBoxLayout>

namespace orvo {

namespace {

constexpr int kStatusTickMs = 50;
constexpr int kStatusHeight = 20;

} // namespace

TextViewerWindow::TextViewerWindow(const std::string& path, ViewerHost* host,
                                   bool openedByQuickView, QWidget* owner)
    : QMainWindow(owner, Qt::Window), path_(path), openedByQuickView_(openedByQuickView),
      host_(host) {
    setAttribute(Qt::WA_DeleteOnClose);
    resize(800, 600);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    editor_ = new QPlainTextEdit(central);
    editor_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    editor_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    editor_->setContextMenuPolicy(Qt::CustomContextMenu);
    editor_->installEventFilter(this);
    status_ = new QLabel(central);
    status_->setFixedHeight(kStatusHeight);
    status_->setContentsMargins(4, 0, 4, 0);
    status_->setToolTip(QStringLiteral("Click to go to a line (Ctrl+G)"));
    status_->installEventFilter(this);
    layout->addWidget(editor_, 1);
    layout->addWidget(status_);
    setCentralWidget(central);

    timer_.start(kStatusTickMs, this);
    find_ = new TextFindDialog(this, [this] { FindNext(); });
    // F3 and the other keys work from the find dialog too (and do not reach
    // the main frame's shortcuts from there).
    find_->installEventFilter(this);
    BuildMenus();
    BuildKeys();
    connect(editor_, &QPlainTextEdit::textChanged, this, &TextViewerWindow::UpdateStatus);
    connect(editor_, &QPlainTextEdit::cursorPositionChanged, this, &TextViewerWindow::UpdateStatus);
    connect(editor_, &QPlainTextEdit::selectionChanged, this, &TextViewerWindow::UpdateStatus);
    connect(editor_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { editMenu_->exec(editor_->viewport()->mapToGlobal(p)); });
    Open();
}

TextViewerWindow::~TextViewerWindow() {
    timer_.stop();
    if (host_)
        host_->NotifyClosed(this);
}

void TextViewerWindow::Open() {
    setWindowTitle(ToQ(std::string(FileNameOf(path_))));
    const FileStatus status = GetFileStatus(path_);
    // Reading a pipe or a device could wait for ever.
    if (!status.exists)
        loadError_ = ToQ(path_ + " does not exist any more.");
    else if (!status.isRegular)
        loadError_ = ToQ(path_ + " is not a regular file and cannot be shown as text.");
    if (loadError_.isEmpty()) {
        try {
            facts_ = DecodeViewerText(ReadWholeFile(path_));
        } catch (const FileError& e) {
            loadError_ = ToQ(e.what());
        }
    }
    if (!loadError_.isEmpty()) {
        editor_->setPlaceholderText(loadError_);
        editor_->setReadOnly(true);
    } else {
        editor_->setPlainText(QString::fromUtf8(facts_.text.data(), qsizetype(facts_.text.size())));
        // The editor holds the text now; saving needs only the line facts.
        std::string().swap(facts_.text);
    }
    editor_->document()->setModified(false);
    editor_->setFocus();
    UpdateStatus();
}

void TextViewerWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    auto add = [this](QMenu* menu, const QString& text, const QString& key, auto slot) {
        QAction* a = menu->addAction(key.isEmpty() ? text : text + QLatin1Char('\t') + key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add(file, QStringLiteral("Save"), QStringLiteral("Ctrl+S"), &TextViewerWindow::Save);
    add(file, QStringLiteral("Edit comment"), QStringLiteral("Alt+C"),
        &TextViewerWindow::EditComment);
    file->addSeparator();
    add(file, QStringLiteral("Exit"), QString(), &QWidget::close);

    editMenu_ = menuBar()->addMenu(QStringLiteral("&Edit"));
    add(editMenu_, QStringLiteral("Undo"), QStringLiteral("Ctrl+Z"), [this] { editor_->undo(); });
    editMenu_->addSeparator();
    add(editMenu_, QStringLiteral("Cut"), QStringLiteral("Ctrl+X"), [this] { editor_->cut(); });
    add(editMenu_, QStringLiteral("Copy"), QStringLiteral("Ctrl+C"), [this] { editor_->copy(); });
    add(editMenu_, QStringLiteral("Paste"), QStringLiteral("Ctrl+V"), [this] { editor_->paste(); });
    add(editMenu_, QStringLiteral("Select All"), QStringLiteral("Ctrl+A"),
        [this] { editor_->selectAll(); });
    add(editMenu_, QStringLiteral("Add"), QStringLiteral("Ctrl+Shift+A"),
        &TextViewerWindow::AddToClipboard);
    editMenu_->addSeparator();
    add(editMenu_, QStringLiteral("Find"), QStringLiteral("Ctrl+F"), &TextViewerWindow::ShowFind);
    add(editMenu_, QStringLiteral("Find Next"), QStringLiteral("F3"), &TextViewerWindow::FindNext);
    add(editMenu_, QStringLiteral("Go to line"), QStringLiteral("Ctrl+G"),
        &TextViewerWindow::GoToLine);
    wrapAction_ = add(editMenu_, QStringLiteral("Wrap text"), QStringLiteral("Ctrl+W"),
                      &TextViewerWindow::ToggleWrap);
    wrapAction_->setCheckable(true);
    wrapAction_->setChecked(true);
}

void TextViewerWindow::BuildKeys() {
    keys_.Add(Qt::CTRL | Qt::Key_S, [this] { Save(); });
    keys_.Add(Qt::ALT | Qt::Key_C, [this] { EditComment(); });
    keys_.Add(Qt::CTRL | Qt::SHIFT | Qt::Key_A, [this] { AddToClipboard(); });
    keys_.Add(Qt::CTRL | Qt::Key_F, [this] { ShowFind(); });
    keys_.Add(Qt::Key_F3, [this] { FindNext(); });
    keys_.Add(Qt::CTRL | Qt::Key_G, [this] { GoToLine(); });
    keys_.Add(Qt::CTRL | Qt::Key_W, [this] { ToggleWrap(); });
    // Escape is Cancel, which closes the viewer.
    keys_.Add(Qt::Key_Escape, [this] { close(); });
}

bool TextViewerWindow::eventFilter(QObject* watched, QEvent* event) {
    // Escape in the find dialog closes the dialog, not the viewer.
    const bool escape =
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    if ((watched == editor_ || (watched == find_ && !escape)) && keys_.Handle(event))
        return true;
    if (watched == status_ && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        GoToLine();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TextViewerWindow::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timer_.timerId())
        UpdateStatus();
    else
        QMainWindow::timerEvent(event);
}

QString TextViewerWindow::StatusText() const {
    return status_->text();
}

void TextViewerWindow::UpdateStatus() {
    const QTextDocument* document = editor_->document();
    const QTextCursor cursor = editor_->textCursor();
    const QTextBlock line = document->findBlock(cursor.position());
    const int column = cursor.selectionEnd() - line.position() + 1;
    const QString text = QString::fromStdString(TextStatusLine(
        document->blockCount(), static_cast<uint64_t>(document->characterCount() - 1),
        line.blockNumber() + 1, column));
    // Set only when it changed, so the line does not flicker at every tick.
    if (text != lastStatus_) {
        lastStatus_ = text;
        status_->setText(text);
    }
}

bool TextViewerWindow::Wraps() const {
    return editor_->lineWrapMode() != QPlainTextEdit::NoWrap;
}

void TextViewerWindow::ToggleWrap() {
    const bool wrap = !Wraps();
    editor_->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    wrapAction_->setChecked(wrap);
}

QByteArray TextViewerWindow::ShownText() const {
    // The raw text keeps no-break spaces that toPlainText would turn into
    // blanks; only the paragraph separators become line breaks.
    QString text = editor_->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text.toUtf8();
}

bool TextViewerWindow::WriteBack() {
    const QByteArray shown = ShownText();
    const EncodedText encoded =
        EncodeViewerText(std::string_view(shown.constData(), size_t(shown.size())), facts_);
    if (!encoded.encodingKept &&
        !UserPrompt::AskYesNo(this, ToQ(EncodingQuestion(FileNameOf(path_), facts_.encoding)),
                              QStringLiteral("Confirmation ")))
        return false;
    const std::optional<ReadOnlyFiles> allowed = AskBeforeSavingOver(this, path_);
    if (!allowed)
        return false;
    try {
        WriteFileAtomically(path_, encoded.bytes, true, *allowed);
    } catch (const FileError&) {
        UserPrompt::Message(this, QString::fromLatin1(kCouldNotWrite), UserPrompt::Icon::Warning);
        return false;
    }
    // The next save compares with what this one wrote.
    facts_ = DecodeViewerText(encoded.bytes);
    std::string().swap(facts_.text);
    editor_->document()->setModified(false);
    return true;
}

void TextViewerWindow::Save() {
    if (!loadError_.isEmpty()) {
        // Writing would put a file in place of what could not be read.
        UserPrompt::Message(this, loadError_, UserPrompt::Icon::Warning);
        return;
    }
    if (facts_.binary) {
        UserPrompt::Message(this, QString::fromLatin1(kBinaryRefusal), UserPrompt::Icon::Warning);
        return;
    }
    if (!UserPrompt::AskYesNo(this, ToQ(SaveQuestion(FileNameOf(path_))),
                              QStringLiteral("Confirmation ")))
        return;
    WriteBack();
}

void TextViewerWindow::EditComment() {
    CommentEditDialog::EditComment(path_, this);
}

void TextViewerWindow::AddToClipboard() {
    const QTextCursor cursor = editor_->textCursor();
    if (!cursor.hasSelection())
        return;
    QString added = cursor.selectedText();
    added.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    QClipboard* clipboard = QApplication::clipboard();
    const QString before = clipboard->text();
    clipboard->setText(before + added);
}

void TextViewerWindow::ShowFind() {
    if (find_->isVisible())
        return;
    const QTextCursor cursor = editor_->textCursor();
    QString text = ToQ(LastSearchedText());
    if (cursor.hasSelection()) {
        text = cursor.selectedText();
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    }
    LastSearchedText() = text.toStdString();
    find_->SetSearchText(text);
    find_->show();
    find_->raise();
    find_->activateWindow();
}

void TextViewerWindow::FindNext() {
    const QString what = find_->SearchText();
    if (what.isEmpty()) {
        ShowFind();
        return;
    }
    LastSearchedText() = what.toStdString();
    const QByteArray text = ShownText();
    const QByteArray needle = what.toUtf8();
    const std::string_view view(text.constData(), size_t(text.size()));
    auto toChars = [&text](size_t bytes) {
        return int(QString::fromUtf8(text.constData(), qsizetype(bytes)).size());
    };
    const int caret = editor_->textCursor().selectionEnd();
    const QString shown = QString::fromUtf8(text);
    size_t from = size_t(QStringView(shown).left(caret).toUtf8().size());
    while (true) {
        const TextMatch match = FindInViewerText(
            view, from, std::string_view(needle.constData(), size_t(needle.size())),
            find_->MatchCase(), find_->Wildcards(), find_->WholeWords());
        if (match.found) {
            QTextCursor cursor = editor_->textCursor();
            cursor.setPosition(toChars(match.start));
            cursor.setPosition(toChars(match.end), QTextCursor::KeepAnchor);
            editor_->setTextCursor(cursor);
            editor_->ensureCursorVisible();
            return;
        }
        QApplication::beep();
        const UserPrompt::Answer answer = UserPrompt::Instance().Ask(
            this, QString::fromLatin1(kTextNotFoundTitle),
            QString::fromLatin1(kTextNotFoundQuestion), UserPrompt::Buttons::YesNoCancel,
            UserPrompt::Icon::Question);
        if (answer != UserPrompt::Answer::Yes)
            return;
        editor_->moveCursor(QTextCursor::Start);
        from = 0;
    }
}

void TextViewerWindow::GoToLine() {
    const std::optional<QString> typed = UserPrompt::Instance().AskText(
        this, QString::fromLatin1(kQuestionTitle), QString::fromLatin1(kGoToLinePrompt), QString());
    if (!typed)
        return;
    const int line = ReadLineNumber(typed->toStdString());
    QTextCursor cursor = editor_->textCursor();
    const QTextDocument* document = editor_->document();
    // 0 (or anything that is no number) keeps the caret's line.
    const QTextBlock block =
        line >= 1 ? document->findBlockByNumber(std::min(line, document->blockCount()) - 1)
                  : document->findBlock(cursor.position());
    cursor.setPosition(block.position());
    editor_->setTextCursor(cursor);
    editor_->ensureCursorVisible();
    editor_->setFocus();
}

void TextViewerWindow::closeEvent(QCloseEvent* event) {
    // Typing in a viewer is easily forgotten; closing does not throw it away
    // without asking.
    if (editor_->document()->isModified() && loadError_.isEmpty() && !facts_.binary) {
        const UserPrompt::Answer answer = UserPrompt::Instance().Ask(
            this, QStringLiteral("Confirmation "),
            ToQ("The text of " + std::string(FileNameOf(path_)) + " was changed. Save it ?"),
            UserPrompt::Buttons::YesNoCancel, UserPrompt::Icon::Question);
        if (answer == UserPrompt::Answer::Cancel ||
            (answer == UserPrompt::Answer::Yes && !WriteBack())) {
            event->ignore();
            return;
        }
    }
    timer_.stop();
    find_->close();
    QMainWindow::closeEvent(event);
}

} // namespace orvo
