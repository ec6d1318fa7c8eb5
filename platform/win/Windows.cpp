#include "platform/win/Windows.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/win/Display.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Messages.h"
#include "platform/win/NonClient.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysParams.h"
#include "platform/win/WindowsPrivate.h"

namespace win {

using namespace wnd;

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

// Where Windows parks minimized top-level windows.
constexpr int kIconicPosition = -32000;

bool SameText(const std::string& a, const char* b) {
  size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool IsAtomName(const char* name) { return reinterpret_cast<uintptr_t>(name) < 0x10000; }

struct WindowTable {
  std::mutex lock;
  std::unordered_map<uintptr_t, std::unique_ptr<Window>> windows;  // the records, by handle
  uintptr_t nextHandle = 0x10020;
};

WindowTable& Table() {
  static WindowTable* table = new WindowTable;  // outlives every thread's queue
  return *table;
}

struct ClassTable {
  std::mutex lock;
  std::vector<std::unique_ptr<WindowClass>> classes;
};

ClassTable& Classes() {
  static ClassTable* table = new ClassTable;
  return *table;
}

struct AtomTable {
  std::mutex lock;
  std::vector<std::string> names;  // index + 0xC000
};

AtomTable& Atoms() {
  static AtomTable* table = new AtomTable;
  return *table;
}

std::atomic<DWORD> uiThread{0};

std::mutex cursorLock;
POINT cursor;

WindowClass* FindClass(const char* name) {
  ClassTable& t = Classes();
  std::lock_guard<std::mutex> g(t.lock);
  for (auto& c : t.classes) {
    if (IsAtomName(name) ? c->atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(name)) : SameText(c->name, name))
      return c.get();
  }
  return nullptr;
}

// The table takes the record; it lives until Unregister hands it back.
Window* Register(std::unique_ptr<Window> record) {
  WindowTable& t = Table();
  std::lock_guard<std::mutex> g(t.lock);
  uintptr_t h = t.nextHandle;
  t.nextHandle += 4;
  record->handle = reinterpret_cast<HWND>(h);
  Window* w = record.get();
  t.windows[h] = std::move(record);
  return w;
}

std::unique_ptr<Window> Unregister(Window* w) {
  WindowTable& t = Table();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.windows.find(reinterpret_cast<uintptr_t>(w->handle));
  if (it == t.windows.end()) return nullptr;
  std::unique_ptr<Window> record = std::move(it->second);
  t.windows.erase(it);
  return record;
}

void SendSysColorChange() {
  for (Window* w : TopLevelWindows()) SendNotifyMessage(w->handle, WM_SYSCOLORCHANGE, 0, 0);
  if (LayerExtensions().sysColorsChanged) LayerExtensions().sysColorsChanged();
}

Window* MakeRoot() {
  auto w = std::make_unique<Window>();
  w->style = WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_POPUP;
  return Register(std::move(w));
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

void OffsetRectBy(RECT& r, int dx, int dy) {
  r.left += dx;
  r.right += dx;
  r.top += dy;
  r.bottom += dy;
}

bool InRect(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

bool IsRoot(const Window* w) { return w == Desktop() || w == MessageRoot(); }

Window* Valid(HWND hwnd) {
  Window* w = Lookup(hwnd);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

// Keeps a top-level window's surface the size of its window rectangle; what
// was drawn stays where it was.
void SyncSurface(Window* w) {
  if (!IsTopLevel(w) || w->parent == MessageRoot()) {
    w->surface.reset();
    return;
  }
  int width = std::max(0, Width(w->rect)), height = std::max(0, Height(w->rect));
  if (!w->surface) w->surface = std::make_unique<BackingSurface>();
  BackingSurface& s = *w->surface;
  if (s.width == width && s.height == height) return;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), 0x00FFFFFF);
  for (int y = 0; y < std::min(height, s.height); ++y)
    std::copy_n(&s.pixels[static_cast<size_t>(y) * static_cast<size_t>(s.width)], std::min(width, s.width),
                &pixels[static_cast<size_t>(y) * static_cast<size_t>(width)]);
  s.pixels = std::move(pixels);
  s.width = width;
  s.height = height;
  ++s.generation;
}

size_t FirstNonTopmost(const std::vector<Window*>& v) {
  size_t i = 0;
  while (i < v.size() && (v[i]->exStyle & WS_EX_TOPMOST)) ++i;
  return i;
}

// Puts w among its siblings below `after` (HWND_TOP, HWND_BOTTOM or a
// sibling). Top-level windows keep the topmost ones above the rest.
void Link(Window* w, HWND after) {
  // Message-only windows may belong to other threads than the user
  // interface's, so the roots' lists change under the table's lock.
  std::unique_lock<std::mutex> guard(Table().lock, std::defer_lock);
  if (!w->parent->parent) guard.lock();
  auto& v = w->parent->children;
  bool banded = w->parent == Desktop();
  bool topmost = banded && (w->exStyle & WS_EX_TOPMOST);
  size_t pos = 0;
  if (after == HWND_BOTTOM) {
    pos = v.size();
  } else if (after != HWND_TOP) {
    auto it = std::find_if(v.begin(), v.end(), [&](Window* s) { return s->handle == after; });
    pos = it == v.end() ? 0 : static_cast<size_t>(it - v.begin()) + 1;
  }
  if (banded) {
    size_t band = FirstNonTopmost(v);
    pos = topmost ? std::min(pos, band) : std::max(pos, band);
  }
  v.insert(v.begin() + static_cast<std::ptrdiff_t>(pos), w);
}

void Unlink(Window* w) {
  std::unique_lock<std::mutex> guard(Table().lock, std::defer_lock);
  if (!w->parent->parent) guard.lock();
  auto& v = w->parent->children;
  v.erase(std::remove(v.begin(), v.end(), w), v.end());
}

void Restack(Window* w, HWND after, UINT flags) {
  if (w->parent == Desktop()) {
    if (after == HWND_TOPMOST) {
      w->exStyle |= WS_EX_TOPMOST;
      after = HWND_TOP;
    } else if (after == HWND_NOTOPMOST) {
      w->exStyle &= ~WS_EX_TOPMOST;
      after = HWND_TOP;
    } else if (after == HWND_BOTTOM) {
      w->exStyle &= ~WS_EX_TOPMOST;
    }
  } else if (after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
    after = HWND_TOP;
  }
  Unlink(w);
  Link(w, after);
  // Owned windows stay above their owner, and a topmost owner makes them
  // topmost too.
  if (w->parent == Desktop() && after == HWND_TOP && !(flags & SWP_NOOWNERZORDER)) {
    std::vector<Window*> owned;
    for (Window* s : w->parent->children)
      if (s->owner == w) owned.push_back(s);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
      Window* o = *it;
      if (w->exStyle & WS_EX_TOPMOST) o->exStyle |= WS_EX_TOPMOST;
      Unlink(o);
      auto& v = w->parent->children;
      auto at = std::find(v.begin(), v.end(), w);
      v.insert(at, o);
    }
  }
}

MINMAXINFO DefaultMinMax(Window* w) {
  RECT area = w->parent == Desktop() || w->parent == MessageRoot() ? RECT{0, 0, GetScreenSize().cx, GetScreenSize().cy}
                                                                     : RECT{0, 0, Width(w->parent->client),
                                                                            Height(w->parent->client)};
  RECT probe{0, 0, 1000, 1000};
  RECT c = DefaultClientRect(w->style & ~WS_MINIMIZE, w->exStyle, probe);
  int frame = c.left;
  MINMAXINFO mm;
  mm.ptMaxSize = {Width(area) + 2 * frame, Height(area) + 2 * frame};
  mm.ptMaxPosition = {area.left - frame, area.top - frame};
  mm.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mm.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  return mm;
}

bool HasMinMax(DWORD style) { return (style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD)); }

