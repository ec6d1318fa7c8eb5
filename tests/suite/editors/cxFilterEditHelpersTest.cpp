// Filter edit helpers: the controller's lookup by the parent of the
// registered properties class, the start-up registrations, the operators
// each helper offers, and the set-up the helpers give a filter editor's
// properties from a column's.
#include "suite/editors/cxFilterEditHelpers.h"

#include <gtest/gtest.h>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/Utf8.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxCheckBox.h"
#include "suite/editors/cxComboBox.h"
#include "suite/editors/cxCurrencyEdit.h"
#include "suite/editors/cxCurrencyEditProperties.h"
#include "suite/editors/cxDropDownEdit.h"
#include "suite/editors/cxMaskEdit.h"
#include "suite/editors/cxProgressBar.h"
#include "suite/editors/cxRadioGroup.h"
#include "suite/editors/cxSpinEdit.h"
#include "suite/editors/cxSpinEditProperties.h"
#include "suite/editors/cxTextEdit.h"
#include "suite/editors/cxTextEditProperties.h"
#include "suite/editors/cxTrackBar.h"

namespace {

// A spin kind of its own: a sibling of TcxSpinEditProperties.
class OtherSpinProperties : public TcxCustomSpinEditProperties {
  VXN_DECLARE_CLASS(OtherSpinProperties)

 public:
  using TcxCustomSpinEditProperties::TcxCustomSpinEditProperties;
};

// Stand-ins for the data folder's value types.
class StringTypeStandIn : public TObject {};
class IntegerTypeStandIn : public TObject {};
const StringTypeStandIn stringType;
const IntegerTypeStandIn integerType;

class ValueTypeQueriesScope {
 public:
  ValueTypeQueriesScope() {
    SetFilterValueTypeQueries([](const TObject* T) { return T == &stringType; },
                              [](const TObject* T, Variant& V) { return T != &integerType || VarIsNumeric(V); });
  }
  ~ValueTypeQueriesScope() { SetFilterValueTypeQueries(nullptr, nullptr); }
};

}  // namespace

VXN_IMPLEMENT_CREATABLE_CLASS(OtherSpinProperties, TcxCustomSpinEditProperties)

TEST(FilterEditsController, KeysEachHelperByTheParentOfThePropertiesClass) {
  TcxFilterEditsController controller;
  controller.Register(TcxTextEditProperties::StaticClass(), TcxFilterTextEditHelper::Class());
  // Registered after its ancestor's pair, yet found first for its branch.
  controller.Register(TcxSpinEditProperties::StaticClass(), TcxFilterSpinEditHelper::Class());

  EXPECT_EQ(controller.Items(0).ItemClass, TcxCustomTextEditProperties::StaticClass());
  EXPECT_EQ(controller.Items(1).ItemClass, TcxCustomSpinEditProperties::StaticClass());
  EXPECT_EQ(controller.Items(1).RegisteredClass, TcxFilterSpinEditHelper::StaticClass());

  struct Case {
    TClass PropertiesClass;
    TcxCustomFilterEditHelperClass Helper;
  } cases[] = {
      {TcxTextEditProperties::StaticClass(), TcxFilterTextEditHelper::Class()},
      {TcxCustomTextEditProperties::StaticClass(), TcxFilterTextEditHelper::Class()},
      // No pair of its own yet: the text helper serves its ancestor's kind.
      {TcxCurrencyEditProperties::StaticClass(), TcxFilterTextEditHelper::Class()},
      {TcxSpinEditProperties::StaticClass(), TcxFilterSpinEditHelper::Class()},
      {TcxCustomSpinEditProperties::StaticClass(), TcxFilterSpinEditHelper::Class()},
      {OtherSpinProperties::StaticClass(), TcxFilterSpinEditHelper::Class()},
      {TcxCustomEditProperties::StaticClass(), nullptr},
      {TcxCheckBoxProperties::StaticClass(), nullptr},
      {nullptr, nullptr},
  };
  for (const Case& c : cases)
    EXPECT_EQ(controller.FindHelper(c.PropertiesClass), c.Helper) << (c.PropertiesClass ? c.PropertiesClass->Name : "nil");

  // Removal takes the class as given, like registration.
  controller.Unregister(TcxSpinEditProperties::StaticClass(), TcxFilterSpinEditHelper::Class());
  EXPECT_EQ(controller.Count(), 1);
  EXPECT_EQ(controller.FindHelper(OtherSpinProperties::StaticClass()), TcxFilterTextEditHelper::Class());
  controller.Unregister(TcxCustomTextEditProperties::StaticClass(), TcxFilterTextEditHelper::Class());
  EXPECT_EQ(controller.Count(), 1) << "the pair is keyed by TcxCustomEditProperties' child, not by it";
}

