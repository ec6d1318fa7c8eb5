#include "controls/CellStore.h"

#include <algorithm>
#include <cstring>

VXN_IMPLEMENT_CLASS(EInvalidGridOperation, Exception)

TGridRect GridRectOf(TGridCoord A, TGridCoord B) {
  return {std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X), std::max(A.Y, B.Y)};
}

void CopyCellProperties(const TCellInfo& Source, TCellInfo& Target) {
  TGridRect merge = Target.MergeRect;
  Target = Source;
  Target.MergeRect = merge;
}

// TCells -----------------------------------------------------------------------------------

TCells::TCells(const TCellDefaults& Defaults, Integer ColCount, Integer RowCount)
    : Defaults_(Defaults), RowCount_(RowCount) {
  for (Integer c = 0; c < ColCount; ++c) Columns_.push_back(NewColumn(c));
}

TCellInfo& TCells::At(Integer Col, Integer Row) {
  if (Col < 0 || Row < 0 || Col >= ColCount() || Row >= RowCount_)
    throw EInvalidGridOperation(SGridIndexOutOfRange);
  return Columns_[static_cast<size_t>(Col)]->Items(Row);
}

const TCellInfo& TCells::At(Integer Col, Integer Row) const {
  return const_cast<TCells*>(this)->At(Col, Row);
}

void TCells::InitCellInfo(TCellInfo& Record, Integer Col, Integer Row) const {
  const TCellDefaults& d = Defaults_;
  Record = TCellInfo{};
  Record.DataStyle = d.DataStyle;
  Record.AlignMode = d.AlignMode;
  Record.MergeRect = {Col, Row, Col, Row};
  Record.ReadOnly = d.ReadOnly;
  Record.AutoWordBreak = d.AutoWordBreak;
  Record.ShowForeText = d.ShowForeText;
  // AllowNegative, TrailingZero, ZeroNull, ThousandSep and FontStyle keep
  // the record's own start values whatever the grid-level defaults say.
  Record.MaxLength = d.MaxLength;
  Record.IntLength = d.IntLength;
  Record.DecLength = d.DecLength;
  Record.LineWidth = d.LineWidth;
  Record.PenStyle = d.PenStyle;
  Record.FillColor = (Col > 0 && Row > 0) ? d.Color : d.TitleColor;
  Record.FontSize = d.FontSize;
  Record.FontColor = d.FontColor;
  Record.FontName = d.FontName;
}

std::unique_ptr<TCellInfo> TCells::NewRecord(Integer Col, Integer Row) const {
  auto record = std::make_unique<TCellInfo>();
  InitCellInfo(*record, Col, Row);
  return record;
}

std::unique_ptr<TColCellInfoList> TCells::NewColumn(Integer Col) const {
  auto column = std::make_unique<TColCellInfoList>();
  for (Integer r = 0; r < RowCount_; ++r) column->Add(NewRecord(Col, r));
  return column;
}

void TCells::ResizeColumns(Integer NewColCount) {
  if (NewColCount <= 1) return;
  Integer old = ColCount();
  if (NewColCount > old) {
    std::vector<std::unique_ptr<TColCellInfoList>> added;
    for (Integer c = old; c < NewColCount; ++c) added.push_back(NewColumn(c));
    for (auto& column : added) Columns_.push_back(std::move(column));
  } else {
    Columns_.resize(static_cast<size_t>(NewColCount));
  }
}

void TCells::ResizeRows(Integer NewRowCount) {
  if (NewRowCount > RowCount_) {
    // Made aside first, so a failing allocation leaves every column as it was.
    std::vector<std::vector<std::unique_ptr<TCellInfo>>> added(Columns_.size());
    for (size_t c = 0; c < Columns_.size(); ++c)
      for (Integer r = RowCount_; r < NewRowCount; ++r)
        added[c].push_back(NewRecord(static_cast<Integer>(c), r));
    for (size_t c = 0; c < Columns_.size(); ++c)
      for (auto& record : added[c]) Columns_[c]->Add(std::move(record));
  } else if (NewRowCount < RowCount_) {
    for (auto& column : Columns_) column->TruncateTo(std::max(NewRowCount, 0));
  }
  RowCount_ = std::max(NewRowCount, 0);
}

