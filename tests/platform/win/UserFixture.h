// Windows for the input, painting and non-client tests: a procedure that logs
// the messages of those areas as "name MESSAGE wParam" lines, lets a test
// answer or paint per window, and a fixture that starts every test with no
// windows, no focus and a fresh clock.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/rtl/Clock.h"
#include "platform/win/Display.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/NonClient.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysParams.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"

namespace usertest {

using namespace win;

inline const char* UserMessageName(UINT msg) {
  switch (msg) {
    case WM_ACTIVATE: return "WM_ACTIVATE";
    case WM_ACTIVATEAPP: return "WM_ACTIVATEAPP";
    case WM_NCACTIVATE: return "WM_NCACTIVATE";
    case WM_SETFOCUS: return "WM_SETFOCUS";
    case WM_KILLFOCUS: return "WM_KILLFOCUS";
    case WM_CAPTURECHANGED: return "WM_CAPTURECHANGED";
    case WM_CANCELMODE: return "WM_CANCELMODE";
    case WM_MOUSEACTIVATE: return "WM_MOUSEACTIVATE";
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP: return "WM_RBUTTONUP";
    case WM_NCLBUTTONDOWN: return "WM_NCLBUTTONDOWN";
    case WM_NCLBUTTONUP: return "WM_NCLBUTTONUP";
    case WM_NCLBUTTONDBLCLK: return "WM_NCLBUTTONDBLCLK";
    case WM_MOUSEWHEEL: return "WM_MOUSEWHEEL";
    case WM_MOUSELEAVE: return "WM_MOUSELEAVE";
    case WM_CONTEXTMENU: return "WM_CONTEXTMENU";
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP: return "WM_SYSKEYUP";
    case WM_CHAR: return "WM_CHAR";
    case WM_SYSCHAR: return "WM_SYSCHAR";
    case WM_PAINT: return "WM_PAINT";
    case WM_NCPAINT: return "WM_NCPAINT";
    case WM_ERASEBKGND: return "WM_ERASEBKGND";
    case WM_SETTINGCHANGE: return "WM_SETTINGCHANGE";
    case WM_SYSCOLORCHANGE: return "WM_SYSCOLORCHANGE";
    case WM_THEMECHANGED: return "WM_THEMECHANGED";
    case WM_TIMECHANGE: return "WM_TIMECHANGE";
    case WM_FONTCHANGE: return "WM_FONTCHANGE";
    case WM_SYSCOMMAND: return "WM_SYSCOMMAND";
    case WM_CLOSE: return "WM_CLOSE";
    default: return nullptr;
  }
}

struct Registry {
  std::vector<std::string> log;
  std::map<HWND, std::string> names;
  std::string pending;
  // Which messages go to the log (none listed: every named one).
  std::vector<UINT> only;
  // A handler per window name and message; answers instead of DefWindowProc.
  std::map<std::pair<std::string, UINT>, std::function<LRESULT(HWND, WPARAM, LPARAM)>> handlers;
  // Colour a window fills its update region with on WM_PAINT (none: default).
  std::map<std::string, COLORREF> paintColours;
};

inline Registry& Reg() {
  static Registry r;
  return r;
}

inline std::string NameOf(HWND h) {
  auto it = Reg().names.find(h);
  return it != Reg().names.end() ? it->second : Reg().pending;
}

inline bool Logged(UINT msg) {
  if (!UserMessageName(msg)) return false;
  if (Reg().only.empty()) return true;
  for (UINT m : Reg().only)
    if (m == msg) return true;
  return false;
}

inline LRESULT UserProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
    Reg().names[hwnd] = static_cast<const char*>(cs->lpCreateParams);
  }
  std::string name = NameOf(hwnd);
  if (Logged(msg)) {
    std::string line = name + " " + UserMessageName(msg);
    switch (msg) {
      case WM_ACTIVATE: line += " " + std::to_string(LOWORD(wParam)); break;
      case WM_ACTIVATEAPP:
      case WM_NCACTIVATE:
      case WM_CHAR:
      case WM_SYSCHAR:
      case WM_SETTINGCHANGE: line += " " + std::to_string(wParam); break;
      case WM_SYSCOMMAND: line += " " + std::to_string(wParam & 0xFFF0); break;
      default: break;
    }
    Reg().log.push_back(line);
  }
  auto h = Reg().handlers.find({name, msg});
  if (h != Reg().handlers.end()) return h->second(hwnd, wParam, lParam);
  if (msg == WM_PAINT) {
    auto c = Reg().paintColours.find(name);
    if (c != Reg().paintColours.end()) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      HBRUSH b = CreateSolidBrush(c->second);
      RECT all{0, 0, 10000, 10000};
      FillRect(dc, &all, b);
      DeleteObject(b);
      EndPaint(hwnd, &ps);
      return 0;
    }
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

constexpr const char* kPlainClass = "VxnUserPlain";
constexpr const char* kDoubleClickClass = "VxnUserDblClk";

class UserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {kPlainClass, kDoubleClickClass}) {
      WNDCLASSEX wc;
      if (GetClassInfoEx(nullptr, name, &wc)) continue;
      wc = WNDCLASSEX{};
      wc.lpfnWndProc = UserProc;
      wc.lpszClassName = name;
      wc.style = name == kDoubleClickClass ? CS_DBLCLKS : 0;
      wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
      ASSERT_NE(RegisterClassEx(&wc), 0);
    }
    SetScreenSize(800, 600);
    ResetInputState();
    Reg() = Registry{};
  }

  void TearDown() override {
    std::vector<HWND> windows;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM l) {
          reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    for (HWND h : windows)
      if (IsWindow(h)) DestroyWindow(h);
    Pump();
    ResetInputState();
    ResetSystemParameters();
    ResetSysColors();
    Reg() = Registry{};
  }

  static HWND Make(const char* name, DWORD style, int x, int y, int w, int h, HWND parent = nullptr,
                   DWORD exStyle = 0, const char* cls = kPlainClass) {
    Reg().pending = name;
    return CreateWindowEx(exStyle, cls, name, style, x, y, w, h, parent, nullptr, nullptr, const_cast<char*>(name));
  }

  // Every message there is, translated and dispatched.
  static void Pump() {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
  }

  static std::vector<std::string> Taken() {
    std::vector<std::string> out;
    out.swap(Reg().log);
    return out;
  }

  static POINT ScreenOf(HWND h, int x, int y) {
    POINT p{x, y};
    ClientToScreen(h, &p);
    return p;
  }

  // A pixel of the screen as composed from the windows' surfaces.
  static COLORREF ScreenPixel(int x, int y) {
    int w = 0, h = 0;
    std::vector<uint32_t> s = ComposeScreen(&w, &h);
    uint32_t p = s[static_cast<size_t>(y) * w + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }

  TFakeClockScope clock_;
};

}  // namespace usertest
