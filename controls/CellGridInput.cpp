// Keyboard and mouse of the cell grid: navigation over cells and merged
// ranges, range selection with the scroll timer, column and row sizing, the
// drag move, copy and fill of the selection with their outlines, cursors,
// the wheel and cancel mode.
#include <algorithm>

#include "controls/CellGrid.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiScopes.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/Windows.h"

using namespace win;

namespace {

constexpr UINT_PTR kSelectTimer = 1;
constexpr UINT kSelectTimerInterval = 60;
constexpr TCursor crSpreadsheet = 1001;

}  // namespace

// --- Navigation helpers ----------------------------------------------------------------------

Integer TCustomCellGrid::PrevVisible(bool Columns, Integer From) const {
  const Integer first = (Columns ? FixedCols_ : FixedRows_) + 1;
  for (Integer i = From; i >= first; --i)
    if ((Columns ? GetColWidth(i) : GetRowHeight(i)) >= 0) return i;
  return From + 1;
}

Integer TCustomCellGrid::NextVisible(bool Columns, Integer From) const {
  const Integer count = Columns ? ColCount_ : RowCount_;
  for (Integer i = std::max(From, 0); i < count; ++i)
    if ((Columns ? GetColWidth(i) : GetRowHeight(i)) >= 0) return i;
  return From - 1;
}

// --- Keyboard --------------------------------------------------------------------------------

