// The ExtraFlat look with black and shadow one-pixel lines instead of the
// white outline and the raised navigator frames, and larger navigator
// buttons.
#pragma once

#include "suite/pagecontrol/cxPCExtraFlatPainter.h"

class TcxPCUltraFlatPainterClass : public TcxPCExtraFlatPainterClass {
 public:
  TcxPCStyleID StyleID() const override { return 6; }
  std::string StyleName() const override { return "UltraFlat"; }
  // Painter style code 2 (ultra-flat).
  bool MatchesLookAndFeel(TcxLookAndFeel* ALookAndFeel) const override;
  std::unique_ptr<TcxPCCustomPainter> Construct(TcxCustomTabControl* AControl) const override;

  static const TcxPCUltraFlatPainterClass& Instance();
};

class TcxPCUltraFlatPainter : public TcxPCExtraFlatPainter {
  VXN_DECLARE_CLASS(TcxPCUltraFlatPainter)

 public:
  explicit TcxPCUltraFlatPainter(TcxCustomTabControl* AParent) : TcxPCExtraFlatPainter(AParent) {}

  TcxPCCustomPainterClass PainterClass() const override { return &TcxPCUltraFlatPainterClass::Instance(); }
  Integer NavigatorButtonSpacing(TcxPCNavigatorButton Button, TcxPCNavigatorButton NextButton) override;
  Integer NavigatorEdgeOffset() override { return 3; }
  void GetNavigatorGlyphInfo(TcxPCNavigatorButton Button, TcxPCNavigatorGlyphInfo& Info) override;
  TColor NavigatorButtonFaceColor(Integer State) override;
  Integer NavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset) override;
  Integer NavigatorButtonHeight() override { return 15; }
  Integer NavigatorButtonWidth(TcxPCNavigatorButton Button) override;
  void DrawNavigatorButtonFrame(TRect& R, Integer State) override;
  void DrawFrame() override;
  void MainTabFocusRect(TRect& R) override;
  IntegerPair SeparatorInsets() override { return {2, 2}; }
  void DrawMainTabOutline(const TRect& R) override;
  void DrawRowLines(const TRect& R, Integer Row) override;

  // The row that holds the main tab, or without one the row nearest the
  // page.
  bool IsRowNextToPage(Integer Row);
};
