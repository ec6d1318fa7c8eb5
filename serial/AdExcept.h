// Error codes of the serial component: their message texts and the exception
// class that each failure code raises, from one list (AdExceptCodes.inc).
//
// Codes are 0 for success and negative for errors; the positive codes hold
// texts of the dispatch log. A negated system error code (as the device layer
// reports it) is a code too.
#pragma once

#include <string>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/System.h"

class TComponent;

// The serial component's exception: a message and an error code (the code
// passed in, sign included; 0 for an exception built from a text).
class EAPDException : public Exception {
  VXN_DECLARE_CLASS(EAPDException)

 public:
  // The message is ErrorMessageText of the code's absolute value.
  explicit EAPDException(Integer ErrCode);
  explicit EAPDException(const std::string& Msg) : Exception(Msg) {}
  explicit EAPDException(const char* Msg) : Exception(Msg) {}

  Integer ErrorCode = 0;
};

// Group classes and their leaves.
#define SERIAL_CLASS(Class, Parent) VXN_DECLARE_EXCEPTION(Class, Parent)
#define SERIAL_ERROR(Code, Class, Parent, Text) VXN_DECLARE_EXCEPTION(Class, Parent)
#include "serial/AdExceptCodes.inc"

// The text of a code (its sign does not matter), at most 255 characters: the
// table's text, else the system's message for the code with control
// characters turned into blanks and runs of blanks shortened to one, else
// empty.
std::string ErrorMessageText(Integer Code);

// Returns a code of 0 or above, and any code while the component is being
// loaded, unchanged; raises for every other code: EInOutError for -2 to -162
// (EOutOfMemory for -8), the listed class for a listed code, EAPDException
// "Port exception" with code 0 for the rest. Negated system codes of the
// device layer that the table does not hold (an aborted or pending operation,
// a device the user may not open, ...) keep their code and the system's text,
// where the original made them a bare "Port exception". DeviceName, given by
// a failed open, starts the text ("Cannot open COM3 (/dev/ttyUSB0): ..."),
// and the system's reason for the failed open follows.
Integer RaiseForErrorCode(TComponent* Component, Integer Code, const std::string& DeviceName = "");

// Codes the component raises most.
inline constexpr Integer ecOK = 0;
inline constexpr Integer ecOutOfMemory = -8;
inline constexpr Integer ecBadHandle = -1001;
inline constexpr Integer ecBadArgument = -1002;
inline constexpr Integer ecBadId = -2001;
inline constexpr Integer ecCommNotOpen = -2007;
inline constexpr Integer ecAlreadyOpen = -2008;
inline constexpr Integer ecNoPortSelected = -2011;
inline constexpr Integer ecNotOpenedByTapi = -2012;
inline constexpr Integer ecNullApi = -3001;
inline constexpr Integer ecPutBlockFail = -3004;
inline constexpr Integer ecOutputBufferTooSmall = -3006;
inline constexpr Integer ecBufferIsEmpty = -3007;
inline constexpr Integer ecBaseAddressNotSet = -3010;
