// Where a new media source lives and what to call it: the Add Media wizard's
// split of a typed or browsed location into root and folder, and the name it
// suggests. Portable, so that both are tested natively.
#pragma once

#include <optional>
#include <string>

#include "catalogue/TrackFiles.h"

namespace tuho {

// A drive path ("D:\Music": root "D:", folder "\Music") or a share path
// ("\\server\share\Music": root "\\server\share", folder "\Music"), so that
// root + folder + relative folder + file name is a file's path. A folder of
// "\" alone (the whole volume or share) becomes empty. Nothing for any other
// text, which the wizard refuses.
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
