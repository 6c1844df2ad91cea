#include <unistd.h>

#include "platform/Ansi.h"
#include "platform/ProgramFolder.h"

namespace tuho {

std::string programPath() {
  char path[4096];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || static_cast<size_t>(length) >= sizeof path) return std::string();
  // As every path of the program, in the ANSI code page.
  return exactAnsiFromUtf8(std::string(path, static_cast<size_t>(length))).value_or(std::string());
}

std::string programFolder() {
  std::string path = programPath();
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace tuho
