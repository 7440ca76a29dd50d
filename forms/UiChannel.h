#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/Ui.h"

namespace velquin {

// Carries work from other threads to the user-interface thread for as long as its owner
// lives. A worker keeps a Sender, which shares ownership of the little it needs: a worker that
// outlives the window (a disk that does not answer) then posts into nothing, not into freed
// memory. Made, closed and destroyed on the user-interface thread, before the toolkit goes.
class UiChannel {
  struct State {
    explicit State(Toolkit* t) : toolkit(t) {}
    std::mutex mutex;
    Toolkit* toolkit;  // null once closed
  };

 public:
  class Sender {
   public:
    // `task` runs on the user-interface thread unless the channel is closed by then.
    void operator()(std::function<void()> task) const {
      const std::lock_guard lock(state_->mutex);
      if (!state_->toolkit) return;
      state_->toolkit->Post([state = state_, task = std::move(task)] {
        bool open = false;
        {
          const std::lock_guard inner(state->mutex);
          open = state->toolkit != nullptr;
        }
        if (open) task();
      });
    }

   private:
    friend class UiChannel;
    explicit Sender(std::shared_ptr<State> state) : state_(std::move(state)) {}
    std::shared_ptr<State> state_;
  };

  explicit UiChannel(Toolkit& toolkit) : state_(std::make_shared<State>(&toolkit)) {}
  ~UiChannel() { Close(); }
  UiChannel(const UiChannel&) = delete;
  UiChannel& operator=(const UiChannel&) = delete;

  void Close() {
    const std::lock_guard lock(state_->mutex);
    state_->toolkit = nullptr;
  }
  Sender sender() const { return Sender(state_); }

 private:
  std::shared_ptr<State> state_;
};

}  // namespace velquin
