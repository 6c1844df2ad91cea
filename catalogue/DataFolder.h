// The data folder: "<application data>\Brambleward\Tunehoard". It holds the
// catalogue, the source list and the ready-to-play copies.
#pragma once

#include <string>

#include "platform/AppData.h"

namespace tuho {

// Finds the application data folder and creates the two folders below it
// (creating a folder that exists is no error). On failure `folder` is left
// empty and the result says which step failed.
AppDataResult makeDataFolder(std::string& folder);
// The two folders below a given application data folder.
std::string dataFolderIn(const std::string& appData);

}  // namespace tuho
