// The grid's construction, geometry, current cell, selection and scrolling,
// count changes, published properties and its window messages. Painting,
// input, the in-place editor and the cell operations have modules of their
// own (CellGridPaint, CellGridInput, CellGridEdit, CellGridCells).
#include "controls/CellGrid.h"

#include <algorithm>

#include "controls/GridDrawing.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/ComponentStreams.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiScopes.h"
#include "platform/win/GdiText.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"

using namespace win;

namespace {

constexpr Integer kMaxExtentEntries = 134217725;
constexpr Integer kScrollRange = 127;

TRect Grown(const TRect& r, Integer by) {
  return {r.Left - by, r.Top - by, r.Right + by, r.Bottom + by};
}

bool Intersects(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

}  // namespace

VXN_IMPLEMENT_CLASS(TCustomCellGrid, TCustomControl)

TCustomCellGrid::TCustomCellGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks};
  DoubleBuffered = true;
  Cells_ = std::make_unique<TCells>(Defaults_, ColCount_, RowCount_);
  Current_ = Anchor_ = TopLeft_ = {FixedCols_ + 1, FixedRows_ + 1};
  Selection_ = {1, 1, 1, 1};
  SetBounds(Left(), Top(), ColCount_ * DefaultColWidth_, RowCount_ * DefaultRowHeight_);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  if (Screen) {
    // The spreadsheet cursor and two zoom cursors, from the program's
    // resources; the grid itself uses only the first.
    const auto program = reinterpret_cast<HINSTANCE>(1);
    Screen->SetCursors(1001, LoadCursor(program, "EXCEL"));
    Screen->SetCursors(1002, LoadCursor(program, "ZOOMIN"));
    Screen->SetCursors(1003, LoadCursor(program, "ZOOMOUT"));
  }
}

TCustomCellGrid::~TCustomCellGrid() {
  // The editor is the grid's own: it goes before the control tree would
  // free it as a child.
  InplaceEdit_.reset();
  DestroyHandle();
}

// --- Cell store ------------------------------------------------------------------------------

TCellInfo* TCustomCellGrid::CellAt(Integer ACol, Integer ARow) {
  return &Cells_->At(ACol, ARow);
}

void TCustomCellGrid::ResetRange(const TGridRect& Rect) {
  InvalidateCells(Cells_->ResetRange(Rect));
}

void TCustomCellGrid::CopyRangeToBuffer(const TGridRect& Rect) {
  CellBuffer_ = Cells_->CopyRange(Rect);
}

void TCustomCellGrid::PasteBuffer(const TGridRect& Dest) {
  Cells_->Paste(CellBuffer_, Dest);
}

// --- Extents ---------------------------------------------------------------------------------

Integer TCustomCellGrid::TAxisDrawInfo::Extent(Integer Index) const {
  return Columns ? Grid->GetColWidth(Index) : Grid->GetRowHeight(Index);
}

Integer TCustomCellGrid::GetColWidth(Integer Index) const {
  if (!ColWidths_ || Index < 0 || Index >= static_cast<Integer>(ColWidths_->size()))
    return DefaultColWidth_;
  return (*ColWidths_)[static_cast<size_t>(Index)];
}

Integer TCustomCellGrid::GetRowHeight(Integer Index) const {
  if (!RowHeights_ || Index < 0 || Index >= static_cast<Integer>(RowHeights_->size()))
    return DefaultRowHeight_;
  return (*RowHeights_)[static_cast<size_t>(Index)];
}

void TCustomCellGrid::SetColWidth(Integer Index, Integer Width) {
  if (!ColWidths_)
    ColWidths_ =
        std::make_unique<std::vector<Integer>>(static_cast<size_t>(ColCount_), DefaultColWidth_);
  if (Index < 0 || Index >= ColCount_ || Index >= static_cast<Integer>(ColWidths_->size()))
    throw EInvalidGridOperation(SGridIndexOutOfRange);
  if ((*ColWidths_)[static_cast<size_t>(Index)] == Width) return;
  (*ColWidths_)[static_cast<size_t>(Index)] = Width;
  if (HandleAllocated()) {
    Integer first = Index;
    for (Integer r = 0; r < RowCount_; ++r)
      first = std::min(first, Cells_->MergeRectOf(Index, r).Left);
    TDrawInfo info = CalcDrawInfo();
    TRect client = ClientRect();
    InvalidatePixels({AxisPos(info.Horz, first), 0, client.Right, client.Bottom});
  }
  ColWidthsChanged();
}

void TCustomCellGrid::SetRowHeight(Integer Index, Integer Height) {
  if (!RowHeights_)
    RowHeights_ =
        std::make_unique<std::vector<Integer>>(static_cast<size_t>(RowCount_), DefaultRowHeight_);
  if (Index < 0 || Index >= RowCount_ || Index >= static_cast<Integer>(RowHeights_->size()))
    throw EInvalidGridOperation(SGridIndexOutOfRange);
  if ((*RowHeights_)[static_cast<size_t>(Index)] == Height) return;
  (*RowHeights_)[static_cast<size_t>(Index)] = Height;
  if (HandleAllocated()) {
    Integer first = Index;
    for (Integer c = 0; c < ColCount_; ++c)
      first = std::min(first, Cells_->MergeRectOf(c, Index).Top);
    TDrawInfo info = CalcDrawInfo();
    TRect client = ClientRect();
    InvalidatePixels({0, AxisPos(info.Vert, first), client.Right, client.Bottom});
  }
  RowHeightsChanged();
}

void TCustomCellGrid::ColWidthsChanged() {
  UpdateScrollRange();
  UpdateEdit();
}

void TCustomCellGrid::RowHeightsChanged() {
  UpdateScrollRange();
  UpdateEdit();
}

void TCustomCellGrid::SetDefaultColWidth(Integer Value) {
  DefaultColWidth_ = Value;
  ColWidthsChanged();
  RepaintIfAutoUpdate();
}

void TCustomCellGrid::SetDefaultRowHeight(Integer Value) {
  DefaultRowHeight_ = Value;
  RowHeightsChanged();
  RepaintIfAutoUpdate();
}

void TCustomCellGrid::ResizeExtents(Integer NewColCount, Integer NewRowCount) {
  auto resize = [](std::unique_ptr<std::vector<Integer>>& list, Integer count, Integer fill) {
    if (!list) return;
    if (count > kMaxExtentEntries) throw EInvalidGridOperation(SGridTooLarge);
    if (count < 0) throw EInvalidGridOperation(STooManyDeleted);
    list->resize(static_cast<size_t>(count), fill);
  };
  resize(ColWidths_, NewColCount, DefaultColWidth_);
  resize(RowHeights_, NewRowCount, DefaultRowHeight_);
}

// --- Geometry --------------------------------------------------------------------------------

