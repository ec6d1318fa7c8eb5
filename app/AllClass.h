// The application's global objects: the settings object with the radio's
// memory image, the channel scratch object and the message texts.
#pragma once

#include <array>
#include <string>

#include "platform/rtl/System.h"

// ---------------------------------------------------------------------------
// Memory image map. The image is 464 bytes; image index = radio address + 16.
//
//   image   radio        bytes  content
//   0-7     -            8      old password (a loaded file puts its header bytes 0-7 here)
//   8-15    -            8      new password
//   16-31   0x000-0x00F  16     carried as is
//   32-287  0x010-0x10F  256    16 channel records of 16 bytes
//   288-303 0x110-0x11F  16     carried as is
//   304-342 0x120-0x146  39     settings block, one byte per setting
//   343     0x147        1      carried as is
//   344-351 0x148-0x14F  8      DTMF BOT code, two digits per byte
//   352-359 0x150-0x157  8      DTMF EOT code
//   360-383 0x158-0x16F  24     carried as is
//   384-391 0x170-0x177  8      identity: 'P', model code (4), band code, 0, 0
//   392-399 0x178-0x17F  8      carried as is
//   400-415 0x180-0x18F  16     serial number, blank-padded
//   416-431 0x190-0x19F  16     write time (7-byte stamp)
//   432-447 0x1A0-0x1AF  16     factory time (7-byte stamp), never written to the radio
//   448-463 0x1B0-0x1BF  16     kept only in the image and in data files

inline constexpr int ImageSize = 464;
inline constexpr int RadioOffset = 16;  // image index of radio address 0

constexpr int ImageIndex(int radioAddress) { return radioAddress + RadioOffset; }

inline constexpr int OldPasswordIndex = 0;
inline constexpr int NewPasswordIndex = 8;
inline constexpr int PasswordLength = 8;

inline constexpr int ChannelRecordSize = 16;
inline constexpr int MaxChannels = 16;
// Channel n (1-based) starts at radio address 16 * n.
constexpr int ChannelRecordIndex(int n) { return ImageIndex(ChannelRecordSize * n); }

inline constexpr int SettingsFirstAddress = 0x120;
inline constexpr int SettingsLastAddress = 0x146;
inline constexpr int BotLengthAddress = 0x145;
inline constexpr int EotLengthAddress = 0x146;
inline constexpr int BotCodeAddress = 0x148;
inline constexpr int EotCodeAddress = 0x150;
inline constexpr int DtmfCodeBytes = 8;

inline constexpr int IdentityAddress = 0x170;
inline constexpr int IdentitySize = 8;
inline constexpr Byte IdentityMarker = 0x50;  // 'P'
inline constexpr int ModelCodeAddress = 0x171;
inline constexpr int ModelCodeLength = 4;
inline constexpr int BandCodeAddress = 0x175;

inline constexpr int SerialNumberAddress = 0x180;
inline constexpr int SerialNumberLength = 16;

inline constexpr int TimeSlotSize = 16;
inline constexpr int TimeStampSize = 7;
inline constexpr int WriteTimeAddress = 0x190;
inline constexpr int FactoryTimeAddress = 0x1A0;

// What the serial sessions and data files cover, as image index ranges.
inline constexpr int ReadFirstIndex = ImageIndex(0x000);
inline constexpr int ReadLastIndex = ImageIndex(0x1AF);   // 432 bytes from the radio
inline constexpr int WriteLastIndex = ImageIndex(0x19F);  // 416 bytes to the radio
inline constexpr int FileImageFirstIndex = ImageIndex(0x000);
inline constexpr int FileImageBytes = ImageSize - RadioOffset;  // 448

using TMemoryImage = std::array<Byte, ImageSize>;

// ---------------------------------------------------------------------------

// The one settings object of the program. Every module reads and writes its
// fields directly; whoever changes image bytes that a window shows refreshes
// that window.
class TALL : public TObject {
  VXN_DECLARE_CLASS(TALL)

 public:
  std::string LangName;
  Integer LangIndex = 0;
  Integer CurrentChannel = 0;
  Integer LinkBaud = 0;
  std::string PortName;
  std::string AppPath;  // with a trailing separator
  std::string WindowTitle;
  Integer ChannelCount = 0;
  std::string ModelName;
  std::string BandText;
  std::string FileDate;  // save time of the last loaded data file; nothing reads it
  Double MaxMHz = 0.0;
  Double MinMHz = 0.0;
  Double BandHigh = 0.0;
  Double BandLow = 0.0;
  std::string ModelCode;
  Integer SideKeys = 0;
  Integer PicNumber = 0;
  Boolean Dirty = false;
  std::string HelpPrefix;
  Boolean TestOnlineVisible = false;
  Boolean SerialEditable = false;
  Boolean NewPasswordOn = false;
  TMemoryImage MemoryImage{};

  // Image byte of a radio address.
  Byte& AtRadio(int radioAddress) { return MemoryImage[ImageIndex(radioAddress)]; }
  Byte AtRadio(int radioAddress) const { return MemoryImage[ImageIndex(radioAddress)]; }
};

// One decoded channel, used as scratch by every view of a channel.
class TChannel : public TObject {
  VXN_DECLARE_CLASS(TChannel)

 public:
  Double RxMHz = -1.0;  // -1.0: no channel
  Double TxMHz = -1.0;  // -1.0: no transmit frequency
  std::string RxTone;   // "88.5", "D023N", "D023I"; empty: none
  std::string TxTone;
  Boolean BusyLock = false;
  Boolean Narrow = false;
  Byte PowerLevel = 0;
  Boolean Compander = false;
  Boolean Scrambler = false;
  Boolean ScanAdd = false;
  Boolean PttId = false;
  Byte Epilogue = 0;

  // Back to the state of a channel that holds nothing.
  void Clear();
};

// The message texts of the current language file, each with its built-in
// English default.
class TLanguage : public TObject {
  VXN_DECLARE_CLASS(TLanguage)

 public:
  TLanguage();

  std::string Confirmation;
  std::string ExitProgram;
  std::string SaveProgram;
  std::string Channel;
  std::string Info;
  std::string OutRange;
  std::string Caution;
  std::string FChBigT;
  std::string Close;
  std::string Open;
  std::string ComError;
  std::string ModError;
  std::string PwdError;
  std::string ClearData;
  std::string Modforce;
  std::string All;
  std::string ErrRange;
  std::string ModelType;
  std::string Frequency;
  std::string ReadOk;
  std::string WriteOk;
  std::string PortError;

  // One row per text: its key in section "Language", its English default
  // and the field. Rows are in the order in which the loader reads them.
  struct TText {
    const char* Key;
    const char* Default;
    std::string TLanguage::*Field;
  };
  static const std::array<TText, 22>& Texts();

  // Every text back to its English default.
  void SetDefaults();
};

// Global references, set by the data module at start (never freed).
extern TALL* ALL;
extern TChannel* ChannelScratch;
extern TLanguage* LangTexts;
