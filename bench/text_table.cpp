#include "bench/text_table.h"

#include <algorithm>

namespace identstrip::bench {
namespace {

// Columns are measured in characters, not bytes: "×" and "µ" take two bytes.
std::size_t Width(const std::string& text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xc0) != 0x80; }));
}

}  // namespace

void TextTable::Print(std::FILE* out) const {
  std::vector<std::size_t> widths;
  for (const Line& line : rows_) {
    if (line.section) continue;
    if (widths.size() < line.cells.size()) widths.resize(line.cells.size(), 0);
    for (std::size_t i = 0; i < line.cells.size(); ++i) {
      widths[i] = std::max(widths[i], Width(line.cells[i]));
    }
  }
  std::size_t total = 0;
  for (const std::size_t w : widths) total += w + 2;

  for (std::size_t r = 0; r < rows_.size(); ++r) {
    const Line& line = rows_[r];
    if (line.section) {
      std::fprintf(out, "%s\n", line.cells[0].c_str());
      continue;
    }
    std::string text;
    for (std::size_t i = 0; i < line.cells.size(); ++i) {
      const std::string& cell = line.cells[i];
      const std::string pad(widths[i] - Width(cell), ' ');
      text += i == 0 ? "  " + cell + pad : "  " + pad + cell;
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    std::fprintf(out, "%s\n", text.c_str());
    if (r == 0) std::fprintf(out, "%s\n", std::string(total, '-').c_str());
  }
}

}  // namespace identstrip::bench
