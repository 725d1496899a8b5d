#pragma once

#include <memory>

#include "cli/standard_input_spool.h"
#include "conversion/file_system.h"

namespace identstrip::cli {

// The machine's file system, with the standard streams as two more files:
// STANDARD_INPUT_NAME reads the spooled standard input, STANDARD_OUTPUT_NAME
// writes to a descriptor (standard output) from its first byte on. Every other
// name goes to `files`. This lets the one conversion job, with its line files,
// serve the streams too.
class StreamFileSystem final : public FileSystem {
 public:
  // `input` may be null when standard input is not used, `output_fd` -1 when
  // standard output is not.
  StreamFileSystem(FileSystem& files, const StandardInputSpool* input, int output_fd);

  ResultCode OpenShared(std::string_view path, std::unique_ptr<File>& file) override;
  ResultCode CreateEmpty(std::string_view path) override;
  ResultCode Remove(std::string_view path) override;
  std::optional<std::string> FullPath(std::string_view path) const override;
  bool IsDirectory(std::string_view path) const override { return files_.IsDirectory(path); }
  std::string CurrentDirectory() const override { return files_.CurrentDirectory(); }
  bool SetCurrentDirectory(std::string_view path) override {
    return files_.SetCurrentDirectory(path);
  }
  char Separator() const override { return files_.Separator(); }

 private:
  bool IsStandardInput(std::string_view path) const;
  bool IsStandardOutput(std::string_view path) const;
  bool HeldAsStandardInput(std::string_view path) const;
  ResultCode CheckOutputNotInUse() const;

  FileSystem& files_;
  const StandardInputSpool* input_;
  int output_fd_;
};

}  // namespace identstrip::cli
