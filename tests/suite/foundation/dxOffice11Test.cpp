#include "suite/foundation/dxOffice11.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/win/SysColors.h"
#include "suite/foundation/cxGraphics.h"
#include "tests/suite/foundation/CanvasFixture.h"
#include "tests/suite/foundation/FakeThemeLibrary.h"

using namespace fake_theme;

namespace {

constexpr TColor Rgb(uint32_t rrggbb) {
  return static_cast<TColor>(((rrggbb >> 16) & 0xFF) | (rrggbb & 0xFF00) | ((rrggbb & 0xFF) << 16));
}
TColor Resolved(TColor c) { return static_cast<TColor>(ColorToRGB(c)); }

class Office11 : public FakeThemeTest {
 protected:
  void TearDown() override {
    FakeThemeTest::TearDown();
    RecomputeOffice11Palette();
  }
  TOffice11Scheme Detect(std::u16string file, std::u16string color) {
    lib().fileName = std::move(file);
    lib().colorName = std::move(color);
    RecomputeOffice11Palette();
    return CurrentOffice11ColorScheme();
  }
};

}  // namespace

TEST_F(Office11, SchemeDetection) {
  struct Case {
    std::u16string file, color;
    TOffice11Scheme scheme;
  } cases[] = {
      {u"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", u"NormalColor", Office11SchemeBlue},
      {u"luna.msstyles", u"homestead", Office11SchemeOlive},
      {u"LUNA.MSSTYLES", u"Metallic", Office11SchemeSilver},
      {u"Luna.msstyles", u"Royale", Office11SchemeNone},
      {u"aero.msstyles", u"NormalColor", Office11SchemeNone},
      {u"Other\\aero.msstyles", u"HomeStead", Office11SchemeNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Detect(c.file, c.color), c.scheme);
    EXPECT_EQ(Office11SchemeInUse(), c.scheme != Office11SchemeNone);
  }
  lib().nameFails = true;
  EXPECT_EQ(Detect(u"luna.msstyles", u"Metallic"), Office11SchemeNone);
}

TEST_F(Office11, PaletteOfASchemeComesFromItsTable) {
  ASSERT_EQ(Detect(u"luna.msstyles", u"HomeStead"), Office11SchemeOlive);
  EXPECT_EQ(Office11FaceColor, Rgb(0xD9D9A7));
  EXPECT_EQ(Office11GradientFirstColor, Rgb(0xF4F7DE));
  EXPECT_EQ(Office11SecondGradientFirstColor, Rgb(0x608058));
  EXPECT_EQ(Office11LightColor, clWhite);
  EXPECT_EQ(Office11LineColor, MixColorsByPercent(Rgb(0x60776B), Rgb(0xB5C48F), 50));
  EXPECT_EQ(Office11SelectionFrameColor, Rgb(0x3F5D38));
  EXPECT_EQ(Office11HotLastColor, Rgb(0xFFD091));
  EXPECT_EQ(Office11DarkBorderColor, Rgb(0x608058));
  EXPECT_EQ(Office11ExpandButtonDarkColor, static_cast<TColor>(win::RGB(46, 70, 95)));
  ASSERT_EQ(Detect(u"luna.msstyles", u"Metallic"), Office11SchemeSilver);
  EXPECT_EQ(Office11SecondGradientLastColor, Rgb(0xFFFFFF));
  EXPECT_EQ(Office11BackgroundColor, Rgb(0xF3F3F7));
}

TEST_F(Office11, WithoutASchemeThePaletteFollowsTheSystemColours) {
  lib().active = false;
  LoadVisualStyleLibrary(&Lookup);
  EXPECT_EQ(Detect(u"luna.msstyles", u"NormalColor"), Office11SchemeNone) << "styles off";
  EXPECT_FALSE(Office11SchemeInUse());
  EXPECT_EQ(Office11FaceColor, Resolved(clBtnFace));
  EXPECT_EQ(Office11LightFaceColor, MixColorsByPercent(clBtnFace, clWindow, 20));
  EXPECT_EQ(Office11GradientLastColor, MixColorsByPercent(clBtnFace, clWindow, 96));
  EXPECT_EQ(Office11SecondGradientLastColor, clWhite);
  EXPECT_EQ(Office11LightColor, Resolved(clBtnHighlight));
  EXPECT_EQ(Office11SelectionFrameColor, Resolved(clHighlight));
  EXPECT_EQ(Office11HotFirstColor, HotHighlightColor());
  EXPECT_EQ(Office11PressedLastColor, PressedHighlightColor());
  EXPECT_EQ(Office11SymbolColor, Resolved(clBtnText));
  EXPECT_EQ(Office11SelectionColor, BlendSystemColors(41, 11, 48));
  // A system colour change reaches the palette on the next computation.
  const win::INT face = win::COLOR_BTNFACE;
  const win::COLORREF olive = win::RGB(120, 130, 40);
  win::SetSysColors(1, &face, &olive);
  RecomputeOffice11Palette();
  EXPECT_EQ(Office11FaceColor, static_cast<TColor>(olive));
  win::ResetSysColors();
}

