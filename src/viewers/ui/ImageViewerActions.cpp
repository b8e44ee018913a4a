// The image viewer's menus, buttons, context menu and keys.
#include "viewers/ui/ImageViewerWindow.h"
#include "viewers/ui/ViewerIcons.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace orvo {

namespace {

QIcon Icon(QWidget* w, const char* theme, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(theme), w->style()->standardIcon(fallback));
}

} // namespace

void ImageViewerWindow::BuildActions() {
    // Menu entries name their keys in the text; the keys themselves are
    // taken by the window (BuildKeys), before any shortcut could see them.
    auto add = [this](QMenu* menu, const QString& text, const QString& key, auto slot) {
        QAction* a = menu->addAction(key.isEmpty() ? text : text + QLatin1Char('\t') + key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    using Tool = ImagePictureArea::Tool;

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    add(file, QStringLiteral("New from clipboard"), QStringLiteral("Ctrl+V"),
        &ImageViewerWindow::PasteFromClipboard);
    QAction* reload =
        add(file, QStringLiteral("Reload"), QStringLiteral("Alt+R"), &ImageViewerWindow::Reload);
    add(file, QStringLiteral("Save"), QStringLiteral("Ctrl+S"), &ImageViewerWindow::Save);
    add(file, QStringLiteral("Save as..."), QStringLiteral("Shift+Alt+A"),
        &ImageViewerWindow::SaveAs);
    file->addSeparator();
    QAction* comment = add(file, QStringLiteral("Edit comment"), QStringLiteral("Alt+C"),
                           &ImageViewerWindow::EditComment);
    QAction* remove = add(file, QStringLiteral("Delete file"), QStringLiteral("Del"),
                          &ImageViewerWindow::DeleteFile);
    add(file, QStringLiteral("Copy to..."), QStringLiteral("F5"), [this] { TransferFile(false); });
    add(file, QStringLiteral("Move to..."), QStringLiteral("F6"), [this] { TransferFile(true); });
    file->addSeparator();
    add(file, QStringLiteral("Exit"), QString(), &QWidget::close);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    QAction* copy = add(edit, QStringLiteral("Copy"), QStringLiteral("Ctrl+C"),
                        &ImageViewerWindow::CopyToClipboard);
    add(edit, QStringLiteral("Paste"), QStringLiteral("Ctrl+V"),
        &ImageViewerWindow::PasteFromClipboard);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* previous = add(view, QStringLiteral("Previous image"), QStringLiteral("Page Up"),
                            &ImageViewerWindow::Previous);
    QAction* next = add(view, QStringLiteral("Next image"), QStringLiteral("Page Down"),
                        &ImageViewerWindow::Next);
    QAction* first =
        add(view, QStringLiteral("First image"), QStringLiteral("Home"), &ImageViewerWindow::First);
    QAction* last =
        add(view, QStringLiteral("Last image"), QStringLiteral("End"), &ImageViewerWindow::Last);
    view->addSeparator();
    slideshowAction_ = add(view, QStringLiteral("Slideshow"), QStringLiteral("Space"),
                           &ImageViewerWindow::ToggleSlideshow);
    tileAction_ =
        add(view, QStringLiteral("Tile"), QStringLiteral("T"), &ImageViewerWindow::ToggleTile);
    tileAction_->setCheckable(true);
    QAction* info = add(view, QStringLiteral("Information"), QStringLiteral("I"),
                        &ImageViewerWindow::ShowInformation);

    QMenu* zoom = menuBar()->addMenu(QStringLiteral("&Zoom"));
    // From the menu the zoom changes without moving the view.
    add(zoom, QStringLiteral("Zoom in"), QStringLiteral("Num +"), [this] { ZoomIn(false); });
    add(zoom, QStringLiteral("Zoom out"), QStringLiteral("Num -, F3"), [this] { ZoomOut(false); });
    add(zoom, QStringLiteral("Best fit"), QStringLiteral("Num *, F4"), &ImageViewerWindow::BestFit);
    add(zoom, QStringLiteral("Orignally"), QStringLiteral("Num /"), &ImageViewerWindow::Original);
    zoom->addSeparator();
    lockAction_ = add(zoom, QStringLiteral("Lock size"), QStringLiteral("L"),
                      &ImageViewerWindow::ToggleLockSize);
    lockAction_->setCheckable(true);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    auto* toolGroup = new QActionGroup(this);
    magnifyAction_ = add(tools, QStringLiteral("Magnify"), QStringLiteral("Z, M, F2"),
                         [this] { SetTool(Tool::Magnify); });
    handAction_ =
        add(tools, QStringLiteral("Hand"), QStringLiteral("H"), [this] { SetTool(Tool::Hand); });
    selectionAction_ = add(tools, QStringLiteral("Selection"), QStringLiteral("S"),
                           [this] { SetTool(Tool::Selection); });
    for (QAction* a : {magnifyAction_, handAction_, selectionAction_}) {
        a->setCheckable(true);
        toolGroup->addAction(a);
    }

    QMenu* image = menuBar()->addMenu(QStringLiteral("&Image"));
    QAction* convert =
        add(image, QStringLiteral("Convert"), QStringLiteral("C"), &ImageViewerWindow::Convert);
    QAction* colours = add(image, QStringLiteral("Brithness and contrast"), QStringLiteral("B"),
                           &ImageViewerWindow::BrightnessAndContrast);
    menus_ = {file, edit, view, zoom, tools, image};

    // The button row: the keys keep the view centred, and so do the buttons.
    QToolBar* bar = addToolBar(QStringLiteral("Image"));
    bar->setMovable(false);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setIconSize(QSize(20, 20));
    auto place = [this, bar](QAction* action, const QIcon& icon, const QString& tip) {
        QAction* b = action ? action : new QAction(this);
        b->setIcon(icon);
        b->setToolTip(tip);
        bar->addAction(b);
        return b;
    };
    auto button = [this, place](QAction* action, const char* theme, QStyle::StandardPixmap fallback,
                                const QString& tip) {
        return place(action, Icon(this, theme, fallback), tip);
    };
    auto drawn = [place](QAction* action, const char* theme, ViewerIcon fallback,
                         const QString& tip) {
        return place(action, ViewerIconFor(theme, fallback), tip);
    };
    button(previous, "go-previous", QStyle::SP_ArrowLeft,
           QStringLiteral("Previous image (Page Up)"));
    button(next, "go-next", QStyle::SP_ArrowRight, QStringLiteral("Next image (Page Down)"));
    button(first, "go-first", QStyle::SP_MediaSkipBackward, QStringLiteral("First image (Home)"));
    button(last, "go-last", QStyle::SP_MediaSkipForward, QStringLiteral("Last image (End)"));
    bar->addSeparator();
    drawn(copy, "edit-copy", ViewerIcon::Copy, QStringLiteral("Copy to the clipboard (Ctrl+C)"));
    drawn(colours, "color-management", ViewerIcon::Brightness,
          QStringLiteral("Brightness and contrast (B)"));
    button(reload, "view-refresh", QStyle::SP_BrowserReload, QStringLiteral("Reload (Alt+R)"));
    drawn(convert, "transform-scale", ViewerIcon::Convert, QStringLiteral("Convert (C)"));
    button(info, "dialog-information", QStyle::SP_MessageBoxInformation,
           QStringLiteral("Information (I)"));
    bar->addSeparator();
    QAction* zoomIn =
        drawn(nullptr, "zoom-in", ViewerIcon::ZoomIn, QStringLiteral("Zoom in (Num +)"));
    connect(zoomIn, &QAction::triggered, this, [this] { ZoomIn(true); });
    QAction* zoomOut =
        drawn(nullptr, "zoom-out", ViewerIcon::ZoomOut, QStringLiteral("Zoom out (Num -)"));
    connect(zoomOut, &QAction::triggered, this, [this] { ZoomOut(true); });
    button(slideshowAction_, "media-playback-start", QStyle::SP_MediaPlay,
           QStringLiteral("Slideshow (Space)"));
    drawn(comment, "document-edit", ViewerIcon::Comment, QStringLiteral("Edit comment (Alt+C)"));
    drawn(lockAction_, "object-locked", ViewerIcon::Lock, QStringLiteral("Lock size (L)"));
    button(remove, "edit-delete", QStyle::SP_TrashIcon, QStringLiteral("Delete file (Del)"));
    for (QWidget* w : bar->findChildren<QWidget*>())
        w->setFocusPolicy(Qt::NoFocus);
    UpdateSlideshowButton();
}

void ImageViewerWindow::UpdateSlideshowButton() {
    slideshowAction_->setIcon(slideshow_
                                  ? Icon(this, "media-playback-pause", QStyle::SP_MediaPause)
                                  : Icon(this, "media-playback-start", QStyle::SP_MediaPlay));
}

void ImageViewerWindow::ShowContextMenu(const QPoint& globalPos) {
    QMenu menu(this);
    for (QMenu* m : menus_)
        menu.addMenu(m);
    menu.exec(globalPos);
}

void ImageViewerWindow::BuildKeys() {
    using Tool = ImagePictureArea::Tool;
    auto k = [](QKeyCombination key) { return key; };
    keys_.Add(k(Qt::CTRL | Qt::Key_V), [this] { PasteFromClipboard(); });
    keys_.Add(k(Qt::ALT | Qt::Key_R), [this] { Reload(); });
    keys_.Add(k(Qt::CTRL | Qt::Key_S), [this] { Save(); });
    keys_.Add(k(Qt::SHIFT | Qt::ALT | Qt::Key_A), [this] { SaveAs(); });
    keys_.Add(k(Qt::ALT | Qt::Key_C), [this] { EditComment(); });
    keys_.Add(k(Qt::Key_Delete), [this] { DeleteFile(); });
    keys_.Add(k(Qt::Key_F5), [this] { TransferFile(false); });
    keys_.Add(k(Qt::Key_F6), [this] { TransferFile(true); });
    keys_.Add(k(Qt::CTRL | Qt::Key_C), [this] { CopyToClipboard(); });
    keys_.Add(k(Qt::Key_PageUp), [this] { Previous(); });
    keys_.Add(k(Qt::Key_PageDown), [this] { Next(); });
    keys_.Add(k(Qt::Key_Home), [this] { First(); });
    keys_.Add(k(Qt::Key_End), [this] { Last(); });
    keys_.Add(k(Qt::Key_Space), [this] { ToggleSlideshow(); });
    keys_.Add(k(Qt::Key_T), [this] { ToggleTile(); });
    // The keypad keys, and the main keyboard's + and - for keyboards without
    // a keypad.
    keys_.Add({k(Qt::KeypadModifier | Qt::Key_Plus), k(Qt::Key_Plus), k(Qt::SHIFT | Qt::Key_Plus)},
              [this] { ZoomIn(true); });
    keys_.Add({k(Qt::KeypadModifier | Qt::Key_Minus), k(Qt::Key_Minus), k(Qt::Key_F3)},
              [this] { ZoomOut(true); });
    keys_.Add({k(Qt::KeypadModifier | Qt::Key_Asterisk), k(Qt::Key_F4)}, [this] { BestFit(); });
    keys_.Add(k(Qt::KeypadModifier | Qt::Key_Slash), [this] { Original(); });
    keys_.Add(k(Qt::Key_L), [this] { ToggleLockSize(); });
    keys_.Add({k(Qt::Key_Z), k(Qt::Key_M), k(Qt::Key_F2)}, [this] { SetTool(Tool::Magnify); });
    keys_.Add(k(Qt::Key_H), [this] { SetTool(Tool::Hand); });
    keys_.Add(k(Qt::Key_S), [this] { SetTool(Tool::Selection); });
    keys_.Add(k(Qt::Key_C), [this] { Convert(); });
    keys_.Add(k(Qt::Key_B), [this] { BrightnessAndContrast(); });
    keys_.Add(k(Qt::Key_I), [this] { ShowInformation(); });
    // Escape is Cancel, which closes the viewer.
    keys_.Add(k(Qt::Key_Escape), [this] { close(); });
    keys_.Add(k(Qt::Key_Down), [this] { Scroll(0, kArrowScrollStep); });
    keys_.Add(k(Qt::Key_Right), [this] { Scroll(kArrowScrollStep, 0); });
    keys_.Add(k(Qt::Key_Up), [this] { Scroll(0, -kArrowScrollStep); });
    keys_.Add(k(Qt::Key_Left), [this] { Scroll(-kArrowScrollStep, 0); });
}

} // namespace orvo
