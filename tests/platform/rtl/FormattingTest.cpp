#include "platform/rtl/Formatting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace {

TFormatSettings English() { return TFormatSettings::English(); }

TFormatSettings German() {
  TFormatSettings fs = TFormatSettings::English();
  fs.DecimalSeparator = ',';
  fs.ThousandSeparator = '.';
  fs.CurrencyString = "€";
  fs.CurrencyFormat = 3;
  fs.NegCurrFormat = 8;
  return fs;
}

struct FloatCase {
  double Value;
  const char* Expected;
};

TEST(FloatToStrTest, FifteenSignificantDigitsShortestForm) {
  const FloatCase cases[] = {
      {0, "0"},
      {1.5, "1.5"},
      {-1.5, "-1.5"},
      {100, "100"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {123456789012345.0, "123456789012345"},
      {1e15, "1E15"},
      {1234567890123456.0, "1.23456789012346E15"},
      {1e-4, "0.0001"},
      {1e-5, "1E-5"},
      {-1.5e-7, "-1.5E-7"},
      {1e300, "1E300"},
      {-0.0, "0"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.Value, English()), c.Expected) << c.Value;
  EXPECT_EQ(FloatToStr(1.5, German()), "1,5");
}

TEST(FloatToStrFTest, FormatsPrecisionAndDigits) {
  struct Case {
    double Value;
    TFloatFormat Format;
    int Precision, Digits;
    const char* Expected;
  } cases[] = {
      {1234.5678, ffFixed, 15, 2, "1234.57"},
      {1234.5678, ffNumber, 15, 2, "1,234.57"},
      {-1234.5, ffNumber, 15, 0, "-1,235"},
      {0.125, ffFixed, 15, 2, "0.13"},
      {1.005, ffFixed, 15, 2, "1.01"},  // 15 digits first, then halves up
      {2.5, ffFixed, 15, 0, "3"},
      {-0.001, ffFixed, 15, 2, "0.00"},
      {1e20, ffFixed, 15, 2, "1E20"},
      {999.996, ffNumber, 15, 2, "1,000.00"},
      {1234.5, ffExponent, 4, 2, "1.235E+03"},
      {-0.00012345, ffExponent, 3, 0, "-1.23E-4"},
      {0, ffExponent, 3, 2, "0.00E+00"},
      {123456, ffGeneral, 4, 0, "1.235E5"},
      {123.456, ffGeneral, 4, 0, "123.5"},
      {1234.5, ffCurrency, 15, 2, "$1,234.50"},
      {-1234.5, ffCurrency, 15, 2, "($1,234.50)"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FloatToStrF(c.Value, c.Format, c.Precision, c.Digits, English()), c.Expected) << c.Value;
  EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 2, German()), "1.234,50 €");
  EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2, German()), "-1.234,50 €");
}

TEST(FloatToStrFTest, EveryNegativeCurrencyLayout) {
  const char* expected[16] = {"($1)", "-$1", "$-1", "$1-", "(1$)", "-1$", "1-$", "1$-",
                              "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
  TFormatSettings fs = English();
  for (int i = 0; i < 16; ++i) {
    fs.NegCurrFormat = static_cast<Byte>(i);
    EXPECT_EQ(FloatToStrF(-1, ffCurrency, 15, 0, fs), expected[i]) << i;
  }
  const char* positive[4] = {"$1", "1$", "$ 1", "1 $"};
  for (int i = 0; i < 4; ++i) {
    fs.CurrencyFormat = static_cast<Byte>(i);
    EXPECT_EQ(FloatToStrF(1, ffCurrency, 15, 0, fs), positive[i]) << i;
  }
}

TEST(FormatFloatTest, PicturesTable) {
  struct Case {
    const char* Format;
    double Value;
    const char* Expected;
  } cases[] = {
      {"0.00", 1.005, "1.01"},
      {"0.00", 0.125, "0.13"},
      {"0.00", -0.001, "0.00"},
      {"0", 0.5, "1"},
      {"0", -0.5, "-1"},
      {"0", 2.5, "3"},
      {"#,##0.00", 1234567.891, "1,234,567.89"},
      {"#,##0.00", -1234.5, "-1,234.50"},
      {"#,##0", 1234567, "1,234,567"},
      {"0,000", 5, "0,005"},
      {"#.##", 0.5, ".5"},
      {"#", 0, ""},
      {"0.##", 1, "1"},
      {"0.##", 1.5, "1.5"},
      {"0.0#", 1.5, "1.5"},
      {"0.0#", 1.567, "1.57"},
      {"000", 7, "007"},
      {"000-000", 123456, "123-456"},
      {"0", 1e20, "1E20"},
      {"#,##0", 1e17, "100,000,000,000,000,000"},
      {".00", 12.5, "12.50"},
      {"0.00E+00", 1234, "1.23E+03"},
      {"0.00E-00", 1234, "1.23E03"},
      {"0.00E-00", 0.00123, "1.23E-03"},
      {"0.0e+0", -12345, "-1.2e+4"},
      {"00.0E+0", 1234, "12.3E+2"},
      {"0.00E+00", 0, "0.00E+00"},
      {"0.00;(0.00);'zero'", -5, "(5.00)"},
      {"0.00;(0.00);'zero'", 5, "5.00"},
      {"0.00;(0.00);'zero'", 0, "zero"},
      {"0.0;(0.0);'zero'", -0.01, "zero"},
      {"0;;'zero'", -5, "-5"},
      {"'Total: '0.00", 3, "Total: 3.00"},
      {"\"x;y\"0", 2, "x;y2"},
      {"0 'kg'", 12.4, "12 kg"},
      {"", 1.5, "1.5"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatFloat(c.Format, c.Value, English()), c.Expected) << c.Format << " " << c.Value;
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, German()), "1.234,50");
  EXPECT_EQ(FormatFloat("0.00", std::numeric_limits<double>::quiet_NaN(), English()), "NAN");
}

