#include "platform/forms/Graphics.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/forms/Jpeg.h"
#include "platform/forms/PngImage.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiFonts.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/Input.h"
#include "platform/win/SysColors.h"
#include "platform/win/GdiScopes.h"

using namespace win;

VXN_IMPLEMENT_CLASS(EInvalidGraphic, Exception)
VXN_IMPLEMENT_CLASS(EInvalidGraphicOperation, Exception)

namespace {

constexpr const char* SInvalidBitmap = "Bitmap image is not valid";
constexpr const char* SInvalidIcon = "Icon image is not valid";

// Bitmaps larger than this are refused rather than allocated.
constexpr int64_t kMaxPixels = int64_t{1} << 28;

uint32_t ColorRefToPixel(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

std::string ReadRest(TStream& Stream) {
  Int64 left = Stream.Size() - Stream.Position();
  std::string data(static_cast<size_t>(std::max<Int64>(left, 0)), '\0');
  if (!data.empty()) data.resize(static_cast<size_t>(Stream.Read(data.data(), left)));
  return data;
}

uint16_t Get16(const std::string& d, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(d[at]) | (static_cast<uint8_t>(d[at + 1]) << 8));
}
uint32_t Get32(const std::string& d, size_t at) { return Get16(d, at) | (static_cast<uint32_t>(Get16(d, at + 2)) << 16); }
void Put16(std::string& d, uint32_t v) {
  d.push_back(static_cast<char>(v & 0xFF));
  d.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& d, uint32_t v) {
  Put16(d, v & 0xFFFF);
  Put16(d, v >> 16);
}

size_t RowBytes(int64_t width, int bpp) { return static_cast<size_t>(((width * bpp + 31) / 32) * 4); }

// A device-independent bitmap as found in BMP files and icons:
//
//   info header  size(4) width(4) height(4, < 0 = top-down) planes(2) bpp(2)
//                compression(4) imageSize(4) xppm(4) yppm(4) used(4) important(4)
//                [V4/V5: red, green, blue, alpha masks(4 each) ...]
//   or the old core header: size(4)=12 width(2) height(2) planes(2) bpp(2)
//   [3 masks(4 each) for BI_BITFIELDS after a 40-byte header]
//   palette      RGBQUAD (B, G, R, 0) per entry, RGBTRIPLE after a core header
//   pixels       rows padded to 4 bytes, bottom-up unless height < 0
struct DibImage {
  int Width = 0;
  int Height = 0;
  int Bpp = 0;
  std::vector<uint32_t> Pixels;  // 0x00RRGGBB, top row first
  std::vector<uint8_t> Alpha;    // 32-bit images only
  size_t End = 0;                // offset just past the pixel rows
};

// Decodes the DIB whose info header starts at `at`; bitsAt is where the rows
// start (0: right after the palette). Rows beyond the data are an error,
// never read past it.
DibImage DecodeDib(const std::string& d, size_t at, size_t bitsAt, bool icon, const char* error) {
  auto need = [&](size_t end) {
    if (end > d.size() || end < at) throw EInvalidGraphic(error);
  };
  need(at + 12);
  DibImage img;
  uint32_t headerSize = Get32(d, at);
  int64_t width, height;
  uint32_t compression = BI_RGB;
  uint32_t used = 0;
  bool core = headerSize == 12;
  uint32_t masks[3] = {0, 0, 0};
  if (core) {
    width = Get16(d, at + 4);
    height = static_cast<int16_t>(Get16(d, at + 8));
    img.Bpp = Get16(d, at + 10);
  } else {
    if (headerSize < 40) throw EInvalidGraphic(error);
    need(at + headerSize);
    width = static_cast<int32_t>(Get32(d, at + 4));
    height = static_cast<int32_t>(Get32(d, at + 8));
    img.Bpp = Get16(d, at + 14);
    compression = Get32(d, at + 16);
    used = Get32(d, at + 32);
  }
  if (icon) height /= 2;
  bool topDown = height < 0;
  height = height < 0 ? -height : height;
  if (width <= 0 || height <= 0 || width * height > kMaxPixels) throw EInvalidGraphic(error);
  img.Width = static_cast<int>(width);
  img.Height = static_cast<int>(height);
  size_t pos = at + headerSize;
  if (compression == BI_BITFIELDS) {
    if (img.Bpp != 16 && img.Bpp != 32) throw EInvalidGraphic(error);
    if (headerSize >= 52) {
      for (int i = 0; i < 3; ++i) masks[i] = Get32(d, at + 40 + 4 * i);
    } else {
      need(pos + 12);
      for (int i = 0; i < 3; ++i) masks[i] = Get32(d, pos + 4 * i);
      pos += 12;
    }
  } else if (compression != BI_RGB) {
    throw EInvalidGraphic(error);  // RLE and embedded JPEG/PNG bitmaps are not read
  } else if (img.Bpp == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  }
  std::vector<uint32_t> palette;
  if (img.Bpp == 1 || img.Bpp == 4 || img.Bpp == 8) {
    size_t count = used ? used : (size_t{1} << img.Bpp);
    if (count > 256) throw EInvalidGraphic(error);
    size_t entry = core ? 3 : 4;
    need(pos + count * entry);
    for (size_t i = 0; i < count; ++i) {
      size_t e = pos + i * entry;
      palette.push_back((static_cast<uint8_t>(d[e + 2]) << 16) | (static_cast<uint8_t>(d[e + 1]) << 8) |
                        static_cast<uint8_t>(d[e]));
    }
    pos += count * entry;
  } else if (img.Bpp != 16 && img.Bpp != 24 && img.Bpp != 32) {
    throw EInvalidGraphic(error);
  }
  if (bitsAt) pos = bitsAt;
  size_t stride = RowBytes(width, img.Bpp);
  need(pos + stride * img.Height);
  img.End = pos + stride * img.Height;
  img.Pixels.assign(static_cast<size_t>(width * height), 0);
  if (img.Bpp == 32) img.Alpha.assign(img.Pixels.size(), 0);
  auto channel = [](uint32_t v, uint32_t mask) -> uint32_t {
    if (!mask) return 0;
    int shift = __builtin_ctz(mask);
    uint32_t max = mask >> shift;
    return ((v & mask) >> shift) * 255 / max;
  };
  for (int y = 0; y < img.Height; ++y) {
    const auto* row = reinterpret_cast<const uint8_t*>(d.data() + pos + stride * y);
    uint32_t* out = &img.Pixels[static_cast<size_t>(topDown ? y : img.Height - 1 - y) * img.Width];
    for (int x = 0; x < img.Width; ++x) {
      uint32_t p = 0;
      switch (img.Bpp) {
        case 1:
        case 4:
        case 8: {
          int bit = x * img.Bpp;
          unsigned index = (row[bit / 8] >> (8 - img.Bpp - bit % 8)) & ((1u << img.Bpp) - 1);
          p = index < palette.size() ? palette[index] : 0;
          break;
        }
        case 16: {
          uint32_t v = row[2 * x] | (row[2 * x + 1] << 8);
          p = (channel(v, masks[0]) << 16) | (channel(v, masks[1]) << 8) | channel(v, masks[2]);
          break;
        }
        case 24: p = row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16); break;
        case 32: {
          uint32_t v = row[4 * x] | (row[4 * x + 1] << 8) | (row[4 * x + 2] << 16) |
                       (static_cast<uint32_t>(row[4 * x + 3]) << 24);
          if (compression == BI_BITFIELDS)
            p = (channel(v, masks[0]) << 16) | (channel(v, masks[1]) << 8) | channel(v, masks[2]);
          else
            p = v & 0xFFFFFF;
          img.Alpha[&out[x] - img.Pixels.data()] = static_cast<uint8_t>(v >> 24);
          break;
        }
      }
      out[x] = p;
    }
  }
  return img;
}

