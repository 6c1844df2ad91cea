#include "platform/Path.h"

namespace tuho {

std::string nativePath(const std::string& windowsPath) { return windowsPath; }

// Windows paths have a drive or a share.
bool isNativeFullPath(const std::string&) { return false; }

// Drives are real on Windows.
void mapDrive(char, const std::string&) {}

}  // namespace tuho
