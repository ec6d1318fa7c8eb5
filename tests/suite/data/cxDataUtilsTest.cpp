#include "suite/data/cxDataUtils.h"
#include "suite/data/cxLikeMatch.h"

#include <gtest/gtest.h>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Formatting.h"

TEST(cxDataUtils, CurrencyDisplayFormatQuotesWhatThePictureReads) {
  struct Case {
    std::string symbol;
    Byte format, decimals;
    std::string expected;
  };
  const Case cases[] = {
      {"$", 0, 2, "$,0.00"},
      {"EUR", 3, 2, ",0.00 EUR"},
      {"Fr.", 2, 2, "Fr'.' ,0.00"},
      {"kr", 1, 0, ",0.kr"},
      {"", 0, 2, ",0.00"},
      {"$", 7, 2, ",0.00"},
      {"#0", 0, 1, "'#''0',0.0"},
      {"E+", 3, 2, ",0.00 'E'+"},
      {"a;b", 1, 2, ",0.00a';'b"},
      {"it's", 1, 2, ",0.00it\"'\"s"},
      {"\"q\"", 0, 2, "'\"'q'\"',0.00"},
  };
  for (const Case& c : cases) {
    TFormatSettings settings;
    settings.CurrencyString = c.symbol;
    settings.CurrencyFormat = c.format;
    settings.CurrencyDecimals = c.decimals;
    EXPECT_EQ(CurrencyDisplayFormat(settings), c.expected) << c.symbol;
  }
  // The quoted symbol comes out of the formatter as written.
  TFormatSettings settings;
  settings.CurrencyString = "#0E+";
  settings.CurrencyFormat = 3;
  EXPECT_EQ(FormatFloat(CurrencyDisplayFormat(settings), 1234.5), "1,234.50 #0E+");
}

TEST(cxDataUtils, DaysAndWeeks) {
  EXPECT_EQ(WholeDays(-1.5), -1);
  EXPECT_EQ(DayFraction(-1.5), -0.5);
  EXPECT_EQ(DayFraction(2.25), 0.25);
  TFormatSettings monday, sunday;
  monday.FirstDayOfWeek = 0;
  sunday.FirstDayOfWeek = 6;
  EXPECT_EQ(FirstWeekDay(monday), 1);
  EXPECT_EQ(FirstWeekDay(sunday), 0);
  const double sun = EncodeDate(2024, 3, 10), mon = EncodeDate(2024, 3, 11), sat = EncodeDate(2024, 3, 16);
  EXPECT_EQ(WeekStart(sun + 0.75, monday), EncodeDate(2024, 3, 4));
  EXPECT_EQ(WeekStart(mon, monday), mon);
  EXPECT_EQ(WeekStart(sat, sunday), sun);
  EXPECT_EQ(WeekStart(sun, sunday), sun);
}

TEST(cxDataUtils, TextMatches) {
  EXPECT_TRUE(TextMatches("Abcdef", "aBC", true));
  EXPECT_FALSE(TextMatches("Ab", "abc", true));
  EXPECT_TRUE(TextMatches("", "", true));
  EXPECT_FALSE(TextMatches("x", "", true));
  EXPECT_FALSE(TextMatches("Abcdef", "aBC", false));
  EXPECT_TRUE(TextMatches("abc", "ABC", false));
}

TEST(cxLikeMatch, PatternsTable) {
  struct Case {
    const char* pattern;
    const char* text;
    bool matches;
  };
  const Case cases[] = {
      {"%", "", true},        {"%", "anything", true}, {"a%", "a", true},      {"a%", "abc", true},
      {"a%", "ba", false},    {"%a", "cba", true},     {"%a", "", false},      {"a%b", "ab", true},
      {"a%b", "axxb", true},  {"a%b", "abx", false},   {"_b", "ab", true},     {"_b", "b", false},
      {"_b", "abc", false},   {"a%%", "a", true},      {"a%%", "ab", true},    {"%%", "", true},
      {"A%", "abc", false},   {"", "", true},          {"", "a", false},       {"%b%", "abc", true},
      {"a_c", "\xE4\xB8\xAD", false},                  {"_", "\xE4\xB8\xAD", true},
      {"%a%a%a%a%b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
  };
  for (const Case& c : cases) EXPECT_EQ(LikeMatch(c.text, c.pattern), c.matches) << c.pattern << " / " << c.text;
  // Other wildcards, and an escape that makes the next character literal.
  EXPECT_TRUE(LikeMatch("axyz", "a*", '*', '?'));
  EXPECT_TRUE(LikeMatch("a%", "a*", '*', '?'));
  const std::string pattern = "50!%%";
  EXPECT_TRUE(LikeMatchCore("50% off", 7, pattern.data(), '!', '_', '%', 5));
  EXPECT_FALSE(LikeMatchCore("500 off", 7, pattern.data(), '!', '_', '%', 5));
}

TEST(cxLikeMatch, AdversarialPatternIsAnsweredCorrectly) {
  std::string text(20000, 'a');
  std::string pattern;
  for (int i = 0; i < 200; ++i) pattern += "%a";
  EXPECT_FALSE(LikeMatch(text, pattern + "%b"));
  EXPECT_TRUE(LikeMatch(text + "b", pattern + "%b"));
}

TEST(cxLikeMatch, StripLikeWildcards) {
  struct Case {
    std::string pattern;
    Integer answer;
    std::string stripped;
  };
  const Case cases[] = {{"%abc%", 3, "abc"}, {"abc%", 1, "abc"}, {"%abc", 2, "abc"}, {"%%abc", 2, "abc"},
                        {"%", 0, "%"},       {"abc", 0, "abc"},  {"%%", 0, "%"},     {"a%%%b", 0, "a%b"}};
  for (const Case& c : cases) {
    std::string p = c.pattern;
    EXPECT_EQ(StripLikeWildcards(p, '%'), c.answer) << c.pattern;
    EXPECT_EQ(p, c.stripped) << c.pattern;
  }
}
