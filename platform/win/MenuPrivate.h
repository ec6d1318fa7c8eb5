// Inside of the menus: the menu records that the menu table keeps and the
// menu loop reads, and what each side gives the other. Only the menu modules
// of the win layer include this.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/win/MenuWindows.h"

namespace win::menu {

struct Item {
  UINT type = 0;
  UINT state = 0;
  UINT id = 0;
  HMENU sub = nullptr;
  ULONG_PTR data = 0;
  std::string text;
  HBITMAP bitmap = nullptr;
  RECT rect{};  // popup: client coordinates; bar: window coordinates
};

struct Menu {
  bool bar = false;
  std::vector<Item> items;
  HWND window = nullptr;  // the window whose bar it is
};

Menu* Find(HMENU h);

inline bool IsSeparator(const Item& it) { return it.type & MFT_SEPARATOR; }
inline bool IsDisabled(const Item& it) { return it.state & MFS_GRAYED; }
// Room between columns for the rule of MFT_MENUBARBREAK.
constexpr int kColumnRule = 6;

// The column of each item of a drop-down.
std::vector<int> ColumnsOf(const Menu* m);
// The character after a single "&", lower case, or 0.
int Mnemonic(const std::string& text);
// Lays the items of a drop-down out top to bottom, in a new column at each
// break; gives the size of all the items.
SIZE LayoutPopup(Menu* m, HWND owner);
void DrawItem(HDC dc, HMENU h, const Item& it, const RECT& r, bool selected, bool bar, HWND owner);
// Paints the bar of a window into its window DC.
void PaintBar(HWND hwnd, HDC dc);

// An open menu window: the menu it shows and, for a menu taller than the
// work area, how far its items are scrolled between the two arrows.
struct OpenMenu {
  HMENU menu = nullptr;
  int arrow = 0;       // height of each scroll arrow; 0 when the menu fits
  int view = 0;        // height of the band between the arrows
  int content = 0;     // height of all the items
  int scroll = 0;      // the item y shown at the top of the band
  int hoverArrow = 0;  // -1 (up) or 1 (down) while the mouse rests on an arrow
};
std::unordered_map<HWND, OpenMenu>& MenuOfWindow();
// Where an item of an open menu is in its window's client area.
RECT Shown(const OpenMenu& o, RECT r);

// While a menu loop runs: the item highlighted in a menu it shows, or -1.
int ItemHighlighted(HMENU h);
bool Tracking();
// The window procedure of the menu windows' class.
LRESULT MenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace win::menu
