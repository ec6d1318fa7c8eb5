// Text editor properties: inheritable settings resolved through the
// provider, the value range, echo and case, validation against the lookup
// items, the view style, number formats under injected locales, display
// texts, copying, the assigned flags and their stored rules, and the notices
// from the setters and from the format controller.
#include "suite/editors/cxTextEditProperties.h"

#include <gtest/gtest.h>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/SysParams.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxTextEditLookupData.h"
#include "tests/suite/editors/InjectedLocales.h"

namespace {

struct ChangeCounter {
  void Changed(TObject* Sender) {
    ++count;
    if (auto* p = dynamic_cast<TcxCustomTextEditProperties*>(Sender)) announcing = p->FormatAnnouncing();
  }
  TNotifyEvent Handler() { return TNotifyEvent(this, &ChangeCounter::Changed); }
  int count = 0;
  bool announcing = false;
};

class Provider : public TcxCustomEditDefaultValuesProvider {
 public:
  Provider() : TcxCustomEditDefaultValuesProvider(nullptr) {}
  Integer DefaultMaxLength() override { return maxLength; }
  std::string DefaultDisplayFormat() override { return displayFormat; }
  std::string DefaultEditFormat() override { return editFormat; }
  Extended DefaultMaxValue() override { return maxValue; }
  Extended DefaultMinValue() override { return minValue; }
  bool DefaultIsCurrency() override { return currency; }
  bool DefinesEditFormat() override { return definesEditFormat; }
  Integer DefaultPrecision() override { return precision; }
  Integer maxLength = 0;
  std::string displayFormat;
  std::string editFormat;
  Extended maxValue = 0;
  Extended minValue = 0;
  bool currency = false;
  bool definesEditFormat = false;
  Integer precision = 15;
};

// A number editor's properties: they format values and may group digits.
class NumberProperties : public TcxCustomTextEditProperties {
  VXN_DECLARE_CLASS(NumberProperties)

 public:
  using TcxCustomTextEditProperties::TcxCustomTextEditProperties;
  bool FormatsValues() override { return true; }
  bool UsesThousandSeparators(bool) override { return thousands; }
  bool thousands = false;
};

// A list-bound kind: its editing style is set by the test.
class ListProperties : public TcxCustomTextEditProperties {
 public:
  using TcxCustomTextEditProperties::TcxCustomTextEditProperties;
  TcxEditingStyle EditingStyle() override { return style; }
  TcxEditingStyle style = esListText;
};

// An editor whose display values read as numbers.
class NumberEditor : public IcxEditPropertiesEditor {
 public:
  explicit NumberEditor(TcxCustomEditProperties* p) : properties(p) {}
  TcxCustomEditProperties* OwnEditProperties() override { return properties; }
  TcxCustomEditProperties* ActiveEditProperties() override { return properties; }
  void FireOnValidate(Variant&, std::string&, bool&) override {}
  std::string CurrentDisplayText() override { return {}; }
  void DisplayValueToEditValue(const Variant& DisplayValue, Variant& EditValue, bool) override {
    EditValue = Variant(StrToFloat(VarToStr(DisplayValue)));
  }
  bool IsInplace() override { return inplace; }
  TcxCustomEditProperties* properties;
  bool inplace = false;
};

}  // namespace

VXN_IMPLEMENT_CREATABLE_CLASS(NumberProperties, TcxCustomTextEditProperties)
VXN_PUBLISH(NumberProperties) {
  using N = NumberProperties;
  P.Property("DisplayFormat", &N::DisplayFormat, &N::SetDisplayFormat).Stored(&N::IsDisplayFormatStored);
  P.Property("MaxValue", &N::MaxValue, &N::SetMaxValue).Stored(&N::IsMaxValueStored);
}

