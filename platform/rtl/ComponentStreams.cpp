#include "platform/rtl/ComponentStreams.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <memory>

#include "platform/rtl/Classes.h"
#include "platform/rtl/ExtendedFloat.h"
#include "platform/rtl/Utf8.h"
#include "platform/rtl/ScopeExit.h"

VXN_IMPLEMENT_CLASS(TWriter, TFiler)
VXN_IMPLEMENT_CLASS(TReader, TFiler)

namespace {

constexpr int kMaxNesting = 256;  // components inside components, from untrusted streams
constexpr int kMaxSubObjectDepth = 32;

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

TComponent* FindNestedComponent(TComponent* root, std::string_view path) {
  TComponent* current = nullptr;
  bool first = true;
  while (!path.empty()) {
    size_t dot = path.find('.');
    std::string_view part = path.substr(0, dot);
    TComponent* next = nullptr;
    if (first) {
      if (root && SameText(part, "Owner")) next = root;
      if (!next && root) next = root->FindComponent(part);
      if (!next) next = FindGlobalComponent(part);
    } else {
      next = SameText(part, "Owner") ? current->Owner() : current->FindComponent(part);
    }
    if (!next) return nullptr;
    current = next;
    first = false;
    if (dot == std::string_view::npos) break;
    path.remove_prefix(dot + 1);
  }
  return current;
}

std::vector<TPropFixup>& PendingFixups() {
  static std::vector<TPropFixup> list;
  return list;
}

// A fresh unique name for a root read at run time (a second instance of a
// form gets Name_1).
std::string UniqueRootName(TComponent* root, const std::string& name) {
  if (name.empty()) return name;
  std::string candidate = name;
  for (int i = 1;; ++i) {
    TComponent* other = FindGlobalComponent(candidate);
    if (!other || other == root) return candidate;
    candidate = name + "_" + IntToStr(i);
  }
}

bool IsStrings(TObject* o) { return o && o->InheritsFrom(TStrings::StaticClass()); }

}  // namespace

void ResolvePendingReferences() {
  auto& list = PendingFixups();
  for (size_t i = 0; i < list.size();) {
    TPropFixup f = list[i];
    TComponent* target = FindNestedComponent(f.Root, f.Name);
    if (!target) {
      ++i;
      continue;
    }
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
    if (f.Prop->SetObj && target->InheritsFrom(f.Prop->PropType->ClassType)) f.Prop->SetObj(f.Instance, target);
  }
}

void ForgetPendingReferences(TComponent* Component) {
  auto& list = PendingFixups();
  list.erase(std::remove_if(list.begin(), list.end(),
                            [&](const TPropFixup& f) { return f.Component == Component || f.Root == Component; }),
             list.end());
}

// ---------------------------------------------------------------------------
// TWriter

void TWriter::WriteSignature() { WriteBuffer("TPF0", 4); }

void TWriter::WriteRootComponent(TComponent* ARoot) {
  Root = ARoot;
  LookupRoot = ARoot;
  WriteSignature();
  WriteComponent(ARoot);
}

void TWriter::WriteComponent(TComponent* Component) {
  bool wasWriting = Component->ComponentState().Contains(csWriting);
  Component->SetState(csWriting, true);
  ScopeExit written([&] { Component->SetState(csWriting, wasWriting); });
  Component->WriteState(*this);
}

void TWriter::WriteData(TComponent* Instance) {
  if (Instance->ComponentState().Contains(csInline)) {
    Byte prefix = 0xF0 | ffInline;
    WriteBuffer(&prefix, 1);
  }
  WriteStr(Instance->ClassName());
  WriteStr(Instance->Name());
  std::string savedPath = std::move(PropPath_);
  PropPath_.clear();
  WriteProperties(Instance);
  PropPath_ = std::move(savedPath);
  WriteListEnd();
  Instance->GetChildren([this](TComponent* child) { WriteComponent(child); }, Root);
  WriteListEnd();
}

void TWriter::WriteProperties(TObject* Instance) {
  for (const TPropInfo* p : GetPropList(Instance->ClassType())) {
    if (!IsStoredProp(Instance, *p)) continue;
    if (!p->Writable() && p->Kind() != TTypeKind::tkClass) continue;
    WriteProperty(Instance, *p);
  }
  if (auto* persistent = dynamic_cast<TPersistent*>(Instance)) persistent->DefineProperties(this);
}

std::string TWriter::ComponentReference(TComponent* c) {
  if (c == LookupRoot) return "Owner";
  if (c->Owner() == LookupRoot) return c->Name();
  if (c->Owner() && !c->Owner()->Name().empty() && !c->Name().empty())
    return c->Owner()->Name() + "." + c->Name();
  return c->Name();
}

