// The drawing objects of the forms library: fonts, pens and brushes that
// make their GDI handles on demand, the canvas over a device context, and
// the pictures (bitmaps, icons and, through their own modules, PNG and JPEG
// images) that a canvas draws.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/rtl/Components.h"
#include "platform/rtl/NamedInts.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/WinTypes.h"
#include "platform/win/WinUser.h"

class EInvalidGraphic : public Exception {
  VXN_DECLARE_CLASS(EInvalidGraphic)

 public:
  using Exception::Exception;
};

class EInvalidGraphicOperation : public Exception {
  VXN_DECLARE_CLASS(EInvalidGraphicOperation)

 public:
  using Exception::Exception;
};

// System colours (clBtnFace, ...) become their current RGB value; every
// other value is already one and comes back unchanged.
win::COLORREF ColorToRGB(TColor Color);

// Screen resolution the font sizes are converted with.
inline constexpr Integer ScreenPixelsPerInch = 96;

VXN_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle>;
VXN_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)
VXN_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
VXN_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
         pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)
VXN_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross,
         bsDiagCross)
VXN_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom)
VXN_ENUM(TTransparentMode, tmAuto, tmFixed)

using TCopyMode = win::DWORD;
inline constexpr TCopyMode cmBlackness = win::BLACKNESS;
inline constexpr TCopyMode cmDstInvert = win::DSTINVERT;
inline constexpr TCopyMode cmMergeCopy = win::MERGECOPY;
inline constexpr TCopyMode cmMergePaint = win::MERGEPAINT;
inline constexpr TCopyMode cmNotSrcCopy = win::NOTSRCCOPY;
inline constexpr TCopyMode cmNotSrcErase = win::NOTSRCERASE;
inline constexpr TCopyMode cmPatCopy = win::PATCOPY;
inline constexpr TCopyMode cmPatInvert = win::PATINVERT;
inline constexpr TCopyMode cmPatPaint = win::PATPAINT;
inline constexpr TCopyMode cmSrcAnd = win::SRCAND;
inline constexpr TCopyMode cmSrcCopy = win::SRCCOPY;
inline constexpr TCopyMode cmSrcErase = win::SRCERASE;
inline constexpr TCopyMode cmSrcInvert = win::SRCINVERT;
inline constexpr TCopyMode cmSrcPaint = win::SRCPAINT;
inline constexpr TCopyMode cmWhiteness = win::WHITENESS;

// Fonts, pens and brushes share this: a GDI handle made when first asked
// for and dropped on every change, and OnChange for whoever shows them.
class TGraphicsObject : public TPersistent {
  VXN_DECLARE_CLASS(TGraphicsObject)

 public:
  ~TGraphicsObject() override;
  TNotifyEvent OnChange;

 protected:
  void Changed();
  void FreeHandle();
  win::HGDIOBJ Handle_ = nullptr;
};

class TFont : public TGraphicsObject {
  VXN_DECLARE_CLASS(TFont)

 public:
  TFont() = default;

  Integer GetCharset() const { return Charset_; }
  void SetCharset(Integer Value);
  TColor GetColor() const { return Color_; }
  void SetColor(TColor Value);
  // Negative: character height in pixels (the usual form); positive: cell height.
  Integer GetHeight() const { return Height_; }
  void SetHeight(Integer Value);
  std::string GetName() const { return Name_; }
  void SetName(const std::string& Value);
  TFontPitch GetPitch() const { return Pitch_; }
  void SetPitch(TFontPitch Value);
  // Points; kept as Height at ScreenPixelsPerInch, as the system stores it.
  Integer GetSize() const;
  void SetSize(Integer Value);
  TFontStyles GetStyle() const { return Style_; }
  void SetStyle(TFontStyles Value);

  // The font as a GDI font. Setting a handle takes over its description
  // and the handle itself (the font deletes it).
  win::HFONT Handle();
  void SetHandle(win::HFONT Value);

  void Assign(TPersistent* Source) override;
  bool Equals(const TFont& Other) const;

