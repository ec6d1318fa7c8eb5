// The spooler side of printing: the installed printers and the default one,
// printer handles, the device mode record, what a printer offers (papers,
// bins, duplex, copies), and raw jobs written straight to a printer.
//
// Printers are the print system's destinations (PrintSystem.h). When it has
// none, or cannot be reached, the one printer is a virtual printer (600 dpi,
// every standard paper, A4 by default, 5 mm margins) whose jobs become PDF
// files in a folder.
//
// A call that fails sets the last error (GetLastError) and the text of the
// failure, in the print system's words where it was the print system that
// refused (GetLastPrintErrorText).
#pragma once

#include <string>

#include "platform/win/PaperBins.h"
#include "platform/win/PaperSizes.h"
#include "platform/win/WinTypes.h"
#include "platform/win/WinUser.h"

namespace win {

using HANDLE = void*;


// The text of the last failed printing call of this thread.
std::string GetLastPrintErrorText();

// Device mode ------------------------------------------------------------------

constexpr int CCHDEVICENAME = 32;
constexpr int CCHFORMNAME = 32;
constexpr WORD DM_SPECVERSION = 0x0401;

constexpr DWORD DM_ORIENTATION = 0x00000001;
constexpr DWORD DM_PAPERSIZE = 0x00000002;
constexpr DWORD DM_PAPERLENGTH = 0x00000004;
constexpr DWORD DM_PAPERWIDTH = 0x00000008;
constexpr DWORD DM_SCALE = 0x00000010;
constexpr DWORD DM_COPIES = 0x00000100;
constexpr DWORD DM_DEFAULTSOURCE = 0x00000200;
constexpr DWORD DM_PRINTQUALITY = 0x00000400;
constexpr DWORD DM_COLOR = 0x00000800;
constexpr DWORD DM_DUPLEX = 0x00001000;
constexpr DWORD DM_YRESOLUTION = 0x00002000;
constexpr DWORD DM_COLLATE = 0x00008000;
constexpr DWORD DM_FORMNAME = 0x00010000;

constexpr short DMORIENT_PORTRAIT = 1;
constexpr short DMORIENT_LANDSCAPE = 2;
constexpr short DMDUP_SIMPLEX = 1;
constexpr short DMDUP_VERTICAL = 2;    // long edge
constexpr short DMDUP_HORIZONTAL = 3;  // short edge
constexpr short DMCOLLATE_FALSE = 0;
constexpr short DMCOLLATE_TRUE = 1;
constexpr short DMCOLOR_MONOCHROME = 1;
constexpr short DMCOLOR_COLOR = 2;

// A printer's settings for a job or a page. Only the fields marked in
// dmFields count; dmPaperWidth and dmPaperLength (tenths of a millimetre),
// when marked and above 0, override the size of dmPaperSize.
struct DEVMODE {
  char dmDeviceName[CCHDEVICENAME] = {};
  WORD dmSpecVersion = DM_SPECVERSION;
  WORD dmDriverVersion = 0;
  WORD dmSize = sizeof(DEVMODE);
  WORD dmDriverExtra = 0;
  DWORD dmFields = 0;
  short dmOrientation = 0;
  short dmPaperSize = 0;
  short dmPaperLength = 0;
  short dmPaperWidth = 0;
  short dmScale = 0;
  short dmCopies = 0;
  short dmDefaultSource = 0;
  short dmPrintQuality = 0;
  short dmColor = 0;
  short dmDuplex = 0;
  short dmYResolution = 0;
  short dmTTOption = 0;
  short dmCollate = 0;
  char dmFormName[CCHFORMNAME] = {};
  WORD dmLogPixels = 0;
  DWORD dmBitsPerPel = 0;
  DWORD dmPelsWidth = 0;
  DWORD dmPelsHeight = 0;
  DWORD dmNup = 0;
  DWORD dmDisplayFrequency = 0;
  DWORD dmICMMethod = 0;
  DWORD dmICMIntent = 0;
  DWORD dmMediaType = 0;
  DWORD dmDitherType = 0;
  DWORD dmReserved1 = 0;
  DWORD dmReserved2 = 0;
  DWORD dmPanningWidth = 0;
  DWORD dmPanningHeight = 0;
};

// Printer list -----------------------------------------------------------------

constexpr DWORD PRINTER_ENUM_DEFAULT = 0x00000001;
constexpr DWORD PRINTER_ENUM_LOCAL = 0x00000002;
constexpr DWORD PRINTER_ENUM_CONNECTIONS = 0x00000004;

constexpr DWORD PRINTER_ATTRIBUTE_DEFAULT = 0x00000004;
constexpr DWORD PRINTER_ATTRIBUTE_LOCAL = 0x00000040;

struct PRINTER_INFO_4 {
  char* pPrinterName;
  char* pServerName;  // null: the printers are the print system's own
  DWORD Attributes;
};

struct PRINTER_INFO_5 {
  char* pPrinterName;
  char* pPortName;
  DWORD Attributes;
  DWORD DeviceNotSelectedTimeout;
  DWORD TransmissionRetryTimeout;
};

// Levels 4 and 5. The records come first in the buffer, their texts after
// them. A buffer too small for all of them fails with
// ERROR_INSUFFICIENT_BUFFER and *needed says how much it takes; with
// PRINTER_ENUM_DEFAULT only the default printer is listed. name must be null
// or empty (no other servers are enumerated).
BOOL EnumPrinters(DWORD flags, const char* name, DWORD level, BYTE* buffer, DWORD size, DWORD* needed,
                  DWORD* returned);

// The default printer: the print system's default destination, else its
// first one (or the virtual printer). *size holds the buffer's size and
// receives the length needed, terminator included.
BOOL GetDefaultPrinter(char* buffer, DWORD* size);

// The system profile has one value: section "windows", key "device", the
// default printer as "name,winspool,port". Any other key gives the default
// text. Returns the length copied, without the terminator.
DWORD GetProfileString(const char* section, const char* key, const char* defaultText, char* buffer,
                       DWORD size);

// The name of the virtual printer and the folder its jobs are written to
// (the home folder, else the temporary folder, until set).
const char* VirtualPrinterName();
std::string VirtualPrinterFolder();
void SetVirtualPrinterFolder(const std::string& folder);

// Printer handles ----------------------------------------------------------------

struct PRINTER_DEFAULTS {
  char* pDatatype;
  DEVMODE* pDevMode;
  DWORD DesiredAccess;
};

// FALSE with ERROR_INVALID_PRINTER_NAME for a printer that does not exist.
BOOL OpenPrinter(const char* printerName, HANDLE* printer, PRINTER_DEFAULTS* defaults);
BOOL ClosePrinter(HANDLE printer);

constexpr DWORD DM_UPDATE = 1;
constexpr DWORD DM_COPY = 2;
constexpr DWORD DM_PROMPT = 4;
constexpr DWORD DM_MODIFY = 8;
constexpr DWORD DM_OUT_BUFFER = DM_COPY;
constexpr DWORD DM_IN_PROMPT = DM_PROMPT;
constexpr DWORD DM_IN_BUFFER = DM_MODIFY;

// mode 0: the size of the printer's device mode. DM_OUT_BUFFER: the printer's
// defaults into output, with the marked fields of input merged over them when
// DM_IN_BUFFER is given (values the printer cannot take are left out).
// DM_IN_PROMPT: the printer's properties dialog (see
// SetPrinterPropertiesPrompt). Returns IDOK (1), IDCANCEL (2) from the dialog,
// or a negative value on failure. The printer is the handle's, else
// deviceName.
LONG DocumentProperties(HWND owner, HANDLE printer, const char* deviceName, DEVMODE* output, const DEVMODE* input,
                        DWORD mode);

// A properties dialog: edits mode for the printer and answers whether the
// user confirmed. No printer of this system brings one of its own; until a
// dialog is installed, DM_IN_PROMPT answers IDCANCEL and changes nothing.
using PrinterPropertiesPrompt = bool (*)(HWND owner, const char* printerName, DEVMODE& mode);
void SetPrinterPropertiesPrompt(PrinterPropertiesPrompt prompt);

constexpr WORD DC_FIELDS = 1;
constexpr WORD DC_PAPERS = 2;
constexpr WORD DC_PAPERSIZE = 3;
constexpr WORD DC_BINS = 6;
constexpr WORD DC_DUPLEX = 7;
constexpr WORD DC_SIZE = 8;
constexpr WORD DC_EXTRA = 9;
constexpr WORD DC_BINNAMES = 12;
constexpr WORD DC_ENUMRESOLUTIONS = 13;
constexpr WORD DC_PAPERNAMES = 16;
constexpr WORD DC_ORIENTATION = 17;
constexpr WORD DC_COPIES = 18;
constexpr WORD DC_COLLATE = 22;

// What a printer offers. With output null, the number of entries; else they
// are written to output: DC_PAPERS and DC_BINS as WORD codes, DC_PAPERNAMES
// as 64-character and DC_BINNAMES as 24-character texts (cut to fit, always
// terminated), DC_PAPERSIZE as POINTs in tenths of a millimetre (portrait),
// DC_ENUMRESOLUTIONS as LONG pairs. DC_DUPLEX, DC_COLLATE: 1 or 0; DC_COPIES:
// the most copies; DC_ORIENTATION: 90 (landscape turns the page a quarter
// counter-clockwise); DC_SIZE, DC_EXTRA, DC_FIELDS: of the device mode.
// -1 on failure (an unknown printer, a capability not listed here).
int DeviceCapabilities(const char* device, const char* port, WORD capability, char* output, const DEVMODE* mode);

// Raw jobs ------------------------------------------------------------------------

struct DOC_INFO_1 {
  const char* pDocName;
  const char* pOutputFile;  // set: the bytes go to this file
  const char* pDatatype;    // "RAW" or null
};

// A job whose bytes go to the printer as they are. Returns the job's number
// (a local one until EndDocPrinter hands the job over), 0 on failure.
DWORD StartDocPrinter(HANDLE printer, DWORD level, const BYTE* docInfo);
BOOL StartPagePrinter(HANDLE printer);
BOOL WritePrinter(HANDLE printer, const void* data, DWORD size, DWORD* written);
BOOL EndPagePrinter(HANDLE printer);
// Closes the job; FALSE when the print system refused it.
BOOL EndDocPrinter(HANDLE printer);
// Withdraws the open job; nothing is printed.
BOOL AbortPrinter(HANDLE printer);

}  // namespace win
