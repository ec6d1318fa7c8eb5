#include "platform/rtl/Formatting.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"

namespace {

constexpr int kMaxDoubleDigits = 15;
// A width or precision beyond this is taken as a broken format rather than a
// request for megabytes of blanks.
constexpr int kMaxFormatWidth = 1 << 20;

// value = 0.Digits x 10^Exponent. Digits hold no trailing zeros; zero has
// no digits.
struct DecimalNumber {
  bool Negative = false;
  int Exponent = 0;
  std::string Digits;

  bool IsZero() const { return Digits.empty(); }
};

void StripTrailingZeros(DecimalNumber& d) {
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
  if (d.Digits.empty()) d.Exponent = 0;
}

// The double's 15 significant digits, correctly rounded from its binary value.
DecimalNumber DecimalOfDouble(double value) {
  DecimalNumber d;
  d.Negative = std::signbit(value) && value != 0;
  if (value == 0) return d;
  char buf[64];
  auto result = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                              kMaxDoubleDigits - 1);
  std::string_view text(buf, static_cast<size_t>(result.ptr - buf));
  size_t e = text.find('e');
  d.Digits.push_back(text[0]);
  if (text.size() > 1 && text[1] == '.') d.Digits.append(text.substr(2, e - 2));
  int exponent = 0;
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
  d.Exponent = exponent + 1;
  StripTrailingZeros(d);
  return d;
}

// A Currency's exact digits.
DecimalNumber DecimalOfCurrency(Currency value) {
  DecimalNumber d;
  d.Negative = value.Value < 0;
  UInt64 magnitude = value.Value < 0 ? 0 - static_cast<UInt64>(value.Value) : static_cast<UInt64>(value.Value);
  if (magnitude == 0) return d;
  char buf[32];
  auto result = std::to_chars(buf, buf + sizeof buf, magnitude);
  d.Digits.assign(buf, result.ptr);
  d.Exponent = static_cast<int>(d.Digits.size()) - 4;
  StripTrailingZeros(d);
  return d;
}

// Keeps at most `count` significant digits, rounding halves away from zero.
void RoundDigits(DecimalNumber& d, int count) {
  if (count >= static_cast<int>(d.Digits.size())) return;
  if (count < 0) {
    d.Digits.clear();
    d.Exponent = 0;
    return;
  }
  bool up = d.Digits[static_cast<size_t>(count)] >= '5';
  d.Digits.resize(static_cast<size_t>(count));
  if (up) {
    while (!d.Digits.empty() && d.Digits.back() == '9') d.Digits.pop_back();
    if (d.Digits.empty()) {
      d.Digits = "1";
      d.Exponent++;
      return;
    }
    d.Digits.back()++;
  }
  StripTrailingZeros(d);
}

// Digit at 0-based position i from the left, '0' outside.
char DigitAt(const DecimalNumber& d, int i) {
  return i >= 0 && i < static_cast<int>(d.Digits.size()) ? d.Digits[static_cast<size_t>(i)] : '0';
}

std::string IntegerPart(const DecimalNumber& d) {
  if (d.Exponent <= 0) return {};
  std::string s;
  for (int i = 0; i < d.Exponent; ++i) s.push_back(DigitAt(d, i));
  return s;
}

std::string WithThousands(const std::string& digits, char separator) {
  std::string out;
  size_t n = digits.size();
  for (size_t i = 0; i < n; ++i) {
    out.push_back(digits[i]);
    size_t left = n - 1 - i;
    if (left > 0 && left % 3 == 0) out.push_back(separator);
  }
  return out;
}

std::string ExponentText(int exponent, int minDigits, bool alwaysSign) {
  std::string s;
  if (exponent < 0)
    s.push_back('-');
  else if (alwaysSign)
    s.push_back('+');
  std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
  if (static_cast<int>(digits.size()) < minDigits) s.append(static_cast<size_t>(minDigits) - digits.size(), '0');
  return s + digits;
}

