#include "script/TfsDesignator.h"

#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/rtl/ObjectHandles.h"
#include "platform/rtl/SysUtils.h"
#include "script/TfsExpression.h"
#include "script/fs_xml.h"

VXN_IMPLEMENT_CLASS(TfsDesignatorItem, TfsItemList)
VXN_IMPLEMENT_CLASS(TfsDesignator, TfsCustomVariable)
VXN_IMPLEMENT_CLASS(TfsVariableDesignator, TfsDesignator)
VXN_IMPLEMENT_CLASS(TfsStringDesignator, TfsDesignator)
VXN_IMPLEMENT_CLASS(TfsArrayDesignator, TfsDesignator)
VXN_IMPLEMENT_CLASS(TfsSetExpression, TfsCustomVariable)

namespace {

std::unordered_set<Integer>& ScriptCreated() {
  static std::unordered_set<Integer> handles;
  return handles;
}

TfsDesignatorRebuilder gRebuilder = nullptr;

// Values of a running routine's locals, saved around a recursive call.
struct SavedLocals {
  struct Entry {
    TfsCustomVariable* Item;
    Variant Value;
  };
  std::vector<Entry> Entries;

  void Save(TfsScript* local) {
    for (Integer i = 0; i < local->ItemCount(); ++i) {
      auto* item = dynamic_cast<TfsCustomVariable*>(local->ItemAt(i));
      if (dynamic_cast<TfsVariable*>(item) || dynamic_cast<TfsParamItem*>(item))
        Entries.push_back({item, item->GetValue()});
    }
  }
  void Restore() {
    for (Entry& e : Entries) {
      if (auto* s = dynamic_cast<TfsStringVariable*>(e.Item))
        s->Str = VarToStr(e.Value);
      else
        e.Item->Value = std::move(e.Value);
    }
    Entries.clear();
  }
};

size_t CheckedCharIndex(const std::string& s, const Variant& index) {
  const Integer i = index.AsInteger();
  if (i < 1 || static_cast<size_t>(i) > s.size())
    throw ERangeError(Format("String index %d out of range", {i}));
  return static_cast<size_t>(i - 1);
}

}  // namespace

void fsMarkScriptCreated(const TObject* object) {
  if (object) ScriptCreated().insert(ObjectToHandle(object));
}

bool fsIsScriptCreated(const TObject* object) {
  return object && ScriptCreated().count(ObjectToHandle(object)) > 0;
}

void fsForgetScriptCreated(const TObject* object) {
  if (object) ScriptCreated().erase(ObjectToHandle(object));
}

TfsDesignatorRebuilder fsSetDesignatorRebuilder(TfsDesignatorRebuilder rebuilder) {
  return std::exchange(gRebuilder, rebuilder);
}

// ---------------------------------------------------------------------------
// TfsDesignatorItem

TfsDesignatorItem::~TfsDesignatorItem() = default;

// ---------------------------------------------------------------------------
// TfsDesignator

TfsDesignator::TfsDesignator(TfsScript* script)
    : TfsCustomVariable("", "", fvtVariant), OwnerScript(script) {}

TfsDesignator::~TfsDesignator() = default;

TfsDesignatorItem* TfsDesignator::AddLink(TfsCustomVariable* item, std::string_view position) {
  auto* link = new TfsDesignatorItem;
  link->Resolved = item;
  link->SourcePosition = position;
  Add(link);
  return link;
}

