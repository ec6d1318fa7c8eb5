// Late-bound automation members. A designator link that holds an automation
// object turns every following name into a TfsOLEHelper, which resolves its
// name to a dispatch identifier and invokes it when the designator runs.
//
// This system has no automation server: no Variant ever holds an automation
// object, and the helper raises a clear error when it is used. What needs no
// server (the member name, packing the arguments in dispatch order, the
// flags) is built here and reaches the platform through IDispatch.
#pragma once

#include <string>
#include <vector>

#include "script/fs_iinterpreter.h"

inline constexpr Word DISPATCH_METHOD = 1;
inline constexpr Word DISPATCH_PROPERTYGET = 2;
inline constexpr Word DISPATCH_PROPERTYPUT = 4;
inline constexpr Integer DISPID_PROPERTYPUT = -3;

// Most arguments one invocation passes.
inline constexpr Integer fsMaxDispatchArgs = 64;

// What a failed invocation may say about itself.
struct TExcepInfo {
  std::string Source;
  std::string Description;
  std::string HelpFile;
};

// One invocation: the arguments in dispatch order (the last one first) and
// the named arguments (DISPID_PROPERTYPUT for a property assignment).
struct TDispParams {
  std::vector<Variant> Args;
  std::vector<Integer> NamedArgs;
};

// The platform's automation interface, as much of it as the interpreter uses.
class IDispatch {
 public:
  virtual ~IDispatch() = default;
  // 0 on success, else a failure code.
  virtual Integer GetIDsOfNames(const std::u16string& name, Integer& dispId) = 0;
  virtual Integer Invoke(Integer dispId, Word flags, const TDispParams& params, Variant* result,
                         TExcepInfo& info) = 0;
};

// How the platform finds the automation interface behind a Variant. Nothing
// is installed on this system, so every automation member raises.
using TfsDispatchResolver = IDispatch* (*)(const Variant& value);
void fsSetDispatchResolver(TfsDispatchResolver resolver);

class TfsOLEHelper : public TfsCustomHelper {
  VXN_DECLARE_CLASS(TfsOLEHelper)

 public:
  explicit TfsOLEHelper(std::string_view name);

  // Adds one Variant argument (the designator builder calls it per argument).
  void AddArgument();

  // A method call or property read; a result only when ResultWanted.
  Variant GetValue() override;
  // A property assignment.
  void SetValue(const Variant& value) override;

  // The invocation GetValue or SetValue makes: flags and packed arguments.
  TDispParams PackArguments(bool assign, const Variant& value) const;
  Word InvokeFlags(bool assign) const;

 private:
  Variant Invoke(bool assign, const Variant& value);
};

// "OLE error:" with the code as eight hex digits, the member name and what
// the exception information carries.
std::string fsOleErrorText(Integer code, const std::string& member, const TExcepInfo& info);
