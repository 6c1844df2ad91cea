// The Media Store: the modeless dialog in which the user lists, adds,
// removes and rescans media sources. One at a time; while it is open the
// strip's buttons are suspended, and while a worker job runs its Add,
// Remove and Rescan buttons are disabled, so that nothing is half done.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "catalogue/Catalogue.h"
#include "ui/dialogs/AddMediaWizard.h"
#include "ui/kit/DialogSkin.h"
#include "ui/kit/ScopedGdi.h"

namespace tuho {

// What the Media Store needs of the program: the window it belongs to, the
// source list and catalogue, and the source jobs. Each start returns false
// when the job could not be started (nothing was done then).
struct MediaStoreHost {
  HWND owner = nullptr;
  SourceList* sources = nullptr;
  Catalogue* catalogue = nullptr;
  std::function<bool()> jobRunning;
  std::function<bool(SourceRef*)> startScan;
  std::function<bool(SourceRef*)> startRescan;
  std::function<bool(int)> startRemoval;  // by source id
  std::function<void()> opened;           // the strip waits while the store is open
  std::function<void()> closed;
};

class MediaStoreDialog {
 public:
  void attach(MediaStoreHost host) { host_ = std::move(host); }
  void loadBitmaps(HINSTANCE instance);
  // Opens the dialog, or brings the open one to the front.
  bool open(HINSTANCE instance);
  bool isOpen() const { return dialog_ != nullptr; }
  HWND dialog() const { return dialog_; }
  AddMediaWizard& wizard() { return wizard_; }
  // A worker job started or ended: the source buttons follow.
  void jobStateChanged();
  // Tracks were edited or deleted in the main window: the details follow.
  void tracksChanged();

  INT_PTR onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void initialise(HWND dialog);
  void add();
  void remove();
  void rescan();
  void close();
  void refill();
  // The selected source's kind, location, track count and whether its
  // volume answers now, under the list; empty with nothing selected.
  void showDetails();
  int selectedSource() const;
  bool confirmRemoval(int index) const;

  HINSTANCE instance_ = nullptr;
  MediaStoreHost host_;
  HWND dialog_ = nullptr;
  ScopedBitmap upper_;
  ScopedBitmap lower_;
  DialogSkin skin_;
  AddMediaWizard wizard_;
};

}  // namespace tuho
