// The filter edit helpers' registry: which helper serves the filter value
// editor of a column shown by a given editor kind, keyed by the kind's
// properties class; the operator set the helpers answer with; and the two
// value-type queries they need from the data folder.
#pragma once

#include <map>

#include "platform/rtl/Variants.h"
#include "suite/foundation/cxClasses.h"

// One bit per filter operator; bit 0 is never set.
using TcxFilterOperatorSet = Cardinal;

inline constexpr TcxFilterOperatorSet fosEqual = 1u << 1;
inline constexpr TcxFilterOperatorSet fosNotEqual = 1u << 2;
inline constexpr TcxFilterOperatorSet fosLess = 1u << 3;
inline constexpr TcxFilterOperatorSet fosLessEqual = 1u << 4;
inline constexpr TcxFilterOperatorSet fosGreater = 1u << 5;
inline constexpr TcxFilterOperatorSet fosGreaterEqual = 1u << 6;
inline constexpr TcxFilterOperatorSet fosLike = 1u << 7;
inline constexpr TcxFilterOperatorSet fosNotLike = 1u << 8;
inline constexpr TcxFilterOperatorSet fosBlanks = 1u << 9;
inline constexpr TcxFilterOperatorSet fosNonBlanks = 1u << 10;
inline constexpr TcxFilterOperatorSet fosBetween = 1u << 11;
inline constexpr TcxFilterOperatorSet fosNotBetween = 1u << 12;
inline constexpr TcxFilterOperatorSet fosInList = 1u << 13;
inline constexpr TcxFilterOperatorSet fosNotInList = 1u << 14;
inline constexpr TcxFilterOperatorSet fosYesterday = 1u << 15;
inline constexpr TcxFilterOperatorSet fosToday = 1u << 16;
inline constexpr TcxFilterOperatorSet fosTomorrow = 1u << 17;
inline constexpr TcxFilterOperatorSet fosLastWeek = 1u << 18;
inline constexpr TcxFilterOperatorSet fosLastMonth = 1u << 19;
inline constexpr TcxFilterOperatorSet fosLastYear = 1u << 20;
inline constexpr TcxFilterOperatorSet fosThisWeek = 1u << 21;
inline constexpr TcxFilterOperatorSet fosThisMonth = 1u << 22;
inline constexpr TcxFilterOperatorSet fosThisYear = 1u << 23;
inline constexpr TcxFilterOperatorSet fosNextWeek = 1u << 24;
inline constexpr TcxFilterOperatorSet fosNextMonth = 1u << 25;
inline constexpr TcxFilterOperatorSet fosNextYear = 1u << 26;

class TcxCustomFilterEditHelper;
using TcxCustomFilterEditHelperClass = const TcxCustomFilterEditHelper*;

// Pairs (properties class, helper class), each keyed by the parent of the
// properties class given: the helper registered for a kind's properties
// then also serves every sibling and descendant of that class.
class TcxFilterEditsController : public TcxRegisteredClassList {
  VXN_DECLARE_CLASS(TcxFilterEditsController)

 public:
  TcxFilterEditsController() = default;

  void Register(TClass APropertiesClass, TClass AHelperClass) override;
  void Unregister(TClass APropertiesClass, TClass AHelperClass) override;
  void Register(TClass APropertiesClass, TcxCustomFilterEditHelperClass AHelper);
  void Unregister(TClass APropertiesClass, TcxCustomFilterEditHelperClass AHelper);

  // The helper of the nearest registered ancestor of APropertiesClass; nil
  // when there is none.
  TcxCustomFilterEditHelperClass FindHelper(TClass APropertiesClass) const;

 private:
  // Helper classes are plain class references in the list; this maps each
  // back to the one object that carries its operations.
  std::map<TClass, TcxCustomFilterEditHelperClass> FHelpers;
};

// The one controller, from InitializeFilterEditsController to
// FinalizeFilterEditsController; nil outside that span.
TcxFilterEditsController* FilterEditsController();
void InitializeFilterEditsController();
void FinalizeFilterEditsController();

// Value types live in the data folder, which this folder cannot see; the
// data folder installs these queries when it starts. Until then no value
// type is a string type and every value is valid.
using TcxValueTypeIsStringProc = bool (*)(const TObject* AValueTypeClass);
using TcxValueTypeIsValueValidProc = bool (*)(const TObject* AValueTypeClass, Variant& AValue);
void SetFilterValueTypeQueries(TcxValueTypeIsStringProc AIsString, TcxValueTypeIsValueValidProc AIsValueValid);
// False for nil.
bool FilterValueTypeIsString(const TObject* AValueTypeClass);
// True for nil: there is no type to refuse the value.
bool FilterValueTypeIsValueValid(const TObject* AValueTypeClass, Variant& AValue);
