#include "platform/rtl/SysUtils.h"

#include <fcntl.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <clocale>
#include <cmath>
#include <functional>
#include <limits>

#include "platform/rtl/Classes.h"

namespace {

// ---------------------------------------------------------------------------
// Exceptions

TEST(ExceptionTest, TreeMatchesClassReferencesAndCatchClauses) {
  struct Case {
    std::function<void()> raise;
    TClass expected;
    TClass ancestor;
  };
  const Case cases[] = {
      {[] { Abort(); }, EAbort::StaticClass(), Exception::StaticClass()},
      {[] { throw EOutOfResources("x"); }, EOutOfResources::StaticClass(),
       EOutOfMemory::StaticClass()},
      {[] { throw EDivByZero(SDivByZero); }, EDivByZero::StaticClass(), EIntError::StaticClass()},
      {[] { throw EZeroDivide(SZeroDivide); }, EZeroDivide::StaticClass(),
       EMathError::StaticClass()},
      {[] { throw EFOpenError("x"); }, EFOpenError::StaticClass(), EStreamError::StaticClass()},
      {[] { throw EReadError(SReadError); }, EReadError::StaticClass(),
       EStreamError::StaticClass()},
      {[] { throw EInOutError(2, "File not found"); }, EInOutError::StaticClass(),
       Exception::StaticClass()},
  };
  for (const Case& c : cases) {
    try {
      c.raise();
      ADD_FAILURE() << "nothing raised for " << c.expected->Name;
    } catch (const Exception& e) {
      EXPECT_EQ(e.ClassType(), c.expected);
      EXPECT_TRUE(e.InheritsFrom(c.ancestor)) << e.ClassName();
      EXPECT_FALSE(e.InheritsFrom(EConvertError::StaticClass())) << e.ClassName();
      EXPECT_STREQ(e.what(), e.Message.c_str());
    }
  }
  EXPECT_THROW(throw EListError("x"), std::exception);
}

TEST(ExceptionTest, MessagesHelpContextAndCopies) {
  try {
    Abort();
  } catch (const EAbort& e) {
    EXPECT_EQ(e.Message, "Operation aborted");
  }
  EInOutError io(3, "Path not found");
  io.HelpContext = 7;
  io.Message += "!";  // handlers amend the text before re-raising
  try {
    throw io;  // a copy travels
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode, 3);
    EXPECT_EQ(e.HelpContext, 7);
    EXPECT_STREQ(e.what(), "Path not found!");
    EXPECT_EQ(e.ClassName(), "EInOutError");
  }
}

TEST(ExceptionTest, FmtConstructorsFormatTheMessage) {
  EListError e("%d is an invalid index (max %d)", {5, 3});
  EXPECT_EQ(e.Message, "5 is an invalid index (max 3)");
  EConvertError withHelp(SInvalidInteger, {"x1"}, 42);
  EXPECT_EQ(withHelp.Message, "'x1' is not a valid integer value");
  EXPECT_EQ(withHelp.HelpContext, 42);
}

TEST(ExceptionTest, OSErrorsNameTheCallAndTheErrno) {
  try {
    CheckOSCall(::open("/nonexistent/dir/file", O_RDONLY), "open");
    FAIL();
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode, ENOENT);
    EXPECT_EQ(e.CallName, "open");
    EXPECT_EQ(e.Message, "open failed: No such file or directory (errno 2)");
  }
  EXPECT_EQ(CheckOSCall(5, "read"), 5);
  EXPECT_EQ(SysErrorMessage(EACCES), "Permission denied");
}

// ---------------------------------------------------------------------------
// Strings

