// Where a new media source lives and what to call it, for tuhodb and the
// Add Media wizard alike: which locations and names a source can be kept
// under, the split of a location into root and folder, and the name the
// wizard suggests. Portable, so that all of it is tested natively.
#pragma once

#include <optional>
#include <string>

#include "catalogue/TrackFiles.h"

namespace tuho {

// Longest name a source is kept under: what the wizard's name box holds.
constexpr size_t kMaxSourceNameChars = 511;

// The name a source is kept under: the given one without leading and
// trailing spaces, so that "x" and "x " are one name.
std::string keptSourceName(const std::string& given);
// Why no source can be kept under this (kept) name, or nothing when one can:
// an empty name, a control character (a tab, a line break), or more than
// kMaxSourceNameChars characters.
std::optional<std::string> sourceNameRefusal(const std::string& name);

// Why no source can be kept at this location, or nothing: more characters
// than a path may have (kMaxPathChars), or a control character.
std::optional<std::string> locationRefusal(const std::string& location);
// A full path split by splitLocation: a drive path with its backslash
// ("D:\Music", "D:\", "D:"), a share path ("\\server\share\Music"), or
// on POSIX a path of the system's own. Nothing for any other text (a
// relative path, "D:Music"), which names no place of its own.
std::optional<Location> splitSourceLocation(const std::string& location);

// The name the wizard offers for a new source. For a whole drive, the
// volume's label (the disc's own name) comes first. shellName is the
// shell's display name of the location (of the folder picked with Browse
// while the box still holds its path, or of a typed drive): a drive shown
// as "Audio CD (D:)" gives "Audio CD ". Otherwise the last folder name of
// the location, or the drive or share for a whole volume.
std::string suggestedSourceName(const std::string& location, const std::optional<std::string>& shellName,
                                const std::string& volumeLabel = std::string());
// Whether the location is a whole drive ("D:" or "D:"), whose volume has a label.
bool isWholeDrive(const std::string& location);

}  // namespace tuho
