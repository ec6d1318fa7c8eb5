#include "app/MeMode.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/rtl/Classes.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/IniFiles.h"
#include "app/MacType.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/SystemCalls.h"

// ---------------------------------------------------------------------------
// Locale-free numbers.

const TFormatSettings& RadioFormatSettings() {
  static const TFormatSettings settings = TFormatSettings::English();
  return settings;
}

Double ParseRadioNumber(const std::string& text) { return StrToFloat(text, RadioFormatSettings()); }

std::string FormatRadioNumber(std::string_view pattern, Double value) {
  return FormatFloat(pattern, value, RadioFormatSettings());
}

std::string FormatMHz(Double mhz) { return FormatRadioNumber("0.00000", mhz); }

// ---------------------------------------------------------------------------
// Small byte helpers.

Byte ClampByte(Byte value, Byte minimum, Byte maximum, Byte defaultValue) {
  return (value >= minimum && value <= maximum) ? value : defaultValue;
}

bool TestBit(Byte value, int n) { return n >= 0 && n <= 7 && ((value >> n) & 1) != 0; }

void ChangeBit(Byte& value, int n, bool on) {
  if (n < 0 || n > 7) return;
  if (on)
    value = static_cast<Byte>(value | (1u << n));
  else
    value = static_cast<Byte>(value & ~(1u << n));
}

std::string PrintableChar(Byte value) {
  const bool printable = (value >= 'A' && value <= 'Z') || (value >= 'a' && value <= 'z') ||
                         (value >= '0' && value <= '9');
  return std::string(1, printable ? static_cast<char>(value) : ' ');
}

namespace {

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsHexDigit(char c) { return HexDigitValue(c) >= 0; }

// Two upper-case hexadecimal digits of a byte.
std::string HexPair(Byte b) { return IntToHex(b, 2); }

// A 4-byte BCD frequency (least significant pair first) in 10 Hz units;
// False when a nibble is not a decimal digit.
bool DecodeBcdFrequency(const Byte* bytes, Int64& units) {
  Int64 value = 0;
  for (int i = 3; i >= 0; --i) {
    const int hi = bytes[i] >> 4;
    const int lo = bytes[i] & 0x0F;
    if (hi > 9 || lo > 9) return false;
    value = value * 100 + hi * 10 + lo;
  }
  units = value;
  return true;
}

}  // namespace

Integer HexToInt(const std::string& text) {
  if (text.empty()) throw EConvertError(Format("'%s' is not a valid hexadecimal value", {text}));
  uint32_t value = 0;
  for (char c : text) {
    const int d = HexDigitValue(c);
    if (d < 0) throw EConvertError(Format("'%s' is not a valid hexadecimal value", {text}));
    value = (value << 4) | static_cast<uint32_t>(d);
  }
  return static_cast<Integer>(value);
}

Byte HexToByte(const std::string& text) { return static_cast<Byte>(HexToInt(Copy(text, 1, 2))); }

bool ContainsAnyChar(const std::string& characters, const std::string& text) {
  return text.find_first_of(characters) != std::string::npos;
}

void FillFF(Byte* buffer, int n) {
  if (n >= 0) std::memset(buffer, 0xFF, static_cast<std::size_t>(n) + 1);
}

std::string BytesToText(const Byte* bytes, int n) {
  if (n <= 0) return {};
  return std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n));
}

// ---------------------------------------------------------------------------
// Channel codec.

