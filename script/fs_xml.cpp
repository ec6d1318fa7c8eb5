#include "script/fs_xml.h"

#include <algorithm>

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TfsXMLItem, TObject)
VXN_IMPLEMENT_CREATABLE_CLASS(TfsXMLDocument, TObject)
VXN_IMPLEMENT_CLASS(TfsXMLReader, TObject)
VXN_IMPLEMENT_CLASS(TfsXMLWriter, TObject)

namespace {

constexpr size_t kBlockSize = 4096;

[[noreturn]] void InvalidFormat() { throw Exception("Invalid file format"); }

}  // namespace

// ---- escapes ----

std::string EscapeScriptXml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      case '"': out += "&#34;"; break;
      case '&': out += "&#38;"; break;
      case '<': out += "&#60;"; break;
      case '>': out += "&#62;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::string UnescapeScriptXml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '&') {
      if (text.substr(i + 1, 5) == "quot;") {
        out.push_back('"');
        i += 6;
        continue;
      }
      if (i + 1 < text.size() && text[i + 1] == '#') {
        size_t j = i + 2;
        unsigned code = 0;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9' && j - i < 10) {
          code = code * 10 + static_cast<unsigned>(text[j] - '0');
          ++j;
        }
        if (j > i + 2 && j < text.size() && text[j] == ';' && code <= 0x10FFFF) {
          out += Utf8Encode(static_cast<char32_t>(code));
          i = j + 1;
          continue;
        }
      }
    }
    out.push_back(text[i++]);
  }
  return out;
}

// ---- TfsXMLItem ----

TfsXMLItem::~TfsXMLItem() {
  Clear();
  if (FParent) FParent->Unlink(this);
}

void TfsXMLItem::Clear() {
  // Frees the subtree without recursion: each item's children are moved to
  // the work list before the item goes, so a deep tree costs no stack.
  std::vector<TfsXMLItem*> doomed;
  doomed.swap(FItems);
  while (!doomed.empty()) {
    TfsXMLItem* item = doomed.back();
    doomed.pop_back();
    for (TfsXMLItem* child : item->FItems) doomed.push_back(child);
    item->FItems.clear();
    item->FParent = nullptr;
    delete item;
  }
}

TfsXMLItem* TfsXMLItem::Items(Integer index) const {
  if (index < 0 || index >= Count())
    throw EListError(Format("List index out of bounds (%d)", {index}));
  return FItems[static_cast<size_t>(index)];
}

TfsXMLItem* TfsXMLItem::Add() {
  auto* item = new TfsXMLItem;
  item->FParent = this;
  FItems.push_back(item);
  return item;
}

void TfsXMLItem::AddItem(TfsXMLItem* item) {
  // Only an item with children can be an ancestor of this one.
  if (item == this || item->Count() > 0)
    for (const TfsXMLItem* up = this; up; up = up->FParent)
      if (up == item) throw Exception("An XML item cannot become a child of itself or of its descendant");
  if (item->FParent) item->FParent->Unlink(item);
  item->FParent = this;
  FItems.push_back(item);
}

void TfsXMLItem::InsertItem(Integer index, TfsXMLItem* item) {
  AddItem(item);
  FItems.pop_back();
  index = std::clamp<Integer>(index, 0, Count());
  FItems.insert(FItems.begin() + index, item);
}

void TfsXMLItem::Unlink(TfsXMLItem* child) {
  auto it = std::find(FItems.begin(), FItems.end(), child);
  if (it != FItems.end()) FItems.erase(it);
  child->FParent = nullptr;
}

Integer TfsXMLItem::Find(std::string_view name) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (AnsiSameText(FItems[i]->Name, name)) return static_cast<Integer>(i);
  return -1;
}

TfsXMLItem* TfsXMLItem::FindItem(std::string_view name) {
  const Integer i = Find(name);
  if (i >= 0) return FItems[static_cast<size_t>(i)];
  TfsXMLItem* item = Add();
  item->Name = name;
  return item;
}

TfsXMLItem* TfsXMLItem::Root() {
  TfsXMLItem* item = this;
  while (item->FParent) item = item->FParent;
  return item;
}

