// The Locate Volume dialog: asked by the ready-to-play copy job, on the
// worker thread, when a disc is not where the catalogue expects it. It names
// the missing source and lets the user type or browse to where it is now.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "store/SourceList.h"
#include "ui/kit/DialogSkin.h"
#include "ui/kit/ScopedGdi.h"

namespace tuho {

constexpr int IDC_LOCATE_PROMPT = 2120;
constexpr int IDC_LOCATE_LOCATION = 2112;
constexpr int IDC_LOCATE_BROWSE = 2113;

class LocateVolumeDialog {
 public:
  void loadBitmaps(HINSTANCE instance);
  // Runs the dialog modally on the calling thread. True after OK, with the
  // confirmed location in location(); false after Cancel, or when `closing`
  // turns true (the program ends) or the thread's queue is told to quit.
  bool run(HINSTANCE instance, HWND owner, const std::string& volumeName, const std::string& expectedLocation,
           const std::function<bool()>& closing = {});
  const std::string& location() const { return location_; }
  HWND dialog() const { return dialog_; }

  INT_PTR onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void initialise(HWND dialog);
  void confirm();
  void close(int result);

  HINSTANCE instance_ = nullptr;
  HWND dialog_ = nullptr;
  ScopedBitmap banner_;
  ScopedBitmap header_;
  ScopedFont editFont_;
  DialogSkin skin_;
  std::string volumeName_;
  std::string location_;
  std::function<bool()> closing_;
};

// The copy job's question, answered with the dialog on the calling (worker)
// thread, owned by the main window: the location to look at instead, or
// nothing when the user cancels or the program is closing.
std::function<std::optional<std::string>(const SourceRef&, const std::string&)> locateVolumeQuestion(
    LocateVolumeDialog& dialog, HINSTANCE instance, HWND owner, std::function<bool()> closing);

}  // namespace tuho
