// Painting of the cell grid: the grid lines of the nine regions (title,
// fixed and scrolling parts of both axes), one polyline call each, cut
// where merged ranges lie across them; every visible cell once, a merged
// range as one cell; the selection frame with its fill handle; and the rest
// of the client area.
#include <algorithm>

#include "controls/CellGrid.h"
#include "controls/CellText.h"
#include "controls/GridDrawing.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/GdiText.h"

using namespace win;

namespace {

enum class PartKind { Title, Fixed, Scrolling };

// One part of one axis: its pixels and its cells.
struct AxisPart {
  Integer PixStart = 0;
  Integer PixEnd = 0;
  Integer First = 0;  // first cell, and the pixel it starts at
  Integer Last = -1;
  Integer Start = 0;
  PartKind Kind = PartKind::Title;
};

}  // namespace

struct TCustomCellGrid::TRegion {
  TRect Rect;
  AxisPart Cols;
  AxisPart Rows;
  TCellGridDrawState State;
};

void TCustomCellGrid::BuildRegions(const TDrawInfo& Info, std::vector<TRegion>& Regions) {
  const TAxisDrawInfo& h = Info.Horz;
  const TAxisDrawInfo& v = Info.Vert;
  const Integer lastCol = std::min(ColCount_ - 1, h.LastFullVisibleCell + 1);
  const Integer lastRow = std::min(RowCount_ - 1, v.LastFullVisibleCell + 1);
  // A merged range that begins left of (above) the first scrolling cell in
  // view is drawn in place, clipped at the region's edge.
  Integer firstCol = TopLeft_.X, firstRow = TopLeft_.Y;
  for (Integer r = 0; r <= lastRow; ++r)
    firstCol = std::min(firstCol, Cells_->MergeRectOf(TopLeft_.X, r).Left);
  for (Integer c = 0; c <= lastCol; ++c)
    firstRow = std::min(firstRow, Cells_->MergeRectOf(c, TopLeft_.Y).Top);
  firstCol = std::max(firstCol, FixedCols_ + 1);
  firstRow = std::max(firstRow, FixedRows_ + 1);
  Integer startX = h.FixedBoundary - ColOffset_, startY = v.FixedBoundary;
  for (Integer c = firstCol; c < TopLeft_.X; ++c) startX -= GetColWidth(c) + h.EffectiveLineWidth;
  for (Integer r = firstRow; r < TopLeft_.Y; ++r) startY -= GetRowHeight(r) + v.EffectiveLineWidth;

  const AxisPart colParts[3] = {
      {0, h.TitleBoundary, 0, 0, 0, PartKind::Title},
      {h.TitleBoundary, h.FixedBoundary, 1, FixedCols_, h.TitleBoundary, PartKind::Fixed},
      {h.FixedBoundary, std::min(h.GridExtent, h.GridBoundary), firstCol, lastCol, startX,
       PartKind::Scrolling}};
  const AxisPart rowParts[3] = {
      {0, v.TitleBoundary, 0, 0, 0, PartKind::Title},
      {v.TitleBoundary, v.FixedBoundary, 1, FixedRows_, v.TitleBoundary, PartKind::Fixed},
      {v.FixedBoundary, std::min(v.GridExtent, v.GridBoundary), firstRow, lastRow, startY,
       PartKind::Scrolling}};
  // Title corner; title row over the fixed columns; title column over the
  // fixed rows; title row and column over the scrolling cells; then the
  // fixed regions; the scrolling region last.
  static constexpr int order[9][2] = {{0, 0}, {1, 0}, {0, 1}, {2, 0}, {0, 2},
                                      {1, 1}, {2, 1}, {1, 2}, {2, 2}};
  Regions.clear();
  for (const auto& [ci, ri] : order) {
    TRegion region;
    region.Cols = colParts[ci];
    region.Rows = rowParts[ri];
    region.Rect = {region.Cols.PixStart, region.Rows.PixStart, region.Cols.PixEnd,
                   region.Rows.PixEnd};
    if (ci == 0 || ri == 0)
      region.State = {gdTitled};
    else if (ci == 1 || ri == 1)
      region.State = {gdFixed};
    Regions.push_back(region);
  }
}

namespace {

thread_local std::vector<TPoint> LinePoints;

}  // namespace

