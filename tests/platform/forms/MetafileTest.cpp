// Recorded pictures. Drawing goes through the plain GDI path of our renderer
// (no visual-style parts are involved).
#include "platform/forms/Metafile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win/Gdi.h"

namespace {

using Kind = TMetafileRecordKind;

// Every kind of call, drawn on any canvas.
void DrawScene(TCanvas* c) {
  c->Brush()->SetColor(clYellow);
  c->FillRect(Rect(0, 0, 60, 40));
  c->Pen()->SetColor(clBlue);
  c->Pen()->SetWidth(2);
  c->Brush()->SetColor(clRed);
  c->Rectangle(2, 2, 20, 14);
  c->Pen()->SetWidth(1);
  c->Brush()->SetStyle(bsClear);
  c->Ellipse(30, 2, 50, 18);
  c->RoundRect(2, 20, 20, 34, 6, 6);
  c->MoveTo(0, 38);
  c->LineTo(40, 38);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clLime);
  c->Polygon({Point(44, 24), Point(56, 24), Point(50, 34)});
  c->Polyline({Point(22, 22), Point(28, 30), Point(34, 22)});
  c->Brush()->SetColor(clNavy);
  c->FrameRect(Rect(36, 20, 42, 26));
  c->SetPixels(59, 39, clFuchsia);
  c->Font()->SetColor(clBlack);
  c->Brush()->SetColor(clWhite);
  c->TextOut(22, 2, "Ab");
  c->TextRect(Rect(22, 26, 34, 36), 23, 26, "Wide text");
  TBitmap small;
  small.SetSize(4, 3);
  small.Canvas()->Brush()->SetColor(clTeal);
  small.Canvas()->FillRect(Rect(0, 0, 4, 3));
  c->Draw(54, 2, &small);
}

// The bitmap's pixels as one string, for comparing whole pictures.
std::vector<TColor> PixelsOf(TBitmap& b) {
  std::vector<TColor> out;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.push_back(b.Canvas()->Pixels(x, y));
  return out;
}

void Record(TMetafile& m, const std::function<void(TCanvas*)>& Draw) {
  TMetafileCanvas c(&m, nullptr);
  Draw(&c);
}

std::string Saved(TMetafile& m) {
  TMemoryStream s;
  m.SaveToStream(s);
  return std::string(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

void LoadBytes(TMetafile& m, const std::string& Bytes) {
  TMemoryStream s;
  s.WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
  s.SetPosition(0);
  m.LoadFromStream(s);
}

void Set32(std::string& d, size_t At, uint32_t V) {
  for (int i = 0; i < 4; ++i) d[At + i] = static_cast<char>((V >> (8 * i)) & 0xFF);
}

}  // namespace

TEST(MetafileTest, ReplayAtItsOwnSizeMatchesDrawingDirectly) {
  TMetafile m;
  Record(m, DrawScene);
  EXPECT_EQ(m.Width(), 60);  // grown to what was drawn
  EXPECT_EQ(m.Height(), 40);

  TBitmap direct, replayed;
  direct.SetSize(60, 40);
  replayed.SetSize(60, 40);
  DrawScene(direct.Canvas());
  replayed.Canvas()->Pen()->SetColor(clGreen);
  replayed.Canvas()->Draw(0, 0, &m);
  EXPECT_EQ(PixelsOf(replayed), PixelsOf(direct));
  // The target canvas keeps its own pen.
  EXPECT_EQ(replayed.Canvas()->Pen()->GetColor(), clGreen);

  // Once saved and loaded the picture is the same.
  TMetafile loaded;
  LoadBytes(loaded, Saved(m));
  ASSERT_EQ(loaded.Records().size(), m.Records().size());
  EXPECT_EQ(Saved(loaded), Saved(m));
  TBitmap again;
  again.SetSize(60, 40);
  again.Canvas()->Draw(0, 0, &loaded);
  EXPECT_EQ(PixelsOf(again), PixelsOf(direct));
}

TEST(MetafileTest, ScalesIntoTheTargetAndClipsToIt) {
  TMetafile m;
  m.SetWidth(10);
  m.SetHeight(10);
  Record(m, [](TCanvas* c) {
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(2, 2, 6, 6));
    c->SetPixels(9, 0, clBlue);
    c->FillRect(Rect(8, 8, 30, 30));  // beyond the picture's own size
  });
  EXPECT_EQ(m.Width(), 10);  // a size given before recording stays

  TBitmap b;
  b.SetSize(40, 40);
  b.Canvas()->StretchDraw(Rect(10, 10, 30, 30), &m);
  EXPECT_EQ(b.Canvas()->Pixels(14, 14), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(21, 21), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(22, 22), clWhite);
  EXPECT_EQ(b.Canvas()->Pixels(13, 13), clWhite);
  // One pixel of the picture covers two by two.
  EXPECT_EQ(b.Canvas()->Pixels(28, 10), clBlue);
  EXPECT_EQ(b.Canvas()->Pixels(29, 11), clBlue);
  // The overflowing fill stops at the target's edge.
  EXPECT_EQ(b.Canvas()->Pixels(29, 29), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(30, 30), clWhite);
  EXPECT_EQ(b.Canvas()->Pixels(35, 29), clWhite);
}

