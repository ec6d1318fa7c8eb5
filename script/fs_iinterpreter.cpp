#include "script/fs_iinterpreter.h"

#include <algorithm>

#include "platform/rtl/Formatting.h"
#include "platform/rtl/ObjectHandles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "script/fs_iparser.h"
#include "script/TfsILParser.h"

VXN_IMPLEMENT_CLASS(TfsItemList, TObject)
VXN_IMPLEMENT_CLASS(TfsCustomVariable, TfsItemList)
VXN_IMPLEMENT_CLASS(TfsVariable, TfsCustomVariable)
VXN_IMPLEMENT_CLASS(TfsTypeVariable, TfsCustomVariable)
VXN_IMPLEMENT_CLASS(TfsStringVariable, TfsVariable)
VXN_IMPLEMENT_CLASS(TfsParamItem, TfsCustomVariable)
VXN_IMPLEMENT_CLASS(TfsProcVariable, TfsCustomVariable)
VXN_IMPLEMENT_CLASS(TfsStatement, TfsItemList)
VXN_IMPLEMENT_CLASS(TfsRTTIModule, TObject)
VXN_IMPLEMENT_CREATABLE_CLASS(TfsScript, TComponent)
VXN_IMPLEMENT_CLASS(TfsCustomHelper, TfsCustomVariable)
VXN_IMPLEMENT_CLASS(TfsPropertyHelper, TfsCustomHelper)
VXN_IMPLEMENT_CLASS(TfsMethodHelper, TfsCustomHelper)
VXN_IMPLEMENT_CLASS(TfsEventHelper, TfsCustomHelper)
VXN_IMPLEMENT_CLASS(TfsArrayHelper, TfsCustomHelper)
VXN_IMPLEMENT_CLASS(TfsStringHelper, TfsCustomHelper)
VXN_IMPLEMENT_CLASS(TfsClassVariable, TfsCustomVariable)
VXN_IMPLEMENT_CLASS(TfsCustomEvent, TObject)

VXN_PUBLISH(TfsScript) {
  P.Property("Lines", &TfsScript::Lines, &TfsScript::SetLines);
  P.Property("SyntaxType", &TfsScript::SyntaxType);
  P.Event("OnGetILUnit", &TfsScript::OnGetILUnit);
  P.Event("OnGetUnit", &TfsScript::OnGetUnit);
  P.Event("OnRunLine", &TfsScript::OnRunLine);
}

namespace {

[[noreturn]] void ListIndexError(Integer index) {
  throw EListError(Format("List index out of bounds (%d)", {index}));
}

// Type names compare as the short strings they were: 31 characters at most.
bool SameTypeName(std::string_view a, std::string_view b) {
  return AnsiSameText(a.substr(0, 31), b.substr(0, 31));
}

bool IsNothing(const Variant& v) { return VarIsClear(v); }

}  // namespace

// ---------------------------------------------------------------------------
// TfsItemList

TfsItemList::~TfsItemList() { TfsItemList::Clear(); }

void TfsItemList::Clear() {
  std::vector<TObject*> items;
  items.swap(FItems);
  for (TObject* item : items) delete item;
}

TObject* TfsItemList::ItemAt(Integer index) const {
  if (index < 0 || index >= ItemCount()) ListIndexError(index);
  return FItems[static_cast<size_t>(index)];
}

void TfsItemList::Remove(TObject* item) {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  if (it != FItems.end()) FItems.erase(it);
}

// ---------------------------------------------------------------------------
// Items

TfsCustomVariable::TfsCustomVariable(std::string_view name, std::string_view typeName,
                                     TfsVarType typeCode)
    : Name(name), UpperName(AnsiUpperCase(name)), TypeCode(typeCode), TypeName(typeName),
      Value(Null()) {}

void TfsCustomVariable::SetValue(const Variant& value) {
  if (!ReadOnly) Value = value;
}

Variant TfsCustomVariable::GetValue() { return Value; }

TfsParamItem* TfsCustomVariable::Params(Integer index) const {
  return static_cast<TfsParamItem*>(ItemAt(index));
}

Integer TfsCustomVariable::RequiredParamCount() const {
  Integer n = 0;
  for (Integer i = 0; i < Count(); ++i)
    if (!Params(i)->HasDefault) ++n;
  return n;
}

std::string TfsCustomVariable::TypeDisplayName() const {
  switch (TypeCode) {
    case fvtInt: return "Integer";
    case fvtBool: return "Boolean";
    case fvtFloat: return "Extended";
    case fvtChar: return "Char";
    case fvtString: return "String";
    case fvtClass: return "Class " + TypeName;
    case fvtArray: return "Array";
    case fvtEnum: return TypeName;
    default: return "Variant";
  }
}

void TfsStringVariable::SetValue(const Variant& value) {
  if (!ReadOnly) Str = VarToStr(value);
}

Variant TfsStringVariable::GetValue() { return Variant(Str); }

TfsParamItem::TfsParamItem(std::string_view name, bool byReference, bool hasDefault,
                           std::string_view typeName, TfsVarType typeCode)
    : TfsCustomVariable(name, typeName, typeCode),
      DefaultValue(Null()),
      HasDefault(hasDefault),
      ByReference(byReference) {}

