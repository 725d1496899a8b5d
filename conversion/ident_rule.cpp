#include "conversion/ident_rule.h"

#include <cstring>

namespace identstrip {

bool ApplyIdentRule(const LineRecord& input, LineRecord& output) {
  const std::string_view text = input.Text();
  if (text.substr(0, IDENT_PREFIX.size()) != IDENT_PREFIX) {
    if (&output != &input) output.CopyFrom(input);
    return true;
  }
  // Positions past the extent are blanks, so a comma can only lie before it.
  const std::size_t comma = text.substr(0, input.Extent()).find(IDENT_SEPARATOR);
  if (comma == std::string_view::npos) return false;

  // The remainder is copied as it stands, blanks after the comma included.
  const std::string_view remainder = text.substr(comma + 1, input.Extent() - comma - 1);
  char* out = output.BeginRewrite();
  std::memcpy(out, KEPT_PREFIX.data(), KEPT_PREFIX.size());
  std::memmove(out + KEPT_PREFIX.size(), remainder.data(), remainder.size());
  output.EndRewrite(KEPT_PREFIX.size() + remainder.size());
  return true;
}

}  // namespace identstrip