void TfsDesignator::Finalise() {
  Kind = dkGeneral;
  IndexExpression = nullptr;
  IndexList = nullptr;
  LinkedItem = nullptr;
  const Integer n = ItemCount();
  if (n == 0) return;
  TfsCustomVariable* last = Links(n - 1)->Resolved;
  if (last) {
    TypeCode = last->TypeCode;
    TypeName = last->TypeName;
    ReadOnly = last->ReadOnly;
    // A constructor call gives an instance of the class named before it.
    if (TypeCode == fvtConstructor) {
      TypeCode = fvtClass;
      if (n >= 2 && Links(n - 2)->Resolved) TypeName = Links(n - 2)->Resolved->TypeName;
    }
  }
  TfsCustomVariable* first = Links(0)->Resolved;
  if (n == 1 && dynamic_cast<TfsVariable*>(first)) {
    Kind = dkVariable;
    LinkedItem = first;
  } else if (n == 2 && dynamic_cast<TfsStringVariable*>(first) && Links(1)->ItemCount() > 0) {
    Kind = dkStringChar;
    IndexExpression = Links(1)->Arguments(0);
  } else if (n == 2 && dynamic_cast<TfsVariable*>(first) && first->TypeCode == fvtArray) {
    Kind = dkArrayElement;
    IndexList = Links(1);
  }
}

void TfsDesignator::Borrow(TfsDesignator& other) {
  Clear();
  std::swap(FItems, other.FItems);
  Kind = other.Kind;
  IndexExpression = other.IndexExpression;
  IndexList = other.IndexList;
  TypeCode = other.TypeCode;
  TypeName = other.TypeName;
  ReadOnly = other.ReadOnly;
  LinkedItem = other.LinkedItem;
  other.IndexExpression = nullptr;
  other.IndexList = nullptr;
}

std::unique_ptr<TfsDesignator> TfsDesignator::Specialise(std::unique_ptr<TfsDesignator> d) {
  std::unique_ptr<TfsDesignator> special;
  switch (d->Kind) {
    case dkVariable: special = std::make_unique<TfsVariableDesignator>(d->OwnerScript); break;
    case dkStringChar: special = std::make_unique<TfsStringDesignator>(d->OwnerScript); break;
    case dkArrayElement: special = std::make_unique<TfsArrayDesignator>(d->OwnerScript); break;
    default: return d;
  }
  special->Borrow(*d);
  special->SourcePosition = d->SourcePosition;
  special->SourceUnit = d->SourceUnit;
  special->ResultWanted = d->ResultWanted;
  return special;
}

void TfsDesignator::Rebuild() {
  if (!gRebuilder) throw Exception("Late-bound designators cannot be resolved without a program loader");
  std::unique_ptr<TfsXMLItem> source = std::move(PendingSource);
  std::unique_ptr<TfsDesignator> built = gRebuilder(*source, OwnerScript);
  Borrow(*built);
}

Variant TfsDesignator::GetValue() {
  if (PendingSource) Rebuild();
  return Evaluate(false, Variant());
}

void TfsDesignator::SetValue(const Variant& value) {
  if (PendingSource) Rebuild();
  Evaluate(true, value);
}

Variant TfsDesignator::Evaluate(bool assign, const Variant& value) {
  Variant current = Null();
  const Integer n = ItemCount();
  TfsCustomVariable* previous = nullptr;
  for (Integer i = 0; i < n; ++i) {
    TfsDesignatorItem* link = Links(i);
    TfsCustomVariable* item = link->Resolved;
    const bool last = i == n - 1;
    if (auto* nested = dynamic_cast<TfsDesignator*>(item)) {
      current = nested->GetValue();
      previous = item;
      continue;
    }
    // A routine called while it runs (recursion): its locals and
    // parameters are the caller's, so they are saved around the call; also
    // when the inner call raises.
    auto* routine = dynamic_cast<TfsProcVariable*>(item);
    SavedLocals saved;
    if (routine && routine->Running) saved.Save(routine->LocalScript);
    struct RestoreGuard {
      SavedLocals& Saved;
      ~RestoreGuard() { Saved.Restore(); }
    } restoreGuard{saved};

    const Integer params = item->Count();
    const Integer args = std::min(params, link->ItemCount());
    for (Integer a = 0; a < args; ++a) {
      TfsCustomVariable* argument = link->Arguments(a);
      if (item->MacroParams) {
        auto* expression = dynamic_cast<TfsExpression*>(argument);
        item->Params(a)->SetValue(Variant(expression ? expression->SourceText : std::string()));
      } else {
        item->Params(a)->SetValue(argument->GetValue());
      }
    }
    if (auto* helper = dynamic_cast<TfsCustomHelper*>(item)) {
      helper->ParentItem = previous;
      helper->InstanceValue = current;
      helper->OwnerScript = OwnerScript;
    }
    if (assign && last) {
      item->SetValue(value);
    } else {
      item->ResultWanted = !last || ResultWanted;
      current = item->GetValue();
      if (item->TypeCode == fvtConstructor) fsMarkScriptCreated(VarToObject(current));
    }
    // Var arguments come back through their argument expressions.
    for (Integer a = 0; a < args; ++a) {
      TfsParamItem* param = item->Params(a);
      if (param->ByReference && !item->MacroParams) link->Arguments(a)->SetValue(param->GetValue());
    }
    previous = item;
  }
  return current;
}

