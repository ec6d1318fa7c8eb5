// The editor layout: button bounds as tables (right, left, mixed, hidden,
// running out of room, default widths, buttons-only stretching), edges,
// in-place offsets, border extents by style, the default style tables,
// native drawing with our renderer against the classic look, button
// transparency and hover levels, the container state, button states through
// a press, a move off and back and a release, border colours, what the view
// info takes from the editor, and measuring with width limits and size
// constraints.
#include "suite/editors/cxEditViewData.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "platform/forms/CustomForms.h"
#include "platform/win/SysParams.h"
#include "platform/win/ThemeSchema.h"
#include "suite/foundation/dxOffice11.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"
#include "tests/suite/foundation/CanvasFixture.h"
#include "tests/support/VisualStylesScope.h"

namespace {

// A test's lambda as a delegate.
template <typename Sig>
struct Handler;
template <typename R, typename... A>
struct Handler<R(A...)> {
  std::function<R(A...)> f;
  R Call(A... a) { return f(a...); }
  TDelegate<R(A...)> Delegate() { return TDelegate<R(A...)>(this, &Handler::Call); }
};

// A style owner that says whether its editor is in place.
class StyleOwner : public TWinControl, public IcxContainerStyleOwner {
 public:
  StyleOwner(bool AInplace) : TWinControl(nullptr), inplace(AInplace) {}
  TControl* StyleOwnerControl() override { return this; }
  bool DefaultParentColor() override { return false; }
  bool IsInplace() override { return inplace; }
  TcxContainerStyleValues GetUnstoredStyleValues() override { return 0; }
  bool inplace;
};

// An editor as the layout sees it: a container with edit styles.
class FakeEdit : public TcxContainer, public IcxViewDataEdit {
 public:
  FakeEdit()
      : TcxContainer(nullptr, &CreateContainerStyles<TcxContainerStyles>, &CreateContainerStyle<TcxEditStyle>,
                     &CreateContainerViewInfo<TcxCustomEditViewInfo>) {}
  bool IsEditFocused() override { return focused; }
  bool InnerEditVisible() override { return innerVisible; }
  Integer CapturedButtonIndex() override { return captured; }
  bool NeedsParentBackground() override { return parentBackground; }
  bool focused = false;
  bool innerVisible = false;
  bool parentBackground = false;
  Integer captured = -1;
};

class EditLayout : public ::testing::Test, public TestSurface {
 protected:
  void SetUp() override {
    Reset(20, 20);
    UseOwner(false);
  }

  // The style of a stand-alone or an in-place editor, classic, single
  // border, with the transparent border (2 pixels on every side).
  void UseOwner(bool inplace) {
    owner = std::make_unique<StyleOwner>(inplace);
    styles = std::make_unique<TcxContainerStyles>(owner.get(), &CreateContainerStyle<TcxEditStyle>);
    style = static_cast<TcxEditStyle*>(styles->NormalStyle());
    style->SetEditBorderStyle(ebsSingle);
    style->LookAndFeel()->SetNativeStyle(false);
  }

  TcxEditButton* AddButton(Integer width, bool left = false, TcxEditButtonKind kind = bkDown) {
    TcxEditButton* b = props.Buttons()->Add();
    b->SetWidth(width);
    b->SetLeftAlignment(left);
    b->SetKind(kind);
    return b;
  }

  std::unique_ptr<TcxCustomEditViewData> Data(bool inplace = false) {
    auto vd = props.CreateViewData(style, inplace);
    vd->Edit = edit;
    return vd;
  }

  void Compute(TcxCustomEditViewData& vd, const TRect& bounds, TPoint p = {-1, -1}, Integer button = cxmbNone,
               TShiftState shift = {}, bool mouse = false) {
    vd.ComputeLayout(canvas.get(), bounds, p, button, shift, &vi, mouse);
  }

  // Lays out with a fresh view data of the current settings.
  void Layout(const TRect& bounds, TPoint p = {-1, -1}, Integer button = cxmbNone, TShiftState shift = {},
              bool mouse = false) {
    auto vd = Data();
    vd->Focused = focused;
    Compute(*vd, bounds, p, button, shift, mouse);
  }

