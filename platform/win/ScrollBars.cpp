#include "platform/win/ScrollBars.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <map>

#include "platform/win/GdiFrames.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Input.h"
#include "platform/win/NonClient.h"
#include "platform/win/SysColors.h"
#include "platform/win/UserPrivate.h"
#include "platform/win/WindowsPrivate.h"
#include "platform/win/Painting.h"
#include "platform/win/Rects.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "platform/win/GdiScopes.h"

namespace win {
namespace {

struct BarState {
  int min = 0;
  int max = 100;  // a new window's bars have the range 0..100, as in Windows
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
  UINT disabledArrows = ESB_ENABLE_BOTH;
};

void EnsureScrollBarLayer();

struct WindowBars {
  BarState bars[3];  // SB_HORZ, SB_VERT, SB_CTL
};

std::map<HWND, WindowBars>& Bars() {
  static std::map<HWND, WindowBars> bars;
  return bars;
}

// The state of a bar; drops states of windows that are gone, since handles
// come back.
BarState* Find(HWND hwnd, int bar) {
  EnsureScrollBarLayer();
  if (bar != SB_HORZ && bar != SB_VERT && bar != SB_CTL) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!IsWindow(hwnd)) {
    Bars().erase(hwnd);
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (bar == SB_CTL) {
    // Only a scroll-bar control is a bar of its own.
    std::string cls = GetClassName(hwnd);
    for (char& c : cls) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (cls != kScrollBarClassName) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
  }
  return &Bars()[hwnd].bars[bar];
}

int MaxPos(const BarState& b) {
  int span = b.max - b.min + 1;
  int page = static_cast<int>(std::min<UINT>(b.page, static_cast<UINT>(std::max(span, 0))));
  return std::max(b.min, b.max - std::max(page - 1, 0));
}

DWORD StyleBit(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }

bool Vertical(HWND hwnd, int bar) {
  if (bar == SB_CTL) return (GetWindowLongPtr(hwnd, GWL_STYLE) & SBS_VERT) != 0;
  return bar == SB_VERT;
}

LONG ObjectOf(int bar) { return bar == SB_CTL ? OBJID_CLIENT : bar == SB_VERT ? OBJID_VSCROLL : OBJID_HSCROLL; }

bool Shown(HWND hwnd, int bar) {
  if (bar == SB_CTL) return true;
  return (GetWindowLongPtr(hwnd, GWL_STYLE) & StyleBit(bar)) != 0; }

void EnsureScrollBarLayer();

void Redraw(HWND hwnd) {
  EnsureScrollBarLayer();
  // The bars live in the frame.
  RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void Relayout(HWND hwnd) {
  EnsureScrollBarLayer();
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}


// The frame part: drawing the bars and tracking the mouse on them --------------------------

// The bar's rectangle in window coordinates.
RECT BarRect(HWND hwnd, int bar) {
  RECT wr;
  GetWindowRect(hwnd, &wr);
  if (bar == SB_CTL) return RECT{0, 0, wr.right - wr.left, wr.bottom - wr.top};
  NonClientLayout l = LayoutNonClient(static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE)),
                                      static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_EXSTYLE)), wr.right - wr.left,
                                      wr.bottom - wr.top);
  return bar == SB_VERT ? l.vscroll : l.hscroll;
}

