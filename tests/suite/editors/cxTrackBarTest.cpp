// The track bar on a shown form: values and their texts, the settings'
// rules, keys and mouse moving the thumb and posting, the selection, the
// layout for small and huge ranges, and pictures of ticks, thumb, track and
// selection with our renderer and without styles.
#include "suite/editors/cxTrackBar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/Input.h"
#include "platform/win/WinUser.h"
#include "platform/win/Windows.h"
#include "tests/suite/foundation/CanvasFixture.h"
#include "tests/support/Pictures.h"
#include "tests/support/VisualStylesScope.h"

namespace {

TEST(TrackBarValues, TextsAndOrdinalsGiveOneInteger) {
  struct Case {
    const char* Name;
    Variant Value;
    Integer Expected;
  } cases[] = {
      {"null", Null(), -5},
      {"empty", Variant(), -5},
      {"an integer", Variant(7), 7},
      {"a text with blanks", Variant(" 7 "), 7},
      {"a negative text", Variant("-3"), -3},
      {"letters before", Variant("x7"), -5},
      {"letters after", Variant("7x"), -5},
      {"hexadecimal with $", Variant("$1F"), 31},
      {"hexadecimal with 0x", Variant("0x1f"), 31},
      {"beyond the range", Variant("99999999999"), INT_MAX},
      {"below the range", Variant("-99999999999"), INT_MIN},
      {"a 64-bit ordinal", Variant(Int64{1} << 40), INT_MAX},
      {"a float", Variant(2.5), -5},
      {"a lone sign", Variant("-"), -5},
  };
  for (const Case& c : cases) EXPECT_EQ(TrackBarValueToInteger(c.Value, -5), c.Expected) << c.Name;
}

TEST(TrackBarValues, SettingsKeepTheirRules) {
  TcxTrackBarProperties p(nullptr);
  p.SetMin(20);
  EXPECT_EQ(p.Max(), 20) << "Min above Max takes Max along";
  EXPECT_EQ(p.Range(), 1) << "an empty range counts as 1";
  p.SetMax(5);
  EXPECT_EQ(p.Min(), 5);
  p.SetBorderWidth(-3);
  p.SetFrequency(-1);
  EXPECT_EQ(p.BorderWidth(), 0);
  EXPECT_EQ(p.Frequency(), 0);
  p.SetMin(INT_MIN);
  p.SetMax(INT_MAX);
  EXPECT_EQ(p.Range(), Int64{UINT32_MAX}) << "the full range in 64 bits";
  EXPECT_EQ(p.ClampValue(INT_MIN), INT_MIN);

  TcxTrackBarProperties q(nullptr);
  p.SetThumbStep(cxtsJump);
  p.SetTickMarks(cxtmBoth);
  q.Assign(&p);
  EXPECT_EQ(q.Min(), INT_MIN);
  EXPECT_EQ(q.Max(), INT_MAX);
  EXPECT_EQ(q.TickMarks(), cxtmBoth);
  EXPECT_EQ(q.ThumbStep(), cxtsNormal) << "the thumb step is not copied";
  Variant v;
  p.ConvertToEditValue(Variant("12"), v, false);
  EXPECT_EQ(VarType(v), varInteger);
  EXPECT_EQ(v.AsInteger(), 12);
}

struct Changes {
  int count = 0;
  void Changed(TObject*) { ++count; }
};

class TrackBarOnForm : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetInputState();
    win::InjectMouseMove({0, 0});
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 400, 300);
    bar = new TcxTrackBar(form.get());
    bar->SetParent(form.get());
    bar->SetLeft(10);
    bar->SetTop(10);
    other = new TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(10, 200, 80, 20);
    form->Show();
    bar->SetFocus();
    Application->ProcessMessages();
    bar->Properties()->OnChange = TNotifyEvent(&changes, &Changes::Changed);
  }
  void TearDown() override {
    form.reset();
    win::ResetInputState();
  }
  TcxCustomTrackBarProperties* Props() { return bar->Properties(); }
  TcxCustomTrackBarViewInfo* Info() { return bar->TrackViewInfo(); }
  void Key(win::UINT vk, bool down = true) {
    win::SendMessage(bar->Handle(), down ? win::WM_KEYDOWN : win::WM_KEYUP, vk, 0);
  }
  void Click(const TPoint& client, bool ctrl = false) {
    const TPoint p = bar->ClientToScreen(client);
    if (ctrl) win::InjectKey(win::VK_CONTROL, true);
    win::InjectMouseButton(win::VK_LBUTTON, true, {p.X, p.Y});
    win::InjectMouseButton(win::VK_LBUTTON, false, {p.X, p.Y});
    if (ctrl) win::InjectKey(win::VK_CONTROL, false);
    Application->ProcessMessages();
  }
  TPoint ThumbCentre() {
    const TRect& t = Info()->HitThumbRect;
    return {(t.Left + t.Right) / 2, (t.Top + t.Bottom) / 2};
  }

  std::unique_ptr<TForm> form;
  TcxTrackBar* bar = nullptr;
  TEdit* other = nullptr;
  Changes changes;
};

