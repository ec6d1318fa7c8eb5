#include "platform/win/PaperSizes.h"

#include <gtest/gtest.h>

using namespace win;

TEST(PaperSizes, TableHoldsTheSixtySixCodesWithTheirSizes) {
  auto table = PaperSizeTable();
  ASSERT_EQ(table.size(), 66u);
  EXPECT_EQ(table.front().code, 1);
  EXPECT_EQ(table[46].code, 47);
  EXPECT_EQ(table[47].code, 50) << "codes 48 and 49 are not papers";
  EXPECT_EQ(table.back().code, 68);
  EXPECT_EQ(FindPaperSize(48), nullptr);
  EXPECT_EQ(FindPaperSize(DMPAPER_USER), nullptr);
  struct Case {
    int code, width, length;
  } cases[] = {{1, 2159, 2794}, {4, 4318, 2794}, {9, 2100, 2970}, {35, 1760, 1250},
               {39, 3778, 2794}, {54, 2101, 2794}, {66, 4200, 5940}, {68, 3220, 4450}};
  for (const Case& c : cases) {
    const PaperSize* p = FindPaperSize(c.code);
    ASSERT_NE(p, nullptr) << c.code;
    EXPECT_EQ(p->width, c.width) << c.code;
    EXPECT_EQ(p->length, c.length) << c.code;
  }
}

TEST(PaperSizes, MediaSizesMapToCodesWithinOneMillimetre) {
  // Sizes in hundredths of a millimetre, as print systems give them; several
  // come from sizes in points and are a fraction of a millimetre off.
  struct Case {
    int width, length;
    short code;
  } cases[] = {
      {21000, 29700, DMPAPER_A4},      {20990, 29704, DMPAPER_A4},       {21590, 27940, DMPAPER_LETTER},
      {14817, 20990, DMPAPER_A5},      {21590, 35560, DMPAPER_LEGAL},    {18203, 25718, DMPAPER_B5},
      {21100, 29800, DMPAPER_A4},      // 1 mm off both ways is still A4
      {21101, 29700, DMPAPER_USER},    // just beyond
      {10000, 15000, DMPAPER_USER},    // a card of the printer's own
      {29700, 21000, DMPAPER_USER},    // A4 turned is no paper of the table
      {27940, 43180, DMPAPER_TABLOID}, // Tabloid and 11x17 are one size: the lower code
      {21010, 27940, DMPAPER_LETTER_TRANSVERSE},
  };
  for (const Case& c : cases) EXPECT_EQ(PaperCodeForSize(c.width, c.length), c.code) << c.width << " x " << c.length;
}

TEST(PaperSizes, EveryCodeMapsBackToItselfOrAnEarlierCodeOfTheSameSize) {
  for (const PaperSize& p : PaperSizeTable()) {
    short back = PaperCodeForSize(p.width * 10, p.length * 10);
    const PaperSize* q = FindPaperSize(back);
    ASSERT_NE(q, nullptr) << p.code;
    EXPECT_LE(back, p.code);
    EXPECT_EQ(q->width, p.width);
    EXPECT_EQ(q->length, p.length);
  }
}
