// The paint state of a text editor: its display text, where the text is
// laid out, the text flags, the selection with its colours, and the rows the
// text was broken into (prepared once per calculation). It draws the text
// when the inner edit does not show it: unfocused editors aligned other than
// left, the list-pick and no-text styles, in-place editors painted by their
// host and painting without a window.
#pragma once

#include <string>

#include "suite/editors/cxEditViewInfo.h"
#include "suite/editors/cxTextEditProperties.h"
#include "suite/editors/cxTextRows.h"

class TcxCustomTextEditViewInfo;

// Replaces the drawing of the text.
using TcxTextEditCustomDrawEvent =
    TDelegate<void(TcxCustomTextEditViewInfo* Sender, TcxCanvas* ACanvas, const TRect& R)>;

class TcxCustomTextEditViewInfo : public TcxCustomEditViewInfo {
  VXN_DECLARE_CLASS(TcxCustomTextEditViewInfo)

 public:
  TcxCustomTextEditViewInfo() = default;
  ~TcxCustomTextEditViewInfo() override = default;

  virtual void DrawTextContent(TcxCanvas* ACanvas);

  void InternalPaint(TcxCanvas* ACanvas) override;
  void OffsetBy(Integer DX, Integer DY) override;
  Integer TextPositionAtPoint(const TPoint& P) override;

  // Lays the text out into rows (once per calculation) and draws them with
  // the selection, clipped to TextRect.
  void DrawTextEditRows(TcxCanvas* ACanvas, const std::string& AText);

  std::string Text;
  TRect TextRect;
  TcxTextRowsFlags TextFlags = 0;
  Integer MaxLineCount = 0;
  Integer SelStart = 0;
  Integer SelLength = 0;
  TColor SelTextColor = clHighlightText;
  TColor SelBackgroundColor = clHighlight;
  TcxEditingStyle EditingStyle = esFreeText;
  bool DrawTextAsSelected = false;
  bool PopupShown = false;
  bool IsComboLike = false;
  TcxTextEditCustomDrawEvent CustomDraw;
  TcxTextRows Rows;
  TRect RowsRect;
  bool RowsPrepared = false;
  TcxTextParams RowsParams;
  // The rows were cut to MaxLineCount.
  bool RowsTruncated = false;
};
