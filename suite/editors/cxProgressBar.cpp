#include "suite/editors/cxProgressBar.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "platform/rtl/Formatting.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiFonts.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiScopes.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/ThemeSchema.h"
#include "suite/editors/EditorConstants.h"
#include "suite/editors/cxEditPainting.h"
#include "suite/editors/cxEditPublishing.h"
#include "suite/editors/cxTextEditViewData.h"
#include "suite/foundation/cxVariants.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"

using namespace win;

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomProgressBarProperties, TcxCustomEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxProgressBarProperties, TcxCustomProgressBarProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxEditRepositoryProgressBarItem, TcxEditRepositoryItem)
VXN_IMPLEMENT_CLASS(TcxCustomProgressBarViewInfo, TcxCustomTextEditViewInfo)
VXN_IMPLEMENT_CLASS(TcxCustomProgressBarViewData, TcxCustomEditViewData)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomProgressBar, TcxCustomEdit)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxProgressBar, TcxCustomProgressBar)
VXN_IMPLEMENT_FILTER_EDIT_HELPER(TcxFilterProgressBarHelper, TcxFilterSpinEditHelper)

namespace {

template <typename S, typename C>
void PublishColor(TPublisher<S>& P, const char* Name, TColor (C::*Get)() const, void (C::*Set)(TColor),
                  TColor Default) {
  P.Property(Name, Get, Set).Type(TypeInfoColor()).Default(Default);
}

}  // namespace

VXN_PUBLISH(TcxProgressBarProperties) {
  using T = TcxProgressBarProperties;
  P.Property("BarBevelOuter", &T::BarBevelOuter, &T::SetBarBevelOuter).Default(cxbvNone);
  P.Property("BarStyle", &T::BarStyle, &T::SetBarStyle).Default(cxbsSolid);
  PublishColor(P, "BeginColor", &T::BeginColor, &T::SetBeginColor, clNavy);
  P.Property("BorderWidth", &T::BorderWidth, &T::SetBorderWidth).Default(0);
  PublishColor(P, "EndColor", &T::EndColor, &T::SetEndColor, clWhite);
  P.Property("ForegroundImage", &T::ForegroundImage, &T::SetForegroundImage).Stored(&T::IsForegroundImageStored);
  P.Property("Max", &T::Max, &T::SetMax).Stored(&T::IsMaxStored);
  P.Property("Min", &T::Min, &T::SetMin).Stored(&T::IsMinStored);
  P.Property("Orientation", &T::Orientation, &T::SetOrientation).Default(cxorHorizontal);
  PublishColor(P, "OverloadBeginColor", &T::OverloadBeginColor, &T::SetOverloadBeginColor,
               static_cast<TColor>(0x8080FF));
  PublishColor(P, "OverloadEndColor", &T::OverloadEndColor, &T::SetOverloadEndColor, clFuchsia);
  P.Property("OverloadValue", &T::OverloadValue, &T::SetOverloadValue).Stored(&T::IsOverloadValueStored);
  PublishColor(P, "PeakColor", &T::PeakColor, &T::SetPeakColor, clRed);
  P.Property("PeakSize", &T::PeakSize, &T::SetPeakSize).Default(2);
  P.Property("PeakValue", &T::PeakValue, &T::SetPeakValue).Stored(&T::IsPeakValueStored);
  P.Property("ShowOverload", &T::ShowOverload, &T::SetShowOverload).Default(false);
  P.Property("ShowPeak", &T::ShowPeak, &T::SetShowPeak).Default(false);
  P.Property("ShowText", &T::ShowText, &T::SetShowText).Default(true);
  P.Property("ShowTextStyle", &T::ShowTextStyle, &T::SetShowTextStyle).Default(cxtsPercent);
  P.Property("SolidTextColor", &T::SolidTextColor, &T::SetSolidTextColor).Default(false);
  P.Property("TextOrientation", &T::TextOrientation, &T::SetTextOrientation).Default(cxorHorizontal);
  // Readable and settable by name, never written to a form.
  P.Property("Transparent", &T::Transparent, &T::SetTransparent).Stored(false);
  P.Property("TransparentImage", &T::TransparentImage, &T::SetTransparentImage).Default(true);
}

VXN_PUBLISH(TcxProgressBar) {
  using C = TcxProgressBar;
  P.Property("Position", &C::Position, &C::SetPosition).Stored(&C::IsPositionStored);
  P.Property("Properties", &C::Properties, &C::SetProperties);
  P.Property("AutoSize", &C::AutoSize, &C::SetAutoSize).Default(true);
  P.Redeclare("ParentColor").Default(true);
  P.Property("Transparent", &C::Transparent, &C::SetTransparent).Default(false);
  P.Property("Style", &C::Style, &C::SetStyle);
  P.Property("StyleDisabled", &C::StyleDisabled, &C::SetStyleDisabled);
  P.Property("StyleFocused", &C::StyleFocused, &C::SetStyleFocused);
  P.Property("StyleHot", &C::StyleHot, &C::SetStyleHot);
  PublishEditorEvents(P, cxpeDock | cxpeMouseEnter);
}

TcxCustomProgressBarProperties::TcxCustomProgressBarProperties(TPersistent* AOwner)
    : TcxCustomEditProperties(AOwner) {}

TcxCustomProgressBarProperties::~TcxCustomProgressBarProperties() {
  if (FForegroundImage) FForegroundImage->OnChange = nullptr;
}

template <typename T>
void TcxCustomProgressBarProperties::Change(T& Field, T Value) {
  if (Field == Value) return;
  Field = Value;
  NotifyChanged();
}

