#include "suite/data/cxFilter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Clock.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "suite/data/cxDataStreams.h"
#include "suite/data/cxFilterConsts.h"
#include "suite/data/cxFilterValueList.h"

namespace {

// A column: its name, caption, number in streams and one value per record.
struct TField : TObject {
  TField(std::string name, std::string caption, Integer id) : Name(std::move(name)), Caption(std::move(caption)), ID(id) {}
  std::string Name, Caption;
  Integer ID;
  std::vector<Variant> Values;
};

class TItem : public TcxFilterCriteriaItem {
 public:
  using TcxFilterCriteriaItem::TcxFilterCriteriaItem;
  Variant RecordValueOf(Integer ARecordIndex) override {
    auto* field = dynamic_cast<TField*>(ItemLink());
    return field ? field->Values.at(static_cast<size_t>(ARecordIndex)) : Null();
  }
  std::string LinkCaption() override { return static_cast<TField*>(ItemLink())->Caption; }
  std::string LinkFieldName() override { return static_cast<TField*>(ItemLink())->Name; }
};

class TCriteria : public TcxFilterCriteria {
 public:
  std::vector<TField*> Fields;
  int Changes = 0;
  TCriteria() { OnChanged = TNotifyEvent(this, &TCriteria::Count); }
  void Count(TObject*) { ++Changes; }
  Integer ItemLinkID(TObject* AItemLink) override {
    auto* field = dynamic_cast<TField*>(AItemLink);
    return field ? field->ID : -1;
  }
  TObject* ItemLinkByID(Integer AID) override {
    for (TField* f : Fields)
      if (f->ID == AID) return f;
    return nullptr;
  }
  TcxFilterCriteriaItem* CreateCriteriaItem(TcxFilterCriteriaItemList* AParent, const std::string& ADisplayValue,
                                            const Variant& AValue, TcxFilterOperatorKind AOperatorKind,
                                            TObject* AItemLink) override {
    return new TItem(AParent, ADisplayValue, AValue, AOperatorKind, AItemLink);
  }
};

struct FilterTest : testing::Test {
  TFormatSettingsPin english;
  TField name{"Name", "Customer name", 3};
  TField amount{"Amount", "Amount", 4};
  TCriteria criteria;
  FilterTest() { criteria.Fields = {&name, &amount}; }

  std::vector<Byte> Stream(TcxFilterCriteria& c) {
    TMemoryStream s;
    c.WriteCriteria(&s);
    const auto* p = static_cast<const Byte*>(s.Memory());
    return std::vector<Byte>(p, p + s.Size());
  }
  void Read(TcxFilterCriteria& c, const std::vector<Byte>& bytes) {
    TMemoryStream s;
    if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    s.SetPosition(0);
    c.ReadCriteria(&s);
  }
  // One condition on the amount, evaluated against one record value.
  bool Matches(TcxFilterOperatorKind kind, const Variant& value, const Variant& recordValue,
               TcxFilterCriteriaOptions options = {}) {
    TCriteria c;
    c.Fields = {&amount};
    c.SetOptions(options);
    amount.Values = {recordValue};
    c.Root()->AddCondition(&amount, kind, value, "");
    return c.EvaluateRecord(0);
  }
};

Variant Pair(const Variant& a, const Variant& b) { return VarArrayOf({a, b}); }

}  // namespace