std::string GeneralText(DecimalNumber d, int precision, int expDigits, char decimalSeparator) {
  RoundDigits(d, precision);
  if (d.IsZero()) return "0";
  std::string s = d.Negative ? "-" : "";
  int n = static_cast<int>(d.Digits.size());
  if (d.Exponent > precision || d.Exponent < -3) {
    s.push_back(d.Digits[0]);
    if (n > 1) {
      s.push_back(decimalSeparator);
      s.append(d.Digits, 1);
    }
    s += "E" + ExponentText(d.Exponent - 1, expDigits, false);
    return s;
  }
  if (d.Exponent <= 0) {
    s += "0";
    s.push_back(decimalSeparator);
    s.append(static_cast<size_t>(-d.Exponent), '0');
    s += d.Digits;
    return s;
  }
  s += IntegerPart(d);
  if (n > d.Exponent) {
    s.push_back(decimalSeparator);
    s.append(d.Digits, static_cast<size_t>(d.Exponent));
  }
  return s;
}

std::string ExponentFormText(DecimalNumber d, int precision, int expDigits, char decimalSeparator) {
  RoundDigits(d, precision);
  std::string s = d.Negative && !d.IsZero() ? "-" : "";
  s.push_back(DigitAt(d, 0));
  if (precision > 1) {
    s.push_back(decimalSeparator);
    for (int i = 1; i < precision; ++i) s.push_back(DigitAt(d, i));
  }
  s += "E" + ExponentText(d.IsZero() ? 0 : d.Exponent - 1, expDigits, true);
  return s;
}

std::string CurrencyLayout(const std::string& number, bool negative, const TFormatSettings& fs) {
  const std::string& c = fs.CurrencyString;
  if (!negative) {
    switch (fs.CurrencyFormat) {
      case 1: return number + c;
      case 2: return c + " " + number;
      case 3: return number + " " + c;
      default: return c + number;
    }
  }
  switch (fs.NegCurrFormat) {
    case 1: return "-" + c + number;
    case 2: return c + "-" + number;
    case 3: return c + number + "-";
    case 4: return "(" + number + c + ")";
    case 5: return "-" + number + c;
    case 6: return number + "-" + c;
    case 7: return number + c + "-";
    case 8: return "-" + number + " " + c;
    case 9: return "-" + c + " " + number;
    case 10: return number + " " + c + "-";
    case 11: return c + " " + number + "-";
    case 12: return c + " -" + number;
    case 13: return number + "- " + c;
    case 14: return "(" + c + " " + number + ")";
    case 15: return "(" + number + " " + c + ")";
    default: return "(" + c + number + ")";
  }
}

// ffFixed, ffNumber and ffCurrency once the exponent fits the precision.
std::string FixedText(DecimalNumber d, TFloatFormat format, int digits, const TFormatSettings& fs) {
  RoundDigits(d, d.Exponent + digits);
  std::string intPart = IntegerPart(d);
  if (intPart.empty()) intPart = "0";
  std::string number =
      format == ffFixed ? intPart : WithThousands(intPart, fs.ThousandSeparator);
  if (digits > 0) {
    number.push_back(fs.DecimalSeparator);
    for (int i = 0; i < digits; ++i) number.push_back(DigitAt(d, d.Exponent + i));
  }
  bool negative = d.Negative && !d.IsZero();
  if (format == ffCurrency) return CurrencyLayout(number, negative, fs);
  return negative ? "-" + number : number;
}

std::string SpecialValueText(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

std::string DecimalToText(const DecimalNumber& d, TFloatFormat format, int precision, int digits,
                          const TFormatSettings& fs) {
  switch (format) {
    case ffGeneral:
      return GeneralText(d, precision, std::clamp(digits, 0, 4), fs.DecimalSeparator);
    case ffExponent:
      return ExponentFormText(d, precision, std::clamp(digits, 0, 4), fs.DecimalSeparator);
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      DecimalNumber rounded = d;
      RoundDigits(rounded, precision);
      if (rounded.Exponent > precision) return GeneralText(d, precision, 0, fs.DecimalSeparator);
      return FixedText(d, format, std::clamp(digits, 0, 18), fs);
    }
  }
  return {};
}