void TWriter::WriteProperty(TObject* Instance, const TPropInfo& Prop) {
  const TTypeInfo* t = Prop.PropType;
  if (t->Kind == TTypeKind::tkClass) {
    TObject* obj = Prop.GetObj(Instance);
    if (!obj) return;
    if (auto* component = dynamic_cast<TComponent*>(obj)) {
      if (!Prop.Writable()) return;
      std::string ref = ComponentReference(component);
      if (ref.empty()) return;
      WritePropName(Prop.Name);
      WriteIdent(ref);
    } else if (IsStrings(obj)) {
      auto* strings = static_cast<TStrings*>(obj);
      if (strings->GetCount() == 0) return;
      WritePropName(Prop.Name + ".Strings");
      WriteListBegin();
      for (Integer i = 0; i < strings->GetCount(); ++i) WriteString(strings->Get(i));
      WriteListEnd();
    } else if (auto* collection = dynamic_cast<TCollection*>(obj)) {
      if (collection->Count() == 0) return;
      WritePropName(Prop.Name);
      WriteCollection(collection);
    } else {
      if (std::count(PropPath_.begin(), PropPath_.end(), '.') >= kMaxSubObjectDepth)
        throw EWriteError("Sub-objects nested too deeply at %s", {PropPath_});
      std::string saved = PropPath_;
      PropPath_ += Prop.Name + ".";
      WriteProperties(obj);
      PropPath_ = saved;
    }
    return;
  }
  if (IsDefaultPropValue(Instance, Prop)) return;
  WritePropName(Prop.Name);
  switch (t->Kind) {
    case TTypeKind::tkInteger: {
      int64_t v = Prop.GetOrd(Instance);
      std::string ident;
      if (IntToIdent(v, ident, t->Idents))
        WriteIdent(ident);
      else
        WriteInteger(v);
      break;
    }
    case TTypeKind::tkInt64:
      WriteInteger(Prop.GetOrd(Instance));
      break;
    case TTypeKind::tkChar:
      WriteChar(static_cast<char>(Prop.GetOrd(Instance)));
      break;
    case TTypeKind::tkWChar:
      WriteWideString(std::u16string(1, static_cast<char16_t>(Prop.GetOrd(Instance))));
      break;
    case TTypeKind::tkEnumeration: {
      int64_t v = Prop.GetOrd(Instance);
      if (t == TypeInfoBoolean())
        WriteBoolean(v != 0);
      else
        WriteIdent(GetEnumName(t, v));
      break;
    }
    case TTypeKind::tkSet: {
      WriteValue(vaSet);
      auto bits = static_cast<uint64_t>(Prop.GetOrd(Instance));
      for (int64_t i = 0; t->CompType && i <= t->CompType->MaxValue && i < 64; ++i)
        if (bits & (uint64_t{1} << i)) WriteStr(GetEnumName(t->CompType, i));
      WriteStr("");
      break;
    }
    case TTypeKind::tkFloat: {
      if (t->FloatType == TFloatType::ftCurr && !IsDateType(t)) {
        WriteCurrency(GetCurrencyProp(Instance, Prop));
        break;
      }
      double v = Prop.GetFloat(Instance);
      if (IsDateType(t))
        WriteDate(v);
      else if (t->FloatType == TFloatType::ftSingle)
        WriteSingle(static_cast<float>(v));
      else
        WriteFloat(v);
      break;
    }
    case TTypeKind::tkString:
    case TTypeKind::tkLString:
      WriteString(Prop.GetStr(Instance));
      break;
    case TTypeKind::tkWString:
      WriteWideString(Prop.GetWStr(Instance));
      break;
    case TTypeKind::tkVariant:
      WriteVariant(Prop.GetVar(Instance));
      break;
    case TTypeKind::tkMethod: {
      std::string name = MethodName(LookupRoot, Prop.GetMethod(Instance));
      // A handler that is not a published method of the root cannot be
      // named in the stream; it is left out rather than written wrong.
      if (name.empty()) throw EWriteError("Event %s%s has no published handler", {PropPath_, Prop.Name});
      WriteIdent(name);
      break;
    }
    default:
      throw EWriteError(SInvalidPropertyType, {t->Name});
  }
}

void TWriter::WriteCollection(TCollection* Value) {
  WriteValue(vaCollection);
  std::string saved = std::move(PropPath_);
  PropPath_.clear();
  for (Integer i = 0; i < Value->Count(); ++i) {
    WriteListBegin();
    WriteProperties(Value->Items(i));
    WriteListEnd();
  }
  PropPath_ = std::move(saved);
  WriteListEnd();
}

