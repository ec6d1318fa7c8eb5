// Printing through a real CUPS scheduler: a private one, started for these
// tests, whose queues write what they receive to files.
#include "platform/win/CupsPrintSystem.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "platform/win/Gdi.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/PrinterDC.h"
#include "platform/win/Windows.h"
#include "tests/support/PdfPages.h"
#include "tests/support/PrivateCupsServer.h"

using namespace win;

namespace {

class CupsPrinting : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    server = std::make_unique<PrivateCupsServer>();
    started = server->Start();
  }
  static void TearDownTestSuite() { server.reset(); }

  void SetUp() override {
    ASSERT_TRUE(started) << "The printing tests start a CUPS server of their own, and it did not start: "
                         << server->Problem();
    SetPrintSystem(std::make_unique<CupsPrintSystem>(server->Server()));
  }
  void TearDown() override { SetPrintSystem(nullptr); }

  // A queue for this test; returns the file its jobs arrive in.
  static std::string Queue(const std::string& name) {
    std::string path = server->AddQueue(name);
    EXPECT_FALSE(path.empty()) << server->Problem();
    return path;
  }

  static bool Admin(const std::string& tool, const std::vector<std::string>& args) {
    bool ok = server->Admin(tool, args);
    EXPECT_TRUE(ok) << server->Problem();
    return ok;
  }

  // The job's attributes as the scheduler keeps them, as texts.
  static std::map<std::string, std::string> JobAttributes(int jobId) {
    std::map<std::string, std::string> values;
    int port = std::stoi(server->Server().substr(server->Server().find(':') + 1));
    http_t* http = httpConnect2("localhost", port, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_IF_REQUESTED, 1, 10000, nullptr);
    if (!http) return values;
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    std::string uri = "ipp://localhost:" + std::to_string(port) + "/jobs/" + std::to_string(jobId);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
    ipp_t* response = cupsDoRequest(http, request, "/");
    for (ipp_attribute_t* a = ippFirstAttribute(response); a; a = ippNextAttribute(response)) {
      if (!ippGetName(a)) continue;
      char text[1024];
      ippAttributeString(a, text, sizeof text);
      values[ippGetName(a)] = text;
    }
    ippDelete(response);
    httpClose(http);
    return values;
  }

  static std::unique_ptr<PrivateCupsServer> server;
  static bool started;
};

std::unique_ptr<PrivateCupsServer> CupsPrinting::server;
bool CupsPrinting::started = false;

DEVMODE Paper(short code, short orientation = DMORIENT_PORTRAIT) {
  DEVMODE m{};
  m.dmFields = DM_PAPERSIZE | DM_ORIENTATION;
  m.dmPaperSize = code;
  m.dmOrientation = orientation;
  return m;
}

void PrintPage(HDC dc) {
  ASSERT_GT(StartPage(dc), 0);
  Rectangle(dc, 0, 0, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES));
  ASSERT_GT(EndPage(dc), 0);
}

template <class T>
std::vector<T> Capability(const char* printer, WORD what) {
  int n = DeviceCapabilities(printer, nullptr, what, nullptr, nullptr);
  std::vector<T> out(static_cast<size_t>(std::max(n, 0)));
  EXPECT_EQ(DeviceCapabilities(printer, nullptr, what, reinterpret_cast<char*>(out.data()), nullptr), n);
  return out;
}

}  // namespace

TEST_F(CupsPrinting, QueuesAreThePrintersAndTheServersDefaultIsTheDefault) {
  std::string sink = Queue("ListSink");
  Queue("ListOther");
  ASSERT_TRUE(Admin("lpadmin", {"-d", "ListOther"}));
  DWORD needed = 0, count = 0;
  EnumPrinters(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 5, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed);
  ASSERT_TRUE(EnumPrinters(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 5, buffer.data(), needed, &needed,
                           &count));
  auto* info = reinterpret_cast<PRINTER_INFO_5*>(buffer.data());
  std::map<std::string, std::pair<std::string, bool>> listed;
  for (DWORD i = 0; i < count; ++i)
    listed[info[i].pPrinterName] = {info[i].pPortName, (info[i].Attributes & PRINTER_ATTRIBUTE_DEFAULT) != 0};
  ASSERT_TRUE(listed.count("ListSink") && listed.count("ListOther")) << "listed " << count;
  EXPECT_EQ(listed["ListSink"].first, "file://" + sink);
  EXPECT_FALSE(listed["ListSink"].second);
  EXPECT_TRUE(listed["ListOther"].second);
  char name[128];
  DWORD size = sizeof name;
  ASSERT_TRUE(GetDefaultPrinter(name, &size));
  EXPECT_STREQ(name, "ListOther");
}

