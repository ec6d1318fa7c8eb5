// A mask editor on a shown form, entered without selecting its text.
#pragma once

#include <string>

#include "suite/editors/cxMaskEdit.h"
#include "tests/suite/editors/EditorOnFormFixture.h"

class MaskEditFixture : public EditorOnForm<TcxMaskEdit> {
 protected:
  // Entering then leaves the caret where it was instead of selecting the
  // whole text.
  void Prepare() override { Props()->SetAutoSelect(false); }
  TcxMaskEditProperties* Props() { return edit->MaskProperties(); }
  // The inner edit's text with the selection in brackets.
  static std::string Shown(TcxCustomMaskEdit* e) {
    const std::string text = VarToStr(e->InnerEdit()->EditValue());
    const Integer start = e->SelStart(), length = e->SelLength();
    return text.substr(0, start) + "[" + text.substr(start, length) + "]" + text.substr(start + length);
  }
  std::string Shown() { return Shown(edit); }
};
