// The container on a shown form with an inner edit: view-info geometry by
// style, the active style and hot tracking through injected mouse input,
// border colours, window and inner regions, invalidation, focus and Tab
// routing, key forwarding, the cursor outside the inner area, style and
// colour synchronisation, and the frame painted in both looks.
#include "suite/editors/cxContainer.h"

#include <gtest/gtest.h>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/ThemeSchema.h"
#include "suite/foundation/dxOffice11.h"
#include "tests/support/VisualStylesScope.h"
#include "tests/suite/foundation/CanvasFixture.h"
#include "tests/suite/foundation/FakeThemeLibrary.h"

namespace {

class TestContainer : public TcxContainer {
 public:
  using TcxContainer::TcxContainer;
  using TcxContainer::KeyDown;
  using TcxContainer::Paint;
  int refreshes = 0;
  bool RefreshState(const TPoint& P, Integer AButton, TShiftState Shift, bool AFlag) override {
    ++refreshes;
    return TcxContainer::RefreshState(P, AButton, Shift, AFlag);
  }
};

// An edit that offers the inner-control interface and, like the editors'
// inner edits, lets its container see its keys first.
class InnerEdit : public TEdit, public IcxContainerInnerControl {
 public:
  InnerEdit(TComponent* AOwner, TestContainer* AContainer) : TEdit(AOwner), container(AContainer) {}
  TWinControl* Control() override { return this; }
  TcxContainer* ControlContainer() override { return container; }
  TestContainer* container;
  std::vector<win::UINT> keyMessages;
  int dragCancels = 0;

 protected:
  void DragCanceled() override { ++dragCancels; }
  void KeyDown(Word& Key, TShiftState Shift) override {
    container->KeyDown(Key, Shift);
    if (Key != 0) TEdit::KeyDown(Key, Shift);
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == win::WM_KEYDOWN || Message.Msg == win::WM_CHAR) keyMessages.push_back(Message.Msg);
    TEdit::WndProc(Message);
  }
};

class Container : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetInputState();
    // The pointer away from the form, so that no container starts hot.
    win::InjectMouseMove({0, 0});
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 300, 200);
    before = new TEdit(form.get());
    before->SetParent(form.get());
    before->SetBounds(10, 10, 80, 20);
    container = new TestContainer(form.get());
    container->SetParent(form.get());
    container->SetBounds(10, 50, 120, 30);
    after = new TEdit(form.get());
    after->SetParent(form.get());
    after->SetBounds(10, 120, 80, 20);
    form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    form.reset();
    win::ResetInputState();
  }
  void AddInner() {
    inner = new InnerEdit(form.get(), container);
    container->SetInnerControl(inner);
    inner->SetParent(container);
    container->RefreshAtCursor();
  }
  win::POINT Screen(TControl* c, Integer x, Integer y) {
    const TPoint p = c->ClientToScreen({x, y});
    return {p.X, p.Y};
  }
  TcxContainerViewInfo& VI() { return *container->ViewInfo(); }

  std::unique_ptr<TForm> form;
  TEdit* before = nullptr;
  TestContainer* container = nullptr;
  TEdit* after = nullptr;
  InnerEdit* inner = nullptr;
};

