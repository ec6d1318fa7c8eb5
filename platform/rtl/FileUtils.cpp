#include "FileUtils.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "SysUtils.h"
#include "Utf8.h"

std::string ExtractFilePath(std::string_view FileName) {
  const size_t p = FileName.rfind('/');
  return p == std::string_view::npos ? std::string() : std::string(FileName.substr(0, p + 1));
}

std::string ExtractFileDir(std::string_view FileName) {
  const size_t p = FileName.rfind('/');
  if (p == std::string_view::npos) return std::string();
  if (p == 0) return "/";
  return std::string(FileName.substr(0, p));
}

std::string ExtractFileName(std::string_view FileName) {
  const size_t p = FileName.rfind('/');
  return std::string(p == std::string_view::npos ? FileName : FileName.substr(p + 1));
}

std::string ExtractFileExt(std::string_view FileName) {
  const size_t slash = FileName.rfind('/');
  const size_t dot = FileName.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::string();
  return std::string(FileName.substr(dot));
}

std::string ChangeFileExt(std::string_view FileName, std::string_view Extension) {
  const std::string ext = ExtractFileExt(FileName);
  return std::string(FileName.substr(0, FileName.size() - ext.size())) + std::string(Extension);
}

std::string IncludeTrailingPathDelimiter(std::string_view Path) {
  std::string result(Path);
  if (result.empty() || result.back() != PathDelim) result += PathDelim;
  return result;
}

std::string ExcludeTrailingPathDelimiter(std::string_view Path) {
  std::string result(Path);
  while (result.size() > 1 && result.back() == PathDelim) result.pop_back();
  return result;
}

bool FileExists(const std::string& FileName) {
  struct stat st;
  return ::stat(FileName.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& Directory) {
  struct stat st;
  return ::stat(Directory.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& Directory) {
  const std::string dir = ExcludeTrailingPathDelimiter(Directory);
  if (dir.empty()) return false;
  if (DirectoryExists(dir)) return true;
  const std::string parent = ExtractFileDir(dir);
  if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
  return ::mkdir(dir.c_str(), 0777) == 0 || (errno == EEXIST && DirectoryExists(dir));
}

bool DeleteFile(const std::string& FileName) { return ::unlink(FileName.c_str()) == 0; }

bool RenameFile(const std::string& OldName, const std::string& NewName) {
  return ::rename(OldName.c_str(), NewName.c_str()) == 0;
}

// ---------------------------------------------------------------------------
// Atomic replacement

std::string ResolveSymlinks(const std::string& FileName) {
  std::string path = FileName;
  for (int hops = 0;; ++hops) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    if (hops >= 40) RaiseOSError("readlink", ELOOP);
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size() - 1);
    if (n < 0) RaiseLastOSError("readlink");
    std::string target(buffer.data(), static_cast<size_t>(n));
    path = !target.empty() && target[0] == '/' ? target : ExtractFilePath(path) + target;
  }
}

namespace {

[[noreturn]] void failReplace(bool writing, const std::string& fileName, int error) {
  if (writing) throw EWriteError(Format(SFCreateErrorEx, {fileName, SysErrorMessage(error)}));
  throw EFCreateError(Format(SFCreateErrorEx, {fileName, SysErrorMessage(error)}));
}

mode_t currentUmask() {
  // umask can only be read by setting it; put it straight back.
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

}  // namespace

void ReplaceFileAtomically(const std::string& FileName, std::string_view Contents) {
  std::string target;
  try {
    target = ResolveSymlinks(FileName);
  } catch (const EOSError& e) {
    failReplace(false, FileName, e.ErrorCode);
  }
  // A file the user may not write stays as it is, although the folder would
  // let a rename replace it.
  if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0)
    failReplace(false, FileName, errno);
  const std::string folder = ExtractFilePath(target);
  std::string temp = (folder.empty() ? std::string("./") : folder) + "." + ExtractFileName(target) + ".XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) failReplace(false, FileName, errno);

  auto fail = [&](bool writing, int error) {
    ::close(fd);
    ::unlink(temp.c_str());
    failReplace(writing, FileName, error);
  };

  size_t done = 0;
  while (done < Contents.size()) {
    const ssize_t n = ::write(fd, Contents.data() + done, Contents.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(true, errno);
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) fail(true, errno);

  struct stat old;
  if (::stat(target.c_str(), &old) == 0) {
    if (::fchmod(fd, old.st_mode & 07777) != 0) fail(false, errno);
    // Only a privileged process may give the file away; others keep theirs.
    if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0) {
    }
  } else {
    if (::fchmod(fd, 0666 & ~currentUmask()) != 0) fail(false, errno);
  }
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    failReplace(true, FileName, error);
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    failReplace(false, FileName, error);
  }
  // Makes the rename itself durable; a folder that cannot be opened is not
  // worth failing a completed save for.
  const int dirfd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirfd >= 0) {
    ::fsync(dirfd);
    ::close(dirfd);
  }
}

// ---------------------------------------------------------------------------
// Folder search

