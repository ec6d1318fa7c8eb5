// Variant: the one value type of scripts, report variables, data fields and
// editors. This header is the written table of its semantics; the tests in
// VariantTest.cpp check each group of the table row by row.
//
// KINDS ---------------------------------------------------------------------
//   code   name          held as                         made by
//   0      Empty         -                               Variant(), Unassigned()
//   1      Null          -                               Null()
//   2      Smallint      int16                           VarAsType
//   3      Integer       int32 (also object handles)     int, short, signed char; VarFromObject
//   4      Single        float                           float
//   5      Double        double                          double
//   6      Currency      int64 scaled by 10000           Currency
//   7      Date          TDateTime                       VarFromDateTime
//   8      OleStr        UTF-16 text, shared             std::u16string, const char16_t*
//   11     Boolean       bool                            bool
//   16     ShortInt      int8                            VarAsType
//   17     Byte          uint8                           unsigned char, VarAsType
//   18     Word          uint16                          unsigned short, VarAsType
//   19     LongWord      uint32                          unsigned
//   20     Int64         int64                           long, long long
//   256    String        UTF-8 text, shared              const char*, std::string, std::string_view
//   0x110  FMTBcd        decimal (TBcd, FMTBcd.h)        Variant(TBcd), VarFMTBcdCreate
//   0x111  SQLTimeStamp  TSQLTimeStamp (SqlTimSt.h)      Variant(TSQLTimeStamp), VarSQLTimeStampCreate
//   varArray | t         array of t, shared              VarArrayCreate, VarArrayOf
// Dispatch, Error, Variant, Unknown, StrArg, Any and the ByRef flag exist as
// codes and names only: no value of those kinds is ever made (varVariant is
// the element type of an array of mixed values). Shared payloads are
// reference-counted and copied on write, so copying any Variant costs at most
// one counter increment and a copy never shares later changes.
//
// Object references are Integers holding a handle of the registry of live
// objects (ObjectHandles.h), never an address: 0 is nil, VarToStr gives the
// number, and turning a handle back into an object checks that it is alive
// and of the expected class.
//
// CONVERSIONS (As..., VarToStr, VarAsType) -----------------------------------
// Failure raises EVariantTypeCastError "Could not convert variant of type (A)
// into type (B)"; a value outside the target's range raises
// EVariantOverflowError. Both are EVariantError. Texts follow the current
// format settings (DefaultFormatSettings) unless settings are passed.
//   Empty       0, 0.0, False, date 0, "" for every target.
//   Null        VarToStr and VarToWideStr give ""; every other conversion
//               (AsString included) is a cast error.
//   Boolean     True is -1 and False 0 as a number (the OLE truth value), so
//               True + 1 = 0; as text "True"/"False".
//   integers    exact; range-checked into narrower kinds.
//   Single,
//   Double      to an integer kind by rounding halves to even (2.5 -> 2,
//               3.5 -> 4); NaN, infinities and values out of range overflow.
//               Text: 15 significant digits (a Single's too, so 0.1 as a
//               Single shows 0.100000001490116), the settings' decimal
//               separator, exponent form for very large or small magnitudes.
//   Currency    to integer kinds halves to even; text up to 4 decimals
//               ("1.5" for 1.5000).
//   numbers     to Currency: rounded to 4 places, halves away from zero.
//   Date        numerically its TDateTime; text: the short date format, then a
//               blank and the long time format when the time is not midnight;
//               a value on day 0 with a time shows the time alone; a value
//               outside the years 100..9999 (or NaN) has no text (cast error).
//   String,
//   OleStr      to an integer: decimal or "$"/"0x" hex integer text, else
//               float text rounded halves to even; to Double/Currency: float
//               text with the settings' decimal separator (integer text too);
//               to Boolean: "True"/"False" in any letter case, else a number
//               text (non-zero is True); to Date: the settings' date/time
//               text, else a number text. Leading and trailing blanks are
//               allowed. Anything else is a cast error.
//   numbers     to Boolean: non-zero is True.
//   FMTBcd      to Double/Date: nearest double; to Currency: rounded to 4
//               places halves away from zero; to integers: halves to even;
//               text: plain decimal, no exponent, no trailing zero decimals.
//   SQLTimeStamp to Date/Double/Currency: its TDateTime (an invalid stamp is
//               a cast error); text: as a Date.
//   any -> FMTBcd: numbers exactly (Double through its 15-digit text), text
//               by StrToBcd. any -> SQLTimeStamp: through TDateTime; outside
//               the years 100..9999 it overflows (also SQLTimeStamp +/- n).
//   arrays      convert to nothing but their own type code (VarAsType to the
//               same code copies); every other conversion is a cast error.
//
// OPERATORS (VarAdd ... VarNeg; also C++ + - * / % & | ^ << >> ~ and unary -)
// Null in either operand gives Null (logical operators too). Empty acts as
// "" beside a string in +, as False beside a Boolean in and/or/xor, and as
// Integer 0 everywhere else. Arrays raise EVariantInvalidOpError.
//   + of two strings (String or OleStr) concatenates; the result is OleStr
//     only when both are OleStr. a += b appends in place when a holds the
//     only reference to its text.
//   A string beside a non-string converts to a number first: Integer/Int64
//     when its text is an integer, else Double (a cast error otherwise); in
//     and/or/xor/not, "True"/"False" texts convert to Boolean instead.
//   Numbers: the result kind is the wider of the two in the order
//     integers (Boolean counts as Integer -1/0) < Currency < FMTBcd < Single/Double
//     with these rules:
//     integers    computed in 64 bits; Integer when both operands were at
//                 most 32 bits and the result fits, else Int64; Int64
//                 overflow raises EVariantOverflowError.
//     Currency    + - * exact with overflow check (* rounds halves to even
//                 to 4 places); beside Single/Double it becomes Double.
//     FMTBcd      + - * exact decimal (at most 64 digits); / to 64 digits.
//     floats      Double arithmetic, Double result (Single too).
//   Dates: Date +/- number = Date; number + Date = Date; Date - Date =
//     Double (days); any other operation on a Date takes its number and
//     gives a number. SQLTimeStamp acts as a Date and keeps its kind in
//     +/- a number.
//   /        always floating: Double, or FMTBcd when an operand is FMTBcd
//            and none is Single/Double; divisor 0 raises EZeroDivide (never
//            an infinity or NaN). A finite Double operation whose result
//            overflows raises EVariantOverflowError.
//   div mod  integer division of the operands rounded to integers (halves to
//            even); divisor 0 raises EDivByZero; mod takes the sign of the
//            dividend.
//   and or xor  two Booleans: logical, Boolean result; otherwise bitwise on
//            the integer values (Boolean -1/0).
//   shl shr  on the integer values; a left operand within Integer shifts in
//            32 bits (count mod 32) and gives an Integer, others in 64 bits
//            (count mod 64) giving an Int64; shr is unsigned.
//   not      Boolean: logical; integers: bitwise (Empty -> -1).
//   negation keeps the kind of Single, Double, Date, Currency and FMTBcd;
//            other integers give Integer (Integer min becomes Int64, Int64
//            stays Int64 and its min overflows); Boolean gives Integer (so
//            -True = 1); Empty gives Integer 0; SQLTimeStamp gives a Date;
//            a string converts to a number first.
//
// COMPARISONS (VarCompareValue, VarCmpEq ... VarCmpGe, C++ == != < <= > >=)
//   Null = Null; Null is unequal to every other value and neither less nor
//     greater (VarCompareValue answers vrNotEqual; < <= > >= are false,
//     except Null <= Null and Null >= Null, which are true).
//   Empty compares as 0 beside a number, "" beside a string, False beside a
//     Boolean; Empty = Empty.
//   Two strings: case-sensitive, code point order (byte order of UTF-8).
//   String beside a number: the string converts to a number (cast error
//     when it does not); beside a Boolean: to Boolean; beside a Date or
//     SQLTimeStamp: to a date.
//   Two Booleans: False < True. A Boolean beside a number counts -1/0.
//   Numbers: exact between integers and Currency (and FMTBcd), by doubles
//     otherwise; NaN is unequal to everything (vrNotEqual).
//   Two SQLTimeStamps: field by field; beside a Date or number: as TDateTime.
//   Arrays cannot be compared: EVariantInvalidOpError.
//
// ARRAYS --------------------------------------------------------------------
//   VarArrayCreate({l1, h1, [l2, h2, [l3, h3]]}, elementType): 1 to 3
//   dimensions, high >= low - 1 (empty); elements start as Empty (varVariant),
//   0, False or "". Put converts the value to the element type. Indexes
//   outside the bounds raise EVariantBadIndexError; a wrong index count,
//   dimension number or a non-array raise EVariantInvalidArgError.
//   VarArrayRedim changes the high bound of the last dimension, keeping the
//   elements that remain. Arrays of more than 2^28 elements are refused
//   (EVariantArrayCreateError). VarType of an array is varArray | element
//   type. An array is a value: a copy never sees later changes to the
//   original, and an array put into itself holds its earlier contents.
#pragma once

