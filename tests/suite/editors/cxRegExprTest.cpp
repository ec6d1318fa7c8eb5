#include "suite/editors/cxRegExpr.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Utf8.h"

namespace {

TFormatSettings Separators(char date, char time, char decimal) {
  TFormatSettings s = TFormatSettings::English();
  s.DateSeparator = date;
  s.TimeSeparator = time;
  s.DecimalSeparator = decimal;
  return s;
}

struct ExpectedError {
  Integer Line;
  Integer Column;
  std::string Message;
};

std::vector<ExpectedError> CompileErrors(std::string_view pattern) {
  TcxRegExpr re;
  std::vector<ExpectedError> result;
  try {
    re.Compile(pattern);
  } catch (const EcxRegExprError& e) {
    EXPECT_EQ(e.Errors, &re.Errors());
    EXPECT_EQ(e.Message, "");
    for (Integer i = 0; i < re.Errors().Count(); ++i)
      result.push_back({re.Errors()[i].Line, re.Errors()[i].Column, re.Errors()[i].Message});
  }
  EXPECT_EQ(re.Compiled(), result.empty());
  return result;
}

// Feeds each character of text; answers the characters accepted (as the
// matcher handed them back).
std::string Feed(TcxRegExpr& re, std::string_view text) {
  std::string accepted;
  size_t pos = 0;
  while (pos < text.size()) {
    char32_t ch = Utf8Decode(text, pos);
    if (re.Next(ch)) accepted += Utf8Encode(ch);
  }
  return accepted;
}

struct Recorder {
  std::string added;
  int removed = 0;
  void Added(char32_t ch) { added += Utf8Encode(ch); }
  void Removed() { ++removed; }
  void Attach(TcxRegExpr& re) {
    re.OnForcedCharAdded = TcxRegExpr::TForcedCharAddedEvent(this, &Recorder::Added);
    re.OnForcedCharRemoved = TcxRegExpr::TForcedCharRemovedEvent(this, &Recorder::Removed);
  }
};

}  // namespace

