// Image lists: equal-sized images with masks in one list handle
// (HIMAGELIST and the ImageList_* calls), drawn normal, blended, or in the
// engraved disabled look, with change links for the controls that show them.
#pragma once

#include <memory>
#include <vector>

#include "Graphics.h"
#include "platform/win/UxTheme.h"

namespace win {

// HIMAGELIST (declared with the visual-style API) points at HIMAGELIST__.

constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR = 0x0000;
constexpr UINT ILC_COLORDDB = 0x00FE;
constexpr UINT ILC_COLOR4 = 0x0004;
constexpr UINT ILC_COLOR8 = 0x0008;
constexpr UINT ILC_COLOR16 = 0x0010;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;

constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_MASK = 0x0010;
constexpr UINT ILD_IMAGE = 0x0020;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_BLEND50 = 0x0004;
constexpr UINT ILD_SELECTED = ILD_BLEND50;
constexpr UINT ILD_BLEND = ILD_BLEND50;

constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST himl);
int ImageList_GetImageCount(HIMAGELIST himl);
BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT count);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
// Empties the list.
BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy);
COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF color);
COLORREF ImageList_GetBkColor(HIMAGELIST himl);
// A strip of images, cut every cx pixels; a set mask pixel (white) is
// transparent. Gives the index of the first image or -1.
int ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask);
// The pixels of the colour become transparent (and black in the image).
int ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF maskColor);
BOOL ImageList_Replace(HIMAGELIST himl, int index, HBITMAP image, HBITMAP mask);
// -1 removes all.
BOOL ImageList_Remove(HIMAGELIST himl, int index);
BOOL ImageList_Copy(HIMAGELIST dst, int dstIndex, HIMAGELIST src, int srcIndex, UINT flags);
BOOL ImageList_Draw(HIMAGELIST himl, int index, HDC dc, int x, int y, UINT style);
// bk: CLR_NONE draws transparent, CLR_DEFAULT the list's background colour;
// fg: the blend colour (CLR_DEFAULT the highlight colour).
BOOL ImageList_DrawEx(HIMAGELIST himl, int index, HDC dc, int x, int y, int dx, int dy, COLORREF bk, COLORREF fg,
                      UINT style);

}  // namespace win

VXN_ENUM(TDrawingStyle, dsFocus, dsSelected, dsNormal, dsTransparent)
VXN_ENUM(TImageType, itImage, itMask)

class TCustomImageList;

// A listener of an image list: OnChange runs after the images changed.
class TChangeLink : public TObject {
  VXN_DECLARE_CLASS(TChangeLink)

 public:
  TChangeLink() = default;
  ~TChangeLink() override;
  TCustomImageList* Sender() const { return Sender_; }
  void SetSender(TCustomImageList* Value) { Sender_ = Value; }
  TNotifyEvent OnChange;
  void Change();

 private:
  TCustomImageList* Sender_ = nullptr;
};

class TCustomImageList : public TComponent {
  VXN_DECLARE_CLASS(TCustomImageList)

 public:
  explicit TCustomImageList(TComponent* AOwner);
  TCustomImageList(Integer AWidth, Integer AHeight);
  ~TCustomImageList() override;

  // Changing the size empties the list.
  Integer Width() const { return Width_; }
  void SetWidth(Integer Value);
  Integer Height() const { return Height_; }
  void SetHeight(Integer Value);
  bool Masked() const { return Masked_; }
  void SetMasked(bool Value);
  TColor BkColor() const { return BkColor_; }
  void SetBkColor(TColor Value);
  TColor BlendColor() const { return BlendColor_; }
  void SetBlendColor(TColor Value) { BlendColor_ = Value; }
  TDrawingStyle DrawingStyle() const { return DrawingStyle_; }
  void SetDrawingStyle(TDrawingStyle Value);
  TImageType ImageType() const { return ImageType_; }
  void SetImageType(TImageType Value);
  Integer AllocBy = 4;
  TNotifyEvent OnChange;

  Integer Count() const;
  win::HIMAGELIST Handle();
  bool HandleAllocated() const { return Handle_ != nullptr; }

  // The strip is cut into Width-wide images; gives the first new index.
  Integer Add(TBitmap* Image, TBitmap* Mask);
  Integer AddMasked(TBitmap* Image, TColor MaskColor);
  void Replace(Integer Index, TBitmap* Image, TBitmap* Mask);
  void Delete(Integer Index);
  void Clear();
  // Loads a bitmap strip; pixels of MaskColor become transparent.
  bool GetResource(TBitmap* Strip, Integer AWidth, TColor MaskColor);

  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled = true);
  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, TDrawingStyle ADrawingStyle,
            TImageType AImageType, bool Enabled = true);
  // Copies the image onto the bitmap (sized to the list; the masked part in
  // the background colour, or white without one). False for a bad index.
  bool GetBitmap(Integer Index, TBitmap* Image);

  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);
  void BeginUpdate() { ++Updating_; }
  void EndUpdate();

  void Assign(TPersistent* Source) override;

 protected:
  void DefineProperties(TFiler* Filer) override;
  virtual void Change();
  virtual void DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, win::UINT Style, bool Enabled);

 private:
  void ReadData(TStream& Stream);
  void WriteData(TStream& Stream);
  void CreateImageList();

  Integer Width_ = 16;
  Integer Height_ = 16;
  bool Masked_ = true;
  TColor BkColor_ = clNone;
  TColor BlendColor_ = clNone;
  TDrawingStyle DrawingStyle_ = dsNormal;
  TImageType ImageType_ = itImage;
  win::HIMAGELIST Handle_ = nullptr;
  std::vector<TChangeLink*> Clients_;
  Integer Updating_ = 0;
  bool Changed_ = false;
};

class TImageList : public TCustomImageList {
  VXN_DECLARE_CLASS(TImageList)

 public:
  using TCustomImageList::TCustomImageList;
};
