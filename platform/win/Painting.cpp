#include "platform/win/Painting.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/rtl/Clock.h"
#include "platform/win/Display.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Messages.h"
#include "platform/win/Rects.h"
#include "platform/win/SysColors.h"
#include "platform/win/UserPrivate.h"
#include "platform/win/Windows.h"
#include "platform/win/GdiScopes.h"

namespace win {

using namespace wnd;

namespace {


// A region that is deleted with its owner.
class Rgn : public OwnedGdiObject {
 public:
  Rgn() : OwnedGdiObject(CreateRectRgn(0, 0, 0, 0)) {}
  explicit Rgn(const RECT& r) : OwnedGdiObject(CreateRectRgnIndirect(&r)) {}
  explicit Rgn(HRGN adopted) : OwnedGdiObject(adopted) {}
  HRGN get() const { return static_cast<HRGN>(Get()); }
  HRGN release() { return static_cast<HRGN>(Release()); }
};

bool IsEmpty(HRGN rgn) {
  RECT box;
  return GetRgnBox(rgn, &box) == NULLREGION;
}

RECT Offset(RECT r, int dx, int dy) { return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// What still needs painting in a window. The region is in window
// coordinates (origin at the window rectangle's top left), so that the frame
// and the client area share it.
struct PaintState {
  HRGN update = nullptr;  // null when nothing
  bool erase = false;
  bool frame = false;     // the frame needs WM_NCPAINT
  bool internal = false;  // RDW_INTERNALPAINT
  ~PaintState() {
    if (update) DeleteObject(update);
  }
};

std::unordered_map<HWND, PaintState>& States() {
  static std::unordered_map<HWND, PaintState> states;
  return states;
}
// Windows with something to paint, so that an idle queue costs nothing.
std::unordered_set<HWND>& Dirty() {
  static std::unordered_set<HWND> dirty;
  return dirty;
}

bool NeedsPaint(const PaintState& s) { return (s.update && !IsEmpty(s.update)) || s.frame || s.internal; }

void Refresh(HWND hwnd) {
  auto it = States().find(hwnd);
  if (it != States().end() && NeedsPaint(it->second))
    Dirty().insert(hwnd);
  else
    Dirty().erase(hwnd);
}

RECT WindowBox(const Window* w) { return RECT{0, 0, Width(w->rect), Height(w->rect)}; }
// The client rectangle in window coordinates.
RECT ClientInWindow(const Window* w) {
  return Offset(w->client, -w->rect.left, -w->rect.top);
}

struct DcRecord {
  HWND hwnd = nullptr;
  HWND top = nullptr;
  RECT touched;  // surface coordinates that drawing may have changed
};
std::unordered_map<HDC, DcRecord>& Dcs() {
  static std::unordered_map<HDC, DcRecord> dcs;
  return dcs;
}

std::vector<uint32_t>& ScreenOverlay() {
  static std::vector<uint32_t> pixels;
  return pixels;
}

// Invalidation -----------------------------------------------------------------------

// rgn is in w's window coordinates; flags are RDW_*.
void Change(Window* w, HRGN rgn, UINT flags) {
  if (!(w->style & WS_VISIBLE)) return;
  RECT area = (flags & RDW_FRAME) ? WindowBox(w) : ClientInWindow(w);
  Rgn part(area);
  CombineRgn(part.get(), part.get(), rgn, RGN_AND);
  PaintState& s = States()[w->handle];
  if (flags & RDW_INVALIDATE) {
    if (!IsEmpty(part.get())) {
      if (!s.update) s.update = CreateRectRgn(0, 0, 0, 0);
      CombineRgn(s.update, s.update, part.get(), RGN_OR);
      if (flags & RDW_ERASE) s.erase = true;
      if (flags & RDW_FRAME) {
        Rgn client(ClientInWindow(w));
        Rgn frame;
        CombineRgn(frame.get(), part.get(), client.get(), RGN_DIFF);
        if (!IsEmpty(frame.get())) s.frame = true;
      }
    }
    if (flags & RDW_INTERNALPAINT) s.internal = true;
  } else if (flags & RDW_VALIDATE) {
    if (s.update) {
      CombineRgn(s.update, s.update, part.get(), RGN_DIFF);
      if (flags & RDW_FRAME) s.frame = false;
    }
    if (flags & RDW_NOERASE) s.erase = false;
    if (flags & RDW_NOINTERNALPAINT) s.internal = false;
  }
  Refresh(w->handle);
  bool children = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
  if (!children) return;
  POINT clientOffset{w->client.left - w->rect.left, w->client.top - w->rect.top};
  for (Window* c : w->children) {
    if (!(c->style & WS_VISIBLE)) continue;
    // The child's rectangle in w's window coordinates.
    RECT cr = Offset(c->rect, clientOffset.x, clientOffset.y);
    Rgn mine(cr);
    CombineRgn(mine.get(), mine.get(), part.get(), RGN_AND);
    if (IsEmpty(mine.get())) continue;
    OffsetRgn(mine.get(), -cr.left, -cr.top);
    UINT childFlags = (flags & ~RDW_NOCHILDREN) | RDW_FRAME;
    if (!(flags & RDW_ALLCHILDREN)) childFlags &= ~RDW_ALLCHILDREN;
    Change(c, mine.get(), childFlags);
  }
}

// A region in client coordinates (or the whole client area / window) turned
// into window coordinates.
HRGN AreaInWindow(Window* w, const RECT* rect, HRGN rgn, UINT flags) {
  POINT off{w->client.left - w->rect.left, w->client.top - w->rect.top};
  if (rgn) {
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(r, rgn, nullptr, RGN_COPY);
    OffsetRgn(r, off.x, off.y);
    return r;
  }
  if (rect) {
    RECT r = Offset(*rect, off.x, off.y);
    return CreateRectRgnIndirect(&r);
  }
  RECT all = (flags & RDW_FRAME) ? WindowBox(w) : ClientInWindow(w);
  return CreateRectRgnIndirect(&all);
}

void PaintNow(HWND hwnd, UINT flags);

bool Redraw(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags) {
  if (!hwnd) {
    for (Window* top : TopLevelWindows())
      if (top->threadId == GetCurrentThreadId()) Redraw(top->handle, nullptr, nullptr, flags);
    return true;
  }
  Window* w = Lookup(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  if (flags & (RDW_INVALIDATE | RDW_VALIDATE | RDW_INTERNALPAINT | RDW_NOINTERNALPAINT)) {
    Rgn area(AreaInWindow(w, rect, rgn, flags));
    Change(w, area.get(), flags);
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) PaintNow(hwnd, flags);
  return true;
}

void PaintTree(Window* w, bool children, bool eraseOnly) {
  HWND h = w->handle;
  auto it = States().find(h);
  if (it != States().end() && NeedsPaint(it->second) && (w->style & WS_VISIBLE)) {
    if (eraseOnly) {
      if (it->second.frame) {
        it->second.frame = false;
        SendMessage(h, WM_NCPAINT, 1, 0);
      }
      it = States().find(h);
      if (it != States().end() && it->second.erase) {
        it->second.erase = false;
        HDC dc = GetDCEx(h, nullptr, DCX_USESTYLE | DCX_INTERSECTUPDATE);
        SendMessage(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        ReleaseDC(h, dc);
      }
      Refresh(h);
    } else {
      SendMessage(h, WM_PAINT, 0, 0);
    }
  }
  if (!children || !Lookup(h)) return;
  std::vector<HWND> kids;
  for (Window* c : w->children) kids.push_back(c->handle);
  for (HWND k : kids)
    if (Window* c = Lookup(k)) PaintTree(c, true, eraseOnly);
}

void PaintNow(HWND hwnd, UINT flags) {
  Window* w = Lookup(hwnd);
  if (!w || !IsWindowVisible(hwnd)) return;
  bool children = !(flags & RDW_NOCHILDREN);
  PaintTree(w, children, !(flags & RDW_UPDATENOW));
}

// Visible regions and DCs -------------------------------------------------------------

// A window's own region placed at its window rectangle, in the coordinates of
// the top-level surface.
void IntersectWindowRegion(HRGN target, const Window* w, POINT topOrigin) {
  if (!w->region) return;
  RECT r = ScreenWindowRect(w);
  Rgn copy;
  CombineRgn(copy.get(), w->region, nullptr, RGN_COPY);
  OffsetRgn(copy.get(), r.left - topOrigin.x, r.top - topOrigin.y);
  CombineRgn(target, target, copy.get(), RGN_AND);
}

void SubtractWindow(HRGN target, const Window* w, POINT topOrigin) {
  RECT r = Offset(ScreenWindowRect(w), -topOrigin.x, -topOrigin.y);
  Rgn cut(r);
  if (w->region) IntersectWindowRegion(cut.get(), w, topOrigin);
  CombineRgn(target, target, cut.get(), RGN_DIFF);
}

POINT SurfaceOrigin(const Window* top) {
  RECT r = ScreenWindowRect(top);
  return POINT{r.left, r.top};
}

void NotifySurface(HWND top, const RECT& r) {
  if (r.right > r.left && r.bottom > r.top) CurrentDisplay().SurfaceChanged(top, r);
}

// Frames, erasing, WM_PRINT ---------------------------------------------------------

HBRUSH ClassBrush(HWND hwnd) {
  auto value = static_cast<uintptr_t>(GetClassLongPtr(hwnd, GCLP_HBRBACKGROUND));
  if (!value) return nullptr;
  // COLOR_* + 1 stands for the system colour's brush.
  if (value <= static_cast<uintptr_t>(COLOR_MENUBAR + 1)) return GetSysColorBrush(static_cast<int>(value) - 1);
  return reinterpret_cast<HBRUSH>(value);
}

}  // namespace

// The layer's entries ------------------------------------------------------------------

namespace user {

HRGN VisibleRegion(Window* w, bool client, bool clipChildren, bool clipSiblings) {
  Window* top = TopLevelOf(w);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  if (!top || !IsWindowVisible(w->handle)) return rgn;
  POINT origin = SurfaceOrigin(top);
  RECT own = Offset(client ? ScreenClientRect(w) : ScreenWindowRect(w), -origin.x, -origin.y);
  SetRectRgn(rgn, own.left, own.top, own.right, own.bottom);
  IntersectWindowRegion(rgn, w, origin);
  for (Window* c = w; c != top && c->parent; c = c->parent) {
    Window* p = c->parent;
    RECT pc = Offset(ScreenClientRect(p), -origin.x, -origin.y);
    Rgn parentClient(pc);
    CombineRgn(rgn, rgn, parentClient.get(), RGN_AND);
    IntersectWindowRegion(rgn, p, origin);
    bool siblings = c == w ? clipSiblings : (c->style & WS_CLIPSIBLINGS) != 0;
    if (siblings)
      for (Window* s : p->children) {
        if (s == c) break;  // only those above
        if (s->style & WS_VISIBLE) SubtractWindow(rgn, s, origin);
      }
  }
  if (clipChildren)
    for (Window* c : w->children)
      if (c->style & WS_VISIBLE) SubtractWindow(rgn, c, origin);
  return rgn;
}

bool PaintPending() {
  MSG ignored;
  return NextPaintMessage(nullptr, 0, 0, &ignored);
}

bool NextPaintMessage(HWND filter, UINT, UINT, MSG* out) {
  if (Dirty().empty()) return false;
  DWORD me = GetCurrentThreadId();
  // Parents before their children, top-level windows in z-order.
  std::vector<Window*> stack;
  std::vector<Window*> tops = TopLevelWindows();
  for (auto it = tops.rbegin(); it != tops.rend(); ++it)
    if ((*it)->threadId == me) stack.push_back(*it);
  while (!stack.empty()) {
    Window* w = stack.back();
    stack.pop_back();
    if (!(w->style & WS_VISIBLE)) continue;
    if (Dirty().count(w->handle) && MatchesFilter(filter, w->handle)) {
      *out = MSG{};
      out->hwnd = w->handle;
      out->message = WM_PAINT;
      out->time = static_cast<DWORD>(GetTickCount64());
      out->pt = CursorPosition();
      return true;
    }
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) stack.push_back(*it);
  }
  return false;
}

bool DefPaintMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      *result = 0;
      return true;
    }
    case WM_ERASEBKGND: {
      HBRUSH brush = ClassBrush(hwnd);
      auto dc = reinterpret_cast<HDC>(wParam);
      if (!brush || !dc) {
        *result = 0;
        return true;
      }
      RECT r;
      GetClipBox(dc, &r);
      FillRect(dc, &r, brush);
      *result = 1;
      return true;
    }
    case WM_PRINTCLIENT: *result = 0; return true;
    case WM_PRINT: {
      auto dc = reinterpret_cast<HDC>(wParam);
      Window* w = Lookup(hwnd);
      if (!w || !dc || ((lParam & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd))) {
        *result = 0;
        return true;
      }
      POINT off{w->client.left - w->rect.left, w->client.top - w->rect.top};
      if (lParam & PRF_NONCLIENT) SendMessage(hwnd, WM_NCPAINT, 1, reinterpret_cast<LPARAM>(dc));
      int saved = SaveDC(dc);
      OffsetViewportOrgEx(dc, off.x, off.y, nullptr);
      RECT client{0, 0, Width(w->client), Height(w->client)};
      IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
      if (lParam & PRF_ERASEBKGND) SendMessage(hwnd, WM_ERASEBKGND, wParam, 0);
      if (lParam & PRF_CLIENT) SendMessage(hwnd, WM_PRINTCLIENT, wParam, lParam);
      if ((lParam & PRF_CHILDREN) && Lookup(hwnd)) {
        std::vector<std::pair<HWND, RECT>> kids;
        for (auto it = w->children.rbegin(); it != w->children.rend(); ++it)
          if ((*it)->style & WS_VISIBLE) kids.push_back({(*it)->handle, (*it)->rect});
        for (auto& [k, r] : kids) {
          int inner = SaveDC(dc);
          OffsetViewportOrgEx(dc, r.left, r.top, nullptr);
          SendMessage(k, WM_PRINT, wParam, lParam | PRF_NONCLIENT);
          RestoreDC(dc, inner);
        }
      }
      RestoreDC(dc, saved);
      *result = 0;
      return true;
    }
    default: return false;
  }
}

void PaintWindowDestroying(HWND hwnd) {
  std::vector<HWND> gone{hwnd};
  EnumChildWindows(
      hwnd,
      [](HWND h, LPARAM p) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&gone));
  for (HWND h : gone) {
    States().erase(h);
    Dirty().erase(h);
  }
  // Whatever it covered of its parent shows again.
  Window* w = Lookup(hwnd);
  if (w && w->IsChild() && (w->style & WS_VISIBLE) && w->parent) {
    RECT r = w->rect;
    RedrawWindow(w->parent->handle, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

void PaintWindowPosChanged(HWND hwnd, const RECT& oldScreenRect, UINT swpFlags) {
  Window* w = Lookup(hwnd);
  if (!w || (swpFlags & SWP_NOREDRAW)) return;
  RECT now = ScreenWindowRect(w);
  bool moved = now.left != oldScreenRect.left || now.top != oldScreenRect.top;
  bool sized = Width(now) != Width(oldScreenRect) || Height(now) != Height(oldScreenRect);
  bool shown = swpFlags & SWP_SHOWWINDOW, hidden = swpFlags & SWP_HIDEWINDOW;
  bool framed = swpFlags & SWP_FRAMECHANGED;
  bool reordered = !(swpFlags & SWP_NOZORDER);
  if (!(moved || sized || shown || hidden || framed || reordered)) return;
  if ((w->style & WS_VISIBLE) && (moved || sized || shown || framed || (reordered && w->IsChild())))
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  // What the window left uncovered of its parent.
  if (w->IsChild() && w->parent && (moved || sized || hidden)) {
    POINT origin = ClientOrigin(w->parent);
    RECT old = Offset(oldScreenRect, -origin.x, -origin.y);
    Rgn uncovered(old);
    if (w->style & WS_VISIBLE) {
      Rgn current(w->rect);
      CombineRgn(uncovered.get(), uncovered.get(), current.get(), RGN_DIFF);
    }
    if (!IsEmpty(uncovered.get()))
      RedrawWindow(w->parent->handle, nullptr, uncovered.get(), RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

void RepaintEverything() {
  for (Window* top : TopLevelWindows())
    if (top->threadId == GetCurrentThreadId())
      RedrawWindow(top->handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace user

// Update regions ------------------------------------------------------------------------

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  return Redraw(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0)) ? TRUE : FALSE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  return Redraw(hwnd, nullptr, rgn, RDW_INVALIDATE | (erase ? RDW_ERASE : 0)) ? TRUE : FALSE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  return Redraw(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN) ? TRUE : FALSE;
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn) {
  return Redraw(hwnd, nullptr, rgn, RDW_VALIDATE | RDW_NOCHILDREN) ? TRUE : FALSE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags) {
  return Redraw(hwnd, rect, rgn, flags) ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND hwnd) { return Redraw(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN) ? TRUE : FALSE; }

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  Window* w = Lookup(hwnd);
  if (!w || !rgn) return ERROR;
  auto it = States().find(hwnd);
  if (it == States().end() || !it->second.update) {
    SetRectRgn(rgn, 0, 0, 0, 0);
    return NULLREGION;
  }
  if (erase && it->second.erase) {
    it->second.erase = false;
    HDC dc = GetDCEx(hwnd, nullptr, DCX_USESTYLE | DCX_INTERSECTUPDATE);
    SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(hwnd, dc);
    it = States().find(hwnd);
    if (it == States().end() || !it->second.update) {
      SetRectRgn(rgn, 0, 0, 0, 0);
      return NULLREGION;
    }
  }
  Rgn client(ClientInWindow(w));
  int kind = CombineRgn(rgn, it->second.update, client.get(), RGN_AND);
  OffsetRgn(rgn, -(w->client.left - w->rect.left), -(w->client.top - w->rect.top));
  return kind;
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase) {
  Rgn r;
  int kind = GetUpdateRgn(hwnd, r.get(), erase);
  RECT box{};
  if (kind != ERROR) GetRgnBox(r.get(), &box);
  if (rect) *rect = box;
  return kind != ERROR && kind != NULLREGION ? TRUE : FALSE;
}

// Painting -------------------------------------------------------------------------------

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  Window* w = Lookup(hwnd);
  if (!w || !ps) return nullptr;
  *ps = PAINTSTRUCT{};
  user::HideCaretForPaint(hwnd);
  PaintState* s = &States()[hwnd];
  if (s->frame) {
    s->frame = false;
    // The whole update region goes along, in screen coordinates, as Windows
    // hands it over.
    HRGN nc = CreateRectRgn(0, 0, 0, 0);
    if (s->update) CombineRgn(nc, s->update, nullptr, RGN_COPY);
    RECT wr = ScreenWindowRect(w);
    OffsetRgn(nc, wr.left, wr.top);
    SendMessage(hwnd, WM_NCPAINT, reinterpret_cast<WPARAM>(nc), 0);
    DeleteObject(nc);
    if (!(w = Lookup(hwnd))) return nullptr;
    s = &States()[hwnd];
    if (s->update) {
      Rgn client(ClientInWindow(w));
      CombineRgn(s->update, s->update, client.get(), RGN_AND);
    }
  }
  Rgn paint;
  if (s->update) {
    Rgn client(ClientInWindow(w));
    CombineRgn(paint.get(), s->update, client.get(), RGN_AND);
    OffsetRgn(paint.get(), -(w->client.left - w->rect.left), -(w->client.top - w->rect.top));
    DeleteObject(s->update);
    s->update = nullptr;
  }
  bool erase = s->erase;
  s->erase = false;
  s->internal = false;
  Refresh(hwnd);
  // The DC sees the update region only.
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(clip, paint.get(), nullptr, RGN_COPY);
  POINT origin = ClientOrigin(w);
  OffsetRgn(clip, origin.x, origin.y);
  HDC dc = GetDCEx(hwnd, clip, DCX_USESTYLE | DCX_INTERSECTRGN);
  ps->hdc = dc;
  GetRgnBox(paint.get(), &ps->rcPaint);
  if (erase && dc) ps->fErase = SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (ps && ps->hdc) ReleaseDC(hwnd, ps->hdc);
  user::ShowCaretAfterPaint(hwnd);
  return TRUE;
}

// Scrolling ------------------------------------------------------------------------------

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRgn,
                   RECT* updateRect, UINT flags) {
  Window* w = Lookup(hwnd);
  if (!w) return ERROR;
  RECT client{0, 0, Width(w->client), Height(w->client)};
  RECT area = scroll ? *scroll : client;
  Rgn bounds(area);
  if (clip) {
    Rgn c(*clip);
    CombineRgn(bounds.get(), bounds.get(), c.get(), RGN_AND);
  }
  Rgn clientRgn(client);
  CombineRgn(bounds.get(), bounds.get(), clientRgn.get(), RGN_AND);
  // What can be seen of the client area, in client coordinates.
  Window* top = TopLevelOf(w);
  Rgn visible(user::VisibleRegion(w, true, (w->style & WS_CLIPCHILDREN) != 0, (w->style & WS_CLIPSIBLINGS) != 0));
  POINT origin = ClientOrigin(w);
  POINT topOrigin = top ? SurfaceOrigin(top) : POINT{0, 0};
  OffsetRgn(visible.get(), topOrigin.x - origin.x, topOrigin.y - origin.y);
  // Pixels whose source and destination are both visible move; the rest of
  // the area must be painted anew.
  Rgn source;
  CombineRgn(source.get(), bounds.get(), visible.get(), RGN_AND);
  Rgn moved;
  CombineRgn(moved.get(), source.get(), nullptr, RGN_COPY);
  OffsetRgn(moved.get(), dx, dy);
  CombineRgn(moved.get(), moved.get(), source.get(), RGN_AND);
  Rgn exposed;
  CombineRgn(exposed.get(), bounds.get(), moved.get(), RGN_DIFF);
  CombineRgn(exposed.get(), exposed.get(), visible.get(), RGN_AND);
  if ((dx || dy) && !IsEmpty(moved.get())) {
    HDC dc = GetDCEx(hwnd, nullptr, DCX_CACHE);
    RECT box;
    GetRgnBox(bounds.get(), &box);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP copy = CreateCompatibleBitmap(dc, Width(box), Height(box));
    HGDIOBJ old = SelectObject(mem, copy);
    BitBlt(mem, 0, 0, Width(box), Height(box), dc, box.left, box.top, SRCCOPY);
    SelectClipRgn(dc, moved.get());
    BitBlt(dc, box.left + dx, box.top + dy, Width(box), Height(box), mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(copy);
    DeleteDC(mem);
    ReleaseDC(hwnd, dc);
  }
  // The pending update region moves with the content.
  auto it = States().find(hwnd);
  if (it != States().end() && it->second.update && (dx || dy)) {
    POINT off{w->client.left - w->rect.left, w->client.top - w->rect.top};
    Rgn inArea;
    Rgn areaInWindow;
    CombineRgn(areaInWindow.get(), bounds.get(), nullptr, RGN_COPY);
    OffsetRgn(areaInWindow.get(), off.x, off.y);
    CombineRgn(inArea.get(), it->second.update, areaInWindow.get(), RGN_AND);
    CombineRgn(it->second.update, it->second.update, inArea.get(), RGN_DIFF);
    OffsetRgn(inArea.get(), dx, dy);
    CombineRgn(inArea.get(), inArea.get(), areaInWindow.get(), RGN_AND);
    CombineRgn(it->second.update, it->second.update, inArea.get(), RGN_OR);
  }
  if (flags & SW_SCROLLCHILDREN) {
    // Children in client coordinates (the rectangles are kept in the
    // parent's client coordinates already).
    bool clipped = w->style & WS_CLIPCHILDREN;
    std::vector<std::pair<HWND, RECT>> kids;
    for (Window* c : w->children) kids.push_back({c->handle, c->rect});
    for (auto& [k, r] : kids) {
      RECT meet;
      if (scroll && !(IntersectRect(&meet, &r, scroll))) continue;
      SetWindowPos(k, nullptr, r.left + dx, r.top + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
      // Pixels clipped out of the copy: the child paints anew where it is,
      // the parent where the child was.
      if (clipped && IsWindow(k)) {
        RedrawWindow(k, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        RedrawWindow(hwnd, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
      }
    }
  }
  if (updateRgn) CombineRgn(updateRgn, exposed.get(), nullptr, RGN_COPY);
  RECT box{};
  int kind = GetRgnBox(exposed.get(), &box);
  if (updateRect) *updateRect = box;
  if ((flags & SW_INVALIDATE) && kind != NULLREGION)
    RedrawWindow(hwnd, nullptr, exposed.get(),
                 RDW_INVALIDATE | ((flags & SW_ERASE) ? RDW_ERASE : 0) |
                     ((flags & SW_SCROLLCHILDREN) ? RDW_ALLCHILDREN : 0));
  return kind;
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip) {
  return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr, SW_INVALIDATE | SW_ERASE) != ERROR;
}

// DCs ---------------------------------------------------------------------------------------

HDC GetDCEx(HWND hwnd, HRGN clipRgn, DWORD flags) {
  Rgn owned(clipRgn);
  if (!hwnd) {
    SIZE size = GetScreenSize();
    std::vector<uint32_t>& overlay = ScreenOverlay();
    overlay.resize(static_cast<size_t>(std::max<LONG>(0, size.cx)) * static_cast<size_t>(std::max<LONG>(0, size.cy)));
    HDC dc = CreatePixelDC(overlay.data(), size.cx, size.cy, size.cx * 4);
    if (dc) Dcs()[dc] = DcRecord{nullptr, nullptr, RECT{}};
    return dc;
  }
  Window* w = Lookup(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  Window* top = TopLevelOf(w);
  BackingSurface* surface = SurfaceOf(top);
  if (!surface || surface->width <= 0 || surface->height <= 0) return nullptr;
  bool window = flags & DCX_WINDOW;
  bool useStyle = flags & DCX_USESTYLE;
  bool clipChildren = (flags & DCX_CLIPCHILDREN) || (useStyle && (w->style & WS_CLIPCHILDREN));
  bool clipSiblings = (flags & DCX_CLIPSIBLINGS) || (useStyle && (w->style & WS_CLIPSIBLINGS));
  Rgn visible(user::VisibleRegion(w, !window, clipChildren, clipSiblings));
  POINT topOrigin = SurfaceOrigin(top);
  if (clipRgn && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
    OffsetRgn(clipRgn, -topOrigin.x, -topOrigin.y);
    CombineRgn(visible.get(), visible.get(), clipRgn, (flags & DCX_INTERSECTRGN) ? RGN_AND : RGN_DIFF);
  }
  if (flags & (DCX_INTERSECTUPDATE | DCX_EXCLUDEUPDATE)) {
    Rgn update;
    auto it = States().find(hwnd);
    if (it != States().end() && it->second.update) {
      CombineRgn(update.get(), it->second.update, nullptr, RGN_COPY);
      RECT wr = ScreenWindowRect(w);
      OffsetRgn(update.get(), wr.left - topOrigin.x, wr.top - topOrigin.y);
    }
    CombineRgn(visible.get(), visible.get(), update.get(), (flags & DCX_INTERSECTUPDATE) ? RGN_AND : RGN_DIFF);
  }
  RECT placed = Offset(window ? ScreenWindowRect(w) : ScreenClientRect(w), -topOrigin.x, -topOrigin.y);
  HDC dc = CreatePixelDC(surface->pixels.data(), surface->width, surface->height, surface->width * 4);
  if (!dc) return nullptr;
  RECT touched;
  GetRgnBox(visible.get(), &touched);
  OffsetRgn(visible.get(), -placed.left, -placed.top);
  SetDCSurfaceOrigin(dc, placed.left, placed.top);
  SetDCVisibleRegion(dc, visible.get());
  Dcs()[dc] = DcRecord{hwnd, top->handle, touched};
  return dc;
}

HDC GetDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_USESTYLE); }
HDC GetWindowDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_WINDOW | DCX_USESTYLE); }

int ReleaseDC(HWND, HDC dc) {
  auto it = Dcs().find(dc);
  if (it == Dcs().end()) return 0;
  DcRecord record = it->second;
  Dcs().erase(it);
  DeleteDC(dc);
  if (record.top && IsWindow(record.top)) NotifySurface(record.top, record.touched);
  return 1;
}

HWND WindowFromDC(HDC dc) {
  auto it = Dcs().find(dc);
  return it == Dcs().end() ? nullptr : it->second.hwnd;
}

const uint32_t* ScreenOverlayPixels() {
  SIZE size = GetScreenSize();
  std::vector<uint32_t>& overlay = ScreenOverlay();
  overlay.resize(static_cast<size_t>(std::max<LONG>(0, size.cx)) * static_cast<size_t>(std::max<LONG>(0, size.cy)));
  return overlay.data();
}

}  // namespace win