// With the visual style: flat arrow buttons, tracks on both sides of the
// thumb and the thumb with its gripper. False without the style.
bool DrawThemedBar(HDC dc, const RECT& r, const SCROLLBARINFO& bi, bool vertical, bool off) {
  ScopedTheme scoped(u"ScrollBar");
  if (!scoped) return false;
  HTHEME theme = scoped.get();
  auto along = [&](int from, int to) {
    return vertical ? RECT{r.left, r.top + from, r.right, r.top + to} : RECT{r.left + from, r.top, r.left + to, r.bottom};
  };
  int length = vertical ? r.bottom - r.top : r.right - r.left;
  int button = std::min(bi.dxyLineButton, length / 2);
  RECT first = along(0, button), second = along(length - button, length);
  bool firstOff = off || (bi.rgstate[1] & STATE_SYSTEM_UNAVAILABLE);
  bool secondOff = off || (bi.rgstate[5] & STATE_SYSTEM_UNAVAILABLE);
  int firstArrow = vertical ? ABS_UPNORMAL : ABS_LEFTNORMAL;
  int secondArrow = vertical ? ABS_DOWNNORMAL : ABS_RIGHTNORMAL;
  DrawThemeBackground(theme, dc, SBP_ARROWBTN, firstArrow + (firstOff ? 3 : 0), &first, nullptr);
  DrawThemeBackground(theme, dc, SBP_ARROWBTN, secondArrow + (secondOff ? 3 : 0), &second, nullptr);
  int lower = vertical ? SBP_LOWERTRACKVERT : SBP_LOWERTRACKHORZ;
  int upper = vertical ? SBP_UPPERTRACKVERT : SBP_UPPERTRACKHORZ;
  if (off || bi.xyThumbBottom <= bi.xyThumbTop) {
    RECT track = along(button, length - button);
    DrawThemeBackground(theme, dc, lower, off ? SCRBS_DISABLED : SCRBS_NORMAL, &track, nullptr);
  } else {
    RECT before = along(button, bi.xyThumbTop), after = along(bi.xyThumbBottom, length - button);
    RECT thumb = along(bi.xyThumbTop, bi.xyThumbBottom);
    DrawThemeBackground(theme, dc, lower, SCRBS_NORMAL, &before, nullptr);
    DrawThemeBackground(theme, dc, upper, SCRBS_NORMAL, &after, nullptr);
    DrawThemeBackground(theme, dc, vertical ? SBP_THUMBBTNVERT : SBP_THUMBBTNHORZ, SCRBS_NORMAL, &thumb, nullptr);
    int gripper = vertical ? SBP_GRIPPERVERT : SBP_GRIPPERHORZ;
    SIZE g{};
    GetThemePartSize(theme, dc, gripper, SCRBS_NORMAL, nullptr, TS_TRUE, &g);
    if (bi.xyThumbBottom - bi.xyThumbTop >= (vertical ? g.cy : g.cx) + 4)
      DrawThemeBackground(theme, dc, gripper, 0, &thumb, nullptr);
  }
  return true;
}

void DrawBar(HWND hwnd, HDC dc, int bar) {
  RECT r = BarRect(hwnd, bar);
  if (IsRectEmpty(&r)) return;
  SCROLLBARINFO bi;
  if (!GetScrollBarInfo(hwnd, ObjectOf(bar), &bi)) return;
  const bool vertical = Vertical(hwnd, bar);
  const bool off = bi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE;
  if (DrawThemedBar(dc, r, bi, vertical, off)) return;
  FillRect(dc, &r, GetSysColorBrush(COLOR_SCROLLBAR));
  RECT first = r, second = r;
  if (vertical) {
    first.bottom = r.top + bi.dxyLineButton;
    second.top = r.bottom - bi.dxyLineButton;
  } else {
    first.right = r.left + bi.dxyLineButton;
    second.left = r.right - bi.dxyLineButton;
  }
  UINT inactive = off ? DFCS_INACTIVE : 0;
  DrawFrameControl(dc, &first, DFC_SCROLL,
                   (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) |
                       (bi.rgstate[1] & STATE_SYSTEM_UNAVAILABLE ? DFCS_INACTIVE : inactive));
  DrawFrameControl(dc, &second, DFC_SCROLL,
                   (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) |
                       (bi.rgstate[5] & STATE_SYSTEM_UNAVAILABLE ? DFCS_INACTIVE : inactive));
  if (off) return;
  RECT thumb = r;
  if (vertical) {
    thumb.top = r.top + bi.xyThumbTop;
    thumb.bottom = r.top + bi.xyThumbBottom;
  } else {
    thumb.left = r.left + bi.xyThumbTop;
    thumb.right = r.left + bi.xyThumbBottom;
  }
  FillRect(dc, &thumb, GetSysColorBrush(COLOR_3DFACE));
  DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
}

void DrawBars(HWND hwnd) {
  auto style = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE));
  if (!(style & (WS_VSCROLL | WS_HSCROLL)) || !IsWindowVisible(hwnd)) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  if (style & WS_VSCROLL) DrawBar(hwnd, dc, SB_VERT);
  if (style & WS_HSCROLL) DrawBar(hwnd, dc, SB_HORZ);
  ReleaseDC(hwnd, dc);
}

// Which part of the bar a point (window coordinates) is on: SB_LINEUP,
// SB_PAGEUP, SB_THUMBTRACK, SB_PAGEDOWN or SB_LINEDOWN.
WORD PartAt(HWND hwnd, int bar, POINT windowPt) {
  RECT r = BarRect(hwnd, bar);
  SCROLLBARINFO bi;
  GetScrollBarInfo(hwnd, ObjectOf(bar), &bi);
  int along = Vertical(hwnd, bar) ? windowPt.y - r.top : windowPt.x - r.left;
  int length = Vertical(hwnd, bar) ? r.bottom - r.top : r.right - r.left;
  if (along < bi.dxyLineButton) return SB_LINEUP;
  if (along >= length - bi.dxyLineButton) return SB_LINEDOWN;
  if (along < bi.xyThumbTop) return SB_PAGEUP;
  if (along >= bi.xyThumbBottom) return SB_PAGEDOWN;
  return SB_THUMBTRACK;
}