namespace {

constexpr int RecRxFrequency = 0;
constexpr int RecTxFrequency = 4;
constexpr int RecRxTone = 8;
constexpr int RecTxTone = 10;
constexpr int RecFlags = 12;
constexpr int RecEpilogue = 13;

constexpr int FlagBusyLock = 2;
constexpr int FlagNarrow = 3;
constexpr int FlagScanAdd = 4;
constexpr int FlagCompander = 5;
constexpr int FlagScrambler = 6;
constexpr int FlagPttId = 7;

constexpr Byte DcsNormal = 0x80;
constexpr Byte DcsInverted = 0xC0;

const char* const HexLetters = "ABCDEF";

// 1 for "1", 2 for "2", 0 for anything else, into bits 0-1.
void StoreTwoBitLevel(Byte& target, const std::string& text) {
  const Byte level = text == "1" ? 1 : text == "2" ? 2 : 0;
  target = static_cast<Byte>((target & 0xFC) | level);
}

// The text before the first occurrence of a unit.
std::string CutAtUnit(const std::string& text, const char* unit) {
  const std::size_t p = text.find(unit);
  return p == std::string::npos ? text : text.substr(0, p);
}

// A number formatted with a fixed count of digits; EConvertError when the
// value does not fit them (the original would have sliced a longer text).
std::string FixedDigits(Double value, int digits, const std::string& source) {
  const std::string pattern(static_cast<std::size_t>(digits), '0');
  const std::string text = FormatRadioNumber(pattern, value);
  if (static_cast<int>(text.size()) != digits || !std::all_of(text.begin(), text.end(), IsDecimalDigit))
    throw EConvertError(Format("'%s' is out of range", {source}));
  return text;
}

}  // namespace

bool DecodeChannel(const Byte* record, TChannel& channel) {
  // Mended: a channel never keeps values of the previously decoded one.
  channel.Clear();
  Int64 units = 0;
  if (!DecodeBcdFrequency(record + RecRxFrequency, units)) {
    channel.RxMHz = -1.0;
    return false;
  }
  channel.RxMHz = static_cast<Double>(units) / 100000.0;
  if (DecodeBcdFrequency(record + RecTxFrequency, units))
    channel.TxMHz = static_cast<Double>(units) / 100000.0;
  else
    channel.TxMHz = -1.0;
  channel.RxTone = DecodeTone(record[RecRxTone], record[RecRxTone + 1]);
  channel.TxTone = DecodeTone(record[RecTxTone], record[RecTxTone + 1]);
  const Byte flags = record[RecFlags];
  channel.PowerLevel = ClampByte(flags & 0x03, 0, 2, 2);
  channel.BusyLock = TestBit(flags, FlagBusyLock);
  channel.Narrow = TestBit(flags, FlagNarrow);
  channel.ScanAdd = TestBit(flags, FlagScanAdd);
  channel.Compander = TestBit(flags, FlagCompander);
  channel.Scrambler = TestBit(flags, FlagScrambler);
  channel.PttId = TestBit(flags, FlagPttId);
  channel.Epilogue = ClampByte(record[RecEpilogue] & 0x03, 0, 2, 2);
  return true;
}

void StoreChannelField(int n, int kind, const std::string& text) {
  // Mended: a channel number outside the table would write into other regions.
  if (n < 1 || n > MaxChannels)
    throw ERangeError(Format("Channel %d does not exist", {n}));
  Byte* rec = &ALL->MemoryImage[static_cast<std::size_t>(ChannelRecordIndex(n))];
  switch (kind) {
    case cfRxFrequency: {
      const TFrequencyBytes f = EncodeFrequency(text);
      std::copy(f.begin(), f.end(), rec + RecRxFrequency);
      if (rec[RecRxFrequency] == 0xFF) std::fill(rec + RecTxFrequency, rec + ChannelRecordSize, 0xFF);
      break;
    }
    case cfTxFrequency: {
      const TFrequencyBytes f = EncodeFrequency(text);
      std::copy(f.begin(), f.end(), rec + RecTxFrequency);
      if (rec[RecTxFrequency] == 0xFF) std::fill(rec + RecTxTone, rec + RecTxTone + 2, 0xFF);
      break;
    }
    case cfRxTone: {
      const TToneBytes t = EncodeTone(text);
      std::copy(t.begin(), t.end(), rec + RecRxTone);
      break;
    }
    case cfTxTone: {
      const TToneBytes t = EncodeTone(text);
      std::copy(t.begin(), t.end(), rec + RecTxTone);
      break;
    }
    case cfBusyLock: ChangeBit(rec[RecFlags], FlagBusyLock, text == "1"); break;
    case cfBandwidth: ChangeBit(rec[RecFlags], FlagNarrow, text == "1"); break;
    case cfPower: StoreTwoBitLevel(rec[RecFlags], text); break;
    case cfScanAdd: ChangeBit(rec[RecFlags], FlagScanAdd, text == "1"); break;
    case cfCompander: ChangeBit(rec[RecFlags], FlagCompander, text == "1"); break;
    case cfScrambler: ChangeBit(rec[RecFlags], FlagScrambler, text == "1"); break;
    case cfPttId: ChangeBit(rec[RecFlags], FlagPttId, text == "1"); break;
    case cfEpilogue: StoreTwoBitLevel(rec[RecEpilogue], text); break;
    default: break;  // cfNone and unknown kinds write nothing
  }
}

