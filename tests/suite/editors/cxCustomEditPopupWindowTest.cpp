// The edit popup window: client extents and the panel layout by border
// style and grip corner, the frame painted in both modes, size from the
// content, placement against an edit at the screen's edges with the grip
// away from the edit, the window region of a shadowed popup above its edit,
// sizing by mouse with the tracking outline, the close button and the close
// reasons of modal results. The screen is 1024 x 768.
#include "suite/editors/cxCustomEditPopupWindow.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "tests/support/VisualStylesScope.h"

namespace {

using win::POINT;

// Panel metric height of the test system: max(scroll-bar height 16,
// caption button height 18).
constexpr Integer kPanel = 18;

TColor Sys(TColor c) { return static_cast<TColor>(ColorToRGB(c)); }

struct ExtentsCase {
  const char* name;
  TcxEditPopupBorderStyle style;
  bool native, clientEdge, shadow, panel;
  Integer corner;
  TRect extents;
};

TEST(EditPopupViewInfo, ClientExtentsByBorderStyleEdgeShadowAndPanel) {
  VisualStylesScope classic(false);
  const ExtentsCase cases[] = {
      {"default, nothing", epbsDefault, false, false, false, false, 3, {0, 0, 0, 0}},
      {"single with edge", epbsSingle, false, true, false, false, 3, {3, 3, 3, 3}},
      {"frame 3D with shadow", epbsFrame3D, false, false, true, false, 3, {4, 4, 7, 7}},
      {"flat with edge, panel below", epbsFlat, false, true, false, true, 3, {3, 3, 3, 3 + kPanel}},
      {"single, panel above (line)", epbsSingle, false, false, false, true, 0, {1, 2 + kPanel, 1, 1}},
      {"native with edge, panel below", epbsFrame3D, true, true, false, true, 2, {3, 3, 3, 4 + kPanel}},
  };
  for (const auto& c : cases) {
    TcxCustomEditPopupWindowViewInfo vi;
    vi.PopupBorderStyle = c.style;
    vi.NativeStyle = c.native;
    vi.ClientEdge = c.clientEdge;
    vi.Shadow = c.shadow;
    vi.SysPanelStyle = c.panel;
    vi.SizeGripCorner = c.corner;
    EXPECT_EQ(vi.ClientExtents(), c.extents) << c.name;
    EXPECT_EQ(vi.SysPanelHeight, c.panel ? kPanel : 0) << c.name;
    EXPECT_EQ(vi.SizingBandWidth, kPanel) << c.name;
  }
  TcxCustomEditPopupWindowViewInfo raised;
  raised.PopupBorderStyle = epbsFrame3D;
  raised.SysPanelStyle = true;
  raised.MinSysPanelHeight = 30;
  EXPECT_EQ(raised.ClientExtents(), TRect(4, 4, 4, 34)) << "owners with buttons on the panel raise it";
}

TEST(EditPopupViewInfo, GripSitsInTheCornerAwayFromTheEditAndTheCloseButtonOpposite) {
  VisualStylesScope classic(false);
  struct Case {
    Integer corner;
    TRect gripCell, grip, close;
  };
  // A 200 x 100 single-bordered window: sizing region (1, 1, 199, 99).
  const Case cases[] = {
      {3, {183, 83, 199, 99}, {183, 83, 197, 97}, {4, 83, 18, 97}},
      {2, {1, 83, 17, 99}, {3, 83, 17, 97}, {182, 83, 196, 97}},
      {1, {183, 1, 199, 17}, {183, 3, 197, 17}, {4, 3, 18, 17}},
      {0, {1, 1, 17, 17}, {3, 3, 17, 17}, {182, 3, 196, 17}},
  };
  for (const auto& c : cases) {
    TcxCustomEditPopupWindowViewInfo vi;
    vi.WholeRect = {0, 0, 200, 100};
    vi.PopupBorderStyle = epbsSingle;
    vi.SysPanelStyle = vi.Sizeable = true;
    vi.SizeGripCorner = c.corner;
    vi.CalculateLayout();
    EXPECT_EQ(vi.SizingRegionBounds, TRect(1, 1, 199, 99));
    EXPECT_EQ(vi.SizeGripSizingRect, c.gripCell) << "corner " << c.corner;
    EXPECT_EQ(vi.SizeGripRect, c.grip) << "corner " << c.corner;
    EXPECT_EQ(vi.CloseButtonRect, c.close) << "corner " << c.corner;
    EXPECT_EQ(vi.ThemedCloseButtonState, 0);
  }

  TcxCustomEditPopupWindowViewInfo bare;
  bare.WholeRect = {0, 0, 200, 100};
  bare.PopupBorderStyle = epbsSingle;
  bare.Sizeable = true;
  bare.CalculateLayout();
  EXPECT_TRUE(cxRectIsEmpty(bare.SizeGripRect) && cxRectIsEmpty(bare.CloseButtonRect)) << "no panel: no grip, no button";
  EXPECT_EQ(bare.SysPanelHeight, 0);
  EXPECT_EQ(bare.ClientRect, TRect(1, 1, 199, 99));

  bare.SysPanelStyle = true;
  bare.CloseButton = false;
  bare.CalculateLayout();
  EXPECT_TRUE(cxRectIsEmpty(bare.CloseButtonRect));
  EXPECT_FALSE(cxRectIsEmpty(bare.SizeGripRect));
}

// Paints a 120 x 80 view info into a bitmap.
struct Painted {
  explicit Painted(TcxCustomEditPopupWindowViewInfo& vi) {
    bitmap.SetSize(120, 80);
    bitmap.Canvas()->Brush()->SetColor(clFuchsia);
    bitmap.Canvas()->FillRect({0, 0, 120, 80});
    TcxCanvas canvas(bitmap.Canvas());
    vi.WholeRect = {0, 0, 120, 80};
    vi.CalculateLayout();
    vi.InternalPaint(&canvas);
  }
  TColor at(Integer x, Integer y) { return bitmap.Canvas()->Pixels(x, y); }
  bool anyOtherThan(const TRect& r, TColor c) {
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer x = r.Left; x < r.Right; ++x)
        if (at(x, y) != c) return true;
    return false;
  }
  TBitmap bitmap;
};