TEST(FilterEditsController, StartUpRegistersTheHelpersOfTheKindsThereAre) {
  InitializeEditors();
  ASSERT_NE(FilterEditsController(), nullptr);
  struct Case {
    TClass PropertiesClass;
    TcxCustomFilterEditHelperClass Helper;
  } cases[] = {
      {TcxTextEditProperties::StaticClass(), TcxFilterTextEditHelper::Class()},
      {TcxCheckBoxProperties::StaticClass(), TcxFilterCheckBoxHelper::Class()},
      {TcxComboBoxProperties::StaticClass(), TcxFilterComboBoxHelper::Class()},
      {TcxCurrencyEditProperties::StaticClass(), TcxFilterCurrencyEditHelper::Class()},
      {TcxCustomCurrencyEditProperties::StaticClass(), TcxFilterCurrencyEditHelper::Class()},
      {TcxRadioGroupProperties::StaticClass(), TcxFilterRadioGroupHelper::Class()},
      {TcxSpinEditProperties::StaticClass(), TcxFilterSpinEditHelper::Class()},
      {TcxProgressBarProperties::StaticClass(), TcxFilterProgressBarHelper::Class()},
      {TcxTrackBarProperties::StaticClass(), TcxFilterTrackBarHelper::Class()},
  };
  for (const Case& c : cases) EXPECT_EQ(FilterEditsController()->FindHelper(c.PropertiesClass), c.Helper) << c.PropertiesClass->Name;
}

TEST(FilterEditHelpers, HelperTreeAndClassReferences) {
  struct Case {
    TcxCustomFilterEditHelperClass Helper;
    TClass Parent;
  } cases[] = {
      {TcxFilterTextEditHelper::Class(), TcxCustomFilterEditHelper::StaticClass()},
      {TcxFilterCheckBoxHelper::Class(), TcxCustomFilterEditHelper::StaticClass()},
      {TcxFilterRadioGroupHelper::Class(), TcxCustomFilterEditHelper::StaticClass()},
      {TcxFilterMemoHelper::Class(), TcxFilterTextEditHelper::StaticClass()},
      {TcxFilterMaskEditHelper::Class(), TcxFilterTextEditHelper::StaticClass()},
      {TcxFilterCurrencyEditHelper::Class(), TcxFilterTextEditHelper::StaticClass()},
      {TcxFilterMRUEditHelper::Class(), TcxFilterTextEditHelper::StaticClass()},
      {TcxFilterHyperLinkEditHelper::Class(), TcxFilterTextEditHelper::StaticClass()},
      {TcxFilterSpinEditHelper::Class(), TcxFilterMaskEditHelper::StaticClass()},
      {TcxFilterComboBoxHelper::Class(), TcxFilterMaskEditHelper::StaticClass()},
      {TcxFilterProgressBarHelper::Class(), TcxFilterSpinEditHelper::StaticClass()},
      {TcxFilterTrackBarHelper::Class(), TcxFilterSpinEditHelper::StaticClass()},
  };
  for (const Case& c : cases) EXPECT_EQ(c.Helper->ClassParent(), c.Parent) << c.Helper->ClassName();
  EXPECT_FALSE(TcxFilterTextEditHelper::Class()->UseDisplayValue());
  EXPECT_TRUE(TcxFilterCheckBoxHelper::Class()->UseDisplayValue());
  EXPECT_TRUE(TcxFilterRadioGroupHelper::Class()->UseDisplayValue());
}