TCustomCellGrid::TDrawInfo TCustomCellGrid::CalcDrawInfo() {
  TRect client = ClientRect();
  return CalcDrawInfoFor(client.Right, client.Bottom);
}

TCustomCellGrid::TDrawInfo TCustomCellGrid::CalcDrawInfoFor(Integer ClientWidth,
                                                            Integer ClientHeight) {
  TDrawInfo info;
  auto calc = [this](TAxisDrawInfo& a, bool columns, Integer extent) {
    a.Columns = columns;
    a.Grid = this;
    bool lines = columns ? (Options_.Contains(goFixedVertLine) || Options_.Contains(goVertLine))
                         : (Options_.Contains(goFixedHorzLine) || Options_.Contains(goHorzLine));
    const Integer lw = a.EffectiveLineWidth = lines ? GridLineWidth_ : 0;
    bool title = columns ? ShowRowTitle_ : ShowColTitle_;
    a.TitleBoundary = title ? a.Extent(0) + lw : 0;
    a.FixedCellCount = columns ? FixedCols_ : FixedRows_;
    a.FixedBoundary = a.TitleBoundary;
    for (Integer i = 1; i <= a.FixedCellCount; ++i) a.FixedBoundary += a.Extent(i) + lw;
    a.GridExtent = extent;
    a.FirstGridCell = columns ? TopLeft_.X : TopLeft_.Y;
    a.GridCellCount = columns ? ColCount_ : RowCount_;
    a.GridBoundary = a.FullVisBoundary = a.FixedBoundary;
    a.LastFullVisibleCell = a.FirstGridCell;
    for (Integer i = a.FirstGridCell; i < a.GridCellCount; ++i) {
      a.GridBoundary += a.Extent(i) + lw;
      if (a.GridBoundary > extent + lw) {
        a.GridBoundary = extent;
        break;
      }
      a.LastFullVisibleCell = i;
      a.FullVisBoundary = a.GridBoundary;
    }
  };
  calc(info.Horz, true, ClientWidth);
  calc(info.Vert, false, ClientHeight);
  return info;
}

Integer TCustomCellGrid::AxisPos(const TAxisDrawInfo& Axis, Integer Index) const {
  const Integer lw = Axis.EffectiveLineWidth;
  if (Index <= 0) return 0;
  if (Index <= Axis.FixedCellCount) {
    Integer pos = Axis.TitleBoundary;
    for (Integer i = 1; i < Index; ++i) pos += Axis.Extent(i) + lw;
    return pos;
  }
  Integer pos = Axis.FixedBoundary - (Axis.Columns ? ColOffset_ : 0);
  for (Integer i = Axis.FirstGridCell; i < Index; ++i) pos += Axis.Extent(i) + lw;
  for (Integer i = Index; i < Axis.FirstGridCell; ++i) pos -= Axis.Extent(i) + lw;
  return pos;
}

TRect TCustomCellGrid::CellRect(Integer ACol, Integer ARow) {
  TDrawInfo info = CalcDrawInfo();
  Integer left = AxisPos(info.Horz, ACol), top = AxisPos(info.Vert, ARow);
  return {left, top, left + GetColWidth(ACol), top + GetRowHeight(ARow)};
}

TRect TCustomCellGrid::BoxRect(const TGridRect& Rect, bool WithLines) {
  TDrawInfo info = CalcDrawInfo();
  Integer left = AxisPos(info.Horz, Rect.Left), top = AxisPos(info.Vert, Rect.Top);
  Integer right = AxisPos(info.Horz, Rect.Right) + GetColWidth(Rect.Right);
  Integer bottom = AxisPos(info.Vert, Rect.Bottom) + GetRowHeight(Rect.Bottom);
  if (WithLines) {
    right += info.Horz.EffectiveLineWidth;
    bottom += info.Vert.EffectiveLineWidth;
  }
  return {left, top, right, bottom};
}

Integer TCustomCellGrid::AxisCellAt(const TAxisDrawInfo& Axis, Integer Pos) const {
  const Integer lw = Axis.EffectiveLineWidth;
  if (Pos < Axis.TitleBoundary) return 0;
  auto search = [&](Integer start, Integer from, Integer to) {
    Integer end = start;
    for (Integer i = from; i <= to; ++i) {
      end += Axis.Extent(i) + lw;
      if (end > Pos) return i;
    }
    return to;
  };
  if (Pos < Axis.FixedBoundary) return search(Axis.TitleBoundary, 1, Axis.FixedCellCount);
  return search(Axis.FixedBoundary, Axis.FirstGridCell, Axis.GridCellCount - 1);
}

TGridCoord TCustomCellGrid::MouseCoord(Integer X, Integer Y) {
  TDrawInfo info = CalcDrawInfo();
  return {AxisCellAt(info.Horz, X), AxisCellAt(info.Vert, Y)};
}

TGridCoord TCustomCellGrid::CalcMaxTopLeft(TGridCoord Cell, const TDrawInfo& Info) const {
  auto calc = [](const TAxisDrawInfo& a, Integer cell) {
    const Integer lw = a.EffectiveLineWidth;
    if (cell <= a.FixedCellCount + 1) return cell;
    Integer remainder = a.GridExtent + lw, result = cell;
    for (Integer i = cell; i >= a.FixedCellCount + 1; --i) {
      remainder -= a.Extent(i) + lw;
      if (remainder < a.FixedBoundary) break;
      if (a.Extent(i) > 0) result = i;
    }
    return result;
  };
  return {calc(Info.Horz, Cell.X), calc(Info.Vert, Cell.Y)};
}

Integer TCustomCellGrid::VisibleColCount() {
  TDrawInfo info = CalcDrawInfo();
  return info.Horz.LastFullVisibleCell - TopLeft_.X + 1;
}

Integer TCustomCellGrid::VisibleRowCount() {
  TDrawInfo info = CalcDrawInfo();
  return info.Vert.LastFullVisibleCell - TopLeft_.Y + 1;
}

// --- Invalidation ----------------------------------------------------------------------------

void TCustomCellGrid::InvalidatePixels(const TRect& R) {
  if (!HandleAllocated()) return;
  RECT r{R.Left, R.Top, R.Right, R.Bottom};
  InvalidateRect(Handle(), &r, FALSE);
  if (AutoUpdate_) UpdateWindow(Handle());
}

void TCustomCellGrid::InvalidateCells(const TGridRect& Rect) {
  if (!HandleAllocated()) return;
  InvalidatePixels(Grown(BoxRect(Rect, true), 3));
}

void TCustomCellGrid::InvalidateCell(Integer ACol, Integer ARow) {
  InvalidateCells({ACol, ARow, ACol, ARow});
}

