// The second half of TfsILParser: loading the intermediate program into the
// script's items, statements, expressions and designators, checking names,
// types and argument counts on the way.
#include <algorithm>

#include "platform/rtl/Formatting.h"
#include "platform/rtl/ObjectHandles.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "script/TfsILParser.h"
#include "script/fs_idisp.h"

namespace {

std::string Quoted(const std::string& name) { return "'" + name + "'"; }

[[noreturn]] void Fail(const std::string& message) { throw Exception(message); }

[[noreturn]] void Incompatible(const TfsCustomVariable& target, const TfsCustomVariable& value) {
  Fail("Incompatible types: '" + target.TypeDisplayName() + "', '" + value.TypeDisplayName() + "'");
}

bool Is(const TfsXMLItem* item, const char* name) { return AnsiSameText(item->Name, name); }

std::string TextOf(const TfsXMLItem* item) { return item->Prop("text"); }

// Children of a designator element after the node at index i: the argument
// expressions of that link.
bool IsArgument(const TfsXMLItem* item) { return Is(item, "expr"); }

// A literal of the intermediate program: a quoted string, an integer (64-bit
// when it does not fit 32 bits, read exactly), or a floating number.
Variant ParseLiteral(const std::string& text) {
  if (!text.empty() && text[0] == '\'')
    return Variant(text.size() >= 2 ? text.substr(1, text.size() - 2) : std::string());
  Int64 n = 0;
  if (TryStrToInt64(text, n)) {
    if (n >= INT32_MIN && n <= INT32_MAX) return static_cast<Integer>(n);
    return n;
  }
  double d = 0;
  Integer code = 0;
  Val(text, d, code);
  if (code != 0) Fail("Invalid number '" + text + "'");
  return d;
}

// Operators that take two operands, and those that take one.
bool IsBinary(TfsOperatorCode code) {
  return (code >= opGreat && code <= opShr) || code == opIn || code == opIs;
}
bool IsUnary(TfsOperatorCode code) { return code == opNot || code == opUnMinus; }

// An operator without its operand (a failed loop round of the grammar can
// leave one in the program) is a syntax error, never a node that reads
// nothing at run time.
std::string MissingOperand(const TfsExpressionNode* root) {
  if (!root) return "?";
  std::vector<const TfsExpressionNode*> work{root};
  while (!work.empty()) {
    const TfsExpressionNode* node = work.back();
    work.pop_back();
    if (auto* op = dynamic_cast<const TfsOperatorNode*>(node)) {
      const bool bad = (IsBinary(op->Code) && (!op->Left() || !op->Right())) ||
                       (IsUnary(op->Code) && !op->Left()) || op->Code == opLeftBracket ||
                       op->Code == opNone || op->Code == opRightBracket;
      if (bad) return op->SourcePosition.empty() ? "?" : op->SourcePosition;
    }
    if (node->Left()) work.push_back(node->Left());
    if (node->Right()) work.push_back(node->Right());
  }
  return {};
}

}  // namespace

void TfsILParser::SetPosition(const TfsXMLItem* element) {
  const std::string pos = element->Prop("pos");
  if (!pos.empty()) ErrorPosition = pos;
}

template <typename T>
T* TfsILParser::NewStatement(TfsXMLItem* element, TfsScript* script, TfsStatement* list) {
  const std::string pos = element->Prop("pos");
  auto* st = new T(script, pos, CurrentUnit);
  list->Add(st);
  TargetScript->RecordCodeLine(CurrentUnit, pos);
  return st;
}

// ---------------------------------------------------------------------------
// Blocks and declarations

void TfsILParser::LoadIntermediateProgram() {
  ActiveWiths.clear();
  TargetScript->ErrorUnitName.clear();
  CurrentUnit.clear();
  LoadProgramElement(ProgramDoc->Root());
}

void TfsILParser::LoadProgramElement(TfsXMLItem* program) {
  try {
    LoadBlock(program, TargetScript);
    TargetScript->ErrorPosition.clear();
  } catch (const Exception& e) {
    TargetScript->ErrorText = e.Message;
    TargetScript->ErrorPosition = ErrorPosition;
    TargetScript->ErrorUnitName = CurrentUnit;
  }
}

void TfsILParser::LoadBlock(TfsXMLItem* element, TfsScript* script) {
  TfsXMLItem* savedRoot = CurrentRoot;
  CurrentRoot = element;
  struct Restore {
    TfsXMLItem*& Root;
    TfsXMLItem* Saved;
    ~Restore() { Root = Saved; }
  } restore{CurrentRoot, savedRoot};
  DeclareRoutines(element, script);
  for (Integer i = 0; i < element->Count(); ++i)
    Dispatch(element->Items(i), script, script->MainBlock.get());
}

