#include "platform/win/DragDetect.h"

#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"

namespace win {

BOOL DragDetect(HWND hwnd, POINT pt) {
  if (!IsWindow(hwnd)) return FALSE;
  const int cx = GetSystemMetrics(SM_CXDRAG), cy = GetSystemMetrics(SM_CYDRAG);
  const RECT drag{pt.x - cx / 2, pt.y - cy / 2, pt.x - cx / 2 + cx, pt.y - cy / 2 + cy};
  SetCapture(hwnd);
  BOOL result = FALSE;
  MSG msg;
  while (GetCapture() == hwnd) {
    const BOOL got = GetMessage(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (msg.message == WM_MOUSEMOVE) {
      POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
      ClientToScreen(msg.hwnd, &p);
      if (p.x < drag.left || p.x >= drag.right || p.y < drag.top || p.y >= drag.bottom) {
        result = TRUE;
        break;
      }
      continue;
    }
    if (msg.message == WM_LBUTTONUP) break;
    if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) && msg.wParam == VK_ESCAPE) break;
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  if (GetCapture() == hwnd) ReleaseCapture();
  return result;
}

}  // namespace win