void TCells::Clear() {
  for (auto& column : Columns_) column->Clear();
  Columns_.clear();
}

TGridRect TCells::ClipToCells(const TGridRect& Rect) const {
  return {std::max(Rect.Left, 1), std::max(Rect.Top, 1), std::min(Rect.Right, ColCount() - 1),
          std::min(Rect.Bottom, RowCount_ - 1)};
}

TGridRect TCells::RangeOf(Integer Col, Integer Row) const {
  TGridRect r = At(Col, Row).MergeRect;
  return {std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, ColCount() - 1),
          std::min(r.Bottom, RowCount_ - 1)};
}

bool TCells::IsMergedCell(Integer Col, Integer Row) const {
  const TGridRect& r = At(Col, Row).MergeRect;
  return r.Right > r.Left || r.Bottom > r.Top;
}

bool TCells::RangeHasMergedCells(const TGridRect& Rect) const {
  for (Integer c = Rect.Left; c <= Rect.Right; ++c)
    for (Integer r = Rect.Top; r <= Rect.Bottom; ++r)
      if (IsMergedCell(c, r)) return true;
  return false;
}

bool TCells::RangeIsWhole(const TGridRect& Rect) const {
  for (Integer c = Rect.Left; c <= Rect.Right; ++c)
    if (MergeRectOf(c, Rect.Top).Top != Rect.Top ||
        MergeRectOf(c, Rect.Bottom).Bottom != Rect.Bottom)
      return false;
  for (Integer r = Rect.Top; r <= Rect.Bottom; ++r)
    if (MergeRectOf(Rect.Left, r).Left != Rect.Left ||
        MergeRectOf(Rect.Right, r).Right != Rect.Right)
      return false;
  return true;
}

TGridRect TCells::ExpandToMergedRanges(TGridCoord A, TGridCoord B) const {
  TGridRect a = RangeOf(A.X, A.Y), b = RangeOf(B.X, B.Y);
  TGridRect rect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                 std::max(a.Bottom, b.Bottom)};
  for (;;) {
    TGridRect next = rect;
    for (Integer c = rect.Left; c <= rect.Right; ++c) {
      next.Top = std::min(next.Top, RangeOf(c, rect.Top).Top);
      next.Bottom = std::max(next.Bottom, RangeOf(c, rect.Bottom).Bottom);
    }
    for (Integer r = rect.Top; r <= rect.Bottom; ++r) {
      next.Left = std::min(next.Left, RangeOf(rect.Left, r).Left);
      next.Right = std::max(next.Right, RangeOf(rect.Right, r).Right);
    }
    if (next == rect) return rect;
    rect = next;
  }
}

bool TCells::RangeCutsMergedRange(const TGridRect& Rect) const {
  return ExpandToMergedRanges(Rect.TopLeft(), Rect.BottomRight()) != Rect;
}

bool TCells::RangeHasReadOnlyCell(const TGridRect& Rect) const {
  for (Integer c = Rect.Left; c <= Rect.Right; ++c)
    for (Integer r = Rect.Top; r <= Rect.Bottom; ++r)
      if (At(c, r).ReadOnly) return true;
  return false;
}

TGridRect TCells::ResetRange(const TGridRect& Rect) {
  TGridRect clip = ClipToCells(Rect);
  for (Integer c = clip.Left; c <= clip.Right; ++c)
    for (Integer r = clip.Top; r <= clip.Bottom; ++r) InitCellInfo(At(c, r), c, r);
  return clip;
}

