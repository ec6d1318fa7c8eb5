// The editor's paint state: what a button view info copies and reports as
// changed, repainting only what changed between two layouts on a real
// window, the changed region, copying and moving a view info, the button
// queries, the Office 11 gradient fill of a button's area, and a computed
// layout painted with no styles and with our renderer.
#include "suite/editors/cxEditViewInfo.h"

#include <gtest/gtest.h>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/Painting.h"
#include "platform/win/ThemeSchema.h"
#include "suite/editors/cxEditPainting.h"
#include "suite/editors/cxEditViewData.h"
#include "suite/foundation/dxOffice11.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"
#include "tests/suite/foundation/CanvasFixture.h"
#include "tests/support/VisualStylesScope.h"

namespace {

// A view info of a 100 x 21 editor with a one-pixel border and one button.
void FillViewInfo(TcxCustomEditViewInfo& vi) {
  vi.WholeRect = {0, 0, 100, 21};
  vi.InsideBorderRect = {1, 1, 99, 20};
  vi.InnerControlRect = {1, 1, 81, 20};
  vi.EditBorderStyle = ebsSingle;
  vi.BorderColor = clBlack;
  vi.StateFlags = csNormal;
  vi.ThemeState = 0;
  vi.FillColor = clWindow;
  vi.SetButtonCount(1);
  vi.Button(0)->Bounds = vi.Button(0)->VisibleBounds = {81, 1, 99, 20};
  vi.Button(0)->State = ebbsNormal;
}

TEST(EditButtonViewInfo, CopiesAndComparesOnlyItsPaintState) {
  TcxEditButtonViewInfo a, b;
  a.NativeState = 2;
  a.BackgroundColor = clRed;
  a.Bounds = {1, 2, 3, 4};
  a.State = ebbsHot;
  a.FirstEdge = true;
  a.Caption = "x";
  a.VisibleBounds = {5, 6, 7, 8};
  b.Assign(&a);
  EXPECT_EQ(b.NativeState, 2);
  EXPECT_EQ(b.BackgroundColor, clRed);
  EXPECT_EQ(b.Bounds, (TRect{1, 2, 3, 4}));
  EXPECT_EQ(b.State, ebbsHot);
  EXPECT_TRUE(b.FirstEdge);
  EXPECT_EQ(b.Caption, "");
  EXPECT_EQ(b.VisibleBounds, TRect{});
  EXPECT_TRUE(b.ChangedRegion(&a)->IsEmpty());
  b.Caption = "other";  // not paint state
  EXPECT_TRUE(b.ChangedRegion(&a)->IsEmpty());
  b.LastEdge = true;  // nor this
  EXPECT_TRUE(b.ChangedRegion(&a)->IsEmpty());
  b.State = ebbsPressed;
  EXPECT_EQ(b.ChangedRegion(&a)->BoundsRect(), (TRect{1, 2, 3, 4}));
}

class EditViewInfoRepaint : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 200, 100);
    form->Show();
    Application->ProcessMessages();
    FillViewInfo(now);
    FillViewInfo(old);
    now.WindowHandle = form->Handle();
  }

  // What RepaintChanges left invalid, probed at the text area, the
  // border, inside the border beside the text area, and the button.
  std::string Repaint(TcxCustomEditViewInfo* AOld, const TRect& exclude, bool& answer) {
    win::ValidateRect(form->Handle(), nullptr);
    answer = now.RepaintChanges(form.get(), exclude, AOld);
    TcxRegion update;
    win::GetUpdateRgn(form->Handle(), update.Handle, win::FALSE);
    std::string s;
    for (const TPoint p : {TPoint{30, 10}, TPoint{0, 10}, TPoint{5, 10}, TPoint{90, 10}})
      s += update.ContainsPoint(p) ? '#' : '.';
    return s;
  }

  std::unique_ptr<TForm> form;
  TcxCustomEditViewInfo now, old;
};

