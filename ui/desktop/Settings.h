// The user's settings under HKEY_CURRENT_USER\Software\Brambleward\Tuho:
// track list column widths, the tree's grouping, minimise to the
// notification area, and the main window's normal rectangle. They are read
// while the main window is created and written once when it ends.
#pragma once

#include <windows.h>

#include <array>
#include <optional>

namespace tuho {

extern const char kSettingsKeyPath[];

constexpr std::array<int, 5> kDefaultColumnWidths = {125, 125, 25, 200, 100};

struct ViewSettings {
  std::array<int, 5> columnWidths = kDefaultColumnWidths;  // "Col0" to "Col4"
  int grouping = 0;  // index of the grouping combo box: 0 Genre, 1 Artist, 2 Album, 3 Media
  // Each stored edge of the normal rectangle, where one is stored.
  std::optional<LONG> top, left, right, bottom;
};

struct NotificationSettings {
  bool minimiseToTray = false;
  bool launcherAtStartup = false;
};

// Every value read checked; missing or malformed ones keep their defaults,
// and a grouping outside 0 to 2 is Genre.
ViewSettings readViewSettings();
NotificationSettings readNotificationSettings();

// The stored edges laid over the window's normal rectangle, or nothing when
// the result is empty or lies on no monitor (a screen since removed). The
// rectangle is in workspace coordinates, as the window placement keeps it:
// they start at the work area's corner (`workspaceOrigin`, in screen
// coordinates), which a taskbar at the top or left moves away from the
// screen's.
std::optional<RECT> restoredRect(const RECT& normal, const ViewSettings& settings, POINT workspaceOrigin);
// The screen position of workspace coordinate (0, 0): the primary monitor's
// work area corner.
POINT workspaceOrigin();

// Column widths, grouping and "MinNotify" under one open key, then the
// normal rectangle under the key opened again.
void saveSettings(const ViewSettings& view, const RECT& normal, bool minimiseToTray);

}  // namespace tuho
