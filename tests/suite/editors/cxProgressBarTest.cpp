// The progress bar: the range rules of its settings, the peak hold, the
// conversion of values and their display texts, copying, the foreground
// image and the registration of the editor kind.
#include "suite/editors/cxProgressBar.h"

#include <gtest/gtest.h>

#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Utf8.h"
#include "suite/editors/EditorsStartup.h"

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

}  // namespace
