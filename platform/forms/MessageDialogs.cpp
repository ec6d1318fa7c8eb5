#include "platform/forms/MessageDialogs.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/EditControl.h"
#include "platform/win/Input.h"

using namespace win;

namespace {

struct ButtonInfo {
  const char* Name;
  const char* Caption;
  TModalResult Result;
};
// In TMsgDlgBtn order.
constexpr ButtonInfo kButtons[] = {
    {"Yes", "&Yes", mrYes},       {"No", "&No", mrNo},           {"OK", "OK", mrOk},
    {"Cancel", "Cancel", mrCancel}, {"Abort", "&Abort", mrAbort}, {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore}, {"All", "&All", mrAll},      {"NoToAll", "N&o to All", mrNoToAll},
    {"YesToAll", "Yes to &All", 10}, {"Help", "&Help", 11},
};

// The input field: a control over the system's EDIT class, which does the
// typing, caret, selection and clipboard itself.
class TInputEdit : public TWinControl {
 public:
  explicit TInputEdit(TComponent* AOwner) : TWinControl(AOwner) {
    RegisterEditClass();
    WNDCLASSEX edit;
    if (GetClassInfoEx(nullptr, kEditClassName, &edit)) DefWndProc = edit.lpfnWndProc;
    SetTabStop(true);
    SetColor(clWindow);
  }
  ~TInputEdit() override { DestroyHandle(); }

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    Params.Style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
  }
  void CreateWnd() override {
    TWinControl::CreateWnd();
    SendMessage(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
  }
  bool PaintsItself() const override { return true; }
};

constexpr const char* kCaptions[] = {"Warning", "Error", "Information", "Confirm", ""};

TDialogHook& DialogHook() {
  static TDialogHook hook;
  return hook;
}

// The kind's picture, drawn with the canvas: a yellow triangle, a red
// circle with a cross, a blue "i", a blue "?".
class TMessageIcon : public TGraphicControl {
 public:
  TMessageIcon(TComponent* AOwner, TMsgDlgType Type) : TGraphicControl(AOwner), Type_(Type) {
    SetBounds(0, 0, 32, 32);
  }

 protected:
  void Paint() override {
    TCanvas* c = Canvas();
    c->Pen()->SetColor(clBlack);
    c->Font()->SetStyle({fsBold});
    c->Font()->SetHeight(-22);
    std::string mark;
    switch (Type_) {
      case mtWarning:
        c->Brush()->SetColor(clYellow);
        c->Polygon({Point(16, 1), Point(31, 30), Point(1, 30)});
        mark = "!";
        break;
      case mtError:
        c->Brush()->SetColor(clRed);
        c->Ellipse(1, 1, 31, 31);
        c->Pen()->SetColor(clWhite);
        c->Pen()->SetWidth(3);
        c->MoveTo(10, 10), c->LineTo(22, 22);
        c->MoveTo(22, 10), c->LineTo(10, 22);
        return;
      case mtInformation:
      case mtConfirmation:
        c->Brush()->SetColor(clBlue);
        c->Ellipse(1, 1, 31, 31);
        c->Font()->SetColor(clWhite);
        mark = Type_ == mtInformation ? "i" : "?";
        break;
      case mtCustom: return;
    }
    c->Brush()->SetStyle(bsClear);
    TSize s = c->TextExtent(mark);
    c->TextOut((32 - s.cx) / 2, (34 - s.cy) / 2, mark);
  }

