#include "platform/rtl/Variants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FMTBcd.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SqlTimSt.h"
#include "platform/rtl/SysUtils.h"

namespace {

// "Kind:text" of the Variant an expression gives, or the class name of the
// exception it raises: one string per table row shows both.
std::string Outcome(const std::function<Variant()>& expression) {
  try {
    Variant v = expression();
    return VarTypeAsText(v.VType()) + ":" + (VarIsArray(v) ? "" : VarToStr(v));
  } catch (const Exception& e) {
    return e.ClassName();
  }
}

struct Row {
  const char* What;
  std::function<Variant()> Expression;
  const char* Expected;
};

void CheckRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) EXPECT_EQ(Outcome(row.Expression), row.Expected) << row.What;
}

TFormatSettings CommaSettings() {
  TFormatSettings fs = TFormatSettings::English();
  fs.DecimalSeparator = ',';
  fs.ThousandSeparator = '.';
  return fs;
}

constexpr Int64 Int64Max = std::numeric_limits<Int64>::max();
constexpr Int64 Int64Min = std::numeric_limits<Int64>::min();

Variant Bcd(const char* text) { return VarFMTBcdCreate(text); }
Variant Curr(double value) { return Variant(Currency::FromDouble(value)); }
Variant Date(Word y, Word m, Word d) { return VarFromDateTime(EncodeDate(y, m, d)); }

class VariantTest : public testing::Test {
 protected:
  TFormatSettingsPin pin_{TFormatSettings::English()};
};

// ---------------------------------------------------------------------------

TEST_F(VariantTest, KindsOfConstructedValues) {
  TSQLTimeStamp stamp{2024, 3, 5, 9, 7, 2, 0};
  const struct {
    Variant Value;
    TVarType Type;
    const char* Name;
  } cases[] = {
      {Variant(), varEmpty, "Empty"},
      {Unassigned(), varEmpty, "Empty"},
      {Null(), varNull, "Null"},
      {Variant(true), varBoolean, "Boolean"},
      {Variant(5), varInteger, "Integer"},
      {Variant(static_cast<short>(5)), varInteger, "Integer"},
      {Variant(static_cast<unsigned char>(5)), varByte, "Byte"},
      {Variant(static_cast<unsigned short>(5)), varWord, "Word"},
      {Variant(5u), varLongWord, "LongWord"},
      {Variant(Int64{5}), varInt64, "Int64"},
      {Variant(1.5f), varSingle, "Single"},
      {Variant(1.5), varDouble, "Double"},
      {Variant(Currency::FromScaled(15000)), varCurrency, "Currency"},
      {VarFromDateTime(1.5), varDate, "Date"},
      {Variant("text"), varString, "String"},
      {Variant(std::string("text")), varString, "String"},
      {Variant(u"text"), varOleStr, "OleStr"},
      {Bcd("1.5"), varFMTBcd, "FMTBcd"},
      {Variant(stamp), varSQLTimeStamp, "SQLTimeStamp"},
      {VarArrayOf({1, 2}), varArray | varVariant, "Array Variant"},
      {VarArrayCreate({0, 1}, varInteger), varArray | varInteger, "Array Integer"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VarType(c.Value), c.Type) << c.Name;
    EXPECT_EQ(VarTypeAsText(VarType(c.Value)), c.Name);
  }
  EXPECT_EQ(VarTypeAsText(varByRef | varInteger), "ByRef Integer");
  EXPECT_EQ(VarTypeAsText(0x00FF), "$00FF");
  EXPECT_EQ(VarTypeAsText(varDispatch), "Dispatch");
}

TEST_F(VariantTest, KindPredicates) {
  // Clear, Empty, Null, Ordinal, Float, Numeric, Str, Array
  const struct {
    Variant Value;
    const char* Flags;
  } cases[] = {
      {Variant(), "CE......"},          {Null(), "C.N....."},
      {Variant(true), "...O.N.."},      {Variant(5), "...O.N.."},
      {Variant(Int64{5}), "...O.N.."},  {Variant(1.5), "....FN.."},
      {Variant(1.5f), "....FN.."},      {Curr(1.5), "....FN.."},
      {Bcd("1"), "....FN.."},           {VarFromDateTime(1), "........"},
      {Variant("5"), "......S."},       {Variant(u"5"), "......S."},
      {VarArrayOf({1}), ".......A"},
  };
  for (const auto& c : cases) {
    std::string flags = {VarIsClear(c.Value) ? 'C' : '.',   VarIsEmpty(c.Value) ? 'E' : '.',
                         VarIsNull(c.Value) ? 'N' : '.',    VarIsOrdinal(c.Value) ? 'O' : '.',
                         VarIsFloat(c.Value) ? 'F' : '.',   VarIsNumeric(c.Value) ? 'N' : '.',
                         VarIsStr(c.Value) ? 'S' : '.',     VarIsArray(c.Value) ? 'A' : '.'};
    EXPECT_EQ(flags, c.Flags) << c.Value;
  }
}