 private:
  std::string Name_ = "Tahoma";
  Integer Height_ = -11;  // 8 points
  TColor Color_ = clWindowText;
  Integer Charset_ = 1;  // DEFAULT_CHARSET
  TFontPitch Pitch_ = fpDefault;
  TFontStyles Style_;
};

class TPen : public TGraphicsObject {
  VXN_DECLARE_CLASS(TPen)

 public:
  TColor GetColor() const { return Color_; }
  void SetColor(TColor Value);
  TPenMode GetMode() const { return Mode_; }
  void SetMode(TPenMode Value);
  TPenStyle GetStyle() const { return Style_; }
  void SetStyle(TPenStyle Value);
  Integer GetWidth() const { return Width_; }
  void SetWidth(Integer Value);

  win::HPEN Handle();
  // The raster operation (R2_xxx) of Mode.
  int Rop2() const;

  void Assign(TPersistent* Source) override;

 private:
  TColor Color_ = clBlack;
  TPenMode Mode_ = pmCopy;
  TPenStyle Style_ = psSolid;
  Integer Width_ = 1;
};

class TBitmap;

class TBrush : public TGraphicsObject {
  VXN_DECLARE_CLASS(TBrush)

 public:
  ~TBrush() override;

  // A pattern bitmap takes precedence over Color and Style; the brush keeps
  // its own copy.
  TBitmap* GetBitmap() const { return Bitmap_.get(); }
  void SetBitmap(TBitmap* Value);
  TColor GetColor() const { return Color_; }
  void SetColor(TColor Value);
  TBrushStyle GetStyle() const { return Style_; }
  void SetStyle(TBrushStyle Value);

  win::HBRUSH Handle();

  void Assign(TPersistent* Source) override;

 private:
  std::unique_ptr<TBitmap> Bitmap_;
  TColor Color_ = clWhite;
  TBrushStyle Style_ = bsSolid;
};

class TGraphic;

class TCanvas : public TPersistent {
  VXN_DECLARE_CLASS(TCanvas)

 public:
  TCanvas();
  ~TCanvas() override;

  // The device context; descendants that can make one on demand override
  // CreateHandle (the bitmap's canvas does), otherwise drawing without a
  // handle raises EInvalidOperation "Canvas does not allow drawing".
  win::HDC Handle();
  void SetHandle(win::HDC Value);
  bool HandleAllocated() const { return Handle_ != nullptr; }

  TFont* Font() const { return Font_.get(); }
  void SetFont(TFont* Value) { Font_->Assign(Value); }
  TPen* Pen() const { return Pen_.get(); }
  void SetPen(TPen* Value) { Pen_->Assign(Value); }
  TBrush* Brush() const { return Brush_.get(); }
  void SetBrush(TBrush* Value) { Brush_->Assign(Value); }
  TCopyMode CopyMode = cmSrcCopy;

  TPoint PenPos();
  void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }
  TRect ClipRect();
  TColor Pixels(Integer X, Integer Y);
  // The drawing members are virtual so that a canvas which records (the
  // metafile's) sees every call.
  virtual void SetPixels(Integer X, Integer Y, TColor Value);

  virtual void MoveTo(Integer X, Integer Y);
  virtual void LineTo(Integer X, Integer Y);
  virtual void Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  virtual void RoundRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3);
  virtual void Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
  virtual void Polygon(const std::vector<TPoint>& Points);
  virtual void Polyline(const std::vector<TPoint>& Points);
  virtual void FillRect(const TRect& R);
  virtual void FrameRect(const TRect& R);
  virtual void DrawFocusRect(const TRect& R);

  // TextOut leaves the pen position after the text, as the system does.
  virtual void TextOut(Integer X, Integer Y, const std::string& Text);
  virtual void TextRect(const TRect& R, Integer X, Integer Y, const std::string& Text);
  TSize TextExtent(const std::string& Text);
  Integer TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
  Integer TextHeight(const std::string& Text) { return TextExtent(Text).cy; }

  virtual void Draw(Integer X, Integer Y, TGraphic* Graphic);
  virtual void StretchDraw(const TRect& R, TGraphic* Graphic);
  virtual void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
  // Copies Source of Bitmap with the pixels of Color replaced by the brush.
  virtual void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);

  // Serialises drawing from several threads; nests.
  void Lock();
  bool TryLock();
  void Unlock();
  Integer LockCount() const { return LockCount_; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  // Selects the current pen, brush and font and the text colours into the
  // DC; the drawing members call it, and so may code that draws on Handle
  // with GDI calls directly.
  void RequiredState();

 protected:
  virtual void CreateHandle() {}
  void Changing();
  void Changed();

 private:
  void ObjectChanged(TObject* Sender);
  void DeselectHandles();

  win::HDC Handle_ = nullptr;
  std::unique_ptr<TFont> Font_;
  std::unique_ptr<TPen> Pen_;
  std::unique_ptr<TBrush> Brush_;
  std::recursive_mutex Mutex_;
  Integer LockCount_ = 0;
};

