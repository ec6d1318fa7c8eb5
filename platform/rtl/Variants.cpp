#include "platform/rtl/Variants.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <ostream>
#include <vector>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FMTBcd.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/SqlTimSt.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"

VXN_IMPLEMENT_CLASS(EVariantError, Exception)
VXN_IMPLEMENT_CLASS(EVariantTypeCastError, EVariantError)
VXN_IMPLEMENT_CLASS(EVariantOverflowError, EVariantError)
VXN_IMPLEMENT_CLASS(EVariantInvalidOpError, EVariantError)
VXN_IMPLEMENT_CLASS(EVariantInvalidArgError, EVariantError)
VXN_IMPLEMENT_CLASS(EVariantBadIndexError, EVariantError)
VXN_IMPLEMENT_CLASS(EVariantArrayCreateError, EVariantError)

namespace variant_detail {

struct StringBox : Box {
  std::string Text;
};

struct WideBox : Box {
  std::u16string Text;
};

struct BcdBox : Box {
  TBcd Value;
};

struct StampBox : Box {
  TSQLTimeStamp Value;
};

constexpr int MaxArrayDims = 3;

// Elements are stored with the first dimension varying fastest, so the last
// dimension can grow or shrink without moving any element.
struct ArrayBox : Box {
  TVarType ElementType = varVariant;
  int DimCount = 0;
  Integer Low[MaxArrayDims] = {};
  Integer Count[MaxArrayDims] = {};
  std::vector<Variant> Items;
};

}  // namespace variant_detail

using namespace variant_detail;

// The representation, for this module only.
struct VariantAccess {
  static Variant Int(TVarType type, int64_t value) {
    Variant v;
    v.FType = type;
    v.FInt = value;
    return v;
  }
  static Variant Real(TVarType type, double value) {
    Variant v;
    v.FType = type;
    v.FDouble = value;
    return v;
  }
  static Variant Boxed(TVarType type, Box* box) {
    Variant v;
    v.FType = type;
    v.FBoxed = true;
    v.FBox = box;
    return v;
  }
  static int64_t IntOf(const Variant& v) { return v.FInt; }
  static double RealOf(const Variant& v) { return v.FDouble; }
  static Box* BoxOf(const Variant& v) { return v.FBox; }
  static bool IsShared(const Variant& v) { return v.FBox->Refs.load(std::memory_order_acquire) != 1; }
};

using VA = VariantAccess;

namespace {

// ---------------------------------------------------------------------------
// Payload access.

const std::string& Str(const Variant& v) { return static_cast<StringBox*>(VA::BoxOf(v))->Text; }
const std::u16string& WStr(const Variant& v) { return static_cast<WideBox*>(VA::BoxOf(v))->Text; }
const TBcd& Bcd(const Variant& v) { return static_cast<BcdBox*>(VA::BoxOf(v))->Value; }
const TSQLTimeStamp& Stamp(const Variant& v) { return static_cast<StampBox*>(VA::BoxOf(v))->Value; }
ArrayBox* Arr(const Variant& v) { return static_cast<ArrayBox*>(VA::BoxOf(v)); }

Variant MakeString(std::string text) {
  auto* box = new StringBox;
  box->Text = std::move(text);
  return VA::Boxed(varString, box);
}

Variant MakeWide(std::u16string text) {
  auto* box = new WideBox;
  box->Text = std::move(text);
  return VA::Boxed(varOleStr, box);
}

Variant MakeBcd(const TBcd& value) {
  auto* box = new BcdBox;
  box->Value = value;
  return VA::Boxed(varFMTBcd, box);
}

Variant MakeStamp(const TSQLTimeStamp& value) {
  auto* box = new StampBox;
  box->Value = value;
  return VA::Boxed(varSQLTimeStamp, box);
}

bool IsStrType(TVarType t) { return t == varString || t == varOleStr; }
bool IsDateType(TVarType t) { return t == varDate || t == varSQLTimeStamp; }

// The integer kinds keep their value alike, so conversions test for them
// ahead of their switch over the other kinds.
bool IsIntType(TVarType t) {
  switch (t) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
      return true;
    default:
      return false;
  }
}

// The text of a String or OleStr Variant.
std::string TextOf(const Variant& v) {
  return v.VType() == varString ? Str(v) : Utf16ToUtf8(WStr(v));
}

// ---------------------------------------------------------------------------
// Errors.

[[noreturn]] void CastError(TVarType from, TVarType to) {
  throw EVariantTypeCastError(Format("Could not convert variant of type (%s) into type (%s)",
                                     {VarTypeAsText(from), VarTypeAsText(to)}));
}

[[noreturn]] void OverflowError(TVarType from, TVarType to) {
  throw EVariantOverflowError(Format("Overflow while converting variant of type (%s) into type (%s)",
                                     {VarTypeAsText(from), VarTypeAsText(to)}));
}

[[noreturn]] void OperationOverflow() {
  throw EVariantOverflowError("Overflow in variant operation");
}

[[noreturn]] void InvalidOp() { throw EVariantInvalidOpError("Invalid variant operation"); }

// ---------------------------------------------------------------------------
// Conversions.

bool IsBooleanText(std::string_view text, bool& value) {
  std::string t = Trim(text);
  if (SameText(t, "True")) {
    value = true;
    return true;
  }
  if (SameText(t, "False")) {
    value = false;
    return true;
  }
  return false;
}

// Integer text first, float text second.
bool ParseNumberText(std::string_view text, const TFormatSettings& fs, bool& isInt, Int64& i,
                     double& d) {
  std::string t = Trim(text);
  if (TryStrToInt64(t, i)) {
    isInt = true;
    return true;
  }
  if (TryStrToFloat(t, d, fs)) {
    isInt = false;
    return true;
  }
  return false;
}

// Rounds halves to even; false when the result does not fit an Int64.
bool RoundToInt64(double d, Int64& result) {
  if (!std::isfinite(d)) return false;
  double r = std::nearbyint(d);
  if (r < -9223372036854775808.0 || r >= 9223372036854775808.0) return false;
  result = static_cast<Int64>(r);
  return true;
}

// A Currency's scaled value to whole units, halves to even.
Int64 CurrencyToInt64(int64_t scaled) {
  int64_t q = scaled / Currency::Scale, r = scaled % Currency::Scale;
  int64_t ar = r < 0 ? -r : r;
  if (ar > Currency::Scale / 2 || (ar == Currency::Scale / 2 && (q % 2 != 0))) q += r < 0 ? -1 : 1;
  return q;
}