TEST_F(CupsPrinting, PapersBinsResolutionAndMarginsComeFromTheQueue) {
  Queue("Caps");
  auto codes = Capability<WORD>("Caps", DC_PAPERS);
  std::sort(codes.begin(), codes.end());
  EXPECT_EQ(codes, (std::vector<WORD>{DMPAPER_LETTER, DMPAPER_LEGAL, DMPAPER_A4, DMPAPER_A5, DMPAPER_B5, DMPAPER_USER}))
      << "A4, Letter, A5, Legal, JIS B5 and the 100 x 150 mm card";
  auto bins = Capability<WORD>("Caps", DC_BINS);
  EXPECT_EQ(bins, (std::vector<WORD>{DMBIN_AUTO, DMBIN_UPPER, DMBIN_LOWER, DMBIN_MANUAL}));
  EXPECT_EQ(DeviceCapabilities("Caps", nullptr, DC_DUPLEX, nullptr, nullptr), 1);
  DEVMODE defaults;
  ASSERT_EQ(DocumentProperties(nullptr, nullptr, "Caps", &defaults, nullptr, DM_OUT_BUFFER), 1);
  EXPECT_EQ(defaults.dmPaperSize, DMPAPER_A4);
  EXPECT_EQ(defaults.dmDefaultSource, DMBIN_AUTO);

  HDC dc = CreateDC(nullptr, "Caps", nullptr, nullptr);
  ASSERT_NE(dc, nullptr) << GetLastPrintErrorText();
  // The queue's A4 prints from 5 mm left, 4.94 mm right and 10 mm top and bottom.
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 600);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 600);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 4961);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 7016);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 118);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETY), 236);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 4726);
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 6543);
  EXPECT_EQ(GetDeviceCaps(dc, HORZSIZE), 200);
  EXPECT_EQ(GetDeviceCaps(dc, VERTSIZE), 277);
  DEVMODE letter = Paper(DMPAPER_LETTER);
  ASSERT_EQ(ResetDC(dc, &letter), dc);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 150) << "a quarter inch";
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 4800);
  DeleteDC(dc);
}

TEST_F(CupsPrinting, ThreePagesOfTwoOrientationsAndTwoPapersArriveAsOnePdf) {
  std::string arrives = Queue("Pages");
  DEVMODE a4 = Paper(DMPAPER_A4), turned = Paper(DMPAPER_A4, DMORIENT_LANDSCAPE), letter = Paper(DMPAPER_LETTER);
  HDC dc = CreateDC(nullptr, "Pages", nullptr, &a4);
  ASSERT_NE(dc, nullptr) << GetLastPrintErrorText();
  DOCINFO info;
  info.lpszDocName = "Three pages";
  ASSERT_GT(StartDoc(dc, &info), 0) << GetLastPrintErrorText();
  PrintPage(dc);
  ResetDC(dc, &turned);
  PrintPage(dc);
  ResetDC(dc, &letter);
  PrintPage(dc);
  int job = EndDoc(dc);
  ASSERT_GT(job, 0) << GetLastPrintErrorText();
  DeleteDC(dc);

  std::string pdf = server->WaitForPdf(arrives);
  ASSERT_FALSE(pdf.empty()) << "no PDF arrived in " << arrives << "\n" << server->LogTail();
  std::vector<PdfPage> pages = ReadPdfPages(pdf);
  ASSERT_EQ(pages.size(), 3u);
  double expected[3][2] = {{595.3, 841.9}, {841.9, 595.3}, {612, 792}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(pages[i].width, expected[i][0], 0.5) << "page " << i + 1;
    EXPECT_NEAR(pages[i].height, expected[i][1], 0.5) << "page " << i + 1;
  }
  auto attributes = JobAttributes(job);
  EXPECT_EQ(attributes["document-name-supplied"], "Three pages");
  EXPECT_EQ(attributes["media"], "iso_a4_210x297mm");
  EXPECT_EQ(attributes.count("orientation-requested"), 0u) << "mixed pages keep their own orientations";
}

