// The settings store that stands in for the registry. Keys such as
// "\Software\Report Engine\Form" are sections of one ini file per user,
// $XDG_CONFIG_HOME/vxn/registry.ini (~/.config/vxn/ without the variable; the
// folder is created on the first write):
//
//   [Software\Report Engine\Form]
//   Units=1
//
// Key paths are case-insensitive like the sections; a key exists when its
// section or a section below it does. Values are text: integers are written
// in decimal and Booleans as 1 / 0. Every call reads the file and every change
// writes it at once (atomically), so several TRegistry objects and the
// program's other processes see one store. Keys under a root other than
// HKEY_CURRENT_USER live in the same file under the root's name.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/System.h"

class TStrings;

using HKEY = Cardinal;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr HKEY HKEY_USERS = 0x80000003;

class ERegistryException : public Exception {
  VXN_DECLARE_CLASS(ERegistryException)

 public:
  using Exception::Exception;
};

// The store's file: $XDG_CONFIG_HOME/vxn/registry.ini, or
// $HOME/.config/vxn/registry.ini when the variable is unset or not absolute.
std::string SettingsStoreFileName();

class TRegistry : public TObject {
  VXN_DECLARE_CLASS(TRegistry)

 public:
  TRegistry() = default;

  HKEY RootKey() const { return rootKey_; }
  // Closes the open key.
  void SetRootKey(HKEY Value);
  // The open key without leading '\' ("" when none is open).
  const std::string& CurrentPath() const { return currentPath_; }

  // A key starting with '\' is absolute, any other is relative to the open
  // key. False when the key does not exist and may not be created.
  bool OpenKey(const std::string& Key, bool CanCreate);
  bool OpenKeyReadOnly(const std::string& Key);
  void CloseKey();
  bool CreateKey(const std::string& Key);
  // Deletes the key with everything below it; false when it did not exist.
  bool DeleteKey(const std::string& Key);
  bool KeyExists(const std::string& Key);
  bool HasSubKeys();
  // Names of the keys directly below the open key / of its values.
  void GetKeyNames(TStrings& Strings);
  void GetValueNames(TStrings& Strings);

  bool ValueExists(const std::string& Name);
  bool DeleteValue(const std::string& Name);
  // "" for a missing value.
  std::string ReadString(const std::string& Name);
  // A missing value raises ERegistryException "Failed to get data for
  // '<name>'", one that is not a number "Invalid data type for '<name>'".
  Integer ReadInteger(const std::string& Name);
  bool ReadBool(const std::string& Name);
  // Without an open key, or with one opened read-only, raise
  // ERegistryException "Failed to set data for '<name>'".
  void WriteString(const std::string& Name, const std::string& Value);
  void WriteInteger(const std::string& Name, Integer Value);
  void WriteBool(const std::string& Name, bool Value);

 private:
  std::string fullPath(const std::string& key) const;
  void write(const std::string& name, const std::string& value);

  HKEY rootKey_ = HKEY_CURRENT_USER;
  std::string currentPath_;
  bool readOnly_ = false;
};

// An ini-file view of the store: FileName is a key ("\Software\Report
// Engine"), sections are the keys below it and idents their values. Writes go
// to the store at once.
class TRegistryIniFile : public TCustomIniFile {
  VXN_DECLARE_CLASS(TRegistryIniFile)

 public:
  explicit TRegistryIniFile(const std::string& FileName) : TCustomIniFile(FileName) {}

  std::string ReadString(const std::string& Section, const std::string& Ident,
                         const std::string& Default) override;
  void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) override;
  void ReadSection(const std::string& Section, TStrings& Strings) override;
  void ReadSectionValues(const std::string& Section, TStrings& Strings) override;
  void ReadSections(TStrings& Strings) override;
  void EraseSection(const std::string& Section) override;
  void DeleteKey(const std::string& Section, const std::string& Ident) override;
  void UpdateFile() override {}
  bool SectionExists(const std::string& Section) override;
  bool ValueExists(const std::string& Section, const std::string& Ident) override;

 private:
  std::string key(const std::string& section) const;
};
