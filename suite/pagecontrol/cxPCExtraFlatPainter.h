// Flat tabs on a strip of the light face colour: the main tab in the face
// colour outlined in white and black, thin separators between neighbours,
// each row underlined by lines on its page side, small navigator buttons
// framed only when hot or pressed, and a one-pixel page frame on the three
// sides away from the tabs. UltraFlat and Office11 change its colours and a
// few lines.
#pragma once

#include "suite/pagecontrol/cxPCStandardPainter.h"

class TcxPCExtraFlatPainterClass : public TcxPCStandardPainterClass {
 public:
  TcxPCStyleID StyleID() const override { return 5; }
  std::string StyleName() const override { return "ExtraFlat"; }
  Integer TabStyleKind() const override { return 0; }
  bool MirrorsContentMargins() const override { return true; }
  bool AllowsMultiSelect() const override { return false; }
  bool IsButtonStyle() const override { return false; }
  std::unique_ptr<TcxPCCustomPainter> Construct(TcxCustomTabControl* AControl) const override;

  static const TcxPCExtraFlatPainterClass& Instance();
};

class TcxPCExtraFlatPainter : public TcxPCStandardPainter {
  VXN_DECLARE_CLASS(TcxPCExtraFlatPainter)

 public:
  explicit TcxPCExtraFlatPainter(TcxCustomTabControl* AParent) : TcxPCStandardPainter(AParent) {}

  TcxPCCustomPainterClass PainterClass() const override { return &TcxPCExtraFlatPainterClass::Instance(); }

  Integer TabNormalWidth(TcxTab* Tab) override;
  TRect TabSizeCorrection(Integer VisibleIndex) override;
  Integer NavigatorButtonSpacing(TcxPCNavigatorButton Button, TcxPCNavigatorButton NextButton) override;
  Integer NavigatorEdgeOffset() override { return 6; }
  Integer NavigatorEndOffset() override;
  TColor PageColor() override;
  TRect ClientAreaMargins() override;
  TRect TabsAreaMargins() override;
  TRect TabImageMargins(Integer VisibleIndex) override;
  TRect TabTextMargins(Integer VisibleIndex) override;
  Integer FrameWidth() override { return 1; }
  Integer ImageTextGap() override { return 6; }
  Integer MinTabNormalWidth() override;
  TColor TabColor(Integer VisibleIndex) override;
  IntegerPair TabContentSpacing(Integer VisibleIndex) override;
  IntegerPair TabCutContentSpacing(Integer VisibleIndex) override { return TabContentSpacing(VisibleIndex); }
  IntegerPair TabsSpacing() override;
  void CalculateTabsArea(TcxPCNavigatorButtons Buttons, TabsAreaInfo& Info) override;
  void DrawContent() override;
  void DrawFrameAndPage() override;
  void DrawFrame() override;
  void DrawTabs() override;
  void InvalidateTab(Integer VisibleIndex, TabChangeKind Kind) override;
  Integer TabNormalHeight() override;
  void GetNavigatorGlyphInfo(TcxPCNavigatorButton Button, TcxPCNavigatorGlyphInfo& Info) override;
  TColor NavigatorButtonFaceColor(Integer State) override;
  TColor NavigatorGlyphColor(Integer State) override;
  Integer NavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset) override;
  Integer NavigatorButtonHeight() override { return 13; }
  Integer NavigatorButtonWidth(TcxPCNavigatorButton Button) override {
    (void)Button;
    return 13;
  }
  Integer MinTabNormalHeight() override { return 17; }
  Integer KindSpareMetric() override { return 2; }
  TColor ControlBackgroundColor() override { return clBtnFace; }
  Integer MainTabQuery(TcxTab* Tab) override;
  Integer TabHeightForFont() override { return TcxPCStandardPainter::TabHeightForFont() - 3; }
  void DrawNavigatorButtonFrame(TRect& R, Integer State) override;
  void DrawTabFrame(Integer VisibleIndex) override;

  // Added operations, in slot order.
  virtual Integer RowLineCount() { return 3; }
  virtual void MainTabFocusRect(TRect& R);
  // Distances of a separator from the screen top and bottom of a tab (left
  // and right for tabs at the side).
  virtual IntegerPair SeparatorInsets();
  virtual void FillTabsBackground(TcxCanvas* ACanvas, const TRect& R, Integer VisibleIndex);
  virtual void AdjustClientMargins(TRect& Margins);
  virtual TColor TabsBandColor() { return clBtnFace; }
  virtual void TabsBandRect(TRect& R);
  virtual void TabRowRect(Integer VisibleIndex, bool WholeRow, TRect& R);
  virtual Integer TabGap() { return 1; }
  virtual bool HasOuterFrame() { return false; }
  virtual void DrawMainTabOutline(const TRect& R);
  virtual void DrawTabSeparator(const TRect& R);
  virtual void DrawRowLines(const TRect& R, Integer Row);

  // The rect of a row: its tabs' band stretched across the control.
  TRect RowRect(Integer FirstVisibleIndex);

 protected:
  // The outline of the main tab in a light and a dark colour, by its side.
  void DrawMainTabOutlineIn(const TRect& R, TColor Light, TColor Dark);
  // The page frame on the three sides away from the tabs (a full frame
  // without tabs).
  void DrawPageFrame(TColor Light, TColor Dark);
  // RowLineCount lines along the page side of R, nearest the page first.
  void DrawRowLinesIn(const TRect& R, const TColor* Colors);
  bool HasRows();
};
