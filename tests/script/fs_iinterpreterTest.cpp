#include "script/fs_iinterpreter.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/ObjectHandles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

VXN_ENUM(TPetKind, pkCat, pkDog, pkBird)

class TPet : public TComponent {
  VXN_DECLARE_CLASS(TPet)

 public:
  explicit TPet(TComponent* AOwner) : TComponent(AOwner) {}
  std::string Nick;
  Integer Age = 0;
  bool Happy = false;
  double Weight = 0;
  TPetKind Kind = pkCat;
  TComponent* Friend = nullptr;
  TNotifyEvent OnBark;
};

class TPuppy : public TPet {
  VXN_DECLARE_CLASS(TPuppy)

 public:
  using TPet::TPet;
};

VXN_IMPLEMENT_CREATABLE_CLASS(TPet, TComponent)
VXN_IMPLEMENT_CREATABLE_CLASS(TPuppy, TPet)
VXN_PUBLISH(TPet) {
  P.Property("Nick", &TPet::Nick);
  P.Property("Age", &TPet::Age);
  P.Property("Happy", &TPet::Happy);
  P.Property("Weight", &TPet::Weight);
  P.Property("Kind", &TPet::Kind);
  P.Property("Friend", &TPet::Friend);
  P.Event("OnBark", &TPet::OnBark);
}
VXN_PUBLISH(TPuppy) {}

// A class whose name is longer than a short string holds.
class TPuppyWithAVeryLongClassNameIndeed : public TPuppy {
  VXN_DECLARE_CLASS(TPuppyWithAVeryLongClassNameIndeed)

 public:
  using TPuppy::TPuppy;
};
VXN_IMPLEMENT_CREATABLE_CLASS(TPuppyWithAVeryLongClassNameIndeed, TPuppy)
VXN_PUBLISH(TPuppyWithAVeryLongClassNameIndeed) {}

