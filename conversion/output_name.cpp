#include "conversion/output_name.h"

namespace identstrip {
namespace {
constexpr std::size_t KEPT_EXTENSION = 4;  // the "." and three characters
}  // namespace

std::string ProposeOutputName(std::string_view input_path) {
  // Both separators count on every platform: Windows paths are common in
  // Clarion projects whatever machine the file is looked at on.
  const std::size_t last_separator = input_path.find_last_of("/\\");
  const std::size_t name_start = last_separator == std::string_view::npos ? 0 : last_separator + 1;
  const std::size_t dot = input_path.find('.', name_start);

  std::string proposal;
  if (dot == std::string_view::npos) {
    proposal = std::string(input_path) + "NI";
  } else {
    proposal = std::string(input_path.substr(0, dot)) + "NI";
    proposal += input_path.substr(dot, KEPT_EXTENSION);
  }
  if (proposal.size() > PROPOSAL_CAPACITY) proposal.resize(PROPOSAL_CAPACITY);
  return proposal;
}

}  // namespace identstrip