MINMAXINFO QueryMinMax(HWND hwnd, Window* w) {
  MINMAXINFO mm = DefaultMinMax(w);
  SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mm));
  return mm;
}

WPARAM SizeType(const Window* w) {
  if (w->style & WS_MINIMIZE) return SIZE_MINIMIZED;
  if (w->style & WS_MAXIMIZE) return SIZE_MAXIMIZED;
  return SIZE_RESTORED;
}

LPARAM PackPoint(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

void SendParentNotify(HWND hwnd, UINT event) {
  for (;;) {
    Window* w = Lookup(hwnd);
    if (!w || !w->IsChild() || (w->exStyle & WS_EX_NOPARENTNOTIFY) || !w->parent || IsRoot(w->parent)) return;
    HWND parent = w->parent->handle;
    SendMessage(parent, WM_PARENTNOTIFY, MAKEWPARAM(static_cast<WORD>(event), static_cast<WORD>(w->id)),
                reinterpret_cast<LPARAM>(hwnd));
    hwnd = parent;
  }
}

void CollectDescendants(Window* w, std::vector<HWND>& out) {
  for (Window* c : w->children) {
    out.push_back(c->handle);
    CollectDescendants(c, out);
  }
}

void SendDestroy(HWND hwnd) {
  Window* w = Lookup(hwnd);
  if (!w) return;
  w->destroying = true;
  SendMessage(hwnd, WM_DESTROY, 0, 0);
  w = Lookup(hwnd);
  if (!w) return;
  std::vector<HWND> children;
  for (Window* c : w->children) children.push_back(c->handle);
  for (HWND c : children) SendDestroy(c);
}

void FreeWindow(Window* w);

void SendNcDestroyAndFree(HWND hwnd) {
  Window* w = Lookup(hwnd);
  if (!w) return;
  std::vector<HWND> children;
  for (Window* c : w->children) children.push_back(c->handle);
  for (HWND c : children) SendNcDestroyAndFree(c);
  ForgetWindowMessages(hwnd);
  SendMessage(hwnd, WM_NCDESTROY, 0, 0);
  w = Lookup(hwnd);
  if (w) FreeWindow(w);
}

void FreeWindow(Window* w) {
  bool topLevel = IsTopLevel(w);
  HWND hwnd = w->handle;
  // Children that a WM_NCDESTROY handler made late go with their parent.
  while (!w->children.empty()) FreeWindow(w->children.front());
  Unlink(w);
  for (Window* t : TopLevelWindows())
    if (t->owner == w) t->owner = nullptr;
  std::unique_ptr<Window> record = Unregister(w);
  if (w->cls) {
    std::lock_guard<std::mutex> g(Classes().lock);
    --w->cls->windows;
  }
  if (w->region) DeleteObject(w->region);
  record.reset();
  if (topLevel) CurrentDisplay().TopLevelDestroyed(hwnd);
}

void NotifyPlacement(Window* w, const RECT& oldScreen, UINT flags) {
  if (LayerExtensions().windowPosChanged) LayerExtensions().windowPosChanged(w->handle, oldScreen, flags);
  if (IsTopLevel(w) && w->parent == Desktop()) CurrentDisplay().TopLevelChanged(w->handle);
}

}  // namespace

// Internals -----------------------------------------------------------------------

namespace wnd {

Window* Lookup(HWND hwnd) {
  if (!hwnd) return nullptr;
  WindowTable& t = Table();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.windows.find(reinterpret_cast<uintptr_t>(hwnd));
  return it == t.windows.end() ? nullptr : it->second.get();
}

std::shared_ptr<ThreadQueue> QueueOfWindow(HWND hwnd, DWORD* threadId) {
  WindowTable& t = Table();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.windows.find(reinterpret_cast<uintptr_t>(hwnd));
  if (it == t.windows.end()) return nullptr;
  if (threadId) *threadId = it->second->threadId;
  return it->second->queue;
}

Window* Desktop() {
  static Window* desktop = [] {
    Window* d = MakeRoot();
    SetSysColorChangeHook(SendSysColorChange);
    return d;
  }();
  SIZE s = GetScreenSize();
  desktop->rect = desktop->client = RECT{0, 0, s.cx, s.cy};
  return desktop;
}

Window* MessageRoot() {
  static Window* root = [] {
    Window* r = MakeRoot();
    r->style &= ~WS_VISIBLE;
    return r;
  }();
  return root;
}

bool IsTopLevel(const Window* w) { return w->parent == Desktop() || w->parent == MessageRoot(); }

Window* TopLevelOf(Window* w) {
  while (w && !IsTopLevel(w) && w->parent) w = w->parent;
  return w;
}

POINT ClientOrigin(const Window* w) {
  if (!w->parent) return {0, 0};
  POINT p = ClientOrigin(w->parent);
  return {p.x + w->client.left, p.y + w->client.top};
}

RECT ScreenWindowRect(const Window* w) {
  if (!w->parent) return w->rect;
  POINT p = ClientOrigin(w->parent);
  RECT r = w->rect;
  OffsetRectBy(r, p.x, p.y);
  return r;
}

RECT ScreenClientRect(const Window* w) {
  if (!w->parent) return w->client;
  POINT p = ClientOrigin(w->parent);
  RECT r = w->client;
  OffsetRectBy(r, p.x, p.y);
  return r;
}

RECT DefaultClientRect(DWORD style, DWORD exStyle, const RECT& r) {
  RECT c = r;
  if (style & WS_MINIMIZE) {
    c.right = c.left;
    c.bottom = c.top;
    return c;
  }
  // The frame's own layout, so that hit testing and painting agree with it
  // and it follows the system's metrics.
  NonClientLayout l = LayoutNonClient(style, exStyle, c.right - c.left, c.bottom - c.top);
  return RECT{c.left + l.client.left, c.top + l.client.top, c.left + l.client.right, c.top + l.client.bottom};
}

std::vector<Window*> TopLevelWindows() { return Desktop()->children; }

ATOM GlobalAtom(const std::string& name) {
  AtomTable& t = Atoms();
  std::lock_guard<std::mutex> g(t.lock);
  for (size_t i = 0; i < t.names.size(); ++i)
    if (SameText(t.names[i], name.c_str())) return static_cast<ATOM>(0xC000 + i);
  if (t.names.size() >= 0x3FFF) return 0;
  t.names.push_back(name);
  return static_cast<ATOM>(0xC000 + t.names.size() - 1);
}

Extensions& LayerExtensions() {
  static Extensions extensions;
  return extensions;
}

POINT CursorPosition() {
  std::lock_guard<std::mutex> g(cursorLock);
  return cursor;
}

void SetCursorPosition(POINT pt) {
  std::lock_guard<std::mutex> g(cursorLock);
  cursor = pt;
}

DWORD UserInterfaceThreadId() { return uiThread.load(); }

BackingSurface* SurfaceOf(Window* topLevel) { return topLevel ? topLevel->surface.get() : nullptr; }

}  // namespace wnd

