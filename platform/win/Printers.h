// The printers as the printing calls see them: a print system destination,
// or the virtual printer, described in paper and bin codes; the page set-up
// that a device mode asks of a printer; the options of a job; and the
// failure text of the last printing call. Shared by the spooler calls and
// the printer DCs.
#pragma once

#include <string>
#include <vector>

#include "platform/win/PaperBins.h"
#include "platform/win/PrintSystem.h"
#include "platform/win/WinSpool.h"

namespace win {

// A paper a printer offers; lengths in hundredths of a millimetre, portrait.
struct PrinterPaper {
  short code = DMPAPER_USER;
  std::string name;
  std::string media;  // the print system's name; empty for the virtual printer
  int width = 0;
  int length = 0;
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct PrinterModel {
  std::string name;
  bool isVirtual = false;
  int dpiX = 600;
  int dpiY = 600;
  std::vector<PrinterPaper> papers;  // never empty
  size_t defaultPaper = 0;
  std::vector<PaperBin> bins;
  short defaultBin = DMBIN_AUTO;
  std::vector<std::string> sides;
  short defaultDuplex = DMDUP_SIMPLEX;
  int maxCopies = 1;
  bool collate = false;
};

// The print system's destinations, or the virtual printer alone when there
// are none or the print system cannot be reached. Exactly one is the default.
std::vector<PrintDestination> ListPrinters();
// False with the last error set for a printer that cannot be described.
bool LoadPrinter(const std::string& name, PrinterModel& model);

// The paper and orientation a device mode asks for, as printed: landscape
// has width and length exchanged and the margins turned with the sheet.
struct PageSetup {
  short paperCode = DMPAPER_A4;
  int width = 0;  // hundredths of a millimetre
  int length = 0;
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool landscape = false;
  std::string media;  // the printer's media of that size, else a custom size name
};
// mode may be null (the printer's defaults).
PageSetup SetupFor(const PrinterModel& printer, const DEVMODE* mode);

// The printer's defaults, every field it supports marked.
void DefaultDevMode(const PrinterModel& printer, DEVMODE& mode);
// The fields marked in from that the printer can take, over into.
void MergeDevMode(const PrinterModel& printer, DEVMODE& into, const DEVMODE& from);

// The job options of a device mode (paper of setup, copies, collation,
// sides, bin). orientation 0 leaves it to the pages.
PrintJobTicket TicketFor(const PrinterModel& printer, const DEVMODE* mode, const PageSetup& setup, int orientation,
                         const std::string& title, const char* format);

// Where a virtual printer's job goes: title made safe as a file name, with
// " (2)", " (3)" ... when the name is taken.
std::string VirtualJobPath(const std::string& title, const char* extension);

// Records a failure of a printing call (the last error and its text); the
// return value is 0, for "return Fail(...)".
int PrintFail(DWORD code, std::string text);

}  // namespace win
