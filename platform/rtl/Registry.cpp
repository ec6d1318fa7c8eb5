#include "platform/rtl/Registry.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/FileUtils.h"

VXN_IMPLEMENT_CLASS(ERegistryException, Exception)
VXN_IMPLEMENT_CREATABLE_CLASS(TRegistry, TObject)
VXN_IMPLEMENT_CLASS(TRegistryIniFile, TCustomIniFile)

std::string SettingsStoreFileName() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string folder;
  if (config && config[0] == '/') {
    folder = config;
  } else {
    const char* home = std::getenv("HOME");
    folder = std::string(home && *home ? home : "/tmp") + "/.config";
  }
  return IncludeTrailingPathDelimiter(folder) + "vxn/registry.ini";
}

namespace {

std::string fold(std::string_view s) {
  if (std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return LowerCase(s);
  return AnsiLowerCase(s);
}

// "\Software\\A\" -> "Software\A": no empty parts, no blanks around them.
std::string normalizeKey(std::string_view key) {
  std::string result;
  size_t pos = 0;
  while (pos <= key.size()) {
    size_t end = key.find('\\', pos);
    if (end == std::string_view::npos) end = key.size();
    const std::string part = Trim(key.substr(pos, end - pos));
    if (!part.empty()) {
      if (!result.empty()) result += '\\';
      result += part;
    }
    pos = end + 1;
  }
  return result;
}

std::string rootName(HKEY root) {
  switch (root) {
    case HKEY_CURRENT_USER: return "";
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    default: return "HKEY_" + IntToHex(root, 8);
  }
}

std::string join(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return a + "\\" + b;
}

// The default value of a key has no name; the file calls it "@".
std::string valueKey(const std::string& name) { return name.empty() ? "@" : name; }

TIniLines loadStore() {
  TIniLines lines;
  lines.Load(SettingsStoreFileName());
  return lines;
}

void saveStore(const TIniLines& lines) {
  const std::string file = SettingsStoreFileName();
  ForceDirectories(ExtractFileDir(file));
  ReplaceFileAtomically(file, lines.Compose());
}

bool isBelow(const std::string& section, const std::string& key) {
  if (key.empty()) return true;
  const std::string s = fold(section), k = fold(key);
  return s.size() > k.size() && s.compare(0, k.size(), k) == 0 && s[k.size()] == '\\';
}

bool keyExists(const TIniLines& lines, const std::string& key) {
  if (key.empty() || lines.HasSection(key)) return true;
  const std::vector<std::string> names = lines.SectionNames();
  return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return isBelow(normalizeKey(n), key); });
}

// Names of the keys directly below key; keys of other roots are not below
// the current user's root.
std::vector<std::string> childKeys(const TIniLines& lines, const std::string& key, bool userRoot) {
  std::vector<std::string> result;
  std::set<std::string> seen;
  for (const std::string& raw : lines.SectionNames()) {
    const std::string name = normalizeKey(raw);
    if (!isBelow(name, key)) continue;
    const std::string rest = key.empty() ? name : name.substr(key.size() + 1);
    const std::string child = rest.substr(0, rest.find('\\'));
    if (key.empty() && userRoot && child.rfind("HKEY_", 0) == 0) continue;
    if (seen.insert(fold(child)).second) result.push_back(child);
  }
  return result;
}

bool eraseKeyTree(TIniLines& lines, const std::string& key) {
  bool erased = false;
  for (const std::string& raw : lines.SectionNames()) {
    const std::string name = normalizeKey(raw);
    if (fold(name) == fold(key) || isBelow(name, key)) {
      lines.EraseSection(raw);
      erased = true;
    }
  }
  return erased;
}

}  // namespace

// ---------------------------------------------------------------------------
// TRegistry

void TRegistry::SetRootKey(HKEY Value) {
  CloseKey();
  rootKey_ = Value;
}

std::string TRegistry::fullPath(const std::string& key) const {
  const std::string logical = !key.empty() && key[0] == '\\' ? normalizeKey(key) : normalizeKey(join(currentPath_, key));
  return join(rootName(rootKey_), logical);
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate) {
  const std::string path = fullPath(Key);
  TIniLines lines = loadStore();
  if (!keyExists(lines, path)) {
    if (!CanCreate) return false;
    lines.AddSection(path);
    saveStore(lines);
  }
  const std::string root = rootName(rootKey_);
  currentPath_ = root.empty() ? path : normalizeKey(path.substr(std::min(path.size(), root.size())));
  readOnly_ = false;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& Key) {
  if (!OpenKey(Key, false)) return false;
  readOnly_ = true;
  return true;
}

void TRegistry::CloseKey() {
  currentPath_.clear();
  readOnly_ = false;
}