void TcxCustomProgressBarProperties::SetBarBevelOuter(TcxProgressBarBevelOuter Value) { Change(FBarBevelOuter, Value); }
void TcxCustomProgressBarProperties::SetBarStyle(TcxProgressBarBarStyle Value) { Change(FBarStyle, Value); }
void TcxCustomProgressBarProperties::SetBeginColor(TColor Value) { Change(FBeginColor, Value); }
void TcxCustomProgressBarProperties::SetBorderWidth(TcxBorderWidth Value) { Change(FBorderWidth, Value); }
void TcxCustomProgressBarProperties::SetEndColor(TColor Value) { Change(FEndColor, Value); }
void TcxCustomProgressBarProperties::SetOrientation(TcxProgressBarOrientation Value) { Change(FOrientation, Value); }
void TcxCustomProgressBarProperties::SetOverloadBeginColor(TColor Value) { Change(FOverloadBeginColor, Value); }
void TcxCustomProgressBarProperties::SetOverloadEndColor(TColor Value) { Change(FOverloadEndColor, Value); }
void TcxCustomProgressBarProperties::SetPeakColor(TColor Value) { Change(FPeakColor, Value); }
void TcxCustomProgressBarProperties::SetShowOverload(bool Value) { Change(FShowOverload, Value); }
void TcxCustomProgressBarProperties::SetShowPeak(bool Value) { Change(FShowPeak, Value); }
void TcxCustomProgressBarProperties::SetShowText(bool Value) { Change(FShowText, Value); }
void TcxCustomProgressBarProperties::SetShowTextStyle(TcxProgressBarTextStyle Value) { Change(FShowTextStyle, Value); }
void TcxCustomProgressBarProperties::SetSolidTextColor(bool Value) { Change(FSolidTextColor, Value); }
void TcxCustomProgressBarProperties::SetTextOrientation(TcxProgressBarOrientation Value) {
  Change(FTextOrientation, Value);
}
void TcxCustomProgressBarProperties::SetTransparentImage(bool Value) { Change(FTransparentImage, Value); }
void TcxCustomProgressBarProperties::SetPeakValue(Double Value) { Change(FPeakValue, Value); }

void TcxCustomProgressBarProperties::SetPeakSize(TcxNaturalNumber Value) {
  if (Value >= 1) Change(FPeakSize, Value);
}

TBitmap* TcxCustomProgressBarProperties::ForegroundImage() {
  if (!FForegroundImage) {
    FForegroundImage = std::make_unique<TBitmap>();
    FForegroundImage->OnChange = TNotifyEvent(this, &TcxCustomProgressBarProperties::ForegroundImageChanged);
  }
  return FForegroundImage.get();
}

void TcxCustomProgressBarProperties::SetForegroundImage(TBitmap* Value) {
  if (!Value) {
    if (!FForegroundImage) return;
    FForegroundImage->OnChange = nullptr;
    FForegroundImage.reset();
    NotifyChanged();
    return;
  }
  if (Value == FForegroundImage.get()) return;
  // The copy's change event notifies.
  ForegroundImage()->Assign(Value);
}

// --- range rules -----------------------------------------------------------------------

void TcxCustomProgressBarProperties::SetMin(Double Value) {
  if (Value == FMin) return;
  FMin = Value;
  if (FMin > FMax) FMax = FMin;
  if (FOverloadValue < FMin) FOverloadValue = FMin;
  if (FPeakValue < FMin) FPeakValue = FMin;
  NotifyChanged();
}

void TcxCustomProgressBarProperties::SetMax(Double Value) {
  if (Value == FMax || Value <= FMin) return;
  FMax = Value;
  if (FOverloadValue > FMax) FOverloadValue = FMax;
  if (FPeakValue > FMax) FPeakValue = FMax;
  NotifyChanged();
}

void TcxCustomProgressBarProperties::SetOverloadValue(Double Value) {
  if (Value == FOverloadValue) return;
  FOverloadValue = Value;
  if (FOverloadValue < FMin) FOverloadValue = FMin;
  if (FOverloadValue > FMax) FOverloadValue = FMax;
  NotifyChanged();
}

Double TcxCustomProgressBarProperties::EffectivePeakValue(Double APosition) {
  Double peak = FPeakValue;
  if (peak < FMin) peak = FMin;
  if (peak > FMax) peak = FMax;
  if (peak < APosition) peak = APosition;
  if (peak > FPeakValue) FPeakValue = peak;
  return peak;
}

// --- values -------------------------------------------------------------------------------

void TcxCustomProgressBarProperties::ConvertToEditValue(const Variant& Value, Variant& EditValue, bool) {
  EditValue = Variant(Integer{0});
  if (VarIsStr(Value)) {
    Double number = 0;
    Integer code = 0;
    Val(VarToStr(Value), number, code);
    if (code == 0) EditValue = Variant(number);
  } else if (VarIsNumberKind(Value) || VarIsDateKind(Value)) {
    EditValue = Value;
  }
}

std::u16string TcxCustomProgressBarProperties::DisplayTextOf(const Variant& Value, bool) {
  Variant converted;
  ConvertToEditValue(Value, converted, false);
  std::string text = VarToStr(converted);
  if (FShowTextStyle == cxtsPercent) text += " %";
  return Utf8ToUtf16(text);
}

// --- copying ------------------------------------------------------------------------------

