#include "ui/desktop/Settings.h"

#include <string>

#include "ui/desktop/LauncherEntry.h"
#include "catalogue/TrackItem.h"
#include "ui/kit/RegistryKey.h"

namespace tuho {
namespace {

std::string columnName(size_t column) { return "Col" + std::to_string(column); }

std::optional<LONG> edge(const RegistryKey& key, const char* name) {
  std::optional<DWORD> value = key.dword(name);
  if (!value) return std::nullopt;
  return static_cast<LONG>(*value);  // a left or top edge may be negative
}

}  // namespace

const char kSettingsKeyPath[] = "Software\\Brambleward\\Tuho";

ViewSettings readViewSettings() {
  ViewSettings settings;
  RegistryKey key(kSettingsKeyPath);
  for (size_t i = 0; i < settings.columnWidths.size(); ++i) {
    std::optional<DWORD> width = key.dword(columnName(i).c_str());
    if (width) settings.columnWidths[i] = static_cast<int>(*width);
  }
  std::optional<DWORD> grouping = key.dword("GRoot");
  if (grouping && isGroupLevel(*grouping)) settings.grouping = static_cast<int>(*grouping);
  settings.top = edge(key, "Top");
  settings.left = edge(key, "Left");
  settings.right = edge(key, "Right");
  settings.bottom = edge(key, "Bottom");
  return settings;
}

NotificationSettings readNotificationSettings() {
  NotificationSettings settings;
  std::optional<DWORD> minimise = RegistryKey(kSettingsKeyPath).dword("MinNotify");
  settings.minimiseToTray = minimise && *minimise != 0;
  settings.launcherAtStartup = launcherEntryExists();
  return settings;
}

std::optional<RECT> restoredRect(const RECT& normal, const ViewSettings& settings, POINT workspaceOrigin) {
  RECT rect = normal;
  if (settings.top) rect.top = *settings.top;
  if (settings.left) rect.left = *settings.left;
  if (settings.right) rect.right = *settings.right;
  if (settings.bottom) rect.bottom = *settings.bottom;
  if (rect.right <= rect.left || rect.bottom <= rect.top) return std::nullopt;
  RECT onScreen = rect;
  OffsetRect(&onScreen, workspaceOrigin.x, workspaceOrigin.y);
  if (!MonitorFromRect(&onScreen, MONITOR_DEFAULTTONULL)) return std::nullopt;
  return rect;
}

POINT workspaceOrigin() {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  if (!primary || !GetMonitorInfoA(primary, &monitor)) return POINT{0, 0};
  return POINT{monitor.rcWork.left, monitor.rcWork.top};
}

void saveSettings(const ViewSettings& view, const RECT& normal, bool minimiseToTray) {
  {
    RegistryKey key(kSettingsKeyPath);
    for (size_t i = 0; i < view.columnWidths.size(); ++i) {
      key.setDword(columnName(i).c_str(), static_cast<DWORD>(view.columnWidths[i]));
    }
    key.setDword("GRoot", static_cast<DWORD>(view.grouping));
    key.setDword("MinNotify", minimiseToTray ? 1 : 0);
  }
  RegistryKey key(kSettingsKeyPath);
  key.setDword("Top", static_cast<DWORD>(normal.top));
  key.setDword("Left", static_cast<DWORD>(normal.left));
  key.setDword("Right", static_cast<DWORD>(normal.right));
  key.setDword("Bottom", static_cast<DWORD>(normal.bottom));
}

}  // namespace tuho