void TCustomCellGrid::PaintRegionLines(const TRegion& Region, bool Vertical, TColor Color) {
  const Integer lw =
      Vertical
          ? (Options_.Contains(goFixedVertLine) || Options_.Contains(goVertLine) ? GridLineWidth_
                                                                                 : 0)
          : (Options_.Contains(goFixedHorzLine) || Options_.Contains(goHorzLine) ? GridLineWidth_
                                                                                 : 0);
  const Integer otherLw =
      Vertical
          ? (Options_.Contains(goFixedHorzLine) || Options_.Contains(goHorzLine) ? GridLineWidth_
                                                                                 : 0)
          : (Options_.Contains(goFixedVertLine) || Options_.Contains(goVertLine) ? GridLineWidth_
                                                                                 : 0);
  if (lw <= 0) return;
  const AxisPart& along =
      Vertical ? Region.Cols : Region.Rows;  // the axis the lines follow each other on
  const AxisPart& across = Vertical ? Region.Rows : Region.Cols;  // the axis a line spans
  const Integer regionEnd = Vertical ? Region.Rect.Right : Region.Rect.Bottom;
  const Integer spanStart = Vertical ? Region.Rect.Top : Region.Rect.Left;
  const Integer spanEnd = Vertical ? Region.Rect.Bottom : Region.Rect.Right;
  auto extentAlong = [&](Integer i) { return Vertical ? GetColWidth(i) : GetRowHeight(i); };
  auto extentAcross = [&](Integer i) { return Vertical ? GetRowHeight(i) : GetColWidth(i); };
  auto addLine = [&](Integer pos, Integer from, Integer to) {
    if (to <= from) return;
    if (Vertical) {
      LinePoints.push_back({pos, from});
      LinePoints.push_back({pos, to});
    } else {
      LinePoints.push_back({from, pos});
      LinePoints.push_back({to, pos});
    }
  };
  LinePoints.clear();
  Integer edge = along.Start;
  for (Integer i = along.First; i <= along.Last; ++i) {
    const Integer ext = extentAlong(i);
    const Integer pos = edge + ext + lw / 2;
    if (pos > regionEnd + lw) break;
    if (ext > 0) {
      // Walk the cells the line passes; a merged range lying across it
      // interrupts it for the range's length.
      Integer segStart = spanStart, run = across.Start;
      for (Integer j = across.First; j <= across.Last && run < spanEnd;) {
        const TGridRect& mr = Vertical ? Cells_->MergeRectOf(i, j) : Cells_->MergeRectOf(j, i);
        const bool crosses =
            Vertical ? (mr.Left <= i && mr.Right > i) : (mr.Top <= i && mr.Bottom > i);
        if (!crosses) {
          run += extentAcross(j) + otherLw;
          ++j;
          continue;
        }
        addLine(pos, segStart, std::max(run, spanStart));
        const Integer last = std::min(Vertical ? mr.Bottom : mr.Right, across.Last);
        for (; j <= last; ++j) run += extentAcross(j) + otherLw;
        segStart = run - otherLw;
      }
      addLine(pos, std::max(segStart, spanStart), spanEnd);
    }
    edge += ext + lw;
  }
  if (!LinePoints.empty()) Drawing_->Lines(LinePoints, Color, GridLineWidth_);
}

void TCustomCellGrid::PaintLines(const TDrawInfo& Info) {
  if (Info.Horz.EffectiveLineWidth <= 0 && Info.Vert.EffectiveLineWidth <= 0) return;
  std::vector<TRegion> regions;
  BuildRegions(Info, regions);
  LinePoints.reserve(
      static_cast<size_t>(4 * (Info.Horz.LastFullVisibleCell + Info.Vert.LastFullVisibleCell + 8)));
  for (size_t k = 0; k < regions.size(); ++k) {
    const TRegion& region = regions[k];
    if (region.Rect.Right <= region.Rect.Left || region.Rect.Bottom <= region.Rect.Top) continue;
    TColor vertical, horizontal;
    if (k < 5) {
      vertical = horizontal = clBlack;
    } else if (k < 8) {
      vertical = Options_.Contains(goFixedVertLine) ? FixedLineColor_ : Color();
      horizontal = Options_.Contains(goFixedHorzLine) ? FixedLineColor_ : Color();
    } else {
      vertical = Options_.Contains(goVertLine) ? ClientLineColor_ : Color();
      horizontal = Options_.Contains(goHorzLine) ? ClientLineColor_ : Color();
    }
    PaintRegionLines(region, true, vertical);
    PaintRegionLines(region, false, horizontal);
  }
}

