#include "platform/db/DataSet.h"

#include <gtest/gtest.h>

#include "tests/platform/db/DbFixture.h"
#include "platform/db/StdFields.h"
#include "platform/rtl/Classes.h"

namespace {

class DataSetTest : public DbTest {
 protected:
  // People: Name, City, Qty; rows in append order.
  TADODataSet* People() {
    TADODataSet* ds = MakeTable("People", "Name:S20;City:S20;Qty:I");
    ds->Open();
    AddRows(ds, {{"Ann", "Oslo", 3}, {"bob", "Rome", 5}, {"Bea", "oslo", 7}, {"Carl", Null(), 9}});
    return ds;
  }
};

TEST_F(DataSetTest, IllegalCallsRaiseTheLibraryErrors) {
  struct Case {
    const char* What;
    std::function<void(TADODataSet*)> Prepare;
    std::function<void(TADODataSet*)> Call;
    const char* Message;
  };
  auto closed = [](TADODataSet* ds) { ds->Close(); };
  auto browse = [](TADODataSet*) {};
  auto readOnly = [](TADODataSet* ds) {
    ds->Close();
    ds->SetLockType(ltReadOnly);
    ds->Open();
  };
  const std::string closedText = "People: Cannot perform this operation on a closed dataset";
  const Case cases[] = {
      {"First closed", closed, [](TADODataSet* ds) { ds->First(); }, closedText.c_str()},
      {"Next closed", closed, [](TADODataSet* ds) { ds->Next(); }, closedText.c_str()},
      {"Edit closed", closed, [](TADODataSet* ds) { ds->Edit(); }, closedText.c_str()},
      {"Append closed", closed, [](TADODataSet* ds) { ds->Append(); }, closedText.c_str()},
      {"Delete closed", closed, [](TADODataSet* ds) { ds->Delete(); }, closedText.c_str()},
      {"RecordCount closed", closed, [](TADODataSet* ds) { (void)ds->RecordCount(); }, closedText.c_str()},
      {"Locate closed", closed, [](TADODataSet* ds) { ds->Locate("Name", "Ann", {}); }, closedText.c_str()},
      {"Post closed", closed, [](TADODataSet* ds) { ds->Post(); }, "People: Dataset not in edit or insert mode"},
      {"Post browsing", browse, [](TADODataSet* ds) { ds->Post(); }, "People: Dataset not in edit or insert mode"},
      {"write browsing", browse, [](TADODataSet* ds) { ds->FieldByName("Qty")->SetAsInteger(1); },
       "People: Dataset not in edit or insert mode"},
      {"Delete empty",
       [](TADODataSet* ds) {
         ds->SetFilter("Qty > 100");
         ds->SetFiltered(true);
       },
       [](TADODataSet* ds) { ds->Delete(); }, "People: Cannot perform this operation on an empty dataset"},
      {"Edit read-only", readOnly, [](TADODataSet* ds) { ds->Edit(); }, "People: Cannot modify a read-only dataset"},
      {"Append read-only", readOnly, [](TADODataSet* ds) { ds->Append(); },
       "People: Cannot modify a read-only dataset"},
      {"Delete read-only", readOnly, [](TADODataSet* ds) { ds->Delete(); },
       "People: Cannot modify a read-only dataset"},
      {"unknown field", browse, [](TADODataSet* ds) { ds->FieldByName("Nope"); }, "People: Field 'Nope' not found"},
      {"field list", browse, [](TADODataSet* ds) { ds->FieldValues("Name;Nope"); }, "People: Field 'Nope' not found"},
      {"def while open", browse, [](TADODataSet* ds) { ds->FieldDefs().Add("Extra", ftInteger); },
       "People: Cannot perform this operation on an open dataset"},
      {"duplicate def", closed, [](TADODataSet* ds) { ds->FieldDefs().Add("name", ftInteger); },
       "People: Duplicate field name 'name'"},
      {"bad bookmark", browse, [](TADODataSet* ds) { ds->SetBookmark("999"); }, "People: Record not found"},
      {"as Boolean", browse, [](TADODataSet* ds) { (void)ds->FieldByName("Qty")->AsBoolean(); },
       "Cannot access field 'Qty' as type Boolean"},
      {"read-only field",
       [](TADODataSet* ds) { ds->FieldByName("Qty")->SetReadOnly(true); },
       [](TADODataSet* ds) {
         ds->Edit();
         ds->FieldByName("Qty")->SetAsInteger(1);
       },
       "Field 'Qty' cannot be modified"},
      {"required",
       [](TADODataSet* ds) { ds->FieldByName("City")->SetRequired(true); },
       [](TADODataSet* ds) { ds->AppendRecord({"Dan"}); }, "Field 'City' must have a value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TADODataSet* ds = People();
    c.Prepare(ds);
    EXPECT_EQ(ErrorOf([&] { c.Call(ds); }), c.Message);
    ds->Free();
  }
}

TEST_F(DataSetTest, ForwardOnlyRefusesToGoBack) {
  TADODataSet* ds = People();
  ds->Close();
  ds->SetCursorType(ctOpenForwardOnly);
  ds->Open();
  EXPECT_TRUE(ds->IsUniDirectional());
  ds->Next();
  EXPECT_EQ(ErrorOf([&] { ds->Prior(); }), "People: Operation not allowed on a unidirectional dataset");
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "bob");
}

TEST_F(DataSetTest, StatesFollowTheOperations) {
  TADODataSet* ds = MakeTable("T", "Name:S20;Qty:I");
  EXPECT_EQ(ds->State(), dsInactive);
  ds->Open();
  EXPECT_EQ(ds->State(), dsBrowse);
  ds->Edit();  // an empty data set edits by inserting
  EXPECT_EQ(ds->State(), dsInsert);
  EXPECT_FALSE(ds->Modified());
  ds->FieldByName("Name")->SetAsString("a");
  EXPECT_TRUE(ds->Modified());
  ds->Post();
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_FALSE(ds->Modified());
  ds->Edit();
  EXPECT_EQ(ds->State(), dsEdit);
  ds->FieldByName("Name")->SetAsString("changed");
  ds->Cancel();
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "a");
  // Leaving an unchanged insert discards it; a changed edit is posted.
  ds->Append();
  ds->CheckBrowseMode();
  EXPECT_EQ(ds->RecordCount(), 1);
  ds->Edit();
  ds->FieldByName("Qty")->SetAsInteger(4);
  ds->Next();
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(ds->FieldByName("Qty")->AsInteger(), 4);
  ds->Close();
  EXPECT_EQ(ds->State(), dsInactive);
  EXPECT_EQ(ds->FindField("Qty"), nullptr);  // default fields go with the cursor
}

