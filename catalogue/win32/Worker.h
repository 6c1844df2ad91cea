// The worker thread: carries out the long catalogue jobs one at a time, in
// the order they were requested, each once the progress dialog is up.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

#include "catalogue/Catalogue.h"
#include "catalogue/LatestProgress.h"

namespace tuho {

struct WorkerParams {
  Catalogue* catalogue = nullptr;
  std::atomic<int>* progressReady = nullptr;  // nonzero once the progress dialog is up
  std::atomic<bool>* stopRequested = nullptr; // set when the program closes
  std::atomic<bool>* cancelRequested = nullptr;  // set when the user cancels the running job
  DWORD uiThreadId = 0;
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  HWND noticeWindow = nullptr;  // receives the notices
  // Where the progress notice (TMSG_PROGRESS_COUNT) points the window to.
  LatestProgress* latestProgress = nullptr;
  // Posts a notice; PostMessageA when empty. A queue that is full refuses
  // posts: tests stand in for one here.
  std::function<BOOL(HWND, UINT, WPARAM, LPARAM)> postNotice;
  // Asked when a disc is not where the catalogue expects it (runs on the
  // worker thread); empty: the question is cancelled.
  std::function<std::optional<std::string>(const SourceRef&, const std::string&)> locateVolume;
};

// Thread routine; the parameter is a WorkerParams* that outlives the thread.
DWORD WINAPI workerThread(LPVOID parameter);

// Asks a running job to stop at its next file and ends the worker's loop;
// waits at most waitMs for the thread to end. True when it has ended, so
// that nothing of the catalogue is in use any more.
bool stopWorker(WorkerParams& params, HANDLE thread, DWORD threadId, DWORD waitMs);

// Handles one request message on the calling thread (the worker's loop does
// this for every request it takes). Exposed so tests can run jobs directly.
void runRequest(WorkerParams& params, IdList& result, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tuho
