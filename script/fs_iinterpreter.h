// The script object, its items and the bindings through which host classes,
// functions and objects become visible to scripts.
//
// Every name a script can use is an item (TfsCustomVariable): a typed Variant
// holder with GetValue, SetValue and a parameter list, so statements treat a
// variable, a host property and a call alike. A script owns its items in a
// table sorted by name; routines have a local script whose parent is the
// declaring script. Host objects travel in Variants as handles of the live
// object registry (never as addresses), so a script can neither forge nor keep
// alive an object it was not given.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Components.h"
#include "platform/rtl/Delegates.h"
#include "platform/rtl/System.h"
#include "platform/rtl/Variants.h"

class TfsScript;
class TfsStatement;
class TfsParamItem;
class TfsProcVariable;
class TfsClassVariable;
class TfsCustomHelper;
class TfsMethodHelper;
class TfsCustomEvent;

// Type codes of items.
enum TfsVarType : Byte {
  fvtInt = 0,
  fvtBool = 1,
  fvtFloat = 2,
  fvtChar = 3,
  fvtString = 4,
  fvtClass = 5,
  fvtArray = 6,
  fvtVariant = 7,
  fvtEnum = 8,
  fvtConstructor = 9,
};

// Who declared an item: 0 the script text, 1 a host module, otherwise the
// identity of a host object (the report) that declares into the script.
using TfsDeclarer = uintptr_t;
inline constexpr TfsDeclarer fsDeclaredByScript = 0;
inline constexpr TfsDeclarer fsDeclaredByModules = 1;
inline TfsDeclarer fsDeclarerOf(const void* host) { return reinterpret_cast<TfsDeclarer>(host); }

// Host callbacks. The member name arrives in upper case; an indexed property
// gets ".GET" or ".SET" appended. Instances are nil for plain functions.
using TfsCallMethod = std::function<Variant(TObject* Instance, TClass ClassType,
                                            const std::string& MethodName, Variant& Params)>;
using TfsCallMethodNew = std::function<Variant(TObject* Instance, TClass ClassType,
                                               const std::string& MethodName,
                                               TfsMethodHelper* Caller)>;
using TfsGetValueEvent =
    std::function<Variant(TObject* Instance, TClass ClassType, const std::string& PropName)>;
using TfsSetValueEvent = std::function<void(TObject* Instance, TClass ClassType,
                                            const std::string& PropName, const Variant& Value)>;

using TfsGetUnitEvent = TDelegate<void(TfsScript* Sender, const std::string& UnitName,
                                       std::string& UnitText)>;
using TfsRunLineEvent =
    TDelegate<void(TfsScript* Sender, const std::string& UnitName, const std::string& SourcePos)>;

// ---------------------------------------------------------------------------
// Owned object lists.

class TfsItemList : public TObject {
  VXN_DECLARE_CLASS(TfsItemList)

 public:
  TfsItemList() = default;
  ~TfsItemList() override;

  virtual void Clear();  // frees every object of the list
  Integer ItemCount() const { return static_cast<Integer>(FItems.size()); }
  TObject* ItemAt(Integer index) const;
  void Add(TObject* item) { FItems.push_back(item); }  // takes ownership
  void Remove(TObject* item);                          // unlinks without freeing

 protected:
  std::vector<TObject*> FItems;
};

// ---------------------------------------------------------------------------
// Items.

class TfsCustomVariable : public TfsItemList {
  VXN_DECLARE_CLASS(TfsCustomVariable)

 public:
  TfsCustomVariable(std::string_view name, std::string_view typeName, TfsVarType typeCode);

  virtual void SetValue(const Variant& value);
  virtual Variant GetValue();

  Integer Count() const { return ItemCount(); }
  TfsParamItem* Params(Integer index) const;
  Integer RequiredParamCount() const;
  std::string TypeDisplayName() const;

  std::string Name;
  std::string UpperName;
  TfsVarType TypeCode;
  std::string TypeName;
  Variant Value;
  bool ReadOnly = false;
  bool MacroParams = false;
  bool ResultWanted = true;
  TfsCustomVariable* LinkedItem = nullptr;
  std::string SourcePosition;
  std::string SourceUnit;
  TfsDeclarer DeclaredBy = fsDeclaredByScript;
};

// A plain variable, or a constant when ReadOnly.
class TfsVariable : public TfsCustomVariable {
  VXN_DECLARE_CLASS(TfsVariable)

