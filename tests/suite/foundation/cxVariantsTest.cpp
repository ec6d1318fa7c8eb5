#include "suite/foundation/cxVariants.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/FMTBcd.h"
#include "platform/rtl/SqlTimSt.h"

namespace {

Variant Array(std::initializer_list<Variant> values) { return VarArrayOf(values); }

}  // namespace

TEST(cxVariants, CompareVariantsTable) {
  struct Case {
    const char* name;
    Variant v1, v2;
    Integer expected;
  };
  Variant lowBound1 = VarArrayCreate({1, 2}, varVariant);
  const Case cases[] = {
      {"Null Null", Null(), Null(), 0},
      {"Null 5", Null(), 5, -1},
      {"5 Null", 5, Null(), 1},
      {"Null ''", Null(), "", -1},
      {"Unassigned Null", Unassigned(), Null(), 1},
      {"1 2", 1, 2, -1},
      {"2.5 2", 2.5, 2, 1},
      {"7 7.0", 7, 7.0, 0},
      {"a b", "a", "b", -1},
      {"b a", "b", "a", 1},
      // No comparison possible: -1 in both orders.
      {"abc 5", "abc", 5, -1},
      {"5 abc", 5, "abc", -1},
      {"[1,2] 7", Array({1, 2}), 7, 1},
      {"7 [1,2]", 7, Array({1, 2}), -1},
      {"Null [1]", Null(), Array({1}), -1},
      {"[1,2,3] [1,2]", Array({1, 2, 3}), Array({1, 2}), 1},
      {"[1] [1,2,3]", Array({1}), Array({1, 2, 3}), -2},  // the high bounds' difference
      {"[1,2] [1,3]", Array({1, 2}), Array({1, 3}), -1},
      {"[1,2] [1,2]", Array({1, 2}), Array({1, 2}), 0},
      {"[Null] [0]", Array({Null()}), Array({0}), -1},
      {"[[1],2] [[2],2]", Array({Array({1}), 2}), Array({Array({2}), 2}), -1},
      {"[[1,2]] [[1]]", Array({Array({1, 2})}), Array({Array({1})}), 1},
      {"[] []", VarArrayCreate({0, -1}, varVariant), VarArrayCreate({0, -1}, varVariant), 0},
      // Elements are read from index 0: arrays from 1 cannot be compared.
      {"[1..2] [1..2]", lowBound1, lowBound1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CompareVariants(c.v1, c.v2), c.expected);
    EXPECT_EQ(VariantsCompareEqual(c.v1, c.v2), c.expected == 0);
  }
  EXPECT_EQ(CompareScalarVariants(Null(), 1), -1);
  EXPECT_EQ(CompareVariantArrays(2, 1), 1);  // two scalars go to the scalar comparison
}

TEST(cxVariants, VariantsAreEqual) {
  struct Case {
    const char* name;
    Variant v1, v2;
    bool expected;
  };
  const Case cases[] = {
      {"True 'True'", true, "True", true},
      {"'True' True", "True", true, true},
      {"True 1", true, 1, false},  // "True" against "1"
      {"True -1", true, -1, false},
      {"False 'false'", false, "false", false},
      {"True True", true, true, true},
      {"Null False", Null(), false, false},
      {"Null Null", Null(), Null(), true},
      {"1 1.0", 1, 1.0, true},
      {"'a' 'a'", "a", "a", true},
      {"True [1]", true, Array({1}), false},  // the array has no text
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(VariantsAreEqual(c.v1, c.v2), c.expected);
  }
}

