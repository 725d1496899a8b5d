#pragma once

#include "conversion/line_record.h"

namespace identstrip {

inline constexpr std::string_view IDENT_PREFIX = "!!> IDENT";
inline constexpr char IDENT_SEPARATOR = ',';
inline constexpr std::string_view KEPT_PREFIX = "!!> ";

// Decides what the converted file receives for one input line. A line whose
// first nine positions are "!!> IDENT" loses everything up to and including its
// first comma and keeps the rest behind "!!> "; without a comma it yields no
// line. Every other line passes unchanged. Returns false when there is no
// output line; otherwise `output` holds the line to append.
bool ApplyIdentRule(const LineRecord& input, LineRecord& output);

}  // namespace identstrip
