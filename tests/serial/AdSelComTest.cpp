#include "AdSelCom.h"

#include <pty.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "AwWin32.h"
#include "WinSerial.h"

namespace {

// Two pseudo-terminals published as COM3 and COM12, with the machine's own
// serial devices hidden behind an empty device folder.
class PortList : public ::testing::Test {
 protected:
  void SetUp() override {
    empty_ = std::filesystem::temp_directory_path() / ("vxn-nodev-" + std::to_string(getpid()));
    std::filesystem::create_directories(empty_);
    win::SetSerialDeviceFolders(empty_.string(), empty_.string());
    for (int i = 0; i < 2; ++i) {
      char name[128] = {};
      ASSERT_EQ(openpty(&master_[i], &slave_[i], name, nullptr, nullptr), 0);
      setenv(i == 0 ? "VXN_COM3" : "VXN_COM12", name, 1);
    }
  }
  void TearDown() override {
    unsetenv("VXN_COM3");
    unsetenv("VXN_COM12");
    for (int i = 0; i < 2; ++i) {
      close(master_[i]);
      close(slave_[i]);
    }
    win::SetSerialDeviceFolders("", "");
    std::filesystem::remove_all(empty_);
  }
  std::filesystem::path empty_;
  int master_[2] = {-1, -1};
  int slave_[2] = {-1, -1};
};

TEST_F(PortList, ListsThePublishedPortsInOrderAndAHeldOneToo) {
  EXPECT_EQ(ListPresentPorts(), (std::vector<std::string>{"COM3", "COM12"}));
  EXPECT_FALSE(PortExists(0));
  EXPECT_FALSE(PortExists(4));

  auto* holder = new TApdWin32Dispatcher(nullptr);
  ASSERT_EQ(holder->OpenHandle("COM12", 64, 64), 0);
  EXPECT_TRUE(PortExists(12));
  holder->CloseDevice();
  holder->Free();
}

TEST(PortEntry, NumberFromTheFourthCharacterOn) {
  EXPECT_EQ(PortNumberOfEntry("COM3"), 3);
  EXPECT_EQ(PortNumberOfEntry("COM12"), 12);
  EXPECT_EQ(PortNumberOfEntry("COM"), 0);
}

}  // namespace
