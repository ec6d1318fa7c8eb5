#include "platform/win/Clipboard.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <vector>

#include "platform/win/Messages.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Windows.h"

namespace win {

namespace {

constexpr DWORD kErrorInvalidHandle = 6;  // ERROR_INVALID_HANDLE

struct Block {
  std::vector<uint8_t> bytes;
  int locks = 0;
};

std::mutex memoryLock;
// The blocks, owned here and found by their handle (their address).
std::map<Block*, std::unique_ptr<Block>>& LiveBlocks() {
  static std::map<Block*, std::unique_ptr<Block>> blocks;
  return blocks;
}

Block* FindBlock(HGLOBAL mem) {
  auto* b = static_cast<Block*>(mem);
  return LiveBlocks().count(b) ? b : nullptr;
}

HGLOBAL NewBlock(const void* data, size_t bytes) {
  HGLOBAL h = GlobalAlloc(GHND, bytes);
  if (h && bytes) {
    std::memcpy(GlobalLock(h), data, bytes);
    GlobalUnlock(h);
  }
  return h;
}

std::vector<uint8_t> BlockBytes(HGLOBAL mem) {
  std::lock_guard<std::mutex> g(memoryLock);
  Block* b = FindBlock(mem);
  return b ? b->bytes : std::vector<uint8_t>{};
}

// UTF-8 <-> UTF-16. Malformed bytes become U+FFFD rather than being dropped
// silently or read past.
std::u16string Utf8To16(const std::string& s) {
  std::u16string out;
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    uint32_t cp = 0xFFFD;
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 1) {
      cp = c;
    } else if (n && i + n <= s.size()) {
      cp = c & (0x7F >> n);
      bool ok = true;
      for (size_t k = 1; k < n; ++k) {
        unsigned char d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) ok = false;
        cp = (cp << 6) | (d & 0x3F);
      }
      if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD, n = 1;
    } else {
      n = 1;
    }
    i += n;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string Utf16To8(const std::u16string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    }
    out += Utf8Encode(cp);  // a lone surrogate becomes U+FFFD
  }
  return out;
}

bool IsText(UINT format) { return format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT; }

// The text of a block of a text format, up to its terminating zero; false
// when the block has none (it would be read past its end).
bool TextOfBlock(UINT format, HGLOBAL mem, std::string* utf8) {
  std::vector<uint8_t> bytes = BlockBytes(mem);
  if (format == CF_UNICODETEXT) {
    size_t units = bytes.size() / 2;
    std::u16string s(units, u'\0');
    if (units) std::memcpy(s.data(), bytes.data(), units * 2);
    size_t end = s.find(u'\0');
    if (end == std::u16string::npos) return false;
    s.resize(end);
    *utf8 = Utf16To8(s);
    return true;
  }
  auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
  if (end == bytes.end()) return false;
  utf8->assign(bytes.begin(), end);
  return true;
}

HGLOBAL BlockOfText(UINT format, const std::string& utf8) {
  if (format == CF_UNICODETEXT) {
    std::u16string s = Utf8To16(utf8);
    s.push_back(u'\0');
    return NewBlock(s.data(), s.size() * 2);
  }
  return NewBlock(utf8.c_str(), utf8.size() + 1);
}

struct Board {
  bool open = false;
  HWND opener = nullptr;
  DWORD openerThread = 0;
  HWND owner = nullptr;
  std::map<UINT, HGLOBAL> data;  // formats in the order Windows enumerates them: by number
  bool textChanged = false;
  std::unique_ptr<ClipboardBackend> backend;
  std::vector<std::string> registered;
};

std::recursive_mutex boardLock;
Board& TheBoard() {
  static Board b;
  return b;
}

void FreeAll(Board& b) {
  for (auto& [format, h] : b.data) GlobalFree(h);
  b.data.clear();
}

// Takes the desktop's text when it changed there.
void SyncFromBackend(Board& b) {
  std::string text;
  if (!b.backend || b.open || !b.backend->Fetch(&text)) return;
  FreeAll(b);
  b.owner = nullptr;
  b.data[CF_TEXT] = BlockOfText(CF_TEXT, text);
}

