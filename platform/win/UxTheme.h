// The visual-style service. Our own flat light style (VisualStyleParts,
// VisualStyleRenderer) stands behind it and is on by default; with the
// environment variable VXN_THEMES=0, or after SetVisualStylesEnabled(false),
// the service answers like Windows with visual styles switched off, so every
// painter takes its classic path. The calls that Windows serves without a
// theme (system colours, sizes and fonts, the parent's background) work in
// both modes.
#pragma once

#include <cstdint>

#include "platform/win/GdiFonts.h"
#include "platform/win/ThemeSchema.h"
#include "platform/win/WinUser.h"

namespace win {

using HRESULT = int32_t;
using WCHAR = char16_t;
using LPCWSTR = const char16_t*;
using LPWSTR = char16_t*;

struct HTHEME__;
using HTHEME = HTHEME__*;
struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT E_HANDLE = static_cast<HRESULT>(0x80070006);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
// HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER).
constexpr HRESULT E_INSUFFICIENT_BUFFER_HR = static_cast<HRESULT>(0x8007007A);
// HRESULT_FROM_WIN32(ERROR_NOT_FOUND): what the service answers with no
// visual style in use, or for a property the style does not define.
constexpr HRESULT E_PROP_ID_UNSUPPORTED = static_cast<HRESULT>(0x80070490);
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

enum THEMESIZE { TS_MIN = 0, TS_TRUE = 1, TS_DRAW = 2 };
enum PROPERTYORIGIN { PO_STATE = 0, PO_PART = 1, PO_CLASS = 2, PO_GLOBAL = 3, PO_NOTFOUND = 4 };

struct MARGINS {
  int cxLeftWidth = 0;
  int cxRightWidth = 0;
  int cyTopHeight = 0;
  int cyBottomHeight = 0;
};

constexpr int MAX_INTLIST_COUNT = 402;
struct INTLIST {
  int iValueCount = 0;
  int iValues[MAX_INTLIST_COUNT] = {};
};

// Theme application properties.
constexpr DWORD STAP_ALLOW_NONCLIENT = 0x00000001;
constexpr DWORD STAP_ALLOW_CONTROLS = 0x00000002;
constexpr DWORD STAP_ALLOW_WEBCONTENT = 0x00000004;

// EnableThemeDialogTexture.
constexpr DWORD ETDT_DISABLE = 0x00000001;
constexpr DWORD ETDT_ENABLE = 0x00000002;
constexpr DWORD ETDT_USETABTEXTURE = 0x00000004;
constexpr DWORD ETDT_ENABLETAB = ETDT_ENABLE | ETDT_USETABTEXTURE;

// System fonts (GetThemeSysFont).
constexpr int TMT_CAPTIONFONT = 801;
constexpr int TMT_SMALLCAPTIONFONT = 802;
constexpr int TMT_MENUFONT = 803;
constexpr int TMT_STATUSFONT = 804;
constexpr int TMT_MSGBOXFONT = 805;
constexpr int TMT_ICONTITLEFONT = 806;

// WM_THEMECHANGED tells windows that the visual style changed or went off.
constexpr UINT WM_THEMECHANGED = 0x031A;

// The mode ------------------------------------------------------------------------

// Whether the visual style is in use: on unless VXN_THEMES=0 at start.
bool VisualStylesEnabled();
// Switches the style on or off. On a change every theme handle given out
// so far goes dead (its calls fail with E_HANDLE and draw nothing), every
// window gets WM_THEMECHANGED, the top-level windows WM_SYSCOLORCHANGE, and
// everything is repainted.
void SetVisualStylesEnabled(bool on);

// The service -------------------------------------------------------------------

// A class list names classes separated by ";"; the first the style draws
// is opened. Each call gives a handle of its own; with a window, the window
// remembers it for GetWindowTheme.

HTHEME OpenThemeData(HWND hwnd, LPCWSTR classList);
HRESULT CloseThemeData(HTHEME theme);
BOOL IsThemeActive();
BOOL IsAppThemed();
HTHEME GetWindowTheme(HWND hwnd);
HRESULT SetWindowTheme(HWND hwnd, LPCWSTR subAppName, LPCWSTR subIdList);
DWORD GetThemeAppProperties();
void SetThemeAppProperties(DWORD flags);
HRESULT EnableThemeDialogTexture(HWND hwnd, DWORD flags);
BOOL IsThemeDialogTextureEnabled(HWND hwnd);
// "aero.msstyles", "NormalColor", "NormalSize" while the style is in use; a
// buffer too small for its text gets an empty text and the call fails.
HRESULT GetCurrentThemeName(LPWSTR themeFileName, int maxNameChars, LPWSTR colorBuff, int maxColorChars,
                            LPWSTR sizeBuff, int maxSizeChars);
HRESULT GetThemeDocumentationProperty(LPCWSTR themeName, LPCWSTR propertyName, LPWSTR value, int maxValueChars);

// Holds a theme handle of a class list for one drawing; empty (false)
// without the style, so the caller takes its classic path.
class ScopedTheme {
 public:
  explicit ScopedTheme(LPCWSTR classList, HWND hwnd = nullptr) : theme_(OpenThemeData(hwnd, classList)) {}
  ~ScopedTheme() {
    if (theme_) CloseThemeData(theme_);
  }
  ScopedTheme(const ScopedTheme&) = delete;
  ScopedTheme& operator=(const ScopedTheme&) = delete;
  explicit operator bool() const { return theme_ != nullptr; }
  HTHEME get() const { return theme_; }

