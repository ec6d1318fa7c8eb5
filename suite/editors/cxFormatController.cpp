#include "suite/editors/cxFormatController.h"

#include <algorithm>
#include <cctype>

#include "platform/forms/Forms.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/SysParams.h"
#include "platform/win/WinUser.h"
#include "suite/editors/cxDateUtils.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TcxFormatController, TObject)

namespace {

TcxFormatController* gFormatController = nullptr;

Integer CharCount(std::string_view s) { return static_cast<Integer>(Utf8CharCount(s)); }

Integer LongerAMPMLength() {
  const TFormatSettings& fs = DefaultFormatSettings();
  return std::max(CharCount(fs.TimeAMString), CharCount(fs.TimePMString));
}

TcxAMPMForm AMPMFormOf(std::string_view text) {
  if (SameText(text, "A/P")) return ampmAP;
  if (SameText(text, "AM/PM")) return ampmAMPM;
  return ampmOther;
}

bool StartsWithText(std::string_view s, size_t pos, std::string_view prefix) {
  return s.size() - pos >= prefix.size() && SameText(s.substr(pos, prefix.size()), prefix);
}

// Formats parsed in place (C, DDDDD, T ...) may nest this deep.
constexpr int kMaxNesting = 2;

class FormatParser {
 public:
  explicit FormatParser(TcxDateTimeFormatInfo& info) : info_(info), fs_(DefaultFormatSettings()) {}

  bool Failed() const { return failed_; }

  void Parse(std::string_view s, int level) {
    size_t i = 0;
    while (i < s.size() && !failed_) {
      const auto c = static_cast<unsigned char>(s[i]);
      if (c >= 0x80) {
        const size_t n = std::max<size_t>(1, Utf8CharLength(s, i));
        AddText(s.substr(i, n));
        i += n;
        continue;
      }
      if (c == '\'' || c == '"') {
        size_t end = s.find(static_cast<char>(c), i + 1);
        if (end == std::string_view::npos) end = s.size();
        AddText(s.substr(i + 1, end - i - 1));
        i = std::min(end + 1, s.size());
        continue;
      }
      if (c == '/') {
        Add(dtiDateSeparator, "/");
        ++i;
        continue;
      }
      if (c == ':') {
        Add(dtiTimeSeparator, ":");
        ++i;
        continue;
      }
      if (!std::isalpha(c)) {
        AddText(s.substr(i, 1));
        ++i;
        continue;
      }
      const char letter = static_cast<char>(std::toupper(c));
      size_t run = 1;
      while (i + run < s.size() && std::toupper(static_cast<unsigned char>(s[i + run])) == letter) ++run;
      i += Element(s, i, letter, run, level);
      lastLetter_ = letter;
    }
  }

 private:
  // Handles the element that starts at s[i] (a run of `run` equal letters)
  // and answers how many characters it took.
  size_t Element(std::string_view s, size_t i, char letter, size_t run, int level) {
    switch (letter) {
      case 'A':
        if (StartsWithText(s, i, "AM/PM")) {
          Add(dtiAMPM, s.substr(i, 5));
          return 5;
        }
        if (StartsWithText(s, i, "A/P")) {
          Add(dtiAMPM, s.substr(i, 3));
          return 3;
        }
        if (StartsWithText(s, i, "AMPM")) {
          Add(dtiAMPM, "AMPM");
          return 4;
        }
        if (run >= 4) {
          Add(dtiDay, "DDDD");
          return 4;
        }
        if (run == 3) {
          Add(dtiDay, "DDD");
          return 3;
        }
        AddText(s.substr(i, 1));
        return 1;
      case 'C':
        InPlace(fs_.ShortDateFormat + " " + fs_.LongTimeFormat, level);
        return run;
      case 'D':
        if (run <= 4)
          Add(dtiDay, std::string(run, 'D'));
        else if (run == 5)
          InPlace(fs_.ShortDateFormat, level);
        else
          InPlace(fs_.LongDateFormat, level);
        return run;
      case 'E':
      case 'Y':
        Add(dtiYear, run > 2 ? "YYYY" : "YY");
        return run;
      case 'G':
        failed_ = true;
        return run;
      case 'H':
        Add(dtiHour, std::string(std::min<size_t>(run, 2), 'H'));
        return run;
      case 'M':
        if (lastLetter_ == 'H')
          Add(dtiMinute, std::string(std::min<size_t>(run, 2), 'N'));
        else
          Add(dtiMonth, std::string(std::min<size_t>(run, 4), 'M'));
        return run;
      case 'N':
        Add(dtiMinute, std::string(std::min<size_t>(run, 2), 'N'));
        return run;
      case 'S':
        Add(dtiSecond, std::string(std::min<size_t>(run, 2), 'S'));
        return run;
      case 'T':
        InPlace(run == 1 ? fs_.ShortTimeFormat : fs_.LongTimeFormat, level);
        return run;
      case 'Z':
        Add(dtiMSec, std::string(std::min<size_t>(run, 3), 'Z'));
        return run;
      default:
        AddText(s.substr(i, run));
        return run;
    }
  }

