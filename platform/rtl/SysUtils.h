// The class library's exception tree, its 1-based byte-counting string
// routines, integer conversions, rounding helpers and the platform identity.
#pragma once

#include <cerrno>
#include <exception>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/rtl/Formatting.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/System.h"

// ---------------------------------------------------------------------------
// Message texts of the class library (used as they stand).

inline constexpr const char* SInvalidInteger = "'%s' is not a valid integer value";
inline constexpr const char* SOperationAborted = "Operation aborted";
inline constexpr const char* SOutOfMemory = "Out of memory";
inline constexpr const char* SDivByZero = "Division by zero";
inline constexpr const char* SRangeError = "Range check error";
inline constexpr const char* SIntOverflow = "Integer overflow";
inline constexpr const char* SInvalidOp = "Invalid floating point operation";
inline constexpr const char* SZeroDivide = "Floating point division by zero";
inline constexpr const char* SOverflow = "Floating point overflow";
inline constexpr const char* SUnderflow = "Floating point underflow";
inline constexpr const char* SInvalidPointer = "Invalid pointer operation";
inline constexpr const char* SInvalidCast = "Invalid class typecast";
inline constexpr const char* SAbstractError = "Abstract Error";
inline constexpr const char* SOutOfResources = "Out of system resources";
inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SWriteError = "Stream write error";
inline constexpr const char* SFOpenErrorEx = "Cannot open file \"%s\". %s";
inline constexpr const char* SFCreateErrorEx = "Cannot create file \"%s\". %s";
inline constexpr const char* SUnkOSError = "A call to an OS function failed";

// ---------------------------------------------------------------------------
// Exceptions. Message and HelpContext are plain fields, writable as in the
// class library (handlers amend the text and re-raise).

class Exception : public TObject, public std::exception {
  VXN_DECLARE_CLASS(Exception)

 public:
  explicit Exception(const char* message) : Message(message ? message : "") {}
  explicit Exception(std::string message) : Message(std::move(message)) {}
  explicit Exception(std::string_view message) : Message(message) {}
  // Formats the message with Format (CreateFmt).
  Exception(std::string_view format, TVarRecs args);
  // CreateFmtHelp.
  Exception(std::string_view format, TVarRecs args, Integer helpContext);
  // TObject is not copyable, but a thrown exception must be.
  Exception(const Exception& other)
      : TObject(), std::exception(other), Message(other.Message), HelpContext(other.HelpContext) {}
  Exception& operator=(const Exception& other) {
    Message = other.Message;
    HelpContext = other.HelpContext;
    return *this;
  }

  const char* what() const noexcept override { return Message.c_str(); }

  std::string Message;
  Integer HelpContext = 0;
};

// Declares an exception class with its parent's constructors; pair it with
// VXN_IMPLEMENT_CLASS(Name, Parent) in the module.
#define VXN_DECLARE_EXCEPTION(Name, Parent) \
  class Name : public Parent {              \
    VXN_DECLARE_CLASS(Name)                 \
                                            \
   public:                                  \
    using Parent::Parent;                   \
  };

