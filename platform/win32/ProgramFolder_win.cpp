#include <windows.h>

#include "platform/ProgramFolder.h"

namespace tuho {

std::string programPath() {
  char path[MAX_PATH + 1];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  // 0 is a failure; a full buffer means the path was cut short.
  if (length == 0 || length >= sizeof path) return std::string();
  return std::string(path, length);
}

std::string programFolder() {
  std::string path = programPath();
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace tuho
