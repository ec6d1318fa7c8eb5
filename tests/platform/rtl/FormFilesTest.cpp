#include "platform/rtl/FormFiles.h"

#include <gtest/gtest.h>

#include "tests/platform/rtl/ComponentFixtures.h"
#include "platform/rtl/Resources.h"

using namespace fixtures;

namespace {

class FormFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterFixtureClasses();
    LoadedLog().clear();
  }
};

// A form with every kind of value: nested children, a collection, a string
// list, binary data, events, a reference within the form and one into a data
// module.
const char* const kMainForm = R"(object fMain: TTestForm
  Left = -12
  Top = $10
  Caption = 'It''s '#13#10 +
    '2nd line: '#20013#25991
  Color = clBtnFace
  Cursor = crHandPoint
  ModalResult = mrCancel
  Ratio = 0.25
  Stamp = 45000.75d
  Price = 12.3456c
  Big = 1099511627776
  Data = 1.5s
  Font.Name = 'Arial'
  Font.Style = [fsBold, fsUnderline]
  Font.Color = clRed
  Font.Charset = GB2312_CHARSET
  object pnlTop: TTestControl
    Align = alTop
    Anchors = []
    Lines.Strings = (
      'first'
      ''
      'third')
    Columns = <
      item
        Caption = 'Freq'
        Width = 80
      end
      item
        Kind = alRight
      end>
    object btnOk: TTestButton
      Caption = 'OK'
      Width = 75
      Enabled = False
      Buddy = edtName
      Glyph.Data = {
        0001FF}
      OnClick = btnOkClick
    end
    object edtName: TTestControl
      Wide = 'x'#9'y'
      Buddy = dmData.tblChannels
      OnChange = EditChange
    end
  end
  object tmrClock: TTestNonVisual
    Target = btnOk
  end
end
)";

class TDataForTest : public TTestDataModule {
 public:
  using TTestDataModule::TTestDataModule;
};

TTestDataModule* MakeDataModule() {
  auto* dm = new TTestDataModule(nullptr);
  dm->SetName("dmData");
  (new TTestNonVisual(dm))->SetName("tblChannels");
  AddGlobalRoot(dm);
  return dm;
}

}  // namespace