TEST(cxRegExprCompile, ErrorsCarryTextAndPosition) {
  TFormatSettingsPin pin(Separators('/', ':', '.'));
  struct Case {
    const char* pattern;
    std::vector<ExpectedError> errors;
  };
  const Case cases[] = {
      {"", {{0, 0, "The source stream is empty"}}},
      {" \r\n\t\n ", {{0, 0, "The source stream is empty"}}},
      {"*a", {{1, 1, "Illegal quantifier '*'"}}},
      {"*a|+", {{1, 1, "Illegal quantifier '*'"}, {1, 4, "Illegal quantifier '+'"}}},
      {"((a)", {{0, 0, "Missing ')'"}}},
      {"a))", {{0, 0, "Unnecessary ')'"}}},
      // Tokenising errors hide parse errors ("*" on an item that can be empty).
      {"(a?)*)", {{0, 0, "Unnecessary ')'"}}},
      {"(a?)*", {{1, 5, "The '*' quantifier cannot be applied here"}}},
      {"(a*|b)+", {{1, 7, "The '+' quantifier cannot be applied here"}}},
      {"a?{2}", {{1, 3, "The parameter quantifier cannot be applied here"}}},
      {"a{3,2}", {{1, 5, "Incorrect parameter quantifier"}}},
      {"a{2,x}", {{1, 5, "Illegal 'x'"}}},
      {"a{'}", {{1, 3, "Illegal ' ' '"}}},
      {"a{,2}", {{1, 3, "Incorrect parameter quantifier"}}},
      {"{2}", {{1, 1, "Incorrect parameter quantifier"}, {1, 2, "Illegal integer value"}, {1, 3, "Illegal '}'"}}},
      {"[a-a]", {{1, 2, "The starting character of the subrange must be less than the finishing one"}}},
      {"[z-a]", {{1, 2, "The starting character of the subrange must be less than the finishing one"}}},
      {"[a-c-e]", {{1, 5, "Illegal '-'"}}},
      {"[^]", {{1, 1, "Can't create empty enumeration"}}},
      {"[]", {{1, 1, "Can't create empty enumeration"}}},
      {"(ab)\\2", {{1, 5, "Too big reference number"}}},
      {"a|", {{0, 0, "The alternative should not be empty"}}},
      {"|a", {{1, 1, "The alternative should not be empty"}}},
      {"()", {{1, 2, "The block should not be empty"}}},
      {"(a|)", {{1, 4, "The block should not be empty"}}},
      {"a)(b", {{1, 2, "Illegal ')'"}}},
      {"\\x4", {{1, 4, "Hexadecimal number expected"}}},
      {"\\xg1", {{1, 3, "Hexadecimal number expected but 'g' found"}}},
      {"a\\ b", {{1, 3, "The space character is not allowed after '\\'"}}},
      {"'abc", {{1, 5, "Missing ' ' '"}}},
      {"[ab", {{1, 4, "Missing ']'"}}},
      {"[a-  ", {{1, 6, "Missing ']'"}}},
      {"a{2", {{1, 4, "Missing '}'"}}},
      // Counts are bounded: above 1000, overflowing, or cloning too much in all.
      {"a{1001}", {{1, 3, "Incorrect parameter quantifier"}}},
      {"a{2,1001}", {{1, 5, "Incorrect parameter quantifier"}}},
      {"a{99999999999999999999999}", {{1, 3, "Incorrect parameter quantifier"}}},
      {"(a{1000}){1000}", {{1, 10, "Incorrect parameter quantifier"}}},
      {"((a{100}){100}){100}", {{1, 16, "Incorrect parameter quantifier"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    const auto errors = CompileErrors(c.pattern);
    ASSERT_EQ(errors.size(), c.errors.size());
    for (size_t i = 0; i < errors.size(); ++i) {
      EXPECT_EQ(errors[i].Message, c.errors[i].Message);
      EXPECT_EQ(errors[i].Line, c.errors[i].Line);
      EXPECT_EQ(errors[i].Column, c.errors[i].Column);
    }
  }
}

TEST(cxRegExprCompile, LinesCountWithEveryLineEnd) {
  for (const char* pattern : {"ab\n  (\n)", "ab\r\n  (\r\n)", "ab\r  (\r)"}) {
    SCOPED_TRACE(pattern);
    const auto errors = CompileErrors(pattern);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Line, 3);
    EXPECT_EQ(errors[0].Column, 1);
  }
}

TEST(cxRegExprCompile, NestingIsBounded) {
  const auto nested = [](int depth) { return std::string(depth, '(') + "a" + std::string(depth, ')'); };
  EXPECT_TRUE(CompileErrors(nested(500)).empty());
  const auto errors = CompileErrors(nested(5000));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].Message, "Groups are nested too deeply");
  EXPECT_EQ(errors[0].Column, 501);
}

// Patterns whose automaton would be huge, nest without end or link every
// item to every later one are refused; big ones within the bounds compile
// and match without exhausting the stack.
TEST(cxRegExprCompile, AutomatonStaysWithinAFixedSize) {
  struct Case {
    std::string pattern;
    const char* message;  // nullptr: compiles
  };
  const Case cases[] = {
      // Empty groups cost states too: these two used to compile into chains
      // of empty groups that overflowed the stack at the first key.
      {"(x{0}{50}){50}{36}", "Incorrect parameter quantifier"},
      {"x{0}{4}{4}{15}{4}{15}{4}q", "Incorrect parameter quantifier"},
      // Quantifiers stacked on one item nest like groups.
      {"a" + std::string(100000, '+'), "Groups are nested too deeply"},
      {"a" + std::string(100000, '?'), "Groups are nested too deeply"},
      {"a" + std::string(1500, '?'), nullptr},
      // Each optional item links to every later one.
      {[] {
         std::string p;
         for (int i = 0; i < 2000; ++i) p += "a?";
         return p;
       }(),
       "The regular expression is too complex"},
      {std::string(250000, 'a'), "The regular expression is too complex"},
      {"x{0,1000}", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern.substr(0, 40));
    const auto errors = CompileErrors(c.pattern);
    if (!c.message) {
      EXPECT_TRUE(errors.empty());
      continue;
    }
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Message, c.message);
  }
}

