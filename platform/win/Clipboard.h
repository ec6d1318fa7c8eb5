// Movable global memory and the clipboard. The clipboard lives in the
// process; a display backend may attach the desktop's clipboard through
// ClipboardBackend. CF_TEXT holds UTF-8 (the program's 8-bit text) and
// CF_UNICODETEXT UTF-16, each zero-terminated; putting either makes both
// available, the other converted when asked for, as Windows synthesises it.
#pragma once

#include <memory>
#include <string>

#include "platform/win/WinUser.h"

namespace win {

using HANDLE = void*;
using HGLOBAL = HANDLE;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// Blocks are always zeroed and always movable: the handle is not the memory,
// GlobalLock gives the memory.
HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
void* GlobalLock(HGLOBAL mem);
// FALSE once the lock count reaches zero (GetLastError NO_ERROR).
BOOL GlobalUnlock(HGLOBAL mem);
size_t GlobalSize(HGLOBAL mem);
// Null on success, the handle back on failure.
HGLOBAL GlobalFree(HGLOBAL mem);

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_METAFILEPICT = 3;
constexpr UINT CF_OEMTEXT = 7;
constexpr UINT CF_DIB = 8;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT CF_LOCALE = 16;

constexpr UINT WM_CUT = 0x0300;
constexpr UINT WM_COPY = 0x0301;
constexpr UINT WM_PASTE = 0x0302;
constexpr UINT WM_CLEAR = 0x0303;
constexpr UINT WM_DESTROYCLIPBOARD = 0x0307;

// One opener at a time: fails while another window (or thread) holds it.
BOOL OpenClipboard(HWND newOwner);
BOOL CloseClipboard();
// Frees everything on the clipboard; the opener becomes the owner (the old
// owner gets WM_DESTROYCLIPBOARD).
BOOL EmptyClipboard();
// The clipboard takes the block (the caller must not free it). Text formats
// are checked for a terminating zero within the block. Null data (delayed
// rendering) is not supported and fails.
HANDLE SetClipboardData(UINT format, HANDLE data);
// The block stays the clipboard's; valid until the clipboard is emptied.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
int CountClipboardFormats();
UINT EnumClipboardFormats(UINT format);
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();
UINT RegisterClipboardFormat(const char* name);

// The desktop's clipboard, for text. Published after a CloseClipboard that
// changed the text; Fetch answers true with the text when the desktop's text
// changed since it was last published or fetched.
class ClipboardBackend {
 public:
  virtual ~ClipboardBackend() = default;
  virtual void Publish(const std::string& utf8Text) = 0;
  virtual bool Fetch(std::string* utf8Text) = 0;
};
// Takes ownership; null detaches.
void InstallClipboardBackend(std::unique_ptr<ClipboardBackend> backend);

// Text helpers over the calls above (open, read or write, close); false when
// the clipboard is held by someone else or holds no text.
bool GetClipboardText(HWND owner, std::string* utf8Text);
bool SetClipboardText(HWND owner, const std::string& utf8Text);

// Empties the clipboard and lets any opener go (tests).
void ResetClipboard();

}  // namespace win