TfsProcVariable::TfsProcVariable(std::string_view name, bool hasResult, TfsScript* parentScript,
                                 std::string_view typeName, TfsVarType typeCode)
    : TfsCustomVariable(name, typeName, typeCode),
      HasResult(hasResult),
      LocalScript(new TfsScript(nullptr)) {
  ReadOnly = true;
  LocalScript->ParentScript = parentScript;
  if (HasResult) {
    auto* result = new TfsVariable("Result", typeName, typeCode);
    LocalScript->AddItem("Result", result);
    LinkedItem = result;
  }
}

TfsProcVariable::~TfsProcVariable() {
  // The parameters belong to the routine's list; the local table only names them.
  for (Integer i = 0; i < Count(); ++i) LocalScript->RemoveItem(ItemAt(i));
  delete LocalScript;
}

void TfsProcVariable::AddParam(TfsParamItem* param) {
  Add(param);
  LocalScript->AddItem(param->Name, param);
}

namespace {

// Script routines calling each other nest native frames; past a number of
// calls, or past a share of the stack measured from the outermost call, a
// script error stops the run instead of the stack overflowing.
thread_local Integer gCallDepth = 0;
thread_local uintptr_t gStackBase = 0;

}  // namespace

Variant TfsProcVariable::GetValue() {
  const auto frame = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  if (gCallDepth == 0) {
    gStackBase = frame;
  } else if (gCallDepth >= fsMaxCallDepth ||
             (gStackBase > frame && gStackBase - frame > fsMaxCallStack)) {
    throw Exception(Format("Script routines are nested too deeply (%d calls)", {gCallDepth}));
  }
  ++gCallDepth;
  struct DepthGuard {
    ~DepthGuard() { --gCallDepth; }
  } depthGuard;
  const bool wasRunning = Running;
  Running = true;
  TfsScript* mainProgram = LocalScript;
  while (mainProgram && !mainProgram->IsMainProgram) mainProgram = mainProgram->ParentScript;
  TfsScript* previousLocal = mainProgram ? mainProgram->RunningLocalScript : nullptr;
  if (mainProgram) mainProgram->RunningLocalScript = LocalScript;

  auto restore = [&] {
    LocalScript->ExitRequested = false;
    LocalScript->StopRequested = false;
    LocalScript->IsRunning = false;
    if (mainProgram) mainProgram->RunningLocalScript = previousLocal;
    Running = wasRunning;
  };
  LocalScript->ExitRequested = false;
  LocalScript->StopRequested = false;
  LocalScript->IsRunning = true;
  try {
    LocalScript->MainBlock->Execute();
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return HasResult ? LinkedItem->GetValue() : Null();
}

namespace {

// Classes are looked up by their whole name: a name cut to 31 characters
// would find no class, so a long class name was not even compatible with itself.
bool ClassInheritsFrom(TfsScript* script, std::string_view source, std::string_view target) {
  if (!script) return false;
  TfsClassVariable* s = script->FindClass(source);
  TfsClassVariable* t = script->FindClass(target);
  return s && t && s->HostClass->InheritsFrom(t->HostClass);
}

}  // namespace

bool fsAssignCompatible(const TfsCustomVariable& target, const TfsCustomVariable& source,
                        TfsScript* script) {
  const TfsVarType s = source.TypeCode;
  switch (target.TypeCode) {
    case fvtInt: return s == fvtInt || s == fvtFloat || s == fvtVariant || s == fvtEnum;
    case fvtBool: return s == fvtBool || s == fvtVariant;
    case fvtFloat: return s == fvtInt || s == fvtFloat || s == fvtVariant;
    case fvtChar:
    case fvtString: return s == fvtChar || s == fvtString || s == fvtVariant;
    case fvtClass:
      return s == fvtVariant ||
             (s == fvtClass && ClassInheritsFrom(script, source.TypeName, target.TypeName));
    case fvtArray: return s == fvtArray || s == fvtVariant;
    case fvtVariant: return true;
    case fvtEnum:
      return (s == fvtEnum && SameTypeName(source.TypeName, target.TypeName)) || s == fvtInt ||
             s == fvtVariant;
    default: return false;
  }
}

bool fsExprCompatible(const TfsCustomVariable& variable, const TfsCustomVariable& expression,
                      TfsScript* script) {
  if (variable.TypeCode == fvtInt && expression.TypeCode == fvtFloat) return false;
  return fsAssignCompatible(variable, expression, script);
}

// ---------------------------------------------------------------------------
// Statements

TfsStatement::TfsStatement(TfsScript* script, std::string_view sourcePosition,
                           std::string_view sourceUnit)
    : Script(script), SourcePosition(sourcePosition), SourceUnit(sourceUnit) {}

TfsStatement* TfsStatement::Statements(Integer index) const {
  return static_cast<TfsStatement*>(ItemAt(index));
}

void TfsStatement::Execute() {
  for (Integer i = 0; i < ItemCount() && !Script->StopRequested;) {
    Statements(i)->Execute();
    if (Script->BreakRequested || Script->ContinueRequested) break;
    ++i;
    if (Script->ExitRequested) break;
  }
}

void TfsStatement::RunLine() { Script->RunLine(SourceUnit, SourcePosition); }

// ---------------------------------------------------------------------------
// Host modules

std::vector<TfsRTTIModuleFactory>& fsHostModuleList() {
  static std::vector<TfsRTTIModuleFactory> list;
  return list;
}

void fsRegisterHostModule(TfsRTTIModuleFactory factory) { fsHostModuleList().push_back(factory); }

void fsUnregisterHostModule(TfsRTTIModuleFactory factory) {
  auto& list = fsHostModuleList();
  list.erase(std::remove(list.begin(), list.end(), factory), list.end());
}

// ---------------------------------------------------------------------------
// TfsScript

TfsScript::TfsScript(TComponent* AOwner)
    : TComponent(AOwner),
      MainBlock(std::make_unique<TfsStatement>(this, "", "")),
      FLines(std::make_unique<TStringList>()) {}

TfsScript::~TfsScript() {
  ClearProgram();
  UnloadHostModules();
  std::vector<Entry> rest;
  rest.swap(FItemTable);
  for (auto it = rest.rbegin(); it != rest.rend(); ++it) delete it->Item;
}

void TfsScript::SetLines(TStrings* value) { FLines->Assign(value); }

void TfsScript::AddItem(std::string_view name, TObject* item) {
  Entry entry{AnsiUpperCase(name), item};
  auto at = std::lower_bound(FItemTable.begin(), FItemTable.end(), entry.Key,
                             [](const Entry& e, const std::string& key) { return e.Key < key; });
  FItemTable.insert(at, std::move(entry));
  if (auto* v = dynamic_cast<TfsCustomVariable*>(item)) v->DeclaredBy = DeclaredBy;
}

TObject* TfsScript::ItemAt(Integer index) const {
  if (index < 0 || index >= ItemCount()) ListIndexError(index);
  return FItemTable[static_cast<size_t>(index)].Item;
}

void TfsScript::RemoveItem(TObject* item) {
  auto it = std::find_if(FItemTable.begin(), FItemTable.end(),
                         [item](const Entry& e) { return e.Item == item; });
  if (it != FItemTable.end()) FItemTable.erase(it);
}

TfsCustomVariable* TfsScript::LookupLocalName(std::string_view name) const {
  const std::string key = AnsiUpperCase(name);
  auto at = std::lower_bound(FItemTable.begin(), FItemTable.end(), key,
                             [](const Entry& e, const std::string& k) { return e.Key < k; });
  if (at == FItemTable.end() || at->Key != key) return nullptr;
  return dynamic_cast<TfsCustomVariable*>(at->Item);
}

TfsCustomVariable* TfsScript::LookupName(std::string_view name) const {
  for (const TfsScript* s = this; s; s = s->ParentScript)
    if (TfsCustomVariable* item = s->LookupLocalName(name)) return item;
  return nullptr;
}

TfsClassVariable* TfsScript::FindClass(std::string_view name) const {
  return dynamic_cast<TfsClassVariable*>(LookupName(name));
}

TfsVarType TfsScript::TypeCodeOf(std::string_view typeName) const {
  TfsCustomVariable* item = LookupName(typeName);
  return item ? item->TypeCode : fvtClass;
}

void TfsScript::FreeItemsWhere(const std::function<bool(TObject*)>& test) {
  std::vector<TObject*> doomed;
  for (auto it = FItemTable.begin(); it != FItemTable.end();) {
    if (test(it->Item)) {
      doomed.push_back(it->Item);
      it = FItemTable.erase(it);
    } else {
      ++it;
    }
  }
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) delete *it;
}

