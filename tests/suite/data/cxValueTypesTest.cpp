#include "suite/data/cxValueTypes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "platform/rtl/FMTBcd.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/ObjectHandles.h"
#include "platform/rtl/SqlTimSt.h"
#include "platform/rtl/SysUtils.h"
#include "suite/editors/cxFilterEditHelpers.h"
#include "suite/editors/cxTextEditProperties.h"

namespace {

// A data part of any width, zero-filled as the storage hands it out, released
// when the test ends.
struct Slot {
  explicit Slot(TcxValueTypeClass type) : Type(type) {}
  ~Slot() { Type->ReleaseData(Data.data()); }
  TcxValueTypeClass Type;
  std::array<Byte, 40> Data{};
  Byte* P() { return Data.data(); }
  Variant Load() {
    Variant v;
    Type->LoadVariant(P(), v);
    return v;
  }
  std::string Text() {
    std::string t;
    Type->DefaultText(P(), t);
    return t;
  }
};

Int64 StreamedSize(TcxValueTypeClass type, const Variant& value) {
  Slot slot(type);
  if (!VarIsNull(value)) type->StoreVariant(slot.P(), value);
  TMemoryStream stream;
  type->StreamOutData(slot.P(), &stream);
  stream.SetPosition(0);
  Slot back(type);
  type->StreamInData(back.P(), &stream);
  EXPECT_EQ(stream.Position(), stream.Size());
  if (!VarIsNull(value) && type != TcxObjectValueType::Class()) {
    EXPECT_EQ(type->CompareAt(slot.P(), back.P()), 0) << type->TypeCaption(); }
  return stream.Size();
}

}  // namespace

TEST(cxValueTypes, RegistryListsTheFourteenTypesOnce) {
  TcxValueTypeClassList* list = ValueTypeClassList();
  const char* captions[] = {"String",   "WideString", "Smallint", "Integer",      "Word",    "Boolean", "Float",
                            "Currency", "DateTime",   "LargeInt", "SQLTimeStamp", "Variant", "Object"};
  std::vector<std::string> listed;
  for (Integer i = 0; i < list->Count(); ++i) listed.push_back(list->Items(i)->TypeCaption());
  ASSERT_EQ(list->Count(), 14);
  EXPECT_EQ(listed[10], "FMTBcd");
  listed.erase(listed.begin() + 10);
  EXPECT_EQ(listed, std::vector<std::string>(std::begin(captions), std::end(captions)));
  AddValueTypeClass(TcxStringValueType::Class());
  EXPECT_EQ(list->Count(), 14);
  EXPECT_EQ(TcxValueType::Class()->TypeCaption(), "");
  EXPECT_THROW(list->Items(14), EListError);
}

