#include "platform/rtl/TypInfo.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/platform/rtl/ComponentFixtures.h"
#include "platform/rtl/NamedInts.h"
#include "platform/rtl/ObjectHandles.h"

using namespace fixtures;

namespace {

class TypInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterFixtureClasses(); }
};

std::vector<std::string> Names(TClass cls) {
  std::vector<std::string> names;
  for (const TPropInfo* p : GetPropList(cls)) names.push_back(p->Name);
  return names;
}

}  // namespace

TEST_F(TypInfoTest, ClassesAreFoundByNameCaseInsensitively) {
  EXPECT_EQ(FindClass("ttestbutton"), TTestButton::StaticClass());
  EXPECT_EQ(GetClass("TTESTFORM"), TTestForm::StaticClass());
  EXPECT_EQ(GetClass("TNoSuchThing"), nullptr);
  try {
    FindClass("TFoo");
    FAIL() << "no exception";
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message, "Class TFoo not found");
  }

  RegisterClass(TTestButton::StaticClass());  // again: nothing happens
  UnRegisterClass(TTestButton::StaticClass());
  EXPECT_EQ(GetClass("TTestButton"), nullptr);
  RegisterClass(TTestButton::StaticClass());
  EXPECT_EQ(GetClass("TTestButton"), TTestButton::StaticClass());
}

TEST_F(TypInfoTest, ASecondClassUnderATakenNameIsRefused) {
  struct Info {
    static TClass Impostor() {
      static const TClassInfo info{"TTestButton", TComponent::StaticClass()};
      return &info;
    }
  };
  EXPECT_THROW(RegisterClass(Info::Impostor()), EFilerError);
  EXPECT_EQ(GetClass("TTestButton"), TTestButton::StaticClass());
}

TEST_F(TypInfoTest, VirtualConstructorTakesTheOwner) {
  TTestForm form(nullptr);
  TObject* made = CreateInstance(FindClass("TTestButton"), &form);
  auto* button = dynamic_cast<TTestButton*>(made);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Owner(), &form);
  EXPECT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(button->Width, 75);
  // A collection item's owner is its collection; anything else gives no item.
  EXPECT_THROW(CreateInstance(TTestItem::StaticClass(), &form), EPropertyError);
  // A class without factory cannot be created by reference.
  EXPECT_THROW(CreateInstance(TTestItems::StaticClass(), nullptr), EClassNotFound);
}

TEST_F(TypInfoTest, PropertiesComeInDeclarationOrderAfterTheAncestors) {
  std::vector<std::string> control = Names(TTestControl::StaticClass());
  ASSERT_GE(control.size(), 4u);
  EXPECT_EQ(control[0], "Name");
  EXPECT_EQ(control[1], "Tag");
  EXPECT_EQ(control[2], "Left");
  EXPECT_EQ(control.back(), "OnChange");

  std::vector<std::string> button = Names(TTestButton::StaticClass());
  std::vector<std::string> expected = control;
  expected.push_back("Default");
  EXPECT_EQ(button, expected);  // the redeclared Width keeps its place

  EXPECT_EQ(GetPropInfo(TTestButton::StaticClass(), "width")->Default, 75);
  EXPECT_EQ(GetPropInfo(TTestControl::StaticClass(), "Width")->Default, NoDefault);
  EXPECT_EQ(GetPropInfo(TTestButton::StaticClass(), "Nope"), nullptr);
}