// ---------------------------------------------------------------------------
// FormatFloat pictures.

struct PictureSection {
  std::string_view Text;
  int IntegerPlaces = 0;    // '0' and '#' before the point
  int FirstIntegerZero = -1;
  int FractionPlaces = 0;   // '0' and '#' after the point
  int LastFractionZero = 0; // places up to and including the last '0'
  bool Thousands = false;
  bool Scientific = false;
  size_t ExponentPos = std::string_view::npos;  // index of the 'E'
  int ExponentDigits = 0;
};

std::vector<std::string_view> SplitSections(std::string_view format) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(format.substr(start, i - start));
      start = i + 1;
      if (sections.size() == 2) break;
    }
  }
  if (sections.size() < 3) sections.push_back(format.substr(start));
  // A third section ends at its own ';' too.
  if (sections.size() == 3) {
    std::string_view third = sections[2];
    quote = 0;
    for (size_t i = 0; i < third.size(); ++i) {
      char c = third[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '\'' || c == '"') {
        quote = c;
      } else if (c == ';') {
        sections[2] = third.substr(0, i);
        break;
      }
    }
  }
  return sections;
}

bool IsExponentAt(std::string_view s, size_t i) {
  return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

PictureSection AnalyseSection(std::string_view text) {
  PictureSection p;
  p.Text = text;
  bool point = false;
  char quote = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '0' || c == '#') {
      if (!point) {
        if (c == '0' && p.FirstIntegerZero < 0) p.FirstIntegerZero = p.IntegerPlaces;
        p.IntegerPlaces++;
      } else {
        p.FractionPlaces++;
        if (c == '0') p.LastFractionZero = p.FractionPlaces;
      }
    } else if (c == '.') {
      point = true;
    } else if (c == ',') {
      p.Thousands = true;
    } else if (IsExponentAt(text, i)) {
      p.Scientific = true;
      p.ExponentPos = i;
      size_t j = i + 2;
      while (j < text.size() && text[j] == '0' && p.ExponentDigits < 4) {
        p.ExponentDigits++;
        j++;
      }
      break;  // what follows the exponent is copied as it stands
    }
  }
  return p;
}

