#include "serial/AdExcept.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "platform/rtl/Components.h"
#include "platform/win/WinSerial.h"
#include "platform/win/Windows.h"

VXN_IMPLEMENT_CLASS(EAPDException, Exception)
VXN_IMPLEMENT_CLASS(EGeneral, EAPDException)
VXN_IMPLEMENT_CLASS(EOpenComm, EAPDException)
VXN_IMPLEMENT_CLASS(ESerialIO, EAPDException)
VXN_IMPLEMENT_CLASS(EModem, EAPDException)
VXN_IMPLEMENT_CLASS(ETrigger, EAPDException)
VXN_IMPLEMENT_CLASS(EProtocol, EAPDException)
VXN_IMPLEMENT_CLASS(EINI, EAPDException)
VXN_IMPLEMENT_CLASS(EFax, EAPDException)
VXN_IMPLEMENT_CLASS(ETapi, EAPDException)
VXN_IMPLEMENT_CLASS(ERas, EAPDException)
VXN_IMPLEMENT_CLASS(EBadArgument, EGeneral)
VXN_IMPLEMENT_CLASS(EGotQuitMsg, EGeneral)
VXN_IMPLEMENT_CLASS(EBufferTooBig, EGeneral)
VXN_IMPLEMENT_CLASS(EPortNotAssigned, EGeneral)
VXN_IMPLEMENT_CLASS(EInternal, EGeneral)
VXN_IMPLEMENT_CLASS(EModemNotAssigned, EGeneral)
VXN_IMPLEMENT_CLASS(EPhonebookNotAssigned, EGeneral)
VXN_IMPLEMENT_CLASS(ECannotUseWithWinSock, EGeneral)
VXN_IMPLEMENT_CLASS(EBadId, EOpenComm)
VXN_IMPLEMENT_CLASS(EBaudRate, EOpenComm)
VXN_IMPLEMENT_CLASS(EByteSize, EOpenComm)
VXN_IMPLEMENT_CLASS(EDefault, EOpenComm)
VXN_IMPLEMENT_CLASS(EHardware, EOpenComm)
VXN_IMPLEMENT_CLASS(EMemory, EOpenComm)
VXN_IMPLEMENT_CLASS(ECommNotOpen, EOpenComm)
VXN_IMPLEMENT_CLASS(EAlreadyOpen, EOpenComm)
VXN_IMPLEMENT_CLASS(ENoHandles, EOpenComm)
VXN_IMPLEMENT_CLASS(ENoTimers, EOpenComm)
VXN_IMPLEMENT_CLASS(ENoPortSelected, EOpenComm)
VXN_IMPLEMENT_CLASS(ENotOpenedByTapi, EOpenComm)
VXN_IMPLEMENT_CLASS(ENullApi, ESerialIO)
VXN_IMPLEMENT_CLASS(ERegisterHandlerFailed, ESerialIO)
VXN_IMPLEMENT_CLASS(EPutBlockFail, ESerialIO)
VXN_IMPLEMENT_CLASS(EGetBlockFail, ESerialIO)
VXN_IMPLEMENT_CLASS(EOutputBufferTooSmall, ESerialIO)
VXN_IMPLEMENT_CLASS(EBufferIsEmpty, ESerialIO)
VXN_IMPLEMENT_CLASS(ETracingNotEnabled, ESerialIO)
VXN_IMPLEMENT_CLASS(ELoggingNotEnabled, ESerialIO)
VXN_IMPLEMENT_CLASS(EBaseAddressNotSet, ESerialIO)
VXN_IMPLEMENT_CLASS(EModemNotStarted, EModem)
VXN_IMPLEMENT_CLASS(EModemBusy, EModem)
VXN_IMPLEMENT_CLASS(EModemNotDialing, EModem)
VXN_IMPLEMENT_CLASS(EModemNotResponding, EModem)
VXN_IMPLEMENT_CLASS(EModemRejectedCommand, EModem)
VXN_IMPLEMENT_CLASS(EModemStatusMismatch, EModem)
VXN_IMPLEMENT_CLASS(EAlreadyDialing, EModem)
VXN_IMPLEMENT_CLASS(ENotDialing, EModem)
VXN_IMPLEMENT_CLASS(ENoMoreTriggers, ETrigger)
VXN_IMPLEMENT_CLASS(ETriggerTooLong, ETrigger)
VXN_IMPLEMENT_CLASS(EBadTriggerHandle, ETrigger)
VXN_IMPLEMENT_CLASS(EKeyTooLong, EINI)
VXN_IMPLEMENT_CLASS(EDataTooLarge, EINI)
VXN_IMPLEMENT_CLASS(EIniWrite, EINI)
VXN_IMPLEMENT_CLASS(EIniRead, EINI)
VXN_IMPLEMENT_CLASS(ERecordExists, EINI)
VXN_IMPLEMENT_CLASS(ERecordNotFound, EINI)
VXN_IMPLEMENT_CLASS(EDatabaseFull, EINI)
VXN_IMPLEMENT_CLASS(EDatabaseEmpty, EINI)
VXN_IMPLEMENT_CLASS(EBadFieldList, EINI)
VXN_IMPLEMENT_CLASS(EBadFieldForIndex, EINI)
VXN_IMPLEMENT_CLASS(EFaxBadFormat, EFax)
VXN_IMPLEMENT_CLASS(EBadGraphicsFormat, EFax)
VXN_IMPLEMENT_CLASS(EConvertAbort, EFax)
VXN_IMPLEMENT_CLASS(EUnpackAbort, EFax)
VXN_IMPLEMENT_CLASS(ECantMakeBitmap, EFax)
VXN_IMPLEMENT_CLASS(EInvalidPageNumber, EFax)
VXN_IMPLEMENT_CLASS(EFaxBadMachine, EFax)
VXN_IMPLEMENT_CLASS(EFaxBadModemResult, EFax)
VXN_IMPLEMENT_CLASS(EFaxTrainError, EFax)
VXN_IMPLEMENT_CLASS(EFaxInitError, EFax)
VXN_IMPLEMENT_CLASS(EFaxBusy, EFax)
VXN_IMPLEMENT_CLASS(EFaxVoiceCall, EFax)
VXN_IMPLEMENT_CLASS(EFaxDataCall, EFax)
VXN_IMPLEMENT_CLASS(EFaxNoDialTone, EFax)
VXN_IMPLEMENT_CLASS(EFaxNoCarrier, EFax)
VXN_IMPLEMENT_CLASS(EFaxSessionError, EFax)
VXN_IMPLEMENT_CLASS(EFaxPageError, EFax)
VXN_IMPLEMENT_CLASS(ETapiAllocated, ETapi)
VXN_IMPLEMENT_CLASS(ETapiBadDeviceID, ETapi)
VXN_IMPLEMENT_CLASS(ETapiBearerModeUnavail, ETapi)
VXN_IMPLEMENT_CLASS(ETapiCallUnavail, ETapi)
VXN_IMPLEMENT_CLASS(ETapiCompletionOverrun, ETapi)
VXN_IMPLEMENT_CLASS(ETapiConferenceFull, ETapi)
VXN_IMPLEMENT_CLASS(ETapiDialBilling, ETapi)
VXN_IMPLEMENT_CLASS(ETapiDialDialtone, ETapi)
VXN_IMPLEMENT_CLASS(ETapiDialPrompt, ETapi)
VXN_IMPLEMENT_CLASS(ETapiDialQuiet, ETapi)
VXN_IMPLEMENT_CLASS(ETapiIncompatibleApiVersion, ETapi)
VXN_IMPLEMENT_CLASS(ETapiIncompatibleExtVersion, ETapi)
VXN_IMPLEMENT_CLASS(ETapiIniFileCorrupt, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInUse, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalAddress, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalAddressID, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalAddressMode, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalAddressState, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalAppHandle, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalAppName, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalBearerMode, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalCallComplMode, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalCallHandle, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalCallParams, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalCallPrivilege, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalCallSelect, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalCallState, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalCallStatelist, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalCard, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalCompletionID, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalConfCallHandle, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalConsultCallHandle, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalCountryCode, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalDeviceClass, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalDeviceHandle, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalDialParams, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalDigitList, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalDigitMode, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalDigits, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalExtVersion, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalGroupID, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalLineHandle, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalLineState, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalLocation, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalMediaList, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalMediaMode, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalMessageID, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalParam, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalParkID, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalParkMode, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalPointer, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalPrivSelect, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalRate, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalRequestMode, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalTerminalID, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalTerminalMode, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalTimeout, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalTone, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalToneList, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalToneMode, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalTransferMode, ETapi)
VXN_IMPLEMENT_CLASS(ETapiLineMapperFailed, ETapi)
VXN_IMPLEMENT_CLASS(ETapiNoConference, ETapi)
VXN_IMPLEMENT_CLASS(ETapiNoDevice, ETapi)
VXN_IMPLEMENT_CLASS(ETapiNoDriver, ETapi)
VXN_IMPLEMENT_CLASS(ETapiNoMem, ETapi)
VXN_IMPLEMENT_CLASS(ETapiNoRequest, ETapi)
VXN_IMPLEMENT_CLASS(ETapiNotOwner, ETapi)
VXN_IMPLEMENT_CLASS(ETapiNotRegistered, ETapi)
VXN_IMPLEMENT_CLASS(ETapiOperationFailed, ETapi)
VXN_IMPLEMENT_CLASS(ETapiOperationUnavail, ETapi)
VXN_IMPLEMENT_CLASS(ETapiRateUnavail, ETapi)
VXN_IMPLEMENT_CLASS(ETapiResourceUnavail, ETapi)
VXN_IMPLEMENT_CLASS(ETapiRequestOverrun, ETapi)
VXN_IMPLEMENT_CLASS(ETapiStructureTooSmall, ETapi)
VXN_IMPLEMENT_CLASS(ETapiTargetNotFound, ETapi)
VXN_IMPLEMENT_CLASS(ETapiTargetSelf, ETapi)
VXN_IMPLEMENT_CLASS(ETapiUninitialized, ETapi)
VXN_IMPLEMENT_CLASS(ETapiUserUserInfoTooBig, ETapi)
VXN_IMPLEMENT_CLASS(ETapiReinit, ETapi)
VXN_IMPLEMENT_CLASS(ETapiAddressBlocked, ETapi)
VXN_IMPLEMENT_CLASS(ETapiBillingRejected, ETapi)
VXN_IMPLEMENT_CLASS(ETapiInvalFeature, ETapi)
VXN_IMPLEMENT_CLASS(ETapiNoMultipleInstance, ETapi)
VXN_IMPLEMENT_CLASS(ETapiBusy, ETapi)
VXN_IMPLEMENT_CLASS(ETapiNotSet, ETapi)
VXN_IMPLEMENT_CLASS(ETapiNoSelect, ETapi)
VXN_IMPLEMENT_CLASS(ETapiLoadFail, ETapi)
VXN_IMPLEMENT_CLASS(ETapiGetAddrFail, ETapi)
VXN_IMPLEMENT_CLASS(ETapiVoiceNotSupported, ETapi)
VXN_IMPLEMENT_CLASS(ETapiWaveFail, ETapi)
VXN_IMPLEMENT_CLASS(ETapiTranslateFail, ETapi)
VXN_IMPLEMENT_CLASS(ERasLoadFail, ERas)

