#include "ImgList.h"

#include <algorithm>
#include <cstring>

#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/SysColors.h"

namespace win {

// Images keep 0x00RRGGBB pixels and a mask byte per pixel (1: transparent).
struct HIMAGELIST__ {
  int cx = 16;
  int cy = 16;
  UINT flags = 0;
  COLORREF bk = CLR_NONE;
  std::vector<std::vector<uint32_t>> images;
  std::vector<std::vector<uint8_t>> masks;
};

namespace {

uint32_t ToPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// The pixels of a bitmap, top row first.
bool ReadBitmap(HBITMAP bitmap, int* width, int* height, std::vector<uint32_t>* pixels) {
  BITMAP bm;
  if (!bitmap || !GetObject(bitmap, sizeof bm, &bm)) return false;
  *width = bm.bmWidth;
  *height = bm.bmHeight;
  BITMAPINFO info;
  info.bmiHeader.biWidth = bm.bmWidth;
  info.bmiHeader.biHeight = -bm.bmHeight;
  info.bmiHeader.biBitCount = 32;
  pixels->assign(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight), 0);
  HDC dc = CreateCompatibleDC(nullptr);
  int lines = GetDIBits(dc, bitmap, 0, static_cast<UINT>(bm.bmHeight), pixels->data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  for (uint32_t& p : *pixels) p &= 0x00FFFFFF;
  return lines == bm.bmHeight;
}

int AddImages(HIMAGELIST himl, const std::vector<uint32_t>& pixels, int width, int height,
              const std::vector<uint8_t>* mask) {
  if (!himl || width < himl->cx) return -1;
  int first = static_cast<int>(himl->images.size());
  int count = width / himl->cx;
  for (int i = 0; i < count; ++i) {
    std::vector<uint32_t> img(static_cast<size_t>(himl->cx) * himl->cy, 0);
    std::vector<uint8_t> m(img.size(), 0);
    for (int y = 0; y < std::min(height, himl->cy); ++y)
      for (int x = 0; x < himl->cx; ++x) {
        size_t from = static_cast<size_t>(y) * width + i * himl->cx + x;
        size_t to = static_cast<size_t>(y) * himl->cx + x;
        img[to] = pixels[from];
        if (mask && (himl->flags & ILC_MASK)) m[to] = (*mask)[from];
      }
    himl->images.push_back(std::move(img));
    himl->masks.push_back(std::move(m));
  }
  return first;
}

uint32_t Blend(uint32_t a, uint32_t b, int percentB) {
  auto ch = [&](int shift) {
    int x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    return static_cast<uint32_t>((x * (100 - percentB) + y * percentB) / 100) << shift;
  };
  return ch(16) | ch(8) | ch(0);
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
  if (cx <= 0 || cy <= 0) return nullptr;
  auto* himl = new HIMAGELIST__;
  himl->cx = cx;
  himl->cy = cy;
  himl->flags = flags;
  return himl;
}

BOOL ImageList_Destroy(HIMAGELIST himl) {
  if (!himl) return FALSE;
  delete himl;
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST himl) { return himl ? static_cast<int>(himl->images.size()) : 0; }

BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT count) {
  if (!himl) return FALSE;
  himl->images.resize(count, std::vector<uint32_t>(static_cast<size_t>(himl->cx) * himl->cy, 0));
  himl->masks.resize(count, std::vector<uint8_t>(static_cast<size_t>(himl->cx) * himl->cy, 0));
  return TRUE;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  if (!himl) return FALSE;
  if (cx) *cx = himl->cx;
  if (cy) *cy = himl->cy;
  return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy) {
  if (!himl || cx <= 0 || cy <= 0) return FALSE;
  himl->cx = cx;
  himl->cy = cy;
  himl->images.clear();
  himl->masks.clear();
  return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF color) {
  if (!himl) return CLR_NONE;
  COLORREF old = himl->bk;
  himl->bk = color;
  return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST himl) { return himl ? himl->bk : CLR_NONE; }

int ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask) {
  int w = 0, h = 0;
  std::vector<uint32_t> pixels;
  if (!himl || !ReadBitmap(image, &w, &h, &pixels)) return -1;
  std::vector<uint8_t> m;
  if (mask) {
    int mw = 0, mh = 0;
    std::vector<uint32_t> mp;
    if (!ReadBitmap(mask, &mw, &mh, &mp)) return -1;
    m.assign(pixels.size(), 0);
    for (int y = 0; y < std::min(h, mh); ++y)
      for (int x = 0; x < std::min(w, mw); ++x)
        m[static_cast<size_t>(y) * w + x] = mp[static_cast<size_t>(y) * mw + x] != 0 ? 1 : 0;
  }
  return AddImages(himl, pixels, w, h, mask ? &m : nullptr);
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF maskColor) {
  int w = 0, h = 0;
  std::vector<uint32_t> pixels;
  if (!himl || !ReadBitmap(image, &w, &h, &pixels)) return -1;
  uint32_t key = ToPixel(maskColor);
  std::vector<uint8_t> m(pixels.size(), 0);
  if (himl->flags & ILC_MASK)
    for (size_t i = 0; i < pixels.size(); ++i)
      if (pixels[i] == key) {
        m[i] = 1;
        pixels[i] = 0;
      }
  return AddImages(himl, pixels, w, h, &m);
}