TEST(EditPopupViewInfo, FramesPaintByStyleWithoutVisualStyles) {
  VisualStylesScope classic(false);
  struct Case {
    const char* name;
    bool popupEdit;
    TcxEditPopupBorderStyle style;
    bool clientEdge;
    TPoint at;
    TColor expected;
  };
  const Case cases[] = {
      {"single frame", false, epbsSingle, false, {0, 40}, clBtnText},
      {"single frame, client edge sunken", false, epbsSingle, true, {1, 40}, clBtnShadow},
      {"3-D frame with edge: third band", false, epbsFrame3D, true, {2, 40}, clInactiveBorder},
      {"3-D frame without edge: face band", false, epbsFrame3D, false, {2, 40}, clBtnFace},
      {"3-D frame without edge: sunken fourth", false, epbsFrame3D, false, {3, 40}, clBtnShadow},
      {"popup edit's 3-D frame ignores the edge", true, epbsFrame3D, false, {2, 40}, clInactiveBorder},
      {"popup edit's 3-D frame, face fourth", true, epbsFrame3D, false, {3, 40}, clBtnFace},
      {"flat frame: inner raised", false, epbsFlat, false, {1, 40}, clBtnHighlight},
  };
  for (const auto& c : cases) {
    std::unique_ptr<TcxCustomEditPopupWindowViewInfo> vi;
    if (c.popupEdit)
      vi = std::make_unique<TcxPopupEditPopupWindowViewInfo>();
    else
      vi = std::make_unique<TcxCustomEditPopupWindowViewInfo>();
    vi->PopupBorderStyle = c.style;
    vi->ClientEdge = c.clientEdge;
    Painted p(*vi);
    EXPECT_EQ(p.at(c.at.X, c.at.Y), Sys(c.expected)) << c.name;
    EXPECT_EQ(p.at(60, 30), Sys(clBtnFace)) << c.name << ": client filled";
  }
}