 public:
  using TfsCustomVariable::TfsCustomVariable;
};

class TfsTypeVariable : public TfsCustomVariable {
  VXN_DECLARE_CLASS(TfsTypeVariable)

 public:
  using TfsCustomVariable::TfsCustomVariable;
};

// A Char or String variable: keeps its value as a native string so that a
// single character can be changed in place.
class TfsStringVariable : public TfsVariable {
  VXN_DECLARE_CLASS(TfsStringVariable)

 public:
  using TfsVariable::TfsVariable;
  void SetValue(const Variant& value) override;
  Variant GetValue() override;

  std::string Str;
};

class TfsParamItem : public TfsCustomVariable {
  VXN_DECLARE_CLASS(TfsParamItem)

 public:
  TfsParamItem(std::string_view name, bool byReference, bool hasDefault, std::string_view typeName,
               TfsVarType typeCode);

  Variant DefaultValue;
  bool HasDefault;
  bool ByReference;
};

// Deepest nesting of script routine calls (recursion included), and the
// most stack those nested calls may take (scripts run on the user-interface
// thread, whose stack is several times larger).
inline constexpr Integer fsMaxCallDepth = 10000;
inline constexpr uintptr_t fsMaxCallStack = 3 * 1024 * 1024;

// A routine of a script. Its parameters, locals and body live in LocalScript,
// whose parent is the declaring script; a function's "Result" variable is
// LinkedItem.
class TfsProcVariable : public TfsCustomVariable {
  VXN_DECLARE_CLASS(TfsProcVariable)

 public:
  TfsProcVariable(std::string_view name, bool hasResult, TfsScript* parentScript,
                  std::string_view typeName, TfsVarType typeCode);
  ~TfsProcVariable() override;

  // Adds a parameter to the routine's list (which owns it) and, by name, to
  // LocalScript.
  void AddParam(TfsParamItem* param);
  Variant GetValue() override;  // runs the routine

  bool Running = false;
  bool HasResult;
  TfsScript* LocalScript;
};

// Type compatibility of assignments and arguments. Class types need both
// classes declared in the script.
bool fsAssignCompatible(const TfsCustomVariable& target, const TfsCustomVariable& source,
                        TfsScript* script);
bool fsExprCompatible(const TfsCustomVariable& variable, const TfsCustomVariable& expression,
                      TfsScript* script);

// ---------------------------------------------------------------------------
// Statements: a plain TfsStatement is a statement list (compound statement,
// main block); the other statement kinds derive from it.

class TfsStatement : public TfsItemList {
  VXN_DECLARE_CLASS(TfsStatement)

 public:
  TfsStatement(TfsScript* script, std::string_view sourcePosition, std::string_view sourceUnit);

  virtual void Execute();
  void RunLine();
  TfsStatement* Statements(Integer index) const;

  TfsScript* Script;
  std::string SourcePosition;
  std::string SourceUnit;
};

// ---------------------------------------------------------------------------
// Host modules: each declares its classes and functions into a script when it
// is constructed over it.

class TfsRTTIModule : public TObject {
  VXN_DECLARE_CLASS(TfsRTTIModule)

 public:
  explicit TfsRTTIModule(TfsScript* script) : Script(script) {}
  TfsScript* Script;
};

using TfsRTTIModuleFactory = TfsRTTIModule* (*)(TfsScript* script);
// The global list of host modules, in registration order.
std::vector<TfsRTTIModuleFactory>& fsHostModuleList();
void fsRegisterHostModule(TfsRTTIModuleFactory factory);
void fsUnregisterHostModule(TfsRTTIModuleFactory factory);

// ---------------------------------------------------------------------------
// The script.

class TfsScript : public TComponent {
  VXN_DECLARE_CLASS(TfsScript)

 public:
  explicit TfsScript(TComponent* AOwner);
  ~TfsScript() override;

  // Published.
  TStrings* Lines() const { return FLines.get(); }
  void SetLines(TStrings* value);
  std::string SyntaxType = "PascalScript";
  TfsGetUnitEvent OnGetILUnit;
  TfsGetUnitEvent OnGetUnit;
  TfsRunLineEvent OnRunLine;

