// The type registry: classes by name, their published properties and their
// published handler methods. The form reader and writer, the report file
// serializer, the script bindings and form translation reach objects only
// through what is registered here.
//
// Registration style. A class declares its class reference in its header and
// implements it in its module, then publishes its properties in declaration
// order (the ancestors' come first automatically):
//
//   // Button.h
//   VXN_ENUM(TButtonKind, bkNormal, bkDefault, bkCancel)   // enum + its names
//   class TMyButton : public TComponent {
//     VXN_DECLARE_CLASS(TMyButton)
//    public:
//     explicit TMyButton(TComponent* AOwner);
//     std::string GetCaption() const;  void SetCaption(const std::string& v);
//     Integer Width = 75;  TColor Color = clBtnFace;  TButtonKind Kind = bkNormal;
//     TSet<TButtonKind> Allowed;  TFont* Font;  TComponent* Buddy = nullptr;
//     TNotifyEvent OnClick;
//     void DoClick(TObject* Sender);           // a handler a form file may name
//   };
//
//   // Button.cpp
//   VXN_IMPLEMENT_CREATABLE_CLASS(TMyButton, TComponent)  // factory takes the owner
//   VXN_PUBLISH(TMyButton) {
//     P.Property("Caption", &TMyButton::GetCaption, &TMyButton::SetCaption);
//     P.Property("Width", &TMyButton::Width).Default(75);
//     P.Property("Color", &TMyButton::Color).Type(TypeInfoColor()).Default(clBtnFace);
//     P.Property("Kind", &TMyButton::Kind).Default(bkNormal);
//     P.Property("Allowed", &TMyButton::Allowed).Stored(&TMyButton::AllowedStored);
//     P.Property("Font", &TMyButton::Font);        // owned sub-object: "Font.Name"
//     P.Property("Buddy", &TMyButton::Buddy);      // component reference (by name)
//     P.Event("OnClick", &TMyButton::OnClick);
//     P.Handler("DoClick", &TMyButton::DoClick);
//   }
//   ...
//   RegisterClasses({TMyButton::StaticClass()});   // so streams can name it
//
// Property kinds follow the C++ type: integral types are tkInteger (tkInt64
// for 64-bit), bool is the enumeration Boolean, char/char16_t tkChar/tkWChar,
// enumerations declared with VXN_ENUM/VXN_ENUM_INFO tkEnumeration, TSet<E>
// tkSet, float/double/Currency tkFloat, std::string tkLString, std::u16string
// tkWString, Variant tkVariant, pointers to TObject descendants tkClass and
// TDelegate<...> tkMethod. Type(...) refines an integer or float property
// with a named type (TColor and other identifier-written integers, TDateTime).
//
// A class property whose object is a TComponent is a reference (streamed by
// name); any other object is owned by the instance and streamed inline (a
// TStrings as a list, a TCollection as items, other persistents property by
// property). Ordinal properties without Default always count as
// non-default; strings, floats, Int64 and variants are default when empty or
// zero; events when unassigned.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

#include "platform/rtl/Delegates.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/System.h"
#include "platform/rtl/Variants.h"

// ---------------------------------------------------------------------------
// Exceptions of the registry and the filer.

class EClassNotFound : public EFilerError {
  VXN_DECLARE_CLASS(EClassNotFound)

 public:
  using EFilerError::EFilerError;
};

class EMethodNotFound : public EFilerError {
  VXN_DECLARE_CLASS(EMethodNotFound)

 public:
  using EFilerError::EFilerError;
};

class EInvalidImage : public EFilerError {
  VXN_DECLARE_CLASS(EInvalidImage)

 public:
  using EFilerError::EFilerError;
};

class EPropertyError : public Exception {
  VXN_DECLARE_CLASS(EPropertyError)

 public:
  using Exception::Exception;
};

class EPropertyConvertError : public Exception {
  VXN_DECLARE_CLASS(EPropertyConvertError)

 public:
  using Exception::Exception;
};

