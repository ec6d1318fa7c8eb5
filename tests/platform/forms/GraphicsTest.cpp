#include "platform/forms/Graphics.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/forms/Jpeg.h"
#include "platform/forms/PngImage.h"
#include "platform/rtl/Resources.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiFonts.h"
#include "platform/win/SysColors.h"
#include "tests/support/TempFolder.h"

namespace {

// A bitmap with four coloured quadrants and a black diagonal.
void PaintQuadrants(TBitmap& b, int size) {
  b.SetSize(size, size);
  TCanvas* c = b.Canvas();
  const TColor colours[4] = {clRed, clLime, clBlue, clYellow};
  for (int i = 0; i < 4; ++i) {
    c->Brush()->SetColor(colours[i]);
    int x = (i % 2) * size / 2, y = (i / 2) * size / 2;
    c->FillRect(Rect(x, y, x + size / 2, y + size / 2));
  }
}

std::string Bytes(TMemoryStream& s) {
  return std::string(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

void Put16(std::string& d, uint32_t v) {
  d.push_back(static_cast<char>(v & 0xFF));
  d.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& d, uint32_t v) {
  Put16(d, v & 0xFFFF);
  Put16(d, v >> 16);
}

}  // namespace

TEST(GraphicsTest, ColorToRGBResolvesSystemColours) {
  EXPECT_EQ(ColorToRGB(clBtnFace), win::GetSysColor(win::COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
  EXPECT_EQ(ColorToRGB(static_cast<TColor>(0x123456)), 0x123456u);
}

TEST(GraphicsTest, FontPublishesInOrderAndConvertsSize) {
  std::vector<std::string> names;
  for (const TPropInfo* p : GetPropList(TFont::StaticClass())) names.push_back(p->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"}));

  TFont f;
  int changes = 0;
  struct Counter {
    int* n;
    void Hit(TObject*) { ++*n; }
  } counter{&changes};
  f.OnChange = TNotifyEvent(&counter, &Counter::Hit);
  f.SetSize(10);
  EXPECT_EQ(f.GetHeight(), -13);
  EXPECT_EQ(f.GetSize(), 10);
  f.SetSize(10);  // no change, no event
  f.SetStyle({fsBold, fsItalic});
  EXPECT_EQ(changes, 2);
}

TEST(GraphicsTest, FontSurvivesTheLogFontRoundTrip) {
  TFont f;
  f.SetName("Arial");
  f.SetHeight(-16);
  f.SetStyle({fsBold, fsUnderline});
  f.SetPitch(fpVariable);
  f.SetCharset(win::ANSI_CHARSET);
  win::LOGFONT lf;
  ASSERT_NE(win::GetObject(f.Handle(), sizeof(lf), &lf), 0);
  EXPECT_EQ(lf.lfHeight, -16);
  EXPECT_EQ(lf.lfWeight, win::FW_BOLD);
  EXPECT_EQ(lf.lfUnderline, 1);
  EXPECT_STREQ(lf.lfFaceName, "Arial");

  lf.lfItalic = 1;
  lf.lfWeight = win::FW_NORMAL;
  TFont g;
  g.SetHandle(win::CreateFontIndirect(&lf));
  EXPECT_EQ(g.GetName(), "Arial");
  EXPECT_EQ(g.GetHeight(), -16);
  EXPECT_EQ(g.GetStyle(), (TFontStyles{fsItalic, fsUnderline}));
  EXPECT_EQ(g.GetPitch(), fpVariable);
  EXPECT_EQ(g.GetCharset(), win::ANSI_CHARSET);
}

TEST(GraphicsTest, CanvasDrawsShapesOnABitmap) {
  TBitmap b;
  b.SetSize(40, 30);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 40, 30));
  c->Pen()->SetColor(clBlue);
  c->Brush()->SetColor(clRed);
  c->Rectangle(2, 2, 12, 10);
  EXPECT_EQ(c->Pixels(2, 2), clBlue);    // outline
  EXPECT_EQ(c->Pixels(11, 9), clBlue);   // right/bottom edges are exclusive
  EXPECT_EQ(c->Pixels(12, 10), clWhite);
  EXPECT_EQ(c->Pixels(5, 5), clRed);     // fill

  c->Brush()->SetStyle(bsClear);
  c->Ellipse(20, 0, 40, 20);
  EXPECT_EQ(c->Pixels(30, 10), clWhite);  // hollow
  EXPECT_EQ(c->Pixels(30, 0), clBlue);

  c->MoveTo(0, 25);
  c->LineTo(10, 25);
  EXPECT_EQ(c->Pixels(9, 25), clBlue);
  EXPECT_EQ(c->Pixels(10, 25), clWhite);  // end point not drawn
  EXPECT_EQ(c->PenPos(), Point(10, 25));

  c->Brush()->SetColor(clLime);
  c->Polygon({Point(14, 14), Point(18, 14), Point(18, 18), Point(14, 18)});
  EXPECT_EQ(c->Pixels(16, 16), clLime);
  c->SetPixels(39, 29, clFuchsia);
  EXPECT_EQ(c->Pixels(39, 29), clFuchsia);
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 40, 30));
}

TEST(GraphicsTest, PenXorAndNotModesUndoThemselves) {
  TBitmap b;
  PaintQuadrants(b, 20);
  TCanvas* c = b.Canvas();
  for (TPenMode mode : {pmXor, pmNot}) {
    c->Pen()->SetMode(mode);
    c->Pen()->SetColor(clWhite);
    c->MoveTo(0, 5);
    c->LineTo(20, 5);
    EXPECT_EQ(c->Pixels(3, 5), clAqua) << mode;  // red inverted
    c->MoveTo(0, 5);
    c->LineTo(20, 5);
    EXPECT_EQ(c->Pixels(3, 5), clRed) << mode;
  }
}

TEST(GraphicsTest, TextMeasuresAndAdvancesThePen) {
  TBitmap b;
  b.SetSize(200, 40);
  TCanvas* c = b.Canvas();
  c->Font()->SetColor(clBlack);
  TSize one = c->TextExtent("W");
  TSize three = c->TextExtent("WWW");
  EXPECT_GT(one.cx, 0);
  EXPECT_GT(one.cy, 0);
  EXPECT_EQ(three.cx, 3 * one.cx);
  EXPECT_EQ(c->TextHeight("x"), one.cy);
  c->TextOut(5, 5, "WWW");
  EXPECT_EQ(c->PenPos(), Point(5 + three.cx, 5));
  bool inked = false;
  for (int y = 5; y < 5 + one.cy && !inked; ++y)
    for (int x = 5; x < 5 + three.cx; ++x)
      if (c->Pixels(x, y) == clBlack) inked = true;
  EXPECT_TRUE(inked);

  // TextRect clips to its rectangle.
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 200, 40));
  c->Brush()->SetColor(clYellow);
  c->TextRect(Rect(0, 0, 4, 40), 0, 0, "WWWWW");
  EXPECT_EQ(c->Pixels(1, 1), clYellow);
  EXPECT_EQ(c->Pixels(10, 1), clWhite);
}