TFrequencyBytes EncodeFrequency(const std::string& text) {
  const std::string number = CutAtUnit(text, "MHz");
  if (number.empty()) return {0xFF, 0xFF, 0xFF, 0xFF};
  const std::string d = FixedDigits(ParseRadioNumber(number) * 100000.0, 8, text);
  return {HexToByte(d.substr(6, 2)), HexToByte(d.substr(4, 2)), HexToByte(d.substr(2, 2)),
          HexToByte(d.substr(0, 2))};
}

TToneBytes EncodeTone(const std::string& text) {
  const std::string t = CutAtUnit(text, "Hz");
  if (t.empty()) return {0xFF, 0xFF};
  if (t[0] == 'D') {
    // The code digits are read as hexadecimal digits, so that every text that
    // DecodeTone makes from a radio's bytes gives back exactly those bytes.
    const char polarity = t.size() >= 5 ? t[4] : '\0';
    const bool normal = polarity == 'N' || polarity == 'n';
    const bool inverted = polarity == 'I' || polarity == 'i';
    if (t.size() < 5 || !IsHexDigit(t[1]) || !IsHexDigit(t[2]) || !IsHexDigit(t[3]) ||
        !(normal || inverted))
      throw EConvertError(Format("'%s' is not a valid tone", {text}));
    const Byte b0 = HexToByte(t.substr(2, 2));
    const Byte b1 = static_cast<Byte>((normal ? DcsNormal : DcsInverted) + HexDigitValue(t[1]));
    return {b0, b1};
  }
  const std::string d = FixedDigits(ParseRadioNumber(t) * 10.0, 4, text);
  return {HexToByte(d.substr(2, 2)), HexToByte(d.substr(0, 2))};
}

std::string DecodeTone(Byte b0, Byte b1) {
  if (b0 == 0xFF && b1 == 0xFF) return {};
  const std::string t = HexPair(b1) + HexPair(b0);
  if (t[0] == '8') return "D" + t.substr(1, 3) + "N";
  if (t[0] == 'C') return "D" + t.substr(1, 3) + "I";
  if (ContainsAnyChar(HexLetters, t)) return {};
  const int tenths = std::stoi(t);
  return IntToStr(tenths / 10) + "." + IntToStr(tenths % 10);
}

Double SnapFrequency(Double mhz) {
  const Int64 a = StrToInt64(FormatRadioNumber("00000000", mhz * 100000.0));
  const Int64 r5 = a % 500;
  const Int64 r6 = a % 625;
  if (r5 == 0 || r6 == 0) return mhz;
  return static_cast<Double>(a - std::min(r5, r6)) / 100000.0;
}

std::string NormalizeToneText(const std::string& text) {
  if (text.empty()) return {};
  if (text[0] >= '0' && text[0] <= '9') {
    Extended value = 0.0;
    if (!TryStrToFloat(text, value, RadioFormatSettings())) return "290.0";
    value = std::clamp(value, 30.0, 290.0);
    return FormatRadioNumber("0.0", value);
  }
  const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
  if (text.size() == 5 && text[0] == 'D' && isOctal(text[1]) && isOctal(text[2]) &&
      isOctal(text[3]) && std::strchr("INin", text[4]) != nullptr)
    return text;
  return "D777N";
}

// ---------------------------------------------------------------------------
// Fresh image, identity and settings.