namespace {
// Every number in the stream is little-endian, whatever the machine.
template <size_t N>
std::array<Byte, N> LittleEndian(uint64_t v) {
  std::array<Byte, N> out;
  for (size_t i = 0; i < N; ++i) out[i] = static_cast<Byte>(v >> (8 * i));
  return out;
}
uint64_t GetLE(const Byte* in, int n) {
  uint64_t v = 0;
  for (int i = 0; i < n; ++i) v |= static_cast<uint64_t>(in[i]) << (8 * i);
  return v;
}
}  // namespace

void TWriter::WriteValue(TValueType Value) {
  Byte b = Value;
  WriteBuffer(&b, 1);
}

void TWriter::WriteInteger(Int64 Value) {
  if (Value >= INT8_MIN && Value <= INT8_MAX) {
    WriteValue(vaInt8);
    auto v = static_cast<int8_t>(Value);
    WriteBuffer(&v, 1);
  } else if (Value >= INT16_MIN && Value <= INT16_MAX) {
    WriteValue(vaInt16);
    const auto b = LittleEndian<2>(static_cast<uint64_t>(Value));
    WriteBuffer(b.data(), 2);
  } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
    WriteValue(vaInt32);
    const auto b = LittleEndian<4>(static_cast<uint64_t>(Value));
    WriteBuffer(b.data(), 4);
  } else {
    WriteValue(vaInt64);
    const auto b = LittleEndian<8>(static_cast<uint64_t>(Value));
    WriteBuffer(b.data(), 8);
  }
}

void TWriter::WriteFloat(double Value) {
  WriteValue(vaExtended);
  Byte b[10];
  DoubleToExtended80(Value, b);
  WriteBuffer(b, 10);
}

void TWriter::WriteSingle(float Value) {
  WriteValue(vaSingle);
  const auto b = LittleEndian<4>(std::bit_cast<uint32_t>(Value));
  WriteBuffer(b.data(), 4);
}

void TWriter::WriteCurrency(Currency Value) {
  WriteValue(vaCurrency);
  const auto b = LittleEndian<8>(static_cast<uint64_t>(Value.Value));
  WriteBuffer(b.data(), 8);
}

void TWriter::WriteDate(TDateTime Value) {
  WriteValue(vaDate);
  const auto b = LittleEndian<8>(std::bit_cast<uint64_t>(Value));
  WriteBuffer(b.data(), 8);
}

void TWriter::WriteString(std::string_view Value) {
  if (!IsAscii(Value)) {
    WriteValue(vaUTF8String);
  } else if (Value.size() <= 255) {
    WriteValue(vaString);
    Byte n = static_cast<Byte>(Value.size());
    WriteBuffer(&n, 1);
    WriteBuffer(Value.data(), static_cast<Int64>(Value.size()));
    return;
  } else {
    WriteValue(vaLString);
  }
  const auto len = LittleEndian<4>(Value.size());
  WriteBuffer(len.data(), 4);
  WriteBuffer(Value.data(), static_cast<Int64>(Value.size()));
}

void TWriter::WriteWideString(std::u16string_view Value) {
  WriteValue(vaWString);
  const auto len = LittleEndian<4>(Value.size());
  WriteBuffer(len.data(), 4);
  for (char16_t c : Value) {
    Byte b[2] = {static_cast<Byte>(c), static_cast<Byte>(c >> 8)};
    WriteBuffer(b, 2);
  }
}

void TWriter::WriteIdent(std::string_view Ident) {
  if (SameText(Ident, "False")) return WriteValue(vaFalse);
  if (SameText(Ident, "True")) return WriteValue(vaTrue);
  if (SameText(Ident, "nil")) return WriteValue(vaNil);
  if (SameText(Ident, "Null")) return WriteValue(vaNull);
  WriteValue(vaIdent);
  WriteStr(Ident);
}

void TWriter::WriteStr(std::string_view Value) {
  if (Value.size() > 255) throw EWriteError("Name too long for the stream: %s", {Value.substr(0, 40)});
  Byte n = static_cast<Byte>(Value.size());
  WriteBuffer(&n, 1);
  WriteBuffer(Value.data(), static_cast<Int64>(Value.size()));
}

void TWriter::WriteBinary(const void* Data, Int64 Count) {
  if (Count > INT32_MAX) throw EWriteError("Binary value too large");
  WriteValue(vaBinary);
  const auto len = LittleEndian<4>(static_cast<uint64_t>(Count));
  WriteBuffer(len.data(), 4);
  WriteBuffer(Data, Count);
}