  void InPlace(const std::string& format, int level) {
    if (level < kMaxNesting) Parse(format, level + 1);
  }

  void AddText(std::string_view text) {
    if (text.empty()) return;
    info_.Present[dtiText] = true;
    if (!info_.Items.empty() && info_.Items.back().Kind == dtiText)
      info_.Items.back().Text += text;
    else
      info_.Items.push_back({dtiText, std::string(text)});
  }

  void Add(TcxDateTimeFormatItemKind kind, std::string_view text) {
    const bool repeatable = kind == dtiDateSeparator || kind == dtiTimeSeparator;
    if (!repeatable && info_.Present[kind]) return;
    info_.Present[kind] = true;
    info_.Items.push_back({kind, std::string(text)});
  }

  TcxDateTimeFormatInfo& info_;
  const TFormatSettings& fs_;
  char lastLetter_ = 0;
  bool failed_ = false;
};

std::string SeparatorPattern(char separator) {
  if (separator == ' ') return "' '";
  return std::string("\\") + separator;
}

std::string MonthPattern(bool longNames) {
  const TFormatSettings& fs = DefaultFormatSettings();
  std::string names;
  for (size_t m = 0; m < 12; ++m) {
    if (m) names += '|';
    names += QuoteForRegExpr(longNames ? fs.LongMonthNames[m] : fs.ShortMonthNames[m]);
  }
  return "((0?[1-9]|1[012])|(" + names + "))";
}

std::string AMPMPattern(std::string_view text) {
  switch (AMPMFormOf(text)) {
    case ampmAP: return "(A|P)?";
    case ampmAMPM: return "(AM|PM)?";
    case ampmOther: break;
  }
  const TFormatSettings& fs = DefaultFormatSettings();
  if (fs.TimeAMString.empty() && fs.TimePMString.empty()) return "";
  if (fs.TimePMString.empty()) return "(" + QuoteForRegExpr(fs.TimeAMString) + ")?";
  if (fs.TimeAMString.empty()) return "(" + QuoteForRegExpr(fs.TimePMString) + ")?";
  return "(" + QuoteForRegExpr(fs.TimeAMString) + "|" + QuoteForRegExpr(fs.TimePMString) + ")?";
}

// Literal text of a display format, quoted with a mark the text lacks.
std::string QuotedDisplayText(std::string_view text) {
  const char mark = text.find('\'') == std::string_view::npos ? '\'' : '"';
  return mark + std::string(text) + mark;
}

}  // namespace

void TcxDateTimeFormatInfo::Clear() {
  std::fill(std::begin(Present), std::end(Present), false);
  Items.clear();
}

// --- building blocks ------------------------------------------------------------------

std::string BuildCurrencyFormat() {
  const TFormatSettings& fs = DefaultFormatSettings();
  std::string number = ",0.";
  number.append(fs.CurrencyDecimals, '0');
  std::string symbol;
  for (char c : fs.CurrencyString) {
    if (c == ',' || c == '.')
      symbol += std::string("'") + c + "'";
    else
      symbol += c;
  }
  static constexpr const char* kPositive[] = {"SN", "NS", "S N", "N S"};
  static constexpr const char* kNegative[] = {"(SN)",  "-SN",  "S-N",  "SN-",  "(NS)",  "-NS",
                                              "N-S",   "NS-",  "-N S", "-S N", "N S-",  "S N-",
                                              "S -N",  "N- S", "(S N)", "(N S)"};
  auto expand = [&](std::string_view pattern) {
    std::string out;
    for (char c : pattern) {
      if (c == 'S')
        out += symbol;
      else if (c == 'N')
        out += number;
      else
        out += c;
    }
    return out;
  };
  // Without a symbol the positive section is the number alone; an empty
  // section would leave positive amounts without any format.
  const std::string positive =
      symbol.empty() ? number : expand(kPositive[fs.CurrencyFormat < 4 ? fs.CurrencyFormat : 0]);
  const std::string negative = expand(kNegative[fs.NegCurrFormat < 16 ? fs.NegCurrFormat : 0]);
  return positive + ";" + negative;
}

