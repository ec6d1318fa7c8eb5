#include "platform/rtl/SqlTimSt.h"

#include <cmath>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

TSQLTimeStamp DateTimeToSQLTimeStamp(TDateTime value) {
  Word year, month, day, hour, minute, second, msec;
  DecodeDateTime(value, year, month, day, hour, minute, second, msec);
  // Decoding gives zeros beyond its years; a zero stamp would read back as
  // day 0, so such a value is refused instead.
  if (!std::isfinite(value) || year < MinDateTimeYear)
    throw EConvertError("Invalid argument to date encode");
  TSQLTimeStamp stamp;
  stamp.Year = static_cast<SmallInt>(year);
  stamp.Month = month;
  stamp.Day = day;
  stamp.Hour = hour;
  stamp.Minute = minute;
  stamp.Second = second;
  stamp.Fractions = msec;
  return stamp;
}

bool TrySQLTimeStampToDateTime(const TSQLTimeStamp& s, TDateTime& value) {
  // The empty stamp stands for the zero date-time, as a cleared field reads.
  if (s == TSQLTimeStamp{}) {
    value = 0;
    return true;
  }
  if (s.Year < MinDateTimeYear || s.Fractions > 999) return false;
  TDateTime date, time;
  if (!TryEncodeDate(static_cast<Word>(s.Year), s.Month, s.Day, date)) return false;
  if (!TryEncodeTime(s.Hour, s.Minute, s.Second, static_cast<Word>(s.Fractions), time)) return false;
  value = CombineDateTime(date, time);
  return true;
}

TDateTime SQLTimeStampToDateTime(const TSQLTimeStamp& stamp) {
  TDateTime value;
  if (!TrySQLTimeStampToDateTime(stamp, value)) throw EConvertError("Invalid time stamp");
  return value;
}

Integer CompareSQLTimeStamps(const TSQLTimeStamp& a, const TSQLTimeStamp& b) {
  const int64_t fa[] = {a.Year, a.Month, a.Day, a.Hour, a.Minute, a.Second, a.Fractions};
  const int64_t fb[] = {b.Year, b.Month, b.Day, b.Hour, b.Minute, b.Second, b.Fractions};
  for (int i = 0; i < 7; ++i)
    if (fa[i] != fb[i]) return fa[i] < fb[i] ? -1 : 1;
  return 0;
}

bool TryStrToSQLTimeStamp(std::string_view text, TSQLTimeStamp& stamp,
                          const TFormatSettings& settings) {
  TDateTime value;
  if (!TryStrToDateTime(text, value, settings)) return false;
  stamp = DateTimeToSQLTimeStamp(value);
  return true;
}

bool TryStrToSQLTimeStamp(std::string_view text, TSQLTimeStamp& stamp) {
  return TryStrToSQLTimeStamp(text, stamp, DefaultFormatSettings());
}

TSQLTimeStamp StrToSQLTimeStamp(std::string_view text, const TFormatSettings& settings) {
  TSQLTimeStamp stamp;
  if (!TryStrToSQLTimeStamp(text, stamp, settings))
    throw EConvertError(Format("'%s' is not a valid date and time", {text}));
  return stamp;
}

TSQLTimeStamp StrToSQLTimeStamp(std::string_view text) {
  return StrToSQLTimeStamp(text, DefaultFormatSettings());
}

std::string SQLTimeStampToStr(const TSQLTimeStamp& stamp, const TFormatSettings& settings) {
  return VarToStr(VarFromDateTime(SQLTimeStampToDateTime(stamp)), settings);
}

std::string SQLTimeStampToStr(const TSQLTimeStamp& stamp) {
  return SQLTimeStampToStr(stamp, DefaultFormatSettings());
}