TEST_F(DataSetTest, NavigationAtBothEnds) {
  TADODataSet* ds = People();
  ds->First();
  EXPECT_TRUE(ds->Bof());
  EXPECT_FALSE(ds->Eof());
  EXPECT_EQ(ds->RecNo(), 1);
  ds->Prior();
  EXPECT_TRUE(ds->Bof());
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "Ann");
  EXPECT_EQ(ds->MoveBy(10), 3);
  EXPECT_TRUE(ds->Eof());
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "Carl");
  ds->Next();
  EXPECT_TRUE(ds->Eof());
  EXPECT_EQ(ds->RecNo(), 4);
  ds->Prior();
  EXPECT_FALSE(ds->Eof());
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "Bea");
  EXPECT_EQ(ds->MoveBy(-10), -2);
  EXPECT_TRUE(ds->Bof());
  ds->Last();
  EXPECT_TRUE(ds->Eof());
  EXPECT_EQ(ds->RecNo(), 4);
  ds->SetRecNo(2);
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "bob");
  EXPECT_EQ(ds->RecordCount(), 4);

  TADODataSet* empty = MakeTable("E", "Name:S20");
  empty->Open();
  EXPECT_TRUE(empty->Bof() && empty->Eof() && empty->IsEmpty());
  EXPECT_EQ(empty->RecNo(), -1);
  EXPECT_TRUE(empty->FieldByName("Name")->IsNull());
  EXPECT_EQ(empty->MoveBy(1), 0);
}

TEST_F(DataSetTest, RowsKeepAppendOrderAndInsertGoesBeforeTheCurrent) {
  TADODataSet* ds = People();
  EXPECT_EQ(Column(ds, "Name"), (std::vector<std::string>{"Ann", "bob", "Bea", "Carl"}));
  ds->First();
  ds->Next();
  ds->InsertRecord({"Xia", "Lima", 1});
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "Xia");
  EXPECT_EQ(ds->RecNo(), 2);
  ds->AppendRecord({"Zed"});
  EXPECT_EQ(ds->RecNo(), 6);
  EXPECT_EQ(Column(ds, "Name"), (std::vector<std::string>{"Ann", "Xia", "bob", "Bea", "Carl", "Zed"}));
  // Rows stay in memory while the table is closed.
  ds->Close();
  ds->Open();
  EXPECT_EQ(ds->RecordCount(), 6);
}

