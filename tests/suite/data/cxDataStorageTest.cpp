#include "suite/data/cxDataStorage.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/ObjectHandles.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct StorageTest : testing::Test {
  std::unique_ptr<TcxDataStorage> storage = std::make_unique<TcxDataStorage>();
  TcxValueDefs* defs() { return storage->ValueDefs(); }
  TcxValueDef* Add(TcxValueTypeClass type, bool textStored = false, bool stored = true) {
    return defs()->AddValueDef(type, stored, nullptr, textStored);
  }
};

class TFixedReader : public TcxValueDefReader {
 public:
  Variant SupplyValue(TcxValueDef* ADef) override {
    return ADef->ValueTypeClass() == TcxIntegerValueType::Class() ? Variant(42) : Variant("loaded");
  }
  std::string SupplyText(TcxValueDef*) override { return "shown"; }
  bool SkipsValueDef(TcxValueDef* ADef) override { return ADef->ValueTypeClass() == TcxFloatValueType::Class(); }
};

}  // namespace

TEST_F(StorageTest, LayoutFollowsTheDefinitions) {
  TcxValueDef* s = Add(TcxStringValueType::Class(), true);
  TcxValueDef* i = Add(TcxIntegerValueType::Class());
  const Integer ptr = cxPointerSlotSize;
  EXPECT_EQ(storage->RecordHeaderSize(), 1);
  EXPECT_EQ(s->Offset(), 1);
  EXPECT_EQ(s->Room(), 1 + ptr + ptr);
  EXPECT_EQ(i->Offset(), 1 + 1 + 2 * ptr);
  EXPECT_EQ(defs()->RecordSize(), i->Offset() + 5);
  storage->AssignKeepRecordIDs(true);
  EXPECT_EQ(s->Offset(), 5);
  storage->AssignKeepStoredOnly(true);
  TcxValueDef* hidden = Add(TcxFloatValueType::Class(), false, false);
  EXPECT_EQ(hidden->Room(), 0);
  EXPECT_EQ(defs()->StoredCount(), 2);
  EXPECT_EQ(storage->InternalValueDefs()->Count(), 3) << "every definition has its mirror";
}

TEST_F(StorageTest, RecordIDsCountFromOneAndRestartWhenEmpty) {
  storage->AssignKeepRecordIDs(true);
  for (int i = 0; i < 3; ++i) storage->AddRecord();
  EXPECT_EQ(storage->RecordID(0), 1);
  EXPECT_EQ(storage->RecordID(2), 3);
  storage->RemoveRecord(1);
  EXPECT_EQ(storage->RecordID(storage->AddRecord()), 4);
  storage->SetRecordCount(0);
  EXPECT_EQ(storage->RecordID(storage->AddRecord()), 1);
  storage->InsertRecordAt(0);
  EXPECT_EQ(storage->RecordID(0), 2);
  storage->AssignKeepRecordIDs(false);
  EXPECT_EQ(storage->RecordID(0), 0);
}

TEST_F(StorageTest, ValuesTextsAndAbsence) {
  TcxValueDef* s = Add(TcxStringValueType::Class());
  TcxValueDef* t = Add(TcxIntegerValueType::Class(), true);
  storage->SetRecordCount(2);
  EXPECT_TRUE(VarIsNull(storage->RecordValue(0, s)));
  EXPECT_EQ(storage->RecordText(0, s), "");
  const void* prepared = nullptr;
  EXPECT_TRUE(storage->PrepareCompare(0, s, prepared));
  EXPECT_FALSE(storage->HasRecordBuffer(0)) << "reads allocate nothing";

  storage->AssignRecordValue(0, s, "abc");
  storage->AssignRecordValue(0, t, 5);
  storage->AssignRecordText(0, t, "five");
  EXPECT_EQ(storage->RecordValue(0, s).AsString(), "abc");
  EXPECT_EQ(storage->RecordText(0, s), "abc") << "the value's own text";
  EXPECT_EQ(storage->RecordText(0, t), "five") << "the stored text";
  EXPECT_FALSE(storage->PrepareCompare(0, s, prepared));
  EXPECT_EQ(*static_cast<const std::string*>(prepared), "abc");

  EXPECT_EQ(storage->CompareRecordValues(1, 0, s), -1);
  EXPECT_EQ(storage->CompareRecordValues(0, 1, s), 1);
  EXPECT_EQ(storage->CompareRecordValues(1, 1, s), 0);

  storage->AssignRecordValue(0, s, Null());
  EXPECT_TRUE(VarIsNull(storage->RecordValue(0, s)));
}

