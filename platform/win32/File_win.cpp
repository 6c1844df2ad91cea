#include "platform/File.h"

#include <windows.h>

#include "platform/FaultPlan.h"
#include "platform/Path.h"
#include "platform/Win32Error.h"
#include "platform/WriteHold.h"

namespace tuho {
namespace {

HANDLE asHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

DWORD desiredAccess(Access access) {
  DWORD out = 0;
  if (access & kAccessRead) out |= GENERIC_READ;
  if (access & kAccessWrite) out |= GENERIC_WRITE;
  return out;
}

DWORD shareMode(Share share) {
  DWORD out = 0;
  if (share & kShareRead) out |= FILE_SHARE_READ;
  if (share & kShareWrite) out |= FILE_SHARE_WRITE;
  return out;
}

DWORD creation(Disposition disposition) {
  switch (disposition) {
    case kCreateAlways: return CREATE_ALWAYS;
    case kOpenAlways: return OPEN_ALWAYS;
    case kCreateNew: return CREATE_NEW;
    case kOpenExisting: break;
  }
  return OPEN_EXISTING;
}

// Locks the write hold byte for as long as the handle is open. Under Wine
// this becomes a record lock that native programs see, and it fails while a
// native program holds the byte. Held elsewhere, the file is in use: a
// sharing violation, as when another program keeps it open here.
bool takeWriteHold(HANDLE handle) {
  OVERLAPPED at = {};
  at.Offset = static_cast<DWORD>(kWriteHoldOffset & 0xFFFFFFFF);
  at.OffsetHigh = static_cast<DWORD>(kWriteHoldOffset >> 32);
  if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) return true;
  if (GetLastError() == ERROR_LOCK_VIOLATION) SetLastError(ERROR_SHARING_VIOLATION);
  return false;
}

// CREATE_ALWAYS empties the file inside CreateFileA; where the open takes
// the hold, it is opened as OPEN_ALWAYS and emptied only once the hold is
// taken, so that an open refused by a native holder destroys nothing.
bool emptyFile(HANDLE handle) {
  LARGE_INTEGER start = {};
  return SetFilePointerEx(handle, start, nullptr, FILE_BEGIN) && SetEndOfFile(handle);
}

// Closes the handle, keeping the error that refused the open.
bool refuse(HANDLE handle) {
  DWORD error = GetLastError();
  CloseHandle(handle);
  SetLastError(error);
  return false;
}

}  // namespace

uint32_t lastError() { return GetLastError(); }
void setLastError(uint32_t code) { SetLastError(code); }

bool File::open(const std::string& path, Access access, Share share, Disposition disposition) {
  close();
  if (faultNow(kFaultOpen)) return false;
  const bool holds = takesWriteHold(access, share);
  const bool emptyLater = holds && disposition == kCreateAlways;
  HANDLE handle = CreateFileA(nativePath(path).c_str(), desiredAccess(access), shareMode(share), nullptr,
                              emptyLater ? OPEN_ALWAYS : creation(disposition), FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  if (holds && !takeWriteHold(handle)) return refuse(handle);
  if (emptyLater && !emptyFile(handle)) return refuse(handle);
  handle_ = reinterpret_cast<intptr_t>(handle);
  access_ = access;
  share_ = share;
  return true;
}

bool File::isOpen() const { return handle_ != -1; }

bool File::read(void* buffer, uint32_t size, uint32_t* got) {
  *got = 0;
  if (!isOpen()) return setLastError(kErrInvalidHandle), false;
  if (faultNow(kFaultRead)) return false;
  DWORD count = 0;
  if (!ReadFile(asHandle(handle_), buffer, size, &count, nullptr)) return false;
  *got = count;
  return true;
}

bool File::write(const void* buffer, uint32_t size, uint32_t* written) {
  uint32_t ignored = 0;
  uint32_t& done = written ? *written : ignored;
  done = 0;
  if (!isOpen()) return setLastError(kErrInvalidHandle), false;
  uint32_t pass = 0;
  const bool fault = faultNow(kFaultWrite, &pass);
  const uint32_t error = lastError();
  const uint32_t goal = fault ? (pass < size ? pass : size) : size;
  DWORD count = 0;
  if (goal > 0 && !WriteFile(asHandle(handle_), buffer, goal, &count, nullptr)) return done = count, false;
  done = count;
  if (fault) return setLastError(error), false;
  if (count != size) return setLastError(kErrDiskFull), false;
  return true;
}

bool File::seek(int64_t offset, SeekFrom from, int64_t* newPosition) {
  if (!isOpen()) return setLastError(kErrInvalidHandle), false;
  if (faultNow(kFaultSeek)) return false;
  DWORD method = from == kSeekBegin ? FILE_BEGIN : from == kSeekCurrent ? FILE_CURRENT : FILE_END;
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  LARGE_INTEGER reached;
  if (!SetFilePointerEx(asHandle(handle_), distance, &reached, method)) return false;
  if (newPosition) *newPosition = reached.QuadPart;
  return true;
}

bool File::size(int64_t* bytes) {
  if (!isOpen()) return setLastError(kErrInvalidHandle), false;
  LARGE_INTEGER value;
  if (!GetFileSizeEx(asHandle(handle_), &value)) return false;
  *bytes = value.QuadPart;
  return true;
}

bool File::truncateHere() {
  if (!isOpen()) return setLastError(kErrInvalidHandle), false;
  if (faultNow(kFaultTruncate)) return false;
  return SetEndOfFile(asHandle(handle_)) != 0;
}

bool File::flush() {
  if (!isOpen()) return setLastError(kErrInvalidHandle), false;
  if (faultNow(kFaultFlush)) return false;
  return FlushFileBuffers(asHandle(handle_)) != 0;
}

bool File::close() {
  if (!isOpen()) return true;
  const bool closed = CloseHandle(asHandle(handle_)) != 0;
  handle_ = -1;
  return closed;
}

}  // namespace tuho
