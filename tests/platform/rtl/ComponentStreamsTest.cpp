#include "platform/rtl/ComponentStreams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "tests/platform/rtl/ComponentFixtures.h"

using namespace fixtures;

namespace {

std::string Bytes(TMemoryStream& s) {
  return std::string(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

}  // namespace

TEST(ComponentStreamTest, EveryValueTagRoundTrips) {
  struct Row {
    const char* what;
    TValueType tag;
    std::function<void(TWriter&)> write;
    std::function<void(TReader&)> readAndCheck;
    size_t size;  // bytes including the tag
  };
  const Row rows[] = {
      {"list", vaList, [](TWriter& w) { w.WriteListBegin(); w.WriteInteger(1); w.WriteListEnd(); },
       [](TReader& r) { r.ReadListBegin(); EXPECT_EQ(r.ReadInteger(), 1); EXPECT_TRUE(r.EndOfList()); r.ReadListEnd(); }, 4},
      {"int8", vaInt8, [](TWriter& w) { w.WriteInteger(-128); }, [](TReader& r) { EXPECT_EQ(r.ReadInteger(), -128); }, 2},
      {"int16", vaInt16, [](TWriter& w) { w.WriteInteger(-32768); }, [](TReader& r) { EXPECT_EQ(r.ReadInteger(), -32768); }, 3},
      {"int32", vaInt32, [](TWriter& w) { w.WriteInteger(70000); }, [](TReader& r) { EXPECT_EQ(r.ReadInteger(), 70000); }, 5},
      {"int64", vaInt64, [](TWriter& w) { w.WriteInteger(int64_t{1} << 40); },
       [](TReader& r) { EXPECT_EQ(r.ReadInt64(), int64_t{1} << 40); }, 9},
      {"extended", vaExtended, [](TWriter& w) { w.WriteFloat(-2.5); }, [](TReader& r) { EXPECT_EQ(r.ReadFloat(), -2.5); }, 11},
      {"short string", vaString, [](TWriter& w) { w.WriteString("abc"); }, [](TReader& r) { EXPECT_EQ(r.ReadString(), "abc"); }, 5},
      {"ident", vaIdent, [](TWriter& w) { w.WriteIdent("alClient"); }, [](TReader& r) { EXPECT_EQ(r.ReadIdent(), "alClient"); }, 10},
      {"false", vaFalse, [](TWriter& w) { w.WriteBoolean(false); }, [](TReader& r) { EXPECT_FALSE(r.ReadBoolean()); }, 1},
      {"true", vaTrue, [](TWriter& w) { w.WriteBoolean(true); }, [](TReader& r) { EXPECT_TRUE(r.ReadBoolean()); }, 1},
      {"binary", vaBinary, [](TWriter& w) { w.WriteBinary("\x00\xFF", 2); },
       [](TReader& r) { EXPECT_EQ(r.ReadBinary(), std::string("\x00\xFF", 2)); }, 7},
      {"set", vaSet, [](TWriter& w) { w.WriteValue(vaSet); w.WriteStr("akLeft"); w.WriteStr(""); },
       [](TReader& r) { r.SkipValue(); }, 9},
      {"long string", vaLString, [](TWriter& w) { w.WriteString(std::string(300, 'x')); },
       [](TReader& r) { EXPECT_EQ(r.ReadString(), std::string(300, 'x')); }, 305},
      {"nil", vaNil, [](TWriter& w) { w.WriteIdent("nil"); }, [](TReader& r) { EXPECT_TRUE(VarIsEmpty(r.ReadVariant())); }, 1},
      {"collection", vaCollection,
       [](TWriter& w) { w.WriteValue(vaCollection); w.WriteListBegin(); w.WriteStr("Width"); w.WriteInteger(5); w.WriteListEnd(); w.WriteListEnd(); },
       [](TReader& r) { r.SkipValue(); }, 12},
      {"single", vaSingle, [](TWriter& w) { w.WriteSingle(1.5f); }, [](TReader& r) { EXPECT_EQ(r.ReadSingle(), 1.5f); }, 5},
      {"currency", vaCurrency, [](TWriter& w) { w.WriteCurrency(Currency::FromScaled(-12345)); },
       [](TReader& r) { EXPECT_EQ(r.ReadCurrency().Value, -12345); }, 9},
      {"date", vaDate, [](TWriter& w) { w.WriteDate(45000.25); }, [](TReader& r) { EXPECT_EQ(r.ReadDate(), 45000.25); }, 9},
      {"wide string", vaWString, [](TWriter& w) { w.WriteWideString(u"\u4E2Dx"); },
       [](TReader& r) { EXPECT_EQ(r.ReadWideString(), u"\u4E2Dx"); }, 9},
      {"utf8 string", vaUTF8String, [](TWriter& w) { w.WriteString("\u4E2D"); },
       [](TReader& r) { EXPECT_EQ(r.ReadString(), "\u4E2D"); }, 8},
      {"null", vaNull, [](TWriter& w) { w.WriteVariant(Null()); }, [](TReader& r) { EXPECT_TRUE(VarIsNull(r.ReadVariant())); }, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TMemoryStream s;
    TWriter w(s);
    row.write(w);
    ASSERT_EQ(static_cast<size_t>(s.Size()), row.size);
    EXPECT_EQ(static_cast<Byte>(Bytes(s)[0]), row.tag);
    s.SetPosition(0);
    TReader r(s);
    row.readAndCheck(r);
    EXPECT_EQ(s.Position(), s.Size());
  }
}

TEST(ComponentStreamTest, ExtendedRealsOnKnownBytePatterns) {
  struct Row {
    double value;
    const char* bytes;  // the 10 bytes after the tag, as hex
  };
  const Row rows[] = {
      {1.0, "0000000000000080FF3F"},
      {-2.5, "00000000000000A000C0"},
      {0.0, "00000000000000000000"},
      {1e100, "00E81BA62C694D924B41"},
      {std::ldexp(1.0, -1074), "0000000000000080CD3B"},  // the smallest subnormal double
  };
  for (const Row& row : rows) {
    TMemoryStream s;
    TWriter(s).WriteFloat(row.value);
    std::string hex = BinToHexText(Bytes(s).substr(1));
    EXPECT_EQ(hex, std::string(row.bytes) + "\n") << row.value;
    s.SetPosition(0);
    EXPECT_EQ(TReader(s).ReadFloat(), row.value);
  }
}

// Numbers and length prefixes are little-endian on every machine, so files
// written here read anywhere.
TEST(ComponentStreamTest, FixedWidthFieldsOnKnownBytePatterns) {
  struct Row {
    const char* what;
    std::function<void(TWriter&)> write;
    const char* bytes;  // what follows the tag, as hex
  };
  const Row rows[] = {
      {"int8", [](TWriter& w) { w.WriteInteger(-2); }, "FE"},
      {"int16", [](TWriter& w) { w.WriteInteger(-300); }, "D4FE"},
      {"int32", [](TWriter& w) { w.WriteInteger(0x12345678); }, "78563412"},
      {"int64", [](TWriter& w) { w.WriteInteger(-0x123456789LL); }, "7798BADCFEFFFFFF"},
      {"single", [](TWriter& w) { w.WriteSingle(1.5f); }, "0000C03F"},
      {"currency", [](TWriter& w) { w.WriteCurrency(Currency::FromScaled(-12345)); }, "C7CFFFFFFFFFFFFF"},
      {"date", [](TWriter& w) { w.WriteDate(2.0); }, "0000000000000040"},
      {"binary", [](TWriter& w) { w.WriteBinary("\xAB", 1); }, "01000000AB"},
      {"wide string", [](TWriter& w) { w.WriteWideString(u"A\u4E2D"); }, "0200000041002D4E"},
      {"utf8 string", [](TWriter& w) { w.WriteString("\u00E9"); }, "02000000C3A9"},
  };
  for (const Row& row : rows) {
    TMemoryStream s;
    TWriter w(s);
    row.write(w);
    EXPECT_EQ(BinToHexText(Bytes(s).substr(1)), std::string(row.bytes) + "\n") << row.what;
  }
}

TEST(ComponentStreamTest, HexTextBothWays) {
  std::string bytes("TPF0\x00\x01\xFE", 7);
  EXPECT_EQ(BinToHexText(bytes), "54504630" "0001FE\n");
  EXPECT_EQ(HexTextToBin(" 5450\n4630 0001fe "), bytes);
  EXPECT_THROW(HexTextToBin("ABC"), EConvertError);
  EXPECT_THROW(HexTextToBin("XY"), EConvertError);
}

TEST(ComponentStreamTest, TreeRoundTripsThroughTheBinaryStream) {
  RegisterFixtureClasses();
  TTestForm form(nullptr);
  form.SetName("BinForm");
  auto* panel = new TTestControl(&form);
  panel->SetName("Panel1");
  panel->SetParentComponent(&form);
  panel->Price = Currency::FromScaled(123456);
  panel->Stamp = 45000.5;
  panel->Wide = u"\u00E9t\u00E9";
  panel->Data = Variant("text");
  auto* ok = new TTestButton(&form);
  ok->SetName("btnOk");
  ok->SetParentComponent(panel);
  ok->Anchors = {akRight, akBottom};
  ok->SetBuddy(panel);
  ok->OnClick = TNotifyEvent(&form, &TTestForm::btnOkClick);
  ok->Glyph = std::string("\x01\x02\x00", 3);

  TMemoryStream s;
  TWriter(s).WriteRootComponent(&form);
  s.SetPosition(0);
  TTestForm copy(nullptr);
  TReader(s).ReadRootComponent(&copy);

  auto* panel2 = dynamic_cast<TTestControl*>(copy.FindComponent("Panel1"));
  auto* ok2 = dynamic_cast<TTestButton*>(copy.FindComponent("btnOk"));
  ASSERT_TRUE(panel2 && ok2);
  EXPECT_EQ(panel2->ParentControl(), &copy);
  EXPECT_EQ(ok2->ParentControl(), panel2);
  EXPECT_EQ(panel2->Price.Value, 123456);
  EXPECT_EQ(panel2->Stamp, 45000.5);
  EXPECT_EQ(panel2->Wide, u"\u00E9t\u00E9");
  EXPECT_EQ(VarToStr(panel2->Data), "text");
  EXPECT_EQ(ok2->Anchors, (TTestAnchors{akRight, akBottom}));
  EXPECT_EQ(ok2->GetBuddy(), panel2);
  EXPECT_EQ(ok2->Glyph, std::string("\x01\x02\x00", 3));
  EXPECT_TRUE(ok2->OnClick == TNotifyEvent(&copy, &TTestForm::btnOkClick));
  EXPECT_FALSE(copy.ComponentState().Contains(csLoading));
  EXPECT_FALSE(ok2->ComponentState().Contains(csReading));
}

TEST(ComponentStreamTest, CorruptStreamsRaiseInsteadOfReadingAnything) {
  RegisterFixtureClasses();
  TTestForm form(nullptr);
  form.SetName("Good");
  (new TTestControl(&form))->SetName("Child");
  TMemoryStream s;
  TWriter(s).WriteRootComponent(&form);
  std::string good = Bytes(s);

  struct Row {
    const char* what;
    std::string bytes;
  };
  std::string hugeLength = good;
  const Row rows[] = {
      {"bad signature", "XPF0" + good.substr(4)},
      {"truncated", good.substr(0, good.size() - 3)},
      {"unknown tag", std::string("TPF0\x09TTestForm\x04Good\x04Left\x55", 26)},
      {"string longer than the stream", std::string("TPF0\x09TTestForm\x04Good\x07""Caption\x0C\xFF\xFF\xFF\x7F", 33)},
  };
  for (const Row& row : rows) {
    TCustomMemoryStream in(row.bytes.data(), static_cast<Int64>(row.bytes.size()));
    TTestForm target(nullptr);
    EXPECT_THROW(TReader(in).ReadRootComponent(&target), EStreamError) << row.what;
    EXPECT_EQ(target.ComponentCount(), 0) << row.what;  // nothing half-created is left behind
  }
}
