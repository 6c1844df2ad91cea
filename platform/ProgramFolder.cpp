#include "platform/ProgramFolder.h"

#include "platform/FileSystem.h"
#include "platform/Shell.h"

namespace tuho {

std::string pathInFolder(const std::string& folder, const std::string& name, size_t capacity) {
  if (folder.empty()) return std::string();
  std::string path = folder + "\\" + name;
  if (path.size() + 1 > capacity) return std::string();
  return path;
}

void openInFolder(const std::string& folder, const std::string& name, intptr_t owner) {
  std::string path = pathInFolder(folder, name);
  if (path.empty() || !fileExists(path)) return;
  ShellRequest request{"open", path, folder, owner};
  request.quiet = true;
  shellExecute(request);
}

void openBesideProgram(const std::string& name, intptr_t owner) { openInFolder(programFolder(), name, owner); }

}  // namespace tuho
