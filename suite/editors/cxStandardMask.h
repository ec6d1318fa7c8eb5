// The standard edit mask: a mask text parsed into one item per character
// position of the masked text.
//
//   >  upper case from here      <  lower case      <>  no case conversion
//   L l  letter (required / optional)     A a  letter or digit
//   C c  any character                    0 9  digit
//   #  digit, "+" or "-" (optional)
//   :  /   the locale's time / date separator (read when the mask is set)
//   \x  x taken literally                 anything else: itself, literally
//   ;1;_  at the very end: keep literals in the value (1) or not (0), and
//         the blank character; ";0" or ";1" alone sets only the first
//
// Positions and characters are UTF-8 characters; case conversion touches
// only the ASCII letters, and the letter and digit items take only ASCII.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/System.h"

class TcxStandardMaskCustomItem : public TObject {
  VXN_DECLARE_CLASS(TcxStandardMaskCustomItem)

 public:
  // Answers whether the item takes ch; editable items also convert ch's
  // case in place, whether they take it or not.
  virtual bool Check(char32_t& ch) const = 0;
};

class TcxStandardMaskLiteralItem : public TcxStandardMaskCustomItem {
  VXN_DECLARE_CLASS(TcxStandardMaskLiteralItem)

 public:
  explicit TcxStandardMaskLiteralItem(char32_t literalChar) : LiteralChar(literalChar) {}
  bool Check(char32_t& ch) const override { return ch == LiteralChar; }

  char32_t LiteralChar;
};

enum : Byte { cxCaseUpper = 0, cxCaseLower = 1, cxCaseNone = 2 };

// Base of the editable items.
class TcxStandardMaskManyItem : public TcxStandardMaskCustomItem {
  VXN_DECLARE_CLASS(TcxStandardMaskManyItem)

 public:
  TcxStandardMaskManyItem(Byte caseConversion, bool isOptional)
      : CaseConversion(caseConversion), IsOptional(isOptional) {}
  bool Check(char32_t& ch) const final {
    const char32_t noted = ch;
    ConvertCase(ch);
    return Accepts(noted);
  }
  void ConvertCase(char32_t& ch) const;

  Byte CaseConversion;
  bool IsOptional;

 protected:
  virtual bool Accepts(char32_t ch) const = 0;
};

class TcxStandardMaskAlphaItem : public TcxStandardMaskManyItem {
  VXN_DECLARE_CLASS(TcxStandardMaskAlphaItem)

 public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

 protected:
  bool Accepts(char32_t ch) const override;
};

class TcxStandardMaskAlphaNumericItem : public TcxStandardMaskManyItem {
  VXN_DECLARE_CLASS(TcxStandardMaskAlphaNumericItem)

 public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

 protected:
  bool Accepts(char32_t ch) const override;
};

class TcxStandardMaskASCIIItem : public TcxStandardMaskManyItem {
  VXN_DECLARE_CLASS(TcxStandardMaskASCIIItem)

 public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

 protected:
  bool Accepts(char32_t) const override { return true; }
};

class TcxStandardMaskNumericItem : public TcxStandardMaskManyItem {
  VXN_DECLARE_CLASS(TcxStandardMaskNumericItem)

 public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

 protected:
  bool Accepts(char32_t ch) const override;
};

// Always optional.
class TcxStandardMaskNumericSymbolItem : public TcxStandardMaskManyItem {
  VXN_DECLARE_CLASS(TcxStandardMaskNumericSymbolItem)

 public:
  explicit TcxStandardMaskNumericSymbolItem(Byte caseConversion) : TcxStandardMaskManyItem(caseConversion, true) {}

 protected:
  bool Accepts(char32_t ch) const override;
};

class TcxStandardMask : public TObject {
  VXN_DECLARE_CLASS(TcxStandardMask)

 public:
  TcxStandardMask() = default;
  ~TcxStandardMask() override;

  void Clear();
  // Clears, keeps the mask as given and parses it (a leading "!" is
  // skipped and has no other effect).
  void SetMaskText(std::string_view mask);

  const std::string& MaskText() const { return maskText_; }
  char32_t BlankChar() const { return blankChar_; }
  bool StoreLiterals() const { return storeLiterals_; }
  Integer ItemCount() const { return static_cast<Integer>(items_.size()); }
  TcxStandardMaskCustomItem* ItemList(Integer index) const { return items_.at(static_cast<size_t>(index)).get(); }

  // Literals in place, BlankChar at the editable positions.
  std::string BlankTemplate() const;
  // The value text of an untouched mask.
  std::string EmptyValue() const;
  // Fits text into the mask: each character goes to the first free item
  // that takes it (a blank or space holds an editable place); the result
  // always has ItemCount characters.
  void Format(std::string& text, bool applyCase) const;
  // The value text of a masked text.
  void ValueText(std::string& text) const;
  bool IsValid(std::string_view text) const;

 private:
  void Parse(std::u32string_view mask);

  std::string maskText_;
  char32_t blankChar_ = '_';
  bool storeLiterals_ = true;
  std::vector<std::unique_ptr<TcxStandardMaskCustomItem>> items_;
};
