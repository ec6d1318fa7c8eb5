#include "platform/win/Input.h"

#include <algorithm>
#include <cstring>
#include <list>
#include <map>
#include <mutex>

#include "platform/rtl/Clock.h"
#include "platform/win/CursorImages.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/Messages.h"
#include "platform/win/NonClient.h"
#include "platform/win/Painting.h"
#include "platform/rtl/Resources.h"
#include "platform/win/SysParams.h"
#include "platform/win/UserPrivate.h"
#include "platform/win/Windows.h"

namespace win {

using namespace wnd;

namespace {


// An event of the mouse or keyboard as it happened. Which window gets it is
// decided when the thread takes it from the queue (as Windows does), so a
// capture or focus set while handling earlier input counts.
enum class InputKind { Move, Down, Up, Wheel, Key };
struct QueuedInput {
  InputKind kind = InputKind::Move;
  UINT code = 0;          // button or virtual key
  bool down = false;      // keys
  POINT pt;               // screen
  WPARAM mouseKeys = 0;   // MK_* as they were
  int delta = 0;          // wheel
  LPARAM keyData = 0;     // key messages' lParam
  bool alt = false, ctrl = false;
  DWORD time = 0;
  bool cooked = false;    // msg is made
  bool cooking = false;
  MSG msg;
};

struct Caret {
  HWND hwnd = nullptr;
  int width = 0;
  int height = 0;
  POINT pos;
  int hideCount = 1;  // created hidden
  bool drawn = false;
};

struct InputState {
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  BYTE asyncKeys[256] = {};
  BYTE syncKeys[256] = {};
  std::list<QueuedInput> queue;
  // The last button press, for double clicks.
  UINT lastDownMessage = 0;
  HWND lastDownWindow = nullptr;
  DWORD lastDownTime = 0;
  POINT lastDownPoint;
  // TrackMouseEvent.
  HWND trackWindow = nullptr;
  bool trackNonClient = false;
  Caret caret;
  UINT caretBlinkTime = 530;
  HCURSOR cursor = nullptr;
  int cursorShowCount = 0;
  bool suppressDefaultFocus = false;
};

InputState& State() {
  static InputState s;
  return s;
}

// Cursors -------------------------------------------------------------------------

struct CursorTable {
  std::mutex lock;
  std::map<uintptr_t, std::string> names;  // handle -> name
  std::map<std::string, HCURSOR> byName;
  std::map<uintptr_t, CursorImage> created;  // made by CreateCursor / CreateIconIndirect
  uintptr_t next = 0x20000;
};
CursorTable& Cursors() {
  static CursorTable t;
  return t;
}

struct SystemCursor {
  uintptr_t id;
  const char* name;
};
constexpr SystemCursor kSystemCursors[] = {
    {32512, "IDC_ARROW"},    {32513, "IDC_IBEAM"},    {32514, "IDC_WAIT"},        {32515, "IDC_CROSS"},
    {32516, "IDC_UPARROW"},  {32642, "IDC_SIZENWSE"}, {32643, "IDC_SIZENESW"},    {32644, "IDC_SIZEWE"},
    {32645, "IDC_SIZENS"},   {32646, "IDC_SIZEALL"},  {32648, "IDC_NO"},          {32649, "IDC_HAND"},
    {32650, "IDC_APPSTARTING"}, {32651, "IDC_HELP"},
};

HCURSOR CursorByName(const std::string& name) {
  CursorTable& t = Cursors();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.byName.find(name);
  if (it != t.byName.end()) return it->second;
  auto h = reinterpret_cast<HCURSOR>(t.next);
  t.next += 4;
  t.byName[name] = h;
  t.names[reinterpret_cast<uintptr_t>(h)] = name;
  return h;
}

bool IsIntResource(const char* name) { return reinterpret_cast<uintptr_t>(name) < 0x10000; }

// Helpers ----------------------------------------------------------------------------

DWORD Now() { return static_cast<DWORD>(GetTickCount64()); }

DWORD ThreadOf(HWND hwnd) { return hwnd ? GetWindowThreadProcessId(hwnd, nullptr) : 0; }

HWND RootOf(HWND hwnd) { return hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr; }

bool InSubtree(HWND root, HWND hwnd) { return hwnd && (hwnd == root || IsChild(root, hwnd)); }

void SetKey(BYTE* keys, UINT vk, bool down) {
  if (down && !(keys[vk] & 0x80)) keys[vk] ^= 0x01;
  keys[vk] = static_cast<BYTE>(down ? (keys[vk] | 0x80) : (keys[vk] & ~0x80));
}

// The generic key follows either side's key, as Windows keeps both.
void SetKeyWithSides(BYTE* keys, UINT vk, bool down) {
  SetKey(keys, vk, down);
  switch (vk) {
    case VK_SHIFT: SetKey(keys, VK_LSHIFT, down); break;
    case VK_CONTROL: SetKey(keys, VK_LCONTROL, down); break;
    case VK_MENU: SetKey(keys, VK_LMENU, down); break;
    case VK_LSHIFT:
    case VK_RSHIFT: SetKey(keys, VK_SHIFT, down); break;
    case VK_LCONTROL:
    case VK_RCONTROL: SetKey(keys, VK_CONTROL, down); break;
    case VK_LMENU:
    case VK_RMENU: SetKey(keys, VK_MENU, down); break;
    default: break;
  }
}

WPARAM MouseKeyFlags(const BYTE* keys) {
  WPARAM f = 0;
  if (keys[VK_LBUTTON] & 0x80) f |= MK_LBUTTON;
  if (keys[VK_RBUTTON] & 0x80) f |= MK_RBUTTON;
  if (keys[VK_MBUTTON] & 0x80) f |= MK_MBUTTON;
  if (keys[VK_SHIFT] & 0x80) f |= MK_SHIFT;
  if (keys[VK_CONTROL] & 0x80) f |= MK_CONTROL;
  return f;
}

LPARAM PackScreen(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

void Enqueue(QueuedInput q) {
  q.time = Now();
  State().queue.push_back(q);
  UINT bits = q.kind == InputKind::Key ? QS_KEY : q.kind == InputKind::Move ? QS_MOUSEMOVE : QS_MOUSEBUTTON;
  if (UserInterfaceThreadId() == GetCurrentThreadId()) NoteNewInput(bits);
}

// The message the retrieved input stands for, applied to the key state that
// GetKeyState reports.
void SyncKeysWith(const MSG& m) {
  BYTE* keys = State().syncKeys;
  switch (m.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      bool down = m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN;
      UINT vk = static_cast<UINT>(m.wParam & 0xFF);
      if (vk != VK_PACKET) SetKeyWithSides(keys, vk, down);
      break;
    }
    default:
      // Client mouse messages carry the buttons as they were.
      if (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST && m.message != WM_MOUSEWHEEL) {
        SetKeyWithSides(keys, VK_LBUTTON, m.wParam & MK_LBUTTON);
        SetKeyWithSides(keys, VK_RBUTTON, m.wParam & MK_RBUTTON);
        SetKeyWithSides(keys, VK_MBUTTON, m.wParam & MK_MBUTTON);
      }
      break;
  }
}

// Activation ----------------------------------------------------------------------

// A list taken before anything is sent: a handler may make or destroy windows.
std::vector<HWND> ThreadTopLevels() {
  std::vector<HWND> tops;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM p) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tops));
  return tops;
}

