// Drives a modal dialog from inside its own modal loop: a thread timer
// waits for a visible dialog with the caption, then hands it to `drive`
// once. The dialog is found whatever code opened it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace tuho::test {

class ModalDriver {
 public:
  ModalDriver(std::string caption, std::function<void(HWND)> drive);
  ~ModalDriver();
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;
  bool ran() const { return ran_; }

 private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
  std::string caption_;
  std::function<void(HWND)> drive_;
  UINT_PTR timer_ = 0;
  bool ran_ = false;
};

// Presses a dialog's button as a click would: WM_COMMAND with BN_CLICKED.
void press(HWND dialog, int id);

}  // namespace tuho::test