namespace {

// A statement of the test's own: sets an item to a value when run.
class TSetStmt : public TfsStatement {
 public:
  TSetStmt(TfsScript* script, TfsCustomVariable* target, Variant value)
      : TfsStatement(script, "1:1", ""), Target(target), Value(std::move(value)) {}
  void Execute() override {
    ++Runs;
    Target->SetValue(Value);
  }
  TfsCustomVariable* Target;
  Variant Value;
  int Runs = 0;
};

// Bridges the host's notify event to a script routine.
class TfsNotifyEvent : public TfsCustomEvent {
 public:
  using TfsCustomEvent::TfsCustomEvent;
  void DoEvent(TObject* sender) { CallHandler({VarFromObject(sender)}); }
  TMethod GetMethod() override { return TNotifyEvent(this, &TfsNotifyEvent::DoEvent).AsMethod(); }
};

void DeclareBasicTypes(TfsScript& s) {
  s.DeclareType("Integer", fvtInt);
  s.DeclareType("Boolean", fvtBool);
  s.DeclareType("Extended", fvtFloat);
  s.DeclareType("String", fvtString);
  s.DeclareType("Variant", fvtVariant);
}

TEST(TfsScriptTest, ItemTableFindsNewestAndFollowsParents) {
  TfsScript parent(nullptr);
  TfsScript child(nullptr);
  child.ParentScript = &parent;
  parent.DeclareVariable("Shared", "Integer", 1);
  parent.DeclareVariable("Shared", "Integer", 2);  // kept: the name exists
  EXPECT_EQ(parent.LookupName("SHARED")->GetValue().AsInteger(), 1);

  child.AddItem("shared", new TfsVariable("shared", "Integer", fvtInt));
  auto* newer = new TfsVariable("Shared", "Integer", fvtInt);
  child.AddItem("Shared", newer);
  EXPECT_EQ(child.LookupName("shared"), newer);  // the newest of a name wins
  EXPECT_EQ(child.LookupLocalName("Missing"), nullptr);
  parent.DeclareVariable("OnlyParent", "Integer", 7);
  EXPECT_EQ(child.LookupLocalName("OnlyParent"), nullptr);
  EXPECT_EQ(child.LookupName("onlyparent")->GetValue().AsInteger(), 7);

  child.RemoveItem(newer);
  delete newer;
  EXPECT_EQ(child.LookupLocalName("Shared")->Name, "shared");
}

TEST(TfsScriptTest, ConstantsAndEnumerations) {
  TfsScript s(nullptr);
  DeclareBasicTypes(s);
  s.DeclareConstant("Answer", "Integer", 42);
  TfsCustomVariable* answer = s.LookupName("answer");
  answer->SetValue(1);
  EXPECT_EQ(answer->GetValue().AsInteger(), 42);
  EXPECT_EQ(answer->TypeCode, fvtInt);

  s.DeclareEnumeration("TColorKind", "ckRed, ckGreen ,ckBlue");
  s.DeclareSetEnumeration("TFlags", "a,b,c");
  EXPECT_EQ(s.LookupName("TColorKind")->TypeCode, fvtEnum);
  EXPECT_EQ(s.LookupName("ckBlue")->GetValue().AsInteger(), 2);
  EXPECT_EQ(s.LookupName("ckGreen")->TypeName, "TColorKind");
  EXPECT_EQ(s.LookupName("a")->GetValue().AsInteger(), 1);
  EXPECT_EQ(s.LookupName("b")->GetValue().AsInteger(), 2);
  EXPECT_EQ(s.LookupName("c")->GetValue().AsInteger(), 4);
  EXPECT_EQ(s.TypeCodeOf("Unknown"), fvtClass);

  // A set has 32 bits: the 32nd member takes the sign bit, a 33rd is refused.
  std::string names;
  for (int i = 0; i < 33; ++i) names += (i ? ",m" : "m") + std::to_string(i);
  EXPECT_THROW(s.DeclareSetEnumeration("TTooMany", names), Exception);
  EXPECT_EQ(s.LookupName("m0"), nullptr);
  s.DeclareSetEnumeration("TWide", names.substr(0, names.rfind(',')));
  EXPECT_EQ(s.LookupName("m31")->GetValue().AsInteger(), INT32_MIN);
}

TEST(TfsScriptTest, TypeRules) {
  TfsScript s(nullptr);
  s.DeclareClass(TPet::StaticClass(), "TComponent");
  s.DeclareClass(TPuppy::StaticClass(), "TPet");
  s.DeclareClass(TPuppyWithAVeryLongClassNameIndeed::StaticClass(), "TPuppy");
  auto item = [](TfsVarType code, const char* typeName = "") {
    return std::make_unique<TfsVariable>("x", typeName, code);
  };
  struct {
    TfsVarType target;
    const char* targetType;
    TfsVarType source;
    const char* sourceType;
    bool assign;
    bool expr;
  } cases[] = {
      {fvtInt, "", fvtFloat, "", true, false},  {fvtInt, "", fvtEnum, "E", true, true},
      {fvtFloat, "", fvtInt, "", true, true},   {fvtBool, "", fvtInt, "", false, false},
      {fvtString, "", fvtChar, "", true, true}, {fvtEnum, "E1", fvtEnum, "e1", true, true},
      {fvtEnum, "E1", fvtEnum, "E2", false, false}, {fvtEnum, "E", fvtInt, "", true, true},
      {fvtClass, "TPet", fvtClass, "TPuppy", true, true},
      {fvtClass, "TPuppy", fvtClass, "TPet", false, false},
      {fvtClass, "TComponent", fvtClass, "TPet", false, false},  // TComponent not declared
      {fvtClass, "TPuppyWithAVeryLongClassNameIndeed", fvtClass,
       "TPuppyWithAVeryLongClassNameIndeed", true, true},
      {fvtClass, "TPet", fvtClass, "TPuppyWithAVeryLongClassNameIndeed", true, true},
      {fvtArray, "", fvtString, "", false, false}, {fvtVariant, "", fvtClass, "X", true, true},
      {fvtConstructor, "", fvtVariant, "", false, false},
  };
  for (const auto& c : cases) {
    auto target = item(c.target, c.targetType);
    auto source = item(c.source, c.sourceType);
    EXPECT_EQ(fsAssignCompatible(*target, *source, &s), c.assign)
        << int(c.target) << c.targetType << "<-" << int(c.source) << c.sourceType;
    EXPECT_EQ(fsExprCompatible(*target, *source, &s), c.expr)
        << int(c.target) << c.targetType << "<-" << int(c.source) << c.sourceType;
  }
  EXPECT_EQ(item(fvtClass, "TPet")->TypeDisplayName(), "Class TPet");
  EXPECT_EQ(item(fvtEnum, "TPetKind")->TypeDisplayName(), "TPetKind");
  EXPECT_EQ(item(fvtConstructor)->TypeDisplayName(), "Variant");
}

TEST(TfsScriptTest, SignaturesBecomeParameterLists) {
  TfsScript s(nullptr);
  DeclareBasicTypes(s);
  s.DeclareConstant("DefaultBand", "Integer", 3);
  TfsMethodHelper sum("function SUM(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", &s);
  EXPECT_EQ(sum.Name, "SUM");
  EXPECT_EQ(sum.TypeCode, fvtVariant);
  ASSERT_EQ(sum.Count(), 3);
  EXPECT_EQ(sum.RequiredParamCount(), 1);
  EXPECT_TRUE(sum.Params(2)->HasDefault);
  EXPECT_EQ(sum.Params(2)->TypeCode, fvtInt);

  TfsMethodHelper proc("macroprocedure Swap(var a, b: Integer; const s: String = 'x'; n: Extended = -1.5; d: Integer = DefaultBand; u: Integer = Nowhere)", &s);
  EXPECT_TRUE(proc.MacroParams);
  EXPECT_EQ(proc.Name, "Swap");
  ASSERT_EQ(proc.Count(), 6);
  EXPECT_TRUE(proc.Params(0)->ByReference);
  EXPECT_TRUE(proc.Params(1)->ByReference);
  EXPECT_FALSE(proc.Params(2)->ByReference);
  EXPECT_EQ(proc.Params(2)->DefaultValue.AsString(), "x");
  EXPECT_DOUBLE_EQ(proc.Params(3)->DefaultValue.AsDouble(), -1.5);
  EXPECT_EQ(proc.Params(4)->DefaultValue.AsInteger(), 3);
  EXPECT_FALSE(proc.Params(5)->HasDefault);  // an unknown name gives no default
}

class TTestModule : public TfsRTTIModule {
 public:
  explicit TTestModule(TfsScript* script) : TfsRTTIModule(script) {
    script->DeclareType("Integer", fvtInt);
    script->DeclareConstant("True", "Boolean", true);
    script->DeclareFunction(
        "function IntToStr(i: Integer): String",
        [](TObject*, TClass, const std::string&, Variant& params) -> Variant {
          return IntToStr(VarArrayGet(params, {0}).AsInteger());
        });
  }
};

TfsRTTIModule* MakeTestModule(TfsScript* s) { return new TTestModule(s); }

TEST(TfsScriptTest, HostModulesLoadOnceAndUnload) {
  fsRegisterHostModule(&MakeTestModule);
  {
    TfsScript s(nullptr);
    s.LoadHostModules();
    s.LoadHostModules();  // once only
    ASSERT_NE(s.LookupName("IntToStr"), nullptr);
    EXPECT_EQ(s.LookupName("IntToStr")->DeclaredBy, fsDeclaredByModules);
    auto* f = static_cast<TfsMethodHelper*>(s.LookupName("inttostr"));
    f->Params(0)->SetValue(12);
    EXPECT_EQ(f->GetValue().AsString(), "12");

    int owner = 0;
    s.DeclaredBy = fsDeclarerOf(&owner);
    s.DeclareVariable("Report", "Integer", 1);
    s.DeclaredBy = fsDeclaredByScript;
    s.DeclareVariable("Local", "Integer", 1);
    s.ClearProgram();  // drops what the script declared, keeps modules
    EXPECT_EQ(s.LookupName("Local"), nullptr);
    EXPECT_NE(s.LookupName("True"), nullptr);
    s.DeclaredBy = fsDeclarerOf(&owner);
    s.DeclareVariable("Report", "Integer", 1);
    s.DeclaredBy = fsDeclaredByScript;
    s.RemoveItemsOfOwner(fsDeclarerOf(&owner));
    EXPECT_EQ(s.LookupName("Report"), nullptr);

    s.UnloadHostModules();
    EXPECT_EQ(s.LookupName("IntToStr"), nullptr);
    EXPECT_EQ(s.LookupName("True"), nullptr);
    EXPECT_FALSE(s.ModulesLoaded);
  }
  fsUnregisterHostModule(&MakeTestModule);
}

TEST(TfsScriptTest, RoutinesRunTheirBodyAndKeepResult) {
  TfsScript s(nullptr);
  DeclareBasicTypes(s);
  auto* f = new TfsProcVariable("F", true, &s, "Integer", fvtInt);
  s.AddItem("F", f);
  EXPECT_TRUE(VarIsNull(s.CallRoutine("F", Null())));  // Result never assigned: Null
  auto* stmt = new TSetStmt(f->LocalScript, f->LinkedItem, 9);
  f->LocalScript->MainBlock->Add(stmt);
  EXPECT_EQ(s.CallRoutine("F", Null()).AsInteger(), 9);
  f->LocalScript->MainBlock->Remove(stmt);
  delete stmt;
  EXPECT_EQ(s.CallRoutine("F", Null()).AsInteger(), 9);  // keeps the previous Result

  auto* p = new TfsProcVariable("SetFive", false, &s, "", fvtClass);
  s.AddItem("SetFive", p);
  auto* param = new TfsParamItem("x", true, false, "Integer", fvtInt);
  p->AddParam(param);
  p->LocalScript->MainBlock->Add(new TSetStmt(p->LocalScript, p->LocalScript->LookupName("x"), 5));
  Variant args = VarArrayOf({Variant(1)});
  EXPECT_TRUE(VarIsNull(s.CallRoutineByRef("SetFive", args)));
  EXPECT_EQ(VarArrayGet(args, {0}).AsInteger(), 5);

  Variant tooMany = VarArrayOf({Variant(1), Variant(2)});
  EXPECT_THROW(s.CallRoutine("SetFive", tooMany), EListError);

  TfsScript child(nullptr);
  child.ParentScript = &s;
  EXPECT_TRUE(VarIsNull(child.CallRoutine("F", Null())));  // not in its own table
}

TEST(TfsScriptTest, StatementListsHonourTheFlags) {
  TfsScript s(nullptr);
  auto* v = new TfsVariable("v", "Integer", fvtInt);
  s.AddItem("v", v);
  auto* first = new TSetStmt(&s, v, 1);
  auto* second = new TSetStmt(&s, v, 2);
  s.MainBlock->Add(first);
  s.MainBlock->Add(second);
  s.RunMainBlock();
  EXPECT_EQ(v->GetValue().AsInteger(), 2);
  EXPECT_TRUE(s.IsMainProgram);
  EXPECT_FALSE(s.IsRunning);

  s.StopRequested = true;  // RunMainBlock clears a stale stop
  s.RunMainBlock();
  EXPECT_EQ(second->Runs, 2);

  std::vector<std::string> lines;
  struct Listener {
    std::vector<std::string>* Lines;
    void Run(TfsScript*, const std::string& unit, const std::string& pos) {
      Lines->push_back(unit + "@" + pos);
    }
  } listener{&lines};
  TfsScript child(nullptr);
  child.ParentScript = &s;
  s.OnRunLine = TfsRunLineEvent(&listener, &Listener::Run);
  TfsStatement stmt(&child, "3:4", "Unit1");
  stmt.RunLine();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "Unit1@3:4");

