// The Media Store, its Add Media wizard and the copy job's Locate Volume
// dialog, driven as a user would: clicks and typed text, with the wizard's
// and the folder browser's modal loops running for real.
#include <algorithm>
#include <filesystem>

#include "ModalScript.h"
#include "UiFixture.h"
#include "catalogue/win32/ThreadMessages.h"
#include "resources/resource.h"
#include "ui/kit/Gdi.h"
#include "ui/UiIds.h"

namespace tuho::test {
namespace {

using Step = ModalScript::Step;

class MediaStoreTest : public UiTest {
 protected:
  void SetUp() override { startWorker(); }

  HWND store() { return window->mediaStore().dialog(); }
  HWND wizard() { return window->mediaStore().wizard().dialog(); }
  AddMediaWizard::Page page() { return window->mediaStore().wizard().page(); }
  void openStore() {
    SendMessageA(window->window(), MMSG_SKIN_CLICK, BTN_MEDIA_STORE, 0);
    ASSERT_TRUE(store());
  }
  void click(int id) { SendMessageA(store(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
  // Selects as a click does: the list tells the dialog its selection changed.
  void select(const std::string& name) {
    SendDlgItemMessageA(store(), IDC_STORE_LIST, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageA(store(), WM_COMMAND, MAKEWPARAM(IDC_STORE_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(store(), IDC_STORE_LIST)));
  }
  std::string details() { return textOf(GetDlgItem(store(), IDC_STORE_DETAILS)); }
  std::vector<std::string> listed() {
    std::vector<std::string> names;
    int count = static_cast<int>(SendDlgItemMessageA(store(), IDC_STORE_LIST, LB_GETCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
      char text[600] = {};
      SendDlgItemMessageA(store(), IDC_STORE_LIST, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
      names.push_back(text);
    }
    return names;
  }
  bool enabled(int id) { return IsWindowEnabled(GetDlgItem(store(), id)) != FALSE; }
  bool waitForJobEnd() { return pumpUntil([&] { return !window->jobRunning(); }); }
  std::vector<std::string> savedNames() {
    SourceList saved;
    saved.load(dataDir.path());
    std::vector<std::string> names;
    for (int i = 0; i < saved.count(); ++i) names.push_back(saved.at(i).name);
    return names;
  }
  std::string songFolder(const std::string& name, int count) {
    std::string folder = musicDir.file(name);
    std::filesystem::create_directories(folder);
    for (int i = 0; i < count; ++i) {
      writeBytes(folder + "\\" + std::to_string(i) + ".mp3", songWithId3v1(SongTag{"T", "A", "", 17, i + 1}));
    }
    return folder;
  }
  // Clicks "Add" and runs the script inside the wizard's modal loop.
  void addThroughWizard(std::vector<Step> steps) {
    ModalScript script(std::move(steps));
    PostMessageA(store(), WM_COMMAND, IDC_STORE_ADD, 0);
    EXPECT_TRUE(pumpUntil([&] { return script.finished() && !wizard(); }));
  }

  // Script verbs.
  Step whenWizardOn(AddMediaWizard::Page expected, std::function<void(HWND)> act) {
    return [this, expected, act] {
      HWND dialog = wizard();
      if (!dialog || page() != expected || !IsWindowEnabled(dialog)) return false;
      act(dialog);
      return true;
    };
  }
  Step alertsReach(size_t count) {
    return [this, count] { return alerts.count() >= count; };
  }
  Step cancelFolderBrowser() {
    return [this] {
      HWND browser = ownedWindow(wizard());
      if (!browser) return false;
      postCommand(browser, IDCANCEL);
      return true;
    };
  }
};

void type(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

TEST_F(MediaStoreTest, TheStoreListsSourcesSortedInItsLayoutAndOnlyOneOpens) {
  addSourceWithSongs("Beta", MediaType::kLocalFolder, 1);
  addSourceWithSongs("Alpha", MediaType::kLocalFolder, 1);
  window->strip().enable(BTN_PLAY_ALL);
  openStore();
  EXPECT_EQ(textOf(store()), "Media Store");
  RECT client;
  GetClientRect(store(), &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 300);
  RECT add = childRect(GetDlgItem(store(), IDC_STORE_ADD));
  EXPECT_EQ(add.left, 305);
  EXPECT_EQ(add.top, 94);
  EXPECT_EQ(listed(), (std::vector<std::string>{"Alpha", "Beta"}));
  EXPECT_TRUE(window->strip().suspended());
  HWND first = store();
  SendMessageA(window->window(), WM_COMMAND, CMD_MEDIA_STORE, 0);
  EXPECT_EQ(store(), first);
  // "Remove" and "Rescan" with nothing selected do nothing.
  click(IDC_STORE_REMOVE);
  click(IDC_STORE_RESCAN);
  EXPECT_FALSE(window->jobRunning());
  EXPECT_EQ(alerts.count(), 0u);
  click(IDC_STORE_CLOSE);
  EXPECT_FALSE(store());
  EXPECT_FALSE(window->strip().suspended());
  EXPECT_TRUE(window->strip().isEnabled(BTN_MEDIA_STORE));
}

TEST_F(MediaStoreTest, AddingAFolderThroughTheWizardScansItAndSavesTheList) {
  addSourceWithSongs("Alpha", MediaType::kWriteOnce, 1);
  std::string rock = songFolder("Rock", 5);
  openStore();
  addThroughWizard({
      whenWizardOn(AddMediaWizard::kTypePage,
                   [](HWND dialog) {
                     EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_WIZARD_TYPE_FIRST), BST_CHECKED);
                     SendDlgItemMessageA(dialog, 2107, BM_CLICK, 0, 0);  // "Local Folder"
                     EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_WIZARD_TYPE_FIRST), BST_UNCHECKED);
                     postCommand(dialog, IDOK);
                   }),
      cancelFolderBrowser(),  // opens by itself on a first run
      whenWizardOn(AddMediaWizard::kLocationPage,
                   [](HWND dialog) {
                     EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_WIZARD_LOCATION)), "");
                     type(dialog, IDC_WIZARD_LOCATION, "C");
                     postCommand(dialog, IDOK);
                   }),
      alertsReach(1),
      whenWizardOn(AddMediaWizard::kLocationPage,
                   [](HWND dialog) {
                     type(dialog, IDC_WIZARD_LOCATION, "Music\\Rock");  // neither a drive nor a share
                     postCommand(dialog, IDOK);
                   }),
      alertsReach(2),
      whenWizardOn(AddMediaWizard::kLocationPage,
                   [rock](HWND dialog) {
                     type(dialog, IDC_WIZARD_LOCATION, rock);
                     postCommand(dialog, IDOK);
                   }),
      whenWizardOn(AddMediaWizard::kNamePage,
                   [](HWND dialog) {
                     EXPECT_EQ(textOf(GetDlgItem(dialog, IDOK)), "Finish");
                     EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_WIZARD_NAME)), "Rock");  // the typed folder's name
                     type(dialog, IDC_WIZARD_NAME, "Alpha");
                     postCommand(dialog, IDOK);
                   }),
      alertsReach(3),
      whenWizardOn(AddMediaWizard::kNamePage,
                   [](HWND dialog) {
                     type(dialog, IDC_WIZARD_NAME, "Al\tpha");
                     postCommand(dialog, IDOK);
                   }),
      alertsReach(4),
      whenWizardOn(AddMediaWizard::kNamePage,
                   [](HWND dialog) {
                     type(dialog, IDC_WIZARD_NAME, std::string(600, 'n').c_str());  // pasted past the box's limit
                     postCommand(dialog, IDOK);
                   }),
      alertsReach(5),
      whenWizardOn(AddMediaWizard::kNamePage,
                   [](HWND dialog) {
                     type(dialog, IDC_WIZARD_NAME, " Alpha ");  // outer spaces go: "Alpha" again
                     postCommand(dialog, IDOK);
                   }),
      alertsReach(6),
      whenWizardOn(AddMediaWizard::kNamePage,
                   [](HWND dialog) {
                     type(dialog, IDC_WIZARD_NAME, "alpha ");  // differs in case only: accepted
                     postCommand(dialog, IDOK);
                   }),
  });
  std::vector<AlertRecord> boxes = alerts.records();
  ASSERT_EQ(boxes.size(), 6u);
  EXPECT_EQ(boxes[0].text, "Please choose a folder");
  EXPECT_EQ(boxes[1].text, "Please choose a folder");
  EXPECT_EQ(boxes[2].text, "A Media Source already exists with this name");
  EXPECT_EQ(boxes[2].caption, "Whoops");
  EXPECT_EQ(boxes[3].text, "A Media Source name cannot hold tabs, line breaks or other control characters.");
  EXPECT_EQ(boxes[4].text, "A Media Source name can have at most 511 characters.");
  EXPECT_EQ(boxes[5].text, "A Media Source already exists with this name");
  ASSERT_TRUE(waitForJobEnd());
  EXPECT_EQ(window->progress().countText(), "Found: 5");
  std::vector<std::string> names = listed();
  std::sort(names.begin(), names.end());  // the list box sorts without regard to case
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "alpha"}));
  const SourceRef& added = sources.at(sources.indexOfName("alpha"));
  EXPECT_EQ(added.mediaType, MediaType::kLocalFolder);
  EXPECT_EQ(added.root + added.folder, rock);
  EXPECT_EQ(savedNames(), (std::vector<std::string>{"Alpha", "alpha"}));
  // The progress dialog has ended but the Media Store still holds the strip.
  EXPECT_TRUE(window->strip().suspended());
  EXPECT_TRUE(enabled(IDC_STORE_ADD));
  click(IDC_STORE_CLOSE);
  EXPECT_FALSE(window->strip().suspended());
  // Close rebuilt the tree; the first root's tracks follow once it has shown.
  EXPECT_TRUE(pumpUntil([&] { return window->list().rowCount() == 5; }, 5000));
}

