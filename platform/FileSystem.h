// Whole-file and folder operations with Win32 semantics and error numbers.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tuho {

bool fileExists(const std::string& path);
bool folderExists(const std::string& path);
// CopyFileA; failIfExists mirrors its third argument.
bool copyFile(const std::string& from, const std::string& to, bool failIfExists);
bool deleteFile(const std::string& path);
// MoveFileExA(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH): an atomic
// replace of `to` by `from`.
bool replaceFile(const std::string& from, const std::string& to);
bool createFolder(const std::string& path);
// Clears the read-only attribute (copies from CDs arrive read-only).
bool makeWritable(const std::string& path);

// Names the folder itself, whatever path leads to it (through links,
// junctions or other reparse points): device and index of the folder. False
// when it cannot be had.
bool folderIdentity(const std::string& path, std::string* identity);

struct FolderEntry {
  std::string name;  // in the ANSI code page, as every path of the program
  bool isFolder = false;
};
// FindFirstFile/FindNextFile over "folder\*": calls visit for every entry
// but "." and "..". Returns false (lastError set) when the folder cannot be
// entered; visit returns false to stop early. An entry whose name the ANSI
// code page cannot hold (and that has no short name it can) could not be
// opened by any path the program forms: it is not visited but counted in
// *unnamed, when given.
bool listFolder(const std::string& folder, const std::function<bool(const FolderEntry&)>& visit,
                int* unnamed = nullptr);

// The name a listing gives an entry the system calls `longName`, with the
// short (8.3) name `shortName` (empty where the volume keeps none): the long
// name where the ANSI code page holds it, else the short one; nothing when
// neither converts exactly.
std::optional<std::string> ansiEntryName(const std::u16string& longName, const std::u16string& shortName);

}  // namespace tuho
