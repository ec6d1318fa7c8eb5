#include "script/fs_isysrtti.h"

#include <cmath>
#include <vector>

#include "platform/forms/Mask.h"
#include "platform/forms/MessageDialogs.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/Random.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"

namespace fs_isysrtti {

VXN_IMPLEMENT_CLASS(TFunctions, TfsRTTIModule)

namespace {

const char* const ctString = "ctString";
const char* const ctDate = "ctDate";
const char* const ctConv = "ctConv";
const char* const ctFormat = "ctFormat";
const char* const ctMath = "ctMath";
const char* const ctOther = "ctOther";

Variant Arg(TfsMethodHelper* caller, Integer i) { return caller->ParamValueAt(i); }
std::string Str(TfsMethodHelper* caller, Integer i) { return VarToStr(Arg(caller, i)); }
Double Num(TfsMethodHelper* caller, Integer i) { return Arg(caller, i).AsDouble(); }
Integer Int(TfsMethodHelper* caller, Integer i) { return Arg(caller, i).AsInteger(); }
void SetArg(TfsMethodHelper* caller, Integer i, const Variant& v) { caller->Params(i)->SetValue(v); }

// ---------------------------------------------------------------------------
// Format over a script's array: each conversion is formatted on its own with
// its own argument, so every argument is type-checked by the class library's
// Format (a mismatch raises its conversion error) and no text is cut short.

Variant ArgumentAt(const Variant& args, Integer index) {
  if (!VarIsArray(args)) {
    if (index == 0 && !VarIsClear(args)) return args;
    throw EConvertError("No argument for format '" + std::to_string(index) + "'");
  }
  const Integer low = VarArrayLowBound(args, 1), high = VarArrayHighBound(args, 1);
  if (index < 0 || low + index > high) throw EConvertError("No argument for format");
  return VarArrayGet(args, {low + index});
}

std::string FormatOne(const std::string& spec, const Variant& v) {
  switch (VarType(v)) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord: return Format(spec, {static_cast<int>(v.AsInteger())});
    case varLongWord:
    case varInt64: return Format(spec, {static_cast<long long>(v.AsInt64())});
    case varSingle:
    case varDouble:
    case varCurrency:
    case varDate: return Format(spec, {v.AsDouble()});
    case varBoolean: return Format(spec, {v.AsBoolean()});
    case varString:
    case varOleStr: {
      const std::string s = VarToStr(v);
      return Format(spec, {s});
    }
    default: return Format(spec, {0});
  }
}

std::string ScriptFormat(const std::string& format, const Variant& args) {
  std::string out;
  Integer next = 0;
  size_t i = 0;
  while (i < format.size()) {
    if (format[i] != '%') {
      out.push_back(format[i++]);
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      out.push_back('%');
      i += 2;
      continue;
    }
    // %[index:][-][width][.prec]type, with "*" for width or precision.
    size_t j = i + 1;
    std::string spec = "%";
    auto digits = [&](size_t from) {
      size_t k = from;
      while (k < format.size() && format[k] >= '0' && format[k] <= '9') ++k;
      return k;
    };
    size_t k = digits(j);
    if (k < format.size() && format[k] == ':' && k > j) {
      next = static_cast<Integer>(std::stol(format.substr(j, k - j)));
      j = k + 1;
    }
    if (j < format.size() && format[j] == '-') spec += format[j++];
    auto widthOrStar = [&]() {
      if (j < format.size() && format[j] == '*') {
        spec += std::to_string(ArgumentAt(args, next++).AsInteger());
        ++j;
      } else {
        k = digits(j);
        spec += format.substr(j, k - j);
        j = k;
      }
    };
    widthOrStar();
    if (j < format.size() && format[j] == '.') {
      spec += format[j++];
      widthOrStar();
    }
    if (j >= format.size()) throw EConvertError("Format '" + format + "' invalid or incompatible with argument");
    spec += format[j++];
    out += FormatOne(spec, ArgumentAt(args, next++));
    i = j;
  }
  return out;
}

std::string NameCase(const std::string& s) {
  std::string r = AnsiLowerCase(s);
  bool start = true;
  std::string out;
  for (size_t i = 0; i < r.size();) {
    // Whole characters, so a multi-byte character is cased as one.
    size_t len = 1;
    const auto c = static_cast<unsigned char>(r[i]);
    if (c >= 0xF0) len = 4;
    else if (c >= 0xE0) len = 3;
    else if (c >= 0xC0) len = 2;
    const std::string ch = r.substr(i, len);
    out += start ? AnsiUpperCase(ch) : ch;
    start = ch == " ";
    i += len;
  }
  return out;
}

Variant StringFunctions(TObject*, TClass, const std::string& name, TfsMethodHelper* c) {
  if (name == "LENGTH") {
    const Variant v = Arg(c, 0);
    if (VarIsArray(v)) return VarArrayHighBound(v, 1) - VarArrayLowBound(v, 1) + 1;
    return static_cast<Integer>(VarToStr(v).size());
  }
  if (name == "COPY") return Copy(Str(c, 0), Int(c, 1), Int(c, 2));
  if (name == "POS") return Pos(Str(c, 0), Str(c, 1));
  if (name == "DELETE" || name == "DELETESTR") {
    std::string s = Str(c, 0);
    Delete(s, Int(c, 1), Int(c, 2));
    SetArg(c, 0, s);
    return Null();
  }
  if (name == "INSERT") {
    std::string s2 = Str(c, 1);
    Insert(Str(c, 0), s2, Int(c, 2));
    SetArg(c, 1, s2);
    return Null();
  }
  if (name == "UPPERCASE") return AnsiUpperCase(Str(c, 0));
  if (name == "LOWERCASE") return AnsiLowerCase(Str(c, 0));
  if (name == "TRIM") return Trim(Str(c, 0));
  if (name == "NAMECASE") return NameCase(Str(c, 0));
  if (name == "COMPARETEXT") return AnsiCompareText(Str(c, 0), Str(c, 1));
  if (name == "CHR") return Utf8Encode(static_cast<char32_t>(Int(c, 0) & 0xFF));
  if (name == "ORD") {
    const std::string s = Str(c, 0);
    return s.empty() ? 0 : static_cast<Integer>(static_cast<unsigned char>(s[0]));
  }
  if (name == "SETLENGTH") {
    Variant v = Arg(c, 0);
    const Integer length = std::max<Integer>(0, Int(c, 1));
    if (VarIsStr(v)) {
      std::string s = VarToStr(v);
      s.resize(static_cast<size_t>(length), ' ');
      SetArg(c, 0, s);
    } else {
      VarArrayRedim(v, length - 1);
      SetArg(c, 0, v);
    }
    return Null();
  }
  return 0;
}

Variant DateFunctions(TObject*, TClass, const std::string& name, TfsMethodHelper* c) {
  if (name == "ENCODEDATE")
    return VarFromDateTime(EncodeDate(static_cast<Word>(Int(c, 0)), static_cast<Word>(Int(c, 1)),
                                      static_cast<Word>(Int(c, 2))));
  if (name == "DECODEDATE") {
    Word y = 0, m = 0, d = 0;
    DecodeDate(Num(c, 0), y, m, d);
    SetArg(c, 1, Integer{y});
    SetArg(c, 2, Integer{m});
    SetArg(c, 3, Integer{d});
    return Null();
  }
  if (name == "ENCODETIME")
    return VarFromDateTime(EncodeTime(static_cast<Word>(Int(c, 0)), static_cast<Word>(Int(c, 1)),
                                      static_cast<Word>(Int(c, 2)), static_cast<Word>(Int(c, 3))));
  if (name == "DECODETIME") {
    Word h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(Num(c, 0), h, m, s, ms);
    SetArg(c, 1, Integer{h});
    SetArg(c, 2, Integer{m});
    SetArg(c, 3, Integer{s});
    SetArg(c, 4, Integer{ms});
    return Null();
  }
  if (name == "DATE") return VarFromDateTime(Date());
  if (name == "TIME") return VarFromDateTime(Time());
  if (name == "NOW") return VarFromDateTime(Now());
  if (name == "DAYOFWEEK") return DayOfWeek(Num(c, 0));
  if (name == "ISLEAPYEAR") return IsLeapYear(static_cast<Word>(Int(c, 0)));
  if (name == "DAYSINMONTH") {
    static const Integer kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const Integer year = Int(c, 0), month = Int(c, 1);
    // A month outside 1..12 has no days (the table is never read outside).
    if (month < 1 || month > 12) return 0;
    return kDays[month - 1] + (month == 2 && IsLeapYear(static_cast<Word>(year)) ? 1 : 0);
  }
  return 0;
}

Variant ConvFunctions(TObject*, TClass, const std::string& name, TfsMethodHelper* c) {
  if (name == "INTTOSTR") return IntToStr(Arg(c, 0).AsInt64());
  if (name == "FLOATTOSTR") return FloatToStr(Num(c, 0));
  if (name == "DATETOSTR") return DateToStr(Num(c, 0));
  if (name == "TIMETOSTR") return TimeToStr(Num(c, 0));
  if (name == "DATETIMETOSTR") return DateTimeToStr(Num(c, 0));
  if (name == "VARTOSTR") return VarToStr(Arg(c, 0));
  if (name == "STRTOINT") return StrToInt(Str(c, 0));
  if (name == "STRTOFLOAT") return static_cast<Double>(StrToFloat(Str(c, 0)));
  if (name == "STRTODATE") return VarFromDateTime(StrToDate(Str(c, 0)));
  if (name == "STRTOTIME") return VarFromDateTime(StrToTime(Str(c, 0)));
  if (name == "STRTODATETIME") return VarFromDateTime(StrToDateTime(Str(c, 0)));
  return 0;
}

Variant FormatFunctions(TObject*, TClass, const std::string& name, TfsMethodHelper* c) {
  if (name == "FORMAT") return ScriptFormat(Str(c, 0), Arg(c, 1));
  if (name == "FORMATFLOAT") return FormatFloat(Str(c, 0), Num(c, 1));
  if (name == "FORMATDATETIME") return FormatDateTime(Str(c, 0), Num(c, 1));
  if (name == "FORMATMASKTEXT") {
    const EditMaskFormat mask(Str(c, 0));
    std::u32string edit = mask.ToEditText(Str(c, 1));
    for (char32_t& ch : edit)
      if (ch == mask.Blank()) ch = U' ';
    std::string out;
    for (char32_t ch : edit) out += Utf8Encode(ch);
    return out;
  }
  return 0;
}

// Round halves to the even neighbour, as the class library does.
Variant RoundToEven(Double e) {
  const Double r = std::nearbyint(e);
  if (!std::isfinite(r) || r < static_cast<Double>(INT64_MIN) || r >= 9223372036854775808.0)
    throw EInvalidOp("Invalid floating point operation");
  const auto n = static_cast<Int64>(r);
  if (n >= INT32_MIN && n <= INT32_MAX) return static_cast<Integer>(n);
  return n;
}

Variant MathFunctions(TObject*, TClass, const std::string& name, TfsMethodHelper* c) {
  if (name == "PI") return M_PI;
  const Double e = Num(c, 0);
  if (name == "ROUND") return RoundToEven(e);
  if (name == "TRUNC") return RoundToEven(std::trunc(e));
  if (name == "INT") return std::trunc(e);
  if (name == "FRAC") return e - std::trunc(e);
  if (name == "SQRT") return std::sqrt(e);
  if (name == "ABS") return std::fabs(e);
  if (name == "SIN") return std::sin(e);
  if (name == "COS") return std::cos(e);
  if (name == "ARCTAN") return std::atan(e);
  if (name == "TAN") return std::sin(e) / std::cos(e);
  if (name == "EXP") return std::exp(e);
  if (name == "LN") return std::log(e);
  return 0;
}

Variant OtherFunctions(TObject*, TClass, const std::string& name, TfsMethodHelper* c) {
  if (name == "INC" || name == "DEC") {
    const Variant v = Arg(c, 0), step = Arg(c, 1);
    SetArg(c, 0, name == "INC" ? VarAdd(v, step) : VarSub(v, step));
    return Null();
  }
  if (name == "RAISEEXCEPTION") throw Exception(Str(c, 0));
  if (name == "SHOWMESSAGE") {
    ShowMessage(Str(c, 0));
    return Null();
  }
  if (name == "RANDOMIZE") {
    Randomize();
    return Null();
  }
  if (name == "RANDOM") return static_cast<Double>(Random());
  if (name == "VALIDINT") {
    try {
      StrToInt(Str(c, 0));
      return true;
    } catch (const Exception&) {
      return false;
    }
  }
  if (name == "VALIDFLOAT") {
    try {
      StrToFloat(Str(c, 0));
      return true;
    } catch (const Exception&) {
      return false;
    }
  }
  if (name == "VALIDDATE") {
    try {
      StrToDate(Str(c, 0));
      return true;
    } catch (const Exception&) {
      return false;
    }
  }
  if (name == "CREATEOLEOBJECT")
    throw Exception("Automation objects are not supported on this system (" + Str(c, 0) + ")");
  if (name == "VARARRAYCREATE") {
    const Variant bounds = Arg(c, 0);
    std::vector<Integer> b;
    if (VarIsArray(bounds))
      for (Integer i = VarArrayLowBound(bounds, 1); i <= VarArrayHighBound(bounds, 1); ++i)
        b.push_back(VarArrayGet(bounds, {i}).AsInteger());
    if (b.empty() || b.size() % 2 != 0) throw EVariantArrayCreateError("Error creating variant or safe array");
    return VarArrayCreate(b.data(), static_cast<int>(b.size()), static_cast<TVarType>(Int(c, 1)));
  }
  if (name == "VARTYPE") return static_cast<Integer>(VarType(Arg(c, 0)));
  return 0;
}

struct Declaration {
  const char* Syntax;
  const char* Category;
};

}  // namespace