bool TRegistry::CreateKey(const std::string& Key) {
  const std::string path = fullPath(Key);
  TIniLines lines = loadStore();
  if (!keyExists(lines, path)) {
    lines.AddSection(path);
    saveStore(lines);
  }
  return true;
}

bool TRegistry::DeleteKey(const std::string& Key) {
  const std::string path = fullPath(Key);
  if (normalizeKey(path).empty()) return false;
  TIniLines lines = loadStore();
  if (!eraseKeyTree(lines, path)) return false;
  saveStore(lines);
  return true;
}

bool TRegistry::KeyExists(const std::string& Key) { return keyExists(loadStore(), fullPath(Key)); }

bool TRegistry::HasSubKeys() {
  return !childKeys(loadStore(), fullPath(std::string()), rootKey_ == HKEY_CURRENT_USER).empty();
}

void TRegistry::GetKeyNames(TStrings& Strings) {
  FillIniStrings(Strings,
                 childKeys(loadStore(), fullPath(std::string()), rootKey_ == HKEY_CURRENT_USER));
}

void TRegistry::GetValueNames(TStrings& Strings) {
  std::vector<std::string> names = loadStore().SectionKeys(fullPath(std::string()));
  for (std::string& n : names)
    if (n == "@") n.clear();
  FillIniStrings(Strings, names);
}

bool TRegistry::ValueExists(const std::string& Name) {
  std::string value;
  return loadStore().Find(fullPath(std::string()), valueKey(Name), value);
}

bool TRegistry::DeleteValue(const std::string& Name) {
  TIniLines lines = loadStore();
  std::string value;
  const std::string section = fullPath(std::string());
  if (readOnly_ || !lines.Find(section, valueKey(Name), value)) return false;
  lines.DeleteKey(section, valueKey(Name));
  saveStore(lines);
  return true;
}

std::string TRegistry::ReadString(const std::string& Name) {
  std::string value;
  return loadStore().Find(fullPath(std::string()), valueKey(Name), value) ? value : std::string();
}

Integer TRegistry::ReadInteger(const std::string& Name) {
  std::string text;
  if (!loadStore().Find(fullPath(std::string()), valueKey(Name), text))
    throw ERegistryException(Format("Failed to get data for '%s'", {Name}));
  Integer value;
  if (text.empty() || !TryStrToInt(text, value))
    throw ERegistryException(Format("Invalid data type for '%s'", {Name}));
  return value;
}

bool TRegistry::ReadBool(const std::string& Name) { return ReadInteger(Name) != 0; }

void TRegistry::write(const std::string& name, const std::string& value) {
  if (currentPath_.empty() || readOnly_) throw ERegistryException(Format("Failed to set data for '%s'", {name}));
  TIniLines lines = loadStore();
  lines.Write(fullPath(std::string()), valueKey(name), value);
  saveStore(lines);
}

void TRegistry::WriteString(const std::string& Name, const std::string& Value) { write(Name, Value); }
void TRegistry::WriteInteger(const std::string& Name, Integer Value) { write(Name, IntToStr(Value)); }
void TRegistry::WriteBool(const std::string& Name, bool Value) { write(Name, Value ? "1" : "0"); }

// ---------------------------------------------------------------------------
// TRegistryIniFile

std::string TRegistryIniFile::key(const std::string& section) const { return normalizeKey(join(fileName_, section)); }

std::string TRegistryIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                         const std::string& Default) {
  std::string value;
  return loadStore().Find(key(Section), valueKey(Ident), value) ? value : Default;
}

void TRegistryIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  TIniLines lines = loadStore();
  lines.Write(key(Section), valueKey(Ident), Value);
  saveStore(lines);
}

void TRegistryIniFile::ReadSection(const std::string& Section, TStrings& Strings) {
  FillIniStrings(Strings, loadStore().SectionKeys(key(Section)));
}

void TRegistryIniFile::ReadSectionValues(const std::string& Section, TStrings& Strings) {
  FillIniStrings(Strings, loadStore().SectionValues(key(Section)));
}

void TRegistryIniFile::ReadSections(TStrings& Strings) {
  FillIniStrings(Strings, childKeys(loadStore(), normalizeKey(fileName_), true));
}

void TRegistryIniFile::EraseSection(const std::string& Section) {
  TIniLines lines = loadStore();
  if (eraseKeyTree(lines, key(Section))) saveStore(lines);
}

void TRegistryIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
  TIniLines lines = loadStore();
  std::string value;
  if (!lines.Find(key(Section), valueKey(Ident), value)) return;
  lines.DeleteKey(key(Section), valueKey(Ident));
  saveStore(lines);
}

bool TRegistryIniFile::SectionExists(const std::string& Section) { return keyExists(loadStore(), key(Section)); }

bool TRegistryIniFile::ValueExists(const std::string& Section, const std::string& Ident) {
  std::string value;
  return loadStore().Find(key(Section), valueKey(Ident), value);
}
