#include "suite/editors/cxFilterEditHelpers.h"

#include "suite/editors/cxCheckBox.h"
#include "suite/editors/cxComboBox.h"
#include "suite/editors/cxCurrencyEdit.h"
#include "suite/editors/cxCurrencyEditProperties.h"
#include "suite/editors/cxDropDownEdit.h"
#include "suite/editors/cxMaskEdit.h"
#include "suite/editors/cxRadioGroup.h"
#include "suite/editors/cxSpinEdit.h"
#include "suite/editors/cxSpinEditProperties.h"
#include "suite/editors/cxTextEdit.h"
#include "suite/editors/cxTextEditProperties.h"
#include "platform/rtl/Utf8.h"

VXN_IMPLEMENT_FILTER_EDIT_HELPER(TcxCustomFilterEditHelper, TObject)
VXN_IMPLEMENT_FILTER_EDIT_HELPER(TcxFilterTextEditHelper, TcxCustomFilterEditHelper)
VXN_IMPLEMENT_FILTER_EDIT_HELPER(TcxFilterMemoHelper, TcxFilterTextEditHelper)
VXN_IMPLEMENT_FILTER_EDIT_HELPER(TcxFilterMRUEditHelper, TcxFilterTextEditHelper)
VXN_IMPLEMENT_FILTER_EDIT_HELPER(TcxFilterHyperLinkEditHelper, TcxFilterTextEditHelper)
VXN_IMPLEMENT_FILTER_EDIT_HELPER(TcxFilterCurrencyEditHelper, TcxFilterTextEditHelper)
VXN_IMPLEMENT_FILTER_EDIT_HELPER(TcxFilterMaskEditHelper, TcxFilterTextEditHelper)
VXN_IMPLEMENT_FILTER_EDIT_HELPER(TcxFilterSpinEditHelper, TcxFilterMaskEditHelper)
VXN_IMPLEMENT_FILTER_EDIT_HELPER(TcxFilterComboBoxHelper, TcxFilterMaskEditHelper)
VXN_IMPLEMENT_FILTER_EDIT_HELPER(TcxFilterCheckBoxHelper, TcxCustomFilterEditHelper)
VXN_IMPLEMENT_FILTER_EDIT_HELPER(TcxFilterRadioGroupHelper, TcxCustomFilterEditHelper)

namespace {

constexpr TcxFilterOperatorSet PatternOperators = fosLike | fosNotLike;
// Equal through non-blanks; with the extended set also the ranges and lists.
constexpr TcxFilterOperatorSet BasicOperators = 0x7FE;
constexpr TcxFilterOperatorSet ExtendedOperators = 0x7FFE;
constexpr TcxFilterOperatorSet ComparisonOperators = BasicOperators & ~PatternOperators;  // 0x67E
constexpr TcxFilterOperatorSet RangeAndListOperators = fosBetween | fosNotBetween | fosInList | fosNotInList;
constexpr TcxFilterOperatorSet PickOperators = fosEqual | fosNotEqual | fosBlanks | fosNonBlanks;  // 0x606

// What a number column offers: comparisons, and with the extended set the
// ranges and lists.
constexpr TcxFilterOperatorSet NumberOperators(bool AExtendedSet) {
  return AExtendedSet ? ComparisonOperators | RangeAndListOperators : ComparisonOperators;
}

}  // namespace

// --- base ---------------------------------------------------------------------------------------

void TcxCustomFilterEditHelper::ClearPropertiesEvents(TcxCustomEditProperties* AProperties) const {
  AProperties->OnButtonClick = {};
  AProperties->OnChange = {};
  AProperties->OnEditValueChanged = {};
  AProperties->OnValidate = {};
}

void TcxCustomFilterEditHelper::InitializeEdit(TcxCustomEdit* AEdit, TcxCustomEditProperties* ASourceProperties) const {
  TcxCustomEditProperties* properties = AEdit->ActiveProperties();
  InitializeProperties(properties, ASourceProperties, KeepsButtons(properties));
}

bool TcxCustomFilterEditHelper::KeepsProviderLink(TcxCustomEditProperties*) const { return true; }

bool TcxCustomFilterEditHelper::KeepsButtons(TcxCustomEditProperties* AProperties) const {
  return AProperties->InheritsFrom(TcxCustomDropDownEditProperties::StaticClass()) ||
         AProperties->InheritsFrom(TcxCustomSpinEditProperties::StaticClass());
}

void TcxCustomFilterEditHelper::GetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AProperties,
                                               Variant& AValue, std::u16string& ADisplayText) const {
  AValue = AEdit->EditValue();
  ADisplayText = AProperties->DisplayTextOf(AValue, false);
}

