#include "platform/win/PaperBins.h"

#include <gtest/gtest.h>

using namespace win;

TEST(PaperBins, SourcesTakeTheirBinCodesAndOwnCodesWhereNoneFits) {
  std::vector<PaperBin> bins =
      BinsForSources({"auto", "top", "bottom", "manual", "tray-3", "main", "rear", "auto", "large-capacity", ""});
  struct Expected {
    short code;
    const char* name;
    const char* source;
  } expected[] = {
      {DMBIN_AUTO, "Automatically Select", "auto"},
      {DMBIN_UPPER, "Upper Tray", "top"},
      {DMBIN_LOWER, "Lower Tray", "bottom"},
      {DMBIN_MANUAL, "Manual Feed", "manual"},
      {DMBIN_USER + 3, "Tray 3", "tray-3"},
      {DMBIN_USER + 100, "Main Tray", "main"},  // the upper tray's code is taken
      {DMBIN_USER + 101, "Rear", "rear"},
      {DMBIN_LARGECAPACITY, "Large Capacity", "large-capacity"},
  };
  ASSERT_EQ(bins.size(), std::size(expected)) << "a repeated or empty source is listed once or not at all";
  for (size_t i = 0; i < bins.size(); ++i) {
    EXPECT_EQ(bins[i].code, expected[i].code) << i;
    EXPECT_EQ(bins[i].name, expected[i].name) << i;
    EXPECT_EQ(bins[i].source, expected[i].source) << i;
  }
  EXPECT_TRUE(BinsForSources({}).empty());
}
