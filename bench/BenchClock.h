#pragma once
// The clock of the benchmark programs.
#include <chrono>
#include <cstdint>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

inline double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double SecondsSince(Clock::time_point start) {
  return MsSince(start) / 1000.0;
}

}  // namespace bench