TEST(cxRegExprMatch, LongChainsOfEmptyGroupsAreWalkedWithoutRecursion) {
  TcxRegExpr re;
  re.Compile("((x{0}){1000}){20}q");  // 20,000 empty groups in a row
  char32_t ch = 'q';
  EXPECT_TRUE(re.Next(ch));
  EXPECT_TRUE(re.IsFinal());
  EXPECT_TRUE(re.Prev());
  EXPECT_TRUE(re.IsStart());

  re.Compile("x{0,1000}");
  EXPECT_EQ(Feed(re, std::string(1001, 'x')), std::string(1000, 'x'));
  EXPECT_TRUE(re.IsFinal());
}

TEST(cxRegExprCompile, FullText) {
  EXPECT_EQ(TcxRegExprError(1, 5, "Illegal quantifier '*'").FullText(), "Line1, Char5: Illegal quantifier '*'");
  EXPECT_EQ(TcxRegExprError(2, 0, "x").FullText(), "Line2: x");
  EXPECT_EQ(TcxRegExprError(0, 0, "Missing ')'").FullText(), "Missing ')'");
}

TEST(cxRegExprCompile, NilStreamAndRecompile) {
  TcxRegExpr re;
  EXPECT_THROW(re.Compile(static_cast<TStream*>(nullptr)), EcxRegExprError);
  ASSERT_EQ(re.Errors().Count(), 1);
  EXPECT_EQ(re.Errors()[0].Message, "The source stream is not assigned");
  EXPECT_EQ(re.SourceStream(), nullptr);

  TStringStream stream("ab");
  stream.SetPosition(1);  // compiled from the start whatever the position
  re.Compile(&stream);
  EXPECT_EQ(re.Errors().Count(), 0);
  ASSERT_NE(re.SourceStream(), nullptr);
  EXPECT_EQ(re.SourceStream()->Size(), 2);
  EXPECT_EQ(Feed(re, "ab"), "ab");
  EXPECT_TRUE(re.IsFinal());

  EXPECT_THROW(re.Compile("*"), EcxRegExprError);
  EXPECT_FALSE(re.Compiled());
  re.Clear();
  EXPECT_EQ(re.Errors().Count(), 0);
}

TEST(cxRegExprMatch, NotCompiledRaises) {
  TcxRegExpr re;
  char32_t ch = 'a';
  try {
    re.Next(ch);
    FAIL();
  } catch (const EcxRegExprError&) {
    FAIL() << "a plain exception is expected";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Regular expression is not compiled");
  }
  EXPECT_THROW(re.Reset(), Exception);
  EXPECT_THROW(re.IsFinal(), Exception);
  EXPECT_THROW(re.Prev(), Exception);
  EXPECT_THROW(re.FilterText("a"), Exception);
  re.SetAutoComplete(true);  // the setter alone works uncompiled
}

TEST(cxRegExprMatch, PatternsAcceptAndEnd) {
  TFormatSettingsPin pin(Separators('.', '-', ','));
  struct Case {
    const char* pattern;
    const char* input;
    const char* accepted;
    bool final;
  };
  const Case cases[] = {
      // "/" is the locale's date separator, "\/" a literal slash.
      {"\\d\\d/\\d\\d/\\d\\d", "12/.34.56", "12.34.56", true},
      {"\\d\\d\\/", "12./", "12/", true},
      {":", ":-", "-", true},
      {"\\p\\d", ".,5", ",5", true},
      {"a b", "ab", "ab", true},
      {"'a b'", "a b", "a b", true},
      {"'it''s'", "it's", "it's", true},
      {"(a|b)*c", "abbac", "abbac", true},
      {"(a|b)*c", "abba", "abba", false},
      {"[a-]", "-", "-", true},
      {"[a-]", "a", "a", true},
      {"[^a-c]", "ad", "d", true},
      {"[a\\d.]", "x5", "5", true},
      {"[.(*]*", "x.(*", ".(*", true},
      {"(ab)\\1", "abab", "abab", true},
      {"(ab)\\1", "ab", "ab", false},
      {"(a|b)\\1", "ab", "ab", true},  // the copy is of the pattern, not of the text
      // x{1,} accepts a single x.
      {"x{1,}", "x", "x", true},
      {"x{1,}", "xxxxx", "xxxxx", true},
      {"x{2,4}", "x", "x", false},
      {"x{2,4}", "xx", "xx", true},
      {"x{2,4}", "xxxxx", "xxxx", true},
      {"x{3}", "xxxx", "xxx", true},
      {"x{0,2}y", "y", "y", true},
      {"a+?", "aaa", "aaa", true},
      {"(ab)+{2}", "abab", "abab", true},
      // A group that can match nothing may end the text.
      {"b(a?)", "b", "b", true},
      {"b(a?|c*)d", "bd", "bd", true},
      {"\\x41\\e", "A\x1b", "A\x1b", true},
      {"\\w\\W\\s\\S", "_- x", "_- x", true},
      {"\\w", "-", "", false},
      {"\\s\\s\\s", "\t\n\r", "\t\n\r", true},
      {"\\D", "5a", "a", true},
      {"ä[é-ë]", "äèê", "äê", true},
      {".", "中", "中", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " <- " + c.input);
    TcxRegExpr re;
    re.Compile(c.pattern);
    EXPECT_EQ(Feed(re, c.input), c.accepted);
    EXPECT_EQ(re.IsFinal(), c.final);
  }
}

