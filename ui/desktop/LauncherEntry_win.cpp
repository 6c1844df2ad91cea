#include "ui/desktop/LauncherEntry.h"

#include "platform/ProgramFolder.h"
#include "ui/kit/RegistryKey.h"

namespace tuho {
namespace {

constexpr DWORD kEntryCapacity = 261;

}  // namespace

const char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kLauncherValueName[] = "TuhoKick";

std::string launcherEntryFor(const std::string& folder) {
  // Two quotes and the terminator share the buffer with the path.
  std::string path = pathInFolder(folder, "TuhoKick.exe", kEntryCapacity - 2);
  return path.empty() ? path : "\"" + path + "\"";
}

bool launcherEntryExists() { return RegistryKey(kRunKeyPath).hasValue(kLauncherValueName, kEntryCapacity); }

bool setLauncherEntry(const std::string& folder) {
  std::string entry = launcherEntryFor(folder);
  RegistryKey run(kRunKeyPath);
  if (entry.empty()) return run.hasValue(kLauncherValueName, kEntryCapacity);
  if (run.string(kLauncherValueName) == entry) return true;
  return run.setString(kLauncherValueName, entry) || run.hasValue(kLauncherValueName, kEntryCapacity);
}

bool removeLauncherEntry() {
  RegistryKey run(kRunKeyPath);
  if (run.deleteValue(kLauncherValueName)) return false;
  // A key that cannot be opened may still hold the entry.
  return !run.valid() || run.hasValue(kLauncherValueName, kEntryCapacity);
}

}  // namespace tuho
