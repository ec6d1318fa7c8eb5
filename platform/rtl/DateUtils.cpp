#include "platform/rtl/DateUtils.h"

#include <cmath>
#include <vector>

#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"

namespace {

// Days between 1899-12-30 and 1970-01-01.
constexpr Int64 kUnixDateDelta = 25569;
// Day numbers of 0001-01-01 and 9999-12-31.
constexpr Int64 kFirstDay = -693593;
constexpr Int64 kLastDay = 2958465;

// Proleptic Gregorian calendar, counted in days from 1899-12-30.
Int64 DayNumber(Int64 y, unsigned m, unsigned d) {
  y -= m <= 2;
  const Int64 era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<Int64>(doe) - 719468 + kUnixDateDelta;
}

void CivilDate(Int64 dayNumber, Int64& y, unsigned& m, unsigned& d) {
  Int64 z = dayNumber - kUnixDateDelta + 719468;
  const Int64 era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<Int64>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

// The calendar day and the millisecond of the day. The time is rounded to a
// whole millisecond; a time that rounds up to midnight belongs to the next
// day. False for values outside the years 1..9999.
bool SplitDateTime(TDateTime value, Int64& day, Integer& msec) {
  if (!std::isfinite(value) || value < kFirstDay - 1 || value > kLastDay + 1) return false;
  double whole = std::trunc(value);
  day = static_cast<Int64>(whole);
  double ms = std::round(std::fabs(value - whole) * MSecsPerDay);
  msec = static_cast<Integer>(ms);
  if (msec >= MSecsPerDay) {
    msec -= MSecsPerDay;
    day += 1;
  }
  return day >= kFirstDay && day <= kLastDay;
}

std::string Padded(Int64 v, size_t width) {
  std::string s = std::to_string(v);
  if (s.size() < width) s.insert(0, width - s.size(), '0');
  return s;
}

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool StartsWithNoCase(std::string_view s, size_t pos, std::string_view word) {
  if (word.empty() || s.size() - pos < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (UpperAscii(s[pos + i]) != UpperAscii(word[i])) return false;
  return true;
}

// FormatDateTime's writer; nested formats (c, ddddd, t, ...) go two levels
// deep at most, so a format that names itself cannot recurse forever.
class DateTimeWriter {
 public:
  DateTimeWriter(TDateTime value, const TFormatSettings& fs) : fs_(fs) {
    Int64 day = 0;
    Integer msec = 0;
    if (SplitDateTime(value, day, msec)) {
      Int64 y;
      unsigned m, d;
      CivilDate(day, y, m, d);
      year_ = static_cast<Integer>(y);
      month_ = static_cast<Integer>(m);
      day_ = static_cast<Integer>(d);
      dayOfWeek_ = static_cast<Integer>(((day % 7) + 7 + 6) % 7);  // 0 Sunday
      hour_ = msec / 3600000;
      minute_ = msec / 60000 % 60;
      second_ = msec / 1000 % 60;
      msec_ = msec % 1000;
    }
  }

  void Append(std::string_view f, int level) {
    char lastToken = ' ';
    size_t i = 0;
    while (i < f.size()) {
      char c = f[i];
      if (static_cast<unsigned char>(c) >= 0x80) {
        size_t len = std::max<size_t>(Utf8CharLength(f, i), 1);
        out_.append(f.substr(i, len));
        i += len;
        continue;
      }
      char token = UpperAscii(c);
      size_t count = 1;
      if (IsAsciiLetter(c)) {
        while (i + count < f.size() && UpperAscii(f[i + count]) == token) ++count;
        if (token == 'M' && lastToken == 'H' && count <= 2) token = 'N';
        lastToken = token;
      }
      switch (token) {
        case 'Y':
          out_ += count <= 2 ? Padded(year_ % 100, 2) : Padded(year_, 4);
          break;
        case 'M':
          if (count <= 2)
            out_ += Padded(month_, count);
          else if (month_ >= 1)
            out_ += (count == 3 ? fs_.ShortMonthNames : fs_.LongMonthNames)[month_ - 1u];
          break;
        case 'D':
          if (count <= 2)
            out_ += Padded(day_, count);
          else if (count == 3)
            out_ += fs_.ShortDayNames[static_cast<size_t>(dayOfWeek_)];
          else if (count == 4)
            out_ += fs_.LongDayNames[static_cast<size_t>(dayOfWeek_)];
          else
            Nested(count == 5 ? fs_.ShortDateFormat : fs_.LongDateFormat, level);
          break;
        case 'E':
          out_ += Padded(year_, count == 1 ? 1 : 2);
          break;
        case 'G':
          out_ += "A.D.";
          break;
        case 'H': {
          Integer h = hour_;
          if (UsesTwelveHourClock(f, i + count)) h = h % 12 == 0 ? 12 : h % 12;
          out_ += Padded(h, count == 1 ? 1 : 2);
          break;
        }
        case 'N':
          out_ += Padded(minute_, count == 1 ? 1 : 2);
          break;
        case 'S':
          out_ += Padded(second_, count == 1 ? 1 : 2);
          break;
        case 'Z':
          out_ += Padded(msec_, count == 1 ? 1 : 3);
          break;
        case 'T':
          Nested(count == 1 ? fs_.ShortTimeFormat : fs_.LongTimeFormat, level);
          break;
        case 'C':
          Nested(fs_.ShortDateFormat, level);
          if (hour_ != 0 || minute_ != 0 || second_ != 0) {
            out_.push_back(' ');
            Nested(fs_.LongTimeFormat, level);
          }
          break;
        case 'A': {
          bool pm = hour_ >= 12;
          if (StartsWithNoCase(f, i, "AM/PM")) {
            out_.append(f.substr(i + (pm ? 3 : 0), 2));
            count = 5;
          } else if (StartsWithNoCase(f, i, "A/P")) {
            out_.push_back(f[i + (pm ? 2 : 0)]);
            count = 3;
          } else if (StartsWithNoCase(f, i, "AMPM")) {
            out_ += pm ? fs_.TimePMString : fs_.TimeAMString;
            count = 4;
          } else {
            out_.push_back(c);
            count = 1;
          }
          break;
        }
        case '/':
          out_.push_back(fs_.DateSeparator);
          break;
        case ':':
          out_.push_back(fs_.TimeSeparator);
          break;
        case '\'':
        case '"': {
          size_t close = f.find(c, i + 1);
          if (close == std::string_view::npos) close = f.size();
          out_.append(f.substr(i + 1, close - i - 1));
          count = close < f.size() ? close - i + 1 : close - i;
          break;
        }
        default:
          out_.append(f.substr(i, count));
      }
      i += count;
    }
  }

  std::string Result() { return std::move(out_); }

 private:
  void Nested(std::string_view f, int level) {
    if (level < 2) Append(f, level + 1);
  }

  // An hour is on the 12-hour clock when an am/pm marker follows it before
  // the next hour letter.
  static bool UsesTwelveHourClock(std::string_view f, size_t from) {
    char quote = 0;
    for (size_t i = from; i < f.size(); ++i) {
      char c = f[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '\'' || c == '"') {
        quote = c;
      } else if (c == 'a' || c == 'A') {
        return StartsWithNoCase(f, i, "AM/PM") || StartsWithNoCase(f, i, "A/P") ||
               StartsWithNoCase(f, i, "AMPM");
      } else if (c == 'h' || c == 'H') {
        return false;
      }
    }
    return false;
  }

  const TFormatSettings& fs_;
  std::string out_;
  Integer year_ = 0, month_ = 0, day_ = 0, dayOfWeek_ = 0;
  Integer hour_ = 0, minute_ = 0, second_ = 0, msec_ = 0;
};

// ---------------------------------------------------------------------------
// Reading dates and times.

enum class DateOrder { MDY, DMY, YMD };

DateOrder DateOrderOf(std::string_view format) {
  char quote = 0;
  for (char c : format) {
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    switch (UpperAscii(c)) {
      case '\'':
      case '"': quote = c; break;
      case 'E':
      case 'Y': return DateOrder::YMD;
      case 'M': return DateOrder::MDY;
      case 'D': return DateOrder::DMY;
      default: break;
    }
  }
  return DateOrder::MDY;
}

// The texts a picture writes between and around its fields: quoted runs and
// plain characters other than field letters and the two separator
// placeholders, with their blanks trimmed. A locale's date may read
// 2024年03月05日: its parser must step over 年, 月 and 日 as the writer put them.
std::vector<std::string> PictureLiterals(std::string_view picture) {
  std::vector<std::string> result;
  std::string run;
  auto flush = [&]() {
    const size_t first = run.find_first_not_of(' ');
    if (first != std::string::npos) result.push_back(run.substr(first, run.find_last_not_of(' ') - first + 1));
    run.clear();
  };
  for (size_t i = 0; i < picture.size();) {
    const char c = picture[i];
    if (c == '\'' || c == '"') {
      size_t close = picture.find(c, i + 1);
      if (close == std::string_view::npos) close = picture.size();
      run.append(picture.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    if (c == 'a' || c == 'A') {
      const size_t n = StartsWithNoCase(picture, i, "AM/PM") ? 5
                       : StartsWithNoCase(picture, i, "AMPM") ? 4
                       : StartsWithNoCase(picture, i, "A/P")  ? 3
                                                              : 0;
      if (n > 0) {
        flush();
        i += n;
        continue;
      }
    }
    if (std::string_view("dDmMyYeEgGhHnNsSzZtTcC/:").find(c) != std::string_view::npos) {
      flush();
      ++i;
      continue;
    }
    run.push_back(c);
    ++i;
  }
  flush();
  return result;
}

class Scanner {
 public:
  explicit Scanner(std::string_view s) : s_(s) {}

  void SkipBlanks() {
    while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
  }
  bool AtEnd() {
    SkipBlanks();
    return pos_ >= s_.size();
  }
  bool Char(char c) {
    SkipBlanks();
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  // Up to nine digits; `digits` tells how many were read.
  bool Number(Integer& value, int& digits) {
    SkipBlanks();
    value = 0;
    digits = 0;
    while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') {
      if (digits == 9) return false;
      value = value * 10 + (s_[pos_] - '0');
      ++digits;
      ++pos_;
    }
    return digits > 0;
  }
  bool Keyword(std::string_view word) {
    SkipBlanks();
    if (!StartsWithNoCase(s_, pos_, word)) return false;
    pos_ += word.size();
    return true;
  }
  // Steps over any run of the given texts; answers whether it met one.
  bool Literals(const std::vector<std::string>& texts) {
    bool met = false;
    for (bool again = true; again;) {
      again = false;
      SkipBlanks();
      for (const std::string& text : texts)
        if (s_.substr(pos_, text.size()) == text) {
          pos_ += text.size();
          met = again = true;
          break;
        }
    }
    return met;
  }
  // True when only blanks stand between the last read and the next digit.
  bool BlankBeforeDigit() const {
    size_t p = pos_;
    if (p >= s_.size() || s_[p] != ' ') return false;
    while (p < s_.size() && s_[p] == ' ') ++p;
    return p < s_.size() && s_[p] >= '0' && s_[p] <= '9';
  }
  size_t Pos() const { return pos_; }
  void SetPos(size_t pos) { pos_ = pos; }

 private:
  std::string_view s_;
  size_t pos_ = 0;
};

// Blanks may separate the parts of a date only where the caller says so
// (texts that Variants convert), and then all three parts must be there; a
// date written so with a four-digit year first reads year, month, day.
bool ScanDateParts(Scanner& sc, TDateTime& date, const TFormatSettings& fs, bool blanksSeparate) {
  const std::vector<std::string> literals = PictureLiterals(fs.ShortDateFormat);
  bool blankSeparated = false;
  auto separator = [&]() {
    if (blanksSeparate && sc.BlankBeforeDigit()) return blankSeparated = true;
    const bool literal = sc.Literals(literals);
    return sc.Char(fs.DateSeparator) || literal;
  };
  Integer n1, n2, n3 = 0;
  int l1, l2, l3 = 0;
  sc.Literals(literals);
  if (!sc.Number(n1, l1) || !separator() || !sc.Number(n2, l2)) return false;
  bool three = false;
  const size_t afterSecond = sc.Pos();
  if (separator()) {
    if (sc.Number(n3, l3)) {
      three = true;
    } else {
      // What followed was the text after the last field, not a separator.
      sc.SetPos(afterSecond);
    }
  }
  sc.Literals(literals);
  // Two numbers apart are not yet a date: "1 2" stays a text.
  if (blankSeparated && !three) return false;
  DateOrder order = DateOrderOf(fs.ShortDateFormat);
  if (blanksSeparate && three && l1 >= 3) order = DateOrder::YMD;
  Integer y, m, d;
  int yearDigits = 4;
  Word currentYear, unusedMonth, unusedDay;
  DecodeDate(Date(), currentYear, unusedMonth, unusedDay);
  if (!three) {
    y = currentYear;
    if (order == DateOrder::DMY) {
      d = n1;
      m = n2;
    } else {
      m = n1;
      d = n2;
    }
  } else {
    switch (order) {
      case DateOrder::MDY: m = n1; d = n2; y = n3; yearDigits = l3; break;
      case DateOrder::DMY: d = n1; m = n2; y = n3; yearDigits = l3; break;
      default: y = n1; m = n2; d = n3; yearDigits = l1; break;
    }
  }
  if (yearDigits <= 2) {
    Integer centuryBase = currentYear - fs.TwoDigitYearCenturyWindow;
    y += centuryBase / 100 * 100;
    if (fs.TwoDigitYearCenturyWindow > 0 && y < centuryBase) y += 100;
  }
  if (y < 0 || y > 65535 || m < 0 || m > 65535 || d < 0 || d > 65535) return false;
  return TryEncodeDate(static_cast<Word>(y), static_cast<Word>(m), static_cast<Word>(d), date);
}

bool ScanDate(Scanner& sc, TDateTime& date, const TFormatSettings& fs) { return ScanDateParts(sc, date, fs, false); }

// 0 for AM, 12 for PM, -1 for no marker.
int ScanMarker(Scanner& sc, const TFormatSettings& fs) {
  if (sc.Keyword(fs.TimeAMString) || sc.Keyword("AM")) return 0;
  if (sc.Keyword(fs.TimePMString) || sc.Keyword("PM")) return 12;
  return -1;
}

bool ScanTime(Scanner& sc, TDateTime& time, const TFormatSettings& fs) {
  std::vector<std::string> literals = PictureLiterals(fs.LongTimeFormat);
  for (std::string& text : PictureLiterals(fs.ShortTimeFormat)) literals.push_back(std::move(text));
  // A separator, or the text the picture writes after a field (时, 分).
  auto separator = [&]() {
    const size_t at = sc.Pos();
    const bool literal = sc.Literals(literals);
    if (sc.Char(fs.TimeSeparator) || literal) {
      Integer unused;
      int digits;
      const size_t before = sc.Pos();
      if (sc.Number(unused, digits)) {
        sc.SetPos(before);
        return true;
      }
    }
    sc.SetPos(at);
    return false;
  };
  int base = ScanMarker(sc, fs);
  sc.Literals(literals);
  Integer hour, minute = 0, second = 0, msec = 0;
  int digits;
  if (!sc.Number(hour, digits)) return false;
  if (separator()) {
    if (!sc.Number(minute, digits)) return false;
    if (separator()) {
      if (!sc.Number(second, digits)) return false;
      if (sc.Char(fs.DecimalSeparator)) {
        Integer fraction;
        if (!sc.Number(fraction, digits)) return false;
        // The digits are a fraction of a second: ".5" is 500 ms, not 5.
        while (digits > 3) {
          fraction /= 10;
          --digits;
        }
        while (digits < 3) {
          fraction *= 10;
          ++digits;
        }
        msec = fraction;
      }
    }
  }
  sc.Literals(literals);
  if (base < 0) base = ScanMarker(sc, fs);
  sc.Literals(literals);
  if (base >= 0) {
    if (hour == 0 || hour > 12) return false;
    if (hour == 12) hour = 0;
    hour += base;
  }
  if (hour > 23 || minute > 59 || second > 59) return false;
  return TryEncodeTime(static_cast<Word>(hour), static_cast<Word>(minute), static_cast<Word>(second),
                       static_cast<Word>(msec), time);
}

[[noreturn]] void RaiseBad(const char* what, std::string_view s) {
  throw EConvertError("'" + std::string(s) + "' is not a valid " + what);
}

using ScanFn = bool (*)(Scanner&, TDateTime&, const TFormatSettings&);
using TryConvertFn = bool (*)(std::string_view, TDateTime&, const TFormatSettings&);

// The text must be the one value and nothing more; value is untouched otherwise.
bool ScanWhole(std::string_view s, TDateTime& value, const TFormatSettings& settings, ScanFn scan) {
  Scanner sc(s);
  TDateTime v = 0;
  if (!scan(sc, v, settings) || !sc.AtEnd()) return false;
  value = v;
  return true;
}

TDateTime ConvertOrRaise(std::string_view s, const TFormatSettings& settings,
                         TryConvertFn tryConvert, const char* what) {
  TDateTime v = 0;
  if (!tryConvert(s, v, settings)) RaiseBad(what, s);
  return v;
}

}  // namespace

// ---------------------------------------------------------------------------

bool IsLeapYear(Word year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

Word DaysInAMonth(Word year, Word month) {
  static constexpr Word kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(Word year, Word month, Word day) {
  return year >= MinDateTimeYear && year <= MaxDateTimeYear && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInAMonth(year, month);
}

bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date) {
  if (!IsValidDate(year, month, day)) return false;
  date = static_cast<TDateTime>(DayNumber(year, month, day));
  return true;
}

TDateTime EncodeDate(Word year, Word month, Word day) {
  TDateTime d = 0;
  if (!TryEncodeDate(year, month, day, d)) throw EConvertError("Invalid argument to date encode");
  return d;
}

bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time) {
  if (hour >= 24 || min >= 60 || sec >= 60 || msec >= 1000) return false;
  time = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec) {
  TDateTime t = 0;
  if (!TryEncodeTime(hour, min, sec, msec, t)) throw EConvertError("Invalid argument to time encode");
  return t;
}

TDateTime CombineDateTime(TDateTime date, TDateTime time) {
  return date >= 0 ? date + time : date - time;
}

void DecodeDateTime(TDateTime value, Word& year, Word& month, Word& day, Word& hour, Word& min,
                    Word& sec, Word& msec) {
  Int64 dayNumber = 0;
  Integer ms = 0;
  year = month = day = hour = min = sec = msec = 0;
  if (!SplitDateTime(value, dayNumber, ms)) return;
  Int64 y;
  unsigned m, d;
  CivilDate(dayNumber, y, m, d);
  year = static_cast<Word>(y);
  month = static_cast<Word>(m);
  day = static_cast<Word>(d);
  hour = static_cast<Word>(ms / 3600000);
  min = static_cast<Word>(ms / 60000 % 60);
  sec = static_cast<Word>(ms / 1000 % 60);
  msec = static_cast<Word>(ms % 1000);
}

void DecodeDate(TDateTime date, Word& year, Word& month, Word& day) {
  Word h, n, s, z;
  DecodeDateTime(date, year, month, day, h, n, s, z);
}

void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec) {
  Word y, m, d;
  DecodeDateTime(time, y, m, d, hour, min, sec, msec);
  if (y == 0) {
    // Far outside the calendar the time of day still has a meaning.
    double ms = std::isfinite(time) ? std::round(std::fabs(time - std::trunc(time)) * MSecsPerDay) : 0;
    Integer total = static_cast<Integer>(ms) % MSecsPerDay;
    hour = static_cast<Word>(total / 3600000);
    min = static_cast<Word>(total / 60000 % 60);
    sec = static_cast<Word>(total / 1000 % 60);
    msec = static_cast<Word>(total % 1000);
  }
}

Integer DayOfWeek(TDateTime date) {
  if (!std::isfinite(date) || std::fabs(date) > 1e15) return 0;
  Int64 day = static_cast<Int64>(std::trunc(date));
  return static_cast<Integer>(((day % 7) + 7 + 6) % 7 + 1);
}

TDateTime IncMonth(TDateTime date, Integer months) {
  Word y, m, d;
  DecodeDate(date, y, m, d);
  if (y == 0) return date;
  Int64 total = static_cast<Int64>(y) * 12 + (m - 1) + months;
  Int64 ny = total >= 0 ? total / 12 : (total - 11) / 12;
  Word nm = static_cast<Word>(total - ny * 12 + 1);
  if (ny < MinDateTimeYear || ny > MaxDateTimeYear) throw EConvertError("Invalid argument to date encode");
  Word dim = DaysInAMonth(static_cast<Word>(ny), nm);
  TDateTime result = EncodeDate(static_cast<Word>(ny), nm, d > dim ? dim : d);
  return CombineDateTime(result, std::fabs(date - std::trunc(date)));
}

TDateTime Now() { return ClockNow(); }
TDateTime Date() { return std::trunc(ClockNow()); }
TDateTime Time() {
  TDateTime now = ClockNow();
  return now - std::trunc(now);
}

std::string FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings) {
  DateTimeWriter writer(value, settings);
  writer.Append(format.empty() ? std::string_view("c") : format, 0);
  return writer.Result();
}

std::string FormatDateTime(std::string_view format, TDateTime value) {
  return FormatDateTime(format, value, DefaultFormatSettings());
}

std::string DateToStr(TDateTime date, const TFormatSettings& settings) {
  return FormatDateTime("ddddd", date, settings);
}
std::string DateToStr(TDateTime date) { return DateToStr(date, DefaultFormatSettings()); }
std::string TimeToStr(TDateTime time, const TFormatSettings& settings) {
  return FormatDateTime("tt", time, settings);
}
std::string TimeToStr(TDateTime time) { return TimeToStr(time, DefaultFormatSettings()); }
std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime("c", value, settings);
}
std::string DateTimeToStr(TDateTime value) { return DateTimeToStr(value, DefaultFormatSettings()); }

bool TryStrToDate(std::string_view s, TDateTime& value, const TFormatSettings& settings) {
  return ScanWhole(s, value, settings, ScanDate);
}
bool TryStrToDate(std::string_view s, TDateTime& value) {
  return TryStrToDate(s, value, DefaultFormatSettings());
}
TDateTime StrToDate(std::string_view s, const TFormatSettings& settings) {
  return ConvertOrRaise(s, settings, TryStrToDate, "date");
}
TDateTime StrToDate(std::string_view s) { return StrToDate(s, DefaultFormatSettings()); }
TDateTime StrToDateDef(std::string_view s, TDateTime defaultValue) {
  TDateTime d = 0;
  return TryStrToDate(s, d) ? d : defaultValue;
}

bool TryStrToTime(std::string_view s, TDateTime& value, const TFormatSettings& settings) {
  return ScanWhole(s, value, settings, ScanTime);
}
bool TryStrToTime(std::string_view s, TDateTime& value) {
  return TryStrToTime(s, value, DefaultFormatSettings());
}
TDateTime StrToTime(std::string_view s, const TFormatSettings& settings) {
  return ConvertOrRaise(s, settings, TryStrToTime, "time");
}
TDateTime StrToTime(std::string_view s) { return StrToTime(s, DefaultFormatSettings()); }

bool TryStrToDateTime(std::string_view s, TDateTime& value, const TFormatSettings& settings) {
  Scanner sc(s);
  TDateTime d = 0;
  if (ScanDate(sc, d, settings)) {
    if (sc.AtEnd()) {
      value = d;
      return true;
    }
    TDateTime t = 0;
    if (ScanTime(sc, t, settings) && sc.AtEnd()) {
      value = CombineDateTime(d, t);
      return true;
    }
  }
  return TryStrToTime(s, value, settings);
}
bool TryStrToDateTime(std::string_view s, TDateTime& value) {
  return TryStrToDateTime(s, value, DefaultFormatSettings());
}
TDateTime StrToDateTime(std::string_view s, const TFormatSettings& settings) {
  return ConvertOrRaise(s, settings, TryStrToDateTime, "date and time");
}
TDateTime StrToDateTime(std::string_view s) { return StrToDateTime(s, DefaultFormatSettings()); }

bool TryTextToDateTime(std::string_view s, TDateTime& value, const TFormatSettings& settings) {
  if (TryStrToDateTime(s, value, settings)) return true;
  Scanner sc(s);
  TDateTime d = 0;
  if (!ScanDateParts(sc, d, settings, true)) return false;
  if (sc.AtEnd()) {
    value = d;
    return true;
  }
  TDateTime t = 0;
  if (!ScanTime(sc, t, settings) || !sc.AtEnd()) return false;
  value = CombineDateTime(d, t);
  return true;
}
