// Multi-row text layout with a fixed-width measurer (every character 6
// pixels wide, rows 10 high): word breaks, breaking inside words, line ends,
// justification breaks, row limits and placement; then drawing through a
// real font for the ellipsis and the selection.
#include "suite/editors/cxTextRows.h"

#include <gtest/gtest.h>

#include "platform/rtl/Utf8.h"
#include "platform/win/GdiText.h"
#include "tests/suite/foundation/CanvasFixture.h"

namespace {

class FixedWidthMeasurer : public TcxTextMeasurer {
 public:
  void GetMetrics(Integer& Height, Integer& ExternalLeading, char32_t& BreakChar) override {
    Height = 10;
    ExternalLeading = 2;
    BreakChar = U' ';
  }
  TSize MeasureTextRun(const char* Text, Integer Length, bool) override {
    return {6 * static_cast<Integer>(Utf8CharCount(std::string_view(Text, static_cast<size_t>(Length)))),
            Length > 0 ? 10 : 0};
  }
  Integer FitCount(const char* Text, Integer Length, Integer MaxExtent) override {
    const std::string_view s(Text, static_cast<size_t>(Length));
    size_t pos = 0;
    Integer width = 0;
    while (pos < s.size() && width + 6 <= MaxExtent) {
      pos = Utf8NextCharPos(s, pos);
      width += 6;
    }
    return static_cast<Integer>(pos);
  }
};

std::vector<std::string> RowTexts(const std::string& text, const TcxTextRows& rows) {
  std::vector<std::string> out;
  for (const TcxTextRow& r : rows) out.push_back(text.substr(static_cast<size_t>(r.RowText), static_cast<size_t>(r.RowLength)));
  return out;
}

struct Layout {
  TcxTextRows rows;
  bool whole = false;
  TcxTextParams params;
  std::vector<std::string> texts;
};

Layout Make(const std::string& text, Integer width, TcxTextRowsFlags flags, Integer height = 100, Integer maxRows = 0) {
  FixedWidthMeasurer m;
  Layout l;
  l.params = PrepareTextParams(m, flags);
  l.whole = MakeTextRows(m, text, {0, 0, width, height}, l.params, l.rows, maxRows);
  l.texts = RowTexts(text, l.rows);
  return l;
}

using Texts = std::vector<std::string>;

TEST(TextRows, BreaksRowsByWordsLineEndsAndWidth) {
  const struct {
    std::string text;
    Integer width;
    TcxTextRowsFlags flags;
    Texts rows;
  } cases[] = {
      {"one two three", 60, TextRowsWordBreak, {"one two ", "three"}},
      {"one two three", 30, TextRowsWordBreak, {"one ", "two ", "three"}},
      // A word longer than the row stays whole...
      {"abcdefghij xy", 30, TextRowsWordBreak, {"abcdefghij ", "xy"}},
      // ...unless breaking inside words is on: then cut, one character at least.
      {"abcdefghij", 30, TextRowsWordBreak | TextRowsBreakInWords, {"abcde", "fghij"}},
      {"abcd", 3, TextRowsWordBreak | TextRowsBreakInWords, {"a", "b", "c", "d"}},
      {"ab\r\ncd\nef", 300, 0, {"ab", "cd", "ef"}},
      // Single line keeps the line ends in its one row.
      {"ab\ncd", 300, TextRowsSingleLine, {"ab\ncd"}},
      // Characters, not bytes: two-byte letters measure as one character each.
      {"äöü äöü", 24, TextRowsWordBreak, {"äöü ", "äöü"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Make(c.text, c.width, c.flags).texts, c.rows) << c.text;
}

TEST(TextRows, JustifiedRowsLoseTrailingBreaksAndParagraphEndsAreNotStretched) {
  const Layout paragraphs = Make("aa bb cc dd\r\nee ff", 36, TextRowsJustifyParagraphs);
  ASSERT_EQ(paragraphs.texts, (Texts{"aa bb", "cc dd", "ee ff"}));
  EXPECT_EQ(paragraphs.rows[0].BreakCount, 1);
  EXPECT_EQ(paragraphs.rows[1].BreakCount, 0) << "ends its paragraph";
  EXPECT_EQ(paragraphs.rows[2].BreakCount, 0) << "ends the text";

  const Layout all = Make("aa bb cc dd\r\nee ff", 36, TextRowsJustifyAll);
  EXPECT_EQ(all.rows[1].BreakCount, 1);
  EXPECT_EQ(all.rows[2].BreakCount, 1);
}

TEST(TextRows, RowLimitsByHeightAndCount) {
  // Top alignment: the row that only partly fits is the last.
  Layout partly = Make("a b c d e f", 6, TextRowsWordBreak, 25);
  EXPECT_EQ(partly.texts, (Texts{"a ", "b ", "c "}));
  // Whole rows only: the last row is the last that fits completely.
  Layout whole = Make("a b c d e f", 6, TextRowsWordBreak | TextRowsWholeRowsOnly, 25);
  EXPECT_EQ(whole.texts, (Texts{"a ", "b "}));
  // Centred text counts rows against the maximum instead; cut text is not whole.
  Layout counted = Make("a b c d e f", 6, TextRowsWordBreak | TextRowsVAlignCenter, 25, 4);
  EXPECT_EQ(counted.rows.size(), 4u);
  EXPECT_FALSE(counted.whole);
  EXPECT_TRUE(Make("a b", 6, TextRowsWordBreak, 100, 4).whole);
  EXPECT_EQ(counted.rows[2].RowOffset, 4);
}

TEST(TextRows, PlacementByAlignment) {
  FixedWidthMeasurer m;
  auto place = [&](TcxTextRowsFlags flags, const TRect& r) {
    TcxTextParams p = PrepareTextParams(m, flags | TextRowsWordBreak);
    TcxTextRows rows;
    MakeTextRows(m, "aaa bb c", r, p, rows, 3);
    PlaceTextRows(r, p, rows);
    return rows;
  };
  const TRect r{10, 20, 28, 120};  // three characters wide: "aaa ", "bb ", "c"
  // Spread: the first row at the top, the last ending at the bottom.
  TcxTextRows spread = place(TextRowsVAlignSpread, r);
  ASSERT_EQ(spread.size(), 3u);
  EXPECT_EQ(spread[0].RowY, 20);
  EXPECT_EQ(spread[2].RowY + 10, 120);
  EXPECT_EQ(spread[1].RowY, 65);
  // Centre and bottom use the row step (text height plus external leading,
  // which only counts when asked for).
  TcxTextRows centre = place(TextRowsVAlignCenter | TextRowsAlignCenter, r);
  EXPECT_EQ(centre[0].RowY, 20 + (100 - 30) / 2);
  EXPECT_EQ(centre[0].RowX, 10 + (18 - 24) / 2);
  TcxTextRows bottom = place(TextRowsVAlignBottom | TextRowsAlignRight | TextRowsExternalLeading, r);
  EXPECT_EQ(bottom[0].RowY, 120 - 3 * 12 + 2);
  EXPECT_EQ(bottom[2].RowX, 28 - 6);
  // Too narrow: a right-aligned row may not start left of the rect with 0x40.
  TcxTextRows kept = place(TextRowsAlignRight | TextRowsNotLeftOfRect, {10, 20, 13, 120});
  EXPECT_EQ(kept[0].RowX, 10);
  EXPECT_EQ(MaxTextRowWidth(kept, 99), 24);
  EXPECT_EQ(MaxTextRowWidth(kept, 0), 0);
}

// Drawing through a real font on a bitmap (our GDI, no styles involved).
class TextRowsDrawing : public ::testing::Test, public TestSurface {
 protected:
  void SetUp() override {
    Reset(200, 60);
    bitmap->Canvas()->Font()->SetColor(clBlack);
  }
  win::HDC DC() { return bitmap->Canvas()->Handle(); }
  Integer Width(const std::string& s) { return MeasureTextRun(DC(), s.c_str(), static_cast<Integer>(s.size()), false).cx; }
  Integer InkRight(const TRect& r) {
    Integer right = -1;
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer x = r.Left; x < r.Right; ++x)
        if (!Is(x, y, clWhite)) right = std::max(right, x);
    return right;
  }
};

TEST_F(TextRowsDrawing, SingleLineWithEllipsisShowsTheFittingCharactersAndDots) {
  bitmap->Canvas()->RequiredState();
  const std::string text = "abcdefghijklmnopqrstuvwxyz";
  const Integer limit = Width("abcdefgh") + Width("...");
  TRect r{0, 0, limit, 20};
  DrawEditTextOnCanvas(bitmap->Canvas(), text, r, TextRowsSingleLine | TextRowsEndEllipsis);
  EXPECT_LT(InkRight({0, 0, 200, 20}), limit) << "nothing drawn past the rect";
  // The dots follow the fitting characters: ink right of the letters' end.
  EXPECT_GT(InkRight({Width("abcdefgh"), 0, limit, 20}), Width("abcdefgh"));
}

TEST_F(TextRowsDrawing, MeasureOnlyGivesTheNarrowestRectForTheWidestRow) {
  bitmap->Canvas()->RequiredState();
  TRect r{5, 0, 5 + Width("aaaa bbb c"), 60};
  const Integer height = DrawMultiRowTextOnCanvas(bitmap->Canvas(), "aaaa bbb cc", r, TextRowsWordBreak | TextRowsMeasureOnly);
  EXPECT_EQ(Count(clWhite), 200 * 60) << "measuring draws nothing";
  EXPECT_EQ(r.Right - r.Left, Width("aaaa bbb "));
  EXPECT_GT(height, 0);

  TRect two{0, 0, Width("aaaa "), 60};
  EXPECT_EQ(DrawMultiRowTextOnCanvas(bitmap->Canvas(), "aaaa bbb", two,
                                     TextRowsWordBreak | TextRowsMeasureOnly | TextRowsReturnRowCount),
            2);
}

TEST_F(TextRowsDrawing, SelectionIsFilledAndDrawnInItsColours) {
  bitmap->Canvas()->RequiredState();
  TRect r{0, 0, 200, 20};
  DrawMultiRowText(DC(), "abc def", r, TextRowsSingleLine, 4, 3, clBlue, clWhite);
  const Integer from = Width("abc "), to = Width("abc def");
  EXPECT_GT(Count(clBlue), 0);
  Integer left = 999, right = -1;
  for (Integer y = 0; y < 20; ++y)
    for (Integer x = 0; x < 200; ++x)
      if (Is(x, y, clBlue)) left = std::min(left, x), right = std::max(right, x);
  EXPECT_EQ(left, from);
  EXPECT_EQ(right, to - 1);
  // A selection past the end is cut to it; one outside the text is dropped.
  Reset(200, 60);
  bitmap->Canvas()->RequiredState();
  DrawMultiRowText(DC(), "abc", r, TextRowsSingleLine, 7, 3, clBlue, clWhite);
  EXPECT_EQ(Count(clBlue), 0);
}

}  // namespace
