// Expression trees of every script language. The loader feeds operands and
// operators in source order; the tree is built by operator priority as they
// arrive, type-checked once complete, and evaluated recursively. All four
// languages share the operator set: their grammars translate their own
// symbols and words into these operator names.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "script/fs_iinterpreter.h"

class TfsDesignator;
class TfsSetExpression;

// The item face of an expression.
class TfsCustomExpression : public TfsCustomVariable {
  VXN_DECLARE_CLASS(TfsCustomExpression)

 public:
  TfsCustomExpression() : TfsCustomVariable("", "", fvtVariant) {}
};

class TfsExpressionNode : public TfsCustomVariable {
  VXN_DECLARE_CLASS(TfsExpressionNode)

 public:
  TfsExpressionNode() : TfsCustomVariable("", "", fvtInt) {}
  ~TfsExpressionNode() override;  // frees the subtree without recursion

  virtual int Priority() const { return 0; }
  // Attaches node as Left when there is none, else as Right.
  void AddNode(TfsExpressionNode* node);
  // Unlinks child (Left or Right) without freeing it.
  void RemoveNode(TfsExpressionNode* child);
  // Puts replacement in child's slot; child is unlinked, not freed.
  void ReplaceNode(TfsExpressionNode* child, TfsExpressionNode* replacement);

  TfsExpressionNode* Left() const { return FLeft; }
  TfsExpressionNode* Right() const { return FRight; }
  TfsExpressionNode* Parent() const { return FParent; }

 private:
  TfsExpressionNode* FLeft = nullptr;   // owned
  TfsExpressionNode* FRight = nullptr;  // owned
  TfsExpressionNode* FParent = nullptr;
};

// A constant.
class TfsOperandNode : public TfsExpressionNode {
  VXN_DECLARE_CLASS(TfsOperandNode)

 public:
  explicit TfsOperandNode(const Variant& value);
  Variant GetValue() override { return Value; }
};

// A designator read as an operand; a plain variable is read straight.
class TfsDesignatorNode : public TfsOperandNode {
  VXN_DECLARE_CLASS(TfsDesignatorNode)

 public:
  explicit TfsDesignatorNode(TfsDesignator* designator);  // takes ownership
  ~TfsDesignatorNode() override;
  Variant GetValue() override;

  TfsDesignator* Designator() const { return FDesignator.get(); }
  TfsCustomVariable* Item() const { return FItem; }

 private:
  std::unique_ptr<TfsDesignator> FDesignator;
  TfsCustomVariable* FItem;
};

class TfsSetNode : public TfsOperandNode {
  VXN_DECLARE_CLASS(TfsSetNode)

 public:
  explicit TfsSetNode(TfsSetExpression* set);  // takes ownership
  ~TfsSetNode() override;
  Variant GetValue() override;
  TfsSetExpression* SetExpression() const { return FSet.get(); }

 private:
  std::unique_ptr<TfsSetExpression> FSet;
};

// Operator codes; the string concatenation shares 7 with "+".
enum TfsOperatorCode : Byte {
  opNone = 0,
  opGreat = 1,
  opLess = 2,
  opLessEq = 3,
  opGreatEq = 4,
  opNonEq = 5,
  opEq = 6,
  opPlus = 7,
  opMinus = 8,
  opOr = 9,
  opXor = 10,
  opMul = 11,
  opDivFloat = 12,
  opDivInt = 13,
  opMod = 14,
  opAnd = 15,
  opShl = 16,
  opShr = 17,
  opLeftBracket = 18,
  opRightBracket = 19,
  opNot = 20,
  opUnMinus = 21,
  opIn = 22,
  opIs = 23,
};

class TfsOperatorNode : public TfsExpressionNode {
  VXN_DECLARE_CLASS(TfsOperatorNode)

 public:
  explicit TfsOperatorNode(TfsOperatorCode code) : Code(code) {}
  int Priority() const override;

  TfsOperatorCode Code;
  bool IntegerOperands = false;
  bool BooleanOperands = false;
};

