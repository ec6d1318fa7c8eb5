// JPEG pictures through libjpeg: decoded into a bitmap when loaded, encoded
// again from the bitmap when it changed since.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/Graphics.h"

class TJPEGImage : public TGraphic {
  VXN_DECLARE_CLASS(TJPEGImage)

 public:
  TJPEGImage();
  ~TJPEGImage() override;

  bool Empty() const override { return Bitmap_->Empty(); }
  Integer Width() const override { return Bitmap_->Width(); }
  Integer Height() const override { return Bitmap_->Height(); }
  void SetWidth(Integer Value) override;
  void SetHeight(Integer Value) override;

  // 1 to 100, used by the next encoding.
  Integer CompressionQuality() const { return CompressionQuality_; }
  void SetCompressionQuality(Integer Value);
  bool Grayscale() const { return Grayscale_; }
  void SetGrayscale(bool Value);
  bool ProgressiveEncoding = false;

  // The decoded pixels; drawing on them makes the next save encode anew.
  TBitmap* Bitmap() const { return Bitmap_.get(); }
  // Encodes now (what SaveToStream does when needed).
  void Compress();
  void JPEGNeeded() { if (Data_.empty() && !Empty()) Compress(); }
  void DIBNeeded() {}

  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) override;
  void Draw(TCanvas* ACanvas, const TRect& R) override;
  void Assign(TPersistent* Source) override;

 private:
  void BitmapChanged(TObject* Sender);

  std::unique_ptr<TBitmap> Bitmap_;
  std::string Data_;  // the encoded file, empty when the pixels changed
  Integer CompressionQuality_ = 90;
  bool Grayscale_ = false;
};
