#pragma once

#include <string>
#include <string_view>

namespace identstrip {

// The longest proposal, in characters: the capacity of a path variable.
inline constexpr std::size_t PROPOSAL_CAPACITY = 254;

// The output name proposed for a chosen input: "NI" put before the first "."
// of the file name, followed by that "." and at most three characters after
// it ("C:\Apps\Sales.TXD" gives "C:\Apps\SalesNI.TXD"). Dots in folder names
// are passed over, so the proposal always names a file beside the input. A
// name without a dot gets "NI" appended. The result is cut to 254 characters.
std::string ProposeOutputName(std::string_view input_path);

}  // namespace identstrip
