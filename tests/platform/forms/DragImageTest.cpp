#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/platform/forms/FormsFixture.h"
#include "platform/forms/ImgList.h"
#include "platform/win/Windows.h"

using namespace formstest;

namespace {

class DragImageTest : public FormsTest {};

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;

// A 6x6 red image whose top-left pixel is see-through.
void FillRedImage(TCustomImageList& images) {
  images.SetWidth(6);
  images.SetHeight(6);
  TBitmap bitmap;
  bitmap.SetSize(6, 6);
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect(TRect{0, 0, 6, 6});
  bitmap.Canvas()->SetPixels(0, 0, clFuchsia);
  images.AddMasked(&bitmap, clFuchsia);
}

std::vector<uint32_t> Screen() {
  int w = 0, h = 0;
  return win::ComposeScreen(&w, &h);
}

// The screen is the baseline with, when At is given, the red image's top
// left there (its see-through corner showing the baseline): no trail of an
// earlier place, nothing left over after the end.
void ExpectScreen(const std::vector<uint32_t>& Baseline, const TPoint* At, const std::string& When) {
  int w = 0, h = 0;
  std::vector<uint32_t> now = win::ComposeScreen(&w, &h);
  ASSERT_EQ(now.size(), Baseline.size());
  int wrong = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      size_t i = static_cast<size_t>(y) * w + x;
      bool inImage = At && x >= At->X && x < At->X + 6 && y >= At->Y && y < At->Y + 6;
      bool corner = At && x == At->X && y == At->Y;
      uint32_t expected = inImage && !corner ? kRed : Baseline[i];
      if (now[i] != expected) ++wrong;
    }
  EXPECT_EQ(wrong, 0) << When;
}

// A control whose drags show its image list, hot spot (2, 3).
class TImageSource : public TCustomControl {
 public:
  explicit TImageSource(TComponent* AOwner) : TCustomControl(AOwner), Images(new TDragImageList(this)) {
    FillRedImage(*Images);
    Images->SetDragImage(0, 2, 3);
  }
  TDragImageList* GetDragImages() override { return Images; }
  TDragImageList* Images;
};

class TSink {
 public:
  std::vector<std::string> log;
  void DragOver(TObject*, TObject*, Integer X, Integer Y, TDragState State, bool& Accept) {
    log.push_back("over " + std::to_string(State) + " " + std::to_string(X) + "," + std::to_string(Y));
    Accept = true;
  }
  void DragDrop(TObject*, TObject*, Integer X, Integer Y) {
    log.push_back("drop " + std::to_string(X) + "," + std::to_string(Y));
  }
};

