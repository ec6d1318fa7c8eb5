#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "platform/rtl/SysUtils.h"
#include "tests/support/TempFolder.h"

namespace {

class StreamFiles : public ::testing::Test {
 protected:
  std::string path(const char* name) const { return (dir_ / name).string(); }

  TempFolder folder_{"streams"};
  std::filesystem::path dir_ = folder_.Path();
};

TEST(TStream, ShortTransfersRaise) {
  const char data[] = "0123456789";
  TCustomMemoryStream readOnly(data, 10);
  char buffer[16] = {};
  readOnly.Seek(Int64{7}, soBeginning);
  // Read gives what is there; ReadBuffer insists on the whole count.
  EXPECT_EQ(readOnly.Read(buffer, 10), 3);
  EXPECT_EQ(std::string(buffer, 3), "789");
  readOnly.SetPosition(7);
  try {
    readOnly.ReadBuffer(buffer, 4);
    ADD_FAILURE();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message, "Stream read error");
  }
  // The stream over foreign memory cannot be written.
  EXPECT_EQ(readOnly.Write("x", 1), 0);
  try {
    readOnly.WriteBuffer("x", 1);
    ADD_FAILURE();
  } catch (const EWriteError& e) {
    EXPECT_EQ(e.Message, "Stream write error");
  }
  EXPECT_NO_THROW(readOnly.ReadBuffer(buffer, 0));
  EXPECT_THROW(readOnly.Seek(Int64{-11}, soEnd), EStreamError);
}

TEST(TStream, SeekOriginsAndThe32BitForm) {
  TStringStream s("abcdefghij");
  struct Case {
    LongInt offset;
    Word origin;
    LongInt expected;
  };
  const Case cases[] = {{3, soFromBeginning, 3}, {2, soFromCurrent, 5}, {-1, soFromEnd, 9},
                        {-4, soFromCurrent, 5},  {0, soFromEnd, 10},   {5, soFromEnd, 15}};
  for (const Case& c : cases) EXPECT_EQ(s.Seek(c.offset, c.origin), c.expected);
  EXPECT_EQ(s.Seek(0, soEnd), 10);
  EXPECT_EQ(s.Seek(Int64{1} << 40, soBeginning), Int64{1} << 40);  // 64-bit positions
  EXPECT_EQ(s.Seek(15, soBeginning), 15);
  // Reading past the end gives nothing; writing there fills the gap with zeros.
  char b;
  EXPECT_EQ(s.Read(&b, 1), 0);
  s.Write("Z", 1);
  EXPECT_EQ(s.DataString(), std::string("abcdefghij\0\0\0\0\0Z", 16));
}

TEST(TMemoryStream, GrowsReadsBackAndResizes) {
  TMemoryStream m;
  m.WriteBuffer("hello", 5);
  m.Seek(Int64{8}, soBeginning);
  m.WriteBuffer("!", 1);
  EXPECT_EQ(m.Size(), 9);
  EXPECT_EQ(std::memcmp(m.Memory(), "hello\0\0\0!", 9), 0);
  m.SetSize(3);
  EXPECT_EQ(m.Position(), 3);
  m.SetSize(6);  // grown bytes are zero, not the old contents
  EXPECT_EQ(std::memcmp(m.Memory(), "hel\0\0\0", 6), 0);

  TStringStream source("0123456789");
  source.SetPosition(4);
  TMemoryStream copy;
  EXPECT_EQ(copy.CopyFrom(source, 3), 3);
  EXPECT_EQ(std::string(static_cast<char*>(copy.Memory()), 3), "456");
  EXPECT_EQ(copy.CopyFrom(source, 0), 10);  // 0 copies all of the source
  EXPECT_EQ(copy.Size(), 13);
  source.SetPosition(8);
  EXPECT_THROW(copy.CopyFrom(source, 5), EReadError);
  m.Clear();
  EXPECT_EQ(m.Size(), 0);
  EXPECT_EQ(m.Memory(), nullptr);
}

