// The binding to the visual-style library. The library is bound at run time
// and may be absent: its entry points are looked up by name when it loads,
// and every wrapper here answers a failure when its entry point is missing.
// The suite never calls the library but through this module.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/System.h"
#include "platform/win/UxTheme.h"

// Every entry point of the library, in lookup order.
#define VXN_UXTHEME_ENTRY_POINTS(X)                                                                       \
  X(CloseThemeData) X(DrawThemeBackground) X(DrawThemeEdge) X(DrawThemeIcon) X(DrawThemeParentBackground) \
  X(DrawThemeText) X(EnableThemeDialogTexture) X(GetCurrentThemeName) X(GetThemeAppProperties)            \
  X(GetThemeBackgroundContentRect) X(GetThemeBackgroundRegion) X(GetThemeBackgroundExtent)                \
  X(GetThemeBool) X(GetThemeColor) X(GetThemeDocumentationProperty) X(GetThemeEnumValue)                  \
  X(GetThemeFilename) X(GetThemeFont) X(GetThemeInt) X(GetThemeIntList) X(GetThemeMargins)                \
  X(GetThemeMetric) X(GetThemePartSize) X(GetThemePosition) X(GetThemePropertyOrigin) X(GetThemeRect)     \
  X(GetThemeString) X(GetThemeSysBool) X(GetThemeSysColor) X(GetThemeSysColorBrush) X(GetThemeSysFont)    \
  X(GetThemeSysInt) X(GetThemeSysSize) X(GetThemeSysString) X(GetThemeTextExtent) X(GetThemeTextMetrics)  \
  X(GetWindowTheme) X(HitTestThemeBackground) X(IsAppThemed) X(IsThemeActive) X(IsThemePartDefined)       \
  X(IsThemeBackgroundPartiallyTransparent) X(IsThemeDialogTextureEnabled) X(OpenThemeData)                \
  X(SetThemeAppProperties) X(SetWindowTheme)

// The entry points found in the loaded library; a missing one is null.
struct TdxUxThemeEntryPoints {
#define VXN_UXTHEME_FIELD(name) decltype(&win::name) name = nullptr;
  VXN_UXTHEME_ENTRY_POINTS(VXN_UXTHEME_FIELD)
#undef VXN_UXTHEME_FIELD
};

// A loaded library as the binding sees it: an entry point by name, or null.
using TdxUxThemeLookup = void* (*)(std::string_view Name);

// The operating system's version is 5.1 or later.
bool IsWinXPOrNewer();
bool VisualStyleLibraryPresent();
const TdxUxThemeEntryPoints& UxThemeEntryPoints();

// Module start: loads the system's visual-style library when the operating
// system has one. Runs once; the folder's start-up calls it.
void InitializeUxTheme();
// Binds another library (null: none) in place of the loaded one; the
// theme manager's LoadVisualStyleLibrary does this around its own restart.
void BindVisualStyleLibrary(TdxUxThemeLookup Lookup);
// The system's library.
void* SystemUxThemeLookup(std::string_view Name);

// Wrappers; handles come from OpenThemeByIndex.
win::HRESULT UxDrawThemeBackground(win::HTHEME Theme, win::HDC DC, int Part, int State, const win::RECT& R,
                                   const win::RECT* Clip = nullptr);
win::HRESULT UxDrawThemeBackground(win::HTHEME Theme, win::HDC DC, int Part, int State, const TRect& R);
win::HRESULT UxDrawThemeBackground(win::HTHEME Theme, win::HDC DC, int Part, int State, const TRect& R,
                                   const TRect& Clip);
// Text in the program's 8-bit character set (UTF-8 here), converted to
// wide text for the library; Count -1 takes the whole text.
win::HRESULT UxDrawThemeText(win::HTHEME Theme, win::HDC DC, int Part, int State, const std::string& Text,
                             int Count, win::DWORD Flags, win::DWORD Flags2, const win::RECT& R);
win::HRESULT UxGetThemeBackgroundContentRect(win::HTHEME Theme, win::HDC DC, int Part, int State,
                                             const win::RECT& Bounding, win::RECT& Content);
TRect UxGetThemeBackgroundContentRect(win::HTHEME Theme, win::HDC DC, int Part, int State, const TRect& Bounding);
win::HRESULT UxGetThemePartSize(win::HTHEME Theme, win::HDC DC, int Part, int State, win::THEMESIZE Kind,
                                win::SIZE& Size);
win::HRESULT UxGetThemePartSizeInRect(win::HTHEME Theme, win::HDC DC, int Part, int State, const win::RECT& R,
                                      win::THEMESIZE Kind, win::SIZE& Size);
win::HRESULT UxGetThemeBackgroundRegion(win::HTHEME Theme, win::HDC DC, int Part, int State, const win::RECT& R,
                                        win::HRGN& Region);
win::HRESULT UxDrawThemeEdge(win::HTHEME Theme, win::HDC DC, int Part, int State, const win::RECT& Dest,
                             win::UINT Edge, win::UINT Flags, win::RECT* Content);
bool UxIsThemeBackgroundPartiallyTransparent(win::HTHEME Theme, int Part, int State);
win::HRESULT UxGetThemeColor(win::HTHEME Theme, int Part, int State, int Property, win::COLORREF& Color);
bool UxIsThemeActive();
win::HRESULT UxGetCurrentThemeName(win::LPWSTR FileName, int FileNameLength, win::LPWSTR ColorName,
                                   int ColorNameLength, win::LPWSTR SizeName, int SizeNameLength);
// Draws the parent's themed background, then selects back the font the DC
// had (the library call may change it).
win::HRESULT UxDrawThemeParentBackground(win::HWND Wnd, win::HDC DC, const win::RECT* R);
