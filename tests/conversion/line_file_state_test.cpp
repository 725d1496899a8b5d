// Which operation is allowed in which state, and the codes of the ones that
// are not.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "conversion/line_file.h"
#include "tests/support/temp_dir.h"

namespace identstrip {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

enum class Start { Closed, OpenNotPositioned, OpenPositioned };

struct StateCase {
  const char* what;
  Start start;
  std::function<ResultCode(LineFile&)> operation;
  ResultCode code;
  bool open_after;
};

void PrintTo(const StateCase& c, std::ostream* os) {
  *os << c.what;
}

class LineFileStateTest : public ::testing::TestWithParam<StateCase> {};

TEST_P(LineFileStateTest, GivesTheCodeAndKeepsTheState) {
  const StateCase& c = GetParam();
  TempDir dir;
  const std::string path = dir.File("file.txa");
  WriteBytes(path, "one\r\ntwo\r\n");
  LineFile file(SystemFileSystem(), path);
  if (c.start != Start::Closed) {
    ASSERT_EQ(file.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  }
  if (c.start == Start::OpenPositioned) {
    ASSERT_EQ(file.Rewind(), SUCCESS);
  }

  SetLastError(-1);
  EXPECT_EQ(c.operation(file), c.code);
  EXPECT_EQ(LastError(), c.code) << "every operation leaves its code in LastError";
  EXPECT_EQ(file.IsOpen(), c.open_after);
  if (file.IsOpen()) file.Close();
}

ResultCode DoCreate(LineFile& f) {
  return f.Create();
}
ResultCode DoOpen(LineFile& f) {
  return f.Open(MODE_READ_WRITE_DENY_WRITE);
}
ResultCode DoRewind(LineFile& f) {
  return f.Rewind();
}
ResultCode DoReadNext(LineFile& f) {
  return f.ReadNext();
}
ResultCode DoAppend(LineFile& f) {
  return f.Append();
}
ResultCode DoClose(LineFile& f) {
  return f.Close();
}

INSTANTIATE_TEST_SUITE_P(
    StateTable, LineFileStateTest,
    ::testing::Values(
        StateCase{"closed rewind", Start::Closed, DoRewind, ERR_FILE_NOT_OPEN, false},
        StateCase{"closed read", Start::Closed, DoReadNext, ERR_FILE_NOT_OPEN, false},
        StateCase{"closed append", Start::Closed, DoAppend, ERR_FILE_NOT_OPEN, false},
        StateCase{"closed close", Start::Closed, DoClose, ERR_FILE_NOT_OPEN, false},
        StateCase{"closed open", Start::Closed, DoOpen, SUCCESS, true},
        StateCase{"closed create", Start::Closed, DoCreate, SUCCESS, false},
        StateCase{"open create", Start::OpenNotPositioned, DoCreate, ERR_FILE_ALREADY_OPEN, true},
        StateCase{"open open", Start::OpenNotPositioned, DoOpen, ERR_FILE_ALREADY_OPEN, true},
        StateCase{"open remove", Start::OpenNotPositioned, [](LineFile& f) { return f.Remove(); },
                  ERR_FILE_ALREADY_OPEN, true},
        StateCase{"read before rewind", Start::OpenNotPositioned, DoReadNext,
                  ERR_RECORD_NOT_AVAILABLE, true},
        StateCase{"open append", Start::OpenNotPositioned, DoAppend, SUCCESS, true},
        StateCase{"open close", Start::OpenNotPositioned, DoClose, SUCCESS, false},
        StateCase{"positioned read", Start::OpenPositioned, DoReadNext, SUCCESS, true},
        StateCase{"positioned open", Start::OpenPositioned, DoOpen, ERR_FILE_ALREADY_OPEN, true},
        StateCase{"positioned close", Start::OpenPositioned, DoClose, SUCCESS, false}),
    [](const auto& info) {
      std::string name = info.param.what;
      for (char& c : name) {
        if (c == ' ') c = '_';
      }
      return name;
    });

TEST(LineFileState, AFailedReadClearsPositionedUntilTheNextRewind) {
  TempDir dir;
  const std::string path = dir.File("file.txa");
  WriteBytes(path, "one\r\n");
  LineFile file(SystemFileSystem(), path);
  ASSERT_EQ(file.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  ASSERT_EQ(file.Rewind(), SUCCESS);
  EXPECT_EQ(file.ReadNext(), SUCCESS);
  EXPECT_EQ(file.ReadNext(), ERR_RECORD_NOT_AVAILABLE);
  EXPECT_EQ(file.ReadNext(), ERR_RECORD_NOT_AVAILABLE);
  ASSERT_EQ(file.Rewind(), SUCCESS);
  EXPECT_EQ(file.ReadNext(), SUCCESS);
  EXPECT_EQ(file.Record().Content(), "one");
}

TEST(LineFileState, ClosedFileIgnoresClose) {
  TempDir dir;
  const std::string path = dir.File("file.txa");
  WriteBytes(path, "one\r\n");
  LineFile file(SystemFileSystem(), path);
  EXPECT_EQ(file.Close(), ERR_FILE_NOT_OPEN);
  EXPECT_EQ(ReadBytes(path), "one\r\n");
}

TEST(LineFileState, AppendNeitherMovesTheReadOffsetNorIsSeenBeforeItsTime) {
  TempDir dir;
  const std::string path = dir.File("file.txa");
  WriteBytes(path, "one\r\ntwo\r\n");
  LineFile file(SystemFileSystem(), path);
  ASSERT_EQ(file.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  ASSERT_EQ(file.Rewind(), SUCCESS);
  ASSERT_EQ(file.ReadNext(), SUCCESS);
  file.Record().Assign("three");
  ASSERT_EQ(file.Append(), SUCCESS);
  ASSERT_EQ(file.ReadNext(), SUCCESS);
  EXPECT_EQ(file.Record().Content(), "two");
  ASSERT_EQ(file.ReadNext(), SUCCESS) << "the appended line is part of the known size";
  EXPECT_EQ(file.Record().Content(), "three");
  ASSERT_EQ(file.Close(), SUCCESS);
  EXPECT_EQ(ReadBytes(path), "one\r\ntwo\r\nthree\r\n");
}

TEST(LineFileState, ThePathIsReadWhenTheFileIsOpened) {
  TempDir dir;
  std::string path = dir.File("a.txa");
  WriteBytes(path, "A\r\n");
  WriteBytes(dir.File("b.txa"), "B\r\n");
  LineFile file(SystemFileSystem(), path);
  ASSERT_EQ(file.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  path = dir.File("b.txa");
  file.Rewind();
  ASSERT_EQ(file.ReadNext(), SUCCESS);
  EXPECT_EQ(file.Record().Content(), "A");
  EXPECT_EQ(file.OpenedPath(), dir.File("a.txa"));
}

TEST(LineFileState, AnOpenFileIsClosedWithItsBufferedLinesWhenItGoes) {
  TempDir dir;
  const std::string path = dir.File("out.txa");
  {
    LineFile file(SystemFileSystem(), path);
    ASSERT_EQ(file.Create(), SUCCESS);
    ASSERT_EQ(file.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
    file.Record().Assign("kept");
    ASSERT_EQ(file.Append(), SUCCESS);
  }
  EXPECT_EQ(ReadBytes(path), "kept\r\n");
}

}  // namespace
}  // namespace identstrip