// The cell buffer ----------------------------------------------------------------------------
//
// Native byte order, 32-bit integers:
//   header   left, top (of the source), width, height (in cells)
//   cells    column by column from the left, each column from the top:
//     0  total length (88 + the three text lengths)
//     4  DataStyle (1) AlignMode (1) 0 0
//     8  MergeRect Left Top Right Bottom (4 x 4)
//    24  ReadOnly AutoWordBreak ShowForeText TopLine LeftLine BottomLine
//        RightLine AllowNegative TrailingZero ZeroNull ThousandSep (1 each) 0
//    36  MaxLength IntLength DecLength LineWidth (4 x 4)
//    52  PenStyle (1) 0 0 0
//    56  UserValue FillColor FontSize FontColor (4 x 4)
//    72  FontStyle (1) 0 0 0
//    76  FontName length, FontName, ForeText length, ForeText,
//        BackText length, BackText

namespace {

constexpr size_t kFixedCellBytes = 76;
constexpr size_t kHeaderBytes = 16;

void PutInt(std::string& out, int32_t v) {
  out.append(reinterpret_cast<const char*>(&v), sizeof v);
}
void PutByte(std::string& out, uint8_t v) {
  out.push_back(static_cast<char>(v));
}
void PutText(std::string& out, const std::string& s) {
  PutInt(out, static_cast<int32_t>(s.size()));
  out += s;
}

// Reads what CopyRange wrote; a short or damaged buffer ends the reading.
class BufferReader {
 public:
  explicit BufferReader(std::string_view data) : Data_(data) {}
  bool Int(int32_t& v) {
    if (Data_.size() - Pos_ < sizeof v) return false;
    std::memcpy(&v, Data_.data() + Pos_, sizeof v);
    Pos_ += sizeof v;
    return true;
  }
  uint8_t Byte(size_t at) const { return static_cast<uint8_t>(Data_[at]); }
  int32_t IntAt(size_t at) const {
    int32_t v;
    std::memcpy(&v, Data_.data() + at, sizeof v);
    return v;
  }
  bool Text(std::string& s) {
    int32_t n = 0;
    if (!Int(n) || n < 0 || static_cast<size_t>(n) > Data_.size() - Pos_) return false;
    s.assign(Data_.data() + Pos_, static_cast<size_t>(n));
    Pos_ += static_cast<size_t>(n);
    return true;
  }
  size_t Pos() const { return Pos_; }
  size_t Left() const { return Data_.size() - Pos_; }

 private:
  std::string_view Data_;
  size_t Pos_ = 0;
};

// One buffered cell; false when the buffer ends or is damaged.
bool ReadCell(BufferReader& in, TCellInfo& cell) {
  if (in.Left() < kFixedCellBytes) return false;
  size_t at = in.Pos();
  int32_t total = in.IntAt(at);
  if (total < 88) return false;
  auto flag = [&](size_t offset) { return in.Byte(at + offset) != 0; };
  cell.DataStyle = static_cast<TDataStyle>(std::min<uint8_t>(in.Byte(at + 4), dsFormula));
  cell.AlignMode = static_cast<TAlignMode>(std::min<uint8_t>(in.Byte(at + 5), 8));
  cell.MergeRect = {in.IntAt(at + 8), in.IntAt(at + 12), in.IntAt(at + 16), in.IntAt(at + 20)};
  cell.ReadOnly = flag(24);
  cell.AutoWordBreak = flag(25);
  cell.ShowForeText = flag(26);
  cell.TopLine = flag(27);
  cell.LeftLine = flag(28);
  cell.BottomLine = flag(29);
  cell.RightLine = flag(30);
  cell.AllowNegative = flag(31);
  cell.TrailingZero = flag(32);
  cell.ZeroNull = flag(33);
  cell.ThousandSep = flag(34);
  cell.MaxLength = in.IntAt(at + 36);
  cell.IntLength = in.IntAt(at + 40);
  cell.DecLength = in.IntAt(at + 44);
  cell.LineWidth = in.IntAt(at + 48);
  cell.PenStyle = static_cast<TPenStyle>(std::min<uint8_t>(in.Byte(at + 52), psInsideFrame));
  cell.UserValue = in.IntAt(at + 56);
  cell.FillColor = in.IntAt(at + 60);
  cell.FontSize = in.IntAt(at + 64);
  cell.FontColor = in.IntAt(at + 68);
  cell.FontStyle = TFontStyles::FromBits(in.Byte(at + 72) & 0x0F);
  int32_t skip;
  for (size_t i = 0; i < kFixedCellBytes; i += 4) in.Int(skip);
  return in.Text(cell.FontName) && in.Text(cell.ForeText) && in.Text(cell.BackText);
}

}  // namespace

