#include "platform/rtl/SysUtils.h"

#include <clocale>

#include <sys/utsname.h>

#include <langinfo.h>
#include <locale.h>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <limits>

#include "platform/rtl/Utf8.h"

// ---------------------------------------------------------------------------
// Exceptions

VXN_IMPLEMENT_CLASS(Exception, TObject)
VXN_IMPLEMENT_CLASS(EAbort, Exception)
VXN_IMPLEMENT_CLASS(EConvertError, Exception)
VXN_IMPLEMENT_CLASS(EHeapException, Exception)
VXN_IMPLEMENT_CLASS(EOutOfMemory, EHeapException)
VXN_IMPLEMENT_CLASS(EOutOfResources, EOutOfMemory)
VXN_IMPLEMENT_CLASS(EInvalidPointer, EHeapException)
VXN_IMPLEMENT_CLASS(EExternal, Exception)
VXN_IMPLEMENT_CLASS(EIntError, EExternal)
VXN_IMPLEMENT_CLASS(EDivByZero, EIntError)
VXN_IMPLEMENT_CLASS(ERangeError, EIntError)
VXN_IMPLEMENT_CLASS(EIntOverflow, EIntError)
VXN_IMPLEMENT_CLASS(EMathError, EExternal)
VXN_IMPLEMENT_CLASS(EInvalidOp, EMathError)
VXN_IMPLEMENT_CLASS(EZeroDivide, EMathError)
VXN_IMPLEMENT_CLASS(EOverflow, EMathError)
VXN_IMPLEMENT_CLASS(EUnderflow, EMathError)
VXN_IMPLEMENT_CLASS(EInvalidCast, Exception)
VXN_IMPLEMENT_CLASS(EAbstractError, Exception)
VXN_IMPLEMENT_CLASS(ENotImplemented, Exception)
VXN_IMPLEMENT_CLASS(EInvalidOperation, Exception)
VXN_IMPLEMENT_CLASS(EListError, Exception)
VXN_IMPLEMENT_CLASS(EStringListError, Exception)
VXN_IMPLEMENT_CLASS(EStreamError, Exception)
VXN_IMPLEMENT_CLASS(EFileStreamError, EStreamError)
VXN_IMPLEMENT_CLASS(EFOpenError, EFileStreamError)
VXN_IMPLEMENT_CLASS(EFCreateError, EFileStreamError)
VXN_IMPLEMENT_CLASS(EFilerError, EStreamError)
VXN_IMPLEMENT_CLASS(EReadError, EFilerError)
VXN_IMPLEMENT_CLASS(EWriteError, EFilerError)
VXN_IMPLEMENT_CLASS(EInOutError, Exception)
VXN_IMPLEMENT_CLASS(EOSError, Exception)

Exception::Exception(std::string_view format, TVarRecs args) : Message(Format(format, args)) {}

Exception::Exception(std::string_view format, TVarRecs args, Integer helpContext)
    : Message(Format(format, args)), HelpContext(helpContext) {}

void Abort() {
  throw EAbort(SOperationAborted);
}

std::string SysErrorMessage(int errorCode) {
  char buffer[256];
  // The GNU strerror_r may return a static text instead of filling the buffer.
  const char* text = strerror_r(errorCode, buffer, sizeof buffer);
  return text ? text : "";
}

void RaiseOSError(std::string_view callName, int errorCode) {
  std::string message;
  if (errorCode == 0) {
    message = std::string(callName) + ": " + SUnkOSError;
  } else {
    message = std::string(callName) + " failed: " + SysErrorMessage(errorCode) + " (errno " +
              std::to_string(errorCode) + ")";
  }
  throw EOSError(errorCode, std::string(callName), std::move(message));
}

// ---------------------------------------------------------------------------
// Strings

std::string Copy(std::string_view s, Integer index, Integer count) {
  if (index < 1) index = 1;
  if (count <= 0 || index > Length(s)) return {};
  size_t start = static_cast<size_t>(index - 1);
  return std::string(s.substr(start, static_cast<size_t>(count)));
}

Integer Pos(std::string_view substr, std::string_view s) {
  if (substr.empty()) return 0;
  size_t at = s.find(substr);
  return at == std::string_view::npos ? 0 : static_cast<Integer>(at + 1);
}

