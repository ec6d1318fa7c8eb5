#include "script/TfsDesignator.h"

#include <gtest/gtest.h>

#include "platform/rtl/ObjectHandles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "script/fs_xml.h"
#include "tests/script/ScriptBuild.h"

using namespace scriptbuild;

class TToy : public TComponent {
  VXN_DECLARE_CLASS(TToy)

 public:
  explicit TToy(TComponent* AOwner) : TComponent(AOwner) {}
  std::string Label;
  Integer Size = 0;
  TToy* Next = nullptr;
};
VXN_IMPLEMENT_CREATABLE_CLASS(TToy, TComponent)
VXN_PUBLISH(TToy) {
  P.Property("Label", &TToy::Label);
  P.Property("Size", &TToy::Size);
  P.Property("Next", &TToy::Next);
}

namespace {

class DesignatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeclareBasicTypes(s);
    toyClass = s.DeclareClass(TToy::StaticClass(), "TComponent");
    first.Next = &second;
    toy = AddVar(s, "Toy", "TToy", fvtClass, VarFromObject(&first));
  }
  TfsCustomVariable* Member(const char* name) { return toyClass->FindMember(name); }

  TfsScript s{nullptr};
  TfsClassVariable* toyClass = nullptr;
  TToy first{nullptr}, second{nullptr};
  TfsVariable* toy = nullptr;
};

TEST_F(DesignatorTest, MemberChainsOverHostObjects) {
  auto size = Dsgn(s, {{toy}, {Member("Next")}, {Member("Size")}});
  EXPECT_EQ(size->Kind, dkGeneral);
  EXPECT_EQ(size->TypeCode, fvtInt);
  size->SetValue(5);
  EXPECT_EQ(second.Size, 5);
  EXPECT_EQ(first.Size, 0);
  EXPECT_EQ(size->GetValue(), 5);

  // An indexed property receives its indexes as arguments.
  toyClass->DeclareIndexedProperty(
      "Cell", "Integer", "Integer",
      [](TObject* instance, TClass, const std::string& name, TfsMethodHelper* caller) -> Variant {
        auto* t = static_cast<TToy*>(instance);
        if (name == "CELL.SET") t->Size = caller->ParamValueAt(1).AsInteger() * 10 +
                                          caller->ParamValueAt(0).AsInteger();
        return t->Size + caller->ParamValueAt(0).AsInteger();
      });
  auto cell = Dsgn(s, {{toy}, {Member("Cell"), {ExprP(s, {2})}}});
  cell->SetValue(7);
  EXPECT_EQ(first.Size, 72);
  EXPECT_EQ(cell->GetValue(), 74);
}

TEST_F(DesignatorTest, StringCharactersAndArrayElements) {
  TfsVariable* text = AddVar(s, "t", "String", fvtString, std::string("abc"));
  auto* chars = new TfsStringHelper;
  s.AddItem(chars->Name, chars);
  auto second = Dsgn(s, {{text}, {chars, {ExprP(s, {2})}}});
  ASSERT_EQ(second->Kind, dkStringChar);
  ASSERT_NE(dynamic_cast<TfsStringDesignator*>(second.get()), nullptr);
  second->SetValue(std::string("X"));
  EXPECT_EQ(text->GetValue(), std::string("aXc"));
  EXPECT_EQ(second->GetValue(), std::string("X"));
  auto outside = Dsgn(s, {{text}, {chars, {ExprP(s, {4})}}});
  EXPECT_THROW(outside->GetValue(), ERangeError);
  EXPECT_THROW(outside->SetValue(std::string("Y")), ERangeError);

  // An array variable reaches its elements through its helper.
  TfsVariable* arr = AddVar(s, "a", "Integer", fvtArray, VarArrayCreate({1, 5}, varVariant));
  auto* helper = new TfsArrayHelper("", "Integer", fvtInt);
  helper->Add(new TfsParamItem("", false, false, "Integer", fvtInt));
  s.AddItem("", helper);
  arr->LinkedItem = helper;
  auto element = Dsgn(s, {{arr}, {helper, {ExprP(s, {5})}}});
  ASSERT_EQ(element->Kind, dkArrayElement);
  element->SetValue(42);
  EXPECT_EQ(VarArrayGet(arr->Value, {5}), 42);
  EXPECT_EQ(element->GetValue(), 42);
  auto beyond = Dsgn(s, {{arr}, {helper, {ExprP(s, {6})}}});
  EXPECT_THROW(beyond->GetValue(), EVariantError);
}