TEST_F(FilterTest, OperatorsAgainstRecordValues) {
  struct Case {
    TcxFilterOperatorKind kind;
    Variant value, record;
    TcxFilterCriteriaOptions options;
    bool expected;
  };
  const Case cases[] = {
      {foEqual, 5, 5, {}, true},
      {foEqual, 5, 6, {}, false},
      {foEqual, Null(), Null(), {}, true},
      {foEqual, Null(), 5, {}, false},
      {foNotEqual, 5, 6, {}, true},
      {foNotEqual, 5, Null(), {}, true},
      {foNotEqual, 5, Null(), {fcoIgnoreNull}, false},
      {foNotEqual, Null(), 5, {}, true},
      {foLess, 5, Null(), {}, true},
      {foGreater, 5, Null(), {}, false},
      {foLessEqual, 5, 5, {}, true},
      {foGreaterEqual, 5, 4, {}, false},
      {foLess, 5, "abc", {}, true},  // incomparable compares as -1, never raises
      {foLike, "%son", "Jackson", {}, true},
      {foNotLike, "%son", "Jackson", {}, false},
      {foLike, "a_c", "abc", {}, true},
      {foLike, "A%", "abc", {}, false},
      {foLike, "A%", "abc", {fcoCaseInsensitive}, true},
      {foLike, Null(), Null(), {}, true},
      {foNotLike, Null(), "x", {}, true},
      {foBetween, Pair(1, 5), 1, {}, true},
      {foBetween, Pair(1, 5), 5, {}, true},
      {foBetween, Pair(1, 5), 6, {}, false},
      {foBetween, Pair(5, 1), 3, {}, false},
      {foBetween, Pair(1, 5), Null(), {}, false},
      {foNotBetween, Pair(1, 5), 6, {}, true},
      {foInList, Pair("a", "b"), "a", {}, true},
      {foInList, Pair("a", "b"), "c", {}, false},
      {foNotInList, Pair("a", "b"), "c", {}, true},
      {foInList, VarArrayOf({"abc"}), "ABC", {fcoCaseInsensitive}, true},
      {foEqual, "abc", "ABC", {fcoCaseInsensitive}, true},
      {foEqual, "abc", "ABC", {}, false},
      {foEqual, Null(), "", {}, false},
      {foEqual, Null(), "", {fcoSoftNull}, true},
      {foInList, Pair(1, 2), "x", {fcoSoftCompare}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.kind << " " << VarToStr(c.record));
    EXPECT_EQ(Matches(c.kind, c.value, c.record, c.options), c.expected);
  }
  EXPECT_THROW(Matches(foInList, Pair(1, 2), "x"), EVariantError);
}

TEST_F(FilterTest, NullValuesTakeTheNullOperators) {
  auto* equal = criteria.Root()->AddCondition(&name, foEqual, Null(), "");
  auto* notLike = criteria.Root()->AddCondition(&name, foNotLike, Null(), "");
  auto* less = criteria.Root()->AddCondition(&name, foLess, Null(), "");
  EXPECT_EQ(equal->Operator()->ClassType(), TcxFilterNullOperator::StaticClass());
  EXPECT_EQ(equal->DisplayValue(), "blank");
  EXPECT_EQ(notLike->Operator()->ClassType(), TcxFilterNotNullOperator::StaticClass());
  EXPECT_EQ(less->Operator()->ClassType(), TcxFilterLessOperator::StaticClass());
  TcxFilterOperator plain(nullptr);
  EXPECT_THROW(plain.Sign(), EAbstractError);
  EXPECT_THROW(plain.Matches(1, 1), EAbstractError);
}

TEST_F(FilterTest, GroupsCombineAllTheirChildren) {
  struct Case {
    TcxFilterBoolOperatorKind kind;
    std::vector<bool> children;
    bool expected;
  };
  const Case cases[] = {
      {fboAnd, {}, true},           {fboNotAnd, {}, true},          {fboAnd, {true, false}, false},
      {fboOr, {false, true}, true}, {fboNotAnd, {true, false}, true}, {fboNotAnd, {true, true}, false},
      {fboNotOr, {false}, true},    {fboNotOr, {false, true}, false}, {fboNotOr, {false, false}, true},
  };
  amount.Values = {1};
  for (const Case& c : cases) {
    TCriteria t;
    t.Root()->AssignBoolOperatorKind(c.kind);
    for (bool child : c.children) t.Root()->AddCondition(&amount, child ? foEqual : foNotEqual, 1, "1");
    EXPECT_EQ(t.EvaluateRecord(0), c.expected) << c.kind << " " << c.children.size();
  }
}

