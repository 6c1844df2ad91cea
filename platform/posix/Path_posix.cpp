#include "platform/Path.h"

#include <cctype>
#include <mutex>
#include <vector>

#include "platform/Ansi.h"

namespace tuho {
namespace {

std::mutex gDrivesMutex;
std::string gDrives[26];

// The part of a path after its drive with "." and ".." taken away as
// Windows takes them, by the text alone: ".." never climbs above the drive's
// root, so "D:\..\.." is "D:\" and nothing outside the drive's folder is
// reached. Both kinds of slash separate; one at the end is kept.
std::string withinDrive(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  auto endPart = [&] {
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    part.clear();
  };
  for (char c : path) {
    if (c == '\\' || c == '/') {
      endPart();
    } else {
      part += c;
    }
  }
  endPart();
  std::string out;
  for (const std::string& kept : parts) out += (out.empty() ? "" : "/") + kept;
  if (!path.empty() && (path.back() == '\\' || path.back() == '/') && !out.empty()) out += '/';
  return out;
}

}  // namespace

bool isNativeFullPath(const std::string& path) { return !path.empty() && path[0] == '/'; }

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
    path = withinDrive(path.substr(2));
  }
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return drive + utf8FromAnsi(path);
}

}  // namespace tuho
