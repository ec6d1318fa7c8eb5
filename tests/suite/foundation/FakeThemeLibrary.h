// A visual-style library for tests, bound in place of the system's through
// LoadVisualStyleLibrary: it opens the classes it is told to, reports the
// theme name it is given, answers colours, sizes and content rectangles
// from tables, fills what it is asked to draw with one colour per part and
// state, and records every call with its part and state numbers.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/rtl/Utf8.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Rects.h"
#include "suite/foundation/dxThemeManager.h"

namespace fake_theme {

struct Library {
  bool active = true;
  std::set<std::u16string> refused;  // upper-case class names that do not open
  std::u16string fileName = u"aero.msstyles";
  std::u16string colorName = u"NormalColor";
  bool nameFails = false;
  std::vector<std::string> calls;
  std::vector<std::u16string> opened;  // class lists as asked for
  int nextHandle = 1;
  std::map<win::HTHEME, std::u16string> handles;
  std::map<std::tuple<int, int, int>, win::COLORREF> colors;  // part, state, property
  win::RECT contentMargins{2, 3, 2, 3};                        // left, top, right, bottom
  win::SIZE partSize{13, 13};
  bool partiallyTransparent = false;
  int closed = 0;
};

inline Library& Lib() {
  static Library lib;
  return lib;
}

inline std::u16string Upper(std::u16string s) {
  for (char16_t& c : s)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  return s;
}

inline std::string ClassOf(win::HTHEME t) {
  auto it = Lib().handles.find(t);
  return it == Lib().handles.end() ? "?" : Utf16ToUtf8(it->second);
}

inline void Record(const std::string& s) { Lib().calls.push_back(s); }

// The colour a part and state are filled with.
inline win::COLORREF PartColor(int part, int state) {
  return win::RGB(static_cast<win::BYTE>(10 + part * 7), static_cast<win::BYTE>(20 + state * 11), 200);
}

inline win::HTHEME OpenThemeData(win::HWND, win::LPCWSTR list) {
  std::u16string l(list ? list : u"");
  Lib().opened.push_back(l);
  if (Lib().refused.count(Upper(l))) return nullptr;
  auto h = reinterpret_cast<win::HTHEME>(static_cast<uintptr_t>(Lib().nextHandle++));
  Lib().handles[h] = l;
  return h;
}
inline win::HRESULT CloseThemeData(win::HTHEME t) {
  ++Lib().closed;
  Lib().handles.erase(t);
  return win::S_OK;
}
inline win::BOOL IsThemeActive() { return Lib().active; }
inline win::HRESULT GetCurrentThemeName(win::LPWSTR file, int fileLen, win::LPWSTR color, int colorLen, win::LPWSTR,
                                        int) {
  if (Lib().nameFails) return win::E_FAIL;
  auto put = [](win::LPWSTR dst, int len, const std::u16string& s) {
    size_t n = std::min<size_t>(s.size(), static_cast<size_t>(len - 1));
    std::copy(s.begin(), s.begin() + static_cast<long>(n), dst);
    dst[n] = 0;
  };
  put(file, fileLen, Lib().fileName);
  put(color, colorLen, Lib().colorName);
  return win::S_OK;
}
inline win::HRESULT DrawThemeBackground(win::HTHEME t, win::HDC dc, int part, int state, const win::RECT* r,
                                        const win::RECT* clip) {
  Record("Background " + ClassOf(t) + " " + std::to_string(part) + " " + std::to_string(state) + " " +
         std::to_string(r->left) + "," + std::to_string(r->top) + "," + std::to_string(r->right) + "," +
         std::to_string(r->bottom) + (clip ? " clipped" : ""));
  win::RECT fill = *r;
  if (clip) win::IntersectRect(&fill, r, clip);
  win::HBRUSH b = win::CreateSolidBrush(PartColor(part, state));
  win::FillRect(dc, &fill, b);
  win::DeleteObject(b);
  return win::S_OK;
}
inline win::HRESULT DrawThemeText(win::HTHEME t, win::HDC, int part, int state, win::LPCWSTR text, int count,
                                  win::DWORD flags, win::DWORD, const win::RECT* r) {
  Record("Text " + ClassOf(t) + " " + std::to_string(part) + " " + std::to_string(state) + " \"" +
         Utf16ToUtf8(std::u16string(text, static_cast<size_t>(count))) + "\" " + std::to_string(flags) + " " +
         std::to_string(r->left) + "," + std::to_string(r->top) + "," + std::to_string(r->right) + "," +
         std::to_string(r->bottom));
  return win::S_OK;
}
inline win::HRESULT DrawThemeEdge(win::HTHEME t, win::HDC, int part, int state, const win::RECT*, win::UINT edge,
                                  win::UINT flags, win::RECT*) {
  Record("Edge " + ClassOf(t) + " " + std::to_string(part) + " " + std::to_string(state) + " " +
         std::to_string(edge) + " " + std::to_string(flags));
  return win::S_OK;
}
inline win::HRESULT GetThemeColor(win::HTHEME t, int part, int state, int prop, win::COLORREF* c) {
  Record("Color " + ClassOf(t) + " " + std::to_string(part) + " " + std::to_string(state) + " " +
         std::to_string(prop));
  auto it = Lib().colors.find({part, state, prop});
  if (it == Lib().colors.end()) return win::E_FAIL;
  *c = it->second;
  return win::S_OK;
}
inline win::HRESULT GetThemeBackgroundContentRect(win::HTHEME t, win::HDC, int part, int state, const win::RECT* b,
                                                  win::RECT* c) {
  Record("Content " + ClassOf(t) + " " + std::to_string(part) + " " + std::to_string(state));
  const win::RECT& m = Lib().contentMargins;
  *c = {b->left + m.left, b->top + m.top, b->right - m.right, b->bottom - m.bottom};
  return win::S_OK;
}
inline win::HRESULT GetThemePartSize(win::HTHEME t, win::HDC, int part, int state, const win::RECT*,
                                     win::THEMESIZE, win::SIZE* s) {
  Record("Size " + ClassOf(t) + " " + std::to_string(part) + " " + std::to_string(state));
  *s = Lib().partSize;
  return win::S_OK;
}
inline win::HRESULT GetThemeBackgroundRegion(win::HTHEME t, win::HDC, int part, int state, const win::RECT* r,
                                             win::HRGN* rgn) {
  Record("Region " + ClassOf(t) + " " + std::to_string(part) + " " + std::to_string(state));
  *rgn = win::CreateEllipticRgn(r->left, r->top, r->right, r->bottom);
  return win::S_OK;
}
inline win::BOOL IsThemeBackgroundPartiallyTransparent(win::HTHEME, int, int) { return Lib().partiallyTransparent; }

inline void* Lookup(std::string_view name) {
#define FAKE_ENTRY(n) \
  if (name == #n) return reinterpret_cast<void*>(&fake_theme::n);
  FAKE_ENTRY(OpenThemeData)
  FAKE_ENTRY(CloseThemeData)
  FAKE_ENTRY(IsThemeActive)
  FAKE_ENTRY(GetCurrentThemeName)
  FAKE_ENTRY(DrawThemeBackground)
  FAKE_ENTRY(DrawThemeText)
  FAKE_ENTRY(DrawThemeEdge)
  FAKE_ENTRY(GetThemeColor)
  FAKE_ENTRY(GetThemeBackgroundContentRect)
  FAKE_ENTRY(GetThemePartSize)
  FAKE_ENTRY(GetThemeBackgroundRegion)
  FAKE_ENTRY(IsThemeBackgroundPartiallyTransparent)
#undef FAKE_ENTRY
  return nullptr;
}

// Binds the fake library for the length of a test, then the system's again.
class FakeThemeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Lib() = Library{};
    LoadVisualStyleLibrary(&Lookup);
  }
  void TearDown() override { LoadVisualStyleLibrary(&SystemUxThemeLookup); }
  static Library& lib() { return Lib(); }
};

}  // namespace fake_theme
