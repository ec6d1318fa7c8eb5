#include "platform/rtl/FormFiles.h"

#include <charconv>
#include <cstring>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/Utf8.h"

VXN_IMPLEMENT_CLASS(EParserError, Exception)

namespace {

constexpr int kMaxDepth = 200;  // objects and lists nested in each other

// ---------------------------------------------------------------------------
// Text to binary.

enum class Tok { End, Ident, String, Integer, Float, Symbol };

struct Token {
  Tok Kind = Tok::End;
  std::string Text;  // identifier, string value or number text
  char Symbol = 0;
  char Suffix = 0;  // float suffix: s, c, d
  int Line = 1;
};

class TextToBinary {
 public:
  TextToBinary(std::string_view text, TStream& output, const std::string& source,
               std::vector<std::pair<Int64, Integer>>* lines)
      : Src_(text), Out_(output), Writer_(output), Source_(source), Lines_(lines) {}

  void Run() {
    Next();
    Writer_.WriteSignature();
    ConvertObject();
    if (Cur_.Kind != Tok::End) Error("End of file expected");
  }

 private:
  [[noreturn]] void Error(std::string_view what) {
    std::string where = Source_.empty() ? "Line " + IntToStr(Cur_.Line) : Source_ + "(" + IntToStr(Cur_.Line) + ")";
    throw EParserError(where + ": " + std::string(what));
  }

  static bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
  }
  static bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

  char Peek(size_t ahead = 0) const { return Pos_ + ahead < Src_.size() ? Src_[Pos_ + ahead] : '\0'; }

  // A line ends at LF, or at a CR that no LF follows (CR-only files).
  bool EndsLine(size_t at) const {
    return Src_[at] == '\n' || (Src_[at] == '\r' && (at + 1 >= Src_.size() || Src_[at + 1] != '\n'));
  }

  void SkipBlanks() {
    while (Pos_ < Src_.size()) {
      char c = Src_[Pos_];
      if (EndsLine(Pos_)) {
        ++Line_;
      } else if (static_cast<unsigned char>(c) > ' ') {
        break;
      }
      ++Pos_;
    }
  }

  void Next() {
    SkipBlanks();
    Cur_ = Token();
    Cur_.Line = Line_;
    if (Pos_ >= Src_.size()) return;
    char c = Src_[Pos_];
    if (IsIdentStart(c)) {
      size_t start = Pos_;
      while (IsIdentChar(Peek()) || (Peek() == '.' && IsIdentStart(Peek(1)))) ++Pos_;
      Cur_.Kind = Tok::Ident;
      Cur_.Text.assign(Src_.substr(start, Pos_ - start));
    } else if (c == '\'' || c == '#') {
      LexString();
    } else if (IsDigit(c) || (c == '-' && (IsDigit(Peek(1)) || Peek(1) == '$')) || c == '$') {
      LexNumber();
    } else {
      Cur_.Kind = Tok::Symbol;
      Cur_.Symbol = c;
      ++Pos_;
    }
  }

  void LexString() {
    Cur_.Kind = Tok::String;
    while (Peek() == '\'' || Peek() == '#') {
      if (Peek() == '\'') {
        ++Pos_;
        while (true) {
          if (Pos_ >= Src_.size() || Src_[Pos_] == '\n' || Src_[Pos_] == '\r') Error("Unterminated string");
          char ch = Src_[Pos_++];
          if (ch == '\'') {
            if (Peek() != '\'') break;
            ++Pos_;
          }
          Cur_.Text += ch;
        }
      } else {
        uint32_t code = CharacterCode();
        // Two codes of a UTF-16 surrogate pair stand for one character.
        if (code >= 0xD800 && code <= 0xDBFF && Peek() == '#') {
          const size_t at = Pos_;
          const uint32_t low = CharacterCode(true);
          if (low >= 0xDC00 && low <= 0xDFFF)
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          else
            Pos_ = at;
        }
        if (code >= 0xD800 && code <= 0xDFFF) Error("Invalid character code");
        if (code < 0x80)
          Cur_.Text += static_cast<char>(code);
        else
          Cur_.Text += Utf8Encode(code);
      }
    }
  }

