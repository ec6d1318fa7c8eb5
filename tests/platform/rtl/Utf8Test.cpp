#include "platform/rtl/Utf8.h"

#include <iconv.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "tests/support/TempFolder.h"

namespace {

// "Channel name A1" in Chinese: four 3-byte characters and two ASCII ones.
const std::string kChinese = "信道名称A1";

TEST(Utf8Test, ChineseCharactersCountAndIndex) {
  EXPECT_EQ(kChinese.size(), 14u);
  EXPECT_EQ(Utf8CharCount(kChinese), 6u);
  EXPECT_EQ(Utf8CharAt(kChinese, 1), "道");
  EXPECT_EQ(Utf8CharAt(kChinese, 4), "A");
  EXPECT_EQ(Utf8CharAt(kChinese, 6), "");
  EXPECT_EQ(Utf8ByteOffset(kChinese, 2), 6u);
  EXPECT_EQ(Utf8ByteOffset(kChinese, 99), kChinese.size());
  EXPECT_EQ(Utf8CharIndex(kChinese, 12), 4u);
  EXPECT_EQ(Utf8CharIndex(kChinese, 7), 3u);  // inside 名: counts it
  EXPECT_EQ(Utf8Copy(kChinese, 1, 3), "道名称");
  EXPECT_EQ(Utf8Copy(kChinese, 4, 10), "A1");
  EXPECT_EQ(Utf8Copy(kChinese, 9, 1), "");
  EXPECT_EQ(Utf8CharStart(kChinese, 4), 3u);
  EXPECT_EQ(Utf8CharStart(kChinese, 5), 3u);
  EXPECT_EQ(Utf8CharStart(kChinese, 12), 12u);
}

// Walks forwards and backwards and checks both walks see the same starts.
std::vector<size_t> WalkForward(std::string_view s) {
  std::vector<size_t> starts;
  for (size_t pos = 0; pos < s.size(); pos = Utf8NextCharPos(s, pos)) starts.push_back(pos);
  return starts;
}

std::vector<size_t> WalkBackward(std::string_view s) {
  std::vector<size_t> starts;
  for (size_t pos = s.size(); pos > 0;) {
    pos = Utf8PrevCharPos(s, pos);
    starts.insert(starts.begin(), pos);
  }
  return starts;
}

TEST(Utf8Test, SteppingNeverSplitsAndToleratesBrokenBytes) {
  struct Case {
    std::string s;
    std::vector<size_t> starts;
  };
  const Case cases[] = {
      {kChinese, {0, 3, 6, 9, 12, 13}},
      {"a\xE4\xB8"
       "b",
       {0, 1, 2, 3}},                      // truncated sequence: each byte alone
      {"\xC0\xAF", {0, 1}},                // overlong
      {"\xED\xA0\x80", {0, 1, 2}},         // encoded surrogate
      {"\xF4\x90\x80\x80", {0, 1, 2, 3}},  // beyond U+10FFFF
      {"\x80\x80信", {0, 1, 2}},           // stray continuation bytes
      {"😀x", {0, 4}},
      {"\xF0\x9F\x98", {0, 1, 2}},  // cut at the end
      {"", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WalkForward(c.s), c.starts) << c.s;
    EXPECT_EQ(WalkBackward(c.s), c.starts) << c.s;
    EXPECT_EQ(Utf8CharCount(c.s), c.starts.size()) << c.s;
  }
  EXPECT_TRUE(IsValidUtf8(kChinese));
  EXPECT_FALSE(IsValidUtf8("a\xE4\xB8"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
  EXPECT_EQ(Utf8NextCharPos("ab", 5), 2u);
  EXPECT_EQ(Utf8PrevCharPos("ab", 0), 0u);
}

TEST(Utf8Test, DecodeAndEncode) {
  for (char32_t c : {U'\0', U'A', U'\u00E9', U'\u4FE1', U'\uFFFD', U'\U0001F600', U'\U0010FFFF'}) {
    std::string bytes = Utf8Encode(c);
    size_t pos = 0;
    EXPECT_EQ(Utf8Decode(bytes, pos), c);
    EXPECT_EQ(pos, bytes.size());
  }
  EXPECT_EQ(Utf8Encode(0xD800), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf8Encode(0x110000), "\xEF\xBF\xBD");
  std::string broken = "\xFFz";
  size_t pos = 0;
  EXPECT_EQ(Utf8Decode(broken, pos), ReplacementChar);
  EXPECT_EQ(pos, 1u);
  EXPECT_EQ(Utf8Decode(broken, pos), U'z');
  EXPECT_EQ(Utf8Decode(broken, pos), ReplacementChar);  // at the end: does not move
  EXPECT_EQ(pos, 2u);
}

TEST(Utf16Test, RoundTripsIncludingSurrogatePairs) {
  const std::string text = "信道 A😀Ё\u00A0€";
  std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide, u"信道 A\U0001F600Ё\u00A0€");
  EXPECT_EQ(wide[4], 0xD83D);
  EXPECT_EQ(wide[5], 0xDE00);
  EXPECT_EQ(Utf16ToUtf8(wide), text);
  EXPECT_EQ(Utf8ToUtf16(""), u"");
  EXPECT_EQ(Utf16ToUtf8(u""), "");

  // A long text crosses the converter's buffer several times.
  std::string longText;
  for (int i = 0; i < 5000; ++i) longText += "信道😀";
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(longText)), longText);