TEST_F(Container, ViewInfoGeometryFollowsTheStyle) {
  container->Style()->LookAndFeel()->SetKind(lfUltraFlat);
  container->Style()->LookAndFeel()->SetNativeStyle(false);
  container->RefreshAtCursor();
  // Transparent border: 2 on every side; ultra-flat paints as single.
  EXPECT_EQ(VI().BorderStyle, cbsSingle);
  EXPECT_EQ(VI().BorderThickness, 1);
  EXPECT_EQ(VI().InsideBorderRect, (TRect{2, 2, 118, 28}));
  EXPECT_EQ(container->GetVisibleBounds(), (TRect{1, 1, 119, 29}));

  const struct {
    TcxContainerBorderStyle border;
    TcxBorders edges;
    bool shadow;
    TRect inside;
  } cases[] = {
      {cbs3D, cxBordersAll, false, {2, 2, 118, 28}},
      {cbsSingle, cxBordersAll, false, {1, 1, 119, 29}},
      {cbsThick, {bLeft, bTop}, false, {2, 2, 120, 30}},
      {cbsSingle, cxBordersAll, true, {1, 1, 116, 26}},
      {cbsNone, cxBordersAll, false, {0, 0, 120, 30}},
  };
  container->Style()->SetTransparentBorder(false);
  for (const auto& c : cases) {
    container->Style()->BeginUpdate();
    container->Style()->SetBorderStyle(c.border);
    container->Style()->SetEdges(c.edges);
    container->Style()->SetShadow(c.shadow);
    container->Style()->EndUpdate();
    EXPECT_EQ(VI().InsideBorderRect, c.inside) << c.border;
    EXPECT_EQ(VI().InnerControlRect, c.inside);
    EXPECT_EQ(VI().ShadowOn, c.shadow);
  }
}

TEST_F(Container, HotStateFollowsTheMouseButNotWhileAButtonIsDown) {
  container->Style()->SetBorderStyle(cbsSingle);
  container->StyleHot()->SetBorderColor(clRed);
  win::InjectMouseMove(Screen(container, 20, 10));
  Application->ProcessMessages();
  EXPECT_TRUE(VI().StateFlags & csHot);
  EXPECT_EQ(VI().HoverLevel, 2);
  EXPECT_EQ(container->ActiveStyle(), container->StyleHot());
  EXPECT_EQ(VI().BorderColor, clRed);
  EXPECT_EQ(VI().BorderStyle, cbsThick) << "hot raises single to thick";

  win::InjectMouseButton(win::VK_LBUTTON, true, Screen(container, 20, 10));
  Application->ProcessMessages();
  EXPECT_FALSE(VI().StateFlags & csHot);
  win::InjectMouseButton(win::VK_LBUTTON, false, Screen(container, 20, 10));
  Application->ProcessMessages();
  EXPECT_TRUE(VI().StateFlags & csHot);

  container->Style()->SetHotTrack(false);
  EXPECT_EQ(VI().HoverLevel, 0);
  EXPECT_NE(container->ActiveStyle(), container->StyleHot());
}

TEST_F(Container, AThinnerBorderIsHotTestedAgainInTheSameRefresh) {
  // Focused: thick (raised from single); hot: single. The pointer rests on
  // the outermost column, which only the thick border's hot area covers.
  container->Style()->SetTransparentBorder(true);
  container->Style()->SetBorderStyle(cbsSingle);
  container->StyleHot()->SetBorderStyle(cbsSingle);
  win::InjectMouseMove(Screen(container, 0, 10));
  Application->ProcessMessages();
  container->SetFocus();
  ASSERT_EQ(VI().BorderStyle, cbsThick);
  ASSERT_EQ(container->GetBorderDrawRect().Left, 0);
  // Losing the focus: the thick hot area says hot, the hot style's single
  // border is thinner, and tested again the point is outside.
  after->SetFocus();
  EXPECT_EQ(VI().StateFlags, csNormal);
  EXPECT_EQ(VI().BorderStyle, cbsSingle);
}

TEST_F(Container, FlatBordersTakeHighlightWhenFocusedOrHot) {
  container->Style()->SetBorderStyle(cbsUltraFlat);
  container->RefreshState({-5, -5}, cxmbNone, {}, true);
  EXPECT_EQ(VI().BorderStyle, cbsSingle);
  EXPECT_EQ(VI().BorderColor, clBtnShadow);
  container->RefreshState({20, 10}, cxmbNone, {}, true);
  EXPECT_EQ(VI().BorderColor, clHighlight);
  container->Style()->SetBorderStyle(cbsOffice11);
  container->RefreshState({20, 10}, cxmbNone, {}, true);
  EXPECT_EQ(VI().BorderColor, Office11SelectionFrameColor);
  container->SetFocus();
  container->RefreshState({-5, -5}, cxmbNone, {}, true);
  EXPECT_TRUE(VI().StateFlags & csFocused);
  EXPECT_EQ(VI().BorderColor, Office11SelectionFrameColor);
}

