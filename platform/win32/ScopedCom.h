// COM for the shell's calls, with every acquire paired with its release: COM
// on the current thread, an interface pointer, and a shell item id list
// freed with the shell's allocator. Each owner moves; none copies.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <utility>

namespace tuho {

// COM for the current thread (the shell's folder browser needs it), undone
// only when this scope's call succeeded.
class ScopedCom {
 public:
  ScopedCom() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ScopedCom() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ScopedCom(ScopedCom&& other) noexcept : result_(std::exchange(other.result_, E_FAIL)) {}
  ScopedCom& operator=(ScopedCom&&) = delete;  // two initialisations cannot become one
  ScopedCom(const ScopedCom&) = delete;
  ScopedCom& operator=(const ScopedCom&) = delete;

 private:
  HRESULT result_;
};

// An interface pointer released when its owner goes. `out()` hands the
// address to a call that fills it, releasing what was held before.
template <class T>
class ScopedComPtr {
 public:
  ScopedComPtr() = default;
  ~ScopedComPtr() { reset(); }
  ScopedComPtr(ScopedComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ScopedComPtr& operator=(ScopedComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }
  ScopedComPtr(const ScopedComPtr&) = delete;
  ScopedComPtr& operator=(const ScopedComPtr&) = delete;

  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  T** out() {
    reset();
    return &pointer_;
  }
  void reset() {
    if (pointer_) pointer_->Release();
    pointer_ = nullptr;
  }

 private:
  T* pointer_ = nullptr;
};

// A shell item id list, freed with the shell's allocator.
class ScopedItemIdList {
 public:
  ScopedItemIdList() = default;
  explicit ScopedItemIdList(LPITEMIDLIST list) : list_(list) {}
  ~ScopedItemIdList() { reset(); }
  ScopedItemIdList(ScopedItemIdList&& other) noexcept : list_(std::exchange(other.list_, nullptr)) {}
  ScopedItemIdList& operator=(ScopedItemIdList&& other) noexcept {
    if (this != &other) {
      reset();
      list_ = std::exchange(other.list_, nullptr);
    }
    return *this;
  }
  ScopedItemIdList(const ScopedItemIdList&) = delete;
  ScopedItemIdList& operator=(const ScopedItemIdList&) = delete;

  LPITEMIDLIST get() const { return list_; }
  explicit operator bool() const { return list_ != nullptr; }
  void reset() {
    if (list_) CoTaskMemFree(list_);
    list_ = nullptr;
  }

 private:
  LPITEMIDLIST list_ = nullptr;
};

}  // namespace tuho
