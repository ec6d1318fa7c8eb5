// The error codes of the Windows-shaped API (GetLastError, and what the
// file search of the class library returns), kept in one place so that a
// number means one thing everywhere.
#pragma once

#include <cstdint>

namespace win {

constexpr std::uint32_t ERROR_SUCCESS = 0;
constexpr std::uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr std::uint32_t ERROR_PATH_NOT_FOUND = 3;
constexpr std::uint32_t ERROR_ACCESS_DENIED = 5;
constexpr std::uint32_t ERROR_INVALID_HANDLE = 6;
constexpr std::uint32_t ERROR_NO_MORE_FILES = 18;
constexpr std::uint32_t ERROR_WRITE_FAULT = 29;
constexpr std::uint32_t ERROR_GEN_FAILURE = 31;
constexpr std::uint32_t ERROR_NOT_SUPPORTED = 50;
constexpr std::uint32_t ERROR_PRINT_CANCELLED = 63;
constexpr std::uint32_t ERROR_INVALID_PARAMETER = 87;
constexpr std::uint32_t ERROR_INSUFFICIENT_BUFFER = 122;
constexpr std::uint32_t ERROR_INVALID_LEVEL = 124;
constexpr std::uint32_t ERROR_OPERATION_ABORTED = 995;
constexpr std::uint32_t ERROR_IO_INCOMPLETE = 996;
constexpr std::uint32_t ERROR_IO_PENDING = 997;
constexpr std::uint32_t ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr std::uint32_t ERROR_INVALID_HOOK_HANDLE = 1404;
constexpr std::uint32_t ERROR_TLW_WITH_WSCHILD = 1406;
constexpr std::uint32_t ERROR_CANNOT_FIND_WND_CLASS = 1407;
constexpr std::uint32_t ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr std::uint32_t ERROR_CLASS_DOES_NOT_EXIST = 1411;
constexpr std::uint32_t ERROR_CLASS_HAS_WINDOWS = 1412;
constexpr std::uint32_t ERROR_INVALID_INDEX = 1413;
constexpr std::uint32_t ERROR_CLIPBOARD_NOT_OPEN = 1418;
constexpr std::uint32_t ERROR_INVALID_HOOK_FILTER = 1426;
constexpr std::uint32_t ERROR_INVALID_THREAD_ID = 1444;
constexpr std::uint32_t ERROR_TIMEOUT = 1460;
constexpr std::uint32_t ERROR_INVALID_PRINTER_NAME = 1801;
constexpr std::uint32_t ERROR_SPL_NO_STARTDOC = 3003;

// Application codes (bit 29 set), apart from every system code and from the
// codes of the serial component's own table.
// The user may not open serial devices (EACCES, EPERM).
constexpr std::uint32_t ERROR_SERIAL_PERMISSION = 0x20000005;
// The print system refused or failed; GetLastPrintErrorText says why.
constexpr std::uint32_t ERROR_PRINT_SYSTEM = 0x20000100;

}  // namespace win
