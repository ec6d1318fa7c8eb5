// Keyboard and mouse: focus, activation and capture, key states, the cursor,
// mouse tracking, the caret, TranslateMessage, and the entry through which
// the display (or a test) feeds input in.
//
// Input waits in a queue of the user-interface thread apart from posted
// messages and is handed out after them, as in Windows: the message that
// TranslateMessage posts comes before the next key. Which window an event
// goes to is decided when it is taken from the queue, so a capture or focus
// set while handling earlier input counts. GetKeyState answers for the input
// message last taken; GetAsyncKeyState for the keys as they are now.
// Everything here runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/WinUser.h"

namespace win {

// Messages ------------------------------------------------------------------------
constexpr UINT WM_CONTEXTMENU = 0x007B;
constexpr UINT WM_DEADCHAR = 0x0103;
constexpr UINT WM_SYSDEADCHAR = 0x0107;
constexpr UINT WM_CAPTURECHANGED = 0x0215;
constexpr UINT WM_MOUSEHOVER = 0x02A1;
constexpr UINT WM_NCMOUSELEAVE = 0x02A2;

// WM_ACTIVATE.
constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;
constexpr WORD WA_CLICKACTIVE = 2;

// WM_MOUSEACTIVATE answers.
constexpr LRESULT MA_ACTIVATE = 1;
constexpr LRESULT MA_ACTIVATEANDEAT = 2;
constexpr LRESULT MA_NOACTIVATE = 3;
constexpr LRESULT MA_NOACTIVATEANDEAT = 4;

// Key flags of mouse messages.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

constexpr int WHEEL_DELTA = 120;
constexpr SHORT GET_WHEEL_DELTA_WPARAM(WPARAM w) { return static_cast<SHORT>(HIWORD(w)); }
constexpr WORD GET_KEYSTATE_WPARAM(WPARAM w) { return LOWORD(w); }

// Virtual keys ---------------------------------------------------------------------
constexpr UINT VK_LBUTTON = 0x01;
constexpr UINT VK_RBUTTON = 0x02;
constexpr UINT VK_CANCEL = 0x03;
constexpr UINT VK_MBUTTON = 0x04;
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_CLEAR = 0x0C;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_SHIFT = 0x10;
constexpr UINT VK_CONTROL = 0x11;
constexpr UINT VK_MENU = 0x12;
constexpr UINT VK_PAUSE = 0x13;
constexpr UINT VK_CAPITAL = 0x14;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_SELECT = 0x29;
constexpr UINT VK_PRINT = 0x2A;
constexpr UINT VK_EXECUTE = 0x2B;
constexpr UINT VK_SNAPSHOT = 0x2C;
constexpr UINT VK_INSERT = 0x2D;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_HELP = 0x2F;
// '0'..'9' and 'A'..'Z' are their ASCII codes.
constexpr UINT VK_LWIN = 0x5B;
constexpr UINT VK_RWIN = 0x5C;
constexpr UINT VK_APPS = 0x5D;
constexpr UINT VK_NUMPAD0 = 0x60;
constexpr UINT VK_NUMPAD9 = 0x69;
constexpr UINT VK_MULTIPLY = 0x6A;
constexpr UINT VK_ADD = 0x6B;
constexpr UINT VK_SEPARATOR = 0x6C;
constexpr UINT VK_SUBTRACT = 0x6D;
constexpr UINT VK_DECIMAL = 0x6E;
constexpr UINT VK_DIVIDE = 0x6F;
constexpr UINT VK_F1 = 0x70;
constexpr UINT VK_F2 = 0x71;
constexpr UINT VK_F3 = 0x72;
constexpr UINT VK_F4 = 0x73;
constexpr UINT VK_F5 = 0x74;
constexpr UINT VK_F6 = 0x75;
constexpr UINT VK_F7 = 0x76;
constexpr UINT VK_F8 = 0x77;
constexpr UINT VK_F9 = 0x78;
constexpr UINT VK_F10 = 0x79;
constexpr UINT VK_F11 = 0x7A;
constexpr UINT VK_F12 = 0x7B;
constexpr UINT VK_NUMLOCK = 0x90;
constexpr UINT VK_SCROLL = 0x91;
constexpr UINT VK_LSHIFT = 0xA0;
constexpr UINT VK_RSHIFT = 0xA1;
constexpr UINT VK_LCONTROL = 0xA2;
constexpr UINT VK_RCONTROL = 0xA3;
constexpr UINT VK_LMENU = 0xA4;
constexpr UINT VK_RMENU = 0xA5;
constexpr UINT VK_OEM_1 = 0xBA;       // ;:
constexpr UINT VK_OEM_PLUS = 0xBB;    // =+
constexpr UINT VK_OEM_COMMA = 0xBC;   // ,<
constexpr UINT VK_OEM_MINUS = 0xBD;   // -_
constexpr UINT VK_OEM_PERIOD = 0xBE;  // .>
constexpr UINT VK_OEM_2 = 0xBF;       // /?
constexpr UINT VK_OEM_3 = 0xC0;       // `~
constexpr UINT VK_OEM_4 = 0xDB;       // [{
constexpr UINT VK_OEM_5 = 0xDC;       // \|
constexpr UINT VK_OEM_6 = 0xDD;       // ]}
constexpr UINT VK_OEM_7 = 0xDE;       // '"
// A key that stands for one typed character. Its key messages carry the
// code point in bits 32..52 of lParam; TranslateMessage makes the WM_CHAR.
constexpr UINT VK_PACKET = 0xE7;

// Focus, activation, capture ---------------------------------------------------------
// WM_KILLFOCUS to the old window, WM_SETFOCUS to the new; a window of an
// inactive top-level window activates that first. A window that is disabled,
// or has a disabled parent, takes no focus (0, nothing changes); disabling a
// window takes the focus and the capture from it and its children. Gives the
// old focus.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
// WM_NCACTIVATE and WM_ACTIVATE (WA_INACTIVE) to the old active window,
// WM_ACTIVATEAPP when the program gains or loses activation, then
// WM_NCACTIVATE and WM_ACTIVATE to the new one, whose default handling takes
// the focus. A disabled window is not activated: the window that holds the
// input while it is disabled (an enabled window it owns, else the topmost
// enabled one: a modal form) is, or nothing changes. Gives the old active
// window.
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND hwnd);
// The old capture window gets WM_CAPTURECHANGED with the new one.
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();