BOOL ImageList_Replace(HIMAGELIST himl, int index, HBITMAP image, HBITMAP mask) {
  if (!himl || index < 0 || index >= ImageList_GetImageCount(himl)) return FALSE;
  int at = ImageList_Add(himl, image, mask);
  if (at < 0) return FALSE;
  himl->images[index] = std::move(himl->images[at]);
  himl->masks[index] = std::move(himl->masks[at]);
  himl->images.resize(at);
  himl->masks.resize(at);
  return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST himl, int index) {
  if (!himl) return FALSE;
  if (index == -1) {
    himl->images.clear();
    himl->masks.clear();
    return TRUE;
  }
  if (index < 0 || index >= ImageList_GetImageCount(himl)) return FALSE;
  himl->images.erase(himl->images.begin() + index);
  himl->masks.erase(himl->masks.begin() + index);
  return TRUE;
}

BOOL ImageList_Copy(HIMAGELIST dst, int dstIndex, HIMAGELIST src, int srcIndex, UINT) {
  if (!dst || !src || dst->cx != src->cx || dst->cy != src->cy) return FALSE;
  if (srcIndex < 0 || srcIndex >= ImageList_GetImageCount(src) || dstIndex < 0 ||
      dstIndex >= ImageList_GetImageCount(dst))
    return FALSE;
  dst->images[dstIndex] = src->images[srcIndex];
  dst->masks[dstIndex] = src->masks[srcIndex];
  return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST himl, int index, HDC dc, int x, int y, UINT style) {
  return ImageList_DrawEx(himl, index, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

BOOL ImageList_DrawEx(HIMAGELIST himl, int index, HDC dc, int x, int y, int dx, int dy, COLORREF bk, COLORREF fg,
                      UINT style) {
  if (!himl || !dc || index < 0 || index >= ImageList_GetImageCount(himl)) return FALSE;
  int w = dx > 0 ? std::min(dx, himl->cx) : himl->cx;
  int h = dy > 0 ? std::min(dy, himl->cy) : himl->cy;
  // The destination's pixels are fetched, composed in memory and put back.
  BITMAPINFO info;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib) return FALSE;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, dc, x, y, SRCCOPY);
  auto* out = static_cast<uint32_t*>(bits);
  if (bk == CLR_DEFAULT) bk = himl->bk;
  bool transparent = (style & ILD_TRANSPARENT) || bk == CLR_NONE;
  bool masked = (himl->flags & ILC_MASK) != 0;
  int blend = (style & ILD_BLEND50) ? 50 : (style & ILD_BLEND25) ? 25 : 0;
  uint32_t blendColor = ToPixel(fg == CLR_DEFAULT || fg == CLR_NONE ? GetSysColor(COLOR_HIGHLIGHT) : fg);
  const auto& img = himl->images[index];
  const auto& mask = himl->masks[index];
  for (int row = 0; row < h; ++row)
    for (int col = 0; col < w; ++col) {
      size_t s = static_cast<size_t>(row) * himl->cx + col;
      uint32_t& d = out[static_cast<size_t>(row) * w + col];
      bool clear = masked && mask[s];
      if (style & ILD_MASK) {
        d = clear ? 0xFFFFFF : 0;
        continue;
      }
      if (clear) {
        if (!transparent) d = ToPixel(bk);
        continue;
      }
      uint32_t p = img[s];
      if (blend && fg != CLR_NONE) p = Blend(p, blendColor, blend);
      d = p;
    }
  BitBlt(dc, x, y, w, h, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(dib);
  return TRUE;
}

}  // namespace win

