// The system colour table (a classic light scheme) and its brushes.
#pragma once

#include "platform/win/WinTypes.h"

namespace win {

constexpr int COLOR_COUNT = 31;  // COLOR_SCROLLBAR .. COLOR_MENUBAR

// 0 for an index outside the table.
COLORREF GetSysColor(int index);
// A brush of the colour that follows later changes of the table; it is a
// stock object (DeleteObject leaves it alone). Null outside the table.
HBRUSH GetSysColorBrush(int index);
// Changes entries of the table at run time and tells the window layer (which
// sends WM_SYSCOLORCHANGE to its windows).
BOOL SetSysColors(int count, const INT* indexes, const COLORREF* colors);
// Puts the classic scheme back (tests that changed colours call this).
void ResetSysColors();

// Called after every SetSysColors; the window layer installs it. Gives the
// hook it replaces, so that a test can put it back.
using SysColorChangeHook = void (*)();
SysColorChangeHook SetSysColorChangeHook(SysColorChangeHook hook);

}  // namespace win
