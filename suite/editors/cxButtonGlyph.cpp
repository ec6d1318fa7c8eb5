#include "suite/editors/cxButtonGlyph.h"

#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiText.h"

using win::RECT;
using win::RGB;

VXN_IMPLEMENT_CLASS(TcxGlyphList, TCustomImageList)
VXN_IMPLEMENT_CLASS(TcxGlyphCache, TObject)
VXN_IMPLEMENT_CLASS(TcxButtonGlyph, TObject)

namespace {

// The brush colour where the monochrome source is white, the destination
// where it is black.
constexpr win::DWORD kBrushWhereSourceWhite = 0x00E20746;

std::unique_ptr<TcxGlyphCache> TheGlyphCache;

TcxGlyphCache* EnsureGlyphCache() {
  if (!TheGlyphCache) TheGlyphCache = std::make_unique<TcxGlyphCache>();
  return TheGlyphCache.get();
}

// A monochrome mask of the cell: white where the pixel is AColor.
std::unique_ptr<TBitmap> MaskOfColour(TBitmap* ASource, Integer ASourceX, Integer AWidth, Integer AHeight,
                                      win::COLORREF AColor) {
  auto mask = std::make_unique<TBitmap>();
  mask->SetMonochrome(true);
  mask->SetSize(AWidth, AHeight);
  win::SetBkColor(ASource->DC(), AColor);
  win::BitBlt(mask->DC(), 0, 0, AWidth, AHeight, ASource->DC(), ASourceX, 0, win::SRCCOPY);
  return mask;
}

// Paints AColor into AWork where AMask is white, shifted by (AX, AY).
void PaintThroughMask(TBitmap* AWork, TBitmap* AMask, Integer AX, Integer AY, TColor AColor) {
  TCanvas* canvas = AWork->Canvas();
  canvas->Brush()->SetColor(AColor);
  canvas->RequiredState();
  win::SetTextColor(canvas->Handle(), RGB(0, 0, 0));
  win::SetBkColor(canvas->Handle(), RGB(255, 255, 255));
  win::BitBlt(canvas->Handle(), AX, AY, AMask->Width(), AMask->Height(), AMask->DC(), 0, 0, kBrushWhereSourceWhite);
}

}  // namespace

const std::array<Integer, 5> GlyphImageOfState{0, 0, 0, 2, 1};

TcxGlyphCache* GlyphCache() { return TheGlyphCache.get(); }

// TcxGlyphList ---------------------------------------------------------------

TcxGlyphList::TcxGlyphList(Integer AWidth, Integer AHeight) : TCustomImageList(AWidth, AHeight) {}

bool TcxGlyphList::IsUsed(Integer Index) const {
  return Index >= 0 && Index < static_cast<Integer>(FUsed.size()) && FUsed[Index];
}

Integer TcxGlyphList::AllocateIndex(TBitmap* Image) {
  Integer index = 0;
  while (index < static_cast<Integer>(FUsed.size()) && FUsed[index]) ++index;
  if (index >= static_cast<Integer>(FUsed.size())) {
    index = Add(Image, nullptr);
    FUsed.resize(index + 1, false);
  }
  FUsed[index] = true;
  return index;
}

Integer TcxGlyphList::AddMasked(TBitmap* Image, TColor MaskColor) {
  const Integer index = AllocateIndex(Image);
  // The masked image goes in at the end and then takes the slot's place.
  if (MaskColor == clDefault) MaskColor = Image->TransparentColor();
  const int at = win::ImageList_AddMasked(Handle(), Image->Handle(), ColorToRGB(MaskColor));
  if (at < 0) throw EInvalidOperation("Failed to add image");
  win::ImageList_Copy(Handle(), index, Handle(), at, 0);
  win::ImageList_Remove(Handle(), at);
  ++FCount;
  Change();
  return index;
}

void TcxGlyphList::ReleaseIndex(Integer Index) {
  if (!IsUsed(Index)) return;
  FUsed[Index] = false;
  --FCount;
}

// TcxGlyphCache --------------------------------------------------------------

TcxGlyphCache::~TcxGlyphCache() = default;

