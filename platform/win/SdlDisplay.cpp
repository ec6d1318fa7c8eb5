#include "platform/win/SdlDisplay.h"

#include <SDL.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "platform/win/Clipboard.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "platform/win/NonClient.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysParams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Windows.h"
#include "platform/win/WindowsPrivate.h"
#include "platform/rtl/SystemCalls.h"
#include "platform/win/SdlConnection.h"

namespace win {

namespace {

// How often the message wait looks at SDL when there is no display
// connection to wait on (a video driver we cannot see into). With one, the
// wait sleeps on its descriptor, and pumps SDL before every sleep so that
// events SDL already read and keeps on its side are not left waiting.
constexpr long kPumpIntervalNs = 10'000'000;
// More changed rectangles than this in one present go out as their union.
constexpr size_t kMaxDirtyRects = 16;

struct KeyMap {
  SDL_Keycode sdl;
  UINT vk;
};
constexpr KeyMap kKeys[] = {
    {SDLK_BACKSPACE, VK_BACK},   {SDLK_TAB, VK_TAB},          {SDLK_RETURN, VK_RETURN},
    {SDLK_ESCAPE, VK_ESCAPE},    {SDLK_SPACE, VK_SPACE},      {SDLK_PAGEUP, VK_PRIOR},
    {SDLK_PAGEDOWN, VK_NEXT},    {SDLK_END, VK_END},          {SDLK_HOME, VK_HOME},
    {SDLK_LEFT, VK_LEFT},        {SDLK_UP, VK_UP},            {SDLK_RIGHT, VK_RIGHT},
    {SDLK_DOWN, VK_DOWN},        {SDLK_INSERT, VK_INSERT},    {SDLK_DELETE, VK_DELETE},
    {SDLK_PRINTSCREEN, VK_SNAPSHOT}, {SDLK_PAUSE, VK_PAUSE},  {SDLK_HELP, VK_HELP},
    {SDLK_CAPSLOCK, VK_CAPITAL}, {SDLK_NUMLOCKCLEAR, VK_NUMLOCK}, {SDLK_SCROLLLOCK, VK_SCROLL},
    {SDLK_LSHIFT, VK_LSHIFT},    {SDLK_RSHIFT, VK_RSHIFT},    {SDLK_LCTRL, VK_LCONTROL},
    {SDLK_RCTRL, VK_RCONTROL},   {SDLK_LALT, VK_LMENU},       {SDLK_RALT, VK_RMENU},
    {SDLK_LGUI, VK_LWIN},        {SDLK_RGUI, VK_RWIN},        {SDLK_APPLICATION, VK_APPS},
    {SDLK_SEMICOLON, VK_OEM_1},  {SDLK_EQUALS, VK_OEM_PLUS},  {SDLK_COMMA, VK_OEM_COMMA},
    {SDLK_MINUS, VK_OEM_MINUS},  {SDLK_PERIOD, VK_OEM_PERIOD}, {SDLK_SLASH, VK_OEM_2},
    {SDLK_BACKQUOTE, VK_OEM_3},  {SDLK_LEFTBRACKET, VK_OEM_4}, {SDLK_BACKSLASH, VK_OEM_5},
    {SDLK_RIGHTBRACKET, VK_OEM_6}, {SDLK_QUOTE, VK_OEM_7},
    {SDLK_KP_MULTIPLY, VK_MULTIPLY}, {SDLK_KP_PLUS, VK_ADD},  {SDLK_KP_MINUS, VK_SUBTRACT},
    {SDLK_KP_PERIOD, VK_DECIMAL}, {SDLK_KP_DIVIDE, VK_DIVIDE}, {SDLK_KP_ENTER, VK_RETURN},
};

// Keys whose WM_KEYDOWN TranslateMessage turns into a printable WM_CHAR; SDL
// reports the same character again as text input, which must then not make
// a second one.
bool KeyMakesText(UINT vk) {
  if (GetAsyncKeyState(VK_CONTROL) < 0 || GetAsyncKeyState(VK_MENU) < 0) return false;
  return (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') || vk == VK_SPACE ||
         (vk >= VK_NUMPAD0 && vk <= VK_DIVIDE && vk != VK_SEPARATOR) || (vk >= VK_OEM_1 && vk <= VK_OEM_3) ||
         (vk >= VK_OEM_4 && vk <= VK_OEM_7);
}

struct CursorMap {
  const char* name;
  SDL_SystemCursor sdl;
};
constexpr CursorMap kCursors[] = {
    {"IDC_ARROW", SDL_SYSTEM_CURSOR_ARROW},      {"IDC_IBEAM", SDL_SYSTEM_CURSOR_IBEAM},
    {"IDC_WAIT", SDL_SYSTEM_CURSOR_WAIT},        {"IDC_CROSS", SDL_SYSTEM_CURSOR_CROSSHAIR},
    {"IDC_SIZENWSE", SDL_SYSTEM_CURSOR_SIZENWSE},
    {"IDC_SIZENESW", SDL_SYSTEM_CURSOR_SIZENESW}, {"IDC_SIZEWE", SDL_SYSTEM_CURSOR_SIZEWE},
    {"IDC_SIZENS", SDL_SYSTEM_CURSOR_SIZENS},    {"IDC_SIZEALL", SDL_SYSTEM_CURSOR_SIZEALL},
    {"IDC_NO", SDL_SYSTEM_CURSOR_NO},            {"IDC_HAND", SDL_SYSTEM_CURSOR_HAND},
    {"IDC_APPSTARTING", SDL_SYSTEM_CURSOR_WAITARROW},
};

// A colour cursor from the layer's picture of it; null when it has none.
SDL_Cursor* ColourCursor(HCURSOR cursor, int scale) {
  int xHot = 0, yHot = 0;
  SDL_Surface* surface = CursorSurface(cursor, scale, &xHot, &yHot);
  if (!surface) return nullptr;
  SDL_Cursor* made = SDL_CreateColorCursor(surface, xHot, yHot);
  SDL_FreeSurface(surface);
  return made;
}

}  // namespace

SDL_Surface* CursorSurface(HCURSOR cursor, int scale, int* xHotspot, int* yHotspot) {
  CursorImage image;
  if (scale < 1 || !GetCursorImage(cursor, &image) || image.width <= 0 || image.height <= 0) return nullptr;
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, image.width * scale, image.height * scale, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return nullptr;
  for (int y = 0; y < surface->h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
    for (int x = 0; x < surface->w; ++x)
      row[x] = image.argb[static_cast<size_t>((y / scale) * image.width + x / scale)];
  }
  if (xHotspot) *xHotspot = image.xHotspot * scale;
  if (yHotspot) *yHotspot = image.yHotspot * scale;
  return surface;
}

namespace {

class SdlClipboard : public ClipboardBackend {
 public:
  void Publish(const std::string& utf8Text) override {
    last_ = utf8Text;
    SDL_SetClipboardText(utf8Text.c_str());
  }
  bool Fetch(std::string* utf8Text) override {
    if (!SDL_HasClipboardText()) return false;
    char* text = SDL_GetClipboardText();
    if (!text) return false;
    std::string now = text;
    SDL_free(text);
    if (now == last_) return false;
    last_ = now;
    if (utf8Text) *utf8Text = std::move(now);
    return true;
  }