// A picture of any kind. Width and Height 0 mean empty.
class TGraphic : public TPersistent {
  VXN_DECLARE_CLASS(TGraphic)

 public:
  TGraphic() = default;

  virtual bool Empty() const = 0;
  virtual Integer Width() const = 0;
  virtual Integer Height() const = 0;
  virtual void SetWidth(Integer Value) = 0;
  virtual void SetHeight(Integer Value) = 0;
  virtual bool Transparent() const { return Transparent_; }
  virtual void SetTransparent(bool Value);
  bool Modified() const { return Modified_; }
  void SetModified(bool Value);

  virtual void LoadFromStream(TStream& Stream) = 0;
  virtual void SaveToStream(TStream& Stream) = 0;
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);

  // Draws the picture into R of the canvas (scaled to R).
  virtual void Draw(TCanvas* ACanvas, const TRect& R) = 0;

  // The picture inside a form file's Picture.Data, after the class name:
  // by default the length (4 bytes, little-endian) and the saved file.
  virtual void ReadData(TStream& Stream);
  virtual void WriteData(TStream& Stream);

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
  bool Transparent_ = false;
  bool Modified_ = false;
};

using TGraphicClass = TClass;

// Bitmaps keep 32-bit pixels 0x00RRGGBB (pf32bit rows in memory order B, G,
// R, unused) in a DIB section, or one bit per pixel when monochrome.
// PixelFormat records the depth the picture came with and is saved with.
class TBitmap : public TGraphic {
  VXN_DECLARE_CLASS(TBitmap)

 public:
  TBitmap();
  ~TBitmap() override;

  bool Empty() const override { return Width_ == 0 || Height_ == 0; }
  Integer Width() const override { return Width_; }
  Integer Height() const override { return Height_; }
  void SetWidth(Integer Value) override { SetSize(Value, Height_); }
  void SetHeight(Integer Value) override { SetSize(Width_, Value); }
  // Keeps the pixels of the common part; new pixels are white.
  void SetSize(Integer AWidth, Integer AHeight);

  bool Monochrome() const { return Monochrome_; }
  void SetMonochrome(bool Value);
  TPixelFormat PixelFormat() const { return PixelFormat_; }
  void SetPixelFormat(TPixelFormat Value);

