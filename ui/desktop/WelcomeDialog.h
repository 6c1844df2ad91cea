// Welcome: offered at start-up while the catalogue has no media source;
// "Yes Please" opens the help page.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/kit/DialogSkin.h"
#include "ui/kit/ScopedGdi.h"

namespace tuho {

extern const char kWelcomeText[];

class WelcomeDialog {
 public:
  // Modal over the parent; true for "Yes Please" (after openHelp), false for "No Thanks".
  bool run(HINSTANCE instance, HWND parent, std::function<void()> openHelp);
  INT_PTR onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  std::function<void()> openHelp_;
  ScopedBitmap upper_;
  ScopedBitmap lower_;
  DialogSkin skin_;
};

}  // namespace tuho
