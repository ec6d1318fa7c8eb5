#include "suite/editors/cxTextRows.h"

#include <algorithm>

#include "platform/rtl/Utf8.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiFonts.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/WinUser.h"

using namespace win;

namespace {

constexpr const char* kEllipsis = "...";

Integer CharLength(const std::string& s, Integer pos) {
  return std::max<Integer>(1, static_cast<Integer>(Utf8CharLength(s, static_cast<size_t>(pos))));
}

char32_t CharAt(const std::string& s, Integer pos) {
  size_t p = static_cast<size_t>(pos);
  return Utf8Decode(s, p);
}

struct RowBreak {
  Integer length = 0;
  Integer breakCount = 0;
  Integer next = 0;  // where the following row starts
};

bool IsJustified(const TcxTextParams& P) { return P.HorzAlign == 3 || P.HorzAlign == 4; }

// One row from Pos with Remaining bytes left.
RowBreak BreakRow(TcxTextMeasurer& M, const std::string& T, Integer Pos, Integer Remaining, Integer Width,
                  bool IsLast, const TcxTextParams& P) {
  RowBreak r;
  if (Remaining <= 0) {
    r.next = Pos;
    return r;
  }
  const bool ellipsisRow = IsLast && P.EndEllipsis && !P.WholeRowsOnly && !P.NoClip && !IsJustified(P);
  const bool measures = P.WordWrap() && !ellipsisRow && !P.SingleLine;
  Integer i = 0, widthSoFar = 0, lastBreak = -1, breaksAtLastBreak = 0;
  bool endedAtLineEnd = false;
  r.length = Remaining;
  while (i < Remaining) {
    const Integer at = Pos + i;
    const char32_t c = CharAt(T, at);
    const Integer len = std::min(CharLength(T, at), Remaining - i);
    if (c == P.BreakChar || c == U'\t') {
      ++r.breakCount;
      lastBreak = i + len;
      breaksAtLastBreak = r.breakCount;
    }
    if ((c == U'\r' || c == U'\n') && !ellipsisRow && !P.SingleLine) {
      r.length = i;
      endedAtLineEnd = true;
      if (P.HorzAlign == 3) r.breakCount = 0;
      break;
    }
    if (!measures) {
      i += len;
      continue;
    }
    Integer width;
    if (P.ExpandTabs) {
      width = M.MeasureTextRun(T.data() + Pos, i + len, true).cx;
    } else {
      widthSoFar += M.MeasureTextRun(T.data() + at, len, false).cx;
      width = widthSoFar;
    }
    if (width <= Width) {
      i += len;
      continue;
    }
    if (lastBreak >= 0) {
      r.length = lastBreak;
      r.breakCount = breaksAtLastBreak;
      break;
    }
    if (P.BreakInWords) {
      // The overflowing character starts the next row; a row keeps at least
      // its first character.
      r.length = i > 0 ? i : len;
      break;
    }
    i += len;  // the word stays whole: the row ends at the next break
  }
  if (IsJustified(P)) {
    while (r.length > 0) {
      const char last = T[static_cast<size_t>(Pos + r.length - 1)];
      if (static_cast<char32_t>(static_cast<unsigned char>(last)) != P.BreakChar && last != '\t') break;
      --r.length;
      if (r.breakCount > 0) --r.breakCount;
    }
  }
  Integer next = Pos + r.length;
  const Integer end = static_cast<Integer>(T.size());
  while (next < end && CharAt(T, next) == P.BreakChar && P.BreakChar != U'\r') next += CharLength(T, next);
  if (next < end && T[static_cast<size_t>(next)] == '\t') ++next;
  const bool atCR = next < end && T[static_cast<size_t>(next)] == '\r';
  if (atCR) ++next;
  if (next < end && T[static_cast<size_t>(next)] == '\n') ++next;
  if (P.HorzAlign == 3 && (atCR || endedAtLineEnd || next >= end)) r.breakCount = 0;
  r.next = next;
  return r;
}

}  // namespace

// ---------------------------------------------------------------------------