TEST_F(DesignatorTest, VarArgumentsComeBackAndMacrosGetText) {
  s.DeclareFunction("procedure Twice(var x: Integer; by: Integer)",
                    [](TObject*, TClass, const std::string&, Variant& p) -> Variant {
                      VarArrayPut(p, VarArrayGet(p, {0}).AsInteger() * VarArrayGet(p, {1}).AsInteger(), {0});
                      return Null();
                    });
  TfsVariable* x = AddVar(s, "x", "Integer", fvtInt, 21);
  auto call = Dsgn(s, {{s.LookupName("Twice"), {ExprP(s, {Var(s, x)}), ExprP(s, {2})}}});
  call->GetValue();
  EXPECT_EQ(x->GetValue(), 42);
  // A constant given for a var parameter has nothing to write back to.
  auto constant = Dsgn(s, {{s.LookupName("Twice"), {ExprP(s, {3}), ExprP(s, {2})}}});
  EXPECT_NO_THROW(constant->GetValue());

  s.DeclareFunction("macrofunction Text(e: Variant): String",
                    [](TObject*, TClass, const std::string&, Variant& p) -> Variant {
                      return VarArrayGet(p, {0});
                    });
  TfsExpression* arg = ExprP(s, {Var(s, x), Op{"+"}, 1});
  arg->SourceText = "x + 1";
  auto macro = Dsgn(s, {{s.LookupName("Text"), {arg}}});
  EXPECT_EQ(macro->GetValue(), std::string("x + 1"));
}

TEST_F(DesignatorTest, RecursionRestoresTheCallersLocals) {
  // function Fact(n: Integer): Integer;
  // begin if n <= 1 then Result := 1 else Result := n * Fact(n - 1) end
  auto* fact = new TfsProcVariable("Fact", true, &s, "Integer", fvtInt);
  s.AddItem("Fact", fact);
  TfsScript& local = *fact->LocalScript;
  auto* n = new TfsParamItem("n", false, false, "Integer", fvtInt);
  fact->AddParam(n);
  auto* test = new TfsIfStmt(&local, "1:1", "");
  test->Test = Expr(local, {Var(local, n), Op{"<="}, 1});
  test->Add(Assign(local, fact->LinkedItem, {1}));
  test->ElsePart->Add(Assign(
      local, fact->LinkedItem,
      {Var(local, n), Op{"*"},
       Dsgn(local, {{fact, {ExprP(local, {Var(local, n), Op{"-"}, 1})}}}).release()}));
  local.MainBlock->Add(test);

  auto call = Dsgn(s, {{fact, {ExprP(s, {10})}}});
  EXPECT_EQ(call->GetValue(), 3628800);
  EXPECT_EQ(n->GetValue(), 10);  // the outermost call's parameter, restored

  // A Result never assigned keeps the previous call's value.
  auto* keep = new TfsProcVariable("Keep", true, &s, "Integer", fvtInt);
  s.AddItem("Keep", keep);
  auto keepCall = Dsgn(s, {{keep}});
  EXPECT_TRUE(VarIsNull(keepCall->GetValue()));
  keep->LinkedItem->SetValue(7);
  EXPECT_EQ(keepCall->GetValue(), 7);
  EXPECT_EQ(keepCall->GetValue(), 7);
}

TEST_F(DesignatorTest, SetMembershipWithRanges) {
  TfsSetExpression set;
  set.AddValue(ExprP(s, {1}));
  set.AddValue(ExprP(s, {3}));
  set.AddRange();
  set.AddValue(ExprP(s, {5}));
  for (int i = 0; i <= 6; ++i) EXPECT_EQ(set.Contains(i), i == 1 || (i >= 3 && i <= 5)) << i;
  const Variant values = set.GetValue();
  EXPECT_EQ(VarArrayHighBound(values, 1), 3);
  EXPECT_TRUE(VarIsNull(VarArrayGet(values, {2})));
  TfsSetExpression empty;
  EXPECT_FALSE(empty.Contains(1));
}

TEST_F(DesignatorTest, ConstructorCallsMarkTheirObjects) {
  toyClass->DeclareConstructor(
      "constructor Create(AOwner: TComponent)",
      [](TObject* instance, TClass cls, const std::string&, TfsMethodHelper*) -> Variant {
        EXPECT_EQ(instance, nullptr);  // the class item stands for the class
        return VarFromObject(cls->OwnerFactory(nullptr));
      });
  auto create = Dsgn(s, {{toyClass}, {Member("Create"), {ExprP(s, {0})}}});
  EXPECT_EQ(create->TypeCode, fvtClass);
  EXPECT_EQ(create->TypeName, "TToy");
  TObject* made = VarToObject(create->GetValue());
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(fsIsScriptCreated(made));
  EXPECT_FALSE(fsIsScriptCreated(&first));
  fsForgetScriptCreated(made);
  EXPECT_FALSE(fsIsScriptCreated(made));
  delete made;
}

int gRebuilds = 0;

TEST_F(DesignatorTest, LateBindingResolvesOnceAtFirstUse) {
  TfsVariable* x = AddVar(s, "x", "Integer", fvtInt, 3);
  const TfsDesignatorRebuilder loader = fsSetDesignatorRebuilder([](const TfsXMLItem& source, TfsScript* script) {
    ++gRebuilds;
    EXPECT_EQ(source.Name, "dsgn");
    return Dsgn(*script, {{script->LookupName("x")}});
  });
  TfsDesignator late(&s);
  late.PendingSource = std::make_unique<TfsXMLItem>();
  late.PendingSource->Name = "dsgn";
  EXPECT_EQ(late.GetValue(), 3);
  late.SetValue(4);
  EXPECT_EQ(x->GetValue(), 4);
  EXPECT_EQ(gRebuilds, 1);
  fsSetDesignatorRebuilder(loader);
}

}  // namespace