TPixelFormat FormatOfDepth(int bpp, bool bitfields565) {
  switch (bpp) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return bitfields565 ? pf16bit : pf15bit;
    case 24: return pf24bit;
    case 32: return pf32bit;
  }
  return pfCustom;
}

// The palette of a 4- or 8-bit save: the picture's first distinct colours;
// further colours take the nearest of them.
std::vector<uint32_t> BuildPalette(const std::vector<uint32_t>& pixels, size_t max) {
  std::vector<uint32_t> palette;
  for (uint32_t p : pixels) {
    if (std::find(palette.begin(), palette.end(), p) == palette.end()) {
      palette.push_back(p);
      if (palette.size() == max) break;
    }
  }
  if (palette.empty()) palette.push_back(0);
  return palette;
}

unsigned NearestIndex(const std::vector<uint32_t>& palette, uint32_t p) {
  unsigned best = 0;
  int64_t bestDistance = std::numeric_limits<int64_t>::max();
  for (unsigned i = 0; i < palette.size(); ++i) {
    int dr = static_cast<int>((palette[i] >> 16) & 0xFF) - static_cast<int>((p >> 16) & 0xFF);
    int dg = static_cast<int>((palette[i] >> 8) & 0xFF) - static_cast<int>((p >> 8) & 0xFF);
    int db = static_cast<int>(palette[i] & 0xFF) - static_cast<int>(p & 0xFF);
    int64_t distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) bestDistance = distance, best = i;
    if (distance == 0) break;
  }
  return best;
}

std::string EncodeBmp(const std::vector<uint32_t>& pixels, int width, int height, TPixelFormat format) {
  int bpp;
  switch (format) {
    case pf1bit: bpp = 1; break;
    case pf4bit: bpp = 4; break;
    case pf8bit: bpp = 8; break;
    case pf15bit:
    case pf16bit: bpp = 16; break;
    case pf32bit: bpp = 32; break;
    default: bpp = 24; break;
  }
  std::vector<uint32_t> palette;
  if (bpp == 1)
    palette = {0x000000, 0xFFFFFF};
  else if (bpp <= 8)
    palette = BuildPalette(pixels, size_t{1} << bpp);
  bool bitfields = format == pf16bit;
  size_t stride = RowBytes(width, bpp);
  uint32_t bitsAt = 14 + 40 + (bitfields ? 12 : 0) + static_cast<uint32_t>(palette.size() * 4);
  uint32_t imageSize = static_cast<uint32_t>(stride * height);
  std::string d;
  d.reserve(bitsAt + imageSize);
  d += "BM";
  Put32(d, bitsAt + imageSize);
  Put32(d, 0);
  Put32(d, bitsAt);
  Put32(d, 40);
  Put32(d, static_cast<uint32_t>(width));
  Put32(d, static_cast<uint32_t>(height));
  Put16(d, 1);
  Put16(d, static_cast<uint32_t>(bpp));
  Put32(d, bitfields ? BI_BITFIELDS : BI_RGB);
  Put32(d, imageSize);
  Put32(d, 3780);  // 96 dpi
  Put32(d, 3780);
  Put32(d, static_cast<uint32_t>(palette.size()));
  Put32(d, 0);
  if (bitfields) Put32(d, 0xF800), Put32(d, 0x07E0), Put32(d, 0x001F);
  for (uint32_t p : palette) Put32(d, p);
  std::string row(stride, '\0');
  for (int y = height - 1; y >= 0; --y) {
    std::fill(row.begin(), row.end(), '\0');
    auto* r = reinterpret_cast<uint8_t*>(row.data());
    const uint32_t* in = &pixels[static_cast<size_t>(y) * width];
    for (int x = 0; x < width; ++x) {
      uint32_t p = in[x];
      switch (bpp) {
        case 1:
          if (p == 0xFFFFFF) r[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
          break;
        case 4: r[x / 2] |= static_cast<uint8_t>(NearestIndex(palette, p) << (x % 2 ? 0 : 4)); break;
        case 8: r[x] = static_cast<uint8_t>(NearestIndex(palette, p)); break;
        case 16: {
          uint32_t v = bitfields ? (((p >> 19) & 0x1F) << 11) | (((p >> 10) & 0x3F) << 5) | ((p >> 3) & 0x1F)
                                 : (((p >> 19) & 0x1F) << 10) | (((p >> 11) & 0x1F) << 5) | ((p >> 3) & 0x1F);
          r[2 * x] = static_cast<uint8_t>(v), r[2 * x + 1] = static_cast<uint8_t>(v >> 8);
          break;
        }
        case 24:
          r[3 * x] = static_cast<uint8_t>(p), r[3 * x + 1] = static_cast<uint8_t>(p >> 8);
          r[3 * x + 2] = static_cast<uint8_t>(p >> 16);
          break;
        case 32:
          r[4 * x] = static_cast<uint8_t>(p), r[4 * x + 1] = static_cast<uint8_t>(p >> 8);
          r[4 * x + 2] = static_cast<uint8_t>(p >> 16);
          break;
      }
    }
    d += row;
  }
  return d;
}

// The pixels of any bitmap, monochrome ones included, as 0x00RRGGBB.
std::vector<uint32_t> PixelsOf(TBitmap* Bitmap) {
  std::vector<uint32_t> out(static_cast<size_t>(Bitmap->Width()) * Bitmap->Height());
  if (!Bitmap->Monochrome()) {
    for (int y = 0; y < Bitmap->Height(); ++y)
      std::memcpy(&out[static_cast<size_t>(y) * Bitmap->Width()], Bitmap->ScanLine(y),
                  sizeof(uint32_t) * Bitmap->Width());
    return out;
  }
  HDC dc = Bitmap->DC();
  for (int y = 0; y < Bitmap->Height(); ++y)
    for (int x = 0; x < Bitmap->Width(); ++x)
      out[static_cast<size_t>(y) * Bitmap->Width() + x] = ColorRefToPixel(GetPixel(dc, x, y)) & 0xFFFFFF;
  return out;
}

}  // namespace

