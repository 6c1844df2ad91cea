#include "platform/AppData.h"

#include <windows.h>
#include <shlobj.h>

namespace tuho {

AppDataResult userAppDataFolder(std::string& folder) {
  IMalloc* allocator = nullptr;
  if (FAILED(SHGetMalloc(&allocator)) || !allocator) return kAppDataNoAllocator;
  LPITEMIDLIST items = nullptr;
  AppDataResult result = kAppDataFound;
  if (FAILED(SHGetSpecialFolderLocation(GetDesktopWindow(), CSIDL_APPDATA, &items)) || !items) {
    result = kAppDataNoLocation;
  } else {
    char path[MAX_PATH + 1] = {};
    if (SHGetPathFromIDListA(items, path)) {
      folder = path;
    } else {
      result = kAppDataNoPath;
    }
    allocator->Free(items);
  }
  allocator->Release();
  return result;
}

}  // namespace tuho