// ---------------------------------------------------------------------------
// Specialised designators

Variant TfsVariableDesignator::GetValue() { return LinkedItem->GetValue(); }

void TfsVariableDesignator::SetValue(const Variant& value) { LinkedItem->SetValue(value); }

Variant TfsStringDesignator::GetValue() {
  auto* variable = static_cast<TfsStringVariable*>(Links(0)->Resolved);
  const size_t at = CheckedCharIndex(variable->Str, IndexExpression->GetValue());
  return Variant(std::string(1, variable->Str[at]));
}

void TfsStringDesignator::SetValue(const Variant& value) {
  auto* variable = static_cast<TfsStringVariable*>(Links(0)->Resolved);
  const size_t at = CheckedCharIndex(variable->Str, IndexExpression->GetValue());
  if (variable->ReadOnly) return;
  const std::string c = VarToStr(value);
  if (!c.empty()) variable->Str[at] = c[0];
}

TfsCustomHelper* TfsArrayDesignator::PrepareHelper() {
  TfsCustomVariable* array = Links(0)->Resolved;
  auto* helper = dynamic_cast<TfsCustomHelper*>(array->LinkedItem);
  if (!helper) throw Exception(Format("Array %s has no element access", {array->Name}));
  helper->ParentItem = array;
  helper->OwnerScript = OwnerScript;
  const Integer args = std::min(helper->Count(), IndexList->ItemCount());
  for (Integer a = 0; a < args; ++a) helper->Params(a)->SetValue(IndexList->Arguments(a)->GetValue());
  return helper;
}

Variant TfsArrayDesignator::GetValue() { return PrepareHelper()->GetValue(); }

void TfsArrayDesignator::SetValue(const Variant& value) { PrepareHelper()->SetValue(value); }

// ---------------------------------------------------------------------------
// TfsSetExpression

Variant TfsSetExpression::GetValue() {
  const Integer n = ItemCount();
  if (n == 0) return VarArrayCreate({0, -1}, varVariant);
  Variant result = VarArrayCreate({0, n - 1}, varVariant);
  for (Integer i = 0; i < n; ++i) {
    auto* entry = static_cast<TfsCustomVariable*>(ItemAt(i));
    VarArrayPut(result, entry ? entry->GetValue() : Null(), {i});
  }
  return result;
}

bool TfsSetExpression::Contains(const Variant& value) {
  const Integer n = ItemCount();
  for (Integer i = 0; i < n; ++i) {
    auto* entry = static_cast<TfsCustomVariable*>(ItemAt(i));
    if (!entry) continue;  // a stray range marker
    if (i + 1 < n && ItemAt(i + 1) == nullptr && i + 2 < n && ItemAt(i + 2)) {
      const Variant low = entry->GetValue();
      const Variant high = static_cast<TfsCustomVariable*>(ItemAt(i + 2))->GetValue();
      if (VarCmpLe(low, value) && VarCmpLe(value, high)) return true;
      i += 2;
      continue;
    }
    if (VarCmpEq(value, entry->GetValue())) return true;
  }
  return false;
}