void TcxCustomProgressBarProperties::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxCustomProgressBarProperties*>(Source);
  if (!source) {
    TcxCustomEditProperties::Assign(Source);
    return;
  }
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(true); });
  TcxCustomEditProperties::Assign(Source);
  SetBeginColor(source->BeginColor());
  SetBarBevelOuter(source->BarBevelOuter());
  SetEndColor(source->EndColor());
  SetForegroundImage(source->ForegroundImageIfAny());
  SetMin(source->Min());
  SetMax(source->Max());
  // A source whose Min dragged its Max along has Max = Min, which the Max
  // setter refuses; the copy takes that range too instead of keeping its
  // own larger Max.
  if (FMax != source->Max()) {
    FMax = source->Max();
    if (FOverloadValue > FMax) FOverloadValue = FMax;
    if (FPeakValue > FMax) FPeakValue = FMax;
    NotifyChanged();
  }
  SetOrientation(source->Orientation());
  SetShowText(source->ShowText());
  SetShowTextStyle(source->ShowTextStyle());
  SetTextOrientation(source->TextOrientation());
  SetSolidTextColor(source->SolidTextColor());
  SetBarStyle(source->BarStyle());
  SetTransparentImage(source->TransparentImage());
  SetBorderWidth(source->BorderWidth());
  SetOverloadValue(source->OverloadValue());
  SetShowOverload(source->ShowOverload());
  SetOverloadBeginColor(source->OverloadBeginColor());
  SetOverloadEndColor(source->OverloadEndColor());
  SetPeakValue(source->PeakValue());
  SetShowPeak(source->ShowPeak());
  SetPeakColor(source->PeakColor());
  SetPeakSize(source->PeakSize());
}

TClass TcxCustomProgressBarProperties::EditClass() { return TcxProgressBar::StaticClass(); }

TcxCustomEditViewDataClass TcxCustomProgressBarProperties::ViewDataClass() {
  return EditViewDataClassOf<TcxCustomProgressBarViewData>();
}

TcxContainerViewInfoClass TcxCustomProgressBarProperties::ViewInfoClass() {
  return &CreateContainerViewInfo<TcxCustomProgressBarViewInfo>;
}

void TcxCustomProgressBarProperties::ClampViewInfoPosition(TcxCustomProgressBarViewInfo* AViewInfo) {
  if (!(FMin < FMax)) return;
  if (AViewInfo->Position < FMin)
    AViewInfo->Position = FMin;
  else if (AViewInfo->Position > FMax)
    AViewInfo->Position = FMax;
}

namespace {

constexpr Integer kChunkLead = 4;

// A pixel count from a product that may lie far outside the bar (a value
// far beyond the range while Min equals Max, or a form that stored one).
Integer TruncToPixels(Double AValue) {
  constexpr Double kLimit = 1e9;
  return static_cast<Integer>(std::trunc(std::clamp(AValue, -kLimit, kLimit)));
}

TRect Moved(const TRect& R, Integer DX, Integer DY) { return {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY}; }

bool IsEmptyRect(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }

// One channel step of a gradient from C1 to C2 over N pixels, the channels
// taken as stored (no system colour resolved). Without a length the start
// colour stands.
TColor GradientColor(TColor C1, TColor C2, Integer I, Integer N) {
  if (N == 0) return C1;
  const auto c1 = static_cast<uint32_t>(C1), c2 = static_cast<uint32_t>(C2);
  uint32_t result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const Double a = (c1 >> shift) & 0xFF, b = (c2 >> shift) & 0xFF;
    const auto channel = static_cast<uint32_t>(std::clamp(std::trunc(I * (b - a) / N + a), 0.0, 255.0));
    result |= channel << shift;
  }
  return static_cast<TColor>(result);
}