// Routines are declared before anything else is loaded, so calls may come
// before the routine's text.
void TfsILParser::DeclareRoutines(TfsXMLItem* element, TfsScript* script) {
  for (Integer i = 0; i < element->Count(); ++i) {
    TfsXMLItem* child = element->Items(i);
    if (Is(child, "procedure") || Is(child, "function"))
      DeclareRoutine(child, script);
    else if (Is(child, "compoundstmt"))
      DeclareRoutines(child, script);
  }
}

std::pair<std::string, TfsVarType> TfsILParser::LookupType(const std::string& typeText,
                                                           TfsScript* script) {
  std::string name = typeText;
  auto mapped = [&](TfsXMLItem* root) {
    if (!root) return false;
    const Integer t = root->Find("types");
    if (t < 0) return false;
    TfsXMLItem* types = root->Items(t);
    const Integer i = types->Find(name);
    if (i < 0) return false;
    name = types->Items(i)->Prop("type");
    return true;
  };
  if (!mapped(CurrentRoot) && !mapped(ProgramDoc->Root())) mapped(GrammarRoot);
  const TfsVarType code = script->TypeCodeOf(name);
  if (code == fvtClass && !script->FindClass(name)) Fail("Unknown type: " + Quoted(typeText));
  return {name, code};
}

void TfsILParser::DeclareRoutine(TfsXMLItem* element, TfsScript* script) {
  SetPosition(element);
  std::string name, typeText = "Variant";
  bool hasResult = false;
  if (Is(element, "procedure")) {
    if (element->Count() > 0) name = TextOf(element->Items(0));
  } else {
    hasResult = true;
    for (Integer i = 0; i < element->Count(); ++i) {
      TfsXMLItem* child = element->Items(i);
      if (Is(child, "name") && name.empty()) name = TextOf(child);
      if (Is(child, "type")) typeText = TextOf(child);
    }
    if (SameText(typeText, "void")) hasResult = false;
  }
  if (script->LookupLocalName(name)) Fail("Identifier redeclared: " + Quoted(name));
  const auto [typeName, typeCode] =
      hasResult ? LookupType(typeText, script) : std::pair<std::string, TfsVarType>{"", fvtVariant};
  auto* routine = new TfsProcVariable(name, hasResult, script, typeName, typeCode);
  routine->SourcePosition = element->Prop("pos");
  routine->SourceUnit = CurrentUnit;
  script->AddItem(name, routine);

  for (Integer i = 0; i < element->Count(); ++i) {
    TfsXMLItem* params = element->Items(i);
    if (!Is(params, "parameters")) continue;
    bool nextByRef = false;
    for (Integer j = 0; j < params->Count(); ++j) {
      TfsXMLItem* group = params->Items(j);
      if (Is(group, "varparams")) {
        nextByRef = true;
        continue;
      }
      if (!Is(group, "var")) continue;
      bool byRef = nextByRef;
      nextByRef = false;
      for (Integer k = 0; k < group->Count(); ++k) {
        TfsXMLItem* item = group->Items(k);
        if (Is(item, "varparam")) byRef = true;
        if (!Is(item, "ident")) continue;
        SetPosition(item);
        const std::string paramName = TextOf(item);
        if (routine->LocalScript->LookupLocalName(paramName))
          Fail("Identifier redeclared: " + Quoted(paramName));
        auto* param = static_cast<TfsParamItem*>(
            MakeVariable(group, k, routine->LocalScript, nullptr, true, byRef));
        routine->AddParam(param);
      }
    }
  }
}