void TcxDCTextMeasurer::GetMetrics(Integer& Height, Integer& ExternalLeading, char32_t& BreakChar) {
  TEXTMETRIC tm;
  GetTextMetrics(DC, &tm);
  Height = tm.tmHeight;
  ExternalLeading = tm.tmExternalLeading;
  BreakChar = static_cast<char32_t>(tm.tmBreakChar);
}

TSize TcxDCTextMeasurer::MeasureTextRun(const char* Text, Integer Length, bool ExpandTabs) {
  return ::MeasureTextRun(DC, Text, Length, ExpandTabs);
}

Integer TcxDCTextMeasurer::FitCount(const char* Text, Integer Length, Integer MaxExtent) {
  INT fit = 0;
  SIZE size{};
  GetTextExtentExPoint(DC, Text, Length, MaxExtent, &fit, nullptr, &size);
  return fit;
}

TSize MeasureTextRun(HDC ADC, const char* AText, Integer ALength, bool AExpandTabs) {
  if (AExpandTabs) {
    const DWORD extent = GetTabbedTextExtent(ADC, AText, ALength, 0, nullptr);
    return {static_cast<Integer>(LOWORD(extent)), static_cast<Integer>(HIWORD(extent))};
  }
  SIZE size{};
  GetTextExtentPoint32(ADC, AText, ALength, &size);
  return {size.cx, size.cy};
}

TcxTextParams PrepareTextParams(TcxTextMeasurer& AMeasurer, TcxTextRowsFlags AFlags) {
  TcxTextParams p;
  Integer externalLeading = 0;
  AMeasurer.GetMetrics(p.TextHeight, externalLeading, p.BreakChar);
  p.ExternalLeading = (AFlags & TextRowsExternalLeading) ? externalLeading : 0;
  p.RowStep = p.TextHeight + p.ExternalLeading;
  p.EllipsisWidth = (AFlags & TextRowsEndEllipsis) ? AMeasurer.MeasureTextRun(kEllipsis, 3, false).cx : 0;
  p.HorzAlign = static_cast<Integer>(AFlags & TextRowsHorzAlignMask);
  p.VertAlign = static_cast<Integer>((AFlags & TextRowsVertAlignMask) >> 4);
  p.NotLeftOfRect = AFlags & TextRowsNotLeftOfRect;
  p.NotAboveRect = AFlags & TextRowsNotAboveRect;
  p.WordBreak = AFlags & TextRowsWordBreak;
  p.SingleLine = AFlags & TextRowsSingleLine;
  p.ExpandTabs = AFlags & TextRowsExpandTabs;
  p.EndEllipsis = AFlags & TextRowsEndEllipsis;
  p.WholeRowsOnly = AFlags & TextRowsWholeRowsOnly;
  p.NoClip = AFlags & TextRowsNoClip;
  p.BreakInWords = AFlags & TextRowsBreakInWords;
  p.MeasureOnly = AFlags & TextRowsMeasureOnly;
  return p;
}

TcxTextParams PrepareTextParams(HDC ADC, TcxTextRowsFlags AFlags) {
  TcxDCTextMeasurer measurer(ADC);
  return PrepareTextParams(measurer, AFlags);
}

