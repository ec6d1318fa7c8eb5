#include "suite/data/cxLikeMatch.h"

#include <vector>

#include "platform/rtl/Utf8.h"

namespace {

enum class TokenKind { Literal, AnyOne, AnyRun };

struct Token {
  TokenKind Kind;
  char32_t Char;
};

std::u32string Decode(std::string_view text) {
  std::u32string chars;
  for (size_t pos = 0; pos < text.size();) chars += Utf8Decode(text, pos);
  return chars;
}

// The pattern as tokens: escapes resolved, runs of any-run wildcards folded.
std::vector<Token> Tokenize(std::string_view pattern, char escape, char anyOne, char anyRun) {
  std::vector<Token> tokens;
  bool escaped = false;
  for (char32_t c : Decode(pattern)) {
    if (escape != 0 && !escaped && c == static_cast<unsigned char>(escape)) {
      escaped = true;
      continue;
    }
    if (!escaped && c == static_cast<unsigned char>(anyRun)) {
      if (tokens.empty() || tokens.back().Kind != TokenKind::AnyRun) tokens.push_back({TokenKind::AnyRun, c});
    } else if (!escaped && c == static_cast<unsigned char>(anyOne)) {
      tokens.push_back({TokenKind::AnyOne, c});
    } else {
      tokens.push_back({TokenKind::Literal, c});
    }
    escaped = false;
  }
  return tokens;
}

// Greedy matching that returns to the last any-run wildcard on a mismatch:
// every text position is tried at most once per wildcard.
bool MatchTokens(const std::u32string& text, const std::vector<Token>& tokens) {
  size_t t = 0, p = 0;
  size_t starToken = std::string::npos, starText = 0;
  while (t < text.size()) {
    if (p < tokens.size() && tokens[p].Kind != TokenKind::AnyRun &&
        (tokens[p].Kind == TokenKind::AnyOne || tokens[p].Char == text[t])) {
      ++t;
      ++p;
    } else if (p < tokens.size() && tokens[p].Kind == TokenKind::AnyRun) {
      starToken = p++;
      starText = t;
    } else if (starToken != std::string::npos) {
      p = starToken + 1;
      t = ++starText;
    } else {
      return false;
    }
  }
  while (p < tokens.size() && tokens[p].Kind == TokenKind::AnyRun) ++p;
  return p == tokens.size();
}

}  // namespace

bool LikeMatchCore(const char* AText, Integer ATextLength, const char* APattern, char AEscape, char AAnyOne,
                   char AAnyRun, Integer APatternLength) {
  const std::string_view text(AText, ATextLength > 0 ? static_cast<size_t>(ATextLength) : 0);
  const std::string_view pattern(APattern, APatternLength > 0 ? static_cast<size_t>(APatternLength) : 0);
  return MatchTokens(Decode(text), Tokenize(pattern, AEscape, AAnyOne, AAnyRun));
}

bool LikeMatch(std::string_view AText, std::string_view APattern, char AAnyRun, char AAnyOne) {
  return LikeMatchCore(AText.data(), static_cast<Integer>(AText.size()), APattern.data(), 0, AAnyOne, AAnyRun,
                       static_cast<Integer>(APattern.size()));
}

void CollapseDoubledWildcard(std::string& APattern, char AWildcard) {
  std::string collapsed;
  collapsed.reserve(APattern.size());
  for (char c : APattern)
    if (c != AWildcard || collapsed.empty() || collapsed.back() != AWildcard) collapsed += c;
  APattern = std::move(collapsed);
}

Integer StripLikeWildcards(std::string& APattern, char AWildcard) {
  CollapseDoubledWildcard(APattern, AWildcard);
  if (Utf8CharCount(APattern) < 2) return 0;
  Integer result = 0;
  if (APattern.front() == AWildcard) {
    APattern.erase(0, 1);
    result += 2;
  }
  if (!APattern.empty() && APattern.back() == AWildcard) {
    APattern.pop_back();
    result += 1;
  }
  return result;
}