TEST_F(TrackBarOnForm, ANewBarAndItsPosition) {
  EXPECT_EQ(bar->Width(), 196);
  EXPECT_EQ(bar->Height(), 76);
  EXPECT_FALSE(bar->AutoSize()) << "the bar keeps the size it is given";
  // To a host the whole bar is one held button without text.
  std::string text = "x";
  EXPECT_TRUE(Info()->AnyButtonPressed());
  EXPECT_TRUE(Info()->PointOnButton({1, 1}));
  EXPECT_FALSE(Info()->TextAtPoint({20, 20}, text));
  EXPECT_TRUE(text.empty());
  EXPECT_EQ(bar->Position(), 0);
  EXPECT_EQ(bar->EditValue().AsInteger(), 0);
  bar->SetPosition(50);
  EXPECT_EQ(bar->Position(), 10) << "written positions are clamped";
  bar->SetEditValue(Variant(" 7 "));
  EXPECT_EQ(bar->Position(), 7);
  bar->SetEditValue(Variant("x7"));
  EXPECT_EQ(bar->Position(), 0);
  // A string edit value with a hexadecimal number reads whole, not its
  // decimal digits.
  bar->SetEditValue(Variant("$A"));
  EXPECT_EQ(bar->Position(), 10);
  bar->SetEditValue(Variant("$1"));
  EXPECT_EQ(bar->Position(), 1);
}

TEST_F(TrackBarOnForm, KeysMoveThePositionAndPostAtOnce) {
  Props()->SetPageSize(4);
  bar->SetPosition(5);
  struct Step {
    win::UINT Key;
    Integer Position;
  } steps[] = {{win::VK_RIGHT, 6},  {win::VK_DOWN, 7},  {win::VK_NEXT, 10}, {win::VK_RIGHT, 10},
               {win::VK_PRIOR, 6},  {win::VK_LEFT, 5},  {win::VK_UP, 4},    {win::VK_END, 10},
               {win::VK_HOME, 0},   {win::VK_PRIOR, 0}, {'A', 0}};
  int before = changes.count;
  Integer previous = bar->Position();
  for (const Step& s : steps) {
    Key(s.Key);
    EXPECT_EQ(bar->Position(), s.Position) << "key " << s.Key;
    EXPECT_EQ(changes.count - before, s.Position != previous ? 1 : 0) << "key " << s.Key;
    before = changes.count;
    previous = s.Position;
  }
  EXPECT_TRUE(bar->ModifiedAfterEnter());
}

TEST_F(TrackBarOnForm, ShiftArrowsSelectFromTheAnchor) {
  bar->SetPosition(2);
  Key(win::VK_SHIFT);
  for (int i = 0; i < 3; ++i) Key(win::VK_RIGHT);
  EXPECT_EQ(Props()->SelectionStart(), 2);
  EXPECT_EQ(Props()->SelectionEnd(), 5);
  Key(win::VK_SHIFT, false);
  EXPECT_FALSE(bar->Selecting());
  Key(win::VK_LEFT);
  EXPECT_EQ(Props()->SelectionEnd(), 5) << "the range stays after Shift";
  // Backwards from a new anchor.
  Key(win::VK_SHIFT);
  Key(win::VK_HOME);
  EXPECT_EQ(Props()->SelectionStart(), 0);
  EXPECT_EQ(Props()->SelectionEnd(), 4);
  Key(win::VK_SHIFT, false);
  ASSERT_TRUE(Info()->SelectionVisible);

  // Ctrl and a click on the thumb drops the selection.
  Click(ThumbCentre(), true);
  EXPECT_EQ(Props()->SelectionStart(), 0);
  EXPECT_EQ(Props()->SelectionEnd(), 0);
  EXPECT_FALSE(Info()->SelectionVisible);
}

