#include "platform/win/OwnBitmaps.h"

#include "platform/win/Gdi.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/SysColors.h"

namespace win {

namespace {

// Draws a picture of width x height on the button face through fn(dc).
template <class F>
HBITMAP Picture(int width, int height, F&& fn) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bm = CreateBitmap(width, height, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bm);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  fn(dc);
  SelectObject(dc, old);
  DeleteDC(dc);
  return bm;
}

HBITMAP CheckBoxes() {
  constexpr int c = CHECKBOX_CELL;
  return Picture(4 * c, 3 * c, [](HDC dc) {
    const UINT checkStates[4] = {0, DFCS_CHECKED, DFCS_PUSHED, DFCS_PUSHED | DFCS_CHECKED};
    const UINT lastRow[4] = {DFCS_INACTIVE, DFCS_INACTIVE | DFCS_CHECKED, DFCS_BUTTON3STATE | DFCS_CHECKED,
                             DFCS_BUTTON3STATE | DFCS_CHECKED | DFCS_PUSHED};
    for (int col = 0; col < 4; ++col) {
      RECT cell{col * c, 0, col * c + c, c};
      DrawFrameControl(dc, &cell, DFC_BUTTON, DFCS_BUTTONCHECK | checkStates[col]);
      RECT radio{col * c, c, col * c + c - 1, 2 * c - 1};
      DrawFrameControl(dc, &radio, DFC_BUTTON, DFCS_BUTTONRADIO | checkStates[col]);
      RECT last{col * c, 2 * c, col * c + c, 3 * c};
      DrawFrameControl(dc, &last, DFC_BUTTON, lastRow[col]);
    }
  });
}

HBITMAP Frame(int width, int height, UINT type, UINT state) {
  return Picture(width, height, [&](HDC dc) {
    RECT r{0, 0, width, height};
    DrawFrameControl(dc, &r, type, state);
  });
}

}  // namespace

HBITMAP LoadBitmap(HINSTANCE instance, const char* name) {
  auto id = reinterpret_cast<uintptr_t>(name);
  if (instance || id > 0xFFFF) return nullptr;
  switch (static_cast<int>(id)) {
    case OBM_CHECKBOXES: return CheckBoxes();
    case OBM_CHECK: return Frame(13, 13, DFC_MENU, DFCS_MENUCHECK);
    case OBM_MNARROW: return Frame(13, 13, DFC_MENU, DFCS_MENUARROW);
    case OBM_UPARROW: return Frame(16, 16, DFC_SCROLL, DFCS_SCROLLUP);
    case OBM_DNARROW: return Frame(16, 16, DFC_SCROLL, DFCS_SCROLLDOWN);
    case OBM_LFARROW: return Frame(16, 16, DFC_SCROLL, DFCS_SCROLLLEFT);
    case OBM_RGARROW: return Frame(16, 16, DFC_SCROLL, DFCS_SCROLLRIGHT);
    case OBM_SIZE: return Frame(16, 16, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    case OBM_CLOSE: return Frame(16, 14, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    default: return nullptr;
  }
}

}  // namespace win
