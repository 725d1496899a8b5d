#include "cli/stream_file_system.h"

#include "cli/stream_files.h"
#include "cli/stream_names.h"

namespace identstrip::cli {

StreamFileSystem::StreamFileSystem(FileSystem& files, const StandardInputSpool* input,
                                   int output_fd)
    : files_(files), input_(input), output_fd_(output_fd) {}

bool StreamFileSystem::IsStandardInput(std::string_view path) const {
  return input_ != nullptr && path == STANDARD_INPUT_NAME;
}

bool StreamFileSystem::IsStandardOutput(std::string_view path) const {
  return output_fd_ >= 0 && path == STANDARD_OUTPUT_NAME;
}

bool StreamFileSystem::HeldAsStandardInput(std::string_view path) const {
  if (input_ == nullptr || !input_->Source()) return false;
  return IdentityOfPath(std::string(path)) == input_->Source();
}

// Standard output redirected into a file: that file must not be one that this
// conversion reads (through standard input) or that a line file, here or in
// another process, holds open, or the input would be changed.
ResultCode StreamFileSystem::CheckOutputNotInUse() const {
  const auto identity = IdentityOfDescriptor(output_fd_);
  if (!identity) return SUCCESS;
  if (input_ != nullptr && input_->Source() == identity) return ERR_ACCESS_DENIED;
  return HeldByALineFile(output_fd_) ? ERR_ACCESS_DENIED : SUCCESS;
}

ResultCode StreamFileSystem::OpenShared(std::string_view path, std::unique_ptr<File>& file) {
  if (IsStandardInput(path)) {
    return OpenSpoolCopy(input_->Descriptor(), file);
  }
  if (IsStandardOutput(path)) {
    if (const ResultCode code = CheckOutputNotInUse(); code != SUCCESS) return code;
    file = MakeStreamOutputFile(output_fd_);
    return SUCCESS;
  }
  if (HeldAsStandardInput(path)) return ERR_ACCESS_DENIED;
  return files_.OpenShared(path, file);
}

// Standard output is never emptied: what a redirection did to it is the shell's.
ResultCode StreamFileSystem::CreateEmpty(std::string_view path) {
  if (IsStandardOutput(path)) return CheckOutputNotInUse();
  if (IsStandardInput(path) || HeldAsStandardInput(path)) return ERR_ACCESS_DENIED;
  return files_.CreateEmpty(path);
}

ResultCode StreamFileSystem::Remove(std::string_view path) {
  if (IsStandardOutput(path)) return SUCCESS;
  if (IsStandardInput(path) || HeldAsStandardInput(path)) return ERR_ACCESS_DENIED;
  return files_.Remove(path);
}

std::optional<std::string> StreamFileSystem::FullPath(std::string_view path) const {
  if (IsStandardInput(path) || IsStandardOutput(path)) return std::string(path);
  return files_.FullPath(path);
}

}  // namespace identstrip::cli
