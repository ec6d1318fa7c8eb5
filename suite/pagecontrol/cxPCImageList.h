// The tab control's adapter over its image list: it follows the list's
// changes and its end, draws an image onto the background the style paints
// (so that images on coloured tabs look right), and keeps turned copies of
// the images while captions are turned.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/Graphics.h"
#include "platform/rtl/Delegates.h"

class TChangeLink;
class TCustomImageList;
class TcxCustomTabControl;
class TcxFreeNotificator;

// Paints a style's background into a bitmap before an image is drawn on it.
using TcxPCBitmapBackgroundEvent = TDelegate<void(TBitmap* Bitmap)>;

struct TcxPCImageListRotatedImagesElement {
  TColor BackgroundColor = clNone;
  std::unique_ptr<TBitmap> Bitmap;
  bool Valid = false;
};
using TcxPCImageListRotatedImagesElementArray = std::vector<TcxPCImageListRotatedImagesElement>;

class TcxPCImageList : public TObject {
  VXN_DECLARE_CLASS(TcxPCImageList)

 public:
  explicit TcxPCImageList(TcxCustomTabControl* AParent);
  ~TcxPCImageList() override;

  void Draw(TCanvas* ACanvas, Integer X, Integer Y, Integer Index, bool Enabled, TColor BackgroundColor);
  TCustomImageList* BaseImages() const { return FBaseImages; }
  void SetBaseImages(TCustomImageList* Value);
  Integer ImageRotation() const { return FImageRotation; }
  void SetImageRotation(Integer Value);
  void BaseImagesChanged();
  TSize ImageSize() const;
  TSize DrawnImageSize() const;
  const TcxPCImageListRotatedImagesElementArray& RotatedImages() const { return FRotatedImages; }

  TNotifyEvent OnChange;
  TcxPCBitmapBackgroundEvent OnFillBitmapBackground;

 private:
  void PrepareRotatedImage(Integer Index, TColor AColor, bool Enabled);
  void AllocateRotatedImages();
  void FreeNotification(TObject* Sender);
  void LinkChanged(TObject* Sender);
  bool HasImages() const;

  std::unique_ptr<TChangeLink> FChangeLink;
  TCustomImageList* FBaseImages = nullptr;
  std::unique_ptr<TcxFreeNotificator> FFreeNotificator;
  Integer FImageRotation = 0;
  TcxCustomTabControl* FParent;
  TcxPCImageListRotatedImagesElementArray FRotatedImages;
};