  TcxCustomEditProperties props{nullptr};
  std::unique_ptr<StyleOwner> owner;
  std::unique_ptr<TcxContainerStyles> styles;
  TcxEditStyle* style = nullptr;
  TcxCustomEditViewInfo vi;
  FakeEdit* edit = nullptr;
  bool focused = false;
};

TEST_F(EditLayout, ButtonsAreLaidOutFromTheLastInwardFromTheClientEdges) {
  struct Button {
    Integer width;
    bool left;
    bool visible;
  };
  const struct {
    const char* name;
    std::vector<Button> buttons;
    std::vector<std::pair<Integer, TRect>> expected;  // collection index, bounds, by view info
    Integer innerLeft, innerRight;
  } cases[] = {
      // The first laid out (the last in the collection) ends at the inner
      // edge of the right border; the inner control ends 34 pixels left of
      // where the border alone would put it (98).
      {"two right", {{17, false, true}, {17, false, true}}, {{0, {64, 2, 81, 19}}, {1, {81, 2, 98, 19}}}, 2, 64},
      {"two left", {{17, true, true}, {17, true, true}}, {{0, {19, 2, 36, 19}}, {1, {2, 2, 19, 19}}}, 36, 98},
      {"one each", {{17, true, true}, {20, false, true}}, {{0, {2, 2, 19, 19}}, {1, {78, 2, 98, 19}}}, 19, 78},
      {"hidden skipped", {{17, false, true}, {17, false, false}}, {{0, {81, 2, 98, 19}}}, 2, 81},
  };
  for (const auto& c : cases) {
    props.Buttons()->Clear();
    for (const auto& b : c.buttons) AddButton(b.width, b.left)->SetVisible(b.visible);
    Layout({0, 0, 100, 21});
    ASSERT_EQ(vi.ButtonCount(), static_cast<Integer>(c.expected.size())) << c.name;
    for (Integer i = 0; i < vi.ButtonCount(); ++i) {
      EXPECT_EQ(vi.Button(i)->ButtonIndex, c.expected[i].first) << c.name << " " << i;
      EXPECT_EQ(vi.Button(i)->Bounds, c.expected[i].second) << c.name << " " << i;
      EXPECT_EQ(vi.Button(i)->VisibleBounds, c.expected[i].second) << c.name << " " << i;
    }
    EXPECT_EQ(vi.InsideBorderRect, (TRect{2, 2, 98, 19})) << c.name;
    EXPECT_EQ(vi.InnerControlRect, (TRect{c.innerLeft, 2, c.innerRight, 19})) << c.name;
  }
}

TEST_F(EditLayout, AButtonThatRunsOutOfRoomKeepsItsBoundsButShowsLess) {
  AddButton(17);
  AddButton(17);
  AddButton(17);
  Layout({0, 0, 30, 21});  // 26 pixels between the borders
  EXPECT_EQ(vi.Button(2)->Bounds, (TRect{11, 2, 28, 19}));
  EXPECT_EQ(vi.Button(1)->Bounds, (TRect{-6, 2, 11, 19}));
  EXPECT_EQ(vi.Button(1)->VisibleBounds, (TRect{2, 2, 11, 19}));
  // Nothing is left for the first one.
  EXPECT_TRUE(cxRectIsEmpty(vi.Button(0)->Bounds));
  EXPECT_TRUE(cxRectIsEmpty(vi.Button(0)->VisibleBounds));
}

TEST_F(EditLayout, AButtonWithoutWidthAsksTheHandlerElseTakesTheScrollBarWidth) {
  AddButton(0);
  AddButton(0);
  auto vd = Data();
  std::vector<Integer> asked;
  Handler<void(TObject*, Integer, Integer&)> widths{[&](TObject* sender, Integer index, Integer& width) {
    EXPECT_EQ(sender, vd.get());
    asked.push_back(index);
    if (index == 1) width = 25;
  }};
  vd->OnGetDefaultButtonWidth = widths.Delegate();
  Compute(*vd, {0, 0, 100, 21});
  EXPECT_EQ(asked, (std::vector<Integer>{1, 0}));
  EXPECT_EQ(vi.Button(1)->Bounds.Width(), 25);
  EXPECT_EQ(vi.Button(0)->Bounds.Width(), win::GetSystemMetrics(win::SM_CYHSCROLL));
}

TEST_F(EditLayout, ButtonsOnlyStretchesTheStretchableButtonsByTheirWidths) {
  props.SetButtonsViewStyle(1);
  const struct {
    bool stretchable0, stretchable1;
    TRect bounds0, bounds1;
  } cases[] = {
      {true, true, {2, 2, 42, 19}, {42, 2, 102, 19}},     // 20 and 30 share 50: 40 and 60
      {true, false, {2, 2, 72, 19}, {72, 2, 102, 19}},    // only the first grows
      {false, false, {2, 2, 42, 19}, {42, 2, 102, 19}},   // none stretchable: all share
  };
  for (const auto& c : cases) {
    props.Buttons()->Clear();
    AddButton(20)->SetStretchable(c.stretchable0);
    AddButton(30)->SetStretchable(c.stretchable1);
    Layout({0, 0, 104, 21});
    EXPECT_EQ(vi.Button(0)->Bounds, c.bounds0);
    EXPECT_EQ(vi.Button(1)->Bounds, c.bounds1);
    EXPECT_EQ(vi.Button(0)->VisibleBounds, c.bounds0);
  }
  // Left-aligned ones push their later neighbours right.
  props.Buttons()->Clear();
  AddButton(20, true);
  AddButton(30, true);
  Layout({0, 0, 104, 21});
  EXPECT_EQ(vi.Button(1)->Bounds, (TRect{2, 2, 62, 19}));
  EXPECT_EQ(vi.Button(0)->Bounds, (TRect{62, 2, 102, 19}));
}

TEST_F(EditLayout, OutermostButtonsGetTheEdgeFlags) {
  const struct {
    Byte viewStyle;
    bool left0, left1, left2;
    bool first[3], last[3];
  } cases[] = {
      // Three right: the rightmost (last laid out first) is the last edge,
      // the leftmost the first edge.
      {0, false, false, false, {true, false, false}, {false, false, true}},
      // One left, two right: each side's both ends.
      {0, true, false, false, {true, true, false}, {true, false, true}},
      // Buttons-only with buttons on both sides: no edges in the middle.
      {1, true, false, false, {true, false, false}, {false, false, true}},
  };
  for (const auto& c : cases) {
    props.Buttons()->Clear();
    props.SetButtonsViewStyle(c.viewStyle);
    AddButton(17, c.left0);
    AddButton(17, c.left1);
    AddButton(17, c.left2);
    Layout({0, 0, 100, 21});
    for (Integer i = 0; i < 3; ++i) {
      EXPECT_EQ(vi.Button(i)->FirstEdge, c.first[i]) << int(c.viewStyle) << " " << i;
      EXPECT_EQ(vi.Button(i)->LastEdge, c.last[i]) << int(c.viewStyle) << " " << i;
      // Buttons-only counts every button as right-aligned afterwards.
      if (c.viewStyle == 1) {
        EXPECT_FALSE(vi.Button(i)->LeftAlignment);
      }
    }
  }
}

TEST_F(EditLayout, BorderExtentsByStyleEdgesShadowAndTransparentBorder) {
  style->SetTransparentBorder(false);
  const struct {
    TcxEditBorderStyle border;
    Integer width;
  } widths[] = {{ebsNone, 0}, {ebsSingle, 1}, {ebsThick, 2},     {ebsFlat, 2},
                {ebs3D, 2},   {ebsUltraFlat, 1}, {ebsOffice11, 1}};
  for (const auto& w : widths) {
    style->SetEditBorderStyle(w.border);
    auto vd = Data();
    TRect r;
    vd->BorderExtent(r);
    EXPECT_EQ(r, (TRect{w.width, w.width, w.width, w.width})) << int(w.border);
  }
  style->SetEditBorderStyle(ebs3D);
  style->SetEdges({bLeft, bTop});
  style->SetShadow(true);
  TRect r;
  Data()->BorderExtent(r);
  EXPECT_EQ(r, (TRect{2, 2, 3, 3}));
  style->SetTransparentBorder(true);
  Data()->BorderExtent(r);
  EXPECT_EQ(r, (TRect{2, 2, 5, 5}));
  Layout({0, 0, 50, 20});
  EXPECT_TRUE(vi.ShadowOn);
  EXPECT_EQ(vi.EditBorderStyle, ebs3D);
  EXPECT_EQ(vi.BorderStyleInUse(), cbs3D);
}

TEST_F(EditLayout, InPlaceTheOffsetsAreTheBorderAndTheLookAndFeelPicksTheDefaults) {
  UseOwner(true);
  style->SetShadow(true);
  AddButton(17);
  const struct {
    TcxLookAndFeelKind kind;
    TcxEditButtonStyle button;
    TcxEditPopupBorderStyle popup;
  } kinds[] = {{lfFlat, btsFlat, epbsFlat},
               {lfStandard, bts3D, epbsFrame3D},
               {lfUltraFlat, btsUltraFlat, epbsSingle},
               {lfOffice11, btsOffice11, epbsSingle}};
  for (const auto& k : kinds) {
    style->LookAndFeel()->SetKind(k.kind);
    auto vd = Data(true);
    vd->InplaceOffsets = {1, 2, 3, 4};
    Compute(*vd, {0, 0, 100, 20});
    EXPECT_EQ(vi.Button(0)->Style, k.button) << int(k.kind);
    EXPECT_EQ(vi.PopupBorderStyle, k.popup) << int(k.kind);
  }
  EXPECT_EQ(vi.EditBorderStyle, ebsNone);
  EXPECT_FALSE(vi.ShadowOn);
  EXPECT_EQ(vi.InsideBorderRect, (TRect{1, 2, 97, 16}));
  EXPECT_EQ(vi.Button(0)->Bounds, (TRect{80, 2, 97, 16}));
  EXPECT_TRUE(vi.HasInplaceMargins);
  EXPECT_EQ(vi.ExtraFlags, cxEditHasInplaceMargins);

  auto vd = props.CreateViewData(style, true, true);
  Compute(*vd, {0, 0, 100, 20});
  EXPECT_FALSE(vi.HasInplaceMargins);
  EXPECT_EQ(vi.ExtraFlags, cxEditExtraFlag);
  EXPECT_EQ(vi.InsideBorderRect, (TRect{0, 0, 100, 20}));
}

TEST_F(EditLayout, DefaultStyleTables) {
  const struct {
    TcxEditBorderStyle border;
    TcxEditButtonStyle button;
    TcxEditPopupBorderStyle popup;
  } rows[] = {{ebsNone, btsSimple, epbsFlat},       {ebsSingle, btsHotFlat, epbsSingle},
              {ebsThick, bts3D, epbsSingle},        {ebsFlat, btsFlat, epbsFlat},
              {ebs3D, bts3D, epbsSingle},           {ebsUltraFlat, btsUltraFlat, epbsSingle},
              {ebsOffice11, btsOffice11, epbsSingle}};
  for (const auto& r : rows) {
    EXPECT_EQ(DefaultButtonStyleOf(r.border), r.button) << int(r.border);
    EXPECT_EQ(DefaultPopupBorderStyleOf(r.border), r.popup) << int(r.border);
  }
  // Stand-alone, the style's own border picks the buttons (ultra-flat ones
  // for an ultra-flat editor) and the border in use the popup's.
  AddButton(17);
  style->SetEditBorderStyle(ebsUltraFlat);
  Layout({0, 0, 100, 21});
  EXPECT_EQ(vi.Button(0)->Style, btsUltraFlat);
  EXPECT_EQ(vi.EditBorderStyle, ebsSingle);
  EXPECT_EQ(vi.PopupBorderStyle, epbsSingle);
  style->SetButtonStyle(bts3D);
  style->SetPopupBorderStyle(epbsFrame3D);
  Layout({0, 0, 100, 21});
  EXPECT_EQ(vi.Button(0)->Style, bts3D);
  EXPECT_EQ(vi.PopupBorderStyle, epbsFrame3D);
}

TEST_F(EditLayout, OurRendererDrawsNativelyAndNoStylesDrawsClassic) {
  style->SetTransparentBorder(false);
  style->LookAndFeel()->SetNativeStyle(true);
  AddButton(17);
  {
    VisualStylesScope styles(false);  // no styles: the classic look
    Layout({0, 0, 100, 21});
    EXPECT_FALSE(vi.NativeDrawing);
    EXPECT_EQ(vi.InsideBorderRect, (TRect{1, 1, 99, 20}));
    EXPECT_EQ(vi.Button(0)->NativeState, 0);
  }
  VisualStylesScope styles(true);  // our renderer
  const win::HTHEME theme = OpenThemeByIndex(ThemeClassEdit);
  ASSERT_NE(theme, nullptr);
  Layout({0, 0, 100, 21});
  EXPECT_TRUE(vi.NativeDrawing);
  EXPECT_EQ(vi.ThemedObjectKind, ThemeClassEdit);
  EXPECT_EQ(vi.ThemePart, 1);
  EXPECT_EQ(vi.InsideBorderRect, (TRect{2, 2, 98, 19}));
  EXPECT_EQ(vi.Button(0)->NativeState, 1);
  // The buttons sit inside the edit-text part's content margins.
  const TRect content = UxGetThemeBackgroundContentRect(theme, nullptr, 1, 1, TRect{0, 0, 100, 100});
  EXPECT_EQ(vi.Button(0)->Bounds.Right, 100 - (100 - content.Right));

  // Native state codes, tested in the order disabled, read-only, focused, hot.
  auto stateOf = [&](bool enabled, bool readOnly, bool focus, TPoint p) {
    props.SetReadOnly(readOnly);
    auto vd = Data();
    vd->Enabled = enabled;
    vd->Focused = focus;
    Compute(*vd, {0, 0, 100, 21}, p);
    return vi.ThemeState;
  };
  EXPECT_EQ(stateOf(false, true, true, {5, 5}), 4);
  EXPECT_EQ(stateOf(true, true, true, {5, 5}), 6);
  EXPECT_EQ(stateOf(true, false, true, {5, 5}), 5);
  EXPECT_EQ(stateOf(true, false, false, {5, 5}), 2);
  EXPECT_EQ(stateOf(true, false, false, {-1, -1}), 1);

  // A disabled native editor takes the theme's fill unless its colour is
  // assigned; with no border at all, nothing is kept for one.
  win::COLORREF fill = 0;
  UxGetThemeColor(theme, 1, 4, win::TMT_FILLCOLOR, fill);
  stateOf(false, false, false, {-1, -1});
  EXPECT_EQ(vi.FillColor, static_cast<TColor>(fill));
  style->SetColor(clRed);
  stateOf(false, false, false, {-1, -1});
  EXPECT_EQ(vi.FillColor, clRed);
  style->SetEditBorderStyle(ebsNone);
  TRect r;
  Data()->BorderExtent(r);
  EXPECT_EQ(r, (TRect{0, 0, 0, 0}));
}

TEST_F(EditLayout, ButtonTransparencyAndHoverLevel) {
  AddButton(17);
  const struct {
    TcxEditButtonTransparency transparency;
    bool focus;
    TPoint p;
    Integer count;
    bool transparent;
    Integer hover;
  } cases[] = {
      {ebtHideInactive, false, {5, 5}, 0, false, 2},
      {ebtHideInactive, true, {-1, -1}, 1, false, 2},
      {ebtHideUnselected, false, {-1, -1}, 0, false, 1},
      {ebtHideUnselected, false, {5, 5}, 1, false, 2},
      {ebtInactive, false, {-1, -1}, 1, true, 1},
      {ebtInactive, true, {-1, -1}, 1, false, 2},
      {ebtInactive, false, {5, 5}, 1, false, 2},
      {ebtAlways, true, {5, 5}, 1, true, 2},
  };
  for (const auto& c : cases) {
    style->SetButtonTransparency(c.transparency);
    focused = c.focus;
    Layout({0, 0, 100, 21}, c.p);
    ASSERT_EQ(vi.ButtonCount(), c.count) << int(c.transparency) << c.focus;
    if (c.count) {
      EXPECT_EQ(vi.Button(0)->Transparent, c.transparent) << int(c.transparency) << c.focus;
    }
    EXPECT_EQ(vi.EditHoverLevel, c.hover) << int(c.transparency) << c.focus;
  }
  style->SetHotTrack(false);
  Layout({0, 0, 100, 21}, {5, 5});
  EXPECT_EQ(vi.EditHoverLevel, 0);
}

TEST_F(EditLayout, ContainerState) {
  const struct {
    bool enabled, designing, focus;
    TPoint p;
    TShiftState shift;
    TcxContainerStateFlags state;
  } cases[] = {
      {false, false, true, {-1, -1}, {}, csDisabled},
      {true, true, true, {-1, -1}, {}, csNormal},
      {true, false, true, {-1, -1}, {}, csFocused},
      {true, false, false, {-1, -1}, {}, csNormal},
      {true, false, false, {5, 5}, {}, csNormal | csHot},
      {true, false, true, {5, 5}, {ssShift}, csFocused | csHot},
      // A mouse button held by another control: not hot.
      {true, false, false, {5, 5}, {ssLeft}, csNormal},
      // The in-place offsets are outside the hot area.
      {true, false, false, {0, 0}, {}, csNormal},
  };
  for (const auto& c : cases) {
    auto vd = Data();
    vd->Enabled = c.enabled;
    vd->IsDesigning = c.designing;
    vd->Focused = c.focus;
    vd->InplaceOffsets = {1, 1, 1, 1};
    EXPECT_EQ(vd->CalculateContainerState({0, 0, 100, 21}, c.p, cxmbNone, c.shift, false), c.state)
        << c.enabled << c.designing << c.focus << c.p.X;
  }
}

TEST_F(EditLayout, BorderColours) {
  style->SetBorderColor(clRed);
  const struct {
    TcxEditBorderStyle border;
    bool focus;
    TPoint p;
    TColor color;
  } cases[] = {
      {ebsSingle, true, {-1, -1}, clRed},
      {ebsUltraFlat, false, {-1, -1}, clBtnShadow},
      {ebsUltraFlat, true, {-1, -1}, clHighlight},
      {ebsUltraFlat, false, {5, 5}, clHighlight},
      {ebsOffice11, true, {-1, -1}, Office11SelectionFrameColor},
  };
  for (const auto& c : cases) {
    style->SetEditBorderStyle(c.border);
    focused = c.focus;
    Layout({0, 0, 100, 21}, c.p);
    EXPECT_EQ(vi.BorderColor, c.color) << int(c.border);
  }
  style->SetHotTrack(false);
  style->SetEditBorderStyle(ebsUltraFlat);
  focused = false;
  Layout({0, 0, 100, 21}, {5, 5});
  EXPECT_EQ(vi.BorderColor, clBtnShadow);
}

class EditLayoutWithEdit : public EditLayout {
 protected:
  void SetUp() override {
    EditLayout::SetUp();
    holder = std::make_unique<FakeEdit>();
    edit = holder.get();
    edit->SetBounds(0, 0, 100, 21);
    style = static_cast<TcxEditStyle*>(edit->Style());
    style->SetEditBorderStyle(ebsSingle);
    style->LookAndFeel()->SetNativeStyle(false);
    AddButton(17);
  }