TcxGlyphList* TcxGlyphCache::GetList(Integer AWidth, Integer AHeight) {
  for (auto it = FLists.rbegin(); it != FLists.rend(); ++it)
    if ((*it)->Width() == AWidth && (*it)->Height() == AHeight) return it->get();
  FLists.push_back(std::make_unique<TcxGlyphList>(AWidth, AHeight));
  return FLists.back().get();
}

void TcxGlyphCache::ReturnList(TcxGlyphList* AList) {
  if (!AList || AList->UsedCount() != 0) return;
  for (auto it = FLists.begin(); it != FLists.end(); ++it)
    if (it->get() == AList) {
      FLists.erase(it);
      return;
    }
}

// TcxButtonGlyph -------------------------------------------------------------

TcxButtonGlyph::TcxButtonGlyph() : FGlyph(std::make_unique<TBitmap>()) {
  EnsureGlyphCache();
  FGlyph->OnChange = TNotifyEvent(this, &TcxButtonGlyph::GlyphChanged);
}

TcxButtonGlyph::~TcxButtonGlyph() {
  FGlyph->OnChange = nullptr;
  FGlyph.reset();
  ReleaseImages();
  if (TheGlyphCache && TheGlyphCache->IsEmpty()) TheGlyphCache.reset();
}

void TcxButtonGlyph::SetGlyph(TBitmap* Value) {
  ReleaseImages();
  if (!Value) {
    FGlyph->SetWidth(0);
    FGlyph->SetHeight(0);
    return;
  }
  FGlyph->Assign(Value);
  const Integer w = Value->Width();
  const Integer h = Value->Height();
  if (h > 0 && w % h == 0) {
    const Integer cells = w / h;
    FNumGlyphs = cells < 5 ? cells : 1;
  }
}

void TcxButtonGlyph::SetNumGlyphs(Integer Value) {
  // Only 1 to 4 cells make sense; anything else would divide the strip by
  // nothing or by a negative count.
  if (Value == FNumGlyphs || Value < 1 || Value > 4) return;
  ReleaseImages();
  FNumGlyphs = Value;
  GlyphChanged(FGlyph.get());
}

void TcxButtonGlyph::GlyphChanged(TObject* Sender) {
  if (Sender != FGlyph.get()) return;
  ReleaseImages();
  OnChange(this);
}

void TcxButtonGlyph::ReleaseImages() {
  for (Integer& index : FIndexes) {
    if (index != -1 && FGlyphList) FGlyphList->ReleaseIndex(index);
    index = -1;
  }
  if (FGlyphList && TheGlyphCache) TheGlyphCache->ReturnList(FGlyphList);
  FGlyphList = nullptr;
}

TRect TcxButtonGlyph::TextOffsets() {
  if (!GlyphEmpty()) return {0, 0, 0, 0};
  return {1, 0, 2, 0};
}

void TcxButtonGlyph::BuildEmbossedImage(TBitmap* AWork, Integer ACellWidth) {
  // The glyph's black pixels, embossed: a highlight one pixel down and
  // right, the shadow over it in place.
  TBitmap copy;
  copy.Assign(FGlyph.get());
  if (copy.Monochrome()) copy.SetMonochrome(false);
  copy.SetWidth(ACellWidth);
  std::unique_ptr<TBitmap> mono = MaskOfColour(&copy, 0, ACellWidth, copy.Height(), RGB(0, 0, 0));
  AWork->Canvas()->Brush()->SetColor(clBtnFace);
  AWork->Canvas()->FillRect({0, 0, AWork->Width(), AWork->Height()});
  PaintThroughMask(AWork, mono.get(), 1, 1, clBtnHighlight);
  PaintThroughMask(AWork, mono.get(), 0, 0, clBtnShadow);
}

void TcxButtonGlyph::BuildRecolouredDisabledImage(TBitmap* AWork, Integer ACellWidth) {
  TBitmap copy;
  copy.Assign(FGlyph.get());
  if (copy.Monochrome()) copy.SetMonochrome(false);
  const Integer h = copy.Height();
  win::BitBlt(AWork->DC(), 0, 0, ACellWidth, h, copy.DC(), ACellWidth, 0, win::SRCCOPY);
  const struct {
    win::COLORREF From;
    TColor To;
  } recolour[] = {{RGB(255, 255, 255), clBtnHighlight},
                  {RGB(128, 128, 128), clBtnShadow},
                  {ColorToRGB(FTransparentColor), clBtnFace}};
  for (const auto& r : recolour) {
    std::unique_ptr<TBitmap> mask = MaskOfColour(&copy, ACellWidth, ACellWidth, h, r.From);
    PaintThroughMask(AWork, mask.get(), 0, 0, r.To);
  }
}