TEST(FormatFloatTest, CurrencyIsExact) {
  EXPECT_EQ(FormatCurr("0.0000", Currency::FromScaled(12345), English()), "1.2345");
  EXPECT_EQ(FormatCurr("#,##0.00", Currency::FromScaled(INT64_MIN), English()),
            "-922,337,203,685,477.58");
  EXPECT_EQ(FormatCurr("0.00", Currency::FromScaled(12350), English()), "1.24");
  EXPECT_EQ(FormatCurr("0.00", Currency::FromScaled(12349), English()), "1.23");
}

TEST(FormatTest, ConversionsTable) {
  const std::string owned = "b";
  struct Case {
    const char* Format;
    TVarRecs Args;
    const char* Expected;
  };
  const Case cases[] = {
      {"", {}, ""},
      {"plain", {}, "plain"},
      {"100%%", {}, "100%"},
      {"%d", {42}, "42"},
      {"[%5d]", {42}, "[   42]"},
      {"[%-5d]", {42}, "[42   ]"},
      {"%.4d", {-42}, "-0042"},
      {"%d", {static_cast<long long>(INT64_MIN)}, "-9223372036854775808"},
      {"%d", {UINT64_MAX}, "18446744073709551615"},
      {"%u", {-1}, "4294967295"},
      {"%x", {255}, "FF"},
      {"%.4X", {255}, "00FF"},
      {"%x", {-1}, "FFFFFFFF"},
      {"%x", {-1LL}, "FFFFFFFFFFFFFFFF"},
      {"%s-%s", {"a", owned}, "a-b"},
      {"%1:s %0:s", {"a", "b"}, "b a"},
      {"%0:s %s %s", {"a", "b", "c"}, "a b c"},
      {"%*d", {5, 42}, "   42"},
      {"[%-*d]", {4, 7}, "[7   ]"},
      {"[%*d]", {-4, 7}, "[7   ]"},
      {"%.*f", {1, 2.25}, "2.3"},
      {"%.3s", {"abcdef"}, "abc"},
      {"[%.1s]", {"中文"}, "[]"},  // never half a character
      {"%.3s", {"中文"}, "中"},
      {"%s", {'x'}, "x"},
      {"%s", {"%d%n%s"}, "%d%n%s"},  // user text is data
      {"%f", {1.5}, "1.50"},
      {"%.1f", {0.05}, "0.1"},
      {"%e", {1234.5}, "1.23450000000000E+003"},
      {"%.3e", {1234.5}, "1.23E+003"},
      {"%g", {0.5}, "0.5"},
      {"%n", {1234567.5}, "1,234,567.50"},
      {"%m", {-5.0}, "($5.00)"},
      {"%m", {Currency::FromScaled(12345)}, "$1.23"},
      {"%.4f", {Currency::FromScaled(-12345)}, "-1.2345"},
      {"%8.2f|", {3.14159}, "    3.14|"},
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.Format, c.Args, English()), c.Expected) << c.Format;
  EXPECT_EQ(Format("%.2f", {1.5}, German()), "1,50");
  int marker = 0;
  EXPECT_EQ(Format("%p", {static_cast<const void*>(&marker)}, English()).size(), sizeof(void*) * 2);
}

TEST(FormatTest, BadFormatsOrArgumentsRaiseConvertError) {
  struct Case {
    const char* Format;
    TVarRecs Args;
  };
  const Case cases[] = {
      {"%d", {}},          {"%d %d", {1}},      {"%d", {1.5}},          {"%s", {1}},
      {"%f", {"x"}},       {"%x", {2.0}},       {"%z", {1}},            {"100%", {}},
      {"%5", {1}},         {"%.d", {1}},        {"%*d", {1.0, 2}},      {"%p", {1}},
      {"%99999999999d", {1}}, {"%3:d", {1, 2}}, {"%s", {true}},
  };
  for (const auto& c : cases) {
    try {
      Format(c.Format, c.Args, English());
      ADD_FAILURE() << "no error for " << c.Format;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, "Format '" + std::string(c.Format) + "' invalid or incompatible with argument");
    }
  }
}