TEST(cxRegExprMatch, CaseInsensitive) {
  TcxRegExpr re;
  re.SetCaseInsensitive(true);
  re.Compile("abc");
  char32_t ch = 'A';
  EXPECT_TRUE(re.Next(ch));
  EXPECT_EQ(ch, U'a');  // the pattern's own spelling comes back

  re.Compile("[a-z]");
  ch = 'A';
  EXPECT_FALSE(re.Next(ch));  // ranges never ignore case
  re.Compile("[xyz]");
  ch = 'Y';
  EXPECT_TRUE(re.Next(ch));
  EXPECT_EQ(ch, U'y');

  re.SetCaseInsensitive(false);
  re.Compile("abc");
  ch = 'A';
  EXPECT_FALSE(re.Next(ch));

  // The answer does not depend on the order of the alternatives.
  re.SetCaseInsensitive(true);
  for (const char* pattern : {"ab|[A-Z]c", "[A-Z]c|ab"}) {
    SCOPED_TRACE(pattern);
    re.Compile(pattern);
    EXPECT_EQ(Feed(re, "Ac"), "Ac");
    EXPECT_TRUE(re.IsFinal());
    re.Reset();
    EXPECT_EQ(Feed(re, "Ab"), "Ab");  // "[A-Z]" took the "A" as typed
    EXPECT_TRUE(re.IsFinal());
  }
}

TEST(cxRegExprMatch, RefusedCharacterChangesNothing) {
  TcxRegExpr re;
  re.Compile("\\d*x");
  char32_t ch = 'a';
  EXPECT_FALSE(re.Next(ch));
  EXPECT_TRUE(re.IsStart());
  EXPECT_FALSE(re.IsFinal());
  EXPECT_FALSE(re.Prev());  // no history was added

  EXPECT_EQ(Feed(re, "1x"), "1x");
  EXPECT_TRUE(re.IsFinal());
  ch = 'y';
  EXPECT_FALSE(re.Next(ch));
  EXPECT_TRUE(re.IsFinal());
  EXPECT_TRUE(re.Prev());
  EXPECT_FALSE(re.IsFinal());
  EXPECT_TRUE(re.Prev());
  EXPECT_TRUE(re.IsStart());
  EXPECT_FALSE(re.Prev());
}

TEST(cxRegExprMatch, FilterText) {
  TcxRegExpr re;
  re.Compile("\\d*");
  EXPECT_TRUE(re.IsFinal());  // right after the compile's reset
  EXPECT_EQ(re.FilterText("1a2"), "12");
  // No reset: it goes on from where the text ended.
  re.Compile("\\d\\d");
  EXPECT_EQ(re.FilterText("1a"), "1");
  EXPECT_EQ(re.FilterText("345"), "3");
  EXPECT_TRUE(re.IsFinal());
  re.Reset();
  EXPECT_TRUE(re.IsStart());
  re.Compile("abc");
  re.SetCaseInsensitive(true);
  EXPECT_EQ(re.FilterText("AbC"), "AbC");  // as they stood in the text
}

