#include "suite/data/cxDataStreams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/FMTBcd.h"
#include "platform/rtl/SysUtils.h"

namespace {

using Bytes = std::vector<Byte>;

Bytes Written(const Variant& v) {
  TMemoryStream stream;
  PutVariant(&stream, v);
  const auto* data = static_cast<const Byte*>(stream.Memory());
  return Bytes(data, data + stream.Size());
}

Variant ReadBack(const Bytes& bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
  stream.SetPosition(0);
  Variant v = FetchVariant(&stream);
  EXPECT_EQ(stream.Position(), stream.Size()) << "every byte is read";
  return v;
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST(cxDataStreams, TaggedVariantBytesBothWays) {
  struct Case {
    const char* name;
    Variant value;
    Bytes bytes;
    TVarType readType;
  };
  const Case cases[] = {
      {"300", 300, {0x03, 0x2C, 0x01}, varSmallint},
      {"-1", -1, {0x02, 0xFF}, varShortInt},
      {"70000", 70000, {0x04, 0x70, 0x11, 0x01, 0x00}, varInteger},
      {"Unassigned", Unassigned(), {0x0D}, varEmpty},
      {"Null", Null(), {0x00}, varNull},
      {"True", true, {0x09}, varBoolean},
      {"False", false, {0x08}, varBoolean},
      {"Currency", Currency::FromScaled(12345), {0x10, 0x39, 0x30, 0, 0, 0, 0, 0, 0}, varCurrency},
      {"Single", 1.5f, {0x0F, 0x00, 0x00, 0xC0, 0x3F}, varSingle},
      {"Double 1", 1.0, {0x05, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}, varDouble},
      {"Date", VarFromDateTime(2.0), {0x11, 0, 0, 0, 0, 0, 0, 0, 0x40}, varDate},
      {"short string", "ab", {0x06, 0x02, 'a', 'b'}, varString},
      {"wide", std::u16string(u"\u4E2D"), {0x12, 0x01, 0, 0, 0, 0x2D, 0x4E}, varOleStr},
      {"Word as text", static_cast<unsigned short>(7), {0x06, 0x01, '7'}, varString},
      {"Int64 as text", 5000000000LL, {0x06, 0x0A, '5', '0', '0', '0', '0', '0', '0', '0', '0', '0'}, varString},
      {"empty array", VarArrayCreate({0, -1}, varVariant), {0x01, 0x02, 0x00}, varArray | varVariant},
      {"array", VarArrayOf({1, "x"}), {0x01, 0x02, 0x02, 0x02, 0x01, 0x06, 0x01, 'x'}, varArray | varVariant},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Written(c.value), c.bytes);
    const Variant back = ReadBack(c.bytes);
    EXPECT_EQ(VarType(back), c.readType);
    if (!VarIsArray(back) && !VarIsClear(back)) { EXPECT_EQ(VarToStr(back), VarToStr(c.value)); }
  }
}

TEST(cxDataStreams, StringsSwitchToLongFormPast255AndDoublesAreExact) {
  const std::string s255(255, 'x'), s256(256, 'y');
  EXPECT_EQ(Written(s255)[0], 0x06);
  const Bytes long256 = Written(s256);
  EXPECT_EQ(Bytes(long256.begin(), long256.begin() + 5), (Bytes{0x0C, 0x00, 0x01, 0x00, 0x00}));
  EXPECT_EQ(ReadBack(long256).AsString(), s256);
  for (double d : {0.1, -1e300, 5e-324, 3.141592653589793}) EXPECT_EQ(ReadBack(Written(d)).AsDouble(), d);
}

TEST(cxDataStreams, RefusedInputRaisesReadErrorBeforeAllocating) {
  struct Case {
    const char* name;
    Bytes bytes;
  };
  std::vector<Case> cases;
  for (Byte tag : {7, 10, 11, 14, 19, 255}) cases.push_back({"unknown tag", {tag}});
  cases.push_back({"negative long string", {0x0C, 0xFF, 0xFF, 0xFF, 0xFF}});
  cases.push_back({"long string longer than the stream", {0x0C, 0x00, 0x00, 0x00, 0x40, 'a'}});
  cases.push_back({"negative wide string", {0x12, 0xFE, 0xFF, 0xFF, 0xFF}});
  cases.push_back({"wide string longer than the stream", {0x12, 0x02, 0, 0, 0, 'a', 0, 'b'}});
  cases.push_back({"negative array count", {0x01, 0x02, 0xFF}});
  cases.push_back({"array count beyond the stream", {0x01, 0x04, 0xFF, 0xFF, 0xFF, 0x7F, 0x00}});
  cases.push_back({"array count of another tag", {0x01, 0x06, 0x01, '1'}});
  cases.push_back({"short payload", {0x04, 0x01}});
  cases.push_back({"short string payload", {0x06, 0x05, 'a'}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      ReadBack(c.bytes);
      ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message, "Stream read error");
    }
  }
}

TEST(cxDataStreams, ArraysNestSixtyFourDeep) {
  auto nested = [](int depth) {
    Bytes bytes;
    for (int i = 0; i < depth; ++i) bytes = Concat(bytes, {0x01, 0x02, 0x01});
    bytes.push_back(0x00);  // the innermost element: Null
    return bytes;
  };
  Variant v = ReadBack(nested(64));
  for (int i = 0; i < 64; ++i) {
    ASSERT_TRUE(VarIsArray(v)) << i;
    v = VarArrayGet(v, {0});
  }
  EXPECT_TRUE(VarIsNull(v));
  EXPECT_THROW(ReadBack(nested(65)), EReadError);
}

TEST(cxDataStreams, WriteErrors) {
  EXPECT_THROW(Written(VarArrayCreate({0, 1, 0, 1}, varVariant)), EWriteError);
}

TEST(cxDataStreams, FixedWidthForms) {
  TMemoryStream stream;
  PutByte(&stream, 0xAB);
  PutBoolean(&stream, true);
  PutInt16(&stream, -2);
  PutUInt16(&stream, 0xFFFE);
  PutInt32(&stream, -3);
  PutInt64(&stream, -4);
  PutCurrency(&stream, Currency::FromScaled(-5));
  PutDateTime(&stream, 45000.25);
  PutExtended(&stream, 0.1);
  PutText(&stream, "hi");
  PutWideText(&stream, u"\u00E9\U0001F600");
  EXPECT_EQ(stream.Size(), 1 + 1 + 2 + 2 + 4 + 8 + 8 + 8 + 10 + 6 + 4 + 6);
  stream.SetPosition(0);
  EXPECT_EQ(FetchByte(&stream), 0xAB);
  Boolean b = false;
  FetchBoolean(&stream, b);
  EXPECT_TRUE(b);
  EXPECT_EQ(FetchInt16(&stream), -2);
  EXPECT_EQ(FetchUInt16(&stream), 0xFFFE);
  EXPECT_EQ(FetchInt32(&stream), -3);
  EXPECT_EQ(FetchInt64(&stream), -4);
  EXPECT_EQ(FetchCurrency(&stream).Value, -5);
  EXPECT_EQ(FetchDateTime(&stream), 45000.25);
  EXPECT_EQ(FetchExtended(&stream), 0.1);
  EXPECT_EQ(FetchText(&stream), "hi");
  EXPECT_EQ(FetchWideText(&stream), u"\u00E9\U0001F600");
  EXPECT_THROW(FetchByte(&stream), EReadError);

  TMemoryStream empty;
  PutInt32(&empty, 0);
  empty.SetPosition(0);
  EXPECT_EQ(FetchText(&empty), "");
}
