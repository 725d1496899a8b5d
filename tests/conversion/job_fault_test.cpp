// Failures of the file system under a running conversion, injected through
// the file-system seam: for each, the end state of the job. Both files are
// closed, the failure is reported when it cost lines, the output holds
// exactly what was written before it, and the input is as it was.
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "conversion/conversion_job.h"
#include "conversion/job_messages.h"
#include "conversion/posix/posix_file_system.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/job_driver.h"
#include "tests/support/line_model.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_dir.h"

namespace identstrip {
namespace {

namespace fs = std::filesystem;
using testing::FileFaults;
using testing::ReadBytes;
using testing::Requests;
using testing::TempDir;
using testing::WriteBytes;

// About 30 KB: three refills of the input's buffer and three flushes of the
// output's, with IDENT lines, tabs and one over-long line among them.
std::string SampleExport() {
  std::string text = "[FILES]\r\n";
  for (int i = 0; i < 600; ++i) {
    const std::string n = std::to_string(i);
    text += "!!> IDENT(" + n + "),GUID('" + n + "')\r\nField" + n + "\tLONG  \r\n";
    if (i % 50 == 7) text += "!!> IDENT(" + n + ")\r\n";
    if (i == 300) text += std::string(6000, 'L') + "\r\n";
  }
  return text;
}

std::string Message(const std::string& text) {
  return "message " + std::string(MESSAGE_CAPTION) + ": " + text;
}

bool EndsAtALineEnd(const std::string& bytes) {
  return bytes.empty() || (bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0);
}

class JobFaultTest : public ::testing::Test {
 protected:
  JobFaultTest() : job_(files_, input_name_, output_name_, window_) {
    window_.Watch(job_.ShownPercent());
    WriteBytes(input_name_, input_);
    WriteBytes(output_name_, "stale output\r\n");
  }

  // The end state that holds after every run: idle, both files released,
  // the input untouched, and the idle look last.
  Requests RunAndCheckTheEndState(const char* what) {
    job_.StartConversion();
    testing::TickToTheEnd(job_, 1000);
    EXPECT_EQ(job_.State(), JobState::Idle) << what;
    EXPECT_EQ(files_.OpenFiles(), 0) << what << ": a file was left open";
    EXPECT_EQ(ReadBytes(input_name_), input_) << what;
    for (const std::string* name : {&input_name_, &output_name_}) {
      LineFile file(SystemFileSystem(), *name);
      if (fs::exists(*name)) {
        EXPECT_EQ(file.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS) << what << ": still locked";
      }
    }
    return window_.TakeMessages();
  }

