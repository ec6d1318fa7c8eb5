#include "platform/forms/Clipbrd.h"
#include "platform/rtl/ScopeExit.h"

#include <cstring>

using namespace win;

VXN_IMPLEMENT_CLASS(TClipboard, TObject)

TClipboard::~TClipboard() {
  if (OpenRefCount_ > 0) CloseClipboard();
}

void TClipboard::Open() {
  if (OpenRefCount_ == 0) {
    if (!OpenClipboard(nullptr)) throw Exception(SCannotOpenClipboard);
    Emptied_ = false;
  }
  ++OpenRefCount_;
}

void TClipboard::Close() {
  if (OpenRefCount_ == 0) return;
  if (--OpenRefCount_ == 0) CloseClipboard();
}

void TClipboard::Clear() {
  Open();
  EmptyClipboard();
  Emptied_ = true;
  Close();
}

bool TClipboard::HasFormat(UINT Format) { return IsClipboardFormatAvailable(Format) != 0; }

std::string TClipboard::AsText() {
  std::string text;
  Open();
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (auto* p = static_cast<const char*>(GlobalLock(data))) {
      text.assign(p, strnlen(p, GlobalSize(data)));
      GlobalUnlock(data);
    }
  }
  Close();
  return text;
}

Integer TClipboard::GetTextBuf(char* Buffer, Integer BufSize) {
  if (!Buffer || BufSize <= 0) return 0;
  std::string text = AsText();
  size_t n = std::min(text.size(), static_cast<size_t>(BufSize - 1));
  std::memcpy(Buffer, text.data(), n);
  Buffer[n] = '\0';
  return static_cast<Integer>(n);
}

void TClipboard::SetTextBuf(const char* Buffer) {
  const char* text = Buffer ? Buffer : "";
  size_t size = std::strlen(text) + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(block), text, size);
  GlobalUnlock(block);
  SetAsHandle(CF_TEXT, block);
}

void TClipboard::SetAsHandle(UINT Format, HANDLE Value) {
  {
    // The block was handed over: it must not outlive a refusal.
    ScopeExit refused([&] { GlobalFree(Value); });
    Open();
    refused.Dismiss();
  }
  ScopeExit closed([this] { Close(); });
  if (!Emptied_) {
    EmptyClipboard();
    Emptied_ = true;
  }
  if (!SetClipboardData(Format, Value)) {
    GlobalFree(Value);
    throw Exception(SCannotOpenClipboard);
  }
}

HANDLE TClipboard::GetAsHandle(UINT Format) {
  Open();
  HANDLE data = GetClipboardData(Format);
  Close();
  return data;
}

TClipboard* Clipboard() {
  static TClipboard* clipboard = new TClipboard;  // lives as long as the program
  return clipboard;
}