TEST(GraphicsTest, CopyRectDrawAndBrushCopy) {
  TBitmap src;
  PaintQuadrants(src, 20);
  TBitmap dst;
  dst.SetSize(40, 40);
  TCanvas* c = dst.Canvas();
  c->CopyRect(Rect(0, 0, 40, 40), src.Canvas(), Rect(0, 0, 20, 20));  // doubled
  EXPECT_EQ(c->Pixels(19, 19), clRed);
  EXPECT_EQ(c->Pixels(20, 0), clLime);
  EXPECT_EQ(c->Pixels(39, 39), clYellow);

  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 40, 40));
  src.SetTransparent(true);
  src.SetTransparentColor(clRed);
  c->Draw(0, 0, &src);
  EXPECT_EQ(c->Pixels(2, 2), clWhite);  // red left out
  EXPECT_EQ(c->Pixels(12, 2), clLime);

  c->Brush()->SetColor(clAqua);
  c->BrushCopy(Rect(20, 20, 40, 40), &src, Rect(0, 0, 20, 20), clBlue);
  EXPECT_EQ(c->Pixels(22, 32), clAqua);  // blue quadrant replaced
  EXPECT_EQ(c->Pixels(22, 22), clRed);
}

TEST(GraphicsTest, BitmapTransparentColourFollowsItsMode) {
  TBitmap b;
  PaintQuadrants(b, 10);
  EXPECT_EQ(b.TransparentMode(), tmAuto);
  EXPECT_EQ(b.TransparentColor(), clBlue);  // bottom-left pixel
  b.SetTransparentColor(clLime);
  EXPECT_EQ(b.TransparentMode(), tmFixed);
  EXPECT_EQ(b.TransparentColor(), clLime);
  b.SetTransparentMode(tmAuto);
  EXPECT_EQ(b.TransparentColor(), clBlue);
}

