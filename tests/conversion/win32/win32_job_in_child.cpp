#include "tests/conversion/job_in_child.h"
#include "tests/support/win32/child_process.h"

namespace identstrip::testing {
namespace {

// The helper program job_child, beside the test program, driven through its
// standard streams.
class JobChildProgram final : public JobChannel {
 public:
  JobChildProgram(const std::string& input, const std::string& output)
      : child_(ProgramBesideThisOne("job_child.exe"), {input, output}) {}

  bool Send(std::string_view bytes) override { return child_.Send(bytes); }
  bool Receive(void* data, std::size_t size) override { return child_.Receive(data, size); }

 private:
  ChildProcess child_;
};

}  // namespace

std::unique_ptr<JobChannel> StartJobInChild(const std::string& input, const std::string& output) {
  return std::make_unique<JobChildProgram>(input, output);
}

}  // namespace identstrip::testing
