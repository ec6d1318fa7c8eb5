#include "platform/rtl/Registry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/rtl/Classes.h"
#include "tests/support/TempFolder.h"

namespace {

class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    hadConfig_ = saved != nullptr;
    if (saved) savedConfig_ = saved;
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
  }
  void TearDown() override {
    if (hadConfig_)
      setenv("XDG_CONFIG_HOME", savedConfig_.c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
  }

  TempFolder folder_{"store"};
  std::filesystem::path dir_ = folder_.Path();
  bool hadConfig_ = false;
  std::string savedConfig_;
};

TEST_F(SettingsStore, RoundTripThroughTheUsersFile) {
  EXPECT_EQ(SettingsStoreFileName(), (dir_ / "config/vxn/registry.ini").string());
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey("\\Software\\Vxn\\Port", false));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "config/vxn"));  // nothing written yet

  ASSERT_TRUE(reg.OpenKey("\\Software\\Vxn\\Port", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\Vxn\\Port");
  reg.WriteString("Name", "COM3");
  reg.WriteInteger("Baud", 2400);
  reg.WriteBool("Open", true);
  reg.WriteString("", "default");
  EXPECT_TRUE(std::filesystem::exists(SettingsStoreFileName()));

  // Another object, keys in another case, relative paths.
  TRegistry other;
  ASSERT_TRUE(other.OpenKey("\\software", false));
  ASSERT_TRUE(other.OpenKey("VXN\\port", false));
  EXPECT_EQ(other.ReadString("name"), "COM3");
  EXPECT_EQ(other.ReadInteger("Baud"), 2400);
  EXPECT_TRUE(other.ReadBool("Open"));
  EXPECT_EQ(other.ReadString(""), "default");
  EXPECT_EQ(other.ReadString("missing"), "");
  EXPECT_TRUE(other.ValueExists("Baud"));
  TStringList names;
  other.GetValueNames(names);
  EXPECT_EQ(names.Count(), 4);
  EXPECT_EQ(names[3], "");  // the default value

  try {
    other.ReadInteger("missing");
    ADD_FAILURE();
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "Failed to get data for 'missing'");
  }
  try {
    other.ReadInteger("Name");
    ADD_FAILURE();
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "Invalid data type for 'Name'");
  }

  EXPECT_TRUE(other.DeleteValue("Baud"));
  EXPECT_FALSE(other.DeleteValue("Baud"));
  EXPECT_FALSE(reg.ValueExists("Baud"));

  // Key tree.
  EXPECT_TRUE(reg.CreateKey("\\Software\\Vxn\\Windows\\Main"));
  ASSERT_TRUE(reg.OpenKey("\\Software\\Vxn", false));
  EXPECT_TRUE(reg.HasSubKeys());
  reg.GetKeyNames(names);
  EXPECT_EQ(names.CommaText(), "Port,Windows");
  EXPECT_TRUE(reg.KeyExists("\\Software\\Vxn\\Windows"));  // only through a key below it
  EXPECT_TRUE(reg.DeleteKey("Windows"));
  EXPECT_FALSE(reg.KeyExists("Windows\\Main"));
  EXPECT_FALSE(reg.DeleteKey("Windows"));
  EXPECT_TRUE(reg.KeyExists("Port"));
}

TEST_F(SettingsStore, WritesNeedAWritableOpenKey) {
  TRegistry reg;
  try {
    reg.WriteString("x", "y");
    ADD_FAILURE();
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "Failed to set data for 'x'");
  }
  ASSERT_TRUE(reg.OpenKey("\\Software\\A", true));
  reg.WriteInteger("v", 1);
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\A"));
  EXPECT_EQ(reg.ReadInteger("v"), 1);
  EXPECT_THROW(reg.WriteInteger("v", 2), ERegistryException);
  EXPECT_FALSE(reg.DeleteValue("v"));

  // Other roots do not mix with the user's keys.
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reg.CurrentPath(), "");
  EXPECT_FALSE(reg.KeyExists("\\Software\\A"));
  ASSERT_TRUE(reg.OpenKey("\\Software\\A", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\A");
  reg.WriteInteger("v", 7);
  TRegistry user;
  ASSERT_TRUE(user.OpenKey("\\Software\\A", false));
  EXPECT_EQ(user.ReadInteger("v"), 1);
  TStringList names;
  user.OpenKey("\\", false);
  user.GetKeyNames(names);
  EXPECT_EQ(names.CommaText(), "Software");
}

TEST_F(SettingsStore, IniFileViewOfAKey) {
  TRegistryIniFile ini("\\Software\\Report Engine");
  EXPECT_EQ(ini.ReadInteger("Form.TfrxDesignerForm", "Units", 0), 0);
  ini.WriteInteger("Form.TfrxDesignerForm", "Units", 1);
  ini.WriteString("Preview", "Zoom", "100");
  EXPECT_EQ(ini.ReadInteger("form.tfrxdesignerform", "units", 0), 1);
  TStringList sections;
  ini.ReadSections(sections);
  EXPECT_EQ(sections.CommaText(), "Form.TfrxDesignerForm,Preview");

  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\Report Engine\\Preview", false));
  EXPECT_EQ(reg.ReadString("Zoom"), "100");

  ini.EraseSection("Preview");
  EXPECT_FALSE(ini.SectionExists("Preview"));
  EXPECT_TRUE(ini.ValueExists("Form.TfrxDesignerForm", "Units"));
}

}  // namespace