TEST_F(Container, DisabledContainerUsesTheDisabledStyle) {
  container->SetEnabled(false);
  EXPECT_EQ(VI().StateFlags, csDisabled);
  EXPECT_EQ(container->ActiveStyle(), container->StyleDisabled());
  EXPECT_EQ(VI().FillColor, clBtnFace);
  EXPECT_EQ(container->GetBorderDrawState(), 4);
}

TEST_F(Container, WindowRegionCoversTheShadowAndNativeBordersHaveNone) {
  VisualStylesScope styles(true);
  container->Style()->SetBorderStyle(cbsSingle);
  container->Style()->SetShadow(true);
  TcxRegion region;
  ASSERT_NE(win::GetWindowRgn(container->Handle(), region.Handle), win::ERROR);
  EXPECT_TRUE(region.ContainsXY(118, 28));   // in the shadow copy
  EXPECT_FALSE(region.ContainsXY(118, 1));   // beside the top of the shadow

  container->Style()->SetShadow(false);
  container->Style()->LookAndFeel()->SetNativeStyle(true);
  ASSERT_TRUE(container->IsNativeStyle());
  EXPECT_EQ(win::GetWindowRgn(container->Handle(), region.Handle), win::ERROR);
}

TEST_F(Container, InvalidatesTheWholeAreaOrOnlyTheFrameAroundTheInnerControl) {
  auto invalidArea = [&] {
    TcxRegion update;
    win::GetUpdateRgn(container->Handle(), update.Handle, win::FALSE);
    return update.BoundsRect();
  };
  container->Style()->SetTransparentBorder(false);
  container->Style()->SetBorderStyle(cbsSingle);
  Application->ProcessMessages();
  win::ValidateRect(container->Handle(), nullptr);
  container->RefreshAtCursor();
  TcxRegion update;
  win::GetUpdateRgn(container->Handle(), update.Handle, win::FALSE);
  EXPECT_TRUE(update.ContainsXY(60, 15));

  AddInner();
  Application->ProcessMessages();
  win::ValidateRect(container->Handle(), nullptr);
  container->RefreshAtCursor();
  TcxRegion frameOnly;
  win::GetUpdateRgn(container->Handle(), frameOnly.Handle, win::FALSE);
  EXPECT_FALSE(frameOnly.ContainsXY(60, 15));
  EXPECT_TRUE(frameOnly.ContainsXY(0, 15));
  (void)invalidArea;
}

TEST_F(Container, InnerControlIsAlignedAndClippedToItsVisiblePart) {
  AddInner();
  EXPECT_EQ(inner->BoundsRect(), VI().InnerControlRect);
  TcxRegion region;
  EXPECT_EQ(win::GetWindowRgn(inner->Handle(), region.Handle), win::ERROR) << "wholly visible: no region";
  EXPECT_TRUE(container->InnerWholeVisible());

  // Moved half out to the right: clipped to what lies inside.
  container->SetInnerBoundsLock(false);
  inner->SetBounds(60, 2, 100, VI().InnerControlRect.Bottom - 2);
  ASSERT_NE(win::GetWindowRgn(inner->Handle(), region.Handle), win::ERROR);
  EXPECT_FALSE(container->InnerWholeVisible());
  EXPECT_EQ(container->InnerVisibleRect().Right, VI().InnerControlRect.Right - 60);
  EXPECT_TRUE(region.ContainsXY(1, 1));
  EXPECT_FALSE(region.ContainsXY(90, 1));

  // While locked, bounds changes leave the region alone.
  container->SetInnerBoundsLock(true);
  inner->SetBounds(2, 2, 40, 10);
  EXPECT_FALSE(container->InnerWholeVisible());
  container->SetInnerBoundsLock(false);
  container->SetInnerBoundsLock(false);  // never below zero
  inner->SetBounds(3, 2, 40, 10);
  EXPECT_TRUE(container->InnerWholeVisible());
}