std::string TfsXMLItem::Prop(std::string_view name) const {
  // A blank must stand before the name, so "pos" never matches "xpos".
  // ASCII upper-casing keeps byte offsets, so the match indexes Text itself.
  const std::string haystack = UpperCase(" " + Text);
  const std::string needle = UpperCase(" " + std::string(name) + "=\"");
  const size_t at = haystack.find(needle);
  if (at == std::string::npos) return {};
  const size_t start = at + needle.size() - 1;  // -1: the added blank
  const size_t end = Text.find('"', start);
  return UnescapeScriptXml(std::string_view(Text).substr(
      start, end == std::string::npos ? std::string::npos : end - start));
}

void TfsXMLItem::CopyFrom(const TfsXMLItem& source) {
  if (&source == this) return;
  for (const TfsXMLItem* up = source.FParent; up; up = up->FParent)
    if (up == this) throw Exception("An XML item cannot be copied from its own descendant");
  Clear();
  // From an ancestor, the copy would land inside what is being copied and
  // grow without end; copy a snapshot taken after the clearing instead.
  for (const TfsXMLItem* up = FParent; up; up = up->FParent) {
    if (up != &source) continue;
    TfsXMLItem snapshot;
    snapshot.CopyFrom(source);
    CopyFrom(snapshot);
    return;
  }
  Name = source.Name;
  Text = source.Text;
  Data = source.Data;
  // Copied with a work list, so the depth of the source costs no stack.
  std::vector<std::pair<const TfsXMLItem*, TfsXMLItem*>> work{{&source, this}};
  while (!work.empty()) {
    const auto [from, to] = work.back();
    work.pop_back();
    for (const TfsXMLItem* child : from->FItems) {
      TfsXMLItem* copy = to->Add();
      copy->Name = child->Name;
      copy->Text = child->Text;
      copy->Data = child->Data;
      work.emplace_back(child, copy);
    }
  }
}

// ---- TfsXMLReader ----

TfsXMLReader::TfsXMLReader(TStream& stream) : FStream(stream), FBuffer(kBlockSize) {
  FBufferStart = FStream.Position();
  FSize = FStream.Size();
}

TfsXMLReader::~TfsXMLReader() {
  try {
    FStream.SetPosition(FBufferStart + static_cast<Int64>(FBufferPos));
  } catch (...) {
  }
}

int TfsXMLReader::NextChar() {
  if (FBufferPos >= FBufferLen) {
    FBufferStart += static_cast<Int64>(FBufferLen);
    FBufferPos = 0;
    FBufferLen = 0;
    if (FBufferStart >= FSize) return -1;
    FStream.SetPosition(FBufferStart);
    const Int64 got = FStream.Read(FBuffer.data(), static_cast<Int64>(kBlockSize));
    if (got <= 0) return -1;
    FBufferLen = static_cast<size_t>(got);
  }
  return static_cast<unsigned char>(FBuffer[FBufferPos++]);
}

TfsXMLReader::TagKind TfsXMLReader::ReadTag(std::string& name, std::string& text) {
  std::string tag;
  for (;;) {
    int c;
    do {
      c = NextChar();
      if (c < 0) return TagKind::None;
    } while (c != '<');
    tag.clear();
    bool comment = false;
    for (;;) {
      c = NextChar();
      if (c < 0 || c == '<') InvalidFormat();
      if (c == '>') break;
      tag.push_back(static_cast<char>(c));
      if (tag == "!--") {
        comment = true;
        break;
      }
    }
    if (!comment) break;
    // A comment runs to "-->" and may hold "<" and ">".
    std::string tail;
    for (;;) {
      c = NextChar();
      if (c < 0) InvalidFormat();
      tail.push_back(static_cast<char>(c));
      if (tail.size() > 3) tail.erase(0, 1);
      if (tail == "-->") break;
    }
  }
  if (!tag.empty() && tag.back() == ' ') tag.pop_back();
  const size_t blank = tag.find(' ');
  name = tag.substr(0, blank);
  text = blank == std::string::npos ? std::string() : tag.substr(blank + 1);
  if (!name.empty() && name[0] == '/') return TagKind::Close;
  if (!name.empty() && name.back() == '/') {
    name.pop_back();
    return TagKind::Empty;
  }
  if (!text.empty() && text.back() == '/') {
    text.pop_back();
    return TagKind::Empty;
  }
  return TagKind::Open;
}

