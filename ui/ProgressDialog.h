// The small window every long worker job shows while it runs: the file
// being handled and a running count under the job's label ("Found:",
// "Copied:", "Deleted:", "Removed:"). One object for the life of the
// program; one dialog at a time.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "catalogue/LatestProgress.h"
#include "ui/kit/DialogSkin.h"

namespace tuho {

class ProgressDialog {
 public:
  // Set to 1 once the window can take a job's notices; the worker waits for it.
  std::atomic<int> ready{0};
  // Set by the dialog's Cancel; the worker's job stops at its next file.
  std::atomic<bool> cancelRequested{false};
  // The worker's latest file and count, read on its progress notice.
  LatestProgress latest;
  // Called when the dialog opens and when it has closed (the main window
  // suspends and resumes its buttons there).
  std::function<void()> onOpen;
  std::function<void()> onClose;

  // A job is about to be posted: no Cancel of an earlier job holds, and
  // the worker may start at once. Its notices wait in the window's queue
  // until the dialog is up, which Wine takes tens of milliseconds to make:
  // a short job would otherwise wait on its own dialog.
  void armForJob();
  // A cancellable job (a scan or rescan) gets a Cancel button under the
  // count, which makes the dialog taller.
  bool open(HINSTANCE instance, HWND parent, HBITMAP upper, HBITMAP lower, const std::string& label,
            bool cancellable = false);
  HWND window() const { return window_; }
  // Shows the label alone on the count line, for a job that counts nothing.
  void showLabel();
  bool isOpen() const { return window_ != nullptr; }
  // The count line last shown, kept after the dialog has closed.
  const std::string& countText() const { return countText_; }
  const std::string& fileText() const { return fileText_; }

  // Every message of the dialog (see ui/kit/WindowAttach.h).
  INT_PTR onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void initialise(HWND dialog);
  void showFile(std::string* text);
  void showCount(int count);
  void cancel();

  HWND window_ = nullptr;
  HBITMAP upper_ = nullptr;
  HBITMAP lower_ = nullptr;
  std::string label_;
  bool cancellable_ = false;
  std::string countText_;
  std::string fileText_;
  DialogSkin skin_;
};

}  // namespace tuho
