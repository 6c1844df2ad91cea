// One owner for a Win32 resource whose empty value is null: it releases the
// resource through `Release` when it goes or takes another, moves, and never
// copies. The GDI owners of ui/kit/ScopedGdi.h and the shell's owners of
// ScopedCom.h are made of it.
#pragma once

#include <utility>

namespace tuho {

template <class T, class Release>
class ScopedResource {
 public:
  ScopedResource() = default;
  explicit ScopedResource(T handle) : handle_(handle) {}
  ~ScopedResource() { reset(); }
  ScopedResource(ScopedResource&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  ScopedResource& operator=(ScopedResource&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ScopedResource(const ScopedResource&) = delete;
  ScopedResource& operator=(const ScopedResource&) = delete;

  void reset(T handle = nullptr) {
    if (handle_) Release()(handle_);
    handle_ = handle;
  }
  T get() const { return handle_; }
  operator T() const { return handle_; }
  T operator->() const { return handle_; }
  // For a call that hands the resource back through a pointer: what was held
  // is released first.
  T* put() {
    reset();
    return &handle_;
  }

 private:
  T handle_ = nullptr;
};

}  // namespace tuho
