// Paper bin codes (DMBIN_*) and the mapping from a print system's media
// sources (the IPP keywords: "auto", "top", "tray-2" ...) to bins.
#pragma once

#include <string>
#include <vector>

namespace win {

constexpr short DMBIN_UPPER = 1;
constexpr short DMBIN_ONLYONE = 1;
constexpr short DMBIN_LOWER = 2;
constexpr short DMBIN_MIDDLE = 3;
constexpr short DMBIN_MANUAL = 4;
constexpr short DMBIN_ENVELOPE = 5;
constexpr short DMBIN_ENVMANUAL = 6;
constexpr short DMBIN_AUTO = 7;
constexpr short DMBIN_TRACTOR = 8;
constexpr short DMBIN_SMALLFMT = 9;
constexpr short DMBIN_LARGEFMT = 10;
constexpr short DMBIN_LARGECAPACITY = 11;
constexpr short DMBIN_CASSETTE = 14;
constexpr short DMBIN_FORMSOURCE = 15;
// Bins of a printer's own start here.
constexpr short DMBIN_USER = 256;

struct PaperBin {
  short code;
  std::string name;
  std::string source;  // the print system's keyword
};

// The bins for a printer's sources, in the printer's order. A source with a
// bin of its own (auto, top, main, bottom, middle, manual, by-pass-tray,
// envelope, large-capacity) takes that code; "tray-N" takes DMBIN_USER + N;
// any other source, or one whose code is already taken, a free code from
// DMBIN_USER + 100 on.
std::vector<PaperBin> BinsForSources(const std::vector<std::string>& sources);

}  // namespace win
