// The message queue of each thread: posting, sending (also between threads,
// with time-outs), retrieving and dispatching, waiting on events and
// messages together, hooks and timers.
//
// Retrieval order is Windows': messages sent from other threads first (they
// are handled inside the call and never returned), then posted messages,
// WM_QUIT once the posted ones are gone, then WM_TIMER of due timers.
//
// Waiting anywhere in this module (GetMessage, WaitMessage, a send waiting
// for its answer, MsgWaitForMultipleObjects) handles messages sent from other
// threads, so two threads sending to each other never lock up.
#pragma once

#include <string>

#include "platform/rtl/SyncObjs.h"
#include "platform/win/WinUser.h"

namespace win {

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// The window's own thread calls the window procedure directly; another thread
// queues the message and waits for the answer.
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Gives nonzero with the answer in *result, or 0 on time-out
// (ERROR_TIMEOUT; the message is still handled later), for a window or
// thread that is gone, and when the handler on the other thread threw (the
// exception goes on in that thread). SMTO_BLOCK keeps the sender from
// handling messages sent to itself while it waits; SMTO_ABORTIFHUNG gives up
// at once on a thread that has not looked at its queue for 5 seconds;
// SMTO_NOTIMEOUTIFNOTHUNG waits past the time-out while the target is not
// hung. A target thread that ends always lets its senders go with 0, so
// SMTO_ERRORONEXIT changes nothing.
LRESULT SendMessageTimeout(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                           DWORD_PTR* result);
// Same thread: like SendMessage. Another thread: queued like a send, but the
// caller does not wait.
BOOL SendNotifyMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Whether the message being handled was sent from another thread.
BOOL InSendMessage();
// Answers the message sent from another thread now, letting the sender go on
// while the handler continues.
BOOL ReplyMessage(LRESULT result);

// hwnd: 0 for every message of the thread, (HWND)-1 for thread messages
// only, else that window and its descendants. A range of 0..0 takes every
// message. Gives 0 for WM_QUIT, -1 for an invalid window.
BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
LRESULT DispatchMessage(const MSG* msg);
// Waits until something new arrives in the queue.
BOOL WaitMessage();
// Time and cursor position (packed) of the last message retrieved.
LONG GetMessageTime();
DWORD GetMessagePos();
// High word: kinds in the queue now; low word: kinds new since last looked.
DWORD GetQueueStatus(UINT flags);

// Waits for events and for input of the kinds in wakeMask. Gives
// WAIT_OBJECT_0 + i for event i, WAIT_OBJECT_0 + count for input, or
// WAIT_TIMEOUT. Input counts when it arrived since the thread last looked at
// its queue, unless MWMO_INPUTAVAILABLE is given.
DWORD MsgWaitForMultipleObjects(DWORD count, TEvent* const* events, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask);
DWORD MsgWaitForMultipleObjectsEx(DWORD count, TEvent* const* events, DWORD milliseconds, DWORD wakeMask,
                                  DWORD flags);

// Numbers from 0xC000 up, equal for equal names (without regard to case).
UINT RegisterWindowMessage(const char* name);

// Hooks of a thread (0: the calling thread). WH_CALLWNDPROC sees sent
// messages before the window procedure; WH_GETMESSAGE sees (and may change)
// every message GetMessage or PeekMessage returns; WH_MOUSE sees mouse
// messages before they are returned and throws them away by answering
// nonzero. The newest hook is called first.
HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE instance, DWORD threadId);
BOOL UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

// Timers on the program's clock. A window's timer ids are its own; setting an
// id again restarts it. Without a window the id is made up (or an existing
// thread timer with that id is restarted). Intervals below
// USER_TIMER_MINIMUM are raised to it.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

}  // namespace win
