// The line reader copies ordinary bytes eight at a time and stores whole
// words past a line's end. These tests put the special bytes at every place
// within a word, a run and the buffer, and compare whole records (padding
// included) with a byte-by-byte model of the reading rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "conversion/line_bytes.h"
#include "conversion/line_file.h"
#include "tests/support/temp_dir.h"

namespace identstrip {
namespace {

const char SUB = '\x1a';

// The reading rule, one byte at a time: the records a file gives, each as
// its full LINE_CAPACITY positions.
std::vector<std::string> ModelRecords(const std::string& file) {
  std::vector<std::string> records;
  std::size_t p = 0;
  while (p < file.size() && file[p] != SUB) {
    std::string record;
    while (p < file.size()) {
      if (file.compare(p, 2, "\r\n") == 0) {
        p += 2;
        break;
      }
      const char c = file[p++];
      if (c == SUB) break;
      if (record.size() >= LINE_CAPACITY) continue;  // the rest of a long line is lost
      if (c == '\t') {
        record.append(TAB_STOP - record.size() % TAB_STOP, ' ');
        if (record.size() > LINE_CAPACITY) record.resize(LINE_CAPACITY);
      } else {
        record += c;
      }
    }
    record.resize(LINE_CAPACITY, ' ');
    records.push_back(record);
  }
  return records;
}

std::vector<std::string> ReadRecords(const std::string& file) {
  testing::TempDir dir;
  const std::string path = dir.File("scan.txa");
  testing::WriteBytes(path, file);
  LineFile line_file(SystemFileSystem(), path);
  EXPECT_EQ(line_file.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  line_file.Rewind();
  std::vector<std::string> records;
  while (line_file.ReadNext() == SUCCESS) records.emplace_back(line_file.Record().Text());
  EXPECT_EQ(LastError(), ERR_RECORD_NOT_AVAILABLE);
  line_file.Close();
  return records;
}

void ExpectLikeTheModel(const std::string& file) {
  const std::vector<std::string> expected = ModelRecords(file);
  const std::vector<std::string> actual = ReadRecords(file);
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(actual[i], expected[i]) << "record " << i;
  }
}

// A special sequence after every count of ordinary bytes from 0 to 24, so that
// it falls on each place of a word, with a long line before it whose bytes
// lie where the short line's padding must be blank.
TEST(LineScan, SpecialBytesAtEveryPlaceOfAWord) {
  const std::vector<std::string> specials = {"\r\n", "\r",          "\rX", std::string(1, SUB),
                                             "\t",   "\t\t\t",      " \t", "\r\r\n",
                                             "\n",   "\x8d\x89\x9a"};
  for (const std::string& special : specials) {
    std::string file;
    for (std::size_t before = 0; before <= 24; ++before) {
      file += std::string(40, 'w') + "\r\n";
      file += std::string(before, 'a') + special + "bcdefghijklmnop\r\n";
    }
    SCOPED_TRACE(::testing::PrintToString(special));
    ExpectLikeTheModel(file);
  }
}

// Lines that reach the record's capacity exactly, one short and one over,
// with the last stored byte, a tab run or a CR LF at the edge.
TEST(LineScan, LinesAroundTheCapacity) {
  std::string file;
  for (std::size_t length = LINE_CAPACITY - 20; length <= LINE_CAPACITY + 9; ++length) {
    file += std::string(length, 'c') + "\r\n";
    file += std::string(length - 10, 'd') + "\t\t\tE\r\n";
    file += std::string(length - 1, 'e') + "\r" + std::string(5, 'f') + "\r\n";
    file += std::string(length - 3, 'g') + SUB + "h\r\n";
    file += "x\r\n";
  }
  ExpectLikeTheModel(file);
}

// Mixed lines of every length up to two records, so that lines start and end
// on every place of the buffer and its refills.
TEST(LineScan, PseudoRandomLinesThroughTheBuffer) {
  std::uint64_t state = 12345;
  const auto next = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::size_t>(state >> 33);
  };
  const std::string alphabet = "abc \t\t\r\n\r\x8d\xff";
  std::string file;
  while (file.size() < 400000) {
    const std::size_t length = next() % 5 == 0 ? next() % 11000 : next() % 90;
    for (std::size_t i = 0; i < length; ++i) file += alphabet[next() % alphabet.size()];
    file += next() % 50 == 0 ? std::string(1, SUB) + "z" : "\r\n";
  }
  ExpectLikeTheModel(file);
}

TEST(LineBytes, FlagsExactlyCrSubAndTabAtEveryPlace) {
  for (int value = 0; value < 256; ++value) {
    for (std::size_t place = 0; place < 8; ++place) {
      char bytes[8] = {'a', 'a', 'a', 'a', 'a', 'a', 'a', 'a'};
      bytes[place] = static_cast<char>(value);
      std::uint64_t word;
      std::memcpy(&word, bytes, sizeof word);
      const bool special = IsSpecialByte(static_cast<char>(value));
      EXPECT_EQ(SpecialBytes(word) != 0, special) << value << " at " << place;
      if (special) {
        EXPECT_EQ(FirstFlaggedIndex(SpecialBytes(word)), place) << value;
      }
      const bool line_end = value == '\r' || value == 26;
      EXPECT_EQ(FindLineEnd(bytes, bytes + 8) == bytes + place, line_end) << value;
    }
  }
}

template <bool kSimd>
void ExpectCopiesUpToTheFirstLineByte() {
  struct Stop {
    std::string bytes;
    bool stops;
  };
  const std::vector<Stop> stops = {{"\t", true},  {"\x1a", true}, {"\r\n", true},
                                   {"\r", false}, {"\rx", false}, {"\n", false}};
  for (const Stop& stop : stops) {
    for (std::size_t count = 0; count <= 48; ++count) {
      for (std::size_t place = 0; place <= count; ++place) {
        std::string from(count + 1, 'o');
        from.replace(place, stop.bytes.size(), stop.bytes);
        from.resize(count + 1);
        std::string to(64, '#');
        const std::size_t copied = CopyOrdinary<kSimd>(from.data(), to.data(), count, count + 1);
        const std::size_t expected = stop.stops && place < count ? place : count;
        ASSERT_EQ(copied, expected)
            << ::testing::PrintToString(stop.bytes) << count << " " << place;
        EXPECT_EQ(to.substr(0, copied), from.substr(0, copied));
        const std::size_t limit = std::min(count, copied + COPY_OVERRUN);
        EXPECT_EQ(to.substr(limit), std::string(64 - limit, '#')) << count << " " << place;
      }
    }
  }
  // A CR as the last byte that may be looked at is text.
  const std::string cr_last = std::string(20, 'o') + "\r";
  std::string to(32, '#');
  EXPECT_EQ(CopyOrdinary<kSimd>(cr_last.data(), to.data(), 21, 21), 21u);
}

TEST(LineBytes, CopiesUpToTheFirstLineByteAndNoFurtherThanAllowed) {
  ExpectCopiesUpToTheFirstLineByte<true>();
  ExpectCopiesUpToTheFirstLineByte<false>();
}

TEST(LineBytes, TrimsOnlyTrailingBlanks) {
  struct Case {
    std::string text;
    std::size_t length;
  };
  const std::vector<Case> cases = {
      {"", 0},
      {"        ", 0},
      {std::string(5012, ' '), 0},
      {"X" + std::string(5011, ' '), 1},
      {std::string(16, 'q') + std::string(7, ' '), 16},
      {std::string(15, 'q') + std::string(9, ' '), 15},
      {"a\t       ", 2},
      {std::string("a\0        ", 10), 2},
      {"a  b", 4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LengthWithoutTrailingBlanks(c.text.data(), c.text.size()), c.length)
        << ::testing::PrintToString(c.text.substr(0, 20));
  }
}

}  // namespace
}  // namespace identstrip