 private:
  std::string last_;
};

struct Shown {
  SDL_Window* window = nullptr;
  bool popup = false;
  bool visible = false;
  bool iconic = false;
  HICON icon = nullptr;  // the one the desktop was given
  RECT rect{};  // where the desktop window was last put (layer pixels)
  std::vector<SDL_Rect> dirty;  // layer pixels
};

SDL_Rect ToSdl(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

class SdlDisplay : public DisplayBackend {
 public:
  SdlDisplay(int scale, sys::FileDescriptor timerFd) : scale_(scale), timerFd_(std::move(timerFd)) {
    oldScreen_ = GetScreenSize();
    SystemParametersInfo(SPI_GETWORKAREA, 0, &oldWorkArea_, 0);
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(0, &bounds) == 0) SetScreenSize(bounds.w / scale_, bounds.h / scale_);
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
      RECT work{usable.x / scale_, usable.y / scale_, (usable.x + usable.w) / scale_, (usable.y + usable.h) / scale_};
      SystemParametersInfo(SPI_SETWORKAREA, 0, &work, 0);
    }
    InstallClipboardBackend(std::make_unique<SdlClipboard>());
  }

  ~SdlDisplay() override {
    InstallClipboardBackend(nullptr);
    for (auto& [hwnd, s] : shown_)
      if (s.window) SDL_DestroyWindow(s.window);
    for (auto& [id, c] : cursors_) SDL_FreeCursor(c);
    for (auto& [handle, c] : colourCursors_) SDL_FreeCursor(c);
    timerFd_.Close();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SetScreenSize(oldScreen_.cx, oldScreen_.cy);
    SystemParametersInfo(SPI_SETWORKAREA, 0, &oldWorkArea_, 0);
  }

