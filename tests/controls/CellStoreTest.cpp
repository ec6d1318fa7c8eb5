#include "controls/CellStore.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Writes a merged range the way callers form one: the rectangle into every
// cell of it.
void Merge(TCells& cells, TGridRect r) {
  for (Integer c = r.Left; c <= r.Right; ++c)
    for (Integer row = r.Top; row <= r.Bottom; ++row) cells.At(c, row).MergeRect = r;
}

class CellStoreTest : public ::testing::Test {
 protected:
  TCellDefaults defaults;
  TCells cells{defaults, 5, 5};
};

TEST_F(CellStoreTest, NewRecordsTakeGridDefaultsExceptTheFixedStartValues) {
  defaults.Color = clYellow;
  defaults.TitleColor = clBtnFace;
  defaults.ThousandSep = true;
  defaults.ZeroNull = true;
  defaults.AllowNegative = false;
  defaults.FontStyle = {fsBold};
  defaults.DataStyle = dsNumber;
  defaults.IntLength = 7;
  cells.ResizeRows(6);
  ASSERT_EQ(cells.ColCount(), 5);
  ASSERT_EQ(cells.RowCount(), 6);
  const TCellInfo& title = cells.At(0, 5);
  const TCellInfo& cell = cells.At(2, 5);
  EXPECT_EQ(title.FillColor, clBtnFace);
  EXPECT_EQ(cells.At(3, 0).FillColor, clBtnFace);
  EXPECT_EQ(cell.FillColor, clYellow);
  EXPECT_EQ(cell.DataStyle, dsNumber);
  EXPECT_EQ(cell.IntLength, 7);
  EXPECT_EQ(cell.MergeRect, (TGridRect{2, 5, 2, 5}));
  // These four and the font style never follow the grid-level values.
  EXPECT_FALSE(cell.ThousandSep);
  EXPECT_FALSE(cell.ZeroNull);
  EXPECT_TRUE(cell.AllowNegative);
  EXPECT_FALSE(cell.TrailingZero);
  EXPECT_TRUE(cell.FontStyle.Empty());
  EXPECT_EQ(cell.FontName, "MS Sans Serif");
  // Records made before the change keep what they had.
  EXPECT_EQ(cells.At(2, 4).FillColor, clWhite);
}

TEST_F(CellStoreTest, AccessOutsideTheStoreRaisesInsteadOfReachingPastIt) {
  for (TGridCoord bad : {TGridCoord{5, 0}, TGridCoord{0, 5}, TGridCoord{-1, 2}, TGridCoord{2, -1}})
    EXPECT_THROW(cells.At(bad.X, bad.Y), EInvalidGridOperation) << bad.X << "," << bad.Y;
  try {
    cells.At(7, 1);
  } catch (const EInvalidGridOperation& e) {
    EXPECT_EQ(e.Message, "Grid index out of range");
  }
}

TEST_F(CellStoreTest, GrowingAndShrinkingKeepsRecordsInPlace) {
  TCellInfo* kept = &cells.At(3, 2);
  kept->ForeText = "kept";
  cells.ResizeColumns(8);
  cells.ResizeRows(9);
  EXPECT_EQ(&cells.At(3, 2), kept);
  EXPECT_EQ(cells.At(7, 8).MergeRect, (TGridRect{7, 8, 7, 8}));
  cells.ResizeColumns(4);
  cells.ResizeRows(3);
  EXPECT_EQ(cells.ColCount(), 4);
  EXPECT_EQ(cells.RowCount(), 3);
  EXPECT_EQ(&cells.At(3, 2), kept);
  EXPECT_EQ(kept->ForeText, "kept");
  // One column or less is no count a grid can have.
  cells.ResizeColumns(1);
  EXPECT_EQ(cells.ColCount(), 4);
}

TEST_F(CellStoreTest, RangeTests) {
  cells.ResizeColumns(8);
  cells.ResizeRows(8);
  Merge(cells, {2, 2, 3, 3});
  EXPECT_TRUE(cells.IsMergedCell(3, 3));
  EXPECT_FALSE(cells.IsMergedCell(4, 4));
  EXPECT_TRUE(cells.RangeHasMergedCells({1, 1, 2, 2}));
  EXPECT_FALSE(cells.RangeHasMergedCells({4, 1, 6, 6}));
  struct Case {
    TGridRect Rect;
    bool Whole;
  };
  for (const Case& c :
       {Case{{2, 2, 3, 3}, true}, Case{{1, 1, 4, 4}, true}, Case{{2, 2, 2, 3}, false},
        Case{{3, 1, 5, 5}, false}, Case{{1, 3, 5, 5}, false}}) {
    EXPECT_EQ(cells.RangeIsWhole(c.Rect), c.Whole)
        << c.Rect.Left << c.Rect.Top << c.Rect.Right << c.Rect.Bottom;
    EXPECT_EQ(cells.RangeCutsMergedRange(c.Rect), !c.Whole);
  }
  cells.At(5, 6).ReadOnly = true;
  EXPECT_TRUE(cells.RangeHasReadOnlyCell({4, 5, 6, 7}));
  EXPECT_FALSE(cells.RangeHasReadOnlyCell({1, 1, 4, 7}));
}

