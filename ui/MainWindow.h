// The main window: the skinned strip of command buttons along the top with
// the find box and the counts right of it, a black frame around the
// browsing area, the grouping combo box and group tree on the left and the
// track list on the right. It dispatches every
// user command, wires the views to one another with callbacks, shows what
// the list allows on the strip and in the menus, and starts the worker's
// long jobs with their progress dialog.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/PlayHandOff.h"
#include "ui/BusyProgress.h"
#include "ui/DesktopSide.h"
#include "ui/Jobs.h"
#include "ui/ProgressDialog.h"
#include "ui/SkinStrip.h"
#include "ui/browse/GroupTree.h"
#include "ui/browse/TrackList.h"
#include "ui/dialogs/LocateVolumeDialog.h"
#include "ui/dialogs/MediaStoreDialog.h"
#include "ui/kit/ScopedGdi.h"

namespace tuho {

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

  // Starts a worker job with its progress dialog: the request first, then
  // the dialog. Returns false (and starts nothing) while another job runs
  // or its dialog is still up, or when the worker cannot be reached. A job
  // whose dialog cannot be made runs to its end unseen, and still counts.
  bool startJob(JobKind kind, IdList ids = IdList(), SourceRef* source = nullptr, int sourceId = 0);
  bool jobRunning() const { return jobPosted_ || progress_.isOpen(); }

  ProgressDialog& progress() { return progress_; }
  // The progress of long work on the window's own thread.
  BusyProgress& busy() { return busy_; }
  SkinStrip& strip() { return strip_; }
  GroupTree& tree() { return tree_; }
  TrackList& list() { return list_; }
  DesktopSide& desktop() { return desktop_; }
  MediaStoreDialog& mediaStore() { return mediaStore_; }
  // The copy job's Locate Volume dialog (used on the worker thread).
  LocateVolumeDialog& locateVolume() { return locate_; }

  // Every message of the window (see ui/kit/WindowAttach.h).
  LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Called by the message loop before a message is translated: the Media
  // Store's and the progress dialog's own keys, moving the focus, the
  // strip's shortcuts and the views' keys. True when the message was used
  // and must not be dispatched.
  bool preTranslateMessage(MSG& message);
  // True while tracks are still being handed to the player.
  bool handingOff() const { return handOff_ && handOff_->busy(); }
  // Keys the window takes before the control with the focus: Ctrl+F goes
  // to the find box, Escape in it ends the find. True when taken.
  bool takeKey(const MSG& message);
  HWND findBox() const;
  // "N tracks, N listed, N selected", as the counts line shows it.
  std::string countsText() const;

 private:
  bool registerClass();
  void loadBitmaps();
  void createBrowsingControls();
  void attachViews(HWND tree, HWND list);
  MediaStoreHost mediaStoreHost();
  void createFrame();
  void layout();
  void onCommand(int id, int code);
  void onSkinClick(int buttonId);
  void showConfigMenu(POINT screen);
  // Play and enqueue go to the hand-off thread, in list order.
  void handOver(const IdList& ids, bool enqueueOnly);
  void stopHandOff();
  bool onKey(HWND target, UINT key, bool alt);
  bool onListKey(UINT key, bool control, bool shift);
  bool onTreeKey(UINT key, bool shift);
  void moveFocus(int step);
  void restoreFocus();
  void focusControl(HWND control);
  void showRowMenuAtFocus();
  void showTreeMenuAtSelection();
  // The strip and the menus follow what the list allows.
  void showListCommands();
  void bulkTreeChange(bool starting);
  ListCommands menuCommands() const;
  void rebuildTreeFromCombo();
  void createFindControls();
  // The list shows the find's tracks while the box holds words, otherwise
  // the tree's current node.
  void onFindChanged();
  void showNodeTracks(const TrackFilter& path);
  void showCounts(bool rowsChanged);
  void showSelectedCountSoon();
  bool handleWorkerNotice(UINT message, WPARAM wParam, LPARAM lParam);
  void jobResult(const IdList& result, bool madeReady);
  void jobEnded();
  void showLatestProgress();

  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  Catalogue* catalogue_ = nullptr;
  SourceList* sources_ = nullptr;
  DWORD workerThreadId_ = 0;
  ScopedBrush black_;
  ScopedFont viewFont_;
  ScopedImageList treeImages_;
  ScopedImageList listImages_;
  ScopedBitmap progressLower_;
  std::array<ScopedBitmap, kJobKindCount> jobBanners_;
  ScopedBitmap editBanner_;
  ScopedBitmap groupBanner_;
  ScopedBitmap listBanner_;
  std::vector<ScopedBitmap> frameBitmaps_;
  ProgressDialog progress_;
  BusyProgress busy_;
  SkinStrip strip_;
  GroupTree tree_;
  TrackList list_;
  DesktopSide desktop_;
  MediaStoreDialog mediaStore_;
  LocateVolumeDialog locate_;
  std::unique_ptr<PlayHandOff> handOff_;
  HWND lastFocus_ = nullptr;  // the control that had the focus when the window was left
  JobKind runningJob_ = kJobCopyReady;
  bool jobPosted_ = false;        // from the request until its end reaches the window
  int catalogueTracks_ = 0;       // as last counted, when the rows changed
  bool countsTimer_ = false;      // TIMER_SHOW_COUNTS is set
  bool settingFindText_ = false;  // the window itself is emptying the box
  NodeRef jobNode_;  // the tree node a ready or delete-copies job was started for
};

}  // namespace tuho
