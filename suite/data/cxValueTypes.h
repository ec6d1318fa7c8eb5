// Value types: how one kind of value lies in the raw bytes of a record
// buffer, turns into and out of a Variant, compares, streams and shows as
// text. Value types have no instances of their own: each class has exactly
// one, which serves as its class reference (TcxValueTypeClass), and every
// operation is a class-level operation on it.
//
// Data parts (P = the data position, the byte after the value's assigned byte):
//   String, WideString, Variant   one pointer: nil, or the heap cell holding
//                                 the string / wide string / Variant
//   Object                        one pointer-sized slot; its first 4 bytes
//                                 hold a handle of the registry of live objects
//   Smallint, Word 2; Integer 4; Boolean 1; Float, DateTime (double) 8;
//   Currency, LargeInt (int64) 8; FMTBcd (TBcd) 34; SQLTimeStamp 16
// A text cell is one pointer: nil, or the heap cell of a display text.
// Everything is copied in and out with memcpy: positions need no alignment.
#pragma once

#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Variants.h"

class TcxValueType;
using TcxValueTypeClass = const TcxValueType*;

inline constexpr Integer cxPointerSlotSize = static_cast<Integer>(sizeof(void*));

class TcxValueType : public TObject {
  VXN_DECLARE_CLASS(TcxValueType)

 public:
  static TcxValueTypeClass Class();

  // Compares the values at two data positions.
  virtual Integer CompareAt(const Byte* P1, const Byte* P2) const;
  // Releases what the data owns.
  virtual void ReleaseData(Byte* P) const;
  virtual Integer DataWidth() const { return 0; }
  virtual void LoadVariant(const Byte* P, Variant& V) const;
  // The text of a value that has no stored display text (the Variant's text,
  // so Boolean shows "True"/"False"); never raises EVariantError.
  virtual void DefaultText(const Byte* P, std::string& Text) const;
  virtual void StreamInData(Byte* P, TStream* AStream) const;
  // Converts a non-Null Variant and stores it. The conversion happens first:
  // when it fails, the data keeps its old bytes.
  virtual void StoreVariant(Byte* P, const Variant& V) const;
  virtual void StreamOutData(const Byte* P, TStream* AStream) const;
  // Three-way comparison of two prepared data pointers.
  virtual Integer ComparePrepared(const void* P1, const void* P2) const;
  virtual void PreparedToVariant(const void* P, Variant& V) const;
  virtual TVarType VariantTypeCode() const { return varVariant; }
  virtual bool IsTextType() const { return false; }
  // The pointer-holding types answer the pointer stored at the position.
  virtual const void* PrepareDataPointer(const Byte* P) const { return P; }

  // The text cell operations, the same for every type.
  static void ReleaseText(Byte* Cell);
  static void LoadText(const Byte* Cell, std::string& Text);
  static void StoreText(Byte* Cell, const std::string& Text);
  static void StreamInText(Byte* Cell, TStream* AStream);
  static void StreamOutText(const Byte* Cell, TStream* AStream);

  // The class name without "Tcx" and "ValueType": "String", "SQLTimeStamp".
  std::string TypeCaption() const;
  // True for Null, for the Variant type, and when V converts in place to the
  // type's Variant kind (V then holds the converted value); a conversion
  // error answers false, other exceptions pass on.
  bool AcceptsVariant(Variant& V) const;
};

#define VXN_DECLARE_VALUE_TYPE(Name) \
  VXN_DECLARE_CLASS(Name)            \
                                     \
 public:                             \
  static TcxValueTypeClass Class();  \
                                     \
 private:

class TcxStringValueType : public TcxValueType {
  VXN_DECLARE_VALUE_TYPE(TcxStringValueType)

 public:
  void ReleaseData(Byte* P) const override;
  Integer DataWidth() const override { return cxPointerSlotSize; }
  void LoadVariant(const Byte* P, Variant& V) const override;
  void StreamInData(Byte* P, TStream* AStream) const override;
  void StoreVariant(Byte* P, const Variant& V) const override;
  void StreamOutData(const Byte* P, TStream* AStream) const override;
  Integer ComparePrepared(const void* P1, const void* P2) const override;
  void PreparedToVariant(const void* P, Variant& V) const override;
  TVarType VariantTypeCode() const override { return varString; }
  bool IsTextType() const override { return true; }
  const void* PrepareDataPointer(const Byte* P) const override;
};