TEST(GraphicsTest, BmpRoundTripsEveryDepth) {
  struct Case {
    TPixelFormat Format;
    int Bpp;
  } cases[] = {{pf1bit, 1}, {pf4bit, 4}, {pf8bit, 8}, {pf15bit, 16}, {pf16bit, 16}, {pf24bit, 24}, {pf32bit, 32}};
  for (const Case& k : cases) {
    TBitmap b;
    PaintQuadrants(b, 10);
    if (k.Format == pf1bit) {
      b.Canvas()->Brush()->SetColor(clWhite);
      b.Canvas()->FillRect(Rect(0, 0, 10, 5));
    }
    b.SetPixelFormat(k.Format);
    TMemoryStream s;
    b.SaveToStream(s);
    std::string bytes = Bytes(s);
    ASSERT_GE(bytes.size(), 54u) << k.Format;
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<uint8_t>(bytes[28]), k.Bpp) << k.Format;

    s.SetPosition(0);
    TBitmap c;
    c.LoadFromStream(s);
    EXPECT_EQ(c.Width(), 10);
    EXPECT_EQ(c.Height(), 10);
    EXPECT_EQ(c.PixelFormat(), k.Format);
    if (k.Format == pf1bit) {
      EXPECT_TRUE(c.Monochrome());
      EXPECT_EQ(c.Canvas()->Pixels(1, 1), clWhite);
      EXPECT_EQ(c.Canvas()->Pixels(1, 8), clBlack);
    } else {
      EXPECT_EQ(c.Canvas()->Pixels(1, 1), clRed) << k.Format;
      EXPECT_EQ(c.Canvas()->Pixels(8, 1), clLime) << k.Format;
      EXPECT_EQ(c.Canvas()->Pixels(1, 8), clBlue) << k.Format;
      EXPECT_EQ(c.Canvas()->Pixels(8, 8), clYellow) << k.Format;
    }
  }
}

TEST(GraphicsTest, BmpReadsTopDownAndRejectsDamagedFiles) {
  // A 2 x 2 top-down 24-bit bitmap: red, green / blue, white.
  std::string bmp = "BM";
  Put32(bmp, 14 + 40 + 16);
  Put32(bmp, 0);
  Put32(bmp, 54);
  Put32(bmp, 40);
  Put32(bmp, 2);
  Put32(bmp, static_cast<uint32_t>(-2));
  Put16(bmp, 1);
  Put16(bmp, 24);
  for (int i = 0; i < 6; ++i) Put32(bmp, 0);
  bmp += std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);
  bmp += std::string("\xFF\x00\x00\xFF\xFF\xFF\x00\x00", 8);
  {
    TMemoryStream s;
    s.WriteBuffer(bmp.data(), static_cast<Int64>(bmp.size()));
    s.SetPosition(0);
    TBitmap b;
    b.LoadFromStream(s);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(1, 0), clLime);
    EXPECT_EQ(b.Canvas()->Pixels(0, 1), clBlue);
    EXPECT_EQ(b.Canvas()->Pixels(1, 1), clWhite);
  }
  struct Damage {
    const char* What;
    size_t At;
    std::string Bytes;
    size_t Keep;
  } damages[] = {
      {"truncated pixels", 0, "", bmp.size() - 3},
      {"no info header", 0, "", 20},
      {"huge width", 18, std::string("\xFF\xFF\xFF\x7F", 4), bmp.size()},
      {"zero width", 18, std::string("\0\0\0\0", 4), bmp.size()},
      {"bad depth", 28, std::string("\x07\x00", 2), bmp.size()},
      {"RLE", 30, std::string("\x01\0\0\0", 4), bmp.size()},
      {"pixels beyond the file", 10, std::string("\xF0\0\0\0", 4), bmp.size()},
      {"not a bitmap", 0, "XX", bmp.size()},
  };
  for (const Damage& d : damages) {
    std::string bad = bmp.substr(0, d.Keep);
    bad.replace(d.At, d.Bytes.size(), d.Bytes);
    TMemoryStream s;
    s.WriteBuffer(bad.data(), static_cast<Int64>(bad.size()));
    s.SetPosition(0);
    TBitmap b;
    EXPECT_THROW(b.LoadFromStream(s), EInvalidGraphic) << d.What;
    EXPECT_TRUE(b.Empty()) << d.What;
  }
}

