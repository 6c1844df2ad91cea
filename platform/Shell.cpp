#include "platform/Shell.h"

#include <chrono>
#include <thread>

#include "platform/Backend.h"

namespace tuho {
namespace {

std::mutex gRecorderMutex;
ShellRecorder* gRecorder = nullptr;

}  // namespace

ShellRecorder::ShellRecorder() {
  std::lock_guard<std::mutex> lock(gRecorderMutex);
  previous_ = gRecorder;
  gRecorder = this;
}

ShellRecorder::~ShellRecorder() {
  std::lock_guard<std::mutex> lock(gRecorderMutex);
  gRecorder = previous_;
}

std::vector<ShellRequest> ShellRecorder::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void ShellRecorder::take(const ShellRequest& request) {
  if (unsigned delay = delayMs_) std::this_thread::sleep_for(std::chrono::milliseconds(delay));
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.push_back(request);
}

void shellExecute(const ShellRequest& request) {
  ShellRecorder* recorder;
  {
    std::lock_guard<std::mutex> lock(gRecorderMutex);
    recorder = gRecorder;
  }
  if (recorder) return recorder->take(request);
  runShellVerb(request);
}

}  // namespace tuho