const std::vector<TSettingClamp>& SettingClamps() {
  static const std::vector<TSettingClamp> table{
      {0x120, 15, 8},   // volume
      {0x121, 15, 8},   // FM radio volume
      {0x122, 1, 1},    // FM radio function
      {0x123, 255, 0},  // (carried)
      {0x124, 255, 0},  // (carried)
      {0x125, 3, 1},    // voice prompt
      {0x126, 1, 1},    // key tone
      {0x127, 9, 5},    // squelch level
      {0x128, 30, 12},  // transmit time-out
      {0x129, 2, 1},    // (carried)
      {0x12A, 4, 4},    // battery save
      {0x12B, 1, 1},    // incept alarm
      {0x12C, 10, 5},   // 1750 Hz tone time
      {0x12D, 17, 9},   // VOX gain level
      {0x12E, 4, 1},    // VOX delay time
      {0x12F, 1, 1},    // VOX inhibit on receive
      {0x130, 2, 0},    // scan mode
      {0x131, 9, 0},    // scan speed
      {0x132, 27, 12},  // scan dropout delay time
      {0x133, 16, 0},   // priority channel
      {0x134, 1, 0},    // whisper
      {0x135, 1, 0},    // channel voice
      {0x136, 3, 3},    // transmit inhibit
      {0x137, 4, 3},    // long-press time
      {0x138, 10, 3},   // key 1 short press
      {0x139, 12, 2},   // key 1 long press
      {0x13A, 10, 2},   // key 2 short press
      {0x13B, 12, 8},   // key 2 long press
      {0x13C, 10, 6},   // top key short press
      {0x13D, 11, 5},   // top key long press
      {0x13E, 255, 0},  // (carried)
      {0x13F, 255, 0},  // (carried)
      {0x140, 11, 2},   // DTMF speed
      {0x141, 20, 0},   // DTMF first digit time
      {0x142, 18, 0},   // DTMF first digit delay
      {0x143, 1, 1},    // DTMF side tone
      {0x144, 2, 0},    // PTT ID mode
      {0x145, 16, 0},   // BOT code length
      {0x146, 16, 0},   // EOT code length
  };
  return table;
}

void StampModelId() {
  ALL->AtRadio(IdentityAddress + 7) = 0x00;
  ALL->AtRadio(IdentityAddress + 6) = 0x00;
  ALL->AtRadio(BandCodeAddress) = static_cast<Byte>(FrqList->CodeOf(ALL->BandText));
  const std::string& code = ALL->ModelCode;
  for (int i = 0; i < ModelCodeLength; ++i)
    ALL->AtRadio(ModelCodeAddress + i) =
        i < static_cast<int>(code.size()) ? static_cast<Byte>(code[static_cast<std::size_t>(i)]) : 0;
  ALL->AtRadio(IdentityAddress) = IdentityMarker;
}

void ValidateSettings() {
  for (const TSettingClamp& row : SettingClamps())
    ALL->AtRadio(row.Address) = ClampByte(ALL->AtRadio(row.Address), 0, row.Maximum, row.Default);
  ALL->AtRadio(BandCodeAddress) = static_cast<Byte>(FrqList->CodeOf(ALL->BandText));
}

void InitMemoryImage() {
  std::fill(ALL->MemoryImage.begin() + ReadFirstIndex, ALL->MemoryImage.begin() + ReadLastIndex + 1,
            0xFF);
  ALL->NewPasswordOn = false;
  StampModelId();
  EncodeDateTime7(&ALL->AtRadio(WriteTimeAddress), CurrentTimeText());
  // The default BOT code is the six digits 1 2 3 4 5 6.
  ALL->AtRadio(BotLengthAddress) = 6;
  ALL->AtRadio(BotCodeAddress) = 0x12;
  ALL->AtRadio(BotCodeAddress + 1) = 0x34;
  ALL->AtRadio(BotCodeAddress + 2) = 0x56;
  ValidateSettings();
}

namespace {

// The decimal number at 1-based characters [index, index + count).
Integer NumberAt(const std::string& text, Integer index, Integer count) {
  const std::string part = Copy(text, index, count);
  if (part.empty() || !std::all_of(part.begin(), part.end(), IsDecimalDigit))
    throw EConvertError(Format("'%s' is not a valid date and time", {text}));
  return StrToInt(part);
}

std::string TwoDigits(int value) { return value < 10 ? "0" + IntToStr(value) : IntToStr(value); }

}  // namespace

