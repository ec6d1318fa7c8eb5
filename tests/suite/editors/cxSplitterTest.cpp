// The splitter's hot-zone styles: the registry, the published settings and
// their change notices, the zone and part geometry for each direction code,
// and the pictures each style paints. The styles draw with plain pens and
// brushes only, never through a visual style, so every picture here is the
// same with styles on and off; the pictures are checked with no styles, and
// one test shows that the other mode paints the same pixels.
#include "suite/editors/cxSplitter.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "platform/rtl/Classes.h"
#include "platform/rtl/TypInfo.h"
#include "tests/suite/foundation/CanvasFixture.h"
#include "tests/support/VisualStylesScope.h"

namespace {

class FakeSplitter : public TObject, public HotZoneStyleOwner {
 public:
  void HotZoneStyleChanged() override { ++changes; }
  Integer SplitterDirectionCode() override { return direction; }
  TColor SplitterBackgroundColor() override { return background; }

  Integer direction = 0;
  TColor background = clYellow;
  Integer changes = 0;
};

template <typename Style>
std::unique_ptr<Style> MakeStyle(HotZoneStyleOwner* owner) {
  return std::make_unique<Style>(owner);
}

// ---------------------------------------------------------------------------
// Registry

TEST(HotZoneStyleRegistry, ListsTheFourStylesByDisplayName) {
  TcxRegisteredClasses* registry = HotZoneStyleRegistry();
  const struct {
    TClass cls;
    const char* name;
  } expected[] = {{TcxMediaPlayer8Style::StaticClass(), "MediaPlayer8"},
                  {TcxMediaPlayer9Style::StaticClass(), "MediaPlayer9"},
                  {TcxXPTaskBarStyle::StaticClass(), "XPTaskBar"},
                  {TcxSimpleStyle::StaticClass(), "Simple"}};
  ASSERT_EQ(registry->Count(), 4);
  for (Integer i = 0; i < 4; ++i) {
    EXPECT_EQ(registry->Items(i), expected[i].cls) << i;
    EXPECT_EQ(registry->NameOf(i), expected[i].name) << i;
    EXPECT_EQ(registry->IndexOfClass(expected[i].cls), i);
  }
  EXPECT_EQ(registry->IndexOfClass(TcxHotZoneStyle::StaticClass()), -1);

  // A form names a style by class; it is made for its splitter.
  FakeSplitter owner;
  std::unique_ptr<TObject> made(CreateInstance(FindClass("TcxXPTaskBarStyle"), &owner));
  auto* style = dynamic_cast<TcxXPTaskBarStyle*>(made.get());
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(style->Owner(), &owner);
}

TEST(HotZoneStyleRegistry, OnlyTheLastFinishEmptiesIt) {
  RegisterHotZoneStyles();
  UnregisterHotZoneStyles();
  EXPECT_EQ(HotZoneStyleRegistry()->Count(), 4);
  UnregisterHotZoneStyles();
  EXPECT_EQ(HotZoneStyleRegistry()->Count(), 0);
  UnregisterHotZoneStyles();  // one finish too many changes nothing
  RegisterHotZoneStyles();
  EXPECT_EQ(HotZoneStyleRegistry()->Count(), 4);
  EXPECT_EQ(HotZoneStyleRegistry()->NameOf(0), "MediaPlayer8");
}

// ---------------------------------------------------------------------------
// Settings

struct PublishedDefaults {
  TClass cls;
  std::vector<std::pair<std::string, int64_t>> props;
};

const std::vector<PublishedDefaults>& StyleDefaults() {
  static const std::vector<PublishedDefaults> table = {
      {TcxMediaPlayer9Style::StaticClass(),
       {{"SizePercent", 30},
        {"Visible", 1},
        {"ArrowColor", clWindowText},
        {"ArrowHighlightColor", 16711680},
        {"LightColor", clWindow},
        {"BorderColor", clBtnShadow},
        {"ShadowStartColor", 16115405},
        {"ShadowHighlightStartColor", 11531715}}},
      {TcxMediaPlayer8Style::StaticClass(),
       {{"SizePercent", 30},
        {"Visible", 1},
        {"ArrowColor", clWindowText},
        {"ArrowHighlightColor", clWindow},
        {"LightColor", clWindow},
        {"ShadowColor", clBtnShadow}}},
      {TcxXPTaskBarStyle::StaticClass(),
       {{"SizePercent", 30}, {"Visible", 1}, {"LightColor", clWindow}, {"ShadowColor", clBtnShadow}}},
      {TcxSimpleStyle::StaticClass(),
       {{"SizePercent", 30},
        {"Visible", 1},
        {"ArrowColor", clWindowText},
        {"ArrowHighlightColor", clWindow},
        {"LightColor", clWindow},
        {"ShadowColor", clBtnShadow},
        {"DotsColor", clHighlight},
        {"DotsShadowColor", clWindow}}},
  };
  return table;
}

TEST(HotZoneStyleSettings, PublishedInOrderWithTheirDefaults) {
  for (const PublishedDefaults& entry : StyleDefaults()) {
    std::unique_ptr<TObject> style(CreateInstance(entry.cls, nullptr));
    const auto& props = GetPropList(entry.cls);
    ASSERT_EQ(props.size(), entry.props.size()) << entry.cls->Name;
    for (size_t i = 0; i < props.size(); ++i) {
      EXPECT_EQ(props[i]->Name, entry.props[i].first) << entry.cls->Name;
      EXPECT_EQ(GetOrdProp(style.get(), *props[i]), entry.props[i].second) << entry.cls->Name << props[i]->Name;
      EXPECT_TRUE(IsDefaultPropValue(style.get(), *props[i])) << entry.cls->Name << props[i]->Name;
    }
  }
}

TEST(HotZoneStyleSettings, EachSetterNotifiesAChangeOnce) {
  for (const PublishedDefaults& entry : StyleDefaults()) {
    FakeSplitter owner;
    std::unique_ptr<TObject> style(CreateInstance(entry.cls, &owner));
    for (const TPropInfo* prop : GetPropList(entry.cls)) {
      const int64_t old = GetOrdProp(style.get(), *prop);
      owner.changes = 0;
      SetOrdProp(style.get(), *prop, old);
      EXPECT_EQ(owner.changes, 0) << entry.cls->Name << prop->Name;
      SetOrdProp(style.get(), *prop, old ^ 1);
      EXPECT_EQ(owner.changes, 1) << entry.cls->Name << prop->Name;
      EXPECT_EQ(GetOrdProp(style.get(), *prop), old ^ 1) << entry.cls->Name << prop->Name;
    }
  }
}

TEST(HotZoneStyleSettings, SizePercentStaysANaturalNumber) {
  FakeSplitter owner;
  TcxSimpleStyle style(&owner);
  for (Integer refused : {0, -5, INT_MIN}) {
    style.SetSizePercent(refused);
    EXPECT_EQ(style.SizePercent(), 30);
  }
  EXPECT_EQ(owner.changes, 0);
  style.SetSizePercent(INT_MAX);
  EXPECT_EQ(style.SizePercent(), INT_MAX);
}

TEST(HotZoneStyleSettings, WithoutOwnerNothingIsToldAndTheBarIsVertical) {
  TcxMediaPlayer8Style style(nullptr);
  style.SetArrowColor(clRed);  // no owner to tell
  EXPECT_EQ(style.SplitterDirection(), 0);
  EXPECT_EQ(style.GetOwner(), nullptr);
}

TEST(HotZoneStyleSettings, AssignCopiesTheColoursOfTheSameStyleOnly) {
  FakeSplitter owner;
  TcxMediaPlayer9Style source(nullptr);
  source.SetSizePercent(55);
  source.SetVisible(false);
  source.SetArrowColor(clRed);
  source.SetArrowHighlightColor(clLime);
  source.SetLightColor(clAqua);
  source.SetBorderColor(clNavy);
  source.SetShadowStartColor(0x010203);
  source.SetShadowHighlightStartColor(0x040506);

  TcxMediaPlayer9Style same(&owner);
  same.Assign(&source);
  for (const TPropInfo* prop : GetPropList(TcxMediaPlayer9Style::StaticClass()))
    EXPECT_EQ(GetOrdProp(&same, *prop), GetOrdProp(&source, *prop)) << prop->Name;
  EXPECT_EQ(owner.changes, 8);  // each value through its setter

  TcxSimpleStyle other(nullptr);
  other.Assign(&source);
  EXPECT_EQ(other.SizePercent(), 55);
  EXPECT_FALSE(other.Visible());
  EXPECT_EQ(other.ArrowColor(), clWindowText);
  EXPECT_EQ(other.LightColor(), clWindow);

  TStringList notAStyle;
  EXPECT_THROW(other.Assign(&notAStyle), EConvertError);
  EXPECT_THROW(other.Assign(nullptr), EConvertError);
}

// ---------------------------------------------------------------------------
// Geometry

TEST(HotZoneGeometry, ZoneForEachDirectionAndSize) {
  const struct {
    Integer direction;  // -1: no owner
    TRect bounds;
    Integer percent;
    TRect zone;
  } cases[] = {
      {0, {0, 0, 8, 200}, 30, {0, 70, 7, 130}},
      {1, {0, 0, 8, 200}, 30, {0, 70, 7, 130}},
      {2, {0, 0, 200, 8}, 30, {70, 0, 130, 7}},
      {3, {0, 0, 200, 8}, 30, {70, 0, 130, 7}},
      // Along the bar counted from 0, across from the bounds' left or top.
      {0, {10, 5, 18, 205}, 30, {10, 70, 17, 130}},
      {3, {3, 4, 203, 12}, 30, {70, 4, 130, 11}},
      {0, {0, 0, 8, 200}, 100, {0, 0, 7, 200}},
      {2, {0, 0, 201, 8}, 30, {70, 0, 130, 7}},
      {0, {0, 0, 8, 50}, 1, {0, 25, 7, 25}},
      {-1, {0, 0, 200, 8}, 30, {0, 3, 7, 5}},
      // SizePercent × length beyond 32 bits.
      {0, {0, 0, 8, 100}, 30000000, {0, -14999950, 7, 15000050}},
      {2, {0, 0, 200, 8}, INT_MAX, {-2147483547, 0, INT_MAX, 7}},
  };
  for (const auto& c : cases) {
    FakeSplitter owner;
    owner.direction = c.direction;
    TcxHotZoneStyle style(c.direction < 0 ? nullptr : &owner);
    style.SetSizePercent(c.percent);
    TRect zone{};
    style.CalculateHotZoneRect(c.bounds, zone);
    EXPECT_EQ(zone, c.zone) << c.direction << " " << c.percent << " " << zone.Left << "," << zone.Top << ","
                            << zone.Right << "," << zone.Bottom;
    EXPECT_EQ(style.HotZoneRect(), c.zone);
  }
}

TEST(HotZoneGeometry, PartAreasOfEachStyle) {
  // A 200-pixel bar at 30 percent: the zone runs from 70 to 130.
  for (const bool horizontal : {false, true}) {
    FakeSplitter owner;
    owner.direction = horizontal ? 2 : 0;
    const TRect bounds = horizontal ? TRect{0, 0, 200, 8} : TRect{0, 0, 8, 200};
    // Areas written for a vertical bar; a horizontal one exchanges the axes.
    auto expect = [&](const TRect& actual, TRect vertical, const char* what) {
      const TRect wanted = horizontal ? TRect{vertical.Top, vertical.Left, vertical.Bottom, vertical.Right} : vertical;
      EXPECT_EQ(actual, wanted) << what << (horizontal ? " horizontal" : " vertical");
    };
    TRect zone;
    TcxMediaPlayer9Style mp9(&owner);
    mp9.CalculateHotZoneRect(bounds, zone);
    expect(mp9.ArrowArea(), {0, 93, 7, 107}, "MediaPlayer9 arrow");
    TcxMediaPlayer8Style mp8(&owner);
    mp8.CalculateHotZoneRect(bounds, zone);  // h = (60 - 27) div 2 = 16
    expect(mp8.LeadingDotsArea(), {0, 74, 7, 90}, "MediaPlayer8 leading dots");
    expect(mp8.TrailingDotsArea(), {0, 110, 7, 126}, "MediaPlayer8 trailing dots");
    expect(mp8.ArrowArea(), {0, 90, 7, 109}, "MediaPlayer8 arrow");
    TcxXPTaskBarStyle xp(&owner);
    xp.CalculateHotZoneRect(bounds, zone);
    expect(xp.FirstDotRowArea(), {1, 70, 3, 130}, "XPTaskBar first row");
    expect(xp.SecondDotRowArea(), {4, 73, 7, 130}, "XPTaskBar second row");
    TcxSimpleStyle simple(&owner);
    simple.CalculateHotZoneRect(bounds, zone);
    expect(simple.LeadingArrowArea(), {0, 75, 7, 82}, "Simple leading arrow");
    expect(simple.TrailingArrowArea(), {0, 118, 7, 125}, "Simple trailing arrow");
  }
}

TEST(HotZoneGeometry, StylesAnswerTheirBarThickness) {
  TcxSimpleStyle style(nullptr);
  EXPECT_EQ(style.SplitterMinSize(), 8);
  EXPECT_EQ(style.SplitterMaxSize(), 8);
}

// ---------------------------------------------------------------------------
// Pictures

// The drawing routines every style shares, opened for the tests.
class OpenStyle : public TcxHotZoneStyle {
 public:
  using TcxHotZoneStyle::DrawHotZoneArrow;
  using TcxHotZoneStyle::DrawHotZoneDots;
  using TcxHotZoneStyle::TcxHotZoneStyle;
};

using Picture = std::vector<std::string>;

// Every look is checked with no styles (see the top of the file).
class HotZonePicture : public ::testing::Test, public TestSurface {
 protected:
  // A vertical bar of direction 0 unless told otherwise, as long as the zone:
  // SizePercent 100 makes the zone the bar's whole length.
  void Draw(TcxHotZoneStyle& style, Integer length, bool sunken, bool highlighted) {
    style.SetSizePercent(100);
    const bool horizontal = owner.direction >= 2;
    Reset(horizontal ? length + 2 : 9, horizontal ? 9 : length + 2);
    TRect zone;
    style.DrawHotZone(canvas.get(), horizontal ? TRect{0, 0, length, 8} : TRect{0, 0, 8, length}, zone, sunken,
                      highlighted);
    EXPECT_EQ(bitmap->Canvas()->LockCount(), 0);
  }
  Picture Bar(Integer length) const { return Rows({0, 0, 8, length}, legend); }

