#pragma once
// The timing harnesses' clock and their one line of figures per measurement.

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string_view>
#include <vector>

namespace glimmerly::bench {

using Clock = std::chrono::steady_clock;

// "--once" among the arguments: every timed loop goes round once, so that
// the tests can start a harness and see it end well within seconds; such a
// run's figures are no measurement. Set by main before any loop runs.
inline bool once = false;

template <class Char>
void take_once_argument(int argc, Char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::basic_string_view<Char> argument(argv[i]);
    once = once || std::equal(argument.begin(), argument.end(), "--once",
                              "--once" + 6);
  }
}

// How many times a loop of `full` rounds goes round in this run.
inline int runs(int full) { return once ? 1 : full; }

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