void DrawBevel(HDC DC, TcxProgressBarBevelOuter ABevel, const TRect& R) {
  if (ABevel == cxbvNone) return;
  RECT r = cxRECT(R);
  DrawEdge(DC, &r, ABevel == cxbvLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
}

// Paints the bar into an off-screen bitmap whose (0, 0) is the drawing
// area's top-left corner.
class BarPainter {
 public:
  BarPainter(TcxCustomProgressBarViewInfo& AViewInfo, HDC ADC, Integer AWidth, Integer AHeight)
      : vi_(AViewInfo), dc_(ADC), w_(AWidth), h_(AHeight) {
    const TPoint o{AViewInfo.DrawingArea.Left, AViewInfo.DrawingArea.Top};
    bar_ = Moved(AViewInfo.BarRect, -o.X, -o.Y);
    over_ = Moved(AViewInfo.OverloadRect, -o.X, -o.Y);
    peak_ = Moved(AViewInfo.PeakRect, -o.X, -o.Y);
    horizontal_ = AViewInfo.Orientation == cxorHorizontal;
    if (vi_.OverloadVisible)
      e_ = horizontal_ ? TRect{bar_.Left, bar_.Top, over_.Right, bar_.Bottom}
                       : TRect{over_.Left, over_.Top, bar_.Right, bar_.Bottom};
    else
      e_ = bar_;
    r_ = e_;
  }

  // The part of the bar that plain text must not cover; styles shrink it.
  const TRect& TextLimit() const { return r_; }

  void PrepareNativeSlice() {
    const Integer sw = horizontal_ ? 1 : bar_.Width(), sh = horizontal_ ? bar_.Height() : 1;
    if (sw <= 0 || sh <= 0) return;
    slice_ = std::make_unique<TBitmap>();
    slice_->SetPixelFormat(pf32bit);
    slice_->SetSize(sw, sh);
    // The chunk reaches back before the slice, so the slice is its last
    // column (row).
    const TRect chunk = horizontal_ ? TRect{-kChunkLead, 0, 1, sh} : TRect{0, -kChunkLead, sw, 1};
    UxDrawThemeBackground(OpenThemeByIndex(ThemeClassProgress), slice_->Canvas()->Handle(),
                          horizontal_ ? PP_CHUNK : PP_CHUNKVERT, 1, chunk);
  }

  void Paint(TcxProgressBarBarStyle AStyle) {
    switch (AStyle) {
      case cxbsSolid: PaintSolid(); break;
      case cxbsGradient: PaintGradient(); break;
      case cxbsLEDs:
      case cxbsGradientLEDs: PaintLEDs(AStyle == cxbsGradientLEDs); break;
      case cxbsBitmap:
      case cxbsBitmapLEDs: PaintBitmap(AStyle == cxbsBitmapLEDs); break;
    }
    if (vi_.PeakVisible) FillDCRect(dc_, peak_, vi_.PeakColor);
  }

 private:
  bool Native() const { return vi_.NativeDrawing; }

  void PaintSolid() {
    if (vi_.OverloadVisible) {
      FillDCRect(dc_, bar_, vi_.BeginColor);
      FillDCRect(dc_, over_, vi_.OverloadBeginColor);
    } else {
      FillDCRect(dc_, e_, vi_.BeginColor);
    }
    DrawBevel(dc_, vi_.BarBevelOuter, e_);
  }

  // The colour of column x (row y) of the gradient.
  TColor GradientAt(Integer APos) const {
    if (horizontal_) {
      if (vi_.OverloadVisible && APos >= over_.Left - 1)
        return GradientColor(vi_.OverloadBeginColor, vi_.OverloadEndColor, APos - over_.Left, over_.Left);
      return GradientColor(vi_.BeginColor, vi_.EndColor, APos - e_.Left, w_);
    }
    if (vi_.OverloadVisible && APos < over_.Bottom)
      return GradientColor(vi_.OverloadBeginColor, vi_.OverloadEndColor, over_.Bottom - APos, over_.Bottom);
    return GradientColor(vi_.BeginColor, vi_.EndColor, e_.Bottom - APos, h_);
  }

  void CopySlice(Integer X, Integer Y) {
    if (slice_) BitBlt(dc_, X, Y, slice_->Width(), slice_->Height(), slice_->Canvas()->Handle(), 0, 0, SRCCOPY);
  }

  // Columns [From, To) (rows for a vertical bar) covered with the slice.
  void CopySliceOver(Integer From, Integer To) {
    for (Integer i = From; i < To; ++i) horizontal_ ? CopySlice(i, e_.Top) : CopySlice(e_.Left, i);
  }

  void PaintGradient() {
    if (horizontal_) {
      for (Integer x = e_.Left; x < e_.Right; ++x)
        Native() ? CopySlice(x, e_.Top) : FillDCRect(dc_, {x, e_.Top, x + 1, e_.Bottom}, GradientAt(x));
    } else {
      for (Integer y = e_.Bottom - 1; y >= e_.Top; --y)
        Native() ? CopySlice(e_.Left, y) : FillDCRect(dc_, {e_.Left, y, e_.Right, y + 1}, GradientAt(y));
    }
    DrawBevel(dc_, vi_.BarBevelOuter, e_);
  }

  void FillPiece(const TRect& R, TColor AColor) {
    FillDCRect(dc_, R, AColor);
    DrawBevel(dc_, vi_.BarBevelOuter, R);
  }

  void PaintLEDs(bool AGradient) {
    const Integer t = horizontal_ ? h_ : w_;
    const Integer s = 2 * t / 3 + 2;
    Integer last = 0;
    bool overloadReached = false;
    auto colourAt = [&](Integer APos) {
      if (AGradient) return GradientAt(APos);
      if (vi_.OverloadVisible && (horizontal_ ? APos >= over_.Left - 1 : APos < over_.Bottom)) overloadReached = true;
      return overloadReached ? vi_.OverloadBeginColor : vi_.BeginColor;
    };
    if (horizontal_) {
      for (Integer x = e_.Left; x < e_.Right; ++x) {
        if ((x - e_.Left) % s != 0 || x - s < e_.Left) continue;
        const TColor colour = colourAt(x);
        if (Native()) {
          CopySliceOver(x - s, x - 2);
        } else {
          FillPiece({x - s, e_.Top, x - 2, e_.Bottom}, colour);
          r_.Right = x - 2;
        }
        last = x;
        if (e_.Right - x - 2 < s) {
          // The native partial LED takes the column at the bar's end too.
          if (Native())
            CopySliceOver(x, e_.Right + 1);
          else
            FillPiece({x, e_.Top, e_.Right, e_.Bottom}, colour);
        }
      }
    } else {
      for (Integer y = e_.Bottom - 1; y >= e_.Top; --y) {
        if ((e_.Bottom - y - 1) % s != 0 || y + s > e_.Bottom) continue;
        const TColor colour = colourAt(y);
        if (Native()) {
          CopySliceOver(y + 3, y + s + 1);
        } else {
          FillPiece({e_.Left, y + 2, e_.Right, y + s}, colour);
          r_.Top = y + 2;
        }
        last = y;
        if (y - e_.Top < s) {
          if (Native())
            CopySliceOver(e_.Top, y + 1);
          else
            FillPiece({e_.Left, e_.Top, e_.Right, y}, colour);
        }
      }
    }
    if (vi_.Position < vi_.Max) return;
    const TRect end = horizontal_ ? TRect{last, e_.Top, e_.Right, e_.Bottom} : TRect{e_.Left, e_.Top, e_.Right, last};
    if (Native()) {
      horizontal_ ? CopySliceOver(end.Left, end.Right) : CopySliceOver(end.Top, end.Bottom);
      return;
    }
    TColor colour;
    const TColor c1 = vi_.OverloadVisible ? vi_.OverloadBeginColor : vi_.BeginColor;
    if (AGradient) {
      const TColor c2 = vi_.OverloadVisible ? vi_.OverloadEndColor : vi_.EndColor;
      colour = horizontal_ ? GradientColor(c1, c2, last - e_.Left, w_) : GradientColor(c1, c2, e_.Bottom - last, h_);
    } else {
      colour = c1;
    }
    FillPiece(end, colour);
  }

  void PaintBitmap(bool ALEDs) {
    TBitmap* image = vi_.ForegroundImage.get();
    if (!image || image->Width() < 1 || image->Height() < 1) return;
    OwnedGdiObject brush(CreatePatternBrush(image->Handle()));
    auto fill = [&](const TRect& R) {
      if (IsEmptyRect(R)) return;
      const RECT r = cxRECT(R);
      FillRect(dc_, &r, static_cast<HBRUSH>(brush.Get()));
    };
    if (!ALEDs) {
      fill(e_);
      return;
    }
    const Integer u = horizontal_ ? std::min(image->Width(), e_.Height()) : std::min(image->Height(), e_.Width());
    const Integer p = std::max<Integer>(u, 0) + 2;
    if (horizontal_) {
      for (Integer x = e_.Left; x < e_.Right; ++x) {
        if ((x - e_.Left) % p != 0) continue;
        r_.Right = x - 2;
        fill(r_);
        r_.Left = x;
        if (e_.Right - x - 2 < u) fill({x, e_.Top, e_.Right, e_.Bottom});
      }
    } else {
      for (Integer y = e_.Bottom - 1; y >= e_.Top; --y) {
        if ((e_.Bottom - y - 1) % p != 0) continue;
        r_.Top = y + 2;
        fill(r_);
        r_.Bottom = y;
        if (y - e_.Top < u) fill({e_.Left, e_.Top, e_.Right, y});
      }
    }
    if (vi_.Position != vi_.Max) return;
    if (horizontal_)
      r_.Right = e_.Right;
    else
      r_.Top = e_.Top;
    fill(r_);
  }

  TcxCustomProgressBarViewInfo& vi_;
  HDC dc_;
  Integer w_, h_;
  bool horizontal_ = true;
  TRect bar_, over_, peak_, e_, r_;
  std::unique_ptr<TBitmap> slice_;
};

// Draws AText with AFont at (X, Y) in AColor; the part of it inside
// AInverted shows the inverse of what lies under its glyphs instead.
void DrawBarText(HDC DC, HFONT AFont, const std::string& AText, Integer X, Integer Y, const TRect& ABox,
                 const TRect& AInverted, TColor AColor) {
  ObjectSelection font(DC, AFont);
  SetBkMode(DC, TRANSPARENT);
  const Integer iw = AInverted.Width(), ih = AInverted.Height();
  if (iw <= 0 || ih <= 0) {
    SetTextColor(DC, ColorToRGB(AColor));
    TextOut(DC, X, Y, AText.c_str(), static_cast<int>(AText.size()));
    return;
  }
  TBitmap saved;
  saved.SetPixelFormat(pf32bit);
  saved.SetSize(iw, ih);
  BitBlt(saved.Canvas()->Handle(), 0, 0, iw, ih, DC, AInverted.Left, AInverted.Top, SRCCOPY);
  SetTextColor(DC, ColorToRGB(AColor));
  TextOut(DC, X, Y, AText.c_str(), static_cast<int>(AText.size()));
  BitBlt(DC, AInverted.Left, AInverted.Top, iw, ih, saved.Canvas()->Handle(), 0, 0, SRCCOPY);
  // The text's mask, white on black: XOR inverts the glyph pixels alone.
  TBitmap mask;
  mask.SetPixelFormat(pf32bit);
  mask.SetSize(ABox.Width(), ABox.Height());
  const HDC maskDC = mask.Canvas()->Handle();
  FillDCRect(maskDC, {0, 0, ABox.Width(), ABox.Height()}, clBlack);
  {
    ObjectSelection maskFont(maskDC, AFont);
    SetBkMode(maskDC, TRANSPARENT);
    SetTextColor(maskDC, 0xFFFFFF);
    TextOut(maskDC, X - ABox.Left, Y - ABox.Top, AText.c_str(), static_cast<int>(AText.size()));
  }
  BitBlt(DC, AInverted.Left, AInverted.Top, iw, ih, maskDC, AInverted.Left - ABox.Left, AInverted.Top - ABox.Top,
         SRCINVERT);
}

}  // namespace