TEST(GraphicsTest, BitmapLoadsFromAResourceWithoutFileHeader) {
  // 2 x 1, 8-bit with a two-entry palette: index 1 (lime), index 0 (navy).
  static std::string dib = [] {
    std::string d;
    Put32(d, 40);
    Put32(d, 2);
    Put32(d, 1);
    Put16(d, 1);
    Put16(d, 8);
    Put32(d, 0);
    Put32(d, 0);
    Put32(d, 0);
    Put32(d, 0);
    Put32(d, 2);
    Put32(d, 0);
    d += std::string("\x80\x00\x00\x00\x00\xFF\x00\x00", 8);
    d += std::string("\x01\x00\x00\x00", 4);
    return d;
  }();
  static const TResourceEntry entries[] = {
      {"GFXTESTDIB", "BITMAP", reinterpret_cast<const unsigned char*>(dib.data()), dib.size()}};
  RegisterResources(entries, 1);
  TBitmap b;
  b.LoadFromResourceName("GfxTestDib");
  EXPECT_EQ(b.PixelFormat(), pf8bit);
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clLime);
  EXPECT_EQ(b.Canvas()->Pixels(1, 0), clNavy);
  EXPECT_THROW(b.LoadFromResourceName("NoSuchBitmap"), EResNotFound);
}

// Width and Height set one at a time: the first leaves a side 0, which
// must not lose the other side.
TEST(GraphicsTest, BitmapSizedOneSideAtATime) {
  for (bool widthFirst : {true, false}) {
    TBitmap b;
    if (widthFirst) b.SetWidth(6); else b.SetHeight(4);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(widthFirst ? b.Width() : b.Height(), widthFirst ? 6 : 4);
    if (widthFirst) b.SetHeight(4); else b.SetWidth(6);
    ASSERT_EQ(b.Width(), 6);
    ASSERT_EQ(b.Height(), 4);
    ASSERT_FALSE(b.Empty());
    b.Canvas()->SetPixels(5, 3, clRed);
    EXPECT_EQ(b.Canvas()->Pixels(5, 3), clRed);
    // Back to a side of 0 keeps the other side too, also through Assign.
    b.SetHeight(0);
    TBitmap copy;
    copy.Assign(&b);
    EXPECT_EQ(copy.Width(), 6);
    EXPECT_TRUE(copy.Empty());
  }
}

TEST(GraphicsTest, MonochromeKeepsBlackAndWhite) {
  TBitmap b;
  PaintQuadrants(b, 10);
  b.Canvas()->Brush()->SetColor(clWhite);
  b.Canvas()->FillRect(Rect(0, 0, 5, 5));
  b.SetMonochrome(true);
  EXPECT_EQ(b.PixelFormat(), pf1bit);
  EXPECT_EQ(b.Canvas()->Pixels(1, 1), clWhite);
  EXPECT_EQ(b.Canvas()->Pixels(8, 8), clBlack);  // every other colour turns black
  EXPECT_THROW(b.ScanLine(0), EInvalidGraphicOperation);

  TBitmap dst;
  dst.SetSize(10, 10);
  dst.Canvas()->Font()->SetColor(clRed);  // must not tint the picture
  dst.Canvas()->Draw(0, 0, &b);
  EXPECT_EQ(dst.Canvas()->Pixels(8, 8), clBlack);
  EXPECT_EQ(dst.Canvas()->Pixels(1, 1), clWhite);
}