TEST_F(FilterTest, DateRangesFollowTheClock) {
  TFakeClockScope scope(1000, EncodeDate(2024, 1, 15) + 0.5);
  TFakeClock& clock = scope.Clock();
  auto range = [&](TcxFilterOperatorKind kind) {
    TCriteria c;
    auto* item = c.Root()->AddCondition(&amount, kind, Null(), "");
    auto* op = static_cast<TcxFilterDateOperator*>(item->Operator());
    return std::make_pair(op->RangeStart(), op->RangeEnd());
  };
  using R = std::pair<double, double>;
  EXPECT_EQ(range(foLastMonth), R(EncodeDate(2023, 12, 1), EncodeDate(2024, 1, 1)));
  EXPECT_EQ(range(foThisMonth), R(EncodeDate(2024, 1, 1), EncodeDate(2024, 2, 1)));
  EXPECT_EQ(range(foNextMonth), R(EncodeDate(2024, 2, 1), EncodeDate(2024, 3, 1)));
  EXPECT_EQ(range(foLastYear), R(EncodeDate(2023, 1, 1), EncodeDate(2024, 1, 1)));
  EXPECT_EQ(range(foNextYear), R(EncodeDate(2025, 1, 1), EncodeDate(2026, 1, 1)));
  EXPECT_EQ(range(foYesterday), R(EncodeDate(2024, 1, 14), EncodeDate(2024, 1, 15)));
  clock.SetNow(EncodeDate(2024, 12, 10));
  EXPECT_EQ(range(foNextMonth), R(EncodeDate(2025, 1, 1), EncodeDate(2025, 2, 1)));
  EXPECT_EQ(range(foThisMonth), R(EncodeDate(2024, 12, 1), EncodeDate(2025, 1, 1)));
  clock.SetNow(EncodeDate(2024, 11, 10));
  EXPECT_EQ(range(foNextMonth), R(EncodeDate(2024, 12, 1), EncodeDate(2025, 1, 1)));
  {
    TFormatSettings monday = TFormatSettings::English();
    monday.FirstDayOfWeek = 0;
    TFormatSettingsPin pin(monday);
    clock.SetNow(EncodeDate(2024, 3, 10));  // a Sunday
    EXPECT_EQ(range(foThisWeek), R(EncodeDate(2024, 3, 4), EncodeDate(2024, 3, 11)));
    EXPECT_EQ(range(foLastWeek), R(EncodeDate(2024, 2, 26), EncodeDate(2024, 3, 4)));
  }

  // Today at 23:59 passes "is today", tomorrow 00:00 does not; after midnight
  // the same condition follows the new day.
  const double today = EncodeDate(2024, 3, 10);
  clock.SetNow(today + 0.5);
  TCriteria c;
  amount.Values = {VarFromDateTime(today + EncodeTime(23, 59, 0, 0)), VarFromDateTime(today + 1), Null()};
  c.Root()->AddCondition(&amount, foToday, Null(), "");
  EXPECT_TRUE(c.EvaluateRecord(0));
  EXPECT_FALSE(c.EvaluateRecord(1));
  EXPECT_FALSE(c.EvaluateRecord(2));
  clock.SetNow(today + 1.25);
  EXPECT_FALSE(c.EvaluateRecord(0));
  EXPECT_TRUE(c.EvaluateRecord(1));
}

