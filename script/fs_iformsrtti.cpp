#include "script/fs_iformsrtti.h"

#include <string>

#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/forms/ScrollCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/ObjectHandles.h"
#include "script/fs_ievents.h"

namespace fs_iformsrtti {

VXN_IMPLEMENT_CLASS(TFunctions, TfsRTTIModule)

namespace {

template <typename T>
T* As(TObject* instance) {
  auto* object = dynamic_cast<T*>(instance);
  if (!object) throw EInvalidCast("Invalid class typecast");
  return object;
}

Variant Methods(TObject* instance, TClass, const std::string& name, TfsMethodHelper* c) {
  const TClass declared = c->HostClass;
  auto arg = [c](Integer i) { return c->ParamValueAt(i); };
  if (declared == TControl::StaticClass()) {
    auto* control = As<TControl>(instance);
    if (name == "HIDE") control->Hide();
    if (name == "SHOW") control->Show();
    if (name == "SETBOUNDS")
      control->SetBounds(arg(0).AsInteger(), arg(1).AsInteger(), arg(2).AsInteger(), arg(3).AsInteger());
  } else if (declared == TWinControl::StaticClass()) {
    if (name == "SETFOCUS") As<TWinControl>(instance)->SetFocus();
  } else if (declared == TCustomListBox::StaticClass()) {
    auto* list = As<TCustomListBox>(instance);
    if (name == "SELECTED.GET") return list->Selected(arg(0).AsInteger());
    if (name == "SELECTED.SET") list->SetSelected(arg(0).AsInteger(), arg(1).AsBoolean());
  } else if (declared == TCustomForm::StaticClass()) {
    // Showing and closing are the forms library's TForm's (every form is one).
    auto* form = As<TForm>(instance);
    if (name == "CLOSE") form->Close();
    if (name == "HIDE") form->Hide();
    if (name == "SHOW") form->Show();
    if (name == "SHOWMODAL") return static_cast<Integer>(form->ShowModal());
  } else if (declared == TApplication::StaticClass()) {
    auto* app = As<TApplication>(instance);
    if (name == "MINIMIZE") app->Minimize();
    if (name == "PROCESSMESSAGES") app->ProcessMessages();
    if (name == "RESTORE") app->Restore();
  }
  return 0;
}

Variant Getter(TObject* instance, TClass cls, const std::string& name) {
  if (!instance) return 0;
  if (cls == TControl::StaticClass() && name == "PARENT")
    return VarFromObject(As<TControl>(instance)->Parent());
  if (cls == TCustomComboBox::StaticClass()) {
    auto* combo = As<TCustomComboBox>(instance);
    if (name == "DROPPEDDOWN") return combo->DroppedDown();
    if (name == "ITEMINDEX") return combo->ItemIndex();
  }
  if (cls == TCustomListBox::StaticClass()) {
    auto* list = As<TCustomListBox>(instance);
    if (name == "SELCOUNT") return list->SelCount();
    if (name == "ITEMINDEX") return list->ItemIndex();
  }
  if (cls == TCustomForm::StaticClass()) {
    if (name == "MODALRESULT") return static_cast<Integer>(As<TForm>(instance)->ModalResult());
    if (name == "CANVAS") return VarFromObject(As<TCustomForm>(instance)->Canvas());
  }
  if (cls == TApplication::StaticClass() && name == "EXENAME") return As<TApplication>(instance)->ExeName();
  return 0;
}

void Setter(TObject* instance, TClass cls, const std::string& name, const Variant& value) {
  if (!instance) throw Exception("Cannot assign property " + name + " of nil");
  if (cls == TControl::StaticClass() && name == "PARENT")
    As<TControl>(instance)->SetParent(VarToObject<TWinControl>(value));
  if (cls == TCustomComboBox::StaticClass()) {
    auto* combo = As<TCustomComboBox>(instance);
    if (name == "DROPPEDDOWN") combo->SetDroppedDown(value.AsBoolean());
    if (name == "ITEMINDEX") combo->SetItemIndex(value.AsInteger());
  }
  if (cls == TCustomListBox::StaticClass() && name == "ITEMINDEX")
    As<TCustomListBox>(instance)->SetItemIndex(value.AsInteger());
  // Written straight into the form's field, as the library's own property does.
  if (cls == TCustomForm::StaticClass() && name == "MODALRESULT")
    As<TForm>(instance)->SetModalResult(static_cast<TModalResult>(value.AsInteger()));
}

}  // namespace

TFunctions::TFunctions(TfsScript* script) : TfsRTTIModule(script) {
  TfsScript& s = *script;
  const std::pair<const char*, Integer> constants[] = {
      {"mrNone", 0}, {"mrOk", 1}, {"mrCancel", 2}, {"mrAbort", 3}, {"mrRetry", 4}, {"mrIgnore", 5},
      {"mrYes", 6}, {"mrNo", 7}, {"mrAll", 8}, {"mrNoToAll", 9}, {"mrYesToAll", 10},
      {"crDefault", 0}, {"crNone", -1}, {"crArrow", -2}, {"crCross", -3}, {"crIBeam", -4},
      {"crSize", -22}, {"crSizeNESW", -6}, {"crSizeNS", -7}, {"crSizeNWSE", -8}, {"crSizeWE", -9},
      {"crUpArrow", -10}, {"crHourGlass", -11}, {"crDrag", -12}, {"crNoDrop", -13}, {"crHSplit", -14},
      {"crVSplit", -15}, {"crMultiDrag", -16}, {"crSQLWait", -17}, {"crNo", -18}, {"crAppStart", -19},
      {"crHelp", -20}, {"crHandPoint", -21}, {"crSizeAll", -22},
      {"bsNone", 0}, {"bsSingle", 1}, {"bsSizeable", 2}, {"bsDialog", 3}, {"bsToolWindow", 4},
      {"bsSizeToolWin", 5},
      {"VK_RBUTTON", 2}, {"VK_CANCEL", 3}, {"VK_MBUTTON", 4}, {"VK_BACK", 8}, {"VK_TAB", 9},
      {"VK_RETURN", 13}, {"VK_SHIFT", 16}, {"VK_CONTROL", 17}, {"VK_MENU", 18}, {"VK_PAUSE", 19},
      {"VK_CAPITAL", 20}, {"VK_ESCAPE", 27}, {"VK_SPACE", 32}, {"VK_PRIOR", 33}, {"VK_NEXT", 34},
      {"VK_END", 35}, {"VK_HOME", 36}, {"VK_LEFT", 37}, {"VK_UP", 38}, {"VK_RIGHT", 39},
      {"VK_DOWN", 40}, {"VK_INSERT", 45}, {"VK_DELETE", 46}, {"VK_HELP", 47}, {"VK_LWIN", 91},
      {"VK_RWIN", 92}, {"VK_APPS", 93},
  };
  for (const auto& [name, value] : constants) s.DeclareConstant(name, "Integer", value);
  for (int i = 0; i <= 9; ++i) s.DeclareConstant("VK_NUMPAD" + std::to_string(i), "Integer", 96 + i);
  const std::pair<const char*, Integer> keys[] = {
      {"VK_MULTIPLY", 106}, {"VK_ADD", 107}, {"VK_SEPARATOR", 108}, {"VK_SUBTRACT", 109},
      {"VK_DECIMAL", 110}, {"VK_DIVIDE", 111}};
  for (const auto& [name, value] : keys) s.DeclareConstant(name, "Integer", value);
  for (int i = 1; i <= 12; ++i) s.DeclareConstant("VK_F" + std::to_string(i), "Integer", 111 + i);
  s.DeclareConstant("VK_NUMLOCK", "Integer", 144);
  s.DeclareConstant("VK_SCROLL", "Integer", 145);

  for (const char* type : {"TFormBorderStyle", "TBorderStyle", "TAlignment", "TLeftRight"})
    s.DeclareType(type, fvtInt);
  s.DeclareConstant("taLeftJustify", "Integer", 0);
  s.DeclareConstant("taRightJustify", "Integer", 1);
  s.DeclareConstant("taCenter", "Integer", 2);

  s.DeclareSetEnumeration("TShiftState", "ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble");
  s.DeclareEnumeration("TAlign", "alNone, alTop, alBottom, alLeft, alRight, alClient");
  s.DeclareEnumeration("TMouseButton", "mbLeft, mbRight, mbMiddle");
  s.DeclareSetEnumeration("TAnchors", "akLeft, akTop, akRight, akBottom");
  s.DeclareEnumeration("TBevelCut", "bvNone, bvLowered, bvRaised, bvSpace");
  s.DeclareEnumeration("TTextLayout", "tlTop, tlCenter, tlBottom");
  s.DeclareEnumeration("TEditCharCase", "ecNormal, ecUpperCase, ecLowerCase");
  s.DeclareEnumeration("TScrollStyle", "ssNone, ssHorizontal, ssVertical, ssBoth");
  s.DeclareEnumeration("TComboBoxStyle",
                       "csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable");
  s.DeclareEnumeration("TCheckBoxState", "cbUnchecked, cbChecked, cbGrayed");
  s.DeclareEnumeration("TListBoxStyle", "lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable");
  s.DeclareEnumeration("TWindowState", "wsNormal, wsMinimized, wsMaximized");
  s.DeclareEnumeration("TFormStyle", "fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop");
  s.DeclareSetEnumeration("TBorderIcons", "biSystemMenu, biMinimize, biMaximize, biHelp");
  s.DeclareEnumeration("TPosition",
                       "poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter");
  s.DeclareEnumeration("TCloseAction", "caNone, caHide, caFree, caMinimize");

  TfsClassVariable* c = s.DeclareClass(TControl::StaticClass(), "TComponent");
  c->DeclareProperty("Parent", "TWinControl", Getter, Setter);
  c->DeclareMethod("procedure Hide", Methods);
  c->DeclareMethod("procedure Show", Methods);
  c->DeclareMethod("procedure SetBounds(ALeft, ATop, AWidth, AHeight: Integer)", Methods);
  c->DeclareEvent("OnCanResize", fsEventFactory<TfsCanResizeEvent>);
  c->DeclareEvent("OnClick", fsEventFactory<TfsNotifyEvent>);
  c->DeclareEvent("OnDblClick", fsEventFactory<TfsNotifyEvent>);
  c->DeclareEvent("OnMouseDown", fsEventFactory<TfsMouseEvent>);
  c->DeclareEvent("OnMouseMove", fsEventFactory<TfsMouseMoveEvent>);
  c->DeclareEvent("OnMouseUp", fsEventFactory<TfsMouseEvent>);
  c->DeclareEvent("OnResize", fsEventFactory<TfsNotifyEvent>);

  c = s.DeclareClass(TWinControl::StaticClass(), "TControl");
  c->DeclareMethod("procedure SetFocus", Methods);
  c->DeclareEvent("OnEnter", fsEventFactory<TfsNotifyEvent>);
  c->DeclareEvent("OnExit", fsEventFactory<TfsNotifyEvent>);
  c->DeclareEvent("OnKeyDown", fsEventFactory<TfsKeyEvent>);
  c->DeclareEvent("OnKeyPress", fsEventFactory<TfsKeyPressEvent>);
  c->DeclareEvent("OnKeyUp", fsEventFactory<TfsKeyEvent>);

  s.DeclareClass(TCustomControl::StaticClass(), "TWinControl");
  s.DeclareClass(TGraphicControl::StaticClass(), "TControl");
  s.DeclareClass(TGroupBox::StaticClass(), "TWinControl");
  s.DeclareClass(TLabel::StaticClass(), "TControl");
  s.DeclareClass(TEdit::StaticClass(), "TWinControl");
  s.DeclareClass(TMemo::StaticClass(), "TWinControl");
  c = s.DeclareClass(TCustomComboBox::StaticClass(), "TWinControl");
  c->DeclareProperty("DroppedDown", "Boolean", Getter, Setter);
  c->DeclareProperty("ItemIndex", "Integer", Getter, Setter);
  c->DeclareEvent("OnChange", fsEventFactory<TfsNotifyEvent>);
  c->DeclareEvent("OnDropDown", fsEventFactory<TfsNotifyEvent>);
  c->DeclareEvent("OnCloseUp", fsEventFactory<TfsNotifyEvent>);
  s.DeclareClass(TComboBox::StaticClass(), "TCustomComboBox");
  s.DeclareClass(TButton::StaticClass(), "TWinControl");
  s.DeclareClass(TCheckBox::StaticClass(), "TWinControl");
  s.DeclareClass(TRadioButton::StaticClass(), "TWinControl");
  c = s.DeclareClass(TCustomListBox::StaticClass(), "TWinControl");
  c->DeclareProperty("ItemIndex", "Integer", Getter, Setter);
  c->DeclareProperty("SelCount", "Integer", Getter);
  c->DeclareIndexedProperty("Selected", "Integer", "Boolean", Methods);
  s.DeclareClass(TListBox::StaticClass(), "TCustomListBox");
  s.DeclareClass(TControlScrollBar::StaticClass(), "TPersistent");
  s.DeclareClass(TScrollingWinControl::StaticClass(), "TWinControl");
  s.DeclareClass(TScrollBox::StaticClass(), "TScrollingWinControl");
  c = s.DeclareClass(TCustomForm::StaticClass(), "TScrollingWinControl");
  c->DeclareMethod("procedure Close", Methods);
  c->DeclareMethod("procedure Hide", Methods);
  c->DeclareMethod("procedure Show", Methods);
  c->DeclareMethod("function ShowModal: Integer", Methods);
  c->DeclareEvent("OnActivate", fsEventFactory<TfsNotifyEvent>);
  c->DeclareEvent("OnClose", fsEventFactory<TfsCloseEvent>);
  c->DeclareEvent("OnCloseQuery", fsEventFactory<TfsCloseQueryEvent>);
  for (const char* event : {"OnCreate", "OnDestroy", "OnDeactivate", "OnHide", "OnPaint", "OnShow"})
    c->DeclareEvent(event, fsEventFactory<TfsNotifyEvent>);
  c->DeclareProperty("Canvas", "TCanvas", Getter);
  c->DeclareProperty("ModalResult", "Integer", Getter, Setter);
  s.DeclareClass(TForm::StaticClass(), "TCustomForm");
  s.DeclareClass(TDataModule::StaticClass(), "TComponent");
  c = s.DeclareClass(TApplication::StaticClass(), "TComponent");
  c->DeclareMethod("procedure Minimize", Methods);
  c->DeclareMethod("procedure ProcessMessages", Methods);
  c->DeclareMethod("procedure Restore", Methods);
  c->DeclareProperty("ExeName", "String", Getter);

  s.DeclareObject("Application", Application);
}

void Register() {
  static bool done = false;
  if (done) return;
  done = true;
  fsRegisterHostModule([](TfsScript* script) -> TfsRTTIModule* { return new TFunctions(script); });
}

}  // namespace fs_iformsrtti