TEST_F(TrackBarOnForm, ClicksBesideTheThumbStepOrJump) {
  Props()->SetPageSize(5);
  bar->SetPosition(5);
  const TRect track = Info()->TrackRect;
  const Integer y = ThumbCentre().Y;
  Click({track.Left + 2, y});
  EXPECT_EQ(bar->Position(), 4) << "one step, not a page";
  Click({track.Right - 2, y});
  EXPECT_EQ(bar->Position(), 5);
  const int before = changes.count;
  Click(ThumbCentre());
  EXPECT_EQ(bar->Position(), 5) << "a click on the thumb moves nothing";
  EXPECT_EQ(changes.count, before);

  Props()->SetThumbStep(cxtsJump);
  Click({track.Right - 1, y});
  EXPECT_EQ(bar->Position(), 10);
  Click({Info()->ValuePixel(3) + 1, y});
  EXPECT_EQ(bar->Position(), 3);
}

TEST_F(TrackBarOnForm, DraggingTheThumbMovesByThePointersDistance) {
  bar->SetPosition(2);
  const TPoint from = bar->ClientToScreen(ThumbCentre());
  win::InjectMouseMove({from.X, from.Y});
  win::InjectMouseButton(win::VK_LBUTTON, true, {from.X, from.Y});
  Application->ProcessMessages();
  EXPECT_EQ(Info()->ThumbState, tbsPressed);
  // 10 values over 196 pixels: 98 pixels right are 5 values.
  win::InjectMouseMove({from.X + 98, from.Y});
  Application->ProcessMessages();
  EXPECT_EQ(bar->Position(), 7);
  win::InjectMouseMove({from.X + 140, from.Y});
  Application->ProcessMessages();
  EXPECT_EQ(bar->Position(), 10);
  const TPoint end = bar->ClientToScreen(ThumbCentre());
  win::InjectMouseButton(win::VK_LBUTTON, false, {end.X, end.Y});
  Application->ProcessMessages();
  EXPECT_EQ(Info()->ThumbState, tbsHot);
  EXPECT_FALSE(Info()->MouseFlags & tbfDragging);
}

TEST_F(TrackBarOnForm, VerticalBarsHoverAndDialogKeys) {
  EXPECT_EQ(win::SendMessage(bar->Handle(), win::WM_GETDLGCODE, 0, 0), win::DLGC_WANTARROWS)
      << "arrows, not Tab, for a stand-alone bar";
  Props()->SetOrientation(tboVertical);
  bar->SetBounds(300, 10, 76, 196);
  bar->SetPosition(5);
  const TRect& t = Info()->HitThumbRect;
  ASSERT_GT(t.Height(), 0);
  EXPECT_LT(t.Width(), 40) << "across the narrow side";
  const Integer x = ThumbCentre().X;
  Click({x, t.Top - 5});
  EXPECT_EQ(bar->Position(), 4) << "above the thumb is towards Min";
  Click({x, Info()->TrackRect.Bottom - 2});
  EXPECT_EQ(bar->Position(), 5);

  const TPoint over = bar->ClientToScreen(ThumbCentre());
  win::InjectMouseMove({over.X, over.Y});
  Application->ProcessMessages();
  EXPECT_EQ(Info()->ThumbState, tbsHot);
  win::InjectMouseMove({over.X, over.Y + 60});
  Application->ProcessMessages();
  EXPECT_EQ(Info()->ThumbState, tbsNormal);
  win::InjectMouseMove({over.X, over.Y});
  Application->ProcessMessages();
  const TPoint elsewhere = other->ClientToScreen({5, 5});
  win::InjectMouseMove({elsewhere.X, elsewhere.Y});
  Application->ProcessMessages();
  EXPECT_EQ(Info()->ThumbState, tbsNormal) << "leaving the bar ends the hot thumb";
  bar->SetEnabled(false);
  bar->RecalculateAtCursor();
  EXPECT_EQ(Info()->ThumbState, tbsDisabled);
}