using namespace win;

// TChangeLink ------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TChangeLink, TObject)

TChangeLink::~TChangeLink() {
  if (Sender_) Sender_->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(Sender_);
}

// TCustomImageList -------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TCustomImageList, TComponent)

VXN_PUBLISH(TCustomImageList) {
  P.Property("AllocBy", &TCustomImageList::AllocBy).Default(4);
  P.Property("BkColor", &TCustomImageList::BkColor, &TCustomImageList::SetBkColor)
      .Type(TypeInfoColor())
      .Default(clNone);
  P.Property("BlendColor", &TCustomImageList::BlendColor, &TCustomImageList::SetBlendColor)
      .Type(TypeInfoColor())
      .Default(clNone);
  P.Property("DrawingStyle", &TCustomImageList::DrawingStyle, &TCustomImageList::SetDrawingStyle).Default(dsNormal);
  P.Property("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight).Default(16);
  P.Property("ImageType", &TCustomImageList::ImageType, &TCustomImageList::SetImageType).Default(itImage);
  P.Property("Masked", &TCustomImageList::Masked, &TCustomImageList::SetMasked).Default(true);
  P.Property("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth).Default(16);
  P.Event("OnChange", &TCustomImageList::OnChange);
}

VXN_IMPLEMENT_CREATABLE_CLASS(TImageList, TCustomImageList)

VXN_PUBLISH(TImageList) {}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) { CreateImageList(); }

TCustomImageList::TCustomImageList(Integer AWidth, Integer AHeight) : TComponent(nullptr) {
  Width_ = std::max<Integer>(AWidth, 1);
  Height_ = std::max<Integer>(AHeight, 1);
  CreateImageList();
}

TCustomImageList::~TCustomImageList() {
  Destroying();
  for (TChangeLink* link : Clients_) link->SetSender(nullptr);
  Clients_.clear();
  ImageList_Destroy(Handle_);
}

void TCustomImageList::CreateImageList() {
  if (Handle_) ImageList_Destroy(Handle_);
  Handle_ = ImageList_Create(Width_, Height_, ILC_COLOR32 | (Masked_ ? ILC_MASK : 0), AllocBy, AllocBy);
  ImageList_SetBkColor(Handle_, BkColor_ == clNone ? CLR_NONE : ColorToRGB(BkColor_));
}

win::HIMAGELIST TCustomImageList::Handle() { return Handle_; }

Integer TCustomImageList::Count() const { return ImageList_GetImageCount(Handle_); }

void TCustomImageList::SetWidth(Integer Value) {
  if (Value == Width_ || Value <= 0) return;
  Width_ = Value;
  CreateImageList();
  Change();
}

void TCustomImageList::SetHeight(Integer Value) {
  if (Value == Height_ || Value <= 0) return;
  Height_ = Value;
  CreateImageList();
  Change();
}

void TCustomImageList::SetMasked(bool Value) {
  if (Value == Masked_) return;
  Masked_ = Value;
  // The images stay; only whether their masks count changes.
  if (Masked_)
    Handle_->flags |= ILC_MASK;
  else
    Handle_->flags &= ~ILC_MASK;
  Change();
}

void TCustomImageList::SetBkColor(TColor Value) {
  BkColor_ = Value;
  ImageList_SetBkColor(Handle_, Value == clNone ? CLR_NONE : ColorToRGB(Value));
  Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle Value) {
  if (Value == DrawingStyle_) return;
  DrawingStyle_ = Value;
  Change();
}

void TCustomImageList::SetImageType(TImageType Value) {
  if (Value == ImageType_) return;
  ImageType_ = Value;
  Change();
}

Integer TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image || Image->Empty()) return -1;
  Integer result = ImageList_Add(Handle_, Image->Handle(), Mask && !Mask->Empty() ? Mask->Handle() : nullptr);
  if (result < 0) throw EInvalidOperation("Failed to add image");
  Change();
  return result;
}