TfsCustomVariable* TfsILParser::MakeVariable(TfsXMLItem* element, Integer nameIndex,
                                             TfsScript* script, TfsStatement* list, bool isParam,
                                             bool byReference) {
  TfsXMLItem* nameItem = element->Items(nameIndex);
  const std::string name = TextOf(nameItem);
  // Where the type stands decides which array and init children belong to
  // this name: names first, they apply to every name; type first, only those
  // between this name and the next.
  Integer typeIndex = element->Find("type");
  std::string typeText = typeIndex >= 0 ? TextOf(element->Items(typeIndex)) : "Variant";
  const bool typeFirst = typeIndex == 0;
  TfsXMLItem* arrayItem = nullptr;
  TfsXMLItem* initItem = nullptr;
  for (Integer i = typeFirst ? nameIndex + 1 : 0; i < element->Count(); ++i) {
    TfsXMLItem* child = element->Items(i);
    if (typeFirst && Is(child, "ident")) break;
    if (!typeFirst && i <= nameIndex && !Is(child, "array") && !Is(child, "init")) continue;
    if (Is(child, "array") && !arrayItem) arrayItem = child;
    if (Is(child, "init") && !initItem) initItem = child;
  }
  auto [typeName, typeCode] = LookupType(typeText, script);
  Variant initial;
  switch (typeCode) {
    case fvtBool: initial = false; break;
    case fvtChar:
    case fvtString: initial = std::string(); break;
    case fvtInt:
    case fvtFloat:
    case fvtClass: initial = 0; break;
    default: initial = Null(); break;
  }
  TfsArrayHelper* helper = nullptr;
  if (arrayItem) {
    std::vector<Integer> bounds;
    for (Integer i = 0; i < arrayItem->Count(); ++i) {
      TfsXMLItem* dim = arrayItem->Items(i);
      if (!Is(dim, "dim")) continue;
      SetPosition(dim);
      std::vector<Integer> values;
      for (Integer j = 0; j < dim->Count(); ++j)
        if (Is(dim->Items(j), "expr")) values.push_back(BuildExpression(dim->Items(j), script)->GetValue().AsInteger());
      if (values.size() == 1) {
        bounds.push_back(0);
        bounds.push_back(values[0] - 1);
      } else if (values.size() >= 2) {
        bounds.push_back(values[0]);
        bounds.push_back(values[1]);
      }
    }
    if (bounds.empty()) bounds = {0, 0};
    if (bounds.size() > 6) Fail("Array type required");
    // A declaration may not ask for more memory than a script can sensibly
    // use (a typo such as 1..100000000 would otherwise take gigabytes).
    Int64 elements = 1;
    for (size_t d = 0; d + 1 < bounds.size(); d += 2) {
      elements *= std::max<Int64>(0, Int64{bounds[d + 1]} - bounds[d] + 1);
      if (elements > fsMaxArrayElements) Fail("Array is too large");
    }
    initial = VarArrayCreate(bounds.data(), static_cast<int>(bounds.size()), varVariant);
    helper = new TfsArrayHelper("", typeName, typeCode);
    for (size_t d = 0; d < bounds.size() / 2; ++d)
      helper->Add(new TfsParamItem("", false, false, "Integer", fvtInt));
    script->AddItem("", helper);
    typeCode = fvtArray;
  }
  TfsCustomVariable* item;
  if (isParam)
    item = new TfsParamItem(name, byReference, initItem != nullptr, typeName, typeCode);
  else if (typeCode == fvtChar || typeCode == fvtString)
    item = new TfsStringVariable(name, typeName, typeCode);
  else
    item = new TfsVariable(name, typeName, typeCode);
  item->LinkedItem = helper;
  item->SetValue(initial);
  item->SourcePosition = nameItem->Prop("pos");
  item->SourceUnit = CurrentUnit;
  if (isParam) {
    std::unique_ptr<TfsCustomVariable> owned(item);
    if (initItem && initItem->Count() > 0) {
      SetPosition(initItem);
      auto value = BuildExpression(initItem->Items(0), script);
      if (!fsExprCompatible(*item, *value, script)) Incompatible(*item, *value);
      auto* param = static_cast<TfsParamItem*>(item);
      param->DefaultValue = value->GetValue();
      param->SetValue(param->DefaultValue);
    }
    return owned.release();
  }
  script->AddItem(name, item);
  if (initItem && initItem->Count() > 0 && list) {
    SetPosition(initItem);
    auto value = BuildExpression(initItem->Items(0), script);
    if (!fsExprCompatible(*item, *value, script)) Incompatible(*item, *value);
    auto target = std::make_unique<TfsDesignator>(script);
    target->AddLink(item, item->SourcePosition);
    target->Finalise();
    auto* st = NewStatement<TfsAssignmentStmt>(initItem, script, list);
    st->SetParts(TfsDesignator::Specialise(std::move(target)), std::move(value));
  }
  return item;
}

// ---------------------------------------------------------------------------
// Statements

void TfsILParser::DispatchChildren(TfsXMLItem* element, TfsScript* script, TfsStatement* list) {
  for (Integer i = 0; i < element->Count(); ++i) Dispatch(element->Items(i), script, list);
}

