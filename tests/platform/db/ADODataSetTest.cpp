#include "platform/db/ADODataSet.h"

#include <gtest/gtest.h>

#include "tests/platform/db/DbFixture.h"
#include "platform/db/StdFields.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/FormFiles.h"

namespace {

// The print tables of the radio program's data module: the header table
// keeps its definitions in the form file, the detail table has persistent
// fields and is opened by the form.
const char* const PrintModule = R"(object fMaindb: TDataModule
  OldCreateOrder = False
  Left = 192
  Top = 107
  Height = 150
  Width = 215
  object myMain: TADODataSet
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    FieldDefs = <
      item
        Name = 'Title'
        DataType = ftString
        Size = 20
      end
      item
        Name = 'AField'
        DataType = ftString
        Size = 100
      end
      item
        Name = 'AValue'
        DataType = ftString
        Size = 100
      end
      item
        Name = 'BField'
        DataType = ftString
        Size = 100
      end
      item
        Name = 'BValue'
        DataType = ftString
        Size = 100
      end
      item
        Name = 'CField'
        DataType = ftString
        Size = 30
      end
      item
        Name = 'CValue'
        DataType = ftString
        Size = 30
      end
      item
        Name = 'DFiled'
        DataType = ftString
        Size = 30
      end
      item
        Name = 'DValue'
        DataType = ftString
        Size = 30
      end>
    StoreDefs = True
    Left = 24
    Top = 8
  end
  object myAdo: TADODataSet
    Active = True
    CursorType = ctStatic
    LockType = ltBatchOptimistic
    Left = 64
    Top = 8
    object myAdoTypeID: TIntegerField
      FieldName = 'TypeID'
    end
    object myAdoTypeName: TStringField
      FieldName = 'TypeName'
    end
    object myAdoAField: TStringField
      FieldName = 'AField'
      Size = 100
    end
    object myAdoAValue: TStringField
      FieldName = 'AValue'
      Size = 100
    end
    object myAdoBField: TStringField
      FieldName = 'BField'
      Size = 100
    end
    object myAdoBValue: TStringField
      FieldName = 'BValue'
      Size = 100
    end
  end
  object dsAdo: TDataSource
    DataSet = myAdo
    Left = 104
    Top = 8
  end
end
)";

class ADODataSetTest : public DbTest {};

