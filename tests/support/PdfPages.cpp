#include "tests/support/PdfPages.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// The dictionary text of object number n ("n 0 obj" up to "endobj").
std::string ObjectText(const std::string& data, long n) {
  std::string head = "\n" + std::to_string(n) + " 0 obj";
  size_t at = data.find(head);
  if (at == std::string::npos) return "";
  size_t end = data.find("endobj", at);
  return data.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

std::vector<double> Numbers(const std::string& text, size_t from) {
  std::vector<double> values;
  const char* p = text.c_str() + from;
  while (*p && *p != ']') {
    char* next = nullptr;
    double v = std::strtod(p, &next);
    if (next == p) {
      ++p;
      continue;
    }
    values.push_back(v);
    p = next;
  }
  return values;
}

}  // namespace

std::vector<PdfPage> ReadPdfPages(const std::string& data) {
  std::vector<PdfPage> pages;
  if (data.rfind("%PDF-", 0) != 0) return pages;
  size_t tree = data.find("/Type /Pages");
  if (tree == std::string::npos) return pages;
  size_t kids = data.find("/Kids [", tree);
  size_t close = data.find(']', kids);
  if (kids == std::string::npos || close == std::string::npos) return pages;
  std::istringstream list(data.substr(kids + 7, close - kids - 7));
  long number = 0, generation = 0;
  std::string r;
  while (list >> number >> generation >> r) {
    std::string page = ObjectText(data, number);
    size_t box = page.find("/MediaBox [");
    if (box == std::string::npos) return {};
    std::vector<double> v = Numbers(page, box + 11);
    if (v.size() != 4) return {};
    pages.push_back({v[2] - v[0], v[3] - v[1]});
  }
  return pages;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