  const char* Name() const override { return "sdl"; }

  void TopLevelChanged(HWND hwnd) override {
    if (applyingDesktopChange_ == hwnd) return;
    bool visible = IsWindowVisible(hwnd);
    auto it = shown_.find(hwnd);
    if (!visible && it == shown_.end()) return;  // made on first show
    Shown& s = it != shown_.end() ? it->second : Create(hwnd);
    if (!s.window) return;
    if (!visible) {
      if (s.visible) SDL_HideWindow(s.window);
      s.visible = false;
      return;
    }
    bool iconic = IsIconic(hwnd);
    if (iconic) {
      if (!s.iconic) SDL_MinimizeWindow(s.window);
      s.iconic = true;
      return;
    }
    RECT r;
    GetWindowRect(hwnd, &r);
    if (r.left != s.rect.left || r.top != s.rect.top)
      SDL_SetWindowPosition(s.window, r.left * scale_, r.top * scale_);
    if (r.right - r.left != s.rect.right - s.rect.left || r.bottom - r.top != s.rect.bottom - s.rect.top) {
      SDL_SetWindowSize(s.window, std::max(1, static_cast<int>(r.right - r.left)) * scale_,
                        std::max(1, static_cast<int>(r.bottom - r.top)) * scale_);
      MarkAll(hwnd, s);
    }
    s.rect = r;
    if (s.iconic) SDL_RestoreWindow(s.window);
    if (!s.visible || s.iconic) {
      SDL_Window* focused = SDL_GetKeyboardFocus();
      SDL_ShowWindow(s.window);
      // Without a window manager SDL gives each window it shows the input
      // focus; a popup (menu, list, hint) must not take it, or the keyboard
      // is dead once the popup goes.
      if (s.popup) KeepFocusOff(s.window, focused);
      MarkAll(hwnd, s);
    }
    s.visible = true;
    s.iconic = false;
  }

  void TopLevelDestroyed(HWND hwnd) override {
    auto it = shown_.find(hwnd);
    if (it == shown_.end()) return;
    if (it->second.window) {
      byId_.erase(SDL_GetWindowID(it->second.window));
      SDL_DestroyWindow(it->second.window);
    }
    shown_.erase(it);
  }

  void SurfaceChanged(HWND hwnd, const RECT& rect) override {
    auto it = shown_.find(hwnd);
    if (it == shown_.end()) return;
    std::vector<SDL_Rect>& dirty = it->second.dirty;
    SDL_Rect r = ToSdl(rect);
    for (SDL_Rect& d : dirty)
      if (SDL_HasIntersection(&d, &r) || (d.x == r.x && d.w == r.w && (d.y + d.h == r.y || r.y + r.h == d.y))) {
        SDL_UnionRect(&d, &r, &d);
        return;
      }
    dirty.push_back(r);
    if (dirty.size() > kMaxDirtyRects) {
      for (size_t i = 1; i < dirty.size(); ++i) SDL_UnionRect(&dirty[0], &dirty[i], &dirty[0]);
      dirty.resize(1);
    }
  }