Integer LocaleFirstDayOfWeek() {
  const Integer day = DefaultFormatSettings().FirstDayOfWeek + 1;
  return day > 6 || day < 0 ? 0 : day;
}

std::string DateEditFormatText(std::string_view AShortDateFormat) {
  std::string out;
  for (size_t i = 0; i < AShortDateFormat.size(); ++i) {
    const char c = AShortDateFormat[i];
    out += c;
    if (c != 'd' && c != 'M') continue;
    const bool before = i > 0 && AShortDateFormat[i - 1] == c;
    const bool after = i + 1 < AShortDateFormat.size() && AShortDateFormat[i + 1] == c;
    if (!before && !after) out += c;
  }
  return out;
}

bool ParseDateTimeFormat(std::string_view AFormat, TcxDateTimeFormatInfo& AFormatInfo) {
  AFormatInfo.Clear();
  FormatParser parser(AFormatInfo);
  parser.Parse(AFormat.empty() ? std::string_view("C") : AFormat, 0);
  if (parser.Failed()) {
    AFormatInfo.Clear();
    return false;
  }
  auto& items = AFormatInfo.Items;
  if (AFormatInfo.Present[dtiHour]) {
    for (TcxDateTimeFormatItem& item : items)
      if (item.Kind == dtiHour) item.Text = (AFormatInfo.Present[dtiAMPM] ? "12" : "24") + item.Text;
  } else if (AFormatInfo.Present[dtiAMPM]) {
    items.erase(std::remove_if(items.begin(), items.end(),
                               [](const TcxDateTimeFormatItem& item) { return item.Kind == dtiAMPM; }),
                items.end());
    AFormatInfo.Present[dtiAMPM] = false;
    // The marker may have stood between two literals.
    for (size_t i = 1; i < items.size();) {
      if (items[i].Kind == dtiText && items[i - 1].Kind == dtiText) {
        items[i - 1].Text += items[i].Text;
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
      } else {
        ++i;
      }
    }
  }
  return true;
}

std::string StandardMaskOf(const TcxDateTimeFormatInfo& AFormatInfo, TcxMaskMode AMode) {
  if (AFormatInfo.Items.empty()) return "";
  std::string mask = AMode == mmTime ? "" : "!";
  for (const TcxDateTimeFormatItem& item : AFormatInfo.Items) {
    switch (item.Kind) {
      case dtiText:
        for (size_t pos = 0; pos < item.Text.size(); pos = Utf8NextCharPos(item.Text, pos))
          mask += "\\" + std::string(item.Text.substr(pos, Utf8CharLength(item.Text, pos)));
        break;
      case dtiYear: mask += item.Text.size() == 4 ? "9999" : "99"; break;
      case dtiMonth:
      case dtiDay: mask += item.Text.size() > 2 ? "lll" : "99"; break;
      case dtiHour:
      case dtiMinute:
      case dtiSecond: mask += AMode == mmTime ? "00" : "99"; break;
      case dtiAMPM:
        switch (AMPMFormOf(item.Text)) {
          case ampmAP: mask += "c"; break;
          case ampmAMPM: mask += "cc"; break;
          case ampmOther: mask.append(static_cast<size_t>(LongerAMPMLength()), 'c'); break;
        }
        break;
      case dtiDateSeparator: mask += "/"; break;
      case dtiTimeSeparator: mask += ":"; break;
      case dtiMSec: break;
    }
  }
  return mask + (AMode == mmTime ? ";1;0" : ";1; ");
}

