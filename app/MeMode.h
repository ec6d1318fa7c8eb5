// The radio application's codecs and files: byte helpers, channels and tones,
// the fresh image with its identity and settings validation, time stamps, the
// data file and the settings and language files. No window is involved; the
// windows call these routines and refresh themselves.
//
// Radio data never depend on the locale: frequencies, tones, band limits and
// time stamps are read and written with '.' and fixed formats.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/AllClass.h"

class TStrings;
struct TFormatSettings;

// ---------------------------------------------------------------------------
// Locale-free numbers.

// Fixed settings for radio data ('.' as decimal separator, whatever the locale).
const TFormatSettings& RadioFormatSettings();
// The text as a decimal number with '.'; EConvertError when it is none.
Double ParseRadioNumber(const std::string& text);
// FormatFloat with the radio settings ("00000000", "0.00000", "0.0").
std::string FormatRadioNumber(std::string_view pattern, Double value);

// ---------------------------------------------------------------------------
// Small byte helpers.

// value when minimum <= value <= maximum, else the default.
Byte ClampByte(Byte value, Byte minimum, Byte maximum, Byte defaultValue);
bool TestBit(Byte value, int n);
void ChangeBit(Byte& value, int n, bool on);
// The byte as a one-character text when it is an ASCII letter or digit, else a blank.
std::string PrintableChar(Byte value);
// Hexadecimal digits (either case) as a number; EConvertError for any other text.
Integer HexToInt(const std::string& text);
// The first two characters as one hexadecimal byte.
Byte HexToByte(const std::string& text);
bool ContainsAnyChar(const std::string& characters, const std::string& text);
// Sets n + 1 bytes.
void FillFF(Byte* buffer, int n);
// n characters, one per byte.
std::string BytesToText(const Byte* bytes, int n);

// ---------------------------------------------------------------------------
// Channel codec.
//
// Channel record, 16 bytes:
//   0-3   receive frequency, 8 BCD digits in 10 Hz, least significant pair first; FF: no channel
//   4-7   transmit frequency, same; FF: none
//   8-9   receive tone      10-11 transmit tone (tone coding below)
//   12    flags: bits 0-1 power, 2 busy lock, 3 narrow, 4 scan add, 5 compander,
//         6 scrambler, 7 PTT ID
//   13    bits 0-1 epilogue, bits 2-7 kept
//   14-15 carried; FF when the channel is cleared
//
// Tone, two bytes b0 b1:
//   CTCSS f Hz: f * 10 as 4 BCD digits d1d2d3d4; b0 = d3d4, b1 = d1d2   (88.5 -> 85 08)
//   DCS Dxyz:   b0 = yz as BCD; b1 = 0x80 + x (N) or 0xC0 + x (I)       (D023N -> 23 80)
//   none:       FF FF

// Field kinds of StoreChannelField.
enum TChannelField : int {
  cfRxFrequency = 0,
  cfTxFrequency = 1,
  cfRxTone = 2,
  cfTxTone = 3,
  cfBusyLock = 4,
  cfNone = 5,
  cfBandwidth = 6,
  cfPower = 7,
  cfScanAdd = 8,
  cfCompander = 9,
  cfScrambler = 10,
  cfPttId = 11,
  cfEpilogue = 12,
};

using TFrequencyBytes = std::array<Byte, 4>;
using TToneBytes = std::array<Byte, 2>;

// Fills the channel from a 16-byte record; False when it has no receive
// frequency. Every call starts from a cleared channel.
bool DecodeChannel(const Byte* record, TChannel& channel);
// Writes one field of channel n (1-16) into the image. Neither sets the dirty
// flag nor refreshes a window.
void StoreChannelField(int n, int kind, const std::string& text);
// "446.00625" (optionally followed by "MHz") into the record's 4 bytes; an
// empty text gives FF FF FF FF.
TFrequencyBytes EncodeFrequency(const std::string& text);
// "88.5", "D023N" (optionally followed by "Hz") into 2 bytes; empty gives FF FF.
TToneBytes EncodeTone(const std::string& text);
std::string DecodeTone(Byte b0, Byte b1);
// Moves a frequency down onto the nearer of the 5 kHz and 6.25 kHz rasters.
Double SnapFrequency(Double mhz);
// Checks and repairs a typed tone text.
std::string NormalizeToneText(const std::string& text);
// The windows' texts of a frequency ("0.00000") and a CTCSS tone ("0.0").
std::string FormatMHz(Double mhz);

