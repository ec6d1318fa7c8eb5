#include "platform/win/NonClient.h"

#include <algorithm>
#include <unordered_map>

#include "platform/win/Gdi.h"
#include "platform/win/GdiFonts.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/Rects.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysParams.h"
#include "platform/win/UserPrivate.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"

namespace win {

using namespace wnd;

namespace {


bool HasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

int FrameWidth(DWORD style, DWORD exStyle) {
  if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME);
  if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) return GetSystemMetrics(SM_CXDLGFRAME);
  if (style & WS_BORDER) return GetSystemMetrics(SM_CXBORDER);
  return 0;
}

std::unordered_map<HWND, bool>& ActiveFrames() {
  static std::unordered_map<HWND, bool> frames;
  return frames;
}

// A press on a caption button, answered when the button is released over it.
struct PressedButton {
  HWND hwnd = nullptr;
  LRESULT hit = HTNOWHERE;
};
PressedButton& Pressed() {
  static PressedButton p;
  return p;
}

// The icons given by WM_SETICON: small and big.
struct WindowIcons {
  HICON small = nullptr;
  HICON big = nullptr;
};
std::unordered_map<HWND, WindowIcons>& Icons() {
  static std::unordered_map<HWND, WindowIcons> icons;
  return icons;
}

}  // namespace

namespace user {

// The caption's icon: the window's small icon, else its big one, else its
// class's, shrunk to the small icon size; a window without any shows a plain
// window picture.
void DrawCaptionIcon(HDC dc, HWND hwnd, const RECT& box) {
  int size = GetSystemMetrics(SM_CXSMICON);
  int x = box.left + (box.right - box.left - size) / 2, y = box.top + (box.bottom - box.top - size) / 2;
  WindowIcons given = Icons().count(hwnd) ? Icons()[hwnd] : WindowIcons{};
  HICON icon = given.small ? given.small : given.big;
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtr(hwnd, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtr(hwnd, GCLP_HICON));
  CursorImage image;
  if (icon && GetCursorImage(icon, &image) && image.width > 0 && image.height > 0) {
    for (int j = 0; j < size; ++j)
      for (int i = 0; i < size; ++i) {
        uint32_t p = image.argb[static_cast<size_t>(j * image.height / size) * image.width + i * image.width / size];
        unsigned a = p >> 24;
        if (a == 0) continue;
        COLORREF under = a < 255 ? GetPixel(dc, x + i, y + j) : 0;
        auto mix = [&](unsigned c, unsigned u) { return static_cast<BYTE>((c * a + u * (255 - a)) / 255); };
        SetPixel(dc, x + i, y + j,
                 RGB(mix((p >> 16) & 0xFF, GetRValue(under)), mix((p >> 8) & 0xFF, GetGValue(under)),
                     mix(p & 0xFF, GetBValue(under))));
      }
    return;
  }
  RECT outer{x + 1, y + 2, x + size - 1, y + size - 2};
  FillRect(dc, &outer, GetSysColorBrush(COLOR_WINDOWFRAME));
  RECT title{outer.left + 1, outer.top + 1, outer.right - 1, outer.top + 4};
  FillRect(dc, &title, GetSysColorBrush(COLOR_ACTIVECAPTION));
  RECT body{outer.left + 1, outer.top + 4, outer.right - 1, outer.bottom - 1};
  FillRect(dc, &body, GetSysColorBrush(COLOR_WINDOW));
}

}  // namespace user