Integer TcxButtonGlyph::CreateButtonGlyph(TcxButtonState AState) {
  Integer kind = GlyphImageOfState[AState];
  if (kind == 2 && FNumGlyphs < 3) kind = 0;
  if (FIndexes[kind] != -1) return FIndexes[kind];
  if (FGlyph->Width() == 0 && FGlyph->Height() == 0) return -1;
  const Integer cellWidth = FGlyph->Width() / FNumGlyphs;
  const Integer cellHeight = FGlyph->Height();
  if (!FGlyphList) FGlyphList = EnsureGlyphCache()->GetList(cellWidth, cellHeight);

  TBitmap work;
  work.SetSize(cellWidth, cellHeight);
  work.Canvas()->Brush()->SetColor(clBtnFace);
  const Integer sourceCell = kind < FNumGlyphs ? kind : 0;
  TColor maskColor = clDefault;
  if (kind == 1) {
    if (FNumGlyphs < 2)
      BuildEmbossedImage(&work, cellWidth);
    else
      BuildRecolouredDisabledImage(&work, cellWidth);
  } else {
    TBitmap copy;
    copy.Assign(FGlyph.get());
    if (copy.Monochrome()) copy.SetMonochrome(false);
    win::BitBlt(work.DC(), 0, 0, cellWidth, cellHeight, copy.DC(), sourceCell * cellWidth, 0, win::SRCCOPY);
    if (FGlyph->TransparentMode() == tmFixed) maskColor = FTransparentColor;
  }
  FIndexes[kind] = FGlyphList->AddMasked(&work, maskColor);
  FGlyph->Dormant();
  return FIndexes[kind];
}

void TcxButtonGlyph::DrawButtonGlyph(TcxCanvas* ACanvas, const TPoint& AGlyphPos, TcxButtonState AState) {
  if (GlyphEmpty()) return;
  const Integer index = CreateButtonGlyph(AState);
  if (index < 0 || !FGlyphList) return;
  win::ImageList_DrawEx(FGlyphList->Handle(), index, ACanvas->DeviceContext(), AGlyphPos.X, AGlyphPos.Y, 0, 0,
                        win::CLR_NONE, win::CLR_NONE, win::ILD_TRANSPARENT);
}

void TcxButtonGlyph::DrawButtonText(TcxCanvas* ACanvas, const std::string& ACaption, TRect ATextBounds,
                                    TcxButtonState AState, win::UINT ABiDiFlags, bool AWordWrap) {
  if (ACaption.empty()) return;
  TBrush* brush = ACanvas->Brush();
  const TBrushStyle oldStyle = brush->GetStyle();
  brush->SetStyle(bsClear);
  win::UINT flags = ABiDiFlags | win::DT_CENTER | win::DT_VCENTER;
  if (AWordWrap && GlyphEmpty()) flags |= win::DT_WORDBREAK;
  auto drawText = [&](TRect r) {
    ACanvas->Canvas->RequiredState();
    RECT rect{r.Left, r.Top, r.Right, r.Bottom};
    win::DrawText(ACanvas->DeviceContext(), ACaption.c_str(), static_cast<int>(ACaption.size()), &rect, flags);
  };
  if (AState == cxbsDisabled) {
    TFont* font = ACanvas->Font();
    const TColor oldColor = font->GetColor();
    font->SetColor(clBtnHighlight);
    drawText({ATextBounds.Left + 1, ATextBounds.Top + 1, ATextBounds.Right + 1, ATextBounds.Bottom + 1});
    font->SetColor(oldColor);
  }
  drawText(ATextBounds);
  brush->SetStyle(oldStyle);
}

