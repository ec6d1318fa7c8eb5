#include "controls/CellText.h"

#include <gtest/gtest.h>

#include "platform/rtl/FormatSettings.h"

namespace {

// Pins the number and date formats for the test and puts back the previous.
class FormatScope {
 public:
  explicit FormatScope(const TFormatSettings& s) : saved_(DefaultFormatSettings()) {
    SetDefaultFormatSettings(s);
  }
  ~FormatScope() { SetDefaultFormatSettings(saved_); }

 private:
  TFormatSettings saved_;
};

struct NumberCase {
  const char* Text;
  Integer Int, Dec;
  bool Thousand, ZeroNull, Trailing;
  const char* Expected;  // nullptr: not a number
};

TEST(CellTextTest, NumbersFollowTheCellsSettings) {
  FormatScope english(TFormatSettings::English());
  const NumberCase cases[] = {
      {"12.5", 3, 2, false, false, false, "12.5"},
      {"1234.567", 3, 2, false, false, false, "1234.57"},
      {"7", 3, 2, false, false, false, "7"},
      {"1234.5", 3, 2, true, false, false, "1,234.5"},
      {"1,234.5", 3, 2, true, false, false, "1,234.5"},
      {"0", 3, 2, false, false, true, ""},
      {"0.00", 3, 2, false, false, false, "0"},
      {"0.00", 3, 2, false, true, false, ""},
      {"0.00", 3, 2, false, false, true, "0.00"},
      {"  -3.10 ", 3, 2, false, false, false, "-3.1"},
      {"-", 3, 2, false, false, false, ""},
      {"0.", 3, 2, false, false, false, ""},
      {"", 3, 2, false, false, false, ""},
      {"100", 1, 0, false, false, false, "100"},  // the width never cuts digits
      {"450.125", 3, 3, false, false, false, "450.125"},
      {"abc", 3, 2, false, false, false, nullptr},
      {"1.2.3", 3, 2, false, false, false, nullptr},
  };
  for (const NumberCase& c : cases) {
    auto got = FormatNumberText(c.Text, c.Int, c.Dec, c.Thousand, c.ZeroNull, c.Trailing);
    if (!c.Expected) {
      EXPECT_FALSE(got.has_value()) << c.Text;
    } else {
      ASSERT_TRUE(got.has_value()) << c.Text;
      EXPECT_EQ(*got, c.Expected) << c.Text;
    }
  }
}

// Mended: with a comma for decimals and a full stop for thousands, only
// decimals lose their zeros.
TEST(CellTextTest, TrailingZerosGoOnlyAfterTheLocalesDecimalSeparator) {
  TFormatSettings german = TFormatSettings::English();
  german.DecimalSeparator = ',';
  german.ThousandSeparator = '.';
  FormatScope scope(german);
  EXPECT_EQ(FormatNumberText("1000", 3, 0, true, false, false), "1.000");
  EXPECT_EQ(FormatNumberText("1.234,50", 3, 2, true, false, false), "1.234,5");
  EXPECT_EQ(FormatNumberText("2,00", 3, 2, false, false, false), "2");
}

TEST(CellTextTest, DatesAndTimesInTheirStoredForm) {
  TFormatSettings s = TFormatSettings::English();
  s.ShortDateFormat = "d/M/yyyy";
  s.DateSeparator = '.';
  FormatScope scope(s);
  struct Case {
    const char* Text;
    const char* Expected;
  };
  for (const Case& c :
       {Case{"6.5.2024", "2024-05-06"},    // the locale's own form
        Case{"2024.05.06", "2024-05-06"},  // the editor's, with the locale's separator
        Case{"2024/5/6", "2024-05-06"},    // the editor's mask form
        Case{"2024-05-06", "2024-05-06"},  // the stored form
        Case{"    .  .  ", ""},            // only blanks and literals
        Case{"2024.02.30", nullptr}, Case{"yesterday", nullptr}, Case{"2024.05.  ", nullptr}}) {
    auto got = CellDateText(c.Text);
    if (c.Expected) {
      ASSERT_TRUE(got.has_value()) << c.Text;
      EXPECT_EQ(*got, c.Expected) << c.Text;
    } else {
      EXPECT_FALSE(got.has_value()) << c.Text;
    }
  }
  for (const Case& c :
       {Case{"7:05:09", "07:05:09"}, Case{"23:59:59", "23:59:59"}, Case{"  :  :  ", ""},
        Case{"24:00:00", nullptr}, Case{"12:3 :  ", nullptr}, Case{"noon", nullptr}}) {
    auto got = CellTimeText(c.Text);
    if (c.Expected) {
      ASSERT_TRUE(got.has_value()) << c.Text;
      EXPECT_EQ(*got, c.Expected) << c.Text;
    } else {
      EXPECT_FALSE(got.has_value()) << c.Text;
    }
  }
}

TEST(CellTextTest, ColumnTitles) {
  EXPECT_EQ(ColumnTitle(0), "A");
  EXPECT_EQ(ColumnTitle(25), "Z");
  EXPECT_EQ(ColumnTitle(26), "AA");
  EXPECT_EQ(ColumnTitle(51), "AZ");
  EXPECT_EQ(ColumnTitle(52), "BA");
  EXPECT_EQ(ColumnTitle(255), "IV");
  EXPECT_EQ(ColumnTitle(256), "");
  EXPECT_EQ(ColumnTitle(-1), "");
}

}  // namespace
