#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "conversion/win32/windows_api.h"

// After windows.h, which it needs.
#include <psapi.h>

#include "tests/cli/cli_process.h"
#include "tests/support/unique_folder.h"
#include "tests/support/win32/child_process.h"

namespace identstrip::cli::testing {
namespace fs = std::filesystem;

namespace {

class InheritedHandle {
 public:
  InheritedHandle(const fs::path& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    handle_ = CreateFileA(path.string().c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          &inherited, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path.string());
  }
  InheritedHandle(const InheritedHandle&) = delete;
  InheritedHandle& operator=(const InheritedHandle&) = delete;
  ~InheritedHandle() { CloseHandle(handle_); }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

std::string NameOf(std::string_view variable) {
  return std::string(variable.substr(0, variable.find('=', 1)));
}

// This process's environment with `additions` put in; the block ends in an
// empty string.
std::string EnvironmentWith(const std::vector<std::string>& additions) {
  std::string block;
  char* const strings = GetEnvironmentStringsA();
  for (const char* variable = strings; *variable != '\0'; variable += std::strlen(variable) + 1) {
    bool replaced = false;
    for (const auto& addition : additions)
      replaced |= _stricmp(NameOf(addition).c_str(), NameOf(variable).c_str()) == 0;
    if (!replaced) block.append(variable).push_back('\0');
  }
  FreeEnvironmentStringsA(strings);
  for (const auto& addition : additions) block.append(addition).push_back('\0');
  block.push_back('\0');
  return block;
}

}  // namespace

// The program as built, with its path made full: under Wine the build's own
// paths are Unix paths, which the current drive turns into Windows ones.
std::string CliPath() {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(IDENTSTRIP_CLI_PATH, MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? std::string(full, length) : IDENTSTRIP_CLI_PATH;
}

ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessSetup& setup) {
  const fs::path captures = identstrip::testing::MakeUniqueFolder(fs::temp_directory_path());
  const fs::path output_capture = captures / "stdout";
  const fs::path error_capture = captures / "stderr";
  ProcessResult result;
  {
    InheritedHandle input(setup.input_file ? *setup.input_file : fs::path("NUL"), GENERIC_READ,
                          OPEN_EXISTING);
    std::optional<InheritedHandle> output;
    if (setup.output_file) {
      output.emplace(*setup.output_file, FILE_APPEND_DATA, OPEN_ALWAYS);
    } else if (!setup.output_closed) {
      output.emplace(output_capture, GENERIC_WRITE, CREATE_ALWAYS);
    }
    InheritedHandle errors(error_capture, GENERIC_WRITE, CREATE_ALWAYS);

    std::string command_line = identstrip::testing::QuoteArgument(program);
    for (const auto& argument : arguments) {
      command_line += " " + identstrip::testing::QuoteArgument(argument);
    }
    std::string environment = EnvironmentWith(setup.environment);
    const std::string folder = setup.folder.string();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.get();
    startup.hStdOutput = output ? output->get() : INVALID_HANDLE_VALUE;
    startup.hStdError = errors.get();
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, TRUE, 0,
                        environment.data(), folder.empty() ? nullptr : folder.c_str(), &startup,
                        &started)) {
      throw std::runtime_error("cannot start " + program);
    }
    // Windows keeps a process's peak after it ended, but Wine only knows it
    // while the process runs: look while waiting, and once more after.
    for (bool ended = false; !ended;) {
      ended = WaitForSingleObject(started.hProcess, 5) == WAIT_OBJECT_0;
      PROCESS_MEMORY_COUNTERS memory{};
      if (GetProcessMemoryInfo(started.hProcess, &memory, sizeof memory)) {
        result.peak_memory_kib =
            std::max(result.peak_memory_kib, static_cast<long>(memory.PeakWorkingSetSize / 1024));
      }
    }
    DWORD exit_code = 0;
    GetExitCodeProcess(started.hProcess, &exit_code);
    result.exit_code = static_cast<int>(exit_code);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
  }
  if (fs::exists(output_capture)) result.output = ReadBytes(output_capture);
  result.errors = ReadBytes(error_capture);
  fs::remove_all(captures);
  return result;
}

}  // namespace identstrip::cli::testing
