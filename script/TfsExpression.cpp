#include "script/TfsExpression.h"

#include <utility>
#include <vector>

#include "platform/rtl/ObjectHandles.h"
#include "platform/rtl/SysUtils.h"
#include "script/TfsDesignator.h"

VXN_IMPLEMENT_CLASS(TfsCustomExpression, TfsCustomVariable)
VXN_IMPLEMENT_CLASS(TfsExpressionNode, TfsCustomVariable)
VXN_IMPLEMENT_CLASS(TfsOperandNode, TfsExpressionNode)
VXN_IMPLEMENT_CLASS(TfsDesignatorNode, TfsOperandNode)
VXN_IMPLEMENT_CLASS(TfsSetNode, TfsOperandNode)
VXN_IMPLEMENT_CLASS(TfsOperatorNode, TfsExpressionNode)
VXN_IMPLEMENT_CLASS(TNoneNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TGreatNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TLessNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TLessEqNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TGreatEqNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TNonEqNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TEqNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TPlusNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TStrCatNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TMinusNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TOrNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TXorNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TMulNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TDivFloatNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TDivIntNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TModNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TAndNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TShlNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TShrNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TLeftBracketNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TRightBracketNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TNotNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TUnMinusNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TInNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TIsNode, TfsOperatorNode)
VXN_IMPLEMENT_CLASS(TfsExpression, TfsCustomExpression)

// ---------------------------------------------------------------------------
// Nodes

TfsExpressionNode::~TfsExpressionNode() {
  // A long operator chain is a deep tree; free it with a work list.
  std::vector<TfsExpressionNode*> doomed;
  if (FLeft) doomed.push_back(FLeft);
  if (FRight) doomed.push_back(FRight);
  FLeft = FRight = nullptr;
  while (!doomed.empty()) {
    TfsExpressionNode* node = doomed.back();
    doomed.pop_back();
    if (node->FLeft) doomed.push_back(node->FLeft);
    if (node->FRight) doomed.push_back(node->FRight);
    node->FLeft = node->FRight = nullptr;
    delete node;
  }
}

void TfsExpressionNode::AddNode(TfsExpressionNode* node) {
  if (!FLeft)
    FLeft = node;
  else
    FRight = node;
  node->FParent = this;
}

void TfsExpressionNode::RemoveNode(TfsExpressionNode* child) {
  if (FLeft == child) FLeft = nullptr;
  if (FRight == child) FRight = nullptr;
  child->FParent = nullptr;
}

void TfsExpressionNode::ReplaceNode(TfsExpressionNode* child, TfsExpressionNode* replacement) {
  if (FLeft == child)
    FLeft = replacement;
  else if (FRight == child)
    FRight = replacement;
  else
    return;
  child->FParent = nullptr;
  replacement->FParent = this;
}

namespace {

TfsVarType OperandTypeOf(const Variant& v) {
  switch (VarType(v)) {
    case varBoolean: return fvtBool;
    case varSingle:
    case varDouble:
    case varCurrency: return fvtFloat;
    case varString:
    case varOleStr: return fvtString;
    default: return fvtInt;
  }
}

}  // namespace

TfsOperandNode::TfsOperandNode(const Variant& value) {
  Value = value;
  TypeCode = OperandTypeOf(value);
}

TfsDesignatorNode::TfsDesignatorNode(TfsDesignator* designator)
    : TfsOperandNode(Null()), FDesignator(designator) {
  // A plain variable is read straight, skipping the designator walk.
  FItem = dynamic_cast<TfsVariableDesignator*>(designator) ? designator->LinkedItem : designator;
  if (!FItem) FItem = designator;
  TypeCode = designator->TypeCode;
  TypeName = designator->TypeName;
}

TfsDesignatorNode::~TfsDesignatorNode() = default;

Variant TfsDesignatorNode::GetValue() { return FItem->GetValue(); }

TfsSetNode::TfsSetNode(TfsSetExpression* set) : TfsOperandNode(Null()), FSet(set) {
  TypeCode = fvtVariant;
}

TfsSetNode::~TfsSetNode() = default;

Variant TfsSetNode::GetValue() { return FSet->GetValue(); }

// ---------------------------------------------------------------------------
// Operators

