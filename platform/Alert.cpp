#include "platform/Alert.h"

#include <atomic>
#include <cstdio>

#include "platform/Ansi.h"
#include "platform/Backend.h"

namespace tuho {
namespace {

std::mutex gSinkMutex;
AlertSink* gSink = nullptr;  // the innermost installed sink
std::atomic<bool> gConsole{false};

// The answer a box gets when nobody is there to click: the safe choice.
int defaultAnswer(AlertButtons buttons) {
  switch (buttons) {
    case kAlertRetryCancel: return kAnswerCancel;
    case kAlertYesNo: return kAnswerNo;
    default: return kAnswerOk;
  }
}

}  // namespace

AlertSink::AlertSink() {
  std::lock_guard<std::mutex> lock(gSinkMutex);
  previous_ = gSink;
  gSink = this;
}

AlertSink::~AlertSink() {
  std::lock_guard<std::mutex> lock(gSinkMutex);
  gSink = previous_;
}

std::vector<AlertRecord> AlertSink::records() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return records_;
}

std::vector<std::string> AlertSink::captions() const {
  std::vector<std::string> out;
  for (const AlertRecord& record : records()) out.push_back(record.caption);
  return out;
}

size_t AlertSink::count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return records_.size();
}

void AlertSink::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  records_.clear();
}

int AlertSink::take(const AlertRecord& record) {
  std::function<int(const AlertRecord&)> chooser;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    records_.push_back(record);
    chooser = answer;
  }
  return chooser ? chooser(record) : defaultAnswer(record.buttons);
}

void useConsoleAlerts() { gConsole = true; }

int alert(const std::string& text, const std::string& caption, AlertButtons buttons) {
  AlertSink* sink;
  {
    std::lock_guard<std::mutex> lock(gSinkMutex);
    sink = gSink;
  }
  if (sink) return sink->take(AlertRecord{text, caption, buttons});
  if (gConsole) {
    std::fprintf(stderr, "%s: %s\n", consoleText(caption).c_str(), consoleText(text).c_str());
    std::fflush(stderr);
    return defaultAnswer(buttons);
  }
  return showSystemAlert(text, caption, buttons);
}

}  // namespace tuho
