// Filter edit helpers: for one editor kind, the editor that edits a filter
// condition's value for a column shown with that kind, how its properties
// are set up from the column's, how the value is read and written, and
// which operators the kind offers. A helper has no instances of its own:
// each class has exactly one object, which serves as its class reference
// (TcxCustomFilterEditHelperClass), and every operation is class-level.
#pragma once

#include <string>

#include "platform/rtl/Variants.h"
#include "suite/editors/cxEdit.h"
#include "suite/editors/cxEditProperties.h"
#include "suite/editors/cxFilterEditsController.h"

#define VXN_DECLARE_FILTER_EDIT_HELPER(Name)     \
  VXN_DECLARE_CLASS(Name)                        \
                                                 \
 public:                                         \
  static TcxCustomFilterEditHelperClass Class(); \
                                                 \
 private:

// Gives the class its one object; pair with VXN_DECLARE_FILTER_EDIT_HELPER.
#define VXN_IMPLEMENT_FILTER_EDIT_HELPER(Name, Parent) \
  VXN_IMPLEMENT_CLASS(Name, Parent)                    \
  TcxCustomFilterEditHelperClass Name::Class() {       \
    static const Name instance;                        \
    return &instance;                                  \
  }

class TcxCustomFilterEditHelper : public TObject {
  VXN_DECLARE_FILTER_EDIT_HELPER(TcxCustomFilterEditHelper)

 public:
  // A filter editor must not run the column's handlers.
  virtual void ClearPropertiesEvents(TcxCustomEditProperties* AProperties) const;
  virtual void InitializeEdit(TcxCustomEdit* AEdit, TcxCustomEditProperties* ASourceProperties) const;
  virtual bool KeepsProviderLink(TcxCustomEditProperties* ASourceProperties) const;
  virtual bool KeepsButtons(TcxCustomEditProperties* AProperties) const;
  // The editor class of the filter value; nil when the kind has none.
  virtual TClass FilterEditClass() const { return nullptr; }
  virtual void GetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AProperties, Variant& AValue,
                              std::u16string& ADisplayText) const;
  // AValueTypeClass is the column's value type (nil when unknown).
  virtual TcxFilterOperatorSet SupportedOperators(TcxCustomEditProperties* AProperties,
                                                  const TObject* AValueTypeClass, bool AExtendedSet) const;
  virtual void InitializeProperties(TcxCustomEditProperties* ADest, TcxCustomEditProperties* ASource,
                                    bool AKeepButtons) const;
  virtual bool IsValueValid(const TObject* AValueTypeClass, Variant& AValue) const;
  virtual void SetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AProperties,
                              const Variant& AValue) const;
  virtual bool UseDisplayValue() const { return false; }

 protected:
  TcxCustomFilterEditHelper() = default;
};

class TcxFilterTextEditHelper : public TcxCustomFilterEditHelper {
  VXN_DECLARE_FILTER_EDIT_HELPER(TcxFilterTextEditHelper)

 public:
  TClass FilterEditClass() const override;
  void InitializeProperties(TcxCustomEditProperties* ADest, TcxCustomEditProperties* ASource,
                            bool AKeepButtons) const override;
  void SetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AProperties,
                      const Variant& AValue) const override;

 protected:
  TcxFilterTextEditHelper() = default;
};

// A memo's text is only ever matched as a pattern or tested for blanks.
class TcxFilterMemoHelper : public TcxFilterTextEditHelper {
  VXN_DECLARE_FILTER_EDIT_HELPER(TcxFilterMemoHelper)

 public:
  TcxFilterOperatorSet SupportedOperators(TcxCustomEditProperties* AProperties, const TObject* AValueTypeClass,
                                          bool AExtendedSet) const override;

 protected:
  TcxFilterMemoHelper() = default;
};

// The recent-entries button has no use in a filter value.
class TcxFilterMRUEditHelper : public TcxFilterTextEditHelper {
  VXN_DECLARE_FILTER_EDIT_HELPER(TcxFilterMRUEditHelper)

 public:
  bool KeepsButtons(TcxCustomEditProperties*) const override { return false; }

 protected:
  TcxFilterMRUEditHelper() = default;
};

class TcxFilterHyperLinkEditHelper : public TcxFilterTextEditHelper {
  VXN_DECLARE_FILTER_EDIT_HELPER(TcxFilterHyperLinkEditHelper)

 public:
  // Its own editor, the hyperlink edit, is not in the suite yet.
  TClass FilterEditClass() const override { return nullptr; }

 protected:
  TcxFilterHyperLinkEditHelper() = default;
};

class TcxFilterCurrencyEditHelper : public TcxFilterTextEditHelper {
  VXN_DECLARE_FILTER_EDIT_HELPER(TcxFilterCurrencyEditHelper)