// Lays the number into one section; `d` is unrounded and without sign.
std::string ApplySection(const PictureSection& p, DecimalNumber d, const TFormatSettings& fs,
                         bool& roundedToZero) {
  int exponent = 0;
  if (p.Scientific) {
    RoundDigits(d, std::max(p.IntegerPlaces + p.FractionPlaces, 1));
    if (!d.IsZero()) exponent = d.Exponent - p.IntegerPlaces;
  } else {
    RoundDigits(d, d.Exponent + p.FractionPlaces);
  }
  roundedToZero = d.IsZero();

  std::string intDigits;
  std::string fracDigits;
  if (p.Scientific) {
    if (!d.IsZero())
      for (int i = 0; i < p.IntegerPlaces; ++i) intDigits.push_back(DigitAt(d, i));
    for (int i = 0; i < p.FractionPlaces; ++i) fracDigits.push_back(DigitAt(d, p.IntegerPlaces + i));
  } else {
    intDigits = IntegerPart(d);
    for (int i = 0; i < p.FractionPlaces; ++i) fracDigits.push_back(DigitAt(d, d.Exponent + i));
  }
  size_t minInt = p.FirstIntegerZero >= 0 ? static_cast<size_t>(p.IntegerPlaces - p.FirstIntegerZero) : 0;
  if (intDigits.size() < minInt) intDigits.insert(0, minInt - intDigits.size(), '0');
  while (static_cast<int>(fracDigits.size()) > p.LastFractionZero && fracDigits.back() == '0')
    fracDigits.pop_back();

  const bool thousands = p.Thousands && !p.Scientific;
  const int n = static_cast<int>(intDigits.size());
  std::string out;
  auto emitInteger = [&](int power) {  // digit for 10^power, then its separator
    out.push_back(intDigits[static_cast<size_t>(n - 1 - power)]);
    if (thousands && power > 0 && power % 3 == 0) out.push_back(fs.ThousandSeparator);
  };

  int intIndex = 0;
  int fracIndex = 0;
  bool point = false;
  char quote = 0;
  std::string_view text = p.Text;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (quote) {
      if (c == quote)
        quote = 0;
      else
        out.push_back(c);
      continue;
    }
    if (i == p.ExponentPos) {
      out.push_back(c);
      bool alwaysSign = text[i + 1] == '+';
      out += ExponentText(exponent, p.ExponentDigits, alwaysSign);
      i += 1 + static_cast<size_t>(p.ExponentDigits);
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
    } else if ((c == '0' || c == '#') && (i < p.ExponentPos)) {
      if (!point) {
        if (intIndex == 0)
          for (int power = n - 1; power >= p.IntegerPlaces; --power) emitInteger(power);
        int power = p.IntegerPlaces - 1 - intIndex;
        if (power < n) emitInteger(power);
        intIndex++;
      } else {
        if (fracIndex < static_cast<int>(fracDigits.size())) out.push_back(fracDigits[static_cast<size_t>(fracIndex)]);
        fracIndex++;
      }
    } else if (c == '.' && !point && i < p.ExponentPos) {
      point = true;
      if (p.IntegerPlaces == 0)
        for (int power = n - 1; power >= 0; --power) emitInteger(power);
      if (!fracDigits.empty()) out.push_back(fs.DecimalSeparator);
    } else if (c == ',' && i < p.ExponentPos) {
      // Only switches grouping on.
    } else if (c == '.' && i < p.ExponentPos) {
      // A second point is ignored.
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string FormatDecimal(std::string_view format, const DecimalNumber& value,
                          const TFormatSettings& fs) {
  if (format.empty()) return GeneralText(value, kMaxDoubleDigits, 0, fs.DecimalSeparator);
  std::vector<std::string_view> sections = SplitSections(format);
  auto section = [&](size_t i) -> const std::string_view* {
    return i < sections.size() && !sections[i].empty() ? &sections[i] : nullptr;
  };
  DecimalNumber magnitude = value;
  magnitude.Negative = false;

  size_t chosen = 0;
  bool minus = false;
  if (value.IsZero()) {
    if (section(2)) chosen = 2;
  } else if (value.Negative) {
    if (section(1))
      chosen = 1;
    else
      minus = true;
  }
  PictureSection picture = AnalyseSection(sections[chosen]);
  if (!picture.Scientific && magnitude.Exponent > 18)
    return GeneralText(value, kMaxDoubleDigits, 0, fs.DecimalSeparator);
  bool zero = false;
  std::string out = ApplySection(picture, magnitude, fs, zero);
  if (zero && !value.IsZero()) {
    // A value that rounds to nothing is shown as zero: with the zero
    // section when there is one, and never with a minus sign.
    if (section(2)) return ApplySection(AnalyseSection(sections[2]), DecimalNumber{}, fs, zero);
    minus = false;
  }
  return minus ? "-" + out : out;
}

// ---------------------------------------------------------------------------
// Reading numbers.

// The parts of a decimal text: sign, significant digits, and the power of
// ten of the digits' end (value = digits x 10^exponent).
struct ScannedNumber {
  bool Negative = false;
  std::string Digits;
  Int64 Exponent = 0;
};

bool ScanNumberText(std::string_view s, char decimalSeparator, ScannedNumber& n) {
  size_t i = 0, end = s.size();
  while (i < end && s[i] == ' ') ++i;
  while (end > i && s[end - 1] == ' ') --end;
  if (i < end && (s[i] == '+' || s[i] == '-')) n.Negative = s[i++] == '-';
  bool anyDigit = false;
  for (; i < end && s[i] >= '0' && s[i] <= '9'; ++i) {
    anyDigit = true;
    if (!(n.Digits.empty() && s[i] == '0')) n.Digits.push_back(s[i]);
  }
  if (i < end && s[i] == decimalSeparator) {
    ++i;
    for (; i < end && s[i] >= '0' && s[i] <= '9'; ++i) {
      anyDigit = true;
      if (!(n.Digits.empty() && s[i] == '0')) n.Digits.push_back(s[i]);
      n.Exponent--;
    }
  }
  if (!anyDigit) return false;
  if (i < end && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool negExp = false;
    if (i < end && (s[i] == '+' || s[i] == '-')) negExp = s[i++] == '-';
    if (i == end || s[i] < '0' || s[i] > '9') return false;
    Int64 e = 0;
    for (; i < end && s[i] >= '0' && s[i] <= '9'; ++i)
      if (e < 100000000) e = e * 10 + (s[i] - '0');
    n.Exponent += negExp ? -e : e;
  }
  if (i != end) return false;
  if (n.Digits.empty()) n.Exponent = 0;
  return true;
}

bool ScannedToDouble(const ScannedNumber& n, double& value) {
  if (n.Digits.empty()) {
    value = n.Negative ? -0.0 : 0.0;
    return true;
  }
  // Digits beyond the 800th cannot change a double.
  std::string digits = n.Digits.substr(0, 800);
  Int64 exponent = n.Exponent + static_cast<Int64>(n.Digits.size() - digits.size());
  Int64 magnitude = exponent + static_cast<Int64>(digits.size());  // decimal point position
  if (magnitude > 400) return false;
  if (magnitude < -400) {
    value = n.Negative ? -0.0 : 0.0;
    return true;
  }
  std::string text = digits + "e" + std::to_string(exponent);
  double v = 0;
  auto result = std::from_chars(text.data(), text.data() + text.size(), v);
  if (result.ec == std::errc::result_out_of_range) {
    if (magnitude > 0) return false;
    v = 0;
  } else if (result.ec != std::errc() || std::isinf(v)) {
    return false;
  }
  value = n.Negative ? -v : v;
  return true;
}

// Exact decimal to Currency, halves away from zero.
bool ScannedToCurrency(const ScannedNumber& n, Currency& value) {
  if (n.Digits.empty()) {
    value = Currency{};
    return true;
  }
  Int64 shift = n.Exponent + 4;  // power of ten to apply to the digits
  Int64 intLength = static_cast<Int64>(n.Digits.size()) + shift;
  if (intLength > 19) return false;
  unsigned __int128 acc = 0;
  for (Int64 i = 0; i < intLength; ++i)
    acc = acc * 10 + static_cast<unsigned>(i < static_cast<Int64>(n.Digits.size()) ? n.Digits[static_cast<size_t>(i)] - '0' : 0);
  if (intLength >= 0 && intLength < static_cast<Int64>(n.Digits.size()) && n.Digits[static_cast<size_t>(intLength)] >= '5')
    acc++;
  unsigned __int128 limit = n.Negative ? static_cast<unsigned __int128>(INT64_MAX) + 1 : INT64_MAX;
  if (acc > limit) return false;
  value.Value = n.Negative ? static_cast<Int64>(0 - static_cast<UInt64>(acc)) : static_cast<Int64>(acc);
  return true;
}

[[noreturn]] void RaiseInvalidFloat(std::string_view s) {
  throw EConvertError("'" + std::string(s) + "' is not a valid floating point value");
}

// ---------------------------------------------------------------------------
// Format.

[[noreturn]] void RaiseFormatError(std::string_view format) {
  throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

bool IsIntegerKind(const TVarRec& a) {
  return a.VType == TVarRec::Kind::Integer || a.VType == TVarRec::Kind::Int64 ||
         a.VType == TVarRec::Kind::UInt64;
}

std::string UnsignedText(UInt64 v, int base) {
  char buf[32];
  auto result = std::to_chars(buf, buf + sizeof buf, v, base);
  std::string s(buf, result.ptr);
  if (base == 16)
    for (char& c : s) c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 32 : c);
  return s;
}

std::string ZeroPadded(std::string digits, int minDigits) {
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, static_cast<size_t>(minDigits) - digits.size(), '0');
  return digits;
}

}  // namespace