void TCustomCellGrid::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0 || !CanGridAcceptKey(Key, Shift)) return;
  switch (Key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_PAUSE:
    case VK_CAPITAL:
      return;
  }
  const TDrawInfo info = CalcDrawInfo();
  const bool shift = Shift.Contains(ssShift), ctrl = Shift.Contains(ssCtrl);
  const bool rowSelect = Options_.Contains(goRowSelect);
  TGridCoord newTopLeft = TopLeft_;
  TGridCoord newCurrent = shift ? Anchor_ : Current_;
  const TGridRect range = Cells_->MergeRectOf(newCurrent.X, newCurrent.Y);
  const Integer pageHeight = std::max(1, info.Vert.LastFullVisibleCell - TopLeft_.Y);
  bool extends = false;
  if (ctrl) {
    switch (Key) {
      case VK_PRIOR:
        newCurrent.Y = NextVisible(false, TopLeft_.Y);
        break;
      case VK_NEXT:
        newCurrent.Y = PrevVisible(false, info.Vert.LastFullVisibleCell);
        break;
      case VK_HOME:
        newCurrent = {NextVisible(true, FixedCols_ + 1), NextVisible(false, FixedRows_ + 1)};
        break;
      case VK_END:
        newCurrent = {PrevVisible(true, ColCount_ - 1), PrevVisible(false, RowCount_ - 1)};
        break;
      case VK_LEFT:
        newTopLeft.X = PrevVisible(true, TopLeft_.X - 1);
        break;
      case VK_UP:
        newTopLeft.Y = PrevVisible(false, TopLeft_.Y - 1);
        break;
      case VK_RIGHT:
        newTopLeft.X = NextVisible(true, TopLeft_.X + 1);
        break;
      case VK_DOWN:
        newTopLeft.Y = NextVisible(false, TopLeft_.Y + 1);
        break;
      default:
        break;
    }
  } else {
    switch (Key) {
      case VK_TAB:
        if (Shift.Contains(ssAlt)) break;
        // Tab walks the row from the current cell, never wrapping.
        if (shift) {
          const TGridRect own = Cells_->MergeRectOf(Current_.X, Current_.Y);
          newCurrent = {std::max(PrevVisible(true, own.Left - 1), FixedCols_ + 1), Current_.Y};
        } else {
          const TGridRect own = Cells_->MergeRectOf(Current_.X, Current_.Y);
          Integer next = NextVisible(true, own.Right + 1);
          newCurrent = {next > own.Right ? next : Current_.X, Current_.Y};
        }
        break;
      case VK_ESCAPE:
        HideEditor();
        break;
      case VK_PRIOR:
        newCurrent.Y = PrevVisible(false, newCurrent.Y - pageHeight);
        newTopLeft.Y = PrevVisible(false, TopLeft_.Y - pageHeight);
        extends = shift;
        break;
      case VK_NEXT:
        newCurrent.Y = NextVisible(false, newCurrent.Y + pageHeight);
        newTopLeft.Y = NextVisible(false, TopLeft_.Y + pageHeight);
        extends = shift;
        break;
      case VK_HOME:
        if (rowSelect)
          newCurrent.Y = NextVisible(false, FixedRows_ + 1);
        else
          newCurrent.X = NextVisible(true, FixedCols_ + 1);
        extends = shift;
        break;
      case VK_END:
        if (rowSelect)
          newCurrent.Y = PrevVisible(false, RowCount_ - 1);
        else
          newCurrent.X = PrevVisible(true, ColCount_ - 1);
        extends = shift;
        break;
      case VK_LEFT:
        if (rowSelect)
          newTopLeft.X = PrevVisible(true, TopLeft_.X - 1);
        else
          newCurrent.X = PrevVisible(true, range.Left - 1);
        extends = shift;
        break;
      case VK_RIGHT:
        if (rowSelect)
          newTopLeft.X = info.Horz.LastFullVisibleCell + 1;
        else
          newCurrent.X = NextVisible(true, range.Right + 1);
        extends = shift;
        break;
      case VK_UP:
        newCurrent.Y = PrevVisible(false, range.Top - 1);
        extends = shift;
        break;
      case VK_DOWN:
        newCurrent.Y = NextVisible(false, range.Bottom + 1);
        extends = shift;
        break;
      case VK_DELETE:
        if (Options_.Contains(goEditing)) {
          ClearRange(Selection_);
          InvalidateCells(Selection_);
        }
        break;
      case VK_F2:
        SetEditorMode(true);
        break;
      default:
        break;
    }
  }
  const TGridCoord maxTL = CalcMaxTopLeft({ColCount_ - 1, RowCount_ - 1}, info);
  newTopLeft.X = std::clamp(newTopLeft.X, FixedCols_ + 1, std::max(FixedCols_ + 1, maxTL.X));
  newTopLeft.Y = std::clamp(newTopLeft.Y, FixedRows_ + 1, std::max(FixedRows_ + 1, maxTL.Y));
  newCurrent.X = std::clamp(newCurrent.X, FixedCols_ + 1, ColCount_ - 1);
  newCurrent.Y = std::clamp(newCurrent.Y, FixedRows_ + 1, RowCount_ - 1);
  if (extends) {
    const TRect r = CellRect(newCurrent.X, newCurrent.Y);
    GridState_ = TCellGridState::gsSelecting;
    ScopeExit done([this] { GridState_ = TCellGridState::gsNormal; });
    SelectMove((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    return;
  }
  const TGridCoord target = Cells_->MergeRectOf(newCurrent.X, newCurrent.Y).TopLeft();
  if (!(newTopLeft == TopLeft_)) MoveTopLeft(newTopLeft.X, newTopLeft.Y);
  if (!(target == Current_)) MoveCurrent(target.X, target.Y, true);
}

void TCustomCellGrid::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  if (Key != U'\r' || Options_.Contains(goAlwaysShowEditor)) return;
  if (EditorMode_) {
    // A value the cell refuses keeps the editor open with it (mended).
    EditorMode_ = false;
    if (!HideEdit(true)) EditorMode_ = true;
  } else {
    ShowEditor();
  }
  Key = 0;
}

// --- Mouse -----------------------------------------------------------------------------------

TGridCoord TCustomCellGrid::DragCell(Integer X, Integer Y) {
  TGridCoord cell = MouseCoord(X, Y);
  if (cell.X < TopLeft_.X && TopLeft_.X > FixedCols_ + 1) cell.X = TopLeft_.X - 1;
  if (cell.Y < TopLeft_.Y && TopLeft_.Y > FixedRows_ + 1) cell.Y = TopLeft_.Y - 1;
  cell.X = std::clamp(cell.X, FixedCols_ + 1, ColCount_ - 1);
  cell.Y = std::clamp(cell.Y, FixedRows_ + 1, RowCount_ - 1);
  return cell;
}

