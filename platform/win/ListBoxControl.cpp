#include "platform/win/ListBoxControl.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/ChildNotify.h"
#include "platform/win/EditControl.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysColors.h"
#include "platform/win/UserPrivate.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Windows.h"
#include "platform/win/GdiScopes.h"

namespace win {
namespace {

// Typed characters within this time continue one search.
constexpr LONG kTypeAheadMs = 1000;

struct Item {
  std::string text;
  ULONG_PTR data = 0;
  bool selected = false;
  int height = 0;
};

struct ListBox {
  HWND hwnd = nullptr;
  std::vector<Item> items;
  int cur = -1;     // the selection of a single-selection list
  int caret = 0;    // the item with the focus rectangle
  int anchor = 0;   // where an extended range starts
  int top = 0;
  int itemHeight = 16;
  int horizontalExtent = 0;
  int xOffset = 0;
  HFONT font = nullptr;
  bool focused = false;
  bool tracking = false;
  bool wantsScrollBar = false;
  bool updatingBar = false;
  std::string typed;
  LONG typedAt = 0;

  DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE)); }
  bool Multiple() const { return Style() & LBS_MULTIPLESEL; }
  bool Extended() const { return Style() & LBS_EXTENDEDSEL; }
  bool AnyMulti() const { return Multiple() || Extended(); }
  bool Variable() const { return Style() & LBS_OWNERDRAWVARIABLE; }
  bool OwnerDraw() const { return Style() & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE); }
  bool HasStrings() const { return !OwnerDraw() || (Style() & LBS_HASSTRINGS); }
  int Count() const { return static_cast<int>(items.size()); }
  int HeightOf(int i) const { return Variable() ? items[static_cast<size_t>(i)].height : itemHeight; }
  int ClientHeight() const {
    RECT rc;
    GetClientRect(hwnd, &rc);
    return rc.bottom - rc.top;
  }
};

std::map<HWND, std::shared_ptr<ListBox>>& Lists() {
  static std::map<HWND, std::shared_ptr<ListBox>> lists;
  return lists;
}

void Notify(const ListBox& lb, WORD code) {
  if (!(lb.Style() & LBS_NOTIFY)) return;
  HWND parent = GetParent(lb.hwnd);
  if (!parent) return;
  auto id = static_cast<WORD>(GetWindowLongPtr(lb.hwnd, GWLP_ID));
  SendMessage(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(lb.hwnd));
}

int FontHeight(const ListBox& lb) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = lb.font ? SelectObject(dc, lb.font) : nullptr;
  TEXTMETRIC tm;
  int h = GetTextMetrics(dc, &tm) ? static_cast<int>(tm.tmHeight) : 16;
  if (old) SelectObject(dc, old);
  DeleteDC(dc);
  return std::max(1, h);
}

UINT ControlId(const ListBox& lb) { return static_cast<UINT>(GetWindowLongPtr(lb.hwnd, GWLP_ID)); }

int Measure(const ListBox& lb, int index, ULONG_PTR data) {
  MEASUREITEMSTRUCT mi;
  mi.CtlType = ODT_LISTBOX;
  mi.CtlID = ControlId(lb);
  mi.itemID = static_cast<UINT>(index);
  mi.itemHeight = static_cast<UINT>(lb.itemHeight);
  mi.itemData = data;
  if (HWND parent = GetParent(lb.hwnd)) SendMessage(parent, WM_MEASUREITEM, mi.CtlID, reinterpret_cast<LPARAM>(&mi));
  return std::max(1, static_cast<int>(mi.itemHeight));
}

// Items from the top that fit whole in the client area (at least one).
int VisibleCount(const ListBox& lb, int from) {
  int h = lb.ClientHeight(), used = 0, n = 0;
  for (int i = from; i < lb.Count(); ++i) {
    used += lb.HeightOf(i);
    if (used > h) break;
    ++n;
  }
  if (!lb.Variable() && from + n >= lb.Count()) n += (h - used) / std::max(1, lb.itemHeight);
  return std::max(1, n);
}

int MaxTop(const ListBox& lb) {
  if (lb.Count() == 0) return 0;
  // The last top index that still fills the window.
  int h = lb.ClientHeight(), used = 0, i = lb.Count() - 1;
  for (; i >= 0; --i) {
    used += lb.HeightOf(i);
    if (used > h) break;
  }
  return std::min(lb.Count() - 1, i + 1);
}

