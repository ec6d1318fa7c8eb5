#include "platform/forms/Metafile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiScopes.h"
#include "platform/win/GdiShapes.h"

using namespace win;

namespace {

constexpr const char* SInvalidMetafile = "Metafile is not valid";

// The file (all numbers little-endian):
//
//   0   u32  1 (the header)
//   4   u32  header size, 100
//   8   i32  width, i32 height (pixels)
//  16   24 bytes of 0
//  40   u32  signature, the characters " EMF"
//  44   u32  format version, 1
//  48   u32  file size in bytes, header included
//  52   u32  record count
//  56   44 bytes of 0
// 100   the records, each:
//         u32 kind, u32 record size in bytes (this header included)
//         i32 bounds left, top, right, bottom
//         u32 point count, then i32 x, y per point
//         u32 value count, then i32 per value
//         u32 text size, then the UTF-8 bytes
//         u32 picture size, then (when not 0) u8 class-name size, the class
//             name and the picture as its class saves it
//
// The signature sits where picture loaders look for one.
constexpr uint32_t kHeaderSize = 100;
constexpr uint32_t kSignature = 0x464D4520;
constexpr uint32_t kVersion = 1;
constexpr Integer kMaxSide = 1 << 20;
// Coordinates are kept within this, so that replay at any scale stays far
// from the limits of Integer.
constexpr Integer kMaxCoordinate = 1 << 22;
constexpr Integer kMaxPenWidth = 1 << 16;
constexpr Integer kMaxFontHeight = 1 << 16;
// A picture inside a picture inside ... stops here.
constexpr int kMaxNesting = 8;
thread_local int Nesting = 0;

using Kind = TMetafileRecordKind;
constexpr uint32_t kFirstKind = static_cast<uint32_t>(Kind::Pen);
constexpr uint32_t kLastKind = static_cast<uint32_t>(Kind::Graphic);

// How many points and values a record of each kind has; -1 points: one or more.
struct KindShape {
  int Points;
  int Values;
};

KindShape ShapeOf(Kind K) {
  switch (K) {
    case Kind::Pen: return {0, 4};
    case Kind::Brush: return {0, 2};
    case Kind::Font: return {0, 5};
    case Kind::MoveTo:
    case Kind::LineTo:
    case Kind::TextOut: return {1, 0};
    case Kind::Pixel: return {1, 1};
    case Kind::Rectangle:
    case Kind::Ellipse:
    case Kind::FillRect:
    case Kind::FrameRect:
    case Kind::FocusRect: return {2, 0};
    case Kind::Graphic: return {2, 1};
    case Kind::RoundRect:
    case Kind::TextRect: return {3, 0};
    case Kind::Polygon:
    case Kind::Polyline: return {-1, 0};
  }
  return {0, 0};
}

void Put32(std::string& Out, uint32_t V) {
  for (int i = 0; i < 4; ++i) Out.push_back(static_cast<char>((V >> (8 * i)) & 0xFF));
}

void PutText(std::string& Out, const std::string& Text) {
  Put32(Out, static_cast<uint32_t>(Text.size()));
  Out += Text;
}

class Reader {
 public:
  Reader(const std::string& Data, size_t At, size_t End) : Data_(Data), At_(At), End_(End) {}
  uint32_t U32() {
    Need(4);
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(Data_[At_ + i])) << (8 * i);
    At_ += 4;
    return v;
  }
  Integer I32() { return static_cast<Integer>(U32()); }
  uint8_t U8() {
    Need(1);
    return static_cast<uint8_t>(Data_[At_++]);
  }
  std::string Bytes(size_t Count) {
    Need(Count);
    std::string s = Data_.substr(At_, Count);
    At_ += Count;
    return s;
  }
  void Skip(size_t Count) {
    Need(Count);
    At_ += Count;
  }
  size_t At() const { return At_; }
  size_t Left() const { return End_ - At_; }

