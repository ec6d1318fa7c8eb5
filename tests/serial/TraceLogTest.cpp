#include "serial/TraceLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "serial/AdExcept.h"
#include "tests/support/TempFolder.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(Trace, DumpFormatsByKindAndMode) {
  struct Case {
    bool hex, allHex;
    const char* expected;
  };
  const Case cases[] = {
      {true, false, "Receive: \n[06]A\n\nTransmit: \n[20]R\n"},
      {false, false, "Receive: \n[6]A\n\nTransmit: \n R\n"},
      {true, true, "Receive: \n[06][41]\n\nTransmit: \n[20][52]\n"},
  };
  for (const Case& c : cases) {
    TTraceRecorder trace;
    ASSERT_EQ(trace.Start(100), 0);
    trace.Record('R', 0x06);
    trace.Record('R', 'A');
    trace.Record('T', ' ');
    trace.Record('T', 'R');
    EXPECT_EQ(trace.Text(c.hex, c.allHex), c.expected) << c.hex << c.allHex;
  }
}

TEST(Trace, AllHexLinesHoldNineteenBytesAndOldestComeFirstAfterWrap) {
  TTraceRecorder trace;
  trace.Start(25);
  for (int i = 0; i < 30; ++i) trace.Record('R', static_cast<Byte>(i));
  std::string text = trace.Text(true, true);
  // 25 kept: 5..29, 19 on the first line and 6 on the second.
  std::string first = "Receive: \n";
  for (int i = 5; i < 24; ++i) {
    char b[8];
    std::snprintf(b, sizeof b, "[%02X]", i);
    first += b;
  }
  EXPECT_EQ(text.substr(0, first.size()), first);
  EXPECT_EQ(text.substr(first.size()), "\n[18][19][1A][1B][1C][1D]\n");
  EXPECT_EQ(trace.Start(4000001), ecBadArgument);
}

TEST(Trace, DumpWithNothingRecordedLeavesTheFileAlone) {
  TempFolder dir("trace");
  const std::string path = dir / "test.trc";
  { std::ofstream(path) << "old"; }
  TTraceRecorder trace;
  trace.Start(10);
  EXPECT_EQ(trace.Dump(path, false, true, false), 0);
  EXPECT_EQ(ReadFile(path), "old");
  trace.Start(10);
  trace.Record('T', 'x');
  EXPECT_EQ(trace.Dump(path, true, true, false), 0);
  EXPECT_EQ(ReadFile(path), "oldTransmit: \nx\n");
  EXPECT_FALSE(trace.Active());
  trace.Start(10);
  trace.Record('R', 'y');
  EXPECT_EQ(trace.Dump("/nonexistent-dir/x.trc", false, true, false), -3);
  EXPECT_FALSE(trace.Active());
}

TEST(DispatchLog, EntryLinesAndHeader) {
  EXPECT_EQ(LogTimeText(1234), "0001.234");
  EXPECT_EQ(LogTimeText(0), "0000.000");
  TDispatchLog log;
  log.Start(1000);
  const Byte data[] = {0x06, 'A'};
  log.Add(1, 1, 1234, 2, data, 2);
  log.Add(2, 5, 2000, 3);
  log.Add(1, 4, 2500, 0x11);
  EXPECT_EQ(log.EntryText(true, false),
            "0001.234  Dispatch  ReadCom       00000002  [06]A\n"
            "0002.000  Trigger   Avail         00000003  \n"
            "0002.500  Dispatch  Modem status  00000011  (DCTS CTS)\n");
  EXPECT_EQ(TDispatchLog::HeaderText("COM3", "10/12/26, 15:00:00", "Unknown"),
            "PORT v4.05\nCompiler : Unknown\nOperating System : Unknown\nDevice: COM3\n"
            "Date/time: 10/12/26, 15:00:00\n"
            "Time      Type      SubType       Data      OtherData\n"
            "--------  --------  ------------  --------  ---------\n");
}

TEST(DispatchLog, OldEntriesMakeRoomAndLongDataWraps) {
  TDispatchLog log;
  log.Start(64);
  log.Add(2, 5, 1, 1);
  log.Add(2, 5, 2, 2);
  log.Add(2, 5, 3, 3);
  log.Add(2, 5, 4, 4);
  log.Add(2, 5, 5, 5);  // drops the first
  std::string text = log.EntryText(true, false);
  EXPECT_EQ(text.find("00000001"), std::string::npos);
  EXPECT_NE(text.find("00000005"), std::string::npos);
  std::vector<Byte> big(64, 'x');
  log.Add(1, 2, 6, 64, big.data(), 64);  // as large as the buffer: dropped
  EXPECT_EQ(log.EntryText(true, false), text);

  TDispatchLog wide;
  wide.Start(1000);
  std::vector<Byte> bytes(40, 'z');
  wide.Add(1, 2, 0, 40, bytes.data(), 40);
  EXPECT_EQ(wide.EntryText(true, false),
            "0000.000  Dispatch  WriteCom      00000028  " + std::string(34, 'z') + "\n" + std::string(44, ' ') +
                std::string(6, 'z') + "\n");
}

}  // namespace