void TCustomCellGrid::PaintRegionCells(const TRegion& Region) {
  const Integer lwh =
      (Options_.Contains(goFixedVertLine) || Options_.Contains(goVertLine)) ? GridLineWidth_ : 0;
  const Integer lwv =
      (Options_.Contains(goFixedHorzLine) || Options_.Contains(goHorzLine)) ? GridLineWidth_ : 0;
  const bool focused = GridFocused();
  Drawing_->SetClip(Region.Rect);
  Integer y = Region.Rows.Start;
  for (Integer r = Region.Rows.First; r <= Region.Rows.Last && y < Region.Rect.Bottom; ++r) {
    Integer x = Region.Cols.Start;
    for (Integer c = Region.Cols.First; c <= Region.Cols.Last && x < Region.Rect.Right; ++c) {
      const Integer width = GetColWidth(c);
      const TGridRect mr = Cells_->MergeRectOf(c, r);
      if (mr.Left == c && mr.Top == r) {
        Integer right = x, bottom = y;
        for (Integer i = c; i <= mr.Right; ++i) right += GetColWidth(i) + (i < mr.Right ? lwh : 0);
        for (Integer j = r; j <= mr.Bottom; ++j)
          bottom += GetRowHeight(j) + (j < mr.Bottom ? lwv : 0);
        const TRect rect{x, y, right, bottom};
        const bool visible = rect.Right > rect.Left && rect.Bottom > rect.Top &&
                             rect.Left < Region.Rect.Right && rect.Right > Region.Rect.Left &&
                             rect.Top < Region.Rect.Bottom && rect.Bottom > Region.Rect.Top;
        if (visible) {
          TCellGridDrawState state = Region.State;
          const bool current = Current_ == TGridCoord{c, r};
          if (focused && current) state += gdFocused;
          if (mr.Left <= Selection_.Right && mr.Right >= Selection_.Left &&
              mr.Top <= Selection_.Bottom && mr.Bottom >= Selection_.Top)
            state += gdSelected;
          const bool covered = state.Contains(gdFocused) && Options_.Contains(goEditing) &&
                               EditorMode_ && !Designing();
          if (DefaultDrawing_ || Designing()) {
            const TCellInfo& cell = Cells_->At(c, r);
            TColor background;
            if (state.Contains(gdSelected) &&
                (Options_.Contains(goDrawFocusSelected) || Options_.Contains(goRowSelect))) {
              background = HighLightColor_;
              Canvas()->Font()->SetColor(HighLightTextColor_);
            } else if (c == 0 || r == 0) {
              background = Defaults_.TitleColor;
            } else if (!state.Contains(gdSelected) || current) {
              background = cell.FillColor;
            } else {
              background = HighLightColor_;
            }
            Drawing_->FillRect(rect, background);
          }
          // The editor lies over the current cell; only its background shows
          // around it.
          if (!covered) {
            DrawCell(c, r, state, Region.Rect, rect);
            if (DefaultDrawing_ && state.Contains(gdTitled) && Ctl3D_) {
              Drawing_->Edge(rect, BDR_RAISEDINNER, BF_BOTTOMRIGHT);
              Drawing_->Edge(rect, BDR_RAISEDINNER, BF_TOPLEFT);
            }
          }
        }
      }
      x += width + lwh;
    }
    y += GetRowHeight(r) + lwv;
  }
  Drawing_->ResetClip();
}

