#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace velquin::bench {

// The q-quantile of the values, interpolated between the two nearest ranks (q = 0.5: median).
inline double Quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  const double at = q * static_cast<double>(values.size() - 1);
  const auto low = static_cast<std::size_t>(at);
  const std::size_t high = std::min(low + 1, values.size() - 1);
  return values[low] + (values[high] - values[low]) * (at - static_cast<double>(low));
}

inline void PrintCaption(std::FILE* out, const std::string& caption) {
  std::fputs(caption.c_str(), out);
}
inline void PrintCaption(std::FILE* out, const wchar_t* caption) {
  std::fprintf(out, "%ls", caption);
}

// One line per program: the median of its times and their interquartile range; then its median
// over the previous program's and the same ratio taken round by round, which leaves out whatever
// slowed a whole round down; from the third program on, its median over the first one's too.
template <class Program>
void PrintTimesAndRatios(const std::vector<Program>& programs) {
  const auto median = [&](std::size_t p) { return Quantile(programs[p].times, 0.5); };
  for (std::size_t p = 0; p < programs.size(); ++p) {
    const std::vector<double>& times = programs[p].times;
    PrintCaption(stdout, programs[p].caption);
    std::printf(": %.1f ms (%.1f to %.1f)", median(p), Quantile(times, 0.25), Quantile(times, 0.75));
    if (p > 0) {
      std::vector<double> ratios;
      for (std::size_t r = 0; r < times.size(); ++r) ratios.push_back(times[r] / programs[p - 1].times[r]);
      std::printf("; over the one before: %.3fx of the medians, %.3fx (%.3f to %.3f) round by round",
                  median(p) / median(p - 1), Quantile(ratios, 0.5), Quantile(ratios, 0.25),
                  Quantile(ratios, 0.75));
    }
    if (p > 1) std::printf("; over the first: %.3fx of the medians", median(p) / median(0));
    std::printf("\n");
  }
}

// Starts the programs in turn, round after round, so that whatever else the machine does falls
// on all of them alike, after one unmeasured round (the first start of each fills the page
// cache); then prints their times. runOnce(program) gives milliseconds to its window, or a
// negative number when it showed none, which ends the measurement. Returns the exit code.
template <class Program, class RunOnce>
int TimeInRounds(std::vector<Program>& programs, int rounds, RunOnce runOnce) {
  if (rounds < 1) {
    std::fprintf(stderr, "at least one round\n");
    return 2;
  }
  for (int round = -1; round < rounds; ++round) {
    for (Program& program : programs) {
      const double ms = runOnce(program);
      if (ms < 0) {
        std::fprintf(stderr, "round %d: no window from ", round);
        PrintCaption(stderr, program.caption);
        std::fprintf(stderr, "\n");
        return 1;
      }
      if (round >= 0) program.times.push_back(ms);
    }
  }
  PrintTimesAndRatios(programs);
  return 0;
}

}  // namespace velquin::bench
