#pragma once

#include <cstdio>
#include <cstdlib>

namespace identstrip::fuzz {

// A broken check stops the run with an abort, which libFuzzer records as a
// crash and saves the input that caused it.
[[noreturn]] inline void CheckFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  std::abort();
}

}  // namespace identstrip::fuzz

#define FUZZ_CHECK(condition) \
  ((condition) ? void() : ::identstrip::fuzz::CheckFailed(#condition, __FILE__, __LINE__))