// ---------------------------------------------------------------------------

std::string FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits,
                        const TFormatSettings& settings) {
  if (!std::isfinite(value)) return SpecialValueText(value);
  precision = std::clamp(precision, 1, kMaxDoubleDigits);
  return DecimalToText(DecimalOfDouble(value), format, precision, digits, settings);
}

std::string FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits) {
  return FloatToStrF(value, format, precision, digits, DefaultFormatSettings());
}

std::string FloatToStr(Extended value, const TFormatSettings& settings) {
  return FloatToStrF(value, ffGeneral, kMaxDoubleDigits, 0, settings);
}

std::string FloatToStr(Extended value) { return FloatToStr(value, DefaultFormatSettings()); }

std::string FormatFloat(std::string_view format, Extended value, const TFormatSettings& settings) {
  if (!std::isfinite(value)) return SpecialValueText(value);
  return FormatDecimal(format, DecimalOfDouble(value), settings);
}

std::string FormatFloat(std::string_view format, Extended value) {
  return FormatFloat(format, value, DefaultFormatSettings());
}

std::string FormatCurr(std::string_view format, Currency value, const TFormatSettings& settings) {
  return FormatDecimal(format, DecimalOfCurrency(value), settings);
}

std::string FormatCurr(std::string_view format, Currency value) {
  return FormatCurr(format, value, DefaultFormatSettings());
}