namespace {

struct OperatorEntry {
  const char* Text;
  TfsOperatorCode Code;
  int Priority;
  TfsOperatorNode* (*Create)();
};

template <typename T>
TfsOperatorNode* Make() {
  return new T;
}

// The operator table: text the builder accepts, code and priority (a smaller
// number binds tighter).
const OperatorEntry kOperators[] = {
    {" ", opNone, 7, Make<TNoneNode>},
    {">", opGreat, 4, Make<TGreatNode>},
    {"<", opLess, 4, Make<TLessNode>},
    {"<=", opLessEq, 4, Make<TLessEqNode>},
    {">=", opGreatEq, 4, Make<TGreatEqNode>},
    {"<>", opNonEq, 4, Make<TNonEqNode>},
    {"=", opEq, 4, Make<TEqNode>},
    {"+", opPlus, 3, Make<TPlusNode>},
    {"STRCAT", opPlus, 3, Make<TStrCatNode>},
    {"-", opMinus, 3, Make<TMinusNode>},
    {"OR", opOr, 3, Make<TOrNode>},
    {"XOR", opXor, 3, Make<TXorNode>},
    {"*", opMul, 2, Make<TMulNode>},
    {"/", opDivFloat, 2, Make<TDivFloatNode>},
    {"DIV", opDivInt, 2, Make<TDivIntNode>},
    {"MOD", opMod, 2, Make<TModNode>},
    {"AND", opAnd, 2, Make<TAndNode>},
    {"SHL", opShl, 2, Make<TShlNode>},
    {"SHR", opShr, 2, Make<TShrNode>},
    {"(", opLeftBracket, 6, Make<TLeftBracketNode>},
    {")", opRightBracket, 5, Make<TRightBracketNode>},
    {"NOT", opNot, 1, Make<TNotNode>},
    {"UNMINUS", opUnMinus, 1, Make<TUnMinusNode>},
    {"IN", opIn, 4, Make<TInNode>},
    {"IS", opIs, 4, Make<TIsNode>},
};

bool IsComparison(TfsOperatorCode code) { return code >= opGreat && code <= opEq; }

bool IsIntegerKind(const Variant& v) {
  switch (VarType(v)) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64: return true;
    default: return false;
  }
}

Variant IntegerResult(Int64 r) {
  if (r >= INT32_MIN && r <= INT32_MAX) return static_cast<Integer>(r);
  return r;
}

[[noreturn]] void IntegerOverflow() { throw EIntOverflow(SIntOverflow); }

// Integer arithmetic of operands typed Integer: 64 bits with defined results.
// Overflow and division by zero raise the class library's integer errors,
// which a script's try statement can catch.
Variant IntegerArithmetic(TfsOperatorCode code, const Variant& left, const Variant& right,
                          Variant (*fallback)(const Variant&, const Variant&)) {
  if (!IsIntegerKind(left) || !IsIntegerKind(right)) return fallback(left, right);
  const Int64 a = left.AsInt64(), b = right.AsInt64();
  Int64 r = 0;
  switch (code) {
    case opPlus:
      if (__builtin_add_overflow(a, b, &r)) IntegerOverflow();
      break;
    case opMinus:
      if (__builtin_sub_overflow(a, b, &r)) IntegerOverflow();
      break;
    case opMul:
      if (__builtin_mul_overflow(a, b, &r)) IntegerOverflow();
      break;
    case opDivInt:
    case opMod:
      if (b == 0) throw EDivByZero(SDivByZero);
      if (a == INT64_MIN && b == -1) {
        if (code == opMod) return 0;
        IntegerOverflow();
      }
      r = code == opDivInt ? a / b : a % b;
      break;
    default: return fallback(left, right);
  }
  return IntegerResult(r);
}

bool IsTrue(const Variant& v) { return !VarIsClear(v) && v.AsBoolean(); }

}  // namespace

int TfsOperatorNode::Priority() const {
  for (const OperatorEntry& e : kOperators)
    if (e.Code == Code) return e.Priority;
  return 0;
}

TfsOperatorNode* fsCreateOperatorNode(std::string_view text) {
  const std::string upper = UpperCase(text);
  for (const OperatorEntry& e : kOperators)
    if (upper == e.Text) return e.Create();
  return nullptr;
}

Variant TNoneNode::GetValue() { return Left() ? Left()->GetValue() : Null(); }
Variant TLeftBracketNode::GetValue() { return Left() ? Left()->GetValue() : Null(); }
Variant TRightBracketNode::GetValue() { return Null(); }

