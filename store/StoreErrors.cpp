#include "store/StoreErrors.h"

#include <cstdio>

#include "platform/OpenFailure.h"
#include "platform/Win32Error.h"

namespace tuho {

const char kErrorCaption[] = "ERROR";
const char kMalformedCaption[] = "DB Malformed Block on Write";
const char kReadFailureCaption[] = "DB Read Failure";

int showOpenFailure(const std::string& path, uint32_t error, AlertButtons buttons) {
  return alert(path, openFailureCaption("DB ", error), buttons);
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

std::string errorReason(uint32_t error) {
  const char* words = "system error";
  switch (error) {
    case kErrIoDevice:
    case kErrCrc:
    case kErrReadFault:
    case kErrWriteFault:
    case kErrGenFailure: words = "input/output error"; break;
    case kErrDiskFull:
    case kErrHandleDiskFull: words = "the disk is full"; break;
    case kErrAccessDenied: words = "access denied"; break;
    case kErrNotReady: words = "the device is not ready"; break;
    case kErrNotEnoughMemory: words = "not enough memory"; break;
    default: break;
  }
  return std::string(words) + ", error " + std::to_string(error);
}

std::string readFailureText(const std::string& path, uint32_t error) {
  return path + " could not be read (" + errorReason(error) + "). Nothing was changed.";
}

void showReadFailure(const std::string& path, uint32_t error) {
  alert(readFailureText(path, error), kReadFailureCaption);
}

void showMalformedBlock() { alert(kMalformedCaption, kErrorCaption); }

}  // namespace tuho
