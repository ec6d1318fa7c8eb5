// Designators: a first name followed by member selections, indexes and
// argument lists, resolved link by link when the program is loaded and walked
// at run time. A designator is itself an item, so expressions, assignments
// and calls use it like a variable. Set expressions are the run-time form of
// a bracketed list of values and ranges.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "script/fs_iinterpreter.h"

class TfsXMLItem;

// One link: the item it resolved to and, in its own list, the argument
// expressions given to that item.
class TfsDesignatorItem : public TfsItemList {
  VXN_DECLARE_CLASS(TfsDesignatorItem)

 public:
  TfsDesignatorItem() = default;
  ~TfsDesignatorItem() override;

  TfsCustomVariable* Arguments(Integer index) const {
    return static_cast<TfsCustomVariable*>(ItemAt(index));
  }

  TfsCustomVariable* Resolved = nullptr;
  // Set when the link owns what it resolved to (a nested designator).
  std::unique_ptr<TfsCustomVariable> OwnedResolved;
  bool Indexed = false;
  std::string SourcePosition;
};

enum TfsDesignatorKind : Byte {
  dkGeneral = 0,
  dkVariable = 1,
  dkStringChar = 2,
  dkArrayElement = 3,
};

class TfsDesignator : public TfsCustomVariable {
  VXN_DECLARE_CLASS(TfsDesignator)

 public:
  explicit TfsDesignator(TfsScript* script);
  ~TfsDesignator() override;

  TfsDesignatorItem* Links(Integer index) const {
    return static_cast<TfsDesignatorItem*>(ItemAt(index));
  }
  // Appends a link resolved to item; the link is returned for its arguments.
  TfsDesignatorItem* AddLink(TfsCustomVariable* item, std::string_view position = {});

  // Takes type, read-only state and kind from the links.
  void Finalise();
  // Takes over other's links, kind, index data, type and linked item.
  void Borrow(TfsDesignator& other);
  // A designator of the specialised class for its kind (or d itself for a
  // general one); d is consumed.
  static std::unique_ptr<TfsDesignator> Specialise(std::unique_ptr<TfsDesignator> d);

  Variant GetValue() override;
  void SetValue(const Variant& value) override;

  TfsDesignatorKind Kind = dkGeneral;
  TfsScript* OwnerScript;
  TfsCustomVariable* IndexExpression = nullptr;  // dkStringChar: owned by link 1
  TfsDesignatorItem* IndexList = nullptr;        // dkArrayElement: link 1
  // A copy of the program element whose resolution waits for a run-time
  // value (late binding); resolved at the first evaluation.
  std::unique_ptr<TfsXMLItem> PendingSource;

 protected:
  // Walks the links; reads the last one, or assigns value to it.
  Variant Evaluate(bool assign, const Variant& value);
  // Resolves a late-bound designator once, against the values current now.
  void Rebuild();
};

// A single variable: read and written straight on it (LinkedItem).
class TfsVariableDesignator : public TfsDesignator {
  VXN_DECLARE_CLASS(TfsVariableDesignator)

 public:
  using TfsDesignator::TfsDesignator;
  Variant GetValue() override;
  void SetValue(const Variant& value) override;
};

// One character of a String variable, changed in the variable's own storage.
class TfsStringDesignator : public TfsDesignator {
  VXN_DECLARE_CLASS(TfsStringDesignator)

 public:
  using TfsDesignator::TfsDesignator;
  Variant GetValue() override;
  void SetValue(const Variant& value) override;
};

// An element of a declared array, through the array's helper.
class TfsArrayDesignator : public TfsDesignator {
  VXN_DECLARE_CLASS(TfsArrayDesignator)

 public:
  using TfsDesignator::TfsDesignator;
  Variant GetValue() override;
  void SetValue(const Variant& value) override;

 private:
  TfsCustomHelper* PrepareHelper();
};

// Values and ranges of a bracketed list; a range a..b is stored as a, an
// empty (nullptr) entry, b.
class TfsSetExpression : public TfsCustomVariable {
  VXN_DECLARE_CLASS(TfsSetExpression)

 public:
  TfsSetExpression() : TfsCustomVariable("", "", fvtVariant) {}

  void AddValue(TfsCustomVariable* expression) { Add(expression); }  // takes ownership
  void AddRange() { Add(nullptr); }

  // The entries' values, Null at range markers.
  Variant GetValue() override;
  bool Contains(const Variant& value);
};

// Objects made by a constructor call inside a script. Only these may be
// freed by a script (its delete statement and Free); any other object is the
// host's and outlives the script.
void fsMarkScriptCreated(const TObject* object);
bool fsIsScriptCreated(const TObject* object);
void fsForgetScriptCreated(const TObject* object);

// Rebuilds a late-bound designator from its program element in the given
// script; installed by the program loader.
using TfsDesignatorRebuilder = std::unique_ptr<TfsDesignator> (*)(const TfsXMLItem& source,
                                                                  TfsScript* script);
// Returns the rebuilder installed before.
TfsDesignatorRebuilder fsSetDesignatorRebuilder(TfsDesignatorRebuilder rebuilder);