void TCustomCellGrid::InvalidateRow(Integer ARow) {
  if (!HandleAllocated()) return;
  // The row's cells from the title column to the last one in view, whatever
  // the view's first column is.
  Integer last = std::min(ColCount_ - 1, TopLeft_.X + VisibleColCount());
  InvalidateCells({0, ARow, last, ARow});
}

void TCustomCellGrid::RepaintIfAutoUpdate() {
  if (!AutoUpdate_ || !HandleAllocated()) return;
  InvalidateRect(Handle(), nullptr, FALSE);
  UpdateWindow(Handle());
}

void TCustomCellGrid::SetAutoUpdate(bool Value) {
  AutoUpdate_ = Value;
  RepaintIfAutoUpdate();
}

// --- Current cell and selection -------------------------------------------------------------

bool TCustomCellGrid::SelectCell(Integer ACol, Integer ARow) {
  bool can = true;
  OnSelectCell(this, ACol, ARow, can);
  return can;
}

void TCustomCellGrid::FocusCell(Integer ACol, Integer ARow, bool MoveAnchor, bool Show) {
  if (ACol < 0 || ARow < 0 || ACol >= ColCount_ || ARow >= RowCount_)
    throw EInvalidGridOperation(SGridIndexOutOfRange);
  if (!SelectCell(ACol, ARow)) return;
  Current_ = {ACol, ARow};
  if (!Options_.Contains(goAlwaysShowEditor)) HideEditor();
  if (MoveAnchor || !Options_.Contains(goRangeSelect)) {
    Anchor_ = Cells_->MergeRectOf(ACol, ARow).BottomRight();
    if (Options_.Contains(goRowSelect)) Anchor_.X = ColCount_ - 1;
  }
  if (Show) ClampInView(Current_);
  {
    bool saved = AutoUpdate_;
    AutoUpdate_ = false;
    ScopeExit restore([&] { AutoUpdate_ = saved; });
    InvalidateCells(GridRectOf(Current_, Anchor_));
  }
  TGridRect sel = GridRectOf(Current_, Anchor_);
  if (Options_.Contains(goRowSelect)) sel.Left = FixedCols_ + 1;
  SetSelection(sel);
}

void TCustomCellGrid::MoveCurrent(Integer ACol, Integer ARow, bool MoveAnchor) {
  if (Current_ == TGridCoord{ACol, ARow}) return;
  // A value that the old cell refuses keeps the editor, and the current
  // cell, where they are (mended).
  if (EditingCell_.X >= 0 && !HideEdit(true)) return;
  FocusCell(ACol, ARow, MoveAnchor, true);
  UpdateEdit();
  Click();
}

void TCustomCellGrid::MoveAnchor(TGridCoord Cell, bool Update) {
  if (!Options_.Contains(goRangeSelect)) {
    FocusCell(Cell.X, Cell.Y, true, true);
    return;
  }
  Anchor_ = Cell;
  if (Options_.Contains(goRowSelect)) Anchor_.X = ColCount_ - 1;
  if (Update) {
    TGridRect sel = GridRectOf(Current_, Anchor_);
    if (Options_.Contains(goRowSelect)) sel.Left = FixedCols_ + 1;
    SetSelection(sel);
  }
}

