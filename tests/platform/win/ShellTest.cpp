#include "platform/win/Shell.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include "tests/support/TempFolder.h"

namespace {

using namespace win;

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetShellLauncher([this](const std::vector<std::string>& argv) {
      started_.push_back(argv);
      return true;
    });
    std::ofstream(dir_ / "-manual.pdf") << "x";
  }
  void TearDown() override {
    SetShellLauncher(nullptr);
  }
  static intptr_t Code(HINSTANCE h) { return reinterpret_cast<intptr_t>(h); }

  std::vector<std::vector<std::string>> started_;
  TempFolder folder_{"shell"};
  std::filesystem::path dir_ = folder_.Path();
};

TEST_F(ShellTest, OpensFilesAndWebAndMailLinksThroughXdgOpen) {
  EXPECT_GT(Code(ShellExecute(nullptr, "open", "https://example.org/a?b=c", nullptr, nullptr, SW_SHOWNORMAL)), 32);
  EXPECT_GT(Code(ShellExecute(nullptr, nullptr, "mailto:someone@example.org", "", nullptr, SW_SHOWNORMAL)), 32);
  // A relative file name is taken in the folder and cannot pass for an option.
  EXPECT_GT(Code(ShellExecute(nullptr, "open", "-manual.pdf", nullptr, dir_.c_str(), SW_SHOWNORMAL)), 32);
  ASSERT_EQ(started_.size(), 3u);
  EXPECT_EQ(started_[0], (std::vector<std::string>{"xdg-open", "https://example.org/a?b=c"}));
  EXPECT_EQ(started_[1][1], "mailto:someone@example.org");
  EXPECT_EQ(started_[2][1], (dir_ / "-manual.pdf").string());
}

TEST_F(ShellTest, RefusesEverythingElse) {
  struct Case {
    const char* verb;
    const char* file;
    const char* params;
    intptr_t code;
  } cases[] = {
      {"print", "https://example.org", nullptr, SE_ERR_NOASSOC},
      {"open", "ftp://example.org/x", nullptr, SE_ERR_NOASSOC},
      {"open", "javascript:alert(1)", nullptr, SE_ERR_NOASSOC},
      {"open", "/bin/sh", "-c reboot", SE_ERR_NOASSOC},
      {"open", "/no/such/file.txt", nullptr, SE_ERR_FNF},
      {"open", "https://example.org/\nx", nullptr, SE_ERR_FNF},
      {"open", "", nullptr, SE_ERR_FNF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(Code(ShellExecute(nullptr, c.verb, c.file, c.params, nullptr, SW_SHOWNORMAL)), c.code);
  }
  EXPECT_TRUE(started_.empty());
}

}  // namespace
