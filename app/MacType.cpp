#include "app/MacType.h"

#include <algorithm>

#include "platform/rtl/Classes.h"
#include "app/MeMode.h"
#include "platform/rtl/SysUtils.h"

VXN_IMPLEMENT_CLASS(TMacType, TObject)
VXN_IMPLEMENT_CLASS(TMacList, TObject)
VXN_IMPLEMENT_CLASS(TFrqList, TObject)

TMacList* MacList = nullptr;
TFrqList* FrqList = nullptr;

TMacType::TMacType(std::string modelCode, std::string modelName, Integer channelCount,
                   Integer sideKeys)
    : ModelCode(std::move(modelCode)),
      ModelName(std::move(modelName)),
      ChannelCount(channelCount),
      SideKeys(sideKeys) {}

void TMacType::AddBand(const std::string& text) { Bands.push_back(text); }

void TMacType::SetDefaultBand(const std::string& text) { DefaultBand = text; }

void TMacType::SetLimits(Double maxMHz, Double minMHz) {
  MaxMHz = maxMHz;
  MinMHz = minMHz;
}

bool TMacType::AcceptsBand(const std::string& text) const {
  return std::find(Bands.begin(), Bands.end(), text) != Bands.end();
}

void TMacList::AddModel(std::unique_ptr<TMacType> model) { models_.push_back(std::move(model)); }

TMacType* TMacList::ModelAt(Integer i) const {
  if (i < 0 || i >= Count()) return nullptr;
  return models_[static_cast<std::size_t>(i)].get();
}

TMacType* TMacList::FindByName(const std::string& name) const {
  for (const auto& m : models_)
    if (m->ModelName == name) return m.get();
  return nullptr;
}

Integer TMacList::ChannelCountOfCode(const std::string& code) const {
  for (const auto& m : models_)
    if (m->ModelCode == code) return m->ChannelCount;
  return 0;
}

TMacType* TMacList::FindByCodeAndBand(const std::string& code, const std::string& bandText) const {
  for (const auto& m : models_)
    if (m->ModelCode == code && m->AcceptsBand(bandText)) return m.get();
  return nullptr;
}

void TMacList::ListNames(TStrings& strings) const {
  strings.Clear();
  for (const auto& m : models_) strings.Add(m->ModelName);
}

void TFrqList::AddBandCode(const std::string& text, Integer code) { bands_.push_back({text, code}); }

Integer TFrqList::CodeOf(const std::string& text) const {
  for (const TBand& b : bands_)
    if (b.Text == text) return b.Code;
  return bands_.empty() ? 0 : bands_[0].Code;
}

std::string TFrqList::TextOf(Integer code) const {
  constexpr std::size_t fallbackPosition = 10;
  for (const TBand& b : bands_)
    if (b.Code == code) return b.Text;
  return bands_.size() > fallbackPosition ? bands_[fallbackPosition].Text : std::string();
}

namespace {

struct TModelRow {
  const char* Code;
  const char* Name;
  Integer Channels;
  Integer SideKeys;
  Double MaxMHz;
  Double MinMHz;
  bool Uhf;
  const char* DefaultBand;
};

const TModelRow ModelRows[] = {
    {"N41A", "N41(UHF)", 16, 3, 650.0, 300.0, true, "450 - 470MHz"},
    {"N41A", "N41(VHF)", 16, 3, 300.0, 67.0, false, "150 - 174MHz"},
    {"N42A", "N42(UHF)", 16, 2, 650.0, 300.0, true, "450 - 470MHz"},
    {"N42A", "N42(VHF)", 16, 2, 300.0, 67.0, false, "150 - 174MHz"},
};

const char* const UhfBands[] = {"350 - 370MHz", "350 - 390MHz", "370 - 390MHz",
                                "400 - 420MHz", "400 - 470MHz", "440 - 480MHz",
                                "450 - 470MHz", "450 - 490MHz", "470 - 650MHz"};
const char* const VhfBands[] = {"136 - 150MHz", "136 - 174MHz", "150 - 174MHz", "216 - 223MHz"};

}  // namespace

void RegisterModels() {
  ALL->SerialEditable = true;
  ALL->WindowTitle = "N41/N42";
  for (const TModelRow& row : ModelRows) {
    auto model = std::make_unique<TMacType>(row.Code, row.Name, row.Channels, row.SideKeys);
    model->SetLimits(row.MaxMHz, row.MinMHz);
    if (row.Uhf)
      for (const char* band : UhfBands) model->AddBand(band);
    else
      for (const char* band : VhfBands) model->AddBand(band);
    model->SetDefaultBand(row.DefaultBand);
    MacList->AddModel(std::move(model));
  }
  ALL->LinkBaud = 2400;
}

void SelectModel(const std::string& code, Integer bandCode, bool bandOverride) {
  const std::string bandText = FrqList->TextOf(bandCode);
  if (const TMacType* model = MacList->FindByCodeAndBand(code, bandText)) {
    ALL->ModelName = model->ModelName;
    ALL->ModelCode = model->ModelCode;
    ALL->SideKeys = model->SideKeys;
    ALL->MaxMHz = model->MaxMHz;
    ALL->MinMHz = model->MinMHz;
    ALL->ChannelCount = model->ChannelCount;
    ALL->BandText = model->DefaultBand;
  }
  if (bandOverride) {
    ALL->BandText = bandText;
    ParseBandLimits(ALL->BandText, ALL->BandLow, ALL->BandHigh);
  }
}

void ParseBandLimits(const std::string& text, Double& low, Double& high) {
  const Integer dash = Pos('-', text);
  // Without a dash or a "MHz" after it the pieces are empty, which no
  // conversion accepts.
  const std::string lowText = dash > 0 ? Trim(Copy(text, 1, dash - 1)) : std::string();
  const std::string rest = dash > 0 ? Copy(text, dash + 1, Length(text)) : std::string();
  const Integer mhz = Pos("MHz", rest);
  const std::string highText = mhz > 0 ? Trim(Copy(rest, 1, mhz - 1)) : std::string();
  const Double l = ParseRadioNumber(lowText);
  const Double h = ParseRadioNumber(highText);
  low = l;
  high = h;
}