void TCustomCellGrid::SetSelection(const TGridRect& Rect) {
  if (Rect == Selection_) return;
  auto clampCol = [&](Integer c) {
    return std::clamp(c, std::min(FixedCols_ + 1, ColCount_ - 1), ColCount_ - 1);
  };
  auto clampRow = [&](Integer r) {
    return std::clamp(r, std::min(FixedRows_ + 1, RowCount_ - 1), RowCount_ - 1);
  };
  TGridRect old = Selection_;
  Selection_ = {clampCol(Rect.Left), clampRow(Rect.Top), clampCol(Rect.Right),
                clampRow(Rect.Bottom)};
  if (!HandleAllocated()) return;
  InvalidateCells({old.Left, 0, old.Right, 0});
  InvalidateCells({Selection_.Left, 0, Selection_.Right, 0});
  InvalidateCells({0, old.Top, 0, old.Bottom});
  InvalidateCells({0, Selection_.Top, 0, Selection_.Bottom});
  auto box = [&](TGridRect r) {
    if (!Cells_->RangeIsWhole(r)) r = Cells_->ExpandToMergedRanges(r.TopLeft(), r.BottomRight());
    return BoxRect(r, true);
  };
  TRect a = box(old), b = box(Selection_);
  if (!Intersects(a, b)) {
    InvalidatePixels(Grown(a, 4));
    InvalidatePixels(Grown(b, 4));
    return;
  }
  // What changed lies in four bands around the common part.
  TRect u{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
  TRect i{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
  const TRect bands[] = {{u.Left, u.Top, u.Right, i.Top},
                         {u.Left, i.Bottom, u.Right, u.Bottom},
                         {u.Left, i.Top, i.Left, i.Bottom},
                         {i.Right, i.Top, u.Right, i.Bottom}};
  for (const TRect& band : bands)
    if (band.Right > band.Left && band.Bottom > band.Top) InvalidatePixels(Grown(band, 4));
}

void TCustomCellGrid::ClampInView(TGridCoord Cell) {
  if (!HandleAllocated()) return;
  TDrawInfo info = CalcDrawInfo();
  TGridCoord tl = TopLeft_;
  if (Cell.X < TopLeft_.X && TopLeft_.X > FixedCols_ + 1)
    tl.X = std::max(Cell.X, FixedCols_ + 1);
  else if (Cell.X > info.Horz.LastFullVisibleCell)
    tl.X = CalcMaxTopLeft(Cell, info).X;
  if (Cell.Y < TopLeft_.Y && TopLeft_.Y > FixedRows_ + 1)
    tl.Y = std::max(Cell.Y, FixedRows_ + 1);
  else if (Cell.Y > info.Vert.LastFullVisibleCell)
    tl.Y = CalcMaxTopLeft(Cell, info).Y;
  MoveTopLeft(tl.X, tl.Y);
}

// --- Scrolling -------------------------------------------------------------------------------

void TCustomCellGrid::MoveTopLeft(Integer ALeft, Integer ATop) {
  if (TopLeft_ == TGridCoord{ALeft, ATop}) return;
  TGridCoord old = TopLeft_;
  TopLeft_ = {ALeft, ATop};
  UpdateScrollPos();
  TopLeftMoved(old);
}

void TCustomCellGrid::TopLeftMoved(TGridCoord OldTopLeft) {
  if (HandleAllocated()) {
    TDrawInfo info = CalcDrawInfo();
    auto distance = [](const TAxisDrawInfo& a, Integer from, Integer to) {
      Integer d = 0;
      for (Integer i = std::min(from, to); i < std::max(from, to); ++i)
        d += a.Extent(i) + a.EffectiveLineWidth;
      return to > from ? d : -d;
    };
    Integer dx = distance(info.Horz, OldTopLeft.X, TopLeft_.X);
    Integer dy = distance(info.Vert, OldTopLeft.Y, TopLeft_.Y);
    TRect client = ClientRect();
    const Integer fx = info.Horz.FixedBoundary, fy = info.Vert.FixedBoundary;
    if (std::abs(dx) > client.Right - fx || std::abs(dy) > client.Bottom - fy) {
      RepaintIfAutoUpdate();
    } else {
      UINT flags = SW_INVALIDATE | (DefaultDrawing_ ? 0 : SW_ERASE);
      HWND wnd = Handle();
      auto scroll = [&](TRect band, Integer x, Integer y) {
        if (band.Right <= band.Left || band.Bottom <= band.Top) return;
        RECT r{band.Left, band.Top, band.Right, band.Bottom};
        ScrollWindowEx(wnd, x, y, &r, &r, nullptr, nullptr, flags);
      };
      if (dy == 0) {
        scroll({fx, 0, client.Right, client.Bottom}, -dx, 0);
      } else if (dx == 0) {
        scroll({0, fy, client.Right, client.Bottom}, 0, -dy);
      } else {
        scroll({fx, 0, client.Right, fy}, -dx, 0);
        scroll({0, fy, fx, client.Bottom}, 0, -dy);
        scroll({fx, fy, client.Right, client.Bottom}, -dx, -dy);
      }
    }
    if (Options_.Contains(goRowSelect)) InvalidateCells(Selection_);
  }
  TopLeftChanged();
  if (AutoUpdate_ && HandleAllocated()) UpdateWindow(Handle());
}

void TCustomCellGrid::TopLeftChanged() {
  if (EditorMode_ && InplaceEdit_ && EditingCell_.X >= 0) {
    TGridRect range = Cells_->MergeRectOf(Current_.X, Current_.Y);
    TRect a = CellRect(range.Left, range.Top), b = CellRect(range.Right, range.Bottom);
    InplaceEdit_->UpdateLoc({a.Left + 2, a.Top + 2, b.Right - 2, b.Bottom - 2});
  }
  OnTopLeftChanged(this);
}

bool TCustomCellGrid::ShowsWindow() {
  return HandleAllocated() && Showing();
}

void TCustomCellGrid::SetScrollRangeOf(int Bar, Integer Max) {
  Integer lo = 0, hi = 0;
  GetScrollRange(Handle(), Bar, &lo, &hi);
  if (lo != 0 || hi != Max) SetScrollRange(Handle(), Bar, 0, Max, TRUE);
}

void TCustomCellGrid::UpdateScrollRange() {
  if (!ShowsWindow() || ScrollBars_ == ssNone || UpdatingScrollRange_) return;
  HWND wnd = Handle();
  TGridCoord oldTopLeft = TopLeft_;
  TRect client = ClientRect();
  Integer width = client.Right, height = client.Bottom;
  Integer lo = 0, hi = 0;
  const bool horz = ScrollBars_ == ssHorizontal || ScrollBars_ == ssBoth;
  const bool vert = ScrollBars_ == ssVertical || ScrollBars_ == ssBoth;
  if (GetScrollRange(wnd, SB_VERT, &lo, &hi) && hi > lo &&
      (GetWindowLong(wnd, GWL_STYLE) & WS_VSCROLL))
    width += GetSystemMetrics(SM_CXVSCROLL);
  if (GetScrollRange(wnd, SB_HORZ, &lo, &hi) && hi > lo &&
      (GetWindowLong(wnd, GWL_STYLE) & WS_HSCROLL))
    height += GetSystemMetrics(SM_CYHSCROLL);
  // The bars' own size changes come back as WM_SIZE while the ranges are set.
  TScrollStyle saved = ScrollBars_;
  UpdatingScrollRange_ = true;
  ScrollBars_ = ssNone;
  ScopeExit restore([&] {
    ScrollBars_ = saved;
    UpdatingScrollRange_ = false;
  });
  bool horzShown = false, vertShown = false;
  auto doHorz = [&]() {
    if (!horz) return;
    Integer max = 0;
    if (ColCount_ == 2) {
      max = std::max(0, GetColWidth(1) - width);
    } else {
      TDrawInfo info =
          CalcDrawInfoFor(width, height - (horzShown ? GetSystemMetrics(SM_CYHSCROLL) : 0));
      TGridCoord maxTL = CalcMaxTopLeft({ColCount_ - 1, RowCount_ - 1}, info);
      max = maxTL.X > FixedCols_ + 1 ? kScrollRange : 0;
      if (TopLeft_.X > maxTL.X) {
        TopLeft_.X = maxTL.X;
        Invalidate();
      }
    }
    SetScrollRangeOf(SB_HORZ, max);
    horzShown = max > 0;
  };
  doHorz();
  if (vert) {
    Integer h = height - (horzShown ? GetSystemMetrics(SM_CYHSCROLL) : 0);
    Integer max = 0;
    if (RowCount_ == 2) {
      max = std::max(0, GetRowHeight(1) - h);
    } else {
      TDrawInfo info = CalcDrawInfoFor(width, h);
      TGridCoord maxTL = CalcMaxTopLeft({ColCount_ - 1, RowCount_ - 1}, info);
      max = maxTL.Y > FixedRows_ + 1 ? kScrollRange : 0;
      if (TopLeft_.Y > maxTL.Y) {
        TopLeft_.Y = maxTL.Y;
        Invalidate();
      }
    }
    SetScrollRangeOf(SB_VERT, max);
    vertShown = max > 0;
    if (vertShown) {
      width -= GetSystemMetrics(SM_CXVSCROLL);
      doHorz();
    }
  }
  restore.Dismiss();
  ScrollBars_ = saved;
  UpdatingScrollRange_ = false;
  UpdateScrollPos();
  if (!(TopLeft_ == oldTopLeft)) TopLeftMoved(oldTopLeft);
}

void TCustomCellGrid::UpdateScrollPos() {
  if (!HandleAllocated() || ScrollBars_ == ssNone) return;
  HWND wnd = Handle();
  TDrawInfo info = CalcDrawInfo();
  TGridCoord maxTL = CalcMaxTopLeft({ColCount_ - 1, RowCount_ - 1}, info);
  // Mended: when everything fits there is nothing to divide by; the
  // position is 0.
  auto scaled = [](Integer value, Integer first, Integer max) {
    return max > first ? MulDiv(value - first, kScrollRange, max - first) : 0;
  };
  if (ScrollBars_ == ssHorizontal || ScrollBars_ == ssBoth) {
    Integer pos = ColCount_ == 2 ? ColOffset_ : scaled(TopLeft_.X, FixedCols_ + 1, maxTL.X);
    if (GetScrollPos(wnd, SB_HORZ) != pos) SetScrollPos(wnd, SB_HORZ, pos, TRUE);
  }
  if (ScrollBars_ == ssVertical || ScrollBars_ == ssBoth) {
    Integer pos = scaled(TopLeft_.Y, FixedRows_ + 1, maxTL.Y);
    if (GetScrollPos(wnd, SB_VERT) != pos) SetScrollPos(wnd, SB_VERT, pos, TRUE);
  }
}

void TCustomCellGrid::ScrollColOffset(WORD Code, Integer Thumb) {
  TDrawInfo info = CalcDrawInfo();
  TRect client = ClientRect();
  const Integer visible = client.Right - info.Horz.FixedBoundary;
  const Integer largest = std::max(0, GetColWidth(1) - visible);
  Integer offset = ColOffset_;
  // A line is the width of the character "0" of the grid's font.
  Integer line = 0;
  {
    WindowDc dc(Handle());
    ObjectSelection font(dc, Font()->Handle());
    SIZE size{};
    GetTextExtentPoint32(dc, "0", 1, &size);
    line = size.cx;
  }
  switch (Code) {
    case SB_LINEUP:
      offset -= line;
      break;
    case SB_LINEDOWN:
      offset += line;
      break;
    case SB_PAGEUP:
      offset -= visible;
      break;
    case SB_PAGEDOWN:
      offset += visible;
      break;
    case SB_THUMBPOSITION:
      offset = Thumb;
      break;
    case SB_THUMBTRACK:
      if (Options_.Contains(goThumbTracking)) offset = Thumb;
      break;
    case SB_TOP:
      offset = 0;
      break;
    case SB_BOTTOM:
      offset = largest;
      break;
  }
  offset = std::clamp(offset, 0, largest);
  if (offset == ColOffset_) return;
  Integer delta = ColOffset_ - offset;
  ColOffset_ = offset;
  RECT band{info.Horz.FixedBoundary, 0, client.Right, client.Bottom};
  ScrollWindowEx(Handle(), delta, 0, &band, &band, nullptr, nullptr, SW_INVALIDATE);
  RECT title{0, 0, client.Right, info.Vert.TitleBoundary};
  InvalidateRect(Handle(), &title, FALSE);
  UpdateWindow(Handle());
  UpdateScrollPos();
}

void TCustomCellGrid::ScrollByMessage(int Bar, WORD Code, Integer Thumb) {
  HideEditor();
  if (Visible() && CanFocus() && TabStop() && !Designing() && HandleAllocated() && !GridFocused())
    SetFocus();
  if (Bar == SB_HORZ && ColCount_ == 2) {
    ScrollColOffset(Code, Thumb);
    return;
  }
  const bool horz = Bar == SB_HORZ;
  TDrawInfo info = CalcDrawInfo();
  const TAxisDrawInfo& axis = horz ? info.Horz : info.Vert;
  const Integer first = (horz ? FixedCols_ : FixedRows_) + 1;
  TGridCoord maxTL = CalcMaxTopLeft({ColCount_ - 1, RowCount_ - 1}, info);
  const Integer max = horz ? maxTL.X : maxTL.Y;
  const Integer current = horz ? TopLeft_.X : TopLeft_.Y;
  Integer pos = current;
  switch (Code) {
    case SB_LINEUP:
    case SB_LINEDOWN: {
      const Integer step = Code == SB_LINEUP ? -1 : 1;
      pos += step;
      while (pos > first && pos < max && axis.Extent(pos) <= 0) pos += step;
      break;
    }
    case SB_PAGEUP: {
      TGridCoord back = CalcMaxTopLeft(
          horz ? TGridCoord{current, TopLeft_.Y} : TGridCoord{TopLeft_.X, current}, info);
      pos -= std::max(1, current - (horz ? back.X : back.Y));
      break;
    }
    case SB_PAGEDOWN:
      pos += std::max(1, axis.LastFullVisibleCell - current);
      break;
    case SB_THUMBPOSITION:
      pos = MulDiv(Thumb, max - first, kScrollRange) + first;
      break;
    case SB_THUMBTRACK:
      if (Options_.Contains(goThumbTracking))
        pos = MulDiv(Thumb, max - first, kScrollRange) + first;
      break;
    case SB_TOP:
      pos = first;
      break;
    case SB_BOTTOM:
      pos = max;
      break;
    default:
      break;
  }
  pos = std::clamp(pos, first, std::max(first, max));
  if (pos == current) return;
  if (horz)
    MoveTopLeft(pos, TopLeft_.Y);
  else
    MoveTopLeft(TopLeft_.X, pos);
}

// --- Counts ----------------------------------------------------------------------------------

void TCustomCellGrid::ChangeSize(Integer NewColCount, Integer NewRowCount) {
  const Integer oldCols = ColCount_, oldRows = RowCount_;
  const Integer oldFixedCols = FixedCols_, oldFixedRows = FixedRows_;
  const TGridCoord oldTopLeft = TopLeft_;
  TDrawInfo oldInfo = CalcDrawInfo();
  ColCount_ = NewColCount;
  RowCount_ = NewRowCount;
  if (FixedCols_ + 1 >= ColCount_) FixedCols_ = ColCount_ - 2;
  if (FixedRows_ + 1 >= RowCount_) FixedRows_ = RowCount_ - 2;
  // A count change that fails puts the old counts back before the error
  // goes on.
  ScopeExit rollback([&] {
    ColCount_ = oldCols;
    RowCount_ = oldRows;
    FixedCols_ = oldFixedCols;
    FixedRows_ = oldFixedRows;
    TopLeft_ = oldTopLeft;
    try {
      ResizeExtents(oldCols, oldRows);
      UpdateScrollRange();
    } catch (const std::exception&) {
      // The first error is the one reported.
    }
  });
  if (NewColCount < oldCols || NewRowCount < oldRows) {
    TGridCoord maxTL = CalcMaxTopLeft({ColCount_ - 1, RowCount_ - 1}, CalcDrawInfo());
    TopLeft_.X = std::min(TopLeft_.X, maxTL.X);
    TopLeft_.Y = std::min(TopLeft_.Y, maxTL.Y);
  }
  ResizeExtents(ColCount_, RowCount_);
  TGridCoord clamped{std::min(Current_.X, ColCount_ - 1), std::min(Current_.Y, RowCount_ - 1)};
  if (!(clamped == Current_)) FocusCell(clamped.X, clamped.Y, true, true);
  TGridCoord anchor{std::min(Anchor_.X, ColCount_ - 1), std::min(Anchor_.Y, RowCount_ - 1)};
  if (!(anchor == Anchor_)) MoveAnchor(anchor, true);
  if (Options_.Contains(goRowSelect))
    SetSelection({FixedCols_ + 1, Selection_.Top, ColCount_ - 1, Selection_.Bottom});
  if (!(TopLeft_ == oldTopLeft)) {
    RepaintIfAutoUpdate();
  } else if (HandleAllocated() && AutoUpdate_) {
    TDrawInfo info = CalcDrawInfo();
    TRect client = ClientRect();
    Integer col = std::min(oldInfo.Horz.LastFullVisibleCell, info.Horz.LastFullVisibleCell);
    Integer row = std::min(oldInfo.Vert.LastFullVisibleCell, info.Vert.LastFullVisibleCell);
    InvalidatePixels({AxisPos(info.Horz, col), 0, client.Right, client.Bottom});
    InvalidatePixels({0, AxisPos(info.Vert, row), client.Right, client.Bottom});
  }
  UpdateScrollRange();
  SizeChanged(oldCols, oldRows);
  rollback.Dismiss();
  RepaintIfAutoUpdate();
}

void TCustomCellGrid::SizeChanged(Integer OldColCount, Integer OldRowCount) {
  (void)OldColCount;
  (void)OldRowCount;
}

void TCustomCellGrid::SetColCount(Integer Value) {
  if (Value > 256) {
    if (Designing()) ShowErrorBox(SGridTooManyColumns);
    Value = 256;
  }
  Value = std::max(Value, 2);
  if (Value == ColCount_) return;
  if (Value < ColCount_)
    for (Integer c = Value; c < ColCount_; ++c)
      for (Integer r = 1; r < RowCount_; ++r)
        if (Cells_->IsMergedCell(c, r)) return;
  // Refused before the store grows for nothing.
  if (Value > ColCount_ && ColWidths_ && Value > kMaxExtentEntries)
    throw EInvalidGridOperation(SGridTooLarge);
  if (FixedCols_ >= Value - 1) FixedCols_ = Value - 2;
  const Integer old = ColCount_;
  if (Value > old) {
    // New records exist before anything may paint them; a failing size
    // change takes them away again, and the old cells stay as they were.
    Cells_->ResizeColumns(Value);
    ScopeExit undo([&] { Cells_->ResizeColumns(old); });
    ChangeSize(Value, RowCount_);
    undo.Dismiss();
  } else {
    // Mended: records go only once the size change has succeeded.
    ChangeSize(Value, RowCount_);
    Cells_->ResizeColumns(Value);
  }
}

void TCustomCellGrid::SetRowCount(Integer Value) {
  Value = std::max(Value, 2);
  if (Value == RowCount_) return;
  if (Value < RowCount_)
    for (Integer r = Value; r < RowCount_; ++r)
      for (Integer c = 1; c < ColCount_; ++c)
        if (Cells_->IsMergedCell(c, r)) return;
  if (Value > RowCount_ && RowHeights_ && Value > kMaxExtentEntries)
    throw EInvalidGridOperation(SGridTooLarge);
  if (FixedRows_ >= Value - 1) FixedRows_ = Value - 2;
  const Integer old = RowCount_;
  if (Value > old) {
    Cells_->ResizeRows(Value);
    ScopeExit undo([&] { Cells_->ResizeRows(old); });
    ChangeSize(ColCount_, Value);
    undo.Dismiss();
  } else {
    ChangeSize(ColCount_, Value);
    Cells_->ResizeRows(Value);
  }
}

void TCustomCellGrid::ResetToFirstScrollingCell() {
  TopLeft_ = Current_ = {FixedCols_ + 1, FixedRows_ + 1};
  Anchor_ = Cells_->MergeRectOf(Current_.X, Current_.Y).BottomRight();
  Selection_ = GridRectOf(Current_, Anchor_);
  if (Options_.Contains(goRowSelect)) {
    Anchor_.X = ColCount_ - 1;
    Selection_ = {FixedCols_ + 1, Current_.Y, ColCount_ - 1, Anchor_.Y};
  }
  UpdateScrollRange();
  RepaintIfAutoUpdate();
}

void TCustomCellGrid::SetFixedCols(Integer Value) {
  if (Value == FixedCols_ || Value >= ColCount_ - 1) return;
  if (Value < 0) throw EInvalidGridOperation(SGridIndexOutOfRange);
  FixedCols_ = Value;
  ResetToFirstScrollingCell();
}

void TCustomCellGrid::SetFixedRows(Integer Value) {
  if (Value == FixedRows_ || Value >= RowCount_ - 1) return;
  if (Value < 0) throw EInvalidGridOperation(SGridIndexOutOfRange);
  FixedRows_ = Value;
  ResetToFirstScrollingCell();
}

// --- Look and options ------------------------------------------------------------------------

void TCustomCellGrid::SetGridLineWidth(Integer Value) {
  if (Value == GridLineWidth_) return;
  GridLineWidth_ = Value;
  RepaintIfAutoUpdate();
}

void TCustomCellGrid::SetShowColTitle(bool Value) {
  if (Value == ShowColTitle_) return;
  ShowColTitle_ = Value;
  Invalidate();
}

void TCustomCellGrid::SetShowRowTitle(bool Value) {
  if (Value == ShowRowTitle_) return;
  ShowRowTitle_ = Value;
  Invalidate();
}

void TCustomCellGrid::SetOptions(TCellGridOptions Value) {
  if (Value.Contains(goRowSelect)) Value -= goAlwaysShowEditor;
  Options_ = Value;
  if (!EditorMode_) {
    if (Options_.Contains(goAlwaysShowEditor))
      ShowEditor();
    else
      HideEditor();
  }
  if (Options_.Contains(goRowSelect)) FocusCell(Current_.X, Current_.Y, false, false);
  RepaintIfAutoUpdate();
}

void TCustomCellGrid::SetScrollBars(TScrollStyle Value) {
  if (Value == ScrollBars_) return;
  ScrollBars_ = Value;
  RecreateWnd();
}

void TCustomCellGrid::SetBorderStyle(TBorderStyle Value) {
  if (Value == BorderStyle_) return;
  BorderStyle_ = Value;
  RecreateWnd();
}

void TCustomCellGrid::SetCtl3D(bool Value) {
  if (Value == Ctl3D_) return;
  Ctl3D_ = Value;
  ParentCtl3D_ = false;
  RecreateWnd();
}

void TCustomCellGrid::SetDefaultDrawing(bool Value) {
  if (Value == DefaultDrawing_) return;
  DefaultDrawing_ = Value;
  RepaintIfAutoUpdate();
}

void TCustomCellGrid::SetAlwaysDrawFocus(bool Value) {
  if (Value == AlwaysDrawFocus_) return;
  AlwaysDrawFocus_ = Value;
  RepaintIfAutoUpdate();
}

#define VXN_GRID_COLOR_SETTER(Name, Field)        \
  void TCustomCellGrid::Set##Name(TColor Value) { \
    if (Value == Field) return;                   \
    Field = Value;                                \
    RepaintIfAutoUpdate();                        \
  }
VXN_GRID_COLOR_SETTER(FixedLineColor, FixedLineColor_)
VXN_GRID_COLOR_SETTER(ClientLineColor, ClientLineColor_)
VXN_GRID_COLOR_SETTER(TitleColor, Defaults_.TitleColor)
VXN_GRID_COLOR_SETTER(HighLightColor, HighLightColor_)
VXN_GRID_COLOR_SETTER(HighLightTextColor, HighLightTextColor_)
VXN_GRID_COLOR_SETTER(FocusedTitleColor, FocusedTitleColor_)
#undef VXN_GRID_COLOR_SETTER

bool TCustomCellGrid::GridFocused() {
  if (!HandleAllocated()) return false;
  HWND focus = GetFocus();
  return focus && (focus == Handle() || IsChild(Handle(), focus));
}

// --- Window ----------------------------------------------------------------------------------

void TCustomCellGrid::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_TABSTOP;
  if (ScrollBars_ == ssVertical || ScrollBars_ == ssBoth) Params.Style |= WS_VSCROLL;
  if (ScrollBars_ == ssHorizontal || ScrollBars_ == ssBoth) Params.Style |= WS_HSCROLL;
  Params.WindowClassStyle |= CS_DBLCLKS;
  if (BorderStyle_ == bsSingle) {
    if (Ctl3D_)
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
}

void TCustomCellGrid::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollRange();
}