 private:
  void Need(size_t Count) const {
    if (Count > End_ - At_) throw EInvalidGraphic(SInvalidMetafile);
  }
  const std::string& Data_;
  size_t At_;
  size_t End_;
};

std::shared_ptr<TGraphic> NewGraphicNamed(const std::string& Name) {
  TClass cls = GetClass(Name);
  if (!cls || !cls->InheritsFrom(TGraphic::StaticClass())) throw EInvalidGraphic(SInvalidMetafile);
  std::unique_ptr<TObject> made(CreateInstance(cls));
  auto* g = dynamic_cast<TGraphic*>(made.get());
  if (!g) throw EInvalidGraphic(SInvalidMetafile);
  made.release();
  return std::shared_ptr<TGraphic>(g);
}

// A copy that the recording keeps, independent of the caller's picture.
std::shared_ptr<TGraphic> CopyOf(TGraphic* Graphic) {
  std::shared_ptr<TGraphic> copy = NewGraphicNamed(Graphic->ClassName());
  copy->Assign(Graphic);
  return copy;
}

bool InRange(Integer V, Integer Low, Integer High) { return V >= Low && V <= High; }

Integer Clamped(Integer V) { return std::clamp(V, -kMaxCoordinate, kMaxCoordinate); }
TPoint Clamped(TPoint P) { return {Clamped(P.X), Clamped(P.Y)}; }
TRect Clamped(TRect R) { return {Clamped(R.Left), Clamped(R.Top), Clamped(R.Right), Clamped(R.Bottom)}; }

// A replayed coordinate, kept well inside Integer.
Integer Rounded(double V) {
  constexpr double far = 1 << 30;
  return static_cast<Integer>(std::clamp(std::round(V), -far, far));
}

// The values a record may carry, so that replay never meets a value its
// setters would refuse.
void CheckValues(const TMetafileRecord& R) {
  const std::vector<Integer>& v = R.Values;
  bool ok = true;
  switch (R.Kind) {
    case Kind::Pen:
      ok = InRange(v[1], psSolid, psInsideFrame) && InRange(v[2], pmBlack, pmNotXor) && InRange(v[3], 0, kMaxPenWidth);
      break;
    case Kind::Brush:
      ok = InRange(v[1], bsSolid, bsDiagCross) && (!R.Graphic || dynamic_cast<TBitmap*>(R.Graphic.get()));
      break;
    case Kind::Font:
      ok = InRange(v[0], -kMaxFontHeight, kMaxFontHeight) && InRange(v[2], 0, 255) && InRange(v[3], fpDefault, fpFixed) &&
           InRange(v[4], 0, 15);
      break;
    case Kind::Graphic: ok = R.Graphic != nullptr; break;
    default: break;
  }
  if (R.Kind != Kind::Graphic && R.Kind != Kind::Brush && R.Graphic) ok = false;
  if (!ok) throw EInvalidGraphic(SInvalidMetafile);
}

TRect Normalized(const TRect& R) {
  return {std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right), std::max(R.Top, R.Bottom)};
}

bool IsEmptyRect(const TRect& R) { return R.Width() <= 0 || R.Height() <= 0; }

TRect Inflated(TRect R, Integer By) { return {R.Left - By, R.Top - By, R.Right + By, R.Bottom + By}; }

TRect BoundsOf(const std::vector<TPoint>& Points) {
  TRect r{Points[0].X, Points[0].Y, Points[0].X + 1, Points[0].Y + 1};
  for (const TPoint& p : Points) {
    r.Left = std::min(r.Left, p.X);
    r.Top = std::min(r.Top, p.Y);
    r.Right = std::max(r.Right, p.X + 1);
    r.Bottom = std::max(r.Bottom, p.Y + 1);
  }
  return r;
}