void TfsILParser::Dispatch(TfsXMLItem* element, TfsScript* script, TfsStatement* list) {
  SetPosition(element);
  const std::string name = AnsiLowerCase(element->Name);
  if (name == "assignstmt") {
    DispatchAssignment(element, script, list);
  } else if (name == "callstmt") {
    if (element->Count() == 0) return;
    auto* st = NewStatement<TfsCallStmt>(element, script, list);
    st->CallDesignator = BuildDesignator(element->Items(0), script);
    if (element->Count() > 1) {
      st->StepSign = TextOf(element->Items(1));
      SetPosition(element);
      if (st->CallDesignator->ReadOnly) Fail("Left side cannot be assigned to");
    }
  } else if (name == "ifstmt") {
    if (element->Count() == 0) return;
    auto* st = NewStatement<TfsIfStmt>(element, script, list);
    st->Test = BuildExpression(element->Items(0), script);
    for (Integer i = 1; i < element->Count(); ++i) {
      TfsXMLItem* part = element->Items(i);
      if (Is(part, "thenstmt")) DispatchChildren(part, script, st);
      if (Is(part, "elsestmt")) DispatchChildren(part, script, st->ElsePart.get());
    }
  } else if (name == "casestmt") {
    if (element->Count() == 0) return;
    auto* st = NewStatement<TfsCaseStmt>(element, script, list);
    st->Selector = BuildExpression(element->Items(0), script);
    for (Integer i = 1; i < element->Count(); ++i) {
      TfsXMLItem* child = element->Items(i);
      if (Is(child, "caseselector")) {
        if (child->Count() < 2) continue;
        SetPosition(child);
        auto* selector = new TfsCaseSelector(script, child->Prop("pos"), CurrentUnit);
        st->Add(selector);
        selector->Labels = BuildSet(child->Items(0), script);
        Dispatch(child->Items(1), script, selector);
      } else if (i == element->Count() - 1) {
        Dispatch(child, script, st->ElsePart.get());
      }
    }
  } else if (name == "forstmt" || name == "vbforstmt") {
    DispatchFor(element, script, list);
  } else if (name == "cppforstmt") {
    if (element->Count() < 4) Fail("Statement expected");
    auto* st = NewStatement<TfsCppForStmt>(element, script, list);
    Dispatch(element->Items(0), script, st->InitPart.get());
    st->Test = BuildExpression(element->Items(1), script);
    Dispatch(element->Items(2), script, st->NextPart.get());
    Dispatch(element->Items(3), script, st);
  } else if (name == "whilestmt") {
    if (element->Count() == 0) return;
    auto* st = NewStatement<TfsWhileStmt>(element, script, list);
    st->Test = BuildExpression(element->Items(0), script);
    for (Integer i = 1; i < element->Count(); ++i) Dispatch(element->Items(i), script, st);
  } else if (name == "repeatstmt") {
    Integer last = element->Count() - 1;
    if (last < 0) return;
    auto* st = NewStatement<TfsRepeatStmt>(element, script, list);
    if (Is(element->Items(last), "inverse")) {
      st->WhileForm = true;
      --last;
    }
    if (last < 0) Fail("Expression expected");
    for (Integer i = 0; i < last; ++i) Dispatch(element->Items(i), script, st);
    st->Test = BuildExpression(element->Items(last), script);
  } else if (name == "trystmt") {
    auto* st = NewStatement<TfsTryStmt>(element, script, list);
    for (Integer i = 0; i < element->Count(); ++i) {
      TfsXMLItem* child = element->Items(i);
      if (Is(child, "exceptstmt")) {
        st->CatchForm = true;
        DispatchChildren(child, script, st->HandlerPart.get());
      } else if (Is(child, "finallystmt")) {
        DispatchChildren(child, script, st->HandlerPart.get());
      } else {
        Dispatch(child, script, st);
      }
    }
  } else if (name == "break") {
    NewStatement<TfsBreakStmt>(element, script, list);
  } else if (name == "continue") {
    NewStatement<TfsContinueStmt>(element, script, list);
  } else if (name == "exit") {
    NewStatement<TfsExitStmt>(element, script, list);
  } else if (name == "return") {
    if (element->Count() > 0) {
      // Result := expression, then exit.
      TfsXMLItem assign;
      assign.Name = "assignstmt";
      assign.Text = element->Text;
      TfsXMLItem* dsgn = assign.Add();
      dsgn->Name = "dsgn";
      dsgn->Text = element->Items(0)->Text;
      TfsXMLItem* node = dsgn->Add();
      node->Name = "node";
      node->Text = "text=\"Result\" pos=\"" + EscapeScriptXml(element->Items(0)->Prop("pos")) + "\"";
      assign.Add()->CopyFrom(*element->Items(0));
      DispatchAssignment(&assign, script, list);
    }
    NewStatement<TfsExitStmt>(element, script, list);
  } else if (name == "with") {
    DispatchWith(element, script, list);
  } else if (name == "delete") {
    if (element->Count() == 0) return;
    auto* st = NewStatement<TfsCallStmt>(element, script, list);
    st->CallDesignator = BuildDesignator(element->Items(0), script, dmDelete);
  } else if (name == "compoundstmt") {
    DispatchChildren(element, script, list);
  } else if (name == "uses") {
    DispatchUses(element, script);
  } else if (name == "var") {
    for (Integer i = 0; i < element->Count(); ++i) {
      TfsXMLItem* child = element->Items(i);
      if (!Is(child, "ident")) continue;
      SetPosition(child);
      const std::string varName = TextOf(child);
      if (script->LookupLocalName(varName)) Fail("Identifier redeclared: " + Quoted(varName));
      MakeVariable(element, i, script, list, false, false);
    }
  } else if (name == "const") {
    if (element->Count() < 2) return;
    const std::string constName = TextOf(element->Items(0));
    if (script->LookupLocalName(constName)) Fail("Identifier redeclared: " + Quoted(constName));
    auto e = BuildExpression(element->Items(1), script);
    auto* c = new TfsVariable(constName, e->TypeName, e->TypeCode);
    c->Value = e->GetValue();
    c->ReadOnly = true;
    c->SourcePosition = element->Prop("pos");
    c->SourceUnit = CurrentUnit;
    script->AddItem(constName, c);
  } else if (name == "procedure" || name == "function") {
    std::string routineName;
    for (Integer i = 0; i < element->Count(); ++i) {
      TfsXMLItem* child = element->Items(i);
      if (name == "procedure" ? i == 0 : Is(child, "name")) {
        routineName = TextOf(child);
        break;
      }
    }
    auto* routine = dynamic_cast<TfsProcVariable*>(script->LookupLocalName(routineName));
    if (!routine) Fail("Undeclared identifier: " + Quoted(routineName));
    LoadBlock(element, routine->LocalScript);
  }
}

