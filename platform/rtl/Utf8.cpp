#include "platform/rtl/Utf8.h"

#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/SystemCalls.h"

// ---------------------------------------------------------------------------
// Stepping through characters

namespace {

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

}  // namespace

size_t Utf8CharLength(std::string_view s, size_t pos) {
  if (pos >= s.size()) return 0;
  const unsigned char lead = static_cast<unsigned char>(s[pos]);
  if (lead < 0x80) return 1;
  size_t length;
  // The second byte's range excludes overlong forms, surrogates and values
  // past U+10FFFF.
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 1;
  }
  if (pos + length > s.size()) return 1;
  const unsigned char second = static_cast<unsigned char>(s[pos + 1]);
  if (second < low || second > high) return 1;
  for (size_t k = 2; k < length; ++k)
    if (!IsContinuation(static_cast<unsigned char>(s[pos + k]))) return 1;
  return length;
}

size_t Utf8NextCharPos(std::string_view s, size_t pos) {
  if (pos >= s.size()) return s.size();
  return pos + Utf8CharLength(s, pos);
}

size_t Utf8CharStart(std::string_view s, size_t pos) {
  if (pos >= s.size()) return s.size();
  // A character is at most four bytes: look back that far for a lead byte
  // whose sequence covers pos.
  size_t first = pos >= 3 ? pos - 3 : 0;
  for (size_t start = first; start < pos; ++start) {
    if (IsContinuation(static_cast<unsigned char>(s[start]))) continue;
    if (start + Utf8CharLength(s, start) > pos) return start;
  }
  return pos;
}

size_t Utf8PrevCharPos(std::string_view s, size_t pos) {
  if (pos == 0) return 0;
  if (pos > s.size()) pos = s.size();
  return Utf8CharStart(s, pos - 1);
}

size_t Utf8CharCount(std::string_view s) {
  size_t count = 0;
  for (size_t pos = 0; pos < s.size(); pos += Utf8CharLength(s, pos)) ++count;
  return count;
}

size_t Utf8ByteOffset(std::string_view s, size_t charIndex) {
  size_t pos = 0;
  while (charIndex > 0 && pos < s.size()) {
    pos += Utf8CharLength(s, pos);
    --charIndex;
  }
  return pos;
}

size_t Utf8CharIndex(std::string_view s, size_t pos) {
  size_t count = 0;
  for (size_t at = 0; at < pos && at < s.size(); at += Utf8CharLength(s, at)) ++count;
  return count;
}

std::string_view Utf8CharAt(std::string_view s, size_t charIndex) {
  size_t pos = Utf8ByteOffset(s, charIndex);
  return s.substr(pos, Utf8CharLength(s, pos));
}

std::string Utf8Copy(std::string_view s, size_t charIndex, size_t count) {
  size_t start = Utf8ByteOffset(s, charIndex);
  size_t end = start + Utf8ByteOffset(s.substr(start), count);
  return std::string(s.substr(start, end - start));
}

char32_t Utf8Decode(std::string_view s, size_t& pos) {
  size_t length = Utf8CharLength(s, pos);
  if (length == 0) return ReplacementChar;
  const unsigned char lead = static_cast<unsigned char>(s[pos]);
  if (length == 1) {
    ++pos;
    return lead < 0x80 ? lead : ReplacementChar;
  }
  char32_t c = lead & (0xFF >> (length + 1));
  for (size_t k = 1; k < length; ++k)
    c = (c << 6) | (static_cast<unsigned char>(s[pos + k]) & 0x3F);
  pos += length;
  return c;
}

std::string Utf8Encode(char32_t c) {
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = ReplacementChar;
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

bool IsValidUtf8(std::string_view s) {
  for (size_t pos = 0; pos < s.size();) {
    size_t length = Utf8CharLength(s, pos);
    if (length == 1 && static_cast<unsigned char>(s[pos]) >= 0x80) return false;
    pos += length;
  }
  return true;
}

// ---------------------------------------------------------------------------
// UTF-16 through iconv

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) RaiseLastOSError("iconv_open");
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of input; a sequence iconv rejects costs `badStep` input
  // bytes and puts `replacement` into the output.
  std::string Run(std::string_view input, size_t badStep, std::string_view replacement) {
    std::string out;
    std::array<char, 4096> buffer;
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    while (inLeft > 0) {
      char* outPtr = buffer.data();
      size_t outLeft = buffer.size();
      size_t result = iconv(handle_, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer.data(), static_cast<size_t>(outPtr - buffer.data()));
      if (result != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      if (errno == EILSEQ || errno == EINVAL) {
        size_t skip = std::min(badStep, inLeft);
        in += skip;
        inLeft -= skip;
        out.append(replacement);
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        continue;
      }
      RaiseLastOSError("iconv");
    }
    return out;
  }

 private:
  iconv_t handle_;
};

