#include "app/MacType.h"

#include "tests/app/AppGlobals.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace {

using MacTypeTest = AppGlobalsTest;

TEST_F(MacTypeTest, BandTableMapsTextsAndCodesBothWays) {
  const struct {
    const char* Text;
    Integer Code;
  } bands[] = {
      {" 27 -  72MHz", 0xFD}, {"136 - 150MHz", 0xF1}, {"136 - 174MHz", 0xF2},
      {"150 - 174MHz", 0xF0}, {"216 - 223MHz", 0xF3}, {"350 - 370MHz", 0xFA},
      {"350 - 390MHz", 0xFB}, {"370 - 390MHz", 0xFC}, {"400 - 420MHz", 0xF8},
      {"400 - 470MHz", 0xF7}, {"440 - 480MHz", 0xF9}, {"450 - 470MHz", 0xF4},
      {"450 - 490MHz", 0xF5}, {"470 - 650MHz", 0xF6},
  };
  EXPECT_EQ(FrqList->Count(), 14);
  for (const auto& b : bands) {
    EXPECT_EQ(FrqList->CodeOf(b.Text), b.Code) << b.Text;
    EXPECT_EQ(FrqList->TextOf(b.Code), b.Text) << b.Code;
  }
}

TEST_F(MacTypeTest, UnknownBandTextsAndCodesFallBack) {
  for (const char* text : {"450-470MHz", "", "450 - 470mhz", "450 - 470MHz "})
    EXPECT_EQ(FrqList->CodeOf(text), 0xFD) << '"' << text << '"';
  for (Integer code : {0, 0xEF, 0xFE, 0xFF, -1, 0x1F4})
    EXPECT_EQ(FrqList->TextOf(code), "440 - 480MHz") << code;
}

TEST_F(MacTypeTest, ModelTableAsRegistered) {
  EXPECT_EQ(ALL->WindowTitle, "N41/N42");
  EXPECT_TRUE(ALL->SerialEditable);
  EXPECT_EQ(ALL->LinkBaud, 2400);

  const struct {
    const char* Code;
    const char* Name;
    Integer SideKeys;
    Double Max, Min;
    size_t BandCount;
    const char* FirstBand;
    const char* DefaultBand;
  } rows[] = {
      {"N41A", "N41(UHF)", 3, 650.0, 300.0, 9, "350 - 370MHz", "450 - 470MHz"},
      {"N41A", "N41(VHF)", 3, 300.0, 67.0, 4, "136 - 150MHz", "150 - 174MHz"},
      {"N42A", "N42(UHF)", 2, 650.0, 300.0, 9, "350 - 370MHz", "450 - 470MHz"},
      {"N42A", "N42(VHF)", 2, 300.0, 67.0, 4, "136 - 150MHz", "150 - 174MHz"},
  };
  ASSERT_EQ(MacList->Count(), 4);
  for (int i = 0; i < 4; ++i) {
    const TMacType* m = MacList->ModelAt(i);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->ModelCode, rows[i].Code);
    EXPECT_EQ(m->ModelName, rows[i].Name);
    EXPECT_EQ(m->ChannelCount, 16);
    EXPECT_EQ(m->SideKeys, rows[i].SideKeys);
    EXPECT_EQ(m->MaxMHz, rows[i].Max);
    EXPECT_EQ(m->MinMHz, rows[i].Min);
    EXPECT_EQ(m->Bands.size(), rows[i].BandCount);
    EXPECT_EQ(m->Bands.front(), rows[i].FirstBand);
    EXPECT_EQ(m->DefaultBand, rows[i].DefaultBand);
    EXPECT_EQ(MacList->FindByName(rows[i].Name), m);
  }
  EXPECT_EQ(MacList->ModelAt(0)->Bands.back(), "470 - 650MHz");
  EXPECT_EQ(MacList->ModelAt(1)->Bands.back(), "216 - 223MHz");
  EXPECT_EQ(MacList->ModelAt(4), nullptr);
  EXPECT_EQ(MacList->ModelAt(-1), nullptr);
  EXPECT_EQ(MacList->FindByName("N41"), nullptr);
}

TEST_F(MacTypeTest, LookUpsByCode) {
  EXPECT_EQ(MacList->ChannelCountOfCode("N41A"), 16);
  EXPECT_EQ(MacList->ChannelCountOfCode("N42A"), 16);
  for (const char* code : {"", "N41", "n41a", "N41A ", "N43A", "PN41A"})
    EXPECT_EQ(MacList->ChannelCountOfCode(code), 0) << code;

  const struct {
    const char* Code;
    const char* Band;
    const char* Model;  // nullptr: none
  } cases[] = {
      {"N42A", "150 - 174MHz", "N42(VHF)"}, {"N42A", "470 - 650MHz", "N42(UHF)"},
      {"N41A", "440 - 480MHz", "N41(UHF)"}, {"N41A", "216 - 223MHz", "N41(VHF)"},
      {"N41A", " 27 -  72MHz", nullptr},    {"N42A", " 27 -  72MHz", nullptr},
      {"N43A", "450 - 470MHz", nullptr},    {"N41A", "450-470MHz", nullptr},
  };
  for (const auto& c : cases) {
    const TMacType* m = MacList->FindByCodeAndBand(c.Code, c.Band);
    if (c.Model)
      EXPECT_TRUE(m && m->ModelName == c.Model) << c.Code << " " << c.Band;
    else
      EXPECT_EQ(m, nullptr) << c.Code << " " << c.Band;
  }
}