#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/System.h"

struct TBcd;
struct TSQLTimeStamp;
struct TFormatSettings;

using TVarType = uint16_t;

inline constexpr TVarType varEmpty = 0x0000;
inline constexpr TVarType varNull = 0x0001;
inline constexpr TVarType varSmallint = 0x0002;
inline constexpr TVarType varInteger = 0x0003;
inline constexpr TVarType varSingle = 0x0004;
inline constexpr TVarType varDouble = 0x0005;
inline constexpr TVarType varCurrency = 0x0006;
inline constexpr TVarType varDate = 0x0007;
inline constexpr TVarType varOleStr = 0x0008;
inline constexpr TVarType varDispatch = 0x0009;
inline constexpr TVarType varError = 0x000A;
inline constexpr TVarType varBoolean = 0x000B;
inline constexpr TVarType varVariant = 0x000C;
inline constexpr TVarType varUnknown = 0x000D;
inline constexpr TVarType varShortInt = 0x0010;
inline constexpr TVarType varByte = 0x0011;
inline constexpr TVarType varWord = 0x0012;
inline constexpr TVarType varLongWord = 0x0013;
inline constexpr TVarType varInt64 = 0x0014;
inline constexpr TVarType varStrArg = 0x0048;
inline constexpr TVarType varString = 0x0100;
inline constexpr TVarType varAny = 0x0101;
// The two custom kinds of the data layer.
inline constexpr TVarType varFMTBcd = 0x0110;
inline constexpr TVarType varSQLTimeStamp = 0x0111;
inline constexpr TVarType varTypeMask = 0x0FFF;
inline constexpr TVarType varArray = 0x2000;
inline constexpr TVarType varByRef = 0x4000;

