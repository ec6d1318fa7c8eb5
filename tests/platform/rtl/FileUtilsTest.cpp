#include "platform/rtl/FileUtils.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/WinError.h"
#include "tests/support/TempFolder.h"

namespace {

class Folder : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void touch(const std::string& name, std::string_view text = "") const {
    std::ofstream(path(name), std::ios::binary) << text;
  }

  TempFolder folder_{"files"};
  std::filesystem::path dir_ = folder_.Path();
};

std::string found(const std::string& pattern, Integer attr) {
  TSearchRec rec;
  std::string names;
  for (Integer r = FindFirst(pattern, attr, rec); r == 0; r = FindNext(rec)) {
    if (!names.empty()) names += ',';
    names += rec.Name;
  }
  FindClose(rec);
  return names;
}

TEST(FileNames, Parts) {
  struct Case {
    const char* name;
    const char* path;
    const char* dir;
    const char* file;
    const char* ext;
  };
  const Case cases[] = {
      {"/a/b/c.ini", "/a/b/", "/a/b", "c.ini", ".ini"},
      {"c.tar.gz", "", "", "c.tar.gz", ".gz"},
      {"/a.d/file", "/a.d/", "/a.d", "file", ""},
      {"/top", "/", "/", "top", ""},
      {"dir/", "dir/", "dir", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
    EXPECT_EQ(ExtractFileDir(c.name), c.dir) << c.name;
    EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
    EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
  }
  EXPECT_EQ(ChangeFileExt("/x/data.dat", ".bak"), "/x/data.bak");
  EXPECT_EQ(ChangeFileExt("/x.y/data", ".ini"), "/x.y/data.ini");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/x"), "/x/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/x/"), "/x/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/x//"), "/x");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
}

TEST(FileNames, MaskMatching) {
  struct Case {
    const char* name;
    const char* mask;
    bool match;
  };
  const Case cases[] = {
      {"radio.dat", "*.dat", true},   {"RADIO.DAT", "*.dat", true},  {"radio.dat.bak", "*.dat", false},
      {"noext", "*.*", true},         {"a.b", "?.?", true},          {"ab.b", "?.?", false},
      {"English.Ini", "*.ini", true}, {"x", "", false},              {"", "*", true},
      {"aXbXc", "a*b*c", true},       {"abc", "a*b*c*d", false},     {"中文.ini", "??.ini", true},
      {"中文.ini", "??????.ini", false},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchesMask(c.name, c.mask), c.match) << c.name << " ~ " << c.mask;
  // A pathological pattern stays fast.
  EXPECT_FALSE(MatchesMask(std::string(5000, 'a'), std::string(50, '*') + "b"));
}

TEST_F(Folder, SearchPatternsAndAttributes) {
  touch("b.dat", "12345");
  touch("a.DAT");
  touch("c.ini");
  touch(".hidden.dat");
  std::filesystem::create_directory(path("sub.dat"));
  std::filesystem::create_symlink(path("b.dat"), path("link.dat"));

  struct Case {
    const char* pattern;
    Integer attr;
    const char* names;
  };
  const Case cases[] = {
      {"*.dat", 0, "a.DAT,b.dat,link.dat"},
      {"*.dat", faHidden, ".hidden.dat,a.DAT,b.dat,link.dat"},
      {"*.dat", faDirectory, "a.DAT,b.dat,link.dat,sub.dat"},
      {"*", faAnyFile, ".hidden.dat,a.DAT,b.dat,c.ini,link.dat,sub.dat"},
      {"?.ini", 0, "c.ini"},
      {"*.none", faAnyFile, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(found(path(c.pattern), c.attr), c.names) << c.pattern;

  TSearchRec rec;
  ASSERT_EQ(FindFirst(path("b.dat"), 0, rec), 0);
  EXPECT_EQ(rec.Size, 5);
  EXPECT_EQ(rec.Attr & (faArchive | faDirectory), faArchive);
  EXPECT_GT(rec.TimeStamp, 45000.0);  // after 2023
  EXPECT_NE(rec.Time, 0);
  EXPECT_EQ(FindNext(rec), static_cast<Integer>(win::ERROR_NO_MORE_FILES));
  FindClose(rec);
  ASSERT_EQ(FindFirst(path("link.dat"), 0, rec), 0);
  EXPECT_EQ(rec.Attr & faSymLink, faSymLink);
  FindClose(rec);
  ASSERT_EQ(FindFirst(path("sub.dat"), faDirectory, rec), 0);
  EXPECT_EQ(rec.Attr & faDirectory, faDirectory);
  FindClose(rec);

  EXPECT_EQ(FindFirst(path("*.none"), faAnyFile, rec), static_cast<Integer>(win::ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(FindFirst(path("missing/*.dat"), faAnyFile, rec), static_cast<Integer>(win::ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(FindNext(rec), static_cast<Integer>(win::ERROR_NO_MORE_FILES));
}

TEST_F(Folder, TemporaryFilesAndFolders) {
  const std::string a = CreateUniqueTempFile("vxn", dir_.string());
  const std::string b = CreateUniqueTempFile("vxn", dir_.string());
  EXPECT_NE(a, b);
  EXPECT_EQ(ExtractFileName(a).rfind("vxn", 0), 0u);
  EXPECT_EQ(ExtractFilePath(a), IncludeTrailingPathDelimiter(dir_.string()));
  EXPECT_TRUE(FileExists(a));
  EXPECT_THROW(CreateUniqueTempFile("x", path("missing")), EFCreateError);

  const char* saved = std::getenv("TMPDIR");
  const std::string savedValue = saved ? saved : "";
  setenv("TMPDIR", dir_.c_str(), 1);
  EXPECT_EQ(GetTempPath(), dir_.string() + "/");
  EXPECT_EQ(ExtractFilePath(CreateUniqueTempFile("t")), dir_.string() + "/");
  unsetenv("TMPDIR");
  EXPECT_EQ(GetTempPath(), "/tmp/");
  if (saved) setenv("TMPDIR", savedValue.c_str(), 1);

  EXPECT_TRUE(ForceDirectories(path("x/y/z/")));
  EXPECT_TRUE(DirectoryExists(path("x/y/z")));
  EXPECT_FALSE(FileExists(path("x/y")));
  touch("file");
  EXPECT_FALSE(ForceDirectories(path("file/sub")));
  EXPECT_TRUE(RenameFile(path("file"), path("moved")));
  EXPECT_TRUE(DeleteFile(path("moved")));
  EXPECT_FALSE(DeleteFile(path("moved")));
}

TEST_F(Folder, AtomicReplaceOfANewFileUsesTheUmask) {
  const mode_t old = ::umask(027);
  ReplaceFileAtomically(path("new.dat"), std::string("\0\1\2", 3));
  ::umask(old);
  struct stat st;
  ASSERT_EQ(::stat(path("new.dat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(st.st_size, 3);

  // A loop of links is reported, not followed for ever.
  std::filesystem::create_symlink(path("loop2"), path("loop1"));
  std::filesystem::create_symlink(path("loop1"), path("loop2"));
  EXPECT_THROW(ReplaceFileAtomically(path("loop1"), "x"), EFCreateError);
}

TEST_F(Folder, ReadOnlyFileIsNotReplaced) {
  touch("ro.ini", "old");
  ASSERT_EQ(::chmod(path("ro.ini").c_str(), 0444), 0);
  ASSERT_EQ(::chmod(dir_.c_str(), 0777), 0);
  const std::string expected = "Cannot create file \"" + path("ro.ini") + "\". Permission denied";
  auto attempt = [&]() -> int {
    try {
      ReplaceFileAtomically(path("ro.ini"), "new");
      return 0;
    } catch (const EFCreateError& e) {
      return e.Message == expected ? 1 : 2;
    }
  };
  int result;
  if (::geteuid() == 0) {
    // Root may write anything: try as an ordinary user.
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
      ::_exit(attempt());
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    result = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  } else {
    result = attempt();
  }
  EXPECT_EQ(result, 1);
  std::ifstream in(path("ro.ini"));
  std::string text;
  std::getline(in, text);
  EXPECT_EQ(text, "old");
}

}  // namespace

// The temporary copy of a failed save goes with the failure; one that a
// killed program left behind goes with the next save of the same file, when
// it is no longer being written.
TEST_F(Folder, AtomicReplaceLeavesNoTemporaryCopies) {
  const auto leftovers = [&](const std::string& file) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("." + file + ".", 0) == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  };
  std::filesystem::create_directory(path("folder.dat"));  // the rename fails
  EXPECT_THROW(ReplaceFileAtomically(path("folder.dat"), "x"), EFCreateError);
  EXPECT_TRUE(leftovers("folder.dat").empty());

  touch(".radio.dat.Ab3dE9", "stale");
  touch(".radio.dat.Zz9Zz9", "being written");
  touch(".radio.dat.short", "not ours");
  touch(".other.dat.Ab3dE9", "another file's");
  const auto longAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  std::filesystem::last_write_time(path(".radio.dat.Ab3dE9"), longAgo);
  std::filesystem::last_write_time(path(".other.dat.Ab3dE9"), longAgo);
  ReplaceFileAtomically(path("radio.dat"), "new");
  EXPECT_EQ(leftovers("radio.dat"), (std::vector<std::string>{".radio.dat.Zz9Zz9", ".radio.dat.short"}));
  EXPECT_EQ(leftovers("other.dat"), (std::vector<std::string>{".other.dat.Ab3dE9"}));
}
