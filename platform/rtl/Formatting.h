// Number and text formatting of the class library: Format, FormatFloat,
// FloatToStr and friends. User text is interpreted here, never by printf.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/rtl/System.h"

struct TFormatSettings;

// One argument of Format, as the class library's "array of const" element.
// Built implicitly from the argument's C++ type; strings are viewed, not
// copied, so a TVarRec lives only as long as the call that takes it.
struct TVarRec {
  enum class Kind { Integer, Int64, UInt64, Extended, Currency, String, Pointer, Char, Boolean };

  Kind VType;
  union {
    int64_t VInt64;
    uint64_t VUInt64;
    double VExtended;
    int64_t VCurrency;  // scaled by 10000
    const void* VPointer;
    char VChar;
    bool VBoolean;
  };
  std::string_view VString;

  TVarRec(int v) : VType(Kind::Integer), VInt64(v) {}
  TVarRec(unsigned v) : VType(Kind::Int64), VInt64(v) {}
  TVarRec(long v) : VType(Kind::Int64), VInt64(v) {}
  TVarRec(long long v) : VType(Kind::Int64), VInt64(v) {}
  TVarRec(unsigned long v) : VType(Kind::UInt64), VUInt64(v) {}
  TVarRec(unsigned long long v) : VType(Kind::UInt64), VUInt64(v) {}
  TVarRec(short v) : VType(Kind::Integer), VInt64(v) {}
  TVarRec(unsigned short v) : VType(Kind::Integer), VInt64(v) {}
  TVarRec(signed char v) : VType(Kind::Integer), VInt64(v) {}
  TVarRec(unsigned char v) : VType(Kind::Integer), VInt64(v) {}
  TVarRec(double v) : VType(Kind::Extended), VExtended(v) {}
  TVarRec(float v) : VType(Kind::Extended), VExtended(v) {}
  TVarRec(Currency v) : VType(Kind::Currency), VCurrency(v.Value) {}
  TVarRec(char v) : VType(Kind::Char), VChar(v) {}
  TVarRec(bool v) : VType(Kind::Boolean), VBoolean(v) {}
  TVarRec(const char* v) : VType(Kind::String), VInt64(0), VString(v ? v : "") {}
  TVarRec(const std::string& v) : VType(Kind::String), VInt64(0), VString(v) {}
  TVarRec(std::string_view v) : VType(Kind::String), VInt64(0), VString(v) {}
  TVarRec(const void* v) : VType(Kind::Pointer), VPointer(v) {}
};

using TVarRecs = std::initializer_list<TVarRec>;

// %d %u %e %f %g %n %m %p %s %x with index ("%1:s"), width, precision, "*"
// and "-". A missing or mismatched argument raises EConvertError.
std::string Format(std::string_view format, TVarRecs args);
std::string Format(std::string_view format, TVarRecs args, const TFormatSettings& settings);

// ---------------------------------------------------------------------------
// Floating-point text. A double carries 15 significant decimal digits; the
// routines take those digits and round further with halves away from zero.

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Shortest text of 15 significant digits ("0.1", "1E20", "1.5E-7").
std::string FloatToStr(Extended value);
std::string FloatToStr(Extended value, const TFormatSettings& settings);

// ffGeneral: up to `precision` significant digits, scientific when the value
//   needs more digits before the point or is below 0.0001; `digits` is the
//   least number of exponent digits (0..4).
// ffExponent: "-d.dddE+dddd" with `precision` digits and at least `digits`
//   exponent digits.
// ffFixed, ffNumber: `digits` decimals (0..18); ffNumber adds thousand
//   separators. A value with more integer digits than `precision` falls back
//   to the exponent form.
// ffCurrency: as ffNumber with the settings' currency string and layouts.
// Precision is limited to 15. NaN and infinities give "NAN", "INF", "-INF".
std::string FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits);
std::string FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits,
                        const TFormatSettings& settings);

// Picture formatting. Up to three sections separated by ";" (positive,
// negative, zero); "0" digit or zero, "#" digit or nothing, "." decimal
// separator, "," thousand separators, "E+" "E-" "e+" "e-" exponent with up
// to four "0" giving its least width, text in quotes copied. An empty
// picture gives FloatToStr's text.
std::string FormatFloat(std::string_view format, Extended value);
std::string FormatFloat(std::string_view format, Extended value, const TFormatSettings& settings);
// The same for a Currency, exact to its four decimals.
std::string FormatCurr(std::string_view format, Currency value);
std::string FormatCurr(std::string_view format, Currency value, const TFormatSettings& settings);

// Text to double: optional blanks, sign, digits with the settings' decimal
// separator, optional exponent ("1,5E3" under a comma locale). No thousand
// separators. Bad text raises EConvertError "'%s' is not a valid floating
// point value"; out-of-range values count as bad text.
Extended StrToFloat(std::string_view s);
Extended StrToFloat(std::string_view s, const TFormatSettings& settings);
Extended StrToFloatDef(std::string_view s, Extended defaultValue);
Extended StrToFloatDef(std::string_view s, Extended defaultValue, const TFormatSettings& settings);
bool TryStrToFloat(std::string_view s, Extended& value);
bool TryStrToFloat(std::string_view s, Extended& value, const TFormatSettings& settings);

// Text to Currency, read as exact decimals and rounded to four places with
// halves away from zero; values outside the Currency range are bad text.
Currency StrToCurr(std::string_view s);
Currency StrToCurr(std::string_view s, const TFormatSettings& settings);
Currency StrToCurrDef(std::string_view s, Currency defaultValue);
Currency StrToCurrDef(std::string_view s, Currency defaultValue, const TFormatSettings& settings);
bool TryStrToCurr(std::string_view s, Currency& value);
bool TryStrToCurr(std::string_view s, Currency& value, const TFormatSettings& settings);

// Up to four decimals without trailing zeros ("12.5", "-0.0001").
std::string CurrToStr(Currency value);
std::string CurrToStr(Currency value, const TFormatSettings& settings);
std::string CurrToStrF(Currency value, TFloatFormat format, Integer digits);
std::string CurrToStrF(Currency value, TFloatFormat format, Integer digits,
                       const TFormatSettings& settings);

// Double to Currency (halves away from zero); EConvertError "'%s' is not a
// valid currency value" outside the Currency range or for NaN.
Currency FloatToCurr(Extended value);
bool TryFloatToCurr(Extended value, Currency& result);
Extended CurrToFloat(Currency value);
