#include "platform/rtl/Resources.h"

#include <gtest/gtest.h>

// Greeting and Empty are compiled in by tests/platform/rtl/resources.cmake.
TEST(ResourceTest, CompiledFilesAreFoundByNameAndType) {
  EXPECT_EQ(LoadResource("greeting", "text"), std::string_view("Hello \xE4\xB8\xAD\0end\n", 14));
  EXPECT_EQ(LoadResource("Empty", "TEXT"), "");
  std::string_view data;
  EXPECT_FALSE(FindResource("Greeting", "FORM", data));
  try {
    LoadResource("Missing", "TEXT");
    FAIL();
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message, "Resource Missing not found");
  }

  TResourceStream stream("Greeting", "TEXT");
  EXPECT_EQ(stream.Size(), 14);
  char first[5];
  stream.ReadBuffer(first, 5);
  EXPECT_EQ(std::string(first, 5), "Hello");
  EXPECT_THROW(TResourceStream("Greeting", "BITMAP"), EResNotFound);
}

TEST(ResourceTest, StringsPassThroughTheHook) {
  RegisterResourceString(64000, "Cannot open port");
  EXPECT_EQ(LoadResString(64000), "Cannot open port");
  EXPECT_EQ(LoadResString(64001), "");
  SetResourceStringHook([](Integer id, const std::string& text) { return IntToStr(id) + ":" + text; });
  EXPECT_EQ(LoadResString(64000), "64000:Cannot open port");
  SetResourceStringHook(nullptr);
  EXPECT_EQ(LoadResString(64000), "Cannot open port");
}
