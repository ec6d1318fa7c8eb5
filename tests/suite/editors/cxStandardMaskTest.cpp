#include "suite/editors/cxStandardMask.h"

#include <gtest/gtest.h>

#include "platform/rtl/FormatSettings.h"

namespace {

TFormatSettings Separators(char date, char time) {
  TFormatSettings s = TFormatSettings::English();
  s.DateSeparator = date;
  s.TimeSeparator = time;
  return s;
}

std::string Formatted(const TcxStandardMask& mask, std::string text, bool applyCase = true) {
  mask.Format(text, applyCase);
  return text;
}

std::string Value(const TcxStandardMask& mask, std::string text) {
  mask.ValueText(text);
  return text;
}

}  // namespace

TEST(cxStandardMask, PhoneMaskTemplates) {
  TcxStandardMask mask;
  mask.SetMaskText("(999)000-0000;1;_");
  EXPECT_EQ(mask.ItemCount(), 13);
  EXPECT_EQ(mask.BlankTemplate(), "(___)___-____");
  EXPECT_EQ(mask.EmptyValue(), "(   )   -    ");
  EXPECT_TRUE(mask.StoreLiterals());
  EXPECT_EQ(Value(mask, "(12_)456-7890"), "(12 )456-7890");

  mask.SetMaskText("(999)000-0000;0;*");
  EXPECT_EQ(mask.BlankChar(), U'*');
  EXPECT_FALSE(mask.StoreLiterals());
  EXPECT_EQ(mask.BlankTemplate(), "(***)***-****");
  EXPECT_EQ(mask.EmptyValue(), std::string(10, ' '));
  EXPECT_EQ(Value(mask, "(12*)456-7890"), "12 4567890");
}

TEST(cxStandardMask, DateMaskOfTheFormatController) {
  TFormatSettingsPin pin(Separators('.', ':'));
  TcxStandardMask mask;
  mask.SetMaskText("!99/99/9999;1; ");
  EXPECT_EQ(mask.MaskText(), "!99/99/9999;1; ");
  EXPECT_EQ(mask.BlankChar(), U' ');
  EXPECT_EQ(mask.ItemCount(), 10);
  EXPECT_EQ(mask.BlankTemplate(), "  .  .    ");
  EXPECT_EQ(mask.EmptyValue(), mask.BlankTemplate());
  EXPECT_TRUE(mask.IsValid(" 1.12.2024"));
  EXPECT_FALSE(mask.IsValid("01/12/2024"));
}

