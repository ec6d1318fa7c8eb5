// PNG pictures, read and written through cairo. They keep their alpha
// channel and are drawn blended.
#pragma once

#include <string>
#include <string_view>

#include "platform/forms/Graphics.h"

// Decodes a whole PNG file into straight-alpha pixels; false when it is not one.
bool DecodePng(std::string_view Data, TAlphaImage& Out);

class TPngImage : public TGraphic {
  VXN_DECLARE_CLASS(TPngImage)

 public:
  bool Empty() const override { return Image_.Pixels.empty(); }
  Integer Width() const override { return Image_.Width; }
  Integer Height() const override { return Image_.Height; }
  // New pixels are transparent; the common part is kept.
  void SetWidth(Integer Value) override { SetSize(Value, Image_.Height); }
  void SetHeight(Integer Value) override { SetSize(Image_.Width, Value); }
  void SetSize(Integer AWidth, Integer AHeight);

  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) override;
  void Draw(TCanvas* ACanvas, const TRect& R) override;
  // Takes bitmaps (a transparent bitmap's key colour becomes transparent)
  // and other PNG images.
  void Assign(TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) override;

  const TAlphaImage& Image() const { return Image_; }

 private:
  TAlphaImage Image_;
};
