// The shared pictures the painters draw with: the radio-button images (one
// list of 128 images for every look, state and highlight), the indicator
// images, the two pattern bitmaps of scroll-bar page areas and the two
// auto-hide pins. They are made at start-up (the radio images on first use)
// and rebuilt from the current system colours when those change.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/ImgList.h"
#include "suite/foundation/cxLookAndFeelPainters.h"

// Masked images of the system radio button's circle, one for each forced
// highlight A, focus highlight B, look, checked flag and state; image index
// (state - 1) + 4 checked + 8 kind + 32 B + 64 A.
class TcxRadioButtonImageList : public TObject {
  VXN_DECLARE_CLASS(TcxRadioButtonImageList)

 public:
  TcxRadioButtonImageList();
  ~TcxRadioButtonImageList() override;

  // cxbsDefault counts as cxbsNormal. ABkColor clDefault draws the masked
  // image straight onto the canvas, any other colour draws it over that colour.
  void Draw(TcxCanvas* ACanvas, Integer X, Integer Y, TcxLookAndFeelKind AKind, TcxButtonState AState,
            bool AChecked, bool AForcedHighlight, bool AFocusHighlight, TColor ABkColor);
  void Rebuild();

  static Integer ImageIndex(TcxLookAndFeelKind AKind, TcxButtonState AState, bool AChecked, bool AForcedHighlight,
                            bool AFocusHighlight);
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  Integer Count() const;
  // The pattern value (0 outside, 1-2 outer ring, 3-4 inner ring, 5 body,
  // 6 dot) of pixel (X, Y).
  uint8_t PatternAt(Integer X, Integer Y) const { return FPattern[static_cast<size_t>(Y * FWidth + X)]; }
  TCustomImageList* Images() const { return FImages.get(); }

 private:
  void Measure();
  void MakePattern();
  void BuildImages();

  Integer FWidth = 0;
  Integer FHeight = 0;
  TRect FDot;  // in the circle's own coordinates
  std::vector<uint8_t> FPattern;
  std::unique_ptr<TBitmap> FButtonMask;
  std::unique_ptr<TCustomImageList> FImages;
};

TcxRadioButtonImageList* GetRadioButtonImages();

// Indicator kind k (1..5) draws image k - 1 centred in R; kind 0 nothing.
void DrawIndicatorImage(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind);
TCustomImageList* IndicatorImages();
// 8 x 8 page-area patterns: 0 normal, 1 pressed.
TBitmap* ScrollBarPatternBitmap(Integer Index);
// Makes the patterns again from the current system colours.
void RebuildScrollBarPatternBitmaps();
// 0 auto-hide on, 1 off.
TBitmap* AutoHideBitmap(Integer Index);

// Painters module start and end.
void InitializePainterImages();
void FinalizePainterImages();
