#include "catalogue/DataFolder.h"

#include "platform/FileSystem.h"

namespace tuho {

std::string dataFolderIn(const std::string& appData) {
  std::string maker = appData + "\\Brambleward";
  createFolder(maker);
  std::string folder = maker + "\\Tunehoard";
  createFolder(folder);
  return folder;
}

AppDataResult makeDataFolder(std::string& folder) {
  folder.clear();
  std::string appData;
  AppDataResult result = userAppDataFolder(appData);
  if (result == kAppDataFound) folder = dataFolderIn(appData);
  return result;
}

}  // namespace tuho
