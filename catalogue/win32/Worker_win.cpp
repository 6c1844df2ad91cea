#include "catalogue/win32/Worker.h"

#include <chrono>
#include <memory>
#include <string>

#include "catalogue/win32/ThreadMessages.h"

namespace tuho {
namespace {

// The window repaints the progress dialog for each notice it reads: on a
// walk of many unchanged files it would spend more time repainting than
// the worker walking. A scan posts a notice at most this often (its files
// take moments each, so the dialog never shows a stale name for long); the
// window reads the last progress when the job ends.
constexpr auto kScanNoticeEvery = std::chrono::milliseconds(30);

bool stopping(const WorkerParams& params) { return params.stopRequested && params.stopRequested->load(); }

bool tryPost(const WorkerParams& params, UINT message, WPARAM wParam, LPARAM lParam) {
  if (params.postNotice) return params.postNotice(params.noticeWindow, message, wParam, lParam) != FALSE;
  return PostMessageA(params.noticeWindow, message, wParam, lParam) != FALSE;
}

// The end of a job and its result must arrive, or the progress dialog stays
// up and no job can start again: a full queue (it holds at most 10,000
// posted messages) is waited out while the window empties it. Only a window
// that is gone, or a program that is closing and no longer reads its
// queue, ends the retries.
void post(const WorkerParams& params, UINT message, WPARAM wParam, LPARAM lParam) {
  while (!tryPost(params, message, wParam, lParam)) {
    if (!IsWindow(params.noticeWindow) || stopping(params)) return;
    Sleep(10);
  }
}

// The job starts only once the window can show its notices.
bool waitForProgressDialog(const WorkerParams& params) {
  while (params.progressReady && params.progressReady->load() == 0) {
    if (stopping(params)) return false;
    Sleep(100);
  }
  return !stopping(params);
}

JobEvents jobEvents(const WorkerParams& params, std::chrono::milliseconds noticeEvery) {
  JobEvents events;
  // A notice already waiting shows this progress too when it is read; one
  // that is not posted is followed by a later file's, and the window reads
  // the last one at the end of the job.
  auto lastNotice = std::make_shared<std::chrono::steady_clock::time_point>();
  events.progress = [&params, lastNotice, noticeEvery](const std::string& fileName, int count) {
    if (!params.latestProgress || !params.latestProgress->store(fileName, count)) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - *lastNotice < noticeEvery || !tryPost(params, TMSG_PROGRESS_COUNT, 0, 0)) {
      params.latestProgress->postFailed();  // none waits: a later file posts one
      return;
    }
    *lastNotice = now;
  };
  events.locateVolume = params.locateVolume;
  events.stopRequested = [&params] { return stopping(params); };
  events.cancelRequested = [&params] { return params.cancelRequested && params.cancelRequested->load(); };
  return events;
}

// Takes ownership of the request's list; a null list is an empty request.
IdList takeIds(LPARAM lParam) {
  std::unique_ptr<IdList> ids(reinterpret_cast<IdList*>(lParam));
  return ids ? *ids : IdList();
}

bool isRequest(UINT message) {
  return message == TMSG_COPY_READY || message == TMSG_DELETE_READY || message == TMSG_SCAN_SOURCE ||
         message == TMSG_REMOVE_SOURCE || message == TMSG_RESCAN_SOURCE;
}

}  // namespace

void runRequest(WorkerParams& params, IdList& result, UINT message, WPARAM wParam, LPARAM lParam) {
  // The request's payload is copied before waiting, so that it does not
  // depend on the UI keeping it in place.
  IdList ids = (message == TMSG_COPY_READY || message == TMSG_DELETE_READY) ? takeIds(lParam) : IdList();
  SourceRef source;
  if ((message == TMSG_SCAN_SOURCE || message == TMSG_RESCAN_SOURCE) && lParam) {
    source = params.catalogue->sourceEntry(reinterpret_cast<const SourceRef*>(lParam));
  }
  if (!waitForProgressDialog(params)) return;
  const bool scan = message == TMSG_SCAN_SOURCE || message == TMSG_RESCAN_SOURCE;
  JobEvents events = jobEvents(params, scan ? kScanNoticeEvery : std::chrono::milliseconds(0));
  Catalogue& catalogue = *params.catalogue;
  LPARAM resultPointer = reinterpret_cast<LPARAM>(&result);
  switch (message) {
    case TMSG_COPY_READY:
      result = catalogue.copyReadyJob(ids, events);
      post(params, TMSG_JOB_DONE, 0, 0);
      post(params, TMSG_COPY_READY_DONE, 0, resultPointer);
      break;
    case TMSG_DELETE_READY:
      result = catalogue.deleteReadyJob(ids, events);
      post(params, TMSG_JOB_DONE, 0, 0);
      post(params, TMSG_DELETE_READY_DONE, 0, resultPointer);
      break;
    case TMSG_SCAN_SOURCE:
      catalogue.scanSource(source, false, events);
      post(params, TMSG_JOB_DONE, 0, 0);
      break;
    case TMSG_REMOVE_SOURCE:
      catalogue.removeSource(static_cast<int>(wParam));
      post(params, TMSG_JOB_DONE, 0, 0);
      post(params, TMSG_REMOVE_SOURCE_DONE, 0, resultPointer);
      break;
    case TMSG_RESCAN_SOURCE:
      catalogue.scanSource(source, true, events);
      post(params, TMSG_JOB_DONE, 0, 0);
      post(params, TMSG_RESCAN_SOURCE_DONE, 0, 0);
      break;
    default:
      break;
  }
}

bool stopWorker(WorkerParams& params, HANDLE thread, DWORD threadId, DWORD waitMs) {
  if (params.stopRequested) *params.stopRequested = true;
  if (!thread) return true;
  PostThreadMessageA(threadId, WM_QUIT, 0, 0);
  // A dialog on the worker thread that is owned by one of this thread's
  // windows sends to it while closing: take sent messages while waiting.
  DWORD start = GetTickCount();
  for (;;) {
    DWORD waited = GetTickCount() - start;
    if (waited >= waitMs) return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    DWORD woke = MsgWaitForMultipleObjects(1, &thread, FALSE, waitMs - waited, QS_SENDMESSAGE);
    if (woke == WAIT_OBJECT_0) return true;
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

DWORD WINAPI workerThread(LPVOID parameter) {
  WorkerParams& params = *static_cast<WorkerParams*>(parameter);
  IdList result;  // the result block that result notices point to
  MSG message;
  // Make sure the thread has a queue before anyone posts to it.
  PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    } else if (isRequest(message.message)) {
      runRequest(params, result, message.message, message.wParam, message.lParam);
    }
  }
  return static_cast<DWORD>(message.wParam);
}

}  // namespace tuho