// ---------------------------------------------------------------------------

TEST_F(VariantTest, ConversionsToText) {
  TDateTime morning = EncodeDate(2024, 3, 5) + EncodeTime(9, 7, 2, 0);
  CheckRows({
      {"Empty", [] { return VarToStr(Variant()); }, "String:"},
      {"Null gives empty text", [] { return VarToStr(Null()); }, "String:"},
      {"Null strictly", [] { return Null().AsString(); }, "EVariantTypeCastError"},
      {"True", [] { return VarToStr(true); }, "String:True"},
      {"False", [] { return VarToStr(false); }, "String:False"},
      {"Int64", [] { return VarToStr(Int64Max); }, "String:9223372036854775807"},
      {"LongWord", [] { return VarToStr(4000000000u); }, "String:4000000000"},
      {"15 digits", [] { return VarToStr(1.0 / 3); }, "String:0.333333333333333"},
      {"large", [] { return VarToStr(1e20); }, "String:1E20"},
      {"Single, 15 digits of its value", [] { return VarToStr(0.1f); }, "String:0.100000001490116"},
      {"Single", [] { return VarToStr(0.5f); }, "String:0.5"},
      {"Currency", [] { return VarToStr(Curr(1.5)); }, "String:1.5"},
      {"decimal separator", [] { return VarToStr(1.5, CommaSettings()); }, "String:1,5"},
      {"Currency, comma", [] { return VarToStr(Curr(-0.25), CommaSettings()); }, "String:-0,25"},
      {"date alone", [] { return VarToStr(Date(2024, 3, 5)); }, "String:3/5/2024"},
      {"date and time", [=] { return VarToStr(VarFromDateTime(morning)); }, "String:3/5/2024 9:07:02 AM"},
      {"time alone on day 0", [] { return VarToStr(VarFromDateTime(0.75)); }, "String:6:00:00 PM"},
      {"last moment", [] { return VarToStr(VarFromDateTime(EncodeDate(9999, 12, 31) + EncodeTime(23, 59, 59, 999))); },
       "String:12/31/9999 11:59:59 PM"},
      {"beyond the years", [] { return VarToStr(VarFromDateTime(1e10)); }, "EVariantTypeCastError"},
      {"NaN date", [] { return VarToStr(VarFromDateTime(std::nan(""))); }, "EVariantTypeCastError"},
      {"wide text", [] { return VarToStr(u"Grüße 你好"); }, "String:Grüße 你好"},
      {"object handle is its number", [] { return VarToStr(Variant(42)); }, "String:42"},
      {"array", [] { return VarToStr(VarArrayOf({1})); }, "EVariantTypeCastError"},
  });
  EXPECT_EQ(VarToWideStr(Variant("Grüße")), u"Grüße");
  EXPECT_EQ(VarToWideStr(Null()), u"");
  EXPECT_EQ(Variant(u"你好").AsWideString(), u"你好");
}

