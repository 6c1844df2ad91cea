#include "ui/BusyProgress.h"

#include "catalogue/win32/ThreadMessages.h"

namespace tuho {
namespace {

// The clock is read once per this many items, and the count repainted at
// most this often: the dialog must not slow the work it reports on.
constexpr int kItemsPerLook = 32;
constexpr auto kRepaintEvery = std::chrono::milliseconds(50);

}  // namespace

void BusyProgress::attach(HINSTANCE instance, HWND owner, HBITMAP lower) {
  instance_ = instance;
  owner_ = owner;
  lower_ = lower;
}

void BusyProgress::start() {
  if (depth_++ > 0) return;
  started_ = Clock::now();
  ticks_ = 0;
  label_.clear();
  done_ = 0;
}

void BusyProgress::finish() {
  if (depth_ == 0 || --depth_ > 0) return;
  if (!dialog_.isOpen()) return;
  show();  // the dialog's last count is the work's total
  DestroyWindow(dialog_.window());
}

void BusyProgress::count(HBITMAP banner, const std::string& label, int done) {
  if (depth_ == 0) return;
  banner_ = banner;
  label_ = label;
  done_ = done;
  tick();
}

void BusyProgress::tick() {
  if (depth_ == 0 || label_.empty() || ticks_++ % kItemsPerLook != 0) return;
  Clock::time_point now = Clock::now();
  if (!dialog_.isOpen()) {
    if (now - started_ < threshold_) return;
    if (!dialog_.open(instance_, owner_, banner_, lower_, label_)) return;
  } else if (now - shown_ < kRepaintEvery) {
    return;
  }
  show();
  shown_ = now;
}

void BusyProgress::show() {
  SendMessageA(dialog_.window(), PMSG_SET_COUNT, 0, done_);
  UpdateWindow(dialog_.window());
}

}  // namespace tuho
