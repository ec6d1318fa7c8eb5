#include "platform/rtl/DateUtils.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>

#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"

namespace {

TFormatSettings English() { return TFormatSettings::English(); }

TFormatSettings German() {
  TFormatSettings fs = TFormatSettings::English();
  fs.DecimalSeparator = ',';
  fs.DateSeparator = '.';
  fs.ShortDateFormat = "dd/MM/yyyy";
  fs.LongTimeFormat = "hh:nn:ss";
  fs.ShortTimeFormat = "hh:nn";
  return fs;
}

// Milliseconds apart at most.
void ExpectSameTime(TDateTime actual, TDateTime expected, const std::string& context) {
  EXPECT_NEAR(actual, expected, 0.5 / MSecsPerDay) << context;
}

TEST(EncodeDateTest, DayNumbersAndRange) {
  const struct {
    Word Y, M, D;
    double Expected;
  } cases[] = {
      {1899, 12, 30, 0},     {1899, 12, 29, -1},   {1900, 1, 1, 2},    {2024, 1, 1, 45292},
      {2024, 3, 5, 45356},   {2000, 2, 29, 36585}, {100, 1, 1, -657434}, {9999, 12, 31, 2958465},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeDate(c.Y, c.M, c.D), c.Expected) << c.Y << "-" << c.M << "-" << c.D;
    Word y, m, d;
    DecodeDate(c.Expected, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, c.Y * 10000 + c.M * 100 + c.D);
  }
  const Word bad[][3] = {{2023, 2, 29}, {2024, 13, 1}, {2024, 0, 1}, {2024, 4, 31},
                         {99, 12, 31},  {10000, 1, 1}, {2024, 1, 0}};
  for (const auto& b : bad) {
    TDateTime out = 123;
    EXPECT_FALSE(TryEncodeDate(b[0], b[1], b[2], out));
    EXPECT_EQ(out, 123);
    EXPECT_THROW(EncodeDate(b[0], b[1], b[2]), EConvertError);
  }
}

TEST(EncodeDateTest, DecodeInvertsEncodeAcrossTheWholeRange) {
  for (double day = -657434; day <= 2958465; day += 997) {
    Word y, m, d;
    DecodeDate(day, y, m, d);
    ASSERT_EQ(EncodeDate(y, m, d), day);
  }
}

TEST(EncodeTimeTest, EncodeDecodeAndNegativeDates) {
  TDateTime t = EncodeTime(9, 7, 2, 45);
  Word h, n, s, z;
  DecodeTime(t, h, n, s, z);
  EXPECT_EQ((std::array<Word, 4>{h, n, s, z}), (std::array<Word, 4>{9, 7, 2, 45}));
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  for (auto bad : {std::array<Word, 4>{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}})
    EXPECT_THROW(EncodeTime(bad[0], bad[1], bad[2], bad[3]), EConvertError);

  // The time of a negative value is its absolute fraction.
  Word y, m, d;
  DecodeDateTime(-1.25, y, m, d, h, n, s, z);
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991229);
  EXPECT_EQ(h, 6);
  EXPECT_EQ(CombineDateTime(-1, 0.25), -1.25);

  // A time a hair before midnight rounds into the next day, never to hour 24.
  DecodeDateTime(0.999999999999, y, m, d, h, n, s, z);
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991231);
  EXPECT_EQ(h, 0);
}

TEST(CalendarTest, DayOfWeekLeapYearsAndIncMonth) {
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 5)), 3);  // Tuesday
  EXPECT_EQ(DayOfWeek(0), 7);
  EXPECT_EQ(DayOfWeek(-1), 6);
  EXPECT_EQ(DayOfWeek(1), 1);
  for (auto [year, leap] : {std::pair{1900, false}, {2000, true}, {2024, true}, {2023, false}})
    EXPECT_EQ(IsLeapYear(static_cast<Word>(year)), leap) << year;
  EXPECT_EQ(DaysInAMonth(2024, 2), 29);
  EXPECT_EQ(DaysInAMonth(2023, 2), 28);

  EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 31)), EncodeDate(2024, 2, 29));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 3, 31), -1), EncodeDate(2024, 2, 29));
  EXPECT_EQ(IncMonth(EncodeDate(2023, 12, 15) + 0.5, 1), EncodeDate(2024, 1, 15) + 0.5);
  EXPECT_EQ(IncMonth(EncodeDate(2024, 5, 10), -17), EncodeDate(2022, 12, 10));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 5, 10), 24), EncodeDate(2026, 5, 10));
}

