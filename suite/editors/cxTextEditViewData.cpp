#include "suite/editors/cxTextEditViewData.h"

#include <algorithm>
#include <climits>

#include "platform/forms/Graphics.h"
#include "suite/editors/cxTextEditViewInfo.h"

VXN_IMPLEMENT_CLASS(TcxCustomTextEditViewData, TcxCustomEditViewData)

namespace {

constexpr TcxTextRowsFlags kVertAlignBits = TextRowsVertAlignMask;
constexpr Integer kUnboundedHeight = INT_MAX / 4;

TColor InverseColor(TColor AColor) { return static_cast<TColor>(ColorToRGB(AColor) ^ 0xFFFFFF); }

// The canvas with AFont selected into its device context, ready to measure.
win::HDC MeasuringDC(TcxCanvas* ACanvas, TFont* AFont) {
  if (AFont) ACanvas->AssignFont(AFont);
  ACanvas->Canvas->Handle();
  ACanvas->Canvas->RequiredState();
  return ACanvas->DeviceContext();
}

Integer LineHeight(TcxCanvas* ACanvas, TFont* AFont) {
  if (AFont) ACanvas->AssignFont(AFont);
  return ACanvas->MeasureTextHeight("Zg");
}

// The rows AText breaks into inside AWidth with AFlags.
Integer CountRows(TcxCanvas* ACanvas, TFont* AFont, const std::string& AText, Integer AWidth, TcxTextRowsFlags AFlags,
                  TcxTextRows& ARows) {
  ARows.clear();
  if (AText.empty()) return 0;
  TcxDCTextMeasurer measurer(MeasuringDC(ACanvas, AFont));
  const TcxTextParams params = PrepareTextParams(measurer, AFlags);
  MakeTextRows(measurer, AText, TRect{0, 0, AWidth, kUnboundedHeight}, params, ARows);
  return static_cast<Integer>(ARows.size());
}

bool IsListStyle(TcxEditingStyle AStyle) { return AStyle == esListPick || AStyle == esNoText; }

}  // namespace

TcxCustomTextEditProperties* TcxCustomTextEditViewData::TextProperties() const {
  return dynamic_cast<TcxCustomTextEditProperties*>(Properties);
}

void TcxCustomTextEditViewData::InitializeFromProperties() {
  TcxCustomEditViewData::InitializeFromProperties();
  ProviderFormatsValues = Properties->IsProviderDisplayFormatApplicable();
}

bool TcxCustomTextEditViewData::InnerEditVisible() { return Edit && Edit->InnerEditVisible(); }

TcxTextRowsFlags TcxCustomTextEditViewData::DrawTextFlags() {
  TcxTextRowsFlags flags = cxTextEditDefaultFlags;
  if (HorzAlignment == taRightJustify) flags |= TextRowsAlignRight;
  if (HorzAlignment == taCenter) flags |= TextRowsAlignCenter;
  if (VertAlignment == taBottomJustify) flags |= TextRowsVAlignBottom;
  if (VertAlignment == taVCenter) flags |= TextRowsVAlignCenter;
  return flags;
}

void TcxCustomTextEditViewData::TextBounds(TRect& AMargins) {
  AMargins = ContentParams.Offsets;
  if (IsInplace || !TextProperties() || !IsListStyle(TextProperties()->EditingStyle())) return;
  // The list styles draw their text where the inner edit would show it.
  AMargins.Left += 1;
  if (VertAlignment == taTopJustify) {
    AMargins.Top += 1;
    AMargins.Bottom -= 1;
  }
}

void TcxCustomTextEditViewData::PrepareDisplayText(const Variant& AValue, TcxCustomTextEditViewInfo* AViewInfo) {
  std::string text = VarToStr(AValue);
  if (TextProperties()) TextProperties()->ApplyEchoAndCase(text);
  AViewInfo->Text = text;
}

void TcxCustomTextEditViewData::EditValueToDisplayText(const Variant& AValue, std::string& AText) {
  TcxCustomTextEditProperties* properties = TextProperties();
  std::string text;
  try {
    if (ProviderFormatsValues || !properties) {
      text = VarToStr(AValue);
    } else {
      Variant shown;
      properties->PrepareDisplayValue(AValue, shown, FocusState());
      text = VarToStr(shown);
    }
  } catch (const Exception&) {
    // A value the kind cannot show is drawn as an empty text.
    text.clear();
  }
  if (properties) properties->ApplyEchoAndCase(text);
  AText = text;
}

