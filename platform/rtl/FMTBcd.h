// Decimal numbers of up to 64 digits (TBcd) and their Variant kind
// (varFMTBcd), the exact decimal values of data fields.
//
//   TBcd, 34 bytes:
//   byte 0      Precision: number of digits, 1..64
//   byte 1      bit 7 sign (1 negative), bit 6 unused, bits 0-5 Places
//   bytes 2-33  Fraction: the digits packed two per byte, high nibble
//               first, Precision of them
//   +-----------+-----------------+---------------------------------+
//   | Precision | S . P P P P P P | d d | d d | ... (32 bytes)      |
//   +-----------+-----------------+---------------------------------+
//   The value is the digits with the last Places of them after the decimal
//   point; Precision - Places digits stand before it.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/System.h"
#include "platform/rtl/Variants.h"

struct TFormatSettings;

inline constexpr Integer MaxFMTBcdFractionSize = 64;

struct TBcd {
  Byte Precision = 1;
  Byte SignSpecialPlaces = 0;
  Byte Fraction[32] = {};
};

class EBcdException : public Exception {
  VXN_DECLARE_CLASS(EBcdException)
 public:
  using Exception::Exception;
};

class EBcdOverflowException : public EBcdException {
  VXN_DECLARE_CLASS(EBcdOverflowException)
 public:
  using EBcdException::EBcdException;
};

// Text: blanks, an optional sign, digits with the settings' decimal
// separator; no exponent, no thousand separators. Decimals beyond 63 places or
// 64 digits are rounded off (halves away from zero); more than 64 integer
// digits are bad text. StrToBcd raises EBcdException for bad text.
bool TryStrToBcd(std::string_view text, TBcd& bcd);
bool TryStrToBcd(std::string_view text, TBcd& bcd, const TFormatSettings& settings);
TBcd StrToBcd(std::string_view text);
TBcd StrToBcd(std::string_view text, const TFormatSettings& settings);
// Plain decimal text without exponent and without trailing zero decimals.
std::string BcdToStr(const TBcd& bcd);
std::string BcdToStr(const TBcd& bcd, const TFormatSettings& settings);

// -1, 0 or 1; the number of places does not matter (1.5 = 1.50).
Integer BcdCompare(const TBcd& a, const TBcd& b);
bool BcdIsZero(const TBcd& bcd);

// The nearest double.
Double BcdToDouble(const TBcd& bcd);
// The double's 15 significant digits; NaN and infinities raise
// EBcdOverflowException.
TBcd DoubleToBcd(Double value);
TBcd IntegerToBcd(Int64 value);
TBcd CurrToBcd(Currency value);
// Rounded to four places, halves away from zero; false when out of range.
bool BcdToCurr(const TBcd& bcd, Currency& value);
// Rounded to an integer, halves to even; false when out of range.
bool TryBcdToInt64(const TBcd& bcd, Int64& value);

// Exact results; a result of more than 64 digits loses decimals (rounded
// halves away from zero) and raises EBcdOverflowException when the integer
// digits alone exceed 64. Division gives 64 significant digits at most and
// raises EZeroDivide for a zero divisor.
TBcd BcdAdd(const TBcd& a, const TBcd& b);
TBcd BcdSubtract(const TBcd& a, const TBcd& b);
TBcd BcdMultiply(const TBcd& a, const TBcd& b);
TBcd BcdDivide(const TBcd& a, const TBcd& b);
TBcd BcdNegate(const TBcd& a);

// The Variant kind.
inline TVarType VarFMTBcd() { return varFMTBcd; }
inline bool VarIsFMTBcd(const Variant& v) { return v.VType() == varFMTBcd; }
Variant VarFMTBcdCreate(const TBcd& bcd);
Variant VarFMTBcdCreate(std::string_view text);  // StrToBcd of the text
// The value converted as Variants.h says (any -> FMTBcd).
TBcd VarToBcd(const Variant& v);
