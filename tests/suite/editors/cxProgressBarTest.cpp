// The progress bar: the range rules of its settings, the peak hold, the
// conversion of values and their display texts, copying, the foreground
// image and the registration of the editor kind; the layout of horizontal
// and vertical bars (bar, overload zone, peak, the percent text); the
// pixels of each style with no styles and with our renderer; the control's
// position rules, also while a form is read.
#include "suite/editors/cxProgressBar.h"

#include <gtest/gtest.h>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/FormFiles.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/ThemeSchema.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxFilterEditsController.h"
#include "suite/editors/cxTrackBar.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"
#include "tests/suite/foundation/CanvasFixture.h"
#include "tests/support/VisualStylesScope.h"

namespace {

struct ChangeCounter {
  void Changed(TObject*) { ++count; }
  TNotifyEvent Handler() { return TNotifyEvent(this, &ChangeCounter::Changed); }
  int count = 0;
};

struct Range {
  Double min, max, overload, peak;
};

TEST(ProgressBarProperties, RangeRules) {
  const struct {
    const char* name;
    Range before;
    void (*write)(TcxCustomProgressBarProperties&);
    Range after;
    bool notified;
  } cases[] = {
      {"Max not above Min is ignored", {60, 100, 80, 0}, [](auto& p) { p.SetMax(50); }, {60, 100, 80, 0}, false},
      {"Max equal to Min is ignored", {60, 100, 80, 0}, [](auto& p) { p.SetMax(60); }, {60, 100, 80, 0}, false},
      {"Min above Max drags Max, overload and peak up",
       {0, 100, 80, 20},
       [](auto& p) { p.SetMin(150); },
       {150, 150, 150, 150},
       true},
      {"a lower Max pulls overload and peak down", {0, 100, 80, 90}, [](auto& p) { p.SetMax(70); }, {0, 70, 70, 70},
       true},
      {"overload below Min is raised", {10, 100, 80, 10}, [](auto& p) { p.SetOverloadValue(5); }, {10, 100, 10, 10},
       true},
      {"overload above Max is lowered", {0, 100, 80, 0}, [](auto& p) { p.SetOverloadValue(300); }, {0, 100, 100, 0},
       true},
      {"peak is stored as given", {0, 100, 80, 0}, [](auto& p) { p.SetPeakValue(500); }, {0, 100, 80, 500}, true},
      {"an equal Min changes nothing", {0, 100, 80, 0}, [](auto& p) { p.SetMin(0); }, {0, 100, 80, 0}, false},
  };
  for (const auto& c : cases) {
    TcxProgressBarProperties p(nullptr);
    p.SetMin(c.before.min);
    p.SetMax(c.before.max);
    p.SetOverloadValue(c.before.overload);
    p.SetPeakValue(c.before.peak);
    ChangeCounter counter;
    p.OnPropertiesChanged = counter.Handler();
    c.write(p);
    EXPECT_EQ(p.Min(), c.after.min) << c.name;
    EXPECT_EQ(p.Max(), c.after.max) << c.name;
    EXPECT_EQ(p.OverloadValue(), c.after.overload) << c.name;
    EXPECT_EQ(p.PeakValue(), c.after.peak) << c.name;
    EXPECT_EQ(counter.count, c.notified ? 1 : 0) << c.name;
  }
}

TEST(ProgressBarProperties, PeakHoldRisesSilentlyToTheHighestPositionShown) {
  TcxProgressBarProperties p(nullptr);
  ChangeCounter counter;
  p.OnPropertiesChanged = counter.Handler();
  EXPECT_EQ(p.EffectivePeakValue(70), 70);
  EXPECT_EQ(p.PeakValue(), 70) << "kept although ShowPeak is off";
  EXPECT_EQ(p.EffectivePeakValue(20), 70) << "the marker stays at the highest position";
  EXPECT_EQ(counter.count, 0);
  p.SetPeakValue(500);
  EXPECT_EQ(p.EffectivePeakValue(20), 100) << "shown within the range";
  EXPECT_EQ(p.PeakValue(), 500) << "a stored peak beyond the range stays";
  p.SetPeakValue(-5);
  EXPECT_EQ(p.EffectivePeakValue(-10), 0) << "below Min counts as Min";
  EXPECT_EQ(p.PeakValue(), 0);
}

TEST(ProgressBarProperties, ValuesConvertToNumbers) {
  TcxProgressBarProperties p(nullptr);
  const TDateTime date = 45000.5;
  const struct {
    Variant in;
    Variant out;
  } cases[] = {
      {Variant("12.5"), Variant(12.5)},  {Variant("12x"), Variant(0)},  {Variant(""), Variant(0)},
      {Variant(7), Variant(7)},          {Null(), Variant(0)},          {Unassigned(), Variant(0)},
      {VarFromDateTime(date), VarFromDateTime(date)},
  };
  for (const auto& c : cases) {
    Variant out;
    p.ConvertToEditValue(c.in, out, false);
    EXPECT_EQ(VarType(out), VarType(c.out)) << VarToStr(c.in);
    EXPECT_EQ(VarToStr(out), VarToStr(c.out)) << VarToStr(c.in);
  }
  EXPECT_EQ(p.DisplayTextOf(Variant(33.5), true), u"33.5 %") << "the value itself, not a percentage";
  EXPECT_EQ(p.DisplayTextOf(Variant("abc"), true), u"0 %");
  p.SetShowTextStyle(cxtsPosition);
  EXPECT_EQ(p.DisplayTextOf(Variant(33.5), true), u"33.5");
}

TEST(ProgressBarProperties, AssignCopiesEverySettingWithOneNotice) {
  TcxProgressBarProperties source(nullptr), target(nullptr);
  source.SetMin(150);
  source.SetMax(400);
  source.SetOverloadValue(300);
  source.SetPeakValue(350);
  source.SetBarStyle(cxbsGradientLEDs);
  source.SetBarBevelOuter(cxbvRaised);
  source.SetBeginColor(clGreen);
  source.SetEndColor(clYellow);
  source.SetOverloadBeginColor(clBlue);
  source.SetOverloadEndColor(clAqua);
  source.SetPeakColor(clLime);
  source.SetPeakSize(5);
  source.SetBorderWidth(3);
  source.SetOrientation(cxorVertical);
  source.SetTextOrientation(cxorVertical);
  source.SetShowText(false);
  source.SetShowTextStyle(cxtsPosition);
  source.SetSolidTextColor(true);
  source.SetShowOverload(true);
  source.SetShowPeak(true);
  source.SetTransparentImage(false);
  source.ForegroundImage()->SetSize(3, 2);
  ChangeCounter counter;
  target.OnPropertiesChanged = counter.Handler();
  target.Assign(&source);
  EXPECT_EQ(counter.count, 1);
  EXPECT_EQ(target.Min(), 150);
  EXPECT_EQ(target.Max(), 400);
  EXPECT_EQ(target.OverloadValue(), 300);
  EXPECT_EQ(target.PeakValue(), 350);
  EXPECT_EQ(target.BarStyle(), cxbsGradientLEDs);
  EXPECT_EQ(target.BarBevelOuter(), cxbvRaised);
  EXPECT_EQ(target.BeginColor(), clGreen);
  EXPECT_EQ(target.EndColor(), clYellow);
  EXPECT_EQ(target.OverloadBeginColor(), clBlue);
  EXPECT_EQ(target.OverloadEndColor(), clAqua);
  EXPECT_EQ(target.PeakColor(), clLime);
  EXPECT_EQ(target.PeakSize(), 5);
  EXPECT_EQ(target.BorderWidth(), 3);
  EXPECT_EQ(target.Orientation(), cxorVertical);
  EXPECT_EQ(target.TextOrientation(), cxorVertical);
  EXPECT_FALSE(target.ShowText());
  EXPECT_EQ(target.ShowTextStyle(), cxtsPosition);
  EXPECT_TRUE(target.SolidTextColor());
  EXPECT_TRUE(target.ShowOverload());
  EXPECT_TRUE(target.ShowPeak());
  EXPECT_FALSE(target.TransparentImage());
  ASSERT_NE(target.ForegroundImageIfAny(), nullptr);
  EXPECT_NE(target.ForegroundImageIfAny(), source.ForegroundImageIfAny()) << "a copy";
  EXPECT_EQ(target.ForegroundImageIfAny()->Width(), 3);

  // A source whose Min dragged its Max along (Max = Min) is copied as it is.
  TcxProgressBarProperties dragged(nullptr), wide(nullptr);
  dragged.SetMin(150);
  wide.SetMax(300);
  wide.SetMin(200);
  wide.Assign(&dragged);
  EXPECT_EQ(wide.Min(), 150);
  EXPECT_EQ(wide.Max(), 150);
  EXPECT_EQ(wide.OverloadValue(), 150);

  TcxProgressBarProperties plain(nullptr);
  target.Assign(&plain);
  EXPECT_EQ(target.ForegroundImageIfAny(), nullptr) << "no image in the source frees the copy";
  EXPECT_EQ(target.Min(), 0);
  EXPECT_EQ(target.Max(), 100);
}

TEST(ProgressBarProperties, ForegroundImageIsMadeOnReadingAndNotifiesItsChanges) {
  TcxProgressBarProperties p(nullptr);
  ChangeCounter counter;
  p.OnPropertiesChanged = counter.Handler();
  EXPECT_EQ(p.ForegroundImageIfAny(), nullptr);
  TBitmap* image = p.ForegroundImage();
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(image->Empty());
  EXPECT_EQ(counter.count, 0);
  image->SetSize(4, 4);
  EXPECT_GE(counter.count, 1);
  const int before = counter.count;
  p.SetForegroundImage(nullptr);
  EXPECT_EQ(p.ForegroundImageIfAny(), nullptr);
  EXPECT_EQ(counter.count, before + 1);
  p.SetPeakSize(0);
  EXPECT_EQ(p.PeakSize(), 2) << "a peak of no pixels is refused";
}

TEST(ProgressBarProperties, RegisteredAsTheProgressBarKind) {
  InitializeEditors();
  TcxRegisteredClasses* kinds = GetRegisteredEditProperties();
  const Integer index = kinds->IndexOfClass(TcxProgressBarProperties::StaticClass());
  ASSERT_NE(index, -1);
  EXPECT_EQ(kinds->Descriptions(index), "ProgressBar|Represents a ProgressBar");
  EXPECT_EQ(GetClass("TcxProgressBarProperties"), TcxProgressBarProperties::StaticClass());
  TcxEditRepository repository(nullptr);
  TcxEditRepositoryItem* item = repository.NewRepositoryItem(GetClass("TcxEditRepositoryProgressBarItem"));
  ASSERT_NE(item, nullptr);
  EXPECT_NE(dynamic_cast<TcxProgressBarProperties*>(item->Properties()), nullptr);

  // The range values go to a form only when they differ from their defaults.
  TcxProgressBarProperties p(nullptr);
  const TPropInfo* max = GetPropInfo(&p, "Max");
  const TPropInfo* transparent = GetPropInfo(&p, "Transparent");
  ASSERT_NE(max, nullptr);
  ASSERT_NE(transparent, nullptr);
  EXPECT_FALSE(IsStoredProp(&p, *max));
  p.SetMax(250);
  EXPECT_TRUE(IsStoredProp(&p, *max));
  p.SetTransparent(true);
  EXPECT_FALSE(IsStoredProp(&p, *transparent));
}

// A bar laid out as an editor with a one-pixel border: bounds of
// (width + 2) x (height + 2) give a content of width x height.
class ProgressBarLayout : public ::testing::Test, public TestSurface {
 protected:
  void SetUp() override {
    InitializeEditors();
    styles = std::make_unique<TcxContainerStyles>(nullptr, &CreateContainerStyle<TcxEditStyle>);
    style = static_cast<TcxEditStyle*>(styles->NormalStyle());
    style->SetTransparentBorder(false);
    style->SetEditBorderStyle(ebsSingle);
    style->SetBorderColor(clRed);
    style->SetColor(clWhite);
    style->LookAndFeel()->SetNativeStyle(false);
  }

