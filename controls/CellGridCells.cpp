// The cell operations of the grid: typed fore texts and stored back texts,
// the selector table that sets one cell property over a column, a row, a
// rectangle or all cells, the grid-level cell defaults, clearing, filling,
// the checks of drag move, copy and fill, and the grid's message boxes.
#include <algorithm>
#include <cstdlib>

#include "controls/CellGrid.h"
#include "controls/CellText.h"
#include "platform/forms/Forms.h"
#include "platform/forms/MessageDialogs.h"
#include "platform/rtl/ScopeExit.h"

using namespace win;

// --- Message boxes ---------------------------------------------------------------------------

void TCustomCellGrid::ShowCautionBox(const std::string& Text) {
  Application->MessageBox(Text, "Caution", MB_OK | MB_ICONINFORMATION);
}

void TCustomCellGrid::ShowErrorBox(const std::string& Text) {
  Application->MessageBox(Text, "Caution", MB_OK | MB_ICONERROR);
}

bool TCustomCellGrid::AskConfirmation(const std::string& Text) {
  return Application->MessageBox(Text, "Confirmation",
                                 MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) == IDOK;
}

// --- Texts -----------------------------------------------------------------------------------

bool TCustomCellGrid::WriteForeText(Integer ACol, Integer ARow, const std::string& Text) {
  TCellInfo& cell = Cells_->At(ACol, ARow);
  if (Text != cell.ForeText) {
    std::optional<std::string> value = Text;
    const char* notice = nullptr;
    switch (cell.DataStyle) {
      case dsNumber:
        value = FormatNumberText(Text, cell.IntLength, cell.DecLength, cell.ThousandSep,
                                 cell.ZeroNull, cell.TrailingZero);
        notice = SGridInvalidNumber;
        break;
      case dsDate:
        if (!Text.empty()) value = CellDateText(Text);
        notice = SGridInvalidDate;
        break;
      case dsTime:
        if (!Text.empty()) value = CellTimeText(Text);
        notice = SGridInvalidTime;
        break;
      default:
        break;
    }
    if (!value) {
      ShowErrorBox("Cell[" + std::to_string(ACol) + "," + std::to_string(ARow) + "]" + notice);
      return false;
    }
    cell.ForeText = *value;
    if (cell.ShowForeText) InvalidateCells(cell.MergeRect);
  }
  OnSetForeText(this, ACol, ARow, cell.ForeText);
  return true;
}

void TCustomCellGrid::SetCellForeText(Integer ACol, Integer ARow, const std::string& Text) {
  WriteForeText(ACol, ARow, Text);
}

void TCustomCellGrid::SetCellBackText(Integer ACol, Integer ARow, const std::string& Text) {
  TCellInfo& cell = Cells_->At(ACol, ARow);
  if (Text != cell.BackText) {
    cell.BackText = Text;
    if (!cell.ShowForeText) InvalidateCells(cell.MergeRect);
  }
  OnSetBackText(this, ACol, ARow, cell.BackText);
}

// --- The selector table ----------------------------------------------------------------------