void TcxCustomTextEditViewData::ContentExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, TRect& R) {
  TcxCustomEditViewData::ContentExtent(ACanvas, AViewInfo, R);
  if (!IsInplace && IsComboLike() && NativeStyle) R.Right += 1;
}

void TcxCustomTextEditViewData::CalculateEditSize(TcxCanvas* ACanvas, const Variant& AValue,
                                                  const TcxEditSizeLimits& ALimits, TSize& ASize) {
  TcxCustomEditViewData::CalculateEditSize(ACanvas, AValue, ALimits, ASize);
  std::string text;
  ValueDisplayText(AValue, text);
  TSize textSize{};
  CalculateEditTextSize(ACanvas, this, text, textSize, true, 0, ALimits, DrawTextFlags());
  ASize.cx = std::max(ASize.cx, textSize.cx);
  ASize.cy = std::max(ASize.cy, textSize.cy);
}

void TcxCustomTextEditViewData::ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                              Integer AButton, TShiftState AShift, TcxCustomEditViewInfo* AViewInfo,
                                              bool AIsMouseEvent) {
  TcxCustomEditViewData::ComputeLayout(ACanvas, ABounds, P, AButton, AShift, AViewInfo, AIsMouseEvent);
  auto* vi = static_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  vi->DrawTextAsSelected = false;
  vi->EditingStyle = TextProperties() ? TextProperties()->EditingStyle() : esFreeText;
  vi->InnerEditVisible = InnerEditVisible();
  TcxContainer* edit = EditControl();
  vi->PopupShown = edit && edit->IsPopupShown();

  TRect margins;
  TextBounds(margins);
  const TRect& client = vi->InnerControlRect;
  vi->TextRect = TRect{client.Left + margins.Left, client.Top + margins.Top, client.Right - margins.Right,
                       client.Bottom - margins.Bottom};
  if (!IsInplace) {
    // At least one text line high, but never below the client area.
    const Integer lineHeight = LineHeight(ACanvas, vi->Font);
    if (vi->TextRect.Height() < lineHeight)
      vi->TextRect.Bottom = std::min(vi->TextRect.Top + lineHeight, client.Bottom);
  }
  vi->MaxLineCount = MaxLineCount();
  vi->RowsPrepared = false;
  CalculateTextFlags(ACanvas, vi);
}

void TcxCustomTextEditViewData::CalculateDisplayText(TcxCanvas* ACanvas, const Variant& AValue,
                                                     TcxCustomEditViewInfo* AViewInfo) {
  (void)ACanvas;
  auto* vi = static_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  vi->Text.clear();
  if (!HideValue) ValueDisplayText(AValue, vi->Text);
  vi->SelStart = SelStart;
  vi->SelLength = SelLength;
  if (SelLength == 0) return;
  const bool backgroundSet = SelBackgroundColor != clDefault;
  const bool textSet = SelTextColor != clDefault;
  if (!backgroundSet && textSet) {
    vi->SelTextColor = SelTextColor;
    vi->SelBackgroundColor = InverseColor(SelTextColor);
  } else if (!backgroundSet) {
    // The highlight colour would vanish on a highlighted editor.
    const bool highlighted = Style && Style->Color() == clHighlight;
    vi->SelBackgroundColor = highlighted ? TColor(0) : clHighlight;
    vi->SelTextColor = highlighted ? TColor(0xFFFFFF) : clHighlightText;
  } else {
    vi->SelBackgroundColor = SelBackgroundColor;
    vi->SelTextColor = textSet ? SelTextColor : InverseColor(SelBackgroundColor);
  }
}

void TcxCustomTextEditViewData::CalculateTextFlags(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo) {
  TcxCustomTextEditProperties* properties = TextProperties();
  if (properties && !properties->IsMultiLine() && (properties->SupportedOperations() & 2) &&
      (PaintOptions & cxepoAutoHeight))
    DecideWordWrap(ACanvas, AViewInfo);
  else
    AViewInfo->TextFlags = DrawTextFlags();
  if (PaintOptions & cxepoShowEndEllipsis) AViewInfo->TextFlags |= TextRowsEndEllipsis;
  AViewInfo->IsComboLike = IsComboLike();
}