TEST_F(MacTypeTest, ListNamesReplacesTheList) {
  TStringList names;
  names.Add("stale");
  MacList->ListNames(names);
  EXPECT_EQ(names.ToVector(),
            (std::vector<std::string>{"N41(UHF)", "N41(VHF)", "N42(UHF)", "N42(VHF)"}));
}

TEST_F(MacTypeTest, SelectModelWithoutOverrideTakesTheDefaultBand) {
  ALL->BandLow = -5;
  ALL->BandHigh = -6;
  // The main window's first show: band code 0 is unknown, so the band is
  // "440 - 480MHz", which the first UHF model accepts.
  SelectModel("N41A", 0, false);
  EXPECT_EQ(ALL->ModelName, "N41(UHF)");
  EXPECT_EQ(ALL->ModelCode, "N41A");
  EXPECT_EQ(ALL->SideKeys, 3);
  EXPECT_EQ(ALL->ChannelCount, 16);
  EXPECT_EQ(ALL->MaxMHz, 650.0);
  EXPECT_EQ(ALL->MinMHz, 300.0);
  EXPECT_EQ(ALL->BandText, "450 - 470MHz");
  EXPECT_EQ(ALL->BandLow, -5);  // limits are the caller's business
  EXPECT_EQ(ALL->BandHigh, -6);

  SelectModel("N42A", 0xF0, false);
  EXPECT_EQ(ALL->ModelName, "N42(VHF)");
  EXPECT_EQ(ALL->BandText, "150 - 174MHz");
}

TEST_F(MacTypeTest, SelectModelWithOverrideTakesTheBandOfTheCode) {
  SelectModel("N42A", 0xF2, true);
  EXPECT_EQ(ALL->ModelName, "N42(VHF)");
  EXPECT_EQ(ALL->SideKeys, 2);
  EXPECT_EQ(ALL->MinMHz, 67.0);
  EXPECT_EQ(ALL->BandText, "136 - 174MHz");
  EXPECT_EQ(ALL->BandLow, 136.0);
  EXPECT_EQ(ALL->BandHigh, 174.0);

  // An unknown band code: "440 - 480MHz", which the N42 UHF variant accepts.
  SelectModel("N42A", 0x00, true);
  EXPECT_EQ(ALL->ModelName, "N42(UHF)");
  EXPECT_EQ(ALL->BandText, "440 - 480MHz");
  EXPECT_EQ(ALL->BandLow, 440.0);
  EXPECT_EQ(ALL->BandHigh, 480.0);
}

TEST_F(MacTypeTest, SelectModelKeepsTheModelWhenNoVariantAcceptsTheBand) {
  SelectModel("N41A", 0xF6, true);  // N41(UHF), 470 - 650MHz
  // No model accepts " 27 -  72MHz": the model stays, the band follows the code.
  SelectModel("N42A", 0xFD, true);
  EXPECT_EQ(ALL->ModelName, "N41(UHF)");
  EXPECT_EQ(ALL->ModelCode, "N41A");
  EXPECT_EQ(ALL->SideKeys, 3);
  EXPECT_EQ(ALL->BandText, " 27 -  72MHz");
  EXPECT_EQ(ALL->BandLow, 27.0);
  EXPECT_EQ(ALL->BandHigh, 72.0);

  // Unknown code without override: nothing changes.
  SelectModel("N99A", 0xF4, false);
  EXPECT_EQ(ALL->ModelName, "N41(UHF)");
  EXPECT_EQ(ALL->BandText, " 27 -  72MHz");
}

TEST_F(MacTypeTest, ParseBandLimits) {
  const struct {
    const char* Text;
    Double Low, High;
  } good[] = {
      {" 27 -  72MHz", 27.0, 72.0},
      {"450 - 470MHz", 450.0, 470.0},
      {"1.5-2.25MHz", 1.5, 2.25},
      {"400 - 420MHz - 1MHz", 400.0, 420.0},
  };
  for (const auto& g : good) {
    Double low = 0, high = 0;
    ParseBandLimits(g.Text, low, high);
    EXPECT_EQ(low, g.Low) << g.Text;
    EXPECT_EQ(high, g.High) << g.Text;
  }
  for (const char* bad : {"", "abc", "450 470MHz", "450 - 470", "- 470MHz", "450 - MHz", "1,5 - 2MHz"}) {
    Double low = 1, high = 2;
    EXPECT_THROW(ParseBandLimits(bad, low, high), EConvertError) << bad;
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 2);
  }
}

TEST_F(MacTypeTest, BandLimitsIgnoreACommaLocale) {
  CommaLocale comma;
  ASSERT_EQ(DefaultFormatSettings().DecimalSeparator, ',');
  Double low = 0, high = 0;
  ParseBandLimits("1.5-2.25MHz", low, high);
  EXPECT_EQ(low, 1.5);
  EXPECT_EQ(high, 2.25);
}

}  // namespace
