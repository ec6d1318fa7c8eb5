// Files and folders: file-name parts, existence tests, folder creation, the
// search over a folder with wildcards and attributes, temporary files and the
// atomic replacement of a file's contents.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/rtl/System.h"

inline constexpr char PathDelim = '/';

// Everything up to and including the last '/' ("" when there is none).
std::string ExtractFilePath(std::string_view FileName);
// The same without the final '/' (except for the root folder).
std::string ExtractFileDir(std::string_view FileName);
std::string ExtractFileName(std::string_view FileName);
// From the last '.' of the name on (".ini"), "" when the name has none.
std::string ExtractFileExt(std::string_view FileName);
std::string ChangeFileExt(std::string_view FileName, std::string_view Extension);
std::string IncludeTrailingPathDelimiter(std::string_view Path);
std::string ExcludeTrailingPathDelimiter(std::string_view Path);

bool FileExists(const std::string& FileName);  // a file (or a link to one), not a folder
bool DirectoryExists(const std::string& Directory);
// Creates the folder and its missing parents (mode 0777 before the umask);
// true when it exists afterwards.
bool ForceDirectories(const std::string& Directory);
bool DeleteFile(const std::string& FileName);
bool RenameFile(const std::string& OldName, const std::string& NewName);

// Replaces the whole contents of FileName so that a reader sees either the
// old or the new contents, never a mixture, and a failure leaves the old file
// as it was:
// - a symbolic link is followed (link by link) and its final target is
//   replaced, so the link stays a link;
// - the new contents go to a temporary file in the target's folder (same file
//   system, so the rename is atomic), are flushed to disk, take the old
//   file's permission bits (a new file gets 0666 less the umask) and its
//   owner where the process may set it, and are then renamed over the
//   target; the folder is flushed too;
// - a file that exists but may not be written (read-only) is refused rather
//   than replaced behind its mode's back;
// - on failure the temporary file is removed and EFCreateError (the file
//   cannot be created or renamed) or EWriteError (writing failed) is raised,
//   naming FileName and the system's reason.
// The folder must exist.
void ReplaceFileAtomically(const std::string& FileName, std::string_view Contents);

// The path a symbolic-link chain ends at (FileName itself when it is no link;
// a dangling link gives the path it points to). Relative links are resolved
// against their own folder; a loop of links raises EOSError.
std::string ResolveSymlinks(const std::string& FileName);

// ---------------------------------------------------------------------------
// Folder search.

inline constexpr Integer faReadOnly = 0x01;   // not writable by its owner
inline constexpr Integer faHidden = 0x02;     // name starts with '.'
inline constexpr Integer faSysFile = 0x04;    // device, pipe or socket
inline constexpr Integer faVolumeID = 0x08;   // never set
inline constexpr Integer faDirectory = 0x10;
inline constexpr Integer faArchive = 0x20;    // every regular file
inline constexpr Integer faSymLink = 0x40;    // the entry is a symbolic link
inline constexpr Integer faAnyFile = 0x3F;

struct TSearchRec {
  Integer Time = 0;          // modification time, DOS packed local date and time
  TDateTime TimeStamp = 0;   // the same as a TDateTime (local)
  Int64 Size = 0;
  Integer Attr = 0;
  std::string Name;          // the entry's name without its folder
  Integer ExcludeAttr = 0;   // attributes the search leaves out
  std::shared_ptr<struct TFindState> FindHandle;
};

// Path is a folder and a pattern ("/data/*.dat"); '*' and '?' match any
// characters / one character, ASCII letters without regard to case, and
// "*.*" matches every name. Normal files are always found; hidden files,
// system files and folders only when Attr asks for them. "." and ".." are
// never returned. 0 on success, otherwise win::ERROR_FILE_NOT_FOUND,
// win::ERROR_PATH_NOT_FOUND or win::ERROR_ACCESS_DENIED (WinError.h).
// Entries come in name order.
Integer FindFirst(const std::string& Path, Integer Attr, TSearchRec& F);
// 0 or win::ERROR_NO_MORE_FILES.
Integer FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);

// Wildcard matching as FindFirst does it.
bool MatchesMask(std::string_view Name, std::string_view Mask);

// ---------------------------------------------------------------------------
// Temporary files.

// The folder for temporary files ($TMPDIR, else /tmp) with a trailing '/'.
std::string GetTempPath();
// Creates a new empty file named Prefix followed by a unique part in Folder
// (the temporary folder when empty) and returns its full name; mode 0600.
// Raises EFCreateError with the reason when that is impossible.
std::string CreateUniqueTempFile(const std::string& Prefix, const std::string& Folder = std::string());
