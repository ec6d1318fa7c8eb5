#include "script/TfsStatements.h"

#include <exception>

#include "platform/rtl/SysUtils.h"
#include "script/TfsDesignator.h"
#include "script/TfsExpression.h"

VXN_IMPLEMENT_CLASS(TfsAssignmentStmt, TfsStatement)
VXN_IMPLEMENT_CLASS(TfsAssignPlusStmt, TfsAssignmentStmt)
VXN_IMPLEMENT_CLASS(TfsAssignMinusStmt, TfsAssignmentStmt)
VXN_IMPLEMENT_CLASS(TfsAssignMulStmt, TfsAssignmentStmt)
VXN_IMPLEMENT_CLASS(TfsAssignDivStmt, TfsAssignmentStmt)
VXN_IMPLEMENT_CLASS(TfsCallStmt, TfsStatement)
VXN_IMPLEMENT_CLASS(TfsIfStmt, TfsStatement)
VXN_IMPLEMENT_CLASS(TfsCaseSelector, TfsStatement)
VXN_IMPLEMENT_CLASS(TfsCaseStmt, TfsStatement)
VXN_IMPLEMENT_CLASS(TfsRepeatStmt, TfsStatement)
VXN_IMPLEMENT_CLASS(TfsWhileStmt, TfsStatement)
VXN_IMPLEMENT_CLASS(TfsForStmt, TfsStatement)
VXN_IMPLEMENT_CLASS(TfsVbForStmt, TfsStatement)
VXN_IMPLEMENT_CLASS(TfsCppForStmt, TfsStatement)
VXN_IMPLEMENT_CLASS(TfsTryStmt, TfsStatement)
VXN_IMPLEMENT_CLASS(TfsBreakStmt, TfsStatement)
VXN_IMPLEMENT_CLASS(TfsContinueStmt, TfsStatement)
VXN_IMPLEMENT_CLASS(TfsExitStmt, TfsStatement)
VXN_IMPLEMENT_CLASS(TfsWithStmt, TfsStatement)

namespace {

// RunLine, then whether the statement may go on (no stop requested).
bool Guarded(TfsStatement& s) {
  s.RunLine();
  return !s.Script->StopRequested;
}

// Null and Empty count as false; other values convert.
bool IsTrue(const Variant& v) { return !VarIsClear(v) && v.AsBoolean(); }

bool LeaveLoop(const TfsScript* s) { return s->BreakRequested || s->ExitRequested; }

Variant LoopValue(Int64 v) {
  if (v >= INT32_MIN && v <= INT32_MAX) return static_cast<Integer>(v);
  return v;
}

}  // namespace

// ---------------------------------------------------------------------------
// Assignments

TfsAssignmentStmt::~TfsAssignmentStmt() = default;

void TfsAssignmentStmt::SetParts(std::unique_ptr<TfsDesignator> target,
                                 std::unique_ptr<TfsExpression> value) {
  TargetDesignator = std::move(target);
  ValueExpr = std::move(value);
  TargetItem = dynamic_cast<TfsVariableDesignator*>(TargetDesignator.get())
                   ? TargetDesignator->LinkedItem
                   : TargetDesignator.get();
  SourceItem = ValueExpr->SingleOperand();
  if (!SourceItem) SourceItem = ValueExpr.get();
}

void TfsAssignmentStmt::Execute() {
  if (!Guarded(*this)) return;
  if (!FCompound) {
    TargetItem->SetValue(SourceItem->GetValue());
    return;
  }
  const Variant v = TargetItem->GetValue();
  const Variant e = SourceItem->GetValue();
  TargetItem->SetValue(Combine(v, e));
}

Variant TfsAssignPlusStmt::Combine(const Variant& v, const Variant& e) const { return VarAdd(v, e); }
Variant TfsAssignMinusStmt::Combine(const Variant& v, const Variant& e) const { return VarSub(v, e); }
Variant TfsAssignMulStmt::Combine(const Variant& v, const Variant& e) const { return VarMul(v, e); }
Variant TfsAssignDivStmt::Combine(const Variant& v, const Variant& e) const { return VarDiv(v, e); }

// ---------------------------------------------------------------------------
// Calls

TfsCallStmt::~TfsCallStmt() = default;

void TfsCallStmt::Execute() {
  if (!Guarded(*this)) return;
  if (StepSign.empty()) {
    CallDesignator->ResultWanted = false;
    CallDesignator->GetValue();
    return;
  }
  const Variant v = CallDesignator->GetValue();
  CallDesignator->SetValue(StepSign == "-" ? VarSub(v, 1) : VarAdd(v, 1));
}

// ---------------------------------------------------------------------------
// Conditions

TfsIfStmt::TfsIfStmt(TfsScript* script, std::string_view pos, std::string_view unit)
    : TfsStatement(script, pos, unit), ElsePart(std::make_unique<TfsStatement>(script, pos, unit)) {}

TfsIfStmt::~TfsIfStmt() = default;

void TfsIfStmt::Execute() {
  if (!Guarded(*this)) return;
  if (IsTrue(Test->GetValue()))
    TfsStatement::Execute();
  else
    ElsePart->Execute();
}

TfsCaseSelector::~TfsCaseSelector() = default;

bool TfsCaseSelector::Check(const Variant& value) { return Labels->Contains(value); }

TfsCaseStmt::TfsCaseStmt(TfsScript* script, std::string_view pos, std::string_view unit)
    : TfsStatement(script, pos, unit), ElsePart(std::make_unique<TfsStatement>(script, pos, unit)) {}

