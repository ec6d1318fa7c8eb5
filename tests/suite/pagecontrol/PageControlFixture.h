// A tab control without a window of its own, drawing into a test bitmap and
// recording what it is asked to do; a painter with simple metrics (a tab is
// ten pixels per caption character wide, 20 high; every navigator button
// takes 15 pixels at the end of the row); and a scope that lends the
// painters factory to a test.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Controls.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "platform/forms/ImgList.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/cxLookAndFeels.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/pagecontrol/cxCustomTabControl.h"
#include "suite/pagecontrol/cxPCGeometry.h"
#include "suite/pagecontrol/cxPCPainter.h"
#include "suite/pagecontrol/cxPCPaintersFactory.h"
#include "tests/suite/foundation/CanvasFixture.h"

// A tab control whose "window" is a test bitmap: it never gets a real
// window, and what it is asked to invalidate or realign is counted.
class FakeTabControl : public TcxCustomTabControl {
 public:
  explicit FakeTabControl(TComponent* AOwner = nullptr) : TcxCustomTabControl(AOwner) {}
  ~FakeTabControl() override = default;

  // The window side.
  bool WindowExists() const override { return window; }
  TcxCanvas* Canvas() override { return surface.canvas.get(); }
  bool Focused() override { return focused; }
  TColor ParentBackgroundColor() const override { return parentColor; }
  void InvalidateArea(const TRect& R) override { invalidated.push_back(R); }
  void Invalidate() override { ++invalidations; }
  void RealignChildren() override { ++realigns; }
  void RedrawWithChildren() override { ++redraws; }

  bool SelectionNeedsVisibleTab() const override { return needsVisibleTab; }
  TControl* PageOfTab(Integer ATabIndex) override { return ATabIndex == 0 ? firstPage : nullptr; }

  void SetLoading(bool On) { SetState(csLoading, On); }
  void SetDesigning(bool On) { SetState(csDesigning, On); }
  void FinishLoading() {
    SetLoading(false);
    Loaded();
  }
  // Creates the "window": the control is laid out from now on.
  void ShowWindow(Integer W, Integer H) {
    surface.Reset(W, H);
    window = true;
    SetBounds(0, 0, W, H);
    RecalculateLayout();
  }
  void AddTabs(const std::vector<std::string>& captions) {
    for (const auto& c : captions) Tabs()->Add(c);
  }

  TestSurface surface;
  bool window = false;
  bool focused = false;
  bool needsVisibleTab = false;
  TControl* firstPage = nullptr;  // the page of tab 0
  TColor parentColor = clBtnFace;
  std::vector<TRect> invalidated;
  Integer invalidations = 0;
  Integer realigns = 0;
  Integer redraws = 0;
};

// An image list of Count blank square images of Size pixels.
inline std::unique_ptr<TImageList> BlankImages(Integer Size, Integer Count) {
  auto images = std::make_unique<TImageList>(nullptr);
  images->SetWidth(Size);
  images->SetHeight(Size);
  TBitmap strip;
  strip.SetSize(Size * Count, Size);
  images->Add(&strip, nullptr);
  return images;
}

// Settings every fake painter of a test reads.
struct FakePainterSettings {
  IntegerPair tabsSpacing;
  Integer bandGap = 0;
  Integer leadingExtra = 0;
  Integer trailingExtra = 0;
  TRect mainTabCorrection;  // added to the main tab's rect
  std::vector<std::pair<Integer, TabChangeKind>> invalidatedTabs;
  std::vector<std::pair<TcxPCNavigatorButton, Integer>> repaintedButtons;
  Integer created = 0;
};

inline FakePainterSettings& FakeSettings() {
  static FakePainterSettings settings;
  return settings;
}

class FakePainter : public TcxPCCustomPainter {
 public:
  FakePainter(TcxCustomTabControl* AControl, TcxPCCustomPainterClass AClass)
      : TcxPCCustomPainter(AControl), FClass(AClass) {
    ++FakeSettings().created;
  }
  TcxPCCustomPainterClass PainterClass() const override { return FClass; }