namespace {

bool IsCaptionButton(LRESULT hit) {
  return hit == HTCLOSE || hit == HTMINBUTTON || hit == HTMAXBUTTON || hit == HTHELP;
}

LRESULT HitTest(const NonClientLayout& l, DWORD style, POINT p) {
  if (!PtInRect(&l.window, p)) return HTNOWHERE;
  if (PtInRect(&l.client, p)) return HTCLIENT;
  int w = l.window.right, h = l.window.bottom, f = l.frame;
  if (f > 0 && (p.x < f || p.y < f || p.x >= w - f || p.y >= h - f)) {
    if (!(style & WS_THICKFRAME) || (style & (WS_MAXIMIZE | WS_MINIMIZE))) return HTBORDER;
    // Corners reach along the edges as far as a caption button is wide.
    int cx = GetSystemMetrics(SM_CXSIZE) + f, cy = GetSystemMetrics(SM_CYSIZE) + f;
    if (p.y < f) return p.x < cx ? HTTOPLEFT : p.x >= w - cx ? HTTOPRIGHT : HTTOP;
    if (p.y >= h - f) return p.x < cx ? HTBOTTOMLEFT : p.x >= w - cx ? HTBOTTOMRIGHT : HTBOTTOM;
    if (p.x < f) return p.y < cy ? HTTOPLEFT : p.y >= h - cy ? HTBOTTOMLEFT : HTLEFT;
    return p.y < cy ? HTTOPRIGHT : p.y >= h - cy ? HTBOTTOMRIGHT : HTRIGHT;
  }
  RECT band = l.caption;
  if (!IsRectEmpty(&band)) {
    band.bottom += 1;  // the line under the caption belongs to it
    if (PtInRect(&band, p)) {
      if (PtInRect(&l.closeButton, p)) return HTCLOSE;
      if (PtInRect(&l.maxButton, p)) return HTMAXBUTTON;
      if (PtInRect(&l.minButton, p)) return HTMINBUTTON;
      if (PtInRect(&l.helpButton, p)) return HTHELP;
      if (PtInRect(&l.sysMenu, p)) return HTSYSMENU;
      return HTCAPTION;
    }
  }
  if (PtInRect(&l.sizeBox, p)) return HTGROWBOX;
  if (PtInRect(&l.vscroll, p)) return HTVSCROLL;
  if (PtInRect(&l.hscroll, p)) return HTHSCROLL;
  return HTBORDER;  // a client edge
}

// The menu bar lies under the caption, above the client edge.
int MenuBarHeight(HWND hwnd, const Window* w) {
  auto height = LayerExtensions().menuBarHeight;
  if (!height || !LayerExtensions().paintMenuBar || w->IsChild() || (w->style & WS_MINIMIZE)) return 0;
  return height(hwnd, w->rect.right - w->rect.left);
}

void FillBand(HDC dc, const RECT& outer, int width, HBRUSH brush) {
  if (width <= 0) return;
  RECT strips[4] = {{outer.left, outer.top, outer.right, outer.top + width},
                    {outer.left, outer.bottom - width, outer.right, outer.bottom},
                    {outer.left, outer.top + width, outer.left + width, outer.bottom - width},
                    {outer.right - width, outer.top + width, outer.right, outer.bottom - width}};
  for (RECT& r : strips) FillRect(dc, &r, brush);
}

void DrawCaption(HDC dc, HWND hwnd, const Window* w, const NonClientLayout& l, bool active) {
  bool tool = w->exStyle & WS_EX_TOOLWINDOW;
  COLORREF from = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
  COLORREF to = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
  int width = std::max<LONG>(1, l.caption.right - l.caption.left);
  // Left to right from the caption colour to its gradient partner.
  for (LONG x = l.caption.left; x < l.caption.right; ++x) {
    int t = static_cast<int>(x - l.caption.left);
    auto mix = [&](BYTE a, BYTE b) { return static_cast<BYTE>(a + (static_cast<int>(b) - a) * t / width); };
    COLORREF c = RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
                     mix(GetBValue(from), GetBValue(to)));
    HBRUSH b = CreateSolidBrush(c);
    RECT line{x, l.caption.top, x + 1, l.caption.bottom};
    FillRect(dc, &line, b);
    DeleteObject(b);
  }
  RECT under{l.caption.left, l.caption.bottom, l.caption.right, l.caption.bottom + 1};
  FillRect(dc, &under, GetSysColorBrush(COLOR_3DFACE));