TfsCaseStmt::~TfsCaseStmt() = default;

void TfsCaseStmt::Execute() {
  const Variant value = Selector->GetValue();
  if (!Guarded(*this)) return;
  for (Integer i = 0; i < ItemCount(); ++i) {
    auto* selector = static_cast<TfsCaseSelector*>(Statements(i));
    if (selector->Check(value)) {
      selector->Execute();
      return;
    }
  }
  ElsePart->Execute();
}

// ---------------------------------------------------------------------------
// Loops

TfsRepeatStmt::~TfsRepeatStmt() = default;

void TfsRepeatStmt::Execute() {
  if (!Guarded(*this)) return;
  for (;;) {
    TfsStatement::Execute();
    if (LeaveLoop(Script)) break;
    Script->ContinueRequested = false;
    const bool c = IsTrue(Test->GetValue());
    // until: stop once the test holds; the while form: once it fails.
    if (c == !WhileForm) break;
  }
  Script->BreakRequested = false;
}

TfsWhileStmt::~TfsWhileStmt() = default;

void TfsWhileStmt::Execute() {
  if (!Guarded(*this)) return;
  while (IsTrue(Test->GetValue())) {
    TfsStatement::Execute();
    if (LeaveLoop(Script)) break;
    Script->ContinueRequested = false;
  }
  Script->BreakRequested = false;
}

TfsForStmt::~TfsForStmt() = default;

void TfsForStmt::Execute() {
  const Int64 start = StartExpr->GetValue().AsInt64();
  const Int64 limit = LimitExpr->GetValue().AsInt64();
  if (!Guarded(*this)) return;
  const bool run = CountsDown ? start >= limit : limit >= start;
  if (run) {
    for (Int64 i = start;; CountsDown ? --i : ++i) {
      // Stored straight into the variable: a loop variable is never read-only here.
      LoopVariable->Value = LoopValue(i);
      TfsStatement::Execute();
      if (LeaveLoop(Script)) break;
      Script->ContinueRequested = false;
      if (i == limit) break;  // checked before stepping, so the limit never overflows
    }
  }
  Script->BreakRequested = false;
}

TfsVbForStmt::~TfsVbForStmt() = default;

void TfsVbForStmt::Execute() {
  Variant v = StartExpr->GetValue();
  const Variant limit = LimitExpr->GetValue();
  const Variant step = StepExpr ? StepExpr->GetValue() : Variant(1);
  if (!Guarded(*this)) return;
  const bool down = VarCmpLt(step, 0);
  while (down ? VarCmpGe(v, limit) : VarCmpLe(v, limit)) {
    LoopVariable->Value = v;
    TfsStatement::Execute();
    if (LeaveLoop(Script)) break;
    Script->ContinueRequested = false;
    v = VarAdd(v, step);
  }
  Script->BreakRequested = false;
}

TfsCppForStmt::TfsCppForStmt(TfsScript* script, std::string_view pos, std::string_view unit)
    : TfsStatement(script, pos, unit),
      InitPart(std::make_unique<TfsStatement>(script, pos, unit)),
      NextPart(std::make_unique<TfsStatement>(script, pos, unit)) {}

TfsCppForStmt::~TfsCppForStmt() = default;

void TfsCppForStmt::Execute() {
  if (!Guarded(*this)) return;
  InitPart->Execute();
  if (!Script->StopRequested) {
    while (IsTrue(Test->GetValue())) {
      TfsStatement::Execute();
      if (LeaveLoop(Script)) break;
      Script->ContinueRequested = false;
      NextPart->Execute();
    }
  }
  Script->BreakRequested = false;
}

// ---------------------------------------------------------------------------
// Try

TfsTryStmt::TfsTryStmt(TfsScript* script, std::string_view pos, std::string_view unit)
    : TfsStatement(script, pos, unit),
      HandlerPart(std::make_unique<TfsStatement>(script, pos, unit)) {}

void TfsTryStmt::Execute() {
  if (!Guarded(*this)) return;
  if (CatchForm) {
    try {
      TfsStatement::Execute();
    } catch (const std::exception&) {
      HandlerPart->Execute();  // the exception is consumed
    }
    return;
  }
  // The finally part always runs whole: a break, continue or exit that left
  // the try part is set aside while it runs (only exit was, before, so a
  // break in the try part cut the finally part short) and stands again
  // afterwards, together with whatever the finally part requested itself.
  auto runFinally = [this] {
    const bool breakRequested = Script->BreakRequested;
    const bool continueRequested = Script->ContinueRequested;
    const bool exitRequested = Script->ExitRequested;
    Script->BreakRequested = Script->ContinueRequested = Script->ExitRequested = false;
    HandlerPart->Execute();
    Script->BreakRequested = Script->BreakRequested || breakRequested;
    Script->ContinueRequested = Script->ContinueRequested || continueRequested;
    Script->ExitRequested = Script->ExitRequested || exitRequested;
  };
  try {
    TfsStatement::Execute();
  } catch (...) {
    runFinally();
    throw;
  }
  runFinally();
}

// ---------------------------------------------------------------------------
// Flow

void TfsBreakStmt::Execute() { Script->BreakRequested = true; }
void TfsContinueStmt::Execute() { Script->ContinueRequested = true; }
void TfsExitStmt::Execute() { Script->ExitRequested = true; }

TfsWithStmt::~TfsWithStmt() = default;

void TfsWithStmt::Execute() {
  TfsStatement::Execute();
  WithVariable->SetValue(WithDesignator->GetValue());
}
