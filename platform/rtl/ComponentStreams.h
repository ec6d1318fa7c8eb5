// Binary component streams: TWriter writes a component tree with its
// published properties, TReader creates it again through the type registry.
//
// Stream layout (little-endian throughout):
//
//   stream    := "TPF0" component
//   component := [prefix] ClassName:str Name:str property* 00 component* 00
//   prefix    := F0|flags (1 inherited, 2 child position, 4 inline) [value if 2]
//   property  := Name:str value          (Name may be dotted: "Font.Name")
//   str       := len:u8 bytes            (short string, no tag)
//
//   value tag  payload
//   00 Null     end of a list (a Null variant where a value is expected)
//   01 List     value* 00
//   02 Int8     i8             03 Int16   i16        04 Int32  i32
//   05 Extended 10-byte real   06 String  len:u8 bytes
//   07 Ident    len:u8 bytes   08 False               09 True
//   0A Binary   len:i32 bytes  0B Set     str* 00 (an empty str ends it)
//   0C LString  len:i32 bytes  0D Nil
//   0E Collection ([int] 01 property* 00)* 00
//   0F Single   f32            10 Currency i64 (x10000)  11 Date f64
//   12 WString  len:i32 UTF-16 code units   13 Int64 i64
//   14 UTF8String len:i32 bytes
//
// Strings are UTF-8: the writer uses String/LString for ASCII text and
// UTF8String otherwise; the reader takes every string tag.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/rtl/Components.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Variants.h"

enum TValueType : Byte {
  vaNull,
  vaList,
  vaInt8,
  vaInt16,
  vaInt32,
  vaExtended,
  vaString,
  vaIdent,
  vaFalse,
  vaTrue,
  vaBinary,
  vaSet,
  vaLString,
  vaNil,
  vaCollection,
  vaSingle,
  vaCurrency,
  vaDate,
  vaWString,
  vaInt64,
  vaUTF8String,
};

enum TFilerFlag { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

inline constexpr const char* SInvalidImage = "Invalid stream format";
inline constexpr const char* SReadingProperty = "Error reading %s.%s: %s";

// ---------------------------------------------------------------------------

class TWriter : public TFiler {
  VXN_DECLARE_CLASS(TWriter)

 public:
  explicit TWriter(TStream& Stream) : Stream_(Stream) {}

  void WriteSignature();
  // Signature and the whole tree below Root, Root being the lookup root for
  // references and handler names.
  void WriteRootComponent(TComponent* Root);
  void WriteComponent(TComponent* Component);
  // Header, properties, end, children, end (TComponent::WriteState calls it).
  void WriteData(TComponent* Instance);
  // The stored published properties and the DefineProperties values.
  void WriteProperties(TObject* Instance);
  void WriteCollection(TCollection* Value);

  void WriteValue(TValueType Value);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  void WriteInteger(Int64 Value);  // the smallest tag that holds it
  void WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }
  void WriteChar(char Value) { WriteString(std::string(1, Value)); }
  void WriteFloat(double Value);  // Extended
  void WriteSingle(float Value);
  void WriteCurrency(Currency Value);
  void WriteDate(TDateTime Value);
  void WriteString(std::string_view Value);
  void WriteWideString(std::u16string_view Value);
  void WriteIdent(std::string_view Ident);
  void WriteStr(std::string_view Value);  // short string without tag
  void WriteBinary(const void* Data, Int64 Count);
  void WriteVariant(const Variant& Value);

  void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;

 private:
  void WriteBuffer(const void* Data, Int64 Count) { Stream_.WriteBuffer(Data, Count); }
  void WritePropName(std::string_view Name);
  void WriteProperty(TObject* Instance, const TPropInfo& Prop);
  std::string ComponentReference(TComponent* Component);

  TStream& Stream_;
  std::string PropPath_;
};

// A reference read by name, set once the whole stream is in (or, for a root
// that does not exist yet, when it appears).
struct TPropFixup {
  TComponent* Component;  // the component whose (sub-object's) property waits
  TObject* Instance;
  const TPropInfo* Prop;
  TComponent* Root;
  std::string Name;
  Int64 Position;  // for messages
};

// ---------------------------------------------------------------------------

class TReader : public TFiler {
  VXN_DECLARE_CLASS(TReader)

 public:
  explicit TReader(TStream& Stream) : Stream_(Stream) {}

  void ReadSignature();  // EInvalidImage "Invalid stream format"
  // Reads a whole stream into Root (created from the stream's class name
  // when nil): creates the children, sets the properties, binds events,
  // fixes references up and calls Loaded in creation order. On an error the
  // components this read created are freed (the root too when it was created
  // here) and the exception goes on with the source and line in its text.
  TComponent* ReadRootComponent(TComponent* Root);
  TComponent* ReadComponent(TComponent* Component);
  void ReadData(TComponent* Instance);
  void ReadProperty(TObject* Instance);
  void ReadCollection(TCollection* Collection);

  TValueType ReadValue();
  TValueType NextValue();
  void SkipValue();
  bool EndOfList() { return NextValue() == vaNull; }
  void ReadListBegin();
  void ReadListEnd();
  Integer ReadInteger();
  Int64 ReadInt64();
  bool ReadBoolean();
  char ReadChar();
  double ReadFloat();
  float ReadSingle();
  Currency ReadCurrency();
  TDateTime ReadDate();
  std::string ReadString();
  std::u16string ReadWideString();
  std::string ReadIdent();  // also False, True, nil and Null
  std::string ReadStr();
  std::string ReadBinary();
  Variant ReadVariant();

  void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;

  TComponent* Owner = nullptr;   // owner of the components being created
  TComponent* Parent = nullptr;  // parent of the components being created

  // For messages: the file the stream came from and, for a stream converted
  // from text, the source line at each stream offset (ascending offsets).
  std::string SourceName;
  std::vector<std::pair<Int64, Integer>> SourceLines;

  // When set, ReadRootComponent adds the components it read here instead of
  // calling their Loaded, so that several streams read into one root (a form
  // and its ancestors) end with one Loaded pass that the caller runs.
  std::vector<TComponent*>* GlobalLoaded = nullptr;

 private:
  void ReadBuffer(void* Data, Int64 Count) { Stream_.ReadBuffer(Data, Count); }
  void ReadPrefix(Integer& Flags, Integer& ChildPos);
  void ReadPropValue(TObject* Instance, const TPropInfo& Prop);
  void ReadStringsValue(TObject* Strings);
  bool ReadDefinedProperty(TObject* Instance, std::string_view Name);
  std::string Where(Int64 Position) const;
  [[noreturn]] void InvalidValue();

  TStream& Stream_;
  std::string PropName_;  // the name DefineProperties may claim
  bool PropHandled_ = false;
  std::vector<TComponent*> Loaded_;
  std::vector<TPropFixup> Fixups_;
  std::vector<TComponent*> Created_;
  TComponent* Reading_ = nullptr;  // the component whose properties are being read
  int Depth_ = 0;
  Int64 ItemStart_ = 0;
};

// Resolves references that named a root that did not exist yet (the stream
// keeps them until a root of that name is added); AddGlobalRoot and the
// component destructor call these.
void ResolvePendingReferences();
void ForgetPendingReferences(TComponent* Component);

// Hexadecimal text of a binary stream, 64 digits a line, and back (blanks
// and line breaks ignored; EConvertError for anything else).
std::string BinToHexText(std::string_view Bytes);
std::string HexTextToBin(std::string_view Text);