TEST_F(FormFileTest, ReadSetsEveryKindOfValue) {
  std::unique_ptr<TTestDataModule> dm(MakeDataModule());
  TTestForm form(nullptr);
  ReadComponentText(kMainForm, &form, "Main.form");

  EXPECT_EQ(form.Name(), "fMain");
  EXPECT_EQ(form.Left, -12);
  EXPECT_EQ(form.Top, 16);
  EXPECT_EQ(form.Caption, "It's \r\n2nd line: \u4E2D\u6587");
  EXPECT_EQ(form.Cursor, crHandPoint);
  EXPECT_EQ(form.ModalResult, mrCancel);
  EXPECT_EQ(form.Ratio, 0.25);
  EXPECT_EQ(form.Stamp, 45000.75);
  EXPECT_EQ(form.Price.Value, 123456);
  EXPECT_EQ(form.Big, int64_t{1} << 40);
  EXPECT_EQ(form.Data.AsDouble(), 1.5);
  EXPECT_EQ(form.GetFont()->Name, "Arial");
  EXPECT_EQ(form.GetFont()->Style, (TTestFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(form.GetFont()->Color, clRed);
  EXPECT_EQ(form.GetFont()->Charset, 134);

  auto* top = dynamic_cast<TTestControl*>(form.FindComponent("pnlTop"));
  auto* ok = dynamic_cast<TTestButton*>(form.FindComponent("btnOk"));
  auto* edit = dynamic_cast<TTestControl*>(form.FindComponent("edtName"));
  auto* timer = dynamic_cast<TTestNonVisual*>(form.FindComponent("tmrClock"));
  ASSERT_TRUE(top && ok && edit && timer);
  // The root owns everything; children nest by parent.
  EXPECT_EQ(form.ComponentCount(), 4);
  EXPECT_EQ(ok->Owner(), &form);
  EXPECT_EQ(ok->ParentControl(), top);
  EXPECT_EQ(top->ParentControl(), &form);
  EXPECT_EQ(top->Align, alTop);
  EXPECT_TRUE(top->Anchors.Empty());
  EXPECT_EQ(top->GetLines()->Text(), "first\r\n\r\nthird\r\n");
  ASSERT_EQ(top->GetColumns()->Count(), 2);
  auto* col0 = static_cast<TTestItem*>(top->GetColumns()->Items(0));
  auto* col1 = static_cast<TTestItem*>(top->GetColumns()->Items(1));
  EXPECT_EQ(col0->Caption, "Freq");
  EXPECT_EQ(col0->Width, 80);
  EXPECT_EQ(col1->Kind, alRight);
  EXPECT_EQ(ok->Width, 75);
  EXPECT_FALSE(ok->Enabled);
  EXPECT_EQ(ok->Glyph, std::string("\x00\x01\xFF", 3));
  EXPECT_EQ(edit->Wide, u"x\ty");

  // References resolve after reading, forward ones too, and across roots.
  EXPECT_EQ(ok->GetBuddy(), edit);
  EXPECT_EQ(timer->GetTarget(), ok);
  EXPECT_EQ(edit->GetBuddy(), dm->FindComponent("tblChannels"));

  // Events are bound to the root's published handlers.
  ok->OnClick(ok);
  edit->OnChange(edit, 7);
  EXPECT_EQ(form.Calls, (std::vector<std::string>{"btnOkClick:btnOk", "EditChange:7"}));

  // Loaded ran once per component, in creation order, and the state is clear.
  EXPECT_EQ(LoadedLog(), (std::vector<std::string>{"fMain", "pnlTop", "btnOk", "edtName", "tmrClock"}));
  for (Integer i = 0; i < form.ComponentCount(); ++i) {
    EXPECT_FALSE(form.Components(i)->ComponentState().Contains(csLoading));
    EXPECT_FALSE(form.Components(i)->ComponentState().Contains(csReading));
  }
}

TEST_F(FormFileTest, ReadWriteReadGivesTheSameTree) {
  std::unique_ptr<TTestDataModule> dm(MakeDataModule());
  TTestForm first(nullptr);
  ReadComponentText(kMainForm, &first, "Main.form");
  std::string text = WriteComponentText(&first);

  TTestForm second(nullptr);
  second.SetName("Other");  // the stream's name replaces it
  ReadComponentText(text, &second, "Written.form");
  EXPECT_EQ(WriteComponentText(&second), text);
  EXPECT_EQ(second.Name(), "fMain");
  EXPECT_EQ(second.Caption, first.Caption);
  EXPECT_EQ(dynamic_cast<TTestControl*>(second.FindComponent("edtName"))->GetBuddy(),
            dm->FindComponent("tblChannels"));

  // Only stored, non-default values are written.
  EXPECT_EQ(text.find("Tag ="), std::string::npos);
  EXPECT_EQ(text.find("Enabled = True"), std::string::npos);
  EXPECT_NE(text.find("Enabled = False"), std::string::npos);
  EXPECT_EQ(text.find("  Color ="), std::string::npos);  // clBtnFace is the default
  EXPECT_NE(text.find("Font.Color = clRed"), std::string::npos) << text;
  EXPECT_NE(text.find("Cursor = crHandPoint"), std::string::npos);
}

TEST_F(FormFileTest, ErrorsNameFileLineAndCulprit) {
  struct Row {
    const char* what;
    const char* text;
    const char* message;  // the whole message
  };
  const Row rows[] = {
      {"unknown class", "object F: TTestForm\n  object X: TFoo\n  end\nend\n",
       "Bad.form(2): Class TFoo not found"},
      {"unknown property", "object F: TTestForm\n  Left = 1\n\n  Bar = 2\nend\n",
       "Bad.form(4): Error reading F.Bar: Property Bar does not exist"},
      {"unknown sub-property", "object F: TTestForm\n  object P: TTestControl\n    Font.Bar = 2\n  end\nend\n",
       "Bad.form(3): Error reading P.Font.Bar: Property Bar does not exist"},
      {"wrong value kind", "object F: TTestForm\n  Left = 'abc'\nend\n",
       "Bad.form(2): Error reading F.Left: Invalid property value"},
      {"enumeration out of range", "object F: TTestForm\n  Align = alMiddle\nend\n",
       "Bad.form(2): Error reading F.Align: Invalid property value"},
      {"unknown colour", "object F: TTestForm\n  Color = clRedish\nend\n",
       "Bad.form(2): Error reading F.Color: Invalid property value"},
      {"unknown handler", "object F: TTestForm\n  OnClick = NoSuchClick\nend\n",
       "Bad.form(2): Error reading F.OnClick: Method NoSuchClick not found"},
      {"handler of another signature", "object F: TTestForm\n  OnClick = EditChange\nend\n",
       "Bad.form(2): Error reading F.OnClick: Invalid property value"},
      {"unknown collection property",
       "object F: TTestForm\n  Columns = <\n    item\n      Wdth = 1\n    end>\nend\n",
       "Bad.form(4): Error reading F.TTestItems[0].Wdth: Property Wdth does not exist"},
      {"duplicate name", "object F: TTestForm\n  object A: TTestControl\n  end\n  object a: TTestControl\n  end\nend\n",
       "Bad.form(4): A component named a already exists"},
      {"reference of the wrong class", "object F: TTestForm\n  object P: TTestNonVisual\n    Target = Q\n  end\n  object Q: TTestItem\n  end\nend\n",
       "Bad.form(5): Class TTestItem not found"},
      {"syntax: missing end", "object F: TTestForm\n  Left = 1\n",
       "Bad.form(3): 'end' expected"},
      {"syntax: unterminated string", "object F: TTestForm\n  Caption = 'abc\nend\n",
       "Bad.form(2): Unterminated string"},
      {"syntax: bad binary", "object F: TTestForm\n  Glyph.Data = {\n   0G}\nend\n",
       "Bad.form(3): Invalid binary value"},
      {"syntax: trailing text", "object F: TTestForm\nend\nend\n",
       "Bad.form(3): End of file expected"},
  };
  for (const Row& row : rows) {
    TTestForm form(nullptr);
    try {
      ReadComponentText(row.text, &form, "Bad.form");
      ADD_FAILURE() << row.what << ": no error";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, row.message) << row.what;
    }
    // Never half-created: what the read made is gone again.
    EXPECT_EQ(form.ComponentCount(), 0) << row.what;
    EXPECT_FALSE(form.ComponentState().Contains(csLoading)) << row.what;
  }
}

TEST_F(FormFileTest, ErrorKeepsTheExceptionClass) {
  TTestForm form(nullptr);
  EXPECT_THROW(ReadComponentText("object F: TTestForm\n object X: TFoo\n end\nend", &form), EClassNotFound);
  EXPECT_THROW(ReadComponentText("object F: TTestForm\n  Bar = 1\nend", &form), EPropertyError);
  EXPECT_THROW(ReadComponentText("object F: TTestForm\n  Bar = \nend", &form), EParserError);
}

TEST_F(FormFileTest, RootIsCreatedFromTheClassNameWhenNoneIsGiven) {
  TComponent* root = ReadComponentText("object dmX: TTestDataModule\n  object n: TTestNonVisual\n  end\nend\n",
                                       nullptr, "X.form");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->ClassType(), TTestDataModule::StaticClass());
  EXPECT_EQ(root->ComponentCount(), 1);
  // A second instance of a root whose name is taken by a live root gets a
  // fresh one.
  AddGlobalRoot(root);
  TComponent* again = ReadComponentText("object dmX: TTestDataModule\nend\n", nullptr);
  EXPECT_EQ(again->Name(), "dmX_1");
  again->Free();
  root->Free();
  // A root whose class is not a component is refused, and nothing leaks.
  EXPECT_THROW(ReadComponentText("object x: TTestItem\nend\n", nullptr), EClassNotFound);
}

