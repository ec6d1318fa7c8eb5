// The classic notebook look: raised 3-D tabs standing on a 3-D page frame,
// the main tab larger and joined to the page. With the look-and-feel's
// native style and visual styles available the same painter draws through
// the "Tab", "Spin" and "Window" theme classes instead.
#pragma once

#include "platform/win/WinTypes.h"
#include "suite/pagecontrol/cxPCStandardPainter.h"

class TcxPCTabsPainterClass : public TcxPCStandardPainterClass {
 public:
  TcxPCStyleID StyleID() const override { return 1; }
  std::string StyleName() const override { return "Tabs"; }
  Integer TabStyleKind() const override { return 0; }
  // Painter style codes 1 (standard) and 3 (native).
  bool MatchesLookAndFeel(TcxLookAndFeel* ALookAndFeel) const override;
  bool IsDefaultForLookAndFeel(TcxLookAndFeel* ALookAndFeel) const override;
  std::unique_ptr<TcxPCCustomPainter> Construct(TcxCustomTabControl* AControl) const override;

  static const TcxPCTabsPainterClass& Instance();
};

class TcxPCTabsPainter : public TcxPCStandardPainter {
  VXN_DECLARE_CLASS(TcxPCTabsPainter)

 public:
  explicit TcxPCTabsPainter(TcxCustomTabControl* AParent) : TcxPCStandardPainter(AParent) {}

  TcxPCCustomPainterClass PainterClass() const override { return &TcxPCTabsPainterClass::Instance(); }

  TRect TabSizeCorrection(Integer VisibleIndex) override;
  TRect ClientAreaMargins() override;
  TRect TabsAreaMargins() override;
  TRect TabImageMargins(Integer VisibleIndex) override;
  TRect TabTextMargins(Integer VisibleIndex) override;
  TColor TabColor(Integer VisibleIndex) override;
  std::unique_ptr<TcxRegion> TabRegion(Integer VisibleIndex) override;
  Integer TabClipMode(Integer VisibleIndex) override;
  IntegerPair TabContentSpacing(Integer VisibleIndex) override;
  IntegerPair TabCutContentSpacing(Integer VisibleIndex) override;
  void TabThemePartAndState(Integer VisibleIndex, int& Part, int& State) override;
  void CalculateTabsArea(TcxPCNavigatorButtons Buttons, TabsAreaInfo& Info) override;
  void StoreTabContentRects(Integer VisibleIndex, const TRect& ImageRect, const TRect& TextRect) override;
  bool IsNativePainting() override;
  bool IsPointInTab(Integer VisibleIndex, Integer X, Integer Y) override;
  bool HasFrame() override { return true; }
  void Paint() override;
  void DrawFrameAndPage() override;
  void DrawTabs() override;
  void InvalidateTab(Integer VisibleIndex, TabChangeKind Kind) override;
  Integer NavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset) override;
  Integer NavigatorButtonHeight() override;
  Integer NavigatorButtonWidth(TcxPCNavigatorButton Button) override;
  Integer TabHeightForFont() override;
  void DrawNavigatorButton(TcxPCNavigatorButton Button, const TRect& R) override;
  void DrawTabFrame(Integer VisibleIndex) override;
  void DrawNativeTabBackground(Integer VisibleIndex) override;

  // Added operations, in slot order.
  virtual TColor CornerColor() { return clBtnFace; }
  virtual void DrawTabCorners(Integer VisibleIndex);
  virtual void DrawTabBorder(Integer VisibleIndex);

  void DrawThemedPane(TCanvas* ACanvas);
  // Only while a native paint runs.
  win::HDC NativeBackgroundDC() const { return FNativeBackgroundDC; }

 private:
  // The main tab's rect grown by Amount towards the page.
  TRect TowardsPage(const TRect& R, Integer VisibleIndex, Integer Amount);
  void DrawClassicTabFrame(Integer VisibleIndex);
  void DrawNativeTabFrame(Integer VisibleIndex);
  void OpenMainTabIntoPage(const TRect& R, Integer Side);

  win::HDC FNativeBackgroundDC = nullptr;
};