void TWriter::WriteVariant(const Variant& Value) {
  switch (VarType(Value)) {
    case varEmpty:
      return WriteValue(vaNil);
    case varNull:
      return WriteValue(vaNull);
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
      return WriteInteger(Value.AsInt64());
    case varSingle:
      return WriteSingle(static_cast<float>(Value.AsDouble()));
    case varDouble:
      return WriteFloat(Value.AsDouble());
    case varCurrency:
      return WriteCurrency(Value.AsCurrency());
    case varDate:
      return WriteDate(Value.AsDateTime());
    case varBoolean:
      return WriteBoolean(Value.AsBoolean());
    case varOleStr:
      return WriteWideString(Value.AsWideString());
    case varString:
      return WriteString(Value.AsString());
    default:
      throw EWriteError("Cannot write a variant of type %s", {VarTypeAsText(VarType(Value))});
  }
}

void TWriter::WritePropName(std::string_view Name) { WriteStr(PropPath_ + std::string(Name)); }

void TWriter::DefineProperty(const std::string& Name, TReaderProc, TWriterProc WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteData(*this);
}

void TWriter::DefineBinaryProperty(const std::string& Name, TStreamProc, TStreamProc WriteData,
                                   bool HasData) {
  if (!HasData || !WriteData) return;
  TMemoryStream bytes;
  WriteData(bytes);
  WritePropName(Name);
  WriteBinary(bytes.Memory(), bytes.Size());
}

// ---------------------------------------------------------------------------
// TReader

void TReader::ReadSignature() {
  char sig[4] = {};
  if (Stream_.Read(sig, 4) != 4 || std::memcmp(sig, "TPF0", 4) != 0) throw EInvalidImage(SInvalidImage);
}

TValueType TReader::ReadValue() {
  Byte b = 0;
  ReadBuffer(&b, 1);
  if (b > vaUTF8String) throw EReadError(SInvalidImage);
  return static_cast<TValueType>(b);
}

// Peeks without judging: an object prefix byte (F0-FF) may follow a list.
TValueType TReader::NextValue() {
  Byte b = 0;
  ReadBuffer(&b, 1);
  Stream_.Seek(Int64{-1}, soCurrent);
  return static_cast<TValueType>(b);
}

void TReader::ReadListBegin() {
  if (ReadValue() != vaList) InvalidValue();
}

void TReader::ReadListEnd() {
  if (ReadValue() != vaNull) InvalidValue();
}

void TReader::InvalidValue() { throw EReadError(SInvalidPropertyValue); }

void TReader::ReadPrefix(Integer& Flags, Integer& ChildPos) {
  Flags = 0;
  ChildPos = 0;
  Byte b = 0;
  ReadBuffer(&b, 1);
  if ((b & 0xF0) == 0xF0) {
    Flags = b & 0x0F;
    if (Flags & ffChildPos) ChildPos = ReadInteger();
  } else {
    Stream_.Seek(Int64{-1}, soCurrent);
  }
}

std::string TReader::ReadStr() {
  Byte n = 0;
  ReadBuffer(&n, 1);
  std::string s(n, '\0');
  ReadBuffer(s.data(), n);
  return s;
}

Int64 TReader::ReadInt64() {
  Byte b[8];
  switch (ReadValue()) {
    case vaInt8:
      ReadBuffer(b, 1);
      return static_cast<int8_t>(b[0]);
    case vaInt16:
      ReadBuffer(b, 2);
      return static_cast<int16_t>(GetLE(b, 2));
    case vaInt32:
      ReadBuffer(b, 4);
      return static_cast<int32_t>(GetLE(b, 4));
    case vaInt64:
      ReadBuffer(b, 8);
      return static_cast<Int64>(GetLE(b, 8));
    default:
      InvalidValue();
  }
}

Integer TReader::ReadInteger() {
  Int64 v = ReadInt64();
  if (v < INT32_MIN || v > INT32_MAX) InvalidValue();
  return static_cast<Integer>(v);
}

bool TReader::ReadBoolean() {
  TValueType v = ReadValue();
  if (v != vaTrue && v != vaFalse) InvalidValue();
  return v == vaTrue;
}

char TReader::ReadChar() {
  std::string s = ReadString();
  if (s.size() != 1) InvalidValue();
  return s[0];
}

double TReader::ReadFloat() {
  Byte b[10];
  switch (NextValue()) {
    case vaExtended:
      ReadValue();
      ReadBuffer(b, 10);
      return Extended80ToDouble(b);
    case vaSingle:
      return ReadSingle();
    case vaDate:
      return ReadDate();
    case vaCurrency:
      return ReadCurrency().ToDouble();
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
      return static_cast<double>(ReadInt64());
    default:
      InvalidValue();
  }
}

