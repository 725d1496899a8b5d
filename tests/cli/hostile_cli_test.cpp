// identstrip-cli against a second identstrip-cli, or another program, busy
// with the same files at the same time. The first program is stopped while it holds its files, so
// that the second always meets it in the middle of its conversion.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/line_model.h"

namespace identstrip::cli::testing {
namespace {
namespace fs = std::filesystem;

const std::string kSmall = "!!> IDENT(7),PRE(A)\r\nline\r\n";

// About 20 MB, so that a conversion lasts long enough to be caught in it.
std::string LargeExport() {
  std::string text;
  for (int i = 0; i < 400000; ++i) {
    const std::string n = std::to_string(i);
    text += "!!> IDENT(" + n + "),NAME('F" + n + "')\r\nF" + n + "\tLONG   \r\n";
  }
  return text;
}

// Whether some process holds a line file's lock on `path`; looking takes no
// lock, so it cannot get in the way.
bool IsHeld(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  const bool held = ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
  ::close(fd);
  return held;
}

// identstrip-cli running in the background, its standard error kept in a file.
class BackgroundCli {
 public:
  BackgroundCli(const std::vector<std::string>& arguments, const fs::path& folder)
      : errors_(captures_.File("stderr")) {
    std::vector<std::string> argv_strings{CliPath()};
    argv_strings.insert(argv_strings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : argv_strings) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      const int errors = ::open(errors_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (::chdir(folder.c_str()) != 0 || errors < 0 || ::dup2(errors, 2) < 0) ::_exit(126);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
  }
  ~BackgroundCli() {
    if (pid_ > 0 && exit_code_ == kRunning) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
  }

  // Stops the program at a moment when it holds `path`; false when it ended
  // first or did not get there within ten seconds.
  bool StopWhileHolding(const fs::path& path) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      if (!IsHeld(path)) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) return false;
        continue;
      }
      int status = 0;
      if (::kill(pid_, SIGSTOP) != 0 || ::waitpid(pid_, &status, WUNTRACED) != pid_ ||
          !WIFSTOPPED(status)) {
        return false;
      }
      if (IsHeld(path)) return true;
      ::kill(pid_, SIGCONT);
    }
    return false;
  }

  void Continue() { ::kill(pid_, SIGCONT); }

  int Wait() {
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return exit_code_;
  }

  std::string Errors() const { return ReadBytes(errors_); }

 private:
  static constexpr int kRunning = -2;
  TempDir captures_;
  fs::path errors_;
  pid_t pid_ = -1;
  int exit_code_ = kRunning;
};

class TwoProgramsTest : public ::testing::Test {
 protected:
  TwoProgramsTest() {
    WriteBytes(folder_.Path() / "large.txa", large_);
    WriteBytes(folder_.Path() / "small.txa", kSmall);
  }

  // The message for `input` when `in_use`, which another run holds, had to
  // be opened.
  static std::string InUse(const std::string& input, const std::string& in_use) {
    return "identstrip-cli: " + input + ": An unexpected Error: 5 occured,\nopening: " + in_use +
           "!\n";
  }

  TempDir folder_;
  const std::string large_ = LargeExport();
};

TEST_F(TwoProgramsTest, ASecondRunOntoTheSameOutputIsRefused) {
  BackgroundCli first({"large.txa", "out.txa"}, folder_.Path());
  ASSERT_TRUE(first.StopWhileHolding(folder_.Path() / "out.txa"));

  const auto second = RunCli({"small.txa", "out.txa"}, {.folder = folder_.Path()});
  EXPECT_EQ(second.exit_code, 1);
  EXPECT_EQ(second.errors, InUse("small.txa", "out.txa"));

  first.Continue();
  EXPECT_EQ(first.Wait(), 0) << first.Errors();
  EXPECT_EQ(ReadBytes(folder_.Path() / "out.txa"), identstrip::testing::ModelConvert(large_));
  EXPECT_EQ(ReadBytes(folder_.Path() / "small.txa"), kSmall);
}

TEST_F(TwoProgramsTest, TheInputOfARunningConversionCannotBeWrittenOrConverted) {
  BackgroundCli first({"large.txa", "out.txa"}, folder_.Path());
  ASSERT_TRUE(first.StopWhileHolding(folder_.Path() / "out.txa"));

  const auto onto_it = RunCli({"small.txa", "large.txa"}, {.folder = folder_.Path()});
  EXPECT_EQ(onto_it.exit_code, 1);
  EXPECT_EQ(onto_it.errors, InUse("small.txa", "large.txa"));
  const auto from_it = RunCli({"large.txa", "other.txa"}, {.folder = folder_.Path()});
  EXPECT_EQ(from_it.exit_code, 1);
  EXPECT_EQ(from_it.errors, InUse("large.txa", "large.txa"));
  EXPECT_FALSE(fs::exists(folder_.Path() / "other.txa"));
  EXPECT_EQ(ReadBytes(folder_.Path() / "large.txa"), large_) << "others may still read it";

  first.Continue();
  EXPECT_EQ(first.Wait(), 0) << first.Errors();
  EXPECT_EQ(ReadBytes(folder_.Path() / "large.txa"), large_);
  EXPECT_EQ(ReadBytes(folder_.Path() / "out.txa"), identstrip::testing::ModelConvert(large_));
}

// A program that ignores the locks may still remove the name; the running
// conversion reads on from the file it opened and finishes it whole.
TEST_F(TwoProgramsTest, RemovingTheInputOfARunningConversionCostsItNothing) {
  BackgroundCli first({"large.txa", "out.txa"}, folder_.Path());
  ASSERT_TRUE(first.StopWhileHolding(folder_.Path() / "out.txa"));
  ASSERT_TRUE(fs::remove(folder_.Path() / "large.txa"));
  first.Continue();
  EXPECT_EQ(first.Wait(), 0) << first.Errors();
  EXPECT_EQ(ReadBytes(folder_.Path() / "out.txa"), identstrip::testing::ModelConvert(large_));
}

// A program that ignores the locks may cut the input short under the
// conversion; the lines it took are missing, so the run must not succeed.
TEST_F(TwoProgramsTest, AnInputCutShortUnderARunningConversionFailsIt) {
  BackgroundCli first({"large.txa", "out.txa"}, folder_.Path());
  ASSERT_TRUE(first.StopWhileHolding(folder_.Path() / "out.txa"));
  fs::resize_file(folder_.Path() / "large.txa", large_.size() / 2);
  first.Continue();
  EXPECT_EQ(first.Wait(), 1);
  EXPECT_EQ(first.Errors(),
            "identstrip-cli: large.txa: An unexpected Error: 5 occured,\nreading: large.txa!\n");
  const std::string expected = identstrip::testing::ModelConvert(large_);
  const std::string written = ReadBytes(folder_.Path() / "out.txa");
  EXPECT_LT(written.size(), expected.size());
  EXPECT_TRUE(written == expected.substr(0, written.size())) << "what was written is wrong";
}

}  // namespace
}  // namespace identstrip::cli::testing