COLORREF ColorToRGB(TColor Color) {
  if (Color < 0) return GetSysColor(Color & 0xFF);
  return static_cast<COLORREF>(Color);
}

// Graphics objects ------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TGraphicsObject, TPersistent)

TGraphicsObject::~TGraphicsObject() { FreeHandle(); }

void TGraphicsObject::FreeHandle() {
  if (Handle_) DeleteObject(Handle_);
  Handle_ = nullptr;
}

void TGraphicsObject::Changed() {
  FreeHandle();
  OnChange(this);
}

// Fonts -------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TFont, TGraphicsObject)
VXN_PUBLISH(TFont) {
  P.Property("Charset", &TFont::GetCharset, &TFont::SetCharset).Type(TypeInfoFontCharset()).Default(1);
  P.Property("Color", &TFont::GetColor, &TFont::SetColor).Type(TypeInfoColor()).Default(clWindowText);
  P.Property("Height", &TFont::GetHeight, &TFont::SetHeight);
  P.Property("Name", &TFont::GetName, &TFont::SetName);
  P.Property("Pitch", &TFont::GetPitch, &TFont::SetPitch).Default(fpDefault);
  // Height carries the size in form files.
  P.Property("Size", &TFont::GetSize, &TFont::SetSize).Stored(false);
  P.Property("Style", &TFont::GetStyle, &TFont::SetStyle).Default(0);
}

void TFont::SetName(const std::string& Value) {
  if (Value == Name_ || Value.empty()) return;
  Name_ = Value;
  Changed();
}

Integer TFont::GetSize() const { return -MulDiv(Height_, 72, ScreenPixelsPerInch); }

void TFont::SetSize(Integer Value) { SetHeight(-MulDiv(Value, ScreenPixelsPerInch, 72)); }

void TFont::SetHeight(Integer Value) {
  if (Value == Height_) return;
  Height_ = Value;
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (Value == Color_) return;
  Color_ = Value;
  Changed();
}

void TFont::SetCharset(Integer Value) {
  if (Value == Charset_) return;
  Charset_ = Value;
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == Pitch_) return;
  Pitch_ = Value;
  Changed();
}

void TFont::SetStyle(TFontStyles Value) {
  if (Value == Style_) return;
  Style_ = Value;
  Changed();
}

HFONT TFont::Handle() {
  if (!Handle_) {
    LOGFONT lf;
    lf.lfHeight = Height_;
    lf.lfWeight = Style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = Style_.Contains(fsItalic);
    lf.lfUnderline = Style_.Contains(fsUnderline);
    lf.lfStrikeOut = Style_.Contains(fsStrikeOut);
    lf.lfCharSet = static_cast<BYTE>(Charset_);
    lf.lfPitchAndFamily = Pitch_ == fpFixed ? FIXED_PITCH : Pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    // Cut the face name on a character boundary.
    size_t n = std::min(Name_.size(), static_cast<size_t>(LF_FACESIZE - 1));
    while (n > 0 && n < Name_.size() && (static_cast<uint8_t>(Name_[n]) & 0xC0) == 0x80) --n;
    std::memcpy(lf.lfFaceName, Name_.data(), n);
    Handle_ = CreateFontIndirect(&lf);
  }
  return static_cast<HFONT>(Handle_);
}

void TFont::SetHandle(HFONT Value) {
  if (Value == Handle_) return;
  LOGFONT lf;
  if (!Value || GetObject(Value, sizeof(lf), &lf) == 0) return;
  Height_ = lf.lfHeight;
  Charset_ = lf.lfCharSet;
  Pitch_ = (lf.lfPitchAndFamily & 3) == FIXED_PITCH      ? fpFixed
           : (lf.lfPitchAndFamily & 3) == VARIABLE_PITCH ? fpVariable
                                                           : fpDefault;
  Style_ = {};
  if (lf.lfWeight >= FW_BOLD) Style_ += fsBold;
  if (lf.lfItalic) Style_ += fsItalic;
  if (lf.lfUnderline) Style_ += fsUnderline;
  if (lf.lfStrikeOut) Style_ += fsStrikeOut;
  if (lf.lfFaceName[0]) Name_ = std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
  Changed();
  Handle_ = Value;
}

bool TFont::Equals(const TFont& Other) const {
  return Name_ == Other.Name_ && Height_ == Other.Height_ && Color_ == Other.Color_ &&
         Charset_ == Other.Charset_ && Pitch_ == Other.Pitch_ && Style_ == Other.Style_;
}

void TFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TFont*>(Source)) {
    if (Equals(*f)) return;
    Name_ = f->Name_;
    Height_ = f->Height_;
    Color_ = f->Color_;
    Charset_ = f->Charset_;
    Pitch_ = f->Pitch_;
    Style_ = f->Style_;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

// Pens ----------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TPen, TGraphicsObject)
VXN_PUBLISH(TPen) {
  P.Property("Color", &TPen::GetColor, &TPen::SetColor).Type(TypeInfoColor()).Default(clBlack);
  P.Property("Mode", &TPen::GetMode, &TPen::SetMode).Default(pmCopy);
  P.Property("Style", &TPen::GetStyle, &TPen::SetStyle).Default(psSolid);
  P.Property("Width", &TPen::GetWidth, &TPen::SetWidth).Default(1);
}

void TPen::SetColor(TColor Value) {
  if (Value == Color_) return;
  Color_ = Value;
  Changed();
}

void TPen::SetMode(TPenMode Value) {
  if (Value == Mode_) return;
  Mode_ = Value;
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value == Style_) return;
  Style_ = Value;
  Changed();
}

void TPen::SetWidth(Integer Value) {
  if (Value < 0 || Value == Width_) return;
  Width_ = Value;
  Changed();
}

HPEN TPen::Handle() {
  if (!Handle_) {
    static constexpr int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    Handle_ = CreatePen(kStyles[Style_], Width_, ColorToRGB(Color_));
  }
  return static_cast<HPEN>(Handle_);
}