TEST_F(CellStoreTest, ExpandToMergedRangesFollowsEveryRangeTheGrowthReaches) {
  cells.ResizeColumns(10);
  cells.ResizeRows(10);
  // (2,2)-(3,2) reaches out of the rectangle of the two cells (3,1) and
  // (3,3); once grown to column 2, row 4..5 of column 2 pulls in a range
  // reaching to column 1 and row 6.
  Merge(cells, {2, 2, 3, 2});
  Merge(cells, {1, 3, 2, 6});
  EXPECT_EQ(cells.ExpandToMergedRanges({3, 1}, {3, 3}), (TGridRect{1, 1, 3, 6}));
  // Two plain cells span just themselves.
  EXPECT_EQ(cells.ExpandToMergedRanges({5, 5}, {7, 6}), (TGridRect{5, 5, 7, 6}));
  // A range reached only by the end cell, and one its edge then meets.
  EXPECT_EQ(cells.ExpandToMergedRanges({6, 6}, {3, 2}), (TGridRect{1, 2, 6, 6}));
}

TEST_F(CellStoreTest, BufferCarriesCellsAndShiftsRangesWhenPasted) {
  cells.ResizeColumns(8);
  cells.ResizeRows(8);
  Merge(cells, {1, 1, 1, 2});
  cells.At(1, 1).ForeText = "a";
  cells.At(2, 1).BackText = "b";
  cells.At(2, 2).FontStyle = {fsItalic, fsUnderline};
  cells.At(2, 2).PenStyle = psDot;
  cells.At(2, 2).UserValue = -7;
  std::string buffer = cells.CopyRange({1, 1, 2, 2});
  // Header, then four cells each 88 bytes plus their three texts.
  const size_t font = std::strlen("MS Sans Serif");
  EXPECT_EQ(buffer.size(), 16 + 4 * (88 + font) + 2);
  int32_t header[4];
  std::memcpy(header, buffer.data(), sizeof header);
  EXPECT_EQ(header[0], 1);
  EXPECT_EQ(header[1], 1);
  EXPECT_EQ(header[2], 2);
  EXPECT_EQ(header[3], 2);
  int32_t length;
  std::memcpy(&length, buffer.data() + 16, 4);
  EXPECT_EQ(length, static_cast<int32_t>(88 + font + 1));

  // A 1 x 2 destination takes only the cells that fall inside it.
  cells.Paste(buffer, {4, 3, 4, 4});
  EXPECT_EQ(cells.At(4, 3).ForeText, "a");
  EXPECT_EQ(cells.At(4, 3).MergeRect, (TGridRect{4, 3, 4, 4}));
  EXPECT_EQ(cells.At(4, 4).MergeRect, (TGridRect{4, 3, 4, 4}));
  EXPECT_TRUE(cells.At(5, 3).BackText.empty());
  EXPECT_EQ(cells.At(5, 3).MergeRect, (TGridRect{5, 3, 5, 3}));

  cells.Paste(buffer, {5, 5, 6, 6});
  EXPECT_EQ(cells.At(6, 5).BackText, "b");
  EXPECT_EQ(cells.At(6, 6).FontStyle, (TFontStyles{fsItalic, fsUnderline}));
  EXPECT_EQ(cells.At(6, 6).PenStyle, psDot);
  EXPECT_EQ(cells.At(6, 6).UserValue, -7);
  EXPECT_EQ(cells.At(6, 6).MergeRect, (TGridRect{6, 6, 6, 6}));

  // A buffer cut short writes what it holds whole and stops.
  TCells other(defaults, 8, 8);
  other.Paste(std::string_view(buffer).substr(0, buffer.size() - 3), {1, 1, 2, 2});
  EXPECT_EQ(other.At(1, 1).ForeText, "a");
  EXPECT_TRUE(other.At(2, 2).FontStyle.Empty());
}

TEST_F(CellStoreTest, CopyingClipsToTheNonTitleCells) {
  cells.At(0, 1).ForeText = "title";
  std::string buffer = cells.CopyRange({0, 0, 1, 1});
  int32_t header[4];
  std::memcpy(header, buffer.data(), sizeof header);
  EXPECT_EQ(header[0], 1);
  EXPECT_EQ(header[1], 1);
  EXPECT_EQ(header[2], 1);
  EXPECT_EQ(header[3], 1);
}

TEST_F(CellStoreTest, ResetRangeDissolvesRangesAndKeepsTitles) {
  Merge(cells, {1, 1, 2, 2});
  cells.At(1, 1).ForeText = "x";
  cells.At(0, 1).ForeText = "row title";
  TGridRect clipped = cells.ResetRange({0, 0, 2, 2});
  EXPECT_EQ(clipped, (TGridRect{1, 1, 2, 2}));
  for (Integer c = 1; c <= 2; ++c)
    for (Integer r = 1; r <= 2; ++r) EXPECT_EQ(cells.At(c, r).MergeRect, (TGridRect{c, r, c, r}));
  EXPECT_TRUE(cells.At(1, 1).ForeText.empty());
  EXPECT_EQ(cells.At(0, 1).ForeText, "row title");
}

TEST(CellPropertiesTest, CopyKeepsTheTargetsRange) {
  TCellInfo a, b;
  a.ForeText = "f";
  a.BackText = "b";
  a.FillColor = clRed;
  a.MergeRect = {1, 1, 2, 2};
  b.MergeRect = {5, 5, 5, 5};
  CopyCellProperties(a, b);
  EXPECT_EQ(b.ForeText, "f");
  EXPECT_EQ(b.BackText, "b");
  EXPECT_EQ(b.FillColor, clRed);
  EXPECT_EQ(b.MergeRect, (TGridRect{5, 5, 5, 5}));
}

}  // namespace
