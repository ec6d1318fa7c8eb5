// Paper codes (DMPAPER_*) with their names and sizes, and the mapping
// between a print system's media sizes and these codes.
#pragma once

#include <span>
#include <string>

#include "platform/win/WinTypes.h"

namespace win {

constexpr short DMPAPER_LETTER = 1;
constexpr short DMPAPER_LETTERSMALL = 2;
constexpr short DMPAPER_TABLOID = 3;
constexpr short DMPAPER_LEDGER = 4;
constexpr short DMPAPER_LEGAL = 5;
constexpr short DMPAPER_STATEMENT = 6;
constexpr short DMPAPER_EXECUTIVE = 7;
constexpr short DMPAPER_A3 = 8;
constexpr short DMPAPER_A4 = 9;
constexpr short DMPAPER_A4SMALL = 10;
constexpr short DMPAPER_A5 = 11;
constexpr short DMPAPER_B4 = 12;
constexpr short DMPAPER_B5 = 13;
constexpr short DMPAPER_FOLIO = 14;
constexpr short DMPAPER_QUARTO = 15;
constexpr short DMPAPER_10X14 = 16;
constexpr short DMPAPER_11X17 = 17;
constexpr short DMPAPER_NOTE = 18;
constexpr short DMPAPER_ENV_9 = 19;
constexpr short DMPAPER_ENV_10 = 20;
constexpr short DMPAPER_ENV_11 = 21;
constexpr short DMPAPER_ENV_12 = 22;
constexpr short DMPAPER_ENV_14 = 23;
constexpr short DMPAPER_CSHEET = 24;
constexpr short DMPAPER_DSHEET = 25;
constexpr short DMPAPER_ESHEET = 26;
constexpr short DMPAPER_ENV_DL = 27;
constexpr short DMPAPER_ENV_C5 = 28;
constexpr short DMPAPER_ENV_C3 = 29;
constexpr short DMPAPER_ENV_C4 = 30;
constexpr short DMPAPER_ENV_C6 = 31;
constexpr short DMPAPER_ENV_C65 = 32;
constexpr short DMPAPER_ENV_B4 = 33;
constexpr short DMPAPER_ENV_B5 = 34;
constexpr short DMPAPER_ENV_B6 = 35;
constexpr short DMPAPER_ENV_ITALY = 36;
constexpr short DMPAPER_ENV_MONARCH = 37;
constexpr short DMPAPER_ENV_PERSONAL = 38;
constexpr short DMPAPER_FANFOLD_US = 39;
constexpr short DMPAPER_FANFOLD_STD_GERMAN = 40;
constexpr short DMPAPER_FANFOLD_LGL_GERMAN = 41;
constexpr short DMPAPER_ISO_B4 = 42;
constexpr short DMPAPER_JAPANESE_POSTCARD = 43;
constexpr short DMPAPER_9X11 = 44;
constexpr short DMPAPER_10X11 = 45;
constexpr short DMPAPER_15X11 = 46;
constexpr short DMPAPER_ENV_INVITE = 47;
constexpr short DMPAPER_LETTER_EXTRA = 50;
constexpr short DMPAPER_LEGAL_EXTRA = 51;
constexpr short DMPAPER_TABLOID_EXTRA = 52;
constexpr short DMPAPER_A4_EXTRA = 53;
constexpr short DMPAPER_LETTER_TRANSVERSE = 54;
constexpr short DMPAPER_A4_TRANSVERSE = 55;
constexpr short DMPAPER_LETTER_EXTRA_TRANSVERSE = 56;
constexpr short DMPAPER_A_PLUS = 57;
constexpr short DMPAPER_B_PLUS = 58;
constexpr short DMPAPER_LETTER_PLUS = 59;
constexpr short DMPAPER_A4_PLUS = 60;
constexpr short DMPAPER_A5_TRANSVERSE = 61;
constexpr short DMPAPER_B5_TRANSVERSE = 62;
constexpr short DMPAPER_A3_EXTRA = 63;
constexpr short DMPAPER_A5_EXTRA = 64;
constexpr short DMPAPER_B5_EXTRA = 65;
constexpr short DMPAPER_A2 = 66;
constexpr short DMPAPER_A3_TRANSVERSE = 67;
constexpr short DMPAPER_A3_EXTRA_TRANSVERSE = 68;
// A size of the caller's own, given by width and length.
constexpr short DMPAPER_USER = 256;

// One paper of the table; width and length in tenths of a millimetre as the
// paper is fed (the transverse and landscape entries are wider than long).
struct PaperSize {
  short code;
  const char* name;
  int width;
  int length;
};

// The 66 standard papers (codes 1 to 47 and 50 to 68), in code order.
std::span<const PaperSize> PaperSizeTable();
// The entry of a code, or null for 256 and for codes the table lacks.
const PaperSize* FindPaperSize(int code);

// The code of a size given in hundredths of a millimetre: the table entry
// whose width and length both lie within 1 mm of it (the closest one when
// several do, the lowest code among equals), else DMPAPER_USER. Sizes are
// compared as given, not turned.
short PaperCodeForSize(int widthHundredthsMm, int lengthHundredthsMm);

}  // namespace win
