#include "platform/win/SysColors.h"

#include <memory>

#include "platform/win/GdiPrivate.h"

namespace win {

namespace {

constexpr COLORREF kClassicScheme[COLOR_COUNT] = {
    RGB(212, 208, 200),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(10, 36, 106),    // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(212, 208, 200),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(10, 36, 106),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(212, 208, 200),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),     // COLOR_3DDKSHADOW
    RGB(212, 208, 200),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(181, 181, 181),  // 25: unused
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(166, 202, 240),  // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(10, 36, 106),    // COLOR_MENUHILIGHT
    RGB(212, 208, 200),  // COLOR_MENUBAR
};

struct SysColorTable {
  COLORREF colors[COLOR_COUNT];
  HBRUSH brushes[COLOR_COUNT] = {};
  SysColorChangeHook hook = nullptr;
  SysColorTable() {
    for (int i = 0; i < COLOR_COUNT; ++i) colors[i] = kClassicScheme[i];
  }
};

SysColorTable& Table() {
  static SysColorTable table;
  return table;
}

void UpdateBrush(int index) {
  SysColorTable& t = Table();
  if (auto* b = gdi::LookupAs<gdi::BrushObject>(t.brushes[index], gdi::ObjKind::Brush))
    b->color = t.colors[index];
}

}  // namespace

COLORREF GetSysColor(int index) {
  if (index < 0 || index >= COLOR_COUNT) return 0;
  return Table().colors[index];
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= COLOR_COUNT) return nullptr;
  SysColorTable& t = Table();
  if (!t.brushes[index]) {
    auto b = std::make_unique<gdi::BrushObject>();
    b->color = t.colors[index];
    b->stock = true;
    t.brushes[index] = gdi::ToHandle<HBRUSH>(gdi::Register(std::move(b)));
  }
  return t.brushes[index];
}

BOOL SetSysColors(int count, const INT* indexes, const COLORREF* colors) {
  if (count < 0 || (count > 0 && (!indexes || !colors))) return FALSE;
  SysColorTable& t = Table();
  for (int i = 0; i < count; ++i) {
    if (indexes[i] < 0 || indexes[i] >= COLOR_COUNT) continue;
    t.colors[indexes[i]] = colors[i] & 0xFFFFFF;
    UpdateBrush(indexes[i]);
  }
  if (t.hook) t.hook();
  return TRUE;
}

void ResetSysColors() {
  SysColorTable& t = Table();
  for (int i = 0; i < COLOR_COUNT; ++i) {
    t.colors[i] = kClassicScheme[i];
    UpdateBrush(i);
  }
  if (t.hook) t.hook();
}

SysColorChangeHook SetSysColorChangeHook(SysColorChangeHook hook) {
  SysColorChangeHook previous = Table().hook;
  Table().hook = hook;
  return previous;
}

}  // namespace win
