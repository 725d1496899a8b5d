#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace identstrip::bench {

// A plain-text table: a heading row, rows of cells and section titles that
// span the table. The first column is left-aligned, the others right-aligned.
class TextTable {
 public:
  explicit TextTable(std::vector<std::string> heading) {
    rows_.push_back({false, std::move(heading)});
  }

  void Section(std::string title) { rows_.push_back({true, {std::move(title)}}); }
  void Row(std::vector<std::string> cells) { rows_.push_back({false, std::move(cells)}); }

  void Print(std::FILE* out) const;

 private:
  struct Line {
    bool section;
    std::vector<std::string> cells;
  };
  std::vector<Line> rows_;
};

}  // namespace identstrip::bench
