// The two diagnostic recorders of a port: the trace (every byte taken from the
// input ring or queued for output) and the dispatch log (the dispatcher's own
// events with a time stamp). Both record into a fixed circular buffer and
// reach a text file only when dumped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/System.h"

class TTraceRecorder {
 public:
  static constexpr Cardinal MaxEntries = 4000000;

  // -1002 for more than MaxEntries; an existing buffer is emptied instead.
  Integer Start(Cardinal Entries);
  // 'R' received, 'T' transmitted, anything else a special kind.
  void Record(char Kind, Byte Value);
  void Pause() { recording_ = false; }
  void Resume() { recording_ = !buffer_.empty(); }
  void Clear();
  void Stop();
  bool Active() const { return !buffer_.empty(); }
  bool Recording() const { return recording_; }
  // The dump as text (empty when nothing was recorded).
  std::string Text(bool Hex, bool AllHex) const;
  // Writes the file anew or appends to it and frees the buffer: 0, or the
  // negated file error. A trace that recorded nothing leaves the file alone.
  Integer Dump(const std::string& FileName, bool Append, bool Hex, bool AllHex);

 private:
  std::vector<std::pair<char, Byte>> buffer_;
  size_t position_ = 0;
  bool wrapped_ = false;
  bool recording_ = false;
};

class TDispatchLog {
 public:
  static constexpr Cardinal MaxBytes = 16000000;
  static constexpr Cardinal HeaderSize = 16;

  void Start(Cardinal Bytes);
  // Time: milliseconds since logging started. An entry not smaller than the
  // whole buffer is dropped; older entries make room otherwise.
  void Add(Byte Type, Byte SubType, Cardinal Time, Cardinal Value, const Byte* Data = nullptr,
           Cardinal Length = 0);
  void Pause() { recording_ = false; }
  void Resume() { recording_ = !buffer_.empty(); }
  void Clear();
  void Stop();
  bool Active() const { return !buffer_.empty(); }
  bool Recording() const { return recording_; }

  // The entry lines only (no header), oldest first.
  std::string EntryText(bool Hex, bool AllHex) const;
  // Header lines: device name, date/time text and system description given.
  static std::string HeaderText(const std::string& DeviceName, const std::string& DateTime,
                                const std::string& System);
  Integer Dump(const std::string& FileName, bool Append, bool Hex, bool AllHex, const std::string& DeviceName);

 private:
  struct Entry {
    Byte Type;
    Byte SubType;
    Cardinal Time;
    Cardinal Value;
    std::vector<Byte> Data;
  };
  std::vector<Entry> Entries() const;

  std::vector<Byte> buffer_;
  size_t head_ = 0;  // write position
  size_t tail_ = 0;  // oldest entry
  size_t used_ = 0;
  bool recording_ = false;
};

// "0001.234" for 1234 ms.
std::string LogTimeText(Cardinal Milliseconds);
