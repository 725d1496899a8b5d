#pragma once

#include <cstdint>
#include <string>

#include "tests/support/win32/child_process.h"

namespace identstrip::testing {

// A conversion job in the helper program job_child, one command at a time;
// each answer is the job's state ("idle" or "busy") and its messages, one a
// line.
class JobInChild {
 public:
  JobInChild(const std::string& input, const std::string& output)
      : child_(ProgramBesideThisOne("job_child.exe"), {input, output}) {}

  std::string Start() { return Ask('s'); }
  std::string Tick() { return Ask('t'); }
  std::string Finish() { return Ask('f'); }

  // Starts and ticks to the end with pauses; Answer() collects the report.
  bool BeginPacedRun() { return child_.Send("r"); }
  std::string Answer() {
    std::uint32_t size = 0;
    if (!child_.Receive(&size, sizeof size)) return "no answer";
    std::string report(size, '\0');
    return child_.Receive(report.data(), size) ? report : "no answer";
  }

 private:
  std::string Ask(char command) {
    return child_.Send(std::string(1, command)) ? Answer() : "no answer";
  }

  ChildProcess child_;
};

}  // namespace identstrip::testing
