// Number and text formatting of the class library: Format, FormatFloat,
// FloatToStr and friends. User text is interpreted here, never by printf.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "System.h"

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