std::string RegExprMaskOf(const TcxDateTimeFormatInfo& AFormatInfo, TcxMaskMode AMode) {
  const TFormatSettings& fs = DefaultFormatSettings();
  std::string mask;
  for (const TcxDateTimeFormatItem& item : AFormatInfo.Items) {
    if (item.Kind == dtiText) {
      mask += QuoteForRegExpr(item.Text);
      continue;
    }
    if (AMode == mmTime) {
      switch (item.Kind) {
        case dtiHour:
          mask += item.Text.rfind("12", 0) == 0 ? "(0?[1-9]|1[012])" : "([01]?\\d|2[0-3])";
          break;
        case dtiMinute:
        case dtiSecond: mask += "[0-5]?\\d"; break;
        case dtiAMPM: mask += AMPMPattern(item.Text); break;
        case dtiTimeSeparator: mask += SeparatorPattern(fs.TimeSeparator); break;
        default: break;
      }
    } else {
      switch (item.Kind) {
        case dtiYear: mask += item.Text.size() == 4 ? "\\d\\d\\d\\d" : "\\d\\d"; break;
        case dtiMonth: mask += MonthPattern(item.Text.size() == 4); break;
        case dtiDay: mask += "([012]?[1-9]|[123]0|31)"; break;
        case dtiDateSeparator: mask += SeparatorPattern(fs.DateSeparator); break;
        default: break;
      }
    }
  }
  return mask;
}

std::string DisplayFormatOf(const TcxDateTimeFormatInfo& AFormatInfo) {
  std::string format;
  for (const TcxDateTimeFormatItem& item : AFormatInfo.Items) {
    switch (item.Kind) {
      case dtiText: format += QuotedDisplayText(item.Text); break;
      case dtiYear:
      case dtiAMPM: format += LowerCase(item.Text); break;
      case dtiMonth: format += item.Text.size() > 2 ? "mmm" : "mm"; break;
      case dtiDay: format += item.Text.size() > 2 ? "ddd" : "dd"; break;
      case dtiHour: format += "hh"; break;
      case dtiMinute: format += "nn"; break;
      case dtiSecond: format += "ss"; break;
      case dtiDateSeparator: format += "/"; break;
      case dtiTimeSeparator: format += ":"; break;
      case dtiMSec: break;
    }
  }
  return format;
}

Integer FormatItemWidth(const TcxDateTimeFormatItem& AItem) {
  switch (AItem.Kind) {
    case dtiText: return CharCount(AItem.Text);
    case dtiYear: return AItem.Text.size() == 4 ? 4 : 2;
    case dtiMonth:
    case dtiDay: return AItem.Text.size() > 2 ? 3 : 2;
    case dtiHour:
    case dtiMinute:
    case dtiSecond: return 2;
    case dtiAMPM:
      switch (AMPMFormOf(AItem.Text)) {
        case ampmAP: return 1;
        case ampmAMPM: return 2;
        case ampmOther: return LongerAMPMLength();
      }
      return 0;
    case dtiDateSeparator:
    case dtiTimeSeparator: return 1;
    case dtiMSec: return 0;
  }
  return 0;
}

// --- the controller ---------------------------------------------------------------------

TcxFormatController* FormatController() {
  // Kept to the end of the process, as the default repository whose items
  // listen to it: freed among the exit handlers, it would free its window
  // after the display has gone.
  if (!gFormatController) gFormatController = new TcxFormatController();
  return gFormatController;
}

TcxFormatController::TcxFormatController() {
  if (!gFormatController) gFormatController = this;
  ReloadFormats();
}

TcxFormatController::~TcxFormatController() {
  if (FWindow) DeallocateHWnd(FWindow);
  if (gFormatController == this) gFormatController = nullptr;
}

void TcxFormatController::AddFormatListener(IcxFormatControllerListener* AListener) {
  if (!AListener || std::find(FListeners.begin(), FListeners.end(), AListener) != FListeners.end()) return;
  FListeners.push_back(AListener);
  if (!FWindow) FWindow = AllocateHWnd(TWndMethod(this, &TcxFormatController::MainWndProc));
}

void TcxFormatController::RemoveFormatListener(IcxFormatControllerListener* AListener) {
  FListeners.erase(std::remove(FListeners.begin(), FListeners.end(), AListener), FListeners.end());
  if (FListeners.empty() && FWindow) {
    DeallocateHWnd(FWindow);
    FWindow = nullptr;
  }
}

void TcxFormatController::MainWndProc(TMessage& Message) { HandleSettingMessage(Message); }

