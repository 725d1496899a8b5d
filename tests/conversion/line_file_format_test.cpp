// The byte format of the line files: which bytes become which records, and
// which bytes a record becomes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conversion/file_system.h"
#include "conversion/line_file.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

namespace identstrip {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

const std::string SUB(1, '\x1a');

// The records ReadNext returns, as their texts without the padding, before
// it fails with 33.
std::vector<std::string> ReadAllLines(FileSystem& file_system, const std::string& path) {
  LineFile file(file_system, path);
  EXPECT_EQ(file.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  EXPECT_EQ(file.Rewind(), SUCCESS);
  std::vector<std::string> lines;
  while (file.ReadNext() == SUCCESS) {
    const std::string_view text = file.Record().Text();
    EXPECT_EQ(text.size(), LINE_CAPACITY);
    lines.emplace_back(file.Record().Content());
    if (lines.size() > 100000) break;
  }
  EXPECT_EQ(LastError(), ERR_RECORD_NOT_AVAILABLE);
  EXPECT_EQ(file.Close(), SUCCESS);
  return lines;
}

struct ReadCase {
  const char* what;
  std::string bytes;
  std::vector<std::string> lines;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
  *os << c.what;
}

class ReadFormatTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadFormatTest, ReadsTheExpectedRecords) {
  const ReadCase& c = GetParam();
  TempDir dir;
  const std::string path = dir.File("in.txa");
  WriteBytes(path, c.bytes);
  EXPECT_EQ(ReadAllLines(SystemFileSystem(), path), c.lines);
}

std::string Repeat(char c, std::size_t n) {
  return std::string(n, c);
}

std::string LfOnlyText() {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "line\n";
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    ByteTable, ReadFormatTest,
    ::testing::Values(
        ReadCase{"empty file", "", {}}, ReadCase{"two lines", "AB\r\nCD\r\n", {"AB", "CD"}},
        ReadCase{"last line unterminated", "AB\r\nCD", {"AB", "CD"}},
        ReadCase{"two empty lines", "\r\n\r\n", {"", ""}},
        ReadCase{"tab after one character", "A\tB\r\n", {"A       B"}},
        ReadCase{"tab first", "\tX\r\n", {"        X"}},
        ReadCase{"tab after seven", "1234567\tX\r\n", {"1234567 X"}},
        ReadCase{"lone LF is text", "A\nB\r\n", {"A\nB"}},
        ReadCase{"lone CR is text", "A\rB\r\n", {"A\rB"}},
        ReadCase{"CR at the end of the file", "ABC\r", {"ABC\r"}},
        ReadCase{"SUB ends a line", "A" + SUB + "B\r\n", {"A", "B"}},
        ReadCase{"SUB then CR LF", "A" + SUB + "\r\nB\r\n", {"A", "", "B"}},
        ReadCase{"SUB where a line begins", "AB\r\n" + SUB + "CD\r\n", {"AB"}},
        ReadCase{"long line cut", Repeat('X', 6000) + "\r\nY\r\n", {Repeat('X', 5012), "Y"}},
        ReadCase{"LF-only text", LfOnlyText(), {LfOnlyText().substr(0, 5012)}}));

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, ReadFormatTest,
    ::testing::Values(
        ReadCase{"exactly full", Repeat('a', 5012) + "\r\nZ", {Repeat('a', 5012), "Z"}},
        ReadCase{"one too long", Repeat('a', 5012) + "b\r\nZ", {Repeat('a', 5012), "Z"}},
        ReadCase{"tabs past the end", Repeat('a', 5010) + "\t\tZ\r\nN", {Repeat('a', 5010), "N"}},
        ReadCase{"control and high bytes kept",
                 std::string("A\0\xe9\xff\r\n", 6),
                 {std::string("A\0\xe9\xff", 4)}},
        ReadCase{"trailing blanks read", "AB  \r\n", {"AB"}}, ReadCase{"only SUB", SUB + SUB, {}},
        ReadCase{
            "SUB in a skipped rest", Repeat('a', 5100) + SUB + "Q\r\n", {Repeat('a', 5012), "Q"}},
        ReadCase{"lone CR in a skipped rest",
                 Repeat('a', 5100) + "\rQ\r\nR",
                 {Repeat('a', 5012), "R"}}));

// Over-long lines whose ends fall on and around the refills of the buffer.
class LongLineTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(LongLineTest, SkipsTheRestAcrossRefills) {
  TempDir dir;
  const std::string path = dir.File("long.txa");
  const std::size_t length = GetParam();
  WriteBytes(path,
             "first\r\n" + Repeat('X', length) + "\r\nY\r\n" + Repeat('Z', length) + "\rW\r\nlast");
  EXPECT_EQ(ReadAllLines(SystemFileSystem(), path),
            (std::vector<std::string>{"first", Repeat('X', 5012), "Y", Repeat('Z', 5012), "last"}));
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongLineTest,
                         ::testing::Values(5013, 5014, 10015, 10016, 10017, 10018, 10022, 10023,
                                           10024, 10025, 20040, 20047, 20048, 100000));

TEST(LineFileRead, ManyLinesThroughTheBuffer) {
  TempDir dir;
  const std::string path = dir.File("many.txa");
  std::string bytes;
  std::vector<std::string> expected;
  for (int i = 0; i < 4000; ++i) {
    std::string line = "line " + std::to_string(i) + Repeat('.', static_cast<std::size_t>(i % 97));
    bytes += line + "\r\n";
    expected.push_back(line);
  }
  WriteBytes(path, bytes);

  testing::FaultyFileSystem counting(SystemFileSystem());
  EXPECT_EQ(ReadAllLines(counting, path), expected);
  // One system read for several thousand bytes, not one a line.
  EXPECT_LE(counting.ReadCalls(), static_cast<int>(bytes.size() / 5000 + 2));
}