class TcxWideStringValueType : public TcxStringValueType {
  VXN_DECLARE_VALUE_TYPE(TcxWideStringValueType)

 public:
  void ReleaseData(Byte* P) const override;
  void LoadVariant(const Byte* P, Variant& V) const override;
  void StreamInData(Byte* P, TStream* AStream) const override;
  void StoreVariant(Byte* P, const Variant& V) const override;
  void StreamOutData(const Byte* P, TStream* AStream) const override;
  Integer ComparePrepared(const void* P1, const void* P2) const override;
  void PreparedToVariant(const void* P, Variant& V) const override;
  TVarType VariantTypeCode() const override { return varOleStr; }
};

class TcxSmallintValueType : public TcxValueType {
  VXN_DECLARE_VALUE_TYPE(TcxSmallintValueType)

 public:
  Integer DataWidth() const override { return 2; }
  void LoadVariant(const Byte* P, Variant& V) const override;
  void StreamInData(Byte* P, TStream* AStream) const override;
  // Values outside -32768..32767 raise the variant library's range error.
  void StoreVariant(Byte* P, const Variant& V) const override;
  void StreamOutData(const Byte* P, TStream* AStream) const override;
  Integer ComparePrepared(const void* P1, const void* P2) const override;
  TVarType VariantTypeCode() const override { return varSmallint; }
};

class TcxIntegerValueType : public TcxValueType {
  VXN_DECLARE_VALUE_TYPE(TcxIntegerValueType)

 public:
  Integer DataWidth() const override { return 4; }
  void LoadVariant(const Byte* P, Variant& V) const override;
  void StreamInData(Byte* P, TStream* AStream) const override;
  void StoreVariant(Byte* P, const Variant& V) const override;
  void StreamOutData(const Byte* P, TStream* AStream) const override;
  Integer ComparePrepared(const void* P1, const void* P2) const override;
  TVarType VariantTypeCode() const override { return varInteger; }
};

// Holds objects by handle, never by address. A handle of a live object (or 0
// for nil) is all it stores; several values may hold one object (copied
// records), which is freed when the last of them is released.
class TcxObjectValueType : public TcxIntegerValueType {
  VXN_DECLARE_VALUE_TYPE(TcxObjectValueType)

 public:
  void ReleaseData(Byte* P) const override;
  Integer DataWidth() const override { return cxPointerSlotSize; }
  // Anything but the handle of a live object (or 0) raises EInvalidCast.
  void StoreVariant(Byte* P, const Variant& V) const override;
  void StreamInData(Byte*, TStream*) const override {}
  void StreamOutData(const Byte*, TStream*) const override {}
};

class TcxWordValueType : public TcxValueType {
  VXN_DECLARE_VALUE_TYPE(TcxWordValueType)

 public:
  Integer DataWidth() const override { return 2; }
  void LoadVariant(const Byte* P, Variant& V) const override;
  void StreamInData(Byte* P, TStream* AStream) const override;
  // Values outside 0..65535 raise the variant library's range error.
  void StoreVariant(Byte* P, const Variant& V) const override;
  void StreamOutData(const Byte* P, TStream* AStream) const override;
  Integer ComparePrepared(const void* P1, const void* P2) const override;
  TVarType VariantTypeCode() const override { return varWord; }
};

class TcxBooleanValueType : public TcxValueType {
  VXN_DECLARE_VALUE_TYPE(TcxBooleanValueType)

 public:
  Integer DataWidth() const override { return 1; }
  void LoadVariant(const Byte* P, Variant& V) const override;
  void StreamInData(Byte* P, TStream* AStream) const override;
  void StoreVariant(Byte* P, const Variant& V) const override;
  void StreamOutData(const Byte* P, TStream* AStream) const override;
  Integer ComparePrepared(const void* P1, const void* P2) const override;
  TVarType VariantTypeCode() const override { return varBoolean; }
};

class TcxFloatValueType : public TcxValueType {
  VXN_DECLARE_VALUE_TYPE(TcxFloatValueType)

 public:
  Integer DataWidth() const override { return 8; }
  void LoadVariant(const Byte* P, Variant& V) const override;
  void StreamInData(Byte* P, TStream* AStream) const override;
  void StoreVariant(Byte* P, const Variant& V) const override;
  void StreamOutData(const Byte* P, TStream* AStream) const override;
  Integer ComparePrepared(const void* P1, const void* P2) const override;
  TVarType VariantTypeCode() const override { return varDouble; }
};

