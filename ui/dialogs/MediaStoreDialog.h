// The Media Store: the modeless dialog in which the user lists, adds,
// removes and rescans media sources. One at a time; while it is open the
// strip's buttons are suspended, and while a worker job runs its Add,
// Remove and Rescan buttons are disabled, so that nothing is half done.
#pragma once

#include <windows.h>

#include <string>

#include "ui/kit/DialogSkin.h"
#include "ui/dialogs/AddMediaWizard.h"

namespace tuho {

class MainWindow;

class MediaStoreDialog {
 public:
  void loadBitmaps(HINSTANCE instance);
  // Opens the dialog, or brings the open one to the front.
  bool open(HINSTANCE instance, MainWindow& main);
  bool isOpen() const { return dialog_ != nullptr; }
  HWND dialog() const { return dialog_; }
  AddMediaWizard& wizard() { return wizard_; }
  // A worker job started or ended: the source buttons follow.
  void jobStateChanged();

  INT_PTR onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void initialise(HWND dialog);
  void add();
  void remove();
  void rescan();
  void close();
  void refill();
  int selectedSource() const;
  bool confirmRemoval(int index) const;

  HINSTANCE instance_ = nullptr;
  MainWindow* main_ = nullptr;
  HWND dialog_ = nullptr;
  HBITMAP upper_ = nullptr;
  HBITMAP lower_ = nullptr;
  DialogSkin skin_;
  AddMediaWizard wizard_;
};

}  // namespace tuho
