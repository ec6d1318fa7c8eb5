#include "platform/win/PaperBins.h"

#include <algorithm>
#include <cctype>

namespace win {

namespace {

struct KnownSource {
  const char* source;
  short code;
  const char* name;
};

constexpr KnownSource kKnownSources[] = {
    {"auto", DMBIN_AUTO, "Automatically Select"},
    {"top", DMBIN_UPPER, "Upper Tray"},
    {"main", DMBIN_ONLYONE, "Main Tray"},
    {"bottom", DMBIN_LOWER, "Lower Tray"},
    {"middle", DMBIN_MIDDLE, "Middle Tray"},
    {"manual", DMBIN_MANUAL, "Manual Feed"},
    {"by-pass-tray", DMBIN_MANUAL, "Bypass Tray"},
    {"envelope", DMBIN_ENVELOPE, "Envelope Feed"},
    {"large-capacity", DMBIN_LARGECAPACITY, "Large Capacity"},
};

// "tray-12" gives 12; anything else 0.
int TrayNumber(const std::string& source) {
  if (source.rfind("tray-", 0) != 0 || source.size() == 5 || source.size() > 8) return 0;
  int n = 0;
  for (size_t i = 5; i < source.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(source[i]))) return 0;
    n = n * 10 + (source[i] - '0');
  }
  return n;
}

// "large-capacity-2" reads "Large capacity 2".
std::string NameFromKeyword(const std::string& source) {
  std::string name = source;
  std::replace(name.begin(), name.end(), '-', ' ');
  if (!name.empty()) name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
  return name;
}

}  // namespace

std::vector<PaperBin> BinsForSources(const std::vector<std::string>& sources) {
  std::vector<PaperBin> bins;
  auto taken = [&](int code) {
    return std::any_of(bins.begin(), bins.end(), [&](const PaperBin& b) { return b.code == code; });
  };
  int nextFree = DMBIN_USER + 100;
  for (const std::string& source : sources) {
    if (source.empty() || std::any_of(bins.begin(), bins.end(), [&](const PaperBin& b) { return b.source == source; }))
      continue;
    int code = 0;
    std::string name;
    for (const KnownSource& k : kKnownSources)
      if (source == k.source) {
        code = k.code;
        name = k.name;
      }
    if (int tray = TrayNumber(source); tray > 0) {
      code = DMBIN_USER + tray;
      name = "Tray " + std::to_string(tray);
    }
    if (name.empty()) name = NameFromKeyword(source);
    if (code == 0 || taken(code)) {
      while (taken(nextFree)) ++nextFree;
      code = nextFree;
    }
    bins.push_back({static_cast<short>(code), name, source});
  }
  return bins;
}

}  // namespace win