constexpr UINT_PTR kRepeatTimer = 0xFFF3;

// Windows runs the bar's mouse in a loop of its own until the button comes
// up: arrows and the shaft repeat while held, the thumb sends its track
// position as it moves and its final position when let go.
void TrackBar(HWND hwnd, int bar, POINT screenPt) {
  const UINT msg = Vertical(hwnd, bar) ? WM_VSCROLL : WM_HSCROLL;
  // A scroll-bar control tells its parent; a window's own bar the window.
  const HWND target = bar == SB_CTL ? GetParent(hwnd) : hwnd;
  const LPARAM control = bar == SB_CTL ? reinterpret_cast<LPARAM>(hwnd) : 0;
  BarState* b = Find(hwnd, bar);
  if (!b || b->disabledArrows == ESB_DISABLE_BOTH) return;
  RECT wr;
  GetWindowRect(hwnd, &wr);
  POINT wp{screenPt.x - wr.left, screenPt.y - wr.top};
  const WORD part = PartAt(hwnd, bar, wp);
  if ((part == SB_LINEUP && (b->disabledArrows & ESB_DISABLE_LTUP)) ||
      (part == SB_LINEDOWN && (b->disabledArrows & ESB_DISABLE_RTDN)))
    return;
  SCROLLBARINFO bi;
  GetScrollBarInfo(hwnd, ObjectOf(bar), &bi);
  const int grab = (Vertical(hwnd, bar) ? wp.y - (BarRect(hwnd, bar).top) : wp.x - BarRect(hwnd, bar).left) -
                   bi.xyThumbTop;
  SetCapture(hwnd);
  if (part != SB_THUMBTRACK) {
    // The first repeat waits a little longer than the ones after it.
    SetTimer(hwnd, kRepeatTimer, GetDoubleClickTime() / 2, nullptr);
    SendMessage(target, msg, MAKEWPARAM(part, 0), control);
  } else {
    b->trackPos = b->pos;
  }
  int lastTrack = b->pos;
  MSG m;
  while (IsWindow(hwnd) && GetCapture() == hwnd && GetMessage(&m, nullptr, 0, 0) > 0) {
    if (m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == kRepeatTimer) {
      // Keeps repeating while the pointer stays on the part it pressed.
      SetTimer(hwnd, kRepeatTimer, 50, nullptr);
      POINT p;
      GetCursorPos(&p);
      if (PartAt(hwnd, bar, POINT{p.x - wr.left, p.y - wr.top}) == part)
        SendMessage(target, msg, MAKEWPARAM(part, 0), control);
      continue;
    }
    if (m.message == WM_MOUSEMOVE && m.hwnd == hwnd) {
      if (part != SB_THUMBTRACK) continue;
      POINT p{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
      ClientToScreen(hwnd, &p);
      if (!(b = Find(hwnd, bar))) break;
      RECT r = BarRect(hwnd, bar);
      int along = (Vertical(hwnd, bar) ? p.y - wr.top - r.top : p.x - wr.left - r.left) - grab;
      GetScrollBarInfo(hwnd, ObjectOf(bar), &bi);
      int length = Vertical(hwnd, bar) ? r.bottom - r.top : r.right - r.left;
      int thumb = bi.xyThumbBottom - bi.xyThumbTop;
      int travel = std::max(1, length - 2 * bi.dxyLineButton - thumb);
      int range = MaxPos(*b) - b->min;
      int pos = b->min + static_cast<int>((static_cast<long long>(std::clamp(along - bi.dxyLineButton, 0, travel)) *
                                               range + travel / 2) / travel);
      if (pos != lastTrack) {
        lastTrack = pos;
        b->trackPos = pos;
        SendMessage(target, msg, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(pos)), control);
      }
      continue;
    }
    if (m.message == WM_LBUTTONUP && m.hwnd == hwnd) break;
    if (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST) {
      if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) break;
      continue;
    }
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
  if (!IsWindow(hwnd)) return;
  KillTimer(hwnd, kRepeatTimer);
  if (GetCapture() == hwnd) ReleaseCapture();
  if (part == SB_THUMBTRACK) SendMessage(target, msg, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(lastTrack)), control);
  if (IsWindow(hwnd)) SendMessage(target, msg, MAKEWPARAM(SB_ENDSCROLL, 0), control);
}