TEST_F(TypInfoTest, KindsFollowTheDeclaredTypes) {
  struct Row {
    const char* prop;
    TTypeKind kind;
    const char* typeName;
  };
  const Row rows[] = {
      {"Left", TTypeKind::tkInteger, "Integer"},
      {"Color", TTypeKind::tkInteger, "TColor"},
      {"Cursor", TTypeKind::tkInteger, "TCursor"},
      {"Enabled", TTypeKind::tkEnumeration, "Boolean"},
      {"Align", TTypeKind::tkEnumeration, "TTestAlign"},
      {"Anchors", TTypeKind::tkSet, "set of TTestAnchorKind"},
      {"Ratio", TTypeKind::tkFloat, "Double"},
      {"Stamp", TTypeKind::tkFloat, "TDateTime"},
      {"Price", TTypeKind::tkFloat, "Currency"},
      {"Big", TTypeKind::tkInt64, "Int64"},
      {"Caption", TTypeKind::tkLString, "string"},
      {"Wide", TTypeKind::tkWString, "WideString"},
      {"Data", TTypeKind::tkVariant, "Variant"},
      {"Accel", TTypeKind::tkChar, "Char"},
      {"Font", TTypeKind::tkClass, "TTestFont"},
      {"Lines", TTypeKind::tkClass, "TStringList"},
      {"Buddy", TTypeKind::tkClass, "TComponent"},
      {"OnClick", TTypeKind::tkMethod, "method"},
  };
  for (const Row& r : rows) {
    const TPropInfo* p = GetPropInfo(TTestControl::StaticClass(), r.prop);
    ASSERT_NE(p, nullptr) << r.prop;
    EXPECT_EQ(p->Kind(), r.kind) << r.prop;
    EXPECT_EQ(p->PropType->Name, r.typeName) << r.prop;
  }
  EXPECT_FALSE(GetPropInfo(TTestControl::StaticClass(), "Font")->Writable());
}

TEST_F(TypInfoTest, ValuesByNameAndDottedPath) {
  TTestControl c(nullptr);
  struct Row {
    const char* path;
    Variant value;
    const char* readBack;  // VarToStr of GetPropValue
  };
  const Row rows[] = {
      {"Left", Variant(12), "12"},
      {"Caption", Variant("Hello"), "Hello"},
      {"Color", Variant("clRed"), "255"},
      {"Color", Variant(0x00FF00), "65280"},
      {"Cursor", Variant("crHandPoint"), "-21"},
      {"Enabled", Variant(false), "False"},
      {"Align", Variant("alClient"), "alClient"},
      {"Align", Variant("2"), "alBottom"},
      {"Align", Variant(3), "alLeft"},
      {"Anchors", Variant("[akRight, akTop]"), "akTop,akRight"},
      {"Ratio", Variant(2.5), "2.5"},
      {"Big", Variant(static_cast<long long>(1) << 40), "1099511627776"},
      {"Accel", Variant("&"), "38"},
      {"Wide", Variant(u"\u4E2D\u6587"), "\u4E2D\u6587"},
      {"Data", Variant(7), "7"},
      {"Font.Name", Variant("Arial"), "Arial"},
      {"font.size", Variant(10), "10"},
      {"Font.Style", Variant("[fsBold,fsItalic]"), "fsBold,fsItalic"},
  };
  for (const Row& r : rows) {
    SetPropValue(&c, r.path, r.value);
    EXPECT_EQ(VarToStr(GetPropValue(&c, r.path)), r.readBack) << r.path;
  }
  EXPECT_EQ(c.GetFont()->Name, "Arial");
  EXPECT_EQ(c.Align, alLeft);
  EXPECT_EQ(GetPropValue(&c, "Align", false).AsInteger(), 3);
}

