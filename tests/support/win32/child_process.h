#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace identstrip::testing {

// Another program, started with its standard input and output joined to this
// process by pipes, so that a test can drive it step by step.
class ChildProcess {
 public:
  // Throws when the program cannot be started.
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
  // Closes the child's standard input, which tells it to end, and waits.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Send(std::string_view bytes);
  // Exactly `size` bytes, or false when the child ended before.
  bool Receive(void* data, std::size_t size);

 private:
  void* process_ = nullptr;
  void* to_child_ = nullptr;
  void* from_child_ = nullptr;
};

// A program in the folder of the running test program.
std::string ProgramBesideThisOne(const std::string& file_name);

// One argument as a Windows program's command-line parser reads it back.
std::string QuoteArgument(const std::string& argument);

}  // namespace identstrip::testing