TEST_F(Container, FocusGoesToTheInnerControlAndCountsForTheContainer) {
  AddInner();
  container->SetFocus();
  EXPECT_EQ(win::GetFocus(), inner->Handle());
  EXPECT_TRUE(container->Focused());
  EXPECT_FALSE(container->IsFocusable());
  EXPECT_EQ(form->ActiveControl(), inner);
  EXPECT_TRUE(VI().StateFlags & csFocused);
  EXPECT_EQ(container->GetBorderDrawState(), 5);
}

TEST_F(Container, FocusOfTheInnerControlAloneRefreshesTheContainer) {
  // The focus moves between the inner control and other controls without
  // the container's own window ever holding it.
  container->Style()->SetBorderStyle(cbsSingle);
  container->StyleFocused()->SetBorderColor(clRed);
  AddInner();
  ASSERT_FALSE(VI().StateFlags & csFocused);
  inner->SetFocus();
  EXPECT_TRUE(VI().StateFlags & csFocused);
  EXPECT_EQ(VI().BorderColor, clRed);
  const int refreshes = container->refreshes;
  before->SetFocus();
  EXPECT_EQ(VI().StateFlags, csNormal);
  EXPECT_NE(VI().BorderColor, clRed);
  // Focus moving between two other controls leaves the container alone.
  const int afterLeaving = container->refreshes;
  EXPECT_GT(afterLeaving, refreshes);
  after->SetFocus();
  EXPECT_EQ(container->refreshes, afterLeaving);
}

TEST_F(Container, DragModeAndKindSetThroughThePublishedPropertiesReachTheInnerControl) {
  AddInner();
  SetOrdProp(container, *GetPropInfo(container, "DragMode"), dmAutomatic);
  SetOrdProp(container, *GetPropInfo(container, "DragKind"), dkDock);
  EXPECT_EQ(container->DragMode(), dmAutomatic);
  EXPECT_EQ(inner->DragMode(), dmAutomatic);
  EXPECT_EQ(container->DragKind, dkDock);
  EXPECT_EQ(inner->DragKind, dkDock);
}

TEST_F(Container, ACancelledDragReachesTheInnerControl) {
  AddInner();
  container->BeginDrag(true);
  ASSERT_TRUE(container->Dragging());
  CancelDrag();
  EXPECT_FALSE(container->Dragging());
  EXPECT_EQ(inner->dragCancels, 1);
}

TEST_F(Container, TabFromTheInnerControlMovesAlongTheForm) {
  AddInner();
  const struct {
    bool shift, ctrl, alt;
    TWinControl* expected;
  } cases[] = {
      {false, false, false, nullptr},  // after
      {true, false, false, nullptr},   // before
      {false, true, false, nullptr},   // left alone
      {false, false, true, nullptr},
  };
  TWinControl* expected[] = {after, before, inner, inner};
  for (size_t i = 0; i < std::size(cases); ++i) {
    container->SetFocus();
    ASSERT_EQ(win::GetFocus(), inner->Handle());
    Word key = win::VK_TAB;
    TShiftState shift;
    if (cases[i].shift) shift += ssShift;
    if (cases[i].ctrl) shift += ssCtrl;
    if (cases[i].alt) shift += ssAlt;
    container->KeyDown(key, shift);
    EXPECT_EQ(win::GetFocus(), expected[i]->Handle()) << i;
    EXPECT_EQ(key == 0, !cases[i].ctrl && !cases[i].alt) << i;
  }
}