TEST_F(FilterTest, UpdateBracketsAndRemovalByLink) {
  criteria.BeginCriteriaUpdate();
  for (int i = 0; i < 3; ++i) criteria.Root()->AddCondition(&name, foEqual, i, "");
  criteria.EndCriteriaUpdate();
  EXPECT_EQ(criteria.Changes, 1);
  criteria.SetOptions({});
  EXPECT_EQ(criteria.Changes, 1);
  criteria.ClearCriteria();

  TField x{"X", "X", 1}, y{"Y", "Y", 2}, z{"Z", "Z", 5};
  criteria.Fields = {&x, &y, &z};
  // and(X, or(Y)): removing Y frees the empty group.
  criteria.Root()->AddCondition(&x, foEqual, 1, "1");
  criteria.Root()->AddGroup(fboOr)->AddCondition(&y, foEqual, 1, "1");
  criteria.Changes = 0;
  criteria.RemoveItemsByLink(&y);
  EXPECT_EQ(criteria.Changes, 1);
  ASSERT_EQ(criteria.Root()->ChildCount(), 1);
  EXPECT_FALSE(criteria.Root()->ChildAt(0)->IsGroup());
  criteria.RemoveItemsByLink(&y);
  EXPECT_EQ(criteria.Changes, 1) << "nothing removed, nothing told";

  // and(or(Y, Z), X): the group dissolves and Z moves to the end.
  criteria.ClearCriteria();
  auto* group = criteria.Root()->AddGroup(fboOr);
  group->AddCondition(&y, foEqual, 1, "1");
  group->AddCondition(&z, foEqual, 1, "1");
  criteria.Root()->AddCondition(&x, foEqual, 1, "1");
  criteria.RemoveItemsByLink(&y);
  ASSERT_EQ(criteria.Root()->ChildCount(), 2);
  EXPECT_EQ(static_cast<TcxFilterCriteriaItem*>(criteria.Root()->ChildAt(0))->ItemLink(), &x);
  EXPECT_EQ(static_cast<TcxFilterCriteriaItem*>(criteria.Root()->ChildAt(1))->ItemLink(), &z);

  // not-and(Y, Z) left with Z stays a negating group.
  criteria.ClearCriteria();
  auto* negated = criteria.Root()->AddGroup(fboNotAnd);
  negated->AddCondition(&y, foEqual, 1, "1");
  negated->AddCondition(&z, foEqual, 1, "1");
  z.Values = {1};
  criteria.RemoveItemsByLink(&y);
  ASSERT_EQ(criteria.Root()->ChildCount(), 1);
  ASSERT_TRUE(criteria.Root()->ChildAt(0)->IsGroup());
  EXPECT_FALSE(criteria.EvaluateRecord(0)) << "not (Z = 1) on Z = 1";
}

TEST_F(FilterTest, AssignCopiesAndSkipsEqualTrees) {
  criteria.SetMaxValueListCount(7);
  criteria.SetDateTimeFormat("yyyy-mm-dd");
  criteria.Root()->AddCondition(&name, foLike, "a%", "a%");
  TCriteria copy;
  copy.Fields = criteria.Fields;
  copy.Assign(&criteria);
  EXPECT_EQ(Stream(copy), Stream(criteria));
  EXPECT_EQ(copy.MaxValueListCount(), 7);
  EXPECT_TRUE(copy.SameCriteria(&criteria));
  auto* before = copy.Root()->ChildAt(0);
  copy.Assign(&criteria);
  EXPECT_EQ(copy.Root()->ChildAt(0), before) << "an equal tree is left alone";

  criteria.SetOptions({fcoSoftNull});
  criteria.RestoreDefaults();
  EXPECT_TRUE(criteria.Options().Empty());
  EXPECT_EQ(criteria.MaxValueListCount(), 7);
  EXPECT_EQ(criteria.DateTimeFormat(), "yyyy-mm-dd");

  TCriteria empty;
  empty.Root()->AssignBoolOperatorKind(fboOr);
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_TRUE(empty.HasContent());
}

