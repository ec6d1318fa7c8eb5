#include "platform/win/MenuWindows.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/win/ChildNotify.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiFonts.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/NonClient.h"
#include "platform/win/Painting.h"
#include "platform/win/Rects.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysParams.h"
#include "platform/win/UserPrivate.h"
#include "platform/win/Windows.h"
#include "platform/win/WindowsPrivate.h"
#include "platform/win/GdiScopes.h"

namespace win {

namespace {

// Owner-draw states (the same numbers the button and list classes use).
constexpr UINT kOdsSelected = 0x1, kOdsGrayed = 0x2, kOdsDisabled = 0x4, kOdsChecked = 0x8, kOdsDefault = 0x20;
constexpr UINT kOdaDrawEntire = 0x1;

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

std::unordered_map<HMENU, std::unique_ptr<Menu>>& Menus() {
  static std::unordered_map<HMENU, std::unique_ptr<Menu>> menus;
  return menus;
}
std::unordered_map<HWND, HMENU>& WindowMenus() {
  static std::unordered_map<HWND, HMENU> map;
  return map;
}
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
std::unordered_map<HWND, OpenMenu>& MenuOfWindow() {
  static std::unordered_map<HWND, OpenMenu> map;
  return map;
}

OpenMenu* OpenMenuOf(HWND wnd) {
  auto it = MenuOfWindow().find(wnd);
  return it == MenuOfWindow().end() ? nullptr : &it->second;
}

// Where an item of an open menu is in its window's client area.
RECT Shown(const OpenMenu& o, RECT r) {
  OffsetRect(&r, 0, o.arrow - o.scroll);
  return r;
}

// Timers of menu windows: scrolling while the mouse rests on an arrow, and
// a sub-menu opening after the mouse rested on its item.
constexpr UINT_PTR kScrollTimer = 0xFFF1;
constexpr UINT_PTR kShowTimer = 0xFFF2;
constexpr UINT kScrollInterval = 100;

Menu* Find(HMENU h) {
  auto it = Menus().find(h);
  return it == Menus().end() ? nullptr : it->second.get();
}

HMENU NewMenu(bool bar) {
  static uintptr_t next = 0x4000;
  auto h = reinterpret_cast<HMENU>(next += 4);
  auto m = std::make_unique<Menu>();
  m->bar = bar;
  Menus()[h] = std::move(m);
  return h;
}

bool IsSeparator(const Item& it) { return it.type & MFT_SEPARATOR; }
bool IsDisabled(const Item& it) { return it.state & MFS_GRAYED; }
// A drop-down starts a new column at such an item, the bar a new row.
bool IsBreak(const Item& it) { return it.type & (MFT_MENUBREAK | MFT_MENUBARBREAK); }
// Room between columns for the rule of MFT_MENUBARBREAK.
constexpr int kColumnRule = 6;

// The column of each item of a drop-down.
std::vector<int> ColumnsOf(const Menu* m) {
  std::vector<int> columns(m->items.size(), 0);
  for (size_t i = 1; i < m->items.size(); ++i) columns[i] = columns[i - 1] + (IsBreak(m->items[i]) ? 1 : 0);
  return columns;
}

// An item by position, or by command anywhere in the menu and its sub-menus.
Item* Locate(HMENU h, UINT item, bool byPosition, Menu** holder = nullptr) {
  Menu* m = Find(h);
  if (!m) return nullptr;
  if (byPosition) {
    if (item >= m->items.size()) return nullptr;
    if (holder) *holder = m;
    return &m->items[item];
  }
  for (Item& it : m->items) {
    if (!it.sub && it.id == item) {
      if (holder) *holder = m;
      return &it;
    }
  }
  for (Item& it : m->items)
    if (it.sub)
      if (Item* found = Locate(it.sub, item, false, holder)) return found;
  return nullptr;
}

Item ItemFromFlags(UINT flags, UINT_PTR idNewItem, const char* text) {
  Item it;
  it.type = flags & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP | MFT_MENUBREAK | MFT_MENUBARBREAK | MFT_RIGHTJUSTIFY);
  it.state = flags & (MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT);
  if (flags & MF_POPUP)
    it.sub = reinterpret_cast<HMENU>(idNewItem);
  else
    it.id = static_cast<UINT>(idNewItem);
  if (flags & MF_OWNERDRAW)
    it.data = reinterpret_cast<ULONG_PTR>(text);
  else if (flags & MF_BITMAP)
    it.bitmap = reinterpret_cast<HBITMAP>(const_cast<char*>(text));
  else if (text && !(flags & MF_SEPARATOR))
    it.text = text;
  return it;
}

// The character after a single "&", lower case, or 0.
int Mnemonic(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return std::tolower(static_cast<unsigned char>(text[i + 1]));
  }
  return 0;
}

HFONT MenuFont(bool bold = false) {
  NONCLIENTMETRICS m;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
  if (bold) m.lfMenuFont.lfWeight = FW_BOLD;
  return CreateFontIndirect(&m.lfMenuFont);
}

SIZE TextSize(HDC dc, const std::string& text, bool bold) {
  HFONT font = MenuFont(bold);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, 0, 0};
  DrawText(dc, text.empty() ? " " : text.c_str(), text.empty() ? 1 : static_cast<int>(text.size()), &r,
           DT_SINGLELINE | DT_CALCRECT);
  SelectObject(dc, old);
  DeleteObject(font);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

std::pair<std::string, std::string> SplitTab(const std::string& text) {
  size_t tab = text.find('\t');
  if (tab == std::string::npos) return {text, std::string()};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

void SendMeasure(HWND owner, Item& it, UINT* width, UINT* height) {
  MEASUREITEMSTRUCT mis;
  mis.CtlType = ODT_MENU;
  mis.itemID = it.id;
  mis.itemData = it.data;
  mis.itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENU));
  if (owner) SendMessage(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  *width = mis.itemWidth;
  *height = mis.itemHeight;
}

// Lays the items of a drop-down out top to bottom, in a new column at each
// break; gives the size of all the items.
SIZE LayoutPopup(Menu* m, HWND owner) {
  struct Column {
    size_t first = 0;
    bool rule = false;
    int textW = 0, keyW = 0, ownerW = 0;
  };
  HDC dc = GetDC(nullptr);
  int check = GetSystemMetrics(SM_CXMENUCHECK);
  std::vector<Column> columns;
  std::vector<int> heights;
  for (size_t i = 0; i < m->items.size(); ++i) {
    Item& it = m->items[i];
    if (columns.empty() || IsBreak(it)) {
      Column c;
      c.first = i;
      c.rule = !columns.empty() && (it.type & MFT_MENUBARBREAK);
      columns.push_back(c);
    }
    Column& c = columns.back();
    int h = 0;
    if (it.type & MFT_OWNERDRAW) {
      UINT w = 0, hh = 0;
      SendMeasure(owner, it, &w, &hh);
      c.ownerW = std::max<int>(c.ownerW, static_cast<int>(w));
      h = static_cast<int>(hh);
    } else if (IsSeparator(it)) {
      h = GetSystemMetrics(SM_CYMENU) / 2;
    } else {
      auto [label, key] = SplitTab(it.text);
      SIZE size = TextSize(dc, label, it.state & MFS_DEFAULT);
      c.textW = std::max<int>(c.textW, size.cx);
      if (!key.empty()) c.keyW = std::max<int>(c.keyW, TextSize(dc, key, false).cx);
      h = std::max<int>(GetSystemMetrics(SM_CYMENU) - 1, size.cy + 4);
    }
    heights.push_back(h);
  }
  ReleaseDC(nullptr, dc);
  int x = 0, height = 0;
  for (size_t k = 0; k < columns.size(); ++k) {
    const Column& c = columns[k];
    if (c.rule) x += kColumnRule;
    int width = std::max(check + 4 + c.textW + (c.keyW ? 16 + c.keyW : 0) + check + 4, c.ownerW + check);
    width = std::max(width, 40);
    size_t end = k + 1 < columns.size() ? columns[k + 1].first : m->items.size();
    int y = 0;
    for (size_t i = c.first; i < end; ++i) {
      m->items[i].rect = RECT{x, y, x + width, y + heights[i]};
      y += heights[i];
    }
    height = std::max(height, y);
    x += width;
  }
  return SIZE{std::max(x, 40), std::max(height, 4)};
}

