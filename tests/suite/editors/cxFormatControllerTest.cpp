// The format controller over injected locales (US, German, Chinese and an
// ISO date order): currency formats, date-time format parsing, the standard
// and regular-expression masks and display formats, item widths and
// positions, and the listeners' notices from the system's setting-change and
// time-change messages.
#include "suite/editors/cxFormatController.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/SysParams.h"
#include "platform/win/WinUser.h"
#include "suite/editors/cxRegExpr.h"
#include "tests/suite/editors/InjectedLocales.h"

using namespace win;

namespace {

using namespace injected_locales;

const char* KindName(TcxDateTimeFormatItemKind kind) {
  static const char* const names[] = {"Text", "Year", "Month", "Day",  "Hour", "Minute",
                                      "Second", "MSec", "AMPM", "DSep", "TSep"};
  return names[kind];
}

// "Kind(text) Kind(text) ...", separators without their text.
std::string Describe(const TcxDateTimeFormatInfo& info) {
  std::string out;
  for (const TcxDateTimeFormatItem& item : info.Items) {
    if (!out.empty()) out += ' ';
    out += KindName(item.Kind);
    if (item.Kind != dtiDateSeparator && item.Kind != dtiTimeSeparator) out += "(" + item.Text + ")";
  }
  return out;
}

// Feeds the text into the compiled pattern; true when every character is
// taken and the pattern may end there.
bool Matches(const std::string& pattern, std::string_view text) {
  TcxRegExpr re;
  re.Compile(pattern);
  re.Reset();
  for (size_t pos = 0; pos < text.size();) {
    char32_t ch = Utf8Decode(text, pos);
    if (!re.Next(ch)) return false;
  }
  return re.IsFinal();
}

}  // namespace

