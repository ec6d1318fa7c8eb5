// A mask editor on a shown form (with a plain edit to move the focus to),
// driven through the message loop with injected keys and text. Our
// renderer, headless.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/Input.h"
#include "platform/win/Windows.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxMaskEdit.h"

class MaskEditFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeEditors();
    win::ResetInputState();
    win::InjectMouseMove({0, 0});
    form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 320, 160);
    other = new TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(10, 120, 100, 24);
    edit = new TcxMaskEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 200, 21);
    // Entering then leaves the caret where it was instead of selecting the
    // whole text.
    Props()->SetAutoSelect(false);
    form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    form.reset();
    win::ResetInputState();
  }
  TcxMaskEditProperties* Props() { return edit->MaskProperties(); }
  void Focus(TWinControl* e) {
    e->SetFocus();
    Application->ProcessMessages();
  }
  void Type(const std::string& text) {
    win::InjectText(text);
    Application->ProcessMessages();
  }
  void Press(Word vk, bool shift = false, bool ctrl = false) {
    win::InjectKeyPress(vk, shift, ctrl);
    Application->ProcessMessages();
  }
  // The inner edit's text with the selection in brackets.
  static std::string Shown(TcxCustomMaskEdit* e) {
    const std::string text = VarToStr(e->InnerEdit()->EditValue());
    const Integer start = e->SelStart(), length = e->SelLength();
    return text.substr(0, start) + "[" + text.substr(start, length) + "]" + text.substr(start + length);
  }
  std::string Shown() { return Shown(edit); }

  std::unique_ptr<TForm> form;
  TEdit* other = nullptr;
  TcxMaskEdit* edit = nullptr;
};
