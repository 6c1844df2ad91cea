// Work the window does on its own thread that can run long (an edit or a
// deletion of many rows, filling a long list) shows the jobs' progress
// dialog with its running count once it has taken longer than a moment,
// instead of leaving a window that does not answer without a word. The
// dialog is painted directly: the work does not return to the message loop
// until it is done.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "ui/ProgressDialog.h"

namespace tuho {

class BusyProgress {
 public:
  using Clock = std::chrono::steady_clock;

  void attach(HINSTANCE instance, HWND owner, HBITMAP lower);
  // How long work runs before the dialog shows (tests make it zero).
  void setThreshold(Clock::duration threshold) { threshold_ = threshold; }
  // Around one piece of work; nests, and the outermost pair counts.
  void start();
  void finish();
  // `done` items of the work are done: once past the threshold the dialog
  // opens with the banner and label given and shows the count.
  void count(HBITMAP banner, const std::string& label, int done);
  // The work goes on after its last count (the views follow the store):
  // the dialog may still open, with the count it had.
  void tick();
  const ProgressDialog& dialog() const { return dialog_; }

 private:
  void show();

  HINSTANCE instance_ = nullptr;
  HWND owner_ = nullptr;
  HBITMAP lower_ = nullptr;
  Clock::duration threshold_ = std::chrono::milliseconds(400);
  int depth_ = 0;
  Clock::time_point started_;
  Clock::time_point shown_;
  int ticks_ = 0;
  HBITMAP banner_ = nullptr;
  std::string label_;  // empty until the work has counted
  int done_ = 0;
  ProgressDialog dialog_;
};

}  // namespace tuho
