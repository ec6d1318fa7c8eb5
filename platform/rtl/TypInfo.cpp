#include "platform/rtl/TypInfo.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <typeindex>

#include "platform/rtl/ObjectHandles.h"
#include "platform/rtl/Utf8.h"

VXN_IMPLEMENT_CLASS(EClassNotFound, EFilerError)
VXN_IMPLEMENT_CLASS(EMethodNotFound, EFilerError)
VXN_IMPLEMENT_CLASS(EInvalidImage, EFilerError)
VXN_IMPLEMENT_CLASS(EPropertyError, Exception)
VXN_IMPLEMENT_CLASS(EPropertyConvertError, Exception)

// The registry is built lazily on first use and only grows; one lock guards
// it so that a worker thread may query it too.
class TClassTypeData {
 public:
  TClass Class = nullptr;
  void (*Publish)(TClassTypeData&) = nullptr;
  bool Built = false;
  std::deque<TPropInfo> Own;
  std::vector<const TPropInfo*> All;
  std::deque<THandlerInfo> Handlers;
};

namespace {

std::recursive_mutex& RegistryLock() {
  static std::recursive_mutex lock;
  return lock;
}

std::deque<TClassTypeData>& TypeDataStore() {
  static std::deque<TClassTypeData> store;
  return store;
}

TClassTypeData& DataOf(TClass cls) {
  std::lock_guard guard(RegistryLock());
  if (!cls->TypeData) {
    TClassTypeData& data = TypeDataStore().emplace_back();
    data.Class = cls;
    cls->TypeData = &data;
  }
  return *static_cast<TClassTypeData*>(cls->TypeData);
}

TClassTypeData& BuiltDataOf(TClass cls) {
  std::lock_guard guard(RegistryLock());
  TClassTypeData& data = DataOf(cls);
  if (data.Built) return data;
  if (cls->Parent) data.All = BuiltDataOf(cls->Parent).All;
  data.Built = true;  // before publishing: a table may look itself up
  if (data.Publish) data.Publish(data);
  return data;
}

std::string Lower(std::string_view s) { return LowerCase(s); }

std::string Trimmed(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

bool ParseDecimal(std::string_view text, int64_t& value) {
  std::string t = Trimmed(text);
  if (t.empty()) return false;
  size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
  if (i == t.size()) return false;
  for (size_t j = i; j < t.size(); ++j)
    if (t[j] < '0' || t[j] > '9') return false;
  Int64 v = 0;
  if (!TryStrToInt64(t, v)) return false;
  value = v;
  return true;
}

[[noreturn]] void InvalidValue() { throw EPropertyConvertError(SInvalidPropertyValue); }

[[noreturn]] void WrongKind(const TPropInfo& prop) {
  throw EPropertyError(SInvalidPropertyType, {prop.PropType->Name});
}

// A property without this accessor is of another kind.
template <class Fn>
const Fn& Getter(const TPropInfo& prop, const Fn& get) {
  if (!get) WrongKind(prop);
  return get;
}

// The property must be of the kind; one of it without a setter is read-only.
template <class Fn>
const Fn& Setter(const TPropInfo& prop, TTypeKind kind, const Fn& set) {
  if (prop.Kind() != kind) WrongKind(prop);
  if (!set) throw EPropertyError(SReadOnlyProperty);
  return set;
}

bool IsOrdinalKind(TTypeKind k) {
  return k == TTypeKind::tkInteger || k == TTypeKind::tkChar || k == TTypeKind::tkWChar ||
         k == TTypeKind::tkEnumeration || k == TTypeKind::tkSet || k == TTypeKind::tkInt64;
}

int64_t SetMask(const TTypeInfo* setType) {
  int64_t count = setType->CompType ? setType->CompType->MaxValue + 1 : 0;
  return count >= 63 ? INT64_MAX : (int64_t{1} << count) - 1;
}

}  // namespace

// ---------------------------------------------------------------------------
// Types.

namespace {

template <class Key>
using TypeCache = std::map<Key, std::unique_ptr<TTypeInfo>>;

// One description per key, filled in on first use and kept for the program's
// life: properties point at it.
template <class Key, class Fill>
const TTypeInfo* CachedType(TypeCache<Key>& cache, const Key& key, Fill fill) {
  std::lock_guard guard(RegistryLock());
  auto& slot = cache[key];
  if (!slot) {
    slot = std::make_unique<TTypeInfo>();
    fill(*slot);
  }
  return slot.get();
}

}  // namespace

namespace vxn_typinfo_detail {

const TTypeInfo* IntegerType(TOrdType ord, int64_t min, int64_t max, const char* name) {
  static TypeCache<std::string> cache;
  return CachedType(cache, std::string(name), [&](TTypeInfo& t) {
    t.Name = name;
    bool is64 = ord == TOrdType::otSInt64 || ord == TOrdType::otUInt64;
    t.Kind = is64 ? TTypeKind::tkInt64
             : std::string_view(name) == "Char"     ? TTypeKind::tkChar
             : std::string_view(name) == "WideChar" ? TTypeKind::tkWChar
                                                    : TTypeKind::tkInteger;
    t.OrdType = ord;
    t.MinValue = min;
    t.MaxValue = max;
  });
}

const TTypeInfo* SimpleType(TTypeKind kind, const char* name, TFloatType floatType) {
  static TypeCache<std::string> cache;
  return CachedType(cache, std::string(name), [&](TTypeInfo& t) {
    t.Name = name;
    t.Kind = kind;
    t.FloatType = floatType;
  });
}

const TTypeInfo* SetTypeOf(const TTypeInfo* element) {
  static TypeCache<const TTypeInfo*> cache;
  return CachedType(cache, element, [&](TTypeInfo& t) {
    t.Name = "set of " + element->Name;
    t.Kind = TTypeKind::tkSet;
    t.CompType = element;
    t.OrdType = TOrdType::otULong;
  });
}

const TTypeInfo* ClassTypeOf(TClass cls) {
  static TypeCache<TClass> cache;
  return CachedType(cache, cls, [&](TTypeInfo& t) {
    t.Name = cls->Name;
    t.Kind = TTypeKind::tkClass;
    t.ClassType = cls;
  });
}

const TTypeInfo* MethodTypeOf(const std::type_info& signature) {
  static TypeCache<std::type_index> cache;
  return CachedType(cache, std::type_index(signature), [&](TTypeInfo& t) {
    t.Name = "method";
    t.Kind = TTypeKind::tkMethod;
    t.MethodSignature = &signature;
  });
}

}  // namespace vxn_typinfo_detail

TTypeInfo MakeEnumTypeInfo(const char* name, const char* commaSeparatedNames) {
  TTypeInfo info;
  info.Name = name;
  info.Kind = TTypeKind::tkEnumeration;
  info.OrdType = TOrdType::otUByte;
  std::string_view rest(commaSeparatedNames);
  while (!rest.empty()) {
    size_t comma = rest.find(',');
    std::string_view item = rest.substr(0, comma);
    size_t eq = item.find('=');  // values run 0, 1, ...; an initialiser is not supported
    std::string n = Trimmed(item.substr(0, eq));
    if (!n.empty()) info.EnumNames.push_back(n);
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  info.MinValue = 0;
  info.MaxValue = static_cast<int64_t>(info.EnumNames.size()) - 1;
  if (info.EnumNames.size() > 256) info.OrdType = TOrdType::otUWord;
  return info;
}

const TTypeInfo* TypeInfoBoolean() {
  static const TTypeInfo info = MakeEnumTypeInfo("Boolean", "False, True");
  return &info;
}

namespace {
const TTypeInfo* DateTypeNamed(const char* name) {
  static std::map<std::string, TTypeInfo> cache;
  std::lock_guard guard(RegistryLock());
  auto [it, fresh] = cache.try_emplace(name);
  if (fresh) {
    it->second.Name = name;
    it->second.Kind = TTypeKind::tkFloat;
    it->second.FloatType = TFloatType::ftDouble;
  }
  return &it->second;
}
}  // namespace

const TTypeInfo* TypeInfoDateTime() { return DateTypeNamed("TDateTime"); }
const TTypeInfo* TypeInfoDate() { return DateTypeNamed("TDate"); }
const TTypeInfo* TypeInfoTime() { return DateTypeNamed("TTime"); }

bool IsDateType(const TTypeInfo* type) {
  return type == TypeInfoDateTime() || type == TypeInfoDate() || type == TypeInfoTime();
}

std::string GetEnumName(const TTypeInfo* type, int64_t value) {
  if (type->Kind == TTypeKind::tkEnumeration && value >= 0 &&
      value < static_cast<int64_t>(type->EnumNames.size()))
    return type->EnumNames[static_cast<size_t>(value)];
  return IntToStr(value);
}

int64_t GetEnumValue(const TTypeInfo* type, std::string_view name) {
  std::string n = Trimmed(name);
  for (size_t i = 0; i < type->EnumNames.size(); ++i)
    if (SameText(type->EnumNames[i], n)) return static_cast<int64_t>(i);
  int64_t v = 0;
  if (ParseDecimal(n, v) && v >= type->MinValue && v <= type->MaxValue) return v;
  return -1;
}

std::string SetToString(const TTypeInfo* setType, int64_t value, bool brackets) {
  std::string text;
  const TTypeInfo* element = setType->CompType;
  for (int64_t i = 0; element && i <= element->MaxValue && i < 64; ++i) {
    if (!(static_cast<uint64_t>(value) & (uint64_t{1} << i))) continue;
    if (!text.empty()) text += ',';
    text += GetEnumName(element, i);
  }
  return brackets ? "[" + text + "]" : text;
}

int64_t StringToSet(const TTypeInfo* setType, std::string_view text) {
  std::string t = Trimmed(text);
  if (!t.empty() && t.front() == '[') {
    if (t.back() != ']') InvalidValue();
    t = t.substr(1, t.size() - 2);
  }
  uint64_t bits = 0;
  std::string_view rest(t);
  while (true) {
    size_t comma = rest.find(',');
    std::string item = Trimmed(rest.substr(0, comma));
    if (!item.empty()) {
      int64_t v = -1;
      for (size_t i = 0; setType->CompType && i < setType->CompType->EnumNames.size(); ++i)
        if (SameText(setType->CompType->EnumNames[i], item)) v = static_cast<int64_t>(i);
      if (v < 0 || v >= 64) throw EPropertyConvertError("Invalid set element: %s", {item});
      bits |= uint64_t{1} << v;
    } else if (comma != std::string_view::npos) {
      InvalidValue();  // "a,,b"
    }
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return static_cast<int64_t>(bits);
}

bool IntToIdent(int64_t value, std::string& ident, const std::vector<TIdentMapEntry>& map) {
  for (const TIdentMapEntry& e : map)
    if (e.Value == value) {
      ident = e.Name;
      return true;
    }
  return false;
}

bool IdentToInt(std::string_view ident, int64_t& value, const std::vector<TIdentMapEntry>& map) {
  for (const TIdentMapEntry& e : map)
    if (SameText(e.Name, ident)) {
      value = e.Value;
      return true;
    }
  return false;
}

// ---------------------------------------------------------------------------
// Tables.

bool TPropInfo::Writable() const {
  return SetOrd || SetFloat || SetStr || SetWStr || SetObj || SetMethod || SetVar;
}

TPropInfo& TPublisherBase::NewProperty(const char* name, const TTypeInfo* type) {
  TPropInfo& p = Data_.Own.emplace_back();
  p.Name = name;
  p.PropType = type;
  p.Declarer = Data_.Class;
  // A property of an ancestor's name is hidden by the new one, which takes
  // its place in the order.
  for (const TPropInfo*& slot : Data_.All)
    if (SameText(slot->Name, name)) {
      slot = &p;
      return p;
    }
  Data_.All.push_back(&p);
  return p;
}

TPropInfo& TPublisherBase::Redeclared(const char* name) {
  for (const TPropInfo*& slot : Data_.All)
    if (SameText(slot->Name, name)) {
      TPropInfo& p = Data_.Own.emplace_back(*slot);
      p.Declarer = Data_.Class;
      slot = &p;
      return p;
    }
  throw EPropertyError(SUnknownProperty, {std::string(name)});
}

void TPublisherBase::AddHandler(THandlerInfo info) { Data_.Handlers.push_back(std::move(info)); }

void RegisterPublisher(TClass cls, void (*publish)(TClassTypeData&)) {
  std::lock_guard guard(RegistryLock());
  DataOf(cls).Publish = publish;
}

// ---------------------------------------------------------------------------
// Classes by name.

namespace {
std::map<std::string, TClass>& ClassMap() {
  static std::map<std::string, TClass> map;
  return map;
}
}  // namespace

void RegisterClass(TClass cls) {
  std::lock_guard guard(RegistryLock());
  auto [it, fresh] = ClassMap().try_emplace(Lower(cls->Name), cls);
  if (!fresh && it->second != cls) throw EFilerError(SDuplicateClass, {std::string(cls->Name)});
}

void RegisterClasses(std::initializer_list<TClass> classes) {
  for (TClass c : classes) RegisterClass(c);
}

void UnRegisterClass(TClass cls) {
  std::lock_guard guard(RegistryLock());
  auto it = ClassMap().find(Lower(cls->Name));
  if (it != ClassMap().end() && it->second == cls) ClassMap().erase(it);
}

TClass GetClass(std::string_view name) {
  std::lock_guard guard(RegistryLock());
  auto it = ClassMap().find(Lower(name));
  return it == ClassMap().end() ? nullptr : it->second;
}

TClass FindClass(std::string_view name) {
  TClass cls = GetClass(name);
  if (!cls) throw EClassNotFound(SClassNotFound, {name});
  return cls;
}

TObject* CreateInstance(TClass cls, TObject* owner) {
  TObject* made = nullptr;
  if (cls->OwnerFactory)
    made = cls->OwnerFactory(owner);
  else if (cls->Factory)
    made = cls->Factory();
  else
    throw EClassNotFound(SClassNotFound, {std::string(cls->Name)});
  if (!made) throw EPropertyError("Cannot create %s for this owner", {std::string(cls->Name)});
  return made;
}

// ---------------------------------------------------------------------------
// Property access.

const std::vector<const TPropInfo*>& GetPropList(TClass cls) { return BuiltDataOf(cls).All; }

const TPropInfo* GetPropInfo(TClass cls, std::string_view name) {
  for (const TPropInfo* p : GetPropList(cls))
    if (SameText(p->Name, name)) return p;
  return nullptr;
}

const TPropInfo* GetPropInfo(const TObject* instance, std::string_view name) {
  return GetPropInfo(instance->ClassType(), name);
}

bool IsPublishedProp(const TObject* instance, std::string_view name) {
  return GetPropInfo(instance, name) != nullptr;
}

const TPropInfo& FindPropInfo(const TObject* instance, std::string_view name) {
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p) throw EPropertyError(SUnknownProperty, {name});
  return *p;
}

std::pair<TObject*, const TPropInfo*> ResolvePropPath(TObject* instance, std::string_view path) {
  while (true) {
    size_t dot = path.find('.');
    if (dot == std::string_view::npos) return {instance, &FindPropInfo(instance, path)};
    const TPropInfo& p = FindPropInfo(instance, path.substr(0, dot));
    if (p.Kind() != TTypeKind::tkClass) throw EPropertyError(SUnknownProperty, {path});
    TObject* sub = p.GetObj(instance);
    if (!sub) throw EPropertyError(SUnknownProperty, {path});
    instance = sub;
    path.remove_prefix(dot + 1);
  }
}

int64_t GetOrdProp(TObject* instance, const TPropInfo& prop) {
  return Getter(prop, prop.GetOrd)(instance);
}

void SetOrdProp(TObject* instance, const TPropInfo& prop, int64_t value) {
  if (!IsOrdinalKind(prop.Kind())) WrongKind(prop);
  if (!prop.SetOrd) throw EPropertyError(SReadOnlyProperty);
  const TTypeInfo* t = prop.PropType;
  if (t->Kind == TTypeKind::tkSet) {
    if (value & ~SetMask(t)) InvalidValue();
  } else if (t->Kind != TTypeKind::tkInt64 && (value < t->MinValue || value > t->MaxValue)) {
    InvalidValue();
  }
  prop.SetOrd(instance, value);
}

std::string GetEnumProp(TObject* instance, const TPropInfo& prop) {
  if (prop.Kind() != TTypeKind::tkEnumeration) WrongKind(prop);
  return GetEnumName(prop.PropType, GetOrdProp(instance, prop));
}

void SetEnumProp(TObject* instance, const TPropInfo& prop, std::string_view value) {
  if (prop.Kind() != TTypeKind::tkEnumeration) WrongKind(prop);
  int64_t v = GetEnumValue(prop.PropType, value);
  if (v < 0) InvalidValue();
  SetOrdProp(instance, prop, v);
}

std::string GetSetProp(TObject* instance, const TPropInfo& prop, bool brackets) {
  if (prop.Kind() != TTypeKind::tkSet) WrongKind(prop);
  return SetToString(prop.PropType, GetOrdProp(instance, prop), brackets);
}

void SetSetProp(TObject* instance, const TPropInfo& prop, std::string_view value) {
  if (prop.Kind() != TTypeKind::tkSet) WrongKind(prop);
  SetOrdProp(instance, prop, StringToSet(prop.PropType, value));
}

std::string GetStrProp(TObject* instance, const TPropInfo& prop) {
  switch (prop.Kind()) {
    case TTypeKind::tkLString:
    case TTypeKind::tkString:
      return prop.GetStr(instance);
    case TTypeKind::tkWString:
      return Utf16ToUtf8(prop.GetWStr(instance));
    case TTypeKind::tkChar:
      return std::string(1, static_cast<char>(prop.GetOrd(instance)));
    case TTypeKind::tkWChar:
      return Utf8Encode(static_cast<char32_t>(prop.GetOrd(instance)));
    default:
      WrongKind(prop);
  }
}

void SetStrProp(TObject* instance, const TPropInfo& prop, std::string_view value) {
  switch (prop.Kind()) {
    case TTypeKind::tkLString:
    case TTypeKind::tkString:
      if (!prop.SetStr) throw EPropertyError(SReadOnlyProperty);
      prop.SetStr(instance, std::string(value));
      return;
    case TTypeKind::tkWString:
      SetWideStrProp(instance, prop, Utf8ToUtf16(value));
      return;
    case TTypeKind::tkChar:
      if (value.size() != 1) InvalidValue();
      SetOrdProp(instance, prop, static_cast<unsigned char>(value[0]));
      return;
    case TTypeKind::tkWChar: {
      size_t pos = 0;
      char32_t c = value.empty() ? 0 : Utf8Decode(value, pos);
      if (value.empty() || pos != value.size() || c > 0xFFFF) InvalidValue();
      SetOrdProp(instance, prop, static_cast<int64_t>(c));
      return;
    }
    default:
      WrongKind(prop);
  }
}

std::u16string GetWideStrProp(TObject* instance, const TPropInfo& prop) {
  if (prop.Kind() == TTypeKind::tkWString) return prop.GetWStr(instance);
  return Utf8ToUtf16(GetStrProp(instance, prop));
}

void SetWideStrProp(TObject* instance, const TPropInfo& prop, std::u16string_view value) {
  if (prop.Kind() != TTypeKind::tkWString) {
    SetStrProp(instance, prop, Utf16ToUtf8(value));
    return;
  }
  if (!prop.SetWStr) throw EPropertyError(SReadOnlyProperty);
  prop.SetWStr(instance, std::u16string(value));
}

double GetFloatProp(TObject* instance, const TPropInfo& prop) {
  return Getter(prop, prop.GetFloat)(instance);
}

void SetFloatProp(TObject* instance, const TPropInfo& prop, double value) {
  Setter(prop, TTypeKind::tkFloat, prop.SetFloat)(instance, value);
}

Currency GetCurrencyProp(TObject* instance, const TPropInfo& prop) {
  if (prop.GetCurr) return prop.GetCurr(instance);
  return Currency::FromDouble(GetFloatProp(instance, prop));
}

void SetCurrencyProp(TObject* instance, const TPropInfo& prop, Currency value) {
  if (!prop.GetCurr) return SetFloatProp(instance, prop, value.ToDouble());
  Setter(prop, TTypeKind::tkFloat, prop.SetCurr)(instance, value);
}

int64_t GetInt64Prop(TObject* instance, const TPropInfo& prop) { return GetOrdProp(instance, prop); }

void SetInt64Prop(TObject* instance, const TPropInfo& prop, int64_t value) {
  SetOrdProp(instance, prop, value);
}

TObject* GetObjectProp(TObject* instance, const TPropInfo& prop) {
  return Getter(prop, prop.GetObj)(instance);
}

void SetObjectProp(TObject* instance, const TPropInfo& prop, TObject* value) {
  const auto& set = Setter(prop, TTypeKind::tkClass, prop.SetObj);
  if (value && !value->InheritsFrom(prop.PropType->ClassType)) InvalidValue();
  set(instance, value);
}

TMethod GetMethodProp(TObject* instance, const TPropInfo& prop) {
  return Getter(prop, prop.GetMethod)(instance);
}

void SetMethodProp(TObject* instance, const TPropInfo& prop, const TMethod& value) {
  const auto& set = Setter(prop, TTypeKind::tkMethod, prop.SetMethod);
  if (value.Assigned() && (!value.Signature || *value.Signature != *prop.PropType->MethodSignature))
    throw EPropertyError(SInvalidPropertyValue);
  set(instance, value);
}

Variant GetVariantProp(TObject* instance, const TPropInfo& prop) {
  return Getter(prop, prop.GetVar)(instance);
}

void SetVariantProp(TObject* instance, const TPropInfo& prop, const Variant& value) {
  Setter(prop, TTypeKind::tkVariant, prop.SetVar)(instance, value);
}

Variant GetPropValue(TObject* root, std::string_view path, bool preferStrings) {
  auto [instance, p] = ResolvePropPath(root, path);
  const TPropInfo& prop = *p;
  const TTypeInfo* t = prop.PropType;
  switch (t->Kind) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkChar:
    case TTypeKind::tkWChar:
      if (t->OrdType == TOrdType::otULong) return Variant(static_cast<unsigned>(GetOrdProp(instance, prop)));
      return Variant(static_cast<int>(GetOrdProp(instance, prop)));
    case TTypeKind::tkEnumeration:
      if (t == TypeInfoBoolean()) return Variant(GetOrdProp(instance, prop) != 0);
      if (preferStrings) return Variant(GetEnumProp(instance, prop));
      return Variant(static_cast<int>(GetOrdProp(instance, prop)));
    case TTypeKind::tkSet:
      if (preferStrings) return Variant(GetSetProp(instance, prop));
      return Variant(static_cast<long long>(GetOrdProp(instance, prop)));
    case TTypeKind::tkInt64:
      return Variant(static_cast<long long>(GetOrdProp(instance, prop)));
    case TTypeKind::tkFloat:
      if (IsDateType(t)) return VarFromDateTime(GetFloatProp(instance, prop));
      if (t->FloatType == TFloatType::ftCurr) return Variant(GetCurrencyProp(instance, prop));
      return Variant(GetFloatProp(instance, prop));
    case TTypeKind::tkString:
    case TTypeKind::tkLString:
      return Variant(GetStrProp(instance, prop));
    case TTypeKind::tkWString:
      return Variant(GetWideStrProp(instance, prop));
    case TTypeKind::tkVariant:
      return GetVariantProp(instance, prop);
    case TTypeKind::tkClass:
      return VarFromObject(GetObjectProp(instance, prop));
    default:
      WrongKind(prop);
  }
}

void SetPropValue(TObject* root, std::string_view path, const Variant& value) {
  auto [instance, p] = ResolvePropPath(root, path);
  const TPropInfo& prop = *p;
  const TTypeInfo* t = prop.PropType;
  bool isText = VarIsStr(value);
  switch (t->Kind) {
    case TTypeKind::tkInteger: {
      int64_t v = 0;
      if (isText && IdentToInt(value.AsString(), v, t->Idents)) return SetOrdProp(instance, prop, v);
      return SetOrdProp(instance, prop, value.AsInt64());
    }
    case TTypeKind::tkChar:
    case TTypeKind::tkWChar:
      if (isText) return SetStrProp(instance, prop, value.AsString());
      return SetOrdProp(instance, prop, value.AsInt64());
    case TTypeKind::tkEnumeration:
      if (isText) return SetEnumProp(instance, prop, value.AsString());
      if (VarType(value) == varBoolean) return SetOrdProp(instance, prop, value.AsBoolean() ? 1 : 0);
      return SetOrdProp(instance, prop, value.AsInt64());
    case TTypeKind::tkSet:
      if (isText) return SetSetProp(instance, prop, value.AsString());
      return SetOrdProp(instance, prop, value.AsInt64());
    case TTypeKind::tkInt64:
      return SetOrdProp(instance, prop, value.AsInt64());
    case TTypeKind::tkFloat:
      if (IsDateType(t)) return SetFloatProp(instance, prop, VarToDateTime(value));
      if (t->FloatType == TFloatType::ftCurr) return SetCurrencyProp(instance, prop, value.AsCurrency());
      return SetFloatProp(instance, prop, value.AsDouble());
    case TTypeKind::tkString:
    case TTypeKind::tkLString:
      return SetStrProp(instance, prop, VarToStr(value));
    case TTypeKind::tkWString:
      return SetWideStrProp(instance, prop, VarToWideStr(value));
    case TTypeKind::tkVariant:
      return SetVariantProp(instance, prop, value);
    case TTypeKind::tkClass:
      return SetObjectProp(instance, prop, VarToObject(value, t->ClassType));
    default:
      WrongKind(prop);
  }
}

bool IsStoredProp(TObject* instance, const TPropInfo& prop) {
  return prop.StoredProc ? prop.StoredProc(instance) : prop.StoredConst;
}

bool IsDefaultPropValue(TObject* instance, const TPropInfo& prop) {
  switch (prop.Kind()) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkChar:
    case TTypeKind::tkWChar:
    case TTypeKind::tkEnumeration:
    case TTypeKind::tkSet:
      return prop.Default != NoDefault && prop.GetOrd(instance) == prop.Default;
    case TTypeKind::tkInt64:
      return prop.GetOrd(instance) == (prop.Default == NoDefault ? 0 : prop.Default);
    case TTypeKind::tkFloat:
      if (prop.GetCurr) return prop.GetCurr(instance).Value == 0;
      return prop.GetFloat(instance) == 0.0;
    case TTypeKind::tkString:
    case TTypeKind::tkLString:
      return prop.GetStr(instance).empty();
    case TTypeKind::tkWString:
      return prop.GetWStr(instance).empty();
    case TTypeKind::tkVariant:
      return VarIsEmpty(prop.GetVar(instance));
    case TTypeKind::tkClass:
      return prop.GetObj(instance) == nullptr;
    case TTypeKind::tkMethod:
      return !prop.GetMethod(instance).Assigned();
    default:
      return false;
  }
}