TEST(cxVariants, TypeTests) {
  const Variant date = VarFromDateTime(45000.5);
  const Variant stamp = VarSQLTimeStampCreate(45000.5);
  const Variant bcd = VarFMTBcdCreate("12.345");
  EXPECT_TRUE(VarIsDateKind(date));
  EXPECT_TRUE(VarIsDateKind(stamp));
  EXPECT_FALSE(VarIsDateKind(45000.5));
  EXPECT_FALSE(VarIsDateKind(VarArrayCreate({0, 0}, varDate)));
  EXPECT_TRUE(IsDateTypeCode(varDate));
  EXPECT_TRUE(IsDateTypeCode(varSQLTimeStamp));
  EXPECT_FALSE(IsDateTypeCode(varDouble));

  for (const Variant& v : {Variant(true), Variant(1), Variant(static_cast<unsigned char>(1)), Variant(1.5f),
                           Variant(2.5), Variant(Currency::FromScaled(1)), Variant(1LL), Variant(1u), bcd,
                           VarAsType(1, varSmallint), VarAsType(1, varShortInt), VarAsType(1, varWord)})
    EXPECT_TRUE(VarIsNumberKind(v)) << v;
  for (const Variant& v : {Variant("5"), date, stamp, Null(), Unassigned(), Array({1})})
    EXPECT_FALSE(VarIsNumberKind(v)) << v;

  EXPECT_TRUE(IsCurrencyTypeCode(varCurrency));
  EXPECT_TRUE(IsCurrencyTypeCode(varFMTBcd));
  EXPECT_FALSE(IsCurrencyTypeCode(varDouble));

  EXPECT_TRUE(VarIsNullOrEmptyText(Null()));
  EXPECT_TRUE(VarIsNullOrEmptyText(""));
  EXPECT_TRUE(VarIsNullOrEmptyText(u""));
  EXPECT_FALSE(VarIsNullOrEmptyText(Unassigned()));
  EXPECT_FALSE(VarIsNullOrEmptyText(" "));
  EXPECT_FALSE(VarIsNullOrEmptyText(0));
}

TEST(cxVariants, ArrayBuilders) {
  Variant a;
  MakeVariantPair(1, "x", a);
  EXPECT_EQ(VarType(a), varArray | varVariant);
  EXPECT_EQ(VarArrayLowBound(a, 1), 0);
  EXPECT_EQ(VarArrayHighBound(a, 1), 1);
  EXPECT_EQ(CompareVariants(a, Array({1, "x"})), 0);

  MakeVariantArray1(Null(), a);
  EXPECT_EQ(VarArrayHighBound(a, 1), 0);
  EXPECT_TRUE(VarIsNull(VarArrayGet(a, {0})));

  a = Array({1, 2});
  AppendToVariantArray(a, 3);
  EXPECT_EQ(CompareVariants(a, Array({1, 2, 3})), 0);
  Variant fromOne = VarArrayCreate({1, 2}, varVariant);
  VarArrayPut(fromOne, 7, {1});
  VarArrayPut(fromOne, 8, {2});
  AppendToVariantArray(fromOne, 9);
  EXPECT_EQ(CompareVariants(fromOne, Array({7, 8, 9})), 0);

  Variant scalar = 5;
  EXPECT_THROW(AppendToVariantArray(scalar, 1), EVariantError);
}

TEST(cxVariants, LookupList) {
  TcxLookupList list;
  Integer index = -1;
  EXPECT_FALSE(list.FindLookupValue(1, index));
  EXPECT_EQ(index, 0);
  for (int v : {5, 1, 3}) {
    ASSERT_FALSE(list.FindLookupValue(v, index));
    list.InsertLookupItem(index, v, "#" + std::to_string(v));
  }
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.LookupItemAt(0)->DisplayText, "#1");
  EXPECT_EQ(list.LookupItemAt(2)->DisplayText, "#5");

  struct Case {
    Variant value;
    bool found;
    Integer index;
  };
  const Case cases[] = {{4, false, 2}, {5, true, 2}, {1, true, 0}, {0, false, 0}, {9, false, 3},
                        {Null(), false, 0}, {3.0, true, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.value));
    EXPECT_EQ(list.FindLookupValue(c.value, index), c.found);
    EXPECT_EQ(index, c.index);
  }
  EXPECT_THROW(list.LookupItemAt(3), EListError);
  list.ClearLookupItems();
  EXPECT_EQ(list.Count(), 0);
}