RECT ItemRect(const ListBox& lb, int index) {
  RECT rc;
  GetClientRect(lb.hwnd, &rc);
  int y = 0;
  if (index >= lb.top)
    for (int i = lb.top; i < index; ++i) y += lb.HeightOf(i);
  else
    for (int i = index; i < lb.top; ++i) y -= lb.HeightOf(i);
  int right = std::max<int>(rc.right, lb.horizontalExtent);
  return RECT{-lb.xOffset, y, right - lb.xOffset, y + lb.HeightOf(index)};
}

// The item under a client point; outside gives the nearest one.
int ItemFromPoint(const ListBox& lb, POINT pt, bool* outside) {
  *outside = true;
  if (lb.Count() == 0) return 0;
  if (pt.y < 0) return lb.top;
  int y = 0;
  for (int i = lb.top; i < lb.Count(); ++i) {
    int h = lb.HeightOf(i);
    if (pt.y < y + h) {
      RECT rc;
      GetClientRect(lb.hwnd, &rc);
      *outside = pt.x < 0 || pt.x >= rc.right || pt.y >= rc.bottom;
      return i;
    }
    y += h;
  }
  return lb.Count() - 1;
}

// A list made with a vertical bar shows it only while there is something to
// scroll (the style bit comes and goes, so the wish is kept apart).
void UpdateScrollBar(ListBox& lb) {
  if (!lb.wantsScrollBar || lb.updatingBar) return;
  lb.updatingBar = true;
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = std::max(0, lb.Count() - 1);
  si.nPage = static_cast<UINT>(lb.Count() > 0 ? VisibleCount(lb, lb.top) : 1);
  if (lb.Count() <= static_cast<int>(si.nPage)) si.nPage = static_cast<UINT>(si.nMax + 1);
  si.nPos = lb.top;
  SetScrollInfo(lb.hwnd, SB_VERT, &si, TRUE);
  lb.updatingBar = false;
}

void Redraw(ListBox& lb) {
  if (!(lb.Style() & LBS_NOREDRAW)) InvalidateRect(lb.hwnd, nullptr, TRUE);
  UpdateScrollBar(lb);
}

bool SetTop(ListBox& lb, int top) {
  top = std::clamp(top, 0, MaxTop(lb));
  if (top == lb.top) return false;
  lb.top = top;
  Redraw(lb);
  return true;
}

void ShowItem(ListBox& lb, int index) {
  if (index < 0 || index >= lb.Count()) return;
  if (index < lb.top) {
    SetTop(lb, index);
    return;
  }
  int top = lb.top;
  while (top < index && index >= top + VisibleCount(lb, top)) ++top;
  SetTop(lb, top);
}

// Selection ----------------------------------------------------------------------------------

bool IsSelected(const ListBox& lb, int i) {
  return lb.AnyMulti() ? lb.items[static_cast<size_t>(i)].selected : lb.cur == i;
}

// Gives whether anything changed.
bool SelectOnly(ListBox& lb, int index) {
  bool changed = false;
  if (lb.AnyMulti()) {
    for (int i = 0; i < lb.Count(); ++i) {
      bool want = i == index;
      changed |= lb.items[static_cast<size_t>(i)].selected != want;
      lb.items[static_cast<size_t>(i)].selected = want;
    }
  } else {
    changed = lb.cur != index;
    lb.cur = index;
  }
  if (index >= 0) lb.caret = index;
  if (changed) Redraw(lb);
  return changed;
}

bool SelectRange(ListBox& lb, int from, int to) {
  if (from > to) std::swap(from, to);
  bool changed = false;
  for (int i = 0; i < lb.Count(); ++i) {
    bool want = i >= from && i <= to;
    changed |= lb.items[static_cast<size_t>(i)].selected != want;
    lb.items[static_cast<size_t>(i)].selected = want;
  }
  if (changed) Redraw(lb);
  return changed;
}

