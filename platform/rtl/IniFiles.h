// Ini files: TCustomIniFile with its typed reads and writes, TMemIniFile
// (the whole file in memory, written by UpdateFile) and TIniFile (every read
// looks at the file, every write goes to it at once).
//
// Semantics, the same for both classes:
// - The file is UTF-8; a byte-order mark at its start is skipped and kept
//   when the file is written back. Lines end in CR LF, LF or CR; written files
//   use CR LF.
// - "[name]" starts a section (the name runs to the first ']', or to the end
//   of the line without one, and is trimmed). "key=value" lines belong to the section above them; lines before
//   the first section, lines without "=", lines with an empty key and lines
//   whose first non-blank character is ';' are ignored, and kept as they
//   stand when the file is rewritten.
// - Section and key names compare without regard to case. Blanks around keys
//   and values are trimmed. When a section appears twice, the first one is the
//   section; of duplicate keys in it, the first wins on reading.
// - Values are returned as stored (quotes kept) and cut at 2047 characters
//   (code points, so a character is never split).
// - A write replaces the value of the first matching key, or appends the key
//   after the last line of its section; a new section goes at the end of the
//   file. Line breaks in written names and values become blanks, so a value
//   cannot break the file's structure.
// - ReadInteger takes decimal and "$" or "0x" hexadecimal and gives the
//   default for anything else; ReadBool is "0" false, any other number true,
//   the default for text; WriteBool writes "1" / "0". Floats are read and
//   written with '.' whatever the locale. Dates and times follow the default
//   format settings, as the class library's did.
// - A missing file reads as empty; a file that exists but cannot be read
//   raises EFOpenError. Writing replaces the file atomically (see
//   ReplaceFileAtomically): the mode is kept, a symbolic link is written
//   through to its target, and a failure raises EFCreateError / EWriteError
//   naming the file and the system's reason.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/System.h"

class TStrings;

inline constexpr size_t IniValueMaxChars = 2047;

class TCustomIniFile : public TObject {
  VXN_DECLARE_CLASS(TCustomIniFile)

 public:
  explicit TCustomIniFile(std::string FileName) : fileName_(std::move(FileName)) {}

  const std::string& FileName() const { return fileName_; }

  virtual std::string ReadString(const std::string& Section, const std::string& Ident,
                                 const std::string& Default) = 0;
  virtual void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) = 0;
  // Key names of the section / every "key=value" of it / every section name.
  virtual void ReadSection(const std::string& Section, TStrings& Strings) = 0;
  virtual void ReadSectionValues(const std::string& Section, TStrings& Strings) = 0;
  virtual void ReadSections(TStrings& Strings) = 0;
  virtual void EraseSection(const std::string& Section) = 0;
  virtual void DeleteKey(const std::string& Section, const std::string& Ident) = 0;
  virtual void UpdateFile() = 0;
  virtual bool SectionExists(const std::string& Section) = 0;
  virtual bool ValueExists(const std::string& Section, const std::string& Ident) = 0;

  Integer ReadInteger(const std::string& Section, const std::string& Ident, Integer Default);
  void WriteInteger(const std::string& Section, const std::string& Ident, Integer Value);
  bool ReadBool(const std::string& Section, const std::string& Ident, bool Default);
  void WriteBool(const std::string& Section, const std::string& Ident, bool Value);
  Double ReadFloat(const std::string& Section, const std::string& Ident, Double Default);
  void WriteFloat(const std::string& Section, const std::string& Ident, Double Value);
  TDateTime ReadDate(const std::string& Section, const std::string& Ident, TDateTime Default);
  TDateTime ReadDateTime(const std::string& Section, const std::string& Ident, TDateTime Default);
  TDateTime ReadTime(const std::string& Section, const std::string& Ident, TDateTime Default);
  void WriteDate(const std::string& Section, const std::string& Ident, TDateTime Value);
  void WriteDateTime(const std::string& Section, const std::string& Ident, TDateTime Value);
  void WriteTime(const std::string& Section, const std::string& Ident, TDateTime Value);

 protected:
  std::string fileName_;
};

// Replaces the list's contents by Items in one update (the answer of the
// section and key listings).
void FillIniStrings(TStrings& Strings, const std::vector<std::string>& Items);

// The lines of an ini file and the rules above; the engine of both classes.
class TIniLines {
 public:
  // Splits text into lines (a leading byte-order mark noted and dropped).
  void Parse(std::string_view Text);
  // The file's text: the lines with CR LF, the byte-order mark if it had one.
  std::string Compose() const;
  // Reads the file; a missing file gives no lines. Raises EFOpenError.
  void Load(const std::string& FileName);

  bool Find(std::string_view Section, std::string_view Ident, std::string& Value) const;
  void Write(std::string_view Section, std::string_view Ident, std::string_view Value);
  std::vector<std::string> SectionKeys(std::string_view Section) const;
  std::vector<std::string> SectionValues(std::string_view Section) const;
  std::vector<std::string> SectionNames() const;
  bool HasSection(std::string_view Section) const;
  // Appends an empty "[Section]" unless the section is there.
  void AddSection(std::string_view Section);
  void EraseSection(std::string_view Section);
  void DeleteKey(std::string_view Section, std::string_view Ident);

  std::vector<std::string> Lines;
  bool HasBom = false;
};

class TMemIniFile : public TCustomIniFile {
  VXN_DECLARE_CLASS(TMemIniFile)

 public:
  // Reads the file at once.
  explicit TMemIniFile(const std::string& FileName);

  std::string ReadString(const std::string& Section, const std::string& Ident,
                         const std::string& Default) override;
  void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) override;
  void ReadSection(const std::string& Section, TStrings& Strings) override;
  void ReadSectionValues(const std::string& Section, TStrings& Strings) override;
  void ReadSections(TStrings& Strings) override;
  void EraseSection(const std::string& Section) override;
  void DeleteKey(const std::string& Section, const std::string& Ident) override;
  // Writes the contents to the file.
  void UpdateFile() override;
  bool SectionExists(const std::string& Section) override;
  bool ValueExists(const std::string& Section, const std::string& Ident) override;

  void Clear();
  // The contents as lines / replaced by lines (the file is not touched).
  void GetStrings(TStrings& List) const;
  void SetStrings(const TStrings& List);
  // Takes another file name, reading that file when Reload is set.
  void Rename(const std::string& FileName, bool Reload);

 private:
  TIniLines lines_;
};

class TIniFile : public TCustomIniFile {
  VXN_DECLARE_CLASS(TIniFile)

 public:
  explicit TIniFile(const std::string& FileName) : TCustomIniFile(FileName) {}

  std::string ReadString(const std::string& Section, const std::string& Ident,
                         const std::string& Default) override;
  void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) override;
  void ReadSection(const std::string& Section, TStrings& Strings) override;
  void ReadSectionValues(const std::string& Section, TStrings& Strings) override;
  void ReadSections(TStrings& Strings) override;
  void EraseSection(const std::string& Section) override;
  void DeleteKey(const std::string& Section, const std::string& Ident) override;
  // Writes are immediate, so there is nothing left to write.
  void UpdateFile() override {}
  bool SectionExists(const std::string& Section) override;
  bool ValueExists(const std::string& Section, const std::string& Ident) override;

 private:
  TIniLines load() const;
  void save(const TIniLines& lines) const;
};
