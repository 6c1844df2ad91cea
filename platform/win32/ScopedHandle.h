// Kernel handles closed when their owner goes: a file or folder handle
// (CloseHandle) and a file search (FindClose). Both treat null and
// INVALID_HANDLE_VALUE as no handle, so either failure value can be held.
#pragma once

#include <windows.h>

#include <utility>

namespace tuho {

template <BOOL(WINAPI* Close)(HANDLE)>
class ScopedKernelHandle {
 public:
  explicit ScopedKernelHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~ScopedKernelHandle() { reset(); }
  ScopedKernelHandle(ScopedKernelHandle&& other) noexcept : handle_(other.release()) {}
  ScopedKernelHandle& operator=(ScopedKernelHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ScopedKernelHandle(const ScopedKernelHandle&) = delete;
  ScopedKernelHandle& operator=(const ScopedKernelHandle&) = delete;

  bool valid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
  void reset(HANDLE handle = INVALID_HANDLE_VALUE) {
    if (valid()) Close(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_;
};

using ScopedHandle = ScopedKernelHandle<&CloseHandle>;
using ScopedFind = ScopedKernelHandle<&FindClose>;

}  // namespace tuho
