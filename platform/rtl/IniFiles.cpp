#include "platform/rtl/IniFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <set>

#include "platform/rtl/Classes.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SystemCalls.h"

VXN_IMPLEMENT_CLASS(TCustomIniFile, TObject)
VXN_IMPLEMENT_CLASS(TMemIniFile, TCustomIniFile)
VXN_IMPLEMENT_CLASS(TIniFile, TCustomIniFile)

namespace {

enum class LineKind { Other, Section, Key };

struct ParsedLine {
  LineKind kind = LineKind::Other;
  std::string name;   // section name or key
  std::string value;  // key lines only
};

ParsedLine parseLine(std::string_view line) {
  ParsedLine result;
  const std::string text = Trim(line);
  if (text.empty() || text[0] == ';') return result;
  if (text[0] == '[') {
    const size_t close = text.find(']');
    result.kind = LineKind::Section;
    result.name = Trim(std::string_view(text).substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return result;
  }
  const size_t eq = text.find('=');
  if (eq == std::string::npos) return result;
  result.name = Trim(std::string_view(text).substr(0, eq));
  if (result.name.empty()) return result;
  result.kind = LineKind::Key;
  result.value = Trim(std::string_view(text).substr(eq + 1));
  return result;
}

// Names compare without regard to case: ASCII directly, other text through
// the locale's case mapping.
std::string foldName(std::string_view s) {
  if (std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return LowerCase(s);
  return AnsiLowerCase(s);
}

std::string cutValue(std::string value) {
  size_t pos = 0, chars = 0;
  while (pos < value.size() && chars < IniValueMaxChars) {
    pos = Utf8NextCharPos(value, pos);
    ++chars;
  }
  value.resize(pos);
  return value;
}

std::string singleLine(std::string_view s) {
  std::string result(s);
  std::replace(result.begin(), result.end(), '\r', ' ');
  std::replace(result.begin(), result.end(), '\n', ' ');
  return result;
}

// Lines [first, last) of the first section of that name; first is npos when
// the file has no such section.
struct SectionRange {
  size_t header = std::string::npos;
  size_t first = std::string::npos;
  size_t last = std::string::npos;
};

SectionRange findSection(const std::vector<std::string>& lines, std::string_view section) {
  SectionRange range;
  const std::string wanted = foldName(Trim(section));
  for (size_t i = 0; i < lines.size(); ++i) {
    const ParsedLine p = parseLine(lines[i]);
    if (p.kind != LineKind::Section) continue;
    if (range.header != std::string::npos) {
      range.last = i;
      return range;
    }
    if (foldName(p.name) == wanted) {
      range.header = i;
      range.first = i + 1;
    }
  }
  if (range.header != std::string::npos) range.last = lines.size();
  return range;
}

TFormatSettings pointSettings() {
  TFormatSettings settings = TFormatSettings::English();
  settings.DecimalSeparator = '.';
  settings.ThousandSeparator = ',';
  return settings;
}

}  // namespace

void FillIniStrings(TStrings& Strings, const std::vector<std::string>& Items) {
  Strings.BeginUpdate();
  ScopeExit updated([&] { Strings.EndUpdate(); });
  Strings.Clear();
  for (const std::string& s : Items) Strings.Add(s);
}

// ---------------------------------------------------------------------------
// TIniLines

void TIniLines::Parse(std::string_view Text) {
  Lines.clear();
  HasBom = Text.starts_with("\xEF\xBB\xBF");
  if (HasBom) Text.remove_prefix(3);
  size_t pos = 0;
  while (pos < Text.size()) {
    const size_t end = Text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      Lines.emplace_back(Text.substr(pos));
      break;
    }
    Lines.emplace_back(Text.substr(pos, end - pos));
    pos = end + 1;
    if (Text[end] == '\r' && pos < Text.size() && Text[pos] == '\n') ++pos;
  }
}

std::string TIniLines::Compose() const {
  std::string text = HasBom ? "\xEF\xBB\xBF" : "";
  for (const std::string& line : Lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void TIniLines::Load(const std::string& FileName) {
  Lines.clear();
  HasBom = false;
  struct stat st;
  if (sys::PathStatus(FileName, st).Error == ENOENT) return;
  TFileStream stream(FileName, fmOpenRead | fmShareDenyNone);
  std::string data(static_cast<size_t>(std::max<Int64>(stream.Size(), 0)), '\0');
  data.resize(static_cast<size_t>(stream.Read(data.data(), static_cast<Int64>(data.size()))));
  Parse(data);
}

bool TIniLines::Find(std::string_view Section, std::string_view Ident, std::string& Value) const {
  const SectionRange range = findSection(Lines, Section);
  if (range.header == std::string::npos) return false;
  const std::string wanted = foldName(Trim(Ident));
  for (size_t i = range.first; i < range.last; ++i) {
    ParsedLine p = parseLine(Lines[i]);
    if (p.kind == LineKind::Key && foldName(p.name) == wanted) {
      Value = cutValue(std::move(p.value));
      return true;
    }
  }
  return false;
}

void TIniLines::Write(std::string_view Section, std::string_view Ident, std::string_view Value) {
  const std::string section = Trim(singleLine(Section));
  const std::string ident = Trim(singleLine(Ident));
  const std::string value = singleLine(Value);
  const SectionRange range = findSection(Lines, section);
  if (range.header == std::string::npos) {
    Lines.push_back("[" + section + "]");
    Lines.push_back(ident + "=" + value);
    return;
  }
  const std::string wanted = foldName(ident);
  size_t lastUsed = range.header;
  for (size_t i = range.first; i < range.last; ++i) {
    const ParsedLine p = parseLine(Lines[i]);
    if (p.kind == LineKind::Key && foldName(p.name) == wanted) {
      Lines[i] = p.name + "=" + value;
      return;
    }
    if (!Trim(Lines[i]).empty()) lastUsed = i;
  }
  Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(lastUsed + 1), ident + "=" + value);
}

std::vector<std::string> TIniLines::SectionKeys(std::string_view Section) const {
  std::vector<std::string> result;
  const SectionRange range = findSection(Lines, Section);
  if (range.header == std::string::npos) return result;
  std::set<std::string> seen;
  for (size_t i = range.first; i < range.last; ++i) {
    const ParsedLine p = parseLine(Lines[i]);
    if (p.kind == LineKind::Key && seen.insert(foldName(p.name)).second) result.push_back(p.name);
  }
  return result;
}

std::vector<std::string> TIniLines::SectionValues(std::string_view Section) const {
  std::vector<std::string> result;
  const SectionRange range = findSection(Lines, Section);
  if (range.header == std::string::npos) return result;
  std::set<std::string> seen;
  for (size_t i = range.first; i < range.last; ++i) {
    ParsedLine p = parseLine(Lines[i]);
    if (p.kind == LineKind::Key && seen.insert(foldName(p.name)).second)
      result.push_back(p.name + "=" + cutValue(std::move(p.value)));
  }
  return result;
}

std::vector<std::string> TIniLines::SectionNames() const {
  std::vector<std::string> result;
  std::set<std::string> seen;
  for (const std::string& line : Lines) {
    const ParsedLine p = parseLine(line);
    if (p.kind == LineKind::Section && seen.insert(foldName(p.name)).second) result.push_back(p.name);
  }
  return result;
}

bool TIniLines::HasSection(std::string_view Section) const {
  return findSection(Lines, Section).header != std::string::npos;
}

void TIniLines::AddSection(std::string_view Section) {
  if (!HasSection(Section)) Lines.push_back("[" + Trim(singleLine(Section)) + "]");
}

void TIniLines::EraseSection(std::string_view Section) {
  // Every copy of the section goes, so that none shows up afterwards.
  for (;;) {
    const SectionRange range = findSection(Lines, Section);
    if (range.header == std::string::npos) return;
    Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(range.header),
                Lines.begin() + static_cast<std::ptrdiff_t>(range.last));
  }
}

void TIniLines::DeleteKey(std::string_view Section, std::string_view Ident) {
  const SectionRange range = findSection(Lines, Section);
  if (range.header == std::string::npos) return;
  const std::string wanted = foldName(Trim(Ident));
  // Duplicates go too: otherwise the next one would appear as the value.
  size_t last = range.last;
  for (size_t i = range.first; i < last;) {
    const ParsedLine p = parseLine(Lines[i]);
    if (p.kind == LineKind::Key && foldName(p.name) == wanted) {
      Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(i));
      --last;
    } else {
      ++i;
    }
  }
}

