// The texts and colour-name tables: every class-library name is a colour
// identifier the streams know, the web tables hold no name twice, and the two
// extended tables are the same names in two orders.
#include "suite/editors/EditorConstants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "platform/rtl/NamedInts.h"
#include "platform/rtl/SysUtils.h"

namespace {

TEST(EditorConstants, RegistryTexts) {
  EXPECT_STREQ(scxSEditRepositoryProgressBarItem, "ProgressBar|Represents a ProgressBar");
  EXPECT_STREQ(scxSEditRepositoryTrackBarItem, "TrackBar|Represents a TrackBar");
  EXPECT_STREQ(scxHotZoneStyleMediaPlayer9, "MediaPlayer9");
  EXPECT_STREQ(scxHotZoneStyleMediaPlayer8, "MediaPlayer8");
  EXPECT_STREQ(scxHotZoneStyleXPTaskBar, "XPTaskBar");
  EXPECT_STREQ(scxHotZoneStyleSimple, "Simple");
}

TEST(EditorConstants, ClassLibraryColorNamesFollowTheColourMap) {
  // A misspelt name would not read back as a colour.
  for (const char* name : ClassLibraryColorNames) {
    Integer color = 0;
    EXPECT_TRUE(IdentToColor(name, color)) << name;
  }
  EXPECT_STREQ(ClassLibraryColorNames.front(), "clBlack");
  EXPECT_STREQ(ClassLibraryColorNames[16], "clMoneyGreen");
  EXPECT_STREQ(ClassLibraryColorNames[29], "clDefault");
  EXPECT_STREQ(ClassLibraryColorNames.back(), "clWindowText");
}

TEST(EditorConstants, WebColorTables) {
  const std::set<std::string> basic(BasicWebColorNames.begin(), BasicWebColorNames.end());
  EXPECT_EQ(basic.size(), BasicWebColorNames.size());
  EXPECT_STREQ(BasicWebColorNames.front(), "Black");
  EXPECT_STREQ(BasicWebColorNames.back(), "Aqua");

  const std::set<std::string> byName(ExtendedWebColorNamesByName.begin(), ExtendedWebColorNamesByName.end());
  const std::set<std::string> byHue(ExtendedWebColorNamesByHue.begin(), ExtendedWebColorNamesByHue.end());
  EXPECT_EQ(byName.size(), 140u);
  EXPECT_EQ(byName, byHue);
  for (const std::string& name : basic) EXPECT_TRUE(byName.count(name)) << name;
  EXPECT_TRUE(std::is_sorted(ExtendedWebColorNamesByName.begin(), ExtendedWebColorNamesByName.end(),
                             [](const char* a, const char* b) { return CompareText(a, b) < 0; }));
  EXPECT_STREQ(ExtendedWebColorNamesByName.front(), "AliceBlue");
  EXPECT_STREQ(ExtendedWebColorNamesByName.back(), "YellowGreen");
  EXPECT_STREQ(ExtendedWebColorNamesByHue.front(), "LightPink");
  EXPECT_STREQ(ExtendedWebColorNamesByHue.back(), "Black");
  for (const char* name : {"DarkSlateGray", "LightGrey", "LightGoldenrodYellow"}) EXPECT_TRUE(byName.count(name));
}

}  // namespace