TEST_F(TrackBarOnForm, LayoutFollowsTheRange) {
  const TRect track = Info()->TrackRect;
  const TRect& w = Info()->W;
  EXPECT_EQ(track.Left, w.Left + 7);
  EXPECT_EQ(track.Right, w.Right - 7);
  EXPECT_EQ(Info()->ThumbRect.Left, track.Left) << "Position 0 at the track's start";
  bar->SetPosition(10);
  EXPECT_EQ(Info()->ThumbRect.Right, track.Right) << "Position 10 at its end";

  // Min = Max: no division by zero, the thumb at the start.
  Props()->SetMin(10);
  EXPECT_EQ(Info()->ThumbRect.Left, track.Left);

  // The whole integer range: Position 0 lies in the middle.
  Props()->SetMin(INT_MIN);
  Props()->SetMax(INT_MAX);
  bar->SetPosition(0);
  EXPECT_GT(Info()->PixelsPerUnit, 0);
  const Integer middle = (track.Left + track.Right - Info()->ThumbAlong) / 2;
  EXPECT_NEAR(Info()->ThumbRect.Left, middle, 1);
  Key(win::VK_END);
  EXPECT_EQ(bar->Position(), INT_MAX);
  Key(win::VK_RIGHT);
  EXPECT_EQ(bar->Position(), INT_MAX);
  Key(win::VK_HOME);
  Key(win::VK_LEFT);
  EXPECT_EQ(bar->Position(), INT_MIN);

  // A bar whose track is as long as its thumb: jump clicks leave the value.
  Props()->SetMin(0);
  Props()->SetMax(10);
  Props()->SetThumbStep(cxtsJump);
  bar->SetPosition(4);
  bar->SetWidth(bar->Width() - (Info()->TrackRect.Width() - Info()->ThumbAlong));
  ASSERT_EQ(Info()->PixelsPerUnit, 0);
  Click({1, ThumbCentre().Y});
  EXPECT_EQ(bar->Position(), 4);

}

class TrackBarItem : public TcxEditRepositoryItemOf<TcxTrackBarProperties> {
 public:
  explicit TrackBarItem(TComponent* AOwner) : TcxEditRepositoryItemOf(AOwner) {}
};

// A repository item's settings serve bars of different sizes: each acts on
// its own layout, whichever was laid out last.
TEST_F(TrackBarOnForm, BarsSharingSettingsKeepTheirOwnLayouts) {
  auto* item = new TrackBarItem(form.get());
  auto* narrow = new TcxTrackBar(form.get());
  narrow->SetParent(form.get());
  narrow->SetBounds(10, 100, 100, 76);
  bar->SetRepositoryItem(item);
  narrow->SetRepositoryItem(item);
  bar->SetPosition(5);
  narrow->SetPosition(5);
  bar->RecalculateAtCursor();
  narrow->RecalculateAtCursor();
  ASSERT_NE(Info()->HitThumbRect.Left, narrow->TrackViewInfo()->HitThumbRect.Left);
  Click(ThumbCentre());
  EXPECT_EQ(bar->Position(), 5) << "the wide bar's thumb, not a click beside the narrow one's";
  const TRect& t = narrow->TrackViewInfo()->HitThumbRect;
  const TPoint p = narrow->ClientToScreen({(t.Left + t.Right) / 2, (t.Top + t.Bottom) / 2});
  win::InjectMouseButton(win::VK_LBUTTON, true, {p.X, p.Y});
  win::InjectMouseButton(win::VK_LBUTTON, false, {p.X, p.Y});
  Application->ProcessMessages();
  EXPECT_EQ(narrow->Position(), 5);
  EXPECT_EQ(bar->Position(), 5);
}