TEST(StringsTest, OneBasedByteRoutines) {
  EXPECT_EQ(Length("信道"), 6);
  struct CopyCase {
    const char* s;
    Integer index, count;
    const char* expected;
  };
  for (const CopyCase& c : {CopyCase{"abcdef", 2, 3, "bcd"},
                            {"abcdef", 0, 2, "ab"},
                            {"abcdef", -5, 2, "ab"},
                            {"abcdef", 5, 100, "ef"},
                            {"abcdef", 7, 1, ""},
                            {"abcdef", 2, -1, ""},
                            {"abcdef", 1, INT_MAX, "abcdef"},
                            {"", 1, 1, ""}})
    EXPECT_EQ(Copy(c.s, c.index, c.count), c.expected) << c.s << " " << c.index << " " << c.count;

  EXPECT_EQ(Pos("cd", "abcdcd"), 3);
  EXPECT_EQ(Pos("x", "abc"), 0);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(Pos('c', "abc"), 3);
  EXPECT_EQ(Pos("道", "信道"), 4);

  struct DeleteCase {
    Integer index, count;
    const char* expected;
  };
  for (const DeleteCase& c : {DeleteCase{2, 2, "adef"},
                              {0, 2, "abcdef"},
                              {7, 1, "abcdef"},
                              {5, 100, "abcd"},
                              {1, 0, "abcdef"},
                              {1, -3, "abcdef"}}) {
    std::string s = "abcdef";
    Delete(s, c.index, c.count);
    EXPECT_EQ(s, c.expected) << c.index << " " << c.count;
  }

  struct InsertCase {
    Integer index;
    const char* expected;
  };
  for (const InsertCase& c :
       {InsertCase{1, "XYabc"}, {2, "aXYbc"}, {4, "abcXY"}, {99, "abcXY"}, {-3, "XYabc"}}) {
    std::string s = "abc";
    Insert("XY", s, c.index);
    EXPECT_EQ(s, c.expected) << c.index;
  }
}

TEST(StringsTest, TrimAndCase) {
  EXPECT_EQ(Trim(" \t\r\n a b \x01"), "a b");
  EXPECT_EQ(TrimLeft("  a "), "a ");
  EXPECT_EQ(TrimRight("  a \n"), "  a");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("信道 "), "信道");  // bytes of multi-byte characters are above the blank

  EXPECT_EQ(UpperCase("abz ÄÖü привет"), "ABZ ÄÖü привет");
  EXPECT_EQ(LowerCase("ABZ ÄÖÜ"), "abz ÄÖÜ");
  EXPECT_EQ(AnsiUpperCase("abz äöü привет ё 信道"), "ABZ ÄÖÜ ПРИВЕТ Ё 信道");
  EXPECT_EQ(AnsiLowerCase("ÄÖÜ ПРИВЕТ X"), "äöü привет x");
  EXPECT_EQ(AnsiUpperCase("a\xFF\xE4z"), "A\xFF\xE4Z");  // broken bytes kept
}

TEST(StringsTest, Comparisons) {
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_EQ(CompareText("a", "B"), -1);
  EXPECT_GT(CompareText("_", "a"), 0);  // letters fold to upper case
  EXPECT_LT(CompareText("ab", "abc"), 0);
  EXPECT_EQ(CompareStr("a", "B"), 'a' - 'B');
  EXPECT_EQ(CompareStr("abc", "abc"), 0);
  EXPECT_TRUE(SameText("Hello", "hELLO"));
  EXPECT_FALSE(SameText("Hello", "Hell"));
  EXPECT_FALSE(SameText("ä", "Ä"));  // ASCII only

  EXPECT_EQ(AnsiCompareText("привет", "ПРИВЕТ"), 0);
  EXPECT_TRUE(AnsiSameText("Ärger", "äRGER"));
  EXPECT_LT(AnsiCompareStr("a", "b"), 0);
  EXPECT_GT(AnsiCompareStr("b", "a"), 0);
  EXPECT_NE(AnsiCompareStr("a", "A"), 0);
  EXPECT_LT(AnsiCompareStr(std::string_view("a\0b", 3), std::string_view("a\0c", 3)), 0);
  EXPECT_LT(AnsiCompareStr("a", std::string_view("a\0", 2)), 0);
}