  // Items and lookup. Names compare case-insensitively; the newest item of a
  // name hides the older ones.
  void AddItem(std::string_view name, TObject* item);
  Integer ItemCount() const { return static_cast<Integer>(FItemTable.size()); }
  TObject* ItemAt(Integer index) const;
  void RemoveItem(TObject* item);
  TfsCustomVariable* LookupLocalName(std::string_view name) const;
  TfsCustomVariable* LookupName(std::string_view name) const;
  TfsClassVariable* FindClass(std::string_view name) const;
  void ClearProgram();
  void RemoveItemsOfOwner(TfsDeclarer owner);
  TfsVarType TypeCodeOf(std::string_view typeName) const;

  // Compiles Lines in the language SyntaxType names; false with ErrorText,
  // ErrorPosition and ErrorUnitName set when the source has an error. An
  // unknown language raises.
  bool CompileSource();

  // Running.
  void RunMainBlock();
  void StopRunning();
  Variant CallRoutine(std::string_view name, const Variant& arguments);
  Variant CallRoutineByRef(std::string_view name, Variant& arguments);
  void RunLine(const std::string& unitName, const std::string& position);
  void RecordCodeLine(const std::string& unitName, const std::string& position);

  // Declarations.
  void DeclareType(std::string_view typeName, TfsVarType typeCode);
  TfsClassVariable* DeclareClass(TClass hostClass, std::string_view ancestorName);
  void DeclareConstant(std::string_view name, std::string_view typeName, const Variant& value);
  void DeclareEnumeration(std::string_view typeName, std::string_view names);
  void DeclareSetEnumeration(std::string_view typeName, std::string_view names);
  void DeclareFunction(std::string_view syntax, TfsCallMethod callback,
                       std::string_view category = {}, const char* description = nullptr);
  void DeclareModuleFunction(std::string_view syntax, TfsCallMethodNew callback,
                             std::string_view category = {}, const char* description = nullptr);
  void DeclareObject(std::string_view name, TObject* instance);
  void DeclareVariable(std::string_view name, std::string_view typeName, const Variant& value);
  void LoadHostModules();
  void UnloadHostModules();

  TfsDeclarer DeclaredBy = fsDeclaredByScript;
  std::unique_ptr<TfsStatement> MainBlock;
  TfsScript* ParentScript = nullptr;
  std::string ErrorText, ErrorPosition, ErrorUnitName;
  bool ExtendedIdentChars = false;
  bool BreakRequested = false;
  bool ContinueRequested = false;
  bool ExitRequested = false;
  bool StopRequested = false;
  bool IsRunning = false;
  bool IsMainProgram = false;
  TfsScript* RunningLocalScript = nullptr;
  bool ModulesLoaded = false;
  TStringList CodeLines;

 private:
  struct Entry {
    std::string Key;  // the name in upper case
    TObject* Item;
  };
  void DeclareEnum(std::string_view typeName, std::string_view names, bool asSet);
  void FreeItemsWhere(const std::function<bool(TObject*)>& test);
  TfsProcVariable* LocalRoutine(std::string_view name) const;

  std::vector<Entry> FItemTable;  // sorted by Key; equal keys newest first
  std::unique_ptr<TStringList> FLines;
};

// ---------------------------------------------------------------------------
// Host class bindings.

class TfsCustomHelper : public TfsCustomVariable {
  VXN_DECLARE_CLASS(TfsCustomHelper)

 public:
  using TfsCustomVariable::TfsCustomVariable;

  // The object InstanceValue holds; nil for Null, Empty and 0.
  TObject* Instance() const;

  TfsCustomVariable* ParentItem = nullptr;
  Variant InstanceValue;
  TfsScript* OwnerScript = nullptr;
};

class TfsPropertyHelper : public TfsCustomHelper {
  VXN_DECLARE_CLASS(TfsPropertyHelper)

 public:
  using TfsCustomHelper::TfsCustomHelper;
  Variant GetValue() override;
  void SetValue(const Variant& value) override;

  TClass HostClass = nullptr;
  bool IsPublishedProperty = false;
  TfsGetValueEvent PropertyGetter;
  TfsSetValueEvent PropertySetter;
};

class TfsMethodHelper : public TfsCustomHelper {
  VXN_DECLARE_CLASS(TfsMethodHelper)

 public:
  // Builds the name, the result type and the parameters from a signature such
  // as "function SUM(Expr: Variant; Band: Variant = 0): Variant".
  TfsMethodHelper(std::string_view syntax, TfsScript* script);

  Variant GetValue() override;
  void SetValue(const Variant& value) override;  // indexed properties only
  Variant ParamValueAt(Integer index) const;