bool HeldByCaller(const Board& b) { return b.open && b.openerThread == GetCurrentThreadId(); }

// The text formats present, with the one the others are made from.
HGLOBAL SourceText(Board& b, UINT* sourceFormat) {
  for (UINT f : {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT}) {
    auto it = b.data.find(f);
    if (it != b.data.end()) {
      *sourceFormat = f;
      return it->second;
    }
  }
  return nullptr;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT, size_t bytes) {
  auto block = std::make_unique<Block>();
  block->bytes.assign(bytes, 0);
  Block* b = block.get();
  std::lock_guard<std::mutex> g(memoryLock);
  LiveBlocks().emplace(b, std::move(block));
  return b;
}

void* GlobalLock(HGLOBAL mem) {
  std::lock_guard<std::mutex> g(memoryLock);
  Block* b = FindBlock(mem);
  if (!b) {
    SetLastError(kErrorInvalidHandle);
    return nullptr;
  }
  ++b->locks;
  // A zero-byte block still gives a usable (empty) address.
  return b->bytes.empty() ? static_cast<void*>(b) : b->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL mem) {
  std::lock_guard<std::mutex> g(memoryLock);
  Block* b = FindBlock(mem);
  if (!b) {
    SetLastError(kErrorInvalidHandle);
    return FALSE;
  }
  if (b->locks > 0) --b->locks;
  SetLastError(ERROR_SUCCESS);
  return b->locks > 0 ? TRUE : FALSE;
}

size_t GlobalSize(HGLOBAL mem) {
  std::lock_guard<std::mutex> g(memoryLock);
  Block* b = FindBlock(mem);
  return b ? b->bytes.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL mem) {
  std::lock_guard<std::mutex> g(memoryLock);
  Block* b = FindBlock(mem);
  if (!b) {
    SetLastError(kErrorInvalidHandle);
    return mem;
  }
  LiveBlocks().erase(b);
  return nullptr;
}

