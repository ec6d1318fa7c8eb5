#include "platform/win/SysParams.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/win/GdiSurface.h"
#include "platform/win/Messages.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"
#include "platform/win/WindowsPrivate.h"

namespace win {

namespace {

LOGFONT UiFont(int weight) {
  LOGFONT lf;
  lf.lfHeight = -11;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(lf.lfFaceName, "Tahoma");
  return lf;
}

NONCLIENTMETRICS DefaultNonClientMetrics() {
  NONCLIENTMETRICS m;
  m.iBorderWidth = 1;
  m.iScrollWidth = 16;
  m.iScrollHeight = 16;
  m.iCaptionWidth = 18;
  m.iCaptionHeight = 18;
  m.lfCaptionFont = UiFont(FW_BOLD);
  m.iSmCaptionWidth = 12;
  m.iSmCaptionHeight = 14;
  m.lfSmCaptionFont = UiFont(FW_BOLD);
  m.iMenuWidth = 18;
  m.iMenuHeight = 18;
  m.lfMenuFont = UiFont(FW_NORMAL);
  m.lfStatusFont = UiFont(FW_NORMAL);
  m.lfMessageFont = UiFont(FW_NORMAL);
  return m;
}

constexpr UINT kDefaultDoubleClickTime = 500;

struct Settings {
  NONCLIENTMETRICS metrics = DefaultNonClientMetrics();
  bool workAreaSet = false;
  RECT workArea;
  UINT doubleClickTime = kDefaultDoubleClickTime;
  int doubleClickWidth = 4;
  int doubleClickHeight = 4;
  UINT wheelLines = 3;
};

std::mutex settingsLock;
Settings& Current() {
  static Settings s;
  return s;
}

Settings Snapshot() {
  std::lock_guard<std::mutex> g(settingsLock);
  return Current();
}

RECT ScreenRect() {
  SIZE s = GetScreenSize();
  return RECT{0, 0, s.cx, s.cy};
}

RECT WorkArea() {
  Settings s = Snapshot();
  return s.workAreaSet ? s.workArea : ScreenRect();
}

std::atomic<int> beeps{0};
std::atomic<UINT> lastBeep{0};

// The one monitor's handle; any other value is not a monitor.
HMONITOR const kPrimaryMonitor = reinterpret_cast<HMONITOR>(0x10001);

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

template <typename T>
BOOL Put(void* out, const T& value) {
  if (!out) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::memcpy(out, &value, sizeof(T));
  return TRUE;
}

// New frame sizes: every window of the thread lays out its frame again.
void ReframeWindows() {
  std::vector<HWND> all;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM p) -> BOOL {
        auto* v = reinterpret_cast<std::vector<HWND>*>(p);
        v->push_back(h);
        EnumChildWindows(
            h,
            [](HWND c, LPARAM q) -> BOOL {
              reinterpret_cast<std::vector<HWND>*>(q)->push_back(c);
              return TRUE;
            },
            p);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  for (HWND h : all)
    if (IsWindow(h))
      SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace

int GetSystemMetrics(int index) {
  Settings s = Snapshot();
  const NONCLIENTMETRICS& m = s.metrics;
  RECT screen = ScreenRect();
  RECT work = s.workAreaSet ? s.workArea : screen;
  int frame = m.iBorderWidth + 3;
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN: return screen.right;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN: return screen.bottom;
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN: return 0;
    case SM_CXVSCROLL:
    case SM_CXHSCROLL:
    case SM_CXHTHUMB: return m.iScrollWidth;
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CYVTHUMB: return m.iScrollHeight;
    case SM_CYCAPTION: return m.iCaptionHeight + 1;
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CXFOCUSBORDER:
    case SM_CYFOCUSBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return frame;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CYMENU: return m.iMenuHeight + 1;
    case SM_CXMENUSIZE: return m.iMenuWidth;
    case SM_CYMENUSIZE: return m.iMenuHeight;
    case SM_CXFULLSCREEN: return work.right - work.left;
    case SM_CYFULLSCREEN: return work.bottom - work.top - (m.iCaptionHeight + 1);
    case SM_MOUSEPRESENT:
    case SM_MOUSEWHEELPRESENT:
    case SM_CMONITORS:
    case SM_SAMEDISPLAYFORMAT: return 1;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_CXMIN:
    case SM_CXMINTRACK: return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK: return 27;
    case SM_CXSIZE: return m.iCaptionWidth;
    case SM_CYSIZE: return m.iCaptionHeight;
    case SM_CXSMSIZE: return m.iSmCaptionWidth;
    case SM_CYSMSIZE: return m.iSmCaptionHeight;
    case SM_CYSMCAPTION: return m.iSmCaptionHeight + 1;
    case SM_CXDOUBLECLK: return s.doubleClickWidth;
    case SM_CYDOUBLECLK: return s.doubleClickHeight;
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING: return 75;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXMINSPACING: return 160;
    case SM_CYMINSPACING: return 24;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_ARRANGE: return 8;
    case SM_CXMINIMIZED: return 160;
    case SM_CYMINIMIZED: return 24;
    case SM_CXMAXTRACK: return screen.right + 2 * (frame + 2);
    case SM_CYMAXTRACK: return screen.bottom + 2 * (frame + 2);
    case SM_CXMAXIMIZED: return (work.right - work.left) + 2 * frame;
    case SM_CYMAXIMIZED: return (work.bottom - work.top) + 2 * frame;
    case SM_NETWORK: return 3;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK: return 13;
    default: return 0;  // SM_DEBUG, SM_SWAPBUTTON, SM_DBCSENABLED, SM_REMOTESESSION, ...
  }
}

BOOL SystemParametersInfo(UINT action, UINT uiParam, void* pvParam, UINT winIni) {
  bool changed = false;
  BOOL ok = TRUE;
  switch (action) {
    case SPI_GETNONCLIENTMETRICS: {
      auto* out = static_cast<NONCLIENTMETRICS*>(pvParam);
      if (!out || out->cbSize != sizeof(NONCLIENTMETRICS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      *out = Snapshot().metrics;
      return TRUE;
    }
    case SPI_SETNONCLIENTMETRICS: {
      auto* in = static_cast<const NONCLIENTMETRICS*>(pvParam);
      if (!in || in->cbSize != sizeof(NONCLIENTMETRICS) || in->iCaptionHeight < 0 || in->iScrollWidth < 0 ||
          in->iScrollHeight < 0 || in->iBorderWidth < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      std::lock_guard<std::mutex> g(settingsLock);
      Current().metrics = *in;
      changed = true;
      break;
    }
    case SPI_GETICONTITLELOGFONT: return Put(pvParam, Snapshot().metrics.lfMessageFont);
    case SPI_GETWORKAREA: return Put(pvParam, WorkArea());
    case SPI_SETWORKAREA: {
      RECT r = pvParam ? *static_cast<const RECT*>(pvParam) : ScreenRect();
      if (r.right <= r.left || r.bottom <= r.top) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      std::lock_guard<std::mutex> g(settingsLock);
      Current().workAreaSet = pvParam != nullptr;
      Current().workArea = r;
      changed = true;
      break;
    }
    case SPI_SETDOUBLECLICKTIME: SetDoubleClickTime(uiParam); changed = true; break;
    case SPI_SETDOUBLECLKWIDTH:
    case SPI_SETDOUBLECLKHEIGHT: {
      std::lock_guard<std::mutex> g(settingsLock);
      (action == SPI_SETDOUBLECLKWIDTH ? Current().doubleClickWidth : Current().doubleClickHeight) =
          static_cast<int>(uiParam);
      changed = true;
      break;
    }
    case SPI_GETWHEELSCROLLLINES: return Put(pvParam, Snapshot().wheelLines);
    case SPI_SETWHEELSCROLLLINES: {
      std::lock_guard<std::mutex> g(settingsLock);
      Current().wheelLines = uiParam;
      changed = true;
      break;
    }
    case SPI_GETKEYBOARDSPEED: return Put(pvParam, DWORD{31});
    case SPI_GETKEYBOARDDELAY: return Put(pvParam, int{1});
    case SPI_GETMOUSEHOVERWIDTH:
    case SPI_GETMOUSEHOVERHEIGHT: return Put(pvParam, UINT{4});
    case SPI_GETMOUSEHOVERTIME: return Put(pvParam, UINT{400});
    case SPI_GETMENUSHOWDELAY: return Put(pvParam, DWORD{400});
    case SPI_GETCARETWIDTH:
    case SPI_GETFOCUSBORDERWIDTH:
    case SPI_GETFOCUSBORDERHEIGHT: return Put(pvParam, UINT{1});
    case SPI_GETBORDER: return Put(pvParam, Snapshot().metrics.iBorderWidth);
    case SPI_ICONHORIZONTALSPACING:
    case SPI_ICONVERTICALSPACING: return pvParam ? Put(pvParam, int{75}) : TRUE;
    case SPI_GETMOUSESPEED: return Put(pvParam, int{10});
    case SPI_GETMOUSE: {
      int values[3] = {6, 10, 1};
      return Put(pvParam, values);
    }
    case SPI_GETSCREENSAVETIMEOUT:
    case SPI_GETFOREGROUNDLOCKTIMEOUT: return Put(pvParam, UINT{0});
    case SPI_GETDEFAULTINPUTLANG: return Put(pvParam, reinterpret_cast<void*>(uintptr_t{0x04090409}));
    case SPI_GETBEEP:
    case SPI_GETICONTITLEWRAP:
    case SPI_GETDRAGFULLWINDOWS:
    case SPI_GETGRADIENTCAPTIONS:
    case SPI_GETKEYBOARDCUES: return Put(pvParam, BOOL{TRUE});
    case SPI_GETMENUDROPALIGNMENT:
    case SPI_GETKEYBOARDPREF:
    case SPI_GETSCREENREADER:
    case SPI_GETFONTSMOOTHING:
    case SPI_GETSNAPTODEFBUTTON:
    case SPI_GETSHOWIMEUI:
    case SPI_GETACTIVEWINDOWTRACKING:
    case SPI_GETMENUANIMATION:
    case SPI_GETCOMBOBOXANIMATION:
    case SPI_GETLISTBOXSMOOTHSCROLLING:
    case SPI_GETHOTTRACKING:
    case SPI_GETMENUFADE:
    case SPI_GETSELECTIONFADE:
    case SPI_GETTOOLTIPANIMATION:
    case SPI_GETTOOLTIPFADE:
    case SPI_GETCURSORSHADOW:
    case SPI_GETFLATMENU:
    case SPI_GETDROPSHADOW:
    case SPI_GETUIEFFECTS: return Put(pvParam, BOOL{FALSE});
    case SPI_GETHIGHCONTRAST: {
      if (!pvParam) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      // HIGHCONTRAST: cbSize, dwFlags (0: off), lpszDefaultScheme.
      auto* words = static_cast<UINT*>(pvParam);
      words[1] = 0;
      return TRUE;
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
  if (changed && action == SPI_SETNONCLIENTMETRICS) ReframeWindows();
  if (changed && (winIni & SPIF_SENDCHANGE)) NotifySettingChange(action, nullptr);
  return ok;
}

UINT GetDoubleClickTime() { return Snapshot().doubleClickTime; }

BOOL SetDoubleClickTime(UINT milliseconds) {
  std::lock_guard<std::mutex> g(settingsLock);
  Current().doubleClickTime = milliseconds ? std::min<UINT>(milliseconds, 5000) : kDefaultDoubleClickTime;
  return TRUE;
}

HMONITOR MonitorFromPoint(POINT pt, DWORD flags) {
  if (flags == MONITOR_DEFAULTTONULL && !Inside(ScreenRect(), pt)) return nullptr;
  return kPrimaryMonitor;
}

HMONITOR MonitorFromRect(const RECT* rect, DWORD flags) {
  if (!rect) return nullptr;
  RECT s = ScreenRect();
  bool meets = rect->left < s.right && rect->right > s.left && rect->top < s.bottom && rect->bottom > s.top;
  if (flags == MONITOR_DEFAULTTONULL && !meets) return nullptr;
  return kPrimaryMonitor;
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return flags == MONITOR_DEFAULTTONULL ? nullptr : kPrimaryMonitor;
  return MonitorFromRect(&r, flags);
}

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
  if (monitor != kPrimaryMonitor || !info || info->cbSize < sizeof(MONITORINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  info->rcMonitor = ScreenRect();
  info->rcWork = WorkArea();
  info->dwFlags = MONITORINFOF_PRIMARY;
  return TRUE;
}

void BroadcastSystemNotice(UINT msg, WPARAM wParam, LPARAM lParam, bool children) {
  std::vector<HWND> targets;
  EnumWindows(
      [](HWND h, LPARAM p) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&targets));
  if (children) {
    std::vector<HWND> all;
    for (HWND top : targets) {
      all.push_back(top);
      if (GetWindowThreadProcessId(top, nullptr) != GetCurrentThreadId()) continue;
      EnumChildWindows(
          top,
          [](HWND h, LPARAM p) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&all));
    }
    targets.swap(all);
  }
  for (HWND h : targets) {
    if (!IsWindow(h)) continue;  // an earlier receiver destroyed it
    DWORD_PTR ignored = 0;
    SendMessageTimeout(h, msg, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &ignored);
  }
}

void NotifySettingChange(UINT action, const char* section) {
  BroadcastSystemNotice(WM_SETTINGCHANGE, action, reinterpret_cast<LPARAM>(section));
}
void NotifyThemeChanged() { BroadcastSystemNotice(WM_THEMECHANGED, 0, 0, true); }
void NotifyTimeChange() { BroadcastSystemNotice(WM_TIMECHANGE, 0, 0); }
void NotifyFontChange() { BroadcastSystemNotice(WM_FONTCHANGE, 0, 0); }

void ResetSystemParameters() {
  std::lock_guard<std::mutex> g(settingsLock);
  Current() = Settings{};
}

BOOL MessageBeep(UINT type) {
  ++beeps;
  lastBeep = type;
  return TRUE;
}
int BeepCount() { return beeps; }
UINT LastBeepType() { return lastBeep; }

}  // namespace win
