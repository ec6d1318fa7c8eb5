#include "suite/data/cxDataUtils.h"

#include <cmath>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace {

bool StartsExponent(std::string_view s, size_t i) {
  return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

// Quoting only "," and "." let a symbol such as "#" or "0" or "E+" change the
// number itself; every character the picture reads is quoted instead.
std::string QuoteForPicture(std::string_view symbol) {
  std::string quoted;
  for (size_t i = 0; i < symbol.size(); ++i) {
    const char c = symbol[i];
    if (c == '\'') {
      quoted += "\"'\"";
    } else if (c == '"') {
      quoted += "'\"'";
    } else if (c == '0' || c == '#' || c == ',' || c == '.' || c == ';' || StartsExponent(symbol, i)) {
      quoted += '\'';
      quoted += c;
      quoted += '\'';
    } else {
      quoted += c;
    }
  }
  return quoted;
}

}  // namespace

std::string CurrencyDisplayFormat(const TFormatSettings& ASettings) {
  std::string number = ",0.";
  number.append(ASettings.CurrencyDecimals, '0');
  const std::string symbol = QuoteForPicture(ASettings.CurrencyString);
  if (symbol.empty()) return number;
  switch (ASettings.CurrencyFormat) {
    case 0: return symbol + number;
    case 1: return number + symbol;
    case 2: return symbol + " " + number;
    case 3: return number + " " + symbol;
    default: return number;
  }
}

std::string CurrencyDisplayFormat() { return CurrencyDisplayFormat(DefaultFormatSettings()); }
void CurrencyDisplayFormat(std::string& AFormat) { AFormat = CurrencyDisplayFormat(); }

double WholeDays(double X) { return std::trunc(X); }
double DayFraction(double X) { return X - std::trunc(X); }

Integer FirstWeekDay(const TFormatSettings& ASettings) {
  const Integer day = ASettings.FirstDayOfWeek + 1;
  return day > 6 ? 0 : day;
}

Integer FirstWeekDay() { return FirstWeekDay(DefaultFormatSettings()); }

double WeekStart(double ADate, const TFormatSettings& ASettings) {
  const Integer first = FirstWeekDay(ASettings);
  const Integer day = DayOfWeek(ADate) - 1;
  if (day < first) return WholeDays(ADate) - 7 + (first - day);
  return WholeDays(ADate) - (day - first);
}

double WeekStart(double ADate) { return WeekStart(ADate, DefaultFormatSettings()); }

// UTF-8 is prefix-free, so a byte prefix of the upper-cased texts is a
// character prefix too.
bool TextMatches(std::string_view AText, std::string_view APattern, bool APrefixMode) {
  const std::string text = AnsiUpperCase(AText);
  const std::string pattern = AnsiUpperCase(APattern);
  if (!APrefixMode || pattern.empty()) return text == pattern;
  return text.size() >= pattern.size() && text.compare(0, pattern.size(), pattern) == 0;
}
