// What the POSIX files do when the system calls beneath them misbehave:
// short reads and writes, EINTR, EIO at a bad sector, a disk that fills up
// and a failing fsync. This test program is linked with --wrap for pread,
// pwrite and fsync, so the calls of the POSIX backend come through the
// wrappers below, which pass them on to the system, misbehaving as planned
// for the one file that a case names.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>

#include "conversion/conversion_job.h"
#include "conversion/job_messages.h"
#include "conversion/posix/posix_file_system.h"
#include "tests/support/job_driver.h"
#include "tests/support/line_model.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_dir.h"

namespace {

// How the calls on one file misbehave; the default plan passes every call on
// as it is. A file is told by its inode, however it was opened.
struct SyscallPlan {
  ino_t inode = 0;
  std::size_t chunk = SIZE_MAX;  // at most this many bytes per read or write
  bool eintr = false;            // every other call fails with EINTR first
  // A call reaching past `limit` does the bytes before it, and a call that
  // starts there fails with `error`, or does nothing and returns 0 when
  // `error` is 0.
  off_t limit = -1;
  int error = 0;
  int fsync_error = 0;
};

SyscallPlan read_plan, write_plan;
bool interrupted_last = false;

bool Concerns(const SyscallPlan& plan, int fd) {
  struct stat info {};
  return plan.inode != 0 && fstat(fd, &info) == 0 && info.st_ino == plan.inode;
}

// The size the call may use, or -1 with errno set for a call that fails.
ssize_t Misbehave(const SyscallPlan& plan, std::size_t count, off_t offset) {
  if (plan.eintr && (interrupted_last = !interrupted_last)) {
    errno = EINTR;
    return -1;
  }
  if (plan.limit >= 0 && offset + static_cast<off_t>(count) > plan.limit) {
    if (offset >= plan.limit) {
      errno = plan.error;
      return plan.error == 0 ? 0 : -1;
    }
    count = static_cast<std::size_t>(plan.limit - offset);
  }
  return static_cast<ssize_t>(std::min(count, plan.chunk));
}

}  // namespace

extern "C" {
ssize_t __real_pread(int fd, void* buffer, std::size_t count, off_t offset);
ssize_t __real_pwrite(int fd, const void* buffer, std::size_t count, off_t offset);
int __real_fsync(int fd);

ssize_t __wrap_pread(int fd, void* buffer, std::size_t count, off_t offset) {
  if (!Concerns(read_plan, fd)) return __real_pread(fd, buffer, count, offset);
  const ssize_t allowed = Misbehave(read_plan, count, offset);
  if (allowed <= 0) return allowed;
  return __real_pread(fd, buffer, static_cast<std::size_t>(allowed), offset);
}

ssize_t __wrap_pwrite(int fd, const void* buffer, std::size_t count, off_t offset) {
  if (!Concerns(write_plan, fd)) return __real_pwrite(fd, buffer, count, offset);
  const ssize_t allowed = Misbehave(write_plan, count, offset);
  if (allowed <= 0) return allowed;
  return __real_pwrite(fd, buffer, static_cast<std::size_t>(allowed), offset);
}

int __wrap_fsync(int fd) {
  if (Concerns(write_plan, fd) && write_plan.fsync_error != 0) {
    errno = write_plan.fsync_error;
    return -1;
  }
  return __real_fsync(fd);
}
}

