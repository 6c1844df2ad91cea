#include "platform/Path.h"

#include <cctype>
#include <mutex>

#include "platform/Ansi.h"

namespace tuho {
namespace {

std::mutex gDrivesMutex;
std::string gDrives[26];

}  // namespace

void mapDrive(char letter, const std::string& folder) {
  int index = std::toupper(static_cast<unsigned char>(letter)) - 'A';
  if (index < 0 || index >= 26) return;
  std::lock_guard<std::mutex> lock(gDrivesMutex);
  gDrives[index] = folder;
}

// The program's paths are ANSI and the system's are UTF-8. A drive's folder
// is the system's own path already.
std::string nativePath(const std::string& windowsPath) {
  std::string drive;
  std::string path = windowsPath;
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
    int index = std::toupper(static_cast<unsigned char>(path[0])) - 'A';
    std::lock_guard<std::mutex> lock(gDrivesMutex);
    // An unmapped drive is a drive that is not there.
    if (gDrives[index].empty()) return std::string();
    drive = gDrives[index] + "/";
    path = path.substr(2);
  }
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return drive + utf8FromAnsi(path);
}

}  // namespace tuho
