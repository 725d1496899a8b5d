// Whole conversions of files and names that a careless or hostile user might
// pick: each either converts to exactly what the model says or fails with
// its code and the message naming the file, leaves no file open and never
// changes its input. The ctest timeout catches a conversion that hangs. What
// is not a file, and which names are awkward, differs between the systems
// (posix/, win32/).
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "tests/conversion/hostile_input_fixture.h"

namespace identstrip::testing {
namespace {

TEST_F(HostileInputTest, RelativeNamesWithALeadingDashConvert) {
  const fs::path before = fs::current_path();
  fs::current_path(dir_.Path());
  WriteBytes("-i", kExport);
  const Requests messages = Convert("-i", "--output=x");
  fs::current_path(before);
  EXPECT_EQ(messages, Requests{});
  EXPECT_EQ(ReadBytes(dir_.File("--output=x")), ModelConvert(kExport));
  EXPECT_EQ(ReadBytes(dir_.File("-i")), kExport);
}

TEST_F(HostileInputTest, AFullPathOf260CharactersConvertsButNot261) {
  const std::string in_260 = PathOfLength(dir_.Path() / "a", 260);
  const std::string in_261 = PathOfLength(dir_.Path() / "b", 261);
  const std::string out_260 = PathOfLength(dir_.Path() / "c", 260);
  const std::string out_261 = PathOfLength(dir_.Path() / "d", 261);
  ASSERT_EQ(in_261.size(), 261u);
  WriteBytes(in_260, kExport);
  WriteBytes(in_261, kExport);

  EXPECT_EQ(Convert(in_260, out_260), Requests{});
  EXPECT_EQ(ReadBytes(out_260), ModelConvert(kExport));
  EXPECT_EQ(Convert(in_261, dir_.File("out.txa")),
            Requests{OpenFailure(ERR_INVALID_FILENAME, in_261)});
  EXPECT_EQ(Convert(in_260, out_261), Requests{OpenFailure(ERR_INVALID_FILENAME, out_261)});
  EXPECT_FALSE(fs::exists(out_261));
  EXPECT_FALSE(fs::exists(dir_.File("out.txa")));
  EXPECT_EQ(ReadBytes(in_261), kExport);
}

std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xff);
  return bytes;
}

// Contents that are no text export at all.
TEST_F(HostileInputTest, OddContentsConvertAsTheRulesSay) {
  const std::string sub(1, '\x1a');
  std::string without_line_ends = RandomBytes(300000, 7);
  for (char& c : without_line_ends) {
    if (c == '\r' || c == '\x1a') c = 'x';
  }
  const struct {
    const char* what;
    std::string bytes;
    std::int64_t lines;
  } cases[] = {
      {"only Ctrl-Z", sub, 0},
      {"only Ctrl-Z, many", std::string(100000, '\x1a'), 0},
      {"random binary data", RandomBytes(1 << 20, 1), -1},
      {"binary data without CR or Ctrl-Z", without_line_ends, 1},
      {"NUL bytes", std::string(20000, '\0'), 1},
      {"only CRs", std::string(30000, '\r'), 1},
      {"only LFs", std::string(30000, '\n'), 1},
      {"only tabs", std::string(30000, '\t'), 1},
      {"a byte-order mark and text", "\xef\xbb\xbf!!> IDENT(1),X\r\n", 1},
      {"UTF-16 text", std::string("!\0!\0>\0 \0I\0D\0E\0N\0T\0,\0\r\0\n\0", 24), 1},
  };
  const std::string in = dir_.File("in.bin");
  const std::string out = dir_.File("out.txa");
  for (const auto& c : cases) {
    WriteBytes(in, c.bytes);
    EXPECT_EQ(Convert(in, out), Requests{}) << c.what;
    EXPECT_EQ(ReadBytes(out), ModelConvert(c.bytes)) << c.what;
    EXPECT_EQ(ReadBytes(in), c.bytes) << c.what;
    if (c.lines >= 0) {
      EXPECT_EQ(job_.TotalLines(), c.lines) << c.what;
    }
  }
}

}  // namespace
}  // namespace identstrip::testing
