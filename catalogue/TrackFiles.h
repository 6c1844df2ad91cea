// Names and paths of track files.
#pragma once

#include <optional>
#include <string>

#include "catalogue/TrackItem.h"

namespace tuho {

// Longest path Windows opens with the ANSI file calls (MAX_PATH less the
// terminating zero).
constexpr size_t kMaxPathChars = 259;

// A track file's name ends in "mp3", "MP3" or "Mp3"; the dot is not needed.
bool isTrackFileName(const std::string& name);

// A whole volume ("D:") as a folder ("D:\"); other paths unchanged.
std::string folderPath(const std::string& path);

// A location split into a source's root and folder, the one split of
// tuhodb and the Add Media wizard: a drive path splits after its colon
// (root "D:", folder "\Music"; "\" alone meaning the whole volume); any
// other location, such as a share path, has no drive part and is all
// folder (root "", folder "\\server\share\Music"). Sources are found at
// root + folder, so a record split otherwise (root "\\server\share",
// folder "\Music", as earlier versions of the wizard stored it) still
// names the same files.
struct Location {
  std::string root;
  std::string folder;
};
Location splitLocation(const std::string& location);

// "<folder>\<file name>".
std::string inFolder(const std::string& folder, const std::string& fileName);

// Where a source's tracks are: its root and its folder on that root.
std::string sourceFolder(const SourceRef& source);
// Where the track's file is: its source's folder, then the track's folder
// below the source.
std::string trackFolder(const TrackItem& item);
// Where the ready-to-play copy of the track is: the copies mirror the
// tracks' folders below a folder per source under the data folder
// ("<data>\Copies\<source id>\A\B"), so that copies of different sources
// never share a path.
std::string copyFolder(const std::string& dataFolder, const TrackItem& item);
// Where earlier versions put the copy: the track's folder right below the
// data folder, shared by every source.
std::string oldCopyFolder(const std::string& dataFolder, const TrackItem& item);
// Where the track plays from: folder tracks where they are, other tracks
// (disc tracks, and tracks whose source is no longer registered) only from
// their ready copy, which is at the old place when only that one exists;
// nothing when there is no such place.
std::optional<std::string> playFrom(const std::string& dataFolder, const TrackItem& item);
// The track's file and its copy's file: the folders above with its file name.
std::string trackPath(const TrackItem& item);
std::string copyPath(const std::string& dataFolder, const TrackItem& item);

// Creates the track's copy folder below the data folder, level by level
// ("<data>\Copies", "<data>\Copies\<source id>", then each track folder).
void makeCopyFolders(const std::string& dataFolder, const TrackItem& item);
// Creates the folders of a relative path below a folder, level by level
// ("\A\B": "<folder>\A", then "<folder>\A\B").
void makeFolders(const std::string& folder, const std::string& relative);

}  // namespace tuho
