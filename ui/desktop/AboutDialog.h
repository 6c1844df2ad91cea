// About: the program's picture with its file version in the corner.
#pragma once

#include <windows.h>

#include <string>

#include "ui/kit/ScopedGdi.h"

namespace tuho {

constexpr int IDC_ABOUT_VERSION = 2120;

// "Version: a.b.c.d" from the file's version resource, or "Version: " with
// no numbers when the file has no readable one.
std::string versionText(const std::string& path);

class AboutDialog {
 public:
  // Modal over the parent; true for OK, false for Cancel or the close box.
  bool run(HINSTANCE instance, HWND parent);
  INT_PTR onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void initialise(HWND dialog);

  ScopedFont font_;
  ScopedBrush background_;  // made once, handed out on every repaint of the version
};

}  // namespace tuho