TEST(FilterEditHelpers, SupportedOperatorsPerHelperValueTypeAndSet) {
  ValueTypeQueriesScope queries;
  TcxTextEditProperties text(nullptr);
  TcxSpinEditProperties spin(nullptr);
  TcxCheckBoxProperties check(nullptr);
  const TObject* none = nullptr;
  struct Case {
    TcxCustomFilterEditHelperClass Helper;
    TcxCustomEditProperties* Properties;
    const TObject* ValueType;
    TcxFilterOperatorSet Basic, Extended;
  } cases[] = {
      // Like and not like only for a string column.
      {TcxCustomFilterEditHelper::Class(), &text, &stringType, 0x7FE, 0x7FFE},
      {TcxCustomFilterEditHelper::Class(), &text, &integerType, 0x67E, 0x7E7E},
      {TcxCustomFilterEditHelper::Class(), &text, none, 0x67E, 0x7E7E},
      {TcxFilterTextEditHelper::Class(), &text, &stringType, 0x7FE, 0x7FFE},
      {TcxFilterTextEditHelper::Class(), &text, &integerType, 0x67E, 0x7E7E},
      {TcxFilterMRUEditHelper::Class(), &text, &stringType, 0x7FE, 0x7FFE},
      {TcxFilterHyperLinkEditHelper::Class(), &text, &integerType, 0x67E, 0x7E7E},
      {TcxFilterMemoHelper::Class(), &text, &stringType, 0x780, 0x780},
      {TcxFilterMemoHelper::Class(), &text, &integerType, 0x780, 0x780},
      // Unmasked properties with a string value type allow patterns.
      {TcxFilterMaskEditHelper::Class(), &text, &stringType, 0x7FE, 0x7FFE},
      {TcxFilterMaskEditHelper::Class(), &text, &integerType, 0x67E, 0x7E7E},
      {TcxFilterCurrencyEditHelper::Class(), &text, &stringType, 0x67E, 0x7E7E},
      {TcxFilterSpinEditHelper::Class(), &spin, &stringType, 0x67E, 0x7E7E},
      {TcxFilterProgressBarHelper::Class(), &spin, &integerType, 0x67E, 0x7E7E},
      {TcxFilterTrackBarHelper::Class(), &spin, &integerType, 0x67E, 0x7E7E},
      {TcxFilterCheckBoxHelper::Class(), &check, &stringType, 0x606, 0x606},
      {TcxFilterRadioGroupHelper::Class(), &check, &stringType, 0x606, 0x6606},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.Helper->SupportedOperators(c.Properties, c.ValueType, false), c.Basic) << c.Helper->ClassName();
    EXPECT_EQ(c.Helper->SupportedOperators(c.Properties, c.ValueType, true), c.Extended) << c.Helper->ClassName();
    EXPECT_EQ(c.Helper->SupportedOperators(c.Properties, c.ValueType, true) & 1u, 0u);
  }
  EXPECT_EQ(fosEqual, 0x2u);
  EXPECT_EQ(fosNonBlanks, 0x400u);
  EXPECT_EQ(fosNotInList, 0x4000u);
  EXPECT_EQ(fosNextYear, 0x4000000u);
}

TEST(FilterEditHelpers, IsValueValidAsksTheValueType) {
  ValueTypeQueriesScope queries;
  Variant number = 5, text = "five";
  EXPECT_TRUE(TcxFilterTextEditHelper::Class()->IsValueValid(&integerType, number));
  EXPECT_FALSE(TcxFilterTextEditHelper::Class()->IsValueValid(&integerType, text));
  EXPECT_TRUE(TcxFilterTextEditHelper::Class()->IsValueValid(&stringType, text));
  EXPECT_TRUE(TcxFilterTextEditHelper::Class()->IsValueValid(nullptr, text));
}

