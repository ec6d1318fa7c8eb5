#include "platform/win/WinSpool.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/platform/win/FakePrintSystem.h"
#include "platform/win/Windows.h"
#include "tests/support/PdfPages.h"
#include "tests/support/TempFolder.h"

using namespace win;

namespace {

class Spooler : public testing::Test {
 protected:
  void SetUp() override {
    auto system = std::make_unique<FakePrintSystem>();
    fake = system.get();
    fake->destinations = {{"Office", "usb://Maker/Model", false}, {"Plain", "socket://10.0.0.7", true}};
    fake->devices["Office"] = FakePrintSystem::Office();
    win::PrintDeviceInfo plain;  // says nothing about itself
    fake->devices["Plain"] = plain;
    SetPrintSystem(std::move(system));
    SetVirtualPrinterFolder(folder.string());
  }
  void TearDown() override {
    SetPrintSystem(nullptr);
    SetVirtualPrinterFolder("");
  }

  // EnumPrinters the way callers do: ask for the size, then fill.
  std::vector<BYTE> Enum(DWORD flags, DWORD level, DWORD& count) {
    DWORD needed = 0;
    count = 0;
    EnumPrinters(flags, nullptr, level, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    EXPECT_TRUE(EnumPrinters(flags, nullptr, level, buffer.data(), needed, &needed, &count));
    return buffer;
  }

  FakePrintSystem* fake = nullptr;
  TempFolder spooled{"spool"};
  std::filesystem::path folder = spooled.Path();
};

std::vector<std::string> PaperNames(const char* printer) {
  int n = DeviceCapabilities(printer, nullptr, DC_PAPERNAMES, nullptr, nullptr);
  std::vector<char> names(static_cast<size_t>(n) * 64, 'x');
  DeviceCapabilities(printer, nullptr, DC_PAPERNAMES, names.data(), nullptr);
  std::vector<std::string> out;
  for (int i = 0; i < n; ++i) out.emplace_back(&names[static_cast<size_t>(i) * 64]);
  return out;
}

template <class T>
std::vector<T> Capability(const char* printer, WORD what) {
  int n = DeviceCapabilities(printer, nullptr, what, nullptr, nullptr);
  std::vector<T> out(static_cast<size_t>(std::max(n, 0)));
  EXPECT_EQ(DeviceCapabilities(printer, nullptr, what, reinterpret_cast<char*>(out.data()), nullptr), n);
  return out;
}

}  // namespace

TEST_F(Spooler, EnumPrintersListsTheDestinationsInTheCallersBuffer) {
  DWORD needed = 0, count = 0;
  EXPECT_FALSE(EnumPrinters(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(needed, 2 * sizeof(PRINTER_INFO_4) + sizeof("Office") + sizeof("Plain"));
  std::vector<BYTE> small(needed - 1);
  EXPECT_FALSE(EnumPrinters(PRINTER_ENUM_LOCAL, nullptr, 4, small.data(), needed - 1, &needed, &count));
  EXPECT_EQ(count, 0u);

  std::vector<BYTE> four = Enum(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, 4, count);
  ASSERT_EQ(count, 2u);
  auto* info4 = reinterpret_cast<PRINTER_INFO_4*>(four.data());
  EXPECT_STREQ(info4[0].pPrinterName, "Office");
  EXPECT_EQ(info4[0].pServerName, nullptr);
  EXPECT_EQ(info4[0].Attributes & PRINTER_ATTRIBUTE_DEFAULT, 0u);
  EXPECT_STREQ(info4[1].pPrinterName, "Plain");
  EXPECT_NE(info4[1].Attributes & PRINTER_ATTRIBUTE_DEFAULT, 0u);

  std::vector<BYTE> five = Enum(PRINTER_ENUM_LOCAL, 5, count);
  ASSERT_EQ(count, 2u);
  auto* info5 = reinterpret_cast<PRINTER_INFO_5*>(five.data());
  EXPECT_STREQ(info5[0].pPortName, "usb://Maker/Model");
  EXPECT_STREQ(info5[1].pPortName, "socket://10.0.0.7");

  Enum(PRINTER_ENUM_DEFAULT, 4, count);
  EXPECT_EQ(count, 1u);
  EXPECT_FALSE(EnumPrinters(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_LEVEL);
}

TEST_F(Spooler, DefaultPrinterIsTheSystemsDefaultElseItsFirst) {
  char name[64];
  DWORD size = 2;
  EXPECT_FALSE(GetDefaultPrinter(name, &size));
  EXPECT_EQ(size, sizeof("Plain"));
  ASSERT_TRUE(GetDefaultPrinter(name, &size));
  EXPECT_STREQ(name, "Plain");
  EXPECT_EQ(GetProfileString("Windows", "Device", "", name, sizeof name), std::strlen("Plain,winspool,socket://10.0.0.7"));
  EXPECT_STREQ(name, "Plain,winspool,socket://10.0.0.7");
  EXPECT_EQ(GetProfileString("windows", "other", "fallback", name, 5), 4u);
  EXPECT_STREQ(name, "fall");

  fake->destinations[1].isDefault = false;
  size = sizeof name;
  ASSERT_TRUE(GetDefaultPrinter(name, &size));
  EXPECT_STREQ(name, "Office");
}

TEST_F(Spooler, WithoutDestinationsTheVirtualPrinterIsTheOnePrinter) {
  for (bool reachable : {true, false}) {
    fake->reachable = reachable;
    fake->destinations.clear();
    DWORD count = 0;
    std::vector<BYTE> five = Enum(PRINTER_ENUM_LOCAL, 5, count);
    ASSERT_EQ(count, 1u) << reachable;
    auto* info = reinterpret_cast<PRINTER_INFO_5*>(five.data());
    EXPECT_STREQ(info->pPrinterName, VirtualPrinterName());
    EXPECT_EQ(info->pPortName, folder.string()) << "the port shows where its files go";
    EXPECT_NE(info->Attributes & PRINTER_ATTRIBUTE_DEFAULT, 0u);
  }
  auto papers = Capability<WORD>(VirtualPrinterName(), DC_PAPERS);
  ASSERT_EQ(papers.size(), 66u);
  EXPECT_EQ(papers[8], DMPAPER_A4);
  EXPECT_EQ(PaperNames(VirtualPrinterName())[8], "A4");
  EXPECT_EQ(Capability<WORD>(VirtualPrinterName(), DC_BINS), std::vector<WORD>{DMBIN_AUTO});
  LONG dpi[2] = {};
  EXPECT_EQ(DeviceCapabilities(VirtualPrinterName(), nullptr, DC_ENUMRESOLUTIONS, reinterpret_cast<char*>(dpi), nullptr), 1);
  EXPECT_EQ(dpi[0], 600);
  EXPECT_EQ(dpi[1], 600);
  DEVMODE mode;
  ASSERT_EQ(DocumentProperties(nullptr, nullptr, VirtualPrinterName(), &mode, nullptr, DM_OUT_BUFFER), 1);
  EXPECT_EQ(mode.dmPaperSize, DMPAPER_A4);
  EXPECT_EQ(mode.dmOrientation, DMORIENT_PORTRAIT);
}

TEST_F(Spooler, DeviceCapabilitiesGivesPapersAsCodesAndBinsOfThePrinter) {
  auto codes = Capability<WORD>("Office", DC_PAPERS);
  EXPECT_EQ(codes, (std::vector<WORD>{DMPAPER_A4, DMPAPER_LETTER, DMPAPER_USER}))
      << "A4 without borders is still A4 and is listed once; the card has no code";
  EXPECT_EQ(PaperNames("Office"), (std::vector<std::string>{"A4", "Letter", "Card 100x150mm"}));
  auto sizes = Capability<POINT>("Office", DC_PAPERSIZE);
  ASSERT_EQ(sizes.size(), 3u);
  EXPECT_EQ(sizes[0], (POINT{2099, 2970}));
  EXPECT_EQ(sizes[2], (POINT{1000, 1500}));
  EXPECT_EQ(Capability<WORD>("Office", DC_BINS), (std::vector<WORD>{7, 1, 2, 4}));
  int n = DeviceCapabilities("Office", nullptr, DC_BINNAMES, nullptr, nullptr);
  std::vector<char> names(static_cast<size_t>(n) * 24);
  DeviceCapabilities("Office", nullptr, DC_BINNAMES, names.data(), nullptr);
  EXPECT_STREQ(&names[0], "Automatically Select");
  EXPECT_STREQ(&names[24 * 3], "Manual Feed");
  EXPECT_EQ(DeviceCapabilities("Office", nullptr, DC_DUPLEX, nullptr, nullptr), 1);
  EXPECT_EQ(DeviceCapabilities("Office", nullptr, DC_COPIES, nullptr, nullptr), 99);
  EXPECT_EQ(DeviceCapabilities("Office", nullptr, DC_COLLATE, nullptr, nullptr), 1);
  EXPECT_EQ(DeviceCapabilities("Office", nullptr, DC_ORIENTATION, nullptr, nullptr), 90);

  // A printer that names nothing still has a paper to print on.
  EXPECT_EQ(Capability<WORD>("Plain", DC_PAPERS), std::vector<WORD>{DMPAPER_A4});
  EXPECT_EQ(DeviceCapabilities("Plain", nullptr, DC_BINS, nullptr, nullptr), 0);
  EXPECT_EQ(DeviceCapabilities("Plain", nullptr, DC_DUPLEX, nullptr, nullptr), 0);

  EXPECT_EQ(DeviceCapabilities("Gone", nullptr, DC_PAPERS, nullptr, nullptr), -1);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PRINTER_NAME);
  EXPECT_EQ(GetLastPrintErrorText(), "The printer or class does not exist.");
  EXPECT_EQ(DeviceCapabilities("Office", nullptr, 99, nullptr, nullptr), -1);
  EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
}

TEST_F(Spooler, DocumentPropertiesGivesDefaultsAndTakesWhatThePrinterCanDo) {
  HANDLE printer = nullptr;
  EXPECT_FALSE(OpenPrinter("Gone", &printer, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PRINTER_NAME);
  ASSERT_TRUE(OpenPrinter("Office", &printer, nullptr));
  EXPECT_EQ(DocumentProperties(nullptr, printer, nullptr, nullptr, nullptr, 0), static_cast<LONG>(sizeof(DEVMODE)));

  fake->devices["Office"].defaultSource = "bottom";
  fake->devices["Office"].defaultSides = "two-sided-short-edge";
  DEVMODE defaults;
  ASSERT_EQ(DocumentProperties(nullptr, printer, nullptr, &defaults, nullptr, DM_OUT_BUFFER), 1);
  EXPECT_STREQ(defaults.dmDeviceName, "Office");
  EXPECT_EQ(defaults.dmPaperSize, DMPAPER_A4);
  EXPECT_EQ(defaults.dmFields & (DM_PAPERWIDTH | DM_PAPERLENGTH), 0u)
      << "marked, they would override a paper code set later";
  EXPECT_EQ(defaults.dmDefaultSource, DMBIN_LOWER);
  EXPECT_EQ(defaults.dmDuplex, DMDUP_HORIZONTAL);
  EXPECT_EQ(defaults.dmPrintQuality, 600);
  EXPECT_EQ(defaults.dmCopies, 1);

  DEVMODE wish{};
  wish.dmFields = DM_PAPERSIZE | DM_ORIENTATION | DM_COPIES | DM_DEFAULTSOURCE | DM_DUPLEX;
  wish.dmPaperSize = DMPAPER_LETTER;
  wish.dmOrientation = DMORIENT_LANDSCAPE;
  wish.dmCopies = 500;          // more than the printer makes
  wish.dmDefaultSource = 300;   // no such bin
  wish.dmDuplex = DMDUP_VERTICAL;
  DEVMODE merged;
  ASSERT_EQ(DocumentProperties(nullptr, printer, nullptr, &merged, &wish, DM_IN_BUFFER | DM_OUT_BUFFER), 1);
  EXPECT_EQ(merged.dmPaperSize, DMPAPER_LETTER);
  EXPECT_STREQ(merged.dmFormName, "Letter");
  EXPECT_EQ(merged.dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(merged.dmCopies, 99);
  EXPECT_EQ(merged.dmDefaultSource, DMBIN_LOWER);
  EXPECT_EQ(merged.dmDuplex, DMDUP_VERTICAL);

  // No printer brings a dialog of its own; an installed one edits the mode.
  EXPECT_EQ(DocumentProperties(nullptr, printer, nullptr, &merged, &wish, DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER), 2);
  SetPrinterPropertiesPrompt([](HWND, const char* name, DEVMODE& mode) {
    mode.dmDefaultSource = DMBIN_MANUAL;
    return std::string(name) == "Office";
  });
  EXPECT_EQ(DocumentProperties(nullptr, printer, nullptr, &merged, &wish, DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER), 1);
  EXPECT_EQ(merged.dmDefaultSource, DMBIN_MANUAL);
  SetPrinterPropertiesPrompt(nullptr);

  EXPECT_TRUE(ClosePrinter(printer));
  EXPECT_FALSE(ClosePrinter(printer));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_LT(DocumentProperties(nullptr, printer, nullptr, &merged, nullptr, DM_OUT_BUFFER), 0);
}

TEST_F(Spooler, RawJobsSendTheirBytesAsTheyAre) {
  HANDLE printer = nullptr;
  ASSERT_TRUE(OpenPrinter("Office", &printer, nullptr));
  DWORD written = 0;
  EXPECT_FALSE(WritePrinter(printer, "x", 1, &written));
  EXPECT_EQ(GetLastError(), ERROR_SPL_NO_STARTDOC);

  DOC_INFO_1 doc{"Labels", nullptr, "RAW"};
  ASSERT_GT(StartDocPrinter(printer, 1, reinterpret_cast<const BYTE*>(&doc)), 0u);
  EXPECT_EQ(StartDocPrinter(printer, 1, reinterpret_cast<const BYTE*>(&doc)), 0u) << "one document at a time";
  EXPECT_TRUE(StartPagePrinter(printer));
  EXPECT_TRUE(WritePrinter(printer, "\x1b@line 1\r\n", 10, &written));
  EXPECT_EQ(written, 10u);
  EXPECT_TRUE(WritePrinter(printer, "\f", 1, &written));
  EXPECT_TRUE(EndPagePrinter(printer));
  EXPECT_TRUE(EndDocPrinter(printer));
  ASSERT_EQ(fake->jobs.size(), 1u);
  EXPECT_EQ(fake->jobs[0]->data, "\x1b@line 1\r\n\f");
  EXPECT_EQ(fake->jobs[0]->ticket.format, kRawFormat);
  EXPECT_EQ(fake->jobs[0]->ticket.title, "Labels");
  EXPECT_TRUE(fake->jobs[0]->finished);

  // Withdrawn, and closing the handle withdraws an open job too.
  ASSERT_GT(StartDocPrinter(printer, 1, reinterpret_cast<const BYTE*>(&doc)), 0u);
  EXPECT_TRUE(AbortPrinter(printer));
  EXPECT_TRUE(fake->jobs[1]->cancelled);
  ASSERT_GT(StartDocPrinter(printer, 1, reinterpret_cast<const BYTE*>(&doc)), 0u);
  EXPECT_TRUE(ClosePrinter(printer));
  EXPECT_TRUE(fake->jobs[2]->cancelled);

  // Refused at the end: the caller learns it, in the print system's words.
  fake->refuseFinish = "client-error-document-format-not-supported";
  ASSERT_TRUE(OpenPrinter("Office", &printer, nullptr));
  ASSERT_GT(StartDocPrinter(printer, 1, reinterpret_cast<const BYTE*>(&doc)), 0u);
  EXPECT_TRUE(WritePrinter(printer, "x", 1, &written));
  EXPECT_FALSE(EndDocPrinter(printer));
  EXPECT_EQ(GetLastError(), ERROR_PRINT_SYSTEM);
  EXPECT_EQ(GetLastPrintErrorText(), "client-error-document-format-not-supported");
  fake->refuseJob = "Destination \"Office\" is not accepting jobs.";
  EXPECT_EQ(StartDocPrinter(printer, 1, reinterpret_cast<const BYTE*>(&doc)), 0u);
  EXPECT_EQ(GetLastPrintErrorText(), fake->refuseJob);
  EXPECT_TRUE(ClosePrinter(printer));
}

TEST_F(Spooler, RawJobsGoToFilesOnTheVirtualPrinterAndWhenAsked) {
  std::string path = (folder / "out.prn").string();
  HANDLE printer = nullptr;
  ASSERT_TRUE(OpenPrinter("Office", &printer, nullptr));
  DOC_INFO_1 toFile{"Labels", path.c_str(), "RAW"};
  DWORD written = 0;
  ASSERT_GT(StartDocPrinter(printer, 1, reinterpret_cast<const BYTE*>(&toFile)), 0u);
  EXPECT_TRUE(WritePrinter(printer, "abc", 3, &written));
  EXPECT_TRUE(EndDocPrinter(printer));
  EXPECT_EQ(ReadWholeFile(path), "abc");
  EXPECT_TRUE(fake->jobs.empty());
  ASSERT_GT(StartDocPrinter(printer, 1, reinterpret_cast<const BYTE*>(&toFile)), 0u);
  EXPECT_TRUE(AbortPrinter(printer));
  EXPECT_FALSE(std::filesystem::exists(path)) << "an abandoned file is removed";
  DOC_INFO_1 nowhere{"Labels", "/nonexistent-folder/out.prn", "RAW"};
  EXPECT_EQ(StartDocPrinter(printer, 1, reinterpret_cast<const BYTE*>(&nowhere)), 0u);
  EXPECT_EQ(GetLastError(), ERROR_WRITE_FAULT);
  EXPECT_NE(GetLastPrintErrorText().find("No such file or directory"), std::string::npos) << GetLastPrintErrorText();
  EXPECT_TRUE(ClosePrinter(printer));

  ASSERT_TRUE(OpenPrinter(VirtualPrinterName(), &printer, nullptr));
  DOC_INFO_1 doc{"a/b", nullptr, "RAW"};
  for (int i = 0; i < 2; ++i) {
    ASSERT_GT(StartDocPrinter(printer, 1, reinterpret_cast<const BYTE*>(&doc)), 0u);
    EXPECT_TRUE(WritePrinter(printer, "xyz", 3, &written));
    EXPECT_TRUE(EndDocPrinter(printer));
  }
  EXPECT_EQ(ReadWholeFile((folder / "a_b.prn").string()), "xyz");
  EXPECT_EQ(ReadWholeFile((folder / "a_b (2).prn").string()), "xyz") << "an earlier file is not overwritten";
  EXPECT_TRUE(ClosePrinter(printer));
}
