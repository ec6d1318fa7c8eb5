#include "platform/win/PrinterDC.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "tests/platform/win/FakePrintSystem.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/Windows.h"
#include "tests/support/PdfPages.h"
#include "tests/support/TempFolder.h"

using namespace win;

namespace {

class PrinterDCs : public testing::Test {
 protected:
  void SetUp() override {
    auto system = std::make_unique<FakePrintSystem>();
    fake = system.get();
    fake->destinations = {{"Office", "usb://Maker/Model", true}};
    fake->devices["Office"] = FakePrintSystem::Office();
    SetPrintSystem(std::move(system));
    SetVirtualPrinterFolder(folder.string());
  }
  void TearDown() override {
    SetPrintSystem(nullptr);
    SetVirtualPrinterFolder("");
  }

  FakePrintSystem* fake = nullptr;
  TempFolder printed{"printdc"};
  std::filesystem::path folder = printed.Path();
};

DEVMODE Paper(short code, short orientation = DMORIENT_PORTRAIT) {
  DEVMODE m{};
  m.dmFields = DM_PAPERSIZE | DM_ORIENTATION;
  m.dmPaperSize = code;
  m.dmOrientation = orientation;
  return m;
}

struct Caps {
  int dpiX, dpiY, physicalWidth, physicalHeight, offsetX, offsetY, horzRes, vertRes, horzSize, vertSize;
  friend bool operator==(const Caps&, const Caps&) = default;
};

std::ostream& operator<<(std::ostream& os, const Caps& c) {
  return os << c.dpiX << "/" << c.dpiY << " paper " << c.physicalWidth << "x" << c.physicalHeight << " offset "
            << c.offsetX << "," << c.offsetY << " printable " << c.horzRes << "x" << c.vertRes << " ("
            << c.horzSize << "x" << c.vertSize << " mm)";
}

Caps CapsOf(HDC dc) {
  return {GetDeviceCaps(dc, LOGPIXELSX),      GetDeviceCaps(dc, LOGPIXELSY),      GetDeviceCaps(dc, PHYSICALWIDTH),
          GetDeviceCaps(dc, PHYSICALHEIGHT),  GetDeviceCaps(dc, PHYSICALOFFSETX), GetDeviceCaps(dc, PHYSICALOFFSETY),
          GetDeviceCaps(dc, HORZRES),         GetDeviceCaps(dc, VERTRES),         GetDeviceCaps(dc, HORZSIZE),
          GetDeviceCaps(dc, VERTSIZE)};
}

// Draws a frame round the printable area, so a page has something on it.
void DrawPage(HDC dc) {
  Rectangle(dc, 0, 0, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES));
  TextOut(dc, 100, 100, "page", 4);
}

void ExpectPage(const PdfPage& page, double width, double height, int index) {
  EXPECT_NEAR(page.width, width, 0.5) << "page " << index;
  EXPECT_NEAR(page.height, height, 0.5) << "page " << index;
}

}  // namespace

TEST_F(PrinterDCs, VirtualPrinterIs600DpiWithFiveMillimetreMargins) {
  HDC dc = CreateIC(nullptr, VirtualPrinterName(), nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
  // A4 at 600 dpi: 4961 x 7016 units; 5 mm = 118 units.
  EXPECT_EQ(CapsOf(dc), (Caps{600, 600, 4961, 7016, 118, 118, 4724, 6780, 200, 287}));
  DEVMODE landscape = Paper(DMPAPER_A4, DMORIENT_LANDSCAPE);
  ASSERT_EQ(ResetDC(dc, &landscape), dc);
  EXPECT_EQ(CapsOf(dc), (Caps{600, 600, 7016, 4961, 118, 118, 6780, 4724, 287, 200}));
  DEVMODE letter = Paper(DMPAPER_LETTER);
  ASSERT_EQ(ResetDC(dc, &letter), dc);
  EXPECT_EQ(CapsOf(dc), (Caps{600, 600, 5100, 6600, 118, 118, 4864, 6364, 206, 269}));
  DEVMODE custom{};
  custom.dmFields = DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH;
  custom.dmPaperSize = DMPAPER_USER;
  custom.dmPaperWidth = 1000;
  custom.dmPaperLength = 1500;
  ASSERT_EQ(ResetDC(dc, &custom), dc);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 2362) << "a custom size keeps its width and length";
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 3543);
  EXPECT_EQ(StartDoc(dc, nullptr), SP_ERROR) << "an information context does not print";
  DeleteDC(dc);
}

TEST_F(PrinterDCs, PrinterMarginsComeFromTheImageableAreaOfItsMedia) {
  HDC dc = CreateDC(nullptr, "Office", nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  // A4 with the margins of the printer's A4: 5, 10, 4.94 and 10 mm.
  EXPECT_EQ(CapsOf(dc), (Caps{600, 600, 4961, 7016, 118, 236, 4726, 6543, 200, 277}));
  DEVMODE landscape = Paper(DMPAPER_A4, DMORIENT_LANDSCAPE);
  ResetDC(dc, &landscape);
  // Turned a quarter counter-clockwise: the top margin is now on the left.
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 236);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETY), 117);
  DEVMODE card{};
  card.dmFields = DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH;
  card.dmPaperSize = DMPAPER_USER;
  card.dmPaperWidth = 1000;
  card.dmPaperLength = 1500;
  ResetDC(dc, &card);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 0) << "the printer's own card prints edge to edge";
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 2362);
  DeleteDC(dc);
  EXPECT_EQ(CreateDC(nullptr, "Gone", nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PRINTER_NAME);
}