struct TFindState {
  std::string folder;
  std::string mask;
  std::vector<std::string> names;
  size_t next = 0;
};

bool MatchesMask(std::string_view NameText, std::string_view MaskText) {
  if (MaskText == "*.*") MaskText = "*";
  // '?' stands for one character, not one byte.
  auto decode = [](std::string_view text) {
    std::u32string result;
    for (size_t pos = 0; pos < text.size();) {
      char32_t c = Utf8Decode(text, pos);
      if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
      result += c;
    }
    return result;
  };
  const std::u32string Name = decode(NameText), Mask = decode(MaskText);
  // Greedy matching with one back-tracking point: linear in practice and
  // never recursive, whatever the pattern.
  size_t n = 0, m = 0, starM = std::u32string::npos, starN = 0;
  while (n < Name.size()) {
    if (m < Mask.size() && Mask[m] == U'*') {
      starM = m++;
      starN = n;
    } else if (m < Mask.size() && (Mask[m] == U'?' || Mask[m] == Name[n])) {
      ++m;
      ++n;
    } else if (starM != std::u32string::npos) {
      m = starM + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m < Mask.size() && Mask[m] == U'*') ++m;
  return m == Mask.size();
}

namespace {

Integer dosDateTime(const struct tm& t) {
  const int year = std::clamp(t.tm_year + 1900, 1980, 2107);
  const unsigned date = static_cast<unsigned>(((year - 1980) << 9) | ((t.tm_mon + 1) << 5) | t.tm_mday);
  const unsigned time = static_cast<unsigned>((t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec / 2));
  return static_cast<Integer>((date << 16) | time);
}

// Fills F from the entry; false when the entry is to be skipped.
bool describeEntry(TFindState& state, const std::string& name, TSearchRec& F) {
  struct stat lst, st;
  const std::string full = state.folder + name;
  if (::lstat(full.c_str(), &lst) != 0) return false;
  const bool link = S_ISLNK(lst.st_mode);
  if (!link || ::stat(full.c_str(), &st) != 0) st = lst;

  Integer attr = 0;
  if (S_ISDIR(st.st_mode))
    attr |= faDirectory;
  else if (S_ISREG(st.st_mode))
    attr |= faArchive;
  else
    attr |= faSysFile;
  if (!name.empty() && name[0] == '.') attr |= faHidden;
  if ((st.st_mode & S_IWUSR) == 0) attr |= faReadOnly;
  if (link) attr |= faSymLink;
  if (attr & F.ExcludeAttr & (faHidden | faSysFile | faDirectory)) return false;

  struct tm local;
  const time_t mtime = st.st_mtim.tv_sec;
  localtime_r(&mtime, &local);
  F.Name = name;
  F.Attr = attr;
  F.Size = S_ISDIR(st.st_mode) ? 0 : static_cast<Int64>(st.st_size);
  F.Time = dosDateTime(local);
  F.TimeStamp = 25569.0 + (static_cast<double>(mtime) + static_cast<double>(local.tm_gmtoff)) / 86400.0;
  return true;
}

Integer findMatch(TSearchRec& F) {
  TFindState& state = *F.FindHandle;
  while (state.next < state.names.size()) {
    const std::string& name = state.names[state.next++];
    if (describeEntry(state, name, F)) return 0;
  }
  return ERROR_NO_MORE_FILES;
}

}  // namespace

Integer FindFirst(const std::string& Path, Integer Attr, TSearchRec& F) {
  FindClose(F);
  auto state = std::make_shared<TFindState>();
  state->folder = ExtractFilePath(Path);
  state->mask = ExtractFileName(Path);
  DIR* dir = ::opendir(state->folder.empty() ? "." : state->folder.c_str());
  if (!dir) return errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND;
  while (struct dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (MatchesMask(name, state->mask)) state->names.push_back(name);
  }
  ::closedir(dir);
  std::sort(state->names.begin(), state->names.end());
  F.ExcludeAttr = ~Attr & (faHidden | faSysFile | faDirectory);
  F.FindHandle = std::move(state);
  const Integer result = findMatch(F);
  if (result != 0) {
    FindClose(F);
    return ERROR_FILE_NOT_FOUND;
  }
  return 0;
}

Integer FindNext(TSearchRec& F) {
  if (!F.FindHandle) return ERROR_NO_MORE_FILES;
  return findMatch(F);
}

void FindClose(TSearchRec& F) { F.FindHandle.reset(); }

// ---------------------------------------------------------------------------
// Temporary files

std::string GetTempPath() {
  const char* dir = std::getenv("TMPDIR");
  std::string path = dir && *dir ? dir : "/tmp";
  return IncludeTrailingPathDelimiter(path);
}

std::string CreateUniqueTempFile(const std::string& Prefix, const std::string& Folder) {
  std::string name = IncludeTrailingPathDelimiter(Folder.empty() ? GetTempPath() : Folder) + Prefix + "XXXXXX";
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) throw EFCreateError(Format(SFCreateErrorEx, {name, SysErrorMessage(errno)}));
  ::close(fd);
  return name;
}