  // One #nnn or #$hh code, at the '#'. Lone surrogates are judged by the
  // caller, which may pair them.
  uint32_t CharacterCode(bool surrogateOnly = false) {
    ++Pos_;
    uint32_t code = 0;
    bool hex = Peek() == '$';
    if (hex) ++Pos_;
    size_t digits = 0;
    while (true) {
      char d = Peek();
      int v = IsDigit(d) ? d - '0'
              : hex && ((d | 0x20) >= 'a' && (d | 0x20) <= 'f') ? (d | 0x20) - 'a' + 10
                                                              : -1;
      if (v < 0) break;
      code = code * (hex ? 16 : 10) + static_cast<uint32_t>(v);
      if (code > 0x10FFFF) {
        if (surrogateOnly) return 0;
        Error("Invalid character code");
      }
      ++Pos_;
      ++digits;
    }
    if (digits == 0) {
      if (surrogateOnly) return 0;
      Error("Invalid character code");
    }
    return code;
  }

  void LexNumber() {
    size_t start = Pos_;
    if (Peek() == '-') ++Pos_;
    if (Peek() == '$') {
      ++Pos_;
      while (std::isxdigit(static_cast<unsigned char>(Peek()))) ++Pos_;
      Cur_.Kind = Tok::Integer;
      Cur_.Text.assign(Src_.substr(start, Pos_ - start));
      return;
    }
    bool isFloat = false;
    while (IsDigit(Peek())) ++Pos_;
    if (Peek() == '.' && IsDigit(Peek(1))) {
      isFloat = true;
      ++Pos_;
      while (IsDigit(Peek())) ++Pos_;
    }
    if ((Peek() == 'e' || Peek() == 'E') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
      isFloat = true;
      Pos_ += 2;
      while (IsDigit(Peek())) ++Pos_;
    }
    Cur_.Text.assign(Src_.substr(start, Pos_ - start));
    char suffix = static_cast<char>(Peek() | 0x20);
    if ((suffix == 's' || suffix == 'c' || suffix == 'd') && !IsIdentChar(Peek(1))) {
      Cur_.Suffix = suffix;
      isFloat = true;
      ++Pos_;
    }
    Cur_.Kind = isFloat ? Tok::Float : Tok::Integer;
  }

  bool IsIdent(const char* word) const { return Cur_.Kind == Tok::Ident && SameText(Cur_.Text, word); }
  bool IsSymbol(char c) const { return Cur_.Kind == Tok::Symbol && Cur_.Symbol == c; }
  void Expect(char c) {
    if (!IsSymbol(c)) Error(std::string("'") + c + "' expected");
    Next();
  }
  std::string ExpectIdent() {
    if (Cur_.Kind != Tok::Ident) Error("Identifier expected");
    std::string text = Cur_.Text;
    Next();
    return text;
  }
  bool AtObject() const { return IsIdent("object") || IsIdent("inherited") || IsIdent("inline"); }

  void Mark() {
    if (Lines_) Lines_->push_back({Out_.Position(), Cur_.Line});
  }

  void ConvertObject() {
    if (++Depth_ > kMaxDepth) Error("Objects nested too deeply");
    if (!AtObject()) Error("'object' expected");
    Mark();
    int flags = IsIdent("inherited") ? ffInherited : IsIdent("inline") ? ffInline : 0;
    Next();
    std::string first = ExpectIdent();
    std::string name, className;
    if (IsSymbol(':')) {
      Next();
      name = first;
      className = ExpectIdent();
    } else {
      className = first;
    }
    Int64 childPos = 0;
    if (IsSymbol('[')) {
      Next();
      if (Cur_.Kind != Tok::Integer) Error("Integer expected");
      childPos = ParseInteger(Cur_.Text);
      flags |= ffChildPos;
      Next();
      Expect(']');
    }
    if (flags) {
      Byte prefix = static_cast<Byte>(0xF0 | flags);
      Out_.WriteBuffer(&prefix, 1);
      if (flags & ffChildPos) Writer_.WriteInteger(childPos);
    }
    WriteName(className);
    WriteName(name);
    while (Cur_.Kind == Tok::Ident && !AtObject() && !IsIdent("end")) ConvertProperty();
    Writer_.WriteListEnd();
    while (AtObject()) ConvertObject();
    Writer_.WriteListEnd();
    if (!IsIdent("end")) Error("'end' expected");
    Next();
    --Depth_;
  }

  void WriteName(const std::string& name) {
    if (name.size() > 255) Error("Name too long");
    Writer_.WriteStr(name);
  }

  void ConvertProperty() {
    Mark();
    WriteName(ExpectIdent());
    Expect('=');
    ConvertValue();
  }

  Int64 ParseInteger(const std::string& text) {
    Int64 v = 0;
    if (!TryStrToInt64(text, v)) Error("Invalid integer " + text);
    return v;
  }