void EncodeDateTime7(Byte* destination, const std::string& text) {
  const Integer year = NumberAt(text, 1, 4);
  const Integer month = NumberAt(text, 6, 2);
  const Integer day = NumberAt(text, 9, 2);
  const Integer hour = NumberAt(text, 12, 2);
  const Integer minute = NumberAt(text, 15, 2);
  const Integer second = NumberAt(text, 18, 2);
  destination[0] = static_cast<Byte>(year % 256);
  destination[1] = static_cast<Byte>(year / 256);
  destination[2] = static_cast<Byte>(month);
  destination[3] = static_cast<Byte>(day);
  destination[4] = static_cast<Byte>(hour);
  destination[5] = static_cast<Byte>(minute);
  destination[6] = static_cast<Byte>(second);
}

std::string DecodeDateTime7(const Byte* slot) {
  if (std::all_of(slot, slot + TimeSlotSize, [](Byte b) { return b == 0xFF; })) return {};
  const int year = slot[0] | (slot[1] << 8);
  return IntToStr(year) + "-" + TwoDigits(slot[2]) + "-" + TwoDigits(slot[3]) + " " +
         TwoDigits(slot[4]) + ":" + TwoDigits(slot[5]) + ":" + TwoDigits(slot[6]);
}

std::string CurrentTimeText() {
  // Built by hand: FormatDateTime would print the locale's time separator.
  Word year, month, day, hour, minute, second, msec;
  DecodeDateTime(Now(), year, month, day, hour, minute, second, msec);
  return IntToStr(year) + "-" + TwoDigits(month) + "-" + TwoDigits(day) + " " + TwoDigits(hour) +
         ":" + TwoDigits(minute) + ":" + TwoDigits(second);
}

// ---------------------------------------------------------------------------
// Data file.

namespace {

constexpr int HeaderModel = 0;
constexpr int HeaderModelLength = 5;
constexpr int HeaderBand = 5;
constexpr int HeaderYear = 8;
constexpr int HeaderMonth = 10;

}  // namespace

void BuildFileHeader(Byte* buffer, const std::string& modelText, const std::string& saveTime,
                     const std::string& bandDigits) {
  FillFF(buffer, FileHeaderSize - 1);
  const std::string model = Copy(modelText + std::string(8, ' '), 1, HeaderModelLength);
  std::memcpy(buffer + HeaderModel, model.data(), HeaderModelLength);
  for (int i = 0; i < 3; ++i) buffer[HeaderBand + i] = HexToByte(Copy(bandDigits, 2 * i + 1, 2));
  const Integer year = NumberAt(saveTime, 1, 4);
  buffer[HeaderYear] = static_cast<Byte>(year & 0xFF);
  buffer[HeaderYear + 1] = static_cast<Byte>(year >> 8);
  buffer[HeaderMonth] = static_cast<Byte>(NumberAt(saveTime, 6, 2));
  buffer[HeaderMonth + 1] = static_cast<Byte>(NumberAt(saveTime, 9, 2));
  buffer[HeaderMonth + 2] = static_cast<Byte>(NumberAt(saveTime, 12, 2));
  buffer[HeaderMonth + 3] = static_cast<Byte>(NumberAt(saveTime, 15, 2));
}

void ParseFileHeader(const Byte* header, std::string& modelText, std::string& saveTime,
                     std::string& bandDigits) {
  modelText = BytesToText(header + HeaderModel, HeaderModelLength);
  bandDigits = HexPair(header[HeaderBand]) + HexPair(header[HeaderBand + 1]) +
               HexPair(header[HeaderBand + 2]);
  const int year = header[HeaderYear] | (header[HeaderYear + 1] << 8);
  saveTime = IntToStr(year) + "-" + TwoDigits(header[HeaderMonth]) + "-" +
             TwoDigits(header[HeaderMonth + 1]) + " " + TwoDigits(header[HeaderMonth + 2]) + ":" +
             TwoDigits(header[HeaderMonth + 3]);
}