int TPen::Rop2() const {
  static constexpr int kRops[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                  R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                  R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                  R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
  return kRops[Mode_];
}

void TPen::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPen*>(Source)) {
    Color_ = p->Color_;
    Mode_ = p->Mode_;
    Style_ = p->Style_;
    Width_ = p->Width_;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

// Brushes -------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TBrush, TGraphicsObject)
VXN_PUBLISH(TBrush) {
  P.Property("Color", &TBrush::GetColor, &TBrush::SetColor).Type(TypeInfoColor()).Default(clWhite);
  P.Property("Style", &TBrush::GetStyle, &TBrush::SetStyle).Default(bsSolid);
}

TBrush::~TBrush() { FreeHandle(); }

void TBrush::SetBitmap(TBitmap* Value) {
  if (!Value || Value->Empty()) {
    Bitmap_.reset();
  } else {
    if (!Bitmap_) Bitmap_ = std::make_unique<TBitmap>();
    Bitmap_->Assign(Value);
  }
  Changed();
}

void TBrush::SetColor(TColor Value) {
  if (Value == Color_) return;
  Color_ = Value;
  if (Style_ == bsClear) Style_ = bsSolid;  // a colour asks for paint
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == Style_) return;
  Style_ = Value;
  Changed();
}

HBRUSH TBrush::Handle() {
  if (!Handle_) {
    if (Bitmap_)
      Handle_ = CreatePatternBrush(Bitmap_->Handle());
    else if (Style_ == bsSolid)
      Handle_ = CreateSolidBrush(ColorToRGB(Color_));
    else if (Style_ == bsClear)
      Handle_ = GetStockObject(NULL_BRUSH);
    else
      Handle_ = CreateHatchBrush(Style_ - bsHorizontal, ColorToRGB(Color_));
  }
  return static_cast<HBRUSH>(Handle_);
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBrush*>(Source)) {
    Color_ = b->Color_;
    Style_ = b->Style_;
    if (b->Bitmap_) {
      if (!Bitmap_) Bitmap_ = std::make_unique<TBitmap>();
      Bitmap_->Assign(b->Bitmap_.get());
    } else {
      Bitmap_.reset();
    }
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

// Canvas ----------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TCanvas, TPersistent)

TCanvas::TCanvas() : Font_(new TFont), Pen_(new TPen), Brush_(new TBrush) {
  Font_->OnChange = TNotifyEvent(this, &TCanvas::ObjectChanged);
  Pen_->OnChange = TNotifyEvent(this, &TCanvas::ObjectChanged);
  Brush_->OnChange = TNotifyEvent(this, &TCanvas::ObjectChanged);
}

TCanvas::~TCanvas() {
  DeselectHandles();
}

void TCanvas::ObjectChanged(TObject*) {}

void TCanvas::DeselectHandles() {
  if (!Handle_) return;
  SelectObject(Handle_, GetStockObject(BLACK_PEN));
  SelectObject(Handle_, GetStockObject(WHITE_BRUSH));
  SelectObject(Handle_, GetStockObject(SYSTEM_FONT));
}

HDC TCanvas::Handle() {
  if (!Handle_) CreateHandle();
  if (!Handle_) throw EInvalidOperation("Canvas does not allow drawing");
  return Handle_;
}

void TCanvas::SetHandle(HDC Value) {
  if (Value == Handle_) return;
  DeselectHandles();
  Handle_ = Value;
}

void TCanvas::RequiredState() {
  HDC dc = Handle();
  SelectObject(dc, Pen_->Handle());
  SetROP2(dc, Pen_->Rop2());
  SelectObject(dc, Brush_->Handle());
  SelectObject(dc, Font_->Handle());
  SetTextColor(dc, ColorToRGB(Font_->GetColor()));
  SetBkColor(dc, ColorToRGB(Brush_->GetColor()));
  SetBkMode(dc, Brush_->GetStyle() == bsSolid && !Brush_->GetBitmap() ? OPAQUE : TRANSPARENT);
}

void TCanvas::Changing() { OnChanging(this); }
void TCanvas::Changed() { OnChange(this); }

TPoint TCanvas::PenPos() {
  POINT p;
  GetCurrentPositionEx(Handle(), &p);
  return {p.x, p.y};
}

TRect TCanvas::ClipRect() {
  RECT r;
  GetClipBox(Handle(), &r);
  return {r.left, r.top, r.right, r.bottom};
}

TColor TCanvas::Pixels(Integer X, Integer Y) { return static_cast<TColor>(GetPixel(Handle(), X, Y)); }

void TCanvas::SetPixels(Integer X, Integer Y, TColor Value) {
  Changing();
  SetPixel(Handle(), X, Y, ColorToRGB(Value));
  Changed();
}

void TCanvas::MoveTo(Integer X, Integer Y) { MoveToEx(Handle(), X, Y, nullptr); }

void TCanvas::LineTo(Integer X, Integer Y) {
  Changing();
  RequiredState();
  win::LineTo(Handle_, X, Y);
  Changed();
}

void TCanvas::Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Changing();
  RequiredState();
  win::Rectangle(Handle_, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3) {
  Changing();
  RequiredState();
  win::RoundRect(Handle_, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Changing();
  RequiredState();
  win::Ellipse(Handle_, X1, Y1, X2, Y2);
  Changed();
}

namespace {
std::vector<POINT> ToPoints(const std::vector<TPoint>& Points) {
  std::vector<POINT> out;
  out.reserve(Points.size());
  for (const TPoint& p : Points) out.push_back({p.X, p.Y});
  return out;
}
RECT ToRECT(const TRect& R) { return {R.Left, R.Top, R.Right, R.Bottom}; }
}  // namespace

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
  if (Points.empty()) return;
  Changing();
  RequiredState();
  auto pts = ToPoints(Points);
  win::Polygon(Handle_, pts.data(), static_cast<int>(pts.size()));
  Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
  if (Points.empty()) return;
  Changing();
  RequiredState();
  auto pts = ToPoints(Points);
  win::Polyline(Handle_, pts.data(), static_cast<int>(pts.size()));
  Changed();
}

void TCanvas::FillRect(const TRect& R) {
  Changing();
  RequiredState();
  RECT r = ToRECT(R);
  win::FillRect(Handle_, &r, Brush_->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& R) {
  Changing();
  RequiredState();
  RECT r = ToRECT(R);
  win::FrameRect(Handle_, &r, Brush_->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& R) {
  Changing();
  RequiredState();
  RECT r = ToRECT(R);
  win::DrawFocusRect(Handle_, &r);
  Changed();
}

void TCanvas::TextOut(Integer X, Integer Y, const std::string& Text) {
  Changing();
  RequiredState();
  ExtTextOut(Handle_, X, Y, 0, nullptr, Text.data(), static_cast<UINT>(Text.size()), nullptr);
  MoveTo(X + TextWidth(Text), Y);
  Changed();
}

void TCanvas::TextRect(const TRect& R, Integer X, Integer Y, const std::string& Text) {
  Changing();
  RequiredState();
  RECT r = ToRECT(R);
  UINT options = ETO_CLIPPED;
  if (Brush_->GetStyle() != bsClear) options |= ETO_OPAQUE;
  ExtTextOut(Handle_, X, Y, options, &r, Text.data(), static_cast<UINT>(Text.size()), nullptr);
  Changed();
}

TSize TCanvas::TextExtent(const std::string& Text) {
  RequiredState();
  SIZE s;
  GetTextExtentPoint32(Handle_, Text.data(), static_cast<int>(Text.size()), &s);
  return {s.cx, s.cy};
}

void TCanvas::Draw(Integer X, Integer Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  Graphic->Draw(this, Rect(X, Y, X + Graphic->Width(), Y + Graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  Graphic->Draw(this, R);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  Changing();
  RequiredState();
  StretchBlt(Handle_, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas->Handle(), Source.Left, Source.Top,
             Source.Width(), Source.Height(), CopyMode);
  Changed();
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
  if (!Bitmap || Bitmap->Empty() || Source.Width() <= 0 || Source.Height() <= 0) return;
  Changing();
  TBitmap work;
  work.SetSize(Source.Width(), Source.Height());
  HDC src = Bitmap->DC();
  SetTextColor(work.DC(), RGB(0, 0, 0));
  SetBkColor(work.DC(), RGB(255, 255, 255));
  BitBlt(work.DC(), 0, 0, Source.Width(), Source.Height(), src, Source.Left, Source.Top, SRCCOPY);
  uint32_t key = ColorRefToPixel(ColorToRGB(Color));
  uint32_t fill = ColorRefToPixel(ColorToRGB(Brush_->GetColor()));
  for (int y = 0; y < work.Height(); ++y) {
    uint32_t* row = work.ScanLine(y);
    for (int x = 0; x < work.Width(); ++x)
      if ((row[x] & 0xFFFFFF) == key) row[x] = fill;
  }
  RequiredState();
  StretchBlt(Handle_, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), work.DC(), 0, 0, work.Width(),
             work.Height(), SRCCOPY);
  Changed();
}

void TCanvas::Lock() {
  Mutex_.lock();
  ++LockCount_;
}

bool TCanvas::TryLock() {
  if (!Mutex_.try_lock()) return false;
  ++LockCount_;
  return true;
}

void TCanvas::Unlock() {
  --LockCount_;
  Mutex_.unlock();
}

// Graphics ---------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TGraphic, TPersistent)

void TGraphic::SetTransparent(bool Value) {
  if (Value == Transparent_) return;
  Transparent_ = Value;
  Changed();
}

void TGraphic::SetModified(bool Value) {
  if (Value)
    Changed();
  else
    Modified_ = false;
}

void TGraphic::Changed() {
  Modified_ = true;
  OnChange(this);
}

void TGraphic::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(stream);
}

void TGraphic::ReadData(TStream& Stream) {
  uint32_t size = 0;
  Stream.ReadBuffer(&size, 4);
  if (size > Stream.Size() - Stream.Position()) throw EInvalidGraphic("Picture data are truncated");
  TMemoryStream data;
  data.CopyFrom(Stream, size);
  data.SetPosition(0);
  LoadFromStream(data);
}

void TGraphic::WriteData(TStream& Stream) {
  TMemoryStream data;
  SaveToStream(data);
  uint32_t size = static_cast<uint32_t>(data.Size());
  Stream.WriteBuffer(&size, 4);
  data.SetPosition(0);
  Stream.CopyFrom(data, size);
}

// Bitmaps ------------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TBitmap, TGraphic)

class TBitmap::TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* Owner) : Owner_(Owner) {}

 protected:
  void CreateHandle() override { SetHandle(Owner_->DC()); }

 private:
  TBitmap* Owner_;
};

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
  DestroyImage();
  if (DC_) {
    SelectObject(DC_, OldBitmap_);
    DeleteDC(DC_);
  }
}