  // Currency text to its scaled value without going through a double: the
  // whole range reads exactly.
  int64_t ParseCurrency(const std::string& text) {
    Currency c;
    if (!TryStrToCurr(text, c, TFormatSettings::English())) Error("Invalid number " + text);
    return c.Value;
  }

  void ConvertValue() {
    if (++Depth_ > kMaxDepth) Error("Values nested too deeply");
    switch (Cur_.Kind) {
      case Tok::Integer:
        Writer_.WriteInteger(ParseInteger(Cur_.Text));
        Next();
        break;
      case Tok::Float: {
        if (Cur_.Suffix == 'c') {
          Writer_.WriteCurrency(Currency::FromScaled(ParseCurrency(Cur_.Text)));
          Next();
          break;
        }
        double d = 0;
        const std::string& t = Cur_.Text;
        auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), d);
        if (ec != std::errc() || end != t.data() + t.size()) Error("Invalid number " + t);
        if (Cur_.Suffix == 's')
          Writer_.WriteSingle(static_cast<float>(d));
        else if (Cur_.Suffix == 'd')
          Writer_.WriteDate(d);
        else
          Writer_.WriteFloat(d);
        Next();
        break;
      }
      case Tok::String: {
        std::string text = Cur_.Text;
        Next();
        while (IsSymbol('+')) {
          Next();
          if (Cur_.Kind != Tok::String) Error("String expected");
          text += Cur_.Text;
          Next();
        }
        Writer_.WriteString(text);
        break;
      }
      case Tok::Ident:
        if (Cur_.Text.size() > 255) Error("Name too long");
        Writer_.WriteIdent(Cur_.Text);
        Next();
        break;
      case Tok::Symbol:
        switch (Cur_.Symbol) {
          case '[':
            ConvertSet();
            break;
          case '(':
            Next();
            Writer_.WriteListBegin();
            while (!IsSymbol(')')) {
              if (Cur_.Kind == Tok::End) Error("')' expected");
              ConvertValue();
            }
            Next();
            Writer_.WriteListEnd();
            break;
          case '{':
            ConvertBinary();
            break;
          case '<':
            ConvertCollection();
            break;
          default:
            Error(SInvalidPropertyValue);
        }
        break;
      case Tok::End:
        Error(SInvalidPropertyValue);
    }
    --Depth_;
  }

  void ConvertSet() {
    Next();
    Writer_.WriteValue(vaSet);
    if (!IsSymbol(']')) {
      while (true) {
        std::string element = ExpectIdent();
        if (element.size() > 255) Error("Name too long");
        Writer_.WriteStr(element);
        if (IsSymbol(']')) break;
        Expect(',');
      }
    }
    Next();
    Writer_.WriteStr("");
  }

  // The token after '{' has not been read: the hex digits are taken raw.
  void ConvertBinary() {
    std::string hex;
    while (true) {
      if (Pos_ >= Src_.size()) Error("'}' expected");
      char c = Src_[Pos_++];
      if (c == '}') break;
      if (EndsLine(Pos_ - 1)) ++Line_;
      if (static_cast<unsigned char>(c) <= ' ') continue;
      if (!std::isxdigit(static_cast<unsigned char>(c))) {
        Cur_.Line = Line_;
        Error("Invalid binary value");
      }
      hex += c;
    }
    if (hex.size() % 2) Error("Invalid binary value");
    std::string bytes = HexTextToBin(hex);
    Writer_.WriteBinary(bytes.data(), static_cast<Int64>(bytes.size()));
    Next();
  }

  void ConvertCollection() {
    Next();
    Writer_.WriteValue(vaCollection);
    while (IsIdent("item")) {
      Next();
      if (IsSymbol('[')) {
        Next();
        if (Cur_.Kind != Tok::Integer) Error("Integer expected");
        Writer_.WriteInteger(ParseInteger(Cur_.Text));
        Next();
        Expect(']');
      }
      Writer_.WriteListBegin();
      while (Cur_.Kind == Tok::Ident && !IsIdent("end")) ConvertProperty();
      if (!IsIdent("end")) Error("'end' expected");
      Next();
      Writer_.WriteListEnd();
    }
    if (!IsSymbol('>')) Error("'>' expected");
    Next();
    Writer_.WriteListEnd();
  }

  std::string_view Src_;
  size_t Pos_ = 0;
  int Line_ = 1;
  Token Cur_;
  TStream& Out_;
  TWriter Writer_;
  std::string Source_;
  std::vector<std::pair<Int64, Integer>>* Lines_;
  int Depth_ = 0;
};