TEST(cxStandardMask, ParseTable) {
  TFormatSettingsPin pin(Separators('-', '.'));
  struct Case {
    const char* mask;
    const char* blankTemplate;
    bool storeLiterals;
  };
  const Case cases[] = {
      {"0\\", "_", true},            // a backslash at the end adds nothing
      {"\\0\\L0", "0L_", true},      // mask characters taken literally
      {"0<", "_", true},             // "<" at the end only switches case
      {";1", "", true},
      {";0", "", false},
      {"000;1;_", "___", true},
      {"000;0", "___", false},
      {"0;1;_0", "_;1;__", true},    // the fields count only at the very end
      {"0;", "_;", true},
      {"0;2", "_;2", true},
      {"00:00/00", "__.__-__", true},  // the locale's separators
      {"0→0", "_→_", true},
      {"!!0", "!_", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    TcxStandardMask mask;
    mask.SetMaskText(c.mask);
    EXPECT_EQ(mask.BlankTemplate(), c.blankTemplate);
    EXPECT_EQ(mask.StoreLiterals(), c.storeLiterals);
  }
}

TEST(cxStandardMask, EachMaskCharacterChecks) {
  TFormatSettingsPin pin(Separators('/', '.'));
  struct Case {
    const char* mask;
    const char* text;
    bool valid;
  };
  const Case cases[] = {
      {"L", "a", true},  {"L", "Z", true},  {"L", "1", false}, {"L", "ä", false}, {"L", "_", false},
      {"l", "_", true},  {"l", " ", true},  {"l", "1", false},
      {"A", "1", true},  {"A", "b", true},  {"A", "-", false}, {"a", " ", true},
      {"C", "-", true},  {"C", "中", true}, {"C", " ", true},  {"C", "_", true},  // any character
      {"c", "_", true},
      {"0", "5", true},  {"0", "a", false}, {"0", "_", false}, {"9", "_", true},
      {"#", "+", true},  {"#", "-", true},  {"#", "7", true},  {"#", "a", false}, {"#", " ", true},
      {":", ".", true},  {":", ":", false},
      {"x", "x", true},  {"x", "X", false},
      {"", "", true},    {";1", "", true},  {";1", "a", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " / " + c.text);
    TcxStandardMask mask;
    mask.SetMaskText(c.mask);
    EXPECT_EQ(mask.IsValid(c.text), c.valid);
  }
}

TEST(cxStandardMask, IsValidChecksLengthAndBlanks) {
  TcxStandardMask mask;
  mask.SetMaskText("09");
  EXPECT_TRUE(mask.IsValid("1 "));
  EXPECT_TRUE(mask.IsValid("1_"));
  EXPECT_FALSE(mask.IsValid(" 1"));  // the required item refuses a blank
  EXPECT_FALSE(mask.IsValid("1"));
  EXPECT_FALSE(mask.IsValid("123"));
  mask.SetMaskText(">l");
  EXPECT_TRUE(mask.IsValid("a"));  // checked after conversion
}

TEST(cxStandardMask, FormatFitsText) {
  TFormatSettingsPin pin(Separators('/', ':'));
  struct Case {
    const char* mask;
    const char* text;
    const char* withCase;
    const char* withoutCase;
  };
  const Case cases[] = {
      {">LL<ll<>ll", "abcdef", "ABcdef", "abcdef"},
      {">LL<ll<>ll", "ABCDEF", "ABcdEF", "ABCDEF"},
      {"00", "a1", "1_", "1_"},
      {"00", "123", "12", "12"},
      {"00", "", "__", "__"},
      {"L0", "1a", "a1", "a1"},  // the first free item that takes the character
      {"00/00", "12/34", "12/34", "12/34"},
      {"00/00", "1234", "12/34", "12/34"},
      {"00/00", " 2_4", "_2/_4", "_2/_4"},  // blanks and spaces hold a place
      {"L-L", "a b", "a-_", "a-_"},  // a space passes the literal and holds the next editable place
      // The scan passes the converted character on: the upper-casing digit
      // item refuses "b" but hands "B" to the literal after it.
      {">0\\B", "b", "_B", "_b"},
      {"CC", "中文字", "中文", "中文"},
      {";1", "abc", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " / " + c.text);
    TcxStandardMask mask;
    mask.SetMaskText(c.mask);
    EXPECT_EQ(Formatted(mask, c.text, true), c.withCase);
    EXPECT_EQ(Formatted(mask, c.text, false), c.withoutCase);
  }
}

TEST(cxStandardMask, ValueTextTakesTheCharactersFound) {
  TcxStandardMask mask;
  mask.SetMaskText("00-00");
  EXPECT_EQ(Value(mask, "12-34"), "12-34");
  EXPECT_EQ(Value(mask, "12+34"), "12+34");  // the character found, not the literal
  EXPECT_EQ(Value(mask, "1_-_4"), "1 - 4");
  EXPECT_EQ(Value(mask, "12-3456"), "12-34");
  EXPECT_EQ(Value(mask, "1"), "1");
  mask.SetMaskText("00-00;0");
  EXPECT_EQ(Value(mask, "12-34"), "1234");
}

TEST(cxStandardMask, ClearResets) {
  TcxStandardMask mask;
  mask.SetMaskText("00;0;*");
  mask.Clear();
  EXPECT_EQ(mask.MaskText(), "");
  EXPECT_EQ(mask.ItemCount(), 0);
  EXPECT_EQ(mask.BlankChar(), U'_');
  EXPECT_TRUE(mask.StoreLiterals());
  mask.SetMaskText("0");
  ASSERT_EQ(mask.ItemCount(), 1);
  EXPECT_NE(dynamic_cast<TcxStandardMaskNumericItem*>(mask.ItemList(0)), nullptr);
}
