// The statement kinds of compiled scripts. Control flow (break, continue,
// exit, stop) travels in four flags of the statement's script rather than in
// exceptions, so a host can stop a running script and loops and routines
// consume the flags they own. Every statement but break, continue, exit and
// with announces itself to the host (RunLine) before it acts.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "script/fs_iinterpreter.h"

class TfsDesignator;
class TfsExpression;
class TfsSetExpression;

class TfsAssignmentStmt : public TfsStatement {
  VXN_DECLARE_CLASS(TfsAssignmentStmt)

 public:
  using TfsStatement::TfsStatement;
  ~TfsAssignmentStmt() override;

  // Takes both; resolves TargetItem and SourceItem once.
  void SetParts(std::unique_ptr<TfsDesignator> target, std::unique_ptr<TfsExpression> value);
  void Execute() override;

  std::unique_ptr<TfsDesignator> TargetDesignator;
  std::unique_ptr<TfsExpression> ValueExpr;
  TfsCustomVariable* TargetItem = nullptr;
  TfsCustomVariable* SourceItem = nullptr;

 protected:
  // v op e for the compound forms; the plain form never calls it.
  virtual Variant Combine(const Variant& /*v*/, const Variant& e) const { return e; }
  bool FCompound = false;
};

#define VXN_FS_COMPOUND_ASSIGNMENT(Name)                              \
  class Name : public TfsAssignmentStmt {                             \
    VXN_DECLARE_CLASS(Name)                                           \
                                                                      \
   public:                                                            \
    Name(TfsScript* script, std::string_view pos, std::string_view unit) \
        : TfsAssignmentStmt(script, pos, unit) {                      \
      FCompound = true;                                               \
    }                                                                 \
                                                                      \
   protected:                                                         \
    Variant Combine(const Variant& v, const Variant& e) const override; \
  };

VXN_FS_COMPOUND_ASSIGNMENT(TfsAssignPlusStmt)
VXN_FS_COMPOUND_ASSIGNMENT(TfsAssignMinusStmt)
VXN_FS_COMPOUND_ASSIGNMENT(TfsAssignMulStmt)
VXN_FS_COMPOUND_ASSIGNMENT(TfsAssignDivStmt)
#undef VXN_FS_COMPOUND_ASSIGNMENT

// A call whose value is dropped, or an increment ("+") or decrement ("-").
class TfsCallStmt : public TfsStatement {
  VXN_DECLARE_CLASS(TfsCallStmt)

 public:
  using TfsStatement::TfsStatement;
  ~TfsCallStmt() override;
  void Execute() override;

  std::unique_ptr<TfsDesignator> CallDesignator;
  std::string StepSign;
};

// The child list is the then part.
class TfsIfStmt : public TfsStatement {
  VXN_DECLARE_CLASS(TfsIfStmt)

 public:
  TfsIfStmt(TfsScript* script, std::string_view pos, std::string_view unit);
  ~TfsIfStmt() override;
  void Execute() override;

  std::unique_ptr<TfsExpression> Test;
  std::unique_ptr<TfsStatement> ElsePart;
};

// One branch of a case statement: its labels and, in the child list, its
// statements.
class TfsCaseSelector : public TfsStatement {
  VXN_DECLARE_CLASS(TfsCaseSelector)

 public:
  using TfsStatement::TfsStatement;
  ~TfsCaseSelector() override;
  bool Check(const Variant& value);

  std::unique_ptr<TfsSetExpression> Labels;
};

// The child list holds the selectors.
class TfsCaseStmt : public TfsStatement {
  VXN_DECLARE_CLASS(TfsCaseStmt)

 public:
  TfsCaseStmt(TfsScript* script, std::string_view pos, std::string_view unit);
  ~TfsCaseStmt() override;
  void Execute() override;

  std::unique_ptr<TfsExpression> Selector;
  std::unique_ptr<TfsStatement> ElsePart;
};

// repeat ... until, and with WhileForm the do ... while / do ... loop while
// forms, which go on while the test holds.
class TfsRepeatStmt : public TfsStatement {
  VXN_DECLARE_CLASS(TfsRepeatStmt)

 public:
  using TfsStatement::TfsStatement;
  ~TfsRepeatStmt() override;
  void Execute() override;

  std::unique_ptr<TfsExpression> Test;
  bool WhileForm = false;
};

class TfsWhileStmt : public TfsStatement {
  VXN_DECLARE_CLASS(TfsWhileStmt)

 public:
  using TfsStatement::TfsStatement;
  ~TfsWhileStmt() override;
  void Execute() override;

  std::unique_ptr<TfsExpression> Test;
};

// for v := a to b (downto with CountsDown): the bounds are taken once.
class TfsForStmt : public TfsStatement {
  VXN_DECLARE_CLASS(TfsForStmt)

 public:
  using TfsStatement::TfsStatement;
  ~TfsForStmt() override;
  void Execute() override;

  TfsCustomVariable* LoopVariable = nullptr;
  std::unique_ptr<TfsExpression> StartExpr;
  std::unique_ptr<TfsExpression> LimitExpr;
  bool CountsDown = false;
};

// For v = a To b Step s: a negative step counts down.
class TfsVbForStmt : public TfsStatement {
  VXN_DECLARE_CLASS(TfsVbForStmt)

 public:
  using TfsStatement::TfsStatement;
  ~TfsVbForStmt() override;
  void Execute() override;

  TfsCustomVariable* LoopVariable = nullptr;
  std::unique_ptr<TfsExpression> StartExpr;
  std::unique_ptr<TfsExpression> LimitExpr;
  std::unique_ptr<TfsExpression> StepExpr;  // may be absent: step 1
};

// for (init; test; next) body.
class TfsCppForStmt : public TfsStatement {
  VXN_DECLARE_CLASS(TfsCppForStmt)

 public:
  TfsCppForStmt(TfsScript* script, std::string_view pos, std::string_view unit);
  ~TfsCppForStmt() override;
  void Execute() override;

  std::unique_ptr<TfsStatement> InitPart;
  std::unique_ptr<TfsExpression> Test;
  std::unique_ptr<TfsStatement> NextPart;
};

// The child list is the try part; HandlerPart the except part (CatchForm)
// or the finally part.
class TfsTryStmt : public TfsStatement {
  VXN_DECLARE_CLASS(TfsTryStmt)

 public:
  TfsTryStmt(TfsScript* script, std::string_view pos, std::string_view unit);
  void Execute() override;

  bool CatchForm = false;
  std::unique_ptr<TfsStatement> HandlerPart;
};

class TfsBreakStmt : public TfsStatement {
  VXN_DECLARE_CLASS(TfsBreakStmt)

 public:
  using TfsStatement::TfsStatement;
  void Execute() override;
};

class TfsContinueStmt : public TfsStatement {
  VXN_DECLARE_CLASS(TfsContinueStmt)

 public:
  using TfsStatement::TfsStatement;
  void Execute() override;
};

class TfsExitStmt : public TfsStatement {
  VXN_DECLARE_CLASS(TfsExitStmt)

 public:
  using TfsStatement::TfsStatement;
  void Execute() override;
};

// Stores the with-expression once into a hidden variable, which the
// designators of the statements inside refer to.
class TfsWithStmt : public TfsStatement {
  VXN_DECLARE_CLASS(TfsWithStmt)

 public:
  using TfsStatement::TfsStatement;
  ~TfsWithStmt() override;
  void Execute() override;

  TfsCustomVariable* WithVariable = nullptr;
  std::unique_ptr<TfsDesignator> WithDesignator;
};
