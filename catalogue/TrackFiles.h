// Names and paths of track files.
#pragma once

#include <string>

namespace tuho {

// Longest path Windows opens with the ANSI file calls (MAX_PATH less the
// terminating zero).
constexpr size_t kMaxPathChars = 259;

// A track file's name ends in "mp3", "MP3" or "Mp3"; the dot is not needed.
bool isTrackFileName(const std::string& name);

// A whole volume ("D:") as a folder ("D:\"); other paths unchanged.
std::string folderPath(const std::string& path);

// A location split as the Add Media wizard does: root up to and including
// the first colon, folder the rest ("\" alone meaning the whole volume). A
// location without a colon, such as a share path, is all folder.
struct Location {
  std::string root;
  std::string folder;
};
Location splitLocation(const std::string& location);

}  // namespace tuho