#define VXN_FS_OPERATOR(Name, Code)                    \
  class Name : public TfsOperatorNode {                \
    VXN_DECLARE_CLASS(Name)                            \
                                                       \
   public:                                             \
    Name() : TfsOperatorNode(Code) {}                  \
    Variant GetValue() override;                       \
  };

VXN_FS_OPERATOR(TNoneNode, opNone)
VXN_FS_OPERATOR(TGreatNode, opGreat)
VXN_FS_OPERATOR(TLessNode, opLess)
VXN_FS_OPERATOR(TLessEqNode, opLessEq)
VXN_FS_OPERATOR(TGreatEqNode, opGreatEq)
VXN_FS_OPERATOR(TNonEqNode, opNonEq)
VXN_FS_OPERATOR(TEqNode, opEq)
VXN_FS_OPERATOR(TPlusNode, opPlus)
VXN_FS_OPERATOR(TStrCatNode, opPlus)
VXN_FS_OPERATOR(TMinusNode, opMinus)
VXN_FS_OPERATOR(TOrNode, opOr)
VXN_FS_OPERATOR(TXorNode, opXor)
VXN_FS_OPERATOR(TMulNode, opMul)
VXN_FS_OPERATOR(TDivFloatNode, opDivFloat)
VXN_FS_OPERATOR(TDivIntNode, opDivInt)
VXN_FS_OPERATOR(TModNode, opMod)
VXN_FS_OPERATOR(TAndNode, opAnd)
VXN_FS_OPERATOR(TShlNode, opShl)
VXN_FS_OPERATOR(TShrNode, opShr)
VXN_FS_OPERATOR(TLeftBracketNode, opLeftBracket)
VXN_FS_OPERATOR(TRightBracketNode, opRightBracket)
VXN_FS_OPERATOR(TNotNode, opNot)
VXN_FS_OPERATOR(TUnMinusNode, opUnMinus)
VXN_FS_OPERATOR(TInNode, opIn)
VXN_FS_OPERATOR(TIsNode, opIs)
#undef VXN_FS_OPERATOR

// Deepest operator tree an expression may have. Evaluation recurses along
// the tree; a longer chain (say, a hundred thousand additions) is refused
// when the expression is finalised instead of overflowing the stack.
inline constexpr int fsMaxExpressionDepth = 2000;

class TfsExpression : public TfsCustomExpression {
  VXN_DECLARE_CLASS(TfsExpression)

 public:
  explicit TfsExpression(TfsScript* script);
  ~TfsExpression() override;

  // Operands attach under Current and become Current. Each records
  // Position as its source position.
  void AddOperand(const Variant& constant);
  void AddDesignator(TfsDesignator* designator);  // takes ownership
  void AddSet(TfsSetExpression* set);             // takes ownership
  // An unknown operator text adds nothing.
  void AddOperator(std::string_view text);

  // Types the tree. Returns the position of the first operator whose operand
  // types do not fit, empty when all fit. A tree deeper than
  // fsMaxExpressionDepth raises.
  std::string Finalise();

  Variant GetValue() override;
  // Assigns through the designator at the root (var arguments written back).
  void SetValue(const Variant& value) override;

  // The item an assignment may read directly: the variable or designator of
  // a designator root, or a constant root; nullptr for an operator tree.
  TfsCustomVariable* SingleOperand() const;

  // Turns "x := x + e" into an in-place update of x: returns the operator
  // ("+", "-", "*" or "/") and drops the part of the tree that names x, or
  // returns " " and leaves the tree alone.
  std::string CompoundAssignment(const TfsDesignator& target);

  TfsExpressionNode* Root() const { return FRoot; }
  TfsScript* Script() const { return FScript; }

  std::string SourceText;
  std::string Position;  // position given to the next node added

 private:
  void AttachOperand(TfsExpressionNode* node);

  TfsScript* FScript;
  TfsExpressionNode* FRoot;  // owned
  TfsExpressionNode* FCurrent;
};

// Creates the node of an operator text (compared in upper case); nullptr for
// an unknown text.
TfsOperatorNode* fsCreateOperatorNode(std::string_view text);
