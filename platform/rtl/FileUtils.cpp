#include "platform/rtl/FileUtils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/WinError.h"
#include "platform/rtl/Utf8.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SystemCalls.h"

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
  return sys::PathStatus(FileName, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& Directory) {
  struct stat st;
  return sys::PathStatus(Directory, st) && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& Directory) {
  const std::string dir = ExcludeTrailingPathDelimiter(Directory);
  if (dir.empty()) return false;
  if (DirectoryExists(dir)) return true;
  const std::string parent = ExtractFileDir(dir);
  if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
  sys::CallResult made = sys::MakeFolder(dir, 0777);
  return made || (made.Error == EEXIST && DirectoryExists(dir));
}

bool DeleteFile(const std::string& FileName) { return static_cast<bool>(sys::Unlink(FileName)); }

bool RenameFile(const std::string& OldName, const std::string& NewName) {
  return static_cast<bool>(sys::Rename(OldName, NewName));
}

// ---------------------------------------------------------------------------
// Atomic replacement

std::string ResolveSymlinks(const std::string& FileName) {
  std::string path = FileName;
  for (int hops = 0;; ++hops) {
    struct stat st;
    if (!sys::LinkStatus(path, st) || !S_ISLNK(st.st_mode)) return path;
    if (hops >= 40) RaiseOSError("readlink", ELOOP);
    std::string target;
    sys::ReadLink(path, target).OrRaise();
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

namespace {

// The temporary copies a save makes are named ".<file>.XXXXXX" beside the
// file. One left by a program that was killed while saving would stay for
// good: the next save of the same file takes away those of that pattern that
// are ours and have not been touched for a minute (a save in progress
// elsewhere writes its copy within moments).
void RemoveStaleTemporaries(const std::string& folder, const std::string& fileName) {
  std::vector<std::string> names;
  if (sys::ListFolder(folder.empty() ? "." : folder, names).Failed()) return;
  const std::string prefix = "." + fileName + ".";
  const time_t now = ::time(nullptr);
  for (const std::string& name : names) {
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
    if (!std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }))
      continue;
    const std::string path = (folder.empty() ? std::string("./") : folder) + name;
    struct stat st;
    if (sys::LinkStatus(path, st).Failed() || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    if (now - st.st_mtime < 60) continue;
    sys::Unlink(path);
  }
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
  if (sys::Access(target, F_OK)) {
    if (sys::CallResult writable = sys::Access(target, W_OK); writable.Failed())
      failReplace(false, FileName, writable.Error);
  }
  const std::string folder = ExtractFilePath(target);
  RemoveStaleTemporaries(folder, ExtractFileName(target));
  std::string temp = (folder.empty() ? std::string("./") : folder) + "." + ExtractFileName(target) + ".XXXXXX";
  sys::CallResult made = sys::MakeTemporary(temp, O_CLOEXEC);
  if (made.Failed()) failReplace(false, FileName, made.Error);
  sys::FileDescriptor file(static_cast<int>(made.Value));
  // Until the rename, a failure takes the half-written copy away.
  ScopeExit removed([&] { sys::Unlink(temp); });
  auto check = [&](bool writing, const sys::CallResult& r) {
    if (r.Failed()) failReplace(writing, FileName, r.Error);
  };

  check(true, sys::WriteAll(file.Get(), Contents.data(), Contents.size()));
  check(true, sys::Sync(file.Get()));

  struct stat old;
  if (sys::PathStatus(target, old)) {
    check(false, sys::ChangeMode(file.Get(), old.st_mode & 07777));
    // Only a privileged process may give the file away; others keep theirs.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) sys::ChangeOwner(file.Get(), old.st_uid, old.st_gid);
  } else {
    check(false, sys::ChangeMode(file.Get(), 0666 & ~currentUmask()));
  }
  check(true, file.Close());
  check(false, sys::Rename(temp, target));
  removed.Dismiss();
  // Makes the rename itself durable; a folder that cannot be opened is not
  // worth failing a completed save for.
  sys::CallResult opened;
  sys::FileDescriptor dir = sys::OpenOwned(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0, opened);
  if (dir.Valid()) sys::Sync(dir.Get());
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
  if (!sys::LinkStatus(full, lst)) return false;
  const bool link = S_ISLNK(lst.st_mode);
  if (!link || !sys::PathStatus(full, st)) st = lst;

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
  return static_cast<Integer>(win::ERROR_NO_MORE_FILES);
}

}  // namespace

Integer FindFirst(const std::string& Path, Integer Attr, TSearchRec& F) {
  FindClose(F);
  auto state = std::make_shared<TFindState>();
  state->folder = ExtractFilePath(Path);
  state->mask = ExtractFileName(Path);
  std::vector<std::string> names;
  if (sys::CallResult listed = sys::ListFolder(state->folder.empty() ? "." : state->folder, names); listed.Failed())
    return static_cast<Integer>(listed.Error == EACCES ? win::ERROR_ACCESS_DENIED : win::ERROR_PATH_NOT_FOUND);
  for (std::string& name : names)
    if (MatchesMask(name, state->mask)) state->names.push_back(std::move(name));
  std::sort(state->names.begin(), state->names.end());
  F.ExcludeAttr = ~Attr & (faHidden | faSysFile | faDirectory);
  F.FindHandle = std::move(state);
  const Integer result = findMatch(F);
  if (result != 0) {
    FindClose(F);
    return static_cast<Integer>(win::ERROR_FILE_NOT_FOUND);
  }
  return 0;
}

Integer FindNext(TSearchRec& F) {
  if (!F.FindHandle) return static_cast<Integer>(win::ERROR_NO_MORE_FILES);
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
  sys::CallResult made = sys::MakeTemporary(name, O_CLOEXEC);
  if (made.Failed()) throw EFCreateError(Format(SFCreateErrorEx, {name, SysErrorMessage(made.Error)}));
  sys::FileDescriptor(static_cast<int>(made.Value)).Close();
  return name;
}