  TempDir dir_;
  std::string input_name_ = dir_.File("in.txa");
  std::string output_name_ = dir_.File("out.txa");
  const std::string input_ = SampleExport();
  const std::string expected_ = testing::ModelConvert(input_);
  testing::FaultyFileSystem files_{SystemFileSystem()};
  testing::RecordingWindow window_;
  ConversionJob job_;
};

constexpr ResultCode kENOSPC = ENOSPC, kEDQUOT = EDQUOT, kEIO = EIO;

// The output's disk refuses bytes: whatever the system's reason, the line
// files report 5, and the output holds the bytes that were taken, no more.
TEST_F(JobFaultTest, WriteFailuresLeaveTheBytesTakenAndAreReported) {
  const std::string writing =
      Message(UnexpectedErrorText(ERR_ACCESS_DENIED, ACTION_WRITING, output_name_));
  const FileOffset end = expected_.size();
  const struct {
    const char* what;
    FileOffset write_limit;
    ResultCode write_error;
  } cases[] = {
      {"ENOSPC at the first write", 0, kENOSPC},
      {"ENOSPC in the middle", 15000, kENOSPC},
      {"EDQUOT in the middle", 15000, kEDQUOT},
      {"ENOSPC at the final flush", end - 5, kENOSPC},
      {"EDQUOT at the final flush", end - 1, kEDQUOT},
      {"EIO in the middle", 12345, kEIO},
  };
  ASSERT_GT(end, 25000u);
  for (const auto& c : cases) {
    FileFaults& faults = files_.FaultsFor(output_name_);
    faults.write_limit = c.write_limit;
    faults.write_error = c.write_error;
    EXPECT_EQ(RunAndCheckTheEndState(c.what), Requests{writing}) << c.what;
    EXPECT_EQ(ReadBytes(output_name_), expected_.substr(0, c.write_limit)) << c.what;
    EXPECT_EQ(job_.LinesDone(), job_.TotalLines()) << c.what << ": the input is read to its end";
    faults = {};
  }
}

// Everything reached the file but the system could not confirm it.
TEST_F(JobFaultTest, AFailedCommitOrCloseOfTheOutputIsReported) {
  const std::string writing =
      Message(UnexpectedErrorText(ERR_ACCESS_DENIED, ACTION_WRITING, output_name_));
  const struct {
    const char* what;
    ResultCode commit, close;
  } cases[] = {
      {"commit fails with EIO", kEIO, SUCCESS},
      {"commit fails with ENOSPC", kENOSPC, SUCCESS},
      {"commit fails with EDQUOT", kEDQUOT, SUCCESS},
      {"close fails with EIO", SUCCESS, kEIO},
      {"both fail", kEIO, kEIO},
  };
  for (const auto& c : cases) {
    FileFaults& faults = files_.FaultsFor(output_name_);
    faults.commit = c.commit;
    faults.close = c.close;
    EXPECT_EQ(RunAndCheckTheEndState(c.what), Requests{writing}) << c.what;
    EXPECT_EQ(ReadBytes(output_name_), expected_) << c.what;
    faults = {};
  }
}

// The input only gave its lines; nothing is lost when it fails to close.
TEST_F(JobFaultTest, AFailedCommitOrCloseOfTheInputCostsNothing) {
  FileFaults& faults = files_.FaultsFor(input_name_);
  faults.commit = kEIO;
  faults.close = kEIO;
  EXPECT_EQ(RunAndCheckTheEndState("input close fails"), Requests{});
  EXPECT_EQ(ReadBytes(output_name_), expected_);
}

// A read error ends the input; the lines before it are converted whole and
// the error is reported with the system's number.
TEST_F(JobFaultTest, ReadErrorsEndTheInputAndAreReported) {
  const struct {
    const char* what;
    FileOffset read_limit;
    ResultCode read_error;
  } cases[] = {
      {"EIO at the first byte", 0, kEIO},
      {"EIO in the middle", 15000, kEIO},
      {"EIO near the end", input_.size() - 1, kEIO},
      {"ESTALE in the middle", 22000, ESTALE},
  };
  for (const auto& c : cases) {
    FileFaults& faults = files_.FaultsFor(input_name_);
    faults.read_limit = c.read_limit;
    faults.read_error = c.read_error;
    EXPECT_EQ(RunAndCheckTheEndState(c.what),
              Requests{Message(UnexpectedErrorText(c.read_error, ACTION_READING, input_name_))})
        << c.what;
    const std::string written = ReadBytes(output_name_);
    EXPECT_LT(written.size(), expected_.size()) << c.what;
    EXPECT_EQ(written, expected_.substr(0, written.size())) << c.what;
    EXPECT_TRUE(EndsAtALineEnd(written)) << c.what << ": no half line";
    faults = {};
  }
}

// Failures while the files are being opened: the message names the file, no
// file stays open, and the earlier output is left or removed as the open
// rules say.
TEST_F(JobFaultTest, FailuresWhileOpeningAreReportedWithTheirCode) {
  const auto opening = [](ResultCode code, const std::string& path) {
    return Message(UnexpectedErrorText(code, ACTION_OPENING, path));
  };
  const struct {
    const char* what;
    bool on_input;
    FileFaults faults;
    std::string message;
    bool output_kept;
  } cases[] = {
      {"the input's size is unknown",
       true,
       {.size = EOVERFLOW},
       opening(EOVERFLOW, input_name_),
       true},
      {"the input cannot be opened", true, {.open = kEIO}, opening(kEIO, input_name_), true},
      {"too many open files for the output",
       false,
       {.open = ERR_TOO_MANY_OPEN_FILES},
       opening(ERR_TOO_MANY_OPEN_FILES, output_name_),
       false},
      {"the output's size is unknown",
       false,
       {.size = EOVERFLOW},
       opening(EOVERFLOW, output_name_),
       false},
      {"the output cannot be emptied", false, {.create = kEIO}, opening(kEIO, output_name_), true},
  };
  for (const auto& c : cases) {
    WriteBytes(output_name_, "stale output\r\n");
    files_.FaultsFor(c.on_input ? input_name_ : output_name_) = c.faults;
    EXPECT_EQ(RunAndCheckTheEndState(c.what), Requests{c.message}) << c.what;
    if (c.output_kept) {
      EXPECT_EQ(ReadBytes(output_name_), "stale output\r\n") << c.what;
    } else {
      EXPECT_FALSE(fs::exists(output_name_)) << c.what;
    }
    files_.FaultsFor(c.on_input ? input_name_ : output_name_) = {};
  }
}

// The same through a real file system that fills up: a tmpfs of 64 KiB,
// mounted in a mount namespace of a child process of its own so that nothing
// of it outlives the test. Where mounting is not permitted the test is
// skipped.
constexpr int kCannotMount = 77;

int ConvertOntoASmallDisk(const std::string& input, const fs::path& dir) {
  if (unshare(CLONE_NEWNS) != 0 && unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return kCannotMount;
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return kCannotMount;
  const fs::path small = dir / "small";
  if (mount("identstrip-test", small.c_str(), "tmpfs", 0, "size=64k") != 0) return kCannotMount;

  const std::string output = (small / "out.txa").string();
  testing::RecordingWindow window;
  ConversionJob job(SystemFileSystem(), input, output, window);
  job.StartConversion();
  testing::TickToTheEnd(job, 10000);
  std::string messages;
  for (const std::string& message : window.TakeMessages()) messages += message + "\n";
  WriteBytes((dir / "messages").string(), messages);
  WriteBytes((dir / "output").string(), ReadBytes(output));
  return job.State() == JobState::Idle ? 0 : 1;
}

TEST(RealDiskFull, TheOutputHoldsWhatFitAndTheFailureIsReported) {
  TempDir dir;
  fs::create_directory(dir.Path() / "small");
  const std::string input = dir.File("in.txa");
  std::string text;
  for (int i = 0; i < 10000; ++i) text += "!!> IDENT(" + std::to_string(i) + "),line\r\n";
  WriteBytes(input, text);

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(ConvertOntoASmallDisk(input, dir.Path()));
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kCannotMount) {
    GTEST_SKIP() << "mounting a small tmpfs is not permitted here (no CAP_SYS_ADMIN and no user "
                    "namespaces), so the real disk-full case is not run";
  }
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadBytes(dir.File("messages")),
            Message(UnexpectedErrorText(ERR_ACCESS_DENIED, ACTION_WRITING,
                                        (dir.Path() / "small" / "out.txa").string())) +
                "\n");
  const std::string expected = testing::ModelConvert(text);
  const std::string written = ReadBytes(dir.File("output"));
  EXPECT_GT(written.size(), 0u);
  EXPECT_LT(written.size(), expected.size());
  EXPECT_EQ(written, expected.substr(0, written.size())) << "no gaps, no garbage";
  EXPECT_EQ(ReadBytes(input), text);
}

}  // namespace
}  // namespace identstrip
