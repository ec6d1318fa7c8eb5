// The one process-wide holder of the locale's formats that the editors need:
// the currency format, the first day of the week, the date and date-time
// edit masks (standard and regular-expression syntax), the display formats
// that go with them and the parsed date and time formats they are built
// from. The locale's values are those of the class library's process-wide
// format settings. A change of the regional settings rebuilds everything and
// tells the listeners; a change of the system time is passed on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/System.h"
#include "platform/win/WinTypes.h"

struct TMessage;

enum TcxDateTimeFormatItemKind : Byte {
  dtiText,
  dtiYear,
  dtiMonth,
  dtiDay,
  dtiHour,
  dtiMinute,
  dtiSecond,
  dtiMSec,
  dtiAMPM,
  dtiDateSeparator,
  dtiTimeSeparator
};
inline constexpr int cxDateTimeFormatItemKindCount = dtiTimeSeparator + 1;

struct TcxDateTimeFormatItem {
  TcxDateTimeFormatItemKind Kind = dtiText;
  // Literal text; the letters of a year, month, day, hour ("12" or "24" in
  // front of them), minute, second or millisecond; the AM/PM marker as
  // written.
  std::string Text;
};

// A date-time format text taken apart into its items. Only the first item of
// each kind is kept (literal texts and separators excepted).
struct TcxDateTimeFormatInfo {
  bool Present[cxDateTimeFormatItemKindCount] = {};
  std::vector<TcxDateTimeFormatItem> Items;

  bool IsPresent(TcxDateTimeFormatItemKind kind) const { return Present[kind]; }
  void Clear();
};

// Which AM/PM marker an item is: "A/P", "AM/PM" or another (the settings'
// own texts).
enum TcxAMPMForm : Byte { ampmAP, ampmAMPM, ampmOther };

struct TcxFormatItemAtPos {
  TcxDateTimeFormatItemKind Kind = dtiText;
  Integer Start = 0;  // from 1
  Integer Width = 0;
  TcxAMPMForm AMPMForm = ampmOther;
};

// Told when the formats changed (after a change of the regional settings).
class IcxFormatControllerListener {
 public:
  virtual ~IcxFormatControllerListener() = default;
  virtual void FormatChanged() = 0;
};

// A listener that also implements this one is told of system time changes.
class IcxFormatControllerListener2 {
 public:
  static constexpr const char* IID = "{5E33A2A7-0C77-415F-A359-112103E54937}";
  virtual ~IcxFormatControllerListener2() = default;
  virtual void TimeChanged() = 0;
};

class TcxFormatController : public TObject {
  VXN_DECLARE_CLASS(TcxFormatController)

 public:
  // The first controller made becomes the global one.
  TcxFormatController();
  ~TcxFormatController() override;

  virtual void HandleSettingMessage(TMessage& Message);
  virtual void AddFormatListener(IcxFormatControllerListener* AListener);
  virtual void RemoveFormatListener(IcxFormatControllerListener* AListener);

  std::string CurrencyFormat() const { return FCurrencyFormat; }
  bool AssignedCurrencyFormat() const { return FAssignedCurrencyFormat; }
  // 0 Sunday .. 6 Saturday.
  Integer StartOfWeek() const { return FStartOfWeek; }
  bool AssignedStartOfWeek() const { return FAssignedStartOfWeek; }
  std::string DateEditFormat() const { return FDateEditFormat; }
  std::string StandardDateEditMask() const { return FStandardDateEditMask; }
  bool AssignedStandardDateEditMask() const { return FAssignedStandardDateEditMask; }
  std::string StandardDateTimeEditMask() const { return FStandardDateTimeEditMask; }
  bool AssignedStandardDateTimeEditMask() const { return FAssignedStandardDateTimeEditMask; }
  std::string DateEditMask() const { return FDateEditMask; }
  std::string RegExprDateEditMask() const { return FRegExprDateEditMask; }
  bool AssignedRegExprDateEditMask() const { return FAssignedRegExprDateEditMask; }
  std::string RegExprDateTimeEditMask() const { return FRegExprDateTimeEditMask; }
  bool AssignedRegExprDateTimeEditMask() const { return FAssignedRegExprDateTimeEditMask; }
  std::string MaskedDateDisplayFormat() const { return FMaskedDateDisplayFormat; }
  std::string MaskedDateTimeDisplayFormat() const { return FMaskedDateTimeDisplayFormat; }
  const TcxDateTimeFormatInfo& DateFormatInfo() const { return FDateFormatInfo; }
  const TcxDateTimeFormatInfo& TimeFormatInfo() const { return FTimeFormatInfo; }
  const TcxDateTimeFormatInfo& DateTimeFormatInfo() const { return FDateTimeFormatInfo; }
  // The class library's own date-time formats instead of the locale's. Here
  // both are the process-wide format settings, and nothing sets it.
  bool UseClassLibraryFormats() const { return FUseClassLibraryFormats; }

