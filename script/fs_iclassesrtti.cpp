#include "script/fs_iclassesrtti.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Components.h"
#include "platform/rtl/ObjectHandles.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "script/TfsDesignator.h"
#include "script/fs_xml.h"

namespace fs_iclassesrtti {

VXN_IMPLEMENT_CLASS(TFunctions, TfsRTTIModule)

namespace {

Variant Arg(TfsMethodHelper* c, Integer i) { return c->ParamValueAt(i); }
std::string Str(TfsMethodHelper* c, Integer i) { return VarToStr(Arg(c, i)); }
Integer Int(TfsMethodHelper* c, Integer i) { return Arg(c, i).AsInteger(); }
TObject* Obj(TfsMethodHelper* c, Integer i) { return VarToObject(Arg(c, i)); }
template <typename T>
T* ObjAs(TfsMethodHelper* c, Integer i) {
  return VarToObject<T>(Arg(c, i));
}
template <typename T>
T& Ref(TfsMethodHelper* c, Integer i) {
  T* object = ObjAs<T>(c, i);
  if (!object) throw EInvalidPointer("Invalid pointer operation");
  return *object;
}

template <typename T>
T* As(TObject* instance) {
  auto* object = dynamic_cast<T*>(instance);
  if (!object) throw EInvalidCast("Invalid class typecast");
  return object;
}

bool Is(TClass cls, TClass declared) { return cls == declared; }

// A new object of the class the script named (its actual class decides which
// constructor runs); the class must be creatable by reference.
TObject* Construct(TClass cls, TObject* owner) {
  if (cls->OwnerFactory) return cls->OwnerFactory(owner);
  if (cls->Factory) return cls->Factory();
  throw Exception(Format("Cannot create an instance of class %s", {std::string(cls->Name)}));
}

Variant Methods(TObject* instance, TClass cls, const std::string& name, TfsMethodHelper* c) {
  const TClass declared = c->HostClass;
  if (Is(declared, TObject::StaticClass())) {
    if (name == "CREATE") return VarFromObject(instance ? instance : Construct(cls, nullptr));
    if (name == "FREE") {
      // Only what a script made may a script free; the host's objects
      // outlive it (freeing them would leave the host with dangling links).
      if (!instance) return 0;
      if (!fsIsScriptCreated(instance))
        throw Exception(Format("Cannot free %s: the script did not create it", {instance->ClassName()}));
      fsForgetScriptCreated(instance);
      delete instance;
      return 0;
    }
    if (name == "CLASSNAME") return instance ? instance->ClassName() : std::string(cls->Name);
  }
  if (Is(declared, TPersistent::StaticClass()) && name == "ASSIGN") {
    As<TPersistent>(instance)->Assign(ObjAs<TPersistent>(c, 0));
    return 0;
  }
  if (Is(declared, TCollection::StaticClass())) {
    auto* collection = As<TCollection>(instance);
    if (name == "CLEAR") collection->Clear();
    if (name == "ITEMS.GET") return VarFromObject(collection->Items(Int(c, 0)));
    return 0;
  }
  if (Is(declared, TList::StaticClass())) {
    auto* list = As<TList>(instance);
    if (name == "ADD") return list->Add(Obj(c, 0));
    if (name == "CLEAR") list->Clear();
    if (name == "DELETE") list->Delete(Int(c, 0));
    if (name == "INDEXOF") return list->IndexOf(Obj(c, 0));
    if (name == "INSERT") list->Insert(Int(c, 0), Obj(c, 1));
    if (name == "REMOVE") return list->Remove(Obj(c, 0));
    if (name == "ITEMS.GET") return VarFromObject(static_cast<TObject*>(list->Items(Int(c, 0))));
    if (name == "ITEMS.SET") list->SetItems(Int(c, 0), Obj(c, 1));
    return 0;
  }
  if (Is(declared, TStrings::StaticClass())) {
    auto* strings = As<TStrings>(instance);
    if (name == "ADD") return strings->Add(Str(c, 0));
    if (name == "ADDOBJECT") return strings->AddObject(Str(c, 0), Obj(c, 1));
    if (name == "CLEAR") strings->Clear();
    if (name == "DELETE") strings->Delete(Int(c, 0));
    if (name == "INDEXOF") return strings->IndexOf(Str(c, 0));
    if (name == "INDEXOFNAME") return strings->IndexOfName(Str(c, 0));
    if (name == "INDEXOFOBJECT") return strings->IndexOfObject(Obj(c, 0));
    if (name == "INSERT") strings->Insert(Int(c, 0), Str(c, 1));
    if (name == "INSERTOBJECT") strings->InsertObject(Int(c, 0), Str(c, 1), Obj(c, 2));
    if (name == "LOADFROMFILE") strings->LoadFromFile(Str(c, 0));
    if (name == "LOADFROMSTREAM") strings->LoadFromStream(Ref<TStream>(c, 0));
    if (name == "MOVE") strings->Move(Int(c, 0), Int(c, 1));
    if (name == "SAVETOFILE") strings->SaveToFile(Str(c, 0));
    if (name == "SAVETOSTREAM") strings->SaveToStream(Ref<TStream>(c, 0));
    if (name == "NAMES.GET") return strings->Names(Int(c, 0));
    if (name == "OBJECTS.GET") return VarFromObject(strings->Objects(Int(c, 0)));
    if (name == "OBJECTS.SET") strings->SetObjects(Int(c, 0), Obj(c, 1));
    if (name == "VALUES.GET") return strings->Values(Str(c, 0));
    if (name == "VALUES.SET") strings->SetValues(Str(c, 0), Str(c, 1));
    if (name == "STRINGS.GET") return strings->Strings(Int(c, 0));
    if (name == "STRINGS.SET") strings->SetStrings(Int(c, 0), Str(c, 1));
    return 0;
  }
  if (Is(declared, TStringList::StaticClass())) {
    auto* list = As<TStringList>(instance);
    if (name == "FIND") {
      Integer index = 0;
      const bool found = list->Find(Str(c, 0), index);
      c->Params(1)->SetValue(index);
      return found;
    }
    if (name == "SORT") list->Sort();
    return 0;
  }
  if (Is(declared, TStream::StaticClass())) {
    auto* stream = As<TStream>(instance);
    if (name == "READ") {
      const Integer count = std::max<Integer>(0, Int(c, 1));
      std::string buffer(static_cast<size_t>(count), '\0');
      const Int64 got = stream->Read(buffer.data(), count);
      buffer.resize(static_cast<size_t>(std::max<Int64>(0, got)));
      c->Params(0)->SetValue(buffer);
      return static_cast<Integer>(got);
    }
    if (name == "WRITE") {
      const std::string buffer = Str(c, 0);
      // Never more than the text holds.
      const Int64 count = std::clamp<Int64>(Int(c, 1), 0, static_cast<Int64>(buffer.size()));
      return static_cast<Integer>(stream->Write(buffer.data(), count));
    }
    if (name == "SEEK") return stream->Seek(static_cast<LongInt>(Int(c, 0)), static_cast<Word>(Int(c, 1)));
    if (name == "COPYFROM") return stream->CopyFrom(Ref<TStream>(c, 0), Arg(c, 1).AsInt64());
    return 0;
  }
  if (Is(declared, TFileStream::StaticClass()) && name == "CREATE")
    return VarFromObject(new TFileStream(Str(c, 0), static_cast<Word>(Int(c, 1))));
  if (Is(declared, TMemoryStream::StaticClass())) {
    auto* stream = As<TMemoryStream>(instance);
    if (name == "CLEAR") stream->Clear();
    if (name == "LOADFROMSTREAM") stream->LoadFromStream(Ref<TStream>(c, 0));
    if (name == "LOADFROMFILE") stream->LoadFromFile(Str(c, 0));
    if (name == "SAVETOSTREAM") stream->SaveToStream(Ref<TStream>(c, 0));
    if (name == "SAVETOFILE") stream->SaveToFile(Str(c, 0));
    return 0;
  }
  if (Is(declared, TComponent::StaticClass()) && name == "CREATE")
    return VarFromObject(Construct(cls, ObjAs<TComponent>(c, 0)));
  if (Is(declared, TfsXMLItem::StaticClass())) {
    if (name == "CREATE") return VarFromObject(new TfsXMLItem);
    auto* item = As<TfsXMLItem>(instance);
    if (name == "ADDITEM") item->AddItem(&Ref<TfsXMLItem>(c, 0));
    if (name == "CLEAR") item->Clear();
    if (name == "INSERTITEM") item->InsertItem(Int(c, 0), &Ref<TfsXMLItem>(c, 1));
    if (name == "ADD") return VarFromObject(item->Add());
    if (name == "FIND") return item->Find(Str(c, 0));
    if (name == "FINDITEM") return VarFromObject(item->FindItem(Str(c, 0)));
    if (name == "PROP") return item->Prop(Str(c, 0));
    if (name == "ROOT") return VarFromObject(item->Root());
    if (name == "ITEMS.GET") return VarFromObject(item->Items(Int(c, 0)));
    return 0;
  }
  if (Is(declared, TfsXMLDocument::StaticClass())) {
    if (name == "CREATE") return VarFromObject(new TfsXMLDocument);
    auto* doc = As<TfsXMLDocument>(instance);
    if (name == "SAVETOSTREAM") doc->SaveToStream(Ref<TStream>(c, 0));
    if (name == "LOADFROMSTREAM") doc->LoadFromStream(Ref<TStream>(c, 0));
    if (name == "SAVETOFILE") doc->SaveToFile(Str(c, 0));
    if (name == "LOADFROMFILE") doc->LoadFromFile(Str(c, 0));
    return 0;
  }
  return 0;
}

Variant Getter(TObject* instance, TClass cls, const std::string& name) {
  if (!instance) return 0;
  if (cls == TCollection::StaticClass() && name == "COUNT") return As<TCollection>(instance)->Count();
  if (cls == TList::StaticClass() && name == "COUNT") return As<TList>(instance)->Count();
  if (cls == TStrings::StaticClass()) {
    auto* strings = As<TStrings>(instance);
    if (name == "COMMATEXT") return strings->CommaText();
    if (name == "COUNT") return strings->Count();
    if (name == "TEXT") return strings->Text();
  }
  if (cls == TStringList::StaticClass()) {
    auto* list = As<TStringList>(instance);
    if (name == "DUPLICATES") return static_cast<Integer>(list->Duplicates());
    if (name == "SORTED") return list->Sorted();
  }
  if (cls == TStream::StaticClass()) {
    auto* stream = As<TStream>(instance);
    if (name == "POSITION") return stream->Position();
    if (name == "SIZE") return stream->Size();
  }
  if (cls == TComponent::StaticClass() && name == "OWNER")
    return VarFromObject(As<TComponent>(instance)->Owner());
  if (cls == TfsXMLItem::StaticClass()) {
    auto* item = As<TfsXMLItem>(instance);
    if (name == "DATA") return static_cast<Int64>(item->Data);
    if (name == "COUNT") return item->Count();
    if (name == "NAME") return item->Name;
    if (name == "PARENT") return VarFromObject(item->Parent());
    if (name == "TEXT") return item->Text;
  }
  if (cls == TfsXMLDocument::StaticClass() && name == "ROOT")
    return VarFromObject(As<TfsXMLDocument>(instance)->Root());
  return 0;
}

void Setter(TObject* instance, TClass cls, const std::string& name, const Variant& value) {
  if (!instance) throw Exception(Format("Cannot assign property %s of nil", {name}));
  if (cls == TStrings::StaticClass()) {
    auto* strings = As<TStrings>(instance);
    if (name == "COMMATEXT") strings->SetCommaText(VarToStr(value));
    if (name == "TEXT") strings->SetText(VarToStr(value));
  }
  if (cls == TStringList::StaticClass()) {
    auto* list = As<TStringList>(instance);
    if (name == "DUPLICATES") {
      // An ordinal outside the enumeration is refused, not stored.
      const Integer v = value.AsInteger();
      if (v < dupIgnore || v > dupError)
        throw Exception(Format("Invalid value %d for Duplicates", {v}));
      list->SetDuplicates(static_cast<TDuplicates>(v));
    }
    if (name == "SORTED") list->SetSorted(value.AsBoolean());
  }
  if (cls == TStream::StaticClass() && name == "POSITION") As<TStream>(instance)->SetPosition(value.AsInt64());
  if (cls == TfsXMLItem::StaticClass()) {
    auto* item = As<TfsXMLItem>(instance);
    if (name == "DATA") item->Data = static_cast<NativeInt>(value.AsInt64());
    if (name == "NAME") item->Name = VarToStr(value);
    if (name == "TEXT") item->Text = VarToStr(value);
  }
}

}  // namespace

TFunctions::TFunctions(TfsScript* script) : TfsRTTIModule(script) {
  TfsScript& s = *script;
  const std::pair<const char*, Integer> constants[] = {
      {"fmCreate", 65535},       {"fmOpenRead", 0},        {"fmOpenWrite", 1},
      {"fmOpenReadWrite", 2},    {"fmShareExclusive", 16}, {"fmShareDenyWrite", 32},
      {"fmShareDenyNone", 64},   {"soFromBeginning", 0},   {"soFromCurrent", 1},
      {"soFromEnd", 2},
  };
  for (const auto& [name, value] : constants) s.DeclareConstant(name, "Integer", value);
  s.DeclareEnumeration("TDuplicates", "dupIgnore, dupAccept, dupError");
  s.DeclareEnumeration("TPrinterOrientation", "poPortrait, poLandscape");

  TfsClassVariable* c = s.DeclareClass(TObject::StaticClass(), "");
  c->DeclareConstructor("constructor Create", Methods);
  c->DeclareMethod("procedure Free", Methods);
  c->DeclareMethod("function ClassName: String", Methods);

  c = s.DeclareClass(TPersistent::StaticClass(), "TObject");
  c->DeclareMethod("procedure Assign(Source: TPersistent)", Methods);

  s.DeclareClass(TCollectionItem::StaticClass(), "TPersistent");

  c = s.DeclareClass(TCollection::StaticClass(), "TPersistent");
  c->DeclareMethod("procedure Clear", Methods);
  c->DeclareProperty("Count", "Integer", Getter);
  c->DeclareDefaultIndexedProperty("Items", "Integer", "TCollectionItem", Methods, true);

  c = s.DeclareClass(TList::StaticClass(), "TObject");
  c->DeclareMethod("function Add(Item: TObject): Integer", Methods);
  c->DeclareMethod("procedure Clear", Methods);
  c->DeclareMethod("procedure Delete(Index: Integer)", Methods);
  c->DeclareMethod("function IndexOf(Item: TObject): Integer", Methods);
  c->DeclareMethod("procedure Insert(Index: Integer; Item: TObject)", Methods);
  c->DeclareMethod("function Remove(Item: TObject): Integer", Methods);
  c->DeclareProperty("Count", "Integer", Getter);
  c->DeclareDefaultIndexedProperty("Items", "Integer", "TObject", Methods);

  c = s.DeclareClass(TStrings::StaticClass(), "TPersistent");
  for (const char* syntax :
       {"function Add(const S: string): Integer",
        "function AddObject(const S: string; AObject: TObject): Integer", "procedure Clear",
        "procedure Delete(Index: Integer)", "function IndexOf(const S: string): Integer",
        "function IndexOfName(const Name: string): Integer",
        "function IndexOfObject(AObject: TObject): Integer",
        "procedure Insert(Index: Integer; const S: string)",
        "procedure InsertObject(Index: Integer; const S: string; AObject: TObject)",
        "procedure LoadFromFile(const FileName: string)", "procedure LoadFromStream(Stream: TStream)",
        "procedure SaveToFile(const FileName: string)", "procedure Move(CurIndex, NewIndex: Integer)",
        "procedure SaveToStream(Stream: TStream)"})
    c->DeclareMethod(syntax, Methods);
  c->DeclareProperty("CommaText", "string", Getter, Setter);
  c->DeclareProperty("Count", "Integer", Getter);
  c->DeclareIndexedProperty("Names", "Integer", "string", Methods, true);
  c->DeclareIndexedProperty("Objects", "Integer", "TObject", Methods);
  c->DeclareIndexedProperty("Values", "String", "string", Methods);
  c->DeclareDefaultIndexedProperty("Strings", "Integer", "string", Methods);
  c->DeclareProperty("Text", "string", Getter, Setter);

  c = s.DeclareClass(TStringList::StaticClass(), "TStrings");
  c->DeclareMethod("function Find(s: String; var Index: Integer): Boolean", Methods);
  c->DeclareMethod("procedure Sort", Methods);
  c->DeclareProperty("Duplicates", "TDuplicates", Getter, Setter);
  c->DeclareProperty("Sorted", "Boolean", Getter, Setter);

  c = s.DeclareClass(TStream::StaticClass(), "TObject");
  c->DeclareMethod("function Read(var Buffer: string; Count: Longint): Longint", Methods);
  c->DeclareMethod("function Write(Buffer: string; Count: Longint): Longint", Methods);
  c->DeclareMethod("function Seek(Offset: Longint; Origin: Word): Longint", Methods);
  c->DeclareMethod("function CopyFrom(Source: TStream; Count: Longint): Longint", Methods);
  c->DeclareProperty("Position", "Longint", Getter, Setter);
  c->DeclareProperty("Size", "Longint", Getter);

  c = s.DeclareClass(TFileStream::StaticClass(), "TStream");
  c->DeclareConstructor("constructor Create(Filename: String; Mode: Word)", Methods);

  c = s.DeclareClass(TMemoryStream::StaticClass(), "TStream");
  for (const char* syntax : {"procedure Clear", "procedure LoadFromStream(Stream: TStream)",
                             "procedure LoadFromFile(Filename: String)",
                             "procedure SaveToStream(Stream: TStream)",
                             "procedure SaveToFile(Filename: String)"})
    c->DeclareMethod(syntax, Methods);

  c = s.DeclareClass(TComponent::StaticClass(), "TPersistent");
  c->DeclareConstructor("constructor Create(AOwner: TComponent)", Methods);
  c->DeclareProperty("Owner", "TComponent", Getter);

  c = s.DeclareClass(TfsXMLItem::StaticClass(), "TObject");
  for (const char* syntax :
       {"constructor Create", "procedure AddItem(Item: TfsXMLItem)", "procedure Clear",
        "procedure InsertItem(Index: Integer; Item: TfsXMLItem)", "function Add: TfsXMLItem",
        "function Find(const Name: String): Integer", "function FindItem(const Name: String): TfsXMLItem",
        "function Prop(const Name: String): String", "function Root: TfsXMLItem"}) {
    if (std::string_view(syntax).rfind("constructor", 0) == 0)
      c->DeclareConstructor(syntax, Methods);
    else
      c->DeclareMethod(syntax, Methods);
  }
  c->DeclareProperty("Data", "Integer", Getter, Setter);
  c->DeclareProperty("Count", "Integer", Getter);
  c->DeclareDefaultIndexedProperty("Items", "Integer", "TfsXMLItem", Methods, true);
  c->DeclareProperty("Name", "String", Getter, Setter);
  c->DeclareProperty("Parent", "TfsXMLItem", Getter);
  c->DeclareProperty("Text", "String", Getter, Setter);

  c = s.DeclareClass(TfsXMLDocument::StaticClass(), "TObject");
  c->DeclareConstructor("constructor Create", Methods);
  for (const char* syntax : {"procedure SaveToStream(Stream: TStream)",
                             "procedure LoadFromStream(Stream: TStream)",
                             "procedure SaveToFile(const FileName: String)",
                             "procedure LoadFromFile(const FileName: String)"})
    c->DeclareMethod(syntax, Methods);
  c->DeclareProperty("Root", "TfsXMLItem", Getter);
}

void Register() {
  static bool done = false;
  if (done) return;
  done = true;
  fsRegisterHostModule([](TfsScript* script) -> TfsRTTIModule* { return new TFunctions(script); });
}

}  // namespace fs_iclassesrtti
