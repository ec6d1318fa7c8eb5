#include "suite/editors/cxTrackBar.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "platform/rtl/Resources.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiFonts.h"
#include "platform/win/Input.h"
#include "platform/win/WinUser.h"
#include "suite/editors/EditorConstants.h"
#include "suite/editors/cxContainerViewInfo.h"
#include "suite/editors/cxEditPainting.h"
#include "suite/editors/cxEditPublishing.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxSpinEditProperties.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"

VXN_IMPLEMENT_CLASS(TcxCustomTrackBarProperties, TcxCustomEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxTrackBarProperties, TcxCustomTrackBarProperties)
VXN_IMPLEMENT_CLASS(TcxTrackBarStyle, TcxEditStyle)
VXN_IMPLEMENT_FILTER_EDIT_HELPER(TcxFilterTrackBarHelper, TcxFilterSpinEditHelper)
VXN_IMPLEMENT_CLASS(TcxCustomTrackBarViewInfo, TcxCustomTextEditViewInfo)
VXN_IMPLEMENT_CLASS(TcxCustomTrackBarViewData, TcxCustomEditViewData)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomTrackBar, TcxCustomEdit)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxTrackBar, TcxCustomTrackBar)

VXN_PUBLISH(TcxTrackBarProperties) {
  using T = TcxCustomTrackBarProperties;
  using B = TcxCustomEditProperties;
  P.Property("AutoSize", &T::AutoSize, &T::SetAutoSize).Default(true);
  P.Property("BorderWidth", &T::BorderWidth, &T::SetBorderWidth).Default(0);
  P.Property("Frequency", &T::Frequency, &T::SetFrequency).Default(1);
  P.Property("Min", &T::Min, &T::SetMin).Default(0);
  P.Property("Max", &T::Max, &T::SetMax).Default(10);
  P.Property("Orientation", &T::Orientation, &T::SetOrientation).Default(tboHorizontal);
  P.Property("TextOrientation", &T::TextOrientation, &T::SetTextOrientation).Default(tbtoHorizontal);
  P.Property("PageSize", &T::PageSize, &T::SetPageSize).Default(1);
  P.Property("SelectionStart", &T::SelectionStart, &T::SetSelectionStart).Default(0);
  P.Property("SelectionEnd", &T::SelectionEnd, &T::SetSelectionEnd).Default(0);
  P.Property("SelectionColor", &T::SelectionColor, &T::SetSelectionColor).Default(clHighlight);
  P.Property("ShowTicks", &T::ShowTicks, &T::SetShowTicks).Default(true);
  P.Property("ThumbType", &T::ThumbType, &T::SetThumbType).Default(cxttRegular);
  P.Property("ShowTrack", &T::ShowTrack, &T::SetShowTrack).Default(true);
  P.Property("TickColor", &T::TickColor, &T::SetTickColor).Default(clWindowText);
  P.Property("TickType", &T::TickType, &T::SetTickType).Default(tbttTicks);
  P.Property("TickMarks", &T::TickMarks, &T::SetTickMarks).Default(cxtmBottomRight);
  P.Property("TickSize", &T::TickSize, &T::SetTickSize).Default(3);
  P.Property("TrackColor", &T::TrackColor, &T::SetTrackColor).Default(clWindow);
  P.Property("TrackSize", &T::TrackSize, &T::SetTrackSize).Default(5);
  P.Property("ThumbHeight", &T::ThumbHeight, &T::SetThumbHeight).Default(12);
  P.Property("ThumbWidth", &T::ThumbWidth, &T::SetThumbWidth).Default(7);
  P.Property("ThumbColor", &T::ThumbColor, &T::SetThumbColor).Default(clBtnFace);
  P.Property("ThumbHighlightColor", &T::ThumbHighlightColor, &T::SetThumbHighlightColor).Default(clSilver);
  P.Property("ThumbStep", &T::ThumbStep, &T::SetThumbStep).Default(cxtsNormal);
  P.Property("OnChange", &B::OnChange, &B::OnChange);
  P.Property("OnDrawThumb", &T::OnDrawThumb, &T::OnDrawThumb);
  P.Property("OnGetThumbRect", &T::OnGetThumbRect, &T::OnGetThumbRect);
}

VXN_PUBLISH(TcxTrackBar) {
  using C = TcxCustomTrackBar;
  P.Redeclare("Width").Default(196);
  P.Redeclare("Height").Default(76);
  P.Redeclare("ParentColor").Default(true);
  P.Property("Position", &C::Position, &C::SetPosition).Default(0);
  P.Property("Properties", &C::Properties, &C::SetProperties);
  P.Property("Style", &C::Style, &C::SetStyle);
  P.Property("StyleDisabled", &C::StyleDisabled, &C::SetStyleDisabled);
  P.Property("StyleFocused", &C::StyleFocused, &C::SetStyleFocused);
  P.Property("StyleHot", &C::StyleHot, &C::SetStyleHot);
  P.Property("Transparent", &C::Transparent, &C::SetTransparent).Default(false);
  PublishEditorEvents(P, cxpeEditing | cxpeDock | cxpeMouseEnter);
}

// --- integers ------------------------------------------------------------------------------

namespace {

void OffsetRect(TRect& R, Integer DX, Integer DY) { R = {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY}; }

Integer ClampToInteger(Int64 V) { return static_cast<Integer>(std::clamp<Int64>(V, INT_MIN, INT_MAX)); }

// One reading of integer texts for the whole bar: sign, then decimal digits
// or "$"/"0x" hexadecimal ones, blanks around; a value beyond the integer
// range stops at its end instead of failing.
bool ParseTrackBarInteger(const std::string& Text, Integer& Value) {
  const std::string s = Trim(Text);
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  unsigned base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == s.size()) return false;
  Int64 v = 0;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    unsigned d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return false;
    // Saturates: any further digit keeps it beyond the range.
    v = std::min<Int64>(v * base + d, Int64{1} << 40);
  }
  Value = ClampToInteger(negative ? -v : v);
  return true;
}

// The smallest multiple of F (> 0) not below V.
Int64 CeilMultiple(Int64 V, Int64 F) {
  Int64 q = V / F;
  if (q * F < V) ++q;
  return q * F;
}

}  // namespace

Integer TrackBarValueToInteger(const Variant& Value, Integer Fallback) {
  if (IsNullOrEmptyVariant(Value)) return Fallback;
  if (VarIsOrdinal(Value)) return ClampToInteger(Value.AsInt64());
  if (VarIsStr(Value)) {
    Integer v = 0;
    return ParseTrackBarInteger(VarToStr(Value), v) ? v : Fallback;
  }
  return Fallback;
}