TEST_F(DragImageTest, ImageFollowsTheMouseOverControlsThatShowIt) {
  THost host;
  auto* source = new TImageSource(&host);
  source->SetParent(&host);
  source->SetBounds(10, 10, 50, 20);
  source->SetDragMode(dmAutomatic);
  auto* target = new TCustomControl(&host);  // screen 200..280 x 200..260
  target->SetParent(&host);
  target->SetBounds(100, 100, 80, 60);
  target->ControlStyle += csDisplayDragImage;
  auto* plain = new TCustomControl(&host);  // screen 110..170 x 200..260
  plain->SetParent(&host);
  plain->SetBounds(10, 100, 60, 60);
  TSink sink;
  target->OnDragOver = TDragOverEvent(&sink, &TSink::DragOver);
  target->OnDragDrop = TDragDropEvent(&sink, &TSink::DragDrop);
  source->Images->SetDragCursor(crHandPoint);
  host.HandleNeeded();
  Pump();
  const std::vector<uint32_t> baseline = Screen();

  TPoint press = Center(source);
  win::InjectMouseButton(win::VK_LBUTTON, true, {press.X, press.Y});
  Pump();
  ASSERT_TRUE(source->Dragging());
  ExpectScreen(baseline, nullptr, "before the threshold");

  win::InjectMouseMove({230, 230});
  Pump();
  TPoint at{228, 227};
  ExpectScreen(baseline, &at, "over the target");
  // The image lies under the mouse, yet the target is what is found there.
  EXPECT_EQ(win::WindowFromPoint({230, 230}), target->Handle());
  EXPECT_EQ(sink.log.back(), "over 2 30,30");
  EXPECT_EQ(win::GetCursor(), CursorHandle(crHandPoint));  // the list's cursor over an image the target takes

  win::InjectMouseMove({260, 250});
  Pump();
  at = {258, 247};
  ExpectScreen(baseline, &at, "moved on the target");

  win::InjectMouseMove({130, 230});
  Pump();
  ExpectScreen(baseline, nullptr, "over a control that does not show drag images");
  DragObject()->AlwaysShowDragImages = true;
  win::InjectMouseMove({131, 230});
  Pump();
  at = {129, 227};
  ExpectScreen(baseline, &at, "shown everywhere");
  EXPECT_EQ(win::GetCursor(), CursorHandle(crNoDrop));

  win::InjectMouseMove({250, 240});
  Pump();
  win::InjectMouseButton(win::VK_LBUTTON, false, {250, 240});
  Pump();
  EXPECT_EQ(sink.log.back(), "drop 50,40");
  EXPECT_FALSE(source->Dragging());
  EXPECT_FALSE(source->Images->Dragging());
  EXPECT_EQ(win::DragImageWindow(), nullptr);
  ExpectScreen(baseline, nullptr, "after the drop");
}

// However the drag ends, the image does not stay behind.
TEST_F(DragImageTest, ImageGoesWhenTheDragIsCancelledOrItsSourceFreed) {
  for (bool freeSource : {false, true}) {
    THost host;
    auto* source = new TImageSource(&host);
    source->SetParent(&host);
    host.HandleNeeded();
    source->BeginDrag(true);
    DragObject()->AlwaysShowDragImages = true;
    DragTo({150, 150});
    ASSERT_NE(win::DragImageWindow(), nullptr);
    ASSERT_TRUE(win::IsWindowVisible(win::DragImageWindow()));
    if (freeSource) {
      delete source;
    } else {
      win::PostMessage(DragObject()->DragHandle, win::WM_KEYDOWN, win::VK_ESCAPE, 0);
      Pump();
    }
    EXPECT_EQ(DragControl(), nullptr) << freeSource;
    EXPECT_EQ(win::DragImageWindow(), nullptr) << freeSource;
    EXPECT_EQ(win::ImageList_GetDragImage(nullptr, nullptr), nullptr) << freeSource;
  }
}

