// The pages of a PDF as the printing code writes it (uncompressed object
// dictionaries, one page tree): their number and media boxes, in points.
#pragma once

#include <string>
#include <vector>

struct PdfPage {
  double width = 0;
  double height = 0;
};

// The pages in the page tree's order; empty when data is no such PDF.
std::vector<PdfPage> ReadPdfPages(const std::string& data);
std::string ReadWholeFile(const std::string& path);
