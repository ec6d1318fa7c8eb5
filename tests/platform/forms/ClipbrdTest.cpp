#include "platform/forms/Clipbrd.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "platform/win/Clipboard.h"

using namespace win;

namespace {

class ClipbrdTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetClipboard(); }
  void TearDown() override { ResetClipboard(); }
};

TEST_F(ClipbrdTest, TextRoundTripsAndFormatsAppear) {
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_EQ(Clipboard()->AsText(), "");
  Clipboard()->SetTextBuf("频道 12");
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));  // synthesised by the clipboard
  EXPECT_EQ(Clipboard()->AsText(), "频道 12");
  std::string viaWin;
  ASSERT_TRUE(GetClipboardText(nullptr, &viaWin));
  EXPECT_EQ(viaWin, "频道 12");

  char buf[5];
  EXPECT_EQ(Clipboard()->GetTextBuf(buf, sizeof buf), 4);
  EXPECT_STREQ(buf, "频\xE9");  // bytes, cut at the buffer's size

  Clipboard()->Clear();
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
}

TEST_F(ClipbrdTest, OpenNestsAndFailsWhileSomeoneElseHoldsIt) {
  Clipboard()->Open();
  Clipboard()->Open();
  Clipboard()->SetAsText("one");  // first put of an opening empties what was there
  Clipboard()->Close();
  bool otherOpened = true;
  std::thread([&] { otherOpened = OpenClipboard(nullptr); }).join();
  EXPECT_FALSE(otherOpened);  // still held by the outer Open
  Clipboard()->Close();
  EXPECT_EQ(Clipboard()->AsText(), "one");

  std::thread([&] { otherOpened = OpenClipboard(nullptr); }).join();  // another thread keeps it open
  ASSERT_TRUE(otherOpened);
  EXPECT_THROW(Clipboard()->AsText(), Exception);
  EXPECT_THROW(Clipboard()->SetAsText("two"), Exception);
  ResetClipboard();
  EXPECT_EQ(Clipboard()->AsText(), "");
}

}  // namespace