TEST_F(FormFileTest, ReferenceToARootThatAppearsLaterIsFixedThen) {
  TTestForm form(nullptr);
  ReadComponentText("object fLater: TTestForm\n  object n: TTestNonVisual\n    Target = dmLate.tbl\n  end\nend\n",
                    &form);
  auto* n = dynamic_cast<TTestNonVisual*>(form.FindComponent("n"));
  EXPECT_EQ(n->GetTarget(), nullptr);
  auto* dm = new TTestDataModule(nullptr);
  dm->SetName("dmLate");
  auto* tbl = new TTestNonVisual(dm);
  tbl->SetName("tbl");
  AddGlobalRoot(dm);
  EXPECT_EQ(n->GetTarget(), tbl);
  dm->Free();
  EXPECT_EQ(n->GetTarget(), nullptr);  // and cleared by free notification
}

namespace {

class TDerivedForm : public TTestForm {
  VXN_DECLARE_CLASS(TDerivedForm)

 public:
  explicit TDerivedForm(TComponent* AOwner) : TTestForm(AOwner) {
    InitInheritedComponent(this, TTestControl::StaticClass());
  }
};

const char kBaseFormText[] =
    "object fBase: TTestForm\n  Caption = 'Base'\n  object btnOk: TTestButton\n    Caption = 'OK'\n"
    "    OnClick = btnOkClick\n  end\nend\n";
const char kDerivedFormText[] =
    "inherited fBase: TDerivedForm\n  Caption = 'Derived'\n  inherited btnOk: TTestButton\n"
    "    Caption = 'Go'\n  end\n  object btnHelp: TTestButton\n  end\nend\n";

}  // namespace

