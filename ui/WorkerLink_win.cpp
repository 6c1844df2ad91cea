#include "ui/WorkerLink.h"

namespace tuho {

WorkerLink::~WorkerLink() {
  if (thread_) CloseHandle(thread_);
}

bool WorkerLink::start(MainWindow& window, Catalogue& catalogue) {
  params_.catalogue = &catalogue;
  // A job starts only once its progress dialog can show the notices.
  params_.progressReady = &window.progress().ready;
  params_.latestProgress = &window.progress().latest;
  params_.stopRequested = &stopRequested_;
  params_.cancelRequested = &window.progress().cancelRequested;
  params_.uiThreadId = GetWindowThreadProcessId(window.window(), nullptr);
  params_.instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window.window(), GWLP_HINSTANCE));
  params_.mainWindow = window.window();
  params_.noticeWindow = window.window();
  // The copy job asks for a missing disc on this thread, owned by the window.
  params_.locateVolume = locateVolumeQuestion(window.locateVolume(), params_.instance, window.window(),
                                              [this] { return stopRequested_.load(); });
  thread_ = CreateThread(nullptr, 0, workerThread, &params_, 0, &threadId_);
  if (!thread_) return false;
  // The thread makes its queue first thing; a request posted before then
  // would be lost.
  while (!PostThreadMessageA(threadId_, WM_NULL, 0, 0)) {
    if (WaitForSingleObject(thread_, 1) == WAIT_OBJECT_0) return false;
  }
  window.setWorkerThread(threadId_);
  return true;
}

bool WorkerLink::stop(DWORD waitMs) { return stopWorker(params_, thread_, threadId_, waitMs); }

bool WorkerLink::stopAndClose(Catalogue& catalogue, DWORD waitMs) {
  if (!stop(waitMs)) return false;
  catalogue.close();
  return true;
}

}  // namespace tuho
