#include <mutex>

#include "Display.h"
#include "UserPrivate.h"

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
    e.nextPaintMessage = NextPaintMessage;
    e.defWindowProc = DefaultProcedure;
    e.nextInputMessage = NextInputMessage;
    e.sysColorsChanged = RepaintEverything;
    e.pendingStatus = PendingInputStatus;
  });
}

}  // namespace win::user