 private:
  TMsgDlgType Type_;
};

// The buttons in the order the dialog shows them; Cancel always comes last,
// as on the system's boxes (Retry, Cancel).
std::vector<TMsgDlgBtn> ButtonOrder(TMsgDlgButtons Buttons) {
  std::vector<TMsgDlgBtn> order;
  for (int b = mbYes; b <= mbHelp; ++b)
    if (b != mbCancel && Buttons.Contains(static_cast<TMsgDlgBtn>(b))) order.push_back(static_cast<TMsgDlgBtn>(b));
  if (Buttons.Contains(mbCancel)) order.insert(order.end() - (Buttons.Contains(mbHelp) ? 1 : 0), mbCancel);
  return order;
}

// One button of a dialog's row: named, captioned and with the result of its kind.
TButton* AddButton(TForm* Form, TMsgDlgBtn Kind, TRect Bounds) {
  auto* button = new TButton(Form);
  button->SetName(kButtons[Kind].Name);
  button->SetParent(Form);
  button->SetCaption(kButtons[Kind].Caption);
  button->SetModalResult(kButtons[Kind].Result);
  button->SetBoundsRect(Bounds);
  return button;
}

}  // namespace

TDialogHook SetDialogHook(TDialogHook Hook) {
  TDialogHook old = DialogHook();
  DialogHook() = std::move(Hook);
  return old;
}

TForm* CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                           TMsgDlgBtn DefaultButton) {
  auto form = std::make_unique<TForm>(nullptr);
  form->AfterConstruction();
  form->SetBorderStyle(bsDialog);
  form->SetPosition(poScreenCenter);
  std::string caption = kCaptions[DlgType];
  if (caption.empty() && Application) caption = Application->Title();
  form->SetCaption(caption);

  const Integer margin = 8, spacing = 10, buttonWidth = 75, buttonHeight = 25;
  Integer textLeft = margin;
  if (DlgType != mtCustom) {
    auto* icon = new TMessageIcon(form.get(), DlgType);
    icon->SetParent(form.get());
    icon->SetBounds(margin, margin, 32, 32);
    textLeft += 32 + spacing;
  }
  auto* message = new TLabel(form.get());
  message->SetName("Message");
  message->SetParent(form.get());
  message->SetShowAccelChar(false);
  message->SetBounds(textLeft, margin, 0, 0);
  message->SetCaption(Msg);
  if (message->Width() > 400) {  // long texts wrap
    message->SetAutoSize(false);
    message->SetWordWrap(true);
    message->SetWidth(400);
    message->SetAutoSize(true);
  }

  std::vector<TMsgDlgBtn> order = ButtonOrder(Buttons);
  if (order.empty()) order.push_back(mbOK);
  TMsgDlgBtn def = DefaultButton;
  if (std::find(order.begin(), order.end(), def) == order.end())
    def = Buttons.Contains(mbOK) ? mbOK : Buttons.Contains(mbYes) ? mbYes : order.front();
  TMsgDlgBtn cancel = Buttons.Contains(mbCancel) ? mbCancel : Buttons.Contains(mbNo) ? mbNo : mbOK;

  Integer rowWidth = static_cast<Integer>(order.size()) * buttonWidth + (static_cast<Integer>(order.size()) - 1) * spacing;
  Integer top = std::max<Integer>(margin + 32, margin + message->Height()) + 2 * spacing;
  Integer clientWidth = std::max(rowWidth, textLeft + message->Width() - margin) + 2 * margin;
  Integer x = (clientWidth - rowWidth) / 2;
  TButton* focus = nullptr;
  for (TMsgDlgBtn b : order) {
    TButton* button = AddButton(form.get(), b, {x, top, x + buttonWidth, top + buttonHeight});
    if (b == def) {
      button->SetDefault(true);
      focus = button;
    }
    if (b == cancel) button->SetCancel(true);
    x += buttonWidth + spacing;
  }
  form->HandleNeeded();  // the frame's size is known once the window exists
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(top + buttonHeight + margin);
  if (focus) form->SetActiveControl(focus);
  return form.release();
}

Integer MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx) {
  (void)HelpCtx;
  std::unique_ptr<TForm> dialog(CreateMessageDialog(Msg, DlgType, Buttons));
  if (DialogHook()) return DialogHook()(dialog.get());
  return dialog->ShowModal();
}

void ShowMessage(const std::string& Msg) { MessageDlg(Msg, mtCustom, {mbOK}); }