namespace {

class EventSink {
 public:
  void Notify(TObject*) {}
  void ButtonClick(TObject*, Integer) {}
  void Validate(TObject*, Variant&, std::string&, bool&) {}
};

// Column settings a filter editor must not take over.
void GiveColumnSettings(TcxCustomTextEditProperties& P, EventSink& Sink) {
  P.Alignment()->SetHorz(taRightJustify);
  P.Alignment()->SetVert(taVCenter);
  P.SetBeepOnError(true);
  P.SetReadOnly(true);
  P.SetValidateOnEnter(false);
  P.SetAutoSelect(false);
  P.SetHideSelection(false);
  P.SetViewStyle(vsHideCursor);
  P.SetMaxLength(7);
  P.Buttons()->Add();
  P.OnButtonClick = TcxEditButtonClickEvent(&Sink, &EventSink::ButtonClick);
  P.OnChange = TNotifyEvent(&Sink, &EventSink::Notify);
  P.OnEditValueChanged = TNotifyEvent(&Sink, &EventSink::Notify);
  P.OnValidate = TcxEditValidateEvent(&Sink, &EventSink::Validate);
  P.OnPropertiesChanged = TNotifyEvent(&Sink, &EventSink::Notify);
}

void ExpectFilterEditorSettings(TcxCustomTextEditProperties& P) {
  EXPECT_EQ(P.Alignment()->Horz(), taLeftJustify);
  EXPECT_EQ(P.Alignment()->Vert(), taTopJustify);
  EXPECT_FALSE(P.BeepOnError());
  EXPECT_FALSE(P.ReadOnly());
  EXPECT_TRUE(P.IsReadOnlyStored()) << "ReadOnly is assigned, not left to a provider";
  EXPECT_TRUE(P.ValidateOnEnter());
  EXPECT_TRUE(P.AutoSelect());
  EXPECT_TRUE(P.HideSelection());
  EXPECT_EQ(P.ViewStyle(), vsNormal);
  EXPECT_FALSE(P.OnButtonClick.Assigned());
  EXPECT_FALSE(P.OnChange.Assigned());
  EXPECT_FALSE(P.OnEditValueChanged.Assigned());
  EXPECT_FALSE(P.OnValidate.Assigned());
}

}  // namespace

TEST(FilterEditHelpers, TextSetUpCopiesTheColumnThenResetsWhatAFilterEditorMustNotKeep) {
  EventSink sink;
  TcxTextEditProperties column(nullptr);
  GiveColumnSettings(column, sink);

  // Handlers the filter editor had before the set-up go as well.
  TcxTextEditProperties dest(nullptr);
  GiveColumnSettings(dest, sink);
  dest.SetMaxLength(3);
  TcxFilterTextEditHelper::Class()->InitializeProperties(&dest, &column, false);
  ExpectFilterEditorSettings(dest);
  EXPECT_EQ(dest.MaxLength(), 7) << "the rest comes from the column";
  EXPECT_EQ(dest.Buttons()->Count(), 0);
  EXPECT_TRUE(dest.OnPropertiesChanged.Assigned()) << "only the four value events are cleared";

  TcxTextEditProperties kept(nullptr);
  TcxFilterTextEditHelper::Class()->InitializeProperties(&kept, &column, true);
  EXPECT_EQ(kept.Buttons()->Count(), 1);
  // The column itself is untouched.
  EXPECT_TRUE(column.OnChange.Assigned());
  EXPECT_EQ(column.Alignment()->Horz(), taRightJustify);
}

TEST(FilterEditHelpers, CurrencySetUpDropsRangeAndAllowsNull) {
  EventSink sink;
  TcxCurrencyEditProperties column(nullptr);
  GiveColumnSettings(column, sink);
  column.SetMinValue(1);
  column.SetMaxValue(5);
  column.SetNullable(false);
  column.SetNullString("none");

  TcxCurrencyEditProperties dest(nullptr);
  TcxFilterCurrencyEditHelper::Class()->InitializeProperties(&dest, &column, false);
  ExpectFilterEditorSettings(dest);
  EXPECT_EQ(dest.MinValue(), 0);
  EXPECT_EQ(dest.MaxValue(), 0);
  EXPECT_TRUE(dest.Nullable());
  EXPECT_EQ(dest.NullString(), "");
}

TEST(FilterEditHelpers, SpinKindsKeepTheirButtonsAndAreEditable) {
  TcxSpinEditProperties column(nullptr);
  column.SetCanEdit(false);
  TcxTextEditProperties text(nullptr);
  TcxCustomDropDownEditProperties dropDown(nullptr);
  EXPECT_TRUE(TcxCustomFilterEditHelper::Class()->KeepsButtons(&column));
  EXPECT_TRUE(TcxCustomFilterEditHelper::Class()->KeepsButtons(&dropDown)) << "the drop-down button stays";
  EXPECT_FALSE(TcxFilterMRUEditHelper::Class()->KeepsButtons(&dropDown));
  EXPECT_FALSE(TcxCustomFilterEditHelper::Class()->KeepsButtons(&text));
  EXPECT_FALSE(TcxFilterMRUEditHelper::Class()->KeepsButtons(&column));
  EXPECT_TRUE(TcxCustomFilterEditHelper::Class()->KeepsProviderLink(&column));

  TcxSpinEditProperties dest(nullptr);
  const Integer spinButtons = dest.Buttons()->Count();
  TcxFilterSpinEditHelper::Class()->InitializeProperties(&dest, &column, true);
  EXPECT_TRUE(dest.CanEdit());
  EXPECT_EQ(dest.Buttons()->Count(), spinButtons);
  EXPECT_TRUE(dest.AutoSelect()) << "spin values carry no edit mask";
}