TEST_F(DragImageTest, WindowLayerDragImageWithCursorPicture) {
  using namespace win;
  THost host;  // window rectangle at (100, 100)
  host.HandleNeeded();
  TImageList images(nullptr);
  FillRedImage(images);
  EXPECT_FALSE(ImageList_DragEnter(host.Handle(), 0, 0));  // no drag yet
  EXPECT_FALSE(ImageList_BeginDrag(images.Handle(), 1, 0, 0));

  ASSERT_TRUE(ImageList_BeginDrag(images.Handle(), 0, 1, 1));
  ASSERT_TRUE(ImageList_DragEnter(host.Handle(), 10, 20));
  RECT r;
  GetWindowRect(DragImageWindow(), &r);
  EXPECT_EQ(r.left, 109);
  EXPECT_EQ(r.top, 119);
  EXPECT_EQ(r.right - r.left, 6);
  EXPECT_EQ(WindowFromPoint({112, 122}), host.Handle());

  // A 2x2 blue cursor picture with its hot spot at (3, 3) of its own
  // rectangle sticks out above and left: the drag image grows to 6+2.
  TImageList cursor(nullptr);
  cursor.SetWidth(2);
  cursor.SetHeight(2);
  TBitmap blue;
  blue.SetSize(2, 2);
  blue.Canvas()->Brush()->SetColor(clBlue);
  blue.Canvas()->FillRect(TRect{0, 0, 2, 2});
  cursor.Add(&blue, nullptr);
  ASSERT_TRUE(ImageList_SetDragCursorImage(cursor.Handle(), 0, 3, 3));
  POINT pos, hot;
  HIMAGELIST shown = ImageList_GetDragImage(&pos, &hot);
  ASSERT_NE(shown, nullptr);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(shown, &cx, &cy);
  EXPECT_EQ(cx, 8);
  EXPECT_EQ(cy, 8);
  EXPECT_EQ(hot.x, 3);
  EXPECT_EQ(hot.y, 3);
  EXPECT_EQ(pos.x, 10);
  EXPECT_EQ(pos.y, 20);

  ASSERT_TRUE(ImageList_DragMove(30, 30));
  int sw = 0, sh = 0;
  std::vector<uint32_t> screen = ComposeScreen(&sw, &sh);
  auto at = [&](int x, int y) { return screen[static_cast<size_t>(y) * sw + x]; };
  // Image top left at 100+30-3 = 127, the red image from 129, the cursor at 127.
  EXPECT_EQ(at(127, 127), kBlue);
  EXPECT_EQ(at(128, 128), kBlue);
  EXPECT_EQ(at(130, 130), kRed);
  EXPECT_NE(at(129, 129), kRed);  // the see-through corner
  EXPECT_NE(at(127, 134), kRed);  // outside both pictures

  ImageList_DragShowNolock(FALSE);
  EXPECT_FALSE(IsWindowVisible(DragImageWindow()));
  ImageList_DragShowNolock(TRUE);
  EXPECT_TRUE(IsWindowVisible(DragImageWindow()));
  ImageList_DragLeave(host.Handle());
  EXPECT_FALSE(IsWindowVisible(DragImageWindow()));
  ImageList_EndDrag();
  EXPECT_EQ(DragImageWindow(), nullptr);
  EXPECT_EQ(ImageList_GetDragImage(nullptr, nullptr), nullptr);
}

TEST_F(DragImageTest, DragImageListKeepsOneDragAtATime) {
  TImageList first(nullptr);
  TDragImageList second(nullptr);
  EXPECT_FALSE(first.BeginDrag(nullptr, 50, 50));  // no images
  FillRedImage(first);
  FillRedImage(second);
  EXPECT_FALSE(first.SetDragImage(3, 0, 0));

  ASSERT_TRUE(first.BeginDrag(nullptr, 50, 50));  // the desktop: screen coordinates
  EXPECT_TRUE(first.Dragging());
  EXPECT_TRUE(first.DragImageShown());
  win::RECT r;
  win::GetWindowRect(win::DragImageWindow(), &r);
  EXPECT_EQ(r.left, 50);

  // A new image during the drag stands where the old one stood.
  first.HideDragImage();
  ASSERT_TRUE(first.SetDragImage(0, 4, 4));
  EXPECT_FALSE(win::IsWindowVisible(win::DragImageWindow()));
  first.ShowDragImage();
  win::GetWindowRect(win::DragImageWindow(), &r);
  EXPECT_EQ(r.left, 46);
  EXPECT_EQ(first.GetHotSpot(), (TPoint{4, 4}));

  // Another list's drag takes over; a list going away takes its image.
  ASSERT_TRUE(second.BeginDrag(nullptr, 10, 10));
  EXPECT_FALSE(first.Dragging());
  EXPECT_TRUE(second.Dragging());
  {
    TDragImageList third(nullptr);
    FillRedImage(third);
    third.BeginDrag(nullptr, 0, 0);
  }
  EXPECT_FALSE(second.Dragging());
  EXPECT_EQ(win::DragImageWindow(), nullptr);
}

}  // namespace