TEST_F(StorageTest, NullReleasesTheCellAndZeroFills) {
  TcxValueDef* s = Add(TcxStringValueType::Class());
  storage->AddRecord();
  storage->AssignRecordValue(0, s, "abc");
  storage->AssignRecordValue(0, s, Null());
  const void* prepared = reinterpret_cast<const void*>(1);
  EXPECT_TRUE(storage->PrepareCompare(0, s, prepared));
  // The data bytes are zero again: storing anew creates a fresh cell.
  storage->AssignRecordValue(0, s, "x");
  EXPECT_EQ(storage->RecordValue(0, s).AsString(), "x");
}

TEST_F(StorageTest, FailedStoreChangesNothing) {
  TcxValueDef* i = Add(TcxSmallintValueType::Class());
  storage->SetRecordCount(2);
  EXPECT_THROW(storage->AssignRecordValue(0, i, "abc"), EVariantError);
  EXPECT_TRUE(VarIsNull(storage->RecordValue(0, i))) << "a Null value stays Null";
  storage->AssignRecordValue(1, i, 7);
  EXPECT_THROW(storage->AssignRecordValue(1, i, 70000), EVariantOverflowError);
  EXPECT_EQ(storage->RecordValue(1, i).AsInteger(), 7) << "a present value keeps its bytes";
}

TEST_F(StorageTest, DefinitionsComeAndGoUnderLiveBuffers) {
  TcxValueDef* a = Add(TcxStringValueType::Class());
  storage->SetRecordCount(3);
  storage->AssignRecordValue(0, a, "zero");
  storage->AssignRecordValue(2, a, "two");
  const Integer internal = storage->NewInternalRecord();
  storage->AssignRecordValue(internal, a, "copy");

  TcxValueDef* b = Add(TcxIntegerValueType::Class(), true);
  EXPECT_EQ(storage->RecordValue(0, a).AsString(), "zero");
  EXPECT_EQ(storage->RecordValue(internal, a).AsString(), "copy");
  EXPECT_TRUE(VarIsNull(storage->RecordValue(0, b)));
  EXPECT_TRUE(VarIsNull(storage->RecordValue(internal, b)));
  storage->AssignRecordValue(2, b, 9);
  storage->AssignRecordText(2, b, "nine");

  a->Free();  // the first value goes: the second moves down over it
  EXPECT_EQ(storage->RecordValue(2, b).AsInteger(), 9);
  EXPECT_EQ(storage->RecordText(2, b), "nine");
  EXPECT_EQ(storage->InternalValueDefs()->Count(), 1);

  b->Free();  // the last stored value: every buffer goes, the records stay
  EXPECT_EQ(storage->RecordCount(), 3);
  EXPECT_FALSE(storage->HasRecordBuffer(2));
  EXPECT_EQ(storage->InternalValueDefs()->Count(), 0);
}