float TReader::ReadSingle() {
  if (ReadValue() != vaSingle) InvalidValue();
  Byte b[4];
  ReadBuffer(b, 4);
  return std::bit_cast<float>(static_cast<uint32_t>(GetLE(b, 4)));
}

Currency TReader::ReadCurrency() {
  if (ReadValue() != vaCurrency) InvalidValue();
  Byte b[8];
  ReadBuffer(b, 8);
  return Currency::FromScaled(static_cast<int64_t>(GetLE(b, 8)));
}

TDateTime TReader::ReadDate() {
  if (ReadValue() != vaDate) InvalidValue();
  Byte b[8];
  ReadBuffer(b, 8);
  return std::bit_cast<double>(GetLE(b, 8));
}

namespace {
// A length from the stream must fit in what is left of it, so a corrupt
// length cannot ask for gigabytes.
Int64 CheckedLength(TStream& stream, uint64_t raw, int unit) {
  auto length = static_cast<int32_t>(raw);
  if (length < 0 || static_cast<Int64>(length) * unit > stream.Size() - stream.Position())
    throw EReadError(SInvalidImage);
  return length;
}
}  // namespace

std::string TReader::ReadString() {
  Byte b[4];
  switch (ReadValue()) {
    case vaString:
    case vaIdent: {
      return ReadStr();
    }
    case vaLString:
    case vaUTF8String: {
      ReadBuffer(b, 4);
      Int64 n = CheckedLength(Stream_, GetLE(b, 4), 1);
      std::string s(static_cast<size_t>(n), '\0');
      ReadBuffer(s.data(), n);
      return s;
    }
    case vaWString: {
      Stream_.Seek(Int64{-1}, soCurrent);
      return Utf16ToUtf8(ReadWideString());
    }
    default:
      InvalidValue();
  }
}

std::u16string TReader::ReadWideString() {
  if (NextValue() != vaWString) return Utf8ToUtf16(ReadString());
  ReadValue();
  Byte b[4];
  ReadBuffer(b, 4);
  Int64 n = CheckedLength(Stream_, GetLE(b, 4), 2);
  std::u16string s(static_cast<size_t>(n), u'\0');
  for (auto& c : s) {
    Byte w[2];
    ReadBuffer(w, 2);
    c = static_cast<char16_t>(w[0] | (w[1] << 8));
  }
  return s;
}

std::string TReader::ReadIdent() {
  switch (ReadValue()) {
    case vaIdent:
      return ReadStr();
    case vaFalse:
      return "False";
    case vaTrue:
      return "True";
    case vaNil:
      return "nil";
    case vaNull:
      return "Null";
    default:
      InvalidValue();
  }
}

std::string TReader::ReadBinary() {
  if (ReadValue() != vaBinary) InvalidValue();
  Byte b[4];
  ReadBuffer(b, 4);
  Int64 n = CheckedLength(Stream_, GetLE(b, 4), 1);
  std::string s(static_cast<size_t>(n), '\0');
  ReadBuffer(s.data(), n);
  return s;
}

Variant TReader::ReadVariant() {
  switch (NextValue()) {
    case vaNil:
      ReadValue();
      return Unassigned();
    case vaNull:
      ReadValue();
      return Null();
    case vaInt8:
    case vaInt16:
    case vaInt32: {
      return Variant(static_cast<int>(ReadInt64()));
    }
    case vaInt64:
      return Variant(static_cast<long long>(ReadInt64()));
    case vaExtended:
      return Variant(ReadFloat());
    case vaSingle:
      return Variant(ReadSingle());
    case vaCurrency:
      return Variant(ReadCurrency());
    case vaDate:
      return VarFromDateTime(ReadDate());
    case vaFalse:
    case vaTrue:
      return Variant(ReadBoolean());
    case vaWString:
      return Variant(ReadWideString());
    case vaString:
    case vaLString:
    case vaUTF8String:
      return Variant(ReadString());
    default:
      InvalidValue();
  }
}

void TReader::SkipValue() {
  if (++Depth_ > kMaxNesting) throw EReadError(SInvalidImage);
  switch (NextValue()) {
    case vaList:
      ReadValue();
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      break;
    case vaSet:
      ReadValue();
      while (!ReadStr().empty()) {
      }
      break;
    case vaBinary:
      ReadBinary();
      break;
    case vaCollection:
      ReadValue();
      while (!EndOfList()) {
        TValueType v = NextValue();
        if (v == vaInt8 || v == vaInt16 || v == vaInt32) ReadInteger();
        ReadListBegin();
        while (!EndOfList()) {
          ReadStr();
          SkipValue();
        }
        ReadListEnd();
      }
      ReadListEnd();
      break;
    default:
      ReadVariant();  // every scalar tag
      break;
  }
  --Depth_;
}