bool TCustomCellGrid::TakeNewOffset(TGridCoord Offset) const {
  return DragSource_.Left + Offset.X > FixedCols_ && DragSource_.Right + Offset.X < ColCount_ &&
         DragSource_.Top + Offset.Y > FixedRows_ && DragSource_.Bottom + Offset.Y < RowCount_;
}

TGridRect TCustomCellGrid::DragOutlineRect() const {
  TGridRect r = DragSource_;
  if (GridState_ == TCellGridState::gsFilling) {
    if (DragOffset_.X > 0) r.Right += DragOffset_.X;
    if (DragOffset_.X < 0) r.Left += DragOffset_.X;
    if (DragOffset_.Y > 0) r.Bottom += DragOffset_.Y;
    if (DragOffset_.Y < 0) r.Top += DragOffset_.Y;
    return r;
  }
  return {r.Left + DragOffset_.X, r.Top + DragOffset_.Y, r.Right + DragOffset_.X,
          r.Bottom + DragOffset_.Y};
}

void TCustomCellGrid::DrawDragOutline() {
  if (!HandleAllocated()) return;
  const TDrawInfo info = CalcDrawInfo();
  const TRect box = BoxRect(DragOutlineRect(), true);
  WindowDc dc(Handle());
  TRect client = ClientRect();
  IntersectClipRect(dc, info.Horz.FixedBoundary, info.Vert.FixedBoundary, client.Right,
                    client.Bottom);
  SetTextColor(dc, 0x000000);
  SetBkColor(dc, 0xFFFFFF);
  RECT r{box.Left, box.Top, box.Right - 1, box.Bottom - 1};
  DrawFocusRect(dc, &r);
  OutlineShown_ = !OutlineShown_;
}

void TCustomCellGrid::DrawSizeLine() {
  if (!HandleAllocated()) return;
  const TDrawInfo info = CalcDrawInfo();
  const bool rows = GridState_ == TCellGridState::gsRowSizing;
  const TAxisDrawInfo& axis = rows ? info.Vert : info.Horz;
  if (SizingPos_ < AxisPos(axis, SizingIndex_) - axis.EffectiveLineWidth) return;
  WindowDc dc(Handle());
  // An inverting dotted line: drawing it twice puts the pixels back.
  OwnedGdiObject pen(CreatePen(PS_DOT, 1, 0xFFFFFF));
  ObjectSelection selected(dc, pen.Get());
  int rop = SetROP2(dc, R2_XORPEN);
  int bk = SetBkMode(dc, TRANSPARENT);
  TRect client = ClientRect();
  if (rows) {
    MoveToEx(dc, 0, SizingPos_, nullptr);
    LineTo(dc, client.Right, SizingPos_);
  } else {
    MoveToEx(dc, SizingPos_, 0, nullptr);
    LineTo(dc, SizingPos_, client.Bottom);
  }
  SetBkMode(dc, bk);
  SetROP2(dc, rop);
  SizeLineShown_ = !SizeLineShown_;
}