// --- view info --------------------------------------------------------------------------------

TcxCustomProgressBarViewInfo::TcxCustomProgressBarViewInfo() { ForegroundImage = std::make_unique<TBitmap>(); }

TcxCustomProgressBarViewInfo::~TcxCustomProgressBarViewInfo() = default;

void TcxCustomProgressBarViewInfo::OffsetBy(Integer DX, Integer DY) {
  TcxCustomTextEditViewInfo::OffsetBy(DX, DY);
  DrawingArea = Moved(DrawingArea, DX, DY);
  BarRect = Moved(BarRect, DX, DY);
  OverloadRect = Moved(OverloadRect, DX, DY);
  PeakRect = Moved(PeakRect, DX, DY);
}

bool TcxCustomProgressBarViewInfo::TextAtPoint(const TPoint&, std::string& AText) {
  AText.clear();
  return false;
}

Double TcxCustomProgressBarViewInfo::BarRange() const { return std::max(Max - Min, 1.0); }

std::string TcxCustomProgressBarViewInfo::BarText() const {
  if (ShowTextStyle == cxtsPosition) return FloatToStr(Position);
  const Int64 percent = std::min<Int64>(Round((Position - Min) / BarRange() * 100), 100);
  return IntToStr(percent) + " %";
}

void TcxCustomProgressBarViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  if (!NativeDrawing && !(IsInplace && Transparent)) DrawEditBackgroundAndButtons(ACanvas, this, !Transparent, 0);
  PaintProgressBar(ACanvas);
}

