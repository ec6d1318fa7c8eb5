// Printer DCs: a DC whose pages are PDF pages of the printer's paper, at the
// printer's resolution, with device (0, 0) at the corner of the printable
// area. GetDeviceCaps answers LOGPIXELSX/Y, PHYSICALWIDTH/HEIGHT,
// PHYSICALOFFSETX/Y, HORZRES/VERTRES and HORZSIZE/VERTSIZE for the paper of
// the device mode in effect. A document is one PDF: at EndDoc it goes to the
// printer as one job (options from the device mode at StartDoc, paper from
// the first page), to the file DOCINFO names (print to file), or, on the
// virtual printer, to a file in its folder.
//
// Failures set the last error and GetLastPrintErrorText (WinSpool.h).
#pragma once

#include "platform/win/WinSpool.h"

namespace win {

constexpr int SP_ERROR = -1;

struct DOCINFO {
  int cbSize = sizeof(DOCINFO);
  const char* lpszDocName = nullptr;
  const char* lpszOutput = nullptr;  // set: print to this file
  const char* lpszDatatype = nullptr;
  DWORD fwType = 0;
};

// device names the printer; driver and output are not used. mode null: the
// printer's defaults; else its marked fields over the defaults. Null when the
// printer cannot be described.
HDC CreateDC(const char* driver, const char* device, const char* output, const DEVMODE* mode);
// A DC for measuring only: StartDoc fails on it.
HDC CreateIC(const char* driver, const char* device, const char* output, const DEVMODE* mode);
// A new device mode for the next page (never inside a page): the paper,
// orientation and metrics change with it. Returns dc, null on failure.
HDC ResetDC(HDC dc, const DEVMODE* mode);

// Each returns a value above 0 on success and SP_ERROR (or 0) on failure.
// StartDoc gives the document's number; EndDoc the print system's number of
// the job (or the document's number when nothing went to a print system).
int StartDoc(HDC dc, const DOCINFO* info);
int StartPage(HDC dc);
int EndPage(HDC dc);
// Ends an open page first. A document without pages sends no job.
int EndDoc(HDC dc);
// Drops the document: nothing is printed and a file being written is removed.
// Deleting the DC with a document open does the same.
int AbortDoc(HDC dc);

}  // namespace win