bool TCustomCellGrid::FindSizingBorder(Integer X, Integer Y, TSizingHit& Hit) {
  Hit = {};
  if (X < 0 || Y < 0) return false;
  const bool colSizing = Options_.Contains(goColSizing) || Designing();
  const bool rowSizing = Options_.Contains(goRowSizing) || Designing();
  if (!colSizing && !rowSizing) return false;
  const TDrawInfo info = CalcDrawInfo();
  TGridCoord cell = MouseCoord(X, Y);
  cell.X = std::clamp(cell.X, 0, ColCount_ - 1);
  cell.Y = std::clamp(cell.Y, 0, RowCount_ - 1);
  if (Selection_.Contains(cell.X, cell.Y)) return false;
  auto search = [&](const TAxisDrawInfo& a, Integer p, Integer cellIndex, bool columns,
                    TSizingHit& out) {
    const Integer lw = a.EffectiveLineWidth;
    const Integer m = lw <= 6 ? (7 - lw) / 2 : 0;
    const Integer grab = std::max<Integer>(lw, 7);
    Integer pos = a.TitleBoundary;
    for (Integer i = 1; i < a.GridCellCount; ++i) {
      if (i == a.FixedCellCount + 1) {
        i = std::max(i, a.FirstGridCell);
        pos = a.FixedBoundary - (columns ? ColOffset_ : 0);
      }
      if (i >= a.GridCellCount) break;
      const Integer ext = a.Extent(i);
      const Integer border = pos + ext;
      if (p >= border - m && p <= border + grab - m) {
        Integer index = i;
        if (p > border)
          while (index + 1 < a.GridCellCount && a.Extent(index + 1) < 0) ++index;
        // Inside a merged range only its outer borders count.
        const TGridRect mr = columns ? Cells_->MergeRectOf(cellIndex, cell.Y)
                                     : Cells_->MergeRectOf(cell.X, cellIndex);
        const Integer lo = columns ? mr.Left : mr.Top, hi = columns ? mr.Right : mr.Bottom;
        if (hi > lo) {
          const Integer loEdge = AxisPos(a, lo), hiEdge = AxisPos(a, hi) + a.Extent(hi);
          const bool atLo = cellIndex == lo && std::abs(p - loEdge) <= m;
          const bool atHi = cellIndex == hi && std::abs(p - hiEdge) <= m;
          if (!atLo && !atHi) return false;
        }
        out.State = columns ? TCellGridState::gsColSizing : TCellGridState::gsRowSizing;
        out.Index = index;
        out.Pos = border;
        out.Offset = border - p;
        return true;
      }
      pos += ext + lw;
      if (pos > a.GridBoundary) break;
    }
    return false;
  };
  TSizingHit found;
  if (colSizing && X >= info.Horz.TitleBoundary && (ClientSizeable_ || Y < info.Vert.FixedBoundary))
    search(info.Horz, X, cell.X, true, found);
  TSizingHit rowHit;
  if (rowSizing && Y >= info.Vert.TitleBoundary &&
      (ClientSizeable_ || X < info.Horz.FixedBoundary) &&
      search(info.Vert, Y, cell.Y, false, rowHit))
    found = rowHit;
  Hit = found;
  return Hit.State != TCellGridState::gsNormal;
}

TCellGridState TCustomCellGrid::FindDragHandle(Integer X, Integer Y, bool Ctrl) {
  if (!(GridCanCopyMove_ || GridCanFill_) || X < 0 || Y < 0 || !Cells_->RangeIsWhole(Selection_))
    return TCellGridState::gsNormal;
  const TRect box = BoxRect(Selection_, true);
  const TRect grown{box.Left - 3, box.Top - 3, box.Right + 3, box.Bottom + 3};
  if (!(X > grown.Left && X < grown.Right && Y > grown.Top && Y < grown.Bottom))
    return TCellGridState::gsNormal;
  TCellGridState state = TCellGridState::gsNormal;
  if (std::abs(X - box.Left) <= 3 || std::abs(Y - box.Top) <= 3 || std::abs(X - box.Right) <= 4 ||
      std::abs(Y - box.Bottom) <= 4) {
    state = TCellGridState::gsMoving;
    if (Ctrl)
      state = TCellGridState::gsCopying;
    else if (std::abs(X - box.Right) <= 4 && std::abs(Y - box.Bottom) <= 5)
      state = TCellGridState::gsFilling;
  }
  if ((state == TCellGridState::gsMoving || state == TCellGridState::gsCopying) &&
      !GridCanCopyMove_)
    return TCellGridState::gsNormal;
  if (state == TCellGridState::gsFilling && !GridCanFill_) return TCellGridState::gsNormal;
  return state;
}

