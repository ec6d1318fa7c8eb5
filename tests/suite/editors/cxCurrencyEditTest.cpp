// The currency edit on a shown form, driven through the message loop with
// injected keys in two locales: typing (decimal places, the decimal key,
// sign, exponent, thousands regrouped), pasting (separators outside the
// groups refused), leaving an emptied edit, Value read and written, and the
// frequency fields as the radio windows use them (five decimals, the
// "0.00000" format, OnEditValueChanged, OnKeyPress). Our renderer, headless.
#include "suite/editors/cxCurrencyEdit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Clipbrd.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/Input.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxFilterEditHelpers.h"
#include "suite/editors/cxFormatController.h"
#include "tests/suite/editors/EditorOnFormFixture.h"
#include "tests/suite/editors/CurrencyLocales.h"
#include "tests/suite/editors/InjectedLocales.h"

namespace {

using currency_locales::German;
using currency_locales::LocaleScope;

struct Events {
  std::vector<std::string> log;
  TcxCurrencyEdit* edit = nullptr;
  void ValueChanged(TObject*) { log.push_back("value " + FloatToStr(edit->Value())); }
  // The window's own filter: a 'q' stands for nothing.
  void KeyPress(TObject*, char32_t& Key) {
    log.push_back(std::string("key ") + static_cast<char>(Key));
    if (Key == U'q') Key = 0;
  }
};

class CurrencyEdit : public EditorOnForm<TcxCurrencyEdit> {
 protected:
  TcxCurrencyEditProperties* Props() { return edit->CurrencyProperties(); }
  void Leave() { Focus(other); }
  // Empties the edit and gives it the focus.
  void Restart() {
    Leave();
    edit->SetEditValue(Null());
    Focus(edit);
  }
};

TEST_F(CurrencyEdit, TypingKeepsANumberInEachLocale) {
  struct Case {
    const char* name;
    TFormatSettings locale;
    bool thousands;
    const char* typed;
    const char* shown;  // while focused
    int beeps;
    Double value;       // after leaving
    const char* left;   // shown after leaving, "0.00000" format
  };
  const Case cases[] = {
      {"sixth decimal dropped", injected_locales::US(), false, "145.123456", "145.12345", 1, 145.12345, "145.12345"},
      {"'.' is the comma decimal", German(), false, "145.5", "145,5", 0, 145.5, "145,50000"},
      {"',' is the point decimal", injected_locales::US(), false, "438,25", "438.25", 0, 438.25, "438.25000"},
      {"minus first", injected_locales::US(), false, "-7", "-7", 0, -7, "-7.00000"},
      {"minus between digits", injected_locales::US(), false, "1-2", "12", 1, 12, "12.00000"},
      {"no exponent typed", injected_locales::US(), false, "1e5", "15", 1, 15, "15.00000"},
      {"letters", German(), false, "4x2", "42", 1, 42, "42,00000"},
      {"second decimal separator", German(), false, "1,2,3", "1,23", 1, 1.23, "1,23000"},
      {"thousands regrouped", German(), true, "1234567,5", "1.234.567,5", 0, 1234567.5, "1234567,50000"},
      {"thousand key moved", injected_locales::US(), true, "12,34", "1,234", 0, 1234, "1234.00000"},
  };
  Props()->SetDecimalPlaces(5);
  Props()->SetDisplayFormat("0.00000");
  for (const Case& c : cases) {
    LocaleScope locale(c.locale);
    Props()->SetUseThousandSeparator(c.thousands);
    Restart();
    const int beeps = win::BeepCount();
    Type(c.typed);
    EXPECT_EQ(edit->GetText(), c.shown) << c.name;
    EXPECT_EQ(win::BeepCount() - beeps, c.beeps) << c.name;
    Leave();
    EXPECT_DOUBLE_EQ(edit->Value(), c.value) << c.name;
    EXPECT_EQ(edit->GetText(), c.left) << c.name;
  }
}

TEST_F(CurrencyEdit, PastedTextMustBeANumberOfTheLocale) {
  struct Case {
    const char* name;
    TFormatSettings locale;
    bool thousands;
    const char* pasted;
    const char* shown;  // "" when refused
  };
  const Case cases[] = {
      // A frequency copied with a point must never become a thousand times larger.
      {"point that groups nothing", German(), false, "145.5", ""},
      {"point that groups nothing, separators on", German(), true, "145.5", ""},
      {"grouped thousands, separators on", German(), true, "1.455", "1.455"},
      {"grouped thousands, separators off", German(), false, "1.455", ""},
      {"comma decimals", German(), false, "145,5", "145,5"},
      {"exponent", injected_locales::US(), false, "1e5", "1e5"},
      {"largest number", injected_locales::US(), false, "1.7e308", "1.7e308"},
      {"beyond the largest number", injected_locales::US(), false, "2e308", ""},
      {"text", injected_locales::US(), false, "abc", ""},
  };
  for (const Case& c : cases) {
    LocaleScope locale(c.locale);
    Props()->SetUseThousandSeparator(c.thousands);
    Restart();
    Clipboard()->SetAsText(c.pasted);
    Press('V', false, true);
    EXPECT_EQ(edit->GetText(), c.shown) << c.name;
  }
  LocaleScope locale(German());
  Props()->SetUseThousandSeparator(true);
  Restart();
  Clipboard()->SetAsText("1.455");
  Press('V', false, true);
  Leave();
  EXPECT_EQ(edit->Value(), 1455);
  Restart();
  Props()->SetUseThousandSeparator(false);
  Clipboard()->SetAsText("1e5");
  Press('V', false, true);
  Leave();
  EXPECT_EQ(edit->Value(), 100000);

  // Nothing goes into a read-only edit, whichever way the paste comes.
  Props()->SetReadOnly(true);
  Focus(edit);
  Clipboard()->SetAsText("7");
  edit->SetSelection(0, 0);
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Value(), 100000);
  EXPECT_EQ(edit->EditValue().AsDouble(), 100000);
}

