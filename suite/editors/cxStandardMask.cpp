#include "suite/editors/cxStandardMask.h"

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Utf8.h"

VXN_IMPLEMENT_CLASS(TcxStandardMaskCustomItem, TObject)
VXN_IMPLEMENT_CLASS(TcxStandardMaskLiteralItem, TcxStandardMaskCustomItem)
VXN_IMPLEMENT_CLASS(TcxStandardMaskManyItem, TcxStandardMaskCustomItem)
VXN_IMPLEMENT_CLASS(TcxStandardMaskAlphaItem, TcxStandardMaskManyItem)
VXN_IMPLEMENT_CLASS(TcxStandardMaskAlphaNumericItem, TcxStandardMaskManyItem)
VXN_IMPLEMENT_CLASS(TcxStandardMaskASCIIItem, TcxStandardMaskManyItem)
VXN_IMPLEMENT_CLASS(TcxStandardMaskNumericItem, TcxStandardMaskManyItem)
VXN_IMPLEMENT_CLASS(TcxStandardMaskNumericSymbolItem, TcxStandardMaskManyItem)
VXN_IMPLEMENT_CLASS(TcxStandardMask, TObject)

namespace {

bool IsAsciiLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char32_t c) { return c >= '0' && c <= '9'; }

std::u32string Decode(std::string_view text) {
  std::u32string chars;
  size_t pos = 0;
  while (pos < text.size()) chars += Utf8Decode(text, pos);
  return chars;
}

std::string Encode(std::u32string_view chars) {
  std::string text;
  for (char32_t c : chars) text += Utf8Encode(c);
  return text;
}

// The text's characters, each kept as its own bytes, so that a character
// given back unchanged keeps its spelling even when it is not valid UTF-8.
std::vector<std::string_view> SplitChars(std::string_view text) {
  std::vector<std::string_view> chars;
  for (size_t pos = 0; pos < text.size();) {
    const size_t next = Utf8NextCharPos(text, pos);
    chars.push_back(text.substr(pos, next - pos));
    pos = next;
  }
  return chars;
}

char32_t CharOf(std::string_view oneChar) {
  size_t pos = 0;
  return Utf8Decode(oneChar, pos);
}

bool IsEditable(const TcxStandardMaskCustomItem& item) {
  return dynamic_cast<const TcxStandardMaskManyItem*>(&item) != nullptr;
}

}  // namespace

void TcxStandardMaskManyItem::ConvertCase(char32_t& ch) const {
  if (CaseConversion == cxCaseUpper && ch >= 'a' && ch <= 'z') ch -= 'a' - 'A';
  if (CaseConversion == cxCaseLower && ch >= 'A' && ch <= 'Z') ch += 'a' - 'A';
}

bool TcxStandardMaskAlphaItem::Accepts(char32_t ch) const { return IsAsciiLetter(ch); }
bool TcxStandardMaskAlphaNumericItem::Accepts(char32_t ch) const { return IsAsciiLetter(ch) || IsAsciiDigit(ch); }
bool TcxStandardMaskNumericItem::Accepts(char32_t ch) const { return IsAsciiDigit(ch); }
bool TcxStandardMaskNumericSymbolItem::Accepts(char32_t ch) const {
  return ch == '+' || ch == '-' || IsAsciiDigit(ch);
}

TcxStandardMask::~TcxStandardMask() { Clear(); }

void TcxStandardMask::Clear() {
  maskText_.clear();
  blankChar_ = '_';
  storeLiterals_ = true;
  items_.clear();
}

void TcxStandardMask::SetMaskText(std::string_view mask) {
  Clear();
  maskText_ = std::string(mask);
  std::u32string chars = Decode(mask);
  std::u32string_view view = chars;
  if (!view.empty() && view.front() == '!') view.remove_prefix(1);
  Parse(view);
}