int MessageBox(const std::string& Text, const std::string& Caption, UINT Flags) {
  static const TMsgDlgButtons kSets[] = {{mbOK},           {mbOK, mbCancel},  {mbAbort, mbRetry, mbIgnore},
                                         {mbYes, mbNo, mbCancel}, {mbYes, mbNo}, {mbRetry, mbCancel}};
  UINT type = Flags & MB_TYPEMASK;
  TMsgDlgButtons buttons = type < std::size(kSets) ? kSets[type] : kSets[0];
  TMsgDlgType kind = mtCustom;
  switch (Flags & MB_ICONMASK) {
    case MB_ICONHAND: kind = mtError; break;
    case MB_ICONQUESTION: kind = mtConfirmation; break;
    case MB_ICONEXCLAMATION: kind = mtWarning; break;
    case MB_ICONASTERISK: kind = mtInformation; break;
  }
  std::vector<TMsgDlgBtn> order = ButtonOrder(buttons);
  size_t defIndex = (Flags & MB_DEFMASK) >> 8;
  TMsgDlgBtn def = defIndex < order.size() ? order[defIndex] : order.front();
  std::unique_ptr<TForm> dialog(CreateMessageDialog(Text, kind, buttons, def));
  dialog->SetCaption(Caption);
  TModalResult result = DialogHook() ? DialogHook()(dialog.get()) : dialog->ShowModal();
  // Closing the box without a button is Cancel where there is one, else the
  // only sensible answer of the box (OK, or No).
  if (result == mrNone || result == mrCancel) {
    if (buttons.Contains(mbCancel)) return IDCANCEL;
    if (buttons.Contains(mbNo)) return IDNO;
    return IDOK;
  }
  return static_cast<int>(result);  // modal results are the ID numbers
}

bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value) {
  auto form = std::make_unique<TForm>(nullptr);
  form->AfterConstruction();
  form->SetBorderStyle(bsDialog);
  form->SetPosition(poScreenCenter);
  form->SetCaption(ACaption);

  const Integer margin = 8, spacing = 10, buttonWidth = 75, buttonHeight = 25, editHeight = 21;
  auto* prompt = new TLabel(form.get());
  prompt->SetName("Prompt");
  prompt->SetParent(form.get());
  prompt->SetBounds(margin, margin, 0, 0);
  prompt->SetCaption(APrompt);
  const Integer clientWidth =
      std::max<Integer>(2 * buttonWidth + spacing + 2 * margin + 100, prompt->Width() + 2 * margin);

  auto* edit = new TInputEdit(form.get());
  edit->SetName("Value");
  edit->SetParent(form.get());
  edit->SetBounds(margin, prompt->Top() + prompt->Height() + 4, clientWidth - 2 * margin, editHeight);
  edit->SetText(Value);
  prompt->SetFocusControl(edit);  // an "&" in the prompt reaches the field

  const Integer top = edit->Top() + editHeight + spacing + 4;
  Integer x = (clientWidth - 2 * buttonWidth - spacing) / 2;
  for (TMsgDlgBtn b : {mbOK, mbCancel}) {
    TButton* button = AddButton(form.get(), b, {x, top, x + buttonWidth, top + buttonHeight});
    button->SetDefault(b == mbOK);
    button->SetCancel(b == mbCancel);
    x += buttonWidth + spacing;
  }
  form->HandleNeeded();
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(top + buttonHeight + margin);
  form->SetActiveControl(edit);
  SendMessage(edit->Handle(), EM_SETSEL, 0, static_cast<LPARAM>(-1));

  TModalResult result = DialogHook() ? DialogHook()(form.get()) : form->ShowModal();
  if (result != mrOk) return false;
  Value = edit->GetText();
  return true;
}

std::string InputBox(const std::string& ACaption, const std::string& APrompt, const std::string& ADefault) {
  std::string value = ADefault;
  InputQuery(ACaption, APrompt, value);
  return value;
}