void TcxCustomProgressBarViewInfo::PaintProgressBar(TcxCanvas* ACanvas) {
  const Integer w = DrawingArea.Width(), h = DrawingArea.Height();
  if (w <= 0 || h <= 0) return;
  const HDC target = ACanvas->DeviceContext();
  TBitmap buffer;
  buffer.SetPixelFormat(pf32bit);
  buffer.SetSize(w, h);
  const HDC dc = buffer.Canvas()->Handle();

  if (Transparent && IsInplace) {
    BitBlt(dc, 0, 0, w, h, target, DrawingArea.Left, DrawingArea.Top, SRCCOPY);
  } else if (Transparent) {
    TcxCanvas bufferCanvas(buffer.Canvas());
    const TPoint offset = BackgroundOffset;
    ScopeExit restore([this, offset] { BackgroundOffset = offset; });
    BackgroundOffset = {offset.X + DrawingArea.Left, offset.Y + DrawingArea.Top};
    DrawTransparentBackground(this, &bufferCanvas, {0, 0, w, h});
  } else {
    FillDCRect(dc, {0, 0, w, h}, FillColor);
  }

  BarPainter painter(*this, dc, w, h);
  TcxProgressBarBarStyle style = BarStyle;
  if (NativeDrawing) {
    if (!IsInplace && !Transparent)
      UxDrawThemeBackground(OpenThemeByIndex(ThemeClassProgress), dc,
                            Orientation == cxorHorizontal ? PP_BAR : PP_BARVERT, 1, TRect{0, 0, w, h});
    painter.PrepareNativeSlice();
    if (style == cxbsSolid) style = cxbsGradient;
    if (style == cxbsLEDs) style = cxbsGradientLEDs;
  }
  painter.Paint(style);

  if (ShowText) {
    const std::string text = BarText();
    LOGFONT lf{};
    if (Font) GetObject(Font->Handle(), sizeof(lf), &lf);
    const bool vertical = TextOrientation == cxorVertical;
    if (vertical) {
      // Only an outline font turns; a raster one gives way to Arial.
      OwnedGdiObject probe(CreateFontIndirect(&lf));
      TEXTMETRIC tm{};
      {
        ObjectSelection selected(dc, probe.Get());
        GetTextMetrics(dc, &tm);
      }
      if (!(tm.tmPitchAndFamily & TMPF_TRUETYPE)) std::snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "Arial");
    }
    SIZE extent{};
    {
      OwnedGdiObject upright(CreateFontIndirect(&lf));
      ObjectSelection selected(dc, upright.Get());
      GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    }
    const Integer tw = extent.cx, th = extent.cy;
    const TRect& r = painter.TextLimit();
    if (!vertical) {
      const Integer x = (w - tw) / 2, y = (h - th) / 2;
      const TRect box{x, y, x + tw, y + th};
      TRect inverted;
      if (x < r.Right && !SolidTextColor) inverted = {x, y, x + std::min(r.Right - x, tw), y + th};
      OwnedGdiObject font(CreateFontIndirect(&lf));
      DrawBarText(dc, static_cast<HFONT>(font.Get()), text, x, y, box, inverted, TextColor);
    } else {
      lf.lfEscapement = lf.lfOrientation = 2700;
      const Integer x = (w - th) / 2 + th, y = (h - tw) / 2;
      // Turned downward, the text lies left of its origin.
      const TRect box{x - th, y, x, y + tw};
      TRect inverted;
      if (r.Top < y + tw && !SolidTextColor) inverted = {x - th, std::max(y, r.Top), x, y + tw};
      OwnedGdiObject font(CreateFontIndirect(&lf));
      DrawBarText(dc, static_cast<HFONT>(font.Get()), text, x, y, box, inverted, TextColor);
    }
  }
  BitBlt(target, DrawingArea.Left, DrawingArea.Top, w, h, dc, 0, 0, SRCCOPY);
}

// --- view data --------------------------------------------------------------------------------

void TcxCustomProgressBarViewData::FillFromProperties(TcxCustomProgressBarViewInfo* AViewInfo) {
  TcxCustomProgressBarProperties* p = BarProperties();
  TcxCustomProgressBarViewInfo& vi = *AViewInfo;
  vi.BeginColor = p->BeginColor();
  vi.EndColor = p->EndColor();
  vi.BarBevelOuter = p->BarBevelOuter();
  vi.Min = p->Min();
  vi.Max = p->Max();
  vi.Orientation = p->Orientation();
  vi.ShowText = p->ShowText();
  vi.ShowTextStyle = p->ShowTextStyle();
  vi.TextOrientation = p->TextOrientation();
  vi.SolidTextColor = p->SolidTextColor();
  vi.BarStyle = p->BarStyle();
  vi.OverloadValue = p->OverloadValue();
  vi.OverloadBeginColor = p->OverloadBeginColor();
  vi.OverloadEndColor = p->OverloadEndColor();
  vi.ShowOverload = p->ShowOverload();
  vi.PeakColor = p->PeakColor();
  vi.PeakSize = p->PeakSize();
  vi.ShowPeak = p->ShowPeak();
  vi.PeakValue = p->EffectivePeakValue(vi.Position);
}

void TcxCustomProgressBarViewData::CalculateDisplayText(TcxCanvas*, const Variant& AValue,
                                                        TcxCustomEditViewInfo* AViewInfo) {
  auto* vi = static_cast<TcxCustomProgressBarViewInfo*>(AViewInfo);
  Variant position;
  BarProperties()->ConvertToEditValue(Extra ? Variant(Integer{30}) : AValue, position, FocusState());
  vi->Position = position.AsDouble();
  BarProperties()->ClampViewInfoPosition(vi);
}