bool MakeTextRows(TcxTextMeasurer& AMeasurer, const std::string& AText, const TRect& R, const TcxTextParams& AParams,
                  TcxTextRows& ARows, Integer AMaxRows) {
  ARows.clear();
  if (AText.empty()) return true;
  const Integer length = static_cast<Integer>(AText.size());
  if (AParams.MeasureOnly && AParams.SingleLine) {
    TcxTextRow row;
    row.RowLength = length;
    const TSize size = AMeasurer.MeasureTextRun(AText.data(), length, AParams.ExpandTabs);
    row.RowWidth = size.cx;
    row.RowHeight = size.cy;
    ARows.push_back(row);
    return true;
  }
  const Integer height = R.Bottom - R.Top, width = R.Right - R.Left;
  Integer pos = 0;
  bool last = false;
  while (pos < length && !last) {
    const Integer n = static_cast<Integer>(ARows.size()) + 1;
    const Integer accumulated = n * AParams.RowStep;
    if (AParams.SingleLine)
      last = true;
    else if (AParams.VertAlign != 0 || AParams.MeasureOnly)
      last = AMaxRows > 0 && n >= AMaxRows;
    else if (AParams.WholeRowsOnly && !AParams.NoClip)
      last = accumulated + AParams.RowStep > height;
    else
      last = accumulated > height;
    if (ARows.capacity() == ARows.size()) ARows.reserve(ARows.size() + 4);
    const RowBreak b = BreakRow(AMeasurer, AText, pos, length - pos, width, last, AParams);
    TcxTextRow row;
    row.RowText = pos;
    row.RowOffset = pos;
    row.RowLength = b.length;
    row.BreakCount = b.breakCount;
    const TSize size = AMeasurer.MeasureTextRun(AText.data() + pos, b.length, AParams.ExpandTabs);
    row.RowWidth = size.cx;
    row.RowHeight = size.cy;
    ARows.push_back(row);
    pos = std::max(b.next, pos + 1);
  }
  return AParams.SingleLine || AParams.MeasureOnly || AMaxRows <= 0 ||
         static_cast<Integer>(ARows.size()) < AMaxRows || pos >= length;
}

void PlaceTextRows(const TRect& R, const TcxTextParams& AParams, TcxTextRows& ARows) {
  const Integer count = static_cast<Integer>(ARows.size());
  if (count == 0) return;
  const Integer height = R.Bottom - R.Top, width = R.Right - R.Left;
  Integer step = AParams.RowStep, remainder = 0;
  if (AParams.VertAlign == 3 && count > 1) {
    const Integer spread = height - AParams.TextHeight;
    if (AParams.TextHeight < spread / (count - 1)) {
      step = spread / (count - 1);
      remainder = spread % (count - 1);
    }
  }
  Integer y;
  switch (AParams.VertAlign) {
    case 1: y = R.Top + (height - count * AParams.RowStep) / 2; break;
    case 2: y = R.Bottom - count * AParams.RowStep + AParams.ExternalLeading; break;
    default: y = R.Top; break;
  }
  if (AParams.NotAboveRect) y = std::max(y, R.Top);
  for (TcxTextRow& row : ARows) {
    switch (AParams.HorzAlign) {
      case 1: row.RowX = R.Left + (width - row.RowWidth) / 2; break;
      case 2: row.RowX = R.Right - row.RowWidth; break;
      default: row.RowX = R.Left; break;
    }
    if (AParams.NotLeftOfRect) row.RowX = std::max(row.RowX, R.Left);
    row.RowY = y;
    y += step;
    if (remainder > 0) {
      ++y;
      --remainder;
    }
  }
}

Integer MaxTextRowWidth(const TcxTextRows& ARows, Integer ACount) {
  const Integer count = std::min<Integer>(ACount, static_cast<Integer>(ARows.size()));
  Integer widest = 0;
  for (Integer i = 0; i < count; ++i) widest = std::max(widest, ARows[static_cast<size_t>(i)].RowWidth);
  return widest;
}

HRGN ClipToRectSaving(HDC ADC, const TRect& R) {
  HRGN saved = CreateRectRgn(0, 0, 0, 0);
  if (GetClipRgn(ADC, saved) != 1) {
    DeleteObject(saved);
    saved = nullptr;
  }
  IntersectClipRect(ADC, R.Left, R.Top, R.Right, R.Bottom);
  return saved;
}

void RestoreSavedClip(HDC ADC, HRGN ASaved) {
  SelectClipRgn(ADC, ASaved);
  if (ASaved) DeleteObject(ASaved);
}