// ---------------------------------------------------------------------------
// Handler methods.

const THandlerInfo* FindHandler(TClass cls, std::string_view name) {
  for (TClass c = cls; c; c = c->Parent)
    for (const THandlerInfo& h : BuiltDataOf(c).Handlers)
      if (SameText(h.Name, name)) return &h;
  return nullptr;
}

TMethod MethodAddress(TObject* instance, std::string_view name) {
  const THandlerInfo* h = FindHandler(instance->ClassType(), name);
  return h ? h->Bind(instance) : TMethod{};
}

std::string MethodName(TObject* instance, const TMethod& method) {
  if (!instance || !method.Assigned()) return {};
  for (TClass c = instance->ClassType(); c; c = c->Parent)
    for (const THandlerInfo& h : BuiltDataOf(c).Handlers)
      if (h.Bind(instance) == method) return h.Name;
  return {};
}

void BindEvent(TObject* instance, std::string_view propName, TObject* handlerObject,
               std::string_view handlerName) {
  const TPropInfo& prop = FindPropInfo(instance, propName);
  if (prop.Kind() != TTypeKind::tkMethod) WrongKind(prop);
  if (handlerName.empty() || SameText(handlerName, "nil")) {
    SetMethodProp(instance, prop, TMethod{});
    return;
  }
  const THandlerInfo* h = handlerObject ? FindHandler(handlerObject->ClassType(), handlerName) : nullptr;
  if (!h) throw EMethodNotFound(SMethodNotFound, {handlerName});
  if (*h->Signature != *prop.PropType->MethodSignature)
    throw EPropertyError(SIncompatibleHandler, {handlerName, propName});
  SetMethodProp(instance, prop, h->Bind(handlerObject));
}
