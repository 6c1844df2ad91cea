// The messages between the UI thread and the worker thread. Requests go to
// the worker as thread messages; notices come back as messages posted to a
// window the UI thread owns, so that a modal loop (a menu, a message box, a
// dialog) on the UI thread dispatches them instead of dropping them.
#pragma once

namespace tuho {

// Requests, UI to worker.
constexpr unsigned TMSG_SCAN_SOURCE = 2115;    // lParam: SourceRef* in the source list
constexpr unsigned TMSG_RESCAN_SOURCE = 2321;  // lParam: SourceRef* in the source list
constexpr unsigned TMSG_REMOVE_SOURCE = 2319;  // wParam: source id
constexpr unsigned TMSG_COPY_READY = 2130;     // lParam: IdList* (the worker frees it)
constexpr unsigned TMSG_DELETE_READY = 2323;   // lParam: IdList* (the worker frees it)

// Notices, worker to UI.
constexpr unsigned TMSG_PROGRESS_TEXT = 2104;      // lParam: std::string* (the receiver frees it)
// The job's LatestProgress holds a file name and count; at most one waits.
constexpr unsigned TMSG_PROGRESS_COUNT = 2329;
constexpr unsigned TMSG_JOB_DONE = 2105;
constexpr unsigned TMSG_COPY_READY_DONE = 2118;    // lParam: const IdList* (the worker's result block)
constexpr unsigned TMSG_DELETE_READY_DONE = 2324;  // lParam: const IdList*
constexpr unsigned TMSG_REMOVE_SOURCE_DONE = 2320; // lParam: const IdList*
constexpr unsigned TMSG_RESCAN_SOURCE_DONE = 2322;

// To the progress dialog: show the count.
constexpr unsigned PMSG_SET_COUNT = 2328;

}  // namespace tuho
