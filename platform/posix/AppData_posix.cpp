#include "platform/AppData.h"

#include <cstdlib>
#include <filesystem>

namespace tuho {

namespace {

// Unlike on Windows, the folder need not exist yet on a fresh account.
AppDataResult ensured(const std::string& folder) {
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return kAppDataFound;
}

}  // namespace

AppDataResult userAppDataFolder(std::string& folder) {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg) {
    folder = xdg;
    return ensured(folder);
  }
  const char* home = std::getenv("HOME");
  if (!home || !*home) return kAppDataNoLocation;
  folder = std::string(home) + "/.local/share";
  return ensured(folder);
}

}  // namespace tuho