TEST_F(FilterTest, TextForms) {
  struct Case {
    const char* name;
    std::function<void(TCriteria&)> build;
    const char* expression;
    const char* display;
  };
  auto leaf = [&](TCriteria& c, TcxFilterOperatorKind kind, const Variant& v, const char* shown) {
    c.Root()->AddCondition(&name, kind, v, shown);
  };
  const Case cases[] = {
      {"equal", [&](TCriteria& c) { leaf(c, foEqual, "Smith", "Smith"); }, "(Name = 'Smith')",
       "(Customer name = Smith)"},
      {"or",
       [&](TCriteria& c) {
         c.Root()->AssignBoolOperatorKind(fboOr);
         leaf(c, foEqual, 1, "1");
         leaf(c, foLess, 2, "2");
       },
       "(Name = 1) OR (Name < 2)", "(Customer name = 1) or (Customer name < 2)"},
      {"not and",
       [&](TCriteria& c) {
         c.Root()->AssignBoolOperatorKind(fboNotAnd);
         leaf(c, foEqual, 1, "1");
         leaf(c, foEqual, 2, "2");
       },
       "NOT ((Name = 1) AND (Name = 2))", "not ((Customer name = 1) and (Customer name = 2))"},
      {"between", [&](TCriteria& c) { leaf(c, foBetween, Pair(1, 5), "1;5"); }, "(Name BETWEEN 1 AND 5)",
       "(Customer name between 1 and 5)"},
      {"in list", [&](TCriteria& c) { leaf(c, foInList, Pair("a", "b"), "a; b"); }, "(Name IN ('a', 'b'))",
       "(Customer name in (a, b))"},
      {"null", [&](TCriteria& c) { leaf(c, foEqual, Null(), ""); }, "(Name = NULL)", "(Customer name = blank)"},
      {"quote", [&](TCriteria& c) { leaf(c, foEqual, "O'Brien", "O'Brien"); }, "(Name = 'O''Brien')",
       "(Customer name = O'Brien)"},
      {"like", [&](TCriteria& c) { leaf(c, foLike, "abc%", "abc%"); }, "(Name LIKE 'abc%')",
       "(Customer name LIKE abc%)"},
      {"nested", [&](TCriteria& c) {
         leaf(c, foEqual, 1, "1");
         c.Root()->AddGroup(fboNotOr)->AddCondition(&name, foEqual, 2, "2");
       },
       "(Name = 1) AND (NOT ((Name = 2)))", "(Customer name = 1) and (not ((Customer name = 2)))"},
  };
  for (const Case& c : cases) {
    TCriteria t;
    c.build(t);
    EXPECT_EQ(t.BuildFilterText(), c.expression) << c.name;
    EXPECT_EQ(t.BuildDisplayText(), c.display) << c.name;
  }

  TCriteria t;
  t.SetOptions({fcoShowOperatorDescription});
  leaf(t, foEqual, "Smith", "Smith");
  leaf(t, foLike, "abc%", "abc%");
  leaf(t, foEqual, Null(), "");
  EXPECT_EQ(t.BuildDisplayText(),
            "(Customer name equals Smith) and (Customer name begins with abc) and (Customer name is blank)");
  t.SetTranslateBetween(true);
  t.ClearCriteria();
  leaf(t, foBetween, Pair(1, 5), "1;5");
  EXPECT_EQ(t.BuildFilterText(), "((Name >= 1) AND (Name <= 5))");
  t.SetTranslateIn(true);
  t.ClearCriteria();
  leaf(t, foNotInList, Pair(1, 2), "1;2");
  EXPECT_EQ(t.BuildFilterText(), "(NOT ((Name = 1) OR (Name = 2)))");
}

TEST_F(FilterTest, DatesAndKeysInTheExpression) {
  TFakeClockScope scope(1000, EncodeDate(2024, 5, 6) + 0.3);
  criteria.Root()->AddCondition(&name, foToday, Null(), "");
  EXPECT_EQ(criteria.BuildFilterText(), "((Name >= '5/6/2024') AND (Name < '5/7/2024'))");
  EXPECT_EQ(criteria.BuildDisplayText(), "(Customer name is today)");
  criteria.SetDateTimeFormat("yyyy'x'mm");
  criteria.ClearCriteria();
  criteria.Root()->AddCondition(&name, foEqual, VarFromDateTime(EncodeDate(2024, 5, 6)), "");
  EXPECT_EQ(criteria.BuildFilterText(), "(Name = '2024x05')");

  TField key{"A; B", "Key", 9};
  criteria.ClearCriteria();
  criteria.Root()->AddCondition(&key, foEqual, Pair(1, "x"), "");
  EXPECT_EQ(criteria.BuildFilterText(), "((A = 1) AND (B = 'x'))");
  criteria.ClearCriteria();
  criteria.Root()->AddCondition(&key, foEqual, VarArrayOf({1, 2, 3}), "");
  EXPECT_THROW(criteria.BuildFilterText(), EVariantError);
}