// ---------------------------------------------------------------------------
// Binary to text.

std::string FloatText(double d) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
  std::string s(buf, end);
  if (s.find_first_of(".en") == std::string::npos) s += ".0";  // stays a float when read back
  return s;
}

std::string CurrencyText(Currency c) {
  int64_t v = c.Value;
  bool negative = v < 0;
  uint64_t a = negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  std::string s = (negative ? "-" : "") + std::to_string(a / 10000);
  uint64_t fraction = a % 10000;
  if (fraction) {
    std::string f = std::to_string(fraction);
    f = std::string(4 - f.size(), '0') + f;
    while (f.back() == '0') f.pop_back();
    s += "." + f;
  }
  return s;
}

class BinaryToText {
 public:
  explicit BinaryToText(TStream& input) : In_(input), Reader_(input) {}

  std::string Run() {
    Reader_.ReadSignature();
    ConvertObject(0);
    return std::move(Out_);
  }

 private:
  void Indent(int n) { Out_.append(static_cast<size_t>(n), ' '); }

  void ConvertObject(int indent) {
    if (indent / 2 > kMaxDepth) throw EReadError(SInvalidImage);
    Byte b = 0;
    In_.ReadBuffer(&b, 1);
    int flags = 0;
    Int64 childPos = 0;
    if ((b & 0xF0) == 0xF0) {
      flags = b & 0x0F;
      if (flags & ffChildPos) childPos = Reader_.ReadInt64();
    } else {
      In_.Seek(Int64{-1}, soCurrent);
    }
    std::string className = Reader_.ReadStr();
    std::string name = Reader_.ReadStr();
    Indent(indent);
    Out_ += (flags & ffInherited) ? "inherited " : (flags & ffInline) ? "inline " : "object ";
    if (!name.empty()) Out_ += name + ": ";
    Out_ += className;
    if (flags & ffChildPos) Out_ += " [" + IntToStr(childPos) + "]";
    Out_ += "\n";
    while (!Reader_.EndOfList()) ConvertProperty(indent + 2);
    Reader_.ReadListEnd();
    while (!Reader_.EndOfList()) ConvertObject(indent + 2);
    Reader_.ReadListEnd();
    Indent(indent);
    Out_ += "end\n";
  }

  void ConvertProperty(int indent) {
    Indent(indent);
    Out_ += Reader_.ReadStr() + " = ";
    ConvertValue(indent);
    Out_ += "\n";
  }

  void QuoteText(const std::string& s, int indent) {
    if (s.empty()) {
      Out_ += "''";
      return;
    }
    bool quoted = false;
    size_t lineStart = Out_.size();
    size_t i = 0;
    while (i < s.size()) {
      if (Out_.size() - lineStart > 64) {  // long texts continue on the next line
        if (quoted) Out_ += '\'';
        quoted = false;
        Out_ += " +\n";
        Indent(indent + 2);
        lineStart = Out_.size();
      }
      auto c = static_cast<unsigned char>(s[i]);
      if (c < ' ' || c == 0x7F) {
        if (quoted) Out_ += '\'';
        quoted = false;
        Out_ += "#" + IntToStr(c);
        ++i;
        continue;
      }
      if (!quoted) Out_ += '\'';
      quoted = true;
      size_t len = c < 0x80 ? 1 : std::max<size_t>(1, Utf8CharLength(s, i));
      if (c == '\'') Out_ += '\'';
      Out_.append(s, i, len);
      i += len;
    }
    if (quoted) Out_ += '\'';
  }