namespace {

void OutRow(HDC DC, const TcxTextParams& P, Integer X, Integer Y, const char* Text, Integer Length) {
  if (P.ExpandTabs)
    TabbedTextOut(DC, X, Y, Text, Length, 0, nullptr, X);
  else
    TextOut(DC, X, Y, Text, Length);
}

void DrawEllipsis(HDC DC, const TRect& R, const TcxTextParams& P, Integer X, Integer Y) {
  if (X >= R.Right) return;
  const RECT clip{R.Left, R.Top, R.Right, R.Bottom};
  const UINT options = !P.NoClip && X + P.EllipsisWidth > R.Right ? ETO_CLIPPED : 0;
  ExtTextOut(DC, X, Y, options, &clip, kEllipsis, 3, nullptr);
}

}  // namespace

void DrawTextRows(HDC ADC, const std::string& AText, const TRect& R, const TcxTextParams& AParams,
                  const TcxTextRows& ARows, Integer ASelStart, Integer ASelLength, TColor ASelBkColor,
                  TColor ASelTextColor, bool ATruncated) {
  const int oldMode = SetBkMode(ADC, TRANSPARENT);
  HBRUSH selectionBrush = ASelLength > 0 ? CreateSolidBrush(ColorToRGB(ASelBkColor)) : nullptr;
  TcxDCTextMeasurer measurer(ADC);
  const Integer width = R.Right - R.Left;
  const Integer count = static_cast<Integer>(ARows.size());
  for (Integer i = 0; i < count; ++i) {
    const TcxTextRow& row = ARows[static_cast<size_t>(i)];
    const bool lastRow = i == count - 1;
    if (row.RowLength == 0) {
      if (lastRow && ATruncated && AParams.EndEllipsis) DrawEllipsis(ADC, R, AParams, row.RowX, row.RowY);
      continue;
    }
    const TRect band{R.Left, row.RowY, R.Right, row.RowY + AParams.RowStep};
    const bool ellipsisRow = AParams.EndEllipsis && lastRow && (ATruncated || row.RowWidth > width);
    const bool justify =
        IsJustified(AParams) && !ellipsisRow && row.RowWidth < width && row.BreakCount > 0;
    if (justify) SetTextJustification(ADC, width - row.RowWidth, row.BreakCount);
    HRGN savedClip = nullptr;
    const bool clipped =
        !AParams.NoClip && (row.RowWidth > width || band.Top < R.Top || band.Bottom > R.Bottom);
    if (clipped)
      savedClip = ClipToRectSaving(ADC, {R.Left, std::max(R.Top, band.Top), R.Right, std::min(R.Bottom, band.Bottom)});
    const char* text = AText.data() + row.RowText;
    Integer length = row.RowLength;
    Integer rowWidth = row.RowWidth;
    if (ellipsisRow) {
      const Integer fit = measurer.FitCount(text, length, std::max<Integer>(0, width - AParams.EllipsisWidth));
      length = std::max(fit, CharLength(AText, row.RowText));
      length = std::min(length, row.RowLength);
      rowWidth = measurer.MeasureTextRun(text, length, AParams.ExpandTabs).cx;
    }
    OutRow(ADC, AParams, row.RowX, row.RowY, text, length);

    const Integer selFrom = std::max(ASelStart, row.RowOffset);
    const Integer selTo = std::min(ASelStart + ASelLength, row.RowOffset + length);
    if (ASelLength > 0 && selFrom < selTo) {
      const Integer x1 = row.RowX + measurer.MeasureTextRun(text, selFrom - row.RowOffset, AParams.ExpandTabs).cx;
      const Integer x2 = row.RowX + measurer.MeasureTextRun(text, selTo - row.RowOffset, AParams.ExpandTabs).cx;
      const TRect selection{x1, band.Top, x2, band.Bottom};
      HRGN beforeSelection = ClipToRectSaving(ADC, selection);
      const RECT s{selection.Left, selection.Top, selection.Right, selection.Bottom};
      FillRect(ADC, &s, selectionBrush);
      const COLORREF oldColor = SetTextColor(ADC, ColorToRGB(ASelTextColor));
      OutRow(ADC, AParams, row.RowX, row.RowY, text, length);
      SetTextColor(ADC, oldColor);
      RestoreSavedClip(ADC, beforeSelection);
    }
    if (ellipsisRow) DrawEllipsis(ADC, R, AParams, row.RowX + rowWidth, row.RowY);
    if (justify) SetTextJustification(ADC, 0, 0);
    if (clipped) RestoreSavedClip(ADC, savedClip);
  }
  if (selectionBrush) DeleteObject(selectionBrush);
  SetBkMode(ADC, oldMode);
}