// Answers of VarCompareValue.
enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

// ---------------------------------------------------------------------------
// Exceptions.

class EVariantError : public Exception {
  VXN_DECLARE_CLASS(EVariantError)
 public:
  using Exception::Exception;
};

#define VXN_VARIANT_EXCEPTION(Name)   \
  class Name : public EVariantError { \
    VXN_DECLARE_CLASS(Name)           \
   public:                            \
    using EVariantError::EVariantError; \
  };
VXN_VARIANT_EXCEPTION(EVariantTypeCastError)
VXN_VARIANT_EXCEPTION(EVariantOverflowError)
VXN_VARIANT_EXCEPTION(EVariantInvalidOpError)
VXN_VARIANT_EXCEPTION(EVariantInvalidArgError)
VXN_VARIANT_EXCEPTION(EVariantBadIndexError)
VXN_VARIANT_EXCEPTION(EVariantArrayCreateError)
#undef VXN_VARIANT_EXCEPTION

// ---------------------------------------------------------------------------

namespace variant_detail {
// Head of every shared payload (texts, arrays, custom kinds).
struct Box {
  std::atomic<int32_t> Refs{1};
};
}  // namespace variant_detail

class Variant {
 public:
  Variant() noexcept : FType(varEmpty), FBoxed(false), FInt(0) {}
  Variant(const Variant& other) noexcept : FType(other.FType), FBoxed(other.FBoxed), FInt(other.FInt) {
    if (FBoxed) FBox->Refs.fetch_add(1, std::memory_order_relaxed);
  }
  Variant(Variant&& other) noexcept : FType(other.FType), FBoxed(other.FBoxed), FInt(other.FInt) {
    other.FType = varEmpty;
    other.FBoxed = false;
  }
  Variant& operator=(const Variant& other) noexcept {
    if (other.FBoxed) other.FBox->Refs.fetch_add(1, std::memory_order_relaxed);
    if (FBoxed) Release();
    FType = other.FType;
    FBoxed = other.FBoxed;
    FInt = other.FInt;
    return *this;
  }
  Variant& operator=(Variant&& other) noexcept {
    if (this != &other) {
      if (FBoxed) Release();
      FType = other.FType;
      FBoxed = other.FBoxed;
      FInt = other.FInt;
      other.FType = varEmpty;
      other.FBoxed = false;
    }
    return *this;
  }
  ~Variant() {
    if (FBoxed) Release();
  }

