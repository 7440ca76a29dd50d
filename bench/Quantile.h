#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdio>
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

// One line per program: the median of its times and their quartiles, then the same of its time
// over the previous program's in each round. The paired ratio leaves out whatever slowed a
// whole round down.
template <class Programs>
void PrintTimesAndRatios(const Programs& programs) {
  for (std::size_t p = 0; p < programs.size(); ++p) {
    const std::vector<double>& times = programs[p].times;
    std::vector<double> ratios;
    for (std::size_t r = 0; r < times.size(); ++r) {
      ratios.push_back(p == 0 ? 1.0 : times[r] / programs[p - 1].times[r]);
    }
    std::printf("%.1f %.1f %.1f %.3f %.3f %.3f\n", Quantile(times, 0.5), Quantile(times, 0.25),
                Quantile(times, 0.75), Quantile(ratios, 0.5), Quantile(ratios, 0.25), Quantile(ratios, 0.75));
  }
}

}  // namespace velquin::bench