TEST(StrToFloatTest, ReadsDecimalTextWithTheSettingsSeparator) {
  const struct {
    const char* Text;
    double Expected;
  } good[] = {
      {"1.5", 1.5},     {" -2.5e3 ", -2500}, {"+.5", 0.5},        {"1.", 1.0},   {"0", 0},
      {"1E-400", 0},    {"007", 7},          {"1.7976931348623157e308", 1.7976931348623157e308},
      {"0.1", 0.1},
  };
  for (const auto& c : good) EXPECT_EQ(StrToFloat(c.Text, English()), c.Expected) << c.Text;

  const char* bad[] = {"", " ", "1,5", "abc", "1e", "1.5x", "--1", "1e999", "1 000", ".", "e5", "1e+"};
  for (const char* text : bad) {
    Extended v = 42;
    EXPECT_FALSE(TryStrToFloat(text, v, English())) << text;
    EXPECT_EQ(v, 42);
    try {
      StrToFloat(text, English());
      ADD_FAILURE() << text;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, "'" + std::string(text) + "' is not a valid floating point value");
    }
  }
  EXPECT_EQ(StrToFloat("1,5", German()), 1.5);
  EXPECT_THROW(StrToFloat("1.5", German()), EConvertError);
  EXPECT_EQ(StrToFloatDef("x", 7, English()), 7);
}

TEST(StrToCurrTest, ExactDecimalsAndRange) {
  const struct {
    const char* Text;
    int64_t Scaled;
  } good[] = {
      {"1.23456", 12346},
      {"-1.23455", -12346},
      {"1.23454", 12345},
      {"0.00005", 1},
      {"0.00004", 0},
      {"922337203685477.5807", INT64_MAX},
      {"-922337203685477.5808", INT64_MIN},
      {"1e3", 10000000},
      {"12345678901234.5678", 123456789012345678},
  };
  for (const auto& c : good) EXPECT_EQ(StrToCurr(c.Text, English()).Value, c.Scaled) << c.Text;
  for (const char* text : {"922337203685477.5808", "1e15", "abc", "", "1.2.3"})
    EXPECT_THROW(StrToCurr(text, English()), EConvertError) << text;
  EXPECT_EQ(StrToCurrDef("x", Currency::FromScaled(5), English()).Value, 5);
  EXPECT_EQ(StrToCurr("2,5", German()).Value, 25000);
}

TEST(CurrToStrTest, ExactTextAndFloatConversions) {
  EXPECT_EQ(CurrToStr(Currency::FromScaled(15000), English()), "1.5");
  EXPECT_EQ(CurrToStr(Currency::FromScaled(-1), English()), "-0.0001");
  EXPECT_EQ(CurrToStr(Currency::FromScaled(1000000), English()), "100");
  EXPECT_EQ(CurrToStr(Currency::FromScaled(INT64_MIN), English()), "-922337203685477.5808");
  EXPECT_EQ(CurrToStrF(Currency::FromScaled(12345678), ffNumber, 2, English()), "1,234.57");

  EXPECT_EQ(FloatToCurr(1.00005).Value, 10001);
  EXPECT_EQ(FloatToCurr(-2.5).Value, -25000);
  EXPECT_THROW(FloatToCurr(1e300), EConvertError);
  EXPECT_THROW(FloatToCurr(std::nan("")), EConvertError);
}

TEST(NumberTextTest, WrittenTextReadsBack) {
  // A fixed pseudo-random walk over magnitudes and digit patterns.
  uint64_t state = 0x9E3779B97F4A7C15ull;
  auto next = [&state]() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  for (const TFormatSettings& fs : {English(), German()}) {
    for (int i = 0; i < 2000; ++i) {
      double mantissa = static_cast<double>(next() % 1000000000000ull) / 1e6;
      double value = std::ldexp(mantissa, static_cast<int>(next() % 200) - 100) * ((i & 1) ? -1 : 1);
      std::string general = FloatToStr(value, fs);
      EXPECT_EQ(FloatToStr(StrToFloat(general, fs), fs), general);
      std::string exponent = FloatToStrF(value, ffExponent, 15, 0, fs);
      EXPECT_EQ(FloatToStrF(StrToFloat(exponent, fs), ffExponent, 15, 0, fs), exponent);
      // The picture and the fixed format round alike (the fixed format turns
      // to exponents beyond 15 integer digits).
      if (std::fabs(value) < 1e15) {
        EXPECT_EQ(FormatFloat("0.000", value, fs), FloatToStrF(value, ffFixed, 15, 3, fs)) << general;
      }

      Currency c = Currency::FromScaled(static_cast<int64_t>(next()));
      EXPECT_EQ(StrToCurr(CurrToStr(c, fs), fs).Value, c.Value);
    }
  }
}

}  // namespace
