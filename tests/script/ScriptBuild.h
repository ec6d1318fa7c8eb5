// Builds script programs through the interpreter's own construction calls,
// the way the program loader does, for tests of the run-time parts.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "script/TfsDesignator.h"
#include "script/TfsExpression.h"
#include "script/TfsStatements.h"
#include "script/fs_iinterpreter.h"

namespace scriptbuild {

inline void DeclareBasicTypes(TfsScript& s) {
  s.DeclareType("Integer", fvtInt);
  s.DeclareType("Boolean", fvtBool);
  s.DeclareType("Extended", fvtFloat);
  s.DeclareType("String", fvtString);
  s.DeclareType("Char", fvtChar);
  s.DeclareType("Variant", fvtVariant);
  s.DeclareType("Array", fvtArray);
  s.DeclareType("Constructor", fvtConstructor);
}

// A link of a designator: an item and its argument expressions.
struct Link {
  TfsCustomVariable* Item;
  std::vector<TfsCustomVariable*> Args = {};  // expressions, owned by the link once built
};

inline std::unique_ptr<TfsDesignator> Dsgn(TfsScript& s, std::initializer_list<Link> links) {
  auto d = std::make_unique<TfsDesignator>(&s);
  for (const Link& l : links) {
    TfsDesignatorItem* link = d->AddLink(l.Item, "1:1");
    for (TfsCustomVariable* a : l.Args) link->Add(a);
  }
  d->Finalise();
  return TfsDesignator::Specialise(std::move(d));
}

// One token of an expression: a constant, an operator text or a designator.
struct Op {
  const char* Text;
};
using Token = std::variant<Variant, Op, TfsDesignator*, TfsSetExpression*>;

// An expression from tokens in source order; expects no type error.
inline std::unique_ptr<TfsExpression> Expr(TfsScript& s, std::initializer_list<Token> tokens,
                                           std::string* error = nullptr) {
  auto e = std::make_unique<TfsExpression>(&s);
  int column = 1;
  for (const Token& t : tokens) {
    e->Position = "1:" + std::to_string(column++);
    if (auto* v = std::get_if<Variant>(&t)) e->AddOperand(*v);
    if (auto* o = std::get_if<Op>(&t)) e->AddOperator(o->Text);
    if (auto* d = std::get_if<TfsDesignator*>(&t)) e->AddDesignator(*d);
    if (auto* set = std::get_if<TfsSetExpression*>(&t)) e->AddSet(*set);
  }
  const std::string at = e->Finalise();
  if (error)
    *error = at;
  else
    EXPECT_EQ(at, "") << "type error";
  return e;
}

inline TfsExpression* ExprP(TfsScript& s, std::initializer_list<Token> tokens) {
  return Expr(s, tokens).release();
}

// A variable reference as an expression token.
inline TfsDesignator* Var(TfsScript& s, TfsCustomVariable* v) { return Dsgn(s, {{v}}).release(); }

inline TfsVariable* AddVar(TfsScript& s, const char* name, const char* type, TfsVarType code,
                           Variant value = 0) {
  auto* v = code == fvtString || code == fvtChar ? new TfsStringVariable(name, type, code)
                                                 : new TfsVariable(name, type, code);
  v->SetValue(value);
  s.AddItem(name, v);
  return v;
}

inline TfsAssignmentStmt* Assign(TfsScript& s, TfsCustomVariable* target,
                                 std::initializer_list<Token> value) {
  auto* a = new TfsAssignmentStmt(&s, "1:1", "");
  a->SetParts(Dsgn(s, {{target}}), Expr(s, value));
  return a;
}

inline TfsCallStmt* Call(TfsScript& s, std::unique_ptr<TfsDesignator> d) {
  auto* c = new TfsCallStmt(&s, "1:1", "");
  c->CallDesignator = std::move(d);
  return c;
}

}  // namespace scriptbuild