TEST(ClockDatesTest, NowDateAndTimeFollowTheInstalledClock) {
  TFakeClockScope clock(1000, EncodeDate(2024, 3, 5) + 0.25);
  EXPECT_EQ(Now(), EncodeDate(2024, 3, 5) + 0.25);
  EXPECT_EQ(Date(), EncodeDate(2024, 3, 5));
  EXPECT_EQ(Time(), 0.25);
  clock.Advance(12 * 3600 * 1000);
  EXPECT_EQ(Date(), EncodeDate(2024, 3, 5));
  clock.Advance(12 * 3600 * 1000);
  EXPECT_EQ(Date(), EncodeDate(2024, 3, 6));
}

TEST(FormatDateTimeTest, PictureLetters) {
  const TDateTime morning = EncodeDate(2024, 3, 5) + EncodeTime(9, 7, 2, 45);
  const TDateTime evening = EncodeDate(2024, 3, 5) + EncodeTime(21, 7, 2, 0);
  const struct {
    const char* Format;
    TDateTime Value;
    const char* Expected;
  } cases[] = {
      {"yyyy-MM-dd HH:mm:ss", morning, "2024-03-05 09:07:02"},
      {"hh:mm", morning, "09:07"},
      {"dd/mm/yy, hh:mm:ss", morning, "05/03/24, 09:07:02"},
      {"d/m/y", morning, "5/3/24"},
      {"ddd dddd", morning, "Tue Tuesday"},
      {"mmm mmmm MMMM", morning, "Mar March March"},
      {"h:nn am/pm", morning, "9:07 am"},
      {"h:nn am/pm", evening, "9:07 pm"},
      {"h:nn AM/PM", evening, "9:07 PM"},
      {"h:nn a/p", evening, "9:07 p"},
      {"hh:nn ampm", morning, "09:07 AM"},
      {"h:nn am/pm", EncodeTime(0, 30, 0, 0), "12:30 am"},
      {"h:nn am/pm", EncodeTime(12, 0, 0, 0), "12:00 pm"},
      {"h 'x' h am/pm", evening, "21 x 9 pm"},  // the marker counts for the nearest hour only
      {"n s nn ss", morning, "7 2 07 02"},
      {"z zzz", morning, "45 045"},
      {"mm:ss", morning, "03:02"},  // no hour before: month
      {"hh 'x' mm", morning, "09 x 07"},
      {"hh:mmm", morning, "09:Mar"},
      {"'yyyy' yyyy", morning, "yyyy 2024"},
      {"\"d\"d", morning, "d5"},
      {"yyyy年mm月dd日", morning, "2024年03月05日"},
      {"c", morning, "3/5/2024 9:07:02 AM"},
      {"c", EncodeDate(2024, 3, 5), "3/5/2024"},
      {"", evening, "3/5/2024 9:07:02 PM"},
      {"ddddd", morning, "3/5/2024"},
      {"dddddd", morning, "Tuesday, March 5, 2024"},
      {"t", morning, "9:07 AM"},
      {"tt", morning, "9:07:02 AM"},
      {"e g", morning, "2024 A.D."},
      {"yyyy-mm-dd hh:nn", -1.25, "1899-12-29 06:00"},
      {"yyyy-mm-dd", EncodeDate(100, 1, 1), "0100-01-01"},
      {"x q!", morning, "x q!"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatDateTime(c.Format, c.Value, English()), c.Expected) << c.Format;
}

TEST(FormatDateTimeTest, SeparatorsComeFromTheSettings) {
  const TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(9, 7, 2, 0);
  EXPECT_EQ(FormatDateTime("dd/mm/yy, hh:mm:ss", t, German()), "05.03.24, 09:07:02");
  EXPECT_EQ(FormatDateTime("ddddd t", t, German()), "05.03.2024 09:07");
  TFormatSettings dots = English();
  dots.TimeSeparator = '.';
  dots.DateSeparator = '-';
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn", t, dots), "2024-03-05 09.07");
  // Literal separators in quotes stay as written.
  EXPECT_EQ(FormatDateTime("hh':'nn", t, dots), "09:07");
}

TEST(FormatDateTimeTest, SelfReferringFormatsStop) {
  TFormatSettings fs = English();
  fs.ShortDateFormat = "c";
  fs.LongTimeFormat = "tt";
  const std::string text = FormatDateTime("c", EncodeDate(2024, 3, 5) + 0.5, fs);
  EXPECT_LT(text.size(), 100u);
}

TEST(DateTextTest, DateToStrTimeToStrDateTimeToStr) {
  const TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(21, 7, 2, 0);
  EXPECT_EQ(DateToStr(t, English()), "3/5/2024");
  EXPECT_EQ(TimeToStr(t, English()), "9:07:02 PM");
  EXPECT_EQ(DateTimeToStr(t, English()), "3/5/2024 9:07:02 PM");
  EXPECT_EQ(DateTimeToStr(t, German()), "05.03.2024 21:07:02");
}

TEST(StrToDateTest, OrderSeparatorsAndCenturyWindow) {
  TFakeClockScope clock(1000, EncodeDate(2024, 6, 1));
  TFormatSettings ymd = English();
  ymd.ShortDateFormat = "yyyy/mm/dd";
  ymd.DateSeparator = '-';
  const struct {
    const char* Text;
    TFormatSettings Settings;
    TDateTime Expected;
  } good[] = {
      {"3/5/2024", English(), EncodeDate(2024, 3, 5)},
      {" 3 / 5 / 2024 ", English(), EncodeDate(2024, 3, 5)},
      {"5.3.2024", German(), EncodeDate(2024, 3, 5)},
      {"2024-03-05", ymd, EncodeDate(2024, 3, 5)},
      {"3-5", ymd, EncodeDate(2024, 3, 5)},
      {"3/5", English(), EncodeDate(2024, 3, 5)},
      {"3/5/24", English(), EncodeDate(2024, 3, 5)},
      {"3/5/80", English(), EncodeDate(1980, 3, 5)},
      {"3/5/74", English(), EncodeDate(1974, 3, 5)},
      {"3/5/73", English(), EncodeDate(2073, 3, 5)},
      {"2/29/2024", English(), EncodeDate(2024, 2, 29)},
  };
  for (const auto& c : good) EXPECT_EQ(StrToDate(c.Text, c.Settings), c.Expected) << c.Text;

  for (const char* text : {"", "3/5/", "13/5/2024", "2/30/2024", "3-5-2024", "3/5/2024x", "abc",
                           "3/5/10000", "3/5/2024 10:00", "1234567890/1/1"}) {
    TDateTime v = 7;
    EXPECT_FALSE(TryStrToDate(text, v, English())) << text;
    EXPECT_EQ(v, 7);
  }
  try {
    StrToDate("x", English());
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'x' is not a valid date");
  }
}

TEST(StrToTimeTest, HoursMinutesSecondsAndMarkers) {
  const struct {
    const char* Text;
    Word H, N, S, Z;
  } good[] = {
      {"9:07", 9, 7, 0, 0},        {"9:07:02", 9, 7, 2, 0},   {"9:07:02.5", 9, 7, 2, 500},
      {"9:07:02.045", 9, 7, 2, 45}, {"9:07 PM", 21, 7, 0, 0},  {"pm 9:07", 21, 7, 0, 0},
      {"12:00 AM", 0, 0, 0, 0},    {"12:00 pm", 12, 0, 0, 0}, {"23:59:59.999", 23, 59, 59, 999},
      {" 7 ", 7, 0, 0, 0},
  };
  for (const auto& c : good)
    ExpectSameTime(StrToTime(c.Text, English()), EncodeTime(c.H, c.N, c.S, c.Z), c.Text);
  for (const char* text : {"24:00", "9:60", "13:00 PM", "0:10 AM", "9:", "x", "9:07:02:01", "", "9:07 XM"})
    EXPECT_THROW(StrToTime(text, English()), EConvertError) << text;
  try {
    StrToTime("25:00", English());
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'25:00' is not a valid time");
  }
}

TEST(StrToDateTimeTest, DateTimeOrEither) {
  TFakeClockScope clock(1000, EncodeDate(2024, 6, 1));
  ExpectSameTime(StrToDateTime("3/5/2024 9:07:02 PM", English()),
                 EncodeDate(2024, 3, 5) + EncodeTime(21, 7, 2, 0), "date and time");
  ExpectSameTime(StrToDateTime("05.03.2024 21:07", German()),
                 EncodeDate(2024, 3, 5) + EncodeTime(21, 7, 0, 0), "german");
  EXPECT_EQ(StrToDateTime("3/5/2024", English()), EncodeDate(2024, 3, 5));
  ExpectSameTime(StrToDateTime("9:07", English()), EncodeTime(9, 7, 0, 0), "time only");
  // A round trip through the settings' own text.
  const TDateTime t = EncodeDate(1999, 12, 31) + EncodeTime(23, 59, 58, 0);
  ExpectSameTime(StrToDateTime(DateTimeToStr(t, German()), German()), t, "round trip");
  try {
    StrToDateTime("3/5/2024 25:00", English());
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'3/5/2024 25:00' is not a valid date and time");
  }
}

TEST(StrToDateTimeTest, WrittenTextReadsBack) {
  TFakeClockScope clock(1000, EncodeDate(2024, 6, 1));
  TFormatSettings iso = English();
  iso.ShortDateFormat = "yyyy/mm/dd";
  iso.DateSeparator = '-';
  iso.LongTimeFormat = "hh:nn:ss.zzz";
  iso.DecimalSeparator = '.';
  for (const TFormatSettings& fs : {English(), German(), iso}) {
    for (double day = -657434; day <= 2958465; day += 7919.37) {
      const TDateTime value = std::round(day * SecsPerDay) / SecsPerDay;
      ExpectSameTime(StrToDateTime(DateTimeToStr(value, fs), fs), value, DateTimeToStr(value, fs));
    }
  }
}

}  // namespace