TEST_F(MediaStoreTest, ARefusedScanAddsNothing) {
  std::string rock = songFolder("Rock", 1);
  openStore();
  window->setWorkerThread(0xFFFFFFF0);  // no such thread: the request cannot be posted
  addThroughWizard({
      whenWizardOn(AddMediaWizard::kTypePage, [](HWND dialog) { postCommand(dialog, IDOK); }),
      cancelFolderBrowser(),
      whenWizardOn(AddMediaWizard::kLocationPage,
                   [rock](HWND dialog) {
                     type(dialog, IDC_WIZARD_LOCATION, rock);
                     postCommand(dialog, IDOK);
                   }),
      whenWizardOn(AddMediaWizard::kNamePage, [](HWND dialog) { postCommand(dialog, IDOK); }),
  });
  EXPECT_EQ(window->mediaStore().wizard().kind(), MediaType::kWriteOnce);  // "Standard CD"
  EXPECT_FALSE(window->jobRunning());
  EXPECT_TRUE(listed().empty());
  EXPECT_EQ(sources.count(), 0);
  EXPECT_TRUE(savedNames().empty());
  ASSERT_EQ(alerts.count(), 1u) << "the answers are not dropped without a word";
  EXPECT_EQ(alerts.records()[0].text, "The Media Source \"Rock\" was not added: its scan could not be started.");
  EXPECT_TRUE(window->strip().suspended());  // by the store alone
  window->setWorkerThread(worker.threadId());

  // A folder that cannot be entered is refused before anything is kept or scanned.
  const std::string gone = musicDir.file("Gone");
  addThroughWizard({
      whenWizardOn(AddMediaWizard::kTypePage, [](HWND dialog) { postCommand(dialog, IDOK); }),
      cancelFolderBrowser(),
      whenWizardOn(AddMediaWizard::kLocationPage,
                   [gone](HWND dialog) {
                     type(dialog, IDC_WIZARD_LOCATION, gone);
                     postCommand(dialog, IDOK);
                   }),
      whenWizardOn(AddMediaWizard::kNamePage, [](HWND dialog) { postCommand(dialog, IDOK); }),
  });
  EXPECT_FALSE(window->jobRunning());
  EXPECT_TRUE(listed().empty());
  EXPECT_EQ(sources.count(), 0);
  EXPECT_TRUE(savedNames().empty());
  ASSERT_EQ(alerts.count(), 2u);
  EXPECT_EQ(alerts.records()[1].text,
            "The Media Source \"Gone\" was not added: its folder " + gone + " cannot be entered.");
}