TEST(GraphicsTest, PngRoundTripKeepsAlpha) {
  TPngImage png;
  png.SetSize(4, 2);
  TAlphaImage& img = const_cast<TAlphaImage&>(png.Image());
  img.Pixels = {0xFFFF0000, 0x80FF0000, 0x00000000, 0xFF00FF00, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFFFFFFFF};
  TempFolder scratch("gfx");
  std::string path = scratch / "a.png";
  png.SaveToFile(path);

  TPicture picture;
  picture.LoadFromFile(path);
  auto* loaded = dynamic_cast<TPngImage*>(picture.Graphic());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Width(), 4);
  EXPECT_EQ(loaded->Image().Pixels[0], 0xFFFF0000u);
  EXPECT_EQ(loaded->Image().Pixels[1] >> 24, 0x80u);
  EXPECT_EQ(loaded->Image().Pixels[1] & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(loaded->Image().Pixels[2] >> 24, 0u);

  TBitmap canvas;
  canvas.SetSize(4, 2);  // white
  canvas.Canvas()->Draw(0, 0, picture.Graphic());
  EXPECT_EQ(canvas.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(canvas.Canvas()->Pixels(2, 0), clWhite);                      // transparent
  EXPECT_EQ(canvas.Canvas()->Pixels(1, 0), static_cast<TColor>(0x7F7FFF));  // half blended
  std::remove(path.c_str());

  TMemoryStream junk;
  junk.WriteBuffer("\x89PNG\r\n\x1a\nbroken", 14);
  junk.SetPosition(0);
  EXPECT_THROW(png.LoadFromStream(junk), EInvalidGraphic);
}

TEST(GraphicsTest, JpegEncodesAndDecodes) {
  TJPEGImage jpeg;
  PaintQuadrants(*jpeg.Bitmap(), 32);
  jpeg.SetCompressionQuality(95);
  TempFolder scratch("gfx");
  std::string path = scratch / "a.jpg";
  jpeg.SaveToFile(path);

  TPicture picture;
  picture.LoadFromFile(path);
  auto* loaded = dynamic_cast<TJPEGImage*>(picture.Graphic());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Width(), 32);
  EXPECT_EQ(loaded->Height(), 32);
  auto near = [](TColor got, TColor want) {
    for (int shift = 0; shift < 24; shift += 8)
      if (std::abs(((got >> shift) & 0xFF) - ((want >> shift) & 0xFF)) > 12) return false;
    return true;
  };
  TCanvas* c = loaded->Bitmap()->Canvas();
  EXPECT_TRUE(near(c->Pixels(4, 4), clRed));
  EXPECT_TRUE(near(c->Pixels(28, 4), clLime));
  EXPECT_TRUE(near(c->Pixels(4, 28), clBlue));
  EXPECT_TRUE(near(c->Pixels(28, 28), clYellow));
  std::remove(path.c_str());

  jpeg.SetGrayscale(true);
  TMemoryStream s;
  jpeg.SaveToStream(s);
  s.SetPosition(0);
  TJPEGImage gray;
  gray.LoadFromStream(s);
  EXPECT_TRUE(gray.Grayscale());
  TColor g = gray.Bitmap()->Canvas()->Pixels(4, 4);
  EXPECT_EQ(g & 0xFF, (g >> 8) & 0xFF);

  TMemoryStream junk;
  junk.WriteBuffer("\xFF\xD8\xFF\xE0garbage", 11);
  junk.SetPosition(0);
  EXPECT_THROW(gray.LoadFromStream(junk), EInvalidGraphic);
}

namespace {

// An icon file with a 16 x 16 and a 32 x 32 image, both 32-bit; the 32 x 32
// one is blue with a transparent left half (through the AND mask, alpha 0)
// and the 16 x 16 one red.
std::string MakeIcon(bool alphaChannel) {
  auto image = [&](int size, uint32_t colour) {
    std::string d;
    Put32(d, 40);
    Put32(d, static_cast<uint32_t>(size));
    Put32(d, static_cast<uint32_t>(size * 2));
    Put16(d, 1);
    Put16(d, 32);
    for (int i = 0; i < 6; ++i) Put32(d, 0);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) Put32(d, colour | (alphaChannel && x >= size / 2 ? 0xFF000000u : 0));
    int stride = ((size + 31) / 32) * 4;
    for (int y = 0; y < size; ++y)
      for (int i = 0; i < stride; ++i) {
        uint8_t bits = 0;
        for (int b = 0; b < 8; ++b) {
          int x = i * 8 + b;
          if (x < size / 2) bits |= static_cast<uint8_t>(0x80 >> b);
        }
        d.push_back(static_cast<char>(bits));
      }
    return d;
  };
  std::string small = image(16, 0x00FF0000), large = image(32, 0x000000FF);
  std::string d;
  Put16(d, 0);
  Put16(d, 1);
  Put16(d, 2);
  uint32_t offset = 6 + 32;
  for (auto [size, img] : {std::pair{16, &small}, std::pair{32, &large}}) {
    d.push_back(static_cast<char>(size));
    d.push_back(static_cast<char>(size));
    d.push_back(0);
    d.push_back(0);
    Put16(d, 1);
    Put16(d, 32);
    Put32(d, static_cast<uint32_t>(img->size()));
    Put32(d, offset);
    offset += static_cast<uint32_t>(img->size());
  }
  return d + small + large;
}

}  // namespace