void TfsILParser::DispatchAssignment(TfsXMLItem* element, TfsScript* script, TfsStatement* list) {
  if (element->Count() < 2) Fail("Expression expected");
  auto target = BuildDesignator(element->Items(0), script);
  Integer next = 1;
  std::string modificator;
  if (Is(element->Items(1), "modificator")) {
    modificator = TextOf(element->Items(1));
    next = 2;
  }
  if (next >= element->Count()) Fail("Expression expected");
  auto value = BuildExpression(element->Items(next), script);
  SetPosition(element);
  if (target->ReadOnly) Fail("Left side cannot be assigned to");
  if (!fsExprCompatible(*target, *value, script)) Incompatible(*target, *value);
  if (modificator.empty()) {
    const std::string m = value->CompoundAssignment(*target);
    if (m != " ") modificator = m;
  }
  TfsAssignmentStmt* st;
  if (modificator == "+")
    st = NewStatement<TfsAssignPlusStmt>(element, script, list);
  else if (modificator == "-")
    st = NewStatement<TfsAssignMinusStmt>(element, script, list);
  else if (modificator == "*")
    st = NewStatement<TfsAssignMulStmt>(element, script, list);
  else if (modificator == "/")
    st = NewStatement<TfsAssignDivStmt>(element, script, list);
  else
    st = NewStatement<TfsAssignmentStmt>(element, script, list);
  st->SetParts(std::move(target), std::move(value));
}

void TfsILParser::DispatchFor(TfsXMLItem* element, TfsScript* script, TfsStatement* list) {
  const bool basic = Is(element, "vbforstmt");
  if (element->Count() < 3) Fail("Expression expected");
  SetPosition(element->Items(0));
  const std::string varName = TextOf(element->Items(0));
  TfsCustomVariable* variable = script->LookupName(varName);
  if (!variable && !RequireDeclarations) {
    variable = new TfsVariable(varName, "Variant", fvtVariant);
    TargetScript->AddItem(varName, variable);
  }
  if (!variable) Fail("Undeclared identifier: " + Quoted(varName));
  if (!dynamic_cast<TfsVariable*>(variable) ||
      (variable->TypeCode != fvtInt && variable->TypeCode != fvtFloat &&
       variable->TypeCode != fvtVariant))
    Fail("For loop variable must be numeric variable");
  auto check = [&](const TfsExpression& e) {
    if (!fsExprCompatible(*variable, e, script)) Incompatible(*variable, e);
  };
  Integer i = 1;
  auto nextExpr = [&]() -> std::unique_ptr<TfsExpression> {
    while (i < element->Count() && !Is(element->Items(i), "expr")) {
      if (!basic && Is(element->Items(i), "downto")) break;
      ++i;
    }
    if (i >= element->Count() || !Is(element->Items(i), "expr")) return nullptr;
    auto e = BuildExpression(element->Items(i++), script);
    check(*e);
    return e;
  };
  auto start = nextExpr();
  if (!start) Fail("Expression expected");
  bool down = false;
  if (!basic && i < element->Count() && Is(element->Items(i), "downto")) {
    down = true;
    ++i;
  }
  auto limit = nextExpr();
  if (!limit) Fail("Expression expected");
  TfsStatement* body;
  if (basic) {
    auto* st = NewStatement<TfsVbForStmt>(element, script, list);
    st->LoopVariable = variable;
    st->StartExpr = std::move(start);
    st->LimitExpr = std::move(limit);
    if (i < element->Count() && Is(element->Items(i), "expr")) st->StepExpr = nextExpr();
    body = st;
  } else {
    auto* st = NewStatement<TfsForStmt>(element, script, list);
    st->LoopVariable = variable;
    st->StartExpr = std::move(start);
    st->LimitExpr = std::move(limit);
    st->CountsDown = down;
    body = st;
  }
  for (; i < element->Count(); ++i) Dispatch(element->Items(i), script, body);
}

