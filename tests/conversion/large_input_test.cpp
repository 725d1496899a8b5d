// Inputs far larger than any real export: beyond 4 GiB (sparse, so it costs
// no disk), one line of 100 MB, ten million empty lines. Each converts to
// exactly the right output in seconds and leaves the input as it was.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "conversion/conversion_job.h"
#include "conversion/line_file.h"
#include "conversion/posix/posix_file_system.h"
#include "tests/support/job_driver.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_dir.h"

namespace identstrip {
namespace {

using testing::ReadBytes;
using testing::Requests;
using testing::TempDir;
using testing::WriteBytes;

constexpr FileOffset k4GiB = FileOffset{1} << 32;

// Reading gigabytes of a hole costs nothing on a memory file system, where
// the system hands out one page of zeros, but seconds on a disk, where it
// fills the page cache with them.
std::filesystem::path ForSparseFiles() {
  std::error_code error;
  if (std::filesystem::is_directory("/dev/shm", error) && access("/dev/shm", W_OK) == 0) {
    return "/dev/shm";
  }
  return std::filesystem::temp_directory_path();
}

void WriteAt(int fd, FileOffset offset, std::string_view bytes) {
  ASSERT_EQ(pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)),
            static_cast<ssize_t>(bytes.size()));
}

std::string ReadAt(const std::string& path, FileOffset offset, std::size_t size) {
  const int fd = open(path.c_str(), O_RDONLY);
  std::string bytes(size, '\0');
  const ssize_t got = pread(fd, bytes.data(), size, static_cast<off_t>(offset));
  close(fd);
  bytes.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
  return bytes;
}

class LargeInputTest : public ::testing::Test {
 protected:
  explicit LargeInputTest(
      const std::filesystem::path& parent = std::filesystem::temp_directory_path())
      : dir_(parent), job_(SystemFileSystem(), input_name_, output_name_, window_) {
    window_.Watch(job_.ShownPercent());
    window_.QuietTimer();
    input_name_ = dir_.File("in.txa");
    output_name_ = dir_.File("out.txa");
  }

  // Converts the input to its end; returns the messages shown.
  Requests Convert(std::int64_t most_ticks) {
    job_.StartConversion();
    EXPECT_EQ(job_.State(), JobState::Running);
    testing::TickToTheEnd(job_, most_ticks);
    EXPECT_EQ(job_.State(), JobState::Idle);
    EXPECT_EQ(job_.ShownPercent(), 100);
    return window_.TakeMessages();
  }

  TempDir dir_;
  std::string input_name_, output_name_;
  testing::RecordingWindow window_;
  ConversionJob job_;
};

class SparseInputTest : public LargeInputTest {
 protected:
  SparseInputTest() : LargeInputTest(ForSparseFiles()) {}
};

// Numbered lines, each "<tag> <n>" and CR LF, `count` of them.
std::string NumberedLines(const std::string& tag, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += tag + " " + std::to_string(i) + "\r\n";
  return text;
}

// The lines after the first 4 GiB are found where they are: an offset cut to
// 32 bits would read the file's first lines again, and a size cut to 32 bits
// would end the input after a few bytes. The lines there fill several
// buffers, so that they are read from offsets beyond 4 GiB.
TEST_F(SparseInputTest, AFileBeyond4GiBConvertsWhole) {
  const std::string head = NumberedLines("head", 3000);
  const std::string tail = NumberedLines("!!> IDENT(9),tail", 3000);
  const int fd = open(input_name_.c_str(), O_CREAT | O_RDWR | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  WriteAt(fd, 0, head);
  // A hole of NUL bytes behind the head is one long line, ended just before
  // 4 GiB so that the next line starts exactly there.
  WriteAt(fd, k4GiB - 2, "\r\n" + tail);
  struct stat before {};
  ASSERT_EQ(fstat(fd, &before), 0);
  close(fd);
  ASSERT_GT(static_cast<FileOffset>(before.st_size), k4GiB);

  EXPECT_EQ(Convert(100), Requests{});
  EXPECT_EQ(job_.TotalLines(), 6001);
  EXPECT_EQ(ReadBytes(output_name_),
            head + std::string(LINE_CAPACITY, '\0') + "\r\n" + NumberedLines("!!> tail", 3000));

  struct stat after {};
  ASSERT_EQ(stat(input_name_.c_str(), &after), 0);
  EXPECT_EQ(after.st_size, before.st_size);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(ReadAt(input_name_, k4GiB, tail.size() + 1), tail);
}

// Appending to a file beyond 4 GiB writes behind its end, not at its size
// cut to 32 bits, through several flushes of the buffer.
TEST_F(SparseInputTest, AppendingBeyond4GiBWritesAtTheEnd) {
  const int fd = open(input_name_.c_str(), O_CREAT | O_RDWR | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  WriteAt(fd, 0, "head\r\n");
  WriteAt(fd, k4GiB + 3, "\r\n");
  close(fd);

  LineFile file(SystemFileSystem(), input_name_);
  ASSERT_EQ(file.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  const std::string appended = NumberedLines("appended", 3000);
  for (int i = 0; i < 3000; ++i) {
    file.Record().Assign("appended " + std::to_string(i));
    ASSERT_EQ(file.Append(), SUCCESS);
  }
  ASSERT_EQ(file.Close(), SUCCESS);
  EXPECT_EQ(ReadAt(input_name_, 0, 6), "head\r\n");
  EXPECT_EQ(ReadAt(input_name_, k4GiB + 3, appended.size() + 10), "\r\n" + appended);
}

TEST_F(LargeInputTest, OneLineOf100MegabytesIsCut) {
  const std::string big_line = "!!> IDENT(1)," + std::string(100'000'000, 'x');
  const std::string input = "before\r\n" + big_line + "\r\nafter";
  WriteBytes(input_name_, input);
  EXPECT_EQ(Convert(10), Requests{});
  EXPECT_EQ(job_.TotalLines(), 3);
  EXPECT_EQ(ReadBytes(output_name_),
            "before\r\n!!> " + std::string(LINE_CAPACITY - 13, 'x') + "\r\nafter\r\n");
  EXPECT_EQ(ReadBytes(input_name_), input);
}

TEST_F(LargeInputTest, TenMillionEmptyLines) {
  constexpr std::int64_t kLines = 10'000'000;
  std::string input;
  input.reserve(2 * kLines);
  for (std::int64_t i = 0; i < kLines; ++i) input += "\r\n";
  WriteBytes(input_name_, input);

  EXPECT_EQ(Convert(kLines / LINES_PER_SLICE + 2), Requests{});
  EXPECT_EQ(job_.TotalLines(), kLines);
  EXPECT_EQ(job_.LinesDone(), kLines);
  EXPECT_EQ(ReadBytes(output_name_), input) << "empty lines come out as they went in";
  EXPECT_EQ(ReadBytes(input_name_), input);
}

}  // namespace
}  // namespace identstrip