void TcxCustomProgressBarViewData::ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                                 Integer AButton, TShiftState AShift,
                                                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  TcxCustomEditViewData::ComputeLayout(ACanvas, ABounds, P, AButton, AShift, AViewInfo, AIsMouseEvent);
  // A measuring call wants the framework's part alone.
  if (ABounds.Right == INT_MAX || ABounds.Bottom == INT_MAX) return;
  TcxCustomProgressBarViewInfo& vi = *static_cast<TcxCustomProgressBarViewInfo*>(AViewInfo);
  TcxCustomProgressBarProperties* p = BarProperties();
  vi.Font = Style->Font();
  FillFromProperties(&vi);
  const bool native = NativeThemeInEffect(Style->LookAndFeel()->NativeStyle(), ThemeClassProgress);
  vi.NativeDrawing = native;

  const Integer border = p->BorderWidth();
  TRect content;
  if (native) {
    vi.DrawingArea = ABounds;
    const Integer lead = border + (IsInplace ? 2 : 3);
    content = ABounds;
    ExtendRect(content, lead, lead, -(border + 2), -(border + 2));
  } else {
    vi.DrawingArea = IsInplace ? ABounds : vi.InsideBorderRect;
    content = vi.InsideBorderRect;
    ExtendRect(content, border, border, -border, -border);
  }
  const bool horizontal = vi.Orientation == cxorHorizontal;
  const Integer extent = horizontal ? RectWidthOrZero(content) : RectHeightOrZero(content);
  const Double range = vi.BarRange();
  auto pixels = [&](Double AValue) { return TruncToPixels((AValue - vi.Min) * extent / range); };

  vi.BarRect = content;
  if (horizontal)
    vi.BarRect.Right = content.Left + pixels(vi.Position);
  else
    vi.BarRect.Top = content.Bottom - pixels(vi.Position);

  vi.OverloadVisible = p->ShowOverload() && !native && vi.Position >= vi.OverloadValue;
  if (vi.OverloadVisible) {
    vi.OverloadRect = vi.BarRect;
    if (horizontal) {
      vi.OverloadRect.Left = content.Left + pixels(vi.OverloadValue);
      vi.OverloadRect.Right = std::min(vi.OverloadRect.Right, content.Right);
      vi.BarRect.Right = vi.OverloadRect.Left;
    } else {
      vi.OverloadRect.Bottom = std::max(content.Bottom - pixels(vi.OverloadValue), content.Top);
      vi.BarRect.Top = vi.OverloadRect.Bottom;
    }
  }

  vi.PeakVisible = vi.ShowPeak;
  vi.PeakRect = vi.BarRect;
  const Integer d = pixels(vi.PeakValue);
  const Int64 size = vi.PeakSize;
  if (horizontal) {
    vi.PeakRect.Left = Int64{content.Left} + d + size > content.Right ? content.Right - vi.PeakSize : content.Left + d;
    vi.PeakRect.Right = vi.PeakRect.Left + vi.PeakSize;
  } else {
    vi.PeakRect.Bottom =
        Int64{content.Bottom} - d - size < content.Top ? content.Top + vi.PeakSize : content.Bottom - d;
    vi.PeakRect.Top = vi.PeakRect.Bottom - vi.PeakSize;
  }

  TBitmap* image = p->ForegroundImageIfAny();
  vi.ForegroundImage = std::make_unique<TBitmap>();
  if (image) vi.ForegroundImage->Assign(image);
  if (image && p->TransparentImage() && !image->Empty()) {
    // The image's transparent colour shows the bar's background.
    vi.ForegroundImage->SetTransparent(true);
    auto flattened = std::make_unique<TBitmap>();
    flattened->SetPixelFormat(pf32bit);
    flattened->SetSize(image->Width(), image->Height());
    flattened->Canvas()->Brush()->SetColor(vi.FillColor);
    flattened->Canvas()->FillRect({0, 0, image->Width(), image->Height()});
    flattened->Canvas()->Draw(0, 0, vi.ForegroundImage.get());
    vi.ForegroundImage = std::move(flattened);
  }

  auto* edit = dynamic_cast<TcxCustomEdit*>(EditControl());
  if (!IsInplace) vi.Transparent = edit && edit->Transparent();
}

void TcxCustomProgressBarViewData::MeasureFixedPart(TcxCanvas* ACanvas, bool AIsInplace,
                                                    const TcxEditSizeLimits& ALimits, TSize& AExtraSize,
                                                    TcxCustomEditViewInfo* AViewInfo, TSize& AFixedSize) {
  TFont saved;
  saved.Assign(ACanvas->Font());
  ScopeExit restore([&] { ACanvas->Font()->Assign(&saved); });
  TcxCustomEditViewData::MeasureFixedPart(ACanvas, AIsInplace, ALimits, AExtraSize, AViewInfo, AFixedSize);
  auto* vi = static_cast<TcxCustomProgressBarViewInfo*>(AViewInfo);
  Integer width = vi->BarRect.Width();
  if (!vi->IsInplace && !NativeThemeInEffect(vi->NativeDrawing, ThemeClassButton)) width += 4;
  ACanvas->AssignFont(Style->Font());
  width += ACanvas->MeasureTextWidth("") + 3;
  TSize line{};
  CalculateEditTextSize(ACanvas, this, "", line, false, 1, TcxEditSizeLimits{1, -1}, MeasureTextFlags());
  AFixedSize.cx += width;
  AFixedSize.cy += line.cy;
}

// --- the control ------------------------------------------------------------------------------

namespace {

TcxCustomEditKind ProgressBarKind() {
  TcxCustomEditKind kind;
  kind.PropertiesClass = TcxProgressBarProperties::StaticClass();
  kind.ViewInfoClass = &CreateContainerViewInfo<TcxCustomProgressBarViewInfo>;
  return kind;
}

}  // namespace