TEST_F(FilterTest, StreamBytes) {
  using Bytes = std::vector<Byte>;
  EXPECT_EQ(Stream(criteria), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0}));
  criteria.Root()->AddCondition(&name, foEqual, 5, "5");
  const Bytes one{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x01, 0, 0, 0, 0x00, 0x00, 0x01, 0, 0, 0, '5', 0x03, 0, 0, 0, 0x02, 0x05};
  EXPECT_EQ(Stream(criteria), one);

  TCriteria other;
  other.Fields = criteria.Fields;
  auto* group = other.Root()->AddGroup(fboNotOr);
  group->AddCondition(&amount, foBetween, Pair(1, 2), "1;2");
  const Bytes grouped = Stream(other);
  const Bytes head{0xFF, 0xFF, 0xFF, 0xFF, 0, 1, 0, 0, 0, 0x01, 0x03, 1, 0, 0, 0, 0x00, 0x08};
  EXPECT_EQ(Bytes(grouped.begin(), grouped.begin() + static_cast<long>(head.size())), head);
  const Bytes tail{0x01, 0x02, 0x02, 0x02, 0x01, 0x02, 0x02};
  EXPECT_EQ(Bytes(grouped.end() - static_cast<long>(tail.size()), grouped.end()), tail);

  TCriteria back;
  back.Fields = criteria.Fields;
  Read(back, grouped);
  EXPECT_EQ(Stream(back), grouped);
  EXPECT_EQ(back.Changes, 1);
  Read(back, {0, 0, 0, 0});
  EXPECT_TRUE(back.IsEmpty());
  EXPECT_EQ(back.Root()->BoolOperatorKind(), fboAnd);

  // An unknown item number keeps the condition with no link.
  Bytes unknown = one;
  unknown[16] = 0x63;
  Read(back, unknown);
  ASSERT_EQ(back.Root()->ChildCount(), 1);
  EXPECT_EQ(static_cast<TcxFilterCriteriaItem*>(back.Root()->ChildAt(0))->ItemLink(), nullptr);
}

TEST_F(FilterTest, RefusedStreamsLeaveTheCriteriaAlone) {
  using Bytes = std::vector<Byte>;
  criteria.Root()->AddCondition(&name, foEqual, 5, "5");
  const Bytes before = Stream(criteria);
  Bytes deep = {0xFF, 0xFF, 0xFF, 0xFF, 0, 1, 0, 0, 0};
  for (int i = 0; i < 70; ++i) deep.insert(deep.end(), {0x01, 0x00, 0x01, 0, 0, 0});
  struct Case {
    const char* name;
    Bytes bytes;
  };
  const Case cases[] = {
      {"short", {0xFF, 0xFF}},
      {"root kind 4", {0xFF, 0xFF, 0xFF, 0xFF, 4, 0, 0, 0, 0}},
      {"negative count", {0xFF, 0xFF, 0xFF, 0xFF, 0, 0xFE, 0xFF, 0xFF, 0xFF}},
      {"count past the end", {0xFF, 0xFF, 0xFF, 0xFF, 0, 0x10, 0, 0, 0, 0}},
      {"old form negative", {0xFE, 0xFF, 0xFF, 0xFF}},
      {"operator kind 24", {0xFF, 0xFF, 0xFF, 0xFF, 0, 1, 0, 0, 0, 0, 24, 0, 0, 0, 0, 3, 0, 0, 0, 0}},
      {"bad variant tag", {0xFF, 0xFF, 0xFF, 0xFF, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 7}},
      {"good node then truncated", {0xFF, 0xFF, 0xFF, 0xFF, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0}},
      {"nested too deep", deep},
  };
  for (const Case& c : cases) {
    criteria.Changes = 0;
    EXPECT_THROW(Read(criteria, c.bytes), EReadError) << c.name;
    EXPECT_EQ(Stream(criteria), before) << c.name;
    EXPECT_EQ(criteria.Changes, 0) << c.name;
    EXPECT_EQ(criteria.LockCount(), 0) << c.name;
  }
}

