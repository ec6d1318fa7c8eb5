// Tabs drawn as push buttons: the raised 3-D "Buttons" style and the
// "FlatButtons" style, whose buttons show a thin frame only under the mouse
// or the focus mark and stand apart by short etched separators. Several
// tabs may be selected at once, and a press selects on release.
#pragma once

#include "suite/pagecontrol/cxPCStandardPainter.h"

// What both button styles share.
class TcxPCButtonedPainter : public TcxPCStandardPainter {
  VXN_DECLARE_CLASS(TcxPCButtonedPainter)

 public:
  explicit TcxPCButtonedPainter(TcxCustomTabControl* AParent) : TcxPCStandardPainter(AParent) {}

  Integer NavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset) override;
  TRect TabsAreaMargins() override;
  TColor TabColor(Integer VisibleIndex) override;
  bool TabLooksActive(Integer VisibleIndex) override;

 protected:
  // Pressed, Selected or the main tab.
  bool TabIsDown(Integer VisibleIndex);
};

class TcxPCButtonsPainterClass : public TcxPCStandardPainterClass {
 public:
  Integer TabStyleKind() const override { return 1; }
  TcxPCStyleID StyleID() const override { return 2; }
  std::string StyleName() const override { return "Buttons"; }
  std::unique_ptr<TcxPCCustomPainter> Construct(TcxCustomTabControl* AControl) const override;

  static const TcxPCButtonsPainterClass& Instance();
};

class TcxPCButtonsPainter : public TcxPCButtonedPainter {
  VXN_DECLARE_CLASS(TcxPCButtonsPainter)

 public:
  explicit TcxPCButtonsPainter(TcxCustomTabControl* AParent) : TcxPCButtonedPainter(AParent) {}

  TcxPCCustomPainterClass PainterClass() const override { return &TcxPCButtonsPainterClass::Instance(); }
  IntegerPair TabContentSpacing(Integer VisibleIndex) override;
  IntegerPair TabCutContentSpacing(Integer VisibleIndex) override { return TabContentSpacing(VisibleIndex); }
  bool TabLooksActive(Integer VisibleIndex) override;
  void DrawTabFrame(Integer VisibleIndex) override;
};

class TcxPCFlatButtonsPainterClass : public TcxPCStandardPainterClass {
 public:
  Integer TabStyleKind() const override { return 2; }
  TcxPCStyleID StyleID() const override { return 3; }
  std::string StyleName() const override { return "FlatButtons"; }
  std::unique_ptr<TcxPCCustomPainter> Construct(TcxCustomTabControl* AControl) const override;

  static const TcxPCFlatButtonsPainterClass& Instance();
};

class TcxPCFlatButtonsPainter : public TcxPCButtonedPainter {
  VXN_DECLARE_CLASS(TcxPCFlatButtonsPainter)

 public:
  explicit TcxPCFlatButtonsPainter(TcxCustomTabControl* AParent) : TcxPCButtonedPainter(AParent) {}

  TcxPCCustomPainterClass PainterClass() const override { return &TcxPCFlatButtonsPainterClass::Instance(); }
  IntegerPair TabContentSpacing(Integer VisibleIndex) override;
  IntegerPair TabCutContentSpacing(Integer VisibleIndex) override { return TabContentSpacing(VisibleIndex); }
  void DrawTab(Integer VisibleIndex) override;
  void DrawTabFrame(Integer VisibleIndex) override;

 private:
  bool HasSeparatorAfter(Integer VisibleIndex);
  void DrawSeparator(Integer VisibleIndex);
};