Variant TGreatNode::GetValue() {
  const Variant l = Left()->GetValue();
  return VarCmpGt(l, Right()->GetValue());
}
Variant TLessNode::GetValue() {
  const Variant l = Left()->GetValue();
  return VarCmpLt(l, Right()->GetValue());
}
Variant TLessEqNode::GetValue() {
  const Variant l = Left()->GetValue();
  return VarCmpLe(l, Right()->GetValue());
}
Variant TGreatEqNode::GetValue() {
  const Variant l = Left()->GetValue();
  return VarCmpGe(l, Right()->GetValue());
}
Variant TNonEqNode::GetValue() {
  const Variant l = Left()->GetValue();
  return VarCmpNe(l, Right()->GetValue());
}
Variant TEqNode::GetValue() {
  const Variant l = Left()->GetValue();
  return VarCmpEq(l, Right()->GetValue());
}

Variant TPlusNode::GetValue() {
  const Variant l = Left()->GetValue();
  const Variant r = Right()->GetValue();
  return IntegerOperands ? IntegerArithmetic(opPlus, l, r, VarAdd) : VarAdd(l, r);
}

// Joins the text forms of both sides, whatever they hold, so 5 & 3 is "53"
// (adding them as "+" would was a fault: a concatenation never adds numbers).
Variant TStrCatNode::GetValue() {
  const Variant l = Left()->GetValue();
  const Variant r = Right()->GetValue();
  return Variant(VarToStr(l) + VarToStr(r));
}

Variant TMinusNode::GetValue() {
  const Variant l = Left()->GetValue();
  const Variant r = Right()->GetValue();
  return IntegerOperands ? IntegerArithmetic(opMinus, l, r, VarSub) : VarSub(l, r);
}

Variant TMulNode::GetValue() {
  const Variant l = Left()->GetValue();
  const Variant r = Right()->GetValue();
  return IntegerOperands ? IntegerArithmetic(opMul, l, r, VarMul) : VarMul(l, r);
}

Variant TDivIntNode::GetValue() {
  const Variant l = Left()->GetValue();
  const Variant r = Right()->GetValue();
  return IntegerOperands ? IntegerArithmetic(opDivInt, l, r, VarIntDiv) : VarIntDiv(l, r);
}

Variant TModNode::GetValue() {
  const Variant l = Left()->GetValue();
  const Variant r = Right()->GetValue();
  return IntegerOperands ? IntegerArithmetic(opMod, l, r, VarMod) : VarMod(l, r);
}

Variant TDivFloatNode::GetValue() {
  const Variant l = Left()->GetValue();
  return VarDiv(l, Right()->GetValue());
}

// With two Boolean operands the right side runs only when it decides.
Variant TAndNode::GetValue() {
  const Variant l = Left()->GetValue();
  if (BooleanOperands) return IsTrue(l) ? Right()->GetValue() : l;
  return VarAnd(l, Right()->GetValue());
}

Variant TOrNode::GetValue() {
  const Variant l = Left()->GetValue();
  if (BooleanOperands) return IsTrue(l) ? l : Right()->GetValue();
  return VarOr(l, Right()->GetValue());
}

Variant TXorNode::GetValue() {
  const Variant l = Left()->GetValue();
  return VarXor(l, Right()->GetValue());
}
Variant TShlNode::GetValue() {
  const Variant l = Left()->GetValue();
  return VarShl(l, Right()->GetValue());
}
Variant TShrNode::GetValue() {
  const Variant l = Left()->GetValue();
  return VarShr(l, Right()->GetValue());
}
Variant TNotNode::GetValue() { return VarNot(Left()->GetValue()); }
Variant TUnMinusNode::GetValue() { return VarNeg(Left()->GetValue()); }

Variant TInNode::GetValue() {
  const Variant l = Left()->GetValue();
  if (auto* set = dynamic_cast<TfsSetNode*>(Right())) return set->SetExpression()->Contains(l);
  const Variant r = Right()->GetValue();
  if (!VarIsArray(r)) return false;
  const Integer low = VarArrayLowBound(r, 1), high = VarArrayHighBound(r, 1);
  for (Integer i = low; i <= high; ++i) {
    const Variant e = VarArrayGet(r, {i});
    // An element, a Null and a third element form an inclusive range.
    if (i + 2 <= high && VarIsNull(VarArrayGet(r, {i + 1}))) {
      const Variant upper = VarArrayGet(r, {i + 2});
      if (VarCmpLe(e, l) && VarCmpLe(l, upper)) return true;
      i += 2;
      continue;
    }
    if (VarCmpEq(l, e)) return true;
  }
  return false;
}