class TcxCurrencyValueType : public TcxValueType {
  VXN_DECLARE_VALUE_TYPE(TcxCurrencyValueType)

 public:
  Integer DataWidth() const override { return 8; }
  void LoadVariant(const Byte* P, Variant& V) const override;
  void StreamInData(Byte* P, TStream* AStream) const override;
  void StoreVariant(Byte* P, const Variant& V) const override;
  void StreamOutData(const Byte* P, TStream* AStream) const override;
  Integer ComparePrepared(const void* P1, const void* P2) const override;
  TVarType VariantTypeCode() const override { return varCurrency; }
};

class TcxDateTimeValueType : public TcxValueType {
  VXN_DECLARE_VALUE_TYPE(TcxDateTimeValueType)

 public:
  Integer DataWidth() const override { return 8; }
  void LoadVariant(const Byte* P, Variant& V) const override;
  void DefaultText(const Byte* P, std::string& Text) const override;
  void StreamInData(Byte* P, TStream* AStream) const override;
  void StoreVariant(Byte* P, const Variant& V) const override;
  void StreamOutData(const Byte* P, TStream* AStream) const override;
  Integer ComparePrepared(const void* P1, const void* P2) const override;
  TVarType VariantTypeCode() const override { return varDate; }
};

class TcxLargeIntValueType : public TcxValueType {
  VXN_DECLARE_VALUE_TYPE(TcxLargeIntValueType)

 public:
  Integer DataWidth() const override { return 8; }
  void LoadVariant(const Byte* P, Variant& V) const override;
  void StreamInData(Byte* P, TStream* AStream) const override;
  void StoreVariant(Byte* P, const Variant& V) const override;
  void StreamOutData(const Byte* P, TStream* AStream) const override;
  Integer ComparePrepared(const void* P1, const void* P2) const override;
  TVarType VariantTypeCode() const override { return varInt64; }
};

class TcxFMTBcdValueType : public TcxValueType {
  VXN_DECLARE_VALUE_TYPE(TcxFMTBcdValueType)

 public:
  Integer DataWidth() const override { return 34; }
  void LoadVariant(const Byte* P, Variant& V) const override;
  void DefaultText(const Byte* P, std::string& Text) const override;
  void StoreVariant(Byte* P, const Variant& V) const override;
  Integer ComparePrepared(const void* P1, const void* P2) const override;
  TVarType VariantTypeCode() const override { return varFMTBcd; }
};

class TcxSQLTimeStampValueType : public TcxValueType {
  VXN_DECLARE_VALUE_TYPE(TcxSQLTimeStampValueType)

 public:
  Integer DataWidth() const override { return 16; }
  void LoadVariant(const Byte* P, Variant& V) const override;
  void StoreVariant(Byte* P, const Variant& V) const override;
  Integer ComparePrepared(const void* P1, const void* P2) const override;
  TVarType VariantTypeCode() const override { return varSQLTimeStamp; }
};

class TcxVariantValueType : public TcxValueType {
  VXN_DECLARE_VALUE_TYPE(TcxVariantValueType)

 public:
  void ReleaseData(Byte* P) const override;
  Integer DataWidth() const override { return cxPointerSlotSize; }
  void LoadVariant(const Byte* P, Variant& V) const override;
  void StoreVariant(Byte* P, const Variant& V) const override;
  Integer ComparePrepared(const void* P1, const void* P2) const override;
  void PreparedToVariant(const void* P, Variant& V) const override;
  const void* PrepareDataPointer(const Byte* P) const override;
};

// The catalogue of available value types.
class TcxValueTypeClassList : public TObject {
  VXN_DECLARE_CLASS(TcxValueTypeClassList)

 public:
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  // EListError for a bad index.
  TcxValueTypeClass Items(Integer Index) const;
  // Appends unless listed already.
  void RegisterItem(TcxValueTypeClass AValueTypeClass);
  void UnregisterItem(TcxValueTypeClass AValueTypeClass);

 private:
  std::vector<TcxValueTypeClass> FItems;
};

// The global registry, created on first use.
TcxValueTypeClassList* ValueTypeClassList();
void AddValueTypeClass(TcxValueTypeClass AValueTypeClass);
void RemoveValueTypeClass(TcxValueTypeClass AValueTypeClass);
// The fourteen value types in their order; the folder's start-up calls it.
void RegisterValueTypeClasses();
// Gives the editors' filter helpers the string test (String and WideString)
// and the validity test (AcceptsVariant) of the value types.
void InstallFilterValueTypeQueries();