void TCustomCellGrid::ApplyProperty(TCellInfo& Cell, Integer ACol, Integer ARow, Integer Selector,
                                    const TCellPropValue& Value) {
  using K = TCellPropValue::Kind;
  if (Selector >= 0 && Selector <= 21) {
    if (Value.ValueKind != K::Number) return;
    const Integer n = Value.Number;
    switch (Selector) {
      case 0:
        if (n >= dsText && n <= dsFormula) Cell.DataStyle = static_cast<TDataStyle>(n);
        break;
      case 1:
        if (n >= 0 && n <= static_cast<Integer>(TAlignMode::taBottomRight))
          Cell.AlignMode = static_cast<TAlignMode>(n);
        break;
      case 2:
        Cell.ReadOnly = n != 0;
        break;
      case 3:
        Cell.AutoWordBreak = n != 0;
        break;
      case 4:
        Cell.ShowForeText = n != 0;
        break;
      case 5:
        Cell.TopLine = n != 0;
        break;
      case 6:
        Cell.LeftLine = n != 0;
        break;
      case 7:
        Cell.RightLine = n != 0;
        break;
      case 8:
        Cell.BottomLine = n != 0;
        break;
      case 9:
        Cell.AllowNegative = n != 0;
        break;
      case 10:
        Cell.TrailingZero = n != 0;
        break;
      case 11:
        Cell.ZeroNull = n != 0;
        break;
      case 12:
        Cell.ThousandSep = n != 0;
        break;
      case 13:
        Cell.MaxLength = n;
        break;
      case 14:
        Cell.IntLength = n;
        break;
      case 15:
        Cell.DecLength = n;
        break;
      case 16:
        Cell.LineWidth = n;
        break;
      case 17:
        if (n >= psSolid && n <= psInsideFrame) Cell.PenStyle = static_cast<TPenStyle>(n);
        break;
      case 18:
        Cell.UserValue = n;
        break;
      case 19:
        Cell.FillColor = n;
        break;
      case 20:
        Cell.FontSize = n;
        break;
      case 21:
        Cell.FontColor = n;
        break;
    }
    return;
  }
  switch (Selector) {
    case 22:
      if (Value.ValueKind == K::Style) Cell.FontStyle = Value.Style;
      break;
    case 23:
      if (Value.ValueKind == K::Text) Cell.FontName = Value.Text;
      break;
    case 24:
      if (Value.ValueKind == K::Text) SetCellForeText(ACol, ARow, Value.Text);
      break;
    case 25:
      if (Value.ValueKind == K::Text) SetCellBackText(ACol, ARow, Value.Text);
      break;
    default:
      break;
  }
}

void TCustomCellGrid::SetColumnCellProperty(Integer ACol, Integer Selector,
                                            const TCellPropValue& Value) {
  if (ACol < 1 || ACol > ColCount_ - 1) return;
  for (Integer r = 1; r < RowCount_; ++r)
    ApplyProperty(Cells_->At(ACol, r), ACol, r, Selector, Value);
  RepaintIfAutoUpdate();
}

void TCustomCellGrid::SetRowCellProperty(Integer ARow, Integer Selector,
                                         const TCellPropValue& Value) {
  if (ARow < 1 || ARow > RowCount_ - 1) return;
  for (Integer c = 1; c < ColCount_; ++c)
    ApplyProperty(Cells_->At(c, ARow), c, ARow, Selector, Value);
  RepaintIfAutoUpdate();
}

void TCustomCellGrid::SetRangeCellProperty(const TGridRect& Rect, Integer Selector,
                                           const TCellPropValue& Value) {
  const TGridRect clip = Cells_->ClipToCells(Rect);
  for (Integer c = clip.Left; c <= clip.Right; ++c)
    for (Integer r = clip.Top; r <= clip.Bottom; ++r)
      ApplyProperty(Cells_->At(c, r), c, r, Selector, Value);
  if (clip.Left <= clip.Right && clip.Top <= clip.Bottom) InvalidateCells(clip);
}

void TCustomCellGrid::SetAllCellsProperty(Integer Selector, const TCellPropValue& Value) {
  for (Integer c = 1; c < ColCount_; ++c)
    for (Integer r = 1; r < RowCount_; ++r) ApplyProperty(Cells_->At(c, r), c, r, Selector, Value);
  RepaintIfAutoUpdate();
}

