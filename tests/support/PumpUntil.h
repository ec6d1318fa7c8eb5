// Runs the calling thread's message loop until a condition holds or a time
// limit passes. Between looks it waits for the queue, so a posted or sent
// message wakes it at once; a condition that another thread changes without
// a message is looked at again after a short slice.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>

#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/WinUser.h"

inline bool PumpUntil(const std::function<bool()>& done, int milliseconds) {
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
  // A quit request is kept for the loop that runs after this one.
  bool quit = false;
  int exitCode = 0;
  auto finish = [&](bool result) {
    if (quit) win::PostQuitMessage(exitCode);
    return result;
  };
  for (;;) {
    win::MSG msg;
    while (win::PeekMessage(&msg, nullptr, 0, 0, win::PM_REMOVE)) {
      if (msg.message == win::WM_QUIT) {
        quit = true;
        exitCode = static_cast<int>(msg.wParam);
        continue;
      }
      win::TranslateMessage(&msg);
      win::DispatchMessage(&msg);
      if (done()) return finish(true);
    }
    if (done()) return finish(true);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) return finish(false);
    win::MsgWaitForMultipleObjects(0, nullptr, win::FALSE, static_cast<win::DWORD>(std::min<long long>(left, 10)),
                                   win::QS_ALLINPUT);
  }
}

// Runs the message loop for a while, whatever arrives.
inline void PumpFor(int milliseconds) { PumpUntil([] { return false; }, milliseconds); }