TEST_F(CurrencyEdit, AnEmptiedEditIsNullOrZero) {
  LocaleScope locale(injected_locales::US());
  Props()->SetNullString("none");
  for (bool nullable : {true, false}) {
    Props()->SetNullable(nullable);
    Leave();
    edit->SetValue(12);
    Focus(edit);
    edit->SelectWholeText();
    Press(win::VK_DELETE);
    Leave();
    if (nullable) {
      EXPECT_TRUE(VarIsNull(edit->EditValue()));
      EXPECT_EQ(edit->GetText(), "none");
    } else {
      EXPECT_EQ(VarType(edit->EditValue()), varDouble);
      EXPECT_EQ(edit->GetText(), "$0.00");
    }
    EXPECT_EQ(edit->Value(), 0);
  }
  // A typed NullString is Null too.
  Props()->SetNullable(true);
  Variant value;
  edit->DisplayValueToEditValue(Variant("none"), value, true);
  EXPECT_TRUE(VarIsNull(value));
}

TEST_F(CurrencyEdit, ValueIsHeldInTheRangeAndAnnouncedOnChange) {
  LocaleScope locale(German());
  Events events;
  events.edit = edit;
  Props()->OnEditValueChanged = TNotifyEvent(&events, &Events::ValueChanged);
  Props()->SetMinValue(10);
  Props()->SetMaxValue(20);
  EXPECT_EQ(edit->Value(), 0) << "Null";
  edit->SetValue(5);
  EXPECT_EQ(edit->Value(), 10);
  edit->SetValue(25);
  EXPECT_EQ(edit->Value(), 20);
  edit->SetValue(20);
  EXPECT_EQ(events.log, (std::vector<std::string>{"value 10", "value 20"})) << "no event without a change";
  // One bound alone holds on its own side only.
  Props()->SetMaxValue(0);
  Props()->AssignedValues()->SetMaxValue(false);
  edit->SetValue(1e6);
  EXPECT_EQ(edit->Value(), 1e6);
  edit->SetValue(-1);
  EXPECT_EQ(edit->Value(), 10);
  // Written by code while focused, the text is not grouped.
  Props()->SetUseThousandSeparator(true);
  Focus(edit);
  edit->SetValue(1234567.5);
  EXPECT_EQ(edit->GetText(), "1234567,5");
}

