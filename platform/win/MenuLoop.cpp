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
#include "platform/win/MenuPrivate.h"
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

using namespace menu;

namespace {

OpenMenu* OpenMenuOf(HWND wnd) {
  auto it = MenuOfWindow().find(wnd);
  return it == MenuOfWindow().end() ? nullptr : &it->second;
}

// Timers of menu windows: scrolling while the mouse rests on an arrow, and
// a sub-menu opening after the mouse rested on its item.
constexpr UINT_PTR kScrollTimer = 0xFFF1;
constexpr UINT_PTR kShowTimer = 0xFFF2;
constexpr UINT kScrollInterval = 100;

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

void RepaintBar(Tracker& t) {
  if (!t.bar) return;
  HDC dc = GetWindowDC(t.owner);
  if (!dc) return;
  PaintBar(t.owner, dc);
  ReleaseDC(t.owner, dc);
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

}  // namespace

std::unordered_map<HWND, OpenMenu>& menu::MenuOfWindow() {
  static std::unordered_map<HWND, OpenMenu> map;
  return map;
}

RECT menu::Shown(const OpenMenu& o, RECT r) {
  OffsetRect(&r, 0, o.arrow - o.scroll);
  return r;
}

int menu::ItemHighlighted(HMENU h) {
  if (!g_tracker) return -1;
  if (g_tracker->bar == h) return g_tracker->barSel;
  for (const Level& l : g_tracker->levels)
    if (l.menu == h) return l.sel;
  return -1;
}

bool menu::Tracking() { return g_tracker != nullptr; }

LRESULT menu::MenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
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