// Silent exception: the application's handler does not report it.
VXN_DECLARE_EXCEPTION(EAbort, Exception)
VXN_DECLARE_EXCEPTION(EConvertError, Exception)
VXN_DECLARE_EXCEPTION(EHeapException, Exception)
VXN_DECLARE_EXCEPTION(EOutOfMemory, EHeapException)
VXN_DECLARE_EXCEPTION(EOutOfResources, EOutOfMemory)
VXN_DECLARE_EXCEPTION(EInvalidPointer, EHeapException)
VXN_DECLARE_EXCEPTION(EExternal, Exception)
VXN_DECLARE_EXCEPTION(EIntError, EExternal)
VXN_DECLARE_EXCEPTION(EDivByZero, EIntError)
VXN_DECLARE_EXCEPTION(ERangeError, EIntError)
VXN_DECLARE_EXCEPTION(EIntOverflow, EIntError)
VXN_DECLARE_EXCEPTION(EMathError, EExternal)
VXN_DECLARE_EXCEPTION(EInvalidOp, EMathError)
VXN_DECLARE_EXCEPTION(EZeroDivide, EMathError)
VXN_DECLARE_EXCEPTION(EOverflow, EMathError)
VXN_DECLARE_EXCEPTION(EUnderflow, EMathError)
VXN_DECLARE_EXCEPTION(EInvalidCast, Exception)
VXN_DECLARE_EXCEPTION(EAbstractError, Exception)
VXN_DECLARE_EXCEPTION(ENotImplemented, Exception)
VXN_DECLARE_EXCEPTION(EInvalidOperation, Exception)
VXN_DECLARE_EXCEPTION(EListError, Exception)
VXN_DECLARE_EXCEPTION(EStringListError, Exception)
VXN_DECLARE_EXCEPTION(EStreamError, Exception)
VXN_DECLARE_EXCEPTION(EFileStreamError, EStreamError)
VXN_DECLARE_EXCEPTION(EFOpenError, EFileStreamError)
VXN_DECLARE_EXCEPTION(EFCreateError, EFileStreamError)
VXN_DECLARE_EXCEPTION(EFilerError, EStreamError)
VXN_DECLARE_EXCEPTION(EReadError, EFilerError)
VXN_DECLARE_EXCEPTION(EWriteError, EFilerError)

// Input/output error with the run-time error code (2 "File not found", ...).
// The code comes first so that a braced Format argument list never binds to it.
class EInOutError : public Exception {
  VXN_DECLARE_CLASS(EInOutError)

 public:
  using Exception::Exception;
  EInOutError(Integer errorCode, std::string message)
      : Exception(std::move(message)), ErrorCode(errorCode) {}

  Integer ErrorCode = 0;
};

// A failed operating-system call: errno and the name of the call.
class EOSError : public Exception {
  VXN_DECLARE_CLASS(EOSError)

 public:
  using Exception::Exception;
  EOSError(Integer errorCode, std::string callName, std::string message)
      : Exception(std::move(message)), ErrorCode(errorCode), CallName(std::move(callName)) {}

  Integer ErrorCode = 0;
  std::string CallName;
};

// Raises EAbort, the silent exception.
[[noreturn]] void Abort();

// The system's text for an errno value.
std::string SysErrorMessage(int errorCode);

// Raises EOSError for a failed call: "<call> failed: <errno text> (errno N)".
// Every wrapper of an operating-system call reports failures through here.
[[noreturn]] void RaiseOSError(std::string_view callName, int errorCode);
inline void RaiseLastOSError(std::string_view callName) {
  RaiseOSError(callName, errno);
}

// Passes a POSIX-style result through, raising EOSError when it is -1.
template <typename T>
T CheckOSCall(T result, std::string_view callName) {
  if (result == static_cast<T>(-1)) RaiseLastOSError(callName);
  return result;
}

// ---------------------------------------------------------------------------
// Strings. Indexes are 1-based and count bytes; see Utf8.h for characters.

inline Integer Length(std::string_view s) {
  return static_cast<Integer>(s.size());
}
// Index below 1 counts as 1; a count beyond the end takes the rest.
std::string Copy(std::string_view s, Integer index, Integer count);
// 1-based position of the first occurrence, 0 when absent or substr is empty.
Integer Pos(std::string_view substr, std::string_view s);
Integer Pos(char c, std::string_view s);
// Nothing happens when index lies outside 1..Length(s).
void Delete(std::string& s, Integer index, Integer count);
// An index below 1 inserts at the front, one beyond the end appends.
void Insert(std::string_view source, std::string& s, Integer index);

// Remove characters up to and including the blank (control characters too).
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

