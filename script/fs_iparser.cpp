#include "script/fs_iparser.h"

#include <algorithm>
#include <tuple>

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

int CompareNoCase(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char x = LowerAscii(a[i]), y = LowerAscii(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  return LowerAscii(c) - 'a' + 10;
}

std::pair<std::string, std::string> SplitCommaText(std::string_view text) {
  const size_t comma = text.find(',');
  if (comma == std::string_view::npos) return {std::string(text), std::string()};
  return {std::string(text.substr(0, comma)), std::string(text.substr(comma + 1))};
}

}  // namespace

TfsParser::TfsParser() { Reset(); }

void TfsParser::Reset() {
  CommentLine1 = "//";
  CommentLine2.clear();
  SetCommentBlock1("{,}");
  SetCommentBlock2("(*,*)");
  HexSequence = "$";
  StringQuotes = "'";
  SkipChar.clear();
  SkipEOL = true;
  CaseSensitive = false;
  AutoSkip = true;
  FKeywords.clear();
  SetIdentChars("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
  FPosition = FTokenStart = 1;
}

void TfsParser::SetText(std::string_view text) {
  FText.assign(text);
  FText.push_back('\0');
  FSize = static_cast<Integer>(text.size());
  FLineStarts.assign(1, 0);
  for (Integer i = 0; i < FSize; ++i)
    if (text[static_cast<size_t>(i)] == '\n') FLineStarts.push_back(i + 1);
  FPosition = FTokenStart = 1;
}

void TfsParser::SetCommentBlock1(std::string_view commaText) {
  std::tie(CommentBlockOpen1, CommentBlockClose1) = SplitCommaText(commaText);
}

void TfsParser::SetCommentBlock2(std::string_view commaText) {
  std::tie(CommentBlockOpen2, CommentBlockClose2) = SplitCommaText(commaText);
}

void TfsParser::SetIdentChars(std::string_view chars) {
  FIdentChars.reset();
  for (char c : chars) FIdentChars.set(static_cast<unsigned char>(c));
}

void TfsParser::AddKeyword(std::string_view word) {
  auto it = std::lower_bound(FKeywords.begin(), FKeywords.end(), word,
                             [](const std::string& a, std::string_view b) {
                               return CompareNoCase(a, b) < 0;
                             });
  FKeywords.insert(it, std::string(word));
}

bool TfsParser::IsKeyword(std::string_view word) const {
  auto lo = std::lower_bound(FKeywords.begin(), FKeywords.end(), word,
                             [](const std::string& a, std::string_view b) {
                               return CompareNoCase(a, b) < 0;
                             });
  for (auto it = lo; it != FKeywords.end() && CompareNoCase(*it, word) == 0; ++it)
    if (!CaseSensitive || *it == word) return true;
  return false;
}

bool TfsParser::StartsWithAt(Integer p, std::string_view s) const {
  if (s.empty() || p < 1 || p > FSize) return false;
  return std::string_view(FText).substr(static_cast<size_t>(p - 1), s.size()) == s &&
         static_cast<size_t>(FSize - p + 1) >= s.size();
}

void TfsParser::SkipSpaces() {
  // A continuation character is followed by a line end that it swallows once
  // no more blanks, comments or continuations stand before it. The pending
  // count replaces the recursion through SkipLineEnd, so any number of
  // continuation characters in a row costs no stack.
  Integer pendingLineEnds = 0;
  for (;;) {
    while (FPosition <= FSize) {
      const auto c = static_cast<unsigned char>(At(FPosition));
      if (c > 32 || (c == 13 && !SkipEOL)) break;
      ++FPosition;
    }
    if (FPosition <= FSize && !SkipChar.empty() && At(FPosition) == SkipChar[0]) {
      ++FPosition;
      ++pendingLineEnds;
      continue;
    }
    if (FPosition < FSize) {
      if (StartsWithAt(FPosition, CommentLine1) || StartsWithAt(FPosition, CommentLine2)) {
        while (FPosition <= FSize && At(FPosition) != '\n') ++FPosition;
        continue;
      }
      const std::string* closer = nullptr;
      if (StartsWithAt(FPosition, CommentBlockOpen1)) {
        FPosition += static_cast<Integer>(CommentBlockOpen1.size());
        closer = &CommentBlockClose1;
      } else if (StartsWithAt(FPosition, CommentBlockOpen2)) {
        FPosition += static_cast<Integer>(CommentBlockOpen2.size());
        closer = &CommentBlockClose2;
      }
      if (closer) {
        const size_t found =
            closer->empty() ? std::string::npos
                            : std::string_view(FText.data(), static_cast<size_t>(FSize))
                                  .find(*closer, static_cast<size_t>(FPosition - 1));
        FPosition = found == std::string::npos
                        ? FSize + 1
                        : static_cast<Integer>(found + closer->size()) + 1;
        continue;
      }
    }
    if (pendingLineEnds > 0) {
      const Integer before = FPosition;
      while (FPosition <= FSize && (At(FPosition) == '\r' || At(FPosition) == '\n')) ++FPosition;
      // Without a line end here, the continuations still waiting find none either.
      pendingLineEnds = FPosition == before ? 0 : pendingLineEnds - 1;
      if (FPosition != before) continue;
    }
    break;
  }
  FTokenStart = FPosition;
}

bool TfsParser::SkipLineEnd() {
  SkipSpaces();
  bool found = false;
  while (FPosition <= FSize && (At(FPosition) == '\r' || At(FPosition) == '\n')) {
    ++FPosition;
    found = true;
  }
  return found;
}

std::string TfsParser::ReadWord() {
  const Integer entry = FPosition;
  if (AutoSkip) SkipSpaces();
  const Integer start = FPosition;
  if (FPosition > FSize || IsDigit(At(FPosition)) ||
      !FIdentChars.test(static_cast<unsigned char>(At(FPosition)))) {
    FPosition = entry;
    return {};
  }
  while (FPosition <= FSize && FIdentChars.test(static_cast<unsigned char>(At(FPosition))))
    ++FPosition;
  return FText.substr(static_cast<size_t>(start - 1), static_cast<size_t>(FPosition - start));
}

std::string TfsParser::ReadIdent() {
  const Integer entry = FPosition;
  std::string word = ReadWord();
  if (!word.empty() && IsKeyword(word)) {
    FPosition = entry;
    return {};
  }
  return word;
}

std::string TfsParser::ReadChar() {
  if (FPosition > FSize) return {};
  const auto c = static_cast<unsigned char>(At(FPosition));
  const bool punctuation = (c >= 33 && c <= 47) || (c >= 58 && c <= 64) ||
                           (c >= 91 && c <= 96) || (c >= 123 && c <= 126);
  if (!punctuation) return {};
  ++FPosition;
  return std::string(1, static_cast<char>(c));
}

bool TfsParser::ReadInteger() {
  const Integer start = FPosition;
  if (StartsWithAt(FPosition, HexSequence)) {
    FPosition += static_cast<Integer>(HexSequence.size());
    const Integer digits = FPosition;
    while (FPosition <= FSize && IsHexDigit(At(FPosition))) ++FPosition;
    if (FPosition == digits) {
      FPosition = start;
      return false;
    }
    return true;
  }
  while (FPosition <= FSize && IsDigit(At(FPosition))) ++FPosition;
  if (FPosition == start) return false;
  return true;
}

std::string TfsParser::ReadNumber() {
  const Integer entry = FPosition;
  if (AutoSkip) SkipSpaces();
  const Integer start = FPosition;
  bool ok = ReadInteger();
  if (ok) {
    bool real = true;
    if (FPosition <= FSize && At(FPosition) == '.') {
      if (FPosition + 1 <= FSize && IsDigit(At(FPosition + 1))) {
        FPosition += 1;
        while (FPosition <= FSize && IsDigit(At(FPosition))) ++FPosition;
      } else {
        real = false;  // "1..5" and "1." read as the integer alone
      }
    }
    if (!real) {
      FPosition = start;
      ok = ReadInteger();
    } else if (FPosition <= FSize && (At(FPosition) == 'E' || At(FPosition) == 'e')) {
      Integer p = FPosition + 1;
      if (p <= FSize && (At(p) == '+' || At(p) == '-')) ++p;
      if (p <= FSize && IsDigit(At(p))) {
        while (p <= FSize && IsDigit(At(p))) ++p;
        FPosition = p;
      }
    }
  }
  if (!ok) {
    FPosition = entry;
    return {};
  }
  std::string result =
      FText.substr(static_cast<size_t>(start - 1), static_cast<size_t>(FPosition - start));
  if (HexSequence != "$" && !HexSequence.empty()) {
    for (size_t at = result.find(HexSequence); at != std::string::npos;
         at = result.find(HexSequence, at + 1))
      result.replace(at, HexSequence.size(), "$");
  }
  return result;
}

bool TfsParser::ReadQuotedPiece(std::string& out) {
  if (StringQuotes.empty() || FPosition > FSize || At(FPosition) != StringQuotes[0]) return false;
  const char quote = StringQuotes[0];
  const bool escapes = quote == '"';
  const Integer start = FPosition;
  std::string piece;
  ++FPosition;
  for (;;) {
    const auto c = static_cast<unsigned char>(At(FPosition));
    if ((c <= 8 || (c >= 10 && c <= 31)) || FPosition > FSize) {
      FPosition = start;
      return false;
    }
    if (static_cast<char>(c) == quote) {
      if (!escapes && FPosition + 1 <= FSize && At(FPosition + 1) == quote) {
        piece.push_back(quote);
        FPosition += 2;
        continue;
      }
      ++FPosition;
      break;
    }
    if (escapes && c == '\\') {
      ++FPosition;
      const char e = At(FPosition);
      if (FPosition > FSize) continue;  // the #0 ends the piece as a failure above
      if (e == 'n' || e == 'N') {
        piece.push_back('\n');
        ++FPosition;
      } else if (e == 'r' || e == 'R') {
        piece.push_back('\r');
        ++FPosition;
      } else if (e == 'x' || e == 'X') {
        ++FPosition;
        if (FPosition <= FSize && IsHexDigit(At(FPosition))) {
          unsigned code = 0;
          while (FPosition <= FSize && IsHexDigit(At(FPosition))) {
            code = (code * 16 + static_cast<unsigned>(HexValue(At(FPosition)))) & 0xFFFFu;
            ++FPosition;
          }
          piece.push_back(static_cast<char>(code & 0xFF));
        }
      } else {
        piece.push_back(e);
        ++FPosition;
      }
      continue;
    }
    piece.push_back(static_cast<char>(c));
    ++FPosition;
  }
  out += piece;
  return true;
}

bool TfsParser::ReadCharCode(std::string& out) {
  if (FPosition > FSize || At(FPosition) != '#') return false;
  const Integer start = FPosition;
  ++FPosition;
  const Integer digits = FPosition;
  if (!ReadInteger()) {
    FPosition = start;
    return false;
  }
  std::string_view text(FText.data() + digits - 1, static_cast<size_t>(FPosition - digits));
  unsigned code = 0;
  if (StartsWithAt(digits, HexSequence)) {
    for (char c : text.substr(HexSequence.size())) code = code * 16 + static_cast<unsigned>(HexValue(c));
  } else {
    for (char c : text) code = code * 10 + static_cast<unsigned>(c - '0');
  }
  out.push_back(static_cast<char>(code & 0xFF));
  return true;
}

std::string TfsParser::ReadString() {
  const Integer entry = FPosition;
  if (AutoSkip) SkipSpaces();
  std::string value;
  bool any = false;
  for (;;) {
    if (!StringQuotes.empty() && FPosition <= FSize && At(FPosition) == StringQuotes[0]) {
      if (!ReadQuotedPiece(value)) {
        FPosition = entry;
        return {};
      }
      any = true;
    } else if (ReadCharCode(value)) {
      any = true;
    } else {
      break;
    }
  }
  if (!any) {
    FPosition = entry;
    return {};
  }
  return "'" + value + "'";
}

std::string TfsParser::ReadBracketedText() {
  const Integer start = FPosition;
  int depth = 1;
  bool inSingle = false, inDouble = false;
  while (FPosition <= FSize) {
    const char c = At(FPosition);
    if (c == '"' && !inSingle) {
      inDouble = !inDouble;
    } else if (c == '\'' && !inDouble) {
      inSingle = !inSingle;
    } else if (!inSingle && !inDouble) {
      if (c == '<' || c == '[') {
        ++depth;
      } else if (c == '>' || c == ']') {
        if (--depth == 0) break;
      }
    }
    ++FPosition;
  }
  return FText.substr(static_cast<size_t>(start - 1), static_cast<size_t>(FPosition - start));
}

std::string TfsParser::PositionToText(Integer position) const {
  const auto line = static_cast<Integer>(
      std::lower_bound(FLineStarts.begin(), FLineStarts.end(), position) - FLineStarts.begin());
  const Integer col = position - FLineStarts[static_cast<size_t>(std::max(line, 1) - 1)];
  return std::to_string(std::max(line, 1)) + ":" + std::to_string(col);
}

Integer TfsParser::TextToPosition(Integer col, Integer line) const {
  if (line < 1 || line > static_cast<Integer>(FLineStarts.size())) return -1;
  return FLineStarts[static_cast<size_t>(line - 1)] + col;
}