 public:
  TClass FilterEditClass() const override;
  TcxFilterOperatorSet SupportedOperators(TcxCustomEditProperties* AProperties, const TObject* AValueTypeClass,
                                          bool AExtendedSet) const override;
  // A filter value is neither clipped to the column's range nor required.
  void InitializeProperties(TcxCustomEditProperties* ADest, TcxCustomEditProperties* ASource,
                            bool AKeepButtons) const override;

 protected:
  TcxFilterCurrencyEditHelper() = default;
};

class TcxFilterMaskEditHelper : public TcxFilterTextEditHelper {
  VXN_DECLARE_FILTER_EDIT_HELPER(TcxFilterMaskEditHelper)

 public:
  TClass FilterEditClass() const override;
  // A masked value cannot hold the wildcards of a pattern.
  TcxFilterOperatorSet SupportedOperators(TcxCustomEditProperties* AProperties, const TObject* AValueTypeClass,
                                          bool AExtendedSet) const override;
  void InitializeProperties(TcxCustomEditProperties* ADest, TcxCustomEditProperties* ASource,
                            bool AKeepButtons) const override;

 protected:
  TcxFilterMaskEditHelper() = default;
  static bool HasEditMask(TcxCustomEditProperties* AProperties);
};

class TcxFilterSpinEditHelper : public TcxFilterMaskEditHelper {
  VXN_DECLARE_FILTER_EDIT_HELPER(TcxFilterSpinEditHelper)

 public:
  TClass FilterEditClass() const override;
  TcxFilterOperatorSet SupportedOperators(TcxCustomEditProperties* AProperties, const TObject* AValueTypeClass,
                                          bool AExtendedSet) const override;
  void InitializeProperties(TcxCustomEditProperties* ADest, TcxCustomEditProperties* ASource,
                            bool AKeepButtons) const override;

 protected:
  TcxFilterSpinEditHelper() = default;
  // For the kinds whose values a spin edit stands in for: the spin set-up,
  // the spin buttons back (the source kind has none to copy) and the
  // source's range.
  void InitializeRangeProperties(TcxCustomEditProperties* ADest, TcxCustomEditProperties* ASource,
                                 bool AKeepButtons, Double AMin, Double AMax) const;
};

// A combo-box column's value is typed freely, with the column's items
// offered for completion.
class TcxFilterComboBoxHelper : public TcxFilterMaskEditHelper {
  VXN_DECLARE_FILTER_EDIT_HELPER(TcxFilterComboBoxHelper)

 public:
  TClass FilterEditClass() const override;
  void InitializeProperties(TcxCustomEditProperties* ADest, TcxCustomEditProperties* ASource,
                            bool AKeepButtons) const override;

 protected:
  TcxFilterComboBoxHelper() = default;
};

// The value of a check-box column is picked from a two-item list: the
// checked value, then the unchecked one.
class TcxFilterCheckBoxHelper : public TcxCustomFilterEditHelper {
  VXN_DECLARE_FILTER_EDIT_HELPER(TcxFilterCheckBoxHelper)

 public:
  TClass FilterEditClass() const override;
  void GetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AProperties, Variant& AValue,
                      std::u16string& ADisplayText) const override;
  TcxFilterOperatorSet SupportedOperators(TcxCustomEditProperties* AProperties, const TObject* AValueTypeClass,
                                          bool AExtendedSet) const override;
  void InitializeProperties(TcxCustomEditProperties* ADest, TcxCustomEditProperties* ASource,
                            bool AKeepButtons) const override;
  void SetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AProperties,
                      const Variant& AValue) const override;
  bool UseDisplayValue() const override { return true; }

 protected:
  TcxFilterCheckBoxHelper() = default;
};

// The value of a radio-group column is picked from the list of its items.
class TcxFilterRadioGroupHelper : public TcxCustomFilterEditHelper {
  VXN_DECLARE_FILTER_EDIT_HELPER(TcxFilterRadioGroupHelper)

 public:
  TClass FilterEditClass() const override;
  void GetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AProperties, Variant& AValue,
                      std::u16string& ADisplayText) const override;
  TcxFilterOperatorSet SupportedOperators(TcxCustomEditProperties* AProperties, const TObject* AValueTypeClass,
                                          bool AExtendedSet) const override;
  void InitializeProperties(TcxCustomEditProperties* ADest, TcxCustomEditProperties* ASource,
                            bool AKeepButtons) const override;
  void SetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AProperties,
                      const Variant& AValue) const override;
  bool UseDisplayValue() const override { return true; }

 protected:
  TcxFilterRadioGroupHelper() = default;
};

// Creates the controller and registers the helpers of the kinds whose
// properties this folder has, in the controller's fixed order.
void RegisterFilterEditHelpers();
