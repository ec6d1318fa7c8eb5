#include "platform/db/AggregateField.h"

#include <gtest/gtest.h>

#include "tests/platform/db/DbFixture.h"
#include "platform/rtl/FormatSettings.h"

namespace {

class AggregateFieldTest : public DbTest {
 protected:
  TAggregateField* Aggregate(TDataSet* ds, const std::string& name, const std::string& expression) {
    auto* f = new TAggregateField(Owner());
    f->SetFieldName(name);
    f->SetExpression(expression);
    f->SetActive(true);
    f->SetDataSet(ds);
    return f;
  }
  TFormatSettingsPin pin_{TFormatSettings()};
};

TEST_F(AggregateFieldTest, ValuesFollowAppendsDeletesAndFilters) {
  TADODataSet* ds = MakeTable("T", "Name:S10;Qty:I;Price:F");
  TAggregateField* sum = Aggregate(ds, "SumQty", "SUM(Qty)");
  TAggregateField* avg = Aggregate(ds, "AvgPrice", "AVG(Price)");
  TAggregateField* count = Aggregate(ds, "Rows", "COUNT(*)");
  TAggregateField* priced = Aggregate(ds, "Priced", "COUNT(Price)");
  TAggregateField* range = Aggregate(ds, "Spread", "MAX(Price) - MIN(Price)");
  TAggregateField* total = Aggregate(ds, "Total", "SUM(Qty * Price)");
  TAggregateField* first = Aggregate(ds, "First", "MIN(Name)");
  ds->Open();
  EXPECT_TRUE(sum->IsNull());  // no records: no sum
  EXPECT_EQ(count->AsInteger(), 0);
  AddRows(ds, {{"b", 2, 1.5}, {"a", 3, 2.5}, {"c", 5, Null()}});
  EXPECT_EQ(sum->AsInteger(), 10);
  EXPECT_DOUBLE_EQ(avg->AsFloat(), 2.0);
  EXPECT_EQ(count->AsInteger(), 3);
  EXPECT_EQ(priced->AsInteger(), 2);
  EXPECT_DOUBLE_EQ(range->AsFloat(), 1.0);
  EXPECT_DOUBLE_EQ(total->AsFloat(), 10.5);
  EXPECT_EQ(first->AsString(), "a");
  EXPECT_EQ(sum->ResultType(), ftInteger);
  EXPECT_EQ(avg->ResultType(), ftFloat);
  EXPECT_EQ(ds->FindField("SumQty"), sum);  // found beside the data fields
  EXPECT_EQ(ds->FieldCount(), 3);
  EXPECT_FALSE(sum->Visible());

  ds->First();
  ds->Delete();
  EXPECT_EQ(sum->AsInteger(), 8);
  ds->Edit();
  ds->FieldByName("Qty")->SetAsInteger(13);
  ds->Post();
  EXPECT_EQ(sum->AsInteger(), 18);
  ds->SetFilter("Qty > 10");
  ds->SetFiltered(true);
  EXPECT_EQ(sum->AsInteger(), 13);  // over the records the filter shows

  sum->SetDisplayFormat("#,##0.00");
  EXPECT_EQ(sum->DisplayText(), "13.00");
  avg->SetCurrency(true);
  ds->SetFiltered(false);
  EXPECT_EQ(avg->DisplayText(), "$2.50");
  EXPECT_EQ(ErrorOf([&] { sum->SetAsInteger(1); }), "Cannot access field 'SumQty' as type Integer");
  sum->SetActive(false);
  EXPECT_TRUE(sum->IsNull());
}

TEST_F(AggregateFieldTest, ExpressionsMustAggregate) {
  TADODataSet* ds = MakeTable("T", "Name:S10;Qty:I");
  const std::pair<const char*, const char*> cases[] = {
      {"Qty", "Expression is not an aggregate expression at position 1"},
      {"SUM(Qty) + Qty", "Operation cannot mix aggregate value with record-varying value at position 12"},
      {"SUM(SUM(Qty))", "Incorrectly formed filter expression at position 5"},
      {"SUM(Qty > 1)", "')' expected but > found at position 9"},
      {"TOTAL(Qty)", "Field 'TOTAL' not found at position 1"},
      {"SUM(Qty) = 2", "Filter expression incorrectly terminated at position 10"},
  };
  for (auto [expression, message] : cases) {
    auto* f = new TAggregateField(Owner());
    f->SetFieldName("Agg");
    f->SetExpression(expression);
    f->SetDataSet(ds);
    ds->Open();
    EXPECT_EQ(ErrorOf([&] { f->SetActive(true); }), message) << expression;
    EXPECT_FALSE(f->Active());
    ds->Close();
    // Activated beforehand, the expression is checked when the data set opens.
    f->SetActive(true);
    EXPECT_EQ(ErrorOf([&] { ds->Open(); }), message) << expression;
    EXPECT_FALSE(ds->Active());
    f->Free();
  }
  TAggregateField* ok = Aggregate(ds, "Ok", "SUM(Qty)");
  ds->Open();
  EXPECT_EQ(ErrorOf([&] { ok->SetExpression("MAX(Qty)"); }),
            "T: Property cannot be modified while aggregate is active");
}

}  // namespace