  // Null while nobody listens.
  win::HWND Handle() const { return FWindow; }
  Integer ListenerCount() const { return static_cast<Integer>(FListeners.size()); }

  // For the editors' caret logic. Positions count characters from 1.
  static bool FindFormatItemAtPos(const TcxDateTimeFormatInfo& AFormatInfo, Integer APos,
                                  TcxFormatItemAtPos& AItemInfo);
  static Integer FormatItemsTextLength(const TcxDateTimeFormatInfo& AFormatInfo);

  // Rebuilds every format from the process-wide format settings.
  void ReloadFormats();

 private:
  void MainWndProc(TMessage& Message);
  void RebuildDateMasks(bool AWithSmartWords);
  void NotifyFormatChanged();
  void NotifyTimeChanged();

  std::vector<IcxFormatControllerListener*> FListeners;
  win::HWND FWindow = nullptr;
  std::string FCurrencyFormat;
  bool FAssignedCurrencyFormat = false;
  Integer FStartOfWeek = 0;
  bool FAssignedStartOfWeek = false;
  std::string FDateEditFormat;
  std::string FStandardDateEditMask;
  bool FAssignedStandardDateEditMask = false;
  std::string FStandardDateTimeEditMask;
  bool FAssignedStandardDateTimeEditMask = false;
  std::string FDateEditMask;
  std::string FRegExprDateEditMask;
  bool FAssignedRegExprDateEditMask = false;
  std::string FRegExprDateTimeEditMask;
  bool FAssignedRegExprDateTimeEditMask = false;
  std::string FMaskedDateDisplayFormat;
  std::string FMaskedDateTimeDisplayFormat;
  TcxDateTimeFormatInfo FDateFormatInfo;
  TcxDateTimeFormatInfo FTimeFormatInfo;
  TcxDateTimeFormatInfo FDateTimeFormatInfo;
  bool FUseClassLibraryFormats = false;
};

// The global controller, made on first use.
TcxFormatController* FormatController();

// The pieces the controller builds its formats from, each from the
// process-wide format settings.
std::string BuildCurrencyFormat();
// 0 Sunday .. 6 Saturday.
Integer LocaleFirstDayOfWeek();
// The short date format with each lone "d" and "M" doubled.
std::string DateEditFormatText(std::string_view AShortDateFormat);
// An empty text parses "C". Answers false (and an empty description) for a
// format with an era.
bool ParseDateTimeFormat(std::string_view AFormat, TcxDateTimeFormatInfo& AFormatInfo);
enum TcxMaskMode : Byte { mmDate, mmTime, mmDateTime };
std::string StandardMaskOf(const TcxDateTimeFormatInfo& AFormatInfo, TcxMaskMode AMode);
// Only mmDate and mmTime apply: the date items or the time items.
std::string RegExprMaskOf(const TcxDateTimeFormatInfo& AFormatInfo, TcxMaskMode AMode);
std::string DisplayFormatOf(const TcxDateTimeFormatInfo& AFormatInfo);
Integer FormatItemWidth(const TcxDateTimeFormatItem& AItem);
