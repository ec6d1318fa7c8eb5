#include "platform/forms/ImgList.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/forms/Controls.h"
#include "platform/forms/FormsPrivate.h"
#include "platform/win/Gdi.h"
#include "platform/win/ImageListRecord.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/Windows.h"
#include "platform/win/GdiScopes.h"

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

VXN_IMPLEMENT_CREATABLE_CLASS(TDragImageList, TCustomImageList)

VXN_PUBLISH(TDragImageList) {}

VXN_IMPLEMENT_CREATABLE_CLASS(TImageList, TDragImageList)

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

void TCustomImageList::DrawOverlay(TCanvas* Canvas, Integer X, Integer Y, Integer ImageIndex, TOverlay Overlay,
                                   bool Enabled) {
  DrawOverlay(Canvas, X, Y, ImageIndex, Overlay, DrawingStyle_, ImageType_, Enabled);
}

void TCustomImageList::DrawOverlay(TCanvas* Canvas, Integer X, Integer Y, Integer ImageIndex, TOverlay Overlay,
                                   TDrawingStyle ADrawingStyle, TImageType AImageType, bool Enabled) {
  if (!Canvas || ImageIndex < 0 || ImageIndex >= Count()) return;
  UINT style = ILD_NORMAL;
  if (ADrawingStyle == dsFocus) style |= ILD_FOCUS;
  if (ADrawingStyle == dsSelected) style |= ILD_SELECTED;
  if (ADrawingStyle == dsTransparent) style |= ILD_TRANSPARENT;
  if (AImageType == itMask) style |= ILD_MASK;
  if (Overlay >= 0 && Overlay < kMaxOverlays) style |= INDEXTOOVERLAYMASK(Overlay + 1);
  DoDraw(ImageIndex, Canvas, X, Y, style, Enabled);
}

bool TCustomImageList::Overlay(Integer ImageIndex, TOverlay Overlay) {
  if (ImageIndex < 0 || ImageIndex >= Count() || Overlay < 0 || Overlay >= kMaxOverlays) return false;
  if (!ImageList_SetOverlayImage(Handle_, ImageIndex, Overlay + 1)) return false;
  Change();
  return true;
}

