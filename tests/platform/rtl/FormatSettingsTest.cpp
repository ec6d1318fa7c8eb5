#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <optional>
#include <string>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Formatting.h"

namespace {

// Points LC_ALL at a locale for one test and puts the environment and the
// process-wide settings back afterwards.
class LocaleEnvironment {
 public:
  explicit LocaleEnvironment(const char* name) {
    if (const char* old = std::getenv("LC_ALL")) previous_ = old;
    setenv("LC_ALL", name, 1);
    ReloadDefaultFormatSettings();
  }
  ~LocaleEnvironment() {
    if (previous_)
      setenv("LC_ALL", previous_->c_str(), 1);
    else
      unsetenv("LC_ALL");
    ReloadDefaultFormatSettings();
  }

 private:
  std::optional<std::string> previous_;
};

TEST(FormatSettingsTest, TheEnglishValuesStandWhereNoLocaleIsSet) {
  for (const char* name : {"C", "POSIX", "C.UTF-8", "xx_YY.UTF-8"}) {
    TFormatSettings fs = TFormatSettings::FromLocaleName(name);
    EXPECT_EQ(fs.DecimalSeparator, '.') << name;
    EXPECT_EQ(fs.ThousandSeparator, ',');
    EXPECT_EQ(fs.ShortDateFormat, "M/d/yyyy");
    EXPECT_EQ(fs.LongTimeFormat, "h:mm:ss AMPM");
    EXPECT_EQ(fs.CurrencyString, "$");
    EXPECT_EQ(fs.LongMonthNames[0], "January");
    EXPECT_EQ(fs.FirstDayOfWeek, 6);
  }
  LocaleEnvironment c("C.UTF-8");
  EXPECT_EQ(DefaultFormatSettings().DecimalSeparator, '.');
  EXPECT_EQ(FloatToStr(1.5), "1.5");
}

TEST(FormatSettingsTest, GermanLocale) {
  TFormatSettings fs = TFormatSettings::FromLocaleName("de_DE.UTF-8");
  EXPECT_EQ(fs.DecimalSeparator, ',');
  EXPECT_EQ(fs.ThousandSeparator, '.');
  EXPECT_EQ(fs.DateSeparator, '.');
  EXPECT_EQ(fs.TimeSeparator, ':');
  EXPECT_EQ(fs.ShortDateFormat, "dd/MM/yyyy");
  EXPECT_EQ(fs.LongTimeFormat, "hh:nn:ss");
  EXPECT_EQ(fs.ShortTimeFormat, "hh:nn");
  EXPECT_EQ(fs.CurrencyString, "€");
  EXPECT_EQ(fs.CurrencyFormat, 3);
  EXPECT_EQ(fs.NegCurrFormat, 8);
  EXPECT_EQ(fs.CurrencyDecimals, 2);
  EXPECT_EQ(fs.FirstDayOfWeek, 0);  // Monday
  EXPECT_EQ(fs.LongMonthNames[2], "März");
  EXPECT_EQ(fs.ShortDayNames[0], "So");

  const TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(21, 7, 2, 0);
  EXPECT_EQ(DateTimeToStr(t, fs), "05.03.2024 21:07:02");
  EXPECT_EQ(FormatDateTime("dddddd", t, fs), "Dienstag, 5. März 2024");
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, fs), "1.234,50");
  EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2, fs), "-1.234,50 €");
}

TEST(FormatSettingsTest, AmericanAndChineseLocales) {
  TFormatSettings us = TFormatSettings::FromLocaleName("en_US.UTF-8");
  EXPECT_EQ(us.ShortDateFormat, "MM/dd/yyyy");
  EXPECT_EQ(us.LongTimeFormat, "hh:nn:ss AMPM");
  EXPECT_EQ(us.ShortTimeFormat, "hh:nn AMPM");
  EXPECT_EQ(us.FirstDayOfWeek, 6);  // Sunday
  EXPECT_EQ(us.NegCurrFormat, 1);
  EXPECT_EQ(FormatDateTime("c", EncodeDate(2024, 3, 5) + 0.75, us), "03/05/2024 06:00:00 PM");

  TFormatSettings zh = TFormatSettings::FromLocaleName("zh_CN.UTF-8");
  EXPECT_EQ(DateToStr(EncodeDate(2024, 3, 5), zh), "2024年03月05日");
  EXPECT_EQ(zh.TimeAMString, "上午");
}

// Every locale reads back the dates and times it writes, also where its
// pictures carry text of their own between the fields (年 月 日, 时 分 秒).
TEST(FormatSettingsTest, EveryLocaleReadsBackItsOwnDatesAndTimes) {
  const TDateTime stamp = EncodeDate(2024, 3, 5) + EncodeTime(13, 4, 5, 0);
  for (const char* name : {"en_US.UTF-8", "de_DE.UTF-8", "zh_CN.UTF-8", "ja_JP.UTF-8", "ru_RU.UTF-8"}) {
    SCOPED_TRACE(name);
    ASSERT_NE(std::setlocale(LC_TIME, nullptr), nullptr);
    locale_t probe = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(nullptr));
    ASSERT_NE(probe, static_cast<locale_t>(nullptr)) << "the locale is not generated: run scripts/setup.sh";
    freelocale(probe);
    const TFormatSettings fs = TFormatSettings::FromLocaleName(name);
    EXPECT_EQ(StrToDate(DateToStr(stamp, fs), fs), EncodeDate(2024, 3, 5)) << DateToStr(stamp, fs);
    const TDateTime time = StrToTime(TimeToStr(stamp, fs), fs);
    EXPECT_NEAR(time, EncodeTime(13, 4, 5, 0), 1e-9) << TimeToStr(stamp, fs);
    EXPECT_NEAR(StrToDateTime(DateTimeToStr(stamp, fs), fs), stamp, 1e-9) << DateTimeToStr(stamp, fs);
  }
}