int Find(const ListBox& lb, int after, const std::string& prefix, bool exact) {
  auto lower = [](std::string s) {
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
  };
  std::string want = lower(prefix);
  int n = lb.Count();
  for (int k = 1; k <= n; ++k) {
    int i = ((after < 0 ? -1 : after) + k) % n;
    std::string t = lower(lb.items[static_cast<size_t>(i)].text);
    if (exact ? t == want : t.compare(0, want.size(), want) == 0) return i;
  }
  return static_cast<int>(LB_ERR);
}

int InsertAt(ListBox& lb, int index, const char* text, LPARAM lParam) {
  Item item;
  if (lb.HasStrings())
    item.text = text ? text : "";
  else
    item.data = static_cast<ULONG_PTR>(lParam);
  if (index < 0 || index > lb.Count()) {
    index = lb.Count();
    if ((lb.Style() & LBS_SORT) && lb.HasStrings()) {
      // Case-insensitive order; equal strings keep the order they came in.
      auto lower = [](std::string s) {
        for (char& c : s)
          if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
      };
      std::string key = lower(item.text);
      index = 0;
      while (index < lb.Count() && lower(lb.items[static_cast<size_t>(index)].text) <= key) ++index;
    }
  }
  lb.items.insert(lb.items.begin() + index, item);
  if (lb.Variable()) lb.items[static_cast<size_t>(index)].height = Measure(lb, index, item.data);
  if (!lb.AnyMulti() && lb.cur >= index) ++lb.cur;
  if (lb.caret >= index && lb.Count() > 1) ++lb.caret;
  Redraw(lb);
  return index;
}

// Input -------------------------------------------------------------------------------------

// Moves the caret by the keyboard, selecting as the list's kind wants.
bool MoveTo(ListBox& lb, int index, bool shift, bool ctrl) {
  if (lb.Count() == 0) return false;
  index = std::clamp(index, 0, lb.Count() - 1);
  bool changed = false;
  if (lb.Multiple() || (lb.Extended() && ctrl && !shift)) {
    lb.caret = index;
    Redraw(lb);
  } else if (lb.Extended() && shift) {
    lb.caret = index;
    changed = SelectRange(lb, lb.anchor, index);
  } else {
    changed = SelectOnly(lb, index);
    lb.anchor = index;
  }
  ShowItem(lb, index);
  return changed;
}

bool KeyDown(ListBox& lb, UINT vk) {
  const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  const int from = lb.AnyMulti() ? lb.caret : (lb.cur < 0 ? lb.caret : lb.cur);
  const int page = std::max(1, VisibleCount(lb, lb.top) - 1);
  switch (vk) {
    case VK_UP: return MoveTo(lb, lb.cur < 0 && !lb.AnyMulti() ? 0 : from - 1, shift, ctrl);
    case VK_DOWN: return MoveTo(lb, lb.cur < 0 && !lb.AnyMulti() ? 0 : from + 1, shift, ctrl);
    case VK_PRIOR: return MoveTo(lb, from - page, shift, ctrl);
    case VK_NEXT: return MoveTo(lb, from + page, shift, ctrl);
    case VK_HOME: return MoveTo(lb, 0, shift, ctrl);
    case VK_END: return MoveTo(lb, lb.Count() - 1, shift, ctrl);
    case VK_SPACE:
      if (lb.Count() == 0) return false;
      if (lb.Multiple() || (lb.Extended() && ctrl)) {
        Item& it = lb.items[static_cast<size_t>(lb.caret)];
        it.selected = !it.selected;
        lb.anchor = lb.caret;
        Redraw(lb);
        return true;
      }
      return false;
    default: return false;
  }
}

bool TypeAhead(ListBox& lb, char32_t c) {
  if (c < 0x20 || !lb.HasStrings() || lb.Count() == 0) return false;
  LONG now = GetMessageTime();
  if (now - lb.typedAt > kTypeAheadMs) lb.typed.clear();
  lb.typedAt = now;
  std::string one = Utf8Encode(c);
  lb.typed += one;
  int from = lb.AnyMulti() ? lb.caret : lb.cur;
  // One letter typed again and again steps through the items that begin
  // with it; a longer prefix searches on from the current item.
  bool repeated = true;
  for (size_t i = 0; i + one.size() <= lb.typed.size(); i += one.size())
    repeated = repeated && lb.typed.compare(i, one.size(), one) == 0;
  if (repeated) lb.typed = one;
  int after = lb.typed.size() == one.size() ? from : from - 1;
  int found = Find(lb, after, lb.typed, false);
  if (found < 0) return false;
  return MoveTo(lb, found, false, false);
}