TcxFilterOperatorSet TcxCustomFilterEditHelper::SupportedOperators(TcxCustomEditProperties*,
                                                                   const TObject* AValueTypeClass,
                                                                   bool AExtendedSet) const {
  TcxFilterOperatorSet result = AExtendedSet ? ExtendedOperators : BasicOperators;
  if (!FilterValueTypeIsString(AValueTypeClass)) result &= ~PatternOperators;
  return result;
}

void TcxCustomFilterEditHelper::InitializeProperties(TcxCustomEditProperties* ADest,
                                                     TcxCustomEditProperties* ASource, bool AKeepButtons) const {
  ADest->Assign(ASource);
  ADest->Alignment()->SetHorz(taLeftJustify);
  ADest->Alignment()->SetVert(taTopJustify);
  ADest->SetBeepOnError(false);
  if (!AKeepButtons) ADest->Buttons()->Clear();
  ADest->SetReadOnly(false);
  ADest->SetValidateOnEnter(true);
  if (!KeepsProviderLink(ASource)) ADest->SetDefaultValuesProvider(nullptr);
  ClearPropertiesEvents(ADest);
}

bool TcxCustomFilterEditHelper::IsValueValid(const TObject* AValueTypeClass, Variant& AValue) const {
  return FilterValueTypeIsValueValid(AValueTypeClass, AValue);
}

void TcxCustomFilterEditHelper::SetFilterValue(TcxCustomEdit*, TcxCustomEditProperties*, const Variant&) const {}

// --- text kinds ---------------------------------------------------------------------------------

TClass TcxFilterTextEditHelper::FilterEditClass() const { return TcxTextEdit::StaticClass(); }

void TcxFilterTextEditHelper::InitializeProperties(TcxCustomEditProperties* ADest,
                                                   TcxCustomEditProperties* ASource, bool AKeepButtons) const {
  TcxCustomFilterEditHelper::InitializeProperties(ADest, ASource, AKeepButtons);
  ADest->SetAutoSelect(true);
  if (auto* dest = dynamic_cast<TcxCustomTextEditProperties*>(ADest)) {
    dest->SetHideSelection(true);
    dest->SetViewStyle(vsNormal);
  }
}

void TcxFilterTextEditHelper::SetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties*,
                                             const Variant& AValue) const {
  AEdit->SetEditValue(AValue);
}

TcxFilterOperatorSet TcxFilterMemoHelper::SupportedOperators(TcxCustomEditProperties*, const TObject*, bool) const {
  return PatternOperators | fosBlanks | fosNonBlanks;
}

TClass TcxFilterCurrencyEditHelper::FilterEditClass() const { return TcxCurrencyEdit::StaticClass(); }

TcxFilterOperatorSet TcxFilterCurrencyEditHelper::SupportedOperators(TcxCustomEditProperties*, const TObject*,
                                                                     bool AExtendedSet) const {
  return NumberOperators(AExtendedSet);
}

void TcxFilterCurrencyEditHelper::InitializeProperties(TcxCustomEditProperties* ADest,
                                                       TcxCustomEditProperties* ASource, bool AKeepButtons) const {
  TcxFilterTextEditHelper::InitializeProperties(ADest, ASource, AKeepButtons);
  if (auto* dest = dynamic_cast<TcxCustomTextEditProperties*>(ADest)) {
    dest->SetMinValue(0);
    dest->SetMaxValue(0);
  }
  if (auto* dest = dynamic_cast<TcxCustomCurrencyEditProperties*>(ADest)) {
    dest->SetNullable(true);
    dest->SetNullString({});
  }
}

// --- masked kinds -------------------------------------------------------------------------------

TClass TcxFilterMaskEditHelper::FilterEditClass() const { return TcxMaskEdit::StaticClass(); }

bool TcxFilterMaskEditHelper::HasEditMask(TcxCustomEditProperties* AProperties) {
  auto* properties = dynamic_cast<TcxCustomMaskEditProperties*>(AProperties);
  return properties && properties->IsMasked();
}

TcxFilterOperatorSet TcxFilterMaskEditHelper::SupportedOperators(TcxCustomEditProperties* AProperties,
                                                                 const TObject* AValueTypeClass,
                                                                 bool AExtendedSet) const {
  TcxFilterOperatorSet result = ComparisonOperators;
  if (!HasEditMask(AProperties) && FilterValueTypeIsString(AValueTypeClass)) result |= PatternOperators;
  if (AExtendedSet) result |= RangeAndListOperators;
  return result;
}