TDataFileLoad LoadDataFileBytes(const Byte* data, std::size_t size) {
  // Mended: everything is checked before the image, model or band change, so
  // a short or foreign file never half-loads.
  if (size < static_cast<std::size_t>(DataFileSize)) return TDataFileLoad::Incomplete;
  std::string modelText, saveTime, bandDigits;
  ParseFileHeader(data, modelText, saveTime, bandDigits);
  const std::string modelCode = Trim(Copy(modelText, 2, Length(modelText)));
  if (MacList->ChannelCountOfCode(modelCode) == 0) return TDataFileLoad::UnknownModel;

  ALL->FileDate = saveTime;
  // The header's limits are only a hint (SelectModel below replaces them);
  // limits that are not decimal digits are skipped rather than failing the load.
  Integer low = 0, high = 0;
  if (TryStrToInt(Copy(bandDigits, 1, 3), low) && TryStrToInt(Copy(bandDigits, 4, 3), high) &&
      std::all_of(bandDigits.begin(), bandDigits.end(), IsDecimalDigit)) {
    ALL->BandLow = low;
    ALL->BandHigh = high;
  }
  std::copy(data + FileHeaderSize, data + DataFileSize,
            ALL->MemoryImage.begin() + FileImageFirstIndex);
  std::copy(data, data + PasswordLength, ALL->MemoryImage.begin() + OldPasswordIndex);
  SelectModel(modelCode, ALL->AtRadio(BandCodeAddress), true);
  ValidateSettings();
  ALL->Dirty = false;
  return TDataFileLoad::Loaded;
}

TDataFileResult ReadDataFile(const std::string& fileName) {
  // Mended: only a regular file is opened; a FIFO or device would block the
  // open or the reads for as long as nobody writes to it.
  struct stat status;
  if (sys::PathStatus(fileName, status) && !S_ISREG(status.st_mode))
    throw EFOpenError(Format(SFOpenErrorEx, {fileName, std::string("Not a regular file")}));
  std::array<Byte, DataFileSize> data{};
  std::size_t size = 0;
  {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    while (size < data.size()) {
      const Int64 n = file.Read(data.data() + size, static_cast<Int64>(data.size() - size));
      if (n <= 0) break;
      size += static_cast<std::size_t>(n);
    }
  }
  TDataFileResult result;
  result.Status = LoadDataFileBytes(data.data(), size);
  if (result.Status == TDataFileLoad::Incomplete)
    result.Message = Format("Cannot read file \"%s\": not a complete data file", {fileName});
  return result;
}

std::array<Byte, DataFileSize> BuildDataFileBytes() {
  std::array<Byte, DataFileSize> data{};
  const std::string bandDigits =
      FormatRadioNumber("000", ALL->BandLow) + FormatRadioNumber("000", ALL->BandHigh);
  const std::string saveTime = Copy(CurrentTimeText(), 1, 16);  // "yyyy-MM-dd HH:mm"
  BuildFileHeader(data.data(), "P" + ALL->ModelCode, saveTime, bandDigits);
  std::copy(ALL->MemoryImage.begin() + FileImageFirstIndex, ALL->MemoryImage.end(),
            data.begin() + FileHeaderSize);
  return data;
}

void WriteDataFile(const std::string& fileName) {
  // Mended: a temporary file renamed over the target, so a failed save
  // leaves the previous file whole.
  const std::array<Byte, DataFileSize> data = BuildDataFileBytes();
  ReplaceFileAtomically(fileName,
                        std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
  ALL->Dirty = false;
}

// ---------------------------------------------------------------------------
// Settings file and language files.

namespace {

const char* const SysInfoFileName = "SysInfo.Ini";
const char* const SysInfoSection = "SysInfo";
const char* const LanguageSection = "Language";
const char* const DefaultLanguageList = "Chinese|English";
const char* const DefaultDisplayNames = "中文|英文";

std::string ProgramSysInfoPath() { return ALL->AppPath + SysInfoFileName; }
std::string UserSysInfoPath() { return UserConfigFolder() + SysInfoFileName; }

// A file that exists but cannot be read counts as missing: the program must
// start with its defaults rather than fail before its first window.
std::unique_ptr<TMemIniFile> OpenForReading(const std::string& fileName) {
  try {
    return std::make_unique<TMemIniFile>(fileName);
  } catch (const Exception&) {
    return std::make_unique<TMemIniFile>(std::string());
  }
}

}  // namespace

std::string UserConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && home[0] ? home : "/tmp") + "/.config";
  }
  return IncludeTrailingPathDelimiter(base) + "vxn/";
}

