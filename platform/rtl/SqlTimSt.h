// SQL time stamps (TSQLTimeStamp) and their Variant kind (varSQLTimeStamp),
// the date-time values of data fields.
//
//   TSQLTimeStamp, 16 bytes, little-endian:
//   | Year i16 | Month u16 | Day u16 | Hour u16 | Minute u16 | Second u16 | Fractions u32 |
//   Fractions are milliseconds.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/System.h"
#include "platform/rtl/Variants.h"

struct TFormatSettings;

struct TSQLTimeStamp {
  SmallInt Year = 0;
  Word Month = 0;
  Word Day = 0;
  Word Hour = 0;
  Word Minute = 0;
  Word Second = 0;
  LongWord Fractions = 0;

  friend bool operator==(const TSQLTimeStamp&, const TSQLTimeStamp&) = default;
};

// The stamp of a date-time, to the millisecond; EConvertError for a value
// outside the years 100..9999.
TSQLTimeStamp DateTimeToSQLTimeStamp(TDateTime value);
// EConvertError "Invalid time stamp" for a stamp that names no moment (month
// 13, hour 24, year outside 100..9999, ...). The all-zero stamp is day 0.
TDateTime SQLTimeStampToDateTime(const TSQLTimeStamp& stamp);
bool TrySQLTimeStampToDateTime(const TSQLTimeStamp& stamp, TDateTime& value);
// Field by field from Year to Fractions; the first difference decides.
Integer CompareSQLTimeStamps(const TSQLTimeStamp& a, const TSQLTimeStamp& b);

// Text as StrToDateTime reads it; StrToSQLTimeStamp raises EConvertError.
bool TryStrToSQLTimeStamp(std::string_view text, TSQLTimeStamp& stamp);
bool TryStrToSQLTimeStamp(std::string_view text, TSQLTimeStamp& stamp,
                          const TFormatSettings& settings);
TSQLTimeStamp StrToSQLTimeStamp(std::string_view text);
TSQLTimeStamp StrToSQLTimeStamp(std::string_view text, const TFormatSettings& settings);
// The text of a Date Variant of the same moment (Variants.h).
std::string SQLTimeStampToStr(const TSQLTimeStamp& stamp);
std::string SQLTimeStampToStr(const TSQLTimeStamp& stamp, const TFormatSettings& settings);

// The Variant kind.
inline TVarType VarSQLTimeStamp() { return varSQLTimeStamp; }
inline bool VarIsSQLTimeStamp(const Variant& v) { return v.VType() == varSQLTimeStamp; }
Variant VarSQLTimeStampCreate(const TSQLTimeStamp& stamp);
Variant VarSQLTimeStampCreate(TDateTime value);
// The value converted as Variants.h says (any -> SQLTimeStamp).
TSQLTimeStamp VarToSQLTimeStamp(const Variant& v);
