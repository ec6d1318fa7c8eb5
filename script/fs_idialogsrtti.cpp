#include "script/fs_idialogsrtti.h"

#include "platform/forms/Dialogs.h"
#include "platform/forms/MessageDialogs.h"
#include "platform/rtl/ObjectHandles.h"

namespace fs_idialogsrtti {

VXN_IMPLEMENT_CLASS(TFunctions, TfsRTTIModule)

namespace {

Variant Methods(TObject* instance, TClass, const std::string& name, TfsMethodHelper* c) {
  if (name == "EXECUTE") {
    auto* dialog = dynamic_cast<TCommonDialog*>(instance);
    if (!dialog) throw EInvalidCast("Invalid class typecast");
    return dialog->Execute();
  }
  if (name == "INPUTBOX")
    return InputBox(VarToStr(c->ParamValueAt(0)), VarToStr(c->ParamValueAt(1)), VarToStr(c->ParamValueAt(2)));
  if (name == "INPUTQUERY") {
    std::string value = VarToStr(c->ParamValueAt(2));
    const bool ok = InputQuery(VarToStr(c->ParamValueAt(0)), VarToStr(c->ParamValueAt(1)), value);
    c->Params(2)->SetValue(value);
    return ok;
  }
  if (name == "MESSAGEDLG") {
    const Integer type = c->ParamValueAt(1).AsInteger();
    if (type < mtWarning || type > mtCustom) throw Exception(Format("Invalid dialog type %d", {type}));
    return MessageDlg(VarToStr(c->ParamValueAt(0)), static_cast<TMsgDlgType>(type),
                      TMsgDlgButtons::FromBits(static_cast<uint64_t>(c->ParamValueAt(2).AsInteger()) & 0x7FF),
                      c->ParamValueAt(3).AsInteger());
  }
  return 0;
}

}  // namespace

TFunctions::TFunctions(TfsScript* script) : TfsRTTIModule(script) {
  TfsScript& s = *script;
  s.DeclareSetEnumeration("TOpenOptions",
                          "ofReadOnly, ofOverwritePrompt, ofHideReadOnly,ofNoChangeDir, ofShowHelp, "
                          "ofNoValidate, ofAllowMultiSelect,ofExtensionDifferent, ofPathMustExist, "
                          "ofFileMustExist, ofCreatePrompt,ofShareAware, ofNoReadOnlyReturn, "
                          "ofNoTestFileCreate, ofNoNetworkButton,ofNoLongNames, ofOldStyleDialog, "
                          "ofNoDereferenceLinks, ofEnableIncludeNotify,ofEnableSizing");
  s.DeclareEnumeration("TFileEditStyle", "fsEdit, fsComboBox");
  s.DeclareSetEnumeration("TColorDialogOptions", "cdFullOpen, cdPreventFullOpen, cdShowHelp,cdSolidColor, cdAnyColor");
  s.DeclareSetEnumeration("TFontDialogOptions",
                          "fdAnsiOnly, fdTrueTypeOnly, fdEffects,fdFixedPitchOnly, fdForceFontExist, "
                          "fdNoFaceSel, fdNoOEMFonts,fdNoSimulations, fdNoSizeSel, fdNoStyleSel,  "
                          "fdNoVectorFonts,fdShowHelp, fdWysiwyg, fdLimitSize, fdScalableOnly, fdApplyButton");
  s.DeclareEnumeration("TFontDialogDevice", "fdScreen, fdPrinter, fdBoth");
  s.DeclareEnumeration("TPrintRange", "prAllPages, prSelection, prPageNums");
  s.DeclareSetEnumeration("TPrintDialogOptions",
                          "poPrintToFile, poPageNums, poSelection,poWarning, poHelp, poDisablePrintToFile");
  s.DeclareEnumeration("TMsgDlgType", "mtWarning, mtError, mtInformation, mtConfirmation, mtCustom");
  s.DeclareSetEnumeration("TMsgDlgButtons",
                          "mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, "
                          "mbYesToAll, mbHelp");

  s.DeclareClass(TCommonDialog::StaticClass(), "TComponent")
      ->DeclareMethod("function Execute: Boolean", Methods);
  for (TClass cls : {TOpenDialog::StaticClass(), TSaveDialog::StaticClass(), TColorDialog::StaticClass(),
                     TFontDialog::StaticClass(), TPrintDialog::StaticClass(),
                     TPrinterSetupDialog::StaticClass()})
    s.DeclareClass(cls, "TCommonDialog");

  s.DeclareModuleFunction(
      "function MessageDlg(Msg: string; DlgType: TMsgDlgType; Buttons: TMsgDlgButtons; HelpCtx: Longint): Integer",
      Methods, "ctOther");
  s.DeclareModuleFunction("function InputBox(ACaption, APrompt, ADefault: string): string", Methods, "ctOther");
  s.DeclareModuleFunction("function InputQuery(ACaption, APrompt: string; var Value: string): Boolean", Methods,
                          "ctOther");
}

void Register() {
  static bool done = false;
  if (done) return;
  done = true;
  fsRegisterHostModule([](TfsScript* script) -> TfsRTTIModule* { return new TFunctions(script); });
}

}  // namespace fs_idialogsrtti
