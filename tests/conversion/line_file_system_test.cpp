// How the line files meet the real file system: the codes of Open, Create and
// Remove, the read-only rule (which holds for root too), and the sharing
// rules within one process and between processes.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "conversion/line_file.h"
#include "conversion/posix/posix_file_system.h"
#include "tests/conversion/file_system_fixture.h"
#include "tests/support/temp_dir.h"

namespace identstrip {
namespace {

namespace fs = std::filesystem;
using testing::kContent;
using testing::PathCase;
using testing::PathOfLength;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class LineFileSystemTest : public testing::FileSystemFixture {
 protected:
  void SetUp() override {
    FileSystemFixture::SetUp();
    fs::permissions(read_only_, fs::perms::owner_read | fs::perms::group_read);
    fifo_ = dir_.File("fifo");
    ASSERT_EQ(mkfifo(fifo_.c_str(), 0666), 0);
    loop_ = dir_.File("loop");
    fs::create_symlink(loop_, loop_);
  }

  std::string fifo_, loop_;
};

TEST_F(LineFileSystemTest, OpenCodes) {
  const PathCase cases[] = {
      {file_, SUCCESS},
      {dir_.File("missing.txa"), ERR_FILE_NOT_FOUND},
      {dir_.File("no-such-folder/file.txa"), ERR_PATH_NOT_FOUND},
      {file_ + "/file.txa", ERR_PATH_NOT_FOUND},
      {"", ERR_INVALID_FILENAME},
      {dir_.File(std::string(300, 'n')), ERR_INVALID_FILENAME},
      {read_only_, ERR_ACCESS_DENIED},
      {folder_, ERR_ACCESS_DENIED},
      {fifo_, ERR_ACCESS_DENIED},
      {"/dev/null", ERR_ACCESS_DENIED},
      {loop_, ERR_PATH_NOT_FOUND},
  };
  for (const auto& c : cases) EXPECT_EQ(Open(c.path), c.code) << c.path;
  EXPECT_EQ(ReadBytes(read_only_), kContent);
}

TEST_F(LineFileSystemTest, CreateCodes) {
  const PathCase cases[] = {
      {dir_.File("new.txa"), SUCCESS},
      {dir_.File("no-such-folder/new.txa"), ERR_PATH_NOT_FOUND},
      {file_ + "/new.txa", ERR_PATH_NOT_FOUND},
      {dir_.File(std::string(300, 'n')), ERR_INVALID_FILENAME},
      {read_only_, ERR_ACCESS_DENIED},
      {folder_, ERR_ACCESS_DENIED},
      {fifo_, ERR_ACCESS_DENIED},
  };
  for (const auto& c : cases) EXPECT_EQ(Create(c.path), c.code) << c.path;
  EXPECT_EQ(ReadBytes(dir_.File("new.txa")), "");
  EXPECT_EQ(ReadBytes(read_only_), kContent) << "a refused create leaves the file alone";
}

TEST_F(LineFileSystemTest, RemoveCodes) {
  const PathCase cases[] = {
      {file_, SUCCESS},
      {dir_.File("missing.txa"), ERR_FILE_NOT_FOUND},
      {dir_.File("no-such-folder/file.txa"), ERR_PATH_NOT_FOUND},
      {dir_.File(std::string(300, 'n')), ERR_INVALID_FILENAME},
      {read_only_, ERR_ACCESS_DENIED},
      {folder_, ERR_ACCESS_DENIED},
  };
  for (const auto& c : cases) EXPECT_EQ(Remove(c.path), c.code) << c.path;
  EXPECT_FALSE(fs::exists(file_));
  EXPECT_EQ(ReadBytes(read_only_), kContent) << "a read-only file is never deleted";
  EXPECT_TRUE(fs::is_directory(folder_));
}

TEST_F(LineFileSystemTest, TheFullPathMayHave260CharactersButNoMore) {
  const std::string longest = PathOfLength(dir_.Path() / "a", 260);
  const std::string too_long = PathOfLength(dir_.Path() / "b", 261);
  WriteBytes(longest, kContent);
  WriteBytes(too_long, kContent);
  ASSERT_EQ(longest.size(), 260u);
  ASSERT_EQ(too_long.size(), 261u);

  EXPECT_EQ(Open(longest), SUCCESS);
  EXPECT_EQ(Open(too_long), ERR_INVALID_FILENAME);
  EXPECT_EQ(Create(too_long), ERR_INVALID_FILENAME);
  EXPECT_EQ(Remove(too_long), ERR_INVALID_FILENAME);
  EXPECT_EQ(ReadBytes(too_long), kContent);
}

class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const fs::path& to) : before_(fs::current_path()) {
    fs::current_path(to);
  }
  ~ScopedCurrentDirectory() { fs::current_path(before_); }

 private:
  fs::path before_;
};

TEST_F(LineFileSystemTest, RelativePathsResolveAgainstTheCurrentDirectory) {
  ScopedCurrentDirectory in_folder(folder_);
  EXPECT_EQ(Open("../file.txa"), SUCCESS);
  EXPECT_EQ(Open("file.txa"), ERR_FILE_NOT_FOUND);
  EXPECT_EQ(Create("new.txa"), SUCCESS);
  EXPECT_TRUE(fs::exists(fs::path(folder_) / "new.txa"));
}

