#pragma once

#include <string>
#include <string_view>

#include "conversion/result_codes.h"

namespace identstrip {

inline constexpr std::string_view MESSAGE_CAPTION = "Convert file";
inline constexpr std::string_view FILE_NOT_FOUND_TEXT = "File not found!";

// What the job was doing with the file when it failed; the action starts the
// message's second line.
inline constexpr std::string_view ACTION_OPENING = "opening: ";
inline constexpr std::string_view ACTION_READING = "reading: ";
inline constexpr std::string_view ACTION_WRITING = "writing: ";

// "An unexpected Error: <code> occured,|<action><path>!"
std::string UnexpectedErrorText(ResultCode code, std::string_view action, std::string_view path);

// The text for a failure to open the input: "File not found!" for a missing
// file, otherwise the unexpected-error text naming the input.
std::string InputOpenFailureText(ResultCode code, std::string_view input_name);

}  // namespace identstrip