TEST_F(Container, KeysSentToTheContainerReachTheInnerControl) {
  AddInner();
  container->Perform(win::WM_KEYDOWN, 'A', 0);
  container->Perform(win::WM_CHAR, 'a', 0);
  EXPECT_EQ(inner->keyMessages, (std::vector<win::UINT>{win::WM_KEYDOWN, win::WM_CHAR}));
}

TEST_F(Container, CursorOutsideTheInnerAreaIsTheArrow) {
  container->Style()->SetTransparentBorder(false);
  container->Style()->SetBorderStyle(cbs3D);
  AddInner();
  container->SetCursor(crIBeam);
  win::InjectMouseMove(Screen(container, 0, 0));
  Application->ProcessMessages();
  EXPECT_EQ(win::GetCursor(), win::LoadCursor(nullptr, win::IDC_ARROW));
  EXPECT_EQ(inner->Cursor(), crIBeam) << "the inner control's cursor follows the container's";
}

TEST_F(Container, ColourAndFontFollowTheStyleAndTheParent) {
  AddInner();
  container->Style()->SetColor(clYellow);
  EXPECT_EQ(container->Color(), clYellow);
  EXPECT_EQ(inner->Color(), clYellow);
  // A colour set on the control goes into the style.
  container->SetColor(clAqua);
  EXPECT_EQ(container->Style()->Color(), clAqua);
  EXPECT_NE(container->Style()->AssignedValues() & StyleValueBit(svColor), 0u);

  // Parent colour without a colour of the style's own.
  container->Style()->SetAssignedValues(0);
  form->SetColor(clTeal);
  container->SetParentColor(true);
  EXPECT_EQ(container->Style()->Color(), clTeal);
  EXPECT_EQ(container->Style()->GetPaintColor(), clTeal);
  EXPECT_EQ(container->Style()->AssignedValues() & StyleValueBit(svColor), 0u);

  container->Style()->Font()->SetName("Courier New");
  EXPECT_EQ(container->Font()->GetName(), "Courier New");
  EXPECT_EQ(inner->Font()->GetName(), "Courier New");
  container->Style()->SetTextColor(clRed);
  EXPECT_EQ(inner->Font()->GetColor(), clRed);
}

TEST_F(Container, ContextPopupIsSwallowedWhileLocked) {
  bool shown = false;
  struct Watcher {
    bool* shown;
    void OnPopup(TObject*, TPoint, bool&) { *shown = true; }
  } watcher{&shown};
  container->OnContextPopup = TContextPopupEvent(&watcher, &Watcher::OnPopup);
  container->SetContextPopupLock(true);
  container->Perform(win::WM_CONTEXTMENU, reinterpret_cast<win::WPARAM>(container->Handle()), -1);
  EXPECT_FALSE(shown);
  container->SetContextPopupLock(false);
  container->Perform(win::WM_CONTEXTMENU, reinterpret_cast<win::WPARAM>(container->Handle()), -1);
  EXPECT_TRUE(shown);
}

TEST_F(Container, FindsTheContainerOfAnInnerControl) {
  AddInner();
  EXPECT_EQ(FindContainerOfControl(inner), container);
  EXPECT_EQ(FindContainerOfControl(container), container);
  EXPECT_EQ(FindContainerOfControl(before), nullptr);
}

// The frame as painted: classic (no styles) and the native path of our
// visual-style renderer.
TEST_F(Container, PaintsTheClassicFrameWithoutStyles) {
  VisualStylesScope styles(false);
  container->Style()->SetTransparentBorder(false);
  container->Style()->SetBorderStyle(cbsSingle);
  container->Style()->SetBorderColor(clRed);
  container->Style()->SetColor(clYellow);
  container->Style()->LookAndFeel()->SetNativeStyle(true);
  EXPECT_FALSE(VI().NativeDrawing) << "no styles: the classic path";
  container->Repaint();
  TestSurface surface;
  surface.Reset(120, 30);
  container->PaintTo(surface.bitmap->Canvas()->Handle(), 0, 0);
  EXPECT_TRUE(surface.Is(0, 0, clRed));
  EXPECT_TRUE(surface.Is(119, 29, clRed));
  EXPECT_TRUE(surface.Is(60, 15, clYellow));
  EXPECT_TRUE(surface.Is(1, 1, clYellow));
}

