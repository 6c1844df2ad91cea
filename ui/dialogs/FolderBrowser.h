// The shell's folder browser as the Add Media wizard and the Locate Volume
// dialog open it, and the shell's display name of a picked folder.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/ScopedCom.h"

namespace tuho {

struct PickedFolder {
  ScopedItemIdList item;  // none when the user cancelled
  std::string path;
};

// "Please choose a drive or folder", file-system folders only, no New Folder
// button. Needs no COM set up by the caller.
PickedFolder browseForFolder(HWND owner);

// The desktop folder's normal display name of the item, in the ANSI code
// page; empty when the shell gives none.
std::string shellDisplayName(const ScopedItemIdList& item);
// The same for a path typed by hand; empty when the shell does not know it.
std::string shellDisplayNameOfPath(const std::string& path);

// The label of the volume at a drive ("D:"), the disc's own name; empty
// when the drive has none or holds no volume.
std::string volumeLabel(const std::string& drive);

}  // namespace tuho
