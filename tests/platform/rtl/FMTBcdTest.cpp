#include "platform/rtl/FMTBcd.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace {

TFormatSettings English() { return TFormatSettings::English(); }

TFormatSettings Comma() {
  TFormatSettings fs = TFormatSettings::English();
  fs.DecimalSeparator = ',';
  return fs;
}

std::string Text(const TBcd& b) { return BcdToStr(b, English()); }
TBcd B(const char* text) { return StrToBcd(text, English()); }

TEST(FMTBcdTest, PackedLayout) {
  TBcd b = B("-12.34");
  EXPECT_EQ(b.Precision, 4);
  EXPECT_EQ(b.SignSpecialPlaces, 0x80 | 2);
  EXPECT_EQ(b.Fraction[0], 0x12);
  EXPECT_EQ(b.Fraction[1], 0x34);
  TBcd small = B("0.005");
  EXPECT_EQ(small.Precision, 3);
  EXPECT_EQ(small.SignSpecialPlaces, 3);
  EXPECT_EQ(small.Fraction[0], 0x00);
  EXPECT_EQ(small.Fraction[1], 0x50);
}

TEST(FMTBcdTest, TextBothWays) {
  const struct {
    const char* In;
    const char* Out;  // nullptr: bad text
  } cases[] = {
      {"0", "0"},
      {"-0", "0"},
      {"1.50", "1.5"},
      {" +007.25 ", "7.25"},
      {".5", "0.5"},
      {"5.", "5"},
      {"-0.0001", "-0.0001"},
      {"123456789012345678901234567890.123456789", "123456789012345678901234567890.123456789"},
      // 64 digits at most: decimals beyond are rounded off, integer digits are not.
      {"12345678901234567890123456789012345678901234567890.123456789012345678",
       "12345678901234567890123456789012345678901234567890.12345678901235"},
      {"1234567890123456789012345678901234567890123456789012345678901234", "1234567890123456789012345678901234567890123456789012345678901234"},
      {"12345678901234567890123456789012345678901234567890123456789012345", nullptr},
      {"", nullptr},
      {"-", nullptr},
      {"1.2.3", nullptr},
      {"1,5", nullptr},
      {"1e5", nullptr},
      {"12a", nullptr},
  };
  for (const auto& c : cases) {
    TBcd b;
    bool ok = TryStrToBcd(c.In, b, English());
    EXPECT_EQ(ok, c.Out != nullptr) << c.In;
    if (ok && c.Out) {
      EXPECT_EQ(Text(b), c.Out) << c.In;
    }
  }
  EXPECT_EQ(BcdToStr(StrToBcd("1,5", Comma()), Comma()), "1,5");
  EXPECT_THROW(StrToBcd("x", English()), EBcdException);
  // At most 63 decimals.
  std::string zeros(62, '0');
  EXPECT_EQ(Text(B(("0." + zeros + "15").c_str())), "0." + zeros + "2");
}

