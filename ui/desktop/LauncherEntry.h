// The launcher's log-on entry: the value "TuhoKick" under the current
// user's Run key. Its existence is the "Run launcher at Windows startup"
// choice.
#pragma once

#include <string>

namespace tuho {

extern const char kRunKeyPath[];
extern const char kLauncherValueName[];

// The data of the entry for a program folder: the launcher's path in
// double quotes, so that a folder with spaces is not cut at the first one.
// Empty when the folder is empty or the quoted path would not fit in the
// 261-byte buffer it is read back into.
std::string launcherEntryFor(const std::string& folder);

// Whether the entry exists, quoted or not, however long.
bool launcherEntryExists();
// Write and remove at once; each returns whether the entry exists afterwards.
// Setting writes only when the stored data differs from this folder's entry,
// so that an entry left by an older build or another copy (unquoted, or in
// another folder) is corrected and a right one is left alone.
bool setLauncherEntry(const std::string& folder);
bool removeLauncherEntry();

}  // namespace tuho