// --- properties ----------------------------------------------------------------------------

TcxCustomTrackBarProperties::TcxCustomTrackBarProperties(TPersistent* AOwner) : TcxCustomEditProperties(AOwner) {}
TcxCustomTrackBarProperties::~TcxCustomTrackBarProperties() = default;

template <typename T>
void TcxCustomTrackBarProperties::Change(T& Field, T Value) {
  if (Field == Value) return;
  Field = Value;
  NotifyChanged();
}

void TcxCustomTrackBarProperties::SetAutoSize(bool Value) { Change(FAutoSize, Value); }
void TcxCustomTrackBarProperties::SetBorderWidth(Integer Value) { Change(FBorderWidth, std::max<Integer>(Value, 0)); }
void TcxCustomTrackBarProperties::SetFrequency(Integer Value) { Change(FFrequency, std::max<Integer>(Value, 0)); }
void TcxCustomTrackBarProperties::SetMin(Integer Value) {
  if (Value == FMin) return;
  FMin = Value;
  if (FMax < FMin) FMax = FMin;
  NotifyChanged();
}
void TcxCustomTrackBarProperties::SetMax(Integer Value) {
  if (Value == FMax) return;
  FMax = Value;
  if (FMin > FMax) FMin = FMax;
  NotifyChanged();
}
void TcxCustomTrackBarProperties::SetOrientation(TcxTrackBarOrientation Value) { Change(FOrientation, Value); }
void TcxCustomTrackBarProperties::SetTextOrientation(TcxTrackBarTextOrientation Value) {
  Change(FTextOrientation, Value);
}
void TcxCustomTrackBarProperties::SetPageSize(TcxNaturalNumber Value) {
  if (Value >= 1) Change(FPageSize, Value);
}
void TcxCustomTrackBarProperties::SetSelectionStart(Integer Value) { Change(FSelectionStart, Value); }
void TcxCustomTrackBarProperties::SetSelectionEnd(Integer Value) { Change(FSelectionEnd, Value); }
void TcxCustomTrackBarProperties::SetSelectionColor(TColor Value) { Change(FSelectionColor, Value); }
void TcxCustomTrackBarProperties::SetShowTicks(bool Value) { Change(FShowTicks, Value); }
void TcxCustomTrackBarProperties::SetThumbType(TcxTrackBarThumbType Value) { Change(FThumbType, Value); }
void TcxCustomTrackBarProperties::SetShowTrack(bool Value) { Change(FShowTrack, Value); }
void TcxCustomTrackBarProperties::SetTickColor(TColor Value) { Change(FTickColor, Value); }
void TcxCustomTrackBarProperties::SetTickType(TcxTrackBarTickType Value) { Change(FTickType, Value); }
void TcxCustomTrackBarProperties::SetTickMarks(TcxTrackBarTickMarks Value) { Change(FTickMarks, Value); }
void TcxCustomTrackBarProperties::SetTickSize(TcxNaturalNumber Value) {
  if (Value >= 1) Change(FTickSize, Value);
}
void TcxCustomTrackBarProperties::SetTrackColor(TColor Value) { Change(FTrackColor, Value); }
void TcxCustomTrackBarProperties::SetTrackSize(Integer Value) { Change(FTrackSize, Value); }
void TcxCustomTrackBarProperties::SetThumbHeight(Integer Value) { Change(FThumbHeight, Value); }
void TcxCustomTrackBarProperties::SetThumbWidth(Integer Value) { Change(FThumbWidth, Value); }
void TcxCustomTrackBarProperties::SetThumbColor(TColor Value) { Change(FThumbColor, Value); }
void TcxCustomTrackBarProperties::SetThumbHighlightColor(TColor Value) { Change(FThumbHighlightColor, Value); }

void TcxCustomTrackBarProperties::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TcxCustomTrackBarProperties*>(Source);
  if (!s) {
    TcxCustomEditProperties::Assign(Source);
    return;
  }
  LockChanges();
  TcxCustomEditProperties::Assign(Source);
  SetAutoSize(s->AutoSize());
  SetBorderWidth(s->BorderWidth());
  SetFrequency(s->Frequency());
  SetMin(s->Min());
  SetMax(s->Max());
  SetOrientation(s->Orientation());
  SetTextOrientation(s->TextOrientation());
  SetPageSize(s->PageSize());
  SetSelectionStart(s->SelectionStart());
  SetSelectionEnd(s->SelectionEnd());
  SetSelectionColor(s->SelectionColor());
  SetShowTicks(s->ShowTicks());
  SetThumbType(s->ThumbType());
  SetShowTrack(s->ShowTrack());
  SetTickColor(s->TickColor());
  SetTickType(s->TickType());
  SetTickMarks(s->TickMarks());
  SetTickSize(s->TickSize());
  SetTrackColor(s->TrackColor());
  SetTrackSize(s->TrackSize());
  SetThumbHeight(s->ThumbHeight());
  SetThumbWidth(s->ThumbWidth());
  SetThumbColor(s->ThumbColor());
  SetThumbHighlightColor(s->ThumbHighlightColor());
  OnDrawThumb = s->OnDrawThumb;
  OnGetThumbRect = s->OnGetThumbRect;
  UnlockChanges();
}

TClass TcxCustomTrackBarProperties::EditClass() { return TcxTrackBar::StaticClass(); }
TcxContainerStyleClass TcxCustomTrackBarProperties::StyleClass() {
  return &CreateContainerStyle<TcxTrackBarStyle>;
}
TcxCustomEditViewDataClass TcxCustomTrackBarProperties::ViewDataClass() {
  return EditViewDataClassOf<TcxCustomTrackBarViewData>();
}
TcxContainerViewInfoClass TcxCustomTrackBarProperties::ViewInfoClass() {
  return &CreateContainerViewInfo<TcxCustomTrackBarViewInfo>;
}

Integer TcxCustomTrackBarProperties::ClampValue(Integer Value) const { return std::clamp(Value, FMin, std::max(FMin, FMax)); }

Int64 TcxCustomTrackBarProperties::Range() const {
  const Int64 r = Int64{FMax} - FMin;
  return r > 0 ? r : 1;
}

void TcxCustomTrackBarProperties::ConvertToEditValue(const Variant& Value, Variant& EditValue, bool Focused) {
  (void)Focused;
  SetChangeLock(true);
  EditValue = Variant(ClampValue(ValueToInteger(Value)));
  SetChangeLock(false);
}

std::u16string TcxCustomTrackBarProperties::DisplayTextOf(const Variant& Value, bool FullText) {
  (void)FullText;
  const std::string text = std::to_string(ClampValue(ValueToInteger(Value)));
  return std::u16string(text.begin(), text.end());
}

