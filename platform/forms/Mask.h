// The mask edit of the class library: an edit whose text follows an edit
// mask, with its own small mask engine.
//
// An edit mask is "mask;save literals;blank", the last two fields optional
// ("9999/99/99;1; ", "00:00:00;1; "). Mask characters:
//   L letter   l letter or blank    A letter/digit   a letter/digit or blank
//   C any      c any or blank       0 digit          9 digit or blank
//   # digit, '+', '-' or blank      : time separator / date separator
//   _ a space  \ the next character as a literal
//   > upper case from here          < lower case from here   <> no case change
//   ! optional characters are blanks on the left (text fills from the right)
// Anything else is a literal. Save literals "0" leaves the literals out of
// Text; the blank character (default '_') stands in the edit text for a
// position not yet typed. EditText is what the window shows (literals and
// blanks); Text is that with blanks as spaces and literals as saved.
// Positions count characters, never bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/StdCtrls.h"

VXN_DECLARE_EXCEPTION(EDBEditError, Exception)

inline constexpr const char* SMaskEditErr = "Invalid input value.  Use escape key to abandon changes";

// One compiled edit mask.
class EditMaskFormat {
 public:
  EditMaskFormat() = default;
  explicit EditMaskFormat(std::string_view EditMask);

  bool Empty() const { return Positions_.empty(); }
  size_t Size() const { return Positions_.size(); }
  bool SaveLiterals() const { return SaveLiterals_; }
  char32_t Blank() const { return Blank_; }
  bool IsLiteral(size_t Pos) const { return Positions_[Pos].Literal; }
  bool IsRequired(size_t Pos) const { return Positions_[Pos].Required; }
  char32_t LiteralAt(size_t Pos) const { return Positions_[Pos].Char; }

  // The character as it is stored at an input position (case converted),
  // or 0 when the position refuses it.
  char32_t Accept(size_t Pos, char32_t C) const;
  // The first input position at or after Pos, or Size().
  size_t NextInput(size_t Pos) const;
  // The last input position before Pos, or Size() when there is none.
  size_t PrevInput(size_t Pos) const;

  // Literals in place, blanks elsewhere.
  std::u32string Template() const;
  // Text (literals present or not, as saved) to edit text; characters that a
  // position refuses become blanks.
  std::u32string ToEditText(std::string_view Text) const;
  // Edit text to Text.
  std::string ToText(const std::u32string& EditText) const;
  // The first required position still blank, or Size() when none is.
  size_t FirstMissing(const std::u32string& EditText) const;

 private:
  enum class Kind { Letter, AlphaNum, Any, Digit, DigitOrSign };
  struct Position {
    bool Literal = false;
    char32_t Char = 0;  // a literal's character
    Kind Type = Kind::Any;
    bool Required = false;
    int Case = 0;  // 1 upper, -1 lower
  };
  std::vector<Position> Positions_;
  bool SaveLiterals_ = true;
  char32_t Blank_ = U'_';
  bool Reverse_ = false;
};

class TCustomMaskEdit : public TCustomEdit {
  VXN_DECLARE_CLASS(TCustomMaskEdit)

 public:
  explicit TCustomMaskEdit(TComponent* AOwner);

  std::string EditMask() const { return EditMask_; }
  // Keeps the text: what it holds goes into the new mask's positions.
  void SetEditMask(const std::string& Value);
  bool IsMasked() const { return !Mask_.Empty(); }
  // What the window shows.
  std::string EditText() const;
  void SetEditText(const std::string& Value);
  std::string GetText() const override;
  void SetText(const std::string& Value) override;

  // Raises EDBEditError (after a beep, with the caret on the first position
  // missing) when the modified text leaves a required position blank.
  virtual void ValidateEdit();
  // Puts back the text the control had when it got the focus.
  void Reset();

 protected:
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void DoEnter() override;
  void CMExit(TMessage& Message) override;

 private:
  std::u32string Edit() const;
  // Writes the edit text as a change of the user (Modified, OnChange).
  void Store(const std::u32string& Text);
  // The caret on a position shows as that one character selected.
  void SetCursor(size_t Pos);
  void BlankRange(std::u32string& Text, size_t Start, size_t Stop) const;
  void InputChar(char32_t C);
  void DeleteKey(bool Back);
  void ArrowKey(Word Key);
  void MaskClear();
  void MaskPaste();
  void ApplyLimit();

  std::string EditMask_;
  EditMaskFormat Mask_;
  std::string OldValue_;
  bool ReEnter_ = false;  // the focus comes back after a failed validation
  bool RawText_ = false;
};

class TMaskEdit : public TCustomMaskEdit {
  VXN_DECLARE_CLASS(TMaskEdit)

 public:
  explicit TMaskEdit(TComponent* AOwner);
};

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterMaskClasses();
