// A push button's glyph: the bitmap strip of up to four cells (up, disabled,
// down, exclusive), its placement beside the caption, and the per-state
// images built from it on first use. The images live in image lists shared
// by every button whose cells have the same size, handed out by the one
// glyph cache; a slot given back is reused before the list grows.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/ImgList.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/cxLookAndFeelPainters.h"

// An image list of one cell size whose slots are lent out and given back.
class TcxGlyphList : public TCustomImageList {
  VXN_DECLARE_CLASS(TcxGlyphList)

 public:
  TcxGlyphList(Integer AWidth, Integer AHeight);

  // Stores the image (masked by the colour; clDefault: its bottom-left
  // pixel) in a free slot and gives the slot's index.
  Integer AddMasked(TBitmap* Image, TColor MaskColor);
  // The slot becomes free; its image stays until the slot is reused.
  void ReleaseIndex(Integer Index);
  Integer UsedCount() const { return FCount; }
  bool IsUsed(Integer Index) const;

 private:
  Integer AllocateIndex(TBitmap* Image);

  std::vector<bool> FUsed;
  Integer FCount = 0;
};

// The glyph lists of all buttons, one per cell size.
class TcxGlyphCache : public TObject {
  VXN_DECLARE_CLASS(TcxGlyphCache)

 public:
  TcxGlyphCache() = default;
  ~TcxGlyphCache() override;

  TcxGlyphList* GetList(Integer AWidth, Integer AHeight);
  // Frees the list when no slot of it is in use any more.
  void ReturnList(TcxGlyphList* AList);
  bool IsEmpty() const { return FLists.empty(); }
  Integer Count() const { return static_cast<Integer>(FLists.size()); }

 private:
  std::vector<std::unique_ptr<TcxGlyphList>> FLists;
};

// The cache of the running program; null before the first button glyph and
// after the last one went away with no list left.
TcxGlyphCache* GlyphCache();

// The image kind drawn for a button state: 0 up, 1 disabled, 2 down.
extern const std::array<Integer, 5> GlyphImageOfState;

class TcxButtonGlyph : public TObject {
  VXN_DECLARE_CLASS(TcxButtonGlyph)

 public:
  TcxButtonGlyph();
  ~TcxButtonGlyph() override;

  TBitmap* Glyph() const { return FGlyph.get(); }
  // Copies the bitmap; a strip of 1 to 4 square cells sets NumGlyphs.
  void SetGlyph(TBitmap* Value);
  Integer NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(Integer Value);
  TColor TransparentColor() const { return FTransparentColor; }

  TNotifyEvent OnChange;

  // The glyph list index of the state's image, built when first asked;
  // -1 for an empty glyph.
  virtual Integer CreateButtonGlyph(TcxButtonState AState);
  // The room kept around the caption (left, top, right, bottom).
  virtual TRect TextOffsets();

  // Lays out and draws glyph and caption in AClient moved by AOffset.
  // ABiDiFlags are DrawText's direction flags (DT_RIGHT, DT_RTLREADING).
  void Draw(TcxCanvas* ACanvas, const TRect& AClient, const TPoint& AOffset, const std::string& ACaption,
            TButtonLayout ALayout, Integer AMargin, Integer ASpacing, TcxButtonState AState, win::UINT ABiDiFlags,
            bool ANativeStyle, bool AWordWrap);
  // Margin and Spacing -1 share the free room out (see the module).
  void CalcButtonLayout(TcxCanvas* ACanvas, const TRect& AClient, const TPoint& AOffset, const std::string& ACaption,
                        TButtonLayout ALayout, Integer AMargin, Integer ASpacing, TPoint& AGlyphPos,
                        TRect& ATextBounds, win::UINT ABiDiFlags, bool AWordWrap);

  // The list the images are in (null before the first one is built) and
  // the index built for an image kind (-1 when none).
  TcxGlyphList* GlyphList() const { return FGlyphList; }
  Integer ImageIndex(Integer AKind) const { return FIndexes[AKind]; }

 protected:
  void DrawButtonGlyph(TcxCanvas* ACanvas, const TPoint& AGlyphPos, TcxButtonState AState);
  void DrawButtonText(TcxCanvas* ACanvas, const std::string& ACaption, TRect ATextBounds, TcxButtonState AState,
                      win::UINT ABiDiFlags, bool AWordWrap);
  void ReleaseImages();

 private:
  void GlyphChanged(TObject* Sender);
  bool GlyphEmpty() const { return FGlyph->Width() == 0 || FGlyph->Height() == 0; }
  void BuildEmbossedImage(TBitmap* AWork, Integer ACellWidth);
  void BuildRecolouredDisabledImage(TBitmap* AWork, Integer ACellWidth);

  std::unique_ptr<TBitmap> FGlyph;
  TcxGlyphList* FGlyphList = nullptr;  // borrowed from the glyph cache
  std::array<Integer, 4> FIndexes{-1, -1, -1, -1};
  TColor FTransparentColor = clOlive;
  Integer FNumGlyphs = 1;
};