void SendToThreadTopLevels(UINT msg, WPARAM wParam, LPARAM lParam) {
  for (HWND h : ThreadTopLevels())
    if (IsWindow(h)) SendMessage(h, msg, wParam, lParam);
}

HWND ModalWindowFor(HWND disabled);

HWND Activate(HWND hwnd, WORD how, bool defaultFocus, bool raise = true) {
  InputState& s = State();
  HWND old = s.active;
  if (old && !IsWindow(old)) old = s.active = nullptr;
  // A disabled window waits for the window that disabled it (a modal
  // form), which takes the activation instead.
  if (hwnd && !IsWindowEnabled(hwnd)) {
    hwnd = ModalWindowFor(hwnd);
    if (!hwnd) return old;
    if (hwnd == old && raise) SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (old == hwnd) return old;
  // A mode tied to the window that loses activation (capture, tracking)
  // ends with it.
  if (s.capture && old && RootOf(s.capture) == old) SendMessage(s.capture, WM_CANCELMODE, 0, 0);
  if (old) {
    SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    if (IsWindow(old))
      SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0), reinterpret_cast<LPARAM>(hwnd));
  }
  if (!old && hwnd) SendToThreadTopLevels(WM_ACTIVATEAPP, TRUE, 0);
  s.active = hwnd;
  if (!hwnd) {
    if (old) SendToThreadTopLevels(WM_ACTIVATEAPP, FALSE, 0);
    if (s.focus) SetFocus(nullptr);
    return old;
  }
  // The core has already placed a window that activates by being shown or
  // moved; anything else comes up to the top of its band.
  if (raise && GetWindow(hwnd, GW_HWNDPREV) &&
      (GetWindowLong(GetWindow(hwnd, GW_HWNDPREV), GWL_EXSTYLE) & WS_EX_TOPMOST) ==
          (GetWindowLong(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST))
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessage(hwnd, WM_NCACTIVATE, TRUE, 0);
  bool saved = s.suppressDefaultFocus;
  s.suppressDefaultFocus = !defaultFocus;
  if (IsWindow(hwnd))
    SendMessage(hwnd, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(hwnd) ? 1 : 0), reinterpret_cast<LPARAM>(old));
  s.suppressDefaultFocus = saved;
  // The focus never stays in a window that is no longer active (SetFocus
  // moves it on by itself).
  if (defaultFocus && s.focus && RootOf(s.focus) != s.active && RootOf(s.focus) == old) SetFocus(nullptr);
  return old;
}

bool OwnedBy(HWND hwnd, HWND owner) {
  for (HWND o = GetWindow(hwnd, GW_OWNER); o; o = GetWindow(o, GW_OWNER))
    if (o == owner) return true;
  return false;
}

bool CanTakeActivation(HWND h) {
  Window* w = Lookup(h);
  return w && !w->IsChild() && IsWindowVisible(h) && IsWindowEnabled(h) && !(w->exStyle & WS_EX_NOACTIVATE);
}

bool TakesClickActivation(HWND h) {
  Window* w = Lookup(h);
  return w && !w->IsChild() && !(w->exStyle & WS_EX_NOACTIVATE);
}

// The window that holds the input while a top-level window is disabled: the
// topmost enabled window it owns, else the topmost enabled one of the
// thread (a modal form need not be owned by the windows it disabled).
HWND ModalWindowFor(HWND disabled) {
  std::vector<HWND> tops = ThreadTopLevels();
  for (HWND h : tops)
    if (CanTakeActivation(h) && OwnedBy(h, disabled)) return h;
  for (HWND h : tops)
    if (h != disabled && CanTakeActivation(h)) return h;
  return nullptr;
}