double StampToDateTime(const Variant& v, TVarType target) {
  TDateTime value;
  if (!TrySQLTimeStampToDateTime(Stamp(v), value)) CastError(varSQLTimeStamp, target);
  return value;
}

Int64 ToInt64(const Variant& v, TVarType target) {
  TVarType t = v.VType();
  if (IsIntType(t)) return VA::IntOf(v);
  Int64 result = 0;
  switch (t) {
    case varEmpty:
      return 0;
    case varBoolean:
      return VA::IntOf(v) ? -1 : 0;
    case varCurrency:
      return CurrencyToInt64(VA::IntOf(v));
    case varSingle:
    case varDouble:
    case varDate:
      if (!RoundToInt64(VA::RealOf(v), result)) OverflowError(t, target);
      return result;
    case varSQLTimeStamp:
      if (!RoundToInt64(StampToDateTime(v, target), result)) OverflowError(t, target);
      return result;
    case varFMTBcd:
      if (!TryBcdToInt64(Bcd(v), result)) OverflowError(t, target);
      return result;
    case varString:
    case varOleStr: {
      bool isInt;
      double d;
      if (!ParseNumberText(TextOf(v), DefaultFormatSettings(), isInt, result, d)) CastError(t, target);
      if (!isInt && !RoundToInt64(d, result)) OverflowError(t, target);
      return result;
    }
    default:
      CastError(t, target);
  }
}

double ToDouble(const Variant& v, TVarType target) {
  TVarType t = v.VType();
  if (IsIntType(t)) return static_cast<double>(VA::IntOf(v));
  switch (t) {
    case varEmpty:
      return 0;
    case varBoolean:
      return VA::IntOf(v) ? -1 : 0;
    case varCurrency:
      return static_cast<double>(VA::IntOf(v)) / Currency::Scale;
    case varSingle:
    case varDouble:
    case varDate:
      return VA::RealOf(v);
    case varSQLTimeStamp:
      return StampToDateTime(v, target);
    case varFMTBcd:
      return BcdToDouble(Bcd(v));
    case varString:
    case varOleStr: {
      bool isInt;
      Int64 i;
      double d;
      if (!ParseNumberText(TextOf(v), DefaultFormatSettings(), isInt, i, d)) CastError(t, target);
      return isInt ? static_cast<double>(i) : d;
    }
    default:
      CastError(t, target);
  }
}

constexpr int64_t MaxCurrencyUnits = std::numeric_limits<int64_t>::max() / Currency::Scale;

int64_t WholeUnitsToCurrency(int64_t units, TVarType from) {
  if (units > MaxCurrencyUnits || units < -MaxCurrencyUnits) OverflowError(from, varCurrency);
  return units * Currency::Scale;
}

int64_t ToCurrencyScaled(const Variant& v) {
  TVarType t = v.VType();
  if (IsIntType(t)) return WholeUnitsToCurrency(VA::IntOf(v), t);
  switch (t) {
    case varEmpty:
      return 0;
    case varBoolean:
      return VA::IntOf(v) ? -Currency::Scale : 0;
    case varCurrency:
      return VA::IntOf(v);
    case varFMTBcd: {
      Currency c;
      if (!BcdToCurr(Bcd(v), c)) OverflowError(t, varCurrency);
      return c.Value;
    }
    case varString:
    case varOleStr: {
      Currency c;
      std::string text = Trim(TextOf(v));
      if (TryStrToCurr(text, c, DefaultFormatSettings())) return c.Value;
      bool isInt;
      Int64 i;
      double d;
      if (!ParseNumberText(text, DefaultFormatSettings(), isInt, i, d)) CastError(t, varCurrency);
      if (isInt) return WholeUnitsToCurrency(i, t);
      if (!TryFloatToCurr(d, c)) OverflowError(t, varCurrency);
      return c.Value;
    }
    default: {
      double d = ToDouble(v, varCurrency);
      Currency c;
      if (!TryFloatToCurr(d, c)) OverflowError(t, varCurrency);
      return c.Value;
    }
  }
}

bool ToBoolean(const Variant& v) {
  TVarType t = v.VType();
  if (IsIntType(t)) return VA::IntOf(v) != 0;
  switch (t) {
    case varEmpty:
      return false;
    case varBoolean:
    case varCurrency:
      return VA::IntOf(v) != 0;
    case varSingle:
    case varDouble:
    case varDate:
      return VA::RealOf(v) != 0;
    case varSQLTimeStamp:
      return StampToDateTime(v, varBoolean) != 0;
    case varFMTBcd:
      return !BcdIsZero(Bcd(v));
    case varString:
    case varOleStr: {
      std::string text = TextOf(v);
      bool b;
      if (IsBooleanText(text, b)) return b;
      bool isInt;
      Int64 i;
      double d;
      if (!ParseNumberText(text, DefaultFormatSettings(), isInt, i, d)) CastError(t, varBoolean);
      return isInt ? i != 0 : d != 0;
    }
    default:
      CastError(t, varBoolean);
  }
}

TDateTime ToDateTime(const Variant& v, TVarType target) {
  TVarType t = v.VType();
  if (t == varSQLTimeStamp) return StampToDateTime(v, target);
  if (IsStrType(t)) {
    std::string text = TextOf(v);
    TDateTime value;
    if (TryTextToDateTime(text, value, DefaultFormatSettings())) return value;
    bool isInt;
    Int64 i;
    double d;
    if (!ParseNumberText(text, DefaultFormatSettings(), isInt, i, d)) CastError(t, target);
    return isInt ? static_cast<double>(i) : d;
  }
  return ToDouble(v, target);
}

// Dates name days of the years 100..9999 only (after rounding to the
// millisecond); outside them there is no text and no time stamp.
bool IsDateInRange(TDateTime value) {
  if (!std::isfinite(value)) return false;
  Word year, month, day;
  DecodeDate(value, year, month, day);
  return year >= MinDateTimeYear;
}

TSQLTimeStamp StampOf(TDateTime value, TVarType from) {
  if (!IsDateInRange(value)) OverflowError(from, varSQLTimeStamp);
  return DateTimeToSQLTimeStamp(value);
}