TEST_F(PrinterDCs, ADocumentIsOneJobWithItsPagesAndMappedOptions) {
  DEVMODE mode = Paper(DMPAPER_A4);
  mode.dmFields |= DM_COPIES | DM_COLLATE | DM_DUPLEX | DM_DEFAULTSOURCE;
  mode.dmCopies = 2;
  mode.dmCollate = DMCOLLATE_TRUE;
  mode.dmDuplex = DMDUP_VERTICAL;
  mode.dmDefaultSource = DMBIN_MANUAL;
  HDC dc = CreateDC(nullptr, "Office", nullptr, &mode);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(StartPage(dc), SP_ERROR);
  EXPECT_EQ(GetLastError(), ERROR_SPL_NO_STARTDOC);
  DOCINFO info;
  info.lpszDocName = "Channels";
  ASSERT_GT(StartDoc(dc, &info), 0);
  ASSERT_GT(StartPage(dc), 0);
  DrawPage(dc);
  EXPECT_EQ(ResetDC(dc, &mode), nullptr) << "not inside a page";
  ASSERT_GT(EndPage(dc), 0);
  DEVMODE landscape = Paper(DMPAPER_A4, DMORIENT_LANDSCAPE);
  ASSERT_EQ(ResetDC(dc, &landscape), dc);
  ASSERT_GT(StartPage(dc), 0);
  DrawPage(dc);
  ASSERT_GT(EndPage(dc), 0);
  DEVMODE letter = Paper(DMPAPER_LETTER);
  ASSERT_EQ(ResetDC(dc, &letter), dc);
  ASSERT_GT(StartPage(dc), 0);
  DrawPage(dc);
  EXPECT_TRUE(fake->jobs.empty()) << "nothing is sent before the document ends";
  int job = EndDoc(dc);  // ends the open page too
  EXPECT_EQ(job, 101) << "the print system's job number";
  ASSERT_EQ(fake->jobs.size(), 1u);
  const FakeJob& sent = *fake->jobs[0];
  EXPECT_TRUE(sent.finished);
  EXPECT_EQ(sent.printer, "Office");
  EXPECT_EQ(sent.ticket.title, "Channels");
  EXPECT_EQ(sent.ticket.format, kPdfFormat);
  EXPECT_EQ(sent.ticket.media, "iso_a4_210x297mm") << "the first page's paper";
  EXPECT_EQ(sent.ticket.orientation, 0) << "the pages carry their own orientations";
  EXPECT_EQ(sent.ticket.copies, 2);
  EXPECT_EQ(sent.ticket.collate, 1);
  EXPECT_EQ(sent.ticket.sides, "two-sided-long-edge");
  EXPECT_EQ(sent.ticket.source, "manual");
  std::vector<PdfPage> pages = ReadPdfPages(sent.data);
  ASSERT_EQ(pages.size(), 3u);
  ExpectPage(pages[0], 595.0, 842.0, 0);
  ExpectPage(pages[1], 842.0, 595.0, 1);
  ExpectPage(pages[2], 612.0, 792.0, 2);
  DeleteDC(dc);
}

TEST_F(PrinterDCs, AJobAsksForAnOrientationOnlyWhenAllItsPagesShareIt) {
  struct Case {
    short first, second;
    int expected;
  } cases[] = {{DMORIENT_LANDSCAPE, DMORIENT_LANDSCAPE, 4}, {DMORIENT_PORTRAIT, DMORIENT_PORTRAIT, 3}};
  for (const Case& c : cases) {
    DEVMODE first = Paper(DMPAPER_A4, c.first), second = Paper(DMPAPER_LETTER, c.second);
    HDC dc = CreateDC(nullptr, "Office", nullptr, &first);
    DOCINFO info;
    ASSERT_GT(StartDoc(dc, &info), 0);
    StartPage(dc);
    EndPage(dc);
    ResetDC(dc, &second);
    StartPage(dc);
    EndPage(dc);
    ASSERT_GT(EndDoc(dc), 0);
    DeleteDC(dc);
    EXPECT_EQ(fake->jobs.back()->ticket.orientation, c.expected);
    EXPECT_EQ(fake->jobs.back()->ticket.copies, 0) << "one copy is the printer's default";
    EXPECT_EQ(fake->jobs.back()->ticket.collate, -1);
  }
  // A size the printer does not list goes by a name that describes it.
  DEVMODE a5 = Paper(DMPAPER_A5);
  HDC dc = CreateDC(nullptr, "Office", nullptr, &a5);
  DOCINFO info;
  StartDoc(dc, &info);
  StartPage(dc);
  ASSERT_GT(EndDoc(dc), 0);
  EXPECT_EQ(fake->jobs.back()->ticket.media, "custom_148x210mm_148x210mm");
  // No pages, no job.
  size_t jobs = fake->jobs.size();
  ASSERT_GT(StartDoc(dc, &info), 0);
  EXPECT_GT(EndDoc(dc), 0);
  EXPECT_EQ(fake->jobs.size(), jobs);
  DeleteDC(dc);
}

