#include "script/fs_idisp.h"

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"

VXN_IMPLEMENT_CLASS(TfsOLEHelper, TfsCustomHelper)

namespace {

TfsDispatchResolver gResolver = nullptr;

}  // namespace

void fsSetDispatchResolver(TfsDispatchResolver resolver) { gResolver = resolver; }

std::string fsOleErrorText(Integer code, const std::string& member, const TExcepInfo& info) {
  std::string text = "OLE error:" + IntToHex(code, 8) +
                     ": " + member;
  if (!info.Source.empty()) text += "\nSource        ::  " + info.Source;
  if (!info.Description.empty()) text += "\nDescription ::  " + info.Description;
  if (!info.HelpFile.empty()) text += "\nHelp File     ::  " + info.HelpFile;
  return text;
}

TfsOLEHelper::TfsOLEHelper(std::string_view name) : TfsCustomHelper(name, "", fvtVariant) {}

void TfsOLEHelper::AddArgument() {
  Add(new TfsParamItem("", false, false, "Variant", fvtVariant));
}

Word TfsOLEHelper::InvokeFlags(bool assign) const {
  if (assign) return DISPATCH_PROPERTYPUT;
  return ResultWanted ? DISPATCH_METHOD | DISPATCH_PROPERTYGET : DISPATCH_METHOD;
}

TDispParams TfsOLEHelper::PackArguments(bool assign, const Variant& value) const {
  const Integer count = Count() + (assign ? 1 : 0);
  if (count > fsMaxDispatchArgs)
    throw Exception(Format("Too many arguments for automation member %s", {Name}));
  TDispParams params;
  params.Args.reserve(static_cast<size_t>(count));
  // Dispatch order is the reverse of the script's: the assigned value first.
  if (assign) {
    params.Args.push_back(value);
    params.NamedArgs.push_back(DISPID_PROPERTYPUT);
  }
  for (Integer i = Count() - 1; i >= 0; --i) params.Args.push_back(Params(i)->Value);
  return params;
}

Variant TfsOLEHelper::Invoke(bool assign, const Variant& value) {
  IDispatch* dispatch = gResolver ? gResolver(InstanceValue) : nullptr;
  if (!dispatch)
    throw Exception(Format("Automation objects are not supported on this system (member %s)", {Name}));
  const TDispParams params = PackArguments(assign, value);
  TExcepInfo info;
  Integer dispId = 0;
  Integer code = dispatch->GetIDsOfNames(Utf8ToUtf16(Name), dispId);
  Variant result;
  const bool wantResult = !assign && ResultWanted;
  if (code == 0) code = dispatch->Invoke(dispId, InvokeFlags(assign), params, wantResult ? &result : nullptr, info);
  if (code != 0) throw Exception(fsOleErrorText(code, Name, info));
  return result;
}

Variant TfsOLEHelper::GetValue() { return Invoke(false, Variant()); }

void TfsOLEHelper::SetValue(const Variant& value) { Invoke(true, value); }