std::string DateText(TDateTime value, const TFormatSettings& fs) {
  if (!IsDateInRange(value)) CastError(varDate, varString);
  Word hour, minute, second, msec;
  DecodeTime(value, hour, minute, second, msec);
  bool midnight = hour == 0 && minute == 0 && second == 0 && msec == 0;
  if (std::trunc(value) == 0 && !midnight) return TimeToStr(value, fs);
  std::string text = DateToStr(value, fs);
  if (!midnight) {
    text += ' ';
    text += TimeToStr(value, fs);
  }
  return text;
}

std::string ToText(const Variant& v, const TFormatSettings& fs) {
  TVarType t = v.VType();
  if (IsIntType(t)) return IntToStr(VA::IntOf(v));
  switch (t) {
    case varEmpty:
    case varNull:
      return {};
    case varBoolean:
      return VA::IntOf(v) ? "True" : "False";
    case varSingle:
    case varDouble:
      return FloatToStr(VA::RealOf(v), fs);
    case varCurrency:
      return CurrToStr(Currency::FromScaled(VA::IntOf(v)), fs);
    case varDate:
      return DateText(VA::RealOf(v), fs);
    case varSQLTimeStamp:
      return DateText(StampToDateTime(v, varString), fs);
    case varFMTBcd:
      return BcdToStr(Bcd(v), fs);
    case varString:
      return Str(v);
    case varOleStr:
      return Utf16ToUtf8(WStr(v));
    default:
      CastError(t, varString);
  }
}

TBcd ToBcdValue(const Variant& v) {
  TVarType t = v.VType();
  if (t == varEmpty || t == varBoolean || IsIntType(t)) return IntegerToBcd(ToInt64(v, varFMTBcd));
  switch (t) {
    case varFMTBcd:
      return Bcd(v);
    case varCurrency:
      return CurrToBcd(Currency::FromScaled(VA::IntOf(v)));
    case varString:
    case varOleStr: {
      TBcd bcd;
      if (!TryStrToBcd(TextOf(v), bcd, DefaultFormatSettings())) CastError(t, varFMTBcd);
      return bcd;
    }
    case varSingle:
    case varDouble:
    case varDate:
    case varSQLTimeStamp: {
      double d = ToDouble(v, varFMTBcd);
      if (!std::isfinite(d)) OverflowError(t, varFMTBcd);
      return DoubleToBcd(d);
    }
    default:
      CastError(t, varFMTBcd);
  }
}

// Integer kinds narrower than Int64 with their ranges.
bool IntRange(TVarType t, int64_t& low, int64_t& high) {
  switch (t) {
    case varSmallint:
      low = -32768, high = 32767;
      return true;
    case varInteger:
      low = std::numeric_limits<int32_t>::min(), high = std::numeric_limits<int32_t>::max();
      return true;
    case varShortInt:
      low = -128, high = 127;
      return true;
    case varByte:
      low = 0, high = 255;
      return true;
    case varWord:
      low = 0, high = 65535;
      return true;
    case varLongWord:
      low = 0, high = std::numeric_limits<uint32_t>::max();
      return true;
    case varInt64:
      low = std::numeric_limits<int64_t>::min(), high = std::numeric_limits<int64_t>::max();
      return true;
    default:
      return false;
  }
}

// ---------------------------------------------------------------------------
// Arrays.

bool IsArrayElementType(TVarType t) {
  switch (t) {
    case varSmallint:
    case varInteger:
    case varSingle:
    case varDouble:
    case varCurrency:
    case varDate:
    case varOleStr:
    case varBoolean:
    case varVariant:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
    case varString:
    case varFMTBcd:
    case varSQLTimeStamp:
      return true;
    default:
      return false;
  }
}

Variant InitialElement(TVarType elementType) {
  switch (elementType) {
    case varVariant:
      return Variant();
    case varString:
      return MakeString({});
    case varOleStr:
      return MakeWide({});
    case varBoolean:
      return Variant(false);
    default:
      return VarAsType(Variant(0), elementType);
  }
}

ArrayBox* ArrayOf(const Variant& v) {
  if (!VarIsArray(v)) throw EVariantInvalidArgError("Variant is not an array");
  return Arr(v);
}

// The array's box, copied first when another Variant shares it.
ArrayBox* MutableArray(Variant& v) {
  ArrayBox* box = ArrayOf(v);
  if (VA::IsShared(v)) {
    auto* copy = new ArrayBox;
    copy->ElementType = box->ElementType;
    copy->DimCount = box->DimCount;
    std::memcpy(copy->Low, box->Low, sizeof box->Low);
    std::memcpy(copy->Count, box->Count, sizeof box->Count);
    copy->Items = box->Items;
    v = VA::Boxed(v.VType(), copy);
    return copy;
  }
  return box;
}

size_t ElementOffset(const ArrayBox* box, const Integer* indices, int indexCount) {
  if (indexCount != box->DimCount)
    throw EVariantInvalidArgError(Format("Variant array has %d dimensions, not %d",
                                         {box->DimCount, indexCount}));
  size_t offset = 0, stride = 1;
  for (int d = 0; d < box->DimCount; ++d) {
    int64_t i = static_cast<int64_t>(indices[d]) - box->Low[d];
    if (i < 0 || i >= box->Count[d]) throw EVariantBadIndexError("Variant array index out of bounds");
    offset += static_cast<size_t>(i) * stride;
    stride *= static_cast<size_t>(box->Count[d]);
  }
  return offset;
}

ArrayBox* CheckedDim(const Variant& array, Integer dim) {
  ArrayBox* box = ArrayOf(array);
  if (dim < 1 || dim > box->DimCount)
    throw EVariantInvalidArgError(Format("Variant array has no dimension %d", {dim}));
  return box;
}

// ---------------------------------------------------------------------------
// Operands of arithmetic: the numbers they stand for.

enum class NumKind { Int, Curr, Bcd, Float };

struct Num {
  NumKind Kind = NumKind::Int;
  bool Wide = false;  // an Int64 (the result may not shrink to Integer)
  int64_t I = 0;      // Int; Curr scaled by 10000
  double D = 0;
  TBcd B;
};