  int EventDescriptor() override { return connectionFd_ >= 0 ? connectionFd_ : timerFd_.Get(); }

  void PumpEvents() override {
    if (pumping_) return;  // a message sent from here may wait for messages again
    pumping_ = true;
    uint64_t ticks;
    if (connectionFd_ < 0 && timerFd_.Valid()) sys::Read(timerFd_.Get(), &ticks, sizeof ticks);
    PresentAll();
    SDL_Event e;
    focusLost_ = false;
    while (SDL_PollEvent(&e)) Handle(e);
    if (focusLost_ && !SDL_GetKeyboardFocus() && GetActiveWindow()) SetActiveWindow(nullptr);
    FollowLayerState();
    PresentAll();
    pumping_ = false;
  }

 private:
  Shown& Create(HWND hwnd) {
    Shown& s = shown_[hwnd];
    DWORD style = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(GetWindowLong(hwnd, GWL_EXSTYLE));
    s.popup = ((style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION) || (exStyle & WS_EX_NOACTIVATE);
    RECT r;
    GetWindowRect(hwnd, &r);
    Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
    // Override-redirect: the window manager neither decorates nor focuses it.
    if (s.popup) flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
    if (exStyle & WS_EX_TOPMOST) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    s.window = SDL_CreateWindow(GetWindowText(hwnd).c_str(), r.left * scale_, r.top * scale_,
                                std::max(1, static_cast<int>(r.right - r.left)) * scale_,
                                std::max(1, static_cast<int>(r.bottom - r.top)) * scale_, flags);
    if (!s.window) {
      shown_.erase(hwnd);
      static Shown none;
      return none;
    }
    s.rect = r;
    byId_[SDL_GetWindowID(s.window)] = hwnd;
    if (connectionFd_ < 0) connectionFd_ = SdlConnectionDescriptor(s.window);
    return s;
  }

  void MarkAll(HWND hwnd, Shown& s) {
    SurfacePixels px;
    if (!GetWindowSurface(hwnd, &px)) return;
    s.dirty.assign(1, SDL_Rect{0, 0, px.width, px.height});
  }

  void PresentAll() {
    for (auto& [hwnd, s] : shown_)
      if (!s.dirty.empty()) Present(hwnd, s);
  }

  // Copies the changed rectangles of the backing surface to the desktop
  // window. Outside a window region the desktop colour shows, since the
  // desktop window itself stays rectangular.
  void Present(HWND hwnd, Shown& s) {
    std::vector<SDL_Rect> dirty;
    dirty.swap(s.dirty);
    if (!s.visible || s.iconic) return;
    SurfacePixels px;
    if (!GetWindowSurface(hwnd, &px) || px.width <= 0 || px.height <= 0) return;
    SDL_Surface* target = SDL_GetWindowSurface(s.window);
    if (!target) return;
    wnd::Window* w = wnd::Lookup(hwnd);
    HRGN region = w ? w->region : nullptr;
    std::vector<uint32_t> clipped;
    uint32_t* pixels = px.pixels;
    if (region) {
      clipped.assign(px.pixels, px.pixels + static_cast<size_t>(px.width) * static_cast<size_t>(px.height));
      COLORREF c = GetSysColor(COLOR_DESKTOP);
      uint32_t desk = (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
                      GetBValue(c);
      for (const SDL_Rect& d : dirty)
        for (int y = std::max(0, d.y); y < std::min(px.height, d.y + d.h); ++y)
          for (int x = std::max(0, d.x); x < std::min(px.width, d.x + d.w); ++x)
            if (!PtInRegion(region, x, y)) clipped[static_cast<size_t>(y) * static_cast<size_t>(px.width) + x] = desk;
      pixels = clipped.data();
    }
    SDL_Surface* source =
        SDL_CreateRGBSurfaceWithFormatFrom(pixels, px.width, px.height, 32, px.strideBytes, SDL_PIXELFORMAT_RGB888);
    if (!source) return;
    std::vector<SDL_Rect> updated;
    SDL_Rect whole{0, 0, px.width, px.height};
    for (SDL_Rect d : dirty) {
      if (!SDL_IntersectRect(&d, &whole, &d)) continue;
      SDL_Rect to{d.x * scale_, d.y * scale_, d.w * scale_, d.h * scale_};
      SDL_Rect out = to;
      if (scale_ == 1)
        SDL_BlitSurface(source, &d, target, &out);
      else
        SDL_BlitScaled(source, &d, target, &out);
      SDL_Rect screen{0, 0, target->w, target->h};
      if (SDL_IntersectRect(&to, &screen, &to)) updated.push_back(to);
    }
    SDL_FreeSurface(source);
    if (!updated.empty()) SDL_UpdateWindowSurfaceRects(s.window, updated.data(), static_cast<int>(updated.size()));
  }

  HWND WindowOf(Uint32 id) const {
    auto it = byId_.find(id);
    return it == byId_.end() || !IsWindow(it->second) ? nullptr : it->second;
  }

  // A point of a desktop window, in the layer's screen pixels.
  POINT ScreenPoint(HWND hwnd, int x, int y) const {
    RECT r;
    GetWindowRect(hwnd, &r);
    return {r.left + static_cast<LONG>(std::floor(static_cast<double>(x) / scale_)),
            r.top + static_cast<LONG>(std::floor(static_cast<double>(y) / scale_))};
  }

  POINT GlobalPoint() const {
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    return {x / scale_, y / scale_};
  }

  void Handle(const SDL_Event& e) {
    switch (e.type) {
      case SDL_MOUSEMOTION:
        if (HWND h = WindowOf(e.motion.windowID)) InjectMouseMove(ScreenPoint(h, e.motion.x, e.motion.y));
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        HWND h = WindowOf(e.button.windowID);
        UINT button = e.button.button == SDL_BUTTON_LEFT     ? VK_LBUTTON
                      : e.button.button == SDL_BUTTON_RIGHT  ? VK_RBUTTON
                      : e.button.button == SDL_BUTTON_MIDDLE ? VK_MBUTTON
                                                             : 0;
        if (h && button) InjectMouseButton(button, e.type == SDL_MOUSEBUTTONDOWN, ScreenPoint(h, e.button.x, e.button.y));
        break;
      }
      case SDL_MOUSEWHEEL: {
        int y = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        if (y) InjectMouseWheel(y * WHEEL_DELTA, GlobalPoint());
        break;
      }
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        UINT vk = VirtualKeyFromSdl(e.key.keysym.sym);
        if (e.type == SDL_KEYDOWN) {
          textFromKey_ = vk && KeyMakesText(vk);
          // With Ctrl or Alt held the key makes its own (system) character
          // or none; the text SDL reports for it is not another one.
          chordKey_ = vk && !textFromKey_ && (GetAsyncKeyState(VK_CONTROL) < 0 || GetAsyncKeyState(VK_MENU) < 0);
        } else {
          chordKey_ = false;  // its text, if any, came before the release
        }
        if (!vk) break;
        InjectKey(vk, e.type == SDL_KEYDOWN);
        break;
      }
      case SDL_TEXTINPUT:
        TypeText(e.text.text);
        break;
      case SDL_WINDOWEVENT:
        HandleWindowEvent(e.window);
        break;
      case SDL_CLIPBOARDUPDATE:  // fetched when the program asks
      default:
        break;
    }
  }

