// Message boxes drawn by our own forms: MessageDlg with its kinds and
// buttons, MessageBox with the system's flags and answers, ShowMessage,
// and the one-line question of InputQuery and InputBox.
// A hook may answer instead of a person (tests, scripted runs).
#pragma once

#include <functional>
#include <string>

#include "platform/forms/CustomForms.h"
#include "platform/win/SysParams.h"

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