std::string SysInfoReadPath() {
  const std::string user = UserSysInfoPath();
  return FileExists(user) ? user : ProgramSysInfoPath();
}

std::string SysInfoSavePath() {
  const std::string user = UserSysInfoPath();
  if (FileExists(user)) return user;
  const std::string folder = ALL->AppPath.empty() ? std::string(".") : ALL->AppPath;
  if (access(folder.c_str(), W_OK) == 0) return ProgramSysInfoPath();
  return user;
}

std::vector<std::string> SplitLanguageList(const std::string& text) {
  std::vector<std::string> entries;
  if (text.empty()) return entries;
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = text.find('|', start);
    if (bar == std::string::npos) {
      entries.push_back(text.substr(start));
      return entries;
    }
    entries.push_back(text.substr(start, bar - start));
    start = bar + 1;
  }
}

void LoadSysInfo() {
  const auto ini = OpenForReading(SysInfoReadPath());
  ALL->PortName = ini->ReadString(SysInfoSection, "Com", "Com1");
  ALL->LangIndex = ini->ReadInteger(SysInfoSection, "DefaultLanguage", 0);
  ALL->HelpPrefix = ini->ReadString(SysInfoSection, "Help", "VXN");
  // Wraps rather than overflows; saving subtracts the 1 again.
  ALL->PicNumber = static_cast<Integer>(
      static_cast<uint32_t>(ini->ReadInteger(SysInfoSection, "PicID", 0)) + 1u);
  const std::vector<std::string> languages =
      SplitLanguageList(ini->ReadString(SysInfoSection, LanguageSection, DefaultLanguageList));
  const Integer i = ALL->LangIndex;
  ALL->LangName = (i >= 0 && static_cast<std::size_t>(i) < languages.size())
                      ? languages[static_cast<std::size_t>(i)]
                      : std::string();
}

bool SaveSysInfo(std::string* errorText) {
  try {
    const std::string path = SysInfoSavePath();
    TMemIniFile ini(path);
    if (path != ProgramSysInfoPath() && !FileExists(path)) {
      // The first save into the user's folder starts from the installed file,
      // so that its language lists stay visible.
      if (!ForceDirectories(ExtractFileDir(path)))
        throw EFCreateError(Format(SFCreateErrorEx, {path, "The folder cannot be created."}));
      if (FileExists(ProgramSysInfoPath())) {
        TStringList lines;
        OpenForReading(ProgramSysInfoPath())->GetStrings(lines);
        ini.SetStrings(lines);
      }
    }
    ini.WriteString(SysInfoSection, "Com", ALL->PortName);
    ini.WriteInteger(SysInfoSection, "DefaultLanguage", ALL->LangIndex);
    ini.WriteInteger(SysInfoSection, "PicID",
                     static_cast<Integer>(static_cast<uint32_t>(ALL->PicNumber) - 1u));
    ini.UpdateFile();
    return true;
  } catch (const std::exception& e) {
    if (errorText) *errorText = e.what();
    return false;
  }
}

std::string LanguageFilePath(const std::string& languageName) {
  return ALL->AppPath + languageName + ".Ini";
}

void LoadLanguageTexts(const std::string& languageName) {
  const auto ini = OpenForReading(LanguageFilePath(languageName));
  for (const TLanguage::TText& t : TLanguage::Texts())
    LangTexts->*t.Field = ini->ReadString(LanguageSection, t.Key, t.Default);
}

void LoadLanguageList(TStrings& displayNames, TStrings& fileNames) {
  const auto ini = OpenForReading(SysInfoReadPath());
  fileNames.AddStrings(
      SplitLanguageList(ini->ReadString(SysInfoSection, LanguageSection, DefaultLanguageList)));
  displayNames.AddStrings(
      SplitLanguageList(ini->ReadString(SysInfoSection, ALL->LangName, DefaultDisplayNames)));
}