VXN_IMPLEMENT_CLASS(TDerivedForm, TTestForm)

TEST_F(FormFileTest, DerivedFormReadsItsAncestorsFileFirst) {
  static const TResourceEntry entries[] = {
      {"TTestForm", "FORM", reinterpret_cast<const unsigned char*>(kBaseFormText), sizeof kBaseFormText - 1},
      {"TDerivedForm", "form", reinterpret_cast<const unsigned char*>(kDerivedFormText),
       sizeof kDerivedFormText - 1},
  };
  RegisterResources(entries, 2);
  TDerivedForm form(nullptr);
  EXPECT_EQ(form.Name(), "fBase");
  EXPECT_EQ(form.Caption, "Derived");
  ASSERT_EQ(form.ComponentCount(), 2);
  auto* ok = dynamic_cast<TTestButton*>(form.FindComponent("btnOk"));
  EXPECT_EQ(ok->Caption, "Go");
  EXPECT_TRUE(ok->OnClick);
  EXPECT_NE(form.FindComponent("btnHelp"), nullptr);
  // Loaded once per component, after every level is in.
  EXPECT_EQ(LoadedLog(), (std::vector<std::string>{"fBase", "btnOk", "btnHelp"}));

  // "inherited" for a component the ancestor does not have is an error.
  TTestForm plain(nullptr);
  EXPECT_THROW(ReadComponentText("inherited f: TTestForm\n  inherited x: TTestButton\n  end\nend\n", &plain),
               EReadError);
}

TEST(FormTextTest, BinaryToTextWritesEveryValueKind) {
  TMemoryStream s;
  ObjectTextToBinary(
      "inline f: TX [3]\n  A = (\n    1\n    'two'\n    (3))\n  B = <\n    item [1]\n      C = nil\n"
      "    end>\n  D = <>\n  E = {\n    00FF}\n  F = [a, b]\n  G = 1.5e300\n  H = 2.5s\n  I = -0.0001c\n"
      "  J = 7.0d\n  K = True\n  L = Null\n  M = 'a'''#7\nend\n",
      s);
  s.SetPosition(0);
  EXPECT_EQ(ObjectBinaryToText(s),
            "inline f: TX [3]\n  A = (\n    1\n    'two'\n    (\n      3))\n  B = <\n    item [1]\n      C = nil\n"
            "    end>\n  D = <>\n  E = {\n    00FF}\n  F = [a, b]\n  G = 1.5e+300\n  H = 2.5s\n  I = -0.0001c\n"
            "  J = 7.0d\n  K = True\n  L = Null\n  M = 'a'''#7\nend\n");
}

TEST(FormTextTest, LongTextsContinueOnTheNextLineAndComeBackWhole) {
  std::string caption;
  for (int i = 0; i < 30; ++i) caption += "\u4E2D\u6587 text ";
  TTestControl c(nullptr);
  c.Caption = caption;
  std::string text = WriteComponentText(&c);
  EXPECT_NE(text.find("' +\n"), std::string::npos);
  RegisterFixtureClasses();
  TTestControl back(nullptr);
  ReadComponentText(text, &back);
  EXPECT_EQ(back.Caption, caption);
}