TEST_F(DataSetTest, DeletingFromTheTopEmptiesTheTable) {
  TADODataSet* ds = People();
  ds->Last();
  ds->Delete();  // the last record: the cursor goes to the new last one
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "Bea");
  while (!ds->IsEmpty()) {
    ds->First();
    ds->Delete();
  }
  EXPECT_EQ(ds->RecordCount(), 0);
  EXPECT_TRUE(ds->Bof() && ds->Eof());
  ds->AppendRecord({"New"});
  EXPECT_EQ(Column(ds, "Name"), (std::vector<std::string>{"New"}));
}

TEST_F(DataSetTest, BookmarksNameTheirRecordUntilItIsDeleted) {
  TADODataSet* ds = People();
  ds->First();
  TBookmark first = ds->Bookmark();
  ds->Next();
  ds->Next();
  TBookmark third = ds->GetBookmark();
  EXPECT_TRUE(ds->BookmarkValid(first));
  EXPECT_LT(ds->CompareBookmarks(first, third), 0);
  EXPECT_GT(ds->CompareBookmarks(third, first), 0);
  EXPECT_EQ(ds->CompareBookmarks(third, third), 0);
  EXPECT_EQ(ds->CompareBookmarks(first, ""), -1);  // no bookmark sorts last
  EXPECT_EQ(ds->CompareBookmarks("", ""), 0);
  ds->GotoBookmark(first);
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "Ann");
  ds->SetBookmark(third);
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "Bea");
  ds->Delete();
  EXPECT_FALSE(ds->BookmarkValid(third));
  EXPECT_EQ(ErrorOf([&] { ds->GotoBookmark(third); }), "People: Record not found");
  ds->FreeBookmark(third);
  EXPECT_TRUE(third.empty());
  ds->Append();
  EXPECT_FALSE(ds->BookmarkAvailable());
  EXPECT_EQ(ds->Bookmark(), "");
  ds->Cancel();
  ds->Close();
  EXPECT_EQ(ds->Bookmark(), "");
}

TEST_F(DataSetTest, LocateWithEachOptionOnOneAndSeveralFields) {
  struct Case {
    const char* Fields;
    Variant Keys;
    TLocateOptions Options;
    const char* Found;  // nullptr: not found
  };
  const Case cases[] = {
      {"Name", "Bea", {}, "Bea"},
      {"Name", "bea", {}, nullptr},
      {"Name", "bea", {loCaseInsensitive}, "Bea"},
      {"Name", "B", {loPartialKey}, "Bea"},
      {"Name", "b", {loPartialKey}, "bob"},
      {"Name", "B", {loPartialKey, loCaseInsensitive}, "bob"},
      {"City;Qty", VarArrayOf({"oslo", 7}), {}, "Bea"},
      {"City;Qty", VarArrayOf({"oslo", 3}), {}, nullptr},
      {"City;Qty", VarArrayOf({"oslo", 3}), {loCaseInsensitive}, "Ann"},
      {"City;Name", VarArrayOf({"Ro", "B"}), {loPartialKey, loCaseInsensitive}, "bob"},
      {"City", Null(), {}, "Carl"},
      {"Qty", "9", {}, "Carl"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Fields);
    TADODataSet* ds = People();
    ds->Last();
    ds->Prior();  // not found leaves the cursor here (Bea)
    bool found = ds->Locate(c.Fields, c.Keys, c.Options);
    EXPECT_EQ(found, c.Found != nullptr);
    EXPECT_EQ(ds->FieldByName("Name")->AsString(), c.Found ? c.Found : "Bea");
    ds->Free();
  }
  TADODataSet* ds = People();
  EXPECT_THROW(ds->Locate("Qty", "many", {}), EVariantError);
}

TEST_F(DataSetTest, LookupAnswersWithoutMoving) {
  TADODataSet* ds = People();
  ds->First();
  EXPECT_EQ(VarToStr(ds->Lookup("Name", "Carl", "Qty")), "9");
  Variant both = ds->Lookup("Qty", 5, "Name;City");
  EXPECT_EQ(VarToStr(VarArrayGet(both, {0})), "bob");
  EXPECT_EQ(VarToStr(VarArrayGet(both, {1})), "Rome");
  EXPECT_TRUE(VarIsNull(ds->Lookup("Name", "Nobody", "Qty")));
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "Ann");
}

