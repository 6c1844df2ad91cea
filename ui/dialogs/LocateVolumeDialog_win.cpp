#include "ui/dialogs/LocateVolumeDialog.h"

#include "catalogue/TrackFiles.h"
#include "resources/resource.h"
#include "ui/kit/Gdi.h"
#include "ui/kit/WindowAttach.h"
#include "ui/dialogs/FolderBrowser.h"

namespace tuho {
namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 180;
constexpr UINT_PTR kClosingTimer = 1;
constexpr UINT kClosingPollMs = 200;

}  // namespace

void LocateVolumeDialog::loadBitmaps(HINSTANCE instance) {
  banner_.reset(loadBitmap(instance, IDB_LOCATE_VOLUME_BANNER));
  header_.reset(loadBitmap(instance, IDB_LOCATE_VOLUME_HEADER));
}

bool LocateVolumeDialog::run(HINSTANCE instance, HWND owner, const std::string& volumeName,
                             const std::string& expectedLocation, const std::function<bool()>& closing) {
  instance_ = instance;
  volumeName_ = volumeName;
  location_ = expectedLocation.substr(0, kMaxPathChars + 1);
  closing_ = closing;
  if (closing_ && closing_()) return false;
  INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_LOCATE_VOLUME), owner,
                                   &dialogProcOf<LocateVolumeDialog>, reinterpret_cast<LPARAM>(this));
  volumeName_.clear();
  // A dialog ended by WM_QUIT returns neither 0 nor -1: only OK is OK.
  return result == 0;
}

void LocateVolumeDialog::initialise(HWND dialog) {
  dialog_ = dialog;
  if (!editFont_) editFont_.reset(pointFont(dialog, 12));
  skin_.apply(dialog, kWidth, kHeight, banner_, header_);
  // A long name is cut with an ellipsis instead of running off the dialog.
  skin_.add("STATIC", "Locate Volume: ", SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS | SS_NOPREFIX, 10, 75, 280, 14,
            IDC_LOCATE_PROMPT);
  HWND box = skin_.add("EDIT", location_.c_str(), ES_AUTOHSCROLL | WS_TABSTOP, 10, 100, 200, 25, IDC_LOCATE_LOCATION);
  setFont(box, editFont_);
  SendMessageA(box, EM_LIMITTEXT, kMaxPathChars, 0);
  skin_.add("BUTTON", "Browse", BS_PUSHBUTTON | WS_TABSTOP, 215, 100, 75, 25, IDC_LOCATE_BROWSE);
  placeChild(dialog, IDOK, 215, 145, 75, 25);
  placeChild(dialog, IDCANCEL, 130, 145, 75, 25);
  SetDlgItemTextA(dialog, IDC_LOCATE_PROMPT, ("Need Volume: " + volumeName_).c_str());
  SetWindowTextA(dialog, volumeName_.c_str());
  if (closing_) SetTimer(dialog, kClosingTimer, kClosingPollMs, nullptr);
}

void LocateVolumeDialog::confirm() {
  char text[kMaxPathChars + 1] = {};
  GetDlgItemTextA(dialog_, IDC_LOCATE_LOCATION, text, sizeof text);
  location_ = text;
  // "D:\" becomes "D:": the caller appends folders that begin with a backslash.
  if (!location_.empty() && location_.back() == '\\') location_.pop_back();
  close(0);
}

void LocateVolumeDialog::close(int result) {
  KillTimer(dialog_, kClosingTimer);
  skin_.destroy();
  EndDialog(dialog_, result);
}

INT_PTR LocateVolumeDialog::onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      initialise(dialog);
      return TRUE;
    case WM_TIMER:
      if (wParam == kClosingTimer && closing_ && closing_()) close(-1);
      return TRUE;
    case WM_COMMAND:
      if (wParam == IDOK) confirm();
      if (wParam == IDCANCEL) close(-1);
      if (wParam == IDC_LOCATE_BROWSE) {
        PickedFolder picked = browseForFolder(dialog);
        if (picked.item) SetDlgItemTextA(dialog, IDC_LOCATE_LOCATION, picked.path.c_str());
      }
      return TRUE;
    case WM_DESTROY:
      dialog_ = nullptr;
      return TRUE;
    default:
      return FALSE;
  }
}

std::function<std::optional<std::string>(const SourceRef&, const std::string&)> locateVolumeQuestion(
    LocateVolumeDialog& dialog, HINSTANCE instance, HWND owner, std::function<bool()> closing) {
  return [&dialog, instance, owner, closing](const SourceRef& source,
                                             const std::string& base) -> std::optional<std::string> {
    if (!dialog.run(instance, owner, source.name, base, closing)) return std::nullopt;
    return dialog.location();
  };
}

}  // namespace tuho
