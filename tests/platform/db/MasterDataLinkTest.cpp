#include "platform/db/MasterDataLink.h"

#include <gtest/gtest.h>

#include "tests/platform/db/DbFixture.h"

namespace {

class MasterDataLinkTest : public DbTest {
 protected:
  MasterDataLinkTest() {
    orders_ = MakeTable("Orders", "OrderID:I;Customer:S10");
    orders_->Open();
    AddRows(orders_, {{1, "Ann"}, {2, "Bob"}, {3, "Cy"}});
    source_ = new TDataSource(Owner());
    source_->SetDataSet(orders_);
    lines_ = MakeTable("Lines", "Item:S10;OrderNo:I;Qty:I");
    lines_->Open();
    AddRows(lines_, {{"nut", 1, 5}, {"bolt", 2, 1}, {"washer", 1, 9}, {"gear", 3, 2}, {"axle", 1, 4}});
    lines_->SetIndexFieldNames("OrderNo;Item");  // the detail field and the order
    lines_->SetMasterFields("OrderID");
    lines_->SetMasterSource(source_);
    orders_->First();
  }
  TADODataSet* orders_;
  TADODataSet* lines_;
  TDataSource* source_;
};

TEST_F(MasterDataLinkTest, DetailShowsTheMastersRowsAndFollowsItsScrolling) {
  EXPECT_EQ(Column(lines_, "Item"), (std::vector<std::string>{"axle", "nut", "washer"}));
  orders_->Next();
  EXPECT_EQ(Column(lines_, "Item"), (std::vector<std::string>{"bolt"}));
  orders_->Last();
  EXPECT_EQ(Column(lines_, "Item"), (std::vector<std::string>{"gear"}));
  EXPECT_EQ(lines_->GetDataSource(), source_);
  // A new detail record takes the master's key.
  lines_->Append();
  EXPECT_EQ(lines_->FieldByName("OrderNo")->AsInteger(), 3);
  lines_->FieldByName("Item")->SetAsString("cog");
  // Moving the master posts the pending detail record first.
  orders_->First();
  EXPECT_EQ(lines_->State(), dsBrowse);
  orders_->Last();
  EXPECT_EQ(Column(lines_, "Item"), (std::vector<std::string>{"cog", "gear"}));
}

TEST_F(MasterDataLinkTest, AKeyEditedInTheMasterChangesTheRange) {
  orders_->Next();
  orders_->Edit();
  orders_->FieldByName("OrderID")->SetAsInteger(3);
  EXPECT_EQ(Column(lines_, "Item"), (std::vector<std::string>{"gear"}));
  orders_->FieldByName("Customer")->SetAsString("Bo");  // not a key: the detail stays
  EXPECT_EQ(lines_->RecordCount(), 1);
  orders_->Cancel();
  EXPECT_EQ(Column(lines_, "Item"), (std::vector<std::string>{"bolt"}));
}

TEST_F(MasterDataLinkTest, WithoutAMasterTheDetailShowsEverything) {
  orders_->Close();
  EXPECT_EQ(lines_->RecordCount(), 5);
  EXPECT_EQ(Column(lines_, "Item"), (std::vector<std::string>{"axle", "nut", "washer", "bolt", "gear"}));
  orders_->Open();
  EXPECT_EQ(lines_->RecordCount(), 3);
  lines_->SetMasterSource(nullptr);
  EXPECT_EQ(lines_->RecordCount(), 5);
  lines_->SetMasterSource(source_);
  EXPECT_EQ(ErrorOf([&] { lines_->SetMasterFields("OrderNo"); }), "Orders: Field 'OrderNo' not found");

  // Without IndexFieldNames the detail fields are the master's names; rows
  // stay in append order.
  TADODataSet* notes = MakeTable("Notes", "OrderID:I;Text:S10");
  notes->Open();
  AddRows(notes, {{2, "b1"}, {1, "a1"}, {2, "b2"}});
  notes->SetMasterFields("OrderID");
  notes->SetMasterSource(source_);
  orders_->First();
  orders_->Next();
  EXPECT_EQ(Column(notes, "Text"), (std::vector<std::string>{"b1", "b2"}));
}

}  // namespace
