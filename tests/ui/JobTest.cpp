// Worker jobs seen from the UI: the progress dialog comes up, shows the
// worker's notices and closes at the end of the job, also when a menu or
// another modal loop runs on the UI thread meanwhile.
#include "LiveBlocks.h"
#include "ModalScript.h"
#include "UiFixture.h"

#include <commctrl.h>

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
  SourceRef* source = addSourceWithSongs("Folder", MEDIA_LOCAL_FOLDER, 12);
  ASSERT_TRUE(window->startJob(kJobScanSource, IdList(), source));
  EXPECT_TRUE(window->jobRunning());
  EXPECT_TRUE(window->strip().suspended());
  ASSERT_TRUE(waitForJobEnd());
  EXPECT_EQ(window->progress().countText(), "Found: 12");
  EXPECT_EQ(catalogue->listTracks(TrackFilter()).size(), 12u);
  EXPECT_FALSE(window->strip().suspended());
  EXPECT_TRUE(window->strip().isEnabled(BTN_MEDIA_STORE));
}

TEST_F(JobTest, NoSecondJobStartsWhileOneRuns) {
  SourceRef* source = addSourceWithSongs("Folder", MEDIA_LOCAL_FOLDER, 40);
  ASSERT_TRUE(window->startJob(kJobScanSource, IdList(), source));
  EXPECT_FALSE(window->startJob(kJobRescanSource, IdList(), source));
  ASSERT_TRUE(waitForJobEnd());
  EXPECT_EQ(catalogue->listTracks(TrackFilter()).size(), 40u);
}

// The worker's end-of-job notice must reach the UI while a popup menu's
// modal loop runs: the script closes the menu once the job is over, or after
// a long wait if the notice was lost.
TEST_F(JobTest, AMenuOpenDuringAJobDoesNotLoseTheJobsEnd) {
  SourceRef* source = addSourceWithSongs("Folder", MEDIA_LOCAL_FOLDER, 150);
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
  SourceRef* disc = addSourceWithSongs("Disc", MEDIA_WRITE_ONCE, 3);
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
  SourceRef* disc = addSourceWithSongs("Disc", MEDIA_WRITE_ONCE, 2);
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
  SourceRef* source = addSourceWithSongs("Folder", MEDIA_LOCAL_FOLDER, 400);
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
  SourceRef* source = addSourceWithSongs("Folder", MEDIA_LOCAL_FOLDER, 3);
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
  SourceRef* source = addSourceWithSongs("Folder", MEDIA_LOCAL_FOLDER, 3);
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

}  // namespace
}  // namespace tuho::test