TEST_F(FilterTest, ValueList) {
  auto list = criteria.CreateValueList();
  for (int v : {3, 1, 2, 2}) list->AddEntry(fviValue, v, false, std::to_string(v));
  ASSERT_EQ(list->EntryCount(), 3);
  EXPECT_EQ(list->EntryAt(0).Value.AsInteger(), 1);
  EXPECT_EQ(list->EntryAt(2).Value.AsInteger(), 3);
  list->AddEntry(fviAll, Null(), false, "(All)");
  list->AddEntry(fviCustom, Null(), false, "(Custom...)");
  list->AddEntry(fviBlanks, Null(), false, "(Blanks)");
  EXPECT_EQ(list->EntryAt(2).Kind, fviBlanks);
  EXPECT_EQ(list->FirstValueIndex(), 3);

  // Conditions map to entries.
  auto* onTwo = criteria.Root()->AddCondition(&name, foEqual, 2, "2");
  auto* onNine = criteria.Root()->AddCondition(&name, foEqual, 9, "9");
  auto* blank = criteria.Root()->AddCondition(&name, foEqual, Null(), "");
  auto* nonBlank = criteria.Root()->AddCondition(&name, foNotEqual, Null(), "");
  auto* inGroup = criteria.Root()->AddGroup(fboOr)->AddCondition(&name, foEqual, 2, "2");
  EXPECT_EQ(list->IndexOfCondition(onTwo), 4);
  EXPECT_EQ(list->IndexOfCondition(onNine), 0);
  EXPECT_EQ(list->IndexOfCondition(blank), 2);
  EXPECT_EQ(list->IndexOfCondition(nonBlank), -1);
  EXPECT_EQ(list->IndexOfCondition(inGroup), 1);
  EXPECT_EQ(list->IndexOfCondition(nullptr), -1);

  criteria.SetMaxValueListCount(3);
  auto limited = criteria.CreateValueList();
  limited->AddEntry(fviAll, Null(), false, "(All)");
  limited->AddEntry(fviCustom, Null(), false, "(Custom...)");
  for (int v : {5, 6, 7}) limited->AddEntry(fviValue, v, false, "");
  EXPECT_EQ(limited->EntryCount(), 3);
  limited->AddEntry(fviValue, 8, true, "");
  EXPECT_EQ(limited->EntryCount(), 4) << "appending ignores the limit";

  criteria.SetMaxValueListCount(0);
  criteria.SetOptions({fcoCaseInsensitive});
  auto byText = criteria.CreateValueList();
  byText->SetSortByDisplayText(true);
  byText->AddEntry(fviValue, 1, false, "abc");
  byText->AddEntry(fviValue, 2, false, "ABC");
  EXPECT_EQ(byText->EntryCount(), 1);

  auto head = criteria.CreateValueList();
  head->AddEntry(fviSpecial, 1, false, "first");
  EXPECT_EQ(head->EntryAt(1).Kind, fviSpecialSeparator);
  head->AddEntry(fviSpecial, 2, false, "second");
  ASSERT_EQ(head->EntryCount(), 3);
  EXPECT_EQ(head->EntryAt(1).DisplayText, "second");
  EXPECT_EQ(head->HeadSeparatorIndex(), 2);
}

TEST_F(FilterTest, WordsPassThroughTheTranslationRoutine) {
  SetFilterTranslateProc([](std::string_view text) { return "[" + std::string(text) + "]"; });
  criteria.Root()->AddCondition(&name, foBetween, Pair(1, 2), "1;2");
  const std::string display = criteria.BuildDisplayText();
  SetFilterTranslateProc(nullptr);
  EXPECT_EQ(display, "(Customer name [between] 1 [and] 2)");
}

TEST_F(FilterTest, WrappedFormCarriesThePublishedSettings) {
  criteria.SetOptions({fcoCaseInsensitive, fcoSoftNull});
  criteria.SetPercentWildcard('*');
  criteria.SetMaxValueListCount(12);
  TMemoryStream stream;
  criteria.WriteWrapped(&stream);
  stream.SetPosition(0);
  TCriteria back;
  back.ReadWrapped(&stream);
  EXPECT_EQ(back.Options(), criteria.Options());
  EXPECT_EQ(back.PercentWildcard(), '*');
  EXPECT_EQ(back.MaxValueListCount(), 12);
}