  Integer TabNormalWidth(TcxTab* Tab) override {
    if (ParentInfo()->TabWidth() > 0) return ParentInfo()->TabWidth();
    return std::max<Integer>(10 * static_cast<Integer>(Tab->Caption().size()), MinTabNormalWidth());
  }
  TRect TabSizeCorrection(Integer VisibleIndex) override {
    return VisibleIndex == ParentInfo()->MainTabVisibleIndex() ? FakeSettings().mainTabCorrection : TRect{};
  }
  TRect TabImageMargins(Integer) override { return {}; }
  TRect TabTextMargins(Integer) override { return {}; }
  void GoDialogPopupPoint(const TPoint&, TPoint&) override {}
  Integer ImageTextGap() override { return 4; }
  Integer MinTabNormalWidth() override { return 12; }
  IntegerPair TabsRowIndent() override { return {}; }
  TColor TabColor(Integer) override { return clBtnFace; }
  IntegerPair TabContentSpacing(Integer) override { return {2, 2}; }
  IntegerPair TabsSpacing() override { return FakeSettings().tabsSpacing; }
  void CalculateTabsArea(TcxPCNavigatorButtons Buttons, TabsAreaInfo& Info) override {
    const Integer e = 15 * NavigatorButtonCount(Buttons);
    const bool sideways = ParentInfo()->TabPosition() == tpLeft || ParentInfo()->TabPosition() == tpRight;
    Info = {};
    Info.Bounds = {0, 0, ParentInfo()->Width(), ParentInfo()->Height()};
    Info.RowRect = Info.Bounds;
    if (sideways) {
      Info.RowRect.Bottom -= e;
      Info.RowLength = Info.RowRect.Bottom - Info.RowRect.Top;
    } else {
      Info.RowRect.Right -= e;
      Info.RowLength = Info.RowRect.Right - Info.RowRect.Left;
    }
    Info.BandGap = FakeSettings().bandGap;
    Info.LeadingBandExtra = FakeSettings().leadingExtra;
    Info.TrailingBandExtra = FakeSettings().trailingExtra;
  }
  IntegerPair TabCutContentSpacing(Integer) override { return {1, 1}; }
  void StoreTabContentRects(Integer v, const TRect& I, const TRect& T) override { SetTabContentRects(v, I, T); }
  // With tabs on top the shown buttons stand side by side after the row, in
  // the set's order, each 15 wide and 20 high.
  bool NavigatorButtonAt(Integer X, Integer Y, TcxPCNavigatorButton& Button) override {
    if (ParentInfo()->TabPosition() != tpTop || Y < 0 || Y >= 20) return false;
    const TcxPCNavigatorButtons shown = ParentInfo()->NavigatorButtons();
    Integer x = ParentInfo()->Width() - 15 * NavigatorButtonCount(shown);
    for (TcxPCNavigatorButton b : {nbTopLeft, nbBottomRight, nbGoDialog, nbClose}) {
      if (!shown.Contains(b)) continue;
      if (X >= x && X < x + 15) {
        Button = b;
        return true;
      }
      x += 15;
    }
    return false;
  }
  bool TabLooksActive(Integer v) override { return v == ParentInfo()->MainTabVisibleIndex(); }
  void DrawNavigatorButtons() override {}
  void DrawFrame() override {}
  void DrawTabs() override {}
  void InvalidateTab(Integer VisibleIndex, TabChangeKind Kind) override {
    FakeSettings().invalidatedTabs.push_back({VisibleIndex, Kind});
  }
  Integer TabNormalHeight() override { return 20; }
  void GoDialogButtonBounds(TRect& R) override { R = {}; }
  void InvalidateNavigatorButton(TcxPCNavigatorButton Button, Integer PreviousState) override {
    FakeSettings().repaintedButtons.push_back({Button, PreviousState});
  }

 private:
  TcxPCCustomPainterClass FClass;
};

