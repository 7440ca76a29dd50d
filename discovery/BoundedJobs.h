#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace velquin {

// A share whose server is off, a NAS asleep or a stopped FUSE daemon leaves a thread that
// looks at it stuck in the kernel, and no call can take it back. So each place of the search
// is looked at on a worker thread of its own, and the search waits for it only so long.

using SteadyTime = std::chrono::steady_clock::time_point;

// How long one place may take from when a worker starts on it.
inline constexpr std::chrono::milliseconds kPlaceBound{3000};
// How long a whole search may take: places still waiting for a worker then are not looked at.
inline constexpr std::chrono::milliseconds kSearchBound{8000};

inline SteadyTime SearchDeadline() {
  return std::chrono::steady_clock::now() + kSearchBound;
}

// Runs job(i) for every i below `count` on a few worker threads, each job given `placeBound`
// from when it starts and all of them until `deadline`; says which finished in time. A job that
// did not is left to its thread, which is never waited for: the job must own (by value or
// shared_ptr) everything it touches, and `commit`, which job(i) returns and which runs under
// the run's lock only if the job finished in time, is the one way it hands over its result.
// A worker left behind is replaced, up to a limit on the threads of the whole process, so a
// stuck one does not starve the rest.
std::vector<bool> RunEach(std::size_t count, std::function<std::function<void()>(std::size_t)> job,
                          SteadyTime deadline, std::chrono::milliseconds placeBound);

// The jobs' results in their order; nothing for a job that did not finish in time.
template <class Result>
std::vector<std::optional<Result>> RunBounded(std::vector<std::function<Result()>> jobs, SteadyTime deadline,
                                              std::chrono::milliseconds placeBound = kPlaceBound) {
  // Owned with the workers, which may outlive this call.
  auto shared = std::make_shared<std::vector<std::function<Result()>>>(std::move(jobs));
  auto results = std::make_shared<std::vector<std::optional<Result>>>(shared->size());
  const std::vector<bool> finished = RunEach(
      shared->size(),
      [shared, results](std::size_t i) -> std::function<void()> {
        auto result = std::make_shared<Result>((*shared)[i]());
        return [results, result, i] { (*results)[i] = std::move(*result); };
      },
      deadline, placeBound);
  std::vector<std::optional<Result>> taken(finished.size());
  for (std::size_t i = 0; i < finished.size(); ++i)
    if (finished[i]) taken[i] = std::move((*results)[i]);
  return taken;
}

}  // namespace velquin