// Sets one locale for the scope and puts the pinned one back.
class ScopedLocale {
 public:
  explicit ScopedLocale(const char* name) : previous_(setlocale(LC_ALL, nullptr)) {
    active_ = setlocale(LC_ALL, name) != nullptr;
  }
  ~ScopedLocale() { setlocale(LC_ALL, previous_.c_str()); }
  bool Active() const { return active_; }

 private:
  std::string previous_;
  bool active_ = false;
};

TEST(StringsTest, AnsiRoutinesFollowTheLocaleCollation) {
  ScopedLocale german("de_DE.UTF-8");
  if (!german.Active()) GTEST_SKIP() << "de_DE.UTF-8 is not generated";
  // Dictionary order puts "a" before "B" where byte order does not.
  EXPECT_LT(AnsiCompareStr("a", "B"), 0);
  EXPECT_GT(CompareStr("a", "B"), 0);
  EXPECT_LT(AnsiCompareText("äpfel", "Birne"), 0);
  EXPECT_GT(CompareText("äpfel", "Birne"), 0);
  EXPECT_EQ(AnsiUpperCase("straße äöü"), "STRAßE ÄÖÜ");
}

// Start-up takes the user's locale for ordering text, not for numbers.
TEST(StringsTest, StartUpOrdersTextAsTheUsersLocale) {
  ScopedLocale restore("C.UTF-8");
  const char* previous = std::getenv("LC_ALL");
  const std::string saved = previous ? previous : "";
  setenv("LC_ALL", "zh_CN.UTF-8", 1);
  UseUserTextLocale();
  const std::string collate = setlocale(LC_COLLATE, nullptr), numeric = setlocale(LC_NUMERIC, nullptr);
  if (previous) setenv("LC_ALL", saved.c_str(), 1); else unsetenv("LC_ALL");
  ASSERT_EQ(collate, "zh_CN.UTF-8") << "the locale is not generated: run scripts/setup.sh";
  EXPECT_EQ(numeric, "C.UTF-8");
  // Pinyin order: bei jing before shang hai, though 北 comes after 上 by code.
  EXPECT_LT(AnsiCompareText("北京", "上海"), 0);
  TStringList list;
  list.SetSorted(true);
  list.Add("上海");
  list.Add("北京");
  EXPECT_EQ(list[0], "北京");
}

TEST(StringsTest, AnsiCaseWorksInAProgramLeftInTheCLocale) {
  ScopedLocale plain("C");
  ASSERT_TRUE(plain.Active());
  EXPECT_EQ(AnsiUpperCase("äö привет"), "ÄÖ ПРИВЕТ");
  EXPECT_EQ(AnsiCompareText("ПРИВЕТ", "привет"), 0);
  EXPECT_EQ(StringReplace("Ärger", "ä", "a", {rfIgnoreCase}), "arger");
}