void TReader::DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc, bool) {
  if (PropHandled_ || !ReadData || !SameText(Name, PropName_)) return;
  PropHandled_ = true;
  ReadData(*this);
}

void TReader::DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc, bool) {
  if (PropHandled_ || !ReadData || !SameText(Name, PropName_)) return;
  PropHandled_ = true;
  std::string bytes = ReadBinary();
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
  stream.SetPosition(0);
  ReadData(stream);
}

void TReader::ReadCollection(TCollection* Collection) {
  Collection->BeginUpdate();
  ScopeExit updated([&] { Collection->EndUpdate(); });
  Collection->Clear();
  while (!EndOfList()) {
    TValueType v = NextValue();
    if (v == vaInt8 || v == vaInt16 || v == vaInt32) ReadInteger();  // order index: not used
    TCollectionItem* item = Collection->Add();
    ReadListBegin();
    while (!EndOfList()) ReadProperty(item);
    ReadListEnd();
  }
  ReadListEnd();
}

void TReader::ReadStringsValue(TObject* Strings) {
  auto* list = static_cast<TStrings*>(Strings);
  ReadListBegin();
  list->BeginUpdate();
  ScopeExit updated([&] { list->EndUpdate(); });
  list->Clear();
  while (!EndOfList()) list->Add(ReadString());
  ReadListEnd();
}

bool TReader::ReadDefinedProperty(TObject* Instance, std::string_view Name) {
  auto* persistent = dynamic_cast<TPersistent*>(Instance);
  if (!persistent) return false;
  PropName_ = std::string(Name);
  PropHandled_ = false;
  persistent->DefineProperties(this);
  bool handled = PropHandled_;
  PropName_.clear();
  PropHandled_ = false;
  return handled;
}

void TReader::ReadProperty(TObject* Instance) {
  ItemStart_ = Stream_.Position();
  std::string path = ReadStr();
  try {
    TObject* target = Instance;
    std::string_view rest = path;
    while (true) {
      size_t dot = rest.find('.');
      std::string_view part = rest.substr(0, dot);
      if (dot == std::string_view::npos) {
        if (IsStrings(target) && SameText(part, "Strings")) {
          ReadStringsValue(target);
          return;
        }
        if (const TPropInfo* p = GetPropInfo(target, part)) {
          ReadPropValue(target, *p);
          return;
        }
        if (ReadDefinedProperty(target, part)) return;
        throw EPropertyError(SUnknownProperty, {part});
      }
      const TPropInfo* p = GetPropInfo(target, part);
      // A defined value may carry a dotted name of its own ("Glyph.Data").
      if (!p && ReadDefinedProperty(target, rest)) return;
      TObject* sub = p && p->Kind() == TTypeKind::tkClass ? p->GetObj(target) : nullptr;
      if (!sub || dynamic_cast<TComponent*>(sub)) throw EPropertyError(SUnknownProperty, {part});
      target = sub;
      rest.remove_prefix(dot + 1);
    }
  } catch (Exception& e) {
    if (e.Message.rfind("Error reading ", 0) != 0) {
      std::string owner;
      if (auto* c = dynamic_cast<TComponent*>(Instance))
        owner = c->Name().empty() ? c->ClassName() : c->Name();
      else if (auto* persistent = dynamic_cast<TPersistent*>(Instance))
        owner = persistent->GetNamePath();
      else
        owner = Instance->ClassName();
      e.Message = Format(SReadingProperty, {owner, path, e.Message});
    }
    throw;
  }
}