TEST(MetafileTest, RecordsTextWithItsBoxAndStateOnlyWhenItChanges) {
  TMetafile m;
  TSize extent;
  int changes = 0;
  struct Counter {
    int* n;
    void Hit(TObject*) { ++*n; }
  } counter{&changes};
  m.OnChange = TNotifyEvent(&counter, &Counter::Hit);
  Record(m, [&](TCanvas* c) {
    extent = c->TextExtent("Find me");
    c->TextOut(5, 7, "Find me");
    EXPECT_EQ(c->PenPos(), Point(5 + extent.cx, 7));
    c->TextOut(5, 30, "again");
    c->Rectangle(0, 0, 4, 4);
    c->Rectangle(0, 0, 4, 4);
  });
  EXPECT_EQ(changes, 4);
  std::vector<Kind> kinds;
  for (const TMetafileRecord& r : m.Records()) kinds.push_back(r.Kind);
  EXPECT_EQ(kinds, (std::vector<Kind>{Kind::Brush, Kind::Font, Kind::TextOut, Kind::TextOut, Kind::Pen,
                                      Kind::Rectangle, Kind::Rectangle}));
  const TMetafileRecord& text = m.Records()[2];
  EXPECT_EQ(text.Text, "Find me");
  EXPECT_EQ(text.Bounds, Rect(5, 7, 5 + extent.cx, 7 + extent.cy));
}

TEST(MetafileTest, EmbeddedPicturesAndPatternsAreCopiesThatSurviveSaving) {
  TBitmap pattern;
  pattern.SetSize(2, 2);
  pattern.Canvas()->SetPixels(0, 0, clBlack);
  pattern.Canvas()->SetPixels(1, 1, clBlack);
  TBitmap picture;
  picture.SetSize(3, 3);
  picture.Canvas()->Brush()->SetColor(clBlue);
  picture.Canvas()->FillRect(Rect(0, 0, 3, 3));

  TMetafile m;
  m.SetWidth(20);
  m.SetHeight(10);
  Record(m, [&](TCanvas* c) {
    c->Brush()->SetBitmap(&pattern);
    c->FillRect(Rect(0, 0, 10, 10));
    c->StretchDraw(Rect(10, 0, 16, 6), &picture);
  });
  picture.Canvas()->Brush()->SetColor(clRed);  // the recording keeps what was drawn
  picture.Canvas()->FillRect(Rect(0, 0, 3, 3));

  TMetafile loaded;
  LoadBytes(loaded, Saved(m));
  for (TMetafile* shown : {&m, &loaded}) {
    TBitmap b;
    b.SetSize(20, 10);
    b.Canvas()->Draw(0, 0, shown);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clBlack);
    EXPECT_EQ(b.Canvas()->Pixels(1, 0), clWhite);
    EXPECT_EQ(b.Canvas()->Pixels(15, 5), clBlue);
    EXPECT_EQ(b.Canvas()->Pixels(16, 6), clWhite);
  }

  // A picture holds its metafile through the class registry and copies it.
  TPicture p;
  p.SetGraphic(&m);
  ASSERT_NE(dynamic_cast<TMetafile*>(p.Graphic()), nullptr);
  EXPECT_EQ(Saved(*static_cast<TMetafile*>(p.Graphic())), Saved(m));
}