inline constexpr const char* SClassNotFound = "Class %s not found";
inline constexpr const char* SDuplicateClass = "A class named %s already exists";
inline constexpr const char* SUnknownProperty = "Property %s does not exist";
inline constexpr const char* SInvalidPropertyValue = "Invalid property value";
inline constexpr const char* SInvalidPropertyType = "Invalid property type: %s";
inline constexpr const char* SReadOnlyProperty = "Property is read-only";
inline constexpr const char* SMethodNotFound = "Method %s not found";
inline constexpr const char* SIncompatibleHandler = "Method %s does not fit event %s";

// ---------------------------------------------------------------------------
// Type descriptions.

enum class TTypeKind {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,  // short string; not produced by C++ types, kept for completeness
  tkSet,
  tkClass,
  tkMethod,
  tkWChar,
  tkLString,
  tkWString,
  tkVariant,
  tkInt64,
};

enum class TOrdType { otSByte, otUByte, otSWord, otUWord, otSLong, otULong, otSInt64, otUInt64 };
enum class TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

// "No default": an ordinal property declared without one is always stored.
inline constexpr int64_t NoDefault = INT32_MIN;

struct TIdentMapEntry {
  Integer Value;
  const char* Name;
};

struct TTypeInfo {
  std::string Name;
  TTypeKind Kind = TTypeKind::tkUnknown;
  // Ordinal types.
  TOrdType OrdType = TOrdType::otSLong;
  int64_t MinValue = 0;
  int64_t MaxValue = 0;
  std::vector<std::string> EnumNames;  // by ordinal (MinValue is always 0 for enumerations)
  const TTypeInfo* CompType = nullptr;  // set: the element type
  // Integers that streams write as identifiers (colours, cursors, ...).
  std::vector<TIdentMapEntry> Idents;
  // Floats.
  TFloatType FloatType = TFloatType::ftDouble;
  // Classes.
  TClass ClassType = nullptr;
  // Methods: the delegate's C++ signature.
  const std::type_info* MethodSignature = nullptr;
};

// Built-in types (TDateTime is a double with its own name, so the streams
// can write it as a date).
const TTypeInfo* TypeInfoBoolean();
const TTypeInfo* TypeInfoDateTime();
const TTypeInfo* TypeInfoDate();
const TTypeInfo* TypeInfoTime();
bool IsDateType(const TTypeInfo* type);

// An enumeration type from the text of its names as written in C++
// ("alNone, alTop, alBottom"); VXN_ENUM uses it.
TTypeInfo MakeEnumTypeInfo(const char* name, const char* commaSeparatedNames);

