#include <gtest/gtest.h>

#include "platform/rtl/ObjectHandles.h"
#include "platform/rtl/TypInfo.h"
#include "script/TfsILParser.h"
#include "tests/script/ScriptRun.h"

using scriptrun::Runner;

class TGadget : public TComponent {
  VXN_DECLARE_CLASS(TGadget)

 public:
  explicit TGadget(TComponent* AOwner) : TComponent(AOwner) {}
  Integer Power = 0;
  std::string Title;
};
VXN_IMPLEMENT_CREATABLE_CLASS(TGadget, TComponent)
VXN_PUBLISH(TGadget) {
  P.Property("Power", &TGadget::Power);
  P.Property("Title", &TGadget::Title);
}

namespace {

// The same program in the four languages: arithmetic, strings, a declared
// array, a recursive function, a var parameter, and exceptions caught by the
// script.
const char* const kPascal = R"(var i, sum: Integer; s: String; a: array[0..4] of Integer;
function Fact(n: Integer): Integer;
begin
  if n <= 1 then Result := 1 else Result := n * Fact(n - 1);
end;
procedure Twice(var x: Integer);
begin
  x := x * 2;
end;
begin
  sum := 0;
  for i := 1 to 10 do sum := sum + i;
  Log(sum);
  s := 'ab' + 'c';
  Log(Length(s) + Pos('c', s));
  for i := 0 to 4 do a[i] := i * i;
  Log(a[4] + a[2]);
  Log(Fact(5));
  i := 21; Twice(i); Log(i);
  try
    i := 1 div (i - 42);
  except
    Log('div');
  end;
  try RaiseException('x') except Log('raised') end;
end.)";

const char* const kCpp = R"(int i, sum; string s; int a[5];
int Fact(int n) { if (n <= 1) return 1; else return n * Fact(n - 1); }
void Twice(int &x) { x = x * 2; }
{
  sum = 0;
  for (i = 1; i <= 10; i++) sum += i;
  Log(sum);
  s = "ab" + "c";
  Log(Length(s) + Pos("c", s));
  for (i = 0; i < 5; i++) a[i] = i * i;
  Log(a[4] + a[2]);
  Log(Fact(5));
  i = 21; Twice(i); Log(i);
  try { i = 1 div (i - 42); } except { Log("div"); }
  try { RaiseException("x"); } except { Log("raised"); }
})";

const char* const kBasic = R"(Dim i As Integer, sum As Integer
Dim s As String
Dim a[5] As Integer
Function Fact(n As Integer) As Integer
  If n <= 1 Then
    Return 1
  Else
    Return n * Fact(n - 1)
  End If
End Function
Sub Twice(ByRef x As Integer)
  x = x * 2
End Sub
sum = 0
For i = 1 To 10
  sum = sum + i
Next
Log(sum)
s = "ab" & "c"
Log(Length(s) + Pos("c", s))
For i = 0 To 4
  a[i] = i * i
Next
Log(a[4] + a[2])
Log(Fact(5))
i = 21 : Twice(i) : Log(i)
Try
  i = 1 \ (i - 42)
Catch
  Log("div")
End Try
Try
  RaiseException("x")
Catch
  Log("raised")
End Try
)";

const char* const kJScript = R"(var i, sum, s, a[5];
function Fact(n) { if (n <= 1) return 1; else return n * Fact(n - 1); }
function Twice(&x) { x = x * 2; }
sum = 0;
for (i = 1; i <= 10; i++) sum = sum + i;
Log(sum);
s = "ab" + "c";
Log(Length(s) + Pos("c", s));
for (i = 0; i < 5; i++) a[i] = i * i;
Log(a[4] + a[2]);
Log(Fact(5));
i = 21; Twice(i); Log(i);
try { i = 1 div (i - 42); } except { Log("div"); }
try { RaiseException("x"); } except { Log("raised"); }
)";

