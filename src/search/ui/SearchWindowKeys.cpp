#include "search/ui/SearchWindowKeys.h"

#include "search/ui/CSearchDlg.h"
#include "search/ui/SearchHitCommands.h"
#include "search/ui/SearchResultsPane.h"
#include "search/ui/SearchRunControl.h"

#include <QKeyEvent>

namespace orvo {

SearchWindowKeys::SearchWindowKeys(CSearchDlg& window) : window_(window) {}

bool SearchWindowKeys::eventFilter(QObject* watched, QEvent* event) {
    const bool keyEvent =
        event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
    if ((watched == window_.Results().DetailsList() || watched == window_.Results().IconsList()) &&
        keyEvent && HandleListKey(static_cast<QKeyEvent*>(event))) {
        // The main frame's shortcuts (view modes, F9, Delete) would take
        // these keys first; in the results they are the list's own.
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool SearchWindowKeys::HandleListKey(QKeyEvent* key) {
    const bool dryRun = key->type() == QEvent::ShortcutOverride;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const int k = key->key();
    auto act = [dryRun](auto&& command) {
        if (!dryRun)
            command();
        return true;
    };
    if (mods == Qt::NoModifier) {
        switch (k) {
        case Qt::Key_Delete:
            return act([this] { window_.Hits().DeleteSelected(); });
        case Qt::Key_F3:
            return act([this] { window_.Hits().QuickView(); });
        case Qt::Key_Escape:
        case Qt::Key_Backspace:
            if (!window_.Run().IsSearching())
                return false;
            return act([this, k] {
                window_.Run().PressKey(k == Qt::Key_Escape ? SearchControl::kEscape
                                                           : SearchControl::kBackspace);
            });
        }
    }
    if (mods == Qt::ControlModifier) {
        switch (k) {
        case Qt::Key_C:
            return act([this] { window_.Hits().CopyFilesToClipboard(); });
        case Qt::Key_A:
            return act([this] { window_.Results().CurrentList()->selectAll(); });
        case Qt::Key_Space:
            return act([this] { window_.Hits().CopyPathsToClipboard(); });
        }
    }
    if (mods == Qt::ShiftModifier && k == Qt::Key_Space)
        return act([this] { window_.Hits().CopyNamesToClipboard(); });
    return HandleWindowKey(key);
}

bool SearchWindowKeys::HandleWindowKey(QKeyEvent* key) {
    const bool dryRun = key->type() == QEvent::ShortcutOverride;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const int k = key->key();
    if (mods == Qt::NoModifier && k == Qt::Key_F9) {
        if (!dryRun)
            window_.Hits().CreateList();
        return true;
    }
    if (mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
        // Shift turns the digit keys into their symbols on most layouts.
        const int digits[][2] = {{Qt::Key_1, Qt::Key_Exclam},
                                 {Qt::Key_2, Qt::Key_At},
                                 {Qt::Key_3, Qt::Key_NumberSign},
                                 {Qt::Key_4, Qt::Key_Dollar}};
        for (int v = 0; v < 4; ++v) {
            if (k == digits[v][0] || k == digits[v][1]) {
                if (!dryRun)
                    window_.Results().SetResultsView(
                        static_cast<SearchResultsPane::ResultsView>(v));
                return true;
            }
        }
    }
    return false;
}

} // namespace orvo