Integer DrawMultiRowText(HDC ADC, const std::string& AText, TRect& R, TcxTextRowsFlags AFlags, Integer ASelStart,
                         Integer ASelLength, TColor ASelBkColor, TColor ASelTextColor, Integer AMaxRows,
                         Integer ALeftIndent, Integer ARightIndent) {
  if (AText.empty()) return 0;
  TcxDCTextMeasurer measurer(ADC);
  const TcxTextParams params = PrepareTextParams(measurer, AFlags);
  TRect work{R.Left + ALeftIndent, R.Top, R.Right - ARightIndent, R.Bottom};
  if (params.MeasureOnly ? work.Right - work.Left <= 0 : (work.Right <= work.Left || work.Bottom <= work.Top)) return 0;
  TcxTextRows rows;
  const bool whole = MakeTextRows(measurer, AText, work, params, rows, AMaxRows);
  if (rows.empty()) return 0;
  auto cutToMax = [&] {
    if (AMaxRows > 0 && static_cast<Integer>(rows.size()) > AMaxRows) rows.resize(static_cast<size_t>(AMaxRows));
  };
  if (params.MeasureOnly) {
    cutToMax();
    work.Right = work.Left + MaxTextRowWidth(rows, static_cast<Integer>(rows.size()));
    if (!params.SingleLine) {
      MakeTextRows(measurer, AText, work, params, rows, AMaxRows);
      cutToMax();
    }
    PlaceTextRows(work, params, rows);
    work.Bottom = rows.back().RowY + params.TextHeight;
    R = {work.Left - ALeftIndent, work.Top, work.Right + ARightIndent, work.Bottom};
  } else {
    bool truncated = false;
    if (AMaxRows > 0 && static_cast<Integer>(rows.size()) >= AMaxRows) {
      cutToMax();
      truncated = !whole && params.EndEllipsis && params.WholeRowsOnly && !params.SingleLine;
    }
    const Integer length = static_cast<Integer>(AText.size());
    if (ASelStart < 0 || ASelStart >= length) ASelLength = 0;
    if (ASelLength > 0 && ASelStart + ASelLength > length) ASelLength = length - ASelStart;
    PlaceTextRows(work, params, rows);
    DrawTextRows(ADC, AText, work, params, rows, ASelStart, ASelLength, ASelBkColor, ASelTextColor, truncated);
  }
  const Integer used = rows.back().RowY + params.TextHeight - work.Top;
  if ((AFlags & TextRowsReturnRowCount) || used == 0) return static_cast<Integer>(rows.size());
  return used;
}

Integer DrawMultiRowTextOnCanvas(TCanvas* ACanvas, const std::string& AText, TRect& R, TcxTextRowsFlags AFlags,
                                 Integer ASelStart, Integer ASelLength, TColor ASelBkColor, TColor ASelTextColor,
                                 Integer AMaxRows, Integer ALeftIndent, Integer ARightIndent) {
  ACanvas->Handle();
  ACanvas->RequiredState();
  return DrawMultiRowText(ACanvas->Handle(), AText, R, AFlags, ASelStart, ASelLength, ASelBkColor, ASelTextColor,
                          AMaxRows, ALeftIndent, ARightIndent);
}

Integer DrawEditTextOnCanvas(TCanvas* ACanvas, const std::string& AText, TRect& R, TcxTextRowsFlags AFlags,
                             Integer AMaxRows, Integer ALeftIndent, Integer ARightIndent) {
  HDC dc = ACanvas->Handle();
  ACanvas->RequiredState();
  SetTextColor(dc, ColorToRGB(ACanvas->Font()->GetColor()));
  return DrawMultiRowText(dc, AText, R, AFlags, 0, 0, clHighlight, clHighlightText, AMaxRows, ALeftIndent,
                          ARightIndent);
}