TEST_F(CupsPrinting, TheDeviceModeBecomesTheJobsOptions) {
  Queue("Options");
  DEVMODE mode = Paper(DMPAPER_LETTER);
  mode.dmFields |= DM_COPIES | DM_COLLATE | DM_DUPLEX | DM_DEFAULTSOURCE;
  mode.dmCopies = 2;
  mode.dmCollate = DMCOLLATE_TRUE;
  mode.dmDuplex = DMDUP_VERTICAL;
  mode.dmDefaultSource = DMBIN_MANUAL;
  HDC dc = CreateDC(nullptr, "Options", nullptr, &mode);
  ASSERT_NE(dc, nullptr) << GetLastPrintErrorText();
  DOCINFO info;
  ASSERT_GT(StartDoc(dc, &info), 0);
  PrintPage(dc);
  int job = EndDoc(dc);
  ASSERT_GT(job, 0) << GetLastPrintErrorText();
  DeleteDC(dc);
  auto attributes = JobAttributes(job);
  EXPECT_EQ(attributes["media"], "na_letter_8.5x11in");
  EXPECT_EQ(attributes["orientation-requested"], "portrait");
  EXPECT_EQ(attributes["copies"], "2");
  EXPECT_EQ(attributes["multiple-document-handling"], "separate-documents-collated-copies");
  EXPECT_EQ(attributes["sides"], "two-sided-long-edge");
  EXPECT_EQ(attributes["media-source"], "manual");
}

TEST_F(CupsPrinting, AJobARejectingOrRemovedQueueRefusesFailsWithTheCupsText) {
  Queue("Refusing");
  HDC dc = CreateDC(nullptr, "Refusing", nullptr, nullptr);
  ASSERT_NE(dc, nullptr) << GetLastPrintErrorText();
  DOCINFO info;
  auto print = [&] {
    EXPECT_GT(StartDoc(dc, &info), 0);
    PrintPage(dc);
    return EndDoc(dc);
  };
  ASSERT_TRUE(Admin("cupsreject", {"Refusing"}));
  EXPECT_LE(print(), 0);
  EXPECT_EQ(GetLastError(), ERROR_PRINT_SYSTEM);
  EXPECT_NE(GetLastPrintErrorText().find("not accepting jobs"), std::string::npos) << GetLastPrintErrorText();

  // A stopped queue keeps the job until it is started again, as a paused
  // printer does: that is no failure.
  ASSERT_TRUE(Admin("cupsaccept", {"Refusing"}));
  ASSERT_TRUE(Admin("cupsdisable", {"Refusing"}));
  int held = print();
  EXPECT_GT(held, 0) << GetLastPrintErrorText();
  EXPECT_EQ(JobAttributes(held)["job-state"], "pending");

  ASSERT_TRUE(Admin("lpadmin", {"-x", "Refusing"}));
  EXPECT_LE(print(), 0);
  EXPECT_EQ(GetLastError(), ERROR_PRINT_SYSTEM);
  EXPECT_NE(GetLastPrintErrorText().find("does not exist"), std::string::npos) << GetLastPrintErrorText();
  DeleteDC(dc);
  EXPECT_EQ(CreateDC(nullptr, "Refusing", nullptr, nullptr), nullptr);
  EXPECT_NE(GetLastPrintErrorText().find("does not exist"), std::string::npos) << GetLastPrintErrorText();
}

TEST_F(CupsPrinting, RawBytesArriveAsTheyWereWritten) {
  std::string arrives = Queue("Raw");
  HANDLE printer = nullptr;
  ASSERT_TRUE(OpenPrinter("Raw", &printer, nullptr)) << GetLastPrintErrorText();
  DOC_INFO_1 doc{"Labels", nullptr, "RAW"};
  ASSERT_GT(StartDocPrinter(printer, 1, reinterpret_cast<const BYTE*>(&doc)), 0u) << GetLastPrintErrorText();
  std::string bytes = "\x1b@ESC sequences and text\r\n\f";
  DWORD written = 0;
  EXPECT_TRUE(WritePrinter(printer, bytes.data(), static_cast<DWORD>(bytes.size()), &written));
  EXPECT_TRUE(EndDocPrinter(printer)) << GetLastPrintErrorText();
  EXPECT_TRUE(ClosePrinter(printer));
  EXPECT_EQ(server->WaitForBytes(arrives, bytes.size()), bytes) << server->LogTail();
}