TEST_F(Container, PaintsTheNativeFrameWithStyles) {
  VisualStylesScope styles(true);
  container->Style()->SetBorderStyle(cbsSingle);
  container->Style()->SetColor(clYellow);
  container->Style()->LookAndFeel()->SetNativeStyle(true);
  ASSERT_TRUE(VI().NativeDrawing);
  EXPECT_EQ(VI().ThemedObjectKind, 3);
  EXPECT_EQ(VI().ThemePart, 1);
  TestSurface surface;
  surface.Reset(120, 30);
  container->PaintTo(surface.bitmap->Canvas()->Handle(), 0, 0);
  win::COLORREF border = 0;
  UxGetThemeColor(OpenThemeByIndex(ThemeClassComboBox), 1, 1, win::TMT_BORDERCOLOR, border);
  EXPECT_EQ(surface.Px(0, 0), static_cast<TColor>(border));
  EXPECT_TRUE(surface.Is(60, 15, clYellow));
}

// A descendant whose styles and view info are of its own classes.
class RedFrameStyle : public TcxContainerStyle {
 public:
  using TcxContainerStyle::TcxContainerStyle;
  TColor DefaultBorderColor() override { return IsNormalStyle() ? clRed : TcxContainerStyle::DefaultBorderColor(); }
};

class CountingViewInfo : public TcxContainerViewInfo {
 public:
  int paints = 0;
  void InternalPaint(TcxCanvas* ACanvas) override {
    ++paints;
    TcxContainerViewInfo::InternalPaint(ACanvas);
  }
};

class OwnClassesContainer : public TcxContainer {
 public:
  explicit OwnClassesContainer(TComponent* AOwner)
      : TcxContainer(AOwner, GetOwnStylesClass(), &CreateContainerStyle<RedFrameStyle>,
                     &CreateContainerViewInfo<CountingViewInfo>) {}
  TcxContainerStyleClass GetStyleClass() override { return &CreateContainerStyle<RedFrameStyle>; }
  TcxContainerStylesClass GetStylesClass() override { return GetOwnStylesClass(); }
  TcxContainerViewInfoClass GetViewInfoClass() override { return &CreateContainerViewInfo<CountingViewInfo>; }
  static TcxContainerStylesClass GetOwnStylesClass() { return &CreateContainerStyles<TcxContainerStyles>; }
};

TEST_F(Container, DescendantsConstructWithTheirOwnClasses) {
  auto* own = new OwnClassesContainer(form.get());
  own->SetParent(form.get());
  own->SetBounds(150, 10, 60, 20);
  for (Integer state = cxStateNormal; state <= cxStateHot; ++state)
    EXPECT_NE(dynamic_cast<RedFrameStyle*>(own->StyleSet()->Style(state)), nullptr) << state;
  auto* viewInfo = dynamic_cast<CountingViewInfo*>(own->ViewInfo());
  ASSERT_NE(viewInfo, nullptr);
  own->Style()->SetTransparentBorder(false);
  own->Style()->SetBorderStyle(cbsSingle);
  EXPECT_EQ(viewInfo->BorderColor, clRed) << "the style's own default, reached through the change handler";
  own->Repaint();
  EXPECT_GT(viewInfo->paints, 0);
}

// A container that mirrors the window scroll bars of its inner control with
// its own bars.
class ScrollingContainer : public TcxContainer {
 public:
  using TcxContainer::TcxContainer;
  bool HasOwnScrollBars() const override { return true; }

