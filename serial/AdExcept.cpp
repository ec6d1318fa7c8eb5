#include "serial/AdExcept.h"

#include <algorithm>
#include <array>

#include "platform/rtl/Components.h"
#include "platform/win/WinSerial.h"
#include "platform/win/Windows.h"

VXN_IMPLEMENT_CLASS(EAPDException, Exception)
#define SERIAL_CLASS(Class, Parent) VXN_IMPLEMENT_CLASS(Class, Parent)
#define SERIAL_ERROR(Code, Class, Parent, Text) VXN_IMPLEMENT_CLASS(Class, Parent)
#include "serial/AdExceptCodes.inc"

namespace {

template <typename E>
[[noreturn]] void Raise(Integer code) {
  throw E(code);
}

struct CodeEntry {
  Integer Code;
  const char* Text;        // nullptr: no text of its own
  void (*Raise)(Integer);  // nullptr: the code raises no class of the list
};

constexpr Integer Abs(Integer Code) { return Code < 0 ? -Code : Code; }

// Every row of the list, ascending by the absolute value of the code.
constexpr auto kCodes = [] {
  std::array entries{
#define SERIAL_ERROR(Code, Class, Parent, Text) CodeEntry{Code, Text, &Raise<Class>},
#define SERIAL_CODE(Code, Class, Text) CodeEntry{Code, Text, &Raise<Class>},
#define SERIAL_TEXT(Code, Text) CodeEntry{Code, Text, nullptr},
#include "serial/AdExceptCodes.inc"
  };
  std::sort(entries.begin(), entries.end(),
            [](const CodeEntry& a, const CodeEntry& b) { return Abs(a.Code) < Abs(b.Code); });
  return entries;
}();

constexpr bool CodesAreUnique() {
  for (size_t i = 1; i < kCodes.size(); ++i)
    if (Abs(kCodes[i - 1].Code) == Abs(kCodes[i].Code)) return false;
  return true;
}
static_assert(CodesAreUnique(), "two rows of AdExceptCodes.inc share a code");

const CodeEntry* FindCode(Integer absCode) {
  auto it = std::lower_bound(kCodes.begin(), kCodes.end(), absCode,
                             [](const CodeEntry& e, Integer code) { return Abs(e.Code) < code; });
  return it != kCodes.end() && Abs(it->Code) == absCode ? &*it : nullptr;
}

constexpr Integer kMaxMessageLength = 255;

std::string TableText(Integer absCode) {
  const CodeEntry* entry = FindCode(absCode);
  return entry && entry->Text ? entry->Text : "";
}

std::string SystemText(Integer absCode) {
  char buffer[1024];  // the whole text; ErrorMessageText cuts it to length
  win::DWORD n = win::FormatMessage(win::FORMAT_MESSAGE_FROM_SYSTEM | win::FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                    static_cast<win::DWORD>(absCode), 0, buffer, sizeof buffer, nullptr);
  if (n == 0) return "";
  std::string text(buffer, n);
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 32) c = ' ';
  std::string collapsed;
  for (char c : text)
    if (!(c == ' ' && !collapsed.empty() && collapsed.back() == ' ')) collapsed += c;
  return collapsed;
}

// System codes that the device layer's errno table produces.
bool IsDeviceLayerCode(Integer absCode) {
  switch (static_cast<win::DWORD>(absCode)) {
    case win::ERROR_FILE_NOT_FOUND:
    case win::ERROR_ACCESS_DENIED:
    case win::ERROR_GEN_FAILURE:
    case win::ERROR_INVALID_PARAMETER:
    case win::ERROR_OPERATION_ABORTED:
    case win::ERROR_IO_PENDING:
    case win::ERROR_SERIAL_PERMISSION:
      return true;
    default:
      return false;
  }
}

}  // namespace

EAPDException::EAPDException(Integer ErrCode) : Exception(ErrorMessageText(ErrCode)), ErrorCode(ErrCode) {}

std::string ErrorMessageText(Integer Code) {
  Integer absCode = Abs(Code);
  std::string text = TableText(absCode);
  if (text.empty()) text = SystemText(absCode);
  if (static_cast<Integer>(text.size()) > kMaxMessageLength) text.resize(kMaxMessageLength);
  return text;
}

namespace {

[[noreturn]] void RaiseCode(Integer Code) {
  Integer absCode = -Code;
  // Which call failed and the system's own reason, when a system call gave
  // the code: without them a driver's unlisted error reads as a bare
  // general failure.
  std::string reason = IsDeviceLayerCode(absCode) ? win::LastSerialFailureReason(static_cast<win::DWORD>(absCode)) : "";
  if (!reason.empty()) reason = "\r\n" + reason;
  if (absCode >= 2 && absCode <= 162) {
    if (Code == ecOutOfMemory) throw EOutOfMemory(ErrorMessageText(absCode));
    throw EInOutError(absCode, ErrorMessageText(absCode) + reason);
  }
  if (const CodeEntry* entry = FindCode(absCode); entry && entry->Code == Code && entry->Raise) entry->Raise(Code);
  if (IsDeviceLayerCode(absCode)) {
    EAPDException e(Code);
    e.Message += reason;
    throw e;
  }
  throw EAPDException("Port exception");
}

}  // namespace

Integer RaiseForErrorCode(TComponent* Component, Integer Code, const std::string& DeviceName) {
  if (Code >= 0) return Code;
  if (Component && Component->ComponentState().Contains(csLoading)) return Code;
  if (DeviceName.empty()) RaiseCode(Code);
  // A failed open: the device layer's code was mapped to the component's
  // (missing, already open), so the reason is looked up by the system's.
  std::string reason = win::LastSerialFailureReason(win::GetLastError());
  try {
    RaiseCode(Code);
  } catch (Exception& e) {
    e.Message = "Cannot open " + DeviceName + ": " + e.Message;
    if (!reason.empty() && e.Message.find(reason) == std::string::npos) e.Message += "\r\n" + reason;
    throw;
  }
}
