// Characters of UTF-8 text, UTF-16 conversion and files, and the Windows-1251
// code page. A character is one code point; a byte that does not start a
// valid sequence counts as a character of its own, so text is never split in
// the middle of a sequence and broken input never stops a loop.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/rtl/System.h"

// Bytes of the character that starts at pos (1 for an invalid byte, 0 at
// or past the end).
size_t Utf8CharLength(std::string_view s, size_t pos);
// Byte position of the character after the one at pos (s.size() at most).
size_t Utf8NextCharPos(std::string_view s, size_t pos);
// Byte position of the character before pos (0 at most).
size_t Utf8PrevCharPos(std::string_view s, size_t pos);
// Start of the character that contains byte pos.
size_t Utf8CharStart(std::string_view s, size_t pos);

size_t Utf8CharCount(std::string_view s);
// Byte offset of the character with the 0-based index (s.size() beyond).
size_t Utf8ByteOffset(std::string_view s, size_t charIndex);
// Number of characters before byte pos.
size_t Utf8CharIndex(std::string_view s, size_t pos);
// The character with the 0-based index (empty beyond the end).
std::string_view Utf8CharAt(std::string_view s, size_t charIndex);
// Up to count characters from the 0-based charIndex.
std::string Utf8Copy(std::string_view s, size_t charIndex, size_t count);

inline constexpr char32_t ReplacementChar = 0xFFFD;
// Decodes the character at pos and moves pos past it; an invalid byte gives
// ReplacementChar.
char32_t Utf8Decode(std::string_view s, size_t& pos);
// Encodes one code point (surrogates and values past U+10FFFF as U+FFFD).
std::string Utf8Encode(char32_t codePoint);
bool IsValidUtf8(std::string_view s);

// Conversions through iconv; invalid input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(std::u16string_view s);

// A UTF-16 text file: a byte-order mark decides the byte order (little-endian
// without one). Raise EFOpenError / EFCreateError / EReadError / EWriteError.
std::u16string ReadUtf16File(const std::string& fileName);
// Writes the little-endian byte-order mark and the text.
void WriteUtf16File(const std::string& fileName, std::u16string_view text);

// Windows-1251: the code point of a byte (0 for the one unassigned byte 0x98)
// and the byte of a code point (-1 when the page lacks it).
char32_t Cp1251ToUnicode(Byte b);
int UnicodeToCp1251(char32_t codePoint);
std::string Cp1251ToUtf8(std::string_view bytes);
// Characters the page lacks become the replacement byte.
std::string Utf8ToCp1251(std::string_view text, char replacement = '?');
