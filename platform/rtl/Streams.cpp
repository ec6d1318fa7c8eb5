#include "platform/rtl/Streams.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>

#include "platform/rtl/SysUtils.h"

VXN_IMPLEMENT_CLASS(TStream, TObject)
VXN_IMPLEMENT_CLASS(THandleStream, TStream)
VXN_IMPLEMENT_CLASS(TFileStream, THandleStream)
VXN_IMPLEMENT_CREATABLE_CLASS(TCustomMemoryStream, TStream)
VXN_IMPLEMENT_CREATABLE_CLASS(TMemoryStream, TCustomMemoryStream)
VXN_IMPLEMENT_CREATABLE_CLASS(TStringStream, TStream)

namespace {

std::string withReason(const char* message, int error) {
  return std::string(message) + ". " + SysErrorMessage(error);
}

// Position after a seek of a stream held in memory; before the start is an
// error, beyond the end is allowed.
Int64 memorySeek(Int64 position, Int64 size, Int64 offset, TSeekOrigin origin) {
  Int64 base = origin == soBeginning ? 0 : origin == soCurrent ? position : size;
  if ((offset < 0 && base + offset < 0) || (offset > 0 && base > INT64_MAX - offset))
    throw EStreamError("Invalid stream position");
  return base + offset;
}

// No process can hold more than its address space (2^47 bytes on the
// machines this runs on): larger sizes fail before asking for memory.
constexpr Int64 kMaxHeldSize = Int64{1} << 47;

// Where a write of count bytes at position ends. A stream held in memory
// cannot reach past the 64-bit range (nor anywhere near it): that is a lack
// of memory, never an overflow of the sum.
Int64 memoryWriteEnd(Int64 position, Int64 count) {
  if (count > INT64_MAX - position) throw EOutOfMemory(SOutOfMemory);
  return position + count;
}

// Resizes a string that holds a stream; every failure to get the memory is
// EOutOfMemory.
void resizeHeld(std::string& data, Int64 size) {
  if (size > kMaxHeldSize || static_cast<UInt64>(size) > data.max_size()) throw EOutOfMemory(SOutOfMemory);
  try {
    data.resize(static_cast<size_t>(size), '\0');
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(SOutOfMemory);
  } catch (const std::length_error&) {
    throw EOutOfMemory(SOutOfMemory);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TStream

LongInt TStream::Seek(LongInt Offset, Word Origin) {
  TSeekOrigin origin = Origin == soFromCurrent ? soCurrent : Origin == soFromEnd ? soEnd : soBeginning;
  return static_cast<LongInt>(Seek(static_cast<Int64>(Offset), origin));
}

void TStream::ReadBuffer(void* Buffer, Int64 Count) {
  Int64 done = 0;
  while (done < Count) {
    const Int64 n = Read(static_cast<char*>(Buffer) + done, Count - done);
    if (n <= 0) throw EReadError(SReadError);
    done += n;
  }
}

void TStream::WriteBuffer(const void* Buffer, Int64 Count) {
  Int64 done = 0;
  while (done < Count) {
    const Int64 n = Write(static_cast<const char*>(Buffer) + done, Count - done);
    if (n <= 0) throw EWriteError(SWriteError);
    done += n;
  }
}

Int64 TStream::CopyFrom(TStream& Source, Int64 Count) {
  if (Count == 0) {
    Source.SetPosition(0);
    Count = Source.Size();
  }
  constexpr Int64 chunk = 64 * 1024;
  std::vector<char> buffer;
  try {
    buffer.resize(static_cast<size_t>(std::min(Count, chunk)));
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(SOutOfMemory);
  }
  Int64 copied = 0;
  while (copied < Count) {
    const Int64 n = std::min(Count - copied, chunk);
    Source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    copied += n;
  }
  return copied;
}

Int64 TStream::Size() {
  const Int64 pos = Seek(Int64{0}, soCurrent);
  const Int64 size = Seek(Int64{0}, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(Int64) {}

// ---------------------------------------------------------------------------
// THandleStream

Int64 THandleStream::Read(void* Buffer, Int64 Count) {
  if (Count <= 0) return 0;
  sys::CallResult r = sys::Read(handle_, Buffer, static_cast<size_t>(Count));
  if (r.Failed()) throw EReadError(withReason(SReadError, r.Error));
  return r.Value;
}

Int64 THandleStream::Write(const void* Buffer, Int64 Count) {
  if (Count <= 0) return 0;
  sys::CallResult r = sys::Write(handle_, Buffer, static_cast<size_t>(Count));
  if (r.Failed()) throw EWriteError(withReason(SWriteError, r.Error));
  return r.Value;
}

Int64 THandleStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  const int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  sys::CallResult r = sys::Seek(handle_, static_cast<off_t>(Offset), whence);
  if (r.Failed()) throw EStreamError(withReason("Invalid stream position", r.Error));
  return r.Value;
}

void THandleStream::SetSize(Int64 NewSize) {
  if (sys::CallResult r = sys::Truncate(handle_, static_cast<off_t>(NewSize)); r.Failed())
    throw EStreamError(withReason("Cannot change the stream size", r.Error));
  if (Position() > NewSize) Seek(NewSize, soBeginning);
}

// ---------------------------------------------------------------------------
// TFileStream

TFileStream::TFileStream(const std::string& AFileName, Word Mode, Cardinal Rights)
    : THandleStream(-1), fileName_(AFileName) {
  const bool create = (Mode & 0xFF00) == 0xFF00;
  int flags = O_CLOEXEC;
  if (create) {
    flags |= O_RDWR | O_CREAT | O_TRUNC;
  } else {
    switch (Mode & 0x3) {
      case fmOpenWrite: flags |= O_WRONLY; break;
      case fmOpenReadWrite: flags |= O_RDWR; break;
      default: flags |= O_RDONLY; break;
    }
  }
  sys::CallResult opened;
  file_ = sys::OpenOwned(AFileName, flags, static_cast<mode_t>(Rights), opened);
  if (opened.Failed()) {
    if (create) throw EFCreateError(Format(SFCreateErrorEx, {AFileName, SysErrorMessage(opened.Error)}));
    throw EFOpenError(Format(SFOpenErrorEx, {AFileName, SysErrorMessage(opened.Error)}));
  }
  handle_ = file_.Get();
  struct stat st;
  if (sys::FileStatus(handle_, st) && S_ISDIR(st.st_mode))
    throw EFOpenError(Format(SFOpenErrorEx, {AFileName, SysErrorMessage(EISDIR)}));
  if (!create) {
    const Word share = Mode & 0xF0;
    int lock = 0;
    if (share == fmShareExclusive)
      lock = LOCK_EX;
    else if (share == fmShareDenyWrite || share == fmShareDenyRead)
      lock = LOCK_SH;
    if (sys::CallResult locked = lock != 0 ? sys::Lock(handle_, lock | LOCK_NB) : sys::CallResult{};
        locked.Failed()) {
      const int error = locked.Error;
      const std::string reason = error == EWOULDBLOCK
                                     ? std::string("The file is in use by another process.")
                                     : SysErrorMessage(error);
      throw EFOpenError(Format(SFOpenErrorEx, {AFileName, reason}));
    }
  }
}


// ---------------------------------------------------------------------------
// TCustomMemoryStream

Int64 TCustomMemoryStream::Read(void* Buffer, Int64 Count) {
  if (Count <= 0 || position_ >= size_) return 0;
  const Int64 n = std::min(Count, size_ - position_);
  std::memcpy(Buffer, static_cast<const char*>(memory_) + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

Int64 TCustomMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  position_ = memorySeek(position_, size_, Offset, Origin);
  return position_;
}

void TCustomMemoryStream::SaveToStream(TStream& Stream) {
  if (size_ > 0) Stream.WriteBuffer(memory_, size_);
}

void TCustomMemoryStream::SaveToFile(const std::string& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(stream);
}

// ---------------------------------------------------------------------------
// TMemoryStream

void TMemoryStream::setCapacity(Int64 NewCapacity) {
  if (NewCapacity > kMaxHeldSize || NewCapacity > static_cast<Int64>(data_.max_size()))
    throw EOutOfMemory(SOutOfMemory);
  try {
    data_.resize(static_cast<size_t>(NewCapacity));
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(SOutOfMemory);
  }
  memory_ = data_.empty() ? nullptr : data_.data();
}

Int64 TMemoryStream::Write(const void* Buffer, Int64 Count) {
  if (Count <= 0) return 0;
  const Int64 end = memoryWriteEnd(position_, Count);
  if (end > size_) {
    if (end > static_cast<Int64>(data_.size())) {
      // Doubling, but never past what can be held (a doubling that would
      // fail alone must not fail a write that fits).
      const Int64 doubled = static_cast<Int64>(std::min<size_t>(data_.size(), data_.max_size() / 2)) * 2;
      try {
        setCapacity(std::max(end, doubled));
      } catch (const EOutOfMemory&) {
        if (doubled <= end) throw;
        setCapacity(end);
      }
    }
    // The gap between the old end and the position reads as zeros.
    if (position_ > size_) std::memset(data_.data() + size_, 0, static_cast<size_t>(position_ - size_));
    size_ = end;
  }
  std::memcpy(data_.data() + position_, Buffer, static_cast<size_t>(Count));
  position_ = end;
  return Count;
}

void TMemoryStream::SetSize(Int64 NewSize) {
  if (NewSize < 0) throw EStreamError("Invalid stream size");
  const Int64 old = size_;
  setCapacity(NewSize);
  if (NewSize > old) std::memset(data_.data() + old, 0, static_cast<size_t>(NewSize - old));
  size_ = NewSize;
  if (position_ > NewSize) position_ = NewSize;
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  memory_ = nullptr;
  size_ = 0;
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream) {
  Stream.SetPosition(0);
  const Int64 count = Stream.Size();
  SetSize(count);
  if (count > 0) Stream.ReadBuffer(data_.data(), count);
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

// ---------------------------------------------------------------------------
// TStringStream

Int64 TStringStream::Read(void* Buffer, Int64 Count) {
  const Int64 size = Size();
  if (Count <= 0 || position_ >= size) return 0;
  const Int64 n = std::min(Count, size - position_);
  std::memcpy(Buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

Int64 TStringStream::Write(const void* Buffer, Int64 Count) {
  if (Count <= 0) return 0;
  const Int64 end = memoryWriteEnd(position_, Count);
  if (end > Size()) resizeHeld(data_, end);
  std::memcpy(data_.data() + position_, Buffer, static_cast<size_t>(Count));
  position_ = end;
  return Count;
}

Int64 TStringStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  position_ = memorySeek(position_, Size(), Offset, Origin);
  return position_;
}

void TStringStream::SetSize(Int64 NewSize) {
  if (NewSize < 0) throw EStreamError("Invalid stream size");
  resizeHeld(data_, NewSize);
  if (position_ > NewSize) position_ = NewSize;
}

std::string TStringStream::ReadString(Int64 Count) {
  const Int64 size = Size();
  if (Count <= 0 || position_ >= size) return std::string();
  const Int64 n = std::min(Count, size - position_);
  std::string result = data_.substr(static_cast<size_t>(position_), static_cast<size_t>(n));
  position_ += n;
  return result;
}