void TfsILParser::DispatchWith(TfsXMLItem* element, TfsScript* script, TfsStatement* list) {
  const size_t pushed = ActiveWiths.size();
  struct Pop {
    std::vector<std::string>& Withs;
    size_t Size;
    ~Pop() { Withs.resize(Size); }
  } pop{ActiveWiths, pushed};
  for (Integer i = 0; i + 1 < element->Count(); ++i) {
    auto d = BuildDesignator(element->Items(i), script);
    SetPosition(element->Items(i));
    if (d->TypeCode != fvtClass && d->TypeCode != fvtVariant) Fail("Class type required");
    Integer n = 0;
    std::string hidden;
    for (;; ++n) {
      hidden = std::to_string(n);
      if (!script->LookupLocalName(hidden) &&
          std::find(ActiveWiths.begin(), ActiveWiths.end(), hidden) == ActiveWiths.end())
        break;
    }
    auto* variable = new TfsVariable(hidden, d->TypeName, d->TypeCode);
    script->AddItem(hidden, variable);
    auto* st = NewStatement<TfsWithStmt>(element, script, list);
    st->WithVariable = variable;
    st->WithDesignator = std::move(d);
    ActiveWiths.push_back(hidden);
  }
  if (element->Count() > 0) Dispatch(element->Items(element->Count() - 1), script, list);
}

void TfsILParser::DispatchUses(TfsXMLItem* element, TfsScript* script) {
  const std::string savedUnit = CurrentUnit;
  struct Restore {
    std::string& Unit;
    std::string Saved;
    ~Restore() { Unit = Saved; }
  } restore{CurrentUnit, savedUnit};
  CurrentUnit = element->Prop("unit");
  std::string compiled;
  if (TargetScript->OnGetILUnit) TargetScript->OnGetILUnit(TargetScript, CurrentUnit, compiled);
  if (!compiled.empty()) {
    TfsXMLDocument doc;
    TStringStream stream(compiled);
    doc.LoadFromStream(stream);
    LoadBlock(doc.Root(), script);
    return;
  }
  for (Integer i = 0; i < element->Count(); ++i) LoadBlock(element->Items(i), script);
}

// ---------------------------------------------------------------------------
// Expressions, sets and designators

std::string TfsILParser::SourceBetween(const std::string& pos, const std::string& pos1) const {
  if (!Sources || pos.empty() || pos1.empty()) return {};
  const std::string* text = nullptr;
  for (const auto& [unit, source] : *Sources)
    if (AnsiSameText(unit, CurrentUnit)) text = &source;
  if (!text) return {};
  TfsParser lines;
  lines.SetText(*text);
  auto toPosition = [&](const std::string& p) -> Integer {
    const size_t colon = p.find(':');
    if (colon == std::string::npos) return -1;
    Integer line = 0, col = 0;
    if (!TryStrToInt(p.substr(0, colon), line) || !TryStrToInt(p.substr(colon + 1), col)) return -1;
    return lines.TextToPosition(col, line);
  };
  const Integer from = toPosition(pos), to = toPosition(pos1);
  const auto size = static_cast<Integer>(text->size());
  if (from < 1 || to < from || from > size + 1 || to > size + 1) return {};
  return Trim(text->substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from)));
}

void TfsILParser::AddExpressionItems(TfsExpression& e, TfsXMLItem* element, TfsScript* script) {
  for (Integer i = 0; i < element->Count(); ++i) {
    TfsXMLItem* child = element->Items(i);
    SetPosition(child);
    e.Position = child->Prop("pos");
    if (Is(child, "op")) {
      e.AddOperator(AnsiLowerCase(TextOf(child)));
    } else if (Is(child, "number") || Is(child, "string")) {
      e.AddOperand(ParseLiteral(TextOf(child)));
    } else if (Is(child, "dsgn")) {
      e.AddDesignator(BuildDesignator(child, script).release());
    } else if (Is(child, "set")) {
      e.AddSet(BuildSet(child, script).release());
    } else if (Is(child, "new")) {
      if (child->Count() == 0) Fail("Class type required");
      e.AddDesignator(BuildDesignator(child->Items(0), script, dmConstructor).release());
    } else if (Is(child, "expr")) {
      AddExpressionItems(e, child, script);
    }
  }
}

std::unique_ptr<TfsExpression> TfsILParser::BuildExpression(TfsXMLItem* element, TfsScript* script) {
  SetPosition(element);
  auto e = std::make_unique<TfsExpression>(script);
  e->SourcePosition = element->Prop("pos");
  AddExpressionItems(*e, element, script);
  e->SourceText = SourceBetween(element->Prop("pos"), element->Prop("pos1"));
  const std::string errorAt = e->Finalise();
  if (const std::string missing = MissingOperand(e->Root()); !missing.empty()) {
    if (missing != "?") ErrorPosition = missing;
    Fail("Syntax error");
  }
  if (!errorAt.empty()) {
    ErrorPosition = errorAt;
    Fail("Incompatible types");
  }
  return e;
}

