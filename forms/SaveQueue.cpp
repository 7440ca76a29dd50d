#include "forms/SaveQueue.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace velquin {

namespace {

struct Entry {
  SaveQueue::Job job;
  SaveQueue::Report report;
  std::optional<std::string> message;  // once the job ended
  bool reportLater = false;            // the caller stopped waiting: post the message
};

}  // namespace

struct SaveQueue::State {
  explicit State(UiChannel::Sender s) : toUi(std::move(s)) {}
  UiChannel::Sender toUi;
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::shared_ptr<Entry>> waiting;
  bool working = false;  // a worker runs; it takes the queue's jobs until none is left
};

SaveQueue::SaveQueue(UiChannel::Sender toUi) : state_(std::make_shared<State>(std::move(toUi))) {}

std::optional<std::string> SaveQueue::Run(Job job, std::chrono::milliseconds quick, Report report) {
  const auto entry = std::make_shared<Entry>(Entry{std::move(job), std::move(report), {}, false});
  std::unique_lock lock(state_->mutex);
  state_->waiting.push_back(entry);
  if (!state_->working) {
    try {
      std::thread(Work, state_).detach();
      state_->working = true;
    } catch (const std::system_error&) {
      // No thread to be had: the save runs here rather than not at all.
      state_->waiting.pop_back();
      lock.unlock();
      return entry->job();
    }
  }
  if (state_->changed.wait_for(lock, quick, [&] { return entry->message.has_value(); }))
    return entry->message;
  entry->reportLater = true;
  return std::nullopt;
}

void SaveQueue::Work(std::shared_ptr<State> state) {
  std::unique_lock lock(state->mutex);
  while (!state->waiting.empty()) {
    const std::shared_ptr<Entry> entry = std::move(state->waiting.front());
    state->waiting.pop_front();
    lock.unlock();
    std::string message = entry->job();
    entry->job = nullptr;  // the texts it captured go now
    lock.lock();
    entry->message = message;
    if (entry->reportLater) state->toUi([report = entry->report, message] { report(message); });
    state->changed.notify_all();
  }
  state->working = false;
  state->changed.notify_all();
}

bool SaveQueue::Finish(std::chrono::milliseconds bound) {
  std::unique_lock lock(state_->mutex);
  return state_->changed.wait_for(lock, bound, [&] { return state_->waiting.empty() && !state_->working; });
}

}  // namespace velquin