TEST_F(TypInfoTest, BadValuesAndNamesAreRefused) {
  TTestControl c(nullptr);
  TTestForm other(nullptr);
  struct Row {
    const char* path;
    Variant value;
  };
  const Row convertErrors[] = {
      {"Align", Variant("alNowhere")},
      {"Align", Variant("6")},  // one past the last value
      {"Align", Variant(-1)},
      {"Anchors", Variant("[akLeft,akCentre]")},
      {"Anchors", Variant("[akLeft,,akTop]")},
      {"Accel", Variant("ab")},
  };
  for (const Row& r : convertErrors)
    EXPECT_THROW(SetPropValue(&c, r.path, r.value), EPropertyConvertError) << r.path;
  EXPECT_EQ(c.Align, alNone);

  const char* unknown[] = {"Bar", "Font.Bar", "Left.Foo", "Buddy.Name"};
  for (const char* path : unknown) {
    try {
      GetPropValue(&c, path);
      ADD_FAILURE() << path;
    } catch (const EPropertyError& e) {
      EXPECT_NE(e.Message.find("does not exist"), std::string::npos) << e.Message;
    }
  }
  EXPECT_THROW(SetPropValue(&c, "Color", Variant("clNoSuchColour")), EVariantError);
  // Objects travel as handles; a handle of the wrong class is refused.
  SetPropValue(&c, "Buddy", VarFromObject(&other));
  EXPECT_EQ(c.GetBuddy(), &other);
  EXPECT_EQ(GetPropValue(&c, "Buddy").AsInteger(), ObjectToHandle(&other));
  EXPECT_THROW(SetPropValue(&c, "Buddy", VarFromObject(c.GetFont())), EInvalidCast);
  SetPropValue(&c, "Buddy", Variant(0));
  EXPECT_EQ(c.GetBuddy(), nullptr);
}

// The typed accessors refuse a property of another kind by its type's name,
// and one of the right kind without a setter as read-only.
TEST_F(TypInfoTest, TypedAccessorsCheckKindAndSetter) {
  TTestControl c(nullptr);
  const TPropInfo& left = FindPropInfo(&c, "Left");
  const TPropInfo& caption = FindPropInfo(&c, "Caption");
  const TPropInfo& font = FindPropInfo(&c, "Font");
  struct Row {
    const char* what;
    std::function<void()> call;
    const char* message;
  };
  const Row rows[] = {
      {"GetOrdProp on a string", [&] { GetOrdProp(&c, caption); }, "Invalid property type: "},
      {"GetFloatProp on a string", [&] { GetFloatProp(&c, caption); }, "Invalid property type: "},
      {"SetFloatProp on an integer", [&] { SetFloatProp(&c, left, 1.5); }, "Invalid property type: "},
      {"GetObjectProp on an integer", [&] { GetObjectProp(&c, left); }, "Invalid property type: "},
      {"SetObjectProp on an integer", [&] { SetObjectProp(&c, left, nullptr); }, "Invalid property type: "},
      {"SetObjectProp without a setter", [&] { SetObjectProp(&c, font, nullptr); }, "Property is read-only"},
      {"GetMethodProp on an integer", [&] { GetMethodProp(&c, left); }, "Invalid property type: "},
      {"SetMethodProp on an integer", [&] { SetMethodProp(&c, left, TMethod()); }, "Invalid property type: "},
      {"GetVariantProp on an integer", [&] { GetVariantProp(&c, left); }, "Invalid property type: "},
      {"SetVariantProp on an integer", [&] { SetVariantProp(&c, left, Variant(1)); }, "Invalid property type: "},
  };
  for (const Row& row : rows) {
    try {
      row.call();
      ADD_FAILURE() << row.what;
    } catch (const EPropertyError& e) {
      EXPECT_EQ(e.Message.rfind(row.message, 0), 0u) << row.what << ": " << e.Message;
    }
  }
  EXPECT_EQ(GetObjectProp(&c, font), c.GetFont());
  SetFloatProp(&c, FindPropInfo(&c, "Ratio"), 2.5);
  EXPECT_EQ(GetFloatProp(&c, FindPropInfo(&c, "Ratio")), 2.5);
  SetVariantProp(&c, FindPropInfo(&c, "Data"), Variant("x"));
  EXPECT_EQ(GetVariantProp(&c, FindPropInfo(&c, "Data")).AsString(), "x");
}

