#include "catalogue/StoreBoxes.h"

#include <cstdio>

#include "platform/OpenFailure.h"
#include "platform/Win32Error.h"

namespace tuho {

const char kErrorCaption[] = "ERROR";
const char kMalformedCaption[] = "DB Malformed Block on Write";
const char kReadFailureCaption[] = "DB Read Failure";

namespace {

const char kDamagedCaption[] = "DB Damaged File";
const char kStoreFullCaption[] = "DB Full";
const char kDiskFullCaption[] = "DB Disk Full";

std::string byteCount(int64_t bytes) { return std::to_string(static_cast<long long>(bytes)); }

std::string repairText(const StoreRepairNote& note) {
  switch (note.kind) {
    case StoreRepairNote::Kind::kHeadRewritten:
      return note.path + " was damaged: its file head and header record were set aside in " + note.asidePath +
             " and written anew; the records after them were kept.";
    case StoreRepairNote::Kind::kSetAside:
      return note.path + " was damaged: " + byteCount(note.bytes) + " damaged bytes were set aside in " +
             note.asidePath + " and removed from the file.";
    case StoreRepairNote::Kind::kNotSetAside: break;
  }
  return note.path + " is damaged (" + byteCount(note.bytes) + " bytes), and a copy could not be made in " +
         note.asidePath +
         ". The file was left as it is and is open for reading only: nothing can be added or changed "
         "until there is room for the copy.";
}

}  // namespace

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

void StoreBoxes::failed(const StoreFailure& failure) {
  switch (failure.kind) {
    case StoreFailure::Kind::kOpen: showOpenFailure(failure.path, failure.error); return;
    case StoreFailure::Kind::kRead: showReadFailure(failure.path, failure.error); return;
    case StoreFailure::Kind::kStep:
      alert(storeErrorText(failure.op, failure.step, failure.fieldId), kErrorCaption);
      return;
    case StoreFailure::Kind::kMalformed: alert(kMalformedCaption, kErrorCaption); return;
    case StoreFailure::Kind::kDiskFull:
      if (inJob_) {
        diskFullInJob_ = true;
      } else {
        alert("The disk is full: " + failure.path + " could not be written.", kDiskFullCaption);
      }
      return;
    case StoreFailure::Kind::kIdsExhausted:
      if (!idsExhaustedShown_) {
        alert(failure.path + " has handed out every record id it can: nothing more can be added.", kStoreFullCaption);
      }
      idsExhaustedShown_ = true;
      return;
  }
}

void StoreBoxes::repaired(const StoreRepairNote& note) { alert(repairText(note), kDamagedCaption); }

bool StoreBoxes::retry(const StoreFailure& failure) {
  return showOpenFailure(failure.path, failure.error, kAlertRetryCancel) == kAnswerRetry;
}

void StoreBoxes::startJob() {
  inJob_ = true;
  diskFullInJob_ = false;
}

bool StoreBoxes::endJob() {
  inJob_ = false;
  return diskFullInJob_;
}

}  // namespace tuho