namespace {

struct MessageEntry {
  Integer Code;
  const char* Text;
};

// Ascending by the absolute value of the code; no two entries share one.
const MessageEntry kMessages[] = {
    {0, "OK"},
    {-2, "File not found"},
    {-3, "Path not found"},
    {-4, "Too many open files"},
    {-5, "File access denied"},
    {-6, "Invalid file handle"},
    {-8, "Insufficient memory"},
    {-15, "Invalid drive"},
    {-18, "No more files"},
    {-100, "Attempt to read beyond end of file"},
    {-101, "Disk is full"},
    {-102, "File/device not assigned"},
    {-103, "File/device not open"},
    {-104, "File/device not open for input"},
    {-105, "File/device not open for output"},
    {-150, "Disk is write-protected"},
    {-151, "Unknown disk unit"},
    {-152, "Drive is not ready"},
    {-153, "Unknown command"},
    {-154, "Data error"},
    {-155, "Bad request structure length"},
    {-156, "Seek error"},
    {-157, "Unknown media type"},
    {-158, "Disk sector not found"},
    {-159, "Printer is out of paper"},
    {-160, "Device write error"},
    {-161, "Device read error"},
    {-162, "General failure"},
    {-1001, "Bad handle passed to com function"},
    {-1002, "Bad argument passed to function"},
    {-1003, "Got quit message"},
    {-1004, "Terminal buffer greater than 65521"},
    {-1005, "ComPort component not assigned"},
    {-1006, "Internal error creating window class"},
    {-1007, "Modem component not assigned"},
    {-1008, "Phonebook component not assigned"},
    {-1009, "Component not compatible with WinSock"},
    {-2001, "ie_BadId - Specified comport doesn't exist"},
    {-2002, "ie_Baudrate - unsupported baud rate"},
    {-2003, "ie_Bytesize - invalid byte size"},
    {-2004, "ie_Default - error in default parameters"},
    {-2005, "ie_Hardware - Specified comport in use"},
    {-2006, "ie_Memory - unable to allocate queues"},
    {-2007, "ie_NOpen - device not open"},
    {-2008, "ie_Open - device already open"},
    {-2009, "No more handles, can't open port"},
    {-2010, "No timers available"},
    {-2011, "The ComNumber property of the TApdComPort has not been set"},
    {-2012, "Comport was not opened by Tapi"},
    {-3001, "No device layer specified"},
    {-3002, "Function not supported by driver"},
    {-3003, "EnableCommNotification failed"},
    {-3004, "Failed to put entire block"},
    {-3005, "Failed to get entire block"},
    {-3006, "Output buffer too small for block"},
    {-3007, "Buffer is empty"},
    {-3008, "Tracing not enabled"},
    {-3009, "Logging not enabled"},
    {-3010, "Base address not set"},
    {-4006, "Modem is not responding"},
    {4306, "Connected at %d baud"},
    {-5001, "No more trigger slots"},
    {-5002, "Data trigger too long"},
    {-5003, "Bad trigger handle"},
    {-5506, "Packet too long"},
    {-6009, "Block sequence error in Xmodem"},
    {-7010, "Maximum database records (999) reached"},
    {-8068, "Failed to connect to remote fax"},
    {10060, "The operation timed out"},
    {13501, "Line is idle"},
    {-13931, "Failed to find/load TAPI.DLL"},
    {15001, "No event"},
    {15002, "Dispatch"},
    {15003, "Trigger"},
    {15004, "Error"},
    {15005, "Thread"},
    {15006, "TrigAllc"},
    {15007, "TrigDisp"},
    {15008, "TrgHdAlc"},
    {15009, "TrgHdDsp"},
    {15010, "TrDatChg"},
    {15011, "Telnet"},
    {15012, "Fax"},
    {15013, "XModem"},
    {15014, "YModem"},
    {15015, "ZModem"},
    {15016, "Kermit"},
    {15017, "Ascii"},
    {15018, "BPlus"},
    {15019, "Packet"},
    {15020, "User"},
    {15021, "Script"},
    {15100, ""},
    {15101, "ReadCom"},
    {15102, "WriteCom"},
    {15103, "Line status"},
    {15104, "Modem status"},
    {15105, "Avail"},
    {15106, "Timer"},
    {15107, "Data"},
    {15108, "Status"},
    {15109, "Start"},
    {15110, "Exit"},
    {15111, "Sleep"},
    {15112, "Wake"},
    {15113, "Data"},
    {15114, "Timer"},
    {15115, "Status"},
    {15116, "Avail"},
    {15117, "Window"},
    {15118, "Procedure"},
    {15119, "Method"},
    {15120, "Sent WILL"},
    {15121, "Sent WON'T"},
    {15122, "Sent DO"},
    {15123, "Sent DON'T"},
    {15124, "Recv WILL"},
    {15125, "Recv WON'T"},
    {15126, "Recv DO"},
    {15127, "Recv DON'T"},
    {15128, "Command"},
    {15129, "Sent Term"},
    {15501, "Time      Type      SubType       Data      OtherData"},
    {15502, "--------  --------  ------------  --------  ---------"},
    {15601, "DCTS"},
    {15602, "DDSR"},
    {15603, "TERI"},
    {15604, "DDCD"},
    {15605, "CTS"},
    {15606, "DSR"},
    {15607, "RI"},
    {15608, "DCD"},
};

template <typename E>
[[noreturn]] void Raise(Integer code) {
  throw E(code);
}

struct RaiseEntry {
  Integer Code;
  void (*Raise)(Integer);
};

const RaiseEntry kRaisers[] = {
    {-1002, &Raise<EBadArgument>},
    {-1003, &Raise<EGotQuitMsg>},
    {-1004, &Raise<EBufferTooBig>},
    {-1005, &Raise<EPortNotAssigned>},
    {-1006, &Raise<EInternal>},
    {-1007, &Raise<EModemNotAssigned>},
    {-1008, &Raise<EPhonebookNotAssigned>},
    {-1009, &Raise<ECannotUseWithWinSock>},
    {-2001, &Raise<EBadId>},
    {-2002, &Raise<EBaudRate>},
    {-2003, &Raise<EByteSize>},
    {-2004, &Raise<EDefault>},
    {-2005, &Raise<EHardware>},
    {-2006, &Raise<EMemory>},
    {-2007, &Raise<ECommNotOpen>},
    {-2008, &Raise<EAlreadyOpen>},
    {-2009, &Raise<ENoHandles>},
    {-2010, &Raise<ENoTimers>},
    {-2011, &Raise<ENoPortSelected>},
    {-2012, &Raise<ENotOpenedByTapi>},
    {-3001, &Raise<ENullApi>},
    {-3003, &Raise<ERegisterHandlerFailed>},
    {-3004, &Raise<EPutBlockFail>},
    {-3005, &Raise<EGetBlockFail>},
    {-3006, &Raise<EOutputBufferTooSmall>},
    {-3007, &Raise<EBufferIsEmpty>},
    {-3008, &Raise<ETracingNotEnabled>},
    {-3009, &Raise<ELoggingNotEnabled>},
    {-3010, &Raise<EBaseAddressNotSet>},
    {-4001, &Raise<EModemNotStarted>},
    {-4002, &Raise<EModemBusy>},
    {-4003, &Raise<EModemNotDialing>},
    {-4004, &Raise<ENotDialing>},
    {-4005, &Raise<EAlreadyDialing>},
    {-4006, &Raise<EModemNotResponding>},
    {-4007, &Raise<EModemRejectedCommand>},
    {-4008, &Raise<EModemStatusMismatch>},
    {-5001, &Raise<ENoMoreTriggers>},
    {-5002, &Raise<ETriggerTooLong>},
    {-5003, &Raise<EBadTriggerHandle>},
    {-6006, &Raise<EProtocol>},
    {-6008, &Raise<EProtocol>},
    {-6009, &Raise<EProtocol>},
    {-7001, &Raise<EKeyTooLong>},
    {-7002, &Raise<EDataTooLarge>},
    {-7003, &Raise<EInternal>},
    {-7004, &Raise<EIniWrite>},
    {-7005, &Raise<EIniRead>},
    {-7006, &Raise<EInternal>},
    {-7007, &Raise<ERecordExists>},
    {-7008, &Raise<ERecordNotFound>},
    {-7010, &Raise<EDatabaseFull>},
    {-7011, &Raise<EDatabaseEmpty>},
    {-7012, &Raise<EInternal>},
    {-7013, &Raise<EBadFieldList>},
    {-7014, &Raise<EBadFieldForIndex>},
    {-8001, &Raise<EFaxBadFormat>},
    {-8002, &Raise<EBadGraphicsFormat>},
    {-8003, &Raise<EConvertAbort>},
    {-8004, &Raise<EUnpackAbort>},
    {-8005, &Raise<ECantMakeBitmap>},
    {-8053, &Raise<EInvalidPageNumber>},
    {-8060, &Raise<EFaxBadMachine>},
    {-8061, &Raise<EFaxBadModemResult>},
    {-8062, &Raise<EFaxTrainError>},
    {-8063, &Raise<EFaxInitError>},
    {-8064, &Raise<EFaxBusy>},
    {-8065, &Raise<EFaxVoiceCall>},
    {-8066, &Raise<EFaxDataCall>},
    {-8067, &Raise<EFaxNoDialTone>},
    {-8068, &Raise<EFaxNoCarrier>},
    {-8069, &Raise<EFaxSessionError>},
    {-8070, &Raise<EFaxPageError>},
    {-13801, &Raise<ETapiAllocated>},
    {-13802, &Raise<ETapiBadDeviceID>},
    {-13803, &Raise<ETapiBearerModeUnavail>},
    {-13805, &Raise<ETapiCallUnavail>},
    {-13806, &Raise<ETapiCompletionOverrun>},
    {-13807, &Raise<ETapiConferenceFull>},
    {-13808, &Raise<ETapiDialBilling>},
    {-13809, &Raise<ETapiDialDialtone>},
    {-13810, &Raise<ETapiDialPrompt>},
    {-13811, &Raise<ETapiDialQuiet>},
    {-13812, &Raise<ETapiIncompatibleApiVersion>},
    {-13813, &Raise<ETapiIncompatibleExtVersion>},
    {-13814, &Raise<ETapiIniFileCorrupt>},
    {-13815, &Raise<ETapiInUse>},
    {-13816, &Raise<ETapiInvalAddress>},
    {-13817, &Raise<ETapiInvalAddressID>},
    {-13818, &Raise<ETapiInvalAddressMode>},
    {-13819, &Raise<ETapiInvalAddressState>},
    {-13820, &Raise<ETapiInvalAppHandle>},
    {-13821, &Raise<ETapiInvalAppName>},
    {-13822, &Raise<ETapiInvalBearerMode>},
    {-13823, &Raise<ETapiInvalCallComplMode>},
    {-13824, &Raise<ETapiInvalCallHandle>},
    {-13825, &Raise<ETapiInvalCallParams>},
    {-13826, &Raise<ETapiInvalCallPrivilege>},
    {-13827, &Raise<ETapiInvalCallSelect>},
    {-13828, &Raise<ETapiInvalCallState>},
    {-13829, &Raise<ETapiInvalCallStatelist>},
    {-13830, &Raise<ETapiInvalCard>},
    {-13831, &Raise<ETapiInvalCompletionID>},
    {-13832, &Raise<ETapiInvalConfCallHandle>},
    {-13833, &Raise<ETapiInvalConsultCallHandle>},
    {-13834, &Raise<ETapiInvalCountryCode>},
    {-13835, &Raise<ETapiInvalDeviceClass>},
    {-13836, &Raise<ETapiInvalDeviceHandle>},
    {-13837, &Raise<ETapiInvalDialParams>},
    {-13838, &Raise<ETapiInvalDigitList>},
    {-13839, &Raise<ETapiInvalDigitMode>},
    {-13840, &Raise<ETapiInvalDigits>},
    {-13841, &Raise<ETapiInvalExtVersion>},
    {-13842, &Raise<ETapiInvalGroupID>},
    {-13843, &Raise<ETapiInvalLineHandle>},
    {-13844, &Raise<ETapiInvalLineState>},
    {-13845, &Raise<ETapiInvalLocation>},
    {-13846, &Raise<ETapiInvalMediaList>},
    {-13847, &Raise<ETapiInvalMediaMode>},
    {-13848, &Raise<ETapiInvalMessageID>},
    {-13850, &Raise<ETapiInvalParam>},
    {-13851, &Raise<ETapiInvalParkID>},
    {-13852, &Raise<ETapiInvalParkMode>},
    {-13853, &Raise<ETapiInvalPointer>},
    {-13854, &Raise<ETapiInvalPrivSelect>},
    {-13855, &Raise<ETapiInvalRate>},
    {-13856, &Raise<ETapiInvalRequestMode>},
    {-13857, &Raise<ETapiInvalTerminalID>},
    {-13858, &Raise<ETapiInvalTerminalMode>},
    {-13859, &Raise<ETapiInvalTimeout>},
    {-13860, &Raise<ETapiInvalTone>},
    {-13861, &Raise<ETapiInvalToneList>},
    {-13862, &Raise<ETapiInvalToneMode>},
    {-13863, &Raise<ETapiInvalTransferMode>},
    {-13864, &Raise<ETapiLineMapperFailed>},
    {-13865, &Raise<ETapiNoConference>},
    {-13866, &Raise<ETapiNoDevice>},
    {-13867, &Raise<ETapiNoDriver>},
    {-13868, &Raise<ETapiNoMem>},
    {-13869, &Raise<ETapiNoRequest>},
    {-13870, &Raise<ETapiNotOwner>},
    {-13871, &Raise<ETapiNotRegistered>},
    {-13872, &Raise<ETapiOperationFailed>},
    {-13873, &Raise<ETapiOperationUnavail>},
    {-13874, &Raise<ETapiRateUnavail>},
    {-13875, &Raise<ETapiResourceUnavail>},
    {-13876, &Raise<ETapiRequestOverrun>},
    {-13877, &Raise<ETapiStructureTooSmall>},
    {-13878, &Raise<ETapiTargetNotFound>},
    {-13879, &Raise<ETapiTargetSelf>},
    {-13880, &Raise<ETapiUninitialized>},
    {-13881, &Raise<ETapiUserUserInfoTooBig>},
    {-13882, &Raise<ETapiReinit>},
    {-13883, &Raise<ETapiAddressBlocked>},
    {-13884, &Raise<ETapiBillingRejected>},
    {-13885, &Raise<ETapiInvalFeature>},
    {-13886, &Raise<ETapiNoMultipleInstance>},
    {-13928, &Raise<ETapiBusy>},
    {-13929, &Raise<ETapiNotSet>},
    {-13930, &Raise<ETapiNoSelect>},
    {-13931, &Raise<ETapiLoadFail>},
    {-13932, &Raise<ETapiGetAddrFail>},
    {-13935, &Raise<ETapiVoiceNotSupported>},
    {-13936, &Raise<ETapiWaveFail>},
    {-13942, &Raise<ETapiTranslateFail>},
    {-13980, &Raise<ERasLoadFail>},
};

constexpr Integer kMaxMessageLength = 255;

std::string TableText(Integer absCode) {
  auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), absCode,
                             [](const MessageEntry& e, Integer code) { return std::abs(e.Code) < code; });
  if (it == std::end(kMessages) || std::abs(it->Code) != absCode) return "";
  return it->Text;
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
  Integer absCode = Code < 0 ? -Code : Code;
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
  for (const RaiseEntry& entry : kRaisers)
    if (entry.Code == Code) entry.Raise(Code);
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
