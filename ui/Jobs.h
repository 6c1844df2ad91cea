// The long jobs the worker runs for the UI, and what each is to the UI: the
// request the worker gets, the label its progress dialog counts under, and
// the dialog's banner.
#pragma once

#include "catalogue/win32/ThreadMessages.h"
#include "resources/resource.h"

namespace tuho {

enum JobKind { kJobCopyReady, kJobDeleteReady, kJobScanSource, kJobRescanSource, kJobRemoveSource };
constexpr size_t kJobKindCount = 5;

struct JobText {
  unsigned request;
  const char* label;
  int banner;
};

inline const JobText& jobText(JobKind kind) {
  static const JobText kJobs[] = {
      {TMSG_COPY_READY, "Copied:", IDB_PROGRESS_COPIED},
      {TMSG_DELETE_READY, "Deleted:", IDB_PROGRESS_DELETED},
      {TMSG_SCAN_SOURCE, "Found:", IDB_PROGRESS_FOUND},
      {TMSG_RESCAN_SOURCE, "Found:", IDB_PROGRESS_FOUND},
      {TMSG_REMOVE_SOURCE, "Removed:", IDB_PROGRESS_REMOVED},
  };
  return kJobs[kind];
}

}  // namespace tuho