  s.RecordCodeLine("", "3:1");
  s.RecordCodeLine("", "5:2");
  s.RecordCodeLine("", "3:9");
  s.RecordCodeLine("U", "1:1");
  EXPECT_EQ(s.CodeLines.Strings(0), "=3,5");
  EXPECT_EQ(s.CodeLines.Strings(1), "U=1");
}

class HostBindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeclareBasicTypes(script);
    pets = script.DeclareClass(TPet::StaticClass(), "TComponent");
    puppies = script.DeclareClass(TPuppy::StaticClass(), "TPet");
    pet = new TPet(&owner);
  }
  TfsCustomHelper* Member(TfsClassVariable* cls, const char* name, TObject* instance) {
    TfsCustomHelper* m = cls->FindMember(name);
    EXPECT_NE(m, nullptr) << name;
    m->InstanceValue = VarFromObject(instance);
    m->OwnerScript = &script;
    return m;
  }
  TComponent owner{nullptr};
  TfsScript script{nullptr};
  TfsClassVariable* pets = nullptr;
  TfsClassVariable* puppies = nullptr;
  TPet* pet = nullptr;
};

TEST_F(HostBindingTest, PublishedPropertiesReadAndWrite) {
  EXPECT_EQ(script.DeclareClass(TPet::StaticClass(), "TComponent"), nullptr);  // declared once
  Member(pets, "nick", pet)->SetValue("Rex");
  Member(pets, "Age", pet)->SetValue(4);
  Member(pets, "Weight", pet)->SetValue(2.5);
  Member(pets, "Kind", pet)->SetValue(static_cast<int>(pkBird));
  EXPECT_EQ(pet->Nick, "Rex");
  EXPECT_EQ(pet->Age, 4);
  EXPECT_DOUBLE_EQ(pet->Weight, 2.5);
  EXPECT_EQ(pet->Kind, pkBird);
  EXPECT_EQ(Member(pets, "Kind", pet)->TypeCode, fvtEnum);
  EXPECT_EQ(Member(pets, "Kind", pet)->TypeName, "TPetKind");

  TfsCustomHelper* happy = Member(pets, "Happy", pet);
  EXPECT_EQ(happy->TypeCode, fvtBool);
  EXPECT_EQ(VarType(happy->GetValue()), varBoolean);
  happy->SetValue(true);
  EXPECT_TRUE(pet->Happy);
  EXPECT_TRUE(happy->GetValue().AsBoolean());

  auto* buddy = new TPet(&owner);
  Member(pets, "Friend", pet)->SetValue(VarFromObject(buddy));
  EXPECT_EQ(pet->Friend, buddy);
  EXPECT_EQ(VarToObject(Member(pets, "Friend", pet)->GetValue()), buddy);
  // A dotted path (pet.Friend.Nick): each step's value is the next step's instance.
  buddy->Nick = "Max";
  TfsCustomHelper* friendNick = pets->FindMember("Nick");
  friendNick->InstanceValue = Member(pets, "Friend", pet)->GetValue();
  EXPECT_EQ(friendNick->GetValue().AsString(), "Max");
  friendNick->SetValue("Maxi");
  EXPECT_EQ(buddy->Nick, "Maxi");

  // Members of an ancestor are found through the derived class.
  auto* puppy = new TPuppy(&owner);
  Member(puppies, "Nick", puppy)->SetValue("Bit");
  EXPECT_EQ(puppy->Nick, "Bit");
  EXPECT_EQ(puppies->FindMember("OnBark"), nullptr);  // events are not properties

  TfsCustomHelper* nick = Member(pets, "Nick", nullptr);
  EXPECT_TRUE(VarIsNull(nick->GetValue()));
  EXPECT_THROW(nick->SetValue("x"), Exception);
}

