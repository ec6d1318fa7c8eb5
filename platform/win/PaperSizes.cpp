#include "platform/win/PaperSizes.h"

#include <cstdlib>

namespace win {

namespace {

constexpr PaperSize kPapers[] = {
    {DMPAPER_LETTER, "Letter", 2159, 2794},
    {DMPAPER_LETTERSMALL, "Letter Small", 2159, 2794},
    {DMPAPER_TABLOID, "Tabloid", 2794, 4318},
    {DMPAPER_LEDGER, "Ledger", 4318, 2794},
    {DMPAPER_LEGAL, "Legal", 2159, 3556},
    {DMPAPER_STATEMENT, "Statement", 1397, 2159},
    {DMPAPER_EXECUTIVE, "Executive", 1842, 2667},
    {DMPAPER_A3, "A3", 2970, 4200},
    {DMPAPER_A4, "A4", 2100, 2970},
    {DMPAPER_A4SMALL, "A4 Small", 2100, 2970},
    {DMPAPER_A5, "A5", 1480, 2100},
    {DMPAPER_B4, "B4 (JIS)", 2500, 3540},
    {DMPAPER_B5, "B5 (JIS)", 1820, 2570},
    {DMPAPER_FOLIO, "Folio", 2159, 3302},
    {DMPAPER_QUARTO, "Quarto", 2150, 2750},
    {DMPAPER_10X14, "10x14", 2540, 3556},
    {DMPAPER_11X17, "11x17", 2794, 4318},
    {DMPAPER_NOTE, "Note", 2159, 2794},
    {DMPAPER_ENV_9, "Envelope #9", 984, 2254},
    {DMPAPER_ENV_10, "Envelope #10", 1048, 2413},
    {DMPAPER_ENV_11, "Envelope #11", 1143, 2635},
    {DMPAPER_ENV_12, "Envelope #12", 1207, 2794},
    {DMPAPER_ENV_14, "Envelope #14", 1270, 2921},
    {DMPAPER_CSHEET, "C size sheet", 4318, 5588},
    {DMPAPER_DSHEET, "D size sheet", 5588, 8636},
    {DMPAPER_ESHEET, "E size sheet", 8636, 11176},
    {DMPAPER_ENV_DL, "Envelope DL", 1100, 2200},
    {DMPAPER_ENV_C5, "Envelope C5", 1620, 2290},
    {DMPAPER_ENV_C3, "Envelope C3", 3240, 4580},
    {DMPAPER_ENV_C4, "Envelope C4", 2290, 3240},
    {DMPAPER_ENV_C6, "Envelope C6", 1140, 1620},
    {DMPAPER_ENV_C65, "Envelope C65", 1140, 2290},
    {DMPAPER_ENV_B4, "Envelope B4", 2500, 3530},
    {DMPAPER_ENV_B5, "Envelope B5", 1760, 2500},
    {DMPAPER_ENV_B6, "Envelope B6", 1760, 1250},
    {DMPAPER_ENV_ITALY, "Envelope Italy", 1100, 2300},
    {DMPAPER_ENV_MONARCH, "Envelope Monarch", 984, 1905},
    {DMPAPER_ENV_PERSONAL, "Envelope 6 3/4", 920, 1651},
    {DMPAPER_FANFOLD_US, "US Std Fanfold", 3778, 2794},
    {DMPAPER_FANFOLD_STD_GERMAN, "German Std Fanfold", 2159, 3048},
    {DMPAPER_FANFOLD_LGL_GERMAN, "German Legal Fanfold", 2159, 3302},
    {DMPAPER_ISO_B4, "B4 (ISO)", 2500, 3530},
    {DMPAPER_JAPANESE_POSTCARD, "Japanese Postcard", 1000, 1480},
    {DMPAPER_9X11, "9x11", 2286, 2794},
    {DMPAPER_10X11, "10x11", 2540, 2794},
    {DMPAPER_15X11, "15x11", 3810, 2794},
    {DMPAPER_ENV_INVITE, "Envelope Invite", 2200, 2200},
    {DMPAPER_LETTER_EXTRA, "Letter Extra", 2355, 3048},
    {DMPAPER_LEGAL_EXTRA, "Legal Extra", 2355, 3810},
    {DMPAPER_TABLOID_EXTRA, "Tabloid Extra", 2969, 4572},
    {DMPAPER_A4_EXTRA, "A4 Extra", 2354, 3223},
    {DMPAPER_LETTER_TRANSVERSE, "Letter Transverse", 2101, 2794},
    {DMPAPER_A4_TRANSVERSE, "A4 Transverse", 2100, 2970},
    {DMPAPER_LETTER_EXTRA_TRANSVERSE, "Letter Extra Transverse", 2355, 3048},
    {DMPAPER_A_PLUS, "Super A", 2270, 3560},
    {DMPAPER_B_PLUS, "Super B", 3050, 4870},
    {DMPAPER_LETTER_PLUS, "Letter Plus", 2159, 3223},
    {DMPAPER_A4_PLUS, "A4 Plus", 2100, 3300},
    {DMPAPER_A5_TRANSVERSE, "A5 Transverse", 1480, 2100},
    {DMPAPER_B5_TRANSVERSE, "B5 (JIS) Transverse", 1820, 2570},
    {DMPAPER_A3_EXTRA, "A3 Extra", 3220, 4450},
    {DMPAPER_A5_EXTRA, "A5 Extra", 1740, 2350},
    {DMPAPER_B5_EXTRA, "B5 (ISO) Extra", 2010, 2760},
    {DMPAPER_A2, "A2", 4200, 5940},
    {DMPAPER_A3_TRANSVERSE, "A3 Transverse", 2970, 4200},
    {DMPAPER_A3_EXTRA_TRANSVERSE, "A3 Extra Transverse", 3220, 4450},
};

static_assert(std::size(kPapers) == 66);

// 1 mm in hundredths.
constexpr int kTolerance = 100;

}  // namespace

std::span<const PaperSize> PaperSizeTable() { return kPapers; }

const PaperSize* FindPaperSize(int code) {
  for (const PaperSize& p : kPapers)
    if (p.code == code) return &p;
  return nullptr;
}

short PaperCodeForSize(int widthHundredthsMm, int lengthHundredthsMm) {
  const PaperSize* best = nullptr;
  int bestDistance = 0;
  for (const PaperSize& p : kPapers) {
    int dw = std::abs(p.width * 10 - widthHundredthsMm);
    int dl = std::abs(p.length * 10 - lengthHundredthsMm);
    if (dw > kTolerance || dl > kTolerance) continue;
    // The table is in code order, so among equal distances the first wins.
    if (!best || dw + dl < bestDistance) {
      best = &p;
      bestDistance = dw + dl;
    }
  }
  return best ? best->code : DMPAPER_USER;
}

}  // namespace win
