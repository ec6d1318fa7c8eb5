// Regrouping number texts with the locale's separators.
#include "suite/editors/cxThousandSeparators.h"

#include <gtest/gtest.h>

#include "platform/rtl/FormatSettings.h"
#include "tests/suite/editors/InjectedLocales.h"

namespace {

TEST(ThousandSeparators, InsertedEveryThreeIntegerDigits) {
  struct Case {
    const char* text;
    const char* grouped;
  };
  const Case cases[] = {
      {"1234", "1,234"},
      {"123", "123"},
      {"-123", "-123"},  // never right after the sign
      {"-1234567.891", "-1,234,567.891"},
      {"12,34,5", "12,345"},  // old separators go first
      {"  1234  ", "  1,234  "},
      {"1234E+12", "1,234E+12"},
      {"", ""},
  };
  TFormatSettingsPin pin{injected_locales::US()};
  for (const Case& c : cases) {
    std::string text = c.text;
    InsertThousandSeparators(text);
    EXPECT_EQ(text, c.grouped) << c.text;
  }
  std::string exponent;
  std::string text = "1.5e-3";
  SplitExponentPart(text, exponent);
  EXPECT_EQ(text, "1.5");
  EXPECT_EQ(exponent, "e-3");
}

TEST(ThousandSeparators, FollowTheLocale) {
  TFormatSettings german = injected_locales::German();
  german.DecimalSeparator = ',';
  german.ThousandSeparator = '.';
  TFormatSettingsPin pin{german};
  std::string text = "1234567,5";
  InsertThousandSeparators(text);
  EXPECT_EQ(text, "1.234.567,5");
  EXPECT_TRUE(IsNumberText(text));
  RemoveThousandSeparators(text);
  EXPECT_EQ(text, "1234567,5");
  EXPECT_FALSE(IsNumberText("12a"));
}

}  // namespace