TEST_F(VariantTest, ConversionsToNumbers) {
  CheckRows({
      // Integer: halves to even.
      {"2.5", [] { return Variant(2.5).AsInteger(); }, "Integer:2"},
      {"3.5", [] { return Variant(3.5).AsInteger(); }, "Integer:4"},
      {"-2.5", [] { return Variant(-2.5).AsInteger(); }, "Integer:-2"},
      {"Currency 2.5", [] { return Curr(2.5).AsInteger(); }, "Integer:2"},
      {"Currency -3.5", [] { return Curr(-3.5).AsInteger(); }, "Integer:-4"},
      {"Currency 2.5001", [] { return Curr(2.5001).AsInteger(); }, "Integer:3"},
      {"text", [] { return Variant(" 12 ").AsInteger(); }, "Integer:12"},
      {"hex text", [] { return Variant("$1F").AsInteger(); }, "Integer:31"},
      {"float text", [] { return Variant("2.5").AsInteger(); }, "Integer:2"},
      {"bad text", [] { return Variant("12a").AsInteger(); }, "EVariantTypeCastError"},
      {"empty text", [] { return Variant("").AsInteger(); }, "EVariantTypeCastError"},
      {"Null", [] { return Null().AsInteger(); }, "EVariantTypeCastError"},
      {"Empty", [] { return Variant().AsInteger(); }, "Integer:0"},
      {"True", [] { return Variant(true).AsInteger(); }, "Integer:-1"},
      {"beyond Integer", [] { return Variant(3e9).AsInteger(); }, "EVariantOverflowError"},
      {"Int64 beyond Integer", [] { return Variant(Int64{1} << 40).AsInteger(); }, "EVariantOverflowError"},
      {"NaN", [] { return Variant(std::nan("")).AsInt64(); }, "EVariantOverflowError"},
      {"beyond Int64", [] { return Variant(1e19).AsInt64(); }, "EVariantOverflowError"},
      {"Int64 exact", [] { return Variant(Int64Max).AsInt64(); }, "Int64:9223372036854775807"},
      {"BCD halves to even", [] { return Bcd("4.5").AsInt64(); }, "Int64:4"},
      {"BCD beyond Int64", [] { return Bcd("99999999999999999999").AsInt64(); }, "EVariantOverflowError"},
      // Double and Currency.
      {"text to Double", [] { return Variant("1.5").AsDouble(); }, "Double:1.5"},
      {"exponent text", [] { return Variant("-2.5E3").AsDouble(); }, "Double:-2500"},
      {"True to Double", [] { return Variant(true).AsDouble(); }, "Double:-1"},
      {"Currency to Double", [] { return Curr(1.25).AsDouble(); }, "Double:1.25"},
      {"Double to Currency rounds", [] { return Variant(1.23456).AsCurrency(); }, "Currency:1.2346"},
      {"text to Currency", [] { return Variant("0.00005").AsCurrency(); }, "Currency:0.0001"},
      {"Double beyond Currency", [] { return Variant(1e20).AsCurrency(); }, "EVariantOverflowError"},
      {"Int64 beyond Currency", [] { return Variant(Int64Max).AsCurrency(); }, "EVariantOverflowError"},
      {"BCD to Currency", [] { return Bcd("1.23455").AsCurrency(); }, "Currency:1.2346"},
  });
  {
    TFormatSettingsPin comma(CommaSettings());
    EXPECT_EQ(Variant("1,5").AsDouble(), 1.5);
    EXPECT_THROW(Variant("1.5").AsDouble(), EVariantTypeCastError);
  }
  try {
    Variant("abc").AsInteger();
    FAIL();
  } catch (const EVariantTypeCastError& e) {
    EXPECT_EQ(e.Message, "Could not convert variant of type (String) into type (Integer)");
  }
}

TEST_F(VariantTest, ConversionsToBooleanAndDate) {
  CheckRows({
      {"true text", [] { return Variant("true").AsBoolean(); }, "Boolean:True"},
      {"FALSE text", [] { return Variant(" FALSE ").AsBoolean(); }, "Boolean:False"},
      {"zero text", [] { return Variant("0").AsBoolean(); }, "Boolean:False"},
      {"number text", [] { return Variant("2.5").AsBoolean(); }, "Boolean:True"},
      {"other text", [] { return Variant("yes").AsBoolean(); }, "EVariantTypeCastError"},
      {"zero", [] { return Variant(0.0).AsBoolean(); }, "Boolean:False"},
      {"non-zero", [] { return Variant(-3).AsBoolean(); }, "Boolean:True"},
      {"Empty", [] { return Variant().AsBoolean(); }, "Boolean:False"},
      {"Null", [] { return Null().AsBoolean(); }, "EVariantTypeCastError"},
      {"date text", [] { return VarFromDateTime(Variant("3/5/2024").AsDateTime()); }, "Date:3/5/2024"},
      {"number text", [] { return VarFromDateTime(Variant("45356").AsDateTime()); }, "Date:3/5/2024"},
      {"bad date", [] { return VarFromDateTime(Variant("5 March").AsDateTime()); }, "EVariantTypeCastError"},
      // Blanks separate the parts of a date text too; a four-digit year first
      // reads year, month, day.
      {"blanks", [] { return VarFromDateTime(Variant("2024 03 05").AsDateTime()); }, "Date:3/5/2024"},
      {"blanks, settings order", [] { return VarFromDateTime(Variant("3 5 2024").AsDateTime()); }, "Date:3/5/2024"},
      {"blanks and a time", [] { return VarFromDateTime(Variant("2024 03 05 6:00 PM").AsDateTime()); },
       "Date:3/5/2024 6:00:00 PM"},
      {"blanks, two numbers", [] { return VarFromDateTime(Variant("3 5").AsDateTime()); }, "EVariantTypeCastError"},
      {"integer", [] { return VarFromDateTime(Variant(45356).AsDateTime()); }, "Date:3/5/2024"},
  });
}

