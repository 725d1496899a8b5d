#include "conversion/result_codes.h"

namespace identstrip {
namespace {
ResultCode last_error = SUCCESS;
}

std::string_view ResultCodeName(ResultCode code) {
  switch (code) {
    case SUCCESS:
      return "Success";
    case ERR_FILE_NOT_FOUND:
      return "File Not Found";
    case ERR_PATH_NOT_FOUND:
      return "Path Not Found";
    case ERR_TOO_MANY_OPEN_FILES:
      return "Too Many Open Files";
    case ERR_ACCESS_DENIED:
      return "Access Denied";
    case ERR_RECORD_NOT_AVAILABLE:
      return "Record Not Available";
    case ERR_FILE_NOT_OPEN:
      return "File Not Open";
    case ERR_INVALID_FILENAME:
      return "Invalid Filename";
    case ERR_FILE_ALREADY_OPEN:
      return "File Already Open";
    default:
      return {};
  }
}

ResultCode LastError() {
  return last_error;
}
void SetLastError(ResultCode code) {
  last_error = code;
}

}  // namespace identstrip