bool MouseSelect(ListBox& lb, POINT pt, WPARAM keys, bool press) {
  bool outside = false;
  int i = ItemFromPoint(lb, pt, &outside);
  if (lb.Count() == 0 || (lb.Style() & LBS_NOSEL)) return false;
  bool changed = false;
  if (lb.Multiple()) {
    if (press) {
      Item& it = lb.items[static_cast<size_t>(i)];
      it.selected = !it.selected;
      changed = true;
      Redraw(lb);
    }
    lb.caret = i;
  } else if (lb.Extended()) {
    if (press && (keys & MK_CONTROL)) {
      Item& it = lb.items[static_cast<size_t>(i)];
      it.selected = !it.selected;
      lb.anchor = i;
      changed = true;
      Redraw(lb);
    } else if ((keys & MK_SHIFT) || !press) {
      changed = SelectRange(lb, lb.anchor, i);
    } else {
      changed = SelectOnly(lb, i);
      lb.anchor = i;
    }
    lb.caret = i;
  } else {
    changed = SelectOnly(lb, i);
  }
  ShowItem(lb, i);
  return changed;
}

// Painting ------------------------------------------------------------------------------------

void Paint(ListBox& lb) {
  PaintScope paint(lb.hwnd);
  HDC dc = paint.Dc();
  ObjectSelection font(dc, lb.font);
  const bool enabled = IsWindowEnabled(lb.hwnd);
  SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  HBRUSH brush = nullptr;
  HWND parent = GetParent(lb.hwnd);
  if (parent)
    brush = reinterpret_cast<HBRUSH>(
        SendMessage(parent, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(lb.hwnd)));
  if (!brush) brush = GetSysColorBrush(COLOR_WINDOW);
  RECT client;
  GetClientRect(lb.hwnd, &client);
  FillRect(dc, &client, brush);
  const COLORREF text = GetTextColor(dc), back = GetBkColor(dc);
  for (int i = lb.top; i < lb.Count(); ++i) {
    RECT r = ItemRect(lb, i);
    if (r.top >= client.bottom) break;
    const bool selected = IsSelected(lb, i);
    const bool focus = lb.focused && i == lb.caret;
    if (lb.OwnerDraw() && parent) {
      DRAWITEMSTRUCT di;
      di.CtlType = ODT_LISTBOX;
      di.CtlID = ControlId(lb);
      di.itemID = static_cast<UINT>(i);
      di.itemAction = ODA_DRAWENTIRE;
      di.itemState = (selected ? ODS_SELECTED : 0) | (focus ? ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
      di.hwndItem = lb.hwnd;
      di.hDC = dc;
      di.rcItem = r;
      di.itemData = lb.items[static_cast<size_t>(i)].data;
      SendMessage(parent, WM_DRAWITEM, di.CtlID, reinterpret_cast<LPARAM>(&di));
      continue;
    }
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
    SetBkColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHT) : back);
    const std::string& s = lb.items[static_cast<size_t>(i)].text;
    ExtTextOut(dc, r.left + 2, r.top, ETO_OPAQUE | ETO_CLIPPED, &r, s.c_str(), static_cast<UINT>(s.size()), nullptr);
    if (focus) DrawFocusRect(dc, &r);
  }
  if (lb.focused && lb.Count() == 0 && lb.AnyMulti()) {
    RECT r{0, 0, client.right, lb.itemHeight};
    DrawFocusRect(dc, &r);
  }
}

// The window procedure ------------------------------------------------------------------------