// A painter class: its ID, name, the look-and-feel painter codes it claims,
// whether it is the default (always, never, or with NativeStyle) and
// whether it can turn tabs.
class FakePainterClass : public TcxPCPainterMeta {
 public:
  enum DefaultRule { Never, Always, WithNativeStyle };

  FakePainterClass(TcxPCStyleID AID, std::string AName, std::vector<Integer> ACodes = {},
                   DefaultRule ADefault = Never, bool ARotation = true, bool AMultiSelect = false,
                   bool AButtonStyle = false)
      : FID(AID),
        FName(std::move(AName)),
        FCodes(std::move(ACodes)),
        FDefault(ADefault),
        FRotation(ARotation),
        FMultiSelect(AMultiSelect),
        FButtonStyle(AButtonStyle) {}

  TcxPCStyleID StyleID() const override { return FID; }
  std::string StyleName() const override { return FName; }
  bool AllowsRotation() const override { return FRotation; }
  bool AllowsMultiSelect() const override { return FMultiSelect; }
  bool IsButtonStyle() const override { return FButtonStyle; }
  bool MatchesLookAndFeel(TcxLookAndFeel* ALookAndFeel) const override;
  bool IsDefaultForLookAndFeel(TcxLookAndFeel* ALookAndFeel) const override {
    return FDefault == Always || (FDefault == WithNativeStyle && ALookAndFeel->NativeStyle());
  }
  std::unique_ptr<TcxPCCustomPainter> Construct(TcxCustomTabControl* AControl) const override {
    return std::make_unique<FakePainter>(AControl, this);
  }

 private:
  TcxPCStyleID FID;
  std::string FName;
  std::vector<Integer> FCodes;
  DefaultRule FDefault;
  bool FRotation;
  bool FMultiSelect;
  bool FButtonStyle;
};

inline bool FakePainterClass::MatchesLookAndFeel(TcxLookAndFeel* ALookAndFeel) const {
  const Integer code = ALookAndFeel->PainterForThemeClasses(ThemeClassMask(ThemeClassTab))->PainterStyle();
  return std::find(FCodes.begin(), FCodes.end(), code) != FCodes.end();
}

// Lends the factory to a test: the classes registered before are taken out
// and put back at the end.
class FactoryScope {
 public:
  explicit FactoryScope(std::vector<TcxPCCustomPainterClass> classes) {
    if (TcxPCPaintersFactory* f = PaintersFactory())
      for (Integer i = 0; i < f->PainterClassCount(); ++i) saved_.push_back(f->PainterClasses(i));
    for (auto c : saved_) UnregisterPCPainterClass(c);
    for (auto c : classes) RegisterPCPainterClass(c);
    FakeSettings() = FakePainterSettings{};
  }
  ~FactoryScope() {
    while (PaintersFactory()) UnregisterPCPainterClass(PaintersFactory()->PainterClasses(0));
    for (auto c : saved_) RegisterPCPainterClass(c);
  }

 private:
  std::vector<TcxPCCustomPainterClass> saved_;
};

// One fake style that every look-and-feel gets.
inline const FakePainterClass& PlainFakeClass() {
  static const FakePainterClass c(1, "Plain", {0, 1, 2, 3, 4}, FakePainterClass::Always);
  return c;
}

// A form at (100, 100), 400 x 300 on an 800 x 600 screen, with the pointer
// away from it and no key or button down; a test fills it and shows it.
class FormTest : public ::testing::Test {
 public:
  void SetUp() override {
    win::SetScreenSize(800, 600);
    win::ResetInputState();
    win::InjectMouseMove({0, 0});
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 400, 300);
  }
  void TearDown() override {
    form.reset();
    win::ResetInputState();
  }
  void Pump() { Application->ProcessMessages(); }
  win::POINT Screen(TControl* c, Integer x, Integer y) {
    const TPoint p = c->ClientToScreen({x, y});
    return {p.X, p.Y};
  }

  std::unique_ptr<TForm> form;
};