// Keys -----------------------------------------------------------------------------
// High bit: down; low bit: toggled (caps lock, num lock).
SHORT GetKeyState(int vk);
SHORT GetAsyncKeyState(int vk);
BOOL GetKeyboardState(BYTE* state256);
BOOL SetKeyboardState(const BYTE* state256);

// WM_KEYDOWN and WM_SYSKEYDOWN become WM_CHAR / WM_SYSCHAR with one Unicode
// code point (US layout for the keys; VK_PACKET for any character), posted
// so that it comes next. Gives whether a character was made.
BOOL TranslateMessage(const MSG* msg);

// The cursor -------------------------------------------------------------------------
#define VXN_IDC(id) reinterpret_cast<const char*>(static_cast<uintptr_t>(id))
inline const char* const IDC_ARROW = VXN_IDC(32512);
inline const char* const IDC_IBEAM = VXN_IDC(32513);
inline const char* const IDC_WAIT = VXN_IDC(32514);
inline const char* const IDC_CROSS = VXN_IDC(32515);
inline const char* const IDC_UPARROW = VXN_IDC(32516);
inline const char* const IDC_SIZENWSE = VXN_IDC(32642);
inline const char* const IDC_SIZENESW = VXN_IDC(32643);
inline const char* const IDC_SIZEWE = VXN_IDC(32644);
inline const char* const IDC_SIZENS = VXN_IDC(32645);
inline const char* const IDC_SIZEALL = VXN_IDC(32646);
inline const char* const IDC_NO = VXN_IDC(32648);
inline const char* const IDC_HAND = VXN_IDC(32649);
inline const char* const IDC_APPSTARTING = VXN_IDC(32650);
inline const char* const IDC_HELP = VXN_IDC(32651);
#undef VXN_IDC

BOOL GetCursorPos(POINT* pt);
// Moves the cursor without a mouse message (as Windows: the next input
// event reports it).
BOOL SetCursorPos(int x, int y);
// Without an instance: the system cursors IDC_*. With one: the program's own
// cursor of that name (or number), made on first load, the same handle
// afterwards. Null for an unknown system cursor.
HCURSOR LoadCursor(HINSTANCE instance, const char* name);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// The counter of ShowCursor; the cursor shows while it is 0 or more.
int ShowCursor(BOOL show);
// The name a cursor was loaded by: "IDC_ARROW", ..., or the program's name
// ("#2100" for a number); empty for an unknown handle. Display backends
// choose their shapes by it.
std::string CursorName(HCURSOR cursor);

