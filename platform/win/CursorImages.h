// The cursors the layer draws itself: the program's own numbered shapes
// (drag, no-drop, splitters, multi-drag, database wait) and the system
// shapes that a desktop has no counterpart for (up arrow, help).
#pragma once

#include <string>
#include <string_view>

#include "platform/win/Input.h"

namespace win {

// By the name LoadCursor gave the cursor ("#65524", "IDC_HELP", ...);
// false when the layer has no picture of its own for it.
bool DrawnCursorImage(const std::string& name, CursorImage* image);

// A cursor file (the program's "CURSOR" resources): the 32 x 32 picture when
// there is one, else the first; pictures stored as PNG are not read. False
// for data that is no cursor file.
bool DecodeCursorFile(std::string_view data, CursorImage* image);

}  // namespace win