// Whether the window or one of its parents is disabled: then it takes no
// input and no focus.
bool DisabledOnTheWay(HWND hwnd) {
  for (HWND h = hwnd; h; h = (GetWindowLong(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr)
    if (!IsWindowEnabled(h)) return true;
  return false;
}

// Who takes over when the active window goes: its owner, else the topmost
// other visible and enabled top-level window of the thread.
HWND NextToActivate(HWND leaving) {
  HWND owner = GetWindow(leaving, GW_OWNER);
  if (owner && IsWindowVisible(owner) && IsWindowEnabled(owner)) return owner;
  for (HWND h : ThreadTopLevels()) {
    if (h == leaving || !IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
    if (GetWindow(h, GW_OWNER) == leaving) continue;
    Window* w = Lookup(h);
    if (w && (w->exStyle & WS_EX_NOACTIVATE)) continue;
    return h;
  }
  return nullptr;
}

// The caret ---------------------------------------------------------------------------

void InvertCaret() {
  Caret& c = State().caret;
  if (!c.hwnd || !IsWindow(c.hwnd)) return;
  HDC dc = GetDC(c.hwnd);
  if (!dc) return;
  RECT r{c.pos.x, c.pos.y, c.pos.x + c.width, c.pos.y + c.height};
  PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, DSTINVERT);
  ReleaseDC(c.hwnd, dc);
  c.drawn = !c.drawn;
}

void EraseCaret() {
  if (State().caret.drawn) InvertCaret();
}

void DrawCaretIfShown() {
  Caret& c = State().caret;
  if (c.hwnd && c.hideCount == 0 && !c.drawn) InvertCaret();
}

// Mouse ----------------------------------------------------------------------------------

UINT ButtonMessage(UINT button, bool down, bool nonClient) {
  UINT base = button == VK_RBUTTON ? WM_RBUTTONDOWN : button == VK_MBUTTON ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
  UINT m = down ? base : base + 1;
  return nonClient ? m - WM_LBUTTONDOWN + WM_NCLBUTTONDOWN : m;
}

void EndTracking(HWND newTarget, bool newNonClient) {
  InputState& s = State();
  if (!s.trackWindow) return;
  if (newTarget == s.trackWindow && newNonClient == s.trackNonClient) return;
  HWND h = s.trackWindow;
  bool nc = s.trackNonClient;
  s.trackWindow = nullptr;
  if (IsWindow(h)) PostMessage(h, nc ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

// The window under a screen point and the part of it, as the mouse sees
// them: capture first, then hit testing through transparent windows.
HWND MouseTarget(POINT pt, LRESULT* hit) {
  InputState& s = State();
  if (s.capture && IsWindow(s.capture)) {
    *hit = HTCLIENT;
    return s.capture;
  }
  HWND target = WindowFromPoint(pt);
  while (target) {
    *hit = SendMessage(target, WM_NCHITTEST, 0, PackScreen(pt));
    if (*hit != HTTRANSPARENT) break;
    target = (GetWindowLong(target, GWL_STYLE) & WS_CHILD) ? GetParent(target) : nullptr;
  }
  return target;
}

// Makes the message of a mouse event, with what Windows does on the way:
// hit testing, WM_MOUSEACTIVATE and activation, WM_SETCURSOR, double
// clicks. False when no message comes of it.
bool CookMouse(QueuedInput& q) {
  InputState& s = State();
  POINT pt = q.pt;
  if (q.kind == InputKind::Wheel) {
    HWND target = s.focus && IsWindow(s.focus) ? s.focus : (s.active && IsWindow(s.active) ? s.active : nullptr);
    if (!target) return false;
    q.msg = MSG{target, WM_MOUSEWHEEL,
                MAKEWPARAM(static_cast<WORD>(q.mouseKeys), static_cast<WORD>(static_cast<SHORT>(q.delta))),
                PackScreen(pt), q.time, pt};
    return true;
  }
  LRESULT hit = HTNOWHERE;
  HWND target = MouseTarget(pt, &hit);
  bool nonClient = hit != HTCLIENT;
  EndTracking(target, nonClient);
  if (!target) return false;
  UINT message = q.kind == InputKind::Move ? (nonClient ? WM_NCMOUSEMOVE : WM_MOUSEMOVE)
                                           : ButtonMessage(q.code, q.kind == InputKind::Down, nonClient);
  if (DisabledOnTheWay(target) || hit == HTERROR) {
    // A disabled window answers with the error cursor (and a beep on a
    // press); a press brings the window that holds the input forward.
    SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                MAKELPARAM(static_cast<WORD>(HTERROR), static_cast<WORD>(message)));
    if (q.kind == InputKind::Down && !s.capture && IsWindow(target) && !IsWindowEnabled(RootOf(target)))
      Activate(RootOf(target), WA_CLICKACTIVE, true);
    return false;
  }
  bool eat = false;
  if (q.kind == InputKind::Down && !s.capture) {
    HWND top = RootOf(target);
    if (top && top != s.active) {
      LRESULT ma = SendMessage(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                               MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(message)));
      // A window that never takes the activation (WS_EX_NOACTIVATE, or a
      // child window placed on the desktop) keeps the active one active.
      if ((ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT || ma == 0) && TakesClickActivation(top))
        Activate(top, WA_CLICKACTIVE, true);
      eat = ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT;
      if (!IsWindow(target)) return false;
    }
  }
  if (!s.capture)
    SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(message)));
  if (eat || !IsWindow(target)) return false;
  if (q.kind == InputKind::Down) {
    int cx = GetSystemMetrics(SM_CXDOUBLECLK), cy = GetSystemMetrics(SM_CYDOUBLECLK);
    bool second = s.lastDownMessage == message && s.lastDownWindow == target &&
                  q.time - s.lastDownTime <= GetDoubleClickTime() && std::abs(pt.x - s.lastDownPoint.x) <= cx / 2 &&
                  std::abs(pt.y - s.lastDownPoint.y) <= cy / 2;
    bool wants = nonClient || (GetClassLongPtr(target, GCL_STYLE) & CS_DBLCLKS);
    if (second && wants) {
      message += 2;  // ...BUTTONDOWN -> ...BUTTONDBLCLK
      s.lastDownMessage = 0;  // a third press starts afresh
    } else {
      s.lastDownMessage = message;
      s.lastDownWindow = target;
      s.lastDownTime = q.time;
      s.lastDownPoint = pt;
    }
  }
  if (nonClient) {
    q.msg = MSG{target, message, static_cast<WPARAM>(hit), PackScreen(pt), q.time, pt};
  } else {
    POINT c = pt;
    ScreenToClient(target, &c);
    q.msg = MSG{target, message, q.mouseKeys, PackScreen(c), q.time, pt};
  }
  return true;
}