// Pictures: the bar drawn through its view info into a bitmap.
class TrackBarPicture : public TrackBarOnForm {
 protected:
  void Draw(const std::string& name) {
    bar->RecalculateAtCursor();
    surface.Reset(bar->Width(), bar->Height());
    Info()->DrawTo(surface.canvas.get());
    surface.bitmap->SaveToFile(PicturePath(name));
  }
  // The columns (horizontal bar) with a tick pixel in TickColor just below
  // the thumb, with each one's length.
  std::vector<std::pair<Integer, Integer>> TickColumns(TColor colour) {
    std::vector<std::pair<Integer, Integer>> columns;
    const TRect& t = Info()->ThumbRect;
    for (Integer x = 0; x < bar->Width(); ++x) {
      Integer length = 0;
      while (t.Bottom + 2 + length < bar->Height() && surface.Is(x, t.Bottom + 2 + length, colour)) ++length;
      if (length > 0) columns.emplace_back(x, length);
    }
    return columns;
  }
  std::vector<std::pair<Integer, Integer>> Expected(std::initializer_list<Int64> values, Int64 mn, Int64 mx) {
    std::vector<std::pair<Integer, Integer>> v;
    for (Int64 n : values) v.emplace_back(Info()->ValuePixel(n) + Info()->ThumbAlong / 2, n == mn || n == mx ? 4 : 3);
    return v;
  }
  TestSurface surface;
};

