// Smart words and their offsets on a fake clock, the reading of typed dates
// in injected locales, dates to display text, and month arithmetic.
#include "suite/editors/cxDateUtils.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/Clock.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Resources.h"
#include "suite/editors/cxFormatController.h"
#include "tests/suite/editors/InjectedLocales.h"

namespace {

using injected_locales::Iso;

// German with a two-digit year.
TFormatSettings German() {
  TFormatSettings s = injected_locales::German();
  s.ShortDateFormat = "dd/MM/yy";
  return s;
}

std::string Text(TDateTime date) { return FormatDateTime("yyyy-mm-dd hh:nn", date, TFormatSettings::English()); }

// 2024-01-10 is a Wednesday.
const TDateTime kWednesdayNoon = EncodeDate(2024, 1, 10) + 0.5;

}  // namespace

TEST(cxDateUtils, SmartWordsAndOffsets) {
  TFakeClockScope clock(1000, kWednesdayNoon);
  TFormatSettingsPin pin;
  struct Case {
    const char* text;
    const char* date;
  };
  const Case cases[] = {
      {"today", "2024-01-10 00:00"},
      {"yesterday", "2024-01-09 00:00"},
      {"tomorrow", "2024-01-11 00:00"},
      {"TOMORROW", "2024-01-11 00:00"},
      // The coming weekday, today included.
      {"Monday", "2024-01-15 00:00"},
      {"wednesday", "2024-01-10 00:00"},
      {"Sunday", "2024-01-14 00:00"},
      {"Saturday", "2024-01-13 00:00"},
      // Days of the current week counted from Sunday.
      {"first", "2024-01-07 00:00"},
      {"second", "2024-01-08 00:00"},
      {"seventh", "2024-01-13 00:00"},
      {"bom", "2024-01-01 00:00"},
      {"eom", "2024-01-31 00:00"},
      {"now", "2024-01-10 12:00"},
      {"now+1", "2024-01-11 12:00"},
      {"today-7", "2024-01-03 00:00"},
      {"  today +  3 ", "2024-01-13 00:00"},
      {"today+x", "2024-01-10 00:00"},
      {"today+", "2024-01-10 00:00"},
      {"today 5", "2024-01-10 00:00"},
      // A trailing rest is taken as it stands.
      {"todayish", "2024-01-10 00:00"},
      {"tomorrow-1", "2024-01-10 00:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TDateTime date = 0;
    ASSERT_TRUE(SmartDateOf(c.text, date));
    EXPECT_EQ(Text(date), c.date);
  }
  TDateTime date = 123;
  EXPECT_FALSE(SmartDateOf("tod", date));
  EXPECT_FALSE(SmartDateOf("12/5/2024", date));
  EXPECT_EQ(date, 123);

  // The end of a leap February.
  clock.Clock().SetNow(EncodeDate(2024, 2, 10));
  ASSERT_TRUE(SmartDateOf("EOM", date));
  EXPECT_EQ(Text(date), "2024-02-29 00:00");
  ASSERT_TRUE(SmartDateOf("eom+1", date));
  EXPECT_EQ(Text(date), "2024-03-01 00:00");
}

TEST(cxDateUtils, WordsAreFoundLongestFirst) {
  TFormatSettingsPin pin;
  EXPECT_LT(CompareSmartWords("tomorrow", "today"), 0);
  EXPECT_LT(CompareSmartWords("today", "first"), 0);
  EXPECT_GT(CompareSmartWords("FIRST", "today"), 0);
  EXPECT_EQ(CompareSmartWords("Today", "today"), 0);
  struct Case {
    const char* text;
    Integer index;  // -1: none
  };
  const Case cases[] = {{"tomorrow", 2}, {"tomorrowland", 2}, {"today", 0}, {"to", -1},    {"sat", -1},
                        {"SUNDAY", 3},   {"secondly", 11},    {"EOM", 18},  {"nowhere", 19}, {"", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Integer index = -1;
    EXPECT_EQ(FindSmartDateWord(c.text, index), c.index >= 0);
    if (c.index >= 0) {
      EXPECT_EQ(index, c.index);
    }
  }
}

TEST(cxDateUtils, WordsAreReadAgainThroughTheTranslationOnEveryUse) {
  TFakeClockScope clock(1000, kWednesdayNoon);
  SetResourceStringHook([](Integer id, const std::string& text) -> std::string {
    if (id == SmartDateWordResourceId(0)) return "heute";
    if (id == SmartDateWordResourceId(2)) return "";  // a blanked word matches nothing
    return text;
  });
  Integer index = -1;
  TDateTime date = 0;
  EXPECT_TRUE(FindSmartDateWord("heute", index));
  EXPECT_EQ(index, 0);
  EXPECT_FALSE(FindSmartDateWord("today", index));
  EXPECT_FALSE(FindSmartDateWord("tomorrow", index));
  EXPECT_FALSE(FindSmartDateWord("xyz", index));
  ASSERT_TRUE(SmartDateOf("heute-1", date));
  EXPECT_EQ(Text(date), "2024-01-09 00:00");
  std::string mask = "x";
  AppendSmartDateWords(mask, false);
  EXPECT_EQ(mask.rfind("(x)|('heute'|'yesterday'||'Sunday'", 0), 0u) << mask;
  SetResourceStringHook(nullptr);
  EXPECT_TRUE(FindSmartDateWord("today", index));
}

TEST(cxDateUtils, SmartWordsInRegularExpressions) {
  EXPECT_EQ(QuoteForRegExpr("today"), "'today'");
  EXPECT_EQ(QuoteForRegExpr("it's"), "'it'\\''s'");
  EXPECT_EQ(QuoteForRegExpr("'a''"), "\\''a'\\'\\'");
  EXPECT_EQ(QuoteForRegExpr(""), "");

  std::string date = "d";
  AppendSmartDateWords(date, false);
  EXPECT_EQ(date,
            "(d)|('today'|'yesterday'|'tomorrow'|'Sunday'|'Monday'|'Tuesday'|'Wednesday'|'Thursday'|'Friday'|"
            "'Saturday'|'first'|'second'|'third'|'fourth'|'fifth'|'sixth'|'seventh'|'bom'|'eom')"
            "((\\+|-)\\d(\\d(\\d\\d?)?)?)?");
  std::string dateTime = "d";
  AppendSmartDateWords(dateTime, true);
  EXPECT_NE(dateTime.find("|'eom'|'now')((\\+"), std::string::npos);
}

TEST(cxDateUtils, ParsingTypedDates) {
  TFakeClockScope clock(1000, kWednesdayNoon);
  {
    // Words are looked for before "-" becomes a blank.
    TFormatSettingsPin pin(Iso());
    TDateTime date = 0;
    ASSERT_TRUE(ParseSmartDateText(" today-7 ", date));
    EXPECT_EQ(Text(date), "2024-01-03 00:00");
    ASSERT_TRUE(ParseSmartDateText("2024-03-05", date));
    EXPECT_EQ(Text(date), "2024-03-05 00:00");
  }
  TFormatSettingsPin pin;
  TDateTime date = 123;
  EXPECT_FALSE(ParseSmartDateText("", date));
  EXPECT_FALSE(ParseSmartDateText("   ", date));
  EXPECT_EQ(date, 123);
  ASSERT_TRUE(ParseSmartDateText("3/5/2024", date));
  EXPECT_EQ(Text(date), "2024-03-05 00:00");
  ASSERT_TRUE(ParseSmartDateText("3/5/2024 1:30 PM", date));
  EXPECT_EQ(Text(date), "2024-03-05 13:30");
  EXPECT_FALSE(ParseSmartDateText("garbage", date));
  EXPECT_EQ(date, NullDate);
  // The last day of the year 9999, and the day after it.
  EXPECT_TRUE(ParseSmartDateText("2958465", date));
  EXPECT_FALSE(ParseSmartDateText("2958466", date));
  EXPECT_FALSE(ParseSmartDateText("today+2999999", date));
  EXPECT_FALSE(ParseSmartDateText("-3000000000", date));

  struct Case {
    const char* text;
    bool localeMode;
    const char* date;  // nullptr: refused
  };
  const Case cases[] = {
      {"5.3.24", true, "2024-03-05 00:00"},
      {"5 3 2024", true, "2024-03-05 00:00"},
      {"05.03.2024 10:15:00", false, "2024-03-05 10:15"},
      {"5 3 2024", false, nullptr},
      {"today", true, nullptr},
      {"", false, nullptr},
  };
  TFormatSettingsPin german(German());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TDateTime value = 0;
    EXPECT_EQ(TryTextToDate(c.text, value, c.localeMode), c.date != nullptr);
    if (c.date)
      EXPECT_EQ(Text(value), c.date);
    else
      EXPECT_EQ(value, NullDate);
  }
}

TEST(cxDateUtils, DatesToDisplayText) {
  const TDateTime afternoon = EncodeDate(2024, 3, 5) + EncodeTime(15, 4, 5, 0);
  const TDateTime day = EncodeDate(2024, 3, 5);
  {
    TFormatSettingsPin pin;
    FormatController()->ReloadFormats();
    EXPECT_EQ(DateToDisplayText(true, true, false, afternoon), "03/05/2024 03:04:05 PM");
    EXPECT_EQ(DateToDisplayText(true, false, false, afternoon), "03/05/2024");
    EXPECT_EQ(DateToDisplayText(false, false, false, afternoon), "3/5/2024 3:04:05 PM");
    EXPECT_EQ(DateToDisplayText(false, false, true, day), "3/5/2024");
    EXPECT_EQ(DateToDisplayText(true, true, true, NullDate), "");
    EXPECT_EQ(DateToDisplayText(false, false, false, NullDate), "");
    // Beyond the calendar neither the locale nor the variant has a text.
    EXPECT_EQ(DateToDisplayText(false, false, false, 3e6), "");
  }
  TFormatSettingsPin german(German());
  FormatController()->ReloadFormats();
  EXPECT_EQ(DateToDisplayText(false, false, false, day), "05.03.24");
  EXPECT_EQ(DateToDisplayText(false, false, true, day), "05.03.2024");
  EXPECT_EQ(DateToDisplayText(false, false, true, afternoon), "05.03.2024 15:04:05");
  EXPECT_EQ(DateToDisplayText(true, true, false, afternoon), "05.03.24 15:04:05");
}

TEST(cxDateUtils, MonthArithmetic) {
  struct Shift {
    Integer year, month, months;
    Integer newYear, newMonth, years;
  };
  const Shift shifts[] = {
      {2020, 1, -13, 2018, 12, -1}, {2020, 1, 13, 2021, 2, 1}, {2020, 11, 2, 2021, 1, 0},
      {2020, 3, -2, 2020, 1, 0},    {2020, 1, -1, 2019, 12, 0}, {2020, 6, -24, 2018, 6, -2},
      {2020, 12, 0, 2020, 12, 0},   {2020, 12, 12, 2021, 12, 1},
  };
  for (const Shift& s : shifts) {
    SCOPED_TRACE(testing::Message() << s.year << "-" << s.month << " " << s.months);
    Integer year = s.year, month = s.month;
    EXPECT_EQ(ShiftMonthBy(year, month, s.months), s.years);
    EXPECT_EQ(year, s.newYear);
    EXPECT_EQ(month, s.newMonth);
  }
  Integer year = 2020, month = 1;
  StepMonthBack(year, month);
  EXPECT_EQ(year * 100 + month, 201912);
  StepMonthForward(year, month);
  StepMonthForward(year, month);
  EXPECT_EQ(year * 100 + month, 202002);
  StepMonthBack(year, month);
  EXPECT_EQ(year * 100 + month, 202001);

  EXPECT_TRUE(LeapYearOf(2000));
  EXPECT_FALSE(LeapYearOf(1900));
  EXPECT_TRUE(LeapYearOf(2024));
  EXPECT_FALSE(LeapYearOf(2023));
  EXPECT_EQ(DaysInMonthOf(2024, 2), 29);
  EXPECT_EQ(DaysInMonthOf(2100, 2), 28);
  EXPECT_EQ(DaysInMonthOf(2023, 4), 30);
  EXPECT_EQ(DaysInMonthOf(2023, 12), 31);
  EXPECT_EQ(ClampDayToMonth(2024, 2, 0), 1);
  EXPECT_EQ(ClampDayToMonth(2024, 2, -5), 1);
  EXPECT_EQ(ClampDayToMonth(2024, 2, 31), 29);
  EXPECT_EQ(ClampDayToMonth(2023, 2, 29), 28);
  EXPECT_EQ(ClampDayToMonth(2024, 4, 15), 15);

  const TDateTime date = EncodeDate(2024, 3, 5) + 0.25;
  EXPECT_EQ(DatePart(dpYear, date), 2024);
  EXPECT_EQ(DatePart(dpMonth, date), 3);
  EXPECT_EQ(DatePart(dpDay, date), 5);
  EXPECT_EQ(MinEditDate(), EncodeDate(100, 1, 1));
}