namespace identstrip {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::Requests;
using testing::TempDir;
using testing::WriteBytes;

ino_t InodeOf(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

int OpenDescriptors() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

// Lines with IDENTs, tabs and one line longer than the record, about 25 KB.
std::string SampleExport() {
  std::string text;
  for (int i = 0; i < 500; ++i) {
    text += "!!> IDENT(" + std::to_string(i) + "),NAME('n')\r\n\tF" + std::to_string(i) + "\r\n";
    if (i == 250) text += std::string(7000, 'L') + "\r\n";
  }
  return text;
}

class PosixSyscallFaultTest : public ::testing::Test {
 protected:
  PosixSyscallFaultTest() : job_(SystemFileSystem(), input_name_, output_name_, window_) {
    WriteBytes(input_name_, input_);
    WriteBytes(output_name_, "");
  }
  ~PosixSyscallFaultTest() override { read_plan = write_plan = {}; }

  // Converts with the plans in force; checks that both files were closed and
  // the input left alone, and returns the messages shown.
  Requests Convert(const char* what) {
    const int descriptors = OpenDescriptors();
    job_.StartConversion();
    testing::TickToTheEnd(job_, 1000);
    EXPECT_EQ(job_.State(), JobState::Idle) << what;
    EXPECT_EQ(OpenDescriptors(), descriptors) << what << ": a descriptor was left open";
    read_plan = write_plan = {};
    EXPECT_EQ(ReadBytes(input_name_), input_) << what;
    return window_.TakeMessages();
  }

  std::string Writing() const {
    return "message Convert file: " +
           UnexpectedErrorText(ERR_ACCESS_DENIED, ACTION_WRITING, output_name_);
  }

  TempDir dir_;
  std::string input_name_ = dir_.File("in.txa");
  std::string output_name_ = dir_.File("out.txa");
  const std::string input_ = SampleExport();
  const std::string expected_ = testing::ModelConvert(input_);
  testing::RecordingWindow window_;
  ConversionJob job_;
};

// Short transfers and interrupted calls are the system's ordinary manners:
// the files go on until every byte has moved, and nothing is lost.
TEST_F(PosixSyscallFaultTest, ShortTransfersAndEintrLoseNothing) {
  const struct {
    const char* what;
    SyscallPlan reads, writes;
  } cases[] = {
      {"reads of one byte", {.chunk = 1}, {}},
      {"reads of 7 bytes, each after an EINTR", {.chunk = 7, .eintr = true}, {}},
      {"writes of one byte", {}, {.chunk = 1}},
      {"writes of 3 bytes, each after an EINTR", {}, {.chunk = 3, .eintr = true}},
      {"both at once", {.chunk = 5, .eintr = true}, {.chunk = 2, .eintr = true}},
  };
  ASSERT_GT(input_.size(), 2 * FILE_BUFFER_SIZE);
  for (const auto& c : cases) {
    read_plan = c.reads;
    read_plan.inode = InodeOf(input_name_);
    write_plan = c.writes;
    write_plan.inode = InodeOf(output_name_);
    EXPECT_EQ(Convert(c.what), Requests{}) << c.what;
    EXPECT_EQ(ReadBytes(output_name_), expected_) << c.what;
  }
}

TEST_F(PosixSyscallFaultTest, AFullDiskLeavesTheBytesThatFit) {
  const off_t end = static_cast<off_t>(expected_.size());
  const struct {
    const char* what;
    off_t limit;
    int error;
  } cases[] = {
      {"ENOSPC at the first byte", 0, ENOSPC},
      {"ENOSPC in the middle, after a short write", 12001, ENOSPC},
      {"EDQUOT in the middle", 15000, EDQUOT},
      {"ENOSPC at the final flush", end - 3, ENOSPC},
      {"EDQUOT at the final flush", end - 1, EDQUOT},
      {"writes that stop making progress", 9000, 0},
      {"EIO in the middle", 5000, EIO},
  };
  for (const auto& c : cases) {
    write_plan = {.inode = InodeOf(output_name_), .limit = c.limit, .error = c.error};
    EXPECT_EQ(Convert(c.what), Requests{Writing()}) << c.what;
    EXPECT_EQ(ReadBytes(output_name_), expected_.substr(0, static_cast<std::size_t>(c.limit)))
        << c.what;
  }
}

TEST_F(PosixSyscallFaultTest, AFailingFsyncIsReported) {
  for (const int error : {EIO, ENOSPC, EDQUOT}) {
    write_plan = {.inode = InodeOf(output_name_), .fsync_error = error};
    EXPECT_EQ(Convert("fsync fails"), Requests{Writing()}) << error;
    EXPECT_EQ(ReadBytes(output_name_), expected_) << "every byte was written";
  }
}

// A bad sector: the read before it comes back short, the one at it fails.
TEST_F(PosixSyscallFaultTest, AnUnreadableSectorEndsTheInputAndIsReported) {
  for (const off_t bad : {off_t{0}, off_t{4096}, off_t{16384}}) {
    read_plan = {.inode = InodeOf(input_name_), .limit = bad, .error = EIO};
    EXPECT_EQ(Convert("EIO"), Requests{"message Convert file: " +
                                       UnexpectedErrorText(EIO, ACTION_READING, input_name_)})
        << bad;
    const std::string written = ReadBytes(output_name_);
    EXPECT_EQ(written, expected_.substr(0, written.size())) << bad;
    EXPECT_LT(written.size(), expected_.size()) << bad;
  }
}

// The File contract beneath the line files: a read comes back short only at
// the end of the file, and a failed write says how much it wrote.
TEST_F(PosixSyscallFaultTest, TheFileFillsItsBufferWhateverTheSystemDoes) {
  std::unique_ptr<File> file;
  ASSERT_EQ(SystemFileSystem().OpenShared(input_name_, file), SUCCESS);
  read_plan = {.inode = InodeOf(input_name_), .chunk = 3, .eintr = true};
  std::string buffer(FILE_BUFFER_SIZE, '\0');
  std::size_t got = 0;
  ASSERT_EQ(file->ReadAt(100, buffer, got), SUCCESS);
  EXPECT_EQ(got, buffer.size());
  EXPECT_EQ(buffer, input_.substr(100, buffer.size()));
  ASSERT_EQ(file->ReadAt(input_.size() - 10, buffer, got), SUCCESS);
  EXPECT_EQ(got, 10u) << "short at the end of the file";

  write_plan = {.inode = InodeOf(input_name_), .chunk = 4, .limit = 50, .error = ENOSPC};
  std::size_t written = 0;
  EXPECT_EQ(file->WriteAt(40, std::string(30, 'w'), written), ENOSPC);
  EXPECT_EQ(written, 10u);
  file->Close();
}

}  // namespace
}  // namespace identstrip