LRESULT ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto lb = std::make_shared<ListBox>();
    lb->hwnd = hwnd;
    Lists()[hwnd] = lb;
    lb->itemHeight = FontHeight(*lb);
    lb->wantsScrollBar = (reinterpret_cast<CREATESTRUCT*>(lParam)->style & WS_VSCROLL) != 0;
    if (lb->OwnerDraw() && !lb->Variable()) lb->itemHeight = Measure(*lb, 0, 0);
    return DefWindowProc(hwnd, msg, wParam, lParam);
  }
  auto it = Lists().find(hwnd);
  if (it == Lists().end()) return DefWindowProc(hwnd, msg, wParam, lParam);
  std::shared_ptr<ListBox> keep = it->second;
  ListBox& lb = *keep;
  auto changedThen = [&](bool changed) {
    if (changed) Notify(lb, LBN_SELCHANGE);
    return LRESULT{0};
  };
  switch (msg) {
    case WM_NCDESTROY:
      Lists().erase(hwnd);
      return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_SIZE:
      SetTop(lb, lb.top);
      Redraw(lb);
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(lb); return 0;
    case WM_SETFONT:
      lb.font = reinterpret_cast<HFONT>(wParam);
      if (!lb.OwnerDraw()) lb.itemHeight = FontHeight(lb);
      if (LOWORD(lParam)) Redraw(lb);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(lb.font);
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
      lb.focused = true;
      Redraw(lb);
      Notify(lb, LBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      lb.focused = false;
      Redraw(lb);
      Notify(lb, LBN_KILLFOCUS);
      return 0;
    case WM_KEYDOWN: return changedThen(KeyDown(lb, static_cast<UINT>(wParam)));
    case WM_CHAR: return changedThen(TypeAhead(lb, static_cast<char32_t>(wParam)));
    case WM_LBUTTONDOWN: {
      if (GetFocus() != hwnd && !(lb.Style() & WS_POPUP)) SetFocus(hwnd);
      if (!IsWindow(hwnd)) return 0;
      lb.tracking = true;
      SetCapture(hwnd);
      return changedThen(MouseSelect(lb, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, wParam, true));
    }
    case WM_LBUTTONDBLCLK:
      // The second press of a double click goes on like a first one.
      lb.tracking = true;
      SetCapture(hwnd);
      if (MouseSelect(lb, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, wParam, false))
        Notify(lb, LBN_SELCHANGE);
      if (IsWindow(hwnd)) Notify(lb, LBN_DBLCLK);
      return 0;
    case WM_MOUSEMOVE: {
      // Dragging with the button down selects (and scrolls at the edges); a
      // popup list follows the pointer without it.
      const bool dragging = lb.tracking && GetCapture() == hwnd;
      if (!dragging && !(lb.Style() & WS_POPUP)) return 0;
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      bool outside = false;
      ItemFromPoint(lb, pt, &outside);
      if (!dragging && outside) return 0;
      if (dragging && pt.y < 0) SetTop(lb, lb.top - 1);
      if (dragging && pt.y >= lb.ClientHeight()) {
        SetTop(lb, lb.top + 1);
        pt.y = lb.ClientHeight() - 1;
      }
      if (lb.Multiple()) return 0;
      return changedThen(MouseSelect(lb, pt, wParam, false));
    }
    case WM_LBUTTONUP:
      if (lb.tracking) {
        lb.tracking = false;
        if (GetCapture() == hwnd) ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED: lb.tracking = false; return 0;
    case WM_MOUSEWHEEL:
      SetTop(lb, lb.top - 3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
      return 0;
    case WM_VSCROLL: {
      int page = std::max(1, VisibleCount(lb, lb.top) - 1);
      switch (LOWORD(wParam)) {
        case SB_LINEUP: SetTop(lb, lb.top - 1); break;
        case SB_LINEDOWN: SetTop(lb, lb.top + 1); break;
        case SB_PAGEUP: SetTop(lb, lb.top - page); break;
        case SB_PAGEDOWN: SetTop(lb, lb.top + page); break;
        case SB_TOP: SetTop(lb, 0); break;
        case SB_BOTTOM: SetTop(lb, lb.Count()); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: SetTop(lb, HIWORD(wParam)); break;
        default: break;
      }
      return 0;
    }
    case WM_HSCROLL: {
      RECT rc;
      GetClientRect(hwnd, &rc);
      int maxX = std::max<int>(0, lb.horizontalExtent - rc.right);
      int x = lb.xOffset;
      switch (LOWORD(wParam)) {
        case SB_LINELEFT: x -= 8; break;
        case SB_LINERIGHT: x += 8; break;
        case SB_PAGELEFT: x -= rc.right; break;
        case SB_PAGERIGHT: x += rc.right; break;
        case SB_LEFT: x = 0; break;
        case SB_RIGHT: x = maxX; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: x = HIWORD(wParam); break;
        default: break;
      }
      x = std::clamp(x, 0, maxX);
      if (x != lb.xOffset) {
        lb.xOffset = x;
        Redraw(lb);
      }
      return 0;
    }

    case LB_ADDSTRING: return InsertAt(lb, -1, reinterpret_cast<const char*>(lParam), lParam);
    case LB_INSERTSTRING: {
      auto index = static_cast<int>(wParam);
      if (index > lb.Count()) return LB_ERR;
      return InsertAt(lb, index < 0 ? lb.Count() : index, reinterpret_cast<const char*>(lParam), lParam);
    }
    case LB_DELETESTRING: {
      auto index = static_cast<int>(wParam);
      if (index < 0 || index >= lb.Count()) return LB_ERR;
      lb.items.erase(lb.items.begin() + index);
      if (!lb.AnyMulti()) {
        if (lb.cur == index) lb.cur = -1;
        else if (lb.cur > index) --lb.cur;
      }
      if (lb.caret > index || lb.caret >= lb.Count()) lb.caret = std::max(0, lb.caret - 1);
      lb.anchor = std::min(lb.anchor, std::max(0, lb.Count() - 1));
      lb.top = std::clamp(lb.top, 0, MaxTop(lb));
      Redraw(lb);
      return lb.Count();
    }
    case LB_RESETCONTENT:
      lb.items.clear();
      lb.cur = -1;
      lb.caret = lb.anchor = lb.top = 0;
      Redraw(lb);
      return 0;
    case LB_GETCOUNT: return lb.Count();
    case LB_GETTEXT: {
      auto index = static_cast<int>(wParam);
      if (index < 0 || index >= lb.Count() || !lParam) return LB_ERR;
      const Item& item = lb.items[static_cast<size_t>(index)];
      if (!lb.HasStrings()) {
        *reinterpret_cast<ULONG_PTR*>(lParam) = item.data;
        return sizeof(ULONG_PTR);
      }
      std::copy(item.text.begin(), item.text.end(), reinterpret_cast<char*>(lParam));
      reinterpret_cast<char*>(lParam)[item.text.size()] = 0;
      return static_cast<LRESULT>(item.text.size());
    }
    case LB_GETTEXTLEN: {
      auto index = static_cast<int>(wParam);
      if (index < 0 || index >= lb.Count()) return LB_ERR;
      return lb.HasStrings() ? static_cast<LRESULT>(lb.items[static_cast<size_t>(index)].text.size())
                             : static_cast<LRESULT>(sizeof(ULONG_PTR));
    }
    case LB_GETITEMDATA: {
      auto index = static_cast<int>(wParam);
      if (index < 0 || index >= lb.Count()) return LB_ERR;
      return static_cast<LRESULT>(lb.items[static_cast<size_t>(index)].data);
    }
    case LB_SETITEMDATA: {
      auto index = static_cast<int>(wParam);
      if (index < 0 || index >= lb.Count()) return LB_ERR;
      lb.items[static_cast<size_t>(index)].data = static_cast<ULONG_PTR>(lParam);
      return LB_OKAY;
    }
    case LB_GETCURSEL:
      if (lb.AnyMulti()) return lb.Count() ? lb.caret : LB_ERR;
      return lb.cur;
    case LB_SETCURSEL: {
      if (lb.AnyMulti()) return LB_ERR;
      auto index = static_cast<int>(wParam);
      if (index < 0 || index >= lb.Count()) {
        SelectOnly(lb, -1);
        return LB_ERR;
      }
      SelectOnly(lb, index);
      ShowItem(lb, index);
      return index;
    }
    case LB_SETSEL: {
      if (!lb.AnyMulti()) return LB_ERR;
      auto index = static_cast<int>(static_cast<long>(lParam));
      if (index >= lb.Count()) return LB_ERR;
      for (int i = 0; i < lb.Count(); ++i)
        if (index == -1 || i == index) lb.items[static_cast<size_t>(i)].selected = wParam != 0;
      if (index >= 0) lb.caret = index;
      Redraw(lb);
      return LB_OKAY;
    }
    case LB_GETSEL: {
      auto index = static_cast<int>(wParam);
      if (index < 0 || index >= lb.Count()) return LB_ERR;
      return IsSelected(lb, index) ? 1 : 0;
    }
    case LB_GETSELCOUNT: {
      if (!lb.AnyMulti()) return LB_ERR;
      return std::count_if(lb.items.begin(), lb.items.end(), [](const Item& i) { return i.selected; });
    }
    case LB_GETSELITEMS: {
      if (!lb.AnyMulti()) return LB_ERR;
      auto* out = reinterpret_cast<INT*>(lParam);
      int n = 0;
      for (int i = 0; i < lb.Count() && n < static_cast<int>(wParam); ++i)
        if (lb.items[static_cast<size_t>(i)].selected) out[n++] = i;
      return n;
    }
    case LB_GETTOPINDEX: return lb.top;
    case LB_SETTOPINDEX: {
      auto index = static_cast<int>(wParam);
      if (index < 0 || (index >= lb.Count() && lb.Count() > 0)) return LB_ERR;
      SetTop(lb, index);
      return LB_OKAY;
    }
    case LB_GETITEMRECT: {
      auto index = static_cast<int>(wParam);
      if (!lParam || index < 0 || (index >= lb.Count() && index != 0)) return LB_ERR;
      if (index >= lb.Count()) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        *reinterpret_cast<RECT*>(lParam) = RECT{0, 0, rc.right, lb.itemHeight};
      } else {
        *reinterpret_cast<RECT*>(lParam) = ItemRect(lb, index);
      }
      return 1;
    }
    case LB_ITEMFROMPOINT: {
      bool outside = false;
      int i = ItemFromPoint(lb, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, &outside);
      return MAKELRESULT(static_cast<WORD>(i), outside ? 1 : 0);
    }
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT: {
      if (lb.Count() == 0 || !lParam) return LB_ERR;
      return Find(lb, static_cast<int>(wParam), reinterpret_cast<const char*>(lParam), msg == LB_FINDSTRINGEXACT);
    }
    case LB_SELECTSTRING: {
      if (lb.Count() == 0 || !lParam) return LB_ERR;
      int found = Find(lb, static_cast<int>(wParam), reinterpret_cast<const char*>(lParam), false);
      if (found >= 0) {
        SelectOnly(lb, found);
        ShowItem(lb, found);
      }
      return found;
    }
    case LB_SETHORIZONTALEXTENT:
      lb.horizontalExtent = static_cast<int>(wParam);
      lb.xOffset = 0;
      Redraw(lb);
      return 0;
    case LB_GETHORIZONTALEXTENT: return lb.horizontalExtent;
    case LB_SETCARETINDEX: {
      auto index = static_cast<int>(wParam);
      if (index < 0 || index >= lb.Count()) return LB_ERR;
      lb.caret = index;
      if (!lb.AnyMulti()) SelectOnly(lb, index);
      ShowItem(lb, index);
      Redraw(lb);
      return LB_OKAY;
    }
    case LB_GETCARETINDEX: return lb.caret;
    case LB_SETANCHORINDEX:
      if (static_cast<int>(wParam) >= lb.Count()) return LB_ERR;
      lb.anchor = static_cast<int>(wParam);
      return LB_OKAY;
    case LB_GETANCHORINDEX: return lb.anchor;
    case LB_SETITEMHEIGHT: {
      int h = LOWORD(static_cast<uintptr_t>(lParam));
      if (h <= 0 || h > 255) return LB_ERR;
      if (lb.Variable()) {
        auto index = static_cast<int>(wParam);
        if (index < 0 || index >= lb.Count()) return LB_ERR;
        lb.items[static_cast<size_t>(index)].height = h;
      } else {
        lb.itemHeight = h;
      }
      Redraw(lb);
      return LB_OKAY;
    }
    case LB_GETITEMHEIGHT: {
      if (!lb.Variable()) return lb.itemHeight;
      auto index = static_cast<int>(wParam);
      if (index < 0 || index >= lb.Count()) return lb.itemHeight;
      return lb.items[static_cast<size_t>(index)].height;
    }
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

ATOM RegisterListBoxClass() {
  static ATOM atom = 0;
  return user::RegisterControlClass(atom, kListBoxClassName, ListBoxProc, IDC_ARROW);
}

}  // namespace win