TEST_F(DataSetTest, FieldValuesBySemicolonList) {
  TADODataSet* ds = People();
  ds->First();
  Variant v = ds->FieldValues("Name; Qty");
  ASSERT_TRUE(VarIsArray(v));
  EXPECT_EQ(VarArrayHighBound(v, 1), 1);
  EXPECT_EQ(VarToStr(VarArrayGet(v, {0})), "Ann");
  EXPECT_EQ(VarArrayGet(v, {1}).AsInteger(), 3);
  EXPECT_EQ(VarToStr(ds->FieldValues("City")), "Oslo");
  ds->Edit();
  ds->SetFieldValues("Qty;City", VarArrayOf({11, "Bergen"}));
  ds->Post();
  EXPECT_EQ(ds->FieldByName("Qty")->AsInteger(), 11);
  EXPECT_EQ(ds->FieldByName("City")->AsString(), "Bergen");
}

TEST_F(DataSetTest, EventOrderOfAppendPostDeleteAndCancel) {
  TADODataSet* ds = MakeTable("T", "Name:S20");
  TEventLog log;
  log.Attach(ds);
  ds->Open();
  EXPECT_EQ(log.Joined(), "BeforeOpen AfterOpen");  // no AfterScroll on an empty set
  log.Names.clear();
  ds->Append();
  ds->FieldByName("Name")->SetAsString("a");
  ds->Post();
  EXPECT_EQ(log.Joined(), "BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll BeforePost AfterPost");
  log.Names.clear();
  ds->Insert();
  ds->Cancel();
  EXPECT_EQ(log.Joined(), "BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll BeforeCancel BeforeScroll "
                          "AfterCancel AfterScroll");
  log.Names.clear();
  ds->Delete();
  EXPECT_EQ(log.Joined(), "BeforeDelete BeforeScroll AfterDelete AfterScroll");
  log.Names.clear();
  ds->Close();
  EXPECT_EQ(log.Joined(), "BeforeClose AfterClose");
}

// An adapter that wraps AfterOpen and passes on to the handler it replaced.
class TChainingAdapter : public TObject {
 public:
  void Install(TDataSet* ds) {
    Saved = ds->AfterOpen;
    ds->AfterOpen = TDataSetNotifyEvent(this, &TChainingAdapter::AfterOpen);
  }
  TDataSetNotifyEvent Saved;
  int Calls = 0;

 private:
  void AfterOpen(TDataSet* ds) {
    ++Calls;
    if (Saved) Saved(ds);
  }
};

TEST_F(DataSetTest, AfterOpenCanBeChained) {
  TADODataSet* ds = MakeTable("T", "Name:S20");
  TEventLog log;
  log.Attach(ds);
  TChainingAdapter adapter;
  adapter.Install(ds);
  ds->Open();
  EXPECT_EQ(adapter.Calls, 1);
  EXPECT_EQ(log.Joined(), "BeforeOpen AfterOpen");
  ds->AfterOpen = adapter.Saved;  // put back
  ds->Close();
  ds->Open();
  EXPECT_EQ(adapter.Calls, 1);
}

TEST_F(DataSetTest, PostErrorEventMayAbortOrRetry) {
  struct Handler : TObject {
    int Calls = 0;
    TDataAction Action = daFail;
    TField* Fix = nullptr;
    void OnError(TDataSet*, EDatabaseError*, TDataAction& action) {
      ++Calls;
      action = Action;
      if (Fix) Fix->SetAsString("filled");
    }
  } handler;
  TADODataSet* ds = MakeTable("T", "Name:S20;City:S20");
  ds->Open();
  ds->FieldByName("City")->SetRequired(true);
  ds->OnPostError = TDataSetErrorEvent(&handler, &Handler::OnError);
  ds->Append();
  handler.Action = daAbort;
  EXPECT_THROW(ds->Post(), EAbort);
  EXPECT_EQ(ds->State(), dsInsert);
  handler.Action = daRetry;
  handler.Fix = ds->FieldByName("City");
  ds->Post();
  EXPECT_EQ(handler.Calls, 2);
  EXPECT_EQ(ds->FieldByName("City")->AsString(), "filled");
}

TEST_F(DataSetTest, GetFieldNamesComesFromFieldsOrDefinitions) {
  TADODataSet* ds = MakeTable("T", "Name:S20;Qty:I");
  TStringList names;
  ds->GetFieldNames(&names);
  EXPECT_EQ(names.CommaText(), "Name,Qty");
  ds->Open();
  ds->FieldByName("Qty")->SetIndex(0);
  ds->GetFieldNames(&names);
  EXPECT_EQ(names.CommaText(), "Qty,Name");
  EXPECT_EQ(ds->GetFieldList("Name;Qty").size(), 2u);
  EXPECT_EQ(ds->FieldCount(), 2);
  EXPECT_TRUE(ds->DefaultFields());
}

}  // namespace
