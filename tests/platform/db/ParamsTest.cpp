#include "platform/db/Params.h"

#include <gtest/gtest.h>

#include "tests/platform/db/DbFixture.h"
#include "platform/db/StdFields.h"

namespace {

class ParamsTest : public DbTest {};

TEST_F(ParamsTest, ValuesByNameAndBySemicolonList) {
  TParams params;
  params.CreateParam(ftInteger, "ID", ptInput);
  TParam* name = params.CreateParam(ftUnknown, "Name", ptInput);
  name->SetValue("Ann");
  EXPECT_EQ(name->DataType(), ftString);  // a value gives an untyped parameter its type
  EXPECT_TRUE(name->Bound);
  params.ParamByName("id")->SetAsInteger(7);
  Variant both = params.ParamValues("ID;Name");
  EXPECT_EQ(VarArrayGet(both, {0}).AsInteger(), 7);
  EXPECT_EQ(VarToStr(VarArrayGet(both, {1})), "Ann");
  params.SetParamValues("Name; ID", VarArrayOf({"Bob", 9}));
  EXPECT_EQ(params.ParamByName("ID")->AsInteger(), 9);
  EXPECT_EQ(VarToStr(params.ParamValues("Name")), "Bob");
  EXPECT_EQ(ErrorOf([&] { params.ParamByName("Nope"); }), "Parameter 'Nope' not found");
  EXPECT_EQ(ErrorOf([&] { params.ParamValues("ID;Nope"); }), "Parameter 'Nope' not found");
  EXPECT_EQ(params.FindParam("nope"), nullptr);

  const std::pair<Variant, TFieldType> types[] = {
      {Variant(1), ftInteger},          {Variant(1.5), ftFloat},   {Variant(true), ftBoolean},
      {VarFromDateTime(1.0), ftDateTime}, {Variant(Currency()), ftCurrency}, {Variant(1LL << 40), ftLargeint}};
  for (const auto& [value, type] : types) {
    TParam* p = params.CreateParam(ftUnknown, "P", ptInput);
    p->SetValue(value);
    EXPECT_EQ(p->DataType(), type);
    p->Free();
  }
}

TEST_F(ParamsTest, ParseSQLFindsReferencesOutsideQuotes) {
  TParams params;
  params.CreateParam(ftInteger, "Keep", ptInput)->SetAsInteger(5);
  std::string text = params.ParseSQL("A = :Keep AND B = ':NotOne' AND C = :New AND D::E AND F = :keep", true);
  EXPECT_EQ(text, "A = ? AND B = ':NotOne' AND C = ? AND D:E AND F = ?");
  ASSERT_EQ(params.Count(), 2);
  EXPECT_EQ(params[0]->Name(), "Keep");
  EXPECT_EQ(params[0]->AsInteger(), 5);  // a name it had keeps its value
  EXPECT_EQ(params[1]->Name(), "New");
  EXPECT_TRUE(params[1]->IsNull());

  TParams copy;
  copy.Assign(&params);
  EXPECT_TRUE(copy.IsEqual(params));
  copy[0]->SetAsInteger(6);
  EXPECT_FALSE(copy.IsEqual(params));
}

TEST_F(ParamsTest, AParameterTakesAFieldsTypeAndValue) {
  TADODataSet* ds = MakeTable("T", "Qty:I;When:D");
  ds->Open();
  ds->AppendRecord({4, 2.0});
  TParams params;
  TParam* p = params.AddParameter();
  p->AssignField(ds->FieldByName("When"));
  EXPECT_EQ(p->Name(), "When");
  EXPECT_EQ(p->DataType(), ftDateTime);
  EXPECT_DOUBLE_EQ(p->AsDateTime(), 2.0);
}

}  // namespace