  TColor TransparentColor() const;
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return TransparentMode_; }
  void SetTransparentMode(TTransparentMode Value);

  TCanvas* Canvas();
  win::HBITMAP Handle();
  // Takes ownership of a bitmap handle.
  void SetHandle(win::HBITMAP Value);
  // Hands the handle over to the caller; the bitmap becomes empty.
  win::HBITMAP ReleaseHandle();
  // The row's 32-bit pixels (colour bitmaps only).
  uint32_t* ScanLine(Integer Row);
  void Dormant() {}
  void FreeImage() {}

  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) override;
  void LoadFromResourceName(const std::string& ResName);
  void Draw(TCanvas* ACanvas, const TRect& R) override;
  void Assign(TPersistent* Source) override;

  // The memory DC the bitmap sits in (made on demand).
  win::HDC DC();

 private:
  void NewImage(Integer AWidth, Integer AHeight, bool AMonochrome);
  void DestroyImage();
  void ReadBmp(const std::string& Data);
  void CanvasChanged(TObject* Sender);

  class TBitmapCanvas;
  Integer Width_ = 0;
  Integer Height_ = 0;
  bool Monochrome_ = false;
  TPixelFormat PixelFormat_ = pfDevice;
  TColor TransparentColor_ = clDefault;
  TTransparentMode TransparentMode_ = tmAuto;
  win::HBITMAP Bitmap_ = nullptr;
  uint32_t* Bits_ = nullptr;
  win::HDC DC_ = nullptr;
  win::HGDIOBJ OldBitmap_ = nullptr;
  std::unique_ptr<TCanvas> Canvas_;
};

// Pictures with their own alpha channel (icons, PNG images): straight
// (not premultiplied) 0xAARRGGBB pixels, drawn blended onto the canvas.
struct TAlphaImage {
  Integer Width = 0;
  Integer Height = 0;
  std::vector<uint32_t> Pixels;

  void DrawTo(TCanvas* ACanvas, const TRect& R) const;
  // Copies onto a colour bitmap over Background.
  void ToBitmap(TBitmap* Bitmap, TColor Background) const;
  void FromBitmap(TBitmap* Bitmap);
};

class TIcon : public TGraphic {
  VXN_DECLARE_CLASS(TIcon)

 public:
  bool Empty() const override { return Image_.Pixels.empty(); }
  Integer Width() const override { return Image_.Width; }
  Integer Height() const override { return Image_.Height; }
  // Icons cannot be resized; EInvalidGraphicOperation "Cannot change the size of an icon".
  void SetWidth(Integer Value) override;
  void SetHeight(Integer Value) override;

  // Decodes the image of the icon file closest to 32 x 32 (ties go to the
  // deeper colours); the whole file is kept and saved unchanged.
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) override;
  void Draw(TCanvas* ACanvas, const TRect& R) override;
  void Assign(TPersistent* Source) override;
  // Icons are stored in form files without a length.
  void ReadData(TStream& Stream) override { LoadFromStream(Stream); }
  void WriteData(TStream& Stream) override { SaveToStream(Stream); }

  const TAlphaImage& Image() const { return Image_; }

  TIcon() = default;
  ~TIcon() override;
  // The picture as an icon handle for windows (WM_SETICON): made on first
  // use, kept until the picture changes or the icon goes; 0 when empty.
  win::HICON Handle();

 protected:
  void Changed() override;

 private:
  void ReleaseHandle();
  std::string Data_;
  TAlphaImage Image_;
  win::HICON Handle_ = nullptr;
};

// A picture of whatever kind was loaded, chosen by the file extension
// (bmp, ico, png, jpg/jpeg) or, for streams and form files, by the class
// name stored before the data.
class TPicture : public TPersistent {
  VXN_DECLARE_CLASS(TPicture)

 public:
  TPicture() = default;
  ~TPicture() override;

  TGraphic* Graphic() const { return Graphic_.get(); }
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap; a picture of another kind is replaced by an
  // empty bitmap, as the system does.
  TBitmap* Bitmap();
  TIcon* Icon();
  Integer Width() const { return Graphic_ ? Graphic_->Width() : 0; }
  Integer Height() const { return Graphic_ ? Graphic_->Height() : 0; }

  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;

  // The graphic class for an extension without its dot ("bmp"); null when unknown.
  static TClass GraphicClassForExtension(const std::string& Ext);

  TNotifyEvent OnChange;

 private:
  void ReadData(TStream& Stream);
  void WriteData(TStream& Stream);
  void GraphicChanged(TObject* Sender);
  void NewGraphic(TGraphic* Value);

  std::unique_ptr<TGraphic> Graphic_;
};

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterGraphicsClasses();
