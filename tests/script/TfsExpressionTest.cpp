#include "script/TfsExpression.h"

#include <gtest/gtest.h>

#include "platform/rtl/ObjectHandles.h"
#include "platform/rtl/SysUtils.h"
#include "tests/script/ScriptBuild.h"

using namespace scriptbuild;

namespace {

class ExpressionTest : public ::testing::Test {
 protected:
  void SetUp() override { DeclareBasicTypes(s); }
  TfsScript s{nullptr};
};

std::string S(const char* text) { return text; }

TEST_F(ExpressionTest, PrioritiesBracketsAndAssociation) {
  struct Case {
    std::unique_ptr<TfsExpression> e;
    Variant expected;
    TfsVarType type;
  };
  Case cases[] = {
      {Expr(s, {2, Op{"+"}, 3, Op{"*"}, 4}), 14, fvtInt},
      {Expr(s, {Op{"("}, 2, Op{"+"}, 3, Op{")"}, Op{"*"}, 4}), 20, fvtInt},
      {Expr(s, {10, Op{"-"}, 4, Op{"-"}, 3}), 3, fvtInt},
      {Expr(s, {2, Op{"*"}, Op{"("}, Op{"("}, 1, Op{"+"}, 2, Op{")"}, Op{")"}}), 6, fvtInt},
      {Expr(s, {7, Op{"/"}, 2}), 3.5, fvtFloat},
      {Expr(s, {7, Op{"div"}, 2}), 3, fvtInt},
      {Expr(s, {7, Op{"MOD"}, 2}), 1, fvtInt},
      {Expr(s, {Op{"unminus"}, 2, Op{"+"}, 3}), 1, fvtInt},
      {Expr(s, {1, Op{"+"}, 2.5}), 3.5, fvtFloat},
      {Expr(s, {1, Op{"shl"}, 4, Op{"or"}, 1}), 17, fvtInt},
      {Expr(s, {Op{"not"}, true, Op{"="}, false}), true, fvtBool},
      {Expr(s, {1, Op{"<"}, 2, Op{"="}, true}), true, fvtBool},  // comparisons associate left
      {Expr(s, {S("ab"), Op{"+"}, S("c")}), S("abc"), fvtString},
      {Expr(s, {6, Op{"xor"}, 3}), 5, fvtInt},
      {Expr(s, {-8, Op{"shr"}, 28}), 15, fvtInt},
  };
  for (Case& c : cases) {
    const Variant v = c.e->GetValue();
    EXPECT_TRUE(VarSameTypeAndValue(v, c.expected) || v == c.expected)
        << v << " expected " << c.expected;
    EXPECT_EQ(c.e->TypeCode, c.type) << c.expected;
  }
}

TEST_F(ExpressionTest, TypeRulesRefuseAtTheOperator) {
  struct Case {
    std::initializer_list<Token> tokens;
    std::string errorAt;  // position of the refused operator, "" when fine
  };
  TfsVariable* str = AddVar(s, "Str", "String", fvtString, S("x"));
  const Case cases[] = {
      {{S("a"), Op{"="}, 1}, "1:2"},          // String beside Integer
      {{Op{"not"}, S("a")}, "1:1"},           // not on a String
      {{true, Op{"<"}, false}, "1:2"},        // Boolean allows only = <> and logic
      {{true, Op{"and"}, false}, ""},
      {{S("a"), Op{"*"}, S("b")}, "1:2"},     // String allows comparisons, + and in
      {{S("a"), Op{"in"}, S("b")}, ""},
      {{1, Op{"+"}, 2, Op{"="}, S("3")}, "1:4"},
      {{2.5, Op{"+"}, 1}, ""},
      {{1, Op{"+"}, true}, "1:2"},            // Integer does not take a Boolean
  };
  for (const Case& c : cases) {
    std::string error;
    Expr(s, c.tokens, &error);
    EXPECT_EQ(error, c.errorAt);
  }
  std::string error;
  auto e = Expr(s, {Var(s, str), Op{"+"}, S("y")}, &error);
  EXPECT_EQ(error, "");
  EXPECT_EQ(e->GetValue(), S("xy"));
}

TEST_F(ExpressionTest, NullAndEmptyFollowTheVariantRules) {
  const Variant null = Null(), empty;
  auto isNull = [](const Variant& v) { return VarIsNull(v); };
  EXPECT_TRUE(isNull(Expr(s, {null, Op{"+"}, 1})->GetValue()));
  EXPECT_TRUE(isNull(Expr(s, {1, Op{"*"}, null})->GetValue()));
  EXPECT_EQ(Expr(s, {empty, Op{"+"}, 1})->GetValue(), 1);
  EXPECT_EQ(Expr(s, {null, Op{"="}, null})->GetValue(), true);
  EXPECT_EQ(Expr(s, {null, Op{"="}, 1})->GetValue(), false);
  EXPECT_EQ(Expr(s, {null, Op{"<"}, 1})->GetValue(), false);
  EXPECT_EQ(Expr(s, {empty, Op{"="}, 0})->GetValue(), true);
  TfsVariable* nothing = AddVar(s, "nothing", "Variant", fvtVariant, null);
  EXPECT_EQ(Expr(s, {S("a"), Op{"strcat"}, Var(s, nothing)})->GetValue(), S("a"));
}

TEST_F(ExpressionTest, IntegerArithmeticIs64BitAndDefined) {
  EXPECT_TRUE(VarSameTypeAndValue(Expr(s, {2147483647, Op{"+"}, 1})->GetValue(),
                                  Variant(Int64{2147483648})));
  EXPECT_TRUE(VarSameTypeAndValue(Expr(s, {-2147483647 - 1, Op{"div"}, -1})->GetValue(),
                                  Variant(Int64{2147483648})));
  struct Case {
    std::unique_ptr<TfsExpression> e;
    const char* message;
  } raising[] = {
      {Expr(s, {7, Op{"div"}, 0}), "Division by zero"},
      {Expr(s, {7, Op{"mod"}, 0}), "Division by zero"},
      {Expr(s, {Variant(INT64_MIN), Op{"div"}, -1}), "Integer overflow"},
      {Expr(s, {Variant(INT64_MAX), Op{"+"}, 1}), "Integer overflow"},
      {Expr(s, {Variant(INT64_MIN), Op{"-"}, 1}), "Integer overflow"},
      {Expr(s, {Variant(INT64_MAX), Op{"*"}, 2}), "Integer overflow"},
  };
  for (auto& c : raising) {
    try {
      c.e->GetValue();
      ADD_FAILURE() << c.message << " not raised";
    } catch (const EIntError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  EXPECT_EQ(Expr(s, {Variant(INT64_MIN), Op{"mod"}, -1})->GetValue(), 0);
  EXPECT_EQ(Expr(s, {-7, Op{"mod"}, 2})->GetValue(), -1);  // sign of the dividend
}

TEST_F(ExpressionTest, ConcatenationJoinsTextAndIsNeverAnAddition) {
  EXPECT_EQ(Expr(s, {5, Op{"strcat"}, 3})->GetValue(), S("53"));
  TfsVariable* half = AddVar(s, "half", "Variant", fvtVariant, 2.5);
  EXPECT_EQ(Expr(s, {S("n="), Op{"strcat"}, Var(s, half)})->GetValue(), S("n=2.5"));

  TfsVariable* x = AddVar(s, "x", "Integer", fvtInt, 1);
  TfsVariable* str = AddVar(s, "t", "String", fvtString, S("a"));
  TfsVariable* v = AddVar(s, "v", "Variant", fvtVariant, 1);
  struct Case {
    TfsVariable* target;
    std::unique_ptr<TfsExpression> e;
    const char* modificator;
    Variant rest;  // value of what is left of the expression
  } cases[] = {
      {x, Expr(s, {Var(s, x), Op{"+"}, 2}), "+", 2},
      {x, Expr(s, {Var(s, x), Op{"-"}, 2}), "-", 2},
      {x, Expr(s, {Var(s, x), Op{"*"}, 3}), "*", 3},
      {x, Expr(s, {2, Op{"+"}, Var(s, x)}), "+", 2},
      {x, Expr(s, {2, Op{"*"}, Var(s, x)}), "*", 2},
      {x, Expr(s, {2, Op{"-"}, Var(s, x)}), " ", 1},    // not commutative
      {x, Expr(s, {Var(s, x), Op{"div"}, 2}), " ", 0},
      {str, Expr(s, {Var(s, str), Op{"strcat"}, S("1")}), " ", S("a1")},
      {str, Expr(s, {S("b"), Op{"+"}, Var(s, str)}), " ", S("ba")},  // strings do not commute
      {v, Expr(s, {1, Op{"+"}, Var(s, v)}), " ", 2},
  };
  for (auto& c : cases) {
    EXPECT_EQ(c.e->CompoundAssignment(*Dsgn(s, {{c.target}})), c.modificator) << c.rest;
    EXPECT_EQ(c.e->GetValue(), c.rest);
  }
}

// A host function that counts its calls and can raise.
struct Probe {
  int Calls = 0;
  void Declare(TfsScript& s) {
    s.DeclareFunction("function Probe(Fail: Boolean): Boolean",
                      [this](TObject*, TClass, const std::string&, Variant& params) -> Variant {
                        ++Calls;
                        if (VarArrayGet(params, {0}).AsBoolean()) throw Exception("probe raised");
                        return true;
                      });
  }
};

TEST_F(ExpressionTest, BooleanAndOrShortCircuit) {
  Probe probe;
  probe.Declare(s);
  TfsCustomVariable* fn = s.LookupName("Probe");
  auto call = [&](bool fail) {
    return Dsgn(s, {{fn, {ExprP(s, {fail})}}}).release();
  };
  EXPECT_EQ(Expr(s, {false, Op{"and"}, call(true)})->GetValue(), false);
  EXPECT_EQ(Expr(s, {true, Op{"or"}, call(true)})->GetValue(), true);
  EXPECT_EQ(probe.Calls, 0);
  EXPECT_EQ(Expr(s, {true, Op{"and"}, call(false)})->GetValue(), true);
  EXPECT_EQ(probe.Calls, 1);
  EXPECT_THROW(Expr(s, {false, Op{"or"}, call(true)})->GetValue(), Exception);
  // Not both Boolean: both sides run, bitwise.
  EXPECT_EQ(Expr(s, {6, Op{"and"}, 3})->GetValue(), 2);
}

TEST_F(ExpressionTest, InOverSetsAndArraysAndIsOverClasses) {
  auto* set = new TfsSetExpression;
  set->AddValue(ExprP(s, {1}));
  set->AddValue(ExprP(s, {3}));
  set->AddRange();
  set->AddValue(ExprP(s, {5}));
  auto in = Expr(s, {Var(s, AddVar(s, "k", "Integer", fvtInt, 0)), Op{"in"}, set});
  TfsCustomVariable* k = s.LookupName("k");
  for (int i = 0; i <= 6; ++i) {
    k->SetValue(i);
    EXPECT_EQ(in->GetValue(), i == 1 || (i >= 3 && i <= 5)) << i;
  }

  // A Variant array: every element counts, the last one too, and
  // element, Null, element is a range.
  TfsVariable* arr = AddVar(s, "arr", "Variant", fvtVariant, VarArrayOf({1, Null(), 3, 9}));
  auto inArray = Expr(s, {Var(s, k), Op{"in"}, Var(s, arr)});
  for (int i : {1, 2, 3, 9}) {
    k->SetValue(i);
    EXPECT_EQ(inArray->GetValue(), true) << i;
  }
  k->SetValue(4);
  EXPECT_EQ(inArray->GetValue(), false);

  s.DeclareClass(TComponent::StaticClass(), "TPersistent");
  s.DeclareClass(TStringList::StaticClass(), "TStrings");
  TComponent host(nullptr);
  TfsVariable* obj = AddVar(s, "obj", "TComponent", fvtClass, VarFromObject(&host));
  auto isComponent = Expr(s, {Var(s, obj), Op{"is"}, Var(s, s.FindClass("TComponent"))});
  auto isList = Expr(s, {Var(s, obj), Op{"is"}, Var(s, s.FindClass("TStringList"))});
  EXPECT_EQ(isComponent->GetValue(), true);
  EXPECT_EQ(isList->GetValue(), false);
  obj->SetValue(0);
  EXPECT_EQ(isComponent->GetValue(), false);  // nil is nothing
}

TEST_F(ExpressionTest, DeepTreesAreRefusedNotOverflowed) {
  auto e = std::make_unique<TfsExpression>(&s);
  e->AddOperand(1);
  for (int i = 0; i < 100000; ++i) {
    e->AddOperator("+");
    e->AddOperand(1);
  }
  EXPECT_THROW(e->Finalise(), Exception);
  e.reset();  // a hundred thousand levels freed without recursion

  auto ok = std::make_unique<TfsExpression>(&s);
  ok->AddOperand(1);
  for (int i = 0; i < 1000; ++i) {
    ok->AddOperator("+");
    ok->AddOperand(1);
  }
  EXPECT_EQ(ok->Finalise(), "");
  EXPECT_EQ(ok->GetValue(), 1001);
}

TEST_F(ExpressionTest, SingleOperandsAndWriteBack) {
  TfsVariable* x = AddVar(s, "x", "Integer", fvtInt, 4);
  auto var = Expr(s, {Var(s, x)});
  EXPECT_EQ(var->SingleOperand(), x);  // read straight, no designator walk
  var->SetValue(9);
  EXPECT_EQ(x->GetValue(), 9);
  auto constant = Expr(s, {42});
  ASSERT_NE(constant->SingleOperand(), nullptr);
  EXPECT_EQ(constant->SingleOperand()->GetValue(), 42);
  constant->SetValue(1);  // no target: ignored
  EXPECT_EQ(constant->GetValue(), 42);
  EXPECT_EQ(Expr(s, {1, Op{"+"}, 1})->SingleOperand(), nullptr);
}

}  // namespace
