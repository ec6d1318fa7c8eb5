// Reads every kind of token, under each language's settings, from arbitrary
// input; the lexer must never read outside its text or loop.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "script/fs_iparser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  TfsParser p;
  const uint8_t mode = data[0];
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  if (mode & 1) p.StringQuotes = "\"";
  if (mode & 2) p.HexSequence = "0x";
  if (mode & 4) p.SkipEOL = false;
  if (mode & 8) p.SkipChar = "_";
  if (mode & 16) p.SetCommentBlock1("/*,*/");
  p.AddKeyword("begin");
  p.SetText(text);
  for (int guard = 0; guard < 100000 && p.Position() <= p.Size(); ++guard) {
    const int before = p.Position();
    p.ReadWord();
    p.ReadNumber();
    p.ReadString();
    p.ReadChar();
    p.SkipLineEnd();
    (void)p.PositionToText();
    if (p.Position() == before) p.SetPosition(before + 1);
  }
  p.SetPosition(1);
  p.ReadBracketedText();
  return 0;
}