// The target canvas's pen, brush, font and copy mode come back after a replay.
class CanvasStateGuard {
 public:
  explicit CanvasStateGuard(TCanvas* C) : C_(C), Mode_(C->CopyMode) {
    Pen_.Assign(C->Pen());
    Brush_.Assign(C->Brush());
    Font_.Assign(C->Font());
  }
  ~CanvasStateGuard() {
    C_->Pen()->Assign(&Pen_);
    C_->Brush()->Assign(&Brush_);
    C_->Font()->Assign(&Font_);
    C_->CopyMode = Mode_;
  }
  CanvasStateGuard(const CanvasStateGuard&) = delete;
  CanvasStateGuard& operator=(const CanvasStateGuard&) = delete;

 private:
  TCanvas* C_;
  TCopyMode Mode_;
  TPen Pen_;
  TBrush Brush_;
  TFont Font_;
};

}  // namespace

// Metafiles ---------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TMetafile, TGraphic)

TMetafile::~TMetafile() {
  if (Recorder_) Recorder_->Metafile_ = nullptr;
}

void TMetafile::SetWidth(Integer Value) {
  if (Value < 0 || Value > kMaxSide) throw EInvalidGraphicOperation("Invalid metafile size");
  if (Value == Width_) return;
  Width_ = Value;
  Changed();
}

void TMetafile::SetHeight(Integer Value) {
  if (Value < 0 || Value > kMaxSide) throw EInvalidGraphicOperation("Invalid metafile size");
  if (Value == Height_) return;
  Height_ = Value;
  Changed();
}

void TMetafile::Clear() {
  Records_.clear();
  Width_ = Height_ = 0;
  Changed();
}

void TMetafile::Append(TMetafileRecord Record) { Records_.push_back(std::move(Record)); }

void TMetafile::CanvasChanged(TObject*) { Changed(); }

