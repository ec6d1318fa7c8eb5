// BLOB fields (bytes of any length), memo fields (text) and graphic fields,
// and TBlobStream, a stream over one BLOB field of the current record.
#pragma once

#include <string>

#include "platform/db/Field.h"
#include "platform/rtl/Streams.h"

class TBlobField : public TField {
  VXN_DECLARE_CLASS(TBlobField)

 public:
  explicit TBlobField(TComponent* AOwner);

  bool IsBlob() const override { return true; }
  TBlobType BlobType() const { return DataType(); }
  void SetBlobType(TBlobType Value);
  void SetFieldType(TFieldType Value) override;
  // Bytes of the current record's value.
  Integer BlobSize() const;
  void SaveToStream(TStream& Stream) const;
  // Replaces the value by Stream's bytes from its position to its end.
  void LoadFromStream(TStream& Stream);
  void SaveToFile(const std::string& FileName) const;
  void LoadFromFile(const std::string& FileName);

 protected:
  void CheckTypeSize(Integer Value) const override;
  Variant GetAsVariant() const override;
  std::string GetAsString() const override;
  void SetVarValue(const Variant& Value) override;
  void SetAsStringValue(const std::string& Value) override;
  // The class description: "(BLOB)", or "(Blob)" for an empty field.
  void GetText(std::string& Text, bool DisplayText) const override;
};

class TMemoField : public TBlobField {
  VXN_DECLARE_CLASS(TMemoField)

 public:
  explicit TMemoField(TComponent* AOwner);
  bool Transliterate = true;
};

class TGraphicField : public TBlobField {
  VXN_DECLARE_CLASS(TGraphicField)

 public:
  explicit TGraphicField(TComponent* AOwner);
};

// Reads and writes the value of a BLOB field in the current record. A
// writing stream needs the data set in edit or insert state; bmWrite starts
// empty. What was written becomes the field's value when the stream is
// freed.
class TBlobStream : public TStream {
  VXN_DECLARE_CLASS(TBlobStream)

 public:
  TBlobStream(TBlobField* Field, TBlobStreamMode Mode);
  ~TBlobStream() override;

  Int64 Read(void* Buffer, Int64 Count) override;
  Int64 Write(const void* Buffer, Int64 Count) override;
  using TStream::Seek;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 Size() override { return static_cast<Int64>(Data_.size()); }
  void SetSize(Int64 NewSize) override;
  // Cuts the value at the position.
  void Truncate();

 private:
  TBlobField* Field_;
  TBlobStreamMode Mode_;
  std::string Data_;
  Int64 Position_ = 0;
  bool Modified_ = false;
};