void TfsScript::ClearProgram() {
  FreeItemsWhere([](TObject* item) {
    if (dynamic_cast<TfsRTTIModule*>(item)) return false;
    auto* v = dynamic_cast<TfsCustomVariable*>(item);
    return !(v && v->DeclaredBy == fsDeclaredByModules);
  });
  MainBlock->Clear();
  CodeLines.Clear();
  ErrorText.clear();
  ErrorPosition.clear();
  ErrorUnitName.clear();
}

void TfsScript::RemoveItemsOfOwner(TfsDeclarer owner) {
  FreeItemsWhere([owner](TObject* item) {
    auto* v = dynamic_cast<TfsCustomVariable*>(item);
    return v && v->DeclaredBy == owner;
  });
  MainBlock->Clear();
  CodeLines.Clear();
}

bool TfsScript::CompileSource() {
  ErrorText.clear();
  ErrorUnitName.clear();
  TfsILParser parser(this);
  parser.SelectLanguage(SyntaxType);
  std::string text;
  for (Integer i = 0; i < FLines->Count(); ++i) text += FLines->Strings(i) + "\r\n";
  if (parser.BuildIntermediateProgram(text)) parser.LoadIntermediateProgram();
  const bool ok = ErrorText.empty();
  if (ok) ErrorPosition.clear();
  return ok;
}

void TfsScript::RunMainBlock() {
  ExitRequested = false;
  StopRequested = false;
  IsRunning = true;
  IsMainProgram = true;
  auto reset = [this] {
    ExitRequested = false;
    StopRequested = false;
    IsRunning = false;
  };
  try {
    MainBlock->Execute();
  } catch (...) {
    reset();
    throw;
  }
  reset();
}

