#include "discovery/BoundedJobs.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace velquin {

namespace {

using Clock = std::chrono::steady_clock;

// Workers that take a run's jobs at once: the places are mostly quick looks at local folders,
// and a few threads keep one slow disk from holding the others.
constexpr std::size_t kWorkersPerRun = 4;
// Threads of all runs of the process, those stuck in the kernel included: thousands of places
// on a dead share must not mean thousands of threads.
constexpr int kMaxThreads = 32;
std::atomic<int> threadsAlive{0};

enum class JobState { kQueued, kRunning, kDone, kLate };

// What a run's workers and its caller share; the workers hold it as long as they live.
struct Run {
  std::function<std::function<void()>(std::size_t)> job;
  std::mutex lock;
  std::condition_variable changed;
  std::vector<JobState> state;
  std::vector<Clock::time_point> started;
  std::vector<std::size_t> running;  // a few: one per worker not left behind
  std::size_t next = 0;              // the next job to start
  std::size_t working = 0;           // workers not left behind
  bool over = false;                 // the caller has gone on: start nothing more
};

void Work(const std::shared_ptr<Run>& run) {
  std::unique_lock held(run->lock);
  while (!run->over && run->next < run->state.size()) {
    const std::size_t i = run->next++;
    run->state[i] = JobState::kRunning;
    run->started[i] = Clock::now();
    run->running.push_back(i);
    run->changed.notify_all();  // its bound starts now
    held.unlock();
    std::function<void()> commit;
    try {
      commit = run->job(i);
    } catch (...) {  // a job that failed has no result, like one that did not answer
    }
    held.lock();
    if (run->state[i] == JobState::kLate) return;  // a worker took this one's place
    if (commit) commit();
    run->state[i] = JobState::kDone;
    std::erase(run->running, i);
    run->changed.notify_all();
  }
  --run->working;
  run->changed.notify_all();
}

// Starts a worker unless the process has as many threads of these as it may; never joined.
bool StartWorker(const std::shared_ptr<Run>& run) {
  if (++threadsAlive > kMaxThreads) {
    --threadsAlive;
    return false;
  }
  try {
    std::thread([run] {
      Work(run);
      --threadsAlive;
    }).detach();
  } catch (const std::system_error&) {  // the system has no thread to give
    --threadsAlive;
    return false;
  }
  ++run->working;
  return true;
}

}  // namespace

std::vector<bool> RunEach(std::size_t count, std::function<std::function<void()>(std::size_t)> job,
                          SteadyTime deadline, std::chrono::milliseconds placeBound) {
  auto run = std::make_shared<Run>();
  run->job = std::move(job);
  run->state.assign(count, JobState::kQueued);
  run->started.resize(count);
  std::unique_lock held(run->lock);
  for (std::size_t k = 0; k < std::min(count, kWorkersPerRun) && StartWorker(run); ++k) {
  }
  // Each pass looks at the running jobs only, a few, so that a run costs the same per job
  // however many there are.
  for (;;) {
    const Clock::time_point now = Clock::now();
    Clock::time_point wake = deadline;
    std::vector<std::size_t> stillRunning;
    for (const std::size_t i : run->running) {
      if (now < run->started[i] + placeBound && now < deadline) {
        stillRunning.push_back(i);
        wake = std::min(wake, run->started[i] + placeBound);
      } else {
        // Left to its thread; another takes up the queue in its place.
        run->state[i] = JobState::kLate;
        --run->working;
        if (now < deadline) StartWorker(run);
      }
    }
    run->running = std::move(stillRunning);
    const bool pending = !run->running.empty() || run->next < count;
    // Done, out of time, or no thread left to take what is queued.
    if (!pending || now >= deadline || run->working == 0) break;
    run->changed.wait_until(held, wake);
  }
  run->over = true;
  std::vector<bool> finished(count);
  for (std::size_t i = 0; i < count; ++i) finished[i] = run->state[i] == JobState::kDone;
  return finished;
}

}  // namespace velquin