std::string Utf16ToBytes(std::u16string_view s, bool bigEndian) {
  std::string bytes;
  bytes.reserve(s.size() * 2);
  for (char16_t c : s) {
    char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
    bytes += bigEndian ? hi : lo;
    bytes += bigEndian ? lo : hi;
  }
  return bytes;
}

std::u16string BytesToUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2 + 1);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    auto b0 = static_cast<unsigned char>(bytes[i]), b1 = static_cast<unsigned char>(bytes[i + 1]);
    out += static_cast<char16_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
  }
  // A truncated last unit is shown as broken rather than dropped.
  if (bytes.size() % 2) out += static_cast<char16_t>(ReplacementChar);
  return out;
}

const std::string kReplacementUtf8 = "\xEF\xBF\xBD";
const std::string kReplacementUtf16le = "\xFD\xFF";

}  // namespace

std::u16string Utf8ToUtf16(std::string_view s) {
  Converter converter("UTF-16LE", "UTF-8");
  return BytesToUtf16(converter.Run(s, 1, kReplacementUtf16le), false);
}

std::string Utf16ToUtf8(std::u16string_view s) {
  Converter converter("UTF-8", "UTF-16LE");
  return converter.Run(Utf16ToBytes(s, false), 2, kReplacementUtf8);
}

// ---------------------------------------------------------------------------
// UTF-16 files

std::u16string ReadUtf16File(const std::string& fileName) {
  sys::CallResult opened;
  sys::FileDescriptor file = sys::OpenOwned(fileName, O_RDONLY | O_CLOEXEC, 0, opened);
  if (opened.Failed()) throw EFOpenError(SFOpenErrorEx, {fileName, SysErrorMessage(opened.Error)});
  std::string bytes;
  char buffer[65536];
  for (;;) {
    sys::CallResult got = sys::Read(file.Get(), buffer, sizeof buffer);
    if (got.Failed()) throw EReadError(SReadError);
    if (got.Value == 0) break;
    bytes.append(buffer, static_cast<size_t>(got.Value));
  }
  bool bigEndian = false;
  std::string_view body(bytes);
  if (body.size() >= 2 && body.substr(0, 2) == "\xFE\xFF") {
    bigEndian = true;
    body.remove_prefix(2);
  } else if (body.size() >= 2 && body.substr(0, 2) == "\xFF\xFE") {
    body.remove_prefix(2);
  }
  return BytesToUtf16(body, bigEndian);
}

void WriteUtf16File(const std::string& fileName, std::u16string_view text) {
  sys::CallResult opened;
  sys::FileDescriptor file = sys::OpenOwned(fileName, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666, opened);
  if (opened.Failed()) throw EFCreateError(SFCreateErrorEx, {fileName, SysErrorMessage(opened.Error)});
  std::string bytes = "\xFF\xFE" + Utf16ToBytes(text, false);
  if (sys::WriteAll(file.Get(), bytes.data(), bytes.size()).Failed()) throw EWriteError(SWriteError);
  if (file.Close().Failed()) throw EWriteError(SWriteError);
}

// ---------------------------------------------------------------------------
// Windows-1251

namespace {

// Bytes 0x80-0xBF; 0xC0-0xFF are U+0410-U+044F in order, below 0x80 ASCII.
constexpr char16_t kCp1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

}  // namespace

char32_t Cp1251ToUnicode(Byte b) {
  if (b < 0x80) return b;
  if (b >= 0xC0) return 0x0410 + (b - 0xC0);
  return kCp1251High[b - 0x80];
}

int UnicodeToCp1251(char32_t c) {
  if (c < 0x80) return static_cast<int>(c);
  if (c >= 0x0410 && c <= 0x044F) return static_cast<int>(0xC0 + (c - 0x0410));
  for (int i = 0; i < 64; ++i)
    if (kCp1251High[i] != 0 && kCp1251High[i] == c) return 0x80 + i;
  return -1;
}

std::string Cp1251ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char b : bytes) {
    char32_t c = Cp1251ToUnicode(static_cast<Byte>(b));
    out += Utf8Encode(c == 0 && b != 0 ? ReplacementChar : c);
  }
  return out;
}

std::string Utf8ToCp1251(std::string_view text, char replacement) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    int b = UnicodeToCp1251(Utf8Decode(text, pos));
    out += b < 0 ? replacement : static_cast<char>(b);
  }
  return out;
}
