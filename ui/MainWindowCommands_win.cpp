// What the main window does with commands, strip clicks and the worker's
// notices.
#include <memory>
#include <string>
#include <vector>

#include "catalogue/win32/ThreadMessages.h"
#include "ui/ListMenus.h"
#include "ui/MainWindow.h"
#include "ui/UiIds.h"
#include "ui/kit/ContextMenu.h"

namespace tuho {
namespace {

// The menu the Configuration button opens.
const MenuEntries kConfigMenu = {{"About Tunehoard", CMD_ABOUT}, {"Help", CMD_HELP}, {"Preferences", CMD_PREFERENCES}};

bool anyMarked(const IdList& result) {
  for (const IdEntry& entry : result.entries) {
    if (entry.mark == 1) return true;
  }
  return false;
}

}  // namespace

void MainWindow::onCommand(int id, int code) {
  switch (id) {
    case CMD_MEDIA_STORE: mediaStore_.open(instance_); break;
    case CMD_READY_ALL: startJob(kJobCopyReady, list_.collectAllIds()); break;
    case CMD_READY_SELECTED: startJob(kJobCopyReady, list_.collectSelectedIds()); break;
    case CMD_UNREADY_ALL: startJob(kJobDeleteReady, list_.collectAllIds()); break;
    case CMD_UNREADY_SELECTED: startJob(kJobDeleteReady, list_.collectSelectedIds()); break;
    case CMD_PLAY_ALL: handOver(list_.collectAllIds(), false); break;
    case CMD_ENQUEUE_ALL: handOver(list_.collectAllIds(), true); break;
    case CMD_PLAY_SELECTED: handOver(list_.collectSelectedIds(), false); break;
    case CMD_ENQUEUE_SELECTED: handOver(list_.collectSelectedIds(), true); break;
    case CMD_EDIT_TAG: list_.editSelected(); break;
    case CMD_DELETE: list_.deleteSelected(); break;
    case IDC_GROUP_COMBO:
      if (code == CBN_SELCHANGE) rebuildTreeFromCombo();
      break;
    case IDC_FIND_BOX:
      if (code == EN_CHANGE) onFindChanged();
      break;
    default:
      desktop_.onCommand(id);
      break;
  }
}

void MainWindow::onSkinClick(int buttonId) {
  // A click can still be on its way when the strip was suspended.
  if (!strip_.isEnabled(buttonId)) return;
  switch (buttonId) {
    case BTN_MEDIA_STORE: onCommand(CMD_MEDIA_STORE, 0); break;
    case BTN_READY_ALL: onCommand(CMD_READY_ALL, 0); break;
    case BTN_READY_SELECTED: onCommand(CMD_READY_SELECTED, 0); break;
    case BTN_PLAY_ALL: onCommand(CMD_PLAY_ALL, 0); break;
    case BTN_PLAY_SELECTED: onCommand(CMD_PLAY_SELECTED, 0); break;
    case BTN_ENQUEUE_ALL: onCommand(CMD_ENQUEUE_ALL, 0); break;
    case BTN_ENQUEUE_SELECTED: onCommand(CMD_ENQUEUE_SELECTED, 0); break;
    case BTN_CONFIG: showConfigMenu(messagePoint()); break;
    default: break;
  }
}

void MainWindow::showConfigMenu(POINT screen) { showContextMenu(window_, screen, kConfigMenu); }

// The first track plays and the others are queued behind it, or all are
// queued; the window answers meanwhile.
void MainWindow::handOver(const IdList& ids, bool enqueueOnly) {
  if (!handOff_) return;
  std::vector<int> trackIds;
  for (const IdEntry& entry : ids.entries) trackIds.push_back(entry.id);
  handOff_->request(trackIds, enqueueOnly, reinterpret_cast<intptr_t>(window_));
}

// Nothing more goes to the player. The track being handed over may wait on
// the shell, which may send to this window (an error box it owns): those
// messages are answered while the thread ends.
void MainWindow::stopHandOff() {
  if (!handOff_) return;
  handOff_->requestStop();
  while (!handOff_->ended()) {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    Sleep(5);
  }
  handOff_->stop();
}

void MainWindow::showListCommands() { strip_.showCommands(list_.commands(), list_.rowsChosen()); }

// While a job runs no other can start: its menu entries wait for its end.
ListCommands MainWindow::menuCommands() const {
  ListCommands commands = list_.commands();
  if (jobRunning()) commands.canMakeReady = commands.hasReadyDiscTrack = false;
  return commands;
}

void MainWindow::rebuildTreeFromCombo() {
  int level = static_cast<int>(SendDlgItemMessageA(window_, IDC_GROUP_COMBO, CB_GETCURSEL, 0, 0));
  tree_.rebuildTree(isGroupLevel(level) ? groupLevelOf(level) : LEVEL_GENRE);
}

bool MainWindow::startJob(JobKind kind, IdList ids, SourceRef* source, int sourceId) {
  // One job at a time: the progress dialog, its ready flag and the result
  // block serve one job.
  if (jobRunning() || !workerThreadId_) return false;
  const JobText& request = jobText(kind);
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::unique_ptr<IdList> list;
  if (kind == kJobCopyReady || kind == kJobDeleteReady) {
    list = std::make_unique<IdList>(std::move(ids));
    lParam = reinterpret_cast<LPARAM>(list.get());
  } else if (kind == kJobRemoveSource) {
    wParam = static_cast<WPARAM>(sourceId);
  } else {
    lParam = reinterpret_cast<LPARAM>(source);
  }
  // The worker starts first and the dialog is made while it works: its
  // notices wait in this thread's queue until the dialog is up.
  progress_.armForJob();
  if (!PostThreadMessageA(workerThreadId_, request.request, wParam, lParam)) return false;
  if (list) jobNode_ = tree_.currentRef();
  list.release();  // the worker owns it now
  runningJob_ = kind;
  jobPosted_ = true;
  // Without its dialog the job still runs and ends; only its progress goes unseen.
  bool cancellable = kind == kJobScanSource || kind == kJobRescanSource;
  if (!progress_.open(instance_, window_, jobBanners_[kind], progressLower_, request.label, cancellable)) return true;
  // The removal reports no count: its label shows from the start.
  if (kind == kJobRemoveSource) progress_.showLabel();
  return true;
}

// The dialog shows the latest file and count the worker stored; the text
// it is sent becomes the dialog's to free.
void MainWindow::showLatestProgress() {
  std::string name;
  int count = 0;
  if (!progress_.latest.take(&name, &count) || !progress_.isOpen()) return;
  SendMessageA(progress_.window(), TMSG_PROGRESS_TEXT, 0, reinterpret_cast<LPARAM>(new std::string(name)));
  SendMessageA(progress_.window(), PMSG_SET_COUNT, 0, count);
}

void MainWindow::jobEnded() {
  jobPosted_ = false;
  // Progress whose notice could not be posted is shown before the end.
  showLatestProgress();
  if (progress_.isOpen()) SendMessageA(progress_.window(), TMSG_JOB_DONE, 0, 0);
  // A source job changed the groups: the tree follows, unless the Media
  // Store is open (its Close rebuilds the tree).
  bool sourceJob = runningJob_ == kJobScanSource || runningJob_ == kJobRescanSource || runningJob_ == kJobRemoveSource;
  if (sourceJob && !mediaStore_.isOpen()) rebuildTreeFromCombo();
}

bool MainWindow::handleWorkerNotice(UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case TMSG_PROGRESS_TEXT:
      if (progress_.isOpen()) {
        SendMessageA(progress_.window(), TMSG_PROGRESS_TEXT, 0, lParam);  // the dialog frees the text
      } else {
        delete reinterpret_cast<std::string*>(lParam);
      }
      return true;
    case TMSG_PROGRESS_COUNT: showLatestProgress(); return true;
    case TMSG_JOB_DONE:
      jobEnded();
      return true;
    case TMSG_COPY_READY_DONE: jobResult(*reinterpret_cast<const IdList*>(lParam), true); return true;
    case TMSG_DELETE_READY_DONE: jobResult(*reinterpret_cast<const IdList*>(lParam), false); return true;
    case TMSG_REMOVE_SOURCE_DONE:
    case TMSG_RESCAN_SOURCE_DONE:
      return true;
    default:
      return false;
  }
}

// The result points at the worker's block: it is read here, at once. The
// node is marked ready when the copy job made any track ready, unready when
// the delete job left none marked.
void MainWindow::jobResult(const IdList& result, bool madeReady) {
  IdList copy = result;
  list_.refreshAfterJob(copy);
  if (anyMarked(copy) == madeReady) tree_.markNode(jobNode_, madeReady);
}

}  // namespace tuho
