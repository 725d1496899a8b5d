#pragma once

#include <cstdint>
#include <string_view>

namespace identstrip {

// Every line-file operation ends with one of these codes; 0 is success. A code
// that is not listed here is the operating system's own error number, passed on.
using ResultCode = std::int32_t;

inline constexpr ResultCode SUCCESS = 0;
inline constexpr ResultCode ERR_FILE_NOT_FOUND = 2;
inline constexpr ResultCode ERR_PATH_NOT_FOUND = 3;
inline constexpr ResultCode ERR_TOO_MANY_OPEN_FILES = 4;
inline constexpr ResultCode ERR_ACCESS_DENIED = 5;
inline constexpr ResultCode ERR_RECORD_NOT_AVAILABLE = 33;
inline constexpr ResultCode ERR_FILE_NOT_OPEN = 37;
inline constexpr ResultCode ERR_INVALID_FILENAME = 45;
inline constexpr ResultCode ERR_FILE_ALREADY_OPEN = 52;

// The standard name of a code ("File Not Found"), or an empty view for a code
// passed on from the operating system.
std::string_view ResultCodeName(ResultCode code);

// The code of the most recent line-file operation in the whole program.
ResultCode LastError();
void SetLastError(ResultCode code);

}  // namespace identstrip