TEST_F(VariantTest, VarAsType) {
  CheckRows({
      {"same kind", [] { return VarAsType(5, varInteger); }, "Integer:5"},
      {"Byte in range", [] { return VarAsType(255, varByte); }, "Byte:255"},
      {"Byte overflow", [] { return VarAsType(256, varByte); }, "EVariantOverflowError"},
      {"Word negative", [] { return VarAsType(-1, varWord); }, "EVariantOverflowError"},
      {"ShortInt", [] { return VarAsType(-128, varShortInt); }, "ShortInt:-128"},
      {"Smallint from text", [] { return VarAsType("-12", varSmallint); }, "Smallint:-12"},
      {"Smallint overflow", [] { return VarAsType(40000, varSmallint); }, "EVariantOverflowError"},
      {"LongWord", [] { return VarAsType(Int64{4000000000}, varLongWord); }, "LongWord:4000000000"},
      {"Single overflow", [] { return VarAsType(1e40, varSingle); }, "EVariantOverflowError"},
      {"to String", [] { return VarAsType(1.5, varString); }, "String:1.5"},
      {"to OleStr", [] { return VarAsType(true, varOleStr); }, "OleStr:True"},
      {"to Currency", [] { return VarAsType("2.5", varCurrency); }, "Currency:2.5"},
      {"to Date", [] { return VarAsType(45356, varDate); }, "Date:3/5/2024"},
      {"to Boolean", [] { return VarAsType(0, varBoolean); }, "Boolean:False"},
      {"to Variant copies", [] { return VarAsType("x", varVariant); }, "String:x"},
      {"to Empty", [] { return VarAsType(5, varEmpty); }, "Empty:"},
      {"to Null", [] { return VarAsType(5, varNull); }, "Null:"},
      {"Null to Integer", [] { return VarAsType(Null(), varInteger); }, "EVariantTypeCastError"},
      {"Empty to String", [] { return VarAsType(Variant(), varString); }, "String:"},
      {"Empty to Integer", [] { return VarAsType(Variant(), varInteger); }, "Integer:0"},
      {"array to Integer", [] { return VarAsType(VarArrayOf({1}), varInteger); }, "EVariantTypeCastError"},
      {"array to itself", [] { return VarAsType(VarArrayOf({1}), varArray | varVariant); }, "Array Variant:"},
      {"to Dispatch", [] { return VarAsType(1, varDispatch); }, "EVariantTypeCastError"},
      {"to FMTBcd", [] { return VarAsType("1.50", varFMTBcd); }, "FMTBcd:1.5"},
      {"Double to FMTBcd", [] { return VarAsType(0.1, varFMTBcd); }, "FMTBcd:0.1"},
      {"to SQLTimeStamp", [] { return VarAsType(45356.75, varSQLTimeStamp); }, "SQLTimeStamp:3/5/2024 6:00:00 PM"},
      {"SQLTimeStamp out of range", [] { return VarAsType(1e10, varSQLTimeStamp); }, "EVariantOverflowError"},
  });
}

// ---------------------------------------------------------------------------

enum class BinOp { Add, Sub, Mul, Div, IntDiv, Mod, And, Or, Xor, Shl, Shr };

Variant Apply(const Variant& a, BinOp op, const Variant& b) {
  switch (op) {
    case BinOp::Add: return a + b;
    case BinOp::Sub: return a - b;
    case BinOp::Mul: return a * b;
    case BinOp::Div: return a / b;
    case BinOp::IntDiv: return VarIntDiv(a, b);
    case BinOp::Mod: return a % b;
    case BinOp::And: return a & b;
    case BinOp::Or: return a | b;
    case BinOp::Xor: return a ^ b;
    case BinOp::Shl: return a << b;
    case BinOp::Shr: return a >> b;
  }
  return Variant();
}

struct OpCase {
  Variant Left;
  BinOp Op;
  Variant Right;
  const char* Expected;
};

void CheckOps(const std::vector<OpCase>& cases) {
  for (const OpCase& c : cases)
    EXPECT_EQ(Outcome([&] { return Apply(c.Left, c.Op, c.Right); }), c.Expected)
        << c.Left << " op" << static_cast<int>(c.Op) << " " << c.Right;
}

