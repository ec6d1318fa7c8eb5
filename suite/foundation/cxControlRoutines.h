// Small routines the suite's controls share: the drag-detect loop and its
// threshold, the monitor work area, key filters of numeric editors, popup
// menus that are either the class library's or any component with the
// popup-menu interface, coordinate mapping, and the suite's screen cursors.
#pragma once

#include <string>

#include "platform/forms/Controls.h"
#include "platform/forms/Menus.h"

// Screen cursor ids of the suite.
inline constexpr TCursor crcxDragCopy = 2100;
inline constexpr TCursor crcxFullScroll = 2101;
inline constexpr TCursor crcxHorScroll = 2102;
inline constexpr TCursor crcxVerScroll = 2103;
inline constexpr TCursor crcxUpScroll = 2104;
inline constexpr TCursor crcxRightScroll = 2105;
inline constexpr TCursor crcxDownScroll = 2106;
inline constexpr TCursor crcxLeftScroll = 2107;
inline constexpr TCursor crcxRemove = 2108;
inline constexpr TCursor crcxVertSize = 2109;
inline constexpr TCursor crcxHorzSize = 2110;
inline constexpr TCursor crcxMultiDrag = 2111;
inline constexpr TCursor crcxNoDrop = 2112;
inline constexpr TCursor crcxDrag = 2113;
inline constexpr TCursor crcxHandPoint = 2114;

// The cursor resource name of a suite cursor id ("" for another id).
const char* SuiteCursorResourceName(TCursor Id);
// Registers the 15 cursors with the screen; the folder's start-up calls it.
void RegisterSuiteCursors();

// A component usable as a control's popup menu.
class IcxPopupMenuComponent {
 public:
  static constexpr const char* IID = "{61EEDA7D-88CC-45BF-8A00-5C25174D6501}";
  virtual ~IcxPopupMenuComponent() = default;
  virtual bool IsShortCut(TMessage& Message) = 0;
  virtual void Popup(Integer X, Integer Y) = 0;
};

// 0: a button went up; 1: the pointer left the square of twice the drag
// threshold around the start; 2: Esc, or the capture went elsewhere.
Integer DragDetectLoop(win::HWND Wnd);
bool IsWithinDragThreshold(const TPoint& MouseDownPos, Integer X, Integer Y);

bool HasParentWithHandle(TControl* AControl);
Integer GetDoubleClickInterval();
// The work area of the monitor nearest the screen point.
TRect GetMonitorWorkArea(const TPoint& P);
TPoint QueryCursorPos();
bool IsCtrlPressed();
// Digits, "+" and "-"; mode 1 adds the decimal separator, mode 2 also "e"
// and "E".
bool IsNumericInputChar(char32_t C, Integer Mode);
bool IsTextInputChar(char32_t C);
char16_t KeyCodeToCharCode(Word Key);
// Window 0 is the screen.
TPoint TranslateWindowPoint(win::HWND From, win::HWND To, const TPoint& P);
TRect TranslateWindowRect(win::HWND From, win::HWND To, const TRect& R);
bool IsComponentLoading(TComponent* AComponent);
bool PopupMenuHandlesShortCut(TComponent* AMenu, TMessage& Message);
bool ShowPopupMenu(TControl* AControl, TComponent* AMenu, Integer X, Integer Y);
Integer GetPopupMenuHeight(TPopupMenu* AMenu);