Integer TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image || Image->Empty()) return -1;
  if (MaskColor == clDefault) MaskColor = Image->TransparentColor();
  Integer result = ImageList_AddMasked(Handle_, Image->Handle(), ColorToRGB(MaskColor));
  if (result < 0) throw EInvalidOperation("Failed to add image");
  Change();
  return result;
}

void TCustomImageList::Replace(Integer Index, TBitmap* Image, TBitmap* Mask) {
  if (Index < 0 || Index >= Count()) throw EInvalidOperation("Invalid ImageList Index");
  if (!Image || !ImageList_Replace(Handle_, Index, Image->Handle(), Mask ? Mask->Handle() : nullptr))
    throw EInvalidOperation("Failed to replace image");
  Change();
}

void TCustomImageList::Delete(Integer Index) {
  if (Index < 0 || Index >= Count()) throw EInvalidOperation("Invalid ImageList Index");
  ImageList_Remove(Handle_, Index);
  Change();
}

void TCustomImageList::Clear() {
  ImageList_Remove(Handle_, -1);
  Change();
}

bool TCustomImageList::GetResource(TBitmap* Strip, Integer AWidth, TColor MaskColor) {
  if (!Strip || Strip->Empty()) return false;
  BeginUpdate();
  Width_ = AWidth > 0 ? AWidth : Strip->Height();
  Height_ = Strip->Height();
  CreateImageList();
  AddMasked(Strip, MaskColor);
  EndUpdate();
  return Count() > 0;
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled) {
  Draw(Canvas, X, Y, Index, DrawingStyle_, ImageType_, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, TDrawingStyle ADrawingStyle,
                            TImageType AImageType, bool Enabled) {
  if (!Canvas || Index < 0 || Index >= Count()) return;
  UINT style = ILD_NORMAL;
  if (ADrawingStyle == dsFocus) style |= ILD_FOCUS;
  if (ADrawingStyle == dsSelected) style |= ILD_SELECTED;
  if (ADrawingStyle == dsTransparent) style |= ILD_TRANSPARENT;
  if (AImageType == itMask) style |= ILD_MASK;
  DoDraw(Index, Canvas, X, Y, style, Enabled);
}

// Disabled images are engraved: the image's ink once in the highlight colour
// one pixel down and right, then in the shadow colour in place.
void TCustomImageList::DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, win::UINT Style, bool Enabled) {
  HDC dc = Canvas->Handle();
  if (Enabled) {
    COLORREF bk = (Style & ILD_TRANSPARENT) || BkColor_ == clNone ? CLR_NONE : ColorToRGB(BkColor_);
    COLORREF fg = BlendColor_ == clNone ? CLR_DEFAULT : ColorToRGB(BlendColor_);
    ImageList_DrawEx(Handle_, Index, dc, X, Y, 0, 0, bk, fg, Style);
    return;
  }
  const auto& img = Handle_->images[Index];
  const auto& mask = Handle_->masks[Index];
  auto ink = [&](size_t i) {
    if (Masked_ && mask[i]) return false;
    uint32_t p = img[i];
    int lum = (((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11) / 100;
    return lum < 192;
  };
  for (int pass = 0; pass < 2; ++pass) {
    COLORREF c = GetSysColor(pass == 0 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
    int off = pass == 0 ? 1 : 0;
    for (int y = 0; y < Height_; ++y)
      for (int x = 0; x < Width_; ++x)
        if (ink(static_cast<size_t>(y) * Width_ + x)) SetPixel(dc, X + x + off, Y + y + off, c);
  }
}

bool TCustomImageList::GetBitmap(Integer Index, TBitmap* Image) {
  if (!Image || Index < 0 || Index >= Count()) return false;
  Image->SetSize(Width_, Height_);
  TCanvas* canvas = Image->Canvas();
  canvas->Brush()->SetColor(BkColor_ == clNone ? clWhite : BkColor_);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(TRect{0, 0, Width_, Height_});
  ImageList_Draw(Handle_, Index, canvas->Handle(), 0, 0, ILD_TRANSPARENT);
  return true;
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
  if (!Value || std::find(Clients_.begin(), Clients_.end(), Value) != Clients_.end()) return;
  Value->SetSender(this);
  Clients_.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
  auto it = std::find(Clients_.begin(), Clients_.end(), Value);
  if (it == Clients_.end()) return;
  Clients_.erase(it);
  Value->SetSender(nullptr);
}

void TCustomImageList::EndUpdate() {
  if (Updating_ > 0) --Updating_;
  if (Updating_ == 0 && Changed_) Change();
}

void TCustomImageList::Change() {
  Changed_ = true;
  if (Updating_ > 0 || ComponentState().Contains(csLoading)) return;
  Changed_ = false;
  // A client may unregister while it hears of the change.
  std::vector<TChangeLink*> clients = Clients_;
  for (TChangeLink* link : clients)
    if (std::find(Clients_.begin(), Clients_.end(), link) != Clients_.end()) link->Change();
  if (OnChange) OnChange(this);
}

void TCustomImageList::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TCustomImageList*>(Source);
  if (!other) {
    TComponent::Assign(Source);
    return;
  }
  Width_ = other->Width_;
  Height_ = other->Height_;
  Masked_ = other->Masked_;
  BkColor_ = other->BkColor_;
  BlendColor_ = other->BlendColor_;
  DrawingStyle_ = other->DrawingStyle_;
  ImageType_ = other->ImageType_;
  CreateImageList();
  *Handle_ = *other->Handle_;
  Change();
}

void TCustomImageList::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Bitmap", [this](TStream& S) { ReadData(S); }, [this](TStream& S) { WriteData(S); }, Count() > 0);
}

// The images of a list in a form file ("Bitmap"), little-endian:
//   +0  uint32 count   +4 uint32 width   +8 uint32 height
//   +12 count x { width*height uint32 pixels 0x00RRGGBB, top row first;
//                 width*height bytes of mask, 1 = transparent }
void TCustomImageList::ReadData(TStream& Stream) {
  uint32_t head[3] = {0, 0, 0};
  Stream.ReadBuffer(head, sizeof head);
  // Sizes from a file are checked before anything is allocated for them.
  if (head[1] == 0 || head[2] == 0 || head[1] > 4096 || head[2] > 4096 || head[0] > 65536)
    throw EReadError("Invalid image list data");
  size_t n = static_cast<size_t>(head[1]) * head[2];
  if (static_cast<uint64_t>(Stream.Size() - Stream.Position()) < static_cast<uint64_t>(head[0]) * n * 5)
    throw EReadError("Invalid image list data");
  Width_ = static_cast<Integer>(head[1]);
  Height_ = static_cast<Integer>(head[2]);
  CreateImageList();
  for (uint32_t i = 0; i < head[0]; ++i) {
    std::vector<uint32_t> img(n);
    std::vector<uint8_t> mask(n);
    Stream.ReadBuffer(img.data(), static_cast<LongInt>(n * 4));
    Stream.ReadBuffer(mask.data(), static_cast<LongInt>(n));
    for (uint32_t& p : img) p &= 0x00FFFFFF;
    for (uint8_t& m : mask) m = m ? 1 : 0;
    Handle_->images.push_back(std::move(img));
    Handle_->masks.push_back(std::move(mask));
  }
  Change();
}

void TCustomImageList::WriteData(TStream& Stream) {
  uint32_t head[3] = {static_cast<uint32_t>(Count()), static_cast<uint32_t>(Width_), static_cast<uint32_t>(Height_)};
  Stream.WriteBuffer(head, sizeof head);
  for (Integer i = 0; i < Count(); ++i) {
    Stream.WriteBuffer(Handle_->images[i].data(), static_cast<LongInt>(Handle_->images[i].size() * 4));
    Stream.WriteBuffer(Handle_->masks[i].data(), static_cast<LongInt>(Handle_->masks[i].size()));
  }
}

[[maybe_unused]] static const bool kImageListRegistered = [] {
  RegisterClasses({TImageList::StaticClass()});
  return true;
}();
