// Notebook-divider tabs, each in the colour of its page, with a long slant
// at the leading end and a small rounded trailing end, outlined in the
// colours of the current Office 11 scheme. The figure is drawn into a path
// and its region made from that path; everything else is the slanted
// style's machinery. Tabs cannot be turned in this style.
#pragma once

#include "suite/pagecontrol/cxPCSlantedPainter.h"

class TcxPCOneNotePainterClass : public TcxPCSlantedPainterClass {
 public:
  TcxPCStyleID StyleID() const override { return 10; }
  std::string StyleName() const override { return "OneNote"; }
  bool AllowsRotation() const override { return false; }
  std::unique_ptr<TcxPCCustomPainter> Construct(TcxCustomTabControl* AControl) const override;

  static const TcxPCOneNotePainterClass& Instance();
};

class TcxPCOneNotePainter : public TcxPCSlantedPainter {
  VXN_DECLARE_CLASS(TcxPCOneNotePainter)

 public:
  explicit TcxPCOneNotePainter(TcxCustomTabControl* AParent) : TcxPCSlantedPainter(AParent) {}

  TcxPCCustomPainterClass PainterClass() const override { return &TcxPCOneNotePainterClass::Instance(); }
  TRect TabImageMargins(Integer VisibleIndex) override;
  TRect TabTextMargins(Integer VisibleIndex) override;
  Integer NavigatorEdgeOffset() override { return 0; }
  IntegerPair TabContentSpacing(Integer VisibleIndex) override;
  IntegerPair TabsSpacing() override { return {5 - SlantSize(), -3}; }
  TRect TabsAreaIndents() override;
  bool GradientOnHotMainTab() override { return true; }
  void DrawMainTabJoin(Integer VisibleIndex) override;
  Integer SlantSize() override { return TabNormalHeight() + 2; }
  Integer MinTabWidth() override { return SlantSize() + 4; }
  TColor OutlineColor() override { return OneNoteSchemeColors[0]; }
  TcxTabSlantPositions SlantedSides() override { return TcxTabSlantPositions{spLeft}; }
  std::unique_ptr<TcxRegion> TabFigureRegion(Integer VisibleIndex, bool Inner) override;
  void DrawTabFigure(Integer VisibleIndex, const TRect& R) override;
  void DrawHighlightStrip(Integer VisibleIndex) override { (void)VisibleIndex; }

 private:
  // The page colour of the tab at a point given in top-tab terms of the
  // tab VisibleIndex, or the control's colour where no tab is.
  TColor ColorUnder(Integer VisibleIndex, const TPoint& P);
};