TEST_F(CurrencyEdit, FrequencyFieldAsTheRadioWindowsUseIt) {
  LocaleScope locale(injected_locales::US());
  Events events;
  events.edit = edit;
  SetPropValue(edit, "Properties.DecimalPlaces", Variant(5));
  SetPropValue(edit, "Properties.DisplayFormat", Variant("0.00000"));
  Props()->OnEditValueChanged = TNotifyEvent(&events, &Events::ValueChanged);
  edit->OnKeyPress = TKeyPressEvent(&events, &Events::KeyPress);

  edit->SetValue(145.5);
  EXPECT_EQ(edit->GetText(), "145.50000");
  Focus(edit);
  edit->SelectWholeText();
  // The window's handler sees the keys as typed and may drop one.
  Type("q438,1234567");
  EXPECT_EQ(edit->GetText(), "438.12345");
  Leave();
  EXPECT_EQ(edit->GetText(), "438.12345");
  EXPECT_DOUBLE_EQ(edit->Value(), 438.12345);
  ASSERT_GE(events.log.size(), 3u);
  EXPECT_EQ(events.log[0], "value 145.5");
  EXPECT_EQ(events.log[1], "key q");
  EXPECT_EQ(events.log[5], "key ,");
  EXPECT_EQ(events.log.back(), "value 438.12345");
  EXPECT_DOUBLE_EQ(GetPropValue(edit, "Value").AsDouble(), 438.12345);
  // A window clears the field with an empty text.
  edit->SetText("");
  EXPECT_TRUE(VarIsNull(edit->EditValue()));
  EXPECT_EQ(edit->Value(), 0);
}

TEST_F(CurrencyEdit, PublishedRegisteredAndNamedByItsSettings) {
  EXPECT_EQ(GetClass("TcxCurrencyEdit"), TcxCurrencyEdit::StaticClass());
  EXPECT_EQ(TcxCurrencyEditProperties(nullptr).EditClass(), TcxCurrencyEdit::StaticClass());
  EXPECT_EQ(TcxFilterCurrencyEditHelper::Class()->FilterEditClass(), TcxCurrencyEdit::StaticClass());
  EXPECT_FALSE(edit->ControlStyle.Contains(csSetCaption));
  const TPropInfo* value = GetPropInfo(edit, "Value");
  ASSERT_NE(value, nullptr);
  EXPECT_FALSE(IsStoredProp(edit, *value));
  const TPropInfo* editValue = GetPropInfo(edit, "EditValue");
  ASSERT_NE(editValue, nullptr);
  EXPECT_FALSE(IsStoredProp(edit, *editValue)) << "Null";
  edit->SetValue(1);
  EXPECT_TRUE(IsStoredProp(edit, *editValue));
  // Handlers a form may bind beside those of every control.
  for (const char* name : {"OnEditing", "OnEndDock", "OnStartDock"})
    EXPECT_NE(GetPropInfo(edit, name), nullptr) << name;

  // Linked to a repository item, the edit types by the item's settings.
  LocaleScope locale(injected_locales::US());
  TcxEditRepository repository(nullptr);
  auto* item = static_cast<TcxEditRepositoryCurrencyItem*>(
      repository.NewRepositoryItem(TcxEditRepositoryCurrencyItem::StaticClass()));
  static_cast<TcxCurrencyEditProperties*>(item->Properties())->SetDecimalPlaces(1);
  edit->SetRepositoryItem(item);
  Restart();
  Type("2.25");
  EXPECT_EQ(edit->GetText(), "2.2");
  Leave();
  edit->SetRepositoryItem(nullptr);
}

}  // namespace
