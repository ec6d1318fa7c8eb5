// Data files from outside: whatever the bytes, a load either changes nothing
// or leaves a known model and band with every setting in its range.
#include <cstdlib>
#include <cstring>

#include "app/AllClass.h"
#include "app/MacType.h"
#include "app/Maindb.h"
#include "app/MeMode.h"
#include "tests/support/AppGlobalObjects.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

struct Globals {
  AppGlobalObjects Objects;
  TMemoryImage Baseline{};
  Globals() {
    SelectModel("N41A", 0, false);
    ParseBandLimits(ALL->BandText, ALL->BandLow, ALL->BandHigh);
    InitMemoryImage();
    Baseline = ALL->MemoryImage;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Globals globals;
  ALL->MemoryImage = globals.Baseline;
  SelectModel("N41A", 0xF4, true);
  ALL->Dirty = true;

  const TDataFileLoad result = LoadDataFileBytes(data, size);
  if (result != TDataFileLoad::Loaded) {
    Check(ALL->MemoryImage == globals.Baseline);
    Check(ALL->ModelName == "N41(UHF)" && ALL->BandText == "450 - 470MHz" && ALL->Dirty);
    return 0;
  }
  Check(size >= static_cast<size_t>(DataFileSize));
  Check(std::memcmp(ALL->MemoryImage.data() + 16, data + 16, 0x120) == 0);
  Check(!ALL->Dirty);
  Check(MacList->ChannelCountOfCode(ALL->ModelCode) == 16);
  Check(ALL->AtRadio(BandCodeAddress) == FrqList->CodeOf(ALL->BandText));
  for (const TSettingClamp& row : SettingClamps()) Check(ALL->AtRadio(row.Address) <= row.Maximum);
  // Every channel decodes, and the windows' texts of it encode again.
  for (int n = 1; n <= MaxChannels; ++n) {
    TChannel channel;
    if (!DecodeChannel(&ALL->MemoryImage[ChannelRecordIndex(n)], channel)) continue;
    const TToneBytes rx = EncodeTone(channel.RxTone);
    if (!channel.RxTone.empty())
      Check(rx[0] == ALL->MemoryImage[ChannelRecordIndex(n) + 8] &&
            rx[1] == ALL->MemoryImage[ChannelRecordIndex(n) + 9]);
    EncodeFrequency(FormatMHz(channel.RxMHz));
  }
  DecodeDateTime7(&ALL->AtRadio(WriteTimeAddress));
  DecodeDateTime7(&ALL->AtRadio(FactoryTimeAddress));
  return 0;
}