Integer Pos(char c, std::string_view s) {
  size_t at = s.find(c);
  return at == std::string_view::npos ? 0 : static_cast<Integer>(at + 1);
}

void Delete(std::string& s, Integer index, Integer count) {
  if (index < 1 || index > Length(s) || count <= 0) return;
  s.erase(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

void Insert(std::string_view source, std::string& s, Integer index) {
  if (index < 1) index = 1;
  if (index > Length(s)) index = Length(s) + 1;
  s.insert(static_cast<size_t>(index - 1), source);
}

namespace {

bool IsBlankByte(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}
char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// The case mapping of the process locale when it is a UTF-8 one; a program
// left in the "C" locale would otherwise fold ASCII letters only.
locale_t CaseLocale() {
  static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  locale_t current = uselocale(nullptr);
  if (current == LC_GLOBAL_LOCALE) current = nullptr;
  const char* codeset = current ? nl_langinfo_l(CODESET, current) : nl_langinfo(CODESET);
  if (std::strcmp(codeset, "UTF-8") == 0 || !utf8) return current ? current : LC_GLOBAL_LOCALE;
  return utf8;
}

wint_t UpperChar(wint_t c, locale_t locale) {
  return locale == LC_GLOBAL_LOCALE ? std::towupper(c) : towupper_l(c, locale);
}

wint_t LowerChar(wint_t c, locale_t locale) {
  return locale == LC_GLOBAL_LOCALE ? std::towlower(c) : towlower_l(c, locale);
}

bool IsUtf8Sequence(std::string_view s, size_t pos, size_t length) {
  return length > 1 || static_cast<unsigned char>(s[pos]) < 0x80;
}

// Maps every valid character through the locale's case mapping; invalid
// bytes stay as they are.
template <typename Map>
std::string MapCase(std::string_view s, Map map) {
  std::string out;
  out.reserve(s.size());
  size_t pos = 0;
  while (pos < s.size()) {
    size_t length = Utf8CharLength(s, pos);
    if (!IsUtf8Sequence(s, pos, length)) {
      out += s[pos++];
      continue;
    }
    size_t next = pos;
    char32_t c = Utf8Decode(s, next);
    out += Utf8Encode(static_cast<char32_t>(map(static_cast<wint_t>(c))));
    pos = next;
  }
  return out;
}

// Wide text for the collation functions; an invalid byte keeps its own place
// in the low-surrogate range so that broken text still sorts stably.
std::wstring WideForCollation(std::string_view s, bool fold) {
  const locale_t locale = fold ? CaseLocale() : LC_GLOBAL_LOCALE;
  std::wstring out;
  size_t pos = 0;
  while (pos < s.size()) {
    size_t length = Utf8CharLength(s, pos);
    if (!IsUtf8Sequence(s, pos, length)) {
      out += static_cast<wchar_t>(0xDC00 + static_cast<unsigned char>(s[pos++]));
      continue;
    }
    char32_t c = Utf8Decode(s, pos);
    if (fold) c = static_cast<char32_t>(LowerChar(static_cast<wint_t>(c), locale));
    out += static_cast<wchar_t>(c);
  }
  return out;
}

// wcscoll stops at a null character, so text with embedded nulls is compared
// piece by piece.
Integer CollateWide(const std::wstring& a, const std::wstring& b) {
  size_t ia = 0, ib = 0;
  for (;;) {
    size_t ea = a.find(L'\0', ia), eb = b.find(L'\0', ib);
    std::wstring pa = a.substr(ia, ea == std::wstring::npos ? std::wstring::npos : ea - ia);
    std::wstring pb = b.substr(ib, eb == std::wstring::npos ? std::wstring::npos : eb - ib);
    int r = std::wcscoll(pa.c_str(), pb.c_str());
    if (r != 0) return r < 0 ? -1 : 1;
    bool moreA = ea != std::wstring::npos, moreB = eb != std::wstring::npos;
    if (!moreA || !moreB) return moreA == moreB ? 0 : (moreA ? 1 : -1);
    ia = ea + 1;
    ib = eb + 1;
  }
}

Integer CompareBytes(std::string_view a, std::string_view b, bool foldAscii) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int ca = static_cast<unsigned char>(foldAscii ? AsciiUpper(a[i]) : a[i]);
    int cb = static_cast<unsigned char>(foldAscii ? AsciiUpper(b[i]) : b[i]);
    if (ca != cb) return ca - cb;
  }
  return static_cast<Integer>(a.size()) - static_cast<Integer>(b.size());
}

// Length in s of a case-insensitive match of pattern at pos, or npos.
size_t MatchIgnoringCase(std::string_view s, size_t pos, std::string_view pattern,
                         locale_t locale) {
  size_t ps = pos, pp = 0;
  while (pp < pattern.size()) {
    if (ps >= s.size()) return std::string_view::npos;
    size_t ls = Utf8CharLength(s, ps), lp = Utf8CharLength(pattern, pp);
    bool validS = IsUtf8Sequence(s, ps, ls), validP = IsUtf8Sequence(pattern, pp, lp);
    if (validS != validP) return std::string_view::npos;
    if (!validS) {
      if (s[ps] != pattern[pp]) return std::string_view::npos;
      ++ps;
      ++pp;
      continue;
    }
    char32_t cs = Utf8Decode(s, ps), cp = Utf8Decode(pattern, pp);
    if (cs != cp &&
        UpperChar(static_cast<wint_t>(cs), locale) != UpperChar(static_cast<wint_t>(cp), locale))
      return std::string_view::npos;
  }
  return ps - pos;
}

}  // namespace

