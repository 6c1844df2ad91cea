// The worker thread behind the main window. Starting it is where the window
// and the worker meet: the worker runs the catalogue's jobs, waits for the
// window's progress dialog before each one and posts its notices to the
// window; the window posts its requests to the thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <utility>

#include "catalogue/win32/Worker.h"
#include "ui/MainWindow.h"

namespace tuho {

class WorkerLink {
 public:
  WorkerLink() = default;
  ~WorkerLink();
  WorkerLink(const WorkerLink&) = delete;
  WorkerLink& operator=(const WorkerLink&) = delete;

  // Starts the worker on the catalogue for the window's jobs; false when the
  // thread cannot be made (the window then starts no jobs).
  bool start(MainWindow& window, Catalogue& catalogue);
  // A running job stops at its next file and the thread ends; waits at most
  // waitMs. True once nothing of the catalogue is in use any more.
  bool stop(DWORD waitMs);
  // Stops the worker as stop() does and closes the catalogue once the worker
  // has ended. When the worker is still running after waitMs the catalogue
  // is left open and false returned: the worker may still use it, and every
  // record already written is on disk, so the process ends without closing
  // (or compacting) it.
  bool stopAndClose(Catalogue& catalogue, DWORD waitMs);
  DWORD threadId() const { return threadId_; }
  // Posts the worker's notices instead of PostMessageA; set while no job
  // runs (the request that starts the next one hands it to the worker).
  void setNoticePoster(std::function<BOOL(HWND, UINT, WPARAM, LPARAM)> poster) {
    params_.postNotice = std::move(poster);
  }

 private:
  // The thread reads these as long as it runs.
  WorkerParams params_;
  std::atomic<bool> stopRequested_{false};
  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
};

}  // namespace tuho
