// The BUTTON window class: push buttons, check boxes, radio buttons and
// owner-drawn buttons, their styles, messages, states and notifications.
#pragma once

#include "platform/win/WinTypes.h"
#include "platform/win/WinUser.h"

namespace win {
// Styles, messages, states and notifications of the BUTTON class.
constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_CHECKBOX = 0x2;
constexpr DWORD BS_AUTOCHECKBOX = 0x3;
constexpr DWORD BS_RADIOBUTTON = 0x4;
constexpr DWORD BS_3STATE = 0x5;
constexpr DWORD BS_AUTO3STATE = 0x6;
constexpr DWORD BS_GROUPBOX = 0x7;
constexpr DWORD BS_AUTORADIOBUTTON = 0x9;
constexpr DWORD BS_OWNERDRAW = 0xB;
constexpr DWORD BS_TYPEMASK = 0xF;
constexpr DWORD BS_LEFTTEXT = 0x20;
constexpr DWORD BS_MULTILINE = 0x2000;
constexpr DWORD BS_NOTIFY = 0x4000;

constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_GETSTATE = 0x00F2;
constexpr UINT BM_SETSTATE = 0x00F3;
constexpr UINT BM_SETSTYLE = 0x00F4;
constexpr UINT BM_CLICK = 0x00F5;

constexpr LRESULT BST_UNCHECKED = 0x0;
constexpr LRESULT BST_CHECKED = 0x1;
constexpr LRESULT BST_INDETERMINATE = 0x2;
constexpr LRESULT BST_PUSHED = 0x4;
constexpr LRESULT BST_FOCUS = 0x8;

constexpr WORD BN_CLICKED = 0;
constexpr WORD BN_DOUBLECLICKED = 5;

// The BUTTON class's window procedure; registers the class on first use.
LRESULT ButtonWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void RegisterButtonClass();
}  // namespace win