void MouseEvent(InputKind kind, UINT button, POINT pt) {
  InputState& s = State();
  SetCursorPosition(pt);
  if (kind == InputKind::Down || kind == InputKind::Up) SetKeyWithSides(s.asyncKeys, button, kind == InputKind::Down);
  QueuedInput q;
  q.kind = kind;
  q.code = button;
  q.pt = pt;
  q.mouseKeys = MouseKeyFlags(s.asyncKeys);
  Enqueue(q);
}

// Keys ----------------------------------------------------------------------------------

struct KeyChar {
  UINT vk;
  char plain;
  char shifted;
};
constexpr KeyChar kPunctuation[] = {
    {VK_OEM_1, ';', ':'},  {VK_OEM_PLUS, '=', '+'},   {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
    {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'}, {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'}, {VK_OEM_6, ']', '}'},      {VK_OEM_7, '\'', '"'},    {VK_SPACE, ' ', ' '},
};
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

// The character a key gives with the modifiers of the key state; 0 for none.
char32_t CharacterOf(UINT vk, LPARAM lParam, const BYTE* keys) {
  if (vk == VK_PACKET) return static_cast<char32_t>((static_cast<uint64_t>(lParam) >> 32) & 0x1FFFFF);
  bool shift = keys[VK_SHIFT] & 0x80, ctrl = keys[VK_CONTROL] & 0x80, alt = keys[VK_MENU] & 0x80;
  bool caps = keys[VK_CAPITAL] & 0x01;
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl && !alt) return vk - 'A' + 1;  // Ctrl+A .. Ctrl+Z: control characters
    return (shift != caps) ? vk : vk - 'A' + 'a';
  }
  if (ctrl && !alt) {
    switch (vk) {
      case VK_RETURN: return '\n';
      case VK_BACK: return 0x7F;
      case VK_ESCAPE: return 0x1B;
      case VK_OEM_4: return 0x1B;
      case VK_OEM_5: return 0x1C;
      case VK_OEM_6: return 0x1D;
      default: return 0;
    }
  }
  if (vk >= '0' && vk <= '9') return shift ? kShiftedDigits[vk - '0'] : vk;
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return '0' + (vk - VK_NUMPAD0);
  switch (vk) {
    case VK_BACK: return 0x08;
    case VK_TAB: return 0x09;
    case VK_RETURN: return 0x0D;
    case VK_ESCAPE: return 0x1B;
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DECIMAL: return '.';
    case VK_DIVIDE: return '/';
    default: break;
  }
  for (const KeyChar& k : kPunctuation)
    if (k.vk == vk) return shift ? k.shifted : k.plain;
  return 0;
}

// The key and Shift that type an ASCII character on the layout; false for
// anything else.
bool KeyFor(char32_t c, UINT* vk, bool* shift) {
  *shift = false;
  if (c >= 'a' && c <= 'z') return *vk = c - 'a' + 'A', true;
  if (c >= 'A' && c <= 'Z') return *shift = true, *vk = c, true;
  if (c >= '0' && c <= '9') return *vk = c, true;
  for (int d = 0; d < 10; ++d)
    if (kShiftedDigits[d] == static_cast<char>(c)) return *shift = true, *vk = '0' + d, true;
  for (const KeyChar& k : kPunctuation) {
    if (k.plain == static_cast<char>(c) && c < 0x80) return *vk = k.vk, true;
    if (k.shifted == static_cast<char>(c) && c < 0x80) return *shift = true, *vk = k.vk, true;
  }
  if (c == '\r' || c == '\n') return *vk = VK_RETURN, true;
  if (c == '\t') return *vk = VK_TAB, true;
  if (c == '\b') return *vk = VK_BACK, true;
  return false;
}

UINT ScanCode(UINT vk) { return vk & 0xFF; }

void KeyEvent(UINT vk, bool down, char32_t packet) {
  InputState& s = State();
  vk &= 0xFF;
  bool wasDown = s.asyncKeys[vk] & 0x80;
  if (vk != VK_PACKET) SetKeyWithSides(s.asyncKeys, vk, down);
  // Key messages name the generic Shift, Ctrl and Alt keys; the right-hand
  // Ctrl and Alt say so with the extended-key bit.
  bool extended = vk == VK_RCONTROL || vk == VK_RMENU;
  UINT code = vk;
  if (vk == VK_LSHIFT || vk == VK_RSHIFT) code = VK_SHIFT;
  if (vk == VK_LCONTROL || vk == VK_RCONTROL) code = VK_CONTROL;
  if (vk == VK_LMENU || vk == VK_RMENU) code = VK_MENU;
  QueuedInput q;
  q.kind = InputKind::Key;
  q.code = code;
  q.down = down;
  q.pt = CursorPosition();
  q.alt = s.asyncKeys[VK_MENU] & 0x80;
  q.ctrl = s.asyncKeys[VK_CONTROL] & 0x80;
  uint64_t lp = 1 | (static_cast<uint64_t>(ScanCode(vk)) << 16);
  if (extended) lp |= 1u << 24;
  if (q.alt) lp |= 1u << 29;
  if (wasDown || !down) lp |= 1u << 30;
  if (!down) lp |= 1u << 31;
  if (vk == VK_PACKET) lp |= static_cast<uint64_t>(packet) << 32;
  q.keyData = static_cast<LPARAM>(lp);
  Enqueue(q);
}

// Keys go to the focus as it is when they are taken, else to the active
// window as system keys.
bool CookKey(QueuedInput& q) {
  InputState& s = State();
  HWND target = s.focus && IsWindow(s.focus) ? s.focus : (s.active && IsWindow(s.active) ? s.active : nullptr);
  if (!target || DisabledOnTheWay(target)) return false;
  bool sys = q.code == VK_F10 || q.code == VK_MENU || (q.alt && !q.ctrl) || !(s.focus && IsWindow(s.focus));
  UINT message = sys ? (q.down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (q.down ? WM_KEYDOWN : WM_KEYUP);
  q.msg = MSG{target, message, q.code, q.keyData, q.time, q.pt};
  return true;
}

}  // namespace

