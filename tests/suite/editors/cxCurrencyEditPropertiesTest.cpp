// Currency edit settings and rules under injected locales: number parsing
// with thousand separators where the settings and the moment allow them (none when
// off, anywhere while typing, between groups for pasted and checked text),
// typed text to edit value with Null,
// the key filter (decimal places, exponent, sign, separators, selection),
// the texts shown in two locales' currency formats, validity and range
// validation, Value read and written, copying and the registration.
#include "suite/editors/cxCurrencyEditProperties.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/rtl/FormatSettings.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxEditRegisteredRepositoryItems.h"
#include "suite/editors/cxFormatController.h"
#include "tests/suite/editors/CurrencyLocales.h"
#include "tests/suite/editors/InjectedLocales.h"

namespace {

using currency_locales::German;
using currency_locales::LocaleScope;

// An editor whose display values read as the currency edit reads them.
class CurrencyEditor : public IcxEditPropertiesEditor {
 public:
  explicit CurrencyEditor(TcxCustomCurrencyEditProperties* p) : properties(p) {}
  TcxCustomEditProperties* OwnEditProperties() override { return properties; }
  TcxCustomEditProperties* ActiveEditProperties() override { return properties; }
  void FireOnValidate(Variant&, std::string&, bool&) override {}
  std::string CurrentDisplayText() override { return {}; }
  void DisplayValueToEditValue(const Variant& DisplayValue, Variant& EditValue, bool) override {
    EditValue = CurrencyDisplayValueToEditValue(properties, DisplayValue);
  }
  bool IsEditFocused() override { return true; }
  TcxCustomCurrencyEditProperties* properties;
};

TEST(CurrencyEditProperties, ParsingTakesThousandSeparatorsOnlyWhereTheRuleLetsThem) {
  using Rule = TcxCustomCurrencyEditProperties::TThousandSeparators;
  struct Case {
    const char* name;
    TFormatSettings locale;
    Rule rule;
    const char* text;
    bool ok;
    Double value;
  };
  const Case cases[] = {
      {"grouped", injected_locales::US(), Rule::Grouped, "1,234.5", true, 1234.5},
      {"grouped, separators off", injected_locales::US(), Rule::None, "1,234.5", false, 0},
      {"groups of three after the first", injected_locales::US(), Rule::Grouped, "-12,345,678", true, -12345678},
      {"separators off the grouping", injected_locales::US(), Rule::Grouped, "1,2,3", false, 0},
      {"separators off the grouping while typing", injected_locales::US(), Rule::Anywhere, "1,2,3", true, 123},
      // A pasted frequency must never turn into a number a thousand times larger.
      {"pasted point that does not group", German(), Rule::Grouped, "145.5", false, 0},
      {"pasted point, separators off", German(), Rule::None, "145.5", false, 0},
      {"point typed at the end", German(), Rule::Anywhere, "145.", true, 145},
      {"separator among the decimals", injected_locales::US(), Rule::Anywhere, "1.2,5", false, 0},
      {"separator leading the digits", injected_locales::US(), Rule::Grouped, ",123", false, 0},
      {"comma decimals", German(), Rule::Grouped, "1.234,5", true, 1234.5},
      {"exponent", injected_locales::US(), Rule::None, "1e5", true, 100000},
      {"trailing decimal separator", injected_locales::US(), Rule::None, "1.", true, 1},
      {"largest", injected_locales::US(), Rule::None, "1.7e308", true, 1.7e308},
      {"beyond the largest", injected_locales::US(), Rule::None, "2e308", false, 0},
      {"zero", injected_locales::US(), Rule::None, "0", true, 0},
      {"exponent alone", injected_locales::US(), Rule::None, "1e", false, 0},
      {"sign alone", injected_locales::US(), Rule::Grouped, "-", false, 0},
      {"empty", injected_locales::US(), Rule::Grouped, "", false, 0},
  };
  for (const Case& c : cases) {
    TFormatSettingsPin pin{c.locale};
    Double value = -1;
    EXPECT_EQ(TcxCustomCurrencyEditProperties::ParseNumber(c.text, value, c.rule), c.ok) << c.name;
    EXPECT_EQ(value, c.value) << c.name;
  }
}

TEST(CurrencyEditProperties, TypedTextBecomesANumberNullOrZero) {
  struct Case {
    const char* name;
    bool nullable;
    bool thousands;
    const char* text;
    Variant value;
  };
  const Case cases[] = {
      {"number", true, false, "12,5", Variant(12.5)},
      {"separator outside a group, separators off", true, false, "145.5", Null()},
      {"separator outside a group, separators on", true, true, "145.5", Null()},
      {"grouped, separators on", true, true, "1.455", Variant(1455.0)},
      {"grouped, separators off", false, false, "1.455", Variant(0.0)},
      {"empty, nullable", true, false, "", Null()},
      {"empty", false, false, "", Variant(0.0)},
      {"the null text", true, false, "none", Null()},
      {"the null text, not nullable", false, false, "none", Variant(0.0)},
      {"no number", false, false, "x", Variant(0.0)},
  };
  TFormatSettingsPin pin{German()};
  for (const Case& c : cases) {
    TcxCurrencyEditProperties p(nullptr);
    p.SetNullable(c.nullable);
    p.SetNullString("none");
    p.SetUseThousandSeparator(c.thousands);
    const Variant value = CurrencyDisplayValueToEditValue(&p, Variant(c.text));
    EXPECT_TRUE(VarSameTypeAndValue(value, c.value)) << c.name << ": " << value;
  }
}

TEST(CurrencyEditProperties, KeyFilterKeepsANumberWithinTheDecimalPlaces) {
  struct Case {
    const char* name;
    TFormatSettings locale;
    bool thousands;
    const char* text;
    Integer selStart, selLength;
    char32_t typed;
    char32_t ch;  // after the typed-character mapping
    bool accepted;
  };
  const Case cases[] = {
      {"fifth decimal", injected_locales::US(), false, "145.1234", 8, 0, U'5', U'5', true},
      {"sixth decimal", injected_locales::US(), false, "145.12345", 9, 0, U'6', U'6', false},
      {"digit before the decimals", injected_locales::US(), false, "145.12345", 0, 0, U'1', U'1', true},
      {"sixth decimal over a selected one", injected_locales::US(), false, "145.12345", 8, 1, U'9', U'9', true},
      {"decimals before an exponent", injected_locales::US(), false, "1.12345e5", 9, 0, U'0', U'0', true},
      {"point typed, comma locale", German(), false, "145", 3, 0, U'.', U',', true},
      {"comma typed, point locale", injected_locales::US(), false, "145", 3, 0, U',', U'.', true},
      {"thousand separator typed", German(), true, "1", 1, 0, U'.', U'.', true},
      {"thousand separator off the groups", German(), true, "14", 1, 0, U'.', U'.', true},
      {"exponent after a digit", injected_locales::US(), false, "1", 1, 0, U'e', U'e', false},
      {"minus into an empty edit", injected_locales::US(), false, "", 0, 0, U'-', U'-', true},
      {"minus over the whole text", injected_locales::US(), false, "12", 0, 2, U'-', U'-', true},
      {"minus between digits", injected_locales::US(), false, "12", 1, 0, U'-', U'-', false},
      {"letter", injected_locales::US(), false, "12", 2, 0, U'x', U'x', false},
      {"second decimal separator", injected_locales::US(), false, "1.5", 3, 0, U'.', U'.', false},
  };
  for (const Case& c : cases) {
    TFormatSettingsPin pin{c.locale};
    TcxCurrencyEditProperties p(nullptr);
    p.SetDecimalPlaces(5);
    p.SetUseThousandSeparator(c.thousands);
    const char32_t ch = CurrencyEditTypedChar(&p, c.typed);
    EXPECT_EQ(ch, c.ch) << c.name;
    EXPECT_EQ(IsCurrencyEditAcceptableChar(&p, ch, c.text, c.selStart, c.selLength), c.accepted) << c.name;
  }
  // With an edit format every number character goes in; others never.
  TFormatSettingsPin pin{injected_locales::US()};
  TcxCurrencyEditProperties p(nullptr);
  p.SetEditFormat("0.00");
  EXPECT_TRUE(IsCurrencyEditAcceptableChar(&p, U'e', "1", 1, 0));
  EXPECT_FALSE(IsCurrencyEditAcceptableChar(&p, U'x', "1", 1, 0));
  EXPECT_FALSE(IsCurrencyEditAcceptableChar(&p, U',', "1", 1, 0));
}

TEST(CurrencyEditProperties, TextsShownInTwoLocalesCurrencyFormats) {
  struct Case {
    const char* name;
    TFormatSettings locale;
    const char* displayFormat;  // nullptr: the locale's currency format
    bool nullable;
    bool thousands;
    Variant value;
    bool focused;
    const char* text;
  };
  const Case cases[] = {
      {"US amount", injected_locales::US(), nullptr, true, false, Variant(1234.5), false, "$1,234.50"},
      {"German amount", German(), nullptr, true, false, Variant(1234.5), false, "1.234,50 €"},
      {"US negative", injected_locales::US(), nullptr, true, false, Variant(-2.0), false, "($2.00)"},
      {"German negative", German(), nullptr, true, false, Variant(-2.0), false, "-2,00 €"},
      {"frequency format", German(), "0.00000", true, false, Variant(145.5), false, "145,50000"},
      {"focused, no edit format", German(), nullptr, true, false, Variant(1234.5), true, "1234,5"},
      {"focused, written from the value: not grouped", injected_locales::US(), nullptr, true, true,
       Variant(1234.5), true, "1234.5"},
      {"Null shows the null text", injected_locales::US(), nullptr, true, false, Null(), false, "none"},
      {"Null, not nullable, shows 0", injected_locales::US(), nullptr, false, false, Null(), false, "$0.00"},
      {"Null while focused", injected_locales::US(), nullptr, true, false, Null(), true, ""},
      {"text that is no number", injected_locales::US(), nullptr, true, false, Variant("abc"), false, "abc"},
      {"date, focused", injected_locales::US(), nullptr, true, false, VarFromDateTime(2.0), true, ""},
  };
  for (const Case& c : cases) {
    LocaleScope locale(c.locale);
    TcxCurrencyEditProperties p(nullptr);
    p.SetNullString("none");
    p.SetNullable(c.nullable);
    p.SetUseThousandSeparator(c.thousands);
    if (c.displayFormat) p.SetDisplayFormat(c.displayFormat);
    Variant text;
    p.ConvertToEditValue(c.value, text, c.focused);
    EXPECT_EQ(VarToStr(text), c.text) << c.name;
  }
  TcxCurrencyEditProperties p(nullptr);
  EXPECT_TRUE(p.UsesThousandSeparators(true) == false);
  p.SetUseThousandSeparator(true);
  EXPECT_TRUE(p.UsesThousandSeparators(true));
  EXPECT_FALSE(p.UsesThousandSeparators(false));
}

TEST(CurrencyEditProperties, ValidityAndRangeValidation) {
  TFormatSettingsPin pin{injected_locales::US()};
  TcxCurrencyEditProperties p(nullptr);
  Variant text("x");
  EXPECT_TRUE(p.IsDisplayValueValid(text, false));
  EXPECT_FALSE(p.IsDisplayValueValid(text, true));
  // Text checked on leaving takes separators only between groups of three.
  text = Variant("1,23.5");
  EXPECT_FALSE(p.IsDisplayValueValid(text, true));
  p.SetUseThousandSeparator(true);
  EXPECT_FALSE(p.IsDisplayValueValid(text, true));
  text = Variant("1,234.5");
  EXPECT_TRUE(p.IsDisplayValueValid(text, true));
  p.SetUseThousandSeparator(false);
  EXPECT_FALSE(p.IsDisplayValueValid(text, true));
  p.SetEditFormat("0.00");
  text = Variant("x");
  EXPECT_TRUE(p.IsDisplayValueValid(text, true));

  TcxCurrencyEditProperties ranged(nullptr);
  ranged.SetMinValue(10);
  ranged.SetMaxValue(20);
  CurrencyEditor editor(&ranged);
  const struct {
    const char* text;
    bool error;
  } cases[] = {{"15", false}, {"25", true}, {"9.99", true}, {"", false}};
  for (const auto& c : cases) {
    Variant value(c.text);
    std::string errorText;
    bool error = true;  // a stale flag is cleared first
    ranged.ValidateDisplayValue(value, errorText, error, &editor);
    EXPECT_EQ(error, c.error) << c.text;
    if (c.error) {
      EXPECT_EQ(errorText, "Value out of bounds") << c.text;
    }
  }
}

TEST(CurrencyEditProperties, ValueReadAndWritten) {
  TFormatSettingsPin pin{injected_locales::US()};
  EXPECT_EQ(CurrencyEditValueOf(Null()), 0);
  EXPECT_EQ(CurrencyEditValueOf(Variant("abc")), 0);
  EXPECT_EQ(CurrencyEditValueOf(Variant("1.5")), 1.5);
  EXPECT_EQ(CurrencyEditValueOf(Variant(2.25)), 2.25);

  TcxCurrencyEditProperties p(nullptr);
  EXPECT_EQ(ClampCurrencyValue(&p, 5), 5);
  p.SetMinValue(10);
  p.SetMaxValue(20);
  EXPECT_EQ(ClampCurrencyValue(&p, 5), 10);
  EXPECT_EQ(ClampCurrencyValue(&p, 25), 20);
  EXPECT_EQ(ClampCurrencyValue(&p, 15), 15);
  EXPECT_EQ(ClampCurrencyValue(&p, std::nan("")), 20);
}

TEST(CurrencyEditProperties, DefaultsCopyingAndRegistration) {
  TcxCurrencyEditProperties source(nullptr);
  EXPECT_EQ(source.DecimalPlaces(), 2);
  EXPECT_TRUE(source.Nullable());
  EXPECT_TRUE(source.ValidateOnEnter());
  EXPECT_EQ(source.DisplayFormatOptions(), 3);
  EXPECT_EQ(source.EditValueSource(true), 0);
  EXPECT_EQ(source.EditValueSource(false), 0);
  int changes = 0;
  struct Counter {
    int* n;
    void Changed(TObject*) { ++*n; }
  } counter{&changes};
  source.OnPropertiesChanged = TNotifyEvent(&counter, &Counter::Changed);
  source.SetNullable(false);
  source.SetNullString("-");
  source.SetUseThousandSeparator(true);
  source.SetUseThousandSeparator(true);
  EXPECT_EQ(changes, 3);
  source.SetDecimalPlaces(5);
  source.SetDisplayFormat("0.00000");

  TcxCurrencyEditProperties copy(nullptr);
  copy.Assign(&source);
  EXPECT_EQ(copy.DecimalPlaces(), 5);
  EXPECT_FALSE(copy.Nullable());
  EXPECT_EQ(copy.NullString(), "-");
  EXPECT_TRUE(copy.UseThousandSeparator());
  EXPECT_EQ(copy.DisplayFormat(), "0.00000");

  InitializeEditors();
  TcxRegisteredClasses* kinds = GetRegisteredEditProperties();
  const Integer index = kinds->IndexOfClass(TcxCurrencyEditProperties::StaticClass());
  ASSERT_GE(index, 0);
  EXPECT_EQ(kinds->Descriptions(index), "CurrencyEdit|Represents an editor enabling editing currency data");
  TcxEditRepository repository(nullptr);
  TcxEditRepositoryItem* item = repository.NewRepositoryItem(TcxEditRepositoryCurrencyItem::StaticClass());
  EXPECT_NE(dynamic_cast<TcxCurrencyEditProperties*>(item->Properties()), nullptr);
  EXPECT_NE(FindClass("TcxEditRepositoryCurrencyItem"), nullptr);
  // Currency fields of data sets get the kind's item by default.
  EXPECT_NE(dynamic_cast<TcxEditRepositoryCurrencyItem*>(GetDefaultEditDBRepositoryItems()->CurrencyItem()), nullptr);
}

}  // namespace
