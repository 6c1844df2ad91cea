// The main window: the skinned strip of command buttons along the top, a
// black frame around the browsing area, the grouping combo box and group
// tree on the left and the track list on the right. It dispatches every
// user command and starts the worker's long jobs with their progress dialog.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>

#include "catalogue/Catalogue.h"
#include "ui/DesktopSide.h"
#include "ui/ProgressDialog.h"
#include "ui/ScopedWin.h"
#include "ui/SkinStrip.h"
#include "ui/browse/GroupTree.h"
#include "ui/browse/TrackList.h"
#include "ui/dialogs/LocateVolumeDialog.h"
#include "ui/dialogs/MediaStoreDialog.h"

namespace tuho {

// The long jobs the worker runs for the UI.
enum JobKind { kJobCopyReady, kJobDeleteReady, kJobScanSource, kJobRescanSource, kJobRemoveSource };

class MainWindow {
 public:
  MainWindow();
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Registers the class, creates and lays out every control, shows the
  // window. False when the window cannot be created.
  // The Media Store manages `sources`, the list the catalogue was made with.
  bool create(HINSTANCE instance, int showCommand, Catalogue* catalogue, SourceList* sources = nullptr);
  HWND window() const { return window_; }
  void setWorkerThread(DWORD threadId) { workerThreadId_ = threadId; }

  // Starts a worker job with its progress dialog: the dialog first, then the
  // request. Returns false (and starts nothing) while another job runs, or
  // when the dialog cannot be made or the worker cannot be reached.
  bool startJob(JobKind kind, IdList ids = IdList(), SourceRef* source = nullptr, int sourceId = 0);
  bool jobRunning() const { return progress_.isOpen(); }

  // The UI side of the worker's notices; returns true when it was one.
  bool handleWorkerNotice(UINT message, WPARAM wParam, LPARAM lParam);

  void layout();
  void onCommand(int id, int code);
  void onSkinClick(int buttonId);

  ProgressDialog& progress() { return progress_; }
  SkinStrip& strip() { return strip_; }
  GroupTree& tree() { return tree_; }
  TrackList& list() { return list_; }
  DesktopSide& desktop() { return desktop_; }
  MediaStoreDialog& mediaStore() { return mediaStore_; }
  SourceList* sourceList() const { return sources_; }
  // The copy job's Locate Volume dialog (used on the worker thread).
  LocateVolumeDialog& locateVolume() { return locate_; }
  // Rebuilds the tree at the grouping the combo box shows.
  void rebuildTreeFromCombo();
  Catalogue* catalogue() const { return catalogue_; }
  int listFlag() const { return listFlag_; }

  // Every message of the window (see ui/WindowAttach.h).
  LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  bool registerClass();
  void loadBitmaps();
  void createBrowsingControls();
  void createFrame();
  void showConfigMenu();
  void readyUpdate(const IdList& result);
  void unreadyUpdate(const IdList& result);
  void jobEnded();
  void showLatestProgress();

  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  Catalogue* catalogue_ = nullptr;
  SourceList* sources_ = nullptr;
  DWORD workerThreadId_ = 0;
  ScopedBrush black_;
  ScopedFont viewFont_;
  HIMAGELIST treeImages_ = nullptr;
  HIMAGELIST listImages_ = nullptr;
  HBITMAP progressLower_ = nullptr;
  std::array<HBITMAP, 5> jobBanners_{};  // by JobKind
  ProgressDialog progress_;
  SkinStrip strip_;
  GroupTree tree_;
  TrackList list_;
  DesktopSide desktop_;
  MediaStoreDialog mediaStore_;
  LocateVolumeDialog locate_;
  JobKind runningJob_ = kJobCopyReady;
  int listFlag_ = 0;
  NodeRef jobNode_;  // the tree node a ready or delete-copies job was started for
};

}  // namespace tuho
