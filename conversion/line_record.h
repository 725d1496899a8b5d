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

  // The record holds what `other` holds. Whole chunks are copied: behind its
  // extent `other` holds blanks, which is what belongs there here too.
  void CopyFrom(const LineRecord& other) {
    constexpr std::size_t kChunk = 16;
    const std::size_t length = other.extent_;
    std::size_t done = 0;
    for (; done < length && done + kChunk <= LINE_CAPACITY; done += kChunk) {
      std::memcpy(bytes_.data() + done, other.bytes_.data() + done, kChunk);
    }
    if (done < length) std::memcpy(bytes_.data() + done, other.bytes_.data() + done, length - done);
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
    if (dirty_end > length) Blank(length, dirty_end);
    extent_ = length;
  }

  friend bool operator==(const LineRecord& a, const LineRecord& b) { return a.Text() == b.Text(); }

 private:
  // Most lines leave only a few positions to blank; one fixed-size store does
  // them, since the positions behind `end` are blanks already.
  void Blank(std::size_t begin, std::size_t end) {
    constexpr std::size_t kShort = 16;
    static constexpr char kBlanks[kShort] = {BLANK, BLANK, BLANK, BLANK, BLANK, BLANK,
                                             BLANK, BLANK, BLANK, BLANK, BLANK, BLANK,
                                             BLANK, BLANK, BLANK, BLANK};
    if (end - begin <= kShort && begin + kShort <= LINE_CAPACITY) {
      std::memcpy(bytes_.data() + begin, kBlanks, kShort);
    } else {
      std::memset(bytes_.data() + begin, BLANK, end - begin);
    }
  }

  std::array<char, LINE_CAPACITY> bytes_;
  std::size_t extent_ = 0;
};

}  // namespace identstrip