  Variant(bool value) noexcept : FType(varBoolean), FBoxed(false), FInt(value ? 1 : 0) {}
  Variant(signed char value) noexcept : FType(varInteger), FBoxed(false), FInt(value) {}
  Variant(unsigned char value) noexcept : FType(varByte), FBoxed(false), FInt(value) {}
  Variant(short value) noexcept : FType(varInteger), FBoxed(false), FInt(value) {}
  Variant(unsigned short value) noexcept : FType(varWord), FBoxed(false), FInt(value) {}
  Variant(int value) noexcept : FType(varInteger), FBoxed(false), FInt(value) {}
  Variant(unsigned value) noexcept : FType(varLongWord), FBoxed(false), FInt(value) {}
  Variant(long value) noexcept : FType(varInt64), FBoxed(false), FInt(value) {}
  Variant(long long value) noexcept : FType(varInt64), FBoxed(false), FInt(value) {}
  Variant(float value) noexcept : FType(varSingle), FBoxed(false), FDouble(value) {}
  Variant(double value) noexcept : FType(varDouble), FBoxed(false), FDouble(value) {}
  Variant(Currency value) noexcept : FType(varCurrency), FBoxed(false), FInt(value.Value) {}
  Variant(const char* text);
  Variant(std::string_view text);
  Variant(const std::string& text) : Variant(std::string_view(text)) {}
  Variant(std::string&& text);
  Variant(std::u16string_view text);
  Variant(const char16_t* text) : Variant(std::u16string_view(text)) {}
  Variant(const std::u16string& text) : Variant(std::u16string_view(text)) {}
  Variant(const TBcd& value);
  Variant(const TSQLTimeStamp& value);
  // Pointers are not values; objects travel as handles (VarFromObject).
  Variant(const void*) = delete;
  Variant(std::nullptr_t) = delete;

  // VarType: the type code, varArray included for arrays.
  TVarType VType() const noexcept { return FType; }

  // Conversions as the table above says (Null raises in all of them).
  Integer AsInteger() const;
  Int64 AsInt64() const;
  Double AsDouble() const;
  Currency AsCurrency() const;
  Boolean AsBoolean() const;
  TDateTime AsDateTime() const;
  std::string AsString() const;
  std::u16string AsWideString() const;

  // The text of a String Variant without a copy; nullptr for other kinds.
  const std::string* StringData() const noexcept;

  // In-place form of VarAdd: appends without copying when this Variant holds
  // the only reference to its text (the interpreter's "s := s + x").
  Variant& operator+=(const Variant& right);

 private:
  friend struct VariantAccess;  // Variants.cpp and the custom kinds' modules

  void Release() noexcept;

  TVarType FType;
  bool FBoxed;
  union {
    int64_t FInt;      // every integer kind, Boolean (0/1), Currency (scaled)
    double FDouble;    // Single, Double, Date
    variant_detail::Box* FBox;
  };
};

// ---------------------------------------------------------------------------
// Kinds and tests.

inline TVarType VarType(const Variant& v) noexcept { return v.VType(); }
// "Integer", "String", "Array Variant", "FMTBcd", ... as in the messages.
std::string VarTypeAsText(TVarType type);

Variant Null();
Variant Unassigned();
Variant VarFromDateTime(TDateTime value);

inline bool VarIsEmpty(const Variant& v) noexcept { return v.VType() == varEmpty; }
inline bool VarIsNull(const Variant& v) noexcept { return v.VType() == varNull; }
// Empty or Null.
inline bool VarIsClear(const Variant& v) noexcept { return v.VType() <= varNull; }
inline bool VarIsArray(const Variant& v) noexcept { return (v.VType() & varArray) != 0; }
// Integer kinds and Boolean.
bool VarIsOrdinal(const Variant& v) noexcept;
// Single, Double, Currency and FMTBcd.
bool VarIsFloat(const Variant& v) noexcept;
// Ordinal or float.
bool VarIsNumeric(const Variant& v) noexcept;
// String or OleStr.
bool VarIsStr(const Variant& v) noexcept;
// Whether the kind (varArray flag included) equals the type.
inline bool VarIsType(const Variant& v, TVarType type) noexcept { return v.VType() == type; }

// ---------------------------------------------------------------------------
// Conversions.

std::string VarToStr(const Variant& v);
std::string VarToStr(const Variant& v, const TFormatSettings& settings);
std::u16string VarToWideStr(const Variant& v);
TDateTime VarToDateTime(const Variant& v);
// A new Variant of the type (Empty and Null included).
Variant VarAsType(const Variant& v, TVarType type);

