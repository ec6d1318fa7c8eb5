#include "platform/forms/ImgList.h"

#include <gtest/gtest.h>

#include "platform/rtl/FormFiles.h"
#include "platform/win/Input.h"
#include "platform/win/SysColors.h"

using namespace win;

namespace {

// Two 4x4 images in a strip: a red one whose top-left pixel has the
// transparent colour, and a blue one.
void PaintStrip(TBitmap& strip) {
  strip.SetSize(8, 4);
  TCanvas* c = strip.Canvas();
  c->Brush()->SetColor(clRed);
  c->FillRect(TRect{0, 0, 4, 4});
  c->Brush()->SetColor(clBlue);
  c->FillRect(TRect{4, 0, 8, 4});
  c->SetPixels(0, 0, clFuchsia);
}

struct TTarget {
  TBitmap Bitmap;
  explicit TTarget(TColor Fill) {
    Bitmap.SetSize(12, 12);
    Bitmap.Canvas()->Brush()->SetColor(Fill);
    Bitmap.Canvas()->FillRect(TRect{0, 0, 12, 12});
  }
  TColor At(Integer X, Integer Y) { return Bitmap.Canvas()->Pixels(X, Y); }
};

TEST(ImgListTest, StripWithTransparentColourDrawsThroughTheMask) {
  TBitmap strip;
  PaintStrip(strip);
  struct Case {
    bool Masked;
    TColor BkColor;
    TDrawingStyle Style;
    TColor Corner;  // what the transparent pixel shows on a yellow ground
  } cases[] = {
      {true, clNone, dsNormal, clYellow},
      {true, clGreen, dsNormal, clGreen},        // the list's background fills the masked part
      {true, clGreen, dsTransparent, clYellow},  // unless drawn transparent
      {false, clNone, dsNormal, clFuchsia},      // without masks the key colour is just a colour
  };
  for (const Case& k : cases) {
    TImageList images(nullptr);
    images.SetWidth(4);
    images.SetHeight(4);
    images.SetMasked(k.Masked);
    images.SetBkColor(k.BkColor);
    EXPECT_EQ(images.AddMasked(&strip, clFuchsia), 0);
    ASSERT_EQ(images.Count(), 2);
    TTarget t(clYellow);
    images.Draw(t.Bitmap.Canvas(), 2, 2, 0, k.Style, itImage);
    images.Draw(t.Bitmap.Canvas(), 7, 2, 1, k.Style, itImage);
    EXPECT_EQ(t.At(2, 2), k.Corner) << k.Masked << " " << k.BkColor;
    EXPECT_EQ(t.At(3, 3), clRed);
    EXPECT_EQ(t.At(6, 2), clYellow);  // nothing drawn between the two
    EXPECT_EQ(t.At(7, 2), clBlue);
    EXPECT_EQ(t.At(10, 5), clBlue);
    EXPECT_EQ(t.At(11, 6), clYellow);
  }
}

TEST(ImgListTest, DisabledImagesAreEngravedInShadowAndHighlight) {
  TBitmap strip;
  PaintStrip(strip);
  TImageList images(nullptr);
  images.SetWidth(4);
  images.SetHeight(4);
  images.AddMasked(&strip, clFuchsia);
  TTarget t(clWhite);
  images.Draw(t.Bitmap.Canvas(), 2, 2, 0, false);
  TColor shadow = static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW));
  TColor highlight = static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(t.At(3, 3), shadow);
  EXPECT_EQ(t.At(5, 5), shadow);
  EXPECT_EQ(t.At(6, 6), highlight);  // one pixel down and right of the shape
  EXPECT_EQ(t.At(2, 2), clWhite);    // the transparent pixel stays out
  for (Integer y = 0; y < 12; ++y)
    for (Integer x = 0; x < 12; ++x) EXPECT_NE(t.At(x, y), clRed);
}

