// Draws every part and state of every class of the visual style, one picture
// per class and dpi (96 and 192), into the folder given on the command line:
// a row per part, a column per state, the part's name on the left.
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/win/WinStartup.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiFonts.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/GdiText.h"
#include "platform/win/UxTheme.h"
#include "platform/win/VisualStyleParts.h"

extern "C" const char* __lsan_default_options() {
  return "suppressions=" VXN_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

namespace {

using namespace win;
namespace vs = win::visualstyle;

// Layout at 96 dpi.
constexpr int kLabelWidth = 170;
constexpr int kCell = 52;
constexpr int kRowGap = 8;
constexpr int kTop = 22;

// Parts that have a size of their own are drawn at it; the others in a
// rectangle large enough to show their border and fill.
SIZE DrawSize(const vs::PartInfo& p) {
  bool fixed = p.minSize.cx == p.trueSize.cx && p.minSize.cy == p.trueSize.cy && p.trueSize.cx >= 8 &&
               p.trueSize.cy >= 8;
  if (fixed) return {p.trueSize.cx, p.trueSize.cy};
  return {std::max(40, std::min(p.trueSize.cx, 44)), std::max(24, std::min(p.trueSize.cy, 30))};
}

bool DrawClass(vs::ThemeClass cls, int dpi, const std::string& path) {
  auto s = [dpi](int v) { return vs::Scale(v, dpi); };
  int rows = 0, columns = 1, height = kTop;
  for (int part = 1; part <= vs::LastPart(cls); ++part)
    if (const vs::PartInfo* p = vs::FindPart(cls, part)) {
      ++rows;
      columns = std::max(columns, p->states);
      height += std::max(DrawSize(*p).cy, 14) + kRowGap;
    }
  int width = s(kLabelWidth + columns * kCell);
  height = s(height);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(width, height, 1, 32, nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  SetDCResolution(dc, dpi);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HFONT font = CreateFont(-s(11), 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);

  std::u16string name = Utf8ToUtf16(vs::ClassName(cls));
  HTHEME theme = OpenThemeData(nullptr, name.c_str());
  std::string title = std::string(vs::ClassName(cls)) + " at " + std::to_string(dpi) + " dpi";
  TextOut(dc, s(4), s(4), title.c_str(), static_cast<int>(title.size()));
  for (int state = 1; state <= columns; ++state) {
    std::string label = std::to_string(state);
    TextOut(dc, s(kLabelWidth + (state - 1) * kCell + 2), s(4), label.c_str(), static_cast<int>(label.size()));
  }
  int y = kTop;
  bool ok = theme != nullptr;
  for (int part = 1; part <= vs::LastPart(cls) && ok; ++part) {
    const vs::PartInfo* p = vs::FindPart(cls, part);
    if (!p) continue;
    SIZE size = DrawSize(*p);
    std::string label = std::to_string(part) + " " + p->name;
    TextOut(dc, s(4), s(y), label.c_str(), static_cast<int>(label.size()));
    for (int state = 1; state <= p->states; ++state) {
      int x = kLabelWidth + (state - 1) * kCell;
      RECT r{s(x), s(y), s(x) + s(size.cx), s(y) + s(size.cy)};
      ok = SUCCEEDED(DrawThemeBackground(theme, dc, part, state, &r, nullptr)) && ok;
    }
    y += std::max(size.cy, 14) + kRowGap;
  }
  CloseThemeData(theme);
  ok = SaveDCToPng(dc, path) && ok;
  SelectObject(dc, oldFont);
  DeleteObject(font);
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: theme_gallery <output folder>\n");
    return 2;
  }
  InitializeWin();
  SetVisualStylesEnabled(true);
  std::filesystem::create_directories(argv[1]);
  int failed = 0;
  for (int c = 0; c < vs::kClassCount; ++c)
    for (int dpi : {96, 192}) {
      auto cls = static_cast<vs::ThemeClass>(c);
      std::string path = std::string(argv[1]) + "/" + vs::ClassName(cls) + "-" + std::to_string(dpi) + ".png";
      if (!DrawClass(cls, dpi, path)) {
        std::fprintf(stderr, "failed: %s\n", path.c_str());
        ++failed;
      }
    }
  std::printf("%d pictures in %s, %d failed\n", 2 * vs::kClassCount - failed, argv[1], failed);
  return failed ? 1 : 0;
}
