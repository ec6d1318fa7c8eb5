#include "controls/MenuSkinColors.h"

#include <gtest/gtest.h>

#include "tests/controls/SkinFixture.h"

using namespace skintest;

namespace {

TEST(MenuSkinColors, ArithmeticTable) {
  struct Case {
    const char* What;
    TColor Got, Want;
  };
  const Case cases[] = {
      {"black lightened 68", LightenColor(clBlack, 68), Rgb(173, 173, 173)},
      {"lightening caps at 100", LightenColor(Rgb(10, 100, 200), 150), Rgb(255, 255, 255)},
      {"150 equals 100", LightenColor(Rgb(10, 100, 200), 150), LightenColor(Rgb(10, 100, 200), 100)},
      {"a half goes to the even one (25.5)", LightenColor(clBlack, 10), Rgb(26, 26, 26)},
      {"a half goes to the even one (76.5)", LightenColor(clBlack, 30), Rgb(76, 76, 76)},
      {"channels apart", LightenColor(Rgb(0, 155, 255), 50), Rgb(128, 205, 255)},
      {"darkening stops at 0", DarkenColor(Rgb(10, 10, 10), 30), Rgb(0, 0, 0)},
      {"green keeps 2 more", DarkenColor(Rgb(200, 200, 200), 90), Rgb(110, 112, 110)},
      {"darkening caps at 255", DarkenColor(Rgb(255, 255, 255), 1), Rgb(254, 255, 254)},
      {"gray of white stops at 240", GrayColor(clWhite, 10), Rgb(240, 240, 240)},
      {"gray is the mean plus the level", GrayColor(Rgb(30, 60, 91), 10), Rgb(70, 70, 70)},
      {"average", AverageColor({clRed, clBlue}), Rgb(127, 0, 127)},
      {"system colours are resolved", LightenColor(clBtnFace, 0), Resolved(clBtnFace)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.Got, c.Want) << c.What;
}

// Icons repeat colours; a run that switches back and forth must not carry
// one pixel's result over to another colour.
TEST(MenuSkinColors, BitmapsMapEveryPixel) {
  TBitmap b;
  b.SetSize(4, 2);
  const TColor row[4] = {clRed, clRed, clBlue, clRed};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) b.Canvas()->SetPixels(x, y, row[x]);
  TBitmap gray;
  gray.Assign(&b);
  GrayBitmap(&gray, 10);
  DimBitmap(&b, 150);  // capped at 100: white
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(Resolved(b.Canvas()->Pixels(x, y)), Rgb(255, 255, 255)) << x << "," << y;
      EXPECT_EQ(Resolved(gray.Canvas()->Pixels(x, y)), GrayColor(row[x], 10)) << x << "," << y;
    }
}

}  // namespace
