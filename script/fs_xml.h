// The interpreter's own small XML object model, used for grammars and for the
// intermediate program: elements with a name, an unparsed attribute text and
// children. No text content, no namespaces, only the escapes the interpreter
// writes itself.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/System.h"

class TStream;

// Deepest nesting of elements the reader accepts and the writer writes. The
// interpreter's own documents stay far below it (grammar recursion is bounded
// tighter); a deeper document is refused instead of exhausting the stack.
inline constexpr int fsMaxXMLDepth = 1000;

class TfsXMLItem : public TObject {
  VXN_DECLARE_CLASS(TfsXMLItem)

 public:
  TfsXMLItem() = default;
  ~TfsXMLItem() override;  // frees the children and leaves the parent's list

  void Clear();
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TfsXMLItem* Items(Integer index) const;
  TfsXMLItem* Add();                           // a new empty child at the end
  // Takes ownership; the item leaves its old parent. The item itself or one
  // of this item's ancestors is refused, since it would make a cycle.
  void AddItem(TfsXMLItem* item);
  void InsertItem(Integer index, TfsXMLItem* item);
  Integer Find(std::string_view name) const;   // first child of that name, -1 when none
  TfsXMLItem* FindItem(std::string_view name);  // that child, appended when missing
  TfsXMLItem* Root();                          // the outermost ancestor
  std::string Prop(std::string_view name) const;  // an attribute of Text, unescaped
  // Refuses a source inside this item's own subtree (clearing would free it).
  void CopyFrom(const TfsXMLItem& source);

  TfsXMLItem* Parent() const { return FParent; }

  std::string Name;
  std::string Text;  // the attribute text as written after the name
  NativeInt Data = 0;

 private:
  void Unlink(TfsXMLItem* child);

  TfsXMLItem* FParent = nullptr;
  std::vector<TfsXMLItem*> FItems;
};

class TfsXMLDocument : public TObject {
  VXN_DECLARE_CLASS(TfsXMLDocument)

 public:
  TfsXMLDocument();
  ~TfsXMLDocument() override;

  TfsXMLItem* Root() const { return FRoot.get(); }
  bool AutoIndent = false;

  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

 private:
  std::unique_ptr<TfsXMLItem> FRoot;
};

// Reads tags from a stream in 4096-byte blocks; when freed it leaves the
// stream just after the last character it consumed.
class TfsXMLReader : public TObject {
  VXN_DECLARE_CLASS(TfsXMLReader)

 public:
  explicit TfsXMLReader(TStream& stream);
  ~TfsXMLReader() override;

  void ReadHeader();
  void ReadRootItem(TfsXMLItem& item);

 private:
  enum class TagKind { Open, Empty, Close, None };
  int NextChar();  // -1 at the end of the stream
  TagKind ReadTag(std::string& name, std::string& text);
  void ReadItem(TfsXMLItem& item, int depth);

  TStream& FStream;
  std::vector<char> FBuffer;
  Int64 FBufferStart = 0;  // stream position of FBuffer[0]
  size_t FBufferPos = 0;
  size_t FBufferLen = 0;
  Int64 FSize = 0;
};

class TfsXMLWriter : public TObject {
  VXN_DECLARE_CLASS(TfsXMLWriter)

 public:
  TfsXMLWriter(TStream& stream, bool autoIndent);
  ~TfsXMLWriter() override;  // flushes what is buffered

  void WriteHeader();
  void WriteRootItem(const TfsXMLItem& item);
  void Flush();

 private:
  void WriteItem(const TfsXMLItem& item, int level);
  void WriteLine(int level, std::string_view text);

  TStream& FStream;
  std::string FBuffer;
  bool FAutoIndent;
};

// The escapes of attribute values: line feed, carriage return, '"', '<', '>'
// and '&' become "&#<code>;". The ampersand is escaped too, so that a value
// holding "&quot;" or "&#10;" literally comes back unchanged.
std::string EscapeScriptXml(std::string_view text);
// "&#<digits>;" becomes that character and "&quot;" a double quote; nothing
// else is decoded.
std::string UnescapeScriptXml(std::string_view text);
