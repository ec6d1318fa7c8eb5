// Multi-row text: a text broken into rows inside a rectangle (word wrap,
// single line, tabs, end ellipsis), the rows placed by horizontal and
// vertical alignment (two justified modes and a vertical spread), and drawn
// with an optional selected range in its own colours. The text editor's
// view takes the steps one by one; other painters call DrawMultiRowText.
//
// Texts are UTF-8; positions and lengths count bytes, and a row never ends
// inside a character.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/forms/Graphics.h"
#include "platform/win/WinTypes.h"

// Layout flags; bits not listed are ignored.
using TcxTextRowsFlags = uint32_t;
inline constexpr TcxTextRowsFlags TextRowsHorzAlignMask = 0x7;
inline constexpr TcxTextRowsFlags TextRowsAlignLeft = 0;
inline constexpr TcxTextRowsFlags TextRowsAlignCenter = 1;
inline constexpr TcxTextRowsFlags TextRowsAlignRight = 2;
// Justified, the last row of a paragraph left as it is.
inline constexpr TcxTextRowsFlags TextRowsJustifyParagraphs = 3;
// Justified, every row.
inline constexpr TcxTextRowsFlags TextRowsJustifyAll = 4;
inline constexpr TcxTextRowsFlags TextRowsVertAlignMask = 0x30;
inline constexpr TcxTextRowsFlags TextRowsVAlignTop = 0x00;
inline constexpr TcxTextRowsFlags TextRowsVAlignCenter = 0x10;
inline constexpr TcxTextRowsFlags TextRowsVAlignBottom = 0x20;
// Rows spread over the height.
inline constexpr TcxTextRowsFlags TextRowsVAlignSpread = 0x30;
inline constexpr TcxTextRowsFlags TextRowsNotLeftOfRect = 0x40;
inline constexpr TcxTextRowsFlags TextRowsNotAboveRect = 0x80;
inline constexpr TcxTextRowsFlags TextRowsWordBreak = 0x100;
inline constexpr TcxTextRowsFlags TextRowsSingleLine = 0x200;
inline constexpr TcxTextRowsFlags TextRowsExpandTabs = 0x400;
inline constexpr TcxTextRowsFlags TextRowsEndEllipsis = 0x800;
inline constexpr TcxTextRowsFlags TextRowsExternalLeading = 0x2000;
inline constexpr TcxTextRowsFlags TextRowsWholeRowsOnly = 0x4000;
inline constexpr TcxTextRowsFlags TextRowsNoClip = 0x8000;
inline constexpr TcxTextRowsFlags TextRowsBreakInWords = 0x20000;
inline constexpr TcxTextRowsFlags TextRowsMeasureOnly = 0x100000;
inline constexpr TcxTextRowsFlags TextRowsReturnRowCount = 0x200000;

struct TcxTextRow {
  Integer RowText = 0;    // byte position of the row's first character
  Integer RowLength = 0;  // bytes in the row
  Integer RowWidth = 0;
  Integer RowHeight = 0;
  Integer BreakCount = 0;
  Integer RowX = 0;
  Integer RowY = 0;
  Integer RowOffset = 0;  // index of the first character in the whole text
};
using TcxTextRows = std::vector<TcxTextRow>;

// What the layout measures with: a device context's current font, or a
// stand-in (tests measure with a fixed width per character).
class TcxTextMeasurer {
 public:
  virtual ~TcxTextMeasurer() = default;
  virtual void GetMetrics(Integer& Height, Integer& ExternalLeading, char32_t& BreakChar) = 0;
  virtual TSize MeasureTextRun(const char* Text, Integer Length, bool ExpandTabs) = 0;
  // Bytes of the whole characters that fit in MaxExtent.
  virtual Integer FitCount(const char* Text, Integer Length, Integer MaxExtent) = 0;
};