  void ConvertValue(int indent) {
    if (indent / 2 > kMaxDepth * 2) throw EReadError(SInvalidImage);
    switch (Reader_.NextValue()) {
      case vaList:
        Reader_.ReadValue();
        Out_ += "(";
        while (!Reader_.EndOfList()) {
          Out_ += "\n";
          Indent(indent + 2);
          ConvertValue(indent + 2);
        }
        Reader_.ReadListEnd();
        Out_ += ")";
        break;
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64:
        Out_ += IntToStr(Reader_.ReadInt64());
        break;
      case vaExtended:
        Out_ += FloatText(Reader_.ReadFloat());
        break;
      case vaSingle: {
        char buf[64];
        auto [end, ec] = std::to_chars(buf, buf + sizeof buf, Reader_.ReadSingle());
        Out_.append(buf, end);
        Out_ += "s";
        break;
      }
      case vaCurrency:
        Out_ += CurrencyText(Reader_.ReadCurrency()) + "c";
        break;
      case vaDate: {
        std::string t = FloatText(Reader_.ReadDate());
        Out_ += t + "d";
        break;
      }
      case vaString:
      case vaLString:
      case vaUTF8String:
      case vaWString:
        QuoteText(Reader_.ReadString(), indent);
        break;
      case vaIdent:
      case vaFalse:
      case vaTrue:
      case vaNil:
      case vaNull:
        Out_ += Reader_.ReadIdent();
        break;
      case vaBinary: {
        std::string hex = BinToHexText(Reader_.ReadBinary());
        Out_ += "{";
        size_t start = 0;
        while (start < hex.size()) {
          size_t nl = hex.find('\n', start);
          Out_ += "\n";
          Indent(indent + 2);
          Out_.append(hex, start, nl - start);
          start = nl + 1;
        }
        Out_ += "}";
        break;
      }
      case vaSet: {
        Reader_.ReadValue();
        Out_ += "[";
        bool first = true;
        for (std::string e = Reader_.ReadStr(); !e.empty(); e = Reader_.ReadStr()) {
          if (!first) Out_ += ", ";
          Out_ += e;
          first = false;
        }
        Out_ += "]";
        break;
      }
      case vaCollection:
        Reader_.ReadValue();
        Out_ += "<";
        while (!Reader_.EndOfList()) {
          Out_ += "\n";
          Indent(indent + 2);
          Out_ += "item";
          TValueType v = Reader_.NextValue();
          if (v == vaInt8 || v == vaInt16 || v == vaInt32) Out_ += " [" + IntToStr(Reader_.ReadInteger()) + "]";
          Out_ += "\n";
          Reader_.ReadListBegin();
          while (!Reader_.EndOfList()) ConvertProperty(indent + 4);
          Reader_.ReadListEnd();
          Indent(indent + 2);
          Out_ += "end";
        }
        Reader_.ReadListEnd();
        Out_ += ">";
        break;
      default:
        // An unknown tag consumes nothing: the list around it would read
        // it again forever.
        throw EReadError(SInvalidImage);
    }
  }

  TStream& In_;
  TReader Reader_;
  std::string Out_;
};

}  // namespace

void ObjectTextToBinary(std::string_view Text, TStream& Output, const std::string& SourceName,
                        std::vector<std::pair<Int64, Integer>>* Lines) {
  if (Text.size() >= 3 && std::memcmp(Text.data(), "\xEF\xBB\xBF", 3) == 0) Text.remove_prefix(3);
  TextToBinary(Text, Output, SourceName, Lines).Run();
}

std::string ObjectBinaryToText(TStream& Input) { return BinaryToText(Input).Run(); }

namespace {
TComponent* ReadText(std::string_view Text, TComponent* Root, const std::string& SourceName,
                     std::vector<TComponent*>* globalLoaded) {
  TMemoryStream binary;
  std::vector<std::pair<Int64, Integer>> lines;
  ObjectTextToBinary(Text, binary, SourceName, &lines);
  binary.SetPosition(0);
  TReader reader(binary);
  reader.SourceName = SourceName;
  reader.SourceLines = std::move(lines);
  reader.GlobalLoaded = globalLoaded;
  return reader.ReadRootComponent(Root);
}
}  // namespace

TComponent* ReadComponentText(std::string_view Text, TComponent* Root, const std::string& SourceName) {
  return ReadText(Text, Root, SourceName, nullptr);
}

std::string WriteComponentText(TComponent* Root) {
  TMemoryStream binary;
  TWriter writer(binary);
  writer.WriteRootComponent(Root);
  binary.SetPosition(0);
  return ObjectBinaryToText(binary);
}

bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor) {
  std::vector<TClass> chain;
  for (TClass c = Instance->ClassType(); c && c != RootAncestor; c = c->Parent) chain.push_back(c);
  bool found = false;
  std::vector<TComponent*> loaded;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    std::string_view data;
    if (!FindResource((*it)->Name, "FORM", data)) continue;
    found = true;
    if (data.size() >= 4 && data.substr(0, 4) == "TPF0") {
      TCustomMemoryStream stream(data.data(), static_cast<Int64>(data.size()));
      TReader reader(stream);
      reader.SourceName = (*it)->Name;
      reader.GlobalLoaded = &loaded;
      reader.ReadRootComponent(Instance);
    } else {
      ReadText(data, Instance, (*it)->Name, &loaded);
    }
  }
  // One Loaded pass once every level is in, in creation order.
  for (TComponent* c : loaded) c->Loaded();
  return found;
}