Variant TIsNode::GetValue() {
  TObject* object = VarToObject(Left()->GetValue());
  if (!object) return false;
  auto* node = dynamic_cast<TfsDesignatorNode*>(Right());
  if (!node || node->Designator()->ItemCount() == 0) return false;
  auto* cls = dynamic_cast<TfsClassVariable*>(node->Designator()->Links(0)->Resolved);
  return cls && object->InheritsFrom(cls->HostClass);
}

// ---------------------------------------------------------------------------
// TfsExpression

TfsExpression::TfsExpression(TfsScript* script)
    : FScript(script), FRoot(new TNoneNode), FCurrent(FRoot) {}

TfsExpression::~TfsExpression() { delete FRoot; }

void TfsExpression::AttachOperand(TfsExpressionNode* node) {
  node->SourcePosition = Position;
  FCurrent->AddNode(node);
  FCurrent = node;
}

void TfsExpression::AddOperand(const Variant& constant) {
  AttachOperand(new TfsOperandNode(constant));
}

void TfsExpression::AddDesignator(TfsDesignator* designator) {
  AttachOperand(new TfsDesignatorNode(designator));
}

void TfsExpression::AddSet(TfsSetExpression* set) { AttachOperand(new TfsSetNode(set)); }

void TfsExpression::AddOperator(std::string_view text) {
  TfsOperatorNode* node = fsCreateOperatorNode(text);
  if (!node) return;
  node->SourcePosition = Position;
  switch (node->Code) {
    case opLeftBracket:
    case opUnMinus:
    case opNot:
      FCurrent->AddNode(node);
      FCurrent = node;
      return;
    case opRightBracket: {
      std::unique_ptr<TfsOperatorNode> discard(node);
      TfsExpressionNode* at = FCurrent;
      while (at && node->Priority() >= at->Priority()) at = at->Parent();
      // A ")" without its "(" changes nothing: the grammars keep brackets
      // balanced, so only a malformed program gets here.
      auto* bracket = dynamic_cast<TLeftBracketNode*>(at);
      if (!bracket || !bracket->Parent()) return;
      TfsExpressionNode* inner = bracket->Left();
      TfsExpressionNode* parent = bracket->Parent();
      if (inner) {
        bracket->RemoveNode(inner);
        parent->ReplaceNode(bracket, inner);
        FCurrent = inner;
      } else {
        parent->RemoveNode(bracket);
        FCurrent = parent;
      }
      delete bracket;
      return;
    }
    default: break;
  }
  if (FCurrent == FRoot) {
    FRoot->AddNode(node);
    FCurrent = node;
    return;
  }
  TfsExpressionNode* candidate = nullptr;
  TfsExpressionNode* at = FCurrent;
  if (!dynamic_cast<TLeftBracketNode*>(FCurrent)) {
    candidate = FCurrent;
    at = FCurrent->Parent();
  }
  // Equal priorities climb, so binary operators associate to the left.
  while (at && node->Priority() >= at->Priority()) {
    candidate = at;
    at = at->Parent();
  }
  if (!at) at = FRoot;
  if (candidate) {
    at->ReplaceNode(candidate, node);
    node->AddNode(candidate);
  } else {
    at->AddNode(node);
  }
  FCurrent = node;
}

namespace {

// Which operators a left operand of each type allows.
bool OperatorSuits(TfsOperatorCode code, TfsVarType left) {
  switch (left) {
    case fvtBool:
      return code == opNonEq || code == opEq || code == opOr || code == opXor ||
             code == opAnd || code == opNot;
    case fvtChar:
    case fvtString: return IsComparison(code) || code == opPlus || code == opIn;
    case fvtClass:
    case fvtArray: return code == opNonEq || code == opEq;
    default: return true;
  }
}

}  // namespace

