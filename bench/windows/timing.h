#pragma once
// The timing harnesses' clock and their one line of figures per measurement.

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <vector>

namespace glimmerly::bench {

using Clock = std::chrono::steady_clock;

inline double ms_since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start)
      .count();
}

// The median, the given high percentile (0.95 is "p95") and the worst of the
// samples, in milliseconds.
inline void report(const char *what, std::vector<double> samples,
                   double high = 0.99) {
  if (samples.empty()) {
    std::printf("%-44s no samples\n", what);
    return;
  }
  std::sort(samples.begin(), samples.end());
  const auto at = [&](double q) {
    return samples[static_cast<std::size_t>(q * double(samples.size() - 1))];
  };
  std::printf("%-44s median %8.4f ms  p%02d %8.4f ms  worst %8.4f ms  (%zu)\n",
              what, at(0.5), static_cast<int>(high * 100 + 0.5), at(high),
              samples.back(), samples.size());
}

} // namespace glimmerly::bench