TEST(StringsTest, StringReplace) {
  struct Case {
    const char* s;
    const char* from;
    const char* to;
    TReplaceFlags flags;
    const char* expected;
  };
  const Case cases[] = {
      {"a-b-c", "-", "+", {}, "a+b-c"},
      {"a-b-c", "-", "+", {rfReplaceAll}, "a+b+c"},
      {"aAaA", "a", "x", {rfReplaceAll}, "xAxA"},
      {"aAaA", "a", "x", {rfReplaceAll, rfIgnoreCase}, "xxxx"},
      {"Привет привет", "ПРИВЕТ", "Hi", {rfReplaceAll, rfIgnoreCase}, "Hi Hi"},
      {"aaa", "aa", "b", {rfReplaceAll}, "ba"},
      {"abc", "", "x", {rfReplaceAll}, "abc"},
      {"abc", "abc", "", {}, ""},
      {"x\xFFy", "\xFF", "-", {rfIgnoreCase}, "x-y"},
      {"信道信道", "道", "号", {rfReplaceAll, rfIgnoreCase}, "信号信号"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StringReplace(c.s, c.from, c.to, c.flags), c.expected) << c.s << " / " << c.from;
}

TEST(StringsTest, QuotingAndIdentifiers) {
  EXPECT_EQ(StringOfChar('-', 3), "---");
  EXPECT_EQ(StringOfChar('-', -1), "");
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(AnsiQuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");

  struct DequoteCase {
    const char* s;
    const char* expected;
  };
  for (const DequoteCase& c : {DequoteCase{"'it''s'", "it's"},
                               {"''", ""},
                               {"plain", "plain"},
                               {"'open", "'open"},
                               {"'ab'cd", "ab"},
                               {"", ""}})
    EXPECT_EQ(AnsiDequotedStr(c.s, '\''), c.expected) << c.s;
  for (const char* s : {"", "a'b", "''", "x''y'"})
    EXPECT_EQ(AnsiDequotedStr(QuotedStr(s), '\''), s);

  for (const char* good : {"a", "_x", "Name1", "A_b_2"}) EXPECT_TRUE(IsValidIdent(good)) << good;
  for (const char* bad : {"", "1a", "a b", "a.b", "a-b", "ä"})
    EXPECT_FALSE(IsValidIdent(bad)) << bad;
}

// ---------------------------------------------------------------------------
// Integer conversions

TEST(ConversionsTest, IntToStrAndIntToHex) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(std::numeric_limits<Int64>::min()), "-9223372036854775808");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(0x1234, 2), "1234");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(Int64{-1}, 2), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(Byte{0xAB}, 1), "AB");
  EXPECT_EQ(IntToHex(Int64{0x1F}, 8), "0000001F");
}

TEST(ConversionsTest, ValReportsTheErrorPosition) {
  struct Case {
    const char* s;
    Integer code;
    Integer value;
  };
  const Case cases[] = {
      {"12", 0, 12},
      {" 12", 0, 12},
      {"+7", 0, 7},
      {"-2147483648", 0, INT_MIN},
      {"2147483647", 0, INT_MAX},
      {"$1f", 0, 31},
      {"0x1F", 0, 31},
      {"0X10", 0, 16},
      {"-$10", 0, -16},
      {"$FFFFFFFF", 0, -1},
      {"$80000000", 0, INT_MIN},
      {"007", 0, 7},
      {"", 1, 0},
      {" ", 2, 0},
      {"12 ", 3, 0},
      {"1a", 2, 0},
      {"-", 2, 0},
      {"$", 2, 0},
      {"0x", 3, 0},
      {"12.5", 3, 0},
      {"1e3", 2, 0},
      {"2147483648", 10, 0},
      {"-2147483649", 11, 0},
      {"$100000000", 10, 0},
      {"$FG", 3, 0},
      {"--1", 2, 0},
      {"\t1", 1, 0},
  };
  for (const Case& c : cases) {
    Integer value = 99, code = -1;
    Val(c.s, value, code);
    EXPECT_EQ(code, c.code) << '"' << c.s << '"';
    EXPECT_EQ(value, c.value) << '"' << c.s << '"';
  }

  struct Case64 {
    const char* s;
    Integer code;
    Int64 value;
  };
  const Case64 cases64[] = {
      {"9223372036854775807", 0, INT64_MAX}, {"-9223372036854775808", 0, INT64_MIN},
      {"9223372036854775808", 19, 0},        {"$FFFFFFFFFFFFFFFF", 0, -1},
      {"0x7FFFFFFFFFFFFFFF", 0, INT64_MAX},  {"$10000000000000000", 18, 0},
      {"4294967296", 0, 4294967296LL},
  };
  for (const Case64& c : cases64) {
    Int64 value = 99;
    Integer code = -1;
    Val(c.s, value, code);
    EXPECT_EQ(code, c.code) << c.s;
    EXPECT_EQ(value, c.value) << c.s;
  }
}

