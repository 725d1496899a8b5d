// How the line files meet the Windows file system: the codes of Open, Create
// and Remove, the read-only rule (which holds under Wine run by root too),
// devices, and the sharing rules within one process and between processes.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "conversion/line_file.h"
#include "conversion/win32/win32_file_system.h"
#include "conversion/win32/windows_api.h"

// After windows.h, which it needs.
#include <winioctl.h>

#include "tests/conversion/file_system_fixture.h"
#include "tests/conversion/job_in_child.h"
#include "tests/support/temp_dir.h"

namespace identstrip {
namespace {

namespace fs = std::filesystem;
using testing::JobInChild;
using testing::kContent;
using testing::PathCase;
using testing::PathOfLength;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class Win32FileSystemTest : public testing::FileSystemFixture {
 protected:
  void SetUp() override {
    FileSystemFixture::SetUp();
    ASSERT_TRUE(SetFileAttributesA(read_only_.c_str(), FILE_ATTRIBUTE_READONLY));
  }
};

TEST_F(Win32FileSystemTest, OpenCodes) {
  const PathCase cases[] = {
      {file_, SUCCESS},
      {dir_.File("missing.txa"), ERR_FILE_NOT_FOUND},
      {dir_.File("no-such-folder\\file.txa"), ERR_PATH_NOT_FOUND},
      {file_ + "\\file.txa", ERR_PATH_NOT_FOUND},
      {"", ERR_INVALID_FILENAME},
      {dir_.File(std::string(300, 'n')), ERR_INVALID_FILENAME},
      {dir_.File("a<b.txa"), ERR_INVALID_FILENAME},
      {dir_.File("a|b.txa"), ERR_INVALID_FILENAME},
      {read_only_, ERR_ACCESS_DENIED},
      {folder_, ERR_ACCESS_DENIED},
      {"NUL", ERR_ACCESS_DENIED},
      {folder_ + "\\con.txa", ERR_ACCESS_DENIED},
      {"COM1", ERR_ACCESS_DENIED},
      {"\\\\.\\NUL", ERR_ACCESS_DENIED},
  };
  for (const auto& c : cases) EXPECT_EQ(Open(c.path), c.code) << c.path;
  EXPECT_EQ(ReadBytes(read_only_), kContent);
}

TEST_F(Win32FileSystemTest, CreateCodes) {
  const PathCase cases[] = {
      {dir_.File("new.txa"), SUCCESS},
      {dir_.File("no-such-folder\\new.txa"), ERR_PATH_NOT_FOUND},
      {file_ + "\\new.txa", ERR_PATH_NOT_FOUND},
      {dir_.File(std::string(300, 'n')), ERR_INVALID_FILENAME},
      {dir_.File("a<b.txa"), ERR_INVALID_FILENAME},
      {read_only_, ERR_ACCESS_DENIED},
      {folder_, ERR_ACCESS_DENIED},
      {"NUL", ERR_ACCESS_DENIED},
      {folder_ + "\\LPT1.txa", ERR_ACCESS_DENIED},
  };
  for (const auto& c : cases) EXPECT_EQ(Create(c.path), c.code) << c.path;
  EXPECT_EQ(ReadBytes(dir_.File("new.txa")), "");
  EXPECT_EQ(ReadBytes(read_only_), kContent) << "a refused create leaves the file alone";
  EXPECT_FALSE(fs::exists(folder_ + "\\LPT1.txa"));
}

TEST_F(Win32FileSystemTest, RemoveCodes) {
  const PathCase cases[] = {
      {file_, SUCCESS},
      {dir_.File("missing.txa"), ERR_FILE_NOT_FOUND},
      {dir_.File("no-such-folder\\file.txa"), ERR_PATH_NOT_FOUND},
      {dir_.File(std::string(300, 'n')), ERR_INVALID_FILENAME},
      {read_only_, ERR_ACCESS_DENIED},
      {folder_, ERR_ACCESS_DENIED},
      {"NUL", ERR_ACCESS_DENIED},
  };
  for (const auto& c : cases) EXPECT_EQ(Remove(c.path), c.code) << c.path;
  EXPECT_FALSE(fs::exists(file_));
  EXPECT_EQ(ReadBytes(read_only_), kContent) << "a read-only file is never deleted";
  EXPECT_TRUE(fs::is_directory(folder_));
}

TEST_F(Win32FileSystemTest, TheFullPathMayHave260CharactersButNoMore) {
  const std::string longest = PathOfLength(dir_.Path() / "a", 260);
  const std::string too_long = PathOfLength(dir_.Path() / "b", 261);
  WriteBytes(longest, kContent);
  WriteBytes(too_long, kContent);

  EXPECT_EQ(Open(longest), SUCCESS);
  EXPECT_EQ(Open(too_long), ERR_INVALID_FILENAME);
  EXPECT_EQ(Create(too_long), ERR_INVALID_FILENAME);
  EXPECT_EQ(Remove(too_long), ERR_INVALID_FILENAME);
  EXPECT_EQ(ReadBytes(too_long), kContent);
}

TEST_F(Win32FileSystemTest, RelativePathsResolveAgainstTheCurrentDirectory) {
  const fs::path before = fs::current_path();
  ASSERT_TRUE(SystemFileSystem().SetCurrentDirectory(folder_));
  EXPECT_EQ(Open("..\\file.txa"), SUCCESS);
  EXPECT_EQ(Open("file.txa"), ERR_FILE_NOT_FOUND);
  EXPECT_EQ(Create("new.txa"), SUCCESS);
  fs::current_path(before);
  EXPECT_TRUE(fs::exists(fs::path(folder_) / "new.txa"));
}

// While one line file holds a file open, every other spelling of the same
// file is refused writing, creating and removing.
TEST_F(Win32FileSystemTest, AnOpenFileIsProtectedWhateverThePathSaysWithinTheProcess) {
  std::string forward = file_, upper = dir_.File("FILE.TXA");
  for (char& c : forward) c = c == '\\' ? '/' : c;
  const std::string hard = dir_.File("hard.txa");
  fs::create_hard_link(file_, hard);

  LineFile holder(SystemFileSystem(), file_);
  ASSERT_EQ(holder.Open(MODE_READ_WRITE_DENY_WRITE), SUCCESS);
  for (const std::string& other : {file_, forward, upper, hard, folder_ + "\\..\\file.txa"}) {
    EXPECT_EQ(Open(other), ERR_ACCESS_DENIED) << other;
    EXPECT_EQ(Create(other), ERR_ACCESS_DENIED) << other;
    EXPECT_EQ(Remove(other), ERR_ACCESS_DENIED) << other;
  }
  EXPECT_EQ(ReadBytes(file_), kContent) << "others may still read it";
  holder.Close();
  EXPECT_EQ(Open(hard), SUCCESS) << "closing releases the file";
}

TEST_F(Win32FileSystemTest, ConvertingAFileOntoItselfStopsAtTheOutput) {
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

TEST_F(Win32FileSystemTest, AnOpenFileIsProtectedFromOtherProcesses) {
  {
    // The child's conversion holds its input open from its start on.
    JobInChild holder(file_, dir_.File("out.txa"));
    ASSERT_EQ(holder.Start(), "busy");
    EXPECT_EQ(Open(file_), ERR_ACCESS_DENIED);
    EXPECT_EQ(Create(file_), ERR_ACCESS_DENIED);
    EXPECT_EQ(Remove(file_), ERR_ACCESS_DENIED);
    EXPECT_EQ(ReadBytes(file_), kContent) << "others may still read it";
  }
  EXPECT_EQ(Open(file_), SUCCESS) << "the ended child released it";
}

// A file that another program holds open for writing, or without letting
// others read, cannot be opened either.
TEST_F(Win32FileSystemTest, OpenIsRefusedWhileAnotherOpenerMayWrite) {
  const struct {
    DWORD access, share;
    ResultCode code;
  } cases[] = {
      {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, SUCCESS},
      {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, ERR_ACCESS_DENIED},
      {GENERIC_READ, 0, ERR_ACCESS_DENIED},
      {GENERIC_READ, FILE_SHARE_READ, ERR_ACCESS_DENIED},
  };
  for (const auto& c : cases) {
    const HANDLE other = CreateFileA(file_.c_str(), c.access, c.share, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open(file_), c.code) << c.access << " " << c.share;
    EXPECT_EQ(Create(file_), ERR_ACCESS_DENIED) << "nobody may hold a file that is emptied";
    CloseHandle(other);
  }
  EXPECT_EQ(ReadBytes(file_), kContent);
}

// Reads and writes name their offset in two 32-bit halves; the high one must
// not be lost. The file is sparse, so its hole costs no disk.
TEST_F(Win32FileSystemTest, OffsetsBeyond4GiBReachTheirPlace) {
  constexpr FileOffset k4GiB = FileOffset{1} << 32;
  const std::string big = dir_.File("big.txa");
  WriteBytes(big, "head");
  const HANDLE sparse = CreateFileA(big.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(sparse, INVALID_HANDLE_VALUE);
  DWORD ignored = 0;
  DeviceIoControl(sparse, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
  CloseHandle(sparse);

  std::unique_ptr<File> file;
  ASSERT_EQ(SystemFileSystem().OpenShared(big, file), SUCCESS);
  std::size_t written = 0;
  ASSERT_EQ(file->WriteAt(k4GiB + 10, std::string_view("tail"), written), SUCCESS);
  FileOffset size = 0;
  ASSERT_EQ(file->Size(size), SUCCESS);
  EXPECT_EQ(size, k4GiB + 14);
  char bytes[8] = {};
  std::size_t read = 0;
  ASSERT_EQ(file->ReadAt(k4GiB + 8, bytes, read), SUCCESS);
  EXPECT_EQ(std::string(bytes, read), std::string("\0\0tail", 6)) << "only the end of the file";
  ASSERT_EQ(file->ReadAt(0, bytes, read), SUCCESS);
  EXPECT_EQ(std::string(bytes, read), std::string("head\0\0\0\0", 8));
  EXPECT_EQ(file->Close(), SUCCESS);
}

TEST(WindowsErrorMapping, MapsTheSystemErrorsToTheCodes) {
  const struct {
    DWORD error;
    ResultCode code;
  } cases[] = {
      {ERROR_FILE_NOT_FOUND, ERR_FILE_NOT_FOUND},
      {ERROR_PATH_NOT_FOUND, ERR_PATH_NOT_FOUND},
      {ERROR_INVALID_DRIVE, ERR_PATH_NOT_FOUND},
      {ERROR_BAD_NETPATH, ERR_PATH_NOT_FOUND},
      {ERROR_BAD_NET_NAME, ERR_PATH_NOT_FOUND},
      {ERROR_TOO_MANY_OPEN_FILES, ERR_TOO_MANY_OPEN_FILES},
      {ERROR_ACCESS_DENIED, ERR_ACCESS_DENIED},
      {ERROR_SHARING_VIOLATION, ERR_ACCESS_DENIED},
      {ERROR_LOCK_VIOLATION, ERR_ACCESS_DENIED},
      {ERROR_WRITE_PROTECT, ERR_ACCESS_DENIED},
      {ERROR_DISK_FULL, ERR_ACCESS_DENIED},
      {ERROR_INVALID_NAME, ERR_INVALID_FILENAME},
      {ERROR_FILENAME_EXCED_RANGE, ERR_INVALID_FILENAME},
      {ERROR_NOT_READY, static_cast<ResultCode>(ERROR_NOT_READY)},
      {ERROR_CRC, static_cast<ResultCode>(ERROR_CRC)},
  };
  for (const auto& c : cases) EXPECT_EQ(MapWindowsError(c.error), c.code) << c.error;
}

TEST(DeviceNames, AreToldFromFileNames) {
  const struct {
    const char* path;
    bool device;
  } cases[] = {
      {"NUL", true},
      {"nul", true},
      {"C:\\work\\NUL.txa", true},
      {"C:/work/aux", true},
      {"NUL  ", true},
      {"COM1", true},
      {"lpt9.txt", true},
      {"CONOUT$", true},
      {"C:\\work\\NUL:", true},
      {"\\\\.\\COM1", true},
      {"//./PhysicalDrive0", true},
      {"NULL", false},
      {"COM0", false},
      {"COM10", false},
      {"console.txa", false},
      {"C:\\NUL\\x.txa", false},
      {"x.nul", false},
      {"C:\\work\\file.txa", false},
  };
  for (const auto& c : cases) EXPECT_EQ(NamesDevice(c.path), c.device) << c.path;
}

TEST(FullPath, MakesPathsAbsoluteAndNormal) {
  Win32FileSystem file_system;
  const std::string cwd = file_system.CurrentDirectory();
  EXPECT_EQ(file_system.FullPath("C:\\a\\.\\b\\\\c\\..\\d"), "C:\\a\\b\\d");
  EXPECT_EQ(file_system.FullPath("C:/a/b.txa"), "C:\\a\\b.txa");
  EXPECT_EQ(file_system.FullPath("x.txa"), (fs::path(cwd) / "x.txa").string());
  EXPECT_EQ(file_system.FullPath(""), std::nullopt);
}

}  // namespace
}  // namespace identstrip
