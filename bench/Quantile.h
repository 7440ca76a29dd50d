#pragma once

#include <algorithm>
#include <cstddef>
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

}  // namespace velquin::bench