Num ToNum(const Variant& v) {
  Num n;
  TVarType t = v.VType();
  if (IsIntType(t)) {
    n.I = VA::IntOf(v);
    n.Wide = t == varInt64;
    return n;
  }
  switch (t) {
    case varEmpty:
      return n;
    case varBoolean:
      n.I = VA::IntOf(v) ? -1 : 0;
      return n;
    case varCurrency:
      n.Kind = NumKind::Curr;
      n.I = VA::IntOf(v);
      return n;
    case varSingle:
    case varDouble:
    case varDate:
      n.Kind = NumKind::Float;
      n.D = VA::RealOf(v);
      return n;
    case varSQLTimeStamp:
      n.Kind = NumKind::Float;
      n.D = StampToDateTime(v, varDouble);
      return n;
    case varFMTBcd:
      n.Kind = NumKind::Bcd;
      n.B = Bcd(v);
      return n;
    case varString:
    case varOleStr: {
      bool isInt;
      if (!ParseNumberText(TextOf(v), DefaultFormatSettings(), isInt, n.I, n.D)) CastError(t, varDouble);
      if (isInt) {
        n.Wide = n.I < std::numeric_limits<int32_t>::min() || n.I > std::numeric_limits<int32_t>::max();
      } else {
        n.Kind = NumKind::Float;
      }
      return n;
    }
    default:
      InvalidOp();
  }
}

double AsFloat(const Num& n) {
  switch (n.Kind) {
    case NumKind::Int:
      return static_cast<double>(n.I);
    case NumKind::Curr:
      return static_cast<double>(n.I) / Currency::Scale;
    case NumKind::Bcd:
      return BcdToDouble(n.B);
    case NumKind::Float:
      return n.D;
  }
  return 0;
}

TBcd AsBcd(const Num& n) {
  switch (n.Kind) {
    case NumKind::Int:
      return IntegerToBcd(n.I);
    case NumKind::Curr:
      return CurrToBcd(Currency::FromScaled(n.I));
    case NumKind::Bcd:
      return n.B;
    case NumKind::Float:
      return DoubleToBcd(n.D);
  }
  return TBcd{};
}

int64_t AsScaled(const Num& n) {
  if (n.Kind == NumKind::Curr) return n.I;
  int64_t r;
  if (__builtin_mul_overflow(n.I, Currency::Scale, &r)) OperationOverflow();
  return r;
}

// An integer result: Integer when it fits and no operand was an Int64.
Variant IntResult(int64_t value, bool wide) {
  if (!wide && value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max())
    return VA::Int(varInteger, value);
  return VA::Int(varInt64, value);
}

Variant FloatResult(double value, double a, double b) {
  if (!std::isfinite(value) && std::isfinite(a) && std::isfinite(b)) OperationOverflow();
  return VA::Real(varDouble, value);
}

Variant DateResult(TVarType kind, double value) {
  if (kind == varSQLTimeStamp) return MakeStamp(StampOf(value, varDouble));
  return VA::Real(varDate, value);
}

// Halves to even, for Currency products.
int64_t RoundScaledProduct(__int128 product) {
  __int128 q = product / Currency::Scale, r = product % Currency::Scale;
  __int128 ar = r < 0 ? -r : r;
  if (ar > Currency::Scale / 2 || (ar == Currency::Scale / 2 && (q % 2 != 0))) q += r < 0 ? -1 : 1;
  if (q > std::numeric_limits<int64_t>::max() || q < std::numeric_limits<int64_t>::min())
    OperationOverflow();
  return static_cast<int64_t>(q);
}

enum class Op { Add, Sub, Mul, Div, IntDiv, Mod, And, Or, Xor, Shl, Shr };

template <typename F>
TBcd BcdOp(F f) {
  try {
    return f();
  } catch (const EBcdOverflowException&) {
    OperationOverflow();
  }
}

Variant Arithmetic(Op op, const Variant& a, const Variant& b) {
  TVarType ta = a.VType(), tb = b.VType();
  Num x = ToNum(a), y = ToNum(b);

  // Dates keep their kind through "date +/- number".
  bool da = IsDateType(ta), db = IsDateType(tb);
  if ((da || db) && (op == Op::Add || op == Op::Sub)) {
    double fa = AsFloat(x), fb = AsFloat(y);
    double r = op == Op::Add ? fa + fb : fa - fb;
    if (da && !db) return DateResult(ta, r);
    if (db && !da && op == Op::Add) return DateResult(tb, r);
    return FloatResult(r, fa, fb);
  }

  NumKind kind = std::max(x.Kind, y.Kind);
  if (op == Op::Div) {
    if (kind == NumKind::Bcd) {
      return MakeBcd(BcdOp([&] { return BcdDivide(AsBcd(x), AsBcd(y)); }));
    }
    double fa = AsFloat(x), fb = AsFloat(y);
    if (fb == 0) throw EZeroDivide(SZeroDivide);
    return FloatResult(fa / fb, fa, fb);
  }

  switch (kind) {
    case NumKind::Int: {
      int64_t r;
      bool overflow = false;
      if (op == Op::Add) overflow = __builtin_add_overflow(x.I, y.I, &r);
      else if (op == Op::Sub) overflow = __builtin_sub_overflow(x.I, y.I, &r);
      else overflow = __builtin_mul_overflow(x.I, y.I, &r);
      if (overflow) OperationOverflow();
      return IntResult(r, x.Wide || y.Wide);
    }
    case NumKind::Curr: {
      int64_t r;
      if (op == Op::Mul) {
        // An integer factor multiplies the scaled value as it is, so it is
        // never scaled itself (and cannot overflow on the way).
        if (x.Kind == NumKind::Int || y.Kind == NumKind::Int) {
          int64_t scaled = x.Kind == NumKind::Curr ? x.I : y.I;
          int64_t factor = x.Kind == NumKind::Curr ? y.I : x.I;
          if (__builtin_mul_overflow(scaled, factor, &r)) OperationOverflow();
        } else {
          r = RoundScaledProduct(static_cast<__int128>(x.I) * y.I);
        }
        return VA::Int(varCurrency, r);
      }
      int64_t sa = AsScaled(x), sb = AsScaled(y);
      if (op == Op::Add ? __builtin_add_overflow(sa, sb, &r) : __builtin_sub_overflow(sa, sb, &r))
        OperationOverflow();
      return VA::Int(varCurrency, r);
    }
    case NumKind::Bcd:
      return MakeBcd(BcdOp([&] {
        TBcd p = AsBcd(x), q = AsBcd(y);
        return op == Op::Add ? BcdAdd(p, q) : op == Op::Sub ? BcdSubtract(p, q) : BcdMultiply(p, q);
      }));
    case NumKind::Float: {
      double fa = AsFloat(x), fb = AsFloat(y);
      double r = op == Op::Add ? fa + fb : op == Op::Sub ? fa - fb : fa * fb;
      return FloatResult(r, fa, fb);
    }
  }
  InvalidOp();
}

