#include "platform/db/DataSetField.h"

#include <gtest/gtest.h>

#include "tests/platform/db/DbFixture.h"

namespace {

class DataSetFieldTest : public DbTest {
 protected:
  DataSetFieldTest() {
    orders_ = MakeTable("Orders", "OrderID:I;Lines:N");
    TFieldDefs& child = orders_->FieldDefs().Find("Lines")->ChildDefs();
    child.Add("Item", ftString, 10);
    child.Add("Qty", ftInteger);
    orders_->Open();
    AddRows(orders_, {{1}, {2}});
    lines_ = static_cast<TDataSetField*>(orders_->FieldByName("Lines"))->NestedDataSet();
    lines_->Open();
  }
  TADODataSet* orders_;
  TDataSet* lines_;
};

TEST_F(DataSetFieldTest, NestedRecordsBelongToTheParentsRecord) {
  EXPECT_EQ(orders_->FieldByName("OrderID")->AsInteger(), 2);
  EXPECT_EQ(lines_->FieldCount(), 2);  // the child definitions
  AddRows(lines_, {{"bolt", 1}});
  orders_->First();
  EXPECT_TRUE(lines_->IsEmpty());
  AddRows(lines_, {{"nut", 5}, {"washer", 9}});
  orders_->Next();
  EXPECT_EQ(Column(lines_, "Item"), (std::vector<std::string>{"bolt"}));
  orders_->First();
  EXPECT_EQ(Column(lines_, "Item"), (std::vector<std::string>{"nut", "washer"}));
  EXPECT_EQ(orders_->FieldByName("Lines")->DisplayText(), "(DataSet)");
}

TEST_F(DataSetFieldTest, ParentPostsBeforeNewNestedRecordsAndTakesThemAlong) {
  orders_->Append();
  orders_->FieldByName("OrderID")->SetAsInteger(3);
  EXPECT_TRUE(lines_->IsEmpty());
  AddRows(lines_, {{"gear", 2}});  // the new order is posted first
  EXPECT_EQ(orders_->State(), dsBrowse);
  EXPECT_EQ(orders_->RecordCount(), 3);
  EXPECT_EQ(Column(lines_, "Item"), (std::vector<std::string>{"gear"}));
  orders_->Delete();  // its lines go with it
  EXPECT_EQ(orders_->FieldByName("OrderID")->AsInteger(), 2);
  EXPECT_TRUE(lines_->IsEmpty());
  orders_->Close();
  EXPECT_FALSE(lines_->Active());
  EXPECT_EQ(lines_->DataSetField(), nullptr);  // the default field is gone with the cursor
}

TEST_F(DataSetFieldTest, NestedDataSetClosesWithItsParent) {
  orders_->SetActive(false);
  orders_->FieldDefs().Find("Lines");
  auto* persistent = new TDataSetField(Owner());
  persistent->SetFieldName("Lines");
  auto* id = orders_->FieldDefs().Find("OrderID")->CreateField(Owner(), orders_);
  (void)id;
  persistent->SetDataSet(orders_);
  auto* nested = new TADODataSet(Owner());
  nested->SetDataSetField(persistent);
  orders_->Open();
  nested->Open();
  EXPECT_EQ(nested->FieldCount(), 2);
  orders_->Close();
  EXPECT_FALSE(nested->Active());
  EXPECT_EQ(ErrorOf([&] { nested->Open(); }), "Orders: Cannot perform this operation on a closed dataset");
}

TEST_F(DataSetFieldTest, ANamedDataSetCanShowTheNestedRecords) {
  auto* own = new TADODataSet(Owner());
  own->SetName("OwnLines");
  auto* field = static_cast<TDataSetField*>(orders_->FieldByName("Lines"));
  EXPECT_EQ(ErrorOf([&] { own->SetDataSetField(field); }), "Cannot perform this operation on an open dataset");
  lines_->Close();
  own->SetDataSetField(field);  // the field's former nested data set lets go
  EXPECT_EQ(lines_->DataSetField(), nullptr);
  EXPECT_EQ(field->NestedDataSet(), own);
  own->Open();
  AddRows(own, {{"pin", 7}});
  EXPECT_EQ(own->RecordCount(), 1);
  EXPECT_EQ(ErrorOf([&] {
              own->Close();
              own->SetMasterSource(new TDataSource(Owner()));
            }),
            "OwnLines: Nested datasets cannot have a MasterSource");
}

}  // namespace
