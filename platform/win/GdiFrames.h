// The classic 3-D edges, focus rectangles and frame controls (buttons,
// scroll arrows, caption buttons, menu glyphs), drawn in system colours.
#pragma once

#include "platform/win/WinTypes.h"

namespace win {

// Every BDR_* and BF_* combination; with BF_ADJUST the rectangle comes back
// shrunk to the inside of the edge.
BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags);
// A dotted one-pixel frame drawn by XOR: drawing it twice restores the pixels.
BOOL DrawFocusRect(HDC dc, const RECT* rect);
BOOL DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state);

}  // namespace win