// A Boolean, or a string that reads as one.
bool LogicalOperand(const Variant& v, bool& value) {
  TVarType t = v.VType();
  if (t == varBoolean) {
    value = VA::IntOf(v) != 0;
    return true;
  }
  if (IsStrType(t)) return IsBooleanText(TextOf(v), value);
  return false;
}

// Operands of div, mod, shifts and bitwise operators: integers; wide when an
// Int64 or a text too large for an Integer.
int64_t IntOperand(const Variant& v, bool& wide) {
  TVarType t = v.VType();
  if (t == varInt64) wide = true;
  Int64 i = ToInt64(v, varInt64);
  if (IsStrType(t) && (i < std::numeric_limits<int32_t>::min() || i > std::numeric_limits<int32_t>::max()))
    wide = true;
  return i;
}

Variant Binary(Op op, const Variant& a, const Variant& b) {
  TVarType ta = a.VType(), tb = b.VType();
  if (ta == varNull || tb == varNull) return Null();
  if (VarIsArray(a) || VarIsArray(b)) InvalidOp();

  if (op == Op::Add) {
    bool sa = IsStrType(ta), sb = IsStrType(tb);
    if ((sa || ta == varEmpty) && (sb || tb == varEmpty) && (sa || sb)) {
      if (ta == varOleStr && tb == varOleStr) return MakeWide(WStr(a) + WStr(b));
      if (ta == varEmpty) return tb == varString ? b : MakeString(TextOf(b));
      if (tb == varEmpty) return ta == varString ? a : MakeString(TextOf(a));
      if (ta == varString && tb == varString) {
        std::string text;
        text.reserve(Str(a).size() + Str(b).size());
        text += Str(a);
        text += Str(b);
        return MakeString(std::move(text));
      }
      return MakeString(TextOf(a) + TextOf(b));
    }
  }

  switch (op) {
    case Op::Add:
    case Op::Sub:
    case Op::Mul:
    case Op::Div:
      return Arithmetic(op, a, b);
    case Op::And:
    case Op::Or:
    case Op::Xor: {
      bool la = false, lb = false;
      bool isLa = LogicalOperand(a, la), isLb = LogicalOperand(b, lb);
      if ((isLa || ta == varEmpty) && (isLb || tb == varEmpty) && (isLa || isLb)) {
        bool r = op == Op::And ? (la && lb) : op == Op::Or ? (la || lb) : (la != lb);
        return Variant(r);
      }
      bool wide = false;
      int64_t x = IntOperand(a, wide), y = IntOperand(b, wide);
      int64_t r = op == Op::And ? (x & y) : op == Op::Or ? (x | y) : (x ^ y);
      return IntResult(r, wide);
    }
    case Op::IntDiv:
    case Op::Mod: {
      bool wide = false;
      int64_t x = IntOperand(a, wide), y = IntOperand(b, wide);
      if (y == 0) throw EDivByZero(SDivByZero);
      if (x == std::numeric_limits<int64_t>::min() && y == -1) {
        if (op == Op::Mod) return IntResult(0, wide);
        OperationOverflow();
      }
      return IntResult(op == Op::IntDiv ? x / y : x % y, wide);
    }
    case Op::Shl:
    case Op::Shr: {
      bool wide = false, ignored = false;
      int64_t x = IntOperand(a, wide), n = IntOperand(b, ignored);
      if (!wide && (x < std::numeric_limits<int32_t>::min() || x > std::numeric_limits<int32_t>::max()))
        wide = true;
      if (wide) {
        uint64_t u = static_cast<uint64_t>(x);
        u = op == Op::Shl ? u << (n & 63) : u >> (n & 63);
        return VA::Int(varInt64, static_cast<int64_t>(u));
      }
      uint32_t u = static_cast<uint32_t>(x);
      u = op == Op::Shl ? u << (n & 31) : u >> (n & 31);
      return VA::Int(varInteger, static_cast<int32_t>(u));
    }
  }
  InvalidOp();
}

// ---------------------------------------------------------------------------
// Comparison.

template <typename T>
TVariantRelationship Order(T a, T b) {
  return a < b ? vrLessThan : (b < a ? vrGreaterThan : vrEqual);
}

TVariantRelationship OrderDoubles(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return vrNotEqual;
  return Order(a, b);
}

TVariantRelationship CompareNums(const Num& x, const Num& y) {
  NumKind kind = std::max(x.Kind, y.Kind);
  switch (kind) {
    case NumKind::Int:
      return Order(x.I, y.I);
    case NumKind::Curr: {
      __int128 a = x.Kind == NumKind::Curr ? x.I : static_cast<__int128>(x.I) * Currency::Scale;
      __int128 b = y.Kind == NumKind::Curr ? y.I : static_cast<__int128>(y.I) * Currency::Scale;
      return Order(a, b);
    }
    case NumKind::Bcd:
      return Order(BcdCompare(AsBcd(x), AsBcd(y)), 0);
    case NumKind::Float:
      return OrderDoubles(AsFloat(x), AsFloat(y));
  }
  return vrNotEqual;
}

TVariantRelationship Compare(const Variant& a, const Variant& b) {
  TVarType ta = a.VType(), tb = b.VType();
  if (ta == varInteger && tb == varInteger) return Order(VA::IntOf(a), VA::IntOf(b));
  if (ta == varString && tb == varString) return Order(Str(a).compare(Str(b)), 0);
  if (VarIsArray(a) || VarIsArray(b)) InvalidOp();
  if (ta == varNull || tb == varNull) return ta == tb ? vrEqual : vrNotEqual;
  if (ta == varEmpty && tb == varEmpty) return vrEqual;

  bool sa = IsStrType(ta), sb = IsStrType(tb);
  if ((sa || ta == varEmpty) && (sb || tb == varEmpty)) {
    // UTF-8 byte order is code point order.
    std::string left = sa ? TextOf(a) : std::string(), right = sb ? TextOf(b) : std::string();
    return Order(left.compare(right), 0);
  }

  if (ta == varBoolean || tb == varBoolean) {
    bool other = ta == varBoolean ? tb == varBoolean || tb == varEmpty || sb : sa || ta == varEmpty;
    if (other) return Order(ToBoolean(a), ToBoolean(b));
  }

  if (ta == varSQLTimeStamp && tb == varSQLTimeStamp)
    return Order(CompareSQLTimeStamps(Stamp(a), Stamp(b)), 0);
  if ((IsDateType(ta) && sb) || (sa && IsDateType(tb)))
    return OrderDoubles(ToDateTime(a, varDate), ToDateTime(b, varDate));

  return CompareNums(ToNum(a), ToNum(b));
}