TEST(ConversionsTest, ValOfRealsIgnoresTheLocale) {
  struct Case {
    const char* s;
    Integer code;
    double value;
  };
  const Case cases[] = {
      {"1.5", 0, 1.5},   {"-2.5e3", 0, -2500}, {" .25", 0, 0.25}, {"3.", 0, 3},
      {"1E-2", 0, 0.01}, {"1,5", 2, 0},        {"", 1, 0},        {"e5", 1, 0},
      {"1e", 3, 0},      {"1e+", 4, 0},        {"1.5x", 4, 0},    {"-.", 3, 0},
  };
  for (const Case& c : cases) {
    double value = 99;
    Integer code = -1;
    Val(c.s, value, code);
    EXPECT_EQ(code, c.code) << c.s;
    EXPECT_DOUBLE_EQ(value, c.value) << c.s;
  }
  double value;
  Integer code;
  Val("1e400", value, code);
  EXPECT_NE(code, 0);
  Val("1e-400", value, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(value, 0);
}

TEST(ConversionsTest, StrToIntFamilyRaisesEConvertError) {
  EXPECT_EQ(StrToInt(" -15"), -15);
  EXPECT_EQ(StrToInt("$FF"), 255);
  EXPECT_EQ(StrToIntDef("x", 7), 7);
  EXPECT_EQ(StrToIntDef("8", 7), 8);
  Integer i = 0;
  EXPECT_TRUE(TryStrToInt("0x10", i));
  EXPECT_EQ(i, 16);
  EXPECT_FALSE(TryStrToInt("99999999999", i));
  Int64 big = 0;
  EXPECT_TRUE(TryStrToInt64("99999999999", big));
  EXPECT_EQ(big, 99999999999LL);
  EXPECT_EQ(StrToInt64("-$1"), -1);

  for (const char* bad : {"", "abc", "12 ", "1.0", "2147483648", "$"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << bad;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, std::string("'") + bad + "' is not a valid integer value");
    }
  }
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

// ---------------------------------------------------------------------------
// Rounding

TEST(RoundingTest, RoundTakesHalvesToEven) {
  struct Case {
    double x;
    Int64 expected;
  };
  for (const Case& c : {Case{0.5, 0},
                        {1.5, 2},
                        {2.5, 2},
                        {3.5, 4},
                        {-0.5, 0},
                        {-1.5, -2},
                        {-2.5, -2},
                        {2.4999, 2},
                        {2.5001, 3},
                        {-2.6, -3},
                        {1e15 + 0.5, 1000000000000000}})
    EXPECT_EQ(Round(c.x), c.expected) << c.x;
  EXPECT_EQ(Trunc(-2.9), -2);
  EXPECT_EQ(Trunc(2.9), 2);
  EXPECT_DOUBLE_EQ(Frac(-2.25), -0.25);
  EXPECT_DOUBLE_EQ(Frac(3.75), 0.75);
  EXPECT_DOUBLE_EQ(Int(-2.75), -2.0);
  for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e19, -1e19}) {
    EXPECT_THROW(Round(bad), EInvalidOp) << bad;
    EXPECT_THROW(Trunc(bad), EInvalidOp) << bad;
  }
}

TEST(RoundingTest, MulDivRoundsHalvesAwayFromZero) {
  struct Case {
    Integer a, b, c, expected;
  };
  const Case cases[] = {
      {10, 20, 30, 7},     {20, 20, 30, 13},
      {30, 20, 30, 20},    {1, 1, 2, 1},
      {-1, 1, 2, -1},      {3, 1, 2, 2},
      {-7, 1, 2, -4},      {7, -1, 2, -4},
      {-5, 1, -2, 3},      {4, 1, 3, 1},
      {5, 1, 3, 2},        {5, 1, 0, -1},
      {0, 5, 3, 0},        {100000, 100000, 100000, 100000},
      {INT_MAX, 2, 1, -1}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(PlatformTest, AnswersAsNtFiveOneOnLinux) {
  EXPECT_EQ(Win32Platform, 2);
  EXPECT_GE(Win32MajorVersion * 100 + Win32MinorVersion, 501);
  EXPECT_EQ(SystemDescription().rfind("Linux", 0), 0u);
}

}  // namespace