TEST(EnumTypeTest, NamesAndValues) {
  const TTypeInfo* t = VxnTypeInfoOf(static_cast<TTestAlign*>(nullptr));
  EXPECT_EQ(t->EnumNames.size(), 6u);
  struct Row {
    const char* text;
    int64_t value;
  };
  const Row rows[] = {{"alNone", 0}, {"ALCLIENT", 5}, {" alTop ", 1}, {"5", 5},
                      {"6", -1},     {"-1", -1},      {"alMiddle", -1}, {"", -1}};
  for (const Row& r : rows) EXPECT_EQ(GetEnumValue(t, r.text), r.value) << r.text;
  EXPECT_EQ(GetEnumName(t, 4), "alRight");
  EXPECT_EQ(GetEnumName(TypeInfoBoolean(), 1), "True");
  EXPECT_EQ(GetEnumValue(TypeInfoBoolean(), "false"), 0);
}

TEST(SetTypeTest, TextBothWays) {
  const TTypeInfo* t = vxn_typinfo_detail::Traits<TTestFontStyles>::Type();
  TTestFontStyles bold_under{fsBold, fsUnderline};
  EXPECT_EQ(SetToString(t, static_cast<int64_t>(bold_under.Bits()), true), "[fsBold,fsUnderline]");
  EXPECT_EQ(SetToString(t, 0, true), "[]");
  EXPECT_EQ(StringToSet(t, "[ fsUnderline , fsBold ]"), static_cast<int64_t>(bold_under.Bits()));
  EXPECT_EQ(StringToSet(t, "fsStrikeOut"), 8);
  EXPECT_EQ(StringToSet(t, "[]"), 0);
  EXPECT_THROW(StringToSet(t, "[fsBold"), EPropertyConvertError);
  EXPECT_THROW(StringToSet(t, "[fsHeavy]"), EPropertyConvertError);
}

TEST(NamedIntsTest, ColourIdentifiersAndNumbers) {
  struct Row {
    TColor color;
    const char* text;
  };
  const Row rows[] = {
      {clRed, "clRed"},
      {clBtnFace, "clBtnFace"},
      {static_cast<TColor>(0xFF00000F), "clBtnFace"},
      {clNone, "clNone"},
      {0x1FFFFFFF, "clNone"},
      {clDefault, "clDefault"},
      {0x20000000, "clDefault"},
      {clSilver, "clSilver"},  // clLtGray is the same value and writes as clSilver
      {0x123456, "$00123456"},
      {static_cast<TColor>(0xFF0000FF), "$FF0000FF"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ColorToString(r.color), r.text);
    EXPECT_EQ(StringToColor(r.text), r.color) << r.text;
  }
  EXPECT_EQ(StringToColor("clbtnface"), clBtnFace);
  EXPECT_EQ(StringToColor("255"), clRed);
  EXPECT_THROW(StringToColor("clRedish"), EConvertError);

  std::string ident;
  EXPECT_TRUE(CursorToIdent(crDrag, ident));
  EXPECT_EQ(ident, "crDrag");
  Integer value = 0;
  EXPECT_TRUE(IdentToCharset("GB2312_CHARSET", value));
  EXPECT_EQ(value, 134);
  EXPECT_TRUE(IntToIdent(mrYes, ident, TypeInfoModalResult()->Idents));
  EXPECT_EQ(ident, "mrYes");
}

TEST_F(TypInfoTest, StoredRuleAndDefaults) {
  TTestButton b(nullptr);
  auto stored = [&](const char* name) { return IsStoredProp(&b, *GetPropInfo(&b, name)); };
  auto isDefault = [&](const char* name) { return IsDefaultPropValue(&b, *GetPropInfo(&b, name)); };
  EXPECT_TRUE(stored("Color"));
  b.Color = clFuchsia;
  EXPECT_FALSE(stored("Color"));
  EXPECT_FALSE(stored("Name"));

  TTestForm form(nullptr);
  struct Row {
    const char* prop;
    bool atStart;  // default at start; the change flips it (except for Left)
    std::function<void()> change;
  };
  const Row rows[] = {
      {"Tag", true, [&] { b.Tag = 1; }},
      {"Width", true, [&] { b.Width = 0; }},
      {"Enabled", true, [&] { b.Enabled = false; }},
      {"Anchors", true, [&] { b.Anchors = {akLeft}; }},
      {"Caption", true, [&] { b.Caption = "x"; }},
      {"Ratio", true, [&] { b.Ratio = 0.5; }},
      {"Big", true, [&] { b.Big = 1; }},
      {"Data", true, [&] { b.Data = Variant(1); }},
      {"Buddy", true, [&] { b.SetBuddy(&form); }},
      {"OnClick", true, [&] { b.OnClick = TNotifyEvent(&form, &TTestForm::btnOkClick); }},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(isDefault(r.prop), r.atStart) << r.prop;
    r.change();
    EXPECT_EQ(isDefault(r.prop), !r.atStart) << r.prop;
  }
  EXPECT_FALSE(isDefault("Left"));  // no default: always written
  b.SetBuddy(nullptr);
}