  VisualStylesScope noStyles{false};
  FakeSplitter owner;
  std::vector<std::pair<TColor, char>> legend = {{clYellow, 'Y'}, {clNavy, 'N'}, {clAqua, 'A'},
                                                 {clRed, 'R'},    {clGreen, 'G'}, {clPurple, 'P'}};
};

TEST_F(HotZonePicture, ArrowShapeForEachDirectionCode) {
  // Rows (columns for a horizontal bar) centre - 3 to centre + 3 below the
  // rect's start, the centre being 4 in for a 7-pixel rect.
  const Picture even = {"..#....", "..##...", "...##..", "....##.", "...##..", "..##...", "..#...."};
  const Picture odd = {".....#.", "....##.", "...##..", "..##...", "...##..", "....##.", ".....#."};
  for (Integer direction = 0; direction <= 3; ++direction) {
    owner.direction = direction;
    OpenStyle style(&owner);
    Reset(9, 9);
    style.DrawHotZoneArrow(canvas.get(), {0, 0, 7, 7}, false, clRed, clBlack, false);
    const Picture& shape = direction % 2 == 0 ? even : odd;
    Picture drawn = Rows({0, 1, 7, 8});
    if (direction >= 2) {  // read the columns as rows
      drawn.clear();
      for (Integer x = 1; x < 8; ++x) {
        std::string column;
        for (Integer y = 0; y < 7; ++y) column += Is(x, y, clBlack) ? '#' : '.';
        drawn.push_back(column);
      }
    }
    EXPECT_EQ(drawn, shape) << "direction " << direction;
  }
}

TEST_F(HotZonePicture, ArrowTakesTheHighlightColourOnlyWhenNotSunken) {
  const struct {
    bool highlighted, sunken;
    TColor color;
  } cases[] = {{false, false, clBlack}, {true, false, clRed}, {true, true, clBlack}, {false, true, clBlack}};
  for (const auto& c : cases) {
    OpenStyle style(&owner);
    Reset(9, 9);
    style.DrawHotZoneArrow(canvas.get(), {0, 0, 7, 7}, c.highlighted, clRed, clBlack, c.sunken);
    EXPECT_TRUE(Is(5, 4, c.color)) << c.highlighted << c.sunken;
  }
}

TEST_F(HotZonePicture, DotsForwardAndBackwardRaisedAndSunken) {
  owner.direction = 2;
  OpenStyle style(&owner);
  // A 20-pixel rect, gap 3: forward from 3 while the point plus 3 stays
  // within 20 (3, 8, 13); backward from 20 - 6 (14, 9, 4).
  Reset(21, 3);
  style.DrawHotZoneDots(canvas.get(), {0, 0, 20, 8}, false, 0, 3, clAqua, clNavy, true);
  EXPECT_EQ(Rows({0, 0, 21, 3}, legend),
            (Picture{"...AA...AA...AA......", "...ANN..ANN..ANN.....", "....NN...NN...NN....."}));
  Reset(21, 3);
  style.DrawHotZoneDots(canvas.get(), {0, 0, 20, 8}, true, 0, 3, clAqua, clNavy, false);
  EXPECT_EQ(Rows({0, 0, 21, 3}, legend),
            (Picture{"....NN...NN...NN.....", "....NNA..NNA..NNA....", ".....AA...AA...AA...."}));

  // A vertical bar: along runs down, the offset counts from the left.
  owner.direction = 0;
  Reset(6, 12);
  style.DrawHotZoneDots(canvas.get(), {0, 0, 8, 11}, false, 3, 3, clAqua, clNavy, true);
  EXPECT_EQ(Rows({0, 2, 6, 11}, legend),
            (Picture{"......", "...AA.", "...ANN", "....NN", "......", "......", "...AA.", "...ANN", "....NN"}));
}

TEST_F(HotZonePicture, SimpleStyle) {
  TcxSimpleStyle style(&owner);
  style.SetShadowColor(clNavy);
  style.SetLightColor(clAqua);
  style.SetArrowColor(clBlack);
  style.SetArrowHighlightColor(clRed);
  style.SetDotsColor(clGreen);
  style.SetDotsShadowColor(clPurple);
  // 35 pixels: two dot pairs, at 15 and 18; arrows centred on 9 and 27.
  Draw(style, 35, false, false);
  const Picture raised = {
      "NNNNNNNN", "NAAAAAAN", "NAYYYYYN", "NAYYYYYN", "NAYYYYYN", "NAYYYYYN", "NA#YYYYN", "NA##YYYN", "NAY##YYN",
      "NAYY##YN", "NAY##YYN", "NA##YYYN", "NA#YYYYN", "NAYYYYYN", "NAYYYYYN", "NAYPYYYN", "NAYYGYYN", "NAYYYYYN",
      "NAYPYYYN", "NAYYGYYN", "NAYYYYYN", "NAYYYYYN", "NAYYYYYN", "NAYYYYYN", "NA#YYYYN", "NA##YYYN", "NAY##YYN",
      "NAYY##YN", "NAY##YYN", "NA##YYYN", "NA#YYYYN", "NAYYYYYN", "NAYYYYYN", "NAYYYYYN", "NAYYYYYN",
  };
  EXPECT_EQ(Bar(35), raised);
  // The outer frame's far side and end lie on the zone's Right and Bottom.
  EXPECT_EQ(Rows({0, 35, 9, 36}, legend), Picture{"NNNNNNNN."});

  // Sunken: the inner frame's colours change sides and so do the dots'.
  Draw(style, 35, true, true);
  EXPECT_TRUE(Is(1, 5, clYellow) && Is(3, 1, clYellow) && Is(6, 5, clAqua) && Is(3, 34, clAqua));
  EXPECT_TRUE(Is(3, 15, clGreen) && Is(4, 16, clPurple));
  EXPECT_TRUE(Is(4, 9, clBlack));  // sunken: never the highlight colour
  Draw(style, 35, false, true);
  EXPECT_TRUE(Is(4, 9, clRed) && Is(4, 27, clRed));
}

TEST_F(HotZonePicture, SimpleStyleDotCountFollowsTheZoneLength) {
  const struct {
    Integer length, dots;
  } cases[] = {{29, 0}, {30, 1}, {32, 1}, {34, 1}, {35, 2}, {60, 10}, {20, 0}};
  for (const auto& c : cases) {
    TcxSimpleStyle style(&owner);
    style.SetDotsShadowColor(clPurple);
    Draw(style, c.length, false, false);
    EXPECT_EQ(Count(clPurple), c.dots) << c.length;
  }
}

TEST_F(HotZonePicture, MediaPlayer9Style) {
  TcxMediaPlayer9Style style(&owner);
  style.SetBorderColor(clNavy);
  style.SetLightColor(clAqua);
  style.SetArrowColor(clBlack);
  style.SetArrowHighlightColor(clRed);
  style.SetShadowStartColor(0x808080);
  style.SetShadowHighlightStartColor(0x80C080);
  legend.insert(legend.end(), {{0x808080, '0'}, {0x626262, '3'}, {0x444444, '6'}});
  // 30 pixels: the arrow area runs from 8 to 22, centred on 16. Raised: the
  // shading lies 4, 5 and 6 in, darkest outside.
  Draw(style, 30, false, false);
  Picture raised = {".NNNNN.Y", "NAAAAANY"};
  for (Integer y = 2; y <= 27; ++y) raised.push_back("NAAA036Y");
  raised[13] = "NA#A036Y";
  raised[14] = "NA##036Y";
  raised[15] = "NAA##36Y";
  raised[16] = "NAAA##6Y";
  raised[17] = "NAA##36Y";
  raised[18] = "NA##036Y";
  raised[19] = "NA#A036Y";
  raised.insert(raised.end(), {"NAAAAANY", ".NNNNN.Y"});
  // The zone is 7 across; the eighth column is what was there before.
  for (std::string& row : raised) row.back() = '.';
  EXPECT_EQ(Bar(30), raised);

  // Sunken and highlighted: the highlight start colour, 1, 2 and 3 in.
  legend = {{clNavy, 'N'}, {clAqua, 'A'}, {0x80C080, '0'}, {0x62A262, '3'}, {0x448444, '6'}};
  Draw(style, 30, true, true);
  EXPECT_EQ(Rows({0, 5, 7, 6}, legend), Picture{"N630AAN"});
  EXPECT_TRUE(Is(4, 16, clBlack));
}

TEST_F(HotZonePicture, MediaPlayer8Style) {
  TcxMediaPlayer8Style style(&owner);
  style.SetShadowColor(clNavy);
  style.SetLightColor(clAqua);
  style.SetArrowColor(clBlack);
  style.SetArrowHighlightColor(clRed);
  // 40 pixels: h = 6; one dot in each dot area (at 4 and 33), the arrow box
  // from 10 to 29 with the arrow centred on 20.
  Draw(style, 40, false, false);
  const Picture raised = {
      "NNNNNYY.", "NAAAANY.", "NAYYYYN.", "NAYYYYN.", "NAYAAYN.", "NAYANNN.", "NAYYNNN.", "NAYYYYN.",
      "NAYYYYN.", "NAYYYYN.", "NNNNNNNN", "NYYYYYYA", "NYYYYYYA", "NYYYYYYA", "NYYYYYYA", "NYYYYYYA",
      "NYYYYYYA", "NY#YYYYA", "NY##YYYA", "NYY##YYA", "NYYY##YA", "NYY##YYA", "NY##YYYA", "NY#YYYYA",
      "NYYYYYYA", "NYYYYYYA", "NYYYYYYA", "NYYYYYYA", "NYYYYYYA", "NAAAAAAA", "NAYYYYN.", "NAYYYYN.",
      "NAYYYYN.", "NAYAAYN.", "NAYANNN.", "NAYYNNN.", "NAYYYYN.", "NAYYYYN.", "NAYYYNY.", "NNNNNYY.",
  };
  EXPECT_EQ(Bar(40), raised);

  // Sunken: the light lines move to the far side and the last end, the
  // dots sink, the arrow box's frame swaps its colours.
  Draw(style, 40, true, true);
  EXPECT_EQ(Rows({0, 3, 8, 7}, legend), (Picture{"NYYYYAN.", "NYYNNAN.", "NYYNNAN.", "NYYYAAN."}));
  EXPECT_EQ(Rows({0, 36, 8, 40}, legend), (Picture{"NYYYYAN.", "NYYYYAN.", "NAAAANY.", "NNNNNYY."}));
  EXPECT_TRUE(Is(0, 15, clAqua) && Is(7, 15, clNavy) && Is(3, 10, clAqua) && Is(3, 29, clNavy));
  EXPECT_TRUE(Is(5, 20, clBlack));
}

TEST_F(HotZonePicture, XPTaskBarStyle) {
  TcxXPTaskBarStyle style(&owner);
  style.SetShadowColor(clNavy);
  style.SetLightColor(clAqua);
  // Not sunken: the dots sink in. Rows of dots start 4 and 7 in, every 6.
  Draw(style, 30, false, false);
  const Picture first = {"YNNYYYY.", "YNNAYYY.", "YYAAYYY."};
  const Picture second = {"YYYYNNY.", "YYYYNNA.", "YYYYYAA."};
  Picture expected(4, "YYYYYYY.");
  for (Integer k = 0; k < 4; ++k) {
    expected.insert(expected.end(), first.begin(), first.end());
    expected.insert(expected.end(), second.begin(), second.end());
  }
  expected.insert(expected.end(), 2, "YYYYYYY.");
  EXPECT_EQ(Bar(30), expected);
  // Sunken: the dots stand out.
  Draw(style, 30, true, false);
  EXPECT_EQ(Rows({0, 4, 8, 10}, legend),
            (Picture{"YAAYYYY.", "YANNYYY.", "YYNNYYY.", "YYYYAAY.", "YYYYANN.", "YYYYYNN."}));
}

TEST_F(HotZonePicture, HorizontalBarsPaintTheVerticalPictureTransposed) {
  const auto styles = {TcxMediaPlayer9Style::StaticClass(), TcxMediaPlayer8Style::StaticClass(),
                       TcxXPTaskBarStyle::StaticClass(), TcxSimpleStyle::StaticClass()};
  for (TClass cls : styles) {
    for (Integer direction : {0, 1}) {
      for (const auto& [sunken, highlighted] : {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
        owner.direction = direction;
        std::unique_ptr<TcxHotZoneStyle> vertical(static_cast<TcxHotZoneStyle*>(CreateInstance(cls, &owner)));
        Draw(*vertical, 45, sunken, highlighted);
        const Picture tall = Rows({0, 0, 9, 47});
        owner.direction = direction + 2;
        std::unique_ptr<TcxHotZoneStyle> horizontal(static_cast<TcxHotZoneStyle*>(CreateInstance(cls, &owner)));
        Draw(*horizontal, 45, sunken, highlighted);
        Picture wide = Rows({0, 0, 47, 9});
        Picture transposed(47, std::string(9, ' '));
        for (Integer y = 0; y < 9; ++y)
          for (Integer x = 0; x < 47; ++x) transposed[x][y] = wide[y][x];
        EXPECT_EQ(transposed, tall) << cls->Name << " direction " << direction << " sunken " << sunken
                                    << " highlighted " << highlighted;
      }
    }
  }
}

TEST_F(HotZonePicture, WithoutOwnerAVerticalBarInTheButtonFace) {
  for (TClass cls : {TcxMediaPlayer8Style::StaticClass(), TcxSimpleStyle::StaticClass()}) {
    owner.direction = 0;
    owner.background = clBtnFace;
    std::unique_ptr<TcxHotZoneStyle> owned(static_cast<TcxHotZoneStyle*>(CreateInstance(cls, &owner)));
    Draw(*owned, 40, false, false);
    const Picture withOwner = Rows({0, 0, 9, 42});
    std::unique_ptr<TcxHotZoneStyle> alone(static_cast<TcxHotZoneStyle*>(CreateInstance(cls, nullptr)));
    Draw(*alone, 40, false, false);
    EXPECT_EQ(Rows({0, 0, 9, 42}), withOwner) << cls->Name;
  }
}

TEST_F(HotZonePicture, TheSamePixelsWithVisualStylesOn) {
  TcxMediaPlayer8Style style(&owner);
  Draw(style, 40, true, true);
  const Picture plain = Rows({0, 0, 9, 42}, legend);
  VisualStylesScope styles(true);
  Draw(style, 40, true, true);
  EXPECT_EQ(Rows({0, 0, 9, 42}, legend), plain);
}

TEST_F(HotZonePicture, HugeZonesDrawOnlyWhatShows) {
  // A zone millions of pixels long: the dots beyond the bitmap are never
  // visited, so this finishes at once; what shows is the zone's middle.
  TcxSimpleStyle style(&owner);
  style.SetSizePercent(30000000);
  style.SetDotsShadowColor(clPurple);
  Reset(9, 100);
  TRect zone;
  style.DrawHotZone(canvas.get(), {0, 0, 8, 100}, zone, false, false);
  EXPECT_EQ(zone, (TRect{0, -14999950, 7, 15000050}));
  // The dots at -14999950 + 15 + 3k that land on the bitmap's rows: 2, 5,
  // ..., 98.
  EXPECT_EQ(Count(clPurple), 33);
  EXPECT_TRUE(Is(3, 2, clPurple) && Is(3, 98, clPurple));
  // The largest SizePercent: a zone of 2147483647 pixels centred on 50.
  for (TClass cls : {TcxMediaPlayer9Style::StaticClass(), TcxMediaPlayer8Style::StaticClass(),
                     TcxXPTaskBarStyle::StaticClass(), TcxSimpleStyle::StaticClass()}) {
    for (Integer direction : {0, 2}) {
      owner.direction = direction;
      std::unique_ptr<TcxHotZoneStyle> huge(static_cast<TcxHotZoneStyle*>(CreateInstance(cls, &owner)));
      huge->SetSizePercent(INT_MAX);
      huge->DrawHotZone(canvas.get(), direction ? TRect{0, 0, 100, 8} : TRect{0, 0, 8, 100}, zone, true, false);
      EXPECT_EQ(direction ? zone.Right : zone.Bottom, 1073741874) << cls->Name;
    }
  }
}

}  // namespace