void TcxFormatController::HandleSettingMessage(TMessage& Message) {
  try {
    const auto* section = reinterpret_cast<const char*>(Message.LParam);
    if (Message.Msg == WM_SETTINGCHANGE && Message.WParam == 0 && section && SameText(section, "intl") &&
        (!Application || Application->UpdateFormatSettings)) {
      ReloadDefaultFormatSettings();
      ReloadFormats();
      NotifyFormatChanged();
      Message.Result = 0;
      return;
    }
    if (Message.Msg == WM_TIMECHANGE) {
      NotifyTimeChanged();
      Message.Result = 0;
      return;
    }
    Message.Result = DefWindowProc(FWindow, Message.Msg, Message.WParam, Message.LParam);
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
}

void TcxFormatController::NotifyFormatChanged() {
  // A listener may leave the list while it is told.
  for (IcxFormatControllerListener* listener : std::vector<IcxFormatControllerListener*>(FListeners))
    listener->FormatChanged();
}

void TcxFormatController::NotifyTimeChanged() {
  for (IcxFormatControllerListener* listener : std::vector<IcxFormatControllerListener*>(FListeners))
    if (auto* timeListener = dynamic_cast<IcxFormatControllerListener2*>(listener)) timeListener->TimeChanged();
}

void TcxFormatController::ReloadFormats() {
  if (!FAssignedCurrencyFormat) FCurrencyFormat = BuildCurrencyFormat();
  if (!FAssignedStartOfWeek) FStartOfWeek = LocaleFirstDayOfWeek();
  RebuildDateMasks(true);
  FDateEditFormat = DateEditFormatText(DefaultFormatSettings().ShortDateFormat);
}

void TcxFormatController::RebuildDateMasks(bool AWithSmartWords) {
  const TFormatSettings& fs = DefaultFormatSettings();
  ParseDateTimeFormat(fs.ShortDateFormat, FDateFormatInfo);
  ParseDateTimeFormat(fs.LongTimeFormat, FTimeFormatInfo);
  ParseDateTimeFormat(fs.ShortDateFormat + " " + fs.LongTimeFormat, FDateTimeFormatInfo);

  FDateEditMask = StandardMaskOf(FDateFormatInfo, mmDate);
  if (!FAssignedStandardDateEditMask) FStandardDateEditMask = FDateEditMask;
  if (!FAssignedRegExprDateEditMask) {
    FRegExprDateEditMask = RegExprMaskOf(FDateFormatInfo, mmDate);
    if (AWithSmartWords) AppendSmartDateWords(FRegExprDateEditMask, false);
  }
  if (!FAssignedRegExprDateTimeEditMask) {
    FRegExprDateTimeEditMask =
        RegExprMaskOf(FDateFormatInfo, mmDate) + "' '(" + RegExprMaskOf(FTimeFormatInfo, mmTime) + ")?";
    if (AWithSmartWords) AppendSmartDateWords(FRegExprDateTimeEditMask, true);
  }
  if (!FAssignedStandardDateTimeEditMask)
    FStandardDateTimeEditMask = StandardMaskOf(FDateTimeFormatInfo, mmDateTime);
  FMaskedDateDisplayFormat = DisplayFormatOf(FDateFormatInfo);
  FMaskedDateTimeDisplayFormat = DisplayFormatOf(FDateTimeFormatInfo);
}

bool TcxFormatController::FindFormatItemAtPos(const TcxDateTimeFormatInfo& AFormatInfo, Integer APos,
                                              TcxFormatItemAtPos& AItemInfo) {
  if (APos < 1) return false;
  Integer start = 1;
  for (const TcxDateTimeFormatItem& item : AFormatInfo.Items) {
    const Integer width = FormatItemWidth(item);
    if (APos >= start && APos < start + width) {
      AItemInfo.Kind = item.Kind;
      AItemInfo.Start = start;
      AItemInfo.Width = width;
      AItemInfo.AMPMForm = item.Kind == dtiAMPM ? AMPMFormOf(item.Text) : ampmOther;
      return true;
    }
    start += width;
  }
  return false;
}

Integer TcxFormatController::FormatItemsTextLength(const TcxDateTimeFormatInfo& AFormatInfo) {
  Integer length = 0;
  for (const TcxDateTimeFormatItem& item : AFormatInfo.Items) length += FormatItemWidth(item);
  return length;
}
