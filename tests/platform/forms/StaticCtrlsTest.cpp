#include "platform/forms/StaticCtrls.h"

#include <gtest/gtest.h>

#include "tests/platform/forms/FormsFixture.h"
#include "platform/forms/Graphics.h"
#include "platform/forms/PngImage.h"
#include "platform/rtl/FormFiles.h"
#include "platform/win/Display.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/Windows.h"

using namespace formstest;

namespace {

class StaticCtrlsTest : public FormsTest {
 protected:
  static void Paint(THost& host) {
    host.Invalidate();
    win::UpdateWindow(host.Handle());
  }
};

TEST(IsAccelTest, FindsTheMarkedCharacter) {
  struct Case {
    win::WPARAM Key;
    const char* Caption;
    bool Expected;
  } cases[] = {
      {'N', "&Name", true},  {'n', "&Name", true},   {'a', "&Name", false}, {'e', "Nam&e", true},
      {'x', "A && x", false}, {'b', "A && &b", true}, {'x', "No mark", false}, {'x', "End &", false},
      {0x00E4, "&\xC3\xA4rger", true},  // a non-ASCII mnemonic
  };
  for (const Case& c : cases) EXPECT_EQ(IsAccel(c.Key, c.Caption), c.Expected) << c.Caption << " " << c.Key;
}

TEST_F(StaticCtrlsTest, LabelSizesToItsCaption) {
  THost host;
  auto* label = new TLabel(&host);
  label->SetParent(&host);
  label->SetBounds(10, 10, 200, 50);
  label->SetCaption("Hello");
  TBitmap probe;
  probe.Canvas()->SetFont(label->Font());
  TSize text = probe.Canvas()->TextExtent("Hello");
  EXPECT_EQ(label->Width(), text.cx);
  EXPECT_EQ(label->Height(), text.cy);

  // A right-aligned label keeps its right edge.
  label->SetAlignment(taRightJustify);
  Integer right = label->Left() + label->Width();
  label->SetCaption("Hello, world");
  EXPECT_EQ(label->Left() + label->Width(), right);

  // Word wrap breaks within the width and grows downwards.
  label->SetAutoSize(false);
  label->SetAlignment(taLeftJustify);
  label->SetCaption("Hello Hello Hello");
  label->SetWordWrap(true);
  label->SetBounds(10, 10, text.cx + 2, 10);
  label->SetAutoSize(true);
  EXPECT_LE(label->Width(), text.cx + 2);
  EXPECT_GT(label->Width(), 0);
  EXPECT_GE(label->Height(), 3 * text.cy);
}

TEST_F(StaticCtrlsTest, MnemonicMovesFocusToTheLabelsControl) {
  THost host;
  std::vector<std::string> log;
  auto* edit = LoggedChild(host, &log, "edit");
  edit->SetBounds(100, 10, 80, 20);
  edit->SetTabStop(true);
  auto* label = new TLabel(&host);
  label->SetParent(&host);
  label->SetCaption("&Name");
  label->SetFocusControl(edit);
  host.HandleNeeded();
  win::ShowWindow(host.Handle(), win::SW_SHOW);

  EXPECT_EQ(host.Perform(CM_DIALOGCHAR, 'x', 0), 0);
  EXPECT_NE(win::GetFocus(), edit->Handle());
  EXPECT_NE(host.Perform(CM_DIALOGCHAR, 'n', 0), 0);
  EXPECT_EQ(win::GetFocus(), edit->Handle());

  // Freeing the control clears the label's reference to it.
  delete edit;
  EXPECT_EQ(label->FocusControl(), nullptr);
  EXPECT_EQ(host.Perform(CM_DIALOGCHAR, 'n', 0), 0);
}

TEST_F(StaticCtrlsTest, ImagePlacesItsPicture) {
  THost host;
  auto* image = new TImage(&host);
  image->SetParent(&host);
  image->SetBounds(0, 0, 100, 50);
  image->Picture()->Bitmap()->SetSize(20, 10);
  struct Case {
    bool Stretch, Center, Proportional;
    TRect Expected;
  } cases[] = {
      {false, false, false, Rect(0, 0, 20, 10)}, {true, false, false, Rect(0, 0, 100, 50)},
      {false, true, false, Rect(40, 20, 60, 30)}, {true, false, true, Rect(0, 0, 100, 50)},
      {true, true, true, Rect(0, 0, 100, 50)},
  };
  for (const Case& c : cases) {
    image->SetStretch(c.Stretch);
    image->SetCenter(c.Center);
    image->SetProportional(c.Proportional);
    EXPECT_EQ(image->DestRect(), c.Expected) << c.Stretch << c.Center << c.Proportional;
  }
  // Proportional keeps the shape inside a box of another shape.
  image->SetBounds(0, 0, 100, 100);
  EXPECT_EQ(image->DestRect(), Rect(0, 25, 100, 75));

  image->SetAutoSize(true);
  image->Picture()->Bitmap()->SetSize(33, 44);
  EXPECT_EQ(image->Width(), 33);
  EXPECT_EQ(image->Height(), 44);
}

// Paints a host with the self-drawn controls and checks their pixels.
TEST_F(StaticCtrlsTest, ControlsPaintThemselves) {
  THost host;
  host.SetColor(clBtnFace);
  host.SetBounds(100, 100, 320, 200);

  auto* panel = new TPanel(&host);
  panel->SetParent(&host);
  panel->SetBounds(10, 10, 140, 60);
  panel->SetBevelInner(bvLowered);
  panel->SetBevelWidth(2);
  panel->SetCaption("Panel");

  auto* bevel = new TBevel(&host);
  bevel->SetParent(&host);
  bevel->SetBounds(160, 10, 60, 60);

  auto* line = new TBevel(&host);
  line->SetParent(&host);
  line->SetShape(bsTopLine);
  line->SetBounds(10, 80, 300, 2);

  auto* label = new TLabel(&host);
  label->SetParent(&host);
  label->SetBounds(10, 90, 0, 0);
  label->SetColor(clYellow);
  label->SetCaption("&Label with a mnemonic");

  auto* image = new TImage(&host);
  image->SetParent(&host);
  image->SetBounds(230, 10, 40, 40);
  image->SetStretch(true);
  TBitmap* pic = image->Picture()->Bitmap();
  pic->SetSize(4, 4);
  pic->Canvas()->Brush()->SetColor(clRed);
  pic->Canvas()->FillRect(Rect(0, 0, 4, 4));
  pic->Canvas()->Brush()->SetColor(clBlue);
  pic->Canvas()->FillRect(Rect(2, 2, 4, 4));

  struct Painter {
    int Calls = 0;
    void OnPaint(TObject* Sender) {
      ++Calls;
      TCanvas* c = static_cast<TPaintBox*>(Sender)->Canvas();
      c->Brush()->SetColor(clLime);
      c->Pen()->SetColor(clGreen);
      c->Ellipse(0, 0, 60, 40);
    }
  } painter;
  auto* box = new TPaintBox(&host);
  box->SetParent(&host);
  box->SetBounds(10, 120, 60, 40);
  box->OnPaint = TNotifyEvent(&painter, &Painter::OnPaint);

  host.HandleNeeded();
  win::ShowWindow(host.Handle(), win::SW_SHOW);
  Paint(host);

  EXPECT_GT(painter.Calls, 0);
  const TColor light = static_cast<TColor>(win::GetSysColor(win::COLOR_BTNHIGHLIGHT));
  const TColor shadow = static_cast<TColor>(win::GetSysColor(win::COLOR_BTNSHADOW));
  const TColor face = static_cast<TColor>(win::GetSysColor(win::COLOR_BTNFACE));
  EXPECT_EQ(PixelAt(host, 10, 10), light);    // panel: raised outer bevel
  EXPECT_EQ(PixelAt(host, 149, 69), shadow);
  EXPECT_EQ(PixelAt(host, 12, 12), shadow);   // lowered inner bevel
  EXPECT_EQ(PixelAt(host, 15, 15), face);
  EXPECT_EQ(PixelAt(host, 160, 10), shadow);  // bevel box, lowered
  EXPECT_EQ(PixelAt(host, 219, 69), light);
  EXPECT_EQ(PixelAt(host, 50, 80), shadow);   // top line
  EXPECT_EQ(PixelAt(host, 50, 81), light);
  EXPECT_EQ(PixelAt(host, 11, 91), clYellow);  // opaque label
  EXPECT_EQ(PixelAt(host, 231, 11), clRed);    // stretched image
  EXPECT_EQ(PixelAt(host, 268, 48), clBlue);
  EXPECT_EQ(PixelAt(host, 40, 140), clLime);   // paint box
  EXPECT_EQ(PixelAt(host, 11, 121), face);     // outside the ellipse

  bool labelInked = false;
  for (int y = 90; y < 90 + label->Height() && !labelInked; ++y)
    for (int x = 10; x < 10 + label->Width(); ++x)
      if (PixelAt(host, x, y) == clBlack) labelInked = true;
  EXPECT_TRUE(labelInked);
}

}  // namespace