void TCustomCellGrid::DefineProperties(TFiler* Filer) {
  TCustomControl::DefineProperties(Filer);
  auto define = [&](const char* name, bool columns) {
    Filer->DefineProperty(
        name,
        [this, columns](TReader& Reader) {
          Reader.ReadListBegin();
          for (Integer i = 0; !Reader.EndOfList(); ++i) {
            Integer value = Reader.ReadInteger();
            if (i >= (columns ? ColCount_ : RowCount_)) continue;
            if (columns)
              SetColWidth(i, value);
            else
              SetRowHeight(i, value);
          }
          Reader.ReadListEnd();
        },
        [this, columns](TWriter& Writer) {
          Writer.WriteListBegin();
          for (Integer i = 0; i < (columns ? ColCount_ : RowCount_); ++i)
            Writer.WriteInteger(columns ? GetColWidth(i) : GetRowHeight(i));
          Writer.WriteListEnd();
        },
        columns ? ColWidths_ != nullptr : RowHeights_ != nullptr);
  };
  define("ColWidths", true);
  define("RowHeights", false);
}

std::unique_ptr<TGridDrawing> TCustomCellGrid::CreateDrawing(TCanvas* ACanvas) {
  return NewGdiGridDrawing(ACanvas);
}

void TCustomCellGrid::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      // The paint covers every pixel.
      Message.Result = 1;
      return;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (Message.LParam == 0) {
        ScrollByMessage(Message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT,
                        LOWORD(static_cast<uintptr_t>(Message.WParam)),
                        static_cast<SHORT>(HIWORD(static_cast<uintptr_t>(Message.WParam))));
        Message.Result = 0;
        return;
      }
      break;
    case WM_SIZE:
      TCustomControl::WndProc(Message);
      UpdateScrollRange();
      return;
    case CM_SHOWINGCHANGED:
      TCustomControl::WndProc(Message);
      UpdateScrollRange();
      return;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTARROWS;
      if (!Options_.Contains(goRowSelect)) {
        if (Options_.Contains(goTabs)) code |= DLGC_WANTTAB;
        if (Options_.Contains(goEditing)) code |= DLGC_WANTCHARS;
      }
      Message.Result = code;
      return;
    }
    case CM_WANTSPECIALKEY:
      if (Message.WParam == VK_RETURN && Options_.Contains(goEditing)) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_CHAR: {
      auto ch = static_cast<char32_t>(Message.WParam);
      if (Options_.Contains(goEditing) && (ch == 8 || ch >= 0x20)) {
        ShowEditorChar(ch);
        Message.Result = 0;
        return;
      }
      break;
    }
    case WM_TIMER:
      if (Message.WParam == 1) {
        TimerTick();
        return;
      }
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(Message.WParam) == Handle() &&
          LOWORD(static_cast<uintptr_t>(Message.LParam)) == HTCLIENT) {
        SetGridCursor();
        Message.Result = 1;
        return;
      }
      break;
    case CM_DESIGNHITTEST: {
      TSizingHit hit;
      Message.Result =
          FindSizingBorder(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam), hit) ? 1 : 0;
      return;
    }
    case WM_CANCELMODE:
      CancelMode();
      break;
    case CM_CANCELMODE:
      if (InplaceEdit_) InplaceEdit_->WindowProc(Message);
      CancelMode();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      // Focus moving between the grid and its own editor neither enters nor
      // leaves the grid.
      const bool editor = InplaceEdit_ && InplaceEdit_->HandleAllocated() &&
                          reinterpret_cast<HWND>(Message.WParam) == InplaceEdit_->Handle();
      if (editor) {
        DefaultHandler(Message);
        return;
      }
      TCustomControl::WndProc(Message);
      InvalidateCells(Selection_);
      if (Message.Msg == WM_SETFOCUS)
        UpdateEdit();
      else
        HideEdit(false);
      return;
    }
    case CM_FONTCHANGED:
      TCustomControl::WndProc(Message);
      if (InplaceEdit_) InplaceEdit_->SetFont(Font());
      return;
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

