// The cell store of the cell grid: one record of properties and two texts for
// every cell, title cells included, kept column by column; merged ranges as
// the records express them; and the byte buffer through which drag move,
// copy and fill carry cells.
//
// Column 0 is the row-title column and row 0 the column-title row. A merged
// range is the set of cells whose MergeRect is the same rectangle; its
// top-left cell carries the range's text and look.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/Graphics.h"
#include "platform/rtl/SysUtils.h"

VXN_DECLARE_EXCEPTION(EInvalidGridOperation, Exception)

inline constexpr const char* SGridIndexOutOfRange = "Grid index out of range";
inline constexpr const char* SGridTooLarge = "Grid too large for operation";
inline constexpr const char* STooManyDeleted = "Too many rows or columns deleted";

// (column, row).
struct TGridCoord {
  Integer X = 0;
  Integer Y = 0;
  friend constexpr bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// Cell coordinates, inclusive on all four sides.
struct TGridRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  constexpr TGridCoord TopLeft() const { return {Left, Top}; }
  constexpr TGridCoord BottomRight() const { return {Right, Bottom}; }
  constexpr bool Contains(Integer Col, Integer Row) const {
    return Col >= Left && Col <= Right && Row >= Top && Row <= Bottom;
  }
  friend constexpr bool operator==(const TGridRect&, const TGridRect&) = default;
};

// The rectangle spanned by two cells, whichever corners they are.
TGridRect GridRectOf(TGridCoord A, TGridCoord B);

VXN_ENUM(TDataStyle, dsText, dsNumber, dsDate, dsTime, dsFormula)
// Scoped: the text-alignment enumeration of the forms library already owns
// the name taCenter.
enum class TAlignMode : uint8_t {
  taTopLeft,
  taTop,
  taTopRight,
  taLeft,
  taCenter,
  taRight,
  taBottomLeft,
  taBottom,
  taBottomRight
};
VXN_ENUM_INFO(TAlignMode, taTopLeft, taTop, taTopRight, taLeft, taCenter, taRight, taBottomLeft,
              taBottom, taBottomRight)

inline constexpr const char* kDefaultCellFontName = "MS Sans Serif";

struct TCellInfo {
  TDataStyle DataStyle = dsText;
  TAlignMode AlignMode = TAlignMode::taTopLeft;
  TGridRect MergeRect;
  bool ReadOnly = false;
  bool AutoWordBreak = true;
  bool ShowForeText = true;
  bool TopLine = false;
  bool LeftLine = false;
  bool BottomLine = false;
  bool RightLine = false;
  bool AllowNegative = true;
  bool TrailingZero = false;
  bool ZeroNull = false;
  bool ThousandSep = false;
  Integer MaxLength = 255;
  Integer IntLength = 3;
  Integer DecLength = 2;
  Integer LineWidth = 1;
  TPenStyle PenStyle = psSolid;
  Integer UserValue = 0;
  TColor FillColor = clWhite;
  Integer FontSize = 8;
  TColor FontColor = clBlack;
  TFontStyles FontStyle;
  std::string FontName = kDefaultCellFontName;
  std::string ForeText;
  std::string BackText;
};

// The grid-level values new records take (the grid's published Cell...
// properties and TitleColor).
struct TCellDefaults {
  TDataStyle DataStyle = dsText;
  TAlignMode AlignMode = TAlignMode::taTopLeft;
  bool ShowForeText = true;
  bool ReadOnly = false;
  bool AutoWordBreak = true;
  Integer LineWidth = 1;
  TPenStyle PenStyle = psSolid;
  bool AllowNegative = true;
  bool TrailingZero = false;
  bool ZeroNull = true;
  bool ThousandSep = true;
  Integer MaxLength = 255;
  Integer IntLength = 3;
  Integer DecLength = 2;
  TColor Color = clWhite;
  TColor TitleColor = clBtnFace;
  Integer FontSize = 8;
  TColor FontColor = clBlack;
  TFontStyles FontStyle;
  std::string FontName = kDefaultCellFontName;
};

// Every field except MergeRect, texts included.
void CopyCellProperties(const TCellInfo& Source, TCellInfo& Target);

// One column: a record per row.
class TColCellInfoList {
 public:
  Integer Count() const { return static_cast<Integer>(Items_.size()); }
  TCellInfo& Items(Integer Row) { return *Items_[static_cast<size_t>(Row)]; }
  const TCellInfo& Items(Integer Row) const { return *Items_[static_cast<size_t>(Row)]; }
  void Add(std::unique_ptr<TCellInfo> Record) { Items_.push_back(std::move(Record)); }
  // Releases the records from the last one down to Row.
  void TruncateTo(Integer Row) { Items_.resize(static_cast<size_t>(Row)); }
  void Clear() { Items_.clear(); }

 private:
  std::vector<std::unique_ptr<TCellInfo>> Items_;
};

// The grid's columns. Records are created only by the resize operations and
// live, at a stable address, until their row or column goes.
class TCells {
 public:
  TCells(const TCellDefaults& Defaults, Integer ColCount, Integer RowCount);

  Integer ColCount() const { return static_cast<Integer>(Columns_.size()); }
  Integer RowCount() const { return RowCount_; }

  // Mended: the coordinates are checked against the store's own size, so a
  // caller's slip raises "Grid index out of range" instead of reaching
  // outside the store.
  TCellInfo& At(Integer Col, Integer Row);
  const TCellInfo& At(Integer Col, Integer Row) const;
  const TGridRect& MergeRectOf(Integer Col, Integer Row) const { return At(Col, Row).MergeRect; }

  void InitCellInfo(TCellInfo& Record, Integer Col, Integer Row) const;
  // Appends initialised columns, or frees them from the last one down; counts
  // of 1 or less change nothing. Either way the store is left whole when an
  // allocation fails.
  void ResizeColumns(Integer NewColCount);
  void ResizeRows(Integer NewRowCount);
  void Clear();

  // The rectangle clipped to the non-title cells.
  TGridRect ClipToCells(const TGridRect& Rect) const;

  bool IsMergedCell(Integer Col, Integer Row) const;
  bool RangeHasMergedCells(const TGridRect& Rect) const;
  bool RangeIsWhole(const TGridRect& Rect) const;
  TGridRect ExpandToMergedRanges(TGridCoord A, TGridCoord B) const;
  bool RangeCutsMergedRange(const TGridRect& Rect) const;
  bool RangeHasReadOnlyCell(const TGridRect& Rect) const;
  // Every non-title cell of the rectangle back to its defaults; gives the
  // clipped rectangle.
  TGridRect ResetRange(const TGridRect& Rect);

  // The cell buffer: the clipped rectangle's cells, column by column.
  std::string CopyRange(const TGridRect& Rect) const;
  // Writes the buffered cells that land inside the clipped destination.
  void Paste(std::string_view Buffer, const TGridRect& Dest);

 private:
  std::unique_ptr<TColCellInfoList> NewColumn(Integer Col) const;
  std::unique_ptr<TCellInfo> NewRecord(Integer Col, Integer Row) const;
  // The range of a cell, clamped into the store.
  TGridRect RangeOf(Integer Col, Integer Row) const;

  const TCellDefaults& Defaults_;
  std::vector<std::unique_ptr<TColCellInfoList>> Columns_;
  Integer RowCount_ = 0;
};

// A cell as the buffer holds it; the length is 88 plus the three texts.
void SerializeCell(const TCellInfo& Cell, std::string& Out);
