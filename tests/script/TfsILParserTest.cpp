#include "script/TfsILParser.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/SysUtils.h"
#include "script/LanguageGrammars.h"

namespace {

// The intermediate program in a compact form: name[text](children), without
// positions and without the grammar's types.
std::string Render(const TfsXMLItem& item) {
  std::string out = item.Name;
  const std::string text = item.Prop("text");
  if (!text.empty()) out += "[" + text + "]";
  if (item.Count() > 0) {
    out += "(";
    for (Integer i = 0; i < item.Count(); ++i) {
      if (i > 0) out += " ";
      out += Render(*item.Items(i));
    }
    out += ")";
  }
  return out;
}

struct Compiled {
  bool Ok;
  std::string Program;  // rendered, the program element's children
  std::string Error;    // "message at line:col"
};

Compiled Parse(const std::string& language, const std::string& source,
               TfsScript* script = nullptr) {
  TfsScript own(nullptr);
  TfsScript* s = script ? script : &own;
  TfsILParser parser(s);
  parser.SelectLanguage(language);
  Compiled c;
  c.Ok = parser.BuildIntermediateProgram(source);
  if (c.Ok) {
    const TfsXMLItem& root = *parser.ProgramDoc->Root();
    for (Integer i = 0; i < root.Count(); ++i) {
      if (root.Items(i)->Name == "types") continue;
      if (!c.Program.empty()) c.Program += " ";
      c.Program += Render(*root.Items(i));
    }
  } else {
    c.Error = s->ErrorText + " at " + s->ErrorPosition;
  }
  return c;
}

struct ProgramCase {
  const char* language;
  const char* source;
  const char* program;
};

TEST(TfsILParserTest, ProgramsOfTheFourLanguages) {
  const ProgramCase cases[] = {
      {"PascalScript", "begin a := 1 + 2 * b; end.",
       "compoundstmt(assignstmt(dsgn(node[a]) expr(number[1] op[+] number[2] op[*] dsgn(node[b]))))"},
      {"PascalScript",
       "var x, y: Integer = 5;\r\nconst c = 'a''b';\r\nbegin\r\n  x := <rep.Value>;\r\nend.",
       "var(ident[x] ident[y] type[Integer] init(expr(number[5]))) const(ident[c] expr(string['a'b'])) "
       "compoundstmt(assignstmt(dsgn(node[x]) expr(dsgn(node[Get] expr(string['rep.Value'])))))"},
      {"PascalScript",
       "procedure P(var a: Integer; b: String); begin a := a div 2 end;\r\n"
       "function F: Boolean; begin Result := not True end;\r\n"
       "begin P(x, 'y'); if F then x := -1 else exit end.",
       "procedure(name[P] parameters(varparams var(ident[a] type[Integer]) var(ident[b] type[String])) "
       "compoundstmt(assignstmt(dsgn(node[a]) expr(dsgn(node[a]) op[div] number[2])))) "
       "function(name[F] type[Boolean] compoundstmt(assignstmt(dsgn(node[Result]) expr(op[not] dsgn(node[True]))))) "
       "compoundstmt(callstmt(dsgn(node[P] expr(dsgn(node[x])) expr(string['y']))) "
       "ifstmt(expr(dsgn(node[F])) thenstmt(assignstmt(dsgn(node[x]) expr(op[unminus] number[1]))) elsestmt(exit)))"},
      {"PascalScript",
       "begin case i of 1, 3..5: s[2] := 'x'; else i := $1F end; "
       "for i := 9 downto 0 do try with a.b do c finally @P end end.",
       "compoundstmt(casestmt(expr(dsgn(node[i])) caseselector(set(expr(number[1]) expr(number[3]) range[.] "
       "expr(number[5])) assignstmt(dsgn(node[s] node[[] expr(number[2])) expr(string['x']))) "
       "assignstmt(dsgn(node[i]) expr(number[$1F]))) "
       "forstmt(ident[i] expr(number[9]) downto[downto] expr(number[0]) trystmt(with(dsgn(node[a] node[b]) "
       "callstmt(dsgn(node[c]))) finallystmt(callstmt(dsgn(addr[@] node[P]))))))"},
      {"C++Script",
       "#include \"lib.cpp\"\r\nint n = 0x10, m[3];\r\nvoid f(int &a) { a += 2; return; }\r\n"
       "{ for (n = 0; n < 3; n++) { if (!(n == 1) && n != 2) f(n); } }",
       ""},
      {"BasicScript",
       "Dim x As Integer = 5 : x = x & \"a\"\r\nIf x > 1 Then\r\n  x = x \\ 2\r\nElse\r\n  x = 0\r\nEnd If\r\n",
       "compoundstmt(var(ident[x] type[Integer] init(expr(number[5]))) assignstmt(dsgn(node[x]) "
       "expr(dsgn(node[x]) op[strcat] string['a'])) ifstmt(expr(dsgn(node[x]) op[>] number[1]) "
       "thenstmt(compoundstmt(assignstmt(dsgn(node[x]) expr(dsgn(node[x]) op[div] number[2])))) "
       "elsestmt(compoundstmt(assignstmt(dsgn(node[x]) expr(number[0]))))))"},
      {"JScript",
       "var a = [1, 2..3]; function g(&v) { v = v + 1; } do { g(a); } while (a != 0);",
       "compoundstmt(var(ident[a] init(expr(set(expr(number[1]) expr(number[2]) range[.] expr(number[3]))))) "
       "function(name[g] parameters(var(varparam[&] ident[v])) compoundstmt(assignstmt(dsgn(node[v]) "
       "expr(dsgn(node[v]) op[+] number[1])))) repeatstmt(compoundstmt(callstmt(dsgn(node[g] "
       "expr(dsgn(node[a]))))) expr(dsgn(node[a]) op[<>] number[0]) inverse))"},
  };
  for (const ProgramCase& c : cases) {
    TfsScript s(nullptr);
    s.OnGetUnit = TfsGetUnitEvent([](TfsScript*, const std::string&, std::string& text) {
      text = "int shared;\r\n{ }";
    });
    const Compiled r = Parse(c.language, c.source, &s);
    EXPECT_TRUE(r.Ok) << c.language << ": " << c.source << "\n" << r.Error;
    if (*c.program) {
      EXPECT_EQ(r.Program, c.program) << c.language << ": " << c.source;
    }
  }
}

struct ErrorCase {
  const char* language;
  const char* source;
  const char* error;
};

TEST(TfsILParserTest, ErrorsCarryTheGrammarsTextAndPosition) {
  const ErrorCase cases[] = {
      {"PascalScript", "", "'BEGIN' expected at 1:1"},
      {"C++Script", "", "'{' expected at 1:1"},
      {"PascalScript", "begin end", "'.' expected at 1:10"},
      {"PascalScript", "begin\r\n  a := 1\r\n  b := 2\r\nend.", "';' expected at 3:3"},
      {"PascalScript", "begin if a end.", "'THEN' expected at 1:12"},
      {"PascalScript", "begin if a then end", "'.' expected at 1:20"},
      {"PascalScript", "begin a := (1 + 2; end.", "')' expected at 1:18"},
      {"PascalScript", "begin end. begin", "Statement expected at 1:12"},
      {"C++Script", "{ If (a) b = 1; }", "';' expected at 1:10"},
      {"C++Script", "{ a = 1 }", "';' expected at 1:9"},
      {"BasicScript", "x = 1 y", "End of line expected at 1:7"},
      {"BasicScript", "If a Then\r\n  b = 1\r\n", "'END' expected at 3:1"},
      {"BasicScript", "While a\r\n  b = 1\r\n", "'WEND' expected at 3:1"},
      {"JScript", "if a) b();", "'(' expected at 1:4"},
      {"JScript", "a = ;", "Expression expected at 1:5"},
      {"JScript", "} x", "Statement expected at 1:1"},
  };
  for (const ErrorCase& c : cases) {
    const Compiled r = Parse(c.language, c.source);
    EXPECT_FALSE(r.Ok) << c.language << ": " << c.source;
    EXPECT_EQ(r.Error, c.error) << c.language << ": " << c.source;
  }
}

TEST(TfsILParserTest, LanguageRulesOfTheParts) {
  // Empty texts: success in the two languages without a required block.
  EXPECT_TRUE(Parse("BasicScript", "").Ok);
  EXPECT_TRUE(Parse("JScript", "").Ok);
  EXPECT_TRUE(Parse("BasicScript", "' nothing but a comment\r\n").Ok);
  // A ";" after the last statement is the empty statement before end.
  EXPECT_TRUE(Parse("PascalScript", "begin a; b; end.").Ok);
  // A const section before begin: the failed name is forgiven by its loop.
  EXPECT_TRUE(Parse("PascalScript", "const a = 1; b = 2;\r\nbegin end.").Ok);
  // In C++Script, If is an identifier, not the keyword.
  EXPECT_EQ(Parse("C++Script", "{ If(1); }").Program, "compoundstmt(callstmt(dsgn(node[If] expr(number[1]))))");
  // BasicScript: ":" separates statements, "_" continues a line, REM in
  // capitals is no comment start.
  EXPECT_EQ(Parse("BasicScript", "a = 1 : b = _\r\n 2\r\n").Program,
            "compoundstmt(assignstmt(dsgn(node[a]) expr(number[1])) assignstmt(dsgn(node[b]) expr(number[2])))");
  EXPECT_TRUE(Parse("BasicScript", "rem a comment\r\n").Ok);
  EXPECT_FALSE(Parse("BasicScript", "REM a comment\r\n").Ok);
  // Not-equal in the four notations becomes one operator.
  EXPECT_EQ(Parse("PascalScript", "begin a := 1 <> 2 end.").Program,
            "compoundstmt(assignstmt(dsgn(node[a]) expr(number[1] op[<>] number[2])))");
  EXPECT_EQ(Parse("JScript", "a = 1 != 2;").Program,
            "compoundstmt(assignstmt(dsgn(node[a]) expr(number[1] op[<>] number[2])))");
  // A first line naming another language; positions still count it.
  TfsScript s(nullptr);
  const Compiled basic = Parse("PascalScript", "#language BasicScript\r\nx = 1 y\r\n", &s);
  EXPECT_EQ(basic.Error, "End of line expected at 2:7");
  EXPECT_TRUE(Parse("PascalScript", "#language JScript\r\nx = 1;").Ok);
  EXPECT_THROW(Parse("PascalScript", "#language Cobol\r\n"), Exception);
}

TEST(TfsILParserTest, OutputEscapesAndFaults) {
  // "&" in a literal keeps its value through the intermediate program.
  EXPECT_EQ(Parse("PascalScript", "begin a := 'a&#65;b\"<>' end.").Program,
            "compoundstmt(assignstmt(dsgn(node[a]) expr(string['a&#65;b\"<>'])))");
  // Deep nesting is a compile error, not a stack overflow.
  std::string deep = "begin a := ";
  for (int i = 0; i < 100000; ++i) deep += "(";
  const Compiled r = Parse("PascalScript", deep);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Error.substr(0, 28), "Program is nested too deeply");
  std::string blocks;
  for (int i = 0; i < 50000; ++i) blocks += "{";
  EXPECT_FALSE(Parse("C++Script", blocks).Ok);
  // A failed parse without any recorded message is a syntax error at the
  // furthest point reached, never an empty success.
  const Compiled junk = Parse("BasicScript", ")\r\n");
  EXPECT_FALSE(junk.Ok);
  EXPECT_EQ(junk.Error, "Syntax error at 1:1");
  // Text after a complete program is an error in the grammar's own words.
  EXPECT_EQ(Parse("BasicScript", "x = 1\r\n)\r\n").Error, "End of line expected at 2:1");
}