TEST_F(HostBindingTest, ForgedAndStaleHandlesAreRefused) {
  TfsCustomHelper* age = Member(pets, "Age", pet);
  age->InstanceValue = 987654;  // never handed out
  EXPECT_THROW(age->GetValue(), EInvalidPointer);
  auto* gone = new TPet(&owner);
  const Variant stale = VarFromObject(gone);
  delete gone;
  age->InstanceValue = stale;
  EXPECT_THROW(age->SetValue(1), EInvalidPointer);
}

TEST_F(HostBindingTest, MethodsPropertiesAndConstructors) {
  std::vector<std::string> calls;
  pets->DeclareMethod("procedure Feed(var Amount: Integer; Food: String)",
                      [&](TObject* inst, TClass cls, const std::string& name, Variant& params) {
                        calls.push_back(name + ":" + (inst ? inst->ClassName() : "nil") + ":" +
                                        cls->Name);
                        VarArrayPut(params, VarArrayGet(params, {0}).AsInteger() * 2, {0});
                        return Variant();
                      });
  TfsCustomHelper* feed = Member(pets, "feed", pet);
  feed->Params(0)->SetValue(3);
  feed->Params(1)->SetValue("fish");
  feed->GetValue();
  EXPECT_EQ(feed->Params(0)->GetValue().AsInteger(), 6);  // var argument came back
  EXPECT_EQ(calls.back(), "FEED:TPet:TPet");

  pets->DeclareDefaultIndexedProperty(
      "Items", "Integer", "String",
      [&](TObject*, TClass, const std::string& name, TfsMethodHelper* caller) -> Variant {
        std::string text = name + "[" + VarToStr(caller->ParamValueAt(0)) + "]";
        if (name.ends_with(".SET")) text += "=" + VarToStr(caller->ParamValueAt(1));
        calls.push_back(text);
        return Variant("item");
      });
  auto* items = static_cast<TfsMethodHelper*>(Member(pets, "Items", pet));
  EXPECT_EQ(pets->DefaultProperty, items);
  EXPECT_EQ(puppies->DefaultProperty, nullptr);  // copied at declaration, before it existed
  items->Params(0)->SetValue(2);
  EXPECT_EQ(items->GetValue().AsString(), "item");
  EXPECT_EQ(calls.back(), "ITEMS.GET[2]");
  items->SetValue("V");
  EXPECT_EQ(calls.back(), "ITEMS.SET[2]=V");
  EXPECT_TRUE(VarIsNull(items->AssignedValue));

  pets->DeclareProperty("Legs", "Integer",
                        [](TObject*, TClass, const std::string& name) { return Variant(name == "LEGS" ? 4 : 0); });
  TfsCustomHelper* legs = Member(pets, "Legs", pet);
  EXPECT_TRUE(legs->ReadOnly);
  EXPECT_EQ(legs->GetValue().AsInteger(), 4);

  // TPuppy.Create: the class item stands for the class; the constructor makes the object.
  pets->DeclareConstructor("constructor Create(AOwner: TComponent)",
                           [&](TObject* inst, TClass cls, const std::string&, TfsMethodHelper* caller) {
                             EXPECT_EQ(inst, nullptr);
                             auto* owner = VarToObject<TComponent>(caller->ParamValueAt(0));
                             return VarFromObject(CreateInstance(cls, owner));
                           });
  TfsCustomHelper* create = puppies->FindMember("Create");
  EXPECT_EQ(create->TypeCode, fvtClass);  // "Constructor" is no declared type here
  create->InstanceValue = puppies->GetValue();
  create->Params(0)->SetValue(VarFromObject(&owner));
  TObject* made = VarToObject(create->GetValue());
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->ClassType(), TPuppy::StaticClass());
  EXPECT_EQ(static_cast<TComponent*>(made)->Owner(), &owner);

  // A type cast gives the value back unchanged.
  puppies->Params(0)->SetValue(VarFromObject(pet));
  EXPECT_EQ(VarToObject(puppies->GetValue()), pet);
  EXPECT_EQ(VarToObject(puppies->GetValue()), puppies);  // the cast argument was reset
}