TEST(dxOffice11, ColourRoutines) {
  EXPECT_EQ(MixColorsByPercent(clWhite, clBlack, 25), static_cast<TColor>(win::RGB(64, 64, 64)));
  EXPECT_EQ(MixColorsByPercent(clBlack, clWhite, 100), clBlack);
  EXPECT_EQ(MixColorsByPercent(static_cast<TColor>(win::RGB(200, 0, 0)), static_cast<TColor>(win::RGB(0, 0, 100)), 50),
            static_cast<TColor>(win::RGB(100, 0, 50)));
  // Halves round to even.
  EXPECT_EQ(ScaleColorByPercent(static_cast<TColor>(win::RGB(5, 7, 200)), 50), static_cast<TColor>(win::RGB(2, 4, 100)));
  EXPECT_EQ(ScaleColorByPercent(static_cast<TColor>(win::RGB(200, 0, 0)), 200), static_cast<TColor>(win::RGB(255, 0, 0)))
      << "a channel stays within its byte";
}

TEST(dxOffice11, PaletteUseCountKeepsTheBitmaps) {
  const Integer base = Office11PaletteUseCount();
  AcquireOffice11Palette();
  AcquireOffice11Palette();
  ReleaseOffice11Palette();
  ASSERT_NE(Office11ExpandPlusBitmap(), nullptr);
  EXPECT_EQ(Office11ExpandPlusBitmap()->Width(), 11);
  EXPECT_EQ(Office11ExpandMinusBitmap()->Height(), 11);
  ReleaseOffice11Palette();
  EXPECT_EQ(Office11PaletteUseCount(), base);
}

using Gradient = CanvasTest;

TEST_F(Gradient, BandsFromFirstToLastColour) {
  const TColor red = static_cast<TColor>(win::RGB(255, 0, 0));
  auto distinct = [&](Integer w) {
    std::set<TColor> colors;
    for (Integer x = 0; x < w; ++x) colors.insert(Px(x, 0));
    return colors.size();
  };
  Reset(600, 2);
  FillGradientRect(canvas->DeviceContext(), {0, 0, 600, 2}, clBlack, true, red);
  EXPECT_EQ(distinct(600), 256u);
  EXPECT_EQ(Px(0, 0), clBlack);
  EXPECT_EQ(Px(599, 1), red);
  Reset(3, 4);
  FillGradientRect(canvas->DeviceContext(), {0, 0, 3, 4}, clBlack, true, red);
  EXPECT_EQ(Px(0, 0), clBlack);
  EXPECT_EQ(Px(1, 0), static_cast<TColor>(win::RGB(128, 0, 0)));
  EXPECT_EQ(Px(2, 3), red);
  Reset(4, 4);
  FillGradientRect(canvas->DeviceContext(), {1, 0, 2, 4}, red, true, clBlack);
  EXPECT_EQ(Px(1, 2), red) << "a single band takes the first colour";
  EXPECT_EQ(Px(0, 2), clWhite);
  // Vertical runs top to bottom; equal colours fill in one go.
  Reset(2, 3);
  FillGradientRect(canvas->DeviceContext(), {0, 0, 2, 3}, red, false, clBlack);
  EXPECT_EQ(Px(0, 0), red);
  EXPECT_EQ(Px(1, 2), clBlack);
  FillGradientRect(canvas->DeviceContext(), {0, 0, 2, 3}, clBlue, false, clBlue);
  EXPECT_EQ(Count(clBlue), 6);
  FillGradientRect(canvas->DeviceContext(), {0, 0, 0, 3}, red, true, clBlack);  // nothing
  EXPECT_EQ(Count(clBlue), 6);
}