TEST(TfsILParserTest, UnitsAreCompiledOnceAndPasted) {
  TfsScript s(nullptr);
  int fetched = 0;
  struct Units {
    int* Fetched;
    void Get(TfsScript*, const std::string& name, std::string& text) {
      ++*Fetched;
      if (SameText(name, "a.pas")) text = "uses 'b.pas';\r\nvar fromA: Integer;\r\nbegin end.";
      if (SameText(name, "b.pas")) text = "var fromB: Integer;\r\nbegin end.";
      if (SameText(name, "bad.pas")) text = "begin x := end.";
    }
  } units{&fetched};
  s.OnGetUnit = TfsGetUnitEvent(&units, &Units::Get);
  const Compiled r = Parse("PascalScript", "uses 'a.pas', 'b.pas';\r\nbegin end.", &s);
  ASSERT_TRUE(r.Ok) << r.Error;
  EXPECT_EQ(fetched, 2);  // b.pas named twice, compiled once
  // The units of one clause come in reverse order; a.pas finds b.pas loaded.
  EXPECT_EQ(r.Program,
            "uses(program(var(ident[fromB] type[Integer]) compoundstmt)) "
            "uses(program(var(ident[fromA] type[Integer]) compoundstmt)) compoundstmt");
  const Compiled bad = Parse("PascalScript", "uses 'bad.pas';\r\nbegin end.", &s);
  EXPECT_FALSE(bad.Ok);
  EXPECT_EQ(bad.Error, "Expression expected at 1:12");
  EXPECT_EQ(s.ErrorUnitName, "bad.pas");
}

TEST(LanguageGrammarsTest, RegistryReplacesAndFindsByName) {
  EXPECT_EQ(LanguageGrammarNames().size() >= 4, true);
  EXPECT_EQ(LanguageGrammarNames()[0], "JScript");
  EXPECT_EQ(FindLanguageGrammar("pascalscript"), FindLanguageGrammar("PascalScript"));
  AddLanguageGrammar("Tiny", "<?xml version=\"1.0\"?><language><program><ident add=\"x\"/></program></language>");
  AddLanguageGrammar("tiny", "<?xml version=\"1.0\"?><language/>");
  EXPECT_EQ(FindLanguageGrammar("TINY"), "<?xml version=\"1.0\"?><language/>");
  // No program rule: an empty one, which matches an empty text.
  EXPECT_TRUE(Parse("Tiny", "").Ok);
  AddLanguageGrammar("Broken", "<?xml version=\"1.0\"?><language><program><nosuchrule/></program></language>");
  EXPECT_THROW(Parse("Broken", "x"), Exception);
  AddLanguageGrammar("NotXml", "language");
  EXPECT_THROW(Parse("NotXml", "x"), Exception);
  try {
    FindLanguageGrammar("Cobol");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Language 'Cobol' not found");
  }
}

}  // namespace