TcxContainerBorderStyle TcxTrackBarStyle::DefaultBorderStyle() {
  return IsNormalStyle() ? cbsNone : TcxEditStyle::DefaultBorderStyle();
}

// --- layout ----------------------------------------------------------------------------------

void TcxCustomTrackBarViewData::ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                              Integer AButton, TShiftState AShift, TcxCustomEditViewInfo* AViewInfo,
                                              bool AIsMouseEvent) {
  TcxCustomEditViewData::ComputeLayout(ACanvas, ABounds, P, AButton, AShift, AViewInfo, AIsMouseEvent);
  auto& vi = static_cast<TcxCustomTrackBarViewInfo&>(*AViewInfo);
  TcxCustomTrackBarProperties* props = TrackProperties();
  vi.LookAndFeel()->Assign(Style->LookAndFeel());
  vi.SelStart = 0;
  vi.SelLength = 0;
  if (!Enabled)
    vi.ThumbState = tbsDisabled;
  else if (vi.MouseFlags & tbfDragging)
    vi.ThumbState = tbsPressed;
  else if (vi.MouseFlags & tbfHotThumb)
    vi.ThumbState = tbsHot;
  else
    vi.ThumbState = tbsNormal;
  if (TrackBar && !vi.PaintingCopy) vi.Position = props->ClampValue(props->ValueToInteger(TrackBar->EditValue()));
  vi.BorderWidth = props->BorderWidth();
  vi.TrackSize = props->TrackSize();
  vi.SelectionStart = props->SelectionStart();
  vi.SelectionEnd = props->SelectionEnd();
  vi.TickColorInUse = Enabled ? props->TickColor() : clBtnShadow;
  vi.ThumbHeight = props->ThumbHeight();
  vi.ThumbWidth = props->ThumbWidth();
  vi.OneSidedTicks = props->TickMarks() != cxtmBoth;
  vi.SetBackgroundColor(Style->Color());
  vi.Edit = EditControl();
  CalculateTrackBarLayout(ACanvas, &vi);
}

void TcxCustomTrackBarViewData::CalculateTrackBarLayout(TcxCanvas* ACanvas, TcxCustomTrackBarViewInfo* AViewInfo) {
  CalculateWorkingRect(AViewInfo);
  CalculateThumbBand(ACanvas, AViewInfo);
  CalculateTrackRect(AViewInfo);
  CalculateScale(AViewInfo);
  CalculateThumbRect(AViewInfo);
  CalculateSelectionRect(AViewInfo);
}

void TcxCustomTrackBarViewData::CalculateWorkingRect(TcxCustomTrackBarViewInfo* AViewInfo) {
  TcxCustomTrackBarViewInfo& vi = *AViewInfo;
  vi.ClientCopy = vi.ClientRect;
  vi.W = vi.ClientCopy;
  OffsetRect(vi.W, -ContentParams.Offsets.Left, -ContentParams.Offsets.Top);
  vi.BorderWidth = std::min(vi.BorderWidth, RectWidthOrZero(vi.W) / 2);
  vi.BorderWidth = std::min(vi.BorderWidth, RectHeightOrZero(vi.W) / 2);
}

bool TcxCustomTrackBarViewData::CustomThumbRect(TRect& R) {
  TcxCustomTrackBarProperties* props = TrackProperties();
  if (props->ThumbType() != cxttCustom || !props->OnGetThumbRect) return false;
  R = {};
  props->OnGetThumbRect(props, R);
  return true;
}

Integer TcxCustomTrackBarViewData::TickAreaSize(TcxCanvas* ACanvas, TcxCustomTrackBarViewInfo* AViewInfo,
                                                bool ATopLeft) {
  TcxCustomTrackBarProperties* props = TrackProperties();
  if (props->TickMarks() == (ATopLeft ? cxtmBottomRight : cxtmTopLeft)) return 0;
  Integer size;
  if (props->TickType() == tbttTicks) {
    size = props->TickSize() + 1;
  } else {
    const bool agree = (props->Orientation() == tboHorizontal) == (props->TextOrientation() == tbtoHorizontal);
    const std::string minText = std::to_string(props->Min());
    const std::string maxText = std::to_string(props->Max());
    if (Style->Font()) ACanvas->AssignFont(Style->Font());
    size = agree ? ACanvas->MeasureTextHeight(minText)
                 : ACanvas->MeasureTextWidth(minText.size() > maxText.size() ? minText : maxText);
  }
  return AViewInfo->BorderWidth == 0 ? size + 1 : size;
}

void TcxCustomTrackBarViewData::CalculateThumbBand(TcxCanvas* ACanvas, TcxCustomTrackBarViewInfo* AViewInfo) {
  TcxCustomTrackBarViewInfo& vi = *AViewInfo;
  TcxCustomTrackBarProperties* props = TrackProperties();
  const bool vertical = props->Orientation() == tboVertical;
  const Integer s1 = TickAreaSize(ACanvas, AViewInfo, true);
  const Integer s0 = TickAreaSize(ACanvas, AViewInfo, false);
  const Integer b = (vertical ? RectWidthOrZero(vi.W) : RectHeightOrZero(vi.W)) - s1 - s0;
  Integer c = std::clamp<Integer>(b, 10, 21);
  if (TRect custom; CustomThumbRect(custom)) c = std::max(c, vertical ? custom.Width() : custom.Height());
  vi.Margin = 7;
  if (props->AutoSize()) vi.TrackSize = c / 2;
  const Integer d = (b - c) / 2 + s1 + (vertical ? vi.W.Left : vi.W.Top);
  const Integer nearEnd = (vertical ? vi.W.Top : vi.W.Left) + vi.BorderWidth + vi.Margin;
  const Integer farEnd = (vertical ? vi.W.Bottom : vi.W.Right) - vi.BorderWidth - vi.Margin;
  vi.ThumbBand = vertical ? TRect{d, nearEnd, d + c, farEnd} : TRect{nearEnd, d, farEnd, d + c};
}

void TcxCustomTrackBarViewData::CalculateTrackRect(TcxCustomTrackBarViewInfo* AViewInfo) {
  TcxCustomTrackBarViewInfo& vi = *AViewInfo;
  const TRect& band = vi.ThumbBand;
  if (TrackProperties()->Orientation() == tboVertical) {
    const Integer start = band.Left + (band.Width() - vi.TrackSize) / 2;
    vi.TrackRect = {start, band.Top, start + vi.TrackSize, band.Bottom};
  } else {
    const Integer start = band.Top + (band.Height() - vi.TrackSize) / 2;
    vi.TrackRect = {band.Left, start, band.Right, start + vi.TrackSize};
  }
}

