#include "platform/rtl/IniFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/rtl/Classes.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/TempFolder.h"

namespace {

class IniFiles : public ::testing::Test {
 protected:
  std::string path(const char* name) const { return (dir_ / name).string(); }
  std::string write(const char* name, std::string_view text) const {
    std::ofstream(path(name), std::ios::binary) << text;
    return path(name);
  }
  std::string read(const std::string& name) const {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  TempFolder folder_{"ini"};
  std::filesystem::path dir_ = folder_.Path();
};

const char* const kSample =
    "\xEF\xBB\xBF"
    "orphan=before any section\r\n"
    "[Main]\r\n"
    "  Port  =  COM3  \r\n"
    "port=second\r\n"
    "; Port=commented\n"
    "Quoted=\"a b\"\r"
    "no equals sign\n"
    "=empty key\n"
    "Empty=\n"
    "Hex=$1F\n"
    "[ Lang ]\n"
    "Name=中文\n"
    "[main]\n"
    "Later=duplicate section\n";

TEST_F(IniFiles, ReadingFollowsTheWrittenRules) {
  const std::string name = write("sample.ini", kSample);
  TMemIniFile mem(name);
  TIniFile direct(name);
  for (TCustomIniFile* ini : std::initializer_list<TCustomIniFile*>{&mem, &direct}) {
    struct Case {
      const char* section;
      const char* key;
      const char* expected;
    };
    const Case cases[] = {
        {"Main", "Port", "COM3"},           // trimmed; the first of duplicates
        {"MAIN", "pORT", "COM3"},           // case-insensitive
        {"Main", "Quoted", "\"a b\""},      // quotes kept
        {"Main", "Empty", ""},
        {"Main", "no equals sign", "dflt"},
        {"Main", "", "dflt"},
        {"Main", "orphan", "dflt"},         // before any section
        {"Main", "Later", "dflt"},          // the second [main] is not the section
        {"Lang", "Name", "中文"},           // the BOM is not part of the first line
        {"Missing", "Port", "dflt"},
    };
    for (const Case& c : cases)
      EXPECT_EQ(ini->ReadString(c.section, c.key, "dflt"), c.expected) << ini->ClassName() << " " << c.key;

    EXPECT_EQ(ini->ReadInteger("Main", "Hex", 0), 31);
    EXPECT_TRUE(ini->ValueExists("main", "empty"));
    EXPECT_FALSE(ini->ValueExists("main", "commented"));
    EXPECT_TRUE(ini->SectionExists("LANG"));
    EXPECT_FALSE(ini->SectionExists("Other"));

    TStringList list;
    ini->ReadSection("Main", list);
    EXPECT_EQ(list.CommaText(), "Port,Quoted,Empty,Hex");
    ini->ReadSectionValues("Main", list);
    EXPECT_EQ(list.CommaText(), "Port=COM3,\"Quoted=\"\"a b\"\"\",Empty=,Hex=$1F");
    ini->ReadSections(list);
    EXPECT_EQ(list.CommaText(), "Main,Lang");
  }
}

TEST_F(IniFiles, LongValuesAreCutAt2047Characters) {
  const std::string ascii(3000, 'x');
  std::string chinese;
  for (int i = 0; i < 2100; ++i) chinese += "文";
  const std::string name = write("long.ini", "[S]\nA=" + ascii + "\nC=" + chinese + "\n");
  TMemIniFile ini(name);
  EXPECT_EQ(ini.ReadString("S", "A", ""), ascii.substr(0, 2047));
  EXPECT_EQ(ini.ReadString("S", "C", ""), chinese.substr(0, 2047 * 3));
  TStringList values;
  ini.ReadSectionValues("S", values);
  EXPECT_EQ(values.Values("A").size(), 2047u);
}

TEST_F(IniFiles, TypedValues) {
  const std::string name = write("typed.ini",
                                 "[T]\ndec=42\nneg= -7 \nhex=0x10\ndollar=$ff\ntext=abc\nzero=0\n"
                                 "two=2\nfloat=1.5\ncomma=1,5\ndate=3/5/2024\n");
  TMemIniFile ini(name);
  struct IntCase {
    const char* key;
    Integer expected;
  };
  for (const IntCase& c : {IntCase{"dec", 42}, IntCase{"neg", -7}, IntCase{"hex", 16}, IntCase{"dollar", 255},
                           IntCase{"text", 99}, IntCase{"missing", 99}, IntCase{"float", 99}})
    EXPECT_EQ(ini.ReadInteger("T", c.key, 99), c.expected) << c.key;

  struct BoolCase {
    const char* key;
    bool dflt;
    bool expected;
  };
  for (const BoolCase& c : {BoolCase{"zero", true, false}, BoolCase{"two", false, true},
                            BoolCase{"neg", false, true}, BoolCase{"text", true, true},
                            BoolCase{"text", false, false}, BoolCase{"missing", true, true}})
    EXPECT_EQ(ini.ReadBool("T", c.key, c.dflt), c.expected) << c.key;

  EXPECT_DOUBLE_EQ(ini.ReadFloat("T", "float", 0), 1.5);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("T", "comma", -1), -1);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("T", "text", -1), -1);
  EXPECT_DOUBLE_EQ(ini.ReadDate("T", "date", 0), 45356.0);  // 2024-03-05, English settings
  EXPECT_DOUBLE_EQ(ini.ReadDateTime("T", "text", 7), 7);

