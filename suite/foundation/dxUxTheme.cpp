#include "suite/foundation/dxUxTheme.h"

#include <cstring>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Gdi.h"

using namespace win;

namespace {

TdxUxThemeEntryPoints& Entries() {
  static TdxUxThemeEntryPoints entries;
  return entries;
}

bool& LibraryLoaded() {
  static bool loaded = false;
  return loaded;
}

// What a call through a missing entry point answers.
constexpr HRESULT kNoEntry = E_FAIL;

}  // namespace

bool IsWinXPOrNewer() {
  return Win32MajorVersion > 5 || (Win32MajorVersion == 5 && Win32MinorVersion >= 1);
}

bool VisualStyleLibraryPresent() { return LibraryLoaded(); }

const TdxUxThemeEntryPoints& UxThemeEntryPoints() { return Entries(); }

void* SystemUxThemeLookup(std::string_view Name) {
  struct Export {
    const char* name;
    void* entry;
  };
#define VXN_UXTHEME_EXPORT(name) {#name, reinterpret_cast<void*>(&win::name)},
  static const Export exports[] = {VXN_UXTHEME_ENTRY_POINTS(VXN_UXTHEME_EXPORT)};
#undef VXN_UXTHEME_EXPORT
  for (const Export& e : exports)
    if (Name == e.name) return e.entry;
  return nullptr;
}

void BindVisualStyleLibrary(TdxUxThemeLookup Lookup) {
  Entries() = TdxUxThemeEntryPoints{};
  LibraryLoaded() = Lookup != nullptr;
  if (!Lookup) return;
#define VXN_UXTHEME_BIND(name) \
  Entries().name = reinterpret_cast<decltype(&win::name)>(Lookup(#name));
  VXN_UXTHEME_ENTRY_POINTS(VXN_UXTHEME_BIND)
#undef VXN_UXTHEME_BIND
}

void InitializeUxTheme() {
  static bool done = false;
  if (done) return;
  done = true;
  // The common controls need no initialisation on this platform.
  if (IsWinXPOrNewer()) BindVisualStyleLibrary(&SystemUxThemeLookup);
}

// ---------------------------------------------------------------------------

HRESULT UxDrawThemeBackground(HTHEME Theme, HDC DC, int Part, int State, const RECT& R, const RECT* Clip) {
  if (!Entries().DrawThemeBackground) return kNoEntry;
  return Entries().DrawThemeBackground(Theme, DC, Part, State, &R, Clip);
}

HRESULT UxDrawThemeBackground(HTHEME Theme, HDC DC, int Part, int State, const TRect& R) {
  const RECT r{R.Left, R.Top, R.Right, R.Bottom};
  return UxDrawThemeBackground(Theme, DC, Part, State, r, nullptr);
}

HRESULT UxDrawThemeBackground(HTHEME Theme, HDC DC, int Part, int State, const TRect& R, const TRect& Clip) {
  const RECT r{R.Left, R.Top, R.Right, R.Bottom}, c{Clip.Left, Clip.Top, Clip.Right, Clip.Bottom};
  return UxDrawThemeBackground(Theme, DC, Part, State, r, &c);
}

HRESULT UxDrawThemeText(HTHEME Theme, HDC DC, int Part, int State, const std::string& Text, int Count,
                        DWORD Flags, DWORD Flags2, const RECT& R) {
  if (!Entries().DrawThemeText) return kNoEntry;
  const std::string_view shown =
      Count < 0 || static_cast<size_t>(Count) >= Text.size() ? std::string_view(Text)
                                                              : std::string_view(Text).substr(0, Count);
  const std::u16string wide = Utf8ToUtf16(shown);
  return Entries().DrawThemeText(Theme, DC, Part, State, wide.c_str(), static_cast<int>(wide.size()), Flags, Flags2,
                                 &R);
}

HRESULT UxGetThemeBackgroundContentRect(HTHEME Theme, HDC DC, int Part, int State, const RECT& Bounding,
                                        RECT& Content) {
  if (!Entries().GetThemeBackgroundContentRect) return kNoEntry;
  return Entries().GetThemeBackgroundContentRect(Theme, DC, Part, State, &Bounding, &Content);
}

TRect UxGetThemeBackgroundContentRect(HTHEME Theme, HDC DC, int Part, int State, const TRect& Bounding) {
  const RECT b{Bounding.Left, Bounding.Top, Bounding.Right, Bounding.Bottom};
  RECT c = b;
  if (FAILED(UxGetThemeBackgroundContentRect(Theme, DC, Part, State, b, c))) c = b;
  return {c.left, c.top, c.right, c.bottom};
}

HRESULT UxGetThemePartSize(HTHEME Theme, HDC DC, int Part, int State, THEMESIZE Kind, SIZE& Size) {
  if (!Entries().GetThemePartSize) return kNoEntry;
  return Entries().GetThemePartSize(Theme, DC, Part, State, nullptr, Kind, &Size);
}

HRESULT UxGetThemePartSizeInRect(HTHEME Theme, HDC DC, int Part, int State, const RECT& R, THEMESIZE Kind,
                                 SIZE& Size) {
  if (!Entries().GetThemePartSize) return kNoEntry;
  return Entries().GetThemePartSize(Theme, DC, Part, State, &R, Kind, &Size);
}

HRESULT UxGetThemeBackgroundRegion(HTHEME Theme, HDC DC, int Part, int State, const RECT& R, HRGN& Region) {
  Region = nullptr;
  if (!Entries().GetThemeBackgroundRegion) return kNoEntry;
  return Entries().GetThemeBackgroundRegion(Theme, DC, Part, State, &R, &Region);
}

HRESULT UxDrawThemeEdge(HTHEME Theme, HDC DC, int Part, int State, const RECT& Dest, UINT Edge, UINT Flags,
                        RECT* Content) {
  if (!Entries().DrawThemeEdge) return kNoEntry;
  return Entries().DrawThemeEdge(Theme, DC, Part, State, &Dest, Edge, Flags, Content);
}

bool UxIsThemeBackgroundPartiallyTransparent(HTHEME Theme, int Part, int State) {
  return Entries().IsThemeBackgroundPartiallyTransparent &&
         Entries().IsThemeBackgroundPartiallyTransparent(Theme, Part, State);
}

HRESULT UxGetThemeColor(HTHEME Theme, int Part, int State, int Property, COLORREF& Color) {
  if (!Entries().GetThemeColor) return kNoEntry;
  return Entries().GetThemeColor(Theme, Part, State, Property, &Color);
}

bool UxIsThemeActive() { return Entries().IsThemeActive && Entries().IsThemeActive(); }

HRESULT UxGetCurrentThemeName(LPWSTR FileName, int FileNameLength, LPWSTR ColorName, int ColorNameLength,
                              LPWSTR SizeName, int SizeNameLength) {
  if (!Entries().GetCurrentThemeName) return kNoEntry;
  return Entries().GetCurrentThemeName(FileName, FileNameLength, ColorName, ColorNameLength, SizeName,
                                       SizeNameLength);
}

HRESULT UxDrawThemeParentBackground(HWND Wnd, HDC DC, const RECT* R) {
  if (!Entries().DrawThemeParentBackground) return kNoEntry;
  HGDIOBJ font = GetCurrentObject(DC, OBJ_FONT);
  const HRESULT result = Entries().DrawThemeParentBackground(Wnd, DC, R);
  SelectObject(DC, font);
  return result;
}