// --- TCellGrid -------------------------------------------------------------------------------

// The events live in the base class; the table wants members of TCellGrid.
#define VXN_GRID_EVENT(Name) \
  P.Event(#Name, static_cast<decltype(TCellGrid::Name) TCellGrid::*>(&TCellGrid::Name))

VXN_IMPLEMENT_CREATABLE_CLASS(TCellGrid, TCustomCellGrid)
VXN_PUBLISH(TCellGrid) {
  using G = TCellGrid;
  P.Property("AlwaysDrawFocus", &G::AlwaysDrawFocus, &G::SetAlwaysDrawFocus).Default(false);
  P.Property("AutoUpdate", &G::AutoUpdate, &G::SetAutoUpdate).Default(true);
  P.Property("BorderStyle", &G::BorderStyle, &G::SetBorderStyle).Default(bsSingle);
  P.Property("ClientSizeable", &G::ClientSizeable, &G::SetClientSizeable).Default(false);
  P.Property("CellDataStyle", &G::CellDataStyle, &G::SetCellDataStyle).Default(dsText);
  P.Property("CellAlignMode", &G::CellAlignMode, &G::SetCellAlignMode)
      .Default(static_cast<int64_t>(TAlignMode::taTopLeft));
  P.Property("CellShowForeText", &G::CellShowForeText, &G::SetCellShowForeText).Default(true);
  P.Property("CellReadOnly", &G::CellReadOnly, &G::SetCellReadOnly).Default(false);
  P.Property("CellAutoWordBreak", &G::CellAutoWordBreak, &G::SetCellAutoWordBreak).Default(true);
  P.Property("CellLineWidth", &G::CellLineWidth, &G::SetCellLineWidth).Default(1);
  P.Property("CellPenStyle", &G::CellPenStyle, &G::SetCellPenStyle).Default(psSolid);
  P.Property("CellAllowNegative", &G::CellAllowNegative, &G::SetCellAllowNegative).Default(true);
  P.Property("CellTrailingZero", &G::CellTrailingZero, &G::SetCellTrailingZero).Default(false);
  P.Property("CellZeroNull", &G::CellZeroNull, &G::SetCellZeroNull).Default(true);
  P.Property("CellThousandSep", &G::CellThousandSep, &G::SetCellThousandSep).Default(true);
  P.Property("CellMaxLength", &G::CellMaxLength, &G::SetCellMaxLength).Default(255);
  P.Property("CellIntLength", &G::CellIntLength, &G::SetCellIntLength).Default(3);
  P.Property("CellDecLength", &G::CellDecLength, &G::SetCellDecLength).Default(2);
  P.Property("CellColor", &G::CellColor, &G::SetCellColor).Type(TypeInfoColor()).Default(clWhite);
  // Mended: one default, the size a new grid has.
  P.Property("CellFontSize", &G::CellFontSize, &G::SetCellFontSize).Default(8);
  P.Property("CellFontColor", &G::CellFontColor, &G::SetCellFontColor)
      .Type(TypeInfoColor())
      .Default(clBlack);
  P.Property("CellFontStyle", &G::CellFontStyle, &G::SetCellFontStyle).Default(0);
  P.Redeclare("Color").Default(clWindow);
  P.Property("ColCount", &G::ColCount, &G::SetColCount).Default(5);
  P.Property("Ctl3D", &G::Ctl3D, &G::SetCtl3D).Default(true);
  P.Property("DefaultColWidth", &G::DefaultColWidth, &G::SetDefaultColWidth).Default(80);
  P.Property("DefaultRowHeight", &G::DefaultRowHeight, &G::SetDefaultRowHeight).Default(30);
  P.Property("DefaultDrawing", &G::DefaultDrawing, &G::SetDefaultDrawing).Default(true);
  P.Property("FixedLineColor", &G::FixedLineColor, &G::SetFixedLineColor)
      .Type(TypeInfoColor())
      .Default(clBlack);
  P.Property("ClientLineColor", &G::ClientLineColor, &G::SetClientLineColor)
      .Type(TypeInfoColor())
      .Default(kGridClientLineColor);
  P.Property("FixedCols", &G::FixedCols, &G::SetFixedCols).Default(0);
  P.Property("RowCount", &G::RowCount, &G::SetRowCount).Default(5);
  P.Property("FixedRows", &G::FixedRows, &G::SetFixedRows).Default(0);
  P.Property("GridLineWidth", &G::GridLineWidth, &G::SetGridLineWidth).Default(1);
  P.Property("Options", &G::Options, &G::SetOptions)
      .Default(static_cast<int64_t>(
          TCellGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect}
              .Bits()));
  P.Property("GridCanCopyMove", &G::GridCanCopyMove, &G::SetGridCanCopyMove).Default(true);
  P.Property("GridCanFill", &G::GridCanFill, &G::SetGridCanFill).Default(true);
  P.Property("ParentCtl3D", &G::ParentCtl3D, &G::SetParentCtl3D).Default(true);
  P.Property("ParentBiDiMode", static_cast<bool G::*>(&G::ParentBiDiMode)).Default(true);
  P.Redeclare("ParentColor").Default(false);
  P.Property("ScrollBars", &G::ScrollBars, &G::SetScrollBars).Default(ssBoth);
  P.Property("ShowPopup", &G::ShowPopup, &G::SetShowPopup).Default(true);
  P.Property("VisibleColCount", &G::VisibleColCount, nullptr);
  P.Property("VisibleRowCount", &G::VisibleRowCount, nullptr);
  P.Property("HighLightColor", &G::HighLightColor, &G::SetHighLightColor)
      .Type(TypeInfoColor())
      .Default(clBlack);
  P.Property("TitleColor", &G::TitleColor, &G::SetTitleColor)
      .Type(TypeInfoColor())
      .Default(clBtnFace);
  P.Property("ShowColTitle", &G::ShowColTitle, &G::SetShowColTitle).Default(true);
  P.Property("ShowRowTitle", &G::ShowRowTitle, &G::SetShowRowTitle).Default(true);
  P.Property("FocusedTitleColor", &G::FocusedTitleColor, &G::SetFocusedTitleColor)
      .Type(TypeInfoColor())
      .Default(clBlack);
  P.Property("HighLightTextColor", &G::HighLightTextColor, &G::SetHighLightTextColor)
      .Type(TypeInfoColor())
      .Default(clWhite);
  P.Redeclare("TabStop").Default(true);
  VXN_GRID_EVENT(OnDrawCell);
  VXN_GRID_EVENT(OnGetEditMask);
  VXN_GRID_EVENT(OnGetEditText);
  VXN_GRID_EVENT(OnSelectCell);
  VXN_GRID_EVENT(OnSetEditText);
  VXN_GRID_EVENT(OnHideEdit);
  VXN_GRID_EVENT(OnSetForeText);
  VXN_GRID_EVENT(OnSetBackText);
  VXN_GRID_EVENT(OnTopLeftChanged);
  VXN_GRID_EVENT(OnCopyMoveCells);
  VXN_GRID_EVENT(OnFillCells);
  VXN_GRID_EVENT(BeforeSetCellProp);
  VXN_GRID_EVENT(AfterSetCellProp);
  VXN_GRID_EVENT(OnInsertCol);
  VXN_GRID_EVENT(OnInsertRow);
  VXN_GRID_EVENT(OnInsertCellRight);
  VXN_GRID_EVENT(OnInsertCellDown);
  VXN_GRID_EVENT(OnDeleteCol);
  VXN_GRID_EVENT(OnDeleteRow);
  VXN_GRID_EVENT(OnDeleteCellRight);
  VXN_GRID_EVENT(OnDeleteCellDown);
  VXN_GRID_EVENT(OnPasteCells);
  VXN_GRID_EVENT(OnCutCells);
  VXN_GRID_EVENT(OnStartDock);
  VXN_GRID_EVENT(OnEndDock);
}

#undef VXN_GRID_EVENT

TCellGrid::TCellGrid(TComponent* AOwner) : TCustomCellGrid(AOwner) {}

void RegisterCellGridClasses() {
  RegisterClasses({TCellGrid::StaticClass()});
}