  TcxCustomProgressBarViewInfo& Layout(Variant value, Integer width = 100, Integer height = 19) {
    Reset(width + 2, height + 2);
    vi = std::make_unique<TcxCustomProgressBarViewInfo>();
    auto viewData = props.CreateViewData(style, false);
    viewData->CalculateDisplayText(canvas.get(), value, vi.get());
    viewData->ComputeLayout(canvas.get(), {0, 0, width + 2, height + 2}, {-1, -1}, cxmbNone, {}, vi.get(), false);
    return *vi;
  }

  TcxCustomProgressBarViewInfo& Paint(Variant value, Integer width = 100, Integer height = 19) {
    Layout(value, width, height);
    vi->DrawTo(canvas.get());
    return *vi;
  }

  // The colours of row y from x0 on, one letter per pixel by the legend.
  std::string Row(Integer y, Integer x0, Integer x1, const std::vector<std::pair<TColor, char>>& legend) {
    return Rows({x0, y, x1, y + 1}, legend)[0];
  }

  std::unique_ptr<TcxContainerStyles> styles;
  TcxEditStyle* style = nullptr;
  TcxProgressBarProperties props{nullptr};
  std::unique_ptr<TcxCustomProgressBarViewInfo> vi;
};

TEST_F(ProgressBarLayout, HorizontalBarAndPercentText) {
  const struct {
    Double min, max, position;
    Integer barRight;
    const char* text;
  } cases[] = {
      {0, 100, 33.5, 1 + 33, "34 %"},   {0, 100, 32.5, 1 + 32, "32 %"}, {0, 0.5, 0.5, 1 + 50, "50 %"},
      {0, 100, 150, 1 + 100, "100 %"},  {0, 100, -20, 1, "0 %"},        {10, 20, 15, 1 + 50, "50 %"},
  };
  for (const auto& c : cases) {
    props.SetMax(1000);
    props.SetMin(c.min);
    props.SetMax(c.max);
    const auto& v = Layout(Variant(c.position));
    EXPECT_EQ(v.DrawingArea, (TRect{1, 1, 101, 20})) << c.position;
    EXPECT_EQ(v.BarRect, (TRect{1, 1, c.barRight, 20})) << c.position;
    EXPECT_EQ(v.BarText(), c.text) << c.position;
    EXPECT_FALSE(v.OverloadVisible);
  }
  props.SetMin(0);
  props.SetMax(100);
  props.SetShowTextStyle(cxtsPosition);
  EXPECT_EQ(Layout(Variant(7.25)).BarText(), "7.25");
}

TEST_F(ProgressBarLayout, VerticalBarFillsFromTheBottom) {
  props.SetOrientation(cxorVertical);
  props.SetBorderWidth(2);
  const auto& v = Layout(Variant(25), 19, 104);
  // Content: the inside of the border less 2 on each side, 100 high.
  EXPECT_EQ(v.BarRect, (TRect{3, 103 - 25, 18, 103}));
}

TEST_F(ProgressBarLayout, OverloadZoneAndPeak) {
  props.SetShowOverload(true);
  props.SetShowPeak(true);
  const auto& h = Layout(Variant(90));
  EXPECT_TRUE(h.OverloadVisible);
  EXPECT_EQ(h.BarRect, (TRect{1, 1, 81, 20}));
  EXPECT_EQ(h.OverloadRect, (TRect{81, 1, 91, 20}));
  EXPECT_EQ(h.PeakRect, (TRect{91, 1, 93, 20}));
  EXPECT_FALSE(Layout(Variant(79)).OverloadVisible) << "below the overload value";
  EXPECT_EQ(vi->PeakRect, (TRect{91, 1, 93, 20})) << "the peak stays at 90";
  EXPECT_EQ(props.PeakValue(), 90);
  EXPECT_EQ(Layout(Variant(100)).PeakRect, (TRect{99, 1, 101, 20})) << "kept inside the content";

  props.SetOrientation(cxorVertical);
  props.SetPeakValue(0);
  const auto& v = Layout(Variant(90), 19, 100);
  EXPECT_EQ(v.BarRect, (TRect{1, 21, 20, 101}));
  EXPECT_EQ(v.OverloadRect, (TRect{1, 11, 20, 21}));
  EXPECT_EQ(v.PeakRect, (TRect{1, 9, 20, 11}));
}

TEST_F(ProgressBarLayout, NativeDrawingUsesTheWholeBoundsAndNeverShowsTheOverload) {
  VisualStylesScope themes(true);
  style->LookAndFeel()->SetNativeStyle(true);
  props.SetShowOverload(true);
  const auto& v = Layout(Variant(90), 105, 21);
  ASSERT_TRUE(v.NativeDrawing);
  EXPECT_EQ(v.DrawingArea, (TRect{0, 0, 107, 23}));
  // Content (3, 3, 105, 21): 102 wide.
  EXPECT_EQ(v.BarRect, (TRect{3, 3, 3 + 91, 21}));
  EXPECT_FALSE(v.OverloadVisible);
}

TEST_F(ProgressBarLayout, MeasuresOneTextLineAndAFixedWidth) {
  VisualStylesScope themes(false);
  Reset(10, 10);
  TSize size{};
  props.MeasureEditSize(canvas.get(), style, false, Variant(50), TcxEditSizeLimits{}, size);
  // The single border, 4 for the classic frame and 3 for the text.
  EXPECT_EQ(size.cx, 2 + 4 + 3);
  canvas->AssignFont(style->Font());
  EXPECT_EQ(size.cy, 2 + 4 + canvas->MeasureTextHeight("Zg")) << "border, text offsets and one line";
}

// --- pixels, no styles -------------------------------------------------------------------

TEST_F(ProgressBarLayout, SolidBarWithOverloadPeakAndBevel) {
  VisualStylesScope themes(false);
  props.SetShowText(false);
  Paint(Variant(33.5));
  const std::vector<std::pair<TColor, char>> legend{{clNavy, 'n'}, {clRed, 'r'}};
  EXPECT_EQ(Row(10, 0, 36, legend), "r" + std::string(33, 'n') + "..");

  props.SetShowOverload(true);
  props.SetShowPeak(true);
  props.SetPeakColor(clLime);
  Paint(Variant(90));
  const std::vector<std::pair<TColor, char>> overload{
      {clNavy, 'n'}, {static_cast<TColor>(0x8080FF), 'o'}, {clLime, 'p'}};
  EXPECT_EQ(Row(10, 78, 95, overload), "nnn" + std::string(10, 'o') + "pp..");

  props.SetShowOverload(false);
  props.SetShowPeak(false);
  props.SetBarBevelOuter(cxbvRaised);
  Paint(Variant(50));
  EXPECT_TRUE(Is(1, 1, clBtnHighlight)) << "the raised edge";
  EXPECT_TRUE(Is(50, 19, clBtnShadow));
  EXPECT_TRUE(Is(10, 10, clNavy));
}

TEST_F(ProgressBarLayout, VerticalSolidBar) {
  VisualStylesScope themes(false);
  props.SetShowText(false);
  props.SetOrientation(cxorVertical);
  Paint(Variant(30), 19, 100);
  EXPECT_TRUE(Is(10, 100, clNavy));
  EXPECT_TRUE(Is(10, 71, clNavy));
  EXPECT_TRUE(Is(10, 70, clWhite));
}

TEST_F(ProgressBarLayout, GradientColumnsRunOverTheDrawingArea) {
  VisualStylesScope themes(false);
  props.SetShowText(false);
  props.SetBarStyle(cxbsGradient);
  props.SetBeginColor(clBlack);
  props.SetEndColor(clWhite);
  Paint(Variant(100));
  // Column i of 100: each channel Trunc(i * 255 / 100).
  for (Integer i : {0, 1, 50, 99}) {
    const auto c = static_cast<uint32_t>(i * 255 / 100);
    EXPECT_EQ(Px(1 + i, 10), static_cast<TColor>(c | c << 8 | c << 16)) << i;
  }
  // The overload zone gets its own gradient.
  props.SetShowOverload(true);
  props.SetOverloadBeginColor(clRed);
  props.SetOverloadEndColor(clRed);
  Paint(Variant(100));
  EXPECT_TRUE(Is(82, 10, clRed));
  EXPECT_FALSE(Is(78, 10, clRed));
}

TEST_F(ProgressBarLayout, LEDsOfTwoThirdsOfTheHeightWithTwoPixelGaps) {
  VisualStylesScope themes(false);
  props.SetShowText(false);
  props.SetBarStyle(cxbsLEDs);
  // A 21-pixel-high drawing area: LEDs of 14 pixels, every 16.
  Paint(Variant(40), 100, 21);
  const std::vector<std::pair<TColor, char>> legend{{clNavy, 'n'}, {clRed, 'r'}};
  const std::string led(14, 'n');
  EXPECT_EQ(Row(10, 0, 42, legend), "r" + led + ".." + led + ".." + std::string(8, 'n') + ".");
  // Full: the end piece after the last LED is drawn too.
  Paint(Variant(100), 100, 21);
  EXPECT_EQ(Row(10, 94, 102, legend), "n..nnnnr");
}

TEST_F(ProgressBarLayout, GradientLEDsTakeTheColourOfTheirColumn) {
  VisualStylesScope themes(false);
  props.SetShowText(false);
  props.SetBarStyle(cxbsGradientLEDs);
  props.SetBeginColor(clBlack);
  props.SetEndColor(clWhite);
  Paint(Variant(40), 100, 21);
  // The first LED is drawn at loop column 17 (i = 16): channel 40.
  EXPECT_EQ(Px(5, 10), static_cast<TColor>(0x282828));
  EXPECT_TRUE(Is(15, 10, clWhite)) << "the gap";
}

TEST_F(ProgressBarLayout, BitmapStylesTileTheImage) {
  VisualStylesScope themes(false);
  props.SetShowText(false);
  props.SetTransparentImage(false);
  props.SetBarStyle(cxbsBitmap);
  Paint(Variant(50));
  EXPECT_TRUE(Is(10, 10, clWhite)) << "no image, no bar";
  TBitmap* image = props.ForegroundImage();
  image->SetSize(2, 2);
  image->Canvas()->Brush()->SetColor(clGreen);
  image->Canvas()->FillRect({0, 0, 2, 2});
  Paint(Variant(50));
  EXPECT_EQ(Count(clGreen), 50 * 19);

  props.SetBarStyle(cxbsBitmapLEDs);
  props.SetOrientation(cxorVertical);
  // An image 2 high: segments of 2 every 4, no failure.
  Paint(Variant(100), 19, 40);
  // Counted from the row above the bottom one: segments at rows 38-39,
  // 34-35, ..., the rest up to the top when full.
  EXPECT_TRUE(Is(10, 40, clWhite));
  EXPECT_TRUE(Is(10, 39, clGreen));
  EXPECT_TRUE(Is(10, 38, clGreen));
  EXPECT_TRUE(Is(10, 37, clWhite));
  EXPECT_TRUE(Is(10, 2, clGreen));
}

TEST_F(ProgressBarLayout, TextOverTheBarIsInverted) {
  VisualStylesScope themes(false);
  style->SetTextColor(clBlack);
  const TColor inverse = static_cast<TColor>(0x7FFFFF);  // of navy
  Paint(Variant(100));
  EXPECT_GT(Count(inverse), 0);
  EXPECT_EQ(Count(clBlack), 0) << "no glyph pixel in the text colour over the bar";

  props.SetSolidTextColor(true);
  Paint(Variant(100));
  EXPECT_EQ(Count(inverse), 0);
  EXPECT_GT(Count(clBlack), 0);

  props.SetSolidTextColor(false);
  Paint(Variant(0));
  EXPECT_EQ(Count(inverse), 0) << "nothing under the text";
  EXPECT_GT(Count(clBlack), 0);
}

TEST_F(ProgressBarLayout, VerticalTextRunsDownward) {
  VisualStylesScope themes(false);
  style->SetTextColor(clBlack);
  props.SetTextOrientation(cxorVertical);
  props.SetSolidTextColor(true);
  Paint(Variant(0), 40, 100);
  Integer left = 1000, right = -1, top = 1000, bottom = -1;
  for (Integer y = 0; y < 102; ++y)
    for (Integer x = 0; x < 42; ++x)
      if (Is(x, y, clBlack)) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  ASSERT_GE(right, left);
  EXPECT_GT(bottom - top, right - left) << "taller than wide";

  props.SetSolidTextColor(false);
  props.SetOrientation(cxorVertical);
  Paint(Variant(100), 40, 100);
  EXPECT_GT(Count(static_cast<TColor>(0x7FFFFF)), 0) << "inverted over a full vertical bar";
  EXPECT_EQ(Count(clBlack), 0);
}

TEST_F(ProgressBarLayout, TransparentInPlaceKeepsWhatLiesUnderTheEmptyPart) {
  VisualStylesScope themes(false);
  props.SetShowText(false);
  Reset(102, 21);
  canvas->Brush()->SetColor(clGreen);
  canvas->Canvas->FillRect({0, 0, 102, 21});
  vi = std::make_unique<TcxCustomProgressBarViewInfo>();
  vi->Transparent = true;
  auto viewData = props.CreateViewData(style, true);
  viewData->CalculateDisplayText(canvas.get(), Variant(50), vi.get());
  viewData->ComputeLayout(canvas.get(), {0, 0, 102, 21}, {-1, -1}, cxmbNone, {}, vi.get(), false);
  vi->DrawTo(canvas.get());
  EXPECT_EQ(vi->DrawingArea, (TRect{0, 0, 102, 21})) << "in place: the whole bounds";
  EXPECT_TRUE(Is(10, 10, clNavy));
  EXPECT_TRUE(Is(80, 10, clGreen));
  EXPECT_TRUE(Is(0, 0, clNavy)) << "no border in place";
  EXPECT_TRUE(Is(101, 20, clGreen));
}

// --- pixels, our renderer -------------------------------------------------------------------

class ProgressBarNative : public ProgressBarLayout {
 protected:
  void SetUp() override {
    ProgressBarLayout::SetUp();
    style->LookAndFeel()->SetNativeStyle(true);
    props.SetShowText(false);
    chunk.Reset(10, 10);
    UxDrawThemeBackground(OpenThemeByIndex(ThemeClassProgress), chunk.canvas->DeviceContext(), win::PP_CHUNK, 1,
                          TRect{0, 0, 10, 10});
  }
  TColor Chunk() const { return chunk.Px(5, 5); }
  TestSurface chunk;
  VisualStylesScope themes{true};
};

TEST_F(ProgressBarNative, SolidRepeatsTheChunkOverTheThemedBar) {
  props.SetShowOverload(true);
  Paint(Variant(90));
  ASSERT_TRUE(vi->NativeDrawing);
  TestSurface reference;
  reference.Reset(102, 21);
  UxDrawThemeBackground(OpenThemeByIndex(ThemeClassProgress), reference.canvas->DeviceContext(), win::PP_BAR, 1,
                        TRect{0, 0, 102, 21});
  EXPECT_EQ(Px(0, 10), reference.Px(0, 10)) << "the theme's bar frame";
  EXPECT_EQ(Px(99, 10), reference.Px(99, 10)) << "the empty part";
  for (Integer x : {3, 50, 85, 89}) EXPECT_EQ(Px(x, 10), Chunk()) << x << ": no overload colour";
  EXPECT_NE(Chunk(), reference.Px(99, 10));
}

TEST_F(ProgressBarNative, LEDsLeaveGaps) {
  props.SetBarStyle(cxbsLEDs);
  Paint(Variant(50), 100, 19);
  // 21 high: LEDs 14 long every 16, from the content's left (3).
  EXPECT_EQ(Px(3, 10), Chunk());
  EXPECT_EQ(Px(16, 10), Chunk());
  EXPECT_NE(Px(17, 10), Chunk());
  EXPECT_EQ(Px(19, 10), Chunk());
}

// --- the control ----------------------------------------------------------------------------

TEST(ProgressBar, NewControlAndPositionRules) {
  InitializeEditors();
  TcxProgressBar bar(nullptr);
  EXPECT_EQ(bar.Width(), 121);
  EXPECT_TRUE(bar.AutoSize()) << "the height is measured (see AutoSizeTakesOneTextLine)";
  EXPECT_FALSE(bar.ControlStyle.Contains(csCaptureMouse));
  EXPECT_FALSE(bar.ControlStyle.Contains(csClickEvents));
  EXPECT_FALSE(bar.ControlStyle.Contains(csDoubleClicks));
  EXPECT_FALSE(bar.ControlStyle.Contains(csAcceptsControls));
  EXPECT_TRUE(bar.ParentColor());
  EXPECT_FALSE(bar.CanFocus());
  EXPECT_EQ(GetClass("TcxProgressBar"), TcxProgressBar::StaticClass());

  bar.SetPosition(150);
  EXPECT_EQ(bar.Position(), 100) << "clamped on write";
  EXPECT_EQ(VarToStr(bar.EditValue()), "100");
  bar.SetPosition(-3);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetPosition(40);
  bar.Properties()->SetMax(30);
  EXPECT_EQ(bar.Position(), 30) << "a smaller range pulls the value in";
  EXPECT_EQ(VarToStr(bar.EditValue()), "30");
  bar.SetEditValue(Variant("12.5"));
  EXPECT_EQ(bar.Position(), 12.5);
}

TEST(ProgressBar, PositionReadFromAFormIsClampedAfterLoading) {
  InitializeEditors();
  TComponent root(nullptr);
  ReadComponentText(
      "object Root: TComponent\n"
      "  object High: TcxProgressBar\n"
      "    Position = 150.000000000000000000\n"
      "  end\n"
      "  object Low: TcxProgressBar\n"
      "    Position = 5.000000000000000000\n"
      "    Properties.Min = 10.000000000000000000\n"
      "  end\n"
      "end\n",
      &root);
  auto* high = dynamic_cast<TcxProgressBar*>(root.FindComponent("High"));
  auto* low = dynamic_cast<TcxProgressBar*>(root.FindComponent("Low"));
  ASSERT_NE(high, nullptr);
  ASSERT_NE(low, nullptr);
  EXPECT_EQ(high->Position(), 100);
  EXPECT_EQ(low->Position(), 10) << "below Min after loading shows Min";
}

TEST(ProgressBar, PaintsOnAForm) {
  InitializeEditors();
  VisualStylesScope themes(false);
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  auto* bar = new TcxProgressBar(&form);
  bar->SetParent(&form);
  bar->SetBounds(10, 10, 121, 21);
  bar->Properties()->SetShowText(false);
  form.Show();
  bar->SetPosition(50);
  Application->ProcessMessages();
  TestSurface surface;
  surface.Reset(121, 21);
  bar->PaintTo(surface.canvas->DeviceContext(), 0, 0);
  const TRect& area = bar->ViewInfo()->DrawingArea;
  const Integer filled = area.Left + area.Width() / 2;
  EXPECT_TRUE(surface.Is(area.Left + 1, 10, clNavy));
  EXPECT_TRUE(surface.Is(filled - 1, 10, clNavy));
  EXPECT_FALSE(surface.Is(filled + 1, 10, clNavy));
}

// Auto-sized, the bar is as high as one line of its font and its frame,
// and keeps the width it is given; switched off, it keeps its height.
TEST(ProgressBar, AutoSizeTakesOneTextLine) {
  InitializeEditors();
  VisualStylesScope themes(false);
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* bar = new TcxProgressBar(&form);
  bar->SetParent(&form);
  form.Show();
  bar->SetBounds(10, 10, 150, 60);
  Application->ProcessMessages();
  const Integer small = bar->Height();
  EXPECT_EQ(bar->Width(), 150);
  EXPECT_LT(small, 60);
  EXPECT_GT(small, bar->Style()->Font()->GetSize()) << "at least a line of text";
  bar->Style()->Font()->SetSize(bar->Style()->Font()->GetSize() * 2);
  bar->SetBounds(10, 10, 150, 60);
  Application->ProcessMessages();
  EXPECT_GT(bar->Height(), small) << "a larger font makes a higher bar";
  EXPECT_EQ(bar->Width(), 150);

  bar->SetAutoSize(false);
  bar->SetBounds(10, 10, 150, 60);
  EXPECT_EQ(bar->Height(), 60);
}

// Starts and finishes are counted: a module stays registered until its
// last finish, which removes both the editor kind and its filter helper;
// a finish too many does nothing.
TEST(BarModules, TheLastFinishRemovesTheKindAndTheFilterHelper) {
  InitializeEditors();
  struct Module {
    const char* name;
    void (*start)();
    void (*finish)();
    TClass properties;
  } modules[] = {
      {"progress bar", InitializeEditProgressBar, FinalizeEditProgressBar, TcxProgressBarProperties::StaticClass()},
      {"track bar", InitializeTrackBar, FinalizeTrackBar, TcxTrackBarProperties::StaticClass()},
  };
  for (const Module& m : modules) {
    auto registered = [&] { return GetRegisteredEditProperties()->IndexOfClass(m.properties) != -1; };
    auto helped = [&] { return FilterEditsController()->FindHelper(m.properties) != nullptr; };
    ASSERT_TRUE(registered()) << m.name;
    ASSERT_TRUE(helped()) << m.name;
    m.start();
    m.finish();
    EXPECT_TRUE(registered()) << m.name << ": one start is still open";
    EXPECT_TRUE(helped()) << m.name;
    m.finish();
    EXPECT_FALSE(registered()) << m.name;
    EXPECT_FALSE(helped()) << m.name;
    m.finish();
    m.start();
    EXPECT_TRUE(registered()) << m.name << ": started again after the last finish";
    EXPECT_TRUE(helped()) << m.name;
  }
}

}  // namespace