// Declares an enumeration (values 0, 1, ... as the names go) and its type
// description. Use at namespace scope.
#define VXN_ENUM(Name, ...)                                                   \
  enum Name { __VA_ARGS__ };                                                  \
  inline const TTypeInfo* VxnTypeInfoOf(Name*) {                              \
    static const TTypeInfo info = MakeEnumTypeInfo(#Name, #__VA_ARGS__);      \
    return &info;                                                             \
  }

// The type description of an enumeration declared elsewhere; list its names
// in ordinal order. Place it beside the enumeration, at namespace scope.
#define VXN_ENUM_INFO(Name, ...)                                              \
  inline const TTypeInfo* VxnTypeInfoOf(Name*) {                              \
    static const TTypeInfo info = MakeEnumTypeInfo(#Name, #__VA_ARGS__);      \
    return &info;                                                             \
  }

// Enumeration names. GetEnumValue accepts a name (case-insensitive) or a
// decimal number within the type's range; anything else gives -1.
std::string GetEnumName(const TTypeInfo* type, int64_t value);
int64_t GetEnumValue(const TTypeInfo* type, std::string_view name);

// Set text: "a,b" (with brackets "[a,b]"), elements in ordinal order.
// StringToSet takes either form, blanks allowed, and raises
// EPropertyConvertError naming an unknown element.
std::string SetToString(const TTypeInfo* setType, int64_t value, bool brackets = false);
int64_t StringToSet(const TTypeInfo* setType, std::string_view text);

// Identifier-written integers.
bool IntToIdent(int64_t value, std::string& ident, const std::vector<TIdentMapEntry>& map);
bool IdentToInt(std::string_view ident, int64_t& value, const std::vector<TIdentMapEntry>& map);

// ---------------------------------------------------------------------------
// Published properties and handler methods.

struct TPropInfo {
  std::string Name;
  const TTypeInfo* PropType = nullptr;
  TClass Declarer = nullptr;  // the class whose table declared (or redeclared) it
  int64_t Default = NoDefault;
  bool StoredConst = true;
  std::function<bool(TObject*)> StoredProc;  // when set, overrides StoredConst

  // Accessors of the property's kind; the setter is empty for read-only
  // properties. Instances are passed as TObject and cast by the publisher.
  std::function<int64_t(TObject*)> GetOrd;
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<double(TObject*)> GetFloat;
  std::function<void(TObject*, double)> SetFloat;
  // Currency properties also have exact accessors (a double cannot hold
  // every Currency value).
  std::function<Currency(TObject*)> GetCurr;
  std::function<void(TObject*, Currency)> SetCurr;
  std::function<std::string(TObject*)> GetStr;
  std::function<void(TObject*, const std::string&)> SetStr;
  std::function<std::u16string(TObject*)> GetWStr;
  std::function<void(TObject*, const std::u16string&)> SetWStr;
  std::function<TObject*(TObject*)> GetObj;
  std::function<void(TObject*, TObject*)> SetObj;
  std::function<TMethod(TObject*)> GetMethod;
  std::function<void(TObject*, const TMethod&)> SetMethod;
  std::function<Variant(TObject*)> GetVar;
  std::function<void(TObject*, const Variant&)> SetVar;

  TTypeKind Kind() const { return PropType->Kind; }
  bool Writable() const;
};

struct THandlerInfo {
  std::string Name;
  const std::type_info* Signature = nullptr;
  std::function<TMethod(TObject*)> Bind;  // the handler bound to an instance
};

class TClassTypeData;

// Collects one class's table; VXN_PUBLISH hands it to the class's function.
class TPublisherBase {
 public:
  explicit TPublisherBase(TClassTypeData& data) : Data_(data) {}

 protected:
  TPropInfo& NewProperty(const char* name, const TTypeInfo* type);
  TPropInfo& Redeclared(const char* name);
  void AddHandler(THandlerInfo info);

 private:
  TClassTypeData& Data_;
};

namespace vxn_typinfo_detail {

enum class Access { Ord, Float, Str, WStr, Obj, Method, Var };

const TTypeInfo* IntegerType(TOrdType ord, int64_t min, int64_t max, const char* name);
const TTypeInfo* SimpleType(TTypeKind kind, const char* name, TFloatType floatType = TFloatType::ftDouble);
const TTypeInfo* SetTypeOf(const TTypeInfo* element);
const TTypeInfo* ClassTypeOf(TClass cls);
const TTypeInfo* MethodTypeOf(const std::type_info& signature);

template <typename V>
struct IsDelegate : std::false_type {};
template <typename S>
struct IsDelegate<TDelegate<S>> : std::true_type {};
template <typename V>
struct IsSet : std::false_type {};
template <typename E>
struct IsSet<TSet<E>> : std::true_type {
  using Element = E;
};

template <typename V>
struct Traits {
  static const TTypeInfo* Type() {
    if constexpr (std::is_same_v<V, bool>) {
      return TypeInfoBoolean();
    } else if constexpr (std::is_same_v<V, char>) {
      return IntegerType(TOrdType::otUByte, 0, 255, "Char");
    } else if constexpr (std::is_same_v<V, char16_t>) {
      return IntegerType(TOrdType::otUWord, 0, 65535, "WideChar");
    } else if constexpr (std::is_integral_v<V>) {
      if constexpr (sizeof(V) == 8)
        return std::is_signed_v<V> ? IntegerType(TOrdType::otSInt64, INT64_MIN, INT64_MAX, "Int64")
                                   : IntegerType(TOrdType::otUInt64, 0, INT64_MAX, "UInt64");
      else if constexpr (sizeof(V) == 1)
        return std::is_signed_v<V> ? IntegerType(TOrdType::otSByte, -128, 127, "ShortInt")
                                   : IntegerType(TOrdType::otUByte, 0, 255, "Byte");
      else if constexpr (sizeof(V) == 2)
        return std::is_signed_v<V> ? IntegerType(TOrdType::otSWord, -32768, 32767, "SmallInt")
                                   : IntegerType(TOrdType::otUWord, 0, 65535, "Word");
      else
        return std::is_signed_v<V> ? IntegerType(TOrdType::otSLong, INT32_MIN, INT32_MAX, "Integer")
                                   : IntegerType(TOrdType::otULong, 0, UINT32_MAX, "Cardinal");
    } else if constexpr (std::is_enum_v<V>) {
      return VxnTypeInfoOf(static_cast<V*>(nullptr));
    } else if constexpr (IsSet<V>::value) {
      return SetTypeOf(Traits<typename IsSet<V>::Element>::Type());
    } else if constexpr (std::is_same_v<V, float>) {
      return SimpleType(TTypeKind::tkFloat, "Single", TFloatType::ftSingle);
    } else if constexpr (std::is_same_v<V, double>) {
      return SimpleType(TTypeKind::tkFloat, "Double", TFloatType::ftDouble);
    } else if constexpr (std::is_same_v<V, Currency>) {
      return SimpleType(TTypeKind::tkFloat, "Currency", TFloatType::ftCurr);
    } else if constexpr (std::is_same_v<V, std::string>) {
      return SimpleType(TTypeKind::tkLString, "string");
    } else if constexpr (std::is_same_v<V, std::u16string>) {
      return SimpleType(TTypeKind::tkWString, "WideString");
    } else if constexpr (std::is_same_v<V, Variant>) {
      return SimpleType(TTypeKind::tkVariant, "Variant");
    } else if constexpr (std::is_pointer_v<V>) {
      static_assert(std::is_base_of_v<TObject, std::remove_pointer_t<V>>,
                    "class properties hold TObject descendants");
      return ClassTypeOf(std::remove_pointer_t<V>::StaticClass());
    } else if constexpr (IsDelegate<V>::value) {
      return MethodTypeOf(typeid(typename V::SignatureType));
    } else {
      static_assert(sizeof(V) == 0, "no published property kind for this type");
      return nullptr;
    }
  }

  static constexpr Access Kind() {
    if constexpr (std::is_integral_v<V> || std::is_enum_v<V> || IsSet<V>::value)
      return Access::Ord;
    else if constexpr (std::is_floating_point_v<V> || std::is_same_v<V, Currency>)
      return Access::Float;
    else if constexpr (std::is_same_v<V, std::string>)
      return Access::Str;
    else if constexpr (std::is_same_v<V, std::u16string>)
      return Access::WStr;
    else if constexpr (std::is_same_v<V, Variant>)
      return Access::Var;
    else if constexpr (std::is_pointer_v<V>)
      return Access::Obj;
    else
      return Access::Method;
  }

  static int64_t ToOrd(const V& v) {
    if constexpr (IsSet<V>::value)
      return static_cast<int64_t>(v.Bits());
    else
      return static_cast<int64_t>(v);
  }
  static V FromOrd(int64_t v) {
    if constexpr (IsSet<V>::value)
      return V::FromBits(static_cast<uint64_t>(v));
    else if constexpr (std::is_same_v<V, bool>)
      return v != 0;
    else
      return static_cast<V>(v);
  }
  static double ToFloat(const V& v) {
    if constexpr (std::is_same_v<V, Currency>)
      return v.ToDouble();
    else
      return static_cast<double>(v);
  }
  static V FromFloat(double v) {
    if constexpr (std::is_same_v<V, Currency>)
      return Currency::FromDouble(v);
    else
      return static_cast<V>(v);
  }
};

template <typename T, typename G>
using GetterValue = std::decay_t<std::invoke_result_t<G, T&>>;

}  // namespace vxn_typinfo_detail

// Refines the property just added: default, stored rule, named type.
template <typename T>
class TPropBuilder {
 public:
  explicit TPropBuilder(TPropInfo& info) : Info_(info) {}

  TPropBuilder& Default(int64_t value) {
    Info_.Default = value;
    return *this;
  }
  TPropBuilder& NoDefault() {
    Info_.Default = ::NoDefault;
    return *this;
  }
  TPropBuilder& Stored(bool stored) {
    Info_.StoredConst = stored;
    Info_.StoredProc = nullptr;
    return *this;
  }
  // A member function (or any callable taking T&) that answers whether the
  // current value goes to the stream.
  template <typename F>
    requires std::is_invocable_r_v<bool, F, T&>
  TPropBuilder& Stored(F test) {
    Info_.StoredProc = [test](TObject* o) { return std::invoke(test, *static_cast<T*>(o)); };
    return *this;
  }
  // Anything else (a pointer to a function of the wrong shape would otherwise
  // turn into a constant 'true' through the bool overload) does not compile.
  template <typename F>
    requires(!std::is_same_v<F, bool> && !std::is_invocable_r_v<bool, F, T&>)
  TPropBuilder& Stored(F) = delete;
  // A named type of the same kind (TColor for an Integer, TDateTime for a
  // double).
  TPropBuilder& Type(const TTypeInfo* type);

 private:
  TPropInfo& Info_;
};

template <typename T>
TPropBuilder<T>& TPropBuilder<T>::Type(const TTypeInfo* type) {
  auto family = [](TTypeKind k) {
    switch (k) {
      case TTypeKind::tkInteger:
      case TTypeKind::tkInt64:
      case TTypeKind::tkChar:
      case TTypeKind::tkWChar:
        return 1;
      case TTypeKind::tkFloat:
        return 2;
      default:
        return 3;
    }
  };
  if (!type || family(type->Kind) != family(Info_.PropType->Kind) || family(type->Kind) == 3)
    throw EPropertyError(SInvalidPropertyType, {type ? type->Name : std::string("nil")});
  Info_.PropType = type;
  return *this;
}

template <typename T>
class TPublisher : public TPublisherBase {
 public:
  using TPublisherBase::TPublisherBase;

  // A field read and written directly.
  template <typename V>
  TPropBuilder<T> Property(const char* name, V T::*field) {
    return Property(name, field, field);
  }

  // Getter: member function, field or callable taking T&. Setter: the same
  // kinds taking the value, or nullptr for a read-only property.
  template <typename G, typename S>
  TPropBuilder<T> Property(const char* name, G getter, S setter) {
    using V = vxn_typinfo_detail::GetterValue<T, G>;
    using Tr = vxn_typinfo_detail::Traits<V>;
    TPropInfo& p = NewProperty(name, Tr::Type());
    auto get = [getter](TObject* o) -> V { return std::invoke(getter, *static_cast<T*>(o)); };
    constexpr bool writable = !std::is_same_v<S, std::nullptr_t>;
    auto set = [setter](TObject* o, V v) {
      (void)setter;  // read-only properties carry a null setter
      if constexpr (std::is_member_object_pointer_v<S>)
        std::invoke(setter, *static_cast<T*>(o)) = std::move(v);
      else if constexpr (!std::is_same_v<S, std::nullptr_t>)
        std::invoke(setter, *static_cast<T*>(o), std::move(v));
    };
    using vxn_typinfo_detail::Access;
    constexpr Access kind = Tr::Kind();
    if constexpr (kind == Access::Ord) {
      p.GetOrd = [get](TObject* o) { return Tr::ToOrd(get(o)); };
      if constexpr (writable) p.SetOrd = [set](TObject* o, int64_t v) { set(o, Tr::FromOrd(v)); };
    } else if constexpr (kind == Access::Float) {
      p.GetFloat = [get](TObject* o) { return Tr::ToFloat(get(o)); };
      if constexpr (writable) p.SetFloat = [set](TObject* o, double v) { set(o, Tr::FromFloat(v)); };
      if constexpr (std::is_same_v<V, Currency>) {
        p.GetCurr = get;
        if constexpr (writable) p.SetCurr = set;
      }
    } else if constexpr (kind == Access::Str) {
      p.GetStr = get;
      if constexpr (writable) p.SetStr = [set](TObject* o, const std::string& v) { set(o, v); };
    } else if constexpr (kind == Access::WStr) {
      p.GetWStr = get;
      if constexpr (writable) p.SetWStr = [set](TObject* o, const std::u16string& v) { set(o, v); };
    } else if constexpr (kind == Access::Var) {
      p.GetVar = get;
      if constexpr (writable) p.SetVar = [set](TObject* o, const Variant& v) { set(o, v); };
    } else if constexpr (kind == Access::Obj) {
      using C = std::remove_pointer_t<V>;
      p.GetObj = [get](TObject* o) -> TObject* { return get(o); };
      if constexpr (writable)
        p.SetObj = [set](TObject* o, TObject* v) {
          C* typed = dynamic_cast<C*>(v);
          if (v && !typed) throw EPropertyError(SInvalidPropertyValue);
          set(o, typed);
        };
    } else {
      p.GetMethod = [get](TObject* o) { return get(o).AsMethod(); };
      if constexpr (writable) p.SetMethod = [set](TObject* o, const TMethod& m) { set(o, V::FromMethod(m)); };
    }
    return TPropBuilder<T>(p);
  }

  // An event: a TDelegate field (or getter and setter of one).
  template <typename S>
  TPropBuilder<T> Event(const char* name, TDelegate<S> T::*field) {
    return Property(name, field, field);
  }
  template <typename G, typename S>
  TPropBuilder<T> Event(const char* name, G getter, S setter) {
    return Property(name, getter, setter);
  }

  // Republishes an ancestor's property in place, to change its default or
  // stored rule for this class and its descendants.
  TPropBuilder<T> Redeclare(const char* name) { return TPropBuilder<T>(Redeclared(name)); }

  // A handler method that form files may bind to events by name.
  template <typename R, typename C, typename... A>
    requires std::is_base_of_v<C, T>
  void Handler(const char* name, R (C::*method)(A...)) {
    THandlerInfo info;
    info.Name = name;
    info.Signature = &typeid(R(A...));
    info.Bind = [method](TObject* o) {
      return TDelegate<R(A...)>(static_cast<T*>(o), method).AsMethod();
    };
    AddHandler(std::move(info));
  }
};

void RegisterPublisher(TClass cls, void (*publish)(TClassTypeData&));

// Opens the published table of a class; see the example at the top.
#define VXN_PUBLISH(Name)                                                              \
  static void VxnPublish_##Name(TPublisher<Name>& P);                                  \
  [[maybe_unused]] static const bool vxn_published_##Name = [] {                       \
    RegisterPublisher(Name::StaticClass(), [](TClassTypeData& data) {                  \
      TPublisher<Name> publisher(data);                                                \
      VxnPublish_##Name(publisher);                                                    \
    });                                                                                \
    return true;                                                                       \
  }();                                                                                 \
  static void VxnPublish_##Name([[maybe_unused]] TPublisher<Name>& P)

// ---------------------------------------------------------------------------
// Classes by name. Names compare case-insensitively; registering a second
// class under a taken name raises EFilerError, registering the same class
// again does nothing.

void RegisterClass(TClass cls);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass cls);
TClass FindClass(std::string_view name);  // EClassNotFound "Class %s not found"
TClass GetClass(std::string_view name);   // nil when absent