TEST_F(VariantTest, ArithmeticOperators) {
  using enum BinOp;
  Variant maxInt = std::numeric_limits<Integer>::max();
  CheckOps({
      {1, Add, 2, "Integer:3"},
      {maxInt, Add, 1, "Int64:2147483648"},
      {Int64{1}, Add, 2, "Int64:3"},
      {4000000000u, Add, 1, "Int64:4000000001"},
      {Int64Max, Add, 1, "EVariantOverflowError"},
      {Int64Min, Sub, 1, "EVariantOverflowError"},
      {Int64Max, Mul, 2, "EVariantOverflowError"},
      {true, Add, 1, "Integer:0"},
      {1.5f, Add, 1.0f, "Double:2.5"},
      {1.5, Mul, 2, "Double:3"},
      {1e308, Mul, 10, "EVariantOverflowError"},
      // Strings.
      {"a", Add, "b", "String:ab"},
      {u"a", Add, u"b", "OleStr:ab"},
      {u"a", Add, "b", "String:ab"},
      {"1", Add, 2, "Integer:3"},
      {2, Add, "1.5", "Double:3.5"},
      {"6", Mul, "7", "Integer:42"},
      {"abc", Add, 1, "EVariantTypeCastError"},
      {"10", Sub, "4", "Integer:6"},
      // Null and Empty.
      {Null(), Add, 1, "Null:"},
      {1, Mul, Null(), "Null:"},
      {Null(), Add, "a", "Null:"},
      {Null(), And, true, "Null:"},
      {Variant(), Add, 1, "Integer:1"},
      {Variant(), Add, "a", "String:a"},
      {Variant(), Add, Variant(), "Integer:0"},
      {Variant(), Sub, "5", "Integer:-5"},
      // Division.
      {7, Div, 2, "Double:3.5"},
      {6, Div, 3, "Double:2"},
      {1, Div, 0, "EZeroDivide"},
      {0.0, Div, 0.0, "EZeroDivide"},
      {7, IntDiv, 2, "Integer:3"},
      {-7, IntDiv, 2, "Integer:-3"},
      {-7, Mod, 2, "Integer:-1"},
      {7, Mod, -2, "Integer:1"},
      {7.5, IntDiv, 2, "Integer:4"},
      {7, IntDiv, 0, "EDivByZero"},
      {7, Mod, 0, "EDivByZero"},
      {Int64Min, IntDiv, -1, "EVariantOverflowError"},
      {Int64Min, Mod, -1, "Int64:0"},
      // Currency stays exact.
      {Curr(1.5), Add, 1, "Currency:2.5"},
      {Curr(0.1), Add, Curr(0.2), "Currency:0.3"},
      {Curr(1.5), Mul, Curr(1.5), "Currency:2.25"},
      {Curr(0.0001), Mul, Curr(0.5), "Currency:0"},
      {Curr(0.0003), Mul, Curr(0.5), "Currency:0.0002"},
      {Curr(922337203685477.0), Add, Curr(1), "EVariantOverflowError"},
      {Curr(0.0001), Mul, Int64{1000000000000000}, "Currency:100000000000"},
      {Curr(1.5), Add, 0.25, "Double:1.75"},
      {Curr(3), Div, 2, "Double:1.5"},
      // FMTBcd stays decimal.
      {Bcd("0.1"), Add, Bcd("0.2"), "FMTBcd:0.3"},
      {Bcd("1.5"), Mul, 2, "FMTBcd:3"},
      {Bcd("1"), Div, 3, "FMTBcd:0.333333333333333333333333333333333333333333333333333333333333333"},
      {Bcd("1"), Div, 0, "EZeroDivide"},
      {Bcd("1.5"), Add, 0.25, "Double:1.75"},
      {Curr(1.25), Sub, Bcd("0.005"), "FMTBcd:1.245"},
      // Arrays take part in nothing.
      {VarArrayOf({1}), Add, 1, "EVariantInvalidOpError"},
  });
}

TEST_F(VariantTest, DateArithmetic) {
  using enum BinOp;
  Variant march5 = Date(2024, 3, 5);
  Variant stamp = VarSQLTimeStampCreate(EncodeDate(2024, 3, 5));
  CheckOps({
      {march5, Add, 1, "Date:3/6/2024"},
      {1, Add, march5, "Date:3/6/2024"},
      {march5, Sub, 0.25, "Date:3/4/2024 6:00:00 PM"},
      {march5, Add, "2", "Date:3/7/2024"},
      {march5, Sub, Date(2024, 3, 1), "Double:4"},
      {march5, Mul, 1, "Double:45356"},
      {stamp, Add, 1, "SQLTimeStamp:3/6/2024"},
      {stamp, Sub, march5, "Double:0"},
      {VarSQLTimeStampCreate(EncodeDate(9999, 12, 31)), Add, 1, "EVariantOverflowError"},
  });
}

