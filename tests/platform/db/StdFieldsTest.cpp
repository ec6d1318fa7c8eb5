#include "platform/db/StdFields.h"

#include <gtest/gtest.h>

#include "tests/platform/db/DbFixture.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"

namespace {

class StdFieldsTest : public DbTest {
 protected:
  // One record of every plain type, in edit state.
  TADODataSet* AllTypes() {
    TADODataSet* ds = new TADODataSet(Owner());
    ds->SetName("All");
    auto& defs = ds->FieldDefs();
    defs.Add("S", ftString, 5);
    defs.Add("W", ftWideString, 3);
    defs.Add("Small", ftSmallint);
    defs.Add("Int", ftInteger);
    defs.Add("Word", ftWord);
    defs.Add("Big", ftLargeint);
    defs.Add("F", ftFloat);
    defs.Add("Cur", ftCurrency);
    defs.Add("Bcd", ftBCD);
    defs.Add("Fmt", ftFMTBcd);
    defs.Add("Bool", ftBoolean);
    defs.Add("D", ftDate);
    defs.Add("T", ftTime);
    defs.Add("DT", ftDateTime);
    defs.Add("TS", ftTimeStamp);
    defs.Add("V", ftVariant);
    defs.Add("G", ftGuid, 38);
    defs.Add("Bytes", ftBytes, 4);
    ds->Open();
    ds->Append();
    return ds;
  }
  TFormatSettingsPin Pin{[] {
    TFormatSettings s;  // the library's neutral settings: '.', '$', M/d/yyyy
    return s;
  }()};
};

TEST_F(StdFieldsTest, EachDefinitionMakesItsFieldClass) {
  TADODataSet* ds = AllTypes();
  const std::pair<const char*, const char*> classes[] = {
      {"S", "TStringField"},     {"W", "TWideStringField"}, {"Small", "TSmallintField"}, {"Int", "TIntegerField"},
      {"Word", "TWordField"},    {"Big", "TLargeintField"}, {"F", "TFloatField"},       {"Cur", "TCurrencyField"},
      {"Bcd", "TBCDField"},      {"Fmt", "TFMTBCDField"},   {"Bool", "TBooleanField"},  {"D", "TDateField"},
      {"T", "TTimeField"},       {"DT", "TDateTimeField"},  {"TS", "TSQLTimeStampField"}, {"V", "TVariantField"},
      {"G", "TGuidField"},       {"Bytes", "TBytesField"},
  };
  for (auto [name, cls] : classes) EXPECT_EQ(ds->FieldByName(name)->ClassName(), cls) << name;
  EXPECT_EQ(ds->FieldByName("F")->FieldNo(), 7);
  EXPECT_EQ(ds->FieldByName("Int")->Alignment(), taRightJustify);
  EXPECT_EQ(ds->FieldByName("S")->Alignment(), taLeftJustify);
  EXPECT_EQ(DefaultFieldClass(ftADT), nullptr);
}

TEST_F(StdFieldsTest, TextInValueAndTextOut) {
  struct Case {
    const char* Field;
    const char* Input;
    const char* AsString;
    const char* DisplayText;
  };
  const Case cases[] = {
      {"S", "abcdefg", "abcde", "abcde"},       // cut at Size
      {"S", "汉字汉字汉字汉", "汉字汉字汉", "汉字汉字汉"},  // characters, not bytes
      {"W", "wxyz", "wxy", "wxy"},
      {"Small", "-300", "-300", "-300"},
      {"Int", " 42", "42", "42"},
      {"Big", "9000000000", "9000000000", "9000000000"},
      {"F", "2.5", "2.5", "2.5"},
      {"Cur", "1234.5", "1234.5", "$1,234.50"},
      {"Bcd", "12.3456", "12.3456", "12.3456"},
      {"Fmt", "123456789012345678.25", "123456789012345678.25", "123456789012345678.25"},
      {"Bool", "t", "True", "True"},
      {"Bool", "FALSE", "False", "False"},
      {"D", "3/4/2021", "3/4/2021", "3/4/2021"},
      {"T", "13:05:07", "1:05:07 PM", "1:05:07 PM"},
      {"DT", "3/4/2021 13:05", "3/4/2021 1:05:00 PM", "3/4/2021 1:05:00 PM"},
      {"V", "anything", "anything", "anything"},
  };
  TADODataSet* ds = AllTypes();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Field) + " <- " + c.Input);
    TField* f = ds->FieldByName(c.Field);
    f->SetText(c.Input);
    EXPECT_EQ(f->AsString(), c.AsString);
    EXPECT_EQ(f->DisplayText(), c.DisplayText);
    f->SetText("");
    EXPECT_TRUE(f->IsNull() || c.Field[0] == 'S' || c.Field[0] == 'W' || c.Field[0] == 'V');
  }
}