// Creates an instance through the class's virtual constructor: with an owner
// when the class has an owner factory, else through its default factory
// (the owner is then ignored). Raises EClassNotFound for a class that cannot
// be created.
TObject* CreateInstance(TClass cls, TObject* owner = nullptr);

// ---------------------------------------------------------------------------
// Property access. Lookups by name are case-insensitive and raise
// EPropertyError "Property %s does not exist"; values of the wrong kind or out
// of range raise EPropertyConvertError "Invalid property value".

const TPropInfo* GetPropInfo(TClass cls, std::string_view name);  // nil when absent
const TPropInfo* GetPropInfo(const TObject* instance, std::string_view name);
const std::vector<const TPropInfo*>& GetPropList(TClass cls);  // ancestors first
bool IsPublishedProp(const TObject* instance, std::string_view name);
const TPropInfo& FindPropInfo(const TObject* instance, std::string_view name);

// Follows a dotted path ("Font.Name") through owned sub-objects; answers the
// object that holds the last property and that property.
std::pair<TObject*, const TPropInfo*> ResolvePropPath(TObject* instance, std::string_view path);

int64_t GetOrdProp(TObject* instance, const TPropInfo& prop);
void SetOrdProp(TObject* instance, const TPropInfo& prop, int64_t value);
std::string GetEnumProp(TObject* instance, const TPropInfo& prop);
void SetEnumProp(TObject* instance, const TPropInfo& prop, std::string_view value);
std::string GetSetProp(TObject* instance, const TPropInfo& prop, bool brackets = false);
void SetSetProp(TObject* instance, const TPropInfo& prop, std::string_view value);
std::string GetStrProp(TObject* instance, const TPropInfo& prop);  // strings and chars
void SetStrProp(TObject* instance, const TPropInfo& prop, std::string_view value);
std::u16string GetWideStrProp(TObject* instance, const TPropInfo& prop);
void SetWideStrProp(TObject* instance, const TPropInfo& prop, std::u16string_view value);
double GetFloatProp(TObject* instance, const TPropInfo& prop);
void SetFloatProp(TObject* instance, const TPropInfo& prop, double value);
// Exact for Currency properties; other float properties go through double.
Currency GetCurrencyProp(TObject* instance, const TPropInfo& prop);
void SetCurrencyProp(TObject* instance, const TPropInfo& prop, Currency value);
int64_t GetInt64Prop(TObject* instance, const TPropInfo& prop);
void SetInt64Prop(TObject* instance, const TPropInfo& prop, int64_t value);
TObject* GetObjectProp(TObject* instance, const TPropInfo& prop);
void SetObjectProp(TObject* instance, const TPropInfo& prop, TObject* value);
TMethod GetMethodProp(TObject* instance, const TPropInfo& prop);
// An unassigned method clears the event; one of another signature raises
// EPropertyError.
void SetMethodProp(TObject* instance, const TPropInfo& prop, const TMethod& value);
Variant GetVariantProp(TObject* instance, const TPropInfo& prop);
void SetVariantProp(TObject* instance, const TPropInfo& prop, const Variant& value);

