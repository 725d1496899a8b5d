#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace identstrip::testing {

// The pipes to a process that serves a conversion job: commands go in, the
// job's reports come back, each with its length first (see job_commands.h).
class JobChannel {
 public:
  virtual ~JobChannel() = default;
  virtual bool Send(std::string_view bytes) = 0;
  // Exactly `size` bytes, or false when the child ended before.
  virtual bool Receive(void* data, std::size_t size) = 0;
};

// Starts the process that converts `input` into `output`, as each system
// does it; it ends when the channel is destroyed. Throws when it cannot.
std::unique_ptr<JobChannel> StartJobInChild(const std::string& input, const std::string& output);

// A conversion job in a process of its own, one command at a time; each
// answer is the job's report.
class JobInChild {
 public:
  JobInChild(const std::string& input, const std::string& output)
      : channel_(StartJobInChild(input, output)) {}

  std::string Start() { return Ask('s'); }
  std::string Tick() { return Ask('t'); }
  std::string Finish() { return Ask('f'); }

  // Starts and ticks to the end with pauses; Answer() collects the report.
  bool BeginPacedRun() { return channel_->Send("r"); }
  std::string Answer() {
    std::uint32_t size = 0;
    if (!channel_->Receive(&size, sizeof size)) return "no answer";
    std::string report(size, '\0');
    return channel_->Receive(report.data(), size) ? report : "no answer";
  }

 private:
  std::string Ask(char command) {
    return channel_->Send(std::string(1, command)) ? Answer() : "no answer";
  }

  std::unique_ptr<JobChannel> channel_;
};

}  // namespace identstrip::testing