HDC TBitmap::DC() {
  if (!DC_) {
    DC_ = CreateCompatibleDC(nullptr);
    OldBitmap_ = GetCurrentObject(DC_, OBJ_BITMAP);
    if (Bitmap_) SelectObject(DC_, Bitmap_);
  }
  return DC_;
}

TCanvas* TBitmap::Canvas() {
  if (!Canvas_) {
    Canvas_.reset(new TBitmapCanvas(this));
    Canvas_->OnChange = TNotifyEvent(this, &TBitmap::CanvasChanged);
  }
  return Canvas_.get();
}

void TBitmap::CanvasChanged(TObject*) { Changed(); }

void TBitmap::DestroyImage() {
  if (!Bitmap_) return;
  if (DC_) SelectObject(DC_, OldBitmap_);
  DeleteObject(Bitmap_);
  Bitmap_ = nullptr;
  Bits_ = nullptr;
}

void TBitmap::NewImage(Integer AWidth, Integer AHeight, bool AMonochrome) {
  if (AWidth < 0 || AHeight < 0 || int64_t{AWidth} * AHeight > kMaxPixels)
    throw EInvalidGraphic(SInvalidBitmap);
  HBITMAP fresh = nullptr;
  uint32_t* bits = nullptr;
  if (AWidth > 0 && AHeight > 0) {
    if (AMonochrome) {
      fresh = CreateBitmap(AWidth, AHeight, 1, 1, nullptr);
    } else {
      BITMAPINFO info;
      info.bmiHeader.biWidth = AWidth;
      info.bmiHeader.biHeight = -AHeight;
      info.bmiHeader.biBitCount = 32;
      void* p = nullptr;
      fresh = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0);
      bits = static_cast<uint32_t*>(p);
    }
    if (!fresh) throw EOutOfResources("Out of system resources");
    MemoryDc dc;
    ObjectSelection selected(dc, fresh);
    PatBlt(dc, 0, 0, AWidth, AHeight, WHITENESS);
    if (Bitmap_) {
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      SetBkColor(DC(), RGB(255, 255, 255));
      BitBlt(dc, 0, 0, std::min(AWidth, Width_), std::min(AHeight, Height_), DC(), 0, 0, SRCCOPY);
    }
  }
  DestroyImage();
  Bitmap_ = fresh;
  Bits_ = bits;
  // A size with one side 0 is kept without an image, so that Width and
  // Height set one after the other make the picture.
  Width_ = AWidth;
  Height_ = AHeight;
  Monochrome_ = AMonochrome;
  if (DC_ && Bitmap_) SelectObject(DC_, Bitmap_);
}

void TBitmap::SetSize(Integer AWidth, Integer AHeight) {
  if (AWidth == Width_ && AHeight == Height_) return;
  NewImage(AWidth, AHeight, Monochrome_);
  Changed();
}

