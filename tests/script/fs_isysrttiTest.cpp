#include "script/fs_isysrtti.h"

#include <gtest/gtest.h>

#include "platform/rtl/FormatSettings.h"
#include "tests/script/ScriptRun.h"

using scriptrun::Eval;
using scriptrun::Runner;

namespace {

struct Case {
  const char* expression;
  const char* logged;
};

void Check(std::initializer_list<Case> cases) {
  for (const Case& c : cases) EXPECT_EQ(Eval(c.expression), c.logged) << c.expression;
}

TEST(StandardLibraryTest, Strings) {
  Check({
      {"Length('abc')", "3"},
      {"Length(12345)", "5"},
      {"Length(VarArrayCreate([1, 5], varVariant))", "5"},
      {"Copy('abcdef', 2, 3)", "bcd"},
      {"Copy('abc', 10, 2)", ""},
      {"Pos('cd', 'abcd')", "3"},
      {"Uppercase('aBc') + Lowercase('DeF')", "ABCdef"},
      {"Trim('  x ')", "x"},
      {"NameCase('hELLO wORLD')", "Hello World"},
      {"CompareText('abc', 'ABC')", "0"},
      {"CompareText('a', 'b') < 0", "True"},
      {"Chr(65) + IntToStr(Ord('a'))", "A97"},
  });
  Runner r;
  EXPECT_EQ(r.Run("PascalScript", R"(var s: String; v: Variant;
begin
  s := 'abcdef'; Delete(s, 2, 2); Log(s);
  DeleteStr(s, 1, 1); Log(s);
  Insert('XY', s, 2); Log(s);
  SetLength(s, 2); Log(s);
  v := VarArrayCreate([0, 1], varVariant); SetLength(v, 4); Log(Length(v));
  s := 'abc'; s[2] := 'Z'; Log(s);
end.)"),
            "adef def dXYef dX 4 aZc");
}

TEST(StandardLibraryTest, MathAndConversions) {
  Check({
      {"Round(2.5)", "2"},
      {"Round(3.5)", "4"},
      {"Round(-2.5)", "-2"},
      {"Trunc(-2.7)", "-2"},
      {"Int(2.7)", "2"},
      {"Frac(2.5)", "0.5"},
      {"Sqrt(16)", "4"},
      {"Abs(-3)", "3"},
      {"Round(Sin(Pi / 2) * 100)", "100"},
      {"Round(Tan(Pi / 4) * 100)", "100"},
      {"Round(Exp(Ln(5)))", "5"},
      {"ArcTan(0)", "0"},
      {"IntToStr(4294967296)", "4294967296"},
      {"StrToInt('42') + 1", "43"},
      {"FloatToStr(StrToFloat('2.5'))", "2.5"},
      {"VarToStr(Null)", ""},
      {"VarType(1)", "3"},
      {"VarType('a')", "256"},
      {"ValidInt('12a')", "False"},
      {"ValidInt('12')", "True"},
      {"ValidFloat('1.5')", "True"},
      {"ValidDate('not a date')", "False"},
  });
  EXPECT_EQ(Eval("StrToInt('x')"), "raised: 'x' is not a valid integer value");
  const std::string random = Eval("Random");
  EXPECT_GE(std::stod(random), 0.0);
  EXPECT_LT(std::stod(random), 1.0);
}

TEST(StandardLibraryTest, DatesAndFormats) {
  Check({
      {"FormatDateTime('yyyy-mm-dd hh:nn', EncodeDate(2024, 3, 5) + EncodeTime(7, 8, 9, 0))",
       "2024-03-05 07:08"},
      {"DayOfWeek(EncodeDate(2024, 3, 5))", "3"},
      {"IsLeapYear(2024)", "True"},
      {"DaysInMonth(2024, 2)", "29"},
      {"DaysInMonth(2023, 2)", "28"},
      {"DaysInMonth(2023, 13)", "0"},
      {"FormatFloat('0.00', 3.14159)", "3.14"},
      {"Format('%d-%s-%.1f', [7, 'ab', 2.25])", "7-ab-2.3"},
      {"Format('%1:s %0:s', ['a', 'b'])", "b a"},
      {"Format('%*d|', [4, 7])", "   7|"},
      {"Format('100%%', [0])", "100%"},
      {"FormatMaskText('!(999)000-0000;0;_', '4085551212')", "(408)555-1212"},
  });
  // Every argument is checked against its conversion; no text is cut.
  EXPECT_EQ(Eval("Format('%d', ['x'])").substr(0, 8), "raised: ");
  EXPECT_EQ(Eval("Length(Format('%s', ['" + std::string(300, 'a') + "']))"), "300");
  Runner r;
  EXPECT_EQ(r.Run("PascalScript", R"(var y, m, d, h, n, s, ms: Word;
begin
  DecodeDate(EncodeDate(2001, 2, 3), y, m, d); Log(y); Log(m); Log(d);
  DecodeTime(EncodeTime(4, 5, 6, 7), h, n, s, ms); Log(h); Log(n); Log(s); Log(ms);
  Log(Now >= Date);
end.)"),
            "2001 2 3 4 5 6 7 True");
}

TEST(StandardLibraryTest, OtherFunctionsAndConstants) {
  Check({
      {"varString + varArray", "8448"},
      {"nil", "0"},
      {"True and not False", "True"},
  });
  Runner r;
  EXPECT_EQ(r.Run("PascalScript", "var i: Integer; begin i := 1; Inc(i); Inc(i, 5); Dec(i); Log(i) end."),
            "6");
  EXPECT_EQ(r.Run("PascalScript", "begin RaiseException('stop here') end."), "raised: stop here");
  EXPECT_EQ(r.Run("PascalScript", "var v: Variant; begin v := CreateOleObject('Excel.Application') end."),
            "raised: Automation objects are not supported on this system (Excel.Application)");
  // Unloading the modules takes the library away.
  r.Script->ClearProgram();
  r.Script->UnloadHostModules();
  EXPECT_EQ(r.Script->LookupName("IntToStr"), nullptr);
  EXPECT_EQ(r.Script->LookupName("True"), nullptr);
}

}  // namespace