void TMetafile::SaveToStream(TStream& Stream) {
  std::string out(kHeaderSize, '\0');
  for (const TMetafileRecord& r : Records_) {
    std::string rec;
    Put32(rec, static_cast<uint32_t>(r.Kind));
    Put32(rec, 0);  // the size, filled in below
    for (Integer v : {r.Bounds.Left, r.Bounds.Top, r.Bounds.Right, r.Bounds.Bottom}) Put32(rec, static_cast<uint32_t>(v));
    Put32(rec, static_cast<uint32_t>(r.Points.size()));
    for (const TPoint& p : r.Points) {
      Put32(rec, static_cast<uint32_t>(p.X));
      Put32(rec, static_cast<uint32_t>(p.Y));
    }
    Put32(rec, static_cast<uint32_t>(r.Values.size()));
    for (Integer v : r.Values) Put32(rec, static_cast<uint32_t>(v));
    PutText(rec, r.Text);
    std::string picture;
    if (r.Graphic) {
      std::string name = r.Graphic->ClassName();
      picture.push_back(static_cast<char>(name.size()));
      picture += name;
      TMemoryStream data;
      r.Graphic->SaveToStream(data);
      picture.append(static_cast<const char*>(data.Memory()), static_cast<size_t>(data.Size()));
    }
    PutText(rec, picture);
    uint32_t size = static_cast<uint32_t>(rec.size());
    for (int i = 0; i < 4; ++i) rec[4 + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
    out += rec;
  }
  std::string head;
  Put32(head, 1);
  Put32(head, kHeaderSize);
  Put32(head, static_cast<uint32_t>(Width_));
  Put32(head, static_cast<uint32_t>(Height_));
  out.replace(0, head.size(), head);
  auto put = [&out](size_t At, uint32_t V) {
    for (int i = 0; i < 4; ++i) out[At + i] = static_cast<char>((V >> (8 * i)) & 0xFF);
  };
  put(40, kSignature);
  put(44, kVersion);
  put(48, static_cast<uint32_t>(out.size()));
  put(52, static_cast<uint32_t>(Records_.size()));
  Stream.WriteBuffer(out.data(), static_cast<Int64>(out.size()));
}

void TMetafile::LoadFromStream(TStream& Stream) {
  if (Nesting >= kMaxNesting) throw EInvalidGraphic(SInvalidMetafile);
  ++Nesting;
  struct Leave {
    ~Leave() { --Nesting; }
  } leave;

  std::string data(kHeaderSize, '\0');
  if (Stream.Read(data.data(), kHeaderSize) != kHeaderSize) throw EInvalidGraphic(SInvalidMetafile);
  Reader head(data, 0, kHeaderSize);
  uint32_t type = head.U32(), headerSize = head.U32();
  Integer width = head.I32(), height = head.I32();
  Reader tail(data, 40, kHeaderSize);
  uint32_t signature = tail.U32(), version = tail.U32(), fileSize = tail.U32(), count = tail.U32();
  if (type != 1 || headerSize != kHeaderSize || signature != kSignature || version != kVersion ||
      !InRange(width, 0, kMaxSide) || !InRange(height, 0, kMaxSide) || fileSize < kHeaderSize ||
      fileSize - kHeaderSize > Stream.Size() - Stream.Position())
    throw EInvalidGraphic(SInvalidMetafile);
  data.resize(fileSize);
  Stream.ReadBuffer(data.data() + kHeaderSize, fileSize - kHeaderSize);

  std::vector<TMetafileRecord> records;
  Reader in(data, kHeaderSize, fileSize);
  for (uint32_t n = 0; n < count; ++n) {
    size_t start = in.At();
    uint32_t kind = in.U32(), size = in.U32();
    if (kind < kFirstKind || kind > kLastKind || size < 8 || size > in.Left() + 8) throw EInvalidGraphic(SInvalidMetafile);
    Reader rec(data, in.At(), start + size);
    TMetafileRecord r;
    r.Kind = static_cast<Kind>(kind);
    r.Bounds.Left = rec.I32();
    r.Bounds.Top = rec.I32();
    r.Bounds.Right = rec.I32();
    r.Bounds.Bottom = rec.I32();
    KindShape shape = ShapeOf(r.Kind);
    uint32_t points = rec.U32();
    if (shape.Points >= 0 ? points != static_cast<uint32_t>(shape.Points) : points == 0 || points > rec.Left() / 8)
      throw EInvalidGraphic(SInvalidMetafile);
    r.Points.resize(points);
    for (TPoint& p : r.Points) {
      p.X = rec.I32();
      p.Y = rec.I32();
      if (Clamped(p) != p) throw EInvalidGraphic(SInvalidMetafile);
    }
    if (rec.U32() != static_cast<uint32_t>(shape.Values)) throw EInvalidGraphic(SInvalidMetafile);
    r.Values.resize(static_cast<size_t>(shape.Values));
    for (Integer& v : r.Values) v = rec.I32();
    r.Text = rec.Bytes(rec.U32());
    uint32_t pictureSize = rec.U32();
    if (pictureSize > rec.Left()) throw EInvalidGraphic(SInvalidMetafile);
    if (pictureSize > 0) {
      Reader picture(data, rec.At(), rec.At() + pictureSize);
      std::string name = picture.Bytes(picture.U8());
      r.Graphic = NewGraphicNamed(name);
      std::string bytes = picture.Bytes(picture.Left());
      TMemoryStream stream;
      stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
      stream.SetPosition(0);
      r.Graphic->LoadFromStream(stream);
      rec.Skip(pictureSize);
    }
    if (rec.Left() != 0) throw EInvalidGraphic(SInvalidMetafile);
    CheckValues(r);
    records.push_back(std::move(r));
    in.Skip(size - 8);
  }
  if (in.Left() != 0) throw EInvalidGraphic(SInvalidMetafile);
  Records_ = std::move(records);
  Width_ = width;
  Height_ = height;
  Changed();
}

void TMetafile::Assign(TPersistent* Source) {
  if (!Source) {
    Clear();
    return;
  }
  if (auto* m = dynamic_cast<TMetafile*>(Source)) {
    if (m == this) return;
    // Records share their pictures, which nothing changes once recorded.
    Records_ = m->Records_;
    Width_ = m->Width_;
    Height_ = m->Height_;
    Transparent_ = m->Transparent_;
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

void TMetafile::Draw(TCanvas* ACanvas, const TRect& R) {
  if (Empty() || R.Width() == 0 || R.Height() == 0) return;
  const double sx = static_cast<double>(R.Width()) / Width_;
  const double sy = static_cast<double>(R.Height()) / Height_;
  auto mapX = [&](Integer X) { return Rounded(R.Left + X * sx); };
  auto mapY = [&](Integer Y) { return Rounded(R.Top + Y * sy); };
  auto map = [&](const TPoint& P) { return TPoint{mapX(P.X), mapY(P.Y)}; };
  auto mapRect = [&](const TPoint& A, const TPoint& B) { return TRect{mapX(A.X), mapY(A.Y), mapX(B.X), mapY(B.Y)}; };

  CanvasStateGuard state(ACanvas);
  HDC dc = ACanvas->Handle();
  SavedDc saved(dc);
  TRect clip = Normalized(R);
  IntersectClipRect(dc, clip.Left, clip.Top, clip.Right, clip.Bottom);
  TPen* pen = ACanvas->Pen();
  TBrush* brush = ACanvas->Brush();
  TFont* font = ACanvas->Font();
  for (const TMetafileRecord& r : Records_) {
    const std::vector<TPoint>& p = r.Points;
    const std::vector<Integer>& v = r.Values;
    switch (r.Kind) {
      case Kind::Pen: {
        pen->SetColor(v[0]);
        pen->SetStyle(static_cast<TPenStyle>(v[1]));
        pen->SetMode(static_cast<TPenMode>(v[2]));
        // A one-pixel pen stays one pixel wide however small the picture.
        Integer width = v[3] == 0 ? 0 : std::clamp<Integer>(Rounded(v[3] * (sx + sy) / 2), 1, kMaxPenWidth);
        pen->SetWidth(width);
        break;
      }
      case Kind::Brush:
        brush->SetBitmap(static_cast<TBitmap*>(r.Graphic.get()));
        brush->SetColor(v[0]);
        brush->SetStyle(static_cast<TBrushStyle>(v[1]));
        break;
      case Kind::Font: {
        font->SetName(r.Text);
        Integer height = std::clamp<Integer>(Rounded(v[0] * sy), -kMaxFontHeight, kMaxFontHeight);
        if (height == 0 && v[0] != 0) height = v[0] < 0 ? -1 : 1;
        font->SetHeight(height);
        font->SetColor(v[1]);
        font->SetCharset(v[2]);
        font->SetPitch(static_cast<TFontPitch>(v[3]));
        font->SetStyle(TFontStyles::FromBits(static_cast<uint64_t>(v[4])));
        break;
      }
      case Kind::MoveTo: ACanvas->MoveTo(mapX(p[0].X), mapY(p[0].Y)); break;
      case Kind::LineTo: ACanvas->LineTo(mapX(p[0].X), mapY(p[0].Y)); break;
      case Kind::Rectangle: ACanvas->Rectangle(mapRect(p[0], p[1])); break;
      case Kind::Ellipse: ACanvas->Ellipse(mapRect(p[0], p[1])); break;
      case Kind::RoundRect: {
        TRect box = mapRect(p[0], p[1]);
        ACanvas->RoundRect(box.Left, box.Top, box.Right, box.Bottom, Rounded(p[2].X * sx), Rounded(p[2].Y * sy));
        break;
      }
      case Kind::Polygon:
      case Kind::Polyline: {
        std::vector<TPoint> mapped;
        mapped.reserve(p.size());
        for (const TPoint& q : p) mapped.push_back(map(q));
        if (r.Kind == Kind::Polygon)
          ACanvas->Polygon(mapped);
        else
          ACanvas->Polyline(mapped);
        break;
      }
      case Kind::FillRect: ACanvas->FillRect(mapRect(p[0], p[1])); break;
      case Kind::FrameRect: ACanvas->FrameRect(mapRect(p[0], p[1])); break;
      case Kind::FocusRect: ACanvas->DrawFocusRect(mapRect(p[0], p[1])); break;
      case Kind::Pixel: {
        // At 1:1 one pixel; larger, the cell the pixel scales to.
        TRect cell = mapRect(p[0], TPoint{p[0].X + 1, p[0].Y + 1});
        if (cell.Width() <= 1 && cell.Height() <= 1) {
          ACanvas->SetPixels(cell.Left, cell.Top, v[0]);
        } else {
          OwnedGdiObject fill(CreateSolidBrush(ColorToRGB(v[0])));
          RECT rc{cell.Left, cell.Top, cell.Right, cell.Bottom};
          win::FillRect(dc, &rc, static_cast<HBRUSH>(fill.Get()));
        }
        break;
      }
      case Kind::TextOut: ACanvas->TextOut(mapX(p[0].X), mapY(p[0].Y), r.Text); break;
      case Kind::TextRect: ACanvas->TextRect(mapRect(p[0], p[1]), mapX(p[2].X), mapY(p[2].Y), r.Text); break;
      case Kind::Graphic: {
        ACanvas->CopyMode = static_cast<TCopyMode>(v[0]);
        ACanvas->StretchDraw(mapRect(p[0], p[1]), r.Graphic.get());
        break;
      }
    }
  }
}

// Recording canvas ------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TMetafileCanvas, TCanvas)

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice) : Metafile_(AMetafile) {
  if (!AMetafile) throw EInvalidGraphicOperation("A metafile canvas needs a metafile");
  if (ReferenceDevice) {
    DWORD type = GetObjectType(ReferenceDevice);
    if (type != OBJ_DC && type != OBJ_MEMDC) throw EInvalidGraphicOperation("Invalid reference device");
  }
  if (AMetafile->Recorder_) throw EInvalidGraphicOperation("The metafile is being recorded already");
  DC_ = CreateCompatibleDC(ReferenceDevice);
  if (!DC_) throw EOutOfResources("Out of system resources");
  SetHandle(DC_);
  AMetafile->Records_.clear();
  GrowSize_ = AMetafile->Width_ == 0 || AMetafile->Height_ == 0;
  AMetafile->Recorder_ = this;
  OnChange = TNotifyEvent(AMetafile, &TMetafile::CanvasChanged);
}

TMetafileCanvas::~TMetafileCanvas() {
  if (Metafile_) Metafile_->Recorder_ = nullptr;
  SetHandle(nullptr);
  DeleteDC(DC_);
}

TMetafile* TMetafileCanvas::Target() {
  if (!Metafile_) throw EInvalidGraphicOperation("The canvas's metafile is gone");
  return Metafile_;
}

// How far a wide pen reaches beyond the line it draws.
Integer TMetafileCanvas::PenMargin() const { return Pen()->GetWidth() / 2; }

void TMetafileCanvas::Record(TMetafileRecord R, bool WithPen, bool WithBrush, bool WithFont) {
  TMetafile* target = Target();
  Changing();
  if (WithPen) {
    TPen* p = Pen();
    std::vector<Integer> now{static_cast<Integer>(p->GetColor()), p->GetStyle(), p->GetMode(), p->GetWidth()};
    if (now != Pen_) {
      TMetafileRecord s;
      s.Kind = Kind::Pen;
      s.Values = now;
      target->Append(std::move(s));
      Pen_ = std::move(now);
    }
  }
  if (WithBrush) {
    TBrush* b = Brush();
    std::vector<Integer> now{static_cast<Integer>(b->GetColor()), b->GetStyle()};
    // A pattern goes in every time: comparing pictures costs more than it saves.
    if (now != Brush_ || b->GetBitmap()) {
      TMetafileRecord s;
      s.Kind = Kind::Brush;
      s.Values = now;
      if (b->GetBitmap()) s.Graphic = CopyOf(b->GetBitmap());
      target->Append(std::move(s));
      Brush_ = b->GetBitmap() ? std::vector<Integer>{} : std::move(now);
    }
  }
  if (WithFont) {
    TFont* f = Font();
    std::vector<Integer> now{f->GetHeight(), static_cast<Integer>(f->GetColor()), f->GetCharset(), f->GetPitch(),
                             static_cast<Integer>(f->GetStyle().Bits())};
    if (now != Font_ || f->GetName() != FontName_) {
      TMetafileRecord s;
      s.Kind = Kind::Font;
      s.Values = now;
      s.Text = f->GetName();
      target->Append(std::move(s));
      Font_ = std::move(now);
      FontName_ = f->GetName();
    }
  }
  // Drawing this far out is off any picture; clamping keeps the file loadable.
  for (TPoint& p : R.Points) p = Clamped(p);
  R.Bounds = Clamped(R.Bounds);
  if (GrowSize_ && !IsEmptyRect(R.Bounds)) {
    target->Width_ = std::clamp<Integer>(std::max(target->Width_, R.Bounds.Right), 0, kMaxSide);
    target->Height_ = std::clamp<Integer>(std::max(target->Height_, R.Bounds.Bottom), 0, kMaxSide);
  }
  target->Append(std::move(R));
  Changed();
}

void TMetafileCanvas::Record(TMetafileRecordKind K, std::vector<TPoint> Points, TRect Bounds) {
  TMetafileRecord r;
  r.Kind = K;
  r.Points = std::move(Points);
  r.Bounds = Bounds;
  bool pen = K == Kind::LineTo || K == Kind::Polyline || K == Kind::Rectangle || K == Kind::RoundRect ||
             K == Kind::Ellipse || K == Kind::Polygon;
  bool brush = K == Kind::Rectangle || K == Kind::RoundRect || K == Kind::Ellipse || K == Kind::Polygon ||
               K == Kind::FillRect || K == Kind::FrameRect;
  Record(std::move(r), pen, brush, false);
}

void TMetafileCanvas::SetPixels(Integer X, Integer Y, TColor Value) {
  TMetafileRecord r;
  r.Kind = Kind::Pixel;
  r.Points = {{X, Y}};
  r.Values = {static_cast<Integer>(Value)};
  r.Bounds = {X, Y, X + 1, Y + 1};
  Record(std::move(r), false, false, false);
}

void TMetafileCanvas::MoveTo(Integer X, Integer Y) {
  Target();
  TCanvas::MoveTo(X, Y);
  TMetafileRecord r;
  r.Kind = Kind::MoveTo;
  r.Points = {Clamped(TPoint{X, Y})};
  Target()->Append(std::move(r));
}

void TMetafileCanvas::LineTo(Integer X, Integer Y) {
  TPoint from = PenPos();
  Record(Kind::LineTo, {{X, Y}}, Inflated(BoundsOf({from, {X, Y}}), PenMargin()));
  MoveToEx(Handle(), X, Y, nullptr);
}

void TMetafileCanvas::Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Record(Kind::Rectangle, {{X1, Y1}, {X2, Y2}}, Inflated(Normalized({X1, Y1, X2, Y2}), PenMargin()));
}

void TMetafileCanvas::RoundRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3) {
  Record(Kind::RoundRect, {{X1, Y1}, {X2, Y2}, {X3, Y3}}, Inflated(Normalized({X1, Y1, X2, Y2}), PenMargin()));
}

