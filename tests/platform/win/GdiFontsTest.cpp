#include "platform/win/GdiFonts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/platform/win/GdiTextFixture.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/WinUser.h"

using namespace win;

// Fonts ------------------------------------------------------------------------------------

TEST(GdiFonts, FaceNamesMapToInstalledFamilies) {
  struct Case {
    const char* face;
    BYTE charSet;
    BYTE pitch;
    const char* family;
  };
  const Case cases[] = {
      {"MS Sans Serif", DEFAULT_CHARSET, 0, "Liberation Sans"},
      {"Tahoma", DEFAULT_CHARSET, 0, "Liberation Sans"},
      {"arial", DEFAULT_CHARSET, 0, "Liberation Sans"},
      {"Verdana", DEFAULT_CHARSET, 0, "DejaVu Sans"},
      {"Courier New", DEFAULT_CHARSET, 0, "Liberation Mono"},
      {"Times New Roman", DEFAULT_CHARSET, 0, "Liberation Serif"},
      {"宋体", GB2312_CHARSET, 0, "WenQuanYi Micro Hei"},
      {"SimSun", DEFAULT_CHARSET, 0, "WenQuanYi Micro Hei"},
      {"MS Song", DEFAULT_CHARSET, 0, "WenQuanYi Micro Hei"},
      {"@宋体", DEFAULT_CHARSET, 0, "WenQuanYi Micro Hei"},
      {"DejaVu Sans Mono", DEFAULT_CHARSET, 0, "DejaVu Sans Mono"},
      // Names nobody installed fall back by charset, then pitch and family.
      {"No Such Face", GB2312_CHARSET, 0, "WenQuanYi Micro Hei"},
      {"No Such Face", DEFAULT_CHARSET, FIXED_PITCH, "Liberation Mono"},
      {"No Such Face", DEFAULT_CHARSET, FF_ROMAN, "Liberation Serif"},
      {"", DEFAULT_CHARSET, 0, "Liberation Sans"},
  };
  HDC dc = CreateCompatibleDC(nullptr);
  for (const Case& c : cases) {
    LOGFONT lf;
    std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", c.face);
    lf.lfCharSet = c.charSet;
    lf.lfPitchAndFamily = c.pitch;
    EXPECT_EQ(MappedFontFamily(lf), c.family) << c.face;
    // The selected font is drawn with that family.
    HFONT f = CreateFontIndirect(&lf);
    HGDIOBJ old = SelectObject(dc, f);
    char name[LF_FACESIZE];
    EXPECT_EQ(GetTextFace(dc, sizeof name, name), static_cast<int>(std::strlen(c.family)) + 1);
    EXPECT_STREQ(name, c.family);
    SelectObject(dc, old);
    DeleteObject(f);
  }
  DeleteDC(dc);
}

TEST_F(TextCanvas, FontObjectsSelectDescribeAndOutliveTheirDeletion) {
  HFONT f = MakeFont("Courier New", -20, FW_BOLD);
  EXPECT_EQ(GetObjectType(f), static_cast<DWORD>(OBJ_FONT));
  LOGFONT lf;
  ASSERT_EQ(GetObject(f, sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -20);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_STREQ(lf.lfFaceName, "Courier New");

  HGDIOBJ previous = SelectObject(dc, f);
  EXPECT_EQ(GetObjectType(previous), static_cast<DWORD>(OBJ_FONT));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), f);
  // Deleted while selected: the handle dies, the DC keeps drawing with it.
  EXPECT_TRUE(DeleteObject(f));
  EXPECT_EQ(GetObjectType(f), 0u);
  EXPECT_EQ(Metrics().tmWeight, FW_BOLD);
  Out(2, 2, "Still drawn");
  EXPECT_NE(Ink().right, 0);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));

  // Every DC starts with the system font; stock fonts exist.
  HDC fresh = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetCurrentObject(fresh, OBJ_FONT), GetStockObject(SYSTEM_FONT));
  TEXTMETRIC tm;
  ASSERT_TRUE(GetTextMetrics(fresh, &tm));
  EXPECT_EQ(tm.tmHeight, 16);
  DeleteDC(fresh);
  for (int i : {OEM_FIXED_FONT, ANSI_FIXED_FONT, ANSI_VAR_FONT, SYSTEM_FONT, DEFAULT_GUI_FONT, SYSTEM_FIXED_FONT})
    EXPECT_EQ(GetObjectType(GetStockObject(i)), static_cast<DWORD>(OBJ_FONT)) << i;
}

TEST_F(TextCanvas, MetricsFollowTheRequestedHeight) {
  struct Case {
    const char* face;
    int height;
    bool fixed;
  };
  const Case cases[] = {{"Arial", -11, false},      {"Arial", -16, false},     {"Arial", 20, false},
                        {"Courier New", -13, true}, {"Times New Roman", 16, false}, {"宋体", -12, false}};
  for (const Case& c : cases) {
    Use(c.face, c.height);
    TEXTMETRIC tm = Metrics();
    SCOPED_TRACE(std::string(c.face) + " " + std::to_string(c.height));
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    if (c.height > 0)
      EXPECT_EQ(tm.tmHeight, c.height);  // the cell height
    else
      EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -c.height);  // the character height
    EXPECT_GT(tm.tmAscent, tm.tmDescent);
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    EXPECT_GE(tm.tmExternalLeading, 0);
    EXPECT_EQ(tm.tmBreakChar, 0x20u);
    EXPECT_EQ(tm.tmPitchAndFamily & TMPF_TRUETYPE, TMPF_TRUETYPE);
    // Set means variable pitch, as on Windows.
    EXPECT_EQ((tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0, c.fixed);
    if (c.fixed) {
      EXPECT_EQ(Extent("iiii").cx, Extent("WWWW").cx);
    }
  }
  Use("Arial", -13);
  int regular = Extent("Bold text").cx;
  Use("Arial", -13, FW_BOLD);
  EXPECT_EQ(Metrics().tmWeight, FW_BOLD);
  EXPECT_GT(Extent("Bold text").cx, regular);
}
