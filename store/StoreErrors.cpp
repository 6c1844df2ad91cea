#include "store/StoreErrors.h"

#include <cstdio>

#include "platform/Win32Error.h"

namespace tuho {

const char kErrorCaption[] = "ERROR";
const char kMalformedCaption[] = "DB Malformed Block on Write";

std::string dbOpenFailureCaption(uint32_t error) {
  switch (error) {
    case kErrTooManyOpenFiles: return "DB Too Many Open Files";
    case kErrAccessDenied: return "DB Access Denied";
    case kErrSharingViolation: return "DB Sharing Violation";
    case kErrLockViolation: return "DB Locked";
    case kErrSharingBufferExceeded: return "DB Share Exceeded";
    case kErrDriveLocked: return "DB Drive Locked";
    case kErrOpenFailed: return "DB Generic Open Failure";
    case kErrInvalidName: return "DB Bad Fail Name";
    default: return "DB Other File Error";
  }
}

int showOpenFailure(const std::string& path, uint32_t error, AlertButtons buttons) {
  return alert(path, dbOpenFailureCaption(error), buttons);
}

std::string storeErrorText(int op, int step, int fieldId) {
  char head[64];
  std::snprintf(head, sizeof head, "Error %d:%d:%d", op, step, fieldId);
  return std::string(head) +
         "\n\n"
         "Please visit the Brambleward web site\n"
         "and report this error so that we can fix it.";
}

void showStoreError(int op, int step, int fieldId) { alert(storeErrorText(op, step, fieldId), kErrorCaption); }

void showMalformedBlock() { alert(kMalformedCaption, kErrorCaption); }

}  // namespace tuho
