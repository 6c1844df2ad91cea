#include "platform/ProgramFolder.h"

namespace tuho {

std::string pathInFolder(const std::string& folder, const std::string& name, size_t capacity) {
  if (folder.empty()) return std::string();
  std::string path = folder + "\\" + name;
  if (path.size() + 1 > capacity) return std::string();
  return path;
}

}  // namespace tuho