// The layer's entries ------------------------------------------------------------------

namespace user {

bool MatchesFilter(HWND filter, HWND hwnd) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return hwnd == nullptr;
  return hwnd == filter || IsChild(filter, hwnd);
}

UINT PendingInputStatus() {
  UINT bits = 0;
  if (GetCurrentThreadId() == UserInterfaceThreadId())
    for (const QueuedInput& q : State().queue)
      bits |= q.kind == InputKind::Key ? QS_KEY : q.kind == InputKind::Move ? QS_MOUSEMOVE : QS_MOUSEBUTTON;
  if (PaintPending()) bits |= QS_PAINT;
  return bits;
}

bool NextInputMessage(HWND filter, UINT min, UINT max, bool remove, MSG* out) {
  InputState& s = State();
  // Input belongs to the thread that runs the user interface.
  if (GetCurrentThreadId() != UserInterfaceThreadId()) return false;
  for (auto it = s.queue.begin(); it != s.queue.end();) {
    // Asked again from inside the making of this very message (a handler of
    // WM_SETCURSOR peeking, say): nothing is ready yet.
    if (it->cooking) return false;
    if (!it->cooked) {
      it->cooking = true;
      bool made = it->kind == InputKind::Key ? CookKey(*it) : CookMouse(*it);
      it->cooking = false;
      it->cooked = true;
      if (!made) {
        it = s.queue.erase(it);
        continue;
      }
    }
    if (!IsWindow(it->msg.hwnd)) {  // gone since the message was made
      it = s.queue.erase(it);
      continue;
    }
    if (!InFilterRange(it->msg.message, min, max) || !MatchesFilter(filter, it->msg.hwnd)) {
      ++it;
      continue;
    }
    *out = it->msg;
    if (remove) {
      s.queue.erase(it);
      SyncKeysWith(*out);
    }
    return true;
  }
  return false;
}

bool DefInputMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  InputState& s = State();
  bool child = GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD;
  HWND parent = child ? GetParent(hwnd) : nullptr;
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam) && !s.suppressDefaultFocus) SetFocus(hwnd);
      *result = 0;
      return true;
    case WM_MOUSEACTIVATE:
      if (parent) {
        LRESULT r = SendMessage(parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (r) {
          *result = r;
          return true;
        }
      }
      *result = MA_ACTIVATE;
      return true;
    case WM_SETCURSOR: {
      if (parent && SendMessage(parent, WM_SETCURSOR, wParam, lParam)) {
        *result = TRUE;
        return true;
      }
      auto hit = static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(lParam)));
      WORD mouse = HIWORD(static_cast<uintptr_t>(lParam));
      const char* shape = IDC_ARROW;
      switch (hit) {
        case HTERROR:
          if (mouse == WM_LBUTTONDOWN || mouse == WM_RBUTTONDOWN || mouse == WM_MBUTTONDOWN ||
              mouse == WM_NCLBUTTONDOWN || mouse == WM_NCRBUTTONDOWN)
            MessageBeep(0);
          break;
        case HTCLIENT: {
          auto own = reinterpret_cast<HCURSOR>(GetClassLongPtr(hwnd, GCLP_HCURSOR));
          if (!own) {
            *result = FALSE;
            return true;
          }
          SetCursor(own);
          *result = TRUE;
          return true;
        }
        case HTLEFT:
        case HTRIGHT: shape = IDC_SIZEWE; break;
        case HTTOP:
        case HTBOTTOM: shape = IDC_SIZENS; break;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT: shape = IDC_SIZENWSE; break;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT: shape = IDC_SIZENESW; break;
        default: break;
      }
      SetCursor(LoadCursor(nullptr, shape));
      *result = TRUE;
      return true;
    }
    case WM_CANCELMODE:
      if (s.capture == hwnd) ReleaseCapture();
      *result = 0;
      return true;
    case WM_RBUTTONUP: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &p);
      SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), PackScreen(p));
      *result = 0;
      return true;
    }
    case WM_NCRBUTTONUP:
      SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
      *result = 0;
      return true;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
      // Up the parent chain until someone takes it.
      *result = parent ? SendMessage(parent, msg, wParam, lParam) : 0;
      return true;
    case WM_KEYUP:
      if (wParam == VK_APPS) SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
      *result = 0;
      return true;
    case WM_SYSKEYDOWN:
      if (wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0)
        SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
      else if (wParam == VK_F4 && (lParam & (1 << 29)) && !child)
        SendMessage(hwnd, WM_SYSCOMMAND, 0xF060 /* SC_CLOSE */, 0);
      *result = 0;
      return true;
    default: return false;
  }
}

void InputWindowDestroying(HWND hwnd) {
  InputState& s = State();
  if (s.caret.hwnd && InSubtree(hwnd, s.caret.hwnd)) {
    s.caret = Caret{};
  }
  if (InSubtree(hwnd, s.capture)) s.capture = nullptr;
  if (InSubtree(hwnd, s.trackWindow)) s.trackWindow = nullptr;
  if (InSubtree(hwnd, s.lastDownWindow)) s.lastDownMessage = 0, s.lastDownWindow = nullptr;
  if (InSubtree(hwnd, s.focus)) s.focus = nullptr;
  if (s.active == hwnd) {
    HWND next = NextToActivate(hwnd);
    // The window is on its way out: it gets no deactivation messages.
    s.active = nullptr;
    if (next) {
      Activate(next, WA_ACTIVE, true);
    } else {
      SendToThreadTopLevels(WM_ACTIVATEAPP, FALSE, 0);
    }
  }
}

void InputWindowDisabled(HWND hwnd) {
  InputState& s = State();
  if (InSubtree(hwnd, s.focus)) SetFocus(nullptr);
  if (InSubtree(hwnd, s.capture)) ReleaseCapture();
}