void TfsXMLReader::ReadHeader() {
  std::string name, text;
  if (ReadTag(name, text) == TagKind::None || name.rfind("?xml", 0) != 0) InvalidFormat();
}

void TfsXMLReader::ReadItem(TfsXMLItem& item, int depth) {
  for (;;) {
    std::string name, text;
    const TagKind kind = ReadTag(name, text);
    if (kind == TagKind::None) return;  // the end of the stream closes open elements
    if (kind == TagKind::Close) {
      if (!AnsiSameText(std::string_view(name).substr(1), item.Name)) InvalidFormat();
      return;
    }
    if (depth >= fsMaxXMLDepth) InvalidFormat();  // the child would be one level too deep
    TfsXMLItem* child = item.Add();
    child->Name = name;
    child->Text = text;
    if (kind == TagKind::Open) ReadItem(*child, depth + 1);
  }
}

void TfsXMLReader::ReadRootItem(TfsXMLItem& item) {
  std::string name, text;
  TagKind kind = ReadTag(name, text);
  if (kind == TagKind::None) return;
  if (kind == TagKind::Close) InvalidFormat();
  item.Name = name;
  item.Text = text;
  if (kind == TagKind::Open) ReadItem(item, 1);
}

// ---- TfsXMLWriter ----

TfsXMLWriter::TfsXMLWriter(TStream& stream, bool autoIndent)
    : FStream(stream), FAutoIndent(autoIndent) {}

TfsXMLWriter::~TfsXMLWriter() {
  try {
    Flush();
  } catch (...) {
  }
}

void TfsXMLWriter::Flush() {
  if (FBuffer.empty()) return;
  std::string pending;
  pending.swap(FBuffer);
  FStream.WriteBuffer(pending.data(), static_cast<Int64>(pending.size()));
}

void TfsXMLWriter::WriteLine(int level, std::string_view text) {
  if (FAutoIndent) FBuffer.append(static_cast<size_t>(level) * 2, ' ');
  FBuffer += text;
  if (FAutoIndent) FBuffer += "\r\n";
  if (FBuffer.size() > kBlockSize) Flush();
}

void TfsXMLWriter::WriteHeader() { WriteLine(0, "<?xml version=\"1.0\"?>"); }

void TfsXMLWriter::WriteItem(const TfsXMLItem& item, int level) {
  // What the reader would refuse is not written either.
  if (level >= fsMaxXMLDepth) throw Exception("XML elements are nested too deeply to be written");
  std::string tag = "<" + item.Name;
  if (!item.Text.empty()) {
    if (item.Text[0] != ' ') tag += ' ';
    tag += item.Text;
  }
  if (item.Count() == 0) {
    WriteLine(level, tag + "/>");
    return;
  }
  WriteLine(level, tag + ">");
  for (Integer i = 0; i < item.Count(); ++i) WriteItem(*item.Items(i), level + 1);
  WriteLine(level, "</" + item.Name + ">");
}

void TfsXMLWriter::WriteRootItem(const TfsXMLItem& item) { WriteItem(item, 0); }

// ---- TfsXMLDocument ----

TfsXMLDocument::TfsXMLDocument() : FRoot(std::make_unique<TfsXMLItem>()) {}
TfsXMLDocument::~TfsXMLDocument() = default;

void TfsXMLDocument::LoadFromStream(TStream& stream) {
  FRoot->Clear();
  FRoot->Name.clear();
  FRoot->Text.clear();
  TfsXMLReader reader(stream);
  reader.ReadHeader();
  reader.ReadRootItem(*FRoot);
}

void TfsXMLDocument::SaveToStream(TStream& stream) const {
  TfsXMLWriter writer(stream, AutoIndent);
  writer.WriteHeader();
  writer.WriteRootItem(*FRoot);
  writer.Flush();
}

void TfsXMLDocument::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TfsXMLDocument::SaveToFile(const std::string& fileName) const {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}