void TcxCustomTrackBarViewData::CalculateScale(TcxCustomTrackBarViewInfo* AViewInfo) {
  TcxCustomTrackBarViewInfo& vi = *AViewInfo;
  TcxCustomTrackBarProperties* props = TrackProperties();
  const bool vertical = props->Orientation() == tboVertical;
  if (TRect custom; CustomThumbRect(custom)) {
    vi.ThumbAlong = vertical ? custom.Height() : custom.Width();
    vi.ThumbAcross = vertical ? custom.Width() : custom.Height();
  } else if (props->AutoSize()) {
    Integer t = vi.TrackSize;
    if (t >= 0 && t % 2 != 0) t += vertical ? -1 : 1;
    vi.ThumbAlong = t;
    vi.ThumbAcross = 2 * t - 1;
  } else {
    vi.ThumbAlong = props->ThumbWidth();
    vi.ThumbAcross = props->ThumbHeight() - 1;
  }
  const Integer length = vertical ? vi.TrackRect.Height() : vi.TrackRect.Width();
  vi.PixelsPerUnit = static_cast<double>(length - vi.ThumbAlong) / static_cast<double>(props->Range());
}

void TcxCustomTrackBarViewData::CalculateThumbRect(TcxCustomTrackBarViewInfo* AViewInfo) {
  TcxCustomTrackBarViewInfo& vi = *AViewInfo;
  TcxCustomTrackBarProperties* props = TrackProperties();
  const bool vertical = props->Orientation() == tboVertical;
  const Integer p = vi.ValuePixel(vi.Position);
  const Integer along0 = p, along1 = p + 2 * (vi.ThumbAlong / 2);
  Integer across0 = vi.TrackSize / 2 + (vertical ? vi.TrackRect.Left : vi.TrackRect.Top) - vi.ThumbAcross / 2;
  Integer across1 = across0 + vi.ThumbAcross;
  if (vertical && props->TickMarks() == cxtmTopLeft) {
    across0 -= 1;
    across1 -= 2;
  }
  vi.ThumbRect = vertical ? TRect{across0, along0, across1, along1} : TRect{along0, across0, along1, across1};
  if (vi.IsNative()) OffsetRect(vi.ThumbRect, vertical ? 0 : 1, vertical ? 1 : 0);
  vi.HitThumbRect = vi.GetThumbRect();
}

void TcxCustomTrackBarViewData::CalculateSelectionRect(TcxCustomTrackBarViewInfo* AViewInfo) {
  TcxCustomTrackBarViewInfo& vi = *AViewInfo;
  TcxCustomTrackBarProperties* props = TrackProperties();
  vi.SelectionStart = props->ClampValue(vi.SelectionStart);
  vi.SelectionEnd = props->ClampValue(vi.SelectionEnd);
  vi.SelectionVisible = vi.SelectionStart < vi.SelectionEnd;
  if (!vi.SelectionVisible) {
    vi.SelectionRect = {};
    return;
  }
  const Integer h = vi.ThumbAlong / 2;
  const Integer from = vi.ValuePixel(vi.SelectionStart) + h, to = vi.ValuePixel(vi.SelectionEnd) + h + 1;
  const TRect& t = vi.TrackRect;
  vi.SelectionRect = props->Orientation() == tboVertical ? TRect{t.Left + 2, from, t.Right - 2, to}
                                                          : TRect{from, t.Top + 2, to, t.Bottom - 1};
}

// --- painting --------------------------------------------------------------------------------

TcxCustomTrackBarViewInfo::TcxCustomTrackBarViewInfo()
    : FLookAndFeel(std::make_unique<TcxLookAndFeel>(nullptr)), FBitmap(std::make_unique<TBitmap>()) {
  FBitmap->SetPixelFormat(pf32bit);
  FBitmapCanvas = std::make_unique<TcxCanvas>(FBitmap->Canvas());
}

TcxCustomTrackBarViewInfo::~TcxCustomTrackBarViewInfo() = default;

bool TcxCustomTrackBarViewInfo::IsNative() {
  return NativeThemeInEffect(FLookAndFeel->NativeStyle(), ThemeClassTrackBar);
}

Integer TcxCustomTrackBarViewInfo::ValuePixel(Int64 V) const {
  TcxCustomTrackBarProperties* props = TrackProperties();
  const Integer start = props->Orientation() == tboVertical ? TrackRect.Top : TrackRect.Left;
  return static_cast<Integer>(std::trunc(static_cast<double>(V - props->Min()) * PixelsPerUnit)) + start;
}

void TcxCustomTrackBarViewInfo::AssignFrom(TcxContainerViewInfo* Source) {
  TcxCustomTextEditViewInfo::AssignFrom(Source);
  auto* s = dynamic_cast<TcxCustomTrackBarViewInfo*>(Source);
  if (!s) return;
  FLookAndFeel->Assign(s->FLookAndFeel.get());
  Position = s->Position;
  TrackSize = s->TrackSize;
  ThumbAcross = s->ThumbAcross;
  ThumbAlong = s->ThumbAlong;
  BorderWidth = s->BorderWidth;
  ThumbState = s->ThumbState;
  SelectionStart = s->SelectionStart;
  SelectionEnd = s->SelectionEnd;
}

void TcxCustomTrackBarViewInfo::OffsetBy(Integer DX, Integer DY) {
  TcxCustomTextEditViewInfo::OffsetBy(DX, DY);
  OffsetRect(ClientCopy, DX, DY);
}

void TcxCustomTrackBarViewInfo::DrawBackground(TcxCanvas* ACanvas) {
  const TRect all{0, 0, FBitmap->Width(), FBitmap->Height()};
  if (!IsInplace) {
    // The bitmap keeps what an earlier paint left where neither of these
    // paints (a border-less edge).
    FBitmapCanvas->Brush()->SetColor(FillColor);
    FBitmapCanvas->Canvas->FillRect(all);
    if (Transparent || IsNative()) {
      DrawTransparentBackground(this, FBitmapCanvas.get(), WholeRect);
    } else {
      DrawEditBackgroundAndButtons(FBitmapCanvas.get(), this, true, NativeContentByTheme);
    }
    return;
  }
  if (Transparent) {
    FBitmapCanvas->CopyRectFrom(all, ACanvas->Canvas, WholeRect);
    return;
  }
  const TPoint origin = FBitmapCanvas->WindowOrigin();
  FBitmapCanvas->SetDCWindowOrigin({WholeRect.Left, WholeRect.Top});
  const bool drawn = DrawCustomBackground(FBitmapCanvas.get());
  FBitmapCanvas->SetDCWindowOrigin(origin);
  if (!drawn) {
    FBitmapCanvas->Brush()->SetColor(FillColor);
    FBitmapCanvas->Canvas->FillRect(all);
  }
}

