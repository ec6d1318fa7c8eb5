// Inside of the window layer: window and class records, the thread queues,
// and the places where input, focus and painting attach. Only modules of the
// win layer include this.
//
// Locking: the window table and each queue's cross-thread part (posted
// messages, incoming sends, wake bits) are guarded; the window tree itself is
// touched only by the thread that owns the windows.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win/WinUser.h"

namespace win::wnd {

struct ThreadQueue;

struct WindowClass {
  std::string name;
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int clsExtra = 0;
  int wndExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON iconSm = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  std::string menuName;
  std::vector<uint8_t> extra;
  int windows = 0;
};

// The pixels of a top-level window (0x00RRGGBB rows, width * 4 bytes apart).
// generation changes whenever the buffer moves, so DCs attached to it know
// to attach again.
struct BackingSurface {
  std::vector<uint32_t> pixels;
  int width = 0;
  int height = 0;
  unsigned generation = 0;
};

struct Window {
  HWND handle = nullptr;
  WindowClass* cls = nullptr;
  std::shared_ptr<ThreadQueue> queue;  // null for the desktop and the message root
  DWORD threadId = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  Window* parent = nullptr;  // the desktop for top-level windows
  Window* owner = nullptr;   // top-level windows only
  std::vector<Window*> children;  // z-order, topmost first
  RECT rect;    // window rectangle in the parent's client coordinates
  RECT client;  // client rectangle, same coordinates
  RECT normalRect;  // placement before minimizing or maximizing
  WNDPROC proc = nullptr;
  LONG_PTR userData = 0;
  LONG_PTR id = 0;
  HINSTANCE instance = nullptr;
  std::vector<uint8_t> extra;
  std::string text;
  HRGN region = nullptr;  // window coordinates; owned
  bool destroying = false;
  std::unique_ptr<BackingSurface> surface;  // top-level windows only

  bool IsChild() const { return (style & WS_CHILD) != 0; }
};

// The window of a handle, or null. Owner thread only (the object may go away
// on that thread at any time).
Window* Lookup(HWND hwnd);
// The queue of a window's thread, or null for an invalid handle; any thread.
std::shared_ptr<ThreadQueue> QueueOfWindow(HWND hwnd, DWORD* threadId = nullptr);
Window* Desktop();
Window* MessageRoot();
bool IsTopLevel(const Window* w);
Window* TopLevelOf(Window* w);
// Origins and rectangles on the screen.
POINT ClientOrigin(const Window* w);
RECT ScreenWindowRect(const Window* w);
RECT ScreenClientRect(const Window* w);
// The client rectangle Windows' default non-client area leaves inside a
// window rectangle of these styles.
RECT DefaultClientRect(DWORD style, DWORD exStyle, const RECT& windowRect);
// Top-level windows, topmost first (the message root's children excluded).
std::vector<Window*> TopLevelWindows();

// The atom table that class names and registered messages share: the same
// number for the same name, compared without regard to case.
ATOM GlobalAtom(const std::string& name);

// The queue of the calling thread (made on first use).
std::shared_ptr<ThreadQueue> CurrentQueue();
// Called while a window is destroyed: its timers and queued messages go.
void ForgetWindowMessages(HWND hwnd);
// Calls the window procedure the way SendMessage does on the same thread
// (WH_CALLWNDPROC hooks first).
LRESULT CallWithHooks(Window* w, UINT msg, WPARAM wParam, LPARAM lParam);

// Where the layers above attach (input, focus and activation, painting). Each
// is optional.
struct Extensions {
  // After a window's position, size, z-order, visibility or frame changed;
  // oldScreenRect is the window rectangle before (update regions).
  void (*windowPosChanged)(HWND hwnd, const RECT& oldScreenRect, UINT swpFlags) = nullptr;
  // A top-level window shown or raised without SWP_NOACTIVATE.
  void (*activate)(HWND hwnd) = nullptr;
  // Before WM_DESTROY (focus, capture and activation let go of the window).
  void (*windowDestroying)(HWND hwnd) = nullptr;
  // A window was disabled: the focus and the capture leave it and its children.
  void (*windowDisabled)(HWND hwnd) = nullptr;
  // A WM_PAINT for a window of the calling thread that needs painting and
  // passes the filter; removes nothing (painting validates).
  bool (*nextPaintMessage)(HWND filter, UINT filterMin, UINT filterMax, MSG* out) = nullptr;
  // DefWindowProc for the messages the core leaves alone (painting, the
  // non-client area, input); answers true with *result set when it handled one.
  bool (*defWindowProc)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) = nullptr;
  // The next mouse or keyboard message of the calling thread's input queue
  // that passes the filter, taken out when remove is true. Input comes after
  // posted messages and before WM_PAINT, as in Windows, so the WM_CHAR that
  // TranslateMessage posts is handled before the next key.
  bool (*nextInputMessage)(HWND filter, UINT filterMin, UINT filterMax, bool remove, MSG* out) = nullptr;
  // QS_* bits of what the layers above hold for the calling thread now
  // (QS_MOUSE, QS_KEY, QS_PAINT), for GetQueueStatus and for waits that ask
  // for input already there (MWMO_INPUTAVAILABLE).
  UINT (*pendingStatus)() = nullptr;
  // After WM_SYSCOLORCHANGE went out (the windows repaint in the new colours).
  void (*sysColorsChanged)() = nullptr;
  // The menu bar of a top-level window (the menu module): its height at this
  // window width (0 without a bar), drawing it through a window DC, a press
  // on it (screen point), Alt+letter or F10 (ch 0) for it, and a window going.
  int (*menuBarHeight)(HWND hwnd, int width) = nullptr;
  void (*paintMenuBar)(HWND hwnd, HDC windowDc) = nullptr;
  void (*menuBarPress)(HWND hwnd, POINT screen) = nullptr;
  void (*menuBarKey)(HWND hwnd, WPARAM ch) = nullptr;
  void (*menuWindowGoing)(HWND hwnd) = nullptr;
  // Turns what arrived outside the queue (a termination signal) into posted
  // messages; called on the user-interface thread before it decides to sleep.
  void (*deliverOutsideNotices)() = nullptr;
  // Whether the Alt key just released went down and up with no other key or
  // mouse button pressed in between (then it selects the menu bar).
  bool (*menuAltReleasedAlone)() = nullptr;
  // Drops the window's system menu at a screen point and carries out the
  // command chosen from it.
  void (*systemMenu)(HWND hwnd, POINT screen) = nullptr;
};
Extensions& LayerExtensions();

// The descriptor that wakes the calling thread's queue from its wait; a
// signal handler may write an 8-byte count to it.
int QueueWakeDescriptor();

// Tells the calling thread's queue that input of these QS_* kinds arrived,
// so that GetMessage, WaitMessage and MsgWaitForMultipleObjects waiting for
// it return (input kept by the layers above calls this when it queues some).
void NoteNewInput(UINT qsBits);

// Where the cursor is, for the pt of posted messages (the input layer keeps
// it up to date).
POINT CursorPosition();
void SetCursorPosition(POINT pt);

// Which thread runs the user interface: the first that created a window. The
// display backend's events are pumped there.
DWORD UserInterfaceThreadId();

// Surfaces of top-level windows.
BackingSurface* SurfaceOf(Window* topLevel);

}  // namespace win::wnd