TEST(EditPopupViewInfo, PanelWithGripCloseButtonLineAndShadowInBothModes) {
  for (bool styles : {false, true}) {
    SCOPED_TRACE(styles ? "our renderer, native" : "no styles");
    VisualStylesScope mode(styles);
    TcxCustomEditPopupWindowViewInfo vi;
    vi.PopupBorderStyle = epbsSingle;
    vi.NativeStyle = styles;
    vi.Shadow = vi.SysPanelStyle = vi.Sizeable = true;
    Painted p(vi);
    EXPECT_EQ(vi.ThemedCloseButtonState, styles ? 1 : 0);
    EXPECT_EQ(p.at(0, 0), Sys(clBtnText)) << "frame";
    EXPECT_EQ(p.at(118, 78), Sys(clBtnShadow)) << "shadow";
    EXPECT_EQ(p.at(1, 78), clFuchsia) << "the shadow starts 3 pixels in";
    // The panel lies below the client rect, behind a line.
    EXPECT_EQ(vi.ClientRect.Bottom, 80 - 3 - 1 - vi.SysPanelHeight - 1);
    EXPECT_EQ(p.at(60, vi.ClientRect.Bottom), Sys(clBtnText)) << "line above the panel";
    EXPECT_EQ(p.at(60, vi.ClientRect.Bottom + 2), Sys(clBtnFace)) << "panel";
    EXPECT_TRUE(p.anyOtherThan(vi.CloseButtonRect, Sys(clBtnFace))) << "close button drawn";
    EXPECT_TRUE(p.anyOtherThan(vi.SizeGripRect, Sys(clBtnFace))) << "grip drawn";
    EXPECT_GE(vi.CloseButtonRect.Left, 2);
    EXPECT_LE(vi.CloseButtonRect.Bottom, 80 - 3 - 1);
    if (styles) {
      const Integer panelTop = vi.SizingRegionBounds.Bottom - vi.SysPanelHeight;
      EXPECT_EQ(vi.CloseButtonRect.Top - panelTop, vi.SizingRegionBounds.Bottom - vi.CloseButtonRect.Bottom)
          << "a themed close button is centred in the panel";
    }
  }
}

// A drop-down edit for the popup to belong to.
class FakeDropDown : public TCustomControl, public EditPopupOwner {
 public:
  explicit FakeDropDown(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
  TRect PopupOwnerBounds() override { return BoundsRect(); }
  TSize PopupContentSize() override { return content; }
  void PlacePopupContent(const TRect& R) override { placed = R; }
  void ClosePopup(Integer AReason) override {
    reasons.push_back(AReason);
    popup->ClosePopup();
  }
  bool CanFitPopupToWorkArea() override { return true; }
  TcxLookAndFeelKind PopupControlsLookAndFeelKind() override { return lfUltraFlat; }
  void PopupSizedByUser() override { ++sizedByUser; }
  IcxTextEditLookupData* PopupLookupList() override { return lookup; }

  TSize content{80, 40};
  TRect placed;
  std::vector<Integer> reasons;
  std::vector<char32_t> chars;
  int sizedByUser = 0;
  TcxCustomEditPopupWindow* popup = nullptr;
  IcxTextEditLookupData* lookup = nullptr;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == win::WM_CHAR) chars.push_back(static_cast<char32_t>(Message.WParam));
    TCustomControl::WndProc(Message);
  }
};

class TestPopup : public TcxCustomEditPopupWindow {
 public:
  using TcxCustomEditPopupWindow::CanResize;
  using TcxCustomEditPopupWindow::TcxCustomEditPopupWindow;
};

class EditPopup : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetInputState();
    win::InjectMouseMove({0, 0});
  }
  void TearDown() override {
    popup.reset();
    form.reset();
    win::ResetInputState();
  }
  // A borderless form at (x, y) with the edit at (ex, 10), 120 x 20.
  void Place(Integer x, Integer y, Integer ex = 10, Integer ew = 120) {
    popup.reset();
    form.reset();
    form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(x, y, 300, 60);
    edit = new FakeDropDown(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(ex, 10, ew, 20);
    form->Show();
    Application->ProcessMessages();
    popup = std::make_unique<TestPopup>(edit);
    edit->popup = popup.get();
    popup->SetTakesFocus(false);
    popup->ModalLoop = false;
    popup->SetOwnerParent(form.get());
    popup->SetPopupBorderStyle(epbsSingle);
    popup->SetPopupHeight(100);
  }
  void Open() {
    popup->PopupForControl(edit);
    Application->ProcessMessages();
  }
  TcxCustomEditPopupWindowViewInfo* vi() { return popup->PopupViewInfo(); }
  POINT ScreenOf(Integer x, Integer y) { return {popup->Left() + x, popup->Top() + y}; }
  void Drag(POINT from, POINT to) {
    win::InjectMouseMove(from);
    win::InjectMouseButton(win::VK_LBUTTON, true, from);
    Application->ProcessMessages();
    win::InjectMouseMove(to);
    Application->ProcessMessages();
  }
  void Release(POINT at) {
    win::InjectMouseButton(win::VK_LBUTTON, false, at);
    Application->ProcessMessages();
  }

  std::unique_ptr<TForm> form;
  FakeDropDown* edit = nullptr;
  std::unique_ptr<TestPopup> popup;
};

