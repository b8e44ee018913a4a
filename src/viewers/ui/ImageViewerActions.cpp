#include "viewers/ui/ImageViewerActions.h"

#include "viewers/ui/ImageDirectoryWalk.h"
#include "viewers/ui/ImageViewControl.h"
#include "viewers/ui/ImageViewerCommands.h"
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

ImageViewerActions::ImageViewerActions(ImageViewerWindow& window) : window_(window) {}

void ImageViewerActions::Build() {
    BuildMenusAndButtons();
    BuildKeys();
}

void ImageViewerActions::BuildMenusAndButtons() {
    // Menu entries name their keys in the text; the keys themselves are
    // taken by the window (BuildKeys), before any shortcut could see them.
    auto add = [](QMenu* menu, const QString& text, const QString& key, auto* receiver, auto slot) {
        QAction* a = menu->addAction(key.isEmpty() ? text : text + QLatin1Char('\t') + key);
        connect(a, &QAction::triggered, receiver, slot);
        return a;
    };
    using Tool = ImagePictureArea::Tool;
    ImageViewerCommands* commands = &window_.Commands();
    ImageDirectoryWalk* walk = &window_.Walk();
    ImageViewControl* viewControl = &window_.ViewControl();

    QMenu* file = window_.menuBar()->addMenu(QStringLiteral("&File"));
    add(file, QStringLiteral("New from clipboard"), QStringLiteral("Ctrl+V"), commands,
        &ImageViewerCommands::PasteFromClipboard);
    QAction* reload = add(file, QStringLiteral("Reload"), QStringLiteral("Alt+R"), commands,
                          &ImageViewerCommands::Reload);
    add(file, QStringLiteral("Save"), QStringLiteral("Ctrl+S"), commands,
        &ImageViewerCommands::Save);
    add(file, QStringLiteral("Save as..."), QStringLiteral("Shift+Alt+A"), commands,
        &ImageViewerCommands::SaveAs);
    file->addSeparator();
    QAction* comment = add(file, QStringLiteral("Edit comment"), QStringLiteral("Alt+C"), commands,
                           &ImageViewerCommands::EditComment);
    QAction* remove = add(file, QStringLiteral("Delete file"), QStringLiteral("Del"), commands,
                          &ImageViewerCommands::DeleteFile);
    add(file, QStringLiteral("Copy to..."), QStringLiteral("F5"), commands,
        [commands] { commands->TransferFile(false); });
    add(file, QStringLiteral("Move to..."), QStringLiteral("F6"), commands,
        [commands] { commands->TransferFile(true); });
    file->addSeparator();
    add(file, QStringLiteral("Exit"), QString(), &window_, &QWidget::close);

    QMenu* edit = window_.menuBar()->addMenu(QStringLiteral("&Edit"));
    QAction* copy = add(edit, QStringLiteral("Copy"), QStringLiteral("Ctrl+C"), commands,
                        &ImageViewerCommands::CopyToClipboard);
    add(edit, QStringLiteral("Paste"), QStringLiteral("Ctrl+V"), commands,
        &ImageViewerCommands::PasteFromClipboard);

    QMenu* view = window_.menuBar()->addMenu(QStringLiteral("&View"));
    QAction* previous = add(view, QStringLiteral("Previous image"), QStringLiteral("Page Up"), walk,
                            &ImageDirectoryWalk::Previous);
    QAction* next = add(view, QStringLiteral("Next image"), QStringLiteral("Page Down"), walk,
                        &ImageDirectoryWalk::Next);
    QAction* first = add(view, QStringLiteral("First image"), QStringLiteral("Home"), walk,
                         &ImageDirectoryWalk::First);
    QAction* last = add(view, QStringLiteral("Last image"), QStringLiteral("End"), walk,
                        &ImageDirectoryWalk::Last);
    view->addSeparator();
    slideshowAction_ = add(view, QStringLiteral("Slideshow"), QStringLiteral("Space"), walk,
                           &ImageDirectoryWalk::ToggleSlideshow);
    QAction* tile = add(view, QStringLiteral("Tile"), QStringLiteral("T"), viewControl,
                        &ImageViewControl::ToggleTile);
    tile->setCheckable(true);
    QAction* info = add(view, QStringLiteral("Information"), QStringLiteral("I"), commands,
                        &ImageViewerCommands::ShowInformation);

    QMenu* zoom = window_.menuBar()->addMenu(QStringLiteral("&Zoom"));
    // From the menu the zoom changes without moving the view.
    add(zoom, QStringLiteral("Zoom in"), QStringLiteral("Num +"), viewControl,
        [viewControl] { viewControl->ZoomIn(false); });
    add(zoom, QStringLiteral("Zoom out"), QStringLiteral("Num -, F3"), viewControl,
        [viewControl] { viewControl->ZoomOut(false); });
    add(zoom, QStringLiteral("Best fit"), QStringLiteral("Num *, F4"), viewControl,
        &ImageViewControl::BestFit);
    add(zoom, QStringLiteral("Orignally"), QStringLiteral("Num /"), viewControl,
        &ImageViewControl::Original);
    zoom->addSeparator();
    QAction* lock = add(zoom, QStringLiteral("Lock size"), QStringLiteral("L"), viewControl,
                        &ImageViewControl::ToggleLockSize);
    lock->setCheckable(true);

    QMenu* tools = window_.menuBar()->addMenu(QStringLiteral("&Tools"));
    auto* toolGroup = new QActionGroup(&window_);
    QAction* magnify = add(tools, QStringLiteral("Magnify"), QStringLiteral("Z, M, F2"),
                           viewControl, [viewControl] { viewControl->SetTool(Tool::Magnify); });
    QAction* hand = add(tools, QStringLiteral("Hand"), QStringLiteral("H"), viewControl,
                        [viewControl] { viewControl->SetTool(Tool::Hand); });
    QAction* selection = add(tools, QStringLiteral("Selection"), QStringLiteral("S"), viewControl,
                             [viewControl] { viewControl->SetTool(Tool::Selection); });
    for (QAction* a : {magnify, hand, selection}) {
        a->setCheckable(true);
        toolGroup->addAction(a);
    }

    QMenu* image = window_.menuBar()->addMenu(QStringLiteral("&Image"));
    QAction* convert = add(image, QStringLiteral("Convert"), QStringLiteral("C"), commands,
                           &ImageViewerCommands::Convert);
    QAction* colours = add(image, QStringLiteral("Brithness and contrast"), QStringLiteral("B"),
                           commands, &ImageViewerCommands::BrightnessAndContrast);
    menus_ = {file, edit, view, zoom, tools, image};

    // The button row: the keys keep the view centred, and so do the buttons.
    QToolBar* bar = window_.addToolBar(QStringLiteral("Image"));
    bar->setMovable(false);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setIconSize(QSize(20, 20));
    auto place = [this, bar](QAction* action, const QIcon& icon, const QString& tip) {
        QAction* b = action ? action : new QAction(&window_);
        b->setIcon(icon);
        b->setToolTip(tip);
        bar->addAction(b);
        return b;
    };
    auto button = [this, place](QAction* action, const char* theme, QStyle::StandardPixmap fallback,
                                const QString& tip) {
        return place(action, Icon(&window_, theme, fallback), tip);
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
    connect(zoomIn, &QAction::triggered, viewControl, [viewControl] { viewControl->ZoomIn(true); });
    QAction* zoomOut =
        drawn(nullptr, "zoom-out", ViewerIcon::ZoomOut, QStringLiteral("Zoom out (Num -)"));
    connect(zoomOut, &QAction::triggered, viewControl,
            [viewControl] { viewControl->ZoomOut(true); });
    button(slideshowAction_, "media-playback-start", QStyle::SP_MediaPlay,
           QStringLiteral("Slideshow (Space)"));
    drawn(comment, "document-edit", ViewerIcon::Comment, QStringLiteral("Edit comment (Alt+C)"));
    drawn(lock, "object-locked", ViewerIcon::Lock, QStringLiteral("Lock size (L)"));
    button(remove, "edit-delete", QStyle::SP_TrashIcon, QStringLiteral("Delete file (Del)"));
    for (QWidget* w : bar->findChildren<QWidget*>())
        w->setFocusPolicy(Qt::NoFocus);

    // The check marks and the slideshow button show the state whatever
    // changed it.
    connect(viewControl, &ImageViewControl::TileModeChanged, tile, &QAction::setChecked);
    connect(viewControl, &ImageViewControl::SizeLockChanged, lock, &QAction::setChecked);
    connect(viewControl, &ImageViewControl::ToolChanged, this,
            [magnify, hand, selection](Tool tool) {
                hand->setChecked(tool == Tool::Hand);
                magnify->setChecked(tool == Tool::Magnify);
                selection->setChecked(tool == Tool::Selection);
            });
    connect(walk, &ImageDirectoryWalk::SlideshowToggled, this,
            &ImageViewerActions::ShowSlideshowState);
    ShowSlideshowState(walk->SlideshowRunning());
}

void ImageViewerActions::ShowSlideshowState(bool running) {
    slideshowAction_->setIcon(running
                                  ? Icon(&window_, "media-playback-pause", QStyle::SP_MediaPause)
                                  : Icon(&window_, "media-playback-start", QStyle::SP_MediaPlay));
}

void ImageViewerActions::ShowContextMenu(const QPoint& globalPos) {
    QMenu menu(&window_);
    for (QMenu* m : menus_)
        menu.addMenu(m);
    menu.exec(globalPos);
}

void ImageViewerActions::BuildKeys() {
    using Tool = ImagePictureArea::Tool;
    ImageViewerCommands* commands = &window_.Commands();
    ImageDirectoryWalk* walk = &window_.Walk();
    ImageViewControl* viewControl = &window_.ViewControl();
    auto k = [](QKeyCombination key) { return key; };
    keys_.Add(k(Qt::CTRL | Qt::Key_V), [commands] { commands->PasteFromClipboard(); });
    keys_.Add(k(Qt::ALT | Qt::Key_R), [commands] { commands->Reload(); });
    keys_.Add(k(Qt::CTRL | Qt::Key_S), [commands] { commands->Save(); });
    keys_.Add(k(Qt::SHIFT | Qt::ALT | Qt::Key_A), [commands] { commands->SaveAs(); });
    keys_.Add(k(Qt::ALT | Qt::Key_C), [commands] { commands->EditComment(); });
    keys_.Add(k(Qt::Key_Delete), [commands] { commands->DeleteFile(); });
    keys_.Add(k(Qt::Key_F5), [commands] { commands->TransferFile(false); });
    keys_.Add(k(Qt::Key_F6), [commands] { commands->TransferFile(true); });
    keys_.Add(k(Qt::CTRL | Qt::Key_C), [commands] { commands->CopyToClipboard(); });
    keys_.Add(k(Qt::Key_PageUp), [walk] { walk->Previous(); });
    keys_.Add(k(Qt::Key_PageDown), [walk] { walk->Next(); });
    keys_.Add(k(Qt::Key_Home), [walk] { walk->First(); });
    keys_.Add(k(Qt::Key_End), [walk] { walk->Last(); });
    keys_.Add(k(Qt::Key_Space), [walk] { walk->ToggleSlideshow(); });
    keys_.Add(k(Qt::Key_T), [viewControl] { viewControl->ToggleTile(); });
    // The keypad keys, and the main keyboard's + and - for keyboards without
    // a keypad.
    keys_.Add({k(Qt::KeypadModifier | Qt::Key_Plus), k(Qt::Key_Plus), k(Qt::SHIFT | Qt::Key_Plus)},
              [viewControl] { viewControl->ZoomIn(true); });
    keys_.Add({k(Qt::KeypadModifier | Qt::Key_Minus), k(Qt::Key_Minus), k(Qt::Key_F3)},
              [viewControl] { viewControl->ZoomOut(true); });
    keys_.Add({k(Qt::KeypadModifier | Qt::Key_Asterisk), k(Qt::Key_F4)},
              [viewControl] { viewControl->BestFit(); });
    keys_.Add(k(Qt::KeypadModifier | Qt::Key_Slash), [viewControl] { viewControl->Original(); });
    keys_.Add(k(Qt::Key_L), [viewControl] { viewControl->ToggleLockSize(); });
    keys_.Add({k(Qt::Key_Z), k(Qt::Key_M), k(Qt::Key_F2)},
              [viewControl] { viewControl->SetTool(Tool::Magnify); });
    keys_.Add(k(Qt::Key_H), [viewControl] { viewControl->SetTool(Tool::Hand); });
    keys_.Add(k(Qt::Key_S), [viewControl] { viewControl->SetTool(Tool::Selection); });
    keys_.Add(k(Qt::Key_C), [commands] { commands->Convert(); });
    keys_.Add(k(Qt::Key_B), [commands] { commands->BrightnessAndContrast(); });
    keys_.Add(k(Qt::Key_I), [commands] { commands->ShowInformation(); });
    // Escape is Cancel, which closes the viewer.
    keys_.Add(k(Qt::Key_Escape), [this] { window_.close(); });
    keys_.Add(k(Qt::Key_Down), [viewControl] { viewControl->Scroll(0, kArrowScrollStep); });
    keys_.Add(k(Qt::Key_Right), [viewControl] { viewControl->Scroll(kArrowScrollStep, 0); });
    keys_.Add(k(Qt::Key_Up), [viewControl] { viewControl->Scroll(0, -kArrowScrollStep); });
    keys_.Add(k(Qt::Key_Left), [viewControl] { viewControl->Scroll(-kArrowScrollStep, 0); });
}

} // namespace orvo