const char* TypeName(TVarType t) {
  switch (t) {
    case varEmpty: return "Empty";
    case varNull: return "Null";
    case varSmallint: return "Smallint";
    case varInteger: return "Integer";
    case varSingle: return "Single";
    case varDouble: return "Double";
    case varCurrency: return "Currency";
    case varDate: return "Date";
    case varOleStr: return "OleStr";
    case varDispatch: return "Dispatch";
    case varError: return "Error";
    case varBoolean: return "Boolean";
    case varVariant: return "Variant";
    case varUnknown: return "Unknown";
    case varShortInt: return "ShortInt";
    case varByte: return "Byte";
    case varWord: return "Word";
    case varLongWord: return "LongWord";
    case varInt64: return "Int64";
    case varStrArg: return "StrArg";
    case varString: return "String";
    case varAny: return "Any";
    case varFMTBcd: return "FMTBcd";
    case varSQLTimeStamp: return "SQLTimeStamp";
    default: return nullptr;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Variant members.

Variant::Variant(const char* text) : Variant(std::string_view(text ? text : "")) {}

Variant::Variant(std::string_view text) : FType(varString), FBoxed(true) {
  auto* box = new StringBox;
  box->Text.assign(text.data(), text.size());
  FBox = box;
}

Variant::Variant(std::string&& text) : FType(varString), FBoxed(true) {
  auto* box = new StringBox;
  box->Text = std::move(text);
  FBox = box;
}

Variant::Variant(std::u16string_view text) : FType(varOleStr), FBoxed(true) {
  auto* box = new WideBox;
  box->Text.assign(text.data(), text.size());
  FBox = box;
}

Variant::Variant(const TBcd& value) : FType(varFMTBcd), FBoxed(true) {
  auto* box = new BcdBox;
  box->Value = value;
  FBox = box;
}

Variant::Variant(const TSQLTimeStamp& value) : FType(varSQLTimeStamp), FBoxed(true) {
  auto* box = new StampBox;
  box->Value = value;
  FBox = box;
}

void Variant::Release() noexcept {
  if (FBox->Refs.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
  if (FType & varArray) delete static_cast<ArrayBox*>(FBox);
  else if (FType == varString) delete static_cast<StringBox*>(FBox);
  else if (FType == varOleStr) delete static_cast<WideBox*>(FBox);
  else if (FType == varFMTBcd) delete static_cast<BcdBox*>(FBox);
  else if (FType == varSQLTimeStamp) delete static_cast<StampBox*>(FBox);
}

Integer Variant::AsInteger() const {
  if (FType == varInteger) return static_cast<Integer>(FInt);
  if (FType == varNull) CastError(FType, varInteger);
  Int64 value = ToInt64(*this, varInteger);
  if (value < std::numeric_limits<Integer>::min() || value > std::numeric_limits<Integer>::max())
    OverflowError(FType, varInteger);
  return static_cast<Integer>(value);
}

Int64 Variant::AsInt64() const { return ToInt64(*this, varInt64); }
Double Variant::AsDouble() const { return ToDouble(*this, varDouble); }
Currency Variant::AsCurrency() const { return Currency::FromScaled(ToCurrencyScaled(*this)); }
Boolean Variant::AsBoolean() const { return ToBoolean(*this); }
TDateTime Variant::AsDateTime() const { return ToDateTime(*this, varDate); }

std::string Variant::AsString() const {
  if (FType == varString) return Str(*this);
  if (FType == varNull) CastError(FType, varString);
  return ToText(*this, DefaultFormatSettings());
}

std::u16string Variant::AsWideString() const {
  if (FType == varOleStr) return WStr(*this);
  return Utf8ToUtf16(AsString());
}

const std::string* Variant::StringData() const noexcept {
  return FType == varString ? &Str(*this) : nullptr;
}

Variant& Variant::operator+=(const Variant& right) {
  TVarType tr = right.FType;
  if (FType == varString && IsStrType(tr) && !VA::IsShared(*this)) {
    std::string& text = static_cast<StringBox*>(FBox)->Text;
    if (tr == varOleStr) text += Utf16ToUtf8(WStr(right));
    else if (right.FBox == FBox) text += std::string(text);
    else text += Str(right);
    return *this;
  }
  if (FType == varOleStr && tr == varOleStr && !VA::IsShared(*this)) {
    std::u16string& text = static_cast<WideBox*>(FBox)->Text;
    if (right.FBox == FBox) text += std::u16string(text);
    else text += WStr(right);
    return *this;
  }
  *this = VarAdd(*this, right);
  return *this;
}

// ---------------------------------------------------------------------------
// Kinds and tests.

std::string VarTypeAsText(TVarType type) {
  std::string prefix;
  if (type & varByRef) prefix += "ByRef ";
  if (type & varArray) prefix += "Array ";
  TVarType base = type & varTypeMask;
  const char* name = TypeName(base);
  if (name) return prefix + name;
  prefix += '$';
  return prefix + IntToHex(static_cast<Word>(base), 4);
}

Variant Null() { return VA::Int(varNull, 0); }
Variant Unassigned() { return Variant(); }
Variant VarFromDateTime(TDateTime value) { return VA::Real(varDate, value); }

bool VarIsOrdinal(const Variant& v) noexcept { return IsIntType(v.VType()) || v.VType() == varBoolean; }

bool VarIsFloat(const Variant& v) noexcept {
  TVarType t = v.VType();
  return t == varSingle || t == varDouble || t == varCurrency || t == varFMTBcd;
}

bool VarIsNumeric(const Variant& v) noexcept { return VarIsOrdinal(v) || VarIsFloat(v); }
bool VarIsStr(const Variant& v) noexcept { return IsStrType(v.VType()); }

// ---------------------------------------------------------------------------
// Conversions.

std::string VarToStr(const Variant& v, const TFormatSettings& settings) {
  if (v.VType() == varString) return Str(v);
  return ToText(v, settings);
}

std::string VarToStr(const Variant& v) { return VarToStr(v, DefaultFormatSettings()); }

std::u16string VarToWideStr(const Variant& v) {
  if (v.VType() == varOleStr) return WStr(v);
  return Utf8ToUtf16(VarToStr(v));
}

TDateTime VarToDateTime(const Variant& v) { return v.AsDateTime(); }

Variant VarAsType(const Variant& v, TVarType type) {
  TVarType t = v.VType();
  if (type == t || type == varVariant) return v;
  if (type == varEmpty) return Variant();
  if (type == varNull) return Null();
  if (t == varNull || (t & varArray)) CastError(t, type);
  int64_t low, high;
  if (IntRange(type, low, high)) {
    int64_t value = ToInt64(v, type);
    if (value < low || value > high) OverflowError(t, type);
    return VA::Int(type, value);
  }
  switch (type) {
    case varSingle: {
      double d = ToDouble(v, type);
      if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()) OverflowError(t, type);
      return VA::Real(varSingle, static_cast<float>(d));
    }
    case varDouble:
      return VA::Real(varDouble, ToDouble(v, type));
    case varCurrency:
      return VA::Int(varCurrency, ToCurrencyScaled(v));
    case varDate:
      return VA::Real(varDate, ToDateTime(v, type));
    case varBoolean:
      return Variant(ToBoolean(v));
    case varString:
      return MakeString(ToText(v, DefaultFormatSettings()));
    case varOleStr:
      return MakeWide(Utf8ToUtf16(ToText(v, DefaultFormatSettings())));
    case varFMTBcd:
      return MakeBcd(ToBcdValue(v));
    case varSQLTimeStamp:
      return MakeStamp(StampOf(ToDateTime(v, type), t));
    default:
      CastError(t, type);
  }
}

// ---------------------------------------------------------------------------
// Operators.

Variant VarAdd(const Variant& left, const Variant& right) {
  if (left.VType() == varInteger && right.VType() == varInteger)
    return IntResult(VA::IntOf(left) + VA::IntOf(right), false);
  if (left.VType() == varDouble && right.VType() == varDouble)
    return FloatResult(VA::RealOf(left) + VA::RealOf(right), VA::RealOf(left), VA::RealOf(right));
  return Binary(Op::Add, left, right);
}

Variant VarSub(const Variant& left, const Variant& right) {
  if (left.VType() == varInteger && right.VType() == varInteger)
    return IntResult(VA::IntOf(left) - VA::IntOf(right), false);
  return Binary(Op::Sub, left, right);
}

Variant VarMul(const Variant& left, const Variant& right) { return Binary(Op::Mul, left, right); }
Variant VarDiv(const Variant& left, const Variant& right) { return Binary(Op::Div, left, right); }
Variant VarIntDiv(const Variant& left, const Variant& right) { return Binary(Op::IntDiv, left, right); }
Variant VarMod(const Variant& left, const Variant& right) { return Binary(Op::Mod, left, right); }
Variant VarAnd(const Variant& left, const Variant& right) { return Binary(Op::And, left, right); }
Variant VarOr(const Variant& left, const Variant& right) { return Binary(Op::Or, left, right); }
Variant VarXor(const Variant& left, const Variant& right) { return Binary(Op::Xor, left, right); }
Variant VarShl(const Variant& left, const Variant& right) { return Binary(Op::Shl, left, right); }
Variant VarShr(const Variant& left, const Variant& right) { return Binary(Op::Shr, left, right); }

Variant VarNot(const Variant& v) {
  TVarType t = v.VType();
  if (t == varNull) return v;
  if (VarIsArray(v)) InvalidOp();
  bool b;
  if (LogicalOperand(v, b)) return Variant(!b);
  bool wide = false;
  int64_t x = IntOperand(v, wide);
  return IntResult(~x, wide);
}

Variant VarNeg(const Variant& v) {
  TVarType t = v.VType();
  switch (t) {
    case varNull:
      return v;
    case varSingle:
    case varDouble:
    case varDate:
      return VA::Real(t, -VA::RealOf(v));
    case varCurrency:
      if (VA::IntOf(v) == std::numeric_limits<int64_t>::min()) OperationOverflow();
      return VA::Int(varCurrency, -VA::IntOf(v));
    case varFMTBcd:
      return MakeBcd(BcdNegate(Bcd(v)));
    case varSQLTimeStamp:
      return VA::Real(varDate, -StampToDateTime(v, varDate));
    default:
      break;
  }
  if (VarIsArray(v)) InvalidOp();
  Num n = ToNum(v);
  if (n.Kind == NumKind::Float) return VA::Real(varDouble, -n.D);
  if (n.I == std::numeric_limits<int64_t>::min()) OperationOverflow();
  return IntResult(-n.I, n.Wide);
}

// ---------------------------------------------------------------------------
// Comparisons.

TVariantRelationship VarCompareValue(const Variant& left, const Variant& right) {
  return Compare(left, right);
}

bool VarCmpEq(const Variant& left, const Variant& right) { return Compare(left, right) == vrEqual; }
bool VarCmpNe(const Variant& left, const Variant& right) { return Compare(left, right) != vrEqual; }
bool VarCmpLt(const Variant& left, const Variant& right) { return Compare(left, right) == vrLessThan; }
bool VarCmpGt(const Variant& left, const Variant& right) { return Compare(left, right) == vrGreaterThan; }

bool VarCmpLe(const Variant& left, const Variant& right) {
  TVariantRelationship r = Compare(left, right);
  return r == vrLessThan || r == vrEqual;
}

bool VarCmpGe(const Variant& left, const Variant& right) {
  TVariantRelationship r = Compare(left, right);
  return r == vrGreaterThan || r == vrEqual;
}

bool VarSameTypeAndValue(const Variant& left, const Variant& right) noexcept {
  TVarType t = left.VType();
  if (t != right.VType()) return false;
  if (t <= varNull) return true;
  try {
    if (t & varArray) {
      const ArrayBox* a = Arr(left);
      const ArrayBox* b = Arr(right);
      if (a == b) return true;
      if (a->DimCount != b->DimCount) return false;
      for (int d = 0; d < a->DimCount; ++d)
        if (a->Low[d] != b->Low[d] || a->Count[d] != b->Count[d]) return false;
      for (size_t i = 0; i < a->Items.size(); ++i)
        if (!VarSameTypeAndValue(a->Items[i], b->Items[i])) return false;
      return true;
    }
    return Compare(left, right) == vrEqual;
  } catch (...) {
    return false;
  }
}

// ---------------------------------------------------------------------------
// Arrays.

Variant VarArrayCreate(const Integer* bounds, int boundCount, TVarType elementType) {
  if (boundCount < 2 || boundCount % 2 != 0 || boundCount / 2 > MaxArrayDims)
    throw EVariantArrayCreateError("Variant arrays have 1 to 3 dimensions, each with two bounds");
  if (!IsArrayElementType(elementType))
    throw EVariantArrayCreateError(
        Format("Cannot create a variant array of %s", {VarTypeAsText(elementType)}));
  auto* box = new ArrayBox;
  Variant result = VA::Boxed(varArray | elementType, box);
  box->ElementType = elementType;
  box->DimCount = boundCount / 2;
  size_t total = 1;
  for (int d = 0; d < box->DimCount; ++d) {
    int64_t count = static_cast<int64_t>(bounds[2 * d + 1]) - bounds[2 * d] + 1;
    if (count < 0 || count > std::numeric_limits<Integer>::max())
      throw EVariantArrayCreateError("Variant array bounds out of order");
    box->Low[d] = bounds[2 * d];
    box->Count[d] = static_cast<Integer>(count);
    total *= static_cast<size_t>(count);
  }
  if (total > (size_t{1} << 28)) throw EVariantArrayCreateError("Variant array too large");
  box->Items.assign(total, InitialElement(elementType));
  return result;
}

Variant VarArrayCreate(std::initializer_list<Integer> bounds, TVarType elementType) {
  return VarArrayCreate(bounds.begin(), static_cast<int>(bounds.size()), elementType);
}

Variant VarArrayOf(const std::vector<Variant>& values) {
  auto* box = new ArrayBox;
  Variant result = VA::Boxed(varArray | varVariant, box);
  box->DimCount = 1;
  box->Count[0] = static_cast<Integer>(values.size());
  box->Items = values;
  return result;
}

Variant VarArrayOf(std::initializer_list<Variant> values) {
  return VarArrayOf(std::vector<Variant>(values));
}

Integer VarArrayDimCount(const Variant& array) noexcept {
  return VarIsArray(array) ? Arr(array)->DimCount : 0;
}

Integer VarArrayLowBound(const Variant& array, Integer dim) {
  return CheckedDim(array, dim)->Low[dim - 1];
}

Integer VarArrayHighBound(const Variant& array, Integer dim) {
  const ArrayBox* box = CheckedDim(array, dim);
  return box->Low[dim - 1] + box->Count[dim - 1] - 1;
}

Variant VarArrayGet(const Variant& array, const Integer* indices, int indexCount) {
  const ArrayBox* box = ArrayOf(array);
  return box->Items[ElementOffset(box, indices, indexCount)];
}

Variant VarArrayGet(const Variant& array, std::initializer_list<Integer> indices) {
  return VarArrayGet(array, indices.begin(), static_cast<int>(indices.size()));
}

void VarArrayPut(Variant& array, const Variant& value, const Integer* indices, int indexCount) {
  const ArrayBox* shared = ArrayOf(array);
  size_t offset = ElementOffset(shared, indices, indexCount);
  // Convert (and keep a reference) before the array may be copied: the value
  // can be the array itself.
  Variant element = shared->ElementType == varVariant ? value : VarAsType(value, shared->ElementType);
  MutableArray(array)->Items[offset] = std::move(element);
}

void VarArrayPut(Variant& array, const Variant& value, std::initializer_list<Integer> indices) {
  VarArrayPut(array, value, indices.begin(), static_cast<int>(indices.size()));
}

void VarArrayRedim(Variant& array, Integer highBound) {
  ArrayBox* box = MutableArray(array);
  int last = box->DimCount - 1;
  int64_t count = static_cast<int64_t>(highBound) - box->Low[last] + 1;
  if (count < 0) throw EVariantArrayCreateError("Variant array bounds out of order");
  size_t slice = 1;
  for (int d = 0; d < last; ++d) slice *= static_cast<size_t>(box->Count[d]);
  if (slice * static_cast<size_t>(count) > (size_t{1} << 28))
    throw EVariantArrayCreateError("Variant array too large");
  box->Items.resize(slice * static_cast<size_t>(count), InitialElement(box->ElementType));
  box->Count[last] = static_cast<Integer>(count);
}

// ---------------------------------------------------------------------------
// The custom kinds' Variant glue.

Variant VarFMTBcdCreate(const TBcd& bcd) { return MakeBcd(bcd); }
Variant VarFMTBcdCreate(std::string_view text) { return MakeBcd(StrToBcd(text)); }

TBcd VarToBcd(const Variant& v) {
  if (v.VType() == varNull || VarIsArray(v)) CastError(v.VType(), varFMTBcd);
  return ToBcdValue(v);
}

Variant VarSQLTimeStampCreate(const TSQLTimeStamp& stamp) { return MakeStamp(stamp); }
Variant VarSQLTimeStampCreate(TDateTime value) { return MakeStamp(StampOf(value, varDate)); }

TSQLTimeStamp VarToSQLTimeStamp(const Variant& v) {
  if (v.VType() == varSQLTimeStamp) return Stamp(v);
  if (v.VType() == varNull || VarIsArray(v)) CastError(v.VType(), varSQLTimeStamp);
  return StampOf(ToDateTime(v, varSQLTimeStamp), v.VType());
}

// ---------------------------------------------------------------------------

std::ostream& operator<<(std::ostream& out, const Variant& v) {
  TVarType t = v.VType();
  out << VarTypeAsText(t);
  if (t <= varNull) return out;
  if (t & varArray) {
    const ArrayBox* box = Arr(v);
    out << '[';
    for (int d = 0; d < box->DimCount; ++d)
      out << (d ? "," : "") << box->Low[d] << ".." << box->Low[d] + box->Count[d] - 1;
    out << "](";
    for (size_t i = 0; i < box->Items.size(); ++i) out << (i ? ", " : "") << box->Items[i];
    return out << ')';
  }
  std::string text;
  try {
    text = VarToStr(v, TFormatSettings::English());
  } catch (const Exception& e) {
    text = "?" + e.Message;
  }
  if (IsStrType(t)) return out << "(\"" << text << "\")";
  return out << '(' << text << ')';
}