struct ICONINFO {
  BOOL fIcon = FALSE;  // TRUE: the hot spot is the centre
  DWORD xHotspot = 0;
  DWORD yHotspot = 0;
  HBITMAP hbmMask = nullptr;   // without hbmColor: AND plane over XOR plane, twice the height
  HBITMAP hbmColor = nullptr;  // 32 bits; its alpha counts when any pixel has some
};
// Monochrome AND and XOR planes, rows padded to 16 bits, leftmost pixel in
// the high bit. AND 1 XOR 0 is see-through, AND 0 gives black (XOR 0) or
// white (XOR 1); the screen-inverting AND 1 XOR 1 shows as black, since a
// desktop colour cursor cannot invert.
HCURSOR CreateCursor(HINSTANCE instance, int xHotSpot, int yHotSpot, int width, int height, const void* andPlane,
                     const void* xorPlane);
// Copies the bitmaps; the caller keeps its own.
HICON CreateIconIndirect(const ICONINFO* info);
// Frees a created cursor; loaded ones are shared and stay.
BOOL DestroyCursor(HCURSOR cursor);
BOOL DestroyIcon(HICON icon);

// A cursor as the display shows it: straight-alpha ARGB, rows top-down.
struct CursorImage {
  int width = 0;
  int height = 0;
  int xHotspot = 0;
  int yHotspot = 0;
  std::vector<uint32_t> argb;
};
// The picture of a created cursor or of one the layer draws itself (the
// program's own shapes and the system shapes a desktop may lack); false for
// the shapes the display has by name (CursorName) and for unknown handles.
bool GetCursorImage(HCURSOR cursor, CursorImage* image);

// Mouse tracking ---------------------------------------------------------------------
constexpr DWORD TME_HOVER = 0x00000001;
constexpr DWORD TME_LEAVE = 0x00000002;
constexpr DWORD TME_NONCLIENT = 0x00000010;
constexpr DWORD TME_QUERY = 0x40000000;
constexpr DWORD TME_CANCEL = 0x80000000;
constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF;

struct TRACKMOUSEEVENT {
  DWORD cbSize = sizeof(TRACKMOUSEEVENT);
  DWORD dwFlags = 0;
  HWND hwndTrack = nullptr;
  DWORD dwHoverTime = HOVER_DEFAULT;
};
// TME_LEAVE (with TME_NONCLIENT for the frame): WM_MOUSELEAVE once the
// pointer leaves, at once when it is not there now. TME_HOVER is not
// supported (no WM_MOUSEHOVER is made) and fails.
BOOL TrackMouseEvent(TRACKMOUSEEVENT* track);

// The caret --------------------------------------------------------------------------
// One per thread, drawn by inverting its rectangle in the window; hidden
// while the window paints. It does not blink.
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(POINT* pt);
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT milliseconds);

// Feeding input in -------------------------------------------------------------------
// What a display backend (or a test) calls for each event of the mouse and
// keyboard. When taken from the queue, each becomes the message Windows
// would make, with hit testing, WM_SETCURSOR, WM_MOUSEACTIVATE and
// activation, double clicks by CS_DBLCLKS and WM_MOUSELEAVE on the way; keys
// go to the focus window.
void InjectMouseMove(POINT screen);
// button: VK_LBUTTON, VK_RBUTTON or VK_MBUTTON.
void InjectMouseButton(UINT button, bool down, POINT screen);
void InjectMouseWheel(int delta, POINT screen);
void InjectKey(UINT vk, bool down);
// One typed character without a key of its own (VK_PACKET down and up).
void InjectCharacter(char32_t codePoint);

// Convenience for tests: press and release at a point; two clicks within
// the double-click time; press, move in steps, release; keys with Shift /
// Ctrl held; text typed character by character (letters, digits and
// punctuation of the layout through their keys, everything else as
// VK_PACKET).
void InjectClick(POINT screen, UINT button = VK_LBUTTON);
void InjectDoubleClick(POINT screen);
void InjectDrag(POINT from, POINT to, int steps = 4);
void InjectKeyPress(UINT vk, bool shift = false, bool ctrl = false, bool alt = false);
void InjectText(const std::string& utf8);

// Lets go of focus, activation, capture, tracking, the caret, the cursor
// and every key (tests).
void ResetInputState();

}  // namespace win