TEST(FilterEditHelpers, MaskSetUpTurnsAnExpressionKindIntoItsExtendedMode) {
  const struct {
    TcxEditMaskKind column, filter;
  } cases[] = {{emkStandard, emkStandard}, {emkRegExpr, emkRegExprEx}, {emkRegExprEx, emkRegExprEx}};
  for (const auto& c : cases) {
    TcxMaskEditProperties column(nullptr);
    column.SetMaskKind(c.column);
    TcxMaskEditProperties dest(nullptr);
    TcxFilterMaskEditHelper::Class()->InitializeProperties(&dest, &column, false);
    EXPECT_EQ(dest.MaskKind(), c.filter) << c.column;
    EXPECT_TRUE(dest.AutoSelect()) << "no edit mask";
  }
}

TEST(FilterEditHelpers, BarColumnsGetASpinEditorOverTheBarsRange) {
  TcxProgressBarProperties progress(nullptr);
  progress.SetMax(50);
  progress.SetMin(10);
  TcxSpinEditProperties dest(nullptr);
  TcxFilterProgressBarHelper::Class()->InitializeProperties(&dest, &progress, true);
  EXPECT_EQ(dest.MinValue(), 10);
  EXPECT_EQ(dest.MaxValue(), 50);
  EXPECT_EQ(dest.Buttons()->Count(), 2) << "the spin buttons the bar had none of to copy";
  EXPECT_TRUE(dest.CanEdit());

  TcxTrackBarProperties track(nullptr);
  track.SetMax(40);
  track.SetMin(-4);
  track.SetPageSize(6);
  TcxSpinEditProperties trackDest(nullptr);
  TcxFilterTrackBarHelper::Class()->InitializeProperties(&trackDest, &track, true);
  EXPECT_EQ(trackDest.MinValue(), -4);
  EXPECT_EQ(trackDest.MaxValue(), 40);
  EXPECT_EQ(trackDest.LargeIncrement(), 6);
  EXPECT_EQ(trackDest.Buttons()->Count(), 2);

  // The filter value editor itself: a spin edit stepping inside the bar's range.
  InitializeEditors();
  EXPECT_EQ(TcxFilterProgressBarHelper::Class()->FilterEditClass(), TcxSpinEdit::StaticClass());
  EXPECT_EQ(TcxFilterTrackBarHelper::Class()->FilterEditClass(), TcxSpinEdit::StaticClass());
  auto form = std::make_unique<TForm>(nullptr);
  auto* edit = new TcxSpinEdit(form.get());
  edit->SetParent(form.get());
  TcxFilterTrackBarHelper::Class()->InitializeEdit(edit, &track);
  edit->AssignValue(Variant(38));
  EXPECT_TRUE(edit->SpinStep(SpinStepPageUp));
  EXPECT_EQ(edit->CurrentDisplayText(), "40") << "a page of 6 stops at the bar's maximum";
  TcxFilterProgressBarHelper::Class()->InitializeEdit(edit, &progress);
  edit->AssignValue(Variant(11));
  EXPECT_TRUE(edit->SpinStep(SpinStepPageDown));
  EXPECT_EQ(edit->CurrentDisplayText(), "10");
}