void InputWindowPosChanged(HWND hwnd, UINT swpFlags) {
  if (!(swpFlags & SWP_HIDEWINDOW)) return;
  InputState& s = State();
  if (s.active == hwnd) {
    Activate(NextToActivate(hwnd), WA_ACTIVE, true);
  } else if (s.focus && InSubtree(hwnd, s.focus) && s.focus != RootOf(hwnd)) {
    HWND parent = GetParent(hwnd);
    SetFocus(parent && (GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD) ? parent : nullptr);
  }
}

void ActivateShownWindow(HWND hwnd) {
  Window* w = Lookup(hwnd);
  if (!w || (w->exStyle & WS_EX_NOACTIVATE) || w->IsChild()) return;
  Activate(hwnd, WA_ACTIVE, true, false);
}

void HideCaretForPaint(HWND hwnd) {
  if (State().caret.hwnd == hwnd) EraseCaret();
}

void ShowCaretAfterPaint(HWND hwnd) {
  if (State().caret.hwnd == hwnd) DrawCaretIfShown();
}

}  // namespace user

// Focus, activation, capture --------------------------------------------------------

HWND SetFocus(HWND hwnd) {
  InputState& s = State();
  HWND old = s.focus && IsWindow(s.focus) ? s.focus : nullptr;
  if (hwnd) {
    if (!IsWindow(hwnd)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    if (ThreadOf(hwnd) != GetCurrentThreadId()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return nullptr;
    }
    if (DisabledOnTheWay(hwnd)) return nullptr;
    HWND top = RootOf(hwnd);
    if (top != s.active) {
      Activate(top, WA_ACTIVE, false);
      old = s.focus && IsWindow(s.focus) ? s.focus : nullptr;
      if (!IsWindow(hwnd)) return nullptr;
    }
  }
  if (old == hwnd) return old;
  s.focus = hwnd;
  if (old) SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  // The handler of WM_KILLFOCUS may have moved the focus on already.
  if (hwnd && s.focus == hwnd && IsWindow(hwnd)) SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() {
  HWND f = State().focus;
  return f && IsWindow(f) && ThreadOf(f) == GetCurrentThreadId() ? f : nullptr;
}

HWND SetActiveWindow(HWND hwnd) {
  if (hwnd) {
    if (!IsWindow(hwnd)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    hwnd = RootOf(hwnd);
  }
  return Activate(hwnd, WA_ACTIVE, true);
}

HWND GetActiveWindow() {
  HWND a = State().active;
  return a && IsWindow(a) ? a : nullptr;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

BOOL SetForegroundWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  SetActiveWindow(hwnd);
  return TRUE;
}

HWND SetCapture(HWND hwnd) {
  InputState& s = State();
  HWND old = s.capture && IsWindow(s.capture) ? s.capture : nullptr;
  if (hwnd && !IsWindow(hwnd)) return old;
  s.capture = hwnd;
  if (old && old != hwnd) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  InputState& s = State();
  HWND old = s.capture;
  s.capture = nullptr;
  if (old && IsWindow(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() {
  HWND c = State().capture;
  return c && IsWindow(c) ? c : nullptr;
}

// Keys --------------------------------------------------------------------------------

SHORT GetKeyState(int vk) {
  BYTE b = State().syncKeys[vk & 0xFF];
  return static_cast<SHORT>(((b & 0x80) ? 0xFF80 : 0) | (b & 0x01));
}

SHORT GetAsyncKeyState(int vk) { return (State().asyncKeys[vk & 0xFF] & 0x80) ? static_cast<SHORT>(0x8000) : 0; }

BOOL GetKeyboardState(BYTE* state256) {
  if (!state256) return FALSE;
  std::memcpy(state256, State().syncKeys, 256);
  return TRUE;
}

BOOL SetKeyboardState(const BYTE* state256) {
  if (!state256) return FALSE;
  std::memcpy(State().syncKeys, state256, 256);
  return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  char32_t c = CharacterOf(static_cast<UINT>(msg->wParam & 0xFF), msg->lParam, State().syncKeys);
  if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return FALSE;
  UINT charMessage = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  return PostMessage(msg->hwnd, charMessage, static_cast<WPARAM>(c), msg->lParam & 0xFFFFFFFF);
}

// The cursor ------------------------------------------------------------------------------

BOOL GetCursorPos(POINT* pt) {
  if (!pt) return FALSE;
  *pt = CursorPosition();
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  SIZE screen = GetScreenSize();
  SetCursorPosition({std::clamp(x, 0, std::max(0, static_cast<int>(screen.cx) - 1)),
                     std::clamp(y, 0, std::max(0, static_cast<int>(screen.cy) - 1))});
  return TRUE;
}

HCURSOR LoadCursor(HINSTANCE instance, const char* name) {
  if (!name) return nullptr;
  if (!instance) {
    if (!IsIntResource(name)) return nullptr;
    for (const SystemCursor& c : kSystemCursors)
      if (c.id == reinterpret_cast<uintptr_t>(name)) return CursorByName(c.name);
    return nullptr;
  }
  if (IsIntResource(name)) return CursorByName("#" + std::to_string(reinterpret_cast<uintptr_t>(name)));
  return *name ? CursorByName(name) : nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR old = State().cursor;
  State().cursor = cursor;
  return old;
}

HCURSOR GetCursor() { return State().cursor; }

int ShowCursor(BOOL show) { return show ? ++State().cursorShowCount : --State().cursorShowCount; }

std::string CursorName(HCURSOR cursor) {
  CursorTable& t = Cursors();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.names.find(reinterpret_cast<uintptr_t>(cursor));
  return it == t.names.end() ? std::string() : it->second;
}

namespace {

HCURSOR AddCreatedCursor(CursorImage image) {
  CursorTable& t = Cursors();
  std::lock_guard<std::mutex> g(t.lock);
  auto h = reinterpret_cast<HCURSOR>(t.next);
  t.next += 4;
  t.created[reinterpret_cast<uintptr_t>(h)] = std::move(image);
  return h;
}

bool PlaneBit(const BYTE* plane, int rowBytes, int x, int y) {
  return (plane[y * rowBytes + x / 8] >> (7 - x % 8)) & 1;
}

uint32_t MaskedPixel(bool andBit, uint32_t xorColour) {
  if (!andBit) return 0xFF000000 | xorColour;
  // AND 1 over a coloured XOR pixel inverts the screen there; black is the
  // nearest a colour cursor can show.
  return (xorColour & 0xFFFFFF) ? 0xFF000000 : 0;
}

// A bitmap's pixels as 32-bit rows top-down (monochrome set bits white).
bool ReadBitmap(HBITMAP bitmap, int* width, int* height, std::vector<uint32_t>* pixels) {
  BITMAP bm;
  if (!bitmap || !GetObject(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
  *width = bm.bmWidth;
  *height = bm.bmHeight;
  BITMAPINFO info{};
  info.bmiHeader.biWidth = bm.bmWidth;
  info.bmiHeader.biHeight = -bm.bmHeight;
  info.bmiHeader.biBitCount = 32;
  pixels->assign(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight), 0);
  HDC dc = CreateCompatibleDC(nullptr);
  int lines = GetDIBits(dc, bitmap, 0, static_cast<UINT>(bm.bmHeight), pixels->data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  return lines == bm.bmHeight;
}

}  // namespace

HCURSOR CreateCursor(HINSTANCE, int xHotSpot, int yHotSpot, int width, int height, const void* andPlane,
                     const void* xorPlane) {
  if (width <= 0 || height <= 0 || !andPlane || !xorPlane) return nullptr;
  const int rowBytes = (width + 15) / 16 * 2;
  auto* andBits = static_cast<const BYTE*>(andPlane);
  auto* xorBits = static_cast<const BYTE*>(xorPlane);
  CursorImage image;
  image.width = width;
  image.height = height;
  image.xHotspot = std::clamp(xHotSpot, 0, width - 1);
  image.yHotspot = std::clamp(yHotSpot, 0, height - 1);
  image.argb.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.argb[static_cast<size_t>(y * width + x)] =
          MaskedPixel(PlaneBit(andBits, rowBytes, x, y), PlaneBit(xorBits, rowBytes, x, y) ? 0xFFFFFF : 0);
  return AddCreatedCursor(std::move(image));
}

HICON CreateIconIndirect(const ICONINFO* info) {
  if (!info) return nullptr;
  int maskWidth = 0, maskHeight = 0;
  std::vector<uint32_t> mask;
  if (!ReadBitmap(info->hbmMask, &maskWidth, &maskHeight, &mask)) return nullptr;
  CursorImage image;
  std::vector<uint32_t> colour;
  if (info->hbmColor) {
    if (!ReadBitmap(info->hbmColor, &image.width, &image.height, &colour)) return nullptr;
  } else {
    // A monochrome icon: the AND plane above the XOR plane in one bitmap.
    image.width = maskWidth;
    image.height = maskHeight / 2;
    if (image.height <= 0) return nullptr;
    colour.assign(mask.begin() + static_cast<std::ptrdiff_t>(image.width) * image.height, mask.end());
  }
  const bool hasAlpha =
      info->hbmColor && std::any_of(colour.begin(), colour.end(), [](uint32_t p) { return (p >> 24) != 0; });
  image.argb.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const size_t i = static_cast<size_t>(y * image.width + x);
      if (hasAlpha) {
        image.argb[i] = colour[i];
        continue;
      }
      bool andBit = x < maskWidth && y < maskHeight && (mask[static_cast<size_t>(y * maskWidth + x)] & 0xFFFFFF);
      image.argb[i] = MaskedPixel(andBit, colour[i] & 0xFFFFFF);
    }
  if (info->fIcon) {
    image.xHotspot = image.width / 2;
    image.yHotspot = image.height / 2;
  } else {
    image.xHotspot = std::clamp(static_cast<int>(info->xHotspot), 0, image.width - 1);
    image.yHotspot = std::clamp(static_cast<int>(info->yHotspot), 0, image.height - 1);
  }
  return AddCreatedCursor(std::move(image));
}

BOOL DestroyCursor(HCURSOR cursor) {
  CursorTable& t = Cursors();
  std::lock_guard<std::mutex> g(t.lock);
  const auto key = reinterpret_cast<uintptr_t>(cursor);
  if (t.created.erase(key)) {
    if (State().cursor == cursor) State().cursor = nullptr;
    return TRUE;
  }
  return t.names.count(key) ? TRUE : FALSE;
}

BOOL DestroyIcon(HICON icon) { return DestroyCursor(icon); }

bool GetCursorImage(HCURSOR cursor, CursorImage* image) {
  std::string name;
  {
    CursorTable& t = Cursors();
    std::lock_guard<std::mutex> g(t.lock);
    const auto key = reinterpret_cast<uintptr_t>(cursor);
    auto created = t.created.find(key);
    if (created != t.created.end()) {
      if (image) *image = created->second;
      return true;
    }
    auto named = t.names.find(key);
    if (named == t.names.end()) return false;
    name = named->second;
  }
  // The program's own cursor resource wins over a picture the layer draws.
  std::string_view file;
  if (::FindResource(name, "CURSOR", file) && DecodeCursorFile(file, image)) return true;
  return DrawnCursorImage(name, image);
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track) {
  InputState& s = State();
  if (!track || track->cbSize != sizeof(TRACKMOUSEEVENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (track->dwFlags & TME_QUERY) {
    track->dwFlags = s.trackWindow ? (TME_LEAVE | (s.trackNonClient ? TME_NONCLIENT : 0)) : 0;
    track->hwndTrack = s.trackWindow;
    return TRUE;
  }
  if (track->dwFlags & TME_HOVER) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!IsWindow(track->hwndTrack)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  bool nc = track->dwFlags & TME_NONCLIENT;
  if (track->dwFlags & TME_CANCEL) {
    if ((track->dwFlags & TME_LEAVE) && s.trackWindow == track->hwndTrack && s.trackNonClient == nc)
      s.trackWindow = nullptr;
    return TRUE;
  }
  if (!(track->dwFlags & TME_LEAVE)) return TRUE;
  LRESULT hit = HTNOWHERE;
  HWND under = MouseTarget(CursorPosition(), &hit);
  if (under != track->hwndTrack || (hit != HTCLIENT) != nc) {
    PostMessage(track->hwndTrack, nc ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
    if (s.trackWindow == track->hwndTrack) s.trackWindow = nullptr;
    return TRUE;
  }
  s.trackWindow = track->hwndTrack;
  s.trackNonClient = nc;
  return TRUE;
}

// The caret -----------------------------------------------------------------------------------

BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height) {
  if (!IsWindow(hwnd) || ThreadOf(hwnd) != GetCurrentThreadId()) return FALSE;
  DestroyCaret();
  BITMAP bm;
  if (bitmap && reinterpret_cast<uintptr_t>(bitmap) > 1 && GetObject(bitmap, sizeof bm, &bm)) {
    width = bm.bmWidth;
    height = bm.bmHeight;
  }
  Caret& c = State().caret;
  c = Caret{};
  c.hwnd = hwnd;
  c.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
  c.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
  return TRUE;
}

BOOL DestroyCaret() {
  Caret& c = State().caret;
  if (!c.hwnd) return FALSE;
  EraseCaret();
  c = Caret{};
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  Caret& c = State().caret;
  if (!c.hwnd) return FALSE;
  if (c.pos.x == x && c.pos.y == y) return TRUE;
  EraseCaret();
  c.pos = {x, y};
  DrawCaretIfShown();
  return TRUE;
}

BOOL GetCaretPos(POINT* pt) {
  if (!pt) return FALSE;
  *pt = State().caret.pos;
  return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
  Caret& c = State().caret;
  if (!c.hwnd || (hwnd && hwnd != c.hwnd)) return FALSE;
  if (c.hideCount > 0 && --c.hideCount == 0) DrawCaretIfShown();
  return TRUE;
}

BOOL HideCaret(HWND hwnd) {
  Caret& c = State().caret;
  if (!c.hwnd || (hwnd && hwnd != c.hwnd)) return FALSE;
  if (c.hideCount++ == 0) EraseCaret();
  return TRUE;
}

UINT GetCaretBlinkTime() { return State().caretBlinkTime; }

BOOL SetCaretBlinkTime(UINT milliseconds) {
  State().caretBlinkTime = milliseconds;
  return TRUE;
}

// Feeding input in --------------------------------------------------------------------------

void InjectMouseMove(POINT screen) { MouseEvent(InputKind::Move, 0, screen); }

void InjectMouseButton(UINT button, bool down, POINT screen) {
  if (button != VK_LBUTTON && button != VK_RBUTTON && button != VK_MBUTTON) return;
  MouseEvent(down ? InputKind::Down : InputKind::Up, button, screen);
}

void InjectMouseWheel(int delta, POINT screen) {
  SetCursorPosition(screen);
  QueuedInput q;
  q.kind = InputKind::Wheel;
  q.pt = screen;
  q.delta = delta;
  q.mouseKeys = MouseKeyFlags(State().asyncKeys);
  Enqueue(q);
}

void InjectKey(UINT vk, bool down) { KeyEvent(vk, down, 0); }

void InjectCharacter(char32_t codePoint) {
  KeyEvent(VK_PACKET, true, codePoint);
  KeyEvent(VK_PACKET, false, codePoint);
}

void InjectClick(POINT screen, UINT button) {
  InjectMouseMove(screen);
  InjectMouseButton(button, true, screen);
  InjectMouseButton(button, false, screen);
}

void InjectDoubleClick(POINT screen) {
  InjectClick(screen);
  InjectMouseButton(VK_LBUTTON, true, screen);
  InjectMouseButton(VK_LBUTTON, false, screen);
}

void InjectDrag(POINT from, POINT to, int steps) {
  steps = std::max(1, steps);
  InjectMouseMove(from);
  InjectMouseButton(VK_LBUTTON, true, from);
  for (int i = 1; i <= steps; ++i)
    InjectMouseMove({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
  InjectMouseButton(VK_LBUTTON, false, to);
}

void InjectKeyPress(UINT vk, bool shift, bool ctrl, bool alt) {
  if (shift) InjectKey(VK_SHIFT, true);
  if (ctrl) InjectKey(VK_CONTROL, true);
  if (alt) InjectKey(VK_MENU, true);
  InjectKey(vk, true);
  InjectKey(vk, false);
  if (alt) InjectKey(VK_MENU, false);
  if (ctrl) InjectKey(VK_CONTROL, false);
  if (shift) InjectKey(VK_SHIFT, false);
}

void InjectText(const std::string& utf8) {
  size_t i = 0;
  while (i < utf8.size()) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    if (i + n > utf8.size()) n = 1;
    char32_t cp = n == 1 ? c : (c & (0x7F >> n));
    for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    if (n == 1 && c >= 0x80) cp = 0xFFFD;
    i += n;
    UINT vk = 0;
    bool shift = false;
    if (KeyFor(cp, &vk, &shift))
      InjectKeyPress(vk, shift);
    else
      InjectCharacter(cp);
  }
}

void ResetInputState() {
  InputState& s = State();
  s.queue.clear();
  s.focus = s.active = s.capture = nullptr;
  std::memset(s.asyncKeys, 0, sizeof s.asyncKeys);
  std::memset(s.syncKeys, 0, sizeof s.syncKeys);
  s.lastDownMessage = 0;
  s.lastDownWindow = nullptr;
  s.trackWindow = nullptr;
  s.caret = Caret{};
  s.cursor = nullptr;
  s.cursorShowCount = 0;
  s.suppressDefaultFocus = false;
}

}  // namespace win