TEST_F(EditViewInfoRepaint, OnlyWhatChangedIsInvalidated) {
  const TRect exclude{20, 5, 60, 15};
  const struct {
    const char* name;
    void (*change)(TcxCustomEditViewInfo&);
    bool withOld;
    TRect exclude;
    const char* invalid;
    bool answer;
  } cases[] = {
      {"no old view info", [](TcxCustomEditViewInfo&) {}, false, {}, "####", true},
      {"no old, text area left alone", [](TcxCustomEditViewInfo&) {}, false, exclude, ".###", true},
      {"nothing changed", [](TcxCustomEditViewInfo&) {}, true, exclude, "....", false},
      {"fill colour", [](TcxCustomEditViewInfo& v) { v.FillColor = clRed; }, true, exclude, ".###", true},
      {"theme state", [](TcxCustomEditViewInfo& v) { v.ThemeState = 5; }, true, {}, "####", true},
      {"state flags", [](TcxCustomEditViewInfo& v) { v.StateFlags = csFocused; }, true, exclude, ".###", true},
      {"button count", [](TcxCustomEditViewInfo& v) { v.SetButtonCount(2); }, true, exclude, ".###", true},
      {"border colour: the frame", [](TcxCustomEditViewInfo& v) { v.BorderColor = clRed; }, true, {}, ".#..",
       true},
      {"border colour without border",
       [](TcxCustomEditViewInfo& v) {
         v.BorderColor = clRed;
         v.EditBorderStyle = ebsNone;
       },
       true, {}, ".#..", true},
      {"a button's state: that button", [](TcxCustomEditViewInfo& v) { v.Button(0)->State = ebbsHot; }, true,
       {}, "...#", true},
  };
  for (const auto& c : cases) {
    FillViewInfo(old);
    FillViewInfo(now);
    c.change(now);
    bool answer = false;
    EXPECT_EQ(Repaint(c.withOld ? &old : nullptr, c.exclude, answer), c.invalid) << c.name;
    EXPECT_EQ(answer, c.answer) << c.name;
  }
  // The border style changed from none: the frame, though the old had none.
  FillViewInfo(now);
  now.BorderColor = clRed;
  now.EditBorderStyle = ebsNone;
  old.BorderColor = clRed;
  old.EditBorderStyle = ebsNone;
  bool answer = true;
  EXPECT_EQ(Repaint(&old, {}, answer), "....");
  EXPECT_FALSE(answer);

  now.WindowHandle = nullptr;
  now.FillColor = clRed;
  EXPECT_EQ(Repaint(&old, {}, answer), "....");
  EXPECT_FALSE(answer);
}

TEST_F(EditViewInfoRepaint, AKindThatDrawsNoTextIgnoresTheStateFlags) {
  struct NoText : TcxCustomEditViewInfo {
    bool DrawsText() override { return false; }
  } silent;
  FillViewInfo(silent);
  silent.WindowHandle = form->Handle();
  silent.StateFlags = csFocused;
  win::ValidateRect(form->Handle(), nullptr);
  EXPECT_FALSE(silent.RepaintChangesAll(form.get(), &old));
}

TEST(EditViewInfo, ChangedRegionIsTheChangedButtonsOrTheWholeEditor) {
  TcxCustomEditViewInfo a, b;
  FillViewInfo(a);
  FillViewInfo(b);
  EXPECT_TRUE(a.ChangedRegion(&b)->IsEmpty());
  a.Button(0)->State = ebbsPressed;
  EXPECT_EQ(a.ChangedRegion(&b)->BoundsRect(), (TRect{81, 1, 99, 20}));
  a.ThemeState = 2;
  EXPECT_EQ(a.ChangedRegion(&b)->BoundsRect(), (TRect{0, 0, 100, 21}));
  TcxContainerViewInfo plain;
  EXPECT_EQ(a.ChangedRegion(&plain)->BoundsRect(), (TRect{0, 0, 100, 21}));
}