TEST(FormatSettingsTest, CategoriesAreReadSeparately) {
  TFormatSettings fs = TFormatSettings::FromLocale("de_DE.UTF-8", "C", "en_US.UTF-8");
  EXPECT_EQ(fs.DecimalSeparator, ',');
  EXPECT_EQ(fs.ShortDateFormat, "M/d/yyyy");
  EXPECT_EQ(fs.CurrencyString, "$");
}

TEST(FormatSettingsTest, DefaultFollowsACommaLocaleUnlessPinned) {
  LocaleEnvironment german("de_DE.UTF-8");
  EXPECT_EQ(DefaultFormatSettings().DecimalSeparator, ',');
  EXPECT_EQ(FloatToStr(1.5), "1,5");
  EXPECT_EQ(Format("%.2f", {2.5}), "2,50");
  EXPECT_EQ(StrToFloat("2,25"), 2.25);
  EXPECT_EQ(DateToStr(EncodeDate(2024, 3, 5)), "05.03.2024");
  {
    TFormatSettingsPin pin;  // English
    EXPECT_EQ(FloatToStr(1.5), "1.5");
    EXPECT_EQ(Format("%.2f", {2.5}), "2.50");
    EXPECT_EQ(DateToStr(EncodeDate(2024, 3, 5)), "3/5/2024");
  }
  EXPECT_EQ(FloatToStr(1.5), "1,5");
}

TEST(LocalePictureTest, DatePictures) {
  const TFormatSettings en = TFormatSettings::English();
  const TDateTime t = EncodeDate(2024, 3, 5);
  const struct {
    const char* Picture;
    const char* Expected;
  } cases[] = {
      {"dd.MM.yyyy", "05.03.2024"},
      {"d MMM yy", "5 Mar 24"},
      {"dddd', 'MMMM d", "Tuesday, March 5"},
      {"'It''s' yyyyy", "It's 2024"},
      {"M/d/y", "3/5/24"},
      {"mm HH", "mm HH"},  // time letters are text in a date picture
      {"ddd g", "Tue A.D."},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatLocaleDate(c.Picture, t, en), c.Expected) << c.Picture;
  EXPECT_EQ(FormatLocaleDate("", t, en), "3/5/2024");
  EXPECT_EQ(FormatLocaleDate("yyyy", -700000, en), std::nullopt);
}

TEST(LocalePictureTest, TimePictures) {
  const TFormatSettings en = TFormatSettings::English();
  const TDateTime evening = EncodeTime(21, 7, 2, 0);
  const struct {
    const char* Picture;
    TDateTime Value;
    const char* Expected;
  } cases[] = {
      {"hh:mm:ss tt", evening, "09:07:02 PM"},
      {"H:mm", evening, "21:07"},
      {"h t", evening, "9 P"},
      {"HH'h'mm", evening, "21h07"},
      {"h:mm tt", EncodeTime(0, 5, 0, 0), "12:05 AM"},
      {"s ss", EncodeTime(0, 0, 7, 0), "7 07"},
      {"dd yy", evening, "dd yy"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatLocaleTime(c.Picture, c.Value, en), c.Expected) << c.Picture;
  EXPECT_EQ(FormatLocaleTime("", evening, en), "9:07:02 PM");
}

TEST(LocalePictureTest, SettingsFormatsInTheSystemSyntax) {
  TFormatSettings en = TFormatSettings::English();
  EXPECT_EQ(LocaleShortDatePicture(en), "M/d/yyyy");
  EXPECT_EQ(LocaleTimePicture(en), "h:mm:ss tt");
  TFormatSettings de = en;
  de.DateSeparator = '.';
  de.ShortDateFormat = "dd/MM/yyyy";
  de.LongTimeFormat = "hh:nn:ss";
  EXPECT_EQ(LocaleShortDatePicture(de), "dd.MM.yyyy");
  EXPECT_EQ(LocaleTimePicture(de), "HH:mm:ss");
  de.ShortDateFormat = "yyyy\"年\"M/d";
  EXPECT_EQ(LocaleShortDatePicture(de), "yyyy'年'M.d");
  // Formatting through the converted picture matches FormatDateTime.
  const TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(21, 7, 2, 0);
  for (const TFormatSettings& fs : {en, de}) {
    EXPECT_EQ(FormatLocaleDate(LocaleShortDatePicture(fs), t, fs), FormatDateTime("ddddd", t, fs));
    EXPECT_EQ(FormatLocaleTime(LocaleTimePicture(fs), t, fs), FormatDateTime("tt", t, fs));
  }
}

}  // namespace
