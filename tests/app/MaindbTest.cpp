#include "app/Maindb.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/AllClass.h"
#include "app/MacType.h"
#include "tests/support/AppGlobalObjects.h"
#include "tests/support/TempFolder.h"

namespace {

// The start-up objects as the data module makes them, with and without the
// files beside the program.
class MaindbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg) savedXdg_ = xdg;
    hadXdg_ = xdg != nullptr;
    setenv("XDG_CONFIG_HOME", (folder_ + "config").c_str(), 1);
  }
  void TearDown() override {
    if (hadXdg_)
      setenv("XDG_CONFIG_HOME", savedXdg_.c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
    FreeAppGlobalObjects();  // as the data module made them
  }

  TempFolder scratch_{"maindb"};
  std::string folder_ = scratch_.Path() + "/";

 private:
  bool hadXdg_ = false;
  std::string savedXdg_;
};

TEST_F(MaindbTest, WithoutFilesBesideTheProgram) {
  CreateApplicationObjects(folder_);
  ASSERT_TRUE(ALL && ChannelScratch && LangTexts && MacList && FrqList);
  EXPECT_EQ(ALL->AppPath, folder_);
  EXPECT_EQ(ALL->CurrentChannel, 1);
  EXPECT_FALSE(ALL->TestOnlineVisible);
  EXPECT_FALSE(ALL->NewPasswordOn);
  EXPECT_TRUE(ALL->SerialEditable);
  EXPECT_EQ(ALL->LinkBaud, 2400);
  EXPECT_EQ(ALL->WindowTitle, "N41/N42");
  EXPECT_EQ(MacList->Count(), 4);
  EXPECT_EQ(FrqList->Count(), 14);
  EXPECT_EQ(ALL->PortName, "Com1");
  EXPECT_EQ(ALL->LangIndex, 0);
  EXPECT_EQ(ALL->LangName, "Chinese");
  EXPECT_EQ(ALL->HelpPrefix, "VXN");
  EXPECT_EQ(ALL->PicNumber, 1);
  EXPECT_EQ(LangTexts->ModError, "Model Type Wrong.");
  // No model yet, and an all-zero image until the main window starts one.
  EXPECT_EQ(ALL->ModelCode, "");
  EXPECT_EQ(ALL->BandText, "");
  EXPECT_FALSE(ALL->Dirty);
  for (Byte b : ALL->MemoryImage) ASSERT_EQ(b, 0);
  EXPECT_EQ(ChannelScratch->RxMHz, -1.0);
}

TEST_F(MaindbTest, ReadsTheSettingsAndTheCurrentLanguage) {
  std::ofstream(folder_ + "SysInfo.Ini") << "[SysInfo]\nCom=COM2\nDefaultLanguage=1\n";
  std::ofstream(folder_ + "English.Ini") << "[Language]\nModError=Wrong model\n";
  CreateApplicationObjects(folder_);
  EXPECT_EQ(ALL->PortName, "COM2");
  EXPECT_EQ(ALL->LangName, "English");
  EXPECT_EQ(LangTexts->ModError, "Wrong model");
  EXPECT_EQ(LangTexts->ReadOk, "Reading Completed.");
}

}  // namespace
