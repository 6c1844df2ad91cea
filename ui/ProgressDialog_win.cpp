#include "ui/ProgressDialog.h"

#include <memory>

#include "catalogue/win32/ThreadMessages.h"
#include "resources/resource.h"
#include "ui/UiIds.h"
#include "ui/kit/WindowAttach.h"

namespace tuho {
namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 180;
// Room for a Cancel button under the "Completed" box.
constexpr int kCancellableHeight = 213;

}  // namespace

bool ProgressDialog::open(HINSTANCE instance, HWND parent, HBITMAP upper, HBITMAP lower, const std::string& label,
                          bool cancellable) {
  if (window_) return false;  // one at a time
  upper_ = upper;
  lower_ = lower;
  label_ = label;
  cancellable_ = cancellable;
  countText_.clear();
  fileText_.clear();
  HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_PROGRESS), parent, &dialogProcOf<ProgressDialog>,
                                   reinterpret_cast<LPARAM>(this));
  if (!dialog) return false;
  ShowWindow(dialog, SW_SHOW);
  return true;
}

void ProgressDialog::armForJob() {
  cancelRequested = false;
  ready = 1;
}

void ProgressDialog::initialise(HWND dialog) {
  window_ = dialog;
  if (onOpen) onOpen();
  skin_.apply(dialog, kWidth, cancellable_ ? kCancellableHeight : kHeight, upper_, lower_);
  skin_.add("BUTTON", "Filename", BS_GROUPBOX, 8, 70, 284, 54, -1);
  skin_.add("STATIC", "", SS_LEFT, 20, 87, 260, 35, IDC_PROGRESS_FILE);
  skin_.add("BUTTON", "Completed", BS_GROUPBOX, 8, 130, 284, 40, -1);
  skin_.add("STATIC", "", SS_LEFT, 20, 147, 260, 20, IDC_PROGRESS_COUNT);
  if (cancellable_) skin_.add("BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 217, 178, 75, 25, IDCANCEL);
}

// The job ends at its next file and says what it kept; the dialog closes
// with the job, as always.
void ProgressDialog::cancel() {
  if (!cancellable_ || cancelRequested) return;
  cancelRequested = true;
  EnableWindow(GetDlgItem(window_, IDCANCEL), FALSE);
}

void ProgressDialog::showFile(std::string* text) {
  std::unique_ptr<std::string> owned(text);  // freed here, whatever happens
  if (!owned) return;
  fileText_ = *owned;
  SetDlgItemTextA(window_, IDC_PROGRESS_FILE, owned->c_str());
}

void ProgressDialog::showLabel() {
  countText_ = label_;
  SetDlgItemTextA(window_, IDC_PROGRESS_COUNT, countText_.c_str());
}

void ProgressDialog::showCount(int count) {
  countText_ = label_ + " " + std::to_string(count);
  SetDlgItemTextA(window_, IDC_PROGRESS_COUNT, countText_.c_str());
}

INT_PTR ProgressDialog::onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      initialise(dialog);
      return TRUE;
    case TMSG_PROGRESS_TEXT:
      showFile(reinterpret_cast<std::string*>(lParam));
      return TRUE;
    case PMSG_SET_COUNT:
      showCount(static_cast<int>(lParam));
      return TRUE;
    case TMSG_JOB_DONE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_COMMAND:
      if (wParam == IDCANCEL) cancel();
      return TRUE;
    case WM_CLOSE:
      return TRUE;  // only the end of the job closes it
    case WM_DESTROY:
      skin_.destroy();
      window_ = nullptr;
      if (onClose) onClose();
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace tuho