TEST(FilterEditHelpers, EditLevelOperationsWorkOnTheEditsActiveProperties) {
  InitializeEditors();
  auto form = std::make_unique<TForm>(nullptr);
  auto* box = new TcxCheckBox(form.get());
  TcxCheckBoxProperties column(nullptr);
  column.SetReadOnly(true);
  column.SetValueChecked("yes");
  column.SetValueUnchecked("no");
  column.Buttons()->Add();
  EventSink sink;
  box->Properties()->OnChange = TNotifyEvent(&sink, &EventSink::Notify);

  TcxCustomFilterEditHelper::Class()->InitializeEdit(box, &column);
  TcxCustomEditProperties* active = box->ActiveProperties();
  EXPECT_FALSE(active->ReadOnly());
  EXPECT_TRUE(active->ValidateOnEnter());
  EXPECT_EQ(active->Buttons()->Count(), 0) << "a check box keeps no buttons";
  EXPECT_FALSE(active->OnChange.Assigned());

  // The text helper writes the value; the base reads it back with its text.
  TcxFilterTextEditHelper::Class()->SetFilterValue(box, &column, "yes");
  Variant value;
  std::u16string text;
  TcxCustomFilterEditHelper::Class()->GetFilterValue(box, &column, value, text);
  EXPECT_EQ(value.AsString(), "yes");
  EXPECT_EQ(text, column.DisplayTextOf("yes", false));
  // The base writes nothing.
  TcxCustomFilterEditHelper::Class()->SetFilterValue(box, &column, "no");
  EXPECT_EQ(box->EditValue().AsString(), "yes");
}

TEST(FilterEditHelpers, TextKindsEditTheirFilterValueInATextEdit) {
  struct Case {
    TcxCustomFilterEditHelperClass Helper;
    TClass EditClass;
  } cases[] = {
      {TcxCustomFilterEditHelper::Class(), nullptr},
      {TcxFilterTextEditHelper::Class(), TcxTextEdit::StaticClass()},
      {TcxFilterMemoHelper::Class(), TcxTextEdit::StaticClass()},
      {TcxFilterMRUEditHelper::Class(), TcxTextEdit::StaticClass()},
      {TcxFilterCurrencyEditHelper::Class(), TcxCurrencyEdit::StaticClass()},
      {TcxFilterMaskEditHelper::Class(), TcxMaskEdit::StaticClass()},
      {TcxFilterSpinEditHelper::Class(), TcxSpinEdit::StaticClass()},
      // Pick lists and combo-box columns edit in a combo box.
      {TcxFilterComboBoxHelper::Class(), TcxComboBox::StaticClass()},
      {TcxFilterCheckBoxHelper::Class(), TcxComboBox::StaticClass()},
      {TcxFilterRadioGroupHelper::Class(), TcxComboBox::StaticClass()},
  };
  for (const Case& c : cases) EXPECT_EQ(c.Helper->FilterEditClass(), c.EditClass) << c.Helper->ClassName();

  InitializeEditors();
  auto form = std::make_unique<TForm>(nullptr);
  auto* edit = new TcxTextEdit(form.get());
  EventSink sink;
  TcxTextEditProperties column(nullptr);
  GiveColumnSettings(column, sink);
  TcxFilterTextEditHelper::Class()->InitializeEdit(edit, &column);
  ExpectFilterEditorSettings(*edit->TextProperties());
  EXPECT_EQ(edit->TextProperties()->Buttons()->Count(), 0);

  TcxFilterTextEditHelper::Class()->SetFilterValue(edit, &column, "Ch 12");
  Variant value;
  std::u16string text;
  TcxFilterTextEditHelper::Class()->GetFilterValue(edit, &column, value, text);
  EXPECT_EQ(value.AsString(), "Ch 12");
  EXPECT_EQ(text, u"Ch 12");
}

TEST(FilterEditHelpers, ComboBoxSetUpOffersTheColumnsItemsForFreeTyping) {
  InitializeEditors();
  TcxComboBoxProperties column(nullptr);
  column.Items()->Add("67.0");
  column.Items()->Add("69.3");
  column.SetDropDownListStyle(lsFixedList);
  column.SetDropDownRows(3);
  column.SetRevertable(true);
  column.SetPopupAlignment(taRightJustify);
  column.ButtonGlyph()->SetSize(8, 8);
  column.SetButtonGlyph(column.ButtonGlyph());
  EventSink sink;
  column.OnChange = TNotifyEvent(&sink, &EventSink::Notify);
  TcxComboBoxProperties filter(nullptr);
  TcxFilterComboBoxHelper::Class()->InitializeProperties(&filter, &column, true);
  EXPECT_EQ(filter.Items()->Count(), 2);
  EXPECT_EQ(filter.DropDownListStyle(), lsEditList);
  EXPECT_EQ(filter.DropDownRows(), 8);
  EXPECT_FALSE(filter.Revertable());
  EXPECT_FALSE(filter.ImmediateDropDown());
  EXPECT_EQ(filter.PopupAlignment(), taLeftJustify);
  EXPECT_TRUE(filter.ButtonGlyph()->Empty());
  EXPECT_EQ(filter.Buttons()->Items(0)->Kind(), bkDown);
  EXPECT_FALSE(filter.OnChange.Assigned());
}