bool TryStrToFloat(std::string_view s, Extended& value, const TFormatSettings& settings) {
  ScannedNumber n;
  double v = 0;
  if (!ScanNumberText(s, settings.DecimalSeparator, n) || !ScannedToDouble(n, v)) return false;
  value = v;
  return true;
}

bool TryStrToFloat(std::string_view s, Extended& value) {
  return TryStrToFloat(s, value, DefaultFormatSettings());
}

Extended StrToFloat(std::string_view s, const TFormatSettings& settings) {
  Extended v = 0;
  if (!TryStrToFloat(s, v, settings)) RaiseInvalidFloat(s);
  return v;
}

Extended StrToFloat(std::string_view s) { return StrToFloat(s, DefaultFormatSettings()); }

Extended StrToFloatDef(std::string_view s, Extended defaultValue, const TFormatSettings& settings) {
  Extended v = 0;
  return TryStrToFloat(s, v, settings) ? v : defaultValue;
}

Extended StrToFloatDef(std::string_view s, Extended defaultValue) {
  return StrToFloatDef(s, defaultValue, DefaultFormatSettings());
}

bool TryStrToCurr(std::string_view s, Currency& value, const TFormatSettings& settings) {
  ScannedNumber n;
  Currency c;
  if (!ScanNumberText(s, settings.DecimalSeparator, n) || !ScannedToCurrency(n, c)) return false;
  value = c;
  return true;
}

bool TryStrToCurr(std::string_view s, Currency& value) {
  return TryStrToCurr(s, value, DefaultFormatSettings());
}

Currency StrToCurr(std::string_view s, const TFormatSettings& settings) {
  Currency c;
  if (!TryStrToCurr(s, c, settings)) RaiseInvalidFloat(s);
  return c;
}

Currency StrToCurr(std::string_view s) { return StrToCurr(s, DefaultFormatSettings()); }

Currency StrToCurrDef(std::string_view s, Currency defaultValue, const TFormatSettings& settings) {
  Currency c;
  return TryStrToCurr(s, c, settings) ? c : defaultValue;
}