TEST(GraphicsTest, IconPicksThe32PixelImageAndDrawsThroughItsMask) {
  TempFolder scratch("gfx");
  for (bool alphaChannel : {false, true}) {
    std::string ico = MakeIcon(alphaChannel);
    std::string path = scratch / "a.ico";
    {
      TFileStream f(path, fmCreate);
      f.WriteBuffer(ico.data(), static_cast<Int64>(ico.size()));
    }
    TPicture picture;
    picture.LoadFromFile(path);
    std::remove(path.c_str());
    auto* icon = dynamic_cast<TIcon*>(picture.Graphic());
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->Width(), 32);
    EXPECT_THROW(icon->SetWidth(16), EInvalidGraphicOperation);

    TBitmap b;
    b.SetSize(32, 32);
    b.Canvas()->Brush()->SetColor(clLime);
    b.Canvas()->FillRect(Rect(0, 0, 32, 32));
    b.Canvas()->Draw(0, 0, icon);
    EXPECT_EQ(b.Canvas()->Pixels(3, 3), clLime) << alphaChannel;    // transparent half
    EXPECT_EQ(b.Canvas()->Pixels(20, 3), clBlue) << alphaChannel;

    TMemoryStream saved;
    icon->SaveToStream(saved);
    EXPECT_EQ(Bytes(saved), ico);
  }
  TIcon icon;
  std::string ico = MakeIcon(false);
  ico[6 + 16 + 8 + 3] = '\x7F';  // the chosen image's size beyond the file
  TMemoryStream s;
  s.WriteBuffer(ico.data(), static_cast<Int64>(ico.size()));
  s.SetPosition(0);
  EXPECT_THROW(icon.LoadFromStream(s), EInvalidGraphic);
}

TEST(GraphicsTest, PictureSwitchesKindsAndRefusesUnknownExtensions) {
  TPicture picture;
  EXPECT_THROW(picture.LoadFromFile("x.tiff"), EInvalidGraphic);
  // Picture data naming a class that is no picture is refused before anything is made.
  TMemoryStream data;
  data.WriteBuffer("\x05TFont", 6);
  data.SetPosition(0);
  struct Reader : TFiler {
    TStreamProc Read;
    void DefineProperty(const std::string&, TReaderProc, TWriterProc, bool) override {}
    void DefineBinaryProperty(const std::string&, TStreamProc R, TStreamProc, bool) override { Read = R; }
  } reader;
  picture.DefineProperties(&reader);
  ASSERT_TRUE(static_cast<bool>(reader.Read));
  EXPECT_THROW(reader.Read(data), EInvalidGraphic);
  PaintQuadrants(*picture.Bitmap(), 8);
  EXPECT_EQ(picture.Width(), 8);
  TPicture copy;
  copy.Assign(&picture);
  ASSERT_NE(dynamic_cast<TBitmap*>(copy.Graphic()), nullptr);
  EXPECT_NE(copy.Graphic(), picture.Graphic());
  EXPECT_EQ(copy.Bitmap()->Canvas()->Pixels(7, 7), clYellow);
  copy.Icon();
  EXPECT_TRUE(copy.Graphic()->Empty());

  // Another kind assigned to a bitmap is drawn onto it.
  TJPEGImage jpeg;
  PaintQuadrants(*jpeg.Bitmap(), 8);
  TBitmap b;
  b.Assign(&jpeg);
  EXPECT_EQ(b.Canvas()->Pixels(7, 0), clLime);
}