RECT BarRect(HWND hwnd, int height) {
  wnd::Window* w = wnd::Lookup(hwnd);
  if (!w) return RECT{};
  NonClientLayout l = LayoutNonClient(w->style, w->exStyle, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top);
  return RECT{l.edgeOuter.left, l.edgeOuter.top, l.edgeOuter.right, l.edgeOuter.top + height};
}

// Lays the bar's items out left to right, wrapping to more rows when they do
// not fit; gives the bar's height.
int LayoutBar(HWND hwnd, Menu* m, int width) {
  if (!m || m->items.empty()) return 0;
  wnd::Window* w = wnd::Lookup(hwnd);
  if (!w) return 0;
  NonClientLayout l = LayoutNonClient(w->style, w->exStyle, width, 1000);
  int left = l.edgeOuter.left, right = std::max(l.edgeOuter.right, left + 1), top = l.edgeOuter.top;
  int row = GetSystemMetrics(SM_CYMENU);
  HDC dc = GetDC(nullptr);
  int x = left, y = top;
  for (Item& it : m->items) {
    int iw = 0, ih = row;
    if (it.type & MFT_OWNERDRAW) {
      UINT mw = 0, mh = 0;
      SendMeasure(w->handle, it, &mw, &mh);
      iw = static_cast<int>(mw);
      ih = std::max<int>(row, static_cast<int>(mh));
    } else if (IsSeparator(it)) {
      iw = 6;
    } else {
      iw = TextSize(dc, SplitTab(it.text).first, false).cx + 12;
    }
    if (x > left && (x + iw > right || IsBreak(it))) {
      x = left;
      y += row;
    }
    it.rect = RECT{x, y, x + iw, y + ih};
    x += iw;
  }
  ReleaseDC(nullptr, dc);
  return y - top + row;
}

// Painting ------------------------------------------------------------------------

