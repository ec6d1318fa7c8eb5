// The image adapter of a tab control ("no styles" mode): sizes, errors,
// images drawn over the style's background, turned copies and their cache,
// and the end of the base list.
#include "suite/pagecontrol/cxPCImageList.h"

#include <gtest/gtest.h>

#include "platform/forms/ImgList.h"
#include "platform/rtl/SysUtils.h"
#include "tests/suite/pagecontrol/PageControlFixture.h"

namespace {

class ImageListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    control = std::make_unique<FakeTabControl>();
    control->ShowWindow(60, 40);
    images = std::make_unique<TImageList>(nullptr);
    images->SetWidth(4);
    images->SetHeight(2);
    // Two images: the first black at its top-left pixel, the rest in the
    // mask colour (lime); the second all black.
    TBitmap strip;
    strip.SetPixelFormat(pf32bit);
    strip.SetSize(8, 2);
    strip.Canvas()->Brush()->SetColor(clLime);
    strip.Canvas()->FillRect({0, 0, 4, 2});
    strip.Canvas()->Brush()->SetColor(clBlack);
    strip.Canvas()->FillRect({4, 0, 8, 2});
    strip.Canvas()->SetPixels(0, 0, clBlack);
    images->AddMasked(&strip, clLime);
  }
  TcxPCImageList* list() { return control->ImageList(); }

  FactoryScope factory{{&PlainFakeClass()}};
  std::unique_ptr<FakeTabControl> control;
  std::unique_ptr<TImageList> images;
};

std::string DrawError(TcxPCImageList* list, Integer index) {
  TBitmap target;
  target.SetSize(4, 4);
  try {
    list->Draw(target.Canvas(), 0, 0, index, true, clWhite);
  } catch (const Exception& e) {
    return e.Message;
  }
  return "(no error)";
}

}  // namespace

TEST_F(ImageListTest, SizesAndErrors) {
  EXPECT_EQ(list()->ImageSize(), (TSize{0, 0}));
  EXPECT_EQ(DrawError(list(), 0), "TcxPCImageList.Draw: BaseImages is not assigned");
  control->SetImages(images.get());
  EXPECT_EQ(control->Images(), images.get());
  EXPECT_EQ(list()->ImageSize(), (TSize{4, 2}));
  EXPECT_EQ(list()->DrawnImageSize(), (TSize{4, 2}));
  // Captions turned by the control turn the images with them.
  control->SetTabPosition(tpRight);
  EXPECT_EQ(list()->ImageRotation(), 1);
  EXPECT_EQ(list()->DrawnImageSize(), (TSize{2, 4}));
  EXPECT_EQ(DrawError(list(), 2), "TcxPCImageList.Draw: Index (2) must be between 0 and 1");
  EXPECT_EQ(DrawError(list(), -1), "TcxPCImageList.Draw: Index (-1) must be between 0 and 1");
  EXPECT_EQ(DrawError(list(), 1), "(no error)");
}

TEST_F(ImageListTest, AnImageStandsOnTheStyleBackground) {
  control->SetImages(images.get());
  TestSurface& s = control->surface;
  s.canvas->Brush()->SetColor(clBlue);
  s.canvas->Canvas->FillRect({0, 0, 60, 40});
  // The style paints the right half of the image's bitmap.
  list()->OnFillBitmapBackground = TcxPCBitmapBackgroundEvent(+[](TBitmap* b) {
    b->Canvas()->Brush()->SetColor(clYellow);
    b->Canvas()->FillRect({2, 0, 4, 2});
  });
  list()->Draw(s.bitmap->Canvas(), 10, 10, 0, true, clRed);
  const std::vector<std::pair<TColor, char>> legend{{clRed, 'r'}, {clYellow, 'y'}, {clBlue, 'b'}};
  EXPECT_EQ(s.Rows({9, 10, 15, 12}, legend), (std::vector<std::string>{"b#ryyb", "brryyb"}));
}

TEST_F(ImageListTest, TurnedImagesAreCachedByColour) {
  control->SetImages(images.get());
  control->SetTabPosition(tpLeft);
  ASSERT_EQ(list()->ImageRotation(), 1);
  ASSERT_EQ(list()->RotatedImages().size(), 2u);
  EXPECT_FALSE(list()->RotatedImages()[0].Valid);
  TestSurface& s = control->surface;
  list()->Draw(s.bitmap->Canvas(), 10, 10, 0, true, clRed);
  EXPECT_TRUE(list()->RotatedImages()[0].Valid);
  EXPECT_FALSE(list()->RotatedImages()[1].Valid);
  // A quarter turn: the 4 x 2 image stands 2 x 4, its top-left corner at
  // the bottom left.
  const std::vector<std::pair<TColor, char>> legend{{clRed, 'r'}};
  EXPECT_EQ(s.Rows({10, 10, 12, 14}, legend), (std::vector<std::string>{"rr", "rr", "rr", "#r"}));

  TBitmap* cached = list()->RotatedImages()[0].Bitmap.get();
  list()->Draw(s.bitmap->Canvas(), 20, 10, 0, false, clRed);
  EXPECT_EQ(list()->RotatedImages()[0].Bitmap.get(), cached);
  list()->Draw(s.bitmap->Canvas(), 30, 10, 0, true, clYellow);
  EXPECT_EQ(list()->RotatedImages()[0].BackgroundColor, clYellow);
  EXPECT_TRUE(s.Is(30, 10, clYellow));

  // A new rotation starts a fresh cache.
  control->SetOptions(control->Options() + pcoTopToBottomText);
  EXPECT_EQ(list()->ImageRotation(), 2);
  EXPECT_FALSE(list()->RotatedImages()[0].Valid);
}

TEST_F(ImageListTest, TheBaseListGoingAway) {
  control->AddTabs({"abcd"});
  control->SetImages(images.get());
  const Integer layouts = control->realigns;
  images->Clear();  // a change of the list re-lays the control out
  EXPECT_EQ(control->realigns, layouts + 1);
  images.reset();
  EXPECT_EQ(control->Images(), nullptr);
  EXPECT_EQ(list()->ImageSize(), (TSize{0, 0}));
  EXPECT_EQ(control->Tabs()->GetTab(0)->ImageIndex(), -1);
}