TEST(ScriptProgramsTest, TheSameProgramRunsAlikeInAllFourLanguages) {
  const std::pair<const char*, const char*> programs[] = {
      {"PascalScript", kPascal}, {"C++Script", kCpp}, {"BasicScript", kBasic}, {"JScript", kJScript}};
  for (const auto& [language, source] : programs) {
    Runner r;
    EXPECT_EQ(r.Run(language, source), "55 6 20 120 42 div raised") << language;
  }
}

struct CompileCase {
  const char* language;
  const char* source;
  const char* result;
};

TEST(ScriptProgramsTest, CompileErrorsWithTextAndPosition) {
  const CompileCase cases[] = {
      {"PascalScript", "begin y := 1 end.", "Undeclared identifier: 'y' at 1:8"},
      {"PascalScript", "var x: Integer;\r\nbegin x := 'a' end.", "Incompatible types: 'Integer', 'String' at 2:7"},
      {"PascalScript", "var x: Integer; x: String; begin end.", "Identifier redeclared: 'x' at 1:18"},
      {"PascalScript", "var x: TNothing; begin end.", "Unknown type: 'TNothing' at 1:6"},
      {"PascalScript", "begin Log(Copy('abc', 1)) end.", "Not enough actual parameters at 1:15"},
      {"PascalScript", "begin Log(Trim('a', 'b')) end.", "Too many actual parameters at 1:15"},
      {"PascalScript", "begin Log('a' + 1) end.", "Incompatible types at 1:16"},
      {"PascalScript", "begin True := False end.", "Left side cannot be assigned to at 1:7"},
      {"PascalScript", "var s: String; begin for s := 1 to 2 do end.",
       "For loop variable must be numeric variable at 1:27"},
      {"PascalScript", "var i: Integer; begin i.x := 1 end.", "Array type required at 1:26"},
      {"PascalScript", "var s: String; begin s.x := 1 end.",
       "Strings doesn't have properties or methods at 1:25"},
      {"PascalScript", "begin Log(@Log.x) end.", "Variable required at 1:11"},
      {"JScript", "y = 1; Log(y);", "ok"},  // undeclared names are declared in JScript
      {"BasicScript", "Log(1 +)\r\n", "')' expected at 1:7"},
  };
  for (const CompileCase& c : cases) {
    Runner r;
    EXPECT_EQ(r.Compile(c.language, c.source), c.result) << c.source;
  }
}

TEST(ScriptProgramsTest, DeclarationsOfTheLoader) {
  // Errors of a loaded name point just after the name, where the
  // intermediate program places a name's position. Routines follow the main
  // block in no language: text after the program is an error.
  EXPECT_EQ(Runner().Run("PascalScript", R"(var a, b: Integer = 7; arr: array[1..5] of Integer;
                                     c: array[5] of Integer;
begin
  P;
  Log(a + b);
  Log(Length(arr)); Log(Length(c));
  arr[5] := 1; Inc(a); Inc(b, 3); Log(a); Log(b);
end.
procedure P; begin Log('p') end;)"),
            "Statement expected at 9:1");
  // Routines are declared first; names-first declarations give each name
  // the initial value; array bounds as declared; Inc fills its default.
  EXPECT_EQ(Runner().Run("PascalScript", R"(var a, b: Integer = 7; arr: array[1..5] of Integer;
  c: array[0..4] of Integer;
procedure P; begin Log('p') end;
procedure Q; begin P end;
begin
  Q;
  Log(a + b);
  Log(Length(arr)); Log(Length(c));
  arr[5] := 1; Inc(a); Inc(b, 3); Log(a); Log(b);
end.)"),
            "p 14 5 5 8 10");
  EXPECT_EQ(Runner().Run("PascalScript", "var arr: array[1..5] of Integer; begin arr[0] := 1 end."),
            "raised: Variant array index out of bounds");
  // A C++ return with a value assigns Result and leaves the function.
  EXPECT_EQ(Runner().Run("C++Script", "int F() { return 3; Log(\"no\"); } { Log(F()); }"), "3");
  EXPECT_EQ(Runner().Run("JScript", "var a[5]; Log(Length(a));"), "5");
  // Constants, sets and case.
  EXPECT_EQ(Runner().Run("PascalScript", R"(const Lim = 4;
var i: Integer;
begin
  for i := 1 to Lim + 1 do
    case i of
      1, 3..4: Log(i);
      5: if i in [5, 7] then Log('five');
    else Log('other')
    end;
end.)"),
            "1 other 3 4 five");
}