std::unique_ptr<TfsSetExpression> TfsILParser::BuildSet(TfsXMLItem* element, TfsScript* script) {
  auto set = std::make_unique<TfsSetExpression>();
  for (Integer i = 0; i < element->Count(); ++i) {
    TfsXMLItem* child = element->Items(i);
    if (Is(child, "expr"))
      set->AddValue(BuildExpression(child, script).release());
    else if (Is(child, "range"))
      set->AddRange();
  }
  return set;
}

std::unique_ptr<TfsDesignator> TfsILParser::BuildDesignator(TfsXMLItem* element, TfsScript* script,
                                                            TfsDesignatorMode mode) {
  SetPosition(element);
  auto d = std::make_unique<TfsDesignator>(script);
  d->SourcePosition = element->Prop("pos");
  d->SourceUnit = CurrentUnit;
  Integer i = 0;
  const Integer n = element->Count();

  // @Name: a constant holding the routine's name.
  if (n > 0 && Is(element->Items(0), "addr")) {
    if (n != 2 || !Is(element->Items(1), "node")) Fail("Variable required");
    const std::string name = TextOf(element->Items(1));
    auto constant = std::make_unique<TfsVariable>("", "String", fvtString);
    constant->Value = name;
    constant->ReadOnly = true;
    TfsDesignatorItem* link = d->AddLink(constant.get(), element->Items(1)->Prop("pos"));
    link->OwnedResolved = std::move(constant);
    d->Finalise();
    return d;
  }
  if (n == 0 || !Is(element->Items(0), "node")) Fail("Identifier expected");

  // The first name: with-contexts first (innermost first), then the scopes.
  TfsXMLItem* first = element->Items(0);
  SetPosition(first);
  const std::string firstName = TextOf(first);
  TfsCustomVariable* item = nullptr;
  for (auto w = ActiveWiths.rbegin(); w != ActiveWiths.rend() && !item; ++w) {
    TfsCustomVariable* hidden = script->LookupLocalName(*w);
    if (!hidden) continue;
    if (hidden->TypeCode == fvtVariant) {
      if (script->LookupName(firstName)) break;
      // Resolved when it first runs, against the object the with holds then.
      d->PendingSource = std::make_unique<TfsXMLItem>();
      d->PendingSource->CopyFrom(*element);
      TfsXMLItem* withNode = new TfsXMLItem;
      withNode->Name = "node";
      withNode->Text = "text=\"" + EscapeScriptXml(*w) + "\" pos=\"" + EscapeScriptXml(first->Prop("pos")) + "\"";
      d->PendingSource->InsertItem(0, withNode);
      d->TypeCode = fvtVariant;
      return d;
    }
    TfsClassVariable* cls = script->FindClass(hidden->TypeName);
    if (!cls) Fail("Unknown type: " + Quoted(hidden->TypeName));
    if (TfsCustomHelper* member = cls->FindMember(firstName)) {
      d->AddLink(hidden, first->Prop("pos"));
      item = member;
    }
  }
  if (!item) item = script->LookupName(firstName);
  if (!item) {
    if (RequireDeclarations) Fail("Undeclared identifier: " + Quoted(firstName));
    item = new TfsVariable(firstName, "Variant", fvtVariant);
    TargetScript->AddItem(firstName, item);
  }
  TfsDesignatorItem* link = d->AddLink(item, first->Prop("pos"));
  ++i;

  if (mode == dmConstructor) {
    auto* cls = dynamic_cast<TfsClassVariable*>(item);
    if (!cls) Fail("Class type required");
    TfsCustomHelper* create = cls->FindMember("Create");
    if (!create) Fail("Undeclared identifier: 'Create'");
    link = d->AddLink(create, first->Prop("pos"));
  }

  // Whether the current link still waits for the indexes of an indexed property.
  auto awaitingIndexes = [](TfsDesignatorItem* l) {
    auto* m = dynamic_cast<TfsMethodHelper*>(l->Resolved);
    return m && m->IsIndexedAccess && l->ItemCount() == 0 && !l->Indexed;
  };
  std::string currentTypeName;  // type name of a Variant link that holds an object
  for (; i < n; ++i) {
    TfsXMLItem* child = element->Items(i);
    SetPosition(child);
    if (IsArgument(child)) {
      link->Add(BuildExpression(child, script).release());
      continue;
    }
    if (!Is(child, "node")) continue;
    const std::string name = TextOf(child);
    const bool index = name == "[";
    TfsCustomVariable* prev = link->Resolved;
    if (awaitingIndexes(link)) {
      if (!index) Fail("Index required");
      link->Indexed = true;
      continue;
    }
    TfsVarType type = prev->TypeCode;
    std::string typeName = currentTypeName.empty() ? prev->TypeName : currentTypeName;
    currentTypeName.clear();
    if (dynamic_cast<TfsOLEHelper*>(prev)) {
      auto* ole = new TfsOLEHelper(name);
      script->AddItem("", ole);
      link = d->AddLink(ole, child->Prop("pos"));
      continue;
    }
    if (type == fvtVariant) {
      // The value the designator has now decides what follows. A designator
      // that calls a routine or a host method on the way is not run while
      // compiling (it could do anything, or never end): it is resolved at
      // its first run instead, as a Null value would be.
      d->Finalise();
      bool calls = false;
      for (Integer k = 0; k < d->ItemCount(); ++k) {
        TfsCustomVariable* r = d->Links(k)->Resolved;
        if (dynamic_cast<TfsProcVariable*>(r) || dynamic_cast<TfsMethodHelper*>(r) ||
            dynamic_cast<TfsOLEHelper*>(r))
          calls = true;
      }
      const Variant value = calls ? Null() : d->GetValue();
      if (VarIsNull(value) || VarIsEmpty(value)) {
        d = std::make_unique<TfsDesignator>(script);
        d->PendingSource = std::make_unique<TfsXMLItem>();
        d->PendingSource->CopyFrom(*element);
        d->TypeCode = fvtVariant;
        return d;
      }
      if (VarType(value) == varDispatch) {
        auto* ole = new TfsOLEHelper(name);
        script->AddItem("", ole);
        link = d->AddLink(ole, child->Prop("pos"));
        continue;
      }
      if (VarIsStr(value)) {
        type = fvtString;
      } else if (VarIsArray(value)) {
        if (!index) Fail("Index required");
        TfsCustomVariable* helper = script->LookupName("__ArrayHelper");
        if (!helper) Fail("Undeclared identifier: '__ArrayHelper'");
        link = d->AddLink(helper, child->Prop("pos"));
        continue;
      } else {
        TObject* object = VarToObject(value);
        if (!object) Fail("Class type required");
        type = fvtClass;
        typeName = object->ClassName();
      }
    }
    switch (type) {
      case fvtClass: {
        TfsClassVariable* cls = script->FindClass(typeName);
        if (!cls) Fail("Unknown type: " + Quoted(typeName));
        TfsCustomHelper* member = nullptr;
        if (index) {
          member = cls->DefaultProperty;
          if (!member) Fail(Format("Class %s does not have a default property", {typeName}));
        } else {
          member = cls->FindMember(name);
          if (!member) Fail("Undeclared identifier: " + Quoted(name));
        }
        link = d->AddLink(member, child->Prop("pos"));
        link->Indexed = index;
        break;
      }
      case fvtString:
      case fvtChar: {
        if (!index) Fail("Strings doesn't have properties or methods");
        TfsCustomVariable* helper = script->LookupName("__StringHelper");
        if (!helper) Fail("Undeclared identifier: '__StringHelper'");
        link = d->AddLink(helper, child->Prop("pos"));
        link->Indexed = true;
        break;
      }
      case fvtArray: {
        if (!prev->LinkedItem) Fail("Array type required");
        link = d->AddLink(prev->LinkedItem, child->Prop("pos"));
        link->Indexed = true;
        break;
      }
      default:
        Fail("Array type required");
    }
  }

  if (mode == dmDelete) {
    d->Finalise();
    if (d->TypeCode != fvtClass && d->TypeCode != fvtVariant) Fail("Class type required");
    TfsClassVariable* object = script->FindClass("TObject");
    if (!object) Fail("Unknown type: 'TObject'");
    TfsCustomHelper* freeMember = object->FindMember("Free");
    if (!freeMember) Fail("Undeclared identifier: 'Free'");
    d->AddLink(freeMember, element->Prop("pos"));
  }
  d->Finalise();
  CheckArguments(*d, script);
  return TfsDesignator::Specialise(std::move(d));
}

