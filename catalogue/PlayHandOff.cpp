#include "catalogue/PlayHandOff.h"

namespace tuho {

void PlayHandOff::request(const std::vector<int>& trackIds, bool enqueueOnly, intptr_t ownerWindow) {
  if (trackIds.empty()) return;
  std::lock_guard<std::mutex> lock(mutex_);
  if (stopped_) return;
  if (!enqueueOnly) {
    waiting_.clear();
    interrupt_ = true;
  }
  for (size_t i = 0; i < trackIds.size(); ++i)
    waiting_.push_back(Step{trackIds[i], i == 0 && !enqueueOnly, ownerWindow});
  // The thread starts with the first request: a run that never plays has none.
  if (!thread_.joinable()) {
    ended_ = false;
    thread_ = std::thread([this] { run(); });
  }
  wake_.notify_one();
}

bool PlayHandOff::busy() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return handing_ || !waiting_.empty();
}

void PlayHandOff::requestStop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    waiting_.clear();
    interrupt_ = true;
  }
  wake_.notify_one();
}

bool PlayHandOff::ended() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ended_;
}

void PlayHandOff::stop() {
  requestStop();
  if (thread_.joinable()) thread_.join();
}

void PlayHandOff::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    handing_ = false;
    wake_.wait(lock, [this] { return stopped_ || !waiting_.empty(); });
    if (stopped_) {
      ended_ = true;
      return;
    }
    Step step = waiting_.front();
    waiting_.pop_front();
    interrupt_ = false;
    handing_ = true;
    lock.unlock();
    if (step.play) {
      catalogue_.playTrack(step.trackId, step.owner, &interrupt_);
    } else {
      catalogue_.enqueueTrack(step.trackId, step.owner);
    }
    lock.lock();
  }
}

}  // namespace tuho
