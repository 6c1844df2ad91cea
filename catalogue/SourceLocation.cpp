#include "catalogue/SourceLocation.h"

#include <cctype>

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

Location splitAt(const std::string& text, size_t rootLength) {
  Location split{text.substr(0, rootLength), text.substr(rootLength)};
  if (split.folder == "\\") split.folder.clear();
  return split;
}

std::string lastFolderName(const Location& location) {
  std::string folder = location.folder;
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  size_t slash = folder.rfind('\\');
  std::string last = slash == std::string::npos ? folder : folder.substr(slash + 1);
  if (!last.empty()) return last;
  if (!isShareStart(location.root)) return location.root;
  return location.root.substr(location.root.rfind('\\') + 1);
}

}  // namespace

std::optional<Location> splitSourceLocation(const std::string& location) {
  if (isDrivePath(location)) return splitAt(location, 2);
  if (isShareStart(location)) {
    size_t root = shareRootLength(location);
    if (root) return splitAt(location, root);
  }
  return std::nullopt;
}

bool isWholeDrive(const std::string& location) {
  std::optional<Location> split = splitSourceLocation(location);
  return split && isDrivePath(location) && split->folder.empty();
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