  if (!IsRectEmpty(&l.sysMenu)) user::DrawCaptionIcon(dc, hwnd, l.sysMenu);
  RECT text = l.caption;
  text.left = IsRectEmpty(&l.sysMenu) ? l.caption.left + 2 : l.sysMenu.right;
  for (const RECT* b : {&l.helpButton, &l.minButton, &l.maxButton, &l.closeButton})
    if (!IsRectEmpty(b)) text.right = std::min(text.right, b->left - 2);
  std::string title = w->text;
  if (!title.empty() && text.right > text.left) {
    NONCLIENTMETRICS m;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
    HFONT font = CreateFontIndirect(tool ? &m.lfSmCaptionFont : &m.lfCaptionFont);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    DrawText(dc, title.c_str(), static_cast<int>(title.size()), &text,
             DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | DT_LEFT);
    SelectObject(dc, oldFont);
    DeleteObject(font);
  }

  bool noClose = GetClassLongPtr(hwnd, GCL_STYLE) & CS_NOCLOSE;
  struct Button {
    const RECT* rect;
    UINT state;
  };
  Button buttons[] = {
      {&l.closeButton, DFCS_CAPTIONCLOSE | (noClose ? DFCS_INACTIVE : 0)},
      {&l.maxButton, ((w->style & WS_MAXIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX) |
                         ((w->style & WS_MAXIMIZEBOX) ? 0 : DFCS_INACTIVE)},
      {&l.minButton, ((w->style & WS_MINIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN) |
                         ((w->style & WS_MINIMIZEBOX) ? 0 : DFCS_INACTIVE)},
      {&l.helpButton, DFCS_CAPTIONHELP},
  };
  for (Button& b : buttons) {
    if (IsRectEmpty(b.rect)) continue;
    RECT r = *b.rect;
    bool pressed = Pressed().hwnd == hwnd && ((b.rect == &l.closeButton && Pressed().hit == HTCLOSE) ||
                                              (b.rect == &l.maxButton && Pressed().hit == HTMAXBUTTON) ||
                                              (b.rect == &l.minButton && Pressed().hit == HTMINBUTTON) ||
                                              (b.rect == &l.helpButton && Pressed().hit == HTHELP));
    DrawFrameControl(dc, &r, DFC_CAPTION, b.state | (pressed ? DFCS_PUSHED : 0));
  }
}

void PaintFrame(HWND hwnd, HRGN screenClip, HDC given) {
  Window* w = Lookup(hwnd);
  if (!w) return;
  HDC dc = given;
  if (!dc) {
    HRGN clip = nullptr;
    if (screenClip) {
      clip = CreateRectRgn(0, 0, 0, 0);
      CombineRgn(clip, screenClip, nullptr, RGN_COPY);
    }
    dc = GetDCEx(hwnd, clip, DCX_WINDOW | DCX_USESTYLE | (clip ? DCX_INTERSECTRGN : 0));
    if (!dc) return;
  }
  NonClientLayout l = LayoutNonClient(w->style, w->exStyle, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top);
  int bar = MenuBarHeight(hwnd, w);
  if (bar > 0) {
    l.edgeOuter.top += bar;
    l.client = RECT{w->client.left - w->rect.left, w->client.top - w->rect.top, w->client.right - w->rect.left,
                    w->client.bottom - w->rect.top};
  }
  int saved = SaveDC(dc);
  ExcludeClipRect(dc, l.client.left, l.client.top, l.client.right, l.client.bottom);
  bool active = user::FrameActive(hwnd);
  RECT r = l.window;
  if (w->style & WS_THICKFRAME) {
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    FillBand(dc, r, l.frame - 2, GetSysColorBrush(active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER));
  } else if ((w->style & WS_DLGFRAME) || (w->exStyle & WS_EX_DLGMODALFRAME)) {
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    FillBand(dc, r, l.frame - 2, GetSysColorBrush(COLOR_3DFACE));
  } else if (w->style & WS_BORDER) {
    FillBand(dc, r, l.frame, GetSysColorBrush(COLOR_WINDOWFRAME));
  }
  if (!IsRectEmpty(&l.caption)) DrawCaption(dc, hwnd, w, l, active);
  if (bar > 0) LayerExtensions().paintMenuBar(hwnd, dc);
  RECT edge = l.edgeOuter;
  ScopedTheme field(u"Edit");
  if ((w->exStyle & WS_EX_CLIENTEDGE) && field) {
    // The style's field frame: its 1-px border, then the field's own colour
    // for the rest of the client edge.
    int state = !IsWindowEnabled(hwnd) ? ETS_DISABLED : ETS_NORMAL;
    DrawThemeBackground(field.get(), dc, EP_EDITTEXT, state, &edge, nullptr);
  } else if (w->exStyle & WS_EX_CLIENTEDGE)
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  else if (w->exStyle & WS_EX_STATICEDGE)
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  // The standard scroll bars are drawn by their own code; the frame only
  // keeps their place clean.
  for (const RECT* part : {&l.vscroll, &l.hscroll, &l.sizeBox})
    if (!IsRectEmpty(part)) FillRect(dc, part, GetSysColorBrush(COLOR_3DFACE));
  RestoreDC(dc, saved);
  if (!given) ReleaseDC(hwnd, dc);
}

// The side a sizing drag moves, as the low bits of SC_SIZE give it.
constexpr WPARAM kSizeLeft = 1, kSizeRight = 2, kSizeTop = 3, kSizeTopLeft = 4, kSizeTopRight = 5,
                 kSizeBottom = 6, kSizeBottomLeft = 7, kSizeBottomRight = 8;

// Moving or sizing with the mouse: the window follows the pointer until the
// button comes up. Chosen from the system menu (no side or part in the low
// bits), the arrow keys move it, or move its bottom right corner, eight
// pixels a press until Enter or a click. Esc puts it back. Other messages are
// handled meanwhile.
void TrackMoveOrSize(HWND hwnd, WPARAM command, LPARAM start) {
  Window* w = Lookup(hwnd);
  if (!w) return;
  bool sizing = (command & 0xFFF0) == SC_SIZE;
  bool keyboard = (command & 0x000F) == 0;
  WPARAM side = keyboard ? kSizeBottomRight : command & 0x000F;
  RECT original = w->rect;  // parent coordinates
  POINT from{GET_X_LPARAM(start), GET_Y_LPARAM(start)};
  POINT keyed{0, 0};
  auto follow = [&](int dx, int dy) {
    RECT r = original;
    if (!sizing) {
      OffsetRect(&r, dx, dy);
    } else {
      if (side == kSizeLeft || side == kSizeTopLeft || side == kSizeBottomLeft) r.left += dx;
      if (side == kSizeRight || side == kSizeTopRight || side == kSizeBottomRight) r.right += dx;
      if (side == kSizeTop || side == kSizeTopLeft || side == kSizeTopRight) r.top += dy;
      if (side == kSizeBottom || side == kSizeBottomLeft || side == kSizeBottomRight) r.bottom += dy;
    }
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | (sizing ? 0 : SWP_NOSIZE));
  };
  SetCapture(hwnd);
  SendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  MSG m;
  bool cancelled = false;
  while (GetCapture() == hwnd) {
    BOOL got = GetMessage(&m, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
      cancelled = true;
      break;
    }
    if (keyboard) {
      if (m.message == WM_KEYDOWN) {
        constexpr int kStep = 8;
        switch (m.wParam) {
          case VK_LEFT: keyed.x -= kStep; break;
          case VK_RIGHT: keyed.x += kStep; break;
          case VK_UP: keyed.y -= kStep; break;
          case VK_DOWN: keyed.y += kStep; break;
          case VK_RETURN: ReleaseCapture(); continue;
          default: continue;
        }
        follow(keyed.x, keyed.y);
        if (!IsWindow(hwnd)) break;
        continue;
      }
      if (m.message == WM_LBUTTONDOWN || m.message == WM_NCLBUTTONDOWN) break;
      if (m.message == WM_KEYUP || m.message == WM_CHAR) continue;
    } else {
      bool move = m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE;
      bool release = m.message == WM_LBUTTONUP || m.message == WM_NCLBUTTONUP;
      if (move || release) {
        follow(m.pt.x - from.x, m.pt.y - from.y);
        if (release || !IsWindow(hwnd)) break;
        continue;
      }
    }
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
  if (!IsWindow(hwnd)) return;
  if (cancelled)
    SetWindowPos(hwnd, nullptr, original.left, original.top, original.right - original.left,
                 original.bottom - original.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (GetCapture() == hwnd) ReleaseCapture();
  SendMessage(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

// The system menu drops from the caption's icon.
void OpenSystemMenu(HWND hwnd, const Window* w) {
  if (!(w->style & WS_SYSMENU) || !LayerExtensions().systemMenu) return;
  RECT wr = ScreenWindowRect(w);
  NonClientLayout l = LayoutNonClient(w->style, w->exStyle, wr.right - wr.left, wr.bottom - wr.top);
  POINT at{wr.left + l.frame, wr.top + l.frame};
  if (!IsRectEmpty(&l.caption)) at = POINT{wr.left + l.caption.left, wr.top + l.caption.bottom + 1};
  LayerExtensions().systemMenu(hwnd, at);
}

}  // namespace

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rect) return FALSE;
  NonClientLayout l = LayoutNonClient(style & ~WS_MINIMIZE, exStyle, 1000, 1000);
  rect->left -= l.client.left;
  rect->top -= l.client.top + (menu && !(style & WS_CHILD) ? GetSystemMetrics(SM_CYMENU) : 0);
  rect->right += 1000 - l.client.right;
  rect->bottom += 1000 - l.client.bottom;
  return TRUE;
}

BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) { return AdjustWindowRectEx(rect, style, menu, 0); }

NonClientLayout LayoutNonClient(DWORD style, DWORD exStyle, int width, int height) {
  NonClientLayout l;
  l.window = RECT{0, 0, std::max(0, width), std::max(0, height)};
  l.frame = FrameWidth(style, exStyle);
  RECT r = l.window;
  InflateRect(&r, -l.frame, -l.frame);
  if (HasCaption(style)) {
    bool tool = exStyle & WS_EX_TOOLWINDOW;
    int height = GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
    l.caption = RECT{r.left, r.top, r.right, r.top + height - 1};
    r.top += height;
    int bw = GetSystemMetrics(tool ? SM_CXSMSIZE : SM_CXSIZE) - 2;
    int bh = GetSystemMetrics(tool ? SM_CYSMSIZE : SM_CYSIZE) - 4;
    int y = l.caption.top + 2;
    int x = l.caption.right - 2;
    if (style & WS_SYSMENU) {
      l.closeButton = RECT{x - bw, y, x, y + bh};
      x = l.closeButton.left - 2;
      if (!tool && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) {
        l.maxButton = RECT{x - bw, y, x, y + bh};
        l.minButton = RECT{l.maxButton.left - bw, y, l.maxButton.left, y + bh};
      } else if (!tool && (exStyle & WS_EX_CONTEXTHELP)) {
        l.helpButton = RECT{x - bw, y, x, y + bh};
      }
      if (!tool && !(exStyle & WS_EX_DLGMODALFRAME))
        l.sysMenu = RECT{l.caption.left, l.caption.top, l.caption.left + GetSystemMetrics(SM_CXSIZE), l.caption.bottom};
    }
  }
  l.edgeOuter = r;
  int edge = (exStyle & WS_EX_CLIENTEDGE) ? 2 : 0;
  if (exStyle & WS_EX_STATICEDGE) edge += 1;
  InflateRect(&r, -edge, -edge);
  int sw = GetSystemMetrics(SM_CXVSCROLL), sh = GetSystemMetrics(SM_CYHSCROLL);
  bool v = style & WS_VSCROLL, h = style & WS_HSCROLL;
  if (v) {
    if (exStyle & WS_EX_LEFTSCROLLBAR) {
      l.vscroll = RECT{r.left, r.top, r.left + sw, r.bottom - (h ? sh : 0)};
      r.left += sw;
    } else {
      l.vscroll = RECT{r.right - sw, r.top, r.right, r.bottom - (h ? sh : 0)};
      r.right -= sw;
    }
  }
  if (h) {
    l.hscroll = RECT{r.left, r.bottom - sh, r.right, r.bottom};
    r.bottom -= sh;
  }
  if (v && h) l.sizeBox = RECT{l.vscroll.left, l.hscroll.top, l.vscroll.right, l.hscroll.bottom};
  r.right = std::max(r.right, r.left);
  r.bottom = std::max(r.bottom, r.top);
  l.client = r;
  return l;
}

namespace user {

bool FrameActive(HWND hwnd) {
  auto it = ActiveFrames().find(hwnd);
  return it != ActiveFrames().end() && it->second;
}

void ForgetFrame(HWND hwnd) {
  ActiveFrames().erase(hwnd);
  Icons().erase(hwnd);
  if (Pressed().hwnd == hwnd) Pressed() = PressedButton{};
}

bool DefNonClientMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  Window* w = Lookup(hwnd);
  if (!w) return false;
  switch (msg) {
    case WM_NCHITTEST: {
      RECT wr = ScreenWindowRect(w);
      POINT p{GET_X_LPARAM(lParam) - wr.left, GET_Y_LPARAM(lParam) - wr.top};
      NonClientLayout l = LayoutNonClient(w->style, w->exStyle, wr.right - wr.left, wr.bottom - wr.top);
      // The core may have been told another client rectangle (WM_NCCALCSIZE).
      l.client = RECT{w->client.left - w->rect.left, w->client.top - w->rect.top, w->client.right - w->rect.left,
                      w->client.bottom - w->rect.top};
      *result = HitTest(l, w->style, p);
      if (int bar = MenuBarHeight(hwnd, w); bar > 0 && *result == HTBORDER) {
        RECT band{l.edgeOuter.left, l.edgeOuter.top, l.edgeOuter.right, l.edgeOuter.top + bar};
        if (PtInRect(&band, p)) *result = HTMENU;
      }
      return true;
    }
    case WM_NCPAINT:
      PaintFrame(hwnd, wParam > 1 ? reinterpret_cast<HRGN>(wParam) : nullptr, reinterpret_cast<HDC>(lParam));
      *result = 0;
      return true;
    case WM_GETICON: {
      auto it = Icons().find(hwnd);
      WindowIcons icons = it != Icons().end() ? it->second : WindowIcons{};
      *result = reinterpret_cast<LRESULT>(wParam == ICON_BIG ? icons.big : icons.small);
      return true;
    }
    case WM_SETICON: {
      HICON& slot = wParam == ICON_BIG ? Icons()[hwnd].big : Icons()[hwnd].small;
      *result = reinterpret_cast<LRESULT>(slot);
      slot = reinterpret_cast<HICON>(lParam);
      if (IsWindowVisible(hwnd) && HasCaption(w->style)) PaintFrame(hwnd, nullptr, nullptr);
      return true;
    }
    case WM_NCACTIVATE:
      ActiveFrames()[hwnd] = wParam != 0;
      if (IsWindowVisible(hwnd) && HasCaption(w->style)) PaintFrame(hwnd, nullptr, nullptr);
      *result = TRUE;
      return true;
    case WM_NCLBUTTONDOWN: {
      auto hit = static_cast<LRESULT>(wParam);
      if (hit == HTMENU && LayerExtensions().menuBarPress) {
        LayerExtensions().menuBarPress(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      } else if (hit == HTSYSMENU) {
        OpenSystemMenu(hwnd, w);
      } else if (IsCaptionButton(hit)) {
        Pressed() = PressedButton{hwnd, hit};
        PaintFrame(hwnd, nullptr, nullptr);
      } else if (hit == HTCAPTION && !(w->style & WS_MAXIMIZE)) {
        SendMessage(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
      } else if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT && (w->style & WS_THICKFRAME) &&
                 !(w->style & (WS_MAXIMIZE | WS_MINIMIZE))) {
        SendMessage(hwnd, WM_SYSCOMMAND, SC_SIZE | static_cast<WPARAM>(hit - HTLEFT + 1), lParam);
      }
      *result = 0;
      return true;
    }
    case WM_NCLBUTTONUP: {
      PressedButton p = Pressed();
      Pressed() = PressedButton{};
      *result = 0;
      if (p.hwnd != hwnd) return true;
      PaintFrame(hwnd, nullptr, nullptr);
      if (p.hit != static_cast<LRESULT>(wParam)) return true;
      WPARAM command = p.hit == HTCLOSE       ? SC_CLOSE
                       : p.hit == HTMINBUTTON ? SC_MINIMIZE
                       : p.hit == HTHELP      ? SC_CONTEXTHELP
                       : (w->style & WS_MAXIMIZE) ? SC_RESTORE
                                                  : SC_MAXIMIZE;
      bool enabled = (p.hit == HTCLOSE && !(GetClassLongPtr(hwnd, GCL_STYLE) & CS_NOCLOSE)) ||
                     (p.hit == HTMINBUTTON && (w->style & WS_MINIMIZEBOX)) ||
                     (p.hit == HTMAXBUTTON && (w->style & WS_MAXIMIZEBOX)) || p.hit == HTHELP;
      if (enabled) SendMessage(hwnd, WM_SYSCOMMAND, command, lParam);
      return true;
    }
    case WM_SYSKEYUP: {
      // F10, or Alt pressed and released on its own (not in a chord such as
      // Alt+F, Alt+Tab or Alt+click), selects the menu bar for the keyboard.
      bool f10 = wParam == VK_F10 && GetKeyState(VK_SHIFT) >= 0;
      bool alt = wParam == VK_MENU && LayerExtensions().menuAltReleasedAlone &&
                 LayerExtensions().menuAltReleasedAlone();
      if ((!f10 && !alt) || !LayerExtensions().menuBarKey) return false;
      SendMessage(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, 0);
      *result = 0;
      return true;
    }
    case WM_SYSCHAR:
      // Alt+letter opens the top-level window's menu of that letter, Alt+Space
      // its system menu.
      if (lParam & (1 << 29))
        SendMessage(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
      *result = 0;
      return true;
    case WM_NCLBUTTONDBLCLK:
      // A second quick press on the menu bar is a press like the first (its
      // items, a maximised document's buttons).
      if (wParam == static_cast<WPARAM>(HTMENU) && LayerExtensions().menuBarPress)
        LayerExtensions().menuBarPress(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      else if (wParam == static_cast<WPARAM>(HTCAPTION) && (w->style & WS_MAXIMIZEBOX))
        SendMessage(hwnd, WM_SYSCOMMAND, (w->style & (WS_MAXIMIZE | WS_MINIMIZE)) ? SC_RESTORE : SC_MAXIMIZE, lParam);
      else if (wParam == static_cast<WPARAM>(HTSYSMENU) && !(GetClassLongPtr(hwnd, GCL_STYLE) & CS_NOCLOSE))
        SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
      *result = 0;
      return true;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE: SendMessage(hwnd, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); break;
        case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
        case SC_MOVE:
        case SC_SIZE: TrackMoveOrSize(hwnd, wParam, lParam); break;
        case SC_KEYMENU:
          if (lParam == ' ')
            OpenSystemMenu(hwnd, w);
          else if (LayerExtensions().menuBarKey && !w->IsChild())
            LayerExtensions().menuBarKey(hwnd, static_cast<WPARAM>(lParam));
          break;
        default: break;
      }
      *result = 0;
      return true;
    default: return false;
  }
}

}  // namespace user

}  // namespace win
