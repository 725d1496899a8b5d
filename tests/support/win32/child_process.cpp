#include "tests/support/win32/child_process.h"

#include <stdexcept>

#include "conversion/win32/windows_api.h"

namespace identstrip::testing {
namespace {

void CloseIfOpen(void*& handle) {
  if (handle != nullptr) CloseHandle(handle);
  handle = nullptr;
}

}  // namespace

std::string QuoteArgument(const std::string& argument) {
  // Backslashes are plain text except in front of a quote, where each one
  // must be doubled; the closing quote counts as such a quote too.
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, '\\');
  quoted += '"';
  return quoted;
}

std::string ProgramBesideThisOne(const std::string& file_name) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  folder.erase(folder.find_last_of("\\/") + 1);
  return folder + file_name;
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE child_input = nullptr, child_output = nullptr;
  if (!CreatePipe(&child_input, &to_child_, &inherited, 0) ||
      !CreatePipe(&from_child_, &child_output, &inherited, 0)) {
    throw std::runtime_error("no pipes for the child");
  }
  // This process's ends stay here.
  SetHandleInformation(to_child_, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(from_child_, HANDLE_FLAG_INHERIT, 0);

  std::string command_line = QuoteArgument(program);
  for (const auto& argument : arguments) command_line += " " + QuoteArgument(argument);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = child_input;
  startup.hStdOutput = child_output;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION started{};
  const BOOL ok = CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, TRUE, 0,
                                 nullptr, nullptr, &startup, &started);
  CloseHandle(child_input);
  CloseHandle(child_output);
  if (!ok) {
    CloseIfOpen(to_child_);
    CloseIfOpen(from_child_);
    throw std::runtime_error("cannot start " + program);
  }
  CloseHandle(started.hThread);
  process_ = started.hProcess;
}

ChildProcess::~ChildProcess() {
  CloseIfOpen(to_child_);
  WaitForSingleObject(process_, 60000);
  CloseIfOpen(from_child_);
  CloseIfOpen(process_);
}

bool ChildProcess::Send(std::string_view bytes) {
  DWORD written = 0;
  return WriteFile(to_child_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool ChildProcess::Receive(void* data, std::size_t size) {
  auto* into = static_cast<char*>(data);
  while (size > 0) {
    DWORD got = 0;
    if (!ReadFile(from_child_, into, static_cast<DWORD>(size), &got, nullptr) || got == 0) {
      return false;
    }
    into += got;
    size -= got;
  }
  return true;
}

}  // namespace identstrip::testing