TEST(cxValueTypes, EachTypeStoresLoadsComparesShowsAndStreams) {
  TFormatSettingsPin english;
  struct Case {
    TcxValueTypeClass type;
    Integer width;
    Variant low, high;
    TVarType loadType;
    std::string lowText;
    Int64 streamSize;
  };
  const Integer ptr = cxPointerSlotSize;
  TBcd small = StrToBcd("-1.25"), big = StrToBcd("12345678901234567890.5");
  TSQLTimeStamp early{2020, 1, 2, 3, 4, 5, 6}, late{2020, 1, 2, 3, 4, 6, 0};
  const Case cases[] = {
      {TcxStringValueType::Class(), ptr, "ab", "b", varString, "ab", 4 + 2},
      {TcxWideStringValueType::Class(), ptr, std::u16string(u"\u00E4"), std::u16string(u"\u4E2D"), varOleStr,
       "\xC3\xA4", 4 + 2},
      {TcxSmallintValueType::Class(), 2, -32768, 32767, varSmallint, "-32768", 2},
      {TcxIntegerValueType::Class(), 4, -2147483647 - 1, 2147483647, varInteger, "-2147483648", 4},
      {TcxWordValueType::Class(), 2, 0, 65535, varWord, "0", 2},
      {TcxBooleanValueType::Class(), 1, false, true, varBoolean, "False", 1},
      {TcxFloatValueType::Class(), 8, -0.5, 0.1, varDouble, "-0.5", 10},
      {TcxCurrencyValueType::Class(), 8, Currency::FromScaled(-1), Currency::FromScaled(1), varCurrency, "-0.0001", 8},
      {TcxDateTimeValueType::Class(), 8, VarFromDateTime(1.5), VarFromDateTime(2.0), varDate, "12/31/1899 12:00:00 PM",
       8},
      {TcxLargeIntValueType::Class(), 8, -5000000000LL, 5000000000LL, varInt64, "-5000000000", 8},
      {TcxFMTBcdValueType::Class(), 34, Variant(small), Variant(big), varFMTBcd, "-1.25", 1 + 1 + 5},
      {TcxSQLTimeStampValueType::Class(), 16, Variant(early), Variant(late), varDate, "1/2/2020 3:04:05 AM", 0},
      {TcxVariantValueType::Class(), ptr, 1, 2.5, varInteger, "1", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type->TypeCaption());
    EXPECT_EQ(c.type->DataWidth(), c.width);
    Slot lo(c.type), hi(c.type);
    c.type->StoreVariant(lo.P(), c.low);
    c.type->StoreVariant(hi.P(), c.high);
    EXPECT_EQ(VarType(lo.Load()), c.loadType);
    EXPECT_LT(c.type->CompareAt(lo.P(), hi.P()), 0);
    EXPECT_GT(c.type->CompareAt(hi.P(), lo.P()), 0);
    EXPECT_EQ(c.type->CompareAt(lo.P(), lo.P()), 0);
    EXPECT_EQ(lo.Text(), c.lowText);
    // The sorting path (prepared pointers) agrees with the direct one.
    EXPECT_LT(c.type->ComparePrepared(c.type->PrepareDataPointer(lo.P()), c.type->PrepareDataPointer(hi.P())), 0);
    Variant prepared;
    c.type->PreparedToVariant(c.type->PrepareDataPointer(lo.P()), prepared);
    EXPECT_EQ(VarType(prepared), c.loadType);
    if (c.streamSize > 0) { EXPECT_EQ(StreamedSize(c.type, c.low), c.streamSize); }
  }
  EXPECT_EQ(StreamedSize(TcxObjectValueType::Class(), 0), 0);
}

TEST(cxValueTypes, PointerHoldingTypesOrderMissingCellsFirst) {
  for (TcxValueTypeClass type :
       {TcxStringValueType::Class(), TcxWideStringValueType::Class(), TcxVariantValueType::Class()}) {
    SCOPED_TRACE(type->TypeCaption());
    Slot none1(type), none2(type), empty(type);
    type->StoreVariant(empty.P(), "");
    EXPECT_EQ(type->CompareAt(none1.P(), none2.P()), 0);
    EXPECT_EQ(type->CompareAt(none1.P(), empty.P()), -1);
    EXPECT_TRUE(VarIsNull(none1.Load()));
    // Storing again reuses the cell.
    std::array<Byte, 40> before = empty.Data;
    type->StoreVariant(empty.P(), "z");
    EXPECT_EQ(std::memcmp(before.data(), empty.Data.data(), cxPointerSlotSize), 0);
    type->ReleaseData(empty.P());
    EXPECT_EQ(type->PrepareDataPointer(empty.P()), nullptr);
  }
  // Byte order, not letter case: "B" < "a".
  Slot upper(TcxStringValueType::Class()), lower(TcxStringValueType::Class());
  TcxStringValueType::Class()->StoreVariant(upper.P(), "B");
  TcxStringValueType::Class()->StoreVariant(lower.P(), "a");
  EXPECT_EQ(TcxStringValueType::Class()->CompareAt(upper.P(), lower.P()), -1);
}

TEST(cxValueTypes, WideStringsStreamTheirCodeUnitsAsTheyAre) {
  TcxValueTypeClass type = TcxWideStringValueType::Class();
  Slot slot(type), back(type);
  const std::u16string text = u"\u4E2D\u6587\U0001F600";
  type->StoreVariant(slot.P(), text);
  TMemoryStream stream;
  type->StreamOutData(slot.P(), &stream);
  EXPECT_EQ(stream.Size(), 4 + 2 * static_cast<Int64>(text.size()));
  stream.SetPosition(0);
  type->StreamInData(back.P(), &stream);
  EXPECT_EQ(back.Load().AsWideString(), text);
}

TEST(cxValueTypes, SixteenBitTypesRaiseForValuesOutOfRange) {
  struct Case {
    TcxValueTypeClass type;
    Variant value;
  };
  const Case cases[] = {{TcxSmallintValueType::Class(), 70000},
                        {TcxSmallintValueType::Class(), -32769},
                        {TcxWordValueType::Class(), -1},
                        {TcxWordValueType::Class(), 65536}};
  for (const Case& c : cases) {
    Slot slot(c.type);
    c.type->StoreVariant(slot.P(), 7);
    EXPECT_THROW(c.type->StoreVariant(slot.P(), c.value), EVariantOverflowError) << VarToStr(c.value);
    EXPECT_EQ(slot.Load().AsInteger(), 7) << "the old value stays";
  }
}