TEST_F(HostBindingTest, EventsBindScriptRoutines) {
  pets->DeclareEvent("OnBark", &fsEventFactory<TfsNotifyEvent>);
  auto* handler = new TfsProcVariable("Barked", false, &script, "", fvtClass);
  script.AddItem("Barked", handler);
  handler->AddParam(new TfsParamItem("Sender", false, false, "TObject", fvtClass));
  auto* got = new TfsVariable("Got", "Variant", fvtVariant);
  script.AddItem("Got", got);
  handler->LocalScript->MainBlock->Add(new TSetStmt(handler->LocalScript, got, "barked"));

  TfsCustomHelper* onBark = Member(pets, "OnBark", pet);
  EXPECT_EQ(onBark->GetValue().AsString(), "");
  onBark->SetValue("barked");
  ASSERT_TRUE(pet->OnBark.Assigned());
  pet->OnBark(pet);
  EXPECT_EQ(got->GetValue().AsString(), "barked");
  EXPECT_EQ(VarToObject(handler->Params(0)->GetValue()), pet);

  onBark->SetValue("0");
  EXPECT_FALSE(pet->OnBark.Assigned());
  EXPECT_THROW(onBark->SetValue("Got"), Exception);

  onBark->SetValue("Barked");
  script.ClearProgram();  // frees the routine and its event object
  EXPECT_FALSE(pet->OnBark.Assigned());  // never left pointing at a freed bridge
}