void TcxButtonGlyph::CalcButtonLayout(TcxCanvas* ACanvas, const TRect& AClient, const TPoint& AOffset,
                                      const std::string& ACaption, TButtonLayout ALayout, Integer AMargin,
                                      Integer ASpacing, TPoint& AGlyphPos, TRect& ATextBounds, win::UINT ABiDiFlags,
                                      bool AWordWrap) {
  if (ABiDiFlags & win::DT_RIGHT) {
    if (ALayout == blGlyphLeft)
      ALayout = blGlyphRight;
    else if (ALayout == blGlyphRight)
      ALayout = blGlyphLeft;
  }
  const TSize client{AClient.Right - AClient.Left, AClient.Bottom - AClient.Top};
  TSize text{0, 0};
  if (ACaption.empty()) {
    ATextBounds = {0, 0, 0, 0};
  } else {
    const TRect offsets = TextOffsets();
    RECT r{offsets.Left, offsets.Top, client.cx - offsets.Right, -offsets.Bottom};
    win::UINT flags = ABiDiFlags | win::DT_CALCRECT;
    if (AWordWrap && GlyphEmpty()) flags |= win::DT_WORDBREAK;
    ACanvas->Canvas->RequiredState();
    win::DrawText(ACanvas->DeviceContext(), ACaption.c_str(), static_cast<int>(ACaption.size()), &r, flags);
    ATextBounds = {r.left, r.top, r.right, r.bottom};
    text = {r.right - r.left + offsets.Left + offsets.Right, r.bottom - r.top + offsets.Top + offsets.Bottom};
  }
  const TSize glyph = GlyphEmpty() ? TSize{0, 0} : TSize{FGlyph->Width() / FNumGlyphs, FGlyph->Height()};

  const bool horizontal = ALayout == blGlyphLeft || ALayout == blGlyphRight;
  TPoint glyphPos{0, 0};
  TPoint textPos{0, 0};
  if (horizontal) {
    glyphPos.Y = (client.cy - glyph.cy) / 2;
    textPos.Y = (client.cy - text.cy - 1) / 2;
  } else {
    glyphPos.X = (client.cx - glyph.cx) / 2;
    textPos.X = (client.cx - text.cx) / 2;
  }
  if (text.cx == 0 || glyph.cx == 0) ASpacing = 0;

  const Integer extent = horizontal ? client.cx : client.cy;
  const Integer glyphExtent = horizontal ? glyph.cx : glyph.cy;
  const Integer textExtent = horizontal ? text.cx : text.cy;
  if (AMargin == -1) {
    if (ASpacing == -1) {
      AMargin = (extent - (glyphExtent + textExtent)) / 3;
      ASpacing = AMargin;
    } else {
      AMargin = (extent - (glyphExtent + ASpacing + textExtent)) / 2;
    }
  } else if (ASpacing == -1) {
    ASpacing = ((extent - (AMargin + glyphExtent)) - textExtent) / 2;
  }

  // Along the axis the first of the two stands at Margin, the other after
  // it and Spacing.
  Integer& glyphAt = horizontal ? glyphPos.X : glyphPos.Y;
  Integer& textAt = horizontal ? textPos.X : textPos.Y;
  if (ALayout == blGlyphLeft || ALayout == blGlyphTop) {
    glyphAt = AMargin;
    textAt = AMargin + glyphExtent + ASpacing;
  } else {
    textAt = AMargin;
    glyphAt = AMargin + textExtent + ASpacing;
  }

  AGlyphPos = {glyphPos.X + AClient.Left + AOffset.X, glyphPos.Y + AClient.Top + AOffset.Y};
  const Integer dx = AClient.Left + textPos.X + AOffset.X;
  const Integer dy = AClient.Top + textPos.Y + AOffset.Y;
  ATextBounds = {ATextBounds.Left + dx, ATextBounds.Top + dy, ATextBounds.Right + dx, ATextBounds.Bottom + dy};
}

void TcxButtonGlyph::Draw(TcxCanvas* ACanvas, const TRect& AClient, const TPoint& AOffset, const std::string& ACaption,
                          TButtonLayout ALayout, Integer AMargin, Integer ASpacing, TcxButtonState AState,
                          win::UINT ABiDiFlags, bool /*ANativeStyle*/, bool AWordWrap) {
  TPoint glyphPos;
  TRect textBounds;
  CalcButtonLayout(ACanvas, AClient, AOffset, ACaption, ALayout, AMargin, ASpacing, glyphPos, textBounds, ABiDiFlags,
                   AWordWrap);
  DrawButtonGlyph(ACanvas, glyphPos, AState);
  DrawButtonText(ACanvas, ACaption, textBounds, AState, ABiDiFlags, AWordWrap);
}