class TcxDCTextMeasurer : public TcxTextMeasurer {
 public:
  explicit TcxDCTextMeasurer(win::HDC ADC) : DC(ADC) {}
  void GetMetrics(Integer& Height, Integer& ExternalLeading, char32_t& BreakChar) override;
  // GetTabbedTextExtent without tab stops, or GetTextExtentPoint32.
  TSize MeasureTextRun(const char* Text, Integer Length, bool ExpandTabs) override;
  Integer FitCount(const char* Text, Integer Length, Integer MaxExtent) override;
  win::HDC DC;
};

struct TcxTextParams {
  Integer TextHeight = 0;
  Integer ExternalLeading = 0;
  Integer RowStep = 0;
  Integer EllipsisWidth = 0;
  char32_t BreakChar = U' ';
  Integer HorzAlign = 0;
  Integer VertAlign = 0;
  bool NotLeftOfRect = false;
  bool NotAboveRect = false;
  bool WordBreak = false;
  bool SingleLine = false;
  bool ExpandTabs = false;
  bool EndEllipsis = false;
  bool WholeRowsOnly = false;
  bool NoClip = false;
  bool BreakInWords = false;
  bool MeasureOnly = false;
  bool WordWrap() const { return !SingleLine && (WordBreak || HorzAlign == 3 || HorzAlign == 4); }
};

TcxTextParams PrepareTextParams(TcxTextMeasurer& AMeasurer, TcxTextRowsFlags AFlags);
TcxTextParams PrepareTextParams(win::HDC ADC, TcxTextRowsFlags AFlags);
TSize MeasureTextRun(win::HDC ADC, const char* AText, Integer ALength, bool AExpandTabs);

// True when the whole text was placed.
bool MakeTextRows(TcxTextMeasurer& AMeasurer, const std::string& AText, const TRect& R, const TcxTextParams& AParams,
                  TcxTextRows& ARows, Integer AMaxRows = 0);
void PlaceTextRows(const TRect& R, const TcxTextParams& AParams, TcxTextRows& ARows);
void DrawTextRows(win::HDC ADC, const std::string& AText, const TRect& R, const TcxTextParams& AParams,
                  const TcxTextRows& ARows, Integer ASelStart, Integer ASelLength, TColor ASelBkColor,
                  TColor ASelTextColor, bool ATruncated);
Integer MaxTextRowWidth(const TcxTextRows& ARows, Integer ACount);

// The height used (or, with TextRowsReturnRowCount or when that is 0, the
// row count); with TextRowsMeasureOnly R receives the text's rectangle.
Integer DrawMultiRowText(win::HDC ADC, const std::string& AText, TRect& R, TcxTextRowsFlags AFlags,
                         Integer ASelStart = 0, Integer ASelLength = 0, TColor ASelBkColor = clHighlight,
                         TColor ASelTextColor = clHighlightText, Integer AMaxRows = 0, Integer ALeftIndent = 0,
                         Integer ARightIndent = 0);
Integer DrawMultiRowTextOnCanvas(TCanvas* ACanvas, const std::string& AText, TRect& R, TcxTextRowsFlags AFlags,
                                 Integer ASelStart = 0, Integer ASelLength = 0, TColor ASelBkColor = clHighlight,
                                 TColor ASelTextColor = clHighlightText, Integer AMaxRows = 0,
                                 Integer ALeftIndent = 0, Integer ARightIndent = 0);
Integer DrawEditTextOnCanvas(TCanvas* ACanvas, const std::string& AText, TRect& R, TcxTextRowsFlags AFlags,
                             Integer AMaxRows = 0, Integer ALeftIndent = 0, Integer ARightIndent = 0);

// Intersects the clip with R and answers what it was (null: no clip).
win::HRGN ClipToRectSaving(win::HDC ADC, const TRect& R);
// Selects the saved clip back (null removes clipping) and frees it.
void RestoreSavedClip(win::HDC ADC, win::HRGN ASaved);