void TMetafileCanvas::Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Record(Kind::Ellipse, {{X1, Y1}, {X2, Y2}}, Inflated(Normalized({X1, Y1, X2, Y2}), PenMargin()));
}

void TMetafileCanvas::Polygon(const std::vector<TPoint>& Points) {
  if (Points.empty()) return;
  Record(Kind::Polygon, Points, Inflated(BoundsOf(Points), PenMargin()));
}

void TMetafileCanvas::Polyline(const std::vector<TPoint>& Points) {
  if (Points.empty()) return;
  Record(Kind::Polyline, Points, Inflated(BoundsOf(Points), PenMargin()));
}

void TMetafileCanvas::FillRect(const TRect& R) {
  Record(Kind::FillRect, {R.TopLeft(), R.BottomRight()}, Normalized(R));
}

void TMetafileCanvas::FrameRect(const TRect& R) {
  Record(Kind::FrameRect, {R.TopLeft(), R.BottomRight()}, Normalized(R));
}

void TMetafileCanvas::DrawFocusRect(const TRect& R) {
  Record(Kind::FocusRect, {R.TopLeft(), R.BottomRight()}, Normalized(R));
}

void TMetafileCanvas::TextOut(Integer X, Integer Y, const std::string& Text) {
  TSize size = TextExtent(Text);
  TMetafileRecord r;
  r.Kind = Kind::TextOut;
  r.Points = {{X, Y}};
  r.Text = Text;
  r.Bounds = {X, Y, X + size.cx, Y + size.cy};
  Record(std::move(r), false, true, true);
  MoveToEx(Handle(), X + size.cx, Y, nullptr);
}