  std::string Category;
  TClass HostClass = nullptr;
  std::string Description;
  bool IsIndexedAccess = false;
  TfsCallMethod FunctionCallback;
  TfsCallMethodNew ModuleCallback;
  Variant AssignedValue;
  std::string Syntax;

 private:
  Variant FParamArray;
};

using TfsEventFactory = TfsCustomEvent* (*)(TObject* instance, TfsProcVariable* handler);

class TfsEventHelper : public TfsCustomHelper {
  VXN_DECLARE_CLASS(TfsEventHelper)

 public:
  TfsEventHelper(std::string_view name, TfsEventFactory eventClass);
  Variant GetValue() override;
  void SetValue(const Variant& value) override;

  TClass HostClass = nullptr;
  TfsEventFactory EventClass;
};

// An element of the Variant array that ParentItem holds.
class TfsArrayHelper : public TfsCustomHelper {
  VXN_DECLARE_CLASS(TfsArrayHelper)

 public:
  using TfsCustomHelper::TfsCustomHelper;
  Variant GetValue() override;
  void SetValue(const Variant& value) override;
};

// One character of a string, 1-based.
class TfsStringHelper : public TfsCustomHelper {
  VXN_DECLARE_CLASS(TfsStringHelper)

 public:
  TfsStringHelper();
  Variant GetValue() override;
  void SetValue(const Variant& value) override;
};

class TfsClassVariable : public TfsCustomVariable {
  VXN_DECLARE_CLASS(TfsClassVariable)

 public:
  TfsClassVariable(TClass hostClass, std::string_view ancestorName, TfsScript* script);
  ~TfsClassVariable() override;

  // Without a type-cast argument, the class item stands for the class itself
  // (a handle of this item), which the "Create" member's callback turns into
  // a real object.
  Variant GetValue() override;

  void DeclareConstructor(std::string_view syntax, TfsCallMethodNew callback);
  void DeclareMethod(std::string_view syntax, TfsCallMethodNew callback);
  void DeclareMethod(std::string_view syntax, TfsCallMethod callback);
  void DeclareEvent(std::string_view name, TfsEventFactory eventClass);
  void DeclareProperty(std::string_view name, std::string_view typeName, TfsGetValueEvent getter,
                       TfsSetValueEvent setter = nullptr);
  void DeclareIndexedProperty(std::string_view name, std::string_view indexTypes,
                              std::string_view typeName, TfsCallMethodNew callback,
                              bool readOnly = false);
  void DeclareDefaultIndexedProperty(std::string_view name, std::string_view indexTypes,
                                     std::string_view typeName, TfsCallMethodNew callback,
                                     bool readOnly = false);
  TfsCustomHelper* FindMember(std::string_view name) const;

  Integer MembersCount() const { return static_cast<Integer>(FMembers.size()); }
  TfsCustomHelper* Members(Integer index) const { return FMembers[static_cast<size_t>(index)]; }

  TClass HostClass;
  std::string AncestorName;
  TfsCustomHelper* DefaultProperty = nullptr;

 private:
  TfsMethodHelper* AddMethod(std::string_view syntax);
  void ExposePublishedProperties();

  TfsScript* FScript;
  std::vector<TfsCustomHelper*> FMembers;  // owned
};

// The script side of a host event: the host calls the bridge method, which
// runs the handler routine with the event's arguments.
class TfsCustomEvent : public TObject {
  VXN_DECLARE_CLASS(TfsCustomEvent)

 public:
  TfsCustomEvent(TObject* instance, TfsProcVariable* handler)
      : HostInstance(instance), Handler(handler) {}
  // The bridge, bound to this object, with the host event's signature.
  virtual TMethod GetMethod() = 0;
  // Runs the handler with these arguments unless it is running already (an
  // event raised from inside its own handler is dropped).
  void CallHandler(std::initializer_list<Variant> params);

  // Remembers where the bridge was installed; freeing the event object then
  // unhooks the host event when it still points here, so a host never calls
  // a freed bridge after the script's program is cleared.
  void Installed(TObject* instance, const std::string& propName, const TMethod& method);
  ~TfsCustomEvent() override;

  TObject* HostInstance;
  TfsProcVariable* Handler;

 private:
  Integer FHostHandle = 0;
  std::string FPropName;
  TMethod FMethod;
};

template <typename T>
TfsCustomEvent* fsEventFactory(TObject* instance, TfsProcVariable* handler) {
  return new T(instance, handler);
}
