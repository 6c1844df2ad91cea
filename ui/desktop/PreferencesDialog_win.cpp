#include "ui/desktop/PreferencesDialog.h"

#include "resources/resource.h"
#include "ui/kit/Gdi.h"
#include "ui/desktop/LauncherEntry.h"
#include "ui/kit/WindowAttach.h"

namespace tuho {
namespace {

bool ticked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// The boxes are not automatic: each click flips its box here.
void toggle(HWND dialog, int id) { CheckDlgButton(dialog, id, ticked(dialog, id) ? BST_UNCHECKED : BST_CHECKED); }

}  // namespace

bool PreferencesDialog::run(HINSTANCE instance, HWND parent, NotificationSettings& settings,
                            const std::string& programFolder) {
  settings_ = &settings;
  programFolder_ = programFolder;
  if (!banner_) banner_.reset(loadBitmap(instance, IDB_PREFERENCES_BANNER));
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_PREFERENCES), parent, dialogProcOf<PreferencesDialog>,
                         reinterpret_cast<LPARAM>(this)) == 0;
}

void PreferencesDialog::initialise(HWND dialog) {
  skin_.apply(dialog, 300, 210, banner_, nullptr);
  skin_.add("BUTTON", "Notification Icons", BS_GROUPBOX, 10, 80, 280, 85, -1);
  skin_.add("BUTTON", "Minimize to notification area", BS_CHECKBOX | WS_TABSTOP, 20, 105, 260, 20,
            IDC_PREF_MINIMIZE);
  skin_.add("BUTTON", "Run launcher at Windows startup", BS_CHECKBOX | WS_TABSTOP, 20, 130, 260, 20,
            IDC_PREF_RUN_LAUNCHER);
  CheckDlgButton(dialog, IDC_PREF_MINIMIZE, settings_->minimiseToTray ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_PREF_RUN_LAUNCHER, settings_->launcherAtStartup ? BST_CHECKED : BST_UNCHECKED);
  SetWindowPos(GetDlgItem(dialog, IDOK), nullptr, 215, 175, 75, 25, SWP_NOZORDER);
  SetWindowPos(GetDlgItem(dialog, IDCANCEL), nullptr, 130, 175, 75, 25, SWP_NOZORDER);
}

void PreferencesDialog::confirm(HWND dialog) {
  settings_->minimiseToTray = ticked(dialog, IDC_PREF_MINIMIZE);
  bool wanted = ticked(dialog, IDC_PREF_RUN_LAUNCHER);
  // The flag follows what the registry holds afterwards, not the wish. A
  // ticked box also corrects an entry that starts another copy or an
  // unquoted path.
  if (wanted) settings_->launcherAtStartup = setLauncherEntry(programFolder_);
  if (!wanted && settings_->launcherAtStartup) settings_->launcherAtStartup = removeLauncherEntry();
}

INT_PTR PreferencesDialog::onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      initialise(dialog);
      return TRUE;
    case WM_COMMAND:
      if (wParam == IDC_PREF_MINIMIZE || wParam == IDC_PREF_RUN_LAUNCHER) {
        toggle(dialog, static_cast<int>(wParam));
      } else if (wParam == IDOK) {
        confirm(dialog);
        EndDialog(dialog, 0);
      } else if (wParam == IDCANCEL) {
        EndDialog(dialog, -1);
      }
      return TRUE;
    case WM_DESTROY:
      skin_.destroy();
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace tuho