void TReader::ReadPropValue(TObject* Instance, const TPropInfo& Prop) {
  const TTypeInfo* t = Prop.PropType;
  TValueType next = NextValue();
  auto isInt = [](TValueType v) { return v == vaInt8 || v == vaInt16 || v == vaInt32 || v == vaInt64; };
  auto isText = [](TValueType v) {
    return v == vaString || v == vaLString || v == vaUTF8String || v == vaWString;
  };
  switch (t->Kind) {
    case TTypeKind::tkInteger: {
      if (next == vaIdent) {
        int64_t v = 0;
        if (!IdentToInt(ReadIdent(), v, t->Idents)) InvalidValue();
        return SetOrdProp(Instance, Prop, v);
      }
      return SetOrdProp(Instance, Prop, ReadInt64());
    }
    case TTypeKind::tkInt64:
      return SetOrdProp(Instance, Prop, ReadInt64());
    case TTypeKind::tkChar:
    case TTypeKind::tkWChar:
      if (isText(next)) return SetStrProp(Instance, Prop, ReadString());
      return SetOrdProp(Instance, Prop, ReadInt64());
    case TTypeKind::tkEnumeration: {
      if (isInt(next)) return SetOrdProp(Instance, Prop, ReadInt64());
      int64_t v = GetEnumValue(t, ReadIdent());
      if (v < 0) InvalidValue();
      return SetOrdProp(Instance, Prop, v);
    }
    case TTypeKind::tkSet: {
      if (ReadValue() != vaSet) InvalidValue();
      uint64_t bits = 0;
      for (std::string name = ReadStr(); !name.empty(); name = ReadStr()) {
        int64_t v = -1;
        for (size_t i = 0; t->CompType && i < t->CompType->EnumNames.size(); ++i)
          if (SameText(t->CompType->EnumNames[i], name)) v = static_cast<int64_t>(i);
        if (v < 0 || v >= 64) InvalidValue();
        bits |= uint64_t{1} << v;
      }
      return SetOrdProp(Instance, Prop, static_cast<int64_t>(bits));
    }
    case TTypeKind::tkFloat:
      if (t->FloatType == TFloatType::ftCurr && !IsDateType(t))
        return SetCurrencyProp(Instance, Prop,
                               next == vaCurrency ? ReadCurrency() : Currency::FromDouble(ReadFloat()));
      return SetFloatProp(Instance, Prop, ReadFloat());
    case TTypeKind::tkString:
    case TTypeKind::tkLString:
      if (!isText(next)) InvalidValue();
      return SetStrProp(Instance, Prop, ReadString());
    case TTypeKind::tkWString:
      if (!isText(next)) InvalidValue();
      return SetWideStrProp(Instance, Prop, ReadWideString());
    case TTypeKind::tkVariant:
      return SetVariantProp(Instance, Prop, ReadVariant());
    case TTypeKind::tkClass: {
      if (next == vaCollection) {
        auto* collection = dynamic_cast<TCollection*>(Prop.GetObj(Instance));
        if (!collection) InvalidValue();
        ReadValue();
        return ReadCollection(collection);
      }
      if (next == vaNil) {
        ReadValue();
        return SetObjectProp(Instance, Prop, nullptr);
      }
      if (next != vaIdent) InvalidValue();
      std::string name = ReadIdent();
      if (!Prop.SetObj) throw EPropertyError(SReadOnlyProperty);
      Fixups_.push_back({Reading_, Instance, &Prop, Root, name, ItemStart_});
      return;
    }
    case TTypeKind::tkMethod: {
      std::string name = ReadIdent();
      if (SameText(name, "nil")) return SetMethodProp(Instance, Prop, TMethod{});
      const THandlerInfo* h = LookupRoot ? FindHandler(LookupRoot->ClassType(), name) : nullptr;
      if (!h) throw EMethodNotFound(SMethodNotFound, {name});
      if (*h->Signature != *t->MethodSignature) InvalidValue();
      return SetMethodProp(Instance, Prop, h->Bind(LookupRoot));
    }
    default:
      InvalidValue();
  }
}

void TReader::ReadData(TComponent* Instance) {
  TComponent* savedReading = Reading_;
  Reading_ = Instance;
  while (!EndOfList()) ReadProperty(Instance);
  ReadListEnd();
  TComponent* savedParent = Parent;
  TComponent* savedOwner = Owner;
  Parent = Instance;
  Owner = Root;
  while (!EndOfList()) ReadComponent(nullptr);
  ReadListEnd();
  Parent = savedParent;
  Owner = savedOwner;
  Reading_ = savedReading;
}

TComponent* TReader::ReadComponent(TComponent* Component) {
  if (++Depth_ > kMaxNesting) throw EReadError("Components nested too deeply");
  ItemStart_ = Stream_.Position();
  Integer flags = 0, childPos = 0;
  ReadPrefix(flags, childPos);
  std::string className = ReadStr();
  std::string name = ReadStr();
  TComponent* result = Component;
  if (!result) {
    if (flags & ffInherited) {
      result = Root ? Root->FindComponent(name) : nullptr;
      if (!result) throw EReadError("Ancestor for '%s' not found", {name});
    } else {
      TClass cls = FindClass(className);
      if (!cls->InheritsFrom(TComponent::StaticClass())) throw EClassNotFound(SClassNotFound, {className});
      result = CreateComponent(cls, Owner);
      Created_.push_back(result);
      result->SetState(csLoading, true);
      result->SetName(name);
      if (result->HasParent()) result->SetParentComponent(Parent);
    }
  }
  result->SetState(csLoading, true);
  result->SetState(csReading, true);
  if (flags & ffInline) result->SetInline(true);
  if (std::find(Loaded_.begin(), Loaded_.end(), result) == Loaded_.end()) Loaded_.push_back(result);
  result->ReadState(*this);
  result->SetState(csReading, false);
  if ((flags & ffChildPos) && Parent) Parent->SetChildOrder(result, childPos);
  --Depth_;
  return result;
}