// ASCII letters only; other bytes are left alone.
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
// Every letter per the process locale's case mapping (UTF-8 text).
std::string AnsiUpperCase(std::string_view s);
std::string AnsiLowerCase(std::string_view s);
// Collation of the process locale; < 0, 0 or > 0.
Integer AnsiCompareStr(std::string_view a, std::string_view b);
// Takes the user's locale (from the environment) for collation and character
// classes, which AnsiCompareStr/AnsiCompareText and sorted lists follow.
// Number formatting keeps the class library's own settings: LC_NUMERIC and
// the other categories are left alone. Runs at start-up.
void UseUserTextLocale();
Integer AnsiCompareText(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);
bool AnsiSameStr(std::string_view a, std::string_view b);

// Byte-wise, ASCII letters folded; the difference of the first unequal bytes
// (or of the lengths).
Integer CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
Integer CompareStr(std::string_view a, std::string_view b);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag>;

// rfIgnoreCase compares characters by the locale's case mapping.
std::string StringReplace(std::string_view s, std::string_view oldPattern,
                          std::string_view newPattern, TReplaceFlags flags);
std::string StringOfChar(char c, Integer count);

// Surrounds with the quote character, doubling the quotes inside.
std::string QuotedStr(std::string_view s);
std::string AnsiQuotedStr(std::string_view s, char quote);
// Undoes AnsiQuotedStr; text that does not start with the quote or lacks the
// closing quote comes back unchanged.
std::string AnsiDequotedStr(std::string_view s, char quote);

// A letter or '_' followed by letters, digits and '_' (ASCII).
bool IsValidIdent(std::string_view s);

// ---------------------------------------------------------------------------
// Integer conversions. Text may start with blanks and a sign and be decimal or
// hexadecimal after "$" or "0x"; hexadecimal takes the full unsigned range of
// the type and wraps (so "$FFFFFFFF" is -1 as an Integer).

std::string IntToStr(Int64 value);

// Upper-case hexadecimal with at least `digits` digits; negative values show
// the two's complement in the width of their type (32 or 64 bits).
std::string IntToHex(UInt64 value, Integer digits, int bits);
template <typename T>
requires std::is_integral_v<T> std::string IntToHex(T value, Integer digits) {
  if constexpr (sizeof(T) <= 4)
    return IntToHex(static_cast<UInt64>(static_cast<uint32_t>(value)), digits, 32);
  else
    return IntToHex(static_cast<UInt64>(value), digits, 64);
}

// Code is 0 on success, otherwise the 1-based position of the first bad
// character (Length + 1 when the text ends too early); value is then 0.
void Val(std::string_view s, Integer& value, Integer& code);
void Val(std::string_view s, Int64& value, Integer& code);
// Decimal number with '.' whatever the locale, optional exponent.
void Val(std::string_view s, Double& value, Integer& code);

Integer StrToInt(std::string_view s);  // EConvertError on bad text
Integer StrToIntDef(std::string_view s, Integer defaultValue);
bool TryStrToInt(std::string_view s, Integer& value);
Int64 StrToInt64(std::string_view s);  // EConvertError on bad text
bool TryStrToInt64(std::string_view s, Int64& value);

// ---------------------------------------------------------------------------
// Rounding. Round and Trunc raise EInvalidOp for values beyond Int64.

Int64 Round(Extended x);  // halves to the even neighbour
Int64 Trunc(Extended x);
Extended Frac(Extended x);
Extended Int(Extended x);

// a * b / c without intermediate overflow, rounded to the nearest with halves
// away from zero; -1 when c is 0 or the result does not fit an Integer.
Integer MulDiv(Integer a, Integer b, Integer c);

// ---------------------------------------------------------------------------
// Platform identity. The program runs as on the NT family, version 5.1, so
// every "XP or newer" branch is taken.

inline constexpr Integer Win32Platform = 2;  // VER_PLATFORM_WIN32_NT
inline constexpr Integer Win32MajorVersion = 5;
inline constexpr Integer Win32MinorVersion = 1;
inline constexpr Integer Win32BuildNumber = 2600;
inline constexpr const char* Win32CSDVersion = "";

// Description of the running system for logs, e.g. "Linux 6.1.0 x86_64".
std::string SystemDescription();