TEST(EditViewInfo, AssignFromAndOffsetBy) {
  TcxCustomEditViewInfo a, b;
  FillViewInfo(a);
  a.FillColor = clRed;
  a.BorderColor = clBlue;
  a.EditBorderStyle = ebs3D;
  a.StateFlags = csFocused;
  a.ThemeState = 5;
  a.SetButtonCount(2);
  a.Button(1)->State = ebbsHot;
  a.PressedButton = 0;
  a.HotButton = 1;
  a.TextColor = clGreen;
  b.AssignFrom(&a);
  EXPECT_EQ(b.FillColor, clRed);
  EXPECT_EQ(b.BorderColor, clBlue);
  EXPECT_EQ(b.EditBorderStyle, ebs3D);
  EXPECT_EQ(b.BorderStyleInUse(), cbs3D);
  EXPECT_EQ(b.StateFlags, csFocused);
  EXPECT_EQ(b.ThemeState, 5);
  EXPECT_EQ(b.InnerControlRect, a.InnerControlRect);
  ASSERT_EQ(b.ButtonCount(), 2);
  EXPECT_EQ(b.Button(0)->Bounds, (TRect{81, 1, 99, 20}));
  EXPECT_EQ(b.Button(1)->State, ebbsHot);
  EXPECT_EQ(b.PressedButton, 0);
  EXPECT_EQ(b.HotButton, 1);
  EXPECT_EQ(b.TextColor, clWindowText) << "not copied";

  a.ClientRect = {1, 1, 99, 20};
  a.InnerEditRect = {3, 3, 50, 18};
  a.OffsetBy(10, 5);
  EXPECT_EQ(a.WholeRect, (TRect{10, 5, 110, 26}));
  EXPECT_EQ(a.ClientRect, (TRect{11, 6, 109, 25}));
  EXPECT_EQ(a.InnerEditRect, (TRect{13, 8, 60, 23}));
  EXPECT_EQ(a.Button(0)->Bounds, (TRect{91, 6, 109, 25}));
  EXPECT_EQ(a.Button(0)->VisibleBounds, (TRect{91, 6, 109, 25}));
}

