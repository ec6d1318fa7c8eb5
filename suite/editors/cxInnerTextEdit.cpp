#include "suite/editors/cxInnerTextEdit.h"

#include <cstdint>

#include "platform/forms/StdCtrls.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/EditControl.h"
#include "platform/win/Input.h"
#include "suite/editors/cxContainerViewInfo.h"

using namespace win;

void SaveInnerTextEditState(IcxInnerTextEdit* Edit, bool SaveText, TcxCustomInnerTextEditPrevState& State) {
  State.TextKept = SaveText;
  State.KeptText = SaveText ? VarToStr(Edit->EditValue()) : std::string();
  State.KeptSelStart = Edit->SelStart();
  State.KeptSelLength = Edit->SelLength();
}

bool InnerTextEditStateChanged(IcxInnerTextEdit* Edit, const TcxCustomInnerTextEditPrevState& State) {
  if (!Edit->Control()->HandleAllocated()) return true;
  if (Edit->SelStart() != State.KeptSelStart || Edit->SelLength() != State.KeptSelLength) return true;
  return State.TextKept && !EqualStrings(VarToStr(Edit->EditValue()), State.KeptText, false);
}

Integer CaretCharIndex(TCustomEdit* Edit) {
  HWND wnd = Edit->Handle();
  const auto length = static_cast<Integer>(Utf8CharCount(Edit->GetText()));
  POINT caret{};
  GetCaretPos(&caret);
  // The low word as a signed 16-bit value: -1 (no character) stays left of
  // any caret.
  auto x = [wnd](Integer index) {
    return static_cast<Integer>(static_cast<int16_t>(LOWORD(SendMessage(wnd, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0))));
  };
  Integer lo = 0;
  Integer hi = length - 1;
  do {
    const Integer mid = (lo + hi) / 2;
    if (x(mid) < caret.x)
      lo = mid;
    else
      hi = mid;
  } while (hi - lo >= 2);
  if (x(lo) == caret.x) return lo;
  if (x(hi) == caret.x) return hi;
  return hi + 1;
}