TEST(DelegateTest, NullableComparableAndCallable) {
  TTestForm a(nullptr), b(nullptr);
  TNotifyEvent none;
  EXPECT_FALSE(none);
  none(&a);  // calling an unassigned event does nothing
  TNotifyEvent click(&a, &TTestForm::btnOkClick);
  EXPECT_TRUE(click == TNotifyEvent(&a, &TTestForm::btnOkClick));
  EXPECT_FALSE(click == TNotifyEvent(&b, &TTestForm::btnOkClick));
  EXPECT_FALSE(click == none);
  EXPECT_TRUE(none == nullptr);
  a.SetName("Form");
  click(&a);
  EXPECT_EQ(a.Calls, std::vector<std::string>{"btnOkClick:Form"});

  TDelegate<int(int)> twice = +[](int x) { return 2 * x; };
  EXPECT_EQ(twice(21), 42);
  EXPECT_EQ(TDelegate<int(int)>()(5), 0);
  // The erased form keeps the signature.
  EXPECT_TRUE(TNotifyEvent::FitsMethod(click.AsMethod()));
  EXPECT_FALSE(TNotifyEvent::FitsMethod(twice.AsMethod()));
  EXPECT_FALSE(TNotifyEvent::FromMethod(twice.AsMethod()));
}

TEST_F(TypInfoTest, EventsBoundByHandlerName) {
  TTestForm form(nullptr);
  TTestButton* ok = new TTestButton(&form);
  ok->SetName("btnOk");

  BindEvent(ok, "OnClick", &form, "btnOkClick");
  ok->OnClick(ok);
  BindEvent(ok, "onchange", &form, "editchange");
  ok->OnChange(ok, 3);
  EXPECT_EQ(form.Calls, (std::vector<std::string>{"btnOkClick:btnOk", "EditChange:3"}));
  EXPECT_EQ(MethodName(&form, ok->OnClick.AsMethod()), "btnOkClick");
  EXPECT_EQ(MethodName(ok, ok->OnClick.AsMethod()), "");  // not a handler of the button's class

  EXPECT_THROW(BindEvent(ok, "OnClick", &form, "EditChange"), EPropertyError);  // signature
  EXPECT_THROW(BindEvent(ok, "OnClick", &form, "NoSuchHandler"), EMethodNotFound);
  EXPECT_THROW(BindEvent(ok, "Caption", &form, "btnOkClick"), EPropertyError);
  EXPECT_TRUE(ok->OnClick);  // failed binds leave the event alone
  BindEvent(ok, "OnClick", &form, "nil");
  EXPECT_FALSE(ok->OnClick);
  BindEvent(ok, "OnChange", &form, "");
  EXPECT_FALSE(ok->OnChange);

  const TPropInfo& onClick = FindPropInfo(ok, "OnClick");
  EXPECT_THROW(SetMethodProp(ok, onClick, MethodAddress(&form, "EditChange")), EPropertyError);
  SetMethodProp(ok, onClick, MethodAddress(&form, "btnOkClick"));
  EXPECT_TRUE(ok->OnClick == TNotifyEvent(&form, &TTestForm::btnOkClick));
}