void TBitmap::SetMonochrome(bool Value) {
  if (Value == Monochrome_) return;
  PixelFormat_ = Value ? pf1bit : pfDevice;
  if (Bitmap_)
    NewImage(Width_, Height_, Value);
  else
    Monochrome_ = Value;
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == PixelFormat_) return;
  bool mono = Value == pf1bit;
  if (mono != Monochrome_) {
    if (Bitmap_) NewImage(Width_, Height_, mono);
    Monochrome_ = mono;
  }
  PixelFormat_ = Value;
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (TransparentMode_ == tmFixed && TransparentColor_ != clDefault) return TransparentColor_;
  if (!Bitmap_) return clDefault;
  // The bottom-left pixel says which colour is the background.
  auto* self = const_cast<TBitmap*>(this);
  return static_cast<TColor>(GetPixel(self->DC(), 0, Height_ - 1));
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == TransparentColor_) return;
  TransparentColor_ = Value;
  TransparentMode_ = Value == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == TransparentMode_) return;
  if (Value == tmAuto)
    TransparentColor_ = clDefault;
  else if (TransparentColor_ == clDefault)
    TransparentColor_ = TransparentColor();
  TransparentMode_ = Value;
  Changed();
}

HBITMAP TBitmap::Handle() {
  if (!Bitmap_ && !Empty()) NewImage(Width_, Height_, Monochrome_);
  return Bitmap_;
}

void TBitmap::SetHandle(HBITMAP Value) {
  if (Value == Bitmap_) return;
  if (!Value) {
    DestroyImage();
    Width_ = Height_ = 0;
    Changed();
    return;
  }
  BITMAP bm;
  if (!GetObject(Value, sizeof(bm), &bm)) throw EInvalidGraphic(SInvalidBitmap);
  // Copied into a bitmap of our own kind, so that ScanLine always works.
  TBitmap copy;
  {
    MemoryDc src;
    ObjectSelection selected(src, Value);
    copy.NewImage(bm.bmWidth, bm.bmHeight, bm.bmBitsPixel == 1);
    BitBlt(copy.DC(), 0, 0, bm.bmWidth, bm.bmHeight, src, 0, 0, SRCCOPY);
  }
  DeleteObject(Value);
  PixelFormat_ = bm.bmBitsPixel == 1 ? pf1bit : pfDevice;
  DestroyImage();
  if (copy.DC_) SelectObject(copy.DC_, copy.OldBitmap_);
  Bitmap_ = copy.Bitmap_;
  Bits_ = copy.Bits_;
  Width_ = copy.Width_;
  Height_ = copy.Height_;
  Monochrome_ = copy.Monochrome_;
  copy.Bitmap_ = nullptr;
  if (DC_) SelectObject(DC_, Bitmap_);
  Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
  HBITMAP h = Bitmap_;
  if (DC_) SelectObject(DC_, OldBitmap_);
  Bitmap_ = nullptr;
  Bits_ = nullptr;
  Width_ = Height_ = 0;
  return h;
}

uint32_t* TBitmap::ScanLine(Integer Row) {
  if (Row < 0 || Row >= Height_ || !Bits_) throw EInvalidGraphicOperation("Scan line index out of range");
  return Bits_ + static_cast<size_t>(Row) * Width_;
}

void TBitmap::ReadBmp(const std::string& Data) {
  bool file = Data.size() >= 2 && Data[0] == 'B' && Data[1] == 'M';
  // Resources may hold the bitmap without the file header.
  size_t headerAt = file ? 14 : 0;
  size_t bitsAt = 0;
  if (file) {
    if (Data.size() < 14) throw EInvalidGraphic(SInvalidBitmap);
    bitsAt = Get32(Data, 10);
    if (bitsAt >= Data.size()) throw EInvalidGraphic(SInvalidBitmap);
  }
  DibImage img = DecodeDib(Data, headerAt, bitsAt, false, SInvalidBitmap);
  uint32_t headerSize = Get32(Data, headerAt);
  bool is565 = false;
  if (img.Bpp == 16 && headerSize >= 40 && Get32(Data, headerAt + 16) == BI_BITFIELDS) {
    size_t greenAt = headerAt + (headerSize >= 52 ? 40 : headerSize) + 4;
    is565 = Get32(Data, greenAt) == 0x07E0;
  }
  bool mono = img.Bpp == 1;
  NewImage(img.Width, img.Height, mono);
  if (mono) {
    HDC dc = DC();
    for (int y = 0; y < img.Height; ++y)
      for (int x = 0; x < img.Width; ++x)
        if ((img.Pixels[static_cast<size_t>(y) * img.Width + x] & 0xFFFFFF) != 0xFFFFFF)
          SetPixel(dc, x, y, RGB(0, 0, 0));
  } else {
    std::memcpy(Bits_, img.Pixels.data(), img.Pixels.size() * sizeof(uint32_t));
  }
  PixelFormat_ = FormatOfDepth(img.Bpp, is565);
}

void TBitmap::LoadFromStream(TStream& Stream) {
  // A BMP file says how long it is, so that more may follow in the stream.
  Int64 start = Stream.Position();
  char header[14];
  if (Stream.Read(header, 14) != 14 || header[0] != 'B' || header[1] != 'M') throw EInvalidGraphic(SInvalidBitmap);
  std::string data(header, 14);
  uint32_t size = Get32(data, 2);
  Int64 left = Stream.Size() - start;
  if (size < 14 || size > left) size = static_cast<uint32_t>(left);
  data.resize(size);
  Stream.ReadBuffer(data.data() + 14, size - 14);
  ReadBmp(data);
  Changed();
}

void TBitmap::SaveToStream(TStream& Stream) {
  if (Empty()) return;
  TPixelFormat format = Monochrome_ ? pf1bit : PixelFormat_;
  std::string data = EncodeBmp(PixelsOf(this), Width_, Height_, format);
  Stream.WriteBuffer(data.data(), static_cast<Int64>(data.size()));
}

void TBitmap::LoadFromResourceName(const std::string& ResName) {
  ReadBmp(std::string(LoadResource(ResName, "BITMAP")));
  Changed();
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& R) {
  if (Empty()) return;
  ACanvas->RequiredState();
  HDC dest = ACanvas->Handle();
  if (Monochrome_) {
    // Monochrome pictures keep their black and white on any canvas.
    COLORREF text = SetTextColor(dest, RGB(0, 0, 0));
    COLORREF back = SetBkColor(dest, RGB(255, 255, 255));
    StretchBlt(dest, R.Left, R.Top, R.Width(), R.Height(), DC(), 0, 0, Width_, Height_, ACanvas->CopyMode);
    SetTextColor(dest, text);
    SetBkColor(dest, back);
  } else if (Transparent()) {
    TransparentBlt(dest, R.Left, R.Top, R.Width(), R.Height(), DC(), 0, 0, Width_, Height_,
                   ColorToRGB(TransparentColor()) & 0xFFFFFF);
  } else {
    StretchBlt(dest, R.Left, R.Top, R.Width(), R.Height(), DC(), 0, 0, Width_, Height_, ACanvas->CopyMode);
  }
}