TFunctions::TFunctions(TfsScript* script) : TfsRTTIModule(script) {
  TfsScript& s = *script;
  for (const char* name : {"Byte", "Word", "Integer", "Longint", "Cardinal", "TColor"})
    s.DeclareType(name, fvtInt);
  s.DeclareType("Boolean", fvtBool);
  for (const char* name : {"Real", "Single", "Double", "Extended", "Currency", "TDate", "TTime", "TDateTime"})
    s.DeclareType(name, fvtFloat);
  s.DeclareType("Char", fvtChar);
  s.DeclareType("String", fvtString);
  s.DeclareType("Array", fvtArray);
  s.DeclareType("Variant", fvtVariant);
  s.DeclareType("Pointer", fvtVariant);
  s.DeclareType("Constructor", fvtConstructor);

  s.DeclareConstant("True", "Boolean", true);
  s.DeclareConstant("False", "Boolean", false);
  s.DeclareConstant("nil", "Variant", 0);
  s.DeclareConstant("Null", "Variant", Null());
  const std::pair<const char*, Integer> varTypes[] = {
      {"varEmpty", 0},       {"varNull", 1},       {"varSmallint", 2},  {"varInteger", 3},
      {"varSingle", 4},      {"varDouble", 5},     {"varCurrency", 6},  {"varDate", 7},
      {"varOleStr", 8},      {"varDispatch", 9},   {"varError", 10},    {"varBoolean", 11},
      {"varVariant", 12},    {"varUnknown", 13},   {"varShortInt", 16}, {"varByte", 17},
      {"varWord", 18},       {"varLongWord", 19},  {"varInt64", 20},    {"varStrArg", 72},
      {"varString", 256},    {"varAny", 257},      {"varTypeMask", 4095}, {"varArray", 8192},
      {"varByRef", 16384},
  };
  for (const auto& [name, value] : varTypes) s.DeclareConstant(name, "Integer", value);

  auto* chars = new TfsStringHelper;
  s.AddItem(chars->Name, chars);
  auto* elements = new TfsArrayHelper("__ArrayHelper", "Variant", fvtVariant);
  elements->Add(new TfsParamItem("", false, false, "Integer", fvtInt));
  elements->Add(new TfsParamItem("", false, true, "Integer", fvtInt));
  elements->Add(new TfsParamItem("", false, true, "Integer", fvtInt));
  s.AddItem(elements->Name, elements);

  const Declaration conv[] = {
      {"function IntToStr(i: Integer): String", ctConv},
      {"function FloatToStr(e: Extended): String", ctConv},
      {"function DateToStr(e: Extended): String", ctConv},
      {"function TimeToStr(e: Extended): String", ctConv},
      {"function DateTimeToStr(e: Extended): String", ctConv},
      {"function VarToStr(v: Variant): String", ctConv},
      {"function StrToInt(s: String): Integer", ctConv},
      {"function StrToFloat(s: String): Extended", ctConv},
      {"function StrToDate(s: String): Extended", ctConv},
      {"function StrToTime(s: String): Extended", ctConv},
      {"function StrToDateTime(s: String): Extended", ctConv},
  };
  for (const Declaration& d : conv) s.DeclareModuleFunction(d.Syntax, ConvFunctions, d.Category);
  for (const char* syntax : {"function Format(Fmt: String; Args: array): String",
                             "function FormatFloat(Fmt: String; Value: Extended): String",
                             "function FormatDateTime(Fmt: String; DateTime: TDateTime): String",
                             "function FormatMaskText(EditMask: string; Value: string): string"})
    s.DeclareModuleFunction(syntax, FormatFunctions, ctFormat);
  for (const char* syntax : {"function EncodeDate(Year, Month, Day: Word): TDateTime",
                             "procedure DecodeDate(Date: TDateTime; var Year, Month, Day: Word)",
                             "function EncodeTime(Hour, Min, Sec, MSec: Word): TDateTime",
                             "procedure DecodeTime(Time: TDateTime; var Hour, Min, Sec, MSec: Word)",
                             "function Date: TDateTime", "function Time: TDateTime",
                             "function Now: TDateTime", "function DayOfWeek(aDate: TDateTime): Integer",
                             "function IsLeapYear(Year: Word): Boolean",
                             "function DaysInMonth(nYear, nMonth: Integer): Integer"})
    s.DeclareModuleFunction(syntax, DateFunctions, ctDate);
  for (const char* syntax : {"function Length(s: Variant): Integer",
                             "function Copy(s: String; from, count: Integer): String",
                             "function Pos(substr, s: String): Integer",
                             "procedure Delete(var s: String; from, count: Integer)",
                             "procedure DeleteStr(var s: String; from, count: Integer)",
                             "procedure Insert(s: String; var s2: String; pos: Integer)",
                             "function Uppercase(s: String): String",
                             "function Lowercase(s: String): String",
                             "function Trim(s: String): String", "function NameCase(s: String): String",
                             "function CompareText(s, s1: String): Integer",
                             "function Chr(i: Integer): Char", "function Ord(ch: Char): Integer",
                             "procedure SetLength(var S: Variant; L: Integer)"})
    s.DeclareModuleFunction(syntax, StringFunctions, ctString);
  for (const char* syntax :
       {"function Round(e: Extended): Integer", "function Trunc(e: Extended): Integer",
        "function Int(e: Extended): Integer", "function Frac(X: Extended): Extended",
        "function Sqrt(e: Extended): Extended", "function Abs(e: Extended): Extended",
        "function Sin(e: Extended): Extended", "function Cos(e: Extended): Extended",
        "function ArcTan(X: Extended): Extended", "function Tan(X: Extended): Extended",
        "function Exp(X: Extended): Extended", "function Ln(X: Extended): Extended",
        "function Pi: Extended"})
    s.DeclareModuleFunction(syntax, MathFunctions, ctMath);
  for (const char* syntax :
       {"procedure Inc(var i: Integer; incr: Integer = 1)",
        "procedure Dec(var i: Integer; decr: Integer = 1)",
        "procedure RaiseException(Param: String)", "procedure ShowMessage(Msg: Variant)",
        "procedure Randomize", "function Random: Extended",
        "function ValidInt(cInt: String): Boolean", "function ValidFloat(cFlt: String): Boolean",
        "function ValidDate(cDate: String): Boolean",
        "function CreateOleObject(ClassName: String): Variant",
        "function VarArrayCreate(Bounds: Array; Typ: Integer): Variant",
        "function VarType(V: Variant): Integer"})
    s.DeclareModuleFunction(syntax, OtherFunctions, ctOther);
}

void Register() {
  static bool done = false;
  if (done) return;
  done = true;
  fsRegisterHostModule([](TfsScript* script) -> TfsRTTIModule* { return new TFunctions(script); });
}

}  // namespace fs_isysrtti