// A stream held in memory cannot reach the 64-bit limit: a write there, or a
// size nothing can hold, is a lack of memory; position plus count never
// overflows.
TEST(TMemoryStream, PositionsNearTheLimitAndHugeSizesRaise) {
  const char bytes[10] = {};
  TMemoryStream memory;
  TStringStream text("abc");
  for (TStream* stream : {static_cast<TStream*>(&memory), static_cast<TStream*>(&text)}) {
    stream->Seek(INT64_MAX - 4, soBeginning);
    EXPECT_THROW(stream->Write(bytes, 10), EOutOfMemory);
    EXPECT_THROW(stream->SetSize(INT64_MAX), EOutOfMemory);
    EXPECT_THROW(stream->Seek(Int64{10}, soCurrent), EStreamError);
    stream->Seek(Int64{0}, soBeginning);
    EXPECT_EQ(stream->Write(bytes, 2), 2);
  }
  EXPECT_EQ(memory.Size(), 2);
  EXPECT_EQ(text.Size(), 3);
}

TEST(TStringStream, WritingInTheMiddleKeepsTheRest) {
  TStringStream s("abcdef");
  s.SetPosition(2);
  s.WriteString("XY");
  EXPECT_EQ(s.DataString(), "abXYef");
  EXPECT_EQ(s.ReadString(10), "ef");
  s.SetPosition(1);
  EXPECT_EQ(s.ReadString(2), "bX");
  s.SetSize(2);
  EXPECT_EQ(s.DataString(), "ab");
  EXPECT_EQ(s.Position(), 2);
}

TEST_F(StreamFiles, FileModesAndErrors) {
  const std::string name = path("data.bin");
  {
    TFileStream f(name, fmCreate);
    f.WriteBuffer("abcdef", 6);
    EXPECT_EQ(f.Size(), 6);
    EXPECT_EQ(f.FileName(), name);
  }
  {
    TFileStream f(name, fmOpenRead);
    char buffer[10];
    f.Seek(Int64{-2}, soEnd);
    EXPECT_EQ(f.Read(buffer, 10), 2);
    // A stream opened for reading cannot write: the system's reason is given.
    EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError);
  }
  {
    TFileStream f(name, fmOpenReadWrite);
    f.Seek(Int64{2}, soBeginning);
    f.WriteBuffer("XY", 2);
    f.SetSize(5);
  }
  TMemoryStream m;
  m.LoadFromFile(name);
  EXPECT_EQ(std::string(static_cast<char*>(m.Memory()), 5), "abXYe");

  struct Case {
    std::string name;
    Word mode;
    bool create;
    const char* reason;
  };
  const Case cases[] = {
      {path("missing.bin"), fmOpenRead, false, "No such file or directory"},
      {path("no/folder.bin"), fmCreate, true, "No such file or directory"},
      {dir_.string(), fmOpenRead, false, "Is a directory"},
  };
  for (const Case& c : cases) {
    try {
      TFileStream f(c.name, c.mode);
      ADD_FAILURE() << c.name;
    } catch (const EFCreateError& e) {
      EXPECT_TRUE(c.create);
      EXPECT_EQ(e.Message, "Cannot create file \"" + c.name + "\". " + c.reason);
    } catch (const EFOpenError& e) {
      EXPECT_FALSE(c.create);
      EXPECT_EQ(e.Message, "Cannot open file \"" + c.name + "\". " + c.reason);
    }
  }
}

TEST_F(StreamFiles, ShareModesRefuseEachOther) {
  const std::string name = path("shared.bin");
  TMemoryStream().SaveToFile(name);
  {
    TFileStream exclusive(name, fmOpenReadWrite | fmShareExclusive);
    EXPECT_THROW(TFileStream(name, fmOpenRead | fmShareExclusive), EFOpenError);
    EXPECT_THROW(TFileStream(name, fmOpenRead | fmShareDenyWrite), EFOpenError);
    EXPECT_NO_THROW(TFileStream(name, fmOpenRead | fmShareDenyNone));
  }
  TFileStream reader1(name, fmOpenRead | fmShareDenyWrite);
  EXPECT_NO_THROW(TFileStream(name, fmOpenRead | fmShareDenyWrite));
  EXPECT_THROW(TFileStream(name, fmOpenReadWrite | fmShareExclusive), EFOpenError);
}

TEST_F(StreamFiles, HandleStreamLeavesTheDescriptorOpen) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  {
    THandleStream writer(fds[1]);
    writer.WriteBuffer("ping", 4);
    EXPECT_THROW(writer.Position(), EStreamError);  // a pipe cannot seek
  }
  THandleStream reader(fds[0]);
  char buffer[4];
  reader.ReadBuffer(buffer, 4);
  EXPECT_EQ(std::string(buffer, 4), "ping");
  EXPECT_EQ(::close(fds[0]), 0);
  EXPECT_EQ(::close(fds[1]), 0);
}

}  // namespace