bool (*previousDefault)(HWND, UINT, WPARAM, LPARAM, LRESULT*) = nullptr;

bool ScrollBarDefault(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  bool handled = previousDefault && previousDefault(hwnd, msg, wParam, lParam, result);
  if (msg == WM_NCDESTROY) {
    Bars().erase(hwnd);  // handles come back; a new window starts with fresh bars
  } else if (msg == WM_NCPAINT && IsWindow(hwnd)) {
    DrawBars(hwnd);
  } else if (msg == WM_NCLBUTTONDOWN && (wParam == HTVSCROLL || wParam == HTHSCROLL)) {
    TrackBar(hwnd, wParam == HTVSCROLL ? SB_VERT : SB_HORZ, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    *result = 0;
    return true;
  }
  return handled;
}

// Chained after the user layer's default procedure, which leaves the bars'
// place in the frame to this module.
void EnsureScrollBarLayer() {
  static bool done = false;
  if (done) return;
  done = true;
  user::EnsureUserLayer();
  wnd::Extensions& e = wnd::LayerExtensions();
  previousDefault = e.defWindowProc;
  e.defWindowProc = ScrollBarDefault;
}


LRESULT ScrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PaintScope paint(hwnd);
      DrawBar(hwnd, paint.Dc(), SB_CTL);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &p);
      TrackBar(hwnd, SB_CTL, p);
      return 0;
    }
    case WM_NCDESTROY: Bars().erase(hwnd); return DefWindowProc(hwnd, msg, wParam, lParam);
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