// While the wizard is open the main window waits, and "Finish" holds its
// page while a job runs, so the answers are never dropped; a typed drive
// is named after its disc; the scan it starts can be cancelled.
TEST_F(MediaStoreTest, TheWizardKeepsItsAnswersUntilTheyCanBeScannedAndTheScanCanBeCancelled) {
  window->mediaStore().wizard().volumeLabelOf = [](const std::string& drive) {
    return drive == "C:" ? std::string("MY DISC") : std::string();
  };
  openStore();
  bool mainWindowWaited = false;
  addThroughWizard({
      whenWizardOn(AddMediaWizard::kTypePage,
                   [&](HWND dialog) {
                     mainWindowWaited = !IsWindowEnabled(window->window());
                     postCommand(dialog, IDOK);
                   }),
      cancelFolderBrowser(),
      whenWizardOn(AddMediaWizard::kLocationPage,
                   [](HWND dialog) {
                     type(dialog, IDC_WIZARD_LOCATION, "C:\\");
                     postCommand(dialog, IDOK);
                   }),
      whenWizardOn(AddMediaWizard::kNamePage,
                   [this](HWND dialog) {
                     EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_WIZARD_NAME)), "MY DISC");
                     // A job started meanwhile (as from a row menu) that this
                     // thread's queue holds until the test ends it.
                     window->setWorkerThread(GetCurrentThreadId());
                     EXPECT_TRUE(window->startJob(kJobCopyReady, IdList()));
                     postCommand(dialog, IDOK);
                   }),
      alertsReach(1),
      whenWizardOn(AddMediaWizard::kNamePage,
                   [this](HWND dialog) {
                     EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_WIZARD_NAME)), "MY DISC") << "the answers wait";
                     SendMessageA(window->window(), TMSG_JOB_DONE, 0, 0);
                     window->setWorkerThread(worker.threadId());
                     postCommand(dialog, IDOK);
                   }),
  });
  EXPECT_TRUE(mainWindowWaited);
  EXPECT_TRUE(IsWindowEnabled(window->window()));
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.records()[0].text,
            "The new Media Source cannot be scanned while another job runs.\nPress Finish again once it has ended.");
  ASSERT_TRUE(window->jobRunning()) << "the scan of the whole drive runs";
  HWND progress = window->progress().window();
  RECT client;
  GetClientRect(progress, &client);
  EXPECT_EQ(client.bottom, 213) << "room for Cancel under the count";
  EXPECT_EQ(textOf(GetDlgItem(progress, IDCANCEL)), "Cancel");
  SendMessageA(progress, WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(progress, IDCANCEL)));
  ASSERT_TRUE(waitForJobEnd());
  std::vector<AlertRecord> boxes = alerts.records();
  auto cancelled =
      std::find_if(boxes.begin(), boxes.end(), [](const AlertRecord& box) { return box.caption == "Scan Cancelled"; });
  ASSERT_NE(cancelled, boxes.end());
  EXPECT_EQ(cancelled->text.rfind("The scan of the media source \"MY DISC\" was cancelled: ", 0), 0u)
      << cancelled->text;
  ASSERT_EQ(sources.count(), 1);
  EXPECT_EQ(sources.at(0).root, "C:");
  EXPECT_EQ(sources.at(0).folder, "");
  EXPECT_EQ(listed(), std::vector<std::string>{"MY DISC"});
}