void TMetafileCanvas::TextRect(const TRect& R, Integer X, Integer Y, const std::string& Text) {
  TSize size = TextExtent(Text);
  TRect box = Normalized(R);
  TMetafileRecord r;
  r.Kind = Kind::TextRect;
  r.Points = {R.TopLeft(), R.BottomRight(), {X, Y}};
  r.Text = Text;
  // Opaque text fills the whole rectangle; the text itself is clipped to it.
  if (Brush()->GetStyle() == bsClear)
    r.Bounds = {std::max(box.Left, X), std::max(box.Top, Y), std::min(box.Right, X + size.cx),
                std::min(box.Bottom, Y + size.cy)};
  else
    r.Bounds = box;
  if (IsEmptyRect(r.Bounds)) r.Bounds = {};
  Record(std::move(r), false, true, true);
}

void TMetafileCanvas::RecordGraphic(const TRect& R, std::shared_ptr<TGraphic> Graphic, TCopyMode Mode) {
  TMetafileRecord r;
  r.Kind = Kind::Graphic;
  r.Points = {R.TopLeft(), R.BottomRight()};
  r.Values = {static_cast<Integer>(Mode)};
  r.Graphic = std::move(Graphic);
  r.Bounds = Normalized(R);
  Record(std::move(r), false, false, false);
}