void TcxCustomTrackBarViewInfo::DrawTo(TcxCanvas* ACanvas) {
  FBitmap->SetSize(RectWidthOrZero(WholeRect), RectHeightOrZero(WholeRect));
  if (FBitmap->Width() == 0 || FBitmap->Height() == 0) return;
  DrawBackground(ACanvas);
  {
    std::unique_ptr<TcxRegion> saved = FBitmapCanvas->ReadClipRegion();
    FBitmapCanvas->IntersectClip(W);
    DrawParts(FBitmapCanvas.get());
    FBitmapCanvas->ApplyClipRegion(std::move(saved));
  }
  ACanvas->Canvas->Draw(WholeRect.Left, WholeRect.Top, FBitmap.get());
}

void TcxCustomTrackBarViewInfo::DrawParts(TcxCanvas* ACanvas) {
  TcxCustomTrackBarProperties* props = TrackProperties();
  if (props->ShowTrack()) {
    DrawTrack(ACanvas);
    if (SelectionVisible) DrawSelection(ACanvas);
  }
  if (props->ShowTicks()) DrawTicks(ACanvas);
  if (props->ThumbType() == cxttRegular)
    DrawThumb(ACanvas);
  else if (props->ThumbType() == cxttCustom && props->OnDrawThumb)
    props->OnDrawThumb(props, ACanvas, ThumbRect);
}

void TcxCustomTrackBarViewInfo::DrawTrack(TcxCanvas* ACanvas) {
  TcxCustomTrackBarProperties* props = TrackProperties();
  if (IsNative()) {
    UxDrawThemeBackground(OpenThemeByIndex(ThemeClassTrackBar), ACanvas->DeviceContext(),
                          props->Orientation() == tboVertical ? 2 : 1, ThumbState, TrackRect);
    return;
  }
  ACanvas->Brush()->SetColor(props->TrackColor());
  ACanvas->Canvas->FillRect(TrackRect);
  TRect r = TrackRect;
  r.Right -= 1;
  TRect inner;
  switch (FLookAndFeel->Kind()) {
    case lfFlat:
      DrawRectFrame(ACanvas, r, clBtnShadow, clBtnHighlight, inner);
      DrawRectFrame(ACanvas, inner, clBtnFace, clBtnFace, inner);
      break;
    case lfStandard:
      DrawRectFrame(ACanvas, r, clBtnShadow, clBtnHighlight, inner);
      DrawRectFrame(ACanvas, inner, cl3DDkShadow, cl3DLight, inner);
      break;
    default: DrawRectFrame(ACanvas, r, clWindowFrame, clWindowFrame, inner); break;
  }
}

void TcxCustomTrackBarViewInfo::DrawSelection(TcxCanvas* ACanvas) {
  ACanvas->Brush()->SetColor(TrackProperties()->SelectionColor());
  ACanvas->Canvas->FillRect(SelectionRect);
}

void TcxCustomTrackBarViewInfo::DrawMark(TcxCanvas* ACanvas, Int64 N, Integer R, bool IsEnd,
                                         const win::LOGFONT* ARotatedFont) {
  TcxCustomTrackBarProperties* props = TrackProperties();
  const bool vertical = props->Orientation() == tboVertical;
  const bool nearSide = props->TickMarks() != cxtmBottomRight;
  const bool farSide = props->TickMarks() != cxtmTopLeft;
  const Integer f = props->TickSize() + (IsEnd ? props->TickSize() / 2 : 0);
  const bool line = props->TickType() == tbttTicks || (props->TickType() == tbttValueNumber && !IsEnd && N != Position);
  const TRect& t = ThumbRect;
  if (line) {
    ACanvas->Pen()->SetColor(TickColorInUse);
    auto stroke = [&](Integer X0, Integer Y0, Integer X1, Integer Y1) {
      ACanvas->MovePenTo(X0, Y0);
      ACanvas->DrawLineTo(X1, Y1);
    };
    if (vertical) {
      if (farSide) stroke(t.Right + 2, R, t.Right + f + 2, R);
      if (nearSide) stroke(t.Left - f - 1, R, t.Left - 1, R);
    } else {
      if (farSide) stroke(R, t.Bottom + 2, R, t.Bottom + f + 2);
      if (nearSide) stroke(R, t.Top - f - 1, R, t.Top - 1);
    }
    return;
  }
  const std::string text = std::to_string(N);
  const TSize size = ACanvas->MeasureText(text);  // measured in the unrotated font
  const Integer g = size.cx, h = size.cy;
  const bool rotated = ARotatedFont != nullptr;
  auto write = [&](Integer X, Integer Y) {
    if (rotated) SetCanvasFontFromLogFont(ACanvas, *ARotatedFont);
    ACanvas->DrawAlignedText(text, {X, Y, X + g + 2, Y + h + 2}, 0, true);
    if (rotated) {
      ACanvas->AssignFont(Font);
      ACanvas->Font()->SetColor(TextColor);
    }
  };
  // Transparent numbers: the canvas takes its background mode from the
  // brush style when it draws.
  ACanvas->Brush()->SetStyle(bsClear);
  win::SetBkMode(ACanvas->DeviceContext(), win::TRANSPARENT);
  if (!vertical && !rotated) {
    if (farSide) write(R - g / 2, t.Bottom + 1);
    if (nearSide) write(R - g / 2, t.Top - h - 1);
  } else if (!vertical) {
    if (farSide) write(R - (h / 2 - 1), t.Bottom + 1 + g);
    if (nearSide) write(R - (h / 2 - 1), t.Top - 1);
  } else if (!rotated) {
    if (farSide) write(t.Right + 2, R - h / 2);
    if (nearSide) write(t.Left - g - 1, R - h / 2);
  } else {
    if (farSide) write(t.Right + 2, R + g / 2);
    if (nearSide) write(t.Left - h - 1, R + g / 2);
  }
  ACanvas->Brush()->SetStyle(bsSolid);
}