TEST(ImgListTest, GetBitmapCopiesOneImageAndChangeLinksHearOfChanges) {
  TBitmap strip;
  PaintStrip(strip);
  TImageList images(nullptr);
  images.SetWidth(4);
  images.SetHeight(4);
  struct TListener : TObject {
    int Changes = 0;
    void Changed(TObject*) { ++Changes; }
  } listener;
  auto link = std::make_unique<TChangeLink>();
  link->OnChange = TNotifyEvent(&listener, &TListener::Changed);
  images.RegisterChanges(link.get());
  EXPECT_EQ(link->Sender(), &images);
  images.BeginUpdate();
  images.AddMasked(&strip, clFuchsia);
  images.Add(&strip, nullptr);
  EXPECT_EQ(listener.Changes, 0);
  images.EndUpdate();
  EXPECT_EQ(listener.Changes, 1);  // the updates come as one change
  EXPECT_EQ(images.Count(), 4);

  TBitmap one;
  ASSERT_TRUE(images.GetBitmap(1, &one));
  EXPECT_EQ(one.Width(), 4);
  EXPECT_EQ(one.Canvas()->Pixels(2, 2), clBlue);
  EXPECT_FALSE(images.GetBitmap(4, &one));
  ASSERT_TRUE(images.GetBitmap(0, &one));
  EXPECT_EQ(one.Canvas()->Pixels(0, 0), clWhite);

  images.Delete(0);
  EXPECT_EQ(listener.Changes, 2);
  EXPECT_THROW(images.Delete(7), EInvalidOperation);
  images.SetWidth(8);  // a new size empties the list
  EXPECT_EQ(images.Count(), 0);
  images.UnRegisterChanges(link.get());
  EXPECT_EQ(link->Sender(), nullptr);
}

TEST(ImgListTest, ImagesSurviveTheFormFileAndBadDataIsRefused) {
  TBitmap strip;
  PaintStrip(strip);
  TImageList images(nullptr);
  images.SetName("Images");
  images.SetWidth(4);
  images.SetHeight(4);
  images.AddMasked(&strip, clFuchsia);
  std::string text = WriteComponentText(&images);
  EXPECT_NE(text.find("Bitmap = {"), std::string::npos);

  TImageList copy(nullptr);
  ReadComponentText(text, &copy);
  EXPECT_EQ(copy.Width(), 4);
  ASSERT_EQ(copy.Count(), 2);
  TTarget t(clYellow);
  copy.Draw(t.Bitmap.Canvas(), 0, 0, 0);
  EXPECT_EQ(t.At(0, 0), clYellow);
  EXPECT_EQ(t.At(1, 1), clRed);

  // A count that the data cannot hold is an error, not a huge allocation.
  std::string bad =
      "object Images: TImageList\n  Width = 4\n  Height = 4\n  Bitmap = {\n    FFFF0000040000000400000000}\nend\n";
  TImageList broken(nullptr);
  EXPECT_THROW(ReadComponentText(bad, &broken), Exception);
}

// A 4x4 list: 0 red with its top-left pixel see-through, 1 an overlay of
// which only the bottom-right 2x2 is blue ink, the rest see-through.
void FillOverlayList(TImageList& images) {
  images.SetWidth(4);
  images.SetHeight(4);
  TBitmap strip;
  strip.SetSize(8, 4);
  TCanvas* c = strip.Canvas();
  c->Brush()->SetColor(clRed);
  c->FillRect(TRect{0, 0, 4, 4});
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(TRect{4, 0, 8, 4});
  c->Brush()->SetColor(clBlue);
  c->FillRect(TRect{6, 2, 8, 4});
  c->SetPixels(0, 0, clFuchsia);
  images.AddMasked(&strip, clFuchsia);
}

