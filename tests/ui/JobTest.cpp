// Worker jobs seen from the UI: the progress dialog comes up, shows the
// worker's notices and closes at the end of the job, also when a menu or
// another modal loop runs on the UI thread meanwhile.
#include "LiveBlocks.h"
#include "ModalScript.h"
#include "UiFixture.h"

#include <commctrl.h>

#include <atomic>
#include <thread>
#include "catalogue/win32/ThreadMessages.h"
#include "ui/UiIds.h"

namespace tuho::test {
namespace {

class JobTest : public UiTest {
 protected:
  void SetUp() override { startWorker(); }
  bool waitForJobEnd() { return pumpUntil([&] { return !window->jobRunning(); }); }
  int listImage(int row) {
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageA(control(IDC_LIST), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
  }
};

TEST_F(JobTest, AScanShowsItsCountAndClosesItsDialog) {
  SourceRef* source = addSourceWithSongs("Folder", MediaType::kLocalFolder, 12);
  ASSERT_TRUE(window->startJob(kJobScanSource, IdList(), source));
  EXPECT_TRUE(window->jobRunning());
  EXPECT_TRUE(window->strip().suspended());
  ASSERT_TRUE(waitForJobEnd());
  EXPECT_EQ(window->progress().countText(), "Found: 12");
  EXPECT_EQ(catalogue->listTracks(TrackFilter()).size(), 12u);
  EXPECT_FALSE(window->strip().suspended());
  EXPECT_TRUE(window->strip().isEnabled(BTN_MEDIA_STORE));
}

// Refuses every dialog this thread creates while it lives.
struct NoDialogs {
  HHOOK hook = SetWindowsHookExA(WH_CBT, &refuse, nullptr, GetCurrentThreadId());
  ~NoDialogs() { UnhookWindowsHookEx(hook); }
  static LRESULT CALLBACK refuse(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
      const char* name = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszClass;
      if (IS_INTRESOURCE(name) && LOWORD(reinterpret_cast<ULONG_PTR>(name)) == 0x8002) return 1;  // "#32770"
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
};

// Also when the job's dialog cannot be made: the job runs to its end
// unseen, and no second job joins it meanwhile.
TEST_F(JobTest, NoSecondJobStartsWhileOneRuns) {
  SourceRef* source = addSourceWithSongs("Folder", MediaType::kLocalFolder, 40);
  ASSERT_TRUE(window->startJob(kJobScanSource, IdList(), source));
  EXPECT_FALSE(window->startJob(kJobRescanSource, IdList(), source));
  ASSERT_TRUE(waitForJobEnd());
  EXPECT_EQ(catalogue->listTracks(TrackFilter()).size(), 40u);
  {
    NoDialogs refused;
    ASSERT_TRUE(window->startJob(kJobRescanSource, IdList(), source));
    EXPECT_FALSE(window->progress().isOpen());
    EXPECT_TRUE(window->jobRunning());
    EXPECT_FALSE(window->startJob(kJobRescanSource, IdList(), source));
    ASSERT_TRUE(waitForJobEnd());
  }
  EXPECT_EQ(catalogue->listTracks(TrackFilter()).size(), 40u);
  ASSERT_TRUE(window->startJob(kJobRescanSource, IdList(), source));
  EXPECT_TRUE(window->progress().isOpen());
  ASSERT_TRUE(waitForJobEnd());
}

// The worker's end-of-job notice must reach the UI while a popup menu's
// modal loop runs: the script closes the menu once the job is over, or after
// a long wait if the notice was lost.
TEST_F(JobTest, AMenuOpenDuringAJobDoesNotLoseTheJobsEnd) {
  SourceRef* source = addSourceWithSongs("Folder", MediaType::kLocalFolder, 150);
  ASSERT_TRUE(window->startJob(kJobScanSource, IdList(), source));
  DWORD started = GetTickCount();
  ModalScript watch({[&] {
                      if (window->jobRunning() && GetTickCount() - started < 30000) return false;
                      EndMenu();
                      return true;
                    }},
                    window->window());
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 1, "Item");
  SetForegroundWindow(window->window());
  TrackPopupMenu(menu, 0, 100, 100, 0, window->window(), nullptr);
  DestroyMenu(menu);
  EXPECT_FALSE(window->jobRunning());
  EXPECT_EQ(window->progress().countText(), "Found: 150");
}

TEST_F(JobTest, MakingDiscTracksReadyMarksTheirRows) {
  SourceRef* disc = addSourceWithSongs("Disc", MediaType::kWriteOnce, 3);
  catalogue->scanSource(*disc, false, JobEvents());
  waitForFirstNode();
  ASSERT_TRUE(window->strip().isEnabled(BTN_READY_ALL));
  EXPECT_FALSE(window->strip().isEnabled(BTN_PLAY_ALL));  // disc tracks play only from copies
  SendMessageA(window->window(), MMSG_SKIN_CLICK, BTN_READY_ALL, 0);
  ASSERT_TRUE(window->jobRunning());
  ASSERT_TRUE(waitForJobEnd());
  pumpFor(50);  // the result notice follows the end of the job
  EXPECT_EQ(window->progress().countText(), "Copied: 2");
  for (int row = 0; row < 3; ++row) EXPECT_EQ(listImage(row), window->list().images().ready);
  EXPECT_TRUE(window->strip().isEnabled(BTN_PLAY_ALL));
  for (const TrackItem& item : catalogue->listTracks(TrackFilter())) EXPECT_EQ(item.ready, 1);
}

TEST_F(JobTest, DeletingTheCopiesUnmarksTheRows) {
  SourceRef* disc = addSourceWithSongs("Disc", MediaType::kWriteOnce, 2);
  catalogue->scanSource(*disc, false, JobEvents());
  IdList all;
  for (const TrackItem& item : catalogue->listTracks(TrackFilter())) all.append(item.id);
  catalogue->copyReadyJob(all, JobEvents());
  waitForFirstNode();
  SendMessageA(window->window(), WM_COMMAND, CMD_UNREADY_ALL, 0);
  ASSERT_TRUE(waitForJobEnd());
  pumpFor(50);
  EXPECT_EQ(window->progress().countText(), "Deleted: 1");
  for (int row = 0; row < 2; ++row) EXPECT_EQ(listImage(row), window->list().images().disc);
}

TEST_F(JobTest, ClosingDuringAScanEndsTheWorkerAndLeavesAWholeCatalogue) {
  SourceRef* source = addSourceWithSongs("Folder", MediaType::kLocalFolder, 400);
  ASSERT_TRUE(window->startJob(kJobScanSource, IdList(), source));
  pumpUntil([&] { return !window->progress().countText().empty(); });
  ASSERT_TRUE(worker.stop(20000));
  // How far the scan got depends on timing; whatever it stored is whole.
  size_t stored = catalogue->listTracks(TrackFilter()).size();
  EXPECT_GE(stored, 1u);
  EXPECT_LE(stored, 400u);
  catalogue->close();
  // Reopened, the catalogue holds every track stored before the stop.
  SourceList reloaded;
  reloaded.load(dataDir.path());
  Catalogue again(reloaded, dataDir.path());
  again.open();
  EXPECT_EQ(again.listTracks(TrackFilter()).size(), stored);
  EXPECT_EQ(alerts.count(), 0u);
  again.close();
  catalogue->open();
}

// A job held inside the catalogue (here: another thread holds the store
// through a walk) keeps the worker from stopping within the wait. Shutdown
// must then leave the store open to the worker, not close it under it.
TEST_F(JobTest, ShutdownLeavesTheStoreOpenUnderAWorkerThatDoesNotStop) {
  SourceRef* source = addSourceWithSongs("Folder", MediaType::kLocalFolder, 3);
  catalogue->scanSource(*source, false, JobEvents());
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE holding = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    catalogue->forEachTrack(TrackFilter(), [&](const TrackItem&) {
      SetEvent(holding);
      WaitForSingleObject(release, 30000);
      return false;
    });
  });
  ASSERT_EQ(WaitForSingleObject(holding, 5000), WAIT_OBJECT_0);
  ASSERT_TRUE(window->startJob(kJobRescanSource, IdList(), source));
  pumpFor(300);  // the progress dialog is up and the worker waits for the store
  DWORD started = GetTickCount();
  EXPECT_FALSE(worker.stopAndClose(*catalogue, 200));
  EXPECT_LT(GetTickCount() - started, 5000u);  // closing did not wait for the store
  SetEvent(release);
  holder.join();
  // The worker gets the store, stops and ends; the store it used is still
  // open and holds every track.
  ASSERT_TRUE(worker.stop(20000));
  EXPECT_EQ(catalogue->listTracks(TrackFilter()).size(), 3u);
  EXPECT_TRUE(worker.stopAndClose(*catalogue, 1000));
  catalogue->open();
  CloseHandle(release);
  CloseHandle(holding);
}

TEST_F(JobTest, ProgressTextsAfterTheDialogClosedAreFreedQuietly) {
  SourceRef* source = addSourceWithSongs("Folder", MediaType::kLocalFolder, 3);
  ASSERT_TRUE(window->startJob(kJobScanSource, IdList(), source));
  ASSERT_TRUE(waitForJobEnd());
  pumpFor(50);
  const std::string lastShown = window->progress().fileText();
  ASSERT_FALSE(lastShown.empty());
  // A text the worker sent just before the end arrives after the dialog
  // closed: the main window frees it and shows it nowhere.
  const long blocksBefore = liveBlocks();
  PostMessageA(window->window(), TMSG_PROGRESS_TEXT, 0, reinterpret_cast<LPARAM>(new std::string("late.mp3")));
  pumpFor(20);
  EXPECT_EQ(liveBlocks(), blocksBefore);
  EXPECT_FALSE(window->jobRunning());
  EXPECT_EQ(window->progress().fileText(), lastShown);
  EXPECT_EQ(alerts.count(), 0u);
}

// Windows refuses posts to a thread whose queue holds 10,000 posted
// messages (Wine has no such cap): the worker posts through this stand-in,
// which counts what waits in the UI thread's queue, fillers and notices
// alike, and refuses while it is full.
struct CappedQueue {
  static constexpr int kCap = 10000;
  static UINT filler;
  static std::atomic<int> waiting, progressWaiting, mostProgressWaiting, refused;
  static WNDPROC original;
  static int refusalsWanted;
  static BOOL post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (waiting.load() >= kCap) {
      ++refused;
      return FALSE;
    }
    ++waiting;
    if (message == TMSG_PROGRESS_COUNT) {
      const int now = ++progressWaiting;
      for (int most = mostProgressWaiting.load();
           now > most && !mostProgressWaiting.compare_exchange_weak(most, now);) {
      }
    }
    return PostMessageA(window, message, wParam, lParam);
  }
  // The main window reading its queue.
  static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool notice = message == TMSG_PROGRESS_COUNT || message == TMSG_JOB_DONE || message == TMSG_COPY_READY_DONE ||
                        message == TMSG_DELETE_READY_DONE || message == TMSG_REMOVE_SOURCE_DONE ||
                        message == TMSG_RESCAN_SOURCE_DONE;
    if (notice || message == filler) --waiting;
    if (message == TMSG_PROGRESS_COUNT) --progressWaiting;
    if (message != filler) return CallWindowProcA(original, window, message, wParam, lParam);
    // Other posts keep the queue full until the worker was refused a while.
    if (refused.load() < refusalsWanted) {
      ++waiting;
      PostMessageA(window, filler, 0, 0);
    }
    return 0;
  }
  static void fill(HWND window, int refusals) {
    refusalsWanted = refusals;
    while (waiting.load() < kCap) {
      ++waiting;
      PostMessageA(window, filler, 0, 0);
    }
  }
};
UINT CappedQueue::filler = RegisterWindowMessageA("TuhoQueueFiller");
std::atomic<int> CappedQueue::waiting{0}, CappedQueue::progressWaiting{0}, CappedQueue::mostProgressWaiting{0},
    CappedQueue::refused{0};
