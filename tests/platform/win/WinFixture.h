// Windows for tests: a class whose procedure writes the messages it gets to a
// log as "name MESSAGE" lines (the name comes in CreateWindowEx's last
// argument), and a fixture that gives every test a fresh screen and queue.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/win/GdiSurface.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"

namespace wintest {

inline std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

inline std::map<win::HWND, std::string>& Names() {
  static std::map<win::HWND, std::string> names;
  return names;
}

inline const char* MessageName(win::UINT msg) {
  switch (msg) {
    case win::WM_CREATE: return "WM_CREATE";
    case win::WM_DESTROY: return "WM_DESTROY";
    case win::WM_MOVE: return "WM_MOVE";
    case win::WM_SIZE: return "WM_SIZE";
    case win::WM_ENABLE: return "WM_ENABLE";
    case win::WM_SETTEXT: return "WM_SETTEXT";
    case win::WM_CLOSE: return "WM_CLOSE";
    case win::WM_SHOWWINDOW: return "WM_SHOWWINDOW";
    case win::WM_CANCELMODE: return "WM_CANCELMODE";
    case win::WM_GETMINMAXINFO: return "WM_GETMINMAXINFO";
    case win::WM_WINDOWPOSCHANGING: return "WM_WINDOWPOSCHANGING";
    case win::WM_WINDOWPOSCHANGED: return "WM_WINDOWPOSCHANGED";
    case win::WM_STYLECHANGING: return "WM_STYLECHANGING";
    case win::WM_STYLECHANGED: return "WM_STYLECHANGED";
    case win::WM_NCCREATE: return "WM_NCCREATE";
    case win::WM_NCDESTROY: return "WM_NCDESTROY";
    case win::WM_NCCALCSIZE: return "WM_NCCALCSIZE";
    case win::WM_PARENTNOTIFY: return "WM_PARENTNOTIFY";
    case win::WM_TIMER: return "WM_TIMER";
    case win::WM_SYSCOLORCHANGE: return "WM_SYSCOLORCHANGE";
    default: return nullptr;
  }
}

// Answers set by tests: message -> result (instead of DefWindowProc).
inline std::map<std::pair<std::string, win::UINT>, win::LRESULT>& Answers() {
  static std::map<std::pair<std::string, win::UINT>, win::LRESULT> answers;
  return answers;
}

// The name of the window being created, for the messages that come before
// WM_NCCREATE.
inline std::string& PendingName() {
  static std::string name;
  return name;
}

inline win::LRESULT LoggingProc(win::HWND hwnd, win::UINT msg, win::WPARAM wParam, win::LPARAM lParam) {
  if (msg == win::WM_NCCREATE) {
    auto* cs = reinterpret_cast<win::CREATESTRUCT*>(lParam);
    Names()[hwnd] = cs->lpCreateParams ? static_cast<const char*>(cs->lpCreateParams) : "?";
  }
  auto known = Names().find(hwnd);
  const std::string name = known != Names().end() ? known->second : PendingName();
  if (const char* m = MessageName(msg)) Log().push_back(name + " " + m);
  if (msg >= win::WM_USER && msg < 0xC000) Log().push_back(name + " WM_USER+" + std::to_string(msg - win::WM_USER));
  auto it = Answers().find({name, msg});
  if (it != Answers().end()) return it->second;
  return win::DefWindowProc(hwnd, msg, wParam, lParam);
}

constexpr const char* kClass = "VxnTestWindow";

class WinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::WNDCLASSEX wc;
    if (!win::GetClassInfoEx(nullptr, kClass, &wc)) {
      wc.lpfnWndProc = LoggingProc;
      wc.lpszClassName = kClass;
      wc.cbWndExtra = 16;
      ASSERT_NE(win::RegisterClassEx(&wc), 0);
    }
    win::SetScreenSize(800, 600);
    Log().clear();
    Answers().clear();
  }

  void TearDown() override {
    std::vector<win::HWND> windows;
    win::EnumThreadWindows(
        win::GetCurrentThreadId(),
        [](win::HWND h, win::LPARAM l) {
          reinterpret_cast<std::vector<win::HWND>*>(l)->push_back(h);
          return win::TRUE;
        },
        reinterpret_cast<win::LPARAM>(&windows));
    for (win::HWND h : windows)
      if (win::IsWindow(h)) win::DestroyWindow(h);
    win::MSG m;
    while (win::PeekMessage(&m, nullptr, 0, 0, win::PM_REMOVE)) {
    }
    Names().clear();
    Answers().clear();
  }

  static win::HWND Make(const char* name, win::DWORD style, int x, int y, int w, int h, win::HWND parent = nullptr,
                        win::DWORD exStyle = 0, win::UINT_PTR id = 0) {
    PendingName() = name;
    return win::CreateWindowEx(exStyle, kClass, name, style, x, y, w, h, parent, reinterpret_cast<win::HMENU>(id),
                               nullptr, const_cast<char*>(name));
  }

  // The log so far, which starts afresh.
  static std::vector<std::string> Taken() {
    std::vector<std::string> out;
    out.swap(Log());
    return out;
  }

  static void Pump() {
    win::MSG m;
    while (win::PeekMessage(&m, nullptr, 0, 0, win::PM_REMOVE)) win::DispatchMessage(&m);
  }
};

}  // namespace wintest
