#include "conversion/job_messages.h"

namespace identstrip {

std::string UnexpectedErrorText(ResultCode code, std::string_view action, std::string_view path) {
  std::string text = "An unexpected Error: ";
  text += std::to_string(code);
  text += " occured,|";
  text += action;
  text += path;
  text += '!';
  return text;
}

std::string InputOpenFailureText(ResultCode code, std::string_view input_name) {
  if (code == ERR_FILE_NOT_FOUND) return std::string(FILE_NOT_FOUND_TEXT);
  return UnexpectedErrorText(code, ACTION_OPENING, input_name);
}

}  // namespace identstrip
