// The clipboard object of the class library over the win clipboard. Open and
// Close nest, so a caller can put several formats in one opening; every
// other call opens and closes around itself when the clipboard is not open.
#pragma once

#include <string>

#include "platform/rtl/SysUtils.h"
#include "platform/win/Clipboard.h"

inline constexpr const char* SCannotOpenClipboard = "Cannot open clipboard";

class TClipboard : public TObject {
  VXN_DECLARE_CLASS(TClipboard)

 public:
  TClipboard() = default;
  ~TClipboard() override;

  // Raises Exception SCannotOpenClipboard when someone else holds it.
  void Open();
  void Close();
  void Clear();
  bool HasFormat(win::UINT Format);
  std::string AsText();
  void SetAsText(const std::string& Value) { SetTextBuf(Value.c_str()); }
  void SetTextBuf(const char* Buffer);
  // Copies at most BufSize - 1 bytes and a terminating zero; the bytes copied.
  Integer GetTextBuf(char* Buffer, Integer BufSize);
  // Takes the block (the clipboard owns it afterwards).
  void SetAsHandle(win::UINT Format, win::HANDLE Value);
  win::HANDLE GetAsHandle(win::UINT Format);

 private:
  Integer OpenRefCount_ = 0;
  // Emptied once per opening: the first format put replaces what was there.
  bool Emptied_ = false;
};

// The program's one clipboard object, made on first use.
TClipboard* Clipboard();