TEST_F(VariantTest, LogicalAndBitwiseOperators) {
  using enum BinOp;
  CheckOps({
      {true, And, false, "Boolean:False"},
      {true, Or, false, "Boolean:True"},
      {true, Xor, true, "Boolean:False"},
      {"True", And, true, "Boolean:True"},
      {Variant(), Or, true, "Boolean:True"},
      {12, And, 10, "Integer:8"},
      {12, Or, 3, "Integer:15"},
      {12, Xor, 10, "Integer:6"},
      {true, And, 1, "Integer:1"},
      {Int64{1} << 40, Or, 1, "Int64:1099511627777"},
      {1, Shl, 4, "Integer:16"},
      {1, Shl, 33, "Integer:2"},
      {-1, Shr, 28, "Integer:15"},
      {Int64{1}, Shl, 40, "Int64:1099511627776"},
      {"x", And, 1, "EVariantTypeCastError"},
  });
  CheckRows({
      {"not True", [] { return ~Variant(true); }, "Boolean:False"},
      {"not 'false'", [] { return ~Variant("false"); }, "Boolean:True"},
      {"not 0", [] { return ~Variant(0); }, "Integer:-1"},
      {"not Empty", [] { return ~Variant(); }, "Integer:-1"},
      {"not Null", [] { return ~Null(); }, "Null:"},
      {"not Int64", [] { return ~Variant(Int64{0}); }, "Int64:-1"},
      {"-5", [] { return -Variant(5); }, "Integer:-5"},
      {"-Integer min", [] { return -Variant(std::numeric_limits<Integer>::min()); }, "Int64:2147483648"},
      {"-Int64 min", [] { return -Variant(Int64Min); }, "EVariantOverflowError"},
      {"-True", [] { return -Variant(true); }, "Integer:1"},
      {"-Empty", [] { return -Variant(); }, "Integer:0"},
      {"-Null", [] { return -Null(); }, "Null:"},
      {"-1.5", [] { return -Variant(1.5); }, "Double:-1.5"},
      {"-Single", [] { return -Variant(1.5f); }, "Single:-1.5"},
      {"-Currency", [] { return -Curr(1.25); }, "Currency:-1.25"},
      {"-BCD", [] { return -Bcd("1.25"); }, "FMTBcd:-1.25"},
      {"-text", [] { return -Variant("7"); }, "Integer:-7"},
      {"-array", [] { return -VarArrayOf({1}); }, "EVariantInvalidOpError"},
  });
}

TEST_F(VariantTest, InPlaceConcatenationKeepsCopiesApart) {
  Variant s = "ab";
  Variant copy = s;
  s += "cd";  // shared: must not touch copy
  EXPECT_EQ(VarToStr(copy), "ab");
  EXPECT_EQ(VarToStr(s), "abcd");
  const std::string* before = s.StringData();
  s += u"é";
  s += s;
  EXPECT_EQ(s.StringData(), before);  // appended in place
  EXPECT_EQ(VarToStr(s), "abcdéabcdé");
  EXPECT_EQ(VarType(s), varString);
  Variant n = 1;
  n += 2;  // not a string: plain addition
  EXPECT_EQ(Outcome([&] { return n; }), "Integer:3");
  Variant w = u"x";
  w += u"y";
  EXPECT_EQ(Outcome([&] { return w; }), "OleStr:xy");
}

// ---------------------------------------------------------------------------

struct CompareCase {
  Variant Left;
  Variant Right;
  int Expected;  // a TVariantRelationship, or -1 for EVariantTypeCastError, -2 for EVariantInvalidOpError
};

TEST_F(VariantTest, Comparisons) {
  constexpr int EQ = vrEqual, LT = vrLessThan, GT = vrGreaterThan, NE = vrNotEqual;
  Variant march5 = Date(2024, 3, 5);
  TSQLTimeStamp early{2024, 3, 5, 9, 0, 0, 0}, late{2024, 3, 5, 9, 0, 0, 1};
  const CompareCase cases[] = {
      {1, 2, LT},
      {2, 1, GT},
      {2, 2, EQ},
      {1, 1.0, EQ},
      {Int64Max, Int64Max - 1, GT},  // beyond a double's precision
      {Curr(1.5), 1.5, EQ},
      {Curr(2), 2, EQ},
      {Curr(0.0001), 0, GT},
      {Bcd("0.1"), Curr(0.1), EQ},
      {Bcd("12345678901234567890.5"), Bcd("12345678901234567890.4"), GT},
      {Bcd("2"), 1, GT},
      {std::nan(""), std::nan(""), NE},
      {std::nan(""), 1, NE},
      // Null and Empty.
      {Null(), Null(), EQ},
      {Null(), 1, NE},
      {1, Null(), NE},
      {Null(), Variant(), NE},
      {Null(), "", NE},
      {Variant(), Variant(), EQ},
      {Variant(), 0, EQ},
      {Variant(), "", EQ},
      {Variant(), false, EQ},
      {Variant(), 1, LT},
      {Variant(), "a", LT},
      // Strings: case-sensitive, code point order.
      {"a", "b", LT},
      {"a", "A", GT},
      {"abc", "abc", EQ},
      {"ab", "abc", LT},
      {u"b", "a", GT},
      {"é", "z", GT},
      // Mixed.
      {"10", 9, GT},
      {9, "10", LT},
      {"1.5", 1.5, EQ},
      {"abc", 1, -1},
      {true, false, GT},
      {true, "true", EQ},
      {true, -1, EQ},
      {true, 1, LT},
      {true, "maybe", -1},
      {march5, "3/5/2024", EQ},
      {march5, 45356, EQ},
      {march5, "3/6/2024", LT},
      {VarSQLTimeStampCreate(late), VarSQLTimeStampCreate(early), GT},
      {VarSQLTimeStampCreate(EncodeDate(2024, 3, 5)), march5, EQ},
      {VarArrayOf({1}), VarArrayOf({1}), -2},
      {VarArrayOf({1}), 1, -2},
  };
  for (const CompareCase& c : cases) {
    int rel;
    try {
      rel = VarCompareValue(c.Left, c.Right);
    } catch (const EVariantTypeCastError&) {
      rel = -1;
    } catch (const EVariantInvalidOpError&) {
      rel = -2;
    }
    EXPECT_EQ(rel, c.Expected) << c.Left << " vs " << c.Right;
    if (rel < 0) continue;
    // The operators agree with VarCompareValue.
    EXPECT_EQ(c.Left == c.Right, rel == EQ) << c.Left << " = " << c.Right;
    EXPECT_EQ(c.Left != c.Right, rel != EQ) << c.Left << " <> " << c.Right;
    EXPECT_EQ(c.Left < c.Right, rel == LT) << c.Left << " < " << c.Right;
    EXPECT_EQ(c.Left <= c.Right, rel == LT || rel == EQ) << c.Left << " <= " << c.Right;
    EXPECT_EQ(c.Left > c.Right, rel == GT) << c.Left << " > " << c.Right;
    EXPECT_EQ(c.Left >= c.Right, rel == GT || rel == EQ) << c.Left << " >= " << c.Right;
  }
}

