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

// The name the wizard offers for a new source. shellName is the shell's
// display name of the folder picked with Browse, given only while the
// location box still holds that folder's path: a drive shown as
// "Audio CD (D:)" gives "Audio CD ". Otherwise the last folder name of the
// location, or the drive or share for a whole volume.
std::string suggestedSourceName(const std::string& location, const std::optional<std::string>& shellName);

}  // namespace tuho