void TCustomCellGrid::SetGridCursor() {
  POINT p;
  GetCursorPos(&p);
  win::ScreenToClient(Handle(), &p);
  HitTest_ = {p.x, p.y};
  TCursor cursor = crSpreadsheet;
  TCellGridState state = GridState_;
  if (state == TCellGridState::gsNormal) {
    TSizingHit hit;
    if (FindSizingBorder(p.x, p.y, hit))
      state = hit.State;
    else
      state = FindDragHandle(p.x, p.y, GetKeyState(VK_CONTROL) < 0);
  }
  switch (state) {
    case TCellGridState::gsRowSizing:
      cursor = crVSplit;
      break;
    case TCellGridState::gsColSizing:
      cursor = crHSplit;
      break;
    case TCellGridState::gsMoving:
      cursor = crHandPoint;
      break;
    case TCellGridState::gsCopying:
      cursor = crDrag;
      break;
    case TCellGridState::gsFilling:
      cursor = crMultiDrag;
      break;
    case TCellGridState::gsSelecting:
      cursor = crArrow;
      break;
    default:
      break;
  }
  if (Screen) win::SetCursor(Screen->Cursors(cursor));
}

void TCustomCellGrid::StopSelectTimer() {
  if (SelectTimerRunning_ && HandleAllocated()) KillTimer(Handle(), kSelectTimer);
  SelectTimerRunning_ = false;
}