  // One WM_CHAR per code point, unless the key just pressed makes it.
  void TypeText(const char* utf8) {
    if (textFromKey_ || chordKey_) {
      textFromKey_ = chordKey_ = false;
      std::u32string chars = DecodeUtf8(utf8);
      if (chars.size() <= 1) return;
      for (size_t i = 1; i < chars.size(); ++i) InjectCharacter(chars[i]);
      return;
    }
    for (char32_t c : DecodeUtf8(utf8)) InjectCharacter(c);
  }

  static std::u32string DecodeUtf8(const char* s) {
    std::u32string out;
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    while (*p) {
      char32_t c = *p;
      int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
      if (extra < 0) {
        ++p;
        continue;
      }
      c = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
      ++p;
      bool ok = true;
      for (int i = 0; i < extra; ++i, ++p) {
        if ((*p & 0xC0) != 0x80) {
          ok = false;
          break;
        }
        c = (c << 6) | (*p & 0x3F);
      }
      if (ok) out.push_back(c);
    }
    return out;
  }

  void HandleWindowEvent(const SDL_WindowEvent& e) {
    HWND h = WindowOf(e.windowID);
    if (!h) return;
    Shown& s = shown_[h];
    switch (e.event) {
      case SDL_WINDOWEVENT_EXPOSED: MarkAll(h, s); break;
      case SDL_WINDOWEVENT_MOVED: {
        POINT p{e.data1 / scale_, e.data2 / scale_};
        if (p.x == s.rect.left && p.y == s.rect.top) break;
        applyingDesktopChange_ = h;
        SetWindowPos(h, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        applyingDesktopChange_ = nullptr;
        GetWindowRect(h, &s.rect);
        break;
      }
      case SDL_WINDOWEVENT_SIZE_CHANGED: {
        int width = e.data1 / scale_, height = e.data2 / scale_;
        if (width == s.rect.right - s.rect.left && height == s.rect.bottom - s.rect.top) break;
        applyingDesktopChange_ = h;
        SetWindowPos(h, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        applyingDesktopChange_ = nullptr;
        GetWindowRect(h, &s.rect);
        MarkAll(h, s);
        break;
      }
      case SDL_WINDOWEVENT_MINIMIZED:
        s.iconic = true;
        if (!IsIconic(h)) ShowWindow(h, SW_MINIMIZE);
        break;
      case SDL_WINDOWEVENT_RESTORED:
        s.iconic = false;
        if (IsIconic(h)) ShowWindow(h, SW_RESTORE);
        MarkAll(h, s);
        break;
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        if (!s.popup && GetActiveWindow() != h) SetActiveWindow(h);
        SyncModifiers();
        break;
      case SDL_WINDOWEVENT_FOCUS_LOST: focusLost_ = true; break;
      case SDL_WINDOWEVENT_LEAVE:
        if (!GetCapture()) InjectMouseMove(GlobalPoint());
        break;
      case SDL_WINDOWEVENT_CLOSE: PostMessage(h, WM_SYSCOMMAND, SC_CLOSE, 0); break;
      default: break;
    }
  }

  // Keys let go of while another program had the focus would stay down.
  void SyncModifiers() {
    SDL_Keymod mod = SDL_GetModState();
    const struct {
      UINT vk;
      SDL_Keymod mask;
    } sides[] = {{VK_LSHIFT, KMOD_LSHIFT}, {VK_RSHIFT, KMOD_RSHIFT}, {VK_LCONTROL, KMOD_LCTRL},
                 {VK_RCONTROL, KMOD_RCTRL}, {VK_LMENU, KMOD_LALT},   {VK_RMENU, KMOD_RALT}};
    for (const auto& side : sides) {
      bool layerDown = GetAsyncKeyState(static_cast<int>(side.vk)) < 0;
      bool down = (mod & side.mask) != 0;
      if (layerDown != down) InjectKey(side.vk, down);
    }
  }

  // What the program changed on its side: the cursor, the capture, window
  // titles, the active window.
  void FollowLayerState() {
    HCURSOR cursor = GetCursor();
    int shown = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    bool visible = cursor && shown >= 0;
    if (visible != cursorVisible_) {
      SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
      cursorVisible_ = visible;
    }
    if (visible && cursor != cursor_) {
      cursor_ = cursor;
      SDL_Cursor* sdl = ColourCursorFor(cursor);
      if (!sdl) {
        SDL_SystemCursor id = SDL_SYSTEM_CURSOR_ARROW;
        std::string name = CursorName(cursor);
        for (const CursorMap& c : kCursors)
          if (name == c.name) id = c.sdl;
        SDL_Cursor*& system = cursors_[id];
        if (!system) system = SDL_CreateSystemCursor(id);
        sdl = system;
      }
      if (sdl) SDL_SetCursor(sdl);
    }
    bool captured = GetCapture() != nullptr;
    if (captured != captured_) {
      SDL_CaptureMouse(captured ? SDL_TRUE : SDL_FALSE);
      captured_ = captured;
    }
    for (auto& [hwnd, s] : shown_) {
      if (!s.window || !s.visible) continue;
      std::string title = GetWindowText(hwnd);
      if (title != SDL_GetWindowTitle(s.window)) SDL_SetWindowTitle(s.window, title.c_str());
      // The window's icon goes to the desktop (task bars, window lists).
      auto icon = reinterpret_cast<HICON>(SendMessage(hwnd, WM_GETICON, ICON_BIG, 0));
      if (icon != s.icon) {
        s.icon = icon;
        CursorImage image;
        if (icon && GetCursorImage(icon, &image) && image.width > 0 && image.height > 0) {
          SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormatFrom(image.argb.data(), image.width, image.height, 32,
                                                                     image.width * 4, SDL_PIXELFORMAT_ARGB8888);
          if (picture) {
            SDL_SetWindowIcon(s.window, picture);
            SDL_FreeSurface(picture);
          }
        }
      }
    }
    HWND active = GetActiveWindow();
    if (active != active_) {
      active_ = active;
      auto it = shown_.find(active);
      if (it != shown_.end() && it->second.window && it->second.visible && !it->second.popup &&
          SDL_GetKeyboardFocus() != it->second.window) {
        SDL_RaiseWindow(it->second.window);
        // Without a window manager raising hands out no focus (and a
        // window that had it, hidden now, left it nowhere).
        SDL_SetWindowInputFocus(it->second.window);
      }
    }
  }

  // Gives the input focus back from a popup just shown to the window that
  // had it, or to the active window.
  void KeepFocusOff(SDL_Window* popup, SDL_Window* focused) {
    SDL_Window* back = focused && focused != popup ? focused : nullptr;
    if (!back) {
      auto it = shown_.find(GetActiveWindow());
      if (it != shown_.end() && it->second.visible && !it->second.popup) back = it->second.window;
    }
    if (back) SDL_SetWindowInputFocus(back);
  }

  // Kept per handle; a destroyed cursor's SDL cursor goes with the backend
  // (handles are never reused, so it cannot stand for another).
  SDL_Cursor* ColourCursorFor(HCURSOR cursor) {
    auto it = colourCursors_.find(cursor);
    if (it != colourCursors_.end()) return it->second;
    SDL_Cursor* made = ColourCursor(cursor, scale_);
    if (made) colourCursors_[cursor] = made;
    return made;
  }

  int scale_;
  sys::FileDescriptor timerFd_;
  SIZE oldScreen_{};
  RECT oldWorkArea_{};
  std::unordered_map<HWND, Shown> shown_;
  std::unordered_map<Uint32, HWND> byId_;
  std::unordered_map<int, SDL_Cursor*> cursors_;
  std::unordered_map<HCURSOR, SDL_Cursor*> colourCursors_;
  HWND applyingDesktopChange_ = nullptr;
  HWND active_ = nullptr;
  HCURSOR cursor_ = nullptr;
  bool cursorVisible_ = true;
  bool captured_ = false;
  bool focusLost_ = false;
  bool textFromKey_ = false;
  bool chordKey_ = false;
  int connectionFd_ = -1;  // the display connection, once a window shows which
  bool pumping_ = false;
};

}  // namespace

DisplayKind ChooseDisplayKind(const char* forced, bool displayPresent) {
  if (forced && *forced) {
    std::string f = forced;
    if (f == "sdl") return DisplayKind::Sdl;
    if (f == "headless") return DisplayKind::Headless;
    throw Exception("VXN_DISPLAY must be \"sdl\" or \"headless\", not \"" + f + "\"");
  }
  return displayPresent ? DisplayKind::Sdl : DisplayKind::Headless;
}

int PresentScale(const char* forced, float displayDpi) {
  if (forced && *forced) {
    int n = std::atoi(forced);
    if (n >= 1 && n <= 4) return n;
  }
  if (!(displayDpi > 0)) return 1;
  return std::clamp(static_cast<int>(std::lround(displayDpi / 96.0f)), 1, 4);
}

UINT VirtualKeyFromSdl(int sdlKeycode) {
  if (sdlKeycode >= 'a' && sdlKeycode <= 'z') return static_cast<UINT>(sdlKeycode - 'a' + 'A');
  if (sdlKeycode >= '0' && sdlKeycode <= '9') return static_cast<UINT>(sdlKeycode);
  if (sdlKeycode >= SDLK_F1 && sdlKeycode <= SDLK_F12) return VK_F1 + static_cast<UINT>(sdlKeycode - SDLK_F1);
  if (sdlKeycode >= SDLK_KP_1 && sdlKeycode <= SDLK_KP_9) return VK_NUMPAD0 + 1 + static_cast<UINT>(sdlKeycode - SDLK_KP_1);
  if (sdlKeycode == SDLK_KP_0) return VK_NUMPAD0;
  for (const KeyMap& k : kKeys)
    if (k.sdl == sdlKeycode) return k.vk;
  return 0;
}

std::unique_ptr<DisplayBackend> OpenSdlDisplay(std::string* error) {
  // The layer makes its own double clicks and keeps its own activation; the
  // first click into a window must reach it.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // Surfaces go to the window through the plain framebuffer: a renderer
  // behind it would re-create each desktop window on first present.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // SIGINT and SIGTERM are the program's own to handle (they close it
  // cleanly); SDL would turn them into a quit event nobody reads.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    if (error) *error = SDL_GetError();
    return nullptr;
  }
  float dpi = 0;
  if (SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) != 0) dpi = 0;
  int scale = PresentScale(std::getenv("VXN_SCALE"), dpi);
  // Without the timer the display is still pumped whenever a message comes.
  sys::CallResult timer = sys::PeriodicTimer(kPumpIntervalNs, TFD_NONBLOCK | TFD_CLOEXEC);
  SDL_StartTextInput();
  return std::make_unique<SdlDisplay>(scale, sys::FileDescriptor(timer ? static_cast<int>(timer.Value) : -1));
}

const char* InstallDisplayForEnvironment() {
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  bool present = (x && *x) || (wayland && *wayland);
  const char* forced = std::getenv("VXN_DISPLAY");
  if (ChooseDisplayKind(forced, present) == DisplayKind::Headless) {
    InstallDisplay(nullptr);
    return CurrentDisplay().Name();
  }
  std::string error;
  std::unique_ptr<DisplayBackend> sdl = OpenSdlDisplay(&error);
  if (!sdl) {
    if (forced && *forced) throw Exception("cannot open the SDL display: " + error);
    InstallDisplay(nullptr);
  } else {
    InstallDisplay(std::move(sdl));
  }
  return CurrentDisplay().Name();
}

}  // namespace win
