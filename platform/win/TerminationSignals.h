// SIGTERM, SIGINT and SIGHUP as a message, so that a program asked to end
// by its session, a terminal or `kill` closes the way a person closes it.
#pragma once

#include "platform/win/WinUser.h"

namespace win {

// From now on each of the three signals posts msg (wParam: the signal's
// number) to hwnd, from the user-interface thread as soon as it looks at its
// queue or wakes from its wait. Called on that thread; calling again moves
// the messages to another window, and a null hwnd gives the signals their
// default action back.
void PostOnTerminationSignals(HWND hwnd, UINT msg);

}  // namespace win