TEST_F(HostBindingTest, ArrayAndStringHelpers) {
  auto* arr = new TfsVariable("A", "Array", fvtArray);
  script.AddItem("A", arr);
  arr->Value = VarArrayCreate({0, 2, 1, 2}, varVariant);
  TfsArrayHelper element("__ArrayHelper", "", fvtVariant);
  element.Add(new TfsParamItem("", false, false, "Integer", fvtInt));
  element.Add(new TfsParamItem("", false, true, "Integer", fvtInt));
  element.Add(new TfsParamItem("", false, true, "Integer", fvtInt));
  element.ParentItem = arr;
  element.Params(0)->SetValue(1);
  element.Params(1)->SetValue(2);
  element.SetValue("x");
  EXPECT_EQ(VarArrayGet(arr->Value, {1, 2}).AsString(), "x");
  EXPECT_EQ(element.GetValue().AsString(), "x");

  auto* str = new TfsStringVariable("S", "String", fvtString);
  script.AddItem("S", str);
  str->SetValue("cat");
  TfsStringHelper ch;
  ch.ParentItem = str;
  ch.InstanceValue = str->GetValue();
  ch.Params(0)->SetValue(1);
  EXPECT_EQ(ch.GetValue().AsString(), "c");
  ch.SetValue("b");
  EXPECT_EQ(str->GetValue().AsString(), "bat");
  ch.Params(0)->SetValue(4);
  EXPECT_THROW(ch.GetValue(), ERangeError);
}

}  // namespace
