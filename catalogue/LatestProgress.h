// The latest progress of a running job, handed from the worker to a window
// that reads it when it gets round to it. The worker stores each file's
// name and count here and posts a notice only when none is waiting, so the
// window's queue holds at most one progress notice however busy the window
// is, and that notice shows the latest file and count.
#pragma once

#include <mutex>
#include <string>

namespace tuho {

class LatestProgress {
 public:
  // Keeps the latest; true when no notice is waiting, so that the caller
  // posts one (and calls postFailed when it could not).
  bool store(const std::string& name, int count) {
    std::lock_guard<std::mutex> lock(mutex_);
    name_ = name;
    count_ = count;
    fresh_ = true;
    if (waiting_) return false;
    waiting_ = true;
    return true;
  }
  void postFailed() {
    std::lock_guard<std::mutex> lock(mutex_);
    waiting_ = false;
  }
  // The progress stored since the last take, if any; from here on the next
  // store posts a notice again.
  bool take(std::string* name, int* count) {
    std::lock_guard<std::mutex> lock(mutex_);
    waiting_ = false;
    if (!fresh_) return false;
    fresh_ = false;
    *name = name_;
    *count = count_;
    return true;
  }

 private:
  std::mutex mutex_;
  std::string name_;
  int count_ = 0;
  bool fresh_ = false;    // stored and not yet taken
  bool waiting_ = false;  // a notice was posted and not yet read
};

}  // namespace tuho