WNDPROC CappedQueue::original = nullptr;
int CappedQueue::refusalsWanted = 0;

// With the window's queue full when the job starts, every notice the
// worker could post is refused until the window has read its way down:
// the progress notices never pile up, the last count still shows, and the
// end of the job and its result arrive.
TEST_F(JobTest, AFullQueueHoldsAtMostOneProgressNoticeAndLosesNoEnd) {
  worker.setNoticePoster(&CappedQueue::post);
  CappedQueue::original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window->window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CappedQueue::proc)));
  SourceRef* folder = addSourceWithSongs("Folder", MediaType::kLocalFolder, 300);
  CappedQueue::fill(window->window(), 100);
  ASSERT_TRUE(window->startJob(kJobScanSource, IdList(), folder));
  ASSERT_TRUE(waitForJobEnd());
  EXPECT_EQ(window->progress().countText(), "Found: 300");
  EXPECT_GT(CappedQueue::refused.load(), 0);
  EXPECT_EQ(catalogue->listTracks(TrackFilter()).size(), 300u);

  // A copy job's result notice comes after its end: the rows it made ready
  // are marked, so it arrived too.
  SourceRef* disc = addSourceWithSongs("Disc", MediaType::kWriteOnce, 3);
  catalogue->scanSource(*disc, false, JobEvents());
  waitForFirstNode();
  pumpFor(100);  // the rebuilt tree's first node fills the list
  ASSERT_EQ(window->list().rowCount(), 303);
  const int refusedBefore = CappedQueue::refused.load();
  CappedQueue::fill(window->window(), refusedBefore + 100);
  SendMessageA(window->window(), MMSG_SKIN_CLICK, BTN_READY_ALL, 0);
  ASSERT_TRUE(window->jobRunning());
  ASSERT_TRUE(waitForJobEnd());
  ASSERT_TRUE(pumpUntil([&] { return CappedQueue::waiting.load() == 0; }));
  EXPECT_GT(CappedQueue::refused.load(), refusedBefore);
  int readyRows = 0;
  const int readyImage = window->list().images().ready;
  for (int row = 0; row < window->list().rowCount(); ++row) readyRows += listImage(row) == readyImage;
  int readyTracks = 0;
  for (const TrackItem& item : catalogue->listTracks(TrackFilter())) readyTracks += item.ready == 1;
  EXPECT_GT(readyTracks, 0);
  EXPECT_EQ(readyRows, readyTracks);
  EXPECT_LE(CappedQueue::mostProgressWaiting.load(), 1);
  SetWindowLongPtrA(window->window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CappedQueue::original));
}

}  // namespace
}  // namespace tuho::test