TEST_F(StdFieldsTest, BadTextAndOutOfRangeValuesAreRefused) {
  TADODataSet* ds = AllTypes();
  const std::pair<std::function<void()>, const char*> cases[] = {
      {[&] { ds->FieldByName("Int")->SetAsString("12x"); }, "'12x' is not a valid integer value for field 'Int'"},
      {[&] { ds->FieldByName("Small")->SetAsInteger(40000); },
       "40000 is not a valid value for field 'Small'. The allowed range is -32768 to 32767"},
      {[&] { ds->FieldByName("Word")->SetAsInteger(-1); },
       "-1 is not a valid value for field 'Word'. The allowed range is 0 to 65535"},
      {[&] { ds->FieldByName("F")->SetAsString("1,5"); }, "'1,5' is not a valid floating point value for field 'F'"},
      {[&] { ds->FieldByName("Bool")->SetAsString("maybe"); }, "'maybe' is not a valid boolean value for field 'Bool'"},
      {[&] { (void)ds->FieldByName("Bool")->AsDateTime(); }, "Cannot access field 'Bool' as type DateTime"},
      {[&] { (void)ds->FieldByName("D")->AsBoolean(); }, "Cannot access field 'D' as type Boolean"},
  };
  for (const auto& [action, message] : cases) EXPECT_EQ(ErrorOf(action), message);

  auto* f = static_cast<TIntegerField*>(ds->FieldByName("Int"));
  f->SetMinValue(1);
  f->SetMaxValue(10);
  EXPECT_EQ(ErrorOf([&] { f->SetAsInteger(11); }),
            "11 is not a valid value for field 'Int'. The allowed range is 1 to 10");
  f->SetAsInteger(10);
  EXPECT_EQ(f->AsInteger(), 10);
  auto* fl = static_cast<TFloatField*>(ds->FieldByName("F"));
  fl->SetMaxValue(1.5);
  EXPECT_EQ(ErrorOf([&] { fl->SetAsFloat(2); }),
            "2 is not a valid value for field 'F'. The allowed range is 0 to 1.5");
  EXPECT_TRUE(fl->IsNull());
}

TEST_F(StdFieldsTest, NumericFormatsAndPrecision) {
  TADODataSet* ds = AllTypes();
  auto* f = static_cast<TFloatField*>(ds->FieldByName("F"));
  f->SetAsFloat(1.0 / 3);
  f->SetPrecision(4);
  EXPECT_EQ(f->DisplayText(), "0.3333");
  f->SetPrecision(1);
  EXPECT_EQ(f->Precision(), 2);
  f->SetDisplayFormat("#,##0.00");
  f->SetAsFloat(1234.567);
  EXPECT_EQ(f->DisplayText(), "1,234.57");
  EXPECT_EQ(f->Text(), "1,234.57");  // without an edit picture the display one serves
  f->SetEditFormat("0.0");
  EXPECT_EQ(f->Text(), "1234.6");
  f->SetDisplayFormat("");
  EXPECT_EQ(f->DisplayText(), "1.2E3");  // two significant digits
  f->SetPrecision(15);
  f->SetCurrency(true);
  EXPECT_EQ(f->DisplayText(), "$1,234.57");
  EXPECT_EQ(f->Text(), "1234.6");

  auto* i = static_cast<TIntegerField*>(ds->FieldByName("Int"));
  i->SetAsInteger(1234567);
  i->SetDisplayFormat("#,##0");
  EXPECT_EQ(i->DisplayText(), "1,234,567");
  EXPECT_TRUE(i->IsValidChar(U'7') && i->IsValidChar(U'-') && !i->IsValidChar(U'.'));
  EXPECT_TRUE(f->IsValidChar(U'.') && f->IsValidChar(U'E') && !f->IsValidChar(U'x'));

  auto* b = static_cast<TBCDField*>(ds->FieldByName("Bcd"));
  b->SetAsFloat(2.5);
  b->SetCurrency(true);
  EXPECT_EQ(b->DisplayText(), "$2.50");
  EXPECT_EQ(b->Value().VType(), varCurrency);
  auto* fmt = static_cast<TFMTBCDField*>(ds->FieldByName("Fmt"));
  fmt->SetAsString("10.125");
  EXPECT_EQ(fmt->AsCurrency().Value, 101250);
  EXPECT_EQ(fmt->Value().VType(), varFMTBcd);
}