TEST_F(MediaStoreTest, ANetworkFolderIsRegisteredByItsSharePath) {
  openStore();
  addThroughWizard({
      whenWizardOn(AddMediaWizard::kTypePage,
                   [](HWND dialog) {
                     SendDlgItemMessageA(dialog, 2108, BM_CLICK, 0, 0);  // "Network Folder"
                     postCommand(dialog, IDOK);
                   }),
      cancelFolderBrowser(),
      whenWizardOn(AddMediaWizard::kLocationPage,
                   [](HWND dialog) {
                     type(dialog, IDC_WIZARD_LOCATION, "\\\\server\\share\\Music");
                     postCommand(dialog, IDOK);
                   }),
      whenWizardOn(AddMediaWizard::kNamePage,
                   [](HWND dialog) {
                     EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_WIZARD_NAME)), "Music");
                     postCommand(dialog, IDOK);
                   }),
  });
  // A share has no drive part: all of it is the folder, as tuhodb stores it.
  const AddMediaWizard& answers = window->mediaStore().wizard();
  EXPECT_EQ(answers.drive(), "");
  EXPECT_EQ(answers.folder(), "\\\\server\\share\\Music");
  EXPECT_EQ(answers.kind(), MediaType::kNetworkFolder);
  // There is no such share here, so no scan could start and nothing is kept.
  EXPECT_FALSE(window->jobRunning());
  EXPECT_EQ(sources.count(), 0);
  EXPECT_TRUE(savedNames().empty());
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.records()[0].text,
            "The Media Source \"Music\" was not added: its folder \\\\server\\share\\Music cannot be entered.");
}