TEST_F(StorageTest, InternalRecordsMirrorAndReuseSlots) {
  TcxValueDef* v = Add(TcxIntegerValueType::Class(), false, false);
  storage->AssignKeepStoredOnly(true);
  EXPECT_FALSE(v->IsStored());
  EXPECT_THROW(storage->AssignRecordValue(storage->AddRecord(), v, 1), EInvalidOperation);
  // Internal records keep every value, stored or not.
  const Integer first = storage->NewInternalRecord();
  EXPECT_EQ(first, -1);
  EXPECT_EQ(storage->NewInternalRecord(), -2);
  storage->AssignRecordValue(first, v, 3);
  EXPECT_EQ(storage->RecordValue(first, v).AsInteger(), 3);
  EXPECT_EQ(storage->InternalValueDefs()->Items(0)->LinkedObject(), v->LinkedObject());
  storage->RemoveRecord(-1);
  EXPECT_EQ(storage->NewInternalRecord(), -1) << "the freed slot is taken again";
  EXPECT_TRUE(VarIsNull(storage->RecordValue(-1, v)));

  int cleared = 0;
  struct Counter : TObject {
    int* count;
    void Cleared(TObject*) { ++*count; }
  } counter;
  counter.count = &cleared;
  storage->OnInternalRecordsCleared = TNotifyEvent(&counter, &Counter::Cleared);
  storage->DropInternalRecords();
  EXPECT_EQ(cleared, 1);
  EXPECT_EQ(storage->InternalRecordCount(), 0);
  storage->OnInternalRecordsCleared = TNotifyEvent();
}

TEST_F(StorageTest, IndexesAreChecked) {
  TcxValueDef* v = Add(TcxIntegerValueType::Class());
  storage->AddRecord();
  for (Integer index : {1, -1, 100, -2147483647 - 1}) {
    EXPECT_THROW(storage->RecordValue(index, v), EListError) << index;
    EXPECT_THROW(storage->AssignRecordValue(index, v, 1), EListError) << index;
    EXPECT_THROW(storage->RemoveRecord(index), EListError) << index;
  }
  EXPECT_THROW(storage->InsertRecordAt(2), EListError);
  EXPECT_THROW(defs()->Items(1), EListError);
}

TEST_F(StorageTest, LoadingAndSwitchChanges) {
  TcxValueDef* i = Add(TcxIntegerValueType::Class(), true);
  TcxValueDef* s = Add(TcxStringValueType::Class());
  TcxValueDef* f = Add(TcxFloatValueType::Class());
  storage->SetRecordCount(1);
  storage->AssignRecordValue(0, f, 1.5);
  TFixedReader reader;
  storage->LoadRecord(0, &reader);
  EXPECT_EQ(storage->RecordValue(0, i).AsInteger(), 42);
  EXPECT_EQ(storage->RecordText(0, i), "shown");
  EXPECT_EQ(storage->RecordValue(0, s).AsString(), "loaded");
  EXPECT_EQ(storage->RecordValue(0, f).AsDouble(), 1.5) << "skipped";

  // Turning text storage off releases the buffers laid out for the text cell.
  i->AssignTextStored(false);
  EXPECT_FALSE(storage->HasRecordBuffer(0));
  storage->AssignRecordValue(0, s, "after");
  EXPECT_EQ(storage->RecordValue(0, s).AsString(), "after");
  EXPECT_EQ(storage->RecordText(0, i), "");

  int calls = 0;
  struct Visitor : TObject {
    void Visit(TcxValueDef*, Integer index, void* data, void*) {
      EXPECT_EQ(index, 0);
      ++*static_cast<int*>(data);
    }
  } visitor;
  storage->LoadRecordVia(0, TcxLoadRecordMethod(&visitor, &Visitor::Visit), &calls, nullptr);
  EXPECT_EQ(calls, 3);
}

TEST_F(StorageTest, ObjectValuesOfCopiedRecordsFreeTheirObjectOnce) {
  TcxValueDef* o = Add(TcxObjectValueType::Class());
  storage->SetRecordCount(2);
  const Integer handle = ObjectToHandle(new TStringList);
  storage->AssignRecordValue(0, o, handle);
  // Copying a record reads each value and stores it into the other record.
  storage->AssignRecordValue(1, o, storage->RecordValue(0, o));
  storage->RemoveRecord(0);
  EXPECT_TRUE(IsLiveObjectHandle(handle));
  storage->ClearStorage();
  EXPECT_FALSE(IsLiveObjectHandle(handle));
}