namespace {

TEST(TextEditProperties, InheritableSettingsComeFromTheProviderUntilAssigned) {
  Provider provider;
  provider.maxLength = 12;
  provider.displayFormat = "0.0";
  provider.minValue = -1;
  provider.maxValue = 9;
  TcxTextEditProperties p(nullptr);
  EXPECT_EQ(p.MaxLength(), 0);
  p.SetDefaultValuesProvider(&provider);
  EXPECT_EQ(p.MaxLength(), 12);
  EXPECT_EQ(p.DisplayFormat(), "0.0");
  EXPECT_EQ(p.MinValue(), -1);
  EXPECT_EQ(p.MaxValue(), 9);
  EXPECT_FALSE(p.IsMaxLengthStored());

  p.SetMaxLength(-5);
  EXPECT_EQ(p.MaxLength(), 0);
  EXPECT_TRUE(p.AssignedValues()->MaxLength());
  p.SetDisplayFormat("");
  EXPECT_EQ(p.DisplayFormat(), "");
  p.SetMaxValue(0);
  EXPECT_EQ(p.MaxValue(), 0);

  p.AssignedValues()->RestoreDefaults();
  EXPECT_EQ(p.MaxLength(), 12);
  EXPECT_EQ(p.DisplayFormat(), "0.0");
  EXPECT_EQ(p.MaxValue(), 9);
}

TEST(TextEditProperties, SettersAnnounceOnlyRealChanges) {
  ListProperties p(nullptr);
  ChangeCounter counter;
  p.OnPropertiesChanged = counter.Handler();
  p.SetMaxLength(5);
  p.SetMaxLength(5);
  EXPECT_EQ(counter.count, 1);
  p.SetCharCase(ecUpperCase);
  p.SetCharCase(ecUpperCase);
  p.SetImeName("x");
  p.SetImeName("x");
  EXPECT_EQ(counter.count, 3);
  p.LookupItems()->Add("Red");
  EXPECT_EQ(counter.count, 4);

  // The list-pick selection matters in its own style alone.
  p.style = esFreeText;
  p.SetListPickSelection(false);
  EXPECT_EQ(counter.count, 4);
  p.style = esListPick;
  p.SetListPickSelection(true);
  EXPECT_EQ(counter.count, 5);

  // One notice for a whole view style.
  p.SetViewStyle(vsButtonsAutoWidth);
  EXPECT_EQ(counter.count, 6);
}

TEST(TextEditProperties, ViewStyleIsMadeOfButtonsViewStyleAndHideCursor) {
  struct Case {
    TcxTextEditViewStyle style;
    Byte buttons;
    bool hideCursor;
  };
  const Case cases[] = {{vsButtonsAutoWidth, 2, true},
                        {vsHideCursor, 0, true},
                        {vsButtonsOnly, 1, true},
                        {vsNormal, 0, false}};
  TcxTextEditProperties p(nullptr);
  for (const Case& c : cases) {
    p.SetViewStyle(c.style);
    EXPECT_EQ(p.ButtonsViewStyle(), c.buttons) << c.style;
    EXPECT_EQ(p.HideCursor(), c.hideCursor) << c.style;
    EXPECT_EQ(p.ViewStyle(), c.style);
  }
  p.SetHideCursor(true);
  EXPECT_EQ(p.EditingStyle(), esNoText);
  EXPECT_FALSE(p.IsResettable());
}

TEST(TextEditProperties, EchoAndCase) {
  struct Case {
    TcxEditEchoMode echo;
    char passwordChar;
    TEditCharCase charCase;
    const char* text;
    const char* shown;
  };
  const Case cases[] = {
      {eemPassword, '\0', ecNormal, "abc", "***"},
      {eemPassword, '#', ecUpperCase, "中文", "##"},
      {eemNormal, '#', ecUpperCase, "straße é", "STRAßE é"},
      {eemNormal, '\0', ecLowerCase, "ÀBC", "Àbc"},
      {eemNormal, '\0', ecNormal, "MiXed", "MiXed"},
  };
  for (const Case& c : cases) {
    TcxTextEditProperties p(nullptr);
    p.SetEchoMode(c.echo);
    p.SetPasswordChar(c.passwordChar);
    p.SetCharCase(c.charCase);
    std::string text = c.text;
    p.ApplyEchoAndCase(text);
    EXPECT_EQ(text, c.shown) << c.text;
    EXPECT_EQ(p.DisplayTextOf(Variant(c.text), true), Utf8ToUtf16(c.shown)) << c.text;
  }
}

TEST(TextEditProperties, ListStylesAcceptOnlyLookupItems) {
  struct Case {
    TcxEditingStyle style;
    TEditCharCase charCase;
    const char* text;
    bool valid;
    const char* validated;
  };
  const Case cases[] = {
      {esListText, ecNormal, "green", true, "green"},  // not replaced by the item
      {esListText, ecNormal, "Blue", false, "Blue"},
      {esListText, ecNormal, "", true, ""},
      {esListPick, ecUpperCase, "green", true, "GREEN"},
      {esFreeText, ecLowerCase, "Blue", true, "blue"},
      {esNoText, ecNormal, "Blue", true, "Blue"},
  };
  for (const Case& c : cases) {
    ListProperties p(nullptr);
    p.LookupItems()->Add("Red");
    p.LookupItems()->Add("Green");
    p.style = c.style;
    p.SetCharCase(c.charCase);
    Variant value(c.text);
    EXPECT_EQ(p.IsDisplayValueValid(value, false), c.valid) << c.text << " " << c.style;
    EXPECT_EQ(VarToStr(value), c.validated);
  }
  ListProperties p(nullptr);
  p.LookupItems()->Add("Red");
  EXPECT_TRUE(p.IsLookupItem("rED"));
  EXPECT_FALSE(p.IsLookupItem("Re"));
  EXPECT_TRUE(p.HasLookupData());
  EXPECT_EQ(p.LookupDataClass(), TcxCustomTextEditLookupData::StaticClass());
  // Values that are not texts are not checked against the items.
  Variant number(5);
  EXPECT_TRUE(p.IsEditValueValid(number, false));
  Variant null = Null();
  EXPECT_TRUE(p.IsEditValueValid(null, false));
  Variant blue("Blue");
  EXPECT_FALSE(p.IsEditValueValid(blue, false));
}

TEST(TextEditProperties, RangeBounds) {
  struct Case {
    bool minAssigned;
    Double minValue;
    bool maxAssigned;
    Double maxValue;
    bool range, lower, upper;
  };
  const Case cases[] = {
      {false, 0, false, 0, false, false, false},
      {true, 10, false, 0, true, true, false},
      {false, 0, true, -3, true, false, true},
      {true, 1, true, 5, true, true, true},
      {true, 5, true, 1, false, false, false},
      {true, 2, true, 2, false, false, false},
  };
  for (const Case& c : cases) {
    NumberProperties p(nullptr);
    if (c.minAssigned) p.SetMinValue(c.minValue);
    if (c.maxAssigned) p.SetMaxValue(c.maxValue);
    EXPECT_EQ(p.HasValueRange(), c.range) << c.minValue << ".." << c.maxValue;
    EXPECT_EQ(p.HasRangeBound(0), c.lower) << c.minValue << ".." << c.maxValue;
    EXPECT_EQ(p.HasRangeBound(1), c.upper) << c.minValue << ".." << c.maxValue;
  }
}

TEST(TextEditProperties, ValidationReportsValuesOutOfTheRange) {
  TFormatSettingsPin pin{injected_locales::US()};
  NumberProperties p(nullptr);
  NumberEditor editor(&p);
  p.SetMinValue(10);
  auto validate = [&](const char* text, std::string& errorText) {
    Variant value(text);
    bool error = false;
    errorText.clear();
    p.ValidateDisplayValue(value, errorText, error, &editor);
    return error;
  };
  std::string errorText;
  EXPECT_TRUE(validate("9.5", errorText));
  EXPECT_EQ(errorText, "Value out of bounds");
  EXPECT_FALSE(validate("1000000", errorText));  // only the minimum takes part
  EXPECT_EQ(errorText, "Invalid input value. Use escape key to abandon changes");

  // A kind that does not format values checks no range.
  TcxTextEditProperties text(nullptr);
  text.SetMinValue(10);
  Variant value("9");
  bool error = false;
  errorText.clear();
  text.ValidateDisplayValue(value, errorText, error, &editor);
  EXPECT_FALSE(error);
  EXPECT_EQ(text.ValidationErrorText(1), "Value out of bounds");
}

TEST(TextEditProperties, NumberTextsWhileEditingAndForDisplay) {
  struct Case {
    const char* name;
    TFormatSettings locale;
    const char* editFormat;     // nullptr: not assigned
    const char* displayFormat;  // nullptr: not assigned
    bool useDisplayFormat;
    bool currencyProvider;
    bool thousands;
    Variant value;
    bool focused;
    const char* text;
  };
  TFormatSettings german = injected_locales::German();
  german.DecimalSeparator = ',';
  german.ThousandSeparator = '.';
  TFormatSettings threeDecimals = injected_locales::US();
  threeDecimals.CurrencyDecimals = 3;
  const Case cases[] = {
      {"edit format", injected_locales::US(), "0.00", nullptr, false, false, false, Variant(3.14159), true, "3.14"},
      {"edit format, comma", german, "0.00", nullptr, false, false, false, Variant(3.14159), true, "3,14"},
      {"display format unfocused", injected_locales::US(), nullptr, "#,##0.0", false, false, false,
       Variant(1234.56), false, "1,234.6"},
      {"display format not used while editing", injected_locales::US(), nullptr, "#,##0.0", false, false, false,
       Variant(1234.56), true, "1234.56"},
      {"display format used while editing", injected_locales::US(), nullptr, "#,##0.0", true, false, false,
       Variant(1234.56), true, "1,234.6"},
      {"currency provider", threeDecimals, nullptr, nullptr, false, true, false, Variant(3.14159), true, "3.142"},
      {"currency provider unfocused", threeDecimals, nullptr, nullptr, false, true, false, Variant(3.14159), false,
       "3.14159"},
      {"general from text", injected_locales::US(), nullptr, nullptr, false, false, false, Variant("1.50"), true, "1.5"},
      {"general from text, comma", german, nullptr, nullptr, false, false, false, Variant("2,50"), true, "2,5"},
      {"grouped", injected_locales::US(), nullptr, nullptr, false, false, true, Variant(-1234567.5), true,
       "-1,234,567.5"},
      {"null", injected_locales::US(), "0.00", nullptr, false, false, false, Null(), true, ""},
  };
  for (const Case& c : cases) {
    TFormatSettingsPin pin{c.locale};
    Provider provider;
    provider.currency = c.currencyProvider;
    NumberProperties p(nullptr);
    p.thousands = c.thousands;
    if (c.currencyProvider) p.SetDefaultValuesProvider(&provider);
    if (c.editFormat) p.SetEditFormat(c.editFormat);
    if (c.displayFormat) p.SetDisplayFormat(c.displayFormat);
    p.SetUseDisplayFormatWhenEditing(c.useDisplayFormat);
    Variant text;
    p.ConvertToEditValue(c.value, text, c.focused);
    EXPECT_EQ(VarToStr(text), c.text) << c.name;
  }
}

TEST(TextEditProperties, EditFormatSources) {
  Provider provider;
  NumberProperties p(nullptr);
  NumberEditor editor(&p);
  bool currency = false, providerFormats = false;
  std::string format;
  p.SetDefaultValuesProvider(&provider);
  provider.definesEditFormat = true;
  p.EditFormatOf(currency, providerFormats, format, nullptr);
  EXPECT_TRUE(providerFormats);
  // In place, the provider's own formatting does not apply.
  editor.inplace = true;
  provider.editFormat = "0.000";
  p.EditFormatOf(currency, providerFormats, format, &editor);
  EXPECT_FALSE(providerFormats);
  EXPECT_EQ(format, "0.000");
  p.SetEditFormat("0");
  p.EditFormatOf(currency, providerFormats, format, nullptr);
  EXPECT_EQ(format, "0");
  EXPECT_EQ(p.EditFormat(), "0");
}

TEST(TextEditProperties, ValuesThatAreNotNumbersCannotBeFormatted) {
  NumberProperties p(nullptr);
  Variant text;
  EXPECT_THROW(p.ConvertToEditValue(VarFromDateTime(EncodeDate(2024, 1, 2)), text, true), EConvertError);
  // Its display text is empty rather than an error.
  EXPECT_EQ(p.DisplayTextOf(VarFromDateTime(EncodeDate(2024, 1, 2)), true), u"");

  // A plain text editor shows any value's text, and compares the texts.
  TcxTextEditProperties plain(nullptr);
  EXPECT_EQ(plain.DisplayTextOf(Variant(12), true), u"12");
  EXPECT_TRUE(plain.EditValuesEqual(Variant(12), Variant("12")));
  EXPECT_FALSE(plain.EditValuesEqual(Variant("a"), Variant("A")));
  plain.SetCharCase(ecUpperCase);
  EXPECT_TRUE(plain.EditValuesEqual(Variant("a"), Variant("A")));
}

TEST(TextEditProperties, OperationsAndAnswers) {
  TcxTextEditProperties p(nullptr);
  EXPECT_EQ(p.SupportedOperations(), 0x85Eu);
  p.Buttons()->Add();
  EXPECT_EQ(p.SupportedOperations(), 0x85Eu | 32u);
  EXPECT_TRUE(p.ValidatesDisplayValue());
  EXPECT_TRUE(p.HasSeparateChangeEvents());
  EXPECT_TRUE(p.ComparesEditValues());
  EXPECT_TRUE(p.IsResettable());
  EXPECT_EQ(p.EditValueSource(true), 1);
  EXPECT_EQ(p.DisplayFormatOptions(), dfoSupports);
  EXPECT_EQ(p.DropDownRowCount(), 8);
  EXPECT_EQ(VarToStr(p.EmptyEditValue()), "");
  EXPECT_TRUE(VarIsStr(p.EmptyEditValue()));
  EXPECT_EQ(p.AssignedValuesClass(), TcxTextEditPropertiesValues::StaticClass());
  EXPECT_EQ(p.AssignedValues()->ClassType(), TcxTextEditPropertiesValues::StaticClass());
}

TEST(TextEditProperties, AssignCopiesSettingsAndOnlyTheAssignedFormats) {
  struct Handler {
    void NewText(TObject*, const std::string&) {}
  } handler;
  TcxTextEditProperties source(nullptr);
  source.SetCharCase(ecLowerCase);
  source.SetEchoMode(eemPassword);
  source.SetPasswordChar('#');
  source.SetHideCursor(true);
  source.SetMRULookup(true);
  TcxCharSet extra;
  extra.set('.');
  source.SetExtraAcceptedChars(extra);
  source.LookupItems()->Add("b");
  source.LookupItems()->Add("a");
  source.SetLookupItemsSorted(true);
  source.SetMaxLength(7);
  source.SetMinValue(3);
  source.SetImeName("ime");
  source.OnNewLookupDisplayText = TcxNewLookupDisplayTextEvent(&handler, &Handler::NewText);

  TcxTextEditProperties target(nullptr);
  target.SetDisplayFormat("0.0");
  ChangeCounter counter;
  target.OnPropertiesChanged = counter.Handler();
  target.Assign(&source);
  EXPECT_EQ(counter.count, 1);
  EXPECT_EQ(target.CharCase(), ecLowerCase);
  EXPECT_EQ(target.EchoMode(), eemPassword);
  EXPECT_EQ(target.PasswordChar(), '#');
  EXPECT_TRUE(target.HideCursor());
  EXPECT_TRUE(target.MRULookup());
  EXPECT_TRUE(target.ExtraAcceptedChars().test('.'));
  EXPECT_TRUE(target.LookupItemsSorted());
  EXPECT_EQ(target.LookupItems()->CommaText(), "a,b");
  EXPECT_EQ(target.MaxLength(), 7);
  EXPECT_EQ(target.MinValue(), 3);
  EXPECT_TRUE(target.AssignedValues()->MinValue());
  EXPECT_FALSE(target.AssignedValues()->MaxValue());
  EXPECT_FALSE(target.AssignedValues()->DisplayFormat());  // the source had none
  EXPECT_EQ(target.ImeName(), "ime");
  EXPECT_TRUE(target.OnNewLookupDisplayText == source.OnNewLookupDisplayText);
}

TEST(TextEditProperties, AssignedFlags) {
  NumberProperties p(nullptr);
  ChangeCounter counter;
  p.OnPropertiesChanged = counter.Handler();
  TcxTextEditPropertiesValues* values = p.AssignedValues();
  values->SetDisplayFormat(true);
  values->SetDisplayFormat(true);
  EXPECT_EQ(counter.count, 1);
  values->SetMaxLength(true);  // tells the properties every time
  values->SetMaxLength(true);
  EXPECT_EQ(counter.count, 3);

  // Stored where the properties' own value is not: an empty format, a zero
  // bound, and only for what the class publishes.
  EXPECT_TRUE(values->IsDisplayFormatStored());
  p.SetDisplayFormat("0");
  EXPECT_FALSE(values->IsDisplayFormatStored());
  p.SetMaxValue(0);
  EXPECT_TRUE(values->IsMaxValueStored());
  p.SetEditFormat("");
  EXPECT_FALSE(values->IsEditFormatStored());  // not published by this class
  EXPECT_FALSE(IsStoredProp(values, *GetPropInfo(values, "MaxLength")));

  TcxTextEditPropertiesValues copy(nullptr);
  copy.Assign(values);
  EXPECT_TRUE(copy.DisplayFormat() && copy.EditFormat() && copy.MaxLength() && copy.MaxValue());
  EXPECT_FALSE(copy.MinValue());

  counter.count = 0;
  values->RestoreDefaults();
  EXPECT_EQ(counter.count, 1);
  EXPECT_FALSE(values->DisplayFormat() || values->EditFormat() || values->MaxLength() || values->MaxValue());
}

TEST(TextEditProperties, RegionalSettingsChangeIsAnnounced) {
  TFormatSettingsPin pin{injected_locales::US()};
  TcxTextEditProperties p(nullptr);
  ChangeCounter counter;
  p.OnPropertiesChanged = counter.Handler();
  ASSERT_NE(FormatController()->Handle(), nullptr);
  win::SendMessage(FormatController()->Handle(), win::WM_SETTINGCHANGE, 0, reinterpret_cast<win::LPARAM>("intl"));
  EXPECT_EQ(counter.count, 1);
  EXPECT_TRUE(counter.announcing);
  EXPECT_FALSE(p.FormatAnnouncing());
}

TEST(TextEditProperties, RegisteredAsTheTextEditorKind) {
  InitializeEditors();
  TcxRegisteredClasses* kinds = GetRegisteredEditProperties();
  const Integer index = kinds->IndexOfClass(TcxTextEditProperties::StaticClass());
  ASSERT_NE(index, -1);
  EXPECT_EQ(kinds->Descriptions(index), "TextEdit|Represents a single line text editor");
  EXPECT_EQ(GetClass("TcxTextEditProperties"), TcxTextEditProperties::StaticClass());
  for (const char* name : {"CharCase", "EchoMode", "LookupItems", "MaxLength", "OnNewLookupDisplayText"})
    EXPECT_NE(GetPropInfo(TcxTextEditProperties::StaticClass(), name), nullptr) << name;
  EXPECT_EQ(GetPropInfo(TcxTextEditProperties::StaticClass(), "DisplayFormat"), nullptr);
}

}  // namespace