TEST_F(EditPopup, SizeComesFromTheContentTheSettingsOrTheEdit) {
  VisualStylesScope classic(false);
  Place(100, 100);
  popup->SetPopupHeight(0);
  popup->SetPopupAutoSize(true);
  popup->FitToChildren();
  EXPECT_EQ(popup->Width(), 80 + 2);
  EXPECT_EQ(popup->Height(), 40 + 2);

  popup->SetPopupAutoSize(false);
  popup->SetPopupMinHeight(50);
  popup->FitToChildren();
  EXPECT_EQ(popup->Width(), 120) << "width 0: as wide as the edit";
  EXPECT_EQ(popup->Height(), 50);

  popup->SetPopupWidth(30);
  popup->SetPopupSizeable(true);
  popup->SetPopupSysPanelStyle(true);
  popup->FitToChildren();
  EXPECT_EQ(popup->Width(), 2 + (kPanel - 2) + (kPanel - 4) + 10) << "the panel's grip and button need room";
}

TEST_F(EditPopup, OpensBelowOrAboveWithTheGripAwayFromTheEdit) {
  VisualStylesScope classic(false);
  struct Case {
    const char* name;
    Integer formX, formY, editX, editWidth, popupWidth;
    Byte align;
    Integer corner;
    TRect bounds;
  };
  const Case cases[] = {
      {"below, left aligned", 100, 100, 10, 120, 0, 0, GripBottomRight, {110, 130, 230, 230}},
      {"above at the bottom edge", 100, 700, 10, 120, 0, 0, GripTopRight, {110, 610, 230, 710}},
      {"at the right edge, pushed left", 900, 100, 10, 100, 200, 0, GripBottomLeft, {824, 130, 1024, 230}},
      {"right aligned at the left edge", 0, 100, 0, 100, 200, 2, GripBottomRight, {0, 130, 200, 230}},
      {"right aligned, room on the left", 400, 100, 10, 100, 200, 2, GripBottomLeft, {310, 130, 510, 230}},
  };
  for (const auto& c : cases) {
    Place(c.formX, c.formY, c.editX, c.editWidth);
    popup->SetPopupWidth(c.popupWidth);
    popup->SetHorzAlignment(c.align);
    Open();
    EXPECT_EQ(popup->BoundsRect(), c.bounds) << c.name;
    EXPECT_EQ(vi()->SizeGripCorner, c.corner) << c.name;
    popup->ClosePopup();
  }
}

TEST_F(EditPopup, AShadowedPopupAboveTheEditMovesDownAndLeavesTheEditVisible) {
  VisualStylesScope classic(false);
  Place(100, 700);
  popup->SetShadow(true);
  Open();
  EXPECT_EQ(vi()->SizeGripCorner, GripTopRight);
  EXPECT_EQ(popup->BoundsRect(), TRect(110, 613, 230, 713)) << "3 pixels down, over the edit's top rows";
  TcxRegion region;
  ASSERT_NE(win::GetWindowRgn(popup->Handle(), region.Handle), win::ERROR);
  EXPECT_TRUE(win::PtInRegion(region.Handle, 50, 50));
  EXPECT_FALSE(win::PtInRegion(region.Handle, 50, 98)) << "the bottom shadow over the edit is cut out";
  EXPECT_TRUE(win::PtInRegion(region.Handle, 118, 98)) << "the corner beyond the edit keeps its shadow";
  EXPECT_FALSE(win::PtInRegion(region.Handle, 118, 1)) << "no shadow at the top right";

  popup->ClosePopup();
  Place(100, 100);
  popup->SetShadow(true);
  Open();
  EXPECT_EQ(popup->Top(), 130) << "below the edit nothing moves";
  ASSERT_NE(win::GetWindowRgn(popup->Handle(), region.Handle), win::ERROR);
  EXPECT_TRUE(win::PtInRegion(region.Handle, 50, 98));
}