namespace {

// Pictures travel in form files as Picture.Data: the graphic's class name
// and its data.
TEST_F(StaticCtrlsTest, ImagePictureSurvivesTheFormFile) {
  struct Case {
    const char* Kind;
    TGraphic* Graphic;
  };
  TBitmap bitmap;
  bitmap.SetSize(3, 2);
  bitmap.Canvas()->SetPixels(1, 1, clRed);
  TPngImage png;
  png.Assign(&bitmap);
  for (const Case& c : {Case{"TBitmap", &bitmap}, Case{"TPngImage", &png}}) {
    THost host;
    auto* image = new TImage(&host);
    image->SetName("Image1");
    image->Picture()->SetGraphic(c.Graphic);
    std::string text = WriteComponentText(image);
    EXPECT_NE(text.find("Picture.Data = {"), std::string::npos) << text;

    THost other;
    auto* copy = new TImage(&other);
    ReadComponentText(text, copy);
    ASSERT_NE(copy->Picture()->Graphic(), nullptr) << c.Kind;
    EXPECT_EQ(copy->Picture()->Graphic()->ClassName(), c.Kind);
    TBitmap check;
    check.Assign(copy->Picture()->Graphic());
    EXPECT_EQ(check.Width(), 3);
    EXPECT_EQ(check.Canvas()->Pixels(1, 1), clRed) << c.Kind;
    EXPECT_EQ(check.Canvas()->Pixels(0, 0), clWhite) << c.Kind;
  }
}

}  // namespace