TEST(ImgListTest, OverlaysDrawOverTheImageThroughBothMasks) {
  TImageList images(nullptr);
  FillOverlayList(images);
  ASSERT_TRUE(images.Overlay(1, 0));
  TColor shadow = static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW));
  TColor highlight = static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT));
  struct Case {
    TOverlay Overlay;
    TImageType Type;
    bool Enabled;
    TColor Corner, Body, Ink, BelowInk;  // at (2,2), (3,3), (5,5), (6,6)
  } cases[] = {
      {0, itImage, true, clYellow, clRed, clBlue, clYellow},
      {1, itImage, true, clYellow, clRed, clRed, clYellow},  // overlay 1 names no image
      {0, itMask, true, clWhite, clBlack, clBlack, clYellow},
      {0, itImage, false, clYellow, shadow, shadow, highlight},
  };
  for (const Case& k : cases) {
    TTarget t(clYellow);
    images.DrawOverlay(t.Bitmap.Canvas(), 2, 2, 0, k.Overlay, dsNormal, k.Type, k.Enabled);
    EXPECT_EQ(t.At(2, 2), k.Corner) << k.Overlay << " " << k.Type << " " << k.Enabled;
    EXPECT_EQ(t.At(3, 3), k.Body) << k.Overlay << " " << k.Type << " " << k.Enabled;
    EXPECT_EQ(t.At(5, 5), k.Ink) << k.Overlay << " " << k.Type << " " << k.Enabled;
    EXPECT_EQ(t.At(6, 6), k.BelowInk) << k.Overlay << " " << k.Type << " " << k.Enabled;
  }
  // The style bits of the window layer do the same.
  TTarget t(clYellow);
  ImageList_Draw(images.Handle(), 0, t.Bitmap.Canvas()->Handle(), 2, 2, ILD_TRANSPARENT | INDEXTOOVERLAYMASK(1));
  EXPECT_EQ(t.At(5, 5), clBlue);

  EXPECT_FALSE(images.Overlay(2, 0));   // no such image
  EXPECT_FALSE(images.Overlay(0, 15));  // no such overlay
  // Overlays follow their image when images before it go, and forget it
  // when it goes.
  images.Delete(0);
  EXPECT_EQ(ImageList_GetOverlayImage(images.Handle(), 1), 0);
  images.Delete(0);
  EXPECT_EQ(ImageList_GetOverlayImage(images.Handle(), 1), -1);
}

TEST(ImgListTest, IconsCarryTheMaskBothWays) {
  TImageList images(nullptr);
  FillOverlayList(images);
  images.Overlay(1, 0);

  // Through the icon class: the see-through pixel survives, and a list of
  // another size takes the icon scaled.
  TIcon icon;
  ASSERT_TRUE(images.GetIcon(0, &icon));
  EXPECT_FALSE(images.GetIcon(2, &icon));
  ASSERT_EQ(icon.Width(), 4);
  EXPECT_EQ(icon.Image().Pixels[0] >> 24, 0u);
  EXPECT_EQ(icon.Image().Pixels[5], 0xFFFF0000u);
  TImageList big(nullptr);
  big.SetWidth(8);
  big.SetHeight(8);
  EXPECT_EQ(big.AddIcon(&icon), 0);
  TTarget t(clYellow);
  big.Draw(t.Bitmap.Canvas(), 0, 0, 0);
  EXPECT_EQ(t.At(1, 1), clYellow);
  EXPECT_EQ(t.At(2, 1), clRed);
  EXPECT_EQ(t.At(7, 7), clRed);

  // Through icon handles, with the overlay in the picture.
  HICON handle = ImageList_GetIcon(images.Handle(), 0, INDEXTOOVERLAYMASK(1));
  ASSERT_NE(handle, nullptr);
  CursorImage picture;
  ASSERT_TRUE(GetCursorImage(handle, &picture));
  EXPECT_EQ(picture.argb[0] >> 24, 0u);
  EXPECT_EQ(picture.argb[5], 0xFFFF0000u);
  EXPECT_EQ(picture.argb[15], 0xFF0000FFu);
  EXPECT_EQ(ImageList_ReplaceIcon(images.Handle(), 1, handle), 1);
  EXPECT_EQ(ImageList_AddIcon(images.Handle(), handle), 2);
  EXPECT_EQ(ImageList_ReplaceIcon(images.Handle(), 7, handle), -1);
  DestroyIcon(handle);
  TTarget u(clYellow);
  images.Draw(u.Bitmap.Canvas(), 0, 0, 2);
  EXPECT_EQ(u.At(0, 0), clYellow);
  EXPECT_EQ(u.At(1, 1), clRed);
  EXPECT_EQ(u.At(3, 3), clBlue);
}

}  // namespace
