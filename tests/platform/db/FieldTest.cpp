#include "platform/db/Field.h"

#include <gtest/gtest.h>

#include "tests/platform/db/DbFixture.h"
#include "platform/db/StdFields.h"

namespace {

// Orders (CustID, Qty, Price) with a lookup of the customer's name and a
// calculated total.
class FieldTest : public DbTest {
 protected:
  FieldTest() {
    customers_ = MakeTable("Customers", "ID:I;Region:S5;Name:S20");
    customers_->Open();
    AddRows(customers_, {{1, "N", "Ann"}, {2, "N", "Bob"}, {2, "S", "Bea"}});
    orders_ = MakeTable("Orders", "CustID:I;Region:S5;Qty:I;Price:F");
    // Persistent fields: the data fields, a lookup field and a calculated one.
    for (int i = 0; i < orders_->FieldDefs().Count(); ++i) orders_->FieldDefs()[i]->CreateField(Owner(), orders_);
    lookup_ = new TStringField(Owner());
    lookup_->SetFieldName("Customer");
    lookup_->SetFieldKind(fkLookup);
    lookup_->SetKeyFields("CustID;Region");
    lookup_->SetLookupDataSet(customers_);
    lookup_->SetLookupKeyFields("ID;Region");
    lookup_->SetLookupResultField("Name");
    lookup_->SetDataSet(orders_);
    total_ = new TFloatField(Owner());
    total_->SetFieldName("Total");
    total_->SetFieldKind(fkCalculated);
    total_->SetDataSet(orders_);
    orders_->OnCalcFields = TDataSetNotifyEvent(this, &FieldTest::CalcTotal);
  }

  void CalcTotal(TDataSet* ds) {
    ++calcs_;
    TField* qty = ds->FieldByName("Qty");
    TField* price = ds->FieldByName("Price");
    if (!qty->IsNull() && !price->IsNull()) total_->SetAsFloat(qty->AsFloat() * price->AsFloat());
  }

  TADODataSet* customers_;
  TADODataSet* orders_;
  TStringField* lookup_;
  TFloatField* total_;
  int calcs_ = 0;
};

TEST_F(FieldTest, LookupAndCalculatedFieldsFollowEdits) {
  orders_->Open();
  AddRows(orders_, {{2, "S", 3, 1.5}, {1, "N", 2, 10.0}});
  orders_->First();
  EXPECT_EQ(lookup_->AsString(), "Bea");
  EXPECT_DOUBLE_EQ(total_->AsFloat(), 4.5);
  EXPECT_FALSE(lookup_->CanModify());
  EXPECT_FALSE(total_->CanModify());
  orders_->Edit();
  orders_->FieldByName("Region")->SetAsString("N");  // another key: the lookup follows at once
  EXPECT_EQ(lookup_->AsString(), "Bob");
  orders_->FieldByName("Qty")->SetAsInteger(4);
  EXPECT_DOUBLE_EQ(total_->AsFloat(), 6.0);
  orders_->Cancel();
  EXPECT_EQ(lookup_->AsString(), "Bea");
  orders_->Next();
  EXPECT_EQ(lookup_->AsString(), "Ann");
  EXPECT_DOUBLE_EQ(total_->AsFloat(), 20.0);
  orders_->Edit();
  orders_->FieldByName("CustID")->Clear();  // a missing key finds nothing
  EXPECT_TRUE(lookup_->IsNull());
  orders_->Cancel();

  // Without AutoCalcFields the values wait for the next fetch.
  orders_->AutoCalcFields = false;
  orders_->Edit();
  orders_->FieldByName("Qty")->SetAsInteger(5);
  EXPECT_DOUBLE_EQ(total_->AsFloat(), 20.0);
  orders_->Post();
  EXPECT_DOUBLE_EQ(total_->AsFloat(), 50.0);
  // Calculated and lookup fields can be located on.
  EXPECT_TRUE(orders_->Locate("Customer", "Bea", {}));
  EXPECT_EQ(VarToStr(orders_->Lookup("Total", 50.0, "Customer")), "Ann");
}

TEST_F(FieldTest, LookupCacheReadsTheListOnce) {
  lookup_->SetLookupCache(true);
  orders_->Open();
  EXPECT_EQ(lookup_->LookupList().Count(), 3);
  AddRows(orders_, {{1, "N", 1, 1.0}});
  EXPECT_EQ(lookup_->AsString(), "Ann");
  customers_->First();
  customers_->Edit();
  customers_->FieldByName("Name")->SetAsString("Anna");
  customers_->Post();
  orders_->Refresh();
  EXPECT_EQ(lookup_->AsString(), "Ann");  // the cache still answers
  lookup_->RefreshLookupList();
  orders_->Refresh();
  EXPECT_EQ(lookup_->AsString(), "Anna");
}

TEST_F(FieldTest, IncompleteLookupsAreRefusedAtOpen) {
  lookup_->SetLookupResultField("");
  EXPECT_EQ(ErrorOf([&] { orders_->Open(); }), "Orders: Lookup information for field 'Customer' is incomplete");
  EXPECT_EQ(ErrorOf([&] { lookup_->SetLookupDataSet(orders_); }), "Circular datalinks are not allowed");
  lookup_->SetLookupResultField("Name");
  orders_->Open();
  EXPECT_EQ(ErrorOf([&] { lookup_->SetKeyFields("Qty"); }),
            "Orders: Cannot perform this operation on an open dataset");
  // Freeing the lookup data set leaves the field without one.
  orders_->Close();
  customers_->Free();
  EXPECT_EQ(lookup_->LookupDataSet(), nullptr);
}

TEST_F(FieldTest, ValuesCompareAsLocateDoes) {
  EXPECT_TRUE(FieldValuesEqual(Null(), Variant()));
  EXPECT_FALSE(FieldValuesEqual(Null(), 0));
  EXPECT_TRUE(FieldValuesEqual(5, 5.0));
  EXPECT_TRUE(FieldValuesEqual(VarArrayOf({1, "a"}), VarArrayOf({1, "a"})));
  EXPECT_FALSE(FieldValuesEqual(VarArrayOf({1, "a"}), VarArrayOf({1})));
  EXPECT_FALSE(FieldValuesEqual("abc", 5));  // not comparable: unequal, no error
}

}  // namespace