TEST_F(ADODataSetTest, DataModuleFromItsFormFileOpensAndTakesRows) {
  auto* module = new TDataModule(Owner());
  ReadComponentText(PrintModule, module, "Maindb.form");
  auto* main = static_cast<TADODataSet*>(module->FindComponent("myMain"));
  auto* ado = static_cast<TADODataSet*>(module->FindComponent("myAdo"));
  auto* source = static_cast<TDataSource*>(module->FindComponent("dsAdo"));
  ASSERT_TRUE(main && ado && source);
  EXPECT_EQ(main->FieldDefs().Count(), 9);
  EXPECT_EQ(main->FieldDefs().Items(5)->Size(), 30);
  EXPECT_EQ(main->LockType(), ltBatchOptimistic);
  EXPECT_TRUE(ado->Active());  // opened when the form was loaded
  EXPECT_EQ(source->DataSet(), ado);
  EXPECT_EQ(source->State(), dsBrowse);
  EXPECT_FALSE(ado->DefaultFields());
  EXPECT_EQ(ado->FieldDefs().Count(), 6);  // taken from the persistent fields
  EXPECT_EQ(ado->FieldByName("TypeName")->Size(), 20);
  EXPECT_EQ(ado->DesignPosition.X, 64);

  main->Open();
  main->Append();
  main->FieldByName("Title")->SetAsString("VXN-N41/N42");
  main->FieldByName("AField")->SetAsString("Model Type");
  main->Post();
  for (int i = 0; i < 3; ++i) ado->AppendRecord({8, "Channel Information", "No.", i + 1});
  EXPECT_EQ(main->RecordCount(), 1);
  EXPECT_EQ(Column(ado, "AValue"), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(main->FieldByName("Title")->AsString(), "VXN-N41/N42");
  EXPECT_TRUE(main->FieldByName("DValue")->IsNull());
}

TEST_F(ADODataSetTest, FormTextWritesAndReadsDefinitionsAndFields) {
  auto* ds = new TADODataSet(nullptr);
  ds->SetName("Table1");
  ds->SetLockType(ltReadOnly);
  ds->SetStoreDefs(true);
  ds->FieldDefs().Add("ID", ftAutoInc);
  ds->FieldDefs().Add("Amount", ftFloat);
  auto* amount = new TFloatField(ds);
  amount->SetName("Table1Amount");
  amount->SetFieldName("Amount");
  amount->SetDisplayFormat("0.00");
  amount->SetDataSet(ds);
  std::string text = WriteComponentText(ds);
  ds->Free();
  EXPECT_NE(text.find("LockType = ltReadOnly"), std::string::npos);
  EXPECT_NE(text.find("DataType = ftAutoInc"), std::string::npos);
  EXPECT_NE(text.find("object Table1Amount: TFloatField"), std::string::npos);

  auto* again = static_cast<TADODataSet*>(ReadComponentText(text, nullptr));
  ASSERT_NE(again, nullptr);
  again->Open();
  EXPECT_EQ(again->FieldDefs().Count(), 2);
  EXPECT_EQ(static_cast<TFloatField*>(again->FieldByName("Amount"))->DisplayFormat(), "0.00");
  EXPECT_FALSE(again->CanModify());
  again->Free();
}

TEST_F(ADODataSetTest, PersistentFieldsMustMatchTheDefinitions) {
  TADODataSet* ds = MakeTable("T", "Qty:I;Name:S10");
  auto* wrongType = new TStringField(Owner());
  wrongType->SetFieldName("Qty");
  wrongType->SetDataSet(ds);
  EXPECT_EQ(ErrorOf([&] { ds->Open(); }), "T: Type mismatch for field 'Qty', expecting: String actual: Integer");
  EXPECT_FALSE(ds->Active());
  wrongType->Free();
  auto* wrongSize = new TStringField(Owner());
  wrongSize->SetFieldName("Name");
  wrongSize->SetDataSet(ds);
  EXPECT_EQ(ErrorOf([&] { ds->Open(); }), "T: Size mismatch for field 'Name', expecting: 20 actual: 10");
  wrongSize->SetSize(10);
  ds->Open();
  EXPECT_EQ(ds->FieldCount(), 1);  // only the persistent field
  auto* stray = new TIntegerField(Owner());
  stray->SetFieldName("Missing");
  EXPECT_EQ(ErrorOf([&] { stray->SetDataSet(ds); }), "T: Cannot perform this operation on an open dataset");
  wrongSize->Free();  // a data set closes before it loses a field
  EXPECT_FALSE(ds->Active());
  EXPECT_EQ(ds->FieldCount(), 0);
}

TEST_F(ADODataSetTest, ChangingTheStructureDropsTheRows) {
  TADODataSet* ds = MakeTable("T", "Name:S10");
  ds->Open();
  AddRows(ds, {{"a"}, {"b"}});
  ds->Close();
  ds->Open();
  EXPECT_EQ(ds->RecordCount(), 2);
  ds->Close();
  ds->FieldDefs().Add("Extra", ftInteger);
  ds->Open();
  EXPECT_EQ(ds->RecordCount(), 0);
}

TEST_F(ADODataSetTest, AutoIncrementNumbersNewRecordsOnPost) {
  TADODataSet* ds = MakeTable("T", "ID:A;Name:S10");
  ds->Open();
  ds->Append();
  EXPECT_TRUE(ds->FieldByName("ID")->IsNull());  // no number before the post
  EXPECT_FALSE(ds->FieldByName("ID")->CanModify());
  ds->FieldByName("Name")->SetAsString("a");
  ds->Post();
  EXPECT_EQ(ds->FieldByName("ID")->AsInteger(), 1);
  AddRows(ds, {{Variant(), "b"}, {Variant(), "c"}});
  EXPECT_EQ(ds->FieldByName("ID")->AsInteger(), 3);
  ds->Delete();
  ds->AppendRecord({Variant(), "d"});
  EXPECT_EQ(ds->FieldByName("ID")->AsInteger(), 4);  // numbers never come back
  EXPECT_EQ(ErrorOf([&] {
              ds->Edit();
              ds->FieldByName("ID")->SetAsInteger(9);
            }),
            "Field 'ID' cannot be modified");
}

}  // namespace
