#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace identstrip::testing {

// A plain model of what the line files and the IDENT rule do, written for the
// tests from the rules themselves: whole strings, no buffer, no offsets. The
// tests trust it, not the production code, to say what is right.

// A record is told by its line: the characters it holds, at most
// LINE_CAPACITY, which the record follows with blanks up to LINE_CAPACITY.
// Leaving the padding out keeps the model fast enough to fuzz with; the
// blanks hold no comma and no part of "!!> IDENT", so no rule needs them.

// The lines a line file reads from `bytes`, in order.
std::vector<std::string> ModelReadLines(std::string_view bytes);

// Whether `record` (LINE_CAPACITY characters) holds `line`.
bool RecordHolds(std::string_view record, std::string_view line);

// The bytes a line file writes for the record that holds `line`.
std::string ModelWriteLine(std::string_view line);

// The output line for one input line, or nothing when the line is dropped.
std::optional<std::string> ModelApplyIdentRule(const std::string& line);

// The bytes a whole conversion of `input` writes.
std::string ModelConvert(std::string_view input);

}  // namespace identstrip::testing
