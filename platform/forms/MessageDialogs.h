// Message boxes drawn by our own forms: MessageDlg with its kinds and
// buttons, MessageBox with the system's flags and answers, ShowMessage,
// and the one-line question of InputQuery and InputBox.
// A hook may answer instead of a person (tests, scripted runs).
#pragma once

#include <functional>
#include <string>

#include "platform/forms/CustomForms.h"
#include "platform/win/SysParams.h"

namespace win {
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONMASK = 0x000000F0;
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFBUTTON4 = 0x00000300;
constexpr UINT MB_DEFMASK = 0x00000F00;

constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
}  // namespace win

VXN_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
VXN_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp)
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// Builds the dialog: an icon for the kind, the message, and the buttons in
// their fixed order, Cancel last (default: OK or Yes, else the first;
// cancel: Cancel, else No, else OK). The caller owns it.
TForm* CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                           TMsgDlgBtn DefaultButton = mbHelp /* none given */);

// Answers a shown dialog in place of a person: it gets the dialog (buttons
// named after their kind: "OK", "Cancel", "Yes", ...) and returns the
// modal result. Returns the previous hook; an empty one shows dialogs modal.
using TDialogHook = std::function<TModalResult(TForm* Dialog)>;
TDialogHook SetDialogHook(TDialogHook Hook);

// The modal result of the button pressed (mrOk, mrYes, ...); HelpCtx is kept
// for the help system.
Integer MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx = 0);
void ShowMessage(const std::string& Msg);
// Flags as the system's MessageBox takes them (MB_OK .. MB_RETRYCANCEL, an
// MB_ICON* kind, MB_DEFBUTTONn); answers IDOK, IDCANCEL, IDYES, ...
int MessageBox(const std::string& Text, const std::string& Caption, win::UINT Flags);

// One line of text asked for: the prompt ("Prompt"), an edit field ("Value")
// holding Value all selected, and OK and Cancel. On OK Value takes the text
// and the answer is true; otherwise Value stays as it was.
bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value);
// The text entered, or ADefault when the dialog is cancelled.
std::string InputBox(const std::string& ACaption, const std::string& APrompt, const std::string& ADefault);
