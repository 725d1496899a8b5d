#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "conversion/line_bytes.h"

namespace identstrip {

inline constexpr std::size_t LINE_CAPACITY = 5012;
inline constexpr char BLANK = ' ';

// One line of text in a fixed buffer of LINE_CAPACITY bytes, padded on the
// right with blanks. The record remembers how far its content may reach
// (Extent): every position from there on is known to be a blank, so refilling
// and trimming touch only the bytes a line actually used, not all 5012.
class LineRecord {
 public:
  LineRecord() { bytes_.fill(BLANK); }

  // All LINE_CAPACITY positions, padding included.
  std::string_view Text() const { return {bytes_.data(), LINE_CAPACITY}; }

  // The text without its trailing blanks (only byte 32 is trimmed).
  std::string_view Content() const {
    return {bytes_.data(), LengthWithoutTrailingBlanks(bytes_.data(), extent_)};
  }

  // Positions from Extent() on are blanks.
  std::size_t Extent() const { return extent_; }

  // The record holds `text` (cut to LINE_CAPACITY) followed by blanks.
  void Assign(std::string_view text) {
    const std::size_t length = std::min(text.size(), LINE_CAPACITY);
    if (length > 0) std::memcpy(bytes_.data(), text.data(), length);
    EndRewrite(length);
  }

  // Writing a new line in place: the caller writes positions [0, length) of
  // BeginRewrite() and then calls EndRewrite(length), which blanks whatever the
  // previous line left behind it. A caller that also wrote past `length`, up to
  // `written_end`, says so, and those positions are blanked too.
  char* BeginRewrite() { return bytes_.data(); }
  void EndRewrite(std::size_t length) { EndRewrite(length, extent_); }
  void EndRewrite(std::size_t length, std::size_t written_end) {
    const std::size_t dirty_end = std::max(extent_, written_end);
    if (dirty_end > length) std::memset(bytes_.data() + length, BLANK, dirty_end - length);
    extent_ = length;
  }

  friend bool operator==(const LineRecord& a, const LineRecord& b) { return a.Text() == b.Text(); }

 private:
  std::array<char, LINE_CAPACITY> bytes_;
  std::size_t extent_ = 0;
};

}  // namespace identstrip
