// Error codes of the serial component: one table of codes and message texts,
// and the exception class that each failure code raises.
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
VXN_DECLARE_EXCEPTION(EGeneral, EAPDException)
VXN_DECLARE_EXCEPTION(EOpenComm, EAPDException)
VXN_DECLARE_EXCEPTION(ESerialIO, EAPDException)
VXN_DECLARE_EXCEPTION(EModem, EAPDException)
VXN_DECLARE_EXCEPTION(ETrigger, EAPDException)
VXN_DECLARE_EXCEPTION(EProtocol, EAPDException)
VXN_DECLARE_EXCEPTION(EINI, EAPDException)
VXN_DECLARE_EXCEPTION(EFax, EAPDException)
VXN_DECLARE_EXCEPTION(ETapi, EAPDException)
VXN_DECLARE_EXCEPTION(ERas, EAPDException)
VXN_DECLARE_EXCEPTION(EBadArgument, EGeneral)
VXN_DECLARE_EXCEPTION(EGotQuitMsg, EGeneral)
VXN_DECLARE_EXCEPTION(EBufferTooBig, EGeneral)
VXN_DECLARE_EXCEPTION(EPortNotAssigned, EGeneral)
VXN_DECLARE_EXCEPTION(EInternal, EGeneral)
VXN_DECLARE_EXCEPTION(EModemNotAssigned, EGeneral)
VXN_DECLARE_EXCEPTION(EPhonebookNotAssigned, EGeneral)
VXN_DECLARE_EXCEPTION(ECannotUseWithWinSock, EGeneral)
VXN_DECLARE_EXCEPTION(EBadId, EOpenComm)
VXN_DECLARE_EXCEPTION(EBaudRate, EOpenComm)
VXN_DECLARE_EXCEPTION(EByteSize, EOpenComm)
VXN_DECLARE_EXCEPTION(EDefault, EOpenComm)
VXN_DECLARE_EXCEPTION(EHardware, EOpenComm)
VXN_DECLARE_EXCEPTION(EMemory, EOpenComm)
VXN_DECLARE_EXCEPTION(ECommNotOpen, EOpenComm)
VXN_DECLARE_EXCEPTION(EAlreadyOpen, EOpenComm)
VXN_DECLARE_EXCEPTION(ENoHandles, EOpenComm)
VXN_DECLARE_EXCEPTION(ENoTimers, EOpenComm)
VXN_DECLARE_EXCEPTION(ENoPortSelected, EOpenComm)
VXN_DECLARE_EXCEPTION(ENotOpenedByTapi, EOpenComm)
VXN_DECLARE_EXCEPTION(ENullApi, ESerialIO)
VXN_DECLARE_EXCEPTION(ERegisterHandlerFailed, ESerialIO)
VXN_DECLARE_EXCEPTION(EPutBlockFail, ESerialIO)
VXN_DECLARE_EXCEPTION(EGetBlockFail, ESerialIO)
VXN_DECLARE_EXCEPTION(EOutputBufferTooSmall, ESerialIO)
VXN_DECLARE_EXCEPTION(EBufferIsEmpty, ESerialIO)
VXN_DECLARE_EXCEPTION(ETracingNotEnabled, ESerialIO)
VXN_DECLARE_EXCEPTION(ELoggingNotEnabled, ESerialIO)
VXN_DECLARE_EXCEPTION(EBaseAddressNotSet, ESerialIO)
VXN_DECLARE_EXCEPTION(EModemNotStarted, EModem)
VXN_DECLARE_EXCEPTION(EModemBusy, EModem)
VXN_DECLARE_EXCEPTION(EModemNotDialing, EModem)
VXN_DECLARE_EXCEPTION(EModemNotResponding, EModem)
VXN_DECLARE_EXCEPTION(EModemRejectedCommand, EModem)
VXN_DECLARE_EXCEPTION(EModemStatusMismatch, EModem)
VXN_DECLARE_EXCEPTION(EAlreadyDialing, EModem)
VXN_DECLARE_EXCEPTION(ENotDialing, EModem)
VXN_DECLARE_EXCEPTION(ENoMoreTriggers, ETrigger)
VXN_DECLARE_EXCEPTION(ETriggerTooLong, ETrigger)
VXN_DECLARE_EXCEPTION(EBadTriggerHandle, ETrigger)
VXN_DECLARE_EXCEPTION(EKeyTooLong, EINI)
VXN_DECLARE_EXCEPTION(EDataTooLarge, EINI)
VXN_DECLARE_EXCEPTION(EIniWrite, EINI)
VXN_DECLARE_EXCEPTION(EIniRead, EINI)
VXN_DECLARE_EXCEPTION(ERecordExists, EINI)
VXN_DECLARE_EXCEPTION(ERecordNotFound, EINI)
VXN_DECLARE_EXCEPTION(EDatabaseFull, EINI)
VXN_DECLARE_EXCEPTION(EDatabaseEmpty, EINI)
VXN_DECLARE_EXCEPTION(EBadFieldList, EINI)
VXN_DECLARE_EXCEPTION(EBadFieldForIndex, EINI)
VXN_DECLARE_EXCEPTION(EFaxBadFormat, EFax)
VXN_DECLARE_EXCEPTION(EBadGraphicsFormat, EFax)
VXN_DECLARE_EXCEPTION(EConvertAbort, EFax)
VXN_DECLARE_EXCEPTION(EUnpackAbort, EFax)
VXN_DECLARE_EXCEPTION(ECantMakeBitmap, EFax)
VXN_DECLARE_EXCEPTION(EInvalidPageNumber, EFax)
VXN_DECLARE_EXCEPTION(EFaxBadMachine, EFax)
VXN_DECLARE_EXCEPTION(EFaxBadModemResult, EFax)
VXN_DECLARE_EXCEPTION(EFaxTrainError, EFax)
VXN_DECLARE_EXCEPTION(EFaxInitError, EFax)
VXN_DECLARE_EXCEPTION(EFaxBusy, EFax)
VXN_DECLARE_EXCEPTION(EFaxVoiceCall, EFax)
VXN_DECLARE_EXCEPTION(EFaxDataCall, EFax)
VXN_DECLARE_EXCEPTION(EFaxNoDialTone, EFax)
VXN_DECLARE_EXCEPTION(EFaxNoCarrier, EFax)
VXN_DECLARE_EXCEPTION(EFaxSessionError, EFax)
VXN_DECLARE_EXCEPTION(EFaxPageError, EFax)
VXN_DECLARE_EXCEPTION(ETapiAllocated, ETapi)
VXN_DECLARE_EXCEPTION(ETapiBadDeviceID, ETapi)
VXN_DECLARE_EXCEPTION(ETapiBearerModeUnavail, ETapi)
VXN_DECLARE_EXCEPTION(ETapiCallUnavail, ETapi)
VXN_DECLARE_EXCEPTION(ETapiCompletionOverrun, ETapi)
VXN_DECLARE_EXCEPTION(ETapiConferenceFull, ETapi)
VXN_DECLARE_EXCEPTION(ETapiDialBilling, ETapi)
VXN_DECLARE_EXCEPTION(ETapiDialDialtone, ETapi)
VXN_DECLARE_EXCEPTION(ETapiDialPrompt, ETapi)
VXN_DECLARE_EXCEPTION(ETapiDialQuiet, ETapi)
VXN_DECLARE_EXCEPTION(ETapiIncompatibleApiVersion, ETapi)
VXN_DECLARE_EXCEPTION(ETapiIncompatibleExtVersion, ETapi)
VXN_DECLARE_EXCEPTION(ETapiIniFileCorrupt, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInUse, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalAddress, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalAddressID, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalAddressMode, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalAddressState, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalAppHandle, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalAppName, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalBearerMode, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalCallComplMode, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalCallHandle, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalCallParams, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalCallPrivilege, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalCallSelect, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalCallState, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalCallStatelist, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalCard, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalCompletionID, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalConfCallHandle, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalConsultCallHandle, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalCountryCode, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalDeviceClass, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalDeviceHandle, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalDialParams, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalDigitList, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalDigitMode, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalDigits, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalExtVersion, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalGroupID, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalLineHandle, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalLineState, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalLocation, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalMediaList, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalMediaMode, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalMessageID, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalParam, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalParkID, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalParkMode, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalPointer, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalPrivSelect, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalRate, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalRequestMode, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalTerminalID, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalTerminalMode, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalTimeout, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalTone, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalToneList, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalToneMode, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalTransferMode, ETapi)
VXN_DECLARE_EXCEPTION(ETapiLineMapperFailed, ETapi)
VXN_DECLARE_EXCEPTION(ETapiNoConference, ETapi)
VXN_DECLARE_EXCEPTION(ETapiNoDevice, ETapi)
VXN_DECLARE_EXCEPTION(ETapiNoDriver, ETapi)
VXN_DECLARE_EXCEPTION(ETapiNoMem, ETapi)
VXN_DECLARE_EXCEPTION(ETapiNoRequest, ETapi)
VXN_DECLARE_EXCEPTION(ETapiNotOwner, ETapi)
VXN_DECLARE_EXCEPTION(ETapiNotRegistered, ETapi)
VXN_DECLARE_EXCEPTION(ETapiOperationFailed, ETapi)
VXN_DECLARE_EXCEPTION(ETapiOperationUnavail, ETapi)
VXN_DECLARE_EXCEPTION(ETapiRateUnavail, ETapi)
VXN_DECLARE_EXCEPTION(ETapiResourceUnavail, ETapi)
VXN_DECLARE_EXCEPTION(ETapiRequestOverrun, ETapi)
VXN_DECLARE_EXCEPTION(ETapiStructureTooSmall, ETapi)
VXN_DECLARE_EXCEPTION(ETapiTargetNotFound, ETapi)
VXN_DECLARE_EXCEPTION(ETapiTargetSelf, ETapi)
VXN_DECLARE_EXCEPTION(ETapiUninitialized, ETapi)
VXN_DECLARE_EXCEPTION(ETapiUserUserInfoTooBig, ETapi)
VXN_DECLARE_EXCEPTION(ETapiReinit, ETapi)
VXN_DECLARE_EXCEPTION(ETapiAddressBlocked, ETapi)
VXN_DECLARE_EXCEPTION(ETapiBillingRejected, ETapi)
VXN_DECLARE_EXCEPTION(ETapiInvalFeature, ETapi)
VXN_DECLARE_EXCEPTION(ETapiNoMultipleInstance, ETapi)
VXN_DECLARE_EXCEPTION(ETapiBusy, ETapi)
VXN_DECLARE_EXCEPTION(ETapiNotSet, ETapi)
VXN_DECLARE_EXCEPTION(ETapiNoSelect, ETapi)
VXN_DECLARE_EXCEPTION(ETapiLoadFail, ETapi)
VXN_DECLARE_EXCEPTION(ETapiGetAddrFail, ETapi)
VXN_DECLARE_EXCEPTION(ETapiVoiceNotSupported, ETapi)
VXN_DECLARE_EXCEPTION(ETapiWaveFail, ETapi)
VXN_DECLARE_EXCEPTION(ETapiTranslateFail, ETapi)
VXN_DECLARE_EXCEPTION(ERasLoadFail, ERas)

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
