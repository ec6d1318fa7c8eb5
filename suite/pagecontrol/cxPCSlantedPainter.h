// Tabs with slanted or cut corners that overlap their neighbours, each in
// the colour of its own page with an optional light gradient, outlined in
// the shadow colour; the hot and the main tab carry a highlight strip on
// their outer edge. Tabs are real figures: drawing, clipping and hit tests
// use polygon regions built from the tab's outline.
#pragma once

#include <memory>

#include "suite/pagecontrol/cxPCPainterRoutines.h"
#include "suite/pagecontrol/cxPCStandardPainter.h"

class TcxPCSlantedPainterClass : public TcxPCStandardPainterClass {
 public:
  TcxPCStyleID StyleID() const override { return 9; }
  std::string StyleName() const override { return "Slanted"; }
  Integer TabStyleKind() const override { return 0; }
  std::unique_ptr<TcxPCCustomPainter> Construct(TcxCustomTabControl* AControl) const override;

  static const TcxPCSlantedPainterClass& Instance();
};

class TcxPCSlantedPainter : public TcxPCStandardPainter {
  VXN_DECLARE_CLASS(TcxPCSlantedPainter)

 public:
  explicit TcxPCSlantedPainter(TcxCustomTabControl* AParent) : TcxPCStandardPainter(AParent) {}

  TcxPCCustomPainterClass PainterClass() const override { return &TcxPCSlantedPainterClass::Instance(); }

  Integer TabNormalWidth(TcxTab* Tab) override;
  Integer NavigatorButtonSpacing(TcxPCNavigatorButton Button, TcxPCNavigatorButton NextButton) override;
  Integer NavigatorTabsGap() override { return 1; }
  Integer NavigatorEdgeOffset() override { return 1; }
  TRect ClientAreaMargins() override;
  TRect TabImageMargins(Integer VisibleIndex) override;
  TRect TabTextMargins(Integer VisibleIndex) override;
  Integer FrameWidth() override { return 1; }
  Integer ImageTextGap() override { return 3; }
  TColor TabColor(Integer VisibleIndex) override;
  std::unique_ptr<TcxRegion> TabRegion(Integer VisibleIndex) override;
  IntegerPair TabContentSpacing(Integer VisibleIndex) override;
  IntegerPair TabCutContentSpacing(Integer VisibleIndex) override { return TabContentSpacing(VisibleIndex); }
  IntegerPair TabsSpacing() override;
  bool IsPointInTab(Integer VisibleIndex, Integer X, Integer Y) override;
  bool TabLooksActive(Integer VisibleIndex) override;
  void DrawFrame() override;
  void DrawTabs() override;
  void FillContentBitmap(TBitmap* Bitmap, const TRect& R, Integer VisibleIndex) override;
  void GetNavigatorGlyphInfo(TcxPCNavigatorButton Button, TcxPCNavigatorGlyphInfo& Info) override;
  TColor NavigatorButtonFaceColor(Integer State) override;
  TColor NavigatorGlyphColor(Integer State) override;
  Integer NavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset) override;
  Integer NavigatorButtonHeight() override { return 17; }
  Integer NavigatorButtonWidth(TcxPCNavigatorButton Button) override;
  Integer MinTabNormalHeight() override { return 0; }
  TRect TabsAreaIndents() override;
  Integer TabHeightForFont() override;
  void DrawNavigatorButtonFrame(TRect& R, Integer State) override;
  void DrawTabFrame(Integer VisibleIndex) override;

  // Added operations, in slot order.
  virtual bool GradientOnHotMainTab() { return false; }
  virtual void FillTabGradient(TcxCanvas* ACanvas, const TRect& R, bool Exchange, bool Vertical,
                               Integer VisibleIndex);
  virtual void DrawMainTabJoin(Integer VisibleIndex);
  virtual void TabGradientColors(Integer VisibleIndex, TColor& First, TColor& Second);
  virtual Integer SlantSize();
  virtual Integer MinTabWidth();
  virtual TColor OutlineColor() { return clBtnShadow; }
  virtual Integer TabContentWidth(Integer VisibleIndex);
  virtual TcxTabSlantPositions SlantedSides();
  virtual IntegerPair ImageAreaSize();
  virtual Integer SpareQuery() { return 0; }
  // A new region; the caller owns it.
  virtual std::unique_ptr<TcxRegion> TabFigureRegion(Integer VisibleIndex, bool Inner);
  virtual void DrawTabFigure(Integer VisibleIndex, const TRect& R);
  virtual void DrawHighlightStrip(Integer VisibleIndex);

  // The outline of a tab in top-tab terms, open on the page side.
  void GetTabFigure(Integer VisibleIndex, TPoints& Points, TLinePositions& Positions);

 protected:
  // The one-pixel strip that joins the main tab to its page.
  TRect PageJoinStrip(Integer VisibleIndex);
  // The tab stands at the left or the right.
  bool TabIsSideways(Integer VisibleIndex);

 private:
  void DrawRowLines(Integer Row, const TcxPCLineIndexBounds& Bounds);
};
