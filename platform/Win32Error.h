// Win32 error numbers used across the program. The POSIX backend maps errno
// onto these so that callers choose captions from one table on every system.
#pragma once

#include <cstdint>

namespace tuho {

enum Win32Error : uint32_t {
  kErrSuccess = 0,
  kErrInvalidFunction = 1,
  kErrFileNotFound = 2,
  kErrPathNotFound = 3,
  kErrTooManyOpenFiles = 4,
  kErrAccessDenied = 5,
  kErrInvalidHandle = 6,
  kErrNotEnoughMemory = 8,
  kErrWriteProtect = 19,
  kErrNotReady = 21,
  kErrCrc = 23,
  kErrSeek = 25,
  kErrWriteFault = 29,
  kErrReadFault = 30,
  kErrGenFailure = 31,
  kErrSharingViolation = 32,
  kErrLockViolation = 33,
  kErrSharingBufferExceeded = 36,
  kErrHandleEof = 38,
  kErrHandleDiskFull = 39,
  kErrNotSupported = 50,
  kErrBadNetPath = 53,
  kErrFileExists = 80,
  kErrInvalidParameter = 87,
  kErrDriveLocked = 108,
  kErrOpenFailed = 110,
  kErrBufferOverflow = 111,
  kErrDiskFull = 112,
  kErrInvalidName = 123,
  kErrNegativeSeek = 131,
  kErrDirNotEmpty = 145,
  kErrBusy = 170,
  kErrAlreadyExists = 183,
  kErrFilenameTooLong = 206,
  kErrDirectory = 267,
  kErrIoDevice = 1117,
};

}  // namespace tuho
