#include "script/fs_iparser.h"

#include <gtest/gtest.h>

namespace {

struct StringCase {
  const char* quotes;
  const char* source;
  const char* expected;  // "" when no string reads
  int endPosition;       // Position afterwards
};

TEST(TfsParserTest, StringsFollowTheLanguagesQuoteRules) {
  const StringCase cases[] = {
      {"'", "'it''s'", "'it's'", 8},
      {"'", "'a'#13#10'b'", "'a\r\nb'", 13},
      {"'", "#$41#66", "'AB'", 8},
      {"'", "''", "''", 3},
      {"'", "'broken\nline'", "", 1},
      {"'", "'unterminated", "", 1},
      {"'", "x", "", 1},
      {"\"", R"("say \"hi\"")", "'say \"hi\"'", 13},
      {"\"", R"("\x41\n\R\\")", "'A\n\r\\'", 13},
      {"\"", R"("\xZ")", "'Z'", 6},
      {"\"", "\"a\"#9", "'a\t'", 6},
  };
  for (const auto& c : cases) {
    TfsParser p;
    p.StringQuotes = c.quotes;
    p.SetText(c.source);
    EXPECT_EQ(p.ReadString(), c.expected) << c.source;
    EXPECT_EQ(p.Position(), c.endPosition) << c.source;
  }
}

TEST(TfsParserTest, NumbersReadIntegersRealsAndHex) {
  struct {
    const char* hex;
    const char* source;
    const char* expected;
  } cases[] = {
      {"$", "1..5", "1"},     {"$", "1.5e3+", "1.5e3"}, {"$", "12e", "12"},
      {"$", "7.", "7"},       {"$", "$1F", "$1F"},      {"$", "$G", ""},
      {"0x", "0x1F", "$1F"},  {"0x", "0", "0"},         {"$", "  42 ", "42"},
      {"$", "2E-3", "2E-3"},  {"$", "abc", ""},         {"$", "3.25E+x", "3.25"},
  };
  for (const auto& c : cases) {
    TfsParser p;
    p.HexSequence = c.hex;
    p.SetText(c.source);
    EXPECT_EQ(p.ReadNumber(), c.expected) << c.source;
  }
  TfsParser p;
  p.SetText("1..5");
  EXPECT_EQ(p.ReadNumber(), "1");
  EXPECT_EQ(p.ReadChar(), ".");
  EXPECT_EQ(p.ReadChar(), ".");
  EXPECT_EQ(p.ReadNumber(), "5");
}

TEST(TfsParserTest, CommentsAndSpacesAreSkipped) {
  TfsParser p;
  p.SetText("{ brace } (* { *) // line\n  word");
  EXPECT_EQ(p.ReadWord(), "word");
  EXPECT_EQ(p.TokenStart(), 29);

  p.SetText("(* never { nested *) x");
  EXPECT_EQ(p.ReadWord(), "x");

  p.SetText("{ unterminated comment");
  EXPECT_EQ(p.ReadWord(), "");
  EXPECT_EQ(p.Position(), 1);
}

TEST(TfsParserTest, KeywordsAndIdentifiers) {
  TfsParser pascal;
  pascal.AddKeyword("end");
  pascal.AddKeyword("begin");
  pascal.SetText("Begin x");
  EXPECT_EQ(pascal.ReadIdent(), "");
  EXPECT_EQ(pascal.Position(), 1);
  EXPECT_EQ(pascal.ReadWord(), "Begin");
  EXPECT_EQ(pascal.ReadIdent(), "x");

  TfsParser cpp;
  cpp.CaseSensitive = true;
  cpp.AddKeyword("begin");
  EXPECT_FALSE(cpp.IsKeyword("Begin"));
  EXPECT_TRUE(cpp.IsKeyword("begin"));

  TfsParser p;
  p.SetText("9lives _ok");
  EXPECT_EQ(p.ReadWord(), "");  // a digit never starts an identifier
  p.SetText("_ok9+");
  EXPECT_EQ(p.ReadWord(), "_ok9");
  EXPECT_EQ(p.ReadChar(), "+");
  p.SetIdentChars("ab");
  p.SetText("abc");
  EXPECT_EQ(p.ReadWord(), "ab");
}

TEST(TfsParserTest, LineEndsAndContinuations) {
  TfsParser p;
  p.SkipEOL = false;
  p.SetText("a  \r\n\r\nb");
  EXPECT_EQ(p.ReadWord(), "a");
  p.SkipSpaces();
  EXPECT_EQ(p.Position(), 4);  // stops at the carriage return
  EXPECT_TRUE(p.SkipLineEnd());
  EXPECT_EQ(p.ReadWord(), "b");
  EXPECT_FALSE(p.SkipLineEnd());

  p.SkipChar = "_";
  p.SetText("a _\r\n b");
  EXPECT_EQ(p.ReadWord(), "a");
  EXPECT_FALSE(p.SkipLineEnd());  // the continuation joined the lines
  EXPECT_EQ(p.ReadWord(), "b");

  // Continuations in a row each join one more line; a long run of them (a
  // hostile script) is a loop, not a recursion.
  p.SetText("a _ _\r\n \r\n b");
  EXPECT_EQ(p.ReadWord(), "a");
  EXPECT_EQ(p.ReadWord(), "b");
  p.SetText("a _\r\n \r\n b");
  EXPECT_EQ(p.ReadWord(), "a");
  EXPECT_TRUE(p.SkipLineEnd());  // one continuation joins one line only
  p.SetText("a " + std::string(100000, '_') + "\r\nb");
  EXPECT_EQ(p.ReadWord(), "a");
  EXPECT_FALSE(p.SkipLineEnd());
  EXPECT_EQ(p.ReadWord(), "b");
}

TEST(TfsParserTest, PositionsConvertToLineAndColumn) {
  TfsParser p;
  p.SetText("ab\ncd\n\nx");
  EXPECT_EQ(p.PositionToText(1), "1:1");
  EXPECT_EQ(p.PositionToText(3), "1:3");  // the line feed belongs to its line
  EXPECT_EQ(p.PositionToText(4), "2:1");
  EXPECT_EQ(p.PositionToText(8), "4:1");
  EXPECT_EQ(p.TextToPosition(2, 2), 5);
  EXPECT_EQ(p.TextToPosition(1, 5), -1);
  EXPECT_EQ(p.TextToPosition(1, 0), -1);
}

TEST(TfsParserTest, BracketedTextStopsAtTheMatchingBracket) {
  TfsParser p;
  p.SetText("a<[b]> '>' \"]\" c> tail");
  EXPECT_EQ(p.ReadBracketedText(), "a<[b]> '>' \"]\" c");
  EXPECT_EQ(p.ReadChar(), ">");
  p.SetText("never closed");
  EXPECT_EQ(p.ReadBracketedText(), "never closed");
}

TEST(TfsParserTest, ResetRestoresDefaults) {
  TfsParser p;
  p.HexSequence = "0x";
  p.StringQuotes = "\"";
  p.CaseSensitive = true;
  p.SkipEOL = false;
  p.SetCommentBlock1("/*,*/");
  p.AddKeyword("if");
  p.Reset();
  EXPECT_EQ(p.HexSequence, "$");
  EXPECT_EQ(p.StringQuotes, "'");
  EXPECT_FALSE(p.CaseSensitive);
  EXPECT_TRUE(p.SkipEOL);
  EXPECT_EQ(p.CommentBlockOpen1, "{");
  EXPECT_EQ(p.CommentBlockClose2, "*)");
  EXPECT_TRUE(p.Keywords().empty());
  p.SetCommentBlock2("<!--");
  EXPECT_EQ(p.CommentBlockOpen2, "<!--");
  EXPECT_EQ(p.CommentBlockClose2, "");
}

}  // namespace