// ---------------------------------------------------------------------------
// Operators.

Variant VarAdd(const Variant& left, const Variant& right);
Variant VarSub(const Variant& left, const Variant& right);
Variant VarMul(const Variant& left, const Variant& right);
Variant VarDiv(const Variant& left, const Variant& right);     // "/"
Variant VarIntDiv(const Variant& left, const Variant& right);  // div
Variant VarMod(const Variant& left, const Variant& right);
Variant VarAnd(const Variant& left, const Variant& right);
Variant VarOr(const Variant& left, const Variant& right);
Variant VarXor(const Variant& left, const Variant& right);
Variant VarShl(const Variant& left, const Variant& right);
Variant VarShr(const Variant& left, const Variant& right);
Variant VarNot(const Variant& v);
Variant VarNeg(const Variant& v);

inline Variant operator+(const Variant& a, const Variant& b) { return VarAdd(a, b); }
inline Variant operator-(const Variant& a, const Variant& b) { return VarSub(a, b); }
inline Variant operator*(const Variant& a, const Variant& b) { return VarMul(a, b); }
inline Variant operator/(const Variant& a, const Variant& b) { return VarDiv(a, b); }
inline Variant operator%(const Variant& a, const Variant& b) { return VarMod(a, b); }
inline Variant operator&(const Variant& a, const Variant& b) { return VarAnd(a, b); }
inline Variant operator|(const Variant& a, const Variant& b) { return VarOr(a, b); }
inline Variant operator^(const Variant& a, const Variant& b) { return VarXor(a, b); }
inline Variant operator<<(const Variant& a, const Variant& b) { return VarShl(a, b); }
inline Variant operator>>(const Variant& a, const Variant& b) { return VarShr(a, b); }
inline Variant operator~(const Variant& a) { return VarNot(a); }
inline Variant operator-(const Variant& a) { return VarNeg(a); }

// ---------------------------------------------------------------------------
// Comparisons.

TVariantRelationship VarCompareValue(const Variant& left, const Variant& right);
bool VarCmpEq(const Variant& left, const Variant& right);
bool VarCmpNe(const Variant& left, const Variant& right);
bool VarCmpLt(const Variant& left, const Variant& right);
bool VarCmpLe(const Variant& left, const Variant& right);
bool VarCmpGt(const Variant& left, const Variant& right);
bool VarCmpGe(const Variant& left, const Variant& right);
// Same kind and equal value; never raises.
bool VarSameTypeAndValue(const Variant& left, const Variant& right) noexcept;

inline bool operator==(const Variant& a, const Variant& b) { return VarCmpEq(a, b); }
inline bool operator!=(const Variant& a, const Variant& b) { return VarCmpNe(a, b); }
inline bool operator<(const Variant& a, const Variant& b) { return VarCmpLt(a, b); }
inline bool operator<=(const Variant& a, const Variant& b) { return VarCmpLe(a, b); }
inline bool operator>(const Variant& a, const Variant& b) { return VarCmpGt(a, b); }
inline bool operator>=(const Variant& a, const Variant& b) { return VarCmpGe(a, b); }

// ---------------------------------------------------------------------------
// Arrays. Dimensions are numbered from 1.

// bounds holds low and high per dimension.
Variant VarArrayCreate(std::initializer_list<Integer> bounds, TVarType elementType);
Variant VarArrayCreate(const Integer* bounds, int boundCount, TVarType elementType);
// A Variant array 0..n-1 of the values.
Variant VarArrayOf(std::initializer_list<Variant> values);
Variant VarArrayOf(const std::vector<Variant>& values);
Integer VarArrayDimCount(const Variant& array) noexcept;  // 0 for a non-array
Integer VarArrayLowBound(const Variant& array, Integer dim);
Integer VarArrayHighBound(const Variant& array, Integer dim);
Variant VarArrayGet(const Variant& array, std::initializer_list<Integer> indices);
Variant VarArrayGet(const Variant& array, const Integer* indices, int indexCount);
void VarArrayPut(Variant& array, const Variant& value, std::initializer_list<Integer> indices);
void VarArrayPut(Variant& array, const Variant& value, const Integer* indices, int indexCount);
void VarArrayRedim(Variant& array, Integer highBound);

// Debug and test output: the kind and the text, e.g. Integer(5), Null.
std::ostream& operator<<(std::ostream& out, const Variant& v);
