// Preferences: the two notification-area choices. OK applies them (the Run
// entry at once, "MinNotify" when the main window ends); Cancel changes
// nothing.
#pragma once

#include <windows.h>

#include <string>

#include "ui/kit/DialogSkin.h"
#include "ui/kit/ScopedGdi.h"
#include "ui/desktop/Settings.h"

namespace tuho {

constexpr int IDC_PREF_MINIMIZE = 2336;
constexpr int IDC_PREF_RUN_LAUNCHER = 2337;

class PreferencesDialog {
 public:
  // Modal over the parent; true for OK, false for Cancel.
  bool run(HINSTANCE instance, HWND parent, NotificationSettings& settings, const std::string& programFolder);
  INT_PTR onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void initialise(HWND dialog);
  void confirm(HWND dialog);

  NotificationSettings* settings_ = nullptr;
  std::string programFolder_;
  ScopedBitmap banner_;
  DialogSkin skin_;
};

}  // namespace tuho
