#include "cli/standard_input_spool.h"

#include "conversion/job_messages.h"

namespace identstrip::cli {

ResultCode StandardInputSpool::Fail(ResultCode code, std::string_view action,
                                    const std::string& path) {
  failure_text_ = UnexpectedErrorText(code, action, path);
  return code;
}

}  // namespace identstrip::cli