Currency StrToCurrDef(std::string_view s, Currency defaultValue) {
  return StrToCurrDef(s, defaultValue, DefaultFormatSettings());
}

std::string CurrToStrF(Currency value, TFloatFormat format, Integer digits,
                       const TFormatSettings& settings) {
  // A Currency has at most 19 digits, all of them exact.
  return DecimalToText(DecimalOfCurrency(value), format, 19, digits, settings);
}

std::string CurrToStrF(Currency value, TFloatFormat format, Integer digits) {
  return CurrToStrF(value, format, digits, DefaultFormatSettings());
}

std::string CurrToStr(Currency value, const TFormatSettings& settings) {
  return CurrToStrF(value, ffGeneral, 0, settings);
}

std::string CurrToStr(Currency value) { return CurrToStr(value, DefaultFormatSettings()); }

bool TryFloatToCurr(Extended value, Currency& result) {
  if (!std::isfinite(value)) return false;
  DecimalNumber d = DecimalOfDouble(value);
  RoundDigits(d, d.Exponent + 4);
  ScannedNumber n;
  n.Negative = d.Negative;
  n.Digits = d.Digits;
  n.Exponent = d.Exponent - static_cast<Int64>(d.Digits.size());
  return ScannedToCurrency(n, result);
}

Currency FloatToCurr(Extended value) {
  Currency c;
  if (!TryFloatToCurr(value, c))
    throw EConvertError("'" + FloatToStr(value, TFormatSettings::English()) +
                        "' is not a valid currency value");
  return c;
}

Extended CurrToFloat(Currency value) { return value.ToDouble(); }

// ---------------------------------------------------------------------------