TEST(ScriptProgramsTest, HostObjectsWithAndLateBinding) {
  Runner r;
  TfsScript& s = *r.Script;
  s.DeclaredBy = fsDeclaredByModules;  // kept across the runs' ClearProgram
  TfsClassVariable* cls = s.DeclareClass(TGadget::StaticClass(), "TComponent");
  cls->DeclareMethod("function Boost(By: Integer): Integer",
                     [](TObject* instance, TClass, const std::string&, TfsMethodHelper* c) -> Variant {
                       auto* g = static_cast<TGadget*>(instance);
                       g->Power += c->ParamValueAt(0).AsInteger();
                       return g->Power;
                     });
  TGadget gadget(nullptr);
  s.DeclareObject("Gadget", &gadget);
  s.DeclareVariable("Later", "Variant", Null());
  s.DeclaredBy = fsDeclaredByScript;
  const char* source = R"(var Power: Integer;
begin
  Power := 100;
  with Gadget do begin Power := 5; Title := 'g'; Log(Boost(2)) end;
  Log(Power);
  Later := Gadget;
  Log(Later.Title + IntToStr(Later.Power));
  if Gadget is TGadget then Log('is');
end.)";
  EXPECT_EQ(r.Run("PascalScript", source), "7 100 g7 is");
  EXPECT_EQ(gadget.Power, 7);
  EXPECT_EQ(gadget.Title, "g");
}

TEST(ScriptProgramsTest, UnitsFromCompiledText) {
  Runner r;
  TfsScript& s = *r.Script;
  struct Units {
    void Source(TfsScript*, const std::string&, std::string& text) {
      text = "var FromSource: Integer = 1;\r\nbegin end.";
    }
    void Compiled(TfsScript*, const std::string&, std::string& text) {
      text = "<?xml version=\"1.0\"?><program><var><ident text=\"FromIL\"/>"
             "<type text=\"Integer\"/></var></program>";
    }
  } units;
  s.OnGetUnit = TfsGetUnitEvent(&units, &Units::Source);
  EXPECT_EQ(r.Run("PascalScript", "uses 'u.pas'; begin Log(FromSource) end."), "1");
  s.OnGetILUnit = TfsGetUnitEvent(&units, &Units::Compiled);
  EXPECT_EQ(r.Run("PascalScript", "uses 'u.pas'; begin FromIL := 4; Log(FromIL) end."), "4");
}

TEST(ScriptProgramsTest, CompileSourceContract) {
  Runner r;
  EXPECT_EQ(r.Compile("PascalScript", ""), "'BEGIN' expected at 1:1");
  EXPECT_EQ(r.Compile("C++Script", ""), "'{' expected at 1:1");
  EXPECT_EQ(r.Compile("JScript", ""), "ok");
  EXPECT_EQ(r.Compile("BasicScript", ""), "ok");
  EXPECT_THROW(r.Compile("Cobol", "x"), Exception);
  // Compiling again over the previous program's items redeclares them.
  EXPECT_EQ(r.Compile("PascalScript", "var x: Integer; begin end."), "ok");
  EXPECT_EQ(r.Compile("PascalScript", "var x: Integer; begin end."),
            "Identifier redeclared: 'x' at 1:6");
  r.Script->ClearProgram();
  EXPECT_EQ(r.Compile("PascalScript", "var x: Integer; begin end."), "ok");
  // Routines called by the host; integers beyond 32 bits read exactly.
  r.Script->ClearProgram();
  ASSERT_EQ(r.Compile("PascalScript",
                      "function Big(a: Integer): Variant; begin Result := 4294967296 + a end; begin end."),
            "ok");
  EXPECT_TRUE(VarSameTypeAndValue(r.Script->CallRoutine("Big", VarArrayOf({1})),
                                  Variant(Int64{4294967297})));
}

}  // namespace