  // Broken input becomes U+FFFD and the rest survives.
  EXPECT_EQ(Utf8ToUtf16("a\xFF"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("a\xE4\xB8"), u"a\uFFFD\uFFFD");
  // One U+FFFD per byte that the stepping helpers count as a character.
  for (std::string broken : {"\xED\xA0\x80", "\xC0\xAF", "\xF4\x90\x80\x80", "\x80\xBF"})
    EXPECT_EQ(Utf8ToUtf16(broken), std::u16string(Utf8CharCount(broken), u'\uFFFD')) << broken;
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'x', 0xD800, u'y'}), "x\uFFFDy");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'x', 0xDC00}), "x\uFFFD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'x', 0xD83D}), "x\uFFFD");
}

class Utf16FileTest : public testing::Test {
 protected:
  std::string Path(const char* name) const { return folder_ / name; }
  void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::string ReadBytes(const std::string& path) {
    std::ostringstream out;
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
  }

  TempFolder folder_{"utf16"};
  std::string dir_ = folder_.Path();
};

TEST_F(Utf16FileTest, WritesLittleEndianWithMarkAndReadsEveryOrder) {
  const std::u16string text = u"信A\U0001F600";
  WriteUtf16File(Path("le.txt"), text);
  EXPECT_EQ(ReadBytes(Path("le.txt")), std::string("\xFF\xFE\xE1\x4F"
                                                   "A\0\x3D\xD8\x00\xDE",
                                                   10));
  EXPECT_EQ(ReadUtf16File(Path("le.txt")), text);

  WriteBytes(Path("be.txt"), std::string("\xFE\xFF\x4F\xE1\0A", 6));
  EXPECT_EQ(ReadUtf16File(Path("be.txt")), u"信A");
  WriteBytes(Path("plain.txt"), std::string("A\0B\0", 4));
  EXPECT_EQ(ReadUtf16File(Path("plain.txt")), u"AB");
  WriteBytes(Path("odd.txt"), std::string("\xFF\xFE"
                                          "A\0B",
                                          5));
  EXPECT_EQ(ReadUtf16File(Path("odd.txt")), u"A\uFFFD");
  WriteBytes(Path("empty.txt"), "");
  EXPECT_EQ(ReadUtf16File(Path("empty.txt")), u"");
}

TEST_F(Utf16FileTest, FailuresRaiseStreamErrors) {
  try {
    ReadUtf16File(Path("missing.txt"));
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message,
              "Cannot open file \"" + Path("missing.txt") + "\". No such file or directory");
  }
  EXPECT_THROW(WriteUtf16File(Path("no/such/dir.txt"), u"x"), EFCreateError);
  EXPECT_THROW(ReadUtf16File(dir_), EReadError);  // a directory opens but cannot be read
}

// The code page as iconv knows it, or 0 where it has no character.
char32_t IconvCp1251(unsigned char b) {
  iconv_t cd = iconv_open("UTF-32LE", "CP1251");
  char in[1] = {static_cast<char>(b)};
  unsigned char out[4] = {};
  char* inPtr = in;
  char* outPtr = reinterpret_cast<char*>(out);
  size_t inLeft = 1, outLeft = 4;
  size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) return 0;
  return out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<char32_t>(out[3]) << 24);
}

TEST(Cp1251Test, TableAgreesWithIconvBothWays) {
  for (int b = 0; b < 256; ++b) {
    char32_t c = Cp1251ToUnicode(static_cast<Byte>(b));
    EXPECT_EQ(c, IconvCp1251(static_cast<unsigned char>(b))) << std::hex << b;
    if (c != 0 || b == 0) {
      EXPECT_EQ(UnicodeToCp1251(c), b) << std::hex << b;
    }
  }
  EXPECT_EQ(Cp1251ToUnicode(0x98), 0u);
  EXPECT_EQ(UnicodeToCp1251(U'信'), -1);
  EXPECT_EQ(UnicodeToCp1251(0), 0);

  EXPECT_EQ(Utf8ToCp1251("Привет, Ёж №1"),
            "\xCF\xF0\xE8\xE2\xE5\xF2, \xA8\xE6 \xB9"
            "1");
  EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2 \x88"), "Привет €");
  EXPECT_EQ(Cp1251ToUtf8("a\x98z"), "a\uFFFDz");
  EXPECT_EQ(Utf8ToCp1251("信A\xFF"), "?A?");
  EXPECT_EQ(Utf8ToCp1251("信", '_'), "_");
}

}  // namespace