TEST(FMTBcdTest, CompareIgnoresPlacesAndLeadingZeros) {
  const struct {
    const char* A;
    const char* B;
    int Expected;
  } cases[] = {
      {"1.5", "1.50", 0},   {"0", "-0", 0},        {"-1", "1", -1},     {"-2", "-1", -1},
      {"10", "9.99", 1},    {"0.001", "0.01", -1}, {"007", "7.000", 0},
      {"99999999999999999999.000000000000000000001", "99999999999999999999", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(BcdCompare(B(c.A), B(c.B)), c.Expected) << c.A << " " << c.B;
}

TEST(FMTBcdTest, Conversions) {
  EXPECT_DOUBLE_EQ(BcdToDouble(B("-12.34")), -12.34);
  EXPECT_EQ(BcdToDouble(B("0")), 0.0);
  EXPECT_EQ(Text(DoubleToBcd(0.1)), "0.1");
  EXPECT_EQ(Text(DoubleToBcd(-1.5e20)), "-150000000000000000000");
  EXPECT_EQ(Text(DoubleToBcd(1.0 / 3)), "0.333333333333333");
  EXPECT_THROW(DoubleToBcd(1.0 / 0.0), EBcdOverflowException);
  EXPECT_EQ(Text(IntegerToBcd(INT64_MIN)), "-9223372036854775808");
  EXPECT_EQ(Text(CurrToBcd(Currency::FromScaled(-12345))), "-1.2345");

  Currency c;
  ASSERT_TRUE(BcdToCurr(B("1.23455"), c));
  EXPECT_EQ(c.Value, 12346);  // halves away from zero
  ASSERT_TRUE(BcdToCurr(B("-1.23455"), c));
  EXPECT_EQ(c.Value, -12346);
  EXPECT_FALSE(BcdToCurr(B("1000000000000000"), c));

  const struct {
    const char* In;
    Int64 Out;
  } rounding[] = {{"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"2.5000001", 3}, {"0.4", 0}, {"-9223372036854775808", INT64_MIN}};
  for (const auto& r : rounding) {
    Int64 v = 0;
    ASSERT_TRUE(TryBcdToInt64(B(r.In), v)) << r.In;
    EXPECT_EQ(v, r.Out) << r.In;
  }
  Int64 v;
  EXPECT_FALSE(TryBcdToInt64(B("9223372036854775808"), v));
}

TEST(FMTBcdTest, ArithmeticIsExact) {
  EXPECT_EQ(Text(BcdAdd(B("0.1"), B("0.2"))), "0.3");
  EXPECT_EQ(Text(BcdAdd(B("-5.25"), B("2"))), "-3.25");
  EXPECT_EQ(Text(BcdSubtract(B("1"), B("1.0001"))), "-0.0001");
  EXPECT_EQ(Text(BcdMultiply(B("-1.5"), B("-1.5"))), "2.25");
  EXPECT_EQ(Text(BcdMultiply(B("12345678901234567890"), B("98765432109876543210"))),
            "1219326311370217952237463801111263526900");
  EXPECT_EQ(Text(BcdDivide(B("1"), B("8"))), "0.125");
  EXPECT_EQ(Text(BcdDivide(B("2"), B("3"))),
            "0.666666666666666666666666666666666666666666666666666666666666667");
  EXPECT_EQ(Text(BcdDivide(B("100"), B("0.04"))), "2500");
  EXPECT_EQ(Text(BcdNegate(B("1.5"))), "-1.5");
  EXPECT_THROW(BcdDivide(B("1"), B("0.000")), EZeroDivide);
  std::string big(64, '9');
  EXPECT_THROW(BcdAdd(B(big.c_str()), B("1")), EBcdOverflowException);
  // A product of 66 decimals loses the last three.
  EXPECT_EQ(Text(BcdMultiply(B("0.33333333333333333333333333333333"), B("3.0000000000000000000000000000000001"))),
            "0.999999999999999999999999999999990033333333333333333333333333333");
}

TEST(FMTBcdTest, VariantKind) {
  TFormatSettingsPin pin(English());
  Variant v = VarFMTBcdCreate("1.25");
  EXPECT_TRUE(VarIsFMTBcd(v));
  EXPECT_EQ(VarType(v), VarFMTBcd());
  EXPECT_EQ(VarToStr(v), "1.25");
  EXPECT_DOUBLE_EQ(v.AsDouble(), 1.25);
  EXPECT_EQ(v.AsCurrency().Value, 12500);
  EXPECT_DOUBLE_EQ(v.AsDateTime(), 1.25);
  EXPECT_EQ(BcdToStr(VarToBcd(Variant("7.5"))), "7.5");
  EXPECT_EQ(BcdToStr(VarToBcd(Variant(Currency::FromScaled(5)))), "0.0005");
  EXPECT_THROW(VarToBcd(Null()), EVariantTypeCastError);
  EXPECT_THROW(VarToBcd(Variant("x")), EVariantTypeCastError);
  Variant copy = v;
  copy = -copy;
  EXPECT_EQ(VarToStr(v), "1.25");  // copies do not share changes
  EXPECT_EQ(VarToStr(copy), "-1.25");
}

}  // namespace
