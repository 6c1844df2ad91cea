// Where the user's application data lives.
#pragma once

#include <string>

namespace tuho {

enum AppDataResult {
  kAppDataFound = 0,
  kAppDataNoAllocator = 1,  // the shell's allocator could not be had
  kAppDataNoLocation = 2,   // the folder could not be located
  kAppDataNoPath = 3,       // its location could not be turned into a path
};

// The user's application data folder (CSIDL_APPDATA on Windows;
// $XDG_DATA_HOME, else ~/.local/share, on POSIX).
AppDataResult userAppDataFolder(std::string& folder);

}  // namespace tuho
