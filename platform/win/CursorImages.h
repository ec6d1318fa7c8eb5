// The cursors the layer draws itself: the program's own numbered shapes
// (drag, no-drop, splitters, multi-drag, database wait) and the system
// shapes that a desktop has no counterpart for (up arrow, help).
#pragma once

#include <string>

#include "Input.h"

namespace win {

// By the name LoadCursor gave the cursor ("#65524", "IDC_HELP", ...);
// false when the layer has no picture of its own for it.
bool DrawnCursorImage(const std::string& name, CursorImage* image);

}  // namespace win
