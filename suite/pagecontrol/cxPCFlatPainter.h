// The notebook look drawn thin: a one-pixel page frame, single-pixel tab
// borders whose inner line is a brightened copy of the tab colour, corners
// rounded in the control colour and smaller navigator buttons. Native
// drawing is the Tabs style's.
#pragma once

#include "suite/pagecontrol/cxPCTabsPainter.h"

class TcxPCFlatPainterClass : public TcxPCTabsPainterClass {
 public:
  TcxPCStyleID StyleID() const override { return 7; }
  std::string StyleName() const override { return "Flat"; }
  // Painter style code 0 (flat).
  bool MatchesLookAndFeel(TcxLookAndFeel* ALookAndFeel) const override;
  std::unique_ptr<TcxPCCustomPainter> Construct(TcxCustomTabControl* AControl) const override;

  static const TcxPCFlatPainterClass& Instance();
};

class TcxPCFlatPainter : public TcxPCTabsPainter {
  VXN_DECLARE_CLASS(TcxPCFlatPainter)

 public:
  explicit TcxPCFlatPainter(TcxCustomTabControl* AParent) : TcxPCTabsPainter(AParent) {}

  TcxPCCustomPainterClass PainterClass() const override { return &TcxPCFlatPainterClass::Instance(); }
  Integer FrameWidth() override { return 1; }
  std::unique_ptr<TcxRegion> TabRegion(Integer VisibleIndex) override;
  Integer TabClipMode(Integer VisibleIndex) override;
  bool HasFrame() override { return true; }
  void DrawFrame() override;
  Integer NavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset) override;
  Integer NavigatorButtonHeight() override { return TcxPCTabsPainter::NavigatorButtonHeight() - 2; }
  Integer NavigatorButtonWidth(TcxPCNavigatorButton Button) override {
    return TcxPCTabsPainter::NavigatorButtonWidth(Button) - 2;
  }
  void DrawNavigatorButtonFrame(TRect& R, Integer State) override;
  TColor CornerColor() override;
  void DrawTabBorder(Integer VisibleIndex) override;
};