TEST_F(EditPopup, DraggingTheGripMovesOnlyTheSidesAwayFromTheEdit) {
  VisualStylesScope classic(false);
  Place(100, 100);
  popup->SetPopupSizeable(true);
  popup->SetPopupSysPanelStyle(true);
  Open();
  ASSERT_EQ(popup->BoundsRect(), TRect(110, 130, 230, 230));
  const POINT grip = ScreenOf(110, 90);

  Drag(grip, {grip.x + 30, grip.y + 20});
  EXPECT_TRUE(TcxCustomEditPopupWindow::SizingInProgress());
  EXPECT_EQ(popup->Cursor(), crSizeNWSE);
  EXPECT_EQ(TcxCustomEditPopupWindow::TrackingOutline(), TRect(110, 130, 260, 250));
  // The outline's bottom row, dotted.
  const auto overlay = [] {
    for (Integer x = 110; x < 260; ++x)
      if (win::ScreenOverlayPixels()[249 * 1024 + x] != 0) return true;
    return false;
  };
  EXPECT_TRUE(overlay()) << "the outline is on the screen";
  EXPECT_EQ(popup->BoundsRect(), TRect(110, 130, 230, 230)) << "the window waits for the release";
  Release({grip.x + 30, grip.y + 20});
  EXPECT_FALSE(TcxCustomEditPopupWindow::SizingInProgress());
  EXPECT_FALSE(overlay()) << "the outline is erased";
  EXPECT_EQ(popup->BoundsRect(), TRect(110, 130, 260, 250));
  EXPECT_EQ(edit->sizedByUser > 0, true);
  EXPECT_EQ(edit->placed, vi()->ClientRect) << "the content follows";
  EXPECT_EQ(vi()->ClientRect, TRect(1, 1, 149, 119 - kPanel - 1));

  // The top edge lies on the edit's side: dragging it does nothing.
  const POINT top = ScreenOf(60, 0);
  Drag(top, {top.x, top.y - 40});
  Release({top.x, top.y - 40});
  EXPECT_EQ(popup->BoundsRect(), TRect(110, 130, 260, 250));

  // Shrinking stops at the minimal size.
  const POINT grip2 = ScreenOf(140, 110);
  Drag(grip2, {grip2.x - 300, grip2.y - 300});
  Release({grip2.x - 300, grip2.y - 300});
  EXPECT_EQ(popup->Width(), popup->MinimalPopupSize().cx);
  EXPECT_EQ(popup->Height(), popup->MinimalPopupSize().cy);
  EXPECT_EQ(popup->Left(), 110);
}

TEST_F(EditPopup, DraggingBackToTheStartKeepsTheSize) {
  // Mended: the outline once stayed where the pointer had been, so the
  // release took a size the user no longer saw.
  VisualStylesScope classic(false);
  Place(100, 100);
  popup->SetPopupSizeable(true);
  popup->SetPopupSysPanelStyle(true);
  Open();
  const POINT grip = ScreenOf(110, 90);
  Drag(grip, {grip.x + 30, grip.y + 20});
  win::InjectMouseMove(grip);
  Application->ProcessMessages();
  EXPECT_EQ(TcxCustomEditPopupWindow::TrackingOutline(), popup->BoundsRect());
  Release(grip);
  EXPECT_EQ(popup->BoundsRect(), TRect(110, 130, 230, 230));
}

TEST_F(EditPopup, AbovePopupGrowsUpwardByItsTopGrip) {
  VisualStylesScope classic(false);
  Place(100, 700);
  popup->SetPopupSizeable(true);
  popup->SetPopupSysPanelStyle(true);
  Open();
  ASSERT_EQ(vi()->SizeGripCorner, GripTopRight);
  const TRect before = popup->BoundsRect();
  const POINT grip = ScreenOf(110, 5);
  Drag(grip, {grip.x + 10, grip.y - 25});
  Release({grip.x + 10, grip.y - 25});
  EXPECT_EQ(popup->BoundsRect(), TRect(before.Left, before.Top - 25, before.Right + 10, before.Bottom));
}

// Lookup data whose list takes whole rows of 10 pixels.
class RowLookup : public TcxCustomTextEditLookupData {
 public:
  RowLookup() : TcxCustomTextEditLookupData(nullptr) {}
  bool AdjustListSize(TSize& Size, Integer AMaxHeight) override {
    maxHeight = AMaxHeight;
    if (Size.cx > 200) return false;
    Size.cy = Size.cy / 10 * 10;
    return true;
  }
  Integer maxHeight = 0;
};

