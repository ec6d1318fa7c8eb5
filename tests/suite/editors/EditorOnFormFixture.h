// An editor on a shown, borderless form with a plain edit to move the focus
// to, driven through the message loop with injected keys and text. Our
// renderer, headless. Prepare() sets the editor up before the form shows.
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

template <typename TEditor>
class EditorOnForm : public ::testing::Test {
 protected:
  explicit EditorOnForm(Integer AEditWidth = 200) : editWidth_(AEditWidth) {}

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
    edit = Make<TEditor>(10, editWidth_);
    Prepare();
    form->Show();
    Pump();
  }
  void TearDown() override {
    form.reset();
    win::ResetInputState();
  }
  virtual void Prepare() {}

  template <typename T>
  T* Make(Integer top, Integer width = 200) {
    auto* e = new T(form.get());
    e->SetParent(form.get());
    e->SetBounds(10, top, width, 21);
    return e;
  }
  void Pump() { Application->ProcessMessages(); }
  void Focus(TWinControl* c) {
    c->SetFocus();
    Pump();
  }
  void Type(const std::string& text) {
    win::InjectText(text);
    Pump();
  }
  void Press(Word vk, bool shift = false, bool ctrl = false) {
    win::InjectKeyPress(vk, shift, ctrl);
    Pump();
  }

  std::unique_ptr<TForm> form;
  TEdit* other = nullptr;
  TEditor* edit = nullptr;

 private:
  Integer editWidth_;
};