void TfsILParser::CheckArguments(TfsDesignator& d, TfsScript* script) {
  for (Integer i = 0; i < d.ItemCount(); ++i) {
    TfsDesignatorItem* link = d.Links(i);
    TfsCustomVariable* item = link->Resolved;
    if (!item || dynamic_cast<TfsDesignator*>(item)) continue;
    if (auto* ole = dynamic_cast<TfsOLEHelper*>(item)) {
      // Automation members take whatever they are given, as Variants.
      while (ole->Count() < link->ItemCount()) ole->AddArgument();
      continue;
    }
    if (!link->SourcePosition.empty()) ErrorPosition = link->SourcePosition;
    const Integer args = link->ItemCount();
    if (args < item->RequiredParamCount()) Fail("Not enough actual parameters");
    if (args > item->Count()) Fail("Too many actual parameters");
    for (Integer a = args; a < item->Count(); ++a) {
      auto e = std::make_unique<TfsExpression>(script);
      e->AddOperand(item->Params(a)->DefaultValue);
      e->Finalise();
      link->Add(e.release());
    }
    for (Integer a = 0; a < item->Count(); ++a) {
      TfsParamItem* param = item->Params(a);
      auto* argument = link->Arguments(a);
      if (!fsExprCompatible(*param, *argument, script)) Incompatible(*param, *argument);
    }
  }
}
