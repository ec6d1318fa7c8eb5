#include "platform/db/Query.h"

#include <gtest/gtest.h>

#include "tests/platform/db/DbFixture.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/FormFiles.h"

namespace {

class QueryTest : public DbTest {
 protected:
  // Lines of orders: OrderID, Item, Qty.
  TQuery* Lines() {
    auto* q = new TQuery(Owner());
    q->SetName("Lines");
    q->FieldDefs().Add("OrderID", ftInteger);
    q->FieldDefs().Add("Item", ftString, 10);
    q->FieldDefs().Add("Qty", ftInteger);
    q->Open();
    AddRows(q, {{1, "nut", 5}, {2, "bolt", 1}, {1, "washer", 9}, {3, "gear", 2}});
    q->Close();
    return q;
  }
};

TEST_F(QueryTest, ParametersChooseTheRowsWhenTheQueryOpens) {
  TQuery* q = Lines();
  EXPECT_NE(q->ClassName().find("Query"), std::string::npos);
  q->SQL()->SetText("OrderID = :Order AND Qty >= :MinQty");
  ASSERT_EQ(q->ParamCount(), 2);
  q->Params()->SetParamValues("Order;MinQty", VarArrayOf({1, 0}));
  q->Open();
  EXPECT_EQ(Column(q, "Item"), (std::vector<std::string>{"nut", "washer"}));
  q->ParamByName("MinQty")->SetAsInteger(6);
  EXPECT_EQ(q->RecordCount(), 2);  // nothing new until it opens again
  q->Close();
  q->Open();
  EXPECT_EQ(Column(q, "Item"), (std::vector<std::string>{"washer"}));
  q->ParamByName("Order")->Clear();  // a missing value matches nothing
  q->Close();
  q->Open();
  EXPECT_EQ(q->RecordCount(), 0);
  // Changing the text closes the query and keeps the values of names kept.
  q->ParamByName("Order")->SetAsInteger(3);
  q->SQL()->SetText("OrderID = :Order");
  EXPECT_FALSE(q->Active());
  EXPECT_EQ(q->ParamCount(), 1);
  q->Open();
  EXPECT_EQ(Column(q, "Item"), (std::vector<std::string>{"gear"}));
  q->Close();
  q->SQL()->SetText("OrderID = :Order AND");
  EXPECT_EQ(ErrorOf([&] { q->Open(); }), "Expression expected but nothing found at position 21");
}

TEST_F(QueryTest, MasterRecordGivesTheParametersAndReopensTheQuery) {
  TADODataSet* orders = MakeTable("Orders", "OrderID:I;Customer:S10");
  orders->Open();
  AddRows(orders, {{1, "Ann"}, {2, "Bob"}, {3, "Cy"}});
  auto* source = new TDataSource(Owner());
  source->SetDataSet(orders);
  TQuery* q = Lines();
  q->SQL()->SetText("OrderID = :OrderID");
  q->SetDataSource(source);
  EXPECT_EQ(q->GetDataSource(), source);
  orders->First();
  q->Open();
  EXPECT_EQ(Column(q, "Item"), (std::vector<std::string>{"nut", "washer"}));
  orders->Next();
  EXPECT_EQ(q->ParamByName("OrderID")->AsInteger(), 2);
  EXPECT_EQ(Column(q, "Item"), (std::vector<std::string>{"bolt"}));
  orders->Last();
  EXPECT_EQ(Column(q, "Item"), (std::vector<std::string>{"gear"}));
  EXPECT_EQ(ErrorOf([&] {
              auto* loop = new TDataSource(Owner());
              loop->SetDataSet(q);
              orders->SetMasterSource(loop);
            }),
            "Orders: Circular datalinks are not allowed");
}

TEST_F(QueryTest, ReopeningWithNewValuesThroughThePublishedParams) {
  TQuery* q = Lines();
  q->SQL()->SetText("OrderID = :OrderID");
  ASSERT_TRUE(IsPublishedProp(q, "Params"));
  auto* params = dynamic_cast<TParams*>(GetObjectProp(q, FindPropInfo(q, "Params")));
  ASSERT_EQ(params, q->Params());
  params->SetParamValues("OrderID", 2);
  q->Open();
  q->DisableControls();
  q->SetActive(false);
  params->SetParamValues("OrderID", 1);
  q->SetActive(true);
  q->EnableControls();
  EXPECT_EQ(Column(q, "Item"), (std::vector<std::string>{"nut", "washer"}));
}

TEST_F(QueryTest, FormFileHoldsTheTextAndParameters) {
  const char* text = R"(object Query1: TQuery
  FieldDefs = <
    item
      Name = 'N'
      DataType = ftInteger
    end>
  SQL.Strings = (
    'N > :Low')
  Params = <
    item
      DataType = ftInteger
      Name = 'Low'
      ParamType = ptInput
      Value = 1
    end>
end
)";
  auto* q = static_cast<TQuery*>(ReadComponentText(text, nullptr));
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(q->ParamByName("Low")->AsInteger(), 1);
  q->Open();
  AddRows(q, {{1}, {2}});
  q->Close();
  q->Open();
  EXPECT_EQ(Column(q, "N"), (std::vector<std::string>{"2"}));
  q->Free();
}

}  // namespace
