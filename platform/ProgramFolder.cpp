#include "platform/ProgramFolder.h"

#include "platform/Shell.h"

namespace tuho {

std::string pathInFolder(const std::string& folder, const std::string& name, size_t capacity) {
  if (folder.empty()) return std::string();
  std::string path = folder + "\\" + name;
  if (path.size() + 1 > capacity) return std::string();
  return path;
}

void openBesideProgram(const std::string& name, intptr_t owner) {
  std::string folder = programFolder();
  if (pathInFolder(folder, name).empty()) return;
  ShellRequest request{"open", name, folder, owner};
  request.quiet = true;
  shellExecute(request);
}

}  // namespace tuho
