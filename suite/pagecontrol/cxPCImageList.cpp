#include "suite/pagecontrol/cxPCImageList.h"

#include "platform/forms/ImgList.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/SysUtils.h"
#include "suite/foundation/cxClasses.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/pagecontrol/cxCustomTabControl.h"
#include "suite/pagecontrol/cxPCConsts.h"
#include "suite/pagecontrol/cxPCGeometry.h"
#include "suite/pagecontrol/cxPCPainter.h"

VXN_IMPLEMENT_CLASS(TcxPCImageList, TObject)

TcxPCImageList::TcxPCImageList(TcxCustomTabControl* AParent)
    : FChangeLink(std::make_unique<TChangeLink>()),
      FFreeNotificator(std::make_unique<TcxFreeNotificator>(nullptr)),
      FParent(AParent) {
  FChangeLink->OnChange = TNotifyEvent(this, &TcxPCImageList::LinkChanged);
  FFreeNotificator->OnFreeNotification = TNotifyEvent(this, &TcxPCImageList::FreeNotification);
}

TcxPCImageList::~TcxPCImageList() {
  if (FBaseImages) {
    FBaseImages->UnRegisterChanges(FChangeLink.get());
    FFreeNotificator->RemoveSender(FBaseImages);
  }
  FFreeNotificator.reset();
  FChangeLink.reset();
}

bool TcxPCImageList::HasImages() const { return FBaseImages && FBaseImages->Count() > 0; }

void TcxPCImageList::SetBaseImages(TCustomImageList* Value) {
  if (Value == FBaseImages) return;
  if (FBaseImages) {
    FBaseImages->UnRegisterChanges(FChangeLink.get());
    FFreeNotificator->RemoveSender(FBaseImages);
  }
  FBaseImages = Value;
  if (FBaseImages) {
    FBaseImages->RegisterChanges(FChangeLink.get());
    FFreeNotificator->AddSender(FBaseImages);
  }
  BaseImagesChanged();
}

void TcxPCImageList::SetImageRotation(Integer Value) {
  FImageRotation = Value;
  BaseImagesChanged();
}

void TcxPCImageList::BaseImagesChanged() {
  AllocateRotatedImages();
  if (OnChange) OnChange(this);
}

void TcxPCImageList::LinkChanged(TObject* Sender) {
  (void)Sender;
  BaseImagesChanged();
}

void TcxPCImageList::FreeNotification(TObject* Sender) {
  if (Sender != FBaseImages) return;
  // The list is going and takes its change link along; the tabs lose their
  // images at the next layout.
  FBaseImages = nullptr;
}

TSize TcxPCImageList::ImageSize() const {
  if (FBaseImages && FBaseImages->Width() > 0 && FBaseImages->Height() > 0)
    return {FBaseImages->Width(), FBaseImages->Height()};
  return {};
}

TSize TcxPCImageList::DrawnImageSize() const {
  const TSize size = ImageSize();
  return FImageRotation != 0 ? TSize{size.cy, size.cx} : size;
}

void TcxPCImageList::Draw(TCanvas* ACanvas, Integer X, Integer Y, Integer Index, bool Enabled,
                          TColor BackgroundColor) {
  if (!HasImages())
    throw Exception(std::string("TcxPCImageList.Draw: ") + TranslateResourceString(scxPCNoBaseImages));
  const Integer count = FBaseImages->Count();
  if (Index < 0 || Index >= count)
    throw Exception(std::string("TcxPCImageList.Draw: ") +
                    Format(TranslateResourceString(scxPCImageListIndexError), {Index, count - 1}));
  if (FImageRotation != 0) {
    PrepareRotatedImage(Index, BackgroundColor, Enabled);
    ACanvas->Draw(X, Y, FRotatedImages[static_cast<size_t>(Index)].Bitmap.get());
  } else if (FParent->Painter()->IsNativePainting()) {
    FBaseImages->Draw(ACanvas, X, Y, Index, Enabled);
  } else {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    PrepareContentBitmap(&bitmap, FParent->Canvas(), ImageSize(), BackgroundColor);
    if (OnFillBitmapBackground) OnFillBitmapBackground(&bitmap);
    FBaseImages->Draw(bitmap.Canvas(), 0, 0, Index, Enabled);
    ACanvas->Draw(X, Y, &bitmap);
  }
}

void TcxPCImageList::PrepareRotatedImage(Integer Index, TColor AColor, bool Enabled) {
  TcxPCImageListRotatedImagesElement& element = FRotatedImages[static_cast<size_t>(Index)];
  if (element.Valid && element.BackgroundColor == AColor) return;
  element.BackgroundColor = AColor;
  element.Valid = true;
  TBitmap* bitmap = element.Bitmap.get();
  bitmap->SetSize(FBaseImages->Width(), FBaseImages->Height());
  bitmap->Canvas()->Brush()->SetStyle(bsSolid);
  bitmap->Canvas()->Brush()->SetColor(AColor);
  bitmap->Canvas()->FillRect({0, 0, bitmap->Width(), bitmap->Height()});
  if (FParent->Painter()->IsNativePainting()) bitmap->SetTransparent(true);
  if (OnFillBitmapBackground) OnFillBitmapBackground(bitmap);
  FBaseImages->Draw(bitmap->Canvas(), 0, 0, Index, Enabled);
  TcxCanvas turner(bitmap->Canvas());
  turner.RotateBitmap(bitmap, FImageRotation, false);
}

void TcxPCImageList::AllocateRotatedImages() {
  if (FImageRotation == 0 || !HasImages()) return;
  FRotatedImages.clear();
  FRotatedImages.resize(static_cast<size_t>(FBaseImages->Count()));
  for (auto& element : FRotatedImages) {
    element.Bitmap = std::make_unique<TBitmap>();
    element.Bitmap->SetPixelFormat(pf32bit);
  }
}
