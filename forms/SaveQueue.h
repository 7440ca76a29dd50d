#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "forms/UiChannel.h"

namespace velquin {

// Saves run one at a time, in the order asked, on a worker thread, so that a game folder
// whose disk stalls holds a save, never the window. The worker owns each job and what it
// captured; it is never joined, so a thread stuck in the kernel keeps nothing waiting on it.
class SaveQueue {
 public:
  using Job = std::function<std::string()>;  // runs on the worker; returns the status message
  using Report = std::function<void(const std::string&)>;

  explicit SaveQueue(UiChannel::Sender toUi);

  // Queues `job` and waits up to `quick` for it: a save that ends by then returns its message
  // here, as a save on the user-interface thread would; otherwise nothing, and `report` gets
  // the message on the user-interface thread once the job ends.
  std::optional<std::string> Run(Job job, std::chrono::milliseconds quick, Report report);

  // Waits up to `bound` for every queued job to end; false when one has not.
  bool Finish(std::chrono::milliseconds bound);

 private:
  struct State;
  static void Work(std::shared_ptr<State> state);
  std::shared_ptr<State> state_;
};

}  // namespace velquin