std::string TfsExpression::Finalise() {
  if (auto* none = dynamic_cast<TNoneNode*>(FRoot); none && none->Left()) {
    TfsExpressionNode* top = none->Left();
    none->RemoveNode(top);
    delete FRoot;
    FRoot = top;
    FCurrent = top;
  }

  // Bottom-up typing with an explicit stack (post order).
  std::string errorPos;
  struct Frame {
    TfsExpressionNode* Node;
    int Depth;
    bool Expanded;
  };
  std::vector<Frame> stack{{FRoot, 1, false}};
  while (!stack.empty()) {
    Frame& f = stack.back();
    TfsExpressionNode* node = f.Node;
    if (f.Depth > fsMaxExpressionDepth)
      throw Exception("Expression is nested too deeply");
    if (!f.Expanded) {
      f.Expanded = true;
      const int depth = f.Depth;
      if (node->Right()) stack.push_back({node->Right(), depth + 1, false});
      if (node->Left()) stack.push_back({node->Left(), depth + 1, false});
      continue;
    }
    stack.pop_back();
    auto* op = dynamic_cast<TfsOperatorNode*>(node);
    if (!op) continue;
    TfsVariable absent("", "", fvtVariant);
    const TfsCustomVariable& l =
        node->Left() ? static_cast<const TfsCustomVariable&>(*node->Left()) : absent;
    const TfsCustomVariable& r =
        node->Right() ? static_cast<const TfsCustomVariable&>(*node->Right()) : absent;
    const TfsVarType lt = l.TypeCode, rt = r.TypeCode;
    op->IntegerOperands = lt == fvtInt && rt == fvtInt;
    op->BooleanOperands = lt == fvtBool && rt == fvtBool;
    const bool classTest = op->Code == opIs && lt == fvtClass && rt == fvtClass;
    if (!classTest && errorPos.empty() &&
        (!fsAssignCompatible(l, r, FScript) || !OperatorSuits(op->Code, lt)))
      errorPos = node->SourcePosition;
    op->TypeCode = lt;
    op->TypeName = l.TypeName;
    if ((lt == fvtInt && rt == fvtFloat) || (lt == fvtFloat && rt == fvtInt)) op->TypeCode = fvtFloat;
    if (op->Code == opDivFloat && lt == fvtInt && rt == fvtInt) op->TypeCode = fvtFloat;
    if (IsComparison(op->Code) || op->Code == opIn || op->Code == opIs) {
      op->TypeCode = fvtBool;
      op->TypeName.clear();
    }
  }
  TypeCode = FRoot->TypeCode;
  TypeName = FRoot->TypeName;
  auto* node = dynamic_cast<TfsDesignatorNode*>(FRoot);
  ReadOnly = !node || node->Designator()->ReadOnly;
  return errorPos;
}

Variant TfsExpression::GetValue() { return FRoot->GetValue(); }

void TfsExpression::SetValue(const Variant& value) {
  if (ReadOnly) return;
  if (auto* node = dynamic_cast<TfsDesignatorNode*>(FRoot)) node->Designator()->SetValue(value);
}

TfsCustomVariable* TfsExpression::SingleOperand() const {
  if (auto* node = dynamic_cast<TfsDesignatorNode*>(FRoot)) return node->Item();
  if (dynamic_cast<TfsOperandNode*>(FRoot) && !dynamic_cast<TfsSetNode*>(FRoot)) return FRoot;
  return nullptr;
}

namespace {

// The variable a node reads when it is a plain variable designator.
TfsCustomVariable* VariableOf(const TfsExpressionNode* node) {
  auto* d = dynamic_cast<const TfsDesignatorNode*>(node);
  if (!d || !dynamic_cast<TfsVariableDesignator*>(d->Designator())) return nullptr;
  return d->Designator()->LinkedItem;
}

}  // namespace

std::string TfsExpression::CompoundAssignment(const TfsDesignator& target) {
  if (!dynamic_cast<const TfsVariableDesignator*>(&target) || !target.LinkedItem) return " ";
  auto* op = dynamic_cast<TfsOperatorNode*>(FRoot);
  if (!op || !op->Left() || !op->Right()) return " ";
  TfsCustomVariable* variable = target.LinkedItem;
  // A concatenation shares "+"'s code but is no addition: it is never
  // rewritten (doing so turned "s := s & 1" into a numeric add).
  const bool concatenation = dynamic_cast<TStrCatNode*>(op) != nullptr;
  auto keep = [this, op](TfsExpressionNode* part) {
    op->RemoveNode(part);
    delete FRoot;
    FRoot = part;
    FCurrent = part;
  };
  if (!concatenation && VariableOf(op->Left()) == variable) {
    const char* modificator = nullptr;
    switch (op->Code) {
      case opPlus: modificator = "+"; break;
      case opMinus: modificator = "-"; break;
      case opMul: modificator = "*"; break;
      case opDivFloat: modificator = "/"; break;
      default: break;
    }
    if (modificator) {
      keep(op->Right());
      return modificator;
    }
  }
  if (!concatenation && (op->Code == opPlus || op->Code == opMul) &&
      VariableOf(op->Right()) == variable && variable->TypeCode != fvtString &&
      variable->TypeCode != fvtVariant) {
    const char* modificator = op->Code == opPlus ? "+" : "*";
    keep(op->Left());
    return modificator;
  }
  return " ";
}
