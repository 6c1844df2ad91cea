#include "catalogue/SourceLocation.h"

#include <cctype>

#include "platform/Path.h"

namespace tuho {
namespace {

bool isShareStart(const std::string& text) { return text.size() > 2 && text[0] == '\\' && text[1] == '\\'; }

// "\\server\share" at the start of a share path: its length, or 0 when the
// server or the share name is missing.
size_t shareRootLength(const std::string& text) {
  size_t serverEnd = text.find('\\', 2);
  if (serverEnd == std::string::npos || serverEnd == 2) return 0;
  size_t shareEnd = text.find('\\', serverEnd + 1);
  if (shareEnd == std::string::npos) shareEnd = text.size();
  return shareEnd > serverEnd + 1 ? shareEnd : 0;
}

bool isDrivePath(const std::string& text) {
  return text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':';
}

bool hasControlCharacter(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  }
  return false;
}

// The last folder name of a split location, or the drive of a whole volume.
std::string lastFolderName(const Location& location) {
  std::string folder = location.folder;
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  size_t slash = folder.rfind('\\');
  std::string last = slash == std::string::npos ? folder : folder.substr(slash + 1);
  return last.empty() ? location.root : last;
}

}  // namespace

std::string keptSourceName(const std::string& given) {
  size_t first = given.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return given.substr(first, given.find_last_not_of(' ') - first + 1);
}

std::optional<std::string> sourceNameRefusal(const std::string& name) {
  if (name.empty()) return std::string("A Media Source needs a name.");
  if (hasControlCharacter(name)) {
    return std::string("A Media Source name cannot hold tabs, line breaks or other control characters.");
  }
  if (name.size() > kMaxSourceNameChars) {
    return "A Media Source name can have at most " + std::to_string(kMaxSourceNameChars) + " characters.";
  }
  return std::nullopt;
}

std::optional<std::string> locationRefusal(const std::string& location) {
  if (hasControlCharacter(location)) {
    return std::string("A location cannot hold tabs, line breaks or other control characters.");
  }
  if (location.size() > kMaxPathChars) {
    return "A location can have at most " + std::to_string(kMaxPathChars) + " characters.";
  }
  return std::nullopt;
}

std::optional<Location> splitSourceLocation(const std::string& location) {
  const bool drive = isDrivePath(location) && (location.size() == 2 || location[2] == '\\');
  const bool share = isShareStart(location) && shareRootLength(location) > 0;
  if (!drive && !share && !isNativeFullPath(location)) return std::nullopt;
  return splitLocation(location);
}

bool isWholeDrive(const std::string& location) {
  std::optional<Location> split = splitSourceLocation(location);
  return split && isDrivePath(location) && (split->folder.empty() || split->folder == "\\");
}

std::string suggestedSourceName(const std::string& location, const std::optional<std::string>& shellName,
                                const std::string& volumeLabel) {
  if (!volumeLabel.empty() && isWholeDrive(location)) return volumeLabel;
  if (shellName) {
    // A volume is shown with its drive in brackets, "Audio CD (D:)": keep
    // what comes before the bracket, blank included.
    size_t drive = shellName->find(":)");
    if (drive == std::string::npos || drive < 2) return *shellName;
    return shellName->substr(0, drive - 2);
  }
  std::optional<Location> split = splitSourceLocation(location);
  return split ? lastFolderName(*split) : std::string();
}

}  // namespace tuho
