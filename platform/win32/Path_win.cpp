#include "platform/Path.h"

namespace tuho {

std::string nativePath(const std::string& windowsPath) { return windowsPath; }

// Drives are real on Windows.
void mapDrive(char, const std::string&) {}

}  // namespace tuho