std::string TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlankByte(s[i])) ++i;
  return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && IsBlankByte(s[n - 1])) --n;
  return std::string(s.substr(0, n));
}

std::string Trim(std::string_view s) {
  size_t i = 0, n = s.size();
  while (i < n && IsBlankByte(s[i])) ++i;
  while (n > i && IsBlankByte(s[n - 1])) --n;
  return std::string(s.substr(i, n - i));
}

std::string UpperCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

std::string LowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

std::string AnsiUpperCase(std::string_view s) {
  const locale_t locale = CaseLocale();
  return MapCase(s, [locale](wint_t c) { return UpperChar(c, locale); });
}

std::string AnsiLowerCase(std::string_view s) {
  const locale_t locale = CaseLocale();
  return MapCase(s, [locale](wint_t c) { return LowerChar(c, locale); });
}

void UseUserTextLocale() {
  std::setlocale(LC_COLLATE, "");
  std::setlocale(LC_CTYPE, "");
}

Integer AnsiCompareStr(std::string_view a, std::string_view b) {
  return CollateWide(WideForCollation(a, false), WideForCollation(b, false));
}

Integer AnsiCompareText(std::string_view a, std::string_view b) {
  return CollateWide(WideForCollation(a, true), WideForCollation(b, true));
}

bool AnsiSameText(std::string_view a, std::string_view b) {
  return AnsiCompareText(a, b) == 0;
}
bool AnsiSameStr(std::string_view a, std::string_view b) {
  return AnsiCompareStr(a, b) == 0;
}

Integer CompareText(std::string_view a, std::string_view b) {
  return CompareBytes(a, b, true);
}
bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareBytes(a, b, true) == 0;
}
Integer CompareStr(std::string_view a, std::string_view b) {
  return CompareBytes(a, b, false);
}

std::string StringReplace(std::string_view s, std::string_view oldPattern,
                          std::string_view newPattern, TReplaceFlags flags) {
  if (oldPattern.empty()) return std::string(s);
  const bool all = flags.Contains(rfReplaceAll);
  const bool ignoreCase = flags.Contains(rfIgnoreCase);
  const locale_t locale = ignoreCase ? CaseLocale() : LC_GLOBAL_LOCALE;
  std::string out;
  size_t pos = 0;
  while (pos < s.size()) {
    size_t matched = std::string_view::npos;
    if (ignoreCase) {
      matched = MatchIgnoringCase(s, pos, oldPattern, locale);
    } else if (s.compare(pos, oldPattern.size(), oldPattern) == 0) {
      matched = oldPattern.size();
    }
    if (matched != std::string_view::npos) {
      out += newPattern;
      pos += matched;
      if (!all) break;
      continue;
    }
    // Step over whole characters so that a match never starts inside one.
    size_t next = ignoreCase ? Utf8NextCharPos(s, pos) : pos + 1;
    out.append(s.substr(pos, next - pos));
    pos = next;
  }
  out.append(s.substr(std::min(pos, s.size())));
  return out;
}