std::string TReader::Where(Int64 Position) const {
  std::string where = SourceName;
  if (!SourceLines.empty()) {
    Integer line = SourceLines.front().second;
    for (const auto& [offset, l] : SourceLines) {
      if (offset > Position) break;
      line = l;
    }
    where += "(" + IntToStr(line) + ")";
  }
  return where.empty() ? where : where + ": ";
}

TComponent* TReader::ReadRootComponent(TComponent* ARoot) {
  bool createdRoot = false;
  Loaded_.clear();
  Created_.clear();
  Fixups_.clear();
  Depth_ = 0;
  ItemStart_ = Stream_.Position();
  try {
    ReadSignature();
    ItemStart_ = Stream_.Position();
    Integer flags = 0, childPos = 0;
    ReadPrefix(flags, childPos);
    std::string className = ReadStr();
    std::string name = ReadStr();
    if (!ARoot) {
      TClass cls = FindClass(className);
      if (!cls->InheritsFrom(TComponent::StaticClass())) throw EClassNotFound(SClassNotFound, {className});
      ARoot = CreateComponent(cls, nullptr);
      createdRoot = true;
    }
    Root = ARoot;
    LookupRoot = ARoot;
    Owner = ARoot;
    Parent = ARoot;
    ARoot->SetState(csLoading, true);
    ARoot->SetState(csReading, true);
    if (flags & ffInline) ARoot->SetInline(true);
    if (!name.empty() && !(flags & ffInherited)) ARoot->SetName(UniqueRootName(ARoot, name));
    Loaded_.push_back(ARoot);
    ARoot->ReadState(*this);
    ARoot->SetState(csReading, false);

    for (const TPropFixup& f : Fixups_) {
      ItemStart_ = f.Position;
      TComponent* target = FindNestedComponent(ARoot, f.Name);
      if (target)
        SetObjectProp(f.Instance, *f.Prop, target);
      else
        PendingFixups().push_back(f);
    }
    Fixups_.clear();
    std::vector<TComponent*> loaded = std::move(Loaded_);
    Loaded_.clear();
    if (GlobalLoaded) {
      for (TComponent* c : loaded)
        if (std::find(GlobalLoaded->begin(), GlobalLoaded->end(), c) == GlobalLoaded->end())
          GlobalLoaded->push_back(c);
    } else {
      for (TComponent* c : loaded) c->Loaded();
    }
    Created_.clear();
    return ARoot;
  } catch (Exception& e) {
    e.Message = Where(ItemStart_) + e.Message;
    Fixups_.clear();
    Loaded_.clear();
    if (createdRoot) {
      ARoot->Free();
    } else {
      for (auto it = Created_.rbegin(); it != Created_.rend(); ++it) (*it)->Free();
      if (ARoot) {
        ARoot->SetState(csReading, false);
        ARoot->SetState(csLoading, false);
      }
    }
    Created_.clear();
    throw;
  } catch (...) {
    Fixups_.clear();
    Loaded_.clear();
    if (createdRoot)
      ARoot->Free();
    else
      for (auto it = Created_.rbegin(); it != Created_.rend(); ++it) (*it)->Free();
    Created_.clear();
    throw;
  }
}

// ---------------------------------------------------------------------------

std::string BinToHexText(std::string_view Bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  for (size_t i = 0; i < Bytes.size(); ++i) {
    auto b = static_cast<unsigned char>(Bytes[i]);
    text += digits[b >> 4];
    text += digits[b & 15];
    if (i % 32 == 31 || i + 1 == Bytes.size()) text += '\n';
  }
  return text;
}

std::string HexTextToBin(std::string_view Text) {
  std::string bytes;
  int pending = -1;
  for (char c : Text) {
    int v;
    if (c >= '0' && c <= '9')
      v = c - '0';
    else if (c >= 'A' && c <= 'F')
      v = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
      v = c - 'a' + 10;
    else if (static_cast<unsigned char>(c) <= ' ')
      continue;
    else
      throw EConvertError("Invalid binary value");
    if (pending < 0) {
      pending = v;
    } else {
      bytes += static_cast<char>(pending * 16 + v);
      pending = -1;
    }
  }
  if (pending >= 0) throw EConvertError("Invalid binary value");
  return bytes;
}