TEST(cxRegExprAutoComplete, TimeSeparatorIsAddedAndRemoved) {
  TFormatSettingsPin pin(Separators('/', '.', ','));
  TcxRegExpr re;
  Recorder rec;
  rec.Attach(re);
  re.SetAutoComplete(true);
  re.Compile("\\d\\d:\\d\\d");
  EXPECT_EQ(rec.added, "");
  EXPECT_EQ(Feed(re, "12"), "12");
  EXPECT_EQ(rec.added, ".");
  EXPECT_FALSE(re.IsFinal());
  EXPECT_EQ(Feed(re, "3"), "3");
  EXPECT_FALSE(re.IsFinal());
  EXPECT_TRUE(re.Prev());  // over the 3
  EXPECT_EQ(rec.removed, 0);

  EXPECT_TRUE(re.Prev());  // over the 2, taking the separator with it
  EXPECT_EQ(rec.removed, 1);
  // "1" is what stays: one more step back reaches the start.
  EXPECT_FALSE(re.IsStart());
  EXPECT_TRUE(re.Prev());
  EXPECT_TRUE(re.IsStart());
  EXPECT_FALSE(re.Prev());

  EXPECT_EQ(Feed(re, "1234"), "1234");
  EXPECT_EQ(rec.added, "..");
  EXPECT_TRUE(re.IsFinal());
}

TEST(cxRegExprAutoComplete, LeadingForcedCharactersAtCompile) {
  TcxRegExpr re;
  Recorder rec;
  rec.Attach(re);
  re.SetAutoComplete(true);
  re.Compile("'+7' \\d*");
  EXPECT_EQ(rec.added, "+7");
  EXPECT_FALSE(re.IsStart());
  EXPECT_TRUE(re.IsFinal());
  EXPECT_EQ(Feed(re, "95"), "95");
  EXPECT_EQ(rec.added, "+7");  // completion stops where the text could end
}

TEST(cxRegExprAutoComplete, SwitchingOnCompletesAtOnce) {
  TcxRegExpr re;
  Recorder rec;
  rec.Attach(re);
  re.Compile("ab(c|d)");
  EXPECT_EQ(rec.added, "");
  re.SetAutoComplete(true);
  EXPECT_EQ(rec.added, "ab");
  re.SetAutoComplete(true);  // already on: nothing more
  EXPECT_EQ(rec.added, "ab");
  // A real choice follows; then the rest is fixed up to the end.
  EXPECT_FALSE(re.IsFinal());
  EXPECT_EQ(Feed(re, "d"), "d");
  EXPECT_TRUE(re.IsFinal());
  // Stepping back over the choice removes nothing forced.
  EXPECT_TRUE(re.Prev());
  EXPECT_EQ(rec.removed, 0);
}

TEST(cxRegExprAutoComplete, ForcedCharactersOfEveryAlternativeMustAgree) {
  TcxRegExpr re;
  Recorder rec;
  rec.Attach(re);
  re.SetAutoComplete(true);
  re.Compile("\\d(-a|-b)");
  EXPECT_EQ(Feed(re, "5"), "5");
  EXPECT_EQ(rec.added, "-");  // both alternatives start with "-"
  EXPECT_EQ(Feed(re, "b"), "b");
  EXPECT_TRUE(re.IsFinal());
}

TEST(cxRegExprAutoComplete, LongRunsAreCompletedAndGrowingOnesBounded) {
  struct Counter {
    int added = 0;
    void Added(char32_t) { ++added; }
  };
  Counter counter;
  TcxRegExpr re;
  re.OnForcedCharAdded = TcxRegExpr::TForcedCharAddedEvent(&counter, &Counter::Added);
  re.SetAutoComplete(true);
  re.Compile("x{1000}{5}");
  EXPECT_EQ(counter.added, 5000);
  EXPECT_TRUE(re.IsFinal());

  // Every "+" passed stays in the set, so this run would cost its length
  // squared; it stops early and leaves the rest to be typed.
  counter.added = 0;
  re.Compile("((a+){1000}){2}");
  EXPECT_GT(counter.added, 100);
  EXPECT_LT(counter.added, 2000);
  EXPECT_FALSE(re.IsFinal());
  char32_t ch = 'a';
  EXPECT_TRUE(re.Next(ch));
}