// Errors and threads -----------------------------------------------------------------

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD error) { lastError = error; }

DWORD GetCurrentThreadId() {
  thread_local DWORD id = static_cast<DWORD>(::syscall(SYS_gettid));
  return id;
}

// Classes ---------------------------------------------------------------------------

ATOM RegisterClassEx(const WNDCLASSEX* wc) {
  if (!wc || !wc->lpszClassName || IsAtomName(wc->lpszClassName) || !*wc->lpszClassName || wc->cbClsExtra < 0 ||
      wc->cbWndExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (FindClass(wc->lpszClassName)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto c = std::make_unique<WindowClass>();
  c->name = wc->lpszClassName;
  c->atom = GlobalAtom(c->name);
  c->style = wc->style;
  c->proc = wc->lpfnWndProc;
  c->clsExtra = wc->cbClsExtra;
  c->wndExtra = wc->cbWndExtra;
  c->instance = wc->hInstance;
  c->icon = wc->hIcon;
  c->iconSm = wc->hIconSm;
  c->cursor = wc->hCursor;
  c->background = wc->hbrBackground;
  if (wc->lpszMenuName && !IsAtomName(wc->lpszMenuName)) c->menuName = wc->lpszMenuName;
  c->extra.assign(static_cast<size_t>(wc->cbClsExtra), 0);
  ATOM atom = c->atom;
  std::lock_guard<std::mutex> g(Classes().lock);
  Classes().classes.push_back(std::move(c));
  return atom;
}

BOOL UnregisterClass(const char* className, HINSTANCE) {
  if (!className) return FALSE;
  WindowClass* c = FindClass(className);
  ClassTable& t = Classes();
  std::lock_guard<std::mutex> g(t.lock);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (c->windows > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  t.classes.erase(std::remove_if(t.classes.begin(), t.classes.end(), [&](auto& p) { return p.get() == c; }),
                  t.classes.end());
  return TRUE;
}

BOOL GetClassInfoEx(HINSTANCE, const char* className, WNDCLASSEX* wc) {
  WindowClass* c = className ? FindClass(className) : nullptr;
  if (!c || !wc) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  wc->style = c->style;
  wc->lpfnWndProc = c->proc;
  wc->cbClsExtra = c->clsExtra;
  wc->cbWndExtra = c->wndExtra;
  wc->hInstance = c->instance;
  wc->hIcon = c->icon;
  wc->hCursor = c->cursor;
  wc->hbrBackground = c->background;
  wc->lpszMenuName = c->menuName.empty() ? nullptr : c->menuName.c_str();
  wc->lpszClassName = c->name.c_str();
  wc->hIconSm = c->iconSm;
  return TRUE;
}

std::string GetClassName(HWND hwnd) {
  Window* w = Valid(hwnd);
  if (!w) return {};
  if (!w->cls) return w == Desktop() ? "#32769" : "Message";
  return w->cls->name;
}

int GetClassName(HWND hwnd, char* buffer, int maxCount) {
  if (!buffer || maxCount <= 0 || !Lookup(hwnd)) return 0;
  std::string name = GetClassName(hwnd);
  size_t n = std::min(name.size(), static_cast<size_t>(maxCount - 1));
  std::memcpy(buffer, name.data(), n);
  buffer[n] = 0;
  return static_cast<int>(n);
}

namespace {

template <typename T>
bool ExtraSlot(std::vector<uint8_t>& extra, int index, T** slot) {
  if (index < 0 || static_cast<size_t>(index) + sizeof(T) > extra.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return false;
  }
  *slot = reinterpret_cast<T*>(extra.data() + index);
  return true;
}

template <typename T>
T ReadExtra(std::vector<uint8_t>& extra, int index) {
  T* slot;
  if (!ExtraSlot(extra, index, &slot)) return 0;
  T value;
  std::memcpy(&value, slot, sizeof value);
  return value;
}

template <typename T>
T WriteExtra(std::vector<uint8_t>& extra, int index, T value) {
  T* slot;
  if (!ExtraSlot(extra, index, &slot)) return 0;
  T old;
  std::memcpy(&old, slot, sizeof old);
  std::memcpy(slot, &value, sizeof value);
  return old;
}

}  // namespace

LONG_PTR GetClassLongPtr(HWND hwnd, int index) {
  Window* w = Valid(hwnd);
  if (!w || !w->cls) return 0;
  WindowClass* c = w->cls;
  switch (index) {
    case GCL_STYLE: return c->style;
    case GCLP_WNDPROC: return reinterpret_cast<LONG_PTR>(c->proc);
    case GCLP_HBRBACKGROUND: return reinterpret_cast<LONG_PTR>(c->background);
    case GCLP_HCURSOR: return reinterpret_cast<LONG_PTR>(c->cursor);
    case GCLP_HICON: return reinterpret_cast<LONG_PTR>(c->icon);
    case GCLP_HICONSM: return reinterpret_cast<LONG_PTR>(c->iconSm);
    case GCLP_HMODULE: return reinterpret_cast<LONG_PTR>(c->instance);
    case GCL_CBWNDEXTRA: return c->wndExtra;
    case GCL_CBCLSEXTRA: return c->clsExtra;
    case GCW_ATOM: return c->atom;
    case GCLP_MENUNAME: return c->menuName.empty() ? 0 : reinterpret_cast<LONG_PTR>(c->menuName.c_str());
    default: return ReadExtra<LONG_PTR>(c->extra, index);
  }
}

LONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value) {
  Window* w = Valid(hwnd);
  if (!w || !w->cls) return 0;
  WindowClass* c = w->cls;
  LONG_PTR old = 0;
  switch (index) {
    case GCL_STYLE:
      old = c->style;
      c->style = static_cast<UINT>(value);
      return old;
    case GCLP_WNDPROC:
      old = reinterpret_cast<LONG_PTR>(c->proc);
      c->proc = reinterpret_cast<WNDPROC>(value);
      return old;
    case GCLP_HBRBACKGROUND:
      old = reinterpret_cast<LONG_PTR>(c->background);
      c->background = reinterpret_cast<HBRUSH>(value);
      return old;
    case GCLP_HCURSOR:
      old = reinterpret_cast<LONG_PTR>(c->cursor);
      c->cursor = reinterpret_cast<HCURSOR>(value);
      return old;
    case GCLP_HICON:
      old = reinterpret_cast<LONG_PTR>(c->icon);
      c->icon = reinterpret_cast<HICON>(value);
      return old;
    case GCLP_HICONSM:
      old = reinterpret_cast<LONG_PTR>(c->iconSm);
      c->iconSm = reinterpret_cast<HICON>(value);
      return old;
    default: return WriteExtra<LONG_PTR>(c->extra, index, value);
  }
}

// Creation and destruction -------------------------------------------------------

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND hwndParent, HMENU menu, HINSTANCE instance, void* param) {
  WindowClass* cls = className ? FindClass(className) : nullptr;
  if (!cls) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  Window* parent = nullptr;
  Window* owner = nullptr;
  if (hwndParent == HWND_MESSAGE) {
    parent = MessageRoot();
    style &= ~WS_CHILD;
  } else if (style & WS_CHILD) {
    parent = hwndParent ? Lookup(hwndParent) : nullptr;
    if (!parent) {
      SetLastError(hwndParent ? ERROR_INVALID_WINDOW_HANDLE : ERROR_TLW_WITH_WSCHILD);
      return nullptr;
    }
  } else {
    parent = Desktop();
    if (hwndParent && hwndParent != GetDesktopWindow()) {
      Window* o = Lookup(hwndParent);
      if (!o) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
      }
      owner = TopLevelOf(o);
      if (IsRoot(owner)) owner = nullptr;
    }
  }

  bool overlapped = !(style & (WS_CHILD | WS_POPUP));
  if (overlapped && parent == Desktop()) {
    // Overlapped windows always have a caption and clip their siblings.
    style |= WS_CLIPSIBLINGS | WS_CAPTION;
    exStyle |= WS_EX_WINDOWEDGE;
  }
  if (x == CW_USEDEFAULT) x = y = overlapped ? 26 : 0;
  if (width == CW_USEDEFAULT) {
    width = overlapped ? GetScreenSize().cx * 3 / 4 : 0;
    height = overlapped ? GetScreenSize().cy * 3 / 4 : 0;
  }
  width = std::max(width, 0);
  height = std::max(height, 0);

  DWORD showStyle = style & (WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
  auto record = std::make_unique<Window>();
  Window* w = record.get();
  w->cls = cls;
  w->queue = CurrentQueue();
  w->threadId = GetCurrentThreadId();
  w->style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
  w->exStyle = exStyle;
  w->parent = parent;
  w->owner = owner;
  if (owner && (owner->exStyle & WS_EX_TOPMOST)) w->exStyle |= WS_EX_TOPMOST;
  w->proc = cls->proc;
  w->instance = instance;
  w->id = (style & WS_CHILD) ? reinterpret_cast<LONG_PTR>(menu) : 0;
  w->extra.assign(static_cast<size_t>(cls->wndExtra), 0);
  w->rect = w->client = w->normalRect = RECT{x, y, x + width, y + height};
  {
    std::lock_guard<std::mutex> g(Classes().lock);
    ++cls->windows;
  }
  HWND hwnd = Register(std::move(record))->handle;
  DWORD expected = 0;
  uiThread.compare_exchange_strong(expected, w->threadId);
  // New children go to the bottom, so the order of creation is the order from
  // the top (the tab order); new top-level windows go on top.
  Link(w, w->IsChild() ? HWND_BOTTOM : HWND_TOP);
  SyncSurface(w);

  CREATESTRUCT cs;
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = hwndParent;
  cs.cx = width;
  cs.cy = height;
  cs.x = x;
  cs.y = y;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;

  if (HasMinMax(w->style)) {
    MINMAXINFO mm = QueryMinMax(hwnd, w);
    if (!(w = Lookup(hwnd))) return nullptr;
    cs.cx = std::clamp<int>(cs.cx, std::min(mm.ptMinTrackSize.x, mm.ptMaxTrackSize.x), mm.ptMaxTrackSize.x);
    cs.cy = std::clamp<int>(cs.cy, std::min(mm.ptMinTrackSize.y, mm.ptMaxTrackSize.y), mm.ptMaxTrackSize.y);
    w->rect = w->client = w->normalRect = RECT{x, y, x + cs.cx, y + cs.cy};
    SyncSurface(w);
  }

  if (!SendMessage(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (Lookup(hwnd)) SendNcDestroyAndFree(hwnd);
    return nullptr;
  }
  if (!(w = Lookup(hwnd))) return nullptr;
  RECT client = w->rect;
  SendMessage(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
  if (!(w = Lookup(hwnd))) return nullptr;
  w->client = client;

  if (SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!(w = Lookup(hwnd))) return nullptr;
  SendMessage(hwnd, WM_SIZE, SizeType(w), PackPoint(Width(w->client), Height(w->client)));
  if (!(w = Lookup(hwnd))) return nullptr;
  SendMessage(hwnd, WM_MOVE, 0, PackPoint(w->client.left, w->client.top));
  if (!(w = Lookup(hwnd))) return nullptr;

  if (showStyle & WS_VISIBLE) {
    int cmd = (showStyle & WS_MAXIMIZE)   ? SW_SHOWMAXIMIZED
              : (showStyle & WS_MINIMIZE) ? SW_SHOWMINIMIZED
              : (exStyle & WS_EX_NOACTIVATE) ? SW_SHOWNOACTIVATE
                                            : SW_SHOW;
    ShowWindow(hwnd, cmd);
  } else if (showStyle & (WS_MAXIMIZE | WS_MINIMIZE)) {
    ShowWindow(hwnd, (showStyle & WS_MAXIMIZE) ? SW_MAXIMIZE : SW_MINIMIZE);
    if ((w = Lookup(hwnd)) && (w->style & WS_VISIBLE)) ShowWindow(hwnd, SW_HIDE);
  }
  SendParentNotify(hwnd, WM_CREATE);
  return Lookup(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
  Window* w = Valid(hwnd);
  if (!w || IsRoot(w)) return FALSE;
  if (w->threadId != GetCurrentThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (w->destroying) return TRUE;
  w->destroying = true;
  if (w->IsChild()) SendParentNotify(hwnd, WM_DESTROY);
  if ((w = Lookup(hwnd)) && (w->style & WS_VISIBLE))
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!(w = Lookup(hwnd))) return TRUE;
  if (IsTopLevel(w)) {
    std::vector<HWND> owned;
    for (Window* t : TopLevelWindows())
      if (t->owner == w) owned.push_back(t->handle);
    for (HWND o : owned) DestroyWindow(o);
  }
  if (LayerExtensions().windowDestroying) LayerExtensions().windowDestroying(hwnd);
  if (LayerExtensions().menuWindowGoing) LayerExtensions().menuWindowGoing(hwnd);
  SendDestroy(hwnd);
  SendNcDestroyAndFree(hwnd);
  return TRUE;
}

// State ------------------------------------------------------------------------------

BOOL IsWindow(HWND hwnd) { return QueueOfWindow(hwnd) || hwnd == GetDesktopWindow() ? TRUE : FALSE; }

BOOL IsChild(HWND parent, HWND hwnd) {
  Window* p = Lookup(parent);
  Window* w = Lookup(hwnd);
  if (!p || !w) return FALSE;
  while (w->IsChild() && w->parent) {
    w = w->parent;
    if (w == p) return TRUE;
  }
  return FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
  Window* w = Lookup(hwnd);
  if (!w) return FALSE;
  for (; w && !IsRoot(w); w = w->parent)
    if (!(w->style & WS_VISIBLE)) return FALSE;
  return w == Desktop() ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = Lookup(hwnd);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd) {
  Window* w = Lookup(hwnd);
  return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
  Window* w = Lookup(hwnd);
  return w && (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = Valid(hwnd);
  if (!w) return FALSE;
  bool wasDisabled = (w->style & WS_DISABLED) != 0;
  if (enable && wasDisabled) {
    w->style &= ~WS_DISABLED;
    SendMessage(hwnd, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    SendMessage(hwnd, WM_CANCELMODE, 0, 0);
    if ((w = Lookup(hwnd))) {
      w->style |= WS_DISABLED;
      if (LayerExtensions().windowDisabled) LayerExtensions().windowDisabled(hwnd);
      if (IsWindow(hwnd)) SendMessage(hwnd, WM_ENABLE, FALSE, 0);
    }
  }
  return wasDisabled ? TRUE : FALSE;
}

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId) {
  DWORD thread = 0;
  if (!QueueOfWindow(hwnd, &thread)) return 0;
  if (processId) *processId = static_cast<DWORD>(::getpid());
  return thread;
}

// The tree ----------------------------------------------------------------------------

HWND GetDesktopWindow() { return Desktop()->handle; }

HWND GetParent(HWND hwnd) {
  Window* w = Valid(hwnd);
  if (!w) return nullptr;
  if (w->IsChild()) return w->parent && !IsRoot(w->parent) ? w->parent->handle : nullptr;
  if ((w->style & WS_POPUP) && w->owner) return w->owner->handle;
  return nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  Window* w = Valid(hwnd);
  if (!w || IsRoot(w)) return nullptr;
  switch (flags) {
    case GA_PARENT: return w->parent ? w->parent->handle : nullptr;
    case GA_ROOT: return TopLevelOf(w)->handle;
    case GA_ROOTOWNER: {
      Window* r = TopLevelOf(w);
      while (r->owner) r = r->owner;
      return r->handle;
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HWND SetParent(HWND child, HWND newParent) {
  Window* w = Valid(child);
  if (!w || IsRoot(w)) return nullptr;
  Window* p = newParent ? Valid(newParent) : Desktop();
  if (!p) return nullptr;
  for (Window* a = p; a; a = a->parent)
    if (a == w) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
  Window* old = w->parent;
  if (old == p) return old->handle;
  RECT oldScreen = ScreenWindowRect(w);
  bool wasTopLevel = old == Desktop();
  Unlink(w);
  w->parent = p;
  if (p != Desktop()) w->owner = nullptr;
  Link(w, HWND_TOP);
  SyncSurface(w);
  if (wasTopLevel && p != Desktop()) CurrentDisplay().TopLevelDestroyed(child);
  NotifyPlacement(w, oldScreen, SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  SetWindowPos(child, HWND_TOP, w->rect.left, w->rect.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  return old->handle;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  Window* w = Valid(hwnd);
  if (!w) return nullptr;
  if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
  if (cmd == GW_OWNER) return w->owner ? w->owner->handle : nullptr;
  if (cmd == GW_ENABLEDPOPUP) {
    for (Window* t : TopLevelWindows())
      if (t->owner == w && (t->style & WS_VISIBLE) && !(t->style & WS_DISABLED)) return t->handle;
    return nullptr;
  }
  if (!w->parent) return nullptr;
  auto& v = w->parent->children;
  auto it = std::find(v.begin(), v.end(), w);
  if (it == v.end()) return nullptr;
  switch (cmd) {
    case GW_HWNDFIRST: return v.front()->handle;
    case GW_HWNDLAST: return v.back()->handle;
    case GW_HWNDNEXT: return it + 1 == v.end() ? nullptr : (*(it + 1))->handle;
    case GW_HWNDPREV: return it == v.begin() ? nullptr : (*(it - 1))->handle;
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HWND GetTopWindow(HWND hwnd) { return GetWindow(hwnd ? hwnd : GetDesktopWindow(), GW_CHILD); }

namespace {

bool EnumList(const std::vector<HWND>& list, WNDENUMPROC proc, LPARAM lParam) {
  for (HWND h : list)
    if (Lookup(h) && !proc(h, lParam)) return false;
  return true;
}

}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  Window* p = parent ? Valid(parent) : Desktop();
  if (!p || !proc) return FALSE;
  std::vector<HWND> list;
  CollectDescendants(p, list);
  return EnumList(list, proc, lParam) ? TRUE : FALSE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  std::vector<HWND> list;
  for (Window* t : TopLevelWindows()) list.push_back(t->handle);
  return EnumList(list, proc, lParam) ? TRUE : FALSE;
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  std::vector<HWND> list;
  for (Window* t : TopLevelWindows())
    if (t->threadId == threadId) list.push_back(t->handle);
  return EnumList(list, proc, lParam) ? TRUE : FALSE;
}

HWND FindWindowEx(HWND parent, HWND childAfter, const char* className, const char* windowName) {
  Window* p = parent == HWND_MESSAGE ? MessageRoot() : parent ? Valid(parent) : Desktop();
  if (!p) return nullptr;
  auto& v = p->children;
  auto it = v.begin();
  if (childAfter) {
    it = std::find_if(v.begin(), v.end(), [&](Window* c) { return c->handle == childAfter; });
    if (it == v.end()) return nullptr;
    ++it;
  }
  for (; it != v.end(); ++it) {
    Window* c = *it;
    if (className) {
      if (!c->cls) continue;
      if (IsAtomName(className) ? c->cls->atom != static_cast<ATOM>(reinterpret_cast<uintptr_t>(className))
                                : !SameText(c->cls->name, className))
        continue;
    }
    if (windowName && !SameText(c->text, windowName)) continue;
    return c->handle;
  }
  return nullptr;
}

HWND FindWindow(const char* className, const char* windowName) {
  return FindWindowEx(nullptr, nullptr, className, windowName);
}

// Placement ------------------------------------------------------------------------------

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* w = Valid(hwnd);
  if (!w || IsRoot(w)) return FALSE;
  flags &= ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE);
  if (w->style & WS_VISIBLE)
    flags &= ~SWP_SHOWWINDOW;
  else
    flags &= ~SWP_HIDEWINDOW;
  cx = std::max(cx, 0);
  cy = std::max(cy, 0);
  if (x == w->rect.left && y == w->rect.top) flags |= SWP_NOMOVE;
  if (cx == Width(w->rect) && cy == Height(w->rect)) flags |= SWP_NOSIZE;
  if (!(flags & SWP_NOZORDER)) {
    bool special = insertAfter == HWND_TOP || insertAfter == HWND_BOTTOM || insertAfter == HWND_TOPMOST ||
                   insertAfter == HWND_NOTOPMOST;
    if (insertAfter == hwnd) {
      flags |= SWP_NOZORDER;
    } else if (!special) {
      Window* a = Lookup(insertAfter);
      if (!a || a->parent != w->parent) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
    }
  }

  WINDOWPOS wp;
  wp.hwnd = hwnd;
  wp.hwndInsertAfter = insertAfter;
  wp.x = (flags & SWP_NOMOVE) ? w->rect.left : x;
  wp.y = (flags & SWP_NOMOVE) ? w->rect.top : y;
  wp.cx = (flags & SWP_NOSIZE) ? Width(w->rect) : cx;
  wp.cy = (flags & SWP_NOSIZE) ? Height(w->rect) : cy;
  wp.flags = flags;
  if (!(flags & SWP_NOSENDCHANGING)) {
    SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (!(w = Lookup(hwnd))) return FALSE;
  }
  flags = wp.flags & ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE);

  RECT oldScreen = ScreenWindowRect(w);
  RECT oldRect = w->rect;
  RECT oldClient = w->client;
  RECT newRect = oldRect;
  if (!(flags & SWP_NOMOVE)) OffsetRectBy(newRect, wp.x - oldRect.left, wp.y - oldRect.top);
  if (!(flags & SWP_NOSIZE)) {
    newRect.right = newRect.left + std::max(wp.cx, 0);
    newRect.bottom = newRect.top + std::max(wp.cy, 0);
  }
  RECT newClient = oldClient;
  if (!(flags & SWP_NOSIZE) || (flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS p;
    p.rgrc[0] = newRect;
    p.rgrc[1] = oldRect;
    p.rgrc[2] = oldClient;
    p.lppos = &wp;
    SendMessage(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&p));
    if (!(w = Lookup(hwnd))) return FALSE;
    newClient = p.rgrc[0];
  } else {
    OffsetRectBy(newClient, newRect.left - oldRect.left, newRect.top - oldRect.top);
  }

  w->rect = newRect;
  w->client = newClient;
  if (!(flags & SWP_NOZORDER)) Restack(w, wp.hwndInsertAfter, flags);
  if (flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
  if (flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
  SyncSurface(w);
  if (Width(newClient) == Width(oldClient) && Height(newClient) == Height(oldClient)) flags |= SWP_NOCLIENTSIZE;
  if (newClient.left == oldClient.left && newClient.top == oldClient.top) flags |= SWP_NOCLIENTMOVE;
  wp.flags = flags;
  wp.x = newRect.left;
  wp.y = newRect.top;
  wp.cx = Width(newRect);
  wp.cy = Height(newRect);

  NotifyPlacement(w, oldScreen, flags);
  if (!(flags & SWP_NOACTIVATE) && !(w->exStyle & WS_EX_NOACTIVATE) && w->parent == Desktop() &&
      (w->style & WS_VISIBLE) &&
      (!(flags & SWP_NOZORDER) || (flags & SWP_SHOWWINDOW)) && LayerExtensions().activate)
    LayerExtensions().activate(hwnd);
  SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL ShowWindow(HWND hwnd, int cmdShow) {
  Window* w = Valid(hwnd);
  if (!w || IsRoot(w)) return FALSE;
  bool wasVisible = (w->style & WS_VISIBLE) != 0;
  UINT swp = 0;
  bool show = true;
  bool place = false;  // state change: new rectangle from newRect
  RECT newRect = w->rect;
  switch (cmdShow) {
    case SW_HIDE:
      if (!wasVisible) return FALSE;
      show = false;
      swp = SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER;
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
      swp = SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER;
      if (cmdShow == SW_MINIMIZE || cmdShow == SW_FORCEMINIMIZE) swp &= ~SWP_SHOWWINDOW;
      if (!(w->style & WS_MINIMIZE)) {
        if (!(w->style & WS_MAXIMIZE)) w->normalRect = w->rect;
        w->style = (w->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
        if (IsTopLevel(w))
          newRect = {kIconicPosition, kIconicPosition, kIconicPosition + GetSystemMetrics(SM_CXMINIMIZED),
                     kIconicPosition + GetSystemMetrics(SM_CYMINIMIZED)};
        else
          newRect = {0, Height(w->parent->client) - GetSystemMetrics(SM_CYMINIMIZED),
                     GetSystemMetrics(SM_CXMINIMIZED), Height(w->parent->client)};
        place = true;
      }
      break;
    case SW_SHOWMAXIMIZED:
      swp = SWP_SHOWWINDOW;
      if (!(w->style & WS_MAXIMIZE)) {
        MINMAXINFO mm = QueryMinMax(hwnd, w);
        if (!(w = Lookup(hwnd))) return FALSE;
        if (!(w->style & WS_MINIMIZE)) w->normalRect = w->rect;
        w->style = (w->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
        newRect = {mm.ptMaxPosition.x, mm.ptMaxPosition.y, mm.ptMaxPosition.x + mm.ptMaxSize.x,
                   mm.ptMaxPosition.y + mm.ptMaxSize.y};
        place = true;
      }
      break;
    case SW_SHOWNA:
      swp = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
      break;
    case SW_SHOW:
      swp = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE;
      break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
    case SW_RESTORE:
      swp = SWP_SHOWWINDOW;
      if (cmdShow == SW_SHOWNOACTIVATE) swp |= SWP_NOACTIVATE | SWP_NOZORDER;
      if (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        newRect = w->normalRect;
        place = true;
      } else {
        swp |= SWP_NOSIZE | SWP_NOMOVE;
      }
      break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
  if (place) swp |= SWP_STATECHANGED | SWP_FRAMECHANGED;
  if (w->IsChild()) swp |= SWP_NOACTIVATE | (place ? 0 : SWP_NOZORDER);
  if (show != wasVisible && (swp & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) {
    SendMessage(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!(w = Lookup(hwnd))) return wasVisible ? TRUE : FALSE;
  }
  SetWindowPos(hwnd, HWND_TOP, newRect.left, newRect.top, Width(newRect), Height(newRect), swp);
  return wasVisible ? TRUE : FALSE;
}

// Coordinates ---------------------------------------------------------------------------

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  Window* w = Valid(hwnd);
  if (!w || !rect) return FALSE;
  *rect = ScreenWindowRect(w);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  Window* w = Valid(hwnd);
  if (!w || !rect) return FALSE;
  *rect = RECT{0, 0, Width(w->client), Height(w->client)};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
  Window* w = Valid(hwnd);
  if (!w || !point) return FALSE;
  POINT o = ClientOrigin(w);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
  Window* w = Valid(hwnd);
  if (!w || !point) return FALSE;
  POINT o = ClientOrigin(w);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  Window* f = from ? Valid(from) : Desktop();
  Window* t = to ? Valid(to) : Desktop();
  if (!f || !t) return 0;
  POINT a = ClientOrigin(f), b = ClientOrigin(t);
  int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  SetLastError(ERROR_SUCCESS);
  return static_cast<int>(MAKELPARAM(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

namespace {

// Inside the window's rectangle and its region; pt on the screen.
bool HitsWindow(const Window* w, POINT pt) {
  RECT r = ScreenWindowRect(w);
  if (!InRect(r, pt)) return false;
  return !w->region || PtInRegion(w->region, pt.x - r.left, pt.y - r.top);
}

HWND DeepestAt(Window* w, POINT pt) {
  if (!InRect(ScreenClientRect(w), pt)) return w->handle;
  for (Window* c : w->children) {
    if (!(c->style & WS_VISIBLE) || !HitsWindow(c, pt)) continue;
    if (c->style & WS_DISABLED) return w->handle;
    return DeepestAt(c, pt);
  }
  return w->handle;
}

}  // namespace

HWND WindowFromPoint(POINT point) {
  // A layered window marked transparent (a drag image) lets the point through.
  constexpr DWORD kClickThrough = WS_EX_LAYERED | WS_EX_TRANSPARENT;
  for (Window* t : TopLevelWindows())
    if ((t->style & WS_VISIBLE) && (t->exStyle & kClickThrough) != kClickThrough && HitsWindow(t, point))
      // A disabled top-level window keeps the point from its children.
      return (t->style & WS_DISABLED) ? t->handle : DeepestAt(t, point);
  return nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags) {
  Window* p = Valid(parent);
  if (!p) return nullptr;
  POINT origin = ClientOrigin(p);
  POINT screen{point.x + origin.x, point.y + origin.y};
  if (!IsRoot(p) && !HitsWindow(p, screen)) return nullptr;
  for (Window* c : p->children) {
    if ((flags & CWP_SKIPINVISIBLE) && !(c->style & WS_VISIBLE)) continue;
    if ((flags & CWP_SKIPDISABLED) && (c->style & WS_DISABLED)) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (c->exStyle & WS_EX_TRANSPARENT)) continue;
    if (HitsWindow(c, screen)) return c->handle;
  }
  return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT point) { return ChildWindowFromPointEx(parent, point, CWP_ALL); }

// Window longs --------------------------------------------------------------------------

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
  Window* w = Valid(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWL_STYLE: return static_cast<LONG>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_USERDATA: return w->userData;
    case GWLP_ID: return w->id;
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
      if (w->IsChild()) return reinterpret_cast<LONG_PTR>(w->parent->handle);
      return w->owner ? reinterpret_cast<LONG_PTR>(w->owner->handle) : 0;
    default: return ReadExtra<LONG_PTR>(w->extra, index);
  }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  Window* w = Valid(hwnd);
  if (!w || IsRoot(w)) return 0;
  LONG_PTR old = 0;
  switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE: {
      DWORD& field = index == GWL_STYLE ? w->style : w->exStyle;
      STYLESTRUCT ss{field, static_cast<DWORD>(value)};
      old = static_cast<LONG>(field);
      SendMessage(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
      if (!(w = Lookup(hwnd))) return 0;
      DWORD& f = index == GWL_STYLE ? w->style : w->exStyle;
      // The topmost band is kept by SetWindowPos alone.
      if (index == GWL_EXSTYLE) ss.styleNew = (ss.styleNew & ~WS_EX_TOPMOST) | (f & WS_EX_TOPMOST);
      f = ss.styleNew;
      SendMessage(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
      return old;
    }
    case GWLP_WNDPROC:
      old = reinterpret_cast<LONG_PTR>(w->proc);
      w->proc = reinterpret_cast<WNDPROC>(value);
      return old;
    case GWLP_USERDATA:
      old = w->userData;
      w->userData = value;
      return old;
    case GWLP_ID:
      old = w->id;
      w->id = value;
      return old;
    case GWLP_HINSTANCE:
      old = reinterpret_cast<LONG_PTR>(w->instance);
      w->instance = reinterpret_cast<HINSTANCE>(value);
      return old;
    case GWLP_HWNDPARENT: {
      if (w->IsChild()) return 0;
      old = w->owner ? reinterpret_cast<LONG_PTR>(w->owner->handle) : 0;
      Window* o = value ? Lookup(reinterpret_cast<HWND>(value)) : nullptr;
      o = o ? TopLevelOf(o) : nullptr;
      w->owner = o && o != w && !IsRoot(o) ? o : nullptr;
      return old;
    }
    default: return WriteExtra<LONG_PTR>(w->extra, index, value);
  }
}

LONG GetWindowLong(HWND hwnd, int index) {
  if (index >= 0) {
    Window* w = Valid(hwnd);
    return w ? ReadExtra<LONG>(w->extra, index) : 0;
  }
  return static_cast<LONG>(GetWindowLongPtr(hwnd, index));
}

LONG SetWindowLong(HWND hwnd, int index, LONG value) {
  if (index >= 0) {
    Window* w = Valid(hwnd);
    return w ? WriteExtra<LONG>(w->extra, index, value) : 0;
  }
  return static_cast<LONG>(SetWindowLongPtr(hwnd, index, value));
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

// The default window procedure ------------------------------------------------------------

namespace {

// Cuts UTF-8 text to at most max bytes without splitting a character.
size_t Utf8Cut(const std::string& s, size_t max) {
  if (s.size() <= max) return s.size();
  size_t n = max;
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  return n;
}

}  // namespace

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Lookup(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
      if (cs && cs->lpszName && !IsAtomName(cs->lpszName)) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_NCCALCSIZE:
      if (wParam) {
        auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        RECT whole = p->rgrc[0];
        p->rgrc[0] = DefaultClientRect(w->style, w->exStyle, p->rgrc[0]);
        if (auto bar = LayerExtensions().menuBarHeight; bar && !(w->style & (WS_CHILD | WS_MINIMIZE)))
          p->rgrc[0].top = std::min(p->rgrc[0].bottom, p->rgrc[0].top + bar(hwnd, whole.right - whole.left));
      } else if (lParam) {
        auto* r = reinterpret_cast<RECT*>(lParam);
        RECT whole = *r;
        *r = DefaultClientRect(w->style, w->exStyle, *r);
        if (auto bar = LayerExtensions().menuBarHeight; bar && !(w->style & (WS_CHILD | WS_MINIMIZE)))
          r->top = std::min(r->bottom, r->top + bar(hwnd, whole.right - whole.left));
      }
      return 0;
    case WM_WINDOWPOSCHANGING: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
      if (!(wp->flags & SWP_NOSIZE) && HasMinMax(w->style) && !(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) {
        MINMAXINFO mm = QueryMinMax(hwnd, w);
        wp->cx = std::clamp<int>(wp->cx, std::min(mm.ptMinTrackSize.x, mm.ptMaxTrackSize.x), mm.ptMaxTrackSize.x);
        wp->cy = std::clamp<int>(wp->cy, std::min(mm.ptMinTrackSize.y, mm.ptMaxTrackSize.y), mm.ptMaxTrackSize.y);
      }
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
      if (!(wp->flags & SWP_NOCLIENTMOVE))
        SendMessage(hwnd, WM_MOVE, 0, PackPoint(w->client.left, w->client.top));
      if (!(w = Lookup(hwnd))) return 0;
      if (!(wp->flags & SWP_NOCLIENTSIZE) || (wp->flags & SWP_STATECHANGED))
        SendMessage(hwnd, WM_SIZE, SizeType(w), PackPoint(Width(w->client), Height(w->client)));
      return 0;
    }
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      return TRUE;
    case WM_GETTEXT: {
      if (wParam == 0 || !lParam) return 0;
      auto* buffer = reinterpret_cast<char*>(lParam);
      size_t n = Utf8Cut(w->text, wParam - 1);
      std::memcpy(buffer, w->text.data(), n);
      buffer[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_SETREDRAW:
      // As in Windows: the visible bit goes, and nothing is drawn until it
      // comes back.
      if (wParam)
        w->style |= WS_VISIBLE;
      else
        w->style &= ~WS_VISIBLE;
      return 0;
    default: {
      LRESULT result = 0;
      if (LayerExtensions().defWindowProc && LayerExtensions().defWindowProc(hwnd, msg, wParam, lParam, &result))
        return result;
      return 0;
    }
  }
}

// Text ---------------------------------------------------------------------------------------

BOOL SetWindowText(HWND hwnd, const char* text) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowText(HWND hwnd, char* buffer, int maxCount) {
  if (!buffer || maxCount <= 0) return 0;
  buffer[0] = 0;
  return static_cast<int>(SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

std::string GetWindowText(HWND hwnd) {
  int length = GetWindowTextLength(hwnd);
  if (length <= 0) return {};
  std::string s(static_cast<size_t>(length) + 1, '\0');
  int n = GetWindowText(hwnd, s.data(), length + 1);
  s.resize(static_cast<size_t>(std::max(n, 0)));
  return s;
}

int GetWindowTextLength(HWND hwnd) { return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0)); }

// Regions -------------------------------------------------------------------------------------

int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw) {
  Window* w = Valid(hwnd);
  if (!w || IsRoot(w)) return 0;
  RECT box;
  if (rgn && GetRgnBox(rgn, &box) == ERROR) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (w->region && w->region != rgn) DeleteObject(w->region);
  w->region = rgn;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER |
                   (redraw ? 0 : SWP_NOREDRAW));
  return 1;
}

int GetWindowRgn(HWND hwnd, HRGN rgn) {
  Window* w = Valid(hwnd);
  if (!w || !rgn || !w->region) return ERROR;
  return CombineRgn(rgn, w->region, nullptr, RGN_COPY);
}

}  // namespace win