// The grid-level defaults rewrite every non-title cell, even with the value
// they already hold, and then hold for cells made later.
void TCustomCellGrid::SetCellDataStyle(TDataStyle Value) {
  SetAllCellsProperty(0, static_cast<Integer>(Value));
  Defaults_.DataStyle = Value;
}
void TCustomCellGrid::SetCellAlignMode(TAlignMode Value) {
  SetAllCellsProperty(1, static_cast<Integer>(Value));
  Defaults_.AlignMode = Value;
}
void TCustomCellGrid::SetCellReadOnly(bool Value) {
  SetAllCellsProperty(2, Value);
  Defaults_.ReadOnly = Value;
}
void TCustomCellGrid::SetCellAutoWordBreak(bool Value) {
  SetAllCellsProperty(3, Value);
  Defaults_.AutoWordBreak = Value;
}
void TCustomCellGrid::SetCellShowForeText(bool Value) {
  SetAllCellsProperty(4, Value);
  Defaults_.ShowForeText = Value;
}
void TCustomCellGrid::SetCellAllowNegative(bool Value) {
  SetAllCellsProperty(9, Value);
  Defaults_.AllowNegative = Value;
}
void TCustomCellGrid::SetCellTrailingZero(bool Value) {
  SetAllCellsProperty(10, Value);
  Defaults_.TrailingZero = Value;
}
void TCustomCellGrid::SetCellZeroNull(bool Value) {
  SetAllCellsProperty(11, Value);
  Defaults_.ZeroNull = Value;
}
void TCustomCellGrid::SetCellThousandSep(bool Value) {
  SetAllCellsProperty(12, Value);
  Defaults_.ThousandSep = Value;
}
void TCustomCellGrid::SetCellMaxLength(Integer Value) {
  SetAllCellsProperty(13, Value);
  Defaults_.MaxLength = Value;
}
void TCustomCellGrid::SetCellIntLength(Integer Value) {
  SetAllCellsProperty(14, Value);
  Defaults_.IntLength = Value;
}
void TCustomCellGrid::SetCellDecLength(Integer Value) {
  SetAllCellsProperty(15, Value);
  Defaults_.DecLength = Value;
}
void TCustomCellGrid::SetCellLineWidth(Integer Value) {
  SetAllCellsProperty(16, Value);
  Defaults_.LineWidth = Value;
}
void TCustomCellGrid::SetCellPenStyle(TPenStyle Value) {
  SetAllCellsProperty(17, static_cast<Integer>(Value));
  Defaults_.PenStyle = Value;
}
void TCustomCellGrid::SetCellColor(TColor Value) {
  SetAllCellsProperty(19, Value);
  Defaults_.Color = Value;
}
void TCustomCellGrid::SetCellFontSize(Integer Value) {
  SetAllCellsProperty(20, Value);
  Defaults_.FontSize = Value;
}
void TCustomCellGrid::SetCellFontColor(TColor Value) {
  SetAllCellsProperty(21, Value);
  Defaults_.FontColor = Value;
}
void TCustomCellGrid::SetCellFontStyle(TFontStyles Value) {
  SetAllCellsProperty(22, Value);
  Defaults_.FontStyle = Value;
}

// --- Clearing, filling and the drag checks ------------------------------------------------------

void TCustomCellGrid::ClearRange(const TGridRect& Rect) {
  const TGridRect clip = Cells_->ClipToCells(Rect);
  if (clip.Left > clip.Right || clip.Top > clip.Bottom) return;
  {
    const bool saved = AutoUpdate_;
    AutoUpdate_ = false;
    ScopeExit restore([&] { AutoUpdate_ = saved; });
    for (Integer c = clip.Left; c <= clip.Right; ++c)
      for (Integer r = clip.Top; r <= clip.Bottom; ++r) {
        const TGridCoord tl = Cells_->MergeRectOf(c, r).TopLeft();
        if (Cells_->At(tl.X, tl.Y).ReadOnly) continue;
        SetCellForeText(tl.X, tl.Y, "");
        SetCellBackText(tl.X, tl.Y, "");
      }
  }
  InvalidateCells(Cells_->ExpandToMergedRanges(clip.TopLeft(), clip.BottomRight()));
}

bool TCustomCellGrid::ConfirmMoveTarget(const TGridRect& Source, Integer DX, Integer DY,
                                        bool IsMove) {
  const TGridRect dest{Source.Left + DX, Source.Top + DY, Source.Right + DX, Source.Bottom + DY};
  if (dest.Left < 1 || dest.Top < 1 || dest.Right >= ColCount_ || dest.Bottom >= RowCount_)
    return false;
  bool asked = false;
  for (Integer c = dest.Left; c <= dest.Right && !asked; ++c)
    for (Integer r = dest.Top; r <= dest.Bottom && !asked; ++r) {
      if (Source.Contains(c, r)) continue;
      const TCellInfo& cell = Cells_->At(c, r);
      if (cell.ForeText.empty() && cell.BackText.empty()) continue;
      if (!AskConfirmation(SGridOverwrite)) return false;
      asked = true;
    }
  if (Cells_->RangeCutsMergedRange(dest)) {
    ShowErrorBox(SGridMoveMerged);
    return false;
  }
  // Mended: a move would clear the source, so read-only cells there refuse
  // it as read-only cells in the destination do.
  if (Cells_->RangeHasReadOnlyCell(dest) || (IsMove && Cells_->RangeHasReadOnlyCell(Source))) {
    ShowErrorBox(SGridReadOnlyCells);
    return false;
  }
  return true;
}