void TcxCustomTextEditViewData::DecideWordWrap(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo) {
  TFont* font = Style ? Style->Font() : nullptr;
  if (!font) return;
  AViewInfo->TextFlags = DrawTextFlags();
  if (!(PaintOptions & cxepoAutoHeight)) return;
  TRect margins;
  TextBounds(margins);
  const TRect& offsets = ContentParams.Offsets;
  Integer width = AViewInfo->TextRect.Width() + margins.Left + margins.Right - offsets.Left - offsets.Right;
  if (HorzAlignment == taRightJustify) ++width;
  const TcxTextRowsFlags wrapFlags =
      (DrawTextFlags() & ~TextRowsSingleLine) | TextRowsWordBreak | TextRowsReturnRowCount | TextRowsWholeRowsOnly;
  TcxTextRows rows;
  const Integer count = CountRows(ACanvas, font, AViewInfo->Text, width, wrapFlags, rows);
  if (count <= 1) return;
  AViewInfo->TextFlags = (AViewInfo->TextFlags & ~TextRowsSingleLine) | TextRowsWholeRowsOnly | TextRowsWordBreak;
  if (count * LineHeight(ACanvas, font) > AViewInfo->TextRect.Height())
    AViewInfo->TextFlags &= ~(kVertAlignBits | TextRowsSingleLine);
}

// --- measuring a text ---------------------------------------------------------------------

void CalculateEditTextSize(TcxCanvas* ACanvas, TcxCustomEditViewData* AViewData, const std::string& AText,
                           TSize& ASize, bool AAddHorzOffsets, Integer ARowLimit, const TcxEditSizeLimits& ALimits,
                           TcxTextRowsFlags AFlags) {
  TFont* font = AViewData->Style ? AViewData->Style->Font() : nullptr;
  const Integer lineHeight = LineHeight(ACanvas, font);
  TSize offsets{};
  AViewData->TotalContentOffsets(offsets);
  auto* textViewData = dynamic_cast<TcxCustomTextEditViewData*>(AViewData);
  const bool listTweak = textViewData && !AViewData->IsInplace && textViewData->TextProperties() &&
                         IsListStyle(textViewData->TextProperties()->EditingStyle()) &&
                         !(textViewData->IsComboLike() && AViewData->NativeStyle);
  const bool zeroHeight = textViewData && textViewData->ZeroHeightWhenEmpty;
  TcxTextRows rows;
  ASize = {0, 0};
  if (ALimits.Width < 0) {
    if (AFlags & TextRowsSingleLine) {
      ASize.cy = lineHeight;
      if (!AText.empty()) {
        if (font) ACanvas->AssignFont(font);
        ASize.cx = ACanvas->MeasureTextWidth(AText);
      }
    } else {
      Integer count = CountRows(ACanvas, font, AText, kUnboundedHeight, AFlags | TextRowsMeasureOnly, rows);
      if (ARowLimit > 0)
        count = std::min(count, ARowLimit);
      else if (ALimits.MaxRows > 0)
        count = std::min(count, ALimits.MaxRows);
      ASize.cx = count > 0 ? MaxTextRowWidth(rows, count) : 0;
      ASize.cy = lineHeight * (ARowLimit > 0 ? ARowLimit : 1);
    }
    if (listTweak) ASize.cx += 1;
    if (AAddHorzOffsets) ASize.cx += offsets.cx;
  } else if (ARowLimit > 0) {
    ASize = {ALimits.Width, lineHeight * ARowLimit};
  } else {
    Integer w = ALimits.Width;
    if (AViewData->IsInplace) w -= 2;
    if (listTweak) w -= 1;
    bool oneLine = true;
    if (w > 0) {
      ASize.cx = ALimits.Width;
      if (!AText.empty()) {
        const TcxTextRowsFlags wrapFlags = ((AFlags | TextRowsReturnRowCount) & ~(TextRowsSingleLine | kVertAlignBits)) |
                                           TextRowsWordBreak | TextRowsWholeRowsOnly;
        Integer count = CountRows(ACanvas, font, AText, w, wrapFlags, rows);
        if (ALimits.MaxRows > 0) count = std::min(count, ALimits.MaxRows);
        ASize.cy = lineHeight * count;
        oneLine = false;
      }
    }
    if (oneLine) ASize.cy = zeroHeight && AText.empty() ? 0 : lineHeight;
  }
  if (ASize.cy > 0) ASize.cy += offsets.cy;
}