std::string Format(std::string_view format, TVarRecs args, const TFormatSettings& settings) {
  const TVarRec* argv = args.begin();
  const size_t argc = args.size();
  size_t next = 0;
  std::string out;

  auto takeArg = [&]() -> const TVarRec& {
    if (next >= argc) RaiseFormatError(format);
    return argv[next++];
  };
  auto readNumber = [&](size_t& i, int& number) -> bool {
    if (i < format.size() && format[i] == '*') {
      const TVarRec& a = takeArg();
      if (!IsIntegerKind(a) || a.VType == TVarRec::Kind::UInt64 || a.VInt64 > kMaxFormatWidth ||
          a.VInt64 < -kMaxFormatWidth)
        RaiseFormatError(format);
      number = static_cast<int>(a.VInt64);
      ++i;
      return true;
    }
    if (i >= format.size() || format[i] < '0' || format[i] > '9') return false;
    Int64 n = 0;
    for (; i < format.size() && format[i] >= '0' && format[i] <= '9'; ++i) {
      n = n * 10 + (format[i] - '0');
      if (n > kMaxFormatWidth) RaiseFormatError(format);
    }
    number = static_cast<int>(n);
    return true;
  };

  for (size_t i = 0; i < format.size();) {
    char c = format[i];
    if (c != '%') {
      size_t j = format.find('%', i);
      if (j == std::string_view::npos) j = format.size();
      out.append(format.substr(i, j - i));
      i = j;
      continue;
    }
    ++i;
    if (i < format.size() && format[i] == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    bool left = false;
    int width = 0;
    int precision = -1;
    int number = 0;
    if (readNumber(i, number)) {
      if (i < format.size() && format[i] == ':') {
        if (number < 0) RaiseFormatError(format);
        next = static_cast<size_t>(number);
        ++i;
        if (i < format.size() && format[i] == '-') {
          left = true;
          ++i;
        }
        if (readNumber(i, number)) width = number;
      } else {
        width = number;
      }
    } else {
      if (i < format.size() && format[i] == '-') {
        left = true;
        ++i;
      }
      if (readNumber(i, number)) width = number;
    }
    if (i < format.size() && format[i] == '.') {
      ++i;
      if (!readNumber(i, precision)) RaiseFormatError(format);
    }
    if (i >= format.size()) RaiseFormatError(format);
    char type = format[i++];
    if (type >= 'A' && type <= 'Z') type = static_cast<char>(type + 32);
    if (width < 0) {
      left = true;
      width = -width;
    }

    const TVarRec& a = takeArg();
    std::string text;
    switch (type) {
      case 'd':
      case 'u': {
        if (!IsIntegerKind(a)) RaiseFormatError(format);
        bool negative = false;
        UInt64 magnitude;
        if (a.VType == TVarRec::Kind::UInt64) {
          magnitude = a.VUInt64;
        } else if (type == 'u') {
          magnitude = a.VType == TVarRec::Kind::Integer ? static_cast<uint32_t>(a.VInt64)
                                                        : static_cast<UInt64>(a.VInt64);
        } else {
          negative = a.VInt64 < 0;
          magnitude = negative ? 0 - static_cast<UInt64>(a.VInt64) : static_cast<UInt64>(a.VInt64);
        }
        text = ZeroPadded(UnsignedText(magnitude, 10), precision);
        if (negative) text.insert(0, 1, '-');
        break;
      }
      case 'x': {
        if (!IsIntegerKind(a)) RaiseFormatError(format);
        UInt64 bits = a.VType == TVarRec::Kind::Integer ? static_cast<uint32_t>(a.VInt64)
                                                        : static_cast<UInt64>(a.VInt64);
        text = ZeroPadded(UnsignedText(bits, 16), precision);
        break;
      }
      case 'p': {
        if (a.VType != TVarRec::Kind::Pointer) RaiseFormatError(format);
        text = ZeroPadded(UnsignedText(reinterpret_cast<uintptr_t>(a.VPointer), 16),
                          static_cast<int>(sizeof(void*) * 2));
        break;
      }
      case 's': {
        if (a.VType == TVarRec::Kind::String) {
          std::string_view v = a.VString;
          if (precision >= 0 && static_cast<size_t>(precision) < v.size()) {
            // Cut at a character boundary so no UTF-8 sequence is split.
            v = v.substr(0, Utf8CharStart(v, static_cast<size_t>(precision)));
          }
          text.assign(v);
        } else if (a.VType == TVarRec::Kind::Char) {
          if (precision != 0) text.assign(1, a.VChar);
        } else {
          RaiseFormatError(format);
        }
        break;
      }
      case 'e':
      case 'f':
      case 'g':
      case 'n':
      case 'm': {
        if (a.VType != TVarRec::Kind::Extended && a.VType != TVarRec::Kind::Currency)
          RaiseFormatError(format);
        bool isCurrency = a.VType == TVarRec::Kind::Currency;
        Currency cur = Currency::FromScaled(a.VCurrency);
        double v = isCurrency ? cur.ToDouble() : a.VExtended;
        switch (type) {
          case 'e':
            text = FloatToStrF(v, ffExponent, precision < 0 ? 15 : precision, 3, settings);
            break;
          case 'g':
            text = FloatToStrF(v, ffGeneral, precision < 0 ? 15 : precision, 3, settings);
            break;
          default: {
            TFloatFormat ff = type == 'f' ? ffFixed : type == 'n' ? ffNumber : ffCurrency;
            int digits = precision >= 0 ? precision : type == 'm' ? settings.CurrencyDecimals : 2;
            text = isCurrency ? CurrToStrF(cur, ff, digits, settings)
                              : FloatToStrF(v, ff, kMaxDoubleDigits, digits, settings);
          }
        }
        break;
      }
      default:
        RaiseFormatError(format);
    }
    if (width > 0 && static_cast<int>(text.size()) < width) {
      size_t pad = static_cast<size_t>(width) - text.size();
      if (left)
        text.append(pad, ' ');
      else
        text.insert(0, pad, ' ');
    }
    out += text;
  }
  return out;
}

std::string Format(std::string_view format, TVarRecs args) {
  return Format(format, args, DefaultFormatSettings());
}
