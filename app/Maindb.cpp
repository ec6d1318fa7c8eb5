#include "app/Maindb.h"

#include "app/AllClass.h"
#include "app/MacType.h"
#include "app/MeMode.h"

namespace {

struct TBandRow {
  const char* Text;
  Integer Code;
};

// Positions matter: an unknown band text gives the code of position 0 and an
// unknown code the text of position 10.
const TBandRow BandRows[] = {
    {" 27 -  72MHz", 0xFD}, {"136 - 150MHz", 0xF1}, {"136 - 174MHz", 0xF2},
    {"150 - 174MHz", 0xF0}, {"216 - 223MHz", 0xF3}, {"350 - 370MHz", 0xFA},
    {"350 - 390MHz", 0xFB}, {"370 - 390MHz", 0xFC}, {"400 - 420MHz", 0xF8},
    {"400 - 470MHz", 0xF7}, {"440 - 480MHz", 0xF9}, {"450 - 470MHz", 0xF4},
    {"450 - 490MHz", 0xF5}, {"470 - 650MHz", 0xF6},
};

}  // namespace

void RegisterBands() {
  for (const TBandRow& row : BandRows) FrqList->AddBandCode(row.Text, row.Code);
}

void CreateApplicationObjects(const std::string& appPath) {
  if (!MacList) MacList = new TMacList;
  if (!ALL) ALL = new TALL;
  if (!ChannelScratch) ChannelScratch = new TChannel;
  if (!FrqList) FrqList = new TFrqList;
  if (!LangTexts) LangTexts = new TLanguage;
  ALL->AppPath = appPath;
  ALL->TestOnlineVisible = false;
  ALL->NewPasswordOn = false;
  ALL->CurrentChannel = 1;
  if (FrqList->Count() == 0) RegisterBands();
  if (MacList->Count() == 0) RegisterModels();
  LoadSysInfo();
  LoadLanguageTexts(ALL->LangName);
}
