#include "platform/db/BlobFields.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/platform/db/DbFixture.h"

namespace {

class BlobFieldsTest : public DbTest {};

TEST_F(BlobFieldsTest, BytesRoundTripThroughStreamsAndPost) {
  TADODataSet* ds = MakeTable("Pics", "Name:S10;Data:L;Notes:M");
  ds->Open();
  std::string bytes;
  for (int i = 0; i < 5000; ++i) bytes += static_cast<char>(i * 7 % 256);  // zeros included
  TStringStream source(bytes);
  ds->Append();
  auto* blob = static_cast<TBlobField*>(ds->FieldByName("Data"));
  blob->LoadFromStream(source);
  ds->FieldByName("Notes")->SetAsString("line 1\r\nline 2");
  ds->Post();
  ds->Close();
  ds->Open();
  blob = static_cast<TBlobField*>(ds->FieldByName("Data"));
  EXPECT_TRUE(blob->IsBlob());
  EXPECT_EQ(blob->BlobSize(), 5000);
  TMemoryStream out;
  blob->SaveToStream(out);
  EXPECT_EQ(std::string(static_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size())), bytes);
  EXPECT_EQ(ds->FieldByName("Notes")->AsString(), "line 1\r\nline 2");
  EXPECT_EQ(ds->FieldByName("Notes")->ClassName(), "TMemoField");
}

TEST_F(BlobFieldsTest, BlobStreamReadsAndWritesTheCurrentRecord) {
  TADODataSet* ds = MakeTable("Pics", "Data:L");
  ds->Open();
  ds->AppendRecord({"abcdef"});
  TField* data = ds->FieldByName("Data");
  {
    std::unique_ptr<TStream> reader(ds->CreateBlobStream(data, bmRead));
    char buf[4] = {};
    reader->Seek(Int64{2}, soBeginning);
    EXPECT_EQ(reader->Read(buf, 3), 3);
    EXPECT_EQ(std::string(buf, 3), "cde");
  }
  EXPECT_EQ(ErrorOf([&] { std::unique_ptr<TStream> s(ds->CreateBlobStream(data, bmWrite)); }),
            "Pics: Dataset not in edit or insert mode");
  ds->Edit();
  {
    std::unique_ptr<TStream> writer(ds->CreateBlobStream(data, bmReadWrite));
    writer->Seek(Int64{0}, soEnd);
    writer->WriteBuffer("gh", 2);
  }
  EXPECT_EQ(data->AsString(), "abcdefgh");
  {
    std::unique_ptr<TStream> writer(ds->CreateBlobStream(data, bmWrite));  // starts empty
    writer->WriteBuffer("xy", 2);
  }
  ds->Post();
  EXPECT_EQ(data->AsString(), "xy");
}

TEST_F(BlobFieldsTest, DisplayTextNamesTheKind) {
  TADODataSet* ds = MakeTable("T", "Data:L;Notes:M");
  ds->Open();
  ds->Append();
  EXPECT_EQ(ds->FieldByName("Data")->DisplayText(), "(Blob)");
  EXPECT_EQ(ds->FieldByName("Notes")->DisplayText(), "(Memo)");
  ds->FieldByName("Notes")->SetAsString("x");
  EXPECT_EQ(ds->FieldByName("Notes")->DisplayText(), "(MEMO)");
  ds->FieldByName("Notes")->SetAsString("");
  EXPECT_TRUE(ds->FieldByName("Notes")->IsNull());
}

}  // namespace