TcxCustomProgressBar::TcxCustomProgressBar(TComponent* AOwner, bool AIsInplace)
    : TcxCustomEdit(AOwner, AIsInplace, ProgressBarKind()) {
  ControlStyle -= csAcceptsControls;
  ControlStyle -= csCaptureMouse;
  ControlStyle -= csClickEvents;
  ControlStyle -= csDoubleClicks;
  // The container's constructor could not ask DefaultParentColor.
  if (!IsInplace() && !Style()->IsStyleValueAssigned(svColor)) SetParentColor(true);
  SetBounds(Left(), Top(), 121, 21);
}

TcxCustomProgressBar::~TcxCustomProgressBar() = default;

Double TcxCustomProgressBar::ConvertedPosition() {
  Variant value;
  ActiveProperties()->ConvertToEditValue(EditValue(), value, Focused());
  return value.AsDouble();
}

void TcxCustomProgressBar::AssignPosition(Double Value) {
  if (Value == Position()) return;
  TcxCustomProgressBarProperties* p = ActiveProperties();
  if (!ComponentState().Contains(csLoading) && p->Min() < p->Max()) Value = std::clamp(Value, p->Min(), p->Max());
  SetEditValue(Variant(Value));
}

void TcxCustomProgressBar::ClampPositionToRange() {
  TcxCustomProgressBarProperties* p = ActiveProperties();
  if (!(p->Min() < p->Max())) return;
  const Double value = ConvertedPosition();
  if (value < p->Min())
    ApplyEditValue(Variant(p->Min()));
  else if (value > p->Max())
    ApplyEditValue(Variant(p->Max()));
}

void TcxCustomProgressBar::ClampPositionWhenReady() {
  if (!IsInplace() && !IsDataAware() && !IsEditDestroying()) ClampPositionToRange();
}

void TcxCustomProgressBar::UpdateTextFromEditValue() {
  ViewInfo()->Position = ConvertedPosition();
  if (ActiveProperties()->Transparent()) Invalidate();
  ActiveProperties()->ClampViewInfoPosition(ViewInfo());
  RecalculateAtCursor(false);
}

void TcxCustomProgressBar::PropertiesChanged(TObject* Sender) {
  ClampPositionWhenReady();
  ActiveProperties()->ClampViewInfoPosition(ViewInfo());
  TcxCustomEdit::PropertiesChanged(Sender);
  if (ActiveProperties()->Transparent()) Invalidate();
}

void TcxCustomProgressBar::AutoSizeMeasureLimits(TcxEditSizeLimits& ALimits) {
  ALimits = {1, ViewInfo()->TextRect.Width()};
}

TcxContainerStyleValues TcxCustomProgressBar::GetUnstoredStyleValues() {
  return TcxCustomEdit::GetUnstoredStyleValues() | StyleValueBit(svHotTrack);
}

void TcxCustomProgressBar::CalculateViewInfo(const TPoint& P, bool AIsMouseEvent) {
  auto* style = dynamic_cast<TcxCustomEditStyle*>(ActiveStyle());
  TcxCanvas* canvas = ContainerScreenCanvas();
  if (!style || !canvas) {
    TcxCustomEdit::CalculateViewInfo(P, AIsMouseEvent);
    return;
  }
  TcxCustomProgressBarViewInfo* vi = ViewInfo();
  std::unique_ptr<TcxCustomEditViewData> viewData = ActiveProperties()->CreateViewData(style, IsInplace());
  viewData->Edit = this;
  viewData->Enabled = Enabled();
  viewData->Focused = Focused();
  viewData->IsDesigning = IsDesigning();
  viewData->WindowHandle = HandleAllocated() ? Handle() : nullptr;
  vi->Edit = this;
  vi->BackgroundControl = Parent();
  vi->BackgroundOffset = {Left(), Top()};
  viewData->CalculateDisplayText(canvas, EditValue(), vi);
  viewData->ComputeLayout(canvas, {0, 0, Width(), Height()}, P, cxmbNone, GetKeyboardShiftState(), vi,
                          AIsMouseEvent);
}

// --- filter helper ---------------------------------------------------------------------------

void TcxFilterProgressBarHelper::InitializeProperties(TcxCustomEditProperties* ADest,
                                                      TcxCustomEditProperties* ASource, bool AKeepButtons) const {
  const auto* source = dynamic_cast<TcxCustomProgressBarProperties*>(ASource);
  InitializeRangeProperties(ADest, ASource, AKeepButtons, source ? source->Min() : 0, source ? source->Max() : 0);
}

// --- start-up -------------------------------------------------------------------------------

namespace {
Integer gProgressBarStarts = 0;
}  // namespace

void InitializeEditProgressBar() {
  if (gProgressBarStarts++ > 0) return;
  RegisterClasses({TcxProgressBarProperties::StaticClass(), TcxEditRepositoryProgressBarItem::StaticClass(),
                   TcxProgressBar::StaticClass()});
  GetRegisteredEditProperties()->Register(TcxProgressBarProperties::StaticClass(),
                                          TranslateResourceString(scxSEditRepositoryProgressBarItem));
  InitializeFilterEditsController();
  FilterEditsController()->Register(TcxProgressBarProperties::StaticClass(), TcxFilterProgressBarHelper::Class());
}

void FinalizeEditProgressBar() {
  if (gProgressBarStarts <= 0 || --gProgressBarStarts > 0) return;
  GetRegisteredEditProperties()->Unregister(TcxProgressBarProperties::StaticClass());
  if (TcxFilterEditsController* controller = FilterEditsController())
    controller->Unregister(TcxProgressBarProperties::StaticClass(), TcxFilterProgressBarHelper::Class());
}