std::string StringOfChar(char c, Integer count) {
  return count > 0 ? std::string(static_cast<size_t>(count), c) : std::string();
}

std::string QuotedStr(std::string_view s) {
  return AnsiQuotedStr(s, '\'');
}

std::string AnsiQuotedStr(std::string_view s, char quote) {
  std::string out;
  out.reserve(s.size() + 2);
  out += quote;
  for (char c : s) {
    out += c;
    if (c == quote) out += quote;
  }
  out += quote;
  return out;
}

std::string AnsiDequotedStr(std::string_view s, char quote) {
  if (s.empty() || s[0] != quote) return std::string(s);
  std::string out;
  size_t i = 1;
  while (i < s.size()) {
    if (s[i] == quote) {
      if (i + 1 < s.size() && s[i + 1] == quote) {
        out += quote;
        i += 2;
        continue;
      }
      return out;
    }
    out += s[i++];
  }
  return std::string(s);  // no closing quote
}

bool IsValidIdent(std::string_view s) {
  if (s.empty()) return false;
  auto isAlpha = [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
  };
  if (!isAlpha(s[0])) return false;
  return std::all_of(s.begin() + 1, s.end(),
                     [&](char c) { return isAlpha(c) || (c >= '0' && c <= '9'); });
}

// ---------------------------------------------------------------------------
// Integer conversions