  Integer Step(TPoint p, Integer button, TShiftState shift) {
    Layout({0, 0, 100, 21}, p, button, shift, true);
    return vi.Button(0)->State;
  }

  std::unique_ptr<FakeEdit> holder;
};

TEST_F(EditLayoutWithEdit, PressMoveOffMoveBackAndRelease) {
  const TPoint over{90, 10}, off{40, 10};
  EXPECT_EQ(Step(over, cxmbNone, {}), ebbsHot);
  EXPECT_EQ(vi.HotButton, 0);
  EXPECT_EQ(Step(over, cxmbLeft, {ssLeft}), ebbsPressed);
  EXPECT_EQ(vi.PressedButton, 0);
  EXPECT_TRUE(vi.IsButtonReallyPressed);
  edit->captured = 0;  // the editor took the capture on the press
  EXPECT_EQ(Step(over, cxmbNone, {ssLeft}), ebbsPressed) << "still pressed";
  EXPECT_EQ(Step(off, cxmbNone, {ssLeft}), ebbsNormal);
  EXPECT_EQ(vi.PressedButton, -1);
  EXPECT_FALSE(vi.IsButtonReallyPressed);
  EXPECT_EQ(Step(over, cxmbNone, {ssLeft}), ebbsPressed) << "back on the captured button";
  EXPECT_EQ(vi.PressedButton, 0);
  edit->captured = -1;
  EXPECT_EQ(Step(over, cxmbNone, {}), ebbsHot) << "released over it";
  EXPECT_EQ(vi.HotButton, 0);
  EXPECT_EQ(vi.PressedButton, -1);

  // Without the capture, coming back with the button held leaves it normal.
  EXPECT_EQ(Step(off, cxmbNone, {ssLeft}), ebbsNormal);
  EXPECT_EQ(Step(over, cxmbNone, {ssLeft}), ebbsNormal);
  // A double click presses too; a right click does not.
  EXPECT_EQ(Step(over, cxmbLeft, {ssLeft, ssDouble}), ebbsPressed);
  Step(off, cxmbNone, {});
  EXPECT_EQ(Step(over, cxmbRight, {ssRight}), ebbsNormal);

  props.Buttons()->Items(0)->SetEnabled(false);
  EXPECT_EQ(Step(over, cxmbLeft, {ssLeft}), ebbsDisabled);
}

TEST_F(EditLayoutWithEdit, ForcedPressedAndTheStateHandler) {
  struct Forced : TcxCustomEditViewData {
    bool IsButtonForcedPressed(Integer) override { return true; }
  };
  auto vd = std::make_unique<Forced>();
  vd->Construct(&props, style, false);
  Compute(*vd, {0, 0, 100, 21});
  EXPECT_EQ(vi.Button(0)->State, ebbsPressed);
  EXPECT_EQ(vi.PressedButton, 0);
  Handler<void(TObject*, Integer, TcxEditButtonState&)> prepare{
      [&](TObject* sender, Integer index, TcxEditButtonState& state) {
        EXPECT_EQ(sender, &vi);
        EXPECT_EQ(index, 0);
        state = ebbsHot;
      }};
  vi.OnPrepareButtonState = prepare.Delegate();
  Compute(*vd, {0, 0, 100, 21});
  EXPECT_EQ(vi.Button(0)->State, ebbsHot);
}

TEST_F(EditLayoutWithEdit, TheViewInfoTakesWhatTheEditorSays) {
  TcxEditStyle* hot = static_cast<TcxEditStyle*>(edit->StyleHot());
  hot->SetButtonStyle(btsFlat);
  style->SetButtonStyle(bts3D);
  edit->innerVisible = true;
  edit->parentBackground = true;
  TPanel scrollBar(nullptr);
  scrollBar.SetBounds(0, 0, 30, 9);
  auto vd = Data();
  vd->HScrollBar = &scrollBar;
  vd->VScrollBar = &scrollBar;
  edit->ViewInfo()->StateFlags = csNormal | csHot;
  Compute(*vd, {0, 0, 100, 21}, {50, 10});
  // The style of the editor's state replaces the one it was made with.
  EXPECT_EQ(vd->Style, hot);
  EXPECT_EQ(vi.Button(0)->Style, btsFlat);
  EXPECT_TRUE(vi.InnerEditVisible);
  EXPECT_TRUE(vi.EraseBackground);
  EXPECT_TRUE(vi.Button(0)->EraseBackground);
  EXPECT_FALSE(vi.HasInnerControl);
  // The vertical bar reaches further in than the button.
  EXPECT_EQ(vi.InnerControlRect, (TRect{2, 2, 100 - 2 - 30, 19 - 9}));
  EXPECT_EQ(vi.InnerEditRect, vi.InnerControlRect);
  EXPECT_EQ(vi.Properties, &props);
  EXPECT_EQ(vi.Font, style->Font());

  edit->focused = true;
  EXPECT_TRUE(vd->FocusState());
  vd->Edit = nullptr;
  vd->Focused = false;
  EXPECT_FALSE(vd->FocusState());
}

TEST_F(EditLayout, ConstructionAndContentParameters) {
  const struct {
    bool inplace;
    TRect offsets;
    Integer extraWidth;
    TSize total;
  } cases[] = {{false, {1, 1, 1, 3}, 1, {3, 4}}, {true, {1, 1, 1, 1}, 1, {3, 2}}};
  for (const auto& c : cases) {
    auto vd = Data(c.inplace);
    EXPECT_EQ(vd->ContentParams.Offsets, c.offsets);
    EXPECT_EQ(vd->ContentParams.ExtraWidth, c.extraWidth);
    TSize total{};
    vd->TotalContentOffsets(total);
    EXPECT_EQ(total.cx, c.total.cx);
    EXPECT_EQ(total.cy, c.total.cy);
    EXPECT_EQ(vd->MaxTextWidth, 536870912);
    EXPECT_EQ(vd->MaxTextHeight, 536870912);
    EXPECT_TRUE(vd->Enabled);
  }
  props.Alignment()->SetHorz(taRightJustify);
  props.Alignment()->SetVert(taVCenter);
  AddButton(17)->SetVisible(false);
  AddButton(17);
  auto vd = Data();
  EXPECT_EQ(vd->HorzAlignment, taRightJustify);
  EXPECT_EQ(vd->VertAlignment, taVCenter);
  EXPECT_EQ(vd->VisibleButtonCount, 1);

  std::string text = "x";
  vd->ValueDisplayText(Variant(12), text);
  EXPECT_EQ(text, "");
  vd->OnGetDisplayText = +[](TObject*, std::string& t) { t += "!"; };
  vd->ValueDisplayText(Variant(12), text);
  EXPECT_EQ(text, "!");
}

// Measures its content as 50 x 13 within the width limit it is given.
class MeasuringViewData : public TcxCustomEditViewData {
 public:
  void CalculateEditSize(TcxCanvas*, const Variant&, const TcxEditSizeLimits& ALimits, TSize& ASize) override {
    seenWidth = ALimits.Width;
    ASize = {ALimits.Width < 0 ? 50 : std::min<Integer>(50, ALimits.Width), 13};
  }
  static inline Integer seenWidth = 0;
};

class MeasuredProperties : public TcxCustomEditProperties {
 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
  TcxCustomEditViewDataClass ViewDataClass() override { return EditViewDataClassOf<MeasuringViewData>(); }
};

class EditMeasuring : public EditLayout {
 protected:
  void SetUp() override {
    EditLayout::SetUp();
    style->SetTransparentBorder(false);  // 1 pixel of border on each side
  }
  TSize Measure(TcxCustomEditProperties& p, Integer width, bool inplace = false) {
    auto vd = p.CreateViewData(style, inplace);
    vd->Edit = edit;
    TSize size{};
    vd->TotalEditSize(canvas.get(), Variant(), {1, width}, nullptr, size);
    return size;
  }
  MeasuredProperties measured{nullptr};
};

TEST_F(EditMeasuring, TheWidthLimitLeavesTheContentWhatTheFixedPartDoesNotTake) {
  TcxEditButton* b = measured.Buttons()->Add();
  const struct {
    Integer buttonWidth, limit;
    Integer seen;
    Integer width;
  } cases[] = {
      {28, 100, 70, 80},   // fixed 30: the content may use 70
      {118, 100, 0, 100},  // fixed 120: exceeded, the limit is the answer
      {28, -1, -1, 80},    // no limit
  };
  for (const auto& c : cases) {
    b->SetWidth(c.buttonWidth);
    const TSize size = Measure(measured, c.limit);
    EXPECT_EQ(MeasuringViewData::seenWidth, c.seen) << c.buttonWidth << " " << c.limit;
    EXPECT_EQ(size.cx, c.width) << c.buttonWidth << " " << c.limit;
    EXPECT_EQ(size.cy, 2 + 13);
  }
}

TEST_F(EditMeasuring, AGlyphTallerThanTheContentMakesTheEditorTaller) {
  TcxEditButton* b = measured.Buttons()->Add();
  b->SetKind(bkGlyph);
  TBitmap glyph;
  glyph.SetSize(10, 30);
  b->SetGlyph(&glyph);
  // 30 + the client extent (2) + the hot-flat buttons' content margin (2)
  // less the fixed height (2).
  EXPECT_EQ(Measure(measured, -1).cy, 2 + 32);
}

TEST_F(EditMeasuring, ConstraintsClampAStandAloneEditorOnly) {
  FakeEdit e;
  edit = &e;
  measured.Buttons()->Add()->SetWidth(28);
  e.Constraints()->SetMinWidth(90);
  e.Constraints()->SetMaxHeight(10);
  TSize size = Measure(measured, -1);
  EXPECT_EQ(size.cx, 90);
  EXPECT_EQ(size.cy, 10);
  e.Constraints()->SetMinWidth(0);
  e.Constraints()->SetMaxWidth(60);
  e.Constraints()->SetMaxHeight(0);
  e.Constraints()->SetMinHeight(40);
  size = Measure(measured, -1);
  EXPECT_EQ(size.cx, 60);
  EXPECT_EQ(size.cy, 40);
  UseOwner(true);
  size = Measure(measured, -1, true);
  EXPECT_EQ(size.cx, 28 + 50);
  edit = nullptr;
}

TEST_F(EditMeasuring, ThePropertiesMeasureWithAViewDataOfTheirOwn) {
  props.Buttons()->Add()->SetWidth(28);
  TSize size{};
  props.MeasureEditSize(canvas.get(), style, false, Variant(), {1, -1}, size);
  EXPECT_EQ(size.cx, 30);
  EXPECT_EQ(size.cy, 2);
  // Buttons-only: one text line and the content offsets high.
  props.SetButtonsViewStyle(1);
  props.MeasureEditSize(canvas.get(), style, false, Variant(), {1, -1}, size);
  canvas->AssignFont(style->Font());
  EXPECT_EQ(size.cy, 2 + 4 + canvas->MeasureTextHeight("Zg"));
}

}  // namespace
