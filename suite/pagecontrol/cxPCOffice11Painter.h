// The UltraFlat look painted with the two-colour gradients of the Office 11
// colour scheme: the tab strip, the tabs, the navigator buttons and, when
// asked, the page; every frame in the scheme's frame colour.
#pragma once

#include "suite/pagecontrol/cxPCUltraFlatPainter.h"

class TcxPCOffice11PainterClass : public TcxPCUltraFlatPainterClass {
 public:
  TcxPCStyleID StyleID() const override { return 8; }
  std::string StyleName() const override { return "Office11"; }
  // Painter style code 4 (Office 11).
  bool MatchesLookAndFeel(TcxLookAndFeel* ALookAndFeel) const override;
  std::unique_ptr<TcxPCCustomPainter> Construct(TcxCustomTabControl* AControl) const override;

  static const TcxPCOffice11PainterClass& Instance();
};

class TcxPCOffice11Painter : public TcxPCUltraFlatPainter {
  VXN_DECLARE_CLASS(TcxPCOffice11Painter)

 public:
  explicit TcxPCOffice11Painter(TcxCustomTabControl* AParent) : TcxPCUltraFlatPainter(AParent) {}

  TcxPCCustomPainterClass PainterClass() const override { return &TcxPCOffice11PainterClass::Instance(); }
  void DrawPageBackground() override;
  TRect ClientAreaMargins() override;
  bool ExcludesOnlyTabContent(Integer VisibleIndex) override;
  bool RepaintsAllOnResize() override { return ClientGradient(); }
  void DrawFrameAndPage() override;
  void DrawFrame() override;
  void FillContentBitmap(TBitmap* Bitmap, const TRect& R, Integer VisibleIndex) override;
  TColor NavigatorGlyphColor(Integer State) override;
  TColor ControlBackgroundColor() override { return SchemeFrameColor(); }
  void FillNavigatorButton(const TRect& R, Integer State) override;
  void DrawNavigatorButtonFrame(TRect& R, Integer State) override;
  Integer RowLineCount() override { return 1; }
  IntegerPair SeparatorInsets() override;
  void FillTabsBackground(TcxCanvas* ACanvas, const TRect& R, Integer VisibleIndex) override;
  void AdjustClientMargins(TRect& Margins) override { (void)Margins; }
  TColor TabsBandColor() override;
  void TabsBandRect(TRect& R) override;
  Integer TabGap() override { return 2; }
  bool HasOuterFrame() override { return HasFrame(); }
  void DrawMainTabOutline(const TRect& R) override;
  void DrawTabSeparator(const TRect& R) override;
  void DrawRowLines(const TRect& R, Integer Row) override;

  // Added operation.
  virtual TColor SchemeFrameColor();

  // The gradient of tab VisibleIndex (-1: the strip) over R.
  void SchemeGradient(TcxCanvas* ACanvas, const TRect& R, bool Exchange, bool Vertical, Integer VisibleIndex);
  bool TabGradient();
  bool ClientGradient();
  // A line along the far side of the page when tab rows lie there and the
  // page has no frame.
  bool HasFarRowsLine();

 private:
  // Both colours, or their even mix twice when the tab gradient is off.
  void GradientPair(TColor& First, TColor& Second);
};

// Moves a tab rect into the coordinates of its caption bitmap, whose
// top-left corner stands at Origin on the control, following the caption's
// turn; answers whether the gradient's colours change places.
TRect ContentBitmapGradientRect(TRect G, const TPoint& Origin, const TSize& BitmapSize, bool VerticalText,
                                bool Rotate, Integer Rotation, bool& Exchange);