void TBitmap::Assign(TPersistent* Source) {
  if (!Source) {
    NewImage(0, 0, false);
    Changed();
    return;
  }
  if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    if (b == this) return;
    DestroyImage();
    NewImage(b->Width_, b->Height_, b->Monochrome_);
    if (!b->Empty()) {
      SetTextColor(DC(), RGB(0, 0, 0));
      SetBkColor(DC(), RGB(255, 255, 255));
      BitBlt(DC(), 0, 0, Width_, Height_, b->DC(), 0, 0, SRCCOPY);
    }
    Monochrome_ = b->Monochrome_;
    PixelFormat_ = b->PixelFormat_;
    TransparentColor_ = b->TransparentColor_;
    TransparentMode_ = b->TransparentMode_;
    Transparent_ = b->Transparent_;
    Changed();
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    // Any other picture is drawn over white.
    DestroyImage();
    Width_ = Height_ = 0;
    NewImage(g->Width(), g->Height(), false);
    PixelFormat_ = pf24bit;
    if (!Empty()) g->Draw(Canvas(), Rect(0, 0, Width_, Height_));
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

// Alpha pictures ------------------------------------------------------------------------

void TAlphaImage::DrawTo(TCanvas* ACanvas, const TRect& R) const {
  int w = R.Width(), h = R.Height();
  if (Pixels.empty() || w <= 0 || h <= 0) return;
  HDC dest = ACanvas->Handle();
  TBitmap work;
  work.SetSize(w, h);
  BitBlt(work.DC(), 0, 0, w, h, dest, R.Left, R.Top, SRCCOPY);
  for (int y = 0; y < h; ++y) {
    uint32_t* row = work.ScanLine(y);
    const uint32_t* src = &Pixels[static_cast<size_t>(int64_t{y} * Height / h) * Width];
    for (int x = 0; x < w; ++x) {
      uint32_t s = src[int64_t{x} * Width / w];
      uint32_t a = s >> 24;
      if (a == 0) continue;
      uint32_t d = row[x];
      uint32_t out = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        uint32_t c = (((s >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * (255 - a) + 127) / 255;
        out |= c << shift;
      }
      row[x] = out;
    }
  }
  BitBlt(dest, R.Left, R.Top, w, h, work.DC(), 0, 0, SRCCOPY);
}

void TAlphaImage::ToBitmap(TBitmap* Bitmap, TColor Background) const {
  Bitmap->SetMonochrome(false);
  Bitmap->SetSize(Width, Height);
  Bitmap->SetPixelFormat(pf32bit);
  uint32_t bg = ColorRefToPixel(ColorToRGB(Background));
  for (int y = 0; y < Height; ++y) {
    uint32_t* row = Bitmap->ScanLine(y);
    for (int x = 0; x < Width; ++x) {
      uint32_t s = Pixels[static_cast<size_t>(y) * Width + x];
      uint32_t a = s >> 24, out = 0;
      for (int shift = 0; shift < 24; shift += 8)
        out |= ((((s >> shift) & 0xFF) * a + ((bg >> shift) & 0xFF) * (255 - a) + 127) / 255) << shift;
      row[x] = out;
    }
  }
}

void TAlphaImage::FromBitmap(TBitmap* Bitmap) {
  Width = Bitmap->Width();
  Height = Bitmap->Height();
  Pixels = PixelsOf(Bitmap);
  uint32_t key = Bitmap->Transparent() ? ColorRefToPixel(ColorToRGB(Bitmap->TransparentColor())) : 0xFFFFFFFF;
  for (uint32_t& p : Pixels) p = (p & 0xFFFFFF) == key ? 0 : (p | 0xFF000000);
}

// Icons -------------------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TIcon, TGraphic)

void TIcon::SetWidth(Integer) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }
void TIcon::SetHeight(Integer) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }

// An icon file:
//
//   header   reserved(2)=0 type(2)=1 (2 = cursor) count(2)
//   entries  width(1, 0 = 256) height(1) colours(1) reserved(1) planes(2)
//            bitCount(2) bytes(4) offset(4), count times
//   images   a DIB with doubled height: colour rows, then the 1-bit AND
//            mask (1 = transparent); or a whole PNG file
void TIcon::LoadFromStream(TStream& Stream) {
  std::string d = ReadRest(Stream);
  if (d.size() < 6 || Get16(d, 0) != 0 || (Get16(d, 2) != 1 && Get16(d, 2) != 2)) throw EInvalidGraphic(SInvalidIcon);
  unsigned count = Get16(d, 4);
  if (count == 0 || d.size() < 6 + 16 * size_t{count}) throw EInvalidGraphic(SInvalidIcon);
  int best = -1;
  int bestDistance = 0, bestDepth = 0;
  for (unsigned i = 0; i < count; ++i) {
    size_t e = 6 + 16 * size_t{i};
    int w = static_cast<uint8_t>(d[e]) ? static_cast<uint8_t>(d[e]) : 256;
    int h = static_cast<uint8_t>(d[e + 1]) ? static_cast<uint8_t>(d[e + 1]) : 256;
    int depth = Get16(d, e + 6);
    int distance = std::abs(w - 32) + std::abs(h - 32);
    if (best < 0 || distance < bestDistance || (distance == bestDistance && depth > bestDepth))
      best = static_cast<int>(i), bestDistance = distance, bestDepth = depth;
  }
  size_t e = 6 + 16 * static_cast<size_t>(best);
  uint32_t bytes = Get32(d, e + 8), offset = Get32(d, e + 12);
  if (offset >= d.size() || bytes > d.size() - offset) throw EInvalidGraphic(SInvalidIcon);
  std::string image = d.substr(offset, bytes);
  TAlphaImage decoded;
  if (image.size() >= 8 && image.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) {
    if (!DecodePng(image, decoded)) throw EInvalidGraphic(SInvalidIcon);
  } else {
    DibImage dib = DecodeDib(image, 0, 0, true, SInvalidIcon);
    decoded.Width = dib.Width;
    decoded.Height = dib.Height;
    decoded.Pixels = dib.Pixels;
    bool alpha = std::any_of(dib.Alpha.begin(), dib.Alpha.end(), [](uint8_t a) { return a != 0; });
    size_t stride = RowBytes(dib.Width, 1);
    bool hasMask = image.size() >= dib.End + stride * dib.Height;
    for (int y = 0; y < dib.Height; ++y) {
      for (int x = 0; x < dib.Width; ++x) {
        size_t i = static_cast<size_t>(y) * dib.Width + x;
        uint32_t a = 255;
        if (alpha) {
          a = dib.Alpha[i];
        } else if (hasMask) {
          size_t row = dib.End + stride * (dib.Height - 1 - y);
          if ((static_cast<uint8_t>(image[row + x / 8]) >> (7 - x % 8)) & 1) a = 0;
        }
        decoded.Pixels[i] = (decoded.Pixels[i] & 0xFFFFFF) | (a << 24);
      }
    }
  }
  Data_ = std::move(d);
  Image_ = std::move(decoded);
  Changed();
}

