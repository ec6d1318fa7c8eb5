#include "platform/rtl/Resources.h"

#include <map>
#include <mutex>
#include <vector>

VXN_IMPLEMENT_CLASS(EResNotFound, Exception)
VXN_IMPLEMENT_CLASS(TResourceStream, TCustomMemoryStream)

namespace {

struct Store {
  std::mutex Lock;
  std::map<std::string, TResourceEntry> Entries;  // key "TYPE\nNAME", upper case
  std::map<Integer, std::string> Strings;
  TResourceStringHook Hook;
};

Store& TheStore() {
  static Store store;
  return store;
}

std::string Key(std::string_view name, std::string_view type) {
  return UpperCase(type) + "\n" + UpperCase(name);
}

}  // namespace

void RegisterResources(const TResourceEntry* Entries, size_t Count) {
  Store& s = TheStore();
  std::lock_guard guard(s.Lock);
  for (size_t i = 0; i < Count; ++i) s.Entries[Key(Entries[i].Name, Entries[i].Type)] = Entries[i];
}

bool FindResource(std::string_view Name, std::string_view Type, std::string_view& Data) {
  Store& s = TheStore();
  std::lock_guard guard(s.Lock);
  auto it = s.Entries.find(Key(Name, Type));
  if (it == s.Entries.end()) return false;
  Data = std::string_view(reinterpret_cast<const char*>(it->second.Data), it->second.Size);
  return true;
}

std::string_view LoadResource(std::string_view Name, std::string_view Type) {
  std::string_view data;
  if (!FindResource(Name, Type, data)) throw EResNotFound(SResNotFound, {Name});
  return data;
}

TResourceStream::TResourceStream(std::string_view Name, std::string_view Type) {
  std::string_view data = LoadResource(Name, Type);
  SetPointer(const_cast<char*>(data.data()), static_cast<Int64>(data.size()));
}

void RegisterResourceString(Integer Id, std::string Text) {
  Store& s = TheStore();
  std::lock_guard guard(s.Lock);
  s.Strings[Id] = std::move(Text);
}

void SetResourceStringHook(TResourceStringHook Hook) {
  Store& s = TheStore();
  std::lock_guard guard(s.Lock);
  s.Hook = std::move(Hook);
}

std::string LoadResString(Integer Id) {
  Store& s = TheStore();
  std::string text;
  TResourceStringHook hook;
  {
    std::lock_guard guard(s.Lock);
    auto it = s.Strings.find(Id);
    if (it != s.Strings.end()) text = it->second;
    hook = s.Hook;
  }
  return hook ? hook(Id, text) : text;
}
