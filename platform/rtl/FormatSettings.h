// The class library's format settings: separators, currency layout, date and
// time formats and the names of months and days. One process-wide default is
// taken from the process locale; every formatting routine also has an
// overload that takes explicit settings, which radio data always use.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/rtl/System.h"

struct TFormatSettings {
  // Separators are single bytes, as the class library's Char was. A locale
  // whose separator is not plain ASCII gets the nearest ASCII stand-in (a
  // non-breaking blank becomes a blank).
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char ListSeparator = ',';

  std::string CurrencyString = "$";
  // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
  Byte CurrencyFormat = 0;
  // 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$", 6 "1-$", 7 "1$-",
  // 8 "-1 $", 9 "-$ 1", 10 "1 $-", 11 "$ 1-", 12 "$ -1", 13 "1- $",
  // 14 "($ 1)", 15 "(1 $)".
  Byte NegCurrFormat = 0;
  Byte CurrencyDecimals = 2;

  // Date formats use "/" for DateSeparator and time formats ":" for
  // TimeSeparator, as FormatDateTime reads them.
  std::string ShortDateFormat = "M/d/yyyy";
  std::string LongDateFormat = "dddd, MMMM d, yyyy";
  std::string ShortTimeFormat = "h:mm AMPM";
  std::string LongTimeFormat = "h:mm:ss AMPM";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";

  // Index 0 is January.
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames{"January", "February", "March",     "April",
                                             "May",     "June",     "July",      "August",
                                             "September", "October", "November", "December"};
  // Index 0 is Sunday.
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};

  // The locale's first day of the week counted as the system's locale
  // information counts it: 0 Monday .. 6 Sunday.
  Integer FirstDayOfWeek = 6;

  // Two-digit years read by StrToDate fall into the hundred years that end
  // this many years after the current year; 0 keeps the current century.
  Word TwoDigitYearCenturyWindow = 50;

  // The fixed English settings used where the process has no locale ("C").
  static TFormatSettings English();

  // Settings of the named locales, one per category (LC_NUMERIC, LC_TIME,
  // LC_MONETARY). An empty name means the process environment (LC_ALL, then
  // the category's variable, then LANG). A category whose locale is "C",
  // "POSIX" or cannot be loaded keeps the English values.
  static TFormatSettings FromLocale(std::string_view numeric = {}, std::string_view time = {},
                                    std::string_view monetary = {});
  // All three categories from one locale name.
  static TFormatSettings FromLocaleName(std::string_view name) {
    return FromLocale(name, name, name);
  }
};

// The process-wide settings, read from the environment's locale on first
// use. Read and change them on the user-interface thread only.
const TFormatSettings& DefaultFormatSettings();
// Replaces the process-wide settings (tests pin them this way).
void SetDefaultFormatSettings(const TFormatSettings& settings);
// Reads the process-wide settings again from the environment's locale (after
// a change of the regional settings).
void ReloadDefaultFormatSettings();

// Pins the process-wide settings for a scope and restores the previous ones.
class TFormatSettingsPin {
 public:
  explicit TFormatSettingsPin(const TFormatSettings& settings = TFormatSettings::English())
      : previous_(DefaultFormatSettings()) {
    SetDefaultFormatSettings(settings);
  }
  ~TFormatSettingsPin() { SetDefaultFormatSettings(previous_); }
  TFormatSettingsPin(const TFormatSettingsPin&) = delete;
  TFormatSettingsPin& operator=(const TFormatSettingsPin&) = delete;

 private:
  TFormatSettings previous_;
};

// Look-alikes of the system's locale date and time formatting, with its
// picture syntax rather than FormatDateTime's: letters are case-sensitive.
// Date pictures: d dd ddd dddd, M MM MMM MMMM, y yy yyyy (yyyyy), g gg (era).
// Time pictures: h hh (12-hour), H HH (24-hour), m mm, s ss, t tt (AM/PM
// marker, one letter or whole). Text in single quotes is literal ('' is a
// quote); other characters are copied. An empty picture means the settings'
// short date format or long time format. No value when the date lies outside
// the years 100..9999.
std::optional<std::string> FormatLocaleDate(std::string_view picture, TDateTime date,
                                            const TFormatSettings& settings);
std::optional<std::string> FormatLocaleDate(std::string_view picture, TDateTime date);
std::optional<std::string> FormatLocaleTime(std::string_view picture, TDateTime time,
                                            const TFormatSettings& settings);
std::optional<std::string> FormatLocaleTime(std::string_view picture, TDateTime time);

// The settings' short date format and long time format written in that
// picture syntax, as the system's locale information reports them: the
// separators are written out ("dd.MM.yyyy"), minutes are "mm", the AM/PM
// marker is "tt" and makes the hours 12-hour "h"; without it hours are "H".
std::string LocaleShortDatePicture(const TFormatSettings& settings);
std::string LocaleTimePicture(const TFormatSettings& settings);