void TIcon::SaveToStream(TStream& Stream) {
  if (!Data_.empty()) Stream.WriteBuffer(Data_.data(), static_cast<Int64>(Data_.size()));
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& R) { Image_.DrawTo(ACanvas, R); }

TIcon::~TIcon() { ReleaseHandle(); }

void TIcon::ReleaseHandle() {
  if (Handle_) win::DestroyIcon(Handle_);
  Handle_ = nullptr;
}

void TIcon::Changed() {
  ReleaseHandle();
  TGraphic::Changed();
}

win::HICON TIcon::Handle() {
  if (Handle_ || Empty()) return Handle_;
  // A 32-bit colour plane with the alpha channel, and an AND mask that
  // marks the see-through pixels for whoever reads masks.
  const int w = Image_.Width, h = Image_.Height;
  std::vector<uint32_t> colour(Image_.Pixels);
  const size_t maskStride = static_cast<size_t>((w + 15) / 16 * 2);
  std::vector<uint8_t> mask(maskStride * static_cast<size_t>(h), 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t& p = colour[static_cast<size_t>(y) * w + x];
      if (p >> 24) continue;
      p = 0;
      mask[static_cast<size_t>(y) * maskStride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
  win::HBITMAP colourPlane = win::CreateBitmap(w, h, 1, 32, colour.data());
  win::HBITMAP maskPlane = win::CreateBitmap(w, h, 1, 1, mask.data());
  ScopeExit planes([&] {
    if (colourPlane) win::DeleteObject(colourPlane);
    if (maskPlane) win::DeleteObject(maskPlane);
  });
  win::ICONINFO info;
  info.fIcon = TRUE;
  info.hbmColor = colourPlane;
  info.hbmMask = maskPlane;
  Handle_ = win::CreateIconIndirect(&info);
  return Handle_;
}

void TIcon::Assign(TPersistent* Source) {
  if (auto* i = dynamic_cast<TIcon*>(Source)) {
    Data_ = i->Data_;
    Image_ = i->Image_;
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

// Pictures -------------------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TPicture, TPersistent)

TPicture::~TPicture() = default;

TClass TPicture::GraphicClassForExtension(const std::string& Ext) {
  std::string e = LowerCase(Ext);
  if (!e.empty() && e[0] == '.') e.erase(0, 1);
  if (e == "bmp" || e == "dib") return TBitmap::StaticClass();
  if (e == "ico") return TIcon::StaticClass();
  if (e == "png") return TPngImage::StaticClass();
  if (e == "jpg" || e == "jpeg" || e == "jpe") return TJPEGImage::StaticClass();
  return nullptr;
}

namespace {
TGraphic* NewGraphicOf(TClass Class) {
  // A form file may name any class; only pictures are made.
  if (!Class->InheritsFrom(TGraphic::StaticClass()))
    throw EInvalidGraphic(Format("Unknown picture format %s", {std::string(Class->Name)}));
  std::unique_ptr<TObject> made(CreateInstance(Class));
  auto* g = dynamic_cast<TGraphic*>(made.get());
  if (!g) throw EInvalidGraphic(Format("Unknown picture format %s", {std::string(Class->Name)}));
  made.release();
  return g;
}
}  // namespace

void TPicture::NewGraphic(TGraphic* Value) {
  Graphic_.reset(Value);
  if (Graphic_) Graphic_->OnChange = TNotifyEvent(this, &TPicture::GraphicChanged);
  OnChange(this);
}

void TPicture::GraphicChanged(TObject*) { OnChange(this); }

void TPicture::SetGraphic(TGraphic* Value) {
  if (!Value) {
    NewGraphic(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> copy(NewGraphicOf(Value->ClassType()));
  copy->Assign(Value);
  NewGraphic(copy.release());
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(Graphic_.get())) NewGraphic(new TBitmap);
  return static_cast<TBitmap*>(Graphic_.get());
}

TIcon* TPicture::Icon() {
  if (!dynamic_cast<TIcon*>(Graphic_.get())) NewGraphic(new TIcon);
  return static_cast<TIcon*>(Graphic_.get());
}

void TPicture::LoadFromFile(const std::string& FileName) {
  std::string ext = ExtractFileExt(FileName);
  TClass cls = GraphicClassForExtension(ext);
  if (!cls) throw EInvalidGraphic(Format("Unknown picture file extension (%s)", {ext}));
  std::unique_ptr<TGraphic> g(NewGraphicOf(cls));
  g->LoadFromFile(FileName);
  NewGraphic(g.release());
}

void TPicture::SaveToFile(const std::string& FileName) {
  if (Graphic_) Graphic_->SaveToFile(FileName);
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    NewGraphic(nullptr);
  } else if (auto* p = dynamic_cast<TPicture*>(Source)) {
    SetGraphic(p->Graphic_.get());
  } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(g);
  } else {
    TPersistent::Assign(Source);
  }
}

void TPicture::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      "Data", [this](TStream& S) { ReadData(S); }, [this](TStream& S) { WriteData(S); },
      Graphic_ && !Graphic_->Empty());
}

// Picture.Data: the graphic's class name (length byte and name), then the
// graphic's own data.
void TPicture::ReadData(TStream& Stream) {
  uint8_t length = 0;
  Stream.ReadBuffer(&length, 1);
  std::string name(length, '\0');
  Stream.ReadBuffer(name.data(), length);
  TClass cls = GetClass(name);
  if (!cls) throw EInvalidGraphic(Format("Unknown picture format %s", {name}));
  std::unique_ptr<TGraphic> g(NewGraphicOf(cls));
  g->ReadData(Stream);
  NewGraphic(g.release());
}

void TPicture::WriteData(TStream& Stream) {
  if (!Graphic_) return;
  std::string name = Graphic_->ClassName();
  uint8_t length = static_cast<uint8_t>(name.size());
  Stream.WriteBuffer(&length, 1);
  Stream.WriteBuffer(name.data(), length);
  Graphic_->WriteData(Stream);
}

void RegisterGraphicsClasses() {
  RegisterClasses({TBitmap::StaticClass(), TIcon::StaticClass(), TPngImage::StaticClass(),
                   TJPEGImage::StaticClass(), TPicture::StaticClass(), TFont::StaticClass(),
                   TPen::StaticClass(), TBrush::StaticClass()});
}