// ---------------------------------------------------------------------------
// Fresh image, identity and settings.

// A fresh image for the current model and band.
void InitMemoryImage();
// The identity block of the current model and band.
void StampModelId();
// Forces every settings byte into its range, then makes the band code follow
// the current band text. Leaves the dirty flag alone.
void ValidateSettings();

// One row of the settings clamp table: valid range 0..Maximum.
struct TSettingClamp {
  int Address;
  Byte Maximum;
  Byte Default;
};
const std::vector<TSettingClamp>& SettingClamps();

// 7-byte time stamp: year (low byte first), month, day, hour, minute, second, all binary.
// "yyyy-MM-dd HH:mm:ss" into 7 bytes; EConvertError when the text is not in the pattern.
void EncodeDateTime7(Byte* destination, const std::string& text);
// A 16-byte slot as "yyyy-MM-dd HH:mm:ss"; empty when all 16 bytes are FF.
std::string DecodeDateTime7(const Byte* slot);
// The clock's local time as "yyyy-MM-dd HH:mm:ss".
std::string CurrentTimeText();

// ---------------------------------------------------------------------------
// Data file: a 16-byte header and image bytes 16-463.
//
//   offset size
//   0      5    'P' + model code, blank-padded
//   5      3    band limits: 3 + 3 decimal digits (whole MHz) as BCD, 450/470 -> 45 04 70
//   8      2    save year, low byte first
//   10     4    save month, day, hour, minute (binary)
//   14     2    FF FF
//   16     448  image bytes 16-463

inline constexpr int FileHeaderSize = 16;
inline constexpr int DataFileSize = FileHeaderSize + FileImageBytes;  // 464

void BuildFileHeader(Byte* buffer, const std::string& modelText, const std::string& saveTime,
                     const std::string& bandDigits);
void ParseFileHeader(const Byte* header, std::string& modelText, std::string& saveTime,
                     std::string& bandDigits);

enum class TDataFileLoad {
  Loaded,
  UnknownModel,  // the header names no known model; nothing changed
  Incomplete,    // fewer than 464 bytes; nothing changed
};

// Makes the file's bytes the current image, model and band (the header is
// checked before anything changes). Bytes beyond 464 are ignored.
TDataFileLoad LoadDataFileBytes(const Byte* data, std::size_t size);

struct TDataFileResult {
  TDataFileLoad Status = TDataFileLoad::Loaded;
  std::string Message;  // for Incomplete: the file error to show, naming the file
};

// The file's 464 bytes for the current image, model and band, saved now.
std::array<Byte, DataFileSize> BuildDataFileBytes();

// Reads a data file into the image; a file that cannot be opened or read
// raises the stream error.
TDataFileResult ReadDataFile(const std::string& fileName);
// Writes the image to a data file through a temporary file, so that a failed
// save leaves the previous file as it was; clears the dirty flag.
void WriteDataFile(const std::string& fileName);

// ---------------------------------------------------------------------------
// Settings file and language files.

// Where SysInfo.Ini is read: the user's copy when it exists, else the program folder's.
std::string SysInfoReadPath();
// Where it is saved: the user's copy when it exists, else the program folder
// when writable, else the user's config folder.
std::string SysInfoSavePath();
// $XDG_CONFIG_HOME/vxn/ (or ~/.config/vxn/), with a trailing separator.
std::string UserConfigFolder();

void LoadSysInfo();
// Writes "Com", "DefaultLanguage" and "PicID". Never raises: a failure comes
// back as False with the text to show once.
bool SaveSysInfo(std::string* errorText = nullptr);

// The language file of a language: the program folder, the name and ".Ini".
std::string LanguageFilePath(const std::string& languageName);
void LoadLanguageTexts(const std::string& languageName);
// Appends the "Language" entries to fileNames and the entries of the key
// named after the current language to displayNames.
void LoadLanguageList(TStrings& displayNames, TStrings& fileNames);
// Splits at every "|"; an empty text gives no entry.
std::vector<std::string> SplitLanguageList(const std::string& text);