// By name or dotted path, as Variant: ordinals as integers (Int64 as varInt64,
// Booleans as varBoolean), enumerations and sets as their text unless
// preferStrings is false, floats as double (dates as varDate), strings,
// objects as their handle (0 = nil). Setting converts back: enumeration
// names or numbers, set text, handles of objects of the property's class.
Variant GetPropValue(TObject* instance, std::string_view path, bool preferStrings = true);
void SetPropValue(TObject* instance, std::string_view path, const Variant& value);

// Stored rule and default: IsStoredProp asks the property's rule;
// IsDefaultPropValue answers whether the value equals its default so that
// a writer leaves it out.
bool IsStoredProp(TObject* instance, const TPropInfo& prop);
bool IsDefaultPropValue(TObject* instance, const TPropInfo& prop);

// ---------------------------------------------------------------------------
// Handler methods.

const THandlerInfo* FindHandler(TClass cls, std::string_view name);  // ancestors too
// The handler of that name bound to instance; unassigned when absent.
TMethod MethodAddress(TObject* instance, std::string_view name);
// The name of the handler of instance's class that method is, "" otherwise.
std::string MethodName(TObject* instance, const TMethod& method);
// Sets event propName of instance to the handler handlerName of
// handlerObject: an empty name or "nil" clears the event, a missing handler
// raises EMethodNotFound, a handler of another signature EPropertyError.
void BindEvent(TObject* instance, std::string_view propName, TObject* handlerObject,
               std::string_view handlerName);
