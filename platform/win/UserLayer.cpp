#include <mutex>

#include "platform/win/Display.h"
#include "platform/win/Input.h"
#include "platform/win/UserPrivate.h"
#include "platform/win/Windows.h"

namespace win::user {

namespace {

void WindowPosChanged(HWND hwnd, const RECT& oldScreenRect, UINT swpFlags) {
  PaintWindowPosChanged(hwnd, oldScreenRect, swpFlags);
  InputWindowPosChanged(hwnd, swpFlags);
}

void WindowDestroying(HWND hwnd) {
  InputWindowDestroying(hwnd);
  PaintWindowDestroying(hwnd);
  ForgetFrame(hwnd);
}

bool DefaultProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  return DefNonClientMessage(hwnd, msg, wParam, lParam, result) || DefPaintMessage(hwnd, msg, wParam, lParam, result) ||
         DefInputMessage(hwnd, msg, wParam, lParam, result);
}


}  // namespace

void EnsureUserLayer() {
  static std::once_flag once;
  std::call_once(once, [] {
    wnd::Extensions& e = wnd::LayerExtensions();
    e.windowPosChanged = WindowPosChanged;
    e.activate = ActivateShownWindow;
    e.windowDestroying = WindowDestroying;
    e.windowDisabled = InputWindowDisabled;
    e.nextPaintMessage = NextPaintMessage;
    e.defWindowProc = DefaultProcedure;
    e.nextInputMessage = NextInputMessage;
    e.sysColorsChanged = RepaintEverything;
    e.pendingStatus = PendingInputStatus;
  });
}

ATOM RegisterControlClass(ATOM& atom, const char* name, WNDPROC proc, const char* cursor) {
  WNDCLASSEX wc;
  if (atom && GetClassInfoEx(nullptr, name, &wc)) return atom;
  wc = WNDCLASSEX{};
  wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.hCursor = LoadCursor(nullptr, cursor);
  wc.lpszClassName = name;
  atom = RegisterClassEx(&wc);
  return atom;
}

}  // namespace win::user