TEST_F(MediaStoreTest, TheSelectedSourceShowsItsDetailsAndRemoveAsksFirstAndLastsAfterARestart) {
  SourceRef* disc = addSourceWithSongs("Disc", MediaType::kWriteOnce, 3);
  catalogue->scanSource(*disc, false, JobEvents());
  const std::string discFolder = musicDir.file("Disc");
  const std::string goneFolder = musicDir.file("Gone");  // never made: its volume does not answer
  registerFolder("Gone", MediaType::kLocalFolder, goneFolder);
  ASSERT_TRUE(sources.save());
  openStore();
  // The details sit under the list's group, left of "Close", and say
  // nothing until a source is selected.
  RECT shown = childRect(GetDlgItem(store(), IDC_STORE_DETAILS));
  EXPECT_GE(shown.top, 255);
  EXPECT_LE(shown.bottom, 300);
  EXPECT_LE(shown.right, 315);
  EXPECT_EQ(details(), "");
  select("Gone");
  EXPECT_EQ(details(), "Local Folder: " + goneFolder + "\r\n0 tracks, not reachable now");
  select("Disc");
  EXPECT_EQ(details(), "Write Once Disc: " + discFolder + "\r\n3 tracks, reachable now");
  EXPECT_EQ(listed(), (std::vector<std::string>{"Disc", "Gone"}));
  // A track deleted in the main window while the store is open leaves its count.
  window->list().fillList(TrackFilter());
  ListView_SetItemState(GetDlgItem(window->window(), IDC_LIST), 0, LVIS_SELECTED, LVIS_SELECTED);
  window->list().deleteSelected();
  EXPECT_EQ(details(), "Write Once Disc: " + discFolder + "\r\n2 tracks, reachable now");
  click(IDC_STORE_REMOVE);  // answered No
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.records()[0].text, "Remove the Media Source \"Disc\" and its 2 tracks from the catalogue?");
  EXPECT_EQ(alerts.records()[0].buttons, kAlertYesNo);
  EXPECT_FALSE(window->jobRunning());
  EXPECT_EQ(listed(), (std::vector<std::string>{"Disc", "Gone"}));
  alerts.answer = [](const AlertRecord&) { return kAnswerYes; };
  click(IDC_STORE_REMOVE);
  ASSERT_TRUE(window->jobRunning());
  EXPECT_EQ(window->progress().countText(), "Removed:");
  EXPECT_FALSE(enabled(IDC_STORE_ADD));
  ASSERT_TRUE(waitForJobEnd());
  EXPECT_EQ(listed(), std::vector<std::string>{"Gone"});
  EXPECT_EQ(savedNames(), std::vector<std::string>{"Gone"});
  EXPECT_EQ(details(), "");  // the removed source's row went with it
  EXPECT_TRUE(catalogue->listTracks(TrackFilter()).empty());
}

TEST_F(MediaStoreTest, WhileAJobRunsTheSourceButtonsWaitAndTheTreeFollowsTheJob) {
  SourceRef* big = addSourceWithSongs("Big", MediaType::kLocalFolder, 300);
  openStore();
  ASSERT_TRUE(window->startJob(kJobScanSource, IdList(), big));
  for (int id : {IDC_STORE_ADD, IDC_STORE_REMOVE, IDC_STORE_RESCAN}) EXPECT_FALSE(enabled(id));
  EXPECT_TRUE(enabled(IDC_STORE_CLOSE));
  select("Big");
  click(IDC_STORE_REMOVE);  // a posted click on a disabled button does nothing
  EXPECT_EQ(alerts.count(), 0u);
  // Closed during the scan: the tree is rebuilt when the scan ends.
  click(IDC_STORE_CLOSE);
  EXPECT_TRUE(window->strip().suspended());  // the progress dialog still holds it
  ASSERT_TRUE(waitForJobEnd());
  EXPECT_FALSE(window->strip().suspended());
  EXPECT_TRUE(pumpUntil([&] { return window->list().rowCount() == 300; }, 5000));
}

