#include "serial/TraceLog.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "serial/AdExcept.h"
#include "serial/OoMisc.h"
#include "platform/rtl/SystemCalls.h"

namespace {

constexpr const char* kHexDigits = "0123456789ABCDEF";

// One byte as the dumps write it, with its width in columns.
std::string ByteText(Byte B, bool Hex, bool AllHex) {
  if (AllHex) return std::string("[") + kHexDigits[B >> 4] + kHexDigits[B & 15] + "]";
  Byte low = Hex ? '!' : ' ';
  if (B >= low && B <= '~') return std::string(1, static_cast<char>(B));
  if (Hex) return std::string("[") + kHexDigits[B >> 4] + kHexDigits[B & 15] + "]";
  return "[" + std::to_string(B) + "]";
}

Integer WriteFile(const std::string& FileName, bool Append, const std::string& Text) {
  sys::CallResult opened;
  sys::FileDescriptor file = sys::OpenOwned(
      FileName, O_WRONLY | O_CREAT | O_CLOEXEC | (Append ? O_APPEND : O_TRUNC), 0666, opened);
  if (opened.Failed()) {
    const int error = opened.Error;
    return -(error == EACCES || error == EPERM ? 5 : error == ENOENT ? 3 : error);
  }
  bool ok = sys::WriteAll(file.Get(), Text.data(), Text.size()).Value == static_cast<long>(Text.size());
  ok = file.Close() && ok;
  return ok ? 0 : -29;  // write fault
}

std::string NameOf(Integer Code) {
  return ErrorMessageText(Code);
}

std::string Pad(std::string S, size_t Width, bool Left) {
  if (S.size() >= Width) return S;
  return Left ? S + std::string(Width - S.size(), ' ') : std::string(Width - S.size(), ' ') + S;
}

}  // namespace

std::string LogTimeText(Cardinal Milliseconds) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%07u", Milliseconds);
  std::string text = digits;
  text.insert(text.size() - 3, ".");
  return text;
}

// Trace ----------------------------------------------------------------------------------------

Integer TTraceRecorder::Start(Cardinal Entries) {
  if (Entries > MaxEntries) return ecBadArgument;
  if (buffer_.size() != Entries) buffer_.assign(std::max<Cardinal>(Entries, 1), {0, 0});
  position_ = 0;
  wrapped_ = false;
  recording_ = true;
  return 0;
}

void TTraceRecorder::Record(char Kind, Byte Value) {
  if (!recording_ || buffer_.empty()) return;
  buffer_[position_] = {Kind, Value};
  if (++position_ == buffer_.size()) {
    position_ = 0;
    wrapped_ = true;
  }
}

void TTraceRecorder::Clear() {
  position_ = 0;
  wrapped_ = false;
}

void TTraceRecorder::Stop() {
  std::vector<std::pair<char, Byte>>().swap(buffer_);
  position_ = 0;
  wrapped_ = false;
  recording_ = false;
}

std::string TTraceRecorder::Text(bool Hex, bool AllHex) const {
  if (position_ == 0 && !wrapped_) return "";
  std::string out;
  size_t count = wrapped_ ? buffer_.size() : position_;
  size_t start = wrapped_ ? position_ : 0;
  char previous = 0;
  size_t column = 0;
  for (size_t i = 0; i < count; ++i) {
    auto [kind, value] = buffer_[(start + i) % buffer_.size()];
    if (i == 0 || kind != previous) {
      if (i != 0) out += "\n\n";
      if (kind == 'R')
        out += "Receive: ";
      else if (kind == 'T')
        out += "Transmit: ";
      else
        out += std::string("Special-") + kind + ": ";
      out += "\n";
      column = 0;
      previous = kind;
    }
    std::string text = ByteText(value, Hex, AllHex);
    column += text.size();
    if (column > 78) {
      out += "\n";
      column = text.size();
    }
    out += text;
  }
  out += "\n";
  return out;
}

Integer TTraceRecorder::Dump(const std::string& FileName, bool Append, bool Hex, bool AllHex) {
  recording_ = false;
  std::string text = Text(Hex, AllHex);
  Integer result = text.empty() ? 0 : WriteFile(FileName, Append, text);
  Stop();
  return result;
}

// Log --------------------------------------------------------------------------------------------

void TDispatchLog::Start(Cardinal Bytes) {
  Bytes = std::min(Bytes, MaxBytes);
  if (buffer_.size() != Bytes) buffer_.assign(Bytes, 0);
  head_ = tail_ = used_ = 0;
  recording_ = Bytes > 0;
}

void TDispatchLog::Clear() {
  head_ = tail_ = used_ = 0;
}

void TDispatchLog::Stop() {
  std::vector<Byte>().swap(buffer_);
  head_ = tail_ = used_ = 0;
  recording_ = false;
}

