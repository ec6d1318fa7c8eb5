// The lexer of every script language. It has no token stream: the grammar
// interpreter asks, at the current position, for one token of a given kind and
// moves the position back when a rule fails. What differs between languages
// (comments, quotes, hex prefix, identifier characters, keywords, line ends,
// case) is configured by the language's grammar.
//
// Positions are 1-based byte positions into Text; reads never raise, they
// return an empty text (or false) and leave Position unchanged on failure.
#pragma once

#include <bitset>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/System.h"

class TfsParser : public TObject {
 public:
  using TCharSet = std::bitset<256>;

  TfsParser();

  // Back to the defaults: "//" line comments, "{ }" and "(* *)" blocks, "$"
  // hex prefix, "'" quotes, identifier characters 0-9 A-Z _ a-z, no keywords,
  // line ends are white space, case-insensitive keywords, automatic skipping.
  void Reset();

  void SetText(std::string_view text);
  const std::string& Text() const { return FText; }  // source plus one #0
  Integer Size() const { return FSize; }

  Integer Position() const { return FPosition; }
  void SetPosition(Integer p) { FPosition = FTokenStart = p; }
  Integer TokenStart() const { return FTokenStart; }

  void SetCommentBlock1(std::string_view commaText);
  void SetCommentBlock2(std::string_view commaText);
  void SetIdentChars(std::string_view chars);
  const TCharSet& IdentChars() const { return FIdentChars; }

  // Keywords are kept sorted; lookups are binary searches.
  void AddKeyword(std::string_view word);
  void ClearKeywords() { FKeywords.clear(); }
  const std::vector<std::string>& Keywords() const { return FKeywords; }
  bool IsKeyword(std::string_view word) const;

  void SkipSpaces();
  bool SkipLineEnd();
  std::string ReadWord();
  std::string ReadIdent();
  std::string ReadChar();
  std::string ReadNumber();
  std::string ReadString();
  std::string ReadBracketedText();

  // "line:col" of Position (or of any position), both counted from 1.
  std::string PositionToText() const { return PositionToText(FPosition); }
  std::string PositionToText(Integer position) const;
  // The position of column col on line line; -1 when the line does not exist.
  Integer TextToPosition(Integer col, Integer line) const;

  std::string CommentLine1 = "//";
  std::string CommentLine2;
  std::string CommentBlockOpen1, CommentBlockClose1;
  std::string CommentBlockOpen2, CommentBlockClose2;
  std::string HexSequence = "$";
  std::string StringQuotes = "'";
  std::string SkipChar;
  bool SkipEOL = true;
  bool CaseSensitive = false;
  bool AutoSkip = true;

 private:
  char At(Integer p) const { return FText[static_cast<size_t>(p - 1)]; }
  bool StartsWithAt(Integer p, std::string_view s) const;
  bool ReadInteger();  // at Position; restores Position on failure
  bool ReadQuotedPiece(std::string& out);
  bool ReadCharCode(std::string& out);

  std::string FText{'\0'};
  Integer FSize = 0;
  Integer FPosition = 1;
  Integer FTokenStart = 1;
  std::vector<Integer> FLineStarts{0};
  std::vector<std::string> FKeywords;
  TCharSet FIdentChars;
};