void TMetafileCanvas::Draw(Integer X, Integer Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  StretchDraw(Rect(X, Y, X + Graphic->Width(), Y + Graphic->Height()), Graphic);
}

void TMetafileCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  if (Graphic == Metafile_) throw EInvalidGraphicOperation("A metafile cannot draw itself");
  RecordGraphic(R, CopyOf(Graphic), CopyMode);
}

void TMetafileCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  if (Source.Width() == 0 || Source.Height() == 0) return;
  // The source's pixels as they are now.
  TRect from = Normalized(Source);
  auto copy = std::make_shared<TBitmap>();
  copy->SetSize(from.Width(), from.Height());
  copy->Canvas()->CopyRect(Rect(0, 0, from.Width(), from.Height()), Canvas, from);
  // A mirrored source or target mirrors the copy.
  TRect to = Normalized(Dest);
  if ((Source.Right < Source.Left) != (Dest.Right < Dest.Left)) std::swap(to.Left, to.Right);
  if ((Source.Bottom < Source.Top) != (Dest.Bottom < Dest.Top)) std::swap(to.Top, to.Bottom);
  RecordGraphic(to, std::move(copy), CopyMode);
}

void TMetafileCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
  if (!Bitmap || Bitmap->Empty() || Source.Width() <= 0 || Source.Height() <= 0) return;
  auto copy = std::make_shared<TBitmap>();
  copy->SetSize(Source.Width(), Source.Height());
  copy->Canvas()->Brush()->Assign(Brush());
  copy->Canvas()->BrushCopy(Rect(0, 0, Source.Width(), Source.Height()), Bitmap, Source, Color);
  RecordGraphic(Dest, std::move(copy), cmSrcCopy);
}

void RegisterMetafileClasses() { RegisterClasses({TMetafile::StaticClass()}); }