 private:
  HTHEME theme_;
};

// Drawing. Rectangles are in the DC's logical coordinates; a part is drawn
// at the DC's dpi (its 96-dpi design scaled).
HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clipRect);
HRESULT DrawThemeEdge(HTHEME theme, HDC dc, int part, int state, const RECT* destRect, UINT edge, UINT flags,
                      RECT* contentRect);
// Image lists belong to the forms library; the style draws none (E_NOTIMPL).
HRESULT DrawThemeIcon(HTHEME theme, HDC dc, int part, int state, const RECT* rect, HIMAGELIST images,
                      int imageIndex);
// The text in the part's text colour (DTT_GRAYED: the disabled one) with the
// DC's font and DrawText's flags; charCount -1 = up to the terminating 0.
HRESULT DrawThemeText(HTHEME theme, HDC dc, int part, int state, LPCWSTR text, int charCount, DWORD textFlags,
                      DWORD textFlags2, const RECT* rect);
// Works without a visual style: the parent paints its background
// (WM_ERASEBKGND, then WM_PRINTCLIENT) into dc, moved to the parent's client
// coordinates and clipped to rect (the child's client coordinates; null =
// the whole child).
HRESULT DrawThemeParentBackground(HWND hwnd, HDC dc, const RECT* rect);

// Measuring and hit testing.
HRESULT GetThemeBackgroundContentRect(HTHEME theme, HDC dc, int part, int state, const RECT* boundingRect,
                                      RECT* contentRect);
HRESULT GetThemeBackgroundExtent(HTHEME theme, HDC dc, int part, int state, const RECT* contentRect,
                                 RECT* extentRect);
HRESULT GetThemeBackgroundRegion(HTHEME theme, HDC dc, int part, int state, const RECT* rect, HRGN* region);
// TS_MIN and TS_TRUE are the part's own sizes at the DC's dpi (96 without a
// DC); TS_DRAW is the rectangle's size, or the true size without one.
HRESULT GetThemePartSize(HTHEME theme, HDC dc, int part, int state, const RECT* rect, THEMESIZE kind, SIZE* size);
HRESULT GetThemeTextExtent(HTHEME theme, HDC dc, int part, int state, LPCWSTR text, int charCount,
                           DWORD textFlags, const RECT* boundingRect, RECT* extentRect);
HRESULT GetThemeTextMetrics(HTHEME theme, HDC dc, int part, int state, TEXTMETRIC* metrics);
HRESULT HitTestThemeBackground(HTHEME theme, HDC dc, int part, int state, DWORD options, const RECT* rect,
                               HRGN region, POINT test, WORD* hitTestCode);
BOOL IsThemePartDefined(HTHEME theme, int part, int state);
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state);

// Properties.
HRESULT GetThemeBool(HTHEME theme, int part, int state, int property, BOOL* value);
HRESULT GetThemeColor(HTHEME theme, int part, int state, int property, COLORREF* color);
HRESULT GetThemeEnumValue(HTHEME theme, int part, int state, int property, int* value);
HRESULT GetThemeFilename(HTHEME theme, int part, int state, int property, LPWSTR fileName, int maxChars);
HRESULT GetThemeFont(HTHEME theme, HDC dc, int part, int state, int property, LOGFONT* font);
HRESULT GetThemeInt(HTHEME theme, int part, int state, int property, int* value);
HRESULT GetThemeIntList(HTHEME theme, int part, int state, int property, INTLIST* list);
HRESULT GetThemeMargins(HTHEME theme, HDC dc, int part, int state, int property, const RECT* rect,
                        MARGINS* margins);
HRESULT GetThemeMetric(HTHEME theme, HDC dc, int part, int state, int property, int* value);
HRESULT GetThemePosition(HTHEME theme, int part, int state, int property, POINT* point);
HRESULT GetThemePropertyOrigin(HTHEME theme, int part, int state, int property, PROPERTYORIGIN* origin);
HRESULT GetThemeRect(HTHEME theme, int part, int state, int property, RECT* rect);
HRESULT GetThemeString(HTHEME theme, int part, int state, int property, LPWSTR buffer, int maxChars);

// System values; a null theme gives the system's own (colours, metrics, the
// fonts of the non-client metrics).
BOOL GetThemeSysBool(HTHEME theme, int boolId);
COLORREF GetThemeSysColor(HTHEME theme, int colorId);
HBRUSH GetThemeSysColorBrush(HTHEME theme, int colorId);
HRESULT GetThemeSysFont(HTHEME theme, int fontId, LOGFONT* font);
HRESULT GetThemeSysInt(HTHEME theme, int intId, int* value);
int GetThemeSysSize(HTHEME theme, int sizeId);
HRESULT GetThemeSysString(HTHEME theme, int stringId, LPWSTR buffer, int maxChars);

}  // namespace win