// ---------------------------------------------------------------------------
// TCustomIniFile

Integer TCustomIniFile::ReadInteger(const std::string& Section, const std::string& Ident, Integer Default) {
  const std::string text = ReadString(Section, Ident, std::string());
  Integer value;
  return !text.empty() && TryStrToInt(text, value) ? value : Default;
}

void TCustomIniFile::WriteInteger(const std::string& Section, const std::string& Ident, Integer Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

Double TCustomIniFile::ReadFloat(const std::string& Section, const std::string& Ident, Double Default) {
  const std::string text = ReadString(Section, Ident, std::string());
  Extended value;
  return !text.empty() && TryStrToFloat(text, value, pointSettings()) ? value : Default;
}

void TCustomIniFile::WriteFloat(const std::string& Section, const std::string& Ident, Double Value) {
  WriteString(Section, Ident, FloatToStr(Value, pointSettings()));
}

TDateTime TCustomIniFile::ReadDate(const std::string& Section, const std::string& Ident, TDateTime Default) {
  const std::string text = ReadString(Section, Ident, std::string());
  TDateTime value;
  return !text.empty() && TryStrToDate(text, value) ? value : Default;
}

TDateTime TCustomIniFile::ReadDateTime(const std::string& Section, const std::string& Ident, TDateTime Default) {
  const std::string text = ReadString(Section, Ident, std::string());
  TDateTime value;
  return !text.empty() && TryStrToDateTime(text, value) ? value : Default;
}

TDateTime TCustomIniFile::ReadTime(const std::string& Section, const std::string& Ident, TDateTime Default) {
  const std::string text = ReadString(Section, Ident, std::string());
  TDateTime value;
  return !text.empty() && TryStrToTime(text, value) ? value : Default;
}

void TCustomIniFile::WriteDate(const std::string& Section, const std::string& Ident, TDateTime Value) {
  WriteString(Section, Ident, DateToStr(Value));
}

void TCustomIniFile::WriteDateTime(const std::string& Section, const std::string& Ident, TDateTime Value) {
  WriteString(Section, Ident, DateTimeToStr(Value));
}

void TCustomIniFile::WriteTime(const std::string& Section, const std::string& Ident, TDateTime Value) {
  WriteString(Section, Ident, TimeToStr(Value));
}

// ---------------------------------------------------------------------------
// TMemIniFile

TMemIniFile::TMemIniFile(const std::string& FileName) : TCustomIniFile(FileName) { lines_.Load(FileName); }

std::string TMemIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                    const std::string& Default) {
  std::string value;
  return lines_.Find(Section, Ident, value) ? value : Default;
}

void TMemIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  lines_.Write(Section, Ident, Value);
}

void TMemIniFile::ReadSection(const std::string& Section, TStrings& Strings) {
  FillIniStrings(Strings, lines_.SectionKeys(Section));
}

void TMemIniFile::ReadSectionValues(const std::string& Section, TStrings& Strings) {
  FillIniStrings(Strings, lines_.SectionValues(Section));
}

void TMemIniFile::ReadSections(TStrings& Strings) {
  FillIniStrings(Strings, lines_.SectionNames());
}
void TMemIniFile::EraseSection(const std::string& Section) { lines_.EraseSection(Section); }
void TMemIniFile::DeleteKey(const std::string& Section, const std::string& Ident) { lines_.DeleteKey(Section, Ident); }
void TMemIniFile::UpdateFile() { ReplaceFileAtomically(fileName_, lines_.Compose()); }
bool TMemIniFile::SectionExists(const std::string& Section) { return lines_.HasSection(Section); }

bool TMemIniFile::ValueExists(const std::string& Section, const std::string& Ident) {
  std::string value;
  return lines_.Find(Section, Ident, value);
}

void TMemIniFile::Clear() { lines_ = TIniLines(); }

void TMemIniFile::GetStrings(TStrings& List) const {
  std::vector<std::string> lines = lines_.Lines;
  FillIniStrings(List, lines);
}

void TMemIniFile::SetStrings(const TStrings& List) {
  lines_.Lines = List.ToVector();
  // Strings put in by hand may carry line breaks of their own.
  TIniLines reparsed;
  reparsed.Parse(lines_.Compose());
  reparsed.HasBom = lines_.HasBom;
  lines_ = std::move(reparsed);
}

void TMemIniFile::Rename(const std::string& FileName, bool Reload) {
  fileName_ = FileName;
  if (Reload) lines_.Load(FileName);
}

// ---------------------------------------------------------------------------
// TIniFile

TIniLines TIniFile::load() const {
  TIniLines lines;
  lines.Load(fileName_);
  return lines;
}

void TIniFile::save(const TIniLines& lines) const { ReplaceFileAtomically(fileName_, lines.Compose()); }

std::string TIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                 const std::string& Default) {
  std::string value;
  return load().Find(Section, Ident, value) ? value : Default;
}

void TIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  TIniLines lines = load();
  lines.Write(Section, Ident, Value);
  save(lines);
}

void TIniFile::ReadSection(const std::string& Section, TStrings& Strings) {
  FillIniStrings(Strings, load().SectionKeys(Section));
}

void TIniFile::ReadSectionValues(const std::string& Section, TStrings& Strings) {
  FillIniStrings(Strings, load().SectionValues(Section));
}

void TIniFile::ReadSections(TStrings& Strings) {
  FillIniStrings(Strings, load().SectionNames());
}

void TIniFile::EraseSection(const std::string& Section) {
  TIniLines lines = load();
  if (!lines.HasSection(Section)) return;
  lines.EraseSection(Section);
  save(lines);
}

void TIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
  TIniLines lines = load();
  std::string value;
  if (!lines.Find(Section, Ident, value)) return;
  lines.DeleteKey(Section, Ident);
  save(lines);
}

bool TIniFile::SectionExists(const std::string& Section) { return load().HasSection(Section); }

bool TIniFile::ValueExists(const std::string& Section, const std::string& Ident) {
  std::string value;
  return load().Find(Section, Ident, value);
}