TEST(cxFormatController, ParsesFormatsIntoItems) {
  TFormatSettingsPin pin(US());
  struct Case {
    const char* format;
    const char* items;
  };
  const Case cases[] = {
      {"M/d/yyyy", "Month(M) DSep Day(D) DSep Year(YYYY)"},
      {"h:mm:ss AM/PM", "Hour(12H) TSep Minute(NN) TSep Second(SS) Text( ) AMPM(AM/PM)"},
      {"h:mm:ss", "Hour(24H) TSep Minute(NN) TSep Second(SS)"},
      {"hh:nn a/p", "Hour(12HH) TSep Minute(NN) Text( ) AMPM(a/p)"},
      // Without an hour the marker goes, and the literals around it join.
      {"nn 'x' ampm 'y'", "Minute(NN) Text( x  y)"},
      // Only the first item of a kind stays; the literals around a dropped
      // one join.
      {"dddd, MMMM d, yyyy", "Day(DDDD) Text(, ) Month(MMMM) Text( , ) Year(YYYY)"},
      {"aaa d", "Day(DDD) Text( )"},
      {"yy.mmmmm.dd", "Year(YY) Text(.) Month(MMMM) Text(.) Day(DD)"},
      {"eeee", "Year(YYYY)"},
      {"hh:nn:ss.zzzz", "Hour(24HH) TSep Minute(NN) TSep Second(SS) Text(.) MSec(ZZZ)"},
      {"'Week' \"it's\" ww", "Text(Week it's ww)"},
      {"'open", "Text(open)"},
      {"yyyy年M月d日", "Year(YYYY) Text(年) Month(M) Text(月) Day(D) Text(日)"},
      {"ddddd", "Month(M) DSep Day(D) DSep Year(YYYY)"},
      {"t", "Hour(12H) TSep Minute(NN) Text( ) AMPM(AMPM)"},
      {"", "Month(M) DSep Day(D) DSep Year(YYYY) Text( ) Hour(12H) TSep Minute(NN) TSep Second(SS) Text( ) "
           "AMPM(AMPM)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    TcxDateTimeFormatInfo info;
    EXPECT_TRUE(ParseDateTimeFormat(c.format, info));
    EXPECT_EQ(Describe(info), c.items);
  }

  TcxDateTimeFormatInfo info;
  ASSERT_TRUE(ParseDateTimeFormat("h:mm AM/PM", info));
  EXPECT_TRUE(info.IsPresent(dtiHour));
  EXPECT_TRUE(info.IsPresent(dtiAMPM));
  EXPECT_FALSE(info.IsPresent(dtiDay));
  ASSERT_TRUE(ParseDateTimeFormat("nn AM/PM", info));
  EXPECT_FALSE(info.IsPresent(dtiAMPM));

  // The era fails the whole parse.
  EXPECT_FALSE(ParseDateTimeFormat("gg yyyy/MM/dd", info));
  EXPECT_TRUE(info.Items.empty());
  EXPECT_FALSE(info.IsPresent(dtiYear));
}

TEST(cxFormatController, FormatsParsedInPlaceNestTwoLevelsDeep) {
  TFormatSettings s = US();
  s.ShortDateFormat = "yyyy ddddd";  // refers to itself
  s.LongTimeFormat = "hh tt";
  TFormatSettingsPin pin(s);
  TcxDateTimeFormatInfo info;
  ASSERT_TRUE(ParseDateTimeFormat("ddddd", info));
  EXPECT_EQ(Describe(info), "Year(YYYY) Text(  )");
  ASSERT_TRUE(ParseDateTimeFormat("tt", info));
  EXPECT_EQ(Describe(info), "Hour(24HH) Text(  )");
}

TEST(cxFormatController, CurrencyFormats) {
  struct Case {
    const char* symbol;
    Byte format, negative, decimals;
    const char* expected;
  };
  const Case cases[] = {
      {"$", 0, 0, 2, "$,0.00;($,0.00)"},
      {"$", 0, 8, 2, "$,0.00;-,0.00 $"},
      {"€", 3, 8, 2, ",0.00 €;-,0.00 €"},
      {"Fr.", 2, 9, 0, "Fr'.' ,0.;-Fr'.' ,0."},
      {"kr", 1, 15, 3, ",0.000kr;(,0.000 kr)"},
      {"a,b", 1, 5, 1, ",0.0a','b;-,0.0a','b"},
      {"$", 0, 14, 2, "$,0.00;($ ,0.00)"},
      {"$", 0, 13, 2, "$,0.00;,0.00- $"},
      // Without a symbol the number stands alone as the positive section.
      {"", 1, 1, 2, ",0.00;-,0.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    TFormatSettings s = US();
    s.CurrencyString = c.symbol;
    s.CurrencyFormat = c.format;
    s.NegCurrFormat = c.negative;
    s.CurrencyDecimals = c.decimals;
    TFormatSettingsPin pin(s);
    EXPECT_EQ(BuildCurrencyFormat(), c.expected);
    EXPECT_EQ(TcxFormatController().CurrencyFormat(), c.expected);
  }
}

TEST(cxFormatController, MasksAndDisplayFormatsByLocale) {
  struct Case {
    const char* name;
    TFormatSettings settings;
    const char* dateEditFormat;
    const char* dateMask;
    const char* dateTimeMask;
    const char* dateDisplay;
    const char* dateTimeDisplay;
    const char* currency;
    Integer startOfWeek;
  };
  const Case cases[] = {
      {"US", US(), "MM/dd/yyyy", "!99/99/9999;1; ", "!99/99/9999\\ 99:99:99\\ cc;1; ", "mm/dd/yyyy",
       "mm/dd/yyyy' 'hh:nn:ss' 'ampm", "$,0.00;($,0.00)", 0},
      {"German", German(), "dd/MM/yyyy", "!99/99/9999;1; ", "!99/99/9999\\ 99:99:99;1; ", "dd/mm/yyyy",
       "dd/mm/yyyy' 'hh:nn:ss", ",0.00 €;-,0.00 €", 1},
      {"Chinese", Chinese(), "yyyy/MM/dd", "!9999/99/99;1; ", "!9999/99/99\\ cc\\ 99:99:99;1; ", "yyyy/mm/dd",
       "yyyy/mm/dd' 'ampm' 'hh:nn:ss", "¥,0.00;¥-,0.00", 1},
      {"ISO", Iso(), "yyyy/MM/dd", "!9999/99/99;1; ", "!9999/99/99\\ 99:99:99;1; ", "yyyy/mm/dd",
       "yyyy/mm/dd' 'hh:nn:ss", "$,0.00;($,0.00)", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFormatSettingsPin pin(c.settings);
    TcxFormatController controller;
    EXPECT_EQ(controller.DateEditFormat(), c.dateEditFormat);
    EXPECT_EQ(controller.StandardDateEditMask(), c.dateMask);
    EXPECT_EQ(controller.DateEditMask(), c.dateMask);
    EXPECT_EQ(controller.StandardDateTimeEditMask(), c.dateTimeMask);
    EXPECT_EQ(controller.MaskedDateDisplayFormat(), c.dateDisplay);
    EXPECT_EQ(controller.MaskedDateTimeDisplayFormat(), c.dateTimeDisplay);
    EXPECT_EQ(controller.CurrencyFormat(), c.currency);
    EXPECT_EQ(controller.StartOfWeek(), c.startOfWeek);
    EXPECT_FALSE(controller.AssignedCurrencyFormat() || controller.AssignedStandardDateEditMask() ||
                 controller.UseClassLibraryFormats());
  }

  TFormatSettings letters = US();
  letters.ShortDateFormat = "d/MMM/yy";
  TFormatSettingsPin pin(letters);
  TcxFormatController controller;
  EXPECT_EQ(controller.DateEditFormat(), "dd/MMM/yy");
  EXPECT_EQ(controller.StandardDateEditMask(), "!99/lll/99;1; ");
  EXPECT_EQ(controller.MaskedDateDisplayFormat(), "dd/mmm/yy");

  TFormatSettings era = US();
  era.ShortDateFormat = "gg yyyy/M/d";
  TFormatSettingsPin eraPin(era);
  TcxFormatController eraController;
  EXPECT_TRUE(eraController.DateFormatInfo().Items.empty());
  EXPECT_EQ(eraController.StandardDateEditMask(), "");
  EXPECT_EQ(eraController.StandardDateTimeEditMask(), "");
  EXPECT_EQ(eraController.MaskedDateDisplayFormat(), "");
}

TEST(cxFormatController, TimeMaskModeAndSeparatorsInRegularExpressions) {
  TFormatSettingsPin pin(US());
  TcxDateTimeFormatInfo info;
  ParseDateTimeFormat("h:mm:ss AMPM", info);
  EXPECT_EQ(StandardMaskOf(info, mmTime), "00:00:00\\ cc;1;0");
  EXPECT_EQ(RegExprMaskOf(info, mmTime), "(0?[1-9]|1[012])\\:[0-5]?\\d\\:[0-5]?\\d' '('AM'|'PM')?");
  ParseDateTimeFormat("H:mm", info);
  EXPECT_EQ(RegExprMaskOf(info, mmTime), "([01]?\\d|2[0-3])\\:[0-5]?\\d");
  ParseDateTimeFormat("h:mm AM/PM", info);
  EXPECT_EQ(RegExprMaskOf(info, mmTime), "(0?[1-9]|1[012])\\:[0-5]?\\d' '(AM|PM)?");
  EXPECT_EQ(RegExprMaskOf(info, mmDate), "' '");

  TFormatSettings s = US();
  s.TimeSeparator = ' ';
  s.TimeAMString = "";
  s.TimePMString = "p.m.";
  TFormatSettingsPin blank(s);
  ParseDateTimeFormat("h:mm ampm", info);
  EXPECT_EQ(RegExprMaskOf(info, mmTime), "(0?[1-9]|1[012])' '[0-5]?\\d' '('p.m.')?");
}

TEST(cxFormatController, RegularExpressionMasksAcceptDatesAndSmartWords) {
  struct Case {
    const char* name;
    TFormatSettings settings;
    std::vector<const char*> dates;      // taken by the date mask
    std::vector<const char*> dateTimes;  // taken by the date-time mask
    std::vector<const char*> refused;    // by the date mask
  };
  const Case cases[] = {
      {"US", US(), {"12/31/2024", "1/5/2024", "Jan/5/2024", "today", "today+7", "eom-1000"},
       {"12/31/2024 11:59:59 PM", "12/31/2024 ", "now-1", "1/1/2024 1:00:00 AM"},
       {"13/1/2024", "12/32/2024", "now", "today+12345"}},
      {"German", German(), {"31.12.2024", "1.Mär.2024", "tomorrow-1"},
       {"31.12.2024 23:59:59", "31.12.2024 0:00:00"},
       {"31/12/2024"}},
      {"Chinese", Chinese(), {"2024/1/5", "2024/12月/5"}, {"2024/1/5 下午 1:05:00"}, {"2024-1-5"}},
      {"ISO", Iso(), {"2024-03-05", "yesterday-2"}, {"2024-03-05 23:05:00"}, {"2024/03/05"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFormatSettingsPin pin(c.settings);
    TcxFormatController controller;
    for (const char* text : c.dates) EXPECT_TRUE(Matches(controller.RegExprDateEditMask(), text)) << text;
    for (const char* text : c.dateTimes)
      EXPECT_TRUE(Matches(controller.RegExprDateTimeEditMask(), text)) << text;
    for (const char* text : c.refused) EXPECT_FALSE(Matches(controller.RegExprDateEditMask(), text)) << text;
  }
}

TEST(cxFormatController, ItemWidthsAndItemsAtPositions) {
  TFormatSettingsPin pin(US());
  TcxFormatController controller;
  const TcxDateTimeFormatInfo& info = controller.DateTimeFormatInfo();
  // "MM/DD/YYYY HH:NN:SS AM"
  EXPECT_EQ(TcxFormatController::FormatItemsTextLength(info), 22);
  struct Case {
    Integer pos;
    bool found;
    TcxDateTimeFormatItemKind kind;
    Integer start, width;
  };
  const Case cases[] = {
      {0, false, dtiText, 0, 0},   {1, true, dtiMonth, 1, 2},   {2, true, dtiMonth, 1, 2},
      {3, true, dtiDateSeparator, 3, 1}, {10, true, dtiYear, 7, 4}, {11, true, dtiText, 11, 1},
      {12, true, dtiHour, 12, 2}, {22, true, dtiAMPM, 21, 2},  {23, false, dtiText, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pos);
    TcxFormatItemAtPos at;
    ASSERT_EQ(TcxFormatController::FindFormatItemAtPos(info, c.pos, at), c.found);
    if (!c.found) continue;
    EXPECT_EQ(at.Kind, c.kind);
    EXPECT_EQ(at.Start, c.start);
    EXPECT_EQ(at.Width, c.width);
  }
  TcxFormatItemAtPos at;
  ASSERT_TRUE(TcxFormatController::FindFormatItemAtPos(info, 21, at));
  EXPECT_EQ(at.AMPMForm, ampmOther);

  TcxDateTimeFormatInfo marks;
  ParseDateTimeFormat("h a/p mmm zzz AM/PM 'ab'", marks);
  // The second marker is dropped and the literals around it join.
  EXPECT_EQ(Describe(marks), "Hour(12H) Text( ) AMPM(a/p) Text( ) Month(MMM) Text( ) MSec(ZZZ) Text(  ab)");
  EXPECT_EQ(TcxFormatController::FormatItemsTextLength(marks), 2 + 1 + 1 + 1 + 3 + 1 + 0 + 4);
  ASSERT_TRUE(TcxFormatController::FindFormatItemAtPos(marks, 4, at));
  EXPECT_EQ(at.AMPMForm, ampmAP);
  // The zero-width millisecond item is never found.
  ASSERT_TRUE(TcxFormatController::FindFormatItemAtPos(marks, 10, at));
  EXPECT_EQ(at.Kind, dtiText);
  EXPECT_EQ(at.Start, 10);

  // Marker widths count characters.
  TFormatSettingsPin chinese(Chinese());
  TcxFormatController zh;
  ASSERT_TRUE(TcxFormatController::FindFormatItemAtPos(zh.TimeFormatInfo(), 2, at));
  EXPECT_EQ(at.Kind, dtiAMPM);
  EXPECT_EQ(at.Width, 2);
  EXPECT_EQ(TcxFormatController::FormatItemsTextLength(zh.TimeFormatInfo()), 2 + 1 + 2 + 1 + 2 + 1 + 2);
}

namespace {

std::vector<std::string>* gLog = nullptr;

class FormatListener : public IcxFormatControllerListener {
 public:
  explicit FormatListener(std::string name) : name_(std::move(name)) {}
  void FormatChanged() override {
    gLog->push_back(name_ + " format " + DefaultFormatSettings().ShortDateFormat);
    if (fail) throw Exception("listener failed");
  }
  bool fail = false;

 protected:
  std::string name_;
};

class TimeListener : public FormatListener, public IcxFormatControllerListener2 {
 public:
  using FormatListener::FormatListener;
  void TimeChanged() override { gLog->push_back(name_ + " time"); }
};

// Points LC_ALL at a locale and puts the environment and the process-wide
// settings back afterwards.
class LocaleEnvironment {
 public:
  LocaleEnvironment() {
    if (const char* old = std::getenv("LC_ALL")) previous_ = old;
  }
  void Set(const char* name) { setenv("LC_ALL", name, 1); }
  ~LocaleEnvironment() {
    if (previous_)
      setenv("LC_ALL", previous_->c_str(), 1);
    else
      unsetenv("LC_ALL");
  }

 private:
  std::optional<std::string> previous_;
};

class cxFormatControllerNotices : public testing::Test {
 protected:
  void SetUp() override { gLog = &log; }
  void TearDown() override {
    gLog = nullptr;
    Application->UpdateFormatSettings = true;
  }
  std::vector<std::string> log;
  TFormatSettingsPin pin{US()};
  LocaleEnvironment environment;
};

}  // namespace

TEST_F(cxFormatControllerNotices, RegionalSettingsChangeReloadsAndTellsListenersInOrder) {
  TcxFormatController controller;
  TimeListener a("a");
  FormatListener b("b");
  EXPECT_EQ(controller.Handle(), nullptr);
  controller.AddFormatListener(&a);
  controller.AddFormatListener(&b);
  controller.AddFormatListener(&a);
  EXPECT_EQ(controller.ListenerCount(), 2);
  ASSERT_NE(controller.Handle(), nullptr);

  environment.Set("de_DE.UTF-8");
  // Other sections and actions change nothing.
  NotifySettingChange(0, "windows");
  NotifySettingChange(SPI_SETNONCLIENTMETRICS, nullptr);
  SendMessage(controller.Handle(), WM_SETTINGCHANGE, 1, reinterpret_cast<LPARAM>("intl"));
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(controller.DateEditFormat(), "MM/dd/yyyy");

  // An application that does not follow the regional settings keeps them.
  Application->UpdateFormatSettings = false;
  NotifySettingChange(0, "intl");
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(DefaultFormatSettings().ShortDateFormat, "M/d/yyyy");

  Application->UpdateFormatSettings = true;
  NotifySettingChange(0, "intl");
  EXPECT_EQ(log, (std::vector<std::string>{"a format dd/MM/yyyy", "b format dd/MM/yyyy"}));
  EXPECT_EQ(controller.DateEditFormat(), "dd/MM/yyyy");
  EXPECT_EQ(controller.StartOfWeek(), 1);

  log.clear();
  NotifyTimeChange();
  EXPECT_EQ(log, (std::vector<std::string>{"a time"}));

  controller.RemoveFormatListener(&a);
  EXPECT_NE(controller.Handle(), nullptr);
  controller.RemoveFormatListener(&b);
  EXPECT_EQ(controller.Handle(), nullptr);
  EXPECT_EQ(controller.ListenerCount(), 0);
}

TEST_F(cxFormatControllerNotices, ListenerExceptionsGoToTheApplication) {
  TcxFormatController controller;
  FormatListener failing("x");
  failing.fail = true;
  controller.AddFormatListener(&failing);
  std::vector<std::string> shown;
  struct Catcher {
    std::vector<std::string>* shown;
    void Handle(TObject*, Exception* E) { shown->push_back(E->Message); }
  } catcher{&shown};
  TExceptionEvent previous = Application->OnException;
  Application->OnException = TExceptionEvent(&catcher, &Catcher::Handle);
  SendMessage(controller.Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("intl"));
  Application->OnException = previous;
  EXPECT_EQ(shown, (std::vector<std::string>{"listener failed"}));
  controller.RemoveFormatListener(&failing);
}

TEST(cxFormatController, TheFirstControllerIsTheGlobalOne) {
  TcxFormatController* global = FormatController();
  ASSERT_NE(global, nullptr);
  EXPECT_EQ(FormatController(), global);
  TcxFormatController another;
  EXPECT_EQ(FormatController(), global);
}