// Currency values keep every digit: through the published-property access,
// the binary stream and the text form, with no trip through a double.
TEST(FormTextTest, CurrencyKeepsAllItsDigits) {
  RegisterFixtureClasses();
  for (const int64_t scaled : {INT64_MAX, INT64_MIN, int64_t{9007199254740993}, int64_t{-12345}}) {
    SCOPED_TRACE(scaled);
    TTestControl c(nullptr);
    c.Price = Currency::FromScaled(scaled);
    EXPECT_EQ(GetPropValue(&c, "Price").AsCurrency().Value, scaled);
    TTestControl viaVariant(nullptr);
    SetPropValue(&viaVariant, "Price", Variant(Currency::FromScaled(scaled)));
    EXPECT_EQ(viaVariant.Price.Value, scaled);

    TMemoryStream binary;
    TWriter(binary).WriteRootComponent(&c);
    binary.SetPosition(0);
    TTestControl fromBinary(nullptr);
    TReader(binary).ReadRootComponent(&fromBinary);
    EXPECT_EQ(fromBinary.Price.Value, scaled);

    const std::string text = WriteComponentText(&c);
    TTestControl fromText(nullptr);
    ReadComponentText(text, &fromText);
    EXPECT_EQ(fromText.Price.Value, scaled) << text;
  }
  // A double outside the range has no Currency value.
  EXPECT_THROW(Currency::FromDouble(1e300), EConvertError);
  EXPECT_THROW(Currency::FromDouble(-1e19), EConvertError);
  TTestControl c(nullptr);
  EXPECT_THROW(ReadComponentText("object C: TTestControl\n  Price = 1e300\nend\n", &c), Exception);
  EXPECT_EQ(c.Price.Value, 0);
}

// A corrupt tag is refused wherever a value stands, also inside a list,
// which used to read the same byte again until memory ran out.
TEST(FormTextTest, UnknownValueTagIsAnInvalidStream) {
  for (const char* text : {"object F: TX\n  A = 7\nend\n", "object F: TX\n  A = (\n    7)\nend\n"}) {
    SCOPED_TRACE(text);
    TMemoryStream s;
    ObjectTextToBinary(text, s);
    std::string bytes(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
    const size_t at = bytes.find(std::string("\x02\x07", 2));  // vaInt8 7
    ASSERT_NE(at, std::string::npos);
    bytes[at] = '\x55';
    TCustomMemoryStream corrupt(bytes.data(), static_cast<Int64>(bytes.size()));
    try {
      ObjectBinaryToText(corrupt);
      ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message, "Invalid stream format");
    }
  }
}

TEST(FormTextTest, LinesEndAtLfCrLfOrCrAlone) {
  RegisterFixtureClasses();
  for (const char* eol : {"\n", "\r\n", "\r"}) {
    SCOPED_TRACE(testing::PrintToString(std::string(eol)));
    std::string text = "object F: TTestForm@  Left = 1@@  Bar = 2@end@";
    for (size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, eol);
    TTestForm form(nullptr);
    try {
      ReadComponentText(text, &form, "Bad.form");
      ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "Bad.form(4): Error reading F.Bar: Property Bar does not exist");
    }
  }
}

TEST(FormTextTest, CharacterCodesOfASurrogatePairAreOneCharacter) {
  RegisterFixtureClasses();
  for (const char* code : {"#55357#56832", "#$D83D#$DE00", "#55357#$DE00"}) {
    SCOPED_TRACE(code);
    TTestControl c(nullptr);
    ReadComponentText(std::string("object C: TTestControl\n  Caption = 'a'") + code + "'b'\nend\n", &c);
    EXPECT_EQ(c.Caption, "a\xF0\x9F\x98\x80" "b");
  }
  for (const char* code : {"#55357", "#55357'x'", "#56832#55357", "#55357#65"}) {
    SCOPED_TRACE(code);
    TTestControl c(nullptr);
    EXPECT_THROW(ReadComponentText(std::string("object C: TTestControl\n  Caption = ") + code + "\nend\n", &c),
                 EParserError);
  }
}