// While one line file holds a file open, every other spelling of the same
// file is refused writing, creating and removing.
TEST_F(LineFileSystemTest, AnOpenFileIsProtectedWhateverThePathSaysWithinTheProcess) {
  const std::string link = dir_.File("link.txa");
  const std::string hard = dir_.File("hard.txa");
  fs::create_symlink(file_, link);
  fs::create_hard_link(file_, hard);

  LineFile holder(SystemFileSystem(), file_);
  ASSERT_EQ(holder.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  for (const std::string& other : {file_, link, hard, folder_ + "/../file.txa"}) {
    EXPECT_EQ(Open(other), ERR_ACCESS_DENIED) << other;
    EXPECT_EQ(Create(other), ERR_ACCESS_DENIED) << other;
    EXPECT_EQ(Remove(other), ERR_ACCESS_DENIED) << other;
  }
  EXPECT_EQ(ReadBytes(file_), kContent);
  holder.Close();
  EXPECT_EQ(Open(hard), SUCCESS) << "closing releases the file";
}

TEST_F(LineFileSystemTest, ConvertingAFileOntoItselfStopsAtTheOutput) {
  std::string name = file_;
  LineFile input(SystemFileSystem(), name);
  LineFile output(SystemFileSystem(), name);
  ASSERT_EQ(input.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  EXPECT_EQ(output.Create(), ERR_ACCESS_DENIED);
  EXPECT_EQ(output.Open(MODE_READ_WRITE_DENY_WRITE), ERR_ACCESS_DENIED);
  EXPECT_EQ(output.Remove(), ERR_ACCESS_DENIED);
  input.Close();
  EXPECT_EQ(ReadBytes(file_), kContent);
}

// Runs `hold` in a child process until `check` is done in this one.
void WhileAnotherProcessHolds(const std::string& path, const std::function<void()>& check) {
  int ready[2], done[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(done), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    LineFile file(SystemFileSystem(), path);
    const char status = file.Open(MODE_READ_WRITE_DENY_WRITE) == SUCCESS ? 'y' : 'n';
    (void)!write(ready[1], &status, 1);
    char ignored;
    (void)!read(done[0], &ignored, 1);
    file.Close();
    _exit(0);
  }
  char status = 0;
  ASSERT_EQ(read(ready[0], &status, 1), 1);
  ASSERT_EQ(status, 'y');
  check();
  (void)!write(done[1], "x", 1);
  int exit_status = 0;
  waitpid(child, &exit_status, 0);
  for (int fd : {ready[0], ready[1], done[0], done[1]}) close(fd);
}

TEST_F(LineFileSystemTest, AnOpenFileIsProtectedFromOtherProcesses) {
  WhileAnotherProcessHolds(file_, [&] {
    EXPECT_EQ(Open(file_), ERR_ACCESS_DENIED);
    EXPECT_EQ(Create(file_), ERR_ACCESS_DENIED);
    EXPECT_EQ(Remove(file_), ERR_ACCESS_DENIED);
    // Others may still read it.
    EXPECT_EQ(ReadBytes(file_), kContent);
  });
  EXPECT_EQ(Open(file_), SUCCESS);
}

TEST(ErrnoMapping, MapsTheSystemErrorsToTheCodes) {
  TempDir dir;
  const std::string missing = dir.File("missing.txa");
  const struct {
    int error;
    ResultCode code;
  } cases[] = {
      {ENOENT, ERR_FILE_NOT_FOUND},
      {ENOTDIR, ERR_PATH_NOT_FOUND},
      {ELOOP, ERR_PATH_NOT_FOUND},
      {EACCES, ERR_ACCESS_DENIED},
      {EPERM, ERR_ACCESS_DENIED},
      {EROFS, ERR_ACCESS_DENIED},
      {EISDIR, ERR_ACCESS_DENIED},
      {ETXTBSY, ERR_ACCESS_DENIED},
      {ENAMETOOLONG, ERR_INVALID_FILENAME},
      {EMFILE, ERR_TOO_MANY_OPEN_FILES},
      {ENFILE, ERR_TOO_MANY_OPEN_FILES},
      {EIO, EIO},
      {ENOSPC, ENOSPC},
  };
  for (const auto& c : cases) EXPECT_EQ(MapErrno(c.error, missing), c.code) << c.error;
  EXPECT_EQ(MapErrno(ENOENT, dir.File("gone/missing.txa")), ERR_PATH_NOT_FOUND);
  EXPECT_EQ(MapErrno(ENOENT, missing, /*creating=*/true), ERR_PATH_NOT_FOUND);
}

TEST(FullPath, MakesPathsAbsoluteAndNormal) {
  PosixFileSystem file_system;
  const std::string cwd = fs::current_path().string();
  EXPECT_EQ(file_system.FullPath("/a/./b//c/../d"), "/a/b/d");
  EXPECT_EQ(file_system.FullPath("x.txa"), cwd + "/x.txa");
  EXPECT_EQ(file_system.FullPath("/a/b/"), "/a/b/");
  EXPECT_EQ(file_system.FullPath("/.."), "/");
  EXPECT_EQ(file_system.FullPath(""), std::nullopt);
}

}  // namespace
}  // namespace identstrip
