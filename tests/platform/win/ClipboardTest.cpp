#include "platform/win/Clipboard.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/platform/win/UserFixture.h"

namespace usertest {
namespace {

class ClipboardTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    ResetClipboard();
  }
  void TearDown() override {
    InstallClipboardBackend(nullptr);
    ResetClipboard();
    UserTest::TearDown();
  }

  static HGLOBAL Block(const void* data, size_t bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(h), data, bytes);
    GlobalUnlock(h);
    return h;
  }
};

const char kChinese[] = "\xE4\xBF\xA1\xE9\x81\x93 CH-1 \xF0\x9F\x93\xBB";  // 信道 CH-1 📻
const char16_t kChinese16[] = u"\u4FE1\u9053 CH-1 \U0001F4FB";

TEST_F(ClipboardTest, ChineseTextRoundTripsThroughBothTextFormats) {
  HWND w = Make("W", WS_POPUP, 0, 0, 10, 10);
  ASSERT_TRUE(OpenClipboard(w));
  ASSERT_TRUE(EmptyClipboard());
  ASSERT_NE(SetClipboardData(CF_TEXT, Block(kChinese, sizeof kChinese)), nullptr);
  ASSERT_TRUE(CloseClipboard());

  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
  EXPECT_EQ(GetClipboardOwner(), w);

  ASSERT_TRUE(OpenClipboard(nullptr));
  HGLOBAL wide = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(GlobalSize(wide), sizeof kChinese16);
  EXPECT_EQ(std::u16string(static_cast<const char16_t*>(GlobalLock(wide))), kChinese16);
  GlobalUnlock(wide);
  EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), wide);  // made once
  CloseClipboard();

  // The other way round.
  ASSERT_TRUE(OpenClipboard(w));
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, Block(kChinese16, sizeof kChinese16));
  CloseClipboard();
  std::string text;
  ASSERT_TRUE(GetClipboardText(w, &text));
  EXPECT_EQ(text, kChinese);
  ASSERT_TRUE(SetClipboardText(w, "plain"));
  ASSERT_TRUE(GetClipboardText(nullptr, &text));
  EXPECT_EQ(text, "plain");
}

TEST_F(ClipboardTest, MisuseFailsInsteadOfCorruptingTheClipboard) {
  HWND a = Make("A", WS_POPUP, 0, 0, 10, 10);
  HWND b = Make("B", WS_POPUP, 0, 0, 10, 10);
  HGLOBAL data = Block("x", 2);
  // Not open.
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_EQ(SetClipboardData(CF_TEXT, data), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  EXPECT_FALSE(CloseClipboard());

  // Held by another window.
  ASSERT_TRUE(OpenClipboard(a));
  EXPECT_FALSE(OpenClipboard(b));
  EXPECT_EQ(GetOpenClipboardWindow(), a);
  EmptyClipboard();
  // Text without its terminating zero, and no data at all, are refused.
  HGLOBAL unterminated = Block("abc", 3);
  EXPECT_EQ(SetClipboardData(CF_TEXT, unterminated), nullptr);
  EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);
  EXPECT_EQ(GlobalFree(unterminated), nullptr);  // still the caller's
  EXPECT_EQ(SetClipboardData(CF_TEXT, data), data);
  CloseClipboard();
  EXPECT_EQ(CountClipboardFormats(), 3);  // CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT

  // Emptying tells the old owner.
  Reg().handlers[{"A", WM_DESTROYCLIPBOARD}] = [](HWND, WPARAM, LPARAM) {
    Reg().log.push_back("A WM_DESTROYCLIPBOARD");
    return LRESULT{0};
  };
  ASSERT_TRUE(OpenClipboard(b));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(Taken(), std::vector<std::string>{"A WM_DESTROYCLIPBOARD"});
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(GlobalFree(reinterpret_cast<HGLOBAL>(0x1234)), reinterpret_cast<HGLOBAL>(0x1234));
}

class FakeDesktop : public ClipboardBackend {
 public:
  explicit FakeDesktop(std::string* published, std::string* incoming) : published_(published), incoming_(incoming) {}
  void Publish(const std::string& text) override { *published_ = text; }
  bool Fetch(std::string* text) override {
    if (incoming_->empty()) return false;
    *text = *incoming_;
    incoming_->clear();
    return true;
  }

 private:
  std::string* published_;
  std::string* incoming_;
};

TEST_F(ClipboardTest, TheDesktopClipboardSeesOurTextAndGivesItsOwn) {
  std::string published, incoming;
  InstallClipboardBackend(std::make_unique<FakeDesktop>(&published, &incoming));
  SetClipboardText(nullptr, kChinese);
  EXPECT_EQ(published, kChinese);
  incoming = "from outside";
  std::string text;
  ASSERT_TRUE(GetClipboardText(nullptr, &text));
  EXPECT_EQ(text, "from outside");
  EXPECT_EQ(GetClipboardOwner(), nullptr);
}

}  // namespace
}  // namespace usertest
