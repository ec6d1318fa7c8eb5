#include "UxTheme.h"

#include <atomic>

#include "Gdi.h"
#include "GdiRegions.h"
#include "SysColors.h"
#include "SysParams.h"
#include "Windows.h"

namespace win {

namespace {

std::atomic<DWORD> appProperties{STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS | STAP_ALLOW_WEBCONTENT};

// No theme handle is ever handed out, so every handle is a stranger.
HRESULT NoTheme() { return E_HANDLE; }

void ClearText(LPWSTR buffer, int maxChars) {
  if (buffer && maxChars > 0) buffer[0] = 0;
}

constexpr UINT PRF_CLIENT = 0x00000004;

}  // namespace

HTHEME OpenThemeData(HWND, LPCWSTR) {
  SetLastError(static_cast<DWORD>(E_PROP_ID_UNSUPPORTED));
  return nullptr;
}

HRESULT CloseThemeData(HTHEME) { return NoTheme(); }
BOOL IsThemeActive() { return FALSE; }
BOOL IsAppThemed() { return FALSE; }
HTHEME GetWindowTheme(HWND) { return nullptr; }

HRESULT SetWindowTheme(HWND hwnd, LPCWSTR, LPCWSTR) {
  // Nothing to attach; Windows still tells the window its theme changed.
  if (!IsWindow(hwnd)) return E_HANDLE;
  SendMessage(hwnd, WM_THEMECHANGED, 0, 0);
  return S_OK;
}

DWORD GetThemeAppProperties() { return appProperties; }
void SetThemeAppProperties(DWORD flags) { appProperties = flags; }

HRESULT EnableThemeDialogTexture(HWND hwnd, DWORD) { return IsWindow(hwnd) ? S_OK : E_HANDLE; }
BOOL IsThemeDialogTextureEnabled(HWND) { return FALSE; }

HRESULT GetCurrentThemeName(LPWSTR themeFileName, int maxNameChars, LPWSTR colorBuff, int maxColorChars,
                            LPWSTR sizeBuff, int maxSizeChars) {
  ClearText(themeFileName, maxNameChars);
  ClearText(colorBuff, maxColorChars);
  ClearText(sizeBuff, maxSizeChars);
  return E_PROP_ID_UNSUPPORTED;
}

HRESULT GetThemeDocumentationProperty(LPCWSTR, LPCWSTR, LPWSTR value, int maxValueChars) {
  ClearText(value, maxValueChars);
  return E_PROP_ID_UNSUPPORTED;
}

HRESULT DrawThemeBackground(HTHEME, HDC, int, int, const RECT*, const RECT*) { return NoTheme(); }
HRESULT DrawThemeEdge(HTHEME, HDC, int, int, const RECT*, UINT, UINT, RECT*) { return NoTheme(); }
HRESULT DrawThemeIcon(HTHEME, HDC, int, int, const RECT*, HIMAGELIST, int) { return NoTheme(); }
HRESULT DrawThemeText(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*) { return NoTheme(); }

HRESULT DrawThemeParentBackground(HWND hwnd, HDC dc, const RECT* rect) {
  HWND parent = GetParent(hwnd);
  if (!IsWindow(hwnd) || !dc || !parent || !(GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD)) return E_HANDLE;
  POINT offset{0, 0};
  MapWindowPoints(hwnd, parent, &offset, 1);
  int saved = SaveDC(dc);
  if (rect) IntersectClipRect(dc, rect->left, rect->top, rect->right, rect->bottom);
  OffsetViewportOrgEx(dc, -offset.x, -offset.y, nullptr);
  SendMessage(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessage(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  RestoreDC(dc, saved);
  return S_OK;
}

HRESULT GetThemeBackgroundContentRect(HTHEME, HDC, int, int, const RECT*, RECT*) { return NoTheme(); }
HRESULT GetThemeBackgroundExtent(HTHEME, HDC, int, int, const RECT*, RECT*) { return NoTheme(); }
HRESULT GetThemeBackgroundRegion(HTHEME, HDC, int, int, const RECT*, HRGN* region) {
  if (region) *region = nullptr;
  return NoTheme();
}
HRESULT GetThemePartSize(HTHEME, HDC, int, int, const RECT*, THEMESIZE, SIZE*) { return NoTheme(); }
HRESULT GetThemeTextExtent(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, const RECT*, RECT*) { return NoTheme(); }
HRESULT GetThemeTextMetrics(HTHEME, HDC, int, int, TEXTMETRIC*) { return NoTheme(); }
HRESULT HitTestThemeBackground(HTHEME, HDC, int, int, DWORD, const RECT*, HRGN, POINT, WORD*) { return NoTheme(); }
BOOL IsThemePartDefined(HTHEME, int, int) { return FALSE; }
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME, int, int) { return FALSE; }

HRESULT GetThemeBool(HTHEME, int, int, int, BOOL*) { return NoTheme(); }
HRESULT GetThemeColor(HTHEME, int, int, int, COLORREF*) { return NoTheme(); }
HRESULT GetThemeEnumValue(HTHEME, int, int, int, int*) { return NoTheme(); }
HRESULT GetThemeFilename(HTHEME, int, int, int, LPWSTR fileName, int maxChars) {
  ClearText(fileName, maxChars);
  return NoTheme();
}
HRESULT GetThemeFont(HTHEME, HDC, int, int, int, LOGFONT*) { return NoTheme(); }
HRESULT GetThemeInt(HTHEME, int, int, int, int*) { return NoTheme(); }
HRESULT GetThemeIntList(HTHEME, int, int, int, INTLIST*) { return NoTheme(); }
HRESULT GetThemeMargins(HTHEME, HDC, int, int, int, const RECT*, MARGINS*) { return NoTheme(); }
HRESULT GetThemeMetric(HTHEME, HDC, int, int, int, int*) { return NoTheme(); }
HRESULT GetThemePosition(HTHEME, int, int, int, POINT*) { return NoTheme(); }
HRESULT GetThemePropertyOrigin(HTHEME, int, int, int, PROPERTYORIGIN* origin) {
  if (origin) *origin = PO_NOTFOUND;
  return NoTheme();
}
HRESULT GetThemeRect(HTHEME, int, int, int, RECT*) { return NoTheme(); }
HRESULT GetThemeString(HTHEME, int, int, int, LPWSTR buffer, int maxChars) {
  ClearText(buffer, maxChars);
  return NoTheme();
}

BOOL GetThemeSysBool(HTHEME, int) { return FALSE; }
COLORREF GetThemeSysColor(HTHEME, int colorId) { return GetSysColor(colorId); }
HBRUSH GetThemeSysColorBrush(HTHEME, int colorId) { return GetSysColorBrush(colorId); }

HRESULT GetThemeSysFont(HTHEME, int fontId, LOGFONT* font) {
  if (!font) return E_POINTER;
  NONCLIENTMETRICS m;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(m), &m, 0);
  switch (fontId) {
    case TMT_CAPTIONFONT: *font = m.lfCaptionFont; return S_OK;
    case TMT_SMALLCAPTIONFONT: *font = m.lfSmCaptionFont; return S_OK;
    case TMT_MENUFONT: *font = m.lfMenuFont; return S_OK;
    case TMT_STATUSFONT: *font = m.lfStatusFont; return S_OK;
    case TMT_MSGBOXFONT:
    case TMT_ICONTITLEFONT: *font = m.lfMessageFont; return S_OK;
    default: return E_INVALIDARG;
  }
}

HRESULT GetThemeSysInt(HTHEME, int, int*) { return E_PROP_ID_UNSUPPORTED; }
int GetThemeSysSize(HTHEME, int sizeId) { return GetSystemMetrics(sizeId); }
HRESULT GetThemeSysString(HTHEME, int, LPWSTR buffer, int maxChars) {
  ClearText(buffer, maxChars);
  return E_PROP_ID_UNSUPPORTED;
}

}  // namespace win