TEST_F(EditPopup, AListInThePopupAdjustsTheSizeToWholeRows) {
  VisualStylesScope classic(false);
  Place(100, 100);
  RowLookup lookup;
  edit->lookup = &lookup;
  popup->SetPopupSizeable(true);
  Open();
  EXPECT_EQ(popup->Height(), 90 + 2) << "the opening size is whole rows too";
  Integer w = 150, h = 75;
  EXPECT_TRUE(popup->CanResize(w, h));
  EXPECT_EQ(h, 70 + 2) << "whole rows plus the frame";
  EXPECT_EQ(lookup.maxHeight, 768 - 130 - 2) << "the room below the edit";
  w = 300;
  h = 75;
  EXPECT_TRUE(popup->CanResize(w, h));
  EXPECT_EQ(w, 120) << "refused: the size stays";
  EXPECT_EQ(h, 92);
}

TEST_F(EditPopup, TheCloseButtonClosesOnlyWhenReleasedOnIt) {
  for (bool styles : {false, true}) {
    SCOPED_TRACE(styles ? "our renderer, native" : "no styles");
    VisualStylesScope mode(styles);
    Place(100, 100);
    popup->SetNativeStyle(styles);
    popup->SetPopupSysPanelStyle(true);
    Open();
    const TRect b = vi()->CloseButtonRect;
    ASSERT_FALSE(cxRectIsEmpty(b));
    const POINT on = ScreenOf((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
    win::InjectMouseMove(on);
    Application->ProcessMessages();
    EXPECT_EQ(vi()->CloseButtonState, cxbsHot);
    win::InjectMouseButton(win::VK_LBUTTON, true, on);
    Application->ProcessMessages();
    EXPECT_EQ(vi()->CloseButtonState, cxbsPressed);
    if (styles) {
      EXPECT_EQ(vi()->ThemedCloseButtonState, cxbsPressed);
    }
    win::InjectMouseMove(ScreenOf(60, 30));
    Application->ProcessMessages();
    EXPECT_EQ(vi()->CloseButtonState, cxbsNormal) << "left the button";
    Release(ScreenOf(60, 30));
    EXPECT_TRUE(popup->IsShown());
    EXPECT_TRUE(edit->reasons.empty());

    bool allow = false;
    struct Query {
      bool* allow;
      void Ask(TObject*, bool& CanClose) { CanClose = *allow; }
    } query{&allow};
    popup->OnCloseQuery = TCloseQueryEvent(&query, &Query::Ask);
    win::InjectClick(on);
    Application->ProcessMessages();
    EXPECT_TRUE(popup->IsShown()) << "the close query refused";
    EXPECT_EQ(vi()->CloseButtonState, cxbsHot);

    allow = true;
    win::InjectClick(on);
    Application->ProcessMessages();
    EXPECT_FALSE(popup->IsShown());
    EXPECT_EQ(edit->reasons, std::vector<Integer>{PopupCloseReasonUnknown});
  }
}

TEST_F(EditPopup, ModalResultsMapToCloseReasonsAndTypedCharsGoToTheFocus) {
  VisualStylesScope classic(false);
  Place(100, 100);
  for (auto [result, reason] : {std::pair{mrOk, PopupCloseReasonAccept}, std::pair{mrCancel, PopupCloseReasonCancel},
                                std::pair{mrYes, PopupCloseReasonUnknown}}) {
    Open();
    popup->SetModalResult(result);
    popup->CloseOnModalResult();
    EXPECT_EQ(edit->reasons.back(), reason);
    EXPECT_FALSE(popup->IsShown());
  }
  edit->SetFocus();
  win::PostMessage(popup->Handle(), CM_POPUPTYPEDCHAR, 'x', 0);
  Application->ProcessMessages();
  EXPECT_TRUE(edit->chars.empty()) << "a closed popup forwards nothing";
  Open();
  win::PostMessage(popup->Handle(), CM_POPUPTYPEDCHAR, U'é', 0);
  Application->ProcessMessages();
  EXPECT_EQ(edit->chars, std::vector<char32_t>{U'é'});
}

}  // namespace