void SerializeCell(const TCellInfo& Cell, std::string& Out) {
  PutInt(Out, static_cast<int32_t>(88 + Cell.FontName.size() + Cell.ForeText.size() +
                                   Cell.BackText.size()));
  PutByte(Out, static_cast<uint8_t>(Cell.DataStyle));
  PutByte(Out, static_cast<uint8_t>(Cell.AlignMode));
  PutByte(Out, 0);
  PutByte(Out, 0);
  PutInt(Out, Cell.MergeRect.Left);
  PutInt(Out, Cell.MergeRect.Top);
  PutInt(Out, Cell.MergeRect.Right);
  PutInt(Out, Cell.MergeRect.Bottom);
  for (bool b : {Cell.ReadOnly, Cell.AutoWordBreak, Cell.ShowForeText, Cell.TopLine, Cell.LeftLine,
                 Cell.BottomLine, Cell.RightLine, Cell.AllowNegative, Cell.TrailingZero,
                 Cell.ZeroNull, Cell.ThousandSep})
    PutByte(Out, b ? 1 : 0);
  PutByte(Out, 0);
  PutInt(Out, Cell.MaxLength);
  PutInt(Out, Cell.IntLength);
  PutInt(Out, Cell.DecLength);
  PutInt(Out, Cell.LineWidth);
  PutByte(Out, static_cast<uint8_t>(Cell.PenStyle));
  Out.append(3, '\0');
  PutInt(Out, Cell.UserValue);
  PutInt(Out, Cell.FillColor);
  PutInt(Out, Cell.FontSize);
  PutInt(Out, Cell.FontColor);
  PutByte(Out, static_cast<uint8_t>(Cell.FontStyle.Bits()));
  Out.append(3, '\0');
  PutText(Out, Cell.FontName);
  PutText(Out, Cell.ForeText);
  PutText(Out, Cell.BackText);
}

std::string TCells::CopyRange(const TGridRect& Rect) const {
  TGridRect clip = ClipToCells(Rect);
  size_t size = kHeaderBytes;
  for (Integer c = clip.Left; c <= clip.Right; ++c)
    for (Integer r = clip.Top; r <= clip.Bottom; ++r) {
      const TCellInfo& cell = At(c, r);
      size += 88 + cell.FontName.size() + cell.ForeText.size() + cell.BackText.size();
    }
  std::string out;
  out.reserve(size);
  PutInt(out, clip.Left);
  PutInt(out, clip.Top);
  PutInt(out, std::max(clip.Right - clip.Left + 1, 0));
  PutInt(out, std::max(clip.Bottom - clip.Top + 1, 0));
  for (Integer c = clip.Left; c <= clip.Right; ++c)
    for (Integer r = clip.Top; r <= clip.Bottom; ++r) SerializeCell(At(c, r), out);
  return out;
}

void TCells::Paste(std::string_view Buffer, const TGridRect& Dest) {
  TGridRect clip = ClipToCells(Dest);
  BufferReader in(Buffer);
  int32_t left, top, width, height;
  if (!in.Int(left) || !in.Int(top) || !in.Int(width) || !in.Int(height)) return;
  const Integer dx = clip.Left - left, dy = clip.Top - top;
  for (int32_t i = 0; i < width; ++i)
    for (int32_t j = 0; j < height; ++j) {
      TCellInfo cell;
      if (!ReadCell(in, cell)) return;
      Integer col = left + i + dx, row = top + j + dy;
      if (!clip.Contains(col, row)) continue;
      TCellInfo& target = At(col, row);
      CopyCellProperties(cell, target);
      target.MergeRect = {cell.MergeRect.Left + dx, cell.MergeRect.Top + dy,
                          cell.MergeRect.Right + dx, cell.MergeRect.Bottom + dy};
    }
}
