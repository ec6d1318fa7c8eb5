#include "platform/rtl/FormatSettings.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Utf8.h"

namespace {

// The locale name a category would get from the environment, as the C
// library resolves it: LC_ALL, then the category's own variable, then LANG.
std::string EnvironmentLocaleName(const char* categoryVariable) {
  for (const char* variable : {"LC_ALL", categoryVariable, "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return "C";
}

bool IsPlainCLocale(std::string_view name) {
  return name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.");
}

// A loaded locale for one category; empty when the category stays English.
class LocaleHandle {
 public:
  LocaleHandle(std::string_view name, const char* variable, int mask) {
    std::string resolved = name.empty() ? EnvironmentLocaleName(variable) : std::string(name);
    if (IsPlainCLocale(resolved)) return;
    handle_ = newlocale(mask, resolved.c_str(), static_cast<locale_t>(nullptr));
  }
  ~LocaleHandle() {
    if (handle_) freelocale(handle_);
  }
  LocaleHandle(const LocaleHandle&) = delete;
  LocaleHandle& operator=(const LocaleHandle&) = delete;

  explicit operator bool() const { return handle_ != nullptr; }
  std::string Text(nl_item item) const {
    const char* s = nl_langinfo_l(item, handle_);
    return s ? s : "";
  }
  const char* Raw(nl_item item) const { return nl_langinfo_l(item, handle_); }
  // Items whose first byte is a small number (CHAR_MAX when unset).
  int Number(nl_item item) const {
    const char* s = nl_langinfo_l(item, handle_);
    return s ? static_cast<unsigned char>(s[0]) : CHAR_MAX;
  }

 private:
  locale_t handle_ = nullptr;
};

// The one-byte stand-in for a locale separator.
char SeparatorChar(const std::string& s, char fallback) {
  if (s.size() == 1 && static_cast<unsigned char>(s[0]) < 0x80) return s[0];
  // No-break, narrow no-break and thin spaces group digits like a blank.
  if (s == "\xC2\xA0" || s == "\xE2\x80\xAF" || s == "\xE2\x80\x89") return ' ';
  if (s == "\xE2\x80\x99") return '\'';
  return fallback;
}

void SetName(std::string& field, const std::string& value) {
  if (!value.empty() && IsValidUtf8(value)) field = value;
}

// Translates a C-library date or time format into the class library's
// picture. The first plain character between two fields becomes the
// separator placeholder ('/' or ':'); other text is quoted.
std::string PictureFromStrftime(const std::string& format, LocaleHandle& locale, bool isDate,
                                char& separator, int depth = 0) {
  std::string out;
  std::string literal;
  bool seenField = false;
  const char placeholder = isDate ? '/' : ':';
  auto flushLiteral = [&]() {
    if (literal.empty()) return;
    std::string quoted;
    for (char c : literal) {
      bool plain = c == ' ' || c == ',' || c == '-' || c == '.' || c == '/' || c == ':';
      if (seenField && separator == 0 && c != ' ' && static_cast<unsigned char>(c) < 0x80 && plain &&
          c != ',')
        separator = c;
      if (c == separator && seenField) {
        if (!quoted.empty()) out += "\"" + quoted + "\"";
        quoted.clear();
        out.push_back(placeholder);
      } else if (c == ' ' || c == ',' || c == '-' || c == '.') {
        if (!quoted.empty()) out += "\"" + quoted + "\"";
        quoted.clear();
        out.push_back(c);
      } else if (c != '"') {
        quoted.push_back(c);
      }
    }
    if (!quoted.empty()) out += "\"" + quoted + "\"";
    literal.clear();
  };
  auto field = [&](const std::string& picture) {
    flushLiteral();
    out += picture;
    seenField = true;
  };

  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (c != '%' || i + 1 >= format.size()) {
      literal.push_back(c);
      continue;
    }
    ++i;
    bool unpadded = false;
    while (i < format.size() && std::string_view("-_0^#EO").find(format[i]) != std::string_view::npos) {
      if (format[i] == '-') unpadded = true;
      ++i;
    }
    if (i >= format.size()) break;
    auto expand = [&](const std::string& inner) {
      if (depth >= 2) return;
      flushLiteral();
      out += PictureFromStrftime(inner, locale, isDate, separator, depth + 1);
      seenField = true;
    };
    switch (format[i]) {
      case 'd': field(unpadded ? "d" : "dd"); break;
      case 'e': field("d"); break;
      case 'm': field(unpadded ? "M" : "MM"); break;
      case 'Y': field("yyyy"); break;
      case 'y': field("yy"); break;
      case 'b':
      case 'h': field("MMM"); break;
      case 'B': field("MMMM"); break;
      case 'a': field("ddd"); break;
      case 'A': field("dddd"); break;
      case 'H':
      case 'I': field(unpadded ? "h" : "hh"); break;
      case 'k':
      case 'l': field("h"); break;
      case 'M': field("nn"); break;
      case 'S': field("ss"); break;
      case 'p':
      case 'P': field("AMPM"); break;
      case 'T': expand("%H:%M:%S"); break;
      case 'R': expand("%H:%M"); break;
      case 'D': expand("%m/%d/%y"); break;
      case 'F': expand("%Y-%m-%d"); break;
      case 'r': expand(locale ? locale.Text(T_FMT_AMPM) : "%I:%M:%S %p"); break;
      case 'n':
      case 't': literal.push_back(' '); break;
      case '%': literal.push_back('%'); break;
      default: break;  // fields the pictures cannot show (time zone, week number)
    }
  }
  flushLiteral();
  return out;
}

// 0 Sunday .. 6 Saturday of a yyyymmdd number.
int WeekdayOfDateNumber(long number) {
  TDateTime d = 0;
  if (!TryEncodeDate(static_cast<Word>(number / 10000), static_cast<Word>(number / 100 % 100),
                     static_cast<Word>(number % 100), d))
    return 0;
  return DayOfWeek(d) - 1;
}

// The C library describes no long date; the long date follows the order of
// the short one, with names for the day and the month.
std::string LongDateFromShort(const std::string& shortFormat, char separator) {
  for (char c : shortFormat) {
    switch (c) {
      case 'd':
      case 'D': return separator == '.' ? "dddd, d. MMMM yyyy" : "dddd, d MMMM yyyy";
      case 'y':
      case 'Y': return "yyyy MMMM d, dddd";
      case 'M':
      case 'm': return "dddd, MMMM d, yyyy";
      default: break;
    }
  }
  return "dddd, MMMM d, yyyy";
}

void ReadNumeric(TFormatSettings& fs, std::string_view name) {
  LocaleHandle locale(name, "LC_NUMERIC", LC_NUMERIC_MASK);
  if (!locale) return;
  fs.DecimalSeparator = SeparatorChar(locale.Text(RADIXCHAR), '.');
  std::string thousands = locale.Text(THOUSEP);
  char fallback = fs.DecimalSeparator == ',' ? '.' : ',';
  fs.ThousandSeparator = SeparatorChar(thousands, fallback);
  if (fs.ThousandSeparator == fs.DecimalSeparator) fs.ThousandSeparator = fallback;
  fs.ListSeparator = fs.DecimalSeparator == ',' ? ';' : ',';
}

// Windows' negative currency layout for the C library's description.
Byte NegativeCurrencyFormat(int precedes, int separated, int signPosition) {
  static constexpr Byte kTable[2][2][5] = {
      // sign: parentheses, before all, after all, before symbol, after symbol
      {{4, 5, 7, 6, 7}, {15, 8, 10, 8, 10}},    // symbol after the number
      {{0, 1, 3, 1, 2}, {14, 9, 11, 9, 12}},    // symbol before the number
  };
  if (precedes > 1 || separated > 1 || signPosition > 4) return 1;
  return kTable[precedes][separated][signPosition];
}

void ReadMonetary(TFormatSettings& fs, std::string_view name) {
  LocaleHandle locale(name, "LC_MONETARY", LC_MONETARY_MASK);
  if (!locale) return;
  std::string symbol = locale.Text(__CURRENCY_SYMBOL);
  if (IsValidUtf8(symbol)) fs.CurrencyString = symbol;
  int decimals = locale.Number(__FRAC_DIGITS);
  if (decimals >= 0 && decimals <= 18) fs.CurrencyDecimals = static_cast<Byte>(decimals);
  int precedes = locale.Number(__P_CS_PRECEDES);
  int separated = locale.Number(__P_SEP_BY_SPACE);
  if (precedes <= 1) {
    bool space = separated == 1 || separated == 2;
    fs.CurrencyFormat = static_cast<Byte>(precedes == 1 ? (space ? 2 : 0) : (space ? 3 : 1));
  }
  int negPrecedes = locale.Number(__N_CS_PRECEDES);
  int negSeparated = locale.Number(__N_SEP_BY_SPACE);
  int negSign = locale.Number(__N_SIGN_POSN);
  if (negPrecedes <= 1 && negSign <= 4)
    fs.NegCurrFormat = NegativeCurrencyFormat(negPrecedes, negSeparated == 1 || negSeparated == 2 ? 1 : 0,
                                              negSign);
}

void ReadTime(TFormatSettings& fs, std::string_view name) {
  LocaleHandle locale(name, "LC_TIME", LC_TIME_MASK);
  if (!locale) return;
  for (int i = 0; i < 12; ++i) {
    SetName(fs.ShortMonthNames[static_cast<size_t>(i)], locale.Text(ABMON_1 + i));
    SetName(fs.LongMonthNames[static_cast<size_t>(i)], locale.Text(MON_1 + i));
  }
  for (int i = 0; i < 7; ++i) {
    SetName(fs.ShortDayNames[static_cast<size_t>(i)], locale.Text(ABDAY_1 + i));
    SetName(fs.LongDayNames[static_cast<size_t>(i)], locale.Text(DAY_1 + i));
  }
  fs.TimeAMString = locale.Text(AM_STR);
  fs.TimePMString = locale.Text(PM_STR);
  if (!IsValidUtf8(fs.TimeAMString)) fs.TimeAMString = "AM";
  if (!IsValidUtf8(fs.TimePMString)) fs.TimePMString = "PM";

  char dateSeparator = 0;
  std::string shortDate = PictureFromStrftime(locale.Text(D_FMT), locale, true, dateSeparator);
  if (!shortDate.empty()) {
    fs.ShortDateFormat = shortDate;
    fs.DateSeparator = dateSeparator ? dateSeparator : '/';
    fs.LongDateFormat = LongDateFromShort(shortDate, fs.DateSeparator);
  }
  char timeSeparator = 0;
  std::string longTime = PictureFromStrftime(locale.Text(T_FMT), locale, false, timeSeparator);
  if (!longTime.empty()) {
    fs.LongTimeFormat = longTime;
    fs.TimeSeparator = timeSeparator ? timeSeparator : ':';
    std::string shortTime = longTime;
    size_t seconds = shortTime.find(":ss");
    if (seconds != std::string::npos) shortTime.erase(seconds, 3);
    fs.ShortTimeFormat = shortTime;
  }

  // The week's first day: the day after the base date of the week given by
  // the first-weekday number (1 is the base day itself).
  // The C library hands this number over in the pointer itself.
  long base = static_cast<long>(static_cast<uint32_t>(
      reinterpret_cast<uintptr_t>(locale.Raw(_NL_TIME_WEEK_1STDAY))));
  int firstWeekday = locale.Number(_NL_TIME_FIRST_WEEKDAY);
  if (base > 0 && firstWeekday >= 1 && firstWeekday <= 7) {
    int fromSunday = (WeekdayOfDateNumber(base) + firstWeekday - 1) % 7;
    fs.FirstDayOfWeek = (fromSunday + 6) % 7;
  }
}

TFormatSettings& DefaultStorage() {
  static TFormatSettings settings = TFormatSettings::FromLocale();
  return settings;
}

}  // namespace

TFormatSettings TFormatSettings::English() { return TFormatSettings{}; }

TFormatSettings TFormatSettings::FromLocale(std::string_view numeric, std::string_view time,
                                            std::string_view monetary) {
  TFormatSettings fs;
  ReadNumeric(fs, numeric);
  ReadMonetary(fs, monetary);
  ReadTime(fs, time);
  return fs;
}

const TFormatSettings& DefaultFormatSettings() { return DefaultStorage(); }

void SetDefaultFormatSettings(const TFormatSettings& settings) { DefaultStorage() = settings; }

void ReloadDefaultFormatSettings() { DefaultStorage() = TFormatSettings::FromLocale(); }

// ---------------------------------------------------------------------------
// The system's locale picture syntax.

namespace {

size_t RunLength(std::string_view s, size_t i) {
  size_t j = i;
  while (j < s.size() && s[j] == s[i]) ++j;
  return j - i;
}

std::string TwoDigits(int v) {
  std::string s = std::to_string(v);
  return s.size() < 2 ? "0" + s : s;
}

// Copies a quoted literal starting at the quote; returns the index after it.
size_t CopyQuoted(std::string_view picture, size_t i, std::string& out) {
  ++i;
  while (i < picture.size()) {
    if (picture[i] == '\'') {
      if (i + 1 < picture.size() && picture[i + 1] == '\'') {
        out.push_back('\'');
        i += 2;
        continue;
      }
      return i + 1;
    }
    out.push_back(picture[i++]);
  }
  return i;
}

// Quoted text is copied as it stands; each run of one letter goes to field,
// which appends what the run stands for.
template <class Field>
std::string ExpandPicture(std::string_view picture, Field field) {
  std::string out;
  for (size_t i = 0; i < picture.size();) {
    char c = picture[i];
    if (c == '\'') {
      i = CopyQuoted(picture, i, out);
      continue;
    }
    size_t n = RunLength(picture, i);
    field(c, n, out);
    i += n;
  }
  return out;
}

bool DateInRange(TDateTime value) {
  if (!std::isfinite(value)) return false;
  Word y, m, d;
  DecodeDate(value, y, m, d);
  return y >= MinDateTimeYear && y <= MaxDateTimeYear;
}

}  // namespace

std::optional<std::string> FormatLocaleDate(std::string_view picture, TDateTime date,
                                            const TFormatSettings& settings) {
  if (!DateInRange(date)) return std::nullopt;
  if (picture.empty()) return FormatDateTime(settings.ShortDateFormat, date, settings);
  Word year, month, day;
  DecodeDate(date, year, month, day);
  int weekday = DayOfWeek(date) - 1;
  return ExpandPicture(picture, [&](char c, size_t n, std::string& out) {
    switch (c) {
      case 'd':
        out += n == 1   ? std::to_string(day)
               : n == 2 ? TwoDigits(day)
               : n == 3 ? settings.ShortDayNames[static_cast<size_t>(weekday)]
                        : settings.LongDayNames[static_cast<size_t>(weekday)];
        break;
      case 'M':
        out += n == 1   ? std::to_string(month)
               : n == 2 ? TwoDigits(month)
               : n == 3 ? settings.ShortMonthNames[month - 1u]
                        : settings.LongMonthNames[month - 1u];
        break;
      case 'y':
        out += n == 1 ? std::to_string(year % 100) : n == 2 ? TwoDigits(year % 100) : std::to_string(year);
        break;
      case 'g':
        out += "A.D.";
        break;
      default:
        out.append(n, c);
    }
  });
}

std::optional<std::string> FormatLocaleDate(std::string_view picture, TDateTime date) {
  return FormatLocaleDate(picture, date, DefaultFormatSettings());
}

std::optional<std::string> FormatLocaleTime(std::string_view picture, TDateTime time,
                                            const TFormatSettings& settings) {
  if (!std::isfinite(time)) return std::nullopt;
  if (picture.empty()) return FormatDateTime(settings.LongTimeFormat, time, settings);
  Word hour, minute, second, msec;
  DecodeTime(time, hour, minute, second, msec);
  const std::string& marker = hour < 12 ? settings.TimeAMString : settings.TimePMString;
  int hour12 = hour % 12 == 0 ? 12 : hour % 12;
  return ExpandPicture(picture, [&](char c, size_t n, std::string& out) {
    switch (c) {
      case 'h': out += n == 1 ? std::to_string(hour12) : TwoDigits(hour12); break;
      case 'H': out += n == 1 ? std::to_string(hour) : TwoDigits(hour); break;
      case 'm': out += n == 1 ? std::to_string(minute) : TwoDigits(minute); break;
      case 's': out += n == 1 ? std::to_string(second) : TwoDigits(second); break;
      case 't':
        if (n == 1)
          out += Utf8CharAt(marker, 0);
        else
          out += marker;
        break;
      default: out.append(n, c);
    }
  });
}

std::optional<std::string> FormatLocaleTime(std::string_view picture, TDateTime time) {
  return FormatLocaleTime(picture, time, DefaultFormatSettings());
}

namespace {

// Rewrites a class-library date or time format into the system's picture
// syntax. Quoted text keeps its letters literal in single quotes.
std::string SystemPicture(std::string_view format, const TFormatSettings& fs, bool isTime) {
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
  bool twelveHour = false;
  if (isTime) {
    for (size_t i = 0; i < format.size(); ++i)
      if (upper(format[i]) == 'A') twelveHour = true;
  }
  std::string out;
  char last = ' ';
  for (size_t i = 0; i < format.size();) {
    char c = format[i];
    char u = upper(c);
    if (c == '\'' || c == '"') {
      size_t close = format.find(c, i + 1);
      if (close == std::string_view::npos) close = format.size();
      out.push_back('\'');
      for (char q : format.substr(i + 1, close - i - 1)) {
        if (q == '\'') out.push_back('\'');
        out.push_back(q);
      }
      out.push_back('\'');
      i = close < format.size() ? close + 1 : close;
      continue;
    }
    size_t n = 1;
    while (i + n < format.size() && upper(format[i + n]) == u && u >= 'A' && u <= 'Z') ++n;
    std::string_view rest = format.substr(i);
    auto startsNoCase = [&](std::string_view word) {
      if (rest.size() < word.size()) return false;
      for (size_t k = 0; k < word.size(); ++k)
        if (upper(rest[k]) != word[k]) return false;
      return true;
    };
    if (u == 'A' && (startsNoCase("AM/PM") || startsNoCase("AMPM") || startsNoCase("A/P"))) {
      n = startsNoCase("AM/PM") ? 5 : startsNoCase("AMPM") ? 4 : 3;
      out += n == 3 ? "t" : "tt";
    } else if (u == 'D' || u == 'Y') {
      out.append(std::min<size_t>(n, 4), static_cast<char>(u + 32));
    } else if (u == 'M' && last != 'H') {
      out.append(std::min<size_t>(n, 4), 'M');
    } else if (u == 'N' || u == 'M') {
      out.append(std::min<size_t>(n, 2), 'm');
    } else if (u == 'H') {
      out.append(std::min<size_t>(n, 2), twelveHour ? 'h' : 'H');
    } else if (u == 'S') {
      out.append(std::min<size_t>(n, 2), 's');
    } else if (c == '/') {
      out.push_back(fs.DateSeparator);
    } else if (c == ':') {
      out.push_back(fs.TimeSeparator);
    } else if (u >= 'A' && u <= 'Z') {
      out += "'" + std::string(format.substr(i, n)) + "'";
    } else {
      out.push_back(c);
    }
    if (u >= 'A' && u <= 'Z') last = u;
    i += n;
  }
  return out;
}

}  // namespace

std::string LocaleShortDatePicture(const TFormatSettings& settings) {
  return SystemPicture(settings.ShortDateFormat, settings, false);
}

std::string LocaleTimePicture(const TFormatSettings& settings) {
  return SystemPicture(settings.LongTimeFormat, settings, true);
}