TEST(EditViewInfo, ButtonQueries) {
  TcxCustomEditViewInfo vi;
  FillViewInfo(vi);
  EXPECT_FALSE(vi.HasHotButton());
  vi.Button(0)->State = ebbsHot;
  EXPECT_TRUE(vi.HasHotButton());
  EXPECT_TRUE(vi.PointOnButton({81, 1}));
  EXPECT_FALSE(vi.PointOnButton({80, 1}));
  std::string text = "abc";
  EXPECT_FALSE(vi.TextAtPoint({10, 10}, text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(vi.PressedButton, -1);
  EXPECT_EQ(TcxCustomEditViewInfo().HotButton, -1);
}

class EditViewInfoPaint : public ::testing::Test, public TestSurface {
 protected:
  void SetUp() override {
    Reset(100, 21);
    FillViewInfo(vi);
  }
  TcxCustomEditViewInfo vi;
};

TEST_F(EditViewInfoPaint, Office11GradientButtonsFillTheirColumn) {
  TcxEditButtonViewInfo* b = vi.Button(0);
  b->Style = btsOffice11;
  b->Gradient = true;
  const TRect area{82, 2, 98, 19};
  vi.FillButtonArea(canvas.get(), 0, area, clRed);
  // A normal button keeps one pixel at both ends of the column.
  EXPECT_TRUE(Is(90, 1, clWhite));
  EXPECT_TRUE(Is(90, 19, clWhite));
  EXPECT_TRUE(Is(90, 2, Office11GradientFirstColor));
  EXPECT_TRUE(Is(90, 18, Office11GradientLastColor));
  EXPECT_TRUE(Is(81, 10, clWhite)) << "outside the area's column";

  Reset(100, 21);
  b->State = ebbsHot;
  vi.FillButtonArea(canvas.get(), 0, area, clRed);
  EXPECT_TRUE(Is(90, 1, Office11HotFirstColor));
  EXPECT_TRUE(Is(90, 19, Office11HotLastColor));

  // Transparent, disabled or not a gradient button: the solid colour.
  for (int i = 0; i < 3; ++i) {
    Reset(100, 21);
    b->State = i == 0 ? ebbsDisabled : ebbsPressed;
    b->Transparent = i == 1;
    b->Gradient = i != 2;
    vi.FillButtonArea(canvas.get(), 0, area, clRed);
    EXPECT_TRUE(Is(90, 10, clRed)) << i;
    EXPECT_TRUE(Is(90, 1, clWhite)) << i;
  }

  Reset(100, 21);
  vi.OnCustomFillButtonArea = +[](TObject*, TcxCanvas*, const TRect&, Integer index, bool& handled) {
    handled = index == 0;
  };
  vi.FillButtonArea(canvas.get(), 0, area, clRed);
  EXPECT_TRUE(Is(90, 10, clWhite));
}

TEST_F(EditViewInfoPaint, CustomBackgroundOnlyInPlace) {
  struct Counter {
    int calls = 0;
    void Draw(TObject*, TcxCanvas*, bool& handled) {
      ++calls;
      handled = true;
    }
  } counter;
  vi.OnCustomDrawBackground = TcxEditCustomDrawBackgroundEvent(&counter, &Counter::Draw);
  EXPECT_TRUE(vi.HasBackgroundDrawHandler());
  EXPECT_FALSE(vi.DrawCustomBackground(canvas.get()));
  vi.IsInplace = true;
  EXPECT_TRUE(vi.DrawCustomBackground(canvas.get()));
  EXPECT_EQ(counter.calls, 1);
}

// A laid-out editor with one 3-D ellipsis button, painted as its view info
// paints itself.
class EditViewInfoLaidOut : public EditViewInfoPaint {
 protected:
  void LayOutAndPaint(bool native) {
    TcxContainerStyles styles(nullptr, &CreateContainerStyle<TcxEditStyle>);
    auto* style = static_cast<TcxEditStyle*>(styles.NormalStyle());
    style->SetTransparentBorder(false);
    style->SetEditBorderStyle(ebsSingle);
    style->SetBorderColor(clRed);
    style->SetButtonStyle(bts3D);
    style->LookAndFeel()->SetNativeStyle(native);
    TcxCustomEditProperties props(nullptr);
    props.Buttons()->Add()->SetKind(bkEllipsis);
    props.Buttons()->Items(0)->SetWidth(17);
    painted = std::make_unique<TcxCustomEditViewInfo>();
    props.CreateViewData(style, false)
        ->ComputeLayout(canvas.get(), {0, 0, 100, 21}, {-1, -1}, cxmbNone, {}, painted.get(), false);
    painted->DrawTo(canvas.get());
  }
  std::unique_ptr<TcxCustomEditViewInfo> painted;
};

TEST_F(EditViewInfoLaidOut, NoStylesDrawsTheClassicBorderAndA3DButton) {
  VisualStylesScope styles(false);
  LayOutAndPaint(true);
  ASSERT_FALSE(painted->NativeDrawing);
  const TRect b = painted->Button(0)->Bounds;
  ASSERT_EQ(b, (TRect{82, 1, 99, 20}));
  EXPECT_TRUE(Is(0, 10, clRed)) << "the single border";
  EXPECT_TRUE(Is(99, 10, clRed));
  EXPECT_TRUE(Is(30, 10, painted->FillColor)) << "the background";
  EXPECT_TRUE(Is(b.Left, 10, cl3DLight)) << "the raised bevel";
  EXPECT_TRUE(Is(b.Right - 1, 10, cl3DDkShadow));
  EXPECT_TRUE(Is(b.Left + 1, 10, clBtnHighlight));
  EXPECT_TRUE(Is(b.Left + 3, 5, clBtnFace)) << "the face";
}

TEST_F(EditViewInfoLaidOut, OurRendererDrawsTheEditFrameAndTheButtonByTheVisualStyle) {
  VisualStylesScope styles(true);
  LayOutAndPaint(true);
  ASSERT_TRUE(painted->NativeDrawing);
  const TcxEditButtonViewInfo* b = painted->Button(0);
  ASSERT_EQ(b->NativeState, 1);
  // The same parts drawn straight by the visual style.
  TestSurface reference;
  reference.Reset(100, 21);
  const win::HDC dc = reference.canvas->DeviceContext();
  UxDrawThemeBackground(OpenThemeByIndex(ThemeClassEdit), dc, 1, painted->ThemeState, painted->WholeRect);
  UxDrawThemeBackground(OpenThemeByIndex(ThemeClassButton), dc, 1, 1, b->Bounds);
  for (const TPoint p : {TPoint{0, 10}, TPoint{50, 0}, TPoint{b->Bounds.Left, 10}, TPoint{b->Bounds.Left + 2, 3}})
    EXPECT_EQ(Px(p.X, p.Y), reference.Px(p.X, p.Y)) << p.X << "," << p.Y;
  EXPECT_FALSE(Is(0, 10, clRed)) << "not the classic border";
}

}  // namespace
