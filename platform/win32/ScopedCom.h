// COM for the shell's calls, with every acquire paired with its release: COM
// on the current thread, an interface pointer, and a shell item id list
// freed with the shell's allocator.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <utility>

#include "platform/win32/ScopedResource.h"

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

struct ReleaseInterface {
  void operator()(IUnknown* object) const { object->Release(); }
};
struct FreeShellMemory {
  void operator()(void* block) const { CoTaskMemFree(block); }
};

// An interface pointer, released when its owner goes.
template <class T>
using ScopedComPtr = ScopedResource<T*, ReleaseInterface>;
// A shell item id list.
using ScopedItemIdList = ScopedResource<LPITEMIDLIST, FreeShellMemory>;

}  // namespace tuho
