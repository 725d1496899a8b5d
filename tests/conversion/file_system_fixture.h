#pragma once

// What the tests of the line files on the machine's own file system share: a
// folder with a file and a subfolder in it, and Open, Create and Remove each
// on a line file of its own, returning the code.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "conversion/line_file.h"
#include "tests/support/temp_dir.h"

namespace identstrip::testing {

inline constexpr std::string_view kContent = "!!> IDENT(1),X\r\nkeep me\r\n";

// A path and the code an operation on it must give.
struct PathCase {
  std::string path;
  ResultCode code;
};

class FileSystemFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = dir_.File("file.txa");
    WriteBytes(file_, kContent);
    read_only_ = dir_.File("read-only.txa");
    WriteBytes(read_only_, kContent);
    folder_ = dir_.File("folder");
    std::filesystem::create_directory(folder_);
  }

  static ResultCode Open(const std::string& path) {
    LineFile file(SystemFileSystem(), path);
    return file.Open(MODE_READ_WRITE_DENY_WRITE);
  }
  static ResultCode Create(const std::string& path) {
    LineFile file(SystemFileSystem(), path);
    return file.Create();
  }
  static ResultCode Remove(const std::string& path) {
    LineFile file(SystemFileSystem(), path);
    return file.Remove();
  }

  TempDir dir_;
  // read_only_ is made read-only by each system's fixture, in its own way.
  std::string file_, read_only_, folder_;
};

}  // namespace identstrip::testing