void TfsScript::StopRunning() {
  ExitRequested = true;
  StopRequested = true;
  for (const Entry& e : FItemTable)
    if (auto* proc = dynamic_cast<TfsProcVariable*>(e.Item)) proc->LocalScript->StopRunning();
}

TfsProcVariable* TfsScript::LocalRoutine(std::string_view name) const {
  return dynamic_cast<TfsProcVariable*>(LookupLocalName(name));
}

Variant TfsScript::CallRoutine(std::string_view name, const Variant& arguments) {
  TfsProcVariable* proc = LocalRoutine(name);
  if (!proc) return Null();
  if (VarIsArray(arguments)) {
    const Integer high = VarArrayHighBound(arguments, 1);
    for (Integer i = 0; i <= high; ++i) {
      TfsParamItem* param = proc->Params(i);
      param->SetValue(VarArrayGet(arguments, {i}));
    }
  }
  return proc->GetValue();
}

Variant TfsScript::CallRoutineByRef(std::string_view name, Variant& arguments) {
  TfsProcVariable* proc = LocalRoutine(name);
  if (!proc) return Null();
  Variant result = CallRoutine(name, arguments);
  if (VarIsArray(arguments)) {
    const Integer high = VarArrayHighBound(arguments, 1);
    for (Integer i = 0; i <= high; ++i) VarArrayPut(arguments, proc->Params(i)->GetValue(), {i});
  }
  return result;
}

void TfsScript::RunLine(const std::string& unitName, const std::string& position) {
  for (TfsScript* s = this; s; s = s->ParentScript) {
    if (s->OnRunLine) {
      s->OnRunLine(this, unitName, position);
      return;
    }
  }
}