void TcxCustomTrackBarViewInfo::DrawTicks(TcxCanvas* ACanvas) {
  TcxCustomTrackBarProperties* props = TrackProperties();
  if (Font) ACanvas->AssignFont(Font);
  ACanvas->Font()->SetColor(TextColor);
  ACanvas->Pen()->SetColor(TickColorInUse);
  ACanvas->Brush()->SetColor(clBtnFace);
  // Vertical numbers read upward.
  win::LOGFONT rotatedFont = GetCanvasLogFont(ACanvas);
  rotatedFont.lfEscapement = rotatedFont.lfOrientation = 900;
  const win::LOGFONT* rotated =
      props->TextOrientation() == tbtoVertical && props->TickType() != tbttTicks ? &rotatedFont : nullptr;
  const Int64 mn = props->Min(), mx = props->Max();
  if (mx < mn) return;
  const Integer half = ThumbAlong / 2;
  auto pixelOf = [&](Int64 N) { return ValuePixel(N) + half; };
  const Integer start = pixelOf(mn);
  DrawMark(ACanvas, mn, start, true, rotated);
  if (mx == mn) return;
  const Integer endPixel = pixelOf(mx);
  Integer last = start;
  // The marks in between, each on a pixel of its own: after a mark the walk
  // jumps to the first multiple of Frequency that lands further on, so even
  // a range of billions costs no more steps than the track has pixels.
  if (const Int64 f = props->Frequency(); f > 0) {
    for (Int64 n = CeilMultiple(mn + 1, f); n < mx;) {
      const Integer r = pixelOf(n);
      if (r != last && r != endPixel) {
        DrawMark(ACanvas, n, r, false, rotated);
        last = r;
      }
      if (PixelsPerUnit <= 0) break;
      // Trunc((v - Min) × PixelsPerUnit) passes r - start first at about
      // this v; one back guards the rounding.
      const double past = std::ceil(static_cast<double>(r - start + 1) / PixelsPerUnit);
      const Int64 v = past >= static_cast<double>(mx - mn) ? mx : mn + static_cast<Int64>(past) - 1;
      n = std::max(n + f, CeilMultiple(v, f));
    }
  }
  if (endPixel != last || endPixel == start) DrawMark(ACanvas, mx, endPixel, true, rotated);
}

Integer TcxCustomTrackBarViewInfo::NativeThumbPart() {
  const bool vertical = TrackProperties()->Orientation() == tboVertical;
  switch (TrackProperties()->TickMarks()) {
    case cxtmBoth: return vertical ? 6 : 3;
    case cxtmTopLeft: return vertical ? 7 : 5;
    default: return vertical ? 8 : 4;
  }
}

void TcxCustomTrackBarViewInfo::DrawThumb(TcxCanvas* ACanvas) {
  TcxCustomTrackBarProperties* props = TrackProperties();
  if (IsNative()) {
    UxDrawThemeBackground(OpenThemeByIndex(ThemeClassTrackBar), ACanvas->DeviceContext(), NativeThumbPart(),
                          ThumbState, ThumbRect);
    return;
  }
  const TcxLookAndFeelKind kind = FLookAndFeel->Kind();
  const bool highlighted = ThumbState == tbsHot || ThumbState == tbsPressed;
  TColor colour;
  if (highlighted && (kind == lfUltraFlat || kind == lfOffice11))
    colour = HighlightedButtonColor(ThumbState == tbsPressed, kind == lfOffice11);
  else if (highlighted)
    colour = props->ThumbHighlightColor();
  else if (ThumbState == tbsDisabled)
    colour = clBtnShadow;
  else
    colour = props->ThumbColor();
  const bool vertical = props->Orientation() == tboVertical;
  if (OneSidedTicks) {
    const bool down = props->TickMarks() == cxtmBottomRight;
    DrawPointedThumb(ACanvas, vertical ? (down ? ArrowRight : ArrowLeft) : (down ? ArrowDown : ArrowUp), colour);
    return;
  }
  TRect inner = ThumbRect;
  switch (kind) {
    case lfFlat: DrawRectFrame(ACanvas, ThumbRect, clWindow, clBtnShadow, inner); break;
    case lfStandard:
      DrawRectFrame(ACanvas, ThumbRect, clWindow, clWindowFrame, inner);
      DrawRectFrame(ACanvas, inner, clBtnFace, clBtnShadow, inner);
      break;
    default: DrawRectFrame(ACanvas, ThumbRect, clWindowFrame, clWindowFrame, inner); break;
  }
  ACanvas->Brush()->SetColor(colour);
  ACanvas->Canvas->FillRect({inner.Left, inner.Top, inner.Right + 1, inner.Bottom + 1});
}

void TcxCustomTrackBarViewInfo::DrawPointedThumb(TcxCanvas* ACanvas, ArrowDirection ADirection, TColor AColor) {
  const Integer L = ThumbRect.Left, T = ThumbRect.Top, R = ThumbRect.Right, B = ThumbRect.Bottom;
  const Integer c = ThumbAlong / 2;
  struct Shape {
    std::vector<TPoint> fill, light, shadow, dark;
  } s;
  switch (ADirection) {
    case ArrowRight:
      s = {{{L + 1, B}, {L + 1, T + 1}, {R - c, T + 1}, {R - 1, T + c}, {R - 1, T + c + 1}, {R - c, B}},
           {{L, B}, {L, T}, {R - c, T}, {R, T + c}},
           {{L + 1, B}, {R - c, B}, {R - 1, B - c + 1}},
           {{L, B + 1}, {R - c, B + 1}, {R, B - c + 1}}};
      break;
    case ArrowDown:
      s = {{{R - 1, T + 1}, {L + 1, T + 1}, {L + 1, B - c}, {L + c - 1, B - 1}, {L + c, B - 1}, {R - 1, B - c}},
           {{R, T}, {L, T}, {L, B - c}, {L + c, B}},
           {{L + c, B - 1}, {R - 1, B - c}, {R - 1, T + 1}},
           {{L + c, B}, {R, B - c}, {R, T}}};
      break;
    case ArrowLeft:
      s = {{{R - 2, B}, {R - 2, T + 1}, {L + c, T + 1}, {L + 1, T + c}, {L + 1, T + c + 1}, {L + c, B}},
           {{R, T}, {L + c, T}, {L, T + c}},
           {{R - 1, T + 1}, {R - 1, B}, {L + c, B}, {L + 1, B - c + 1}},
           {{R, T}, {R, B + 1}, {L + c, B + 1}, {L, B - c + 1}}};
      break;
    default:
      s = {{{R - 1, B - 2}, {L + 1, B - 2}, {L + 1, T + c}, {L + c - 1, T + 2}, {L + c, T + 2}, {R - 1, T + c}},
           {{L, B}, {L, T + c}, {L + c, T}},
           {{L + c, T + 1}, {R - 1, T + c}, {R - 1, B - 1}, {L, B - 1}},
           {{L + c, T}, {R, T + c}, {R, B}, {L, B}}};
      break;
  }
  ACanvas->Pen()->SetColor(AColor);
  ACanvas->Brush()->SetColor(AColor);
  ACanvas->FillPolygon(s.fill.data(), static_cast<Integer>(s.fill.size()) - 1);
  // A polyline through the points with the last point's pixel set too.
  auto trace = [&](const std::vector<TPoint>& Points, TColor AColour) {
    ACanvas->Pen()->SetColor(AColour);
    ACanvas->DrawPolyline(Points.data(), static_cast<Integer>(Points.size()) - 1);
    ACanvas->PlotPixel(Points.back().X, Points.back().Y, AColour);
  };
  switch (FLookAndFeel->Kind()) {
    case lfFlat:
      trace(s.light, clBtnHighlight);
      trace(s.dark, clBtnShadow);
      break;
    case lfStandard:
      trace(s.light, clBtnHighlight);
      trace(s.shadow, clBtnShadow);
      trace(s.dark, cl3DDkShadow);
      break;
    default:
      trace(s.light, clWindowText);
      trace(s.dark, clWindowText);
      break;
  }
}

