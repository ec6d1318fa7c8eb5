// The common ancestor of the tab styles: the metrics that size tabs (by the
// style's kind: tabs, buttons or flat buttons), the navigator buttons'
// layout, frames and glyphs, the drawing of one tab inside its clip region,
// the page frame and the final background fill.
#pragma once

#include <vector>

#include "suite/pagecontrol/cxPCPainter.h"

struct TcxPCNavigatorButtonPosition {
  TcxPCNavigatorButton Button = nbTopLeft;
  TRect Rect;
};
using TcxPCNavigatorButtonPositions = std::vector<TcxPCNavigatorButtonPosition>;

struct TcxPCNavigatorGlyphInfo {
  TColor FillColor = clBtnText;
  TColor LineColor = clBtnText;
  bool Plain = true;       // drawn once in these colours; else embossed as disabled
  bool ThinCross = false;  // the close glyph's two-pixel cross
};

// The class answers that follow the style's kind.
class TcxPCStandardPainterClass : public TcxPCPainterMeta {
 public:
  bool MirrorsContentMargins() const override { return TabStyleKind() == 0; }
  bool AllowsMultiSelect() const override { return TabStyleKind() != 0; }
  bool BringsSelectedRowToPage() const override { return true; }
  bool SpareStyleFlag() const override { return true; }
  bool IsButtonStyle() const override { return TabStyleKind() != 0; }
};

class TcxPCStandardPainter : public TcxPCCustomPainter {
  VXN_DECLARE_CLASS(TcxPCStandardPainter)

 public:
  explicit TcxPCStandardPainter(TcxCustomTabControl* AParent);
  ~TcxPCStandardPainter() override = default;

  Integer TabNormalWidth(TcxTab* Tab) override;
  TRect TabImageMargins(Integer VisibleIndex) override;
  TRect TabTextMargins(Integer VisibleIndex) override;
  Integer FrameWidth() override { return 2; }
  void GoDialogPopupPoint(const TPoint& Origin, TPoint& Point) override;
  Integer ImageTextGap() override { return 6; }
  Integer MinTabNormalWidth() override;
  IntegerPair TabsRowIndent() override { return {4, 4}; }
  IntegerPair TabContentSpacing(Integer VisibleIndex) override;
  IntegerPair TabsSpacing() override;
  void CalculateTabsArea(TcxPCNavigatorButtons Buttons, TabsAreaInfo& Info) override;
  IntegerPair TabCutContentSpacing(Integer VisibleIndex) override;
  void StoreTabContentRects(Integer VisibleIndex, const TRect& ImageRect, const TRect& TextRect) override;
  bool NavigatorButtonAt(Integer X, Integer Y, TcxPCNavigatorButton& Button) override;
  bool TabLooksActive(Integer VisibleIndex) override;
  void Paint() override;
  void DrawNavigatorButtons() override;
  void DrawFrame() override;
  void DrawTabs() override;
  void InvalidateNavigatorButton(TcxPCNavigatorButton Button, Integer PreviousState) override;
  void InvalidateNavigatorArea() override;
  void InvalidateTab(Integer VisibleIndex, TabChangeKind Kind) override;
  Integer TabNormalHeight() override;
  void GoDialogButtonBounds(TRect& R) override;

  // Added operations, in slot order.
  virtual void DrawTab(Integer VisibleIndex);
  virtual void GetNavigatorGlyphInfo(TcxPCNavigatorButton Button, TcxPCNavigatorGlyphInfo& Info);
  virtual void CalculateNavigatorArea(TcxPCNavigatorButtons Buttons);
  virtual void CalculateNavigatorButtons(TcxPCNavigatorButtons Buttons);
  virtual Integer NavigatorAreaExtent(TcxPCNavigatorButtons Buttons);
  virtual TColor NavigatorButtonFaceColor(Integer State);
  virtual TColor NavigatorGlyphColor(Integer State);
  // Answers the button's state.
  virtual Integer NavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset);
  virtual Integer NavigatorButtonHeight() { return 20; }
  virtual Integer NavigatorButtonWidth(TcxPCNavigatorButton Button);
  virtual Integer MinTabNormalHeight();
  virtual Integer KindSpareMetric();
  virtual Integer MinTabWidthLimit() { return 42; }
  virtual TColor ControlBackgroundColor();
  virtual Integer MainTabQuery(TcxTab* Tab);
  virtual TRect TabsAreaIndents() { return {}; }
  virtual Integer TabHeightForFont();
  virtual void DrawNavigatorButton(TcxPCNavigatorButton Button, const TRect& R);
  virtual void FillNavigatorButton(const TRect& R, Integer State);
  virtual void DrawNavigatorButtonFrame(TRect& R, Integer State);
  virtual void DrawTabFrame(Integer VisibleIndex) = 0;
  virtual void DrawNativeTabBackground(Integer VisibleIndex);
  virtual void GetNavigatorButtonList(TcxPCNavigatorButtons Buttons, TcxPCNavigatorButtonPositions& List);

  void DrawFocusMark(Integer VisibleIndex, const TRect& R);
  void Draw3DEdge(const TRect& R, bool Sunken, bool Flat);
  Integer NavigatorButtonsExtent(TcxPCNavigatorButtons Buttons);
  // 0 up, 1 down, 2 left, 3 right.
  Integer ArrowDirection(TcxPCNavigatorButton Button) const;
  Integer CenteredNavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset);
  Integer FixedNavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset);
  void DrawNavigatorGlyph(TcxPCNavigatorButton Button, const TPoint& Origin, const TcxPCNavigatorGlyphInfo& Info);

  const TcxPCNavigatorButtonPositions& NavigatorButtonList() const { return FNavigatorButtons; }
  const TRect& NavigatorArea() const { return FNavigatorArea; }

 protected:
  Integer Kind() const { return PainterClass()->TabStyleKind(); }
  bool SidewaysTabs() const;

 private:
  void DrawGlyphShape(TcxPCNavigatorButton Button, const TPoint& Origin, bool ThinCross);

  TcxPCNavigatorButtonPositions FNavigatorButtons;
  TRect FNavigatorArea;
};