namespace {

// The cells a fill adds beside its source.
TGridRect FillExtension(const TGridRect& S, Integer A, Integer Direction) {
  if (Direction == 1)
    return A <= 0 ? TGridRect{S.Left + A, S.Top, S.Left - 1, S.Bottom}
                  : TGridRect{S.Right + 1, S.Top, S.Right + A, S.Bottom};
  return A <= 0 ? TGridRect{S.Left, S.Top + A, S.Right, S.Top - 1}
                : TGridRect{S.Left, S.Bottom + 1, S.Right, S.Bottom + A};
}

TGridRect Shifted(const TGridRect& R, Integer By, Integer Direction) {
  return Direction == 1 ? TGridRect{R.Left + By, R.Top, R.Right + By, R.Bottom}
                        : TGridRect{R.Left, R.Top + By, R.Right, R.Bottom + By};
}

}  // namespace

bool TCustomCellGrid::ConfirmFillTarget(const TGridRect& Source, Integer Offset,
                                        Integer Direction) {
  const TGridRect e = FillExtension(Source, Offset, Direction);
  if (e.Left > e.Right || e.Top > e.Bottom) return true;
  if (e.Left < 1 || e.Top < 1 || e.Right >= ColCount_ || e.Bottom >= RowCount_) return false;
  if (Cells_->RangeCutsMergedRange(e)) {
    ShowErrorBox(SGridFillMerged);
    return false;
  }
  if (Cells_->RangeHasReadOnlyCell(e)) {
    ShowErrorBox(SGridReadOnlyCells);
    return false;
  }
  return true;
}

void TCustomCellGrid::FillRange(const TGridRect& Source, Integer Offset, Integer Direction) {
  const Integer length =
      Direction == 1 ? Source.Right - Source.Left + 1 : Source.Bottom - Source.Top + 1;
  const bool merged = Cells_->RangeHasMergedCells(Source);
  if (length <= 0 || (merged && Offset % length != 0)) return;
  if (Direction == 0 || !ConfirmFillTarget(Source, Offset, Direction)) return;
  CopyRangeToBuffer(Source);
  TGridRect filled = Source;
  if (Direction == 1)
    (Offset >= 0 ? filled.Right : filled.Left) += Offset;
  else
    (Offset >= 0 ? filled.Bottom : filled.Top) += Offset;
  const Integer steps = std::abs(Offset) / length, rest = std::abs(Offset) % length;
  if (merged) {
    TGridRect block = Shifted(Source, Offset >= 0 ? length : Offset, Direction);
    for (Integer i = 0; i < steps; ++i, block = Shifted(block, length, Direction))
      PasteBuffer(block);
  } else {
    TGridRect block = Shifted(Source, Offset >= 0 ? length : Offset + rest, Direction);
    for (Integer i = 0; i < steps; ++i, block = Shifted(block, length, Direction))
      PasteBuffer(block);
    if (rest != 0) {
      if (Offset >= 0) {
        // The first rows (columns) of the source follow the last block.
        TGridRect tail = block;
        (Direction == 1 ? tail.Right : tail.Bottom) =
            (Direction == 1 ? tail.Left : tail.Top) + rest - 1;
        PasteBuffer(tail);
      } else {
        // The last rows (columns) of the source go to the far end.
        TGridRect from = Source;
        (Direction == 1 ? from.Left : from.Top) =
            (Direction == 1 ? from.Right : from.Bottom) - rest + 1;
        TGridRect to = Shifted(
            from, (Direction == 1 ? Source.Left - from.Left : Source.Top - from.Top) + Offset,
            Direction);
        Cells_->Paste(Cells_->CopyRange(from), to);
      }
    }
  }
  FreeCellBuffer();
  SetSelection(filled);
  OnFillCells(this, TRect{Source.Left, Source.Top, Source.Right, Source.Bottom},
              TRect{filled.Left, filled.Top, filled.Right, filled.Bottom});
}