TEST_F(StdFieldsTest, DatesBooleansAndBytes) {
  TADODataSet* ds = AllTypes();
  auto* d = static_cast<TDateTimeField*>(ds->FieldByName("D"));
  d->SetAsDateTime(EncodeDate(2020, 2, 29) + 0.75);
  EXPECT_EQ(d->AsDateTime(), EncodeDate(2020, 2, 29));  // a date field keeps no time
  d->SetDisplayFormat("yyyy-mm-dd");
  EXPECT_EQ(d->DisplayText(), "2020-02-29");
  EXPECT_EQ(d->Text(), "2/29/2020");
  EXPECT_EQ(d->Value().VType(), varDate);

  auto* ts = static_cast<TSQLTimeStampField*>(ds->FieldByName("TS"));
  ts->SetAsDateTime(EncodeDate(2001, 2, 3) + EncodeTime(4, 5, 6, 0));
  EXPECT_EQ(ts->AsSQLTimeStamp().Hour, 4);
  EXPECT_EQ(ts->AsString(), "2/3/2001 4:05:06 AM");

  auto* b = static_cast<TBooleanField*>(ds->FieldByName("Bool"));
  b->SetDisplayValues("Yes;No");
  b->SetAsString("n");
  EXPECT_FALSE(b->AsBoolean());
  EXPECT_EQ(b->DisplayText(), "No");
  EXPECT_EQ(b->DisplayWidth(), 3);

  TField* bytes = ds->FieldByName("Bytes");
  bytes->SetAsString(std::string("\x01\x02", 2));
  EXPECT_EQ(bytes->AsString(), std::string("\x01\x02\x00\x00", 4));  // fixed length
  Variant array = bytes->Value();
  EXPECT_EQ(VarType(array), varArray | varByte);
  EXPECT_EQ(VarArrayHighBound(array, 1), 3);
  EXPECT_EQ(bytes->DisplayText(), "(BYTES)");
}

TEST_F(StdFieldsTest, EventsOfAField) {
  struct Handlers : TObject {
    std::vector<std::string> Log;
    bool Refuse = false;
    void GetText(TField* f, std::string& text, bool display) {
      text = (display ? "show:" : "edit:") + f->AsString();
    }
    void SetText(TField* f, const std::string& text) { f->SetAsString("<" + text + ">"); }
    void Validate(TField* f) {
      Log.push_back("validate " + f->AsString());
      if (Refuse) throw EDatabaseError("refused");
    }
    void Change(TField* f) { Log.push_back("change " + f->AsString()); }
  } h;
  TADODataSet* ds = AllTypes();
  TField* s = ds->FieldByName("S");
  s->SetAsString("ok");
  s->OnValidate = TFieldNotifyEvent(&h, &Handlers::Validate);
  s->OnChange = TFieldNotifyEvent(&h, &Handlers::Change);
  s->SetAsString("new");
  h.Refuse = true;
  EXPECT_THROW(s->SetAsString("bad"), EDatabaseError);
  EXPECT_EQ(s->AsString(), "new");  // the refused value never arrived
  EXPECT_EQ(h.Log, (std::vector<std::string>{"validate new", "change new", "validate bad"}));
  h.Refuse = false;
  s->OnGetText = TFieldGetTextEvent(&h, &Handlers::GetText);
  s->OnSetText = TFieldSetTextEvent(&h, &Handlers::SetText);
  s->SetText("a");
  EXPECT_EQ(s->AsString(), "<a>");
  EXPECT_EQ(s->DisplayText(), "show:<a>");
  EXPECT_EQ(s->Text(), "edit:<a>");
}

TEST_F(StdFieldsTest, LabelsWidthsAndModifiability) {
  TADODataSet* ds = AllTypes();
  ds->Post();
  TField* s = ds->FieldByName("S");
  EXPECT_EQ(s->DisplayLabel(), "S");
  s->SetDisplayLabel("Short");
  EXPECT_EQ(s->DisplayName(), "Short");
  const std::pair<const char*, Integer> widths[] = {{"S", 5}, {"Small", 6}, {"Int", 11}, {"Word", 5},
                                                     {"Big", 15}, {"Bool", 5}, {"D", 10}, {"DT", 18}};
  for (auto [name, width] : widths) EXPECT_EQ(ds->FieldByName(name)->DisplayWidth(), width) << name;
  s->SetDisplayWidth(30);
  EXPECT_EQ(s->DisplayWidth(), 30);
  EXPECT_TRUE(s->CanModify());
  s->SetReadOnly(true);
  EXPECT_FALSE(s->CanModify());
  auto* orphan = new TIntegerField(Owner());
  orphan->SetFieldName("Loose");
  EXPECT_FALSE(orphan->CanModify());
  EXPECT_EQ(ErrorOf([&] { (void)orphan->Value(); }), "Field 'Loose' has no dataset");
}

}  // namespace