TEST(LineFileRead, RewindGivesTheSameRecordsAgain) {
  TempDir dir;
  const std::string path = dir.File("in.txa");
  WriteBytes(path, "A\tB\r\n" + Repeat('x', 7000) + "\r\nC");
  LineFile file(SystemFileSystem(), path);
  ASSERT_EQ(file.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  std::vector<LineRecord> passes[2];
  for (auto& pass : passes) {
    ASSERT_EQ(file.Rewind(), SUCCESS);
    while (file.ReadNext() == SUCCESS) pass.push_back(file.Record());
    EXPECT_EQ(file.ReadNext(), ERR_RECORD_NOT_AVAILABLE) << "keeps failing after the end";
  }
  EXPECT_EQ(passes[0].size(), 3u);
  EXPECT_EQ(passes[0], passes[1]);
}

struct AppendCase {
  const char* what;
  std::string record;
  std::string bytes;
};

void PrintTo(const AppendCase& c, std::ostream* os) {
  *os << c.what;
}

class AppendFormatTest : public ::testing::TestWithParam<AppendCase> {};

TEST_P(AppendFormatTest, WritesTheExpectedBytes) {
  const AppendCase& c = GetParam();
  TempDir dir;
  const std::string path = dir.File("out.txa");
  LineFile file(SystemFileSystem(), path);
  ASSERT_EQ(file.Create(), SUCCESS);
  ASSERT_EQ(file.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  file.Record().Assign(c.record);
  ASSERT_EQ(file.Append(), SUCCESS);
  ASSERT_EQ(file.Close(), SUCCESS);
  EXPECT_EQ(ReadBytes(path), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    ByteTable, AppendFormatTest,
    ::testing::Values(AppendCase{"text and blanks", "AB", "AB\r\n"},
                      AppendCase{"all blanks", "", "\r\n"},
                      AppendCase{"inner blanks kept", "A  B   ", "A  B\r\n"},
                      AppendCase{"NUL ends the trimming", std::string("A\0  ", 4),
                                 std::string("A\0\r\n", 4)},
                      AppendCase{"tab ends the trimming", "A\t  ", "A\t\r\n"},
                      AppendCase{"full record", Repeat('q', 5012), Repeat('q', 5012) + "\r\n"},
                      AppendCase{"control bytes pass", "A\rB\nC\xe9", "A\rB\nC\xe9\r\n"}));

TEST(LineFileAppend, LinesComeOutInOrderThroughTheBuffer) {
  TempDir dir;
  const std::string path = dir.File("out.txa");
  testing::FaultyFileSystem counting(SystemFileSystem());
  LineFile file(counting, path);
  ASSERT_EQ(file.Create(), SUCCESS);
  ASSERT_EQ(file.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  std::string expected;
  for (int i = 0; i < 3000; ++i) {
    const std::string line = std::to_string(i) + Repeat('-', static_cast<std::size_t>(i % 301));
    file.Record().Assign(line + "   ");
    ASSERT_EQ(file.Append(), SUCCESS);
    expected += line + "\r\n";
  }
  ASSERT_EQ(file.Close(), SUCCESS);
  EXPECT_EQ(ReadBytes(path), expected);
  EXPECT_LE(counting.WriteCalls(), static_cast<int>(expected.size() / 5000 + 2));
}

TEST(LineFileAppend, CreateEmptiesAndTheFirstLineStartsAtZero) {
  TempDir dir;
  const std::string path = dir.File("out.txa");
  WriteBytes(path, "old content\r\nmore\r\n");
  LineFile file(SystemFileSystem(), path);
  ASSERT_EQ(file.Create(), SUCCESS);
  EXPECT_EQ(ReadBytes(path), "");
  ASSERT_EQ(file.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  ASSERT_EQ(file.Close(), SUCCESS);
  EXPECT_EQ(ReadBytes(path), "") << "no Append leaves the file empty";

  ASSERT_EQ(file.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  file.Record().Assign("new");
  ASSERT_EQ(file.Append(), SUCCESS);
  ASSERT_EQ(file.Close(), SUCCESS);
  EXPECT_EQ(ReadBytes(path), "new\r\n");
}

TEST(LineFileRoundTrip, ReadThenAppendNormalisesEveryLine) {
  TempDir dir;
  const std::string in = dir.File("in.txa");
  const std::string out = dir.File("out.txa");
  WriteBytes(in, "  keep  inner \t\r\n\tTab\r\nlf\nonly\r\n" + Repeat('z', 5100) + "\r\n" + SUB);
  LineFile input(SystemFileSystem(), in);
  LineFile output(SystemFileSystem(), out);
  ASSERT_EQ(input.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  ASSERT_EQ(output.Create(), SUCCESS);
  ASSERT_EQ(output.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  input.Rewind();
  while (input.ReadNext() == SUCCESS) {
    output.Record() = input.Record();
    output.Append();
  }
  input.Close();
  output.Close();
  EXPECT_EQ(ReadBytes(out),
            "  keep  inner\r\n        Tab\r\nlf\nonly\r\n" + Repeat('z', 5012) + "\r\n");
}

}  // namespace
}  // namespace identstrip