 protected:
  // The bars follow the inner control only.
  void SizeChanged() override {}
};

class ScrollingInner : public TWinControl, public IcxContainerInnerControl {
 public:
  ScrollingInner(TComponent* AOwner, TcxContainer* AContainer) : TWinControl(AOwner), container(AContainer) {}
  TWinControl* Control() override { return this; }
  TcxContainer* ControlContainer() override { return container; }
  TcxContainer* container;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    Params.Style |= win::WS_HSCROLL | win::WS_VSCROLL;
  }
};

TEST_F(Container, OwnScrollBarsMirrorTheInnerControls) {
  auto* scrolling = new ScrollingContainer(form.get());
  scrolling->SetParent(form.get());
  scrolling->Style()->SetTransparentBorder(false);
  scrolling->Style()->SetBorderStyle(cbsNone);
  scrolling->SetBounds(100, 10, 180, 100);
  auto* scroller = new ScrollingInner(form.get(), scrolling);
  scrolling->SetInnerControl(scroller);
  scroller->SetParent(scrolling);
  scrolling->RefreshAtCursor();
  ASSERT_EQ(scroller->BoundsRect(), (TRect{0, 0, 180, 100}));

  const win::HWND wnd = scroller->Handle();
  win::SCROLLINFO v;
  v.fMask = win::SIF_ALL;
  v.nMin = 0;
  v.nMax = 99;
  v.nPage = 30;
  v.nPos = 10;
  win::SetScrollInfo(wnd, win::SB_VERT, &v, win::TRUE);
  // Nothing to scroll across, but the bar stays (disabled); its page is the
  // whole range, which the mirror cuts to the maximum.
  win::SCROLLINFO h;
  h.fMask = win::SIF_ALL | win::SIF_DISABLENOSCROLL;
  h.nMin = 0;
  h.nMax = 9;
  h.nPage = 10;
  win::SetScrollInfo(wnd, win::SB_HORZ, &h, win::TRUE);

  scrolling->PostUpdateScrollBars();
  Application->ProcessMessages();
  TcxControlScrollBar* vBar = scrolling->VScrollBar();
  TcxControlScrollBar* hBar = scrolling->HScrollBar();
  const Integer cx = win::GetSystemMetrics(win::SM_CXVSCROLL);
  const Integer cy = win::GetSystemMetrics(win::SM_CYHSCROLL);
  ASSERT_TRUE(vBar->Visible());
  EXPECT_EQ(vBar->BoundsRect(), (TRect{180 - cx, 0, 180, 100 - cy})) << "over the inner control's own bar";
  EXPECT_TRUE(vBar->Enabled());
  EXPECT_EQ(vBar->Min(), 0);
  EXPECT_EQ(vBar->Max(), 99);
  EXPECT_EQ(vBar->PageSize(), 30);
  EXPECT_EQ(vBar->Position(), 10);
  EXPECT_EQ(vBar->SmallChange(), 1);
  ASSERT_TRUE(hBar->Visible());
  EXPECT_EQ(hBar->BoundsRect(), (TRect{0, 100 - cy, 180 - cx, 100}));
  EXPECT_FALSE(hBar->Enabled());
  EXPECT_EQ(hBar->PageSize(), 9);
  EXPECT_EQ(InnerControlSizeGripRect(scroller), (TRect{180 - cx, 100 - cy, 180, 100}));

  // The inner bar goes: so do the mirror and the corner.
  win::ShowScrollBar(wnd, win::SB_HORZ, win::FALSE);
  scrolling->SyncScrollBarsFromInner(false);
  EXPECT_FALSE(hBar->Visible());
  EXPECT_TRUE(vBar->Visible());
  EXPECT_TRUE(cxRectIsEmpty(InnerControlSizeGripRect(scroller)));
}

}  // namespace
