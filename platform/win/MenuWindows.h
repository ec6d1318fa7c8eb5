// Menus: menu handles and their items, the menu bar in a window's frame,
// and drop-down and popup menus as windows of class "#32768" that the
// owner talks to by the usual messages (WM_INITMENUPOPUP, WM_MENUSELECT,
// WM_MEASUREITEM / WM_DRAWITEM with ODT_MENU, WM_COMMAND).
#pragma once

#include <string>

#include "platform/win/WinUser.h"

namespace win {

constexpr UINT WM_INITMENU = 0x0116;
constexpr UINT WM_INITMENUPOPUP = 0x0117;
constexpr UINT WM_MENUSELECT = 0x011F;
constexpr UINT WM_MENUCHAR = 0x0120;
constexpr UINT WM_ENTERIDLE = 0x0121;
constexpr UINT WM_UNINITMENUPOPUP = 0x0125;
constexpr UINT MN_GETHMENU = 0x01E1;

constexpr WPARAM MSGF_MENU = 2;

// AppendMenu / InsertMenu / ModifyMenu flags.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_BITMAP = 0x0004;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK = 0x0040;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_OWNERDRAW = 0x0100;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_DEFAULT = 0x1000;
constexpr UINT MF_SYSMENU = 0x2000;
constexpr UINT MF_RIGHTJUSTIFY = 0x4000;
constexpr UINT MF_MOUSESELECT = 0x8000;

constexpr UINT MFT_STRING = 0x0000;
constexpr UINT MFT_BITMAP = 0x0004;
constexpr UINT MFT_MENUBARBREAK = 0x0020;
constexpr UINT MFT_MENUBREAK = 0x0040;
constexpr UINT MFT_OWNERDRAW = 0x0100;
constexpr UINT MFT_RADIOCHECK = 0x0200;
constexpr UINT MFT_SEPARATOR = 0x0800;
constexpr UINT MFT_RIGHTORDER = 0x2000;
constexpr UINT MFT_RIGHTJUSTIFY = 0x4000;

constexpr UINT MFS_ENABLED = 0x0000;
constexpr UINT MFS_UNCHECKED = 0x0000;
constexpr UINT MFS_GRAYED = 0x0003;
constexpr UINT MFS_DISABLED = 0x0003;
constexpr UINT MFS_CHECKED = 0x0008;
constexpr UINT MFS_HILITE = 0x0080;
constexpr UINT MFS_DEFAULT = 0x1000;

constexpr UINT MIIM_STATE = 0x0001;
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_SUBMENU = 0x0004;
constexpr UINT MIIM_CHECKMARKS = 0x0008;
constexpr UINT MIIM_TYPE = 0x0010;
constexpr UINT MIIM_DATA = 0x0020;
constexpr UINT MIIM_STRING = 0x0040;
constexpr UINT MIIM_BITMAP = 0x0080;
constexpr UINT MIIM_FTYPE = 0x0100;

constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

// The name of the class of drop-down and popup menu windows.
inline constexpr const char* kMenuWindowClass = "#32768";

// Registers the menu window class and gives the window layer its menu bar
// hooks; the folder's start-up calls it.
void InstallMenuWindows();

struct MENUITEMINFO {
  UINT cbSize = sizeof(MENUITEMINFO);
  UINT fMask = 0;
  UINT fType = 0;
  UINT fState = 0;
  UINT wID = 0;
  HMENU hSubMenu = nullptr;
  HBITMAP hbmpChecked = nullptr;
  HBITMAP hbmpUnchecked = nullptr;
  ULONG_PTR dwItemData = 0;
  char* dwTypeData = nullptr;  // in: the text; out: a buffer of cch bytes
  UINT cch = 0;
  HBITMAP hbmpItem = nullptr;
};

struct TPMPARAMS {
  UINT cbSize = sizeof(TPMPARAMS);
  RECT rcExclude;
};

HMENU CreateMenu();       // a menu bar
HMENU CreatePopupMenu();  // a drop-down or popup menu
// Destroys the sub-menus with it.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idNewItem, const char* text);
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, const char* text);
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, const char* text);
BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info);
BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFO* info);
BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info);
// Removes the item; the sub-menu of a popup item stays (RemoveMenu) or goes
// (DeleteMenu).
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);  // 0xFFFFFFFF for a popup item
HMENU GetSubMenu(HMENU menu, int position);
UINT GetMenuState(HMENU menu, UINT id, UINT flags);
int GetMenuString(HMENU menu, UINT id, char* buffer, int maxCount, UINT flags);
// Give the previous state, or 0xFFFFFFFF for an item that does not exist.
UINT EnableMenuItem(HMENU menu, UINT id, UINT enable);
DWORD CheckMenuItem(HMENU menu, UINT id, UINT check);
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);

// The window's system menu (Restore, Move, Size, Minimize, Maximize, Close;
// a captioned child window also has Next), made at the first call and kept
// until the window goes; revert TRUE destroys it (and gives 0). It drops
// from the caption's icon or comes with Alt+Space.
HMENU GetSystemMenu(HWND hwnd, BOOL revert);

// The menu bar of a top-level window: the frame makes room for it.
BOOL SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);
// Lays out and repaints the bar after its items changed.
BOOL DrawMenuBar(HWND hwnd);
// A frame whose document window is maximised shows that window's icon at the
// left of its menu bar and its minimise, restore and close buttons at the
// right (document 0 takes them away; a bar without items then goes too). A
// press on the icon drops the document's system menu; a click on a button
// gives the document SC_MINIMIZE, SC_RESTORE or SC_CLOSE.
BOOL SetMenuBarDocument(HWND frame, HWND document);
HWND GetMenuBarDocument(HWND frame);
// In screen coordinates; hwnd is the window of the bar, or 0 for an open
// drop-down or popup menu.
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, RECT* rect);
// The item of the bar or an open menu under a screen point, or -1.
int MenuItemFromPoint(HWND hwnd, HMENU menu, POINT point);

// Shows the menu at the screen point and runs the menu loop until an item is
// chosen or the menu is dismissed. An item with MFT_MENUBREAK or
// MFT_MENUBARBREAK (a rule between) starts a new column, on the bar a new
// row; a menu taller than the work area scrolls between two arrows; a
// sub-menu opens after the mouse rested on its item for the menu show delay. The owner gets the menu's messages and,
// without TPM_RETURNCMD, a posted WM_COMMAND for the chosen item; with it the
// result is the command (0 for none).
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);
BOOL EndMenu();
// The innermost menu window open now, or 0.
HWND GetOpenMenuWindow();

// Opens the bar's drop-down of the item at position (keyboard: with its
// first item selected) and runs the menu loop; -1 selects the bar itself
// (F10, or Alt pressed and released with nothing else in between).
void TrackMenuBar(HWND hwnd, int position, bool keyboard);

}  // namespace win