BOOL OpenClipboard(HWND newOwner) {
  std::lock_guard<std::recursive_mutex> g(boardLock);
  Board& b = TheBoard();
  if (b.open && !(b.openerThread == GetCurrentThreadId() && b.opener == newOwner)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  SyncFromBackend(b);
  b.open = true;
  b.opener = newOwner;
  b.openerThread = GetCurrentThreadId();
  return TRUE;
}

BOOL CloseClipboard() {
  std::string published;
  ClipboardBackend* backend = nullptr;
  {
    std::lock_guard<std::recursive_mutex> g(boardLock);
    Board& b = TheBoard();
    if (!HeldByCaller(b)) {
      SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
      return FALSE;
    }
    b.open = false;
    b.opener = nullptr;
    b.openerThread = 0;
    UINT source = 0;
    if (b.textChanged && b.backend) {
      HGLOBAL h = SourceText(b, &source);
      if (h && TextOfBlock(source, h, &published)) backend = b.backend.get();
    }
    b.textChanged = false;
    if (backend) backend->Publish(published);
  }
  return TRUE;
}

BOOL EmptyClipboard() {
  HWND previous = nullptr;
  {
    std::lock_guard<std::recursive_mutex> g(boardLock);
    Board& b = TheBoard();
    if (!HeldByCaller(b)) {
      SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
      return FALSE;
    }
    previous = b.owner;
    FreeAll(b);
    b.owner = b.opener;
    b.textChanged = true;
  }
  if (previous && IsWindow(previous)) SendMessage(previous, WM_DESTROYCLIPBOARD, 0, 0);
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  std::lock_guard<std::recursive_mutex> g(boardLock);
  Board& b = TheBoard();
  if (!HeldByCaller(b)) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  std::string probe;
  if (!data || format == 0 || (IsText(format) && !TextOfBlock(format, data, &probe))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  {
    std::lock_guard<std::mutex> m(memoryLock);
    if (!FindBlock(data)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
  }
  if (IsText(format)) {
    // The other text formats were made from the old text: they go.
    for (UINT f : {CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT}) {
      auto it = b.data.find(f);
      if (it != b.data.end() && it->second != data) {
        GlobalFree(it->second);
        b.data.erase(it);
      }
    }
    b.textChanged = true;
  } else {
    auto it = b.data.find(format);
    if (it != b.data.end() && it->second != data) GlobalFree(it->second);
  }
  b.data[format] = data;
  return data;
}

HANDLE GetClipboardData(UINT format) {
  std::lock_guard<std::recursive_mutex> g(boardLock);
  Board& b = TheBoard();
  if (!HeldByCaller(b)) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  auto it = b.data.find(format);
  if (it != b.data.end()) return it->second;
  if (!IsText(format)) return nullptr;
  UINT source = 0;
  HGLOBAL h = SourceText(b, &source);
  std::string text;
  if (!h || !TextOfBlock(source, h, &text)) return nullptr;
  HGLOBAL made = BlockOfText(format, text);
  b.data[format] = made;
  return made;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  std::lock_guard<std::recursive_mutex> g(boardLock);
  Board& b = TheBoard();
  SyncFromBackend(b);
  if (b.data.count(format)) return TRUE;
  UINT source = 0;
  return IsText(format) && SourceText(b, &source) ? TRUE : FALSE;
}

int CountClipboardFormats() {
  std::lock_guard<std::recursive_mutex> g(boardLock);
  Board& b = TheBoard();
  UINT source = 0;
  int n = static_cast<int>(b.data.size());
  if (SourceText(b, &source))
    for (UINT f : {CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT}) n += b.data.count(f) ? 0 : 1;
  return n;
}

UINT EnumClipboardFormats(UINT format) {
  std::lock_guard<std::recursive_mutex> g(boardLock);
  Board& b = TheBoard();
  if (!HeldByCaller(b)) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return 0;
  }
  std::set<UINT> all;
  for (auto& [f, h] : b.data) all.insert(f);
  UINT source = 0;
  if (SourceText(b, &source)) all.insert({CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT});
  auto it = all.upper_bound(format);
  SetLastError(ERROR_SUCCESS);
  return it == all.end() ? 0 : *it;
}

HWND GetClipboardOwner() {
  std::lock_guard<std::recursive_mutex> g(boardLock);
  return TheBoard().owner;
}

HWND GetOpenClipboardWindow() {
  std::lock_guard<std::recursive_mutex> g(boardLock);
  return TheBoard().open ? TheBoard().opener : nullptr;
}

UINT RegisterClipboardFormat(const char* name) { return name && *name ? RegisterWindowMessage(name) : 0; }

void InstallClipboardBackend(std::unique_ptr<ClipboardBackend> backend) {
  std::lock_guard<std::recursive_mutex> g(boardLock);
  TheBoard().backend = std::move(backend);
}

bool GetClipboardText(HWND owner, std::string* utf8Text) {
  if (!utf8Text || !OpenClipboard(owner)) return false;
  bool ok = false;
  if (HGLOBAL h = GetClipboardData(CF_TEXT)) ok = TextOfBlock(CF_TEXT, h, utf8Text);
  CloseClipboard();
  return ok;
}

bool SetClipboardText(HWND owner, const std::string& utf8Text) {
  if (!OpenClipboard(owner)) return false;
  bool ok = false;
  if (EmptyClipboard()) {
    HGLOBAL h = BlockOfText(CF_TEXT, utf8Text);
    ok = SetClipboardData(CF_TEXT, h) != nullptr;
    if (!ok) GlobalFree(h);
  }
  CloseClipboard();
  return ok;
}

void ResetClipboard() {
  std::lock_guard<std::recursive_mutex> g(boardLock);
  Board& b = TheBoard();
  FreeAll(b);
  b.open = false;
  b.opener = nullptr;
  b.openerThread = 0;
  b.owner = nullptr;
  b.textChanged = false;
}

}  // namespace win
