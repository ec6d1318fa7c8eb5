// Serial devices with the Windows communications API, over termios.
//
// "COMn" and "\\.\COMn" name the n-th present serial device: /dev/ttyUSB*,
// then /dev/ttyACM*, then /dev/ttyS* that have a real UART, each family in
// numeric order; the environment variable VXN_COMn names the device of one
// number directly (VXN_COM1=/dev/pts/7). A path under /dev/ is taken as it
// stands.
//
// Opening changes no line setting, so a probe disturbs nothing; it is
// exclusive (flock and TIOCEXCL). SetCommState puts the port in raw mode with
// the DCB's settings. Each open device has a service thread, started by the
// first call that needs it, which moves received bytes into the device's
// receive queue (the driver queue of SetupComm) and completes overlapped
// operations by setting the OVERLAPPED record's event.
//
// Modem-line and error-counter requests that a pseudo-terminal refuses are
// not errors: DTR and RTS are accepted silently, the modem status reads as
// CTS, DSR and RLSD present.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/SyncObjs.h"
#include "platform/win/WinTypes.h"
#include "platform/win/WinUser.h"

namespace win {

using HANDLE = void*;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

// CreateFile ------------------------------------------------------------------

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD FILE_FLAG_OVERLAPPED = 0x40000000;

struct SECURITY_ATTRIBUTES;

// Opens a serial device; only OPEN_EXISTING and no sharing are supported.
// INVALID_HANDLE_VALUE on failure, with GetLastError: ERROR_FILE_NOT_FOUND
// for no such device, ERROR_ACCESS_DENIED when another program holds it,
// ERROR_SERIAL_PERMISSION when the user may not open it.
HANDLE CreateFile(const char* fileName, DWORD desiredAccess, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                  DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
// Ends pending operations (ERROR_OPERATION_ABORTED) and closes the device.
BOOL CloseHandle(HANDLE handle);

// Device control block ------------------------------------------------------

constexpr BYTE NOPARITY = 0;
constexpr BYTE ODDPARITY = 1;
constexpr BYTE EVENPARITY = 2;
constexpr BYTE MARKPARITY = 3;
constexpr BYTE SPACEPARITY = 4;
constexpr BYTE ONESTOPBIT = 0;
constexpr BYTE ONE5STOPBITS = 1;
constexpr BYTE TWOSTOPBITS = 2;
constexpr DWORD DTR_CONTROL_DISABLE = 0;
constexpr DWORD DTR_CONTROL_ENABLE = 1;
constexpr DWORD DTR_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_DISABLE = 0;
constexpr DWORD RTS_CONTROL_ENABLE = 1;
constexpr DWORD RTS_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_TOGGLE = 3;

struct DCB {
  DWORD DCBlength = sizeof(DCB);
  DWORD BaudRate = 0;
  DWORD fBinary : 1 = 1;
  DWORD fParity : 1 = 0;
  DWORD fOutxCtsFlow : 1 = 0;
  DWORD fOutxDsrFlow : 1 = 0;
  DWORD fDtrControl : 2 = 0;
  DWORD fDsrSensitivity : 1 = 0;
  DWORD fTXContinueOnXoff : 1 = 0;
  DWORD fOutX : 1 = 0;
  DWORD fInX : 1 = 0;
  DWORD fErrorChar : 1 = 0;
  DWORD fNull : 1 = 0;
  DWORD fRtsControl : 2 = 0;
  DWORD fAbortOnError : 1 = 0;
  DWORD fDummy2 : 17 = 0;
  WORD wReserved = 0;
  WORD XonLim = 0;
  WORD XoffLim = 0;
  BYTE ByteSize = 8;
  BYTE Parity = NOPARITY;
  BYTE StopBits = ONESTOPBIT;
  char XonChar = 17;
  char XoffChar = 19;
  char ErrorChar = 0;
  char EofChar = 0;
  char EvtChar = 0;
  WORD wReserved1 = 0;
};

// Byte size 5-8, parity none/odd/even/mark/space, stop bits 1/1.5/2 (1.5 is
// what the UART does for two stop bits at 5 data bits); any baud rate the
// device accepts. Puts the port in raw mode. ERROR_INVALID_PARAMETER for
// values outside these.
BOOL GetCommState(HANDLE handle, DCB* dcb);
BOOL SetCommState(HANDLE handle, const DCB* dcb);

struct COMMTIMEOUTS {
  DWORD ReadIntervalTimeout = 0;
  DWORD ReadTotalTimeoutMultiplier = 0;
  DWORD ReadTotalTimeoutConstant = 0;
  DWORD WriteTotalTimeoutMultiplier = 0;
  DWORD WriteTotalTimeoutConstant = 0;
};
constexpr DWORD MAXDWORD = 0xFFFFFFFF;

BOOL GetCommTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts);
BOOL SetCommTimeouts(HANDLE handle, const COMMTIMEOUTS* timeouts);
// The receive queue holds inQueue bytes (at least 64); the transmit size is
// kept only.
BOOL SetupComm(HANDLE handle, DWORD inQueue, DWORD outQueue);

// Events ---------------------------------------------------------------------

constexpr DWORD EV_RXCHAR = 0x0001;
constexpr DWORD EV_RXFLAG = 0x0002;
constexpr DWORD EV_TXEMPTY = 0x0004;
constexpr DWORD EV_CTS = 0x0008;
constexpr DWORD EV_DSR = 0x0010;
constexpr DWORD EV_RLSD = 0x0020;
constexpr DWORD EV_BREAK = 0x0040;
constexpr DWORD EV_ERR = 0x0080;
constexpr DWORD EV_RING = 0x0100;
constexpr DWORD EV_RINGTE = 0x2000;

// The record of an overlapped operation. Internal holds the result code
// (ERROR_IO_PENDING while running), InternalHigh the bytes moved. hEvent, when
// given, is reset when the operation starts and set when it completes.
struct OVERLAPPED {
  DWORD_PTR Internal = 0;
  DWORD_PTR InternalHigh = 0;
  DWORD Offset = 0;
  DWORD OffsetHigh = 0;
  TEvent* hEvent = nullptr;
};

// Changing the mask ends a pending WaitCommEvent with an event word of 0, and
// forgets the events seen so far.
BOOL SetCommMask(HANDLE handle, DWORD mask);
BOOL GetCommMask(HANDLE handle, DWORD* mask);
// Completes when an event of the mask occurs, or at once when one occurred
// since the last wait. EV_RXCHAR means bytes arrived since then, not that
// bytes are waiting. A hang-up or an unplugged device fails the wait with
// ERROR_GEN_FAILURE. Without an overlapped record the call blocks.
BOOL WaitCommEvent(HANDLE handle, DWORD* eventMask, OVERLAPPED* overlapped);

// Input and output -------------------------------------------------------------

// Reads from the receive queue under the COMMTIMEOUTS (read interval MAXDWORD
// with both totals 0 returns at once with what is there).
BOOL ReadFile(HANDLE handle, void* buffer, DWORD count, DWORD* bytesRead, OVERLAPPED* overlapped);
BOOL WriteFile(HANDLE handle, const void* buffer, DWORD count, DWORD* bytesWritten, OVERLAPPED* overlapped);
// ERROR_IO_INCOMPLETE when not done and wait is FALSE.
BOOL GetOverlappedResult(HANDLE handle, OVERLAPPED* overlapped, DWORD* bytesTransferred, BOOL wait);

// Status ------------------------------------------------------------------------

constexpr DWORD CE_RXOVER = 0x0001;
constexpr DWORD CE_OVERRUN = 0x0002;
constexpr DWORD CE_RXPARITY = 0x0004;
constexpr DWORD CE_FRAME = 0x0008;
constexpr DWORD CE_BREAK = 0x0010;

struct COMSTAT {
  DWORD fCtsHold : 1 = 0;
  DWORD fDsrHold : 1 = 0;
  DWORD fRlsdHold : 1 = 0;
  DWORD fXoffHold : 1 = 0;
  DWORD fXoffSent : 1 = 0;
  DWORD fEof : 1 = 0;
  DWORD fTxim : 1 = 0;
  DWORD fReserved : 25 = 0;
  DWORD cbInQue = 0;
  DWORD cbOutQue = 0;
};

// Gives and clears the line errors seen since the last call; cbInQue counts
// the received bytes not yet read, cbOutQue those not yet sent.
BOOL ClearCommError(HANDLE handle, DWORD* errors, COMSTAT* stat);

constexpr DWORD PURGE_TXABORT = 0x0001;
constexpr DWORD PURGE_RXABORT = 0x0002;
constexpr DWORD PURGE_TXCLEAR = 0x0004;
constexpr DWORD PURGE_RXCLEAR = 0x0008;
BOOL PurgeComm(HANDLE handle, DWORD flags);

constexpr DWORD SETXOFF = 1;
constexpr DWORD SETXON = 2;
constexpr DWORD SETRTS = 3;
constexpr DWORD CLRRTS = 4;
constexpr DWORD SETDTR = 5;
constexpr DWORD CLRDTR = 6;
constexpr DWORD SETBREAK = 8;
constexpr DWORD CLRBREAK = 9;
BOOL EscapeCommFunction(HANDLE handle, DWORD function);

constexpr DWORD MS_CTS_ON = 0x0010;
constexpr DWORD MS_DSR_ON = 0x0020;
constexpr DWORD MS_RING_ON = 0x0040;
constexpr DWORD MS_RLSD_ON = 0x0080;
BOOL GetCommModemStatus(HANDLE handle, DWORD* modemStatus);

// Messages and waiting ------------------------------------------------------------

constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;
// The system's text of an error number (ending in "\r\n", as Windows writes
// them) into buffer; the length written, 0 for an unknown number.
DWORD FormatMessage(DWORD flags, const void* source, DWORD messageId, DWORD languageId, char* buffer, DWORD size,
                    void* arguments);

// An event handle is a TEvent; an automatic one is reset by the wait that it
// releases.
DWORD WaitForSingleObject(TEvent* handle, DWORD milliseconds);
// With waitAll the events are awaited one after another within the time-out.
DWORD WaitForMultipleObjects(DWORD count, TEvent* const* handles, BOOL waitAll, DWORD milliseconds);

constexpr int THREAD_PRIORITY_LOWEST = -2;
constexpr int THREAD_PRIORITY_BELOW_NORMAL = -1;
constexpr int THREAD_PRIORITY_NORMAL = 0;
constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 1;
constexpr int THREAD_PRIORITY_HIGHEST = 2;
constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;
// Accepted without effect: the worker threads need no priority to keep up.
BOOL SetThreadPriority(HANDLE thread, int priority);
// Pauses on the program's clock.
void Sleep(DWORD milliseconds);

// Helpers of this layer ------------------------------------------------------------

// The errno table of the serial layer: ENOENT, ENODEV, ENXIO, ENOTTY ->
// ERROR_FILE_NOT_FOUND; EBUSY, EWOULDBLOCK -> ERROR_ACCESS_DENIED (held by
// another program); EIO -> ERROR_GEN_FAILURE; EINVAL -> ERROR_INVALID_PARAMETER;
// ECANCELED -> ERROR_OPERATION_ABORTED; EINPROGRESS -> ERROR_IO_PENDING;
// EACCES, EPERM -> ERROR_SERIAL_PERMISSION; anything else ERROR_GEN_FAILURE.
DWORD ErrorFromErrno(int error);

// The system call behind this thread's last failure of this layer when it
// was reported as error ("tcsetattr failed: Input/output error (errno 5)"),
// empty when that failure came from no system call.
std::string LastSerialFailureReason(DWORD error);

// Whether a failed CreateFile still shows that the device exists: another
// program holds it, or the user may not open it. Port probes list both.
bool DeviceExistsDespite(DWORD error);

// The device path a serial name stands for ("COM3", "\\.\COM3", "/dev/ttyS0"),
// empty when there is none.
std::string SerialDevicePath(const std::string& name);
// The present serial devices in COM order (COM1 first).
std::vector<std::string> PresentSerialDevices();

// Test seams: the folders scanned for devices and for their UART types
// (empty strings restore /dev and /sys/class/tty), and the open call
// (nullptr restores open(2)).
void SetSerialDeviceFolders(const std::string& devFolder, const std::string& sysTtyFolder);
using SerialOpenFunction = std::function<int(const char* path, int flags)>;
void SetSerialOpenFunction(SerialOpenFunction open);

}  // namespace win
