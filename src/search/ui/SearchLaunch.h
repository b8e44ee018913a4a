#pragma once

#include "search/ui/CSearchDlg.h"

class QWidget;

namespace orvo {

class COrvoBrowserView;

// The set-up of a search window opened for a browse window (or for none):
// its directory (the home directory without a window), its selected
// directories, the "Binary" special files, the file groups as ready-made
// patterns and, when the path box holds "?names \"text\"", that search.
SearchWindowSetup MakeSearchWindowSetup(COrvoBrowserView* view,
                                        const QString& quickForm = QString());

// Opens a new search window beside parent; it frees itself when closed.
CSearchDlg* OpenSearchWindow(const SearchWindowSetup& setup, QWidget* parent);

// The selection keys of a browse window: the Selection dialog, applied to
// the window's rows when confirmed. select: Numpad + (else Numpad -);
// likeSelection: Shift held; overList: placed over the list.
void RunSelectionDialog(COrvoBrowserView& view, bool select, bool likeSelection, bool overList);

} // namespace orvo
