// Streams of the class library with 64-bit positions: the abstract TStream,
// streams over file descriptors and files, over memory and over a string.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/System.h"
#include "platform/rtl/SystemCalls.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// The origins of the 32-bit Seek.
inline constexpr Word soFromBeginning = 0;
inline constexpr Word soFromCurrent = 1;
inline constexpr Word soFromEnd = 2;

// File modes: one access mode or'ed with one share mode; fmCreate creates or
// truncates the file and opens it for reading and writing.
inline constexpr Word fmCreate = 0xFFFF;
inline constexpr Word fmOpenRead = 0x0000;
inline constexpr Word fmOpenWrite = 0x0001;
inline constexpr Word fmOpenReadWrite = 0x0002;
inline constexpr Word fmShareCompat = 0x0000;
inline constexpr Word fmShareExclusive = 0x0010;
inline constexpr Word fmShareDenyWrite = 0x0020;
inline constexpr Word fmShareDenyRead = 0x0030;
inline constexpr Word fmShareDenyNone = 0x0040;

class TStream : public TObject {
  VXN_DECLARE_CLASS(TStream)

 public:
  // Up to Count bytes; the number moved (less at the end of the data).
  virtual Int64 Read(void* Buffer, Int64 Count) = 0;
  virtual Int64 Write(const void* Buffer, Int64 Count) = 0;
  // The new position. Positions beyond the end are allowed; before the start
  // they raise EStreamError.
  virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;
  // An int offset with a TSeekOrigin (so Seek(0, soBeginning) is no
  // ambiguous call).
  Int64 Seek(Integer Offset, TSeekOrigin Origin) { return Seek(static_cast<Int64>(Offset), Origin); }
  // The 32-bit form with soFromBeginning / soFromCurrent / soFromEnd.
  LongInt Seek(LongInt Offset, Word Origin);

  // Exactly Count bytes or EReadError "Stream read error" / EWriteError
  // "Stream write error".
  void ReadBuffer(void* Buffer, Int64 Count);
  void WriteBuffer(const void* Buffer, Int64 Count);
  // Copies Count bytes from Source's position; Count 0 copies the whole of
  // Source from its start. Returns the number copied.
  Int64 CopyFrom(TStream& Source, Int64 Count);

  Int64 Position() { return Seek(Int64{0}, soCurrent); }
  void SetPosition(Int64 Pos) { Seek(Pos, soBeginning); }
  virtual Int64 Size();
  // Does nothing here; streams that can change their size override it.
  virtual void SetSize(Int64 NewSize);
};

// A stream over an open file descriptor, which it does not close. Failed
// system calls raise EReadError / EWriteError / EStreamError with the reason.
class THandleStream : public TStream {
  VXN_DECLARE_CLASS(THandleStream)

 public:
  explicit THandleStream(int AHandle) : handle_(AHandle) {}

  Int64 Read(void* Buffer, Int64 Count) override;
  Int64 Write(const void* Buffer, Int64 Count) override;
  using TStream::Seek;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  void SetSize(Int64 NewSize) override;

  int Handle() const { return handle_; }

 protected:
  int handle_;
};

// A file opened by name. A failed open raises EFOpenError or, for fmCreate,
// EFCreateError: "Cannot open file "<name>". <reason>". The share modes are
// advisory locks on the open file (flock): fmShareExclusive takes an
// exclusive lock, fmShareDenyWrite and fmShareDenyRead a shared one, so two
// exclusive openers (or an exclusive and a shared one) refuse each other;
// programs that do not lock are not stopped.
class TFileStream : public THandleStream {
  VXN_DECLARE_CLASS(TFileStream)

 public:
  // Rights: permission bits of a created file (before the umask).
  TFileStream(const std::string& AFileName, Word Mode, Cardinal Rights = 0666);

  const std::string& FileName() const { return fileName_; }

 private:
  std::string fileName_;
  sys::FileDescriptor file_;
};

// A stream over memory it does not own. Writing is not possible (Write moves
// nothing, so WriteBuffer raises EWriteError).
class TCustomMemoryStream : public TStream {
  VXN_DECLARE_CLASS(TCustomMemoryStream)

 public:
  TCustomMemoryStream() = default;
  TCustomMemoryStream(const void* Data, Int64 ASize) { SetPointer(const_cast<void*>(Data), ASize); }

  Int64 Read(void* Buffer, Int64 Count) override;
  Int64 Write(const void*, Int64) override { return 0; }
  using TStream::Seek;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 Size() override { return size_; }

  void SaveToStream(TStream& Stream);
  void SaveToFile(const std::string& FileName);
  void* Memory() const { return memory_; }

 protected:
  void SetPointer(void* Ptr, Int64 ASize) {
    memory_ = Ptr;
    size_ = ASize;
  }

  void* memory_ = nullptr;
  Int64 size_ = 0;
  Int64 position_ = 0;
};

// A growable stream in memory. Writing past the end grows it; the gap left by
// a seek beyond the end reads as zeros.
class TMemoryStream : public TCustomMemoryStream {
  VXN_DECLARE_CLASS(TMemoryStream)

 public:
  TMemoryStream() = default;

  Int64 Write(const void* Buffer, Int64 Count) override;
  void SetSize(Int64 NewSize) override;
  void Clear();
  void LoadFromStream(TStream& Stream);
  void LoadFromFile(const std::string& FileName);

 private:
  void setCapacity(Int64 NewCapacity);
  std::vector<uint8_t> data_;
};

// A stream over a string. Writing overwrites from the position and grows the
// string at the end; the rest of the string stays (the class library's version
// cut the string after every write, losing what followed).
class TStringStream : public TStream {
  VXN_DECLARE_CLASS(TStringStream)

 public:
  explicit TStringStream(std::string AString = std::string()) : data_(std::move(AString)) {}

  Int64 Read(void* Buffer, Int64 Count) override;
  Int64 Write(const void* Buffer, Int64 Count) override;
  using TStream::Seek;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 Size() override { return static_cast<Int64>(data_.size()); }
  void SetSize(Int64 NewSize) override;

  // Up to Count characters from the position.
  std::string ReadString(Int64 Count);
  void WriteString(std::string_view S) { Write(S.data(), static_cast<Int64>(S.size())); }
  const std::string& DataString() const { return data_; }

 private:
  std::string data_;
  Int64 position_ = 0;
};