// Entry layout in the ring (little-endian):
//   +0 type  +1 sub-type  +2..5 time ms  +6..9 data value  +10..13 data length
//   +14..15 unused  +16.. data bytes
void TDispatchLog::Add(Byte Type, Byte SubType, Cardinal Time, Cardinal Value, const Byte* Data, Cardinal Length) {
  if (!recording_ || buffer_.empty()) return;
  size_t size = HeaderSize + Length;
  if (size >= buffer_.size()) return;
  auto readLength = [&](size_t at) {
    Cardinal n = 0;
    for (int i = 0; i < 4; ++i) n |= static_cast<Cardinal>(buffer_[(at + 10 + i) % buffer_.size()]) << (8 * i);
    return n;
  };
  while (buffer_.size() - used_ < size) {
    size_t oldest = HeaderSize + readLength(tail_);
    tail_ = (tail_ + oldest) % buffer_.size();
    used_ -= oldest;
  }
  Byte header[HeaderSize] = {Type, SubType};
  for (int i = 0; i < 4; ++i) {
    header[2 + i] = static_cast<Byte>(Time >> (8 * i));
    header[6 + i] = static_cast<Byte>(Value >> (8 * i));
    header[10 + i] = static_cast<Byte>(Length >> (8 * i));
  }
  for (size_t i = 0; i < HeaderSize; ++i) buffer_[(head_ + i) % buffer_.size()] = header[i];
  for (size_t i = 0; i < Length; ++i) buffer_[(head_ + HeaderSize + i) % buffer_.size()] = Data[i];
  head_ = (head_ + size) % buffer_.size();
  used_ += size;
}

std::vector<TDispatchLog::Entry> TDispatchLog::Entries() const {
  std::vector<Entry> entries;
  size_t at = tail_;
  size_t left = used_;
  auto byteAt = [&](size_t i) { return buffer_[(at + i) % buffer_.size()]; };
  auto wordAt = [&](size_t i) {
    Cardinal n = 0;
    for (int k = 0; k < 4; ++k) n |= static_cast<Cardinal>(byteAt(i + k)) << (8 * k);
    return n;
  };
  while (left >= HeaderSize) {
    Entry e{byteAt(0), byteAt(1), wordAt(2), wordAt(6), {}};
    Cardinal length = wordAt(10);
    for (Cardinal i = 0; i < length; ++i) e.Data.push_back(byteAt(HeaderSize + i));
    entries.push_back(std::move(e));
    at = (at + HeaderSize + length) % buffer_.size();
    left -= HeaderSize + length;
  }
  return entries;
}

std::string TDispatchLog::EntryText(bool Hex, bool AllHex) const {
  static const char* const kStatusKinds[] = {"(Not active)",         "(Modem status)",        "(Line status)",
                                             "(Output buffer free)", "(Output buffer used)", "(Output sent)"};
  std::string out;
  for (const Entry& e : Entries()) {
    char value[16];
    std::snprintf(value, sizeof value, "%08x", e.Value);
    std::string sub = e.SubType == 0 ? std::string() : NameOf(15100 + e.SubType);
    out += Pad(LogTimeText(e.Time), 8, false) + "  " + Pad(NameOf(15001 + e.Type), 8, true) + "  " +
           Pad(sub, 12, true) + "  " + value + "  ";
    if (e.Data.empty()) {
      if (e.Type == 10 && e.Value <= 42) out += "[" + NameOf(15700 + static_cast<Integer>(e.Value)) + "]";
    } else if ((e.Type == 5 || e.Type == 6) && e.SubType == 15) {
      if (e.Data[0] < 6) out += kStatusKinds[e.Data[0]];
    } else {
      size_t column = 45;
      for (Byte b : e.Data) {
        std::string text = e.Type == 19 ? std::string(1, static_cast<char>(b)) : ByteText(b, Hex, AllHex);
        if (column + text.size() > 79) {
          out += "\n" + std::string(44, ' ');
          column = 45;
        }
        column += text.size();
        out += text;
      }
    }
    if (e.SubType == 4) {
      std::string names;
      for (int bit = 0; bit < 8; ++bit)
        if (e.Value & (1u << bit)) names += (names.empty() ? "" : " ") + NameOf(15601 + bit);
      out += "(" + names + ")";
    }
    out += "\n";
  }
  return out;
}

std::string TDispatchLog::HeaderText(const std::string& DeviceName, const std::string& DateTime,
                                     const std::string& System) {
  return std::string("PORT ") + ApdVersionStr + "\n" + "Compiler : Unknown\n" + "Operating System : " + System +
         "\n" + "Device: " + DeviceName + "\n" + "Date/time: " + DateTime + "\n" + NameOf(15501) + "\n" +
         NameOf(15502) + "\n";
}

Integer TDispatchLog::Dump(const std::string& FileName, bool Append, bool Hex, bool AllHex,
                           const std::string& DeviceName) {
  if (buffer_.empty() || used_ == 0) {
    Stop();
    return 0;
  }
  recording_ = false;
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%d/%m/%y, %H:%M:%S", &local);
  // This system is none of those the log names.
  std::string text = HeaderText(DeviceName, stamp, "Unknown") + EntryText(Hex, AllHex);
  Integer result = WriteFile(FileName, Append, text);
  Stop();
  return result;
}