// An icon file of one 32-bit image, as the icon class reads it:
//   header  0, 1 (icon), 1 (count)
//   entry   width, height, 0, 0, planes 1, 32 bits, bytes, offset 22
//   image   BITMAPINFOHEADER (height doubled), BGRA rows bottom up, then the
//           AND mask rows (1 bit a pixel, rows padded to 32 bits, 1 = see-through)
bool TCustomImageList::GetIcon(Integer Index, TIcon* Image) {
  if (!Image || Index < 0 || Index >= Count()) return false;
  std::vector<uint32_t> pixels;
  std::vector<uint8_t> mask;
  ComposeImage(Handle_, Index, ILD_NORMAL, &pixels, &mask);
  const uint32_t w = static_cast<uint32_t>(Width_), h = static_cast<uint32_t>(Height_);
  const uint32_t maskStride = (w + 31) / 32 * 4;
  const uint32_t bytes = 40 + w * h * 4 + maskStride * h;
  std::string d;
  auto put16 = [&](uint32_t v) { d.push_back(static_cast<char>(v & 0xFF)), d.push_back(static_cast<char>(v >> 8)); };
  auto put32 = [&](uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
  put16(0), put16(1), put16(1);
  d.push_back(static_cast<char>(w >= 256 ? 0 : w)), d.push_back(static_cast<char>(h >= 256 ? 0 : h));
  put16(0), put16(1), put16(32), put32(bytes), put32(22);
  put32(40), put32(w), put32(h * 2), put16(1), put16(32), put32(0), put32(w * h * 4 + maskStride * h);
  put32(0), put32(0), put32(0), put32(0);
  for (uint32_t y = h; y-- > 0;)
    for (uint32_t x = 0; x < w; ++x) {
      size_t i = static_cast<size_t>(y) * w + x;
      put32(mask[i] ? 0 : (pixels[i] | 0xFF000000u));
    }
  for (uint32_t y = h; y-- > 0;) {
    std::string row(maskStride, '\0');
    for (uint32_t x = 0; x < w; ++x)
      if (mask[static_cast<size_t>(y) * w + x]) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
    d += row;
  }
  TStringStream stream(d);
  Image->LoadFromStream(stream);
  return true;
}

Integer TCustomImageList::AddIcon(TIcon* Image) {
  if (!Image || Image->Empty()) return -1;
  const TAlphaImage& picture = Image->Image();
  size_t n = static_cast<size_t>(Width_) * Height_;
  std::vector<uint32_t> img(n, 0);
  std::vector<uint8_t> mask(n, 0);
  for (Integer y = 0; y < Height_; ++y)
    for (Integer x = 0; x < Width_; ++x) {
      Integer sx = x * picture.Width / Width_, sy = y * picture.Height / Height_;
      uint32_t p = picture.Pixels[static_cast<size_t>(sy) * picture.Width + sx];
      size_t i = static_cast<size_t>(y) * Width_ + x;
      if ((p >> 24) < 0x80)
        mask[i] = 1;
      else
        img[i] = p & 0x00FFFFFF;
    }
  Handle_->images.push_back(std::move(img));
  Handle_->masks.push_back(std::move(mask));
  Change();
  return Count() - 1;
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
  std::vector<uint32_t> img;
  std::vector<uint8_t> mask;
  ComposeImage(Handle_, Index, Style, &img, &mask);
  auto ink = [&](size_t i) {
    if (mask[i]) return false;
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

bool RelinkImageList(TCustomImageList*& Field, TCustomImageList* Value, TChangeLink* Link, TComponent* Notified) {
  if (Field == Value) return false;
  if (Field) {
    Field->UnRegisterChanges(Link);
    Field->RemoveFreeNotification(Notified);
  }
  Field = Value;
  if (Field) {
    Field->RegisterChanges(Link);
    Field->FreeNotification(Notified);
  }
  return true;
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

void forms::LinkImages(TChangeLink& Link, TCustomImageList* List) {
  if (Link.Sender()) Link.Sender()->UnRegisterChanges(&Link);
  Link.SetSender(nullptr);
  if (List) List->RegisterChanges(&Link);
}

void RegisterImgListClasses() {
  RegisterClasses({TImageList::StaticClass()});
}

// TDragImageList ------------------------------------------------------------------------

namespace {
// The list whose image the one drag image of the window layer is.
TDragImageList* ActiveDragList = nullptr;
}  // namespace

TDragImageList::~TDragImageList() {
  if (ActiveDragList == this) EndDrag();
}

bool TDragImageList::Dragging() const {
  return ActiveDragList == this && ImageList_GetDragImage(nullptr, nullptr) != nullptr;
}

bool TDragImageList::BeginDrag(win::HWND Window, Integer X, Integer Y) {
  if (Dragging()) return DragLock(Window, X, Y);
  if (!ImageList_BeginDrag(Handle(), DragIndex_, DragHotspot_.X, DragHotspot_.Y)) return false;
  ActiveDragList = this;
  DragLockWindow_ = nullptr;
  Shown_ = false;
  return DragLock(Window, X, Y);
}

bool TDragImageList::DragLock(win::HWND Window, Integer XPos, Integer YPos) {
  if (!Dragging()) return false;
  if (!Window) Window = GetDesktopWindow();
  if (Window == DragLockWindow_) {
    ImageList_DragMove(XPos, YPos);
    return true;
  }
  if (DragLockWindow_) ImageList_DragLeave(DragLockWindow_);
  DragLockWindow_ = Window;
  Shown_ = ImageList_DragEnter(Window, XPos, YPos) != FALSE;
  return Shown_;
}

void TDragImageList::DragUnlock() {
  if (Dragging() && DragLockWindow_) ImageList_DragLeave(DragLockWindow_);
  DragLockWindow_ = nullptr;
  Shown_ = false;
}

bool TDragImageList::DragMove(Integer X, Integer Y) { return Dragging() && ImageList_DragMove(X, Y); }

void TDragImageList::ShowDragImage() {
  if (!Dragging()) return;
  ImageList_DragShowNolock(TRUE);
  Shown_ = true;
}

void TDragImageList::HideDragImage() {
  if (!Dragging()) return;
  ImageList_DragShowNolock(FALSE);
  Shown_ = false;
}

bool TDragImageList::EndDrag() {
  bool was = Dragging();
  if (ActiveDragList == this) {
    ImageList_EndDrag();
    ActiveDragList = nullptr;
  }
  DragLockWindow_ = nullptr;
  Shown_ = false;
  return was;
}

bool TDragImageList::SetDragImage(Integer Index, Integer HotSpotX, Integer HotSpotY) {
  if (Index < 0 || Index >= Count()) return false;
  DragIndex_ = Index;
  DragHotspot_ = TPoint{HotSpotX, HotSpotY};
  if (!Dragging()) return true;
  // A new picture for the drag under way, where the old one stood.
  POINT pos;
  ImageList_GetDragImage(&pos, nullptr);
  HWND lock = DragLockWindow_;
  bool shown = Shown_;
  ImageList_BeginDrag(Handle(), Index, HotSpotX, HotSpotY);
  if (lock)
    ImageList_DragEnter(lock, pos.x, pos.y);
  else
    ImageList_DragMove(pos.x, pos.y);
  ImageList_DragShowNolock(shown);
  return true;
}

void TDragImageList::SetDragCursor(TCursor Value) {
  DragCursor_ = Value;
  if (Dragging() && Shown_ && Value != crDefault) win::SetCursor(CursorHandle(Value));
}