void TcxFilterMaskEditHelper::InitializeProperties(TcxCustomEditProperties* ADest,
                                                   TcxCustomEditProperties* ASource, bool AKeepButtons) const {
  TcxFilterTextEditHelper::InitializeProperties(ADest, ASource, AKeepButtons);
  // A filter value may be typed in part: the extended expression mode lets
  // the user leave an expression unfinished.
  auto* source = dynamic_cast<TcxCustomMaskEditProperties*>(ASource);
  auto* dest = dynamic_cast<TcxCustomMaskEditProperties*>(ADest);
  if (source && dest && source->MaskKind() == emkRegExpr) dest->SetMaskKind(emkRegExprEx);
  ADest->SetAutoSelect(!HasEditMask(ADest));
}

TClass TcxFilterSpinEditHelper::FilterEditClass() const { return TcxSpinEdit::StaticClass(); }

TcxFilterOperatorSet TcxFilterSpinEditHelper::SupportedOperators(TcxCustomEditProperties*, const TObject*,
                                                                 bool AExtendedSet) const {
  return NumberOperators(AExtendedSet);
}

void TcxFilterSpinEditHelper::InitializeProperties(TcxCustomEditProperties* ADest,
                                                   TcxCustomEditProperties* ASource, bool AKeepButtons) const {
  TcxFilterMaskEditHelper::InitializeProperties(ADest, ASource, AKeepButtons);
  if (auto* dest = dynamic_cast<TcxCustomSpinEditProperties*>(ADest)) dest->SetCanEdit(true);
}

void TcxFilterSpinEditHelper::InitializeRangeProperties(TcxCustomEditProperties* ADest,
                                                        TcxCustomEditProperties* ASource, bool AKeepButtons,
                                                        Double AMin, Double AMax) const {
  TcxFilterSpinEditHelper::InitializeProperties(ADest, ASource, AKeepButtons);
  ADest->Buttons()->Add();
  ADest->Buttons()->Add();
  if (auto* dest = dynamic_cast<TcxCustomTextEditProperties*>(ADest)) {
    dest->SetMinValue(AMin);
    dest->SetMaxValue(AMax);
  }
}

TClass TcxFilterComboBoxHelper::FilterEditClass() const { return TcxComboBox::StaticClass(); }

void TcxFilterComboBoxHelper::InitializeProperties(TcxCustomEditProperties* ADest,
                                                   TcxCustomEditProperties* ASource, bool AKeepButtons) const {
  TcxFilterMaskEditHelper::InitializeProperties(ADest, ASource, AKeepButtons);
  auto* dest = dynamic_cast<TcxCustomComboBoxProperties*>(ADest);
  if (!dest) return;
  dest->SetButtonGlyph(nullptr);
  dest->SetDropDownRows(8);
  dest->SetDropDownListStyle(lsEditList);
  dest->SetImmediateDropDown(false);
  dest->SetPopupAlignment(taLeftJustify);
  dest->SetRevertable(false);
}

// --- pick-list kinds ----------------------------------------------------------------------------

namespace {

// The pick-list kinds edit their filter value in a fixed-list combo box
// whose items they fill themselves; nothing else of the column's settings
// applies to it.
TcxCustomComboBoxProperties* PickListOf(TcxCustomEditProperties* ADest, const TcxCustomFilterEditHelper& AHelper) {
  auto* dest = dynamic_cast<TcxCustomComboBoxProperties*>(ADest);
  if (!dest) return nullptr;
  dest->Items()->Clear();
  dest->SetDropDownListStyle(lsFixedList);
  dest->SetDefaultValuesProvider(nullptr);
  AHelper.ClearPropertiesEvents(dest);
  return dest;
}

Integer PickedIndex(TcxCustomEdit* AEdit) {
  auto* combo = dynamic_cast<TcxCustomComboBox*>(AEdit);
  return combo ? combo->ItemIndex() : -1;
}

void Pick(TcxCustomEdit* AEdit, Integer AIndex) {
  if (auto* combo = dynamic_cast<TcxCustomComboBox*>(AEdit)) combo->SetItemIndex(AIndex);
}

}  // namespace

TClass TcxFilterCheckBoxHelper::FilterEditClass() const { return TcxComboBox::StaticClass(); }

void TcxFilterCheckBoxHelper::InitializeProperties(TcxCustomEditProperties* ADest,
                                                   TcxCustomEditProperties* ASource, bool) const {
  auto* source = dynamic_cast<TcxCustomCheckBoxProperties*>(ASource);
  TcxCustomComboBoxProperties* dest = PickListOf(ADest, *this);
  if (!dest || !source) return;
  dest->Items()->Add(Utf16ToUtf8(source->DisplayTextOf(source->ValueChecked(), false)));
  dest->Items()->Add(Utf16ToUtf8(source->DisplayTextOf(source->ValueUnchecked(), false)));
}