TEST(MetafileTest, LoadingRefusesDamagedFiles) {
  TMetafile m;
  Record(m, [](TCanvas* c) {
    c->Pen()->SetColor(clRed);
    c->LineTo(8, 8);
  });
  const std::string good = Saved(m);
  // Records: Pen (at 100), LineTo. The Pen record's values start
  // after kind, size, bounds and the point count.
  const size_t pen = 100, penStyle = pen + 8 + 16 + 4 + 4 + 4;
  struct Case {
    const char* what;
    std::function<void(std::string&)> damage;
  };
  const Case cases[] = {
      {"empty", [](std::string& d) { d.clear(); }},
      {"header cut", [](std::string& d) { d.resize(60); }},
      {"records cut", [](std::string& d) { d.resize(d.size() - 3); }},
      {"signature", [](std::string& d) { d[40] = 'X'; }},
      {"version", [](std::string& d) { Set32(d, 44, 2); }},
      {"negative width", [](std::string& d) { Set32(d, 8, 0xFFFFFFFF); }},
      {"file size beyond the data", [](std::string& d) { Set32(d, 48, static_cast<uint32_t>(d.size() + 1)); }},
      {"more records than there are", [](std::string& d) { Set32(d, 52, 3); }},
      {"fewer records than the data", [](std::string& d) { Set32(d, 52, 1); }},
      {"unknown kind", [&](std::string& d) { Set32(d, pen, 99); }},
      {"record size beyond the file", [&](std::string& d) { Set32(d, pen + 4, 100000); }},
      {"points where none belong", [&](std::string& d) { Set32(d, pen + 24, 1); }},
      {"pen style out of range", [&](std::string& d) { Set32(d, penStyle, 99); }},
      {"text longer than its record", [&](std::string& d) { Set32(d, penStyle + 12, 1000); }},
      {"picture longer than its record", [&](std::string& d) { Set32(d, penStyle + 16, 1000); }},
  };
  for (const Case& c : cases) {
    std::string bad = good;
    c.damage(bad);
    TMetafile target;
    EXPECT_THROW(LoadBytes(target, bad), EInvalidGraphic) << c.what;
    EXPECT_TRUE(target.Records().empty()) << c.what;
  }

  // A picture that names a class which is no picture.
  TMetafile withPicture;
  withPicture.SetWidth(4);
  withPicture.SetHeight(4);
  TBitmap b;
  b.SetSize(1, 1);
  Record(withPicture, [&](TCanvas* c) { c->Draw(0, 0, &b); });
  std::string named = Saved(withPicture);
  size_t at = named.find("TBitmap");
  ASSERT_NE(at, std::string::npos);
  named.replace(at, 7, "TCanvas");
  TMetafile target;
  EXPECT_THROW(LoadBytes(target, named), EInvalidGraphic);

  // Metafiles inside metafiles stop at a depth.
  TMetafile nested;
  Record(nested, [](TCanvas* c) { c->SetPixels(0, 0, clRed); });
  for (int depth = 0; depth < 10; ++depth) {
    TMetafile outer;
    Record(outer, [&](TCanvas* c) { c->Draw(0, 0, &nested); });
    nested.Assign(&outer);
  }
  TMetafile deep;
  EXPECT_THROW(LoadBytes(deep, Saved(nested)), EInvalidGraphic);
}

TEST(MetafileTest, CanvasRulesAndLifetime) {
  TMetafile m;
  EXPECT_THROW(TMetafileCanvas(nullptr, nullptr), EInvalidGraphicOperation);
  EXPECT_THROW(TMetafileCanvas(&m, reinterpret_cast<win::HDC>(static_cast<intptr_t>(12345))),
               EInvalidGraphicOperation);
  {
    TMetafileCanvas c(&m, nullptr);
    EXPECT_THROW(TMetafileCanvas(&m, nullptr), EInvalidGraphicOperation);  // one recorder at a time
    c.SetPixels(0, 0, clRed);
    EXPECT_THROW(c.Draw(0, 0, &m), EInvalidGraphicOperation);
  }
  // A new canvas starts the recording again.
  {
    TMetafileCanvas c(&m, nullptr);
    c.SetPixels(0, 0, clBlue);
  }
  ASSERT_EQ(m.Records().size(), 1u);
  EXPECT_EQ(m.Records()[0].Values[0], clBlue);

  // A canvas that outlives its metafile refuses to draw.
  auto gone = std::make_unique<TMetafile>();
  TMetafileCanvas orphan(gone.get(), nullptr);
  gone.reset();
  EXPECT_THROW(orphan.LineTo(3, 3), EInvalidGraphicOperation);
}
