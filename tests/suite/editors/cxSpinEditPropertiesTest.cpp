// Spin edit settings and rules: limits by bounds and value type, parsing and
// the validity of edit and display values under injected locales, the next
// value of a step (stop, wrap, refuse; values outside the range; integer
// steps), the spin keys, typed text read as a value with its handlers and
// errors, the validation, the key filter, the fast buttons, copying and the
// registration.
#include "suite/editors/cxSpinEditProperties.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win/Input.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxEditRepository.h"
#include "tests/suite/editors/InjectedLocales.h"

namespace {

constexpr Int64 kInt64Max = std::numeric_limits<Int64>::max();
constexpr Int64 kInt64Min = std::numeric_limits<Int64>::min();

TFormatSettings CommaDecimals() {
  TFormatSettings s = injected_locales::German();
  s.DecimalSeparator = ',';
  s.ThousandSeparator = '.';
  return s;
}

class Provider : public TcxCustomEditDefaultValuesProvider {
 public:
  Provider() : TcxCustomEditDefaultValuesProvider(nullptr) {}
  bool DefaultIsFloatValue() override { return isFloat; }
  bool DefaultRequired() override { return required; }
  bool isFloat = false;
  bool required = false;
};

// Properties whose steps past a limit are refused rather than stopped.
class RefusingProperties : public TcxSpinEditProperties {
 public:
  using TcxSpinEditProperties::TcxSpinEditProperties;
  bool ClampAtLimits() override { return false; }
};

// A spin edit as the validation sees it.
class FakeSpinEdit : public IcxEditPropertiesEditor, public SpinEditTypedValue {
 public:
  explicit FakeSpinEdit(TcxCustomSpinEditProperties* p) : properties(p) {}
  TcxCustomEditProperties* OwnEditProperties() override { return properties; }
  TcxCustomEditProperties* ActiveEditProperties() override { return properties; }
  void FireOnValidate(Variant&, std::string&, bool&) override {}
  std::string CurrentDisplayText() override { return {}; }
  bool HasTypedText() override { return typed; }
  Variant KeptSpinValue() override { return kept; }
  bool ParseTypedValue(const Variant& DisplayValue, bool CanRaise, Variant& Value, std::string& ErrorText) override {
    return ParseSpinTypedValue(properties, properties, nullptr, DisplayValue, CanRaise, kept, Value, ErrorText);
  }
  TcxCustomSpinEditProperties* properties;
  bool typed = true;
  Variant kept = Variant(7);
};

void SetRange(TcxCustomSpinEditProperties& p, Double minValue, Double maxValue) {
  p.SetMinValue(minValue);
  p.SetMaxValue(maxValue);
}

TEST(SpinEditProperties, LimitsFollowTheBoundsAndTheValueType) {
  struct Case {
    const char* name;
    TcxSpinEditValueType type;
    bool minAssigned;
    Double minValue;
    bool maxAssigned;
    Double maxValue;
    Variant minLimit;
    Variant maxLimit;
  };
  const Case cases[] = {
      {"no bounds, integers", vtInt, false, 0, false, 0, Variant(kInt64Min), Variant(kInt64Max)},
      {"no bounds, doubles", vtFloat, false, 0, false, 0, Variant(-1.7e308), Variant(1.7e308)},
      {"range", vtInt, true, 1, true, 16, Variant(1LL), Variant(16LL)},
      {"integer bounds halve to even", vtInt, true, 0.5, true, 16.5, Variant(0LL), Variant(16LL)},
      {"integer bounds round", vtInt, true, -2.5, true, 17.5, Variant(-2LL), Variant(18LL)},
      {"double bounds stay", vtFloat, true, 0.25, true, 0.75, Variant(0.25), Variant(0.75)},
      {"minimum alone", vtInt, true, 5, false, 0, Variant(5LL), Variant(kInt64Max)},
      {"bounds beyond Int64", vtInt, true, -1e30, true, 1e30, Variant(kInt64Min), Variant(kInt64Max)},
  };
  for (const Case& c : cases) {
    TcxSpinEditProperties p(nullptr);
    p.SetValueType(c.type);
    if (c.minAssigned) p.SetMinValue(c.minValue);
    if (c.maxAssigned) p.SetMaxValue(c.maxValue);
    const Variant lo = p.MinLimitValue();
    const Variant hi = p.MaxLimitValue();
    EXPECT_TRUE(VarSameTypeAndValue(lo, c.minLimit)) << c.name << ": " << lo;
    EXPECT_TRUE(VarSameTypeAndValue(hi, c.maxLimit)) << c.name << ": " << hi;
  }
}

TEST(SpinEditProperties, ValueTypeComesFromTheProviderUntilAssigned) {
  TcxSpinEditProperties p(nullptr);
  EXPECT_EQ(p.ValueType(), vtFloat);  // stand-alone
  Provider provider;
  p.SetDefaultValuesProvider(&provider);
  EXPECT_EQ(p.ValueType(), vtInt);
  provider.isFloat = true;
  EXPECT_EQ(p.ValueType(), vtFloat);
  EXPECT_FALSE(p.IsValueTypeStored());
  p.SetValueType(vtInt);
  EXPECT_EQ(p.ValueType(), vtInt);
  EXPECT_TRUE(p.IsValueTypeStored());
  p.SetDefaultValuesProvider(nullptr);
}

TEST(SpinEditProperties, ParsingAndValidityUnderInjectedLocales) {
  struct Case {
    const char* name;
    TFormatSettings locale;
    TcxSpinEditValueType type;
    const char* text;
    bool ok;
    Variant value;
  };
  const Case cases[] = {
      {"point", injected_locales::US(), vtFloat, "1.5", true, Variant(1.5)},
      {"comma locale", CommaDecimals(), vtFloat, "1,5", true, Variant(1.5)},
      {"point in a comma locale", CommaDecimals(), vtFloat, "1.5", false, Null()},
      {"exponent", injected_locales::US(), vtFloat, "1e5", true, Variant(100000.0)},
      {"largest double", injected_locales::US(), vtFloat, "1.7e308", true, Variant(1.7e308)},
      {"beyond the double limit", injected_locales::US(), vtFloat, "1.71e308", false, Null()},
      {"integer", injected_locales::US(), vtInt, "-12", true, Variant(-12LL)},
      {"fraction for integers", injected_locales::US(), vtInt, "1.5", false, Null()},
      {"beyond Int64", injected_locales::US(), vtInt, "9223372036854775808", false, Null()},
      {"empty", injected_locales::US(), vtInt, "", false, Null()},
      {"no number", injected_locales::US(), vtFloat, "abc", false, Null()},
  };
  for (const Case& c : cases) {
    TFormatSettingsPin pin{c.locale};
    TcxSpinEditProperties p(nullptr);
    p.SetValueType(c.type);
    Variant value(123);
    EXPECT_EQ(p.ParseValue(c.text, value), c.ok) << c.name;
    EXPECT_TRUE(VarSameTypeAndValue(value, c.value)) << c.name << ": " << value;
  }

  // Edit values: text and numbers must parse; Null and dates pass; valid
  // ones come back normalised to the value type.
  TFormatSettingsPin pin{injected_locales::US()};
  TcxSpinEditProperties p(nullptr);
  p.SetValueType(vtInt);
  struct EditCase {
    Variant value;
    bool valid;
    Variant normalised;
  };
  const EditCase editCases[] = {
      {Variant("12"), true, Variant(12LL)},
      {Variant(12.0), true, Variant(12LL)},
      {Variant(12.5), false, Variant(12.5)},
      {Variant(""), false, Variant("")},
      {Null(), true, Variant(0LL)},
      {VarFromDateTime(EncodeDate(1900, 1, 1)), true, Variant(2LL)},
  };
  for (const EditCase& c : editCases) {
    Variant value = c.value;
    EXPECT_EQ(p.IsEditValueValid(value, false), c.valid) << c.value;
    EXPECT_TRUE(VarSameTypeAndValue(value, c.normalised)) << c.value << " -> " << value;
  }

  // Display texts: numbers only; one beyond the limits stays valid as its
  // plain text, for the validation to report.
  SetRange(p, 1, 16);
  const struct {
    const char* text;
    bool valid;
    const char* shown;
  } displayCases[] = {{"5", true, "5"}, {"+20", true, "20"}, {"", true, ""}, {"x", false, "x"}};
  for (const auto& c : displayCases) {
    Variant text(c.text);
    EXPECT_EQ(p.IsDisplayValueValid(text, true), c.valid) << c.text;
    EXPECT_EQ(VarToStr(text), c.shown) << c.text;
  }
}

struct StepCase {
  const char* name;
  TcxSpinEditValueType type;
  bool bounded;
  Double minValue, maxValue;
  Integer behaviour;  // SpinLimitRefuse, SpinLimitStop or SpinLimitWrap
  Double increment, largeIncrement;
  Variant value;
  Integer kind;
  bool ok;
  Variant result;
};

TEST(SpinEditProperties, NextValueStopsWrapsOrRefusesAtTheLimits) {
  constexpr Integer R = SpinLimitRefuse, S = SpinLimitStop, W = SpinLimitWrap;
  constexpr Integer Dn = SpinStepDown, Up = SpinStepUp, PgDn = SpinStepPageDown, PgUp = SpinStepPageUp;
  const StepCase cases[] = {
      // The radio's 1..16 channel spin.
      {"circular up at the top", vtInt, true, 1, 16, W, 1, 10, Variant(16), Up, true, Variant(1LL)},
      {"circular large step over the top", vtInt, true, 1, 16, W, 1, 3, Variant(15), PgUp, true, Variant(2LL)},
      {"circular down at the bottom", vtInt, true, 1, 16, W, 1, 10, Variant(1), Dn, true, Variant(16LL)},
      {"stop at the top", vtInt, true, 1, 16, S, 1, 3, Variant(15), PgUp, true, Variant(16LL)},
      {"stop at the bottom", vtInt, true, 1, 16, S, 1, 10, Variant(1), Dn, true, Variant(1LL)},
      {"refused at the bottom", vtInt, true, 1, 16, R, 1, 10, Variant(1), Dn, false, Null()},
      {"inside", vtInt, true, 1, 16, S, 1, 10, Variant(5), PgUp, true, Variant(15LL)},
      // Below or above the range: towards it gives the near limit.
      {"below, up", vtInt, true, 1, 16, S, 1, 10, Variant(0), Up, true, Variant(1LL)},
      {"below, down", vtInt, true, 1, 16, S, 1, 10, Variant(0), Dn, false, Null()},
      {"below, down, circular", vtInt, true, 1, 16, W, 1, 10, Variant(0), Dn, true, Variant(16LL)},
      {"above, down", vtInt, true, 1, 16, S, 1, 10, Variant(20), PgDn, true, Variant(16LL)},
      {"above, up", vtInt, true, 1, 16, S, 1, 10, Variant(20), Up, false, Null()},
      {"above, up, circular", vtInt, true, 1, 16, W, 1, 10, Variant(20), Up, true, Variant(1LL)},
      // Wrapping lands inside the range whatever the step.
      {"step beyond the range wraps around", vtInt, true, 1, 16, W, 1, 40, Variant(15), PgUp, true, Variant(7LL)},
      {"step beyond the range wraps back", vtInt, true, 1, 16, W, 1, 40, Variant(2), PgDn, true, Variant(10LL)},
      {"double wraps to the other limit", vtFloat, true, 0, 1, W, 0.5, 10, Variant(0.9), Up, true, Variant(0.0)},
      {"double wraps back", vtFloat, true, 0, 1, W, 0.5, 10, Variant(0.1), Dn, true, Variant(1.0)},
      {"double stops", vtFloat, true, 0, 1, S, 0.5, 10, Variant(0.9), Up, true, Variant(1.0)},
      {"double inside", vtFloat, true, 0, 1, S, 0.25, 10, Variant(0.5), Dn, true, Variant(0.25)},
      // Integer steps round to the nearest, halves to even, never to 0.
      {"1.5 steps by 2", vtInt, true, 0, 100, S, 1.5, 10, Variant(10), Up, true, Variant(12LL)},
      {"2.5 steps by 2", vtInt, true, 0, 100, S, 2.5, 10, Variant(10), Up, true, Variant(12LL)},
      {"0.4 steps by 1", vtInt, true, 0, 100, S, 0.4, 10, Variant(10), Up, true, Variant(11LL)},
      {"0.5 steps back by 1", vtInt, true, 0, 100, S, 0.5, 10, Variant(10), Dn, true, Variant(9LL)},
      // Without bounds the value type's range is the limit.
      {"Int64 top stops", vtInt, false, 0, 0, S, 1, 10, Variant(kInt64Max), Up, true, Variant(kInt64Max)},
      {"Int64 top wraps", vtInt, false, 0, 0, W, 1, 10, Variant(kInt64Max), Up, true, Variant(kInt64Min)},
      {"Int64 bottom wraps", vtInt, false, 0, 0, W, 1, 10, Variant(kInt64Min + 1), PgDn, true,
       Variant(kInt64Max - 8)},
      {"double top stops", vtFloat, false, 0, 0, S, 1e308, 10, Variant(1.7e308), Up, true, Variant(1.7e308)},
      {"text value", vtInt, true, 1, 16, S, 1, 10, Variant("3"), Up, true, Variant(4LL)},
      {"no number", vtInt, true, 1, 16, S, 1, 10, Variant("x"), Up, false, Null()},
  };
  for (const StepCase& c : cases) {
    std::unique_ptr<TcxCustomSpinEditProperties> p;
    if (c.behaviour == R)
      p = std::make_unique<RefusingProperties>(nullptr);
    else
      p = std::make_unique<TcxSpinEditProperties>(nullptr);
    p->SetValueType(c.type);
    if (c.bounded) SetRange(*p, c.minValue, c.maxValue);
    p->SetCircular(c.behaviour == W);
    p->SetIncrement(c.increment);
    p->SetLargeIncrement(c.largeIncrement);
    ASSERT_EQ(p->LimitBehaviour(), c.behaviour) << c.name;
    Variant result = Null();
    EXPECT_EQ(NextSpinValue(p.get(), c.value, c.kind, result), c.ok) << c.name;
    if (c.ok) {
      EXPECT_TRUE(VarSameTypeAndValue(result, c.result)) << c.name << ": " << result;
    }
  }
}

TEST(SpinEditProperties, SpinKeysStepOnlyWithCtrlWhenAsked) {
  TcxSpinEditProperties p(nullptr);
  const TShiftState none{};
  const TShiftState ctrl{ssCtrl};
  EXPECT_EQ(SpinStepKindOfKey(&p, win::VK_UP, none), SpinStepUp);
  EXPECT_EQ(SpinStepKindOfKey(&p, win::VK_DOWN, none), SpinStepDown);
  EXPECT_EQ(SpinStepKindOfKey(&p, win::VK_PRIOR, none), SpinStepPageUp);
  EXPECT_EQ(SpinStepKindOfKey(&p, win::VK_NEXT, none), SpinStepPageDown);
  EXPECT_EQ(SpinStepKindOfKey(&p, win::VK_LEFT, none), -1);
  p.SetUseCtrlIncrement(true);
  EXPECT_EQ(SpinStepKindOfKey(&p, win::VK_UP, none), -1);
  EXPECT_EQ(SpinStepKindOfKey(&p, win::VK_UP, ctrl), SpinStepUp);
  EXPECT_EQ(SpinStepKindOfKey(&p, win::VK_NEXT, ctrl), SpinStepPageDown);
}

TEST(SpinEditProperties, TypedTextBecomesAValueOrAnError) {
  TFormatSettingsPin pin{injected_locales::US()};
  TcxSpinEditProperties own(nullptr);
  own.SetValueType(vtInt);
  SetRange(own, 1, 16);
  const Variant kept(7LL);
  Variant value;
  std::string errorText = "old";

  // Empty: Null, or with a provider that requires a value 0 pulled into the
  // range.
  EXPECT_TRUE(ParseSpinTypedValue(&own, &own, nullptr, Variant(""), true, kept, value, errorText));
  EXPECT_TRUE(VarIsNull(value));
  Provider provider;
  provider.required = true;
  own.SetDefaultValuesProvider(&provider);
  EXPECT_TRUE(ParseSpinTypedValue(&own, &own, nullptr, Variant(""), true, kept, value, errorText));
  EXPECT_TRUE(VarSameTypeAndValue(value, Variant(1LL)));
  own.SetDefaultValuesProvider(nullptr);

  // Not a number: the kept value, silently, or an exception when asked.
  EXPECT_FALSE(ParseSpinTypedValue(&own, &own, nullptr, Variant("x"), true, kept, value, errorText));
  EXPECT_TRUE(VarSameTypeAndValue(value, kept));
  EXPECT_EQ(errorText, "");
  own.SetExceptionOnInvalidInput(true);
  EXPECT_FALSE(ParseSpinTypedValue(&own, &own, nullptr, Variant("x"), false, kept, value, errorText));
  EXPECT_EQ(errorText, "Invalid numeric value");
  try {
    ParseSpinTypedValue(&own, &own, nullptr, Variant("x"), true, kept, value, errorText);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Invalid numeric value");
  }

  // Handlers: the own properties' first, then the linked item's; a handler
  // may supply the value, the error text, or raise.
  TcxSpinEditProperties item(nullptr);
  item.SetValueType(vtInt);
  item.SetExceptionOnInvalidInput(true);
  std::string calls;
  struct Handlers {
    std::string* calls;
    void Own(TObject*, const std::string& text, Variant& v, std::string&, bool& error) {
      *calls += "own;";
      if (text == "ten") {
        v = Variant(10.0);
        error = false;
      }
    }
    void Item(TObject*, const std::string& text, Variant&, std::string& errorText, bool&) {
      *calls += "item;";
      if (text == "boom") throw EConvertError("no such channel");
      errorText = "unknown name";
    }
  } handlers{&calls};
  own.OnGetValue = TcxSpinEditGetValueEvent(&handlers, &Handlers::Own);
  item.OnGetValue = TcxSpinEditGetValueEvent(&handlers, &Handlers::Item);
  EXPECT_TRUE(ParseSpinTypedValue(&own, &item, nullptr, Variant("ten"), true, kept, value, errorText));
  EXPECT_TRUE(VarSameTypeAndValue(value, Variant(10LL)));
  EXPECT_EQ(calls, "own;item;");
  EXPECT_FALSE(ParseSpinTypedValue(&own, &item, nullptr, Variant("eleven"), false, kept, value, errorText));
  EXPECT_EQ(errorText, "unknown name");
  EXPECT_FALSE(ParseSpinTypedValue(&own, &item, nullptr, Variant("boom"), false, kept, value, errorText));
  EXPECT_EQ(errorText, "no such channel");
  EXPECT_THROW(ParseSpinTypedValue(&own, &item, nullptr, Variant("boom"), true, kept, value, errorText), Exception);
}

TEST(SpinEditProperties, ValidationShowsThePlainValueAndReportsTheLimits) {
  TFormatSettingsPin pin{injected_locales::US()};
  TcxSpinEditProperties p(nullptr);
  p.SetValueType(vtInt);
  SetRange(p, 1, 16);
  FakeSpinEdit edit(&p);
  struct Case {
    bool typed;
    const char* text;
    bool error;
    const char* shown;
    const char* errorText;
  };
  const Case cases[] = {
      {true, "5", false, "5", ""},
      {true, "20", true, "20", "Value out of bounds"},
      {true, "", false, "1", ""},  // an emptied edit shows the minimum
      {true, "x", true, "x", ""},
      {false, "whatever", false, "7", ""},  // a stepped value: the kept one
  };
  for (const Case& c : cases) {
    edit.typed = c.typed;
    Variant value(c.text);
    std::string errorText;
    bool error = false;
    p.ValidateDisplayValue(value, errorText, error, &edit);
    EXPECT_EQ(error, c.error) << c.text;
    EXPECT_EQ(VarToStr(value), c.shown) << c.text;
    EXPECT_EQ(errorText, c.errorText) << c.text;
  }
}

TEST(SpinEditProperties, KeyFilterByValueTypeAndCanEdit) {
  TFormatSettingsPin pin{CommaDecimals()};
  EXPECT_EQ(SpinEditTypedChar(U'.'), U',');
  EXPECT_EQ(SpinEditTypedChar(U','), U',');
  EXPECT_EQ(SpinEditTypedChar(U'5'), U'5');
  struct Case {
    TcxSpinEditValueType type;
    bool canEdit;
    bool handler;
    char32_t ch;
    bool accepted;
  };
  const Case cases[] = {
      {vtFloat, true, false, U'7', true},   {vtFloat, true, false, U',', true},
      {vtFloat, true, false, U'e', true},   {vtFloat, true, false, U'x', false},
      {vtFloat, true, false, U'.', false},  {vtInt, true, false, U',', false},
      {vtInt, true, false, U'E', true},     {vtInt, true, false, U'-', true},
      {vtInt, true, false, 8, true},        {vtInt, true, true, U'x', true},
      {vtInt, false, false, U'7', false},   {vtInt, false, false, 8, false},
      {vtInt, false, true, U'7', false},    {vtInt, false, false, 3, true},
  };
  for (const Case& c : cases) {
    TcxSpinEditProperties p(nullptr);
    p.SetValueType(c.type);
    p.SetCanEdit(c.canEdit);
    EXPECT_EQ(IsSpinEditAcceptableChar(&p, c.ch, c.handler), c.accepted)
        << static_cast<int>(c.ch) << " type " << c.type << " canEdit " << c.canEdit;
  }
  TcxSpinEditProperties p(nullptr);
  TcxCharSet extra;
  extra.set('x');
  p.SetExtraAcceptedChars(extra);
  EXPECT_TRUE(IsSpinEditAcceptableChar(&p, U'x', false));
}

TEST(SpinEditProperties, FastButtonsAreEditButtonsTwoAndThree) {
  TcxSpinEditProperties p(nullptr);
  int changes = 0;
  struct Counter {
    int* n;
    void Changed(TObject*) { ++*n; }
  } counter{&changes};
  p.OnPropertiesChanged = TNotifyEvent(&counter, &Counter::Changed);
  EXPECT_EQ(p.Buttons()->Count(), 2);
  SpinButtonsSettings* settings = &p;
  EXPECT_EQ(settings->SpinButtonsPosition(), sbpVert);
  p.SpinButtons()->SetShowFastButtons(true);
  EXPECT_EQ(p.Buttons()->Count(), 4);
  EXPECT_TRUE(settings->ShowFastButtons());
  p.SpinButtons()->SetPosition(sbpHorzLeftRight);
  EXPECT_EQ(settings->SpinButtonsPosition(), sbpHorzLeftRight);
  p.SpinButtons()->SetShowFastButtons(false);
  EXPECT_EQ(p.Buttons()->Count(), 2);
  EXPECT_GE(changes, 3);
  // Each setting announces a change, and only a change.
  changes = 0;
  p.SetCanEdit(false);
  p.SetCircular(true);
  p.SetExceptionOnInvalidInput(true);
  p.SetIncrement(2);
  p.SetLargeIncrement(20);
  p.SetUseCtrlIncrement(true);
  p.SetValueType(vtInt);
  EXPECT_EQ(changes, 7);
  p.SetIncrement(2);
  p.SetValueType(vtInt);
  p.SpinButtons()->SetPosition(sbpHorzLeftRight);
  EXPECT_EQ(changes, 7);

  EXPECT_EQ(p.ViewDataClass(), EditViewDataClassOf<TcxSpinEditViewData>());
  auto viewInfo = p.ViewInfoClass()();
  EXPECT_NE(dynamic_cast<TcxSpinEditViewInfo*>(viewInfo.get()), nullptr);
}

TEST(SpinEditProperties, CopyingTakesTheSpinSettingsAndAnAssignedValueTypeOnly) {
  TcxSpinEditProperties source(nullptr);
  source.SetCanEdit(false);
  source.SetCircular(true);
  source.SetExceptionOnInvalidInput(true);
  source.SetIncrement(0.5);
  source.SetLargeIncrement(5);
  source.SpinButtons()->SetShowFastButtons(true);
  source.SpinButtons()->SetPosition(sbpHorzRight);
  source.SetUseCtrlIncrement(true);
  SetRange(source, 1, 16);

  TcxSpinEditProperties copy(nullptr);
  copy.SetValueType(vtInt);
  copy.Assign(&source);
  EXPECT_FALSE(copy.CanEdit());
  EXPECT_TRUE(copy.Circular());
  EXPECT_TRUE(copy.ExceptionOnInvalidInput());
  EXPECT_EQ(copy.Increment(), 0.5);
  EXPECT_EQ(copy.LargeIncrement(), 5);
  EXPECT_TRUE(copy.SpinButtons()->ShowFastButtons());
  EXPECT_EQ(copy.SpinButtons()->Position(), sbpHorzRight);
  EXPECT_EQ(copy.Buttons()->Count(), 4);
  EXPECT_TRUE(copy.UseCtrlIncrement());
  EXPECT_EQ(copy.MaxValue(), 16);
  // The source leaves its value type to the provider: so does the copy.
  EXPECT_FALSE(copy.AssignedValues()->ValueType());
  EXPECT_EQ(copy.ValueType(), vtFloat);
  source.SetValueType(vtInt);
  copy.Assign(&source);
  EXPECT_TRUE(copy.AssignedValues()->ValueType());
  EXPECT_EQ(copy.ValueType(), vtInt);
}

TEST(SpinEditProperties, RegisteredAsAnEditorKindWithARepositoryItem) {
  InitializeEditors();
  TcxRegisteredClasses* kinds = GetRegisteredEditProperties();
  const Integer index = kinds->IndexOfClass(TcxSpinEditProperties::StaticClass());
  ASSERT_GE(index, 0);
  EXPECT_EQ(kinds->Descriptions(index), "SpinEdit|Represents a spin editor");
  TcxEditRepository repository(nullptr);
  TcxEditRepositoryItem* item = repository.NewRepositoryItem(TcxEditRepositorySpinItem::StaticClass());
  EXPECT_NE(dynamic_cast<TcxSpinEditProperties*>(item->Properties()), nullptr);
  EXPECT_NE(FindClass("TcxEditRepositorySpinItem"), nullptr);
}

}  // namespace