TEST(FilterEditHelpers, CheckBoxAndRadioGroupValuesArePickedFromAFixedList) {
  InitializeEditors();
  auto form = std::make_unique<TForm>(nullptr);
  auto* combo = new TcxComboBox(form.get());
  combo->SetParent(form.get());
  combo->ComboProperties()->Items()->Add("stale");
  EventSink sink;
  combo->ComboProperties()->OnChange = TNotifyEvent(&sink, &EventSink::Notify);

  // Check box: the checked value first, then the unchecked one; a third
  // state selects nothing.
  TcxCheckBoxProperties box(nullptr);
  box.SetValueChecked(Variant(std::string("Y")));
  box.SetValueUnchecked(Variant(std::string("N")));
  const TcxCustomFilterEditHelper* check = TcxFilterCheckBoxHelper::Class();
  check->InitializeEdit(combo, &box);
  TcxComboBoxProperties* list = combo->ComboProperties();
  ASSERT_EQ(list->Items()->Count(), 2);
  EXPECT_EQ(list->Items()->Strings(0), Utf16ToUtf8(box.DisplayTextOf(Variant(std::string("Y")), false)));
  EXPECT_EQ(list->Items()->Strings(1), Utf16ToUtf8(box.DisplayTextOf(Variant(std::string("N")), false)));
  EXPECT_EQ(list->DropDownListStyle(), lsFixedList);
  EXPECT_FALSE(list->OnChange.Assigned());
  struct CheckCase {
    const char* set;
    Integer index;
    bool null;
  };
  const CheckCase checks[] = {{"N", 1, false}, {"Y", 0, false}, {"maybe", -1, true}};
  for (const CheckCase& c : checks) {
    SCOPED_TRACE(c.set);
    check->SetFilterValue(combo, &box, Variant(std::string(c.set)));
    EXPECT_EQ(combo->ItemIndex(), c.index);
    Variant value;
    std::u16string text;
    check->GetFilterValue(combo, &box, value, text);
    EXPECT_EQ(VarIsNull(value), c.null);
    if (!c.null) {
      EXPECT_EQ(value.AsString(), c.set);
      EXPECT_EQ(text, box.DisplayTextOf(value, false));
    } else {
      EXPECT_TRUE(text.empty());
    }
  }

  // Radio group: the items' captions; nothing picked gives the default.
  TcxRadioGroupProperties group(nullptr);
  const char* captions[] = {"Off", "Low", "High"};
  for (Integer i = 0; i < 3; ++i) {
    TcxRadioGroupItem* item = group.RadioItems()->Add();
    item->SetCaption(captions[i]);
    item->SetValue(Variant(i * 10));
  }
  group.SetDefaultValue(Variant(-1));
  group.SetDefaultCaption(u"none");
  const TcxCustomFilterEditHelper* radio = TcxFilterRadioGroupHelper::Class();
  radio->InitializeEdit(combo, &group);
  ASSERT_EQ(list->Items()->Count(), 3);
  EXPECT_EQ(list->Items()->Strings(2), "High");
  EXPECT_EQ(list->DropDownListStyle(), lsFixedList);
  radio->SetFilterValue(combo, &group, Variant(20));
  EXPECT_EQ(combo->ItemIndex(), 2);
  Variant value;
  std::u16string text;
  radio->GetFilterValue(combo, &group, value, text);
  EXPECT_EQ(value.AsInteger(), 20);
  EXPECT_EQ(text, u"High");
  radio->SetFilterValue(combo, &group, Variant(5));
  EXPECT_EQ(combo->ItemIndex(), -1);
  radio->GetFilterValue(combo, &group, value, text);
  EXPECT_EQ(value.AsInteger(), -1);
  EXPECT_EQ(text, u"none");
}