  // Floats keep '.' even when the process uses a comma.
  const TFormatSettings saved = DefaultFormatSettings();
  TFormatSettings comma = saved;
  comma.DecimalSeparator = ',';
  comma.ThousandSeparator = '.';
  SetDefaultFormatSettings(comma);
  ini.WriteFloat("T", "pi", 3.25);
  const std::string written = ini.ReadString("T", "pi", "");
  const Double back = ini.ReadFloat("T", "pi", 0);
  SetDefaultFormatSettings(saved);
  EXPECT_EQ(written, "3.25");
  EXPECT_DOUBLE_EQ(back, 3.25);

  ini.WriteInteger("T", "dec", -12);
  ini.WriteBool("T", "zero", true);
  EXPECT_EQ(ini.ReadString("T", "dec", ""), "-12");
  EXPECT_EQ(ini.ReadString("T", "zero", ""), "1");
}

TEST_F(IniFiles, WritesReplaceTheFirstMatchOrAppendToTheSection) {
  const std::string name = write("w.ini",
                                 "\xEF\xBB\xBF; header comment\n[A]\nx=1\nX=2\n; note\n\n[B]\ny=1\n");
  TMemIniFile ini(name);
  ini.WriteString("a", "X", "10");       // the first x, keeping its spelling
  ini.WriteString("A", "new", "v");      // after the last line of [A], before the blank
  ini.WriteString("C", "z", "3");        // a new section at the end
  ini.WriteString("B", "multi", "one\r\ntwo\n[Evil]");  // cannot break the structure
  ini.UpdateFile();
  EXPECT_EQ(read(name),
            "\xEF\xBB\xBF; header comment\r\n[A]\r\nx=10\r\nX=2\r\n; note\r\nnew=v\r\n\r\n"
            "[B]\r\ny=1\r\nmulti=one  two [Evil]\r\n[C]\r\nz=3\r\n");
  TMemIniFile again(name);
  EXPECT_FALSE(again.SectionExists("Evil"));
  EXPECT_EQ(again.ReadString("B", "multi", ""), "one  two [Evil]");

  // DeleteKey takes the duplicates too; EraseSection every copy of the section.
  again.DeleteKey("A", "x");
  EXPECT_FALSE(again.ValueExists("A", "X"));
  again.WriteString("b", "k", "v");
  again.EraseSection("B");
  EXPECT_FALSE(again.SectionExists("B"));
  TStringList lines;
  again.GetStrings(lines);
  EXPECT_EQ(lines.Text(), "; header comment\r\n[A]\r\n; note\r\nnew=v\r\n\r\n[C]\r\nz=3\r\n");
}

TEST_F(IniFiles, TIniFileWritesAtOnce) {
  const std::string name = path("direct.ini");
  TIniFile ini(name);
  EXPECT_EQ(ini.ReadString("S", "k", "none"), "none");  // a missing file reads as empty
  EXPECT_FALSE(std::filesystem::exists(name));
  ini.WriteString("S", "k", "v");
  EXPECT_EQ(read(name), "[S]\r\nk=v\r\n");
  TMemIniFile other(name);
  EXPECT_EQ(other.ReadString("s", "K", ""), "v");
  ini.DeleteKey("S", "k");
  ini.EraseSection("Nothing");
  EXPECT_EQ(read(name), "[S]\r\n");
  ini.EraseSection("S");
  EXPECT_EQ(read(name), "");
}

TEST_F(IniFiles, ReplacementKeepsModeAndFollowsLinks) {
  const std::string target = write("target.ini", "[S]\nk=old\n");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  const std::string link = path("link.ini");
  std::filesystem::create_symlink("target.ini", link);  // relative link

  TMemIniFile ini(link);
  EXPECT_EQ(ini.ReadString("S", "k", ""), "old");
  ini.WriteString("S", "k", "new");
  ini.UpdateFile();

  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(read(target), "[S]\r\nk=new\r\n");
  struct stat st;
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), std::filesystem::directory_iterator()), 2);

  // A dangling link creates its target.
  const std::string dangling = path("dangling.ini");
  std::filesystem::create_symlink(path("created.ini"), dangling);
  TIniFile viaLink(dangling);
  viaLink.WriteInteger("N", "v", 5);
  EXPECT_EQ(read(path("created.ini")), "[N]\r\nv=5\r\n");
  EXPECT_TRUE(std::filesystem::is_symlink(dangling));
}

TEST_F(IniFiles, FailuresNameTheFileAndTheReason) {
  const std::string missingFolder = path("no/such.ini");
  TMemIniFile ini(missingFolder);
  ini.WriteString("S", "k", "v");
  try {
    ini.UpdateFile();
    ADD_FAILURE();
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message, "Cannot create file \"" + missingFolder + "\". No such file or directory");
  }
  TIniFile direct(missingFolder);
  EXPECT_THROW(direct.WriteString("S", "k", "v"), EFCreateError);

  // A folder in the way of the file: reading and writing both fail loudly.
  std::filesystem::create_directory(path("folder.ini"));
  try {
    TMemIniFile folder(path("folder.ini"));
    ADD_FAILURE();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message, "Cannot open file \"" + path("folder.ini") + "\". Is a directory");
  }
  TMemIniFile empty(path("other.ini"));
  empty.Rename(path("folder.ini"), false);
  EXPECT_THROW(empty.UpdateFile(), EFCreateError);
}

}  // namespace