TRect TcxCustomTrackBarViewInfo::GetThumbRect() {
  TRect r = ThumbRect;
  if (IsNative()) {
    win::SIZE size{0, 0};
    UxGetThemePartSize(OpenThemeByIndex(ThemeClassTrackBar), nullptr, NativeThumbPart(), ThumbState, win::TS_TRUE,
                       size);
    const Integer x = r.Left + (r.Width() - size.cx) / 2, y = r.Top + (r.Height() - size.cy) / 2;
    r = {x, y, x + size.cx, y + size.cy};
  } else {
    r.Right += 1;
    r.Bottom += 1;
  }
  OffsetRect(r, ClientCopy.Left, ClientCopy.Top);
  return r;
}

// --- the control -----------------------------------------------------------------------------

namespace {

TcxCustomEditKind TrackBarKind() {
  TcxCustomEditKind kind;
  kind.PropertiesClass = TcxTrackBarProperties::StaticClass();
  kind.StyleClass = &CreateContainerStyle<TcxTrackBarStyle>;
  kind.ViewInfoClass = &CreateContainerViewInfo<TcxCustomTrackBarViewInfo>;
  return kind;
}

bool InRect(const TRect& R, const TPoint& P) { return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom; }

}  // namespace

TcxCustomTrackBar::TcxCustomTrackBar(TComponent* AOwner, bool AIsInplace)
    : TcxCustomEdit(AOwner, AIsInplace, TrackBarKind()) {
  ControlStyle.Exclude(csAcceptsControls);
  ControlStyle.Exclude(csClickEvents);
  ControlStyle.Exclude(csDoubleClicks);
  // The properties' AutoSize fits the track to the control; the control
  // itself keeps the size it is given.
  SetAutoSize(false);
  SetBounds(Left(), Top(), 196, 76);
  SetEditValue(Variant(0));
}

TcxCustomTrackBar::~TcxCustomTrackBar() = default;

Integer TcxCustomTrackBar::Position() {
  TcxCustomTrackBarProperties* props = ActiveTrackProperties();
  return props->ClampValue(props->ValueToInteger(EditValue()));
}

void TcxCustomTrackBar::SetPosition(Integer Value) {
  if (!ComponentState().Contains(csLoading)) Value = ActiveTrackProperties()->ClampValue(Value);
  if (Value != Position()) AssignEditValueAndClick(Variant(Value));
}

void TcxCustomTrackBar::SetPositionByUser(Integer Value) {
  Value = ActiveTrackProperties()->ClampValue(Value);
  if (Value == Position() || !QueryEditing()) return;
  AssignEditValueAndClick(Variant(Value));
  ActiveProperties()->NotifyChanged();
  SetEditingModified(true);
  PostEditValue(false);
}

void TcxCustomTrackBar::ExtendSelection(Integer Value) {
  if (Value < FSelectionAnchor)
    ActiveTrackProperties()->WriteSelection(Value, FSelectionAnchor);
  else
    ActiveTrackProperties()->WriteSelection(FSelectionAnchor, Value);
}

Integer TcxCustomTrackBar::PointToValue(const TPoint& P) {
  TcxCustomTrackBarViewInfo* vi = TrackViewInfo();
  // A track no longer than the thumb has no scale: the value stays.
  if (vi->PixelsPerUnit <= 0) return Position();
  TcxCustomTrackBarProperties* props = ActiveTrackProperties();
  const double offset = props->Orientation() == tboVertical ? P.Y - vi->TrackRect.Top : P.X - vi->TrackRect.Left;
  const double v = std::trunc(offset / vi->PixelsPerUnit) + props->Min();
  return static_cast<Integer>(std::clamp<double>(v, INT_MIN, INT_MAX));
}

void TcxCustomTrackBar::AutoSizeMeasureLimits(TcxEditSizeLimits& ALimits) {
  ALimits = {1, TrackViewInfo()->TextRect.Width()};
}

void TcxCustomTrackBar::CalculateViewInfo(const TPoint& P, bool AIsMouseEvent) {
  TcxCustomEdit::CalculateViewInfo(P, AIsMouseEvent);
  std::unique_ptr<TcxCustomEditViewData> data =
      ActiveProperties()->CreateViewData(static_cast<TcxCustomEditStyle*>(ActiveStyle()), IsInplace());
  auto* trackData = static_cast<TcxCustomTrackBarViewData*>(data.get());
  trackData->TrackBar = this;
  data->Enabled = Enabled();
  data->Focused = Focused();
  data->IsDesigning = IsDesigning();
  data->WindowHandle = HandleAllocated() ? Handle() : nullptr;
  data->ComputeLayout(TrackViewInfo()->BitmapCanvas(), {0, 0, Width(), Height()}, P, cxmbNone, CurrentShiftState(), TrackViewInfo(),
                      AIsMouseEvent);
}

Integer TcxCustomTrackBar::KeyToPosition(Word Key) {
  TcxCustomTrackBarProperties* props = ActiveTrackProperties();
  const Int64 p = Position();
  auto clamped = [&](Int64 V) { return props->ClampValue(static_cast<Integer>(std::clamp<Int64>(V, INT_MIN, INT_MAX))); };
  switch (Key) {
    case win::VK_PRIOR: return clamped(p - props->PageSize());
    case win::VK_NEXT: return clamped(p + props->PageSize());
    case win::VK_END: return props->Max();
    case win::VK_HOME: return props->Min();
    case win::VK_LEFT:
    case win::VK_UP: return clamped(p - 1);
    case win::VK_RIGHT:
    case win::VK_DOWN: return clamped(p + 1);
    default: return static_cast<Integer>(p);
  }
}

void TcxCustomTrackBar::KeyDown(Word& Key, TShiftState Shift) {
  TcxCustomEdit::KeyDown(Key, Shift);
  if (Key == 0) return;
  if (Key == win::VK_SHIFT) {
    if (!IsInplace() && !FSelecting) {
      FSelecting = true;
      FSelectionAnchor = Position();
    }
    return;
  }
  const Integer p = KeyToPosition(Key);
  if (p == Position()) return;
  if (FSelecting) ExtendSelection(p);
  SetPositionByUser(p);
}

