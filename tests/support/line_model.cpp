#include "tests/support/line_model.h"

#include "conversion/line_record.h"

namespace identstrip::testing {
namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';
constexpr char TAB = '\t';
constexpr char SUB = 26;

}  // namespace

std::vector<std::string> ModelReadLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t p = 0;
  const std::size_t n = bytes.size();
  // A SUB where a line would begin ends the readable text.
  while (p < n && bytes[p] != SUB) {
    // Read the whole line with its tabs expanded, then cut it to the record:
    // storing stops at the capacity but the line still runs to its end.
    std::string line;
    for (;;) {
      if (p + 1 < n && bytes[p] == CR && bytes[p + 1] == LF) {
        p += 2;
        break;
      }
      if (p < n && bytes[p] == SUB) {
        p += 1;
        break;
      }
      if (p == n) break;
      const char c = bytes[p++];
      if (c == TAB) {
        line.append(8 - line.size() % 8, ' ');
      } else {
        line.push_back(c);
      }
    }
    if (line.size() > LINE_CAPACITY) line.resize(LINE_CAPACITY);
    lines.push_back(std::move(line));
  }
  return lines;
}

bool RecordHolds(std::string_view record, std::string_view line) {
  static const std::string blanks(LINE_CAPACITY, ' ');
  return record.size() == LINE_CAPACITY && line.size() <= LINE_CAPACITY &&
         record.substr(0, line.size()) == line &&
         record.substr(line.size()) == std::string_view(blanks).substr(line.size());
}

std::string ModelWriteLine(std::string_view line) {
  std::string text(line);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text + CR + LF;
}

std::optional<std::string> ModelApplyIdentRule(const std::string& line) {
  if (line.substr(0, 9) != "!!> IDENT") return line;
  const std::size_t comma = line.find(',');
  if (comma == std::string::npos) return std::nullopt;
  return "!!> " + line.substr(comma + 1);
}

std::string ModelConvert(std::string_view input) {
  std::string output;
  for (const std::string& line : ModelReadLines(input)) {
    if (const auto kept = ModelApplyIdentRule(line)) output += ModelWriteLine(*kept);
  }
  return output;
}

}  // namespace identstrip::testing