TEST_F(VariantTest, SameTypeAndValue) {
  const struct {
    Variant Left, Right;
    bool Expected;
  } cases[] = {
      {1, 1, true},
      {1, 1.0, false},
      {Null(), Null(), true},
      {Variant(), Variant(), true},
      {"a", "a", true},
      {"a", "A", false},
      {std::nan(""), std::nan(""), false},
      {VarArrayOf({1, "a"}), VarArrayOf({1, "a"}), true},
      {VarArrayOf({1, "a"}), VarArrayOf({1, "b"}), false},
      {VarArrayOf({1}), VarArrayOf({1, 2}), false},
      {Bcd("1.5"), Bcd("1.50"), true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(VarSameTypeAndValue(c.Left, c.Right), c.Expected) << c.Left << " " << c.Right;
}

// ---------------------------------------------------------------------------

TEST_F(VariantTest, ArrayBoundsElementsAndConversionOnPut) {
  Variant a = VarArrayCreate({1, 3}, varInteger);
  EXPECT_EQ(VarType(a), varArray | varInteger);
  EXPECT_TRUE(VarIsArray(a));
  EXPECT_EQ(VarArrayDimCount(a), 1);
  EXPECT_EQ(VarArrayLowBound(a, 1), 1);
  EXPECT_EQ(VarArrayHighBound(a, 1), 3);
  EXPECT_EQ(Outcome([&] { return VarArrayGet(a, {2}); }), "Integer:0");
  VarArrayPut(a, "5", {2});
  EXPECT_EQ(Outcome([&] { return VarArrayGet(a, {2}); }), "Integer:5");
  CheckRows({
      {"put bad text", [&] { VarArrayPut(a, "x", {1}); return Variant(); }, "EVariantTypeCastError"},
      {"below low", [&] { return VarArrayGet(a, {0}); }, "EVariantBadIndexError"},
      {"above high", [&] { return VarArrayGet(a, {4}); }, "EVariantBadIndexError"},
      {"put outside", [&] { VarArrayPut(a, 1, {4}); return Variant(); }, "EVariantBadIndexError"},
      {"two indexes", [&] { return VarArrayGet(a, {1, 1}); }, "EVariantInvalidArgError"},
      {"dimension 2", [&] { return Variant(VarArrayHighBound(a, 2)); }, "EVariantInvalidArgError"},
      {"not an array", [] { return VarArrayGet(Variant(1), {0}); }, "EVariantInvalidArgError"},
      {"bounds of a scalar", [] { return Variant(VarArrayLowBound(Variant(1), 1)); }, "EVariantInvalidArgError"},
  });
  EXPECT_EQ(VarArrayDimCount(Variant(1)), 0);

  // Initial elements follow the element type.
  EXPECT_EQ(Outcome([] { return VarArrayGet(VarArrayCreate({0, 0}, varVariant), {0}); }), "Empty:");
  EXPECT_EQ(Outcome([] { return VarArrayGet(VarArrayCreate({0, 0}, varString), {0}); }), "String:");
  EXPECT_EQ(Outcome([] { return VarArrayGet(VarArrayCreate({0, 0}, varBoolean), {0}); }), "Boolean:False");
  EXPECT_EQ(Outcome([] { return VarArrayGet(VarArrayCreate({0, 0}, varDouble), {0}); }), "Double:0");
}

TEST_F(VariantTest, ArrayCreationErrors) {
  CheckRows({
      {"empty", [] { return VarArrayCreate({0, -1}, varVariant); }, "Array Variant:"},
      {"odd bounds", [] { return VarArrayCreate({0, 1, 2}, varVariant); }, "EVariantArrayCreateError"},
      {"no bounds", [] { return VarArrayCreate({}, varVariant); }, "EVariantArrayCreateError"},
      {"four dimensions", [] { return VarArrayCreate({0, 1, 0, 1, 0, 1, 0, 1}, varVariant); }, "EVariantArrayCreateError"},
      {"high below low", [] { return VarArrayCreate({5, 3}, varVariant); }, "EVariantArrayCreateError"},
      {"Null elements", [] { return VarArrayCreate({0, 1}, varNull); }, "EVariantArrayCreateError"},
      {"huge", [] { return VarArrayCreate({0, 100000, 0, 100000}, varByte); }, "EVariantArrayCreateError"},
  });
  Variant empty = VarArrayCreate({0, -1}, varVariant);
  EXPECT_EQ(VarArrayHighBound(empty, 1), -1);
}

TEST_F(VariantTest, MultiDimensionalArraysKeepEveryElementApart) {
  Variant a = VarArrayCreate({-1, 1, 2, 4, 0, 1}, varInteger);
  EXPECT_EQ(VarArrayDimCount(a), 3);
  EXPECT_EQ(VarArrayLowBound(a, 2), 2);
  EXPECT_EQ(VarArrayHighBound(a, 3), 1);
  auto code = [](int i, int j, int k) { return (i + 1) * 100 + j * 10 + k; };
  for (int i = -1; i <= 1; ++i)
    for (int j = 2; j <= 4; ++j)
      for (int k = 0; k <= 1; ++k) VarArrayPut(a, code(i, j, k), {i, j, k});
  for (int i = -1; i <= 1; ++i)
    for (int j = 2; j <= 4; ++j)
      for (int k = 0; k <= 1; ++k) {
        const Integer idx[] = {i, j, k};
        EXPECT_EQ(VarArrayGet(a, idx, 3).AsInteger(), code(i, j, k));
      }
}

TEST_F(VariantTest, RedimensionKeepsRemainingElements) {
  Variant a = VarArrayCreate({0, 1, 1, 2}, varVariant);
  for (int i = 0; i <= 1; ++i)
    for (int j = 1; j <= 2; ++j) VarArrayPut(a, i * 10 + j, {i, j});
  Variant before = a;
  VarArrayRedim(a, 4);
  EXPECT_EQ(VarArrayHighBound(a, 2), 4);
  EXPECT_EQ(VarArrayHighBound(a, 1), 1);
  for (int i = 0; i <= 1; ++i)
    for (int j = 1; j <= 2; ++j) EXPECT_EQ(VarArrayGet(a, {i, j}).AsInteger(), i * 10 + j);
  EXPECT_TRUE(VarIsEmpty(VarArrayGet(a, {1, 4})));
  EXPECT_EQ(VarArrayHighBound(before, 2), 2);  // the copy kept its shape

  VarArrayRedim(a, 1);
  EXPECT_EQ(VarArrayGet(a, {1, 1}).AsInteger(), 11);
  EXPECT_THROW(VarArrayGet(a, {0, 2}), EVariantBadIndexError);
  VarArrayRedim(a, 0);  // empty last dimension
  EXPECT_THROW(VarArrayGet(a, {0, 1}), EVariantBadIndexError);
  EXPECT_THROW(VarArrayRedim(a, -1), EVariantArrayCreateError);
  Variant s = 1;
  EXPECT_THROW(VarArrayRedim(s, 3), EVariantInvalidArgError);
}

TEST_F(VariantTest, ArrayCopiesAreValues) {
  Variant a = VarArrayOf({1, "a", Null()});
  EXPECT_EQ(VarArrayLowBound(a, 1), 0);
  EXPECT_EQ(VarArrayHighBound(a, 1), 2);
  EXPECT_TRUE(VarIsNull(VarArrayGet(a, {2})));
  Variant b = a;
  VarArrayPut(b, 99, {0});
  EXPECT_EQ(VarArrayGet(a, {0}).AsInteger(), 1);
  EXPECT_EQ(VarArrayGet(b, {0}).AsInteger(), 99);
  // An array put into itself holds its earlier value, not a cycle.
  VarArrayPut(a, a, {1});
  Variant inner = VarArrayGet(a, {1});
  EXPECT_TRUE(VarIsArray(inner));
  EXPECT_EQ(VarToStr(VarArrayGet(inner, {1})), "a");
  // Nested arrays in a Variant array.
  Variant nested = VarArrayOf({VarArrayOf({1, 2}), 3});
  EXPECT_EQ(VarArrayGet(VarArrayGet(nested, {0}), {1}).AsInteger(), 2);
}

}  // namespace
