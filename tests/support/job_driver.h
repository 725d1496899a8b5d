#pragma once

#include <cstdint>

#include "conversion/conversion_job.h"

namespace identstrip::testing {

// Ticks the job until it is Idle again, but at most `most_ticks` times, so
// that a job that never ends fails the test instead of hanging it. Returns
// the ticks taken.
inline std::int64_t TickToTheEnd(ConversionJob& job, std::int64_t most_ticks) {
  std::int64_t ticks = 0;
  while (job.State() != JobState::Idle && ticks < most_ticks) {
    job.HandleTick();
    ++ticks;
  }
  return ticks;
}

}  // namespace identstrip::testing