TEST_F(TrackBarPicture, TicksWithoutStyles) {
  VisualStylesScope styles(false);
  Draw("cxTrackBar-default-classic.bmp");
  EXPECT_EQ(TickColumns(clWindowText), Expected({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 0, 10))
      << "11 marks below the track, the ends longer";
  const TRect& t = Info()->ThumbRect;
  for (Integer y = 0; y < t.Top - 1; ++y)
    for (Integer x = 0; x < bar->Width(); ++x) ASSERT_FALSE(surface.Is(x, y, clWindowText)) << "no marks above";

  Props()->SetFrequency(5);
  Props()->SetMin(3);
  Props()->SetMax(17);
  Draw("cxTrackBar-frequency-classic.bmp");
  EXPECT_EQ(TickColumns(clWindowText), Expected({3, 5, 10, 15, 17}, 3, 17)) << "multiples of the value, not of n - Min";

  bar->SetEnabled(false);
  Draw("cxTrackBar-disabled-classic.bmp");
  EXPECT_EQ(TickColumns(clBtnShadow), Expected({3, 5, 10, 15, 17}, 3, 17));
  const TPoint inside{(t.Left + t.Right) / 2, t.Top + 3};
  EXPECT_TRUE(surface.Is(inside.X, inside.Y, clBtnShadow)) << "a disabled thumb";
}

TEST_F(TrackBarPicture, HugeRangesDrawOneMarkPerPixelAtMost) {
  VisualStylesScope styles(false);
  Props()->SetMin(0);
  Props()->SetMax(2000000000);
  const auto started = std::chrono::steady_clock::now();
  Draw("cxTrackBar-huge-classic.bmp");
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  const auto columns = TickColumns(clWindowText);
  const TRect& track = Info()->TrackRect;
  const Integer first = track.Left + Info()->ThumbAlong / 2;
  const Integer last = Info()->ValuePixel(2000000000) + Info()->ThumbAlong / 2;
  ASSERT_EQ(columns.size(), static_cast<size_t>(last - first + 1)) << "every pixel column marked once";
  EXPECT_EQ(columns.front(), (std::pair<Integer, Integer>{first, 4}));
  EXPECT_EQ(columns.back(), (std::pair<Integer, Integer>{last, 4}));
  EXPECT_EQ(columns[1].second, 3);

  // The whole integer range with a sparse frequency.
  Props()->SetMin(INT_MIN);
  Props()->SetMax(INT_MAX);
  Props()->SetFrequency(1000000000);
  Draw("cxTrackBar-full-classic.bmp");
  EXPECT_EQ(TickColumns(clWindowText),
            Expected({INT_MIN, -2000000000, -1000000000, 0, 1000000000, 2000000000, INT_MAX}, INT_MIN, INT_MAX));
}

TEST_F(TrackBarPicture, NumbersThumbsAndSelectionWithoutStyles) {
  VisualStylesScope styles(false);
  bar->Style()->LookAndFeel()->SetKind(lfStandard);
  bar->Style()->LookAndFeel()->SetNativeStyle(false);
  Props()->SetTickType(tbttValueNumber);
  Props()->SetTickMarks(cxtmBoth);
  Props()->SetSelectionStart(2);
  Props()->SetSelectionEnd(6);
  Props()->SetSelectionColor(clRed);
  bar->SetPosition(5);
  Draw("cxTrackBar-numbers-classic.bmp");
  // Numbers at 0, 5 and 10 on both sides, lines elsewhere: the column of
  // value 1 holds a 3-pixel line below, the one of 5 none.
  const auto columns = TickColumns(clWindowText);
  const Integer at1 = Info()->ValuePixel(1) + Info()->ThumbAlong / 2;
  const Integer at5 = Info()->ValuePixel(5) + Info()->ThumbAlong / 2;
  auto length = [&](Integer x) {
    for (const auto& c : columns)
      if (c.first == x) return c.second;
    return 0;
  };
  EXPECT_EQ(length(at1), 3);
  EXPECT_NE(length(at5), 3);
  const TRect& t = Info()->ThumbRect;
  auto darkIn = [&](const TRect& r) {
    int n = 0;
    for (Integer y = std::max<Integer>(r.Top, 0); y < std::min(r.Bottom, bar->Height()); ++y)
      for (Integer x = std::max<Integer>(r.Left, 0); x < std::min(r.Right, bar->Width()); ++x)
        n += surface.Is(x, y, clWindowText);
    return n;
  };
  EXPECT_GT(darkIn({at5 - 5, t.Bottom + 1, at5 + 5, t.Bottom + 16}), 5) << "the position's number below";
  EXPECT_GT(darkIn({at5 - 5, t.Top - 16, at5 + 5, t.Top - 1}), 5) << "and above";
  const TColor background = surface.Px(1, 1);
  for (Integer x = at5 - 8; x < at5 + 8; ++x)
    ASSERT_FALSE(surface.Is(x, t.Bottom + 2, clBtnFace) && background != TestSurface::RGBOf(clBtnFace))
        << "numbers are written without a background of their own";
  // A rectangular thumb with both ticks, over the selection.
  EXPECT_TRUE(surface.Is(t.Left, t.Top, clWindow)) << "the thumb's light edge";
  EXPECT_TRUE(surface.Is(t.Right, t.Bottom, clWindowFrame)) << "its dark edge";
  EXPECT_TRUE(surface.Is(t.Left + 3, t.Top + 3, clBtnFace));
  const TRect& s = Info()->SelectionRect;
  EXPECT_EQ(s.Left, Info()->ValuePixel(2) + Info()->ThumbAlong / 2);
  EXPECT_TRUE(surface.Is(s.Left + 1, s.Top, clRed)) << "the selection";
  EXPECT_FALSE(surface.Is(s.Left - 2, s.Top, clRed));
}

TEST_F(TrackBarPicture, PointedThumbsWithoutStyles) {
  VisualStylesScope styles(false);
  bar->Style()->LookAndFeel()->SetKind(lfUltraFlat);
  bar->Style()->LookAndFeel()->SetNativeStyle(false);
  bar->SetPosition(5);
  Props()->SetThumbColor(clLime);
  Draw("cxTrackBar-down-classic.bmp");
  const TRect& t = Info()->ThumbRect;
  const Integer c = Info()->ThumbAlong / 2;
  // Down: the point at the bottom centre, the flat top.
  EXPECT_TRUE(surface.Is(t.Left + c, t.Bottom, clWindowText)) << "the tip";
  EXPECT_TRUE(surface.Is(t.Left + 2, t.Top + 2, clLime)) << "the body";
  EXPECT_FALSE(surface.Is(t.Left + 1, t.Bottom - 1, clLime)) << "cut off beside the tip";

  Props()->SetOrientation(tboVertical);
  Props()->SetTickMarks(cxtmTopLeft);
  bar->SetBounds(10, 10, 76, 196);
  Draw("cxTrackBar-left-classic.bmp");
  const TRect& v = Info()->ThumbRect;
  EXPECT_TRUE(surface.Is(v.Left, v.Top + c, clWindowText)) << "the tip points left";
  EXPECT_TRUE(surface.Is(v.Right - 3, v.Top + 2, clLime));
  // Ticks left of the thumb, nothing right of it (nor what the horizontal
  // picture left in the bitmap).
  int left = 0, right = 0;
  for (Integer y = 0; y < bar->Height(); ++y) {
    left += surface.Is(v.Left - 2, y, clWindowText);
    for (Integer x = v.Right + 3; x < bar->Width(); ++x) right += surface.Is(x, y, clWindowText);
  }
  EXPECT_EQ(left, 11);
  EXPECT_EQ(right, 0);
}

struct CustomThumb {
  TRect size{0, 0, 16, 30};
  TRect drawnAt;
  int draws = 0;
  void GetRect(TObject*, TRect& R) { R = size; }
  void Draw(TObject*, TcxCanvas* ACanvas, const TRect& R) {
    ++draws;
    drawnAt = R;
    ACanvas->Brush()->SetColor(clFuchsia);
    ACanvas->Canvas->FillRect(R);
  }
};

TEST_F(TrackBarPicture, ACustomThumbIsTheApplications) {
  VisualStylesScope styles(false);
  bar->SetPosition(5);
  Props()->SetThumbType(cxttCustom);
  Draw("cxTrackBar-custom-none.bmp");
  const TRect t = Info()->ThumbRect;
  EXPECT_TRUE(surface.Is(t.Left + 2, t.Top + 2, surface.Px(1, 1))) << "no handler: no thumb drawn";
  Click(ThumbCentre());
  EXPECT_EQ(bar->Position(), 5) << "but the thumb still takes the click";

  CustomThumb thumb;
  Props()->OnGetThumbRect = TcxGetThumbRectEvent(&thumb, &CustomThumb::GetRect);
  Props()->OnDrawThumb = TcxDrawThumbEvent(&thumb, &CustomThumb::Draw);
  Draw("cxTrackBar-custom.bmp");
  EXPECT_EQ(Info()->ThumbAlong, 16);
  EXPECT_EQ(Info()->ThumbAcross, 30);
  EXPECT_GE(thumb.draws, 1);
  EXPECT_EQ(thumb.drawnAt, Info()->ThumbRect);
  EXPECT_EQ(Info()->ThumbRect.Width(), 16);
  EXPECT_TRUE(surface.Is(Info()->ThumbRect.Left + 1, Info()->ThumbRect.Top + 1, clFuchsia));
}

TEST_F(TrackBarPicture, WithOurRenderer) {
  VisualStylesScope styles(true);
  bar->Style()->LookAndFeel()->SetNativeStyle(true);
  bar->SetPosition(5);
  Draw("cxTrackBar-styled.bmp");
  ASSERT_TRUE(Info()->IsNative());
  const TRect& t = Info()->ThumbRect;
  const TRect& hit = Info()->HitThumbRect;
  EXPECT_EQ(hit.Width(), 11) << "the thumb part's true size";
  EXPECT_EQ(hit.Height(), 20);
  std::set<TColor> thumbColours, trackColours;
  for (Integer y = hit.Top + 2; y < hit.Bottom - 2; ++y)
    for (Integer x = hit.Left + 2; x < hit.Right - 2; ++x) thumbColours.insert(surface.Px(x, y));
  const TRect& track = Info()->TrackRect;
  for (Integer x = track.Left + 1; x < t.Left - 1; ++x) trackColours.insert(surface.Px(x, (track.Top + track.Bottom) / 2));
  const TColor background = surface.Px(1, 1);
  EXPECT_FALSE(thumbColours.count(background) && thumbColours.size() == 1) << "the thumb part is drawn";
  EXPECT_FALSE(trackColours.count(background)) << "the track part is drawn";
  EXPECT_EQ(TickColumns(clWindowText).size(), 11u) << "ticks as without styles";
}

}  // namespace