void TcxCustomTrackBar::KeyUp(Word& Key, TShiftState Shift) {
  TcxCustomEdit::KeyUp(Key, Shift);
  if (!IsInplace() && Key == win::VK_SHIFT) FSelecting = false;
}

bool TcxCustomTrackBar::ThumbHit(const TPoint& P) { return InRect(TrackViewInfo()->HitThumbRect, P); }

void TcxCustomTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TcxCustomEdit::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  TcxCustomTrackBarViewInfo* vi = TrackViewInfo();
  if (ThumbHit({X, Y})) {
    vi->MouseFlags |= tbfDragging;
    if (Shift.Contains(ssCtrl)) {
      FSelecting = false;
      ActiveTrackProperties()->WriteSelection(0, 0);
    }
    RecalculateAtCursor(false);
    return;
  }
  TcxCustomTrackBarProperties* props = ActiveTrackProperties();
  const TRect& thumb = vi->HitThumbRect;
  const bool vertical = props->Orientation() == tboVertical;
  const Integer at = vertical ? Y : X;
  const Integer step = at < (vertical ? thumb.Top : thumb.Left) ? -1 : at >= (vertical ? thumb.Bottom : thumb.Right) ? 1 : 0;
  const Int64 v = props->ThumbStep() == cxtsJump ? PointToValue({X, Y}) : Int64{Position()} + step;
  const Integer next = props->ClampValue(static_cast<Integer>(std::clamp<Int64>(v, INT_MIN, INT_MAX)));
  if (next != Position()) SetPositionByUser(next);
}

void TcxCustomTrackBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TcxCustomEdit::MouseMove(Shift, X, Y);
  TcxCustomTrackBarViewInfo* vi = TrackViewInfo();
  if (!(vi->MouseFlags & tbfDragging) || !Shift.Contains(ssLeft)) {
    const Byte before = vi->MouseFlags;
    vi->MouseFlags = ThumbHit({X, Y}) ? (before | tbfHotThumb) : (before & ~tbfHotThumb);
    if (vi->MouseFlags != before) RecalculateAtCursor(false);
    return;
  }
  TcxCustomTrackBarProperties* props = ActiveTrackProperties();
  const TRect& thumb = vi->HitThumbRect;
  const bool vertical = props->Orientation() == tboVertical;
  const Integer size = vertical ? Height() : Width();
  if (size <= 0) return;
  const Integer centre = vertical ? thumb.Top + thumb.Height() / 2 : thumb.Left + thumb.Width() / 2;
  const double moved =
      std::nearbyint(static_cast<double>(Int64{props->Max()} - props->Min()) / size * ((vertical ? Y : X) - centre)) +
      Position();
  const Integer next = props->ClampValue(static_cast<Integer>(std::clamp<double>(moved, INT_MIN, INT_MAX)));
  if (next == Position()) return;
  if (Shift.Contains(ssShift) && FSelecting) ExtendSelection(next);
  SetPositionByUser(next);
}

void TcxCustomTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TcxCustomEdit::MouseUp(Button, Shift, X, Y);
  TcxCustomTrackBarViewInfo* vi = TrackViewInfo();
  const Byte before = vi->MouseFlags;
  vi->MouseFlags &= ~tbfDragging;
  vi->MouseFlags = ThumbHit({X, Y}) ? (vi->MouseFlags | tbfHotThumb) : (vi->MouseFlags & ~tbfHotThumb);
  if (vi->MouseFlags != before) RecalculateAtCursor(false);
  if (HandleAllocated() && win::GetCapture() == Handle()) win::ReleaseCapture();
}

void TcxCustomTrackBar::NotifyMouseEnter(TControl* AControl) {
  TcxCustomEdit::NotifyMouseEnter(AControl);
  TcxCustomTrackBarViewInfo* vi = TrackViewInfo();
  vi->MouseFlags |= tbfMouseOver;
  if ((vi->MouseFlags & tbfDragging) && win::GetAsyncKeyState(win::VK_LBUTTON) >= 0)
    vi->MouseFlags &= ~(tbfDragging | tbfHotThumb);
}

void TcxCustomTrackBar::NotifyMouseLeave(TControl* AControl) {
  TrackViewInfo()->MouseFlags &= ~(tbfMouseOver | tbfHotThumb);
  TcxCustomEdit::NotifyMouseLeave(AControl);
  RecalculateAtCursor(false);
}

void TcxCustomTrackBar::WndProc(TMessage& Message) {
  if (Message.Msg == win::WM_GETDLGCODE) {
    Message.Result = win::DLGC_WANTARROWS | (IsInplace() ? win::DLGC_WANTTAB : 0);
    return;
  }
  // Releasing the button never makes a click of it.
  if (Message.Msg == win::WM_LBUTTONUP) ControlState.Exclude(csClicked);
  TcxCustomEdit::WndProc(Message);
}

void TcxFilterTrackBarHelper::InitializeProperties(TcxCustomEditProperties* ADest, TcxCustomEditProperties* ASource,
                                                   bool AKeepButtons) const {
  const auto* source = dynamic_cast<TcxCustomTrackBarProperties*>(ASource);
  InitializeRangeProperties(ADest, ASource, AKeepButtons, source ? source->Min() : 0, source ? source->Max() : 0);
  if (auto* dest = dynamic_cast<TcxCustomSpinEditProperties*>(ADest); dest && source)
    dest->SetLargeIncrement(source->PageSize());
}

namespace {
Integer gTrackBarStarts = 0;
}  // namespace

void InitializeTrackBar() {
  if (gTrackBarStarts++ > 0) return;
  RegisterClasses({TcxTrackBarProperties::StaticClass(), TcxTrackBar::StaticClass()});
  GetRegisteredEditProperties()->Register(TcxTrackBarProperties::StaticClass(),
                                          TranslateResourceString(scxSEditRepositoryTrackBarItem));
  InitializeFilterEditsController();
  FilterEditsController()->Register(TcxTrackBarProperties::StaticClass(), TcxFilterTrackBarHelper::Class());
}

void FinalizeTrackBar() {
  if (gTrackBarStarts <= 0 || --gTrackBarStarts > 0) return;
  GetRegisteredEditProperties()->Unregister(TcxTrackBarProperties::StaticClass());
  if (TcxFilterEditsController* controller = FilterEditsController())
    controller->Unregister(TcxTrackBarProperties::StaticClass(), TcxFilterTrackBarHelper::Class());
}