TEST_F(MediaStoreTest, AFullListRefusesAddBeforeTheWizard) {
  for (int i = 0; i < kMaxSources; ++i) {
    SourceRef source;
    source.name = "Source " + std::to_string(i);
    source.root = "C:";
    ASSERT_GE(sources.add(source), 0);
  }
  openStore();
  ModalScript safety({whenWizardOn(AddMediaWizard::kTypePage, [](HWND dialog) { postCommand(dialog, IDCANCEL); })});
  click(IDC_STORE_ADD);
  EXPECT_FALSE(safety.finished());  // no wizard opened
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.records()[0].caption, "Media Store");
  EXPECT_EQ(sources.count(), kMaxSources);
}

// The copy job asks on the worker thread; the test answers from the UI thread.
class LocateVolumeTest : public MediaStoreTest {
 protected:
  void SetUp() override {
    startWorker();
    disc = addSourceWithSongs("Music CD", MediaType::kWriteOnce, 2);
    expected = disc->root + disc->folder;
    catalogue->scanSource(*disc, false, JobEvents());
    moved = musicDir.file("moved");
    std::filesystem::rename(expected, moved);  // the disc is in another drive now
    waitForFirstNode();
  }
  HWND question() {
    HWND found = nullptr;
    pumpUntil([&] { return (found = FindWindowA("#32770", "Music CD")) != nullptr && IsWindowVisible(found); });
    return found;
  }
  void answer(HWND dialog, const std::string& location, int button) {
    SetDlgItemTextA(dialog, IDC_LOCATE_LOCATION, location.c_str());
    postCommand(dialog, button);
    pumpUntil([&] { return !IsWindow(dialog); });
  }
  std::vector<int> readyFlags() {
    std::vector<int> flags;
    for (const TrackItem& item : catalogue->listTracks(TrackFilter())) flags.push_back(item.ready);
    return flags;
  }
  SourceRef* disc = nullptr;
  std::string expected;
  std::string moved;
};

TEST_F(LocateVolumeTest, TheUserPointsTheJobAtTheDiscOrStopsIt) {
  SendMessageA(window->window(), MMSG_SKIN_CLICK, BTN_READY_ALL, 0);
  HWND dialog = question();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_LOCATE_PROMPT)), "Need Volume: Music CD");
  EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_LOCATE_LOCATION)), expected);
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 180);
  answer(dialog, "", IDOK);  // an empty answer finds nothing: asked again
  dialog = question();
  ASSERT_TRUE(dialog);
  answer(dialog, moved + "\\", IDOK);  // one trailing backslash is dropped
  dialog = question();                 // the next track asks again
  ASSERT_TRUE(dialog);
  EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_LOCATE_LOCATION)), expected);
  answer(dialog, moved, IDCANCEL);
  ASSERT_TRUE(waitForJobEnd());
  std::vector<int> flags = readyFlags();
  EXPECT_EQ(std::count(flags.begin(), flags.end(), 1), 1);
  EXPECT_EQ(window->progress().countText(), "Copied: 1");
}

TEST_F(LocateVolumeTest, ClosingTheProgramWhileItAsksStopsTheJobWithNothingHalfDone) {
  SendMessageA(window->window(), MMSG_SKIN_CLICK, BTN_READY_ALL, 0);
  HWND dialog = question();
  ASSERT_TRUE(dialog);
  DWORD started = GetTickCount();
  ASSERT_TRUE(worker.stop(20000));
  EXPECT_LT(GetTickCount() - started, 5000u);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(readyFlags(), (std::vector<int>{0, 0}));
  EXPECT_FALSE(std::filesystem::exists(dataDir.file("Album")));
}

}  // namespace
}  // namespace tuho::test
