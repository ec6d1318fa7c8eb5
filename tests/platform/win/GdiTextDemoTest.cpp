// Writes a picture of text in every mapped font, every alignment and every
// ellipsis mode, for a person to look at (VXN_DEMO_DIR, else the working
// directory).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win/Gdi.h"
#include "platform/win/GdiFonts.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/GdiText.h"

using namespace win;

namespace {

HFONT Font(const char* face, int height, int weight = FW_NORMAL, int escapement = 0, BYTE italic = 0,
           BYTE underline = 0, BYTE quality = DEFAULT_QUALITY) {
  return CreateFont(height, 0, escapement, escapement, weight, italic, underline, 0, DEFAULT_CHARSET, 0, 0,
                    quality, 0, face);
}

}  // namespace

TEST(GdiTextDemo, WritesPictureOfFontsAlignmentsAndEllipses) {
  const int W = 900, H = 860;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bm = CreateBitmap(W, H, 1, 32, nullptr);
  HGDIOBJ oldBm = SelectObject(dc, bm);
  RECT all{0, 0, W, H};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  HBRUSH frame = CreateSolidBrush(RGB(200, 200, 200));

  // Every mapped face, plain, bold, italic and underlined.
  const char* faces[] = {"MS Sans Serif", "Tahoma",          "Arial",  "Verdana", "Courier New",
                         "Times New Roman", "宋体",           "SimSun", "MS Song", "Unknown Face"};
  int y = 8;
  for (const char* face : faces) {
    HFONT plain = Font(face, -13);
    SelectObject(dc, plain);
    char family[64];
    GetTextFace(dc, sizeof family, family);
    std::string line = std::string(face) + " → " + family + ": The quick brown fox 0123 中文字体 Ωμ";
    TextOut(dc, 8, y, line.c_str(), static_cast<int>(line.size()));
    HFONT styles[] = {Font(face, -13, FW_BOLD), Font(face, -13, FW_NORMAL, 0, 1), Font(face, -13, FW_NORMAL, 0, 0, 1),
                      Font(face, -13, FW_NORMAL, 0, 0, 0, ANTIALIASED_QUALITY)};
    const char* names[] = {"Bold", "Italic", "Underline", "Smooth"};
    int x = 560;
    for (int i = 0; i < 4; ++i) {
      SelectObject(dc, styles[i]);
      TextOut(dc, x, y, names[i], static_cast<int>(std::string(names[i]).size()));
      SIZE sz;
      GetTextExtentPoint32(dc, names[i], static_cast<int>(std::string(names[i]).size()), &sz);
      x += sz.cx + 10;
    }
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    for (HFONT s : styles) DeleteObject(s);
    DeleteObject(plain);
    y += 20;
  }

  // DrawText alignments in framed boxes.
  HFONT ui = Font("Tahoma", -12);
  SelectObject(dc, ui);
  const UINT horz[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  const UINT vert[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};
  const char* hn[] = {"left", "center", "right"};
  const char* vn[] = {"top", "vcenter", "bottom"};
  y += 10;
  for (int v = 0; v < 3; ++v)
    for (int h = 0; h < 3; ++h) {
      RECT r{8 + h * 150, y + v * 44, 8 + h * 150 + 140, y + v * 44 + 40};
      FrameRect(dc, &r, frame);
      std::string t = std::string("&") + hn[h] + " " + vn[v];
      DrawText(dc, t.c_str(), -1, &r, horz[h] | vert[v] | DT_SINGLELINE);
    }
  // Word break and tabs.
  RECT wb{470, y, 700, y + 130};
  FrameRect(dc, &wb, frame);
  DrawText(dc, "Word break: the text flows onto as many lines as it needs, centred.\nTabs:\tone\ttwo\tthree", -1, &wb,
           DT_WORDBREAK | DT_CENTER | DT_EXPANDTABS);
  RECT cj{710, y, 890, y + 130};
  FrameRect(dc, &cj, frame);
  DrawText(dc, "中文换行：每个汉字之间都可以断开，不需要空格。Mixed with English words.", -1, &cj, DT_WORDBREAK);
  y += 140;

  // Ellipsis modes.
  struct Mode {
    UINT flags;
    const char* name;
  };
  const Mode modes[] = {{0, "clipped"},
                        {DT_END_ELLIPSIS, "DT_END_ELLIPSIS"},
                        {DT_PATH_ELLIPSIS, "DT_PATH_ELLIPSIS"},
                        {DT_END_ELLIPSIS | DT_PATH_ELLIPSIS, "both"}};
  for (const Mode& m : modes) {
    TextOut(dc, 8, y + 2, m.name, static_cast<int>(std::string(m.name).size()));
    RECT r{160, y, 400, y + 20};
    FrameRect(dc, &r, frame);
    DrawText(dc, "C:\\Program Files\\Radio Programmer\\Channels\\Memory bank.dat", -1, &r,
             m.flags | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    RECT r2{420, y, 600, y + 20};
    FrameRect(dc, &r2, frame);
    DrawText(dc, "A long caption that does not fit the box", -1, &r2, m.flags | DT_SINGLELINE | DT_VCENTER);
    y += 24;
  }

  // TextOut alignments around a marked reference point, opaque background.
  y += 16;
  const UINT aligns[] = {TA_LEFT | TA_TOP, TA_CENTER | TA_BASELINE, TA_RIGHT | TA_BOTTOM};
  const char* an[] = {"TA_LEFT|TA_TOP", "TA_CENTER|TA_BASELINE", "TA_RIGHT|TA_BOTTOM"};
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(255, 255, 160));
  for (int i = 0; i < 3; ++i) {
    int x = 150 + i * 280;
    SetTextAlign(dc, aligns[i]);
    TextOut(dc, x, y + 10, an[i], static_cast<int>(std::string(an[i]).size()));
    RECT dot{x - 1, y + 9, x + 2, y + 12};
    FillRect(dc, &dot, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_HIGHLIGHT + 1)));
  }
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  SetBkMode(dc, TRANSPARENT);

  // Rotated text.
  y += 40;
  for (int a = 0; a < 360; a += 45) {
    HFONT r = Font("Arial", -14, FW_NORMAL, a * 10);
    SelectObject(dc, r);
    std::string t = "  " + std::to_string(a) + " degrees";
    TextOut(dc, 150, y + 110, t.c_str(), static_cast<int>(t.size()));
    SelectObject(dc, ui);
    DeleteObject(r);
  }
  HFONT up = Font("Arial", -16, FW_BOLD, 900);
  SelectObject(dc, up);
  SetTextColor(dc, RGB(0, 0, 160));
  TextOut(dc, 330, y + 200, "Reading upward", 14);
  HFONT down = Font("Arial", -16, FW_BOLD, 2700);
  SelectObject(dc, down);
  TextOut(dc, 360, y + 20, "Reading downward", 16);
  SelectObject(dc, ui);
  DeleteObject(up);
  DeleteObject(down);
  SetTextColor(dc, RGB(0, 0, 0));

  // Character extra and justification.
  SetTextCharacterExtra(dc, 3);
  TextOut(dc, 420, y + 20, "Character extra 3", 17);
  SetTextCharacterExtra(dc, 0);
  SetTextJustification(dc, 60, 3);
  TextOut(dc, 420, y + 40, "Justified by sixty pixels", 25);
  SetTextJustification(dc, 0, 0);
  INT tabs[] = {60, 120};
  TabbedTextOut(dc, 420, y + 60, "Tabbed\tat 60\tat 120", 19, 2, tabs, 420);

  SelectObject(dc, oldFont);
  DeleteObject(ui);
  DeleteObject(frame);

  const char* dir = std::getenv("VXN_DEMO_DIR");
  std::string path = std::string(dir && *dir ? dir : ".") + "/gdi-text-demo.png";
  EXPECT_TRUE(SaveBitmapToPng(bm, path));
  std::printf("text demo written to %s\n", path.c_str());
  SelectObject(dc, oldBm);
  DeleteDC(dc);
  DeleteObject(bm);
}
