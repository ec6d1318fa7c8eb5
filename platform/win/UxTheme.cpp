#include "platform/win/UxTheme.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/rtl/Utf8.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/Rects.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysParams.h"
#include "platform/win/UserPrivate.h"
#include "platform/win/VisualStyleParts.h"
#include "platform/win/VisualStyleRenderer.h"
#include "platform/win/Windows.h"

namespace win {

namespace {

using visualstyle::ThemeClass;

std::atomic<DWORD> appProperties{STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS | STAP_ALLOW_WEBCONTENT};

struct OpenTheme {
  ThemeClass cls;
  uint64_t generation;
};

// Handles are numbers that are never reused, so a handle from before a
// switch or a closed one can always be told from a live one.
struct Service {
  std::mutex lock;
  bool enabled;
  uint64_t generation = 1;
  uintptr_t next = 0x7E000000;
  std::map<uintptr_t, OpenTheme> open;
  std::map<HWND, uintptr_t> windowThemes;

  Service() {
    const char* v = std::getenv("VXN_THEMES");
    enabled = !(v && std::strcmp(v, "0") == 0);
  }
};

Service& State() {
  static Service s;
  return s;
}

// The class behind a live handle of the current mode.
std::optional<ThemeClass> Live(HTHEME theme) {
  Service& s = State();
  std::lock_guard<std::mutex> g(s.lock);
  auto it = s.open.find(reinterpret_cast<uintptr_t>(theme));
  if (it == s.open.end() || it->second.generation != s.generation || !s.enabled) return std::nullopt;
  return it->second.cls;
}

// A live handle and a part the class has; the error to return otherwise.
struct PartRef {
  ThemeClass cls{};
  const visualstyle::PartInfo* info = nullptr;
  HRESULT error = S_OK;
};
PartRef Resolve(HTHEME theme, int part) {
  PartRef r;
  std::optional<ThemeClass> cls = Live(theme);
  if (!cls) {
    r.error = E_HANDLE;
    return r;
  }
  r.cls = *cls;
  r.info = visualstyle::FindPart(*cls, part);
  if (!r.info) r.error = E_INVALIDARG;
  return r;
}

void ClearText(LPWSTR buffer, int maxChars) {
  if (buffer && maxChars > 0) buffer[0] = 0;
}

// Copies text with its terminating 0; false when it does not fit.
bool CopyText(LPWSTR buffer, int maxChars, const char16_t* text) {
  if (!buffer || maxChars <= 0) return true;  // the caller does not want this one
  size_t n = std::char_traits<char16_t>::length(text);
  if (n + 1 > static_cast<size_t>(maxChars)) {
    buffer[0] = 0;
    return false;
  }
  std::copy(text, text + n + 1, buffer);
  return true;
}

COLORREF ToColorRef(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// The colours DrawThemeEdge draws with, answered by GetThemeColor too.
constexpr uint32_t kEdgeLight = 0xFFFFFF;
constexpr uint32_t kEdgeHighlight = 0xE3E3E3;
constexpr uint32_t kEdgeShadow = 0xA0A0A0;
constexpr uint32_t kEdgeDarkShadow = 0x696969;
constexpr uint32_t kEdgeFill = 0xF0F0F0;
constexpr uint32_t kAccentHint = 0x0078D7;
constexpr uint32_t kGrayedText = 0xA0A0A0;

// The colour properties of a part's state; kNone for one the part lacks.
uint32_t ColorProperty(ThemeClass cls, int part, int state, int property) {
  visualstyle::StateLook l = visualstyle::Look(cls, part, state);
  switch (property) {
    case TMT_BORDERCOLOR: return l.border;
    case TMT_FILLCOLOR: return l.fill;
    case TMT_TEXTCOLOR: return l.text;
    // The face colour some painters ask the Button class for: the fill.
    case 204: return l.fill;
    case TMT_EDGELIGHTCOLOR: return kEdgeLight;
    case TMT_EDGEHIGHLIGHTCOLOR: return kEdgeHighlight;
    case TMT_EDGESHADOWCOLOR: return kEdgeShadow;
    case TMT_EDGEDKSHADOWCOLOR: return kEdgeDarkShadow;
    case TMT_EDGEFILLCOLOR: return kEdgeFill;
    case TMT_ACCENTCOLORHINT: return kAccentHint;
    default: return visualstyle::kNone;
  }
}

RECT Shrunk(const RECT& r, const visualstyle::Margins96& m, int dpi) {
  using visualstyle::Scale;
  return RECT{r.left + Scale(m.left, dpi), r.top + Scale(m.top, dpi), r.right - Scale(m.right, dpi),
              r.bottom - Scale(m.bottom, dpi)};
}

void FillSolid(HDC dc, int l, int t, int r, int b, uint32_t rgb) {
  if (l >= r || t >= b) return;
  HBRUSH brush = CreateSolidBrush(ToColorRef(rgb));
  RECT rc{l, t, r, b};
  FillRect(dc, &rc, brush);
  DeleteObject(brush);
}

constexpr UINT PRF_CLIENT = 0x00000004;

}  // namespace

// The mode ---------------------------------------------------------------------------

bool VisualStylesEnabled() {
  Service& s = State();
  std::lock_guard<std::mutex> g(s.lock);
  return s.enabled;
}

void SetVisualStylesEnabled(bool on) {
  {
    Service& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    if (s.enabled == on) return;
    s.enabled = on;
    ++s.generation;
    s.windowThemes.clear();
  }
  NotifyThemeChanged();
  BroadcastSystemNotice(WM_SYSCOLORCHANGE, 0, 0);
  user::RepaintEverything();
}

// The service ------------------------------------------------------------------------

HTHEME OpenThemeData(HWND hwnd, LPCWSTR classList) {
  Service& s = State();
  std::lock_guard<std::mutex> g(s.lock);
  if (!s.enabled || !classList) {
    SetLastError(static_cast<DWORD>(E_PROP_ID_UNSUPPORTED));
    return nullptr;
  }
  std::u16string_view list(classList);
  while (true) {
    size_t end = list.find(u';');
    ThemeClass cls;
    if (visualstyle::FindClass(list.substr(0, end), &cls)) {
      uintptr_t h = s.next;
      s.next += 4;
      s.open[h] = OpenTheme{cls, s.generation};
      if (hwnd && IsWindow(hwnd)) s.windowThemes[hwnd] = h;
      return reinterpret_cast<HTHEME>(h);
    }
    if (end == std::u16string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  SetLastError(static_cast<DWORD>(E_PROP_ID_UNSUPPORTED));
  return nullptr;
}

HRESULT CloseThemeData(HTHEME theme) {
  // A handle from before a switch is still closed properly: it is the
  // caller's way of letting go of it.
  Service& s = State();
  std::lock_guard<std::mutex> g(s.lock);
  auto it = s.open.find(reinterpret_cast<uintptr_t>(theme));
  if (it == s.open.end()) return E_HANDLE;
  s.open.erase(it);
  std::erase_if(s.windowThemes, [&](const auto& e) { return e.second == reinterpret_cast<uintptr_t>(theme); });
  return S_OK;
}

BOOL IsThemeActive() { return VisualStylesEnabled() ? TRUE : FALSE; }
BOOL IsAppThemed() { return VisualStylesEnabled() ? TRUE : FALSE; }

HTHEME GetWindowTheme(HWND hwnd) {
  uintptr_t h = 0;
  {
    Service& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    auto it = s.windowThemes.find(hwnd);
    if (it == s.windowThemes.end()) return nullptr;
    h = it->second;
  }
  return Live(reinterpret_cast<HTHEME>(h)) ? reinterpret_cast<HTHEME>(h) : nullptr;
}

HRESULT SetWindowTheme(HWND hwnd, LPCWSTR, LPCWSTR) {
  // Nothing to attach; Windows still tells the window its theme changed.
  if (!IsWindow(hwnd)) return E_HANDLE;
  SendMessage(hwnd, WM_THEMECHANGED, 0, 0);
  return S_OK;
}

DWORD GetThemeAppProperties() { return appProperties; }
void SetThemeAppProperties(DWORD flags) { appProperties = flags; }

HRESULT EnableThemeDialogTexture(HWND hwnd, DWORD) { return IsWindow(hwnd) ? S_OK : E_HANDLE; }
// The flat style paints dialogs in their plain colour: no texture.
BOOL IsThemeDialogTextureEnabled(HWND) { return FALSE; }

HRESULT GetCurrentThemeName(LPWSTR themeFileName, int maxNameChars, LPWSTR colorBuff, int maxColorChars,
                            LPWSTR sizeBuff, int maxSizeChars) {
  if (!VisualStylesEnabled()) {
    ClearText(themeFileName, maxNameChars);
    ClearText(colorBuff, maxColorChars);
    ClearText(sizeBuff, maxSizeChars);
    return E_PROP_ID_UNSUPPORTED;
  }
  bool ok = CopyText(themeFileName, maxNameChars, u"aero.msstyles");
  ok = CopyText(colorBuff, maxColorChars, u"NormalColor") && ok;
  ok = CopyText(sizeBuff, maxSizeChars, u"NormalSize") && ok;
  return ok ? S_OK : E_INSUFFICIENT_BUFFER_HR;
}

HRESULT GetThemeDocumentationProperty(LPCWSTR, LPCWSTR, LPWSTR value, int maxValueChars) {
  ClearText(value, maxValueChars);
  return E_PROP_ID_UNSUPPORTED;
}

// Drawing ------------------------------------------------------------------------------

HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clipRect) {
  PartRef p = Resolve(theme, part);
  if (FAILED(p.error)) return p.error;
  if (!rect) return E_POINTER;
  return visualstyle::DrawPartOnDC(dc, p.cls, part, state, *rect, clipRect) ? S_OK : E_HANDLE;
}

HRESULT DrawThemeEdge(HTHEME theme, HDC dc, int, int, const RECT* destRect, UINT edge, UINT flags,
                      RECT* contentRect) {
  if (!Live(theme)) return E_HANDLE;
  if (!destRect) return E_POINTER;
  if (flags & BF_DIAGONAL) return E_INVALIDARG;  // the flat style has no slanted edges
  if (!GetObjectType(dc)) return E_HANDLE;
  int line = visualstyle::Scale(1, visualstyle::DpiOf(dc));
  RECT r = *destRect;
  // Outer ring first, then the inner one, each as its top-left and
  // bottom-right colours.
  struct Ring {
    UINT raised, sunken;
    uint32_t raisedTL, raisedBR, sunkenTL, sunkenBR;
  };
  const Ring rings[2] = {
      {BDR_RAISEDOUTER, BDR_SUNKENOUTER, kEdgeLight, kEdgeDarkShadow, kEdgeShadow, kEdgeLight},
      {BDR_RAISEDINNER, BDR_SUNKENINNER, kEdgeHighlight, kEdgeShadow, kEdgeDarkShadow, kEdgeHighlight},
  };
  for (const Ring& ring : rings) {
    bool raised = edge & ring.raised, sunken = edge & ring.sunken;
    if (!raised && !sunken) continue;
    uint32_t tl = raised ? ring.raisedTL : ring.sunkenTL;
    uint32_t br = raised ? ring.raisedBR : ring.sunkenBR;
    if (flags & BF_MONO) tl = br = kEdgeDarkShadow;
    else if (flags & BF_FLAT) tl = br = kEdgeShadow;
    if (flags & BF_LEFT) FillSolid(dc, r.left, r.top, r.left + line, r.bottom, tl);
    if (flags & BF_TOP) FillSolid(dc, r.left, r.top, r.right, r.top + line, tl);
    if (flags & BF_RIGHT) FillSolid(dc, r.right - line, r.top, r.right, r.bottom, br);
    if (flags & BF_BOTTOM) FillSolid(dc, r.left, r.bottom - line, r.right, r.bottom, br);
    if (flags & BF_LEFT) r.left += line;
    if (flags & BF_TOP) r.top += line;
    if (flags & BF_RIGHT) r.right -= line;
    if (flags & BF_BOTTOM) r.bottom -= line;
  }
  if (flags & BF_MIDDLE) FillSolid(dc, r.left, r.top, r.right, r.bottom, kEdgeFill);
  if (contentRect) *contentRect = r;
  return S_OK;
}

HRESULT DrawThemeIcon(HTHEME theme, HDC, int, int, const RECT*, HIMAGELIST, int) {
  return Live(theme) ? E_NOTIMPL : E_HANDLE;
}

HRESULT DrawThemeText(HTHEME theme, HDC dc, int part, int state, LPCWSTR text, int charCount, DWORD textFlags,
                      DWORD textFlags2, const RECT* rect) {
  PartRef p = Resolve(theme, part);
  if (FAILED(p.error)) return p.error;
  if (!rect || !text) return E_POINTER;
  if (!GetObjectType(dc)) return E_HANDLE;
  std::u16string_view wide = charCount < 0 ? std::u16string_view(text) : std::u16string_view(text, charCount);
  std::string utf8 = Utf16ToUtf8(wide);
  uint32_t color = (textFlags2 & DTT_GRAYED) ? kGrayedText : visualstyle::Look(p.cls, part, state).text;
  COLORREF oldColor = SetTextColor(dc, ToColorRef(color));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  RECT r = *rect;
  DrawText(dc, utf8.c_str(), static_cast<int>(utf8.size()), &r, textFlags & ~DT_CALCRECT);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
  return S_OK;
}

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

// Measuring and hit testing -------------------------------------------------------------

HRESULT GetThemeBackgroundContentRect(HTHEME theme, HDC dc, int part, int state, const RECT* boundingRect,
                                      RECT* contentRect) {
  PartRef p = Resolve(theme, part);
  if (FAILED(p.error)) return p.error;
  if (!boundingRect || !contentRect) return E_POINTER;
  (void)state;  // every state of a part keeps its margins
  *contentRect = Shrunk(*boundingRect, p.info->content, visualstyle::DpiOf(dc));
  return S_OK;
}

HRESULT GetThemeBackgroundExtent(HTHEME theme, HDC dc, int part, int, const RECT* contentRect, RECT* extentRect) {
  PartRef p = Resolve(theme, part);
  if (FAILED(p.error)) return p.error;
  if (!contentRect || !extentRect) return E_POINTER;
  const visualstyle::Margins96& m = p.info->content;
  visualstyle::Margins96 grow{-m.left, -m.top, -m.right, -m.bottom};
  *extentRect = Shrunk(*contentRect, grow, visualstyle::DpiOf(dc));
  return S_OK;
}

HRESULT GetThemeBackgroundRegion(HTHEME theme, HDC dc, int part, int state, const RECT* rect, HRGN* region) {
  if (region) *region = nullptr;
  PartRef p = Resolve(theme, part);
  if (FAILED(p.error)) return p.error;
  if (!rect || !region) return E_POINTER;
  *region = visualstyle::PartRegion(dc, p.cls, part, state, *rect);
  return S_OK;
}

HRESULT GetThemePartSize(HTHEME theme, HDC dc, int part, int, const RECT* rect, THEMESIZE kind, SIZE* size) {
  PartRef p = Resolve(theme, part);
  if (FAILED(p.error)) return p.error;
  if (!size) return E_POINTER;
  int dpi = visualstyle::DpiOf(dc);
  switch (kind) {
    case TS_MIN:
      *size = SIZE{visualstyle::Scale(p.info->minSize.cx, dpi), visualstyle::Scale(p.info->minSize.cy, dpi)};
      return S_OK;
    case TS_DRAW:
      if (rect) {
        *size = SIZE{std::abs(rect->right - rect->left), std::abs(rect->bottom - rect->top)};
        return S_OK;
      }
      [[fallthrough]];
    case TS_TRUE:
      *size = SIZE{visualstyle::Scale(p.info->trueSize.cx, dpi), visualstyle::Scale(p.info->trueSize.cy, dpi)};
      return S_OK;
  }
  return E_INVALIDARG;
}

HRESULT GetThemeTextExtent(HTHEME theme, HDC dc, int part, int, LPCWSTR text, int charCount, DWORD textFlags,
                           const RECT* boundingRect, RECT* extentRect) {
  PartRef p = Resolve(theme, part);
  if (FAILED(p.error)) return p.error;
  if (!text || !extentRect) return E_POINTER;
  if (!GetObjectType(dc)) return E_HANDLE;
  std::u16string_view wide = charCount < 0 ? std::u16string_view(text) : std::u16string_view(text, charCount);
  std::string utf8 = Utf16ToUtf8(wide);
  RECT r = boundingRect ? *boundingRect : RECT{0, 0, 0, 0};
  DrawText(dc, utf8.c_str(), static_cast<int>(utf8.size()), &r, textFlags | DT_CALCRECT);
  *extentRect = r;
  return S_OK;
}

HRESULT GetThemeTextMetrics(HTHEME theme, HDC dc, int part, int, TEXTMETRIC* metrics) {
  PartRef p = Resolve(theme, part);
  if (FAILED(p.error)) return p.error;
  if (!metrics) return E_POINTER;
  return GetTextMetrics(dc, metrics) ? S_OK : E_HANDLE;
}

HRESULT HitTestThemeBackground(HTHEME theme, HDC, int part, int, DWORD, const RECT* rect, HRGN region, POINT test,
                               WORD* hitTestCode) {
  PartRef p = Resolve(theme, part);
  if (FAILED(p.error)) return p.error;
  if (!rect || !hitTestCode) return E_POINTER;
  bool inside = PtInRect(rect, test) && (!region || PtInRegion(region, test.x, test.y));
  *hitTestCode = static_cast<WORD>(inside ? HTCLIENT : HTNOWHERE);
  return S_OK;
}

BOOL IsThemePartDefined(HTHEME theme, int part, int state) {
  PartRef p = Resolve(theme, part);
  if (FAILED(p.error)) return FALSE;
  return state == 0 || (state >= 1 && state <= p.info->states) ? TRUE : FALSE;
}

BOOL IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state) {
  PartRef p = Resolve(theme, part);
  if (FAILED(p.error)) return FALSE;
  return visualstyle::Look(p.cls, part, state).partiallyTransparent ? TRUE : FALSE;
}

// Properties ----------------------------------------------------------------------------

namespace {
// The properties the style defines answer; any other is "not found".
HRESULT Undefined(HTHEME theme) { return Live(theme) ? E_PROP_ID_UNSUPPORTED : E_HANDLE; }
}  // namespace

HRESULT GetThemeBool(HTHEME theme, int, int, int, BOOL*) { return Undefined(theme); }

HRESULT GetThemeColor(HTHEME theme, int part, int state, int property, COLORREF* color) {
  PartRef p = Resolve(theme, part);
  if (FAILED(p.error)) return p.error;
  if (!color) return E_POINTER;
  uint32_t c = ColorProperty(p.cls, part, state, property);
  if (c == visualstyle::kNone) return E_PROP_ID_UNSUPPORTED;
  *color = ToColorRef(c);
  return S_OK;
}

HRESULT GetThemeEnumValue(HTHEME theme, int, int, int, int*) { return Undefined(theme); }
HRESULT GetThemeFilename(HTHEME theme, int, int, int, LPWSTR fileName, int maxChars) {
  ClearText(fileName, maxChars);
  return Undefined(theme);
}
HRESULT GetThemeFont(HTHEME theme, HDC, int, int, int, LOGFONT*) { return Undefined(theme); }

HRESULT GetThemeInt(HTHEME theme, int part, int, int property, int* value) {
  PartRef p = Resolve(theme, part);
  if (FAILED(p.error)) return p.error;
  if (!value) return E_POINTER;
  if (property != TMT_BORDERSIZE) return E_PROP_ID_UNSUPPORTED;
  *value = p.info->border;
  return S_OK;
}

HRESULT GetThemeIntList(HTHEME theme, int, int, int, INTLIST*) { return Undefined(theme); }

HRESULT GetThemeMargins(HTHEME theme, HDC dc, int part, int, int property, const RECT*, MARGINS* margins) {
  PartRef p = Resolve(theme, part);
  if (FAILED(p.error)) return p.error;
  if (!margins) return E_POINTER;
  int dpi = visualstyle::DpiOf(dc);
  visualstyle::Margins96 m;
  if (property == TMT_CONTENTMARGINS)
    m = p.info->content;
  else if (property == TMT_SIZINGMARGINS)
    m = {p.info->border, p.info->border, p.info->border, p.info->border};
  else
    return E_PROP_ID_UNSUPPORTED;
  using visualstyle::Scale;
  *margins = MARGINS{Scale(m.left, dpi), Scale(m.right, dpi), Scale(m.top, dpi), Scale(m.bottom, dpi)};
  return S_OK;
}

HRESULT GetThemeMetric(HTHEME theme, HDC dc, int part, int state, int property, int* value) {
  HRESULT hr = GetThemeInt(theme, part, state, property, value);
  if (SUCCEEDED(hr)) *value = visualstyle::Scale(*value, visualstyle::DpiOf(dc));
  return hr;
}

HRESULT GetThemePosition(HTHEME theme, int, int, int, POINT*) { return Undefined(theme); }

HRESULT GetThemePropertyOrigin(HTHEME theme, int part, int state, int property, PROPERTYORIGIN* origin) {
  if (origin) *origin = PO_NOTFOUND;
  PartRef p = Resolve(theme, part);
  if (FAILED(p.error)) return p.error;
  if (!origin) return E_POINTER;
  bool defined = ColorProperty(p.cls, part, state, property) != visualstyle::kNone ||
                 property == TMT_BORDERSIZE || property == TMT_CONTENTMARGINS || property == TMT_SIZINGMARGINS;
  *origin = defined ? PO_STATE : PO_NOTFOUND;
  return S_OK;
}

HRESULT GetThemeRect(HTHEME theme, int, int, int, RECT*) { return Undefined(theme); }
HRESULT GetThemeString(HTHEME theme, int, int, int, LPWSTR buffer, int maxChars) {
  ClearText(buffer, maxChars);
  return Undefined(theme);
}

// System values ---------------------------------------------------------------------------

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
