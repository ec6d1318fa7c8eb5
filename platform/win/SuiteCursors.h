// The pictures of the control suite's own cursors (drag, copy, multi-drag,
// remove, no-drop, splitters, auto-scroll anchors and directions, pointing
// hand). The program has no cursor resources for them, so the layer draws
// them; LoadCursor with an instance and one of these names gives them.
#pragma once

#include <string>

#include "platform/win/Input.h"

namespace win {

// "CX_DRAGCOPYCURSOR", "CX_FULLSCROLLCURSOR", "CX_HORSCROLLCURSOR",
// "CX_VERSCROLLCURSOR", "CX_UPSCROLLCURSOR", "CX_RIGHTSCROLLCURSOR",
// "CX_DOWNSCROLLCURSOR", "CX_LEFTSCROLLCURSOR", "CX_REMOVECURSOR",
// "CX_VERTSIZECURSOR", "CX_HORZSIZECURSOR", "CX_MULTIDRAGCURSOR",
// "CX_NODROPCURSOR", "CX_DRAGCURSOR", "CX_HANDPOINTCURSOR", and the editors'
// "CXEDIT_MOUSEWHEEL" (the vertical scroll anchor): 32 x 32, black shapes
// with a white outline; false for any other name.
bool SuiteCursorImage(const std::string& name, CursorImage* image);

}  // namespace win