TEST(cxValueTypes, FailedConversionKeepsTheOldBytes) {
  for (TcxValueTypeClass type : {TcxIntegerValueType::Class(), TcxFloatValueType::Class(),
                                 TcxStringValueType::Class(), TcxCurrencyValueType::Class()}) {
    Slot slot(type);
    type->StoreVariant(slot.P(), 5);
    const std::array<Byte, 40> before = slot.Data;
    const Variant bad = type == TcxStringValueType::Class() ? Variant(VarArrayOf({1})) : Variant("abc");
    EXPECT_THROW(type->StoreVariant(slot.P(), bad), EVariantError) << type->TypeCaption();
    EXPECT_EQ(slot.Data, before) << type->TypeCaption();
  }
}

TEST(cxValueTypes, AcceptsVariantConvertsInPlace) {
  Variant v = "12";
  EXPECT_TRUE(TcxIntegerValueType::Class()->AcceptsVariant(v));
  EXPECT_EQ(VarType(v), varInteger);
  EXPECT_EQ(v.AsInteger(), 12);
  v = "abc";
  EXPECT_FALSE(TcxIntegerValueType::Class()->AcceptsVariant(v));
  v = Null();
  EXPECT_TRUE(TcxIntegerValueType::Class()->AcceptsVariant(v));
  v = VarArrayOf({1});
  EXPECT_TRUE(TcxVariantValueType::Class()->AcceptsVariant(v));
  v = 70000;
  EXPECT_FALSE(TcxSmallintValueType::Class()->AcceptsVariant(v));
}

TEST(cxValueTypes, DefaultTextNeverRaises) {
  Slot date(TcxDateTimeValueType::Class());
  double outOfRange = 1e12;
  std::memcpy(date.P(), &outOfRange, 8);
  EXPECT_NO_THROW(date.Text());
}

TEST(cxValueTypes, ObjectsAreHeldByHandleAndFreedByTheLastHolder) {
  TcxValueTypeClass type = TcxObjectValueType::Class();
  EXPECT_EQ(type->DataWidth(), cxPointerSlotSize);
  auto* object = new TStringList;
  const Integer handle = ObjectToHandle(object);
  {
    Slot a(type), b(type);
    type->StoreVariant(a.P(), handle);
    type->StoreVariant(b.P(), a.Load());  // a copied record holds it too
    EXPECT_EQ(a.Load().AsInteger(), handle);
    type->ReleaseData(a.P());
    EXPECT_TRUE(IsLiveObjectHandle(handle)) << "b still holds it";
  }
  EXPECT_FALSE(IsLiveObjectHandle(handle)) << "freed with the last holder";

  Slot slot(type);
  EXPECT_THROW(type->StoreVariant(slot.P(), handle), EInvalidCast) << "a dead handle";
  EXPECT_THROW(type->StoreVariant(slot.P(), 123456789), EInvalidCast) << "a foreign integer";
  EXPECT_THROW(type->StoreVariant(slot.P(), "x"), EVariantError);
  EXPECT_EQ(slot.Load().AsInteger(), 0);
  type->StoreVariant(slot.P(), 0);  // nil is fine
}

TEST(cxValueTypes, FilterHelpersOfferPatternsForStringTypesAndCheckValuesByType) {
  TcxTextEditProperties text(nullptr);
  TcxCustomFilterEditHelperClass helper = TcxFilterTextEditHelper::Class();
  for (TcxValueTypeClass type : {TcxStringValueType::Class(), TcxWideStringValueType::Class()})
    EXPECT_EQ(helper->SupportedOperators(&text, type, false), 0x7FEu) << type->TypeCaption();
  for (TcxValueTypeClass type : {TcxIntegerValueType::Class(), TcxVariantValueType::Class(), TcxDateTimeValueType::Class()})
    EXPECT_EQ(helper->SupportedOperators(&text, type, false), 0x67Eu) << type->TypeCaption();

  Variant v = "12";
  EXPECT_TRUE(helper->IsValueValid(TcxIntegerValueType::Class(), v));
  EXPECT_EQ(VarType(v), varInteger);
  v = "abc";
  EXPECT_FALSE(helper->IsValueValid(TcxIntegerValueType::Class(), v));
  EXPECT_TRUE(helper->IsValueValid(TcxStringValueType::Class(), v));
}
