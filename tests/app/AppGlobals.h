// Fixture of the application tests: fresh global objects with filled model
// and band tables for every test, a fake clock, and a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/AllClass.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "app/MacType.h"
#include "app/Maindb.h"
#include "tests/support/AppGlobalObjects.h"
#include "tests/support/TempFolder.h"

class AppGlobalsTest : public ::testing::Test {
 protected:
  void SetUp() override { ALL->AppPath = Folder; }

  // 2024-03-05 09:07:02.
  TFakeClockScope Clock{1000, EncodeDate(2024, 3, 5) + EncodeTime(9, 7, 2, 0)};
  AppGlobalObjects Globals;
  TempFolder Scratch{"app"};
  std::string Folder = Scratch.Path() + "/";
};

// Switches the process to a comma-decimal locale for the scope.
class CommaLocale {
 public:
  CommaLocale() : saved_(DefaultFormatSettings()) {
    SetDefaultFormatSettings(TFormatSettings::FromLocaleName("de_DE.UTF-8"));
    std::setlocale(LC_ALL, "de_DE.UTF-8");
  }
  ~CommaLocale() {
    std::setlocale(LC_ALL, "C.UTF-8");
    SetDefaultFormatSettings(saved_);
  }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;

 private:
  TFormatSettings saved_;
};