ATOM RegisterScrollBarClass() {
  static ATOM atom = 0;
  return user::RegisterControlClass(atom, kScrollBarClassName, ScrollBarProc, IDC_ARROW);
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  if (bar == SB_CTL && IsWindow(hwnd)) {
    ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
    return TRUE;
  }
  if (!IsWindow(hwnd) || bar < SB_HORZ || bar > SB_BOTH || bar == SB_CTL) {
    SetLastError(IsWindow(hwnd) ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  DWORD bits = bar == SB_BOTH ? (WS_VSCROLL | WS_HSCROLL) : StyleBit(bar);
  auto style = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE));
  DWORD wanted = show ? style | bits : style & ~bits;
  if (wanted != style) {
    SetWindowLongPtr(hwnd, GWL_STYLE, static_cast<LONG_PTR>(wanted));
    if (IsWindow(hwnd)) Relayout(hwnd);
  }
  return TRUE;
}

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw) {
  BarState* b = info ? Find(hwnd, bar) : nullptr;
  if (!b) return 0;
  if (info->fMask & SIF_RANGE) {
    b->min = info->nMin;
    b->max = std::max(info->nMin, info->nMax);
  }
  if (info->fMask & SIF_PAGE) b->page = info->nPage;
  int span = b->max - b->min + 1;
  b->page = std::min<UINT>(b->page, static_cast<UINT>(span));
  if (info->fMask & SIF_POS) b->pos = info->nPos;
  b->pos = std::clamp(b->pos, b->min, MaxPos(*b));
  const int pos = b->pos;
  if (bar != SB_CTL && (info->fMask & (SIF_RANGE | SIF_PAGE))) {
    // Nothing to scroll: the bar goes, or stays disabled when asked to.
    const bool empty = b->max <= b->min || b->page >= static_cast<UINT>(span);
    if (info->fMask & SIF_DISABLENOSCROLL) {
      b->disabledArrows = empty ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH;
      if (!Shown(hwnd, bar)) ShowScrollBar(hwnd, bar, TRUE);
    } else if (empty == Shown(hwnd, bar)) {
      ShowScrollBar(hwnd, bar, !empty);
    }
  }
  if (redraw && IsWindow(hwnd) && Shown(hwnd, bar)) Redraw(hwnd);
  return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
  BarState* b = info ? Find(hwnd, bar) : nullptr;
  if (!b) return FALSE;
  if (info->fMask & SIF_RANGE) {
    info->nMin = b->min;
    info->nMax = b->max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = b->page;
  if (info->fMask & SIF_POS) info->nPos = b->pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = b->trackPos;
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  BarState* b = Find(hwnd, bar);
  if (!b) return 0;
  int old = b->pos;
  SCROLLINFO si;
  si.fMask = SIF_POS;
  si.nPos = pos;
  SetScrollInfo(hwnd, bar, &si, redraw);
  return old;
}

int GetScrollPos(HWND hwnd, int bar) {
  BarState* b = Find(hwnd, bar);
  return b ? b->pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  if (!Find(hwnd, bar)) return FALSE;
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  si.nMin = minPos;
  si.nMax = maxPos;
  SetScrollInfo(hwnd, bar, &si, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
  BarState* b = Find(hwnd, bar);
  if (!b) return FALSE;
  if (minPos) *minPos = b->min;
  if (maxPos) *maxPos = b->max;
  return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  if (bar == static_cast<UINT>(SB_BOTH))
    return EnableScrollBar(hwnd, SB_HORZ, arrows) && EnableScrollBar(hwnd, SB_VERT, arrows);
  BarState* b = Find(hwnd, static_cast<int>(bar));
  if (!b) return FALSE;
  if (b->disabledArrows == arrows) return FALSE;  // nothing changed, as Windows answers
  b->disabledArrows = arrows;
  if (Shown(hwnd, static_cast<int>(bar))) Redraw(hwnd);
  return TRUE;
}

BOOL GetScrollBarInfo(HWND hwnd, LONG objectId, SCROLLBARINFO* info) {
  if (!info || (objectId != OBJID_VSCROLL && objectId != OBJID_HSCROLL && objectId != OBJID_CLIENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int bar = objectId == OBJID_CLIENT ? SB_CTL : objectId == OBJID_VSCROLL ? SB_VERT : SB_HORZ;
  BarState* b = Find(hwnd, bar);
  if (!b) return FALSE;
  RECT wr;
  GetWindowRect(hwnd, &wr);
  NonClientLayout l = LayoutNonClient(static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE)),
                                      static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_EXSTYLE)), wr.right - wr.left,
                                      wr.bottom - wr.top);
  RECT r = bar == SB_CTL ? BarRect(hwnd, bar) : bar == SB_VERT ? l.vscroll : l.hscroll;
  info->rcScrollBar = RECT{wr.left + r.left, wr.top + r.top, wr.left + r.right, wr.top + r.bottom};
  const bool vertical = Vertical(hwnd, bar);
  const int length = vertical ? r.bottom - r.top : r.right - r.left;
  const int arrow = std::min(GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL), length / 2);
  info->dxyLineButton = arrow;
  // The thumb shares the shaft between the arrows as the page shares the
  // range, never smaller than the system's minimum thumb.
  const int shaft = std::max(0, length - 2 * arrow);
  const int span = b->max - b->min + 1;
  int thumb = b->page ? static_cast<int>(static_cast<long long>(shaft) * b->page / span)
                      : GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
  thumb = std::clamp(thumb, std::min(shaft, GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB)), shaft);
  const int travel = MaxPos(*b) - b->min;
  const int offset = travel > 0 ? static_cast<int>(static_cast<long long>(shaft - thumb) * (b->pos - b->min) / travel)
                                : 0;
  info->xyThumbTop = arrow + offset;
  info->xyThumbBottom = arrow + offset + thumb;
  info->reserved = 0;
  std::fill(std::begin(info->rgstate), std::end(info->rgstate), 0);
  if (IsRectEmpty(&r)) info->rgstate[0] |= STATE_SYSTEM_INVISIBLE;
  if (b->disabledArrows == ESB_DISABLE_BOTH || !IsWindowEnabled(hwnd)) info->rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
  if (b->disabledArrows & ESB_DISABLE_LTUP) info->rgstate[1] |= STATE_SYSTEM_UNAVAILABLE;
  if (b->disabledArrows & ESB_DISABLE_RTDN) info->rgstate[5] |= STATE_SYSTEM_UNAVAILABLE;
  return TRUE;
}

BOOL InitializeFlatSB(HWND hwnd) { return IsWindow(hwnd); }
HRESULT UninitializeFlatSB(HWND hwnd) { return IsWindow(hwnd) ? S_OK : S_FALSE; }
int FlatSB_SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw) {
  return SetScrollInfo(hwnd, bar, info, redraw);
}
BOOL FlatSB_GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) { return GetScrollInfo(hwnd, bar, info); }
int FlatSB_SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) { return SetScrollPos(hwnd, bar, pos, redraw); }
int FlatSB_GetScrollPos(HWND hwnd, int bar) { return GetScrollPos(hwnd, bar); }
BOOL FlatSB_SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  return SetScrollRange(hwnd, bar, minPos, maxPos, redraw);
}
BOOL FlatSB_GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
  return GetScrollRange(hwnd, bar, minPos, maxPos);
}
BOOL FlatSB_ShowScrollBar(HWND hwnd, int bar, BOOL show) { return ShowScrollBar(hwnd, bar, show); }
BOOL FlatSB_EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) { return EnableScrollBar(hwnd, bar, arrows); }

}  // namespace win