void TCustomCellGrid::DrawCell(Integer ACol, Integer ARow, TCellGridDrawState AState,
                               const TRect& AClipRect, const TRect& ACellRect) {
  if (!Drawing_) return;
  const TCellInfo& cell = Cells_->At(ACol, ARow);
  TRect eventRect = ACellRect;
  if (cell.TopLine || cell.LeftLine || cell.BottomLine || cell.RightLine) {
    const Integer h = cell.LineWidth / 2;
    const Integer l = ACellRect.Left + h - 1, t = ACellRect.Top + h - 1;
    const Integer r = ACellRect.Right - h, b = ACellRect.Bottom - h;
    auto line = [&](Integer x1, Integer y1, Integer x2, Integer y2) {
      Drawing_->Line({x1, y1}, {x2, y2}, clBlack, cell.LineWidth, cell.PenStyle);
    };
    if (cell.TopLine) line(l, t, r, t);
    if (cell.LeftLine) line(l, t, l, b);
    if (cell.BottomLine) line(l, b, r, b);
    if (cell.RightLine) line(r, t, r, b);
  }
  const bool titleRow = ARow == 0 && ACol > 0;
  const bool titleCol = ACol == 0 && ARow > 0;
  if (titleRow || titleCol) {
    TGridFont font{kDefaultCellFontName, 9, {}};
    TColor color = clBlack;
    const bool highlighted =
        !Designing() && (titleRow ? (ACol >= Selection_.Left && ACol <= Selection_.Right)
                                  : (ARow >= Selection_.Top && ARow <= Selection_.Bottom));
    if (highlighted) {
      font.Style = {fsBold};
      color = FocusedTitleColor_;
    }
    std::string text = titleRow ? ColumnTitle(ACol - 1) : std::to_string(ARow);
    Drawing_->Text(text, font, color, ACellRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  } else {
    TRect inner{ACellRect.Left + 4, ACellRect.Top + 4, ACellRect.Right - 4, ACellRect.Bottom - 4};
    eventRect = inner;
    Drawing_->IntersectClip(inner);
    const std::string& text = cell.ShowForeText ? cell.ForeText : cell.BackText;
    if (!text.empty()) {
      TGridFont font{cell.FontName, cell.FontSize, cell.FontStyle};
      TColor color = (AState.Contains(gdSelected) &&
                      (Options_.Contains(goRowSelect) || !(Current_ == TGridCoord{ACol, ARow})))
                         ? HighLightTextColor_
                         : cell.FontColor;
      const UINT wrap = cell.AutoWordBreak ? DT_WORDBREAK : 0;
      const Integer textHeight = Drawing_->TextHeight(text, font, inner.Width(), wrap);
      const Integer yOffset = (inner.Height() - textHeight) / 2;
      UINT flags = wrap;
      switch (cell.AlignMode) {
        case TAlignMode::taLeft:
        case TAlignMode::taCenter:
        case TAlignMode::taRight:
          eventRect.Top += yOffset;
          break;
        case TAlignMode::taBottomLeft:
        case TAlignMode::taBottom:
        case TAlignMode::taBottomRight:
          eventRect.Top = inner.Bottom - textHeight;
          break;
        default:
          break;
      }
      switch (cell.AlignMode) {
        case TAlignMode::taTop:
        case TAlignMode::taCenter:
        case TAlignMode::taBottom:
          flags |= DT_CENTER;
          break;
        case TAlignMode::taTopRight:
        case TAlignMode::taRight:
        case TAlignMode::taBottomRight:
          flags |= DT_RIGHT;
          break;
        default:
          flags |= DT_LEFT;
          break;
      }
      Drawing_->Text(text, font, color, eventRect, flags);
    }
    Drawing_->SetClip(AClipRect);
  }
  OnDrawCell(this, ACol, ARow, eventRect, AState);
}

void TCustomCellGrid::PaintSelectionFrame(const TDrawInfo& Info) {
  TRect client = ClientRect();
  Drawing_->SetClip(
      {Info.Horz.FixedBoundary, Info.Vert.FixedBoundary, client.Right, client.Bottom});
  const TRect box = BoxRect(Selection_, true);
  const Integer L = box.Left, T = box.Top, R = box.Right, B = box.Bottom;
  const bool whole = Cells_->RangeIsWhole(Selection_);
  if ((GridFocused() || AlwaysDrawFocus_) && (GridCanCopyMove_ || GridCanFill_)) {
    auto line = [&](Integer x1, Integer y1, Integer x2, Integer y2, TColor color, Integer width) {
      Drawing_->Line({x1, y1}, {x2, y2}, color, width, psSolid);
    };
    if (whole) {
      line(L, T, R - 3, T, clBlack, 3);
      line(L, T, L, B - 3, clBlack, 3);
      if (L < R - 6) line(L, B - 2, R - 7, B - 2, clBlack, 3);
      if (T < B - 6) line(R - 2, T, R - 2, B - 6, clBlack, 3);
      Drawing_->Box({R - 3, B - 3, R, B}, clBlack, 3);
      line(L + 2, T + 2, R - 4, T + 2, clWhite, 1);
      line(L + 2, T + 2, L + 2, B - 4, clWhite, 1);
      line(L + 2, B - 4, R + 1, B - 4, clWhite, 1);
      line(R - 4, T + 2, R - 4, B + 1, clWhite, 1);
    } else {
      const TRect range = BoxRect(Cells_->MergeRectOf(Current_.X, Current_.Y), true);
      const Integer l = range.Left, t = range.Top, r = range.Right - 2, b = range.Bottom - 2;
      line(l, t, r, t, clBlack, 1);
      line(l, t, l, b, clBlack, 1);
      line(l, b, r, b, clBlack, 1);
      line(r, t, r, b, clBlack, 1);
    }
  } else if (whole) {
    Drawing_->FocusRect({L, T, R - 1, B - 1});
  }
  Drawing_->ResetClip();
}

void TCustomCellGrid::Paint() {
  std::unique_ptr<TGridDrawing> drawing = CreateDrawing(Canvas());
  Drawing_ = drawing.get();
  ScopeExit release([this] { Drawing_ = nullptr; });
  const TDrawInfo info = CalcDrawInfo();
  PaintLines(info);
  std::vector<TRegion> regions;
  BuildRegions(info, regions);
  for (const TRegion& region : regions)
    if (region.Rect.Right > region.Rect.Left && region.Rect.Bottom > region.Rect.Top)
      PaintRegionCells(region);
  if (DefaultDrawing_ && !Designing() &&
      !(Options_.Contains(goEditing) && Options_.Contains(goAlwaysShowEditor)) &&
      !Options_.Contains(goRowSelect))
    PaintSelectionFrame(info);
  TRect client = ClientRect();
  Drawing_->FillRect({info.Horz.GridBoundary, 0, client.Right, info.Vert.GridBoundary}, Color());
  Drawing_->FillRect({0, info.Vert.GridBoundary, client.Right, client.Bottom}, Color());
}