void TcxFilterCheckBoxHelper::GetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AProperties,
                                             Variant& AValue, std::u16string& ADisplayText) const {
  auto* source = dynamic_cast<TcxCustomCheckBoxProperties*>(AProperties);
  const Integer index = PickedIndex(AEdit);
  if (!source || index < 0 || index > 1) {
    AValue = Null();
    ADisplayText.clear();
    return;
  }
  AValue = index == 0 ? source->ValueChecked() : source->ValueUnchecked();
  ADisplayText = source->DisplayTextOf(AValue, false);
}

void TcxFilterCheckBoxHelper::SetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AProperties,
                                             const Variant& AValue) const {
  auto* source = dynamic_cast<TcxCustomCheckBoxProperties*>(AProperties);
  if (!source) return;
  Variant state;
  source->ConvertToEditValue(AValue, state, AEdit->IsEditFocused());
  switch (static_cast<TcxCheckBoxState>(state.AsInteger())) {
    case cbsUnchecked: Pick(AEdit, 1); break;
    case cbsChecked: Pick(AEdit, 0); break;
    default: Pick(AEdit, -1); break;
  }
}

TClass TcxFilterRadioGroupHelper::FilterEditClass() const { return TcxComboBox::StaticClass(); }

void TcxFilterRadioGroupHelper::InitializeProperties(TcxCustomEditProperties* ADest,
                                                     TcxCustomEditProperties* ASource, bool) const {
  auto* source = dynamic_cast<TcxCustomRadioGroupProperties*>(ASource);
  TcxCustomComboBoxProperties* dest = PickListOf(ADest, *this);
  if (!dest || !source) return;
  TcxRadioGroupItems* items = source->RadioItems();
  for (Integer i = 0; i < items->Count(); ++i) dest->Items()->Add(items->ItemAt(i)->Caption());
}

void TcxFilterRadioGroupHelper::GetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AProperties,
                                               Variant& AValue, std::u16string& ADisplayText) const {
  auto* source = dynamic_cast<TcxCustomRadioGroupProperties*>(AProperties);
  if (!source) return;
  const Integer index = PickedIndex(AEdit);
  if (index < 0 || index >= source->RadioItems()->Count()) {
    AValue = source->DefaultValue();
    ADisplayText = source->DefaultCaption();
    return;
  }
  TcxRadioGroupItem* item = source->RadioItems()->ItemAt(index);
  AValue = item->Value();
  ADisplayText = Utf8ToUtf16(item->Caption());
}

void TcxFilterRadioGroupHelper::SetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AProperties,
                                               const Variant& AValue) const {
  auto* source = dynamic_cast<TcxCustomRadioGroupProperties*>(AProperties);
  if (!source) return;
  Variant index;
  source->ConvertToEditValue(AValue, index, AEdit->IsEditFocused());
  Pick(AEdit, index.AsInteger());
}

TcxFilterOperatorSet TcxFilterCheckBoxHelper::SupportedOperators(TcxCustomEditProperties*, const TObject*,
                                                                 bool) const {
  return PickOperators;
}

TcxFilterOperatorSet TcxFilterRadioGroupHelper::SupportedOperators(TcxCustomEditProperties*, const TObject*,
                                                                   bool AExtendedSet) const {
  return AExtendedSet ? PickOperators | fosInList | fosNotInList : PickOperators;
}

// --- start-up -----------------------------------------------------------------------------------

void RegisterFilterEditHelpers() {
  InitializeFilterEditsController();
  TcxFilterEditsController* controller = FilterEditsController();
  controller->Register(TcxCheckBoxProperties::StaticClass(), TcxFilterCheckBoxHelper::Class());
  controller->Register(TcxComboBoxProperties::StaticClass(), TcxFilterComboBoxHelper::Class());
  controller->Register(TcxCurrencyEditProperties::StaticClass(), TcxFilterCurrencyEditHelper::Class());
  controller->Register(TcxMaskEditProperties::StaticClass(), TcxFilterMaskEditHelper::Class());
  controller->Register(TcxRadioGroupProperties::StaticClass(), TcxFilterRadioGroupHelper::Class());
  controller->Register(TcxSpinEditProperties::StaticClass(), TcxFilterSpinEditHelper::Class());
  controller->Register(TcxTextEditProperties::StaticClass(), TcxFilterTextEditHelper::Class());
}