void TCustomCellGrid::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  HitTest_ = {X, Y};
  if (Button == mbLeft && InplaceEdit_)
    InplaceEdit_->ClickTime_ = static_cast<DWORD>(GetMessageTime());
  HideEditor();
  if (!Designing() && (CanFocus() || !GetParentForm(this))) {
    if (!GridFocused() && CanFocus()) SetFocus();
    if (!GridFocused()) {
      SetMouseCapture(false);
      return;
    }
  }
  const TGridCoord cell = MouseCoord(X, Y);
  if (Button != mbLeft) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    return;
  }
  if (Shift.Contains(ssDouble)) {
    DblClick();
    if (cell.X > FixedCols_ && cell.Y > FixedRows_ && cell.X < ColCount_ && cell.Y < RowCount_ &&
        Cells_->MergeRectOf(cell.X, cell.Y) == Cells_->MergeRectOf(Current_.X, Current_.Y))
      ShowEditor();
    TCustomControl::MouseDown(Button, Shift, X, Y);
    return;
  }
  TSizingHit hit;
  if (FindSizingBorder(X, Y, hit)) {
    GridState_ = hit.State;
    SizingIndex_ = hit.Index;
    SizingPos_ = hit.Pos;
    SizingOffset_ = hit.Offset;
    SizeLineShown_ = false;
    DrawSizeLine();
    return;
  }
  if (TCellGridState drag = FindDragHandle(X, Y, Shift.Contains(ssCtrl));
      drag != TCellGridState::gsNormal) {
    GridState_ = drag;
    DragSource_ = Selection_;
    DragStart_ = cell;
    DragOffset_ = {0, 0};
    FillDirection_ = 0;
    OutlineShown_ = false;
    DrawDragOutline();
    return;
  }
  const bool rangeSelect = Options_.Contains(goRangeSelect);
  const bool shift = Shift.Contains(ssShift) && rangeSelect;
  TGridRect newSelection = Selection_;
  TGridCoord newCurrent = Current_;
  const Integer firstCol = FixedCols_ + 1, firstRow = FixedRows_ + 1;
  const bool titleRow = cell.Y == 0, titleCol = cell.X == 0;
  const bool titleOverFixed = (titleRow && cell.X > 0 && cell.X <= FixedCols_) ||
                              (titleCol && cell.Y > 0 && cell.Y <= FixedRows_);
  if ((!titleRow && !titleCol) || titleOverFixed) {
    if (cell.X < TopLeft_.X || cell.Y < TopLeft_.Y) return;
    GridState_ = TCellGridState::gsSelecting;
    if (HandleAllocated()) {
      SetTimer(Handle(), kSelectTimer, kSelectTimerInterval, nullptr);
      SelectTimerRunning_ = true;
    }
    if (shift) {
      newSelection = Cells_->ExpandToMergedRanges(Current_, cell);
    } else {
      newSelection = Cells_->MergeRectOf(cell.X, cell.Y);
      newCurrent = newSelection.TopLeft();
    }
  } else {
    if (titleRow && cell.X > 0) {
      if (rangeSelect) {
        newSelection =
            shift ? Cells_->ExpandToMergedRanges({Current_.X, firstRow}, {cell.X, RowCount_ - 1})
                  : Cells_->ExpandToMergedRanges({cell.X, firstRow}, {cell.X, RowCount_ - 1});
        if (!shift) newCurrent = Cells_->MergeRectOf(cell.X, firstRow).TopLeft();
      } else {
        newSelection = Cells_->MergeRectOf(cell.X, firstRow);
        newCurrent = newSelection.TopLeft();
      }
    } else if (titleCol && cell.Y > 0) {
      if (rangeSelect) {
        newSelection =
            shift ? Cells_->ExpandToMergedRanges({firstCol, Current_.Y}, {ColCount_ - 1, cell.Y})
                  : Cells_->ExpandToMergedRanges({firstCol, cell.Y}, {ColCount_ - 1, cell.Y});
        if (!shift) newCurrent = Cells_->MergeRectOf(firstCol, cell.Y).TopLeft();
      } else {
        newSelection = Cells_->MergeRectOf(firstCol, cell.Y);
        newCurrent = newSelection.TopLeft();
      }
    } else {
      newSelection = rangeSelect ? TGridRect{firstCol, firstRow, ColCount_ - 1, RowCount_ - 1}
                                 : Cells_->MergeRectOf(firstCol, firstRow);
      newCurrent = Cells_->MergeRectOf(firstCol, firstRow).TopLeft();
    }
    if (newSelection == Selection_) return;
  }
  MoveCurrent(newCurrent.X, newCurrent.Y, true);
  if (!(Current_ == newCurrent)) {
    // The move was refused (by OnSelectCell, or a value the editor kept).
    StopSelectTimer();
    GridState_ = TCellGridState::gsNormal;
    return;
  }
  if (Options_.Contains(goRowSelect)) {
    newSelection.Left = firstCol;
    newSelection.Right = ColCount_ - 1;
  }
  SetSelection(newSelection);
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomCellGrid::SelectMove(Integer X, Integer Y) {
  TGridCoord cell = MouseCoord(X, Y);
  if (cell.X < TopLeft_.X && TopLeft_.X > FixedCols_ + 1)
    cell.X = PrevVisible(true, TopLeft_.X - 1);
  if (cell.Y < TopLeft_.Y && TopLeft_.Y > FixedRows_ + 1)
    cell.Y = PrevVisible(false, TopLeft_.Y - 1);
  cell.X = std::clamp(cell.X, FixedCols_ + 1, ColCount_ - 1);
  cell.Y = std::clamp(cell.Y, FixedRows_ + 1, RowCount_ - 1);
  // Back inside the current cell's range the selection is that range again.
  const TGridRect own = Cells_->MergeRectOf(Current_.X, Current_.Y);
  if (own.Contains(cell.X, cell.Y) && Selection_ == own) return;
  if (!Options_.Contains(goRangeSelect)) return;
  TGridRect selection = Cells_->ExpandToMergedRanges(Current_, cell);
  ClampInView(cell);
  MoveAnchor(cell, false);
  if (Options_.Contains(goRowSelect)) {
    selection.Left = FixedCols_ + 1;
    selection.Right = ColCount_ - 1;
  }
  SetSelection(selection);
}

