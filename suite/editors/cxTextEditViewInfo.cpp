#include "suite/editors/cxTextEditViewInfo.h"

#include <algorithm>

#include "platform/rtl/Utf8.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiText.h"
#include "suite/editors/cxEditPainting.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TcxCustomTextEditViewInfo, TcxCustomEditViewInfo)

namespace {

TRect Offset(const TRect& R, Integer DX, Integer DY) { return {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY}; }

TRect Inflated(const TRect& R, Integer D) { return {R.Left - D, R.Top - D, R.Right + D, R.Bottom + D}; }

}  // namespace

void TcxCustomTextEditViewInfo::OffsetBy(Integer DX, Integer DY) {
  TcxCustomEditViewInfo::OffsetBy(DX, DY);
  TextRect = Offset(TextRect, DX, DY);
  if (!RowsPrepared) return;
  RowsRect = Offset(RowsRect, DX, DY);
  for (TcxTextRow& row : Rows) {
    row.RowX += DX;
    row.RowY += DY;
  }
}

Integer TcxCustomTextEditViewInfo::TextPositionAtPoint(const TPoint& P) {
  if (Text.empty()) return 0;
  const bool inside = P.X >= TextRect.Left && P.X < TextRect.Right && P.Y >= TextRect.Top && P.Y < TextRect.Bottom;
  return inside ? 1 : 0;
}

void TcxCustomTextEditViewInfo::DrawTextEditRows(TcxCanvas* ACanvas, const std::string& AText) {
  HDC dc = ACanvas->Canvas->Handle();
  ACanvas->Canvas->RequiredState();
  if (!RowsPrepared) {
    TcxDCTextMeasurer measurer(dc);
    RowsParams = PrepareTextParams(measurer, TextFlags);
    RowsRect = TextRect;
    Rows.clear();
    RowsTruncated = false;
    if (RowsRect.Right > RowsRect.Left && RowsRect.Bottom > RowsRect.Top) {
      const bool whole = MakeTextRows(measurer, AText, RowsRect, RowsParams, Rows);
      if (MaxLineCount > 0 && static_cast<Integer>(Rows.size()) >= MaxLineCount) {
        const bool cut = static_cast<Integer>(Rows.size()) > MaxLineCount || !whole;
        Rows.resize(static_cast<size_t>(MaxLineCount));
        RowsTruncated = cut && RowsParams.EndEllipsis;
      }
      PlaceTextRows(RowsRect, RowsParams, Rows);
    }
    // The selection is clipped to the text.
    const auto length = static_cast<Integer>(Utf8CharCount(AText));
    if (SelStart < 0 || SelStart >= length) SelLength = 0;
    if (SelLength > 0 && SelStart + SelLength > length) SelLength = length - SelStart;
    RowsPrepared = true;
  }
  if (Rows.empty()) return;
  // The selection counts characters; the rows count bytes.
  Integer byteStart = 0, byteLength = 0;
  if (SelLength > 0) {
    byteStart = static_cast<Integer>(Utf8ByteOffset(AText, static_cast<size_t>(SelStart)));
    byteLength = static_cast<Integer>(Utf8ByteOffset(AText, static_cast<size_t>(SelStart + SelLength))) - byteStart;
  }
  HRGN saved = ClipToRectSaving(dc, TextRect);
  DrawTextRows(dc, AText, RowsRect, RowsParams, Rows, byteStart, byteLength, SelBackgroundColor, SelTextColor,
               RowsTruncated);
  RestoreSavedClip(dc, saved);
}

void TcxCustomTextEditViewInfo::DrawTextContent(TcxCanvas* ACanvas) {
  if (Text.empty()) return;
  if (Font) ACanvas->AssignFont(Font);
  ACanvas->Font()->SetColor(DrawTextAsSelected ? clHighlightText : TextColor);
  PrepareTextFont(ACanvas->Font());
  SetTextColor(ACanvas->Canvas->Handle(), ColorToRGB(ACanvas->Font()->GetColor()));
  DrawTextEditRows(ACanvas, Text);
}

void TcxCustomTextEditViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  const bool listStyle = EditingStyle == esListPick || EditingStyle == esNoText;
  const Integer buttonMode = !IsComboLike ? NativeContentByTheme
                             : listStyle  ? NativeContentInnerRect
                                          : NativeContentByMargins;
  DrawEditBackgroundAndButtons(ACanvas, this, !Transparent && !DrawTextAsSelected, buttonMode);

  TRect r = InnerControlRect;
  if (!IsInplace) {
    if ((!NativeDrawing || DrawTextAsSelected) && !Transparent && EditingStyle != esNoText) {
      ACanvas->Brush()->SetColor(FillColor);
      ACanvas->Canvas->FrameRect(r);
    }
    r = Inflated(r, -1);
  }
  if (CustomDraw) {
    CustomDraw(this, ACanvas, r);
  } else {
    if (DrawTextAsSelected) {
      ACanvas->Brush()->SetColor(clHighlight);
      ACanvas->Canvas->FillRect(r);
    }
    if (!InnerEditVisible) DrawTextContent(ACanvas);
  }
  if (InnerEditVisible || !Focused || IsInplace || PopupShown) return;
  if (DrawTextAsSelected) {
    ACanvas->Font()->SetColor(clHighlightText);
    ACanvas->Brush()->SetColor(clHighlight);
  } else {
    ACanvas->Font()->SetColor(clWindowText);
    ACanvas->Brush()->SetColor(FillColor);
  }
  ACanvas->Canvas->DrawFocusRect(r);
}
