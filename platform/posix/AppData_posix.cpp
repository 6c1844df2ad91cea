#include "platform/AppData.h"

#include <cstdlib>
#include <filesystem>

#include "platform/Ansi.h"

namespace tuho {

namespace {

// Unlike on Windows, the folder need not exist yet on a fresh account. The
// program takes it as an ANSI path, which it cannot be when the code page
// lacks one of its characters.
AppDataResult ensured(const std::string& native, std::string& folder) {
  std::error_code ignored;
  std::filesystem::create_directories(native, ignored);
  std::optional<std::string> ansi = exactAnsiFromUtf8(native);
  if (!ansi) return kAppDataNoPath;
  folder = *ansi;
  return kAppDataFound;
}

}  // namespace

AppDataResult userAppDataFolder(std::string& folder) {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg) return ensured(xdg, folder);
  const char* home = std::getenv("HOME");
  if (!home || !*home) return kAppDataNoLocation;
  return ensured(std::string(home) + "/.local/share", folder);
}

}  // namespace tuho
