#include "platform/OpenFailure.h"

#include "platform/Win32Error.h"

namespace tuho {
namespace {

const char* openFailureReason(uint32_t error) {
  switch (error) {
    case kErrTooManyOpenFiles: return "Too Many Open Files";
    case kErrAccessDenied: return "Access Denied";
    case kErrSharingViolation: return "Sharing Violation";
    case kErrLockViolation: return "Locked";
    case kErrSharingBufferExceeded: return "Share Exceeded";
    case kErrDriveLocked: return "Drive Locked";
    case kErrOpenFailed: return "Generic Open Failure";
    case kErrInvalidName: return "Bad Fail Name";
    default: return "Other File Error";
  }
}

}  // namespace

std::string openFailureCaption(const char* prefix, uint32_t error) {
  return std::string(prefix) + openFailureReason(error);
}

}  // namespace tuho