void TfsScript::RecordCodeLine(const std::string& unitName, const std::string& position) {
  const std::string line = position.substr(0, position.find(':'));
  for (Integer i = 0; i < CodeLines.Count(); ++i) {
    std::string entry = CodeLines.Strings(i);
    const size_t eq = entry.find('=');
    if (entry.compare(0, eq, unitName) != 0 || eq != unitName.size()) continue;
    const std::string list = entry.substr(eq + 1);
    size_t start = 0;
    while (start <= list.size()) {
      const size_t comma = list.find(',', start);
      if (list.compare(start, comma == std::string::npos ? std::string::npos : comma - start,
                       line) == 0)
        return;
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    CodeLines.SetStrings(i, entry + (list.empty() ? "" : ",") + line);
    return;
  }
  CodeLines.Add(unitName + "=" + line);
}

void TfsScript::DeclareType(std::string_view typeName, TfsVarType typeCode) {
  if (LookupName(typeName)) return;
  AddItem(typeName, new TfsTypeVariable(typeName, typeName, typeCode));
}

TfsClassVariable* TfsScript::DeclareClass(TClass hostClass, std::string_view ancestorName) {
  if (LookupName(hostClass->Name)) return nullptr;
  auto* cls = new TfsClassVariable(hostClass, ancestorName, this);
  AddItem(cls->Name, cls);
  if (TfsClassVariable* ancestor = FindClass(ancestorName))
    cls->DefaultProperty = ancestor->DefaultProperty;
  return cls;
}

void TfsScript::DeclareConstant(std::string_view name, std::string_view typeName,
                                const Variant& value) {
  if (LookupName(name)) return;
  auto* v = new TfsVariable(name, typeName, TypeCodeOf(typeName));
  v->Value = value;
  v->ReadOnly = true;
  AddItem(name, v);
}

void TfsScript::DeclareEnum(std::string_view typeName, std::string_view names, bool asSet) {
  TStringList members;
  members.SetCommaText(std::string(names));
  // A set member is one bit of a 32-bit value; a 33rd member has no bit.
  if (asSet && members.Count() > 32)
    throw Exception(Format("Set type '%s' has more than 32 members", {std::string(typeName)}));
  AddItem(typeName, new TfsVariable(typeName, typeName, fvtEnum));
  for (Integer i = 0; i < members.Count(); ++i) {
    const std::string member = Trim(members.Strings(i));
    auto* v = new TfsVariable(member, typeName, fvtEnum);
    // The 32nd member's bit is the sign bit of the Integer.
    v->Value = asSet ? static_cast<Integer>(Cardinal{1} << i) : i;
    v->ReadOnly = true;
    AddItem(member, v);
  }
}

void TfsScript::DeclareEnumeration(std::string_view typeName, std::string_view names) {
  DeclareEnum(typeName, names, false);
}

void TfsScript::DeclareSetEnumeration(std::string_view typeName, std::string_view names) {
  DeclareEnum(typeName, names, true);
}

void TfsScript::DeclareFunction(std::string_view syntax, TfsCallMethod callback,
                                std::string_view category, const char* description) {
  auto* helper = new TfsMethodHelper(syntax, this);
  helper->FunctionCallback = std::move(callback);
  helper->Category = category;
  helper->Description = description ? description : helper->Name;
  AddItem(helper->Name, helper);
}

void TfsScript::DeclareModuleFunction(std::string_view syntax, TfsCallMethodNew callback,
                                      std::string_view category, const char* description) {
  auto* helper = new TfsMethodHelper(syntax, this);
  helper->ModuleCallback = std::move(callback);
  helper->Category = category;
  helper->Description = description ? description : helper->Name;
  AddItem(helper->Name, helper);
}

void TfsScript::DeclareObject(std::string_view name, TObject* instance) {
  DeclareVariable(name, instance ? instance->ClassName() : std::string("TObject"),
                  VarFromObject(instance));
}

void TfsScript::DeclareVariable(std::string_view name, std::string_view typeName,
                                const Variant& value) {
  if (LookupName(name)) return;
  auto* v = new TfsVariable(name, typeName, TypeCodeOf(typeName));
  v->Value = value;
  AddItem(name, v);
}

void TfsScript::LoadHostModules() {
  if (ModulesLoaded) return;
  const TfsDeclarer saved = DeclaredBy;
  DeclaredBy = fsDeclaredByModules;
  try {
    for (TfsRTTIModuleFactory factory : fsHostModuleList()) AddItem("", factory(this));
  } catch (...) {
    DeclaredBy = saved;
    throw;
  }
  DeclaredBy = saved;
  ModulesLoaded = true;
}

void TfsScript::UnloadHostModules() {
  if (!ModulesLoaded) return;
  FreeItemsWhere([](TObject* item) {
    if (dynamic_cast<TfsRTTIModule*>(item)) return true;
    auto* v = dynamic_cast<TfsCustomVariable*>(item);
    return v && v->DeclaredBy == fsDeclaredByModules;
  });
  ModulesLoaded = false;
}

// ---------------------------------------------------------------------------
// Helpers

TObject* TfsCustomHelper::Instance() const { return VarToObject(InstanceValue); }

Variant TfsPropertyHelper::GetValue() {
  Variant result = Null();
  TObject* instance = Instance();
  if (IsPublishedProperty && instance) {
    if (const TPropInfo* prop = GetPropInfo(instance, Name)) {
      switch (prop->Kind()) {
        case TTypeKind::tkChar:
        case TTypeKind::tkWChar:
          result = GetStrProp(instance, *prop);
          break;
        case TTypeKind::tkFloat:
          result = GetFloatProp(instance, *prop);
          break;
        case TTypeKind::tkString:
        case TTypeKind::tkLString:
          result = GetStrProp(instance, *prop);
          break;
        case TTypeKind::tkWString:
          result = GetWideStrProp(instance, *prop);
          break;
        case TTypeKind::tkVariant:
          result = GetVariantProp(instance, *prop);
          break;
        case TTypeKind::tkInteger:
        case TTypeKind::tkEnumeration:
        case TTypeKind::tkSet:
          result = static_cast<Integer>(GetOrdProp(instance, *prop));
          break;
        case TTypeKind::tkClass:
          result = VarFromObject(GetObjectProp(instance, *prop));
          break;
        default:
          break;
      }
    }
  } else if (PropertyGetter) {
    result = PropertyGetter(instance, HostClass, UpperName);
  }
  // A nil instance reads as Null, which stays Null rather than turning True.
  if (TypeCode == fvtBool && !IsNothing(result)) result = Variant(!(result == Variant(0)));
  return result;
}

void TfsPropertyHelper::SetValue(const Variant& value) {
  if (ReadOnly) return;
  TObject* instance = Instance();
  if (!IsPublishedProperty) {
    if (PropertySetter) PropertySetter(instance, HostClass, UpperName, value);
    return;
  }
  if (!instance) throw Exception(Format("Cannot assign property %s of nil", {Name}));
  const TPropInfo* prop = GetPropInfo(instance, Name);
  if (!prop) return;
  switch (prop->Kind()) {
    case TTypeKind::tkChar:
    case TTypeKind::tkWChar: {
      const std::string s = VarToStr(value);
      SetStrProp(instance, *prop, s.empty() ? std::string_view() : std::string_view(s).substr(0, 1));
      break;
    }
    case TTypeKind::tkFloat:
      SetFloatProp(instance, *prop, value.AsDouble());
      break;
    case TTypeKind::tkString:
    case TTypeKind::tkLString:
      SetStrProp(instance, *prop, VarToStr(value));
      break;
    case TTypeKind::tkWString:
      SetWideStrProp(instance, *prop, VarToWideStr(value));
      break;
    case TTypeKind::tkVariant:
      SetVariantProp(instance, *prop, value);
      break;
    case TTypeKind::tkClass:
      SetObjectProp(instance, *prop, VarToObject(value));
      break;
    case TTypeKind::tkInteger:
    case TTypeKind::tkEnumeration:
    case TTypeKind::tkSet:
      if (TypeCode == fvtBool)
        SetOrdProp(instance, *prop, (value == Variant(true)) ? 1 : 0);
      else
        SetOrdProp(instance, *prop, value.AsInt64());
      break;
    default:
      break;
  }
}

namespace {

// Reads "name: type = default" groups of a signature's parameter list.
Variant ReadDefaultValue(TfsParser& p, TfsScript* script) {
  p.SkipSpaces();
  bool negative = false;
  if (p.Position() <= p.Size() && p.Text()[static_cast<size_t>(p.Position() - 1)] == '-') {
    negative = true;
    p.SetPosition(p.Position() + 1);
  }
  const std::string number = p.ReadNumber();
  if (!number.empty()) {
    if (number.find_first_of(".eE") != std::string::npos && number[0] != '$') {
      double d = 0;
      Integer code = 0;
      Val(number, d, code);
      return negative ? -d : d;
    }
    const Int64 n = StrToInt64(number);
    if (n >= INT32_MIN && n <= INT32_MAX) return static_cast<Integer>(negative ? -n : n);
    return negative ? -n : n;
  }
  const std::string text = p.ReadString();
  if (!text.empty()) return text.substr(1, text.size() - 2);
  const std::string ident = p.ReadIdent();
  if (!ident.empty() && script)
    if (TfsCustomVariable* item = script->LookupName(ident)) return item->GetValue();
  return Null();
}

char CharAt(const TfsParser& p) {
  return p.Position() <= p.Size() ? p.Text()[static_cast<size_t>(p.Position() - 1)] : '\0';
}

}  // namespace

TfsMethodHelper::TfsMethodHelper(std::string_view syntax, TfsScript* script)
    : TfsCustomHelper("", "", fvtClass), Syntax(syntax) {
  TfsParser p;
  p.SetText(syntax);
  std::string kind = p.ReadIdent();
  if (LowerCase(kind).rfind("macro", 0) == 0) {
    MacroParams = true;
    kind = kind.substr(5);
  }
  const bool isFunction = SameText(kind, "function");
  Name = p.ReadIdent();
  UpperName = AnsiUpperCase(Name);
  if (isFunction) {
    const size_t colon = syntax.rfind(':');
    if (colon != std::string_view::npos) {
      TfsParser t;
      t.SetText(syntax.substr(colon + 1));
      TypeName = t.ReadIdent();
    }
  }
  TypeCode = script ? script->TypeCodeOf(TypeName) : fvtClass;

  p.SkipSpaces();
  if (CharAt(p) != '(') return;
  p.SetPosition(p.Position() + 1);
  std::vector<std::string> names;
  bool byReference = false;
  for (;;) {
    p.SkipSpaces();
    const char c = CharAt(p);
    if (c == ')' || c == '\0') break;
    if (c == ';' || c == ',') {
      if (c == ';') byReference = false;
      p.SetPosition(p.Position() + 1);
      continue;
    }
    if (c == ':') {
      p.SetPosition(p.Position() + 1);
      const std::string typeName = p.ReadIdent();
      Variant defaultValue = Null();
      p.SkipSpaces();
      if (CharAt(p) == '=') {
        p.SetPosition(p.Position() + 1);
        defaultValue = ReadDefaultValue(p, script);
      }
      const TfsVarType code = script ? script->TypeCodeOf(typeName) : fvtClass;
      for (size_t i = 0; i < names.size(); ++i) {
        const bool last = i + 1 == names.size();
        const bool hasDefault = last && !VarIsNull(defaultValue);
        auto* param = new TfsParamItem(names[i], byReference, hasDefault, typeName, code);
        if (hasDefault) param->DefaultValue = defaultValue;
        Add(param);
      }
      names.clear();
      continue;
    }
    const std::string word = p.ReadIdent();
    if (word.empty()) break;  // not a signature we understand; keep what was read
    if (SameText(word, "var"))
      byReference = true;
    else if (!SameText(word, "const"))
      names.push_back(word);
  }
}

Variant TfsMethodHelper::ParamValueAt(Integer index) const {
  if (index == Count()) return AssignedValue;
  return Params(index)->GetValue();
}

namespace {

// The instance a helper works on and the class passed to its callback. An
// instance value that is a class item stands for the class itself (a
// constructor call such as TStringList.Create).
std::pair<TObject*, TClass> CallTarget(const TfsCustomHelper& helper, TClass hostClass) {
  if (IsNothing(helper.InstanceValue)) return {nullptr, hostClass};
  TObject* object = VarToObject(helper.InstanceValue);
  if (auto* cls = dynamic_cast<TfsClassVariable*>(object)) return {nullptr, cls->HostClass};
  return {object, hostClass};
}

Variant MakeParamArray(Integer count) {
  return VarArrayCreate({0, count - 1}, varVariant);
}

}  // namespace

Variant TfsMethodHelper::GetValue() {
  const auto [instance, cls] = CallTarget(*this, HostClass);
  const std::string name = IsIndexedAccess ? UpperName + ".GET" : UpperName;
  if (FunctionCallback) {
    const Integer n = Count();
    FParamArray = MakeParamArray(n);
    for (Integer i = 0; i < n; ++i) VarArrayPut(FParamArray, Params(i)->GetValue(), {i});
    Variant result = FunctionCallback(instance, cls, name, FParamArray);
    for (Integer i = 0; i < n; ++i)
      if (Params(i)->ByReference) Params(i)->SetValue(VarArrayGet(FParamArray, {i}));
    return result;
  }
  if (ModuleCallback) return ModuleCallback(instance, cls, name, this);
  return 0;
}

void TfsMethodHelper::SetValue(const Variant& value) {
  if (!IsIndexedAccess || ReadOnly) return;
  const auto [instance, cls] = CallTarget(*this, HostClass);
  const std::string name = UpperName + ".SET";
  if (FunctionCallback) {
    const Integer n = Count();
    FParamArray = MakeParamArray(n + 1);
    for (Integer i = 0; i < n; ++i) VarArrayPut(FParamArray, Params(i)->GetValue(), {i});
    VarArrayPut(FParamArray, value, {n});
    FunctionCallback(instance, cls, name, FParamArray);
  } else if (ModuleCallback) {
    AssignedValue = value;
    try {
      ModuleCallback(instance, cls, name, this);
    } catch (...) {
      AssignedValue = Null();
      throw;
    }
    AssignedValue = Null();
  }
}

TfsEventHelper::TfsEventHelper(std::string_view name, TfsEventFactory eventClass)
    : TfsCustomHelper(name, "", fvtString), EventClass(eventClass) {}

Variant TfsEventHelper::GetValue() { return Variant(std::string()); }

void TfsEventHelper::SetValue(const Variant& value) {
  TObject* instance = Instance();
  if (!instance) throw Exception(Format("Cannot assign event %s of nil", {Name}));
  const TPropInfo& prop = FindPropInfo(instance, Name);
  const std::string text = VarToStr(value);
  if (text == "0") {
    SetMethodProp(instance, prop, TMethod{});
    return;
  }
  auto* routine = dynamic_cast<TfsProcVariable*>(OwnerScript ? OwnerScript->LookupName(text) : nullptr);
  if (!routine) throw Exception("Event handler must be a procedure");
  TfsCustomEvent* event = EventClass(instance, routine);
  OwnerScript->AddItem("", event);
  const TMethod method = event->GetMethod();
  SetMethodProp(instance, prop, method);
  event->Installed(instance, Name, method);
}

Variant TfsArrayHelper::GetValue() {
  if (!ParentItem) return Null();
  const Variant& array = ParentItem->Value;
  const Integer dims = VarArrayDimCount(array);
  if (dims < 1 || dims > 3) return Null();
  Integer indices[3] = {};
  for (Integer i = 0; i < dims; ++i) indices[i] = Params(i)->GetValue().AsInteger();
  return VarArrayGet(array, indices, dims);
}

void TfsArrayHelper::SetValue(const Variant& value) {
  if (!ParentItem) return;
  Variant& array = ParentItem->Value;
  const Integer dims = VarArrayDimCount(array);
  if (dims < 1 || dims > 3) return;
  Integer indices[3] = {};
  for (Integer i = 0; i < dims; ++i) indices[i] = Params(i)->GetValue().AsInteger();
  VarArrayPut(array, value, indices, dims);
}

TfsStringHelper::TfsStringHelper() : TfsCustomHelper("__StringHelper", "", fvtChar) {
  Add(new TfsParamItem("", false, false, "Integer", fvtInt));
}

namespace {

size_t CheckedCharIndex(const std::string& s, const Variant& index) {
  const Integer i = index.AsInteger();
  if (i < 1 || static_cast<size_t>(i) > s.size())
    throw ERangeError(Format("String index %d out of range", {i}));
  return static_cast<size_t>(i - 1);
}

}  // namespace

Variant TfsStringHelper::GetValue() {
  const std::string s = VarToStr(InstanceValue);
  return Variant(std::string(1, s[CheckedCharIndex(s, Params(0)->GetValue())]));
}

void TfsStringHelper::SetValue(const Variant& value) {
  std::string s = VarToStr(InstanceValue);
  const size_t at = CheckedCharIndex(s, Params(0)->GetValue());
  const std::string c = VarToStr(value);
  if (c.empty()) return;
  s[at] = c[0];
  if (ParentItem) ParentItem->SetValue(Variant(s));
}

// ---------------------------------------------------------------------------
// TfsClassVariable

TfsClassVariable::TfsClassVariable(TClass hostClass, std::string_view ancestorName,
                                   TfsScript* script)
    : TfsCustomVariable(hostClass->Name, hostClass->Name, fvtClass),
      HostClass(hostClass),
      AncestorName(ancestorName),
      FScript(script) {
  // One optional argument turns a call of the class name into a type cast.
  Add(new TfsParamItem("", false, true, "Variant", fvtVariant));
  ExposePublishedProperties();
}

TfsClassVariable::~TfsClassVariable() {
  for (TfsCustomHelper* member : FMembers) delete member;
}

Variant TfsClassVariable::GetValue() {
  TfsParamItem* cast = Params(0);
  Variant result = IsNothing(cast->Value) ? VarFromObject(this) : cast->Value;
  cast->Value = Null();
  return result;
}

void TfsClassVariable::ExposePublishedProperties() {
  for (const TPropInfo* prop : GetPropList(HostClass)) {
    TfsVarType code = fvtInt;
    std::string typeName;
    const TTypeInfo* type = prop->PropType;
    switch (prop->Kind()) {
      case TTypeKind::tkMethod:
        continue;  // events are declared by the bindings with their bridges
      case TTypeKind::tkChar:
      case TTypeKind::tkWChar:
        code = fvtChar;
        break;
      case TTypeKind::tkEnumeration:
        if (SameText(type->Name, "Boolean") || SameText(type->Name, "bool")) {
          code = fvtBool;
        } else {
          code = fvtEnum;
          typeName = type->Name;
        }
        break;
      case TTypeKind::tkSet:
        code = fvtEnum;
        typeName = type->Name;
        break;
      case TTypeKind::tkFloat:
        code = fvtFloat;
        break;
      case TTypeKind::tkString:
      case TTypeKind::tkLString:
      case TTypeKind::tkWString:
        code = fvtString;
        break;
      case TTypeKind::tkClass:
        code = fvtClass;
        typeName = type->ClassType ? type->ClassType->Name : type->Name;
        break;
      case TTypeKind::tkVariant:
        code = fvtVariant;
        break;
      default:
        code = fvtInt;
        break;
    }
    auto* helper = new TfsPropertyHelper(prop->Name, typeName, code);
    helper->IsPublishedProperty = true;
    helper->HostClass = HostClass;
    FMembers.push_back(helper);
  }
}

TfsMethodHelper* TfsClassVariable::AddMethod(std::string_view syntax) {
  auto* helper = new TfsMethodHelper(syntax, FScript);
  helper->HostClass = HostClass;
  FMembers.push_back(helper);
  return helper;
}

void TfsClassVariable::DeclareConstructor(std::string_view syntax, TfsCallMethodNew callback) {
  const size_t blank = syntax.find(' ');
  std::string text = "function" + std::string(blank == std::string_view::npos
                                                  ? std::string_view()
                                                  : syntax.substr(blank));
  text += ": Constructor";
  DeclareMethod(text, std::move(callback));
}

void TfsClassVariable::DeclareMethod(std::string_view syntax, TfsCallMethodNew callback) {
  AddMethod(syntax)->ModuleCallback = std::move(callback);
}

void TfsClassVariable::DeclareMethod(std::string_view syntax, TfsCallMethod callback) {
  AddMethod(syntax)->FunctionCallback = std::move(callback);
}

void TfsClassVariable::DeclareEvent(std::string_view name, TfsEventFactory eventClass) {
  auto* helper = new TfsEventHelper(name, eventClass);
  helper->HostClass = HostClass;
  FMembers.push_back(helper);
}

void TfsClassVariable::DeclareProperty(std::string_view name, std::string_view typeName,
                                       TfsGetValueEvent getter, TfsSetValueEvent setter) {
  auto* helper = new TfsPropertyHelper(name, typeName, FScript->TypeCodeOf(typeName));
  helper->HostClass = HostClass;
  helper->ReadOnly = !setter;
  helper->PropertyGetter = std::move(getter);
  helper->PropertySetter = std::move(setter);
  FMembers.push_back(helper);
}

void TfsClassVariable::DeclareIndexedProperty(std::string_view name, std::string_view indexTypes,
                                              std::string_view typeName,
                                              TfsCallMethodNew callback, bool readOnly) {
  TStringList types;
  types.SetCommaText(std::string(indexTypes));
  std::string params;
  for (Integer i = 0; i < types.Count(); ++i) {
    if (i > 0) params += "; ";
    params += "p" + std::to_string(i) + ": " + Trim(types.Strings(i));
  }
  const std::string syntax =
      "function " + std::string(name) + "(" + params + "): " + std::string(typeName);
  DeclareMethod(syntax, std::move(callback));
  auto* member = static_cast<TfsMethodHelper*>(FMembers.back());
  member->ReadOnly = readOnly;
  member->IsIndexedAccess = true;
}

void TfsClassVariable::DeclareDefaultIndexedProperty(std::string_view name,
                                                     std::string_view indexTypes,
                                                     std::string_view typeName,
                                                     TfsCallMethodNew callback, bool readOnly) {
  DeclareIndexedProperty(name, indexTypes, typeName, std::move(callback), readOnly);
  DefaultProperty = FMembers.back();
}

TfsCustomHelper* TfsClassVariable::FindMember(std::string_view name) const {
  const TfsClassVariable* cls = this;
  // A class chain is short; the bound only guards against a cycle of names.
  for (int depth = 0; cls && depth < 256; ++depth) {
    for (TfsCustomHelper* member : cls->FMembers)
      if (AnsiSameText(member->Name, name)) return member;
    TfsClassVariable* ancestor = FScript->FindClass(cls->AncestorName);
    cls = ancestor == cls ? nullptr : ancestor;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// TfsCustomEvent

void TfsCustomEvent::CallHandler(std::initializer_list<Variant> params) {
  if (!Handler || Handler->Running) return;
  Integer i = 0;
  for (const Variant& v : params) Handler->Params(i++)->SetValue(v);
  Handler->GetValue();
}

void TfsCustomEvent::Installed(TObject* instance, const std::string& propName,
                               const TMethod& method) {
  FHostHandle = ObjectToHandle(instance);
  FPropName = propName;
  FMethod = method;
}

TfsCustomEvent::~TfsCustomEvent() {
  if (!FHostHandle || !IsLiveObjectHandle(FHostHandle)) return;
  try {
    TObject* host = HandleToObject(FHostHandle);
    if (const TPropInfo* prop = GetPropInfo(host, FPropName))
      if (GetMethodProp(host, *prop) == FMethod) SetMethodProp(host, *prop, TMethod{});
  } catch (...) {
  }
}