TGridCoord TCustomCellGrid::FillOffsetFor(TGridCoord Cell, Integer& Direction) const {
  const TGridRect& s = DragSource_;
  if (s.Contains(Cell.X, Cell.Y)) {
    Direction = 0;
    return {0, 0};
  }
  Direction = (Cell.X >= s.Left && Cell.X <= s.Right) ? 2 : 1;
  Integer ox = Cell.X - s.Right > 0 ? Cell.X - s.Right : Cell.X - s.Left;
  Integer oy = Cell.Y - s.Bottom > 0 ? Cell.Y - s.Bottom : Cell.Y - s.Top;
  if (Cells_->RangeHasMergedCells(s)) {
    auto roundAway = [](Integer v, Integer unit) {
      if (unit <= 0 || v % unit == 0) return v;
      return v > 0 ? (v / unit + 1) * unit : (v / unit - 1) * unit;
    };
    ox = roundAway(ox, s.Right - s.Left + 1);
    oy = roundAway(oy, s.Bottom - s.Top + 1);
  }
  return Direction == 1 ? TGridCoord{ox, 0} : TGridCoord{0, oy};
}

void TCustomCellGrid::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  HitTest_ = {X, Y};
  switch (GridState_) {
    case TCellGridState::gsSelecting:
      SelectMove(X, Y);
      break;
    case TCellGridState::gsRowSizing:
    case TCellGridState::gsColSizing: {
      const bool rows = GridState_ == TCellGridState::gsRowSizing;
      if (SizeLineShown_) DrawSizeLine();
      SizingPos_ = std::clamp((rows ? Y : X) + SizingOffset_, 0, rows ? Height() : Width());
      DrawSizeLine();
      break;
    }
    case TCellGridState::gsMoving:
    case TCellGridState::gsCopying:
    case TCellGridState::gsFilling: {
      const TGridCoord cell = DragCell(X, Y);
      Integer direction = 0;
      TGridCoord offset = GridState_ == TCellGridState::gsFilling
                              ? FillOffsetFor(cell, direction)
                              : TGridCoord{cell.X - DragStart_.X, cell.Y - DragStart_.Y};
      if (!TakeNewOffset(offset) || (offset == DragOffset_ && direction == FillDirection_)) break;
      if (OutlineShown_) DrawDragOutline();
      const TDrawInfo info = CalcDrawInfo();
      if (cell.X > info.Horz.LastFullVisibleCell || cell.Y > info.Vert.LastFullVisibleCell ||
          cell.X < TopLeft_.X || cell.Y < TopLeft_.Y)
        ClampInView(cell);
      DragOffset_ = offset;
      FillDirection_ = direction;
      DrawDragOutline();
      break;
    }
    default:
      break;
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomCellGrid::FinishCopyMove(bool IsMove) {
  if (DragOffset_ == TGridCoord{0, 0}) return;
  const TGridRect source = DragSource_;
  const TGridRect dest{source.Left + DragOffset_.X, source.Top + DragOffset_.Y,
                       source.Right + DragOffset_.X, source.Bottom + DragOffset_.Y};
  CopyRangeToBuffer(source);
  if (IsMove) ResetRange(source);
  PasteBuffer(dest);
  FreeCellBuffer();
  InvalidateCells(dest);
  MoveCurrent(Current_.X + DragOffset_.X, Current_.Y + DragOffset_.Y, true);
  SetSelection(dest);
  OnCopyMoveCells(this, TRect{source.Left, source.Top, source.Right, source.Bottom},
                  TRect{dest.Left, dest.Top, dest.Right, dest.Bottom});
}

void TCustomCellGrid::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbRight) return;
  const TCellGridState state = GridState_;
  ScopeExit done([this] { GridState_ = TCellGridState::gsNormal; });
  switch (state) {
    case TCellGridState::gsSelecting:
      SelectMove(X, Y);
      StopSelectTimer();
      UpdateEdit();
      Click();
      break;
    case TCellGridState::gsRowSizing:
    case TCellGridState::gsColSizing: {
      if (SizeLineShown_) DrawSizeLine();
      const TDrawInfo info = CalcDrawInfo();
      const bool rows = state == TCellGridState::gsRowSizing;
      const Integer extent = SizingPos_ - AxisPos(rows ? info.Vert : info.Horz, SizingIndex_);
      GridState_ = TCellGridState::gsNormal;
      if (rows)
        SetRowHeight(SizingIndex_, extent > 0 ? extent : -1);
      else
        SetColWidth(SizingIndex_, extent > 0 ? extent : -1);
      break;
    }
    case TCellGridState::gsMoving:
    case TCellGridState::gsCopying: {
      if (OutlineShown_) DrawDragOutline();
      GridState_ = TCellGridState::gsNormal;
      const bool isMove = state == TCellGridState::gsMoving;
      // Letting go where the drag began changes nothing and asks nothing.
      if (!(DragOffset_ == TGridCoord{0, 0}) &&
          !ConfirmMoveTarget(DragSource_, DragOffset_.X, DragOffset_.Y, isMove))
        return;
      FinishCopyMove(isMove);
      break;
    }
    case TCellGridState::gsFilling:
      if (OutlineShown_) DrawDragOutline();
      GridState_ = TCellGridState::gsNormal;
      FillRange(DragSource_, FillDirection_ == 1 ? DragOffset_.X : DragOffset_.Y, FillDirection_);
      break;
    default:
      UpdateEdit();
      break;
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

bool TCustomCellGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  const bool handled = TCustomControl::DoMouseWheelDown(Shift, MousePos);
  HideEditor();
  if (!handled) ScrollByMessage(SB_VERT, SB_LINEDOWN, 0);
  return true;
}