void TcxStandardMask::Parse(std::u32string_view mask) {
  const auto& settings = DefaultFormatSettings();
  Byte caseSetting = cxCaseNone;
  auto literal = [&](char32_t c) { items_.push_back(std::make_unique<TcxStandardMaskLiteralItem>(c)); };
  auto editable = [&](auto* item) { items_.push_back(std::unique_ptr<TcxStandardMaskCustomItem>(item)); };
  for (size_t i = 0; i < mask.size(); ++i) {
    const char32_t c = mask[i];
    const size_t rest = mask.size() - i - 1;  // characters after c
    switch (c) {
      case '>': caseSetting = cxCaseUpper; break;
      case '<':
        if (rest > 0 && mask[i + 1] == '>') {
          caseSetting = cxCaseNone;
          ++i;
        } else {
          caseSetting = cxCaseLower;
        }
        break;
      case '\\':
        if (rest > 0) literal(mask[++i]);
        break;
      case 'L': editable(new TcxStandardMaskAlphaItem(caseSetting, false)); break;
      case 'l': editable(new TcxStandardMaskAlphaItem(caseSetting, true)); break;
      case 'A': editable(new TcxStandardMaskAlphaNumericItem(caseSetting, false)); break;
      case 'a': editable(new TcxStandardMaskAlphaNumericItem(caseSetting, true)); break;
      case 'C': editable(new TcxStandardMaskASCIIItem(caseSetting, false)); break;
      case 'c': editable(new TcxStandardMaskASCIIItem(caseSetting, true)); break;
      case '0': editable(new TcxStandardMaskNumericItem(caseSetting, false)); break;
      case '9': editable(new TcxStandardMaskNumericItem(caseSetting, true)); break;
      case '#': editable(new TcxStandardMaskNumericSymbolItem(caseSetting)); break;
      case ':': literal(static_cast<unsigned char>(settings.TimeSeparator)); break;
      case '/': literal(static_cast<unsigned char>(settings.DateSeparator)); break;
      case ';':
        // The two fields are recognised only at the very end of the mask.
        if (rest == 3 && (mask[i + 1] == '0' || mask[i + 1] == '1') && mask[i + 2] == ';') {
          storeLiterals_ = mask[i + 1] != '0';
          blankChar_ = mask[i + 3];
          return;
        }
        if (rest == 1 && (mask[i + 1] == '0' || mask[i + 1] == '1')) {
          storeLiterals_ = mask[i + 1] != '0';
          return;
        }
        literal(';');
        break;
      default: literal(c); break;
    }
  }
}

std::string TcxStandardMask::BlankTemplate() const {
  std::u32string result;
  for (const auto& item : items_) {
    auto* lit = dynamic_cast<const TcxStandardMaskLiteralItem*>(item.get());
    result += lit ? lit->LiteralChar : blankChar_;
  }
  return Encode(result);
}

std::string TcxStandardMask::EmptyValue() const {
  std::u32string result;
  for (const auto& item : items_) {
    if (auto* lit = dynamic_cast<const TcxStandardMaskLiteralItem*>(item.get())) {
      if (storeLiterals_) result += lit->LiteralChar;
    } else {
      result += ' ';
    }
  }
  return Encode(result);
}

void TcxStandardMask::Format(std::string& text, bool applyCase) const {
  std::vector<std::string> result;
  for (const auto& item : items_) {
    auto* lit = dynamic_cast<const TcxStandardMaskLiteralItem*>(item.get());
    result.push_back(Utf8Encode(lit ? lit->LiteralChar : blankChar_));
  }
  std::vector<bool> taken(items_.size(), false);
  for (std::string_view input : SplitChars(text)) {
    const char32_t c = CharOf(input);
    char32_t work = c;
    for (size_t i = 0; i < items_.size(); ++i) {
      if (taken[i]) continue;
      if (items_[i]->Check(work)) {
        result[i] = applyCase ? Utf8Encode(work) : std::string(input);
        taken[i] = true;
        break;
      }
      if ((c == blankChar_ || c == ' ') && IsEditable(*items_[i])) {
        taken[i] = true;
        break;
      }
    }
  }
  text.clear();
  for (const auto& s : result) text += s;
}

void TcxStandardMask::ValueText(std::string& text) const {
  const std::vector<std::string_view> chars = SplitChars(text);
  std::string result;
  for (size_t i = 0; i < chars.size() && i < items_.size(); ++i) {
    if (!IsEditable(*items_[i])) {
      if (storeLiterals_) result += chars[i];
    } else if (CharOf(chars[i]) == blankChar_) {
      result += ' ';
    } else {
      result += chars[i];
    }
  }
  text = std::move(result);
}

bool TcxStandardMask::IsValid(std::string_view text) const {
  const std::vector<std::string_view> chars = SplitChars(text);
  if (chars.size() != items_.size()) return false;
  for (size_t i = 0; i < chars.size(); ++i) {
    char32_t ch = CharOf(chars[i]);
    if (items_[i]->Check(ch)) continue;
    auto* many = dynamic_cast<const TcxStandardMaskManyItem*>(items_[i].get());
    if ((ch == blankChar_ || ch == ' ') && many && many->IsOptional) continue;
    return false;
  }
  return true;
}