std::string IntToStr(Int64 value) {
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string IntToHex(UInt64 value, Integer digits, int bits) {
  if (bits < 64) value &= (UInt64{1} << bits) - 1;
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  do {
    out += kHex[value & 15];
    value >>= 4;
  } while (value != 0);
  while (Length(out) < digits) out += '0';
  std::reverse(out.begin(), out.end());
  return out;
}

namespace {

// Parses an integer of `bits` bits; returns 0 or the 1-based error position.
Integer ParseInteger(std::string_view s, int bits, Int64& value) {
  value = 0;
  size_t i = 0, n = s.size();
  while (i < n && s[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  bool hex = false;
  if (i < n && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= n) return static_cast<Integer>(i + 1);
  const UInt64 signedMax = (UInt64{1} << (bits - 1)) - 1;
  const UInt64 limit = hex ? (bits == 64 ? ~UInt64{0} : (UInt64{1} << bits) - 1)
                           : (negative ? signedMax + 1 : signedMax);
  const UInt64 base = hex ? 16 : 10;
  UInt64 magnitude = 0;
  for (; i < n; ++i) {
    char c = s[i];
    UInt64 digit;
    if (c >= '0' && c <= '9')
      digit = static_cast<UInt64>(c - '0');
    else if (hex && c >= 'a' && c <= 'f')
      digit = static_cast<UInt64>(c - 'a' + 10);
    else if (hex && c >= 'A' && c <= 'F')
      digit = static_cast<UInt64>(c - 'A' + 10);
    else
      return static_cast<Integer>(i + 1);
    if (magnitude > (limit - digit) / base) return static_cast<Integer>(i + 1);
    magnitude = magnitude * base + digit;
  }
  // Hexadecimal wraps into the signed range of the type.
  if (bits < 64 && hex && magnitude > signedMax) magnitude |= ~((UInt64{1} << bits) - 1);
  UInt64 bitsValue = negative ? (~magnitude + 1) : magnitude;
  value = static_cast<Int64>(bitsValue);
  if (bits < 64) value = static_cast<int32_t>(static_cast<uint32_t>(bitsValue));
  return 0;
}

[[noreturn]] void RaiseInvalidInteger(std::string_view s) {
  throw EConvertError(SInvalidInteger, {s});
}

}  // namespace

void Val(std::string_view s, Integer& value, Integer& code) {
  Int64 v;
  code = ParseInteger(s, 32, v);
  value = code == 0 ? static_cast<Integer>(v) : 0;
}

void Val(std::string_view s, Int64& value, Integer& code) {
  code = ParseInteger(s, 64, value);
  if (code != 0) value = 0;
}

void Val(std::string_view s, Double& value, Integer& code) {
  value = 0;
  size_t i = 0, n = s.size();
  while (i < n && s[i] == ' ') ++i;
  std::string number;
  if (i < n && (s[i] == '-' || s[i] == '+')) {
    if (s[i] == '-') number += '-';
    ++i;
  }
  auto isDigit = [&](size_t k) { return k < n && s[k] >= '0' && s[k] <= '9'; };
  bool digits = false;
  while (isDigit(i)) {
    number += s[i++];
    digits = true;
  }
  if (i < n && s[i] == '.') {
    number += s[i++];
    while (isDigit(i)) {
      number += s[i++];
      digits = true;
    }
  }
  if (!digits) {
    code = static_cast<Integer>(i + 1);
    return;
  }
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    number += 'e';
    ++i;
    if (i < n && (s[i] == '-' || s[i] == '+')) number += s[i++];
    if (!isDigit(i)) {
      code = static_cast<Integer>(i + 1);
      return;
    }
    while (isDigit(i)) number += s[i++];
  }
  if (i < n) {
    code = static_cast<Integer>(i + 1);
    return;
  }
  // The text is checked above; strtod in the "C" locale only converts it.
  static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  errno = 0;
  double d = strtod_l(number.c_str(), nullptr, cLocale);
  if (errno == ERANGE && std::isinf(d)) {
    code = static_cast<Integer>(n + 1);
    return;
  }
  value = d;
  code = 0;
}

bool TryStrToInt(std::string_view s, Integer& value) {
  Integer code;
  Val(s, value, code);
  return code == 0;
}

bool TryStrToInt64(std::string_view s, Int64& value) {
  Integer code;
  Val(s, value, code);
  return code == 0;
}

Integer StrToInt(std::string_view s) {
  Integer value;
  if (!TryStrToInt(s, value)) RaiseInvalidInteger(s);
  return value;
}

Integer StrToIntDef(std::string_view s, Integer defaultValue) {
  Integer value;
  return TryStrToInt(s, value) ? value : defaultValue;
}

Int64 StrToInt64(std::string_view s) {
  Int64 value;
  if (!TryStrToInt64(s, value)) RaiseInvalidInteger(s);
  return value;
}

// ---------------------------------------------------------------------------
// Rounding

namespace {

Int64 ToInt64Checked(double x) {
  // 2^63 is exactly representable; everything from there on does not fit.
  constexpr double kLimit = 9223372036854775808.0;
  if (!(x >= -kLimit && x < kLimit)) throw EInvalidOp(SInvalidOp);
  return static_cast<Int64>(x);
}

}  // namespace

Int64 Round(Extended x) {
  // nearbyint in the default rounding mode takes halves to the even neighbour.
  return ToInt64Checked(std::nearbyint(x));
}

Int64 Trunc(Extended x) {
  return ToInt64Checked(std::trunc(x));
}

Extended Frac(Extended x) {
  return x - std::trunc(x);
}

Extended Int(Extended x) {
  return std::trunc(x);
}

Integer MulDiv(Integer a, Integer b, Integer c) {
  if (c == 0) return -1;
  Int64 product = static_cast<Int64>(a) * b;
  bool negative = (product < 0) != (c < 0);
  UInt64 p = product < 0 ? static_cast<UInt64>(-product) : static_cast<UInt64>(product);
  UInt64 d = c < 0 ? static_cast<UInt64>(-static_cast<Int64>(c)) : static_cast<UInt64>(c);
  // p < 2^62 and d <= 2^31, so the doubled sum cannot overflow.
  UInt64 q = (2 * p + d) / (2 * d);
  if (q > static_cast<UInt64>(std::numeric_limits<Integer>::max())) return -1;
  return negative ? -static_cast<Integer>(q) : static_cast<Integer>(q);
}

// ---------------------------------------------------------------------------
// Platform identity

std::string SystemDescription() {
  struct utsname name;
  if (uname(&name) != 0) return "Linux";
  return std::string("Linux ") + name.release + " " + name.machine;
}