TEST_F(PrinterDCs, ARefusedJobFailsWithThePrintSystemsText) {
  HDC dc = CreateDC(nullptr, "Office", nullptr, nullptr);
  DOCINFO info;
  for (bool atFinish : {false, true}) {
    fake->refuseJob = atFinish ? "" : "Destination \"Office\" is not accepting jobs.";
    fake->refuseFinish = atFinish ? "client-error-document-format-not-supported" : "";
    ASSERT_GT(StartDoc(dc, &info), 0);
    StartPage(dc);
    DrawPage(dc);
    EndPage(dc);
    EXPECT_EQ(EndDoc(dc), SP_ERROR);
    EXPECT_EQ(GetLastError(), ERROR_PRINT_SYSTEM);
    EXPECT_EQ(GetLastPrintErrorText(), atFinish ? fake->refuseFinish : fake->refuseJob);
  }
  EXPECT_TRUE(fake->jobs.back()->cancelled) << "a job refused at its end is withdrawn";
  // The DC prints again once the printer takes jobs.
  fake->refuseFinish.clear();
  ASSERT_GT(StartDoc(dc, &info), 0);
  StartPage(dc);
  EXPECT_GT(EndDoc(dc), 0);
  DeleteDC(dc);
}

TEST_F(PrinterDCs, AbortingOrDeletingDropsTheDocument) {
  std::string path = (folder / "report.pdf").string();
  HDC dc = CreateDC(nullptr, "Office", nullptr, nullptr);
  DOCINFO toFile;
  toFile.lpszOutput = path.c_str();
  DOCINFO spooled;
  for (DOCINFO* info : {&toFile, &spooled}) {
    ASSERT_GT(StartDoc(dc, info), 0);
    StartPage(dc);
    DrawPage(dc);
    EXPECT_GT(AbortDoc(dc), 0);
    EXPECT_EQ(AbortDoc(dc), SP_ERROR) << "nothing left to abort";
  }
  EXPECT_FALSE(std::filesystem::exists(path));
  ASSERT_GT(StartDoc(dc, &toFile), 0);
  StartPage(dc);
  DeleteDC(dc);
  EXPECT_FALSE(std::filesystem::exists(path)) << "deleting the DC abandons its document";
  EXPECT_TRUE(fake->jobs.empty());
}

TEST_F(PrinterDCs, PrintToFileWritesThePdfThere) {
  std::string path = (folder / "report.pdf").string();
  HDC dc = CreateDC(nullptr, "Office", nullptr, nullptr);
  DOCINFO info;
  info.lpszDocName = "Channels";
  info.lpszOutput = path.c_str();
  ASSERT_GT(StartDoc(dc, &info), 0);
  for (int i = 0; i < 2; ++i) {
    StartPage(dc);
    DrawPage(dc);
    EndPage(dc);
  }
  ASSERT_GT(EndDoc(dc), 0);
  EXPECT_TRUE(fake->jobs.empty()) << "the file takes the place of the printer";
  std::string pdf = ReadWholeFile(path);
  EXPECT_EQ(ReadPdfPages(pdf).size(), 2u);
  EXPECT_NE(pdf.find("Channels"), std::string::npos) << "the title is in the document's information";

  info.lpszOutput = "/nonexistent-folder/report.pdf";
  EXPECT_EQ(StartDoc(dc, &info), SP_ERROR);
  EXPECT_EQ(GetLastError(), ERROR_WRITE_FAULT);
  EXPECT_NE(GetLastPrintErrorText().find("/nonexistent-folder/report.pdf"), std::string::npos)
      << GetLastPrintErrorText();
  DeleteDC(dc);
}

TEST_F(PrinterDCs, VirtualPrinterWritesEachJobToAFileOfItsOwn) {
  fake->destinations.clear();
  HDC dc = CreateDC(nullptr, VirtualPrinterName(), nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  DOCINFO info;
  info.lpszDocName = "Channels";
  for (int job = 0; job < 2; ++job) {
    ASSERT_GT(StartDoc(dc, &info), 0);
    StartPage(dc);
    DrawPage(dc);
    EndPage(dc);
    ASSERT_GT(EndDoc(dc), 0);
  }
  DeleteDC(dc);
  auto first = ReadPdfPages(ReadWholeFile((folder / "Channels.pdf").string()));
  ASSERT_EQ(first.size(), 1u);
  ExpectPage(first[0], 595.3, 841.9, 0);
  EXPECT_EQ(ReadPdfPages(ReadWholeFile((folder / "Channels (2).pdf").string())).size(), 1u);
}