bool TCustomCellGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  const bool handled = TCustomControl::DoMouseWheelUp(Shift, MousePos);
  if (!handled) {
    HideEditor();
    ScrollByMessage(SB_VERT, SB_LINEUP, 0);
  }
  return true;
}

void TCustomCellGrid::CancelMode() {
  switch (GridState_) {
    case TCellGridState::gsSelecting:
      StopSelectTimer();
      break;
    case TCellGridState::gsRowSizing:
    case TCellGridState::gsColSizing:
      if (SizeLineShown_) DrawSizeLine();
      break;
    case TCellGridState::gsMoving:
    case TCellGridState::gsCopying:
    case TCellGridState::gsFilling:
      if (OutlineShown_) DrawDragOutline();
      break;
    default:
      break;
  }
  GridState_ = TCellGridState::gsNormal;
}

void TCustomCellGrid::TimedScroll(bool Left, bool Right, bool Up, bool Down) {
  TGridCoord anchor = Anchor_;
  if (Left && anchor.X > FixedCols_ + 1)
    anchor.X = std::max(PrevVisible(true, anchor.X - 1), FixedCols_ + 1);
  if (Right && anchor.X < ColCount_ - 1)
    anchor.X = std::min(NextVisible(true, anchor.X + 1), ColCount_ - 1);
  if (Up && anchor.Y > FixedRows_ + 1)
    anchor.Y = std::max(PrevVisible(false, anchor.Y - 1), FixedRows_ + 1);
  if (Down && anchor.Y < RowCount_ - 1)
    anchor.Y = std::min(NextVisible(false, anchor.Y + 1), RowCount_ - 1);
  if (anchor == Anchor_) return;
  ClampInView(anchor);
  MoveAnchor(anchor, false);
  SetSelection(Cells_->ExpandToMergedRanges(Current_, anchor));
}

void TCustomCellGrid::TimerTick() {
  if (GridState_ != TCellGridState::gsSelecting || !HandleAllocated()) return;
  POINT p;
  GetCursorPos(&p);
  win::ScreenToClient(Handle(), &p);
  const TDrawInfo info = CalcDrawInfo();
  const bool left = p.x<info.Horz.FixedBoundary, right = p.x> info.Horz.FullVisBoundary;
  const bool up = p.y<info.Vert.FixedBoundary, down = p.y> info.Vert.FullVisBoundary;
  if (left || right || up || down) TimedScroll(left, right, up, down);
}

void TCustomCellGrid::DoExit() {
  TCustomControl::DoExit();
  if (!Options_.Contains(goAlwaysShowEditor)) HideEditor();
}