void DrawArrowOrCheck(HDC dc, RECT r, UINT kind, COLORREF color) {
  // A small glyph in the item's colour: check, bullet or right arrow.
  HBRUSH b = CreateSolidBrush(color);
  HGDIOBJ oldBrush = SelectObject(dc, b);
  HPEN p = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ oldPen = SelectObject(dc, p);
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  if (kind == DFCS_MENUARROW) {
    POINT pts[3] = {{cx - 2, cy - 4}, {cx + 2, cy}, {cx - 2, cy + 4}};
    Polygon(dc, pts, 3);
  } else if (kind == DFCS_MENUBULLET) {
    Ellipse(dc, cx - 3, cy - 3, cx + 3, cy + 3);
  } else {
    for (int d = 0; d < 3; ++d) {
      MoveToEx(dc, cx - 3, cy - 1 + d, nullptr);
      LineTo(dc, cx - 1, cy + 1 + d);
      LineTo(dc, cx + 4, cy - 4 + d);
    }
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(p);
  DeleteObject(b);
}

UINT OwnerDrawState(const Item& it, bool selected) {
  UINT s = 0;
  if (selected) s |= kOdsSelected;
  if (it.state & MFS_GRAYED) s |= kOdsGrayed | kOdsDisabled;
  if (it.state & MFS_CHECKED) s |= kOdsChecked;
  if (it.state & MFS_DEFAULT) s |= kOdsDefault;
  return s;
}

void DrawItem(HDC dc, HMENU h, const Item& it, const RECT& r, bool selected, bool bar, HWND owner) {
  if (it.type & MFT_OWNERDRAW) {
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_MENU;
    dis.itemID = it.id;
    dis.itemAction = kOdaDrawEntire;
    dis.itemState = OwnerDrawState(it, selected);
    dis.hwndItem = reinterpret_cast<HWND>(h);
    dis.hDC = dc;
    dis.rcItem = r;
    dis.itemData = it.data;
    int saved = SaveDC(dc);
    if (owner) SendMessage(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    RestoreDC(dc, saved);
    return;
  }
  bool grayed = IsDisabled(it);
  FillRect(dc, &r, GetSysColorBrush(selected && !bar ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (IsSeparator(it)) {
    if (!bar) {
      RECT line{r.left + 1, (r.top + r.bottom) / 2 - 1, r.right - 1, (r.top + r.bottom) / 2 + 1};
      DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    }
    return;
  }
  if (selected && bar) {
    RECT e = r;
    DrawEdge(dc, &e, BDR_SUNKENOUTER, BF_RECT);
  }
  COLORREF color = grayed ? GetSysColor(COLOR_GRAYTEXT)
                          : GetSysColor(selected && !bar ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  int check = GetSystemMetrics(SM_CXMENUCHECK);
  if (!bar && (it.state & MFS_CHECKED))
    DrawArrowOrCheck(dc, RECT{r.left, r.top, r.left + check + 4, r.bottom},
                     (it.type & MFT_RADIOCHECK) ? DFCS_MENUBULLET : DFCS_MENUCHECK, color);
  if (!bar && it.sub) DrawArrowOrCheck(dc, RECT{r.right - check - 2, r.top, r.right, r.bottom}, DFCS_MENUARROW, color);
  HFONT font = MenuFont(it.state & MFS_DEFAULT);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  auto [label, key] = SplitTab(it.text);
  RECT tr = r;
  // A grayed item on the menu's own colour is embossed; on the selection
  // bar it stays plain gray.
  auto text = grayed && !(selected && !bar) ? &DrawDisabledText
                                  : static_cast<int (*)(HDC, const char*, int, RECT*, UINT)>(&DrawText);
  if (bar) {
    text(dc, label.c_str(), static_cast<int>(label.size()), &tr, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  } else {
    tr.left += check + 4;
    tr.right -= check + 4;
    text(dc, label.c_str(), static_cast<int>(label.size()), &tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (!key.empty())
      text(dc, key.c_str(), static_cast<int>(key.size()), &tr, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  }
  SelectObject(dc, oldFont);
  DeleteObject(font);
}

// The menu loop ------------------------------------------------------------------------

struct Level {
  HMENU menu = nullptr;
  HWND wnd = nullptr;
  int sel = -1;
};

struct Tracker {
  HWND owner = nullptr;
  UINT flags = 0;
  HMENU bar = nullptr;  // set while the loop runs for a window's menu bar
  int barSel = -1;
  std::vector<Level> levels;
  bool done = false;
  UINT chosen = 0;
};
Tracker* g_tracker = nullptr;

bool Notify(const Tracker& t) { return !(t.flags & TPM_NONOTIFY); }

void PaintBar(HWND hwnd, HDC dc);

void RepaintBar(Tracker& t) {
  if (!t.bar) return;
  HDC dc = GetWindowDC(t.owner);
  if (!dc) return;
  PaintBar(t.owner, dc);
  ReleaseDC(t.owner, dc);
}

int ItemHighlighted(HMENU h) {
  if (!g_tracker) return -1;
  if (g_tracker->bar == h) return g_tracker->barSel;
  for (const Level& l : g_tracker->levels)
    if (l.menu == h) return l.sel;
  return -1;
}

void SendSelect(Tracker& t, HMENU h, int index) {
  Menu* m = Find(h);
  if (!Notify(t) || !m || index < 0 || index >= static_cast<int>(m->items.size())) return;
  const Item& it = m->items[index];
  UINT flags = MF_HILITE | (it.sub ? MF_POPUP : 0) | (it.state & (MFS_GRAYED | MFS_CHECKED)) |
               (IsSeparator(it) ? MF_SEPARATOR : 0);
  WPARAM w = MAKEWPARAM(static_cast<WORD>(it.sub ? index : it.id), static_cast<WORD>(flags));
  SendMessage(t.owner, WM_MENUSELECT, w, reinterpret_cast<LPARAM>(h));
}

void CloseLevels(Tracker& t, size_t keep) {
  while (t.levels.size() > keep) {
    Level l = t.levels.back();
    t.levels.pop_back();
    if (Notify(t)) SendMessage(t.owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(l.menu), 0);
    MenuOfWindow().erase(l.wnd);
    DestroyWindow(l.wnd);
  }
  if (!t.levels.empty()) SetCapture(t.levels.back().wnd);
}

// Scrolls a menu that does not fit so that the band starts at y.
void ScrollTo(HWND wnd, int y) {
  OpenMenu* o = OpenMenuOf(wnd);
  if (!o || !o->arrow) return;
  y = std::clamp(y, 0, std::max(0, o->content - o->view));
  if (y == o->scroll) return;
  o->scroll = y;
  InvalidateRect(wnd, nullptr, TRUE);
}

void EnsureVisible(HWND wnd, int index) {
  OpenMenu* o = OpenMenuOf(wnd);
  Menu* m = o ? Find(o->menu) : nullptr;
  if (!m || !o->arrow || index < 0 || index >= static_cast<int>(m->items.size())) return;
  const RECT& r = m->items[index].rect;
  if (r.top < o->scroll)
    ScrollTo(wnd, r.top);
  else if (r.bottom > o->scroll + o->view)
    ScrollTo(wnd, r.bottom - o->view);
}

// One item further up (-1) or down (1).
void ScrollStep(HWND wnd, int direction) {
  OpenMenu* o = OpenMenuOf(wnd);
  Menu* m = o ? Find(o->menu) : nullptr;
  if (!m || !o->arrow) return;
  int target = o->scroll;
  if (direction < 0) {
    target = 0;
    for (const Item& it : m->items)
      if (it.rect.top < o->scroll) target = std::max<int>(target, it.rect.top);
  } else {
    for (const Item& it : m->items)
      if (it.rect.bottom > o->scroll + o->view) {
        target = it.rect.bottom - o->view;
        break;
      }
  }
  ScrollTo(wnd, target);
  UpdateWindow(wnd);
}

void Select(Tracker& t, Level& l, int index) {
  if (l.sel == index) return;
  l.sel = index;
  SendSelect(t, l.menu, index);
  EnsureVisible(l.wnd, index);
  InvalidateRect(l.wnd, nullptr, TRUE);
  UpdateWindow(l.wnd);
}

// Opens a menu window for the menu with its top left at the screen point
// (moved to stay on the screen).
HWND OpenLevel(Tracker& t, HMENU h, int x, int y, UINT align, int indexInParent) {
  Menu* m = Find(h);
  if (!m) return nullptr;
  if (Notify(t))
    SendMessage(t.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(h),
                MAKELPARAM(static_cast<WORD>(std::max(indexInParent, 0)), FALSE));
  m = Find(h);  // the owner may have rebuilt it
  if (!m) return nullptr;
  SIZE client = LayoutPopup(m, t.owner);
  int frame = GetSystemMetrics(SM_CXDLGFRAME);
  // A menu taller than the work area shows a band of its items between two
  // scroll arrows.
  RECT work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  OpenMenu view;
  view.menu = h;
  view.content = client.cy;
  int room = work.bottom - work.top - 2 * GetSystemMetrics(SM_CYDLGFRAME);
  if (client.cy > room) {
    view.arrow = std::max(8, GetSystemMetrics(SM_CYMENU) * 2 / 3);
    view.view = std::max(1, room - 2 * view.arrow);
    client.cy = view.view + 2 * view.arrow;
  }
  int w = client.cx + 2 * frame, hgt = client.cy + 2 * frame;
  if (align & TPM_RIGHTALIGN)
    x -= w;
  else if (align & TPM_CENTERALIGN)
    x -= w / 2;
  if (align & TPM_BOTTOMALIGN)
    y -= hgt;
  else if (align & TPM_VCENTERALIGN)
    y -= hgt / 2;
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  x = std::clamp(x, 0, std::max(0, sw - w));
  if (view.arrow)
    y = std::clamp(y, static_cast<int>(work.top),
                   std::max(static_cast<int>(work.top), static_cast<int>(work.bottom) - hgt));
  else
    y = std::clamp(y, 0, std::max(0, sh - hgt));
  HWND wnd = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kMenuWindowClass, "",
                            WS_POPUP | WS_DLGFRAME | WS_CLIPSIBLINGS, x, y, w, hgt, t.owner, nullptr, nullptr, nullptr);
  if (!wnd) return nullptr;
  MenuOfWindow()[wnd] = view;
  t.levels.push_back(Level{h, wnd, -1});
  ShowWindow(wnd, SW_SHOWNA);
  UpdateWindow(wnd);
  SetCapture(wnd);
  return wnd;
}

int FirstSelectable(Menu* m, int from, int step) {
  int n = static_cast<int>(m->items.size());
  for (int k = 0; k < n; ++k) {
    int i = ((from + step * (k + 1)) % n + n) % n;
    if (!IsSeparator(m->items[i])) return i;
  }
  return -1;
}

void OpenSub(Tracker& t, size_t levelIndex, bool selectFirst) {
  Level& l = t.levels[levelIndex];
  Menu* m = Find(l.menu);
  if (!m || l.sel < 0 || !m->items[l.sel].sub || IsDisabled(m->items[l.sel])) return;
  OpenMenu* o = OpenMenuOf(l.wnd);
  RECT r = o ? Shown(*o, m->items[l.sel].rect) : m->items[l.sel].rect;
  POINT tl{r.right, r.top};
  ClientToScreen(l.wnd, &tl);
  int parentSel = l.sel;
  HMENU sub = m->items[l.sel].sub;
  if (!OpenLevel(t, sub, tl.x - 3, tl.y - GetSystemMetrics(SM_CYDLGFRAME), 0, parentSel)) return;
  if (selectFirst)
    if (Menu* sm = Find(sub)) Select(t, t.levels.back(), FirstSelectable(sm, -1, 1));
}

void OpenBarItem(Tracker& t, int index, bool selectFirst) {
  Menu* bar = Find(t.bar);
  CloseLevels(t, 0);
  if (!bar || index < 0 || index >= static_cast<int>(bar->items.size())) return;
  t.barSel = index;
  SendSelect(t, t.bar, index);
  RepaintBar(t);
  const Item& it = bar->items[index];
  if (!it.sub || IsDisabled(it)) {
    SetCapture(t.owner);
    return;
  }
  RECT wr;
  GetWindowRect(t.owner, &wr);
  HMENU sub = it.sub;
  if (!OpenLevel(t, sub, wr.left + it.rect.left, wr.top + it.rect.bottom, 0, index)) return;
  if (selectFirst)
    if (Menu* sm = Find(sub)) Select(t, t.levels.back(), FirstSelectable(sm, -1, 1));
}

void Choose(Tracker& t, size_t levelIndex, int index) {
  Level& l = t.levels[levelIndex];
  Menu* m = Find(l.menu);
  if (!m || index < 0 || index >= static_cast<int>(m->items.size())) return;
  const Item& it = m->items[index];
  if (IsSeparator(it) || IsDisabled(it)) return;
  if (it.sub) {
    CloseLevels(t, levelIndex + 1);
    Select(t, l, index);
    OpenSub(t, levelIndex, true);
    return;
  }
  t.chosen = it.id;
  t.done = true;
}

void ActivateBarItem(Tracker& t, int index) {
  Menu* bar = Find(t.bar);
  if (!bar || index < 0 || index >= static_cast<int>(bar->items.size())) return;
  const Item& it = bar->items[index];
  if (IsDisabled(it)) return;
  if (!it.sub) {
    t.chosen = it.id;
    t.done = true;
    return;
  }
  OpenBarItem(t, index, true);
}

// Where a screen point falls: the level's index and item, or the bar's item.
struct Spot {
  int level = -1;
  int item = -1;
  int barItem = -1;
  int arrow = 0;  // -1 / 1 on the scroll arrows of the level
};

Spot SpotAt(Tracker& t, POINT pt) {
  Spot s;
  for (int i = static_cast<int>(t.levels.size()) - 1; i >= 0; --i) {
    RECT wr;
    GetWindowRect(t.levels[i].wnd, &wr);
    if (!PtInRect(&wr, pt)) continue;
    s.level = i;
    POINT c = pt;
    ScreenToClient(t.levels[i].wnd, &c);
    OpenMenu* o = OpenMenuOf(t.levels[i].wnd);
    if (o && o->arrow && c.y < o->arrow) s.arrow = -1;
    if (o && o->arrow && c.y >= o->arrow + o->view) s.arrow = 1;
    if (Menu* m = Find(t.levels[i].menu); m && o && !s.arrow)
      for (size_t k = 0; k < m->items.size(); ++k) {
        RECT r = Shown(*o, m->items[k].rect);
        if (PtInRect(&r, c)) s.item = static_cast<int>(k);
      }
    return s;
  }
  if (t.bar) s.barItem = MenuItemFromPoint(t.owner, t.bar, pt);
  return s;
}

// Left and Right in a menu of several columns: the item of the next column
// at the height of the current one (or the column's last item above it).
bool MoveToColumn(Tracker& t, Level& l, int direction) {
  Menu* m = Find(l.menu);
  if (!m || l.sel < 0 || l.sel >= static_cast<int>(m->items.size())) return false;
  std::vector<int> columns = ColumnsOf(m);
  int target = columns[l.sel] + direction;
  if (target < 0 || target > columns.back()) return false;
  const RECT& from = m->items[l.sel].rect;
  int middle = (from.top + from.bottom) / 2;
  int best = -1, first = -1;
  for (size_t i = 0; i < m->items.size(); ++i) {
    if (columns[i] != target || IsSeparator(m->items[i])) continue;
    if (first < 0) first = static_cast<int>(i);
    if (m->items[i].rect.top <= middle) best = static_cast<int>(i);
  }
  if (best < 0) best = first;
  if (best < 0) return false;
  Select(t, l, best);
  return true;
}

// Left and Right on the bar: with a drop-down open the neighbour's opens;
// with only the bar selected (F10, Alt) the highlight moves along it.
void StepAlongBar(Tracker& t, int index, bool dropDownOpen) {
  if (dropDownOpen) {
    OpenBarItem(t, index, true);
    return;
  }
  Menu* bar = Find(t.bar);
  if (!bar || index < 0 || index >= static_cast<int>(bar->items.size())) return;
  t.barSel = index;
  SendSelect(t, t.bar, index);
  RepaintBar(t);
}

void HandleKey(Tracker& t, WPARAM vk) {
  bool haveLevel = !t.levels.empty();
  Level* l = haveLevel ? &t.levels.back() : nullptr;
  Menu* m = l ? Find(l->menu) : nullptr;
  Menu* bar = t.bar ? Find(t.bar) : nullptr;
  if (l) KillTimer(l->wnd, kShowTimer);  // the keys lead now, not where the mouse rested
  switch (vk) {
    case VK_UP:
    case VK_DOWN:
      if (m && !m->items.empty()) {
        Select(t, *l, FirstSelectable(m, l->sel < 0 ? (vk == VK_DOWN ? -1 : 0) : l->sel, vk == VK_DOWN ? 1 : -1));
      } else if (bar && t.barSel >= 0) {
        OpenBarItem(t, t.barSel, true);
      }
      break;
    case VK_RIGHT:
      if (m && l->sel >= 0 && m->items[l->sel].sub && !IsDisabled(m->items[l->sel])) {
        OpenSub(t, t.levels.size() - 1, true);
      } else if (m && MoveToColumn(t, *l, 1)) {
      } else if (bar && !bar->items.empty()) {
        StepAlongBar(t, FirstSelectable(bar, t.barSel, 1), haveLevel);
      }
      break;
    case VK_LEFT:
      if (m && MoveToColumn(t, *l, -1)) {
      } else if (t.levels.size() > 1) {
        CloseLevels(t, t.levels.size() - 1);
      } else if (bar && !bar->items.empty()) {
        StepAlongBar(t, FirstSelectable(bar, t.barSel < 0 ? 0 : t.barSel, -1), haveLevel);
      }
      break;
    case VK_RETURN:
      if (m && l->sel >= 0)
        Choose(t, t.levels.size() - 1, l->sel);
      else if (!haveLevel && bar)
        ActivateBarItem(t, t.barSel);
      break;
    case VK_ESCAPE:
      if (t.levels.size() > 1 || (t.bar && haveLevel)) {
        CloseLevels(t, t.levels.size() - 1);
        if (t.levels.empty()) SetCapture(t.owner);
      } else {
        t.done = true;
      }
      break;
    case VK_MENU:
    case VK_F10:
      t.done = true;
      break;
    default: break;
  }
}

void HandleChar(Tracker& t, WPARAM ch) {
  int c = std::tolower(static_cast<int>(ch & 0xFF));
  if (ch > 0x7F) c = static_cast<int>(ch);
  HMENU h = t.levels.empty() ? t.bar : t.levels.back().menu;
  Menu* m = Find(h);
  if (!m) return;
  std::vector<int> hits;
  for (size_t i = 0; i < m->items.size(); ++i)
    if (!IsSeparator(m->items[i]) && Mnemonic(m->items[i].text) == c) hits.push_back(static_cast<int>(i));
  if (hits.empty()) {
    if (Notify(t) && t.owner) {
      LRESULT r = SendMessage(t.owner, WM_MENUCHAR, MAKEWPARAM(static_cast<WORD>(ch), 0), reinterpret_cast<LPARAM>(h));
      if (HIWORD(static_cast<uintptr_t>(r)) == 2) hits.push_back(LOWORD(static_cast<uintptr_t>(r)));
      else if (HIWORD(static_cast<uintptr_t>(r)) == 1) t.done = true;
    }
    if (hits.empty()) return;
  }
  if (t.levels.empty()) {
    ActivateBarItem(t, hits.front());
    return;
  }
  Level& l = t.levels.back();
  if (hits.size() == 1) {
    Choose(t, t.levels.size() - 1, hits.front());
    return;
  }
  // Several items share the letter: each press moves to the next of them.
  auto next = std::find_if(hits.begin(), hits.end(), [&](int i) { return i > l.sel; });
  Select(t, l, next == hits.end() ? hits.front() : *next);
}

// Starts or stops scrolling while the mouse rests on a scroll arrow.
void HoverArrow(HWND wnd, int arrow) {
  OpenMenu* o = OpenMenuOf(wnd);
  if (!o || o->hoverArrow == arrow) return;
  o->hoverArrow = arrow;
  if (arrow)
    SetTimer(wnd, kScrollTimer, kScrollInterval, nullptr);
  else
    KillTimer(wnd, kScrollTimer);
}

UINT SubMenuShowDelay() {
  DWORD delay = 400;
  SystemParametersInfo(SPI_GETMENUSHOWDELAY, 0, &delay, 0);
  return delay;
}

void ShowSubLater(Tracker& t, int level) {
  Level& l = t.levels[static_cast<size_t>(level)];
  Menu* m = Find(l.menu);
  if (!m || l.sel < 0 || !m->items[l.sel].sub) return;
  if (UINT delay = SubMenuShowDelay(); delay > 0)
    SetTimer(l.wnd, kShowTimer, delay, nullptr);
  else
    OpenSub(t, static_cast<size_t>(level), false);
}

void HandleMouse(Tracker& t, const MSG& m) {
  Spot s = SpotAt(t, m.pt);
  bool move = m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE;
  bool down = m.message == WM_LBUTTONDOWN || m.message == WM_NCLBUTTONDOWN || m.message == WM_RBUTTONDOWN ||
              m.message == WM_NCRBUTTONDOWN;
  bool up = m.message == WM_LBUTTONUP || m.message == WM_NCLBUTTONUP ||
            ((t.flags & TPM_RIGHTBUTTON) && (m.message == WM_RBUTTONUP || m.message == WM_NCRBUTTONUP));
  for (size_t i = 0; i < t.levels.size(); ++i)
    HoverArrow(t.levels[i].wnd, static_cast<int>(i) == s.level ? s.arrow : 0);
  if (s.level >= 0) {
    Level& l = t.levels[s.level];
    if (s.arrow) {
      if (down) {
        CloseLevels(t, s.level + 1);
        ScrollStep(t.levels[s.level].wnd, s.arrow);
      }
      return;
    }
    if (move || down) {
      if (s.item != l.sel) {
        CloseLevels(t, s.level + 1);
        Select(t, t.levels[s.level], s.item);
        // A click opens the sub-menu at once; a resting mouse after a while.
        if (s.item >= 0 && down) OpenSub(t, s.level, false);
        else if (s.item >= 0) ShowSubLater(t, s.level);
      } else if (down && s.item >= 0 && t.levels.size() == static_cast<size_t>(s.level) + 1) {
        OpenSub(t, s.level, false);
      }
    } else if (up && s.item >= 0) {
      Choose(t, s.level, s.item);
    }
    return;
  }
  if (s.barItem >= 0) {
    if (move && s.barItem != t.barSel && !t.levels.empty()) OpenBarItem(t, s.barItem, false);
    if (down) {
      if (s.barItem == t.barSel && !t.levels.empty())
        t.done = true;
      else
        OpenBarItem(t, s.barItem, false);
    }
    if (up && s.barItem == t.barSel && t.levels.empty()) ActivateBarItem(t, s.barItem);
    return;
  }
  if (down) t.done = true;  // a press anywhere else dismisses the menu
}

UINT RunLoop(Tracker& t) {
  MSG m;
  while (!t.done) {
    if (!PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (Notify(t) && t.owner)
        SendMessage(t.owner, WM_ENTERIDLE, MSGF_MENU,
                    reinterpret_cast<LPARAM>(t.levels.empty() ? nullptr : t.levels.back().wnd));
      if (t.done) break;
      if (!PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE)) WaitMessage();
      continue;
    }
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    switch (m.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        TranslateMessage(&m);
        HandleKey(t, m.wParam);
        break;
      case WM_CHAR:
      case WM_SYSCHAR: HandleChar(t, m.wParam); break;
      case WM_KEYUP:
      case WM_SYSKEYUP: break;
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
      case WM_LBUTTONDOWN:
      case WM_NCLBUTTONDOWN:
      case WM_LBUTTONUP:
      case WM_NCLBUTTONUP:
      case WM_RBUTTONDOWN:
      case WM_NCRBUTTONDOWN:
      case WM_RBUTTONUP:
      case WM_NCRBUTTONUP: HandleMouse(t, m); break;
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_NCLBUTTONDBLCLK: break;
      default:
        TranslateMessage(&m);
        DispatchMessage(&m);
        break;
    }
    if (t.owner && !IsWindow(t.owner)) break;
  }
  return t.done ? t.chosen : 0;
}

// Makes a tracker the running one for a scope. Ended in order, its menus
// close with the owner told; left by an exception (a window procedure that
// throws), they close without a word to the owner, and the tracker and its
// capture are gone all the same, so that the next menu can open.
class TrackerScope {
 public:
  explicit TrackerScope(Tracker& t) : t_(t) { g_tracker = &t; }
  TrackerScope(const TrackerScope&) = delete;
  TrackerScope& operator=(const TrackerScope&) = delete;
  ~TrackerScope() {
    if (ended_) return;
    t_.flags |= TPM_NONOTIFY;
    End();
    HWND capture = GetCapture();
    if (capture && (capture == t_.owner || !IsWindow(t_.owner))) ReleaseCapture();
  }
  void End() {
    ended_ = true;
    CloseLevels(t_, 0);
    g_tracker = nullptr;
  }

 private:
  Tracker& t_;
  bool ended_ = false;
};

// Runs the loop for a popup (bar null) or the bar of owner; tidies up and
// delivers the command.
UINT Track(Tracker& t, TrackerScope& running, bool popup, bool returnCmd) {
  HWND owner = t.owner;
  UINT chosen = RunLoop(t);
  running.End();
  if (t.bar && IsWindow(owner)) {
    t.barSel = -1;
    RepaintBar(t);
  }
  if (GetCapture() && (!IsWindow(owner) || GetCapture() == owner)) ReleaseCapture();
  if (IsWindow(owner)) {
    if (Notify(t)) SendMessage(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    SendMessage(owner, WM_EXITMENULOOP, popup ? TRUE : FALSE, 0);
    if (chosen && !returnCmd) PostMessage(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
  }
  return chosen;
}

void DrawScrollArrow(HDC dc, const RECT& r, int direction, bool enabled) {
  FillRect(dc, &r, GetSysColorBrush(COLOR_MENU));
  COLORREF color = GetSysColor(enabled ? COLOR_MENUTEXT : COLOR_GRAYTEXT);
  HBRUSH b = CreateSolidBrush(color);
  HPEN p = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ oldBrush = SelectObject(dc, b), oldPen = SelectObject(dc, p);
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  POINT up[3] = {{cx - 4, cy + 2}, {cx + 4, cy + 2}, {cx, cy - 2}};
  POINT down[3] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 2}};
  Polygon(dc, direction < 0 ? up : down, 3);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(p);
  DeleteObject(b);
}

void PaintMenuWindow(HWND hwnd, HDC dc, const OpenMenu& o) {
  Menu* m = Find(o.menu);
  if (!m) return;
  RECT client;
  GetClientRect(hwnd, &client);
  int sel = ItemHighlighted(o.menu);
  HWND owner = g_tracker ? g_tracker->owner : nullptr;
  int saved = SaveDC(dc);
  if (o.arrow) IntersectClipRect(dc, 0, o.arrow, client.right, o.arrow + o.view);
  for (size_t i = 0; i < m->items.size(); ++i) {
    Item item = m->items[i];
    RECT r = Shown(o, item.rect);
    if (o.arrow && (r.bottom <= o.arrow || r.top >= o.arrow + o.view)) continue;
    DrawItem(dc, o.menu, item, r, static_cast<int>(i) == sel, false, owner);
  }
  RestoreDC(dc, saved);
  // The rules between columns run the whole height, over whatever an owner
  // drew beyond its item.
  for (size_t i = 1; i < m->items.size(); ++i) {
    if (!(m->items[i].type & MFT_MENUBARBREAK)) continue;
    int x = m->items[i].rect.left - kColumnRule / 2;
    RECT rule{x - 1, client.top, x + 1, client.bottom};
    DrawEdge(dc, &rule, EDGE_ETCHED, BF_LEFT);
  }
  if (o.arrow) {
    DrawScrollArrow(dc, RECT{0, 0, client.right, o.arrow}, -1, o.scroll > 0);
    DrawScrollArrow(dc, RECT{0, o.arrow + o.view, client.right, client.bottom}, 1, o.scroll < o.content - o.view);
  }
}

LRESULT MenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case MN_GETHMENU: {
      OpenMenu* o = OpenMenuOf(hwnd);
      return reinterpret_cast<LRESULT>(o ? o->menu : nullptr);
    }
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_MENU));
      return 1;
    }
    case WM_PAINT: {
      PaintScope paint(hwnd);
      if (OpenMenu* o = OpenMenuOf(hwnd)) PaintMenuWindow(hwnd, paint.Dc(), *o);
      return 0;
    }
    case WM_TIMER:
      if (wParam == kScrollTimer) {
        OpenMenu* o = OpenMenuOf(hwnd);
        POINT c;
        GetCursorPos(&c);
        ScreenToClient(hwnd, &c);
        RECT client;
        GetClientRect(hwnd, &client);
        bool onArrow = o && o->hoverArrow && c.x >= 0 && c.x < client.right &&
                       (o->hoverArrow < 0 ? c.y >= 0 && c.y < o->arrow
                                          : c.y >= o->arrow + o->view && c.y < client.bottom);
        if (!onArrow) {
          if (o) o->hoverArrow = 0;
          KillTimer(hwnd, kScrollTimer);
          return 0;
        }
        if (g_tracker)
          for (size_t i = 0; i < g_tracker->levels.size(); ++i)
            if (g_tracker->levels[i].wnd == hwnd) CloseLevels(*g_tracker, i + 1);
        ScrollStep(hwnd, o->hoverArrow);
        return 0;
      }
      if (wParam == kShowTimer) {
        KillTimer(hwnd, kShowTimer);
        // Only when the mouse still rests in the innermost menu.
        if (g_tracker && !g_tracker->levels.empty() && g_tracker->levels.back().wnd == hwnd)
          OpenSub(*g_tracker, g_tracker->levels.size() - 1, false);
        return 0;
      }
      break;
    case WM_MOUSEACTIVATE: return 3;  // MA_NOACTIVATE
    case WM_NCDESTROY: MenuOfWindow().erase(hwnd); break;
    default: break;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

void PaintBar(HWND hwnd, HDC dc) {
  auto found = WindowMenus().find(hwnd);
  if (found == WindowMenus().end()) return;
  Menu* m = Find(found->second);
  wnd::Window* w = wnd::Lookup(hwnd);
  if (!m || !w) return;
  int width = w->rect.right - w->rect.left;
  int height = LayoutBar(hwnd, m, width);
  RECT bar = BarRect(hwnd, height);
  FillRect(dc, &bar, GetSysColorBrush(COLOR_MENU));
  int sel = ItemHighlighted(found->second);
  for (size_t i = 0; i < m->items.size(); ++i) {
    Item item = m->items[i];
    DrawItem(dc, found->second, item, item.rect, static_cast<int>(i) == sel, true, hwnd);
  }
}

int BarHeightHook(HWND hwnd, int width) {
  auto found = WindowMenus().find(hwnd);
  if (found == WindowMenus().end()) return 0;
  Menu* m = Find(found->second);
  wnd::Window* w = wnd::Lookup(hwnd);
  if (!m || !w || w->IsChild()) return 0;
  return std::max(LayoutBar(hwnd, m, width), m->items.empty() ? 0 : GetSystemMetrics(SM_CYMENU));
}

void PaintBarHook(HWND hwnd, HDC windowDc) { PaintBar(hwnd, windowDc); }

void BarPressHook(HWND hwnd, POINT screen) {
  HMENU h = GetMenu(hwnd);
  int index = MenuItemFromPoint(hwnd, h, screen);
  if (index >= 0) TrackMenuBar(hwnd, index, false);
}

void BarKeyHook(HWND hwnd, WPARAM ch) {
  HMENU h = GetMenu(hwnd);
  Menu* m = Find(h);
  if (!m || m->items.empty()) return;
  if (ch == 0) {
    TrackMenuBar(hwnd, -1, true);
    return;
  }
  int c = std::tolower(static_cast<int>(ch & 0xFF));
  for (size_t i = 0; i < m->items.size(); ++i)
    if (Mnemonic(m->items[i].text) == c) {
      TrackMenuBar(hwnd, static_cast<int>(i), true);
      return;
    }
}

// The system menus made for windows, until the window goes or its menu is
// reverted.
std::unordered_map<HWND, HMENU>& SystemMenus() {
  static std::unordered_map<HWND, HMENU> menus;
  return menus;
}

void WindowGoing(HWND hwnd) {
  WindowMenus().erase(hwnd);
  // The system menus of the window and of its children go with it.
  for (auto it = SystemMenus().begin(); it != SystemMenus().end();) {
    if (it->first == hwnd || IsChild(hwnd, it->first)) {
      DestroyMenu(it->second);
      it = SystemMenus().erase(it);
    } else {
      ++it;
    }
  }
}

HMENU MakeSystemMenu(HWND hwnd) {
  HMENU m = CreatePopupMenu();
  // A child window with a caption is a document inside a frame: Ctrl+F4
  // closes it and Ctrl+F6 goes to the next.
  bool child = GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD;
  AppendMenu(m, MF_STRING, SC_RESTORE, "&Restore");
  AppendMenu(m, MF_STRING, SC_MOVE, "&Move");
  AppendMenu(m, MF_STRING, SC_SIZE, "&Size");
  AppendMenu(m, MF_STRING, SC_MINIMIZE, "Mi&nimize");
  AppendMenu(m, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
  AppendMenu(m, MF_SEPARATOR, 0, nullptr);
  AppendMenu(m, MF_STRING, SC_CLOSE, child ? "&Close\tCtrl+F4" : "&Close\tAlt+F4");
  if (child) {
    AppendMenu(m, MF_SEPARATOR, 0, nullptr);
    AppendMenu(m, MF_STRING, SC_NEXTWINDOW, "Nex&t\tCtrl+F6");
  }
  SetMenuDefaultItem(m, SC_CLOSE, FALSE);
  return m;
}

// What the window's state allows now.
void UpdateSystemMenu(HWND hwnd, HMENU m) {
  auto style = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE));
  bool max = style & WS_MAXIMIZE, min = style & WS_MINIMIZE;
  auto enable = [&](UINT id, bool on) { EnableMenuItem(m, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
  enable(SC_RESTORE, max || min);
  enable(SC_MOVE, !max);
  enable(SC_SIZE, (style & WS_THICKFRAME) && !max && !min);
  enable(SC_MINIMIZE, (style & WS_MINIMIZEBOX) && !min);
  enable(SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) && !max);
  enable(SC_CLOSE, !(GetClassLongPtr(hwnd, GCL_STYLE) & CS_NOCLOSE));
}

void SystemMenuHook(HWND hwnd, POINT screen) {
  if (g_tracker) return;
  HMENU m = GetSystemMenu(hwnd, FALSE);
  UpdateSystemMenu(hwnd, m);
  UINT chosen = static_cast<UINT>(TrackPopupMenuEx(m, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, screen.x,
                                                   screen.y, hwnd, nullptr));
  if (chosen && IsWindow(hwnd)) SendMessage(hwnd, WM_SYSCOMMAND, chosen, 0);
}

// Alt alone: watched on every input message the thread takes, because a
// chord's other key or click may never reach DefWindowProc.
struct AltWatch {
  HHOOK hook = nullptr;
  bool alone = false;          // Alt is down and nothing else went down since
  bool releasedAlone = false;  // the message just taken is such an Alt's release
};
thread_local AltWatch t_alt;

LRESULT WatchAlt(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE && lParam) {
    const MSG& m = *reinterpret_cast<const MSG*>(lParam);
    t_alt.releasedAlone = false;
    bool alt = m.wParam == VK_MENU;
    switch (m.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        // Alt inside the menu loop closes the menu; its release opens nothing.
        if (!alt)
          t_alt.alone = false;
        else if (!(static_cast<uint64_t>(m.lParam) & (1u << 30)))
          t_alt.alone = !g_tracker;
        break;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        if (alt) {
          t_alt.releasedAlone = t_alt.alone && !g_tracker;
          t_alt.alone = false;
        }
        break;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDBLCLK:
      case WM_NCLBUTTONDOWN:
      case WM_NCRBUTTONDOWN:
      case WM_NCMBUTTONDOWN:
      case WM_NCLBUTTONDBLCLK:
      case WM_MOUSEWHEEL: t_alt.alone = false; break;
      default: break;
    }
  }
  return CallNextHookEx(t_alt.hook, code, wParam, lParam);
}

void WatchAltOnThisThread() {
  if (!t_alt.hook) t_alt.hook = SetWindowsHookEx(WH_GETMESSAGE, &WatchAlt, nullptr, 0);
}

bool AltReleasedAlone() {
  bool alone = t_alt.releasedAlone;
  t_alt.releasedAlone = false;
  return alone;
}

}  // namespace

void InstallMenuWindows() {
  WNDCLASSEX wc;
  wc.style = CS_SAVEBITS | CS_DROPSHADOW;
  wc.lpfnWndProc = MenuWindowProc;
  wc.lpszClassName = kMenuWindowClass;
  RegisterClassEx(&wc);
  wnd::Extensions& e = wnd::LayerExtensions();
  e.menuBarHeight = BarHeightHook;
  e.paintMenuBar = PaintBarHook;
  e.menuBarPress = BarPressHook;
  e.menuBarKey = BarKeyHook;
  e.menuWindowGoing = WindowGoing;
  e.menuAltReleasedAlone = AltReleasedAlone;
  e.systemMenu = SystemMenuHook;
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
  auto it = SystemMenus().find(hwnd);
  if (revert) {
    if (it != SystemMenus().end()) {
      DestroyMenu(it->second);
      SystemMenus().erase(it);
    }
    return nullptr;
  }
  if (!IsWindow(hwnd)) return nullptr;
  if (it == SystemMenus().end()) it = SystemMenus().emplace(hwnd, MakeSystemMenu(hwnd)).first;
  return it->second;
}

// The menu table -------------------------------------------------------------------------

HMENU CreateMenu() { return NewMenu(true); }
HMENU CreatePopupMenu() { return NewMenu(false); }

BOOL DestroyMenu(HMENU h) {
  auto it = Menus().find(h);
  if (it == Menus().end()) return FALSE;
  std::unique_ptr<Menu> m = std::move(it->second);
  Menus().erase(it);
  for (Item& item : m->items)
    if (item.sub) DestroyMenu(item.sub);
  for (auto w = WindowMenus().begin(); w != WindowMenus().end();)
    w = w->second == h ? WindowMenus().erase(w) : std::next(w);
  return TRUE;
}

BOOL IsMenu(HMENU h) { return Find(h) != nullptr; }

BOOL AppendMenu(HMENU h, UINT flags, UINT_PTR idNewItem, const char* text) {
  Menu* m = Find(h);
  if (!m) return FALSE;
  m->items.push_back(ItemFromFlags(flags, idNewItem, text));
  return TRUE;
}

BOOL InsertMenu(HMENU h, UINT position, UINT flags, UINT_PTR idNewItem, const char* text) {
  Menu* m = Find(h);
  if (!m) return FALSE;
  Menu* holder = m;
  size_t at = m->items.size();
  if (flags & MF_BYPOSITION) {
    if (position != 0xFFFFFFFF) at = std::min<size_t>(position, m->items.size());
  } else if (Item* it = Locate(h, position, false, &holder)) {
    at = static_cast<size_t>(it - holder->items.data());
  }
  holder->items.insert(holder->items.begin() + static_cast<long>(at),
                       ItemFromFlags(flags & ~MF_BYPOSITION, idNewItem, text));
  return TRUE;
}

BOOL ModifyMenu(HMENU h, UINT position, UINT flags, UINT_PTR idNewItem, const char* text) {
  Item* it = Locate(h, position, flags & MF_BYPOSITION);
  if (!it) return FALSE;
  HMENU oldSub = it->sub;
  *it = ItemFromFlags(flags & ~MF_BYPOSITION, idNewItem, text);
  if (oldSub && oldSub != it->sub) DestroyMenu(oldSub);
  return TRUE;
}

BOOL InsertMenuItem(HMENU h, UINT item, BOOL byPosition, const MENUITEMINFO* info) {
  Menu* m = Find(h);
  if (!m || !info) return FALSE;
  Menu* holder = m;
  size_t at = m->items.size();
  if (byPosition) {
    if (item != 0xFFFFFFFF) at = std::min<size_t>(item, m->items.size());
  } else if (Item* found = Locate(h, item, false, &holder)) {
    at = static_cast<size_t>(found - holder->items.data());
  }
  holder->items.insert(holder->items.begin() + static_cast<long>(at), Item{});
  UINT pos = static_cast<UINT>(at);
  // Set through the holder by position: the insert may have moved the items.
  for (auto& [handle, menu] : Menus())
    if (menu.get() == holder) return SetMenuItemInfo(handle, pos, TRUE, info);
  return FALSE;
}

BOOL GetMenuItemInfo(HMENU h, UINT item, BOOL byPosition, MENUITEMINFO* info) {
  Item* it = Locate(h, item, byPosition);
  if (!it || !info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (info->fMask & (MIIM_TYPE | MIIM_FTYPE)) info->fType = it->type;
  if (info->fMask & MIIM_STATE) info->fState = it->state;
  if (info->fMask & MIIM_ID) info->wID = it->sub ? static_cast<UINT>(reinterpret_cast<uintptr_t>(it->sub)) : it->id;
  if (info->fMask & MIIM_SUBMENU) info->hSubMenu = it->sub;
  if (info->fMask & MIIM_DATA) info->dwItemData = it->data;
  if (info->fMask & MIIM_BITMAP) info->hbmpItem = it->bitmap;
  if (info->fMask & (MIIM_STRING | MIIM_TYPE)) {
    if (info->dwTypeData && info->cch > 0) {
      size_t n = std::min<size_t>(it->text.size(), info->cch - 1);
      std::memcpy(info->dwTypeData, it->text.data(), n);
      info->dwTypeData[n] = '\0';
    }
    info->cch = static_cast<UINT>(it->text.size());
  }
  return TRUE;
}

BOOL SetMenuItemInfo(HMENU h, UINT item, BOOL byPosition, const MENUITEMINFO* info) {
  Item* it = Locate(h, item, byPosition);
  if (!it || !info) return FALSE;
  if (info->fMask & (MIIM_TYPE | MIIM_FTYPE)) it->type = info->fType;
  if (info->fMask & MIIM_STATE) it->state = info->fState;
  if (info->fMask & MIIM_ID) it->id = info->wID;
  if (info->fMask & MIIM_SUBMENU) it->sub = info->hSubMenu;
  if (info->fMask & MIIM_DATA) it->data = info->dwItemData;
  if (info->fMask & MIIM_BITMAP) it->bitmap = info->hbmpItem;
  if ((info->fMask & MIIM_STRING) || ((info->fMask & MIIM_TYPE) && !(info->fType & (MFT_OWNERDRAW | MFT_SEPARATOR))))
    it->text = info->dwTypeData ? info->dwTypeData : "";
  return TRUE;
}

BOOL RemoveMenu(HMENU h, UINT position, UINT flags) {
  Menu* holder = nullptr;
  Item* it = Locate(h, position, flags & MF_BYPOSITION, &holder);
  if (!it) return FALSE;
  holder->items.erase(holder->items.begin() + (it - holder->items.data()));
  return TRUE;
}

BOOL DeleteMenu(HMENU h, UINT position, UINT flags) {
  Item* it = Locate(h, position, flags & MF_BYPOSITION);
  if (!it) return FALSE;
  HMENU sub = it->sub;
  RemoveMenu(h, position, flags);
  if (sub) DestroyMenu(sub);
  return TRUE;
}

int GetMenuItemCount(HMENU h) {
  Menu* m = Find(h);
  if (!m) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  return static_cast<int>(m->items.size());
}

UINT GetMenuItemID(HMENU h, int position) {
  Menu* m = Find(h);
  if (!m || position < 0 || position >= static_cast<int>(m->items.size())) return 0xFFFFFFFF;
  return m->items[position].sub ? 0xFFFFFFFF : m->items[position].id;
}

HMENU GetSubMenu(HMENU h, int position) {
  Menu* m = Find(h);
  if (!m || position < 0 || position >= static_cast<int>(m->items.size())) return nullptr;
  return m->items[position].sub;
}

UINT GetMenuState(HMENU h, UINT id, UINT flags) {
  Item* it = Locate(h, id, flags & MF_BYPOSITION);
  if (!it) return 0xFFFFFFFF;
  UINT s = it->state | it->type;
  if (it->sub)
    if (Menu* sm = Find(it->sub)) s = (s & 0xFF) | (static_cast<UINT>(sm->items.size()) << 8) | MF_POPUP;
  return s;
}

int GetMenuString(HMENU h, UINT id, char* buffer, int maxCount, UINT flags) {
  Item* it = Locate(h, id, flags & MF_BYPOSITION);
  if (!it) return 0;
  if (!buffer || maxCount <= 0) return static_cast<int>(it->text.size());
  int n = std::min<int>(static_cast<int>(it->text.size()), maxCount - 1);
  std::memcpy(buffer, it->text.data(), static_cast<size_t>(n));
  buffer[n] = '\0';
  return n;
}

namespace {

// Sets one state bit of an item as flags say; gives the bit as it was, or
// 0xFFFFFFFF when there is no such item.
UINT SwapItemStateBit(HMENU h, UINT id, UINT flags, UINT bit) {
  Item* it = Locate(h, id, flags & MF_BYPOSITION);
  if (!it) return 0xFFFFFFFF;
  UINT old = it->state & bit;
  it->state = (it->state & ~bit) | (flags & bit);
  return old;
}

}  // namespace

UINT EnableMenuItem(HMENU h, UINT id, UINT enable) {
  return SwapItemStateBit(h, id, enable, MFS_GRAYED);
}

DWORD CheckMenuItem(HMENU h, UINT id, UINT check) {
  return SwapItemStateBit(h, id, check, MFS_CHECKED);
}

BOOL CheckMenuRadioItem(HMENU h, UINT first, UINT last, UINT check, UINT flags) {
  bool byPos = flags & MF_BYPOSITION;
  Menu* holder = nullptr;
  Item* a = Locate(h, first, byPos, &holder);
  Menu* holder2 = nullptr;
  Item* b = Locate(h, last, byPos, &holder2);
  if (!a || !b || holder != holder2) return FALSE;
  bool found = false;
  for (Item* it = a; it <= b; ++it) {
    bool on = byPos ? static_cast<UINT>(it - holder->items.data()) == check : it->id == check;
    it->state = (it->state & ~MFS_CHECKED) | (on ? MFS_CHECKED : 0);
    if (on) {
      it->type |= MFT_RADIOCHECK;
      found = true;
    }
  }
  return found;
}

BOOL SetMenuDefaultItem(HMENU h, UINT item, UINT byPosition) {
  Menu* m = Find(h);
  if (!m) return FALSE;
  for (Item& it : m->items) it.state &= ~MFS_DEFAULT;
  if (item == 0xFFFFFFFF) return TRUE;
  Item* it = Locate(h, item, byPosition);
  if (!it) return FALSE;
  it->state |= MFS_DEFAULT;
  return TRUE;
}

// The bar -----------------------------------------------------------------------------

BOOL SetMenu(HWND hwnd, HMENU h) {
  wnd::Window* w = wnd::Lookup(hwnd);
  if (!w || w->IsChild()) return FALSE;
  if (h && !Find(h)) return FALSE;
  if (h) WatchAltOnThisThread();
  if (h)
    WindowMenus()[hwnd] = h;
  else
    WindowMenus().erase(hwnd);
  if (Menu* m = Find(h)) m->window = hwnd;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

HMENU GetMenu(HWND hwnd) {
  auto it = WindowMenus().find(hwnd);
  return it == WindowMenus().end() ? nullptr : it->second;
}

BOOL DrawMenuBar(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if (GetMenu(hwnd) && IsWindowVisible(hwnd)) {
    HDC dc = GetWindowDC(hwnd);
    PaintBar(hwnd, dc);
    ReleaseDC(hwnd, dc);
  }
  return TRUE;
}

BOOL GetMenuItemRect(HWND hwnd, HMENU h, UINT item, RECT* rect) {
  Menu* m = Find(h);
  if (!m || !rect || item >= m->items.size()) return FALSE;
  if (hwnd && GetMenu(hwnd) == h) {
    wnd::Window* w = wnd::Lookup(hwnd);
    if (!w) return FALSE;
    LayoutBar(hwnd, m, w->rect.right - w->rect.left);
    RECT wr;
    GetWindowRect(hwnd, &wr);
    *rect = m->items[item].rect;
    OffsetRect(rect, wr.left, wr.top);
    return TRUE;
  }
  for (auto& [wndHandle, open] : MenuOfWindow()) {
    if (open.menu != h) continue;
    *rect = Shown(open, m->items[item].rect);
    POINT o{0, 0};
    ClientToScreen(wndHandle, &o);
    OffsetRect(rect, o.x, o.y);
    return TRUE;
  }
  return FALSE;
}

int MenuItemFromPoint(HWND hwnd, HMENU h, POINT point) {
  Menu* m = Find(h);
  if (!m) return -1;
  // On the scroll arrows of an open menu there is no item, even where one is
  // scrolled under them.
  if (!hwnd || GetMenu(hwnd) != h)
    for (auto& [wndHandle, open] : MenuOfWindow()) {
      if (open.menu != h || !open.arrow) continue;
      POINT c = point;
      ScreenToClient(wndHandle, &c);
      if (c.y < open.arrow || c.y >= open.arrow + open.view) return -1;
      break;
    }
  for (size_t i = 0; i < m->items.size(); ++i) {
    RECT r;
    if (GetMenuItemRect(hwnd, h, static_cast<UINT>(i), &r) && PtInRect(&r, point)) return static_cast<int>(i);
  }
  return -1;
}

// Tracking -------------------------------------------------------------------------------

BOOL TrackPopupMenuEx(HMENU h, UINT flags, int x, int y, HWND owner, const TPMPARAMS*) {
  if (!Find(h) || !IsWindow(owner) || g_tracker) return FALSE;
  Tracker t;
  t.owner = owner;
  t.flags = flags;
  SendMessage(owner, WM_ENTERMENULOOP, TRUE, 0);
  if (Notify(t)) SendMessage(owner, WM_INITMENU, reinterpret_cast<WPARAM>(h), 0);
  TrackerScope running(t);  // the first paint already draws through the owner
  if (!OpenLevel(t, h, x, y, flags, 0)) {
    running.End();
    SendMessage(owner, WM_EXITMENULOOP, TRUE, 0);
    return FALSE;
  }
  UINT chosen = Track(t, running, true, flags & TPM_RETURNCMD);
  return (flags & TPM_RETURNCMD) ? static_cast<BOOL>(chosen) : TRUE;
}

BOOL TrackPopupMenu(HMENU h, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  return TrackPopupMenuEx(h, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
  if (!g_tracker) return FALSE;
  g_tracker->done = true;
  g_tracker->chosen = 0;
  PostMessage(g_tracker->owner, WM_NULL, 0, 0);
  return TRUE;
}

HWND GetOpenMenuWindow() { return g_tracker && !g_tracker->levels.empty() ? g_tracker->levels.back().wnd : nullptr; }

void TrackMenuBar(HWND hwnd, int position, bool keyboard) {
  HMENU h = GetMenu(hwnd);
  if (!Find(h) || g_tracker) return;
  Tracker t;
  t.owner = hwnd;
  t.bar = h;
  SendMessage(hwnd, WM_ENTERMENULOOP, FALSE, 0);
  SendMessage(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(h), 0);
  TrackerScope running(t);
  SetCapture(hwnd);
  if (position >= 0) {
    OpenBarItem(t, position, keyboard);
  } else if (Menu* m = Find(h)) {
    t.barSel = FirstSelectable(m, -1, 1);
    SendSelect(t, h, t.barSel);
    RepaintBar(t);
  }
  Track(t, running, false, false);
}

}  // namespace win
