#include "ui/desktop/WelcomeDialog.h"

#include "resources/resource.h"
#include "ui/kit/Gdi.h"
#include "ui/kit/WindowAttach.h"

namespace tuho {

const char kWelcomeText[] =
    "You current have no media sources. Would you like some help finding your way around?";

bool WelcomeDialog::run(HINSTANCE instance, HWND parent, std::function<void()> openHelp) {
  openHelp_ = std::move(openHelp);
  if (!upper_) upper_.reset(loadBitmap(instance, IDB_WELCOME_UPPER));
  if (!lower_) lower_.reset(loadBitmap(instance, IDB_WELCOME_LOWER));
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_WELCOME), parent, dialogProcOf<WelcomeDialog>,
                         reinterpret_cast<LPARAM>(this)) == 0;
}

INT_PTR WelcomeDialog::onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      skin_.apply(dialog, 300, 195, upper_, lower_);
      skin_.add("STATIC", kWelcomeText, 0, 10, 75, 280, 40, -1);
      skin_.add("BUTTON", "Yes Please", BS_DEFPUSHBUTTON | WS_TABSTOP, 113, 125, 75, 25, IDOK);
      skin_.add("BUTTON", "No Thanks", BS_PUSHBUTTON | WS_TABSTOP, 113, 160, 75, 25, IDCANCEL);
      SetFocus(GetDlgItem(dialog, IDOK));
      return FALSE;  // the focus is set
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        if (openHelp_) openHelp_();
        EndDialog(dialog, 0);
      } else if (LOWORD(wParam) == IDCANCEL) {
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
